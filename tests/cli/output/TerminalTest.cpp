// What the fleet run leaves on a real terminal: the updater in a tmux pane of a given size, the
// pane captured with its scrollback once it has ended. Radios on 127.0.6.0/24.
#include "common/RadioSimProcess.h"
#include "common/TestSupport.h"

#include "base/MessageCatalog.h"

#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// A tmux server of the test's own, gone with the object.
class TmuxPane {
public:
    TmuxPane(int columns, int rows, const QString& command)
        : m_socket(TestSupport::ScratchDir() + QStringLiteral("/tmux-%1x%2").arg(columns).arg(rows))
    {
        // The shell stays after the command, so that the pane is still there to be read.
        Tmux({"new-session", "-d", "-x", QString::number(columns), "-y", QString::number(rows),
              command + QStringLiteral("; echo \"[exit $?]\"; sleep 60")});
    }
    ~TmuxPane() { Tmux({"kill-server"}); }

    void Resize(int columns) const { Tmux({"resize-window", "-x", QString::number(columns)}); }
    // Whether the screen shows `text` `times` times within `timeoutMs`.
    bool Shows(const QString& text, int times, int timeoutMs) const
    {
        for (int waited = 0; waited < timeoutMs; waited += 50) {
            if (Tmux({"capture-pane", "-p", "-t", "0"}).count(text) >= times)
                return true;
            QThread::msleep(50);
        }
        return false;
    }
    // The screen and the scrollback, wrapped lines joined, once the command has ended (bounded).
    QStringList Ended(int timeoutMs)
    {
        QString text;
        for (int waited = 0; !text.contains("[exit ") && waited < timeoutMs; waited += 100) {
            QThread::msleep(100);
            text = Tmux({"capture-pane", "-p", "-J", "-S", "-", "-t", "0"});
        }
        QStringList lines;
        for (const QString& line : text.split(u'\n'))
            lines << line.trimmed();
        return lines;
    }

private:
    QString Tmux(const QStringList& arguments) const
    {
        QProcess tmux;
        tmux.start("tmux", QStringList{"-S", m_socket, "-f", "/dev/null"} + arguments);
        tmux.waitForFinished(5000);
        return QString::fromUtf8(tmux.readAllStandardOutput());
    }

    const QString m_socket;
};

QStringList Prefixed(const QString& radio, std::initializer_list<quint16> ids)
{
    QStringList lines;
    for (quint16 id : ids) {
        for (const QString& line : LoadText(id, LanguageEnglishUs).split("\r\n"))
            lines << radio + ": " + line;
    }
    return lines;
}

// Every line of a run on the terminal where it was shown: every radio's status and failure
// lines, the table whole below the terminal's width (each radio on two lines when narrow), the
// totals, and no fleet line left behind by the progress block.
TEST(Terminal, TheRunStaysOnTheScreenAndInTheScrollback)
{
    const struct {
        int columns;
        bool twoLines; // the table's rows
    } cases[] = {{80, false}, {40, true}};
    const QString path = TestSupport::WriteRandomFile("terminal.dat", 64 * 1024);
    int base = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.columns);
        const QString good = QStringLiteral("127.0.6.%1").arg(base);
        const QString bad = QStringLiteral("127.0.6.%1").arg(base + 1);
        base += 2;
        RadioSimProcess sim(good + u'-' + bad, {"--program-delay", "1200", "--refuse", bad + "/program"});
        ASSERT_TRUE(sim.Ready());
        TmuxPane pane(c.columns, 24,
                      QStringLiteral("LC_ALL=C.UTF-8 '%1/zerlind-firm-update' '%2' %3 %4").arg(ZFU_BIN_DIR, path, good, bad));
        const QStringList lines = pane.Ended(20000);
        const QString screen = lines.join(u'\n');
        ASSERT_TRUE(lines.contains("[exit 6]")) << qPrintable(screen);

        QStringList expected = Prefixed(good, {1309, 1300, 1302, 1303, 1304, 1301, 1305});
        expected += Prefixed(bad, {1309, 1300, 1302, 1303, 1304, 1301, IDS_ERR_ILLEGAL_DATA});
        for (const QString& line : expected)
            EXPECT_EQ(lines.count(line), 1) << qPrintable(line) << '\n' << qPrintable(screen);
        EXPECT_FALSE(screen.contains(" done, ")) << qPrintable(screen);

        const int header = int(lines.indexOf(QRegularExpression("^radio +state +exit +seconds.*")));
        ASSERT_GE(header, 0) << qPrintable(screen);
        const QStringList table = lines.mid(header, c.twoLines ? 5 : 3);
        for (const QString& line : table)
            EXPECT_LT(line.size(), c.columns) << qPrintable(line);
        const QString badRow = table.value(c.twoLines ? 3 : 2);
        EXPECT_TRUE(badRow.contains(QRegularExpression("^" + QRegularExpression::escape(bad) + " +failed +6 ")))
            << qPrintable(screen);
        EXPECT_TRUE(table.value(c.twoLines ? 4 : 2).contains("Illegal firm data.")) << qPrintable(screen);
        EXPECT_EQ(lines.value(header + table.size()), "2 radios: 1 updated, 1 failed") << qPrintable(screen);
    }
}

// A terminal made narrower mid-run keeps no line of the block's old width in the scrollback.
TEST(Terminal, ANarrowerTerminalKeepsNoStaleBlock)
{
    RadioSimProcess sim("127.0.6.60-127.0.6.63", {"--program-delay", "2500"});
    ASSERT_TRUE(sim.Ready());
    TmuxPane pane(120, 30, QStringLiteral("LC_ALL=C.UTF-8 '%1/zerlind-firm-update' '%2' 127.0.6.60 127.0.6.61 127.0.6.62 127.0.6.63")
                               .arg(ZFU_BIN_DIR, TestSupport::WriteRandomFile("narrower.dat", 64 * 1024)));
    // The block is drawn at the old width, every radio programming (its line changes once a
    // second), before the terminal narrows.
    ASSERT_TRUE(pane.Shows("  program  waited ", 4, 10000));
    pane.Resize(50);
    const QString screen = pane.Ended(20000).join(u'\n');
    EXPECT_TRUE(screen.contains("[exit 0]") && !screen.contains(" done, ")) << qPrintable(screen);
}

} // namespace
