#include "Language.h"

#include "Platform.h"

#include <QtGlobal>

namespace {

struct LocaleName {
    const char* name; // language_TERRITORY
    quint32 id;
};

// The common locales with their identifiers; anything else counts as English (US).
constexpr LocaleName kLocales[] = {
    {"ar_SA", 0x0401}, {"bg_BG", 0x0402}, {"ca_ES", 0x0403}, {"zh_TW", 0x0404},
    {"cs_CZ", 0x0405}, {"da_DK", 0x0406}, {"de_DE", 0x0407}, {"el_GR", 0x0408},
    {"en_US", 0x0409}, {"es_ES", 0x0C0A}, {"fi_FI", 0x040B}, {"fr_FR", 0x040C},
    {"he_IL", 0x040D}, {"hu_HU", 0x040E}, {"is_IS", 0x040F}, {"it_IT", 0x0410},
    {"ja_JP", 0x0411}, {"ko_KR", 0x0412}, {"nl_NL", 0x0413}, {"nb_NO", 0x0414},
    {"pl_PL", 0x0415}, {"pt_BR", 0x0416}, {"ro_RO", 0x0418}, {"ru_RU", 0x0419},
    {"hr_HR", 0x041A}, {"sk_SK", 0x041B}, {"sv_SE", 0x041D}, {"th_TH", 0x041E},
    {"tr_TR", 0x041F}, {"id_ID", 0x0421}, {"uk_UA", 0x0422}, {"sl_SI", 0x0424},
    {"vi_VN", 0x042A}, {"zh_CN", 0x0804}, {"de_CH", 0x0807}, {"en_GB", 0x0809},
    {"es_MX", 0x080A}, {"fr_BE", 0x080C}, {"nl_BE", 0x0813}, {"pt_PT", 0x0816},
    {"zh_HK", 0x0C04}, {"de_AT", 0x0C07}, {"en_AU", 0x0C09}, {"fr_CA", 0x0C0C},
    {"zh_SG", 0x1004}, {"en_CA", 0x1009}, {"fr_CH", 0x100C}, {"en_NZ", 0x1409},
    {"en_IE", 0x1809}, {"en_ZA", 0x1C09}, {"en_IN", 0x4009},
};

} // namespace

quint16 ChooseLanguage(quint32 localeId)
{
    return localeId == LOCALE_ID_JAPANESE ? 1041 : 1033;
}

quint32 LocaleIdFromName(const QByteArray& name)
{
    // Strip the codeset and modifier: "ja_JP.eucJP@x" names the same language as "ja_JP".
    QByteArray base = name;
    const qsizetype cut = base.indexOf('.') >= 0 ? base.indexOf('.') : base.indexOf('@');
    if (cut >= 0)
        base.truncate(cut);
    for (const LocaleName& l : kLocales) {
        if (base == l.name)
            return l.id;
    }
    return LOCALE_ID_ENGLISH_US;
}

QByteArray MessageLocaleName()
{
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(var);
        if (!value.isEmpty())
            return value;
    }
    return QByteArray();
}

quint32 SystemLocaleId()
{
    return Platform::SystemLocaleId();
}
