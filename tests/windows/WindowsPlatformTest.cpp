// What only the Windows build has: the settings in the registry, the named mutex, the system's
// message table, a firmware file opened with no sharing and what each program carries for Windows.
#include "app/InstanceGuard.h"
#include "base/SystemErrorText.h"
#include "cli/output/CliReporter.h"
#include "cli/output/Terminal.h"
#include "common/TestSupport.h"
#include "engine/FirmwareImage.h"
#include "ui/main/FileSelection.h"
#include "ui/main/SettingsStore.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

// The language identifiers, written as the numbers the operator's system uses.
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

// Each program as Windows reads it before it runs: the manifest, the icon and the version.
TEST(WindowsPlatform, EveryProgramCarriesItsManifestIconAndVersion)
{
    for (const char* program : {"zerlind-firm-utility", "zerlind-firm-update", "zerlind-radio-sim"}) {
        SCOPED_TRACE(program);
        const QString path = QStringLiteral(ZFU_BIN_DIR "/%1.exe").arg(QLatin1String(program));
        HMODULE exe = LoadLibraryExW(reinterpret_cast<const wchar_t*>(path.utf16()), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(exe, nullptr);
        const auto resource = [exe](LPCWSTR type, int id) {
            HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(id), type);
            const char* data = found ? static_cast<const char*>(LockResource(LoadResource(exe, found))) : nullptr;
            return data ? QByteArray(data, int(SizeofResource(exe, found))) : QByteArray();
        };
        const QByteArray manifest = resource(RT_MANIFEST, 1);
        for (const char* part : {"<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">true<",
                                 "level=\"asInvoker\"", "PerMonitorV2"})
            EXPECT_TRUE(manifest.contains(part)) << part;
        EXPECT_EQ(manifest.count("<supportedOS "), 1); // only Windows 10 and 11, where the bundled Qt runs
        EXPECT_TRUE(manifest.contains("<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"));
        EXPECT_FALSE(resource(RT_GROUP_ICON, 128).isEmpty());
        EXPECT_TRUE(resource(RT_VERSION, 1).contains(QByteArray("v\0u\0r\0n\0", 8))); // the company, in UTF-16
        // "© 2026" at the start of a value, in UTF-16 (not a © read as two Latin-1 characters)
        EXPECT_TRUE(resource(RT_VERSION, 1).contains(QByteArray("\0\0\xa9\0 \0" "2\0" "0\0" "2\0" "6\0", 14)));
        FreeLibrary(exe);
    }
}

// The file dialog's state goes with the keys it made: no empty HKEY_CURRENT_USER\Software\QtProject.
TEST(WindowsPlatform, TheFileDialogLeavesNoKeyOfQts)
{
    QSettings(QSettings::UserScope, QStringLiteral("QtProject")).remove(QStringLiteral("FileDialog"));
    {
        const CQtDialogStateCleanUp cleanUp;
        QSettings(QSettings::UserScope, QStringLiteral("QtProject")).setValue(QStringLiteral("FileDialog/history"), 1);
    }
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\QtProject", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

// A console of the test's own, as cmd has one, read back as the user sees it.
struct OwnConsole {
    ~OwnConsole() { FreeConsole(); }
    HANDLE screen = (FreeConsole(), AllocConsole(),
                     CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    QString Shown() const // the first three rows
    {
        std::wstring text(3 * 80, L' ');
        DWORD read = 0;
        ReadConsoleOutputCharacterW(screen, text.data(), DWORD(text.size()), COORD{0, 0}, &read);
        return QString::fromStdWString(text.substr(0, read)).simplified();
    }
};

// What a TextStream leaves in a file.
QByteArray WrittenToAFile(const QString& text)
{
    std::FILE* file = std::tmpfile();
    Terminal::TextStream(file) << text;
    std::rewind(file);
    char bytes[256];
    const QByteArray written(bytes, int(std::fread(bytes, 1, sizeof bytes, file)));
    std::fclose(file);
    return written;
}

// Japanese on a console as its characters; in a file in the console's code page (932 on a Japanese
// system), UTF-8 at 65001, with no console and for --json.
TEST(WindowsPlatform, JapaneseReachesTheConsoleAsCharactersAndAFileInItsCodePage)
{
    const QString text = QStringLiteral("ファームウェアの転送に失敗しました。 transfer failed");
    const QString office = QStringLiteral("本社 radios");
    {
        OwnConsole console;
        std::FILE* stream = _fdopen(_open_osfhandle(intptr_t(console.screen), _O_WRONLY | _O_BINARY), "wb");
        ASSERT_NE(stream, nullptr);
        Terminal::TextStream(stream) << text;
        EXPECT_TRUE(console.Shown().contains(text)) << qPrintable(console.Shown().toUtf8().toHex());
        std::fclose(stream);
        ASSERT_TRUE(SetConsoleOutputCP(932));
        EXPECT_EQ(WrittenToAFile(office), QByteArray("\x96\x7b\x8e\xd0 radios")); // Shift_JIS
        Terminal::KeepUtf8(true);
        EXPECT_EQ(WrittenToAFile(office), office.toUtf8());
        Terminal::KeepUtf8(false);
        SetConsoleOutputCP(65001);
        EXPECT_EQ(WrittenToAFile(office), office.toUtf8());
    }
    EXPECT_EQ(WrittenToAFile(text), text.toUtf8());
}

// One radio's progress line on a console (whether it takes escape sequences or not): a longer
// line's rest is cleared and no escape code shows.
TEST(WindowsPlatform, ProgressLineOnAPlainConsoleShowsNoEscapeCode)
{
    OwnConsole console;
    const int savedErr = _dup(2);
    _dup2(_open_osfhandle(intptr_t(console.screen), _O_WRONLY | _O_BINARY), 2);
    {
        CliReporter reporter(false, true, 3000);
        reporter.StartTransferProgress(4);
        reporter.OnDataSent(4096, 4096);
        reporter.StartWaitAnimation(); // a shorter line over the transfer's
        EXPECT_FALSE(console.Shown().contains(QStringLiteral("[K")) || console.Shown().contains(QStringLiteral("left")))
            << qPrintable(console.Shown());
        reporter.StopWaitAnimation();
    }
    std::fflush(stderr);
    _dup2(savedErr, 2);
    _close(savedErr);
}

// The window program started from a console with no output of its own (as cmd starts it)
// answers there; started with no console at all, in a box.
TEST(WindowsPlatform, WindowProgramAnswersOnItsStartersConsoleElseInABox)
{
    const auto start = [](const wchar_t* option, DWORD flags) {
        std::wstring line = QStringLiteral("\"" ZFU_BIN_DIR "/zerlind-firm-utility.exe\" ").toStdWString() + option;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES; // and none of them
        PROCESS_INFORMATION process{};
        EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, flags, nullptr, nullptr, &startup, &process));
        CloseHandle(process.hThread);
        return process.hProcess;
    };
    const auto ended = [](HANDLE process, DWORD ms) {
        const bool done = WaitForSingleObject(process, ms) == WAIT_OBJECT_0;
        if (!done)
            TerminateProcess(process, 1);
        CloseHandle(process);
        return done;
    };
    {
        OwnConsole console;
        EXPECT_TRUE(ended(start(L"--version", 0), 60000));
        EXPECT_TRUE(console.Shown().contains(QStringLiteral("zerlind-firm-utility (Zerlind Firm Utility) "))) << qPrintable(console.Shown());
    }
    const HANDLE process = start(L"/?", DETACHED_PROCESS); // Windows' way of asking for --help
    HWND box = nullptr;
    for (int i = 0; i < 300 && !(box = FindWindowW(L"#32770", L"Zerlind Firm Utility")); ++i) // up to a minute
        Sleep(200);
    wchar_t shown[2048] = {};
    GetDlgItemTextW(box, 0xFFFF, shown, 2048); // the box's text
    EXPECT_TRUE(QString::fromWCharArray(shown).contains(QStringLiteral("--version    show the version and exit")));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(ended(process, 30000));
}

} // namespace
