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

// The exit status when a run was interrupted (128 + SIGINT, as shells report it).
inline constexpr int EXIT_INTERRUPTED = 130;
inline constexpr int MAX_JOBS = 64;
// The check sends nothing, so it may knock on this many radios at once whatever --jobs says.
inline constexpr int CHECK_JOBS = 64;

// How a rollout protects the fleet: a first group that must all take the image, and a limit of
// failures after which no further radio starts.
struct RolloutRules {
    int canary = 0;       // the first radios of the list, updated first as a group of their own
    int failureLimit = 0; // 0: none
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
    // as reachable or why not, and returns the radios that were not reachable, in list order.
    QStringList Check(int connectTimeoutMs);

    // 0 when every radio was updated, 130 when interrupted, else the status of the first radio
    // in list order that was not updated.
    static int ExitCode(const QVector<RadioOutcome>& outcomes, bool interrupted);

private:
    // Runs `job` for each radio index from `first` to before `end` on up to `jobs` threads, in
    // list order, and returns once all have ended or were never started: after a stop, or once
    // `mayStart` says no.
    void ForEachRadio(int jobs, int first, int end, const std::function<bool()>& mayStart,
                      const std::function<void(int)>& job);
    // The events that say a group starts or that new radios stop.
    void RolloutEvent(const QString& text, const QJsonObject& fields);

    CEventPublisher& m_output;
    const QVector<RadioEntry> m_radios;
    const int m_jobs;
    const Interrupts& m_interrupts;
    // Each radio's phase, read by the waiting thread to say who is programming when stopped.
    std::unique_ptr<std::atomic<RadioPhase>[]> m_phases;
};
