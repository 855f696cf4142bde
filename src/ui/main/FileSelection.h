// Rules of firmware file selection that need no window: where the file dialog starts, the
// catalog's filter in Qt's syntax and which dropped names count as firmware files.
#pragma once

#include <QString>
#include <QStringList>

// Where the open dialog starts for the path in the file-name field: the file itself when it can
// be opened, otherwise the nearest existing folder of the path (none when no part exists).
struct BrowseStart {
    QString initialFile;
    QString initialFolder;
};

BrowseStart ChooseBrowseStart(const QString& currentPath);

// "Description|pattern;pattern|...||" (the catalog's form) to Qt's name filters
// ("Description (pattern pattern)"); a description that already shows its patterns is kept.
QStringList FileDialogFilters(const QString& catalogFilter);

// A name whose last four characters are ".dat" in any case; folders are not told apart.
bool IsFirmwareFileName(const QString& name);

// The one firmware name among a drop's names; empty when there is none, or more than one (which
// of them the operator meant would be a guess). Other files dropped with it are left aside.
QString DroppedFirmwareFile(const QStringList& names);
