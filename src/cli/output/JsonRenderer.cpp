#include "JsonRenderer.h"

#include "cli/text/CliText.h"

#include <QDateTime>
#include <QJsonDocument>

namespace {

// "A few per second": enough to follow a transfer, few enough to read.
constexpr qint64 PROGRESS_EVENT_MS = 250;

} // namespace

JsonRenderer::JsonRenderer(const QStringList& labels, const QStringList& addresses, const QString& sha256,
                             bool quiet, QTextStream& out, QTextStream& err)
    : m_labels(labels), m_addresses(addresses), m_sha256(sha256), m_quiet(quiet), m_out(out), m_err(err),
      m_sinceProgress(labels.size()), m_lastBytes(labels.size(), 0)
{
}

QString JsonRenderer::Line(QJsonObject event, qint64 timeMs)
{
    event.insert(QStringLiteral("time"), TimeText(timeMs));
    return QString::fromUtf8(QJsonDocument(event).toJson(QJsonDocument::Compact));
}

void JsonRenderer::Write(QTextStream& out, const QJsonObject& event)
{
    out << Line(event, QDateTime::currentMSecsSinceEpoch()) << '\n';
    out.flush();
}

QJsonObject JsonRenderer::Summary(const QVector<RadioOutcome>& outcomes, int exitCode)
{
    const RadioTally tally(outcomes);
    QJsonObject json{{"event", "summary"}, {"radios", int(outcomes.size())}, {"exit", exitCode}};
    for (const RadioState state : RADIO_STATES)
        json.insert(StateWord(state), tally[state]);
    return json;
}

QJsonObject JsonRenderer::Error(const QString& text, int exitCode)
{
    return {{"event", "error"}, {"text", text}, {"exit", exitCode}};
}

QJsonObject JsonRenderer::Found(const QString& radio)
{
    return {{"event", "found"}, {"radio", radio}};
}

QJsonObject JsonRenderer::ScanSummary(qint64 scanned, int found, int exitCode)
{
    return {{"event", "summary"}, {"scanned", scanned}, {"found", found}, {"exit", exitCode}};
}

void JsonRenderer::Render(const FleetEvent& event)
{
    const QString radio = event.radio >= 0 ? m_labels[event.radio] : QString();
    QJsonObject json;
    switch (event.kind) {
    case FleetEvent::Kind::Status:
        if (m_quiet)
            return;
        json = {{"event", "status"}, {"radio", radio}, {"text", TerminalText(event.text)}};
        break;
    case FleetEvent::Kind::Progress: {
        if (m_quiet)
            return;
        const bool last = event.bytes >= event.total;
        QElapsedTimer& since = m_sinceProgress[event.radio];
        // The last figure always goes out, and only once.
        if (event.bytes == m_lastBytes[event.radio] || (!last && since.isValid() && since.elapsed() < PROGRESS_EVENT_MS))
            return;
        since.start();
        m_lastBytes[event.radio] = event.bytes;
        json = {{"event", "progress"}, {"radio", radio}, {"bytes", qint64(event.bytes)}, {"total", qint64(event.total)}};
        break;
    }
    case FleetEvent::Kind::Result: {
        const RadioOutcome& o = event.outcome;
        json = {{"event", "result"},          {"radio", radio},
                {"address", m_addresses.value(event.radio)},
                {"state", StateWord(o.state)}, {"exit", o.ExitJson()},
                {"text", o.jsonText},            {"seconds", double(o.elapsedMs) / 1000.0},
                {"bytes", qint64(o.bytes)},    {"sha256", m_sha256},
                {"attempts", o.attempts}};
        break;
    }
    case FleetEvent::Kind::Failure:
    case FleetEvent::Kind::Note: {
        const QString prefix = radio.isEmpty() ? QStringLiteral("zerlind-firm-update: ") : radio + QStringLiteral(": ");
        for (const QString& line : TerminalText(event.text).split(u'\n'))
            m_err << prefix << line << '\n';
        m_err.flush();
        return;
    }
    case FleetEvent::Kind::Fact:
    case FleetEvent::Kind::Rollout:
        json = event.fields;
        break;
    case FleetEvent::Kind::Summary:
        json = Summary(event.outcomes, event.exitCode);
        break;
    case FleetEvent::Kind::Phase:
        return;
    }
    m_out << Line(json, event.timeMs) << '\n';
    m_out.flush();
}
