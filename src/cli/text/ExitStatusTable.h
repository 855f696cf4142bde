// The exit statuses of zerlind-firm-update and what each means, in one table: --help prints the
// rows, and a test holds the manual page and the README to the same values and meanings.
#pragma once

#include "engine/ExitStatus.h"

#include <QtGlobal>

struct ExitStatusRow {
    ExitStatusCode value;
    const char* meaning; // plain text, one line; --help wraps it (translated, context "ExitStatusTable")
};

inline constexpr ExitStatusRow kExitStatuses[] = {
    {EXIT_UPDATED,
     QT_TRANSLATE_NOOP("ExitStatusTable", "updated (every radio); --check: the file is usable and every radio answered; --scan: a radio answered")},
    {EXIT_BAD_COMMAND_LINE,
     QT_TRANSLATE_NOOP("ExitStatusTable", "bad command line (also an address in another form, a bad radio-list line, a name that does not resolve), "
     "a radio named twice, or a network larger than /22")},
    {EXIT_FILE,
     QT_TRANSLATE_NOOP("ExitStatusTable", "the firmware file cannot be used (missing, unreadable, not a regular file, shorter than one block of 1024 "
     "bytes, or 4 GiB or larger)")},
    {EXIT_NOT_REACHED,
     QT_TRANSLATE_NOOP("ExitStatusTable", "the radio cannot be reached (\"Can't find the Zerlind.\"; --check: a radio did not answer; --scan: none did)")},
    {EXIT_TRANSFER_FAILED, QT_TRANSLATE_NOOP("ExitStatusTable", "the transfer failed (\"Data transfer failed.\")")},
    {EXIT_PROGRAM_REFUSED, QT_TRANSLATE_NOOP("ExitStatusTable", "the radio refused the program command (\"Illegal firm data.\")")},
    {EXIT_NO_PROGRAM_REPLY, QT_TRANSLATE_NOOP("ExitStatusTable", "no reply to the program command in time (\"Update failed.\")")},
    {EXIT_DEADLINE, QT_TRANSLATE_NOOP("ExitStatusTable", "the --deadline passed before every radio had started, and none failed")},
    {EXIT_OUTPUT_FAILED,
     QT_TRANSLATE_NOOP("ExitStatusTable", "an output could not be written (standard output or standard error: full, or its reader gone; the file of "
     "--failed or --log); no radio started after that, and the reason goes to standard error")},
    {EXIT_SOCKET_LAYER,
     QT_TRANSLATE_NOOP("ExitStatusTable", "the system's network layer could not be started (\"Windows sockets initialization failed.\")")},
    {EXIT_INTERRUPTED,
     QT_TRANSLATE_NOOP("ExitStatusTable", "interrupted: the run ends by the signal, as a shell reports it (130 SIGINT, 143 SIGTERM, 129 SIGHUP; "
     "Windows: Ctrl-C, Ctrl-Break or a closed console give 0xC000013A)")},
};
