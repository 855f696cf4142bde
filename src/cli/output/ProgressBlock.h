// The progress block of a terminal: a fleet line on top, then one line per running radio in
// list order, redrawn in place on stderr below everything else. Only where stdout and stderr
// are the same terminal, so that no line of either is drawn over.
#pragma once

#include "FleetRenderer.h"
#include "ProgressLine.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>
#include <QVector>

#include <functional>

class ProgressBlock : public FleetRenderer {
    Q_DECLARE_TR_FUNCTIONS(ProgressBlock)

public:
    // Milliseconds of a clock that never goes back; unset, the system's. Tests move one by hand.
    using Clock = std::function<qint64()>;

    // `labels`: the radios as given, in list order. `err`: the terminal's stream.
    ProgressBlock(const QStringList& labels, int programTimeoutMs, QTextStream& err, Clock clock = {});

    // The rollout's waves and the pause between two: the estimate counts the pauses still ahead.
    void SetPauses(int waves, int pauseMs);

    void Render(const FleetEvent& event) override;
    void Tick() override;

    // Around every other line written to the terminal: the block goes, the line is written, the
    // block comes back below it.
    void Erase();
    void Draw();

private:
    struct RadioView {
        RadioPhase phase = RadioPhase::NotStarted;
        quint64 bytesSent = 0;
        quint64 totalBytes = 0;
        // When each began on the block's clock; -1: not yet.
        qint64 runStart = -1;
        qint64 transferStart = -1;
        qint64 waitStart = -1;
        qint64 lastMove = -1;
        qint64 retryEnd = -1; // waiting to try again until then; -1: not waiting
        bool ended = false;
        RadioState state = RadioState::NotStarted; // once ended
    };

    // Nothing moved for a while, and not because the radio programs.
    bool Stalled(const RadioView& view) const;
    // Milliseconds since `start` on the block's clock; 0 before it.
    qint64 Since(qint64 start) const;

    QString FleetLine(int columns) const;
    // Adds the time since the last event to the time spent updating when a radio was running.
    void Account(qint64 now);
    // The rows the block now takes on the screen: a terminal made narrower has wrapped its lines
    // anew (as tmux and most terminals do), each into as many rows as the widest text it has held
    // needs (a row cleared to its end still wraps as long as it once was).
    int DrawnRows(int columns) const;
    ProgressView ViewOf(int radio) const;

    const QStringList m_labels;
    const int m_programTimeoutMs;
    QTextStream& m_err;
    int m_labelWidth = 0;
    QVector<RadioView> m_views;
    const Clock m_clock;
    qint64 m_transferStart = -1; // the first byte of any radio
    // Time spent updating since then: a pause between waves, with nothing running, is no part
    // of the rate.
    qint64 m_activeMs = 0;
    qint64 m_activeSince = -1;   // a radio runs since then; -1: none
    int m_waves = 1;
    int m_pauseMs = 0;
    int m_pausesAhead = 0;       // between the waves yet to come, after the one under way
    int m_nextWave = 0;          // the wave a pause waits for, counted from 1
    qint64 m_pauseEnd = -1;      // on the block's clock; -1: no pause
    qint64 m_drawnAt = -1;         // on the block's clock; -1: never drawn
    int m_drawnLines = 0;          // lines of the block now on the screen
    QVector<int> m_drawnWidths;    // the widest text each of their rows has held since it was new
    int m_drawnColumns = 0;        // the terminal's width when they were drawn
    bool m_finished = false;      // the summary is out: nothing is drawn below it
    QString m_lastBlock;           // what they say: a tick that would draw the same draws nothing
};
