#include "FirmUtilityApp.h"

#include "base/CommandLine.h"
#include "base/Language.h"
#include "base/MessageCatalog.h"
#include "base/Platform.h"
#include "base/Product.h"
#include "base/Translations.h"
#include "ui/boxes/MessageBoxes.h"
#include "ui/main/FirmUtilityDlg.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdlib>
#include <memory>

bool InstallQtTranslations(quint16 language)
{
    if (language != LanguageJapanese)
        return false;
    auto translator = std::make_unique<QTranslator>(qApp);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.release());
    return true;
}

CFirmUtilityApp::CFirmUtilityApp(QStringList arguments) : m_arguments(std::move(arguments)) {}

void CFirmUtilityApp::InitInstance()
{
    // 1. Locale-dependent choices follow the system's locale settings.
    Platform::UseSystemLocale();

    // 2. The main window object, without a parent; destroyed when start-up returns.
    auto dlg = std::make_unique<CFirmUtilityDlg>();

    // 3. Language of every text, once per run.
    const quint16 language = ChooseLanguage(SystemLocaleId());
    dlg->SetLanguage(language);
    InstallQtTranslations(language);
    UseTranslations(language);

    // 4. Product identity.
    // Not the display name: the window system would append it to every other window title.
    QCoreApplication::setApplicationName(GetProductTitle(PRODUCT_NUMBER));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(DESKTOP_FILE_NAME));

    // 5. A second copy ends at once and shows nothing. When no guard can be made at all, a
    // second copy would go unnoticed: the operator is told so, and this copy runs all the same.
    const CInstanceGuard::Result guard = m_hMutex.Acquire();
    if (guard == CInstanceGuard::Result::HeldByAnotherCopy)
        return;
    if (guard == CInstanceGuard::Result::Unavailable)
        AppMessageBox(nullptr, LoadText(IDS_GUARD_UNAVAILABLE, language));

    // 6. Socket layer.
    if (!Platform::InitSocketLayer()) {
        AppMessageBoxById(IDS_SOCKET_INIT_FAILED);
        return;
    }

    // 7. Command line.
    const CommandLineOptions options = ParseCommandLine(CommandLineText(m_arguments));
    dlg->SetOptions(options);

    // 8. The caution must be accepted; refusing it ends the process here and now.
    if (!options.bNoCheck && dlg->m_dlgOpening.exec() != QDialog::Accepted) {
        std::fflush(nullptr);
        std::_Exit(EXIT_CAUTION_REFUSED);
    }

    // 9. The main window; its result carries no meaning. It is the only window, so it runs
    // without modality: the window system would otherwise mark it as a modal dialog.
    QEventLoop loop;
    QObject::connect(dlg.get(), &QDialog::finished, &loop, &QEventLoop::quit);
    dlg->show();
    loop.exec(QEventLoop::DialogExec);

    // 10. The window object goes with `dlg`.
}

int CFirmUtilityApp::ExitInstance()
{
    m_hMutex.Release();
    return 0;
}
