// The caution dialog that must be accepted before the main window opens: banner, title
// lettering, six notice texts and Yes / No (No is the default, so Enter and Escape refuse).
#pragma once

#include "ui/notices/NoticeDialog.h"

class COpeningDlg : public CNoticeDialog {
    Q_OBJECT
public:
    explicit COpeningDlg(QWidget* parent = nullptr);

    // How far the English layout moves the lower texts down, in pixels.
    static constexpr int kEnglishNudgeUpper = 9;  // 1030 and 1031
    static constexpr int kEnglishNudgeLower = 23; // 1032 and 1033
    // Tops of the banner and the lettering, in vertical dialog units.
    static constexpr int kBannerTop = 7;
    static constexpr int kLetteringTop = 102;

protected:
    void OnInitDialog() override;
    void paintEvent(QPaintEvent* event) override;
};
