// The confirmation shown before each update: what happens, the red warning not to switch the
// radio off, and the question; "No" is the default, so Enter and Escape decline.
#pragma once

#include "ui/notices/NoticeDialog.h"

class CStartDlg : public CNoticeDialog {
    Q_OBJECT
public:
    explicit CStartDlg(QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;
};
