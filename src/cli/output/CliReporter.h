// The update run on a terminal: status lines on stdout, failures on stderr, and progress on
// stderr when it is a terminal.
#pragma once

#include "cli/run/Interrupts.h"

#include "engine/UpdateReporter.h"

#include <QElapsedTimer>
#include "Terminal.h"

#include <QTextStream>
#include <QTimer>

struct ProgressView;

class CliReporter : public IUpdateReporter {
public:
    // `programTimeoutMs` is the limit shown while the radio programs. A failure that an
    // interrupt of `interrupts` (may be null) caused is no failure of the radio's: not shown.
    CliReporter(bool quiet, bool showProgress, int programTimeoutMs, const Interrupts* interrupts = nullptr);

    void AppendMessageLine(const QString& text) override;
    void AppendFailureLine(const QString& text) override;
    void EnableInputControls(bool) override {}
    void StartTransferProgress(int blocks) override;
    void StepTransferProgress() override {}
    void StartWaitAnimation() override;
    void StopWaitAnimation() override;
    void ShowErrorBox(const QString& text) override;
    void ShowFileError(const QString& text) override;
    void FocusEditAtEnd(InputField) override {}
    void SetActiveConnection(bool) override {}
    void OnDataSent(quint64 bytesSent, quint64 totalBytes) override;

    // The file the run loads: its problems are told as "zerlind-firm-update: PATH: ...".
    void SetFileName(const QString& path) { m_fileName = path; }
    // Whether the radio was told to program: a second interrupt leaves it maybe programming.
    bool ToldToProgram() const { return m_programming; }

private:
    void ShowWaited();
    void WatchInterrupt();
    bool Stopped() const;
    void ShowProgress(const ProgressView& view);
    void EndProgressLine();

    bool m_quiet;
    bool m_showProgress;
    int m_programTimeoutMs;
    Terminal::TextStream m_out;
    Terminal::TextStream m_err;
    QElapsedTimer m_transferClock;
    QElapsedTimer m_sinceShown;
    QElapsedTimer m_waitClock;
    QTimer m_waitTicker;
    QTimer m_interruptWatch;
    const Interrupts* m_interrupts;
    bool m_programming = false;
    bool m_progressOpen = false;
    // Where the console takes no escape sequences, blanks clear what is left of a longer line.
    bool m_clearsWithSequences = false;
    int m_shownWidth = 0;
    QString m_fileName;
};
