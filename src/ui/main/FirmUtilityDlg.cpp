#include "FirmUtilityDlg.h"

#include "base/MessageCatalog.h"
#include "base/Product.h"
#include "ui/controls/BitmapExCtrl.h"
#include "ui/controls/BitmapResources.h"
#include "ui/controls/ColorEdit.h"
#include "ui/controls/Colors.h"
#include "ui/controls/FrameCentring.h"
#include "ui/controls/GradientBarCtrl.h"
#include "ui/main/FileSelection.h"
#include "ui/main/InstructionTyping.h"
#include "ui/main/ServiceKeyCounter.h"
#include "ui/main/ToolTipStyle.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>

namespace {

// Tooltips: shown soon after the pointer rests, and long enough to read a full sentence.
constexpr int kToolTipInitialMs = 100;
constexpr int kToolTipAutoPopMs = 5000;

constexpr COLORREF kMessageTextColor = RGB(128, 0, 0);

} // namespace

CFirmUtilityDlg::CFirmUtilityDlg(QWidget* parent, int fontPoints)
    : QDialog(parent)
    , CMainWindowTemplate(static_cast<QDialog&>(*this))
    , CWindowReporter(*this, *m_ctlMessage, *m_ctlProgress, *m_ctlFileName, *m_ctlIpAddress,
                      {m_ctlFileLabel, m_ctlFileName, m_ctlBrowse, m_ctlIpLabel, m_ctlIpAddress, m_ctlStart})
    // The window owns its notices: they stay above it and are placed over it by every window
    // system (members go before the window, so it never deletes them itself).
    , m_dlgStart(this)
    , m_dlgComp(this)
    // Once Start has been pressed the text is never typed again.
    , m_typing(m_bStarted, [this] { UpdateData(true); }, [this](const QString& piece) { AppendMessageText(piece); },
               [this] {
                   if (m_bNotStoredHeld)
                       SayNotStored();
               })
    , m_nFontPoints(fontPoints)
    , m_hIcon(AppIcon())
{
    // An ordinary application window, so task bars and window switchers list it: not a dialog
    // type, which the window system would tie to a hidden leader window. Fixed in size, with a
    // system menu and a minimise box, never maximised.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // Placed by the program: a window system without a manager puts it where it is told, and
    // Qt's own placement allows for a guessed frame that is not there.
    new CFrameCentring(*this, CFrameCentring::Over::Screen); // owned by the window
    setAcceptDrops(true);
    setFont(DialogFont(fontPoints, m_wLanguage));
    PlaceControls(*this);

    connect(m_ctlBrowse, &QPushButton::clicked, this, &CFirmUtilityDlg::OnBrowse);
    connect(m_ctlStart, &QPushButton::clicked, this, &CFirmUtilityDlg::OnStart);
    connect(m_ctlFileName, &QLineEdit::textChanged, this, [this] { OnFieldChange(InputField::FileName); });
    connect(m_ctlIpAddress, &QLineEdit::textChanged, this, [this] { OnFieldChange(InputField::Address); });
    // The service key is seen whichever control has the focus.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void CFirmUtilityDlg::SetLanguage(quint16 language)
{
    const QFont font = DialogFont(m_nFontPoints, language);
    if (font != this->font() && !m_bInitialized) {
        setFont(font);
        PlaceControls(*this);
    }
    m_wLanguage = language;
    m_dlgStart.m_wLanguage = language;
    m_dlgComp.m_wLanguage = language;
    m_dlgOpening.m_wLanguage = language;
}

void CFirmUtilityDlg::SetOptions(const CommandLineOptions& options)
{
    m_bNoCheck = options.bNoCheck;
    m_bHideFileControls = options.bHideFileControls;
    m_strFileName = options.strFileName;
}

void CFirmUtilityDlg::setVisible(bool visible)
{
    // Everything the window shows is in place before it is first shown and centred.
    const bool opening = visible && !m_bInitialized;
    if (opening) {
        m_bInitialized = true;
        OnInitDialog();
    }
    QDialog::setVisible(visible);
    // Showing a window focuses its focus widget as if tabbed to, which selects a field's
    // whole text: the caret goes to the start of the address once the window is up.
    if (opening)
        FocusEditAtStart(InputField::Address);
}

void CFirmUtilityDlg::OnInitDialog()
{
    UpdateData(false);
    m_header.Adjust(*this, *this);
    setWindowIcon(m_hIcon);
    SetCaptions();

    m_strIpAddress = m_settings.Read(InputField::Address);
    if (m_bHideFileControls)
        SetFileControlsVisible(false);
    // A path from the command line is shown as it is; the stored one is not read.
    if (m_strFileName.isEmpty())
        m_strFileName = m_settings.Read(InputField::FileName);

    setWindowTitle(QString::fromUtf8(FixedText::ProductTitle));
    m_ctlMessage->SetBackgroundColor(SysColorBtnFace());
    m_ctlMessage->SetTextColor(kMessageTextColor);
    m_strVersion = QString::fromUtf8(FixedText::Version);

    UpdateData(false);
    EnableInputControls(true);
    FocusEditAtStart(InputField::Address);
    RegisterToolTips();
    m_typing.Start(LoadText(IDS_INSTRUCTION, m_wLanguage));
}

void CFirmUtilityDlg::SetCaptions()
{
    m_ctlFileLabel->setText(LoadText(IDS_LABEL_FILE_NAME, m_wLanguage));
    m_ctlBrowse->setText(LoadText(IDS_BUTTON_BROWSE, m_wLanguage));
    // Names for screen readers where the visible text says nothing ("...") or there is none.
    m_ctlBrowse->setAccessibleName(LoadText(IDS_NAME_BROWSE, m_wLanguage));
    m_ctlProgress->setAccessibleName(LoadText(IDS_NAME_PROGRESS, m_wLanguage));
    m_ctlMessage->setAccessibleName(LoadText(IDS_NAME_MESSAGES, m_wLanguage));
    m_ctlRadioPicture->setAccessibleName(LoadText(IDS_NAME_RADIO_PICTURE, m_wLanguage));
    for (QWidget* logo : {static_cast<QWidget*>(m_ctlLogo), m_header.PaintedLogo()})
        if (logo)
            logo->setAccessibleName(LoadText(IDS_NAME_LOGO, m_wLanguage));
    m_ctlStart->setText(LoadText(IDS_BUTTON_START, m_wLanguage));
    m_ctlIpLabel->setText(LoadText(IDS_LABEL_IP_ADDRESS, m_wLanguage));
    m_ctlCaption->setText(GetProductCaption(PRODUCT_NUMBER));
}

void CFirmUtilityDlg::SetFileControlsVisible(bool visible)
{
    for (QWidget* w : {static_cast<QWidget*>(m_ctlFileLabel), static_cast<QWidget*>(m_ctlFileName),
                       static_cast<QWidget*>(m_ctlBrowse)})
        w->setVisible(visible);
}

void CFirmUtilityDlg::RegisterToolTips()
{
    m_toolTip = new CToolTipStyle(kToolTipInitialMs, this);
    const struct {
        QWidget* control;
        quint16 textId;
    } tools[] = {
        {m_ctlStart, IDS_TIP_START},
        {m_ctlBrowse, IDS_TIP_BROWSE},
        {m_ctlFileName, IDS_TIP_FILE_NAME},
        {m_ctlIpAddress, IDS_TIP_IP_ADDRESS},
    };
    for (const auto& tool : tools) {
        tool.control->setStyle(m_toolTip);
        tool.control->setToolTip(LoadText(tool.textId, m_wLanguage));
        tool.control->setToolTipDuration(kToolTipAutoPopMs);
    }
}

void CFirmUtilityDlg::UpdateData(bool bSaveAndValidate)
{
    if (bSaveAndValidate) {
        m_strFileName = m_ctlFileName->text();
        m_strIpAddress = m_ctlIpAddress->text();
        m_strVersion = m_ctlVersion->text();
        m_strMessage = m_ctlMessage->Text();
        return;
    }
    const QScopedValueRollback<bool> transferring(m_bTransferring, true);
    if (m_ctlFileName->text() != m_strFileName)
        m_ctlFileName->setText(m_strFileName);
    if (m_ctlIpAddress->text() != m_strIpAddress)
        m_ctlIpAddress->setText(m_strIpAddress);
    if (m_ctlVersion->text() != m_strVersion)
        m_ctlVersion->setText(m_strVersion);
    if (m_ctlMessage->Text() != m_strMessage)
        m_ctlMessage->SetText(m_strMessage);
}

void CFirmUtilityDlg::OnFieldChange(InputField field)
{
    if (m_bTransferring)
        return;
    UpdateData(true);
    StoreValue(field, field == InputField::FileName ? m_strFileName : m_strIpAddress);
}

void CFirmUtilityDlg::StoreValue(InputField field, const QString& text)
{
    if (!m_settings.Store(field, text))
        return;
    // Not in the middle of a word of the instruction: after it, once it is typed whole.
    if (m_typing.IsTyping())
        m_bNotStoredHeld = true;
    else
        SayNotStored();
}

void CFirmUtilityDlg::SayNotStored()
{
    m_bNotStoredHeld = false;
    EndMessageLine(); // a line of its own after the instruction
    ShowStatus(IDS_STATUS_SETTINGS_NOT_STORED);
}

void CFirmUtilityDlg::ShowStatus(quint16 textId)
{
    AppendMessageLine(LoadText(textId, m_wLanguage));
}

void CFirmUtilityDlg::OnBrowse()
{
    UpdateData(true);
    const QString chosen = BrowseFirmwareFile(this, m_strFileName, m_wLanguage);
    if (chosen.isEmpty())
        return;
    // The dialog ran a loop of its own: the fields as they stand now, not as it opened.
    UpdateData(true);
    m_strFileName = chosen;
    UpdateData(false);
    // Said after the transfer, which would otherwise put back the pane as it was.
    StoreValue(InputField::FileName, m_strFileName);
}

bool CFirmUtilityDlg::TakesDrops() const
{
    return !m_bRunning && !QApplication::activeModalWidget() && !m_ctlFileName->isHidden();
}

void CFirmUtilityDlg::OnDropFiles(const QStringList& names)
{
    const QString name = TakesDrops() ? DroppedFirmwareFile(names) : QString();
    if (name.isEmpty())
        return;
    const bool startWasEnabled = m_ctlStart->isEnabled();
    m_ctlStart->setEnabled(false);
    UpdateData(true);
    m_strFileName = name;
    UpdateData(false);
    // Said after the transfer, which would otherwise put back the pane as it was.
    StoreValue(InputField::FileName, m_strFileName);
    m_ctlStart->setEnabled(startWasEnabled);
}

void CFirmUtilityDlg::OnStart()
{
    // From the confirmation to the completion the window takes no drop.
    const QScopedValueRollback<bool> running(m_bRunning, true);
    PumpWaitingMessages();
    // The typing waits while the operator decides, as it does behind any modal window.
    if (!m_bNoCheck && m_dlgStart.exec() != QDialog::Accepted)
        return;
    m_bStarted = true;
    m_strMessage.clear();
    UpdateData(false);
    // The instruction it was waiting for has gone; it is said before the run's lines.
    if (m_bNotStoredHeld)
        SayNotStored();

    const int result = RunUpdate();
    if (!m_bNoCheck && result == 1) {
        m_dlgComp.exec();
        FocusEditAtStart(InputField::Address);
    }
}

int CFirmUtilityDlg::RunUpdate()
{
    UpdateData(true);
    CUpdateRun run(*this, m_wLanguage, m_timeouts);
    const UpdateResult result = run.Run(m_strFileName, m_strIpAddress);
    // The run has stopped the animation; its worker ends within one poll interval.
    JoinWaitAnimation();
    return result == UpdateResult::Updated ? 1 : 0;
}

void CFirmUtilityDlg::closeEvent(QCloseEvent* event)
{
    // Closing while a run holds its connection would pull the window from under the run.
    if (HoldsConnection()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CFirmUtilityDlg::reject()
{
    if (HoldsConnection())
        return;
    QDialog::reject();
}

void CFirmUtilityDlg::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (!m_header.DrawsLogo())
        return;
    QPainter painter(this);
    m_header.PaintLogo(painter, *this);
}

bool CFirmUtilityDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F11) {
        switch (CServiceKeyCounter::Process().KeyDown()) {
        case CServiceKeyCounter::Action::ShowFileControls:
            SetFileControlsVisible(true);
            break;
        case CServiceKeyCounter::Action::HideFileControls:
            SetFileControlsVisible(false);
            break;
        case CServiceKeyCounter::Action::None:
            break;
        }
        // Taken here, so the parent of the control that had it does not count it again.
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

QString CFirmUtilityDlg::DropTarget(const QDropEvent& event) const
{
    return TakesDrops() ? DroppedFirmwareFile(LocalFilesOf(*event.mimeData()).names) : QString();
}

void CFirmUtilityDlg::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void CFirmUtilityDlg::dragMoveEvent(QDragMoveEvent* event)
{
    AcceptAsCopy(*event, !DropTarget(*event).isEmpty());
}

void CFirmUtilityDlg::dropEvent(QDropEvent* event)
{
    const QString name = DropTarget(*event);
    if (!AcceptAsCopy(*event, !name.isEmpty()))
        return;
    const LocalFiles files = LocalFilesOf(*event->mimeData());
    // A firmware file whose name would not reach the system as it is stays out of the field,
    // said once the drop has ended, so the source is not kept waiting by the box.
    if (files.notUtf8.contains(name))
        QTimer::singleShot(0, this, [this] { ShowErrorBox(LoadText(IDS_ERR_FILE_NAME_NOT_UTF8, m_wLanguage)); });
    else
        OnDropFiles(files.names);
}
