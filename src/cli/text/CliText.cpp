#include "CliText.h"

#include "engine/FirmwareImage.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>

#include <QList>

#include <algorithm>
#include <limits>

namespace {

bool IsWide(uint c)
{
    // The East Asian wide and full-width blocks a catalog text can hold.
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3)
           || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
           || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

} // namespace

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
    return radios == 1 ? QCoreApplication::translate("CliText", "1 radio")
                       : QCoreApplication::translate("CliText", "%1 radios").arg(radios);
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

QString OneLine(const QString& text)
{
    QString line = TerminalText(text);
    for (qsizetype i = line.indexOf(u'\n'); i >= 0; i = line.indexOf(u'\n', i)) {
        if (i > 0 && IsWide(line[i - 1].unicode()))
            line.remove(i, 1);
        else
            line[i++] = u' ';
    }
    return line;
}

QString FileProblem(const QString& path, const QString& loaderText)
{
    const QFileInfo info(path);
    if (info.isFile() && info.size() < MIN_IMAGE_SIZE) {
        return QCoreApplication::translate("CliText", "%1: %2 bytes, too short for a firmware image (at least %3)")
            .arg(path)
            .arg(info.size())
            .arg(MIN_IMAGE_SIZE);
    }
    return QStringLiteral("%1: %2").arg(path, OneLine(loaderText));
}

int DisplayWidth(const QString& text)
{
    int width = 0;
    for (const uint c : text.toUcs4())
        width += IsWide(c) ? 2 : 1;
    return width;
}

QString FitWidth(const QString& text, int columns, bool keepEnd)
{
    if (DisplayWidth(text) <= columns)
        return text;
    // Room for the mark that says something was cut.
    const int room = columns - 1;
    QList<uint> kept;
    int width = 0;
    const QList<uint> chars = text.toUcs4();
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const uint c = chars[keepEnd ? chars.size() - 1 - i : i];
        const int w = IsWide(c) ? 2 : 1;
        if (width + w > room)
            break;
        width += w;
        kept << c;
    }
    if (keepEnd)
        std::reverse(kept.begin(), kept.end());
    const QString cut = QString::fromUcs4(reinterpret_cast<const char32_t*>(kept.constData()), kept.size());
    if (columns < 1)
        return QString();
    return keepEnd ? QStringLiteral("\u2026") + cut : cut + QStringLiteral("\u2026");
}

QString PadWidth(const QString& text, int columns)
{
    return text + QString(qMax(0, columns - DisplayWidth(text)), u' ');
}

QString FormatRate(double bytesPerSecond)
{
    if (bytesPerSecond >= 1024.0 * 1024.0)
        return QStringLiteral("%1 MiB/s").arg(bytesPerSecond / (1024.0 * 1024.0), 0, 'f', 1);
    if (bytesPerSecond >= 1024.0)
        return QStringLiteral("%1 KiB/s").arg(qRound(bytesPerSecond / 1024.0));
    return QStringLiteral("%1 B/s").arg(qRound(bytesPerSecond));
}

QString FormatDuration(qint64 seconds)
{
    const qint64 h = seconds / 3600;
    const qint64 m = seconds / 60 % 60;
    const qint64 s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QLatin1Char('0')).arg(s, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}
