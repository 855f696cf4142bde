// Loading the firmware file: the whole file into one buffer, or the text that says why not.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The run sends one full block first and compares image bytes 4..7; a shorter file has neither.
inline constexpr qint64 MIN_IMAGE_SIZE = 1024;
// The image size travels as an unsigned 32-bit count; a larger file would be cut short silently.
inline constexpr quint64 MAX_IMAGE_SIZE = 0xFFFFFFFFu;

// Reads the whole file at `path` into `image`. On failure returns false, leaves `image` empty
// and puts in `errorText` the system's own text for the error (in the language the system
// texts follow for `language`), or a catalog text in `language` when the file is too short, is
// not a regular file, or cannot be found by a name that holds replacement characters (a name
// that was not UTF-8, which the system knows by other bytes).
bool LoadFirmwareFile(const QString& path, quint16 language, QByteArray& image, QString& errorText);

// The locale the system's error texts are asked in when the catalog texts are in `language`:
// Japanese for Japanese, else the system's own unless that is Japanese.
quint32 SystemTextLocale(quint16 language);
