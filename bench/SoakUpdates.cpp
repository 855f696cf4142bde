// Updates in a row in one engine instance, or in one main window shown offscreen, against
// zerlind-radio-sim: prints the time per update, the longest gap of a 10 ms timer meanwhile, and
// resident memory and open descriptors before the first update, after it and after the last.
// Usage: zfu-bench-soak [--window] [--updates N] [--size BYTES] [--address A] [--external-sim]
#include "base/MessageCatalog.h"
#include "common/ProcessResources.h"
#include "engine/UpdateReporter.h"
#include "engine/UpdateRun.h"
#include "ui/controls/ColorEdit.h"
#include "ui/main/FirmUtilityDlg.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>

namespace {

// Long enough for the simulator to start on a loaded machine; the soak fails rather than hangs.
constexpr int SIM_START_LIMIT_MS = 10000;
constexpr int SIM_END_LIMIT_MS = 10000;
// The timer whose longest gap shows how long the runs hold up the event loop.
constexpr int PROBE_TIMER_MS = 10;

// The engine's reporter with nothing to show: the soak measures the run, not a terminal.
class CSilentReporter : public IUpdateReporter {
public:
    void AppendMessageLine(const QString&) override {}
    void EnableInputControls(bool) override {}
    void StartTransferProgress(int) override {}
    void StepTransferProgress() override {}
    void StartWaitAnimation() override {}
    void StopWaitAnimation() override {}
    void ShowErrorBox(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void ShowFileError(const QString& text) override { ShowErrorBox(text); }
    void FocusEditAtEnd(InputField) override {}
    void SetActiveConnection(bool) override {}
};

struct Sample {
    qint64 residentKiB;
    int descriptors;
};

Sample Take()
{
    return {ProcessResources::ResidentKiB(), ProcessResources::OpenDescriptors()};
}

bool WriteImage(const QString& path, qint64 size)
{
    QByteArray bytes((size + 3) / 4 * 4, Qt::Uninitialized);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    bytes.truncate(size);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == size;
}

// Counts the simulator's lines that end a session with the image programmed.
int ProgrammedSessions(const QString& logPath)
{
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    return int(log.readAll().count("outcome=programmed"));
}

} // namespace

int main(int argc, char** argv)
{
    const bool window = argc > 1 && qstrcmp(argv[1], "--window") == 0;
    QTemporaryDir scratch;
    if (window) {
        // Offscreen, with settings of its own: the soak never touches the operator's.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(scratch.path()));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(scratch.path()));
    }
    std::unique_ptr<QCoreApplication> app(window ? new QApplication(argc, argv) : new QCoreApplication(argc, argv));

    QCommandLineParser parser;
    parser.addOption({"window", "Run the updates through one main window."});
    parser.addOption({"updates", "Number of updates.", "N", "500"});
    parser.addOption({"size", "Image size in bytes.", "BYTES", "262144"});
    parser.addOption({"address", "Loopback address of the simulator.", "A", "127.0.0.199"});
    parser.addOption({"external-sim", "Use the simulator already listening on the address."});
    parser.addHelpOption();
    parser.process(*app);
    const int updates = parser.value("updates").toInt();
    const qint64 size = parser.value("size").toLongLong();
    const QString address = parser.value("address");
    const bool externalSim = parser.isSet("external-sim");

    const QString image = scratch.filePath("soak.dat");
    const QString simLog = scratch.filePath("sim.log");
    if (updates < 1 || size < 1024 || !WriteImage(image, size)) {
        std::fprintf(stderr, "zfu-bench-soak: bad arguments or no room for the image\n");
        return 2;
    }

    QProcess sim;
    if (!externalSim) {
        sim.setStandardOutputFile(simLog);
        sim.start(QCoreApplication::applicationDirPath() + "/zerlind-radio-sim",
                  {"--listen", address, "--sessions", QString::number(updates)});
        QDeadlineTimer simStart(SIM_START_LIMIT_MS);
        while (!QFile(simLog).exists() || !QFile(simLog).size()) {
            if (simStart.hasExpired() || sim.state() == QProcess::NotRunning) {
                std::fprintf(stderr, "zfu-bench-soak: the simulator did not start\n");
                return 1;
            }
            QThread::msleep(10);
        }
    }

    std::unique_ptr<CFirmUtilityDlg> dlg;
    CSilentReporter reporter;
    std::unique_ptr<CUpdateRun> run;
    std::function<bool()> update;
    const QString updatedLine = LoadText(IDS_STATUS_UPDATED, LanguageEnglishUs) + QStringLiteral("\r\n");
    if (window) {
        dlg = std::make_unique<CFirmUtilityDlg>();
        dlg->SetLanguage(LanguageEnglishUs);
        dlg->SetOptions({true, false, {}});
        dlg->show();
        qobject_cast<QLineEdit*>(dlg->GetDlgItem(CFirmUtilityDlg::IDC_FILE_NAME))->setText(image);
        qobject_cast<QLineEdit*>(dlg->GetDlgItem(CFirmUtilityDlg::IDC_IP_ADDRESS))->setText(address);
        QCoreApplication::processEvents();
        auto* pane = qobject_cast<CColorEdit*>(dlg->GetDlgItem(CFirmUtilityDlg::IDC_MESSAGE));
        update = [&dlg, pane, updatedLine] {
            dlg->OnStart();
            return pane->Text().endsWith(updatedLine);
        };
    } else {
        run = std::make_unique<CUpdateRun>(reporter, LanguageEnglishUs);
        update = [&run, image, address] { return run->Run(image, address) == UpdateResult::Updated; };
    }

    const Sample before = Take();
    Sample afterFirst{};
    int updated = 0;
    QElapsedTimer clock;
    qint64 lastTickUs = 0;
    qint64 longestGapUs = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(PROBE_TIMER_MS);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed() / 1000;
        longestGapUs = qMax(longestGapUs, now - lastTickUs);
        lastTickUs = now;
    });
    clock.start();
    probe.start();
    for (int i = 0; i < updates; ++i) {
        updated += update() ? 1 : 0;
        if (i == 0)
            afterFirst = Take();
    }
    const qint64 elapsedMs = clock.elapsed();
    probe.stop();
    const Sample afterLast = Take();
    const qint64 peakKiB = ProcessResources::PeakResidentKiB();

    // An external simulator's log is not ours to read: the engine's results stand alone then.
    int programmed = updated;
    if (!externalSim) {
        sim.waitForFinished(SIM_END_LIMIT_MS);
        programmed = ProgrammedSessions(simLog);
    }

    std::printf("%d updates of %lld bytes through %s against zerlind-radio-sim on %s\n", updates, size,
                window ? "one main window (offscreen)" : "one engine instance", qPrintable(address));
    std::printf("updated: %d, programmed by the simulator: %d, %.3f s, %.1f ms per update\n", updated, programmed,
                elapsedMs / 1000.0, double(elapsedMs) / updates);
    std::printf("longest gap of a %d ms timer during the updates: %.1f ms\n", PROBE_TIMER_MS, longestGapUs / 1000.0);
    std::printf("                      VmRSS (KiB)   open descriptors\n");
    std::printf("before the first      %11lld   %16d\n", before.residentKiB, before.descriptors);
    std::printf("after the first       %11lld   %16d\n", afterFirst.residentKiB, afterFirst.descriptors);
    std::printf("after the last        %11lld   %16d\n", afterLast.residentKiB, afterLast.descriptors);
    std::printf("growth after the first update: %+lld KiB, %+d descriptors; peak VmHWM %lld KiB\n",
                afterLast.residentKiB - afterFirst.residentKiB, afterLast.descriptors - afterFirst.descriptors,
                peakKiB);
    return updated == updates && programmed == updates ? 0 : 1;
}
