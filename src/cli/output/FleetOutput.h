// The one writer of a run over several radios. The radios' threads publish events and go on at
// once; a thread of its own renders them (text or JSON Lines, and the progress block of a
// terminal), so a paused terminal or a slow reader holds up the output, never a radio.
#pragma once

#include "FleetRenderer.h"

#include "cli/run/EventPublisher.h"
#include "cli/run/Interrupts.h"

#include <QStringList>
#include "Terminal.h"

#include <QTextStream>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

class FleetOutput : public EventPublisher {
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
        // More renderers (the files a run leaves), owned by the caller; they outlive the output.
        std::vector<FleetRenderer*> more;
        // Stopped as by a first interrupt once an output cannot be written (may be null).
        Interrupts* interrupts = nullptr;
    };

    explicit FleetOutput(const Settings& settings);
    ~FleetOutput() override;

    // Returns once everything published has been written; the writer then ends.
    void Finish();
    // Whether standard output, standard error or a file of the run could not be written.
    bool WriteFailed() const { return m_writeFailed.load(); }

private:
    void Write();
    // After each round of events: the first output that failed is told and stops the run.
    void CheckWrites(bool ended);

    Terminal::TextStream m_out;
    Terminal::TextStream m_err;
    std::vector<std::unique_ptr<FleetRenderer>> m_owned;
    std::vector<FleetRenderer*> m_renderers;
    std::thread m_writer;
    Interrupts* const m_interrupts;
    std::atomic<bool> m_writeFailed{false};
};
