#include "WindowReporter.h"

#include "engine/TimedSocket.h"
#include "ui/boxes/MessageBoxes.h"
#include "ui/controls/ColorEdit.h"
#include "ui/controls/Colors.h"
#include "ui/controls/GradientBarCtrl.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QWidget>

#include <chrono>

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// The wait animation: a 20-unit red segment sweeping over 200 units.
constexpr int kWaitRange = 200;
constexpr int kWaitSegment = 20;
constexpr int kTransferStep = 10;
constexpr COLORREF kTransferBarColor = RGB(0, 0, 128);
constexpr COLORREF kWaitBarColor = RGB(255, 0, 0);

} // namespace

CWindowReporter::CWindowReporter(QWidget& window, CColorEdit& pane, CGradientBarCtrl& bar, QLineEdit& fileName,
                                 QLineEdit& address, QList<QWidget*> inputs)
    : m_window(window)
    , m_pane(pane)
    , m_bar(bar)
    , m_fileName(fileName)
    , m_address(address)
    , m_inputs(std::move(inputs))
{
}

CWindowReporter::~CWindowReporter()
{
    // No thread outlives the window, and none touches the bar once it is gone.
    StopWaitAnimation();
    JoinWaitAnimation();
}

void CWindowReporter::AppendMessageText(const QString& text)
{
    m_pane.AppendText(text);
}

void CWindowReporter::EndMessageLine()
{
    if (!m_pane.Text().isEmpty() && !m_pane.Text().endsWith(kLineBreak))
        AppendMessageText(kLineBreak);
}

void CWindowReporter::AppendMessageLine(const QString& text)
{
    AppendMessageText(text + kLineBreak);
}

void CWindowReporter::EnableInputControls(bool enable)
{
    QWidget* focus = m_window.focusWidget();
    if (!enable && focus && !m_focusWhileDisabled && m_inputs.contains(focus)) {
        // Disabling the focused control would hand the focus from one control to the next
        // (selecting a field's whole text on the way) and then drop it: the operator would
        // find no focus after the run. It waits instead and comes back with the inputs.
        m_focusWhileDisabled = focus;
        focus->clearFocus();
    }
    for (QWidget* input : m_inputs)
        input->setEnabled(enable);
    if (enable && m_focusWhileDisabled) {
        // Unless the run has put the focus somewhere on purpose meanwhile.
        if (!m_window.focusWidget())
            m_focusWhileDisabled->setFocus(Qt::OtherFocusReason);
        m_focusWhileDisabled = nullptr;
    }
    m_pane.repaint();
}

void CWindowReporter::StartTransferProgress(int nBlocks)
{
    m_bar.Reset();
    m_bar.SetMaximum(nBlocks);
    m_bar.SetSegment(nBlocks);
    m_bar.SetStep(kTransferStep);
    m_bar.SetColors(SysColorBtnFace(), kTransferBarColor);
}

void CWindowReporter::StepTransferProgress()
{
    m_bar.StepIt();
}

void CWindowReporter::StartWaitAnimation()
{
    // A worker still running would step the bar while it is set up again.
    StopWaitAnimation();
    JoinWaitAnimation();
    m_bar.Reset();
    m_bar.SetMaximum(kWaitRange);
    m_bar.SetSegment(kWaitSegment);
    m_bar.SetStep(1);
    m_bar.SetColors(SysColorBtnFace(), kWaitBarColor);
    m_bAnimating = 1;
    m_waitAnimation = std::thread(&CWindowReporter::WaitAnimationThread, this);
}

void CWindowReporter::StopWaitAnimation()
{
    m_bAnimating = 0;
}

void CWindowReporter::JoinWaitAnimation()
{
    // The worker never waits for this thread (the bar posts its repaints), so joining after the
    // flag is cleared ends within one poll interval.
    if (m_waitAnimation.joinable())
        m_waitAnimation.join();
}

void CWindowReporter::WaitAnimationThread(CWindowReporter* reporter)
{
    quint32 t0 = CTimedSocket::SteadyTick();
    while (reporter->m_bAnimating) {
        if (quint32(CTimedSocket::SteadyTick() - t0) > kWaitStepAfterMs) {
            reporter->m_bar.StepIt();
            t0 = CTimedSocket::SteadyTick();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kWaitPollMs));
    }
    reporter->m_bAnimating = 0;
    reporter->m_bar.Reset();
}

void CWindowReporter::ShowErrorBox(const QString& text)
{
    // The box is answered during the run; what was pressed before it is not an answer.
    const CInputDiscard::Pause answer(m_inputDiscard);
    ::ShowErrorBox(&m_window, text);
}

void CWindowReporter::ShowFileError(const QString& text)
{
    ::ShowErrorBox(&m_window, text);
}

void CWindowReporter::FocusEditAtEnd(InputField field)
{
    FocusEdit(field, true);
}

void CWindowReporter::FocusEditAtStart(InputField field)
{
    FocusEdit(field, false);
}

void CWindowReporter::FocusEdit(InputField field, bool atEnd)
{
    QLineEdit& edit = field == InputField::FileName ? m_fileName : m_address;
    edit.setFocus(Qt::OtherFocusReason);
    edit.setCursorPosition(atEnd ? int(edit.text().size()) : 0);
}

void CWindowReporter::SetActiveConnection(bool active)
{
    // Input during the run is dropped, not replayed after it: a key held or pressed while the
    // firmware goes out must not start another update, close the window or answer a notice.
    if (active)
        m_inputDiscard.Start();
    else
        m_inputDiscard.Stop();
    m_bActiveConnection = active;
}

void CWindowReporter::PumpWaitingMessages()
{
    QCoreApplication::processEvents();
}
