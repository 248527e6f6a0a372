// The DC view model against the real engine and the simulated instrument,
// with threshold relays acting on a DC channel's amplitude: manual steps
// reach the running outputs and a trip ends the test or lets it go on; the
// automatic ramp finds a relay's pick-up and drop-off; a group on its end
// value runs without moving. Every TEST runs in a process of its own (see
// EngineFixture.h).

#include "../run_source/RunSourceSupport.h"
#include "DcModelSupport.h"

#include <cmath>

using namespace dctest;
using enginetest::waitFor;

namespace {

class DcModelEngine : public RunSourceTest
{
protected:
    double playing(int channel)
    {
        const zorsim::PageContent p = playingPage();
        const auto& components = p.channels[size_t(channel)].components;
        return components.empty() ? 0.0 : components[0].amplitude;
    }
    bool waitPlaying(int channel, double amplitude)
    {
        return waitFor([&] { return sim->playerStatus().running && std::fabs(playing(channel) - amplitude) < 1e-3; });
    }
    bool waitRunning(ViewDirectModel& vm, bool running)
    {
        return waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == (running ? 1 : 0); })
            && (running || waitEnded());
    }
    void prepare(DcModel& vm)
    {
        vm.testActive();
        vm.updateDeviceConfig();
        vm.updateVMToEnt(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    }
};

} // namespace

TEST_F(DcModelEngine, ManualStepsReachTheOutputsAndATripEndsTheTestOrLetsItGoOn)
{
    initialise();
    // Pick-ups just below the steps, whatever the encoding rounds.
    plugRelay(ModelEntity::AO_PORT_TYPE_UA, 9.9, 1.0, 0);
    plugRelay(ModelEntity::AO_PORT_TYPE_IB, 1.9, 1.0, 1);
    DcModel vm;
    prepare(vm);

    // "From-to" on UA from 8 V by 1 V: the trip at 10 V ends the test.
    vm.setOutputRange(port(0), 8.0);
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    EXPECT_EQ(vm.getTestState(), -1);
    EXPECT_EQ(vm.getFaultActionValue(0), "NaN V");
    ASSERT_TRUE(waitPlaying(0, 8.0));
    ASSERT_TRUE(vm.quickChange(true));
    ASSERT_TRUE(waitPlaying(0, 9.0));
    ASSERT_TRUE(vm.quickChange(true));
    ASSERT_TRUE(waitRunning(vm, false));
    EXPECT_EQ(vm.getTestState(), 1);
    EXPECT_EQ(vm.getFaultActionValue(0), "10.000 V");
    EXPECT_GT(vm.getFaultActionTime(0), 0.0);
    EXPECT_EQ(vm.getOutputRange(port(0)), 8.0);   // the settings of before the run

    // "Continuous" on IAIBIC from 1 A by 0.5 A: the trip at 2 A on IB is
    // recorded and the output goes on.
    vm.setFaultActionPort(7);
    vm.setFaultActionType(VM::ACTION_TYPE_CONTINUE);
    vm.setRampStepValue(0.5);
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    ASSERT_TRUE(vm.quickChange(true));
    ASSERT_TRUE(vm.quickChange(true));
    ASSERT_TRUE(waitPlaying(6, 2.0));
    ASSERT_TRUE(waitFor([&] { return vm.getTestState() == 1; }));
    EXPECT_EQ(vm.getFaultActionValue(0), "2.000; 2.000; 2.000 A");
    EXPECT_GT(vm.getFaultActionTime(0), 0.0);
    EXPECT_EQ(vm.getState(ViewBaseModel::STATE_TYPE_RUNNING), 1);
    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));
    EXPECT_EQ(vm.getOutputRange(port(5)), 1.0);
}

TEST_F(DcModelEngine, AutoRampFindsPickupAndReturnAndAGroupOnItsEndRunsInPlace)
{
    initialise();
    DcModel vm;
    prepare(vm);
    vm.setAutoRampEnabled(true);

    // UA is on its default end value (both the rated voltage): every state
    // plays 57.735 V until the ramp ends.
    auto recorder = std::make_shared<runsource::PageRecorder>(0);
    sim->plugIn(recorder);
    ASSERT_TRUE(vm.quickChange(true));
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    ASSERT_TRUE(waitRunning(vm, false));
    ASSERT_GE(recorder->amplitudes().size(), 2u);
    for (double a : recorder->amplitudes())
        EXPECT_NEAR(a, 57.735, 1e-3);
    sim->unplugAll();

    // "From-to-From" on UA from 8 V by 0.5 V: picks up at 10 V, drops off
    // below 9.603 V on the way back.
    zorsim::ThresholdRelaySettings relay;
    relay.channel = ModelEntity::AO_PORT_TYPE_UA;
    relay.pickup = 9.9;
    relay.pickupDelaySeconds = 2.0;
    relay.dropoffRatio = 0.97;
    sim->plugIn(std::make_shared<zorsim::ThresholdRelay>(relay));
    vm.setFaultActionType(VM::ACTION_TYPE_RETURN);
    vm.setOutputRange(port(0), 8.0);
    vm.setRampStepValue(0.5);
    vm.setRampTimeValue(10.0);
    vm.setEndRampValue(12.0);
    ASSERT_TRUE(vm.quickChange(true));
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    ASSERT_TRUE(waitRunning(vm, false));
    EXPECT_EQ(vm.getTestState(), 1);
    EXPECT_EQ(vm.getFaultActionValue(0), "10.000 V");
    EXPECT_EQ(vm.getFaultActionValue(1), "9.500 V");
    EXPECT_EQ(vm.getFaultActionFactor(), "0.950");
    EXPECT_EQ(vm.getOutputRange(port(0)), 8.0);

    ASSERT_TRUE(vm.saveReport("ramp.htm"));
    const QString report = QDir::currentPath() + "/report/DC/ramp.htm";
    vmtest::expectValidReport(report);
    const QString text = QString::fromUtf8(sandbox.read(report));
    for (const char* cell : {">UA<", ">10.000V<", ">9.500V<", ">0.950<", ">From-to-From<"})
        EXPECT_TRUE(text.contains(cell)) << cell;
}
