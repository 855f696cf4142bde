// The platform on Windows: the thread locale, the system's message table, the named mutex,
// Windows Sockets and files opened with no sharing.
#include "Platform.h"
#include "PlatformCommon.h"

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <climits>

#include <cstdio>
#include <string>

namespace Platform {

const int kErrorFileNotFound = ERROR_FILE_NOT_FOUND;
const int kErrorFileTooLarge = ERROR_FILE_TOO_LARGE;
const int kErrorReadFailed = ERROR_READ_FAULT;
// A directory cannot be opened as a file at all: the system says access is denied.
const int kErrorDirectory = ERROR_ACCESS_DENIED;
const int kErrorNoMemory = ERROR_NOT_ENOUGH_MEMORY;

namespace {

// RAII for a kernel handle (file or mutex).
class Handle {
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle()
    {
        if (valid())
            CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE release()
    {
        HANDLE handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

private:
    HANDLE m_handle;
};

// A buffer the message table allocated for us, released on every path.
class LocalText {
public:
    LocalText() = default;
    ~LocalText()
    {
        if (m_text)
            LocalFree(m_text);
    }
    LocalText(const LocalText&) = delete;
    LocalText& operator=(const LocalText&) = delete;
    wchar_t** out() { return &m_text; }
    const wchar_t* get() const { return m_text; }

private:
    wchar_t* m_text = nullptr;
};

LANGID MessageLanguage(SystemTextLanguage language)
{
    switch (language) {
    case SystemTextLanguage::English:
        return MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    case SystemTextLanguage::Japanese:
        return MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN);
    case SystemTextLanguage::SystemDefault:
        break;
    }
    return MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT); // 0x0800
}

} // namespace

void UseSystemLocale()
{
    // Every later choice of the thread (language, resource language, system texts) follows the
    // system's locale, not the user's.
    SetThreadLocale(LOCALE_SYSTEM_DEFAULT);
}

quint32 SystemLocaleId()
{
    // What the thread locale is set to at start-up; asked directly so that every thread (the
    // command line's radios run on their own) sees the same.
    return quint32(GetSystemDefaultLCID());
}

bool SystemErrorText(int code, SystemTextLanguage language, QString& text)
{
    LocalText buffer;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        DWORD(code), MessageLanguage(language), reinterpret_cast<wchar_t*>(buffer.out()), 0, nullptr);
    if (length == 0 || buffer.get() == nullptr)
        return false;
    // Shown as it comes, the system's own trailing line break included.
    text = QString::fromWCharArray(buffer.get(), int(length));
    return true;
}

qintptr AcquireInstanceLock(const QString&, const QString& name)
{
    // An existing mutex of that name means another copy runs; only its existence matters. The
    // creation itself says so, also for two copies started at the same moment.
    Handle created(CreateMutexW(nullptr, FALSE, name.toStdWString().c_str()));
    if (!created.valid())
        return -2;
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        return -1;
    return qintptr(created.release());
}

void ReleaseInstanceLock(qintptr handle)
{
    if (handle >= 0)
        CloseHandle(reinterpret_cast<HANDLE>(handle));
}

bool InitSocketLayer()
{
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

SocketWait WaitReadable(qintptr socketDescriptor, int timeoutMs)
{
    WSAPOLLFD watched{};
    watched.fd = SOCKET(socketDescriptor);
    watched.events = POLLRDNORM;
    const int ready = WSAPoll(&watched, 1, timeoutMs);
    return WaitOutcome(ready, (watched.revents & (POLLERR | POLLNVAL)) != 0);
}

FileReadResult ReadWholeFile(const QString& path, QByteArray& data, quint64 maxSize)
{
    data.clear();
    const std::wstring wide = path.toStdWString();
    // No sharing: a file another program writes cannot change under the read, and one held open
    // without sharing gives the system's own sharing-violation text.
    Handle file(CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                            nullptr));
    if (!file.valid())
        return {FileReadStatus::SystemError, int(GetLastError())};
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return {FileReadStatus::NotRegularFile, 0};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return {FileReadStatus::SystemError, int(GetLastError())};
    return ReadOpenFile(quint64(size.QuadPart), maxSize, [&file](char* into, qint64 count, int& error) -> qint64 {
        DWORD n = 0;
        if (!ReadFile(file.get(), into, DWORD(qMin<qint64>(count, 1 << 30)), &n, nullptr)) {
            error = int(GetLastError());
            return -1;
        }
        return qint64(n);
    }, data);
}

bool IdentifyFile(const QString& path, FileIdentity& identity)
{
    // Neither read nor write access, and every sharing: only the file's facts are asked for.
    // FILE_FLAG_BACKUP_SEMANTICS lets a folder be opened too.
    Handle file(CreateFileW(path.toStdWString().c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.valid() || !GetFileInformationByHandle(file.get(), &info))
        return false;
    identity = {quint64(info.dwVolumeSerialNumber),
                (quint64(info.nFileIndexHigh) << 32) | quint64(info.nFileIndexLow)};
    return true;
}

int ReplaceFileWhole(const QString& path, const QByteArray& data)
{
    static std::atomic<int> serial{0};
    std::wstring temporary;
    HANDLE made = INVALID_HANDLE_VALUE;
    for (int tries = 0; made == INVALID_HANDLE_VALUE && tries < 100; ++tries) {
        temporary = (path + QStringLiteral(".new-%1-%2").arg(GetCurrentProcessId()).arg(serial++)).toStdWString();
        made = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (made == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            return int(GetLastError());
    }
    Handle file(made);
    if (!file.valid())
        return ERROR_FILE_EXISTS;
    DWORD error = 0;
    for (qsizetype done = 0; error == 0 && done < data.size();) {
        DWORD n = 0;
        if (!WriteFile(file.get(), data.constData() + done, DWORD(qMin<qsizetype>(data.size() - done, 1 << 30)), &n, nullptr))
            error = GetLastError();
        else if (n == 0)
            error = ERROR_WRITE_FAULT;
        done += n;
    }
    if (error == 0 && !FlushFileBuffers(file.get()))
        error = GetLastError();
    if (!CloseHandle(file.release()) && error == 0)
        error = GetLastError();
    if (error == 0 && !MoveFileExW(temporary.c_str(), path.toStdWString().c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != 0)
        DeleteFileW(temporary.c_str());
    return int(error);
}

void ShowCommandLineAnswer(const char* text, const char* title)
{
    // Redirected to a file or a pipe: the bytes go there, as a console program's would.
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    const DWORD type = out != nullptr && out != INVALID_HANDLE_VALUE ? GetFileType(out) : FILE_TYPE_UNKNOWN;
    if (type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE) {
        std::fputs(text, stdout);
        std::fflush(stdout);
        return;
    }
    const std::wstring wide = QString::fromUtf8(text).toStdWString();
    // Denied: the process has a console already (Wine gives a window program its starter's).
    const bool attached = AttachConsole(ATTACH_PARENT_PROCESS);
    if (attached || GetLastError() == ERROR_ACCESS_DENIED) {
        bool shown = false;
        {
            const Handle console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
            // The shell has shown its prompt again when it starts a window program: the text
            // begins on a line of its own.
            const std::wstring lines = L"\r\n" + wide;
            DWORD written = 0;
            shown = console.valid() && WriteConsoleW(console.get(), lines.c_str(), DWORD(lines.size()), &written, nullptr);
        }
        if (attached)
            FreeConsole();
        if (shown)
            return;
    }
    MessageBoxW(nullptr, wide.c_str(), QString::fromLatin1(title).toStdWString().c_str(), MB_OK | MB_ICONINFORMATION);
}

bool DecodeSystemCodePage(const QByteArray& bytes, QString& text)
{
    if (bytes.isEmpty() || bytes.size() > INT_MAX) {
        text.clear();
        return bytes.isEmpty();
    }
    // Invalid sequences (a lead byte of cp932 without its trail) fail rather than turn into '?'.
    const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.constData(), int(bytes.size()), nullptr, 0);
    if (length <= 0)
        return false;
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.constData(), int(bytes.size()), wide.data(), length);
    text = QString::fromStdWString(wide);
    return true;
}

void RemoveEmptyQtSettings()
{
    for (const wchar_t* path : {L"Software\\QtProject\\OrganizationDefaults", L"Software\\QtProject"}) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            continue;
        DWORD subkeys = 0;
        DWORD values = 0;
        const bool empty = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                            nullptr, nullptr, nullptr) == ERROR_SUCCESS
                           && subkeys == 0 && values == 0;
        RegCloseKey(key);
        if (!empty)
            return; // and its parent is not empty either
        RegDeleteKeyW(HKEY_CURRENT_USER, path);
    }
}

} // namespace Platform
