// The single-instance guard: a lock held by the running copy in the first place that can hold
// one, released by the system when the process ends (a crashed copy never locks later starts out).
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

inline constexpr char INSTANCE_GUARD_NAME[] = "firmware update tool for Zerlind";

class CInstanceGuard {
public:
    enum class Result { Acquired, HeldByAnotherCopy, Unavailable };

    CInstanceGuard() = default;
    ~CInstanceGuard() { Release(); }
    CInstanceGuard(const CInstanceGuard&) = delete;
    CInstanceGuard& operator=(const CInstanceGuard&) = delete;

    // Where the lock may live, first choice first. The folder of the settings file, so every copy
    // that would write the same settings meets the same lock whatever its session's environment;
    // when that folder cannot hold it (read-only), the runtime folder, or else a folder of the
    // user's own among the temporary files: all copies of one session then meet there.
    static QStringList GuardFolders();

    // Takes the lock in the first of `folders` that can hold it; Unavailable when none can.
    Result Acquire(const QStringList& folders = GuardFolders(), const QString& name = QString::fromUtf8(INSTANCE_GUARD_NAME));
    void Release();
    bool IsHeld() const { return m_handle >= 0; }

private:
    qintptr m_handle = -1;
};
