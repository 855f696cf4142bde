// How an update run shows itself: the operations that the main window implements for the
// desktop and the command-line updater implements for a terminal.
#pragma once

#include <QString>
#include <QtGlobal>

enum class InputField { FileName, Address };

class IUpdateReporter {
public:
    virtual ~IUpdateReporter() = default;

    // One line of the message pane; texts may hold CR LF line breaks of their own.
    virtual void AppendMessageLine(const QString& text) = 0;
    // Enables or disables the operator's inputs (file name, browse, address, Start).
    virtual void EnableInputControls(bool enable) = 0;
    // Transfer progress over `nBlocks` full blocks, stepped every ten blocks and once at the end.
    virtual void StartTransferProgress(int nBlocks) = 0;
    virtual void StepTransferProgress() = 0;
    // The animation while the radio programs its memory; stopping never waits for it.
    virtual void StartWaitAnimation() = 0;
    virtual void StopWaitAnimation() = 0;
    // The modal error box of a failed run; returns when it is closed.
    virtual void ShowErrorBox(const QString& text) = 0;
    // The firmware file cannot be used: the system's own text, or the catalog's.
    virtual void ShowFileError(const QString& text) = 0;
    // Focus to the field, caret after its last character.
    virtual void FocusEditAtEnd(InputField field) = 0;
    // True while the run holds a connection: the window then ignores close requests.
    virtual void SetActiveConnection(bool active) = 0;

    // The failure text as a line of the pane, just before the error box shows it. A terminal
    // that prints the box on its own stream may leave it out.
    virtual void AppendFailureLine(const QString& text) { AppendMessageLine(text); }
    // After each accepted data request: image bytes sent so far out of the whole.
    virtual void OnDataSent(quint64 bytesSent, quint64 totalBytes) {}
};
