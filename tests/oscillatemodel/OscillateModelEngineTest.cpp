// The power-swing view model against the real engine and the simulated
// instrument: live edits switch the running output once each, the stop
// restores the start's settings, an envelope relay trips on the swing, and a
// refused start keeps the settings and frees the exit. Every TEST runs in a
// process of its own (see EngineFixture.h).

#include "../run_source/RunSourceSupport.h"
#include "OscillateModelSupport.h"

#include "SimDistanceRelay.h"
#include "SimEnvelopeRelay.h"

#include <QDir>

#include <cmath>
#include <functional>
#include <vector>

using namespace osctest;
using enginetest::waitFor;

namespace {

class OscModelEngine : public RunSourceTest
{
protected:
    bool waitRunning(ViewOscillateModel& vm, bool running)
    {
        return waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == (running ? 1 : 0); })
            && (running || waitEnded());
    }
    void prepare(ViewOscillateModel& vm)
    {
        vm.testActive();
        vm.updateDeviceConfig();
        vm.updateVMToEnt(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    }
};

} // namespace

TEST_F(OscModelEngine, EachLiveEditSwitchesOnceAndTheStopRestoresTheStart)
{
    initialise();
    OscModel vm;
    prepare(vm);
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));

    struct Edit
    {
        const char* name;
        std::function<void()> same, change;
        double swing, swingAngle, swingHz, steady;   // UA as the new page plays it
    };
    const Edit edits[] = {
        {"percent", [&] { vm.setOscillatePercent(10); }, [&] { vm.setOscillatePercent(20); }, 11.547, 0, 5, 57.735},
        {"swing angle", [&] { vm.setOscillateAngle(0); }, [&] { vm.setOscillateAngle(30); }, 11.547, 30, 5, 57.735},
        {"swing frequency", [&] { vm.setOscillateFrequency(5); }, [&] { vm.setOscillateFrequency(7); }, 11.547, 30,
         7, 57.735},
        {"amplitude", [&] { vm.setOutputRange(port(0), 57.735); }, [&] { vm.setOutputRange(port(0), 60); }, 12, 30,
         7, 60},
    };
    const auto switches = [&] { return texts(ConstTextUtility::TEST_AOSWITCH); };
    // UA in the page the instrument plays.
    const auto plays = [&](const Edit& e) {
        const std::vector<zorsim::Component> c = playingPage().channels[0].components;
        return c.size() == 2 && std::fabs(c[0].amplitude - e.swing) < 2e-3
            && std::fabs(angleError(c[0].phaseDeg, e.swingAngle)) < 1e-2 && std::fabs(c[0].frequencyHz - e.swingHz) < 1e-4
            && std::fabs(c[1].amplitude - e.steady) < 2e-3 && std::fabs(c[1].frequencyHz - 50.0) < 1e-4;
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.name);
        const int before = switches();
        e.same();
        e.change();
        // A switch of the unchanged entry would have come first.
        EXPECT_TRUE(waitFor([&] { return switches() > before && plays(e); }));
        ASSERT_TRUE(settle());
        EXPECT_EQ(switches(), before + 1);
    }

    const int played = switches();
    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));
    EXPECT_EQ(switches(), played);
    EXPECT_EQ(vm.getOscillatePercent(), 10.0);
    EXPECT_EQ(vm.getOscillateAngle(), 0.0);
    EXPECT_EQ(vm.getOscillateFrequency(), 5.0);
    EXPECT_EQ(vm.getOutputRange(port(0)), 57.735);
    EXPECT_EQ(vm.getTestState(), 0);   // ended without a trip
    EXPECT_FALSE(vm.isExistFaultActionValue());
    QMutexLocker lock(&entity().entityLock);
    EXPECT_EQ(entity().oscillatePercent, 0.1);
    EXPECT_EQ(entity().oscillateAngle, 0.0);
    EXPECT_EQ(entity().oscillateFrequency, 5.0);
    EXPECT_EQ(entity().outputRanges[0], 57.735);
}

TEST_F(OscModelEngine, AnEnvelopeRelayTripsOnTheSwingOfItsChannel)
{
    initialise();
    // IA 1 A with a 30 % swing at 48 Hz starting in opposition: the envelope
    // beats from 0.7 A to 1.3 A and reaches A (1 + p/2) at 0.1567 s (the
    // relay's own test shows it staying off at 1.02 A (1 + p)).
    zorsim::EnvelopeRelaySettings s;
    s.channel = ModelEntity::AO_PORT_TYPE_IA;
    s.pickup = 1.15;
    auto relay = std::make_shared<zorsim::EnvelopeRelay>(s);
    sim->plugIn(relay);
    OscModel vm;
    prepare(vm);
    vm.setOutputRange(port(4), 1.0);
    vm.setOscillatePort(7);   // IA on a three-phase unit
    vm.setOscillatePercent(30);
    vm.setOscillateFrequency(48);
    vm.setOscillateAngle(180);
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    ASSERT_TRUE(waitRunning(vm, false));
    ASSERT_FALSE(relay->pickupTimes().empty());
    EXPECT_EQ(vm.getFaultActionValue(), "1.300 A");
    EXPECT_NEAR(vm.getFaultActionTime(), std::acos(-0.3875) / (4.0 * M_PI), 2e-3);
    ASSERT_TRUE(vm.saveReport("swing.htm"));
    const QString report = QDir::currentPath() + "/report/Oscillate/swing.htm";
    vmtest::expectValidReport(report);
    EXPECT_TRUE(QString::fromUtf8(sandbox.read(report)).contains(">1.300A<"));
}

// UA 10 V at 75 degrees over IA 1 A: 10 ohm at the line angle, outside an
// instantaneous 8 ohm zone. A 50 % swing of IA at 48 Hz starting in
// opposition brings the loop to 10 / 1.5 = 6.7 ohm within the 0.5 s beat,
// inside the zone for longer than the debounce: the zone trips on the swing,
// not at the start.
TEST_F(OscModelEngine, AZoneRelayTripsOnTheSwingOfItsLoopImpedance)
{
    initialise();
    zorsim::DistanceRelaySettings s;
    s.reach1Ohms = 8.0;
    s.time1Seconds = 0.0;
    s.lineAngleDeg = 75.0;
    auto relay = std::make_shared<zorsim::DistanceRelay>(s);
    sim->plugIn(relay);
    OscModel vm;
    prepare(vm);
    const double ranges[8] = {10.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0};
    for (int p = 0; p < 8; ++p)
        vm.setOutputRange(port(p), ranges[p]);
    vm.setOutputAngle(port(0), 75.0);
    vm.setOutputAngle(port(4), 0.0);
    vm.setOscillatePort(7);   // IA on a three-phase unit
    vm.setOscillatePercent(50);
    vm.setOscillateFrequency(48);
    vm.setOscillateAngle(180);
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    ASSERT_TRUE(waitRunning(vm, false));
    ASSERT_FALSE(relay->tripTimes().empty());
    EXPECT_EQ(relay->tripZones().front(), 1);
    const double at = (relay->tripTimes().front() - relay->measurements().front().pageStartNs) / 1e9;
    EXPECT_GT(at, 0.05);
    EXPECT_LT(at, 0.26);
}

TEST_F(OscModelEngine, ARefusedStartKeepsTheSettingsAndFreesTheExit)
{
    initialise();
    OscModel vm;
    prepare(vm);
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitRunning(vm, true));
    vm.testInterrupt();
    ASSERT_TRUE(waitRunning(vm, false));

    // A swing angle the engine refuses: the start fails and says why.
    vm.setOscillatePercent(25);
    vm.setOscillateAngle(std::nan(""));
    std::vector<bool> exits;
    QObject::connect(&vm, &ViewSourceTestModel::sigExitEnable, [&](bool e) { exits.push_back(e); });
    const int reports = runNotices();
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitFor([&] { return runNotices() > reports && vm.getExitEnabled(); }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(exits, (std::vector<bool>{false, true}));
    EXPECT_FALSE(vm.getUserMessage().isEmpty());
    EXPECT_EQ(vm.getOscillatePercent(), 25.0);
    EXPECT_TRUE(std::isnan(vm.getOscillateAngle()));
    EXPECT_FALSE(sim->playerStatus().running);
}

