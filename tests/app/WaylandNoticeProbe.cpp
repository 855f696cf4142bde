// Shows the main window and, as Start would, its confirmation, then ends: run natively on a
// Wayland compositor, its protocol log shows how the two toplevels relate. Exit status 0 once
// the confirmation was on the screen, 1 if it never appeared.
#include "WaylandSeat.h"

#include "base/MessageCatalog.h"
#include "ui/main/FirmUtilityDlg.h"

#include <QApplication>
#include <QTimer>
#include <QWindow>

int main(int argc, char* argv[])
{
    AvoidInputMethodWithoutSeat();
    QApplication app(argc, argv);
    CFirmUtilityDlg dlg;
    dlg.SetLanguage(LanguageEnglishUs);
    dlg.show();

    // Bounded: a confirmation that never shows ends the probe after ten seconds.
    constexpr int kPollMs = 20;
    constexpr int kPolls = 500;
    bool shown = false;
    int polls = 0;
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (dlg.m_dlgStart.isVisible() && dlg.m_dlgStart.windowHandle() && dlg.m_dlgStart.windowHandle()->isExposed()) {
            shown = true;
            dlg.m_dlgStart.reject();
        } else if (++polls > kPolls) {
            dlg.m_dlgStart.reject();
        }
    });
    QTimer::singleShot(0, &dlg, [&] {
        poll.start();
        dlg.OnStart(); // the confirmation, answered "No" by the poll
        poll.stop();
        app.quit();
    });
    app.exec();
    return shown ? 0 : 1;
}
