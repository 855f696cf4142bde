#include "ScriptedPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <iterator>
#include <utility>

namespace {

constexpr int REQUEST_HEADER = 8;
constexpr int SEGMENT_MAX = 4;
// A request is at most a header and one block; this many reads take in more than one.
constexpr int RECEIVE_ROUNDS = 4;
// The longest a connection the peer made itself may take to reach its listener's queue: this
// many waits of this length, each of which a signal may cut short.
constexpr int ACCEPT_WAIT_ROUNDS = 10;
constexpr int ACCEPT_WAIT_SLICE_MS = 100;

enum class AnswerKind : quint8 { Raw, RawLong, Accept, Busy, Silent, Close, Reset, RawThenClose };

} // namespace

CScriptedPeer::CScriptedPeer(const char* address, int timeoutMs)
    : m_address(QString::fromLatin1(address)), m_timeoutMs(timeoutMs)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
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
    m_script = std::move(script);
    m_input = CFuzzInput(reinterpret_cast<const quint8*>(m_script.constData()), size_t(m_script.size()));
    m_requests.clear();
    m_pending.clear();
    m_steps.clear();
    m_answered = false;
    m_serving = true;
}

std::vector<QByteArray> CScriptedPeer::Finish()
{
    m_serving = false;
    // Requests that came while a reply was still going out were received too, unanswered.
    if (m_connection >= 0)
        Receive();
    for (QByteArray request; NextRequest(request);) {
    }
    Disconnect();
    DropBacklog();
    // Nothing of the session outlives it: libFuzzer looks for leaks in every run whose
    // allocations and releases do not balance, which costs more than the run.
    m_input = CFuzzInput(nullptr, 0);
    m_script = QByteArray();
    m_pending = QByteArray();
    m_steps = {};
    return std::exchange(m_requests, {});
}

quint32 CScriptedPeer::Tick()
{
    if (m_serving)
        Advance();
    using namespace std::chrono;
    return quint32(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count()) + m_skippedMs;
}

qintptr CScriptedPeer::Connect()
{
    if (!m_serving || m_connection >= 0)
        return -1;
    // Without blocking: a blocking connect would fail when the fuzzer's timer signal came.
    const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (client < 0)
        return -1;
    sockaddr_in listener{};
    listener.sin_family = AF_INET;
    listener.sin_port = htons(m_port);
    ::inet_pton(AF_INET, m_address.toLatin1().constData(), &listener.sin_addr);
    const bool started =
        ::connect(client, reinterpret_cast<sockaddr*>(&listener), sizeof listener) == 0 || errno == EINPROGRESS;
    // Once the listener holds the connection, the handshake is over on both ends.
    pollfd queued{m_listener, POLLIN, 0};
    int ready = 0;
    for (int round = 0; started && round < ACCEPT_WAIT_ROUNDS && ready == 0; ++round) {
        ready = ::poll(&queued, 1, ACCEPT_WAIT_SLICE_MS);
        if (ready < 0 && errno == EINTR)
            ready = 0;
    }
    if (ready != 1 || !Accept()) {
        ::close(client);
        return -1;
    }
    const int on = 1;
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return client;
}

bool CScriptedPeer::Accept()
{
    m_connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (m_connection < 0)
        return false;
    const int on = 1;
    ::setsockopt(m_connection, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    // An empty script closes the connection before the first request.
    if (m_input.Empty())
        Perform({Step::Kind::Close, {}, 0});
    return true;
}

void CScriptedPeer::Advance()
{
    // Still connecting, or closed at once: until the first request the clock runs as it does.
    if (m_connection < 0 && (!Accept() || !m_serving))
        return;
    // Taken in even while a reply is still going out: the client may already have sent its
    // next request, taking the start of that reply for the whole.
    if (!Receive()) {
        m_serving = false; // the client left
        return;
    }
    if (m_steps.empty()) {
        // A request just taken is answered from the next reading on, so that the client looks
        // at the socket between any two segments. One answered by silence sends nothing: the
        // next waiting request is taken at once, else the silence starts now. (A reading spent
        // on each would cost the client a whole wait slice of real time.)
        while (TakeRequest()) {
            if (!m_steps.empty())
                return;
        }
        // Nothing more to send: the client waits for a silence, which ends at its time-out.
        if (m_answered)
            m_skippedMs += quint32(m_timeoutMs) + 1;
        return;
    }
    // The next segment, after its gap, and any that follow it without one.
    do {
        const Step step = m_steps.front();
        m_steps.pop_front();
        m_skippedMs += quint32(step.gapMs);
        Perform(step);
    } while (m_serving && !m_steps.empty() && m_steps.front().gapMs == 0);
}

bool CScriptedPeer::Receive()
{
    for (int round = 0; round < RECEIVE_ROUNDS; ++round) {
        char chunk[4096];
        const ssize_t n = ::recv(m_connection, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n > 0) {
            m_pending.append(chunk, qsizetype(n));
            continue;
        }
        return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
    }
    return true;
}

bool CScriptedPeer::NextRequest(QByteArray& request)
{
    if (m_pending.size() < REQUEST_HEADER)
        return false;
    const int length = quint8(m_pending[2]) | (quint8(m_pending[3]) << 8);
    if (m_pending.size() < REQUEST_HEADER + length)
        return false;
    request = m_pending.left(REQUEST_HEADER + length);
    m_pending.remove(0, REQUEST_HEADER + length);
    m_requests.push_back(request);
    return true;
}

bool CScriptedPeer::TakeRequest()
{
    QByteArray request;
    if (!NextRequest(request))
        return false;
    m_answered = true;
    Answer(request);
    // A script that has run out ends the session once this answer is out.
    if (m_input.Empty())
        m_steps.push_back({Step::Kind::Close, {}, 0});
    return true;
}

void CScriptedPeer::Answer(const QByteArray& request)
{
    QByteArray reply;
    const quint8 op = m_input.Byte();
    switch (AnswerKind(op % 8)) {
    case AnswerKind::Raw:
    case AnswerKind::RawThenClose:
        reply = m_input.Bytes(m_input.Byte());
        break;
    case AnswerKind::RawLong:
        // Longer than any reply buffer.
        reply = m_input.Bytes(size_t(m_input.Byte()) << 4);
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
        m_steps.push_back({Step::Kind::Close, {}, 0});
        return;
    case AnswerKind::Reset:
        m_steps.push_back({Step::Kind::Reset, {}, 0});
        return;
    }
    PlanSegments(reply);
    if (AnswerKind(op % 8) == AnswerKind::RawThenClose)
        m_steps.push_back({Step::Kind::Close, {}, 0});
}

void CScriptedPeer::PlanSegments(const QByteArray& bytes)
{
    // Gaps between segments: none (they may arrive as one), the shortest, well inside the
    // client's time-out, and past it.
    const int gaps[] = {0, 1, m_timeoutMs / 4, m_timeoutMs + 1};
    const quint8 shape = m_input.Byte();
    const int segments = 1 + shape % SEGMENT_MAX;
    const int gap = gaps[(shape / SEGMENT_MAX) % std::size(gaps)];
    qsizetype planned = 0;
    for (int i = 0; i < segments && planned < bytes.size(); ++i) {
        // The last segment takes the rest; the others a share the script picks.
        const qsizetype left = bytes.size() - planned;
        const qsizetype size = i + 1 == segments ? left : qMax<qsizetype>(1, left * m_input.Byte() / 255);
        m_steps.push_back({Step::Kind::Send, bytes.mid(planned, size), i > 0 ? gap : 0});
        planned += size;
    }
}

void CScriptedPeer::Perform(const Step& step)
{
    switch (step.kind) {
    case Step::Kind::Send:
        if (::send(m_connection, step.bytes.constData(), size_t(step.bytes.size()), MSG_NOSIGNAL | MSG_DONTWAIT) ==
            step.bytes.size())
            return;
        break;
    case Step::Kind::Close:
        // The descriptor stays open until the session ends: closing it with a request unread
        // would send a reset after the orderly end.
        ::shutdown(m_connection, SHUT_RDWR);
        break;
    case Step::Kind::Reset:
        Disconnect();
        break;
    }
    m_serving = false;
    m_steps.clear();
}

void CScriptedPeer::Disconnect()
{
    if (m_connection < 0)
        return;
    // Closing with a zero linger sends a reset instead of an orderly end, and leaves no
    // connection waiting out its time on this side.
    const linger abortive{1, 0};
    ::setsockopt(m_connection, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    ::close(m_connection);
    m_connection = -1;
}

void CScriptedPeer::DropBacklog()
{
    // A connection left over from an earlier session must not meet the next session's script.
    for (int fd; (fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
        ::close(fd);
}
