// The address forms an operator may type: canonical dotted quads, IPv6 and host names pass;
// every other numeric form the system's parser takes (octal, hexadecimal, short, one integer)
// is refused with its reason, as is text that is no address at all. A run to a refused text
// connects nowhere and ends as for an address that is not found.
#include "common/TestSupport.h"

#include "base/MessageCatalog.h"
#include "engine/RadioAddress.h"
#include "engine/UpdateReporter.h"
#include "engine/UpdateRun.h"

#include <QHostAddress>
#include <QStringList>
#include <QTcpServer>
#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

std::string Name(AddressText kind)
{
    switch (kind) {
    case AddressText::DottedQuad:
        return "DottedQuad";
    case AddressText::Ipv6:
        return "Ipv6";
    case AddressText::HostName:
        return "HostName";
    case AddressText::Invalid:
        return "Invalid";
    }
    return "?";
}

struct AddressCase {
    const char* text;
    AddressText kind;
    const char* why; // for Invalid: the reason given
};

void PrintTo(const AddressCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class AddressForms : public ::testing::TestWithParam<AddressCase> {};

TEST_P(AddressForms, AreSortedWithTheirReason)
{
    const AddressCase& c = GetParam();
    QString why = QStringLiteral("left over");
    EXPECT_EQ(Name(ClassifyAddressText(QString::fromUtf8(c.text), &why)), Name(c.kind));
    EXPECT_EQ(why.toStdString(), c.why);
    EXPECT_EQ(Name(ClassifyAddressText(QString::fromUtf8(c.text))), Name(c.kind)); // no reason asked
}

// 63 + 63 + 63 + 61 characters and three dots: the longest name; one more is too long.
const QByteArray kLongestName =
    QByteArray(63, 'r') + '.' + QByteArray(63, 'a') + '.' + QByteArray(63, 'd') + '.' + QByteArray(61, 'i');
const QByteArray kLongName = kLongestName + 'o';
const QByteArray kLongLabel(64, 'r');

INSTANTIATE_TEST_SUITE_P(
    Table, AddressForms,
    ::testing::Values(
        AddressCase{"127.0.9.10", AddressText::DottedQuad, ""},
        AddressCase{"0.0.0.0", AddressText::DottedQuad, ""},
        AddressCase{"255.255.255.255", AddressText::DottedQuad, ""},
        AddressCase{"::1", AddressText::Ipv6, ""},
        AddressCase{"::ffff:127.0.0.1", AddressText::Ipv6, ""},
        AddressCase{"fe80::1%eth0", AddressText::Ipv6, ""},
        AddressCase{"2001:DB8::7", AddressText::Ipv6, ""},
        AddressCase{"radio-van.local", AddressText::HostName, ""},
        AddressCase{"radio-van.local.", AddressText::HostName, ""},
        AddressCase{"my_radio", AddressText::HostName, ""},
        AddressCase{"localhost", AddressText::HostName, ""},
        AddressCase{"1.2.3.4a", AddressText::HostName, ""},
        AddressCase{"0xg", AddressText::HostName, ""},
        AddressCase{kLongestName.constData(), AddressText::HostName, ""},
        // What the system would read as another address than the text seems to name.
        AddressCase{"127.0.9.012", AddressText::Invalid, "leading zero in '012'"},
        AddressCase{"127.0.0.00", AddressText::Invalid, "leading zero in '00'"},
        AddressCase{"127.1", AddressText::Invalid, "not four parts"},
        AddressCase{"2130706433", AddressText::Invalid, "not four parts"},
        AddressCase{"1.2.3.4.5", AddressText::Invalid, "not four parts"},
        AddressCase{"127.0.0.1.", AddressText::Invalid, "not four parts"},
        AddressCase{"0x7f", AddressText::Invalid, "not four parts"},
        AddressCase{"0x7f.0.0.1", AddressText::Invalid, "hexadecimal part '0x7f'"},
        AddressCase{"127.0.0.0X1", AddressText::Invalid, "hexadecimal part '0X1'"},
        AddressCase{"127.0.0.0x", AddressText::Invalid, "hexadecimal part '0x'"},
        AddressCase{"127..0.1", AddressText::Invalid, "empty part"},
        AddressCase{"127.0.0.256", AddressText::Invalid, "'256' is over 255"},
        AddressCase{"1.2.3.99999999999999999999", AddressText::Invalid, "'99999999999999999999' is over 255"},
        AddressCase{"::ffff:127.0.0.012", AddressText::Invalid, "leading zero in '012'"},
        AddressCase{"::ffff:127.1", AddressText::Invalid, "not four parts"},
        // No address and no host name.
        AddressCase{"", AddressText::Invalid, "empty"},
        AddressCase{" ", AddressText::Invalid, "not an address or a host name"},
        AddressCase{"127.0.0.1 ", AddressText::Invalid, "not an address or a host name"},
        AddressCase{" ::1", AddressText::Invalid, "not an address or a host name"},
        AddressCase{"a b", AddressText::Invalid, "not an address or a host name"},
        AddressCase{"radio;reboot", AddressText::Invalid, "not an address or a host name"},
        AddressCase{"[::1]", AddressText::Invalid, "not an address or a host name"},
        AddressCase{"127.0.0.1:1111", AddressText::Invalid, "not an address or a host name"},
        AddressCase{"::1%", AddressText::Invalid, "not an address or a host name"},
        AddressCase{"1:2:3", AddressText::Invalid, "not an address or a host name"},
        AddressCase{"ｒａｄｉｏ", AddressText::Invalid, "not an address or a host name"},
        AddressCase{"-radio.local", AddressText::Invalid, "label '-radio' starts or ends with '-'"},
        AddressCase{"radio-.local", AddressText::Invalid, "label 'radio-' starts or ends with '-'"},
        AddressCase{"radio..local", AddressText::Invalid, "empty label"},
        AddressCase{".radio", AddressText::Invalid, "empty label"},
        AddressCase{kLongLabel.constData(), AddressText::Invalid, "label longer than 63 characters"},
        AddressCase{kLongName.constData(), AddressText::Invalid, "longer than 253 characters"}),
    [](const ::testing::TestParamInfo<AddressCase>& info) { return "Case" + std::to_string(info.index); });

// Writes down every call of the run, in order.
class RecordingReporter : public IUpdateReporter {
public:
    QStringList events;
    void AppendMessageLine(const QString& text) override { events << "line:" + text; }
    void EnableInputControls(bool enable) override { events << QStringLiteral("enable:%1").arg(enable); }
    void StartTransferProgress(int n) override { events << QStringLiteral("progress:%1").arg(n); }
    void StepTransferProgress() override { events << "step"; }
    void StartWaitAnimation() override { events << "anim:start"; }
    void StopWaitAnimation() override { events << "anim:stop"; }
    void ShowErrorBox(const QString& text) override { events << "box:" + text; }
    void ShowFileError(const QString& text) override { events << "file:" + text; }
    void FocusEditAtEnd(InputField f) override { events << (f == InputField::FileName ? "focus:file" : "focus:address"); }
    void SetActiveConnection(bool active) override { events << QStringLiteral("active:%1").arg(active); }
};

bool Connected(QTcpServer& server)
{
    return server.hasPendingConnections() || server.waitForNewConnection(100);
}

// The system reads "127.0.0.012" as 127.0.0.10 (octal); a reader who drops the zero takes it for
// 127.0.0.12. Both listen, and neither hears from the run.
TEST(AddressRun, ZeroPaddedAddressReachesNoRadio)
{
    QTcpServer octal, decimal;
    ASSERT_TRUE(octal.listen(QHostAddress(QStringLiteral("127.0.0.10")), 0));
    ASSERT_TRUE(decimal.listen(QHostAddress(QStringLiteral("127.0.0.12")), octal.serverPort()));
    UpdateTimeouts timeouts;
    timeouts.connectMs = 1000;
    timeouts.transferMs = 1000;
    timeouts.programMs = 1000;
    RecordingReporter r;
    CUpdateRun run(r, LanguageEnglishUs, timeouts, octal.serverPort());
    EXPECT_EQ(run.Run(TestSupport::WriteRandomFile(QStringLiteral("padded.dat"), 3000), QStringLiteral("127.0.0.012")),
              UpdateResult::RadioNotFound);
    EXPECT_FALSE(Connected(octal));
    EXPECT_FALSE(Connected(decimal));
    const QString notFound = LoadText(1201, LanguageEnglishUs);
    const QStringList expected = {"enable:0", "active:1", "line:" + LoadText(1309, LanguageEnglishUs),
                                  "line:" + notFound, "box:" + notFound, "enable:1", "focus:address",
                                  "anim:stop", "active:0", "enable:1"};
    EXPECT_EQ(r.events.join(u'|').toStdString(), expected.join(u'|').toStdString());
}

} // namespace
