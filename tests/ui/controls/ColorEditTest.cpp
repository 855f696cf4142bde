#include "ui/controls/ColorEdit.h"

#include "common/TestSupport.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Counts context-menu requests reaching a widget and remembers what its viewport repaints.
class EventWatch : public QObject {
public:
    int contextMenus = 0;
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ContextMenu)
            ++contextMenus;
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

// Whether `provoke` opens a popup menu; one that opens is closed again at once.
bool OpensMenu(const std::function<void()>& provoke)
{
    bool seen = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            seen = true;
            popup->close();
        }
    });
    poll.start();
    provoke();
    // A menu that opens is up once `provoke` returns; the poll only has to run.
    TestSupport::WaitUntil([&] { return seen; }, 1000);
    return seen;
}

void RightClick(QPlainTextEdit& edit)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), edit.viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(edit.viewport(), &event);
}

void MenuKey(QPlainTextEdit& edit)
{
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), edit.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&edit, &event);
}

TEST(ColorEdit, RightClickAndMenuKeyOpenNoMenuHereOrInTheParent)
{
    QWidget parent;
    EventWatch parentWatch;
    parent.installEventFilter(&parentWatch);
    CColorEdit edit(&parent);
    edit.SetText(QStringLiteral("Some text"));
    parent.show();

    EXPECT_FALSE(OpensMenu([&] { RightClick(edit); }));
    EXPECT_FALSE(OpensMenu([&] { MenuKey(edit); }));
    EXPECT_EQ(parentWatch.contextMenus, 0);

    // The same requests do open the standard menu of a plain text control.
    QPlainTextEdit plain(&parent);
    EXPECT_TRUE(OpensMenu([&] { RightClick(plain); }));
}

TEST(ColorEdit, EachColourSetterRepaintsTheWholeControlInTheNewColours)
{
    CColorEdit edit;
    edit.resize(200, 80);
    edit.SetText(QStringLiteral("MMMM WWWW"));
    edit.show();
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return edit.isVisible(); }));
    EventWatch watch;
    edit.viewport()->installEventFilter(&watch);
    QCoreApplication::processEvents();

    const QRect whole = edit.viewport()->rect();
    const auto repaintedWholly = [&] { return watch.painted.contains(whole); };

    watch.painted = QRegion();
    edit.SetBackgroundColor(RGB(10, 200, 30));
    EXPECT_TRUE(TestSupport::WaitUntil(repaintedWholly, 2000));
    watch.painted = QRegion();
    edit.SetTextColor(RGB(128, 0, 0));
    EXPECT_TRUE(TestSupport::WaitUntil(repaintedWholly, 2000));

    const QImage shot = edit.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(shot.width() - 1, shot.height() - 1), qRgb(10, 200, 30));
    int textPixels = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            textPixels += shot.pixel(x, y) == qRgb(128, 0, 0);
    EXPECT_GT(textPixels, 0);
}

TEST(ColorEdit, KeepsCrLfInItsTextAndShowsThemAsLineBreaks)
{
    CColorEdit edit;
    const QString typed = QStringLiteral("first line\r\nsecond\r\nthird");
    for (QChar c : typed) // the instruction text arrives one character at a time
        edit.AppendText(QString(c));
    EXPECT_EQ(edit.Text(), typed);
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("first line\nsecond\nthird"));
    EXPECT_EQ(edit.document()->blockCount(), 3);

    edit.SetText(QStringLiteral("a\r\nb"));
    EXPECT_EQ(edit.Text(), QStringLiteral("a\r\nb"));
    EXPECT_EQ(edit.document()->blockCount(), 2);
    EXPECT_EQ(CColorEdit::DisplayText(QStringLiteral("x\ry\r\n")), QStringLiteral("xy\n"));
}

TEST(ColorEdit, AppendGoesToTheEndAndScrollsItIntoView)
{
    CColorEdit edit;
    edit.resize(200, 60);
    edit.show();
    edit.SetText(QStringLiteral("start\r\n"));
    // The operator may have selected text near the top.
    QTextCursor selection(edit.document());
    selection.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, 3);
    edit.setTextCursor(selection);

    for (int i = 0; i < 40; ++i)
        edit.AppendText(QStringLiteral("line %1\r\n").arg(i));
    edit.AppendText(QStringLiteral("last"));
    QCoreApplication::processEvents();

    EXPECT_TRUE(edit.toPlainText().startsWith(QStringLiteral("start\nline 0\n")));
    EXPECT_TRUE(edit.toPlainText().endsWith(QStringLiteral("line 39\nlast")));
    QScrollBar* bar = edit.verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST(ColorEdit, WrapsOnlyWhenAskedAndLaysTextOutOverTheWholeControl)
{
    CColorEdit edit;
    edit.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit.resize(120, 100);
    edit.show();
    edit.SetText(QStringLiteral("a long line of text that cannot fit into the control"));
    QCoreApplication::processEvents();
    const auto lines = [&] { return edit.document()->firstBlock().layout()->lineCount(); };

    edit.SetWordWrap(true);
    QCoreApplication::processEvents();
    EXPECT_GT(lines(), 1);
    edit.SetWordWrap(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(lines(), 1);

    // No frame and no margin: measuring against the control measures against its text area.
    EXPECT_EQ(edit.FormattingRect(), edit.rect());
}

} // namespace
