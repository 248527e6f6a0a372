// The start-up benchmark's eye (bench/startup_time.sh): watches the display
// of $DISPLAY, prints "ready" once it sees every window mapped from then on,
// then waits for the first top-level window to be mapped and prints the wall
// clock at that moment (ns since the epoch, as `date +%s%N`). The script
// takes the time just before it starts the program and subtracts.
//
//   map_time
//
// No window mapped within 60 s: prints "-" and ends with status 1.

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <poll.h>

namespace {

constexpr int kLimitMs = 60000;

long long wallNs()
{
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

} // namespace

int main()
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no display\n");
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    // Checked, so that the server has taken the mask before "ready".
    xcb_generic_error_t* error =
        xcb_request_check(c, xcb_change_window_attributes_checked(c, screen->root, XCB_CW_EVENT_MASK, &mask));
    if (error) {
        free(error);
        std::fprintf(stderr, "cannot watch the display\n");
        return 2;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    pollfd p{xcb_get_file_descriptor(c), POLLIN, 0};
    long long mapped = -1;
    const long long deadline = wallNs() + kLimitMs * 1000000LL;
    while (mapped < 0 && wallNs() < deadline) {
        poll(&p, 1, 10);
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            if ((e->response_type & 0x7F) == XCB_MAP_NOTIFY && mapped < 0
                && !reinterpret_cast<xcb_map_notify_event_t*>(e)->override_redirect)
                mapped = wallNs();
            free(e);
        }
    }
    xcb_disconnect(c);
    if (mapped < 0) {
        std::printf("-\n");
        return 1;
    }
    std::printf("%lld\n", mapped);
    return 0;
}
