#include "ui/controls/FrameCentring.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

// The frame the window system draws around a window: its margins as the window manager reports
// them (the widget's own idea of them is updated only when the window moves, and a window manager
// may frame a window without moving it), none before a window manager has framed it.
QMargins FrameMargins(const QWidget& window)
{
    const QWindow* handle = window.windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

} // namespace

CFrameCentring::CFrameCentring(QWidget& window, Over over) : QObject(&window), m_window(window), m_over(over)
{
    window.installEventFilter(this);
}

void CFrameCentring::Centre()
{
    const QWidget* owner = nullptr;
    if (m_over == Over::Owner) {
        owner = m_window.parentWidget() ? m_window.parentWidget()->window() : QApplication::activeWindow();
        if (owner == &m_window || (owner && !owner->isVisible()))
            owner = nullptr;
    }
    const QScreen* screen = owner ? owner->screen() : m_window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QMargins margins = FrameMargins(m_window);
    QRect placed(QPoint(0, 0), m_window.geometry().marginsAdded(margins).size());
    placed.moveCenter(owner ? owner->geometry().marginsAdded(FrameMargins(*owner)).center() : area.center());
    // The whole window on the screen when it fits there.
    placed.moveLeft(qMax(area.left(), qMin(placed.left(), area.right() + 1 - placed.width())));
    placed.moveTop(qMax(area.top(), qMin(placed.top(), area.bottom() + 1 - placed.height())));
    // The window itself, inside its frame: placed as it is, with no frame guessed for it.
    const QRect client = placed.marginsRemoved(margins);
    if (client != m_window.geometry())
        m_window.setGeometry(client);
}

bool CFrameCentring::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
        if (watched == &m_window && !event->spontaneous()) { // not when shown again after minimising
            if (QWindow* handle = m_window.windowHandle())
                handle->installEventFilter(this); // its exposure follows the framing
            Centre();
            m_bShown = true;
            m_centredWith = FrameMargins(m_window);
        }
        break;
    case QEvent::Expose:
    case QEvent::Move:
        // A window manager frames the window as it maps it, and may learn the frame's size in
        // steps: placed once more with each frame it reports. The operator's moves keep the frame
        // as it is, and the window where the operator put it.
        if (m_bShown && FrameMargins(m_window) != m_centredWith) {
            m_centredWith = FrameMargins(m_window);
            Centre();
        }
        break;
    case QEvent::Hide:
        if (watched == &m_window)
            m_bShown = false;
        break;
    default:
        break;
    }
    return false;
}

CReturnFromMinimise::CReturnFromMinimise(QWidget& window) : QObject(&window), m_window(window)
{
    window.installEventFilter(this);
}

bool CReturnFromMinimise::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_window || event->type() != QEvent::WindowStateChange || !m_window.isMinimized())
        return false;
    // Once the window manager is done minimising, not from within its state change.
    QTimer::singleShot(0, this, [this] {
        QWidget* owner = m_window.parentWidget() ? m_window.parentWidget()->window() : nullptr;
        if (owner && owner->isMinimized())
            owner->showNormal();
        if (m_window.isVisible() && m_window.isMinimized()) {
            m_window.showNormal();
            m_window.activateWindow();
        }
    });
    return false;
}

QSize WholeResizeSteps(QSize size, qreal scale)
{
    const int step = std::max(1, qRound(scale));
    const auto whole = [&](int length) {
        while (qRound(length * scale) % step != 0)
            ++length;
        return length;
    };
    return QSize(whole(size.width()), whole(size.height()));
}
