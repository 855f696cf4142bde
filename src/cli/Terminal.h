// What the command-line updater asks of the terminal and the system: whether a stream is a
// terminal, its width, and an interrupt that ends a run in order instead of killing it.
#pragma once

#include <atomic>
#include <cstdio>

namespace Terminal {

bool IsTerminal(std::FILE* stream);
// Columns and rows of the terminal behind `stream`; 0 when it is none or does not say.
int Columns(std::FILE* stream);
int Rows(std::FILE* stream);

// From now on SIGINT and SIGTERM (Ctrl-C, Ctrl-Break and closing the console on Windows) only
// set `flag`; the run sees it and ends in order. Another signal while it is set does no harm.
void CatchInterrupts(std::atomic<bool>& flag);

} // namespace Terminal
