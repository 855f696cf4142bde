#include "MessageCatalog.h"

#include <iterator>

namespace {

struct CatalogEntry {
    quint16 id;
    const char* english;
    const char* japanese;
};

// Sorted by identifier; the single source of the texts lives in resources/.
constexpr CatalogEntry kCatalog[] = {
#include "MessageCatalog.inc"
};

const CatalogEntry* Find(quint16 id)
{
    for (const CatalogEntry& e : kCatalog) {
        if (e.id == id)
            return &e;
    }
    return nullptr;
}

} // namespace

bool LoadCatalogString(quint16 id, quint16 language, QString& text)
{
    const CatalogEntry* e = Find(id);
    if (!e)
        return false;
    switch (language) {
    case LanguageEnglishUs:
        text = QString::fromUtf8(e->english);
        return true;
    case LanguageJapanese:
        text = QString::fromUtf8(e->japanese);
        return true;
    case LanguageNeutral:
        // Only the socket start-up failure has a language-neutral copy, holding the English text.
        if (id != IDS_SOCKET_INIT_FAILED)
            return false;
        text = QString::fromUtf8(e->english);
        return true;
    default:
        return false;
    }
}

QString LoadText(quint16 id, quint16 language)
{
    QString text;
    LoadCatalogString(id, language, text);
    return text;
}

QVector<quint16> CatalogIds()
{
    QVector<quint16> ids;
    ids.reserve(int(std::size(kCatalog)));
    for (const CatalogEntry& e : kCatalog)
        ids.append(e.id);
    return ids;
}
