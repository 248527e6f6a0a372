// The start-up benchmark's stopwatch (bench/startup_time.sh): starts a
// program RUNS times on the display of $DISPLAY and prints, one line per run,
// the milliseconds from just before its exec to the moment its first
// top-level window is mapped. Each run is then ended by SIGTERM (by its
// process id) and waited for before the next one starts.
//
//   map_time RUNS FOLDER PROGRAM [ARGUMENTS...]
//
// The program runs in FOLDER with its output appended to FOLDER/run.log.
// A run whose window is not mapped within 60 s prints "-" and the tool ends
// with status 1.

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kLimitMs = 60000;
int displayFd = -1;   // not handed on to the program

pid_t start(const char* folder, char** argv)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    close(displayFd);
    if (chdir(folder) != 0)
        _exit(127);
    const int log = open("run.log", O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (log >= 0) {
        dup2(log, 1);
        dup2(log, 2);
    }
    execv(argv[0], argv);
    _exit(127);
}

void end(pid_t pid)
{
    kill(pid, SIGTERM);
    int status = 0;
    for (int waited = 0; waitpid(pid, &status, WNOHANG) == 0; waited += 10) {
        if (waited >= kLimitMs) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return;
        }
        usleep(10000);
    }
}

// Milliseconds until a top-level window is mapped, or -1 (limit passed, or
// the program ended first).
double timeToMap(xcb_connection_t* c, const char* folder, char** argv)
{
    const Clock::time_point t0 = Clock::now();
    const pid_t pid = start(folder, argv);
    if (pid < 0)
        return -1;
    double ms = -1;
    const int fd = displayFd;
    while (ms < 0) {
        const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
        if (elapsed > kLimitMs || waitpid(pid, nullptr, WNOHANG) == pid)
            break;
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 10);
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            if ((e->response_type & 0x7F) == XCB_MAP_NOTIFY) {
                auto* map = reinterpret_cast<xcb_map_notify_event_t*>(e);
                if (!map->override_redirect && ms < 0)
                    ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
            }
            free(e);
        }
    }
    end(pid);
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s RUNS FOLDER PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no display\n");
        return 2;
    }
    displayFd = xcb_get_file_descriptor(c);
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    int status = 0;
    for (int i = 0; i < runs; ++i) {
        const double ms = timeToMap(c, argv[2], argv + 3);
        if (ms < 0) {
            std::printf("-\n");
            status = 1;
        } else {
            std::printf("%.1f\n", ms);
        }
        std::fflush(stdout);
    }
    xcb_disconnect(c);
    return status;
}
