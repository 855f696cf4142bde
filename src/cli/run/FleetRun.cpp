#include "FleetRun.h"

#include "RunLimits.h"

#include "cli/text/CliText.h"

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

// The check sends nothing, so it may knock on this many radios at once whatever --jobs says.
constexpr int CHECK_JOBS = 64;

// A wave's start line names at most this many of its radios.
constexpr int SHOWN_NAMES = 5;

// A radio's thread has no window to keep going: it looks at its connection's clock, the stop
// and its event queue this often, so that hundreds waiting for their program replies cost next
// to no CPU, and a stop still ends a transfer within a tenth of a second.
constexpr int RADIO_WAIT_SLICE_MS = 100;

// The waiting thread looks at the interrupt this often, to say at once who is still programming.
constexpr int WATCH_MS = 50;

// One radio's run as the engine reports it, passed on as events. It lives in the radio's thread.
// A text of the run's own: read in the reader's language, kept in English by JSON.
void SetText(RadioOutcome& outcome, const char* text)
{
    outcome.text = QCoreApplication::translate("FleetRun", text);
    outcome.jsonText = QString::fromLatin1(text);
}

class RadioReporter : public IUpdateReporter {
public:
    RadioReporter(EventPublisher& output, int radio, const Interrupts& interrupts,
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
            m_stopped = true;
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
        } else if (m_stopped && phase == RadioPhase::Programming) {
            outcome.state = RadioState::Unknown;
            outcome.exitCode = m_interrupts.ExitStatus();
            SetText(outcome, QT_TRANSLATE_NOOP("FleetRun", "may still be programming"));
        } else if (m_stopped) {
            outcome.state = RadioState::Interrupted;
            outcome.exitCode = m_interrupts.ExitStatus();
            SetText(outcome, phase == RadioPhase::Transferring ? QT_TRANSLATE_NOOP("FleetRun", "stopped during the transfer")
                                                               : QT_TRANSLATE_NOOP("FleetRun", "stopped while connecting"));
        } else {
            outcome.state = RadioState::Failed;
            outcome.exitCode = ExitCodeFor(result);
            outcome.text = OneLine(m_failure);
            // As the log has always kept it.
            outcome.jsonText = TerminalText(m_failure).replace(u'\n', u' ');
        }
        return outcome;
    }

private:
    bool Stopped() const { return m_interrupts.Ends(m_phase.load() == RadioPhase::Programming); }

    EventPublisher& m_output;
    const int m_radio;
    const Interrupts& m_interrupts;
    std::atomic<RadioPhase>& m_phase;
    bool m_stopped = false;
    quint64 m_bytes = 0;
    QString m_failure;
};

} // namespace

FleetRun::FleetRun(EventPublisher& output, const QVector<RadioEntry>& radios, int jobs,
                     const Interrupts& interrupts)
    : m_output(output), m_radios(radios), m_jobs(qBound(1, jobs, MAX_JOBS)), m_interrupts(interrupts),
      m_phases(new std::atomic<RadioPhase>[size_t(radios.size())])
{
    for (int i = 0; i < radios.size(); ++i)
        m_phases[size_t(i)].store(RadioPhase::NotStarted);
}

void FleetRun::ForEachRadio(int jobs, int first, int end, const std::function<bool()>& mayStart,
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
                    if (radio >= end || m_interrupts.stop.load()
                        || (mayStart ? !mayStart() : m_interrupts.outputClosed.load()))
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

void FleetRun::RolloutEvent(const QString& text, const QJsonObject& fields)
{
    QJsonObject event = fields;
    event.insert(QStringLiteral("event"), QStringLiteral("rollout"));
    m_output.Rollout(text, event);
}

bool FleetRun::WaitUnlessStopped(int ms) const
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

void FleetRun::StopEvent(const RolloutRules& rules, int failedRadio, int notStarted)
{
    const QString name = failedRadio >= 0 ? m_radios[failedRadio].name : QString();
    switch (m_policy->Cause()) {
    case LeftOut::Deadline:
        RolloutEvent(tr("deadline %1 passed: no further radio starts").arg(TimeText(rules.deadlineShownMs)),
                     {{"action", "stop"}, {"reason", "deadline"}});
        break;
    case LeftOut::FailureLimit:
        RolloutEvent(tr("failure limit: %1 failed, no further radio starts").arg(RadioCount(rules.failureLimit)),
                     {{"action", "stop"}, {"reason", "failure limit"}, {"failed", rules.failureLimit}});
        break;
    case LeftOut::CanaryFailed:
        RolloutEvent(tr("canary failed: %1 not started").arg(RadioCount(notStarted)),
                     {{"action", "stop"}, {"reason", "canary failed"}, {"radio", name}});
        break;
    case LeftOut::WaveFailed:
        RolloutEvent(tr("wave %1 failed: %2 not started").arg(QString::number(m_policy->FailedWave()), RadioCount(notStarted)),
                     {{"action", "stop"}, {"reason", "wave failed"}, {"wave", m_policy->FailedWave()}, {"radio", name}});
        break;
    case LeftOut::Interrupted:
    case LeftOut::OutputClosed:
    case LeftOut::None:
        break; // an interrupt and a closed output are told where they happen
    }
}

QVector<RadioOutcome> FleetRun::Update(const QByteArray& image, quint16 language, const UpdateTimeouts& timeouts,
                                        const RolloutRules& rules)
{
    const int count = int(m_radios.size());
    m_policy = std::make_unique<RolloutPolicy>(rules, count);
    RolloutPolicy& policy = *m_policy;
    // Each slot is written by the one thread that runs its radio and read after every thread
    // has been joined.
    QVector<RadioOutcome> outcomes(count);
    const std::function<bool(int)> wait = rules.wait ? rules.wait : [this](int ms) { return WaitUnlessStopped(ms); };
    const auto notStarted = [&] {
        return int(std::count_if(m_phases.get(), m_phases.get() + count,
                                 [](const std::atomic<RadioPhase>& p) { return p.load() == RadioPhase::NotStarted; }));
    };
    const auto mayStart = [&] {
        bool first = false;
        const bool may = policy.MayStart(m_interrupts.stop.load(), m_interrupts.outputClosed.load(), &first);
        if (first)
            StopEvent(rules, -1, notStarted());
        return may;
    };
    const auto attempt = [&](int radio, int number, RadioOutcome& outcome) {
        RadioReporter reporter(m_output, radio, m_interrupts, m_phases[size_t(radio)]);
        reporter.SetPhase(RadioPhase::Connecting);
        UpdateResult result;
        if (m_standIn.attempt) {
            result = m_standIn.attempt(radio, number);
        } else {
            CUpdateRun run(reporter, language, timeouts, m_radios[radio].port);
            run.SetAbortFlag(&m_interrupts.stop);
            run.SetProgramAbortFlag(&m_interrupts.stopWaiting);
            run.SetWaitSlice(RADIO_WAIT_SLICE_MS);
            result = run.RunLoaded(image, m_radios[radio].address);
        }
        outcome = reporter.Outcome(result, 0);
        outcome.attempts = number;
        return result;
    };
    const auto update = [&](int radio) {
        RadioOutcome& outcome = outcomes[radio];
        QElapsedTimer clock;
        clock.start();
        for (int number = 1;; ++number) {
            const UpdateResult result = attempt(radio, number, outcome);
            const int delayMs = policy.RetryWaitMs(number, result, outcome.state == RadioState::Failed);
            if (delayMs < 0)
                break;
            // The wait ends at the deadline, and no attempt starts after it.
            const int waitMs = policy.WaitBeforeDeadline(delayMs);
            if (waitMs < delayMs) {
                const char* notAgain = QT_TR_NOOP("%1; not tried again: the deadline comes first");
                outcome.text = tr(notAgain).arg(outcome.text);
                outcome.jsonText = QString::fromLatin1(notAgain).arg(outcome.jsonText);
                m_output.Rollout(tr("%1: attempt %2 of %3 failed; not tried again: deadline %4")
                                     .arg(m_radios[radio].name)
                                     .arg(number)
                                     .arg(rules.retries + 1)
                                     .arg(TimeText(rules.deadlineShownMs)),
                                 {{"event", "attempt"}, {"radio", m_radios[radio].name}, {"attempt", number},
                                  {"text", outcome.jsonText}, {"wait", QJsonValue()}});
                break;
            }
            m_output.Rollout(tr("%1: attempt %2 of %3 failed; again in %4 s")
                                 .arg(m_radios[radio].name)
                                 .arg(number)
                                 .arg(rules.retries + 1)
                                 .arg(delayMs / 1000),
                             {{"event", "attempt"}, {"radio", m_radios[radio].name}, {"attempt", number},
                              {"text", outcome.jsonText}, {"wait", delayMs / 1000}});
            // An interrupt cancels the attempts to come.
            if (!wait(delayMs))
                break;
        }
        outcome.elapsedMs = clock.elapsed();
        // The result first, then the stop it caused.
        const bool stops = policy.Ended(outcome.state == RadioState::Failed, notStarted(), radio);
        m_output.Result(radio, outcome);
        if (stops)
            StopEvent(rules, radio, notStarted());
        if (m_standIn.ended)
            m_standIn.ended(radio);
    };

    const QVector<int>& waves = policy.Waves();
    const auto failed = [](const RadioOutcome& o) { return o.state == RadioState::Failed; };
    // One wave is the run as it always was, with no wave events.
    const bool announceWaves = waves.size() > 1 && !rules.canary;
    bool canaryUpdated = false; // every radio of the canary updated: the rest's start says so
    for (int wave = 0, begin = 0; wave < waves.size() && begin < count; ++wave) {
        const int end = qMin(count, begin + waves[wave]);
        // A pause ends at the deadline, and at once on an interrupt: nothing is running then.
        const int pauseMs = wave > 0 && rules.wavePauseMs > 0 ? policy.WaitBeforeDeadline(rules.wavePauseMs) : 0;
        if (pauseMs > 0) {
            const int seconds = (pauseMs + 999) / 1000;
            RolloutEvent(tr("wave %1 of %2 in %3 s").arg(wave + 1).arg(waves.size()).arg(seconds),
                         {{"action", "pause"}, {"group", "wave"}, {"wave", wave + 1}, {"seconds", seconds}});
        }
        if (pauseMs > 0 && !wait(pauseMs))
            break;
        if (m_interrupts.stop.load() || !mayStart())
            break;
        // The rest of a canary starts after the pause, as every wave does.
        if (wave > 0 && policy.IsCanary(wave - 1)) {
            RolloutEvent((canaryUpdated ? tr("canary updated: the other %1 follow") : tr("canary ended: the other %1 follow")).arg(RadioCount(count - begin)),
                         {{"action", "start"}, {"group", "rest"}, {"radios", count - begin}});
        }
        QStringList names;
        for (int radio = begin; radio < end; ++radio)
            names << m_radios[radio].name;
        if (policy.IsCanary(wave)) {
            RolloutEvent(tr("canary: %1 first").arg(RadioCount(end - begin)),
                         {{"action", "start"}, {"group", "canary"}, {"radios", end - begin}});
        } else if (announceWaves) {
            // The line names a few; the JSON event every one.
            const QString shown = names.size() <= SHOWN_NAMES
                                      ? names.join(tr(", ", "between radio names"))
                                      : tr("%1 and %2 more")
                                            .arg(names.mid(0, SHOWN_NAMES).join(tr(", ", "between radio names")))
                                            .arg(names.size() - SHOWN_NAMES);
            RolloutEvent(tr("wave %1 of %2: %3 (%4)")
                             .arg(wave + 1)
                             .arg(waves.size())
                             .arg(RadioCount(end - begin), shown),
                         {{"action", "start"}, {"group", "wave"}, {"wave", wave + 1}, {"radios", end - begin},
                          {"names", QJsonArray::fromStringList(names)}});
        }
        ForEachRadio(m_jobs, begin, end, mayStart, update);
        const auto waveEnd = outcomes.cbegin() + end;
        const auto firstFailed = std::find_if(outcomes.cbegin() + begin, waveEnd, failed);
        const int failedHere = int(std::count_if(outcomes.cbegin() + begin, waveEnd, failed));
        if (announceWaves) {
            const int updated = int(std::count_if(outcomes.cbegin() + begin, waveEnd,
                                                  [](const RadioOutcome& o) { return o.state == RadioState::Updated; }));
            RolloutEvent(tr("wave %1 of %2 ended: %3 updated, %4 failed")
                             .arg(wave + 1)
                             .arg(waves.size())
                             .arg(updated)
                             .arg(failedHere),
                         {{"action", "end"}, {"group", "wave"}, {"wave", wave + 1}, {"updated", updated}, {"failed", failedHere}});
        }
        if (m_interrupts.stop.load() || end == count)
            break;
        const LeftOut before = policy.Cause();
        if (!policy.NextWave(wave, failedHere)) {
            if (before == LeftOut::None && policy.Cause() != LeftOut::None)
                StopEvent(rules, int(firstFailed - outcomes.cbegin()), count - end);
            break;
        }
        canaryUpdated = firstFailed == waveEnd;
        begin = end;
    }

    // A radio left out has no status of its own; the rules say why it was.
    const QString reason = policy.LeftOutText(m_interrupts.stop.load());
    const QString jsonReason = policy.LeftOutText(m_interrupts.stop.load(), true);
    for (int radio = 0; radio < count; ++radio) {
        RadioOutcome& outcome = outcomes[radio];
        if (m_phases[size_t(radio)].load() != RadioPhase::NotStarted)
            continue;
        outcome.state = RadioState::NotStarted;
        outcome.exitCode = NO_EXIT_STATUS;
        outcome.text = reason;
        outcome.jsonText = jsonReason;
        m_output.Result(radio, outcome);
    }
    return outcomes;
}

int FleetRun::Check(int connectTimeoutMs, QVector<RadioOutcome>& outcomes)
{
    // A radio an interrupt kept from its check stays not started: neither reachable nor not.
    outcomes = QVector<RadioOutcome>(m_radios.size());
    ForEachRadio(CHECK_JOBS, 0, int(m_radios.size()), {}, [&](int radio) {
        const RadioEntry& entry = m_radios[radio];
        // The reason's English words are the JSON's; a person reads them in their language.
        const char* reason = nullptr;
        if (entry.address.isEmpty()) {
            reason = entry.nameLate ? QT_TRANSLATE_NOOP("FleetRun", "no address for the name in time")
                                    : QT_TRANSLATE_NOOP("FleetRun", "no such name");
        } else {
            CTimedSocket socket;
            socket.SetAbortFlag(&m_interrupts.stop);
            socket.SetTimeout(connectTimeoutMs);
            if (!socket.Connect(entry.address, entry.port)) {
                if (m_interrupts.stop.load())
                    return;
                reason = socket.LastError() == CTimedSocket::Error::Interrupted     ? QT_TRANSLATE_NOOP("FleetRun", "no answer")
                         : socket.LastError() == CTimedSocket::Error::ConnectFailed ? QT_TRANSLATE_NOOP("FleetRun", "refused")
                                                                                    : QT_TRANSLATE_NOOP("FleetRun", "no such name");
            }
            socket.Close();
        }
        RadioOutcome& outcome = outcomes[radio];
        outcome.state = reason ? RadioState::Failed : RadioState::Updated;
        if (reason) {
            outcome.exitCode = EXIT_NOT_REACHED;
            const char* notReached = QT_TR_NOOP("not reachable (%1)");
            outcome.text = tr(notReached).arg(tr(reason));
            outcome.jsonText = QString::fromLatin1(notReached).arg(QString::fromLatin1(reason));
        }
        m_output.Fact(reason ? QStringLiteral("%1: %2").arg(entry.name, outcome.text) : tr("%1: reachable").arg(entry.name),
                      {{"event", "check"}, {"radio", entry.name}, {"address", entry.address},
                       {"reachable", !reason}, {"reason", QString::fromLatin1(reason)}});
    });
    QStringList unreachable;
    for (int radio = 0; radio < m_radios.size(); ++radio) {
        if (outcomes[radio].state == RadioState::Failed)
            unreachable << m_radios[radio].name;
    }
    const int exitCode = m_interrupts.stop.load() ? m_interrupts.ExitStatus() : unreachable.isEmpty() ? 0 : EXIT_NOT_REACHED;
    const int count = RadioTally(outcomes)[RadioState::Updated];
    const QString text = unreachable.isEmpty()
                             ? tr("%1 of %2 radios reachable").arg(count).arg(m_radios.size())
                             : tr("%1 of %2 radios reachable; not reachable: %3")
                                   .arg(QString::number(count), QString::number(m_radios.size()),
                                        unreachable.join(tr(", ", "between radio names")));
    m_output.Fact(text, {{"event", "summary"}, {"reachable", count}, {"unreachable", QJsonArray::fromStringList(unreachable)},
                         {"exit", exitCode}});
    return exitCode;
}

int FleetRun::ExitCode(const QVector<RadioOutcome>& outcomes, const Interrupts& interrupts)
{
    return interrupts.stop.load() ? interrupts.ExitStatus() : RolloutPolicy::ExitCode(outcomes);
}
