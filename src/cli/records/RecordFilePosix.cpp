#include "RecordFile.h"

#include "base/Platform.h"

#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Reason(int code)
{
    QString text = QStringLiteral("error %1").arg(code);
    Platform::SystemErrorText(code, Platform::SystemTextLanguage::English, text);
    return text;
}

// Writes all of `data` at `fd`; 0, or the error number of the write that failed.
int WriteAll(int fd, const char* data, qint64 size, qint64& written)
{
    written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd, data + written, size_t(size - written));
        if (n > 0)
            written += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else
            return n < 0 ? errno : EIO;
    }
    return 0;
}

// Holds another run's appends off the file while one record goes in (advisory, between runs).
class AppendLock {
public:
    explicit AppendLock(int fd) : m_fd(fd), m_held(::flock(fd, LOCK_EX) == 0) {}
    ~AppendLock()
    {
        if (m_held)
            ::flock(m_fd, LOCK_UN);
    }
    AppendLock(const AppendLock&) = delete;
    AppendLock& operator=(const AppendLock&) = delete;

private:
    const int m_fd;
    const bool m_held;
};

} // namespace

RecordFile::~RecordFile()
{
    if (m_handle >= 0)
        ::close(int(m_handle));
}

QString RecordFile::Open(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0)
        return Reason(errno);
    m_handle = fd;
    return QString();
}

QString RecordFile::Append(const QByteArray& line)
{
    const int fd = int(m_handle);
    const AppendLock lock(fd);
    const off_t start = ::lseek(fd, 0, SEEK_END);
    qint64 written = 0;
    const int error = WriteAll(fd, line.constData(), line.size(), written);
    if (error == 0)
        return QString();
    // A part of a record would make the line after it unreadable: back to the last whole one.
    if (written > 0 && start >= 0) {
        while (::ftruncate(fd, start) != 0 && errno == EINTR) {
        }
    }
    return Reason(error);
}

QString ReplaceRecordWhole(const QString& path, const QByteArray& data)
{
    const QByteArray target = QFile::encodeName(path);
    struct stat old {};
    const bool replaces = ::stat(target.constData(), &old) == 0;
    // Beside the file, so that the rename stays on its file system; a name of this process's
    // own, made anew (O_EXCL) so that nothing already there is written through.
    static std::atomic<int> serial{0};
    QByteArray temporary;
    int fd = -1;
    for (int tries = 0; fd < 0 && tries < 100; ++tries) {
        temporary = target + ".new-" + QByteArray::number(qint64(::getpid())) + '-' + QByteArray::number(serial++);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, replaces ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            return Reason(errno);
    }
    if (fd < 0)
        return Reason(EEXIST);
    int error = 0;
    if (replaces) {
        // Another owner's file keeps its owner where the system lets a program give it back; its
        // mode always.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM)
            error = errno;
        if (error == 0 && ::fchmod(fd, old.st_mode & 07777) != 0)
            error = errno;
    }
    qint64 written = 0;
    if (error == 0)
        error = WriteAll(fd, data.constData(), data.size(), written);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.constData());
        return Reason(error);
    }
    // The rename itself reaches the disk with its folder.
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return QString();
}
