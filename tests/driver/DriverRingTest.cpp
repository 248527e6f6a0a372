// Where a run the instrument steps through is, from one pass's register
// reads: the pages that ended since the pass before and the time each
// played, worked out by hand.

#include "driverbase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kRate = 28000;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kEnded = DriverStateWord::kEndedBit;

// A page's record: its trigger, duration and last action's stamp (the
// register keeps 32 bits of it; no stamp: no action).
DriverPageRecord record(uint16_t trigger, double seconds, uint64_t stampUs = 0)
{
    DriverPageRecord r;
    r.trigger = trigger;
    r.durationTicks = uint32_t(std::lround(seconds * kRate));
    r.actionFlags = stampUs ? 0x0101 : 0;
    r.actionStampUs = uint32_t(stampUs);
    return r;
}

DriverPageRecord timed(double seconds)
{
    return record(COMM_TRIGGER_TYPE_TIME, seconds);
}

struct Row
{
    const char* name;
    DriverRingPosition before;
    int state;                 // the state word read
    double elapsedSeconds;     // of its page
    int64_t atUs;
    std::vector<std::pair<int, DriverPageRecord>> records;
    std::vector<std::pair<int, double>> ended;   // page, seconds (NaN: not known)
    bool anchoredAfter;
    int cutPage = -1;   // the page the testor ended before its time, and when
    int64_t cutUs = std::numeric_limits<int64_t>::min();
};

DriverRingPosition at(int state, double played, int64_t atUs)
{
    DriverRingPosition p;
    p.state = DriverStateWord(state);
    p.anchored = true;
    p.playedSeconds = played;
    p.atUs = atUs;
    return p;
}

}   // namespace

TEST(DriverRing, PagesEndedSinceThePassBeforeWithTheTimesTheyPlayed)
{
    const Row rows[] = {
        {"nothing ended: the page playing is read again", at(2, 0.5, 0), 2, 0.7, 200000, {}, {}, true},
        {"a time page", at(0, 0.04, 0), 1, 0.01, 20000, {{0, timed(0.05)}}, {{0, 0.05}}, true},
        {"two pages in one pass", at(2, 0.0, 0), 4, 0.001, 5000,
         {{2, timed(0.001)}, {3, record(COMM_TRIGGER_TYPE_BINARY, 36000, 1234)}}, {{2, 0.001}, {3, 0.001234}}, true},
        {"the ring wraps", at(6, 0.5, 0), 1, 0.2, 800000,
         {{6, timed(0.6)}, {7, record(COMM_TRIGGER_TYPE_TIME_BINARY, 10, 30000)}, {0, timed(0.1)}},
         {{6, 0.6}, {7, 0.03}, {0, 0.1}}, true},
        // The key page played 10 s by its last read; 20 ms later the page
        // after the 10 ms page after it has played 5 ms.
        {"a key page: its last read and the span to the next page's start", at(3, 10.0, 100000000), 5, 0.005,
         100020000, {{3, record(COMM_TRIGGER_TYPE_KEY_PRESS, 36000)}, {4, timed(0.01)}}, {{3, 10.005}, {4, 0.01}}, true},
        // Ended 10 ms after its read of 2 s, the page after it read 10 ms later at 5 ms.
        {"a time page the testor ended: its last read and the span to the next page's start",
         at(3, 2.0, 100000000), 4, 0.005, 100020000, {{3, timed(1000)}}, {{3, 2.015}}, true, 3, 100010000},
        {"two pages of a key or a pulse in one pass cannot be told apart", at(3, 1.0, 0), 6, 0.001, 30000,
         {{3, record(COMM_TRIGGER_TYPE_KEY_PRESS, 36000)}, {4, record(COMM_TRIGGER_TYPE_GPS, 36000)}, {5, timed(0.01)}},
         {{3, kNaN}, {4, kNaN}, {5, 0.01}}, true},
        {"the run's end: the last page held, timed by its elapsed ticks", at(6, 0.01, 0), 7 | kEnded, 0.5, 600000,
         {{6, timed(0.02)}, {7, record(COMM_TRIGGER_TYPE_KEY_PRESS, 36000)}}, {{6, 0.02}, {7, 0.5}}, false},
        // 4500.015 s is 205.047704 s past one lap of the 32-bit stamp.
        {"a trip after 75 minutes: the stamp's laps from the last read", at(0, 4499.9, 0), 1, 0.05, 200000,
         {{0, record(COMM_TRIGGER_TYPE_BINARY, 36000, 4500015000ull)}}, {{0, 4500.015}}, true},
        {"the most a word tells: eight pages to the run's end", at(0, 0.0, 0), 7 | kEnded, 1.0 / kRate, 1000,
         {{0, timed(0)}, {1, timed(0)}, {2, timed(0)}, {3, timed(0)}, {4, timed(0)}, {5, timed(0)}, {6, timed(0)},
          {7, timed(0)}},
         {{0, 0.0}, {1, 0.0}, {2, 0.0}, {3, 0.0}, {4, 0.0}, {5, 0.0}, {6, 0.0}, {7, 0.0}}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DriverRingPosition position = row.before;
        DriverRingReads reads;
        reads.state = DriverStateWord(row.state);
        reads.elapsedTicks = uint32_t(std::lround(row.elapsedSeconds * kRate));
        reads.atUs = row.atUs;
        reads.cutPage = row.cutPage;
        reads.cutUs = row.cutUs;
        for (const auto& [page, record] : row.records)
            reads.pages[page] = record;
        const std::vector<DriverEndedPage> ended = driverRingPagesEnded(position, reads, kRate);
        ASSERT_EQ(ended.size(), row.ended.size());
        for (size_t i = 0; i < ended.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(ended[i].page, row.ended[i].first);
            if (std::isnan(row.ended[i].second))
                EXPECT_TRUE(std::isnan(ended[i].seconds)) << ended[i].seconds;
            else
                EXPECT_NEAR(ended[i].seconds, row.ended[i].second, 1e-9);
        }
        EXPECT_EQ(position.state, reads.state);
        EXPECT_EQ(position.anchored, row.anchoredAfter);
        if (row.anchoredAfter) {
            EXPECT_DOUBLE_EQ(position.playedSeconds, double(reads.elapsedTicks) / kRate);
            EXPECT_EQ(position.atUs, row.atUs);
        }
    }
}
