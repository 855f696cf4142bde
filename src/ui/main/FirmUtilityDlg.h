// The main window: product header, firmware file name and radio address with their buttons, the
// progress bar and the message pane; it stores the two fields as they change and shows the run.
#pragma once

#include "engine/UpdateReporter.h"
#include "engine/UpdateRun.h"
#include "ui/main/InputDiscard.h"
#include "ui/main/SettingsStore.h"
#include "ui/notices/CompDlg.h"
#include "ui/notices/OpeningDlg.h"
#include "ui/notices/StartDlg.h"

#include <QByteArray>
#include <QDialog>
#include <QIcon>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <atomic>
#include <thread>

class CBitmapExCtrl;
class CColorEdit;
class CGradientBarCtrl;
class CToolTipStyle;
class QFrame;
class QLabel;
class QLineEdit;
class QDropEvent;
class QPushButton;

// Where the window keeps its two fields below the user's root of the settings store.
inline constexpr char SETTINGS_KEY_PATH[] = "software\\vurn\\Zerlind FirmUtility";

class CFirmUtilityDlg : public QDialog, public IUpdateReporter {
    Q_OBJECT
public:
    // Control identifiers of the window's template.
    enum ControlId : int {
        IDC_IP_ADDRESS = 1000,
        IDC_IP_LABEL = 1001,
        IDC_VERSION = 1002,
        IDC_FILE_NAME = 1003,
        IDC_BROWSE = 1004,
        IDC_START = 1013,
        IDC_FILE_LABEL = 1014,
        IDC_LOGO = 1016,
        IDC_PROGRESS = 1018,
        IDC_MESSAGE = 1022,
        IDC_CAPTION = 1023,
        IDC_PROGRESS_FRAME = 1050,
        IDC_MESSAGE_FRAME = 1051,
        IDC_RADIO_PICTURE = -1, // the template's picture has no identifier of its own
    };

    // The header's pictures need this much room (pixels): the window's width, the top of the
    // file-name label, and where the window draws the lettering when it had to grow.
    static constexpr int kHeaderMinWidth = 442;
    static constexpr int kHeaderMinLabelTop = 109;
    static constexpr int kLogoDrawX = 224;

    // The template's font: the platform's UI font at this size.
    static constexpr int kDialogFontPoints = 9;

    // `fontPoints` other than the template's lays the window out for a smaller or larger font.
    explicit CFirmUtilityDlg(QWidget* parent = nullptr, int fontPoints = kDialogFontPoints);
    ~CFirmUtilityDlg() override;

    // The language of this window and of the notices it owns; set once by start-up, before the
    // window is shown (Japanese lays the window out anew in its proportional gothic).
    void SetLanguage(quint16 language);
    // The update run's time-outs; tests shorten them so a long wait costs milliseconds.
    void SetTimeouts(const UpdateTimeouts& timeouts) { m_timeouts = timeouts; }

    // The control with this identifier as placed in the window; null for an unknown one.
    QWidget* GetDlgItem(int id) const;

    // true: the controls' texts into the fields; false: the fields into the controls, changing
    // only texts that differ and writing no settings while doing so.
    void UpdateData(bool bSaveAndValidate);

    // Reporting operations of the window, used by the update run and the start command.
    void AppendMessageText(const QString& text);
    void AppendMessageLine(const QString& text) override;
    void ShowStatus(quint16 textId);
    void EnableInputControls(bool enable) override;
    void StartTransferProgress(int nBlocks) override;
    void StepTransferProgress() override;
    void StartWaitAnimation() override;
    void StopWaitAnimation() override;
    void ShowErrorBox(const QString& text) override;
    void ShowFileError(const QString& text) override;
    void FocusEditAtEnd(InputField field) override;
    void SetActiveConnection(bool active) override;
    // Dispatches every event already waiting.
    void PumpWaitingMessages();

    // The operator's commands.
    void OnBrowse();
    void OnDropFiles(const QStringList& names);
    void OnStart();

    // Drops are taken only while the window is idle (no run, no notice or box open) and shows
    // its file field: a drop never changes a file the operator cannot see or that is being sent.
    bool TakesDrops() const;

    bool IsTyping() const { return m_typingStepTimer.isActive() || m_typingDelayTimer.isActive(); }
    bool DrawsLogo() const { return m_bDrawLogo; }

    CStartDlg m_dlgStart;
    CCompDlg m_dlgComp;
    COpeningDlg m_dlgOpening;

    QString m_strFileName;
    QString m_strIpAddress;
    QString m_strVersion;
    QString m_strMessage;

    bool m_bHideFileControls = false;
    bool m_bNoCheck = false;
    quint16 m_wLanguage = 1033;
    bool m_bStarted = false;

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
    void CreateControls();
    void PlaceControls();
    void OnInitDialog();
    void AdjustHeaderLayout();
    void SetFileControlsVisible(bool visible);
    void FocusEditAtStart(QLineEdit* edit);
    void RegisterToolTips();
    void OnFileNameChange();
    void OnIpAddressChange();
    void StoreValue(const QString& valueName, const QString& text);
    QString DropTarget(const QDropEvent& event) const;
    void TypeInstructionText();
    void TypeNextPiece();
    int RunUpdate();
    void JoinWaitAnimation();
    static void WaitAnimationThread(CFirmUtilityDlg* dlg);

    // Controls, owned by the window as their parent.
    QFrame* m_ctlProgressFrame = nullptr;
    QFrame* m_ctlProgressEdge = nullptr;
    CGradientBarCtrl* m_ctlProgress = nullptr;
    QFrame* m_ctlMessageFrame = nullptr;
    CColorEdit* m_ctlMessage = nullptr;
    QLabel* m_ctlFileLabel = nullptr;
    QLineEdit* m_ctlFileName = nullptr;
    QPushButton* m_ctlBrowse = nullptr;
    QLabel* m_ctlIpLabel = nullptr;
    QLineEdit* m_ctlIpAddress = nullptr;
    QPushButton* m_ctlStart = nullptr;
    QLabel* m_ctlVersion = nullptr;
    QLabel* m_ctlCaption = nullptr;
    QLabel* m_ctlRadioPicture = nullptr;
    CBitmapExCtrl* m_ctlLogo = nullptr;

    QByteArray m_strInstruction; // UTF-8; m_nTypePos indexes its bytes
    int m_nTypePos = 0;
    QTimer m_typingDelayTimer;
    QTimer m_typingStepTimer;

    bool m_bInitialized = false;
    bool m_bDrawLogo = false;
    bool m_bTransferring = false; // UpdateData(false) runs: change notifications write nothing
    bool m_bActiveConnection = false;
    bool m_bRunning = false;     // the start command runs: its notices, the update, the boxes
    bool m_bStoreFailed = false; // the last write to the settings failed and the pane said so
    int m_nFontPoints;
    CInputDiscard m_inputDiscard; // on while a run holds its connection
    QPointer<QWidget> m_focusWhileDisabled; // the control that had the focus as the inputs went off
    QIcon m_hIcon;
    CToolTipStyle* m_toolTip = nullptr;
    CSettingsStore m_settings;
    UpdateTimeouts m_timeouts;

    // Set by the window's thread; read and cleared by the animation worker.
    std::atomic<int> m_bAnimating{0};
    std::thread m_waitAnimation;
};
