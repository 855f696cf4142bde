// zfu-screenshots: pictures of the main window during a transfer and of the three notices, in
// English and Japanese, for the README. Run on the offscreen platform by scripts/screenshots.
#include "base/MessageCatalog.h"
#include "ui/controls/ColorEdit.h"
#include "ui/main/FirmUtilityDlg.h"
#include "ui/notices/CompDlg.h"
#include "ui/notices/OpeningDlg.h"
#include "ui/notices/StartDlg.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Lets timers, layout and painting settle before a picture is taken.
void Settle(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool Save(QWidget& window, const QString& path)
{
    Settle(150);
    const bool ok = window.grab().save(path);
    QTextStream(stdout) << (ok ? "wrote " : "could not write ") << path << '\n';
    return ok;
}

// The window as the operator sees it a little way into a transfer, drawn by the very operations
// the update run reports through.
bool MainWindowDuringTransfer(quint16 language, const QString& path)
{
    CFirmUtilityDlg dlg;
    dlg.SetLanguage(language);
    dlg.SetOptions({false, false, QStringLiteral("/home/operator/firmware/zerlind-main-2.10.dat")});
    dlg.show();
    qobject_cast<QLineEdit*>(dlg.GetDlgItem(CFirmUtilityDlg::IDC_IP_ADDRESS))->setText(QStringLiteral("192.168.1.50"));
    // No instruction in the picture: it is typed to its end, then the pane is emptied as a run does.
    const QDeadlineTimer typed(10000);
    while (dlg.IsTyping() && !typed.hasExpired())
        Settle(10);
    qobject_cast<CColorEdit*>(dlg.GetDlgItem(CFirmUtilityDlg::IDC_MESSAGE))->SetText(QString());
    dlg.EnableInputControls(false);
    dlg.AppendMessageLine(LoadText(IDS_STATUS_CONNECTING, language));
    dlg.AppendMessageLine(LoadText(IDS_STATUS_CONNECTED, language));
    dlg.StartTransferProgress(600);
    dlg.ShowStatus(IDS_STATUS_TRANSFERRING);
    for (int step = 0; step < 26; ++step)
        dlg.StepTransferProgress();
    const bool ok = Save(dlg, path);
    dlg.EnableInputControls(true);
    return ok;
}

template <class Dialog>
bool Notice(quint16 language, const QString& path)
{
    Dialog dlg;
    dlg.m_wLanguage = language;
    dlg.show();
    const bool ok = Save(dlg, path);
    dlg.close();
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    // The pictures must not depend on, or change, anyone's stored settings.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);

    bool ok = true;
    for (const auto& [language, suffix] : {std::pair{LanguageEnglishUs, "en"}, std::pair{LanguageJapanese, "ja"}}) {
        const QString tail = QStringLiteral("-%1.png").arg(QLatin1String(suffix));
        ok &= MainWindowDuringTransfer(language, folder + QStringLiteral("/main-transfer") + tail);
        ok &= Notice<COpeningDlg>(language, folder + QStringLiteral("/caution") + tail);
        ok &= Notice<CStartDlg>(language, folder + QStringLiteral("/confirmation") + tail);
        ok &= Notice<CCompDlg>(language, folder + QStringLiteral("/completion") + tail);
    }
    return ok ? 0 : 1;
}
