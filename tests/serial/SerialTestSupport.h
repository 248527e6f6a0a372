#pragma once

// Shared by the serial tests: condition waits and platform scoping.

#include "zoplatform.h"
#include "zoplatform_control_host.h"

#include <chrono>
#include <functional>
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

// The host platform at its defaults, with the product's waits run faster.
class PlatformScope
{
public:
    explicit PlatformScope(double timeScale)
    {
        zoplat::host::reset();
        zoplat::setTimeScale(timeScale);
    }
    ~PlatformScope() { zoplat::host::reset(); }
};

} // namespace serialtest
