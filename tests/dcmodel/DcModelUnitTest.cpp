// The DC view model's own logic, no instrument: defaults and list rows, manual
// steps and their limits, the mode rule, the automatic ramp's refusals, the
// result texts and what clears them.

#include "DcModelSupport.h"

#include <vector>

using namespace dctest;
using C = ControllerConfiguration;

TEST_F(DcModelTest, DefaultsAndListRowsFollowThePhases)
{
    struct Row
    {
        C::PhasesType vol, cur;
        std::vector<int> groups;   // the page's list, row by row
    };
    const Row rows[] = {
        {C::PHASES_TYPE_FOUR, C::PHASES_TYPE_FOUR, {0, 1, 2, 3, 7, 8, 9, 10, 11, 15}},
        {C::PHASES_TYPE_FOUR, C::PHASES_TYPE_THREE, {0, 1, 2, 3, 7, 8, 9, 10, 15}},
        {C::PHASES_TYPE_THREE, C::PHASES_TYPE_FOUR, {0, 1, 2, 7, 8, 9, 10, 11, 15}},
        {C::PHASES_TYPE_THREE, C::PHASES_TYPE_THREE, {0, 1, 2, 7, 8, 9, 10, 15}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "voltage " << row.vol << ", current " << row.cur);
        config->volPhasesType = row.vol;
        config->curPhasesType = row.cur;
        DcModel vm;
        const double ranges[8] = {57.735, 57.735, 57.735, row.vol ? 57.735 : 0.0, 1, 1, 1, row.cur ? 1.0 : 0.0};
        for (int p = 0; p < 8; ++p) {
            EXPECT_EQ(vm.getOutputRange(port(p)), ranges[p]) << p;
            EXPECT_EQ(vm.getOutputAngle(port(p)), 90.0) << p;
            EXPECT_EQ(vm.getOutputFrequency(port(p)), 0.0) << p;
        }
        for (int g = 0; g < 16; ++g)
            EXPECT_EQ(vm.endRampRanges[g], g < 8 ? 57.735 : 0.5) << g;
        for (int r = 0; r < int(row.groups.size()); ++r) {
            vm.setFaultActionPort(r);
            EXPECT_EQ(vm.faultActionPort, row.groups[size_t(r)]) << "row " << r;
            EXPECT_EQ(vm.getFaultActionPort(), r) << "row " << r;
        }
        vm.setFaultActionPort(10);   // no such row
        EXPECT_EQ(vm.faultActionPort, VM::RAMP_PORT_TYPE_UA);
    }
    DcModel vm;
    EXPECT_EQ(vm.getTestState(), 0);
    vm.setFaultActionItem(VM::RAMP_ITEM_TYPE_ANGLE);   // only the amplitude is ramped
    EXPECT_EQ(vm.getFaultActionItem(), VM::RAMP_ITEM_TYPE_RANGE);
    vm.setOutputRange(port(4), 3.0);   // the snapshot starts as the outputs
    vm.quickChange(port(4), true, 0.0, false);
    EXPECT_EQ(vm.getOutputRange(port(4)), 1.0);
}

TEST_F(DcModelTest, ManualStepsHoldEveryChannelToTheDeviceLimits)
{
    struct Row
    {
        const char* name;
        int row;   // list row (three-phase unit)
        bool up;
        std::vector<std::pair<int, double>> before, after;
    };
    const Row rows[] = {
        {"IAIBIC at 14.5 A to half of 30 A", 7, true, {{4, 14.5}, {5, 14.5}, {6, 14.0}}, {{4, 15}, {5, 15}, {6, 15}}},
        {"UA 0.5 V down to 0", 0, false, {{0, 0.5}}, {{0, 0.0}, {1, 57.735}}},
        {"a channel not stepped is held too", 4, true, {{1, 300.0}, {7, 18.0}}, {{4, 2.0}, {1, 265.0}, {7, 15}}},
    };
    config->maxIRange = 30.0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DcModel vm;
        vm.testActive();
        vm.setFaultActionPort(row.row);
        for (const auto& [p, v] : row.before)
            vm.setOutputRange(port(p), v);
        ASSERT_TRUE(vm.quickChange(row.up));
        for (const auto& [p, v] : row.after)
            EXPECT_EQ(vm.getOutputRange(port(p)), v) << "port " << p;
    }

    // Typed values stay in the model; the entity's copy is held.
    DcModel vm;
    vm.testActive();
    vm.setOutputRange(port(1), 400.0);
    vm.setOutputRange(port(5), 20.0);
    EXPECT_EQ(vm.getOutputRange(port(5)), 20.0);
    QMutexLocker lock(&entity().entityLock);
    EXPECT_EQ(entity().outputRanges[1], 265.0);
    EXPECT_EQ(entity().outputRanges[5], 15.0);
}

TEST_F(DcModelTest, ManualModeKnowsOnlyStopAndContinue)
{
    DcModel vm;
    vm.setFaultActionType(VM::ACTION_TYPE_RETURN);
    EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_CONTINUE);
    vm.setAutoRampEnabled(true);
    vm.setFaultActionType(VM::ACTION_TYPE_RETURN);
    EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_RETURN);
    vm.setAutoRampEnabled(false);
    EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_CONTINUE);
}

// The engine ramps from the present amplitudes and sets a value at or beyond
// the end to the end: a ramp that would jump there is refused, with a
// message, and so is the start.
TEST_F(DcModelTest, AutoRampThatWouldJumpIsRefusedWithAMessage)
{
    struct Row
    {
        const char* name;
        int row;
        double ia;    // IA, A
        double end;   // NaN: the default end value
        double step, time;
        bool up, accepted;
    };
    const double dflt = std::nan("");
    const Row rows[] = {
        {"UA on its end value runs", 0, 1, dflt, 1, 1, true, true},
        {"UA up to an end below it", 0, 1, 10, 1, 1, true, false},
        {"UA down to an end below it", 0, 1, 10, 1, 1, false, true},
        {"a current group up to its default end", 7, 1, dflt, 1, 1, true, false},
        {"IAIBIC on both sides of the end", 7, 0.2, dflt, 1, 1, false, false},
        {"step 0", 0, 1, 100, 0, 1, true, false},
        {"time 0", 0, 1, 100, 1, 0, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DcModel vm;
        vm.testActive();
        int messages = 0;
        QObject::connect(&vm, &ViewSourceTestModel::sigUserMessage, [&messages] { ++messages; });
        vm.setAutoRampEnabled(true);
        vm.setFaultActionPort(row.row);
        vm.setOutputRange(port(4), row.ia);
        if (!std::isnan(row.end))
            vm.setEndRampValue(row.end);
        vm.setRampStepValue(row.step);
        vm.setRampTimeValue(row.time);
        QMutexLocker lock(&entity().entityLock);
        entity().endRampValue = -7.0;
        EXPECT_EQ(vm.quickChange(row.up), row.accepted);
        EXPECT_EQ(messages, row.accepted ? 0 : 1);
        EXPECT_EQ(entity().endRampValue, row.accepted ? vm.getEndRampValue() : -7.0);
        lock.unlock();
        if (!row.accepted) {
            vm.clearUserMessage();
            EXPECT_FALSE(vm.testStart());
            EXPECT_FALSE(vm.getUserMessage().isEmpty());
        }
    }
}

TEST_F(DcModelTest, ResultTextsFollowTheGroupAndAVariableChangeClearsThem)
{
    struct Row
    {
        const char* name;
        int row;   // three-phase voltage, four-phase current
        Record action, back;
        const char* actionText;
        const char* returnText;
        const char* factor;
    };
    const Row rows[] = {
        {"UA with return", 0, {0, 0.5, {10.0}}, {0, 1.5, {9.5}}, "10.000 V", "9.500 V", "0.950"},
        {"IAIBIC, a zero action value", 8, {2, 0.1, {1.2, 1.2, 0.0}}, {2, 0.2, {1.0, 0.6, 0.1}},
         "1.200; 1.200; 0.000 A", "1.000; 0.600; 0.100 A", "0.833; 0.500; 0"},
        {"IX action only", 7, {1, 0.1, {2.0}}, {}, "2.000 A", "NaN A", ""},
    };
    config->curPhasesType = C::PHASES_TYPE_FOUR;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DcModel vm;
        vm.testActive();
        vm.setAutoRampEnabled(true);
        vm.setFaultActionPort(row.row);
        deliverResults(vm, row.action, row.back);
        EXPECT_EQ(vm.getTestState(), 1);
        EXPECT_EQ(vm.getFaultActionValue(0), row.actionText);
        EXPECT_EQ(vm.getFaultActionValue(1), row.returnText);
        EXPECT_EQ(vm.getFaultActionFactor(), row.factor);
        EXPECT_EQ(vm.getFaultActionTime(0), row.action.time);

        // Another variable: both records and times go, the page shows no action.
        vm.setFaultActionPort(row.row == 0 ? 1 : 0);
        EXPECT_EQ(vm.getTestState(), 0);
        EXPECT_FALSE(vm.isExistFaultActionValue(0) || vm.isExistFaultActionValue(1));
        EXPECT_TRUE(std::isnan(vm.faultActionTimes[0]) && std::isnan(vm.faultActionTimes[1]));
        EXPECT_EQ(vm.getFaultActionValue(0), "NaN V");
    }
    DcModel vm;
    vm.testState = -1;   // a run in progress stays one
    vm.setFaultActionPort(3);
    EXPECT_EQ(vm.getTestState(), -1);
}
