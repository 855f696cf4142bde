// The command line of zerlind-firm-update: language, port, time-outs, quiet, file and address.
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
    QString address;
};

enum class CliParse { Run, Help, Version, Error };

// `arguments` as QCoreApplication::arguments() gives them (program name first).
CliParse ParseCliOptions(const QStringList& arguments, CliOptions& options, QString& error);
QString CliHelpText();
