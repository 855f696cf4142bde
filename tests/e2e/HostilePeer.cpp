#include "HostilePeer.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <chrono>
#include <functional>
#include <memory>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

namespace {

// The longest the peer lives: a client that never lets go cannot hold the test.
constexpr int PEER_LIFE_MS = 15000;
// Each wait on the socket is this short, so a stop request is seen at once.
constexpr int SLICE_MS = 10;
constexpr int START_LIMIT_MS = 5000;
// Far past every phase's time-out, so that a run held up on a loaded machine still sees the
// answer incomplete when its time-out passes.
constexpr int TRICKLE_INTERVAL_MS = 3000;
constexpr int MEGABYTE = 1024 * 1024;
constexpr int FLOOD_CHUNK = 4096;
// The flood waits while this much is still queued: the client reads slower than we write.
constexpr qint64 FLOOD_QUEUE_LIMIT = 64 * 1024;
// Not a status the radio uses: a client that judges it must refuse it.
constexpr char FLOOD_BYTE = char(0xFF);

constexpr int HEADER_SIZE = 8;
constexpr int FIRST_DATA_REQUEST = 2;

// The radio's answer to request number `request`: accepted, with the echo of image bytes 4..7
// after the first data block.
QByteArray Answer(int request, const QByteArray& requestBytes)
{
    QByteArray answer("\x10 ", 2);
    if (request == FIRST_DATA_REQUEST)
        answer += requestBytes.mid(HEADER_SIZE + 4, 4);
    return answer;
}

} // namespace

CHostilePeer::CHostilePeer(const QString& address, quint16 port, Behaviour behaviour, int atRequest)
    : m_behaviour(behaviour), m_atRequest(atRequest)
{
    std::promise<bool> listening;
    std::future<bool> listens = listening.get_future();
    m_thread = std::thread(&CHostilePeer::Serve, this, address, port, std::move(listening));
    m_bReady = listens.wait_for(std::chrono::milliseconds(START_LIMIT_MS)) == std::future_status::ready
               && listens.get();
}

CHostilePeer::~CHostilePeer()
{
    m_bStop = true;
    m_thread.join();
}

bool CHostilePeer::WaitForClientGone(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!m_bDone && !deadline.hasExpired())
        QThread::msleep(1);
    return m_bClientGone;
}

void CHostilePeer::Serve(const QString& address, quint16 port, std::promise<bool> listening)
{
    const QDeadlineTimer life(PEER_LIFE_MS);
    const auto going = [&] { return !m_bStop && !life.hasExpired(); };
    QTcpServer server;
    if (!server.listen(QHostAddress(address), port)) {
        listening.set_value(false);
        m_bDone = true;
        return;
    }
    listening.set_value(true);
    if (m_behaviour == Behaviour::NeverAccept) {
        // The system completes the handshake on its own; nobody ever reads.
        while (going())
            QThread::msleep(SLICE_MS);
        m_bDone = true;
        return;
    }
    while (going() && !server.waitForNewConnection(SLICE_MS)) {
    }
    const std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
    if (!socket) {
        m_bDone = true;
        return;
    }
    server.close();

    // Holds the connection until the client closes it, calling `act` between slices and
    // dropping whatever the client sends meanwhile.
    const auto hold = [&](const std::function<void()>& act) {
        while (going()) {
            act();
            if (socket->bytesToWrite() > 0)
                socket->waitForBytesWritten(SLICE_MS);
            else
                socket->waitForReadyRead(SLICE_MS);
            socket->readAll();
            if (socket->state() != QAbstractSocket::ConnectedState) {
                m_bClientGone = true;
                return;
            }
        }
    };

    QByteArray pending;
    QByteArray request;
    // The next whole request into `request`; false when the client has gone or time is up.
    const auto readRequest = [&] {
        while (going()) {
            if (pending.size() >= HEADER_SIZE) {
                const int length = quint8(pending[2]) | quint8(pending[3]) << 8;
                if (pending.size() >= HEADER_SIZE + length) {
                    request = pending.left(HEADER_SIZE + length);
                    pending.remove(0, HEADER_SIZE + length);
                    return true;
                }
            }
            socket->waitForReadyRead(SLICE_MS);
            pending += socket->readAll();
            if (socket->state() != QAbstractSocket::ConnectedState && socket->bytesAvailable() == 0) {
                m_bClientGone = true;
                return false;
            }
        }
        return false;
    };

    int number = 0;
    while (number < m_atRequest) {
        if (!readRequest()) {
            m_bDone = true;
            return;
        }
        if (++number < m_atRequest) {
            socket->write(Answer(number, request));
            socket->flush();
        }
    }

    switch (m_behaviour) {
    case Behaviour::Flood: {
        const QByteArray chunk(FLOOD_CHUNK, FLOOD_BYTE);
        hold([&] {
            if (socket->bytesToWrite() < FLOOD_QUEUE_LIMIT)
                socket->write(chunk);
        });
        break;
    }
    case Behaviour::Trickle: {
        const QByteArray answer = Answer(number, request);
        int sent = 0;
        QDeadlineTimer next(0);
        hold([&] {
            if (sent < answer.size() && next.hasExpired()) {
                socket->write(answer.constData() + sent++, 1);
                socket->flush();
                next.setRemainingTime(TRICKLE_INTERVAL_MS);
            }
        });
        break;
    }
    case Behaviour::Reset: {
        // No lingering: closing sends a reset instead of an orderly end.
        linger noLinger{};
        noLinger.l_onoff = 1;
        noLinger.l_linger = 0;
        ::setsockopt(socket->socketDescriptor(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&noLinger),
                     sizeof noLinger);
        socket->abort();
        m_bClientGone = true;
        break;
    }
    case Behaviour::Megabyte: {
        QByteArray answer = Answer(number, request);
        answer.append(MEGABYTE - answer.size(), '\0');
        socket->write(answer);
        hold([] {});
        break;
    }
    case Behaviour::NeverAccept:
        break;
    }
    m_bDone = true;
}
