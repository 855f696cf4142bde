// The radios of a command line: a list file (one address a line) and the refusal of a radio
// named twice, which two updates at once would corrupt.
#pragma once

#include <QString>
#include <QStringList>

// Reads the addresses of `path` ("-": standard input): one a line, surrounding blanks dropped,
// blank lines and lines starting with "#" ignored. False with `error` set when it cannot be read.
bool ReadRadioList(const QString& path, QStringList& radios, QString& error);

// True with `error` set when two entries of `radios` are the same text, or name the same
// address once host names are looked up (each lookup bounded by `lookupTimeoutMs`; a name that
// does not resolve is left for the connection to report).
bool FindDuplicateRadio(const QStringList& radios, int lookupTimeoutMs, QString& error);
