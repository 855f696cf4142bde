// A radio that misbehaves where the simulator cannot: from a chosen request on it floods unasked
// bytes, trickles a byte every three seconds, resets the connection or answers with a megabyte;
// or it listens and never accepts. Before that request it answers as a radio does.
#pragma once

#include <QString>

#include <atomic>
#include <future>
#include <thread>

class CHostilePeer {
public:
    enum class Behaviour { Flood, Trickle, Reset, Megabyte, NeverAccept };

    // `atRequest` counts requests from 1 ("begin"); 0 misbehaves as soon as the connection is
    // accepted. The peer serves one connection on its own thread.
    CHostilePeer(const QString& address, quint16 port, Behaviour behaviour, int atRequest);
    ~CHostilePeer();
    CHostilePeer(const CHostilePeer&) = delete;
    CHostilePeer& operator=(const CHostilePeer&) = delete;

    bool Ready() const { return m_bReady; }
    // Waits until the peer's session is over; true when the client closed its end of the
    // connection (a reset by the peer itself counts as closed).
    bool WaitForClientGone(int timeoutMs);

private:
    void Serve(const QString& address, quint16 port, std::promise<bool> listening);

    const Behaviour m_behaviour;
    const int m_atRequest;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bClientGone{false};
    std::atomic<bool> m_bDone{false};
    bool m_bReady = false;
    std::thread m_thread;
};
