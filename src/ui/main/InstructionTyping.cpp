#include "InstructionTyping.h"

#include <QApplication>

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

CInstructionTyping::CInstructionTyping(const bool& ended, std::function<void()> begins,
                                       std::function<void(const QString&)> type, std::function<void()> finished)
    : m_bEnded(ended)
    , m_begins(std::move(begins))
    , m_type(std::move(type))
    , m_finished(std::move(finished))
{
    m_typingDelayTimer.setSingleShot(true);
    m_typingDelayTimer.setInterval(kTypingDelayMs);
    connect(&m_typingDelayTimer, &QTimer::timeout, this, [this] {
        m_begins();
        m_typingStepTimer.start();
    });
    m_typingStepTimer.setInterval(kTypingStepMs);
    connect(&m_typingStepTimer, &QTimer::timeout, this, &CInstructionTyping::TypeNextPiece);
}

void CInstructionTyping::Start(const QString& text)
{
    m_strInstruction = text.toUtf8();
    m_nTypePos = 0;
    m_typingDelayTimer.start();
}

void CInstructionTyping::TypeNextPiece()
{
    if (m_bEnded) {
        m_typingStepTimer.stop();
        return;
    }
    // Behind a box or a dialog the text would go on unseen, and a transfer of the fields when
    // it closes could take pieces back: the pieces wait for it.
    if (QApplication::activeModalWidget())
        return;
    const int length = TypingPieceLength(m_strInstruction, m_nTypePos);
    if (length > 0) {
        const QByteArray piece = m_strInstruction.mid(m_nTypePos, length);
        m_nTypePos += length;
        m_type(QString::fromUtf8(piece));
    }
    if (m_nTypePos >= m_strInstruction.size()) {
        m_typingStepTimer.stop();
        m_finished();
    }
}
