// Progress lines on a terminal: whatever the phase, the width and the texts, a line never
// reaches the last column (which would wrap it and break the redraw in place), and the narrow
// form still says how far the radio is.
#include "cli/output/ProgressBlock.h"
#include "cli/output/ProgressLine.h"
#include "cli/output/TextRenderer.h"
#include "cli/text/CliText.h"

#include "base/MessageCatalog.h"
#include "base/Translations.h"

#include <QRegularExpression>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

TEST(ProgressLine, NeverWiderThanTheTerminal)
{
    ProgressView transfer;
    transfer.label = QStringLiteral("radio-in-the-back-room.example");
    transfer.phase = RadioPhase::Transferring;
    transfer.bytesSent = 3 * 1024 * 1024;
    transfer.totalBytes = 4 * 1024 * 1024;
    transfer.transferMs = 2500;
    ProgressView single = transfer;
    single.label.clear();
    ProgressView program = transfer;
    program.phase = RadioPhase::Programming;
    program.waitedMs = 12500;
    program.programTimeoutMs = 180000;
    ProgressView updated = transfer;
    updated.phase = RadioPhase::Updated;
    updated.elapsedMs = 4600;
    ProgressView failed = transfer;
    failed.phase = RadioPhase::Failed;
    failed.note = QString::fromUtf8("データ転送に失敗しました。ネットワーク接続を確認して再試行してください。");

    const struct {
        const char* name;
        const ProgressView& view;
        const char* mustShow; // in every width
    } views[] = {
        {"transfer", transfer, "75%"}, {"single", single, "75%"}, {"program", program, "12"},
        {"updated", updated, "4.6 s"}, {"failed", failed, "データ"},
    };
    for (const auto& v : views) {
        for (int columns : {12, 30, 59, 60, 61, 80, 132, 400}) {
            const QString line = FormatProgressLine(v.view, columns);
            SCOPED_TRACE(std::string(v.name) + " at " + std::to_string(columns) + ": " + line.toStdString());
            EXPECT_LE(DisplayWidth(line), columns - 1);
            EXPECT_FALSE(line.contains(u'\n'));
            if (columns >= 40) {
                EXPECT_TRUE(line.contains(QString::fromUtf8(v.mustShow)));
            }
        }
    }
    // Rate and time left: 3 MiB in 2.5 s leaves 1 MiB, under a second.
    EXPECT_TRUE(FormatProgressLine(single, 80).contains(QLatin1String("1.2 MiB/s  0:01 left")));
}

// What a line says before anything has moved and when nothing moves: an empty bar at the start
// (never a full one), the seconds spent connecting, and a radio that has gone quiet.
TEST(ProgressLine, SaysHowFarAndWhenStalled)
{
    ProgressView start;
    start.label = QStringLiteral("127.0.4.10");
    start.phase = RadioPhase::Transferring;
    ProgressView sizeKnown = start;
    sizeKnown.totalBytes = 4096;
    ProgressView connecting = start;
    connecting.phase = RadioPhase::Connecting;
    connecting.elapsedMs = 2900;
    ProgressView stalled = sizeKnown;
    stalled.bytesSent = 2048;
    stalled.stalled = true;
    const struct {
        const ProgressView& view;
        const char* shows;
        const char* hides;
    } cases[] = {
        {start, " ]   0%", "="},
        {sizeKnown, " ]   0%", "="},
        {connecting, "connect  2 s", "["},
        {stalled, "stalled  50%", "100%"},
    };
    for (const auto& c : cases) {
        const QString line = FormatProgressLine(c.view, 80);
        EXPECT_TRUE(line.contains(QLatin1String(c.shows))) << "[" << line.toStdString() << "]";
        EXPECT_FALSE(line.contains(QLatin1String(c.hides))) << "[" << line.toStdString() << "]";
    }
}

// Hands the block one event of `radio`, of an image of 4000 bytes.
void Feed(ProgressBlock& block, int radio, FleetEvent::Kind kind, quint64 bytes = 0,
          RadioState state = RadioState::NotStarted, const QJsonObject& fields = {})
{
    FleetEvent event;
    event.kind = kind;
    event.radio = radio;
    event.phase = RadioPhase::Connecting;
    event.bytes = bytes;
    event.total = 4000;
    event.outcome.state = state;
    event.fields = fields;
    block.Render(event);
}

// After a second interrupt the fleet line tells the radios apart instead of calling them failed.
TEST(ProgressBlock, FleetLineCountsEachState)
{
    QString screen;
    QTextStream err(&screen);
    ProgressBlock block({"a", "b", "c", "d", "e"}, 180000, err);
    int radio = 0;
    for (const RadioState state : {RadioState::Updated, RadioState::Failed, RadioState::Unknown, RadioState::Unknown,
                                   RadioState::NotStarted})
        Feed(block, radio++, FleetEvent::Kind::Result, 0, state);
    EXPECT_TRUE(screen.endsWith("5 radios: 1 done, 1 failed, 2 unknown, 1 not started, --:-- left\x1b[K\n")) << qPrintable(screen);
}

// The estimate is what is left at the rate so far; there is none while a radio has sent nothing
// for 5 s (its time-out may be far off), and there is one again once it moves.
TEST(ProgressBlock, NoEstimateWhileARadioIsStalled)
{
    QString screen;
    QTextStream err(&screen);
    qint64 now = 0;
    ProgressBlock block({"a", "b"}, 180000, err, [&] { return now; });
    for (int radio : {0, 1}) {
        Feed(block, radio, FleetEvent::Kind::Phase);
        Feed(block, radio, FleetEvent::Kind::Progress, 1000);
    }
    struct Step { qint64 now; int radio; quint64 bytes; const char* left; }; // radio -1: only the clock moves
    for (const Step& step : {Step{2000, 0, 2000, "0:03"}, Step{2000, 1, 2000, "0:02"}, Step{6999, -1, 0, "0:07"},
                             Step{6999, 0, 3000, "0:04"}, Step{7000, -1, 0, "--:--"}, Step{7000, 1, 3000, "0:02"}}) {
        now = step.now;
        if (step.radio >= 0)
            Feed(block, step.radio, FleetEvent::Kind::Progress, step.bytes);
        block.Tick(); // two radios' progress within 100 ms is drawn once, by the writer's tick
        const QString drawn = screen.mid(screen.lastIndexOf("2 radios:"));
        EXPECT_TRUE(drawn.startsWith(QStringLiteral("2 radios: 0 done, 0 failed, %1 left\x1b[K\n").arg(step.left)))
            << step.now << qPrintable(drawn);
        // "--:--" here only because b has stalled, which its own line says.
        EXPECT_EQ(drawn.contains("stalled"), QLatin1String(step.left) == "--:--") << step.now << qPrintable(drawn);
    }
}

// Hundreds of radios each moving every block must not keep the writer drawing: progress redraws
// the block at most every 100 ms.
TEST(ProgressBlock, ProgressRedrawsAtMostEvery100Ms)
{
    QString screen;
    QTextStream err(&screen);
    qint64 now = 0;
    ProgressBlock block({"a"}, 180000, err, [&] { return now; });
    Feed(block, 0, FleetEvent::Kind::Phase);
    FleetEvent transferring;
    transferring.radio = 0;
    transferring.kind = FleetEvent::Kind::Phase;
    transferring.phase = RadioPhase::Transferring;
    block.Render(transferring);
    for (const qint64 at : {50, 99, 100, 150, 199, 200}) {
        now = at;
        Feed(block, 0, FleetEvent::Kind::Progress, quint64(at) * 10);
    }
    EXPECT_EQ(screen.count("1 radios: "), 3) << qPrintable(screen); // at 0, 100 and 200
}

// A radio waiting to be tried again counts the wait down instead of showing its old phase; the
// fleet's time left is never shorter than a running radio's own.
TEST(ProgressBlock, ARetryCountsDownAndTheFleetWaitsForTheSlowest)
{
    QString screen;
    QTextStream err(&screen);
    qint64 now = 0;
    ProgressBlock block({"a", "b"}, 180000, err, [&] { return now; });
    const auto transferring = [&](int radio) {
        FleetEvent event;
        event.kind = FleetEvent::Kind::Phase;
        event.radio = radio;
        event.phase = RadioPhase::Transferring;
        block.Render(event);
    };
    for (int radio : {0, 1}) {
        Feed(block, radio, FleetEvent::Kind::Phase);
        transferring(radio);
    }
    Feed(block, 0, FleetEvent::Kind::Progress, 3000);
    now = 2000; // a: 3000 bytes, b: 100 bytes of 4000 in 2 s; b alone needs 78 s more
    Feed(block, 1, FleetEvent::Kind::Progress, 100);
    const auto drawn = [&] { return screen.mid(screen.lastIndexOf("2 radios:")).toStdString(); };
    EXPECT_NE(drawn().find("1:18 left"), std::string::npos) << drawn();
    EXPECT_EQ(drawn().find("0:03 left"), std::string::npos) << drawn();
    Feed(block, -1, FleetEvent::Kind::Rollout, 0, RadioState::NotStarted, {{"event", "attempt"}, {"radio", "b"}, {"wait", 2}});
    EXPECT_NE(drawn().find("b  waiting to retry in 2 s"), std::string::npos) << drawn();
    now = 3500;
    block.Tick();
    EXPECT_NE(drawn().find("b  waiting to retry in 1 s"), std::string::npos) << drawn();
    now = 3600; // past the 100 ms between two redraws
    Feed(block, 1, FleetEvent::Kind::Phase);
    EXPECT_EQ(drawn().find("waiting to retry"), std::string::npos) << drawn();
}

// A wave pause is counted down; the estimate skips it and adds the pauses still ahead.
TEST(ProgressBlock, APauseIsShownAndCountedOnce)
{
    QString screen;
    QTextStream err(&screen);
    qint64 now = 0;
    ProgressBlock block({"a", "b", "c"}, 180000, err, [&] { return now; });
    block.SetPauses(3, 20000);
    const auto fleet = [&] { return screen.mid(screen.lastIndexOf("3 radios: ")).section(u'\x1b', 0, 0).toStdString(); };
    Feed(block, 0, FleetEvent::Kind::Phase);
    Feed(block, 0, FleetEvent::Kind::Progress, 1);
    now = 2000; // 2000 of 12000 bytes in 2 s, and two pauses of 20 s ahead
    Feed(block, 0, FleetEvent::Kind::Progress, 2000);
    EXPECT_EQ(fleet(), "3 radios: 0 done, 0 failed, 0:50 left");
    now = 4000;
    Feed(block, 0, FleetEvent::Kind::Result, 4000, RadioState::Updated);
    Feed(block, -1, FleetEvent::Kind::Rollout, 0, RadioState::NotStarted, {{"action", "pause"}, {"wave", 2}, {"seconds", 20}});
    EXPECT_EQ(fleet(), "3 radios: 1 done, 0 failed, wave 2 of 3 in 20 s, 0:48 left");
    now = 14000;
    block.Tick();
    EXPECT_EQ(fleet(), "3 radios: 1 done, 0 failed, wave 2 of 3 in 10 s, 0:38 left");
}

// The summary table at any width: the status columns and attempts always there, cuts marked "…".
TEST(SummaryTable, CutsAreMarkedAndTheStatusAlwaysShows)
{
    const QString text = QStringLiteral("Illegal firm data. Please check the firmware file and try again.");
    const RadioOutcome failed{RadioState::Failed, 6, text, 2000, 0, 2, {}};
    for (const QString& label : {QStringLiteral("127.0.4.10"), QStringLiteral("[fd00:1234:5678:9abc:def0:1234:5678:1]:1114")}) {
        for (int columns : {132, 80, 50, 40, 30}) {
            const QString table = TextRenderer::SummaryLines({label}, {failed}, columns).join(u'\n');
            SCOPED_TRACE(table.toStdString());
            EXPECT_FALSE(table.contains(QRegularExpression(QStringLiteral("^.{%1}").arg(columns), QRegularExpression::MultilineOption)));
            EXPECT_TRUE(table.contains(QRegularExpression(" failed +6 +2\\.0(  |\\n|$)")));
            EXPECT_TRUE(table.contains(text + "  (2 attempts)") || table.contains(u'\u2026' + QStringLiteral("  (2 attempts)")));
            // At 30 columns the name keeps only what is left beside the status columns.
            EXPECT_TRUE(table.contains(QRegularExpression("(^|\u2026)\\S*" + QRegularExpression::escape(label.right(columns > 30 ? 6 : 2)) + " ", QRegularExpression::MultilineOption)));
        }
    }
}

// In Japanese the headers and states are wide characters: every column still starts and ends
// at one display column in the header and in each row.
TEST(SummaryTable, JapaneseColumnsAlignByDisplayWidth)
{
    ASSERT_TRUE(UseTranslations(LanguageJapanese));
    const QStringList lines = TextRenderer::SummaryLines({"127.0.4.11", "127.0.4.12", "127.0.4.13"},
        {{RadioState::Updated, 0, {}, 1500, 0, 1, {}}, {RadioState::Failed, 6, "x", 20, 0, 1, {}}, {RadioState::NotStarted, -1, "y", 0, 0, 0, {}}}, 0);
    UseTranslations(LanguageEnglishUs);
    SCOPED_TRACE(lines.join(u'\n').toStdString());
    ASSERT_TRUE(lines[0].startsWith(QString::fromUtf8("無線機")));
    // Where each column ends: the state's start, the exit status's and the seconds' last column.
    const QRegularExpression header("^(\\S+ +)(\\S+ +\\S+) +\\S+");
    const QRegularExpression row("^(\\S+ +)(\\S+ +(?:\\d+|-)) +\\d+\\.\\d");
    const auto ends = [](const QRegularExpressionMatch& m) {
        return QVector<int>{DisplayWidth(m.captured(1)), DisplayWidth(m.captured(0).left(m.capturedEnd(2))), DisplayWidth(m.captured(0))};
    };
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(ends(row.match(lines[i])), ends(header.match(lines[0]))) << i;
}

} // namespace

