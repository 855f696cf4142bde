// Rollouts that protect a fleet, against multi-radio simulators on 127.0.4.160 to 127.0.4.232:
// a canary group that must all take the image before the others start, a failure limit, waves,
// retries, a deadline, the plan that sends nothing, the list of radios not updated to run again
// on, and the workshop's log over several runs.
#include "common/RadioSimProcess.h"
#include "common/TestSupport.h"
#include "common/UpdaterProcess.h"

#include "cli/run/FleetRun.h"

#include "base/MessageCatalog.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>

#ifdef Q_OS_UNIX
#include "common/SpawnedUpdater.h"

#include <signal.h>
#endif

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
        EXPECT_EQ(othersSim.SessionsSoFar(300, c.othersSessions), c.othersSessions);
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
        // The stop follows the result that caused it.
        const QList<QJsonObject> all = Events(o.out);
        const auto stop = std::find(all.begin(), all.end(), rollout[0]) - all.begin();
        EXPECT_TRUE(stop > 0 && all[stop - 1].value("event") == "result" && all[stop - 1].value("state") == "failed") << qPrintable(o.out);
    }
}

#ifdef Q_OS_UNIX // signals are a POSIX shell's; a Windows console's are events of its own
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
        SpawnedUpdater updater({"--radios", failed, "--failed", failed + ".next", "--log", log, image});
        ASSERT_TRUE(updater.Started());
        const QString waitLine = LoadText(IDS_STATUS_WAIT, LanguageEnglishUs);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return updater.Out().count(waitLine) == 2; }, 10000))
            << qPrintable(updater.Out() + updater.Err());
        // Two signals at once would be one (the system keeps only one pending): the second goes
        // once the first has been taken, as its note says.
        updater.Signal(SIGINT);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return updater.Err().contains("Ctrl-C again to stop waiting"); }, 10000))
            << qPrintable(updater.Err());
        updater.Signal(SIGINT);
        ASSERT_TRUE(updater.Wait(10000));
        EXPECT_EQ(updater.TermSignal(), SIGINT);
        // .191 and .193 only: the simulator's .192 was not on the list.
        EXPECT_EQ(sim.SessionsSoFar(300, 2), 2);
    }
    QFile next(failed + ".next");
    ASSERT_TRUE(next.open(QIODevice::ReadOnly));
    const QString again = QString::fromUtf8(next.readAll());
    EXPECT_TRUE(again.contains(radios[1] + "  # unknown: may still be programming\n")) << qPrintable(again);
    EXPECT_TRUE(again.contains(radios[3] + "  # unknown: may still be programming\n")) << qPrintable(again);

    QFile books(log);
    ASSERT_TRUE(books.open(QIODevice::ReadOnly));
    const QList<QJsonObject> records = Events(QString::fromUtf8(books.readAll()));
    ASSERT_EQ(records.size(), 6);
    QSet<QString> runs;
    for (const QJsonObject& record : records) {
        EXPECT_EQ(record.keys(), QStringList({"address", "attempts", "end", "exit", "file", "radio", "run", "seconds", "sha256",
                                              "size", "start", "state", "text", "version"}));
        EXPECT_EQ(record.value("size"), 3000);
        EXPECT_EQ(record.value("sha256"), TestSupport::FileSha256(image));
        EXPECT_LE(record.value("start").toString(), record.value("end").toString());
        runs.insert(record.value("run").toString());
    }
    EXPECT_EQ(runs.size(), 2);
}
#endif

TEST(Rollout, WavesInOrderAndAFailedWaveIsTheLast)
{
    // 1,2,50% over 7 radios: waves of 1, 2, 3 and 1; the second radio refuses in some cases.
    const struct {
        QStringList options;
        bool refusing;
        int exitCode;
        int sessions;
        const char* notStarted; // the reason of the radios left out
    } cases[] = {
        {{}, false, 0, 7, ""},
        {{}, true, 6, 3, "wave 2 failed"},
        {{"--max-failures", "2"}, true, 6, 7, ""},
    };
    int base = 200;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString() + (c.refusing ? " refusing" : ""));
        const QStringList radios = Radios(base, 7);
        base += 7;
        QStringList faults{"--program-delay", "50"};
        if (c.refusing)
            faults << "--refuse" << radios[1] + "/program";
        RadioSimProcess sim(radios.first() + u'-' + radios.last(), faults);
        ASSERT_TRUE(sim.Ready());
        const UpdaterOutcome o = RunUpdater(QStringList{"--json", "--waves", "1,2,50%", "--jobs", "4"} + c.options
                                            + QStringList{TestSupport::WriteRandomFile("waves.dat", 2048)} + radios);
        EXPECT_EQ(o.exitCode, c.exitCode) << qPrintable(o.err);
        EXPECT_EQ(sim.SessionsSoFar(300, c.sessions), c.sessions);
        // No radio says a word before every radio of the waves before its own has ended.
        const int waveOf[] = {0, 1, 1, 2, 2, 2, 3};
        const int sizes[] = {1, 2, 3, 1};
        int ended[4] = {};
        QStringList starts;
        for (const QJsonObject& event : Events(o.out)) {
            const int radio = int(radios.indexOf(event.value("radio").toString()));
            if (event.value("event") == "rollout" && event.value("action") == "start")
                starts << event.value("names").toVariant().toStringList().join(u' ');
            if (radio >= 0 && event.value("event") == "status") {
                for (int wave = 0; wave < waveOf[radio]; ++wave)
                    EXPECT_EQ(ended[wave], sizes[wave]) << qPrintable(radios[radio]);
            }
            if (radio >= 0 && event.value("event") == "result" && event.value("state") != "not-started")
                ++ended[waveOf[radio]];
            if (radio >= 0 && event.value("state") == "not-started") {
                EXPECT_EQ(event.value("text"), c.notStarted);
            }
        }
        const QStringList waves{radios[0], radios.mid(1, 2).join(u' '), radios.mid(3, 3).join(u' '), radios[6]};
        EXPECT_EQ(starts, waves.mid(0, c.sessions == 7 ? 4 : 2));
    }
    // A wave's line names a few of its radios (none of these answers, nor is any other test's).
    const QStringList silent = Radios(180, 7);
    EXPECT_TRUE(RunUpdater(QStringList{"--waves", "6,1", "--max-failures", "7", TestSupport::WriteRandomFile("waves.dat", 2048)} + silent)
                    .err.contains(QStringLiteral("wave 1 of 2: 6 radios (%1 and 1 more)\n").arg(silent.mid(0, 5).join(", "))));
}

TEST(Rollout, RetriesOnlyBeforeTheProgramCommand)
{
    // In the run itself, with the waits recorded instead of waited out.
    const struct {
        const char* fault;
        int retries;
        RadioState state;
        QVector<int> waits; // ms before each new attempt
    } cases[] = {
        {"begin", 2, RadioState::Updated, {1000, 2000}}, // refuses two sessions, takes the third
        {"begin", 1, RadioState::Failed, {1000}},
        {"program", 3, RadioState::Failed, {}},          // told to program: never again
    };
    int octet = 221;
    const QByteArray image(2048, 'z');
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fault) + ' ' + std::to_string(c.retries));
        const QString address = QStringLiteral("127.0.4.%1").arg(octet++);
        RadioSimProcess sim(address, {"--sessions", "3", "--faulty-sessions", "2", "--refuse", c.fault});
        ASSERT_TRUE(sim.Ready());
        RadioEntry radio;
        radio.name = radio.host = radio.address = address;
        radio.port = 1111;
        EventPublisher events(1);
        Interrupts interrupts;
        FleetRun fleet(events, {radio}, 1, interrupts);
        RolloutRules rules;
        rules.retries = c.retries;
        QVector<int> waits;
        rules.wait = [&](int ms) { return waits << ms, true; };
        const QVector<RadioOutcome> outcomes = fleet.Update(image, LanguageEnglishUs, UpdateTimeouts(), rules);
        EXPECT_EQ(outcomes[0].state, c.state);
        EXPECT_EQ(outcomes[0].attempts, c.waits.size() + 1);
        EXPECT_EQ(waits, c.waits);
        EXPECT_EQ(sim.SessionsSoFar(300, int(c.waits.size()) + 1), c.waits.size() + 1);
    }
    // The waits double up to 30 s.
    EXPECT_EQ(RetryDelayMs(3), 4000);
    EXPECT_EQ(RetryDelayMs(5), 16000);
    EXPECT_EQ(RetryDelayMs(6), 30000);
    EXPECT_EQ(RetryDelayMs(10), 30000);
}

// A radio an interrupt kept from its check is neither reachable nor not: it stays not started
// (nothing listens on 127.0.4.250 to 127.0.4.252; none is tried).
TEST(Rollout, AnInterruptedCheckCountsNoUntriedRadioReachable)
{
    QVector<RadioEntry> radios(3);
    for (int i = 0; i < radios.size(); ++i) {
        radios[i].name = radios[i].host = radios[i].address = QStringLiteral("127.0.4.%1").arg(250 + i);
        radios[i].port = 1111;
    }
    EventPublisher events(3);
    Interrupts interrupts;
    interrupts.stop.store(true);
    FleetRun fleet(events, radios, 1, interrupts);
    QVector<RadioOutcome> outcomes;
    EXPECT_EQ(fleet.Check(3000, outcomes), 130);
    EXPECT_EQ(RadioTally(outcomes)[RadioState::NotStarted], 3);
}

#ifdef Q_OS_UNIX // signals are a POSIX shell's; a Windows console's are events of its own
TEST(Rollout, AnInterruptDuringTheWavePauseEndsTheRunAtOnce)
{
    const QStringList radios = Radios(231, 2);
    RadioSimProcess sim(radios.first() + u'-' + radios.last());
    ASSERT_TRUE(sim.Ready());
    SpawnedUpdater updater(QStringList{"--json", "--canary", "1", "--wave-pause", "3600",
                                       TestSupport::WriteRandomFile("pause.dat", 2048)}
                           + radios);
    ASSERT_TRUE(updater.Started());
    // The first wave has ended and the pause is said.
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return updater.Out().contains("\"action\":\"pause\",\"event\":\"rollout\",\"group\":\"wave\",\"seconds\":3600,"); }, 10000));
    // Long enough for the second wave to have ended, had there been no pause.
    QThread::msleep(300);
    updater.Signal(SIGINT);
    ASSERT_TRUE(updater.Wait(10000));
    EXPECT_EQ(updater.TermSignal(), SIGINT);
    EXPECT_EQ(States(updater.Out()), QStringList({"231=updated", "232=not-started"}));
    // The rest of the canary was to start after the pause, which never ended.
    EXPECT_FALSE(updater.Out().contains("\"group\":\"rest\"")) << qPrintable(updater.Out());
}
#endif

TEST(Rollout, DeadlineStartsNoRadioAfterIt)
{
    const QStringList radios = Radios(224, 3);
    const QString failed = TestSupport::ScratchDir() + "/deadline.txt";
    // The first radio starts well within the deadline, even on a loaded machine, and programs
    // well past it.
    RadioSimProcess sim(radios.first() + u'-' + radios.last(), {"--program-delay", "4000"});
    ASSERT_TRUE(sim.Ready());
    const UpdaterOutcome o = RunUpdater(QStringList{"--json", "--jobs", "1", "--deadline", "2s", "--failed", failed,
                                                    TestSupport::WriteRandomFile("deadline.dat", 2048)}
                                        + radios);
    EXPECT_EQ(o.exitCode, 8) << qPrintable(o.err);
    EXPECT_EQ(States(o.out), QStringList({"224=updated", "225=not-started", "226=not-started"}));
    EXPECT_EQ(Events(o.out, "rollout").value(0).value("reason"), "deadline");
    QFile list(failed);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(FromProgram(list.readAll()).count("  # not-started: deadline\n"), 2); // CR LF on Windows
}

TEST(Rollout, PlanConnectsToNothingAndCheckListsTheUnreachable)
{
    const QStringList radios = Radios(227, 3);
    RadioSimProcess sim(radios[0] + u'-' + radios[1]);
    ASSERT_TRUE(sim.Ready());
    const QString image = TestSupport::WriteRandomFile("plan.dat", 3000);
    const QString failed = TestSupport::ScratchDir() + "/plan-failed.txt";
    const QString log = TestSupport::ScratchDir() + "/plan-books.jsonl";
    QFile::remove(failed);
    QFile::remove(log);
    UpdaterOutcome o = RunUpdater(QStringList{"--plan", "--json", "--canary", "1", "--max-failures", "1", "--jobs", "64",
                                              "--failed", failed, "--log", log, image, radios[0], radios[1] + ":1112", radios[2]});
    EXPECT_EQ(o.exitCode, 0) << qPrintable(o.err);
    const QList<QJsonObject> plan = Events(o.out);
    ASSERT_EQ(plan.size(), 1);
    EXPECT_EQ(plan[0].value("sha256"), TestSupport::FileSha256(image));
    EXPECT_EQ(plan[0].value("blocks"), 3);
    const QJsonArray waves = plan[0].value("waves").toArray();
    ASSERT_EQ(waves.size(), 2);
    EXPECT_EQ(waves[0].toArray().size(), 1);
    EXPECT_EQ(waves[1].toArray()[0].toObject().value("port"), 1112);
    // One wave of two behind a canary of one: a limit of one can still stop the last radio.
    EXPECT_TRUE(plan[0].value("notes").toArray().isEmpty());
    EXPECT_EQ(RunUpdater({"--plan", "--max-failures", "1", "--jobs", "3", image, radios[0], radios[1]}).out.count("note: "), 1);
    EXPECT_EQ(RunUpdater({"--plan", "nosuch.dat", radios[0]}).exitCode, 3);
    EXPECT_FALSE(QFile::exists(failed) || QFile::exists(log));
    EXPECT_EQ(sim.SessionsSoFar(300), 0);

    // The check leaves the radio that did not answer as a list to run again on.
    o = RunUpdater({"--check", "--failed", failed, image, radios[0], radios[2]});
    EXPECT_EQ(o.exitCode, 4);
    QFile list(failed);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(list.readAll()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("# not reachable by ")) << qPrintable(lines[0]);
    EXPECT_TRUE(lines[1].startsWith(radios[2] + "  # failed: not reachable")) << qPrintable(lines[1]);
}

} // namespace
