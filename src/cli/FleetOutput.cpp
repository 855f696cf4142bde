#include "FleetOutput.h"

#include "JsonRenderer.h"
#include "ProgressBlock.h"
#include "TextRenderer.h"

#include <QDateTime>
#include <QJsonDocument>

#include <cstdio>

namespace {

// The writer wakes this often without events, so the seconds and the time left move on.
constexpr int TICK_MS = 100;

} // namespace

QString StateWord(RadioState state)
{
    switch (state) {
    case RadioState::Updated:
        return QStringLiteral("updated");
    case RadioState::Failed:
        return QStringLiteral("failed");
    case RadioState::NotStarted:
        return QStringLiteral("not-started");
    case RadioState::Interrupted:
        return QStringLiteral("interrupted");
    case RadioState::Unknown:
        return QStringLiteral("unknown");
    }
    return QString();
}

QString ProgrammingNote(int radios)
{
    return radios == 1 ? QStringLiteral("1 radio is programming; do not switch it off; Ctrl-C again to stop waiting")
                       : QStringLiteral("%1 radios are programming; do not switch them off; Ctrl-C again to stop waiting")
                             .arg(radios);
}

CFleetOutput::CFleetOutput(const Settings& settings)
    : m_out(stdout), m_err(stderr), m_queue(int(settings.labels.size()))
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

void CFleetOutput::Publish(FleetEvent event)
{
    event.timeMs = QDateTime::currentMSecsSinceEpoch();
    // A JSON object is shared by reference count inside the library; the writer gets a copy of
    // its own, so that the publisher dropping its object never meets the writer reading it.
    if (!event.fields.isEmpty())
        event.fields = QJsonDocument::fromJson(QJsonDocument(event.fields).toJson(QJsonDocument::Compact)).object();
    m_queue.Push(std::move(event));
}

namespace {

FleetEvent Event(FleetEvent::Kind kind, int radio = -1, const QString& text = {})
{
    FleetEvent event;
    event.kind = kind;
    event.radio = radio;
    event.text = text;
    return event;
}

} // namespace

void CFleetOutput::Status(int radio, const QString& text)
{
    Publish(Event(FleetEvent::Kind::Status, radio, text));
}

void CFleetOutput::Failure(int radio, const QString& text)
{
    Publish(Event(FleetEvent::Kind::Failure, radio, text));
}

void CFleetOutput::Phase(int radio, RadioPhase phase)
{
    FleetEvent event = Event(FleetEvent::Kind::Phase, radio);
    event.phase = phase;
    Publish(std::move(event));
}

void CFleetOutput::Progress(int radio, quint64 bytesSent, quint64 totalBytes)
{
    FleetEvent event = Event(FleetEvent::Kind::Progress, radio);
    event.bytes = bytesSent;
    event.total = totalBytes;
    Publish(std::move(event));
}

void CFleetOutput::Result(int radio, const RadioOutcome& outcome)
{
    FleetEvent event = Event(FleetEvent::Kind::Result, radio);
    event.outcome = outcome;
    Publish(std::move(event));
}

void CFleetOutput::Note(const QString& text)
{
    Publish(Event(FleetEvent::Kind::Note, -1, text));
}

void CFleetOutput::Rollout(const QString& text, const QJsonObject& fields)
{
    FleetEvent event = Event(FleetEvent::Kind::Rollout, -1, text);
    event.fields = fields;
    Publish(std::move(event));
}

void CFleetOutput::Fact(const QString& text, const QJsonObject& fields)
{
    FleetEvent event = Event(FleetEvent::Kind::Fact, -1, text);
    event.fields = fields;
    Publish(std::move(event));
}

void CFleetOutput::Summary(const QVector<RadioOutcome>& outcomes, int exitCode)
{
    FleetEvent event = Event(FleetEvent::Kind::Summary);
    event.outcomes = outcomes;
    event.exitCode = exitCode;
    Publish(std::move(event));
}
