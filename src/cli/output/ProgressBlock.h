// The progress block of a terminal: a fleet line on top, then one line per running radio in
// list order, redrawn in place on stderr below everything else. Only where stdout and stderr
// are the same terminal, so that no line of either is drawn over.
#pragma once

#include "FleetRenderer.h"
#include "ProgressLine.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTextStream>
#include <QVector>

class CProgressBlock : public IFleetRenderer {
public:
    // `labels`: the radios as given, in list order. `err`: the terminal's stream.
    CProgressBlock(const QStringList& labels, int programTimeoutMs, QTextStream& err);

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
        QElapsedTimer runClock;
        QElapsedTimer transferClock;
        QElapsedTimer waitClock;
        QElapsedTimer sinceProgress;
        bool ended = false;
        RadioState state = RadioState::NotStarted; // once ended
    };

    // Nothing moved for a while, and not because the radio programs.
    static bool Stalled(const RadioView& view);

    QString FleetLine(int columns) const;
    ProgressView ViewOf(int radio) const;

    const QStringList m_labels;
    const int m_programTimeoutMs;
    QTextStream& m_err;
    int m_labelWidth = 0;
    QVector<RadioView> m_views;
    QElapsedTimer m_runClock;
    QElapsedTimer m_transferClock; // since the first byte of any radio
    int m_drawnLines = 0;          // lines of the block now on the screen
    bool m_bFinished = false;      // the summary is out: nothing is drawn below it
    QString m_lastBlock;           // what they say: a tick that would draw the same draws nothing
};
