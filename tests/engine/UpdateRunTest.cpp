// Whole update runs against a scripted radio: the exact requests for several image sizes, every
// outcome with its texts, exit status and phase time-out, and the files that are refused.
#include "FakeRadio.h"
#include "common/TestSupport.h"

#include "base/Language.h"
#include "base/MessageCatalog.h"
#include "base/SystemErrorText.h"
#include "engine/FirmwareImage.h"
#include "engine/UpdateReporter.h"
#include "base/Platform.h"
#include "engine/UpdateRun.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <memory>
#include <utility>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A tick for the run that moves on at each reading. The line that opens a phase sets the pace
// to a fortieth of that phase's documented time-out, so a wait of any length takes a few dozen
// readings. It starts close to the 32-bit wrap, which comes while the radio programs.
struct SteppingClock {
    quint32 now = 0xFFFFFFFFu - 100000;
    quint32 step = 1;
    quint32 Read() { return now += step; }
};

// Writes down every call of the run, in order; with a clock, also how long the run waited
// after its last event before it failed.
class RecordingReporter : public IUpdateReporter {
public:
    explicit RecordingReporter(SteppingClock* clock = nullptr) : m_clock(clock) {}
    QStringList events;
    qint64 waited = -1;
    void AppendMessageLine(const QString& text) override
    {
        if (m_clock) {
            for (const auto& [id, timeoutMs] : {std::pair{1309, 3000}, {1302, 10000}, {1301, 180000}}) {
                if (text == LoadText(quint16(id), LanguageEnglishUs))
                    m_clock->step = quint32(timeoutMs / 40);
            }
        }
        Log("line:" + text);
    }
    void AppendFailureLine(const QString& text) override
    {
        if (m_clock)
            waited = qint64(quint32(m_clock->now - m_mark));
        Log("line:" + text);
    }
    void EnableInputControls(bool enable) override { Log(QStringLiteral("enable:%1").arg(enable)); }
    void StartTransferProgress(int n) override { Log(QStringLiteral("progress:%1").arg(n)); }
    void StepTransferProgress() override { Log("step"); }
    void StartWaitAnimation() override { Log("anim:start"); }
    void StopWaitAnimation() override { events << "anim:stop"; } // after the wait, not before it
    void ShowErrorBox(const QString& text) override { Log("box:" + text); }
    void ShowFileError(const QString& text) override { Log("file:" + text); }
    void FocusEditAtEnd(InputField f) override { Log(f == InputField::FileName ? "focus:file" : "focus:address"); }
    void SetActiveConnection(bool active) override { Log(QStringLiteral("active:%1").arg(active)); }
    void OnDataSent(quint64, quint64) override { Mark(); }

    QStringList Lines() const { return events.filter(QRegularExpression("^line:")); }
    int Count(const QString& e) const { return int(events.count(e)); }

private:
    void Mark() { m_mark = m_clock ? m_clock->now : 0; }
    void Log(const QString& event)
    {
        events << event;
        Mark();
    }
    SteppingClock* m_clock;
    quint32 m_mark = 0;
};

QString Text(quint16 id)
{
    return LoadText(id, LanguageEnglishUs);
}

QString WriteImage(const QString& name, qint64 size)
{
    return TestSupport::WriteRandomFile(name, size);
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// Shorter than the documented ones, yet ample for a loaded machine: these runs never wait one out.
UpdateTimeouts Short()
{
    UpdateTimeouts t;
    t.connectMs = 10000;
    t.transferMs = 10000;
    t.programMs = 10000;
    return t;
}

struct SizeCase {
    qint64 size;
    const char* address;
    bool pasted = false; // the path in quotes, the address in blanks, as a paste brings them
};

void PrintTo(const SizeCase& c, std::ostream* os)
{
    *os << c.size << " bytes at " << c.address;
}

class RunSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(RunSizes, SendsExactlyTheImageInBlocks)
{
    const SizeCase c = GetParam();
    CFakeRadio radio(c.address);
    ASSERT_TRUE(radio.Listening());
    const QString path = WriteImage(QStringLiteral("image-%1.dat").arg(c.size), c.size);
    const QByteArray image = ReadAll(path);
    RecordingReporter reporter;
    CUpdateRun run(reporter, LanguageEnglishUs, Short());
    ASSERT_EQ(run.Run(c.pasted ? " \"" + path + "\" " : path, c.pasted ? QStringLiteral(" %1\t").arg(c.address) : c.address),
              UpdateResult::Updated);

    const qint64 fullBlocks = c.size / 1024;
    const auto requests = radio.Requests();
    ASSERT_EQ(qint64(requests.size()), 1 + fullBlocks + 1 + 1);
    EXPECT_EQ(requests.front().command, CMD_BEGIN);
    EXPECT_TRUE(requests.front().payload.isEmpty());
    for (qint64 i = 0; i < fullBlocks; ++i) {
        EXPECT_EQ(requests[size_t(1 + i)].command, CMD_DATA);
        EXPECT_EQ(requests[size_t(1 + i)].payload, image.mid(i * 1024, 1024)) << "block " << i;
    }
    const FakeRequest& last = requests[size_t(1 + fullBlocks)];
    EXPECT_EQ(last.command, CMD_DATA);
    EXPECT_EQ(last.payload, image.mid(fullBlocks * 1024)); // empty for a whole number of blocks
    EXPECT_EQ(requests.back().command, CMD_PROGRAM);

    EXPECT_EQ(reporter.Lines(), QStringList({"line:" + Text(1309), "line:" + Text(1300), "line:" + Text(1302),
                                             "line:" + Text(1303), "line:" + Text(1304), "line:" + Text(1301),
                                             "line:" + Text(1305)}));
    EXPECT_EQ(reporter.Count(QStringLiteral("progress:%1").arg(fullBlocks)), 1);
    // A step after blocks 10, 20, ... of the loop and one at the end fill the bar.
    EXPECT_EQ(reporter.Count("step"), int((fullBlocks - 1) / 10 + 1));
    EXPECT_EQ(reporter.events.mid(reporter.events.size() - 3),
              QStringList({"anim:stop", "active:0", "enable:1"}));
    EXPECT_EQ(reporter.events.filter(QRegularExpression("^(box|file):")).size(), 0);
}

INSTANTIATE_TEST_SUITE_P(Images, RunSizes,
                         ::testing::Values(SizeCase{1024, "127.0.0.30"}, SizeCase{1030, "127.0.0.31"},
                                           SizeCase{2048, "127.0.0.32", true}, SizeCase{3000, "127.0.0.33"},
                                           SizeCase{25 * 1024 + 7, "127.0.0.34"},
                                           SizeCase{1024 * 1024 + 100, "127.0.0.35"}),
                         [](const ::testing::TestParamInfo<SizeCase>& info) {
                             return "Bytes" + std::to_string(info.param.size);
                         });

// A listener whose queue is full: further connection requests get no answer at all.
struct UnansweredListener {
    explicit UnansweredListener(const QString& address)
    {
        server.setListenBacklogSize(0);
        server.setMaxPendingConnections(0); // and nobody takes them out of the queue
        listening = server.listen(QHostAddress(address), 1111);
        for (auto& filler : fillers)
            filler.connectToHost(address, 1111);
        // The queue is full once a filler's handshake is through; the others' go unanswered.
        queueFull = listening && TestSupport::WaitUntil([this] {
            return std::any_of(std::begin(fillers), std::end(fillers), [](const QTcpSocket& filler) {
                return filler.state() == QAbstractSocket::ConnectedState;
            });
        }, 10000);
    }
    QTcpServer server;
    QTcpSocket fillers[4];
    bool listening = false;
    bool queueFull = false;
};

// The usual radio, except that request `index` (the program command when -1) gets `answer`.
CFakeRadio::Script Except(int index, FakeAnswer answer)
{
    return [=, accept = CFakeRadio::AcceptAll()](int i, const FakeRequest& req) {
        return (index < 0 ? req.command == 2 : i == index) ? answer : accept(i, req);
    };
}

// Busy ("@") to the first `count` requests, then as usual.
CFakeRadio::Script BusyFirst(int count)
{
    return [count, accept = CFakeRadio::AcceptAll()](int i, const FakeRequest& req) {
        return i < count ? FakeAnswer::Status('@') : accept(i, req);
    };
}

FakeAnswer WrongEcho()
{
    FakeAnswer a = FakeAnswer::Status(' ');
    a.bytes += QByteArray("\x01\x02\x03\x04");
    return a;
}

struct OutcomeCase {
    const char* name;
    const char* address;
    CFakeRadio::Script radio; // null: nobody answers (a listener that never does, for a time-out)
    UpdateResult result;
    int exitStatus;    // as the command-line updater exits
    quint16 failure;   // pane line and box; 0 on success
    int requests;      // the radio received
    int timeoutMs = 0; // the phase that ends by its documented time-out
};

void PrintTo(const OutcomeCase& c, std::ostream* os)
{
    *os << c.name;
}

class RunOutcomes : public ::testing::TestWithParam<OutcomeCase> {};

// Each outcome with its text, its exit status and the requests it took, with the run's own
// time-outs read from a stepping clock: a silent phase ends just after its documented time-out.
TEST_P(RunOutcomes, TextExitStatusAndTimeout)
{
    const OutcomeCase& c = GetParam();
    std::unique_ptr<CFakeRadio> radio;
    std::unique_ptr<UnansweredListener> unanswered;
    if (c.radio)
        radio = std::make_unique<CFakeRadio>(c.address, c.radio);
    else if (c.timeoutMs > 0)
        unanswered = std::make_unique<UnansweredListener>(c.address);
    ASSERT_TRUE(radio ? radio->Listening() : !unanswered || unanswered->queueFull);

    SteppingClock clock;
    RecordingReporter r(&clock);
    CUpdateRun run(r, LanguageEnglishUs);
    run.SetTickSource([&clock] { return clock.Read(); });
    const UpdateResult result = run.Run(WriteImage(QStringLiteral("outcome.dat"), 5000), c.address);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(ExitCodeFor(result), c.exitStatus);
    // A request left unanswered is the radio thread's to record, however late it runs: the run's
    // stepping clock may have ended the wait first.
    if (radio) {
        TestSupport::WaitUntil([&] { return int(radio->Requests().size()) >= c.requests; }, 10000);
    }
    const auto requests = radio ? radio->Requests() : std::vector<FakeRequest>();
    EXPECT_EQ(int(requests.size()), c.requests);

    // After a failure: its text as the last pane line, then in the box, then the clean-up; the
    // programming animation has stopped before the box shows.
    const qsizetype box = r.events.indexOf("box:" + Text(c.failure));
    if (c.failure == 0) {
        EXPECT_EQ(r.Lines().back(), "line:" + Text(1305));
        EXPECT_EQ(r.events.filter(QRegularExpression("^box:")).size(), 0);
    } else {
        ASSERT_GE(box, 1) << r.events.join(u'\n').toStdString();
        EXPECT_EQ(r.events[box - 1], "line:" + Text(c.failure));
        EXPECT_EQ(r.events.back(), "enable:1");
        EXPECT_EQ(r.Count("active:0"), 1);
        if (r.events.contains("anim:start")) {
            EXPECT_LT(r.events.indexOf("anim:stop"), box);
        }
    }
    // Only a radio that was not found sends the operator back to the address, inputs enabled first.
    const qsizetype focus = r.events.indexOf("focus:address");
    EXPECT_EQ(focus >= 0, c.result == UpdateResult::RadioNotFound);
    if (focus >= 0) {
        EXPECT_EQ(r.events[focus - 1], "enable:1");
    }
    EXPECT_EQ(r.Count("focus:file"), 0);

    if (c.timeoutMs > 0) {
        EXPECT_GT(r.waited, c.timeoutMs);
        EXPECT_LE(r.waited, c.timeoutMs + c.timeoutMs / 8);
    }
    // A busy radio is asked again after 10 ms each time.
    size_t begins = 0;
    while (begins < requests.size() && requests[begins].command == 3)
        ++begins;
    if (begins > 1) {
        EXPECT_GE(requests[begins - 1].atMs - requests.front().atMs, qint64(begins - 1) * 10);
    }
}

// A 5000-byte image: begin, four full blocks, the remainder, program.
INSTANTIATE_TEST_SUITE_P(
    Outcomes, RunOutcomes,
    ::testing::Values(
        OutcomeCase{"BusyThirtyTimesThenAccepted", "127.0.0.36", BusyFirst(30), UpdateResult::Updated, 0, 0, 30 + 7},
        OutcomeCase{"BusyThirtyOneTimes", "127.0.0.37", BusyFirst(31), UpdateResult::TransferFailed, 5,
                    IDS_ERR_TRANSFER, 31},
        OutcomeCase{"BeginRefused", "127.0.0.38", Except(0, FakeAnswer::Status('E')), UpdateResult::TransferFailed, 5,
                    IDS_ERR_TRANSFER, 1},
        OutcomeCase{"WrongEcho", "127.0.0.39", Except(1, WrongEcho()), UpdateResult::TransferFailed, 5,
                    IDS_ERR_TRANSFER, 2},
        OutcomeCase{"SilentDuringTransfer", "127.0.0.40", Except(3, FakeAnswer::Silent()),
                    UpdateResult::TransferFailed, 5, IDS_ERR_TRANSFER, 4, 10000},
        OutcomeCase{"ProgramRefused", "127.0.0.43", Except(-1, FakeAnswer::Status('\0')),
                    UpdateResult::ProgramRefused, 6, IDS_ERR_ILLEGAL_DATA, 7},
        OutcomeCase{"ProgramBusyThirtyOneTimes", "127.0.0.44", Except(-1, FakeAnswer::Status('@')),
                    UpdateResult::ProgramRefused, 6, IDS_ERR_ILLEGAL_DATA, 6 + 31},
        OutcomeCase{"ProgramAnsweredB", "127.0.0.45", Except(-1, FakeAnswer::Status('B')),
                    UpdateResult::NoProgramReply, 7, IDS_ERR_NO_REPLY, 7},
        OutcomeCase{"ProgramSilent", "127.0.0.46", Except(-1, FakeAnswer::Silent()), UpdateResult::NoProgramReply, 7,
                    IDS_ERR_NO_REPLY, 7, 180000},
        OutcomeCase{"NobodyListens", "127.0.0.47", nullptr, UpdateResult::RadioNotFound, 4, IDS_ERR_NOT_FOUND, 0},
        OutcomeCase{"ConnectUnanswered", "127.0.0.48", nullptr, UpdateResult::RadioNotFound, 4, IDS_ERR_NOT_FOUND, 0,
                    3000}),
    [](const ::testing::TestParamInfo<OutcomeCase>& info) { return std::string(info.param.name); });

// A file the run refuses: the text, no pane line, focus on the file name, no connection made.
void ExpectFileRefused(const QString& path, const QString& text, const char* address)
{
    CFakeRadio radio(address);
    RecordingReporter r;
    CUpdateRun run(r, LanguageEnglishUs, Short());
    EXPECT_EQ(run.Run(path, address), UpdateResult::FileUnusable) << qPrintable(path);
    EXPECT_EQ(r.events, QStringList({"file:" + text, "focus:file", "anim:stop", "active:0", "enable:1"}));
    EXPECT_EQ(radio.Connections(), 0);
}

// The system's text for a code; the catalog's file text where the system has none (Wine has
// none for a file too large).
QString SystemText(int code)
{
    QString text;
    return LoadSystemErrorText(code, SystemTextLocale(LanguageEnglishUs), text) ? text : Text(IDS_ERR_UPDATE_FILE);
}

TEST(RunFiles, MissingShortAndSpecialFilesAreRefusedBeforeConnecting)
{
    const QString dir = TestSupport::ScratchDir();
    ExpectFileRefused(dir + "/no-such.dat", SystemText(Platform::kErrorFileNotFound), "127.0.0.41");
    ExpectFileRefused(WriteImage("empty.dat", 0), Text(IDS_ERR_UPDATE_FILE), "127.0.0.41");
    ExpectFileRefused(WriteImage("short.dat", 1023), Text(IDS_ERR_UPDATE_FILE), "127.0.0.41");
    ExpectFileRefused(dir, SystemText(Platform::kErrorDirectory), "127.0.0.41");
#ifdef Q_OS_UNIX
    // A named pipe without a writer would block a plain open forever.
    const QString fifo = dir + "/pipe.dat";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ExpectFileRefused(fifo, Text(IDS_ERR_NOT_REGULAR_FILE), "127.0.0.41");
    ExpectFileRefused(QStringLiteral("/dev/null"), Text(IDS_ERR_NOT_REGULAR_FILE), "127.0.0.41");
    // A name in Shift-JIS exists but reaches the program with replacement characters.
    const QByteArray shiftJis = QFile::encodeName(dir) + "/\x83\x74\x83\x40\x81\x5b\x83\x80.dat";
    const int fd = ::open(shiftJis.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, QByteArray(2048, 'x').constData(), 2048), 2048);
    ::close(fd);
    ExpectFileRefused(QFile::decodeName(shiftJis), Text(IDS_ERR_FILE_NAME_NOT_UTF8), "127.0.0.41");
    ::unlink(shiftJis.constData()); // a name the scratch folder's clean-up cannot spell
#endif
}

TEST(RunFiles, FourGibibytesOrMoreAreRefused)
{
    // Sparse: no disk space and no memory is spent, the size alone decides.
    const QString path = TestSupport::ScratchDir() + "/huge.dat";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(Q_INT64_C(4294967296)));
    f.close();
    ExpectFileRefused(path, SystemText(Platform::kErrorFileTooLarge), "127.0.0.42");
}

TEST(RunFiles, SystemTextFollowsJapanese)
{
    QString japanese;
    if (!LoadSystemErrorText(Platform::kErrorFileNotFound, LOCALE_ID_JAPANESE, japanese)
        || japanese == SystemText(Platform::kErrorFileNotFound))
        GTEST_SKIP() << "the Japanese locale is not installed";
    QByteArray image;
    QString text;
    EXPECT_FALSE(LoadFirmwareFile(TestSupport::ScratchDir() + "/none.dat", LanguageJapanese, image, text));
    EXPECT_EQ(text, japanese);
    EXPECT_FALSE(LoadFirmwareFile(WriteImage("tiny.dat", 10), LanguageJapanese, image, text));
    EXPECT_EQ(text, LoadText(IDS_ERR_UPDATE_FILE, LanguageJapanese));
    EXPECT_TRUE(image.isEmpty());
}

} // namespace
