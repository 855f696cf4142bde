// Caution dialog.
#include "ui/notices/OpeningDlg.h"

#include "base/MessageCatalog.h"
#include "ui/controls/BitmapResources.h"
#include "ui/controls/ColorEdit.h"

#include <QPainter>
#include <QPushButton>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);


} // namespace

COpeningDlg::COpeningDlg(QWidget* parent) : CNoticeDialog(QSize(288, 271), Frame::BorderOnly, parent)
{
    // The whole client area is white.
    QPalette white = palette();
    white.setColor(QPalette::Window, ToQColor(kWhite));
    setPalette(white);
    setAutoFillBackground(true);

    AddButton(IDOK, 87, 250, 50, 14, QStringLiteral("OK"));
    AddButton(IDCANCEL, 148, 250, 50, 14, QString::fromUtf8(u8"キャンセル"))->setDefault(true);
    AddText(IDC_CAUTION_HEADING, 7, 132, 266, 12, true);
    AddText(IDC_CAUTION_RISK, 7, 140, 281, 24);
    AddText(IDC_CAUTION_RESPONSIBILITY, 7, 164, 275, 36);
    AddText(IDC_CAUTION_SETTINGS_LOST, 7, 193, 272, 26);
    AddText(IDC_CAUTION_BACKUP, 7, 201, 280, 26);
    AddText(IDC_CAUTION_QUESTION, 7, 220, 274, 12, true);

    connect(Button(IDOK), &QPushButton::clicked, this, &QDialog::accept);
    connect(Button(IDCANCEL), &QPushButton::clicked, this, &QDialog::reject);
    setWindowTitle(QString::fromUtf8(FixedText::ProductTitle));
}

void COpeningDlg::OnInitDialog()
{
    Button(IDOK)->setText(LoadText(IDS_CAUTION_YES, m_wLanguage));
    Button(IDCANCEL)->setText(LoadText(IDS_CAUTION_NO, m_wLanguage));

    static const int texts[] = {IDC_CAUTION_HEADING,       IDC_CAUTION_RISK,   IDC_CAUTION_RESPONSIBILITY,
                                IDC_CAUTION_SETTINGS_LOST, IDC_CAUTION_BACKUP, IDC_CAUTION_QUESTION};
    for (int i = 0; i < 6; ++i) {
        CColorEdit* edit = Text(texts[i]);
        edit->SetBackgroundColor(kWhite);
        edit->SetTextColor(SysColorBtnText());
        edit->SetText(LoadText(IDS_CAUTION_HEADING + i, m_wLanguage));
    }

    if (m_wLanguage != LanguageJapanese) {
        Text(IDC_CAUTION_HEADING)->SetTextColor(kRed);
        MoveItemBy(IDC_CAUTION_RESPONSIBILITY, 0, kEnglishNudgeUpper);
        MoveItemBy(IDC_CAUTION_SETTINGS_LOST, 0, kEnglishNudgeUpper);
        MoveItemBy(IDC_CAUTION_BACKUP, 0, kEnglishNudgeLower);
        MoveItemBy(IDC_CAUTION_QUESTION, 0, kEnglishNudgeLower);
    } else {
        ApplyNoticeLayout(NoticePlans::CautionJapanese);
    }

    Text(IDC_CAUTION_RISK)->SetTextColor(kRed);
    Text(IDC_CAUTION_BACKUP)->SetTextColor(kRed);
    Button(IDCANCEL)->setFocus();
}

void COpeningDlg::paintEvent(QPaintEvent* event)
{
    CNoticeDialog::paintEvent(event);
    // Both pictures are centred in the current client width, widened or not.
    QPainter painter(this);
    const QRect client = ClientRect();
    // On a scaled screen the pictures drawn at twice the size, so they stay sharp; they take the
    // same room as the plain ones, which decide the position.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const auto draw = [&](uint bitmap, int topUnits) {
        const QImage image = LoadBitmapResourceImage(bitmap, devicePixelRatioF());
        const int x = (client.width() - image.deviceIndependentSize().toSize().width()) / 2;
        painter.drawImage(client.left() + x, client.top() + Units().ToPixelsY(topUnits), image);
    };
    draw(IDB_BANNER, kBannerTop);
    draw(IDB_LOGO, kLetteringTop);
}
