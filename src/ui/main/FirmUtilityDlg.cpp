#include "FirmUtilityDlg.h"

#include "app/MessageCatalog.h"

CFirmUtilityDlg::CFirmUtilityDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8(FixedText::ProductTitle));
}

void CFirmUtilityDlg::SetLanguage(quint16 language)
{
    m_wLanguage = language;
    m_dlgStart.m_wLanguage = language;
    m_dlgComp.m_wLanguage = language;
    m_dlgOpening.m_wLanguage = language;
}
