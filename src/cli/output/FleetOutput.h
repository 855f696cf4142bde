// The one writer of a run's terminal output. The radios' threads publish events and go on at
// once; a thread of its own renders them (text or JSON Lines, and the progress block of a
// terminal), so a paused terminal or a slow reader holds up the output, never a radio, nor the
// records, which have a writer of their own.
#pragma once

#include "FleetRenderer.h"

#include "cli/run/EventPublisher.h"
#include "cli/run/Interrupts.h"

#include <QCoreApplication>
#include <QStringList>
#include "Terminal.h"

#include <QTextStream>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class FleetOutput : public EventPublisher {
    Q_DECLARE_TR_FUNCTIONS(FleetOutput)

public:
    struct Settings {
        QStringList labels;    // the radios as given, in list order
        QStringList addresses; // what each connects to
        QString sha256;        // the image's
        bool json = false;     // JSON Lines on stdout instead of text
        bool quiet = false;    // no status lines, no progress
        bool progress = false; // the progress block on stderr (stdout and stderr one terminal)
        int programTimeoutMs = 0;
        int waves = 1;         // the rollout's waves, and the pause between two of them
        int wavePauseMs = 0;
        // Stopped as by a first interrupt once an output cannot be written; an interrupt ends the
        // wait for an output that is stalled (may be null).
        Interrupts* interrupts = nullptr;
    };

    explicit FleetOutput(const Settings& settings);
    ~FleetOutput() override;

    // Returns true once everything published has been written; the writer then ends. False at
    // an interrupt while the output is stalled (a reader that stopped reading, a paused
    // terminal): the writer is left in its write, and the caller ends the process at once.
    bool Finish();
    // Whether standard output or standard error could not be written.
    bool WriteFailed() const { return m_writeFailed.load(); }

private:
    void Write();
    // After each round of events: the first output that failed is told and stops the run.
    void CheckWrites(bool ended);
    // Before the summary: its status is 9 once an output has failed, unless a signal ended the run.
    void SettleStatus(FleetEvent& summary);

    Terminal::TextStream m_out;
    Terminal::TextStream m_err;
    std::vector<std::unique_ptr<FleetRenderer>> m_owned;
    std::vector<FleetRenderer*> m_renderers;
    std::thread m_writer;
    Interrupts* const m_interrupts;
    std::atomic<bool> m_writeFailed{false};
    // When the writer last finished writing an event (steady clock, ms), and whether it is done.
    std::atomic<qint64> m_lastWrittenMs{0};
    std::mutex m_doneMutex;
    std::condition_variable m_doneChanged;
    bool m_done = false;
};
