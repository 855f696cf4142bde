#include "base/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* text;
    bool noCheck;
    bool hide;
    const char* file;
};

class CommandLineRules : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLineRules, Parse)
{
    const Case& c = GetParam();
    const CommandLineOptions o = ParseCommandLine(QString::fromUtf8(c.text));
    EXPECT_EQ(o.bNoCheck, c.noCheck);
    EXPECT_EQ(o.bHideFileControls, c.hide);
    EXPECT_EQ(o.strFileName, QString::fromUtf8(c.file));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CommandLineRules,
    ::testing::Values(
        Case{"", false, false, ""},
        Case{"-nocheck", true, false, ""},
        Case{"  -nocheck  ", true, false, ""},
        Case{"-nocheck \"C:\\fw\\main.dat\"", true, false, "C:\\fw\\main.dat"},
        Case{"C:\\fw\\main.dat", false, false, "C:\\fw\\main.dat"},
        Case{"C:\\FW\\MAIN.DAT", false, false, "C:\\FW\\MAIN.DAT"},
        Case{"\"C:\\fw\\main.dat\" more words", false, false, "C:\\fw\\main.dat"},
        Case{"\"C:\\fw\\main.dat", false, false, "\"C:\\fw\\main.dat"}, // no closing quote
        Case{"-nocheck-nocheck x.dat", true, false, "x.dat"},
        Case{"-NOCHECK x.dat", false, false, "-NOCHECK x.dat"},           // case-sensitive
        Case{" x.dat ", false, false, " x.dat "},                          // no trimming without the option
        Case{"x.dat\t-nocheck\t", true, false, "x.dat"},                  // a tab is a blank
        Case{"*u/fw/main.dat", false, true, "/fw/main.dat"},
        Case{"*T \"/fw/a b.dat\" rest", false, true, "/fw/a b.dat"},
        Case{"-nocheck *U/fw/main.dat", true, true, "/fw/main.dat"},
        Case{"*U/fw/main.bin", false, false, ""},                          // no .dat: nothing preset
        Case{u8"/ファーム/更新.dat", false, false, u8"/ファーム/更新.dat"},
        Case{u8"-nocheck \u3000x.dat", true, false, u8"\u3000x.dat"},      // ideographic space is no blank
        Case{"/home/op/x-nocheck/fw/main.dat", false, false, "/home/op/x-nocheck/fw/main.dat"},
        Case{"-nocheck/fw/main.dat", false, false, "-nocheck/fw/main.dat"},
        Case{"\"/fw/a -nocheck b/main.dat\"", false, false, "/fw/a -nocheck b/main.dat"},
        Case{"\"C:\\fw\\main.dat\" -nocheck", true, false, "C:\\fw\\main.dat"},
        Case{"*T/fw/x-nocheck.dat -nocheck", true, true, "/fw/x-nocheck.dat"}));

// The program's arguments as a shell hands them over: every example above typed at a shell
// prompt, and the same lines given whole as one argument, name the path the operator meant.
struct ArgumentsCase {
    QStringList arguments;
    bool hide;
    const char* file;
};

void PrintTo(const ArgumentsCase& c, std::ostream* out)
{
    *out << c.arguments.join(QStringLiteral(" | ")).toStdString();
}

class CommandLineArguments : public ::testing::TestWithParam<ArgumentsCase> {};

TEST_P(CommandLineArguments, JoinedAndParsed)
{
    const ArgumentsCase& c = GetParam();
    const CommandLineOptions o = ParseCommandLine(CommandLineText(c.arguments));
    // The option is the same whether the words come split or as one line.
    EXPECT_EQ(o.bNoCheck, ParseCommandLine(c.arguments.join(u' ')).bNoCheck);
    EXPECT_EQ(o.bHideFileControls, c.hide);
    EXPECT_EQ(o.strFileName, QString::fromUtf8(c.file));
}

INSTANTIATE_TEST_SUITE_P(
    ShellWords, CommandLineArguments,
    ::testing::Values(
        ArgumentsCase{{}, false, ""},
        ArgumentsCase{{"-nocheck"}, false, ""},
        ArgumentsCase{{"-nocheck", "C:\\fw\\main.dat"}, false, "C:\\fw\\main.dat"},
        ArgumentsCase{{"-nocheck \"C:\\fw\\main.dat\""}, false, "C:\\fw\\main.dat"},
        ArgumentsCase{{"C:\\FW\\MAIN.DAT"}, false, "C:\\FW\\MAIN.DAT"},
        ArgumentsCase{{"C:\\fw\\main.dat", "more", "words"}, false, "C:\\fw\\main.dat"},
        ArgumentsCase{{"\"C:\\fw\\main.dat\" more words"}, false, "C:\\fw\\main.dat"},
        ArgumentsCase{{"\"C:\\fw\\main.dat"}, false, "\"C:\\fw\\main.dat"},
        ArgumentsCase{{"*u/fw/main.dat"}, true, "/fw/main.dat"},
        ArgumentsCase{{"-nocheck-nocheck", "x.dat"}, false, "x.dat"},
        ArgumentsCase{{"", "x.dat", ""}, false, "x.dat"},
        ArgumentsCase{{"-nocheck", "/home/op/my fw.dat"}, false, "/home/op/my fw.dat"},
        ArgumentsCase{{"*U/home/op/my fw.dat"}, true, "/home/op/my fw.dat"},
        ArgumentsCase{{"*T", "/tmp/fw/x.dat"}, true, "/tmp/fw/x.dat"},
        ArgumentsCase{{"*T\"/tmp/fw/x.dat\" rest"}, true, "/tmp/fw/x.dat"},
        ArgumentsCase{{"/home/op/my \"best\" fw.dat"}, false, "/home/op/my \"best\" fw.dat"},
        ArgumentsCase{{"/home/op/x -nocheck/main.dat", "-nocheck"}, false, "/home/op/x -nocheck/main.dat"}));

} // namespace
