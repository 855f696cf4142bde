// Radio lists as files, read without a run: comments and blanks, ports, byte-order marks and
// UTF-16, line ends, the first bad line with its message, and a radio listed twice.
#include "cli/radios/RadioList.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Encoded(QStringConverter::Encoding encoding, const QString& text, bool mark = true)
{
    return QStringEncoder(encoding, mark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default).encode(text);
}

// The list's message (its path as LIST), else the duplicate's, else "ORIGIN NAME HOST PORT
// ADDRESS" a radio ("-" for no address yet), " | " between.
std::string Read(const QByteArray& bytes, quint16 port)
{
    // A '%' in the path is text, never a place marker for the line number.
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/radio%2list-XXXXXX"));
    const QString path = folder.path() + QStringLiteral("/radios.txt");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    QVector<RadioEntry> radios;
    QString error;
    if (!ReadRadioList(path, port, radios, error) || FindDuplicateRadio(radios, error))
        return error.replace(path, QStringLiteral("LIST")).toStdString();
    QStringList shown;
    for (const RadioEntry& r : radios)
        shown << QStringList{r.origin, r.name, r.host, QString::number(r.port), r.address.isEmpty() ? "-" : r.address}.join(u' ');
    return shown.join(QStringLiteral(" | ")).replace(path, QStringLiteral("LIST")).toStdString();
}

TEST(RadioList, LinesPortsEncodingsAndRefusals)
{
    const QString crlf = QStringLiteral("127.0.4.10\r\n\r\n[::1]:1112\r\n");
    const struct {
        QByteArray bytes;
        quint16 port;
        std::string want;
    } rows[] = {
        {"", 1111, ""},
        {"# only a comment\n\n", 1111, ""},
        // '#' starts a comment at the start of a line or after a blank, a tab included.
        {"# bench\n\n  127.0.4.10  # van\n\t# indented\n127.0.4.11\t#tab\n", 1111,
         "LIST:3 127.0.4.10 127.0.4.10 1111 127.0.4.10 | LIST:5 127.0.4.11 127.0.4.11 1111 127.0.4.11"},
        {"127.0.4.10#van\n", 1111, "LIST:1: not a radio address: '127.0.4.10#van' (not an address or a host name)"},
        // A port of its own, or the run's.
        {"127.0.4.10:1112\n[::1]:65535\n[::1]\n::ffff:127.0.4.10\nradio-van.local:1\n", 2222,
         "LIST:1 127.0.4.10:1112 127.0.4.10 1112 127.0.4.10 | LIST:2 [::1]:65535 ::1 65535 ::1 | LIST:3 [::1] ::1 2222 ::1"
         " | LIST:4 ::ffff:127.0.4.10 ::ffff:127.0.4.10 2222 127.0.4.10 | LIST:5 radio-van.local:1 radio-van.local 1 -"},
        {"127.0.4.10\n127.0.4.11:0\n", 1111, "LIST:2: not a radio address: '127.0.4.11:0' (bad port '0')"},
        {"127.0.4.10:65536\n", 1111, "LIST:1: not a radio address: '127.0.4.10:65536' (bad port '65536')"},
        {"127.0.4.10:+1\n", 1111, "LIST:1: not a radio address: '127.0.4.10:+1' (bad port '+1')"},
        {"[::1]:1112x\n", 1111, "LIST:1: not a radio address: '[::1]:1112x' (not [IPV6] or [IPV6]:PORT)"},
        {"[::1\n", 1111, "LIST:1: not a radio address: '[::1' (not [IPV6] or [IPV6]:PORT)"},
        {"[127.0.4.10]:1112\n", 1111, "LIST:1: not a radio address: '[127.0.4.10]:1112' (not an IPv6 address)"},
        // Byte-order marks and line ends: the mark is not text, CR LF ends a line, CR alone does not.
        {"\xEF\xBB\xBF" + crlf.toUtf8(), 1111, "LIST:1 127.0.4.10 127.0.4.10 1111 127.0.4.10 | LIST:3 [::1]:1112 ::1 1112 ::1"},
        {Encoded(QStringConverter::Utf16LE, crlf), 1111, "LIST:1 127.0.4.10 127.0.4.10 1111 127.0.4.10 | LIST:3 [::1]:1112 ::1 1112 ::1"},
        {Encoded(QStringConverter::Utf16BE, crlf), 1111, "LIST:1 127.0.4.10 127.0.4.10 1111 127.0.4.10 | LIST:3 [::1]:1112 ::1 1112 ::1"},
        {"127.0.4.10\r127.0.4.11", 1111, "LIST:1: not a radio address: '127.0.4.10\\x0d127.0.4.11'"},
        {Encoded(QStringConverter::Utf16LE, "1.2.3.4\n", false), 1111,
         "LIST:1: not a radio address: '1\\0.\\02\\0.\\03\\0.\\04\\0' (not an address or a host name)"},
        // A lone half of a surrogate pair (shown here as '?') leaves the next character its own.
        {QByteArray("\xFF\xFE\x00\xD8\x1B\0\n\0", 8), 1111, "LIST:1: not a radio address: '?\\x1b' (not an address or a host name)"},
        {Encoded(QStringConverter::Utf32LE, crlf), 1111, "LIST: the list is neither UTF-8 nor UTF-16 with a byte-order mark"},
        // Twice: the same text, or the same address and port however written; names wait for their address.
        {"radio-van.local\n# again\nradio-van.local\n", 1111, "radio listed twice: 'radio-van.local' at LIST:1 and at LIST:3"},
        {"[::1]:1111\n0:0:0:0:0:0:0:1\n", 1111, "radio listed twice: '[::1]:1111' at LIST:1 and '0:0:0:0:0:0:0:1' at LIST:2 are both ::1 port 1111"},
        {"127.0.4.10\n127.0.4.10:1112\nradio-van.local\nradio-van.local:1111\n", 1112,
         "radio listed twice: '127.0.4.10' at LIST:1 and '127.0.4.10:1112' at LIST:2 are both 127.0.4.10 port 1112"},
        {"127.0.4.10\n127.0.4.10:1112\nradio-van.local\nradio-van.local:1111\n", 1111,
         "LIST:1 127.0.4.10 127.0.4.10 1111 127.0.4.10 | LIST:2 127.0.4.10:1112 127.0.4.10 1112 127.0.4.10"
         " | LIST:3 radio-van.local radio-van.local 1111 - | LIST:4 radio-van.local:1111 radio-van.local 1111 -"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes.toStdString());
        EXPECT_EQ(Read(row.bytes, row.port), row.want);
    }
}

TEST(RadioList, AScopeStaysTextWhenThePortIsAdded)
{
    // "[fe80::1112]:1112" would be another radio.
    RadioEntry radio;
    QString why;
    ASSERT_TRUE(ParseRadio("fe80::%2", 1112, radio, why));
    EXPECT_EQ(NameWithPort(radio), "[fe80::%2]:1112");
    EXPECT_EQ(AddressWithPort(radio), "[fe80::%2]:1112");
}

} // namespace
