// The engine's reporting operations shown in the main window's controls: the message pane, the
// inputs, the progress bar with the worker that animates it, the error boxes and the focus.
#pragma once

#include "engine/UpdateReporter.h"
#include "ui/main/InputDiscard.h"

#include <QList>
#include <QPointer>

#include <atomic>
#include <thread>

class CColorEdit;
class CGradientBarCtrl;
class QLineEdit;
class QWidget;

class CWindowReporter : public IUpdateReporter {
public:
    // The wait animation's worker polls every 10 ms and steps the bar whenever more than 10 ms
    // have passed since its last step.
    static constexpr int kWaitPollMs = 10;
    static constexpr quint32 kWaitStepAfterMs = 10;

    // `inputs` are the operator's controls that a run disables, labels included.
    CWindowReporter(QWidget& window, CColorEdit& pane, CGradientBarCtrl& bar, QLineEdit& fileName,
                    QLineEdit& address, QList<QWidget*> inputs);
    ~CWindowReporter() override;
    CWindowReporter(const CWindowReporter&) = delete;
    CWindowReporter& operator=(const CWindowReporter&) = delete;

    void AppendMessageText(const QString& text);
    // Ends the pane's last line, unless the pane is empty or its last line is ended already.
    void EndMessageLine();
    void AppendMessageLine(const QString& text) override;
    void EnableInputControls(bool enable) override;
    void StartTransferProgress(int nBlocks) override;
    void StepTransferProgress() override;
    void StartWaitAnimation() override;
    void StopWaitAnimation() override;
    void ShowErrorBox(const QString& text) override;
    void ShowFileError(const QString& text) override;
    void FocusEditAtEnd(InputField field) override;
    // Focus to the field, caret before its first character.
    void FocusEditAtStart(InputField field);
    void SetActiveConnection(bool active) override;
    // Dispatches every event already waiting.
    void PumpWaitingMessages();

    // True while a run holds its connection: the window then refuses to close.
    bool HoldsConnection() const { return m_bActiveConnection; }
    // Waits for the animation worker once it has been stopped; it ends within one poll interval.
    void JoinWaitAnimation();

private:
    // Focus to the field, caret after its last character or before its first.
    void FocusEdit(InputField field, bool atEnd);
    static void WaitAnimationThread(CWindowReporter* reporter);

    QWidget& m_window;
    CColorEdit& m_pane;
    CGradientBarCtrl& m_bar;
    QLineEdit& m_fileName;
    QLineEdit& m_address;
    const QList<QWidget*> m_inputs;

    bool m_bActiveConnection = false;
    CInputDiscard m_inputDiscard; // on while a run holds its connection
    QPointer<QWidget> m_focusWhileDisabled; // the control that had the focus as the inputs went off

    // Set by the window's thread; read and cleared by the animation worker.
    std::atomic<int> m_bAnimating{0};
    std::thread m_waitAnimation;
};
