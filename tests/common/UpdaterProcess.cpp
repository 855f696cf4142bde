#include "UpdaterProcess.h"

#include "TestSupport.h"

#include <QJsonObject>
#include <QMap>

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

// Every wait on the child is bounded: an updater that hangs fails the test instead of the suite.
constexpr int kProcessLimitMs = 20000;

} // namespace

QString FromProgram(const QByteArray& bytes)
{
    QString text = QString::fromUtf8(bytes);
#ifdef Q_OS_WIN
    // A Windows console program ends its lines with CR LF, as the platform does.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
#endif
    return text;
}

UpdaterOutcome RunUpdater(const QStringList& arguments, const QStringList& environment, const QByteArray& input)
{
    QProcess updater;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const QString& pair : environment)
        env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    updater.setProcessEnvironment(env);
#ifdef Q_OS_WIN // DETACHED_PROCESS: no console (as a scheduled task starts it) to write in the code page of
    updater.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* args) { args->flags |= 0x8; });
#endif

    QElapsedTimer clock;
    clock.start();
    updater.start(QStringLiteral(ZFU_BIN_DIR "/zerlind-firm-update"), arguments);
    updater.write(input);
    updater.closeWriteChannel();
    const bool ended = updater.waitForFinished(kProcessLimitMs);
    EXPECT_TRUE(ended) << "zerlind-firm-update did not end within " << kProcessLimitMs << " ms";

    UpdaterOutcome outcome;
    outcome.elapsedMs = clock.elapsed();
    outcome.exitCode = ended && updater.exitStatus() == QProcess::NormalExit ? updater.exitCode() : -1;
    outcome.out = FromProgram(updater.readAllStandardOutput());
    outcome.err = FromProgram(updater.readAllStandardError());
    return outcome;
}

QString TerminalLine(const QString& catalogText)
{
    return QString(catalogText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + u'\n';
}

QStringList DocumentedKeys(const QJsonObject& event)
{
    static const QMap<QString, QStringList> keys = {
        {"error", {"event", "exit", "text", "time"}},
        {"status", {"event", "radio", "text", "time"}},
        {"progress", {"bytes", "event", "radio", "time", "total"}},
        {"result", {"address", "attempts", "bytes", "event", "exit", "radio", "seconds", "sha256", "state", "text", "time"}},
        {"summary", {"event", "exit", "failed", "interrupted", "not-started", "radios", "time", "unknown", "updated"}},
        {"file", {"blocks", "event", "file", "sha256", "size", "time"}},
        {"check", {"address", "event", "radio", "reachable", "reason", "time"}},
        {"found", {"event", "radio", "time"}},
        {"rollout start", {"action", "event", "group", "radios", "time"}},
        {"rollout canary failed", {"action", "event", "radio", "reason", "time"}},
        {"rollout failure limit", {"action", "event", "failed", "reason", "time"}},
        {"rollout start wave", {"action", "event", "group", "names", "radios", "time", "wave"}},
        {"rollout end wave", {"action", "event", "failed", "group", "time", "updated", "wave"}},
        {"rollout pause wave", {"action", "event", "group", "seconds", "time", "wave"}},
        {"rollout wave failed", {"action", "event", "radio", "reason", "time", "wave"}},
        {"rollout deadline", {"action", "event", "reason", "time"}},
        {"attempt", {"attempt", "event", "radio", "text", "time", "wait"}},
        {"plan", {"blocks", "deadline", "event", "failed", "file", "jobs", "limit", "log", "notes", "pause", "retries",
                  "rules", "sha256", "size", "time", "waves"}},
    };
    QString kind = event.value("event").toString();
    if (kind == "rollout" && event.value("action") != "stop")
        kind += u' ' + event.value("action").toString() + (event.value("group") == "wave" ? " wave" : "");
    else if (kind == "rollout")
        kind += u' ' + event.value("reason").toString();
    // The summaries of the check and the scan say other things.
    if (kind == "summary" && event.contains("reachable"))
        return {"event", "exit", "reachable", "time", "unreachable"};
    if (kind == "summary" && event.contains("scanned"))
        return {"event", "exit", "found", "scanned", "time"};
    return keys.value(kind, {"unknown event " + kind});
}
