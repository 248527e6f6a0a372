// The harmonic view model against the real engine and the simulated
// instrument: edits switch the running output once each, the slots play at
// their orders in the fundamental's time reference, and the second-harmonic
// relay trips on manual steps and on the automatic ramp of one slot, judged
// against the setting time. Every TEST runs in a process of its own (see
// EngineFixture.h).

#include "../run_source/RunSourceSupport.h"
#include "HarmonicModelSupport.h"

#include "SimHarmonicRelay.h"

#include <cmath>

using namespace hmtest;
using enginetest::waitFor;

namespace {

constexpr int kUA = ModelEntity::AO_PORT_TYPE_UA;
constexpr int kIA = ModelEntity::AO_PORT_TYPE_IA;

class HarmonicModelEngine : public RunSourceTest
{
protected:
    zorsim::Component playing(int channel, int k)
    {
        const zorsim::PageContent p = playingPage();
        const auto& components = p.channels[size_t(channel)].components;
        return size_t(k) < components.size() ? components[size_t(k)] : zorsim::Component{};
    }
    bool waitPlaying(int channel, int k, double amplitude)
    {
        return waitFor([&] {
            return sim->playerStatus().running && std::fabs(playing(channel, k).amplitude - amplitude) < 1e-3;
        });
    }
    bool waitRunning(ViewHarmonicModel& vm, bool running)
    {
        return waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == (running ? 1 : 0); })
            && (running || waitEnded());
    }
    int switches() { return texts(ConstTextUtility::TEST_AOSWITCH); }
    void prepare(HarmonicModel& vm)
    {
        vm.testActive();
        vm.updateDeviceConfig();
        vm.updateVMToEnt(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    }
    // A second-harmonic relay on IA at 14 % that acts `seconds` after the
    // crossing.
    void plugHarmonicRelay(double seconds, int input)
    {
        sim->unplugAll();
        zorsim::HarmonicRelaySettings s;
        s.channel = kIA;
        s.sharePercent = 14.0;
        s.pickupDelaySeconds = seconds;
        s.binaryInput = input;
        sim->plugIn(std::make_shared<zorsim::HarmonicRelay>(s));
    }
};

} // namespace

TEST_F(HarmonicModelEngine, EditsSwitchOnceAndSlotsPlayAtTheirOrdersInTheFundamentalsReference)
{
    initialise();
    HarmonicModel vm;
    prepare(vm);
    vm.setSlot(kUA, 0, 57.735, 30.0);
    vm.setSlot(kUA, 2, 10.0, 10.0);   // order 3
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    ASSERT_TRUE(waitPlaying(kUA, 2, 10.0));

    const zorsim::Component third = playing(kUA, 2);
    EXPECT_NEAR(third.frequencyHz, 150.0, 1e-3);
    EXPECT_NEAR(angleError(third.phaseDeg, 100.0), 0.0, 1e-3);
    const zorsim::Component idle = playing(kUA, 3);   // slot 3 holds 0
    EXPECT_EQ(idle.amplitude, 0.0);
    EXPECT_EQ(idle.frequencyHz, 0.0);
    EXPECT_EQ(idle.phaseDeg, 0.0);

    // One switch per changed value; an unchanged one sends none (counted
    // after the switch of the edit that follows it).
    ASSERT_EQ(switches(), 0);
    vm.setSlot(kUA, 1, 5.0, 0.0);
    ASSERT_TRUE(waitPlaying(kUA, 1, 5.0));
    ASSERT_TRUE(waitFor([&] { return switches() == 1; }));
    vm.setSlot(kUA, 1, 5.0, 0.0);
    vm.setSlot(kUA, 1, 6.0, 0.0);
    ASSERT_TRUE(waitPlaying(kUA, 1, 6.0));
    ASSERT_TRUE(waitFor([&] { return switches() >= 2; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(switches(), 2);
    EXPECT_NEAR(playing(kUA, 1).frequencyHz, 100.0, 1e-3);

    // Stop: the amplitudes and angles from before the run.
    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));
    EXPECT_EQ(vm.outputRanges[kUA][1], 0.0);
    EXPECT_EQ(vm.outputAngles[kUA][0], 30.0);
    EXPECT_EQ(vm.outputRanges[kUA][2], 10.0);
}

TEST_F(HarmonicModelEngine, SecondHarmonicRelayTripsOnStepsAndOnTheRampJudgedAgainstTheSettingTime)
{
    initialise();
    HarmonicModel vm;
    prepare(vm);
    vm.setFaultActionPort(7);    // IA on a three-phase unit
    vm.setFaultActionOrder(1);   // the 2nd harmonic
    vm.setRampStepValue(0.05);
    vm.setSlot(kIA, 1, 0.0, 45.0);

    // A steady run stopped without a trip has not been tested.
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));
    EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_INITING);
    EXPECT_EQ(vm.getTestResult(), VM::AO_Result_TYPE_NONE);
    EXPECT_EQ(vm.getBinaryInputIndex(), -1);

    // Manual steps of 0.05 A: the relay picks up at 0.15 A (14 % of 1 A).
    plugHarmonicRelay(1.05, 1);
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_RUNNNING);
    for (double expected : {0.05, 0.10, 0.15}) {
        ASSERT_TRUE(vm.quickChange(true));
        ASSERT_TRUE(waitPlaying(kIA, 1, expected)) << expected;
    }
    ASSERT_TRUE(waitRunning(vm, false));
    EXPECT_NEAR(vm.getFaultActionTime(), 1.05, 2e-3);
    EXPECT_EQ(vm.getFaultActionValue(), "0.150 A");
    EXPECT_EQ(vm.getBinaryInputIndex(), 2);
    EXPECT_EQ(vm.getTestResult(), VM::AO_Result_TYPE_SUCCESS);
    EXPECT_EQ(vm.outputRanges[kIA][1], 0.0);
    EXPECT_EQ(vm.outputAngles[kIA][1], 45.0);

    // The automatic ramp of the same slot, 2 s per step, the relay slower.
    plugHarmonicRelay(1.2, 0);
    vm.setAutoRampEnabled(true);
    vm.setRampTimeValue(2.0);
    vm.setEndRampValue(0.5);
    ASSERT_TRUE(vm.quickChange(true));
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    ASSERT_TRUE(waitRunning(vm, false));
    EXPECT_NEAR(vm.getFaultActionTime(), 1.2, 2e-3);
    EXPECT_EQ(vm.getFaultActionValue(), "0.150 A");
    EXPECT_EQ(vm.getBinaryInputIndex(), 1);
    EXPECT_EQ(vm.getTestResult(), VM::AO_Result_TYPE_FAILED);
    EXPECT_EQ(vm.outputRanges[kIA][1], 0.0);
}

// Stopped with no relay to trip: the automatic ramp (2 s per step) in its
// first step, and the steady output (T.nom 1 s) at once: the run has not
// been tested, not failed.
TEST_F(HarmonicModelEngine, RampStoppedBeforeItRanOutIsNotTested)
{
    initialise();
    HarmonicModel vm;
    prepare(vm);
    vm.setFaultActionPort(7);
    vm.setFaultActionOrder(1);
    vm.setRampStepValue(0.05);
    vm.setRampTimeValue(2.0);
    vm.setEndRampValue(0.5);
    vm.setSlot(kIA, 1, 0.0, 45.0);
    for (bool ramp : {true, false}) {
        SCOPED_TRACE(ramp ? "ramp" : "steady");
        vm.setAutoRampEnabled(ramp);
        ASSERT_TRUE(vm.quickChange(true));
        ASSERT_TRUE(vm.testStart());
        ASSERT_TRUE(waitRunning(vm, true));
        vm.testInterrupt();
        ASSERT_TRUE(waitRunning(vm, false));
        EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_INITING);
        EXPECT_EQ(vm.getTestResult(), VM::AO_Result_TYPE_NONE);
    }
}

// Components that add up beyond a channel's range (10 A, 265 V), as the page
// (its slots may add up to 20 A and 300 V), a file or a PC may set them,
// though none is beyond it alone: refused at the start, steady or ramped,
// naming the channel and the sum; an edit of a running output that takes it
// there ends the run, saying why. The instrument never plays them.
TEST_F(HarmonicModelEngine, ComponentsAddingUpBeyondTheRangeAreNeverPlayed)
{
    initialise();
    auto recorder = std::make_shared<runsource::PageRecorder>(kIA);
    sim->plugIn(recorder);
    struct Row
    {
        int channel;
        double fundamental, harmonic;
        double end;   // of the harmonic's ramp; NaN: steady
        const char* refusal;
    };
    const Row rows[] = {
        {kIA, 8.0, 5.0, std::nan(""), "输出将使IA达到13 A，超出其输出范围0 A至10 A，试验未开始。"},
        {kUA, 250.0, 0.0, 20.0, "递变将使UA达到270 V，超出其输出范围0 V至265 V，试验未开始。"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.refusal);
        HarmonicModel vm;
        prepare(vm);
        vm.setSlot(r.channel, 0, r.fundamental, 0.0);
        vm.setSlot(r.channel, 1, r.harmonic, 0.0);
        if (!std::isnan(r.end)) {
            vm.setAutoRampEnabled(true);
            vm.setFaultActionPort(r.channel == kUA ? 0 : 7);
            vm.setFaultActionOrder(1);
            vm.setRampStepValue(5.0);
            vm.setRampTimeValue(0.1);
            vm.setSettingTime(0.0);   // no window: the outputs' check alone
            vm.setDevTime(0.0);
            vm.setEndRampValue(r.end);
            ASSERT_TRUE(vm.quickChange(true));
        }
        EXPECT_EQ(refusedStart(vm), QString::fromUtf8(r.refusal));
    }
    EXPECT_TRUE(recorder->amplitudes().empty());

    // A running output that an edit would take there ends instead.
    HarmonicModel vm;
    prepare(vm);
    vm.setSlot(kIA, 0, 8.0, 0.0);
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    ASSERT_TRUE(waitPlaying(kIA, 0, 8.0));
    const size_t played = recorder->amplitudes().size();
    vm.setSlot(kIA, 1, 5.0, 0.0);
    ASSERT_TRUE(waitRunning(vm, false));
    EXPECT_EQ(recorder->amplitudes().size(), played);
    EXPECT_EQ(vm.getUserMessage(), QString::fromUtf8("输出将使IA达到13 A，超出其输出范围0 A至10 A，试验已停止。"));
}
