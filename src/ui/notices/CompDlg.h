// The completion notice after a successful update: switch the radio off and on, and the red
// warning not to switch it off before its normal screen is back. Only "OK" is visible.
#pragma once

#include "ui/notices/NoticeDialog.h"

class CCompDlg : public CNoticeDialog {
    Q_OBJECT
public:
    explicit CCompDlg(QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;
};
