#include "SimOptions.h"

#include "cli/text/CliText.h"

#include <QCoreApplication>

#include <initializer_list>
#include <limits>

namespace {

constexpr quint8 CMD_DATA = 0;
constexpr quint8 CMD_PROGRAM = 2;
constexpr quint8 CMD_BEGIN = 3;
// The refusing status when none is given: "E", neither accepted, busy nor "no reply".
constexpr int DEFAULT_REFUSE_STATUS = 0x45;

bool ParseNumber(const QString& text, int minimum, int& value)
{
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok, 0);
    if (!ok || n < minimum || n > std::numeric_limits<int>::max())
        return false;
    value = int(n);
    return true;
}

// A status byte: a number (0x45, 69) or one character ("E").
bool ParseStatus(const QString& text, int& value)
{
    if (text.size() == 1 && !text[0].isDigit() && text[0].unicode() < 0x80) {
        value = text[0].unicode();
        return true;
    }
    return ParseNumber(text, 0, value) && value <= 0xFF;
}

// "VALUE@AT" (busy) or "AT=VALUE" (refuse, slow): splits at `separator`.
bool SplitPair(const QString& text, QChar separator, QString& left, QString& right)
{
    const qsizetype at = text.indexOf(separator);
    if (at <= 0 || at == text.size() - 1)
        return false;
    left = text.left(at);
    right = text.mid(at + 1);
    return true;
}

// "ADDR", "ADDR:PORT", "[V6]:PORT", or a range of IPv4 addresses "FIRST-LAST[:PORT]".
bool ParseListen(const QString& text, QVector<SimRadio>& radios)
{
    QHostAddress single;
    if (single.setAddress(text)) {
        radios.push_back({single, 0});
        return true;
    }
    QString hosts = text;
    int port = 0;
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon > 0) {
        if (!ParseNumber(text.mid(colon + 1), 1, port) || port > 65535)
            return false;
        hosts = text.left(colon);
        if (hosts.startsWith(u'[') && hosts.endsWith(u']'))
            hosts = hosts.mid(1, hosts.size() - 2);
    }
    QHostAddress first;
    QHostAddress last;
    const qsizetype dash = hosts.indexOf(u'-');
    if (dash < 0)
        return first.setAddress(hosts) && (radios.push_back({first, quint16(port)}), true);
    if (!first.setAddress(hosts.left(dash)) || !last.setAddress(hosts.mid(dash + 1))
        || first.protocol() != QAbstractSocket::IPv4Protocol || last.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    const quint32 from = first.toIPv4Address();
    const quint32 to = last.toIPv4Address();
    if (to < from || to - from >= quint32(MAX_SIM_RADIOS))
        return false;
    for (quint32 a = from; a <= to; ++a)
        radios.push_back({QHostAddress(a), quint16(port)});
    return true;
}

// A fault's value may name its radio first: "ADDR/VALUE".
bool TakeFaultRadio(QString& value, QHostAddress& radio)
{
    const qsizetype slash = value.indexOf(u'/');
    if (slash < 0)
        return true;
    if (!radio.setAddress(value.left(slash)))
        return false;
    value = value.mid(slash + 1);
    return true;
}

} // namespace

QVector<SimRadio> SimOptions::Radios() const
{
    QVector<SimRadio> all = radios;
    if (all.isEmpty())
        all.push_back({QHostAddress(QStringLiteral("127.0.0.1")), 0});
    for (SimRadio& radio : all) {
        if (radio.port == 0)
            radio.port = port;
    }
    return all;
}

SimOptions SimOptions::ForRadio(const SimRadio& radio) const
{
    SimOptions own = *this;
    own.radios = {radio};
    own.faults.clear();
    for (const SimFault& fault : faults) {
        if (fault.radio.isNull() || fault.radio.isEqual(radio.address, QHostAddress::TolerantConversion))
            own.faults.push_back(fault);
    }
    own.saveFile.replace(QLatin1String("%a"), radio.address.toString());
    return own;
}

bool RequestSelector::Matches(int requestIndex, quint8 command, int dataIndex) const
{
    switch (kind) {
    case Kind::Index:
        return requestIndex == number;
    case Kind::Begin:
        return command == CMD_BEGIN;
    case Kind::Data:
        return command == CMD_DATA;
    case Kind::DataIndex:
        return command == CMD_DATA && dataIndex == number;
    case Kind::Program:
        return command == CMD_PROGRAM;
    case Kind::All:
        return true;
    }
    return false;
}

bool RequestSelector::Parse(const QString& text, RequestSelector& selector)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("begin"))
        selector = {Kind::Begin, 0};
    else if (t == QLatin1String("data"))
        selector = {Kind::Data, 0};
    else if (t == QLatin1String("program"))
        selector = {Kind::Program, 0};
    else if (t == QLatin1String("all"))
        selector = {Kind::All, 0};
    else if (t.startsWith(QLatin1String("data:"))) {
        selector.kind = Kind::DataIndex;
        return ParseNumber(t.mid(5), 1, selector.number);
    } else {
        selector.kind = Kind::Index;
        return ParseNumber(t, 1, selector.number);
    }
    return true;
}

const SimFault* SimOptions::FaultFor(SimFault::Kind kind, int requestIndex, quint8 command, int dataIndex) const
{
    for (const SimFault& f : faults) {
        if (f.kind == kind && f.at.Matches(requestIndex, command, dataIndex))
            return &f;
    }
    return nullptr;
}

ParseOutcome ParseSimOptions(const QStringList& arguments, SimOptions& options, QString& error)
{
    // Options taking a value, each as "--name VALUE" or "--name=VALUE".
    const QStringList faultOptions = {"busy", "refuse", "silent", "close", "bang", "split", "slow"};
    const QStringList valued = QStringList{"listen", "port", "sessions", "program-delay", "save", "faulty-sessions"} + faultOptions;
    for (int i = 1; i < arguments.size(); ++i) {
        QString arg = arguments[i];
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help"))
            return ParseOutcome::Help;
        if (arg == QLatin1String("--version"))
            return ParseOutcome::Version;
        if (!arg.startsWith(QLatin1String("--"))) {
            error = QCoreApplication::translate("SimOptions", "unexpected argument: %1").arg(arg);
            return ParseOutcome::Error;
        }
        arg = arg.mid(2);
        QString value;
        const qsizetype eq = arg.indexOf(u'=');
        const QString name = eq >= 0 ? arg.left(eq) : arg;
        if (valued.contains(name)) {
            if (eq >= 0)
                value = arg.mid(eq + 1);
            else if (i + 1 < arguments.size())
                value = arguments[++i];
            else {
                error = QCoreApplication::translate("SimOptions", "--%1 needs a value").arg(name);
                return ParseOutcome::Error;
            }
        } else if (eq >= 0) {
            error = QCoreApplication::translate("SimOptions", "--%1 takes no value").arg(name);
            return ParseOutcome::Error;
        }

        bool ok = true;
        int number = 0;
        SimFault fault{SimFault::Kind::Busy, {}, 0, {}};
        QString left, right;
        if (faultOptions.contains(name) && !TakeFaultRadio(value, fault.radio)) {
            ok = false;
        } else if (name == QLatin1String("listen")) {
            ok = ParseListen(value, options.radios) && options.radios.size() <= MAX_SIM_RADIOS;
        } else if (name == QLatin1String("port")) {
            ok = ParseNumber(value, 1, number) && number <= 65535;
            options.port = quint16(number);
        } else if (name == QLatin1String("sessions")) {
            ok = ParseNumber(value, 0, options.sessions);
        } else if (name == QLatin1String("program-delay")) {
            ok = ParseNumber(value, 0, options.programDelayMs);
        } else if (name == QLatin1String("faulty-sessions")) {
            ok = ParseNumber(value, 1, options.faultySessions);
        } else if (name == QLatin1String("save")) {
            options.saveFile = value;
        } else if (name == QLatin1String("wrong-echo")) {
            options.wrongEcho = true;
        } else if (name == QLatin1String("no-program-reply")) {
            options.faults.push_back({SimFault::Kind::Silent, {RequestSelector::Kind::Program, 0}, 0, {}});
        } else if (name == QLatin1String("busy")) {
            fault.kind = SimFault::Kind::Busy;
            ok = SplitPair(value, u'@', left, right) && ParseNumber(left, 1, fault.value)
                 && RequestSelector::Parse(right, fault.at);
            options.faults.push_back(fault);
        } else if (name == QLatin1String("refuse")) {
            fault.kind = SimFault::Kind::Refuse;
            fault.value = DEFAULT_REFUSE_STATUS;
            if (value.contains(u'='))
                ok = SplitPair(value, u'=', left, right) && RequestSelector::Parse(left, fault.at)
                     && ParseStatus(right, fault.value);
            else
                ok = RequestSelector::Parse(value, fault.at);
            options.faults.push_back(fault);
        } else if (name == QLatin1String("slow")) {
            fault.kind = SimFault::Kind::Slow;
            ok = SplitPair(value, u'=', left, right) && RequestSelector::Parse(left, fault.at)
                 && ParseNumber(right, 0, fault.value);
            options.faults.push_back(fault);
        } else if (name == QLatin1String("silent") || name == QLatin1String("close")
                   || name == QLatin1String("bang") || name == QLatin1String("split")) {
            fault.kind = name == QLatin1String("silent") ? SimFault::Kind::Silent
                         : name == QLatin1String("close") ? SimFault::Kind::Close
                         : name == QLatin1String("bang")  ? SimFault::Kind::Bang
                                                          : SimFault::Kind::Split;
            ok = RequestSelector::Parse(value, fault.at);
            options.faults.push_back(fault);
        } else {
            error = QCoreApplication::translate("SimOptions", "unknown option: --%1").arg(name);
            return ParseOutcome::Error;
        }
        if (!ok) {
            error = QCoreApplication::translate("SimOptions", "bad value for --%1: %2").arg(name, value);
            return ParseOutcome::Error;
        }
    }
    return ParseOutcome::Run;
}

namespace {

// The help's texts, in the program's language; what they name as typed (options, selectors, the
// lines that scripts read) stays as it is.
QString HelpText(const char* text)
{
    return QCoreApplication::translate("SimOptions", text);
}

// An option of the help: its name and value as typed, and its meaning, one line per '\n'.
struct HelpOption {
    const char* typed;
    const char* meaning;
};

// Where the options' meanings start.
constexpr int OPTION_COLUMN = 25;

QString OptionLines(std::initializer_list<HelpOption> options)
{
    QString text;
    for (const HelpOption& option : options) {
        const QStringList lines = HelpText(option.meaning).split(u'\n');
        text += QString::fromLatin1(option.typed).leftJustified(OPTION_COLUMN) + lines.first() + u'\n';
        for (const QString& line : lines.mid(1))
            text += QString(OPTION_COLUMN, u' ') + line + u'\n';
    }
    return text;
}

// A line of the selectors' table: one or two selectors, each with its meaning. The second
// selector's column is found by display width, as its left neighbour is translated.
struct HelpSelectors {
    const char* first;
    const char* firstMeaning;
    const char* second = nullptr;
    const char* secondMeaning = nullptr;
};

constexpr int SELECTOR_WIDTH = 11;
constexpr int SELECTOR_MEANING_WIDTH = 27;

QString SelectorLines(std::initializer_list<HelpSelectors> rows)
{
    QString text;
    for (const HelpSelectors& row : rows) {
        const QStringList lines = HelpText(row.firstMeaning).split(u'\n');
        text += QStringLiteral("  ") + QString::fromLatin1(row.first).leftJustified(SELECTOR_WIDTH);
        if (row.second)
            text += PadWidth(lines.first(), SELECTOR_MEANING_WIDTH) + QString::fromLatin1(row.second).leftJustified(SELECTOR_WIDTH)
                    + HelpText(row.secondMeaning) + u'\n';
        else
            text += lines.first() + u'\n';
        for (const QString& line : lines.mid(1))
            text += QString(2 + SELECTOR_WIDTH, u' ') + line + u'\n';
    }
    return text;
}

} // namespace

QString SimHelpText()
{
    // The lines that scripts and tests read stay English: the help shows them as they come.
    const QString listening = QStringLiteral("listening on ADDR:PORT");
    const QString summary = QStringLiteral("session=N peer=ADDR:PORT requests=R busy=B bytes=S sha256=HEX outcome=WHAT radio=ADDR:PORT peak=P");
    QString text = HelpText(QT_TRANSLATE_NOOP("SimOptions", "Usage: zerlind-radio-sim [OPTION]...\n"
                                                            "Plays the Zerlind radio's firmware update service on TCP, with faults on demand; one process\n"
                                                            "serves one radio or many.\n"
                                                            "\n"));
    text += HelpText(QT_TRANSLATE_NOOP("SimOptions", "Each radio listens on its own address and port, takes each request as 8 header bytes (0x10, the\n"
                                                     "command, the payload length little-endian, four zero bytes) plus the payload, and answers it with\n"
                                                     "two bytes: 0x10 and the status \" \" (accepted). After the first data block it adds image bytes 4\n"
                                                     "to 7 as an echo. It keeps the image (the data payloads after \"begin\", in order) and answers the\n"
                                                     "program command after --program-delay. Once every radio listens it prints one line per radio,\n"
                                                     "\"%1\". When a session ends it prints one line:\n"
                                                     "  %2\n"
                                                     "where N counts the radio's sessions, requests counts every request received (resends included),\n"
                                                     "busy the busy answers, bytes and sha256 describe the image received, WHAT is one of programmed,\n"
                                                     "refused, closed-by-fault, client-closed, protocol-error, radio is the radio that served it, and\n"
                                                     "P is the most sessions of all radios in progress at once so far (a session is in progress from\n"
                                                     "its first request until the answer to the program command has gone or the connection ends).\n"
                                                     "\n"))
                .arg(listening, summary);
    text += HelpText(QT_TRANSLATE_NOOP("SimOptions", "Where to listen:\n"));
    text += OptionLines({
        {"  --listen ADDR[:PORT]", QT_TRANSLATE_NOOP("SimOptions", "a radio's address (default: one radio on 127.0.0.1); repeat it for\n"
                                                                   "more radios, or give a range of IPv4 addresses: FIRST-LAST[:PORT],\n"
                                                                   "such as 127.0.0.10-127.0.0.17 (at most 1024 radios)")},
        {"  --port N", QT_TRANSLATE_NOOP("SimOptions", "TCP port of radios given without one (default 1111)")},
        {"  --sessions N", QT_TRANSLATE_NOOP("SimOptions", "each radio serves N sessions; once all have, exit with status 0\n"
                                                           "(default 0: until stopped)")},
    });
    text += u'\n' + HelpText(QT_TRANSLATE_NOOP("SimOptions", "How the radios behave:\n"));
    text += OptionLines({
        {"  --program-delay MS", QT_TRANSLATE_NOOP("SimOptions", "time a radio takes to program before it answers (default 0)")},
        {"  --save FILE", QT_TRANSLATE_NOOP("SimOptions", "write the received image to FILE when the program command arrives;\n"
                                                          "\"%a\" in FILE stands for the radio's address")},
    });
    text += u'\n' + HelpText(QT_TRANSLATE_NOOP("SimOptions", "Faults. AT picks the requests a fault applies to:\n"));
    text += SelectorLines({
        {"N", QT_TRANSLATE_NOOP("SimOptions", "the N-th request of the session (1 is \"begin\"; a resend after a busy answer keeps\n"
                                              "the number of the request it repeats)")},
        {"begin", QT_TRANSLATE_NOOP("SimOptions", "the begin command"), "program", QT_TRANSLATE_NOOP("SimOptions", "the program command")},
        {"data", QT_TRANSLATE_NOOP("SimOptions", "every data request"), "data:K",
         QT_TRANSLATE_NOOP("SimOptions", "the K-th data request (data:1 = first block)")},
        {"all", QT_TRANSLATE_NOOP("SimOptions", "every request")},
    });
    text += HelpText(QT_TRANSLATE_NOOP("SimOptions", "A fault applies to every radio unless its value starts with one radio's address and a slash,\n"
                                                     "as in --refuse 127.0.0.12/program. Each fault option may be given more than once; the first that\n"
                                                     "matches a request applies.\n"));
    text += OptionLines({
        {"  --busy COUNT@AT", QT_TRANSLATE_NOOP("SimOptions", "answer busy (\"@\") COUNT times to the request, then as usual")},
        {"  --refuse AT[=STATUS]", QT_TRANSLATE_NOOP("SimOptions", "answer with STATUS instead of accepting (a number such as 0x00 or 69,\n"
                                                                   "or one character; default \"E\", 0x45). The session goes on.")},
        {"  --silent AT", QT_TRANSLATE_NOOP("SimOptions", "never answer the request; the connection stays open")},
        {"  --no-program-reply", QT_TRANSLATE_NOOP("SimOptions", "the same as --silent program")},
        {"  --close AT", QT_TRANSLATE_NOOP("SimOptions", "close the connection instead of answering")},
        {"  --faulty-sessions N", QT_TRANSLATE_NOOP("SimOptions", "the faults apply to each radio's first N sessions only; later\n"
                                                                  "sessions go well (default: every session)")},
        {"  --wrong-echo", QT_TRANSLATE_NOOP("SimOptions", "the echo after the first data block differs from image bytes 4 to 7")},
        {"  --bang AT", QT_TRANSLATE_NOOP("SimOptions", "accept with \"!\" instead of \" \"")},
        {"  --split AT", QT_TRANSLATE_NOOP("SimOptions", "send the answer one byte per TCP segment, 2 ms apart")},
        {"  --slow AT=MS", QT_TRANSLATE_NOOP("SimOptions", "wait MS milliseconds before answering")},
    });
    text += u'\n';
    text += OptionLines({
        {"  -h, --help", QT_TRANSLATE_NOOP("SimOptions", "show this text and exit")},
        {"      --version", QT_TRANSLATE_NOOP("SimOptions", "show the version and exit")},
    });
    text += u'\n' + HelpText(QT_TRANSLATE_NOOP("SimOptions", "Requests that break the format (wrong marker, length over 1024, unknown command) end the session\n"
                                                             "with outcome protocol-error. Examples:\n"));
    text += QStringLiteral("  zerlind-radio-sim --listen 127.0.0.5 --sessions 1\n"
                           "  zerlind-radio-sim --busy 30@data:3 --program-delay 2000\n"
                           "  zerlind-radio-sim --refuse program=0x00 --save /tmp/received.dat\n"
                           "  zerlind-radio-sim --listen 127.0.0.10-127.0.0.17 --sessions 1 --slow all=1 \\\n"
                           "                    --refuse 127.0.0.12/program --silent 127.0.0.15/data:3\n");
    return text;
}
