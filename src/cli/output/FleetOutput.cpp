#include "FleetOutput.h"

#include "JsonRenderer.h"
#include "ProgressBlock.h"
#include "TextRenderer.h"

#include <QIODevice>

#include <chrono>
#include <cstdio>

namespace {

// The writer wakes this often without events, so the seconds and the time left move on.
constexpr int TICK_MS = 100;
// After an interrupt, an output that has taken nothing for this long is stalled.
constexpr qint64 STALLED_OUTPUT_MS = 1000;

qint64 SteadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

FleetOutput::FleetOutput(const Settings& settings)
    : EventPublisher(int(settings.labels.size())), m_out(stdout), m_err(stderr), m_interrupts(settings.interrupts)
{
    if (settings.json) {
        m_owned.push_back(std::make_unique<JsonRenderer>(settings.labels, settings.addresses, settings.sha256,
                                                          settings.quiet, m_out, m_err));
    } else {
        ProgressBlock* block = nullptr;
        std::unique_ptr<ProgressBlock> owned;
        if (settings.progress && !settings.quiet) {
            owned = std::make_unique<ProgressBlock>(settings.labels, settings.programTimeoutMs, m_err);
            owned->SetPauses(settings.waves, settings.wavePauseMs);
            block = owned.get();
        }
        // The text goes first: a line is written before the block is drawn below it.
        m_owned.push_back(std::make_unique<TextRenderer>(settings.labels, settings.quiet, m_out, m_err, block));
        if (owned)
            m_owned.push_back(std::move(owned));
    }
    for (const auto& renderer : m_owned)
        m_renderers.push_back(renderer.get());
    m_lastWrittenMs.store(SteadyMs());
    m_writer = std::thread([this] { Write(); });
}

FleetOutput::~FleetOutput()
{
    Finish();
}

bool FleetOutput::Finish()
{
    m_queue.Close();
    if (!m_writer.joinable())
        return true;
    {
        std::unique_lock<std::mutex> lock(m_doneMutex);
        while (!m_doneChanged.wait_for(lock, std::chrono::milliseconds(TICK_MS), [this] { return m_done; })) {
            // A reader that stopped reading cannot keep an interrupted program from ending.
            if (m_interrupts && m_interrupts->stop.load() && SteadyMs() - m_lastWrittenMs.load() >= STALLED_OUTPUT_MS) {
                m_writer.detach();
                return false;
            }
        }
    }
    m_writer.join();
    return true;
}

void FleetOutput::Write()
{
    std::deque<FleetEvent> events;
    bool ended = false;
    while (m_queue.Take(events, TICK_MS)) {
        for (FleetEvent& event : events) {
            if (event.kind == FleetEvent::Kind::Summary)
                SettleStatus(event);
            for (FleetRenderer* renderer : m_renderers)
                renderer->Render(event);
            m_lastWrittenMs.store(SteadyMs());
            ended = ended || event.kind == FleetEvent::Kind::Summary;
        }
        if (events.empty()) {
            for (FleetRenderer* renderer : m_renderers)
                renderer->Tick();
        }
        CheckWrites(ended);
    }
    m_out.flush();
    m_err.flush();
    CheckWrites(true);
    std::lock_guard<std::mutex> lock(m_doneMutex);
    m_done = true;
    m_doneChanged.notify_all();
}

void FleetOutput::SettleStatus(FleetEvent& summary)
{
    // Whatever waits in the buffers goes first, so that no failure can come after the summary
    // has told the status: what it says is what the process ends with.
    m_out.flush();
    m_err.flush();
    CheckWrites(true);
    // A signal's status stands, as the process ends by it.
    if (m_writeFailed.load() && !(m_interrupts && m_interrupts->stop.load()))
        summary.exitCode = EXIT_OUTPUT_FAILED;
}

void FleetOutput::CheckWrites(bool ended)
{
    if (m_writeFailed.load())
        return;
    QString error;
    for (QTextStream* stream : {&m_out, &m_err}) {
        if (error.isEmpty() && stream->status() != QTextStream::Ok)
            error = (stream == &m_out ? tr("standard output: %1") : tr("standard error: %1")).arg(stream->device()->errorString());
    }
    if (error.isEmpty())
        return;
    m_writeFailed.store(true);
    // Nothing new starts; what runs goes on to its end and the files are written.
    if (m_interrupts && !ended)
        m_interrupts->outputClosed.store(true);
    FleetEvent note;
    note.kind = FleetEvent::Kind::Note;
    note.text = ended ? error : tr("%1; no further radio starts").arg(error);
    for (FleetRenderer* renderer : m_renderers)
        renderer->Render(note);
}
