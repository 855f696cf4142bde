#include "FileSelection.h"

#include "base/Language.h"
#include "base/MessageCatalog.h"
#include "base/Platform.h"
#include "engine/FirmwareImage.h"
#include "ui/controls/FrameCentring.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QUrl>

#include <optional>

namespace {

const QString kFirmwareSuffix = QStringLiteral(".dat");
const QString kQtOrganization = QStringLiteral("QtProject");
const QString kQtDialogGroup = QStringLiteral("FileDialog");
const QString kDefaultSuffix = QStringLiteral("dat");

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

// The action a drop is taken with; none when the drop is refused.
std::optional<Qt::DropAction> DropActionFor(const QDropEvent& event, bool taken)
{
    if (!taken)
        return std::nullopt;
    if (event.possibleActions() & Qt::CopyAction)
        return Qt::CopyAction;
    if (event.possibleActions() & Qt::LinkAction)
        return Qt::LinkAction;
    return std::nullopt;
}

// Whether the local file's name, as the system knows it (the URL's bytes), is UTF-8 and so
// comes through as the very name.
bool NameIsUtf8(const QUrl& url)
{
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString name = decoder(bytes);
    return !decoder.hasError();
}

} // namespace

BrowseStart ChooseBrowseStart(const QString& typed)
{
    // In quotes (Explorer's "Copy as path"): the file, as an update takes it.
    const QString currentPath = FirmwarePathToUse(typed);
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
    // Qt's dialog would take a folder that does not exist for the one the program runs in.
    if (start.initialFolder.isEmpty())
        start.initialFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(start.initialFolder).isDir())
        start.initialFolder = QDir::homePath();
    return start;
}

CQtDialogStateCleanUp::CQtDialogStateCleanUp()
{
    const QSettings qt(QSettings::UserScope, kQtOrganization);
    m_bHadState = qt.childGroups().contains(kQtDialogGroup);
    m_bHadFile = QFileInfo::exists(qt.fileName());
}

CQtDialogStateCleanUp::~CQtDialogStateCleanUp()
{
    // Another Qt program's state is left as it was.
    if (m_bHadState)
        return;
    {
        QSettings qt(QSettings::UserScope, kQtOrganization);
        qt.remove(kQtDialogGroup);
        qt.sync();
        // Nor is an empty file of Qt's left where there was none (the registry has no file).
        const QFileInfo file(qt.fileName());
        if (!m_bHadFile && qt.allKeys().isEmpty() && file.isFile() && file.size() == 0)
            QFile::remove(file.filePath());
    }
    // Nor the empty keys the settings made in the registry, once they are closed.
    Platform::RemoveEmptyQtSettings();
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

QString BrowseFirmwareFile(QWidget* owner, const QString& currentPath, quint16 language)
{
    // The system's language, not the program's, decides the title.
    const bool japaneseSystem = ChooseLanguage(SystemLocaleId()) == LanguageJapanese;

    const CQtDialogStateCleanUp cleanUp; // after the dialog has saved its state
    QFileDialog dialog(owner);
    new CFrameCentring(dialog, CFrameCentring::Over::Owner); // owned by the dialog
    new CReturnFromMinimise(dialog); // owned by the dialog
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(FileDialogFilters(LoadText(IDS_FILE_FILTER, language)));
    dialog.setDefaultSuffix(kDefaultSuffix);
    const BrowseStart start = ChooseBrowseStart(currentPath);
    if (!start.initialFile.isEmpty()) {
        dialog.setDirectory(QFileInfo(start.initialFile).absolutePath());
        dialog.selectFile(start.initialFile);
    } else if (!start.initialFolder.isEmpty()) {
        dialog.setDirectory(start.initialFolder);
    }
    if (!japaneseSystem)
        dialog.setWindowTitle(QString::fromUtf8(FixedText::OpenTitle));

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

LocalFiles LocalFilesOf(const QMimeData& data)
{
    LocalFiles files;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile())
            continue;
        files.names << QDir::toNativeSeparators(url.toLocalFile());
        if (!NameIsUtf8(url))
            files.notUtf8 << files.names.back();
    }
    return files;
}

bool AcceptAsCopy(QDropEvent& event, bool taken)
{
    const std::optional<Qt::DropAction> action = DropActionFor(event, taken);
    if (!action) {
        event.ignore();
        return false;
    }
    event.setDropAction(*action);
    event.accept();
    return true;
}
