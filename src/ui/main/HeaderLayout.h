// Room for the main window's header pictures: a window laid out for a small font grows and moves
// its controls until the pictures fit, and then draws the lettering itself beside the radio.
#pragma once

class CMainWindowTemplate;
class QPainter;
class QWidget;

class CHeaderLayout {
public:
    // The header's pictures need this much room (pixels): the window's width, the top of the
    // file-name label, and where the window draws the lettering when it had to grow.
    static constexpr int kHeaderMinWidth = 442;
    static constexpr int kHeaderMinLabelTop = 109;
    static constexpr int kLogoDrawX = 224;

    // Loads the lettering into its control, then grows `window` and moves the controls of its
    // template as the pictures need; the lettering's control shows only when nothing had to grow.
    void Adjust(QWidget& window, const CMainWindowTemplate& controls);
    // Whether the window draws the lettering itself (the header had to grow).
    bool DrawsLogo() const { return m_bDrawLogo; }
    // The lettering at its own size, the window showing through; for a window that draws it.
    void PaintLogo(QPainter& painter, const CMainWindowTemplate& controls) const;
    // Where the window draws the lettering, a shown element that paints nothing, so a screen
    // reader finds the name of what is painted; null when the control shows the lettering.
    QWidget* PaintedLogo() const { return m_paintedLogo; }

private:
    bool m_bDrawLogo = false;
    QWidget* m_paintedLogo = nullptr; // owned by the window
};
