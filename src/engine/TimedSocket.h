// The connection to the radio: a TCP socket whose blocking calls keep timers, painting and
// socket notifiers going, hold user input back, and fail as interrupted once the time-out passes.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QAbstractSocket>
#include <QTimer>

#include <atomic>
#include <functional>

class CTimedSocket {
public:
    // A 32-bit millisecond tick; it wraps about every 49.7 days.
    using TickSource = std::function<quint32()>;
    // Says whether the bytes received so far make a whole reply.
    using ReplyComplete = std::function<bool(const char* bytes, qint64 count)>;

    enum class Error {
        None,
        Interrupted,  // cancelled, by the time-out or by CancelBlockingCall
        InProgress,   // a blocking call was already running on this socket
        NotConnected,
        HostNotFound,
        ConnectFailed,
        PeerClosed,   // the peer closed the connection in order
        Network,      // reset or another error of the connection
    };

    static constexpr int DEFAULT_TIMEOUT_MS = 10000;
    // Longest a wait blocks on the socket alone before it looks at the clock, the abort flag and
    // the event queue; while replies come faster, events are still dispatched this often, yet
    // not after every exchange, which would cost more than the exchange itself. The default
    // keeps a window's timers and painting within this lag of their time during a long wait.
    static constexpr int DEFAULT_WAIT_SLICE_MS = 10;

    explicit CTimedSocket(TickSource tick = {});
    ~CTimedSocket();
    CTimedSocket(const CTimedSocket&) = delete;
    CTimedSocket& operator=(const CTimedSocket&) = delete;

    // Applies from the next check on; returns the time-out set before.
    int SetTimeout(int milliseconds);
    int Timeout() const { return m_nTimeout; }
    // A thread with no window to keep going (one of many radios on the command line) waits in
    // longer slices: a radio that programs for minutes then costs next to no CPU. The time-out
    // still ends on time; the abort flag is seen within a slice.
    void SetWaitSlice(int milliseconds);

    // Connects to a numeric address or a host name (looked up without freezing the thread).
    // Text that ClassifyAddressText calls Invalid fails at once with Error::HostNotFound,
    // without a lookup or a connection attempt.
    bool Connect(const QString& host, quint16 port);
    // Takes over `descriptor`, a stream socket already connected by other means (a test peer in
    // the same process, say), as Connect would have left it; from then on this socket closes it.
    // False, with Error::NotConnected, when the system does not take it for a socket; it then
    // stays the caller's to close.
    bool Adopt(qintptr descriptor);
    bool IsConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    // Sends every byte; returns `length`, or -1.
    qint64 Send(const char* data, qint64 length);
    // Waits for some bytes; returns how many were copied (at most `capacity`), 0 when the peer
    // closed the connection, -1 on an error or cancellation.
    qint64 Receive(char* buffer, qint64 capacity);
    // One blocking call that keeps receiving until `complete` holds or `capacity` is full; the
    // time-out counts from its entry, however the bytes trickle in. Returns the count; when the
    // peer closes first, the count so far (possibly 0); -1 on an error or cancellation.
    qint64 ReceiveUntil(char* buffer, qint64 capacity, const ReplyComplete& complete);
    // Drops bytes that have arrived but were not read; returns how many.
    qint64 DiscardPending();
    // Ends the blocking call in progress, which then fails with Error::Interrupted.
    void CancelBlockingCall();
    // The one way another thread may end this socket's calls: once `flag` is set, the blocking
    // call in progress and every later one fail with Error::Interrupted within a wait slice.
    // The flag must outlive the socket; null (the default) means none.
    void SetAbortFlag(const std::atomic<bool>* flag) { m_pAbort = flag; }
    // Closes the connection; harmless when none was made.
    void Close();

    Error LastError() const { return m_error; }
    bool IsBlocking() const { return m_bBlocking; }

    // The time-out rule: the unsigned 32-bit difference must exceed the time-out; equal does not.
    static bool IsPastTimeout(quint32 now, quint32 lastActivity, int timeoutMs);
    // The default tick: milliseconds of a steady clock, cut to 32 bits.
    static quint32 SteadyTick();

private:
    enum class WaitKind { Connected, BytesWritten, ReadyRead };

    bool Block(WaitKind kind, const std::function<bool()>& done);
    bool HasFailed(WaitKind kind);
    void WaitSlice(WaitKind kind, int sliceMs);
    // Cancels the call once the time-out has passed; returns how long the next wait may block.
    int CheckTimeout();
    void Stamp() { m_dwLastActivity = m_tick(); }

    // A plain TCP socket rather than a QTcpSocket, which starts out buffered: a socket taken
    // over with a descriptor keeps that, and would read only through the event loop.
    QAbstractSocket m_socket{QAbstractSocket::TcpSocket, nullptr};
    QTimer m_wake; // wakes an event-driven wait so the time-out is checked without other traffic
    QElapsedTimer m_sincePump;
    TickSource m_tick;
    bool m_bStamped = false;
    quint32 m_dwLastActivity = 0;
    int m_nTimeout = DEFAULT_TIMEOUT_MS;
    int m_nWaitSliceMs = DEFAULT_WAIT_SLICE_MS;
    bool m_bBlocking = false;
    bool m_bCancelRequested = false;
    const std::atomic<bool>* m_pAbort = nullptr;
    bool m_bReadable = false; // the last wait slice found the socket readable
    Error m_error = Error::None;
};
