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
        Case{"C:\\FW\\MAIN.DAT", false, false, ""},                      // upper-case extension
        Case{"\"C:\\fw\\main.dat\" more words", false, false, "C:\\fw\\main.dat"},
        Case{"\"C:\\fw\\main.dat", false, false, "\"C:\\fw\\main.dat"}, // no closing quote
        Case{"-nocheck-nocheck x.dat", true, false, "x.dat"},
        Case{"-NOCHECK x.dat", false, false, "-NOCHECK x.dat"},           // case-sensitive
        Case{" x.dat ", false, false, " x.dat "},                          // no trimming without the option
        Case{"x.dat -nocheck", true, false, "x.dat"},
        Case{"*u/fw/main.dat", false, true, "/fw/main.dat"},
        Case{"*T \"/fw/a b.dat\" rest", false, true, "/fw/a b.dat"},
        Case{"-nocheck *U/fw/main.dat", true, true, "/fw/main.dat"},
        Case{"*U/fw/main.bin", false, false, ""},                          // no .dat: nothing preset
        Case{u8"/ファーム/更新.dat", false, false, u8"/ファーム/更新.dat"},
        Case{u8"-nocheck \u3000x.dat", true, false, u8"\u3000x.dat"}));      // ideographic space is no blank

TEST(CommandLineText, ArgumentsWithBlanksSurviveAsOnePath)
{
    EXPECT_EQ(CommandLineText({}), QString());
    EXPECT_EQ(CommandLineText({QStringLiteral("-nocheck"), QStringLiteral("/home/op/my fw.dat")}),
              QStringLiteral("-nocheck \"/home/op/my fw.dat\""));
    EXPECT_EQ(ParseCommandLine(CommandLineText({QStringLiteral("-nocheck"), QStringLiteral("/home/op/my fw.dat")}))
                  .strFileName,
              QStringLiteral("/home/op/my fw.dat"));
    const CommandLineOptions hidden = ParseCommandLine(CommandLineText({QStringLiteral("*U/home/op/my fw.dat")}));
    EXPECT_TRUE(hidden.bHideFileControls);
    EXPECT_EQ(hidden.strFileName, QStringLiteral("/home/op/my fw.dat"));
    EXPECT_EQ(ParseCommandLine(CommandLineText({QStringLiteral("/fw/main.dat")})).strFileName,
              QStringLiteral("/fw/main.dat"));
}

} // namespace
