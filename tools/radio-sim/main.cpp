// zerlind-radio-sim: the radio's firmware update service on TCP, for tests and demonstrations.
#include "RadioServer.h"
#include "SimOptions.h"
#include "base/Platform.h"
#include "base/Release.h"

#include <QCoreApplication>
#include <QTextStream>


int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
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
        err << "zerlind-radio-sim: " << error << "\nTry 'zerlind-radio-sim --help'.\n";
        return 2;
    case ParseOutcome::Run:
        break;
    }

    CRadioServer server(options);
    QObject::connect(&server, &CRadioServer::allSessionsDone, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    if (!server.Listen(error)) {
        err << "zerlind-radio-sim: cannot listen on " << options.address.toString() << ':' << options.port
            << ": " << error << '\n';
        return 1;
    }
    return app.exec();
}
