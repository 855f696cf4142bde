#include "Translations.h"

#include "MessageCatalog.h"

#include <QCoreApplication>
#include <QTranslator>

#include <atomic>
#include <memory>

namespace {

// Read by the threads that write the run's records.
std::atomic<quint16> g_language{LanguageEnglishUs};

} // namespace

quint16 TranslationsLanguage()
{
    return g_language.load();
}

bool UseTranslations(quint16 language)
{
    // One translator for the process; replaced, never stacked, so a second choice wins outright.
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    g_language.store(LanguageEnglishUs);
    if (language != LanguageJapanese)
        return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral(":/translations/zerlind_ja.qm")) || !QCoreApplication::installTranslator(translator.get()))
        return false;
    installed = std::move(translator);
    g_language.store(LanguageJapanese);
    return true;
}
