#include "app/FirmUtilityApp.h"
#include "base/MessageCatalog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

TEST(QtTranslations, StandardButtonsSpeakJapaneseOnAJapaneseSystem)
{
    EXPECT_FALSE(InstallQtTranslations(LanguageEnglishUs));
    ASSERT_TRUE(InstallQtTranslations(LanguageJapanese)) << "qtbase_ja.qm from Debian's Qt translations";
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    EXPECT_EQ(box.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8(u8"キャンセル"));
    EXPECT_NE(box.button(QDialogButtonBox::Open)->text(), QStringLiteral("&Open"));

    // Back to Qt's English for the other tests of this process.
    for (QTranslator* t : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(t);
        delete t;
    }
    EXPECT_EQ(QDialogButtonBox(QDialogButtonBox::Cancel).button(QDialogButtonBox::Cancel)->text(),
              QStringLiteral("Cancel"));
}

} // namespace
