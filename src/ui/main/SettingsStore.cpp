#include "SettingsStore.h"

#include "base/MessageCatalog.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStringList>

namespace {

const QChar kKeySeparator = QLatin1Char('\\');
// Qt places every per-user store below the root's "Software" key itself.
const QString kSoftwareKey = QStringLiteral("software");

// Bytes the key name takes in the store's own (UTF-8) form, without a terminating zero.
int KeyBytes(const QString& text)
{
    return int(text.toUtf8().size());
}

// The store that holds key path + subkey, at its root; null when the location is unusable or
// the store cannot be read (a later write would then overwrite what could not be read).
std::unique_ptr<QSettings> ReadableStore(const QString& keyPath, const QString& subkey,
                                         CSettingsStore::KeyLocation& location)
{
    if (!CSettingsStore::LocateKey(keyPath, subkey, location))
        return nullptr;
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                location.organization, location.application);
    if (settings->status() != QSettings::NoError)
        return nullptr;
    return settings;
}

} // namespace

bool CSettingsStore::SetKeyPath(const QString& path)
{
    if (path.isEmpty())
        return false;
    QString withSeparator = path;
    if (!withSeparator.endsWith(kKeySeparator))
        withSeparator += kKeySeparator;
    // A subkey of at least one character and the terminating zero must still fit.
    if (KeyBytes(withSeparator) + 2 > SETTINGS_PATH_SIZE)
        return false;
    m_strKeyPath = withSeparator;
    return true;
}

bool CSettingsStore::LocateKey(const QString& keyPath, const QString& subkey, KeyLocation& location)
{
    QString joined = keyPath + subkey;
    if (joined.endsWith(kKeySeparator))
        joined.chop(1);
    if (KeyBytes(joined) + 1 > SETTINGS_PATH_SIZE)
        return false;

    const QStringList parts = joined.split(kKeySeparator, Qt::SkipEmptyParts);
    if (parts.size() < 3 || parts.front().compare(kSoftwareKey, Qt::CaseInsensitive) != 0)
        return false;
    location.organization = parts.at(1);
    location.application = parts.at(2);
    location.group = parts.mid(3).join(QLatin1Char('/'));
    return true;
}

QString CSettingsStore::StoreFolder(const QString& keyPath)
{
    KeyLocation location;
    if (!LocateKey(keyPath, QString(), location))
        return QString();
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, location.organization,
                             location.application);
    return QFileInfo(settings.fileName()).absolutePath();
}

bool CSettingsStore::FitsValueSize(const QString& value)
{
    return KeyBytes(value) + 1 <= SETTINGS_VALUE_SIZE;
}

std::unique_ptr<QSettings> CSettingsStore::OpenKey(const QString& subkey)
{
    if (m_strKeyPath.isEmpty()) {
        // Only a program that forgot to set its key path gets here; the message says so.
        QMessageBox box(QMessageBox::Critical, QString::fromUtf8(FixedText::SettingsWarningCaption),
                        QString::fromUtf8(FixedText::SettingsWarningText), QMessageBox::Ok);
        box.exec();
        return nullptr;
    }
    KeyLocation location;
    std::unique_ptr<QSettings> settings = ReadableStore(m_strKeyPath, subkey, location);
    if (!settings)
        return nullptr;
    // Opening never creates: every level of the group must already be there.
    for (const QString& level : location.group.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (!settings->childGroups().contains(level))
            return nullptr;
        settings->beginGroup(level);
    }
    return settings;
}

std::unique_ptr<QSettings> CSettingsStore::CreateKey(const QString& subkey)
{
    KeyLocation location;
    std::unique_ptr<QSettings> settings = ReadableStore(m_strKeyPath, subkey, location);
    if (!settings)
        return nullptr;
    if (!location.group.isEmpty())
        settings->beginGroup(location.group);
    return settings;
}

bool CSettingsStore::WriteString(const QString& subkey, const QString& name, const QString& text)
{
    std::unique_ptr<QSettings> key = CreateKey(subkey);
    if (!key)
        return false;
    key->setValue(name, text);
    key->sync();
    return key->status() == QSettings::NoError;
}

bool CSettingsStore::ReadString(const QString& subkey, const QString& name, QString& text,
                                const QString& defaultText)
{
    text = defaultText;
    std::unique_ptr<QSettings> key = OpenKey(subkey);
    if (!key)
        return false;
    const QVariant value = key->value(name);
    if (value.typeId() != QMetaType::QString)
        return false;
    QString stored = value.toString();
    if (!FitsValueSize(stored))
        return false;
    // The value ends at its first zero, as a stored string does.
    const qsizetype zero = stored.indexOf(QChar(0));
    if (zero >= 0)
        stored.truncate(zero);
    text = stored;
    return true;
}
