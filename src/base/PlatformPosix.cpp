// The platform on Linux with the GNU C library: POSIX calls, BSD's flock (which Linux has too)
// and glibc's strerrorname_np, which tells the error numbers the system has a text for.
#include "Platform.h"
#include "PlatformCommon.h"

#include "Language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <locale.h>
#include <poll.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

const int kErrorFileNotFound = ENOENT;
const int kErrorFileTooLarge = EFBIG;
const int kErrorReadFailed = EIO;
const int kErrorDirectory = EISDIR;
const int kErrorNoMemory = ENOMEM;

namespace {

// A locale object for messages and their character set, freed on every path.
class MessagesLocale {
public:
    explicit MessagesLocale(const char* name) : m_locale(newlocale(LC_MESSAGES_MASK | LC_CTYPE_MASK, name, locale_t(0))) {}
    ~MessagesLocale()
    {
        if (m_locale != locale_t(0))
            freelocale(m_locale);
    }
    MessagesLocale(const MessagesLocale&) = delete;
    MessagesLocale& operator=(const MessagesLocale&) = delete;
    locale_t get() const { return m_locale; }

private:
    locale_t m_locale;
};

// RAII for a POSIX descriptor.
class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

void UseSystemLocale()
{
    std::setlocale(LC_ALL, "");
}

quint32 SystemLocaleId()
{
    return LocaleIdFromName(MessageLocaleName());
}

bool SystemErrorText(int code, SystemTextLanguage language, QString& text)
{
    // glibc knows a name for every error it has a text for; unknown numbers have neither.
    if (strerrorname_np(code) == nullptr)
        return false;
    const char* name = "C";
    if (language == SystemTextLanguage::Japanese)
        name = "ja_JP.UTF-8";
    else if (language == SystemTextLanguage::SystemDefault)
        name = "";
    MessagesLocale loc(name);
    if (loc.get() == locale_t(0))
        return false;
    text = QString::fromLocal8Bit(strerror_l(code, loc.get()));
    return true;
}

qintptr AcquireInstanceLock(const QString& folder, const QString& name)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return -2;
    const QByteArray path = QFile::encodeName(folder + u'/' + name + QStringLiteral(".lock"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return -2;
    // flock belongs to the open file: the kernel drops it when the process ends in any way.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? -1 : -2;
    }
    return fd;
}

void ReleaseInstanceLock(qintptr handle)
{
    if (handle >= 0)
        ::close(int(handle));
}

bool InitSocketLayer()
{
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    return ::sigaction(SIGPIPE, &ignore, nullptr) == 0;
}

SocketWait WaitReadable(qintptr socketDescriptor, int timeoutMs)
{
    pollfd watched{int(socketDescriptor), POLLIN, 0};
    const int ready = ::poll(&watched, 1, timeoutMs);
    return WaitOutcome(ready, (watched.revents & (POLLERR | POLLNVAL)) != 0);
}

FileReadResult ReadWholeFile(const QString& path, QByteArray& data, quint64 maxSize)
{
    data.clear();
    const QByteArray native = QFile::encodeName(path);
    // O_NONBLOCK so that opening a named pipe without a writer cannot hang the program.
    Fd fd(::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0)
        return {FileReadStatus::SystemError, errno};

    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return {FileReadStatus::SystemError, errno};
    if (S_ISDIR(st.st_mode))
        return {FileReadStatus::NotRegularFile, kErrorDirectory};
    if (!S_ISREG(st.st_mode))
        return {FileReadStatus::NotRegularFile, 0};

    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0)
        ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return ReadOpenFile(quint64(st.st_size), maxSize, [&fd](char* into, qint64 count, int& error) -> qint64 {
        for (;;) {
            const ssize_t n = ::read(fd.get(), into, size_t(count));
            if (n < 0 && errno == EINTR)
                continue;
            error = errno;
            return qint64(n);
        }
    }, data);
}

bool IdentifyFile(const QString& path, FileIdentity& identity)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    identity = {quint64(st.st_dev), quint64(st.st_ino)};
    return true;
}

int ReplaceFileWhole(const QString& path, const QByteArray& data)
{
    // Beside the file, so that the rename stays on its file system; a name of this process's own,
    // made anew (O_EXCL) so that nothing already there is written through.
    const QByteArray target = QFile::encodeName(path);
    struct stat old {};
    const bool replaces = ::stat(target.constData(), &old) == 0;
    static std::atomic<int> serial{0};
    QByteArray temporary;
    int fd = -1;
    for (int tries = 0; fd < 0 && tries < 100; ++tries) {
        temporary = target + ".new-" + QByteArray::number(qint64(::getpid())) + '-' + QByteArray::number(serial++);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, replaces ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            return errno;
    }
    if (fd < 0)
        return EEXIST;
    int error = 0;
    if (replaces) {
        // Another owner's file keeps its owner where the system lets a program give it back; its
        // mode always.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM)
            error = errno;
        if (error == 0 && ::fchmod(fd, old.st_mode & 07777) != 0)
            error = errno;
    }
    for (qsizetype done = 0; error == 0 && done < data.size();) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n > 0)
            done += n;
        else if (n == 0 || errno != EINTR)
            error = n == 0 ? EIO : errno;
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return error;
    }
    // The rename itself reaches the disk with its folder.
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return 0;
}

void ShowCommandLineAnswer(const char* text, const char*)
{
    std::fputs(text, stdout);
}

bool DecodeSystemCodePage(const QByteArray&, QString&)
{
    return false;
}

void RemoveEmptyQtSettings() {}

} // namespace Platform
