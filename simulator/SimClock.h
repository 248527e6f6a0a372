#pragma once

// Virtual time of the simulated instrument, in nanoseconds from its power-on.
// Time is data: nothing ticks. Users schedule deadlines; advance() walks them
// in order (equal deadlines in the order they were scheduled), sets now() to
// each deadline before its callback runs, and only then sets the final time.
// A callback may schedule or cancel deadlines, including ones at now().
//
// Not thread-safe on its own: the instrument calls it under its lock.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>

namespace zorsim {

class SimClock
{
public:
    using Callback = std::function<void()>;
    using EventId = uint64_t;

    int64_t now() const { return nowNs; }

    // Schedules fn at atNs (a time in the past means now). Returns an id > 0.
    EventId schedule(int64_t atNs, Callback fn);
    // Removes a pending deadline; false when it already fired or never was.
    bool cancel(EventId id);

    bool hasPending() const { return !queue.empty(); }
    std::optional<int64_t> nextDeadline() const;

    // Moves time forward by durationNs (>= 0), firing every deadline on the way.
    void advance(int64_t durationNs);
    // Moves time to the next deadline and fires everything due then.
    // Returns false, and leaves time alone, when nothing is pending.
    bool advanceToNext();

    // Back to time 0 with no deadline.
    void reset();

private:
    void fireUntil(int64_t targetNs);

    int64_t nowNs = 0;
    uint64_t sequence = 0;
    // (deadline, sequence) -> callback; the sequence keeps equal deadlines in order.
    std::map<std::pair<int64_t, uint64_t>, Callback> queue;
    std::map<EventId, std::pair<int64_t, uint64_t>> index;
};

} // namespace zorsim
