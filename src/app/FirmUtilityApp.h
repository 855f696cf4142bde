// The application object: start-up in its fixed order (locale, language, product name, the
// single-instance guard, sockets, command line, caution, main window) and shutdown.
#pragma once

#include "InstanceGuard.h"

#include <QStringList>
#include <QtGlobal>

// The installed desktop entry's name without ".desktop": the Wayland application id, so that
// desktops match the running window to its launcher and icon (X11 does it by the class name,
// which the entry names in StartupWMClass).
inline constexpr char DESKTOP_FILE_NAME[] = "jp.vurn.ZerlindFirmUtility";

// Exit status when the operator refuses the caution (seen as 255 by a shell).
inline constexpr int EXIT_CAUTION_REFUSED = -1;

// Qt's own texts (standard buttons, the file dialog) in the program's language; true when a
// translation was installed (only Japanese needs one).
bool InstallQtTranslations(quint16 language);

class CFirmUtilityApp {
public:
    // `arguments` are the program's arguments without the program name.
    explicit CFirmUtilityApp(QStringList arguments);

    // Runs start-up and the main window; returns once the window has closed, or at once when
    // another copy runs or the socket layer cannot start.
    void InitInstance();
    // Releases the guard; returns the process exit status.
    int ExitInstance();

    int Run()
    {
        InitInstance();
        return ExitInstance();
    }

private:
    QStringList m_arguments;
    CInstanceGuard m_hMutex;
};
