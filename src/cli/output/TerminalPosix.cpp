#include "Terminal.h"

#include <QtGlobal>

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
    // Both on the console, and the console takes the terminal sequences the block is drawn with
    // (Windows 10 and later); an older console shows no block instead of escape codes.
    CONSOLE_SCREEN_BUFFER_INFO out, err;
    if (!ScreenInfo(stdout, out) || !ScreenInfo(stderr, err))
        return false;
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdout)));
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode)
           && ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING)
               || SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING));
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

#endif

} // namespace Terminal
