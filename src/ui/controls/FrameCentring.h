// Keeps a top-level window's frame centred over its owner's frame or the screen's work area: placed
// by the program as it is shown (exact where no window manager draws a frame), and once more each
// time a window manager reports another frame for it, as the frame's size is known only then.
#pragma once

#include <QMargins>
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
    bool m_bShown = false;
    QMargins m_centredWith; // the frame the window was last centred with
};

// Brings a modal window and its owner straight back when minimised: it asks for no minimise
// box, but some window managers (openbox) offer one to every window and minimise the owner with
// it, and with no task bar nothing would bring them back.
class CReturnFromMinimise : public QObject {
public:
    // Watches `window` and belongs to it.
    explicit CReturnFromMinimise(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
};

// The smallest size at least `size` whose screen pixels at `scale` are a whole number of the
// steps Qt asks X11 window managers to size a window in (one unit scaled and rounded: 2 pixels at
// 1.5). A manager that keeps to the steps (openbox) would otherwise cut the last column and row.
QSize WholeResizeSteps(QSize size, qreal scale);
