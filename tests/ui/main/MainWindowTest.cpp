#include "ui/main/FirmUtilityDlg.h"
#include "ui/main/ServiceKeyCounter.h"
#include "ui/main/SettingsStore.h"
#include "base/MessageCatalog.h"
#include "ui/controls/ColorEdit.h"
#include "ui/controls/GradientBarCtrl.h"
#include "common/TestSupport.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStyle>
#include <QThread>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace {

using Dlg = CFirmUtilityDlg;
const QString kConfig = QStringLiteral("Config");

QString StoreFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/vurn/Zerlind FirmUtility.conf");
}

CSettingsStore Store()
{
    CSettingsStore store;
    store.SetKeyPath(QStringLiteral("software\\vurn\\Zerlind FirmUtility"));
    return store;
}

QString Stored(const QString& name)
{
    QString text;
    Store().ReadString(kConfig, name, text, QStringLiteral("<none>"));
    return text;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(StoreFile()); }
    void TearDown() override { QFile::remove(StoreFile()); }

    // The window as start-up leaves it, opened.
    std::unique_ptr<Dlg> Open(quint16 language = LanguageEnglishUs, const QString& presetPath = QString(),
                              bool hideFileControls = false)
    {
        auto dlg = std::make_unique<Dlg>();
        dlg->SetLanguage(language);
        dlg->SetOptions({false, hideFileControls, presetPath});
        dlg->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        return dlg;
    }

    // The window as the operator sees it, into $ZFU_SCREENSHOT_DIR when that is set.
    static void SaveScreenshot(Dlg& dlg, const QString& name)
    {
        const QByteArray folder = qgetenv("ZFU_SCREENSHOT_DIR");
        if (folder.isEmpty())
            return;
        EXPECT_TRUE(dlg.grab().toImage().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + name));
    }

    static QLineEdit* Edit(Dlg& dlg, int id) { return qobject_cast<QLineEdit*>(dlg.GetDlgItem(id)); }
    static CColorEdit* Pane(Dlg& dlg) { return qobject_cast<CColorEdit*>(dlg.GetDlgItem(Dlg::IDC_MESSAGE)); }
    static CGradientBarCtrl* Bar(Dlg& dlg) { return dlg.GetDlgItem(Dlg::IDC_PROGRESS)->findChild<CGradientBarCtrl*>(); }
};

} // namespace

TEST_F(MainWindowTest, FirstStartShowsEmptyFieldsAndWritesNothing)
{
    auto dlg = Open();
    EXPECT_TRUE(Edit(*dlg, Dlg::IDC_FILE_NAME)->text().isEmpty());
    EXPECT_TRUE(Edit(*dlg, Dlg::IDC_IP_ADDRESS)->text().isEmpty());
    EXPECT_FALSE(QFile::exists(StoreFile()));
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Zerlind Firm Utility"));
    EXPECT_EQ(qobject_cast<QLabel*>(dlg->GetDlgItem(Dlg::IDC_VERSION))->text(), QStringLiteral("Version 1.00"));
    EXPECT_EQ(dlg->focusWidget(), dlg->GetDlgItem(Dlg::IDC_IP_ADDRESS));
}

TEST_F(MainWindowTest, FieldsAreFilledFromTheStoreWithoutWritingBack)
{
    ASSERT_TRUE(Store().WriteString(kConfig, QStringLiteral("IP"), QStringLiteral("192.168.0.10")));
    ASSERT_TRUE(Store().WriteString(kConfig, QStringLiteral("Filename"), QStringLiteral("/fw/main.dat")));
    const QByteArray before = [] { QFile f(StoreFile()); f.open(QIODevice::ReadOnly); return f.readAll(); }();

    auto dlg = Open();
    EXPECT_EQ(Edit(*dlg, Dlg::IDC_IP_ADDRESS)->text(), QStringLiteral("192.168.0.10"));
    EXPECT_EQ(Edit(*dlg, Dlg::IDC_FILE_NAME)->text(), QStringLiteral("/fw/main.dat"));
    EXPECT_EQ(Edit(*dlg, Dlg::IDC_IP_ADDRESS)->cursorPosition(), 0);
#ifndef Q_OS_WIN // the store is the registry there, not a file
    QFile after(StoreFile());
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
#endif
}

TEST_F(MainWindowTest, StoredValuesBeyondTheLimitLeaveTheFieldEmpty)
{
    ASSERT_TRUE(Store().WriteString(kConfig, QStringLiteral("IP"), QString(600, QLatin1Char('9'))));
    ASSERT_TRUE(Store().WriteString(kConfig, QStringLiteral("Filename"), QString(511, QLatin1Char('f'))));
    auto dlg = Open();
    EXPECT_TRUE(Edit(*dlg, Dlg::IDC_IP_ADDRESS)->text().isEmpty());
    EXPECT_EQ(Edit(*dlg, Dlg::IDC_FILE_NAME)->text(), QString(511, QLatin1Char('f')));
}

TEST_F(MainWindowTest, EveryKeystrokeStoresTheWholeFieldText)
{
    auto dlg = Open();
    for (int id : {Dlg::IDC_IP_ADDRESS, Dlg::IDC_FILE_NAME}) {
        const QString name = id == Dlg::IDC_IP_ADDRESS ? QStringLiteral("IP") : QStringLiteral("Filename");
        QLineEdit* edit = Edit(*dlg, id);
        QString typed;
        for (QChar c : QStringLiteral("10.0.1")) {
            QTest::keyClick(edit, c.toLatin1());
            typed += c;
            ASSERT_EQ(Stored(name), typed);
        }
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClick(edit, Qt::Key_Delete);
        EXPECT_EQ(Stored(name), QStringLiteral("0.0.1"));
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_EQ(Stored(name), QString());
    }
}

TEST_F(MainWindowTest, APresetPathIsShownButNotStored)
{
    ASSERT_TRUE(Store().WriteString(kConfig, QStringLiteral("Filename"), QStringLiteral("/stored/old.dat")));
    auto dlg = Open(LanguageEnglishUs, QStringLiteral("/preset/new.dat"));
    EXPECT_EQ(Edit(*dlg, Dlg::IDC_FILE_NAME)->text(), QStringLiteral("/preset/new.dat"));
    EXPECT_EQ(Stored(QStringLiteral("Filename")), QStringLiteral("/stored/old.dat"));
    // Once the operator changes the field, it is stored.
    QTest::keyClick(Edit(*dlg, Dlg::IDC_FILE_NAME), Qt::Key_Backspace);
    EXPECT_EQ(Stored(QStringLiteral("Filename")), QStringLiteral("/preset/new.da"));
}

TEST_F(MainWindowTest, ASettingsWriteThatFailsIsSaidOnceInThePane)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "the store is the registry there: no folder can stand where it writes";
#endif
    for (quint16 language : {LanguageEnglishUs, LanguageJapanese}) {
        ASSERT_TRUE(QDir().mkpath(StoreFile())); // a folder where the file would go
        auto dlg = Open(language);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return !dlg->IsTyping(); }, 10000));
        QTest::keyClicks(Edit(*dlg, Dlg::IDC_IP_ADDRESS), QStringLiteral("10"));
        const QString notStored = LoadText(IDS_STATUS_SETTINGS_NOT_STORED, language) + QStringLiteral("\r\n");
        EXPECT_EQ(Pane(*dlg)->Text(), LoadText(IDS_INSTRUCTION, language) + QStringLiteral("\r\n") + notStored);
        // A write that succeeds ends the failure: the next one to fail is said again.
        ASSERT_TRUE(QDir(StoreFile()).removeRecursively());
        QTest::keyClicks(Edit(*dlg, Dlg::IDC_IP_ADDRESS), QStringLiteral("."));
        ASSERT_TRUE(QFile::remove(StoreFile()) && QDir().mkpath(StoreFile()));
        QTest::keyClicks(Edit(*dlg, Dlg::IDC_IP_ADDRESS), QStringLiteral("1"));
        EXPECT_TRUE(Pane(*dlg)->Text().endsWith(notStored + notStored));
        ASSERT_TRUE(QDir(StoreFile()).removeRecursively());
    }
    // After a drop, a browse or typing while the instruction is typed: said once, after the whole
    // instruction; the typing waits behind the file dialog and then finishes.
    const QString chosen = TestSupport::ScratchDir() + QStringLiteral("/chosen.dat");
    ASSERT_TRUE(QFile(chosen).open(QIODevice::WriteOnly));
    const QString instruction = LoadText(IDS_INSTRUCTION, LanguageEnglishUs);
    for (const std::string way : {"drop", "browse", "typing"}) {
        ASSERT_TRUE(QDir().mkpath(StoreFile())); // a folder where the file would go
        auto dlg = Open(LanguageEnglishUs, chosen);
        const qsizetype typed = way == "drop" ? instruction.size() : 10; // the drop comes after it
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return Pane(*dlg)->Text().size() >= typed; }, 10000));
        if (way == "browse") {
            TestSupport::OnNextModal([&](QWidget* w) {
                QTest::qWait(200); // pieces would be typed behind the dialog meanwhile
                qobject_cast<QFileDialog*>(w)->selectFile(chosen);
                static_cast<QDialog*>(w)->accept();
            });
            dlg->OnBrowse();
        } else if (way == "drop") {
            dlg->OnDropFiles({QStringLiteral("/d/x.dat")});
        } else {
            QTest::keyClicks(Edit(*dlg, Dlg::IDC_IP_ADDRESS), QStringLiteral("10"));
        }
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return !dlg->IsTyping(); }, 10000));
        EXPECT_EQ(Pane(*dlg)->Text(), instruction + QStringLiteral("\r\n") +
                                          LoadText(IDS_STATUS_SETTINGS_NOT_STORED, LanguageEnglishUs) + QStringLiteral("\r\n")) << way;
        ASSERT_TRUE(QDir(StoreFile()).removeRecursively());
    }
}

TEST_F(MainWindowTest, ServiceKeyShowsTheFileControlsOnTheFourthAndHidesThemOnTheSeventh)
{
    if (CServiceKeyCounter::Process().Count() != 0)
        GTEST_SKIP() << "the process-wide counter was used by an earlier test";
    auto dlg = Open(LanguageEnglishUs, QString(), true);
    const auto fileControlsVisible = [&] {
        const bool label = dlg->GetDlgItem(Dlg::IDC_FILE_LABEL)->isVisible();
        const bool edit = dlg->GetDlgItem(Dlg::IDC_FILE_NAME)->isVisible();
        const bool browse = dlg->GetDlgItem(Dlg::IDC_BROWSE)->isVisible();
        EXPECT_TRUE(label == edit && edit == browse);
        return edit;
    };
    EXPECT_FALSE(fileControlsVisible());
    // Key-downs reach the counter whichever control has them; auto-repeat counts as well.
    QWidget* targets[] = {dlg->GetDlgItem(Dlg::IDC_IP_ADDRESS), dlg->GetDlgItem(Dlg::IDC_START), dlg.get()};
    for (int press = 1; press <= 9; ++press) {
        QTest::sendKeyEvent(QTest::KeyAction::Press, targets[press % 3], Qt::Key_F11, QString(), Qt::NoModifier);
        EXPECT_EQ(fileControlsVisible(), press >= 4 && press < 7) << "after key-down " << press;
    }
    EXPECT_EQ(CServiceKeyCounter::Process().Count(), 7u);
}

TEST_F(MainWindowTest, ADroppedFirmwareNameBecomesThePath)
{
    auto dlg = Open();
    // Start stays disabled until the whole drop is handled.
    bool startEnabledDuringDrop = true;
    QObject::connect(Edit(*dlg, Dlg::IDC_FILE_NAME), &QLineEdit::textChanged, dlg.get(),
                     [&] { startEnabledDuringDrop = startEnabledDuringDrop && dlg->GetDlgItem(Dlg::IDC_START)->isEnabled(); });
    dlg->OnDropFiles({QStringLiteral("/d/a.txt"), QStringLiteral("/d/b.DAT")});
    EXPECT_FALSE(startEnabledDuringDrop);
    EXPECT_EQ(Edit(*dlg, Dlg::IDC_FILE_NAME)->text(), QStringLiteral("/d/b.DAT"));
    EXPECT_EQ(Stored(QStringLiteral("Filename")), QStringLiteral("/d/b.DAT"));
    EXPECT_TRUE(dlg->GetDlgItem(Dlg::IDC_START)->isEnabled());
}

namespace {

// The window with a hook into its run: the run's first status line calls `duringRun`.
class HookedDlg : public CFirmUtilityDlg {
public:
    std::function<void()> duringRun;
    void AppendMessageLine(const QString& text) override
    {
        CFirmUtilityDlg::AppendMessageLine(text);
        if (auto hook = std::exchange(duringRun, nullptr))
            hook();
    }
};

// Drags the files over the window and drops them: whether the cursor took them (enter, move)
// and whether the drop was taken, each as the window answered.
QVector<bool> DragAndDrop(QWidget& dlg, const QStringList& files)
{
    QList<QUrl> urls;
    for (const QString& file : files)
        urls << QUrl::fromLocalFile(file);
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = dlg.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg, &move);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg, &drop);
    return {enter.isAccepted(), move.isAccepted(), drop.isAccepted()};
}

} // namespace

// The window takes one firmware file per drop, only while idle with its file field in view; the
// cursor refuses what the drop would refuse.
TEST_F(MainWindowTest, DropsAreTakenOnlyWhenIdleWithTheFileFieldInView)
{
    enum class State { Idle, Running, NoticeOpen, BrowseOpen, ControlsHidden, ShownAgain };
    const QString one = QStringLiteral("/d/one.dat");
    const struct {
        State state;
        QStringList files;
        bool taken;
    } cases[] = {
        {State::Idle, {one}, true},
        {State::Idle, {QStringLiteral("/d/notes.txt")}, false},
        {State::Idle, {one, QStringLiteral("/d/two.dat")}, false},
        {State::Running, {one}, false},
        {State::NoticeOpen, {one}, false},
        {State::BrowseOpen, {one}, false},
        {State::ControlsHidden, {one}, false},
        {State::ShownAgain, {one}, true},
    };
    const QString firmware = TestSupport::WriteRandomFile(QStringLiteral("drop-run.dat"), 4096);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.state) << " " << c.files.join(QLatin1Char(' ')).toStdString());
        QFile::remove(StoreFile());
        const QString before = Stored(QStringLiteral("Filename")); // the registry outlives the file
        HookedDlg dlg;
        dlg.SetOptions({c.state == State::Running, c.state == State::ControlsHidden || c.state == State::ShownAgain, firmware});
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        if (c.state == State::ShownAgain) { // as the service key does
            for (int id : {Dlg::IDC_FILE_LABEL, Dlg::IDC_FILE_NAME, Dlg::IDC_BROWSE})
                dlg.GetDlgItem(id)->show();
        }
        QVector<bool> seen;
        if (c.state == State::Running || c.state == State::NoticeOpen || c.state == State::BrowseOpen) {
            // The run fails on the empty address; its box, the confirmation or the file dialog
            // is closed.
            dlg.duringRun = [&] { seen = DragAndDrop(dlg, c.files); };
            TestSupport::OnNextModal([&](QWidget* w) {
                if (c.state != State::Running)
                    seen = DragAndDrop(dlg, c.files);
                w->close();
            });
            c.state == State::BrowseOpen ? dlg.OnBrowse() : dlg.OnStart();
        } else {
            seen = DragAndDrop(dlg, c.files);
        }
        EXPECT_EQ(seen, QVector<bool>(3, c.taken));
        const QString taken = QDir::toNativeSeparators(one);
        EXPECT_EQ(Edit(dlg, Dlg::IDC_FILE_NAME)->text(), c.taken ? taken : firmware);
        EXPECT_EQ(Stored(QStringLiteral("Filename")), c.taken ? taken : before);
    }
}

// A drop from the desktop onto any part of the window, with the actions its source offers: the
// source is told "copied" (or "linked"), never "moved", so it never deletes the operator's file;
// a drop that holds no local file, or offers neither, is refused and changes nothing.
TEST_F(MainWindowTest, DropsAreTakenAsCopiesOfLocalFilesOnly)
{
    auto dlg = Open();
    const QPoint onField = dlg->GetDlgItem(Dlg::IDC_FILE_NAME)->geometry().center();
    const QUrl local = QUrl::fromLocalFile(QStringLiteral("/e/one.dat"));
    const QUrl remote(QStringLiteral("https://x/two.dat"));
    const struct {
        QList<QUrl> urls;
        Qt::DropActions offered;
        std::optional<Qt::DropAction> taken;
    } cases[] = {
        {{local, remote}, Qt::CopyAction | Qt::MoveAction, Qt::CopyAction},
        {{local}, Qt::LinkAction | Qt::MoveAction, Qt::LinkAction},
        {{local}, Qt::MoveAction, std::nullopt},
        {{remote}, Qt::CopyAction | Qt::MoveAction, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.offered) << " " << c.urls.size());
        Edit(*dlg, Dlg::IDC_FILE_NAME)->setText(QStringLiteral("/before.dat"));
        QMimeData data;
        data.setUrls(c.urls);
        // Shift proposes a move, as a file manager's Shift-drag does.
        QDragEnterEvent enter(onField, c.offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(dlg.get(), &enter);
        QDragMoveEvent move(onField, c.offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(dlg.get(), &move);
        QDropEvent drop(onField, c.offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(dlg.get(), &drop);
        for (const QDropEvent* event : {static_cast<QDropEvent*>(&enter), static_cast<QDropEvent*>(&move), &drop}) {
            EXPECT_EQ(event->isAccepted(), c.taken.has_value());
            if (c.taken) {
                EXPECT_EQ(event->dropAction(), *c.taken);
            }
        }
        EXPECT_EQ(Edit(*dlg, Dlg::IDC_FILE_NAME)->text(),
                  c.taken ? QDir::toNativeSeparators(QStringLiteral("/e/one.dat")) : QStringLiteral("/before.dat"));
    }
}

// A dropped firmware file named in Shift-JIS would reach the field with replacement characters
// and then be "not found": it is refused at once with the reason, and the field keeps its path.
TEST_F(MainWindowTest, ADroppedNameThatIsNotUtf8IsRefusedWithItsReason)
{
    auto dlg = Open();
    Edit(*dlg, Dlg::IDC_FILE_NAME)->setText(QStringLiteral("/before.dat"));
    QMimeData data;
    data.setUrls({QUrl::fromEncoded("file:///fw/%83t%83%40%81%5B%83%80.dat")});
    QString shown;
    TestSupport::OnNextModal([&](QWidget* box) {
        shown = qobject_cast<QMessageBox*>(box) ? qobject_cast<QMessageBox*>(box)->text() : QString();
        box->close();
    });
    const QPoint onField = dlg->GetDlgItem(Dlg::IDC_FILE_NAME)->geometry().center();
    QDragEnterEvent enter(onField, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dlg.get(), &enter);
    QDropEvent drop(onField, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dlg.get(), &drop);
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return !shown.isEmpty(); }));
    EXPECT_EQ(shown.remove(QLatin1Char('\n')), LoadText(IDS_ERR_FILE_NAME_NOT_UTF8, LanguageEnglishUs).remove(QStringLiteral("\r\n")));
    EXPECT_EQ(Edit(*dlg, Dlg::IDC_FILE_NAME)->text(), QStringLiteral("/before.dat"));
    EXPECT_EQ(Stored(QStringLiteral("Filename")), QStringLiteral("/before.dat"));
}

TEST_F(MainWindowTest, TheWindowMakesRoomForTheHeaderPictures)
{
    // Whatever the font, the pictures fit; the lettering is drawn by the window exactly when
    // the header had to grow. The sizes take both ways in any family the machine has: 6 points
    // lay the template out far below the pictures' needs, 18 far above them.
    int grown = 0, kept = 0;
    for (int points : {6, Dlg::kDialogFontPoints, 12, 18}) {
        Dlg plain(nullptr, points); // the template as laid out, never shown
        const int plainWidth = plain.width();
        const int plainLabelTop = plain.GetDlgItem(Dlg::IDC_FILE_LABEL)->y();
        const QRect plainFileName = plain.GetDlgItem(Dlg::IDC_FILE_NAME)->geometry();
        const QRect plainStart = plain.GetDlgItem(Dlg::IDC_START)->geometry();
        const QRect plainVersion = plain.GetDlgItem(Dlg::IDC_VERSION)->geometry();

        auto dlg = std::make_unique<Dlg>(nullptr, points);
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        SCOPED_TRACE(testing::Message() << QFontInfo(dlg->font()).family().toStdString() << " " << points << " pt");
        EXPECT_GE(dlg->width(), CHeaderLayout::kHeaderMinWidth);
        EXPECT_GE(dlg->GetDlgItem(Dlg::IDC_FILE_LABEL)->y(), CHeaderLayout::kHeaderMinLabelTop);
        const bool grew = plainWidth < CHeaderLayout::kHeaderMinWidth || plainLabelTop < CHeaderLayout::kHeaderMinLabelTop;
        EXPECT_EQ(dlg->DrawsLogo(), grew);
        ++(grew ? grown : kept);
        EXPECT_EQ(dlg->GetDlgItem(Dlg::IDC_LOGO)->isVisible(), !grew);
        // Either way a screen reader hears the lettering: a shown element bears its name.
        const QList<QWidget*> all = dlg->findChildren<QWidget*>();
        EXPECT_TRUE(std::any_of(all.begin(), all.end(), [](QWidget* w) { return w->isVisible() && w->accessibleName() == QStringLiteral("Firm Utility"); }));
        const int dx = std::max(0, CHeaderLayout::kHeaderMinWidth - plainWidth);
        const int dy = std::max(0, CHeaderLayout::kHeaderMinLabelTop - plainLabelTop);
        EXPECT_EQ(dlg->width(), plainWidth + dx);
        EXPECT_EQ(dlg->GetDlgItem(Dlg::IDC_FILE_NAME)->geometry(), plainFileName.adjusted(0, dy, dx, dy));
        EXPECT_EQ(dlg->GetDlgItem(Dlg::IDC_START)->geometry(), plainStart.translated(dx, dy));
        EXPECT_EQ(dlg->GetDlgItem(Dlg::IDC_VERSION)->geometry(), plainVersion.translated(dx, 0));
        // Fixed size, no maximise box.
        EXPECT_EQ(dlg->minimumSize(), dlg->maximumSize());
        EXPECT_FALSE(dlg->windowFlags() & Qt::WindowMaximizeButtonHint);
        SaveScreenshot(*dlg, QStringLiteral("main-window-%1pt.png").arg(points));
    }
    EXPECT_GT(grown, 0);
    EXPECT_GT(kept, 0);
}

TEST_F(MainWindowTest, TheInstructionIsTypedAfterOpeningPieceByPiece)
{
    EXPECT_EQ(CInstructionTyping::kTypingDelayMs, 500); // after 500 ms, then a piece every 10 ms
    EXPECT_EQ(CInstructionTyping::kTypingStepMs, 10);
    for (quint16 language : {LanguageEnglishUs, LanguageJapanese}) {
        // Opened as Open does, but looked at before any event is handled: the typing's delay
        // cannot have passed then, however long the first painting takes.
        auto dlg = std::make_unique<Dlg>();
        dlg->SetLanguage(language);
        dlg->SetOptions({false, false, QString()});
        QElapsedTimer sinceOpening;
        sinceOpening.start();
        dlg->show();
        const QString instruction = LoadText(IDS_INSTRUCTION, language);
        EXPECT_TRUE(Pane(*dlg)->Text().isEmpty());
        // Every state the pane passes through is a prefix that never splits a CR LF pair.
        bool onlyWholePieces = true;
        qint64 firstPieceMs = -1;
        QObject::connect(Pane(*dlg), &QPlainTextEdit::textChanged, dlg.get(), [&] {
            const QString& text = Pane(*dlg)->Text();
            onlyWholePieces = onlyWholePieces && instruction.startsWith(text) && !text.endsWith(QLatin1Char('\r'));
            if (firstPieceMs < 0)
                firstPieceMs = sinceOpening.elapsed();
        });
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return Pane(*dlg)->Text() == instruction; }, 10000));
        EXPECT_TRUE(onlyWholePieces);
        // Typed 500 ms after opening, less what a coarse timer may fire early; never at once.
        EXPECT_GE(firstPieceMs, 450);
        EXPECT_FALSE(dlg->IsTyping());
    }
}

TEST_F(MainWindowTest, PressingStartEndsTheTypingForGood)
{
    auto dlg = Open();
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return Pane(*dlg)->Text().size() > 10; }));
    // Agree to start; the run then fails on the empty file name and shows the system's box.
    bool confirmed = false, errorShown = false;
    TestSupport::OnNextModal([&](QWidget* w) {
        confirmed = w == &dlg->m_dlgStart;
        static_cast<QDialog*>(w)->accept();
        TestSupport::OnNextModal([&](QWidget* box) {
            errorShown = qobject_cast<QMessageBox*>(box) != nullptr;
            box->close();
        });
    });
    QTest::mouseClick(dlg->GetDlgItem(Dlg::IDC_START), Qt::LeftButton);
    EXPECT_TRUE(confirmed);
    EXPECT_TRUE(errorShown);
    EXPECT_TRUE(dlg->Started());
    const QString afterRun = Pane(*dlg)->Text();
    EXPECT_FALSE(afterRun.contains(QStringLiteral("Turn the Zerlind")));
    QTest::qWait(300);
    EXPECT_EQ(Pane(*dlg)->Text(), afterRun);
    EXPECT_FALSE(dlg->IsTyping());
}

TEST_F(MainWindowTest, CancellingTheConfirmationLetsTheTypingGoOn)
{
    auto dlg = Open();
    // Pressed before the typing begins: nothing is typed behind the confirmation, past 500 ms.
    QString behind = QStringLiteral("<not asked>");
    TestSupport::OnNextModal([&](QWidget* w) {
        QTest::qWait(700);
        behind = Pane(*dlg)->Text();
        static_cast<QDialog*>(w)->reject();
    });
    dlg->OnStart();
    EXPECT_EQ(behind, QString());
    EXPECT_FALSE(dlg->Started());
    const QString instruction = LoadText(IDS_INSTRUCTION, LanguageEnglishUs);
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return Pane(*dlg)->Text() == instruction; }, 10000));
}

TEST_F(MainWindowTest, CloseRequestsWaitWhileARunHoldsItsConnection)
{
    auto dlg = Open();
    dlg->SetActiveConnection(true);
    EXPECT_FALSE(dlg->close());
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_TRUE(dlg->isVisible());
    dlg->SetActiveConnection(false);
    EXPECT_TRUE(dlg->close());
    EXPECT_FALSE(dlg->isVisible());
}

TEST_F(MainWindowTest, ReportingOperations)
{
    auto dlg = Open();
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return !dlg->IsTyping(); }, 10000));
    Pane(*dlg)->SetText(QString());

    dlg->ShowStatus(IDS_STATUS_CONNECTING);
    dlg->AppendMessageLine(LoadText(IDS_ERR_NOT_FOUND, LanguageEnglishUs));
    dlg->AppendMessageText(QStringLiteral("x"));
    EXPECT_EQ(Pane(*dlg)->Text(), QStringLiteral("Connecting to the Zerlind.\r\nCan't find the Zerlind.\r\n"
                                                 "Please check the IP Address setting.\r\nx"));

    dlg->EnableInputControls(false);
    for (int id : {Dlg::IDC_FILE_LABEL, Dlg::IDC_FILE_NAME, Dlg::IDC_BROWSE, Dlg::IDC_IP_LABEL, Dlg::IDC_IP_ADDRESS, Dlg::IDC_START})
        EXPECT_FALSE(dlg->GetDlgItem(id)->isEnabled()) << id;
    EXPECT_TRUE(Pane(*dlg)->isEnabled());
    dlg->EnableInputControls(true);
    EXPECT_TRUE(dlg->GetDlgItem(Dlg::IDC_START)->isEnabled());

    Edit(*dlg, Dlg::IDC_FILE_NAME)->setText(QStringLiteral("/some/file.dat"));
    dlg->FocusEditAtEnd(InputField::FileName);
    EXPECT_EQ(dlg->focusWidget(), dlg->GetDlgItem(Dlg::IDC_FILE_NAME));
    EXPECT_EQ(Edit(*dlg, Dlg::IDC_FILE_NAME)->cursorPosition(), 14);
    EXPECT_FALSE(Edit(*dlg, Dlg::IDC_FILE_NAME)->hasSelectedText());

    CGradientBarCtrl* bar = Bar(*dlg);
    dlg->StartTransferProgress(25);
    EXPECT_EQ(bar->Maximum(), 25);
    EXPECT_EQ(bar->Segment(), 25);
    EXPECT_EQ(bar->Step(), 10);
    EXPECT_EQ(bar->BarColor(), RGB(0, 0, 128));
    for (int expected : {10, 20, 25}) {
        dlg->StepTransferProgress();
        EXPECT_EQ(bar->Head(), expected);
    }

    // The animation moves on its own thread while this one is busy (no event is handled here
    // meanwhile), and empties the bar once stopped.
    EXPECT_EQ(CWindowReporter::kWaitPollMs, 10); // a step once more than 10 ms have passed, polled every 10 ms
    EXPECT_EQ(CWindowReporter::kWaitStepAfterMs, 10u);
    dlg->StartWaitAnimation();
    EXPECT_EQ(bar->Maximum(), 200);
    EXPECT_EQ(bar->Segment(), 20);
    EXPECT_EQ(bar->BarColor(), RGB(255, 0, 0));
    const QDeadlineTimer moving(10000);
    while (bar->Head() <= 3 && !moving.hasExpired())
        QThread::msleep(10);
    EXPECT_GT(bar->Head(), 3);
    dlg->StopWaitAnimation();
    EXPECT_TRUE(TestSupport::WaitUntil([&] { return bar->Head() == 0 && bar->Tail() == 0; }, 10000));
    const int settled = bar->Head();
    QThread::msleep(50);
    EXPECT_EQ(bar->Head(), settled);
}

TEST_F(MainWindowTest, BrowsingStartsAtTheCurrentFileAndStoresTheChoice)
{
    QTemporaryDir dir;
    const QString current = dir.filePath(QStringLiteral("current.dat"));
    const QString chosen = dir.filePath(QStringLiteral("chosen.dat"));
    for (const QString& path : {current, chosen}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    auto dlg = Open(LanguageEnglishUs, current);

    QString title, directory, suffix;
    QStringList filters, preselected;
    TestSupport::OnNextModal([&](QWidget* w) {
        auto* fileDialog = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(fileDialog, nullptr);
        title = fileDialog->windowTitle();
        directory = fileDialog->directory().absolutePath();
        suffix = fileDialog->defaultSuffix();
        filters = fileDialog->nameFilters();
        preselected = fileDialog->selectedFiles();
        fileDialog->selectFile(chosen);
        static_cast<QDialog*>(fileDialog)->accept();
    });
    QTest::mouseClick(dlg->GetDlgItem(Dlg::IDC_BROWSE), Qt::LeftButton);
    EXPECT_EQ(title, QStringLiteral("Open"));
    EXPECT_EQ(directory, dir.path());
    EXPECT_EQ(suffix, QStringLiteral("dat"));
    EXPECT_EQ(filters, QStringList{QStringLiteral("Firmware file (*.dat)")});
    EXPECT_EQ(preselected, QStringList{current});
    // Shown and stored in the platform's own form (back slashes on Windows).
    EXPECT_EQ(Edit(*dlg, Dlg::IDC_FILE_NAME)->text(), QDir::toNativeSeparators(chosen));
    EXPECT_EQ(Stored(QStringLiteral("Filename")), QDir::toNativeSeparators(chosen));

    // A cancelled dialog changes nothing; a missing file starts in its nearest folder.
    Edit(*dlg, Dlg::IDC_FILE_NAME)->setText(dir.filePath(QStringLiteral("gone/x.dat")));
    TestSupport::OnNextModal([&](QWidget* w) {
        directory = qobject_cast<QFileDialog*>(w)->directory().absolutePath();
        w->showMinimized(); // as openbox may: it comes straight back
        EXPECT_TRUE(TestSupport::WaitUntil([&] { return !w->isMinimized(); }, 3000));
        static_cast<QDialog*>(w)->reject();
    });
    dlg->OnBrowse();
    EXPECT_EQ(directory, dir.path());
    EXPECT_EQ(Edit(*dlg, Dlg::IDC_FILE_NAME)->text(), dir.filePath(QStringLiteral("gone/x.dat")));
    // Qt's dialogs kept no state of ours in Qt's own settings.
    EXPECT_FALSE(QSettings(QSettings::UserScope, QStringLiteral("QtProject")).childGroups().contains(QStringLiteral("FileDialog")));
    EXPECT_FALSE(QFile::exists(QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName()));
}

TEST_F(MainWindowTest, CaptionsAndToolTipsFollowTheLanguage)
{
    for (quint16 language : {LanguageEnglishUs, LanguageJapanese}) {
        auto dlg = Open(language);
        const struct {
            int id;
            quint16 caption;
            quint16 tip;
        } controls[] = {
            {Dlg::IDC_FILE_LABEL, IDS_LABEL_FILE_NAME, 0},
            {Dlg::IDC_IP_LABEL, IDS_LABEL_IP_ADDRESS, 0},
            {Dlg::IDC_BROWSE, IDS_BUTTON_BROWSE, IDS_TIP_BROWSE},
            {Dlg::IDC_START, IDS_BUTTON_START, IDS_TIP_START},
            {Dlg::IDC_FILE_NAME, 0, IDS_TIP_FILE_NAME},
            {Dlg::IDC_IP_ADDRESS, 0, IDS_TIP_IP_ADDRESS},
        };
        for (const auto& c : controls) {
            QWidget* w = dlg->GetDlgItem(c.id);
            if (c.caption) {
                const QString shown = qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text()
                                                               : qobject_cast<QPushButton*>(w)->text();
                EXPECT_EQ(shown, LoadText(c.caption, language)) << c.id;
            }
            if (c.tip) {
                EXPECT_EQ(w->toolTip(), LoadText(c.tip, language)) << c.id;
                EXPECT_EQ(w->toolTipDuration(), 5000);
                EXPECT_EQ(w->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay, nullptr, w), 100);
            }
        }
        EXPECT_EQ(Pane(*dlg)->TextColor(), RGB(128, 0, 0));
    }
}

TEST_F(MainWindowTest, NothingIsClippedOrOverlapsInEitherLanguage)
{
    for (quint16 language : {LanguageEnglishUs, LanguageJapanese}) {
        SCOPED_TRACE(language);
        auto dlg = Open(language);
        ASSERT_TRUE(TestSupport::WaitUntil([&] { return !dlg->IsTyping(); }, 10000));

        // Controls that must not touch one another; each frame only holds its own control.
        QVector<int> ids = {Dlg::IDC_PROGRESS_FRAME, Dlg::IDC_MESSAGE_FRAME, Dlg::IDC_FILE_LABEL,
                            Dlg::IDC_FILE_NAME,      Dlg::IDC_BROWSE,        Dlg::IDC_IP_LABEL,
                            Dlg::IDC_IP_ADDRESS,     Dlg::IDC_START,         Dlg::IDC_VERSION,
                            Dlg::IDC_CAPTION,        Dlg::IDC_RADIO_PICTURE};
        if (!dlg->DrawsLogo())
            ids << Dlg::IDC_LOGO;
        QVector<QRect> rects;
        for (int id : ids)
            rects << dlg->GetDlgItem(id)->geometry();
        if (dlg->DrawsLogo())
            rects << QRect(CHeaderLayout::kLogoDrawX, dlg->GetDlgItem(Dlg::IDC_LOGO)->y(), 205, 37);
        for (int i = 0; i < rects.size(); ++i) {
            EXPECT_TRUE(dlg->rect().contains(rects[i])) << "control " << i << " leaves the window";
            for (int j = i + 1; j < rects.size(); ++j)
                EXPECT_FALSE(rects[i].intersects(rects[j])) << "controls " << i << " and " << j << " overlap";
        }
        EXPECT_TRUE(dlg->GetDlgItem(Dlg::IDC_PROGRESS_FRAME)->geometry().contains(dlg->GetDlgItem(Dlg::IDC_PROGRESS)->geometry()));
        EXPECT_TRUE(dlg->GetDlgItem(Dlg::IDC_MESSAGE_FRAME)->geometry().contains(dlg->GetDlgItem(Dlg::IDC_MESSAGE)->geometry()));

        // Japanese: letters of their own widths, as in the notices, whatever the system's usual
        // font (on a Japanese system a gothic whose Latin letters are all one width).
        const QFontMetricsF letters(dlg->font());
        if (language == LanguageJapanese) {
            EXPECT_LT(letters.horizontalAdvance(QLatin1Char('i')), letters.horizontalAdvance(QLatin1Char('W')))
                << QFontInfo(dlg->font()).family().toStdString();
        }

        // Every caption fits its control, ink included, glyphs from fallback fonts as well.
        for (int id : {Dlg::IDC_FILE_LABEL, Dlg::IDC_IP_LABEL, Dlg::IDC_VERSION, Dlg::IDC_CAPTION}) {
            auto* label = qobject_cast<QLabel*>(dlg->GetDlgItem(id));
            EXPECT_LE(TestSupport::LineInk(label->font(), label->text()).Width(), label->contentsRect().width()) << id;
            EXPECT_LE(label->fontMetrics().height(), label->contentsRect().height()) << id;
        }
        for (int id : {Dlg::IDC_BROWSE, Dlg::IDC_START}) {
            auto* button = qobject_cast<QPushButton*>(dlg->GetDlgItem(id));
            EXPECT_LE(TestSupport::LineInk(button->font(), button->text()).Width(), button->width() - 4) << id;
        }
        // The whole instruction is visible in the pane without scrolling.
        CColorEdit* pane = Pane(*dlg);
        EXPECT_EQ(pane->verticalScrollBar()->maximum(), 0);

        SaveScreenshot(*dlg, language == LanguageJapanese ? QStringLiteral("main-window-ja.png")
                                                       : QStringLiteral("main-window-en.png"));
    }
}

TEST_F(MainWindowTest, TabOrderAndTheDefaultButton)
{
    auto dlg = Open();
    // Only the four inputs take the keyboard focus, in template order.
    QVector<QWidget*> chain;
    QWidget* w = dlg->GetDlgItem(Dlg::IDC_FILE_NAME);
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            chain << w;
        w = w->nextInFocusChain();
    } while (w != dlg->GetDlgItem(Dlg::IDC_FILE_NAME));
    EXPECT_EQ(chain, (QVector<QWidget*>{dlg->GetDlgItem(Dlg::IDC_FILE_NAME), dlg->GetDlgItem(Dlg::IDC_BROWSE),
                                        dlg->GetDlgItem(Dlg::IDC_IP_ADDRESS), dlg->GetDlgItem(Dlg::IDC_START)}));

    // Enter in a field is the Start button: the confirmation comes up.
    bool confirmationShown = false;
    TestSupport::OnNextModal([&](QWidget* modal) {
        confirmationShown = modal == &dlg->m_dlgStart;
        static_cast<QDialog*>(modal)->reject();
    });
    QTest::keyClick(dlg->GetDlgItem(Dlg::IDC_IP_ADDRESS), Qt::Key_Return);
    EXPECT_TRUE(confirmationShown);
}
