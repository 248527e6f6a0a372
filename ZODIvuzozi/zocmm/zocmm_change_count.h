#pragma once

// A count that threads sleep on until it changes: add() bumps it and wakes
// them; wait(seen, ms) returns once it differs from seen (true) or after ms
// (false). Lets a service thread sleep until there is work instead of
// polling for it.

#include "zobase_mytype.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

class ZocmmChangeCount
{
public:
    u64 count() const { return value.load(); }
    void add()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            value.fetch_add(1);
        }
        changed.notify_all();
    }
    bool wait(u64 seen, int ms)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return value.load() != seen; });
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    std::atomic<u64> value{0};
};
