#include "RadioList.h"

#include "base/Platform.h"
#include "cli/text/CliText.h"

#include "engine/RadioAddress.h"
#include "engine/UpdateProtocol.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QHostAddress>
#include <QRegularExpression>
#include <QStringDecoder>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

bool ParsePort(const QString& text, quint16& port)
{
    // Digits only: no sign, no blanks, no other base.
    if (text.isEmpty() || text.size() > 5)
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    const int value = text.toInt();
    if (value < 1 || value > 65535)
        return false;
    port = quint16(value);
    return true;
}

// The text with the comment cut off: '#' at the start or after a blank.
QString WithoutComment(const QString& line)
{
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'#' && (i == 0 || line[i - 1].isSpace()))
            return line.left(i);
    }
    return line;
}

// The same address in one spelling: ::ffff:a.b.c.d is a.b.c.d.
QString AddressKey(const QString& address)
{
    const QHostAddress parsed(address);
    bool isV4 = false;
    const quint32 v4 = parsed.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4).toString() : parsed.toString();
}

// HOST:PORT, an IPv6 address in brackets. One .arg for both: a scope ("fe80::1%2") looks like a
// place marker that a second .arg would fill with the port.
QString WithPort(const QString& host, quint16 port)
{
    if (port == UPDATE_PORT)
        return host;
    return (host.contains(u':') ? QStringLiteral("[%1]:%2") : QStringLiteral("%1:%2")).arg(host, QString::number(port));
}

// UTF-8, with a byte-order mark or without, or UTF-16 with one, as Windows PowerShell 5.1 writes
// with '>' and Out-File; the mark is not part of the text. On Windows, a list with no mark that is
// not UTF-8 is in the system's ANSI code page (Notepad's "ANSI"). False for bytes that are none of
// these.
bool DecodeList(const QByteArray& bytes, QString& text)
{
    const auto marked = QStringConverter::encodingForData(bytes);
    const auto encoding = marked.value_or(QStringConverter::Utf8);
    if (encoding != QStringConverter::Utf8 && encoding != QStringConverter::Utf16LE && encoding != QStringConverter::Utf16BE)
        return false;
    QStringDecoder decoder(encoding);
    text = decoder.decode(bytes);
    return !decoder.hasError() || (!marked && Platform::DecodeSystemCodePage(bytes, text));
}

// Where a radio was given, for a message.
QString Place(const RadioEntry& radio)
{
    return radio.origin.isEmpty() ? QCoreApplication::translate("RadioList", "the command line") : radio.origin;
}

} // namespace

QString NameWithPort(const RadioEntry& radio)
{
    // A port written with the name stays as written.
    if (radio.port == UPDATE_PORT || (radio.name != radio.host && radio.name.endsWith(u':' + QString::number(radio.port))))
        return radio.name;
    return WithPort(radio.host, radio.port);
}

QString AddressWithPort(const RadioEntry& radio)
{
    return WithPort(radio.address, radio.port);
}

bool ParseRadio(const QString& typed, quint16 defaultPort, RadioEntry& radio, QString& why)
{
    const QString text = AddressToUse(typed);
    QString host = text;
    quint16 port = defaultPort;
    // An IPv6 address holds colons itself: with a port it goes in brackets.
    const bool bracketed = text.startsWith(u'[');
    if (bracketed) {
        const qsizetype close = text.indexOf(u']');
        const QString rest = close < 0 ? QString() : text.mid(close + 1);
        if (close < 0 || (!rest.isEmpty() && (!rest.startsWith(u':') || !ParsePort(rest.mid(1), port)))) {
            why = QCoreApplication::translate("RadioList", "not [IPV6] or [IPV6]:PORT");
            return false;
        }
        host = text.mid(1, close - 1);
    } else if (text.count(u':') == 1) {
        const qsizetype colon = text.indexOf(u':');
        if (!ParsePort(text.mid(colon + 1), port)) {
            why = QCoreApplication::translate("RadioList", "bad port %1").arg(Quoted(text.mid(colon + 1)));
            return false;
        }
        host = text.left(colon);
    }
    const bool ipv6Expected = bracketed || text.count(u':') > 1;
    const AddressText kind = ClassifyAddressText(host, &why);
    if (kind == AddressText::Invalid) {
        // The reason may quote a part of the text.
        why = Shown(why, 2 * 80);
        return false;
    }
    if ((kind == AddressText::Ipv6) != ipv6Expected) {
        why = ipv6Expected ? QCoreApplication::translate("RadioList", "not an IPv6 address") : QCoreApplication::translate("RadioList", "not an address");
        return false;
    }
    radio.name = text;
    radio.host = host;
    radio.port = port;
    radio.address = kind == AddressText::HostName ? QString() : AddressKey(host);
    return true;
}

bool ReadRadioList(const QString& path, quint16 defaultPort, QVector<RadioEntry>& radios, QString& error,
                   QString* firstLine)
{
    QByteArray bytes;
    if (path == QLatin1String("-")) {
        // Through the C library: a Qt file on Windows' standard input fails on a pipe.
        char chunk[16384];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, stdin)) > 0;)
            bytes.append(chunk, qsizetype(n));
        if (std::ferror(stdin)) {
            error = QStringLiteral("-: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    } else {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            error = QStringLiteral("%1: %2").arg(path, file.errorString());
            return false;
        }
    }
    QString text;
    if (!DecodeList(bytes, text)) {
        error = QCoreApplication::translate("RadioList", "%1: the list is neither UTF-8 nor UTF-16 with a byte-order mark").arg(path);
        return false;
    }
    const QStringList lines = text.split(u'\n');
    if (firstLine)
        *firstLine = lines.first();
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = WithoutComment(lines[i]).trimmed();
        if (line.isEmpty())
            continue;
        RadioEntry radio;
        QString why;
        // One address a line: a second word or a stray sign is never taken as a host name.
        const bool oneWord = !line.contains(QRegularExpression(QStringLiteral("\\s")));
        if (!oneWord || !ParseRadio(line, defaultPort, radio, why)) {
            error = oneWord ? QCoreApplication::translate("RadioList", "%1:%2: not a radio address: %3 (%4)")
                                  .arg(path, QString::number(i + 1), Quoted(line), why)
                            : QCoreApplication::translate("RadioList", "%1:%2: not a radio address: %3")
                                  .arg(path, QString::number(i + 1), Quoted(line));
            return false;
        }
        radio.origin = QStringLiteral("%1:%2").arg(path, QString::number(i + 1));
        radios << radio;
    }
    return true;
}

bool FindDuplicateRadio(const QVector<RadioEntry>& radios, QString& error)
{
    QHash<QString, const RadioEntry*> texts;
    QHash<QString, const RadioEntry*> owners; // "address port" -> the entry that named it first
    for (const RadioEntry& radio : radios) {
        if (const RadioEntry* first = texts.value(radio.name)) {
            error = QCoreApplication::translate("RadioList", "radio listed twice: %1 at %2 and at %3").arg(Quoted(radio.name), Place(*first), Place(radio));
            return true;
        }
        texts.insert(radio.name, &radio);
        if (radio.address.isEmpty())
            continue;
        const QString key = AddressKey(radio.address) + u' ' + QString::number(radio.port);
        if (const RadioEntry* first = owners.value(key)) {
            error = QCoreApplication::translate("RadioList", "radio listed twice: %1 at %2 and %3 at %4 are both %5 port %6")
                        .arg(Quoted(first->name), Place(*first), Quoted(radio.name), Place(radio), AddressKey(radio.address),
                             QString::number(radio.port));
            return true;
        }
        owners.insert(key, &radio);
    }
    return false;
}
