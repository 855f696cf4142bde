#include "CliText.h"

#include "engine/FirmwareImage.h"

#include <QDateTime>
#include <QFileInfo>

#include <limits>

QString Shown(const QString& text, int max)
{
    QString shown;
    for (qsizetype i = 0; i < text.size();) {
        // One character at a time, a surrogate pair whole; a lone half alone, so that it cannot
        // carry the control character after it past the check.
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        const char16_t c = text[i].unicode();
        const QString piece = c == 0                                        ? QStringLiteral("\\0")
                              : text[i].category() == QChar::Other_Control ? QStringLiteral("\\x%1").arg(int(c), 2, 16, QLatin1Char('0'))
                                                                           : text.mid(i, length);
        i += length;
        // The ellipsis needs a place of its own unless this is the last piece.
        if (shown.size() + piece.size() > max - (i < text.size() ? 1 : 0))
            return shown + QChar(0x2026);
        shown += piece;
    }
    return shown;
}

QString ShownPath(const QString& text)
{
    return Shown(text, std::numeric_limits<int>::max());
}

QString Quoted(const QString& text)
{
    return u'\'' + Shown(text) + u'\'';
}

QString RadioCount(int radios)
{
    return radios == 1 ? QStringLiteral("1 radio") : QStringLiteral("%1 radios").arg(radios);
}

QString TimeText(qint64 timeMs)
{
    return QDateTime::fromMSecsSinceEpoch(timeMs, Qt::UTC).toString(Qt::ISODateWithMs);
}

QString TerminalText(const QString& text)
{
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    while (t.endsWith(u'\n'))
        t.chop(1);
    return t;
}

QString FileProblem(const QString& path, const QString& loaderText)
{
    const QFileInfo info(path);
    if (info.isFile() && info.size() < MIN_IMAGE_SIZE) {
        return QStringLiteral("%1: %2 bytes, too short for a firmware image (at least %3)")
            .arg(path)
            .arg(info.size())
            .arg(MIN_IMAGE_SIZE);
    }
    return QStringLiteral("%1: %2").arg(path, TerminalText(loaderText).replace(u'\n', u' '));
}
