#include "ScriptedPeer.h"

#include "FuzzInput.h"

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

// Every wait looks at the stop flag this often, and a session never outlives its bound.
constexpr int SLICE_MS = 5;
constexpr qint64 SESSION_LIMIT_MS = 20000;
constexpr int REQUEST_HEADER = 8;
constexpr int SEGMENT_MAX = 4;
// Gaps between segments, short of any client time-out the targets use.
constexpr int kGapMicroseconds[] = {0, 200, 1000, 3000};

enum class AnswerKind : quint8 { Raw, RawLong, Accept, Busy, Silent, Close, Reset, RawThenClose };

bool WaitReadable(int fd, const std::atomic<bool>& stop, const QElapsedTimer& life)
{
    while (!stop && life.elapsed() < SESSION_LIMIT_MS) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, SLICE_MS);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
    return false;
}

} // namespace

CScriptedPeer::CScriptedPeer(const char* address) : m_address(QString::fromLatin1(address))
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listener < 0)
        return;
    const int on = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, address, &local.sin_addr);
    socklen_t length = sizeof local;
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        ::listen(m_listener, 4) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return;
    ::fcntl(m_listener, F_SETFL, ::fcntl(m_listener, F_GETFL) | O_NONBLOCK);
    m_port = ntohs(local.sin_port);
}

CScriptedPeer::~CScriptedPeer()
{
    Finish();
    if (m_listener >= 0)
        ::close(m_listener);
}

void CScriptedPeer::Start(QByteArray script)
{
    Finish();
    DropBacklog();
    m_script = std::move(script);
    m_requests.clear();
    m_stop = false;
    m_thread = std::thread([this] { Serve(); });
}

std::vector<QByteArray> CScriptedPeer::Finish()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    return m_requests;
}

void CScriptedPeer::DropBacklog()
{
    // A connection left over from an earlier session must not meet this session's script.
    for (int fd; (fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
        ::close(fd);
}

void CScriptedPeer::Serve()
{
    QElapsedTimer life;
    life.start();
    if (!WaitReadable(m_listener, m_stop, life))
        return;
    const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0)
        return;
    const int on = 1;
    ::setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);

    CFuzzInput script(reinterpret_cast<const quint8*>(m_script.constData()), size_t(m_script.size()));
    QByteArray pending;
    bool open = true;
    while (open && !script.Empty() && WaitReadable(connection, m_stop, life)) {
        char chunk[4096];
        const ssize_t n = ::recv(connection, chunk, sizeof chunk, 0);
        if (n <= 0)
            break;
        pending.append(chunk, qsizetype(n));
        while (open && pending.size() >= REQUEST_HEADER) {
            const int length = quint8(pending[2]) | (quint8(pending[3]) << 8);
            if (pending.size() < REQUEST_HEADER + length)
                break;
            const QByteArray request = pending.left(REQUEST_HEADER + length);
            pending.remove(0, REQUEST_HEADER + length);
            m_requests.push_back(request);
            Answer(connection, request, script, open);
        }
    }
    ::close(connection);
}

void CScriptedPeer::Answer(int connection, const QByteArray& request, CFuzzInput& script, bool& open)
{
    QByteArray reply;
    const quint8 op = script.Byte();
    switch (AnswerKind(op % 8)) {
    case AnswerKind::Raw:
    case AnswerKind::RawThenClose:
        reply = script.Bytes(script.Byte());
        break;
    case AnswerKind::RawLong:
        // Longer than any reply buffer.
        reply = script.Bytes(size_t(script.Byte()) << 4);
        break;
    case AnswerKind::Accept:
        reply = QByteArray("\x10 ", 2);
        if (request.size() >= REQUEST_HEADER + 8)
            reply += request.mid(REQUEST_HEADER + 4, 4);
        break;
    case AnswerKind::Busy:
        reply = QByteArray("\x10@", 2);
        break;
    case AnswerKind::Silent:
        return;
    case AnswerKind::Close:
        ::shutdown(connection, SHUT_RDWR);
        open = false;
        return;
    case AnswerKind::Reset: {
        const linger abortive{1, 0};
        // Closing with a zero linger sends a reset instead of an orderly end.
        ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
        open = false;
        return;
    }
    }
    if (!SendSegments(connection, reply, script))
        open = false;
    if (AnswerKind(op % 8) == AnswerKind::RawThenClose) {
        ::shutdown(connection, SHUT_RDWR);
        open = false;
    }
}

bool CScriptedPeer::SendSegments(int connection, const QByteArray& bytes, CFuzzInput& script)
{
    const quint8 shape = script.Byte();
    const int segments = 1 + shape % SEGMENT_MAX;
    const int gap = kGapMicroseconds[(shape / SEGMENT_MAX) % std::size(kGapMicroseconds)];
    qsizetype sent = 0;
    for (int i = 0; i < segments && sent < bytes.size(); ++i) {
        // The last segment takes the rest; the others a share the script picks.
        const qsizetype left = bytes.size() - sent;
        const qsizetype size = i + 1 == segments ? left : qMax<qsizetype>(1, left * script.Byte() / 255);
        if (i > 0 && gap > 0)
            std::this_thread::sleep_for(std::chrono::microseconds(gap));
        if (::send(connection, bytes.constData() + sent, size_t(size), MSG_NOSIGNAL) != size)
            return false;
        sent += size;
    }
    return true;
}
