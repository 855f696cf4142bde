#include "RunRecords.h"

#include "RecordFile.h"
#include "RecordPaths.h"

#include "cli/text/CliText.h"

#include "base/Platform.h"
#include "base/Release.h"
#include "base/SystemErrorText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QTextStream>
#include <QTranslator>

#include <algorithm>

namespace {

// How a list to run again begins; its first line: the release, the time, the file and its hash.
// A comment, so in the language of the run.
const char FAILED_LIST_HEADER[] =
    QT_TRANSLATE_NOOP("RunRecords", "# not updated by zerlind-firm-update %1 on %2 with %3 (SHA-256 %4)");
// The same for the radios a check did not reach.
const char UNREACHABLE_LIST_HEADER[] =
    QT_TRANSLATE_NOOP("RunRecords", "# not reachable by zerlind-firm-update %1 on %2 with %3 (SHA-256 %4)");
// The writer looks this often whether the run has ended.
constexpr int WRITER_WAIT_MS = 100;

// The headers up to the release, in English and in Japanese: a list an earlier run wrote is known
// as one whatever language that run spoke.
const QStringList& HeaderStarts()
{
    static const QStringList starts = [] {
        QStringList found;
        QTranslator japanese;
        const bool loaded = japanese.load(QStringLiteral(":/translations/zerlind_ja.qm"));
        for (const char* header : {FAILED_LIST_HEADER, UNREACHABLE_LIST_HEADER}) {
            QStringList forms{QString::fromLatin1(header)};
            if (loaded)
                forms << japanese.translate("RunRecords", header);
            for (const QString& form : forms) {
                const qsizetype release = form.indexOf(QLatin1String("%1"));
                if (release > 0)
                    found << form.left(release);
            }
        }
        return found;
    }();
    return starts;
}

// "failed: why", the comment after a radio of the list, with the state as the table names it.
QString StateComment(RadioState state, const QString& text)
{
    return QCoreApplication::translate("RunRecords", "%1: %2").arg(StateCell(state), text);
}

} // namespace

FailedList::FailedList(const QString& path, const RunFacts& facts) : m_path(path), m_facts(facts) {}

bool FailedList::CanWrite(const QString& path, QString& error)
{
    // The same way it will be written: a file beside it, renamed over it.
    QSaveFile probe(LocateFile(path).target);
    if (!probe.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("%1: %2").arg(path, probe.errorString());
        return false;
    }
    probe.cancelWriting();
    return true;
}

bool FailedList::WrittenByARun(const QString& firstLine)
{
    const QStringList& starts = HeaderStarts();
    return std::any_of(starts.begin(), starts.end(), [&](const QString& start) { return firstLine.startsWith(start); });
}

QString ReplaceRecordWhole(const QString& path, const QByteArray& data)
{
    const int error = Platform::ReplaceFileWhole(path, data);
    if (error == 0)
        return QString();
    return SystemReason(error);
}

QString FailedList::Write(const QVector<RadioOutcome>& outcomes, qint64 timeMs) const
{
    QByteArray text;
    QTextStream out(&text);
    out << QCoreApplication::translate("RunRecords", (m_facts.check ? UNREACHABLE_LIST_HEADER : FAILED_LIST_HEADER))
               .arg(QString::fromLatin1(kReleaseVersion), TimeText(timeMs), ShownPath(m_facts.fileName), m_facts.sha256)
        << '\n';
    for (int i = 0; i < outcomes.size(); ++i) {
        const RadioOutcome& o = outcomes[i];
        if (o.state != RadioState::Updated)
            out << m_facts.rerun.value(i) << "  # " << StateComment(o.state, ShownPath(OneLine(o.text))) << '\n';
    }
    out.flush();
#ifdef Q_OS_WIN
    text.replace("\n", "\r\n"); // Windows' own line ends, as Notepad and findstr expect
#endif
    // Whole or not at all: a list cut short would leave radios out of the next run.
    const QString reason = ReplaceRecordWhole(LocateFile(m_path).target, text);
    return reason.isEmpty() ? QString() : QStringLiteral("%1: %2").arg(ShownPath(m_path), reason);
}

bool RunLog::CanOpen(const QString& path, QString& error)
{
    // What is written is the end of a symbolic-link chain, in the folder it lies in.
    const QFileInfo info(LocateFile(path).target);
    // The nearest folder that is there: the rest would be made in it.
    QFileInfo there(info.absolutePath());
    for (int depth = 0; !there.exists() && !there.isRoot() && depth < 256; ++depth)
        there = QFileInfo(there.absolutePath());
    const bool folderMissing = there.absoluteFilePath() != QFileInfo(info.absolutePath()).absoluteFilePath();
    if (!there.isDir() || (folderMissing && !there.isWritable())) {
        error = QCoreApplication::translate("RunRecords", "%1: cannot create the folder %2").arg(path, QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    if (info.exists() ? !info.isWritable() : !there.isWritable()) {
        error = QCoreApplication::translate("RunRecords", "%1: Permission denied").arg(path);
        return false;
    }
    return true;
}

bool RunLog::Open(const QString& path, QString& error)
{
    m_path = path;
    const QFileInfo info(LocateFile(path).target);
    if (!QDir().mkpath(info.absolutePath())) {
        error = QCoreApplication::translate("RunRecords", "%1: cannot create the folder %2").arg(path, QDir::toNativeSeparators(info.absolutePath()));
        return false;
    }
    // Each record goes in one write to a file opened for appending, so the records of two runs
    // at once never interleave.
    const QString reason = m_file.Open(info.filePath());
    if (reason.isEmpty())
        return true;
    error = QStringLiteral("%1: %2").arg(path, reason);
    return false;
}

QString RunLog::Append(const RunFacts& facts, int radio, const RadioOutcome& o, qint64 timeMs)
{
    const QJsonObject record{{"run", facts.runId},
                             {"start", TimeText(timeMs - o.elapsedMs)},
                             {"end", TimeText(timeMs)},
                             {"radio", facts.labels.value(radio)},
                             {"address", facts.addresses.value(radio)},
                             {"file", facts.fileName},
                             {"size", facts.fileSize},
                             {"sha256", facts.sha256},
                             {"state", StateWord(o.state)},
                             {"exit", o.ExitJson()},
                             {"text", o.jsonText},
                             {"seconds", double(o.elapsedMs) / 1000.0},
                             {"attempts", o.attempts},
                             {"version", QString::fromLatin1(kReleaseVersion)}};
    const QByteArray line = QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n';
    const QString reason = m_file.Append(line);
    return reason.isEmpty() ? QString() : QStringLiteral("%1: %2").arg(ShownPath(m_path), reason);
}

RunRecords::RunRecords(const QString& failedPath, const QString& logPath, int radios)
    : m_failedPath(failedPath), m_logPath(logPath), m_queue(radios)
{
}

RunRecords::~RunRecords()
{
    m_queue.Close();
    if (m_writer.joinable())
        m_writer.join();
}

bool RunRecords::Open(QString& error)
{
    return m_logPath.isEmpty() || m_log.Open(m_logPath, error);
}

void RunRecords::Start(EventPublisher& events, Interrupts& interrupts)
{
    m_events = &events;
    m_interrupts = &interrupts;
    if (m_logPath.isEmpty())
        return;
    events.AlsoResultsTo(&m_queue);
    m_writer = std::thread([this] { Write(); });
}

void RunRecords::Write()
{
    std::deque<FleetEvent> events;
    while (m_queue.Take(events, WRITER_WAIT_MS)) {
        for (const FleetEvent& event : events) {
            if (event.kind != FleetEvent::Kind::Result)
                continue;
            // After a failure the log is left as it is: a record that follows a lost one would
            // tell a story with a hole in it.
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_error.isEmpty())
                continue;
            m_error = m_log.Append(m_facts, event.radio, event.outcome, event.timeMs);
            if (m_error.isEmpty())
                continue;
            // Nothing new starts; what runs goes on to its end and the list is still written.
            m_interrupts->outputClosed.store(true);
            m_events->Note(QCoreApplication::translate("RunRecords", "%1; no further radio starts").arg(m_error));
        }
    }
}

QString RunRecords::Finish(const QVector<RadioOutcome>& outcomes, bool writeList)
{
    m_queue.Close();
    if (m_writer.joinable())
        m_writer.join();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (writeList && !m_failedPath.isEmpty()) {
        const QString listError = FailedList(m_failedPath, m_facts).Write(outcomes, QDateTime::currentMSecsSinceEpoch());
        if (!listError.isEmpty() && m_events)
            m_events->Note(listError);
        if (m_error.isEmpty())
            m_error = listError;
    }
    return m_error;
}
