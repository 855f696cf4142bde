#include "InstanceGuard.h"

#include "base/Platform.h"

CInstanceGuard::Result CInstanceGuard::Acquire(const QString& name)
{
    Release();
    const int handle = Platform::AcquireInstanceLock(name);
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
