#include "base/MessageCatalog.h"
#include "base/Product.h"

#include <gtest/gtest.h>

namespace {

QByteArray Utf8(quint16 id, quint16 language)
{
    QString text;
    EXPECT_TRUE(LoadCatalogString(id, language, text)) << id;
    return text.toUtf8();
}

TEST(Catalog, EveryIdentifierExistsInBothLanguagesAndNowhereElse)
{
    const QVector<quint16> ids = CatalogIds();
    ASSERT_GE(ids.size(), 40);
    for (quint16 id : ids) {
        QString en, ja;
        EXPECT_TRUE(LoadCatalogString(id, LanguageEnglishUs, en)) << id;
        EXPECT_TRUE(LoadCatalogString(id, LanguageJapanese, ja)) << id;
        EXPECT_FALSE(en.isEmpty()) << id;
        EXPECT_FALSE(ja.isEmpty()) << id;
    }
    for (int i = 1; i < ids.size(); ++i)
        EXPECT_LT(ids[i - 1], ids[i]);
}

TEST(Catalog, MissingEntryLeavesTargetUnchanged)
{
    QString text = QStringLiteral("kept");
    EXPECT_FALSE(LoadCatalogString(1104, LanguageEnglishUs, text));
    EXPECT_FALSE(LoadCatalogString(IDS_STATUS_CONNECTED, 1031, text)); // German: not in the catalog
    EXPECT_FALSE(LoadCatalogString(IDS_STATUS_CONNECTED, LanguageNeutral, text));
    EXPECT_EQ(text, QStringLiteral("kept"));
    EXPECT_TRUE(LoadText(1104, LanguageJapanese).isEmpty());
}

TEST(Catalog, NeutralCopyOfSocketFailureIsEnglish)
{
    QString text;
    ASSERT_TRUE(LoadCatalogString(IDS_SOCKET_INIT_FAILED, LanguageNeutral, text));
    EXPECT_EQ(text, QStringLiteral("Windows sockets initialization failed."));
    EXPECT_EQ(Utf8(1103, LanguageJapanese), QByteArray("Windows \xef\xbd\xbf\xef\xbd\xb9\xef\xbd\xaf\xef\xbe\x84"
                                                     "\xe3\x81\xae\xe5\x88\x9d\xe6\x9c\x9f\xe5\x8c\x96\xe3\x81\xab"
                                                     "\xe5\xa4\xb1\xe6\x95\x97\xe3\x81\x97\xe3\x81\xbe\xe3\x81\x97"
                                                     "\xe3\x81\x9f\xe3\x80\x82"));
}

TEST(Catalog, TrickyTextsByteForByte)
{
    EXPECT_EQ(Utf8(1400, LanguageEnglishUs), QByteArray(" === CAUTION ==="));
    // Five ideographic spaces (U+3000, E3 80 80) end the Japanese heading.
    const QByteArray ja1400 = Utf8(1400, LanguageJapanese);
    EXPECT_TRUE(ja1400.endsWith(QByteArray("\xe3\x80\x82") + QByteArray("\xe3\x80\x80").repeated(5)));
    EXPECT_EQ(QString::fromUtf8(ja1400).count(QChar(0x3000)), 5);
    // One ideographic space after the first full stop of the second line.
    const QString ja1402 = QString::fromUtf8(Utf8(1402, LanguageJapanese));
    EXPECT_EQ(ja1402.count(QChar(0x3000)), 1);
    EXPECT_TRUE(ja1402.contains(QString::fromUtf8(u8"\r\n動作しなくなります。\u3000この場合")));
    EXPECT_EQ(Utf8(1411, LanguageEnglishUs),
              QByteArray("DO NOT turn the Zerlind power OFF until \"Completed\" dialog is displayed."));
    EXPECT_EQ(Utf8(1201, LanguageEnglishUs),
              QByteArray("Can't find the Zerlind.\r\nPlease check the IP Address setting."));
    EXPECT_EQ(Utf8(1360, LanguageEnglishUs), QByteArray("Firmware file (*.dat)|*.dat||"));
    EXPECT_EQ(Utf8(1301, LanguageJapanese),
              QByteArray(u8"しばらくお待ちください。\r\nZerlindの電源は絶対に切らないでください。"));
    // Seven lines with the second and fifth empty.
    const QStringList lines = QString::fromUtf8(Utf8(1420, LanguageEnglishUs)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 7);
    EXPECT_TRUE(lines[1].isEmpty());
    EXPECT_TRUE(lines[4].isEmpty());
    EXPECT_EQ(lines[5], QStringLiteral("The sub CPU and/or DSP firmware update will start automatically "
                                       "depending on the updated contents,"));
    // No bare line feeds: every break is CR LF.
    for (quint16 id : CatalogIds()) {
        for (quint16 lang : {LanguageEnglishUs, LanguageJapanese}) {
            const QByteArray t = Utf8(id, lang);
            EXPECT_EQ(t.count('\n'), t.count("\r\n")) << id;
        }
    }
}

TEST(Catalog, LanguageIsRecognisedByFirstCharacter)
{
    EXPECT_TRUE(LoadText(1402, LanguageEnglishUs).startsWith(u'Y'));
    EXPECT_TRUE(LoadText(1410, LanguageEnglishUs).startsWith(u'U'));
    EXPECT_TRUE(LoadText(1420, LanguageEnglishUs).startsWith(u'F'));
    for (quint16 id : {1402, 1410, 1420})
        EXPECT_GT(LoadText(id, LanguageJapanese).at(0).unicode(), 0x7f) << id;
}

TEST(Product, OnlyThisBuildsRecordIsFilled)
{
    EXPECT_EQ(GetProductTitle(PRODUCT_NUMBER), QStringLiteral("Zerlind Firm Utility"));
    EXPECT_FALSE(GetProductCaption(PRODUCT_NUMBER).isEmpty());
    EXPECT_TRUE(GetProductTitle(0).isEmpty());
    EXPECT_TRUE(GetProductTitle(PRODUCT_COUNT).isEmpty());
    EXPECT_TRUE(GetProductCaption(-1).isEmpty());
}

} // namespace
