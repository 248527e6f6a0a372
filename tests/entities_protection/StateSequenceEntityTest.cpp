#include "EntityTestSupport.h"
#include "ModelStateSequenceEntity.h"

#include <QMutexLocker>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

using namespace entitytest;
using Seq = ModelStateSequenceEntity;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class StateSequenceEntityTest : public ::testing::Test
{
protected:
    // State s outputs UA = 10 + s volts, IA = 1 A; timed 0.5 s.
    void setStates(int count)
    {
        entity.stateCount = count;
        for (int s = 0; s < Seq::kMaxStates; ++s) {
            entity.stateOutputRanges[s][0] = 10.0 + s;
            entity.stateOutputRanges[s][4] = 1.0;
            entity.stateOutputFrequencies[s][0] = 50.0;
            entity.stateOutputTimes[s] = 0.5;
            entity.stateTriggerTypes[s] = ModelEntity::AO_TRIGGER_TYPE_TIME;
        }
    }

    // The run control's start: up to eight states preloaded, one per page.
    void start()
    {
        ring.reset();
        entity.resetActionValues();
        entity.switchToResetState();
        entity.updateToDriverStateCount();
        for (int i = 0; i < 8 && i < entity.stateCount; ++i) {
            if (i > 0) {
                entity.switchToNextState();
                ring.next();
            }
            entity.updateToDriverValue();
            ring.send();
        }
    }

    // The instrument moved on by one state: progress, then the switch.
    bool stateChange(float seconds)
    {
        entity.updateFromDriverState(seconds);
        if (entity.isLastState())
            return false;
        if (entity.switchToNextState()) {
            entity.updateToDriverValue();
            ring.next();
            ring.send();
        }
        return true;
    }

    static float pageUA(const CommDriverTestOutputData& page) { return page.outputRanges[0][0]; }

    DriverRecords records;
    PageRing ring;
    Seq entity;
};

TEST_F(StateSequenceEntityTest, PreloadsUpToEightPages)
{
    for (int count : {1, 3, 8, 12, 32}) {
        SCOPED_TRACE(count);
        setStates(count);
        ring = PageRing{};
        start();
        EXPECT_EQ(ring.sends, std::min(count, 8));
        EXPECT_EQ(records.output->outputStateCount, quint32(count));
        EXPECT_EQ(records.control->controlAutoOutputStateEnable, 1);
        for (int p = 0; p < std::min(count, 8); ++p)
            EXPECT_FLOAT_EQ(pageUA(ring.pages[p]), 10.0f + p);
    }
}

TEST_F(StateSequenceEntityTest, RefillsTheRingAsTheInstrumentMovesOn)
{
    setStates(12);
    start();
    // Each change writes the state eight ahead into the page just left.
    for (int change = 1; change <= 4; ++change) {
        ASSERT_TRUE(stateChange(0.25f * change));
        EXPECT_EQ(entity.outputRunningStateIndex, change);
        EXPECT_EQ(entity.outputSendingStateIndex, change + 7);
        EXPECT_FLOAT_EQ(pageUA(ring.pages[(change + 7) % 8]), 10.0f + change + 7);
        EXPECT_EQ(entity.stateTestStates[change], ModelEntity::AO_STATE_TYPE_RUNNNING);
        EXPECT_EQ(entity.stateTestStates[change - 1], ModelEntity::AO_STATE_TYPE_COMPLETED);
        EXPECT_DOUBLE_EQ(entity.stateTriggerTimes[change - 1], double(0.25f * change));
    }
    EXPECT_EQ(ring.sends, 12);
    // No state left to write: the ring keeps states 4..11.
    ASSERT_TRUE(stateChange(0.1f));
    EXPECT_EQ(ring.sends, 12);
    for (int p = 0; p < 8; ++p)
        EXPECT_FLOAT_EQ(pageUA(ring.pages[p]), 10.0f + (p < 4 ? p + 8 : p));

    // The last change completes the last state and runs none.
    while (entity.outputRunningStateIndex < 12)
        stateChange(0.3f);
    EXPECT_EQ(entity.stateTestStates[11], ModelEntity::AO_STATE_TYPE_COMPLETED);
    EXPECT_DOUBLE_EQ(entity.stateTriggerTimes[11], double(0.3f));
    EXPECT_FALSE(entity.switchToNextState());

    // The instrument's last-state bit ends the switching.
    records.status->statusTestStateIndex = 0x8003;
    EXPECT_TRUE(entity.isLastState());
    records.status->statusTestStateIndex = 0x0003;
    EXPECT_FALSE(entity.isLastState());
}

TEST_F(StateSequenceEntityTest, CreditsActionsToTheStateOnTheReportedPage)
{
    setStates(12);
    entity.stateTriggerTypes[8] = ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY;
    struct Case {
        int running;
        int page;
        int expectedState;   // -1: ignored
    };
    const Case cases[] = {
        {0, 0, 0},
        {7, 0, 8},    // the instrument is on page 0 before the cursor moved off 7
        {9, 2, 10},
        {8, 7, 7},    // an action of the page just left
        {9, 1, 9},
        {0, 7, -1},   // before the first state
        {11, 4, -1},  // state 12 does not exist
        {3, 255, -1}, // no action page since the reset
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "running " << c.running << " page " << c.page);
        entity.resetActionValues();
        entity.outputRunningStateIndex = c.running;
        records.status->statusTestActionStateIndex = quint8(c.page);
        const int result = entity.updateFromDriverAction(0x04, 1, 0.125f);
        if (c.expectedState < 0) {
            EXPECT_EQ(result, -1);
            EXPECT_EQ(entity.lastActionStateIndex, -1);
            continue;
        }
        ASSERT_EQ(result, 0);
        EXPECT_EQ(entity.lastActionStateIndex, c.expectedState);
        EXPECT_DOUBLE_EQ(entity.stateActionTimes[c.expectedState][1], 0.125);
        EXPECT_EQ(entity.stateActionBIStates[c.expectedState][1], 1);
        for (int s = 0; s < 12; ++s)
            if (s != c.expectedState) {
                EXPECT_TRUE(std::isnan(entity.stateActionTimes[s][1]));
            }
    }
    // The trigger that decides whether the action ends the state is the
    // credited state's, not the page number's.
    entity.outputRunningStateIndex = 7;
    records.status->statusTestActionStateIndex = 0;
    ASSERT_EQ(entity.updateFromDriverAction(0x01, 0, 0.2f), 0);
    EXPECT_EQ(entity.getTriggerType(entity.lastActionStateIndex), ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY);
    EXPECT_EQ(entity.getTriggerType(-1), ModelEntity::AO_TRIGGER_TYPE_TIME);
    EXPECT_EQ(entity.getTriggerType(Seq::kMaxStates), ModelEntity::AO_TRIGGER_TYPE_TIME);

    // Inputs outside 0..3 are never recorded.
    EXPECT_EQ(entity.updateFromDriverAction(0xFF, 4, 0.2f), -1);
    EXPECT_EQ(entity.updateFromDriverAction(0xFF, -1, 0.2f), -1);
}

TEST_F(StateSequenceEntityTest, TwoInputReportFillsOnceThenOnlyChanges)
{
    setStates(3);
    entity.resetActionValues();
    EXPECT_EQ(entity.updateFromDriverAction(1, 0, 0.1f, 2, 1, 0), 0);
    EXPECT_DOUBLE_EQ(entity.stateActionTimes[1][0], double(0.1f));
    EXPECT_EQ(entity.stateActionBIStates[1][0], 1);
    EXPECT_TRUE(std::isnan(entity.stateActionTimes[1][1]));
    EXPECT_EQ(entity.updateFromDriverAction(1, 0, 0.1f, 2, 1, 0), -1);
    EXPECT_EQ(entity.updateFromDriverAction(0, 1, 0.3f, 2, 0, 2), 0);
    EXPECT_EQ(entity.stateActionBIStates[1][1], 2);
    // State numbers count from 1 and stop at stateCount (and the array).
    EXPECT_EQ(entity.updateFromDriverAction(1, 1, 0.1f, 0, 1, 1), -1);
    EXPECT_EQ(entity.updateFromDriverAction(1, 1, 0.1f, 4, 1, 1), -1);
    entity.stateCount = 40;
    EXPECT_EQ(entity.updateFromDriverAction(1, 1, 0.1f, 33, 1, 1), -1);
}

TEST_F(StateSequenceEntityTest, EncodesTriggerTimeBinarySettingsAndFoldedAngles)
{
    setStates(4);
    struct Case {
        ModelEntity::AOTriggerType trigger;
        double time;
        float sent;
    };
    const Case cases[] = {
        {ModelEntity::AO_TRIGGER_TYPE_TIME, 1.0, 1.0f},
        {ModelEntity::AO_TRIGGER_TYPE_BINARY, 2.5, 36000.0f},
        {ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY, 2.5, 2.5f},
        {ModelEntity::AO_TRIGGER_TYPE_KEY_PRESS, 2.5, 36000.0f},
    };
    for (int s = 0; s < 4; ++s) {
        entity.stateTriggerTypes[s] = cases[s].trigger;
        entity.stateOutputTimes[s] = cases[s].time;
    }
    entity.stateOutputAngles[2][0] = 725.0;
    entity.stateOutputAngles[2][1] = -30.0;
    entity.stateOutputAngles[2][2] = 1e300;   // folded arithmetically, no loop
    entity.stateOutputAngles[2][4] = -1e-20;  // would round to 360 in float
    entity.stateOutputBIStates[2][0] = 1;
    entity.stateOutputBIStates[2][3] = 3;
    entity.stateOutputBOStates[2][1] = 1;
    entity.stateBILogicTypes[2] = ModelEntity::AO_BILOGIC_TYPE_AND;
    entity.stateOutputLinkTypes[2] = ModelEntity::AO_LINKSTATE_TYPE_CONTINUE;
    start();
    for (int s = 0; s < 4; ++s) {
        EXPECT_EQ(ring.pages[s].outputTriggerType, quint16(cases[s].trigger));
        EXPECT_FLOAT_EQ(ring.pages[s].outputTime, cases[s].sent);
    }
    const CommDriverTestOutputData& page = ring.pages[2];
    EXPECT_FLOAT_EQ(page.outputAngles[0][0], 5.0f);
    EXPECT_FLOAT_EQ(page.outputAngles[1][0], 330.0f);
    EXPECT_GE(page.outputAngles[2][0], 0.0f);
    EXPECT_LT(page.outputAngles[2][0], 360.0f);
    EXPECT_LT(page.outputAngles[4][0], 360.0f);
    EXPECT_EQ(page.outputBIRiseEnables[0], 1u);
    EXPECT_EQ(page.outputBIFallEnables[0], 0u);
    EXPECT_EQ(page.outputBIRiseEnables[3], 1u);
    EXPECT_EQ(page.outputBIFallEnables[3], 1u);
    EXPECT_EQ(page.outputBOInitStates[1], 1u);
    EXPECT_EQ(page.outputBILogic, 1u);
    EXPECT_EQ(page.outputLinkStateType, 0u);
    // The running state's amplitudes go to the current maximum.
    EXPECT_FLOAT_EQ(page.currentOutputRanges[0][0], 10.0f);
}

TEST_F(StateSequenceEntityTest, StartCheckRefusesWhatMustNotReachTheOutputs)
{
    setStates(3);
    EXPECT_TRUE(entity.checkOutputValues());
    struct Case {
        const char* name;
        void (*spoil)(Seq&);
    };
    const Case cases[] = {
        {"no state", [](Seq& e) { e.stateCount = 0; }},
        {"more than 32", [](Seq& e) { e.stateCount = 33; }},
        {"NaN angle", [](Seq& e) { e.stateOutputAngles[2][5] = kNaN; }},
        {"infinite amplitude", [](Seq& e) { e.stateOutputRanges[1][0] = HUGE_VAL; }},
        {"NaN frequency", [](Seq& e) { e.stateOutputFrequencies[0][7] = kNaN; }},
        {"infinite time", [](Seq& e) { e.stateOutputTimes[1] = HUGE_VAL; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Seq spoilt;
        spoilt.stateCount = 3;
        c.spoil(spoilt);
        EXPECT_FALSE(spoilt.checkOutputValues());
    }
    // A state beyond stateCount, or an unsent time, does not matter.
    entity.stateOutputAngles[3][0] = kNaN;
    entity.stateTriggerTypes[1] = ModelEntity::AO_TRIGGER_TYPE_BINARY;
    entity.stateOutputTimes[1] = kNaN;
    EXPECT_TRUE(entity.checkOutputValues());
    // The encoder never writes a non-finite value.
    entity.stateOutputAngles[0][0] = kNaN;
    start();
    EXPECT_EQ(ring.pages[0].outputAngles[0][0], 0.0f);
}

TEST_F(StateSequenceEntityTest, CloseDefineTakesTheFaultedPhase)
{
    setStates(2);
    entity.stateOutputRanges[1][4] = 5.0;
    entity.stateOutputAngles[1][4] = -60.0;
    entity.stateOutputRanges[1][0] = 57.7;
    entity.stateOutputAngles[1][0] = 0.0;
    entity.stateOutputRanges[1][1] = 57.7;
    entity.stateOutputAngles[1][1] = 240.0;
    entity.stateCloseDefine[1].decayEnable = true;
    entity.stateCloseDefine[1].linkphaseType = Seq::CLOSE_LINKPHASE_TYPE_UA;
    entity.updateToDriverCloseDefine(1);
    EXPECT_TRUE(records.output->decayDefine.decayEnable);
    EXPECT_FLOAT_EQ(records.output->decayDefine.faultRange, 5.0f);
    EXPECT_FLOAT_EQ(records.output->decayDefine.faultAngle, -60.0f);
    // UA - UB of a balanced pair leads UA by 30 degrees.
    entity.stateCloseDefine[1].linkphaseType = Seq::CLOSE_LINKPHASE_TYPE_UAB;
    entity.updateToDriverCloseDefine(1);
    EXPECT_NEAR(records.output->decayDefine.faultAngle, -90.0f, 1e-3);
    // Unknown link or index: nothing indexed out of range.
    entity.stateCloseDefine[1].linkphaseType = Seq::CloseLinkPhaseType(7);
    entity.updateToDriverCloseDefine(1);
    EXPECT_EQ(records.output->decayDefine.faultRange, 0.0f);
    entity.updateToDriverCloseDefine(32);
    entity.updateToDriverCloseDefine(-1);
}

TEST_F(StateSequenceEntityTest, WriterHoldsTheLockAcrossEditAndClamp)
{
    setStates(1);
    entity.resetActionValues();
    entity.switchToResetState();
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (int i = 0; i < 20000; ++i) {
            QMutexLocker locker(&entity.entityLock);
            entity.stateOutputRanges[0][0] = 500.0;   // an edit above the limit...
            entity.formatLimitValue(300.0, 10.0);     // ...clamped before it is released
        }
        stop = true;
    });
    float largest = 0.0f;
    while (!stop) {
        entity.updateToDriverValue();
        largest = std::max(largest, records.output->outputRanges[0][0]);
    }
    writer.join();
    EXPECT_LE(largest, 300.0f);

    // Recursive: an operation may be called with the lock held.
    QMutexLocker locker(&entity.entityLock);
    EXPECT_TRUE(entity.checkOutputValues());
}

TEST_F(StateSequenceEntityTest, NothingIsWrittenWithoutDriverRecords)
{
    setStates(2);
    NoDriverRecords none;
    entity.resetActionValues();
    entity.switchToResetState();
    entity.updateToDriverStateCount();
    entity.updateToDriverValue();
    entity.updateToDriverBOStates();
    EXPECT_FALSE(entity.isLastState());
    EXPECT_EQ(entity.updateFromDriverAction(1, 0, 0.1f), -1);
    EXPECT_TRUE(std::isnan(entity.stateTriggerTimes[0]));
}

} // namespace
