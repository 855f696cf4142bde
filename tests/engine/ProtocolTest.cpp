// Request bytes, reply judging and single exchanges against a scripted radio.
#include "FakeRadio.h"
#include "common/TestSupport.h"

#include "engine/TimedSocket.h"
#include "engine/UpdateProtocol.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <vector>

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

TEST(Protocol, RequestBytes)
{
    char request[REQUEST_BUFFER_SIZE];
    ASSERT_EQ(BuildRequest(CMD_BEGIN, nullptr, 0, request), 8);
    EXPECT_EQ(QByteArray(request, 8), Bytes({0x10, 0x03, 0, 0, 0, 0, 0, 0}));
    ASSERT_EQ(BuildRequest(CMD_PROGRAM, nullptr, 0, request), 8);
    EXPECT_EQ(QByteArray(request, 8), Bytes({0x10, 0x02, 0, 0, 0, 0, 0, 0}));

    const QByteArray block(1024, 'x');
    ASSERT_EQ(BuildRequest(CMD_DATA, block.constData(), 1024, request), 1032);
    EXPECT_EQ(QByteArray(request, 8), Bytes({0x10, 0x00, 0x00, 0x04, 0, 0, 0, 0}));
    EXPECT_EQ(QByteArray(request + 8, 1024), block);

    ASSERT_EQ(BuildRequest(CMD_DATA, block.constData(), 952, request), 960);
    EXPECT_EQ(QByteArray(request, 4), Bytes({0x10, 0x00, 0xB8, 0x03}));
    // The empty last block of a whole number of blocks.
    ASSERT_EQ(BuildRequest(CMD_DATA, block.constData(), 0, request), 8);
    EXPECT_EQ(QByteArray(request, 8), QByteArray(1, '\x10') + QByteArray(7, '\0'));
}

TEST(Protocol, ReplyCompletenessAndEcho)
{
    const char accepted[] = {0x10, ' ', 4, 5, 6, 7};
    const char busy[] = {0x10, '@'};
    EXPECT_FALSE(IsReplyComplete(accepted, 1, ReplyKind::Status));
    EXPECT_TRUE(IsReplyComplete(accepted, 2, ReplyKind::Status));
    EXPECT_FALSE(IsReplyComplete(accepted, 5, ReplyKind::StatusAndEcho));
    EXPECT_TRUE(IsReplyComplete(accepted, 6, ReplyKind::StatusAndEcho));
    // A busy or refusing answer carries no echo; waiting for one would only time out.
    EXPECT_TRUE(IsReplyComplete(busy, 2, ReplyKind::StatusAndEcho));

    const char image[] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_TRUE(EchoMatches(accepted, image));
    const char other[] = {0x10, ' ', 4, 5, 6, 8};
    EXPECT_FALSE(EchoMatches(other, image));
}

// A connected socket and the buffers of one exchange against `radio` at `address`.
struct Exchange {
    explicit Exchange(const QString& address, int timeoutMs = 2000)
    {
        socket.SetTimeout(timeoutMs);
        connected = socket.Connect(address, UPDATE_PORT);
    }
    bool Run(quint8 command, const QByteArray& data = {}, ReplyKind kind = ReplyKind::Status)
    {
        return ExchangeRequest(socket, command, request, reply, data.isNull() ? nullptr : data.constData(),
                               int(data.size()), kind);
    }
    quint8 Status() const { return quint8(reply[REPLY_STATUS_OFFSET]); }

    CTimedSocket socket;
    char request[REQUEST_BUFFER_SIZE] = {};
    char reply[REPLY_BUFFER_SIZE] = {};
    bool connected = false;
};

// Every status byte in one table: 0x20 and 0x21 accept, 0x40 is busy (the same request goes
// again, here answered 0x20), every other value refuses and stays in the reply.
TEST(Exchange, EveryStatusByte)
{
    std::vector<char> answers;
    for (int status = 0; status < 256; ++status) {
        answers.push_back(char(status));
        if (status == 0x40)
            answers.push_back(0x20);
    }
    CFakeRadio radio("127.0.0.14", [answers](int index, const FakeRequest&) {
        return FakeAnswer::Status(answers[size_t(index) % answers.size()]);
    });
    Exchange x("127.0.0.14");
    ASSERT_TRUE(x.connected);
    for (int status = 0; status < 256; ++status) {
        const bool accepted = status == 0x20 || status == 0x21 || status == 0x40;
        EXPECT_EQ(x.Run(CMD_BEGIN), accepted) << "status " << status;
        EXPECT_EQ(x.Status(), status == 0x40 ? 0x20 : status) << "status " << status;
    }
    EXPECT_EQ(radio.Requests().size(), 257u);
}

// Busy replies: after 30 the same request still goes once more; the 31st ends the exchange.
// The count starts again with each exchange, and a busy radio is asked again after 10 ms.
TEST(Exchange, ThirtyBusyRepliesAreWaitedOutAndTheThirtyFirstFails)
{
    CFakeRadio radio("127.0.0.11", [](int index, const FakeRequest&) {
        return FakeAnswer::Status(index < 30 || index >= 31 ? '@' : ' ');
    });
    Exchange x("127.0.0.11");
    ASSERT_TRUE(x.connected);
    const QByteArray block(1024, 'b');
    EXPECT_TRUE(x.Run(CMD_DATA, block));
    auto requests = radio.Requests();
    ASSERT_EQ(requests.size(), 31u);
    for (const FakeRequest& r : requests)
        EXPECT_EQ(r.payload, block); // the same request each time
    EXPECT_GE(requests.back().atMs - requests.front().atMs, 30 * 10);

    EXPECT_FALSE(x.Run(CMD_BEGIN));
    EXPECT_EQ(x.Status(), 0x40);
    EXPECT_EQ(radio.Requests().size(), 31u + 31u);
}

TEST(Exchange, ReplyInSingleByteSegmentsIsReassembled)
{
    CFakeRadio radio("127.0.0.13", [](int, const FakeRequest& r) {
        FakeAnswer a = FakeAnswer::Status(' ');
        a.bytes += r.payload.mid(4, 4);
        a.splitGapMs = 15;
        return a;
    });
    Exchange x("127.0.0.13");
    ASSERT_TRUE(x.connected);
    const QByteArray block = QByteArray("\0\0\0\0WXYZ", 8).leftJustified(1024, '.');
    ASSERT_TRUE(x.Run(CMD_DATA, block, ReplyKind::StatusAndEcho));
    EXPECT_EQ(QByteArray(x.reply + 2, 4), QByteArray("WXYZ"));
}

TEST(Exchange, PeerClosingBeforeTheStatusLeavesItZero)
{
    {
        CFakeRadio radio("127.0.0.15", [](int, const FakeRequest&) { return FakeAnswer::Close(); });
        Exchange x("127.0.0.15");
        ASSERT_TRUE(x.connected);
        EXPECT_FALSE(x.Run(CMD_BEGIN));
        EXPECT_EQ(x.Status(), 0);
    }
    // One byte and then the close.
    CFakeRadio second("127.0.0.15", [](int, const FakeRequest&) {
        FakeAnswer a;
        a.bytes = QByteArray(1, '\x10');
        a.closeAfter = true;
        return a;
    });
    ASSERT_TRUE(second.Listening());
    Exchange y("127.0.0.15");
    ASSERT_TRUE(y.connected);
    EXPECT_FALSE(y.Run(CMD_PROGRAM));
    EXPECT_EQ(y.Status(), 0);
}

TEST(Exchange, TricklingPeerCannotStretchTheTimeout)
{
    // Six bytes, one every 150 ms: whole after 750 ms, but the time-out is 200 ms from the start.
    CFakeRadio radio("127.0.0.16", [](int, const FakeRequest& r) {
        FakeAnswer a = FakeAnswer::Status(' ');
        a.bytes += r.payload.mid(4, 4);
        a.splitGapMs = 150;
        return a;
    });
    Exchange x("127.0.0.16", 200);
    ASSERT_TRUE(x.connected);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(x.Run(CMD_DATA, QByteArray(1024, 'a'), ReplyKind::StatusAndEcho));
    EXPECT_LT(clock.elapsed(), 700);
    EXPECT_EQ(x.Status(), 0x42); // "B", written in place of the reply that did not come
}

TEST(Exchange, LateBytesAreNotTakenForTheNextReply)
{
    CFakeRadio radio("127.0.0.17", [](int index, const FakeRequest&) {
        if (index == 0) {
            FakeAnswer a = FakeAnswer::Status(' ');
            a.later = QByteArray("\x10 \x10 ");
            a.laterMs = 20;
            return a;
        }
        return FakeAnswer::Status('E');
    });
    Exchange x("127.0.0.17");
    ASSERT_TRUE(x.connected);
    ASSERT_TRUE(x.Run(CMD_BEGIN));
    // The stray bytes wait at this end before the next request goes.
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return radio.LaterSent() == 1; }, 10000));
    EXPECT_FALSE(x.Run(CMD_DATA, QByteArray(1024, 'a')));
    EXPECT_EQ(x.Status(), 'E');
}

} // namespace
