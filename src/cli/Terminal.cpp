#include "Terminal.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <csignal>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace {

// The handler can reach only a global; it is set once, before any signal is caught.
std::atomic<bool>* g_interrupted = nullptr;

static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler may only touch a lock-free flag");

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
    if (g_interrupted)
        g_interrupted->store(true);
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

void CatchInterrupts(std::atomic<bool>& flag)
{
    g_interrupted = &flag;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
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

extern "C" void OnInterrupt(int)
{
    if (g_interrupted)
        g_interrupted->store(true);
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

void CatchInterrupts(std::atomic<bool>& flag)
{
    g_interrupted = &flag;
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
