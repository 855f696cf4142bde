// How the instruction text is cut into the pieces that are typed one at a time: a multi-byte
// UTF-8 character or a CR LF pair is one piece, so no piece ever splits a character or a line break.
#pragma once

#include <QByteArray>

// Bytes of the piece that starts at byte `pos` of `text` (UTF-8); 0 at or past the end. A
// malformed sequence goes one byte at a time and never past the end.
int TypingPieceLength(const QByteArray& text, int pos);
