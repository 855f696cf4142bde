#include "common/TestSupport.h"
#include "app/InstanceGuard.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(InstanceGuard, SecondHolderInOneProcessIsRefusedUntilReleased)
{
    const QString name = QStringLiteral("guard-test-in-process");
    CInstanceGuard first, second;
    ASSERT_EQ(first.Acquire(name), CInstanceGuard::Result::Acquired);
    EXPECT_EQ(second.Acquire(name), CInstanceGuard::Result::HeldByAnotherCopy);
    EXPECT_FALSE(second.IsHeld());
    first.Release();
    EXPECT_EQ(second.Acquire(name), CInstanceGuard::Result::Acquired);
}

// The real program, started twice: the second copy ends at once and silently, and a first
// copy killed with SIGKILL does not lock later starts out.
class TwoProcesses : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_runtime.isValid());
        QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        for (QProcess* p : {&m_first, &m_second, &m_third}) {
            p->setProcessEnvironment(env);
            p->setProgram(QStringLiteral(ZFU_BIN_DIR "/zerlind-firm-utility"));
            p->setArguments({QStringLiteral("-nocheck")});
        }
    }
    void TearDown() override
    {
        for (QProcess* p : {&m_first, &m_second, &m_third}) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }
    bool LockFileExists() const
    {
        return QFile::exists(m_runtime.path() + QStringLiteral("/firmware update tool for Zerlind.lock"));
    }

    QTemporaryDir m_runtime;
    QProcess m_first, m_second, m_third;
};

TEST_F(TwoProcesses, SecondCopyEndsSilentlyAndKilledCopyReleasesTheGuard)
{
    m_first.start();
    ASSERT_TRUE(m_first.waitForStarted(5000));
    ASSERT_TRUE(TestSupport::WaitUntil([&] { return LockFileExists(); }, 10000));
    // Let the first copy settle into its window before the second one starts.
    ASSERT_FALSE(m_first.waitForFinished(500));

    QElapsedTimer clock;
    clock.start();
    m_second.start();
    ASSERT_TRUE(m_second.waitForFinished(10000));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(m_second.exitStatus(), QProcess::NormalExit);
    EXPECT_TRUE(m_second.readAllStandardOutput().isEmpty());
    EXPECT_EQ(m_first.state(), QProcess::Running);

    ::kill(pid_t(m_first.processId()), SIGKILL);
    ASSERT_TRUE(m_first.waitForFinished(5000));

    m_third.start();
    ASSERT_TRUE(m_third.waitForStarted(5000));
    EXPECT_FALSE(m_third.waitForFinished(1500)) << "a copy after a killed one must run";
}

} // namespace
