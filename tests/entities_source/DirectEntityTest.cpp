#include "EntityTestSupport.h"
#include "ModelDirectEntity.h"

#include <vector>

using namespace entitytest;
using namespace ModelEntity;

TEST(DirectEntity, AmplifierTypeMapsTheCurrents)
{
    struct Case {
        quint8 powerAmpType;
        float ranges[4];      // IA IB IC IX in the record
        float angles[4];
        float current[4];     // currentOutputRanges
        double maxCurrent;
    } cases[] = {
        {0, {2.0f, 3.0f, 0.5f, 1.0f}, {90.0f, 90.0f, 90.0f, 90.0f}, {2.0f, 3.0f, 0.5f, 1.0f}, 3.0},
        {1, {2.0f, 0.0f, 2.0f, 1.0f}, {270.0f, -180.0f, 90.0f, 90.0f}, {2.0f, 0.0f, 2.0f, 1.0f}, 2.0},
    };
    for (const Case& c : cases) {
        DriverRecords records;
        records.soil();
        records.hard.powerAmpType = c.powerAmpType;
        ModelDirectEntity e;
        e.outputRanges[0] = 100.0;
        e.outputRanges[4] = 2.0;
        e.outputRanges[5] = 3.0;
        e.outputRanges[6] = 0.5;
        e.outputRanges[7] = 1.0;
        e.outputAngles[4] = 12.0;       // never sent
        e.outputFrequencies[4] = 50.0;  // never sent
        e.switchToResetState();
        e.resetActionValues();
        ASSERT_TRUE(e.checkOutputValues());
        e.updateToDriverValue();
        const CommDriverTestOutputData& out = records.output;
        EXPECT_FLOAT_EQ(out.outputRanges[0][0], 100.0f);
        EXPECT_FLOAT_EQ(out.outputAngles[0][0], 90.0f);
        for (int k = 0; k < 4; ++k) {
            const int ch = 4 + k;
            EXPECT_FLOAT_EQ(out.outputRanges[ch][0], c.ranges[k]) << int(c.powerAmpType) << " ch " << ch;
            EXPECT_FLOAT_EQ(out.outputAngles[ch][0], c.angles[k]) << int(c.powerAmpType) << " ch " << ch;
            EXPECT_FLOAT_EQ(out.currentOutputRanges[ch][0], c.current[k]) << int(c.powerAmpType) << " ch " << ch;
            EXPECT_EQ(out.outputFrequencies[ch][0], 0.0f);
            for (int m = 1; m < 4; ++m)
                EXPECT_EQ(out.outputRanges[ch][m], 0.0f);
        }
        EXPECT_DOUBLE_EQ(e.maxOutputCurrent(), c.maxCurrent);
        EXPECT_EQ(out.outputTime, 36000.0f);
        EXPECT_EQ(out.outputTriggerType, COMM_TRIGGER_TYPE_TIME_BINARY);
    }
}

TEST(DirectEntity, DigitalAmplifierFollowsTheRampedIA)
{
    DriverRecords records;
    records.hard.powerAmpType = 1;
    ModelDirectEntity e;
    e.autoRampEnabled = true;
    e.faultActionPort = RAMP_PORT_TYPE_IA;
    e.faultActionItem = RAMP_ITEM_TYPE_RANGE;
    e.actionRampFactor = 1;
    e.actionRampStep = -0.5;    // magnitude used
    e.endRampValue = 2.0;
    e.outputRanges[4] = 1.0;
    e.switchToResetState();
    EXPECT_EQ(e.stateCount, 5);
    e.updateToDriverStateCount();
    EXPECT_EQ(records.output.outputStateCount, 6u);
    std::vector<float> ia, ic, icCurrent;
    e.updateToDriverValue();
    while (e.switchToNextState()) {
        e.updateToDriverValue();
        ia.push_back(records.output.outputRanges[4][0]);
        ic.push_back(records.output.outputRanges[6][0]);
        icCurrent.push_back(records.output.currentOutputRanges[6][0]);
    }
    EXPECT_EQ(ia, (std::vector<float>{1.5f, 2.0f, 2.0f}));
    EXPECT_EQ(ic, ia);
    EXPECT_EQ(icCurrent, (std::vector<float>{1.0f, 1.5f, 2.0f}));
}

TEST(DirectEntity, OnlyTheAmplitudeRamps)
{
    DriverRecords records;
    ModelDirectEntity e;
    e.autoRampEnabled = true;
    e.faultActionPort = RAMP_PORT_TYPE_UA;
    e.faultActionItem = RAMP_ITEM_TYPE_ANGLE;
    e.actionRampFactor = 1;
    e.actionRampStep = 2.0;
    e.endRampValue = -10.0;
    e.outputRanges[0] = 5.0;
    e.beginRampValue[0] = 42.0;
    e.switchToResetState();
    EXPECT_EQ(e.stateCount, 8);                 // |(-10 - 0) / 2| + 3: begins at 0
    EXPECT_DOUBLE_EQ(e.beginRampValue[0], 42.0);
    ASSERT_TRUE(e.switchToNextState());
    EXPECT_TRUE(e.lastStep);
    ASSERT_TRUE(e.switchToNextState());
    EXPECT_FALSE(e.switchToNextState());
    EXPECT_DOUBLE_EQ(e.outputRanges[0], 5.0);

    // A trip stores its time and input, but no values for another item.
    e.resetActionValues();
    EXPECT_EQ(e.updateFromDriverAction(0x8001, 0x1, 0, 0.4f), 0);
    EXPECT_EQ(e.faultActionBiIndex, 0);
    EXPECT_DOUBLE_EQ(e.faultActionTimes[0], double(0.4f));
    EXPECT_EQ(e.faultActionValues[0].portCnt, 0);
    EXPECT_TRUE(std::isnan(e.faultActionValues[0].actionVal[0]));

    e.faultActionItem = RAMP_ITEM_TYPE_RANGE;
    e.faultActionPort = RAMP_PORT_TYPE_UAUBUC;
    e.outputRanges[1] = 6.0;
    e.outputRanges[2] = 7.0;
    EXPECT_EQ(e.updateFromDriverAction(0x8001, 0x1 << 4, 2, 0.5f), 0);
    ASSERT_EQ(e.faultActionValues[2].portCnt, 3);
    EXPECT_DOUBLE_EQ(e.faultActionValues[2].actionVal[2], 7.0);
}

TEST(DirectEntity, StartChecks)
{
    DriverRecords records;
    ModelDirectEntity e;
    e.outputAngles[3] = nan();          // not sent: harmless
    e.outputFrequencies[3] = kInf;
    EXPECT_TRUE(e.checkOutputValues());
    e.outputRanges[3] = nan();
    EXPECT_FALSE(e.checkOutputValues());
    e.outputRanges[3] = 1.0;
    e.autoRampEnabled = true;
    e.actionRampStep = 1e-9;
    e.endRampValue = 1.0;
    e.switchToResetState();
    EXPECT_FALSE(e.checkOutputValues());
    EXPECT_GT(e.stateCount, ModelDirectEntity::kMaxStateCount);
    e.actionRampStep = 0.0;
    e.switchToResetState();
    EXPECT_EQ(e.stateCount, 32);
    EXPECT_TRUE(e.checkOutputValues());
}
