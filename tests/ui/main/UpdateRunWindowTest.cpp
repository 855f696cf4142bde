// The update run as the main window shows it, against zerlind-radio-sim: pane lines, progress
// bar, notices, error boxes, focus, and the window's life while it waits on the network.
// Each test binds its own loopback address in 127.0.0.100-149.
#include "common/RadioSimProcess.h"

#include "base/MessageCatalog.h"
#include "common/TestSupport.h"
#include "engine/FirmwareImage.h"
#include "ui/controls/ColorEdit.h"
#include "ui/controls/GradientBarCtrl.h"
#include "ui/main/FirmUtilityDlg.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

namespace {

using Dlg = CFirmUtilityDlg;

// 25 full blocks and a partial one: the bar steps after blocks 10 and 20 and once at the end.
constexpr int kFullBlocks = 25;
constexpr int kImageSize = kFullBlocks * 1024 + 300;
const QList<int> kTransferHeads = {10, 20, 25};

// Short enough that the silent-radio case costs a moment, long enough for a loaded machine (or
// a simulator under Wine) to answer the program command in time.
constexpr UpdateTimeouts kTestTimeouts{2000, 2000, 2000};

QString WriteImage(const QString& name, qint64 size = kImageSize)
{
    return TestSupport::WriteRandomFile(name, size);
}

// The pane's text after the given catalog lines, in English.
QString Lines(std::initializer_list<quint16> ids)
{
    QString text;
    for (quint16 id : ids)
        text += LoadText(id, LanguageEnglishUs) + QStringLiteral("\r\n");
    return text;
}

const std::initializer_list<quint16> kSuccessLines = {IDS_STATUS_CONNECTING, IDS_STATUS_CONNECTED,
                                                      IDS_STATUS_TRANSFERRING, IDS_STATUS_TRANSFERRED,
                                                      IDS_STATUS_UPDATE_START, IDS_STATUS_WAIT, IDS_STATUS_UPDATED};

// The window with the run's progress calls watched: the bar after each transfer step and as the
// wait animation takes it over.
class WatchedDlg : public CFirmUtilityDlg {
public:
    QList<int> transferHeads;
    int headWhenWaitStarts = -1;
    int maximumWhenWaitStarts = -1;

    CGradientBarCtrl* Bar() const { return GetDlgItem(IDC_PROGRESS)->findChild<CGradientBarCtrl*>(); }

    void StepTransferProgress() override
    {
        CFirmUtilityDlg::StepTransferProgress();
        transferHeads << Bar()->Head();
    }
    void StartWaitAnimation() override
    {
        headWhenWaitStarts = Bar()->Head();
        maximumWhenWaitStarts = Bar()->Maximum();
        CFirmUtilityDlg::StartWaitAnimation();
    }
};

// One modal window as it appeared, and the main window at that moment.
struct SeenModal {
    enum class Kind { Confirmation, Completion, MessageBox, Other } kind = Kind::Other;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString paneWhenShown;
    bool startEnabledWhenShown = false;
};

// Answers every modal window the main window opens: the confirmation as told, every other one
// with OK, recording each.
class ModalAnswerer {
public:
    ModalAnswerer(WatchedDlg& dlg, bool confirm) : m_dlg(dlg), m_confirm(confirm)
    {
        m_poll.setInterval(5);
        QObject::connect(&m_poll, &QTimer::timeout, [this] { Poll(); });
        m_poll.start();
    }
    const std::vector<SeenModal>& Seen() const { return m_seen; }
    std::vector<SeenModal::Kind> Kinds() const
    {
        std::vector<SeenModal::Kind> kinds;
        for (const SeenModal& seen : m_seen)
            kinds.push_back(seen.kind);
        return kinds;
    }

private:
    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == m_last)
            return;
        m_last = modal;
        SeenModal seen;
        seen.paneWhenShown = qobject_cast<CColorEdit*>(m_dlg.GetDlgItem(Dlg::IDC_MESSAGE))->Text();
        seen.startEnabledWhenShown = m_dlg.GetDlgItem(Dlg::IDC_START)->isEnabled();
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (modal == &m_dlg.m_dlgStart) {
            seen.kind = SeenModal::Kind::Confirmation;
            m_confirm ? dialog->accept() : dialog->reject();
        } else if (modal == &m_dlg.m_dlgComp) {
            seen.kind = SeenModal::Kind::Completion;
            dialog->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen.kind = SeenModal::Kind::MessageBox;
            seen.text = box->text().replace(QLatin1Char('\n'), QStringLiteral("\r\n")); // as the catalog has it
            seen.icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        } else {
            modal->close();
        }
        m_seen.push_back(seen);
    }

    WatchedDlg& m_dlg;
    bool m_confirm;
    QTimer m_poll;
    QPointer<QWidget> m_last;
    std::vector<SeenModal> m_seen;
};

using Kind = SeenModal::Kind;

class UpdateRunWindowTest : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(StoreFile()); }
    void TearDown() override { QFile::remove(StoreFile()); }

    static QString StoreFile()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/vurn/Zerlind FirmUtility.conf");
    }

    // The window opened with the two fields filled in (Start ends the typing of the instruction).
    std::unique_ptr<WatchedDlg> Open(const QString& file, const QString& address, bool noCheck = false,
                                     UpdateTimeouts timeouts = kTestTimeouts)
    {
        auto dlg = std::make_unique<WatchedDlg>();
        dlg->SetLanguage(LanguageEnglishUs);
        dlg->SetTimeouts(timeouts);
        dlg->SetOptions({noCheck, false, {}});
        dlg->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        Edit(*dlg, Dlg::IDC_FILE_NAME)->setText(file);
        Edit(*dlg, Dlg::IDC_IP_ADDRESS)->setText(address);
        return dlg;
    }

    // The operator's click on Start; returns once the command has finished.
    static void ClickStart(WatchedDlg& dlg)
    {
        QTest::mouseClick(dlg.GetDlgItem(Dlg::IDC_START), Qt::LeftButton);
    }

    static QLineEdit* Edit(Dlg& dlg, int id) { return qobject_cast<QLineEdit*>(dlg.GetDlgItem(id)); }
    static QString PaneText(Dlg& dlg) { return qobject_cast<CColorEdit*>(dlg.GetDlgItem(Dlg::IDC_MESSAGE))->Text(); }

    static void ExpectInputsEnabled(Dlg& dlg)
    {
        for (int id : {Dlg::IDC_FILE_LABEL, Dlg::IDC_FILE_NAME, Dlg::IDC_BROWSE, Dlg::IDC_IP_LABEL,
                       Dlg::IDC_IP_ADDRESS, Dlg::IDC_START})
            EXPECT_TRUE(dlg.GetDlgItem(id)->isEnabled()) << id;
    }

    static void ExpectCaretIn(Dlg& dlg, int id, int position)
    {
        EXPECT_EQ(dlg.focusWidget(), dlg.GetDlgItem(id));
        EXPECT_EQ(Edit(dlg, id)->cursorPosition(), position);
        EXPECT_FALSE(Edit(dlg, id)->hasSelectedText());
    }
};

} // namespace

TEST_F(UpdateRunWindowTest, ASuccessfulRunReportsEveryStageThenTheNoticeAndTheCaretAtTheAddressStart)
{
    RadioSimProcess sim(QStringLiteral("127.0.0.100"));
    ASSERT_TRUE(sim.Ready());
    const QString image = WriteImage(QStringLiteral("ok.dat"));
    auto dlg = Open(image, QStringLiteral("127.0.0.100"));
    dlg->FocusEditAtEnd(InputField::Address);
    {
        ModalAnswerer answerer(*dlg, true);
        ClickStart(*dlg);
        EXPECT_EQ(answerer.Kinds(), (std::vector<Kind>{Kind::Confirmation, Kind::Completion}));
        // The notice follows the last line.
        ASSERT_EQ(answerer.Seen().size(), 2u);
        EXPECT_EQ(answerer.Seen()[1].paneWhenShown, Lines(kSuccessLines));
    }
    EXPECT_TRUE(dlg->Started());
    EXPECT_EQ(PaneText(*dlg), Lines(kSuccessLines));
    // Full after the transfer, empty once the programming is over.
    EXPECT_EQ(dlg->transferHeads, kTransferHeads);
    EXPECT_EQ(dlg->headWhenWaitStarts, kFullBlocks);
    EXPECT_EQ(dlg->maximumWhenWaitStarts, kFullBlocks);
    EXPECT_EQ(dlg->Bar()->Head(), 0);
    EXPECT_EQ(dlg->Bar()->Tail(), 0);
    ExpectInputsEnabled(*dlg);
    ExpectCaretIn(*dlg, Dlg::IDC_IP_ADDRESS, 0);

    const auto summary = sim.Summary();
    EXPECT_EQ(summary.value("outcome"), "programmed");
    EXPECT_EQ(summary.value("sha256"), TestSupport::FileSha256(image));

    // Cancelling the next confirmation leaves the pane as the run left it and runs nothing
    // (the simulator has gone: a run would add at least a line).
    ModalAnswerer answerer(*dlg, false);
    ClickStart(*dlg);
    EXPECT_EQ(answerer.Kinds(), std::vector<Kind>{Kind::Confirmation});
    EXPECT_EQ(PaneText(*dlg), Lines(kSuccessLines));
    ExpectInputsEnabled(*dlg);
}

TEST_F(UpdateRunWindowTest, WithNoCheckTheRunStartsAtOnceAndEndsWithoutNoticesOrFocusMoves)
{
    RadioSimProcess sim(QStringLiteral("127.0.0.101"));
    ASSERT_TRUE(sim.Ready());
    auto dlg = Open(WriteImage(QStringLiteral("nocheck.dat")), QStringLiteral("127.0.0.101"), true);
    dlg->GetDlgItem(Dlg::IDC_START)->setFocus();
    ModalAnswerer answerer(*dlg, false);
    ClickStart(*dlg);
    EXPECT_TRUE(answerer.Seen().empty());
    EXPECT_TRUE(dlg->Started());
    EXPECT_EQ(PaneText(*dlg), Lines(kSuccessLines));
    EXPECT_EQ(sim.Summary().value("outcome"), "programmed");
    ExpectInputsEnabled(*dlg);
    // The Start button had the focus while it was disabled; it has it again.
    EXPECT_EQ(dlg->focusWidget(), dlg->GetDlgItem(Dlg::IDC_START));
}

namespace {

struct FailureCase {
    const char* name;
    const char* address;
    QStringList simOptions; // no simulator when empty and `noRadio` is set
    bool noRadio;
    std::vector<quint16> lines; // the pane after the run; the last one is also the box's text
    int focusId;                // where the focus is afterwards (Start: left where it was)
    bool barEmpty;              // the bar has been emptied by the wait animation
};

const std::vector<quint16> kUpToTransfer = {IDS_STATUS_CONNECTING, IDS_STATUS_CONNECTED, IDS_STATUS_TRANSFERRING};
const std::vector<quint16> kUpToProgram = {IDS_STATUS_CONNECTING,  IDS_STATUS_CONNECTED,    IDS_STATUS_TRANSFERRING,
                                           IDS_STATUS_TRANSFERRED, IDS_STATUS_UPDATE_START, IDS_STATUS_WAIT};

// Test names and failure messages show the case by its name.
void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<quint16> Then(std::vector<quint16> lines, quint16 last)
{
    lines.push_back(last);
    return lines;
}

class RunFailureTest : public UpdateRunWindowTest, public ::testing::WithParamInterface<FailureCase> {};

} // namespace

TEST_P(RunFailureTest, ShowsTheTextInThePaneThenInAnErrorBoxAndGivesTheWindowBack)
{
    const FailureCase& c = GetParam();
    std::unique_ptr<RadioSimProcess> sim;
    if (!c.noRadio) {
        sim = std::make_unique<RadioSimProcess>(QString::fromLatin1(c.address), c.simOptions);
        ASSERT_TRUE(sim->Ready());
    }
    const QString address = QString::fromLatin1(c.address);
    auto dlg = Open(WriteImage(QString::fromLatin1(c.name) + QStringLiteral(".dat")), address);
    ModalAnswerer answerer(*dlg, true);
    ClickStart(*dlg);

    QString expectedPane;
    for (quint16 id : c.lines)
        expectedPane += Lines({id});
    const QString failureText = LoadText(c.lines.back(), LanguageEnglishUs);
    ASSERT_EQ(answerer.Kinds(), (std::vector<Kind>{Kind::Confirmation, Kind::MessageBox}));
    const SeenModal& box = answerer.Seen()[1];
    EXPECT_EQ(box.text, failureText);
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    // The line is in the pane before the box shows it, and the inputs come back only after it.
    EXPECT_EQ(box.paneWhenShown, expectedPane);
    EXPECT_FALSE(box.startEnabledWhenShown);
    EXPECT_EQ(PaneText(*dlg), expectedPane);
    ExpectInputsEnabled(*dlg);

    if (c.focusId == Dlg::IDC_IP_ADDRESS) {
        ExpectCaretIn(*dlg, Dlg::IDC_IP_ADDRESS, int(address.size()));
    } else {
        EXPECT_EQ(dlg->focusWidget(), dlg->GetDlgItem(c.focusId));
    }
    if (c.barEmpty) {
        EXPECT_EQ(dlg->Bar()->Head(), 0);
        EXPECT_EQ(dlg->Bar()->Tail(), 0);
    }
    if (sim) {
        // The session has ended: the run closed its connection.
        const auto summary = sim->Summary();
        EXPECT_TRUE(summary.contains("outcome"));
        EXPECT_NE(summary.value("outcome"), "programmed");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, RunFailureTest,
    ::testing::Values(
        FailureCase{"RadioNotFound", "127.0.0.102", {}, true, {IDS_STATUS_CONNECTING, IDS_ERR_NOT_FOUND},
                    Dlg::IDC_IP_ADDRESS, false},
        FailureCase{"RefusedBegin", "127.0.0.103", {"--refuse", "begin"}, false,
                    Then(kUpToTransfer, IDS_ERR_TRANSFER), Dlg::IDC_START, false},
        FailureCase{"WrongEcho", "127.0.0.104", {"--wrong-echo"}, false, Then(kUpToTransfer, IDS_ERR_TRANSFER),
                    Dlg::IDC_START, false},
        FailureCase{"RefusedProgram", "127.0.0.105", {"--refuse", "program=0x00"}, false,
                    Then(kUpToProgram, IDS_ERR_ILLEGAL_DATA), Dlg::IDC_START, true},
        FailureCase{"SilentProgram", "127.0.0.106", {"--silent", "program"}, false,
                    Then(kUpToProgram, IDS_ERR_NO_REPLY), Dlg::IDC_START, true}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST_F(UpdateRunWindowTest, AMissingFileShowsOnlyTheSystemsBoxAndPutsTheCaretAfterTheName)
{
    const QString missing = TestSupport::ScratchDir() + QStringLiteral("/no-such.dat");
    QByteArray image;
    QString systemText;
    ASSERT_FALSE(LoadFirmwareFile(missing, LanguageEnglishUs, image, systemText));
    auto dlg = Open(missing, QStringLiteral("127.0.0.107"));
    qobject_cast<CColorEdit*>(dlg->GetDlgItem(Dlg::IDC_MESSAGE))->SetText(QStringLiteral("from before\r\n"));

    ModalAnswerer answerer(*dlg, true);
    ClickStart(*dlg);
    ASSERT_EQ(answerer.Kinds(), (std::vector<Kind>{Kind::Confirmation, Kind::MessageBox}));
    EXPECT_EQ(answerer.Seen()[1].text, systemText);
    EXPECT_EQ(answerer.Seen()[1].icon, QMessageBox::Critical);
    // The pane was emptied for the run, and the run adds no line of its own.
    EXPECT_EQ(PaneText(*dlg), QString());
    ExpectInputsEnabled(*dlg);
    ExpectCaretIn(*dlg, Dlg::IDC_FILE_NAME, int(missing.size()));
}

// During the network waits timers go on, the bar repaints and moves, keys wait for the call to
// return, and a close request is ignored; once the run is over the window closes.
TEST_F(UpdateRunWindowTest, TheWindowLivesOnDuringTheRunAndClosesOnlyAfterIt)
{
    // Slow enough that the transfer and the program wait each last a good while.
    RadioSimProcess sim(QStringLiteral("127.0.0.108"),
                        {"--slow", "data=15", "--program-delay", "2000"});
    ASSERT_TRUE(sim.Ready());
    auto dlg = Open(WriteImage(QStringLiteral("slow.dat")), QStringLiteral("127.0.0.108"), true,
                    UpdateTimeouts{2000, 2000, 5000});
    CGradientBarCtrl* bar = dlg->Bar();
    const QString waitLine = LoadText(IDS_STATUS_WAIT, LanguageEnglishUs);

    QLineEdit probe; // a field of another window: its keys are dropped during a run too
    probe.show();

    QElapsedTimer clock;
    std::vector<qint64> ticks;
    QImage transferPicture, waitPicture;
    int barPaintsInWait = 0;
    bool closeRefused = false, keyHeld = false;
    int transferHead = 0;

    struct PaintCounter : QObject {
        int* count;
        bool* counting;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint && *counting)
                ++*count;
            return false;
        }
    } paintCounter;
    bool inWait = false;
    paintCounter.count = &barPaintsInWait;
    paintCounter.counting = &inWait;
    bar->installEventFilter(&paintCounter);

    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ticks.push_back(clock.elapsed());
        const bool waiting = PaneText(*dlg).endsWith(waitLine + QStringLiteral("\r\n"));
        inWait = waiting;
        if (transferPicture.isNull() && !waiting && bar->Maximum() == kFullBlocks && bar->Head() >= 10) {
            transferHead = bar->Head();
            transferPicture = dlg->grab().toImage();
        }
        if (waitPicture.isNull() && waiting && bar->Head() > 20) {
            waitPicture = dlg->grab().toImage();
            closeRefused = !dlg->close() && dlg->isVisible();
            QTest::keyClick(&probe, Qt::Key_A);
            keyHeld = probe.text().isEmpty();
        }
    });
    clock.start();
    timer.start();
    ClickStart(*dlg);
    const qint64 runEnd = clock.elapsed();
    timer.stop();

    EXPECT_EQ(PaneText(*dlg), Lines(kSuccessLines));
    ASSERT_FALSE(transferPicture.isNull());
    ASSERT_FALSE(waitPicture.isNull());
    EXPECT_TRUE(closeRefused);
    EXPECT_TRUE(keyHeld);
    EXPECT_GT(barPaintsInWait, 5);
    // The 10 ms timer went on through connect, transfer and program wait: a frozen wait would
    // leave a gap of the whole program delay (2 s), a loaded machine only a far shorter one.
    ASSERT_GT(ticks.size(), 20u);
    EXPECT_LT(ticks.front(), 1000);
    EXPECT_GT(ticks.back(), runEnd - 1000);
    qint64 longestGap = 0;
    for (size_t i = 1; i < ticks.size(); ++i)
        longestGap = std::max(longestGap, ticks[i] - ticks[i - 1]);
    EXPECT_LT(longestGap, 1000);

    // The key typed during the run is dropped, not handed on once the run is over.
    QCoreApplication::processEvents();
    EXPECT_EQ(probe.text(), QString());

    // The pictures: navy filling from the left during the transfer, a short red segment later.
    const QRect barRect(bar->mapTo(dlg.get(), QPoint(0, 0)), bar->size());
    const int y = barRect.center().y();
    const auto isNavy = [](QRgb p) { return qBlue(p) > 90 && qRed(p) < 60 && qGreen(p) < 60; };
    const auto isRed = [](QRgb p) { return qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80; };
    const auto countAlongBar = [&](const QImage& picture, const std::function<bool(QRgb)>& match) {
        int n = 0;
        for (int x = barRect.left(); x <= barRect.right(); ++x)
            n += match(picture.pixel(x, y)) ? 1 : 0;
        return n;
    };
    EXPECT_GT(countAlongBar(transferPicture, isNavy), 0);
    EXPECT_EQ(countAlongBar(transferPicture, isRed), 0);
    EXPECT_TRUE(isNavy(transferPicture.pixel(barRect.left() + barRect.width() * transferHead / kFullBlocks - 2, y)));
    EXPECT_FALSE(isNavy(transferPicture.pixel(barRect.right() - 1, y)));
    EXPECT_GT(countAlongBar(waitPicture, isRed), 0);
    EXPECT_LT(countAlongBar(waitPicture, isRed), barRect.width() / 5);
    EXPECT_EQ(countAlongBar(waitPicture, isNavy), 0);
    const QByteArray folder = qgetenv("ZFU_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        transferPicture.save(QString::fromLocal8Bit(folder) + QStringLiteral("/run-transfer.png"));
        waitPicture.save(QString::fromLocal8Bit(folder) + QStringLiteral("/run-program-wait.png"));
    }

    // After the run the same request closes the window.
    EXPECT_TRUE(dlg->close());
    EXPECT_FALSE(dlg->isVisible());
}

// A zero-padded address, which the system would read as octal (0155 is 109), is refused before
// any connection: the not-found box, the caret after the typed text, and nothing reaches the
// radio it would have named.
TEST_F(UpdateRunWindowTest, AZeroPaddedAddressIsNotFoundAndConnectsNowhere)
{
    QTcpServer misread;
    ASSERT_TRUE(misread.listen(QHostAddress(QStringLiteral("127.0.0.109")), 1111));
    const QString typed = QStringLiteral("127.0.0.0155");
    auto dlg = Open(WriteImage(QStringLiteral("padded.dat")), QString());
    QTest::keyClicks(Edit(*dlg, Dlg::IDC_IP_ADDRESS), typed);
    ModalAnswerer answerer(*dlg, true);
    ClickStart(*dlg);

    ASSERT_EQ(answerer.Kinds(), (std::vector<Kind>{Kind::Confirmation, Kind::MessageBox}));
    EXPECT_EQ(answerer.Seen()[1].text, LoadText(1201, LanguageEnglishUs));
    EXPECT_EQ(PaneText(*dlg), Lines({1309, 1201}));
    ExpectInputsEnabled(*dlg);
    ExpectCaretIn(*dlg, Dlg::IDC_IP_ADDRESS, int(typed.size()));
    EXPECT_FALSE(misread.hasPendingConnections() || misread.waitForNewConnection(100));
}
