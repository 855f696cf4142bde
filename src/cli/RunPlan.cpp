#include "RunPlan.h"

#include "cli/output/Terminal.h"
#include "cli/records/RecordPaths.h"
#include "cli/text/CliText.h"

#include "engine/FirmwareImage.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonArray>
#include <QTextStream>

namespace {

// Every radio of the lists and the command line, in that order; false with the error. `emptyList`
// is set to a list an earlier run wrote that holds no radio.
bool CollectRadios(const CliOptions& options, QVector<RadioEntry>& radios, QString& emptyList, QString& error)
{
    for (const QString& given : options.radioLists) {
        const QString list = PathToOpen(given);
        const qsizetype before = radios.size();
        QString firstLine;
        if (!ReadRadioList(list, options.port, radios, error, &firstLine))
            return false;
        if (radios.size() == before && emptyList.isEmpty() && FailedList::WrittenByARun(firstLine))
            emptyList = list;
    }
    for (int i = 0; i < options.addresses.size(); ++i) {
        RadioEntry radio;
        QString why;
        if (!ParseRadio(options.addresses[i], options.port, radio, why)) {
            error = QCoreApplication::translate("RunPlan", "not a radio address: %1 (%2)").arg(Quoted(options.addresses[i]), why);
            return false;
        }
        radio.origin = QCoreApplication::translate("RunPlan", "ADDRESS %1 of the command line").arg(i + 1);
        radios << radio;
    }
    return true;
}

// Reads and checks the firmware file into `plan`; the file's status with `error` when it cannot
// be used.
int LoadPlanFile(RunPlan& plan, quint16 language, QString& error)
{
    QString fileError;
    if (!LoadFirmwareFile(plan.fileName, language, plan.image, fileError)) {
        error = FileProblem(plan.fileOpened, fileError);
        return EXIT_FILE;
    }
    plan.sha256 = QString::fromLatin1(QCryptographicHash::hash(plan.image, QCryptographicHash::Sha256).toHex());
    return EXIT_UPDATED;
}

QString OrNone(qint64 value, const QString& text)
{
    return value > 0 ? text : QCoreApplication::translate("RunPlan", "none");
}

} // namespace

int BuildRunPlan(const CliOptions& options, quint16 language, HostResolver& resolver, const Interrupts& interrupts,
                 qint64 nowMs, RunPlan& plan, QString& error)
{
    plan.fileName = options.fileName;
    plan.fileOpened = PathToOpen(options.fileName);
    plan.jobs = options.jobs;
    plan.failedList = options.failedList.isEmpty() ? QString() : PathToOpen(options.failedList);
    plan.logFile = options.logFile.isEmpty() ? QString() : PathToOpen(options.logFile);
    // Each file the run touches has one role: the image is never written, a list never replaced,
    // one record never written over the other. Known by the paths opened, not as spelt.
    QVector<FileRole> roles{{QString(), plan.fileOpened}};
    for (const QString& list : options.radioLists)
        roles.push_back({QStringLiteral("--radios"), PathToOpen(list)});
    if (!plan.failedList.isEmpty())
        roles.push_back({QStringLiteral("--failed"), plan.failedList});
    if (!plan.logFile.isEmpty())
        roles.push_back({QStringLiteral("--log"), plan.logFile});
    if (!CheckFileRoles(roles, error))
        return EXIT_BAD_COMMAND_LINE;
    // The records a run leaves must be writable before anything is sent, also
    // when nothing is left to do: the list then says so.
    if (!plan.failedList.isEmpty()
        && (!CheckRecordPath(QStringLiteral("--failed"), plan.failedList, error)
            || !FailedList::CanWrite(plan.failedList, error)))
        return EXIT_BAD_COMMAND_LINE;
    if (!plan.logFile.isEmpty()
        && (!CheckRecordPath(QStringLiteral("--log"), plan.logFile, error) || !RunLog::CanOpen(plan.logFile, error)))
        return EXIT_BAD_COMMAND_LINE;
    QString emptyList;
    if (!CollectRadios(options, plan.radios, emptyList, error))
        return EXIT_BAD_COMMAND_LINE;
    const int count = int(plan.radios.size());
    // The list an earlier run left of its radios not updated, now empty: every one has been. With
    // other radios beside it, whether they were meant to go alone cannot be told: none goes.
    if (!emptyList.isEmpty() && count > 0) {
        error = QCoreApplication::translate("RunPlan", "%1 holds no radio: an earlier run left nothing to do there; give the other radios "
                                                      "without it")
                    .arg(emptyList);
        return EXIT_BAD_COMMAND_LINE;
    }
    if (count == 0) {
        if (!emptyList.isEmpty()) {
            plan.notes << QCoreApplication::translate("RunPlan", "nothing left to do: %1 holds no radio").arg(emptyList);
            // A check still checks the file, and a list to write names it.
            return options.check || !plan.failedList.isEmpty() ? LoadPlanFile(plan, language, error) : EXIT_UPDATED;
        }
        error = QCoreApplication::translate("RunPlan", "no radio: the list is empty and no ADDRESS was given");
        return EXIT_BAD_COMMAND_LINE;
    }
    // The same text twice needs no lookup to be refused.
    if (FindDuplicateRadio(plan.radios, error))
        return EXIT_BAD_COMMAND_LINE;
    if (options.canary >= count) {
        error = QCoreApplication::translate("RunPlan", "--canary %1 is not fewer than the %2 of the run: nothing would wait for it")
                    .arg(options.canary)
                    .arg(RadioCount(count));
        return EXIT_BAD_COMMAND_LINE;
    }
    RolloutRules& rules = plan.rules;
    if (options.deadlineSeconds > 0)
        rules.deadlineShownMs = nowMs + options.deadlineSeconds * 1000;
    if (options.deadlineAt.isValid()) {
        rules.deadlineShownMs = options.deadlineAt.toMSecsSinceEpoch();
        if (rules.deadlineShownMs <= nowMs) {
            error = QCoreApplication::translate("RunPlan", "--deadline %1 has passed").arg(TimeText(rules.deadlineShownMs));
            return EXIT_BAD_COMMAND_LINE;
        }
        // The same bound as a duration: a time further off is a typing error, not a window.
        if (rules.deadlineShownMs - nowMs > MAX_DEADLINE_SECONDS * 1000) {
            error = QCoreApplication::translate("RunPlan", "--deadline %1 is more than a week away").arg(TimeText(rules.deadlineShownMs));
            return EXIT_BAD_COMMAND_LINE;
        }
    }
    // A point on the steady clock, once, here: a time given is as far off as it is now.
    if (rules.deadlineShownMs > 0)
        rules.deadlineMs = SteadyClockMs() + (rules.deadlineShownMs - nowMs);

    if (LoadPlanFile(plan, language, error) != EXIT_UPDATED)
        return EXIT_FILE;

    // Every name once, all at once, before anything is sent; each radio then connects to the
    // address its name had here, and two names of one radio are seen as one.
    ResolveLimits limits;
    limits.timeoutMs = options.timeouts.connectMs;
    const ResolveResult resolved = ResolveRadios(plan.radios, resolver, limits, interrupts.stop, [](int names) {
        Terminal::TextStream(stderr) << "zerlind-firm-update: "
                                     << (names == 1 ? QCoreApplication::translate("RunPlan", "resolving %1 name")
                                                    : QCoreApplication::translate("RunPlan", "resolving %1 names"))
                                            .arg(names)
                                     << '\n';
    });
    if (resolved == ResolveResult::Interrupted)
        return EXIT_INTERRUPTED;
    if (!options.check) {
        for (const RadioEntry& radio : plan.radios) {
            if (radio.address.isEmpty()) {
                error = radio.nameLate ? QCoreApplication::translate("RunPlan", "%1: no address for the name within %2 ms").arg(radio.host).arg(limits.timeoutMs)
                                       : QCoreApplication::translate("RunPlan", "%1: no such radio name (it does not resolve)").arg(radio.host);
                return EXIT_BAD_COMMAND_LINE;
            }
        }
    }
    if (FindDuplicateRadio(plan.radios, error))
        return EXIT_BAD_COMMAND_LINE;

    rules.waves = options.WaveSizes(count);
    rules.canary = options.canary > 0;
    rules.failureLimit = options.FailureLimit(count);
    rules.retries = options.retries;
    rules.wavePauseMs = options.wavePauseSeconds * 1000;
    if (rules.failureLimit > 0 && !RolloutPolicy::LimitCanStopARadio(rules.waves, plan.jobs, rules.failureLimit)) {
        plan.notes << QCoreApplication::translate("RunPlan", "--max-failures can stop no radio here: with --jobs %1 every radio has started "
                                                            "before %2 can have failed, and a radio already running is never stopped")
                          .arg(plan.jobs)
                          .arg(RadioCount(rules.failureLimit));
    }
    return 0;
}

QString FileFactsText(const RunPlan& plan)
{
    const QJsonObject facts = FileFactsJson(plan);
    // A file name is data: a line break or an escape sequence in it is shown, never obeyed.
    return QCoreApplication::translate("RunPlan", "%1: %2 bytes, %3 blocks, SHA-256 %4")
        .arg(ShownPath(plan.fileName))
        .arg(facts.value(QLatin1String("size")).toInteger())
        .arg(facts.value(QLatin1String("blocks")).toInteger())
        .arg(plan.sha256);
}

QJsonObject FileFactsJson(const RunPlan& plan)
{
    const qint64 size = plan.image.size();
    return {{"event", "file"}, {"file", plan.fileName}, {"size", size}, {"blocks", (size + BLOCK_SIZE - 1) / BLOCK_SIZE}, {"sha256", plan.sha256}};
}

QString PlanText(const RunPlan& plan)
{
    const RolloutRules& rules = plan.rules;
    QString text = FileFactsText(plan) + u'\n';
    text += QCoreApplication::translate("RunPlan", "%1, up to %2 at once; failure limit %3; retries %4; pause between waves %5 s; deadline %6\n")
                .arg(RadioCount(int(plan.radios.size())))
                .arg(plan.jobs)
                .arg(OrNone(rules.failureLimit, QString::number(rules.failureLimit)))
                .arg(rules.retries)
                .arg(rules.wavePauseMs / 1000)
                .arg(OrNone(rules.deadlineShownMs, TimeText(rules.deadlineShownMs)));
    // One column for the names and one for the addresses over every wave.
    qsizetype nameWidth = 0;
    qsizetype addressWidth = 0;
    for (const RadioEntry& entry : plan.radios) {
        nameWidth = qMax(nameWidth, entry.name.size());
        addressWidth = qMax(addressWidth, entry.address.size());
    }
    for (const QString& rule : RolloutPolicy(rules, int(plan.radios.size())).Describe())
        text += QCoreApplication::translate("RunPlan", "rule: %1").arg(rule) + u'\n';
    int first = 0;
    for (int wave = 0; wave < rules.waves.size(); ++wave) {
        text += QCoreApplication::translate("RunPlan", "wave %1 of %2: %3\n").arg(wave + 1).arg(rules.waves.size()).arg(RadioCount(rules.waves[wave]));
        for (int radio = first; radio < first + rules.waves[wave]; ++radio) {
            const RadioEntry& entry = plan.radios[radio];
            text += QCoreApplication::translate("RunPlan", "  %1  %2  port %3\n")
                        .arg(entry.name.leftJustified(nameWidth), entry.address.leftJustified(addressWidth))
                        .arg(entry.port);
        }
        first += rules.waves[wave];
    }
    for (const QString& note : plan.notes)
        text += QCoreApplication::translate("RunPlan", "note: %1").arg(ShownPath(note)) + u'\n';
    QStringList writes;
    if (!plan.failedList.isEmpty())
        writes << QStringLiteral("--failed ") + ShownPath(plan.failedList);
    if (!plan.logFile.isEmpty())
        writes << QStringLiteral("--log ") + ShownPath(plan.logFile);
    text += QCoreApplication::translate("RunPlan", "writes: %1\n").arg(writes.isEmpty() ? QCoreApplication::translate("RunPlan", "nothing") : writes.join(QCoreApplication::translate("RunPlan", ", ", "between the files a run writes")));
    return text;
}

QJsonObject PlanJson(const RunPlan& plan)
{
    const RolloutRules& rules = plan.rules;
    QJsonObject json = FileFactsJson(plan);
    QJsonArray waves;
    int first = 0;
    for (int size : rules.waves) {
        QJsonArray wave;
        for (int radio = first; radio < first + size; ++radio) {
            const RadioEntry& entry = plan.radios[radio];
            wave.append(QJsonObject{{"radio", entry.name}, {"address", entry.address}, {"port", entry.port}});
        }
        waves.append(wave);
        first += size;
    }
    const auto orNull = [](qint64 value, const QJsonValue& given) { return value > 0 ? given : QJsonValue(); };
    const auto path = [](const QString& file) { return file.isEmpty() ? QJsonValue() : QJsonValue(file); };
    json.insert("event", "plan");
    json.insert("waves", waves);
    json.insert("jobs", plan.jobs);
    json.insert("limit", orNull(rules.failureLimit, rules.failureLimit));
    json.insert("retries", rules.retries);
    json.insert("pause", rules.wavePauseMs / 1000);
    json.insert("deadline", orNull(rules.deadlineShownMs, TimeText(rules.deadlineShownMs)));
    json.insert("notes", QJsonArray::fromStringList(plan.notes));
    json.insert("rules", QJsonArray::fromStringList(RolloutPolicy(rules, int(plan.radios.size())).Describe()));
    json.insert("failed", path(plan.failedList));
    json.insert("log", path(plan.logFile));
    return json;
}
