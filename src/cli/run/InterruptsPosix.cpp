// Interrupts on Linux and the other POSIX systems: SIGINT, SIGTERM, SIGHUP; InterruptsWindows.cpp
// has the console's.
#include "Interrupts.h"

#include <csignal>
#include <cstdlib>

QString Interrupts::Again() const
{
    switch (signal.load()) {
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    default:
        return QStringLiteral("Ctrl-C");
    }
}

namespace {
extern "C" void OnInterrupt(int signal)
{
    RecordInterrupt(signal);
}
} // namespace

void EndBySignal(const Interrupts& interrupts)
{
    const int signal = interrupts.signal.load();
    if (signal == 0)
        return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    // A signal whose default is ignored never gets here for SIGINT, SIGTERM or SIGHUP; the shell's number.
    std::_Exit(128 + signal);
}

void InstallInterruptHandlers()
{
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // Blocking calls are waits in short slices; restarting them keeps the slices as they are.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // Started under nohup, the hangup stays ignored: the run is meant to outlive the terminal.
    struct sigaction hangup {};
    if (sigaction(SIGHUP, nullptr, &hangup) == 0 && hangup.sa_handler != SIG_IGN)
        sigaction(SIGHUP, &action, nullptr);
}
