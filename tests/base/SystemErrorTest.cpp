#include "base/Platform.h"
#include "base/SystemErrorText.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

using Platform::SystemTextLanguage;

// glibc's own texts; the Windows build checks its message table's in its own tests.
#ifdef Q_OS_UNIX
TEST(SystemErrorText, MissingFileInBothLanguages)
{
    QString text;
    ASSERT_TRUE(LoadSystemErrorText(ENOENT, 0x0409, text));
    EXPECT_EQ(text, QStringLiteral("No such file or directory"));
    ASSERT_TRUE(LoadSystemErrorText(ENOENT, 0x0411, text));
    EXPECT_EQ(text, QString::fromUtf8(u8"そのようなファイルやディレクトリはありません"));
    // A German system sees the English system text, which glibc always has.
    ASSERT_TRUE(LoadSystemErrorText(EACCES, 0x0407, text));
    EXPECT_EQ(text, QStringLiteral("Permission denied"));
}
#endif

TEST(SystemErrorText, UnknownCodeHasNoTextAndLeavesTargetAlone)
{
    QString text = QStringLiteral("kept");
    EXPECT_FALSE(LoadSystemErrorText(987654, 0x0409, text));
    EXPECT_FALSE(LoadSystemErrorText(-3, 0x0411, text));
    EXPECT_FALSE(Platform::SystemErrorText(987654, SystemTextLanguage::English, text));
    EXPECT_EQ(text, QStringLiteral("kept"));
}

} // namespace
