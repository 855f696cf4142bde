// The main window: product header, firmware file name and radio address with their buttons, the
// progress bar and the message pane; it stores the two fields as they change and shows the run.
#pragma once

#include "base/CommandLine.h"
#include "engine/UpdateRun.h"
#include "ui/main/FieldSettings.h"
#include "ui/main/HeaderLayout.h"
#include "ui/main/InstructionTyping.h"
#include "ui/main/MainWindowTemplate.h"
#include "ui/main/WindowReporter.h"
#include "ui/notices/CompDlg.h"
#include "ui/notices/OpeningDlg.h"
#include "ui/notices/StartDlg.h"

#include <QDialog>
#include <QIcon>
#include <QString>
#include <QStringList>

class CToolTipStyle;
class QDropEvent;

// The window is made from its template and reports the engine's run in its own controls.
class CFirmUtilityDlg : public QDialog, public CMainWindowTemplate, public CWindowReporter {
    Q_OBJECT
public:
    // `fontPoints` other than the template's lays the window out for a smaller or larger font.
    explicit CFirmUtilityDlg(QWidget* parent = nullptr, int fontPoints = kDialogFontPoints);

    // The language of this window and of the notices it owns; set once by start-up, before the
    // window is shown (Japanese lays the window out anew in its proportional gothic).
    void SetLanguage(quint16 language);
    // What the command line asks of this run; set by start-up before the window is shown.
    void SetOptions(const CommandLineOptions& options);
    // The update run's time-outs; tests shorten them so a long wait costs milliseconds.
    void SetTimeouts(const UpdateTimeouts& timeouts) { m_timeouts = timeouts; }

    // A catalog text as a line of the message pane.
    void ShowStatus(quint16 textId);

    // The operator's commands.
    void OnBrowse();
    void OnDropFiles(const QStringList& names);
    void OnStart();

    // Drops are taken only while the window is idle (no run, no notice or box open) and shows
    // its file field: a drop never changes a file the operator cannot see or that is being sent.
    bool TakesDrops() const;

    // Start has been pressed since the window opened: the instruction is no longer typed.
    bool Started() const { return m_bStarted; }
    bool IsTyping() const { return m_typing.IsTyping(); }
    bool DrawsLogo() const { return m_header.DrawsLogo(); }

    // The notices the window owns: the caution that start-up shows, and those around each update.
    CStartDlg m_dlgStart;
    CCompDlg m_dlgComp;
    COpeningDlg m_dlgOpening;

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void OnInitDialog();
    void SetCaptions();
    void SetFileControlsVisible(bool visible);
    void RegisterToolTips();
    // true: the controls' texts into the fields; false: the fields into the controls, changing
    // only texts that differ and writing no settings while doing so.
    void UpdateData(bool bSaveAndValidate);
    void OnFieldChange(InputField field);
    void StoreValue(InputField field, const QString& text);
    // The line saying the settings could not be stored, on a line of its own.
    void SayNotStored();
    QString DropTarget(const QDropEvent& event) const;
    int RunUpdate();

    QString m_strFileName;
    QString m_strIpAddress;
    QString m_strVersion;
    QString m_strMessage;

    bool m_bHideFileControls = false;
    bool m_bNoCheck = false;
    quint16 m_wLanguage = LanguageEnglishUs;
    bool m_bStarted = false;

    bool m_bInitialized = false;
    bool m_bTransferring = false; // UpdateData(false) runs: change notifications write nothing
    bool m_bRunning = false;      // the start command runs: its notices, the update, the boxes
    bool m_bNotStoredHeld = false; // a failed write waits for the instruction to be typed whole
    CInstructionTyping m_typing;
    int m_nFontPoints;
    QIcon m_hIcon;
    CToolTipStyle* m_toolTip = nullptr;
    CHeaderLayout m_header;
    CFieldSettings m_settings;
    UpdateTimeouts m_timeouts;
};
