// Start-up time of a window program: starts it, and reports the milliseconds from just before
// the start to the X server's notice that its first top-level window is mapped, with that
// window's size; then ends the program. Run under a bare X server (Xvfb, no window manager).
// Usage: zfu-bench-mapwatch PROGRAM [ARGUMENTS...]
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Longest wait for the window, and for the program to end once asked.
constexpr int MAP_TIMEOUT_MS = 30000;
constexpr int END_TIMEOUT_MS = 5000;

struct Connection {
    xcb_connection_t* c;
    ~Connection() { xcb_disconnect(c); }
};

bool Ended(pid_t child, int waitMs)
{
    for (int waited = 0; waited < waitMs; waited += 10) {
        if (waitpid(child, nullptr, WNOHANG) == child)
            return true;
        usleep(10 * 1000);
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: zfu-bench-mapwatch PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    Connection x{xcb_connect(nullptr, nullptr)};
    if (xcb_connection_has_error(x.c)) {
        std::fprintf(stderr, "zfu-bench-mapwatch: no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x.c)).data->root;
    // Every map of a child of the root window: the program's top-level windows.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x.c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x.c);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    if (child < 0) {
        std::perror("zfu-bench-mapwatch: fork");
        return 1;
    }

    double mappedMs = -1;
    xcb_window_t window = 0;
    pollfd wait{xcb_get_file_descriptor(x.c), POLLIN, 0};
    while (mappedMs < 0) {
        const auto waited = std::chrono::steady_clock::now() - start;
        const int left = MAP_TIMEOUT_MS - int(std::chrono::duration_cast<std::chrono::milliseconds>(waited).count());
        if (left <= 0 || poll(&wait, 1, left) <= 0)
            break;
        while (std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event{xcb_poll_for_event(x.c), &std::free}) {
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                continue;
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event.get());
            if (map->override_redirect)
                continue; // a tooltip or a menu, not the program's window
            mappedMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            window = map->window;
            break;
        }
        if (xcb_connection_has_error(x.c))
            break;
    }

    int width = 0;
    int height = 0;
    if (window != 0) {
        std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry{
            xcb_get_geometry_reply(x.c, xcb_get_geometry(x.c, window), nullptr), &std::free};
        if (geometry) {
            width = geometry->width;
            height = geometry->height;
        }
    }
    kill(child, SIGTERM);
    if (!Ended(child, END_TIMEOUT_MS)) {
        kill(child, SIGKILL);
        Ended(child, END_TIMEOUT_MS);
    }
    if (mappedMs < 0) {
        std::fprintf(stderr, "zfu-bench-mapwatch: no window was mapped within %d ms\n", MAP_TIMEOUT_MS);
        return 1;
    }
    std::printf("%.1f %d %d\n", mappedMs, width, height);
    return 0;
}
