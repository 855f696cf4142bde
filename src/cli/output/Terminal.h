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

// What redirected text is written in: null for UTF-8, else a device that writes the UTF-8 it is
// given to `target` in the code page of the program's console (Windows: `type`, `more` and
// PowerShell 5.1 read a file or a pipe so), unless that is UTF-8 or there is no console.
std::unique_ptr<QIODevice> CodePageDevice(QIODevice* target);
// Redirected text of the run stays UTF-8 (--json: JSON is UTF-8).
void KeepUtf8(bool keep);

// Text for `stream`: to a console through ConsoleDevice, anywhere else as bytes, UTF-8 or
// through CodePageDevice.
class TextStream : public QTextStream {
public:
    explicit TextStream(std::FILE* stream);
    ~TextStream() override;

private:
    std::unique_ptr<QIODevice> m_device;
    std::unique_ptr<QIODevice> m_encoder;
};

} // namespace Terminal
