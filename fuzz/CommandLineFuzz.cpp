// The command line as the operator or a shortcut may give it: any text to ParseCommandLine,
// and any argument list joined by CommandLineText and parsed back.
#include "FuzzInput.h"

#include "base/CommandLine.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstring>

namespace {

// The option as a reference: "-nocheck" once or more as a blank-separated word with an even
// number of double quotes before it. Returns the text with every such word taken out.
QString WithoutOptionWords(const QString& text, bool* found)
{
    static const QRegularExpression word(
        QStringLiteral("(?<![^ \\t\\n\\r\\x0b\\x0c])(?:-nocheck)+(?![^ \\t\\n\\r\\x0b\\x0c])"));
    // The expression wants valid UTF-16: any surrogate stands in as a letter of the same length.
    QString subject = text;
    for (QChar& c : subject)
        if (c.isSurrogate())
            c = u'x';
    QString rest = text;
    *found = false;
    // From the end, so that the positions of earlier words stay valid.
    QRegularExpressionMatchIterator it = word.globalMatch(subject);
    QList<QRegularExpressionMatch> matches;
    while (it.hasNext())
        matches.prepend(it.next());
    for (const QRegularExpressionMatch& m : matches) {
        if (QStringView(text).left(m.capturedStart()).count(u'"') % 2 == 0) {
            rest.remove(m.capturedStart(), m.capturedLength());
            *found = true;
        }
    }
    return rest;
}

// A preset path of one argument comes back as it was, less the "*U" / "*T" prefix; letters of
// the option inside it are part of the path.
void CheckRoundTrip(const QString& argument)
{
    bool option = false;
    WithoutOptionWords(argument, &option);
    if (!argument.contains(QLatin1String(".dat"), Qt::CaseInsensitive) || argument.contains(u'"') || option)
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
    bool option = false;
    const QString rest = WithoutOptionWords(text, &option);
    FUZZ_CHECK(options.bNoCheck == option);
    FUZZ_CHECK(options.strFileName.size() <= text.size());
    // The file is looked for once the option is taken out; ".dat" counts in any case.
    FUZZ_CHECK(!options.bHideFileControls || rest.contains(QLatin1String(".dat"), Qt::CaseInsensitive));
    // Without the option the text is the path as it stands, or the text between its quotes.
    if (!option && !options.bHideFileControls && !options.strFileName.isEmpty())
        FUZZ_CHECK(options.strFileName == text || text.startsWith(u'"' + options.strFileName + u'"'));

    // Zero characters separate the arguments of the list.
    const QStringList arguments = text.split(QChar(0));
    const CommandLineOptions joined = ParseCommandLine(CommandLineText(arguments));
    FUZZ_CHECK(joined.strFileName.size() <= text.size() + 2 * arguments.size());
    CheckRoundTrip(arguments.front());
    return 0;
}
