// The overcurrent model against the real engine and the simulated
// instrument: the fault phasors the pages carry, and the trips of simulated
// inverse-time and definite-time relays judged against the points' windows.
// The model follows the run as the page does: it selects point (state
// index / 3) on every state index the engine reports. Every TEST runs in a
// process of its own (see EngineFixture.h).

#include "../run_protection/RunProtectionSupport.h"
#include "OvercurrentModelSupport.h"

#include "BaseModelDataOvercurrent.h"
#include "ModelFileSupport.h"
#include "SimHostFactory.h"
#include "SimPacer.h"
#include "SimThresholdRelay.h"
#include "SimTimedRelay.h"

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
    // The model as the page holds it: shown, following the state index.
    // States of 0.5 s: the engine runs 20 times real time, and the testor
    // writes each page while the one before plays.
    void prepare(OvercurrentModel& vm)
    {
        vm.testActive();
        vm.updateDeviceConfig();
        vm.setNormalTime(0.5);
        vm.setIntervalTime(0.5);
        QObject::connect(&vm, &ViewBaseModel::sigUpdateStateIndexToView, &vm,
                         [&vm](int index) { vm.setActiveIndex(index < 0 ? 0 : index / 3); });
    }
    // Runs the list against the relay `plug` plugs in; the fault pages
    // played, each with the start of the page after it (a page restarted
    // under load is logged again: once is kept).
    struct Fault
    {
        PageLog::Entry page;
        int64_t endNs;
    };
    std::vector<Fault> run(OvercurrentModel& vm, const std::function<void()>& plug,
                           std::vector<PageLog::Entry>* pages = nullptr)
    {
        sim->unplugAll();
        auto log = plugPageLog();
        plug();
        EXPECT_TRUE(vm.testStart());
        EXPECT_TRUE(waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 1; }));
        EXPECT_TRUE(waitEnded());
        EXPECT_TRUE(waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 0; }));
        std::vector<PageLog::Entry> played;
        for (const PageLog::Entry& e : log->all())
            if (played.empty() || played.back().ring != e.ring)
                played.push_back(e);
        if (pages)
            *pages = played;
        // A wait for the relay's reset plays the interval outputs (all 0 here).
        const auto outputs = [](const PageLog::Entry& e) {
            return std::any_of(e.page.channels.begin(), e.page.channels.end(),
                               [](const auto& ch) { return !ch.components.empty() && ch.components[0].amplitude > 0; });
        };
        std::vector<Fault> faults;
        for (size_t i = 0; i < played.size(); ++i) {
            if (played[i].page.trigger() == zorsim::TriggerType::TimeOrBinary && outputs(played[i]))
                faults.push_back({played[i], i + 1 < played.size() ? played[i + 1].startNs : INT64_MAX});
        }
        return faults;
    }
    // When the inverse-time relay's contact closed, in its trips' order.
    static std::vector<int64_t> closedTimes(const zorsim::InverseTimeRelay& relay)
    {
        std::vector<int64_t> closed;
        for (const zorsim::OvercurrentTrip& t : relay.trips())
            closed.push_back(t.timeNs);
        return closed;
    }
    // Each point completed; its recorded trip the relay's own contact
    // closing in its fault page, within the microsecond count of the
    // register and the single precision of the time; its verdict.
    void expectJudged(OvercurrentModel& vm, const std::vector<Fault>& faults, const std::vector<int64_t>& closed,
                      const std::vector<int>& results)
    {
        ASSERT_EQ(faults.size(), size_t(vm.getPointsCount()));
        int trips = 0;
        for (int i = 0; i < vm.getPointsCount(); ++i) {
            SCOPED_TRACE(testing::Message() << "point " << i << " at " << vm.getTestCurrent(i) << " A");
            const int64_t begin = faults[size_t(i)].page.startNs;
            double operate = runprotection::kNaN;
            for (int64_t t : closed)
                operate = t >= begin && t < faults[size_t(i)].endNs ? double(t - begin) * 1e-9 : operate;
            EXPECT_EQ(vm.getTestStates(i), VM::AO_STATE_TYPE_COMPLETED);
            if (std::isnan(operate)) {
                EXPECT_TRUE(std::isnan(vm.getActionTimes(i)));
            } else {
                ++trips;
                EXPECT_NEAR(vm.getActionTimes(i), runprotection::recordedTripTime(operate, debounceSeconds()), 2e-6);
                EXPECT_EQ(vm.getBinaryInputIndex(i), 1);
            }
            EXPECT_EQ(vm.getTestResults(i), results[size_t(i)]);
        }
        EXPECT_EQ(size_t(trips), closed.size());
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
    OvercurrentModel vm;
    prepare(vm);
    vm.setTdPickUp(VM::FUNCTION_TYPE_50, 0.1);   // a window the faults of 0.5 s reach
    vm.setMaxFaultTime(0.5);
    vm.setTestAngle(-75.0);
    vm.setFaultVPNRange(20.0);
    const ControllerConfiguration* config = center->testConfiguration;
    // Without fault voltages the points ask for the largest current.
    const auto amps = [config](int kind) { return kind % 2 == 0 ? 1.0 + 0.5 * kind : config->maxIRange; };
    for (int kind = VM::FAULT_TYPE_A_E; kind <= VM::FAULT_TYPE_C; ++kind) {
        vm.setFaultVPEnable(kind % 2 == 0);
        vm.addAt(amps(kind), VM::FUNCTION_TYPE_50, kind);
    }
    const std::vector<Fault> faults = run(vm, [] {});
    ASSERT_EQ(faults.size(), 12u);
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
        const PageLog::Entry& page = faults[size_t(i)].page;
        EXPECT_NEAR(page.page.durationSeconds, 0.5, 1e-6);
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
// and passes with no trip either way. With the pre-fault and interval boxes
// unticked each trip is followed by a wait for the relay's reset, the 0.9 A
// point by none.
TEST_F(OvercurrentModelEngine, InverseTimeRelayTripsJudgedAgainstFunction51Windows)
{
    initialise();
    OvercurrentModel vm;
    prepare(vm);
    vm.setTdPickUp(VM::FUNCTION_TYPE_51, 0.1);
    vm.setMaxFaultTime(1.5);
    for (double amps : {2.0, 0.9, 5.0, 10.0})
        vm.addAt(amps);
    const struct
    {
        double tms;
        bool boxes;
        std::vector<int> results;
    } rows[] = {{0.1, true, {kPass, kPass, kPass, kPass}},
                {0.12, true, {kFail, kPass, kFail, kFail}},
                {0.1, false, {kPass, kPass, kPass, kPass}}};
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.tms << " boxes " << r.boxes);
        vm.setNormalEnable(r.boxes);
        vm.setIntervalEnable(r.boxes);
        zorsim::InverseTimeRelaySettings s;
        s.tms = r.tms;
        s.curve = zorsim::InverseCurve::iecStandardInverse();
        auto relay = std::make_shared<zorsim::InverseTimeRelay>(s);
        std::vector<PageLog::Entry> pages;
        const auto played = run(vm, [&] { sim->plugIn(relay); }, &pages);
        const std::vector<int64_t> closed = closedTimes(*relay);
        EXPECT_EQ(closed.size(), 3u);
        expectJudged(vm, played, closed, r.results);
        if (!r.boxes && played.size() == 4u) {
            // The next fault at once: fault 2 left no trip standing, so
            // nothing waits for the contact to open between faults 2 and 3.
            for (const PageLog::Entry& e : pages) {
                if (e.startNs >= played[1].endNs && e.startNs < played[2].page.startNs)
                    ADD_FAILURE() << "a page of " << e.page.durationSeconds << " s between faults 2 and 3";
            }
        }
    }
}

// Function 50 (definite time 0.5 s, pickup 1 A) against definite-time
// relays: the inverse-time model with curve=dt on IA, IB and IC, and the
// threshold relay with its delay on IA. The 0.9 A point passes with no trip.
TEST_F(OvercurrentModelEngine, DefiniteTimeRelayTripsJudgedAgainstFunction50Windows)
{
    initialise();
    OvercurrentModel vm;
    prepare(vm);
    vm.setTdPickUp(VM::FUNCTION_TYPE_50, 0.5);
    vm.setMaxFaultTime(1.0);
    vm.addAt(3.0, VM::FUNCTION_TYPE_50, VM::FAULT_TYPE_A_E);
    vm.addAt(6.0, VM::FUNCTION_TYPE_50, VM::FAULT_TYPE_A_B);
    vm.addAt(0.9, VM::FUNCTION_TYPE_50, VM::FAULT_TYPE_A_E);

    zorsim::InverseTimeRelaySettings dt;
    dt.tms = 0.5;
    dt.curve = zorsim::InverseCurve::definiteTime();
    auto inverse = std::make_shared<zorsim::InverseTimeRelay>(dt);
    auto played = run(vm, [&] { sim->plugIn(inverse); });
    const std::vector<int64_t> closed = closedTimes(*inverse);
    EXPECT_EQ(closed.size(), 2u);
    expectJudged(vm, played, closed, {kPass, kPass, kPass});

    zorsim::ThresholdRelaySettings delayed;
    delayed.channel = kIA;
    delayed.pickupDelaySeconds = 0.5;
    auto threshold = std::make_shared<zorsim::ThresholdRelay>(delayed);
    played = run(vm, [&] { sim->plugIn(threshold); });
    EXPECT_EQ(threshold->pickupTimes().size(), 2u);
    expectJudged(vm, played, threshold->pickupTimes(), {kPass, kPass, kPass});
}

// At real time, IEC standard inverse (Is 1 A, TMS 1) with the pre-fault and
// interval boxes unticked, against the registry's inverse-time relay: after
// each trip the interval outputs (0 A) play until the relay's contact has
// opened, so every fault begins on a reset relay and is timed from there.
TEST_F(OvercurrentModelEngine, EachFaultBeginsOnceTheRelayHasReset)
{
    atRealTime();
    initialise();
    OvercurrentModel vm;
    prepare(vm);
    vm.setNormalEnable(false);
    vm.setIntervalEnable(false);
    vm.setMaxFaultTime(12.0);
    for (double amps : {2.0, 5.0, 10.0})
        vm.addAt(amps);
    const auto relay = std::dynamic_pointer_cast<zorsim::InverseTimeRelay>(
        zorsim::parseRelaySetup("inverse:channels=IA+IB+IC,pickup=1,tms=1,curve=iec-si,input=0").models.at(0));
    ASSERT_TRUE(relay);
    const std::vector<Fault> faults = run(vm, [&] { sim->plugIn(relay); });
    const std::vector<int64_t> closed = closedTimes(*relay);
    expectJudged(vm, faults, closed, {kPass, kPass, kPass});
    const std::vector<int64_t> opened = relay->resetTimes();
    ASSERT_GE(opened.size(), 2u);
    const double expected[] = {10.029, 4.280, 2.971};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(vm.getActionTimes(int(i)), expected[i], 5e-4) << i;
        // The contact opened between the fault before and this one.
        EXPECT_TRUE(i == 0 || (opened[i - 1] >= faults[i - 1].endNs && opened[i - 1] < faults[i].page.startNs)) << i;
    }
}

// With the interval box unticked the wait after a trip lasts until the relay
// has reset, for as long as a fault may (Max Fault Time, 3 s), not for the
// interval time (0.2 s): a relay that drops off 0.8 s after its current has
// gone has reset before each next fault, and every point passes.
TEST_F(OvercurrentModelEngine, ResetWaitOutlastsTheIntervalTime)
{
    initialise();
    OvercurrentModel vm;
    prepare(vm);
    vm.setNormalEnable(false);
    vm.setIntervalEnable(false);
    vm.setIntervalTime(0.2);
    vm.setMaxFaultTime(3.0);
    vm.setTdPickUp(VM::FUNCTION_TYPE_50, 0.5);
    for (int k = 0; k < 3; ++k)
        vm.addAt(2.0, VM::FUNCTION_TYPE_50);
    const auto relay = std::dynamic_pointer_cast<zorsim::TimedRelay>(
        zorsim::parseRelaySetup("timed:channel=IA,pickup=1,delay=0.5,dropdelay=0.8,input=0").models.at(0));
    ASSERT_TRUE(relay);
    const std::vector<Fault> faults = run(vm, [&] { sim->plugIn(relay); });
    expectJudged(vm, faults, relay->pickupTimes(), {kPass, kPass, kPass});
    const std::vector<int64_t> opened = relay->dropoffTimes();
    ASSERT_GE(opened.size(), 2u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(vm.getRelayNotReset(int(i))) << i;
        EXPECT_TRUE(i == 0 || opened[i - 1] < faults[i].page.startNs) << i;
    }
}

// At real time, a second fault begun on the contact of the first still
// closed (no interval page, or one shorter than the drop-off) reads "Not
// Reset" at once, its fault not played; a contact opened `opened` ms before
// the interval's set end has reset, and point 2 is timed; one opened after
// it has not, however late the host was to leave the interval.
TEST_F(OvercurrentModelEngine, FaultBegunOnAnOperatedRelayReadsNotResetAtOnce)
{
    atRealTime();
    initialise();
    OvercurrentModel vm;
    prepare(vm);
    vm.setNormalEnable(false);
    vm.setIntervalEnable(true);
    vm.setMaxFaultTime(3.0);
    vm.setTdPickUp(VM::FUNCTION_TYPE_50, 0.3);
    for (int k = 0; k < 2; ++k)
        vm.addAt(2.0, VM::FUNCTION_TYPE_50);
    const struct
    {
        double interval, opened;
    } rows[] = {{0.0, -2500.0}, {0.2, -2300.0}, {0.5, 18.4}, {0.5, 16.8}, {0.5, 14.8}, {0.5, 12.1},
                {0.5, 10.1},    {0.5, 5.0},     {0.5, -1.0}, {0.5, -5.0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "interval " << row.interval << ", opened " << row.opened << " ms");
        vm.setIntervalTime(row.interval);
        const auto relay = runsource::timedRelay(
            QStringLiteral("timed:channel=IA,pickup=1,delay=0.3,dropdelay=%1,input=0")
                .arg(row.interval - row.opened / 1000.0, 0, 'f', 6));
        const std::vector<Fault> faults = run(vm, [&] { sim->plugIn(relay); });
        ASSERT_FALSE(faults.empty());
        ASSERT_FALSE(relay->pickupTimes().empty());
        EXPECT_NEAR(vm.getActionTimes(0),
                    runprotection::recordedTripTime(double(relay->pickupTimes()[0] - faults[0].page.startNs) * 1e-9,
                                                    debounceSeconds()),
                    2e-6);
        EXPECT_EQ(vm.getTestResults(0), kPass);
        EXPECT_FALSE(vm.getRelayNotReset(0));
        EXPECT_EQ(vm.getTestStates(1), VM::AO_STATE_TYPE_COMPLETED);
        // Reset when the contact opened before the interval's set end (its
        // start, where the fault ended, and its time), however long the
        // instrument held it after.
        const std::vector<int64_t> opened = relay->dropoffTimes();
        const int64_t setEnd = faults[0].endNs + std::llround(row.interval * 1e9);
        const bool reset = !opened.empty() && opened[0] < setEnd;
        EXPECT_EQ(reset, row.opened > 0.0);
        ASSERT_EQ(faults.size(), reset ? 2u : 1u);
        EXPECT_EQ(vm.getRelayNotReset(1), !reset);
        if (!reset) {
            EXPECT_TRUE(std::isnan(vm.getActionTimes(1)));
            EXPECT_EQ(vm.getTestResults(1), kFail);
            continue;
        }
        EXPECT_LT(opened[0], faults[1].page.startNs);
        ASSERT_EQ(relay->pickupTimes().size(), 2u);
        EXPECT_NEAR(vm.getActionTimes(1),
                    runprotection::recordedTripTime(double(relay->pickupTimes()[1] - faults[1].page.startNs) * 1e-9,
                                                    debounceSeconds()),
                    2e-6);
        EXPECT_EQ(vm.getTestResults(1), kPass);
    }
}

// Closes DI 2 0.1 s into the first pre-fault page (no current) and opens it
// `beforeEndUs` before that page's set end (negative: after it).
class PreFaultContact : public zorsim::DutModel
{
public:
    explicit PreFaultContact(int64_t beforeEndUs)
        : beforeEndUs(beforeEndUs)
    {
    }
    std::string name() const override { return "pre-fault contact"; }
    void plugged(zorsim::DutContext& context) override { ctx = &context; }
    void outputsChanged() override
    {
        const zorsim::PlayedOutputs& out = ctx->outputs();
        const auto& ia = out.page.channels[size_t(kIA)].components;
        if (done || !out.running || ia.empty() || ia[0].amplitude > 0.0)
            return;
        done = true;
        const int64_t start = out.pageStartNs;
        const int64_t end = start + std::llround(out.page.durationSeconds * 1e9);
        ctx->scheduleAt(start + 100000000, [this] { ctx->setBinaryInput(1, true); });
        ctx->scheduleAt(end - beforeEndUs * 1000, [this] { ctx->setBinaryInput(1, false); });
    }

private:
    zorsim::DutContext* ctx = nullptr;
    int64_t beforeEndUs;
    bool done = false;
};

// At real time, a 0.5 s pre-fault and one point (the IA relay at 0.3 s on
// DI 1, function 50 at 0.3 s): a contact on DI 2 closed in the pre-fault and
// opened just before its end (just after, with every edge watched) leaves
// the fault its whole time: 0.300 s, Passed. With DI 2 watched rising it had
// reset; with both edges of every input (the page's default) its opening,
// confirmed after the pre-fault, does not end the fault.
TEST_F(OvercurrentModelEngine, AContactOpeningAtThePreFaultsEndLeavesTheFaultItsTime)
{
    atRealTime();
    initialise();
    const struct
    {
        int watched;       // DI 1 and DI 2: AO_BI_STATE_OFFON, or every input both edges
        int64_t beforeUs;  // DI 2 opens this long before the pre-fault's set end
    } rows[] = {{VM::AO_BI_STATE_OFFON, 14000}, {VM::AO_BI_STATE_OFFON, 100}, {VM::AO_BI_STATE_ALL, -100}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "watched " << row.watched << ", opened " << row.beforeUs << " us before");
        OvercurrentModel vm;
        prepare(vm);
        vm.setNormalEnable(true);
        vm.setIntervalEnable(true);
        vm.setTdPickUp(VM::FUNCTION_TYPE_50, 0.3);
        vm.setMaxFaultTime(0.4);
        for (int k = 0; k < 4; ++k)
            vm.setOutputBIState(0, k, row.watched == VM::AO_BI_STATE_ALL || k < 2 ? row.watched : VM::AO_BI_STATE_NONE);
        vm.addAt(2.0, VM::FUNCTION_TYPE_50);
        const auto relay = runsource::timedRelay(QStringLiteral("timed:channel=IA,pickup=1,delay=0.3,input=0"));
        const std::vector<Fault> faults = run(vm, [&] {
            sim->plugIn(relay);
            sim->plugIn(std::make_shared<PreFaultContact>(row.beforeUs));
        });
        ASSERT_EQ(faults.size(), 1u);
        EXPECT_FALSE(vm.getRelayNotReset(0));
        EXPECT_NEAR(vm.getActionTimes(0), 0.300, 2e-6);
        EXPECT_EQ(vm.getTestResults(0), kPass);
    }
}

// At real time, points 2 and 3 begun on the relay point 1 operated read Not
// Reset, their faults never played: the relay drops off 1.5 s after point
// 1's fault, and point 4 is tested to its time.
TEST_F(OvercurrentModelEngine, AFaultPassedOverPlaysNothing)
{
    atRealTime();
    initialise();
    OvercurrentModel vm;
    prepare(vm);
    vm.setNormalEnable(true);
    vm.setIntervalEnable(true);
    vm.setIntervalTime(0.2);
    vm.setMaxFaultTime(1.0);
    vm.setTdPickUp(VM::FUNCTION_TYPE_50, 0.3);
    for (double amps : {2.0, 2.0, 2.0, 0.5})
        vm.addAt(amps, VM::FUNCTION_TYPE_50);
    const auto relay = runsource::timedRelay("timed:channel=IA,pickup=1,delay=0.3,dropdelay=1.5,input=0");
    const std::vector<Fault> faults = run(vm, [&] { sim->plugIn(relay); });
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_NEAR(faults[1].page.amplitude(kIA), 0.5, 1e-6);
    EXPECT_GE(faults[1].endNs - faults[1].page.startNs, 1000000000);
    ASSERT_EQ(relay->dropoffTimes().size(), 1u);
    EXPECT_NEAR(double(relay->dropoffTimes()[0] - faults[0].endNs) * 1e-9, 1.5, 1e-3);
    const int results[] = {kPass, kFail, kFail, kPass};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(vm.getTestStates(i), VM::AO_STATE_TYPE_COMPLETED);
        EXPECT_EQ(vm.getRelayNotReset(i), i == 1 || i == 2);
        EXPECT_EQ(vm.getTestResults(i), results[i]);
    }
}

// A point below the pick-up (no trip expected) stopped by hand early in its
// 200 s window has not been tested: not tested on the page and in the
// report, not "Passed"; the point before it, tripped, keeps its verdict.
TEST_F(OvercurrentModelEngine, PointStoppedBeforeItsWindowRanOutIsNotTested)
{
    initialise();
    OvercurrentModel vm;
    prepare(vm);
    vm.setNormalEnable(false);
    vm.setMaxFaultTime(200.0);
    vm.setTdPickUp(VM::FUNCTION_TYPE_50, 0.5);
    vm.addAt(2.0, VM::FUNCTION_TYPE_50);
    vm.addAt(0.5, VM::FUNCTION_TYPE_50);
    sim->unplugAll();
    sim->plugIn(zorsim::parseRelaySetup("threshold:channel=IA,pickup=1,delay=0.5,input=0").models.at(0));
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitFor([&] {
        QMutexLocker lock(&entity().entityLock);
        return entity().outputRunningStateIndex == 4;
    }));
    vm.testInterrupt();
    ASSERT_TRUE(waitEnded());
    ASSERT_TRUE(waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 0; }));
    EXPECT_EQ(vm.getTestResults(0), kPass);
    EXPECT_EQ(vm.getTestStates(1), VM::AO_STATE_TYPE_INITING);
    EXPECT_EQ(vm.getTestResults(1), VM::AO_Result_TYPE_NONE);
    ASSERT_TRUE(vm.saveReport("stopped.htm"));
    QFile report(QDir::currentPath() + "/report/Overcurrent/stopped.htm");
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    // The result table: its heading row begins with an empty cell.
    const std::vector<filetest::Table> tables = filetest::tables(report.readAll());
    const auto results = std::find_if(tables.begin(), tables.end(), [](const filetest::Table& t) {
        return !t.empty() && !t[0].empty() && t[0][0].empty();
    });
    ASSERT_NE(results, tables.end());
    ASSERT_EQ(results->size(), 3u);
    EXPECT_EQ(results->at(1).back(), "通过");
    EXPECT_EQ(results->at(2).back(), "未测试");
}

// At real time, "BS142 LTI" (Is 1 A, TMS 0.05) against the registry's
// inverse-time relay on the published long time inverse curve: 2 A trips
// at 120 x 0.05 / (2 - 1) = 6 s and the point passes.
TEST_F(OvercurrentModelEngine, LongTimeInverseRowMatchesThePublishedCurve)
{
    atRealTime();
    initialise();
    OvercurrentModel vm;
    prepare(vm);
    vm.setNormalEnable(false);
    vm.setIntervalEnable(false);
    vm.setMaxFaultTime(12.0);
    vm.setCharType(OperatingCurves::CHAR_STAND);
    vm.setCharIndex(3);
    vm.setFunction(VM::FUNCTION_TYPE_51);
    ASSERT_EQ(vm.getCurrentCharName(), QStringLiteral("BS142 LTI"));
    vm.setTdPickUp(VM::FUNCTION_TYPE_51, 0.05);
    vm.addAt(2.0);
    const auto relay = std::dynamic_pointer_cast<zorsim::InverseTimeRelay>(
        zorsim::parseRelaySetup("inverse:channels=IA+IB+IC,pickup=1,tms=0.05,curve=iec-lti,input=0").models.at(0));
    ASSERT_TRUE(relay);
    const std::vector<Fault> faults = run(vm, [&] { sim->plugIn(relay); });
    const std::vector<int64_t> closed = closedTimes(*relay);
    expectJudged(vm, faults, closed, {kPass});
    EXPECT_NEAR(vm.getActionTimes(0), 6.0, 5e-4);
}

// At real time, relays slower than their faults (function 50 at 10 ms,
// pre-fault and interval unticked): a contact that moved in a fault and was
// confirmed after it is that fault's trip, and the fault after it, begun on
// the contact still closed, reads Not Reset whatever it plays.
TEST_F(OvercurrentModelEngine, TripConfirmedAfterItsFaultIsThatFaultsTrip)
{
    atRealTime();
    initialise();
    OvercurrentModel vm;
    prepare(vm);
    vm.setNormalEnable(false);
    vm.setIntervalEnable(false);
    vm.setTdPickUp(VM::FUNCTION_TYPE_50, 0.01);
    const struct
    {
        double maxFault;
        double delay;
        std::vector<double> amps;
    } rows[] = {{0.065, 0.06, {2.0, 2.0}}, {0.065, 0.06, {2.0, 0.5}}, {1.065, 1.051, {2.0}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "delay " << row.delay << ", points " << row.amps.size() << ", last at "
                                        << row.amps.back() << " A");
        vm.setMaxFaultTime(row.maxFault);
        vm.clearPoint();
        for (double a : row.amps)
            vm.addAt(a, VM::FUNCTION_TYPE_50);
        const auto relay = runsource::timedRelay(
            QStringLiteral("timed:channel=IA,pickup=1,delay=%1,dropdelay=0.1,input=0").arg(row.delay));
        const std::vector<Fault> faults = run(vm, [&] { sim->plugIn(relay); });
        ASSERT_FALSE(faults.empty());
        ASSERT_EQ(relay->pickupTimes().size(), 1u);
        // Confirmed on a later page: placed by the times the instrument
        // played the pages between, its holds included.
        const double operate = double(relay->pickupTimes()[0] - faults[0].page.startNs) * 1e-9;
        EXPECT_NEAR(vm.getActionTimes(0), operate, 2e-6);
        EXPECT_EQ(vm.getTestResults(0), kFail);
        if (row.amps.size() < 2)
            continue;
        EXPECT_TRUE(vm.getRelayNotReset(1));
        EXPECT_TRUE(std::isnan(vm.getActionTimes(1)));
        EXPECT_EQ(vm.getTestResults(1), kFail);
    }
}

// At real time, two relays and a 0.5 s interval, pre-fault unticked. Each
// point reads its trip time, its verdict and no Not Reset:
// - the IA relay closes 60 ms into point 1's 65 ms fault (function 50 at
//   10 ms), confirmed on the interval, and opens 0.1 s after it; point 2
//   (B-N) finds it reset and the IB relay trips it in 10 ms;
// - two IA relays on DI 1 and DI 2, both watched rising, at 0.300 and
//   0.305 s (function 50 at 0.3 s, Max Fault 0.4 s), both open 0.05 s
//   after: OR logic reads 0.300 s at each of three points, AND logic the
//   completing 0.305 s at each of two.
TEST_F(OvercurrentModelEngine, TwoContactsAreJudgedAsTheirLogicReadsThem)
{
    atRealTime();
    initialise();
    const char* const both = "timed:channel=IA,pickup=1,delay=0.3,dropdelay=0.05,input=0;"
                             "timed:channel=IA,pickup=1,delay=0.305,dropdelay=0.05,input=1";
    const struct
    {
        const char* relays;
        double pickupTime, maxFault;
        std::vector<int> kinds;
        bool twoInputs;
        int logic;
        std::vector<double> times;
        std::vector<int> results;
    } rows[] = {
        {"timed:channel=IA,pickup=1,delay=0.06,dropdelay=0.1,input=0;timed:channel=IB,pickup=1,delay=0.01,input=0",
         0.01, 0.065, {VM::FAULT_TYPE_A_E, VM::FAULT_TYPE_B_E}, false, VM::AO_BILOGIC_TYPE_OR,
         {runprotection::kNaN, 0.010}, {kFail, kPass}},
        {both, 0.3, 0.4, {VM::FAULT_TYPE_A_E, VM::FAULT_TYPE_A_E, VM::FAULT_TYPE_A_E}, true, VM::AO_BILOGIC_TYPE_OR,
         {0.300, 0.300, 0.300}, {kPass, kPass, kPass}},
        {both, 0.3, 0.4, {VM::FAULT_TYPE_A_E, VM::FAULT_TYPE_A_E}, true, VM::AO_BILOGIC_TYPE_AND, {0.305, 0.305},
         {kPass, kPass}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.relays << ", " << row.kinds.size() << " points, logic " << row.logic);
        // The row before's relays have opened.
        sim->unplugAll();
        for (int k = 0; k < 2; ++k)
            sim->setBinaryInput(k, false);
        QThread::msleep(50);
        OvercurrentModel vm;
        prepare(vm);
        vm.setNormalEnable(false);
        vm.setIntervalEnable(true);
        vm.setIntervalTime(0.5);
        vm.setTdPickUp(VM::FUNCTION_TYPE_50, row.pickupTime);
        vm.setMaxFaultTime(row.maxFault);
        for (int k = 0; k < 4; ++k)
            vm.setOutputBIState(0, k, k == 0 || (k == 1 && row.twoInputs) ? VM::AO_BI_STATE_OFFON : VM::AO_BI_STATE_NONE);
        vm.setOutputBILogic(0, row.logic);
        for (int kind : row.kinds)
            vm.addAt(2.0, VM::FUNCTION_TYPE_50, kind);
        const auto relays = zorsim::parseRelaySetup(QString::fromLatin1(row.relays));
        const std::vector<Fault> faults = run(vm, [&] {
            for (const auto& relay : relays.models)
                sim->plugIn(relay);
        });
        ASSERT_EQ(faults.size(), row.kinds.size());
        for (size_t i = 0; i < row.kinds.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_FALSE(vm.getRelayNotReset(int(i)));
            if (!std::isnan(row.times[i])) {
                EXPECT_NEAR(vm.getActionTimes(int(i)), row.times[i], 2e-6);
            }
            EXPECT_EQ(vm.getTestResults(int(i)), row.results[i]);
        }
    }
}
