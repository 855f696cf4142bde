#include "CliReporter.h"

#include "StandardOutput.h"

#include "ProgressLine.h"
#include "Terminal.h"

#include "cli/run/FleetEvent.h"
#include "cli/text/CliText.h"

#include <cstdio>

namespace {

// Redrawing the progress line more often than this only costs time.
constexpr qint64 PROGRESS_REDRAW_MS = 100;
// The seconds waited while the radio programs are shown at this pace.
constexpr int WAIT_TICK_MS = 1000;
// An interrupt while the radio programs is answered within this.
constexpr int INTERRUPT_WATCH_MS = 50;

} // namespace

CliReporter::CliReporter(bool quiet, bool showProgress, int programTimeoutMs, const Interrupts* interrupts)
    : m_quiet(quiet), m_showProgress(showProgress && !quiet), m_programTimeoutMs(programTimeoutMs),
      m_out(stdout), m_err(stderr), m_interrupts(interrupts)
{
    m_waitTicker.setInterval(WAIT_TICK_MS);
    QObject::connect(&m_waitTicker, &QTimer::timeout, [this] { ShowWaited(); });
    m_clearsWithSequences = m_showProgress && Terminal::ClearsWithSequences(stderr);
    m_interruptWatch.setInterval(INTERRUPT_WATCH_MS);
    QObject::connect(&m_interruptWatch, &QTimer::timeout, [this] { WatchInterrupt(); });
}

bool CliReporter::Stopped() const
{
    return m_interrupts && m_interrupts->Ends(m_programming);
}

void CliReporter::WatchInterrupt()
{
    if (!m_interrupts->stop.load())
        return;
    m_interruptWatch.stop();
    EndProgressLine();
    m_err << "zerlind-firm-update: " << ProgrammingNote(1, m_interrupts->Again()) << Qt::endl;
}

void CliReporter::AppendMessageLine(const QString& text)
{
    if (m_quiet)
        return;
    EndProgressLine();
    m_out << TerminalText(text) << Qt::endl;
}

void CliReporter::AppendFailureLine(const QString&)
{
    // The failure text goes to stderr once, through ShowErrorBox.
}

void CliReporter::ShowErrorBox(const QString& text)
{
    if (Stopped())
        return;
    EndProgressLine();
    m_out.flush();
    m_err << TerminalText(text) << Qt::endl;
}

void CliReporter::ShowFileError(const QString& text)
{
    ShowErrorBox(m_fileName.isEmpty() ? text : QStringLiteral("zerlind-firm-update: ") + FileProblem(m_fileName, text));
}

void CliReporter::StartTransferProgress(int)
{
    m_transferClock.start();
    m_sinceShown.invalidate();
}

void CliReporter::OnDataSent(quint64 bytesSent, quint64 totalBytes)
{
    if (!m_showProgress)
        return;
    const bool last = bytesSent >= totalBytes;
    if (!last && m_sinceShown.isValid() && m_sinceShown.elapsed() < PROGRESS_REDRAW_MS)
        return;
    m_sinceShown.start();
    ProgressView view;
    view.phase = RadioPhase::Transferring;
    view.bytesSent = bytesSent;
    view.totalBytes = totalBytes;
    view.transferMs = m_transferClock.elapsed();
    ShowProgress(view);
}

void CliReporter::StartWaitAnimation()
{
    m_programming = true;
    if (m_interrupts)
        m_interruptWatch.start();
    if (!m_showProgress)
        return;
    m_waitClock.start();
    ShowWaited();
    m_waitTicker.start();
}

void CliReporter::StopWaitAnimation()
{
    m_interruptWatch.stop();
    m_waitTicker.stop();
    EndProgressLine();
}

void CliReporter::ShowWaited()
{
    ProgressView view;
    view.phase = RadioPhase::Programming;
    view.waitedMs = m_waitClock.elapsed();
    view.programTimeoutMs = m_programTimeoutMs;
    ShowProgress(view);
}

void CliReporter::ShowProgress(const ProgressView& view)
{
    // Redrawn in place: back to the start of the line, then whatever of the old one is left cleared.
    const QString line = FormatProgressLine(view, Terminal::Columns(stderr));
    const int width = DisplayWidth(line);
    m_err << '\r' << line;
    if (m_clearsWithSequences)
        m_err << "\x1b[K";
    else if (m_shownWidth > width)
        m_err << QString(m_shownWidth - width, u' ');
    m_shownWidth = width;
    m_err.flush();
    m_progressOpen = true;
}

void CliReporter::EndProgressLine()
{
    if (!m_progressOpen)
        return;
    m_err << Qt::endl;
    m_progressOpen = false;
    m_shownWidth = 0;
}
