#include "FleetRun.h"

#include "engine/TimedSocket.h"
#include "engine/UpdateReporter.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// The waiting thread looks at the interrupt this often, to say at once who is still programming.
constexpr int WATCH_MS = 50;

// Why new radios stopped starting: whichever came first.
enum class StopCause { None, FailureLimit, WaveFailed, Deadline };

// One radio's run as the engine reports it, passed on as events. It lives in the radio's thread.
class CRadioReporter : public IUpdateReporter {
public:
    CRadioReporter(CEventPublisher& output, int radio, const Interrupts& interrupts,
                   std::atomic<RadioPhase>& phase)
        : m_output(output), m_radio(radio), m_interrupts(interrupts), m_phase(phase)
    {
    }

    void AppendMessageLine(const QString& text) override { m_output.Status(m_radio, text); }
    void AppendFailureLine(const QString&) override {}
    void EnableInputControls(bool) override {}
    void StartTransferProgress(int) override { SetPhase(RadioPhase::Transferring); }
    void StepTransferProgress() override {}
    void StartWaitAnimation() override { SetPhase(RadioPhase::Programming); }
    void StopWaitAnimation() override {}
    void ShowErrorBox(const QString& text) override
    {
        // A failure caused by the stop is no fault of the radio's: the summary says how far it got.
        if (Stopped()) {
            m_bStopped = true;
            return;
        }
        m_failure = text;
        m_output.Failure(m_radio, text);
    }
    void ShowFileError(const QString& text) override { ShowErrorBox(text); }
    void FocusEditAtEnd(InputField) override {}
    void SetActiveConnection(bool) override {}
    void OnDataSent(quint64 bytesSent, quint64 totalBytes) override
    {
        m_bytes = bytesSent;
        m_output.Progress(m_radio, bytesSent, totalBytes);
    }

    void SetPhase(RadioPhase phase)
    {
        m_phase.store(phase);
        m_output.Phase(m_radio, phase);
    }

    RadioOutcome Outcome(UpdateResult result, qint64 elapsedMs) const
    {
        RadioOutcome outcome;
        outcome.elapsedMs = elapsedMs;
        outcome.bytes = m_bytes;
        const RadioPhase phase = m_phase.load();
        if (result == UpdateResult::Updated) {
            outcome.state = RadioState::Updated;
        } else if (m_bStopped && phase == RadioPhase::Programming) {
            outcome.state = RadioState::Unknown;
            outcome.exitCode = m_interrupts.ExitStatus();
            outcome.text = QStringLiteral("may still be programming");
        } else if (m_bStopped) {
            outcome.state = RadioState::Interrupted;
            outcome.exitCode = m_interrupts.ExitStatus();
            outcome.text = phase == RadioPhase::Transferring ? QStringLiteral("stopped during the transfer")
                                                             : QStringLiteral("stopped while connecting");
        } else {
            outcome.state = RadioState::Failed;
            outcome.exitCode = ExitCodeFor(result);
            outcome.text = TerminalText(m_failure).replace(u'\n', u' ');
        }
        return outcome;
    }

private:
    bool Stopped() const { return m_interrupts.Ends(m_phase.load() == RadioPhase::Programming); }

    CEventPublisher& m_output;
    const int m_radio;
    const Interrupts& m_interrupts;
    std::atomic<RadioPhase>& m_phase;
    bool m_bStopped = false;
    quint64 m_bytes = 0;
    QString m_failure;
};

} // namespace

QString RadioCount(int radios)
{
    return radios == 1 ? QStringLiteral("1 radio") : QStringLiteral("%1 radios").arg(radios);
}

int RetryDelayMs(int attempt)
{
    return qMin(RETRY_MOST_DELAY_MS, RETRY_FIRST_DELAY_MS << qBound(0, attempt - 1, 15));
}

CFleetRun::CFleetRun(CEventPublisher& output, const QVector<RadioEntry>& radios, int jobs,
                     const Interrupts& interrupts)
    : m_output(output), m_radios(radios), m_jobs(qBound(1, jobs, MAX_JOBS)), m_interrupts(interrupts),
      m_phases(new std::atomic<RadioPhase>[size_t(radios.size())])
{
    for (int i = 0; i < radios.size(); ++i)
        m_phases[size_t(i)].store(RadioPhase::NotStarted);
}

void CFleetRun::ForEachRadio(int jobs, int first, int end, const std::function<bool()>& mayStart,
                             const std::function<void(int)>& job)
{
    std::atomic<int> next{first};
    const int threadCount = qMin(jobs, qMax(0, end - first));
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    // Changed under doneMutex, so no end is missed; atomic as well, because the thread checker of
    // this compiler does not see the mutex taken again inside a wait on the steady clock
    // (pthread_cond_clockwait) and took the predicate's read for a race.
    std::atomic<int> running{threadCount};
    // Plain threads, joined: their end is then visible to every tool that checks for races,
    // which Qt's own wait on a QThread is not.
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&] {
            {
                // Gives the thread its own event dispatcher, which the radio's connection and
                // timers need; it stays for the thread's life.
                QEventLoop dispatcher;
                for (;;) {
                    // Asked only while a radio is left, so that a rule that says no speaks
                    // for a radio it keeps from starting.
                    const int radio = next.fetch_add(1);
                    if (radio >= end || m_interrupts.stop.load() || (mayStart && !mayStart()))
                        break;
                    job(radio);
                }
            }
            std::lock_guard<std::mutex> lock(doneMutex);
            --running;
            doneSignal.notify_all();
        });
    }
    // Each thread ends within its radio's time-outs, and promptly after a stop but for radios
    // that are programming, which end with their own time-out or the second interrupt.
    bool told = false;
    std::unique_lock<std::mutex> lock(doneMutex);
    while (!doneSignal.wait_for(lock, std::chrono::milliseconds(WATCH_MS), [&] { return running.load() == 0; })) {
        if (told || !m_interrupts.stop.load() || m_interrupts.stopWaiting.load())
            continue;
        told = true;
        int programming = 0;
        for (int i = 0; i < int(m_radios.size()); ++i)
            programming += m_phases[size_t(i)].load() == RadioPhase::Programming ? 1 : 0;
        if (programming > 0)
            m_output.Note(ProgrammingNote(programming, m_interrupts.Again()));
    }
    lock.unlock();
    for (std::thread& thread : threads)
        thread.join();
}

void CFleetRun::RolloutEvent(const QString& text, const QJsonObject& fields)
{
    QJsonObject event = fields;
    event.insert(QStringLiteral("event"), QStringLiteral("rollout"));
    m_output.Rollout(text, event);
}

bool CFleetRun::WaitUnlessStopped(int ms) const
{
    QElapsedTimer waited;
    waited.start();
    while (!m_interrupts.stop.load()) {
        const qint64 left = ms - waited.elapsed();
        if (left <= 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(qMin<qint64>(left, WATCH_MS)));
    }
    return false;
}

QVector<RadioOutcome> CFleetRun::Update(const QByteArray& image, quint16 language, const UpdateTimeouts& timeouts,
                                        const RolloutRules& rules)
{
    // Each slot is written by the one thread that runs its radio and read after every thread
    // has been joined.
    QVector<RadioOutcome> outcomes(m_radios.size());
    std::atomic<int> failures{0};
    std::atomic<StopCause> cause{StopCause::None};
    const auto stopBy = [&](StopCause why) {
        StopCause none = StopCause::None;
        return cause.compare_exchange_strong(none, why);
    };
    const std::function<qint64()> now = rules.now ? rules.now : [] { return QDateTime::currentMSecsSinceEpoch(); };
    const std::function<bool(int)> wait = rules.wait ? rules.wait : [this](int ms) { return WaitUnlessStopped(ms); };
    const auto pastDeadline = [&] { return rules.deadlineMs > 0 && now() >= rules.deadlineMs; };
    const auto mayStart = [&] {
        if (rules.failureLimit > 0 && failures.load() >= rules.failureLimit)
            return false;
        if (!pastDeadline())
            return true;
        if (stopBy(StopCause::Deadline)) {
            RolloutEvent(QStringLiteral("deadline %1 passed: no further radio starts").arg(TimeText(rules.deadlineMs)),
                         {{"action", "stop"}, {"reason", "deadline"}});
        }
        return false;
    };
    const auto update = [&](int radio) {
        RadioOutcome& outcome = outcomes[radio];
        QElapsedTimer clock;
        clock.start();
        for (int attempt = 1;; ++attempt) {
            CRadioReporter reporter(m_output, radio, m_interrupts, m_phases[size_t(radio)]);
            CUpdateRun run(reporter, language, timeouts, m_radios[radio].port);
            run.SetAbortFlag(&m_interrupts.stop);
            run.SetProgramAbortFlag(&m_interrupts.stopWaiting);
            reporter.SetPhase(RadioPhase::Connecting);
            const UpdateResult result = run.RunLoaded(image, m_radios[radio].address);
            outcome = reporter.Outcome(result, clock.elapsed());
            outcome.attempts = attempt;
            // Only what fails before the program command goes out (no connection, the transfer)
            // is tried again: a radio that was told to program may be programming still.
            const bool again = attempt <= rules.retries && outcome.state == RadioState::Failed
                               && (result == UpdateResult::RadioNotFound || result == UpdateResult::TransferFailed);
            if (!again)
                break;
            const int delayMs = RetryDelayMs(attempt);
            m_output.Rollout(QStringLiteral("%1: attempt %2 of %3 failed; again in %4 s")
                                 .arg(m_radios[radio].name)
                                 .arg(attempt)
                                 .arg(rules.retries + 1)
                                 .arg(delayMs / 1000),
                             {{"event", "attempt"}, {"radio", m_radios[radio].name}, {"attempt", attempt},
                              {"text", outcome.text}, {"wait", delayMs / 1000}});
            // An interrupt cancels the attempts to come, and none starts after the deadline.
            if (!wait(delayMs) || pastDeadline())
                break;
        }
        outcome.elapsedMs = clock.elapsed();
        m_output.Result(radio, outcome);
        if (outcome.state != RadioState::Failed || ++failures != rules.failureLimit)
            return;
        const int waiting = int(std::count_if(m_phases.get(), m_phases.get() + m_radios.size(),
                                              [](const std::atomic<RadioPhase>& p) { return p.load() == RadioPhase::NotStarted; }));
        if (waiting > 0 && stopBy(StopCause::FailureLimit)) {
            RolloutEvent(QStringLiteral("failure limit: %1 failed, no further radio starts").arg(RadioCount(rules.failureLimit)),
                         {{"action", "stop"}, {"reason", "failure limit"}, {"failed", rules.failureLimit}});
        }
    };

    const int count = int(m_radios.size());
    const QVector<int> waves = rules.waves.isEmpty() ? QVector<int>{count} : rules.waves;
    const auto failed = [](const RadioOutcome& o) { return o.state == RadioState::Failed; };
    // One wave is the run as it always was, with no wave events.
    const bool announceWaves = waves.size() > 1 && !rules.canary;
    int failedWave = 0; // counted from 1
    for (int wave = 0, begin = 0; wave < waves.size() && begin < count; ++wave) {
        const int end = qMin(count, begin + waves[wave]);
        // An interrupt during the pause ends the run at once: nothing is running then.
        if (wave > 0 && rules.wavePauseMs > 0 && !wait(rules.wavePauseMs))
            break;
        if (m_interrupts.stop.load() || !mayStart())
            break;
        QStringList names;
        for (int radio = begin; radio < end; ++radio)
            names << m_radios[radio].name;
        if (rules.canary && wave == 0) {
            RolloutEvent(QStringLiteral("canary: %1 first").arg(RadioCount(end - begin)),
                         {{"action", "start"}, {"group", "canary"}, {"radios", end - begin}});
        } else if (announceWaves) {
            RolloutEvent(QStringLiteral("wave %1 of %2: %3 (%4)")
                             .arg(wave + 1)
                             .arg(waves.size())
                             .arg(RadioCount(end - begin), names.join(QStringLiteral(", "))),
                         {{"action", "start"}, {"group", "wave"}, {"wave", wave + 1}, {"radios", end - begin},
                          {"names", QJsonArray::fromStringList(names)}});
        }
        ForEachRadio(m_jobs, begin, end, mayStart, update);
        const auto waveEnd = outcomes.cbegin() + end;
        const auto firstFailed = std::find_if(outcomes.cbegin() + begin, waveEnd, failed);
        if (announceWaves) {
            const int updated = int(std::count_if(outcomes.cbegin() + begin, waveEnd,
                                                  [](const RadioOutcome& o) { return o.state == RadioState::Updated; }));
            const int failedHere = int(std::count_if(outcomes.cbegin() + begin, waveEnd, failed));
            RolloutEvent(QStringLiteral("wave %1 of %2 ended: %3 updated, %4 failed")
                             .arg(wave + 1)
                             .arg(waves.size())
                             .arg(updated)
                             .arg(failedHere),
                         {{"action", "end"}, {"group", "wave"}, {"wave", wave + 1}, {"updated", updated}, {"failed", failedHere}});
        }
        if (m_interrupts.stop.load() || end == count)
            break;
        // A failed canary is the last wave whatever the limit; otherwise, without a failure limit
        // a wave in which a radio failed is the last, and with one the limit alone decides.
        if (firstFailed != waveEnd && (rules.failureLimit == 0 || (rules.canary && wave == 0))
            && stopBy(StopCause::WaveFailed)) {
            failedWave = wave + 1;
            const QString name = m_radios[int(firstFailed - outcomes.cbegin())].name;
            if (rules.canary) {
                RolloutEvent(QStringLiteral("canary failed: %1 not started").arg(RadioCount(count - end)),
                             {{"action", "stop"}, {"reason", "canary failed"}, {"radio", name}});
            } else {
                RolloutEvent(QStringLiteral("wave %1 failed: %2 not started").arg(failedWave).arg(RadioCount(count - end)),
                             {{"action", "stop"}, {"reason", "wave failed"}, {"wave", failedWave}, {"radio", name}});
            }
            break;
        }
        if (rules.canary && wave == 0 && cause.load() == StopCause::None) {
            RolloutEvent(QStringLiteral("canary %1: the other %2 follow")
                             .arg(firstFailed == waveEnd ? QStringLiteral("updated") : QStringLiteral("ended"),
                                  RadioCount(count - end)),
                         {{"action", "start"}, {"group", "rest"}, {"radios", count - end}});
        }
        begin = end;
    }

    // A radio is left out by an interrupt, a failed wave, the failure limit or the deadline; it
    // has no status of its own.
    const bool stopped = m_interrupts.stop.load();
    const StopCause why = cause.load();
    const QString reason = stopped                          ? QStringLiteral("interrupted before it started")
                           : why == StopCause::Deadline     ? QStringLiteral("deadline")
                           : why != StopCause::WaveFailed   ? QStringLiteral("failure limit")
                           : rules.canary                   ? QStringLiteral("canary failed")
                                                            : QStringLiteral("wave %1 failed").arg(failedWave);
    for (int radio = 0; radio < count; ++radio) {
        RadioOutcome& outcome = outcomes[radio];
        if (m_phases[size_t(radio)].load() != RadioPhase::NotStarted)
            continue;
        outcome.state = RadioState::NotStarted;
        outcome.exitCode = NO_EXIT_STATUS;
        outcome.text = reason;
        m_output.Result(radio, outcome);
    }
    return outcomes;
}

QVector<QString> CFleetRun::Check(int connectTimeoutMs)
{
    QVector<QString> reasons(m_radios.size()); // empty: reachable
    ForEachRadio(CHECK_JOBS, 0, int(m_radios.size()), {}, [&](int radio) {
        const RadioEntry& entry = m_radios[radio];
        QString reason;
        if (entry.address.isEmpty()) {
            reason = entry.nameLate ? QStringLiteral("no address for the name in time") : QStringLiteral("no such name");
        } else {
            CTimedSocket socket;
            socket.SetAbortFlag(&m_interrupts.stop);
            socket.SetTimeout(connectTimeoutMs);
            if (!socket.Connect(entry.address, entry.port)) {
                if (m_interrupts.stop.load())
                    return;
                reason = socket.LastError() == CTimedSocket::Error::Interrupted ? QStringLiteral("no answer")
                         : socket.LastError() == CTimedSocket::Error::ConnectFailed ? QStringLiteral("refused")
                                                                                    : QStringLiteral("no such name");
            }
            socket.Close();
        }
        reasons[radio] = reason;
        m_output.Fact(entry.name + (reason.isEmpty() ? QStringLiteral(": reachable")
                                                     : QStringLiteral(": not reachable (%1)").arg(reason)),
                      {{"event", "check"}, {"radio", entry.name}, {"address", entry.address},
                       {"reachable", reason.isEmpty()}, {"reason", reason}});
    });
    return reasons;
}

int CFleetRun::ExitCode(const QVector<RadioOutcome>& outcomes, const Interrupts& interrupts)
{
    if (interrupts.stop.load())
        return interrupts.ExitStatus();
    bool leftOut = false;
    for (const RadioOutcome& outcome : outcomes) {
        if (outcome.state != RadioState::Updated && outcome.exitCode != NO_EXIT_STATUS)
            return outcome.exitCode;
        leftOut = leftOut || outcome.state == RadioState::NotStarted;
    }
    // Radios left out with none failed: only the deadline does that.
    return leftOut ? EXIT_DEADLINE : 0;
}
