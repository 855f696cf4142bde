#include "X11Colormap.h"

#include <QApplication>

#ifdef ZFU_HAVE_XCB
#include <QPlatformSurfaceEvent>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

class ScreenColormap : public QObject {
public:
    ScreenColormap(QApplication& app, xcb_connection_t* connection) : QObject(&app), m_connection(connection) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::PlatformSurface &&
            static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() == QPlatformSurfaceEvent::SurfaceCreated) {
            if (auto* window = qobject_cast<QWindow*>(watched))
                Adopt(xcb_window_t(window->winId()));
        }
        return false;
    }

private:
    void Adopt(xcb_window_t window) const
    {
        using Reply = std::unique_ptr<void, decltype(&std::free)>;
        auto* attributes = xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
        Reply heldAttributes(attributes, &std::free);
        auto* geometry = xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr);
        Reply heldGeometry(geometry, &std::free);
        if (!attributes || !geometry)
            return;
        for (auto it = xcb_setup_roots_iterator(xcb_get_setup(m_connection)); it.rem; xcb_screen_next(&it)) {
            const xcb_screen_t* screen = it.data;
            // A window of another visual (one with an alpha channel) needs a colormap of its own.
            if (screen->root != geometry->root || screen->root_visual != attributes->visual)
                continue;
            const uint32_t colormap = screen->default_colormap;
            xcb_change_window_attributes(m_connection, window, XCB_CW_COLORMAP, &colormap);
            xcb_flush(m_connection);
        }
    }

    xcb_connection_t* m_connection;
};

} // namespace

bool UseScreenColormapOnX11(QApplication& app)
{
    const auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return false;
    app.installEventFilter(new ScreenColormap(app, x11->connection()));
    return true;
}
#else
bool UseScreenColormapOnX11(QApplication&)
{
    return false;
}
#endif
