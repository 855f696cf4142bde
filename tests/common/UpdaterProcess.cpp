#include "UpdaterProcess.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

// Every wait on the child is bounded: an updater that hangs fails the test instead of the suite.
constexpr int kProcessLimitMs = 20000;

} // namespace

UpdaterOutcome RunUpdater(const QStringList& arguments, const QStringList& environment)
{
    QProcess updater;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const QString& pair : environment)
        env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    updater.setProcessEnvironment(env);

    QElapsedTimer clock;
    clock.start();
    updater.start(QStringLiteral(ZFU_BIN_DIR "/zerlind-firm-update"), arguments);
    const bool ended = updater.waitForFinished(kProcessLimitMs);
    EXPECT_TRUE(ended) << "zerlind-firm-update did not end within " << kProcessLimitMs << " ms";

    UpdaterOutcome outcome;
    outcome.elapsedMs = clock.elapsed();
    outcome.exitCode = ended && updater.exitStatus() == QProcess::NormalExit ? updater.exitCode() : -1;
    outcome.out = QString::fromUtf8(updater.readAllStandardOutput());
    outcome.err = QString::fromUtf8(updater.readAllStandardError());
    return outcome;
}

QString TerminalLine(const QString& catalogText)
{
    return QString(catalogText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + u'\n';
}
