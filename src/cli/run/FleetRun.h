// Several radios at once: each radio's update (or reachability check) runs in a thread of its
// own, with its own event loop and engine objects, since the timed connection's blocking calls
// nest event loops and two radios must never share a thread. The image is one read-only copy
// that every thread reads; all output goes as events through one publisher.
#pragma once

#include "EventPublisher.h"
#include "Interrupts.h"

#include "cli/radios/RadioList.h"

#include "engine/UpdateRun.h"

#include <QByteArray>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>

inline constexpr int MAX_JOBS = 64;
// The check sends nothing, so it may knock on this many radios at once whatever --jobs says.
inline constexpr int CHECK_JOBS = 64;

// A radio tried again waits this long before its second attempt, twice as long before each next
// one, but never longer than the most: a radio that is rebooting gets time, a fleet no stall.
inline constexpr int RETRY_FIRST_DELAY_MS = 1000;
inline constexpr int RETRY_MOST_DELAY_MS = 30000;

// How long a radio waits after its failed attempt `attempt` (1, 2, ...) before the next.
int RetryDelayMs(int attempt);
// "1 radio", "4 radios".
QString RadioCount(int radios);

// How a rollout protects the fleet: waves that start one after the other, a limit of failures
// after which no further radio starts, more attempts for a radio that failed before it was told
// to program, and a time after which no radio starts.
struct RolloutRules {
    QVector<int> waves;   // the sizes of the waves in list order; empty: one wave of all
    bool canary = false;  // the first wave is a canary: its events and reason say so
    int failureLimit = 0; // 0: none, and then a wave in which a radio failed is the last
    int retries = 0;      // more attempts after a failure before the program command
    int wavePauseMs = 0;  // the wait between two waves
    qint64 deadlineMs = 0; // milliseconds since the epoch after which no radio starts; 0: none
    // The deadline's clock (milliseconds since the epoch) and the wait between waves and between
    // attempts (false when an interrupt ended it); unset, the real ones. Tests pass their own.
    std::function<qint64()> now;
    std::function<bool(int ms)> wait;
};

class CFleetRun {
public:
    // The first stop of `interrupts` starts no further radio and ends connections and transfers;
    // radios that are programming are waited for until the second.
    CFleetRun(CEventPublisher& output, const QVector<RadioEntry>& radios, int jobs, const Interrupts& interrupts);

    // Updates every radio with `image` under `rules`; the outcomes in list order.
    QVector<RadioOutcome> Update(const QByteArray& image, quint16 language, const UpdateTimeouts& timeouts,
                                 const RolloutRules& rules = {});
    // Opens a connection to every radio and closes it again without sending a byte; reports each
    // as reachable or why not, and returns why each radio was not reachable, in list order
    // (empty: reachable, or not checked after an interrupt).
    QVector<QString> Check(int connectTimeoutMs);

    // 0 when every radio was updated, the interrupt's status (130, 143) when interrupted, else
    // the status of the first radio in list order that failed (the deadline's when none did).
    static int ExitCode(const QVector<RadioOutcome>& outcomes, const Interrupts& interrupts);

private:
    // Runs `job` for each radio index from `first` to before `end` on up to `jobs` threads, in
    // list order, and returns once all have ended or were never started: after a stop, or once
    // `mayStart` says no.
    void ForEachRadio(int jobs, int first, int end, const std::function<bool()>& mayStart,
                      const std::function<void(int)>& job);
    // The events that say a group starts or ends or that new radios stop.
    void RolloutEvent(const QString& text, const QJsonObject& fields);
    // Waits `ms`, or less when an interrupt comes; false then.
    bool WaitUnlessStopped(int ms) const;

    CEventPublisher& m_output;
    const QVector<RadioEntry> m_radios;
    const int m_jobs;
    const Interrupts& m_interrupts;
    // Each radio's phase, read by the waiting thread to say who is programming when stopped.
    std::unique_ptr<std::atomic<RadioPhase>[]> m_phases;
};
