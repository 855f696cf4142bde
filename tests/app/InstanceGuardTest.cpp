#include "common/TestSupport.h"
#include "app/InstanceGuard.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// A folder below a regular file can never be made, whoever the user is (root included).
QString Unmakeable(const QTemporaryDir& dir)
{
    QFile file(dir.filePath(QStringLiteral("file")));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    return dir.filePath(QStringLiteral("file/folder"));
}

TEST(InstanceGuard, TheFirstFolderThatCanHoldItHoldsItUntilReleased)
{
    QTemporaryDir dir;
    const QStringList folders = {Unmakeable(dir), dir.filePath(QStringLiteral("not/yet/there"))};
    const QString name = QStringLiteral("guard-test-in-process");
    CInstanceGuard first, second;
    ASSERT_EQ(first.Acquire(folders, name), CInstanceGuard::Result::Acquired);
    EXPECT_EQ(second.Acquire(folders, name), CInstanceGuard::Result::HeldByAnotherCopy);
    EXPECT_FALSE(second.IsHeld());
    first.Release();
    EXPECT_EQ(second.Acquire(folders, name), CInstanceGuard::Result::Acquired);
#ifndef Q_OS_WIN // the named mutex there needs no folder
    EXPECT_EQ(first.Acquire({folders.front()}, name), CInstanceGuard::Result::Unavailable);
#endif
}

// The real program, started as a user may start it from different sessions: the copies share
// the settings but not the runtime folder (another one, or none at all). Every later copy ends at
// once and silently, and a first copy killed outright does not lock later starts out.
class TwoProcesses : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (QTemporaryDir* runtime : {&m_runtimeA, &m_runtimeB}) {
            ASSERT_TRUE(runtime->isValid());
            QFile::setPermissions(runtime->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }
    void TearDown() override
    {
        for (QProcess& p : m_copies) {
            if (p.state() != QProcess::NotRunning) {
                p.kill();
                p.waitForFinished(5000);
            }
        }
    }
    // Copy `i` with this runtime folder, or none when it is empty, and these settings.
    QProcess& Start(int i, const QString& runtime, const QString& config = QString())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!config.isEmpty())
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        if (!runtime.isEmpty())
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess& p = m_copies[i];
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZFU_BIN_DIR "/zerlind-firm-utility"), {QStringLiteral("-nocheck")});
        return p;
    }
    // Whether the copy holds the program's own guard, seen without taking part in it: a probe that
    // took the guard even for a moment could meet the copy's own attempt, which would then end as
    // a later copy.
    static bool HoldsTheGuard(const QProcess& copy)
    {
#ifdef Q_OS_WIN
        // A named mutex there, which opening does not create.
        const HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, QString::fromUtf8(INSTANCE_GUARD_NAME).toStdWString().c_str());
        if (mutex)
            CloseHandle(mutex);
        return mutex && copy.state() == QProcess::Running;
#else
        // A lock on a file there, which the system lists with its holder.
        QFile locks(QStringLiteral("/proc/locks"));
        EXPECT_TRUE(locks.open(QIODevice::ReadOnly));
        const QByteArray pid = QByteArray::number(copy.processId());
        for (const QByteArray& line : locks.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() > 4 && fields[1] == "FLOCK" && fields[4] == pid)
                return true;
        }
        return false;
#endif
    }

    QTemporaryDir m_runtimeA, m_runtimeB;
    QProcess m_copies[4];
};

TEST_F(TwoProcesses, LaterCopiesEndSilentlyWhateverTheirRuntimeFolderAndAKilledCopyReleasesTheGuard)
{
    QProcess& first = Start(0, m_runtimeA.path());
    ASSERT_TRUE(first.waitForStarted(5000));
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return HoldsTheGuard(first); }, 10000));
    // Let the first copy settle into its window before the others start.
    ASSERT_FALSE(first.waitForFinished(500));

    for (int i : {1, 2}) {
        SCOPED_TRACE(i == 1 ? "another runtime folder" : "no runtime folder");
        QElapsedTimer clock;
        clock.start();
        QProcess& later = Start(i, i == 1 ? m_runtimeB.path() : QString());
        ASSERT_TRUE(later.waitForFinished(10000));
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_EQ(later.exitStatus(), QProcess::NormalExit);
        EXPECT_TRUE(later.readAllStandardOutput().isEmpty());
    }
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill(); // SIGKILL, or TerminateProcess on Windows
    ASSERT_TRUE(first.waitForFinished(5000));

    QProcess& after = Start(3, QString());
    ASSERT_TRUE(after.waitForStarted(5000));
    EXPECT_FALSE(after.waitForFinished(1500)) << "a copy after a killed one must run";
}

// Settings that cannot be written (a read-only folder) leave the guard to the runtime folder.
TEST_F(TwoProcesses, ASettingsFolderThatCannotHoldTheGuardLeavesItToTheRuntimeFolder)
{
    QTemporaryDir dir;
    const QString config = Unmakeable(dir);
    QProcess& first = Start(0, m_runtimeA.path(), config);
    ASSERT_TRUE(first.waitForStarted(5000));
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return HoldsTheGuard(first); }, 10000));
    ASSERT_FALSE(first.waitForFinished(500));
    QProcess& later = Start(1, m_runtimeA.path(), config);
    EXPECT_TRUE(later.waitForFinished(10000)) << "a second copy ran beside the first";
}

} // namespace
