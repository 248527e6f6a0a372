// The state-sequence view model's own logic, no instrument: the state list
// and its neutral reads, the quick-set keys and the fault state, the push at
// a start, the assessments and the event recorder.

#include "SequenceModelSupport.h"

#include "BaseModelDataDistance.h"
#include "ViewAlternateModel.h"

#include <string>
#include <vector>

using namespace sstest;

namespace {

// The states by their UA amplitude (a new state has 0), and their links.
std::vector<double> marks(const SeqModel& vm)
{
    std::vector<double> v;
    for (int s = 0; s < vm.getStateCount(); ++s)
        v.push_back(vm.getOutputRange(s, port(0)));
    return v;
}
std::vector<int> links(const SeqModel& vm)
{
    std::vector<int> v;
    for (int s = 0; s < vm.getStateCount(); ++s)
        v.push_back(vm.getOutputLinkType(s));
    return v;
}

// A model of n states marked 101, 102, ..., all linked INITIATE, state `active` active.
void shape(SeqModel& vm, int n, int active)
{
    while (vm.getStateCount() < n)
        vm.addState();
    while (vm.getStateCount() > n)
        vm.removeState(vm.getStateCount() - 1);
    for (int s = 0; s < n; ++s) {
        vm.setOutputRange(s, port(0), 101.0 + s);
        vm.setOutputLinkType(s, VM::AO_LINKSTATE_TYPE_INITIATE);
    }
    vm.setActiveIndex(active);
}

struct Event
{
    double time;
    int type;
    std::string signal, slope;
};

std::vector<Event> events(const SeqModel& vm)
{
    std::vector<Event> v;
    for (int i = 0; i < vm.getEventRecorderCnt(); ++i)
        v.push_back({vm.getEventRecorderTime(i), vm.getEventRecorderType(i),
                     vm.getEventRecorderSignalName(i).toStdString(), vm.getEventRecorderSlop(i).toStdString()});
    return v;
}

void expectEvents(const SeqModel& vm, const std::vector<Event>& expected)
{
    const std::vector<Event> got = events(vm);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(i);
        if (std::isnan(expected[i].time))
            EXPECT_TRUE(std::isnan(got[i].time));
        else
            EXPECT_NEAR(got[i].time, expected[i].time, 1e-9);
        EXPECT_EQ(got[i].type, expected[i].type);
        EXPECT_EQ(got[i].signal, expected[i].signal);
        EXPECT_EQ(got[i].slope, expected[i].slope);
    }
}

// The action of input k (0..3) in state s as the engine records it, then its notice.
void deliverAction(SeqModel& vm, std::initializer_list<std::tuple<int, int, double, int>> actions)
{
    deliver(vm, VM::DATA_TYPE_TEST_ACTIONDATA, [&](ModelStateSequenceEntity& e) {
        for (const auto& [s, k, time, bits] : actions) {
            e.stateActionTimes[s][k] = time;
            e.stateActionBIStates[s][k] = bits;
        }
    });
}

} // namespace

TEST_F(SequenceModelTest, FreshListAndItsOperations)
{
    SeqModel fresh;
    ASSERT_EQ(fresh.getStateCount(), 3);
    EXPECT_EQ(links(fresh), (std::vector<int>{1, 0, 0}));
    for (int s = 0; s < 3; ++s) {
        EXPECT_EQ(fresh.getOutputRange(s, port(2)), 57.735);
        EXPECT_EQ(fresh.getOutputAngle(s, port(1)), 240.0);
        EXPECT_EQ(fresh.getOutputRange(s, port(6)), 1.0);
        EXPECT_EQ(fresh.getOutputRange(s, port(3)), 0.0);   // three-phase unit: no UX
        EXPECT_EQ(fresh.getOutputTime(s), 1.0);
        EXPECT_EQ(fresh.getTriggerType(s), VM::AO_TRIGGER_TYPE_TIME);
    }

    struct Row
    {
        const char* name;
        int count, active;
        std::function<void(SeqModel&)> op;
        std::vector<double> marks;
        std::vector<int> links;
        int active2;
    };
    const Row rows[] = {
        {"add", 3, 0, [](SeqModel& vm) { vm.addState(); }, {101, 102, 103, 0}, {1, 1, 1, 0}, 3},
        {"add at 32", 32, 4, [](SeqModel& vm) { vm.addState(); }, {}, {}, 4},
        {"insert first", 3, 2, [](SeqModel& vm) { vm.insertState(0); }, {0, 101, 102, 103}, {1, 1, 1, 1}, 0},
        {"insert middle", 3, 0, [](SeqModel& vm) { vm.insertState(1); }, {101, 0, 102, 103}, {1, 0, 1, 1}, 1},
        {"insert at 32", 32, 4, [](SeqModel& vm) { vm.insertState(1); }, {}, {}, 4},
        {"insert at -1", 3, 1, [](SeqModel& vm) { vm.insertState(-1); }, {101, 102, 103}, {1, 1, 1}, 1},
        {"insert at count", 3, 1, [](SeqModel& vm) { vm.insertState(3); }, {101, 102, 103}, {1, 1, 1}, 1},
        {"remove the only state", 1, 0, [](SeqModel& vm) { vm.removeState(0); }, {101}, {1}, 0},
        {"remove the first of two", 2, 0,
         [](SeqModel& vm) {
             vm.setOutputLinkType(1, VM::AO_LINKSTATE_TYPE_CONTINUE);
             vm.removeState(0);
         },
         {102}, {1}, 0},
        {"remove the active last", 3, 2, [](SeqModel& vm) { vm.removeState(2); }, {101, 102}, {1, 1}, 1},
        {"remove at -1", 3, 1, [](SeqModel& vm) { vm.removeState(-1); }, {101, 102, 103}, {1, 1, 1}, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SeqModel vm;
        shape(vm, row.count, row.active);
        const std::vector<double> before = marks(vm);
        row.op(vm);
        EXPECT_EQ(marks(vm), row.marks.empty() ? before : row.marks);
        if (!row.links.empty()) {
            EXPECT_EQ(links(vm), row.links);
        }
        EXPECT_EQ(vm.getActiveIndex(), row.active2);
    }

    // A new state: no amplitude, the rated frequency where the unit has the port.
    SeqModel vm;
    vm.addState();
    EXPECT_EQ(vm.getOutputRange(3, port(4)), 0.0);
    EXPECT_EQ(vm.getOutputFrequency(3, port(4)), 50.0);
    EXPECT_EQ(vm.getOutputFrequency(3, port(7)), 0.0);
    EXPECT_EQ(vm.getOutputAngle(3, port(2)), 120.0);
}

TEST_F(SequenceModelTest, IndexesOutsideTheListGiveNeutralValues)
{
    SeqModel vm;
    for (int bad : {-1, 3}) {
        vm.setOutputTime(bad, 5.0);
        vm.setActiveIndex(bad);
        EXPECT_EQ(vm.getOutputTime(bad), 0.0);
        EXPECT_EQ(vm.getOutputLinkType(bad), VM::AO_LINKSTATE_TYPE_INITIATE);
        EXPECT_EQ(vm.getTriggerType(bad), VM::AO_TRIGGER_TYPE_TIME);
        EXPECT_TRUE(std::isnan(vm.getActionTimes(bad, 0)));
        EXPECT_EQ(vm.getActionBIStates(bad, 0), -1);
    }
    EXPECT_EQ(vm.getActionBIStates(0, 4), -1);
    EXPECT_EQ(vm.getActiveIndex(), 0);
    EXPECT_EQ(vm.getOutputTime(2), 1.0);
}

TEST_F(SequenceModelTest, QuickSetKeysAndTheFaultStateActOnTheActiveStateOnly)
{
    SeqModel vm;
    vm.testActive();
    vm.setActiveIndex(1);
    vm.setOutputRange(1, port(0), 30.0);
    vm.setBalanceRange(port(0));
    EXPECT_EQ(vm.getOutputRange(1, port(1)), 30.0);
    EXPECT_EQ(vm.getOutputRange(1, port(3)), 30.0);   // UX too, on a three-phase unit
    EXPECT_EQ(vm.getOutputRange(0, port(3)), 0.0);
    vm.setOutputFrequency(1, port(7), 60.0);
    {
        QMutexLocker lock(&entity().entityLock);
        EXPECT_EQ(entity().stateCount, 0);   // nothing pushed
    }

    // The fault state: amplitudes and angles of the active state; frequencies stay.
    BaseModelDataDistance* distance = BaseModelDataDistance::getInstance();
    const BaseModelDataDistance saved(*distance);
    distance->distanceKind = BaseModelDataDistance::DISTANCE_TYPE_ICONSTANT;
    distance->faultKind = BaseModelDataDistance::FAULT_TYPE_A_E;
    distance->faultCurrentRange = 5.0;
    distance->shortImpedance = BaseDataVector(2.0, 75.0);
    BaseModelDataDistance copy(*distance);
    BaseDataPhaseValue expected[8];
    ASSERT_TRUE(copy.compute(expected));
    ASSERT_TRUE(vm.doComputerDistance());
    for (int p = 0; p < 8; ++p) {
        EXPECT_NEAR(vm.getOutputRange(1, port(p)), expected[p].getRange(), 1e-9) << p;
        EXPECT_NEAR(vm.getOutputAngle(1, port(p)), expected[p].getAngle(), 1e-9) << p;
    }
    EXPECT_EQ(vm.getOutputFrequency(1, port(7)), 60.0);
    EXPECT_EQ(marks(vm)[0], 57.735);
    EXPECT_EQ(vm.getOutputRange(2, port(4)), 1.0);

    // A fault that cannot be calculated leaves the state and says so in the AC page's words.
    distance->distanceKind = BaseModelDataDistance::DISTANCE_TYPE_VCONSTANT;
    distance->faultVoltageRange = 10.0;
    distance->shortImpedance = BaseDataVector(0.0, 75.0);
    ViewAlternateModel ac;
    EXPECT_FALSE(ac.doComputerDistance());
    QStringList texts;
    QObject::connect(&vm, &ViewSourceTestModel::sigUserMessage, [&texts](const QString& t) { texts << t; });
    const double ia = vm.getOutputRange(1, port(4));
    EXPECT_FALSE(vm.doComputerDistance());
    EXPECT_EQ(vm.getOutputRange(1, port(4)), ia);
    EXPECT_EQ(texts, QStringList{ac.getUserMessage()});
    distance->setValue(saved);
}

TEST_F(SequenceModelTest, StartPushCopiesTheListAndTheStopCompletesTheRunningState)
{
    SeqModel vm;
    vm.testActive();
    vm.addState();
    vm.setOutputLinkType(0, VM::AO_LINKSTATE_TYPE_CONTINUE);
    vm.setOutputRange(2, port(0), 500.0);
    vm.setOutputTime(3, 2.5);
    vm.setOutputBOState(1, 2, 1);
    vm.setTriggerType(3, VM::AO_TRIGGER_TYPE_GPS_IRIGB);

    // An output push (an edit during a run) carries nothing.
    vm.updateVMToEnt(VM::DATA_TYPE_TEST_OUTPUTVI, -1, false);
    QMutexLocker lock(&entity().entityLock);
    const ModelStateSequenceEntity& e = entity();
    EXPECT_EQ(e.stateCount, 0);
    lock.unlock();
    vm.updateVMToEnt(VM::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    lock.relock();
    EXPECT_EQ(e.stateCount, 4);
    EXPECT_EQ(e.stateOutputLinkTypes[0], ModelEntity::AO_LINKSTATE_TYPE_INITIATE);
    EXPECT_EQ(e.stateOutputLinkTypes[1], ModelEntity::AO_LINKSTATE_TYPE_CONTINUE);
    EXPECT_EQ(e.stateOutputRanges[2][0], 265.0);   // clamped in the entity only
    EXPECT_EQ(vm.getOutputRange(2, port(0)), 500.0);
    EXPECT_EQ(e.stateOutputTimes[3], 2.5);
    EXPECT_EQ(e.stateOutputBOStates[1][2], 1);
    EXPECT_EQ(e.stateTriggerTypes[3], ModelEntity::AO_TRIGGER_TYPE_GPS);
    lock.unlock();

    // The stop: the state that was running is completed, in the entity too.
    deliver(vm, VM::DATA_TYPE_TEST_OUTPUTDATA, [](ModelStateSequenceEntity& x) {
        x.stateTestStates[0] = ModelEntity::AO_STATE_TYPE_COMPLETED;
        x.stateTestStates[1] = ModelEntity::AO_STATE_TYPE_RUNNNING;
    });
    vm.doSwitchToStopState();
    EXPECT_EQ(vm.getTestStates(1), VM::AO_STATE_TYPE_COMPLETED);
    EXPECT_EQ(vm.getTestStates(2), VM::AO_STATE_TYPE_INITING);
    lock.relock();
    EXPECT_EQ(e.stateTestStates[1], ModelEntity::AO_STATE_TYPE_COMPLETED);
}

TEST_F(SequenceModelTest, AssessmentsJudgeTheSpanOfStates)
{
    struct Row
    {
        const char* name;
        std::initializer_list<double> durations;   // NaN: not completed
        int start, stop;
        double setting, dev;
        double time;   // NaN: none
        int result;
    };
    const Row rows[] = {
        {"forward", {1.001, 0.998, 1.002}, 0, 2, 2.0, 0.1, 1.999, VM::AO_Result_TYPE_SUCCESS},
        {"backward", {1.001, 0.998, 1.002}, 2, 0, 2.0, 0.1, 1.999, VM::AO_Result_TYPE_SUCCESS},
        {"one state", {1.001, 0.998, 1.002}, 1, 1, 1.0, 0.1, 0.998, VM::AO_Result_TYPE_SUCCESS},
        {"too slow", {1.001, 0.998, 1.002}, 0, 2, 1.5, 0.1, 1.999, VM::AO_Result_TYPE_FAILED},
        {"on the boundary", {1.1, 1.0, 1.0}, 0, 2, 2.0, 0.1, 2.1, VM::AO_Result_TYPE_SUCCESS},
        {"past the boundary", {1.100001, 1.0, 1.0}, 0, 2, 2.0, 0.1, 2.100001, VM::AO_Result_TYPE_FAILED},
        {"beyond the list", {1.0, 1.0, 1.0}, 0, 3, 2.0, 0.1, kNaN, VM::AO_Result_TYPE_FAILED},
        {"negative start", {1.0, 1.0, 1.0}, -1, 1, 2.0, 0.1, kNaN, VM::AO_Result_TYPE_FAILED},
        {"interrupted", {1.0, kNaN, kNaN}, 0, 2, 2.0, 0.1, kNaN, VM::AO_Result_TYPE_NONE},
        {"before the interruption", {1.0, kNaN, kNaN}, 0, 1, 1.0, 0.1, 1.0, VM::AO_Result_TYPE_SUCCESS},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SeqModel vm;
        vm.testActive();
        deliverDurations(vm, row.durations);
        ASSERT_TRUE(vm.addAssess());
        vm.setAssessStart(0, row.start);
        vm.setAssessStop(0, row.stop);
        vm.setSettingTime(0, row.setting);
        vm.setDevTime(0, row.dev);
        ASSERT_EQ(vm.getAssessCount(), 1);
        if (std::isnan(row.time))
            EXPECT_TRUE(std::isnan(vm.getActionTime(0)));
        else
            EXPECT_NEAR(vm.getActionTime(0), row.time, 1e-12);
        EXPECT_EQ(vm.getAssessResult(0), row.result);
    }

    // The list: at most 32, never emptied by removing, an index from nowhere ignored.
    SeqModel vm;
    for (int i = 0; i < 32; ++i)
        ASSERT_TRUE(vm.addAssess());
    EXPECT_FALSE(vm.addAssess());
    EXPECT_FALSE(vm.removeAssess(-1));
    EXPECT_TRUE(vm.removeAssess(31));
    EXPECT_EQ(vm.getAssessIndex(), 30);
    while (vm.removeAssess(0)) {
    }
    EXPECT_EQ(vm.getAssessCount(), 1);
    EXPECT_TRUE(vm.clearAssess());
    EXPECT_EQ(vm.getAssessCount(), 0);
}

// An assessment whose states cannot last a time in its window is refused at
// Start, saying so: a span a trip may end must reach the window's end, one
// on time alone lie in it; an input or key may end a state any time.
TEST_F(SequenceModelTest, AssessmentsTheirStatesCannotReachAreRefusedAtStart)
{
    constexpr auto T = VM::AO_TRIGGER_TYPE_TIME, TB = VM::AO_TRIGGER_TYPE_TIME_BINARY,
                   B = VM::AO_TRIGGER_TYPE_BINARY, K = VM::AO_TRIGGER_TYPE_KEY_PRESS;
    const struct
    {
        const char* name;
        std::vector<std::pair<VM::AOTriggerType, double>> states;
        int start, stop;
        double setting;
        const char* says;   // null: taken
    } rows[] = {
        {"on time, short of the window", {{T, 1.0}}, 0, 0, 2.0, "评估1的时间范围为1.900s至2.100s，所选状态却最长只持续1.000s"},
        {"on time, in the window", {{T, 1.0}}, 0, 0, 1.0, nullptr},
        {"on time, past the window", {{T, 2.5}}, 0, 0, 2.0, "至少持续2.500s"},
        {"time or input, short of its end", {{TB, 2.05}}, 0, 0, 2.0, "最长只持续2.050s"},
        {"time or input, to its end", {{TB, 2.1}}, 0, 0, 2.0, nullptr},
        {"input", {{B, 1.0}}, 0, 0, 2.0, nullptr},
        {"key", {{K, 1.0}}, 0, 0, 2.0, nullptr},
        {"two states short of the end", {{T, 1.0}, {TB, 1.0}, {T, 1.0}}, 0, 2, 2.0, "最长只持续2.000s"},
        {"backwards", {{T, 1.0}, {TB, 1.0}, {T, 1.0}}, 2, 0, 2.0, "最长只持续2.000s"},
        {"pre-fault on time past the window", {{T, 3.0}, {TB, 5.0}}, 0, 2, 2.0, "至少持续3.000s"},
        {"beyond the list: judged failed", {{T, 1.0}}, 0, 5, 2.0, nullptr},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        SeqModel vm;
        vm.testActive();
        shape(vm, int(r.states.size()) + 1, 0);
        for (size_t s = 0; s < r.states.size(); ++s) {
            vm.setTriggerType(int(s), r.states[s].first);
            vm.setOutputTime(int(s), r.states[s].second);
        }
        ASSERT_TRUE(vm.addAssess());
        vm.setAssessStart(0, r.start);
        vm.setAssessStop(0, r.stop);
        vm.setSettingTime(0, r.setting);
        EXPECT_FALSE(vm.testStart());   // no instrument here
        const QString said = vm.getUserMessage();
        if (r.says)
            EXPECT_TRUE(said.contains(QString::fromUtf8(r.says))) << qPrintable(said);
        else
            EXPECT_FALSE(said.contains(QString::fromUtf8("评估"))) << qPrintable(said);
    }
}

TEST_F(SequenceModelTest, EventRecorderLogsEachChangeOnceInTimeOrder)
{
    SeqModel vm;
    vm.testActive();
    vm.addState();
    vm.setOutputBOState(0, 0, 1);
    vm.setOutputBOState(3, 1, 1);

    // Before a run this model followed, an old run's actions are not logged.
    deliverDurations(vm, {1.0, 1.0, 1.0, 1.0});
    deliverAction(vm, {{0, 1, 0.5, 1}});
    EXPECT_EQ(vm.getEventRecorderCnt(), 0);

    vm.updateVMToEnt(VM::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    vm.doSwitchToStartState();
    deliver(vm, VM::DATA_TYPE_TEST_ACTIONDATA, [](ModelStateSequenceEntity& e) { e.resetActionValues(); });
    vm.addBOEventRecord(0);
    vm.setOutputBOState(2, 2, 1);   // an edit during the run changes no output
    deliverDurations(vm, {1.0, kNaN, kNaN, kNaN});
    vm.setActiveIndex(1);
    vm.addBOEventRecord(1);
    // Input 2 acts 0.25 s into state 2; the notice comes again and again.
    for (int i = 0; i < 3; ++i)
        deliverAction(vm, {{1, 1, 0.25, 1}});
    // One notice with two actions of state 3 (began at 2.0 s), the later input first.
    deliverDurations(vm, {1.0, 1.0, kNaN, kNaN});
    vm.setActiveIndex(2);
    vm.addBOEventRecord(2);
    deliverAction(vm, {{2, 1, 0.25, 2}, {2, 0, 0.5, 1}});
    deliverAction(vm, {});
    // The notice of a state change handled late: the newer index twice.
    deliverDurations(vm, {1.0, 1.0, 1.0, kNaN});
    vm.addBOEventRecord(3);
    vm.addBOEventRecord(3);
    vm.addBOEventRecord(1);
    vm.addBOEventRecord(3);
    // An action of state 3 whose notice is handled after the page moved on.
    vm.setActiveIndex(3);
    deliverAction(vm, {{2, 3, 0.75, 1}});
    expectEvents(vm, {
                         {0.0, 1, "1", "0->1"},
                         {1.0, 1, "1", "1->0"},
                         {1.25, 0, "2", "0->1"},
                         {2.25, 0, "2", "1->0"},
                         {2.5, 0, "1", "0->1"},
                         {2.75, 0, "4", "0->1"},
                         {3.0, 1, "2", "0->1"},
                     });

    // A state without a duration: later times are unknown but still logged.
    vm.setOutputBOState(2, 2, 0);
    vm.doSwitchToStartState();
    vm.clearEventRecorder();
    vm.setOutputBOState(2, 3, 1);
    vm.updateVMToEnt(VM::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    deliver(vm, VM::DATA_TYPE_TEST_ACTIONDATA, [](ModelStateSequenceEntity& e) { e.resetActionValues(); });
    deliverDurations(vm, {kNaN, 1.0, kNaN, kNaN});
    vm.addBOEventRecord(0);
    vm.addBOEventRecord(2);
    vm.setActiveIndex(2);
    deliverAction(vm, {{2, 2, 0.1, 1}});
    expectEvents(vm, {
                         {0.0, 1, "1", "0->1"},
                         {kNaN, 1, "1", "1->0"},
                         {kNaN, 1, "4", "0->1"},
                         {kNaN, 0, "3", "0->1"},
                     });

    // A start the engine does not get leaves the list; only a load or a start empties it.
    EXPECT_FALSE(vm.testStart());
    EXPECT_EQ(vm.getEventRecorderCnt(), 4);
}

