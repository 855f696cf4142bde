#include "ui/main/FileSelection.h"
#include "ui/main/InstructionTyping.h"
#include "ui/main/ServiceKeyCounter.h"
#include "base/MessageCatalog.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

TEST(BrowseStart, AnOpenableFileIsPreselected)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("main.dat"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    const BrowseStart start = ChooseBrowseStart(path);
    EXPECT_EQ(start.initialFile, path);
    EXPECT_TRUE(start.initialFolder.isEmpty());
    EXPECT_EQ(ChooseBrowseStart(u'"' + path + u'"').initialFile, path); // Explorer's "Copy as path"
}

TEST(BrowseStart, OtherwiseTheNearestExistingFolderOfThePath)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("fw")));
    const QString fw = dir.filePath(QStringLiteral("fw"));

    BrowseStart start = ChooseBrowseStart(fw + QStringLiteral("/old/main.dat"));
    EXPECT_TRUE(start.initialFile.isEmpty());
    EXPECT_EQ(start.initialFolder, fw + QLatin1Char('/'));

    // A folder in the field is not a file to pre-select.
    start = ChooseBrowseStart(fw);
    EXPECT_TRUE(start.initialFile.isEmpty());
    EXPECT_EQ(start.initialFolder, fw);

    // Nothing that exists: the user's Documents folder, or the home folder without one.
#ifdef Q_OS_UNIX
    const auto restoreHome = qScopeGuard([home = qgetenv("HOME")] { qputenv("HOME", home); });
    qputenv("HOME", QFile::encodeName(dir.path()));
    EXPECT_EQ(ChooseBrowseStart(QString()).initialFolder, dir.path());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Documents")));
#endif
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    start = ChooseBrowseStart(QString());
    EXPECT_TRUE(start.initialFile.isEmpty());
    EXPECT_EQ(start.initialFolder, documents);
    start = ChooseBrowseStart(QStringLiteral("relative-missing.dat"));
    EXPECT_EQ(start.initialFolder, documents);
}

// Named pipes and owner permissions are POSIX's.
#ifdef Q_OS_UNIX
TEST(BrowseStart, UnreadableAndSpecialFilesAreNotOpened)
{
    QTemporaryDir dir;
    // A pipe would block a plain open for reading; it must be passed over without opening it.
    const QString fifo = dir.filePath(QStringLiteral("pipe.dat"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    BrowseStart start = ChooseBrowseStart(fifo);
    EXPECT_TRUE(start.initialFile.isEmpty());
    EXPECT_EQ(start.initialFolder, dir.path() + QLatin1Char('/'));

    if (geteuid() != 0) {
        const QString locked = dir.filePath(QStringLiteral("locked.dat"));
        QFile file(locked);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        ASSERT_TRUE(QFile::setPermissions(locked, QFileDevice::WriteOwner));
        start = ChooseBrowseStart(locked);
        EXPECT_TRUE(start.initialFile.isEmpty());
        EXPECT_EQ(start.initialFolder, dir.path() + QLatin1Char('/'));
    }
}
#endif

TEST(FileDialogFilters, CatalogFiltersBecomeQtFilters)
{
    EXPECT_EQ(FileDialogFilters(LoadText(IDS_FILE_FILTER, LanguageEnglishUs)),
              QStringList{QStringLiteral("Firmware file (*.dat)")});
    EXPECT_EQ(FileDialogFilters(LoadText(IDS_FILE_FILTER, LanguageJapanese)),
              QStringList{QStringLiteral(u"ファームウェア (*.dat)")});
    EXPECT_EQ(FileDialogFilters(QStringLiteral("Images|*.bmp;*.png|All|*.*||ignored|*.x")),
              (QStringList{QStringLiteral("Images (*.bmp *.png)"), QStringLiteral("All (*.*)")}));
    EXPECT_TRUE(FileDialogFilters(QString()).isEmpty());
}

TEST(FirmwareFileName, OnlyTheLastFourCharactersCount)
{
    EXPECT_TRUE(IsFirmwareFileName(QStringLiteral("/x/b.DAT")));
    EXPECT_TRUE(IsFirmwareFileName(QStringLiteral("/x/b.dAt")));
    EXPECT_TRUE(IsFirmwareFileName(QStringLiteral(".dat")));
    EXPECT_FALSE(IsFirmwareFileName(QStringLiteral("/x/a.txt")));
    EXPECT_FALSE(IsFirmwareFileName(QStringLiteral("/x/a.dat.txt")));
    EXPECT_FALSE(IsFirmwareFileName(QStringLiteral("/x/adat")));
}

TEST(TypingPieces, CharactersAndLineBreaksAreNeverSplit)
{
    const QByteArray text = QStringLiteral(u"Aの\r\nB\r").toUtf8();
    QList<QByteArray> pieces;
    for (int pos = 0; pos < text.size();) {
        const int length = TypingPieceLength(text, pos);
        ASSERT_GT(length, 0);
        pieces << text.mid(pos, length);
        pos += length;
    }
    EXPECT_EQ(pieces, (QList<QByteArray>{"A", QStringLiteral(u"の").toUtf8(), "\r\n", "B", "\r"}));
    EXPECT_EQ(TypingPieceLength(text, int(text.size())), 0);

    // Four-byte characters are one piece; broken or cut sequences go byte by byte, never past the end.
    EXPECT_EQ(TypingPieceLength(QStringLiteral(u"😀x").toUtf8(), 0), 4);
    EXPECT_EQ(TypingPieceLength(QByteArray("\xE3\x81"), 0), 1);
    EXPECT_EQ(TypingPieceLength(QByteArray("\xE3" "ab"), 0), 1);
    EXPECT_EQ(TypingPieceLength(QByteArray("\x81\x81"), 0), 1);
}

TEST(TypingPieces, TheInstructionTextIsTypedWhole)
{
    for (quint16 language : {LanguageEnglishUs, LanguageJapanese}) {
        const QByteArray text = LoadText(IDS_INSTRUCTION, language).toUtf8();
        QString typed;
        int pieces = 0;
        for (int pos = 0; pos < text.size(); ++pieces) {
            const int length = TypingPieceLength(text, pos);
            typed += QString::fromUtf8(text.mid(pos, length));
            pos += length;
        }
        EXPECT_EQ(typed.toUtf8(), text);
        // One piece per character, the line break counting once.
        EXPECT_EQ(pieces, QString::fromUtf8(text).size() - 1);
    }
}

TEST(ServiceKey, FourthShowsSeventhHidesForGood)
{
    CServiceKeyCounter counter;
    std::vector<CServiceKeyCounter::Action> actions;
    for (int i = 0; i < 20; ++i)
        actions.push_back(counter.KeyDown());
    for (int i = 0; i < 20; ++i) {
        const auto expected = i == 3   ? CServiceKeyCounter::Action::ShowFileControls
                              : i == 6 ? CServiceKeyCounter::Action::HideFileControls
                                       : CServiceKeyCounter::Action::None;
        EXPECT_EQ(actions[i], expected) << "key-down " << i + 1;
    }
}
