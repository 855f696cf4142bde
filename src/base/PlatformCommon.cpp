#include "PlatformCommon.h"

#include <new>

namespace Platform {

SocketWait WaitOutcome(int ready, bool failed)
{
    if (ready <= 0)
        return SocketWait::TimedOut; // a signal's interruption too: the caller waits again
    return failed ? SocketWait::Failed : SocketWait::Readable;
}

FileReadResult ReadOpenFile(quint64 size, quint64 maxSize, const ReadSome& readSome, QByteArray& data)
{
    if (size > maxSize)
        return {FileReadStatus::TooLarge, kErrorFileTooLarge};
    QByteArray buffer;
    try {
        buffer.resize(qsizetype(size));
    } catch (const std::bad_alloc&) {
        return {FileReadStatus::SystemError, kErrorNoMemory};
    }
    for (qsizetype got = 0; got < buffer.size();) {
        int error = 0;
        const qint64 n = readSome(buffer.data() + got, buffer.size() - got, error);
        if (n <= 0)
            return {FileReadStatus::ShortRead, n < 0 ? error : 0}; // the file shrank, or the read failed
        got += qsizetype(n);
    }
    data = std::move(buffer);
    return {};
}

} // namespace Platform
