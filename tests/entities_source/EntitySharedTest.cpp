#include "ModelEntityCommon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace ModelEntity;

// The search step lands exactly on the end value and flags it, in both
// directions, without overshooting on a step that does not divide the span.
TEST(EntitySharedTest, SearchStepStopsOnTheEndValue)
{
    struct Row {
        double x, begin, end, step;
        bool first;
        double expected;
        bool last;
    };
    const Row rows[] = {
        {7.0, 1.0, 3.0, 0.5, true, 1.0, false},   // first step starts at begin
        {2.0, 2.0, 2.0, 0.5, true, 2.0, true},    // begin == end: one step only
        {1.0, 1.0, 3.0, 0.5, false, 1.5, false},  // rising
        {2.8, 1.0, 3.0, 0.5, false, 3.0, true},   // rising past the end: clamps
        {3.0, 3.0, 1.0, 0.5, false, 2.5, false},  // falling
        {1.2, 3.0, 1.0, 0.5, false, 1.0, true},   // falling past the end: clamps
    };
    for (const Row& r : rows) {
        bool last = false;
        EXPECT_DOUBLE_EQ(stepSearchValue(r.x, r.begin, r.end, r.step, r.first, last), r.expected) << r.x;
        EXPECT_EQ(last, r.last) << r.x;
    }
}

// AND logic takes the report only once every watched input has a time, and
// nothing after that; OR logic takes the reporting input at once.
TEST(EntitySharedTest, BinaryInputLogicTakesTheReportWhenComplete)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const qint32 watched[4] = {1, 0, 2, 0}; // BI1 and BI3
    double times[4] = {nan, nan, nan, nan};
    qint32 biIndex = -1;

    // BI1 rises: BI3 still missing.
    EXPECT_FALSE(recordBIAction(times, biIndex, watched, AO_BILOGIC_TYPE_AND, false, 0x1, 0, 0.1));
    EXPECT_EQ(biIndex, -1);
    EXPECT_DOUBLE_EQ(times[0], 0.1);
    // BI3 falls: both watched inputs have a time.
    EXPECT_TRUE(recordBIAction(times, biIndex, watched, AO_BILOGIC_TYPE_AND, false, 0x2 << 4, 2, 0.2));
    EXPECT_EQ(biIndex, 2);
    EXPECT_DOUBLE_EQ(times[2], 0.2);
    // A later report adds nothing.
    EXPECT_FALSE(recordBIAction(times, biIndex, watched, AO_BILOGIC_TYPE_AND, false, 0x1, 0, 0.3));
    EXPECT_DOUBLE_EQ(times[0], 0.1);

    double orTimes[4] = {nan, nan, nan, nan};
    qint32 orIndex = -1;
    EXPECT_TRUE(recordBIAction(orTimes, orIndex, watched, AO_BILOGIC_TYPE_OR, false, 0, 3, 0.4));
    EXPECT_EQ(orIndex, 3);
    EXPECT_DOUBLE_EQ(orTimes[3], 0.4);
}

// A ramped value stops on the leg's end, rising and falling, forward and back.
TEST(EntitySharedTest, RampStepStopsOnTheLegEnd)
{
    double v = 1.8;
    EXPECT_EQ(rampStepValue(v, 1.0, 2.0, 0.5, 1, 1), 0);
    EXPECT_DOUBLE_EQ(v, 2.0);
    v = 1.8;
    EXPECT_EQ(rampStepValue(v, 1.0, 2.0, -0.5, 1, -1), 1); // the step's sign is ignored
    EXPECT_DOUBLE_EQ(v, 1.3);
    v = 1.3;
    EXPECT_EQ(rampStepValue(v, 1.0, 2.0, 0.5, 1, -1), 0);
    EXPECT_DOUBLE_EQ(v, 1.0);
    v = 1.2;
    EXPECT_EQ(rampStepValue(v, 2.0, 1.0, 0.5, -1, 1), 0); // falling toward the end value
    EXPECT_DOUBLE_EQ(v, 1.0);
}
