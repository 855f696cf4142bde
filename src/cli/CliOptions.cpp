#include "CliOptions.h"

#include "FleetRun.h"

#include "base/MessageCatalog.h"

#include <limits>

namespace {

bool ParsePositive(const QString& text, int maximum, int& value)
{
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok, 10);
    if (!ok || n < 1 || n > maximum)
        return false;
    value = int(n);
    return true;
}

} // namespace

bool CliOptions::IsFleet() const
{
    return addresses.size() > 1 || !radioLists.isEmpty() || jobsGiven || json || check || !scanNetwork.isEmpty()
           || canary > 0 || maxFailures > 0 || maxFailuresPercent > 0 || !failedList.isEmpty() || !logFile.isEmpty();
}

int CliOptions::FailureLimit(int radios) const
{
    if (maxFailuresPercent > 0)
        return int((qint64(radios) * maxFailuresPercent + 99) / 100);
    return maxFailures;
}

CliParse ParseCliOptions(const QStringList& arguments, CliOptions& options, QString& error)
{
    QStringList positional;
    bool optionsEnded = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !arg.startsWith(u'-') || arg == QLatin1String("-")) {
            positional << arg;
            continue;
        }
        if (!arg.startsWith(QLatin1String("--"))) {
            error = QStringLiteral("unknown option: %1").arg(arg);
            return CliParse::Error;
        }
        const qsizetype eq = arg.indexOf(u'=');
        const QString name = arg.mid(2, eq >= 0 ? eq - 2 : -1);
        static const QStringList flags = {"help", "version", "quiet", "json", "check", "no-progress"};
        if (flags.contains(name)) {
            if (eq >= 0) {
                error = QStringLiteral("--%1 takes no value").arg(name);
                return CliParse::Error;
            }
            if (name == QLatin1String("help"))
                return CliParse::Help;
            if (name == QLatin1String("version"))
                return CliParse::Version;
            (name == QLatin1String("quiet")  ? options.quiet
             : name == QLatin1String("json") ? options.json
             : name == QLatin1String("check") ? options.check
                                              : options.noProgress) = true;
            continue;
        }
        QString value;
        if (eq >= 0) {
            value = arg.mid(eq + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            error = QStringLiteral("--%1 needs a value").arg(name);
            return CliParse::Error;
        }
        bool ok = true;
        int number = 0;
        constexpr int maxMs = std::numeric_limits<int>::max();
        if (name == QLatin1String("lang")) {
            ok = value == QLatin1String("en") || value == QLatin1String("ja");
            options.language = value == QLatin1String("ja") ? LANG_JAPANESE : LANG_ENGLISH_US;
        } else if (name == QLatin1String("port")) {
            ok = ParsePositive(value, 65535, number);
            options.port = quint16(number);
        } else if (name == QLatin1String("connect-timeout")) {
            ok = ParsePositive(value, maxMs, options.timeouts.connectMs);
        } else if (name == QLatin1String("transfer-timeout")) {
            ok = ParsePositive(value, maxMs, options.timeouts.transferMs);
        } else if (name == QLatin1String("program-timeout")) {
            ok = ParsePositive(value, maxMs, options.timeouts.programMs);
        } else if (name == QLatin1String("jobs")) {
            ok = ParsePositive(value, MAX_JOBS, options.jobs);
            options.jobsGiven = true;
        } else if (name == QLatin1String("canary")) {
            // 0 is the default, no canary, and may be written out.
            ok = value == QLatin1String("0") || ParsePositive(value, std::numeric_limits<int>::max(), options.canary);
        } else if (name == QLatin1String("max-failures")) {
            ok = value.endsWith(u'%') ? ParsePositive(value.chopped(1), 100, options.maxFailuresPercent)
                                      : ParsePositive(value, std::numeric_limits<int>::max(), options.maxFailures);
        } else if (name == QLatin1String("failed")) {
            ok = !value.isEmpty();
            options.failedList = value;
        } else if (name == QLatin1String("log")) {
            ok = !value.isEmpty();
            options.logFile = value;
        } else if (name == QLatin1String("radios")) {
            ok = !value.isEmpty();
            options.radioLists << value;
        } else if (name == QLatin1String("scan")) {
            ok = !value.isEmpty();
            options.scanNetwork = value;
        } else {
            error = QStringLiteral("unknown option: --%1").arg(name);
            return CliParse::Error;
        }
        if (!ok) {
            error = QStringLiteral("bad value for --%1: '%2'").arg(name, value);
            return CliParse::Error;
        }
    }
    if (!options.scanNetwork.isEmpty()) {
        // A scan takes no file and no radios, and updates nothing.
        if (!positional.isEmpty() || !options.radioLists.isEmpty() || options.check) {
            error = !positional.isEmpty() ? QStringLiteral("unexpected argument: %1").arg(positional[0])
                                          : QStringLiteral("--scan takes no --radios and no --check");
            return CliParse::Error;
        }
        return CliParse::Run;
    }
    // With a list the radios may all come from it; without one, at least one ADDRESS follows FILE.
    const int least = options.radioLists.isEmpty() ? 2 : 1;
    if (positional.size() < least) {
        error = least == 2 ? QStringLiteral("FILE and ADDRESS are required") : QStringLiteral("FILE is required");
        return CliParse::Error;
    }
    options.fileName = positional[0];
    options.addresses = positional.mid(1);
    return CliParse::Run;
}

QString CliHelpText()
{
    return QStringLiteral(R"(Usage: zerlind-firm-update [OPTION]... FILE ADDRESS [ADDRESS]...
       zerlind-firm-update [OPTION]... --radios LIST FILE [ADDRESS]...
       zerlind-firm-update [OPTION]... --scan NETWORK/PREFIX
Updates the main-processor firmware of a Zerlind radio: reads FILE whole, connects to ADDRESS
(four decimal parts such as 192.168.1.50, a host name, or [IPv6]; ADDRESS:PORT for a port of its
own) on TCP port 1111, sends the image in blocks of 1024 bytes and tells the radio to program it.
With several radios, up to --jobs of them are updated at the same time, each from the same copy
of FILE; host names are looked up once, before anything is sent.

  --lang en|ja             language of the texts (default: Japanese when the message locale
                           is ja_JP, English otherwise)
  --port N                 TCP port of the radio's update service (default 1111)
  --connect-timeout MS     longest wait for the connection (default 3000)
  --transfer-timeout MS    longest wait for each reply of the transfer (default 10000)
  --program-timeout MS     longest wait while the radio programs (default 180000)
  --quiet                  no status lines and no progress; failures still go to stderr
  --radios LIST            radios from the file LIST ("-": standard input), one address a line;
                           '#' starts a comment. May be given more than once; the lists
                           come before the addresses of the command line
  --jobs N                 how many radios are updated at the same time, 1 to 64 (default 4)
  --json                   JSON Lines on stdout instead of text, one object per event
  --no-progress            no progress block on the terminal
  --canary N               update the first N radios of the list first; the others only when
                           every one of them was updated
  --max-failures N|P%      start no further radio once N radios (or P% of them, rounded up)
                           have failed
  --failed FILE            write the radios not updated to FILE as a radio list, to run again
                           with --radios FILE
  --log FILE               append one JSON record per radio to FILE: the workshop's books
  --check                  check FILE (size, blocks, SHA-256) and that each radio accepts a
                           connection, up to 64 at once; sends nothing to any radio
  --scan NETWORK/PREFIX    list the addresses of an IPv4 network (prefix 22 to 32) that accept
                           a connection on the update port; sends nothing. No FILE
  --help                   show this text and exit
  --version                show the version and exit

Status lines go to stdout, the failure text to stderr; progress goes to stderr when it is a
terminal. With several radios each line starts with "ADDRESS: " and a table of every radio's
outcome ends the output. A radio named twice is refused before anything is sent. Ctrl-C stops
the run; radios that are programming are waited for until a second Ctrl-C.
Exit status: 0 updated (every radio), 2 bad command line, 3 the firmware file cannot be used,
4 the radio cannot be reached, 5 the transfer failed, 6 the radio refused the program command,
7 no reply to the program command; interrupted: ended by the signal (130, 143). With several
radios, the status of the first radio in list order that was not updated. --check: 0, 3, or 4
when a radio did not answer; --scan: 0 when a radio answered, 4 when none did.
)");
}
