// Distance and overcurrent entities: groups of pre-fault, fault and
// after-fault states, one page each.

#include "EntityTestSupport.h"
#include "ModelDistanceEntity.h"
#include "ModelOvercurrentEntity.h"

#include <cmath>
#include <limits>
#include <vector>

using namespace entitytest;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kComplete = 0x8000;

template <typename Entity>
class FaultGroupEntityTest : public ::testing::Test
{
protected:
    // Two test points: states 0..5; state k outputs UA = 50 + k, IA = k,
    // UA angle 400 + k, and lasts 0.1 x (k + 1) s.
    void setGroups(int count = 6)
    {
        entity.stateCount = count;
        for (int k = 0; k < Entity::kMaxStates; ++k) {
            entity.stateOutputRanges[k][0] = 50.0 + k;
            entity.stateOutputRanges[k][4] = k;
            entity.stateOutputAngles[k][0] = 400.0 + k;
            entity.stateOutputFrequencies[k][0] = 50.0;
            entity.stateOutputTimes[k] = 0.1 * (k + 1);
            entity.stateOutputBOStates[k][0] = k % 2;
        }
        entity.stateOutputBIStates[0] = 1;   // input 1 rising
        entity.stateOutputBIStates[2] = 2;   // input 3 falling
        entity.stateBILogicTypes = ModelEntity::AO_BILOGIC_TYPE_AND;
    }

    // The run control's start and switches; returns every page written.
    std::vector<CommDriverTestOutputData> runAllPages()
    {
        std::vector<CommDriverTestOutputData> pages;
        entity.resetActionValues();
        entity.switchToResetState();
        entity.updateToDriverStateCount();
        entity.updateToDriverValue();
        pages.push_back(*records.output);
        while (entity.switchToNextState()) {
            entity.updateToDriverValue();
            pages.push_back(*records.output);
        }
        return pages;
    }

    DriverRecords records;
    Entity entity;
};

using FaultGroupEntities = ::testing::Types<ModelDistanceEntity, ModelOvercurrentEntity>;
TYPED_TEST_SUITE(FaultGroupEntityTest, FaultGroupEntities);

constexpr bool isDistance(const ModelDistanceEntity*) { return true; }
constexpr bool isDistance(const ModelOvercurrentEntity*) { return false; }

// A fault page watches its edges with its logic and ends on a trip; a page
// between the faults watches both edges of the same inputs, OR, to its time.
TYPED_TEST(FaultGroupEntityTest, PagesBetweenTheFaultsWatchBothEdgesOfTheTripInputs)
{
    this->setGroups();
    const bool distance = isDistance(&this->entity);
    const auto pages = this->runAllPages();
    // Distance: six states and a closing page; overcurrent: six states, and
    // the driver is told one more.
    ASSERT_EQ(pages.size(), distance ? 7u : 6u);
    EXPECT_EQ(this->records.output->outputStateCount, distance ? 6u : 7u);
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        const CommDriverTestOutputData& page = pages[size_t(k)];
        const bool fault = k % 3 == 1;
        EXPECT_FLOAT_EQ(page.outputRanges[0][0], 50.0f + k);
        EXPECT_FLOAT_EQ(page.outputAngles[0][0], 40.0f + k);
        EXPECT_FLOAT_EQ(page.currentOutputRanges[4][0], float(k > 0 ? k - 1 : 0));
        EXPECT_FLOAT_EQ(page.outputTime, float(0.1 * (k + 1)));
        EXPECT_EQ(page.outputBOInitStates[0], quint32(k % 2));
        EXPECT_EQ(page.outputLinkStateType, 1u);
        EXPECT_EQ(page.outputTriggerType, fault ? 2 : 0);
        EXPECT_EQ(std::vector<quint32>({page.outputBIRiseEnables[0], page.outputBIFallEnables[0],
                                        page.outputBIRiseEnables[1], page.outputBIFallEnables[2],
                                        page.outputBIRiseEnables[2], page.outputBILogic}),
                  fault ? std::vector<quint32>({1, 0, 0, 1, 0, 1}) : std::vector<quint32>({1, 1, 0, 1, 1, 0}));
    }
    if (distance) {
        // Closing page: every output zero, time 0, time trigger; the binary
        // settings stay those of the page before.
        const CommDriverTestOutputData& closing = pages[6];
        for (int c = 0; c < 8; ++c) {
            EXPECT_EQ(closing.outputRanges[c][0], 0.0f);
            EXPECT_EQ(closing.outputFrequencies[c][0], 0.0f);
        }
        EXPECT_EQ(closing.outputTime, 0.0f);
        EXPECT_EQ(closing.outputTriggerType, 0);
        EXPECT_EQ(closing.outputBOInitStates[0], 1u);
    }
}

TYPED_TEST(FaultGroupEntityTest, ProgressFollowsTheCompletedPages)
{
    this->setGroups();
    auto& e = this->entity;
    const bool distance = isDistance(&e);
    e.resetActionValues();
    e.switchToResetState();
    EXPECT_EQ(e.stateTestStates[1], ModelEntity::AO_STATE_TYPE_RUNNNING);
    EXPECT_EQ(e.stateTestStates[2], distance ? ModelEntity::AO_STATE_TYPE_RUNNNING : ModelEntity::AO_STATE_TYPE_INITING);

    // A report without the completion bit does not move the cursor.
    e.updateFromDriverState(0x0001);
    EXPECT_EQ(e.outputRunningStateIndex, 0);

    e.updateFromDriverState(kComplete | 1);   // r = 1: the fault state runs
    EXPECT_EQ(e.stateTestStates[0], ModelEntity::AO_STATE_TYPE_RUNNNING);
    e.updateFromDriverState(kComplete | 2);   // r = 2
    EXPECT_EQ(e.stateTestStates[0], ModelEntity::AO_STATE_TYPE_COMPLETED);
    EXPECT_EQ(e.stateTestStates[1], ModelEntity::AO_STATE_TYPE_COMPLETED);
    e.updateFromDriverState(kComplete | 3);   // r = 3: the second point begins
    EXPECT_EQ(e.stateTestStates[2], ModelEntity::AO_STATE_TYPE_COMPLETED);
    for (int k = 3; k < 6; ++k)
        EXPECT_EQ(e.stateTestStates[k], ModelEntity::AO_STATE_TYPE_RUNNNING);
    EXPECT_EQ(e.stateTestStates[6], ModelEntity::AO_STATE_TYPE_INITING);
    for (int r = 4; r <= 6; ++r)
        e.updateFromDriverState(kComplete);
    EXPECT_EQ(e.stateTestStates[4], ModelEntity::AO_STATE_TYPE_COMPLETED);
}

// A trip is the edge a fault watches, on its page as the instrument ended
// it; a change on a page between the faults, or the other edge, is none.
TYPED_TEST(FaultGroupEntityTest, TripsAreRecordedInFaultStatesOnly)
{
    this->setGroups();
    auto& e = this->entity;
    e.resetActionValues();
    e.switchToResetState();
    struct Case {
        int running;
        int stateIndex;
        int input;
        int code;
        int expected;
    };
    const Case cases[] = {
        {1, kComplete, 0, 1, 0},  {4, kComplete, 2, 2, 0}, {1, 0x0001, 0, 1, -1}, // no completion bit
        {2, kComplete, 0, 1, -1}, {3, kComplete, 0, 1, -1}, {7, kComplete, 0, 1, -1}, // beyond stateCount
        {1, kComplete, 4, 1, -1}, {1, kComplete, -1, 1, -1}, {4, kComplete, 0, 2, -1},  // not the watched edge
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "running " << c.running << " input " << c.input);
        e.outputRunningStateIndex = c.running;
        const int flags = c.input >= 0 ? c.code << (2 * c.input) : 0;
        EXPECT_EQ(e.updateFromDriverAction(c.stateIndex, flags, c.input, 0.03f), c.expected);
        if (c.expected == 0) {
            EXPECT_DOUBLE_EQ(e.stateActionTimes[c.running][c.input], double(0.03f));
            EXPECT_EQ(e.stateActionBIStates[c.running][c.input], c.code);
        }
    }
    // State-end report: state numbers from 1; rewrites only on a new time.
    EXPECT_EQ(e.updateFromDriverAction(1, 1, 0.05f, 2), 0);
    EXPECT_DOUBLE_EQ(e.stateActionTimes[1][0], double(0.05f));
    EXPECT_DOUBLE_EQ(e.stateActionTimes[1][1], double(0.05f));
    EXPECT_EQ(e.updateFromDriverAction(1, 0, 0.05f, 2), -1);
    EXPECT_EQ(e.updateFromDriverAction(1, 0, 0.06f, 2), 0);
    EXPECT_EQ(e.updateFromDriverAction(1, 0, 0.06f, 0), -1);
    EXPECT_EQ(e.updateFromDriverAction(1, 0, 0.06f, 7), -1);
    e.stateCount = 500;
    EXPECT_EQ(e.updateFromDriverAction(1, 0, 0.06f, TypeParam::kMaxStates + 1), -1);
    EXPECT_NE(e.getTriggerType(TypeParam::kMaxStates), 1);
}

TYPED_TEST(FaultGroupEntityTest, LimitsAndStartCheck)
{
    this->setGroups(3);
    auto& e = this->entity;
    e.stateOutputRanges[1][4] = 50.0;
    e.stateOutputRanges[5][4] = 50.0;
    e.formatLimitValue(100.0, 20.0);
    EXPECT_DOUBLE_EQ(e.stateOutputRanges[1][4], 20.0);
    // Overcurrent clamps only the states in use.
    EXPECT_DOUBLE_EQ(e.stateOutputRanges[5][4], isDistance(&e) ? 20.0 : 50.0);
    // The page writer does not clamp.
    e.stateOutputRanges[0][0] = 500.0;
    e.switchToResetState();
    e.updateToDriverValue();
    EXPECT_FLOAT_EQ(this->records.output->outputRanges[0][0], 500.0f);

    EXPECT_TRUE(e.checkOutputValues());
    e.stateOutputAngles[2][3] = kNaN;
    EXPECT_FALSE(e.checkOutputValues());
    e.stateOutputAngles[2][3] = 0.0;
    e.stateOutputRanges[1][6] = HUGE_VAL;
    EXPECT_FALSE(e.checkOutputValues());
    e.stateOutputRanges[1][6] = 0.0;
    for (int count : {0, TypeParam::kMaxStates + 1}) {
        e.stateCount = count;
        EXPECT_FALSE(e.checkOutputValues());
    }
    e.stateCount = TypeParam::kMaxStates;
    EXPECT_TRUE(e.checkOutputValues());
    // A run over every state writes no page out of range.
    const auto pages = this->runAllPages();
    EXPECT_EQ(pages.size(), size_t(TypeParam::kMaxStates + (isDistance(&e) ? 1 : 0)));
}

// Overcurrent: an after-fault state marked time-or-binary waits for the
// relay's reset, each trip input watched for the edge opposite to the
// fault's (input 1 rising -> falling, input 3 falling -> rising), with the
// fault's logic (whether a trip stands is the judgement's: ContactJudgement).
using OvercurrentResetWait = FaultGroupEntityTest<ModelOvercurrentEntity>;
TEST_F(OvercurrentResetWait, EdgesReversed)
{
    setGroups();
    entity.stateTriggerTypes[2] = ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY;
    entity.stateOutputTimes[3] = 0.0;
    for (const bool trip : {false, true}) {
        SCOPED_TRACE(testing::Message() << trip);
        entity.resetActionValues();
        entity.switchToResetState();
        entity.followTo(1);
        EXPECT_EQ(trip ? entity.updateFromDriverAction(kComplete, 1, 0, 0.5f) : 0, 0);
        entity.followTo(2);
        EXPECT_TRUE(entity.awaitsReset(2));
        entity.outputSendingStateIndex = 2;
        entity.updateToDriverValue();
        const CommDriverTestOutputData& page = *records.output;
        EXPECT_EQ(std::vector<quint32>({page.outputBIRiseEnables[0], page.outputBIFallEnables[0],
                                        page.outputBIRiseEnables[2], page.outputBIFallEnables[2], page.outputBILogic,
                                        page.outputTriggerType}),
                  std::vector<quint32>({0, 1, 1, 0, 1, 2}));
        EXPECT_TRUE(entity.faultNext());
    }
}

} // namespace
