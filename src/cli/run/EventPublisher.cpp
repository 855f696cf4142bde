#include "EventPublisher.h"

#include <QDateTime>
#include <QJsonDocument>

EventPublisher::EventPublisher(int radios) : m_queue(radios) {}

void EventPublisher::Publish(FleetEvent event)
{
    event.timeMs = QDateTime::currentMSecsSinceEpoch();
    // A JSON object is shared by reference count inside the library; the writer gets a copy of
    // its own, so that the publisher dropping its object never meets the writer reading it.
    if (!event.fields.isEmpty())
        event.fields = QJsonDocument::fromJson(QJsonDocument(event.fields).toJson(QJsonDocument::Compact)).object();
    if (m_results && event.kind == FleetEvent::Kind::Result)
        m_results->Push(event);
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

void EventPublisher::Status(int radio, const QString& text)
{
    Publish(Event(FleetEvent::Kind::Status, radio, text));
}

void EventPublisher::Failure(int radio, const QString& text)
{
    Publish(Event(FleetEvent::Kind::Failure, radio, text));
}

void EventPublisher::Phase(int radio, RadioPhase phase)
{
    FleetEvent event = Event(FleetEvent::Kind::Phase, radio);
    event.phase = phase;
    Publish(std::move(event));
}

void EventPublisher::Progress(int radio, quint64 bytesSent, quint64 totalBytes)
{
    FleetEvent event = Event(FleetEvent::Kind::Progress, radio);
    event.bytes = bytesSent;
    event.total = totalBytes;
    Publish(std::move(event));
}

void EventPublisher::Result(int radio, const RadioOutcome& outcome)
{
    FleetEvent event = Event(FleetEvent::Kind::Result, radio);
    event.outcome = outcome;
    Publish(std::move(event));
}

void EventPublisher::Note(const QString& text)
{
    Publish(Event(FleetEvent::Kind::Note, -1, text));
}

void EventPublisher::Rollout(const QString& text, const QJsonObject& fields)
{
    FleetEvent event = Event(FleetEvent::Kind::Rollout, -1, text);
    event.fields = fields;
    Publish(std::move(event));
}

void EventPublisher::Fact(const QString& text, const QJsonObject& fields)
{
    FleetEvent event = Event(FleetEvent::Kind::Fact, -1, text);
    event.fields = fields;
    Publish(std::move(event));
}

void EventPublisher::Summary(const QVector<RadioOutcome>& outcomes, int exitCode)
{
    FleetEvent event = Event(FleetEvent::Kind::Summary);
    event.outcomes = outcomes;
    event.exitCode = exitCode;
    Publish(std::move(event));
}
