#include "FleetRun.h"

#include "engine/TimedSocket.h"
#include "engine/UpdateReporter.h"

#include <QElapsedTimer>
#include <QEventLoop>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// The calling thread redraws the progress this often while it waits for the radios' threads.
constexpr int TICK_MS = 100;

// One radio's run as the engine reports it, passed on to the shared output. It lives in the
// radio's own thread.
class CRadioReporter : public IUpdateReporter {
public:
    CRadioReporter(CFleetOutput& output, int radio, const std::atomic<bool>& stop)
        : m_output(output), m_radio(radio), m_stop(stop)
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
        if (m_stop.load()) {
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
        m_output.Progress(m_radio, bytesSent, totalBytes);
    }

    void SetPhase(RadioPhase phase)
    {
        m_phase = phase;
        m_output.Phase(m_radio, phase);
    }

    RadioOutcome Outcome(UpdateResult result, qint64 elapsedMs) const
    {
        RadioOutcome outcome;
        outcome.elapsedMs = elapsedMs;
        if (result == UpdateResult::Updated) {
            outcome.phase = RadioPhase::Updated;
        } else if (m_bStopped) {
            outcome.phase = RadioPhase::Stopped;
            outcome.exitCode = EXIT_INTERRUPTED;
            outcome.text = m_phase == RadioPhase::Programming    ? QStringLiteral("stopped waiting for the program reply")
                           : m_phase == RadioPhase::Transferring ? QStringLiteral("stopped during the transfer")
                                                                 : QStringLiteral("stopped while connecting");
        } else {
            outcome.phase = RadioPhase::Failed;
            outcome.exitCode = ExitCodeFor(result);
            outcome.text = m_failure;
        }
        return outcome;
    }

private:
    CFleetOutput& m_output;
    const int m_radio;
    const std::atomic<bool>& m_stop;
    RadioPhase m_phase = RadioPhase::Connecting;
    bool m_bStopped = false;
    QString m_failure;
};

} // namespace

CFleetRun::CFleetRun(CFleetOutput& output, const QStringList& radios, int jobs, const std::atomic<bool>& stop)
    : m_output(output), m_radios(radios), m_jobs(qBound(1, jobs, MAX_JOBS)), m_stop(stop)
{
}

void CFleetRun::ForEachRadio(const std::function<void(int)>& job)
{
    std::atomic<int> next{0};
    const int count = int(m_radios.size());
    const int threadCount = qMin(m_jobs, count);
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
                    if (m_stop.load())
                        break;
                    const int radio = next.fetch_add(1);
                    if (radio >= count)
                        break;
                    job(radio);
                }
            }
            std::lock_guard<std::mutex> lock(doneMutex);
            --running;
            doneSignal.notify_all();
        });
    }
    // Each thread ends within its radio's time-outs, and promptly after a stop.
    std::unique_lock<std::mutex> lock(doneMutex);
    while (!doneSignal.wait_for(lock, std::chrono::milliseconds(TICK_MS), [&] { return running == 0; })) {
        lock.unlock();
        m_output.Tick();
        lock.lock();
    }
    lock.unlock();
    for (std::thread& thread : threads)
        thread.join();
}

QVector<RadioOutcome> CFleetRun::Update(const QByteArray& image, quint16 language, const UpdateTimeouts& timeouts,
                                        quint16 port)
{
    // Each slot is written by the one thread that runs its radio and read after every thread
    // has been joined.
    QVector<RadioOutcome> outcomes(m_radios.size());
    ForEachRadio([&](int radio) {
        CRadioReporter reporter(m_output, radio, m_stop);
        CUpdateRun run(reporter, language, timeouts, port);
        run.SetAbortFlag(&m_stop);
        QElapsedTimer clock;
        clock.start();
        reporter.SetPhase(RadioPhase::Connecting);
        const UpdateResult result = run.RunLoaded(image, m_radios[radio]);
        outcomes[radio] = reporter.Outcome(result, clock.elapsed());
        m_output.Result(radio, outcomes[radio]);
    });
    for (int radio = 0; radio < outcomes.size(); ++radio) {
        RadioOutcome& outcome = outcomes[radio];
        if (outcome.phase != RadioPhase::NotStarted)
            continue;
        outcome.exitCode = EXIT_INTERRUPTED;
        outcome.text = outcome.SummaryText();
        m_output.Result(radio, outcome);
    }
    return outcomes;
}

int CFleetRun::Check(int connectTimeoutMs, quint16 port)
{
    std::atomic<int> reachable{0};
    ForEachRadio([&](int radio) {
        CTimedSocket socket;
        socket.SetAbortFlag(&m_stop);
        socket.SetTimeout(connectTimeoutMs);
        const bool connected = socket.Connect(m_radios[radio], port);
        socket.Close();
        if (m_stop.load())
            return;
        reachable += connected ? 1 : 0;
        m_output.Report(m_radios[radio] + (connected ? QStringLiteral(": reachable") : QStringLiteral(": not reachable")),
                        {{"radio", m_radios[radio]}, {"event", "check"}, {"reachable", connected}});
    });
    return reachable.load();
}

int CFleetRun::ExitCode(const QVector<RadioOutcome>& outcomes, bool interrupted)
{
    if (interrupted)
        return EXIT_INTERRUPTED;
    for (const RadioOutcome& outcome : outcomes) {
        if (outcome.phase != RadioPhase::Updated)
            return outcome.exitCode;
    }
    return 0;
}
