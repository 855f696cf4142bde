// What a fleet update or check will do, laid out once before anything is sent: the radios of the
// lists and the command line, resolved with their ports; the image loaded and hashed; the waves,
// limits, retries and deadline; the files the run leaves. --plan prints it and the run executes
// it, so every refusal happens here, in one place.
#pragma once

#include "CliOptions.h"

#include "cli/records/RunRecords.h"
#include "cli/radios/HostResolver.h"
#include "cli/radios/RadioList.h"
#include "cli/run/FleetRun.h"
#include "cli/run/Interrupts.h"

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>
#include <QVector>

struct RunPlan {
    QString fileName;           // as given
    QString fileOpened;         // the path opened for it (PathToOpen)
    QByteArray image;
    QString sha256;
    QVector<RadioEntry> radios; // in list order, each with the address it connects to
    int jobs = 0;
    RolloutRules rules;
    QString failedList;         // --failed as opened (PathToOpen), or empty
    QString logFile;            // --log as opened, or empty
    QStringList notes;          // what the operator should know before it starts
};

// Lays out the run of `options`: 0, or the status the run ends with before sending anything
// (2 a bad command line, 3 the file, 130 interrupted while names are looked up) with `error`.
// `nowMs` (milliseconds since the epoch) places a --deadline given as a duration. Creates
// nothing: the records are opened once the plan stands.
int BuildRunPlan(const CliOptions& options, quint16 language, HostResolver& resolver, const Interrupts& interrupts,
                 qint64 nowMs, RunPlan& plan, QString& error);

// The file as --check and --plan tell it: "main.dat: 5000 bytes, 5 blocks, SHA-256 ..." and as
// the JSON event "file".
QString FileFactsText(const RunPlan& plan);
QJsonObject FileFactsJson(const RunPlan& plan);

// --plan: the plan as lines of text, or as one JSON object ("event": "plan").
QString PlanText(const RunPlan& plan);
QJsonObject PlanJson(const RunPlan& plan);
