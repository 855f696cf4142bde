// Interrupts from Windows' console: Ctrl-C, Ctrl-Break, closing; InterruptsPosix.cpp has the
// signals of the other systems.
#include "Interrupts.h"

#include <csignal>

#include <windows.h>

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
        RecordInterrupt(SIGINT);
        return TRUE;
    case CTRL_BREAK_EVENT:
        RecordInterrupt(SIGBREAK);
        return TRUE;
    default:
        // Closed, logged off, shut down: the end of the terminal, as a hangup is on POSIX. The
        // process ends when this returns, so it returns only when the run is done or time is up;
        // main ends the process itself once the files are written.
        RecordInterrupt(SIGTERM);
        Sleep(CONSOLE_CLOSE_GRACE_MS);
        return TRUE;
    }
}

} // namespace

void InstallInterruptHandlers()
{
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

void EndBySignal(const Interrupts& interrupts)
{
    // The conventional status of a console program ended by Ctrl-C (0xC000013A), which cmd.exe
    // and PowerShell treat as an interrupt.
    if (interrupts.signal.load() != 0)
        ExitProcess(STATUS_CONTROL_C_EXIT);
}
