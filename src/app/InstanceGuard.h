// The single-instance guard: a lock beside the settings it protects, held by the running copy
// and released by the system when the process ends (a crashed copy never locks later starts out).
#pragma once

#include <QString>
#include <QtGlobal>

inline constexpr char INSTANCE_GUARD_NAME[] = "firmware update tool for Zerlind";

class CInstanceGuard {
public:
    enum class Result { Acquired, HeldByAnotherCopy, Unavailable };

    CInstanceGuard() = default;
    ~CInstanceGuard() { Release(); }
    CInstanceGuard(const CInstanceGuard&) = delete;
    CInstanceGuard& operator=(const CInstanceGuard&) = delete;

    // The lock lives in the folder of the settings file, so every copy that would write the same
    // settings meets the same lock, whatever its session's environment (runtime folder or none).
    static QString SettingsFolder();

    Result Acquire(const QString& folder = SettingsFolder(), const QString& name = QString::fromUtf8(INSTANCE_GUARD_NAME));
    void Release();
    bool IsHeld() const { return m_handle >= 0; }

private:
    qintptr m_handle = -1;
};
