// The exit statuses of zerlind-firm-update, in one table: the code uses the names, --help prints
// the rows, and a test holds the manual page and the README to the same values and meanings.
#pragma once

enum ExitStatusCode : int {
    EXIT_UPDATED = 0,
    EXIT_BAD_COMMAND_LINE = 2,
    // The check and the scan share the update's meanings.
    EXIT_FILE = 3,
    EXIT_NOT_REACHED = 4,
    EXIT_TRANSFER_FAILED = 5,
    EXIT_PROGRAM_REFUSED = 6,
    EXIT_NO_PROGRAM_REPLY = 7,
    // The deadline left radios not started and none failed.
    EXIT_DEADLINE = 8,
    // Standard output, standard error or a file of the run could not be written: no radio
    // started after that.
    EXIT_OUTPUT_FAILED = 9,
    // The system's network layer could not be started (Windows Sockets): nothing can be sent.
    EXIT_SOCKET_LAYER = 10,
    // Ctrl-C (128 + SIGINT, as shells report it); the run ends by the signal it caught.
    EXIT_INTERRUPTED = 130,
};

struct ExitStatusRow {
    ExitStatusCode value;
    const char* name;
    const char* meaning; // plain text, one line; --help wraps it
};

inline constexpr ExitStatusRow kExitStatuses[] = {
    {EXIT_UPDATED, "updated",
     "updated (every radio); --check: the file is usable and every radio answered; --scan: a radio answered"},
    {EXIT_BAD_COMMAND_LINE, "bad-command-line",
     "bad command line (also an address in another form, a bad radio-list line, a name that does not resolve), "
     "a radio named twice, or a network larger than /22"},
    {EXIT_FILE, "file",
     "the firmware file cannot be used (missing, unreadable, not a regular file, shorter than one block of 1024 "
     "bytes, or 4 GiB or larger)"},
    {EXIT_NOT_REACHED, "not-reached",
     "the radio cannot be reached (\"Can't find the Zerlind.\"; --check: a radio did not answer; --scan: none did)"},
    {EXIT_TRANSFER_FAILED, "transfer-failed", "the transfer failed (\"Data transfer failed.\")"},
    {EXIT_PROGRAM_REFUSED, "program-refused", "the radio refused the program command (\"Illegal firm data.\")"},
    {EXIT_NO_PROGRAM_REPLY, "no-program-reply", "no reply to the program command in time (\"Update failed.\")"},
    {EXIT_DEADLINE, "deadline", "the --deadline passed before every radio had started, and none failed"},
    {EXIT_OUTPUT_FAILED, "output-failed",
     "an output could not be written (standard output or standard error: full, or its reader gone; the file of "
     "--failed or --log); no radio started after that, and the reason goes to standard error"},
    {EXIT_SOCKET_LAYER, "socket-layer",
     "the system's network layer could not be started (\"Windows sockets initialization failed.\")"},
    {EXIT_INTERRUPTED, "interrupted",
     "interrupted: the run ends by the signal, as a shell reports it (130 SIGINT, 143 SIGTERM, 129 SIGHUP; "
     "Windows: Ctrl-C, Ctrl-Break or a closed console give 0xC000013A)"},
};
