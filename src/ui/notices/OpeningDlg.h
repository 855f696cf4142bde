// The caution dialog that must be accepted before the main window opens.
#pragma once

#include <QDialog>

class COpeningDlg : public QDialog {
    Q_OBJECT
public:
    explicit COpeningDlg(QWidget* parent = nullptr);

    quint16 m_wLanguage = 1033;
};
