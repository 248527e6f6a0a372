// The ramping view model against the real engine and the simulated
// instrument: three states, each ramp ended by a relay model, judged against
// the setting time; the list follows the engine's state; a stop in the
// second state; a pick-up and drop-off search at real time with the page's
// default (no pre-fault, no interval). Every TEST runs in a process of its
// own (see EngineFixture.h).

#include "../run_source/RunSourceSupport.h"
#include "RampingModelSupport.h"

#include "SimFrequencyRelay.h"
#include "SimHostFactory.h"
#include "SimPacer.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace rmtest;
using enginetest::waitFor;

namespace {

constexpr int kUA = 0, kUB = 1, kUC = 2, kIA = 4, kIB = 5, kIC = 6;
constexpr double kRated = 57.735;
constexpr double kStepTime = 3.0;

class RampingModelEngine : public RunSourceTest
{
protected:
    bool waitRunning(RampingModel& vm, bool running)
    {
        return waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == (running ? 1 : 0); })
            && (running || waitEnded());
    }
    // The watched inputs of state i: only `input` (0..3), with `logic`.
    static void watch(RampingModel& vm, int i, std::vector<int> inputs, VM::AOBILogicType logic)
    {
        for (int b = 0; b < 4; ++b) {
            const bool on = std::find(inputs.begin(), inputs.end(), b) != inputs.end();
            vm.setOutputBIState(i, b, on ? VM::AO_BI_STATE_ALL : VM::AO_BI_STATE_NONE);
        }
        vm.setOutputBILogic(i, logic);
    }
    // Three states, the relays each needs plugged (`withCurrentRelays`: the
    // two relays of state 2):
    // 1. UA 50 V up by 5 V: a threshold relay at 58 V (above the pre-fault's
    //    rated voltage), 1.0 s, on input 1;
    // 2. IAIBIC 1 A up by 1 A, inputs 2 AND 3: relays on IB at 1.5 A, 0.4 s, and on
    //    IA at 1.5 A, 0.5 s, which completes the AND;
    // 3. UAUBUC 50 Hz down by 0.5 Hz: the under-frequency relay on UB, 49.2 Hz, 1.0 s, input 4.
    void setUp(RampingModel& vm, bool withCurrentRelays)
    {
        vm.testActive();
        vm.updateDeviceConfig();
        vm.removeState();
        sim->unplugAll();
        plugRelay(kUA, 58.0, 1.0, 0);
        if (withCurrentRelays) {
            plugRelay(kIA, 1.5, 0.5, 1);
            plugRelay(kIB, 1.5, 0.4, 2);
        }
        zorsim::FrequencyRelaySettings f;
        f.channel = kUB;
        f.pickupHz = 49.2;
        f.delaySeconds = 1.0;
        f.binaryInput = 3;
        sim->plugIn(std::make_shared<zorsim::FrequencyRelay>(f));

        // Pre-fault (rated voltages) and interval (nothing) outputs of 3 s,
        // before every state, give the engine the time to write the state
        // after them.
        vm.setNormalEnable(true);
        vm.setOutputOnceOnly(false);
        vm.setNormalTime(kStepTime);
        vm.setIntervalEnable(true);
        vm.setIntervalTime(kStepTime);
        // Outputs entered after Add belong to the new (active) state.
        vm.addRamp(0, VM::RAMP_ITEM_TYPE_RANGE, 70.0, 5.0, kStepTime);
        vm.setOutputRange(port(kUA), 50.0);
        watch(vm, 0, {0}, VM::AO_BILOGIC_TYPE_OR);
        vm.addRamp(13, VM::RAMP_ITEM_TYPE_RANGE, 5.0, 1.0, kStepTime);   // IAIBIC on a three-phase unit
        vm.setOutputRange(port(kUA), 0.0);
        for (int c : {kIA, kIB, kIC})
            vm.setOutputRange(port(c), 1.0);
        watch(vm, 1, {1, 2}, VM::AO_BILOGIC_TYPE_AND);
        vm.addRamp(6, VM::RAMP_ITEM_TYPE_FREQUENCY, 45.0, -0.5, kStepTime);   // UAUBUC
        for (int c : {kIA, kIB, kIC})
            vm.setOutputRange(port(c), 0.0);
        watch(vm, 2, {3}, VM::AO_BILOGIC_TYPE_OR);
        for (int i = 0; i < 3; ++i) {
            vm.setSettingTime(i, 1.0);
            vm.setDevTime(i, 0.25);
        }
    }
};

} // namespace

TEST_F(RampingModelEngine, ThreeStatesEndedByRelaysAndJudged)
{
    initialise();
    RampingModel vm;
    setUp(vm, true);
    std::vector<int> listed;   // the list's state as the engine's state moves on
    QObject::connect(&vm, &ViewBaseModel::sigUpdateStateIndexToView, [&](int index) { listed.push_back(index / 3); });
    std::vector<double> shown;   // UA as the page reads it on every notice while the test runs
    QObject::connect(&vm, &ViewBaseModel::sigUpdateDataToView, [&](int, int) {
        if (vm.getState(ViewBaseModel::STATE_TYPE_RUNNING))
            shown.push_back(vm.getOutputRange(port(kUA)));
    });

    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    ASSERT_TRUE(waitRunning(vm, false));
    // The buffer showed the ramp as it ran.
    EXPECT_NE(std::find(shown.begin(), shown.end(), 55.0), shown.end());

    struct Row
    {
        double time;
        const char* value;
        int input;
        int result;
    };
    const Row rows[] = {
        {1.0, "60.000", 1, VM::AO_Result_TYPE_SUCCESS},
        {0.5, "2.000; 2.000; 2.000", 3, VM::AO_Result_TYPE_FAILED},   // the AND at the later relay
        {1.0, "49.000; 49.000; 49.000", 4, VM::AO_Result_TYPE_SUCCESS},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(vm.getTestStates(i), VM::AO_STATE_TYPE_COMPLETED);
        EXPECT_NEAR(vm.getActionTimes(i), rows[i].time, 2e-3);
        EXPECT_EQ(vm.getActionValue(i), QString::fromLatin1(rows[i].value));
        EXPECT_EQ(vm.getBinaryInputIndex(i), rows[i].input);
        EXPECT_EQ(vm.getTestResults(i), rows[i].result);
    }
    ASSERT_FALSE(listed.empty());
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
    EXPECT_EQ(listed.front(), 0);
    EXPECT_EQ(listed.back(), 2);
    // After the run the buffer holds the active state's values again.
    EXPECT_EQ(vm.getOutputRange(port(kUA)), vm.state(vm.getActiveIndex()).outputRanges[kUA]);
}

TEST_F(RampingModelEngine, StopInTheSecondState)
{
    initialise();
    RampingModel vm;
    setUp(vm, false);   // nothing ends the second ramp
    int lastIndex = -1;
    QObject::connect(&vm, &ViewBaseModel::sigUpdateStateIndexToView, [&](int index) { lastIndex = index; });

    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    ASSERT_TRUE(waitFor([&] { return lastIndex == 4 && vm.getTestStates(1) == VM::AO_STATE_TYPE_RUNNNING; }));
    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));

    EXPECT_EQ(vm.getTestResults(0), VM::AO_Result_TYPE_SUCCESS);
    // The stopped ramp, without a trip, has not been tested (nor failed).
    EXPECT_EQ(vm.getTestStates(1), VM::AO_STATE_TYPE_INITING);
    EXPECT_EQ(vm.getTestResults(1), VM::AO_Result_TYPE_NONE);
    EXPECT_EQ(vm.getBinaryInputIndex(1), -1);
    EXPECT_EQ(vm.getTestStates(2), VM::AO_STATE_TYPE_INITING);
    EXPECT_EQ(vm.getTestResults(2), VM::AO_Result_TYPE_NONE);
    // The stored settings are as they were; the buffer is the active state's.
    EXPECT_EQ(vm.state(0).outputRanges[kUA], 50.0);
    EXPECT_EQ(vm.state(1).outputRanges[kIA], 1.0);
    EXPECT_EQ(vm.state(2).outputRanges[kUB], kRated);
    EXPECT_EQ(vm.state(2).outputFrequencies[kUC], 50.0);
    const int active = vm.getActiveIndex();
    for (int p = 0; p < 8; ++p)
        EXPECT_EQ(vm.getOutputRange(port(p)), vm.state(active).outputRanges[p]) << p;
}

// Twenty runs at real time, in four processes of five that ctest can run side by side.
class RampingModelRealTime : public RampingModelEngine, public ::testing::WithParamInterface<int>
{
};

TEST_P(RampingModelRealTime, PickUpAndDropOffWithoutPreFaultOrInterval)
{
    atRealTime();
    initialise();
    RampingModel vm;
    vm.testActive();
    vm.updateDeviceConfig();
    vm.removeState();
    ASSERT_FALSE(vm.getNormalEnable());
    ASSERT_FALSE(vm.getIntervalEnable());
    // IA 4 -> 6 A by 0.1 A every 0.2 s, input 1 rising; then IA 5.5 -> 4 A,
    // input 1 falling. IA is row 7 on a three-phase unit. Expected in 0.03 s.
    vm.setSettingTime(-1, 0.03);
    vm.setDevTime(-1, 0.02);
    vm.addRamp(7, VM::RAMP_ITEM_TYPE_RANGE, 6.0, 0.1, 0.2);
    vm.setOutputRange(port(kIA), 4.0);
    vm.addRamp(7, VM::RAMP_ITEM_TYPE_RANGE, 4.0, -0.1, 0.2);
    vm.setOutputRange(port(kIA), 5.5);
    for (int b = 0; b < 4; ++b) {
        vm.setOutputBIState(0, b, b == 0 ? VM::AO_BI_STATE_OFFON : VM::AO_BI_STATE_NONE);
        vm.setOutputBIState(1, b, b == 0 ? VM::AO_BI_STATE_ONOFF : VM::AO_BI_STATE_NONE);
    }

    for (int run = 0; run < 5; ++run) {
        SCOPED_TRACE(run);
        sim->unplugAll();
        auto played = std::make_shared<runsource::PageRecorder>(kIA);
        sim->plugIn(played);
        plugRelay(kIA, 5.0, 0.03);   // drops off below 4.75 A at once
        ASSERT_TRUE(vm.testStart());
        ASSERT_TRUE(waitRunning(vm, true));
        ASSERT_TRUE(waitRunning(vm, false));
        EXPECT_EQ(vm.getActionValue(0).toStdString(), "5.000");
        EXPECT_EQ(vm.getActionValue(1).toStdString(), "4.700");
        // No page of the normal or interval output (0 A): the run begins
        // with the first ramp and goes from one ramp straight on to the next.
        const std::vector<double> ia = played->amplitudes();
        ASSERT_FALSE(ia.empty());
        EXPECT_NEAR(ia.front(), 4.0, 1e-3);
        EXPECT_TRUE(std::none_of(ia.begin(), ia.end(), [](double a) { return a < 1e-3; }));
    }
}

INSTANTIATE_TEST_SUITE_P(Batch, RampingModelRealTime, ::testing::Range(0, 4));

// The page's default (no pre-fault, no interval) at real time: UA 50 V up by
// 1 V a millisecond, steps shorter than the debounce (15 ms), and a relay
// that closes at once at 60 V, the ramp's last step. The run plays that step
// until the instrument has confirmed the contact, and the trip is found,
// valued with the step the relay saw.
TEST_F(RampingModelEngine, ATripInTheLastStepOfTheLastRampIsFound)
{
    atRealTime();
    initialise();
    RampingModel vm;
    vm.testActive();
    vm.updateDeviceConfig();
    vm.removeState();
    sim->unplugAll();
    auto pages = std::make_shared<runsource::PageRecorder>(kUA);
    sim->plugIn(pages);
    // Closes 10 ms into the last step, confirmed after that step's time.
    auto relay = plugRelay(kUA, 60.0, 0.01);
    // Steps shorter than the debounce are refused, saying why; steps as long
    // as it run. No window (0 ± 0 s): only the debounce bounds the steps.
    vm.setSettingTime(-1, 0.0);
    vm.setDevTime(-1, 0.0);
    for (double stepTime : {0.001, 0.015}) {
        vm.addRamp(0, VM::RAMP_ITEM_TYPE_RANGE, 60.0, 1.0, stepTime);
        vm.setOutputRange(port(kUA), 50.0);
        watch(vm, 0, {0}, VM::AO_BILOGIC_TYPE_OR);
        if (stepTime >= 0.015)
            break;
        EXPECT_EQ(refusedStart(vm).toStdString(),
                  "步长时间1 ms短于防抖时间15 ms：动作要到其后数步才被确认，无法确定动作值，试验未开始。");
        // A PC may write the ramp (state 1) no finite time, or more states
        // than there are: refused for that, not for the steps.
        ModelRampingEntity& e = entity();
        const double time = e.stateOutputTimes[1];
        const qint32 count = e.stateCount;
        const struct
        {
            double time;
            qint32 count;
            TT::StartRefusal reason;
        } spoilt[] = {{std::nan(""), count, TT::REFUSAL_VALUES},
                      {time, ModelRampingEntity::kMaxStates + 1, TT::REFUSAL_COUNT}};
        for (const auto& r : spoilt) {
            {
                QMutexLocker lock(&e.entityLock);
                e.stateOutputTimes[1] = r.time;
                e.stateCount = r.count;
            }
            EXPECT_FALSE(start(TT::TEST_RAMPING));
            EXPECT_EQ(testor().lastStartRefusalReason(), r.reason) << r.count;
        }
        EXPECT_TRUE(pages->amplitudes().empty());
        vm.removeState();
    }
    ASSERT_TRUE(runToEnd(vm));
    ASSERT_EQ(relay->pickupTimes().size(), 1u);
    EXPECT_NEAR(pages->playedAt(relay->pickupTimes()[0]), 60.0, 1e-3);
    EXPECT_EQ(vm.getBinaryInputIndex(0), 1);
    EXPECT_EQ(vm.getActionValue(0).toStdString(), "60.000");
}

// At real time, both edges watched, item 1 tripping a relay on UA: with no
// interval item 2 begins on the contact still closed (dropping off late or
// as item 2 begins) and reads "Not Reset" at once, its ramp not played; with
// an interval in which the contact opens within the debounce before item 2,
// the relay has reset and item 2 trips at 3 V. A trip ends its item's ramp
// at once: no step after the trip's plays its time (the page's default
// ramp, 0 V up by 1 V every 2 s, with a relay at 5 V after 0.95 s).
TEST_F(RampingModelEngine, ItemBegunOnAnOperatedRelayReadsNotResetAtOnce)
{
    atRealTime();
    initialise();
    RampingModel vm;
    vm.testActive();
    vm.updateDeviceConfig();
    const struct
    {
        const char* setup;
        double interval;
        double end, stepTime, setting;   // the items' ramps, and their T.nom
        const char* value;
        double time;
        bool passed;
    } rows[] = {{"timed:channel=UA,pickup=3,dropdelay=2.5,input=0", 0.0, 5.0, 0.5, 0.2, "3.000", 0.0, false},
                {"threshold:channel=UA,pickup=3,input=0", 0.0, 5.0, 0.5, 0.2, "3.000", 0.0, false},
                {"timed:channel=UA,pickup=3,dropdelay=0.4893,input=0", 0.5, 5.0, 0.5, 0.2, "3.000", 0.0, false},
                {"timed:channel=UA,pickup=3,dropdelay=0.495,input=0", 0.5, 5.0, 0.5, 0.2, "3.000", 0.0, false},
                {"threshold:channel=UA,pickup=5,delay=0.95,input=0", 0.0, kRated, 2.0, 1.0, "5.000", 0.95, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.setup);
        while (vm.getStatesCount() > 0)
            vm.removeState();
        vm.setSettingTime(-1, row.setting);
        for (int i = 0; i < 2; ++i) {
            vm.addRamp(0, VM::RAMP_ITEM_TYPE_RANGE, row.end, 1.0, row.stepTime);
            vm.setOutputRange(port(kUA), 0.0);
            watch(vm, i, {0}, VM::AO_BILOGIC_TYPE_OR);
        }
        const bool notReset = row.interval == 0.0;
        vm.setIntervalEnable(!notReset);
        vm.setIntervalTime(row.interval);
        sim->unplugAll();
        auto pages = std::make_shared<runsource::PageRecorder>(kUA);
        sim->plugIn(pages);
        const auto relay = runsource::timedRelay(QString::fromLatin1(row.setup));
        sim->plugIn(relay);
        ASSERT_TRUE(runToEnd(vm));
        ASSERT_EQ(relay->pickupTimes().size(), notReset ? 1u : 2u);
        EXPECT_EQ(vm.getActionValue(0).toStdString(), row.value);
        EXPECT_NEAR(vm.getActionTimes(0), row.time, 2e-3);
        EXPECT_EQ(vm.getTestResults(0), row.passed ? VM::AO_Result_TYPE_SUCCESS : VM::AO_Result_TYPE_FAILED);
        EXPECT_FALSE(vm.getRelayNotReset(0));
        EXPECT_EQ(vm.getTestStates(1), VM::AO_STATE_TYPE_COMPLETED);
        EXPECT_EQ(vm.getRelayNotReset(1), notReset);
        const std::vector<double> ua = pages->amplitudes();
        const std::vector<int64_t> starts = pages->startTimes();
        const double tripValue = std::stod(row.value);
        // The step after the trip's is left as the trip is confirmed.
        for (size_t k = 0; k + 1 < starts.size(); ++k) {
            if (ua[k] > tripValue + 0.5) {
                EXPECT_LT(starts[k + 1] - starts[k], std::llround(row.stepTime * 1e9)) << ua[k];
            }
        }
        if (notReset) {
            EXPECT_EQ(vm.getBinaryInputIndex(1), -1);
            EXPECT_EQ(vm.getTestResults(1), VM::AO_Result_TYPE_FAILED);
            EXPECT_EQ(std::count_if(ua.begin(), ua.end(), [&](double a) { return a > tripValue + 1.5; }), 0);
        } else {
            EXPECT_EQ(vm.getActionValue(1).toStdString(), "3.000");
            ASSERT_FALSE(relay->dropoffTimes().empty());
            EXPECT_NEAR(pages->playedAt(relay->dropoffTimes()[0]), 0.0, 1e-6);
        }
    }
}
