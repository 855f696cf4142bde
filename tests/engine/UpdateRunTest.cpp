// Whole update runs against a scripted radio: the exact requests for several image sizes, what
// the reporter is told on success and on each failure, and the files that are refused.
#include "FakeRadio.h"
#include "common/TestSupport.h"

#include "base/Language.h"
#include "base/MessageCatalog.h"
#include "base/SystemErrorText.h"
#include "engine/FirmwareImage.h"
#include "engine/UpdateReporter.h"
#include "engine/UpdateRun.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cerrno>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Writes down every call of the run, in order.
class RecordingReporter : public IUpdateReporter {
public:
    QStringList events;
    void AppendMessageLine(const QString& text) override { events << "line:" + text; }
    void EnableInputControls(bool enable) override { events << QStringLiteral("enable:%1").arg(enable); }
    void StartTransferProgress(int n) override { events << QStringLiteral("progress:%1").arg(n); }
    void StepTransferProgress() override { events << "step"; }
    void StartWaitAnimation() override { events << "anim:start"; }
    void StopWaitAnimation() override { events << "anim:stop"; }
    void ShowErrorBox(const QString& text) override { events << "box:" + text; }
    void ShowFileError(const QString& text) override { events << "file:" + text; }
    void FocusEditAtEnd(InputField f) override { events << (f == InputField::FileName ? "focus:file" : "focus:address"); }
    void SetActiveConnection(bool active) override { events << QStringLiteral("active:%1").arg(active); }

    QStringList Lines() const { return events.filter(QRegularExpression("^line:")); }
    int Count(const QString& e) const { return int(events.count(e)); }
};

QString Text(quint16 id)
{
    return LoadText(id, LANG_ENGLISH_US);
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

UpdateTimeouts Short()
{
    UpdateTimeouts t;
    t.connectMs = 1000;
    t.transferMs = 1000;
    t.programMs = 1000;
    return t;
}

struct SizeCase {
    qint64 size;
    const char* address;
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
    CUpdateRun run(reporter, LANG_ENGLISH_US, Short());
    ASSERT_EQ(run.Run(path, c.address), UpdateResult::Updated);

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
                                           SizeCase{2048, "127.0.0.32"}, SizeCase{3000, "127.0.0.33"},
                                           SizeCase{25 * 1024 + 7, "127.0.0.34"},
                                           SizeCase{1024 * 1024 + 100, "127.0.0.35"}),
                         [](const ::testing::TestParamInfo<SizeCase>& info) {
                             return "Bytes" + std::to_string(info.param.size);
                         });

// Runs against `radio` at `address` and returns the reporter's record.
RecordingReporter RunAgainst(const QString& address, UpdateResult expected, qint64 size = 5000,
                             UpdateTimeouts timeouts = Short())
{
    const QString path = WriteImage(QStringLiteral("fail.dat"), size);
    RecordingReporter reporter;
    CUpdateRun run(reporter, LANG_ENGLISH_US, timeouts);
    EXPECT_EQ(run.Run(path, address), expected);
    return reporter;
}

// The failure text as the last pane line, then in the box, then the clean-up.
void ExpectFailureReport(const RecordingReporter& r, quint16 id)
{
    const qsizetype box = r.events.indexOf("box:" + Text(id));
    ASSERT_GE(box, 1);
    EXPECT_EQ(r.events[box - 1], "line:" + Text(id));
    EXPECT_EQ(r.events.back(), "enable:1");
    EXPECT_EQ(r.Count("active:0"), 1);
}

TEST(RunFailures, RefusedBeginIsATransferFailure)
{
    CFakeRadio radio("127.0.0.36", [](int, const FakeRequest&) { return FakeAnswer::Status('E'); });
    const RecordingReporter r = RunAgainst("127.0.0.36", UpdateResult::TransferFailed);
    ExpectFailureReport(r, IDS_ERR_TRANSFER);
    EXPECT_EQ(radio.Requests().size(), 1u);
    EXPECT_EQ(r.Count("focus:address") + r.Count("focus:file"), 0);
}

TEST(RunFailures, WrongEchoStopsTheTransfer)
{
    CFakeRadio radio("127.0.0.37", [](int index, const FakeRequest&) {
        FakeAnswer a = FakeAnswer::Status(' ');
        if (index == 1)
            a.bytes += QByteArray("\x01\x02\x03\x04");
        return a;
    });
    const RecordingReporter r = RunAgainst("127.0.0.37", UpdateResult::TransferFailed);
    ExpectFailureReport(r, IDS_ERR_TRANSFER);
    EXPECT_EQ(radio.Requests().size(), 2u); // begin and the first block, nothing after
}

TEST(RunFailures, ProgramRefusedOrUnanswered)
{
    {
        CFakeRadio radio("127.0.0.38", [accept = CFakeRadio::AcceptAll()](int i, const FakeRequest& req) {
            return req.command == CMD_PROGRAM ? FakeAnswer::Status('\0') : accept(i, req);
        });
        const RecordingReporter r = RunAgainst("127.0.0.38", UpdateResult::ProgramRefused);
        ExpectFailureReport(r, IDS_ERR_ILLEGAL_DATA);
        // The animation stops before the text is shown, and once more in the clean-up.
        EXPECT_LT(r.events.indexOf("anim:start"), r.events.indexOf("anim:stop"));
        EXPECT_LT(r.events.indexOf("anim:stop"), r.events.indexOf("box:" + Text(IDS_ERR_ILLEGAL_DATA)));
    }
    {
        CFakeRadio radio("127.0.0.38", [accept = CFakeRadio::AcceptAll()](int i, const FakeRequest& req) {
            return req.command == CMD_PROGRAM ? FakeAnswer::Silent() : accept(i, req);
        });
        UpdateTimeouts t = Short();
        t.programMs = 200;
        const RecordingReporter r = RunAgainst("127.0.0.38", UpdateResult::NoProgramReply, 5000, t);
        ExpectFailureReport(r, IDS_ERR_NO_REPLY);
    }
}

TEST(RunFailures, SilentRadioDuringTransferTimesOut)
{
    CFakeRadio radio("127.0.0.39", [accept = CFakeRadio::AcceptAll()](int i, const FakeRequest& req) {
        return i == 3 ? FakeAnswer::Silent() : accept(i, req);
    });
    UpdateTimeouts t = Short();
    t.transferMs = 150;
    const RecordingReporter r = RunAgainst("127.0.0.39", UpdateResult::TransferFailed, 8000, t);
    ExpectFailureReport(r, IDS_ERR_TRANSFER);
}

TEST(RunFailures, RadioNotFound)
{
    const RecordingReporter r = RunAgainst("127.0.0.40", UpdateResult::RadioNotFound);
    ExpectFailureReport(r, IDS_ERR_NOT_FOUND);
    // Inputs enabled again before the focus lands in the address field.
    const qsizetype focus = r.events.indexOf("focus:address");
    ASSERT_GE(focus, 1);
    EXPECT_EQ(r.events[focus - 1], "enable:1");
    EXPECT_EQ(r.events.mid(0, 4), QStringList({"enable:0", "active:1", "line:" + Text(1309),
                                               "line:" + Text(IDS_ERR_NOT_FOUND)}));
}

// A file the run refuses: the text, no pane line, focus on the file name, no connection made.
void ExpectFileRefused(const QString& path, const QString& text, const char* address)
{
    CFakeRadio radio(address);
    RecordingReporter r;
    CUpdateRun run(r, LANG_ENGLISH_US, Short());
    EXPECT_EQ(run.Run(path, address), UpdateResult::FileUnusable) << qPrintable(path);
    EXPECT_EQ(r.events, QStringList({"file:" + text, "focus:file", "anim:stop", "active:0", "enable:1"}));
    EXPECT_EQ(radio.Connections(), 0);
}

QString SystemText(int code)
{
    QString text;
    EXPECT_TRUE(LoadSystemErrorText(code, SystemTextLocale(LANG_ENGLISH_US), text));
    return text;
}

TEST(RunFiles, MissingShortAndSpecialFilesAreRefusedBeforeConnecting)
{
    const QString dir = TestSupport::ScratchDir();
    ExpectFileRefused(dir + "/no-such.dat", SystemText(ENOENT), "127.0.0.41");
    ExpectFileRefused(WriteImage("empty.dat", 0), Text(IDS_ERR_UPDATE_FILE), "127.0.0.41");
    ExpectFileRefused(WriteImage("short.dat", 1023), Text(IDS_ERR_UPDATE_FILE), "127.0.0.41");
    ExpectFileRefused(dir, SystemText(EISDIR), "127.0.0.41");
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
#endif
}

TEST(RunFiles, FourGibibytesOrMoreAreRefused)
{
    // Sparse: no disk space and no memory is spent, the size alone decides.
    const QString path = TestSupport::ScratchDir() + "/huge.dat";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(qint64(MAX_IMAGE_SIZE) + 1));
    f.close();
    ExpectFileRefused(path, SystemText(EFBIG), "127.0.0.42");
}

TEST(RunFiles, SystemTextFollowsJapanese)
{
    QString japanese;
    if (!LoadSystemErrorText(ENOENT, LOCALE_ID_JAPANESE, japanese) || japanese == SystemText(ENOENT))
        GTEST_SKIP() << "the Japanese locale is not installed";
    QByteArray image;
    QString text;
    EXPECT_FALSE(LoadFirmwareFile(TestSupport::ScratchDir() + "/none.dat", LANG_JAPANESE, image, text));
    EXPECT_EQ(text, japanese);
    EXPECT_FALSE(LoadFirmwareFile(WriteImage("tiny.dat", 10), LANG_JAPANESE, image, text));
    EXPECT_EQ(text, LoadText(IDS_ERR_UPDATE_FILE, LANG_JAPANESE));
    EXPECT_TRUE(image.isEmpty());
}

TEST(RunResult, ExitCodes)
{
    EXPECT_EQ(ExitCodeFor(UpdateResult::Updated), 0);
    EXPECT_EQ(ExitCodeFor(UpdateResult::FileUnusable), 3);
    EXPECT_EQ(ExitCodeFor(UpdateResult::RadioNotFound), 4);
    EXPECT_EQ(ExitCodeFor(UpdateResult::TransferFailed), 5);
    EXPECT_EQ(ExitCodeFor(UpdateResult::ProgramRefused), 6);
    EXPECT_EQ(ExitCodeFor(UpdateResult::NoProgramReply), 7);
}

} // namespace
