#include "EntityTestSupport.h"
#include "ModelAlternateEntity.h"

#include <QMutexLocker>

#include <atomic>
#include <thread>
#include <vector>

using namespace entitytest;
using namespace ModelEntity;

namespace {

// The testor's start of an automatic ramp, then its switches until the
// entity has no state left; the amplitude of `channel` in every page sent.
std::vector<float> runRamp(ModelAlternateEntity& entity, DriverRecords& records, int channel)
{
    std::vector<float> pages;
    entity.switchToResetState();
    entity.resetActionValues();
    entity.updateToDriverValue();
    pages.push_back(records.output.outputRanges[channel][0]);
    entity.updateToDriverStateCount();
    while (entity.switchToNextState() && pages.size() < 100000) {
        entity.updateToDriverValue();
        entity.resetActionValues();
        pages.push_back(records.output.outputRanges[channel][0]);
    }
    return pages;
}

void setRamp(ModelAlternateEntity& e, RampPortType port, double begin, double end, double step, int factor)
{
    e.autoRampEnabled = true;
    e.faultActionPort = port;
    e.faultActionItem = RAMP_ITEM_TYPE_RANGE;
    int channels[3];
    for (int k = 0, n = rampPortChannels(port, channels); k < n; ++k)
        e.outputRanges[channels[k]] = begin;
    e.endRampValue = end;
    e.actionRampStep = step;
    e.actionRampFactor = factor;
    e.actionRampTime = 0.5;
}

}   // namespace

TEST(AlternateEntity, SteadyOutputEncodesComponentZeroOnly)
{
    DriverRecords records;
    records.soil();
    ModelAlternateEntity e;
    for (int c = 0; c < 8; ++c) {
        e.outputRanges[c] = 1.0 + c;
        e.outputAngles[c] = 10.0 * c;
        e.outputFrequencies[c] = 50.0;
    }
    e.stateOutputBIStates[0] = 1;
    e.stateOutputBIStates[1] = 2;
    e.stateOutputBIStates[2] = 3;
    e.stateOutputBOStates[3] = 1;
    e.stateBILogicTypes = AO_BILOGIC_TYPE_AND;

    e.switchToResetState();
    e.resetActionValues();
    ASSERT_TRUE(e.checkOutputValues());
    e.updateToDriverValue();

    const CommDriverTestOutputData& out = records.output;
    for (int c = 0; c < 8; ++c) {
        EXPECT_FLOAT_EQ(out.outputRanges[c][0], 1.0f + c);
        EXPECT_FLOAT_EQ(out.outputAngles[c][0], 10.0f * c);
        EXPECT_FLOAT_EQ(out.outputFrequencies[c][0], 50.0f);
        EXPECT_FLOAT_EQ(out.currentOutputRanges[c][0], 1.0f + c);
        for (int k = 1; k < 4; ++k) {
            EXPECT_EQ(out.outputRanges[c][k], 0.0f);
            EXPECT_EQ(out.outputAngles[c][k], 0.0f);
            EXPECT_EQ(out.outputFrequencies[c][k], 0.0f);
        }
    }
    EXPECT_EQ(out.outputTime, 36000.0f);
    EXPECT_EQ(out.outputTriggerType, COMM_TRIGGER_TYPE_TIME_BINARY);
    EXPECT_EQ(out.outputLinkStateType, quint32(COMM_LINKSTATE_TYPE_INITIATE));
    EXPECT_EQ(out.outputBOControlType, 1u);
    EXPECT_EQ(out.outputBILogic, 1u);
    const quint32 rise[4] = {1, 0, 1, 0};
    const quint32 fall[4] = {0, 1, 1, 0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(out.outputBIRiseEnables[i], rise[i]) << i;
        EXPECT_EQ(out.outputBIFallEnables[i], fall[i]) << i;
        EXPECT_EQ(out.outputBOHoldEnables[i], 1u);
        EXPECT_EQ(out.outputBOInitStates[i], i == 3 ? 1u : 0u);
    }
    // A manual one-state test sends no state count.
    EXPECT_EQ(out.outputStateCount, 0u);

    e.faultActionType = ACTION_TYPE_CONTINUE;
    e.updateToDriverValue();
    EXPECT_EQ(out.outputTriggerType, COMM_TRIGGER_TYPE_TIME);
}

TEST(AlternateEntity, AnglesAreFoldedArithmetically)
{
    DriverRecords records;
    struct Case
    {
        double angle;
        float expected;
        // clang-format off
    } cases[] = {
        {-30.0, 330.0f}, {390.0, 30.0f}, {720.0, 0.0f}, {-720.0, 0.0f}, {-1e-9, 0.0f},
        {1e300, float(std::fmod(1e300, 360.0))}, {-3600000000000.0 - 45.0, 315.0f},
    };
    // clang-format on
    ModelAlternateEntity e;
    for (const Case& c : cases) {
        e.outputAngles[0] = c.angle;
        ASSERT_TRUE(e.checkOutputValues()) << c.angle;
        e.updateToDriverValue();
        EXPECT_NEAR(records.output.outputAngles[0][0], c.expected, 1e-3) << c.angle;
        expectSaneRecord(records.output);
    }
}

TEST(AlternateEntity, NonFiniteValuesFailTheStartAndAreNeverEncoded)
{
    DriverRecords records;
    struct Case
    {
        const char* name;
        double ModelAlternateEntity::*scalar;
        double (ModelAlternateEntity::*array)[8];
        double value;
        bool rampOnly;
        // clang-format off
    } cases[] = {
        {"angle inf", nullptr, &ModelAlternateEntity::outputAngles, kInf, false},
        {"angle -inf", nullptr, &ModelAlternateEntity::outputAngles, -kInf, false},
        {"angle nan", nullptr, &ModelAlternateEntity::outputAngles, nan(), false},
        {"amplitude nan", nullptr, &ModelAlternateEntity::outputRanges, nan(), false},
        {"amplitude beyond float", nullptr, &ModelAlternateEntity::outputRanges, 1e300, false},
        {"frequency inf", nullptr, &ModelAlternateEntity::outputFrequencies, kInf, false},
        {"step nan", &ModelAlternateEntity::actionRampStep, nullptr, nan(), true},
        {"end inf", &ModelAlternateEntity::endRampValue, nullptr, kInf, true},
        {"time nan", &ModelAlternateEntity::actionRampTime, nullptr, nan(), true},
    };
    // clang-format on
    for (bool ramp : {false, true}) {
        for (const Case& c : cases) {
            ModelAlternateEntity e;
            setRamp(e, RAMP_PORT_TYPE_UA, 0.0, 10.0, 1.0, 1);
            e.autoRampEnabled = ramp;
            if (c.scalar)
                e.*(c.scalar) = c.value;
            else
                (e.*(c.array))[5] = c.value;
            e.switchToResetState();
            const bool expectOk = c.rampOnly && !ramp;
            EXPECT_EQ(e.checkOutputValues(), expectOk) << c.name << " ramp " << ramp;
            e.updateToDriverValue();
            expectSaneRecord(records.output);
            EXPECT_TRUE(std::isfinite(records.output.outputTime)) << c.name;
        }
    }
}

TEST(AlternateEntity, AutomaticRampPlaysTheEndValueTwice)
{
    DriverRecords records;
    ModelAlternateEntity e;
    setRamp(e, RAMP_PORT_TYPE_UA, 0.0, 10.0, 1.0, 1);
    const std::vector<float> pages = runRamp(e, records, AO_PORT_TYPE_UA);
    EXPECT_EQ(e.stateCount, 13);
    EXPECT_EQ(records.output.outputStateCount, 14u);
    const std::vector<float> expected = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10};
    EXPECT_EQ(pages, expected);
    EXPECT_LE(int(pages.size()), e.stateCount);
    EXPECT_TRUE(e.lastState);
    EXPECT_EQ(records.output.outputTime, 0.5f);
}

TEST(AlternateEntity, RampStepSignIsIgnored)
{
    struct Case
    {
        double begin, end, step;
        int factor;
        std::vector<float> pages;
        // clang-format off
    } cases[] = {
        {0.0, 3.0, 1.0, 1, {0, 1, 2, 3, 3}},
        {0.0, 3.0, -1.0, 1, {0, 1, 2, 3, 3}},
        {3.0, 0.0, 1.0, -1, {3, 2, 1, 0, 0}},
        {3.0, 0.0, -1.0, -1, {3, 2, 1, 0, 0}},
    };
    // clang-format on
    for (const Case& c : cases) {
        DriverRecords records;
        ModelAlternateEntity e;
        setRamp(e, RAMP_PORT_TYPE_IA, c.begin, c.end, c.step, c.factor);
        EXPECT_EQ(runRamp(e, records, AO_PORT_TYPE_IA), c.pages) << c.step << " " << c.factor;
        EXPECT_EQ(e.stateCount, 6);
    }
}

TEST(AlternateEntity, StateCountBound)
{
    struct Case
    {
        double end, step;
        qint32 count;
        bool ok;
        // clang-format off
    } cases[] = {
        {10.0, 0.0, 32, true},          // step 0: steady until stopped
        {65531.0, 1.0, 65534, true},
        {65532.0, 1.0, 65535, false},
        {1e6, 1.0, 65535, false},
        {1.0, 1e-300, 65535, false},    // would overflow a plain conversion
        {1.0, 5e-324, 65535, false},
    };
    // clang-format on
    DriverRecords records;
    for (const Case& c : cases) {
        ModelAlternateEntity e;
        setRamp(e, RAMP_PORT_TYPE_UA, 0.0, c.end, c.step, 1);
        e.switchToResetState();
        EXPECT_EQ(e.stateCount, c.count) << c.end << " " << c.step;
        EXPECT_EQ(e.checkOutputValues(), c.ok) << c.end << " " << c.step;
        e.updateToDriverStateCount();
        EXPECT_LE(records.output.outputStateCount, 65535u);
    }
}

TEST(AlternateEntity, GroupRampStartsFromTheGroupExtremeAndStepsEachChannel)
{
    DriverRecords records;
    for (int factor : {1, -1}) {
        ModelAlternateEntity e;
        setRamp(e, RAMP_PORT_TYPE_UAUB, 0.0, factor == 1 ? 10.0 : 0.0, 1.0, factor);
        e.outputRanges[0] = 2.0;
        e.outputRanges[1] = 6.0;
        e.outputRanges[2] = 50.0;   // not in the group
        e.switchToResetState();
        // Rising: from the smaller (2 -> 10); falling: from the larger (6 -> 0).
        EXPECT_EQ(e.stateCount, factor == 1 ? 11 : 9);
        e.updateToDriverValue();
        ASSERT_TRUE(e.switchToNextState());
        e.updateToDriverValue();
        EXPECT_FLOAT_EQ(records.output.outputRanges[0][0], 2.0f + factor);
        EXPECT_FLOAT_EQ(records.output.outputRanges[1][0], 6.0f + factor);
        EXPECT_FLOAT_EQ(records.output.outputRanges[2][0], 50.0f);
        EXPECT_DOUBLE_EQ(e.beginRampValue[0], 2.0);
        EXPECT_DOUBLE_EQ(e.beginRampValue[1], 6.0);
    }
}

TEST(AlternateEntity, ReturnLegRampsBackAndKeepsForwardResults)
{
    DriverRecords records;
    ModelAlternateEntity e;
    setRamp(e, RAMP_PORT_TYPE_UA, 1.0, 5.0, 1.0, 1);
    e.faultActionType = ACTION_TYPE_RETURN;
    e.switchToResetState();
    e.resetActionValues();
    e.updateToDriverValue();
    ASSERT_TRUE(e.switchToNextState());   // plays 1, next 2
    ASSERT_TRUE(e.switchToNextState());   // plays 2, next 3
    ASSERT_EQ(e.updateFromDriverAction(0x8001, 0x1, 0, 0.25f), 0);
    EXPECT_EQ(e.faultActionBiIndex, 0);
    EXPECT_EQ(e.faultActionValues[0].portCnt, 1);
    EXPECT_DOUBLE_EQ(e.faultActionValues[0].actionVal[0], 2.0);
    // The run control turns the ramp round.
    e.currentRampFactor = -1;
    e.resetActionValues();
    EXPECT_EQ(e.faultActionBiIndex, 0);
    EXPECT_DOUBLE_EQ(e.faultActionTimes[0], 0.25);

    std::vector<double> played;
    while (e.switchToNextState())
        played.push_back(e.outputRanges[0]);
    EXPECT_EQ(played, (std::vector<double>{3.0, 2.0, 1.0}));
    ASSERT_EQ(e.updateFromDriverAction(0x8002, 0x1, 0, 0.75f), 0);
    EXPECT_EQ(e.faultActionReturnBiIndex, 0);
    EXPECT_DOUBLE_EQ(e.faultActionReturnTimes[0], 0.75);
    EXPECT_DOUBLE_EQ(e.faultActionReturnValues[0].actionVal[0], 1.0);
    EXPECT_DOUBLE_EQ(e.faultActionTimes[0], 0.25);
}

TEST(AlternateEntity, FourValueReportsAreJudged)
{
    DriverRecords records;
    ModelAlternateEntity e;
    e.faultActionPort = RAMP_PORT_TYPE_UCUA;
    e.faultActionItem = RAMP_ITEM_TYPE_ANGLE;
    e.outputAngles[0] = 11.0;
    e.outputAngles[2] = 33.0;
    e.resetActionValues();

    struct Report
    {
        int state, flag, index;
        float time;
        int result;
        // clang-format off
    } reports[] = {
        {0x8001, 1, 4, 0.1f, -1},          // no such input
        {0x8001, 1, -1, 0.1f, -1},
        {0x8001, 1, 1, -1.0f, -1},         // no time
        {0x8001, 1, 1, float(nan()), -1},
        {0x8001, 1 << 2, 1, 0.1f, 0},
        {0x8001, 1 << 2, 1, 0.1f, -1},     // same time again
    };
    // clang-format on
    for (const Report& r : reports)
        EXPECT_EQ(e.updateFromDriverAction(r.state, r.flag, r.index, r.time), r.result) << r.index << " " << r.time;
    EXPECT_EQ(e.faultActionBiIndex, 1);
    EXPECT_DOUBLE_EQ(e.faultActionTimes[1], double(0.1f));
    ASSERT_EQ(e.faultActionValues[1].portCnt, 2);
    EXPECT_DOUBLE_EQ(e.faultActionValues[1].actionVal[0], 33.0);   // UC first
    EXPECT_DOUBLE_EQ(e.faultActionValues[1].actionVal[1], 11.0);

    // AND logic over inputs 1 and 2: input 1 alone records nothing.
    ModelAlternateEntity a;
    a.stateBILogicTypes = AO_BILOGIC_TYPE_AND;
    a.stateOutputBIStates[0] = 1;
    a.stateOutputBIStates[1] = 1;
    a.outputRanges[0] = 4.0;
    a.resetActionValues();
    EXPECT_EQ(a.updateFromDriverAction(0x0001, 0x1, 0, 0.2f), -1);
    EXPECT_EQ(a.faultActionBiIndex, -1);
    EXPECT_TRUE(std::isnan(a.faultActionValues[0].actionVal[0]));
    EXPECT_EQ(a.updateFromDriverAction(0x0001, 0x1 | (0x2 << 2), 1, 0.3f), 0);
    EXPECT_EQ(a.faultActionBiIndex, 1);
    EXPECT_DOUBLE_EQ(a.faultActionValues[1].actionVal[0], 4.0);
}

TEST(AlternateEntity, TwoInputReportsFillTwoSlots)
{
    DriverRecords records;
    ModelAlternateEntity e;
    setRamp(e, RAMP_PORT_TYPE_UB, 0.0, 10.0, 1.0, 1);
    e.switchToResetState();
    e.resetActionValues();
    e.outputRanges[1] = 7.0;
    EXPECT_EQ(e.updateFromDriverAction(0, 0, 0.5f, 2), -1);    // no flag
    EXPECT_EQ(e.updateFromDriverAction(1, 0, 0.5f, 0), -1);    // state 0 with the ramp
    EXPECT_EQ(e.updateFromDriverAction(1, 0, 0.5f, 99), -1);   // beyond stateCount
    EXPECT_EQ(e.updateFromDriverAction(1, 0, 0.5f, 2), 0);
    EXPECT_EQ(e.updateFromDriverAction(0, 1, 0.6f, 2), -1);   // same state as slot 0
    EXPECT_EQ(e.updateFromDriverAction(0, 1, 0.7f, 3), 0);
    EXPECT_EQ(e.updateFromDriverAction(0, 1, 0.8f, 4), -1);   // both slots taken
    EXPECT_EQ(e.faultActionStates[0], 2);
    EXPECT_EQ(e.faultActionStates[1], 3);
    EXPECT_DOUBLE_EQ(e.faultActionValues[1].actionVal[0], 7.0);

    e.resetActionValues();
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(std::isnan(e.faultActionTimes[i]));
        EXPECT_EQ(e.faultActionStates[i], -1);
        EXPECT_EQ(e.faultActionValues[i].portCnt, 0);
    }
}

TEST(AlternateEntity, LimitsBinaryOutputsAndMissingRecords)
{
    ModelAlternateEntity e;
    e.outputRanges[0] = 350.0;
    e.outputRanges[3] = 120.0;
    e.outputRanges[4] = -1.0;
    e.outputRanges[7] = 25.0;
    e.outputAngles[4] = -400.0;
    e.formatLimitValue(300.0, 20.0);
    EXPECT_DOUBLE_EQ(e.outputRanges[0], 300.0);
    EXPECT_DOUBLE_EQ(e.outputRanges[3], 120.0);
    EXPECT_DOUBLE_EQ(e.outputRanges[4], 0.0);
    EXPECT_DOUBLE_EQ(e.outputRanges[7], 20.0);
    EXPECT_DOUBLE_EQ(e.outputAngles[4], -400.0);

    // No driver records yet: nothing happens.
    e.switchToResetState();
    e.updateToDriverValue();
    e.updateToDriverStateCount();
    e.updateToDriverBOStates();

    DriverRecords records;
    e.outputBOStates[0] = 0x101;
    e.outputBOStates[2] = 1;
    e.updateToDriverBOStates();
    EXPECT_EQ(records.control.controlBOStates[0], 0x01);
    EXPECT_EQ(records.control.controlBOStates[2], 0x01);
    EXPECT_EQ(records.control.controlBOStates[3], 0x00);
}

TEST(AlternateEntity, MaxOutputCurrentIgnoresRecordLeftovers)
{
    DriverRecords records;
    records.soil(50.0f);
    ModelAlternateEntity e;
    e.outputRanges[0] = 100.0;   // a voltage
    e.outputRanges[5] = 3.0;
    e.outputRanges[6] = -4.0;
    e.updateToDriverValue();
    EXPECT_DOUBLE_EQ(e.maxOutputCurrent(), 4.0);
}

// A writer holds the lock across an edit and its clamp; the encoder's fill
// takes the lock itself, so it never sees the unclamped value.
TEST(AlternateEntity, EditAndClampAreAtomicForTheEncoder)
{
    DriverRecords records;
    ModelAlternateEntity e;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 20000; ++i) {
            QMutexLocker locker(&e.entityLock);
            e.outputRanges[4] = 1000.0 + i;   // an edit above the limit...
            std::this_thread::yield();
            e.formatLimitValue(300.0, 20.0);   // ...clamped before it is released
        }
        done = true;
    });
    float worst = 0.0f;
    while (!done) {
        e.updateToDriverValue();
        worst = std::max(worst, records.output.outputRanges[4][0]);
    }
    writer.join();
    EXPECT_LE(worst, 20.0f);
}
