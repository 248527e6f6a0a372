// The energy-meter model against the real engine and the simulated
// instrument: a meter model with a known error pulses for the power the
// points play, the engine counts and times its pulses, and the model judges
// the error. The model follows the run as the page does. Every TEST runs in
// a process of its own (see EngineFixture.h).

#include "../run_protection/RunProtectionSupport.h"
#include "EnergyModelSupport.h"

#include "SimHostFactory.h"
#include "SimPacer.h"

#include <algorithm>
#include <vector>

using namespace emtest;
using namespace runprotection;

namespace {

constexpr double kConstant = 18000.0;   // imp/kWh (kvarh, kVAh), the meter's and the model's

struct MeterRun
{
    const char* name;
    int meterKind;
    zorsim::MeterQuantity quantity;
    double error;   // the meter's, relative
    std::vector<double> angles;
};

void PrintTo(const MeterRun& r, std::ostream* os)
{
    *os << r.name;
}

class EnergyModelEngine : public RunProtectionTest
{
protected:
    std::shared_ptr<zorsim::EnergyMeter> plugMeter(zorsim::MeterQuantity quantity, double error)
    {
        zorsim::EnergyMeterSettings s;
        s.impulsesPerKwh = kConstant;
        s.error = error;
        s.quantity = quantity;
        auto meter = std::make_shared<zorsim::EnergyMeter>(s);
        sim->plugIn(meter);
        return meter;
    }
    // The model as the page holds it: shown, following the state index.
    void prepare(EnergyModel& vm, int meterKind)
    {
        vm.testActive();
        vm.setMeterKind(meterKind);
        vm.setSecondaryPulseKWH(kConstant);
        vm.setHotTime(0.5);
        vm.setStartTime(0.2);
        vm.setSettingPulse(10.0);
        QObject::connect(&vm, &ViewBaseModel::sigUpdateStateIndexToView, &vm,
                         [&vm](int index) { vm.setActiveIndex(index); });
    }
    void run(EnergyModel& vm, const std::function<void()>& whileRunning = {})
    {
        ASSERT_TRUE(vm.testStart()) << qPrintable(vm.getUserMessage());
        ASSERT_TRUE(waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 1; }));
        if (whileRunning)
            whileRunning();
        ASSERT_TRUE(waitEnded());
        ASSERT_TRUE(waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 0; }));
    }
    bool emittingPeriod(uint32_t ticks)
    {
        const uint32_t written = sim->peekRegister(kPulseOutputPeriodLow)
                                 | (uint32_t(sim->peekRegister(kPulseOutputPeriodHigh)) << 16);
        return sim->peekRegister(kPulseOutputEnableRegister) != 0 && written == ticks;
    }
};

class EnergyModelError : public EnergyModelEngine, public ::testing::WithParamInterface<MeterRun>
{
};

} // namespace

// In each connection three points; the error reads the meter's to 0.001 %
// and passes a 1 % class; counts, times and energies fill the rows. The
// active meter's first run also sends local pulses: 1500 W at 3600 imp/kWh
// give a period of 83,333,332 ticks.
TEST_P(EnergyModelError, ErrorOfTheMeterInEveryConnection)
{
    const MeterRun& r = GetParam();
    initialise();
    plugMeter(r.quantity, r.error);
    EnergyModel vm;
    prepare(vm, r.meterKind);
    const bool local = r.meterKind == VM::Power_Active && r.error == 0.0;
    vm.setLocalPulseEnable(local);
    vm.setPulseConst(3600.0);
    for (int connection = 0; connection < 3; ++connection) {
        SCOPED_TRACE(connection);
        vm.clearPoint();
        vm.setSingleEnable(connection == 2);
        vm.setMeasureMeterKind(connection == 1 ? VM::Measure_Three : VM::Measure_Four);
        for (double angle : r.angles) {
            vm.setPowerAngle(angle);
            vm.addPoint();
        }
        ASSERT_EQ(vm.getPointsCount(), int(r.angles.size()));
        run(vm, [&] {
            if (local && connection == 0) {
                EXPECT_TRUE(waitFor([&] { return emittingPeriod(83333332u); }));
            }
        });
        for (int i = 0; i < vm.getPointsCount(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(vm.getTestStates(i), VM::AO_STATE_TYPE_COMPLETED);
            EXPECT_EQ(vm.getTestResults(i), VM::AO_Result_TYPE_SUCCESS);
            EXPECT_NEAR(vm.getActualDev(i), 100.0 * r.error, 1e-3);
            EXPECT_EQ(vm.getActualPulse(i), 10.0);
            EXPECT_NEAR(vm.getActualTime(i), vm.getSettingTime(i) / (1.0 + r.error), 1e-5 * vm.getSettingTime(i));
            EXPECT_NEAR(vm.getActualEnergy(i), vm.getSettingEnergy(i) / (1.0 + r.error), 1e-5);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Meters, EnergyModelError,
    ::testing::Values(
        MeterRun{"ActiveExact", VM::Power_Active, zorsim::MeterQuantity::Active, 0.0, {0.0, 60.0, -60.0}},
        MeterRun{"ActiveFast", VM::Power_Active, zorsim::MeterQuantity::Active, 0.008, {0.0, 60.0, -60.0}},
        MeterRun{"ActiveSlow", VM::Power_Active, zorsim::MeterQuantity::Active, -0.008, {0.0, 60.0, -60.0}},
        MeterRun{"Reactive", VM::Power_Reactive, zorsim::MeterQuantity::Reactive, 0.008, {30.0, 60.0, 120.0}},
        MeterRun{"Apparent", VM::Power_Apparent, zorsim::MeterQuantity::Apparent, -0.008, {0.0, 60.0, -60.0}}),
    [](const ::testing::TestParamInfo<MeterRun>& info) { return std::string(info.param.name); });

// A meter that stops sending after the first point: that point passes, the
// next one counts nothing and fails.
TEST_F(EnergyModelEngine, MeterThatStopsSendingFails)
{
    initialise();
    plugMeter(zorsim::MeterQuantity::Active, 0.0);
    EnergyModel vm;
    prepare(vm, VM::Power_Active);
    vm.setStartTime(2.0);
    vm.setSettingPulse(5.0);
    vm.addPoint();
    vm.addPoint();
    ModelEnergyEntity& e = entity();
    run(vm, [&] {
        ASSERT_TRUE(waitFor([&] {
            return read(e, [](ModelEnergyEntity& x) { return x.stateTestStates[0] == ModelEntity::AO_STATE_TYPE_COMPLETED; });
        }));
        sim->unplugAll();
    });
    EXPECT_EQ(vm.getTestResults(0), VM::AO_Result_TYPE_SUCCESS);
    EXPECT_EQ(vm.getTestStates(1), VM::AO_STATE_TYPE_COMPLETED);
    EXPECT_EQ(vm.getTestResults(1), VM::AO_Result_TYPE_FAILED);
    EXPECT_LT(vm.getActualPulse(1), 5.0);
}

// A run stopped while the first point counts: that point and the next have
// not been tested, neither failed for their short counts.
TEST_F(EnergyModelEngine, PointStoppedBeforeItsCountEndedIsNotTested)
{
    initialise();
    plugMeter(zorsim::MeterQuantity::Active, 0.0);
    EnergyModel vm;
    prepare(vm, VM::Power_Active);
    vm.setStartTime(2.0);
    vm.setSettingPulse(50.0);
    vm.addPoint();
    vm.addPoint();
    ModelEnergyEntity& e = entity();
    run(vm, [&] {
        ASSERT_TRUE(waitFor([&] {
            return read(e, [](ModelEnergyEntity& x) {
                return x.stateTestStates[0] == ModelEntity::AO_STATE_TYPE_RUNNNING;
            });
        }));
        vm.testInterrupt();
    });
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(vm.getTestStates(i), VM::AO_STATE_TYPE_INITING);
        EXPECT_EQ(vm.getTestResults(i), VM::AO_Result_TYPE_NONE);
    }
}

namespace {

// The README's meter on a three-phase four-wire connection at 100 V; the run
// at the tests' pace or, paced as the application paces the instrument, at
// real time.
class EnergyModelWindow : public EnergyModelEngine, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        EnergyModelEngine::SetUp();
        if (GetParam()) {
            zoplat::setTimeScale(1.0);
            pacer.reset();
            appPacer = std::make_unique<zorsim::SimPacer>(*sim);
            appPacer->start();
        }
    }
    void TearDown() override
    {
        appPacer.reset();
        EnergyModelEngine::TearDown();
    }
    void prepareMeter(EnergyModel& vm, const char* meter, double pulses)
    {
        for (const auto& model : zorsim::parseRelaySetup(QString::fromLatin1(meter)).models)
            sim->plugIn(model);
        vm.testActive();
        vm.setSecondaryPulseKWH(3600.0);
        vm.setVoltageLN(100.0);
        vm.setSettingPulse(pulses);
        vm.setHotTime(0.0);
        vm.setStartTime(1.0);
        QObject::connect(&vm, &ViewBaseModel::sigUpdateStateIndexToView, &vm,
                         [&vm](int index) { vm.setActiveIndex(index); });
    }
    // A point of that power (current in phase on three phases of 100 V).
    void addAt(EnergyModel& vm, double watts)
    {
        vm.setCurrent(watts / 300.0);
        vm.addPoint();
    }

    std::unique_ptr<zorsim::SimPacer> appPacer;
};

} // namespace

// One pulse counted per point, from 0.667 s to 3.7 s between pulses: each
// count (the wait for the pulse that opens it, then the one pulse) ends
// within the point's window, and the meter's 0.5 % reads in every row. The
// first point counts at once, the others after 1 s.
TEST_P(EnergyModelWindow, OnePulsePointsAreCountedAndPass)
{
    initialise();
    EnergyModel vm;
    prepareMeter(vm, "energy:constant=3600,error=0.005,kind=active", 1.0);
    const double watts[] = {1500.0, 1250.0, 666.7, 555.6, 270.0};
    for (double w : watts)
        addAt(vm, w);
    run(vm);
    for (int i = 0; i < vm.getPointsCount(); ++i) {
        SCOPED_TRACE(testing::Message() << watts[i] << " W");
        EXPECT_EQ(vm.getTestStates(i), VM::AO_STATE_TYPE_COMPLETED);
        EXPECT_EQ(vm.getActualPulse(i), 1.0);
        EXPECT_NEAR(vm.getActualDev(i), 0.5, 1e-3);
        EXPECT_EQ(vm.getTestResults(i), VM::AO_Result_TYPE_SUCCESS);
    }
}

// A meter that sends nothing fails once the window of its point has run out,
// in the instrument's time: the count once, the wait for its first pulse and
// the settle, a fifth more. Ten pulses of 3 s: 41 s (not the 360 s of the
// count's time taken once per pulse); five of 0.667 s: 6 s (not 19 s).
TEST_P(EnergyModelWindow, DeadMeterFailsWithinTheWindow)
{
    const double pulses = GetParam() ? 5.0 : 10.0;
    const double watts = GetParam() ? 1500.0 : 1000.0 / 3.0;
    const double window = GetParam() ? 6.0 : 41.0;
    initialise();
    auto log = plugPageLog();
    EnergyModel vm;
    prepareMeter(vm, "none", pulses);
    addAt(vm, watts);
    run(vm);
    EXPECT_EQ(vm.getTestStates(0), VM::AO_STATE_TYPE_COMPLETED);
    EXPECT_EQ(vm.getTestResults(0), VM::AO_Result_TYPE_FAILED);
    EXPECT_EQ(vm.getActualPulse(0), 0.0);
    // The point's page, until the instrument moved on (a page restarted
    // under load is logged again).
    const std::vector<runprotection::PageLog::Entry> pages = log->all();
    ASSERT_FALSE(pages.empty());
    const auto next = std::find_if(pages.begin(), pages.end(), [&](const auto& e) { return e.ring != pages[0].ring; });
    ASSERT_NE(next, pages.end());
    const double played = double(next->startNs - pages[0].startNs) * 1e-9;
    EXPECT_GE(played, window - 0.5);
    EXPECT_LT(played, 1.5 * window);
}

INSTANTIATE_TEST_SUITE_P(Pace, EnergyModelWindow, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "RealTime" : "Scaled");
                         });
