#include "RadioScan.h"

#include "engine/RadioAddress.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkProxy>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <vector>

namespace {

// Connections tried at once: a /22 in four rounds of the time-out, well under the usual limit
// of 1024 descriptors.
constexpr int SCAN_PARALLEL = 256;
// How often attempts past their time-out are ended and the stop is looked at.
constexpr int SCAN_TICK_MS = 20;

} // namespace

ScanNetworkParse ParseScanNetwork(const QString& text, quint32& firstHost, quint32& lastHost)
{
    const qsizetype slash = text.indexOf(u'/');
    if (slash <= 0)
        return ScanNetworkParse::Malformed;
    QHostAddress network;
    bool ok = false;
    const int prefix = text.mid(slash + 1).toInt(&ok, 10);
    // Four decimal parts only: the short, octal and hex forms name another network than they seem to.
    if (ClassifyAddressText(text.left(slash)) != AddressText::DottedQuad || !network.setAddress(text.left(slash))
        || !ok || prefix < 0 || prefix > 32)
        return ScanNetworkParse::Malformed;
    if (prefix < MIN_SCAN_PREFIX)
        return ScanNetworkParse::TooLarge;
    const quint32 mask = prefix == 0 ? 0 : ~quint32(0) << (32 - prefix);
    const quint32 base = network.toIPv4Address() & mask;
    const quint32 last = base | ~mask;
    if (prefix >= 31) {
        firstHost = base;
        lastHost = last;
    } else {
        firstHost = base + 1;
        lastHost = last - 1;
    }
    return ScanNetworkParse::Ok;
}

QList<QHostAddress> ScanForRadios(quint32 firstHost, quint32 lastHost, quint16 port, int connectTimeoutMs,
                                  const std::atomic<bool>& stop)
{
    struct Attempt {
        quint32 host;
        std::unique_ptr<QTcpSocket> socket;
        QElapsedTimer clock;
    };
    std::vector<bool> accepted(size_t(lastHost - firstHost) + 1, false);
    std::vector<std::unique_ptr<Attempt>> open;
    quint64 next = firstHost;
    QEventLoop loop;
    QTimer tick;

    const auto startMore = [&] {
        while (!stop.load() && open.size() < SCAN_PARALLEL && next <= lastHost) {
            auto attempt = std::make_unique<Attempt>();
            attempt->host = quint32(next++);
            attempt->socket = std::make_unique<QTcpSocket>();
            attempt->socket->setProxy(QNetworkProxy::NoProxy);
            Attempt* a = attempt.get();
            // Connected: noted and closed at once, before a byte could go either way.
            QObject::connect(a->socket.get(), &QTcpSocket::connected, &loop, [&, a] {
                accepted[a->host - firstHost] = true;
                a->socket->abort();
            });
            a->clock.start();
            a->socket->connectToHost(QHostAddress(a->host), port);
            open.push_back(std::move(attempt));
        }
    };
    const auto sweep = [&] {
        for (auto it = open.begin(); it != open.end();) {
            QTcpSocket* socket = (*it)->socket.get();
            const bool done = socket->state() == QAbstractSocket::UnconnectedState;
            if (done || stop.load() || (*it)->clock.elapsed() > connectTimeoutMs) {
                socket->disconnect();
                socket->abort();
                // Deleted from the tick, never from inside one of the socket's own signals.
                it = open.erase(it);
            } else {
                ++it;
            }
        }
        startMore();
        if (open.empty())
            loop.quit();
    };
    QObject::connect(&tick, &QTimer::timeout, &loop, sweep);
    tick.start(SCAN_TICK_MS);
    startMore();
    if (!open.empty())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    QList<QHostAddress> found;
    for (size_t i = 0; i < accepted.size(); ++i) {
        if (accepted[i])
            found << QHostAddress(firstHost + quint32(i));
    }
    return found;
}
