// zerlind-firm-update against zerlind-radio-sim: status lines, failure texts and exit codes
// for each outcome, the command-line contract, and the simulator's faults seen from the client.
#include "common/RadioSimProcess.h"
#include "common/TestSupport.h"
#include "common/UpdaterProcess.h"

#include "base/MessageCatalog.h"
#include "base/Release.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kBin = QStringLiteral(ZFU_BIN_DIR);
// Every wait on a child process is bounded.
constexpr int PROCESS_LIMIT_MS = 20000;

QString WriteImage(const QString& name, qint64 size)
{
    return TestSupport::WriteRandomFile(name, size);
}

using Sim = RadioSimProcess;

QString Line(quint16 id, quint16 language = LanguageEnglishUs)
{
    return TerminalLine(LoadText(id, language));
}

QString StatusLines(quint16 language = LanguageEnglishUs)
{
    QString all;
    for (quint16 id : {1309, 1300, 1302, 1303, 1304, 1301, 1305})
        all += Line(id, language);
    return all;
}

TEST(Cli, UpdatesAndPrintsEveryStatusLine)
{
    Sim sim("127.0.0.60", {});
    ASSERT_TRUE(sim.Ready());
    const QString path = WriteImage("ok.dat", 50 * 1024 + 3);
    const UpdaterOutcome o = RunUpdater({path, "127.0.0.60"});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.out, StatusLines());
    EXPECT_EQ(o.err, QString()); // stderr is no terminal here: no progress either
    const auto summary = sim.Summary();
    EXPECT_EQ(summary.value("outcome"), "programmed");
    EXPECT_EQ(summary.value("sha256"), TestSupport::FileSha256(path));
    EXPECT_EQ(summary.value("requests"), "53"); // begin, 50 blocks, the rest, program
}

TEST(Cli, JapaneseByOptionAndByLocale)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "pins glibc's texts and the POSIX locale variables; the Windows tests check the system's";
#endif
    const QString path = WriteImage("ja.dat", 4096);
    {
        Sim sim("127.0.0.61", {});
        ASSERT_TRUE(sim.Ready());
        const UpdaterOutcome o = RunUpdater({"--lang", "ja", path, "127.0.0.61"});
        EXPECT_EQ(o.exitCode, 0);
        EXPECT_EQ(o.out, StatusLines(LanguageJapanese));
    }
    {
        Sim sim("127.0.0.61", {});
        ASSERT_TRUE(sim.Ready());
        const UpdaterOutcome o = RunUpdater({path, "127.0.0.61"}, {"LC_ALL=ja_JP.UTF-8"});
        EXPECT_EQ(o.exitCode, 0);
        EXPECT_EQ(o.out, StatusLines(LanguageJapanese));
    }
    // --lang wins over the locale.
    const UpdaterOutcome o = RunUpdater({"--lang=en", path, "127.0.0.62"}, {"LC_ALL=ja_JP.UTF-8"});
    EXPECT_EQ(o.exitCode, 4);
    EXPECT_EQ(o.err, Line(IDS_ERR_NOT_FOUND));
}

TEST(Cli, RadioNotFound)
{
    const UpdaterOutcome o = RunUpdater({"--connect-timeout", "500", WriteImage("nf.dat", 2048), "127.0.0.63"});
    EXPECT_EQ(o.exitCode, 4);
    EXPECT_EQ(o.out, Line(1309)); // the failure text goes to stderr only
    EXPECT_EQ(o.err, Line(IDS_ERR_NOT_FOUND));
}

TEST(Cli, FileCannotBeUsed)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "pins glibc's texts and the POSIX locale variables; the Windows tests check the system's";
#endif
    UpdaterOutcome o = RunUpdater({TestSupport::ScratchDir() + "/missing.dat", "127.0.0.64"});
    EXPECT_EQ(o.exitCode, 3);
    EXPECT_EQ(o.out, QString());
    EXPECT_EQ(o.err, "zerlind-firm-update: " + TestSupport::ScratchDir() + "/missing.dat: No such file or directory\n");
    const QString shortFile = WriteImage("short.dat", 1000);
    o = RunUpdater({shortFile, "127.0.0.64"});
    EXPECT_EQ(o.exitCode, 3);
    EXPECT_EQ(o.err, "zerlind-firm-update: " + shortFile + ": 1000 bytes, too short for a firmware image (at least 1024)\n");
    o = RunUpdater({"--lang", "ja", TestSupport::ScratchDir(), "127.0.0.64"});
    EXPECT_EQ(o.exitCode, 3);
    EXPECT_FALSE(o.err.isEmpty());
}

// Runs one update against a simulator with `faults` and checks the exit code and stderr.
UpdaterOutcome ExpectFailure(const char* address, const QStringList& faults, int exitCode, quint16 textId,
                      const QStringList& extra = {})
{
    Sim sim(address, faults);
    EXPECT_TRUE(sim.Ready());
    const UpdaterOutcome o = RunUpdater(extra + QStringList{WriteImage("f.dat", 10 * 1024), address});
    EXPECT_EQ(o.exitCode, exitCode) << qPrintable(faults.join(' '));
    EXPECT_EQ(o.err, Line(textId)) << qPrintable(faults.join(' '));
    EXPECT_FALSE(o.out.contains(LoadText(textId, LanguageEnglishUs).section("\r\n", 0, 0)));
    return o;
}

TEST(Cli, TransferFailures)
{
    ExpectFailure("127.0.0.65", {"--refuse", "begin"}, 5, IDS_ERR_TRANSFER);
    ExpectFailure("127.0.0.65", {"--close", "data:3"}, 5, IDS_ERR_TRANSFER);
    ExpectFailure("127.0.0.65", {"--silent", "4"}, 5, IDS_ERR_TRANSFER, {"--transfer-timeout", "200"});
    // Answers far past the time-out: a run held up on a loaded machine still finds none in time.
    ExpectFailure("127.0.0.65", {"--slow", "data:2=2000"}, 5, IDS_ERR_TRANSFER, {"--transfer-timeout", "200"});
}

TEST(Cli, WrongEchoSendsNoFurtherBlock)
{
    Sim sim("127.0.0.66", {"--wrong-echo"});
    ASSERT_TRUE(sim.Ready());
    const QString image = WriteImage("echo.dat", 8192);
    EXPECT_EQ(RunUpdater({image, "127.0.0.66"}).exitCode, 5);
    EXPECT_EQ(sim.Summary().value("requests"), "2");
    // Limited to the first session, the fault spares the second.
    Sim once("127.0.0.66", {"--wrong-echo", "--faulty-sessions", "1", "--sessions", "2"});
    ASSERT_TRUE(once.Ready());
    EXPECT_EQ(RunUpdater({image, "127.0.0.66"}).exitCode, 5);
    EXPECT_EQ(RunUpdater({image, "127.0.0.66"}).exitCode, 0);
}

TEST(Cli, ProgramRefusedOrUnanswered)
{
    ExpectFailure("127.0.0.67", {"--refuse", "program=0x00"}, 6, IDS_ERR_ILLEGAL_DATA);
    ExpectFailure("127.0.0.67", {"--no-program-reply"}, 7, IDS_ERR_NO_REPLY, {"--program-timeout", "300"});
    ExpectFailure("127.0.0.67", {"--program-delay", "2000"}, 7, IDS_ERR_NO_REPLY, {"--program-timeout", "300"});
}

TEST(Cli, BusySplitSlowAndBangStillSucceed)
{
    const QString path = WriteImage("hard.dat", 6 * 1024 + 77);
    const QList<QStringList> variants = {
        {"--busy", "30@data:2"},
        {"--busy", "5@begin", "--busy", "5@program"},
        {"--split", "all"},
        {"--slow", "data=30", "--bang", "data:1"},
        {"--bang", "all", "--program-delay", "300"},
    };
    for (const QStringList& faults : variants) {
        Sim sim("127.0.0.68", faults);
        ASSERT_TRUE(sim.Ready());
        const UpdaterOutcome o = RunUpdater({"--quiet", path, "127.0.0.68"});
        EXPECT_EQ(o.exitCode, 0) << qPrintable(faults.join(' '));
        EXPECT_EQ(o.out, QString());
        EXPECT_EQ(sim.Summary().value("sha256"), TestSupport::FileSha256(path)) << qPrintable(faults.join(' '));
    }
    ExpectFailure("127.0.0.68", {"--busy", "31@data:2"}, 5, IDS_ERR_TRANSFER);
}

TEST(Cli, PortOption)
{
    Sim sim("127.0.0.69", {"--port", "1112"});
    ASSERT_TRUE(sim.Ready());
    EXPECT_EQ(RunUpdater({"--port", "1112", WriteImage("p.dat", 2048), "127.0.0.69"}).exitCode, 0);
}

TEST(Cli, CommandLineContract)
{
    const QList<QStringList> bad = {
        {},
        {"only-file"},
        {"--port", "65536", "a", "b"},
        {"--program-timeout", "a", "b"},
        {"--frobnicate", "a", "b"},
        {"-q", "a", "b"},
        {"--quiet=yes", "a", "b"},
        {"a", "b", "--lang"},
        {"--json=1", "a", "b"},
        {"--radios", "/nonexistent/list", "a"},
        {"--radios", "/dev/null", "a"}, // a list with no radio and none given
        {"--scan", "127.0.0.0/24", "a"},
        {"--check", "--scan", "127.0.0.0/24"},
    };
    for (const QStringList& args : bad) {
        const UpdaterOutcome o = RunUpdater(args);
        EXPECT_EQ(o.exitCode, 2) << qPrintable(args.join(' '));
        EXPECT_FALSE(o.err.isEmpty());
        EXPECT_TRUE(o.out.isEmpty());
    }
    UpdaterOutcome o = RunUpdater({"--help"});
    EXPECT_EQ(o.exitCode, 0);
    for (const char* option : {"--lang", "--port", "--connect-timeout", "--transfer-timeout", "--program-timeout",
                               "--quiet", "--radios", "--jobs", "--json", "--no-progress", "--canary",
                               "--max-failures", "--failed", "--log", "--check", "--scan", "--version",
                               "FILE ADDRESS"})
        EXPECT_TRUE(o.out.contains(option)) << option;
    o = RunUpdater({"--version"});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.out, QStringLiteral("zerlind-firm-update (Zerlind Firm Utility) %1\n").arg(QLatin1String(kReleaseVersion)));
    // After "--" a name that starts with a dash is the file.
    o = RunUpdater({"--", "-missing.dat", "127.0.0.70"});
    EXPECT_EQ(o.exitCode, 3);
}

TEST(RadioSim, HelpDocumentsEveryOptionAndBadOptionsAreRefused)
{
    QProcess p;
    p.start(kBin + "/zerlind-radio-sim", {"--help"});
    ASSERT_TRUE(p.waitForFinished(PROCESS_LIMIT_MS));
    EXPECT_EQ(p.exitCode(), 0);
    const QString help = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* option : {"--listen", "--port", "--sessions", "--program-delay", "--save", "--busy", "--refuse",
                               "--silent", "--no-program-reply", "--close", "--wrong-echo", "--faulty-sessions", "--bang", "--split",
                               "--slow", "--help"})
        EXPECT_TRUE(help.contains(option)) << option;
    for (const QStringList& args : QList<QStringList>{{"--busy", "3"}, {"--slow", "data"}, {"--bogus"},
                                                      {"--refuse", "program=0x100"}, {"--listen", "nowhere"}}) {
        p.start(kBin + "/zerlind-radio-sim", args);
        ASSERT_TRUE(p.waitForFinished(PROCESS_LIMIT_MS));
        EXPECT_EQ(p.exitCode(), 2) << qPrintable(args.join(' '));
    }
}

TEST(RadioSim, SavesTheImageAndServesSeveralSessions)
{
    const QString saved = TestSupport::ScratchDir() + "/saved.dat";
    QProcess sim;
    sim.start(kBin + "/zerlind-radio-sim", {"--listen", "127.0.0.71", "--sessions", "2", "--save", saved});
    ASSERT_TRUE(sim.waitForReadyRead(PROCESS_LIMIT_MS));
    const QString first = WriteImage("s1.dat", 3000);
    const QString second = WriteImage("s2.dat", 5000);
    EXPECT_EQ(RunUpdater({first, "127.0.0.71"}).exitCode, 0);
    EXPECT_EQ(RunUpdater({second, "127.0.0.71"}).exitCode, 0);
    ASSERT_TRUE(sim.waitForFinished(PROCESS_LIMIT_MS));
    EXPECT_EQ(sim.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(sim.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].contains("session=1") && lines[1].contains("bytes=3000"));
    EXPECT_TRUE(lines[2].contains("session=2") && lines[2].contains("sha256=" + TestSupport::FileSha256(second)));
    EXPECT_EQ(TestSupport::FileSha256(saved), TestSupport::FileSha256(second));
}

} // namespace
