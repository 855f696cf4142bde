// Whole update runs against a scripted radio in this process, inside the run's clock, that
// answers every request as the fuzz input says. Whatever the radio does, the run ends with
// everything released, and a run that reports success has delivered the whole image, in
// order, before the program command. The radio makes each connection itself and the run adopts
// it: a connect through the socket layer would cost more than most runs.
#include "FuzzInput.h"
#include "ScriptedPeer.h"

#include "base/MessageCatalog.h"
#include "engine/UpdateReporter.h"
#include "engine/UpdateRun.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>

namespace {

// One block, one byte more, whole blocks, a remainder, and past the tenth progress step.
constexpr qint64 kImageSizes[] = {1024, 1025, 2048, 3000, 11 * 1024 + 5};

// The peer's gaps and silences move the run's clock instead of being waited out, so the
// time-outs cost nothing; the program phase waits as long as the transfer, which the peer's
// gaps are measured against.
constexpr int kReplyTimeoutMs = 10000;

UpdateTimeouts FuzzTimeouts()
{
    UpdateTimeouts timeouts;
    timeouts.transferMs = kReplyTimeoutMs;
    timeouts.programMs = kReplyTimeoutMs;
    // Busy resends go at once: the pause is for a real radio, and the peer needs none.
    timeouts.busyDelayMs = 0;
    return timeouts;
}

// Checks the order of the calls as they come and remembers what the end needs.
class CCheckingReporter : public IUpdateReporter {
public:
    explicit CCheckingReporter(quint64 imageSize) : m_imageSize(imageSize) {}

    void AppendMessageLine(const QString&) override {}
    void EnableInputControls(bool enable) override
    {
        m_inputsEnabled = enable;
    }
    void StartTransferProgress(int blocks) override
    {
        FUZZ_CHECK(quint64(blocks) == m_imageSize / BLOCK_SIZE);
        m_progressBlocks = blocks;
    }
    void StepTransferProgress() override
    {
        FUZZ_CHECK(++m_steps <= m_progressBlocks / 10 + 1);
    }
    void StartWaitAnimation() override
    {
        FUZZ_CHECK(m_sent == m_imageSize);
        m_animating = true;
    }
    void StopWaitAnimation() override { m_animating = false; }
    void ShowErrorBox(const QString& text) override
    {
        FUZZ_CHECK(!text.isEmpty());
        ++m_errorBoxes;
    }
    void ShowFileError(const QString&) override { FUZZ_CHECK(false); }
    void FocusEditAtEnd(InputField) override {}
    void SetActiveConnection(bool active) override { m_active = active; }
    void OnDataSent(quint64 bytesSent, quint64 totalBytes) override
    {
        // Only the empty request after a whole number of blocks reports the same count again.
        FUZZ_CHECK(totalBytes == m_imageSize && bytesSent <= totalBytes);
        FUZZ_CHECK(bytesSent > m_sent || bytesSent == totalBytes);
        m_sent = bytesSent;
    }

    void CheckEnd(UpdateResult result) const
    {
        FUZZ_CHECK(m_inputsEnabled && !m_active && !m_animating);
        FUZZ_CHECK(m_errorBoxes == (result == UpdateResult::Updated ? 0 : 1));
        FUZZ_CHECK(result != UpdateResult::Updated || m_sent == m_imageSize);
        FUZZ_CHECK(result != UpdateResult::FileUnusable && ExitCodeFor(result) != 1);
    }

private:
    quint64 m_imageSize;
    quint64 m_sent = 0;
    int m_progressBlocks = -1;
    int m_steps = 0;
    int m_errorBoxes = 0;
    bool m_inputsEnabled = false;
    bool m_active = false;
    bool m_animating = false;
};

// The last request of each command in the order the radio saw them, busy resends dropped.
void CheckDelivered(const std::vector<QByteArray>& received, const QByteArray& image)
{
    QByteArray delivered;
    bool begun = false;
    const QByteArray* previous = nullptr;
    for (const QByteArray& request : received) {
        // A resend repeats the request before it; it adds nothing to what was delivered.
        if (previous && *previous == request)
            continue;
        previous = &request;
        switch (quint8(request[1])) {
        case CMD_BEGIN:
            FUZZ_CHECK(!begun && request.size() == REQUEST_HEADER_SIZE);
            begun = true;
            break;
        case CMD_DATA:
            FUZZ_CHECK(begun);
            delivered += request.mid(REQUEST_HEADER_SIZE);
            break;
        case CMD_PROGRAM:
            FUZZ_CHECK(delivered == image);
            break;
        default:
            FUZZ_CHECK(false);
        }
    }
}

CScriptedPeer* g_peer = nullptr;
QByteArray g_images[std::size(kImageSizes)];

// One whole run against the peer playing `script`, checked on the way and at the end.
UpdateResult RunAgainst(const QByteArray& image, QByteArray script)
{
    g_peer->Start(std::move(script));
    CCheckingReporter reporter(quint64(image.size()));
    CUpdateRun run(reporter, LanguageEnglishUs, FuzzTimeouts());
    UpdateResult result;
    {
        CTimedSocket socket([] { return g_peer->Tick(); });
        const qintptr client = g_peer->Connect();
        if (client < 0)
            std::perror("scripted peer: connect");
        FUZZ_CHECK(client >= 0 && socket.Adopt(client));
        result = run.RunConnected(socket, image);
        FUZZ_CHECK(!socket.IsConnected());
    }
    reporter.CheckEnd(result);

    const std::vector<QByteArray> received = g_peer->Finish();
    if (result == UpdateResult::Updated) {
        FUZZ_CHECK(!received.empty() && quint8(received.back()[1]) == CMD_PROGRAM);
        CheckDelivered(received, image);
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Kept for the life of the process: the socket's waits dispatch events of this thread.
    new QCoreApplication(*argc, *argv);
    g_peer = new CScriptedPeer("127.0.0.232", kReplyTimeoutMs);
    FUZZ_CHECK(g_peer->Port() != 0);
    for (size_t i = 0; i < std::size(kImageSizes); ++i) {
        QByteArray& image = g_images[i];
        image.resize(kImageSizes[i]);
        for (qsizetype k = 0; k < image.size(); ++k)
            image[k] = char((k * 131 + k / 251) & 0xFF);
    }
    // A radio that accepts every request in one segment (begin, two blocks, the empty remainder,
    // program) gets the image: were the harness to lose bytes, every input would fail alike and
    // the checks would pass for nothing.
    FUZZ_CHECK(RunAgainst(g_images[2], QByteArray("\x02\x00", 2).repeated(5)) == UpdateResult::Updated);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    const size_t which = input.Byte() % std::size(kImageSizes);
    RunAgainst(g_images[which], input.Rest());
    return 0;
}
