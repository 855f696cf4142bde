#include "WaylandSeat.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstring>

#ifdef ZFU_HAVE_WAYLAND_CLIENT
#include <wayland-client.h>
#endif

namespace {

// Qt's choice of platform as far as it concerns Wayland: named outright, or a Wayland session
// without another platform named.
bool QtWouldUseWayland()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty())
        return platform.startsWith("wayland");
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
}

#ifdef ZFU_HAVE_WAYLAND_CLIENT
void OnGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t)
{
    if (std::strcmp(interface, wl_seat_interface.name) == 0)
        *static_cast<bool*>(data) = true;
}

void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
#endif

} // namespace

WaylandSeat ProbeWaylandSeat()
{
    // A module named by the user (an input method of the desktop) is the user's choice.
    if (qEnvironmentVariableIsSet("QT_IM_MODULE") || !QtWouldUseWayland())
        return WaylandSeat::NotAsked;
#ifdef ZFU_HAVE_WAYLAND_CLIENT
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return WaylandSeat::NotAsked;
    bool seat = false;
    wl_registry* registry = wl_display_get_registry(display);
    static const wl_registry_listener listener = {OnGlobal, OnGlobalRemove};
    wl_registry_add_listener(registry, &listener, &seat);
    // One round trip: the compositor announces every global before it answers.
    const bool answered = wl_display_roundtrip(display) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    if (!answered)
        return WaylandSeat::NotAsked;
    return seat ? WaylandSeat::Present : WaylandSeat::Absent;
#else
    return WaylandSeat::NotAsked;
#endif
}

bool AvoidInputMethodWithoutSeat()
{
    if (ProbeWaylandSeat() != WaylandSeat::Absent)
        return false;
    // A module name that names no module: Qt then makes no input context at all.
    qputenv("QT_IM_MODULE", "none");
    return true;
}
