// Placeholder until the notice dialogs are built.
#pragma once

#include <QDialog>

class CCompDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCompDlg(QWidget* parent = nullptr);

    quint16 m_wLanguage = 1033;
};
