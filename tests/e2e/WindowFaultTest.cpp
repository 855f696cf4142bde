// The fault matrix through the main window, driven offscreen: for every failing case the text
// in the pane and in the error box, a wait bounded by the phase's time-out, the inputs enabled
// again, and no descriptor left behind by the run.
#include "FaultCase.h"
#include "FaultScene.h"

#include "base/MessageCatalog.h"
#include "common/ProcessResources.h"
#include "common/TestSupport.h"
#include "ui/controls/ColorEdit.h"
#include "ui/main/FirmUtilityDlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace FaultMatrix;
using Dlg = CFirmUtilityDlg;

QString PaneText(Dlg& dlg)
{
    return qobject_cast<CColorEdit*>(dlg.GetDlgItem(Dlg::IDC_MESSAGE))->Text();
}

// The first error box of the run as it appeared, closed with OK at once.
class ErrorBoxWatch {
public:
    ErrorBoxWatch(Dlg& dlg, const QElapsedTimer& clock) : m_dlg(dlg), m_clock(clock)
    {
        m_poll.setInterval(5);
        QObject::connect(&m_poll, &QTimer::timeout, [this] { Poll(); });
        m_poll.start();
    }

    bool seen = false;
    qint64 shownAfterMs = -1;
    QString text;
    QString paneWhenShown;

private:
    void Poll()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        if (!seen) {
            seen = true;
            shownAfterMs = m_clock.elapsed();
            text = box->text().replace(QLatin1Char('\n'), QStringLiteral("\r\n")); // as the catalog has it
            paneWhenShown = PaneText(m_dlg);
        }
        box->button(QMessageBox::Ok)->click();
    }

    Dlg& m_dlg;
    const QElapsedTimer& m_clock;
    QTimer m_poll;
};

class WindowFaultMatrix : public ::testing::TestWithParam<FaultCase> {};

} // namespace

TEST_P(WindowFaultMatrix, ShowsTheTextInThePaneAndTheBoxAndGivesTheInputsBack)
{
    const FaultCase& c = GetParam();
    ASSERT_LT(c.windowIndex, kAddressCount) << "the window's port is fixed: one address per window case";
    const QString image = TestSupport::WriteRandomFile(QString::fromStdString(c.name) + ".dat", kImageSize);

    Dlg dlg;
    dlg.SetLanguage(LanguageEnglishUs);
    dlg.SetTimeouts(kTimeouts);
    dlg.SetOptions({true, false, {}}); // no confirmation and no completion notice around the run
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    qobject_cast<QLineEdit*>(dlg.GetDlgItem(Dlg::IDC_FILE_NAME))->setText(image);
    qobject_cast<QLineEdit*>(dlg.GetDlgItem(Dlg::IDC_IP_ADDRESS))->setText(WindowAddressOf(c));

    const int descriptorsBefore = ProcessResources::OpenDescriptors();
    {
        CFaultScene scene(c, WindowAddressOf(c), kWindowPort);
        ASSERT_TRUE(scene.Ready());
        QElapsedTimer clock;
        clock.start();
        ErrorBoxWatch box(dlg, clock);
        QTest::mouseClick(dlg.GetDlgItem(Dlg::IDC_START), Qt::LeftButton);

        QString pane;
        for (quint16 id : ExpectedLines(c.result))
            pane += LoadText(id, LanguageEnglishUs) + QStringLiteral("\r\n");
        EXPECT_EQ(PaneText(dlg), pane);
        ASSERT_TRUE(box.seen);
        EXPECT_EQ(box.text, LoadText(ExpectedLines(c.result).back(), LanguageEnglishUs));
        EXPECT_EQ(box.paneWhenShown, pane);
        const int timeout = PhaseTimeoutMs(c.result);
        EXPECT_LE(box.shownAfterMs, timeout + kGraceMs);
        if (c.waitsOutTimeout) {
            EXPECT_GE(box.shownAfterMs, timeout);
        }
        for (int id : {Dlg::IDC_FILE_LABEL, Dlg::IDC_FILE_NAME, Dlg::IDC_BROWSE, Dlg::IDC_IP_LABEL, Dlg::IDC_IP_ADDRESS,
                       Dlg::IDC_START})
            EXPECT_TRUE(dlg.GetDlgItem(id)->isEnabled()) << id;
        scene.ExpectSessionEnded(image);
    }
    if (descriptorsBefore >= 0) {
        EXPECT_EQ(ProcessResources::OpenDescriptors(), descriptorsBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, WindowFaultMatrix, ::testing::ValuesIn(FaultMatrix::WindowCases()),
                         [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });
