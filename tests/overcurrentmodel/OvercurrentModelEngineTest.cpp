// The overcurrent model against the real engine and the simulated
// instrument: the fault phasors the pages carry, and the trips of simulated
// inverse-time and definite-time relays judged against the points' windows.
// The model follows the run as the page does: it selects point (state
// index / 3) on every state index the engine reports. Every TEST runs in a
// process of its own (see EngineFixture.h).

#include "../run_protection/RunProtectionSupport.h"
#include "OvercurrentModelSupport.h"

#include "BaseModelDataOvercurrent.h"
#include "SimThresholdRelay.h"

#include <functional>
#include <vector>

using namespace omtest;
using runprotection::PageLog;
using runsource::waitFor;

namespace {

constexpr int kIA = ModelEntity::AO_PORT_TYPE_IA;

class OvercurrentModelEngine : public RunProtectionTest
{
protected:
    // The model as the page holds it: shown, following the state index;
    // short pre-fault and interval states.
    void prepare(OvercurrentModel& vm)
    {
        vm.testActive();
        vm.updateDeviceConfig();
        vm.setNormalTime(0.1);
        vm.setIntervalTime(0.1);
        QObject::connect(&vm, &ViewBaseModel::sigUpdateStateIndexToView, &vm,
                         [&vm](int index) { vm.setActiveIndex(index < 0 ? 0 : index / 3); });
    }
    void run(OvercurrentModel& vm)
    {
        ASSERT_TRUE(vm.testStart());
        ASSERT_TRUE(waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 1; }));
        ASSERT_TRUE(waitEnded());
        ASSERT_TRUE(waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 0; }));
    }
    // The relay's operate time of each point (NaN: none), from the contact
    // closing times and the fault pages played (state 3i + 1).
    static std::vector<double> operateTimes(const std::vector<PageLog::Entry>& played,
                                            const std::vector<int64_t>& closed, int points)
    {
        std::vector<double> times(size_t(points), runprotection::kNaN);
        for (int64_t t : closed) {
            for (int i = 0; i < points && size_t(3 * i + 2) < played.size(); ++i) {
                const PageLog::Entry& fault = played[size_t(3 * i + 1)];
                if (t >= fault.startNs && t < played[size_t(3 * i + 2)].startNs)
                    times[size_t(i)] = double(t - fault.startNs) * 1e-9;
            }
        }
        return times;
    }
    // Recorded trip times as the relay's own (within the microsecond count
    // of the register and the single precision of the time), verdicts.
    void expectJudged(OvercurrentModel& vm, const std::vector<double>& operate, const std::vector<int>& results)
    {
        ASSERT_EQ(int(operate.size()), vm.getPointsCount());
        for (int i = 0; i < vm.getPointsCount(); ++i) {
            SCOPED_TRACE(testing::Message() << "point " << i << " at " << vm.getTestCurrent(i) << " A");
            EXPECT_EQ(vm.getTestStates(i), VM::AO_STATE_TYPE_COMPLETED);
            if (std::isnan(operate[size_t(i)])) {
                EXPECT_TRUE(std::isnan(vm.getActionTimes(i)));
            } else {
                EXPECT_NEAR(vm.getActionTimes(i),
                            runprotection::recordedTripTime(operate[size_t(i)], debounceSeconds()), 2e-6);
                EXPECT_EQ(vm.getBinaryInputIndex(i), 1);
            }
            EXPECT_EQ(vm.getTestResults(i), results[size_t(i)]);
        }
    }
};

constexpr int kPass = VM::AO_Result_TYPE_SUCCESS;
constexpr int kFail = VM::AO_Result_TYPE_FAILED;

} // namespace

// One point per fault kind: the fault page carries the phasors of the fault
// calculation with the configuration's largest current.
TEST_F(OvercurrentModelEngine, FaultPagesCarryTheCalculatedPhasorsOfEveryKind)
{
    initialise();
    auto log = plugPageLog();
    OvercurrentModel vm;
    prepare(vm);
    vm.setMaxFaultTime(0.1);
    vm.setTestAngle(-75.0);
    vm.setFaultVPNRange(20.0);
    const ControllerConfiguration* config = center->testConfiguration;
    // Without fault voltages the phase currents are cut to the largest
    // current range: those points ask for more.
    const auto amps = [config](int kind) { return kind % 2 == 0 ? 1.0 + 0.5 * kind : config->maxIRange + 2.0; };
    for (int kind = VM::FAULT_TYPE_A_E; kind <= VM::FAULT_TYPE_C; ++kind) {
        vm.setFaultVPEnable(kind % 2 == 0);
        vm.addAt(amps(kind), VM::FUNCTION_TYPE_50, kind);
    }
    run(vm);

    const std::vector<PageLog::Entry> played = log->all();
    ASSERT_GE(played.size(), 36u);
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(testing::Message() << "kind " << i);
        BaseModelDataOvercurrent calc;
        calc.maxCurrent = config->maxIRange;
        calc.rateVoltage = config->rateVoltage;
        calc.rateFrequency = config->rateFrequency;
        calc.faultVPEnable = i % 2 == 0;
        calc.faultVPNRange = 20.0;
        calc.faultVPPRange = 20.0 * std::sqrt(3.0);
        calc.faultAngle = -75.0;
        calc.faultCurrent = amps(i);
        calc.faultKind = BaseModelDataOvercurrent::FaultType(i);
        BaseDataPhaseValue expected[8];
        calc.compute(expected);
        const PageLog::Entry& page = played[size_t(3 * i + 1)];
        EXPECT_EQ(page.page.trigger(), zorsim::TriggerType::TimeOrBinary);
        EXPECT_NEAR(page.page.durationSeconds, 0.1, 1e-6);
        for (int c = 0; c < 8; ++c) {
            SCOPED_TRACE(c);
            EXPECT_NEAR(page.amplitude(c), expected[c].getRange(), 1e-3 * std::max(1.0, expected[c].getRange()));
            if (expected[c].getRange() > 1e-3) {
                const double turn = std::remainder(page.page.channels[size_t(c)].components[0].phaseDeg
                                                       - expected[c].getAngle(), 360.0);
                EXPECT_NEAR(turn, 0.0, 0.05);
                EXPECT_NEAR(page.frequency(c), config->rateFrequency, 1e-3);
            }
        }
    }
}

// Function 51 on IEC normal inverse (Is 1 A, TMS 0.1) against the
// inverse-time relay: set alike every point passes; 20 % slow (TMS 0.12)
// the points at 2, 5 and 10 A fail. The 0.9 A point lies below the pickup
// and passes with no trip either way.
TEST_F(OvercurrentModelEngine, InverseTimeRelayTripsJudgedAgainstFunction51Windows)
{
    initialise();
    auto log = plugPageLog();
    OvercurrentModel vm;
    prepare(vm);
    vm.setTdPickUp(VM::FUNCTION_TYPE_51, 0.1);
    vm.setMaxFaultTime(1.5);
    for (double amps : {2.0, 5.0, 10.0, 0.9})
        vm.addAt(amps);
    const struct
    {
        double tms;
        std::vector<int> results;
    } rows[] = {{0.1, {kPass, kPass, kPass, kPass}}, {0.12, {kFail, kFail, kFail, kPass}}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.tms);
        zorsim::InverseTimeRelaySettings s;
        s.channels = {kIA, kIA + 1, kIA + 2};
        s.pickupAmps = 1.0;
        s.tms = r.tms;
        s.curve = zorsim::InverseCurve::iecStandardInverse();
        sim->unplugAll();
        sim->plugIn(log);
        auto relay = std::make_shared<zorsim::InverseTimeRelay>(s);
        sim->plugIn(relay);
        const size_t before = log->all().size();
        run(vm);

        const std::vector<PageLog::Entry> all = log->all();
        const std::vector<PageLog::Entry> played(all.begin() + long(before), all.end());
        std::vector<int64_t> closed;
        for (const zorsim::OvercurrentTrip& t : relay->trips())
            closed.push_back(t.timeNs);
        EXPECT_EQ(closed.size(), 3u);
        expectJudged(vm, operateTimes(played, closed, 4), r.results);
    }
}

// Function 50 (definite time 0.5 s, pickup 1 A) against a definite-time
// relay: the inverse-time model with the definite-time curve on IA, IB and
// IC, and the threshold relay with its delay on IA. The 0.9 A point passes
// with no trip.
TEST_F(OvercurrentModelEngine, DefiniteTimeRelayTripsJudgedAgainstFunction50Windows)
{
    initialise();
    auto log = plugPageLog();
    OvercurrentModel vm;
    prepare(vm);
    vm.setTdPickUp(VM::FUNCTION_TYPE_50, 0.5);
    vm.setMaxFaultTime(1.0);
    vm.addAt(3.0, VM::FUNCTION_TYPE_50, VM::FAULT_TYPE_A_E);
    vm.addAt(6.0, VM::FUNCTION_TYPE_50, VM::FAULT_TYPE_A_B);
    vm.addAt(0.9, VM::FUNCTION_TYPE_50, VM::FAULT_TYPE_A_E);

    const struct
    {
        const char* what;
        std::function<std::vector<int64_t>()> plug;
    } relays[] = {
        {"inverse-time model, curve=dt",
         [&]() -> std::vector<int64_t> {
             zorsim::InverseTimeRelaySettings s;
             s.pickupAmps = 1.0;
             s.tms = 0.5;
             s.curve = zorsim::InverseCurve::definiteTime();
             auto relay = std::make_shared<zorsim::InverseTimeRelay>(s);
             sim->plugIn(relay);
             run(vm);
             std::vector<int64_t> closed;
             for (const zorsim::OvercurrentTrip& t : relay->trips())
                 closed.push_back(t.timeNs);
             return closed;
         }},
        {"threshold relay with delay",
         [&]() -> std::vector<int64_t> {
             zorsim::ThresholdRelaySettings s;
             s.channel = kIA;
             s.pickup = 1.0;
             s.pickupDelaySeconds = 0.5;
             auto relay = std::make_shared<zorsim::ThresholdRelay>(s);
             sim->plugIn(relay);
             run(vm);
             return relay->pickupTimes();
         }},
    };
    for (const auto& r : relays) {
        SCOPED_TRACE(r.what);
        sim->unplugAll();
        sim->plugIn(log);
        const size_t before = log->all().size();
        const std::vector<int64_t> closed = r.plug();
        const std::vector<PageLog::Entry> all = log->all();
        const std::vector<PageLog::Entry> played(all.begin() + long(before), all.end());
        EXPECT_EQ(closed.size(), 2u);
        expectJudged(vm, operateTimes(played, closed, 3), {kPass, kPass, kPass});
    }
}
