// The command line's texts made fit for where they go (a message, a terminal, a JSON field, a
// record): every room of the command line takes them from here.
#pragma once

#include <QString>

// `text` as a message shows it: control characters as \0 or \x1b and the like, so that a line of
// a list can neither work the terminal nor pass for another, and at most `max` characters with
// an ellipsis for the rest.
QString Shown(const QString& text, int max = 80);
// Shown whole, however long: a path or a message that holds one, on a line of its own.
QString ShownPath(const QString& text);
// Shown, in single quotes.
QString Quoted(const QString& text);
// "1 radio", "4 radios".
QString RadioCount(int radios);
// A time as the events and records give it: milliseconds since the epoch as UTC in RFC 3339 with
// milliseconds, 2026-12-08T09:14:03.215Z.
QString TimeText(qint64 timeMs);
// Catalog texts break lines with CR LF; a terminal, a JSON field and a file want plain line feeds.
QString TerminalText(const QString& text);
// A catalog text of several lines on one: the lines joined by a blank, or by nothing after a
// wide character (Japanese puts no blank after "。").
QString OneLine(const QString& text);
// "PATH: what is wrong with it", on one line, from the loader's text: a file too short says so,
// where the catalog's "update failed" would not tell an operator at a prompt.
QString FileProblem(const QString& path, const QString& loaderText);

// Columns that `text` takes on a terminal: East Asian wide characters take two.
int DisplayWidth(const QString& text);
// `text` cut to at most `columns` display columns; a cut is marked with "…" at its end, or at its
// start when `keepEnd` (an address whose last part tells it from the others).
QString FitWidth(const QString& text, int columns, bool keepEnd = false);
// `text` padded with spaces to `columns` display columns.
QString PadWidth(const QString& text, int columns);

// "1.5 MiB/s", "830 KiB/s", "12 B/s".
QString FormatRate(double bytesPerSecond);
// "0:07", "12:30", "1:02:03".
QString FormatDuration(qint64 seconds);
