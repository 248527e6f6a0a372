#include "EntityTestSupport.h"
#include "ModelRampingEntity.h"

#include <cmath>
#include <limits>
#include <vector>

using namespace entitytest;
using Ramp = ModelRampingEntity;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int UA = 0, UX = 3, IA = 4;

class RampingEntityTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        entity.maxVoltage = 300.0;
        entity.maxCurrent = 20.0;
        for (int s = 0; s < Ramp::kMaxStates; ++s) {
            entity.stateOutputRanges[s][UA] = 57.7;
            entity.stateOutputFrequencies[s][UA] = 50.0;
            entity.stateOutputTimes[s] = 0.5;
        }
    }

    // Slot `slot` of `state` ramps `port`'s `item` from begin to end by step;
    // the state starts at the begin value and watches binary input 1.
    void ramp(int state, int slot, ModelEntity::RampPortType port, ModelEntity::RampItemType item, double begin,
              double end, double step)
    {
        entity.rampPorts[state][slot] = port;
        entity.rampItems[state][slot] = item;
        entity.rampBeginValues[state][slot] = begin;
        entity.rampEndValues[state][slot] = end;
        entity.rampStepValues[state][slot] = step;
        entity.stateOutputBIStates[state][0] = 1;
        entity.stateTriggerTypes[state] = ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY;
    }

    void send()
    {
        ring.send();
        sent.push_back(*records.output);
    }

    void start()
    {
        entity.resetActionValues();
        entity.switchToResetState();
        entity.updateToDriverStateCount();
        entity.updateToDriverValue();
        send();
        if (entity.switchToNextState()) {
            entity.updateToDriverValue();
            ring.next();
            send();
        }
    }

    bool writeNext()
    {
        if (!entity.switchToNextState())
            return false;
        entity.updateToDriverValue();
        ring.next();
        send();
        return true;
    }

    // The instrument finished a page: progress, then the run control's switch.
    bool pageDone()
    {
        entity.updateFromDriverState();
        if (!writeNext())
            return false;
        if (records.status->statusBIStateAction == 1) {
            records.status->statusBIStateAction = 0;
            writeNext();
        }
        return true;
    }

    // A binary-input trip as the run control records it.
    int trip(int input, float time)
    {
        const int result = entity.updateFromDriverAction(0x8000, 1 << (2 * input), input, time);
        if (result == 0) {
            entity.lastStep = true;
            records.status->statusBIStateAction = 1;
        }
        return result;
    }

    float sentIA(size_t i) const { return sent.at(i).outputRanges[IA][0]; }

    DriverRecords records;
    PageRing ring;
    std::vector<CommDriverTestOutputData> sent;
    Ramp entity;
};

TEST_F(RampingEntityTest, PickUpSearchRecordsTheTripValueAndForcesTheIntervalState)
{
    // Item 1: IA 1.0 -> 2.0 A by 0.25; item 2: UA angle 0 -> 30 by 10 degrees.
    entity.stateCount = 6;
    entity.stateOutputRanges[0][IA] = 0.5;
    entity.stateOutputRanges[1][IA] = 1.0;
    ramp(1, 0, ModelEntity::RAMP_PORT_TYPE_IA, ModelEntity::RAMP_ITEM_TYPE_RANGE, 1.0, 2.0, 0.25);
    entity.stateOutputRanges[2][IA] = 0.0;
    ramp(4, 0, ModelEntity::RAMP_PORT_TYPE_UA, ModelEntity::RAMP_ITEM_TYPE_ANGLE, 0.0, 30.0, 10.0);

    start();
    EXPECT_EQ(entity.pointCount, 4 + 3 + 2 * 6);
    EXPECT_EQ(records.output->outputStateCount, 20u);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_FLOAT_EQ(sentIA(0), 0.5f);
    EXPECT_FLOAT_EQ(sentIA(1), 1.0f);
    EXPECT_FLOAT_EQ(sent[1].currentOutputRanges[IA][0], 0.5f);
    EXPECT_EQ(sent[1].outputBIRiseEnables[0], 1u);
    EXPECT_EQ(sent[1].outputTriggerType, quint16(ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY));

    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(pageDone());
    EXPECT_FLOAT_EQ(sentIA(2), 1.25f);
    EXPECT_FLOAT_EQ(sentIA(4), 1.75f);
    EXPECT_EQ(entity.stateTestStates[0], ModelEntity::AO_STATE_TYPE_RUNNNING);
    EXPECT_EQ(entity.stateTestStates[1], ModelEntity::AO_STATE_TYPE_RUNNNING);

    // The instrument plays 1.5 A (1.75 A is queued) when input 1 trips.
    ASSERT_EQ(trip(0, 0.042f), 0);
    EXPECT_DOUBLE_EQ(entity.stateActionTimes[1][0], double(0.042f));
    EXPECT_EQ(entity.stateActionBIStates[1][0], 1);
    EXPECT_EQ(entity.stateActionValue[1][0].portCnt, 1);
    EXPECT_DOUBLE_EQ(entity.stateActionValue[1][0].actionVal[0], 1.5);

    // The trip ends the ramp: the interval state follows at once, then the
    // second item's normal state.
    ASSERT_TRUE(pageDone());
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_FLOAT_EQ(sentIA(5), 0.0f);
    // It watches both edges of the ramp's input, to its time.
    EXPECT_EQ(sent[5].outputBIFallEnables[0], 1u);
    EXPECT_EQ(sent[5].outputTriggerType, quint16(ModelEntity::AO_TRIGGER_TYPE_TIME));
    EXPECT_EQ(entity.outputSendingStateIndex, 3);

    // Item 2 runs to its end untripped: 0, 10, 20, 30 degrees.
    std::vector<float> angles;
    while (pageDone())
        angles.push_back(sent.back().outputAngles[UA][0]);
    const std::vector<float> expected = {0.0f, 10.0f, 20.0f, 30.0f, 0.0f, 0.0f};
    EXPECT_EQ(angles, expected); // ..., interval (angle 0), closing page repeating it
    EXPECT_FLOAT_EQ(sent.back().outputTime, 0.0f);
    EXPECT_EQ(entity.stateTestStates[2], ModelEntity::AO_STATE_TYPE_COMPLETED);
    EXPECT_TRUE(std::isnan(entity.stateActionTimes[4][0]));
}

TEST_F(RampingEntityTest, StepsStopExactlyAtTheEndValue)
{
    struct Case {
        const char* name;
        double begin, end, step;
        std::vector<float> pages;   // the ramp state's pages
        int steps;                  // its share of pointCount
    };
    const Case cases[] = {
        {"divides", 1.0, 2.0, 0.5, {1.0f, 1.5f, 2.0f}, 2},
        {"does not divide", 1.0, 2.0, 0.3, {1.0f, 1.3f, 1.6f, 1.9f, 2.0f}, 3},
        {"falling", 2.0, 1.0, -0.5, {2.0f, 1.5f, 1.0f}, 2},
        {"step away from the end", 1.0, 2.0, -0.5, {1.0f, 2.0f}, 2},
        {"no step", 1.0, 2.0, 0.0, {1.0f}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sent.clear();
        entity.stateCount = 2;
        entity.stateOutputRanges[1][IA] = c.begin;
        ramp(1, 0, ModelEntity::RAMP_PORT_TYPE_IA, ModelEntity::RAMP_ITEM_TYPE_RANGE, c.begin, c.end, c.step);
        start();
        EXPECT_EQ(entity.pointCount, c.steps + 4);
        while (writeNext()) {
        }
        // Page 0 is state 0; the last page is the closing one.
        std::vector<float> pages;
        for (size_t i = 1; i + 1 < sent.size(); ++i)
            pages.push_back(sentIA(i));
        EXPECT_EQ(pages, c.pages);
    }
}

TEST_F(RampingEntityTest, GroupSlotsAndFourthPhaseRamps)
{
    entity.stateCount = 1;
    // Three slots: IA..IC amplitude, UC/UA frequency, UX amplitude.
    ramp(0, 0, ModelEntity::RAMP_PORT_TYPE_IAIBIC, ModelEntity::RAMP_ITEM_TYPE_RANGE, 0.0, 1.0, 1.0);
    ramp(0, 1, ModelEntity::RAMP_PORT_TYPE_UCUA, ModelEntity::RAMP_ITEM_TYPE_FREQUENCY, 50.0, 49.0, -1.0);
    ramp(0, 2, ModelEntity::RAMP_PORT_TYPE_UX, ModelEntity::RAMP_ITEM_TYPE_RANGE, 0.0, 10.0, 5.0);
    for (int phases : {0, 1}) {
        SCOPED_TRACE(phases);
        records.hard->volPhaseType = quint8(phases);
        entity.resetActionValues();
        entity.switchToResetState();
        entity.outputSendingStateIndex = 0;
        entity.lastStep = false;
        entity.switchToNextStep();
        for (int c : {4, 5, 6})
            EXPECT_DOUBLE_EQ(entity.nextOutputRanges[c], 1.0);
        EXPECT_DOUBLE_EQ(entity.nextOutputRanges[7], 0.0);
        EXPECT_DOUBLE_EQ(entity.nextOutputFrequencies[2], 49.0);
        EXPECT_DOUBLE_EQ(entity.nextOutputFrequencies[UA], 49.0);
        EXPECT_DOUBLE_EQ(entity.nextOutputRanges[UX], phases == 1 ? 5.0 : 0.0);
        // UX is the only slot left unfinished, and only with four phases.
        EXPECT_EQ(entity.lastStep, phases != 1);
    }
    // Recorded values follow the group order: UC then UA.
    ModelEntity::faultActionValStruct value;
    const double values[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    entity.getFaultActionValue(ModelEntity::RAMP_PORT_TYPE_UCUA, values, &value);
    EXPECT_EQ(value.portCnt, 2);
    EXPECT_DOUBLE_EQ(value.actionVal[0], 3.0);
    EXPECT_DOUBLE_EQ(value.actionVal[1], 1.0);
    entity.getFaultActionValue(ModelEntity::RampPortType(15), values, &value);
    EXPECT_EQ(value.portCnt, 3);
    EXPECT_DOUBLE_EQ(entity.getOutputValue(ModelEntity::RAMP_PORT_TYPE_UCUA, values), 1.0);
    EXPECT_DOUBLE_EQ(entity.getOutputValue(ModelEntity::RAMP_PORT_TYPE_IBIC, values), 6.0);
}

TEST_F(RampingEntityTest, ProgressMarksAndWhereTripsCount)
{
    entity.stateCount = 6;
    entity.resetActionValues();
    entity.switchToResetState();
    using S = ModelEntity::AOTestStateType;
    struct Case {
        int running;
        std::vector<std::pair<int, S>> marks;
        bool perInputTrip;
    };
    const Case cases[] = {
        {1, {{0, ModelEntity::AO_STATE_TYPE_RUNNNING}, {1, ModelEntity::AO_STATE_TYPE_RUNNNING}}, true},
        {2, {{1, ModelEntity::AO_STATE_TYPE_COMPLETED}, {2, ModelEntity::AO_STATE_TYPE_COMPLETED}}, false},
        {3,
         {{1, ModelEntity::AO_STATE_TYPE_COMPLETED},
          {2, ModelEntity::AO_STATE_TYPE_COMPLETED},
          {3, ModelEntity::AO_STATE_TYPE_RUNNNING},
          {4, ModelEntity::AO_STATE_TYPE_RUNNNING}},
         false},
        {4, {{3, ModelEntity::AO_STATE_TYPE_RUNNNING}, {4, ModelEntity::AO_STATE_TYPE_RUNNNING}}, true},
        {6, {}, false},   // the closing page: no marks, no trips
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.running);
        entity.outputSendingStateIndex = c.running;
        entity.updateFromDriverState();
        EXPECT_EQ(entity.outputRunningStateIndex, c.running);
        for (const auto& [state, mark] : c.marks)
            EXPECT_EQ(entity.stateTestStates[state], mark) << "state " << state;
        EXPECT_EQ(entity.updateFromDriverAction(0x8000, 1, 0, 0.1f), c.perInputTrip ? 0 : -1);
    }
    // Without the instrument's completion bit, or for an input outside 0..3,
    // nothing is recorded.
    entity.outputSendingStateIndex = 1;
    entity.updateFromDriverState();
    EXPECT_EQ(entity.updateFromDriverAction(0x0001, 1, 0, 0.1f), -1);
    EXPECT_EQ(entity.updateFromDriverAction(0x8001, 1, 4, 0.1f), -1);

    // State-end report: state numbers from 1, values of the state's slot 0.
    ramp(2, 0, ModelEntity::RAMP_PORT_TYPE_IA, ModelEntity::RAMP_ITEM_TYPE_RANGE, 0, 1, 1);
    entity.outputRanges[IA] = 0.75;
    EXPECT_EQ(entity.updateFromDriverAction(1, 0, 0.2f, 3), 0);
    EXPECT_DOUBLE_EQ(entity.stateActionValue[2][0].actionVal[0], 0.75);
    EXPECT_EQ(entity.updateFromDriverAction(1, 0, 0.2f, 3), -1);
    EXPECT_EQ(entity.updateFromDriverAction(1, 0, 0.2f, 0), -1);
    EXPECT_EQ(entity.updateFromDriverAction(1, 0, 0.2f, 7), -1);
}

TEST_F(RampingEntityTest, RunBoundsAndTheClosingPage)
{
    // No state: nothing after the first page. One state: one closing page.
    for (int count : {0, 1}) {
        SCOPED_TRACE(count);
        entity.stateCount = count;
        entity.switchToResetState();
        EXPECT_EQ(entity.pointCount, 2 * count);
        if (count == 1) {
            EXPECT_TRUE(entity.switchToNextState());
        }
        EXPECT_FALSE(entity.switchToNextState());
    }
    // A full 97-state run's closing page takes the last state's settings.
    entity.stateCount = Ramp::kMaxStates;
    entity.stateOutputBOStates[96][2] = 1;
    entity.switchToResetState();
    int pages = 1;
    entity.updateToDriverValue();
    while (entity.switchToNextState()) {
        entity.updateToDriverValue();
        ++pages;
    }
    EXPECT_EQ(pages, Ramp::kMaxStates + 1);
    EXPECT_EQ(records.output->outputBOInitStates[2], 1u);
    EXPECT_TRUE(entity.checkOutputValues());
}

TEST_F(RampingEntityTest, PageWriterClampsTheNextAmplitudesAndFoldsAngles)
{
    entity.stateCount = 1;
    entity.stateOutputRanges[0][IA] = 25.0;
    entity.stateOutputRanges[0][UA] = -3.0;
    entity.stateOutputAngles[0][1] = 370.0;
    entity.stateOutputAngles[0][2] = -90.0;
    entity.switchToResetState();
    entity.updateToDriverValue();
    EXPECT_FLOAT_EQ(records.output->outputRanges[IA][0], 20.0f);
    EXPECT_FLOAT_EQ(records.output->outputRanges[UA][0], 0.0f);
    EXPECT_FLOAT_EQ(records.output->outputAngles[1][0], 10.0f);
    EXPECT_FLOAT_EQ(records.output->outputAngles[2][0], 270.0f);
    EXPECT_DOUBLE_EQ(entity.outputRanges[IA], 25.0); // the current values are not clamped
}

TEST_F(RampingEntityTest, StartCheckRefusesUnboundedOrNonFiniteRuns)
{
    entity.stateCount = 3;
    ramp(1, 0, ModelEntity::RAMP_PORT_TYPE_IA, ModelEntity::RAMP_ITEM_TYPE_RANGE, 0.0, 10.0, 0.01);
    EXPECT_TRUE(entity.checkOutputValues());
    struct Case {
        const char* name;
        void (*spoil)(Ramp&);
    };
    const Case cases[] = {
        {"more than 97 states", [](Ramp& e) { e.stateCount = 98; }},
        {"no state", [](Ramp& e) { e.stateCount = 0; }},
        {"pages beyond the 16-bit count", [](Ramp& e) { e.rampStepValues[1][0] = 1e-4; }},
        {"vanishing step", [](Ramp& e) { e.rampStepValues[1][0] = 1e-300; }},
        {"NaN step", [](Ramp& e) { e.rampStepValues[1][0] = kNaN; }},
        {"infinite end", [](Ramp& e) { e.rampEndValues[1][0] = HUGE_VAL; }},
        {"NaN angle", [](Ramp& e) { e.stateOutputAngles[2][6] = kNaN; }},
        {"infinite page time", [](Ramp& e) { e.stateOutputTimes[0] = HUGE_VAL; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ramp spoilt;
        spoilt.stateCount = 3;
        spoilt.rampPorts[1][0] = ModelEntity::RAMP_PORT_TYPE_IA;
        spoilt.rampEndValues[1][0] = 10.0;
        spoilt.rampStepValues[1][0] = 0.01;
        c.spoil(spoilt);
        EXPECT_FALSE(spoilt.checkOutputValues());
        EXPECT_LE(spoilt.computePointCount(), Ramp::kMaxStateCount + 1);
    }
    // The count register never receives more than 16 bits.
    entity.rampStepValues[1][0] = 1e-9;
    entity.switchToResetState();
    entity.updateToDriverStateCount();
    EXPECT_LE(records.output->outputStateCount, 0xFFFFu);
}

} // namespace
