// Injectable waits and monotonic clock, the same in both builds.

#include "zoplatform.h"

#include <cerrno>
#include <memory>
#include <mutex>
#include <time.h>

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
    TimeState& s = state();
    std::shared_ptr<const std::function<int64_t()>> clock;
    int64_t ns;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        clock = s.clock;
        ns = scaledNowNs(s, realMonotonicNs());
    }
    if (clock)
        return (*clock)();
    return ns / 1000000;
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

} // namespace zoplat
