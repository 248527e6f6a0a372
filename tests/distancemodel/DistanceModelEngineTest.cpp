// The distance model against the real engine and the simulated instrument:
// the states a start plays, the loop impedances a distance relay measures
// from them, and the zone trips judged in the points. The model follows the
// run as the page does: it selects point (state index / 3) on every state
// index the engine reports. Every TEST runs in a process of its own (see
// EngineFixture.h).

#include "../run_protection/RunProtectionSupport.h"
#include "DistanceModelSupport.h"

#include "SimDistanceRelay.h"
#include "SimHostFactory.h"
#include "SimTimedRelay.h"

#include <complex>
#include <vector>

using namespace dmtest;
using runprotection::PageLog;
using runsource::waitFor;

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;
using Loop = zorsim::DistanceRelay::Loop;

// The relay loops that see a fault of each kind, by FaultType.
const std::vector<Loop> kLoopsOf[10] = {
    {Loop::LOOP_AE}, {Loop::LOOP_BE}, {Loop::LOOP_CE},
    {Loop::LOOP_AB}, {Loop::LOOP_BC}, {Loop::LOOP_CA},
    {Loop::LOOP_AE, Loop::LOOP_BE, Loop::LOOP_AB},
    {Loop::LOOP_BE, Loop::LOOP_CE, Loop::LOOP_BC},
    {Loop::LOOP_CE, Loop::LOOP_AE, Loop::LOOP_CA},
    {Loop::LOOP_AB, Loop::LOOP_BC, Loop::LOOP_CA},
};

class DistanceModelEngine : public RunProtectionTest
{
protected:
    // The model as the page holds it: shown, following the state index.
    void prepare(DistanceModel& vm)
    {
        vm.testActive();
        vm.updateDeviceConfig();
        vm.updateVMToEnt(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
        QObject::connect(&vm, &ViewBaseModel::sigUpdateStateIndexToView, &vm,
                         [&vm](int index) { vm.setActiveIndex(index < 0 ? 0 : index / 3); });
    }
    void run(DistanceModel& vm)
    {
        ASSERT_TRUE(vm.testStart());
        ASSERT_TRUE(waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 1; }));
        ASSERT_TRUE(waitEnded());
        ASSERT_TRUE(waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 0; }));
    }
    std::shared_ptr<zorsim::DistanceRelay> plugDistanceRelay(const zorsim::DistanceRelaySettings& s)
    {
        auto relay = std::make_shared<zorsim::DistanceRelay>(s);
        sim->plugIn(relay);
        return relay;
    }
};

} // namespace

TEST_F(DistanceModelEngine, StartWithTwoPointsPlaysPreFaultFaultAndIntervalStates)
{
    initialise();
    auto log = plugPageLog();
    DistanceModel vm;
    prepare(vm);
    vm.setNormalTime(0.5);
    vm.setIntervalTime(0.4);
    vm.addAt(1.0);
    vm.setSettingTimes(-1, 0.3);
    vm.addAt(3.0, VM::FAULT_TYPE_B_C);
    run(vm);

    EXPECT_EQ(read(entity(), [](ModelDistanceEntity& e) { return e.stateCount; }), 6);
    const std::vector<PageLog::Entry> played = log->withoutChecks(debounceSeconds());
    ASSERT_GE(played.size(), 6u);
    for (int s = 0; s < 6; ++s) {
        SCOPED_TRACE(s);
        const int point = s / 3;
        const PageLog::Entry& page = played[size_t(s)];
        switch (s % 3) {
        case 0:
            EXPECT_NEAR(page.page.durationSeconds, 0.5, 1e-6);
            EXPECT_EQ(page.page.trigger(), zorsim::TriggerType::Time);
            for (int c = 0; c < 8; ++c)
                EXPECT_NEAR(page.amplitude(c), vm.loadRanges[c], 1e-3) << c;
            break;
        case 1:
            EXPECT_NEAR(page.page.durationSeconds, vm.faultTimeOf(*vm.point(point)), 1e-6);
            EXPECT_EQ(page.page.trigger(), zorsim::TriggerType::TimeOrBinary);
            for (int c = 0; c < 8; ++c)
                EXPECT_NEAR(page.amplitude(c), vm.getOutputRange(point, c), 1e-3) << c;
            break;
        default:
            EXPECT_NEAR(page.page.durationSeconds, 0.4, 1e-6);
            EXPECT_EQ(page.page.trigger(), zorsim::TriggerType::Time);
            for (int c = 0; c < 8; ++c)
                EXPECT_NEAR(page.amplitude(c), 0.0, 1e-6) << c;
            break;
        }
        for (int c = 0; c < 8 && s % 3 != 2; ++c)
            EXPECT_NEAR(page.frequency(c), 50.0, 1e-3) << c;
    }
    // T + 0.1 s, which the window (T ± 0.1 s) and the debounce outlast.
    EXPECT_NEAR(played[1].page.durationSeconds, 1.1 + center->testConfiguration->ditherTime, 1e-6);
    EXPECT_NEAR(played[4].page.durationSeconds, 0.4 + center->testConfiguration->ditherTime, 1e-6);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(vm.getTestStates(i), VM::AO_STATE_TYPE_COMPLETED) << i;
}

// Ten loops with the compensation entered in each of its three forms (all
// the same KL at the line angle), in I-constant and V-constant mode: the
// relay, set to that KL, measures the point's |Z| and angle in every loop
// that sees the fault.
TEST_F(DistanceModelEngine, RelayMeasuresThePointsImpedanceInEveryLoop)
{
    initialise();
    zorsim::DistanceRelaySettings s;
    s.reach1Ohms = 1e-6;   // measures, never trips
    s.klRange = 0.7;
    s.klAngleDeg = -10.0;
    auto relay = plugDistanceRelay(s);
    DistanceModel vm;
    prepare(vm);
    vm.setNormalTime(1.0);
    vm.setIntervalTime(1.0);
    vm.setSettingTimes(-1, 1.0);
    vm.setRepairFactor(0, 0.7);
    vm.setRepairFactor(1, -10.0);
    vm.setFaultVoltage(10.0);
    const double ohms = 2.0;
    const double angle = vm.getFaultZAngle(-1);

    for (int mode : {VM::DISTANCE_TYPE_ICONSTANT, VM::DISTANCE_TYPE_VCONSTANT}) {
        SCOPED_TRACE(mode);
        vm.clearPoint();
        vm.setDistanceKind(mode);
        for (int form : {VM::REPAIR_TYPE_KL, VM::REPAIR_TYPE_RERL_XEXL, VM::REPAIR_TYPE_Z0Z1}) {
            vm.setRepairKind(form);
            for (int kind = 0; kind < 10; ++kind)
                vm.addAt(ohms, kind);
        }
        ASSERT_EQ(vm.getPointsCount(), 30);
        const size_t before = relay->measurements().size();
        run(vm);

        const std::vector<zorsim::DistanceRelay::Measurement> seen = relay->measurements();
        ASSERT_EQ(seen.size() - before, 30u);
        for (int i = 0; i < 30; ++i) {
            for (Loop loop : kLoopsOf[vm.getFaultKind(i)]) {
                SCOPED_TRACE(testing::Message() << "point " << i << " loop " << loop);
                const auto& z = seen[before + size_t(i)].loops[size_t(loop)];
                ASSERT_TRUE(z.has_value());
                EXPECT_NEAR(std::abs(*z), ohms, 1e-3 * ohms);
                EXPECT_NEAR(std::arg(*z * std::polar(1.0, -angle * kDeg)) / kDeg, 0.0, 0.1);
            }
        }
    }
}

// Zone 1 at 2 ohms in 0.6 s, zone 2 at 3 ohms in 1.2 s on input 3: points
// at 0.95 and 1.05 of the zone-1 reach trip in the zone-1 and zone-2 times
// and pass where the setting time is that zone's; a reverse fault does not
// trip and fails. Progress, trip times and inputs reach the points.
TEST_F(DistanceModelEngine, ZoneTripsAreJudgedInThePoints)
{
    initialise();
    zorsim::DistanceRelaySettings s;
    s.reach1Ohms = 2.0;
    s.time1Seconds = 0.6;
    s.reach2Ohms = 3.0;
    s.time2Seconds = 1.2;
    s.klRange = 0.67;
    s.binaryInput = 2;
    auto relay = plugDistanceRelay(s);
    DistanceModel vm;
    prepare(vm);
    vm.setNormalTime(1.0);
    vm.setIntervalTime(1.0);
    vm.setOupputTimeFactor2(0.5);   // the trip is taken after the contact debounce
    vm.setFaultZRange(2.0);
    vm.setSettingTimes(-1, 0.6);
    vm.tick({1, 2});
    for (int kind : {VM::FAULT_TYPE_A_E, VM::FAULT_TYPE_B_C}) {
        vm.setFaultKind(kind);
        vm.addPoint();
        vm.setSettingTimes(vm.getPointsCount() - 1, 1.2);
        vm.setSettingTimes(-1, 0.6);
    }
    vm.tick({1});
    vm.setFaultDirection(VM::DIRECTION_TYPE_NEGATIVE);
    vm.addPoint();
    ASSERT_EQ(vm.getPointsCount(), 5);
    std::vector<int> selected;
    QObject::connect(&vm, &ViewBaseModel::sigUpdateStateIndexToView, &vm,
                     [&](int) { selected.push_back(vm.getActiveIndex()); });
    run(vm);

    EXPECT_EQ(relay->tripZones(), (std::vector<int>{1, 2, 1, 2}));
    const double zoneTimes[4] = {0.6, 1.2, 0.6, 1.2};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(vm.getTestStates(i), VM::AO_STATE_TYPE_COMPLETED);
        if (i < 4) {
            EXPECT_NEAR(vm.getActionTimes(i), runprotection::recordedTripTime(zoneTimes[i], debounceSeconds()), 2e-3);
            EXPECT_EQ(vm.getBinaryInputIndex(i), 3);
            EXPECT_EQ(vm.getTestResults(i), VM::AO_Result_TYPE_SUCCESS);
        } else {
            EXPECT_TRUE(std::isnan(vm.getActionTimes(i)));
            EXPECT_EQ(vm.getTestResults(i), VM::AO_Result_TYPE_FAILED);
        }
    }
    // The page's selection went through the points in order.
    ASSERT_FALSE(selected.empty());
    EXPECT_EQ(selected.back(), 4);
    for (size_t k = 1; k < selected.size(); ++k)
        EXPECT_LE(selected[k - 1], selected[k]);
}

// A fresh install: the configuration loaded from the fixture's empty "dat"
// folder, as at start-up, and the default times (fault state = setting time
// + 0.1 s). A zone relay from the simulator's registry trips zone 1 (4 ohm)
// after 0.1 s and zone 2 (7 ohm) after 0.5 s; both points pass, so the
// contact debounce confirms each trip while its fault state still plays.
TEST_F(DistanceModelEngine, FreshInstallPassesTheDefaultPointsOfBothZones)
{
    ASSERT_TRUE(QDir(QStringLiteral("dat")).isEmpty());
    center->testConfiguration->doLoadConfig(ControllerConfiguration::CONFIG_TYPE_SOFTWARE_DATA);
    initialise();
    const zorsim::RelaySetup relays =
        zorsim::parseRelaySetup("distance:reach1=5,time1=0.1,reach2=10,time2=0.5,angle=75,kl=0.67,klangle=0");
    ASSERT_TRUE(relays.errors.isEmpty()) << qPrintable(relays.errors.join('\n'));
    for (const auto& relay : relays.models)
        sim->plugIn(relay);
    DistanceModel vm;
    prepare(vm);
    const struct { double ohms, seconds; } zones[] = {{4.0, 0.1}, {7.0, 0.5}};
    for (const auto& z : zones) {
        vm.setFaultZRange(z.ohms);
        vm.setSettingTimes(-1, z.seconds);
        vm.addPoint();
    }
    run(vm);

    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(zones[i].ohms);
        EXPECT_NEAR(vm.getActionTimes(i), runprotection::recordedTripTime(zones[i].seconds, debounceSeconds()), 2e-3);
        EXPECT_EQ(vm.getTestResults(i), VM::AO_Result_TYPE_SUCCESS);
    }
}

// At real time, each fault plays to its window's end (T ± 5 %, at least
// 0.1 s) and the debounce after it, whatever the fault time (T + 0.1 s, or
// 0.5 T): a relay closing late in its window is timed and passed.
TEST_F(DistanceModelEngine, EachFaultPlaysToItsWindowsEnd)
{
    atRealTime();
    initialise();
    DistanceModel vm;
    prepare(vm);
    vm.setNormalTime(0.2);
    vm.setIntervalTime(0.2);
    const struct
    {
        double setting, factor, relay;
    } rows[] = {{1.0, 1.0, 1.09}, {3.0, 1.0, 3.12}, {4.0, 1.0, 4.18}, {2.0, 0.5, 2.0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "T " << r.setting << " x" << r.factor << ", relay " << r.relay);
        sim->unplugAll();
        const auto relay = runsource::timedRelay(
            QStringLiteral("timed:channel=IA,pickup=0.5,delay=%1,input=0").arg(r.relay));
        sim->plugIn(relay);
        vm.clearPoint();
        vm.setOupputTimeFactor1(r.factor);
        vm.setSettingTimes(-1, r.setting);
        vm.addAt(1.0);
        run(vm);
        ASSERT_EQ(relay->pickupTimes().size(), 1u);
        EXPECT_NEAR(vm.getActionTimes(0), runprotection::recordedTripTime(r.relay, debounceSeconds()), 2e-3);
        EXPECT_EQ(vm.getTestResults(0), VM::AO_Result_TYPE_SUCCESS);
    }
}

// At real time, a second fault begun on the contact of the first still
// closed reads "Not Reset" at once, its fault not played; one whose contact
// opened 10 ms before it, within the debounce, has reset and is timed.
TEST_F(DistanceModelEngine, FaultBegunOnAnOperatedRelayReadsNotResetAtOnce)
{
    atRealTime();
    initialise();
    DistanceModel vm;
    prepare(vm);
    vm.setNormalTime(0.2);
    vm.setIntervalTime(0.2);
    vm.setSettingTimes(-1, 0.3);
    vm.setOupputTimeFactor2(3.0);
    vm.addAt(1.0);
    vm.addAt(1.0);
    for (const char* dropdelay : {"2.5", "0.39"}) {
        SCOPED_TRACE(dropdelay);
        const bool notReset = dropdelay[0] == '2';
        sim->unplugAll();
        auto log = plugPageLog();
        const auto relay = runsource::timedRelay(
            QStringLiteral("timed:channel=IA,pickup=1,delay=0.3,dropdelay=%1,input=0").arg(QLatin1String(dropdelay)));
        sim->plugIn(relay);
        run(vm);

        std::vector<int64_t> faults;
        for (const PageLog::Entry& page : log->all())
            if (page.page.trigger() == zorsim::TriggerType::TimeOrBinary)
                faults.push_back(page.startNs);
        ASSERT_EQ(faults.size(), notReset ? 1u : 2u);
        ASSERT_EQ(relay->pickupTimes().size(), faults.size());
        EXPECT_EQ(vm.getTestResults(0), VM::AO_Result_TYPE_SUCCESS);
        EXPECT_FALSE(vm.getRelayNotReset(0));
        EXPECT_EQ(vm.getTestStates(1), VM::AO_STATE_TYPE_COMPLETED);
        EXPECT_EQ(vm.getRelayNotReset(1), notReset);
        EXPECT_EQ(vm.getTestResults(1), notReset ? VM::AO_Result_TYPE_FAILED : VM::AO_Result_TYPE_SUCCESS);
        if (notReset) {
            EXPECT_TRUE(std::isnan(vm.getActionTimes(1)));
            continue;
        }
        ASSERT_FALSE(relay->dropoffTimes().empty());
        EXPECT_LT(relay->dropoffTimes()[0], faults[1]);
        EXPECT_NEAR(vm.getActionTimes(1),
                    runprotection::recordedTripTime(double(relay->pickupTimes()[1] - faults[1]) * 1e-9,
                                                    debounceSeconds()),
                    2e-6);
    }
    // A relay operated before the run (DI 1 lit, never opening; watched
    // rising): both points Not Reset, no fault played.
    sim->unplugAll();
    auto log = plugPageLog();
    for (int k = 0; k < 4; ++k)
        vm.setOutputBIState(0, k, k == 0 ? VM::AO_BI_STATE_OFFON : VM::AO_BI_STATE_NONE);
    sim->setBinaryInput(0, true);
    run(vm);
    sim->setBinaryInput(0, false);
    for (const PageLog::Entry& page : log->all())
        EXPECT_NE(page.page.trigger(), zorsim::TriggerType::TimeOrBinary);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(vm.getRelayNotReset(i)) << i;
        EXPECT_EQ(vm.getTestResults(i), VM::AO_Result_TYPE_FAILED) << i;
    }
}

// At real time, two relays (T 1 s): the IA relay closes 1.105 s into point
// 1's fault, confirmed after it, and opens 0.1 s after its current has gone;
// point 2 (B-N) finds it reset, and the IB relay trips it in 1.000 s.
TEST_F(DistanceModelEngine, OpeningAfterATripConfirmedPastItsFaultIsTakenIn)
{
    atRealTime();
    initialise();
    DistanceModel vm;
    prepare(vm);
    vm.setNormalTime(0.2);
    vm.setIntervalTime(0.5);
    vm.setSettingTimes(-1, 1.0);
    vm.addAt(1.0, VM::FAULT_TYPE_A_E);
    vm.addAt(1.0, VM::FAULT_TYPE_B_E);
    sim->unplugAll();
    for (const auto& relay : zorsim::parseRelaySetup("timed:channel=IA,pickup=0.5,delay=1.105,dropdelay=0.1,input=0;"
                                                     "timed:channel=IB,pickup=0.5,delay=1.0,input=0")
                                 .models)
        sim->plugIn(relay);
    run(vm);
    EXPECT_EQ(vm.getTestResults(0), VM::AO_Result_TYPE_FAILED);
    EXPECT_FALSE(vm.getRelayNotReset(1));
    EXPECT_NEAR(vm.getActionTimes(1), 1.0, 2e-6);
    EXPECT_EQ(vm.getTestResults(1), VM::AO_Result_TYPE_SUCCESS);
}
