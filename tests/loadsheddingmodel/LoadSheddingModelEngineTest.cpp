// Both load-shedding models against the real engine and the simulated
// instrument, with shedding relay models on its inputs: the searches record
// the first step at which the relay trips, the action-time items the
// operate time counted from the crossing of the setting. The model follows
// the run as the page does: it selects the point of every state index the
// engine reports. Every TEST runs in a process of its own (EngineFixture.h).

#include "../run_protection/RunProtectionSupport.h"
#include "LoadSheddingModelSupport.h"

#include "ModelFileSupport.h"

#include "SimHostFactory.h"
#include "SimPacer.h"
#include "SimTimedRelay.h"

#include <functional>
#include <vector>

using namespace lstest;
using runsource::waitFor;

namespace {

using VB = ViewBaseModel;

// A point: the slid quantity's ramp and, for the searches that step a
// series of their own, that series (its first setting, begin, end, step).
struct TestPoint
{
    int item;
    double begin, end, step, rate, timing;
    int series = -1;
    double seriesBegin = 0.0, seriesEnd = 0.0, seriesStep = 0.0;
};

// Expected per point: the action value's text, or the operate time.
struct Expect
{
    const char* value;
    double operate;
};

class LoadSheddingEngine : public RunProtectionTest
{
protected:
    // The model as its page holds it: shown, following the state index,
    // rated voltages before and after each fault. Pre-fault and after-fault
    // pages of 1 s (pages of 0 s are run in tests/run_protection).
    // The frequency model, prepared, against a relay that never acts above 40 Hz.
    std::unique_ptr<ViewLoadSheddingModel> frequencyModelWithSilentRelay()
    {
        initialise();
        zorsim::FrequencyRelaySettings s;
        s.pickupHz = 40.0;
        sim->plugIn(std::make_shared<zorsim::FrequencyRelay>(s));
        std::unique_ptr<ViewLoadSheddingModel> vm = makeModel(false);
        prepare(*vm);
        return vm;
    }
    void prepare(ViewLoadSheddingModel& vm)
    {
        vm.testActive();
        vm.updateDeviceConfig();
        for (int c = 0; c < 3; ++c)
            vm.setIntervalOutput(VB::AO_ITEM_TYPE_RANGE, VB::AOPortType(c), 57.735);
        vm.setPreFaultTime(1.0);
        vm.setHoldTime(0.5);
        vm.setAfterFaultTime(1.0);
        selected.clear();
        QObject::connect(&vm, &ViewBaseModel::sigUpdateStateIndexToView, &vm, [&vm, this](int index) {
            vm.setActiveIndex(index >= 0 && index < vm.getPointsCount() ? index : 0);
            selected.push_back(vm.getActiveIndex());
        });
    }
    void run(ViewLoadSheddingModel& vm)
    {
        ASSERT_TRUE(vm.testStart());
        ASSERT_TRUE(waitFor([&] { return vm.getState(VB::STATE_TYPE_RUNNING) == 1; }))
            << qPrintable(testor().lastStartRefusal());
        ASSERT_TRUE(waitEnded());
        ASSERT_TRUE(waitFor([&] { return vm.getState(VB::STATE_TYPE_RUNNING) == 0 && vm.getExitEnabled(); }));
    }
    void addPoints(ViewLoadSheddingModel& vm, const std::vector<TestPoint>& points)
    {
        for (const TestPoint& p : points) {
            if (p.series >= 0) {
                Probe::set(vm, p.series, p.seriesBegin);
                Probe::set(vm, p.series + 1, p.seriesEnd);
                Probe::set(vm, p.series + 2, p.seriesStep);
            }
            add(vm, p.item, p.begin, p.end, p.step, p.rate, p.timing);
        }
    }
    void expectResults(const ViewLoadSheddingModel& vm, const std::vector<Expect>& expect)
    {
        ASSERT_EQ(vm.getPointsCount(), int(expect.size()));
        for (int i = 0; i < vm.getPointsCount(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(vm.getTestStates(i), VB::AO_STATE_TYPE_COMPLETED);
            ASSERT_GT(vm.getActionTime(i), 0.0);
            if (expect[size_t(i)].value)
                EXPECT_EQ(vm.getActionValueStr(i), QString::fromUtf8(expect[size_t(i)].value));
            else
                EXPECT_NEAR(vm.operateTime(i), expect[size_t(i)].operate, 1e-4);
        }
        // Point by point: the selection never went back and ended on the last point.
        ASSERT_FALSE(selected.empty());
        EXPECT_EQ(selected.back(), vm.getPointsCount() - 1);
        for (size_t k = 1; k < selected.size(); ++k)
            EXPECT_LE(selected[k - 1], selected[k]);
    }

    // A field of the running load-shedding entity, read under its lock.
    template <typename Fn>
    int entityField(bool voltage, Fn fn)
    {
        const auto read = [&fn](auto& e) {
            QMutexLocker lock(&e.entityLock);
            return int(fn(e));
        };
        return voltage ? read(*testor().dataSlipVoltage) : read(*testor().dataSlipFrequency);
    }

    std::vector<int> selected;
};

} // namespace

TEST_F(LoadSheddingEngine, SearchesRecordTheFirstTrippingStepAndTheOperateTime)
{
    initialise();
    const auto frequency = [](double pickup, std::function<void(zorsim::FrequencyRelaySettings&)> more = {}) {
        zorsim::FrequencyRelaySettings s;
        s.pickupHz = pickup;
        s.delaySeconds = 0.2;
        if (more)
            more(s);
        return std::shared_ptr<zorsim::DutModel>(std::make_shared<zorsim::FrequencyRelay>(s));
    };
    const auto voltage = [](std::function<void(zorsim::VoltageRelaySettings&)> more = {}) {
        zorsim::VoltageRelaySettings s;
        s.pickupVolts = 45.0;
        s.delaySeconds = 0.3;
        if (more)
            more(s);
        return std::shared_ptr<zorsim::DutModel>(std::make_shared<zorsim::VoltageRelay>(s));
    };
    struct Row
    {
        const char* name;
        bool voltage;
        std::shared_ptr<zorsim::DutModel> relay;
        std::vector<TestPoint> points;
        std::vector<Expect> expect;
    };
    const Row rows[] = {
        // 49.5 .. 48.0 Hz by 0.2 Hz: 48.7 Hz is the first stop below 48.8 Hz.
        {"action frequency", false, frequency(48.8), {{UF::ITEM_ACTION_FREQUENCY, 49.5, 48.0, 0.2, 2.0, 0.0}},
         {{"48.700Hz", 0.0}}},
        // 50 -> 45 Hz at 1 Hz/s timed from 49 Hz: the relay's delay.
        {"action time", false, frequency(49.0), {{UF::ITEM_ACTION_TIME, 50.0, 45.0, 0.0, 1.0, 49.0}}, {{nullptr, 0.2}}},
        // Slides from 50 to 48 Hz at 4.0 .. 1.0 Hz/s; blocked above 2.2 Hz/s.
        {"df/dt blocking", false, frequency(49.0, [](auto& s) { s.dfdtBlockHzPerSecond = 2.2; }),
         {{UF::ITEM_FREQUENCY_SLIP, 50.0, 48.0, 0.0, 0.0, 0.0, UF::SLIP_BEGIN, 4.0, 1.0, 0.5}}, {{"2.000Hz/s", 0.0}}},
        {"UF low-current blocking", false, frequency(49.0, [](auto& s) { s.lowCurrentBlockAmps = 0.5; }),
         {{UF::ITEM_LOW_I_LOCK, 50.0, 48.0, 0.0, 2.0, 0.0, UF::CURRENT_BEGIN, 0.2, 1.0, 0.2}}, {{"0.600A", 0.0}}},
        {"voltage blocking", false, frequency(49.0, [](auto& s) { s.underVoltageBlockVolts = 37.0; }),
         {{UF::ITEM_V_LOCK, 50.0, 48.0, 0.0, 2.0, 0.0, UF::VOLTAGE_BEGIN, 30.0, 50.0, 4.0}}, {{"38.000V", 0.0}}},
        // 50 .. 40 V by 2 V: 44 V is the first stop below 45 V; then
        // 57.735 -> 30 V at 10 V/s timed from 45 V: the relay's delay.
        {"action voltage, action time", true, voltage(),
         {{UV::ITEM_ACTION_VOLTAGE, 50.0, 40.0, 2.0, 20.0, 0.0}, {UV::ITEM_ACTION_TIME, 57.735, 30.0, 0.0, 10.0, 45.0}},
         {{"44.000V", 0.0}, {nullptr, 0.3}}},
        // Slides from 57.735 to 30 V at 40 .. 10 V/s; blocked above 25 V/s.
        {"dv/dt blocking", true, voltage([](auto& s) { s.dvdtBlockVoltsPerSecond = 25.0; }),
         {{UV::ITEM_VOLTAGE_SLIP, 57.735, 30.0, 0.0, 0.0, 0.0, UV::SLIP_BEGIN, 40.0, 10.0, 10.0}}, {{"20.000V/s", 0.0}}},
        {"UV low-current blocking", true, voltage([](auto& s) { s.lowCurrentBlockAmps = 0.5; }),
         {{UV::ITEM_LOW_I_LOCK, 57.735, 30.0, 0.0, 20.0, 0.0, UV::CURRENT_BEGIN, 0.2, 1.0, 0.2}}, {{"0.600A", 0.0}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        sim->unplugAll();
        sim->plugIn(row.relay);
        std::unique_ptr<ViewLoadSheddingModel> vm = makeModel(row.voltage);
        prepare(*vm);
        addPoints(*vm, row.points);
        run(*vm);
        expectResults(*vm, row.expect);
    }
}

// A frequency search past which the relay never acts: the point completes
// and both its cells read no action.
TEST_F(LoadSheddingEngine, SearchWithoutActionReadsNoAction)
{
    std::unique_ptr<ViewLoadSheddingModel> vm = frequencyModelWithSilentRelay();
    addPoints(*vm, {{UF::ITEM_ACTION_FREQUENCY, 49.5, 48.1, 0.2, 2.0, 0.0}});
    run(*vm);
    EXPECT_EQ(vm->getTestStates(0), VB::AO_STATE_TYPE_COMPLETED);
    EXPECT_EQ(vm->getActionValueStr(0), vmtest::utf8("未动作"));
    EXPECT_EQ(vm->getActionTimeStr(0), QStringLiteral("---"));
}

// At real time, a point begun on a relay still operated (held above 55.1 V
// by the rest outputs) reads "Not Reset" at once, its fault not played; one
// whose contact opened within the debounce before its fault is searched.
TEST_F(LoadSheddingEngine, PointBegunOnAnOperatedRelayReadsNotResetAtOnce)
{
    atRealTime();
    initialise();
    std::unique_ptr<ViewLoadSheddingModel> vm = makeModel(false);
    prepare(*vm);
    addPoints(*vm, {{UF::ITEM_V_LOCK, 50.0, 48.0, 0.0, 2.0, 0.0, UF::VOLTAGE_BEGIN, 60.0, 62.0, 1.0},
                    {UF::ITEM_V_LOCK, 50.0, 48.0, 0.0, 2.0, 0.0, UF::VOLTAGE_BEGIN, 50.0, 50.0, 1.0}});
    const struct
    {
        double rest, dropdelay;
    } rows[] = {{57.735, 0.3}, {50.0, 1.988}, {50.0, 1.99}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dropdelay);
        const bool notReset = row.rest > 55.1;
        vm->setNormalOutput(VB::AO_ITEM_TYPE_RANGE, VB::AO_PORT_TYPE_UA, row.rest);
        vm->setIntervalOutput(VB::AO_ITEM_TYPE_RANGE, VB::AO_PORT_TYPE_UA, row.rest);
        sim->unplugAll();
        auto log = plugPageLog();
        const auto relay = runsource::timedRelay(
            QStringLiteral("timed:channel=UA,pickup=58,dropdelay=%1,input=0").arg(row.dropdelay, 0, 'f', 3));
        sim->plugIn(relay);
        run(*vm);
        std::vector<int64_t> faults;
        for (const runprotection::PageLog::Entry& e : log->all())
            if (e.page.trigger() == zorsim::TriggerType::TimeOrBinary)
                faults.push_back(e.startNs);
        ASSERT_EQ(faults.size(), notReset ? 1u : 2u);
        EXPECT_EQ(vm->getActionValueStr(0), QStringLiteral("60.000V"));
        EXPECT_FALSE(vm->getRelayNotReset(0));
        EXPECT_EQ(vm->getTestStates(1), VB::AO_STATE_TYPE_COMPLETED);
        EXPECT_EQ(vm->getRelayNotReset(1), notReset);
        EXPECT_FALSE(vm->getActionTime(1) > 0.0);
        EXPECT_EQ(relay->pickupTimes().size(), 1u);
        ASSERT_EQ(relay->dropoffTimes().size(), notReset ? 0u : 1u);
        if (!notReset) {
            EXPECT_LT(relay->dropoffTimes()[0], faults[1]);
            EXPECT_EQ(vm->getActionValueStr(1), vmtest::utf8("未动作"));
        }
    }
}

// A search stopped before it ran out has not been tested (not "No
// Action"), on the page and in the report, wherever the stop falls: in its
// first fault, or in a later step, its last fault included. Stopped in the
// after-fault of its last step, it ran out: "No Action". Under voltage 57 ..
// 55 V by 1 V (states 0-2, 3-5, 6-8 the steps, 9 the closing page), under
// frequency 49.5 .. 49.3 Hz by 0.2 Hz (states 0-2, 3-5), silent relays.
// The last row holds the polling loop 100 ms right after its switch into
// the after-fault: the stop comes before that switch is reported.
TEST_F(LoadSheddingEngine, SearchStoppedBeforeItRanOutIsNotTested)
{
    initialise();
    const struct
    {
        bool voltage;
        TestPoint point;
        int stopState, state;
        const char* reads;
        bool loopHeld = false;
    } rows[] = {
        {false, {UF::ITEM_ACTION_FREQUENCY, 49.5, 45.0, 0.2, 0.1, 0.0}, 1, VB::AO_STATE_TYPE_INITING, "未测试"},
        {false, {UF::ITEM_ACTION_FREQUENCY, 49.5, 49.3, 0.2, 0.1, 0.0}, 4, VB::AO_STATE_TYPE_INITING, "未测试"},
        {false, {UF::ITEM_ACTION_FREQUENCY, 49.5, 49.3, 0.2, 0.1, 0.0}, 5, VB::AO_STATE_TYPE_COMPLETED, "未动作"},
        {true, {UV::ITEM_ACTION_VOLTAGE, 57.0, 55.0, 1.0, 2.0, 0.0}, 3, VB::AO_STATE_TYPE_INITING, "未测试"},
        {true, {UV::ITEM_ACTION_VOLTAGE, 57.0, 55.0, 1.0, 2.0, 0.0}, 4, VB::AO_STATE_TYPE_INITING, "未测试"},
        {true, {UV::ITEM_ACTION_VOLTAGE, 57.0, 55.0, 1.0, 2.0, 0.0}, 5, VB::AO_STATE_TYPE_INITING, "未测试"},
        {true, {UV::ITEM_ACTION_VOLTAGE, 57.0, 55.0, 1.0, 2.0, 0.0}, 7, VB::AO_STATE_TYPE_INITING, "未测试"},
        {true, {UV::ITEM_ACTION_VOLTAGE, 57.0, 55.0, 1.0, 2.0, 0.0}, 8, VB::AO_STATE_TYPE_COMPLETED, "未动作"},
        {false, {UF::ITEM_ACTION_FREQUENCY, 49.5, 49.3, 0.2, 0.1, 0.0}, 5, VB::AO_STATE_TYPE_COMPLETED, "未动作", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stopState);
        SCOPED_TRACE(row.voltage ? "under voltage" : "under frequency");
        // A host late by more than a page stops the search in a later one:
        // the row is played again (three times at most) until the stop falls
        // in the page it names.
        for (int attempt = 1;; ++attempt) {
            sim->unplugAll();
            if (row.voltage) {
                zorsim::VoltageRelaySettings s;
                s.pickupVolts = 10.0;
                sim->plugIn(std::make_shared<zorsim::VoltageRelay>(s));
            } else {
                zorsim::FrequencyRelaySettings s;
                s.pickupHz = 40.0;
                sim->plugIn(std::make_shared<zorsim::FrequencyRelay>(s));
            }
            auto log = plugPageLog();
            runsource::LinkTap tap(*sim);
            if (row.loopHeld) {
                std::vector<uint32_t> playedReads;
                for (uint16_t p = 0; p < 8; ++p)
                    playedReads.push_back(runprotection::readFrame(uint16_t(0x84F2 + 4 * p)));
                const QThread* queryThread = center->queryingThread;
                // The page entered is counted once it has played longer than a check page.
                const size_t pages = size_t(row.stopState);
                const double debounce = debounceSeconds();
                tap.onFrames(playedReads, [&log, queryThread, pages, debounce, held = false]() mutable {
                    if (!held && QThread::currentThread() == queryThread
                        && log->withoutChecks(debounce).size() == pages) {
                        held = true;
                        QThread::msleep(100);
                    }
                });
            }
            std::unique_ptr<ViewLoadSheddingModel> vm = makeModel(row.voltage);
            prepare(*vm);
            addPoints(*vm, {row.point});
            ASSERT_TRUE(vm->testStart());
            ASSERT_TRUE(waitFor([&] { return vm->getState(VB::STATE_TYPE_RUNNING) == 1; }));
            // The instrument has entered the page (the entity may name it a
            // pass before, while it still plays a check page before it).
            ASSERT_TRUE(waitFor([&] { return log->withoutChecks(debounceSeconds()).size() > size_t(row.stopState); }));
            vm->testInterrupt();
            ASSERT_TRUE(waitEnded());
            ASSERT_TRUE(waitFor([&] { return vm->getState(VB::STATE_TYPE_RUNNING) == 0; }));
            // The stop fell in the page the row names.
            const size_t pages = log->withoutChecks(debounceSeconds()).size();
            if (pages != size_t(row.stopState + 1) && attempt < 3)
                continue;
            EXPECT_EQ(pages, size_t(row.stopState + 1));
            EXPECT_EQ(vm->getTestStates(0), row.state);
            ASSERT_TRUE(vm->saveReport("stopped.htm"));
            const QString folder = row.voltage ? QStringLiteral("SlipVoltage") : QStringLiteral("SlipFrequency");
            const filetest::Table rows = filetest::find(
                filetest::tables(sandbox.read(QDir::currentPath() + "/report/" + folder + "/stopped.htm")), "序号");
            ASSERT_EQ(rows.size(), 2u);
            EXPECT_EQ(rows[1].back(), row.reads);
            break;
        }
    }
}

// A search whose step is 0 and a slide rate of 0: the engine refuses the
// start, the page may be left again, the message says why, the points are
// as they were.
TEST_F(LoadSheddingEngine, StartTheEngineRefusesLeavesThePointsAndSaysWhy)
{
    initialise();
    struct Row
    {
        const char* name;
        bool voltage;
        TestPoint point;
        ControllerTestor::StartRefusal reason;
    };
    const Row rows[] = {
        {"frequency step 0", false, {UF::ITEM_ACTION_FREQUENCY, 49.5, 48.0, 0.0, 2.0, 0.0},
         ControllerTestor::REFUSAL_ENDLESS_SEARCH},
        {"voltage slip 0", true, {UV::ITEM_ACTION_TIME, 57.735, 30.0, 0.0, 0.0, 45.0},
         ControllerTestor::REFUSAL_SLIDE_RATE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<ViewLoadSheddingModel> model = makeModel(row.voltage);
        ViewLoadSheddingModel& vm = *model;
        prepare(vm);
        addPoints(vm, {row.point});
        ASSERT_TRUE(vm.testStart());
        EXPECT_FALSE(vm.getExitEnabled());
        ASSERT_TRUE(waitFor([&] { return vm.getExitEnabled(); }));
        EXPECT_EQ(vm.getState(VB::STATE_TYPE_RUNNING), 0);
        EXPECT_EQ(testor().lastStartRefusalReason(), row.reason);
        EXPECT_EQ(vm.getUserMessage(), ViewBaseModel::startRefusalText(row.reason));
        ASSERT_EQ(vm.getPointsCount(), 1);
        EXPECT_EQ(vm.getTestStates(0), VB::AO_STATE_TYPE_INITING);
        EXPECT_EQ(vm.getActionTime(0), -1.0);
        EXPECT_EQ(vm.getActiveIndex(), 0);
    }
}

// Relays without delay: each acts as its ramp reaches its pickup (one tick
// after, as a relay moves). At the timing value the operate time reads 0,
// not no action; before it the time is negative and reads as a failure.
// Under-frequency 50 -> 45 Hz at 1 Hz/s; under-voltage 57.735 -> 30 V at
// 10 V/s. A relay acting 10 ms before the fault's hold ends, confirmed
// after it, is the fault's. At the tests' pace and at real time.
class LoadSheddingInstantRelay : public LoadSheddingEngine, public ::testing::WithParamInterface<bool>
{
};

TEST_P(LoadSheddingInstantRelay, ActionAtTheTimingValueReadsItsTime)
{
    if (GetParam())
        atRealTime();
    initialise();
    const struct
    {
        bool voltage;
        const char* relay;
        TestPoint point;
        double crossing;   // s from the ramp's start to the relay's pickup
        double operate;    // s from the timing value to the trip
        double after = 50.0;   // the after-fault's frequency, Hz
    } rows[] = {
        {false, "frequency:channel=UA,pickup=49,delay=0,input=0",
         {UF::ITEM_ACTION_TIME, 50.0, 45.0, 0.0, 1.0, 49.0}, 1.0, 0.0},
        {true, "voltage:channels=UA+UB+UC,pickup=45,delay=0,input=0",
         {UV::ITEM_ACTION_TIME, 57.735, 30.0, 0.0, 10.0, 45.0}, 1.2735, 0.0},
        {false, "frequency:channel=UA,pickup=49.5,delay=0,input=0",
         {UF::ITEM_ACTION_TIME, 50.0, 45.0, 0.0, 1.0, 49.0}, 0.5, -0.5},
        {false, "frequency:channel=UA,pickup=45.5,delay=0,input=0",
         {UF::ITEM_ACTION_TIME, 50.0, 45.0, 0.0, 1.0, 45.0}, 4.5, -0.5},
        {true, "voltage:channels=UA+UB+UC,pickup=56.735,delay=0,input=0",
         {UV::ITEM_ACTION_TIME, 57.735, 30.0, 0.0, 10.0, 49.0}, 0.1, -0.7735},
        {false, "frequency:channel=UA,pickup=45.5,delay=0.99,input=0",
         {UF::ITEM_ACTION_TIME, 50.0, 45.0, 0.0, 1.0, 49.0}, 5.49, 4.49, 45.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.relay);
        sim->unplugAll();
        const auto relay = std::dynamic_pointer_cast<zorsim::LoadSheddingRelay>(
            zorsim::parseRelaySetup(QString::fromLatin1(row.relay)).models.at(0));
        ASSERT_TRUE(relay);
        sim->plugIn(relay);
        auto log = plugPageLog();
        std::unique_ptr<ViewLoadSheddingModel> vm = makeModel(row.voltage);
        prepare(*vm);
        for (int c = 0; c < 3; ++c)
            vm->setIntervalOutput(VB::AO_ITEM_TYPE_FREQUENCY, VB::AOPortType(c), row.after);
        addPoints(*vm, {row.point});
        run(*vm);
        // What the relay saw: one trip, a tick or so after the ramp's page
        // reached the timing value.
        const std::vector<int64_t> trips = relay->tripTimes();
        ASSERT_EQ(trips.size(), 1u);
        const std::vector<runprotection::PageLog::Entry> pages = log->all();
        const auto ramp = std::find_if(pages.begin(), pages.end(), [](const runprotection::PageLog::Entry& e) {
            return e.ramp(runprotection::kUA) != zorsim::RampKind::None;
        });
        ASSERT_TRUE(ramp != pages.end() && ramp + 1 != pages.end());
        EXPECT_NEAR(double(trips[0] - ramp->startNs) * 1e-9, row.crossing, 1e-4);
        EXPECT_EQ(vm->getTestStates(0), VB::AO_STATE_TYPE_COMPLETED);
        // Confirmed after the fault page, the trip reads the instrument's
        // hold of that page too.
        EXPECT_NEAR(vm->operateTime(0), row.operate, 1e-4);
        const QString text = vm->getActionTimeStr(0);
        if (row.operate < 0.0)
            EXPECT_TRUE(text.startsWith(vmtest::utf8("失败：提前"))) << qPrintable(text);
        else
            EXPECT_TRUE(text.endsWith(QLatin1Char('s'))) << qPrintable(text);
    }
}

INSTANTIATE_TEST_SUITE_P(Pace, LoadSheddingInstantRelay, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "RealTime" : "Scaled");
                         });
