#include "FirmwareImage.h"

#include "base/Language.h"
#include "base/MessageCatalog.h"
#include "base/Platform.h"
#include "base/SystemErrorText.h"

namespace {

// The system's text for `code`; the catalog's file text when the system has none.
QString SystemOrCatalogText(int code, quint16 language)
{
    QString text;
    if (code != 0 && LoadSystemErrorText(code, SystemTextLocale(language), text))
        return text;
    return LoadText(IDS_ERR_UPDATE_FILE, language);
}

} // namespace

quint32 SystemTextLocale(quint16 language)
{
    if (language == LanguageJapanese)
        return LOCALE_ID_JAPANESE;
    const quint32 system = SystemLocaleId();
    return system == LOCALE_ID_JAPANESE ? LOCALE_ID_ENGLISH_US : system;
}

bool LoadFirmwareFile(const QString& path, quint16 language, QByteArray& image, QString& errorText)
{
    using Platform::FileReadStatus;
    image.clear();
    const Platform::FileReadResult read = Platform::ReadWholeFile(FirmwarePathToUse(path), image, MAX_IMAGE_SIZE);
    switch (read.status) {
    case FileReadStatus::Ok:
        if (image.size() >= MIN_IMAGE_SIZE)
            return true;
        image.clear();
        errorText = LoadText(IDS_ERR_UPDATE_FILE, language);
        return false;
    case FileReadStatus::NotRegularFile:
        // A directory has its own system text; devices, pipes and sockets get ours.
        errorText = read.systemError != 0 ? SystemOrCatalogText(read.systemError, language)
                                          : LoadText(IDS_ERR_NOT_REGULAR_FILE, language);
        return false;
    case FileReadStatus::TooLarge:
        errorText = SystemOrCatalogText(Platform::kErrorFileTooLarge, language);
        return false;
    case FileReadStatus::ShortRead:
        // Fewer bytes than the size: the file shrank or the read failed; never send zero fill.
        errorText = SystemOrCatalogText(read.systemError != 0 ? read.systemError : Platform::kErrorReadFailed, language);
        return false;
    case FileReadStatus::SystemError:
        // A name that was not UTF-8 reached us with replacement characters and names no file:
        // say so, not that the operator's file does not exist.
        errorText = read.systemError == Platform::kErrorFileNotFound && path.contains(QChar::ReplacementCharacter)
                        ? LoadText(IDS_ERR_FILE_NAME_NOT_UTF8, language)
                        : SystemOrCatalogText(read.systemError, language);
        return false;
    }
    return false;
}

QString FirmwarePathToUse(const QString& typed)
{
    const QString trimmed = typed.trimmed();
    if (trimmed.size() >= 2 && trimmed.startsWith(u'"') && trimmed.endsWith(u'"'))
        return trimmed.mid(1, trimmed.size() - 2);
    return typed;
}
