#include "Interrupts.h"

#include <QtGlobal>

#include <csignal>
#include <cstdlib>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// The handler can reach only a global; it is set once, before any signal is caught.
Interrupts* g_interrupts = nullptr;

static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "a signal handler may only touch lock-free flags");

void OnSignal(int signal)
{
    if (!g_interrupts)
        return;
    int none = 0;
    g_interrupts->signal.compare_exchange_strong(none, signal);
    if (g_interrupts->stop.exchange(true))
        g_interrupts->stopWaiting.store(true);
}

} // namespace

int Interrupts::ExitStatus() const
{
    const int caught = signal.load();
    return caught == 0 ? EXIT_INTERRUPTED : 128 + caught;
}

#ifdef Q_OS_WIN

QString Interrupts::Again() const
{
    return signal.load() == SIGBREAK ? QStringLiteral("Ctrl-Break") : QStringLiteral("Ctrl-C");
}

namespace {

// The system ends a process 5 s after its console window closed (or the user logged off); the
// handler holds that long at most, so the run can write its table and files meanwhile.
constexpr DWORD CONSOLE_CLOSE_GRACE_MS = 4500;

BOOL WINAPI OnConsoleControl(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
        OnSignal(SIGINT);
        return TRUE;
    case CTRL_BREAK_EVENT:
        OnSignal(SIGBREAK);
        return TRUE;
    default:
        // Closed, logged off, shut down: the end of the terminal, as a hangup is on POSIX. The
        // process ends when this returns, so it returns only when the run is done or time is up;
        // main ends the process itself once the files are written.
        OnSignal(SIGTERM);
        Sleep(CONSOLE_CLOSE_GRACE_MS);
        return TRUE;
    }
}

} // namespace

void CatchInterrupts(Interrupts& interrupts)
{
    g_interrupts = &interrupts;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

void EndBySignal(const Interrupts& interrupts)
{
    // The conventional status of a console program ended by Ctrl-C (0xC000013A), which cmd.exe
    // and PowerShell treat as an interrupt.
    if (interrupts.signal.load() != 0)
        ExitProcess(STATUS_CONTROL_C_EXIT);
}

#else

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
    OnSignal(signal);
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

void CatchInterrupts(Interrupts& interrupts)
{
    g_interrupts = &interrupts;
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

#endif
