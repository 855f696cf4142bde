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

    if (rest.contains(kNoCheck)) {
        rest.remove(kNoCheck);
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
    // option may hold more of the line: both go on as written. Empty arguments add nothing.
    QStringList parts;
    for (const QString& arg : arguments) {
        if (arg.isEmpty())
            continue;
        if (arg.contains(u'"') || arg.contains(kNoCheck))
            parts << arg;
        else if (HasHidePrefix(arg))
            parts << (arg.size() == 2 ? arg : arg.left(2) + u'"' + arg.mid(2) + u'"');
        else
            parts << u'"' + arg + u'"';
    }
    return parts.join(u' ');
}
