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
// Opens FirmwarePathToUse(path).
bool LoadFirmwareFile(const QString& path, quint16 language, QByteArray& image, QString& errorText);

// The path to open for the text the operator typed or pasted: one pair of double quotes around
// it (blanks outside them aside), as Explorer's "Copy as path" adds them, is not part of the
// name; any other text is the path as it stands.
QString FirmwarePathToUse(const QString& typed);

// The locale the system's error texts are asked in when the catalog texts are in `language`:
// Japanese for Japanese, else the system's own unless that is Japanese.
quint32 SystemTextLocale(quint16 language);
