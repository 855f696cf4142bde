// zerlind-firm-update started as a shell starts it (POSIX only): for the tests of its signals.
#pragma once

#include <QString>
#include <QStringList>

// The updater started without Qt's process class, for what a test must see as a shell does: the
// signal it died by, and a stdout that the test reads late (a paused reader).
class SpawnedUpdater {
public:
    // stdout goes to `stdoutFd` when it is given (-1: a file of its own), stderr to a file.
    SpawnedUpdater(const QStringList& arguments, int stdoutFd = -1);
    ~SpawnedUpdater();
    SpawnedUpdater(const SpawnedUpdater&) = delete;
    SpawnedUpdater& operator=(const SpawnedUpdater&) = delete;

    bool Started() const { return m_pid > 0; }
    void Signal(int signal) const;
    // Waits up to `timeoutMs` for the end; false if it has not ended.
    bool Wait(int timeoutMs);
    // After Wait: the signal that ended it (0 when it exited), or the exit status.
    int TermSignal() const { return m_termSignal; }
    int ExitCode() const { return m_exitCode; }
    // What it wrote so far to its own files.
    QString Out() const;
    QString Err() const;

private:
    int m_pid = -1;
    int m_termSignal = 0;
    int m_exitCode = -1;
    QString m_outPath;
    QString m_errPath;
};
