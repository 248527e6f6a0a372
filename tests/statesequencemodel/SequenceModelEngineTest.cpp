// The state-sequence view model against the real engine and the simulated
// instrument, with the page's part played by the test (it follows the
// running state and logs its binary-output changes): twelve states through
// the ring with every kind of trigger and a threshold relay, a run without a
// trip after one with trips, stopped part-way, and an edit during a run.
// Every TEST runs in a process of its own (see EngineFixture.h).

#include "../run_protection/RunProtectionSupport.h"
#include "SequenceModelSupport.h"

#include "SimClockBlock.h"
#include "SimFixedDelayRelay.h"
#include "SimThresholdRelay.h"

#include <atomic>
#include <vector>

using namespace sstest;
using enginetest::waitFor;

namespace {

// How far a time the polling loop measured may lie from what the instrument
// played: the loop times the states between its passes, in single precision.
constexpr double kAllowance = 0.1;
constexpr double kRelayDelay = 1.2;

class SequenceModelEngine : public RunProtectionTest
{
protected:
    // The polling loop's times are judged against the instrument's: the
    // runs go at real speed, so that a pass a busy machine delays by some
    // milliseconds stays well inside the allowance.
    void SetUp() override
    {
        RunProtectionTest::SetUp();
        zoplat::setTimeScale(1.0);
    }

    // The page: it follows the state being output and logs its binary outputs.
    void follow(SeqModel& vm)
    {
        QObject::connect(&vm, &ViewBaseModel::sigUpdateStateIndexToView, &vm, [this, &vm](int index) {
            if (!vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) || index < 0 || index >= vm.getStateCount())
                return;
            vm.setActiveIndex(index);
            vm.addBOEventRecord(index);
            seen.push_back(index);
        });
    }
    bool waitRunning(SeqModel& vm, bool running)
    {
        return waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == (running ? 1 : 0); })
            && (running || waitEnded());
    }
    // The model's three default states, 1 s each on time (input 1 watched
    // both ways), run to their end.
    void runDefaultStates(SeqModel& vm)
    {
        vm.testActive();
        ASSERT_EQ(vm.getStateCount(), 3);
        ASSERT_TRUE(vm.testStart());
        ASSERT_TRUE(waitRunning(vm, true));
        ASSERT_TRUE(waitRunning(vm, false));
    }
    bool waitActive(SeqModel& vm, int index)
    {
        return waitFor([&] { return vm.getActiveIndex() >= index; });
    }
    // A threshold relay on IA that closes input 1 `kRelayDelay` after 1.5 A.
    void plugRelay()
    {
        zorsim::ThresholdRelaySettings s;
        s.channel = ModelEntity::AO_PORT_TYPE_IA;
        s.pickup = 1.5;
        s.pickupDelaySeconds = kRelayDelay;
        s.binaryInput = 0;
        sim->plugIn(std::make_shared<zorsim::ThresholdRelay>(s));
    }
    // A state of the run: IA, its trigger and time; input 1 watched rising.
    static void setState(SeqModel& vm, int s, double ia, VM::AOTriggerType trigger, double seconds)
    {
        while (vm.getStateCount() <= s)
            vm.addState();
        vm.setOutputRange(s, port(0), 10.0 + s);   // tells the pages apart
        vm.setOutputRange(s, port(4), ia);
        vm.setTriggerType(s, trigger);
        vm.setOutputTime(s, seconds);
        for (int k = 0; k < 4; ++k)
            vm.setOutputBIState(s, k, k == 0 ? VM::AO_BI_STATE_OFFON : VM::AO_BI_STATE_NONE);
    }

    std::vector<int> seen;
};

} // namespace

TEST_F(SequenceModelEngine, TwelveStatesWithEveryTriggerAreFollowedTimedAndLogged)
{
    // The instrument's clock on an IRIG-B reference, so that the driver
    // arms the pulses of the product's trigger-time list.
    sim->withClockBlock([](zorsim::SimClockBlock& b) { b.setIrigbReference(1709251195); });
    center->testConfiguration->clockSource = ControllerConfiguration::CLOCK_SOURCE_IRIG_B;
    initialise();
    ASSERT_TRUE(waitFor([this] { return runtime([](ControllerRuntime& rt) { return rt.clockSyncState; }); }));
    auto log = plugPageLog();
    plugRelay();

    SeqModel vm;
    vm.testActive();
    follow(vm);
    using T = VM::AOTriggerType;
    const struct
    {
        double ia;
        T trigger;
        double seconds;
    } rows[12] = {
        {0.0, VM::AO_TRIGGER_TYPE_TIME, 1.0},        {2.0, VM::AO_TRIGGER_TYPE_BINARY, 0.0},
        {0.0, VM::AO_TRIGGER_TYPE_TIME, 1.0},        {2.0, VM::AO_TRIGGER_TYPE_TIME_BINARY, 5.0},
        {0.0, VM::AO_TRIGGER_TYPE_KEY_PRESS, 0.0},   {0.0, VM::AO_TRIGGER_TYPE_GPS_IRIGB, 0.0},
        {2.0, VM::AO_TRIGGER_TYPE_TIME, 1.5},        {0.0, VM::AO_TRIGGER_TYPE_TIME, 1.0},
        {0.0, VM::AO_TRIGGER_TYPE_TIME, 1.0},        {0.0, VM::AO_TRIGGER_TYPE_TIME, 1.0},
        {0.0, VM::AO_TRIGGER_TYPE_TIME, 1.0},        {0.0, VM::AO_TRIGGER_TYPE_TIME, 1.0},
    };
    for (int s = 0; s < 12; ++s)
        setState(vm, s, rows[s].ia, rows[s].trigger, rows[s].seconds);
    vm.setOutputBOState(0, 0, 1);
    vm.setOutputBOState(6, 1, 1);
    // A GPS state starts only with a trigger time set: an hour ahead here,
    // replaced by the one it ends on once it plays.
    uint32_t later = 0;
    sim->withClockBlock([&](zorsim::SimClockBlock& b) { later = b.fpgaSeconds() + 3600; });
    center->testConfiguration->ppxUTCTimeList = {later};
    vm.setClockPPXConfig();
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));

    // The key ends state 5 a second after it began.
    ASSERT_TRUE(waitActive(vm, 4));
    const double keyFrom = sim->nowSeconds();
    ASSERT_TRUE(waitFor([&] { return sim->nowSeconds() >= keyFrom + 1.0; }));
    vm.testKeyPress();

    // State 6 waits for the pulse armed three seconds ahead.
    ASSERT_TRUE(waitActive(vm, 5));
    uint32_t second = 0;
    sim->withClockBlock([&](zorsim::SimClockBlock& b) { second = b.fpgaSeconds() + 3; });
    center->testConfiguration->ppxUTCTimeList = {second};
    vm.setClockPPXConfig();
    ASSERT_EQ(vm.getActiveIndex(), 5);
    ASSERT_TRUE(waitRunning(vm, false));

    std::vector<uint32_t> fired;
    sim->withClockBlock([&](zorsim::SimClockBlock& b) {
        for (const zorsim::SimClockBlock::Pulse& p : b.firedPulses())
            fired.push_back(p.second);
    });
    EXPECT_EQ(fired, std::vector<uint32_t>{second});

    // Played durations: from one page's start to the next one's.
    const std::vector<runprotection::PageLog::Entry> played = log->all();
    ASSERT_EQ(played.size(), 12u);
    std::vector<double> durations;
    for (size_t s = 0; s + 1 < played.size(); ++s)
        durations.push_back(double(played[s + 1].startNs - played[s].startNs) / 1e9);
    durations.push_back(1.0);
    EXPECT_GT(durations[5], 2.0);
    EXPECT_LE(durations[5], 3.0 + kAllowance);

    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 11);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    const double trip = runprotection::recordedTripTime(kRelayDelay, debounceSeconds());
    std::vector<double> begin(1, 0.0);
    for (int s = 0; s < 12; ++s) {
        SCOPED_TRACE(s);
        EXPECT_NEAR(double(played[size_t(s)].amplitude(0)), 10.0 + s, 1e-3);
        EXPECT_EQ(vm.getTestStates(s), VM::AO_STATE_TYPE_COMPLETED);
        EXPECT_NEAR(vm.testStates[size_t(s)].triggerTime, durations[size_t(s)], kAllowance);
        if (rows[s].ia > 0.0) {
            EXPECT_NEAR(vm.getActionTimes(s, 0), trip, 1e-3);
            EXPECT_EQ(vm.getActionBIStates(s, 0), 1);
        } else {
            EXPECT_TRUE(std::isnan(vm.getActionTimes(s, 0)));
        }
        begin.push_back(begin.back() + durations[size_t(s)]);
    }

    // The event log: in time order, each change once, at the played times.
    struct Expected
    {
        double time;
        int type;
        const char* signal;
        const char* slope;
    };
    const Expected expected[] = {
        {0.0, 1, "1", "0->1"},           {begin[1], 1, "1", "1->0"},          {begin[1] + trip, 0, "1", "0->1"},
        {begin[3] + trip, 0, "1", "0->1"}, {begin[6], 1, "2", "0->1"},        {begin[6] + trip, 0, "1", "0->1"},
        {begin[7], 1, "2", "1->0"},
    };
    ASSERT_EQ(vm.getEventRecorderCnt(), int(std::size(expected)));
    for (int i = 0; i < vm.getEventRecorderCnt(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(vm.getEventRecorderTime(i), expected[i].time, kAllowance);
        EXPECT_EQ(vm.getEventRecorderType(i), expected[i].type);
        EXPECT_EQ(vm.getEventRecorderSignalName(i), expected[i].signal);
        EXPECT_EQ(vm.getEventRecorderSlop(i), expected[i].slope);
        if (i > 0) {
            EXPECT_LE(vm.getEventRecorderTime(i - 1), vm.getEventRecorderTime(i));
        }
    }
}

TEST_F(SequenceModelEngine, ARunWithoutATripShowsNoOldActionAndStopsWhereItWas)
{
    initialise();
    auto log = plugPageLog();
    plugRelay();
    SeqModel vm;
    vm.testActive();
    follow(vm);

    // A run with a trip in its first state.
    setState(vm, 0, 2.0, VM::AO_TRIGGER_TYPE_TIME, 1.5);
    setState(vm, 1, 0.0, VM::AO_TRIGGER_TYPE_TIME, 1.0);
    vm.removeState(2);
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    ASSERT_TRUE(waitRunning(vm, false));
    ASSERT_FALSE(std::isnan(vm.getActionTimes(0, 0)));
    ASSERT_EQ(vm.getEventRecorderCnt(), 1);

    // Eight states without a trip, stopped in state 5; state 4 edited while state 3 plays.
    for (int s = 0; s < 8; ++s)
        setState(vm, s, 0.0, VM::AO_TRIGGER_TYPE_TIME, s == 4 ? 60.0 : 1.0);
    const size_t before = log->all().size();
    const int notices = gui.count(ControllerRuntime::DATA_TYPE_RT_STATE, ControllerRuntime::STATE_TYPE_RUNNING);
    ASSERT_TRUE(vm.testStart());
    EXPECT_EQ(vm.getEventRecorderCnt(), 0);
    ASSERT_TRUE(waitRunning(vm, true));
    EXPECT_TRUE(std::isnan(vm.getActionTimes(0, 0)));
    ASSERT_TRUE(waitActive(vm, 2));
    vm.setOutputRange(3, port(0), 99.0);
    ASSERT_TRUE(waitActive(vm, 4));
    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));

    const std::vector<runprotection::PageLog::Entry> played = log->all();
    ASSERT_GE(played.size(), before + 5);
    EXPECT_NEAR(played[before + 3].amplitude(0), 13.0, 1e-3);
    EXPECT_EQ(vm.getActiveIndex(), 4);
    for (int s = 0; s < 8; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(vm.getTestStates(s), s <= 4 ? VM::AO_STATE_TYPE_COMPLETED : VM::AO_STATE_TYPE_INITING);
        EXPECT_TRUE(std::isnan(vm.getActionTimes(s, 0)));
    }
    EXPECT_EQ(vm.getEventRecorderCnt(), 0);

    // The runtime follows each run-state change of these runs with an action notice.
    const std::vector<enginetest::Notice> all = gui.all();
    int changes = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        if (!(all[i] == enginetest::Notice{ControllerRuntime::DATA_TYPE_RT_STATE, ControllerRuntime::STATE_TYPE_RUNNING}))
            continue;
        ++changes;
        ASSERT_LT(i + 1, all.size());
        EXPECT_EQ(all[i + 1], (enginetest::Notice{ControllerRuntime::DATA_TYPE_TEST_ACTIONDATA, -1})) << i;
    }
    EXPECT_GE(changes, notices + 2);
}

// A trip that ends a state and the relay's drop-off on the next page, both
// read by the polling loop while the testor is held busy: when the testor
// takes the two reports, each is still credited to the state whose page
// recorded it.
TEST_F(SequenceModelEngine, ActionsReadBeforeTheTestorTakesThemKeepTheirStates)
{
    initialise();
    plugRelay();
    SeqModel vm;
    vm.testActive();
    follow(vm);
    setState(vm, 0, 0.0, VM::AO_TRIGGER_TYPE_TIME, 0.5);
    setState(vm, 1, 2.0, VM::AO_TRIGGER_TYPE_TIME_BINARY, 5.0);
    setState(vm, 2, 0.0, VM::AO_TRIGGER_TYPE_TIME, 1.0);
    vm.setOutputBIState(2, 0, VM::AO_BI_STATE_ONOFF);
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitActive(vm, 1));
    std::atomic<bool> held{true};
    QMetaObject::invokeMethod(
        center->testTestor, [&held] { while (held.load()) QThread::msleep(1); }, Qt::QueuedConnection);
    EXPECT_TRUE(waitFor([] { return globalTestStatusData->statusTestActionStateIndex == 2; }));
    held = false;
    ASSERT_TRUE(waitRunning(vm, false));

    EXPECT_NEAR(vm.getActionTimes(1, 0), kRelayDelay, kAllowance);
    EXPECT_FALSE(std::isnan(vm.getActionTimes(2, 0)));
}

// Each state reads the time the instrument played (1000.000 ms, 130.000 ms:
// the ticks it was written with), so the span from state 1 to state 3 is
// twice that exactly and passes with no deviation.
TEST_F(SequenceModelEngine, TimedStatesReadTheTimeTheInstrumentPlayed)
{
    initialise();
    SeqModel vm;
    for (const double seconds : {1.0, 0.13}) {
        SCOPED_TRACE(seconds);
        for (int s = 0; s < 3; ++s)
            vm.setOutputTime(s, seconds);
        // The last round's assessment: states of these times cannot reach it.
        vm.clearAssess();
        runDefaultStates(vm);
        for (int s = 0; s < 3; ++s)
            EXPECT_EQ(vm.testStates[size_t(s)].triggerTime, seconds) << s;
        ASSERT_TRUE(vm.addAssess());
        vm.setAssessStart(0, 0);
        vm.setAssessStop(0, 2);
        vm.setSettingTime(0, 2 * seconds);
        vm.setDevTime(0, 0.0);
        ASSERT_EQ(vm.getAssessCount(), 1);
        EXPECT_EQ(vm.getActionTime(0), 2 * seconds);
        EXPECT_EQ(vm.getAssessResult(0), VM::AO_Result_TYPE_SUCCESS);
    }
}

// A contact that opens as each state begins and closes 0.2 s later: each
// logged action shows the change it made, the closings at 0.2, 1.2, 2.2 s.
TEST_F(SequenceModelEngine, RecorderShowsTheChangeEachInputActionMade)
{
    initialise();
    zorsim::FixedDelayRelaySettings relay;
    relay.delaySeconds = 0.2;
    sim->plugIn(std::make_shared<zorsim::FixedDelayRelay>(relay));
    SeqModel vm;
    follow(vm);
    runDefaultStates(vm);
    std::vector<double> closings;
    for (int i = 0; i < vm.getEventRecorderCnt(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(vm.getEventRecorderType(i), 0);
        const QString slope = vm.getEventRecorderSlop(i);
        EXPECT_TRUE(slope == "0->1" || slope == "1->0") << qPrintable(slope);
        if (slope == "0->1")
            closings.push_back(vm.getEventRecorderTime(i));
    }
    ASSERT_EQ(closings.size(), 3u);
    for (size_t k = 0; k < 3; ++k)
        EXPECT_NEAR(closings[k], 0.2 + double(k), 1e-6);
}

// Two relays that close 30 ms and 40 ms into each state and open as the next
// begins, the first state 60 ms: both openings are read as one action, and
// every input that changed has its own event, in time order (ties by input).
TEST_F(SequenceModelEngine, RecorderKeepsEveryInputAnActionChanged)
{
    initialise();
    // Far enough apart that a late pass of the polling loop (a loaded
    // machine, the sanitizers) still reads each input's own stamp.
    for (const auto& [delay, input] : {std::pair<double, int>{0.03, 0}, {0.2, 2}}) {
        zorsim::FixedDelayRelaySettings relay;
        relay.delaySeconds = delay;
        relay.binaryInput = input;
        sim->plugIn(std::make_shared<zorsim::FixedDelayRelay>(relay));
    }
    SeqModel vm;
    follow(vm);
    vm.setOutputTime(0, 0.3);
    runDefaultStates(vm);

    struct Expected
    {
        double time;
        const char* signal;
        const char* slope;
    };
    // An opening confirmed as its state begins reads the least time, 1 ms.
    const Expected expected[] = {
        {0.03, "1", "0->1"},  {0.2, "3", "0->1"},   {0.301, "1", "1->0"}, {0.301, "3", "1->0"},
        {0.33, "1", "0->1"},  {0.5, "3", "0->1"},   {1.301, "1", "1->0"}, {1.301, "3", "1->0"},
        {1.33, "1", "0->1"},  {1.5, "3", "0->1"},
    };
    ASSERT_EQ(vm.getEventRecorderCnt(), int(std::size(expected)));
    for (int i = 0; i < vm.getEventRecorderCnt(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(vm.getEventRecorderTime(i), expected[i].time, 1e-6);
        EXPECT_EQ(vm.getEventRecorderType(i), 0);
        EXPECT_EQ(vm.getEventRecorderSignalName(i), expected[i].signal);
        EXPECT_EQ(vm.getEventRecorderSlop(i), expected[i].slope);
    }
}

// A GPS/IRIG-B state starts only with trigger times the instrument holds:
// the start's one rule, read there for the page as for a PC. Times listed
// but not yet sent to it refuse the start, naming the state; times it holds
// run it, though the list has been emptied since.
TEST_F(SequenceModelEngine, AGpsStateStartsOnlyWithTriggerTimesTheInstrumentHolds)
{
    initialise();
    SeqModel vm;
    vm.testActive();
    follow(vm);
    setState(vm, 0, 0.0, VM::AO_TRIGGER_TYPE_TIME, 0.2);
    setState(vm, 1, 0.0, VM::AO_TRIGGER_TYPE_GPS_IRIGB, 0.0);
    vm.removeState(2);
    QList<quint32>& list = center->testConfiguration->ppxUTCTimeList;
    list = {0xFFFFFFFFu};
    ASSERT_EQ(globalClockPPXData->clk_ppx_count, 0u);
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitFor([&] { return vm.getExitEnabled(); }));
    EXPECT_EQ(vm.getUserMessage(), QStringLiteral("状态2由GPS/IRIG-B触发，但未设置触发时间，试验未开始。"));
    EXPECT_EQ(testor().lastStartRefusalReason(), ControllerTestor::REFUSAL_TRIGGER_TIME);

    vm.setClockPPXConfig();
    list.clear();
    vm.clearUserMessage();
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitActive(vm, 1));
    EXPECT_TRUE(vm.getUserMessage().isEmpty()) << qPrintable(vm.getUserMessage());
    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));
}
