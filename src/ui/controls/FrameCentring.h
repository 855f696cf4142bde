// Keeps a top-level window's frame centred over its owner's frame or the screen's work area: placed
// by the program as it is shown (exact where no window manager draws a frame), and once more when
// a window manager has framed it, as the frame's size is known only then.
#pragma once

#include <QObject>

class QWidget;

class CFrameCentring : public QObject {
public:
    enum class Over { Owner, Screen };

    // Watches `window` and belongs to it. Owner: the parent's window, else the active window;
    // the screen when there is none or it is hidden.
    CFrameCentring(QWidget& window, Over over);

    // Places the frame now. Called again by windows that take their size while being shown.
    void Centre();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    Over m_over;
    bool m_bAwaitingFrame = false; // shown, not yet framed by a window manager
};
