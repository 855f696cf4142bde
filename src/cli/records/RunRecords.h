// The files a run leaves for later: the radios not updated, as a radio list to run again on
// (--failed), and one JSON record per radio appended to the workshop's log (--log). Both are
// renderers of the event stream, written by the writer thread.
#pragma once

#include "cli/output/FleetRenderer.h"

#include <QFile>
#include <QStringList>
#include <QVector>

// What every record of a run shares.
struct RunFacts {
    QStringList labels;    // the radios as given
    QStringList rerun;     // as a list to run again names them: with their ports
    QStringList addresses; // what each connected to, with its port
    QString fileName;      // the firmware file, its absolute path
    qint64 fileSize = 0;
    QString sha256;
    QString runId;         // shared by all records of one run
    bool check = false;    // a --check: the list holds the radios not reachable
};

class FailedList : public FleetRenderer {
public:
    FailedList(const QString& path, const RunFacts& facts);

    // Whether the list can be written where it is asked for: found before anything is sent.
    static bool CanWrite(const QString& path, QString& error);
    // Whether the file at `path` is such a list, written by an earlier run: its header says so.
    static bool WrittenByARun(const QString& path);

    void Render(const FleetEvent& event) override;
    QString WriteError() const override { return m_writeError; }
    // Writes the list whole, with the radios of `outcomes` not updated, at `timeMs`; what went
    // wrong, "PATH: reason", or empty.
    QString Write(const QVector<RadioOutcome>& outcomes, qint64 timeMs) const;

private:
    const QString m_path;
    const RunFacts m_facts;
    QVector<RadioOutcome> m_outcomes;
    QString m_writeError;
};

class RunLog : public FleetRenderer {
public:
    // Opened before the run's facts are all known: they are given before the first record.
    void SetFacts(const RunFacts& facts) { m_facts = facts; }

    // Whether the log can be made or appended to at `path`, by what the system says of it and
    // its folders; nothing is made. False with the reason Open would give.
    static bool CanOpen(const QString& path, QString& error);
    // Creates the file and its folder if missing and opens it for appending; false with the
    // reason when it cannot be written.
    bool Open(const QString& path, QString& error);

    void Render(const FleetEvent& event) override;
    QString WriteError() const override { return m_writeError; }

private:
    RunFacts m_facts;
    QFile m_file;
    QString m_writeError;
};
