// Windows' console; TerminalPosix.cpp is the terminal of the other systems.
#include "Terminal.h"

#include <QFileDevice>
#include <QMutex>
#include <QStringDecoder>

#include <io.h>
#include <windows.h>

namespace Terminal {

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

namespace {
// Asks the console behind `stream` to take terminal sequences (Windows 10 and later can); the
// mode belongs to the screen buffer, so each stream's own handle asks.
bool TakeSequences(std::FILE* stream)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode)
           && ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING)
               || SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING));
}
} // namespace

bool ClearsWithSequences(std::FILE*)
{
    // Blanks clear a line on every console, also on one that shows sequences as text (before
    // Windows 10, or where turning them on is ignored).
    return false;
}

bool CanDrawInPlace()
{
    // Both on the console, and the console takes the terminal sequences the block is drawn with
    // (Windows 10 and later); an older console shows no block instead of escape codes.
    CONSOLE_SCREEN_BUFFER_INFO out, err;
    return ScreenInfo(stdout, out) && ScreenInfo(stderr, err) && TakeSequences(stdout) && TakeSequences(stderr);
}

namespace {

// The console's own characters: a console shows UTF-8 bytes through its code page (932 on a
// Japanese system), so the text goes to it as UTF-16, whatever the code page.
class ConsoleIODevice : public QIODevice {
public:
    ConsoleIODevice(std::FILE* stream, HANDLE console) : m_stream(stream), m_console(console)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const QMutexLocker lock(&m_mutex);
        // What went to the stream by other means comes first.
        std::fflush(m_stream);
        const QString text = m_decoder.decode(QByteArrayView(data, size));
        for (qsizetype done = 0; done < text.size();) {
            DWORD written = 0;
            const DWORD chunk = DWORD(qMin<qsizetype>(text.size() - done, 8192));
            if (!WriteConsoleW(m_console, text.utf16() + done, chunk, &written, nullptr) || written == 0)
                return -1;
            done += written;
        }
        return size;
    }

private:
    std::FILE* m_stream;
    HANDLE m_console;
    QMutex m_mutex;
    QStringDecoder m_decoder{QStringDecoder::Utf8}; // keeps a character split between two writes
};

} // namespace

namespace {

// The UTF-8 it is given, written to `target` in code page `codePage`; a character the code page
// lacks becomes its default character ('?').
class CodePageIODevice : public QIODevice {
public:
    CodePageIODevice(QIODevice* target, UINT codePage) : m_target(target), m_codePage(codePage)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const QString text = m_decoder.decode(QByteArrayView(data, size));
        const auto wide = reinterpret_cast<const wchar_t*>(text.utf16());
        const int length = int(text.size());
        QByteArray bytes(WideCharToMultiByte(m_codePage, 0, wide, length, nullptr, 0, nullptr, nullptr), '\0');
        WideCharToMultiByte(m_codePage, 0, wide, length, bytes.data(), int(bytes.size()), nullptr, nullptr);
        if (m_target->write(bytes) != bytes.size())
            return -1;
        // As a text stream flushes a file it writes to directly: the text goes out in order.
        if (auto* file = qobject_cast<QFileDevice*>(m_target); file && !file->flush())
            return -1;
        return size;
    }

private:
    QIODevice* m_target;
    UINT m_codePage;
    QStringDecoder m_decoder{QStringDecoder::Utf8}; // keeps a character split between two writes
};

bool HasConsole()
{
    const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(console);
    return true;
}

} // namespace

std::unique_ptr<QIODevice> CodePageDevice(QIODevice* target)
{
    const UINT codePage = GetConsoleOutputCP();
    if (codePage == 0 || codePage == CP_UTF8 || !HasConsole())
        return nullptr;
    return std::make_unique<CodePageIODevice>(target, codePage);
}

std::unique_ptr<QIODevice> ConsoleDevice(std::FILE* stream)
{
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
        return nullptr;
    return std::make_unique<ConsoleIODevice>(stream, handle);
}

} // namespace Terminal
