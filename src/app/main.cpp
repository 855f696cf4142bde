// Entry point of the desktop program.
#include "FirmUtilityApp.h"
#include "WaylandSeat.h"
#include "X11Colormap.h"
#include "base/Language.h"
#include "base/Platform.h"
#include "base/Release.h"
#include "base/Translations.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstring>
#include <string>

namespace {

// The help, in the language of the system's locale: the translator needs an application object,
// and a core one starts no window system.
QString UsageText()
{
    return QCoreApplication::translate(
        "FirmUtilityMain",
        "Usage: zerlind-firm-utility [-nocheck] [PATH.dat | \"PATH.dat\" | *UPATH.dat | *TPATH.dat]\n"
        "\n"
        "Rewrites the main-processor firmware of a Zerlind radio over the local network.\n"
        "\n"
        "  -nocheck     skip the caution at start and the notices around each update\n"
        "               (only as a word of its own: /x-nocheck/a.dat is a path)\n"
        "  PATH.dat     preset the firmware file for this run (shown, not stored);\n"
        "               the extension .dat counts in any case\n"
        "  *U / *T      in front of the path: preset it and hide the file controls\n"
        "  --help       show this help and exit\n"
        "  --version    show the version and exit\n");
}

bool AsksForHelp(const char* argument)
{
    const auto is = [argument](const char* form) { return std::strcmp(argument, form) == 0; };
#ifdef _WIN32
    // Windows' own ways of asking, too.
    if (is("/?") || is("-?"))
        return true;
#endif
    return is("--help") || is("-h");
}

} // namespace

int main(int argc, char* argv[])
{
    // Answered before any window system is needed.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        const std::string version = std::string("zerlind-firm-utility (Zerlind Firm Utility) ") + kReleaseVersion + "\n";
        Platform::ShowCommandLineAnswer(version.c_str(), "Zerlind Firm Utility");
        return 0;
    }
    if (argc == 2 && AsksForHelp(argv[1])) {
        QCoreApplication core(argc, argv);
        UseTranslations(ChooseLanguage(SystemLocaleId()));
        Platform::ShowCommandLineAnswer(UsageText().toUtf8().constData(), "Zerlind Firm Utility");
        return 0;
    }

    AvoidInputMethodWithoutSeat();
    QApplication app(argc, argv);
    UseScreenColormapOnX11(app);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    CFirmUtilityApp firmUtility(arguments);
    return firmUtility.Run();
}
