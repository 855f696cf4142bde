// Firmware file selection by browsing and dropping: where the open dialog starts and the dialog
// itself, the catalog's filter in Qt's syntax, and which of a drop's files is taken and how.
#pragma once

#include <QString>
#include <QStringList>

class QDropEvent;
class QMimeData;
class QWidget;

// Where the open dialog starts for the path in the file-name field (in one pair of quotes or
// not): the file itself when it can be opened, otherwise the nearest existing folder of the
// path, and the user's Documents folder when no part exists, or the home folder without one
// (never the folder the program runs in).
struct BrowseStart {
    QString initialFile;
    QString initialFolder;
};

BrowseStart ChooseBrowseStart(const QString& currentPath);

// Qt's file dialog keeps its last folder and history in Qt's own settings of the user
// (HKEY_CURRENT_USER\Software\QtProject on Windows), shared by every Qt program: what a dialog
// left there while this object lived is taken away again, and so is a file that Qt made for it
// and left empty, so the program keeps to its own key.
class CQtDialogStateCleanUp {
public:
    CQtDialogStateCleanUp();
    ~CQtDialogStateCleanUp();
    CQtDialogStateCleanUp(const CQtDialogStateCleanUp&) = delete;
    CQtDialogStateCleanUp& operator=(const CQtDialogStateCleanUp&) = delete;

private:
    bool m_bHadState;
    bool m_bHadFile;
};

// "Description|pattern;pattern|...||" (the catalog's form) to Qt's name filters
// ("Description (pattern pattern)"); a description that already shows its patterns is kept.
QStringList FileDialogFilters(const QString& catalogFilter);

// A name whose last four characters are ".dat" in any case; folders are not told apart.
bool IsFirmwareFileName(const QString& name);

// The one firmware name among a drop's names; empty when there is none, or more than one (which
// of them the operator meant would be a guess). Other files dropped with it are left aside.
QString DroppedFirmwareFile(const QStringList& names);

// The open dialog over `owner` for a firmware file, starting where ChooseBrowseStart says for
// `currentPath`; the chosen file in the system's form, empty when the dialog was cancelled.
QString BrowseFirmwareFile(QWidget* owner, const QString& currentPath, quint16 language);

// A drop's local files in the system's form, and those of them whose names are not UTF-8 (such
// a name would reach the system with replacement characters, not as the very name).
struct LocalFiles {
    QStringList names;
    QStringList notUtf8;
};

LocalFiles LocalFilesOf(const QMimeData& data);

// Accepts the drag or drop as a copy, else a link, never a move (which would tell the source that
// the file has gone and let it delete the original), or refuses it when it is not `taken` or
// offers neither, so the cursor says what the drop will do; true when accepted.
bool AcceptAsCopy(QDropEvent& event, bool taken);
