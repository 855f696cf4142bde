// Discards the operator's keyboard and mouse input while an update run holds its connection, so
// that nothing pressed during the run acts once it ends (a held Enter would start a second update).
#pragma once

#include <QObject>

class CInputDiscard : public QObject {
public:
    CInputDiscard() = default;
    ~CInputDiscard() override;
    CInputDiscard(const CInputDiscard&) = delete;
    CInputDiscard& operator=(const CInputDiscard&) = delete;

    // From here on every input event of the application's thread is dropped.
    void Start();
    // Drops what arrived meanwhile and is still held back, then lets input through again.
    void Stop();
    bool IsActive() const { return m_bActive; }

    // Drops the input that the run's waits held back (queued by the window system, or posted
    // again when a wait ended): the waits let it through only once they are over.
    void DropPending();

    // Lets input through for as long as it lives (a box the operator must answer during the
    // run), after dropping what was pending; discarding resumes afterwards.
    class Pause {
    public:
        explicit Pause(CInputDiscard& discard);
        ~Pause();
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        CInputDiscard& m_discard;
        bool m_bWasActive;
    };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_bActive = false;
    bool m_bInstalled = false;
};
