#include "StartDlg.h"

CStartDlg::CStartDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Firmware Update"));
}
