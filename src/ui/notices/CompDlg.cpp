#include "CompDlg.h"

CCompDlg::CCompDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Firmware Update"));
}
