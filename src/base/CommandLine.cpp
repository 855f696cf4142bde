#include "CommandLine.h"

namespace {

const QString kNoCheck = QStringLiteral("-nocheck");

bool IsBlank(QChar c)
{
    // The classic C-locale white space; an ideographic space is part of a file name.
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

QString Trim(const QString& s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && IsBlank(s[begin]))
        ++begin;
    while (end > begin && IsBlank(s[end - 1]))
        --end;
    return s.mid(begin, end - begin);
}

// A leading double quote is matched with the next one; the text between them is the path and
// whatever follows the closing quote is dropped. Without a closing quote the text stays.
QString StripQuotes(const QString& s)
{
    if (s.isEmpty() || s[0] != u'"')
        return s;
    const qsizetype k = s.indexOf(u'"', 1);
    return k < 0 ? s : s.mid(1, k - 1);
}

// "-nocheck" is the option only as a word of its own: at the start or end of the text or between
// blanks, outside double quotes. A file manager passes a path straight in, and a folder such as
// x-nocheck must neither silence the notices nor change the path. The option written twice
// without a blank between is still the option. Takes each such word out; true when one was found.
bool TakeNoCheckWords(QString& text)
{
    bool found = false;
    bool quoted = false;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] == u'"') {
            quoted = !quoted;
            ++i;
            continue;
        }
        const bool wordStart = !quoted && (i == 0 || IsBlank(text[i - 1]));
        qsizetype end = i;
        while (wordStart && QStringView(text).mid(end).startsWith(kNoCheck))
            end += kNoCheck.size();
        if (end > i && (end == text.size() || IsBlank(text[end]))) {
            text.remove(i, end - i);
            found = true;
            continue;
        }
        ++i;
    }
    return found;
}

bool HasHidePrefix(const QString& s)
{
    return s.startsWith(QLatin1String("*U"), Qt::CaseInsensitive) ||
           s.startsWith(QLatin1String("*T"), Qt::CaseInsensitive);
}

} // namespace

CommandLineOptions ParseCommandLine(const QString& text)
{
    CommandLineOptions options;
    QString rest = text;

    if (TakeNoCheckWords(rest)) {
        rest = Trim(rest);
        options.bNoCheck = true;
    }

    // "Open with" and a file dropped on the icon pass the name as the folder spells it: MAIN.DAT
    // is as much a firmware file as main.dat, on every system.
    if (!rest.contains(QLatin1String(".dat"), Qt::CaseInsensitive))
        return options;

    if (HasHidePrefix(rest)) {
        // The prefix is not part of the path: without removing it the preset could never load.
        options.bHideFileControls = true;
        options.strFileName = StripQuotes(Trim(rest.mid(2)));
        return options;
    }

    options.strFileName = StripQuotes(rest);
    return options;
}

QString CommandLineText(const QStringList& arguments)
{
    // The shell has already split the words and taken the quotes away, so each argument is
    // quoted again as one path, the "*U" / "*T" prefix in front of the quotes. An argument that
    // holds a double quote was written in the command line's own quoting, and one that holds the
    // option as a word may hold more of the line: both go on as written. A path that merely
    // holds its letters is quoted like any other. Empty arguments add nothing.
    QStringList parts;
    for (const QString& arg : arguments) {
        if (arg.isEmpty())
            continue;
        QString words = arg;
        if (arg.contains(u'"') || TakeNoCheckWords(words))
            parts << arg;
        else if (HasHidePrefix(arg))
            parts << (arg.size() == 2 ? arg : arg.left(2) + u'"' + arg.mid(2) + u'"');
        else
            parts << u'"' + arg + u'"';
    }
    return parts.join(u' ');
}
