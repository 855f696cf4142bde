#include "base/MessageCatalog.h"
#include "common/TestSupport.h"
#include "ui/boxes/MessageBoxes.h"

#include <QAccessible>
#include <QLabel>
#include <QMessageBox>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace {

struct SeenBox {
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList spoken; // what the box and its parts hand a screen reader
    int widestLine = 0; // of the text, in the box's letters
    int labelWidth = 0;
};

// Records the next box that opens and closes it with its default (escape) button.
std::shared_ptr<SeenBox> WatchNextBox(int timeoutMs = 3000)
{
    auto seen = std::make_shared<SeenBox>();
    TestSupport::OnNextModal([seen](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            seen->seen = true;
            seen->title = box->windowTitle();
            seen->text = box->text();
            seen->icon = box->icon();
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
                for (const QString& line : box->text().split(QLatin1Char('\n')))
                    seen->widestLine = std::max(seen->widestLine, label->fontMetrics().horizontalAdvance(line));
                seen->labelWidth = label->contentsRect().width();
            }
            const QList<QWidget*> parts = box->findChildren<QWidget*>() << box;
            for (QWidget* part : parts) {
                if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(part))
                    seen->spoken << iface->text(QAccessible::Name) << iface->text(QAccessible::Value);
            }
        }
        w->close();
    }, timeoutMs);
    return seen;
}

TEST(MessageBoxes, ExclamationIsAddedWhenNoIconIsAsked)
{
    std::shared_ptr<SeenBox> seen = WatchNextBox();
    AppMessageBox(nullptr, QStringLiteral("Hello"), QMessageBox::NoIcon, QMessageBox::Ok | QMessageBox::Cancel);
    ASSERT_TRUE(seen->seen);
    EXPECT_EQ(seen->title, QStringLiteral("Zerlind Firm Utility"));
    EXPECT_EQ(seen->text, QStringLiteral("Hello"));
    EXPECT_EQ(seen->icon, QMessageBox::Warning);

    seen = WatchNextBox();
    AppMessageBox(nullptr, QStringLiteral("Question"), QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No);
    ASSERT_TRUE(seen->seen);
    EXPECT_EQ(seen->icon, QMessageBox::NoIcon);
}

TEST(MessageBoxes, ErrorBoxesCarryTheErrorIcon)
{
    std::shared_ptr<SeenBox> seen = WatchNextBox();
    ShowErrorBox(nullptr, LoadText(IDS_ERR_TRANSFER, LanguageEnglishUs));
    ASSERT_TRUE(seen->seen);
    EXPECT_EQ(seen->icon, QMessageBox::Critical);
    // Plain line breaks, also for screen readers, not the catalog's carriage returns.
    EXPECT_EQ(seen->text, QStringLiteral("Data transfer failed.\nPlease check the network connection and retry."));
    EXPECT_FALSE(seen->spoken.join(QString()).contains(QLatin1Char('\r')));
}

// Broken at a blank or after 、 or 。, not by the label inside a word; also at scale 2 (CMakeLists).
TEST(MessageBoxes, ALongLineIsBrokenBetweenWords)
{
    for (const QString& text : {LoadText(IDS_ERR_FILE_NAME_NOT_UTF8, LanguageEnglishUs),
                                QString::fromUtf8(u8"ファームウェアの転送に失敗しました。ネットワークの接続を確認し、再度実行してください。")}) {
        std::shared_ptr<SeenBox> seen = WatchNextBox();
        ShowErrorBox(nullptr, text);
        EXPECT_GE(seen->labelWidth, seen->widestLine);
        const QStringList lines = seen->text.split(QLatin1Char('\n'));
        EXPECT_TRUE(std::all_of(lines.begin(), lines.end() - 1, [&](const QString& l) {
            return l.endsWith(u'\u3002') || l.endsWith(u'\u3001') || l.endsWith(u' ') || text.contains(l + u'\r');
        })) << seen->text.toStdString();
    }
}

// Some window managers (openbox) minimise a box with its owner: both come straight back.
TEST(MessageBoxes, AMinimisedBoxComesBackWithItsOwner)
{
    QWidget owner;
    owner.show();
    TestSupport::OnNextModal([&](QWidget* box) {
        owner.showMinimized();
        box->showMinimized();
        EXPECT_TRUE(TestSupport::WaitUntil([&] { return !box->isMinimized() && !owner.isMinimized(); }, 3000));
        box->close();
    });
    ShowErrorBox(&owner, QStringLiteral("x"));
}

// Also run on a screen scaled by 2 (see CMakeLists.txt): no line is wrapped that fits unscaled.
TEST(MessageBoxes, ErrorTextsKeepTheirLines)
{
    for (quint16 language : {LanguageEnglishUs, LanguageJapanese}) {
        for (quint16 id : {IDS_ERR_NOT_FOUND, IDS_ERR_TRANSFER, IDS_ERR_ILLEGAL_DATA, IDS_ERR_NO_REPLY}) {
            std::shared_ptr<SeenBox> seen = WatchNextBox();
            ShowErrorBox(nullptr, LoadText(id, language));
            ASSERT_TRUE(seen->seen);
            EXPECT_GE(seen->labelWidth, seen->widestLine) << language << " " << id;
        }
    }
}

TEST(MessageBoxes, SystemErrorBoxShowsTheSystemTextOrNothing)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "switches the POSIX message locale; the Windows tests check the system's texts";
#endif
    const QByteArray saved = qgetenv("LC_ALL");
    qputenv("LC_ALL", "ja_JP.UTF-8");
    std::shared_ptr<SeenBox> seen = WatchNextBox();
    ShowSystemErrorBox(nullptr, ENOENT);
    ASSERT_TRUE(seen->seen);
    EXPECT_EQ(seen->text, QString::fromUtf8(u8"そのようなファイルやディレクトリはありません"));
    EXPECT_EQ(seen->icon, QMessageBox::Critical);
    EXPECT_EQ(seen->title, QStringLiteral("Zerlind Firm Utility"));

    qputenv("LC_ALL", "C");
    seen = WatchNextBox(300);
    ShowSystemErrorBox(nullptr, 987654); // no text for it: no box at all
    // Waits past the watcher's own deadline so it cannot take a later test's box.
    EXPECT_FALSE(TestSupport::WaitUntil([&] { return seen->seen; }, 500));
    qputenv("LC_ALL", saved);
}

TEST(MessageBoxes, SocketFailureByIdentifierFollowsTheSystemLocale)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "switches the POSIX message locale; the Windows tests check the system's texts";
#endif
    const QByteArray saved = qgetenv("LC_ALL");
    qputenv("LC_ALL", "de_DE.UTF-8");
    std::shared_ptr<SeenBox> seen = WatchNextBox();
    AppMessageBoxById(IDS_SOCKET_INIT_FAILED);
    ASSERT_TRUE(seen->seen);
    EXPECT_EQ(seen->text, QStringLiteral("Windows sockets initialization failed."));
    EXPECT_EQ(seen->icon, QMessageBox::Warning);

    qputenv("LC_ALL", "ja_JP.UTF-8");
    seen = WatchNextBox();
    AppMessageBoxById(IDS_SOCKET_INIT_FAILED);
    ASSERT_TRUE(seen->seen);
    EXPECT_EQ(seen->text, LoadText(IDS_SOCKET_INIT_FAILED, LanguageJapanese));
    qputenv("LC_ALL", saved);
}

} // namespace
