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
constexpr int kEnded = DriverStateWord::kEndedBit;

struct Row
{
    const char* name;
    DriverRingPosition before;
    int state;                 // the state word read
    double elapsedSeconds;     // of its page
    int64_t atUs;
    std::vector<std::pair<int, uint64_t>> playedUs;   // page, us it played (the register keeps 32 bits)
    std::vector<std::pair<int, double>> ended;        // page, seconds
    bool anchoredAfter;
    int64_t heldUs = -1;
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
        {"a page the ring left: the microseconds it played", at(0, 0.04, 0), 1, 0.01, 20000, {{0, 50000}},
         {{0, 0.05}}, true},
        {"two pages in one pass", at(2, 0.0, 0), 4, 0.001, 5000, {{2, 1000}, {3, 1234}}, {{2, 0.001}, {3, 0.001234}},
         true},
        {"the ring wraps", at(6, 0.5, 0), 1, 0.2, 800000, {{6, 600000}, {7, 30000}, {0, 100000}},
         {{6, 0.6}, {7, 0.03}, {0, 0.1}}, true},
        // Ended by a key, a pulse or the testor's switch, however long after the last read.
        {"pages a key and a pulse ended in one pass", at(3, 10.0, 100000000), 6, 0.005, 100020000,
         {{3, 10004321}, {4, 7000}, {5, 10000}}, {{3, 10.004321}, {4, 0.007}, {5, 0.01}}, true},
        {"the run's end: the last page held, timed by its elapsed ticks", at(6, 0.01, 0), 7 | kEnded, 0.5, 600000,
         {{6, 20000}, {7, 530000}}, {{6, 0.02}, {7, 0.5}}, false, 30000},
        {"held on: how long it has been held", at(7 | kEnded, 0.5, 0), 7 | kEnded, 0.5, 700000, {{7, 515000}}, {},
         false, 15000},
        // 4500.015 s is 205.047704 s past one lap of the 32-bit count.
        {"a page of 75 minutes: the count's laps from the last read", at(0, 4499.9, 0), 1, 0.05, 200000,
         {{0, 4500015000ull}}, {{0, 4500.015}}, true},
        {"the most a word tells: eight pages to the run's end", at(0, 0.0, 0), 7 | kEnded, 1.0 / kRate, 1000,
         {{0, 36}, {1, 36}, {2, 36}, {3, 36}, {4, 36}, {5, 36}, {6, 36}, {7, 36}},
         {{0, 36e-6}, {1, 36e-6}, {2, 36e-6}, {3, 36e-6}, {4, 36e-6}, {5, 36e-6}, {6, 36e-6}, {7, 1.0 / kRate}},
         false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DriverRingPosition position = row.before;
        DriverRingReads reads;
        reads.state = DriverStateWord(row.state);
        reads.elapsedTicks = uint32_t(std::lround(row.elapsedSeconds * kRate));
        reads.atUs = row.atUs;
        for (const auto& [page, us] : row.playedUs)
            reads.playedUs[page] = uint32_t(us);
        const std::vector<DriverEndedPage> ended = driverRingPagesEnded(position, reads, kRate);
        ASSERT_EQ(ended.size(), row.ended.size());
        for (size_t i = 0; i < ended.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(ended[i].page, row.ended[i].first);
            EXPECT_NEAR(ended[i].seconds, row.ended[i].second, 1e-9);
        }
        EXPECT_EQ(position.state, reads.state);
        EXPECT_EQ(position.anchored, row.anchoredAfter);
        EXPECT_EQ(position.heldUs, row.heldUs);
        if (row.anchoredAfter) {
            EXPECT_DOUBLE_EQ(position.playedSeconds, double(reads.elapsedTicks) / kRate);
            EXPECT_EQ(position.atUs, row.atUs);
        }
    }
}
