#include "SimClock.h"

namespace zorsim {

SimClock::EventId SimClock::schedule(int64_t atNs, Callback fn)
{
    if (atNs < nowNs)
        atNs = nowNs;
    const EventId id = ++sequence;
    const auto key = std::make_pair(atNs, id);
    queue.emplace(key, std::move(fn));
    index.emplace(id, key);
    return id;
}

bool SimClock::cancel(EventId id)
{
    auto it = index.find(id);
    if (it == index.end())
        return false;
    queue.erase(it->second);
    index.erase(it);
    return true;
}

std::optional<int64_t> SimClock::nextDeadline() const
{
    if (queue.empty())
        return std::nullopt;
    return queue.begin()->first.first;
}

void SimClock::fireUntil(int64_t targetNs)
{
    while (!queue.empty() && queue.begin()->first.first <= targetNs) {
        auto it = queue.begin();
        nowNs = it->first.first;
        Callback fn = std::move(it->second);
        index.erase(it->first.second);
        queue.erase(it);
        fn();
    }
    nowNs = targetNs;
}

void SimClock::advance(int64_t durationNs)
{
    fireUntil(nowNs + (durationNs > 0 ? durationNs : 0));
}

bool SimClock::advanceToNext()
{
    if (queue.empty())
        return false;
    fireUntil(queue.begin()->first.first);
    return true;
}

void SimClock::reset()
{
    queue.clear();
    index.clear();
    nowNs = 0;
    sequence = 0;
}

} // namespace zorsim
