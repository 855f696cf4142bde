// The instruction typed into the main window's message pane a moment after it opens, piece by
// piece: a multi-byte UTF-8 character or a CR LF pair is one piece, so no piece ever splits a
// character or a line break.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

// Bytes of the piece that starts at byte `pos` of `text` (UTF-8); 0 at or past the end. A
// malformed sequence goes one byte at a time and never past the end.
int TypingPieceLength(const QByteArray& text, int pos);

class CInstructionTyping : public QObject {
public:
    // The text starts this long after the window opens, so the operator sees the window before
    // it begins to talk; then one piece per interval, fast enough to read as it appears.
    static constexpr int kTypingDelayMs = 500;
    static constexpr int kTypingStepMs = 10;

    // `begins` runs as the first piece is due; `type` adds one piece to the pane; `finished` runs
    // once the last piece is in. The typing ends for good once `ended` is true. While a modal
    // window is up the pieces wait, and go on when it has closed.
    CInstructionTyping(const bool& ended, std::function<void()> begins, std::function<void(const QString&)> type,
                       std::function<void()> finished);

    // Types `text` after the delay.
    void Start(const QString& text);
    bool IsTyping() const { return !m_bEnded && (m_typingStepTimer.isActive() || m_typingDelayTimer.isActive()); }

private:
    void TypeNextPiece();

    const bool& m_bEnded;
    std::function<void()> m_begins;
    std::function<void(const QString&)> m_type;
    std::function<void()> m_finished;
    QByteArray m_strInstruction; // UTF-8; m_nTypePos indexes its bytes
    int m_nTypePos = 0;
    QTimer m_typingDelayTimer;
    QTimer m_typingStepTimer;
};
