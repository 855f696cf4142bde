#include "FleetCommand.h"

#include "RunPlan.h"

#include "cli/output/CliReporter.h"
#include "cli/output/FleetOutput.h"
#include "cli/output/JsonRenderer.h"
#include "cli/records/RunRecords.h"
#include "cli/output/StandardOutput.h"
#include "cli/output/Terminal.h"
#include "cli/radios/RadioScan.h"
#include "cli/run/FleetRun.h"
#include "cli/text/CliText.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <QUuid>

#include <limits>

namespace {

// One status for the summary and the process: a signal's (the process ends by it), else 9 once
// an output or a record could not be written, else the run's own.
int RunStatus(int runStatus, bool writeFailed, const Interrupts& interrupts)
{
    if (interrupts.stop.load())
        return interrupts.ExitStatus();
    return writeFailed ? EXIT_OUTPUT_FAILED : runStatus;
}

// What every record of the run shares.
RunFacts FactsOf(const RunPlan& plan, bool check)
{
    RunFacts facts;
    for (const RadioEntry& radio : plan.radios) {
        facts.labels << radio.name;
        facts.rerun << NameWithPort(radio);
        facts.addresses << AddressWithPort(radio);
    }
    facts.fileName = QDir::toNativeSeparators(QFileInfo(plan.fileOpened).absoluteFilePath()); // C:\... on Windows
    facts.fileSize = plan.image.size();
    facts.sha256 = plan.sha256;
    facts.runId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    facts.check = check;
    return facts;
}

// A list that an earlier run left and that holds no radio: nothing is left to do. A check has
// checked the file and tells it. The list to run again is written all the same, empty, so that
// a chain of runs never keeps naming radios updated since.
int NothingLeft(const RunPlan& plan, const CliOptions& options)
{
    const bool json = options.json;
    for (const QString& note : plan.notes)
        Terminal::TextStream(stderr) << "zerlind-firm-update: " << ShownPath(note) << '\n';
    if (!plan.failedList.isEmpty() && !options.plan) {
        RunRecords records(plan.failedList, QString(), 0);
        records.SetFacts(FactsOf(plan, options.check));
        const QString error = records.Finish({}, true);
        if (!error.isEmpty())
            return Refuse(error, EXIT_OUTPUT_FAILED, json);
    }
    Terminal::TextStream out(stdout);
    if (!plan.image.isEmpty()) {
        if (json)
            JsonRenderer::Write(out, FileFactsJson(plan));
        else
            out << FileFactsText(plan) << '\n';
    }
    if (json)
        JsonRenderer::Write(out, JsonRenderer::Summary({}, 0));
    return 0;
}

} // namespace

int Refuse(const QString& text, int exitCode, bool json, bool hintHelp)
{
    Terminal::TextStream err(stderr);
    // A path or a text from the command line may hold control characters: never raw to a terminal.
    err << "zerlind-firm-update: " << Shown(text, std::numeric_limits<int>::max()) << '\n';
    if (hintHelp)
        err << QCoreApplication::translate("FleetCommand", "Try 'zerlind-firm-update --help'.") << '\n';
    if (json) {
        Terminal::TextStream out(stdout);
        JsonRenderer::Write(out, JsonRenderer::Error(text, exitCode));
    }
    return exitCode;
}

int RunSingleRadio(const CliOptions& options, quint16 language, Interrupts& interrupts)
{
    RadioEntry radio;
    QString why;
    if (!ParseRadio(options.addresses.first(), options.port, radio, why))
        return Refuse(QCoreApplication::translate("FleetCommand", "not a radio address: %1 (%2)").arg(Quoted(options.addresses.first()), why),
                      EXIT_BAD_COMMAND_LINE, false);
    // One radio, as it always was: on this thread, with the texts of the desktop program.
    CliReporter reporter(options.quiet, !options.noProgress && Terminal::IsTerminal(stderr),
                          options.timeouts.programMs, &interrupts);
    reporter.SetFileName(options.fileName);
    CUpdateRun run(reporter, language, options.timeouts, radio.port);
    run.SetAbortFlag(&interrupts.stop);
    run.SetProgramAbortFlag(&interrupts.stopWaiting);
    const UpdateResult result = run.Run(options.fileName, radio.host);
    // As the fleet's table says it: stopped waiting is not stopped programming.
    if (result != UpdateResult::Updated && interrupts.stopWaiting.load() && reporter.ToldToProgram())
        Terminal::TextStream(stderr) << "zerlind-firm-update: "
                                     << QCoreApplication::translate("FleetCommand", "%1: may still be programming; do not switch it off")
                                            .arg(radio.name)
                                     << '\n';
    return interrupts.stop.load() ? interrupts.ExitStatus() : ExitCodeFor(result);
}

int RunFleet(const CliOptions& options, quint16 language, HostResolver& resolver, Interrupts& interrupts)
{
    RunPlan plan;
    QString error;
    const int refused =
        BuildRunPlan(options, language, resolver, interrupts, QDateTime::currentMSecsSinceEpoch(), plan, error);
    // Interrupted while names were looked up: said as every other end before the run, by the
    // signal's status.
    if (refused == EXIT_INTERRUPTED)
        return Refuse(QCoreApplication::translate("FleetCommand", "interrupted while looking up radio names"), interrupts.ExitStatus(), options.json);
    if (refused != 0)
        return Refuse(error, refused, options.json);
    if (plan.radios.isEmpty())
        return NothingLeft(plan, options);
    if (options.plan) {
        Terminal::TextStream out(stdout);
        if (options.json)
            JsonRenderer::Write(out, PlanJson(plan));
        else
            out << PlanText(plan);
        return 0;
    }

    // The plan stands: only now is anything made (the log's folder, the log), and once.
    RunRecords records(plan.failedList, options.check ? QString() : plan.logFile, int(plan.radios.size()));
    if (!records.Open(error))
        return Refuse(error, EXIT_BAD_COMMAND_LINE, options.json);
    FleetOutput::Settings settings;
    for (const RadioEntry& radio : plan.radios) {
        settings.labels << radio.name;
        settings.addresses << radio.address;
    }
    settings.sha256 = plan.sha256;
    settings.json = options.json;
    settings.quiet = options.quiet;
    settings.progress = !options.noProgress && !options.check && Terminal::CanDrawInPlace();
    settings.programTimeoutMs = options.timeouts.programMs;
    settings.waves = qMax(1, int(plan.rules.waves.size()));
    settings.wavePauseMs = plan.rules.wavePauseMs;
    settings.interrupts = &interrupts;
    FleetOutput output(settings);
    records.SetFacts(FactsOf(plan, options.check));
    records.Start(output, interrupts);
    FleetRun fleet(output, plan.radios, plan.jobs, interrupts);
    for (const QString& note : plan.notes)
        output.Note(ShownPath(note));

    if (options.check) {
        output.Fact(FileFactsText(plan), FileFactsJson(plan));
        QVector<RadioOutcome> outcomes;
        const int exitCode = fleet.Check(options.timeouts.connectMs, outcomes);
        // The radios that did not answer, as a list to run again on; not after an interrupt,
        // which leaves radios unchecked.
        const QString recordError = records.Finish(outcomes, !interrupts.stop.load());
        if (!output.Finish())
            EndByInterrupt(interrupts);
        return RunStatus(exitCode, output.WriteFailed() || !recordError.isEmpty(), interrupts);
    }

    const QVector<RadioOutcome> outcomes = fleet.Update(plan.image, language, options.timeouts, plan.rules);
    // The records are whole before the terminal hears the end: whatever it does, they are kept.
    const QString recordError = records.Finish(outcomes, true);
    // The summary says the status the process ends with (the output settles a failure of its
    // own before it writes the summary).
    const int exitCode = RunStatus(FleetRun::ExitCode(outcomes, interrupts), output.WriteFailed() || !recordError.isEmpty(), interrupts);
    output.Summary(outcomes, exitCode);
    if (!output.Finish())
        EndByInterrupt(interrupts);
    return RunStatus(exitCode, output.WriteFailed(), interrupts);
}

int RunScan(const CliOptions& options, Interrupts& interrupts)
{
    quint32 first = 0;
    quint32 last = 0;
    switch (ParseScanNetwork(options.scanNetwork, first, last)) {
    case ScanNetworkParse::Malformed:
        return Refuse(BadValue(QStringLiteral("scan"), options.scanNetwork, QCoreApplication::translate("CliOptions", SCAN_NETWORK_FORM)),
                      EXIT_BAD_COMMAND_LINE, options.json);
    case ScanNetworkParse::TooLarge:
        return Refuse(QCoreApplication::translate("FleetCommand", "--scan covers at most a /%1 network").arg(MIN_SCAN_PREFIX), EXIT_BAD_COMMAND_LINE,
                      options.json);
    case ScanNetworkParse::Ok:
        break;
    }
    const QList<QHostAddress> found =
        ScanForRadios(first, last, options.port, options.timeouts.connectMs, interrupts.stop);
    const int exitCode = interrupts.stop.load() ? interrupts.ExitStatus() : found.isEmpty() ? EXIT_NOT_REACHED : 0;
    const qint64 scanned = qint64(last) - qint64(first) + 1;
    Terminal::TextStream out(stdout);
    for (const QHostAddress& address : found) {
        if (options.json)
            JsonRenderer::Write(out, JsonRenderer::Found(address.toString()));
        else
            out << address.toString() << '\n';
    }
    if (options.json)
        JsonRenderer::Write(out, JsonRenderer::ScanSummary(scanned, int(found.size()), exitCode));
    out.flush();
    // Whole sentences, so that each language says its own number forms.
    const char* const said[2][2] = {
        {QT_TRANSLATE_NOOP("FleetCommand", "scanned %1 address, found %2 radio"),
         QT_TRANSLATE_NOOP("FleetCommand", "scanned %1 address, found %2 radios")},
        {QT_TRANSLATE_NOOP("FleetCommand", "scanned %1 addresses, found %2 radio"),
         QT_TRANSLATE_NOOP("FleetCommand", "scanned %1 addresses, found %2 radios")},
    };
    Terminal::TextStream(stderr) << QCoreApplication::translate("FleetCommand", said[scanned != 1][found.size() != 1])
                                        .arg(scanned)
                                        .arg(found.size())
                                 << '\n';
    return exitCode;
}
