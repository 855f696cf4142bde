#include "InstanceGuard.h"

#include "base/Platform.h"
#include "ui/main/FieldSettings.h"
#include "ui/main/SettingsStore.h"

#include <QStandardPaths>

QStringList CInstanceGuard::GuardFolders()
{
    // Qt's runtime location falls back to a folder of the user's own (mode 0700) in the
    // temporary folder when the session has none or an unsafe one.
    return {CSettingsStore::StoreFolder(QString::fromUtf8(SETTINGS_KEY_PATH)),
            QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)};
}

CInstanceGuard::Result CInstanceGuard::Acquire(const QStringList& folders, const QString& name)
{
    Release();
    for (const QString& folder : folders) {
        const qintptr handle = Platform::AcquireInstanceLock(folder, name);
        if (handle == -1)
            return Result::HeldByAnotherCopy;
        if (handle >= 0) {
            m_handle = handle;
            return Result::Acquired;
        }
    }
    return Result::Unavailable;
}

void CInstanceGuard::Release()
{
    Platform::ReleaseInstanceLock(m_handle);
    m_handle = -1;
}
