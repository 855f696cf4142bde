#include "RecordFile.h"

#include "base/Platform.h"
#include "base/SystemErrorText.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
        return SystemReason(errno);
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
    return SystemReason(error);
}
