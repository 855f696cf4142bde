// Placeholder until the notice dialogs are built.
#pragma once

#include <QDialog>

class CStartDlg : public QDialog {
    Q_OBJECT
public:
    explicit CStartDlg(QWidget* parent = nullptr);

    quint16 m_wLanguage = 1033;
};
