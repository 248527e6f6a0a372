// The calibration view model and the engine's calibration branch against the
// real engine and the simulated instrument: the model's state, group rule,
// gating and bounds; a run holding the kind and cells still; starts and
// switches the instrument does not take; the entity shared under its lock.
// Every TEST runs in a process of its own (see EngineFixture.h).

#include "../run_source/RunSourceSupport.h"

#include "ModelCalibrationEntity.h"
#include "ViewCalibrationModel.h"

#include <QMutexLocker>

#include <cmath>

using runsource::waitFor;
using E = ModelCalibrationEntity;
using VM = ViewCalibrationModel;

namespace {

constexpr uint16_t kRunBitsRegister = 0x833E;

class CalibrationModel : public RunSourceTest
{
protected:
    E& entity() { return *testor().dataCalibration; }

    template <typename Fn>
    auto locked(Fn fn)
    {
        QMutexLocker lock(&entity().entityLock);
        return fn(entity());
    }

    // Every cell of the model's selections ("kind/port/level", indices out
    // of range included) that differs from `only`, the cells expected selected.
    static QStringList selectionsOtherThan(const VM& vm, const QStringList& only)
    {
        QStringList diff;
        for (int kind = 0; kind <= 11; ++kind)
            for (int port = -1; port <= 8; ++port)
                for (int level = -1; level <= 2; ++level) {
                    const QString key = QStringLiteral("%1/%2/%3").arg(kind).arg(port).arg(level);
                    if (vm.getCurrentSelected(VM::CALType(kind), port, level) != only.contains(key))
                        diff << key;
                }
        return diff;
    }

    int calNotices() { return gui.count(RT::DATA_TYPE_SYSTEM_CAL, -1); }
    int finishNotices() { return gui.count(RT::DATA_TYPE_RT_STATE, RT::STATE_TYPE_CALFINISH); }
};

QString cell(int kind, int port, int level)
{
    return QStringLiteral("%1/%2/%3").arg(kind).arg(port).arg(level);
}

} // namespace

TEST_F(CalibrationModel, StateGroupRuleGatingAndBounds)
{
    VM vm;
    // Construction.
    EXPECT_EQ(vm.getCurrentCalType(), VM::CAL_TYPE_ACDCO);
    EXPECT_EQ(vm.getOutputCalType(), VM::CAL_TYPE_PAO);
    EXPECT_EQ(selectionsOtherThan(vm, {cell(VM::CAL_TYPE_ACFRQ, 0, 1)}), QStringList());

    // The group rule.
    struct GroupRow
    {
        VM::CALType kind;
        VM::OutputCALType group;
        VM::CALType expected;
    };
    const GroupRow groups[] = {
        {VM::CAL_TYPE_DCAMP, VM::CAL_TYPE_LLO, VM::CAL_TYPE_LLOAMP},
        {VM::CAL_TYPE_LLODC, VM::CAL_TYPE_PAO, VM::CAL_TYPE_ACAMP},
        {VM::CAL_TYPE_AUXDC, VM::CAL_TYPE_PAO, VM::CAL_TYPE_AUXDC},
        {VM::CAL_TYPE_LLODCO, VM::CAL_TYPE_LLO, VM::CAL_TYPE_LLODCO},
    };
    for (const GroupRow& row : groups) {
        vm.setCurrentCalType(row.kind);
        vm.setOutputCalType(row.group);
        EXPECT_EQ(vm.getCurrentCalType(), row.expected) << row.kind << " in group " << row.group;
        EXPECT_EQ(vm.getOutputCalType(), row.group);
    }
    vm.setOutputCalType(VM::CAL_TYPE_PAO);

    // Another module active: nothing reaches the entity.
    center->testActive(TT::TEST_ALTERNATE);
    vm.setCurrentCalType(VM::CAL_TYPE_ACAMP);
    vm.setCurrentSelected(VM::CAL_TYPE_ACAMP, 4, 1, true);
    EXPECT_EQ(locked([](E& e) { return e.currentCalType; }), E::CAL_TYPE_ACDCO);
    EXPECT_FALSE(locked([](E& e) { return e.acampCurrentSelecteds[4][1]; }));

    // Calibration active: kind and selections go over; AUXDC's never.
    vm.testActive();
    EXPECT_EQ(locked([](E& e) { return e.currentCalType; }), E::CAL_TYPE_ACAMP);
    EXPECT_TRUE(locked([](E& e) { return e.acampCurrentSelecteds[4][1]; }));
    vm.setCurrentSelected(VM::CAL_TYPE_AUXDC, 0, 0, false);
    EXPECT_TRUE(locked([](E& e) { return e.auxdcCurrentSelecteds[0][0]; }));
    locked([](E& e) { return e.acampCurrentSelecteds[5][0] = true; });   // the entity's own, overwritten
    vm.setCurrentSelected(VM::CAL_TYPE_ACAMP, 0, 0, true);
    EXPECT_FALSE(locked([](E& e) { return e.acampCurrentSelecteds[5][0]; }));

    // Cells out of range change nothing, push nothing and read false.
    const int bad[][2] = {{8, 0}, {0, 2}, {-1, 0}, {0, -1}};
    for (const auto& b : bad) {
        locked([](E& e) { return e.acampCurrentSelecteds[5][0] = true; });
        vm.setCurrentSelected(VM::CAL_TYPE_ACAMP, b[0], b[1], true);
        EXPECT_TRUE(locked([](E& e) { return e.acampCurrentSelecteds[5][0]; })) << b[0] << "/" << b[1];
        EXPECT_FALSE(vm.getCurrentSelected(VM::CAL_TYPE_ACAMP, b[0], b[1]));
    }
    EXPECT_EQ(selectionsOtherThan(vm, {cell(VM::CAL_TYPE_ACFRQ, 0, 1), cell(VM::CAL_TYPE_ACAMP, 4, 1),
                                       cell(VM::CAL_TYPE_ACAMP, 0, 0)}),
              QStringList());

    // ACFRQ: a measure at UA level 1 is stored for both levels.
    vm.setCurrentCalType(VM::CAL_TYPE_ACFRQ);
    locked([](E& e) {
        e.currentPortIndex = 0;
        e.currentLevelIndex = 1;
        e.currentPointIndex = 0;
        return 0;
    });
    vm.setCurrentMeasure(50.02);
    EXPECT_EQ(locked([](E& e) { return e.acfrqFrqMeasures[0][1][0]; }), 50.02);
    EXPECT_EQ(locked([](E& e) { return e.acfrqFrqMeasures[0][0][0]; }), 50.02);
    EXPECT_EQ(locked([](E& e) { return e.acfrqFrqMeasures[1][0][0]; }), 50.0);
}

TEST_F(CalibrationModel, ARunHoldsKindGroupAndCellsUntilItIsOff)
{
    initialise();
    VM vm;
    vm.testActive();
    vm.setCurrentCalType(VM::CAL_TYPE_ACAMP);
    EXPECT_FALSE(vm.hasSelectedCell());
    EXPECT_FALSE(vm.startRun());   // nothing to run: not even asked
    ASSERT_TRUE(settle());
    EXPECT_EQ(runNotices(), 0);

    vm.setCurrentSelected(VM::CAL_TYPE_ACAMP, 0, 0, true);
    ASSERT_TRUE(vm.startRun());
    EXPECT_FALSE(vm.startRun());
    // Starting and running: the model and the entity keep kind, group and cells.
    auto tryChanges = [&] {
        vm.setCurrentCalType(VM::CAL_TYPE_DCAMP);
        vm.setOutputCalType(VM::CAL_TYPE_LLO);
        vm.setCurrentSelected(VM::CAL_TYPE_ACAMP, 4, 0, true);
        vm.setCurrentSelected(VM::CAL_TYPE_ACAMP, 0, 0, false);
        EXPECT_EQ(vm.getCurrentCalType(), VM::CAL_TYPE_ACAMP);
        EXPECT_EQ(vm.getOutputCalType(), VM::CAL_TYPE_PAO);
        EXPECT_TRUE(vm.getCurrentSelected(VM::CAL_TYPE_ACAMP, 0, 0));
        EXPECT_FALSE(vm.getCurrentSelected(VM::CAL_TYPE_ACAMP, 4, 0));
        EXPECT_EQ(locked([](E& e) { return e.currentCalType; }), E::CAL_TYPE_ACAMP);
        EXPECT_FALSE(locked([](E& e) { return e.acampCurrentSelecteds[4][0]; }));
    };
    tryChanges();
    ASSERT_TRUE(waitFor([&] { return vm.getState(VM::STATE_TYPE_RUNNING) == 1; }));
    for (int point = 0; point < 4; ++point) {
        tryChanges();
        EXPECT_TRUE(vm.isRunLocked());
        const int before = calNotices();
        vm.setCurrentMeasure(vm.getCurrentDefault());
        vm.testSwitch();
        ASSERT_TRUE(waitFor([&] { return calNotices() > before; }));
    }
    ASSERT_TRUE(waitFor([&] { return vm.getState(VM::STATE_TYPE_RUNNING) == 0; }));
    EXPECT_FALSE(vm.isRunLocked());
    vm.setCurrentCalType(VM::CAL_TYPE_DCAMP);
    EXPECT_EQ(locked([](E& e) { return e.currentCalType; }), E::CAL_TYPE_DCAMP);
}

// Driver failures in the calibration branch leave nothing on, report the run
// off and end in the save question's notice; switches without a run and
// starts without a cell do nothing on the instrument.
TEST_F(CalibrationModel, FailedStartsAndSwitchesSwitchOffAndReportTheRunOff)
{
    initialise(false);
    constexpr uint32_t kPolls = 2000;
    drv_mcasp_set_poll_limits(kPolls, kPolls, kPolls);
    struct RestoreLimits
    {
        ~RestoreLimits() { drv_mcasp_reset_poll_limits(); }
    } restore;
    center->testActive(TT::TEST_CALIBRATION);

    enum class Fail { Start, Switch, SwitchIdle, NoCell };
    struct Row
    {
        const char* name;
        E::CALType kind;
        Fail fail;
        bool finish;   // the end-of-run notice (save question) follows
    };
    const Row rows[] = {
        {"ACAMP start", E::CAL_TYPE_ACAMP, Fail::Start, true},
        {"ACAMP switch", E::CAL_TYPE_ACAMP, Fail::Switch, true},
        {"AUXDC switch", E::CAL_TYPE_AUXDC, Fail::Switch, true},
        {"switch without a run", E::CAL_TYPE_ACAMP, Fail::SwitchIdle, false},
        {"start without a cell", E::CAL_TYPE_DCAMP, Fail::NoCell, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        locked([&](E& e) {
            e.currentCalType = row.kind;
            e.acampCurrentSelecteds[0][0] = true;
            return 0;
        });
        if (row.fail == Fail::Switch) {
            center->testStart();
            ASSERT_TRUE(settle());
            ASSERT_EQ(state(RT::STATE_TYPE_RUNNING), 1);
        }
        const int runs = runNotices();
        const int finishes = finishNotices();
        const int cals = calNotices();
        const int cursor = locked([](E& e) { return e.currentPointIndex; });
        sim->clearFrames();
        {
            runsource::LinkTap tap(*sim);
            if (row.fail == Fail::Start || row.fail == Fail::Switch)
                tap.failNextFrameOf(center->testorThread, kPolls);
            if (row.fail == Fail::Switch || row.fail == Fail::SwitchIdle)
                center->testSwitch();
            else
                center->testStart();
            ASSERT_TRUE(settle());
            if (row.fail == Fail::Start || row.fail == Fail::Switch) {
                EXPECT_TRUE(tap.failed());
            }
        }
        ASSERT_TRUE(settle());
        EXPECT_FALSE(testor().runEnable.load());
        EXPECT_EQ(state(RT::STATE_TYPE_RUNNING), 0);
        EXPECT_EQ(state(RT::STATE_TYPE_POWERED), 0);
        EXPECT_EQ(state(RT::STATE_TYPE_AUXDCV), 0);
        EXPECT_FALSE(sim->playerStatus().running);
        EXPECT_EQ(sim->peekRegister(kRunBitsRegister), 0);
        EXPECT_EQ(sim->peekRegister(reg::kPower), 0);
        EXPECT_EQ(finishNotices() - finishes, row.finish ? 1 : 0);
        if (row.fail == Fail::SwitchIdle) {
            EXPECT_EQ(runNotices(), runs);
            EXPECT_EQ(calNotices(), cals);
            EXPECT_EQ(locked([](E& e) { return e.currentPointIndex; }), cursor);
            EXPECT_TRUE(sim->frames().empty());
        } else {
            EXPECT_EQ(runNotices(), runs + 1);   // the run reported off
        }
        if (row.fail == Fail::Switch) {
            EXPECT_EQ(calNotices(), cals);       // no next point announced
        }
    }
}

// The model on the GUI thread and the testor's loads and resets on the same
// entity (ThreadSanitizer sees a race where the lock is missing).
TEST_F(CalibrationModel, ModelAndEngineShareTheEntityUnderItsLock)
{
    initialise(false);
    VM vm;
    vm.testActive();
    for (int round = 0; round < 50; ++round) {
        center->loadCal(E::CAL_TYPE_ALL);
        center->resetCal(E::CAL_TYPE_ACAMP, round % 2 == 0);
        for (int port = 0; port < 8; ++port) {
            vm.setCurrentSelected(VM::CAL_TYPE_ACAMP, port, round % 2, port % 2 == 0);
            EXPECT_TRUE(std::isfinite(vm.getViewPoint(VM::CAL_TYPE_ACAMP, port, 0, 0)));
            vm.setCurrentMeasure(1.0);
        }
        vm.updateEntToVM(VM::DATA_TYPE_SYSTEM_CAL, -1, false);
    }
    ASSERT_TRUE(settle());
}

// The save after a run says what the run saved: the points it measured, or
// that a run ended before its first reading changed nothing.
TEST_F(CalibrationModel, ASaveAfterARunSaysWhatItSaved)
{
    initialise();
    VM vm;
    vm.testActive();
    vm.setCurrentCalType(VM::CAL_TYPE_ACAMP);
    vm.setCurrentSelected(VM::CAL_TYPE_ACAMP, 0, 0, true);
    QStringList messages;
    QObject::connect(&vm, &VM::sigCalSaveFinished, [&](int, bool, const QString& m) { messages << m; });
    const struct
    {
        int readings;
        const char* message;
    } rows[] = {
        {0, "没有测量任何校准点，校准系数未改变。"},
        {2, "已保存的校准点：UA-L0 (1, 2)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.readings);
        ASSERT_TRUE(vm.startRun());
        ASSERT_TRUE(waitFor([&] { return vm.getState(VM::STATE_TYPE_RUNNING) == 1; }));
        for (int point = 0; point < row.readings; ++point) {
            const int before = calNotices();
            vm.setCurrentMeasure(vm.getCurrentDefault() * 1.01);
            vm.testSwitch();
            ASSERT_TRUE(waitFor([&] { return calNotices() > before; }));
        }
        vm.testInterrupt();
        ASSERT_TRUE(waitFor([&] { return vm.getState(VM::STATE_TYPE_RUNNING) == 0; }));
        messages.clear();
        vm.saveCal(ViewBaseModel::CAL_TYPE_ACAMP);
        ASSERT_TRUE(waitFor([&] { return !messages.isEmpty(); }));
        EXPECT_EQ(messages.first().toStdString(), row.message);
    }
}
