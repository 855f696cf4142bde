// An interrupt that ends a run in order instead of killing it: the flags the signal handler sets
// and every radio's thread reads, and the ending by that signal once the run has been told.
#pragma once

#include "engine/ExitStatus.h"

#include <QString>

#include <atomic>

// What an interrupt has asked for so far. The first one stops the run in order; the second also
// stops waiting for radios that are programming. Read from any thread.
struct Interrupts {
    std::atomic<bool> stop{false};
    std::atomic<bool> stopWaiting{false};
    std::atomic<int> signal{0}; // the first signal caught, to end with it
    // No signal: an output of the run failed, so no further radio starts; those running go on
    // to their end, since none of them is at fault.
    std::atomic<bool> outputClosed{false};

    // Whether a radio's run is to end now: a radio that is programming only on the second.
    bool Ends(bool programming) const { return programming ? stopWaiting.load() : stop.load(); }
    // The status an interrupted run and its interrupted radios end with: the shell's number for
    // the signal caught (143 for SIGTERM), 130 when it is not known.
    int ExitStatus() const;
    // How the operator gives the interrupt again: "Ctrl-C", or the signal's name.
    QString Again() const;
};

// From now on SIGINT, SIGTERM and SIGHUP (a closed terminal or a dropped remote login; Ctrl-C,
// Ctrl-Break and closing the console on Windows) only set the flags of `interrupts`; the run
// sees them, ends in order and writes its files.
void CatchInterrupts(Interrupts& interrupts);
// Ends the process by the signal that interrupted it, with that signal's default action, so a
// calling shell sees the signal (130, 143) and stops its loop. Returns only when none was caught.
void EndBySignal(const Interrupts& interrupts);
// Ends the process at once, by the signal that interrupted it (its status when none is known):
// for an output stalled under an interrupt, which no clean-up could wait for.
[[noreturn]] void EndByInterrupt(const Interrupts& interrupts);

// The platform's part, in InterruptsPosix.cpp or InterruptsWindows.cpp: EndBySignal,
// Interrupts::Again, and the handlers that CatchInterrupts installs; each handler passes what it
// caught to RecordInterrupt, which touches only lock-free flags.
void InstallInterruptHandlers();
void RecordInterrupt(int signal);
