// Host names in a fleet run, through a resolver of the test's own that can be slow, fail or
// never answer: every name is looked up once, before anything is sent; a radio named twice is
// seen on the resolved address; a name that does not resolve refuses the run; an interrupt
// ends the wait at once.
#include "cli/FleetCommand.h"
#include "cli/RunPlan.h"
#include "cli/radios/HostResolver.h"

#include "common/RadioSimProcess.h"
#include "common/TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTimer>
#include <gtest/gtest.h>

#include <thread>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Answers each known name after its delay; an unknown name after its delay with nothing; a
// name with a negative delay never.
class FakeResolver : public HostResolver {
public:
    struct Answer {
        int delayMs;
        QString address; // empty: no such name
    };
    explicit FakeResolver(QHash<QString, Answer> answers) : m_answers(std::move(answers)) {}

    int Start(const QString& name, QObject* context, Done done) override
    {
        ++m_lookups[name];
        const int id = ++m_lastId;
        const Answer answer = m_answers.value(name, {0, QString()});
        if (answer.delayMs < 0)
            return id;
        auto* timer = new QTimer(context);
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, context, [this, id, answer, done, timer] {
            timer->deleteLater();
            if (!m_aborted.contains(id))
                done(answer.address.isEmpty() ? QList<QHostAddress>() : QList<QHostAddress>{QHostAddress(answer.address)});
        });
        timer->start(answer.delayMs);
        return id;
    }
    void Abort(int id) override { m_aborted.insert(id); }

    QHash<QString, int> m_lookups;
    QSet<int> m_aborted;

private:
    QHash<QString, Answer> m_answers;
    int m_lastId = 0;
};

QVector<RadioEntry> Entries(const QStringList& texts)
{
    QVector<RadioEntry> radios;
    for (const QString& text : texts) {
        RadioEntry radio;
        QString why;
        EXPECT_TRUE(ParseRadio(text, 1111, radio, why)) << qPrintable(text);
        radios << radio;
    }
    return radios;
}

TEST(Resolve, EachNameOnceAllAtOnceAndAnnouncedWhenSlow)
{
    FakeResolver resolver({{"radio-slow.club", {600, "127.0.4.140"}}, {"van.local", {300, "::ffff:127.0.4.141"}}});
    QVector<RadioEntry> radios = Entries({"radio-slow.club", "127.0.4.142", "van.local:1112", "radio-slow.club:1113", "gone.example"});
    std::atomic<bool> stop{false};
    ResolveLimits limits;
    limits.timeoutMs = 2000;
    limits.announceAfterMs = 200;
    int announced = -1;
    EXPECT_EQ(ResolveRadios(radios, resolver, limits, stop, [&](int names) { announced = names; }), ResolveResult::Done);
    EXPECT_EQ(announced, 3);
    EXPECT_EQ(resolver.m_lookups, (QHash<QString, int>{{"radio-slow.club", 1}, {"van.local", 1}, {"gone.example", 1}}));
    QStringList addresses;
    for (const RadioEntry& radio : radios)
        addresses << radio.address + u' ' + QString::number(radio.port);
    EXPECT_EQ(addresses, QStringList({"127.0.4.140 1111", "127.0.4.142 1111", "127.0.4.141 1112", "127.0.4.140 1113", " 1111"}));
}

TEST(Resolve, InterruptEndsTheWaitAtOnce)
{
    FakeResolver resolver({{"never.example", {-1, QString()}}});
    QVector<RadioEntry> radios = Entries({"never.example"});
    std::atomic<bool> stop{false};
    ResolveLimits limits;
    limits.timeoutMs = 60000;
    QTimer::singleShot(100, [&] { stop.store(true); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ResolveRadios(radios, resolver, limits, stop, {}), ResolveResult::Interrupted);
    // Ended by the stop, nowhere near the minute the name was allowed.
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(resolver.m_aborted.size(), 1);
}

// The whole command with the fake resolver: a slow name that is another radio's address, and a
// name that does not resolve, refuse the run before anything reaches the radio.
TEST(Resolve, SlowDuplicateAndUnknownNameRefuseTheRun)
{
    RadioSimProcess sim(QStringLiteral("127.0.4.150"));
    ASSERT_TRUE(sim.Ready());
    CliOptions options;
    options.fileName = TestSupport::WriteRandomFile("resolve.dat", 2048);
    options.timeouts.connectMs = 3000;
    Interrupts interrupts;
    FakeResolver resolver({{"radio-slow.club", {1200, "127.0.4.150"}}, {"never.example", {-1, QString()}}});

    options.addresses = QStringList{"radio-slow.club", "127.0.4.150"};
    EXPECT_EQ(RunFleet(options, 0x0409, resolver, interrupts), 2);
    // A name with no address says which of the two; the plan's columns line up.
    RunPlan plan;
    QString why;
    const auto build = [&](const QString& name) {
        options.addresses = QStringList{"127.0.4.150", name};
        plan = RunPlan();
        return BuildRunPlan(options, 0x0409, resolver, interrupts, 0, plan, why);
    };
    EXPECT_EQ((build("nosuch.example") == 2 ? why : QString()).toStdString(), "nosuch.example: no such radio name (it does not resolve)");
    EXPECT_EQ((build("never.example") == 2 ? why : QString()).toStdString(), "never.example: no address for the name within 3000 ms");
    // --deadline 90s is told by the wall clock and kept on the steady clock, which no time
    // service steps.
    options.deadlineSeconds = 90;
    ASSERT_EQ(build("[::1]:1112"), 0);
    options.deadlineSeconds = 0;
    EXPECT_TRUE(PlanText(plan).contains("  127.0.4.150  127.0.4.150  port 1111\n  [::1]:1112   ::1          port 1112\n"));
    EXPECT_EQ(plan.rules.deadlineShownMs, 90000);
    EXPECT_NEAR(double(plan.rules.deadlineMs - SteadyClockMs()), 90000.0, 5000.0);
    // Then the radio itself, by its name: it is the simulator's first session.
    options.addresses = QStringList{"radio-slow.club"};
    options.json = true;
    EXPECT_EQ(RunFleet(options, 0x0409, resolver, interrupts), 0);
    EXPECT_EQ(sim.Summary().value("session"), "1");
}

// With --json, a run interrupted while it looks up names still ends with its "error" event,
// under the signal's status; nothing else reaches standard output.
TEST(Resolve, InterruptedLookupEndsWithAnErrorEvent)
{
    CliOptions options;
    options.fileName = TestSupport::WriteRandomFile("resolve-json.dat", 2048);
    options.addresses = QStringList{"never.example"};
    options.json = true;
    Interrupts interrupts;
    FakeResolver resolver({{"never.example", {-1, QString()}}});
    QTimer::singleShot(100, [&] { interrupts.signal.store(SIGTERM), interrupts.stop.store(true); });
    const QString captured = TestSupport::ScratchDir() + "/resolve-json.out";
    std::fflush(stdout);
    const int saved = ::dup(1), file = ::open(QFile::encodeName(captured).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(file, 1);
    const int status = RunFleet(options, 0x0409, resolver, interrupts);
    std::fflush(stdout);
    ::dup2(saved, 1);
    ::close(saved), ::close(file);
    QFile out(captured);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = out.readAll().trimmed().split('\n');
    EXPECT_EQ(status, 143);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains("\"event\":\"error\"") && lines[0].contains("\"exit\":143")) << lines[0].constData();
}

} // namespace
