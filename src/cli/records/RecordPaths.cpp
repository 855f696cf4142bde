#include "RecordPaths.h"

#include "engine/FirmwareImage.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

namespace {

// As many links as the system itself follows in one name before it gives up (Linux: 40).
constexpr int MAX_LINK_HOPS = 40;
// Folders climbed to find the nearest one that is there.
constexpr int MAX_FOLDER_DEPTH = 256;

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity NAME_CASE = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity NAME_CASE = Qt::CaseSensitive;
#endif

// "--failed PATH", "the firmware file PATH".
QString RoleText(const FileRole& role)
{
    if (role.option.isEmpty())
        return QCoreApplication::translate("RecordPaths", "the firmware file %1").arg(role.path);
    if (role.option == QLatin1String("--radios"))
        return QCoreApplication::translate("RecordPaths", "the radio list %1").arg(role.path);
    return role.option + u' ' + role.path;
}

} // namespace

QString PathToOpen(const QString& given)
{
    return FirmwarePathToUse(given);
}

bool FileWhere::SameFile(const FileWhere& other) const
{
    if (kind != other.kind || !(identity == other.identity))
        return false;
    return kind == Kind::Existing || (kind == Kind::ToBeMade && rest.compare(other.rest, NAME_CASE) == 0);
}

FileWhere LocateFile(const QString& path)
{
    FileWhere where;
    QString end = path;
    bool linked = false;
    int hops = 0;
    for (; hops < MAX_LINK_HOPS; ++hops) {
        // Symbolic links only: a Windows shortcut is a file of its own.
        const QFileInfo info(end);
        if (!info.isSymbolicLink())
            break;
        linked = true;
        end = info.symLinkTarget();
    }
    where.target = QFileInfo(end).absoluteFilePath();
    // A file that is there is known by the system's identity of what the name opens.
    if (Platform::IdentifyFile(path, where.identity)) {
        where.kind = FileWhere::Kind::Existing;
        return where;
    }
    if (hops == MAX_LINK_HOPS) {
        where.kind = FileWhere::Kind::LinkLoop;
        return where;
    }
    // One to be made: by the folder it goes in (followed through its links) and its name; a
    // missing folder by the nearest one there and the names below it.
    QFileInfo below(where.target);
    QStringList rest{below.fileName()};
    for (int depth = 0; depth < MAX_FOLDER_DEPTH; ++depth) {
        const QString folder = below.absolutePath();
        if (Platform::IdentifyFile(folder, where.identity)) {
            where.kind = FileWhere::Kind::ToBeMade;
            where.rest = rest.join(u'/');
            return where;
        }
        // A link is written through, never replaced: the folder it leads into is not made.
        if (linked || QFileInfo(folder).isRoot())
            break;
        below = QFileInfo(folder);
        rest.prepend(below.fileName());
    }
    where.kind = FileWhere::Kind::LinkToMissingFolder;
    return where;
}

bool CheckFileRoles(const QVector<FileRole>& roles, QString& error)
{
    QVector<FileWhere> places;
    for (const FileRole& role : roles)
        places << (role.path == QLatin1String("-") ? FileWhere() : LocateFile(role.path));
    for (int later = 1; later < roles.size(); ++later) {
        for (int earlier = 0; earlier < later; ++earlier) {
            const FileRole& a = roles[earlier];
            const FileRole& b = roles[later];
            // Standard input is no file, but is read once.
            const bool standardInput = a.path == QLatin1String("-") || b.path == QLatin1String("-");
            const bool same = standardInput ? a.path == b.path && a.option == b.option : places[earlier].SameFile(places[later]);
            if (!same)
                continue;
            // Only radio lists come more than once: each of its radios would be "listed twice".
            if (a.option == b.option) {
                error = a.path == b.path ? QCoreApplication::translate("RecordPaths", "%1 %2 given twice").arg(b.option, b.path)
                                         : QCoreApplication::translate("RecordPaths", "%1 %2 and %1 %3: one list given twice").arg(a.option, a.path, b.path);
            } else {
                error = QCoreApplication::translate("RecordPaths", "%1 %2: the same file as %3").arg(b.option.isEmpty() ? QStringLiteral("FILE") : b.option,
                                                                        b.path, RoleText(a));
            }
            return false;
        }
    }
    return true;
}

bool CheckRecordPath(const QString& option, const QString& path, QString& error)
{
    const FileWhere where = LocateFile(path);
    switch (where.kind) {
    case FileWhere::Kind::Existing:
        if (QFileInfo(path).isFile())
            return true;
        error = QCoreApplication::translate("RecordPaths", "%1 %2: not a regular file").arg(option, path);
        return false;
    case FileWhere::Kind::ToBeMade:
        return true;
    case FileWhere::Kind::LinkToMissingFolder:
        error = QCoreApplication::translate("RecordPaths", "%1 %2: a symbolic link into a folder that does not exist (%3)").arg(option, path, where.target);
        return false;
    case FileWhere::Kind::LinkLoop:
        error = QCoreApplication::translate("RecordPaths", "%1 %2: a loop of symbolic links").arg(option, path);
        return false;
    }
    return false;
}
