// zerlind-firm-update as a child process of a test: run to its end within a bounded wait, with
// what it printed and how long it took.
#pragma once

#include <QString>
#include <QStringList>

struct UpdaterOutcome {
    int exitCode = -1; // -1 when it crashed or did not end in time
    QString out;
    QString err;
    qint64 elapsedMs = 0;
};

// Runs the updater with `arguments` in the C.UTF-8 locale plus `environment` ("NAME=value").
UpdaterOutcome RunUpdater(const QStringList& arguments, const QStringList& environment = {});

// A catalog text as the updater prints it: line feeds for its CR LF, one line feed at the end.
QString TerminalLine(const QString& catalogText);
