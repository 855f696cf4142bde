#include "TimedSocket.h"

#include "RadioAddress.h"
#include "UserInputHold.h"

#include "base/Platform.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkProxy>

#include <algorithm>
#include <chrono>
#include <optional>

namespace {


// A single poll drains what the previous reply left behind; this bounds a peer that never stops.
constexpr int DISCARD_ROUNDS = 16;
constexpr int REPLY_SINK_SIZE = 2048;

} // namespace

CTimedSocket::CTimedSocket(TickSource tick) : m_tick(tick ? std::move(tick) : TickSource(&CTimedSocket::SteadyTick))
{
    m_wake.setInterval(m_nWaitSliceMs);
    m_sincePump.start();
    // The radio sits on the operator's own network: a proxy configured for the web must never
    // carry the firmware, nor learn where the radio is.
    m_socket.setProxy(QNetworkProxy::NoProxy);
}

CTimedSocket::~CTimedSocket()
{
    Close();
}

quint32 CTimedSocket::SteadyTick()
{
    using namespace std::chrono;
    return quint32(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool CTimedSocket::IsPastTimeout(quint32 now, quint32 lastActivity, int timeoutMs)
{
    // Unsigned arithmetic keeps the difference right across the tick's wrap to 0.
    return quint32(now - lastActivity) > quint32(timeoutMs);
}

void CTimedSocket::SetWaitSlice(int milliseconds)
{
    m_nWaitSliceMs = std::max(1, milliseconds);
    m_wake.setInterval(m_nWaitSliceMs);
}

int CTimedSocket::SetTimeout(int milliseconds)
{
    const int previous = m_nTimeout;
    m_nTimeout = milliseconds;
    return previous;
}

bool CTimedSocket::Connect(const QString& host, quint16 port)
{
    // Connect does not stamp: the first check of the wait does, as m_bStamped is clear.
    if (m_bBlocking) {
        m_error = Error::InProgress;
        return false;
    }
    m_error = Error::None;
    m_socket.abort();
    // The system would read "127.0.9.012" as 127.0.9.10, "127.1" as 127.0.0.1: firmware meant
    // for one radio would reach another. Such text is refused here, before any lookup.
    if (ClassifyAddressText(host) == AddressText::Invalid) {
        m_error = Error::HostNotFound;
        return false;
    }
    // Unbuffered: reads and writes go straight to the system, one call each, with no socket
    // notifier switched on and off around every exchange.
    m_socket.connectToHost(host, port, QIODevice::ReadWrite | QIODevice::Unbuffered);
    bool connected = Block(WaitKind::Connected, [this] {
        return m_socket.state() == QAbstractSocket::ConnectedState;
    });
    if (!connected && m_error == Error::Interrupted && !(m_pAbort && m_pAbort->load())) {
        // A thread that stalled past the time-out reads the clock before it looks at the socket:
        // the connection the system made meanwhile is taken up once, without waiting, rather
        // than reported as a radio that is not there.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        connected = m_socket.state() == QAbstractSocket::ConnectedState;
        if (connected)
            m_error = Error::None;
    }
    if (!connected) {
        if (m_error == Error::None) {
            m_error = m_socket.error() == QAbstractSocket::HostNotFoundError ? Error::HostNotFound
                                                                             : Error::ConnectFailed;
        }
        m_socket.abort();
        return false;
    }
    // Requests are lock-step and small; nothing is gained by holding them back.
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    return true;
}

bool CTimedSocket::Adopt(qintptr descriptor)
{
    if (m_bBlocking) {
        m_error = Error::InProgress;
        return false;
    }
    m_error = Error::None;
    m_socket.abort();
    // Unbuffered, as Connect opens it.
    if (!m_socket.setSocketDescriptor(descriptor, QAbstractSocket::ConnectedState,
                                      QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        m_error = Error::NotConnected;
        return false;
    }
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // As the connect's wait leaves it: the first reply's time-out then counts from the call's
    // entry, not from the wait's first check.
    m_bStamped = true;
    return true;
}

qint64 CTimedSocket::Send(const char* data, qint64 length)
{
    Stamp();
    if (m_bBlocking) {
        m_error = Error::InProgress;
        return -1;
    }
    m_error = Error::None;
    if (m_socket.state() != QAbstractSocket::ConnectedState) {
        m_error = Error::NotConnected;
        return -1;
    }
    if (m_socket.write(data, length) != length) {
        m_error = Error::Network;
        return -1;
    }
    m_socket.flush();
    const bool sent = Block(WaitKind::BytesWritten, [this] { return m_socket.bytesToWrite() == 0; });
    return sent ? length : -1;
}

qint64 CTimedSocket::Receive(char* buffer, qint64 capacity)
{
    return ReceiveUntil(buffer, capacity, [](const char*, qint64 count) { return count > 0; });
}

qint64 CTimedSocket::ReceiveUntil(char* buffer, qint64 capacity, const ReplyComplete& complete)
{
    Stamp();
    if (m_bBlocking) {
        m_error = Error::InProgress;
        return -1;
    }
    m_error = Error::None;
    qint64 count = 0;
    m_bReadable = false;
    const auto take = [&] {
        // Read only once the socket said so: a read that finds nothing costs a call for nothing.
        if (count < capacity && m_bReadable) {
            m_bReadable = false;
            const qint64 n = m_socket.read(buffer + count, capacity - count);
            if (n > 0)
                count += n;
        }
        return count > 0 && (count == capacity || complete(buffer, count));
    };
    if (Block(WaitKind::ReadyRead, take))
        return count;
    return m_error == Error::PeerClosed ? count : -1;
}

qint64 CTimedSocket::DiscardPending()
{
    qint64 dropped = 0;
    char sink[REPLY_SINK_SIZE];
    for (int round = 0; round < DISCARD_ROUNDS && m_socket.bytesAvailable() > 0; ++round) {
        const qint64 n = m_socket.read(sink, sizeof sink);
        if (n <= 0)
            break;
        dropped += n;
    }
    return dropped;
}

void CTimedSocket::CancelBlockingCall()
{
    if (m_bBlocking)
        m_bCancelRequested = true;
}

void CTimedSocket::Close()
{
    CancelBlockingCall();
    m_socket.abort();
}

bool CTimedSocket::HasFailed(WaitKind kind)
{
    const QAbstractSocket::SocketState state = m_socket.state();
    switch (kind) {
    case WaitKind::Connected:
        // Looking up the name or connecting: still going.
        return state == QAbstractSocket::UnconnectedState;
    case WaitKind::BytesWritten:
        if (state == QAbstractSocket::ConnectedState)
            return false;
        m_error = Error::Network;
        return true;
    case WaitKind::ReadyRead:
        if (state == QAbstractSocket::ConnectedState)
            return false;
        // An orderly close by the peer is "no bytes"; anything else is a receive error.
        if (m_error == Error::None) {
            m_error = m_socket.error() == QAbstractSocket::RemoteHostClosedError ? Error::PeerClosed
                                                                                 : Error::Network;
        }
        return true;
    }
    return true;
}

void CTimedSocket::WaitSlice(WaitKind kind, int sliceMs)
{
    switch (kind) {
    case WaitKind::ReadyRead:
        // Waited on directly: a read alone would take a reset for the peer's orderly close, and
        // the reset is a receive error.
        switch (Platform::WaitReadable(m_socket.socketDescriptor(), sliceMs)) {
        case Platform::SocketWait::Readable:
            m_bReadable = true;
            break;
        case Platform::SocketWait::Failed:
            m_error = Error::Network;
            m_socket.abort();
            break;
        case Platform::SocketWait::TimedOut:
            break;
        }
        break;
    case WaitKind::BytesWritten:
        m_socket.waitForBytesWritten(sliceMs);
        break;
    case WaitKind::Connected:
        // A host-name lookup and the connect itself finish through events; m_wake bounds the wait.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
        m_sincePump.restart();
        break;
    }
}

int CTimedSocket::CheckTimeout()
{
    // One reading of the clock per check.
    const quint32 now = m_tick();
    if (!m_bStamped) {
        m_dwLastActivity = now;
        m_bStamped = true;
    }
    if (IsPastTimeout(now, m_dwLastActivity, m_nTimeout)) {
        CancelBlockingCall();
        m_bStamped = false;
        return 0;
    }
    // Not yet past, so one millisecond after the time-out's own length is.
    const qint64 untilPast = qint64(quint32(m_nTimeout)) - quint32(now - m_dwLastActivity) + 1;
    return int(std::min<qint64>(untilPast, m_nWaitSliceMs));
}

bool CTimedSocket::Block(WaitKind kind, const std::function<bool()>& done)
{
    m_bBlocking = true;
    m_bCancelRequested = false;
    // Installed only once events are dispatched: a quick exchange costs nothing extra.
    std::optional<CUserInputHold> hold;
    if (kind == WaitKind::Connected) {
        hold.emplace();
        m_wake.start();
    }
    bool ok = false;
    for (;;) {
        if (done()) {
            ok = true;
            break;
        }
        if (HasFailed(kind))
            break;
        // The clock is read before each wait, so that the wait ends when the time-out passes
        // rather than up to a slice later.
        const int sliceMs = CheckTimeout();
        if (!m_bCancelRequested) {
            WaitSlice(kind, sliceMs);
            if (kind != WaitKind::Connected && m_sincePump.elapsed() >= m_nWaitSliceMs) {
                if (!hold)
                    hold.emplace();
                // Not the socket's own notices: this wait reads the socket itself, and on Windows
                // a peer's close, noticed and re-armed over and over, can keep the event pump
                // from ever returning.
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                                QEventLoop::ExcludeSocketNotifiers);
                m_sincePump.restart();
            }
        }
        // Set from another thread: looked at after every slice, so the call ends within one.
        if (m_pAbort && m_pAbort->load(std::memory_order_relaxed))
            m_bCancelRequested = true;
        if (m_bCancelRequested) {
            m_error = Error::Interrupted;
            break;
        }
    }
    m_wake.stop();
    m_bBlocking = false;
    m_bCancelRequested = false;
    return ok;
}
