// The rollout's rules against a small model of them written here, over random fleets run by the
// real run with stand-in radios. ROLLOUT_SEED=N replays the cases of seed N.
#include "cli/run/FleetRun.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <random>
#include <thread>

namespace {

constexpr qint64 START_MS = 1000000; // the run's clock at its start

using Attempt = std::pair<UpdateResult, int>; // how it ends, and the time it takes

struct Fleet {
    int radios, jobs;
    RolloutRules rules; // the waves and the limit left to the options below
    QVector<QVector<Attempt>> attempts; // per radio; past the last it is updated at once
    // The options as given: --waves, --canary, --max-failures N or P%.
    QVector<WaveSize> waves;
    int canary = 0, maxFailures = 0, maxPercent = 0;
    // Once radio `stopAfter` has ended (-1: never): an interrupt, or the output closed.
    int stopAfter = -1;
    bool closeOutput = false;
    Attempt At(int radio, int n) const { return attempts[radio].value(n - 1, {UpdateResult::Updated, 0}); }
    // The model's own reading of the options: a share rounded down but at least 1, the last
    // size repeating; a canary of N is N,100%; a share of failures rounded up.
    QVector<int> Waves() const
    {
        const QVector<WaveSize> given = canary > 0 ? QVector<WaveSize>{{canary, false}, {100, true}} : waves;
        QVector<int> sizes;
        for (int left = radios, i = 0; left > 0; left -= sizes.last(), ++i) {
            const WaveSize w = given.isEmpty() ? WaveSize{radios, false} : given[qMin(i, int(given.size()) - 1)];
            sizes << qMin(left, w.share ? qMax(1, radios * w.value / 100) : w.value);
        }
        return sizes;
    }
    int Limit() const { return maxPercent > 0 ? (radios * maxPercent + 99) / 100 : maxFailures; }
};

Fleet RandomFleet(std::mt19937& random)
{
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    Fleet f{pick(1, 40), pick(1, 6), {}, {}};
    f.canary = pick(0, 2) == 1 && f.radios > 1 ? pick(1, f.radios - 1) : 0;
    f.rules.canary = f.canary > 0;
    for (int n = f.canary == 0 && pick(0, 1) ? pick(1, 3) : 0; n > 0; --n)
        f.waves << (pick(0, 1) ? WaveSize{pick(1, 100), true} : WaveSize{pick(1, f.radios), false});
    const int limitKind = pick(0, 2); // none, a count, a share
    if (limitKind == 1)
        f.maxFailures = pick(1, f.radios / 2 + 1);
    if (limitKind == 2)
        f.maxPercent = pick(1, 100);
    f.rules.retries = pick(0, 3);
    f.rules.wavePauseMs = pick(0, 1) * pick(0, 20000);
    f.rules.deadlineMs = pick(0, 1) * (START_MS + pick(1, 30000));
    const UpdateResult kinds[] = {UpdateResult::Updated, UpdateResult::RadioNotFound, UpdateResult::TransferFailed,
                                  UpdateResult::ProgramRefused, UpdateResult::NoProgramReply};
    for (int radio = 0, n = 0; radio < f.radios; ++radio)
        for (f.attempts << QVector<Attempt>(), n = pick(0, 3) == 0 ? pick(1, 4) : 0; n > 0; --n)
            f.attempts.last() << Attempt{kinds[pick(0, 4)], pick(0, 2000)};
    f.stopAfter = pick(0, 3) == 0 ? pick(0, f.radios - 1) : -1;
    f.closeOutput = pick(0, 1) == 1;
    return f;
}

// Per radio "updated 1", "failed 2", "failed 2 cut" (the deadline came before the next attempt)
// or "not-started REASON"; then the run's status and the time it took.
QStringList Model(const Fleet& f)
{
    RolloutRules r = f.rules;
    r.failureLimit = f.Limit();
    qint64 clock = START_MS;
    int failures = 0, status = 0;
    QString cause; // the first reason radios were left out
    QVector<bool> started(f.radios, false);
    QStringList story(f.radios);
    bool interrupted = false, closed = false; // from the end of radio f.stopAfter on
    const auto mayStart = [&] {
        cause = !cause.isEmpty()                                        ? cause
                : interrupted                                           ? "interrupted before it started"
                : closed                                                ? "output closed"
                : r.failureLimit > 0 && failures >= r.failureLimit     ? "failure limit"
                : r.deadlineMs > 0 && clock >= r.deadlineMs             ? "deadline"
                                                                        : "";
        return cause.isEmpty();
    };
    const auto run = [&](int radio) {
        int n = 1;
        for (QString cut;; ++n, clock += qMin(30000, 1000 << (n - 2))) {
            const Attempt a = f.At(radio, n);
            clock += a.second;
            const bool again = (a.first == UpdateResult::RadioNotFound || a.first == UpdateResult::TransferFailed) && n <= r.retries;
            if (again && r.deadlineMs > 0 && r.deadlineMs - clock < qMin(30000, 1000 << (n - 1)))
                cut = " cut";
            // An interrupt cancels the attempts to come, unless the deadline cut them first.
            if (again && cut.isEmpty() && !interrupted)
                continue;
            story[radio] = QStringLiteral("%1 %2%3").arg(a.first == UpdateResult::Updated ? "updated" : "failed").arg(n).arg(cut);
            const int exits[] = {0, 3, 4, 5, 6, 7}; // as the manual numbers them
            status = status == 0 ? exits[int(a.first)] : status;
            if (a.first != UpdateResult::Updated && ++failures == r.failureLimit && started.contains(false) && cause.isEmpty())
                cause = r.canary && radio < f.Waves().first() ? "canary failed" : "failure limit";
            return a.first != UpdateResult::Updated;
        }
    };
    const QVector<int> waves = f.Waves();
    for (int wave = 0, begin = 0; wave < waves.size(); begin += waves[wave++]) {
        const int end = begin + waves[wave];
        const qint64 pause = wave == 0 ? 0 : r.deadlineMs > 0 ? qBound<qint64>(0, r.deadlineMs - clock, qint64(r.wavePauseMs)) : r.wavePauseMs;
        if (pause > 0 && interrupted)
            break;
        clock += pause;
        if (!mayStart())
            break;
        // The first `jobs` radios start together, each next one when the earliest running ends.
        for (int radio = begin; radio < qMin(end, begin + f.jobs); ++radio)
            started[radio] = mayStart();
        bool failed = false;
        for (int radio = begin; radio < end && started[radio]; ++radio) {
            failed = run(radio) || failed;
            interrupted = interrupted || (radio == f.stopAfter && !f.closeOutput);
            closed = closed || (radio == f.stopAfter && f.closeOutput);
            if (radio + f.jobs < end)
                started[radio + f.jobs] = mayStart();
        }
        // After an interrupt no wave follows, whatever this one's failures say.
        if (interrupted)
            break;
        if (end < f.radios && cause.isEmpty() && failed && (r.failureLimit == 0 || r.canary))
            cause = r.canary ? QStringLiteral("canary failed") : QStringLiteral("wave %1 failed").arg(wave + 1);
        if (!cause.isEmpty())
            break;
    }
    // An interrupt speaks for every radio it kept from starting, whatever stopped new ones first.
    for (QString& s : story)
        s = s.isEmpty() ? "not-started " + (interrupted ? QStringLiteral("interrupted before it started") : cause) : s;
    status = interrupted ? 130 : status == 0 && !cause.isEmpty() && started.contains(false) ? 8 : status;
    return story << QString::number(status) << QString::number(clock - START_MS);
}

// The real run. An attempt ends only once every radio before it has ended and those that start
// beside it have started or been kept from it: the order of radios that end in list order.
QStringList Real(const Fleet& f)
{
    std::mutex mutex;
    QVector<bool> entered(f.radios, false), ended(f.radios, false);
    std::atomic<qint64> clock{START_MS};
    RolloutRules rules = f.rules;
    // The real rules read the options.
    rules.waves = RolloutPolicy::WaveSizes(f.waves, f.canary, f.radios);
    rules.failureLimit = RolloutPolicy::FailureLimit(f.maxFailures, f.maxPercent, f.radios);
    rules.now = [&] { return clock.load(); };
    Interrupts interrupts;
    // As the real wait: an interrupt ends it at once.
    rules.wait = [&](int ms) { return !interrupts.stop.load() && (clock += ms, true); };
    QVector<int> waveEnd;
    for (int size : rules.waves)
        waveEnd << QVector<int>(size, waveEnd.size() + size);
    EventPublisher output(f.radios);
    FleetRun fleet(output, QVector<RadioEntry>(f.radios), f.jobs, interrupts);
    const auto mayReturn = [&](int radio) {
        // An interrupt keeps radios from starting without asking the rules.
        const bool stopped = fleet.Policy()->Cause() != LeftOut::None || interrupts.stop.load();
        for (int before = 0; before < radio; ++before)
            if (!ended[before] && (entered[before] || !stopped))
                return false;
        for (int beside = radio + 1; beside < qMin(waveEnd[radio], radio + f.jobs); ++beside)
            if (!entered[beside] && !stopped)
                return false;
        return true;
    };
    // Plain locks and short sleeps: the thread checker sees through these, not through a
    // condition variable's wait on the steady clock. A start refused tells no one, so it is looked
    // for; a stand-in waits 10 s at most, and the case then fails. The bound is a time, not a count
    // of sleeps: Windows sleeps whole milliseconds, and a shorter sleep returns at once there.
    fleet.SetStandIn({[&](int radio, int n) {
                          std::unique_lock<std::mutex> lock(mutex);
                          entered[radio] = true;
                          const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                          for (int tries = 0; !mayReturn(radio) && tries < 10000000 && std::chrono::steady_clock::now() < giveUp; ++tries) {
                              lock.unlock();
                              std::this_thread::sleep_for(std::chrono::microseconds(100));
                              lock.lock();
                          }
                          clock += f.At(radio, n).second;
                          return f.At(radio, n).first;
                      },
                      [&](int radio) {
                          std::lock_guard<std::mutex> lock(mutex);
                          if (radio == f.stopAfter)
                              (f.closeOutput ? interrupts.outputClosed : interrupts.stop).store(true);
                          ended[radio] = true;
                      }});
    const QVector<RadioOutcome> outcomes = fleet.Update({}, 0, {}, rules);
    QStringList story;
    for (const RadioOutcome& o : outcomes)
        story << StateWord(o.state) + u' '
                     + (o.state == RadioState::NotStarted ? o.text
                                                          : QString::number(o.attempts) + (o.text.contains("deadline") ? " cut" : ""));
    return story << QString::number(FleetRun::ExitCode(outcomes, interrupts)) << QString::number(clock - START_MS);
}

TEST(RolloutModel, RandomFleetsFollowTheRules)
{
    const unsigned seed = qEnvironmentVariableIsSet("ROLLOUT_SEED") ? qEnvironmentVariableIntValue("ROLLOUT_SEED") : 20261209u;
    std::mt19937 random(seed);
    const int cases = 300;
    for (int n = 0, failed = 0; n < cases && failed < 3; ++n) {
        const Fleet f = RandomFleet(random);
        const std::string expected = Model(f).join(" | ").toStdString(), got = Real(f).join(" | ").toStdString();
        failed += got == expected ? 0 : 1;
        EXPECT_EQ(got, expected) << "case " << n << " of seed " << seed << ": ROLLOUT_SEED=" << seed << " replays it";
    }
    std::printf("rollout model: %d cases, seed %u\n", cases, seed);
}

} // namespace
