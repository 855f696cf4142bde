#include "OpeningDlg.h"

COpeningDlg::COpeningDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Zerlind Firm Utility"));
}
