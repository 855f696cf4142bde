#include "FileSelection.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString kFirmwareSuffix = QStringLiteral(".dat");
const QString kQtOrganization = QStringLiteral("QtProject");
const QString kQtDialogGroup = QStringLiteral("FileDialog");

// Opens for reading only what is a regular file, so a pipe or device in the field can never
// block the window.
bool CanOpenForReading(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

// The path without its last character; a surrogate pair goes as one.
void CutLastCharacter(QString& path)
{
    const qsizetype cut = path.size() >= 2 && path.back().isLowSurrogate() ? 2 : 1;
    path.chop(cut);
}

} // namespace

BrowseStart ChooseBrowseStart(const QString& currentPath)
{
    BrowseStart start;
    if (CanOpenForReading(currentPath)) {
        start.initialFile = currentPath;
        return start;
    }
    // Character by character, so "C:/fw/old/main.dat" finds "C:/fw" when only that exists.
    QString candidate = currentPath;
    while (!candidate.isEmpty()) {
        if (QFileInfo(candidate).isDir()) {
            start.initialFolder = candidate;
            break;
        }
        CutLastCharacter(candidate);
    }
    if (start.initialFolder.isEmpty())
        start.initialFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return start;
}

CQtDialogStateCleanUp::CQtDialogStateCleanUp()
    : m_bHadState(QSettings(QSettings::UserScope, kQtOrganization).childGroups().contains(kQtDialogGroup))
{
}

CQtDialogStateCleanUp::~CQtDialogStateCleanUp()
{
    // Another Qt program's state is left as it was.
    if (!m_bHadState)
        QSettings(QSettings::UserScope, kQtOrganization).remove(kQtDialogGroup);
}

QStringList FileDialogFilters(const QString& catalogFilter)
{
    const QStringList parts = catalogFilter.split(QLatin1Char('|'));
    QStringList filters;
    // Pairs of description and patterns; the list ends at the first empty description.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts.at(i);
        if (description.isEmpty())
            break;
        const QString patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        const QString shown = QStringLiteral("(%1)").arg(patterns);
        filters << (description.endsWith(shown) ? description : QStringLiteral("%1 %2").arg(description, shown));
    }
    return filters;
}

bool IsFirmwareFileName(const QString& name)
{
    return name.endsWith(kFirmwareSuffix, Qt::CaseInsensitive);
}

QString DroppedFirmwareFile(const QStringList& names)
{
    QString found;
    for (const QString& name : names) {
        if (!IsFirmwareFileName(name))
            continue;
        if (!found.isEmpty())
            return QString();
        found = name;
    }
    return found;
}
