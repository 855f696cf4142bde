// Rollouts that protect a fleet, against multi-radio simulators on 127.0.4.160 to 127.0.4.199:
// a canary group that must all take the image before the others start, a failure limit, the
// list of radios not updated to run again on, and the workshop's log over several runs.
#include "common/RadioSimProcess.h"
#include "common/TestSupport.h"
#include "common/UpdaterProcess.h"

#include "base/MessageCatalog.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QThread>
#include <gtest/gtest.h>

#include <signal.h>

namespace {

QStringList Radios(int first, int count)
{
    QStringList radios;
    for (int i = 0; i < count; ++i)
        radios << QStringLiteral("127.0.4.%1").arg(first + i);
    return radios;
}

QList<QJsonObject> Events(const QString& out, const QString& kind = {})
{
    QList<QJsonObject> events;
    for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts)) {
        const QJsonObject event = QJsonDocument::fromJson(line.toUtf8()).object();
        EXPECT_FALSE(event.isEmpty()) << qPrintable(line);
        if (event.contains("event")) {
            EXPECT_EQ(event.keys(), DocumentedKeys(event)) << qPrintable(line);
        }
        if (kind.isEmpty() || event.value("event") == kind)
            events << event;
    }
    return events;
}

QStringList States(const QString& out)
{
    QStringList states;
    for (const QJsonObject& result : Events(out, "result"))
        states << result.value("radio").toString().section(u'.', 3) + u'=' + result.value("state").toString();
    states.sort();
    return states;
}

TEST(Rollout, CanaryGoesFirstAndAloneDecides)
{
    const struct {
        const char* fault;     // for the second canary radio
        int exitCode;
        int othersSessions;    // sessions at the radios after the canary
    } cases[] = {{"", 0, 4}, {"/program", 6, 0}};
    int base = 160;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        const QStringList canary = Radios(base, 2);
        const QStringList others = Radios(base + 2, 4);
        base += 6;
        QStringList faults{"--program-delay", "200"};
        if (*c.fault)
            faults << "--refuse" << canary[1] + QLatin1String(c.fault);
        RadioSimProcess canarySim(canary.first() + u'-' + canary.last(), faults);
        RadioSimProcess othersSim(others.first() + u'-' + others.last(), {"--program-delay", "0"});
        ASSERT_TRUE(canarySim.Ready() && othersSim.Ready());
        const UpdaterOutcome o = RunUpdater(QStringList{"--json", "--canary", "2", "--jobs", "4",
                                                        TestSupport::WriteRandomFile("canary.dat", 4096)}
                                            + canary + others);
        EXPECT_EQ(o.exitCode, c.exitCode) << qPrintable(o.err);
        EXPECT_EQ(othersSim.SessionsSoFar(300), c.othersSessions);
        // Nothing of the others before both canary radios have ended.
        int canaryEnded = 0;
        for (const QJsonObject& event : Events(o.out)) {
            const QString radio = event.value("radio").toString();
            if (canary.contains(radio) && event.value("event") == "result")
                ++canaryEnded;
            if (others.contains(radio) && event.value("event") == "status") {
                EXPECT_EQ(canaryEnded, 2) << qPrintable(radio);
            }
        }
        const QList<QJsonObject> rollout = Events(o.out, "rollout");
        ASSERT_EQ(rollout.size(), 2);
        EXPECT_EQ(rollout[0].value("group"), "canary");
        EXPECT_EQ(rollout[1].value("action"), *c.fault ? "stop" : "start");
        if (*c.fault) {
            for (const QJsonObject& result : Events(o.out, "result")) {
                if (others.contains(result.value("radio").toString())) {
                    EXPECT_EQ(result.value("state"), "not-started");
                    EXPECT_EQ(result.value("text"), "canary failed");
                }
            }
        }
    }
}

TEST(Rollout, FailureLimitStopsNewRadios)
{
    const struct {
        const char* limit;
        QStringList refusing; // last octets offset from the first radio
        QStringList states;
    } cases[] = {
        {"1", {"0"}, {"172=failed", "173=not-started", "174=not-started", "175=not-started"}},
        // 40% of four, rounded up, is two: the third radio still starts after one failure.
        {"40%", {"0", "2"}, {"176=failed", "177=updated", "178=failed", "179=not-started"}},
    };
    int base = 172;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        const QStringList radios = Radios(base, 4);
        QStringList faults{"--program-delay", "0"};
        for (const QString& offset : c.refusing)
            faults << "--refuse" << QStringLiteral("127.0.4.%1/program").arg(base + offset.toInt());
        base += 4;
        RadioSimProcess sim(radios.first() + u'-' + radios.last(), faults);
        ASSERT_TRUE(sim.Ready());
        const UpdaterOutcome o = RunUpdater(QStringList{"--json", "--jobs", "1", "--max-failures", c.limit,
                                                        TestSupport::WriteRandomFile("limit.dat", 2048)}
                                            + radios);
        EXPECT_EQ(o.exitCode, 6);
        EXPECT_EQ(States(o.out), c.states);
        const QList<QJsonObject> rollout = Events(o.out, "rollout");
        ASSERT_EQ(rollout.size(), 1);
        EXPECT_EQ(rollout[0].value("reason"), "failure limit");
    }
}

TEST(Rollout, FailedListRunsAgainAndTheLogKeepsEveryRun)
{
    const QStringList radios = Radios(190, 4);
    const QString image = TestSupport::WriteRandomFile("again.dat", 3000);
    const QString failed = TestSupport::ScratchDir() + "/failed.txt";
    const QString log = TestSupport::ScratchDir() + "/books/updates.jsonl";
    QFile::remove(log);
    {
        // .191 refuses, .193 has no radio.
        RadioSimProcess sim(radios[0] + u'-' + radios[2], {"--program-delay", "0", "--refuse", radios[1] + "/program"});
        ASSERT_TRUE(sim.Ready());
        const UpdaterOutcome o = RunUpdater(QStringList{"--failed", failed, "--log", log, image} + radios);
        EXPECT_EQ(o.exitCode, 6);
    }
    QFile list(failed);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(list.readAll()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << qPrintable(lines.join('\n'));
    EXPECT_TRUE(lines[0].startsWith("# ") && lines[0].contains(image)) << qPrintable(lines[0]);
    EXPECT_TRUE(lines[1].startsWith(radios[1] + "  # failed: ")) << qPrintable(lines[1]);
    EXPECT_TRUE(lines[2].startsWith(radios[3] + "  # failed: ")) << qPrintable(lines[2]);
    {
        // The list, fed back, reaches exactly those radios; an interrupt while they program
        // still leaves both files.
        RadioSimProcess sim(radios[1] + u'-' + radios[3], {"--program-delay", "3000"});
        ASSERT_TRUE(sim.Ready());
        SpawnedUpdater updater({"--radios", failed, "--failed", failed, "--log", log, image});
        ASSERT_TRUE(updater.Started());
        const QString waitLine = LoadText(IDS_STATUS_WAIT, LANG_ENGLISH_US);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return updater.Out().count(waitLine) == 2; }, 10000))
            << qPrintable(updater.Out() + updater.Err());
        // Two signals at once would be one: the system keeps only one pending.
        updater.Signal(SIGINT);
        QThread::msleep(100);
        updater.Signal(SIGINT);
        ASSERT_TRUE(updater.Wait(10000));
        EXPECT_EQ(updater.TermSignal(), SIGINT);
        // .191 and .193 only: the simulator's .192 was not on the list.
        EXPECT_EQ(sim.SessionsSoFar(300), 2);
    }
    // Written anew, by a rename: the list is another file now.
    list.close();
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QString again = QString::fromUtf8(list.readAll());
    EXPECT_TRUE(again.contains(radios[1] + "  # unknown: may still be programming\n")) << qPrintable(again);
    EXPECT_TRUE(again.contains(radios[3] + "  # unknown: may still be programming\n")) << qPrintable(again);

    QFile books(log);
    ASSERT_TRUE(books.open(QIODevice::ReadOnly));
    const QList<QJsonObject> records = Events(QString::fromUtf8(books.readAll()));
    ASSERT_EQ(records.size(), 6);
    QSet<QString> runs;
    for (const QJsonObject& record : records) {
        EXPECT_EQ(record.keys(), QStringList({"address", "end", "exit", "file", "radio", "run", "seconds", "sha256", "size",
                                              "start", "state", "text", "version"}));
        EXPECT_EQ(record.value("size"), 3000);
        EXPECT_EQ(record.value("sha256"), TestSupport::FileSha256(image));
        EXPECT_LE(record.value("start").toString(), record.value("end").toString());
        runs.insert(record.value("run").toString());
    }
    EXPECT_EQ(runs.size(), 2);
}

} // namespace
