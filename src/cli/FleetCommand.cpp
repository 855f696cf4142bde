#include "FleetCommand.h"

#include "cli/output/CliReporter.h"
#include "cli/output/FleetOutput.h"
#include "cli/output/JsonRenderer.h"
#include "cli/output/RunRecords.h"
#include "cli/output/Terminal.h"
#include "cli/radios/RadioScan.h"
#include "cli/run/FleetRun.h"

#include "engine/FirmwareImage.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonArray>
#include <QTextStream>
#include <QUuid>

namespace {

// The firmware file for every radio, loaded and checked once before any connection; false with
// the reason, naming the file, when it cannot be used.
bool LoadImage(const QString& path, quint16 language, QByteArray& image, QString& error)
{
    QString fileError;
    if (LoadFirmwareFile(path, language, image, fileError))
        return true;
    error = CCliReporter::FileProblem(path, fileError);
    return false;
}

// Every radio of the lists and the command line, in that order; false with the error.
bool CollectRadios(const CliOptions& options, QVector<RadioEntry>& radios, QString& error)
{
    for (const QString& list : options.radioLists) {
        if (!ReadRadioList(list, options.port, radios, error))
            return false;
    }
    for (const QString& address : options.addresses) {
        RadioEntry radio;
        QString why;
        if (!ParseRadio(address, options.port, radio, why)) {
            error = QStringLiteral("not a radio address: '%1' (%2)").arg(address, why);
            return false;
        }
        radios << radio;
    }
    return true;
}

} // namespace

int Refuse(const QString& text, int exitCode, bool json, bool hintHelp)
{
    QTextStream err(stderr);
    err << "zerlind-firm-update: " << text << '\n';
    if (hintHelp)
        err << "Try 'zerlind-firm-update --help'.\n";
    if (json) {
        QTextStream(stdout) << CJsonRenderer::Line({{"event", "error"}, {"text", text}, {"exit", exitCode}},
                                                   QDateTime::currentMSecsSinceEpoch())
                            << '\n';
    }
    return exitCode;
}

int RunSingleRadio(const CliOptions& options, quint16 language, Interrupts& interrupts)
{
    RadioEntry radio;
    QString why;
    if (!ParseRadio(options.addresses.first(), options.port, radio, why))
        return Refuse(QStringLiteral("not a radio address: '%1' (%2)").arg(options.addresses.first(), why),
                      EXIT_BAD_COMMAND_LINE, false);
    // One radio, as it always was: on this thread, with the texts of the desktop program.
    CCliReporter reporter(options.quiet, !options.noProgress && Terminal::IsTerminal(stderr),
                          options.timeouts.programMs, &interrupts);
    reporter.SetFileName(options.fileName);
    CUpdateRun run(reporter, language, options.timeouts, radio.port);
    run.SetAbortFlag(&interrupts.stop);
    run.SetProgramAbortFlag(&interrupts.stopWaiting);
    const int exitCode = ExitCodeFor(run.Run(options.fileName, radio.host));
    return interrupts.stop.load() ? EXIT_INTERRUPTED : exitCode;
}

int RunFleet(const CliOptions& options, quint16 language, IHostResolver& resolver, Interrupts& interrupts)
{
    QVector<RadioEntry> radios;
    QString error;
    if (!CollectRadios(options, radios, error))
        return Refuse(error, EXIT_BAD_COMMAND_LINE, options.json);
    if (radios.isEmpty())
        return Refuse(QStringLiteral("no radio: the list is empty and no ADDRESS was given"), EXIT_BAD_COMMAND_LINE,
                      options.json);
    // The same text twice needs no lookup to be refused.
    if (FindDuplicateRadio(radios, error))
        return Refuse(error, EXIT_BAD_COMMAND_LINE, options.json);
    // The records a run leaves must be writable before anything is sent.
    CRunLog log;
    if (!options.failedList.isEmpty() && !CFailedList::CanWrite(options.failedList, error))
        return Refuse(error, EXIT_BAD_COMMAND_LINE, options.json);
    if (!options.logFile.isEmpty() && !log.Open(options.logFile, error))
        return Refuse(error, EXIT_BAD_COMMAND_LINE, options.json);

    QByteArray image;
    if (!LoadImage(options.fileName, language, image, error))
        return Refuse(error, EXIT_FILE, options.json);

    // Every name once, all at once, before anything is sent; each radio then connects to the
    // address its name had here, and two names of one radio are seen as one.
    ResolveLimits limits;
    limits.timeoutMs = options.timeouts.connectMs;
    const ResolveResult resolved = ResolveRadios(radios, resolver, limits, interrupts.stop, [](int names) {
        QTextStream(stderr) << "zerlind-firm-update: resolving " << names << (names == 1 ? " name\n" : " names\n");
    });
    if (resolved == ResolveResult::Interrupted)
        return EXIT_INTERRUPTED;
    if (!options.check) {
        for (const RadioEntry& radio : radios) {
            if (radio.address.isEmpty())
                return Refuse(QStringLiteral("%1: no such radio name (no address within %2 ms)")
                                  .arg(radio.host)
                                  .arg(limits.timeoutMs),
                              EXIT_BAD_COMMAND_LINE, options.json);
        }
    }
    if (FindDuplicateRadio(radios, error))
        return Refuse(error, EXIT_BAD_COMMAND_LINE, options.json);

    const QString sha256 = QString::fromLatin1(QCryptographicHash::hash(image, QCryptographicHash::Sha256).toHex());
    CFleetOutput::Settings settings;
    for (const RadioEntry& radio : radios) {
        settings.labels << radio.name;
        settings.addresses << radio.address;
    }
    settings.sha256 = sha256;
    settings.json = options.json;
    settings.quiet = options.quiet;
    settings.progress = !options.noProgress && !options.check && Terminal::CanDrawInPlace();
    settings.programTimeoutMs = options.timeouts.programMs;
    RunFacts facts;
    facts.labels = settings.labels;
    facts.addresses = settings.addresses;
    facts.fileName = options.fileName;
    facts.fileSize = image.size();
    facts.sha256 = sha256;
    facts.runId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    log.SetFacts(facts);
    CFailedList failedList(options.failedList, facts);
    if (!options.check) {
        if (!options.failedList.isEmpty())
            settings.more.push_back(&failedList);
        if (!options.logFile.isEmpty())
            settings.more.push_back(&log);
    }
    CFleetOutput output(settings);
    CFleetRun fleet(output, radios, options.jobs, interrupts);

    if (options.check) {
        const quint64 size = quint64(image.size());
        const quint64 blocks = (size + BLOCK_SIZE - 1) / BLOCK_SIZE;
        output.Fact(QStringLiteral("%1: %2 bytes, %3 blocks, SHA-256 %4").arg(options.fileName).arg(size).arg(blocks).arg(sha256),
                    {{"event", "file"}, {"file", options.fileName}, {"size", qint64(size)},
                     {"blocks", qint64(blocks)}, {"sha256", sha256}});
        const QStringList unreachable = fleet.Check(options.timeouts.connectMs);
        const int exitCode = interrupts.stop.load() ? EXIT_INTERRUPTED : unreachable.isEmpty() ? 0 : EXIT_NOT_REACHED;
        const int reachable = int(radios.size() - unreachable.size());
        QString text = QStringLiteral("%1 of %2 radios reachable").arg(reachable).arg(radios.size());
        if (!unreachable.isEmpty())
            text += QStringLiteral("; not reachable: ") + unreachable.join(QStringLiteral(", "));
        output.Fact(text, {{"event", "summary"}, {"reachable", reachable}, {"unreachable", QJsonArray::fromStringList(unreachable)},
                           {"exit", exitCode}});
        return exitCode;
    }

    RolloutRules rules;
    rules.canary = options.canary;
    rules.failureLimit = options.FailureLimit(int(radios.size()));
    const QVector<RadioOutcome> outcomes = fleet.Update(image, language, options.timeouts, rules);
    const int exitCode = CFleetRun::ExitCode(outcomes, interrupts.stop.load());
    output.Summary(outcomes, exitCode);
    return exitCode;
}

int RunScan(const CliOptions& options, Interrupts& interrupts)
{
    quint32 first = 0;
    quint32 last = 0;
    switch (ParseScanNetwork(options.scanNetwork, first, last)) {
    case ScanNetworkParse::Malformed:
        return Refuse(BadValue(QStringLiteral("scan"), options.scanNetwork, QLatin1String(SCAN_NETWORK_FORM)),
                      EXIT_BAD_COMMAND_LINE, options.json);
    case ScanNetworkParse::TooLarge:
        return Refuse(QStringLiteral("--scan covers at most a /%1 network").arg(MIN_SCAN_PREFIX), EXIT_BAD_COMMAND_LINE,
                      options.json);
    case ScanNetworkParse::Ok:
        break;
    }
    const QList<QHostAddress> found =
        ScanForRadios(first, last, options.port, options.timeouts.connectMs, interrupts.stop);
    const int exitCode = interrupts.stop.load() ? EXIT_INTERRUPTED : found.isEmpty() ? EXIT_NOT_REACHED : 0;
    const qint64 scanned = qint64(last) - qint64(first) + 1;
    QTextStream out(stdout);
    for (const QHostAddress& address : found) {
        if (options.json)
            out << CJsonRenderer::Line({{"event", "found"}, {"radio", address.toString()}}, QDateTime::currentMSecsSinceEpoch()) << '\n';
        else
            out << address.toString() << '\n';
    }
    if (options.json) {
        out << CJsonRenderer::Line({{"event", "summary"}, {"scanned", scanned}, {"found", int(found.size())}, {"exit", exitCode}},
                                   QDateTime::currentMSecsSinceEpoch())
            << '\n';
    }
    out.flush();
    QTextStream(stderr) << "scanned " << scanned << (scanned == 1 ? " address, found " : " addresses, found ")
                        << found.size() << (found.size() == 1 ? " radio\n" : " radios\n");
    return exitCode;
}
