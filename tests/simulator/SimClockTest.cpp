// The simulator's virtual clock: deadlines fire in order with now() at their
// time, equal deadlines in the order they were set, re-arming from a callback.

#include "SimClock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using zorsim::SimClock;

TEST(SimClock, FiresInDeadlineOrderWithNowAtEachDeadline)
{
    SimClock clock;
    std::vector<std::pair<std::string, int64_t>> fired;
    auto note = [&](const char* name) { return [&, name] { fired.emplace_back(name, clock.now()); }; };
    clock.schedule(300, note("c"));
    clock.schedule(100, note("a"));
    clock.schedule(200, note("b1"));
    clock.schedule(200, note("b2"));   // same deadline: after b1
    const SimClock::EventId dropped = clock.schedule(250, note("never"));
    EXPECT_TRUE(clock.cancel(dropped));
    EXPECT_FALSE(clock.cancel(dropped));

    clock.advance(250);
    EXPECT_EQ(clock.now(), 250);
    const std::vector<std::pair<std::string, int64_t>> first = {{"a", 100}, {"b1", 200}, {"b2", 200}};
    EXPECT_EQ(fired, first);
    EXPECT_EQ(clock.nextDeadline(), 300);
}

TEST(SimClock, CallbacksRearmAndScheduleAtNow)
{
    SimClock clock;
    std::vector<int64_t> ticks;
    std::function<void()> periodic = [&] {
        ticks.push_back(clock.now());
        if (ticks.size() < 4)
            clock.schedule(clock.now() + 10, periodic);
    };
    clock.schedule(10, periodic);
    bool immediate = false;
    clock.schedule(15, [&] { clock.schedule(clock.now(), [&] { immediate = clock.now() == 15; }); });
    clock.advance(1000);
    EXPECT_EQ(ticks, (std::vector<int64_t>{10, 20, 30, 40}));
    EXPECT_TRUE(immediate);
    EXPECT_FALSE(clock.hasPending());
}

TEST(SimClock, AdvanceToNextFiresEverythingDueThenAndFailsWhenIdle)
{
    SimClock clock;
    int fired = 0;
    clock.schedule(-5, [&] { ++fired; });   // in the past: due now
    clock.schedule(40, [&] { ++fired; });
    clock.schedule(40, [&] { ++fired; });
    ASSERT_TRUE(clock.advanceToNext());
    EXPECT_EQ(clock.now(), 0);
    ASSERT_TRUE(clock.advanceToNext());
    EXPECT_EQ(clock.now(), 40);
    EXPECT_EQ(fired, 3);
    EXPECT_FALSE(clock.advanceToNext());
    EXPECT_EQ(clock.now(), 40);
}

} // namespace
