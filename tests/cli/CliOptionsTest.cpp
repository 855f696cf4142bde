// The command line of zerlind-firm-update as parsed, without a process: the documented defaults
// and every ranged option at both edges and one step beyond each.
#include "cli/CliOptions.h"
#include "cli/text/CliText.h"
#include "cli/text/ExitStatusTable.h"

#include "base/MessageCatalog.h"
#include "base/Translations.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <functional>

namespace {

CliParse Parse(const QStringList& args, CliOptions& options)
{
    QString error;
    return ParseCliOptions(QStringList{"zerlind-firm-update"} + args, options, error);
}

// "VALUE MEANING" a line from each match of `row` (value, meaning) in `text`.
std::string Rows(const QString& text, const char* row)
{
    QStringList rows;
    for (auto it = QRegularExpression(row, QRegularExpression::MultilineOption).globalMatch(text); it.hasNext(); it.next())
        rows << it.peekNext().captured(1) + ' ' + it.peekNext().captured(2);
    return rows.join(u'\n').remove(u'`').replace(QLatin1String("\\-"), QLatin1String("-")).toStdString();
}

// --help, the manual page and the README list the same exit statuses with the same meanings.
TEST(CliOptions, ExitStatusesAgreeEverywhere)
{
    QStringList table;
    for (const ExitStatusRow& row : kExitStatuses)
        table << QString::number(row.value) + ' ' + row.meaning;
    const std::string want = table.join(u'\n').toStdString();
    const auto SourceText = [](const char* path) {
        QFile file(QStringLiteral(ZFU_SOURCE_DIR "/") + QLatin1String(path));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    EXPECT_EQ(Rows(CliHelpText().section("\nExit status", 1).replace("\n       ", " "), "^  (\\d+) +(.*)$"), want);
    const QString man = SourceText("docs/man/zerlind-firm-update.1").section(".SH EXIT STATUS", 1).section(".SH", 0, 0);
    EXPECT_EQ(Rows(QString(man).replace(QRegularExpression("\n(?!\\.)"), " "), "^\\.B (\\d+) (.*)$"), want);
    EXPECT_EQ(Rows(SourceText("README.md").section("| exit status | meaning |", 1).section("\n\n", 0, 0), "^\\| (\\d+) \\| (.*) \\|$"), want);
}

// In Japanese the help keeps its columns by display width: option texts go on at column 27 and
// the exit statuses, wrapped where Japanese has no spaces, stay within 95 columns.
TEST(CliOptions, JapaneseHelpKeepsItsColumns)
{
    ASSERT_TRUE(UseTranslations(LanguageJapanese));
    const QStringList lines = CliHelpText().split(u'\n');
    UseTranslations(LanguageEnglishUs);
    const qsizetype statuses = lines.indexOf(QRegularExpression("  0 +\\S.*"));
    ASSERT_GT(statuses, 0);
    for (const QString& line : lines.filter(QRegularExpression("^  --|^ {27}\\S")))
        EXPECT_TRUE(line[26] == u' ' && line[27] != u' ') << qPrintable(line);
    for (const QString& line : lines.mid(statuses)) {
        EXPECT_LE(DisplayWidth(line), 95) << qPrintable(line);
        EXPECT_TRUE(line.isEmpty() || line.contains(QRegularExpression("^(  \\d+ +|       )\\S"))) << qPrintable(line);
    }
    EXPECT_GT(DisplayWidth(lines[statuses]), lines[statuses].size()); // it is Japanese
}

TEST(CliOptions, DocumentedDefaults)
{
    CliOptions o;
    ASSERT_EQ(Parse({"main.dat", "192.168.1.50"}, o), CliParse::Run);
    EXPECT_EQ(o.port, 1111);
    EXPECT_EQ(o.timeouts.connectMs, 3000);
    EXPECT_EQ(o.timeouts.transferMs, 10000);
    EXPECT_EQ(o.timeouts.programMs, 180000);
    EXPECT_EQ(o.jobs, 4);
    EXPECT_EQ(o.canary, 0);
    EXPECT_EQ(o.FailureLimit(50), 0);
    EXPECT_FALSE(o.IsFleet());
}

TEST(CliOptions, RangesAtBothEdges)
{
    const struct {
        const char* option;
        const char* value;
        bool ok;
    } cases[] = {
        {"--jobs", "1", true},          {"--jobs", "256", true},       {"--jobs", "0", false},
        {"--jobs", "257", false},       {"--port", "1", true},         {"--port", "65535", true},
        {"--port", "0", false},         {"--port", "65536", false},    {"--connect-timeout", "1", true},
        {"--connect-timeout", "2147483647", true},                     {"--connect-timeout", "0", false},
        {"--connect-timeout", "2147483648", false},                    {"--program-timeout", "-1", false},
        {"--canary", "0", false},       {"--canary", "1", true},       {"--canary", "-1", false},
        {"--max-failures", "1", true},  {"--max-failures", "0", false}, {"--max-failures", "1%", true},
        {"--max-failures", "100%", true}, {"--max-failures", "101%", false}, {"--max-failures", "0%", false},
        {"--lang", "ja", true},         {"--lang", "jp", false},
        {"--retries", "0", true},       {"--retries", "10", true},     {"--retries", "11", false},
        {"--waves", "1,100%", true},    {"--waves", "1,,2", false},    {"--waves", "101%", false},
        {"--deadline", "168h", true},   {"--deadline", "169h", false}, {"--deadline", "0s", false},
        {"--deadline", "2026-12-08T18:30:00.5+01:00", true},           {"--deadline", "2026-12-08T18:30:00", false},
    };
    for (const auto& c : cases) {
        CliOptions o;
        EXPECT_EQ(Parse({c.option, c.value, "main.dat", "192.168.1.50"}, o), c.ok ? CliParse::Run : CliParse::Error)
            << c.option << ' ' << c.value;
    }
    // The share is of the radios in the run, rounded up.
    CliOptions o;
    ASSERT_EQ(Parse({"--max-failures", "10%", "main.dat", "a"}, o), CliParse::Run);
    EXPECT_EQ(o.FailureLimit(8), 1);
    EXPECT_EQ(o.FailureLimit(10), 1);
    EXPECT_EQ(o.FailureLimit(11), 2);
    EXPECT_TRUE(o.IsFleet());
}

TEST(CliOptions, WavesInOrderTheLastRepeating)
{
    const struct {
        QStringList args;
        int radios;
        QVector<int> sizes;
    } cases[] = {
        {{"--waves", "1,2,50%"}, 7, {1, 2, 3, 1}}, // 3.5 rounded down
        {{"--waves", "1%"}, 3, {1, 1, 1}},         // at least one
        {{"--waves", "5,1"}, 3, {3}},
        {{"--canary", "2"}, 6, {2, 4}},
        {{}, 6, {6}},
    };
    for (const auto& c : cases) {
        CliOptions o;
        ASSERT_EQ(Parse(c.args + QStringList{"main.dat", "a"}, o), CliParse::Run) << qPrintable(c.args.join(' '));
        EXPECT_EQ(o.WaveSizes(c.radios), c.sizes) << qPrintable(c.args.join(' '));
    }
}

// An option given again replaces what it said before, whatever form each value has.
TEST(CliOptions, TheLastRepeatedOptionWins)
{
    const struct {
        QStringList args;
        std::function<bool(const CliOptions&)> holds;
    } cases[] = {
        {{"--max-failures", "10%", "--max-failures", "5"}, [](const CliOptions& o) { return o.FailureLimit(100) == 5; }},
        {{"--max-failures", "5", "--max-failures", "10%"}, [](const CliOptions& o) { return o.FailureLimit(100) == 10; }},
        {{"--deadline", "2026-12-08T18:30:00Z", "--deadline", "90s"},
         [](const CliOptions& o) { return o.deadlineSeconds == 90 && !o.deadlineAt.isValid(); }},
        {{"--deadline", "90s", "--deadline", "2026-12-08T18:30:00Z"},
         [](const CliOptions& o) { return o.deadlineSeconds == 0 && o.deadlineAt.isValid(); }},
        {{"--waves", "1,2", "--waves", "3"}, [](const CliOptions& o) { return o.WaveSizes(6) == QVector<int>{3, 3}; }},
        {{"--port", "2000", "--port", "2001", "--lang", "ja", "--lang", "en"},
         [](const CliOptions& o) { return o.port == 2001 && o.language == 1033; }},
    };
    for (const auto& c : cases) {
        CliOptions o;
        ASSERT_EQ(Parse(c.args + QStringList{"main.dat", "a"}, o), CliParse::Run) << qPrintable(c.args.join(' '));
        EXPECT_TRUE(c.holds(o)) << qPrintable(c.args.join(' '));
    }
}

// Windows' own ways of asking for the help; elsewhere they stay an unknown option or a file.
TEST(CliOptions, WindowsHelpSwitches)
{
    for (const char* arg : {"/?", "-?", "-h"}) {
        CliOptions o;
        EXPECT_EQ(Parse({"main.dat", arg, "a"}, o) == CliParse::Help, QSysInfo::productType() == "windows") << arg;
    }
}

TEST(CliOptions, RefusalsSayWhatIsWrong)
{
    const struct {
        QStringList args;
        const char* error;
    } cases[] = {
        {{"--jobs", "0"}, "bad value for --jobs: '0' (1 to 256)"},
        {{"--max-failures=0"}, "bad value for --max-failures: '0' (1 to 2147483647, or 1% to 100%)"},
        {{"--lang", "jp"}, "bad value for --lang: 'jp' (en or ja)"},
        {{"--failed", ""}, "bad value for --failed: '' (a file name)"},
        {{"--frobnicate", "3"}, "unknown option: --frobnicate"},
        // Options that would mean nothing there are refused, not ignored.
        {{"--check", "--canary", "2"}, "--check takes no --canary"},
        {{"--log", "books.jsonl", "--check"}, "--check takes no --log"},
        {{"--scan", "127.0.0.0/24", "--failed", "again.txt"}, "--scan takes no --failed"},
        {{"--plan", "--check"}, "--check takes no --plan"},
        {{"--waves", "1,0"}, "bad value for --waves: '1,0' (counts and shares in order, such as 1,5,20%)"},
        {{"--canary", "2", "--waves", "1"}, "--canary N is --waves N,100%: give one of them"},
        {{"--wave-pause", "5"}, "--wave-pause needs --waves or --canary"},
    };
    for (const auto& c : cases) {
        CliOptions o;
        QString error;
        EXPECT_EQ(ParseCliOptions(QStringList{"zerlind-firm-update"} + c.args + QStringList{"main.dat", "a"}, o, error),
                  CliParse::Error);
        EXPECT_EQ(error, c.error);
    }
}

} // namespace
