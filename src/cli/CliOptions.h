// The command line of zerlind-firm-update: language, port, time-outs, quiet, the file and the
// radios, and what to do with them (update, check, scan).
#pragma once

#include "engine/UpdateRun.h"

#include <QString>
#include <QStringList>

struct CliOptions {
    quint16 language = 0; // 0: follow the message locale
    quint16 port = UPDATE_PORT;
    UpdateTimeouts timeouts;
    bool quiet = false;
    QString fileName;
    QStringList addresses;   // as given on the command line, after those of the list
    QString radioList;       // --radios: a file, or "-" for standard input
    int jobs = 4;            // radios updated at the same time
    bool jobsGiven = false;
    bool json = false;
    bool check = false;
    QString scanNetwork;     // --scan NETWORK/PREFIX

    // Anything beyond one FILE and one ADDRESS: the run goes through the fleet machinery.
    bool IsFleet() const;
};

enum class CliParse { Run, Help, Version, Error };

// `arguments` as QCoreApplication::arguments() gives them (program name first). Reads nothing:
// the radio list is read by the caller.
CliParse ParseCliOptions(const QStringList& arguments, CliOptions& options, QString& error);
QString CliHelpText();
