// The command line as the operator or a shortcut may give it: any text to ParseCommandLine,
// and any argument list joined by CommandLineText and parsed back.
#include "FuzzInput.h"

#include "base/CommandLine.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstring>

namespace {

// A preset path of one argument comes back as it was, less the "*U" / "*T" prefix.
void CheckRoundTrip(const QString& argument)
{
    if (!argument.contains(QLatin1String(".dat")) || argument.contains(u'"') ||
        argument.contains(QLatin1String("-nocheck")))
        return;
    const CommandLineOptions options = ParseCommandLine(CommandLineText({argument}));
    const bool prefix = argument.startsWith(QLatin1String("*U"), Qt::CaseInsensitive) ||
                        argument.startsWith(QLatin1String("*T"), Qt::CaseInsensitive);
    FUZZ_CHECK(!options.bNoCheck);
    FUZZ_CHECK(options.bHideFileControls == prefix);
    FUZZ_CHECK(options.strFileName == (prefix ? argument.mid(2) : argument));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput input(data, size);
    // UTF-16 as it comes, lone surrogates and zeros included, or UTF-8 as a terminal gives it.
    const bool utf16 = input.Bool();
    const QByteArray bytes = input.Rest();
    QString text;
    if (utf16) {
        text.resize(bytes.size() / 2);
        std::memcpy(text.data(), bytes.constData(), size_t(text.size()) * sizeof(QChar));
    } else {
        text = QString::fromUtf8(bytes);
    }

    const CommandLineOptions options = ParseCommandLine(text);
    FUZZ_CHECK(options.bNoCheck == text.contains(QLatin1String("-nocheck")));
    FUZZ_CHECK(options.strFileName.size() <= text.size());
    // The file is looked for once the option is taken out, which can join ".dat" together.
    const QString rest = QString(text).remove(QLatin1String("-nocheck"));
    FUZZ_CHECK(!options.bHideFileControls || rest.contains(QLatin1String(".dat")));

    // Zero characters separate the arguments of the list.
    const QStringList arguments = text.split(QChar(0));
    const CommandLineOptions joined = ParseCommandLine(CommandLineText(arguments));
    FUZZ_CHECK(joined.strFileName.size() <= text.size() + 2 * arguments.size());
    CheckRoundTrip(arguments.front());
    return 0;
}
