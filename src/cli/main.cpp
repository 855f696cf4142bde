// zerlind-firm-update: the update run of the desktop program, without a window.
#include "CliOptions.h"
#include "CliReporter.h"

#include "base/Language.h"
#include "base/MessageCatalog.h"
#include "base/Platform.h"
#include "base/Release.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace {

// The exit status for a command line that cannot be used.
constexpr int EXIT_BAD_COMMAND_LINE = 2;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    CliOptions options;
    QString error;
    switch (ParseCliOptions(app.arguments(), options, error)) {
    case CliParse::Help:
        out << CliHelpText();
        return 0;
    case CliParse::Version:
        out << "zerlind-firm-update (" << FixedText::ProductTitle << ") " << kReleaseVersion << '\n';
        return 0;
    case CliParse::Error:
        err << "zerlind-firm-update: " << error << "\nTry 'zerlind-firm-update --help'.\n";
        return EXIT_BAD_COMMAND_LINE;
    case CliParse::Run:
        break;
    }

    Platform::InitSocketLayer();
    const quint16 language = options.language != 0 ? options.language : ChooseLanguage(SystemLocaleId());
    CCliReporter reporter(options.quiet, isatty(fileno(stderr)) != 0, options.timeouts.programMs);
    CUpdateRun run(reporter, language, options.timeouts, options.port);
    return ExitCodeFor(run.Run(options.fileName, options.address));
}
