// Start confirmation.
#include "ui/notices/StartDlg.h"

#include "base/MessageCatalog.h"
#include "ui/controls/ColorEdit.h"

#include <QPushButton>

CStartDlg::CStartDlg(QWidget* parent) : CNoticeDialog(QSize(271, 132), Frame::Caption, parent)
{
    AddButton(IDOK, 77, 111, 50, 14, QStringLiteral("OK"));
    AddButton(IDCANCEL, 144, 111, 50, 14, QString::fromUtf8(u8"キャンセル"))->setDefault(true);
    AddText(IDC_CONFIRM_FIRST, 7, 7, 258, 21);
    AddText(IDC_NOTICE_POWER, 7, 24, 258, 19);
    AddText(IDC_CONFIRM_LATER, 7, 46, 258, 44);
    AddText(IDC_CONFIRM_QUESTION, 7, 89, 258, 12, true);

    connect(Button(IDOK), &QPushButton::clicked, this, &QDialog::accept);
    connect(Button(IDCANCEL), &QPushButton::clicked, this, &QDialog::reject);
    setWindowTitle(QStringLiteral("Firmware Update"));
}

void CStartDlg::OnInitDialog()
{
    Button(IDCANCEL)->setText(LoadText(IDS_CONFIRM_NO, m_wLanguage));
    Button(IDOK)->setText(LoadText(IDS_CONFIRM_YES, m_wLanguage));

    Text(IDC_CONFIRM_FIRST)->SetText(LoadText(IDS_CONFIRM_FIRST, m_wLanguage));
    Text(IDC_NOTICE_POWER)->SetText(LoadText(IDS_CONFIRM_POWER, m_wLanguage));
    Text(IDC_CONFIRM_LATER)->SetText(LoadText(IDS_CONFIRM_LATER, m_wLanguage));
    Text(IDC_CONFIRM_QUESTION)->SetText(LoadText(IDS_CONFIRM_QUESTION, m_wLanguage));
    Text(IDC_NOTICE_POWER)->SetTextColor(RGB(255, 0, 0));
    Button(IDCANCEL)->setFocus();

    // English keeps the template.
    if (m_wLanguage == LanguageJapanese)
        ApplyNoticeLayout(NoticePlans::ConfirmationJapanese);
}
