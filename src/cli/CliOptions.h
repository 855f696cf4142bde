// The command line of zerlind-firm-update: language, port, time-outs, quiet, the file and the
// radios, and what to do with them (update, check, scan).
#pragma once

#include "cli/run/RolloutPolicy.h"

#include "engine/ExitStatus.h"
#include "engine/UpdateRun.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

struct CliOptions {
    quint16 language = 0; // 0: follow the message locale
    quint16 port = UPDATE_PORT;
    UpdateTimeouts timeouts;
    bool quiet = false;
    QString fileName;
    QStringList addresses;   // as given on the command line, after those of the lists
    QStringList radioLists;  // --radios, each a file or "-" for standard input, in order
    int jobs = 4;            // radios updated at the same time
    bool jobsGiven = false;
    bool json = false;
    bool check = false;
    bool noProgress = false; // --no-progress: no block drawn in place, even on a terminal
    int canary = 0;          // --canary N: the first N radios go first, the rest only if all took it
    QVector<WaveSize> waves; // --waves SIZES, in order; the last one repeats
    int wavePauseSeconds = 0; // --wave-pause: the wait between two waves
    int retries = 0;         // --retries N: more attempts of a radio that failed before programming
    qint64 deadlineSeconds = 0; // --deadline DURATION: from the start of the run (0: none)
    QDateTime deadlineAt;    // --deadline TIME: an instant (invalid: none)
    bool plan = false;       // --plan: print what the run would do, send nothing
    int maxFailures = 0;     // --max-failures N: no radio starts once N have failed (0: no limit)
    int maxFailuresPercent = 0; // --max-failures P%: the limit as a share of the radios, rounded up
    QString failedList;      // --failed FILE: the radios not updated, as a radio list
    QString logFile;         // --log FILE: one JSON record per radio per run, appended
    QString scanNetwork;     // --scan NETWORK/PREFIX

    // Any of --radios, --jobs, --json, --check, --scan, a rollout option or several addresses:
    // the run goes through the fleet machinery, with the address prefix and the summary even
    // for one radio.
    bool IsFleet() const;
    // The failure limit and the waves of `radios` radios, as the rollout's rules make them of
    // these options (RolloutPolicy::FailureLimit, RolloutPolicy::WaveSizes).
    int FailureLimit(int radios) const { return RolloutPolicy::FailureLimit(maxFailures, maxFailuresPercent, radios); }
    QVector<int> WaveSizes(int radios) const { return RolloutPolicy::WaveSizes(waves, canary, radios); }
};

enum class CliParse { Run, Help, Version, Error };

// The furthest --deadline, as a duration or a time: a week; a maintenance window is not longer.
inline constexpr qint64 MAX_DEADLINE_SECONDS = 7 * 24 * 3600;

// What --scan takes, as its "bad value" message says.
// Translated where shown, in the context "CliOptions".
inline constexpr char SCAN_NETWORK_FORM[] = QT_TRANSLATE_NOOP("CliOptions", "four decimal parts and a prefix, such as 192.168.1.0/24");

// "bad value for --NAME: 'VALUE' (ACCEPTED)": every refused value says what would be taken.
QString BadValue(const QString& name, const QString& value, const QString& accepted);

// `arguments` as QCoreApplication::arguments() gives them (program name first). Reads nothing:
// the radio list is read by the caller.
CliParse ParseCliOptions(const QStringList& arguments, CliOptions& options, QString& error);
// The usage, one line or more per option from the options' table (the shell completion reads
// the option lines: a placeholder FILE or LIST completes file names, "a|b" the words), the rules.
QString CliHelpText();
