// What the command-line updater asks of the terminal: whether a stream is a terminal, its
// width, whether a block can be drawn in place, and a text stream that shows every language.
#pragma once

#include <QIODevice>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace Terminal {

bool IsTerminal(std::FILE* stream);
// Columns and rows of the terminal behind `stream`; 0 when it is none or does not say.
int Columns(std::FILE* stream);
int Rows(std::FILE* stream);
// Whether a block redrawn in place fits the screen: stdout and stderr are one and the same
// terminal (so no line of either is drawn over), and it is not a dumb one.
bool CanDrawInPlace();
// Whether the rest of a line redrawn in place on the terminal behind `stream` is cleared with
// the escape sequence for it; where not (Windows' console), blanks overwrite it.
bool ClearsWithSequences(std::FILE* stream);

// The device that shows text on the console behind `stream` in its own characters (Windows'
// console, written in UTF-16); null where the stream takes UTF-8 bytes (a file, a pipe, a
// POSIX terminal).
std::unique_ptr<QIODevice> ConsoleDevice(std::FILE* stream);

// Text for `stream`: to a console through ConsoleDevice, anywhere else as UTF-8 bytes.
class TextStream : public QTextStream {
public:
    explicit TextStream(std::FILE* stream);
    ~TextStream() override;

private:
    std::unique_ptr<QIODevice> m_device;
};

} // namespace Terminal
