// The files a run leaves for later: the radios not updated, as a radio list to run again on
// (--failed), and one JSON record per radio appended to the workshop's log (--log). One room
// owns both: opened once every check has passed, written by a thread of its own, apart from the
// terminal, so that a paused terminal or a reader that stopped never holds a record back.
#pragma once

#include "cli/run/EventPublisher.h"
#include "cli/run/EventQueue.h"
#include "cli/run/Interrupts.h"

#include "RecordFile.h"

#include <QStringList>
#include <QVector>

#include <mutex>
#include <thread>

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

class FailedList {
public:
    FailedList(const QString& path, const RunFacts& facts);

    // Whether the list can be written where it is asked for: found before anything is sent.
    static bool CanWrite(const QString& path, QString& error);
    // Whether a list whose first line is `firstLine` is such a list, written by an earlier run:
    // its header says so.
    static bool WrittenByARun(const QString& firstLine);

    // Writes the list whole, with the radios of `outcomes` not updated, at `timeMs`; what went
    // wrong, "PATH: reason", or empty.
    QString Write(const QVector<RadioOutcome>& outcomes, qint64 timeMs) const;

private:
    const QString m_path;
    const RunFacts m_facts;
};

class RunLog {
public:
    // Whether the log can be made or appended to at `path`, by what the system says of it and
    // its folders; nothing is made. False with the reason Open would give.
    static bool CanOpen(const QString& path, QString& error);
    // Creates the file and its folder if missing and opens it for appending; false with the
    // reason when it cannot be written.
    bool Open(const QString& path, QString& error);
    // One record: the JSON object of radio `radio`'s `outcome`, known at `timeMs`, as one line;
    // what went wrong, "PATH: reason", or empty.
    QString Append(const RunFacts& facts, int radio, const RadioOutcome& outcome, qint64 timeMs);

private:
    QString m_path;
    RecordFile m_file;
};

// The room: the two files of one run and their one writer.
class RunRecords {
public:
    // `failedPath` and `logPath` as opened; either may be empty.
    RunRecords(const QString& failedPath, const QString& logPath, int radios);
    ~RunRecords();
    RunRecords(const RunRecords&) = delete;
    RunRecords& operator=(const RunRecords&) = delete;

    // Once every check has passed: makes the log's folders and opens it; false with the reason.
    bool Open(QString& error);
    // What the records tell of the run; before Start.
    void SetFacts(const RunFacts& facts) { m_facts = facts; }
    // Starts the writer: each result published on `events` goes to the log as soon as it is
    // known. The first record that cannot be written is told on `events` and starts no further
    // radio (`interrupts`).
    void Start(EventPublisher& events, Interrupts& interrupts);
    // Every record written, then the list of the radios of `outcomes` not updated (when
    // `writeList`). The first failure of the run's records, "PATH: reason", or empty.
    QString Finish(const QVector<RadioOutcome>& outcomes, bool writeList);

private:
    void Write();

    const QString m_failedPath;
    const QString m_logPath;
    RunFacts m_facts;
    RunLog m_log;
    EventQueue m_queue;
    EventPublisher* m_events = nullptr;
    Interrupts* m_interrupts = nullptr;
    std::thread m_writer;
    std::mutex m_mutex;
    QString m_error; // the first failure; under m_mutex
};
