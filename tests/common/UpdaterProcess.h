// zerlind-firm-update as a child process of a test: run to its end within a bounded wait, with
// what it printed and how long it took.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

struct UpdaterOutcome {
    int exitCode = -1; // -1 when it crashed or did not end in time
    QString out;
    QString err;
    qint64 elapsedMs = 0;
};

// Runs the updater with `arguments` in the C.UTF-8 locale plus `environment` ("NAME=value"),
// `input` on its standard input.
UpdaterOutcome RunUpdater(const QStringList& arguments, const QStringList& environment = {},
                          const QByteArray& input = {});

// The keys of a JSON Lines event of the updater as its manual page lists them, sorted; a
// "rollout" event's depend on its action and reason.
QStringList DocumentedKeys(const QJsonObject& event);

// What a program of ours printed, as text with line feeds only (Windows ends lines with CR LF).
QString FromProgram(const QByteArray& bytes);

// A catalog text as the updater prints it: line feeds for its CR LF, one line feed at the end.
QString TerminalLine(const QString& catalogText);
