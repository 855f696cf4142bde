// The timed connection: connect failures, the 32-bit tick rule, and what a blocking wait lets
// through (timers) and holds back (input); the time-outs of each phase are in the run tests.
#include "FakeRadio.h"

#include "engine/TimedSocket.h"
#include "engine/UpdateProtocol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTcpServer>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

TEST(TimedSocket, TimeoutRuleIsUnsignedAndEqualDoesNotCancel)
{
    EXPECT_FALSE(CTimedSocket::IsPastTimeout(1100, 1000, 100));
    EXPECT_TRUE(CTimedSocket::IsPastTimeout(1101, 1000, 100));
    // Across the wrap to 0: 0xFFFFFFF0 to 0x10 is 32 ms.
    EXPECT_FALSE(CTimedSocket::IsPastTimeout(0x10, 0xFFFFFFF0u, 32));
    EXPECT_TRUE(CTimedSocket::IsPastTimeout(0x11, 0xFFFFFFF0u, 32));
}

TEST(TimedSocket, ConnectFailures)
{
    CTimedSocket socket;
    EXPECT_EQ(socket.SetTimeout(20000), 10000); // the time-out until a run sets its own
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(socket.Connect(QStringLiteral("127.0.0.20"), UPDATE_PORT)); // nobody listens
    EXPECT_EQ(socket.LastError(), CTimedSocket::Error::ConnectFailed);
    EXPECT_FALSE(socket.Connect(QString(), UPDATE_PORT));
    EXPECT_EQ(socket.LastError(), CTimedSocket::Error::HostNotFound);
    // Both fail at once rather than at the time-out.
    EXPECT_LT(clock.elapsed(), 10000);
    char buffer[8];
    EXPECT_EQ(socket.Send(buffer, 8), -1);
    EXPECT_EQ(socket.LastError(), CTimedSocket::Error::NotConnected);
}

TEST(TimedSocket, ConnectsByHostName)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    CTimedSocket socket;
    socket.SetTimeout(3000);
    EXPECT_TRUE(socket.Connect(QStringLiteral("localhost"), server.serverPort()));
}

// Counts the key presses that reach it.
class KeySink : public QObject {
public:
    int keys = 0;
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress)
            ++keys;
        return QObject::event(e);
    }
};

TEST(TimedSocket, WaitRunsTimersAndHoldsInputBack)
{
    // The radio answers 250 ms after the timer has run (waited for, bounded): the timer is then
    // certain to run inside the wait, and the wait goes on a while with the key pressed.
    std::atomic<bool> timerDone{false};
    CFakeRadio radio("127.0.0.24", [&timerDone](int, const FakeRequest&) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!timerDone && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        FakeAnswer a = FakeAnswer::Status(' ');
        a.delayMs = 250;
        return a;
    });
    CTimedSocket socket;
    socket.SetTimeout(3000);
    ASSERT_TRUE(socket.Connect(QStringLiteral("127.0.0.24"), UPDATE_PORT));
    char request[8] = {0x10, 3};
    ASSERT_EQ(socket.Send(request, 8), 8);

    KeySink sink;
    bool timerFired = false;
    qint64 nestedResult = 0;
    CTimedSocket::Error nestedError = CTimedSocket::Error::None;
    QTimer::singleShot(30, [&] {
        timerFired = true;
        QCoreApplication::postEvent(&sink, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
        // A handler run inside the wait must not start another call on the same socket.
        nestedResult = socket.Send(request, 8);
        nestedError = socket.LastError();
        timerDone = true;
    });
    char reply[REPLY_BUFFER_SIZE];
    EXPECT_EQ(socket.Receive(reply, sizeof reply), 2);
    EXPECT_TRUE(timerFired);
    EXPECT_EQ(sink.keys, 0);
    EXPECT_EQ(nestedResult, -1);
    EXPECT_EQ(nestedError, CTimedSocket::Error::InProgress);
    QCoreApplication::processEvents();
    EXPECT_EQ(sink.keys, 1);
}

TEST(TimedSocket, CancelledCallFailsAsInterrupted)
{
    CFakeRadio radio("127.0.0.25", [](int, const FakeRequest&) { return FakeAnswer::Silent(); });
    CTimedSocket socket;
    socket.SetTimeout(20000);
    ASSERT_TRUE(socket.Connect(QStringLiteral("127.0.0.25"), UPDATE_PORT));
    char request[8] = {0x10, 3};
    ASSERT_EQ(socket.Send(request, 8), 8);
    QTimer::singleShot(50, [&] { socket.CancelBlockingCall(); });
    QElapsedTimer clock;
    clock.start();
    char reply[REPLY_BUFFER_SIZE];
    EXPECT_EQ(socket.Receive(reply, sizeof reply), -1);
    EXPECT_EQ(socket.LastError(), CTimedSocket::Error::Interrupted);
    // Ended by the cancel, long before the time-out.
    EXPECT_LT(clock.elapsed(), 10000);
}

} // namespace
