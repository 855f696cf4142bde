// A radio list as an operator or another program may have left it: any bytes as the list file,
// read with any default port. What is taken parses back to the same radio; what is refused is
// said in a bounded message that no byte of the list can work the terminal from.
#include "FuzzInput.h"

#include "cli/radios/RadioList.h"
#include "engine/UpdateProtocol.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> g_folder;

// A message holds no control character, however the list's text came.
void CheckShowable(const QString& message)
{
    for (const QChar c : message)
        FUZZ_CHECK(c.category() != QChar::Other_Control);
}

// The radio, as the records name it again, is the same radio; a name without a port stands for
// the radios' own.
void CheckRoundTrip(const RadioEntry& radio)
{
    RadioEntry again;
    QString why;
    FUZZ_CHECK(ParseRadio(NameWithPort(radio), UPDATE_PORT, again, why));
    FUZZ_CHECK(again.host == radio.host && again.port == radio.port && again.address == radio.address);
    if (radio.address.isEmpty())
        return;
    FUZZ_CHECK(ParseRadio(AddressWithPort(radio), UPDATE_PORT, again, why));
    FUZZ_CHECK(again.address == radio.address && again.port == radio.port);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A '%' in the path, as an operator's folder may have one.
    g_folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/zfu-fuzz%1-XXXXXX"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    // An odd first byte: the usual port; else any port the option takes.
    const quint16 defaultPort = input.Bool() ? 1111 : quint16(input.Range(1, 65535));
    const QByteArray bytes = input.Rest();
    const QString path = g_folder->path() + QStringLiteral("/radios.txt");
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(file.write(bytes) == bytes.size());
    }

    QVector<RadioEntry> radios;
    QString error;
    const bool read = ReadRadioList(path, defaultPort, radios, error);
    // No line is further down than the line breaks allow, in UTF-8 or in UTF-16.
    const int lastLine = int(bytes.count('\n')) + 1;
    CheckShowable(error);
    if (!read) {
        FUZZ_CHECK(error.startsWith(path + u':'));
        FUZZ_CHECK(error.size() < path.size() + 300); // a long line is cut, never echoed whole
        return 0;
    }
    FUZZ_CHECK(error.isEmpty());
    int previous = 0;
    for (const RadioEntry& radio : radios) {
        FUZZ_CHECK(radio.origin.startsWith(path + u':'));
        const int line = radio.origin.mid(path.size() + 1).toInt();
        FUZZ_CHECK(line > previous && line <= lastLine);
        previous = line;
        FUZZ_CHECK(!radio.name.isEmpty() && !radio.name.contains(u'#') && radio.port != 0);
        CheckRoundTrip(radio);
    }

    // Two radios are refused together exactly when they share a text or an address and port.
    const bool twice = FindDuplicateRadio(radios, error);
    bool same = false;
    for (int i = 0; i < radios.size() && !same; ++i) {
        for (int j = 0; j < i && !same; ++j) {
            same = radios[i].name == radios[j].name ||
                   (!radios[i].address.isEmpty() && radios[i].address == radios[j].address && radios[i].port == radios[j].port);
        }
    }
    FUZZ_CHECK(twice == same);
    CheckShowable(error);
    return 0;
}
