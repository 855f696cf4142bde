// The exit statuses of zerlind-firm-update by name: the engine tells an update's outcome by
// them; the command line's table (cli/text/ExitStatusTable.h) says what each means.
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
