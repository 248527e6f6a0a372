// The ramping view model without an instrument: the list and its edit
// buffer, the expansion into the entity, the verdict, the start check and
// what the buffer shows outside a run.

#include "RampingModelSupport.h"

#include <cmath>
#include <limits>

using namespace rmtest;

namespace {

constexpr int kUA = 0, kUB = 1, kUC = 2, kIA = 4;
constexpr double kRated = 57.735;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

TEST_F(RampingModelTest, NewModelListAndBuffer)
{
    RampingModel vm;
    ASSERT_EQ(vm.getStatesCount(), 1);
    EXPECT_EQ(vm.getActiveIndex(), 0);
    EXPECT_EQ(vm.getOutputRange(port(kUA)), 0.0);
    EXPECT_EQ(vm.getOutputRange(port(kUB)), kRated);
    EXPECT_EQ(vm.getOutputRange(port(kUC)), kRated);
    EXPECT_EQ(vm.getFaultActionPort(0), 0);
    EXPECT_EQ(vm.getFaultActionItemByIndex(0), VM::RAMP_ITEM_TYPE_RANGE);
    EXPECT_EQ(vm.getEndRampValue(), kRated);
    EXPECT_EQ(vm.getRampStepValue(), 1.0);
    EXPECT_EQ(vm.getStepTimeValue(), 2.0);
    EXPECT_EQ(vm.getSettingTimes(0), 1.0);
    EXPECT_EQ(vm.getDevTimes(0), 0.1);
    EXPECT_EQ(vm.getFunction(0), 50);

    // An end value changed and another state selected is lost; changed and
    // added it makes a new state.
    vm.addState();
    vm.setEndRampValue(40.0);
    vm.setActiveIndex(0);
    EXPECT_EQ(vm.getEndRampValue(), kRated);
    vm.setEndRampValue(40.0);
    vm.addState();
    EXPECT_EQ(vm.getStatesCount(), 3);
    EXPECT_EQ(vm.getActiveIndex(), 2);
    EXPECT_EQ(vm.state(2).firstPoint().endValue(), 40.0);
    EXPECT_EQ(vm.state(1).firstPoint().endValue(), kRated);

    // Output edits reach the buffer and the active state only.
    vm.setOutputRange(port(kUA), 12.0);
    EXPECT_EQ(vm.state(2).outputRanges[kUA], 12.0);
    EXPECT_EQ(vm.state(1).outputRanges[kUA], 0.0);

    for (int i = 0; i < 6; ++i)
        vm.addState();
    ASSERT_EQ(vm.getStatesCount(), 8);
    vm.addState();
    EXPECT_EQ(vm.getStatesCount(), 8);

    RampingModel one;
    one.removeState();
    EXPECT_EQ(one.getStatesCount(), 0);
    EXPECT_EQ(one.getActiveIndex(), -1);
    one.addState();
    EXPECT_EQ(one.getStatesCount(), 1);
}

TEST_F(RampingModelTest, OutputsTheBufferRampsAreDisabled)
{
    struct Row
    {
        int port, item;
        bool enabled;
    };
    const Row rows[] = {{kUA, 0, false}, {kUB, 0, false}, {kUA, 1, true}, {kUC, 0, true}, {9, 0, true}};
    RampingModel vm;
    vm.setFaultActionPort(3);   // UAUB on a three-phase unit
    vm.setFaultActionItem(VM::RAMP_ITEM_TYPE_RANGE);
    for (const Row& row : rows)
        EXPECT_EQ(vm.getOutputEnable(port(row.port), row.item), row.enabled) << row.port << " " << row.item;
}

TEST_F(RampingModelTest, ExpansionIntoTheEntity)
{
    struct Row
    {
        bool intervalEnable;
        double intervalTime;   // expected for the interval phases
    };
    for (const Row& row : {Row{true, 0.2}, Row{false, 0.0}}) {
        SCOPED_TRACE(row.intervalEnable);
        RampingModel vm;
        vm.testActive();
        vm.setNormalEnable(true);
        vm.setOutputOnceOnly(true);
        vm.setIntervalEnable(row.intervalEnable);
        vm.setNormalOutput(VM::AO_ITEM_TYPE_RANGE, port(kIA), 0.5);
        vm.setNormalOutput(VM::AO_ITEM_TYPE_RANGE, port(kUB), 5.0);
        vm.setIntervalOutput(VM::AO_ITEM_TYPE_RANGE, port(kUB), 7.0);
        vm.setLinkStateType(VM::AO_LINKSTATE_TYPE_CONTINUE);
        vm.setSettingTime(-1, 0.3);   // a window its steps reach
        vm.addRamp(7, VM::RAMP_ITEM_TYPE_ANGLE, 90.0, 5.0, 0.5);   // IA's angle
        vm.setOutputBILogic(1, VM::AO_BILOGIC_TYPE_AND);
        vm.setOutputBIState(1, 2, VM::AO_BI_STATE_NONE);
        vm.setOutputBOState(1, 1, 1);
        vm.updateVMToEnt(VM::DATA_TYPE_TEST_OUTPUTDATA, -1, false);

        ModelRampingEntity& e = entity();
        QMutexLocker lock(&e.entityLock);
        ASSERT_EQ(e.stateCount, 6);
        const double times[6] = {1.0, 2.0, row.intervalTime, 0.0, 0.5, row.intervalTime};
        for (int s = 0; s < 6; ++s) {
            SCOPED_TRACE(s);
            const int phase = s % 3;
            EXPECT_EQ(e.stateOutputTimes[s], times[s]);
            EXPECT_EQ(e.stateTriggerTypes[s],
                      phase == 1 ? ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY : ModelEntity::AO_TRIGGER_TYPE_TIME);
            const int link = phase == 0 ? 1 : phase == 2 ? 0 : s == 1 ? 1 : 0;
            EXPECT_EQ(int(e.stateOutputLinkTypes[s]), link);
            EXPECT_EQ(e.stateOutputBIStates[s][0], phase == 1 ? 3 : 0);
            EXPECT_EQ(e.stateOutputBIStates[s][2], s == 1 ? 3 : 0);
            EXPECT_EQ(e.stateOutputBOStates[s][1], s == 4 ? 1 : 0);
            EXPECT_EQ(int(e.stateBILogicTypes[s]), s == 4 ? 1 : 0);
            EXPECT_EQ(e.stateOutputRanges[s][kIA], phase == 0 ? 0.5 : 0.0);
            EXPECT_EQ(e.stateOutputRanges[s][kUB], phase == 0 ? 5.0 : phase == 1 ? kRated : 7.0);
            for (int j = phase == 1 ? 1 : 0; j < 8; ++j)
                EXPECT_EQ(e.rampStepValues[s][j], 0.0) << j;
        }
        EXPECT_EQ(int(e.rampItems[1][0]), VM::RAMP_ITEM_TYPE_RANGE);
        EXPECT_EQ(e.rampEndValues[1][0], kRated);
        EXPECT_EQ(e.rampStepValues[1][0], 1.0);
        EXPECT_EQ(int(e.rampPorts[4][0]), VM::RAMP_PORT_TYPE_IA);
        EXPECT_EQ(int(e.rampItems[4][0]), VM::RAMP_ITEM_TYPE_ANGLE);
        EXPECT_EQ(e.rampBeginValues[4][0], 0.0);
        EXPECT_EQ(e.rampEndValues[4][0], 90.0);
        EXPECT_EQ(e.rampStepValues[4][0], 5.0);
        EXPECT_EQ(e.maxVoltage, 265.0);
        EXPECT_EQ(e.maxCurrent, 10.0);
    }
}

TEST_F(RampingModelTest, PageCountFromTheRampedPort)
{
    // The entity counts the ramp's pages from the slot's begin value: the
    // ramped port's output, for a group the member farthest from the end.
    // The pre-fault and interval boxes are unticked: no page for them.
    struct Row
    {
        const char* name;
        int row;
        double ua, ub, uc, end, step;
        qint32 count;   // the count register: 20 steps + 2 + 1
    };
    const Row rows[] = {
        {"UB 50 to 70", 1, 0.0, 50.0, 57.735, 70.0, 1.0, 23},
        {"UC 70 down to 50", 2, 0.0, 57.735, 70.0, 50.0, -1.0, 23},
        {"UBUC: UC needs the most steps", 4, 0.0, 60.0, 50.0, 70.0, 1.0, 23},
        {"UAUBUC down: UC needs the most steps", 6, 25.0, 28.0, 30.0, 20.0, -0.5, 23},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RampingModel vm;
        vm.testActive();
        vm.removeState();
        vm.setOutputRange(port(kUA), row.ua);
        vm.setOutputRange(port(kUB), row.ub);
        vm.setOutputRange(port(kUC), row.uc);
        vm.addRamp(row.row, VM::RAMP_ITEM_TYPE_RANGE, row.end, row.step);
        vm.updateVMToEnt(VM::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
        EXPECT_EQ(entity().computePointCount() + 1, row.count);
    }
}

TEST_F(RampingModelTest, VerdictActionAndValueText)
{
    // Setting 1.0 s, deviation 0.25 s.
    struct Row
    {
        const char* name;
        int state;   // AOTestStateType
        int input;   // -1: no action
        double time;
        int result;
        const char* value;
    };
    const Row rows[] = {
        {"on the bound", 2, 0, 1.25, VM::AO_Result_TYPE_SUCCESS, "57.000"},
        {"past the bound", 2, 0, 1.2501, VM::AO_Result_TYPE_FAILED, "57.000"},
        {"first on input 3", 2, 2, 0.9, VM::AO_Result_TYPE_SUCCESS, "57.000"},
        {"completed without action", 2, -1, kNaN, VM::AO_Result_TYPE_FAILED, ""},
        {"never reached", 0, -1, kNaN, VM::AO_Result_TYPE_NONE, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RampingModel vm;
        vm.setSettingTime(0, 1.0);
        vm.setDevTime(0, 0.25);
        vm.state(0).testState = VM::AOTestStateType(row.state);
        if (row.input >= 0) {
            vm.setAction(0, row.input, row.time, {57.0});
            vm.setAction(0, 3, 0.1, {1.0});   // a later input does not count
        }
        EXPECT_EQ(vm.getTestResults(0), row.result);
        EXPECT_EQ(vm.getBinaryInputIndex(0), row.input < 0 ? -1 : row.input + 1);
        EXPECT_EQ(vm.getActionValue(0), QString::fromLatin1(row.value));
        if (row.input >= 0)
            EXPECT_EQ(vm.getActionTimes(0), row.time);
        else
            EXPECT_TRUE(std::isnan(vm.getActionTimes(0)));
    }
    RampingModel vm;
    VM::faultActionValStruct record;
    record.portCnt = 2;
    record.actionVal[0] = 1234.5;
    record.actionVal[1] = 57.7351;
    EXPECT_EQ(vm.getActionValueStr(record), "1234.5; 57.735");
}

TEST_F(RampingModelTest, StartRefusesWhatCannotRun)
{
    struct Row
    {
        const char* name;
        int row;
        double end, step, time;
        bool starts;
        const char* message;
    };
    // Step times as a file may hold them, against 1 ± 0.1 s.
    const Row rows[] = {
        {"step time 0", 0, 57.735, 1.0, 0.0, false, "状态2：步长时间必须大于零。"},
        {"step away from the end", 0, 57.735, -1.0, 2.0, false, "状态2：终值高于当前输出，不能递减。"},
        {"group on both sides of the end", 3, 30.0, 1.0, 2.0, false, "状态2：终值位于所选各相的输出之间，无法递变。"},
        {"group on its end", 4, 57.735, 1.0, 2.0, true, ""},
        {"step 0: an unused slot", 0, 57.735, 0.0, 2.0, true, ""},
        {"steps short of the window's end", 0, 57.735, 1.0, 1.0, false,
         "状态2：动作时间范围止于1.100s，每步却只有1.000s：在其后动作的继电器会被记在下一步。请把步长时间设为至少1.100s。"},
        {"steps as long as the window", 0, 57.735, 1.0, 1.1, true, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RampingModel vm;
        vm.addRamp(row.row, VM::RAMP_ITEM_TYPE_RANGE, row.end, row.step);
        vm.state(1).stepTime = row.time;
        EXPECT_EQ(vm.checkStart(), row.starts);
        EXPECT_EQ(vm.getUserMessage(), QString::fromUtf8(row.message));
    }
    RampingModel empty;
    empty.removeState();
    EXPECT_FALSE(empty.checkStart());
    EXPECT_FALSE(empty.getUserMessage().isEmpty());
}

// Steps ending before the window (setting plus deviation) would credit a
// late trip to the next step: refused at Add, naming the time the steps need
// (at Start: StartRefusesWhatCannotRun).
TEST_F(RampingModelTest, StepsThatCannotReachTheirWindowAreRefusedAtAdd)
{
    for (double setting : {0.0, 0.03, 0.95, 1.0, 5.0}) {
        for (double deviation : {0.0, 0.02, 0.1, -0.25}) {
            SCOPED_TRACE(testing::Message() << setting << " ± " << deviation);
            const double end = setting + std::fabs(deviation);
            RampingModel vm;
            vm.removeState();
            vm.setSettingTime(-1, setting);
            vm.setDevTime(-1, deviation);
            if (end >= 0.001) {
                vm.addRamp(0, VM::RAMP_ITEM_TYPE_RANGE, 60.0, 1.0, end - 0.001);
                EXPECT_EQ(vm.getStatesCount(), 0);
                EXPECT_TRUE(vm.getUserMessage().contains(QString::number(end, 'f', 3) + "s"))
                    << qPrintable(vm.getUserMessage());
            }
            vm.clearUserMessage();
            vm.addRamp(0, VM::RAMP_ITEM_TYPE_RANGE, 60.0, 1.0, end + 0.001);
            EXPECT_EQ(vm.getStatesCount(), 1);
            EXPECT_TRUE(vm.getUserMessage().isEmpty()) << qPrintable(vm.getUserMessage());
        }
    }
}

TEST_F(RampingModelTest, BufferKeepsTheActiveStateOutsideARun)
{
    RampingModel vm;
    vm.testActive();
    vm.setOutputRange(port(kUA), 10.0);
    {
        ModelRampingEntity& e = entity();
        QMutexLocker lock(&e.entityLock);
        e.outputRanges[kUA] = 99.0;
    }
    for (auto type : {VM::DATA_TYPE_RT_STATE, VM::DATA_TYPE_TEST_OUTPUTVI, VM::DATA_TYPE_TEST_OUTPUTDATA}) {
        vm.updateEntToVM(type, -1, false);
        EXPECT_EQ(vm.getOutputRange(port(kUA)), 10.0) << type;
    }
}
