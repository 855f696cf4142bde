// The one place that knows the operating system: the locale, system error texts, the
// single-instance guard, the socket layer's start-up and whole-file reads without blocking on
// special files, which file a path names and files replaced whole. One source file per platform
// implements it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace Platform {

// Makes the system's default locale the one every later locale-dependent choice follows.
void UseSystemLocale();

// The locale identifier (0x0411 Japanese, 0x0409 English (US), ...) the language follows: the
// thread locale where the platform has one, else the one the message locale names.
quint32 SystemLocaleId();

// Error numbers the callers name, in the platform's own numbering (errno, or the system's
// error codes on Windows).
extern const int kErrorFileNotFound;
extern const int kErrorFileTooLarge;
extern const int kErrorReadFailed;
extern const int kErrorDirectory; // what opening a directory as the firmware file gives

// Which language the system's own error texts are asked in.
enum class SystemTextLanguage {
    English,       // the C locale
    Japanese,      // ja_JP.UTF-8
    SystemDefault, // the process's own message locale
};

// The system's text for an error number. False when the system has no text for it in
// that language or the locale is not installed; `text` is then unchanged.
bool SystemErrorText(int code, SystemTextLanguage language, QString& text);

// Takes the guard `name` that marks the running copy: a lock file in `folder` (made when
// missing) on POSIX, the named mutex on Windows (where `folder` is not used). Returns a handle
// (>= 0) that holds it until ReleaseInstanceLock or the end of the process, crash included; -1
// when another process holds it; -2 when the guard could not be made at all.
qintptr AcquireInstanceLock(const QString& folder, const QString& name);
void ReleaseInstanceLock(qintptr handle);

// Starts the socket layer for the process; on POSIX a peer that resets a connection must never
// end the process by a signal. False when the socket layer cannot be used.
bool InitSocketLayer();

enum class SocketWait {
    Readable, // bytes, or the peer's orderly end of the stream
    Failed,   // an error is pending, such as the peer's reset
    TimedOut,
};

// Waits up to `timeoutMs` for a connected socket to become readable. It tells a reset apart from
// an orderly close, which a read alone reports alike.
SocketWait WaitReadable(qintptr socketDescriptor, int timeoutMs);

enum class FileReadStatus {
    Ok,
    SystemError,    // open, stat, allocation or read failed: see `systemError`
    NotRegularFile, // a directory, device, pipe or socket
    TooLarge,       // larger than the limit the caller gave
    ShortRead,      // fewer bytes than the size (the file shrank); `systemError` may be 0
};

struct FileReadResult {
    FileReadStatus status = FileReadStatus::Ok;
    int systemError = 0; // the failing call's error number, 0 when none
};

// Reads the whole regular file at `path` into `data` (exactly its size, one allocation), opened
// for reading only and read front to back. On Windows no other opener may share the file while it
// is read; POSIX has no such lock, so another program may still write it meanwhile (a file that
// shrinks shows as ShortRead). Special files are refused without blocking; `data` is empty unless
// the result is Ok.
FileReadResult ReadWholeFile(const QString& path, QByteArray& data, quint64 maxSize);

// Which file a path names, whatever the name: the device and inode on POSIX, the volume's serial
// number and the file index on Windows.
struct FileIdentity {
    quint64 volume = 0;
    quint64 index = 0;
    bool operator==(const FileIdentity& other) const { return volume == other.volume && index == other.index; }
};

// The file `path` names, through symbolic links; false when there is none (or it cannot be
// looked at). Nothing is opened for reading or writing, so a named pipe holds nothing up.
bool IdentifyFile(const QString& path, FileIdentity& identity);

// Writes `data` to the regular file `path` whole or not at all: into a new file beside it, each
// write checked, flushed to the disk and closed, then renamed over `path`, with the mode and
// owner of the file it replaces where the program may set them (POSIX). 0, or the error number
// of the call that failed; `path` is then untouched and the new file removed.
int ReplaceFileWhole(const QString& path, const QByteArray& data);

// Shows the window program's answer to --help or --version (UTF-8) on its standard output. A
// Windows window program started from a console has none: it writes to the console of the
// program that started it, and with no console there shows the text in a box captioned `title`.
void ShowCommandLineAnswer(const char* text, const char* title);

// Text that a program of the system's own wrote in the system's ANSI code page (Notepad's "ANSI",
// PowerShell 5.1's Set-Content: cp1252, cp932, ...). False where there is no such code page
// (POSIX: text files there are UTF-8) or the bytes are not valid in it.
bool DecodeSystemCodePage(const QByteArray& bytes, QString& text);

// Takes away the keys of Qt's own settings of the user that a file dialog's state left empty
// (Windows: HKEY_CURRENT_USER\Software\QtProject\OrganizationDefaults and its parent); keys that
// hold anything stay. Nothing on POSIX, whose file of them is Qt's to keep.
void RemoveEmptyQtSettings();

} // namespace Platform
