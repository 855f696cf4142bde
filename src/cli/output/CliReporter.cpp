#include "CliReporter.h"

#include "StandardOutput.h"

#include "ProgressLine.h"
#include "Terminal.h"

#include "cli/run/FleetEvent.h"

#include "engine/FirmwareImage.h"

#include <QFileInfo>

#include <cstdio>

namespace {

// Redrawing the progress line more often than this only costs time.
constexpr qint64 PROGRESS_REDRAW_MS = 100;
// The seconds waited while the radio programs are shown at this pace.
constexpr int WAIT_TICK_MS = 1000;
// An interrupt while the radio programs is answered within this.
constexpr int INTERRUPT_WATCH_MS = 50;

} // namespace

CCliReporter::CCliReporter(bool quiet, bool showProgress, int programTimeoutMs, const Interrupts* interrupts)
    : m_bQuiet(quiet), m_bShowProgress(showProgress && !quiet), m_nProgramTimeoutMs(programTimeoutMs),
      m_out(stdout), m_err(stderr), m_pInterrupts(interrupts)
{
    m_waitTicker.setInterval(WAIT_TICK_MS);
    QObject::connect(&m_waitTicker, &QTimer::timeout, [this] { ShowWaited(); });
    m_interruptWatch.setInterval(INTERRUPT_WATCH_MS);
    QObject::connect(&m_interruptWatch, &QTimer::timeout, [this] { WatchInterrupt(); });
}

bool CCliReporter::Stopped() const
{
    return m_pInterrupts && m_pInterrupts->Ends(m_bProgramming);
}

void CCliReporter::WatchInterrupt()
{
    if (!m_pInterrupts->stop.load())
        return;
    m_interruptWatch.stop();
    EndProgressLine();
    m_err << "zerlind-firm-update: " << ProgrammingNote(1, m_pInterrupts->Again()) << Qt::endl;
}

void CCliReporter::AppendMessageLine(const QString& text)
{
    if (m_bQuiet)
        return;
    EndProgressLine();
    m_out << TerminalText(text) << Qt::endl;
}

void CCliReporter::AppendFailureLine(const QString&)
{
    // The failure text goes to stderr once, through ShowErrorBox.
}

void CCliReporter::ShowErrorBox(const QString& text)
{
    if (Stopped())
        return;
    EndProgressLine();
    m_out.flush();
    m_err << TerminalText(text) << Qt::endl;
}

QString CCliReporter::FileProblem(const QString& path, const QString& loaderText)
{
    const QFileInfo info(path);
    if (info.isFile() && info.size() < MIN_IMAGE_SIZE) {
        return QStringLiteral("%1: %2 bytes, too short for a firmware image (at least %3)")
            .arg(path)
            .arg(info.size())
            .arg(MIN_IMAGE_SIZE);
    }
    return QStringLiteral("%1: %2").arg(path, TerminalText(loaderText).replace(u'\n', u' '));
}

void CCliReporter::ShowFileError(const QString& text)
{
    ShowErrorBox(m_fileName.isEmpty() ? text : QStringLiteral("zerlind-firm-update: ") + FileProblem(m_fileName, text));
}

void CCliReporter::StartTransferProgress(int)
{
    m_transferClock.start();
    m_sinceShown.invalidate();
}

void CCliReporter::OnDataSent(quint64 bytesSent, quint64 totalBytes)
{
    if (!m_bShowProgress)
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

void CCliReporter::StartWaitAnimation()
{
    m_bProgramming = true;
    if (m_pInterrupts)
        m_interruptWatch.start();
    if (!m_bShowProgress)
        return;
    m_waitClock.start();
    ShowWaited();
    m_waitTicker.start();
}

void CCliReporter::StopWaitAnimation()
{
    m_interruptWatch.stop();
    m_waitTicker.stop();
    EndProgressLine();
}

void CCliReporter::ShowWaited()
{
    ProgressView view;
    view.phase = RadioPhase::Programming;
    view.waitedMs = m_waitClock.elapsed();
    view.programTimeoutMs = m_nProgramTimeoutMs;
    ShowProgress(view);
}

void CCliReporter::ShowProgress(const ProgressView& view)
{
    // Redrawn in place: back to the start of the line, then whatever of the old one is left cleared.
    m_err << '\r' << FormatProgressLine(view, Terminal::Columns(stderr)) << "\x1b[K";
    m_err.flush();
    m_bProgressOpen = true;
}

void CCliReporter::EndProgressLine()
{
    if (!m_bProgressOpen)
        return;
    m_err << Qt::endl;
    m_bProgressOpen = false;
}
