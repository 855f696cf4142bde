#include "InstructionTyping.h"

namespace {

// Length a UTF-8 lead byte announces; 1 for ASCII and for bytes that cannot lead.
int SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2)
        return 2;
    return 1;
}

bool IsContinuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

int TypingPieceLength(const QByteArray& text, int pos)
{
    const int size = int(text.size());
    if (pos < 0 || pos >= size)
        return 0;
    if (text.at(pos) == '\r')
        return pos + 1 < size && text.at(pos + 1) == '\n' ? 2 : 1;

    const int length = SequenceLength(static_cast<unsigned char>(text.at(pos)));
    if (pos + length > size)
        return 1;
    for (int i = 1; i < length; ++i) {
        if (!IsContinuation(text.at(pos + i)))
            return 1;
    }
    return length;
}
