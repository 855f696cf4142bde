#include "MainWindowTemplate.h"

#include "base/MessageCatalog.h"
#include "ui/controls/BitmapExCtrl.h"
#include "ui/controls/BitmapResources.h"
#include "ui/controls/ColorEdit.h"
#include "ui/controls/GradientBarCtrl.h"
#include "ui/notices/DialogUnits.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
    {CMainWindowTemplate::IDC_PROGRESS_FRAME, 3, 119, 244, 15},
    {CMainWindowTemplate::IDC_PROGRESS, 5, 121, 239, 11},
    {CMainWindowTemplate::IDC_MESSAGE_FRAME, 3, 137, 244, 69},
    {CMainWindowTemplate::IDC_MESSAGE, 8, 145, 231, 57},
    {CMainWindowTemplate::IDC_FILE_LABEL, 4, 62, 136, 8},
    {CMainWindowTemplate::IDC_FILE_NAME, 3, 71, 213, 14},
    {CMainWindowTemplate::IDC_BROWSE, 223, 71, 24, 14},
    {CMainWindowTemplate::IDC_IP_LABEL, 4, 91, 96, 8},
    {CMainWindowTemplate::IDC_IP_ADDRESS, 3, 100, 174, 14},
    {CMainWindowTemplate::IDC_START, 183, 91, 64, 24},
    {CMainWindowTemplate::IDC_VERSION, 125, 38, 119, 8},
    {CMainWindowTemplate::IDC_CAPTION, 124, 49, 119, 8},
    {CMainWindowTemplate::IDC_RADIO_PICTURE, 4, 3, 114, 57},
    {CMainWindowTemplate::IDC_LOGO, 125, 9, 117, 21},
};

} // namespace

CMainWindowTemplate::CMainWindowTemplate(QDialog& window)
{
    m_ctlProgressFrame = new QFrame(&window);
    m_ctlProgressFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    m_ctlProgressEdge = new QFrame(&window);
    m_ctlProgressEdge->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_ctlProgressEdge->setLineWidth(1);
    m_ctlProgress = new CGradientBarCtrl(m_ctlProgressEdge);
    auto* edgeLayout = new QHBoxLayout(m_ctlProgressEdge);
    edgeLayout->setContentsMargins(0, 0, 0, 0);
    edgeLayout->addWidget(m_ctlProgress);

    m_ctlMessageFrame = new QFrame(&window);
    m_ctlMessageFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    m_ctlMessage = new CColorEdit(&window);
    m_ctlMessage->setReadOnly(true);
    m_ctlMessage->setFrameShape(QFrame::NoFrame);
    m_ctlMessage->setFocusPolicy(Qt::ClickFocus);
    m_ctlMessage->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_ctlMessage->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_ctlMessage->SetWordWrap(true);

    m_ctlFileLabel = new QLabel(&window);
    m_ctlFileName = new QLineEdit(&window);
    m_ctlBrowse = new QPushButton(&window);
    m_ctlIpLabel = new QLabel(&window);
    m_ctlIpAddress = new QLineEdit(&window);
    m_ctlStart = new QPushButton(&window);
    m_ctlStart->setDefault(true);
    // Each field is named by its label for screen readers; the labels' texts stay as they are.
    m_ctlFileLabel->setBuddy(m_ctlFileName);
    m_ctlIpLabel->setBuddy(m_ctlIpAddress);
    m_ctlVersion = new QLabel(&window);
    m_ctlVersion->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_ctlCaption = new QLabel(&window);
    m_ctlCaption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_ctlRadioPicture = new QLabel(&window);
    m_ctlLogo = new CBitmapExCtrl(&window);
    m_ctlLogo->hide();

    // Dropped files are the window's, not the text fields'.
    for (QWidget* w : {static_cast<QWidget*>(m_ctlFileName), static_cast<QWidget*>(m_ctlIpAddress),
                       static_cast<QWidget*>(m_ctlMessage)})
        w->setAcceptDrops(false);

    m_ctlRadioPicture->setPixmap(QPixmap::fromImage(LoadBitmapResourceImage(IDB_RADIO, window.devicePixelRatioF())));

    // Tab order is template order; the other controls take no keyboard focus.
    QWidget::setTabOrder(m_ctlFileName, m_ctlBrowse);
    QWidget::setTabOrder(m_ctlBrowse, m_ctlIpAddress);
    QWidget::setTabOrder(m_ctlIpAddress, m_ctlStart);
}

QWidget* CMainWindowTemplate::GetDlgItem(int id) const
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

QFont CMainWindowTemplate::DialogFont(int points, quint16 language)
{
    QFont font = QApplication::font();
    font.setPointSize(points);
    if (language == LanguageJapanese)
        font.setFamilies(CDialogUnits::TemplateFont(points, language).families());
    return font;
}

void CMainWindowTemplate::PlaceControls(QDialog& window)
{
    const CDialogUnits units(window.font());
    for (const TemplateItem& item : kTemplate)
        GetDlgItem(item.id)->setGeometry(units.ToPixels(item.x, item.y, item.width, item.height));
    window.setFixedSize(units.ToPixels(0, 0, kTemplateWidth, kTemplateHeight).size());
    // A picture control takes the size of its picture, whatever the template says.
    m_ctlRadioPicture->resize(m_ctlRadioPicture->pixmap().deviceIndependentSize().toSize());
}
