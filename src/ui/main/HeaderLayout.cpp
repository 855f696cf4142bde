#include "HeaderLayout.h"

#include "ui/controls/BitmapExCtrl.h"
#include "ui/controls/BitmapResources.h"
#include "ui/controls/StyledBitmap.h"
#include "ui/main/MainWindowTemplate.h"

#include <QLabel>
#include <QWidget>

namespace {

constexpr COLORREF kLogoTransparentColor = RGB(255, 255, 255); // the lettering's paper

// How one control follows the header as it grows by dx and dy.
struct HeaderMove {
    int id;
    bool right; // moves right by dx
    bool down;  // moves down by dy
    bool wider; // grows by dx
};

constexpr HeaderMove kHeaderMoves[] = {
    {CMainWindowTemplate::IDC_START, true, true, false},
    {CMainWindowTemplate::IDC_BROWSE, true, true, false},
    {CMainWindowTemplate::IDC_FILE_NAME, false, true, true},
    {CMainWindowTemplate::IDC_IP_ADDRESS, false, true, true},
    {CMainWindowTemplate::IDC_PROGRESS_FRAME, false, true, true},
    {CMainWindowTemplate::IDC_PROGRESS, false, true, true},
    {CMainWindowTemplate::IDC_MESSAGE_FRAME, false, true, true},
    {CMainWindowTemplate::IDC_MESSAGE, false, true, true},
    {CMainWindowTemplate::IDC_VERSION, true, false, false},
    {CMainWindowTemplate::IDC_CAPTION, true, false, false},
    {CMainWindowTemplate::IDC_FILE_LABEL, false, true, false},
    {CMainWindowTemplate::IDC_IP_LABEL, false, true, false},
};

} // namespace

void CHeaderLayout::Adjust(QWidget& window, const CMainWindowTemplate& controls)
{
    auto* logo = static_cast<CBitmapExCtrl*>(controls.GetDlgItem(CMainWindowTemplate::IDC_LOGO));
    logo->LoadBitmapResource(IDB_LOGO, 0);
    logo->SetDrawFlags(BMX_VCENTER | BMX_HCENTER | BMX_FILLBACK);
    logo->SetTransparentColor(kLogoTransparentColor);
    const int width = window.width();
    const int labelTop = controls.GetDlgItem(CMainWindowTemplate::IDC_FILE_LABEL)->y();
    if (width >= kHeaderMinWidth && labelTop >= kHeaderMinLabelTop) {
        logo->show();
        m_bDrawLogo = false;
        return;
    }
    const int dx = width < kHeaderMinWidth ? kHeaderMinWidth - width : 0;
    const int dy = labelTop < kHeaderMinLabelTop ? kHeaderMinLabelTop - labelTop : 0;
    window.setFixedSize(width + dx, window.height() + dy);
    for (const HeaderMove& move : kHeaderMoves) {
        QWidget* control = controls.GetDlgItem(move.id);
        control->setGeometry(control->x() + (move.right ? dx : 0), control->y() + (move.down ? dy : 0),
                             control->width() + (move.wider ? dx : 0), control->height());
    }

    // The lettering is drawn by the window, right of the radio picture.
    m_bDrawLogo = true;
    logo->hide();
    auto* painted = new QLabel(&window);
    painted->setGeometry(QRect(QPoint(kLogoDrawX, logo->y()), logo->sizeHint()));
    painted->setAttribute(Qt::WA_TransparentForMouseEvents);
    painted->show();
    m_paintedLogo = painted;
}

void CHeaderLayout::PaintLogo(QPainter& painter, const CMainWindowTemplate& controls) const
{
    CStyledBitmap logo(0, kLogoTransparentColor, RGB(0, 0, 0));
    if (!logo.LoadFromResource(IDB_LOGO))
        return;
    logo.SetDrawFlags(BMX_VCENTER | BMX_HCENTER | BMX_TRANSPARENT);
    logo.SetTransparentColor(kLogoTransparentColor);
    logo.Draw(&painter, kLogoDrawX, controls.GetDlgItem(CMainWindowTemplate::IDC_LOGO)->y(), -1, -1);
}
