// The terminal of Linux and the other POSIX systems; TerminalWindows.cpp is Windows' console.
#include "Terminal.h"

#include <cstdlib>
#include <cstring>

#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Terminal {

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

bool ClearsWithSequences(std::FILE* stream)
{
    return IsTerminal(stream);
}

std::unique_ptr<QIODevice> ConsoleDevice(std::FILE*)
{
    // A terminal takes the UTF-8 bytes as a file does.
    return nullptr;
}

std::unique_ptr<QIODevice> CodePageDevice(QIODevice*)
{
    return nullptr; // text files and pipes here are UTF-8
}

} // namespace Terminal
