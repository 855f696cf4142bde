// Runs GoogleTest inside a QApplication on the offscreen platform. Each process gets its own
// settings and runtime folders, so tests never touch the user's files or each other's.
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

namespace {
QString g_scratch;

void WriteMarker(const QByteArray& path, const char* mode, const char* text)
{
    if (path.isEmpty())
        return;
    if (std::FILE* file = std::fopen(path.constData(), mode)) {
        std::fputs(text, file);
        std::fclose(file);
    }
}
}

QString TestSupport::ScratchDir()
{
    return g_scratch;
}

int main(int argc, char** argv)
{
    // The proof that this program ran, and later that it finished: under Wine the test runner
    // starts a program again only when Wine ended it before it got here, and fails one that Wine
    // ended half way with a status of 0. A program a test starts must not write it too.
    const QByteArray marker = qgetenv("ZFU_STARTED_MARKER");
    qunsetenv("ZFU_STARTED_MARKER");
    WriteMarker(marker, "wb", "started\n");
#ifdef Q_OS_WIN
    // The runner turns on Wine's error channel to see why a start failed; the programs a test
    // starts keep quiet again, as the tests compare what they print.
    qputenv("WINEDEBUG", "-all");
#endif
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/zfu-test-XXXXXX"));
    g_scratch = scratch.path();
    const QByteArray config = QFile::encodeName(g_scratch + QStringLiteral("/config"));
    const QByteArray runtime = QFile::encodeName(g_scratch + QStringLiteral("/runtime"));
    QDir().mkpath(QString::fromLocal8Bit(config));
    QDir().mkpath(QString::fromLocal8Bit(runtime));
    QFile::setPermissions(QString::fromLocal8Bit(runtime), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CONFIG_HOME", config);
    qputenv("XDG_RUNTIME_DIR", runtime);
#ifdef Q_OS_WIN
    // There the settings live in the one registry of the user, not below XDG_CONFIG_HOME: each
    // test process starts without the program's key, as a new user does (one process at a time).
    QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software\\vurn"), QSettings::NativeFormat).remove(QString());
#endif

    // The tests answer Qt's own file dialog; Windows' own, which the programs show there with the
    // same folder, filter and file, is no widget a test can answer.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    const int status = RUN_ALL_TESTS();
    WriteMarker(marker, "ab", "ended\n");
    return status;
}
