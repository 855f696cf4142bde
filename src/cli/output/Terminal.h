// What the command-line updater asks of the terminal: whether a stream is a terminal, its
// width, and whether a block can be drawn in place.
#pragma once

#include <cstdio>

namespace Terminal {

bool IsTerminal(std::FILE* stream);
// Columns and rows of the terminal behind `stream`; 0 when it is none or does not say.
int Columns(std::FILE* stream);
int Rows(std::FILE* stream);
// Whether a block redrawn in place fits the screen: stdout and stderr are one and the same
// terminal (so no line of either is drawn over), and it is not a dumb one.
bool CanDrawInPlace();

} // namespace Terminal
