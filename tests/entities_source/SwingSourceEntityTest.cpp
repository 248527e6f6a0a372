#include "EntityTestSupport.h"
#include "ModelOscillateEntity.h"
#include "ModelStdSourceEntity.h"

#include <QMutexLocker>

#include <algorithm>
#include <vector>

using namespace entitytest;
using namespace ModelEntity;

TEST(OscillateEntity, SwingAndSteadyComponents)
{
    struct Case {
        RampPortType port;
        std::vector<int> swinging;
    } cases[] = {
        {RAMP_PORT_TYPE_IBIC, {5, 6}},
        {RAMP_PORT_TYPE_IX, {7}},
        {RAMP_PORT_TYPE_UX, {3}},
        {RAMP_PORT_TYPE_UAUBUC, {0, 1, 2}},
        {RampPortType(16), {}},
    };
    for (const Case& c : cases) {
        DriverRecords records;
        records.soil();
        ModelOscillateEntity e;
        for (int ch = 0; ch < 8; ++ch) {
            e.outputRanges[ch] = 1.0;
            e.outputAngles[ch] = -120.0 * ch;
            e.outputFrequencies[ch] = 50.0;
        }
        e.oscillatePort = c.port;
        e.oscillatePercent = 0.2;
        e.oscillateAngle = -90.0;
        e.oscillateFrequency = 1.5;
        e.resetActionValues();
        e.switchToResetState();
        ASSERT_TRUE(e.checkOutputValues());
        e.updateToDriverValue();
        e.updateToDriverStateCount();

        const CommDriverTestOutputData& out = records.output;
        for (int ch = 0; ch < 8; ++ch) {
            const bool swings = std::find(c.swinging.begin(), c.swinging.end(), ch) != c.swinging.end();
            EXPECT_FLOAT_EQ(out.outputRanges[ch][0], swings ? 0.2f : 0.0f) << ch;
            EXPECT_FLOAT_EQ(out.outputAngles[ch][0], swings ? 270.0f : 0.0f) << ch;
            EXPECT_FLOAT_EQ(out.outputFrequencies[ch][0], swings ? 1.5f : 0.0f) << ch;
            EXPECT_FLOAT_EQ(out.currentOutputRanges[ch][0], swings ? 0.2f : 0.0f) << ch;
            EXPECT_FLOAT_EQ(out.outputRanges[ch][1], 1.0f) << ch;
            EXPECT_FLOAT_EQ(out.currentOutputRanges[ch][1], 1.0f) << ch;
            EXPECT_NEAR(out.outputAngles[ch][1], std::fmod(-120.0 * ch + 3600.0, 360.0), 1e-4) << ch;
            EXPECT_FLOAT_EQ(out.outputFrequencies[ch][1], 50.0f) << ch;
            EXPECT_EQ(out.outputRanges[ch][2], 0.0f) << ch;
            EXPECT_EQ(out.outputRanges[ch][3], 0.0f) << ch;
        }
        const bool currentSwings = c.port == RAMP_PORT_TYPE_IBIC || c.port == RAMP_PORT_TYPE_IX;
        EXPECT_DOUBLE_EQ(e.maxOutputCurrent(), currentSwings ? 1.2 : 1.0);
        EXPECT_EQ(records.control.controlOscillateEnable, 1);
        EXPECT_EQ(out.outputStateCount, 1u);
        EXPECT_EQ(out.outputTriggerType, COMM_TRIGGER_TYPE_TIME_BINARY);
        EXPECT_EQ(out.outputTime, 36000.0f);
    }
}

TEST(OscillateEntity, OnlyCompleteNewReportsAreRecorded)
{
    DriverRecords records;
    ModelOscillateEntity e;
    e.oscillatePort = RAMP_PORT_TYPE_IBIC;
    e.oscillatePercent = 0.2;
    e.outputRanges[5] = 1.0;
    e.outputRanges[6] = 1.0;
    e.resetActionValues();
    struct Report {
        int state, flag, index;
        float time;
        int result;
    } reports[] = {
        {0x0001, 0x1, 0, 0.5f, -1},              // not complete
        {0x8001, 0x1, 0, 0.0f, -1},
        {0x8001, 0x7FFFFFFF, 200, 0.5f, -1},    // no such input
        {0x8001, 0x1, -1, 0.5f, -1},
        {0x8001, 0x1, 0, 0.5f, 0},
        {0x8001, 0x1, 0, 0.6f, -1},              // same change code
        {0x8001, 0x2, 0, 0.5f, -1},              // same time
        {0x8001, 0x2 << 2, 1, 0.7f, 0},
    };
    for (const Report& r : reports)
        EXPECT_EQ(e.updateFromDriverAction(r.state, r.flag, r.index, r.time), r.result)
            << r.index << " " << r.time;
    EXPECT_DOUBLE_EQ(e.faultActionTimes[0], double(0.7f));
    EXPECT_EQ(e.faultActionStates[0], 2);
    ASSERT_EQ(e.faultActionValues[0].portCnt, 2);
    EXPECT_DOUBLE_EQ(e.faultActionValues[0].actionVal[0], 1.2);
    EXPECT_DOUBLE_EQ(e.faultActionValues[0].actionVal[1], 1.2);

    e.lastState = true;
    e.switchToResetState();
    EXPECT_FALSE(e.lastState);
    e.resetActionValues();
    EXPECT_TRUE(std::isnan(e.faultActionTimes[0]));
    EXPECT_EQ(e.faultActionStates[0], -1);
}

TEST(OscillateEntity, NonFiniteSwingFailsTheStart)
{
    DriverRecords records;
    for (double ModelOscillateEntity::*field :
         {&ModelOscillateEntity::oscillateAngle, &ModelOscillateEntity::oscillatePercent,
          &ModelOscillateEntity::oscillateFrequency}) {
        ModelOscillateEntity e;
        e.outputRanges[0] = 10.0;
        e.*field = kInf;
        EXPECT_FALSE(e.checkOutputValues());
        e.updateToDriverValue();
        expectSaneRecord(records.output);
    }
    ModelOscillateEntity e;
    e.oscillateAngle = -1e18;   // huge but finite: folded at once
    EXPECT_TRUE(e.checkOutputValues());
    e.updateToDriverValue();
    expectSaneRecord(records.output);
    // A swing at 0 Hz would play a DC offset.
    e.oscillatePercent = 0.1;
    EXPECT_FALSE(e.checkOutputValues());
    e.oscillateFrequency = 5.0;
    EXPECT_TRUE(e.checkOutputValues());
}

TEST(StdSourceEntity, EditsReachTheRecord)
{
    DriverRecords records;
    records.soil();
    records.status.statusTestStateIndex = 0x8003;
    records.status.statusBIStateAction = 1;
    ModelStdSourceEntity e;
    for (int c = 0; c < 8; ++c) {
        e.outputRanges[c] = c < 4 ? 57.735 : 5.0;
        e.outputAngles[c] = -120.0 * (c % 4);
        e.outputFrequencies[c] = 50.0;
    }
    e.switchToResetState();
    EXPECT_EQ(records.status.statusTestStateIndex, 0);
    EXPECT_EQ(records.status.statusBIStateAction, 0);
    ASSERT_TRUE(e.checkOutputValues());
    e.updateToDriverValue();
    e.updateToDriverStateCount();
    const CommDriverTestOutputData& out = records.output;
    const float expectedAngles[4] = {0.0f, 240.0f, 120.0f, 0.0f};
    for (int c = 0; c < 8; ++c) {
        EXPECT_FLOAT_EQ(out.outputAngles[c][0], expectedAngles[c % 4]) << c;
        EXPECT_FLOAT_EQ(out.outputFrequencies[c][0], 50.0f);
        for (int k = 1; k < 4; ++k)
            EXPECT_EQ(out.outputRanges[c][k], 0.0f);
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(out.outputBIRiseEnables[i], 0u);
        EXPECT_EQ(out.outputBIFallEnables[i], 0u);
        EXPECT_EQ(out.outputBOHoldEnables[i], 0u);
    }
    EXPECT_EQ(out.outputTriggerType, COMM_TRIGGER_TYPE_TIME);
    EXPECT_EQ(out.outputStateCount, 2u);
    EXPECT_DOUBLE_EQ(e.maxOutputCurrent(), 5.0);

    // An edit while running: written and clamped under the lock, then encoded.
    {
        QMutexLocker locker(&e.entityLock);
        e.outputRanges[1] = 400.0;
        e.outputRanges[6] = 12.5;
        e.outputAngles[6] = 725.0;
        e.formatLimitValue(300.0, 10.0);
    }
    ASSERT_TRUE(e.checkOutputValues());
    e.updateToDriverValue();
    EXPECT_FLOAT_EQ(out.outputRanges[1][0], 300.0f);
    EXPECT_FLOAT_EQ(out.outputRanges[6][0], 10.0f);
    EXPECT_FLOAT_EQ(out.currentOutputRanges[6][0], 10.0f);
    EXPECT_FLOAT_EQ(out.outputAngles[6][0], 5.0f);
    EXPECT_DOUBLE_EQ(e.maxOutputCurrent(), 10.0);

    e.outputFrequencies[2] = nan();
    EXPECT_FALSE(e.checkOutputValues());
    e.updateToDriverValue();
    expectSaneRecord(out);
}
