// Rules of firmware file selection that need no window: where the file dialog starts, the
// catalog's filter in Qt's syntax and which dropped names count as firmware files.
#pragma once

#include <QString>
#include <QStringList>

// Where the open dialog starts for the path in the file-name field: the file itself when it can
// be opened, otherwise the nearest existing folder of the path, and the user's Documents folder
// when no part exists (not the folder the program happens to run in).
struct BrowseStart {
    QString initialFile;
    QString initialFolder;
};

BrowseStart ChooseBrowseStart(const QString& currentPath);

// Qt's file dialog keeps its last folder and history in Qt's own settings of the user
// (HKEY_CURRENT_USER\Software\QtProject on Windows), shared by every Qt program: what a dialog
// left there while this object lived is taken away again, so the program keeps to its own key.
class CQtDialogStateCleanUp {
public:
    CQtDialogStateCleanUp();
    ~CQtDialogStateCleanUp();
    CQtDialogStateCleanUp(const CQtDialogStateCleanUp&) = delete;
    CQtDialogStateCleanUp& operator=(const CQtDialogStateCleanUp&) = delete;

private:
    bool m_bHadState;
};

// "Description|pattern;pattern|...||" (the catalog's form) to Qt's name filters
// ("Description (pattern pattern)"); a description that already shows its patterns is kept.
QStringList FileDialogFilters(const QString& catalogFilter);

// A name whose last four characters are ".dat" in any case; folders are not told apart.
bool IsFirmwareFileName(const QString& name);

// The one firmware name among a drop's names; empty when there is none, or more than one (which
// of them the operator meant would be a guess). Other files dropped with it are left aside.
QString DroppedFirmwareFile(const QStringList& names);
