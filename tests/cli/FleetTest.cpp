// zerlind-firm-update with several radios against one multi-radio zerlind-radio-sim: the
// per-radio texts and the summary, the exit status, the jobs limit, JSON Lines, the duplicate
// refusal, the check and the scan that send nothing, and an interrupt. Radios live on
// 127.0.4.0/24, which no other test uses, each test on addresses of its own, so that a scan
// finds only its own radios even while the others run.
#include "common/RadioSimProcess.h"
#include "common/TestSupport.h"
#include "common/UpdaterProcess.h"

#include "base/MessageCatalog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <signal.h>

namespace {

QString Radio(int lastOctet)
{
    return QStringLiteral("127.0.4.%1").arg(lastOctet);
}

QStringList Radios(int first, int count)
{
    QStringList radios;
    for (int i = 0; i < count; ++i)
        radios << Radio(first + i);
    return radios;
}

// The lines of `text` that start with "RADIO: ", without that prefix.
QStringList LinesOf(const QString& text, const QString& radio)
{
    QStringList lines;
    for (const QString& line : text.split(u'\n')) {
        if (line.startsWith(radio + QStringLiteral(": ")))
            lines << line.mid(radio.size() + 2);
    }
    return lines;
}

QStringList TextLines(std::initializer_list<quint16> ids)
{
    QStringList lines;
    for (quint16 id : ids)
        lines += LoadText(id, LANG_ENGLISH_US).split(QStringLiteral("\r\n"));
    return lines;
}

// The summary table's row of `radio`: what follows the address.
QString SummaryRow(const QString& out, const QString& radio)
{
    const QString table = out.section(QStringLiteral("\nradio "), 1);
    for (const QString& line : table.split(u'\n')) {
        if (line.startsWith(radio + u' '))
            return line.mid(radio.size()).simplified();
    }
    return QString();
}

TEST(Fleet, EightRadiosTwoFaultyWithThreeJobs)
{
    // .12 refuses the program command, .15 falls silent in the transfer; the rest take the image.
    const QStringList radios = Radios(10, 8);
    RadioSimProcess sim(radios.first() + u'-' + radios.last(),
                        {"--program-delay", "200", "--refuse", Radio(12) + "/program", "--silent", Radio(15) + "/data:3"});
    ASSERT_TRUE(sim.Ready());
    const QString path = TestSupport::WriteRandomFile("fleet.dat", 20 * 1024 + 5);
    const UpdaterOutcome o = RunUpdater(QStringList{"--jobs", "3", "--transfer-timeout", "300", path} + radios);

    EXPECT_EQ(o.exitCode, 6); // the status of .12, the first radio in list order not updated
    const QStringList updatedLines = TextLines({1309, 1300, 1302, 1303, 1304, 1301, 1305});
    for (const QString& radio : radios) {
        SCOPED_TRACE(radio.toStdString());
        if (radio == Radio(12)) {
            EXPECT_EQ(LinesOf(o.out, radio), TextLines({1309, 1300, 1302, 1303, 1304, 1301}));
            EXPECT_EQ(LinesOf(o.err, radio), TextLines({IDS_ERR_ILLEGAL_DATA}));
            EXPECT_EQ(SummaryRow(o.out, radio).section(u' ', 0, -2),
                      LoadText(IDS_ERR_ILLEGAL_DATA, LANG_ENGLISH_US).replace("\r\n", " "));
        } else if (radio == Radio(15)) {
            EXPECT_EQ(LinesOf(o.out, radio), TextLines({1309, 1300, 1302}));
            EXPECT_EQ(LinesOf(o.err, radio), TextLines({IDS_ERR_TRANSFER}));
            EXPECT_TRUE(SummaryRow(o.out, radio).startsWith("Data transfer failed."));
        } else {
            EXPECT_EQ(LinesOf(o.out, radio), updatedLines);
            EXPECT_EQ(LinesOf(o.err, radio), QStringList());
            EXPECT_TRUE(SummaryRow(o.out, radio).startsWith("updated ")) << qPrintable(o.out);
        }
    }

    const auto sessions = sim.Sessions();
    ASSERT_EQ(sessions.size(), 8) << qPrintable(o.out);
    int programmed = 0;
    int peak = 0;
    for (const auto& session : sessions) {
        if (session.value("outcome") == "programmed") {
            ++programmed;
            EXPECT_EQ(session.value("sha256"), TestSupport::FileSha256(path));
        }
        peak = qMax(peak, session.value("peak").toInt());
    }
    EXPECT_EQ(programmed, 6);
    EXPECT_EQ(sessions.value(Radio(12)).value("outcome"), "refused");
    // Three at once at most, and more than one: the jobs really overlap.
    EXPECT_LE(peak, 3);
    EXPECT_GE(peak, 2);
}

TEST(Fleet, JsonLinesOneObjectPerEvent)
{
    RadioSimProcess sim(Radio(30));
    ASSERT_TRUE(sim.Ready());
    // .31 has no radio: the connection is refused at once.
    const UpdaterOutcome o =
        RunUpdater({"--json", TestSupport::WriteRandomFile("json.dat", 300 * 1024), Radio(30), Radio(31)});
    EXPECT_EQ(o.exitCode, 4);
    EXPECT_EQ(LinesOf(o.err, Radio(31)), TextLines({IDS_ERR_NOT_FOUND})); // stderr as well

    QMap<QString, QMap<QString, int>> counts; // radio -> event -> how many
    QJsonObject last;
    const QStringList lines = o.out.split(u'\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << qPrintable(line);
        last = doc.object();
        const QString event = last.value("event").toString();
        ++counts[last.value("radio").toString()][event];
        if (event == "progress") {
            EXPECT_LE(last.value("bytes").toInteger(), last.value("total").toInteger());
        }
        if (event == "result") {
            const bool updated = last.value("radio") == Radio(30);
            EXPECT_EQ(last.value("exit").toInt(), updated ? 0 : 4);
            EXPECT_EQ(last.value("text").toString().isEmpty(), updated);
            EXPECT_TRUE(last.value("seconds").isDouble());
        }
    }
    EXPECT_EQ(counts[Radio(30)]["status"], 7);
    EXPECT_GE(counts[Radio(30)]["progress"], 1);
    EXPECT_EQ(counts[Radio(30)]["result"], 1);
    EXPECT_EQ(counts[Radio(31)]["status"], 1);
    EXPECT_EQ(counts[Radio(31)]["result"], 1);
    EXPECT_EQ(last, (QJsonObject{{"event", "summary"}, {"updated", 1}, {"failed", 1}, {"exit", 4}}));
    EXPECT_EQ(sim.Summary().value("outcome"), "programmed");
}

TEST(Fleet, DuplicatesRefusedAndCheckSendsNothing)
{
    RadioSimProcess sim(Radio(40));
    ASSERT_TRUE(sim.Ready());
    const QString path = TestSupport::WriteRandomFile("check.dat", 3000);
    const QString list = TestSupport::ScratchDir() + "/radios.txt";
    QFile listFile(list);
    ASSERT_TRUE(listFile.open(QIODevice::WriteOnly));
    listFile.write("# the bench\n\n  " + Radio(40).toUtf8() + "  \n");
    listFile.close();

    // The same text twice, the list and the command line naming one radio, two names of one
    // address: each refused before anything is sent.
    for (const QStringList& args : QList<QStringList>{{path, Radio(40), Radio(40)},
                                                      {"--radios", list, path, Radio(40)},
                                                      {path, Radio(40), "localhost", "127.0.0.1"}}) {
        const UpdaterOutcome o = RunUpdater(args);
        EXPECT_EQ(o.exitCode, 2) << qPrintable(args.join(' '));
        EXPECT_TRUE(o.err.contains("listed twice")) << qPrintable(o.err);
    }

    // The check: the file's facts, then each radio reached or not; .41 has no radio.
    const UpdaterOutcome o = RunUpdater({"--check", "--radios", list, path, Radio(41)});
    EXPECT_EQ(o.exitCode, 4);
    EXPECT_TRUE(o.out.contains(QStringLiteral("3000 bytes, 3 blocks, SHA-256 %1").arg(TestSupport::FileSha256(path))))
        << qPrintable(o.out);
    EXPECT_TRUE(o.out.contains(Radio(40) + ": reachable\n"));
    EXPECT_TRUE(o.out.contains(Radio(41) + ": not reachable\n"));
    // The simulator's one session is the check's: nothing before it, no request in it.
    const auto summary = sim.Summary();
    EXPECT_EQ(summary.value("session"), "1");
    EXPECT_EQ(summary.value("requests"), "0");

    EXPECT_EQ(RunUpdater({"--check", TestSupport::ScratchDir() + "/missing.dat", Radio(41)}).exitCode, 3);
}

TEST(Fleet, ScanFindsExactlyTheRadiosAndSendsNothing)
{
    RadioSimProcess sim(Radio(50), {"--listen", Radio(53), "--listen", Radio(61)});
    ASSERT_TRUE(sim.Ready());
    UpdaterOutcome o = RunUpdater({"--scan", "127.0.4.48/28"});
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.out, QStringList({Radio(50), Radio(53), Radio(61), ""}).join(u'\n'));
    const auto sessions = sim.Sessions();
    ASSERT_EQ(sessions.size(), 3);
    for (const auto& session : sessions)
        EXPECT_EQ(session.value("requests"), "0");

    o = RunUpdater({"--scan", "127.0.4.96/28", "--json"}); // no radio there
    EXPECT_EQ(o.exitCode, 4);
    EXPECT_EQ(o.out, QString()) << qPrintable(o.out);
    for (const char* network : {"127.0.4.0/21", "127.0.4.0/33", "127.0.4.0/x", "127.0.4/24", "::1/128"})
        EXPECT_EQ(RunUpdater({"--scan", network}).exitCode, 2) << network;
}

TEST(Fleet, InterruptEndsPromptlyWithTheSummary)
{
    // Four radios wait for a long program reply while four more wait their turn.
    const QStringList radios = Radios(70, 8);
    RadioSimProcess sim(radios.first() + u'-' + radios.last(), {"--program-delay", "20000"});
    ASSERT_TRUE(sim.Ready());
    QProcess updater;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LC_ALL", "C.UTF-8");
    updater.setProcessEnvironment(env);
    updater.start(ZFU_BIN_DIR "/zerlind-firm-update",
                  QStringList{"--jobs", "4", TestSupport::WriteRandomFile("int.dat", 8192)} + radios);
    const QString waitLine = LoadText(1301, LANG_ENGLISH_US);
    QString out;
    ASSERT_TRUE(TestSupport::WaitUntil([&] {
        out += QString::fromUtf8(updater.readAllStandardOutput());
        return out.count(waitLine) == 4;
    }, 10000)) << qPrintable(out + QString::fromUtf8(updater.readAllStandardError()));

    QElapsedTimer clock;
    clock.start();
    ::kill(pid_t(updater.processId()), SIGINT);
    ::kill(pid_t(updater.processId()), SIGINT); // a second one does no harm
    ASSERT_TRUE(updater.waitForFinished(5000));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(updater.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(updater.exitCode(), 130);
    out += QString::fromUtf8(updater.readAllStandardOutput());
    EXPECT_EQ(QString::fromUtf8(updater.readAllStandardError()), QString()); // a stop is no failure
    for (int i = 0; i < radios.size(); ++i) {
        EXPECT_EQ(SummaryRow(out, radios[i]).section(u' ', 0, -2),
                  i < 4 ? "stopped waiting for the program reply" : "not started")
            << qPrintable(out);
    }
}

} // namespace
