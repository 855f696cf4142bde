#include "CliOptions.h"

#include "cli/run/RunLimits.h"
#include "cli/text/CliText.h"
#include "cli/text/ExitStatusTable.h"

#include "base/MessageCatalog.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <limits>

namespace {

constexpr qint64 MAX_INT = std::numeric_limits<int>::max();
// Where the help's option lines start their text.
constexpr int HELP_COLUMN = 27;
// Where the help's exit statuses start their meaning, and the width it is wrapped to.
constexpr int STATUS_COLUMN = 7;
constexpr int HELP_WIDTH = 95;

// How an option's value is read, and so what a bad one is told it may be.
enum class Value {
    None,   // a flag
    Number, // a whole number from `minimum` to `maximum`
    Limit,  // a Number, or a share from 1% to 100%
    Choice, // one of the words of the placeholder, split at '|'
    Text,   // anything `store` takes; `accepts` says what that is
};

// Which runs an option means something for; given to any other, it is refused rather than ignored.
enum class Use {
    Any,
    Update,        // the rollout and its records: not with --check or --scan
    UpdateOrCheck, // --failed: the radios to run again on, also those a check did not reach
};

// One option: the help, the range message and the completion all come from this row.
struct OptionSpec {
    const char* name;
    Use use;
    const char* placeholder; // the value as the help names it; nullptr for a flag
    Value kind;
    qint64 minimum;
    qint64 maximum;
    // Keeps the value: `text` as given and, for numbers, `number` in range; false refuses it.
    bool (*store)(CliOptions& options, const QString& text, qint64 number);
    const char* help;        // one line per '\n'
    const char* accepts = nullptr; // Text: what a good value is
    CliParse ends = CliParse::Run; // --help and --version end the parse at once
};

bool ParseNumber(const QString& text, qint64 minimum, qint64 maximum, qint64& value)
{
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok, 10);
    if (!ok || n < minimum || n > maximum)
        return false;
    value = n;
    return true;
}

// "1,5,20%": counts and shares, each at least 1 (a share at most 100%).
bool ParseWaves(const QString& text, QVector<WaveSize>& waves)
{
    waves.clear();
    for (const QString& item : text.split(u',')) {
        WaveSize wave;
        qint64 n = 0;
        wave.share = item.endsWith(u'%');
        if (!ParseNumber(wave.share ? item.chopped(1) : item, 1, wave.share ? 100 : MAX_INT, n))
            return false;
        wave.value = int(n);
        waves << wave;
    }
    return true;
}

// "90s", "15m", "2h", or an RFC 3339 time with its offset ("2026-12-08T18:30:00Z").
bool ParseDeadline(const QString& text, CliOptions& options)
{
    static const QRegularExpression duration(QStringLiteral("^([0-9]{1,9})([smh])$"));
    static const QRegularExpression instant(
        QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}[Tt ][0-9]{2}:[0-9]{2}:[0-9]{2}(\\.[0-9]+)?([Zz]|[+-][0-9]{2}:[0-9]{2})$"));
    const QRegularExpressionMatch match = duration.match(text);
    if (match.hasMatch()) {
        const QString unit = match.captured(2);
        const qint64 seconds = match.captured(1).toLongLong() * (unit == u"h" ? 3600 : unit == u"m" ? 60 : 1);
        options.deadlineSeconds = seconds;
        options.deadlineAt = QDateTime();
        return seconds >= 1 && seconds <= MAX_DEADLINE_SECONDS;
    }
    if (!instant.match(text).hasMatch())
        return false;
    QString iso = text.toUpper();
    iso[10] = u'T';
    options.deadlineSeconds = 0;
    options.deadlineAt = QDateTime::fromString(iso, Qt::ISODateWithMs);
    return options.deadlineAt.isValid();
}

template <typename F>
constexpr auto Store(F f) -> bool (*)(CliOptions&, const QString&, qint64)
{
    return f;
}

const OptionSpec kOptions[] = {
    {"lang", Use::Any, "en|ja", Value::Choice, 0, 0,
     Store([](CliOptions& o, const QString& t, qint64) {
         o.language = t == QLatin1String("ja") ? LanguageJapanese : LanguageEnglishUs;
         return true;
     }),
     QT_TRANSLATE_NOOP("CliOptions", "language of the texts (default: Japanese when the message locale\nis ja_JP, English otherwise)")},
    {"port", Use::Any, "N", Value::Number, 1, 65535,
     Store([](CliOptions& o, const QString&, qint64 n) { return o.port = quint16(n), true; }),
     QT_TRANSLATE_NOOP("CliOptions", "TCP port of the radio's update service (default 1111)")},
    {"connect-timeout", Use::Any, "MS", Value::Number, 1, MAX_INT,
     Store([](CliOptions& o, const QString&, qint64 n) { return o.timeouts.connectMs = int(n), true; }),
     QT_TRANSLATE_NOOP("CliOptions", "longest wait for the connection (default 3000)")},
    {"transfer-timeout", Use::Any, "MS", Value::Number, 1, MAX_INT,
     Store([](CliOptions& o, const QString&, qint64 n) { return o.timeouts.transferMs = int(n), true; }),
     QT_TRANSLATE_NOOP("CliOptions", "longest wait for each reply of the transfer (default 10000)")},
    {"program-timeout", Use::Any, "MS", Value::Number, 1, MAX_INT,
     Store([](CliOptions& o, const QString&, qint64 n) { return o.timeouts.programMs = int(n), true; }),
     QT_TRANSLATE_NOOP("CliOptions", "longest wait while the radio programs (default 180000)")},
    {"quiet", Use::Any, nullptr, Value::None, 0, 0, Store([](CliOptions& o, const QString&, qint64) { return o.quiet = true; }),
     QT_TRANSLATE_NOOP("CliOptions", "no status lines and no progress; failures still go to stderr")},
    {"radios", Use::Any, "LIST", Value::Text, 0, 0,
     Store([](CliOptions& o, const QString& t, qint64) { return o.radioLists << t, !t.isEmpty(); }),
     QT_TRANSLATE_NOOP("CliOptions", "radios from the file LIST (\"-\": standard input), one address a line;\n'#' starts a comment. May be given "
     "more than once; the lists\ncome before the addresses of the command line"),
     QT_TRANSLATE_NOOP("CliOptions", "a file, or - for standard input")},
    {"jobs", Use::Any, "N", Value::Number, 1, MAX_JOBS,
     Store([](CliOptions& o, const QString&, qint64 n) { return o.jobs = int(n), o.jobsGiven = true; }),
     QT_TRANSLATE_NOOP("CliOptions", "how many radios are updated at the same time, 1 to 256 (default 4)")},
    {"json", Use::Any, nullptr, Value::None, 0, 0, Store([](CliOptions& o, const QString&, qint64) { return o.json = true; }),
     QT_TRANSLATE_NOOP("CliOptions", "JSON Lines on stdout instead of text, one object per event")},
    {"no-progress", Use::Any, nullptr, Value::None, 0, 0,
     Store([](CliOptions& o, const QString&, qint64) { return o.noProgress = true; }),
     QT_TRANSLATE_NOOP("CliOptions", "no progress block on the terminal")},
    // A canary of none would let the whole fleet start as if one had gone first.
    {"canary", Use::Update, "N", Value::Number, 1, MAX_INT,
     Store([](CliOptions& o, const QString&, qint64 n) { return o.canary = int(n), true; }),
     QT_TRANSLATE_NOOP("CliOptions", "update the first N radios of the list first; the others only when\nevery one of them was updated, "
     "whatever --max-failures says\n(--waves N,100%)")},
    {"max-failures", Use::Update, "N|P%", Value::Limit, 1, MAX_INT,
     Store([](CliOptions& o, const QString& t, qint64 n) {
         // The last one given wins, in either form.
         const bool share = t.endsWith(u'%');
         o.maxFailuresPercent = share ? int(n) : 0;
         o.maxFailures = share ? 0 : int(n);
         return true;
     }),
     QT_TRANSLATE_NOOP("CliOptions", "start no further radio once N radios (or P% of them, rounded up)\nhave failed")},
    {"waves", Use::Update, "SIZES", Value::Text, 0, 0,
     Store([](CliOptions& o, const QString& t, qint64) { return ParseWaves(t, o.waves); }),
     QT_TRANSLATE_NOOP("CliOptions", "update the radios in waves, each a count or a share of all radios\n(1,5,20%), the last repeating; a "
     "wave starts when the one before\nhas ended; without --max-failures a failed wave is the last"),
     QT_TRANSLATE_NOOP("CliOptions", "counts and shares in order, such as 1,5,20%")},
    {"wave-pause", Use::Update, "SECONDS", Value::Number, 0, 3600,
     Store([](CliOptions& o, const QString&, qint64 n) { return o.wavePauseSeconds = int(n), true; }),
     QT_TRANSLATE_NOOP("CliOptions", "wait this long between two waves (default 0)")},
    {"retries", Use::Update, "N", Value::Number, 0, 10,
     Store([](CliOptions& o, const QString&, qint64 n) { return o.retries = int(n), true; }),
     QT_TRANSLATE_NOOP("CliOptions", "try a radio up to N more times, after 1 s, 2 s, 4 s ... (at most\n30 s), when it failed before the "
     "program command was sent (default 0)")},
    {"deadline", Use::Update, "DURATION|TIME", Value::Text, 0, 0,
     Store([](CliOptions& o, const QString& t, qint64) { return ParseDeadline(t, o); }),
     QT_TRANSLATE_NOOP("CliOptions", "start no radio after this: 90s, 15m, 2h from now, or an RFC 3339\ntime; radios running go on to their end; "
     "a wave pause or a wait\nto try again ends at it. Kept on the steady clock, which no time\nservice steps"),
     QT_TRANSLATE_NOOP("CliOptions", "90s, 15m, 2h up to a week, or an RFC 3339 time within a week such as 2026-12-08T18:30:00Z")},
    {"plan", Use::Update, nullptr, Value::None, 0, 0, Store([](CliOptions& o, const QString&, qint64) { return o.plan = true; }),
     QT_TRANSLATE_NOOP("CliOptions", "print what the run would do (file, rules, waves, radios with their\naddress and port, limits) and exit; "
     "connects to nothing, refuses what\nthe run would refuse")},
    {"failed", Use::UpdateOrCheck, "FILE", Value::Text, 0, 0,
     Store([](CliOptions& o, const QString& t, qint64) { return o.failedList = t, !t.isEmpty(); }),
     QT_TRANSLATE_NOOP("CliOptions", "write the radios not updated (with --check: not reachable) to FILE\nas a radio list, to run again with --radios FILE; "
     "written whole or\nnot at all, also when nothing was left to do; keeps the file's mode.\nFILE may not be the "
     "firmware file, a list or the --log"),
     QT_TRANSLATE_NOOP("CliOptions", "a file name")},
    {"log", Use::Update, "FILE", Value::Text, 0, 0,
     Store([](CliOptions& o, const QString& t, qint64) { return o.logFile = t, !t.isEmpty(); }),
     QT_TRANSLATE_NOOP("CliOptions", "append one JSON record per radio to FILE: the workshop's books, each\nrecord whole or not at all; not "
     "the firmware file, a list or\nthe --failed list"),
     QT_TRANSLATE_NOOP("CliOptions", "a file name")},
    {"check", Use::Any, nullptr, Value::None, 0, 0, Store([](CliOptions& o, const QString&, qint64) { return o.check = true; }),
     QT_TRANSLATE_NOOP("CliOptions", "check FILE (size, blocks, SHA-256) and that each radio accepts a\nconnection, up to 64 at once; sends nothing "
     "to any radio")},
    {"scan", Use::Any, "NETWORK/PREFIX", Value::Text, 0, 0,
     Store([](CliOptions& o, const QString& t, qint64) { return o.scanNetwork = t, !t.isEmpty(); }),
     QT_TRANSLATE_NOOP("CliOptions", "list the addresses of an IPv4 network (prefix 22 to 32) that accept\na connection on the update port; sends "
     "nothing. No FILE"),
     SCAN_NETWORK_FORM},
    {"help", Use::Any, nullptr, Value::None, 0, 0, nullptr, QT_TRANSLATE_NOOP("CliOptions", "show this text and exit"), nullptr, CliParse::Help},
    {"version", Use::Any, nullptr, Value::None, 0, 0, nullptr, QT_TRANSLATE_NOOP("CliOptions", "show the version and exit"), nullptr, CliParse::Version},
};

const OptionSpec* FindOption(const QString& name)
{
    for (const OptionSpec& option : kOptions) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

// What a good value of `option` is, as the "bad value" message says it.
QString Accepted(const OptionSpec& option)
{
    switch (option.kind) {
    case Value::Number:
        return QCoreApplication::translate("CliOptions", "%1 to %2").arg(option.minimum).arg(option.maximum);
    case Value::Limit:
        return QCoreApplication::translate("CliOptions", "%1 to %2, or 1% to 100%").arg(option.minimum).arg(option.maximum);
    case Value::Choice:
        return QString::fromLatin1(option.placeholder)
            .split(u'|')
            .join(QCoreApplication::translate("CliOptions", " or ", "between the words an option takes: en or ja"));
    case Value::Text:
    case Value::None:
        break;
    }
    return QCoreApplication::translate("CliOptions", option.accepts);
}

// Reads `value` by the option's kind and keeps it; false when it is out of range.
bool Take(const OptionSpec& option, const QString& value, CliOptions& options)
{
    qint64 number = 0;
    switch (option.kind) {
    case Value::Number:
        return ParseNumber(value, option.minimum, option.maximum, number) && option.store(options, value, number);
    case Value::Limit:
        return (value.endsWith(u'%') ? ParseNumber(value.chopped(1), 1, 100, number)
                                     : ParseNumber(value, option.minimum, option.maximum, number))
               && option.store(options, value, number);
    case Value::Choice:
        return QString::fromLatin1(option.placeholder).split(u'|').contains(value) && option.store(options, value, 0);
    case Value::Text:
    case Value::None:
        break;
    }
    return option.store(options, value, 0);
}

// Where a line of help text may break: between the words, and in Japanese, which has no spaces,
// between any two wide characters. `spaced`: a space stood before the piece (dropped at a break).
struct Piece {
    QString text;
    bool spaced;
};

QVector<Piece> Pieces(const QString& text)
{
    QVector<Piece> pieces;
    for (const QString& word : text.split(u' ')) {
        bool spaced = true;
        QString run;
        for (const char32_t c : word.toUcs4()) {
            const QString one = QString::fromUcs4(&c, 1);
            if (DisplayWidth(one) == 1) {
                run += one;
                continue;
            }
            if (!run.isEmpty()) {
                pieces.push_back({run, spaced});
                spaced = false;
                run.clear();
            }
            pieces.push_back({one, spaced});
            spaced = false;
        }
        if (!run.isEmpty() || spaced)
            pieces.push_back({run, spaced});
    }
    return pieces;
}

// Japanese punctuation that may not start a line, and brackets that may not end one.
bool ClosesLine(const QString& piece)
{
    return piece.size() == 1 && QStringLiteral("\u3001\u3002\uff09\u300d\uff1a\uff0c").contains(piece[0]);
}
bool OpensLine(const QString& piece)
{
    return piece.size() == 1 && QStringLiteral("\uff08\u300c").contains(piece[0]);
}

// `text` broken into lines of at most HELP_WIDTH display columns, the first after `first`, the
// others indented to `column`.
QString Wrapped(const QString& first, const QString& text, int column)
{
    QString out = first.leftJustified(column);
    int lineWidth = DisplayWidth(out);
    bool lineEmpty = true;
    const QVector<Piece> pieces = Pieces(text);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const Piece& piece = pieces[i];
        // An opening bracket goes to the next line with what it opens, a piece with the
        // punctuation that closes it.
        int keep = DisplayWidth(piece.text);
        qsizetype next = i + 1;
        if (OpensLine(piece.text) && next < pieces.size())
            keep += DisplayWidth(pieces[next++].text);
        for (; next < pieces.size() && !pieces[next].spaced && ClosesLine(pieces[next].text); ++next)
            keep += DisplayWidth(pieces[next].text);
        const int space = piece.spaced ? 1 : 0;
        if (!lineEmpty && !ClosesLine(piece.text) && lineWidth + space + keep > HELP_WIDTH) {
            out += u'\n' + QString(column, u' ');
            lineWidth = column;
            lineEmpty = true;
        }
        const QString add = (lineEmpty || !piece.spaced ? QString() : QStringLiteral(" ")) + piece.text;
        out += add;
        lineWidth += DisplayWidth(add);
        lineEmpty = false;
    }
    return out + u'\n';
}

} // namespace

bool CliOptions::IsFleet() const
{
    return addresses.size() > 1 || !radioLists.isEmpty() || jobsGiven || json || check || !scanNetwork.isEmpty()
           || canary > 0 || maxFailures > 0 || maxFailuresPercent > 0 || !failedList.isEmpty() || !logFile.isEmpty()
           || !waves.isEmpty() || wavePauseSeconds > 0 || retries > 0 || deadlineSeconds > 0 || deadlineAt.isValid()
           || plan;
}

QString BadValue(const QString& name, const QString& value, const QString& accepted)
{
    return QCoreApplication::translate("CliOptions", "bad value for --%1: '%2' (%3)").arg(name, value, accepted);
}

CliParse ParseCliOptions(const QStringList& arguments, CliOptions& options, QString& error)
{
    QStringList positional;
    QVector<const OptionSpec*> given;
    bool optionsEnded = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
#ifdef Q_OS_WIN
        // The ways Windows users ask a program for its help.
        if (!optionsEnded && (arg == QLatin1String("/?") || arg == QLatin1String("-?") || arg == QLatin1String("-h")))
            return CliParse::Help;
#endif
        if (optionsEnded || !arg.startsWith(u'-') || arg == QLatin1String("-")) {
            positional << arg;
            continue;
        }
        if (!arg.startsWith(QLatin1String("--"))) {
            error = QCoreApplication::translate("CliOptions", "unknown option: %1").arg(arg);
            return CliParse::Error;
        }
        const qsizetype eq = arg.indexOf(u'=');
        const QString name = arg.mid(2, eq >= 0 ? eq - 2 : -1);
        const OptionSpec* option = FindOption(name);
        if (!option) {
            error = QCoreApplication::translate("CliOptions", "unknown option: --%1").arg(name);
            return CliParse::Error;
        }
        given << option;
        if (option->kind == Value::None) {
            if (eq >= 0) {
                error = QCoreApplication::translate("CliOptions", "--%1 takes no value").arg(name);
                return CliParse::Error;
            }
            if (option->ends != CliParse::Run)
                return option->ends;
            option->store(options, QString(), 0);
            continue;
        }
        QString value;
        if (eq >= 0) {
            value = arg.mid(eq + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            error = QCoreApplication::translate("CliOptions", "--%1 needs a value").arg(name);
            return CliParse::Error;
        }
        if (!Take(*option, value, options)) {
            error = BadValue(name, value, Accepted(*option));
            return CliParse::Error;
        }
    }
    // An option given where it means nothing would be silently ignored: refused instead.
    for (const OptionSpec* option : given) {
        const bool refused = !options.scanNetwork.isEmpty() ? option->use != Use::Any
                                                            : options.check && option->use == Use::Update;
        if (refused) {
            error = QCoreApplication::translate("CliOptions", "%1 takes no --%2")
                        .arg(options.scanNetwork.isEmpty() ? QStringLiteral("--check") : QStringLiteral("--scan"),
                             QLatin1String(option->name));
            return CliParse::Error;
        }
    }
    if (options.canary > 0 && !options.waves.isEmpty()) {
        error = QCoreApplication::translate("CliOptions", "--canary N is --waves N,100%: give one of them");
        return CliParse::Error;
    }
    if (options.wavePauseSeconds > 0 && options.canary == 0 && options.waves.isEmpty()) {
        error = QCoreApplication::translate("CliOptions", "--wave-pause needs --waves or --canary");
        return CliParse::Error;
    }
    if (!options.scanNetwork.isEmpty()) {
        // A scan takes no file and no radios, and updates nothing.
        if (!positional.isEmpty() || !options.radioLists.isEmpty() || options.check) {
            error = !positional.isEmpty() ? QCoreApplication::translate("CliOptions", "unexpected argument: %1").arg(positional[0])
                                          : QCoreApplication::translate("CliOptions", "--scan takes no --radios and no --check");
            return CliParse::Error;
        }
        return CliParse::Run;
    }
    // With a list the radios may all come from it; without one, at least one ADDRESS follows FILE.
    const int least = options.radioLists.isEmpty() ? 2 : 1;
    if (positional.size() < least) {
        error = least == 2 ? QCoreApplication::translate("CliOptions", "FILE and ADDRESS are required")
                            : QCoreApplication::translate("CliOptions", "FILE is required");
        return CliParse::Error;
    }
    options.fileName = positional[0];
    options.addresses = positional.mid(1);
    return CliParse::Run;
}

QString CliHelpText()
{
    QString text = QCoreApplication::translate("CliOptions", R"(Usage: zerlind-firm-update [OPTION]... FILE ADDRESS [ADDRESS]...
       zerlind-firm-update [OPTION]... --radios LIST FILE [ADDRESS]...
       zerlind-firm-update [OPTION]... --scan NETWORK/PREFIX
Updates the main-processor firmware of a Zerlind radio: reads FILE whole, connects to ADDRESS
(four decimal parts such as 192.168.1.50, a host name, or [IPv6]; ADDRESS:PORT for a port of its
own) on TCP port 1111, sends the image in blocks of 1024 bytes and tells the radio to program it.
With several radios, up to --jobs of them are updated at the same time, each from the same copy
of FILE; host names are looked up once, before anything is sent.

)");
    for (const OptionSpec& option : kOptions) {
        QString line = QStringLiteral("  --") + QLatin1String(option.name);
        if (option.placeholder)
            line += u' ' + QLatin1String(option.placeholder);
        const QStringList help = QCoreApplication::translate("CliOptions", option.help).split(u'\n');
        text += line.leftJustified(HELP_COLUMN - 1) + u' ' + help.first() + u'\n';
        for (const QString& more : help.mid(1))
            text += QString(HELP_COLUMN, u' ') + more + u'\n';
    }
    text += QCoreApplication::translate("CliOptions", R"(
Status lines go to stdout, the failure text to stderr; progress goes to stderr when it is a
terminal. With several radios each line starts with "ADDRESS: " and a table of every radio's
outcome ends the output. A radio named twice is refused before anything is sent. Ctrl-C stops
the run; radios that are programming are waited for until a second Ctrl-C.
An option given again takes the last value given (--radios: every list counts).
Every path loses one pair of double quotes around it. FILE, the lists, --failed and --log are
known by what is opened (through symbolic links, whose chains are written through) and may not
be one file; nothing is made before every check has passed. The records are written apart from
the terminal, as each radio ends; an interrupt ends the run even while its output is stalled.

Exit status (with several radios, that of the first radio in list order that was not updated;
--plan: 0, or what the run would have ended with before sending anything):
)");
    for (const ExitStatusRow& row : kExitStatuses)
        text += Wrapped(QStringLiteral("  %1").arg(int(row.value)), QCoreApplication::translate("ExitStatusTable", row.meaning), STATUS_COLUMN);
    return text;
}
