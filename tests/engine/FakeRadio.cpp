#include "FakeRadio.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <future>
#include <memory>

namespace {

// Every wait of the fake radio is bounded: a slice to look at the stop flag, and a whole life.
constexpr int SLICE_MS = 20;
constexpr qint64 LIFETIME_MS = 30000;

} // namespace

FakeAnswer FakeAnswer::Status(char status)
{
    FakeAnswer a;
    a.bytes = QByteArray(1, '\x10') + QByteArray(1, status);
    return a;
}

FakeAnswer CFakeRadio::Accepting(int, const FakeRequest& request, int dataIndex)
{
    FakeAnswer a = FakeAnswer::Status(' ');
    if (request.command == 0 && dataIndex == 1)
        a.bytes += request.payload.mid(4, 4);
    return a;
}

CFakeRadio::Script CFakeRadio::AcceptAll()
{
    auto dataCount = std::make_shared<int>(0);
    return [dataCount](int index, const FakeRequest& request) {
        if (request.command == 3)
            *dataCount = 0;
        if (request.command == 0)
            ++*dataCount;
        return Accepting(index, request, *dataCount);
    };
}

CFakeRadio::CFakeRadio(const QString& address, Script script, quint16 port)
    : m_address(address), m_port(port), m_script(std::move(script))
{
    std::promise<void> ready;
    std::future<void> started = ready.get_future();
    m_thread = std::thread([this, &ready] {
        QTcpServer server;
        m_listening = server.listen(QHostAddress(m_address), m_port);
        ready.set_value();
        if (!m_listening)
            return;
        QElapsedTimer life;
        life.start();
        while (!m_stop && life.elapsed() < LIFETIME_MS) {
            if (!server.waitForNewConnection(SLICE_MS))
                continue;
            std::unique_ptr<QTcpSocket> socket(server.nextPendingConnection());
            ++m_connections;
            QByteArray pending;
            int index = 0;
            bool open = true;
            while (open && !m_stop && life.elapsed() < LIFETIME_MS) {
                if (socket->bytesAvailable() == 0 && !socket->waitForReadyRead(SLICE_MS)) {
                    if (socket->state() != QAbstractSocket::ConnectedState)
                        break;
                    continue;
                }
                pending += socket->readAll();
                while (open && pending.size() >= 8) {
                    const int length = quint8(pending[2]) | (quint8(pending[3]) << 8);
                    if (pending.size() < 8 + length)
                        break;
                    FakeRequest request{quint8(pending[1]), pending.mid(8, length), life.elapsed()};
                    pending.remove(0, 8 + length);
                    {
                        std::lock_guard<std::mutex> lock(m_mutex);
                        m_requests.push_back(request);
                    }
                    const FakeAnswer answer = m_script(index++, request);
                    if (answer.kind == FakeAnswer::Kind::Close) {
                        socket->abort();
                        open = false;
                        break;
                    }
                    if (answer.kind == FakeAnswer::Kind::Silent)
                        continue;
                    if (answer.delayMs > 0)
                        QThread::msleep(answer.delayMs);
                    if (answer.splitGapMs < 0) {
                        socket->write(answer.bytes);
                        socket->waitForBytesWritten(SLICE_MS);
                    } else {
                        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
                        for (qsizetype i = 0; i < answer.bytes.size(); ++i) {
                            if (i > 0)
                                QThread::msleep(answer.splitGapMs);
                            socket->write(answer.bytes.constData() + i, 1);
                            socket->waitForBytesWritten(SLICE_MS);
                        }
                    }
                    if (!answer.later.isEmpty()) {
                        QThread::msleep(answer.laterMs);
                        socket->write(answer.later);
                        while (socket->bytesToWrite() > 0 && socket->waitForBytesWritten(SLICE_MS)) {
                        }
                        // On loopback, bytes the system has taken are the peer's to read.
                        if (socket->bytesToWrite() == 0)
                            ++m_laterSent;
                    }
                    if (answer.closeAfter) {
                        socket->disconnectFromHost();
                        open = false;
                    }
                }
            }
        }
    });
    started.wait();
}

CFakeRadio::~CFakeRadio()
{
    m_stop = true;
    m_thread.join();
}

std::vector<FakeRequest> CFakeRadio::Requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}
