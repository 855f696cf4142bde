#include "UpdateProtocol.h"

#include "TimedSocket.h"

#include <QThread>

#include <cstring>

int BuildRequest(quint8 command, const char* data, int length, char* request)
{
    if (data == nullptr)
        length = 0;
    length = qBound(0, length, BLOCK_SIZE);
    if (length > 0)
        std::memcpy(request + REQUEST_HEADER_SIZE, data, size_t(length));
    request[0] = char(REQUEST_MARKER);
    request[1] = char(command);
    request[2] = char(length & 0xFF);
    request[3] = char((length >> 8) & 0xFF);
    std::memset(request + 4, 0, 4);
    return REQUEST_HEADER_SIZE + length;
}

bool IsAcceptedStatus(quint8 status)
{
    return status == STATUS_ACCEPTED || status == STATUS_ACCEPTED_ALT;
}

bool IsReplyComplete(const char* reply, qint64 count, ReplyKind kind)
{
    if (count <= REPLY_STATUS_OFFSET)
        return false;
    if (kind == ReplyKind::Status || !IsAcceptedStatus(quint8(reply[REPLY_STATUS_OFFSET])))
        return true;
    return count >= REPLY_ECHO_OFFSET + ECHO_SIZE;
}

bool EchoMatches(const char* reply, const char* image)
{
    return std::memcmp(reply + REPLY_ECHO_OFFSET, image + IMAGE_ECHO_OFFSET, ECHO_SIZE) == 0;
}

bool ExchangeRequest(CTimedSocket& socket, quint8 command, char* request, char* reply,
                     const char* data, int length, ReplyKind kind, int busyDelayMs)
{
    const auto complete = [kind](const char* bytes, qint64 count) {
        return IsReplyComplete(bytes, count, kind);
    };
    quint8 busyCount = 0;
    for (;;) {
        const int requestSize = BuildRequest(command, data, length, request);
        std::memset(reply, 0, REPLY_BUFFER_SIZE);
        // A late or overlong earlier reply must never be judged as the answer to this request.
        socket.DiscardPending();
        if (socket.Send(request, requestSize) != requestSize)
            return false;
        const qint64 received = socket.ReceiveUntil(reply, REPLY_BUFFER_SIZE, complete);
        if (received < 0) {
            reply[REPLY_STATUS_OFFSET] = char(STATUS_NO_REPLY);
            return false;
        }
        if (!complete(reply, received))
            return false; // the peer closed before the reply was whole
        if (quint8(reply[REPLY_STATUS_OFFSET]) != STATUS_BUSY)
            return IsAcceptedStatus(quint8(reply[REPLY_STATUS_OFFSET]));
        if (++busyCount > BUSY_RETRY_LIMIT)
            return false;
        if (busyDelayMs > 0)
            QThread::msleep(ulong(busyDelayMs));
    }
}
