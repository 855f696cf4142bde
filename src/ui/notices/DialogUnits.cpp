// Dialog units to pixels.
#include "ui/notices/DialogUnits.h"

#include "base/MessageCatalog.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QString>

#include <cstdlib>

namespace {

// Proportional like a Japanese system's dialog font: kana and punctuation narrower than a square.
constexpr char kJapaneseDialogFamily[] = "IPAPGothic";

// Averaging the letters, not taking the font's declared average width, keeps the templates'
// proportions: texts sized for the original font fit in any font measured the same way.
int AverageLetterWidth(const QFontMetrics& metrics)
{
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
}

// units * base / divisor rounded half away from zero (divisor 4 or 8).
int Scale(int units, int base, int divisor)
{
    const long long product = static_cast<long long>(units) * base;
    const long long magnitude = (std::llabs(product) + divisor / 2) / divisor;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

} // namespace

CDialogUnits::CDialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    m_nBaseX = AverageLetterWidth(metrics);
    m_nBaseY = metrics.height();
}

QFont CDialogUnits::TemplateFont(int pointSize, quint16 language)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(pointSize);
    // Without the Japanese family the system's font stays, so the dialog still shows everything
    // it can. scripts/setup installs the family and the package recommends it (fonts-ipafont-gothic).
    if (language == LanguageJapanese)
        font.setFamilies({QString::fromLatin1(kJapaneseDialogFamily), font.family()});
    return font;
}

int CDialogUnits::ToPixelsX(int units) const
{
    return Scale(units, m_nBaseX, 4);
}

int CDialogUnits::ToPixelsY(int units) const
{
    return Scale(units, m_nBaseY, 8);
}

QRect CDialogUnits::ToPixels(int x, int y, int width, int height) const
{
    return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height));
}
