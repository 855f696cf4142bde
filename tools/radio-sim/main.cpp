// zerlind-radio-sim: the radio's firmware update service on TCP, for tests and demonstrations;
// one process serves one radio or many.
#include "RadioServer.h"
#include "SimOptions.h"
#include "base/Language.h"
#include "base/Platform.h"
#include "base/Release.h"
#include "base/Translations.h"

#include <QCoreApplication>
#include <QTextStream>

#include <memory>
#include <vector>

#ifndef Q_OS_WIN
#include <sys/resource.h>
#endif

namespace {

// A radio listens on one descriptor and serves a session on another: a thousand radios need
// more than the usual soft limit of 1024, so the simulator takes what the hard limit allows.
void RaiseDescriptorLimit()
{
#ifndef Q_OS_WIN
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
#endif
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    UseTranslations(ChooseLanguage(SystemLocaleId()));
    // A client that resets the connection must not end the simulator.
    Platform::InitSocketLayer();

    SimOptions options;
    QString error;
    QTextStream err(stderr);
    switch (ParseSimOptions(app.arguments(), options, error)) {
    case ParseOutcome::Help:
        QTextStream(stdout) << SimHelpText();
        return 0;
    case ParseOutcome::Version:
        QTextStream(stdout) << "zerlind-radio-sim (Zerlind Firm Utility) " << kReleaseVersion << '\n';
        return 0;
    case ParseOutcome::Error:
        err << "zerlind-radio-sim: " << error << '\n'
            << QCoreApplication::translate("RadioSimMain", "Try 'zerlind-radio-sim --help'.") << '\n';
        return 2;
    case ParseOutcome::Run:
        break;
    }

    RaiseDescriptorLimit();
    QTextStream out(stdout);
    SimTally tally;
    std::vector<std::unique_ptr<CRadioServer>> servers;
    int serversDone = 0;
    for (const SimRadio& radio : options.Radios()) {
        servers.push_back(std::make_unique<CRadioServer>(options.ForRadio(radio), tally, out));
        CRadioServer* server = servers.back().get();
        QObject::connect(server, &CRadioServer::allSessionsDone, &app, [&] {
            if (++serversDone == int(servers.size()))
                QCoreApplication::quit();
        }, Qt::QueuedConnection);
        if (!server->Listen(error)) {
            err << "zerlind-radio-sim: "
                << QCoreApplication::translate("RadioSimMain", "cannot listen on %1: %2").arg(server->Where(), error) << '\n';
            return 1;
        }
    }
    // Only once every radio listens: whoever waits for these lines may connect to any of them.
    // Scripts and tests read them: they stay English in every language.
    for (const auto& server : servers)
        out << "listening on " << server->Where() << Qt::endl;
    return app.exec();
}
