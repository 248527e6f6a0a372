#include "EntityTestSupport.h"
#include "ModelHarmonicEntity.h"

#include <cmath>
#include <random>

using namespace entitytest;
using namespace ModelEntity;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Instantaneous value of channel c as the record describes it.
double sample(const CommDriverTestOutputData& out, int c, double t)
{
    double v = 0.0;
    for (int k = 0; k < 4; ++k)
        v += double(out.outputRanges[c][k])
             * std::sin(2.0 * kPi * double(out.outputFrequencies[c][k]) * t
                        + double(out.outputAngles[c][k]) * kPi / 180.0);
    return v;
}

} // namespace

TEST(HarmonicEntity, HarmonicAnglesAreInTheFundamentalsReference)
{
    DriverRecords records;
    records.soil();
    ModelHarmonicEntity e;
    e.outputRanges[0][0] = 57.7;
    e.outputAngles[0][0] = 30.0;
    e.outputFrequencies[0][0] = 50.0;
    e.outputRanges[0][2] = 5.0;         // slot 2: order 3
    e.outputAngles[0][2] = 10.0;
    e.outputAngles[0][1] = 45.0;        // slot 1 has no amplitude
    e.outputRanges[0][3] = 400.0;       // harmonic slots are not clamped
    e.formatLimitValue(300.0, 20.0);
    e.resetActionValues();
    e.switchToResetState();
    ASSERT_TRUE(e.checkOutputValues());
    e.updateToDriverValue();

    const CommDriverTestOutputData& out = records.output;
    EXPECT_EQ(records.control.controlOutputHarmEnable, 1);
    EXPECT_FLOAT_EQ(out.outputRanges[0][0], 57.7f);
    EXPECT_FLOAT_EQ(out.outputAngles[0][0], 30.0f);
    EXPECT_FLOAT_EQ(out.outputFrequencies[0][2], 150.0f);
    EXPECT_FLOAT_EQ(out.outputAngles[0][2], 100.0f);
    EXPECT_EQ(out.outputRanges[0][1], 0.0f);
    EXPECT_EQ(out.outputAngles[0][1], 0.0f);
    EXPECT_EQ(out.outputFrequencies[0][1], 0.0f);
    EXPECT_FLOAT_EQ(out.outputRanges[0][3], 400.0f);
    EXPECT_FLOAT_EQ(out.outputFrequencies[0][3], 250.0f);
    EXPECT_FLOAT_EQ(out.outputAngles[0][3], 150.0f);   // 0 + 5 x 30
    for (int c = 1; c < 8; ++c)
        EXPECT_EQ(out.outputRanges[c][1], 0.0f);
    expectSaneRecord(out);
}

// Moving the fundamental's angle by d is moving the whole waveform in time
// by d / (360 f): every harmonic must move with it (phi_h + h * phi_1).
TEST(HarmonicEntity, EncodedWaveformKeepsItsShapeUnderATimeShift)
{
    DriverRecords records;
    std::mt19937 rng(20240607);
    std::uniform_real_distribution<double> angle(-720.0, 720.0);
    ModelHarmonicEntity e;
    e.outputOrders[1] = 2;
    e.outputOrders[2] = 3;
    e.outputOrders[3] = 7;
    e.outputFrequencies[4][0] = 50.0;
    for (int k = 0; k < 4; ++k)
        e.outputRanges[4][k] = 1.0 + k;
    for (int trial = 0; trial < 20; ++trial) {
        for (int k = 0; k < 4; ++k)
            e.outputAngles[4][k] = angle(rng);
        const double base = e.outputAngles[4][0];
        e.updateToDriverValue();
        const CommDriverTestOutputData before = records.output;
        for (int k = 1; k < 4; ++k) {
            const double expected = std::fmod(e.outputAngles[4][k] + e.outputOrders[k] * base + 3600.0, 360.0);
            EXPECT_NEAR(std::remainder(before.outputAngles[4][k] - expected, 360.0), 0.0, 1e-3);
        }
        const double d = angle(rng);
        e.outputAngles[4][0] = base + d;
        e.updateToDriverValue();
        const double dt = d / (360.0 * 50.0);
        for (double t : {0.0, 0.0013, 0.0071, 0.0149}) {
            EXPECT_NEAR(sample(records.output, 4, t), sample(before, 4, t + dt), 2e-3)
                << "trial " << trial << " t " << t;
        }
    }
    // A huge fundamental angle is folded before the order multiplies it.
    e.outputAngles[4][0] = 1e300;
    e.outputAngles[4][1] = 0.0;
    ASSERT_TRUE(e.checkOutputValues());
    e.updateToDriverValue();
    const double phi1 = std::fmod(1e300, 360.0);
    EXPECT_NEAR(std::remainder(records.output.outputAngles[4][1] - 2.0 * phi1, 360.0), 0.0, 1e-3);
    expectSaneRecord(records.output);
}

TEST(HarmonicEntity, RampMovesOneSlotOfTheGroup)
{
    DriverRecords records;
    ModelHarmonicEntity e;
    for (int c : {4, 5, 6}) {
        for (int k = 0; k < 4; ++k) {
            e.outputRanges[c][k] = 1.0 + k;
            e.outputAngles[c][k] = 10.0 * k;
        }
        e.outputFrequencies[c][0] = 50.0;
    }
    e.outputRanges[5][2] = 2.0;
    e.autoRampEnabled = true;
    e.faultActionPort = RAMP_PORT_TYPE_IAIB;
    e.faultActionItem = RAMP_ITEM_TYPE_RANGE;
    e.faultActionOrder = 2;
    e.actionRampFactor = 1;
    e.actionRampStep = 0.5;
    e.endRampValue = 4.0;
    e.resetActionValues();
    e.switchToResetState();
    EXPECT_EQ(e.stateCount, 7);       // |4 - 2| / 0.5 + 3, from the smaller of IA and IB
    ASSERT_TRUE(e.checkOutputValues());
    e.updateToDriverValue();
    e.updateToDriverStateCount();
    EXPECT_EQ(records.output.outputStateCount, 8u);
    ASSERT_TRUE(e.switchToNextState());
    e.updateToDriverValue();
    const CommDriverTestOutputData& out = records.output;
    EXPECT_FLOAT_EQ(out.outputRanges[4][2], 3.5f);
    EXPECT_FLOAT_EQ(out.outputRanges[5][2], 2.5f);
    EXPECT_FLOAT_EQ(out.outputRanges[6][2], 3.0f);   // IC not in the group
    for (int c : {4, 5}) {
        for (int k : {0, 1, 3})
            EXPECT_FLOAT_EQ(out.outputRanges[c][k], 1.0f + k) << c << "/" << k;
    }

    // A trip records the ramped slot of the group; RETURN keeps one record.
    e.faultActionType = ACTION_TYPE_RETURN;
    EXPECT_EQ(e.updateFromDriverAction(0x8002, 0x1, 0, 0.3f), 0);
    ASSERT_EQ(e.faultActionValues[0].portCnt, 2);
    EXPECT_DOUBLE_EQ(e.faultActionValues[0].actionVal[0], 3.0);
    EXPECT_DOUBLE_EQ(e.faultActionValues[0].actionVal[1], 2.0);
    e.currentRampFactor = -1;
    EXPECT_EQ(e.updateFromDriverAction(0x8003, 0x1, 0, 0.9f), 0);   // same record, new time
    EXPECT_DOUBLE_EQ(e.faultActionTimes[0], double(0.9f));
    e.resetActionValues();
    EXPECT_EQ(e.faultActionBiIndex, -1);
    EXPECT_TRUE(std::isnan(e.faultActionTimes[0]));
}

TEST(HarmonicEntity, RampedSlotOutOfRangeFailsTheStart)
{
    DriverRecords records;
    for (qint32 order : {-1, 4, 1000000}) {
        ModelHarmonicEntity e;
        e.autoRampEnabled = true;
        e.faultActionOrder = order;
        e.actionRampStep = 1.0;
        e.endRampValue = 5.0;
        e.switchToResetState();
        EXPECT_FALSE(e.checkOutputValues()) << order;
        e.updateToDriverValue();
        EXPECT_TRUE(e.switchToNextState());
        EXPECT_EQ(e.updateFromDriverAction(0x8001, 1, 0, 0.5f), 0);
        EXPECT_EQ(e.faultActionValues[0].portCnt, 0);
        double v = 1.0;
        e.getOutputValue(RAMP_PORT_TYPE_UA, e.outputRanges, v);
        EXPECT_EQ(v, 0.0);
    }
}

// What a channel's components reach against its range (10 A): their sum as
// the amounts are entered (rounding that passes the range by a hair is on
// it), no component below 0, and a ramped slot at its start and end value.
TEST(HarmonicEntity, WhatTheComponentsAddUpToIsHeldToTheRange)
{
    DriverRecords records;
    struct Row
    {
        double ia[4], ib[4];
        bool ramp;   // slot 0 of IAIB rising from IA's and IB's to 9 A
        bool beyond;
        int channel;
        double value;
        bool steady;
    };
    const Row rows[] = {
        {{1.3, 7.4, 1.3, 0.0}, {}, false, false, 0, 0.0, false},   // 10.000000000000002 in doubles
        {{8.0, -2.0, 0.0, 0.0}, {}, false, true, AO_PORT_TYPE_IA, -2.0, true},
        {{3.0, 2.0, 0.0, 0.0}, {1.0, 0.0, 0.0, 0.0}, true, true, AO_PORT_TYPE_IA, 11.0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        ModelHarmonicEntity e;
        std::copy(r.ia, r.ia + 4, e.outputRanges[AO_PORT_TYPE_IA]);
        std::copy(r.ib, r.ib + 4, e.outputRanges[AO_PORT_TYPE_IB]);
        e.autoRampEnabled = r.ramp;
        e.faultActionPort = RAMP_PORT_TYPE_IAIB;
        e.actionRampFactor = 1;
        e.actionRampStep = 1.0;
        e.endRampValue = 9.0;
        e.formatLimitValue(265.0, 10.0);
        e.switchToResetState();
        ASSERT_TRUE(e.checkOutputValues());
        const RampBeyondOutputs beyond = e.beyondOutputs();
        EXPECT_EQ(beyond.beyond, r.beyond);
        if (!r.beyond)
            continue;
        EXPECT_EQ(beyond.channel, r.channel);
        EXPECT_DOUBLE_EQ(beyond.value, r.value);
        EXPECT_EQ(beyond.high, 10.0);
        EXPECT_EQ(beyond.steady, r.steady);
    }
}

TEST(HarmonicEntity, StartChecksAndTwoInputReports)
{
    DriverRecords records;
    ModelHarmonicEntity e;
    e.outputAngles[2][3] = kInf;
    EXPECT_FALSE(e.checkOutputValues());
    e.updateToDriverValue();
    expectSaneRecord(records.output);
    e.outputAngles[2][3] = 0.0;
    e.outputFrequencies[2][0] = 1e38;   // finite, but the 5th harmonic is not a float
    EXPECT_FALSE(e.checkOutputValues());
    e.outputFrequencies[2][0] = 50.0;
    EXPECT_TRUE(e.checkOutputValues());
    e.outputOrders[3] = 21;   // 1050 Hz, beyond what the outputs give
    EXPECT_FALSE(e.checkOutputValues());
    e.outputOrders[3] = 20;
    EXPECT_TRUE(e.checkOutputValues());

    e.resetActionValues();
    EXPECT_EQ(e.updateFromDriverAction(0, 0, 0.2f, 0), -1);    // no flag of input 1 or 2
    EXPECT_EQ(e.updateFromDriverAction(1, 0, 0.2f, 0), 0);
    EXPECT_EQ(e.updateFromDriverAction(1, 0, 0.3f, 0), -1);    // slot 0 holds a state
    EXPECT_EQ(e.updateFromDriverAction(1, 1, 0.3f, 0), 0);     // input 2 fills slot 1
    EXPECT_EQ(e.faultActionStates[1], 0);
    EXPECT_EQ(e.updateFromDriverAction(1, 1, 0.4f, 0), -1);
}

TEST(HarmonicEntity, RmsValuesAndCurrentMaximum)
{
    DriverRecords records;
    records.soil(99.0f);
    ModelHarmonicEntity e;
    e.outputRanges[4][0] = 3.0;
    e.outputRanges[4][1] = 4.0;
    e.outputRanges[6][0] = 2.0;
    e.outputRanges[0][0] = 100.0;
    EXPECT_DOUBLE_EQ(e.getRMSnew(AO_PORT_TYPE_IA), 5.0);
    EXPECT_DOUBLE_EQ(e.getRMS(AO_PORT_TYPE_IA), 7.0);
    EXPECT_DOUBLE_EQ(e.getRMSnew(AO_PORT_TYPE_IC), 2.0);
    EXPECT_DOUBLE_EQ(e.maxOutputCurrent(), 5.0);
}
