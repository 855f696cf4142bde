// Several radios at once: each radio's update (or reachability check) runs in a thread of its
// own, with its own event loop and engine objects, since the timed connection's blocking calls
// nest event loops and two radios must never share a thread. The image is one read-only copy
// that every thread reads; all output goes as events through one publisher.
#pragma once

#include "EventPublisher.h"
#include "Interrupts.h"
#include "RolloutPolicy.h"

#include "cli/radios/RadioList.h"

#include "engine/UpdateRun.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>

// The radio's side of an attempt in place of a connection, for tests: what attempt `attempt`
// (from 1) of `radio` ends with; and a call once a radio has ended and been counted.
struct RadioStandIn {
    std::function<UpdateResult(int radio, int attempt)> attempt;
    std::function<void(int radio)> ended;
};

class FleetRun {
    Q_DECLARE_TR_FUNCTIONS(FleetRun)

public:
    // The first stop of `interrupts` starts no further radio and ends connections and transfers;
    // radios that are programming are waited for until the second.
    FleetRun(EventPublisher& output, const QVector<RadioEntry>& radios, int jobs, const Interrupts& interrupts);

    // Updates every radio with `image` under `rules`; the outcomes in list order.
    QVector<RadioOutcome> Update(const QByteArray& image, quint16 language, const UpdateTimeouts& timeouts,
                                 const RolloutRules& rules = {});
    // Tests: attempts end as `standIn` says, with no radio; the rules are still asked.
    void SetStandIn(const RadioStandIn& standIn) { m_standIn = standIn; }
    // The rules of the running Update; tests look at them while it runs.
    const RolloutPolicy* Policy() const { return m_policy.get(); }
    // Opens a connection to every radio and closes it again without sending a byte; reports each
    // as reachable or why not, then how many were. Returns the check's status (the interrupt's,
    // else EXIT_NOT_REACHED when a radio was not reachable) with each radio's outcome in list
    // order: failed with why it was not reachable, updated when it was, and not started when an
    // interrupt left it unchecked.
    int Check(int connectTimeoutMs, QVector<RadioOutcome>& outcomes);

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
    // The event that says why no further radio starts, by the first cause.
    void StopEvent(const RolloutRules& rules, int failedRadio, int notStarted);
    // Waits `ms`, or less when an interrupt comes; false then.
    bool WaitUnlessStopped(int ms) const;

    EventPublisher& m_output;
    const QVector<RadioEntry> m_radios;
    const int m_jobs;
    const Interrupts& m_interrupts;
    // Each radio's phase, read by the waiting thread to say who is programming when stopped.
    std::unique_ptr<std::atomic<RadioPhase>[]> m_phases;
    RadioStandIn m_standIn;
    std::unique_ptr<RolloutPolicy> m_policy;
};
