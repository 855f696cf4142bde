#include "FleetRun.h"

#include "engine/TimedSocket.h"
#include "engine/UpdateReporter.h"

#include <QElapsedTimer>
#include <QEventLoop>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// The waiting thread looks at the interrupt this often, to say at once who is still programming.
constexpr int WATCH_MS = 50;

// "1 radio", "4 radios".
QString RadioCount(int radios)
{
    return radios == 1 ? QStringLiteral("1 radio") : QStringLiteral("%1 radios").arg(radios);
}

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
            outcome.exitCode = EXIT_INTERRUPTED;
            outcome.text = QStringLiteral("may still be programming");
        } else if (m_bStopped) {
            outcome.state = RadioState::Interrupted;
            outcome.exitCode = EXIT_INTERRUPTED;
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
    int running = threadCount;
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
                    if (m_interrupts.stop.load() || (mayStart && !mayStart()))
                        break;
                    const int radio = next.fetch_add(1);
                    if (radio >= end)
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
    while (!doneSignal.wait_for(lock, std::chrono::milliseconds(WATCH_MS), [&] { return running == 0; })) {
        if (told || !m_interrupts.stop.load() || m_interrupts.stopWaiting.load())
            continue;
        told = true;
        int programming = 0;
        for (int i = 0; i < int(m_radios.size()); ++i)
            programming += m_phases[size_t(i)].load() == RadioPhase::Programming ? 1 : 0;
        if (programming > 0)
            m_output.Note(ProgrammingNote(programming));
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

QVector<RadioOutcome> CFleetRun::Update(const QByteArray& image, quint16 language, const UpdateTimeouts& timeouts,
                                        const RolloutRules& rules)
{
    // Each slot is written by the one thread that runs its radio and read after every thread
    // has been joined.
    QVector<RadioOutcome> outcomes(m_radios.size());
    std::atomic<int> failures{0};
    const auto update = [&](int radio) {
        CRadioReporter reporter(m_output, radio, m_interrupts, m_phases[size_t(radio)]);
        CUpdateRun run(reporter, language, timeouts, m_radios[radio].port);
        run.SetAbortFlag(&m_interrupts.stop);
        run.SetProgramAbortFlag(&m_interrupts.stopWaiting);
        QElapsedTimer clock;
        clock.start();
        reporter.SetPhase(RadioPhase::Connecting);
        const UpdateResult result = run.RunLoaded(image, m_radios[radio].address);
        outcomes[radio] = reporter.Outcome(result, clock.elapsed());
        m_output.Result(radio, outcomes[radio]);
        if (outcomes[radio].state != RadioState::Failed || ++failures != rules.failureLimit)
            return;
        const int waiting = int(std::count_if(m_phases.get(), m_phases.get() + m_radios.size(),
                                              [](const std::atomic<RadioPhase>& p) { return p.load() == RadioPhase::NotStarted; }));
        if (waiting > 0) {
            RolloutEvent(QStringLiteral("failure limit: %1 failed, no further radio starts").arg(RadioCount(rules.failureLimit)),
                         {{"action", "stop"}, {"reason", "failure limit"}, {"failed", rules.failureLimit}});
        }
    };
    const int count = int(m_radios.size());
    const int canary = qMin(rules.canary, count);
    const auto belowLimit = [&] { return rules.failureLimit <= 0 || failures.load() < rules.failureLimit; };
    const auto failed = [](const RadioOutcome& o) { return o.state == RadioState::Failed; };

    bool canaryFailed = false;
    if (canary > 0) {
        RolloutEvent(QStringLiteral("canary: %1 first").arg(RadioCount(canary)),
                     {{"action", "start"}, {"group", "canary"}, {"radios", canary}});
        ForEachRadio(m_jobs, 0, canary, belowLimit, update);
        const auto firstFailed = std::find_if(outcomes.cbegin(), outcomes.cbegin() + canary, failed);
        canaryFailed = !m_interrupts.stop.load() && firstFailed != outcomes.cbegin() + canary;
        if (canaryFailed) {
            RolloutEvent(QStringLiteral("canary failed: %1 not started").arg(RadioCount(count - canary)),
                         {{"action", "stop"}, {"reason", "canary failed"},
                          {"radio", m_radios[int(firstFailed - outcomes.cbegin())].name}});
        } else if (canary < count) {
            RolloutEvent(QStringLiteral("canary updated: the other %1 follow").arg(RadioCount(count - canary)),
                         {{"action", "start"}, {"group", "rest"}, {"radios", count - canary}});
        }
    }
    if (!canaryFailed)
        ForEachRadio(m_jobs, canary, count, belowLimit, update);

    // Without a stop, a radio is left out only by a failed canary or the failure limit; either
    // way it takes the status of the first failure.
    const auto firstFailed = std::find_if(outcomes.cbegin(), outcomes.cend(), failed);
    const bool stopped = m_interrupts.stop.load() || firstFailed == outcomes.cend();
    const QString reason = stopped        ? QStringLiteral("interrupted before it started")
                           : canaryFailed ? QStringLiteral("canary failed")
                                          : QStringLiteral("failure limit");
    for (int radio = 0; radio < count; ++radio) {
        RadioOutcome& outcome = outcomes[radio];
        if (m_phases[size_t(radio)].load() != RadioPhase::NotStarted)
            continue;
        outcome.state = RadioState::NotStarted;
        outcome.exitCode = stopped ? EXIT_INTERRUPTED : firstFailed->exitCode;
        outcome.text = reason;
        m_output.Result(radio, outcome);
    }
    return outcomes;
}

QStringList CFleetRun::Check(int connectTimeoutMs)
{
    QVector<QString> reasons(m_radios.size()); // empty: reachable
    ForEachRadio(CHECK_JOBS, 0, int(m_radios.size()), {}, [&](int radio) {
        const RadioEntry& entry = m_radios[radio];
        QString reason;
        if (entry.address.isEmpty()) {
            reason = QStringLiteral("no such name");
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
    QStringList unreachable;
    for (int radio = 0; radio < m_radios.size(); ++radio) {
        if (!reasons[radio].isEmpty())
            unreachable << m_radios[radio].name;
    }
    return unreachable;
}

int CFleetRun::ExitCode(const QVector<RadioOutcome>& outcomes, bool interrupted)
{
    if (interrupted)
        return EXIT_INTERRUPTED;
    for (const RadioOutcome& outcome : outcomes) {
        if (outcome.state != RadioState::Updated)
            return outcome.exitCode;
    }
    return 0;
}
