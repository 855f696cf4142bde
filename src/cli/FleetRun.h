// Several radios at once: each radio's update (or reachability check) runs in a thread of its
// own, with its own event loop and engine objects, since the timed connection's blocking calls
// nest event loops and two radios must never share a thread. The image is one read-only copy
// that every thread reads; all output goes through one CFleetOutput.
#pragma once

#include "FleetOutput.h"

#include "engine/UpdateRun.h"

#include <QByteArray>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>

// The exit status when a run was interrupted (128 + SIGINT, as shells report it).
inline constexpr int EXIT_INTERRUPTED = 130;
inline constexpr int MAX_JOBS = 64;

class CFleetRun {
public:
    // `stop` ends the run early: no further radio starts and running ones end promptly.
    CFleetRun(CFleetOutput& output, const QStringList& radios, int jobs, const std::atomic<bool>& stop);

    // Updates every radio with `image`; the outcomes in list order.
    QVector<RadioOutcome> Update(const QByteArray& image, quint16 language, const UpdateTimeouts& timeouts,
                                 quint16 port);
    // Opens a connection to every radio and closes it again without sending a byte; reports each
    // as reachable or not and returns how many were.
    int Check(int connectTimeoutMs, quint16 port);

    // 0 when every radio was updated, 130 when interrupted, else the status of the first radio
    // in list order that was not updated.
    static int ExitCode(const QVector<RadioOutcome>& outcomes, bool interrupted);

private:
    // Runs `job` for each radio index on up to `m_jobs` threads and returns once all have ended
    // (or, after a stop, were never started); redraws the progress meanwhile.
    void ForEachRadio(const std::function<void(int)>& job);

    CFleetOutput& m_output;
    const QStringList m_radios;
    const int m_jobs;
    const std::atomic<bool>& m_stop;
};
