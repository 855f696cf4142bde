// Completion notice.
#include "ui/notices/CompDlg.h"

#include "base/MessageCatalog.h"
#include "ui/controls/ColorEdit.h"

#include <QPushButton>

CCompDlg::CCompDlg(QWidget* parent) : CNoticeDialog(QSize(350, 122), Frame::Caption, parent)
{
    // The template's second button is never shown; Escape and the close box still cancel.
    AddButton(IDOK, 149, 101, 50, 14, QStringLiteral("OK"))->setDefault(true);
    AddText(IDC_COMPLETE_TEXT, 7, 7, 332, 63);
    AddText(IDC_NOTICE_POWER, 7, 73, 325, 12);

    connect(Button(IDOK), &QPushButton::clicked, this, &QDialog::accept);
    setWindowTitle(QStringLiteral("Firmware Update"));
}

void CCompDlg::OnInitDialog()
{
    Text(IDC_COMPLETE_TEXT)->SetText(LoadText(IDS_COMPLETE_TEXT, m_wLanguage));
    Text(IDC_NOTICE_POWER)->SetText(LoadText(IDS_COMPLETE_POWER, m_wLanguage));
    Text(IDC_NOTICE_POWER)->SetTextColor(RGB(255, 0, 0));

    ApplyNoticeLayout(m_wLanguage == LanguageJapanese ? NoticePlans::CompletionJapanese
                                                      : NoticePlans::CompletionEnglish);
    Button(IDOK)->setFocus();
}
