// The rollout's rules against a small model of them written here: random fleets, each run by the
// real run with stand-in radios whose attempts end in turn, so that every case has one answer.
// ROLLOUT_SEED=N replays the cases of seed N (a failing case prints its seed and number).
#include "cli/run/FleetRun.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>

namespace {

constexpr qint64 START_MS = 1000000; // the run's clock at its start
constexpr int CASES = 300;

struct Fleet {
    int radios = 0;
    int jobs = 1;
    RolloutRules rules;
    // Per radio, the result of each attempt (the radio takes it after those run out) and the
    // time it takes.
    QVector<QVector<UpdateResult>> results;
    QVector<QVector<int>> takesMs;

    UpdateResult Result(int radio, int attempt) const
    {
        return results[radio].value(attempt - 1, UpdateResult::Updated);
    }
    int TakesMs(int radio, int attempt) const { return takesMs[radio].value(attempt - 1, 0); }
};

// What happened to one radio: "updated 1", "failed 3", "failed 2 cut", "not-started deadline".
using Story = QStringList;

Fleet RandomFleet(std::mt19937& random)
{
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    Fleet f;
    f.radios = pick(1, 40);
    f.jobs = pick(1, 6);
    const int shape = pick(0, 2);
    if (shape == 1 && f.radios > 1) {
        const int canary = pick(1, f.radios - 1);
        f.rules.canary = true;
        f.rules.waves = {canary, f.radios - canary};
    } else if (shape == 2) {
        for (int left = f.radios; left > 0; left -= f.rules.waves.last())
            f.rules.waves << pick(1, left);
    }
    f.rules.failureLimit = pick(0, 1) ? pick(1, f.radios / 2 + 1) : 0;
    f.rules.retries = pick(0, 3);
    f.rules.wavePauseMs = pick(0, 1) * pick(0, 20000);
    f.rules.deadlineMs = pick(0, 1) ? START_MS + pick(1, 30000) : 0;
    const UpdateResult kinds[] = {UpdateResult::Updated, UpdateResult::Updated, UpdateResult::Updated,
                                  UpdateResult::RadioNotFound, UpdateResult::TransferFailed,
                                  UpdateResult::ProgramRefused, UpdateResult::NoProgramReply};
    for (int radio = 0; radio < f.radios; ++radio) {
        QVector<UpdateResult> results;
        QVector<int> takes;
        for (int attempt = pick(0, 3) == 0 ? pick(1, 4) : 0; attempt > 0; --attempt) {
            results << kinds[pick(0, 6)];
            takes << pick(0, 2000);
        }
        f.results << results;
        f.takesMs << takes;
    }
    return f;
}

// The rules as the manual tells them, with the run's exit status last.
Story Model(const Fleet& f)
{
    const RolloutRules& r = f.rules;
    qint64 clock = START_MS;
    int failures = 0;
    QString cause; // the first reason radios were left out
    QVector<bool> started(f.radios, false);
    Story story(f.radios);
    const auto mayStart = [&] {
        if (cause.isEmpty() && r.failureLimit > 0 && failures >= r.failureLimit)
            cause = "failure limit";
        if (cause.isEmpty() && r.deadlineMs > 0 && clock >= r.deadlineMs)
            cause = "deadline";
        return cause.isEmpty();
    };
    const auto run = [&](int radio) {
        bool failed = false;
        int attempt = 1;
        for (;; ++attempt) {
            const UpdateResult result = f.Result(radio, attempt);
            clock += f.TakesMs(radio, attempt);
            failed = result != UpdateResult::Updated;
            const bool beforeProgram = result == UpdateResult::RadioNotFound || result == UpdateResult::TransferFailed;
            if (!failed || !beforeProgram || attempt > r.retries)
                break;
            const int delayMs = qMin(30000, 1000 << (attempt - 1));
            if (r.deadlineMs > 0 && r.deadlineMs - clock < delayMs) {
                story[radio] = QStringLiteral("failed %1 cut").arg(attempt);
                break;
            }
            clock += delayMs;
        }
        if (story[radio].isEmpty())
            story[radio] = QStringLiteral("%1 %2").arg(failed ? "failed" : "updated").arg(attempt);
        if (failed && ++failures == r.failureLimit && started.contains(false) && cause.isEmpty())
            cause = "failure limit";
        return failed;
    };
    const QVector<int> waves = r.waves.isEmpty() ? QVector<int>{f.radios} : r.waves;
    for (int wave = 0, begin = 0; wave < waves.size(); begin += waves[wave], ++wave) {
        const int end = begin + waves[wave];
        if (wave > 0 && r.wavePauseMs > 0)
            clock += r.deadlineMs > 0 ? qBound<qint64>(0, r.deadlineMs - clock, qint64(r.wavePauseMs)) : r.wavePauseMs;
        if (!mayStart())
            break;
        // The first `jobs` radios start together; each next one when the earliest running ends.
        for (int radio = begin; radio < qMin(end, begin + f.jobs); ++radio)
            started[radio] = mayStart();
        int failedHere = 0;
        for (int radio = begin; radio < end && started[radio]; ++radio) {
            failedHere += run(radio) ? 1 : 0;
            if (radio + f.jobs < end)
                started[radio + f.jobs] = mayStart();
        }
        if (end == f.radios || !cause.isEmpty())
            break;
        if (failedHere > 0 && (r.failureLimit == 0 || (r.canary && wave == 0))) {
            cause = r.canary && wave == 0 ? QStringLiteral("canary failed") : QStringLiteral("wave %1 failed").arg(wave + 1);
            break;
        }
    }
    // The first radio in list order that failed gives the status; the deadline's only when none did.
    const int exits[] = {0, 3, 4, 5, 6, 7}; // by UpdateResult, as the manual numbers them
    int status = 0;
    bool leftOut = false;
    for (int radio = 0; radio < f.radios; ++radio) {
        if (story[radio].isEmpty()) {
            story[radio] = "not-started " + cause;
            leftOut = true;
        } else if (status == 0 && story[radio].startsWith("failed")) {
            status = exits[int(f.Result(radio, story[radio].section(u' ', 1, 1).toInt()))];
        }
    }
    status = status == 0 && leftOut ? 8 : status;
    // The time it took tells the waits: a retry's, a pause and where the deadline cut them.
    story << QString::number(status) << QString::number(clock - START_MS);
    return story;
}

// The real run over stand-in radios. An attempt ends only once every radio before it has ended
// and the radios that start beside it (up to --jobs) have started or been kept from it: the
// order a run takes when radios end in list order, whatever the threads do.
Story Real(const Fleet& f)
{
    std::mutex mutex;
    std::condition_variable changed;
    QVector<bool> entered(f.radios, false);
    QVector<bool> ended(f.radios, false);
    std::atomic<qint64> clock{START_MS};
    RolloutRules rules = f.rules;
    rules.now = [&] { return clock.load(); };
    rules.wait = [&](int ms) { return clock += ms, true; };
    QVector<int> waveEnd(f.radios);
    const QVector<int> waves = rules.waves.isEmpty() ? QVector<int>{f.radios} : rules.waves;
    for (int wave = 0, begin = 0; wave < waves.size(); begin += waves[wave++])
        std::fill(waveEnd.begin() + begin, waveEnd.begin() + begin + waves[wave], begin + waves[wave]);

    CEventPublisher output(f.radios);
    QVector<RadioEntry> radios(f.radios);
    Interrupts interrupts;
    CFleetRun fleet(output, radios, f.jobs, interrupts);
    const auto stopped = [&] { return fleet.Policy()->Cause() != LeftOut::None; };
    RadioStandIn standIn;
    standIn.attempt = [&](int radio, int attempt) {
        std::unique_lock<std::mutex> lock(mutex);
        entered[radio] = true;
        changed.notify_all();
        const auto turn = [&] {
            for (int before = 0; before < radio; ++before) {
                if (!ended[before] && (entered[before] || !stopped()))
                    return false;
            }
            for (int beside = radio + 1; beside < qMin(waveEnd[radio], radio + f.jobs); ++beside) {
                if (!entered[beside] && !stopped())
                    return false;
            }
            return true;
        };
        // A rule decided without telling anyone (a start refused) is seen within a millisecond;
        // a stand-in waits at most ten seconds in all, and the case then fails.
        for (int waited = 0; !turn() && waited < 10000; ++waited)
            changed.wait_for(lock, std::chrono::milliseconds(1));
        clock += f.TakesMs(radio, attempt);
        return f.Result(radio, attempt);
    };
    standIn.ended = [&](int radio) {
        std::lock_guard<std::mutex> lock(mutex);
        ended[radio] = true;
        changed.notify_all();
    };
    fleet.SetStandIn(standIn);
    const QVector<RadioOutcome> outcomes = fleet.Update({}, 0, {}, rules);
    Story story;
    for (const RadioOutcome& o : outcomes) {
        if (o.state == RadioState::NotStarted)
            story << StateWord(o.state) + u' ' + o.text;
        else
            story << QStringLiteral("%1 %2%3").arg(StateWord(o.state)).arg(o.attempts).arg(o.text.contains("deadline") ? " cut" : "");
    }
    story << QString::number(CFleetRun::ExitCode(outcomes, interrupts)) << QString::number(clock - START_MS);
    return story;
}

TEST(RolloutModel, RandomFleetsFollowTheRules)
{
    const unsigned seed = qEnvironmentVariableIsSet("ROLLOUT_SEED") ? qEnvironmentVariableIntValue("ROLLOUT_SEED") : 20261209u;
    std::mt19937 random(seed);
    int failed = 0;
    for (int n = 0; n < CASES && failed < 3; ++n) {
        const Fleet f = RandomFleet(random);
        const Story expected = Model(f);
        const Story got = Real(f);
        if (got == expected)
            continue;
        ++failed;
        QStringList waves;
        for (int size : f.rules.waves)
            waves << QString::number(size);
        ADD_FAILURE() << "seed " << seed << ", case " << n << ": " << f.radios << " radios, --jobs " << f.jobs
                      << ", waves " << qPrintable(waves.join(u',')) << (f.rules.canary ? " canary" : "")
                      << ", limit " << f.rules.failureLimit << ", retries " << f.rules.retries << ", pause "
                      << f.rules.wavePauseMs << ", deadline +" << (f.rules.deadlineMs ? f.rules.deadlineMs - START_MS : 0)
                      << "\n  model: " << qPrintable(expected.join(" | ")) << "\n  run:   " << qPrintable(got.join(" | "));
    }
    std::printf("rollout model: %d cases, seed %u\n", CASES, seed);
}

} // namespace
