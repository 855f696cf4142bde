#include "ui/main/SettingsStore.h"
#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

const QString kKeyPath = QStringLiteral("software\\vurn\\Zerlind FirmUtility");
const QString kConfig = QStringLiteral("Config");

QString StoreFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/vurn/Zerlind FirmUtility.conf");
}

// What only the INI file of POSIX systems shows; on Windows the values are in the registry, which
// the Windows tests read.
#ifdef Q_OS_WIN
#define SKIP_WITHOUT_STORE_FILE() GTEST_SKIP() << "the settings are in the registry here"
#else
#define SKIP_WITHOUT_STORE_FILE() (void)0
#endif

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(StoreFile());
        ASSERT_TRUE(m_store.SetKeyPath(kKeyPath));
    }
    void TearDown() override { QFile::remove(StoreFile()); }

    // Writes a value of any type behind the store's back, as another program could.
    static void PutRaw(const QString& name, const QVariant& value)
    {
        QSettings raw(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("vurn"),
                      QStringLiteral("Zerlind FirmUtility"));
        raw.setValue(kConfig + QLatin1Char('/') + name, value);
        raw.sync();
    }

    CSettingsStore m_store;
};

} // namespace

TEST(SettingsStoreKeys, KeyPathAlwaysEndsInOneBackslash)
{
    CSettingsStore store;
    EXPECT_FALSE(store.SetKeyPath(QString()));
    EXPECT_TRUE(store.KeyPath().isEmpty());
    ASSERT_TRUE(store.SetKeyPath(QStringLiteral("software\\a\\b")));
    EXPECT_EQ(store.KeyPath(), QStringLiteral("software\\a\\b\\"));
    ASSERT_TRUE(store.SetKeyPath(QStringLiteral("software\\a\\c\\")));
    EXPECT_EQ(store.KeyPath(), QStringLiteral("software\\a\\c\\"));

    // The key name holds 520 bytes with its zero: a path that leaves no room for a one-letter
    // subkey is refused whole (9 + 509 + 1 + 1 + 1 = 521).
    EXPECT_FALSE(store.SetKeyPath(QStringLiteral("software\\") + QString(509, QLatin1Char('x'))));
    EXPECT_EQ(store.KeyPath(), QStringLiteral("software\\a\\c\\"));
    EXPECT_TRUE(store.SetKeyPath(QStringLiteral("software\\") + QString(508, QLatin1Char('x'))));
}

TEST(SettingsStoreKeys, KeyNamesMapOntoOrganisationApplicationAndGroup)
{
    CSettingsStore::KeyLocation location;
    ASSERT_TRUE(CSettingsStore::LocateKey(kKeyPath + QLatin1Char('\\'), kConfig, location));
    EXPECT_EQ(location.organization, QStringLiteral("vurn"));
    EXPECT_EQ(location.application, QStringLiteral("Zerlind FirmUtility"));
    EXPECT_EQ(location.group, kConfig);

    ASSERT_TRUE(CSettingsStore::LocateKey(QStringLiteral("SOFTWARE\\o\\a\\"), QStringLiteral("x\\y\\"), location));
    EXPECT_EQ(location.group, QStringLiteral("x/y"));

    EXPECT_FALSE(CSettingsStore::LocateKey(QStringLiteral("system\\o\\a\\"), kConfig, location));
    EXPECT_FALSE(CSettingsStore::LocateKey(QStringLiteral("software\\o\\"), QString(), location));
    // Key path, separator and subkey take at most 519 bytes, the zero the 520th.
    const QString longSubkey(519 - int(kKeyPath.size()) - 1, QLatin1Char('s'));
    EXPECT_TRUE(CSettingsStore::LocateKey(kKeyPath + QLatin1Char('\\'), longSubkey, location));
    EXPECT_FALSE(CSettingsStore::LocateKey(kKeyPath + QLatin1Char('\\'), longSubkey + u's', location));
}

TEST_F(SettingsStoreTest, FirstStartReadsDefaultsAndCreatesNothing)
{
    QString text = QStringLiteral("unchanged");
    EXPECT_FALSE(m_store.ReadString(kConfig, QStringLiteral("IP"), text, QString()));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_FALSE(QFile::exists(StoreFile()));
}

TEST_F(SettingsStoreTest, WritesReachTheFileAtOnceAndReadBackExactly)
{
    SKIP_WITHOUT_STORE_FILE();
    const QStringList samples = {
        QStringLiteral("192.168.1.5"),
        QStringLiteral("  C:\\fw, \"new\"; =main.dat  "),
        QStringLiteral("/home/操作者/ファーム/main.dat"),
        QString(),
    };
    for (const QString& sample : samples) {
        ASSERT_TRUE(m_store.WriteString(kConfig, QStringLiteral("Filename"), sample));
        // Synced: the file on disk already holds the value before any other call.
        QSettings onDisk(StoreFile(), QSettings::IniFormat);
        EXPECT_EQ(onDisk.value(QStringLiteral("Config/Filename")).toString(), sample);

        QString text;
        EXPECT_TRUE(m_store.ReadString(kConfig, QStringLiteral("Filename"), text, QStringLiteral("default")));
        EXPECT_EQ(text, sample);
    }
}

// A path stored in Shift-JIS, as another program may leave it, reads with replacement
// characters; writing the other value keeps its bytes, and only writing it replaces it.
TEST_F(SettingsStoreTest, AValueThatIsNotUtf8IsRewrittenOnlyByItsOwnWrite)
{
    SKIP_WITHOUT_STORE_FILE();
    const QByteArray shiftJisLine = "Filename=/fw/\x83\x74\x83\x40\x81\x5b\x83\x80.dat";
    ASSERT_TRUE(QDir().mkpath(QFileInfo(StoreFile()).path()));
    {
        QFile f(StoreFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Config]\n" + shiftJisLine + "\nIP=10.0.0.1\n");
    }
    const auto content = [] {
        QFile f(StoreFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QString text;
    EXPECT_TRUE(m_store.ReadString(kConfig, QStringLiteral("Filename"), text, QString()));
    EXPECT_TRUE(text.contains(QChar::ReplacementCharacter));

    for (const char* ip : {"10.0.0.2", "10.0.0.3"}) {
        ASSERT_TRUE(m_store.WriteString(kConfig, QStringLiteral("IP"), QString::fromLatin1(ip)));
        EXPECT_TRUE(content().contains(shiftJisLine)) << content().toStdString();
        EXPECT_TRUE(m_store.ReadString(kConfig, QStringLiteral("IP"), text, QString()));
        EXPECT_EQ(text, QString::fromLatin1(ip));
    }
    ASSERT_TRUE(m_store.WriteString(kConfig, QStringLiteral("Filename"), QStringLiteral("/fw/new.dat")));
    EXPECT_FALSE(content().contains(shiftJisLine));
    EXPECT_TRUE(m_store.ReadString(kConfig, QStringLiteral("Filename"), text, QString()));
    EXPECT_EQ(text, QStringLiteral("/fw/new.dat"));
}

// The store takes a lone CR as a line end and lets a quote run on across lines; it also writes
// the keys in its own order. A kept line whose quote is harmless at the end of the file must not
// swallow the value written after it.
TEST_F(SettingsStoreTest, AKeptLineNeverHidesTheValueJustWritten)
{
    SKIP_WITHOUT_STORE_FILE();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(StoreFile()).path()));
    {
        QFile f(StoreFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Config]\nIP=10.0.0.1\nFilename=/fw/\x83\x74.dat ; x\r\"\n");
    }
    QString before;
    ASSERT_TRUE(m_store.ReadString(kConfig, QStringLiteral("Filename"), before, QString()));
    ASSERT_TRUE(m_store.WriteString(kConfig, QStringLiteral("IP"), QStringLiteral("10.0.0.2")));
    QString text;
    EXPECT_TRUE(m_store.ReadString(kConfig, QStringLiteral("IP"), text, QString()));
    EXPECT_EQ(text, QStringLiteral("10.0.0.2"));
    EXPECT_TRUE(m_store.ReadString(kConfig, QStringLiteral("Filename"), text, QString()));
    EXPECT_EQ(text, before);
}

// A value the settings layer would decode as a serialised variant takes its sizes from the file
// (the fuzzer's file asked for gigabytes): such a file yields the defaults and is not written,
// however the marker is spelt; a string of the program's own that starts with '@' still reads.
TEST_F(SettingsStoreTest, AFileWithASerialisedVariantYieldsTheDefaults)
{
    SKIP_WITHOUT_STORE_FILE();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(StoreFile()).path()));
    const QByteArray huge("(\0\0\0\tx7f.0\0\0\bQPo\0\0\0\0\0\0\0\0int\0\0\0\0\x1\0\0\0\x2)");
    for (const QByteArray& line : {"IP=@Variant" + huge, "IP = \"@Variant" + huge + '"', "IP=a, @Variant" + huge,
                                   "IP=\\x40Variant" + huge, "IP=@\\126ariant" + huge}) {
        SCOPED_TRACE(line.toStdString());
        QFile f(StoreFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[Config]\nFilename=/fw/main.dat\n" + line + "\n");
        f.close();
        QString text;
        EXPECT_FALSE(m_store.ReadString(kConfig, QStringLiteral("Filename"), text, QStringLiteral("d")));
        EXPECT_EQ(text, QStringLiteral("d"));
        EXPECT_FALSE(m_store.WriteString(kConfig, QStringLiteral("IP"), QStringLiteral("10.0.0.2")));
    }
    QFile::remove(StoreFile());
    ASSERT_TRUE(m_store.WriteString(kConfig, QStringLiteral("IP"), QStringLiteral("@Variant(x)")));
    QString text;
    EXPECT_TRUE(m_store.ReadString(kConfig, QStringLiteral("IP"), text, QString()));
    EXPECT_EQ(text, QStringLiteral("@Variant(x)"));
}

TEST_F(SettingsStoreTest, ValuesBeyondTheReadLimitYieldTheDefault)
{
    QString text;
    ASSERT_TRUE(m_store.WriteString(kConfig, QStringLiteral("IP"), QString(511, QLatin1Char('1'))));
    EXPECT_TRUE(m_store.ReadString(kConfig, QStringLiteral("IP"), text, QString()));
    EXPECT_EQ(text.size(), 511);

    ASSERT_TRUE(m_store.WriteString(kConfig, QStringLiteral("IP"), QString(512, QLatin1Char('1'))));
    EXPECT_FALSE(m_store.ReadString(kConfig, QStringLiteral("IP"), text, QStringLiteral("d")));
    EXPECT_EQ(text, QStringLiteral("d"));

    ASSERT_TRUE(m_store.WriteString(kConfig, QStringLiteral("IP"), QString(600, QLatin1Char('1'))));
    EXPECT_FALSE(m_store.ReadString(kConfig, QStringLiteral("IP"), text, QString()));
    EXPECT_TRUE(text.isEmpty());

    // The limit is in bytes: 170 three-byte characters fit, 171 do not.
    ASSERT_TRUE(m_store.WriteString(kConfig, QStringLiteral("IP"), QString(170, QChar(0x30D5))));
    EXPECT_TRUE(m_store.ReadString(kConfig, QStringLiteral("IP"), text, QString()));
    ASSERT_TRUE(m_store.WriteString(kConfig, QStringLiteral("IP"), QString(171, QChar(0x30D5))));
    EXPECT_FALSE(m_store.ReadString(kConfig, QStringLiteral("IP"), text, QString()));
}

TEST_F(SettingsStoreTest, AStringEndsAtItsZeroAndOtherTypesYieldTheDefault)
{
    QString text;
    // A string ends at its first zero, as a stored string does.
    PutRaw(QStringLiteral("IP"), QStringLiteral("10.0.0.1") + QChar(0) + QStringLiteral("junk"));
    EXPECT_TRUE(m_store.ReadString(kConfig, QStringLiteral("IP"), text, QStringLiteral("d")));
    EXPECT_EQ(text, QStringLiteral("10.0.0.1"));
    PutRaw(QStringLiteral("IP"), QStringList{QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_FALSE(m_store.ReadString(kConfig, QStringLiteral("IP"), text, QStringLiteral("d")));
    EXPECT_EQ(text, QStringLiteral("d"));
    PutRaw(QStringLiteral("IP"), QByteArray("10.0.0.1"));
    EXPECT_FALSE(m_store.ReadString(kConfig, QStringLiteral("IP"), text, QStringLiteral("d")));
    EXPECT_EQ(text, QStringLiteral("d"));
}

TEST(SettingsStoreWarning, ReadingWithoutKeyPathWarnsAndGivesTheDefault)
{
    bool seen = false;
    QString title, body;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    TestSupport::OnNextModal([&](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            seen = true;
            title = box->windowTitle();
            body = box->text();
            icon = box->icon();
        }
        w->close();
    });
    CSettingsStore store;
    QString text;
    EXPECT_FALSE(store.ReadString(kConfig, QStringLiteral("IP"), text, QStringLiteral("d")));
    EXPECT_EQ(text, QStringLiteral("d"));
    ASSERT_TRUE(seen);
    EXPECT_EQ(title, QStringLiteral(u"デバッグ警告"));
    EXPECT_EQ(body, QStringLiteral(u"レジストリキーが設定されていません"));
    EXPECT_EQ(icon, QMessageBox::Critical);

    // Writing without a key path fails quietly and creates nothing.
    EXPECT_FALSE(store.WriteString(kConfig, QStringLiteral("IP"), QStringLiteral("x")));
    EXPECT_FALSE(QFile::exists(StoreFile()));
}
