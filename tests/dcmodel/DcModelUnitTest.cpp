// The DC view model's own logic, no instrument: defaults and list rows, manual
// steps and their limits, the mode rule, the automatic ramp's refusals, the
// result texts and what clears them.

#include "DcModelSupport.h"

#include <vector>

using namespace dctest;

namespace {

using C = ControllerConfiguration;

} // namespace

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
        const bool ux = row.vol == C::PHASES_TYPE_FOUR;
        const bool ix = row.cur == C::PHASES_TYPE_FOUR;
        const double ranges[8] = {57.735, 57.735, 57.735, ux ? 57.735 : 0.0, 1, 1, 1, ix ? 1.0 : 0.0};
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
        vm.setFaultActionPort(9);   // past a shorter list: the last group
        EXPECT_EQ(vm.faultActionPort, VM::RAMP_PORT_TYPE_IAIBIC);
        vm.setFaultActionPort(10);   // no such row
        EXPECT_EQ(vm.faultActionPort, VM::RAMP_PORT_TYPE_UA);
    }
    DcModel vm;
    EXPECT_EQ(vm.getTestState(), 0);
    EXPECT_EQ(vm.getRampStepValue(), 1.0);
    EXPECT_EQ(vm.getRampTimeValue(), 1.0);
    EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_STOP);
    vm.setFaultActionItem(VM::RAMP_ITEM_TYPE_ANGLE);   // only the amplitude is ramped
    EXPECT_EQ(vm.getFaultActionItem(), VM::RAMP_ITEM_TYPE_RANGE);
    // The snapshot starts as the outputs.
    vm.setOutputRange(port(4), 3.0);
    vm.quickChange(port(4), true, 0.0, false);
    EXPECT_EQ(vm.getOutputRange(port(4)), 1.0);
}

TEST_F(DcModelTest, ManualStepsHoldEveryChannelToTheDeviceLimits)
{
    struct Row
    {
        const char* name;
        int row;   // list row (three-phase unit)
        double maxI;
        bool up;
        std::vector<std::pair<int, double>> before, after;
    };
    const Row rows[] = {
        {"IAIBIC at 14.5 A up to half of 30 A", 7, 30.0, true, {{4, 14.5}, {5, 14.5}, {6, 14.0}},
         {{4, 15.0}, {5, 15.0}, {6, 15.0}, {0, 57.735}}},
        {"UA 0.5 V down to 0", 0, 10.0, false, {{0, 0.5}}, {{0, 0.0}, {1, 57.735}}},
        {"a channel not stepped is held too", 4, 10.0, true, {{1, 300.0}, {7, 8.0}},
         {{4, 2.0}, {1, 265.0}, {7, 5.0}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        config->maxIRange = row.maxI;
        DcModel vm;
        vm.testActive();
        vm.setFaultActionPort(row.row);
        for (const auto& [p, v] : row.before)
            vm.setOutputRange(port(p), v);
        ASSERT_TRUE(vm.quickChange(row.up));
        for (const auto& [p, v] : row.after)
            EXPECT_EQ(vm.getOutputRange(port(p)), v) << "port " << p;
    }

    // Typed values stay in the model; the entity's copy is held to the
    // largest voltage and half the largest current.
    config->maxIRange = 30.0;
    DcModel vm;
    vm.testActive();
    vm.setOutputRange(port(1), 400.0);
    vm.setOutputRange(port(5), 20.0);
    EXPECT_EQ(vm.getOutputRange(port(5)), 20.0);
    QMutexLocker lock(&entity().entityLock);
    EXPECT_EQ(entity().outputRanges[1], 265.0);
    EXPECT_EQ(entity().outputRanges[5], 15.0);
    EXPECT_EQ(entity().outputAngles[5], 90.0);
}

TEST_F(DcModelTest, ManualModeKnowsOnlyStopAndContinue)
{
    DcModel vm;
    vm.setFaultActionType(VM::ACTION_TYPE_RETURN);
    EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_CONTINUE);
    vm.setFaultActionType(VM::ACTION_TYPE_STOP);
    EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_STOP);
    vm.setAutoRampEnabled(true);
    vm.setFaultActionType(VM::ACTION_TYPE_RETURN);
    EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_RETURN);
    vm.setAutoRampEnabled(false);
    EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_CONTINUE);
}

// The engine ramps from the present amplitudes and sets a value at or beyond
// the end to the end: a ramp that would jump there is refused, and so is a
// start without a ramp that still fits.
TEST_F(DcModelTest, AutoRampThatWouldJumpIsRefusedWithAMessage)
{
    struct Row
    {
        const char* name;
        int row;
        std::vector<std::pair<int, double>> before;
        double end;   // NaN: the default end value
        double step, time;
        bool up;
        bool accepted;
    };
    const double dflt = std::nan("");
    const Row rows[] = {
        {"UA on its end value runs", 0, {}, dflt, 1.0, 1.0, true, true},
        {"UA up to an end below it", 0, {}, 10.0, 1.0, 1.0, true, false},
        {"UA down to an end below it", 0, {}, 10.0, 1.0, 1.0, false, true},
        {"a current group up to its default end", 7, {}, dflt, 1.0, 1.0, true, false},
        {"IAIBIC on both sides of the end", 7, {{4, 0.2}}, dflt, 1.0, 1.0, false, false},
        {"step 0", 0, {}, 100.0, 0.0, 1.0, true, false},
        {"time 0", 0, {}, 100.0, 1.0, 0.0, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DcModel vm;
        vm.testActive();
        QObject receiver;
        QStringList messages;
        QObject::connect(&vm, &ViewSourceTestModel::sigUserMessage, &receiver,
                         [&messages](const QString& t) { messages << t; });
        vm.setAutoRampEnabled(true);
        vm.setFaultActionPort(row.row);
        for (const auto& [p, v] : row.before)
            vm.setOutputRange(port(p), v);
        if (!std::isnan(row.end))
            vm.setEndRampValue(row.end);
        vm.setRampStepValue(row.step);
        vm.setRampTimeValue(row.time);
        {
            QMutexLocker lock(&entity().entityLock);
            entity().actionRampFactor = 7;
            entity().endRampValue = -7.0;
        }
        EXPECT_EQ(vm.quickChange(row.up), row.accepted);
        {
            QMutexLocker lock(&entity().entityLock);
            EXPECT_EQ(entity().actionRampFactor, row.accepted ? (row.up ? 1 : -1) : 7);
            EXPECT_EQ(entity().endRampValue, row.accepted ? vm.getEndRampValue() : -7.0);
        }
        EXPECT_EQ(messages.size(), row.accepted ? 0 : 1);
        if (!row.accepted) {
            // Nor does the start: it refuses before anything is sent.
            vm.clearUserMessage();
            EXPECT_FALSE(vm.testStart());
            EXPECT_FALSE(vm.getUserMessage().isEmpty());
            EXPECT_TRUE(vm.getExitEnabled());
        }
    }
}

TEST_F(DcModelTest, ResultTextsFollowTheGroupAndAVariableChangeClearsThem)
{
    struct Row
    {
        const char* name;
        bool ixUnit;   // four-phase current, the list has IX
        int row;
        Record action, back;
        const char* actionText;
        const char* returnText;
        const char* factor;
    };
    const Row rows[] = {
        {"UA with return", false, 0, {0, 0.5, {10.0}}, {0, 1.5, {9.5}}, "10.000 V", "9.500 V", "0.950"},
        {"IAIBIC with a zero action value", false, 7, {2, 0.1, {1.2, 1.2, 0.0}}, {2, 0.2, {1.0, 0.6, 0.1}},
         "1.200; 1.200; 0.000 A", "1.000; 0.600; 0.100 A", "0.833; 0.500; 0"},
        {"IX action only", true, 7, {1, 0.1, {2.0}}, {}, "2.000 A", "NaN A", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        config->curPhasesType = row.ixUnit ? C::PHASES_TYPE_FOUR : C::PHASES_TYPE_THREE;
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
        EXPECT_FALSE(vm.isExistFaultActionValue(0));
        EXPECT_FALSE(vm.isExistFaultActionValue(1));
        EXPECT_TRUE(std::isnan(vm.faultActionTimes[0]) && std::isnan(vm.faultActionTimes[1]));
        EXPECT_EQ(vm.getFaultActionValue(0), "NaN V");
    }
    // During a run (no action yet) the state stays "running".
    DcModel vm;
    vm.testState = -1;
    vm.setFaultActionPort(3);
    EXPECT_EQ(vm.getTestState(), -1);
    EXPECT_EQ(vm.getFaultActionValue(7), "");
}
