#include "RadioAddress.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QStringList>

namespace {

// The longest name DNS carries (a root dot at the end not counted), and the longest label in it.
constexpr int MAX_HOST_NAME_LENGTH = 253;
constexpr int MAX_LABEL_LENGTH = 63;
constexpr int DOTTED_QUAD_PARTS = 4;
constexpr int MAX_PART_VALUE = 255;

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool IsHexDigit(QChar c)
{
    return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool IsLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsHostNameChar(QChar c)
{
    return IsLetter(c) || IsDigit(c) || c == u'-' || c == u'_' || c == u'.';
}

bool AllOf(QStringView text, bool (*test)(QChar))
{
    for (QChar c : text) {
        if (!test(c))
            return false;
    }
    return true;
}

bool IsDecimalPart(QStringView part)
{
    return !part.isEmpty() && AllOf(part, IsDigit);
}

// "0x" or "0X" and hex digits, none included: the system's parser takes "0x" alone as 0.
bool IsHexPart(QStringView part)
{
    return part.size() >= 2 && part[0] == u'0' && (part[1] == u'x' || part[1] == u'X') &&
           AllOf(part.mid(2), IsHexDigit);
}

// Every dot-separated part decimal, hexadecimal or empty: the system would read it as a number,
// whatever the operator meant by it.
bool LooksNumeric(const QStringList& parts)
{
    for (const QString& part : parts) {
        if (!part.isEmpty() && !IsDecimalPart(part) && !IsHexPart(part))
            return false;
    }
    return true;
}

AddressText Refuse(QString* why, const QString& reason)
{
    if (why)
        *why = reason;
    return AddressText::Invalid;
}

// Four decimal parts 0-255 without leading zeros; anything else names another address than it
// seems to (octal, hexadecimal, a short form that fills the missing parts with zeros).
bool IsCanonicalDottedQuad(const QString& text, QString* why)
{
    const QStringList parts = text.split(u'.');
    if (parts.size() != DOTTED_QUAD_PARTS) {
        Refuse(why, QCoreApplication::translate("RadioAddress", "not four parts"));
        return false;
    }
    for (const QString& part : parts) {
        if (part.isEmpty()) {
            Refuse(why, QCoreApplication::translate("RadioAddress", "empty part"));
            return false;
        }
        if (IsHexPart(part)) {
            Refuse(why, QCoreApplication::translate("RadioAddress", "hexadecimal part '%1'").arg(part));
            return false;
        }
        if (!IsDecimalPart(part)) {
            Refuse(why, QCoreApplication::translate("RadioAddress", "'%1' is not a decimal number").arg(part));
            return false;
        }
        if (part.size() > 1 && part[0] == u'0') {
            Refuse(why, QCoreApplication::translate("RadioAddress", "leading zero in '%1'").arg(part));
            return false;
        }
        // Compared as text first: a long run of digits does not fit any integer.
        if (part.size() > 3 || part.toInt() > MAX_PART_VALUE) {
            Refuse(why, QCoreApplication::translate("RadioAddress", "'%1' is over 255").arg(part));
            return false;
        }
    }
    return true;
}

AddressText ClassifyHostName(const QString& text, QString* why)
{
    // One dot at the end names the root, as in "radio-van.local.".
    const QStringView name = text.endsWith(u'.') ? QStringView(text).chopped(1) : QStringView(text);
    if (name.size() > MAX_HOST_NAME_LENGTH)
        return Refuse(why, QCoreApplication::translate("RadioAddress", "longer than %1 characters").arg(MAX_HOST_NAME_LENGTH));
    for (QStringView label : name.split(u'.')) {
        if (label.isEmpty())
            return Refuse(why, QCoreApplication::translate("RadioAddress", "empty label"));
        if (label.size() > MAX_LABEL_LENGTH)
            return Refuse(why, QCoreApplication::translate("RadioAddress", "label longer than %1 characters").arg(MAX_LABEL_LENGTH));
        if (label.startsWith(u'-') || label.endsWith(u'-'))
            return Refuse(why, QCoreApplication::translate("RadioAddress", "label '%1' starts or ends with '-'").arg(label));
    }
    return AddressText::HostName;
}

AddressText ClassifyIpv6(const QString& text, QString* why)
{
    const QString notAnAddress = QCoreApplication::translate("RadioAddress", "not an address or a host name");
    // Only hex digits, colons and dots, then perhaps a zone: the parser below would also take
    // blanks around the text and brackets.
    const qsizetype zone = text.indexOf(u'%');
    const QStringView address = QStringView(text).left(zone < 0 ? text.size() : zone);
    const QStringView zoneName = zone < 0 ? QStringView() : QStringView(text).mid(zone + 1);
    const auto isIpv6Char = [](QChar c) { return IsHexDigit(c) || c == u':' || c == u'.'; };
    for (QChar c : address) {
        if (!isIpv6Char(c))
            return Refuse(why, notAnAddress);
    }
    if (zone >= 0 && (zoneName.isEmpty() || !AllOf(zoneName, IsHostNameChar)))
        return Refuse(why, notAnAddress);
    // An IPv4 address at the end obeys the same rule as one on its own.
    const QString tail = address.mid(address.lastIndexOf(u':') + 1).toString();
    if (tail.contains(u'.') && !IsCanonicalDottedQuad(tail, why))
        return AddressText::Invalid;
    QHostAddress parsed;
    if (!parsed.setAddress(text) || parsed.protocol() != QAbstractSocket::IPv6Protocol)
        return Refuse(why, notAnAddress);
    return AddressText::Ipv6;
}

} // namespace

AddressText ClassifyAddressText(const QString& text, QString* why)
{
    if (why)
        why->clear();
    if (text.isEmpty())
        return Refuse(why, QCoreApplication::translate("RadioAddress", "empty"));
    if (AllOf(text, IsHostNameChar)) {
        if (!LooksNumeric(text.split(u'.')))
            return ClassifyHostName(text, why);
        return IsCanonicalDottedQuad(text, why) ? AddressText::DottedQuad : AddressText::Invalid;
    }
    if (text.contains(u':'))
        return ClassifyIpv6(text, why);
    return Refuse(why, QCoreApplication::translate("RadioAddress", "not an address or a host name"));
}

QString AddressToUse(const QString& typed)
{
    return typed.trimmed();
}
