#include "FirmUtilityDlg.h"

#include "base/Language.h"
#include "base/MessageCatalog.h"
#include "base/Product.h"
#include "engine/TimedSocket.h"
#include "engine/UpdateRun.h"
#include "ui/boxes/MessageBoxes.h"
#include "ui/controls/BitmapExCtrl.h"
#include "ui/controls/BitmapResources.h"
#include "ui/controls/ColorEdit.h"
#include "ui/controls/Colors.h"
#include "ui/controls/FrameCentring.h"
#include "ui/controls/GradientBarCtrl.h"
#include "ui/controls/StyledBitmap.h"
#include "ui/main/FileSelection.h"
#include "ui/main/InstructionTyping.h"
#include "ui/main/ServiceKeyCounter.h"
#include "ui/main/ToolTipStyle.h"
#include "ui/notices/DialogUnits.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStringDecoder>
#include <QUrl>

#include <algorithm>
#include <chrono>
#include <iterator>
#include <optional>

namespace {

// The window's template, in dialog units.
constexpr int kTemplateWidth = 250;
constexpr int kTemplateHeight = 211;

struct TemplateItem {
    int id;
    int x, y, width, height;
};

// Template order is also the stacking order: later controls lie on top of earlier ones.
constexpr TemplateItem kTemplate[] = {
    {CFirmUtilityDlg::IDC_PROGRESS_FRAME, 3, 119, 244, 15},
    {CFirmUtilityDlg::IDC_PROGRESS, 5, 121, 239, 11},
    {CFirmUtilityDlg::IDC_MESSAGE_FRAME, 3, 137, 244, 69},
    {CFirmUtilityDlg::IDC_MESSAGE, 8, 145, 231, 57},
    {CFirmUtilityDlg::IDC_FILE_LABEL, 4, 62, 136, 8},
    {CFirmUtilityDlg::IDC_FILE_NAME, 3, 71, 213, 14},
    {CFirmUtilityDlg::IDC_BROWSE, 223, 71, 24, 14},
    {CFirmUtilityDlg::IDC_IP_LABEL, 4, 91, 96, 8},
    {CFirmUtilityDlg::IDC_IP_ADDRESS, 3, 100, 174, 14},
    {CFirmUtilityDlg::IDC_START, 183, 91, 64, 24},
    {CFirmUtilityDlg::IDC_VERSION, 125, 38, 119, 8},
    {CFirmUtilityDlg::IDC_CAPTION, 124, 49, 119, 8},
    {CFirmUtilityDlg::IDC_RADIO_PICTURE, 4, 3, 114, 57},
    {CFirmUtilityDlg::IDC_LOGO, 125, 9, 117, 21},
};

const QString kSettingsKeyPath = QString::fromUtf8(SETTINGS_KEY_PATH);
const QString kConfigKey = QStringLiteral("Config");
const QString kIpValue = QStringLiteral("IP");
const QString kFileNameValue = QStringLiteral("Filename");
const QString kDefaultSuffix = QStringLiteral("dat");
const QString kLineBreak = QStringLiteral("\r\n");

// The instruction text starts this long after the window opens, so the operator sees the
// window before it begins to talk.
constexpr int kTypingDelayMs = 500;
// One piece of the instruction text per interval: fast enough to read as it appears.
constexpr int kTypingStepMs = 10;

// Tooltips: shown soon after the pointer rests, and long enough to read a full sentence.
constexpr int kToolTipInitialMs = 100;
constexpr int kToolTipAutoPopMs = 5000;

// The wait animation: a 20-unit red segment sweeping over 200 units, polled every 10 ms and
// stepped whenever more than 10 ms have passed since the last step.
constexpr int kWaitRange = 200;
constexpr int kWaitSegment = 20;
constexpr int kWaitPollMs = 10;
constexpr quint32 kWaitStepAfterMs = 10;
constexpr int kTransferStep = 10;
constexpr COLORREF kTransferBarColor = RGB(0, 0, 128);
constexpr COLORREF kWaitBarColor = RGB(255, 0, 0);
constexpr COLORREF kMessageTextColor = RGB(128, 0, 0);
constexpr COLORREF kLogoTransparentColor = RGB(255, 255, 255); // the lettering's paper

// The platform's UI font at the template's size; Japanese texts take the proportional gothic
// that the notices use, as a Japanese system's dialog font would be.
QFont DialogFont(int points, quint16 language)
{
    QFont font = QApplication::font();
    font.setPointSize(points);
    if (language == LanguageJapanese)
        font.setFamilies(CDialogUnits::TemplateFont(points, language).families());
    return font;
}

// One control moved as the header grows: right by dx or not, down by dy or not, wider by dx or not.
void MoveControl(QWidget* control, int right, int down, int wider)
{
    control->setGeometry(control->x() + right, control->y() + down, control->width() + wider, control->height());
}

} // namespace

CFirmUtilityDlg::CFirmUtilityDlg(QWidget* parent, int fontPoints)
    : QDialog(parent)
    // The window owns its notices: they stay above it and are placed over it by every window
    // system (members go before the window, so it never deletes them itself).
    , m_dlgStart(this)
    , m_dlgComp(this)
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
    CreateControls();
    PlaceControls();

    m_typingDelayTimer.setSingleShot(true);
    m_typingDelayTimer.setInterval(kTypingDelayMs);
    connect(&m_typingDelayTimer, &QTimer::timeout, this, &CFirmUtilityDlg::TypeInstructionText);
    m_typingStepTimer.setInterval(kTypingStepMs);
    connect(&m_typingStepTimer, &QTimer::timeout, this, &CFirmUtilityDlg::TypeNextPiece);
}

CFirmUtilityDlg::~CFirmUtilityDlg()
{
    // No thread outlives the window, and none touches the bar once it is gone.
    StopWaitAnimation();
    JoinWaitAnimation();
}

void CFirmUtilityDlg::SetLanguage(quint16 language)
{
    const QFont font = DialogFont(m_nFontPoints, language);
    if (font != this->font() && !m_bInitialized) {
        setFont(font);
        PlaceControls();
    }
    m_wLanguage = language;
    m_dlgStart.m_wLanguage = language;
    m_dlgComp.m_wLanguage = language;
    m_dlgOpening.m_wLanguage = language;
}

void CFirmUtilityDlg::CreateControls()
{
    m_ctlProgressFrame = new QFrame(this);
    m_ctlProgressFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    m_ctlProgressEdge = new QFrame(this);
    m_ctlProgressEdge->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_ctlProgressEdge->setLineWidth(1);
    m_ctlProgress = new CGradientBarCtrl(m_ctlProgressEdge);
    auto* edgeLayout = new QHBoxLayout(m_ctlProgressEdge);
    edgeLayout->setContentsMargins(0, 0, 0, 0);
    edgeLayout->addWidget(m_ctlProgress);

    m_ctlMessageFrame = new QFrame(this);
    m_ctlMessageFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    m_ctlMessage = new CColorEdit(this);
    m_ctlMessage->setReadOnly(true);
    m_ctlMessage->setFrameShape(QFrame::NoFrame);
    m_ctlMessage->setFocusPolicy(Qt::ClickFocus);
    m_ctlMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_ctlMessage->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_ctlMessage->SetWordWrap(true);

    m_ctlFileLabel = new QLabel(this);
    m_ctlFileName = new QLineEdit(this);
    m_ctlBrowse = new QPushButton(this);
    m_ctlIpLabel = new QLabel(this);
    m_ctlIpAddress = new QLineEdit(this);
    m_ctlStart = new QPushButton(this);
    m_ctlStart->setDefault(true);
    // Each field is named by its label for screen readers; the labels' texts stay as they are.
    m_ctlFileLabel->setBuddy(m_ctlFileName);
    m_ctlIpLabel->setBuddy(m_ctlIpAddress);
    m_ctlVersion = new QLabel(this);
    m_ctlVersion->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_ctlCaption = new QLabel(this);
    m_ctlCaption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_ctlRadioPicture = new QLabel(this);
    m_ctlLogo = new CBitmapExCtrl(this);
    m_ctlLogo->hide();

    // Dropped files are the window's, not the text fields'.
    for (QWidget* w : {static_cast<QWidget*>(m_ctlFileName), static_cast<QWidget*>(m_ctlIpAddress),
                       static_cast<QWidget*>(m_ctlMessage)})
        w->setAcceptDrops(false);

    m_ctlRadioPicture->setPixmap(QPixmap::fromImage(LoadBitmapResourceImage(IDB_RADIO, devicePixelRatioF())));

    // Tab order is template order; the other controls take no keyboard focus.
    setTabOrder(m_ctlFileName, m_ctlBrowse);
    setTabOrder(m_ctlBrowse, m_ctlIpAddress);
    setTabOrder(m_ctlIpAddress, m_ctlStart);

    connect(m_ctlBrowse, &QPushButton::clicked, this, &CFirmUtilityDlg::OnBrowse);
    connect(m_ctlStart, &QPushButton::clicked, this, &CFirmUtilityDlg::OnStart);
    connect(m_ctlFileName, &QLineEdit::textChanged, this, &CFirmUtilityDlg::OnFileNameChange);
    connect(m_ctlIpAddress, &QLineEdit::textChanged, this, &CFirmUtilityDlg::OnIpAddressChange);

    // The service key is seen whichever control has the focus.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

QWidget* CFirmUtilityDlg::GetDlgItem(int id) const
{
    switch (id) {
    case IDC_PROGRESS_FRAME: return m_ctlProgressFrame;
    case IDC_PROGRESS: return m_ctlProgressEdge;
    case IDC_MESSAGE_FRAME: return m_ctlMessageFrame;
    case IDC_MESSAGE: return m_ctlMessage;
    case IDC_FILE_LABEL: return m_ctlFileLabel;
    case IDC_FILE_NAME: return m_ctlFileName;
    case IDC_BROWSE: return m_ctlBrowse;
    case IDC_IP_LABEL: return m_ctlIpLabel;
    case IDC_IP_ADDRESS: return m_ctlIpAddress;
    case IDC_START: return m_ctlStart;
    case IDC_VERSION: return m_ctlVersion;
    case IDC_CAPTION: return m_ctlCaption;
    case IDC_RADIO_PICTURE: return m_ctlRadioPicture;
    case IDC_LOGO: return m_ctlLogo;
    default: return nullptr;
    }
}

void CFirmUtilityDlg::PlaceControls()
{
    const CDialogUnits units(font());
    for (const TemplateItem& item : kTemplate)
        GetDlgItem(item.id)->setGeometry(units.ToPixels(item.x, item.y, item.width, item.height));
    setFixedSize(units.ToPixels(0, 0, kTemplateWidth, kTemplateHeight).size());
    // A picture control takes the size of its picture, whatever the template says.
    m_ctlRadioPicture->resize(m_ctlRadioPicture->pixmap().deviceIndependentSize().toSize());
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
        FocusEditAtStart(m_ctlIpAddress);
}

void CFirmUtilityDlg::OnInitDialog()
{
    UpdateData(false);
    AdjustHeaderLayout();
    setWindowIcon(m_hIcon);

    m_ctlFileLabel->setText(LoadText(IDS_LABEL_FILE_NAME, m_wLanguage));
    m_ctlBrowse->setText(LoadText(IDS_BUTTON_BROWSE, m_wLanguage));
    // Names for screen readers where the visible text says nothing ("...") or there is none.
    m_ctlBrowse->setAccessibleName(LoadText(IDS_NAME_BROWSE, m_wLanguage));
    m_ctlProgress->setAccessibleName(LoadText(IDS_NAME_PROGRESS, m_wLanguage));
    m_ctlMessage->setAccessibleName(LoadText(IDS_NAME_MESSAGES, m_wLanguage));
    m_ctlRadioPicture->setAccessibleName(LoadText(IDS_NAME_RADIO_PICTURE, m_wLanguage));
    m_ctlLogo->setAccessibleName(LoadText(IDS_NAME_LOGO, m_wLanguage));
    m_ctlStart->setText(LoadText(IDS_BUTTON_START, m_wLanguage));
    m_ctlIpLabel->setText(LoadText(IDS_LABEL_IP_ADDRESS, m_wLanguage));
    m_ctlCaption->setText(GetProductCaption(PRODUCT_NUMBER));

    m_strInstruction = LoadText(IDS_INSTRUCTION, m_wLanguage).toUtf8();
    m_nTypePos = 0;

    m_settings.SetKeyPath(kSettingsKeyPath);
    m_settings.ReadString(kConfigKey, kIpValue, m_strIpAddress, QString());
    if (m_bHideFileControls)
        SetFileControlsVisible(false);
    // A path from the command line is shown as it is; the stored one is not read.
    if (m_strFileName.isEmpty())
        m_settings.ReadString(kConfigKey, kFileNameValue, m_strFileName, QString());

    setWindowTitle(QString::fromUtf8(FixedText::ProductTitle));
    m_ctlMessage->SetBackgroundColor(SysColorBtnFace());
    m_ctlMessage->SetTextColor(kMessageTextColor);
    m_strVersion = QString::fromUtf8(FixedText::Version);
    m_ctlLogo->LoadBitmapResource(IDB_LOGO, 0);
    m_ctlLogo->SetDrawFlags(BMX_VCENTER | BMX_HCENTER | BMX_FILLBACK);
    m_ctlLogo->SetTransparentColor(kLogoTransparentColor);

    UpdateData(false);
    EnableInputControls(true);
    FocusEditAtStart(m_ctlIpAddress);
    RegisterToolTips();
    m_typingDelayTimer.start();
}

void CFirmUtilityDlg::AdjustHeaderLayout()
{
    const int width = this->width();
    const int labelTop = m_ctlFileLabel->y();
    if (width >= kHeaderMinWidth && labelTop >= kHeaderMinLabelTop) {
        m_ctlLogo->show();
        m_bDrawLogo = false;
        return;
    }
    const int dx = width < kHeaderMinWidth ? kHeaderMinWidth - width : 0;
    const int dy = labelTop < kHeaderMinLabelTop ? kHeaderMinLabelTop - labelTop : 0;
    setFixedSize(width + dx, height() + dy);

    for (QWidget* w : {GetDlgItem(IDC_START), GetDlgItem(IDC_BROWSE)})
        MoveControl(w, dx, dy, 0);
    for (int id : {IDC_FILE_NAME, IDC_IP_ADDRESS, IDC_PROGRESS_FRAME, IDC_PROGRESS, IDC_MESSAGE_FRAME, IDC_MESSAGE})
        MoveControl(GetDlgItem(id), 0, dy, dx);
    for (int id : {IDC_VERSION, IDC_CAPTION})
        MoveControl(GetDlgItem(id), dx, 0, 0);
    for (int id : {IDC_FILE_LABEL, IDC_IP_LABEL})
        MoveControl(GetDlgItem(id), 0, dy, 0);

    // The lettering is drawn by the window, right of the radio picture.
    m_bDrawLogo = true;
    m_ctlLogo->hide();
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

void CFirmUtilityDlg::OnFileNameChange()
{
    if (m_bTransferring)
        return;
    UpdateData(true);
    StoreValue(kFileNameValue, m_strFileName);
}

void CFirmUtilityDlg::OnIpAddressChange()
{
    if (m_bTransferring)
        return;
    UpdateData(true);
    StoreValue(kIpValue, m_strIpAddress);
}

void CFirmUtilityDlg::StoreValue(const QString& valueName, const QString& text)
{
    // A failed write is said once, not at every keystroke; a write that succeeds again ends it.
    const bool stored = m_settings.WriteString(kConfigKey, valueName, text);
    if (!stored && !m_bStoreFailed) {
        if (!m_ctlMessage->Text().isEmpty() && !m_ctlMessage->Text().endsWith(kLineBreak))
            AppendMessageText(kLineBreak); // a line of its own after the instruction
        ShowStatus(IDS_STATUS_SETTINGS_NOT_STORED);
    }
    m_bStoreFailed = !stored;
}

void CFirmUtilityDlg::TypeInstructionText()
{
    UpdateData(true);
    m_typingStepTimer.start();
}

void CFirmUtilityDlg::TypeNextPiece()
{
    const int length = TypingPieceLength(m_strInstruction, m_nTypePos);
    // Once Start has been pressed the text is never typed again.
    if (m_bStarted || length == 0) {
        m_typingStepTimer.stop();
        return;
    }
    const QByteArray piece = m_strInstruction.mid(m_nTypePos, length);
    m_nTypePos += length;
    AppendMessageText(QString::fromUtf8(piece));
    if (m_nTypePos >= m_strInstruction.size())
        m_typingStepTimer.stop();
}

void CFirmUtilityDlg::AppendMessageText(const QString& text)
{
    m_ctlMessage->AppendText(text);
}

void CFirmUtilityDlg::AppendMessageLine(const QString& text)
{
    AppendMessageText(text + kLineBreak);
}

void CFirmUtilityDlg::ShowStatus(quint16 textId)
{
    AppendMessageLine(LoadText(textId, m_wLanguage));
}

void CFirmUtilityDlg::EnableInputControls(bool enable)
{
    const int inputs[] = {IDC_FILE_LABEL, IDC_FILE_NAME, IDC_BROWSE, IDC_IP_LABEL, IDC_IP_ADDRESS, IDC_START};
    QWidget* focus = focusWidget();
    if (!enable && focus && !m_focusWhileDisabled &&
        std::any_of(std::begin(inputs), std::end(inputs), [&](int id) { return GetDlgItem(id) == focus; })) {
        // Disabling the focused control would hand the focus from one control to the next
        // (selecting a field's whole text on the way) and then drop it: the operator would
        // find no focus after the run. It waits instead and comes back with the inputs.
        m_focusWhileDisabled = focus;
        focus->clearFocus();
    }
    for (int id : inputs)
        GetDlgItem(id)->setEnabled(enable);
    if (enable && m_focusWhileDisabled) {
        // Unless the run has put the focus somewhere on purpose meanwhile.
        if (!focusWidget())
            m_focusWhileDisabled->setFocus(Qt::OtherFocusReason);
        m_focusWhileDisabled = nullptr;
    }
    m_ctlMessage->repaint();
}

void CFirmUtilityDlg::StartTransferProgress(int nBlocks)
{
    m_ctlProgress->Reset();
    m_ctlProgress->SetMaximum(nBlocks);
    m_ctlProgress->SetSegment(nBlocks);
    m_ctlProgress->SetStep(kTransferStep);
    m_ctlProgress->SetColors(SysColorBtnFace(), kTransferBarColor);
}

void CFirmUtilityDlg::StepTransferProgress()
{
    m_ctlProgress->StepIt();
}

void CFirmUtilityDlg::StartWaitAnimation()
{
    // A worker still running would step the bar while it is set up again.
    StopWaitAnimation();
    JoinWaitAnimation();
    m_ctlProgress->Reset();
    m_ctlProgress->SetMaximum(kWaitRange);
    m_ctlProgress->SetSegment(kWaitSegment);
    m_ctlProgress->SetStep(1);
    m_ctlProgress->SetColors(SysColorBtnFace(), kWaitBarColor);
    m_bAnimating = 1;
    m_waitAnimation = std::thread(&CFirmUtilityDlg::WaitAnimationThread, this);
}

void CFirmUtilityDlg::StopWaitAnimation()
{
    m_bAnimating = 0;
}

void CFirmUtilityDlg::JoinWaitAnimation()
{
    // The worker never waits for this thread (the bar posts its repaints), so joining after the
    // flag is cleared ends within one poll interval.
    if (m_waitAnimation.joinable())
        m_waitAnimation.join();
}

void CFirmUtilityDlg::WaitAnimationThread(CFirmUtilityDlg* dlg)
{
    quint32 t0 = CTimedSocket::SteadyTick();
    while (dlg->m_bAnimating) {
        if (quint32(CTimedSocket::SteadyTick() - t0) > kWaitStepAfterMs) {
            dlg->m_ctlProgress->StepIt();
            t0 = CTimedSocket::SteadyTick();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kWaitPollMs));
    }
    dlg->m_bAnimating = 0;
    dlg->m_ctlProgress->Reset();
}

void CFirmUtilityDlg::ShowErrorBox(const QString& text)
{
    // The box is answered during the run; what was pressed before it is not an answer.
    const CInputDiscard::Pause answer(m_inputDiscard);
    ::ShowErrorBox(this, text);
}

void CFirmUtilityDlg::ShowFileError(const QString& text)
{
    ::ShowErrorBox(this, text);
}

void CFirmUtilityDlg::FocusEditAtEnd(InputField field)
{
    QLineEdit* edit = field == InputField::FileName ? m_ctlFileName : m_ctlIpAddress;
    edit->setFocus(Qt::OtherFocusReason);
    edit->setCursorPosition(int(edit->text().size()));
}

void CFirmUtilityDlg::FocusEditAtStart(QLineEdit* edit)
{
    edit->setFocus(Qt::OtherFocusReason);
    edit->setCursorPosition(0);
}

void CFirmUtilityDlg::SetActiveConnection(bool active)
{
    // Input during the run is dropped, not replayed after it: a key held or pressed while the
    // firmware goes out must not start another update, close the window or answer a notice.
    if (active)
        m_inputDiscard.Start();
    else
        m_inputDiscard.Stop();
    m_bActiveConnection = active;
}

void CFirmUtilityDlg::PumpWaitingMessages()
{
    QCoreApplication::processEvents();
}

void CFirmUtilityDlg::OnBrowse()
{
    UpdateData(true);
    // The system's language, not the program's, decides the title.
    const bool japaneseSystem = ChooseLanguage(SystemLocaleId()) == LanguageJapanese;

    const CQtDialogStateCleanUp cleanUp; // after the dialog has saved its state
    QFileDialog dialog(this);
    new CFrameCentring(dialog, CFrameCentring::Over::Owner); // owned by the dialog
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(FileDialogFilters(LoadText(IDS_FILE_FILTER, m_wLanguage)));
    dialog.setDefaultSuffix(kDefaultSuffix);
    const BrowseStart start = ChooseBrowseStart(m_strFileName);
    if (!start.initialFile.isEmpty()) {
        dialog.setDirectory(QFileInfo(start.initialFile).absolutePath());
        dialog.selectFile(start.initialFile);
    } else if (!start.initialFolder.isEmpty()) {
        dialog.setDirectory(start.initialFolder);
    }
    if (!japaneseSystem)
        dialog.setWindowTitle(QString::fromUtf8(FixedText::OpenTitle));

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    m_strFileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    StoreValue(kFileNameValue, m_strFileName);
    UpdateData(false);
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
    StoreValue(kFileNameValue, m_strFileName);
    UpdateData(false);
    m_ctlStart->setEnabled(startWasEnabled);
}

void CFirmUtilityDlg::OnStart()
{
    // From the confirmation to the completion the window takes no drop.
    const QScopedValueRollback<bool> running(m_bRunning, true);
    PumpWaitingMessages();
    // The typing waits while the operator decides, as it would behind any modal box.
    const bool wasTyping = m_typingStepTimer.isActive();
    m_typingStepTimer.stop();
    if (!m_bNoCheck && m_dlgStart.exec() != QDialog::Accepted) {
        if (wasTyping)
            m_typingStepTimer.start();
        return;
    }
    m_bStarted = true;
    m_strMessage.clear();
    UpdateData(false);

    const int result = RunUpdate();
    if (!m_bNoCheck && result == 1) {
        m_dlgComp.exec();
        FocusEditAtStart(m_ctlIpAddress);
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
    if (m_bActiveConnection) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CFirmUtilityDlg::reject()
{
    if (m_bActiveConnection)
        return;
    QDialog::reject();
}

void CFirmUtilityDlg::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (!m_bDrawLogo)
        return;
    // The lettering right of the radio picture, at its own size, the window showing through.
    CStyledBitmap logo(0, kLogoTransparentColor, RGB(0, 0, 0));
    if (!logo.LoadFromResource(IDB_LOGO))
        return;
    logo.SetDrawFlags(BMX_VCENTER | BMX_HCENTER | BMX_TRANSPARENT);
    logo.SetTransparentColor(kLogoTransparentColor);
    QPainter painter(this);
    logo.Draw(&painter, kLogoDrawX, m_ctlLogo->y(), -1, -1);
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

namespace {

// The action a drop is taken with: a copy, else a link, never a move, which would tell the
// source that the file has gone and let it delete the original. None when the drop is refused.
std::optional<Qt::DropAction> DropActionFor(const QDropEvent& event, bool taken)
{
    if (!taken)
        return std::nullopt;
    if (event.possibleActions() & Qt::CopyAction)
        return Qt::CopyAction;
    if (event.possibleActions() & Qt::LinkAction)
        return Qt::LinkAction;
    return std::nullopt;
}

// Whether the local file's name, as the system knows it (the URL's bytes), is UTF-8 and so
// comes through as the very name; any other is seen with replacement characters.
bool NameIsUtf8(const QUrl& url)
{
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString name = decoder(bytes);
    return !decoder.hasError();
}

// The drop's local files in the system's form, and those of them whose names are not UTF-8.
struct LocalFiles {
    QStringList names;
    QStringList notUtf8;
};

LocalFiles LocalFilesOf(const QMimeData& data)
{
    LocalFiles files;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            continue;
        files.names << QDir::toNativeSeparators(url.toLocalFile());
        if (!NameIsUtf8(url))
            files.notUtf8 << files.names.back();
    }
    return files;
}

// Accepts the drag or drop with its copy or link action, or refuses it, so the cursor says
// what the drop will do; true when accepted.
bool AcceptAsCopy(QDropEvent* event, bool taken)
{
    const std::optional<Qt::DropAction> action = DropActionFor(*event, taken);
    if (!action) {
        event->ignore();
        return false;
    }
    event->setDropAction(*action);
    event->accept();
    return true;
}

} // namespace

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
    AcceptAsCopy(event, !DropTarget(*event).isEmpty());
}

void CFirmUtilityDlg::dropEvent(QDropEvent* event)
{
    const QString name = DropTarget(*event);
    if (!AcceptAsCopy(event, !name.isEmpty()))
        return;
    const LocalFiles files = LocalFilesOf(*event->mimeData());
    // A firmware file whose name would not reach the system as it is stays out of the field,
    // said once the drop has ended, so the source is not kept waiting by the box.
    if (files.notUtf8.contains(name))
        QTimer::singleShot(0, this, [this] { ShowErrorBox(LoadText(IDS_ERR_FILE_NAME_NOT_UTF8, m_wLanguage)); });
    else
        OnDropFiles(files.names);
}
