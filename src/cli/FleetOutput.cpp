#include "FleetOutput.h"

#include "CliReporter.h"
#include "Terminal.h"

#include <QJsonDocument>

#include <cstdio>

namespace {

// "A few per second": enough to follow a transfer, few enough to read.
constexpr qint64 PROGRESS_EVENT_MS = 250;

QString OneLine(const QString& text)
{
    return CCliReporter::TerminalText(text).replace(u'\n', u' ');
}

} // namespace

QString RadioOutcome::SummaryText() const
{
    switch (phase) {
    case RadioPhase::Updated:
        return QStringLiteral("updated");
    case RadioPhase::NotStarted:
        return QStringLiteral("not started");
    case RadioPhase::Failed:
    case RadioPhase::Stopped:
        return OneLine(text);
    case RadioPhase::Connecting:
    case RadioPhase::Transferring:
    case RadioPhase::Programming:
        break;
    }
    return QString();
}

CFleetOutput::CFleetOutput(const Settings& settings)
    : m_settings(settings), m_out(stdout), m_err(stderr), m_views(settings.radios.size())
{
    for (const QString& radio : settings.radios)
        m_labelWidth = qMax(m_labelWidth, DisplayWidth(radio));
}

QString CFleetOutput::Prefix(int radio) const
{
    return m_settings.radios.size() > 1 ? m_settings.radios[radio] + QStringLiteral(": ") : QString();
}

void CFleetOutput::Status(int radio, const QString& text)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_settings.quiet)
        return;
    if (m_settings.json) {
        WriteEvent({{"radio", m_settings.radios[radio]}, {"event", "status"},
                    {"text", CCliReporter::TerminalText(text)}});
        return;
    }
    if (m_settings.stdoutIsTerminal)
        EraseBlock();
    for (const QString& line : CCliReporter::TerminalText(text).split(u'\n'))
        WriteOut(Prefix(radio) + line);
    Redraw();
}

void CFleetOutput::Failure(int radio, const QString& text)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_out.flush();
    EraseBlock();
    for (const QString& line : CCliReporter::TerminalText(text).split(u'\n'))
        WriteErr(Prefix(radio) + line);
    Redraw();
}

void CFleetOutput::Phase(int radio, RadioPhase phase)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    RadioView& view = m_views[radio];
    view.phase = phase;
    switch (phase) {
    case RadioPhase::Connecting:
        view.runClock.start();
        if (!m_block.contains(radio))
            m_block.append(radio);
        break;
    case RadioPhase::Transferring:
        view.transferClock.start();
        break;
    case RadioPhase::Programming:
        view.waitClock.start();
        break;
    default:
        break;
    }
    Redraw();
}

void CFleetOutput::Progress(int radio, quint64 bytesSent, quint64 totalBytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    RadioView& view = m_views[radio];
    view.bytesSent = bytesSent;
    view.totalBytes = totalBytes;
    if (!m_settings.json || m_settings.quiet)
        return;
    const bool last = bytesSent >= totalBytes;
    if (!last && view.sinceProgressEvent.isValid() && view.sinceProgressEvent.elapsed() < PROGRESS_EVENT_MS)
        return;
    view.sinceProgressEvent.start();
    WriteEvent({{"radio", m_settings.radios[radio]}, {"event", "progress"},
                {"bytes", qint64(bytesSent)}, {"total", qint64(totalBytes)}});
}

void CFleetOutput::Result(int radio, const RadioOutcome& outcome)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_settings.json) {
        WriteEvent({{"radio", m_settings.radios[radio]}, {"event", "result"}, {"exit", outcome.exitCode},
                    {"text", outcome.phase == RadioPhase::Updated ? QString() : OneLine(outcome.text)},
                    {"seconds", double(outcome.elapsedMs) / 1000.0}});
    }
    RadioView& view = m_views[radio];
    view.phase = outcome.phase;
    view.note = outcome.SummaryText();
    // A radio that has ended leaves its last line above the block of those still running.
    const bool shown = m_block.removeOne(radio);
    if (shown && m_settings.progress) {
        ProgressView settled = ViewOf(radio);
        settled.elapsedMs = outcome.elapsedMs;
        Redraw({FormatProgressLine(settled, Terminal::Columns(stderr))});
    }
}

void CFleetOutput::Report(const QString& text, const QJsonObject& event)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_settings.json) {
        WriteEvent(event);
        return;
    }
    if (m_settings.stdoutIsTerminal)
        EraseBlock();
    WriteOut(text);
    Redraw();
}

void CFleetOutput::Tick()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Redraw();
}

void CFleetOutput::Summary(const QVector<RadioOutcome>& outcomes, int exitCode)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    EraseBlock();
    int updated = 0;
    for (const RadioOutcome& o : outcomes)
        updated += o.phase == RadioPhase::Updated ? 1 : 0;
    if (m_settings.json) {
        WriteEvent({{"event", "summary"}, {"updated", updated}, {"failed", int(outcomes.size()) - updated},
                    {"exit", exitCode}});
        return;
    }
    const QString radioHead = QStringLiteral("radio");
    const QString outcomeHead = QStringLiteral("outcome");
    int radioWidth = qMax(m_labelWidth, DisplayWidth(radioHead));
    int outcomeWidth = DisplayWidth(outcomeHead);
    for (const RadioOutcome& o : outcomes)
        outcomeWidth = qMax(outcomeWidth, DisplayWidth(o.SummaryText()));
    WriteOut(QString());
    WriteOut(PadWidth(radioHead, radioWidth) + QStringLiteral("  ") + PadWidth(outcomeHead, outcomeWidth)
             + QStringLiteral("  seconds"));
    for (int i = 0; i < outcomes.size(); ++i) {
        const RadioOutcome& o = outcomes[i];
        WriteOut(PadWidth(m_settings.radios[i], radioWidth) + QStringLiteral("  ")
                 + PadWidth(o.SummaryText(), outcomeWidth)
                 + QStringLiteral("  %1").arg(double(o.elapsedMs) / 1000.0, 7, 'f', 1));
    }
}

void CFleetOutput::WriteOut(const QString& line)
{
    m_out << line << '\n';
    m_out.flush();
}

void CFleetOutput::WriteErr(const QString& line)
{
    m_err << line << '\n';
    m_err.flush();
}

void CFleetOutput::WriteEvent(QJsonObject event)
{
    m_out << QString::fromUtf8(QJsonDocument(event).toJson(QJsonDocument::Compact)) << '\n';
    m_out.flush();
}

ProgressView CFleetOutput::ViewOf(int radio) const
{
    const RadioView& v = m_views[radio];
    ProgressView view;
    view.label = m_settings.radios.size() > 1 ? PadWidth(m_settings.radios[radio], m_labelWidth) : QString();
    view.phase = v.phase;
    view.bytesSent = v.bytesSent;
    view.totalBytes = v.totalBytes;
    view.transferMs = v.transferClock.isValid() ? v.transferClock.elapsed() : 0;
    view.waitedMs = v.waitClock.isValid() ? v.waitClock.elapsed() : 0;
    view.programTimeoutMs = m_settings.programTimeoutMs;
    view.elapsedMs = v.runClock.isValid() ? v.runClock.elapsed() : 0;
    view.note = v.note;
    return view;
}

void CFleetOutput::Redraw(const QStringList& settledLines)
{
    if (!m_settings.progress)
        return;
    const int columns = Terminal::Columns(stderr);
    const int rows = Terminal::Rows(stderr);
    // A block taller than the screen could not be reached again by moving the cursor up.
    const int shown = rows > 2 ? qMin(int(m_block.size()), rows - 2) : int(m_block.size());
    QString block;
    for (int i = 0; i < shown; ++i)
        block += FormatProgressLine(ViewOf(m_block[i]), columns) + QStringLiteral("\x1b[K\n");
    if (settledLines.isEmpty() && shown == m_drawnLines && block == m_lastBlock)
        return;
    QString frame;
    if (m_drawnLines > 0)
        frame += QStringLiteral("\x1b[%1A").arg(m_drawnLines);
    frame += u'\r';
    // Each line overwrites the one below it in place and clears only what is left of the old
    // one: nothing is blanked first, so nothing flickers.
    for (const QString& line : settledLines)
        frame += line + QStringLiteral("\x1b[K\n");
    frame += block;
    if (settledLines.size() + shown < m_drawnLines)
        frame += QStringLiteral("\x1b[J");
    m_drawnLines = shown;
    m_lastBlock = block;
    m_err << frame;
    m_err.flush();
}

void CFleetOutput::EraseBlock()
{
    if (!m_settings.progress || m_drawnLines == 0)
        return;
    m_err << QStringLiteral("\x1b[%1A\r\x1b[J").arg(m_drawnLines);
    m_err.flush();
    m_drawnLines = 0;
    m_lastBlock.clear();
}
