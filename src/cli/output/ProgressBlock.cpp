#include "ProgressBlock.h"

#include "Terminal.h"

#include "cli/text/CliText.h"

#include <QDeadlineTimer>
#include <QJsonObject>

#include <algorithm>

namespace {

// A radio that has sent nothing for this long is marked as stalled: its time-out may be far off.
constexpr qint64 STALLED_AFTER_MS = 5000;

// A radio's progress and phase redraw the block at most this often: hundreds of radios each
// moving every block would otherwise keep the writer drawing (and the terminal reading) all the
// time. What they leave undrawn goes out with the next event or the writer's tick.
constexpr qint64 REDRAW_MS = 100;

} // namespace

ProgressBlock::ProgressBlock(const QStringList& labels, int programTimeoutMs, QTextStream& err, Clock clock)
    : m_labels(labels), m_programTimeoutMs(programTimeoutMs), m_err(err), m_views(labels.size()),
      m_clock(clock ? std::move(clock) : [] { return QDeadlineTimer::current().deadline(); })
{
    for (const QString& label : labels)
        m_labelWidth = qMax(m_labelWidth, DisplayWidth(label));
}

void ProgressBlock::SetPauses(int waves, int pauseMs)
{
    m_waves = waves;
    m_pauseMs = pauseMs;
    m_pausesAhead = pauseMs > 0 ? waves - 1 : 0;
}

void ProgressBlock::Render(const FleetEvent& event)
{
    if (event.kind == FleetEvent::Kind::Rollout) {
        const QString action = event.fields.value(QLatin1String("action")).toString();
        if (action == QLatin1String("pause")) {
            m_nextWave = event.fields.value(QLatin1String("wave")).toInt();
            m_pauseEnd = m_clock() + event.fields.value(QLatin1String("seconds")).toInt() * 1000;
            m_pausesAhead = m_pauseMs > 0 ? qMax(0, m_waves - m_nextWave) : 0;
        } else if (action == QLatin1String("start") || action == QLatin1String("stop")) {
            m_pauseEnd = -1;
        }
        // A radio that failed and waits to be tried again.
        const qsizetype radio = m_labels.indexOf(event.fields.value(QLatin1String("radio")).toString());
        const QJsonValue wait = event.fields.value(QLatin1String("wait"));
        if (event.fields.value(QLatin1String("event")) == QLatin1String("attempt") && radio >= 0 && wait.isDouble())
            m_views[radio].retryEnd = m_clock() + wait.toInteger() * 1000;
        Draw();
        return;
    }
    if (event.kind == FleetEvent::Kind::Summary) {
        // The table has taken the block's place for good.
        m_finished = true;
        Erase();
        return;
    }
    if (event.radio < 0 || event.radio >= m_views.size())
        return;
    RadioView& view = m_views[event.radio];
    const qint64 now = m_clock();
    switch (event.kind) {
    case FleetEvent::Kind::Phase:
        view.phase = event.phase;
        view.retryEnd = -1;
        if (event.phase == RadioPhase::Connecting)
            view.runStart = now;
        else if (event.phase == RadioPhase::Transferring)
            view.transferStart = now;
        else if (event.phase == RadioPhase::Programming)
            view.waitStart = now;
        view.lastMove = now;
        break;
    case FleetEvent::Kind::Progress:
        view.bytesSent = event.bytes;
        view.totalBytes = event.total;
        view.lastMove = now;
        if (m_transferStart < 0)
            m_transferStart = now;
        break;
    case FleetEvent::Kind::Result: {
        view.ended = true;
        view.state = event.outcome.state;
        // A radio that has ended leaves its last line above the block of those still running.
        ProgressView settled = ViewOf(event.radio);
        settled.phase = event.outcome.state == RadioState::Updated ? RadioPhase::Updated
                        : event.outcome.state == RadioState::Failed ? RadioPhase::Failed
                                                                     : RadioPhase::Stopped;
        settled.note = event.outcome.text;
        settled.stalled = false;
        settled.elapsedMs = event.outcome.elapsedMs;
        if (view.runStart >= 0) {
            Erase();
            m_err << FormatProgressLine(settled, Terminal::Columns(stderr)) << "\x1b[K\n";
        }
        break;
    }
    default:
        return;
    }
    Account(now);
    if (event.kind == FleetEvent::Kind::Result || m_drawnAt < 0 || now - m_drawnAt >= REDRAW_MS)
        Draw();
}

void ProgressBlock::Account(qint64 now)
{
    if (m_activeSince >= 0)
        m_activeMs += now - m_activeSince;
    const bool running = std::any_of(m_views.cbegin(), m_views.cend(), [](const RadioView& v) { return v.runStart >= 0 && !v.ended; });
    m_activeSince = running && m_transferStart >= 0 ? now : -1;
}

void ProgressBlock::Tick()
{
    Draw();
}

ProgressView ProgressBlock::ViewOf(int radio) const
{
    const RadioView& v = m_views[radio];
    ProgressView view;
    view.label = PadWidth(m_labels[radio], m_labelWidth);
    view.phase = v.phase;
    view.bytesSent = v.bytesSent;
    view.totalBytes = v.totalBytes;
    view.transferMs = Since(v.transferStart);
    view.waitedMs = Since(v.waitStart);
    view.programTimeoutMs = m_programTimeoutMs;
    view.elapsedMs = Since(v.runStart);
    view.stalled = Stalled(v);
    view.retryInMs = v.retryEnd >= 0 ? qMax<qint64>(0, v.retryEnd - m_clock()) : -1;
    return view;
}

qint64 ProgressBlock::Since(qint64 start) const
{
    return start < 0 ? 0 : m_clock() - start;
}

bool ProgressBlock::Stalled(const RadioView& view) const
{
    // Programming is a silence by design; anything else this quiet deserves a look.
    return view.phase != RadioPhase::Programming && view.retryEnd < 0 && Since(view.lastMove) >= STALLED_AFTER_MS;
}

QString ProgressBlock::FleetLine(int columns) const
{
    RadioTally tally;
    bool stalled = false;
    quint64 sent = 0;
    quint64 whole = 0;
    quint64 imageSize = 0;
    for (const RadioView& v : m_views) {
        if (v.ended)
            tally.Add(v.state);
        stalled = stalled || (v.runStart >= 0 && !v.ended && Stalled(v));
        imageSize = qMax(imageSize, v.totalBytes);
    }
    for (const RadioView& v : m_views) {
        if (v.ended && v.state != RadioState::Updated)
            continue;
        // A radio yet to start still has the whole image to take.
        sent += v.ended ? imageSize : v.bytesSent;
        whole += imageSize;
    }
    QString left = QStringLiteral("--:--");
    const qint64 ms = m_activeMs + Since(m_activeSince);
    const qint64 pauseLeft = m_pauseEnd >= 0 ? qMax<qint64>(0, m_pauseEnd - m_clock()) : 0;
    // A radio that has stalled could take any time yet: no estimate rather than a false one.
    if (ms >= 1000 && sent > 0 && whole >= sent && !stalled) {
        const double updating = double(whole - sent) * double(ms) / double(sent);
        qint64 seconds = qint64((updating + double(pauseLeft) + double(m_pausesAhead) * m_pauseMs) / 1000.0 + 0.5);
        // Never sooner than a running radio's own line says it will be done.
        for (int radio = 0; radio < m_views.size(); ++radio) {
            if (m_views[radio].runStart >= 0 && !m_views[radio].ended)
                seconds = qMax(seconds, TransferSecondsLeft(ViewOf(radio)));
        }
        left = FormatDuration(seconds);
    }
    QString line = tr("%1 radios: %2 done, %3 failed")
                       .arg(m_views.size())
                       .arg(tally[RadioState::Updated])
                       .arg(tally[RadioState::Failed]);
    // The rest only once there are any: after an interrupt, radios neither done nor failed.
    for (const RadioState state : {RadioState::Interrupted, RadioState::Unknown, RadioState::NotStarted}) {
        if (tally[state] > 0)
            line += tr(", %1").arg(StateCount(state, tally[state]));
    }
    if (m_pauseEnd >= 0)
        line += tr(", wave %1 of %2 in %3 s").arg(m_nextWave).arg(m_waves).arg((pauseLeft + 999) / 1000);
    return FitWidth(line + tr(", %1 left").arg(left), (columns > 0 ? columns : 80) - 1);
}

void ProgressBlock::Draw()
{
    if (m_finished)
        return;
    m_drawnAt = m_clock();
    const int columns = Terminal::Columns(stderr);
    const int rows = Terminal::Rows(stderr);
    QVector<int> running;
    for (int i = 0; i < m_views.size(); ++i) {
        if (m_views[i].runStart >= 0 && !m_views[i].ended)
            running << i;
    }
    // A block taller than the screen could not be reached again by moving the cursor up: the
    // fleet line, the radios that fit, and a line for the rest.
    const int room = rows > 3 ? rows - 3 : 20;
    const int shown = running.size() > room ? room - 1 : int(running.size());
    QStringList lines{FleetLine(columns)};
    for (int i = 0; i < shown; ++i)
        lines << FormatProgressLine(ViewOf(running[i]), columns);
    if (shown < running.size())
        lines << FitWidth(tr("+%1 more").arg(running.size() - shown), (columns > 0 ? columns : 80) - 1);
    QString block;
    for (const QString& line : lines)
        block += line + QStringLiteral("\x1b[K\n");
    if (int(lines.size()) == m_drawnLines && block == m_lastBlock && columns == m_drawnColumns)
        return;
    // Lines the terminal has wrapped anew go first, whole: drawn over in place they would leave
    // their upper rows behind.
    if (DrawnRows(columns) != m_drawnLines)
        Erase();
    QString frame;
    if (m_drawnLines > 0)
        frame += QStringLiteral("\x1b[%1A").arg(m_drawnLines);
    // Each line overwrites the one below it in place and clears only what is left of the old
    // one: nothing is blanked first, so nothing flickers.
    frame += u'\r' + block;
    if (lines.size() < m_drawnLines)
        frame += QStringLiteral("\x1b[J");
    m_drawnLines = int(lines.size());
    // Rows below a shorter block keep what they held for when it grows again.
    if (m_drawnWidths.size() < lines.size())
        m_drawnWidths.resize(lines.size());
    for (int i = 0; i < lines.size(); ++i)
        m_drawnWidths[i] = qMax(m_drawnWidths[i], DisplayWidth(lines[i]));
    m_drawnColumns = columns;
    m_lastBlock = block;
    m_err << frame;
    m_err.flush();
}

void ProgressBlock::Erase()
{
    if (m_drawnLines == 0)
        return;
    // The block's lines are deleted, not the screen below the cursor cleared: at the top of the
    // screen a clear is a clear-screen, which some terminals keep in the scrollback. Out at once:
    // the line that takes the block's place goes by another stream, and an erase still held
    // here would follow it and wipe it.
    m_err << QStringLiteral("\x1b[%1A\r\x1b[%1M").arg(DrawnRows(Terminal::Columns(stderr)));
    m_err.flush();
    m_drawnLines = 0;
    m_drawnWidths.clear();
    m_lastBlock.clear();
}

int ProgressBlock::DrawnRows(int columns) const
{
    if (columns <= 0 || columns >= m_drawnColumns)
        return m_drawnLines;
    int rows = 0;
    for (int i = 0; i < m_drawnLines; ++i)
        rows += qMax(1, (m_drawnWidths[i] + columns - 1) / columns);
    return rows;
}
