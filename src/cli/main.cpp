// zerlind-firm-update: the update run of the desktop program, without a window; and the same
// for many radios at once, a pre-flight check and a scan for radios.
#include "CliOptions.h"
#include "CliReporter.h"
#include "FleetOutput.h"
#include "FleetRun.h"
#include "RadioList.h"
#include "RadioScan.h"
#include "Terminal.h"

#include "base/Language.h"
#include "base/MessageCatalog.h"
#include "base/Platform.h"
#include "base/Release.h"
#include "engine/FirmwareImage.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QTextStream>

#include <atomic>

namespace {

// The exit status for a command line that cannot be used.
constexpr int EXIT_BAD_COMMAND_LINE = 2;
// The exit statuses of the check and the scan share the update's meanings.
constexpr int EXIT_FILE = 3;
constexpr int EXIT_NOT_REACHED = 4;

int BadCommandLine(const QString& error)
{
    QTextStream(stderr) << "zerlind-firm-update: " << error << "\nTry 'zerlind-firm-update --help'.\n";
    return EXIT_BAD_COMMAND_LINE;
}

// Set by SIGINT or SIGTERM; every thread of the run looks at it.
std::atomic<bool> g_stop{false};

int Scan(const CliOptions& options)
{
    quint32 first = 0;
    quint32 last = 0;
    switch (ParseScanNetwork(options.scanNetwork, first, last)) {
    case ScanNetworkParse::Malformed:
        return BadCommandLine(QStringLiteral("bad value for --scan: '%1'").arg(options.scanNetwork));
    case ScanNetworkParse::TooLarge:
        return BadCommandLine(QStringLiteral("--scan covers at most a /%1 network").arg(MIN_SCAN_PREFIX));
    case ScanNetworkParse::Ok:
        break;
    }
    const QList<QHostAddress> found = ScanForRadios(first, last, options.port, options.timeouts.connectMs, g_stop);
    QTextStream out(stdout);
    for (const QHostAddress& address : found) {
        if (options.json)
            out << R"({"event":"found","radio":")" << address.toString() << "\"}\n";
        else
            out << address.toString() << '\n';
    }
    out.flush();
    if (g_stop.load())
        return EXIT_INTERRUPTED;
    return found.isEmpty() ? EXIT_NOT_REACHED : 0;
}

int Fleet(const CliOptions& options, quint16 language)
{
    QStringList radios;
    QString error;
    if (!options.radioList.isEmpty() && !ReadRadioList(options.radioList, radios, error))
        return BadCommandLine(error);
    radios += options.addresses;
    if (radios.isEmpty())
        return BadCommandLine(QStringLiteral("no radio: the list is empty and no ADDRESS was given"));
    // Two updates of one radio at once would corrupt it: refused before anything is sent.
    if (FindDuplicateRadio(radios, options.timeouts.connectMs, error))
        return BadCommandLine(error);

    // The file is loaded and checked once, before any connection; every radio gets this copy.
    QByteArray image;
    QString fileError;
    if (!LoadFirmwareFile(options.fileName, language, image, fileError)) {
        QTextStream(stderr) << CCliReporter::TerminalText(fileError) << '\n';
        return EXIT_FILE;
    }

    CFleetOutput::Settings settings;
    settings.radios = radios;
    settings.json = options.json;
    settings.quiet = options.quiet;
    settings.progress = !options.quiet && !options.json && !options.check && Terminal::IsTerminal(stderr);
    settings.stdoutIsTerminal = Terminal::IsTerminal(stdout);
    settings.programTimeoutMs = options.timeouts.programMs;
    CFleetOutput output(settings);
    CFleetRun fleet(output, radios, options.jobs, g_stop);

    if (options.check) {
        const quint64 size = quint64(image.size());
        const quint64 blocks = (size + BLOCK_SIZE - 1) / BLOCK_SIZE;
        const QString sha256 =
            QString::fromLatin1(QCryptographicHash::hash(image, QCryptographicHash::Sha256).toHex());
        output.Report(QStringLiteral("%1: %2 bytes, %3 blocks, SHA-256 %4").arg(options.fileName).arg(size).arg(blocks).arg(sha256),
                      {{"event", "file"}, {"file", options.fileName}, {"size", qint64(size)},
                       {"blocks", qint64(blocks)}, {"sha256", sha256}});
        const int reachable = fleet.Check(options.timeouts.connectMs, options.port);
        const int exitCode = g_stop.load() ? EXIT_INTERRUPTED : reachable == radios.size() ? 0 : EXIT_NOT_REACHED;
        output.Report(QStringLiteral("%1 of %2 radios reachable").arg(reachable).arg(radios.size()),
                      {{"event", "summary"}, {"reachable", reachable},
                       {"unreachable", int(radios.size()) - reachable}, {"exit", exitCode}});
        return exitCode;
    }

    const QVector<RadioOutcome> outcomes = fleet.Update(image, language, options.timeouts, options.port);
    const int exitCode = CFleetRun::ExitCode(outcomes, g_stop.load());
    if (radios.size() > 1 || options.json)
        output.Summary(outcomes, exitCode);
    return exitCode;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);

    CliOptions options;
    QString error;
    switch (ParseCliOptions(app.arguments(), options, error)) {
    case CliParse::Help:
        out << CliHelpText();
        return 0;
    case CliParse::Version:
        out << "zerlind-firm-update (" << FixedText::ProductTitle << ") " << kReleaseVersion << '\n';
        return 0;
    case CliParse::Error:
        return BadCommandLine(error);
    case CliParse::Run:
        break;
    }

    Platform::InitSocketLayer();
    const quint16 language = options.language != 0 ? options.language : ChooseLanguage(SystemLocaleId());
    if (!options.IsFleet()) {
        // One radio, as it always was: on this thread, and an interrupt ends the process.
        CCliReporter reporter(options.quiet, Terminal::IsTerminal(stderr), options.timeouts.programMs);
        CUpdateRun run(reporter, language, options.timeouts, options.port);
        return ExitCodeFor(run.Run(options.fileName, options.addresses.first()));
    }
    Terminal::CatchInterrupts(g_stop);
    return options.scanNetwork.isEmpty() ? Fleet(options, language) : Scan(options);
}
