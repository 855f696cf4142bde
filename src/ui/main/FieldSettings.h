// The main window's two fields in the user's settings: read when the window opens, written
// through at every change, a failed write said once rather than at every keystroke.
#pragma once

#include "engine/UpdateReporter.h"
#include "ui/main/SettingsStore.h"

#include <QString>

// Where the window keeps its two fields below the user's root of the settings store.
inline constexpr char SETTINGS_KEY_PATH[] = "software\\vurn\\Zerlind FirmUtility";

class CFieldSettings {
public:
    CFieldSettings();

    // The stored text of the field; empty when there is none or it cannot be read.
    QString Read(InputField field);
    // Stores the field's whole text. True when the operator must be told: this write failed and
    // the one before it did not (a write that succeeds again ends the failure).
    bool Store(InputField field, const QString& text);

private:
    CSettingsStore m_settings;
    bool m_bStoreFailed = false;
};
