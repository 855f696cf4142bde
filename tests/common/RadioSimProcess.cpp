#include "RadioSimProcess.h"

#include "UpdaterProcess.h"

#include <QDeadlineTimer>

namespace {

const QString kSimProgram = QStringLiteral(ZFU_BIN_DIR "/zerlind-radio-sim");
// Every wait on the child is bounded: a simulator that hangs fails the test instead of the suite.
constexpr int kProcessLimitMs = 10000;

} // namespace

RadioSimProcess::RadioSimProcess(const QString& address, const QStringList& options)
{
    m_process.start(kSimProgram, QStringList{QStringLiteral("--listen"), address, QStringLiteral("--sessions"),
                                             QStringLiteral("1")} + options);
    // The whole first line, however the pipe hands it over.
    const QDeadlineTimer deadline(kProcessLimitMs);
    while (!m_process.canReadLine() && !deadline.hasExpired() && m_process.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    m_ready = m_process.canReadLine() && m_process.readLine().startsWith("listening on");
    if (!m_ready) {
        // Said where the test stops, so that a simulator that could not start tells why.
        m_process.waitForFinished(1000);
        qWarning("zerlind-radio-sim %s did not start: %s%s", qPrintable(address),
                 m_process.readAllStandardOutput().constData(), m_process.readAllStandardError().constData());
    }
}

RadioSimProcess::~RadioSimProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(kProcessLimitMs);
    }
}

QMap<QString, QString> RadioSimProcess::Summary()
{
    QMap<QString, QString> fields;
    // A simulator that has already ended has its output waiting.
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(kProcessLimitMs))
        return fields;
    const QString line = QString::fromUtf8(m_process.readAllStandardOutput()).trimmed();
    for (const QString& pair : line.split(u' ', Qt::SkipEmptyParts))
        fields.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    return fields;
}

QMap<QString, QMap<QString, QString>> RadioSimProcess::Sessions()
{
    QMap<QString, QMap<QString, QString>> sessions;
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(kProcessLimitMs))
        return sessions;
    const QStringList lines = FromProgram(m_process.readAllStandardOutput()).split(u'\n');
    for (const QString& line : lines) {
        if (!line.startsWith(QLatin1String("session=")))
            continue;
        QMap<QString, QString> fields;
        for (const QString& pair : line.split(u' ', Qt::SkipEmptyParts))
            fields.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        sessions.insert(fields.value(QStringLiteral("radio")).section(u':', 0, 0), fields);
    }
    return sessions;
}

int RadioSimProcess::SessionsSoFar(int settleMs, int awaited)
{
    const auto count = [this] {
        m_soFar += m_process.readAllStandardOutput();
        return int(m_soFar.count("session="));
    };
    // The sessions the test knows of end when the simulator notices, however late that is.
    const QDeadlineTimer deadline(kProcessLimitMs);
    while (count() < awaited && !deadline.hasExpired()) {
        if (!m_process.waitForReadyRead(int(deadline.remainingTime())) && m_process.state() == QProcess::NotRunning)
            break;
    }
    // The lines may come in several pieces: read until none has come for `settleMs` (a bounded
    // number of times: each piece is a session's line).
    for (int pieces = 0; pieces < 1000 && m_process.waitForReadyRead(settleMs); ++pieces)
        m_soFar += m_process.readAllStandardOutput();
    return count();
}
