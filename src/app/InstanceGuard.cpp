#include "InstanceGuard.h"

#include "base/Platform.h"
#include "ui/main/FirmUtilityDlg.h"
#include "ui/main/SettingsStore.h"

QString CInstanceGuard::SettingsFolder()
{
    return CSettingsStore::StoreFolder(QString::fromUtf8(SETTINGS_KEY_PATH));
}

CInstanceGuard::Result CInstanceGuard::Acquire(const QString& folder, const QString& name)
{
    Release();
    const qintptr handle = Platform::AcquireInstanceLock(folder, name);
    if (handle == -1)
        return Result::HeldByAnotherCopy;
    if (handle < 0)
        return Result::Unavailable;
    m_handle = handle;
    return Result::Acquired;
}

void CInstanceGuard::Release()
{
    Platform::ReleaseInstanceLock(m_handle);
    m_handle = -1;
}
