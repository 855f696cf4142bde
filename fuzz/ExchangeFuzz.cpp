// The radio's replies to single exchanges: any bytes, cut into any segments, late, busy,
// silent, closed or reset, answered by a scripted peer in this process that runs inside the
// connection's clock.
#include "FuzzInput.h"
#include "ScriptedPeer.h"

#include "engine/TimedSocket.h"
#include "engine/UpdateProtocol.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstring>

namespace {

// The connection's own time-out: the peer's gaps and silences move the clock instead of
// being waited out, so its length costs nothing.
constexpr int kExchangeTimeoutMs = CTimedSocket::DEFAULT_TIMEOUT_MS;
// Busy resends go at once: the pause is for a real radio, and the peer needs none.
constexpr int kBusyDelayMs = 0;
constexpr int kMaxExchanges = 4;
const quint8 kCommands[] = {CMD_BEGIN, CMD_DATA, CMD_PROGRAM};

CScriptedPeer* g_peer = nullptr;
char g_block[BLOCK_SIZE];

// Whether the peer received exactly what was asked for, header and payload.
bool IsRequest(const QByteArray& request, quint8 command, int length)
{
    return request.size() == REQUEST_HEADER_SIZE + length && quint8(request[0]) == REQUEST_MARKER &&
           quint8(request[1]) == command && quint8(request[2]) == (length & 0xFF) &&
           quint8(request[3]) == (length >> 8) &&
           std::memcmp(request.constData() + REQUEST_HEADER_SIZE, g_block, size_t(length)) == 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Kept for the life of the process: the socket's waits dispatch events of this thread.
    new QCoreApplication(*argc, *argv);
    g_peer = new CScriptedPeer("127.0.0.231", kExchangeTimeoutMs);
    for (int i = 0; i < BLOCK_SIZE; ++i)
        g_block[i] = char(i * 7 + 3);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FUZZ_CHECK(g_peer->Port() != 0);
    CFuzzInput input(data, size);
    const int exchanges = input.Range(1, kMaxExchanges);
    quint8 commands[kMaxExchanges];
    int lengths[kMaxExchanges];
    ReplyKind kinds[kMaxExchanges];
    for (int i = 0; i < exchanges; ++i) {
        commands[i] = kCommands[input.Byte() % std::size(kCommands)];
        lengths[i] = commands[i] == CMD_DATA ? input.Range(0, BLOCK_SIZE) : 0;
        kinds[i] = input.Bool() ? ReplyKind::StatusAndEcho : ReplyKind::Status;
    }
    g_peer->Start(input.Rest());

    int attempted = 0;
    {
        CTimedSocket socket([] { return g_peer->Tick(); });
        socket.SetTimeout(kExchangeTimeoutMs);
        FUZZ_CHECK(socket.Connect(g_peer->Address(), g_peer->Port()));
        char request[REQUEST_BUFFER_SIZE];
        char reply[REPLY_BUFFER_SIZE];
        bool accepted = true;
        while (accepted && attempted < exchanges) {
            const int i = attempted++;
            accepted = ExchangeRequest(socket, commands[i], request, reply, g_block, lengths[i], kinds[i],
                                       kBusyDelayMs);
            FUZZ_CHECK(!accepted || IsAcceptedStatus(quint8(reply[REPLY_STATUS_OFFSET])));
            FUZZ_CHECK(!socket.IsBlocking());
        }
    }

    // Busy resends repeat their request, so what the peer got runs through the exchanges in order.
    int exchange = 0;
    for (const QByteArray& request : g_peer->Finish()) {
        while (exchange < attempted && !IsRequest(request, commands[exchange], lengths[exchange]))
            ++exchange;
        FUZZ_CHECK(exchange < attempted);
    }
    return 0;
}
