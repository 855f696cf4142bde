// The main window: firmware file, radio address, progress bar and message pane.
#pragma once

#include "ui/notices/CompDlg.h"
#include "ui/notices/OpeningDlg.h"
#include "ui/notices/StartDlg.h"

#include <QDialog>
#include <QString>

class CFirmUtilityDlg : public QDialog {
    Q_OBJECT
public:
    explicit CFirmUtilityDlg(QWidget* parent = nullptr);

    // The language of this window and of the notices it owns; set once by start-up.
    void SetLanguage(quint16 language);

    CStartDlg m_dlgStart;
    CCompDlg m_dlgComp;
    COpeningDlg m_dlgOpening;

    quint16 m_wLanguage = 1033;
    bool m_bNoCheck = false;
    bool m_bHideFileControls = false;
    QString m_strFileName;
};
