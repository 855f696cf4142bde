// Self-drawn progress bar: a gradient from the fade colour at the tail to the bar colour at the
// head that fills for a transfer or sweeps back and forth as a busy indicator.
#pragma once

#include "ui/controls/Colors.h"
#include "ui/controls/GradientPaint.h"

#include <QWidget>
#include <atomic>
#include <mutex>

class CGradientBarCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CGradientBarCtrl(QWidget* parent = nullptr);

    // StepIt and Reset may run on a worker thread while the control paints: every state word
    // is atomic and the repaint is posted to the control's own thread. Only one thread steps or
    // reconfigures the control at a time.
    void Reset();
    int StepIt();

    void SetMaximum(int maximum) { m_nMaximum = maximum; }
    void SetSegment(int segment) { m_nSegment = segment; }
    void SetStep(int step) { m_nStep = step; }
    // Sets the colours in upward order whatever the direction; no repaint.
    void SetColors(COLORREF crBack, COLORREF crBar);

    int Head() const { return m_nHead; }
    int Tail() const { return m_nTail; }
    int Maximum() const { return m_nMaximum; }
    int Segment() const { return m_nSegment; }
    int Step() const { return m_nStep; }
    bool Downwards() const { return m_bDownwards; }
    bool AtEnd() const { return m_bAtEnd; }
    COLORREF BackgroundColor() const { return m_crBackground; }
    COLORREF BarColor() const { return m_crBar; }
    COLORREF FadeColor() const { return m_crFade; }
    COLORREF LeftEndColor() const { return m_crLeftEnd; }
    COLORREF RightEndColor() const { return m_crRightEnd; }

    // For screen readers: the filled share in percent (0 to 100), and whether the bar sweeps as a
    // busy indicator (its segment is shorter than its range and it has moved since Reset).
    int Percent() const;
    bool Sweeping() const;

    // The state words as one paint sees them.
    GradientBarPicture Picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Posts one repaint to the control's thread; requests made before it runs share it.
    void RequestRepaint();
    Q_INVOKABLE void RepaintNow();

    std::atomic<bool> m_bAtEnd{false};
    std::atomic<bool> m_bDownwards{false};
    std::atomic<int> m_nStep{1};
    std::atomic<int> m_nHead{0};
    std::atomic<int> m_nTail{0};
    std::atomic<int> m_nSegment{40};
    std::atomic<int> m_nMaximum{100};
    // Read once at construction; it does not follow later changes of the system colours.
    const COLORREF m_crBackground;
    std::atomic<COLORREF> m_crBar;
    std::atomic<COLORREF> m_crFade;
    std::atomic<COLORREF> m_crRightEnd;
    std::atomic<COLORREF> m_crLeftEnd;

    std::atomic<bool> m_bRepaintPending{false};
    // The value screen readers were last told, so a repaint that moves nothing tells them nothing.
    int m_nToldPercent = -1;
    // Held only while a repaint request is posted and when it arrives, never over the state
    // words: it makes the hand-over of Qt's event object to this thread visible to a thread
    // checker, which cannot see the locking inside an uninstrumented Qt.
    std::mutex m_mutexRequest;
};
