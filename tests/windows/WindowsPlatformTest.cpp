// What only the Windows build has: the settings in the registry, the named mutex, the system's
// message table and a firmware file opened with no sharing.
#include "app/InstanceGuard.h"
#include "base/SystemErrorText.h"
#include "common/TestSupport.h"
#include "engine/FirmwareImage.h"
#include "ui/main/SettingsStore.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>

namespace {

// The language identifiers (the system headers take the catalog's names for their own).
constexpr quint16 kEnglish = 1033;
constexpr quint16 kJapanese = 1041;

// The registry as another program reads it: reg.exe, the system's own tool.
QString RegQuery(const QString& key, const QString& value)
{
    QProcess reg;
    reg.start(QStringLiteral("reg.exe"), {QStringLiteral("query"), key, QStringLiteral("/v"), value});
    reg.waitForFinished(30000);
    return QString::fromLocal8Bit(reg.readAllStandardOutput());
}

TEST(WindowsPlatform, SettingsAreStringValuesBelowTheCurrentUsersKey)
{
    CSettingsStore store;
    ASSERT_TRUE(store.SetKeyPath(QStringLiteral("software\\vurn\\Zerlind FirmUtility")));
    const QString path = QStringLiteral("C:\\firmware\\main 2.dat");
    ASSERT_TRUE(store.WriteString(QStringLiteral("Config"), QStringLiteral("Filename"), path));
    ASSERT_TRUE(store.WriteString(QStringLiteral("Config"), QStringLiteral("IP"), QStringLiteral("127.0.0.5")));

    const QString key = QStringLiteral("HKCU\\Software\\vurn\\Zerlind FirmUtility\\Config");
    const QString ip = RegQuery(key, QStringLiteral("IP"));
    EXPECT_TRUE(ip.contains(QStringLiteral("REG_SZ")) && ip.contains(QStringLiteral("127.0.0.5"))) << qPrintable(ip);
    EXPECT_TRUE(RegQuery(key, QStringLiteral("Filename")).contains(path));

    QString read;
    EXPECT_TRUE(store.ReadString(QStringLiteral("Config"), QStringLiteral("Filename"), read, QString()));
    EXPECT_EQ(read, path);
}

TEST(WindowsPlatform, TheGuardIsTheNamedMutexOfTheSessionWhileHeld)
{
    const wchar_t* name = L"firmware update tool for Zerlind";
    {
        CInstanceGuard guard;
        ASSERT_EQ(guard.Acquire(), CInstanceGuard::Result::Acquired);
        HANDLE seen = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name);
        EXPECT_NE(seen, nullptr);
        if (seen)
            CloseHandle(seen);
    }
    HANDLE after = OpenMutexW(MUTEX_ALL_ACCESS, FALSE, name);
    EXPECT_EQ(after, nullptr) << "released with the guard";
    if (after)
        CloseHandle(after);
}

// The text the operator sees for a firmware file that cannot be read, and the system's own text
// for the error it should be.
struct FileCase {
    const char* what;
    quint16 language;
    DWORD expectedError;
    bool holdOpen; // another program holds the file open without sharing
};

class FirmwareFileText : public ::testing::TestWithParam<FileCase> {};

TEST_P(FirmwareFileText, IsTheSystemsOwnTextInTheChosenLanguage)
{
    const FileCase& c = GetParam();
    QString path = QDir(TestSupport::ScratchDir()).filePath(QStringLiteral("missing.dat"));
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.holdOpen) {
        path = TestSupport::WriteRandomFile(QStringLiteral("held.dat"), 4096);
        held = CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), GENERIC_READ, 0, nullptr,
                           OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    QByteArray image;
    QString text;
    EXPECT_FALSE(LoadFirmwareFile(path, c.language, image, text));
    if (held != INVALID_HANDLE_VALUE)
        CloseHandle(held);

    QString system;
    ASSERT_TRUE(LoadSystemErrorText(int(c.expectedError), SystemTextLocale(c.language), system));
    EXPECT_EQ(text, system);
    EXPECT_TRUE(image.isEmpty());
    // Wine's and Windows' wording differ: only the script of the text is pinned.
    const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar ch) { return ch.unicode() < 0x80; });
    EXPECT_EQ(ascii, c.language == kEnglish) << qPrintable(text);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, FirmwareFileText,
    ::testing::Values(FileCase{"MissingEnglish", kEnglish, ERROR_FILE_NOT_FOUND, false},
                      FileCase{"MissingJapanese", kJapanese, ERROR_FILE_NOT_FOUND, false},
                      FileCase{"HeldWithoutSharing", kEnglish, ERROR_SHARING_VIOLATION, true}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return std::string(info.param.what); });

} // namespace
