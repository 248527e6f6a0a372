// Injectable waits and monotonic clock, the same in both builds.

#include "zoplatform.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <time.h>
#include <unistd.h>

namespace zoplat {
namespace {

int64_t realMonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

void realSleepNs(int64_t ns)
{
    if (ns <= 0)
        return;
    timespec rq{};
    rq.tv_sec = time_t(ns / 1000000000);
    rq.tv_nsec = long(ns % 1000000000);
    // Interrupted sleeps (the network service's SIGALRM timer) continue for the rest.
    while (nanosleep(&rq, &rq) != 0 && errno == EINTR) {
    }
}

struct TimeState
{
    std::mutex mutex;
    double scale = 1.0;
    // Scaled clock: product ns = anchorProductNs + (real ns - anchorRealNs) / scale.
    int64_t anchorRealNs = 0;
    int64_t anchorProductNs = 0;
    std::shared_ptr<const std::function<void(int64_t)>> sleeper;
    std::shared_ptr<const std::function<int64_t()>> clock;
};

TimeState& state()
{
    static TimeState s;
    return s;
}

int64_t scaledNowNs(const TimeState& s, int64_t realNs)
{
    return s.anchorProductNs + int64_t(double(realNs - s.anchorRealNs) / s.scale);
}

// Input, an error or a hang-up on fd now.
bool readableNow(int fd)
{
    pollfd pfd{fd, POLLIN, 0};
    return poll(&pfd, 1, 0) > 0 && pfd.revents != 0;
}

} // namespace

void sleepMs(int64_t ms)
{
    TimeState& s = state();
    std::shared_ptr<const std::function<void(int64_t)>> sleeper;
    double scale;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        sleeper = s.sleeper;
        scale = s.scale;
    }
    if (sleeper) {
        (*sleeper)(ms);
        return;
    }
    realSleepNs(int64_t(double(ms) * 1e6 * scale));
}

int64_t monotonicMs()
{
    return monotonicUs() / 1000;
}

int64_t monotonicUs()
{
    TimeState& s = state();
    std::shared_ptr<const std::function<int64_t()>> clock;
    int64_t ns;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        clock = s.clock;
        ns = scaledNowNs(s, realMonotonicNs());
    }
    if (clock)
        return (*clock)() * 1000;
    return ns / 1000;
}

void setTimeScale(double scale)
{
    if (!(scale > 0))
        return;
    TimeState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    const int64_t realNs = realMonotonicNs();
    s.anchorProductNs = scaledNowNs(s, realNs);
    s.anchorRealNs = realNs;
    s.scale = scale;
}

double timeScale()
{
    TimeState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.scale;
}

void setSleeper(std::function<void(int64_t ms)> sleeper)
{
    TimeState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (sleeper)
        s.sleeper = std::make_shared<const std::function<void(int64_t)>>(std::move(sleeper));
    else
        s.sleeper.reset();
}

void setMonotonicClock(std::function<int64_t()> clock)
{
    TimeState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (clock)
        s.clock = std::make_shared<const std::function<int64_t()>>(std::move(clock));
    else
        s.clock.reset();
}

bool realTimeWaits()
{
    TimeState& s = state();
    std::lock_guard<std::mutex> lock(s.mutex);
    return !s.sleeper && !s.clock;
}

Wakeup::Wakeup(int64_t nap)
    : napMs(nap > 0 ? nap : 1), eventFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

Wakeup::~Wakeup()
{
    if (eventFd >= 0)
        close(eventFd);
}

void Wakeup::wake()
{
    if (eventFd >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = write(eventFd, &one, sizeof(one));
    }
}

bool Wakeup::sleepMs(int64_t ms, const std::function<bool()>& done)
{
    return wait(-1, ms, done) < 0;
}

int Wakeup::waitReadable(int fd, int64_t ms, const std::function<bool()>& done)
{
    return wait(fd, ms, done);
}

int Wakeup::wait(int fd, int64_t ms, const std::function<bool()>& done)
{
    if (eventFd < 0 || !realTimeWaits()) {
        int64_t left = ms;
        for (;;) {
            if (done && done())
                return -1;
            if (fd >= 0 && readableNow(fd))
                return 1;
            if (left <= 0)
                return 0;
            const int64_t nap = std::min(left, napMs);
            zoplat::sleepMs(nap);
            left -= nap;
        }
    }

    const int64_t deadlineNs = realMonotonicNs() + int64_t(double(std::max<int64_t>(ms, 0)) * 1e6 * timeScale());
    for (;;) {
        // Take the wake-ups first: one that comes after this is seen by the poll.
        uint64_t count = 0;
        while (read(eventFd, &count, sizeof(count)) > 0) {
        }
        if (done && done())
            return -1;
        const int64_t leftNs = std::max<int64_t>(deadlineNs - realMonotonicNs(), 0);
        timespec timeout{};
        timeout.tv_sec = time_t(leftNs / 1000000000);
        timeout.tv_nsec = long(leftNs % 1000000000);
        pollfd pfd[2] = {{eventFd, POLLIN, 0}, {fd, POLLIN, 0}};   // a negative fd is left out
        const int ready = ppoll(pfd, 2, &timeout, nullptr);
        if (ready > 0 && fd >= 0 && pfd[1].revents != 0)
            return 1;
        if (ready == 0)
            return 0;
        if (ready < 0 && errno != EINTR) {
            // No poll to wait in: sleep the rest rather than spin.
            realSleepNs(leftNs);
            return fd >= 0 && readableNow(fd) ? 1 : 0;
        }
        // Woken, or interrupted by a signal: look again for the time left.
    }
}

} // namespace zoplat
