// How late the timed connection gives up after its time-out: a listener on loopback that never
// accepts (the system completes the handshake, nobody answers), one request, then a receive
// that must end at its deadline. Prints the lateness of each attempt, its median and maximum.
// Usage: zfu-bench-timeout [ATTEMPTS] [TIMEOUT_MS] [ADDRESS]
#include "engine/TimedSocket.h"
#include "engine/UpdateProtocol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int attempts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const int timeoutMs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 300;
    const QString address = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("127.0.0.198");

    QTcpServer silent;
    if (!silent.listen(QHostAddress(address), 0)) {
        std::fprintf(stderr, "zfu-bench-timeout: cannot listen on %s\n", qPrintable(address));
        return 1;
    }
    std::vector<double> lateMs;
    char request[REQUEST_BUFFER_SIZE];
    char reply[REPLY_BUFFER_SIZE];
    for (int i = 0; i < attempts; ++i) {
        CTimedSocket socket;
        socket.SetTimeout(timeoutMs);
        const int size = BuildRequest(CMD_BEGIN, nullptr, 0, request);
        if (!socket.Connect(address, silent.serverPort()) || socket.Send(request, size) != size) {
            std::fprintf(stderr, "zfu-bench-timeout: no connection\n");
            return 1;
        }
        QElapsedTimer clock;
        clock.start();
        const qint64 received = socket.Receive(reply, sizeof reply);
        const double elapsed = clock.nsecsElapsed() / 1e6;
        if (received != -1 || socket.LastError() != CTimedSocket::Error::Interrupted) {
            std::fprintf(stderr, "zfu-bench-timeout: the receive did not time out\n");
            return 1;
        }
        lateMs.push_back(elapsed - timeoutMs);
        // Drops the handshaken connection from the listener's queue, so it never fills.
        delete silent.nextPendingConnection();
        silent.waitForNewConnection(0);
        while (QTcpSocket* queued = silent.nextPendingConnection())
            delete queued;
    }
    std::sort(lateMs.begin(), lateMs.end());
    std::printf("%d receives with a %d ms time-out against a listener that never answers\n", attempts, timeoutMs);
    std::printf("lateness after the deadline: min %.1f ms, median %.1f ms, max %.1f ms\n", lateMs.front(),
                lateMs[lateMs.size() / 2], lateMs.back());
    return 0;
}
