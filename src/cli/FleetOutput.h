// The one writer of a run over several radios: every thread reports through it, and it alone
// writes stdout and stderr, whole lines at a time, as text or as JSON Lines, and keeps the
// progress lines of a terminal drawn in place.
#pragma once

#include "ProgressLine.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QVector>

#include <mutex>

// How one radio's run ended, for the summary and the "result" event.
struct RadioOutcome {
    RadioPhase phase = RadioPhase::NotStarted; // Updated, Failed, Stopped or NotStarted
    int exitCode = 0;                          // the status the radio alone would end with
    QString text;                              // the failure text; empty when updated
    qint64 elapsedMs = 0;

    // "updated", the failure text on one line, or how far a stopped radio got.
    QString SummaryText() const;
};

class CFleetOutput {
public:
    struct Settings {
        QStringList radios;        // addresses as given, in list order
        bool json = false;         // JSON Lines on stdout instead of text
        bool quiet = false;        // no status lines, no progress
        bool progress = false;     // progress lines on stderr (a terminal)
        bool stdoutIsTerminal = false;
        int programTimeoutMs = 0;
    };

    explicit CFleetOutput(const Settings& settings);
    CFleetOutput(const CFleetOutput&) = delete;
    CFleetOutput& operator=(const CFleetOutput&) = delete;

    // Each may be called from any thread.
    void Status(int radio, const QString& text);
    void Failure(int radio, const QString& text);
    void Phase(int radio, RadioPhase phase);
    void Progress(int radio, quint64 bytesSent, quint64 totalBytes);
    void Result(int radio, const RadioOutcome& outcome);
    // One fact on stdout: `text` as a line, or in JSON mode `event`.
    void Report(const QString& text, const QJsonObject& event);
    // Redraws the progress lines: the seconds waited and the time left move on by themselves.
    void Tick();

    // The table of every radio's outcome (text mode), or the "summary" event (JSON).
    void Summary(const QVector<RadioOutcome>& outcomes, int exitCode);

    // "ADDRESS: " before every line when there are several radios.
    QString Prefix(int radio) const;

private:
    struct RadioView {
        RadioPhase phase = RadioPhase::NotStarted;
        quint64 bytesSent = 0;
        quint64 totalBytes = 0;
        QElapsedTimer transferClock;
        QElapsedTimer waitClock;
        QElapsedTimer runClock;
        QElapsedTimer sinceProgressEvent;
        QString note;
    };

    void WriteOut(const QString& line);
    void WriteErr(const QString& line);
    void WriteEvent(QJsonObject event);
    // Progress block on stderr: the running radios' lines, drawn in place below everything else.
    void Redraw(const QStringList& settledLines = {});
    void EraseBlock();
    ProgressView ViewOf(int radio) const;

    const Settings m_settings;
    int m_labelWidth = 0;
    std::mutex m_mutex;
    QTextStream m_out;
    QTextStream m_err;
    QVector<RadioView> m_views;
    QVector<int> m_block;     // radios that have a line in the block, in the order they started
    int m_drawnLines = 0;     // lines of the block now on the screen
    QString m_lastBlock;      // what they say: a tick that would draw the same draws nothing
};
