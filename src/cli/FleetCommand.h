// The command line's forms once parsed: one radio as the desktop program updates it, many radios
// (update or check), and the scan. Each returns the exit status; the caller ends the process,
// by the interrupting signal when there was one.
#pragma once

#include "CliOptions.h"

#include "cli/radios/HostResolver.h"
#include "cli/run/Interrupts.h"

#include "engine/ExitStatus.h"

// A refusal before anything is sent: "zerlind-firm-update: TEXT" on stderr (with the hint to
// --help when the command line's form is wrong), and in JSON mode an "error" event on stdout.
int Refuse(const QString& text, int exitCode, bool json, bool hintHelp = false);

int RunSingleRadio(const CliOptions& options, quint16 language, Interrupts& interrupts);
// `resolver` looks the host names up, all at once, before anything is sent.
int RunFleet(const CliOptions& options, quint16 language, HostResolver& resolver, Interrupts& interrupts);
int RunScan(const CliOptions& options, Interrupts& interrupts);
