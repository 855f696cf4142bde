// zerlind-firm-update: the update run of the desktop program, without a window; and the same
// for many radios at once, a pre-flight check and a scan for radios.
#include "CliOptions.h"
#include "FleetCommand.h"

#include "cli/output/StandardOutput.h"
#include "cli/output/Terminal.h"
#include "cli/radios/HostResolver.h"
#include "cli/run/Interrupts.h"
#include "cli/text/CliText.h"

#include "base/Language.h"
#include "base/MessageCatalog.h"
#include "base/Platform.h"
#include "base/Release.h"
#include "base/Translations.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

namespace {

// Set by SIGINT or SIGTERM; every thread of the run looks at it.
Interrupts g_interrupts;

} // namespace

int main(int argc, char** argv)
{
    PrepareStandardStreams();
    QCoreApplication app(argc, argv);

    // The program's own texts follow the locale, and --lang when given, a refusal of the command
    // line included; JSON is for scripts and keeps them in English (catalog texts still follow).
    const quint16 systemLanguage = ChooseLanguage(SystemLocaleId());
    UseTranslations(systemLanguage);
    CliOptions options;
    QString error;
    CliParse parsed = ParseCliOptions(app.arguments(), options, error);
    const quint16 textLanguage = options.json ? quint16(LanguageEnglishUs) : options.language != 0 ? options.language : systemLanguage;
    if (textLanguage != systemLanguage) {
        UseTranslations(textLanguage);
        options = CliOptions();
        parsed = ParseCliOptions(app.arguments(), options, error);
    }
    Terminal::KeepUtf8(options.json);
    switch (parsed) {
    case CliParse::Help:
        Terminal::TextStream(stdout) << CliHelpText();
        return CloseStandardOutput(EXIT_UPDATED);
    case CliParse::Version:
        Terminal::TextStream(stdout) << "zerlind-firm-update (" << FixedText::ProductTitle << ") " << kReleaseVersion << '\n';
        return CloseStandardOutput(EXIT_UPDATED);
    case CliParse::Error:
        return CloseStandardOutput(Refuse(error, EXIT_BAD_COMMAND_LINE, options.json, true));
    case CliParse::Run:
        break;
    }

    const quint16 language = options.language != 0 ? options.language : ChooseLanguage(SystemLocaleId());
    if (!Platform::InitSocketLayer())
        return CloseStandardOutput(
            Refuse(TerminalText(LoadText(IDS_SOCKET_INIT_FAILED, language)), EXIT_SOCKET_LAYER, options.json));
    CatchInterrupts(g_interrupts);
    SystemResolver resolver;
    const int exitCode = CloseStandardOutput(!options.IsFleet() ? RunSingleRadio(options, language, g_interrupts)
                                             : !options.scanNetwork.isEmpty() ? RunScan(options, g_interrupts)
                                                                              : RunFleet(options, language, resolver, g_interrupts));
    // After the clean-up and the summary: a calling shell sees the signal and stops its loop.
    EndBySignal(g_interrupts);
    if (resolver.Abandoned()) {
        // Qt would wait at exit for the lookup the system still works on (stdout is closed).
        std::fflush(stderr);
        std::_Exit(exitCode);
    }
    return exitCode;
}
