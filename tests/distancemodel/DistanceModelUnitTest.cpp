// The distance model without an instrument: the impedance factors of
// addPoint, the times, the verdict, the compensation form change, a fault
// the calculator cannot solve, a new rated frequency, R and X entries, and
// values outside their ranges.

#include "DistanceModelSupport.h"

#include "BaseModelDataDistance.h"

#include <limits>
#include <vector>

using namespace dmtest;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<double> ranges(DistanceModel& vm, int from = 0)
{
    std::vector<double> list;
    for (int i = from; i < vm.getPointsCount(); ++i)
        list.push_back(vm.getFaultZRange(i));
    return list;
}

} // namespace

TEST_F(DistanceModelTest, AddPointAppendsOneCopyPerTickedFactorWhileThereIsRoom)
{
    struct Row
    {
        std::initializer_list<int> ticked;
        int listed;
        std::vector<double> appended;
    };
    const Row rows[] = {
        {{}, 0, {2.0}},
        {{0, 1, 2, 3}, 0, {1.4, 1.9, 2.1, 2.4}},
        {{0, 1, 2, 3}, 30, {1.4, 1.9}},
        {{1, 3}, 31, {1.9}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.listed);
        DistanceModel vm;
        for (int i = 0; i < row.listed; ++i)
            vm.addAt(1.0);
        vm.setFaultZRange(2.0);
        vm.setSettingTimes(-1, 2.0);
        vm.tick(row.ticked);
        vm.addPoint();
        const std::vector<double> added = ranges(vm, row.listed);
        ASSERT_EQ(added.size(), row.appended.size());
        for (size_t k = 0; k < added.size(); ++k) {
            const int i = row.listed + int(k);
            EXPECT_NEAR(added[k], row.appended[k], 1e-12);
            EXPECT_TRUE(std::isnan(vm.getActionTimes(i)));
            EXPECT_EQ(vm.getTestStates(i), VM::AO_STATE_TYPE_INITING);
            EXPECT_EQ(vm.getOutputTime(i), 2.1);
            // Calculated at its own impedance: the fault current is held, the
            // faulted phase's voltage follows |Z|.
            EXPECT_NEAR(vm.getOutputRange(i, VM::AO_PORT_TYPE_UA) / vm.getOutputRange(-1, VM::AO_PORT_TYPE_UA),
                        row.appended[k] / 2.0, 1e-9);
        }
        EXPECT_EQ(vm.getFaultZRange(-1), 2.0);
    }
}

TEST_F(DistanceModelTest, SettingTimeGivesOutputTimeAndDeviation)
{
    DistanceModel vm;
    vm.setSettingTimes(-1, 2.0);
    EXPECT_EQ(vm.getDevTimes(-1), 0.1);
    EXPECT_EQ(vm.getOutputTime(-1), 2.1);
    vm.setTimeErrRel(10.0);
    EXPECT_EQ(vm.getDevTimes(-1), 0.2);
    vm.addAt(1.0);
    vm.setSettingTimes(0, 3.0);
    EXPECT_EQ(vm.getSettingTimes(0), 3.0);
    EXPECT_NEAR(vm.getDevTimes(0), 0.3, 1e-12);
    EXPECT_EQ(vm.getOutputTime(0), 3.1);
}

TEST_F(DistanceModelTest, VerdictAgainstTheSettingTime)
{
    struct Row
    {
        double trip;
        int input;
        int state;
        int result;
    };
    constexpr int kDone = VM::AO_STATE_TYPE_COMPLETED;
    const Row rows[] = {
        {0.95, 2, kDone, VM::AO_Result_TYPE_SUCCESS},
        {1.05, 0, kDone, VM::AO_Result_TYPE_SUCCESS},
        {1.100001, 0, kDone, VM::AO_Result_TYPE_FAILED},
        {1.2, 3, kDone, VM::AO_Result_TYPE_FAILED},
        {kNaN, 0, kDone, VM::AO_Result_TYPE_FAILED},
        {kNaN, 0, VM::AO_STATE_TYPE_RUNNNING, VM::AO_Result_TYPE_NONE},
    };
    DistanceModel vm;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.trip);
        vm.clearPoint();
        vm.addAt(1.0);
        vm.point(0)->testState = row.state;
        vm.setTrip(0, row.input, row.trip);
        EXPECT_EQ(vm.getTestResults(0), row.result);
        EXPECT_EQ(vm.getBinaryInputIndex(0), std::isnan(row.trip) ? -1 : row.input + 1);
    }
}

// KL 0.7 at -10 degrees in RE/RL-XE/XL form at the edit point's 75 degrees,
// whatever form and angles the shared calculator was left with.
TEST_F(DistanceModelTest, CompensationFormChangeConvertsTheModelsOwnFactor)
{
    DistanceModel vm;
    vm.setRepairFactor(0, 0.7);
    vm.setRepairFactor(1, -10.0);
    BaseModelDataDistance* calc = BaseModelDataDistance::getInstance();
    calc->shortFactor.dataType = BaseDataRepairFactor::REPAIR_TYPE_RERL_XEXL;
    calc->shortFactor.dataFactor1 = 0.3;
    calc->shortFactor.dataSettingAngle = 30.0;
    calc->shortFactor.dataShortAngle = 30.0;
    vm.setRepairKind(VM::REPAIR_TYPE_RERL_XEXL);
    EXPECT_NEAR(vm.getRepairFactor(0), 1.14301, 5e-6);
    EXPECT_NEAR(vm.getRepairFactor(1), 0.65680, 5e-6);

    vm.setRepairKind(VM::REPAIR_TYPE_KL);
    EXPECT_NEAR(vm.getRepairFactor(0), 0.7, 1e-5);
    EXPECT_NEAR(vm.getRepairFactor(1), -10.0, 1e-3);
}

TEST_F(DistanceModelTest, AFaultThatCannotBeSolvedChangesNoPhasors)
{
    DistanceModel vm;
    vm.addAt(0.0);
    const double ua = vm.getOutputRange(-1, VM::AO_PORT_TYPE_UA);
    const double ia = vm.getOutputRange(-1, VM::AO_PORT_TYPE_IA);
    const double pre = vm.loadRanges[VM::AO_PORT_TYPE_UA];
    ASSERT_GT(ia, 0.0);
    ASSERT_TRUE(vm.getUserMessage().isEmpty());
    vm.setDistanceKind(VM::DISTANCE_TYPE_VCONSTANT);   // |Z| 0 cannot hold a voltage
    EXPECT_FALSE(vm.getUserMessage().isEmpty());
    EXPECT_EQ(vm.getDistanceKind(), VM::DISTANCE_TYPE_VCONSTANT);
    EXPECT_EQ(vm.getOutputRange(-1, VM::AO_PORT_TYPE_UA), ua);
    EXPECT_EQ(vm.getOutputRange(-1, VM::AO_PORT_TYPE_IA), ia);
    EXPECT_EQ(vm.loadRanges[VM::AO_PORT_TYPE_UA], pre);
    vm.addPoint();
    EXPECT_EQ(vm.getPointsCount(), 1);
    vm.setUXDefineType(1);   // recalculates every point: the listed one stays as it was
    EXPECT_EQ(vm.getOutputRange(0, VM::AO_PORT_TYPE_IA), ia);
}

TEST_F(DistanceModelTest, ANewRatedFrequencyReachesEveryPhasor)
{
    DistanceModel vm;
    vm.addAt(1.0);
    config->rateFrequency = 60.0;
    vm.updateDeviceConfig();
    for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(vm.loadFrequencies[p], 60.0) << p;
        EXPECT_EQ(vm.getOutputFrequency(-1, p), 60.0) << p;
        EXPECT_EQ(vm.getOutputFrequency(0, p), 60.0) << p;
    }
}

// R and X entries keep the other part of the edit point's own impedance,
// not of the last impedance the shared calculator saw.
TEST_F(DistanceModelTest, ResistanceAndReactanceEntriesKeepTheEditPointsOtherPart)
{
    DistanceModel vm;
    vm.setFaultZRange(2.0);
    const double r = vm.getFaultZReal(-1);
    const double x = vm.getFaultZImage(-1);
    vm.tick({3});
    vm.addPoint();   // the calculator now holds 2.4 ohms
    vm.setFaultZReal(1.0);
    EXPECT_NEAR(vm.getFaultZImage(-1), x, 1e-12);
    EXPECT_NEAR(vm.getFaultZRange(-1), std::hypot(1.0, x), 1e-12);
    vm.addPoint();
    vm.setFaultZImage(1.0);
    EXPECT_NEAR(vm.getFaultZReal(-1), 1.0, 1e-12);
    EXPECT_NEAR(vm.getFaultZAngle(-1), 45.0, 1e-9);
    EXPECT_GT(r, 0.0);
}

TEST_F(DistanceModelTest, ValuesOutsideTheirRangesKeepTheField)
{
    DistanceModel vm;
    vm.setUXDefineType(3);
    vm.setUXDefineType(9);
    vm.setUXDefineType(-1);
    EXPECT_EQ(vm.getUXDefineType(), 3);
    vm.setFaultKind(10);
    vm.setFaultDirection(2);
    vm.setDistanceKind(3);
    vm.setRepairKind(3);
    vm.setCTPosition(-1);
    EXPECT_EQ(vm.getFaultKind(-1), VM::FAULT_TYPE_A_E);
    EXPECT_EQ(vm.getFaultDirection(-1), VM::DIRECTION_TYPE_POSITIVE);
    EXPECT_EQ(vm.getDistanceKind(), VM::DISTANCE_TYPE_ICONSTANT);
    EXPECT_EQ(vm.getRepairKind(), VM::REPAIR_TYPE_KL);
    EXPECT_EQ(vm.getCTPosition(), VM::CT_POSITION_TYPE_LINE);
    EXPECT_GT(vm.getOutputRange(-1, 4), 0.0);
    for (int port : {-1, 8})
        EXPECT_EQ(vm.getOutputRange(-1, port) + vm.getOutputAngle(-1, port) + vm.getOutputFrequency(-1, port), 0.0)
            << port;
}
