// Where a run's events go: every radio's thread publishes here and goes on at once; whoever
// renders the stream takes it from the queue.
#pragma once

#include "EventQueue.h"
#include "FleetEvent.h"

#include <QJsonObject>
#include <QString>
#include <QVector>

class EventPublisher {
public:
    explicit EventPublisher(int radios);
    virtual ~EventPublisher() = default;
    EventPublisher(const EventPublisher&) = delete;
    EventPublisher& operator=(const EventPublisher&) = delete;

    // From any thread; none of them waits on output.
    void Status(int radio, const QString& text);
    void Failure(int radio, const QString& text);
    void Phase(int radio, RadioPhase phase);
    void Progress(int radio, quint64 bytesSent, quint64 totalBytes);
    void Result(int radio, const RadioOutcome& outcome);
    // A line about the run on stderr.
    void Note(const QString& text);
    // A group starts, or new radios stop: `text` on stderr, or in JSON mode `fields` as an event.
    void Rollout(const QString& text, const QJsonObject& fields);
    // One fact on stdout: `text` as a line, or in JSON mode `fields` as an event.
    void Fact(const QString& text, const QJsonObject& fields);
    void Summary(const QVector<RadioOutcome>& outcomes, int exitCode);
    // Each result also goes to `queue` as it is published (the records' writer, apart from the
    // terminal's); set before the run starts.
    void AlsoResultsTo(EventQueue* queue) { m_results = queue; }

protected:
    EventQueue m_queue;

private:
    void Publish(FleetEvent event);

    EventQueue* m_results = nullptr;
};
