#include "base/Language.h"

#include <QList>

#include <gtest/gtest.h>

namespace {

TEST(Language, OnlyTheJapaneseDefaultSortGetsJapanese)
{
    EXPECT_EQ(ChooseLanguage(0x0411), 1041);
    EXPECT_EQ(ChooseLanguage(0x0409), 1033);
    EXPECT_EQ(ChooseLanguage(0x0407), 1033); // German
    EXPECT_EQ(ChooseLanguage(0x0804), 1033); // Chinese
    EXPECT_EQ(ChooseLanguage(0x10411), 1033); // Japanese, another sort order
    EXPECT_EQ(ChooseLanguage(0), 1033);
}

TEST(Language, PosixNamesMapToLocaleIdentifiers)
{
    EXPECT_EQ(LocaleIdFromName("ja_JP.UTF-8"), 0x0411u);
    EXPECT_EQ(LocaleIdFromName("ja_JP.eucJP"), 0x0411u);
    EXPECT_EQ(LocaleIdFromName("ja_JP"), 0x0411u);
    EXPECT_EQ(LocaleIdFromName("ja_JP@modifier"), 0x0411u);
    EXPECT_EQ(LocaleIdFromName("en_US.UTF-8"), 0x0409u);
    EXPECT_EQ(LocaleIdFromName("de_DE.UTF-8"), 0x0407u);
    EXPECT_EQ(LocaleIdFromName("zh_CN.GB18030"), 0x0804u);
    EXPECT_EQ(LocaleIdFromName("C"), 0x0409u);
    EXPECT_EQ(LocaleIdFromName("POSIX"), 0x0409u);
    EXPECT_EQ(LocaleIdFromName(""), 0x0409u);
    EXPECT_EQ(LocaleIdFromName("ja"), 0x0409u); // a bare language is not exactly Japanese
    EXPECT_EQ(LocaleIdFromName("xx_YY"), 0x0409u);
}

// The message locale is POSIX's; Windows follows the system's locale instead.
#ifdef Q_OS_UNIX
class MessageLocaleEnv : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* v : kVars)
            m_saved.append(qgetenv(v));
    }
    void TearDown() override
    {
        for (int i = 0; i < 3; ++i) {
            if (m_saved[i].isNull())
                qunsetenv(kVars[i]);
            else
                qputenv(kVars[i], m_saved[i]);
        }
    }
    static void Set(const char* all, const char* messages, const char* lang)
    {
        const char* values[] = {all, messages, lang};
        for (int i = 0; i < 3; ++i) {
            if (values[i])
                qputenv(kVars[i], values[i]);
            else
                qunsetenv(kVars[i]);
        }
    }
    static constexpr const char* kVars[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    QList<QByteArray> m_saved;
};

TEST_F(MessageLocaleEnv, LcAllThenLcMessagesThenLang)
{
    Set("de_DE.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8");
    EXPECT_EQ(SystemLocaleId(), 0x0407u);
    Set(nullptr, "ja_JP.UTF-8", "en_US.UTF-8");
    EXPECT_EQ(SystemLocaleId(), 0x0411u);
    Set("", "", "ja_JP.UTF-8");
    EXPECT_EQ(SystemLocaleId(), 0x0411u);
    Set(nullptr, nullptr, nullptr);
    EXPECT_EQ(SystemLocaleId(), 0x0409u);
    EXPECT_EQ(ChooseLanguage(SystemLocaleId()), 1033);
}
#endif

} // namespace
