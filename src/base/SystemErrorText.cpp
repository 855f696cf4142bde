#include "SystemErrorText.h"

#include "Language.h"
#include "MessageCatalog.h"
#include "Platform.h"
#include "Translations.h"

#include <QCoreApplication>

bool LoadSystemErrorText(int code, quint32 threadLocaleId, QString& text)
{
    using Platform::SystemTextLanguage;
    const SystemTextLanguage first = ChooseLanguage(threadLocaleId) == 1041
                                         ? SystemTextLanguage::Japanese
                                         : SystemTextLanguage::English;
    if (Platform::SystemErrorText(code, first, text))
        return true;
    if (Platform::SystemErrorText(code, SystemTextLanguage::SystemDefault, text))
        return true;
    // A known error whose locales are not installed still has its English text.
    return Platform::SystemErrorText(code, SystemTextLanguage::English, text);
}

QString SystemReason(int code)
{
    QString text = QCoreApplication::translate("SystemErrorText", "error %1").arg(code);
    LoadSystemErrorText(code, TranslationsLanguage() == LanguageJapanese ? LOCALE_ID_JAPANESE : LOCALE_ID_ENGLISH_US, text);
    return text;
}
