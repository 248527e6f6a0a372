#pragma once

// Shared by the serial tests: condition waits and platform scoping.

#include "SimSerialDevice.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace serialtest {

// Generous: the deadline only bounds a test that has already failed.
constexpr int kDeadlineMs = 30000;

// Polls the condition until it holds or the deadline passes.
inline bool waitUntil(const std::function<bool()>& condition, int deadlineMs = kDeadlineMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Product time passes only once every simulated device has taken what the
// product wrote and sent the answers it owes: on a real line, the product's
// waits and time-outs are long enough for that, however busy the machine
// running the simulation is.
inline void settleDevices()
{
    zorsim::SimSerialDevice::settleAll(kDeadlineMs);
}

// Product sleeps begun so far (a product thread's loop passes can be counted).
inline std::atomic<uint64_t>& productSleeps()
{
    static std::atomic<uint64_t> count{0};
    return count;
}

// Product sleeps: settled, then the scaled real time.
inline void settledSleep(int64_t ms)
{
    ++productSleeps();
    settleDevices();
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(double(ms) * zoplat::timeScale()));
}

// The product's monotonic clock: settled, then scaled real time, continuous
// across changes of the scale.
inline int64_t settledClockMs()
{
    settleDevices();
    using Clock = std::chrono::steady_clock;
    static std::mutex mutex;
    static bool anchored = false;
    static Clock::time_point anchorReal;
    static double anchorProductMs = 0;
    static double anchorScale = 1.0;
    std::lock_guard<std::mutex> lock(mutex);
    const Clock::time_point now = Clock::now();
    const double scale = zoplat::timeScale();
    if (!anchored) {
        anchorReal = now;
        anchorProductMs = std::chrono::duration<double, std::milli>(now.time_since_epoch()).count();
        anchorScale = scale;
        anchored = true;
    }
    const double productMs = anchorProductMs + std::chrono::duration<double, std::milli>(now - anchorReal).count() / anchorScale;
    if (scale != anchorScale) {
        anchorReal = now;
        anchorProductMs = productMs;
        anchorScale = scale;
    }
    return int64_t(productMs);
}

// The host platform at its defaults, with the product's waits run faster and
// kept behind the simulated devices.
class PlatformScope
{
public:
    explicit PlatformScope(double timeScale)
    {
        zoplat::host::reset();
        zoplat::setTimeScale(timeScale);
        zoplat::setSleeper(settledSleep);
        zoplat::setMonotonicClock(settledClockMs);
    }
    ~PlatformScope() { zoplat::host::reset(); }
};

} // namespace serialtest
