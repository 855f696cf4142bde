// The rules of a rollout in one place: whether a radio starts, whether a failed attempt is tried
// again, whether the next wave comes, how long a wait may last, and why radios were left out.
// The run asks it at each of those points; --plan prints what it says. Any thread may ask.
#pragma once

#include "FleetEvent.h"

#include "engine/UpdateRun.h"

#include <QCoreApplication>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>

// A radio tried again waits this long before its second attempt, twice as long before each next
// one, but never longer than the most: a radio that is rebooting gets time, a fleet no stall.
inline constexpr int RETRY_FIRST_DELAY_MS = 1000;
inline constexpr int RETRY_MOST_DELAY_MS = 30000;

// How long a radio waits after its failed attempt `attempt` (1, 2, ...) before the next.
int RetryDelayMs(int attempt);

// One wave as the command line gives it (--waves): a count of radios, or a share of the fleet in
// percent.
struct WaveSize {
    int value = 0;
    bool share = false;
};

// How a rollout protects the fleet: waves that start one after the other, a limit of failures
// after which no further radio starts, more attempts for a radio that failed before it was told
// to program, and a time after which no radio starts.
struct RolloutRules {
    QVector<int> waves;   // the sizes of the waves in list order; empty: one wave of all
    bool canary = false;  // the first wave is a canary: any failure in it stops the rollout
    int failureLimit = 0; // 0: none, and then a wave in which a radio failed is the last
    int retries = 0;      // more attempts after a failure before the program command
    int wavePauseMs = 0;  // the wait between two waves
    qint64 deadlineMs = 0; // on the deadline's clock, after which no radio starts; 0: none
    qint64 deadlineShownMs = 0; // the same instant in milliseconds since the epoch, as texts tell it
    // The deadline's clock (the steady clock, which no time service steps: SteadyClockMs) and the
    // wait between waves and between attempts (false when an interrupt ended it); unset, the
    // real ones. Tests pass their own.
    std::function<qint64()> now;
    std::function<bool(int ms)> wait;
};

// The steady clock in milliseconds: the deadline's, so that a wall clock stepped by the network's
// time service neither ends a run early nor lets it run late.
qint64 SteadyClockMs();

// Why radios were left out, the first cause that came; the order is the one the run reports.
enum class LeftOut { None, Interrupted, OutputClosed, Deadline, FailureLimit, CanaryFailed, WaveFailed };

class RolloutPolicy {
    Q_DECLARE_TR_FUNCTIONS(RolloutPolicy)

public:
    RolloutPolicy(const RolloutRules& rules, int radios);

    // From the options to the rules. The sizes of the waves of `radios` radios in order, adding
    // up to them: `waves` (a share rounded down, at least 1; the last size repeats), a canary of
    // N as N,100%, else one wave.
    static QVector<int> WaveSizes(const QVector<WaveSize>& waves, int canary, int radios);
    // The failure limit for `radios` radios: `count`, or `percent` of them rounded up; 0 for none.
    static int FailureLimit(int count, int percent, int radios);
    // Whether the failure limit can ever keep a radio of `waves` from starting, with `jobs` at once.
    static bool LimitCanStopARadio(const QVector<int>& waves, int jobs, int limit);

    // The waves' sizes, adding up to the radios.
    const QVector<int>& Waves() const { return m_waves; }
    bool IsCanary(int wave) const { return m_rules.canary && wave == 0; }

    // Whether a radio may start now: no once an interrupt, a closed output, the failure limit or
    // the deadline says so. The first no keeps its cause; `firstNo` is set when it is this one.
    bool MayStart(bool interrupted, bool outputClosed, bool* firstNo = nullptr);

    // After a radio's attempt `attempt` ended in `result` with the radio `failed`: how long to
    // wait before the next attempt, or -1 for none. Only what fails before the program command
    // goes out is tried again: a radio told to program may be programming still.
    int RetryWaitMs(int attempt, UpdateResult result, bool failed) const;
    // How much of a wait of `ms` is left before the deadline; the wait ends there.
    int WaitBeforeDeadline(int ms) const;
    bool PastDeadline() const;

    // Radio `radio` ended, failed or not; true when it is the failure that reached the limit and
    // `waiting` radios have not started: it stops them (as a failed canary when it is one).
    bool Ended(bool failed, int waiting, int radio);
    // After wave `wave` (from 0) ended with `failed` radios failed: whether the next may come.
    // With no failure limit a failed wave is the last; a failed canary always is.
    bool NextWave(int wave, int failed);

    LeftOut Cause() const { return m_cause.load(); }
    int FailedWave() const { return m_failedWave.load(); }
    // The text a radio left out carries: "deadline", "canary failed", "output closed", ... in
    // the reader's language, or in English (`english`) as JSON keeps it.
    QString LeftOutText(bool interrupted, bool english = false) const;
    // 0 when every radio was updated, else the status of the first radio in list order not
    // updated that has one, else the deadline's (only the deadline leaves radios out with none
    // failed). The interrupt's and the output's statuses are the caller's.
    static int ExitCode(const QVector<RadioOutcome>& outcomes);

    // The rules as --plan tells them, one sentence a line.
    QStringList Describe() const;

private:
    qint64 Now() const;
    bool StopBy(LeftOut cause);

    const RolloutRules m_rules;
    const QVector<int> m_waves;
    std::atomic<int> m_failures{0};
    std::atomic<bool> m_canaryFailed{false}; // a radio of the canary failed: that is why it stops
    std::atomic<LeftOut> m_cause{LeftOut::None};
    std::atomic<int> m_failedWave{0}; // counted from 1
};
