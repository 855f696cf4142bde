#include "Terminal.h"

#include <QtGlobal>

#include <csignal>
#include <cstdlib>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The handler can reach only a global; it is set once, before any signal is caught.
Terminal::Interrupts* g_interrupts = nullptr;

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

namespace Terminal {

#ifdef Q_OS_WIN

bool IsTerminal(std::FILE* stream)
{
    return _isatty(_fileno(stream)) != 0;
}

namespace {
bool ScreenInfo(std::FILE* stream, CONSOLE_SCREEN_BUFFER_INFO& info)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    return IsTerminal(stream) && GetConsoleScreenBufferInfo(handle, &info);
}

BOOL WINAPI OnConsoleControl(DWORD)
{
    OnSignal(SIGINT);
    return TRUE;
}
} // namespace

int Columns(std::FILE* stream)
{
    CONSOLE_SCREEN_BUFFER_INFO info;
    return ScreenInfo(stream, info) ? info.srWindow.Right - info.srWindow.Left + 1 : 0;
}

int Rows(std::FILE* stream)
{
    CONSOLE_SCREEN_BUFFER_INFO info;
    return ScreenInfo(stream, info) ? info.srWindow.Bottom - info.srWindow.Top + 1 : 0;
}

bool CanDrawInPlace()
{
    return IsTerminal(stdout) && IsTerminal(stderr);
}

void CatchInterrupts(Interrupts& interrupts)
{
    g_interrupts = &interrupts;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

void EndBySignal(const Interrupts& interrupts)
{
    if (interrupts.signal.load() != 0)
        ExitProcess(STATUS_CONTROL_C_EXIT);
}

#else

bool IsTerminal(std::FILE* stream)
{
    return isatty(fileno(stream)) != 0;
}

namespace {
bool WindowSize(std::FILE* stream, winsize& size)
{
    return IsTerminal(stream) && ioctl(fileno(stream), TIOCGWINSZ, &size) == 0;
}

extern "C" void OnInterrupt(int signal)
{
    OnSignal(signal);
}
} // namespace

int Columns(std::FILE* stream)
{
    winsize size{};
    return WindowSize(stream, size) ? size.ws_col : 0;
}

int Rows(std::FILE* stream)
{
    winsize size{};
    return WindowSize(stream, size) ? size.ws_row : 0;
}

bool CanDrawInPlace()
{
    struct stat out {};
    struct stat err {};
    const char* term = std::getenv("TERM");
    return IsTerminal(stdout) && IsTerminal(stderr) && fstat(STDOUT_FILENO, &out) == 0
           && fstat(STDERR_FILENO, &err) == 0 && out.st_rdev == err.st_rdev && term != nullptr && *term != 0
           && std::strcmp(term, "dumb") != 0;
}

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
    // A signal whose default is ignored never gets here for SIGINT or SIGTERM; the shell's number.
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
}

#endif

} // namespace Terminal
