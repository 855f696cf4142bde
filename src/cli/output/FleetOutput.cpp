#include "FleetOutput.h"

#include "JsonRenderer.h"
#include "ProgressBlock.h"
#include "TextRenderer.h"

#include <cstdio>

namespace {

// The writer wakes this often without events, so the seconds and the time left move on.
constexpr int TICK_MS = 100;

} // namespace

CFleetOutput::CFleetOutput(const Settings& settings)
    : CEventPublisher(int(settings.labels.size())), m_out(stdout), m_err(stderr)
{
    if (settings.json) {
        m_owned.push_back(std::make_unique<CJsonRenderer>(settings.labels, settings.addresses, settings.sha256,
                                                          settings.quiet, m_out, m_err));
    } else {
        CProgressBlock* block = nullptr;
        std::unique_ptr<CProgressBlock> owned;
        if (settings.progress && !settings.quiet) {
            owned = std::make_unique<CProgressBlock>(settings.labels, settings.programTimeoutMs, m_err);
            block = owned.get();
        }
        // The text goes first: a line is written before the block is drawn below it.
        m_owned.push_back(std::make_unique<CTextRenderer>(settings.labels, settings.quiet, m_out, m_err, block));
        if (owned)
            m_owned.push_back(std::move(owned));
    }
    for (const auto& renderer : m_owned)
        m_renderers.push_back(renderer.get());
    m_renderers.insert(m_renderers.end(), settings.more.begin(), settings.more.end());
    m_writer = std::thread([this] { Write(); });
}

CFleetOutput::~CFleetOutput()
{
    Finish();
}

void CFleetOutput::Finish()
{
    m_queue.Close();
    if (m_writer.joinable())
        m_writer.join();
}

void CFleetOutput::Write()
{
    std::deque<FleetEvent> events;
    while (m_queue.Take(events, TICK_MS)) {
        for (const FleetEvent& event : events) {
            for (IFleetRenderer* renderer : m_renderers)
                renderer->Render(event);
        }
        if (events.empty()) {
            for (IFleetRenderer* renderer : m_renderers)
                renderer->Tick();
        }
    }
    m_out.flush();
    m_err.flush();
}
