// The confirmation shown before each update: what happens, the red warning not to switch the
// radio off, and the question; "No" is the default, so Enter and Escape decline.
#pragma once

#include "ui/notices/NoticeDialog.h"

class CStartDlg : public CNoticeDialog {
    Q_OBJECT
public:
    explicit CStartDlg(QWidget* parent = nullptr);

    // Language of every text; set by the owner before the dialog is shown.
    quint16 m_wLanguage = 1033;

protected:
    void OnInitDialog() override;
    quint16 Language() const override { return m_wLanguage; }
};
