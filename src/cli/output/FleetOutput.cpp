#include "FleetOutput.h"

#include "JsonRenderer.h"
#include "ProgressBlock.h"
#include "TextRenderer.h"

#include <QIODevice>

#include <cstdio>

namespace {

// The writer wakes this often without events, so the seconds and the time left move on.
constexpr int TICK_MS = 100;

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
    m_renderers.insert(m_renderers.end(), settings.more.begin(), settings.more.end());
    m_writer = std::thread([this] { Write(); });
}

FleetOutput::~FleetOutput()
{
    Finish();
}

void FleetOutput::Finish()
{
    m_queue.Close();
    if (m_writer.joinable())
        m_writer.join();
}

void FleetOutput::Write()
{
    std::deque<FleetEvent> events;
    bool ended = false;
    while (m_queue.Take(events, TICK_MS)) {
        for (const FleetEvent& event : events) {
            for (FleetRenderer* renderer : m_renderers)
                renderer->Render(event);
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
}

void FleetOutput::CheckWrites(bool ended)
{
    if (m_writeFailed.load())
        return;
    QString error;
    for (QTextStream* stream : {&m_out, &m_err}) {
        if (error.isEmpty() && stream->status() != QTextStream::Ok)
            error = QStringLiteral("%1: %2").arg(stream == &m_out ? QStringLiteral("standard output") : QStringLiteral("standard error"),
                                                 stream->device()->errorString());
    }
    for (const FleetRenderer* renderer : m_renderers) {
        if (error.isEmpty())
            error = renderer->WriteError();
    }
    if (error.isEmpty())
        return;
    m_writeFailed.store(true);
    // Nothing new starts; what runs goes on to its end and the files are written.
    if (m_interrupts && !ended)
        m_interrupts->outputClosed.store(true);
    FleetEvent note;
    note.kind = FleetEvent::Kind::Note;
    note.text = ended ? error : error + QStringLiteral("; no further radio starts");
    for (FleetRenderer* renderer : m_renderers)
        renderer->Render(note);
}
