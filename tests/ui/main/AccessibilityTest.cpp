// What a screen reader hears of the main window: the fields by their labels, the bar, the log and
// the browse button by their names, the bar as a progress bar with its position in percent, busy
// while the radio programs.
#include "base/MessageCatalog.h"
#include "common/TestSupport.h"
#include "ui/controls/GradientBarCtrl.h"
#include "ui/main/FirmUtilityDlg.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Dlg = CFirmUtilityDlg;

QAccessibleInterface* Accessible(QWidget* widget)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    EXPECT_NE(iface, nullptr);
    return iface;
}

} // namespace

TEST(MainWindowAccessibility, FieldsAreNamedByTheirLabelsAndTheBarIsAProgressBar)
{
    for (quint16 language : {LanguageEnglishUs, LanguageJapanese}) {
        SCOPED_TRACE(language);
        Dlg dlg;
        dlg.SetLanguage(language);
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));

        const struct {
            int field;
            int label;
            quint16 text;
        } fields[] = {{Dlg::IDC_FILE_NAME, Dlg::IDC_FILE_LABEL, IDS_LABEL_FILE_NAME},
                      {Dlg::IDC_IP_ADDRESS, Dlg::IDC_IP_LABEL, IDS_LABEL_IP_ADDRESS}};
        for (const auto& f : fields) {
            QAccessibleInterface* iface = Accessible(dlg.GetDlgItem(f.field));
            ASSERT_NE(iface, nullptr);
            EXPECT_EQ(iface->role(), QAccessible::EditableText);
            EXPECT_EQ(iface->text(QAccessible::Name), LoadText(f.text, language));
            // The label's visible text is untouched: no mnemonic was added for the buddy.
            EXPECT_EQ(qobject_cast<QLabel*>(dlg.GetDlgItem(f.label))->text(), LoadText(f.text, language));
        }

        auto* bar = dlg.GetDlgItem(Dlg::IDC_PROGRESS)->findChild<CGradientBarCtrl*>();
        ASSERT_NE(bar, nullptr);
        // Named for what they are where the eye needs no name; the browse button still shows "...".
        const bool ja = language == LanguageJapanese;
        const struct {
            QWidget* widget;
            const char* name;
        } named[] = {{bar, ja ? u8"進行状況" : "Progress"},
                     {dlg.GetDlgItem(Dlg::IDC_MESSAGE), ja ? u8"状態メッセージ" : "Status messages"},
                     {dlg.GetDlgItem(Dlg::IDC_BROWSE), ja ? u8"ファームウェアファイルを参照" : "Browse for the firmware file"},
                     {dlg.GetDlgItem(Dlg::IDC_RADIO_PICTURE), ja ? u8"Zerlindの写真" : "Picture of the Zerlind"},
                     {dlg.GetDlgItem(Dlg::IDC_LOGO), "Firm Utility"}};
        for (const auto& n : named)
            EXPECT_EQ(Accessible(n.widget)->text(QAccessible::Name), QString::fromUtf8(n.name));
        EXPECT_EQ(qobject_cast<QPushButton*>(dlg.GetDlgItem(Dlg::IDC_BROWSE))->text(),
                  QString::fromUtf8(ja ? u8"参照" : "..."));

        QAccessibleInterface* iface = Accessible(bar);
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->role(), QAccessible::ProgressBar);
        QAccessibleValueInterface* value = iface->valueInterface();
        ASSERT_NE(value, nullptr);

        // Transfer: 40 blocks, ten a step, so two steps are half of it.
        dlg.StartTransferProgress(40);
        EXPECT_EQ(value->currentValue().toInt(), 0);
        dlg.StepTransferProgress();
        dlg.StepTransferProgress();
        EXPECT_EQ(value->currentValue().toInt(), 50);
        EXPECT_EQ(value->maximumValue().toInt(), 100);
        EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("50%"));
        EXPECT_FALSE(iface->state().busy);

        // Programming: busy, with no position to tell.
        dlg.StartWaitAnimation();
        EXPECT_TRUE(TestSupport::WaitUntil([&] { return iface->state().busy; }));
        EXPECT_EQ(value->maximumValue().toInt(), 0);
        dlg.StopWaitAnimation();
        EXPECT_TRUE(TestSupport::WaitUntil([&] { return !iface->state().busy; }));
        EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("0%"));
    }
}
