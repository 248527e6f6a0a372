// The overcurrent model without an instrument: time windows against the
// standard operate-time formulas and at the edges of the band and the
// pickup, the verdict, series of points, values not taken on trust, and the
// entity a start receives and reads back.

#include "OvercurrentModelSupport.h"

#include <algorithm>
#include <functional>
#include <vector>

using namespace omtest;

namespace {

// IEC 60255-151: t = TMS k / (M^a - 1); IEEE C37.112: t = TD (A / (M^p - 1) + B).
struct Formula
{
    const char* name;
    int offered;   // getCharIndex of the catalogue row
    double k, alpha, b, dial;

    double at(double amps) const { return dial * (k / (std::pow(amps, alpha) - 1.0) + b); }
};

const Formula kFormulas[] = {
    {"IEC NI", 0, 0.14, 0.02, 0.0, 0.1},     {"IEC VI", 1, 13.5, 1.0, 0.0, 0.1},
    {"IEC EI", 2, 80.0, 2.0, 0.0, 0.1},      {"IEEE MI", 9, 0.0515, 0.02, 0.114, 0.5},
    {"IEEE VI", 10, 19.61, 2.0, 0.491, 0.5}, {"IEEE EI", 11, 28.2, 2.0, 0.1217, 0.5},
};

// Default time tolerance: 5 % or 0.04 s.
double dev(double t)
{
    return std::max(0.05 * t, 0.04);
}

void expectTime(double actual, double expected, double tolerance)
{
    if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(actual)) << actual;
    } else {
        EXPECT_NEAR(actual, expected, tolerance);
    }
}

using OvercurrentModelUnit = OvercurrentModelTest;

} // namespace

TEST_F(OvercurrentModelUnit, WindowsFromTheFormulasAtTheBandEdges)
{
    OvercurrentModel vm;
    vm.setFunction(VM::FUNCTION_TYPE_51);
    for (const Formula& f : kFormulas) {
        vm.setCharIndex(f.offered);
        vm.setTdPickUp(VM::FUNCTION_TYPE_51, f.dial);
        for (double amps : {1.5, 2.0, 5.0, 10.0, 20.0}) {
            SCOPED_TRACE(testing::Message() << f.name << " at " << amps << " A");
            vm.setTestCurrent(amps);
            // Band of the default current tolerance, 5 % or 0.05 A.
            const double tL = f.at(std::min(amps / 1.05, amps - 0.05));
            const double tR = f.at(std::max(amps / 0.95, amps + 0.05));
            EXPECT_NEAR(vm.getSettingTimes(-1), f.at(amps), 1e-9);
            EXPECT_NEAR(vm.getMinTimes(-1), std::max(0.0, tR - dev(tR)), 1e-9);
            EXPECT_NEAR(vm.getMaxTimes(-1), tL + dev(tL), 1e-9);
        }
    }

    const double tR102 = kFormulas[0].at(1.02 / 0.95);   // upper edge of 1.02 A
    const struct
    {
        const char* what;
        int fn;
        double dial, amps, setting, low, high, tolerance;
    } rows[] = {
        {"IEC NI 2 A", VM::FUNCTION_TYPE_51, 0.1, 2.0, 1.003, 0.887, 1.133, 5e-4},
        {"IEC NI 5 A", VM::FUNCTION_TYPE_51, 0.1, 5.0, 0.428, 0.375, 0.482, 5e-4},
        {"IEC NI 10 A", VM::FUNCTION_TYPE_51, 0.1, 10.0, 0.297, 0.250, 0.344, 5e-4},
        {"band straddles the pickup", VM::FUNCTION_TYPE_51, 0.1, 1.02, kFormulas[0].at(1.02), tR102 - dev(tR102),
         kNoTrip, 1e-9},
        {"band below the pickup", VM::FUNCTION_TYPE_51, 0.1, 0.9, NAN, kNoTrip, kNoTrip, 0.0},
        {"definite time 1 s", VM::FUNCTION_TYPE_50, 1.0, 5.0, 1.0, 0.95, 1.05, 1e-9},
        {"definite time 0.5 s", VM::FUNCTION_TYPE_50, 0.5, 5.0, 0.5, 0.46, 0.54, 1e-9},
    };
    vm.setCharIndex(0);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        vm.setTdPickUp(r.fn, r.dial);
        vm.setFunction(r.fn);
        vm.setTestCurrent(r.amps);
        expectTime(vm.getSettingTimes(-1), r.setting, r.tolerance);
        expectTime(vm.getMinTimes(-1), r.low, r.tolerance);
        expectTime(vm.getMaxTimes(-1), r.high, r.tolerance);
    }
    // Current bands: 10 A relative, 0.5 A absolute, 0.03 A floored at 0.
    EXPECT_EQ(vm.getLeftI(10.0), 10.0 / 1.05);
    EXPECT_EQ(vm.getRightI(10.0), 10.0 / 0.95);
    EXPECT_NEAR(vm.getLeftI(0.5), 0.45, 1e-12);
    EXPECT_NEAR(vm.getRightI(0.5), 0.55, 1e-12);
    EXPECT_EQ(vm.getLeftI(0.03), 0.0);
}

// Points: 0 definite time [0.95, 1.05]; 1 below the pickup (no trip
// expected); 2 straddling the pickup (tMax the largest double). A fault that
// began on a relay not reset fails whatever it recorded.
TEST_F(OvercurrentModelUnit, VerdictOfTheRecordedTrip)
{
    constexpr int kNone = VM::AO_Result_TYPE_NONE;
    constexpr int kPass = VM::AO_Result_TYPE_SUCCESS;
    constexpr int kFail = VM::AO_Result_TYPE_FAILED;
    const struct
    {
        int index;
        double trip;   // s, NaN: none
        int expected;
        bool completed = true;
        bool notReset = false;
    } rows[] = {
        {0, 1.0, kPass}, {0, 0.94, kFail}, {0, 1.06, kFail}, {0, NAN, kFail}, {0, 0.0, kFail}, {0, -1.0, kFail},
        {0, 1.0, kNone, false}, {1, NAN, kPass}, {1, 0.0, kPass}, {1, -0.5, kPass}, {1, 0.3, kFail},
        {2, NAN, kPass}, {2, 30.0, kPass}, {2, 0.01, kFail}, {-1, 1.0, kNone},
        {0, 1.0, kFail, true, true}, {1, NAN, kFail, true, true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "point " << r.index << " trip " << r.trip
                                        << (r.notReset ? " not reset" : ""));
        OvercurrentModel vm;
        vm.setTdPickUp(VM::FUNCTION_TYPE_51, 0.1);
        vm.addAt(5.0, VM::FUNCTION_TYPE_50);
        vm.addAt(0.9);
        vm.addAt(1.02);
        if (r.index >= 0) {
            vm.complete(r.index, r.trip, 2);
            if (!r.completed)
                vm.point(r.index)->testState = VM::AO_STATE_TYPE_RUNNNING;
            if (r.notReset)
                vm.markNotReset(r.index);
        }
        vm.tempPoint->testResult = VM::AO_Result_TYPE_FAILED;
        EXPECT_EQ(vm.getTestResults(r.index), r.expected);
    }
}

// The chart draws a point at its trip, a completed one without a trip at
// the top (+inf), an untested one at its setting time (+inf for none), and
// one begun on a relay not reset at no time (NaN: not drawn).
TEST_F(OvercurrentModelUnit, TheChartsTimeOfAPoint)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct
    {
        int index;
        double trip;
        bool run, notReset;
        double chart;
    } rows[] = {
        {0, 1.02, true, false, 1.02}, {1, NAN, true, false, inf}, {0, 0, false, false, 1.0},
        {1, 0, false, false, inf},    {0, 1.02, true, true, NAN},
    };
    for (const auto& r : rows) {
        OvercurrentModel vm;
        vm.addAt(5.0, VM::FUNCTION_TYPE_50);
        vm.addAt(0.9);
        if (r.run)
            vm.complete(r.index, r.trip, 2);
        if (r.notReset)
            vm.markNotReset(r.index);
        const double chart = vm.getChartTime(r.index);
        EXPECT_TRUE(std::isnan(r.chart) ? std::isnan(chart) : chart == r.chart)
            << r.index << " " << r.trip << " " << chart;
    }
}

// A fault that asks the outputs for more than the device's largest current
// (a test current a parameter file may hold) is refused at start, the
// message naming the point, the current and the limit: the outputs would
// give the limit while the point is judged against its own current. Not
// refused: the largest current itself, and a zero-sequence fault of twice
// it (a third per phase).
TEST_F(OvercurrentModelUnit, FaultsBeyondTheDeviceAreRefusedAtStart)
{
    const double most = config->maxIRange;
    const QString limit = QString::number(most, 'f', 3) + "A";
    const struct
    {
        int kind;
        double amps;
        const char* asked;   // null: not refused by the model
    } rows[] = {
        {VM::FAULT_TYPE_A_E, 1.5 * most, "15.000A"}, {VM::FAULT_TYPE_A_B, 2.0 * most, "20.000A"},
        {VM::FAULT_TYPE_A, most + 1.0, "11.000A"},   {VM::FAULT_TYPE_A_E, most, nullptr},
        {VM::FAULT_TYPE_3I0, 2.0 * most, nullptr},
    };
    ASSERT_EQ(most, 10.0);
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "kind " << r.kind << " at " << r.amps << " A");
        OvercurrentModel vm;
        vm.addAt(2.0);
        vm.addAt(r.amps, VM::FUNCTION_TYPE_51, r.kind);
        vm.clearUserMessage();
        EXPECT_FALSE(vm.testStart());   // without an instrument nothing starts
        const QString said = vm.getUserMessage();
        if (r.asked) {
            EXPECT_TRUE(said.contains("第2点") && said.contains(r.asked) && said.contains(limit)) << qPrintable(said);
        } else {
            EXPECT_FALSE(said.contains(limit)) << qPrintable(said);
        }
    }
}

// A point's fault (Max Fault Time) must outlast its window and the debounce
// for a trip there to be confirmed: refused at Add and at Start, naming the
// point and the time it needs. Every catalogue row and function 50, a
// millisecond either side of the need; a window without end needs none.
TEST_F(OvercurrentModelUnit, PointsWhoseWindowTheirFaultCannotReachAreRefusedAtAddAndStart)
{
    int refused = 0;
    const auto check = [this, &refused](int fn, int family, int row, double dial, double amps) {
        OvercurrentModel vm;
        vm.setFunction(fn);
        vm.setCharType(family);
        vm.setCharIndex(row);
        vm.setTdPickUp(fn, dial);
        SCOPED_TRACE(testing::Message() << vm.getCurrentCharName().toStdString() << " at " << amps << " A");
        vm.setMaxFaultTime(1000.0);
        vm.setTestCurrent(amps);
        const double end = vm.getMaxTimes(-1);
        const double reach = end == kNoTrip ? 0.001 : end + config->ditherTime;
        if (reach > 999.0)
            return;
        vm.setMaxFaultTime(reach + 0.001);
        vm.addPoint();
        ASSERT_EQ(vm.getPointsCount(), 1);
        EXPECT_TRUE(vm.getUserMessage().isEmpty()) << qPrintable(vm.getUserMessage());
        if (end == kNoTrip)
            return;
        vm.setMaxFaultTime(reach - 0.001);
        vm.addPoint();
        EXPECT_EQ(vm.getPointsCount(), 1);
        EXPECT_FALSE(vm.getUserMessage().isEmpty());
        EXPECT_FALSE(vm.testStart());
        EXPECT_TRUE(vm.getUserMessage().contains("第1点")) << qPrintable(vm.getUserMessage());
        ++refused;
    };
    for (double amps : {0.9, 1.1, 2.0, 5.0, 20.0}) {
        for (double dial : {0.05, 1.0})
            check(VM::FUNCTION_TYPE_50, OperatingCurves::CHAR_STAND, 0, dial, amps);
        for (int family : {OperatingCurves::CHAR_STAND, OperatingCurves::CHAR_IAC}) {
            OvercurrentModel vm;
            vm.setCharType(family);
            for (int row = 0; row < vm.getCharNames().size(); ++row)
                check(VM::FUNCTION_TYPE_51, family, row, 0.1, amps);
        }
    }
    EXPECT_GT(refused, 400);

    // Found outlasting their faults: "BS142 LTI" dial 0.05 at 1.5 A against
    // 10 s, IEC NI TMS 0.1 at 1.1 A against 5 s; at Start the second point.
    const struct
    {
        int row;
        double dial, amps, maxFault;
        const char* needs;
    } found[] = {{3, 0.05, 1.5, 10.0, "14.715s"}, {0, 0.1, 1.1, 5.0, "15.808s"}};
    for (const auto& f : found) {
        SCOPED_TRACE(f.needs);
        OvercurrentModel vm;
        vm.setFunction(VM::FUNCTION_TYPE_51);
        vm.setCharIndex(f.row);
        vm.setTdPickUp(VM::FUNCTION_TYPE_51, f.dial);
        vm.setMaxFaultTime(f.maxFault);
        vm.addAt(2.0);
        vm.addAt(f.amps);
        EXPECT_EQ(vm.getPointsCount(), 1);
        EXPECT_TRUE(vm.getUserMessage().contains(f.needs)) << qPrintable(vm.getUserMessage());
        vm.setMaxFaultTime(100.0);
        vm.addAt(f.amps);
        vm.setMaxFaultTime(f.maxFault);
        EXPECT_FALSE(vm.testStart());
        const QString said = vm.getUserMessage();
        EXPECT_TRUE(said.contains("第2点") && said.contains(f.needs)) << qPrintable(said);
    }
}

// The refusal and the Max Fault Time it shows agree: "BS142 LTI" dial 0.05
// at 1.5 A needs 14.715 s (window end and debounce); a time within the
// instrument's stamp of it reaches, one a stamp short or more is refused and
// reads shorter than the need.
TEST_F(OvercurrentModelUnit, MaxFaultRefusalShowsTheTimeItRefused)
{
    const struct
    {
        double maxFault;
        const char* shown;   // nullptr: accepted
    } rows[] = {
        {14.715, nullptr},
        {14.7149999, nullptr},
        {14.714999, "最大故障时间14.714999s"},
        {14.7149, "最大故障时间14.7149s"},
        {14.714, "最大故障时间14.714s"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.maxFault);
        OvercurrentModel vm;
        vm.setFunction(VM::FUNCTION_TYPE_51);
        vm.setCharIndex(3);
        vm.setTdPickUp(VM::FUNCTION_TYPE_51, 0.05);
        vm.setMaxFaultTime(row.maxFault);
        vm.addAt(1.5);
        EXPECT_EQ(vm.getPointsCount(), row.shown ? 0 : 1);
        if (row.shown) {
            const QString said = vm.getUserMessage();
            EXPECT_TRUE(said.contains("须持续14.715s") && said.contains(vmtest::utf8(row.shown))) << qPrintable(said);
        }
    }
}

TEST_F(OvercurrentModelUnit, SeriesOfPointsReachTheirEndWithinTheRoomLeft)
{
    const struct
    {
        const char* what;
        int listed;
        double begin, end, step;
        std::vector<double> added;   // the first ones
        int count;
    } rows[] = {
        {"down from 5", 0, 5.0, 1.0, 1.0, {1, 2, 3, 4, 5}, 5},
        {"equal ends", 0, 1.0, 1.0, 0.5, {1}, 1},
        {"step 0", 0, 2.0, 3.0, 0.0, {2}, 1},
        {"two places left", 30, 1.0, 10.0, 1.0, {1, 2}, 32},
        {"end lost to rounding", 0, 1.1, 1.7, 0.2, {1.1, 1.3, 1.5, 1.7}, 4},
        {"tiny step", 0, 1.0, 2.0, 1e-300, {1, 1}, 32},
        {"list full", 32, 1.0, 2.0, 1.0, {}, 32},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        OvercurrentModel vm;
        for (int i = 0; i < r.listed; ++i)
            vm.addAt(20.0);
        vm.setFunction(VM::FUNCTION_TYPE_51);
        vm.addPoint(r.begin, r.end, r.step);
        ASSERT_EQ(vm.getPointsCount(), r.count);
        EXPECT_EQ(vm.getActiveIndex(), r.count - 1);
        for (size_t k = 0; k < r.added.size(); ++k)
            EXPECT_NEAR(vm.getTestCurrent(r.listed + int(k)), r.added[k], 1e-12) << k;
        // Each added point has the window of its own current.
        for (int i = r.listed; i < r.count; ++i) {
            vm.computerTime(VM::FUNCTION_TYPE_51, vm.getTestCurrent(i));
            EXPECT_EQ(vm.getMinTimes(i), vm.getCurvePointMinTime()) << i;
            EXPECT_EQ(vm.getMaxTimes(i), vm.getCurvePointMaxTime()) << i;
        }
    }
}

TEST_F(OvercurrentModelUnit, CharacteristicSelectionKeepsValuesOutsideTheCatalogue)
{
    OvercurrentModel vm;
    vm.setCharType(OperatingCurves::CHAR_IAC);
    EXPECT_EQ(vm.overcurrentCurves[1].getActiveIndex(), 0);
    EXPECT_EQ(vm.getCharNames().size(), 15);
    vm.setCharIndex(4);
    vm.setCharType(OperatingCurves::CHAR_STAND);
    EXPECT_EQ(vm.overcurrentCurves[1].getActiveIndex(), 1);
    EXPECT_EQ(vm.getCharIndex(), 0);
    EXPECT_EQ(vm.getIPickUp(2), 0.0);
    EXPECT_EQ(vm.getTdPickUp(-1), 0.0);
    EXPECT_TRUE(std::isnan(vm.computerTime(2, 5.0)));

    // Each call leaves the model as it was.
    const auto state = [](OvercurrentModel& m) {
        return QStringList{QString::number(m.getCharType()), QString::number(m.getCharIndex()),
                           QString::number(m.getIPickUp(0)), QString::number(m.getIPickUp(1)),
                           QString::number(m.getTdPickUp(0)), QString::number(m.getTdPickUp(1)),
                           QString::number(m.getFunction(-1)), QString::number(m.getFaultKind(-1)),
                           QString::number(m.getMaxTimes(-1)), m.getCurrentCharName()};
    };
    const std::function<void(OvercurrentModel&)> refused[] = {
        [](OvercurrentModel& m) { m.setCharType(OperatingCurves::CHAR_I2T); },
        [](OvercurrentModel& m) { m.setCharType(-1); },
        [](OvercurrentModel& m) { m.setCharIndex(110); },   // standard row 111
        [](OvercurrentModel& m) { m.setCharIndex(-2); },
        [](OvercurrentModel& m) { m.setIPickUp(2, 3.0); },
        [](OvercurrentModel& m) { m.setTdPickUp(-1, 3.0); },
        [](OvercurrentModel& m) { m.setFunction(2); },
        [](OvercurrentModel& m) { m.setFaultKind(12); },
        [](OvercurrentModel& m) { m.saveImage(2, "AAAA"); },
    };
    OvercurrentModel untouched;
    untouched.setCharIndex(5);
    untouched.setTestCurrent(4.0);
    for (size_t i = 0; i < std::size(refused); ++i) {
        OvercurrentModel m;
        m.setCharIndex(5);
        m.setTestCurrent(4.0);
        refused[i](m);
        EXPECT_EQ(state(m), state(untouched)) << i;
    }
}

// Three points, pre-fault once only: three states per point, and the
// progress and trips copied back on the report types that carry them.
TEST_F(OvercurrentModelUnit, EntityStatesOfARunAndTheCopiesBack)
{
    OvercurrentModel vm;
    vm.testActive();
    vm.setOutputOnceOnly(true);
    vm.setTdPickUp(VM::FUNCTION_TYPE_51, 0.1);   // windows the faults of 3 s reach
    vm.setMaxFaultTime(3.0);
    vm.setOutputBOState(1, 1);
    for (double amps : {2.0, 3.0, 4.0})
        vm.addAt(amps);
    vm.updateVMToEnt(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    ModelOvercurrentEntity& e = entity();
    {
        QMutexLocker lock(&e.entityLock);
        EXPECT_EQ(e.stateCount, 9);
        const double times[9] = {0.5, 3.0, 0.2, 0.0, 3.0, 0.2, 0.0, 3.0, 0.2};
        for (int s = 0; s < 9; ++s) {
            const bool fault = s % 3 == 1;
            EXPECT_EQ(e.stateOutputTimes[s], times[s]) << s;
            EXPECT_EQ(e.stateTriggerTypes[s], fault ? ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY
                                                    : ModelEntity::AO_TRIGGER_TYPE_TIME) << s;
            EXPECT_EQ(e.stateOutputBOStates[s][1], fault ? 1 : 0) << s;
            EXPECT_NEAR(e.stateOutputRanges[s][ModelEntity::AO_PORT_TYPE_IA], fault ? 2.0 + s / 3 : 0.0, 1e-9) << s;
        }
    }

    // The run starts (start hook); the engine marks and records.
    ControllerRuntime* rt = center->testRuntime;
    const auto running = [rt](int value) {
        rt->dataLock();
        rt->STATE[ControllerRuntime::STATE_TYPE_RUNNING] = value;
        rt->dataUnlock();
    };
    running(1);
    vm.updateEntToVM(ViewBaseModel::DATA_TYPE_RT_STATE, ViewBaseModel::STATE_TYPE_RUNNING, false);
    const struct
    {
        int type, sub;
        bool states, trips;
    } reports[] = {
        {ViewBaseModel::DATA_TYPE_RT_STATE, ViewBaseModel::STATE_TYPE_POWERED, false, false},
        {ViewBaseModel::DATA_TYPE_RT_STATE, ViewBaseModel::STATE_TYPE_STATEINDEX, true, false},
        {ViewBaseModel::DATA_TYPE_TEST_OUTPUTVI, 3, true, false},
        {ViewBaseModel::DATA_TYPE_TEST_OUTPUTPQ, -1, false, false},
        {ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, 5, true, false},
        {ViewBaseModel::DATA_TYPE_TEST_ACTIONDATA, -1, false, true},
    };
    for (const auto& r : reports) {
        SCOPED_TRACE(testing::Message() << r.type << "/" << r.sub);
        vm.point(1)->testState = VM::AO_STATE_TYPE_INITING;
        vm.point(1)->clearResults();
        {
            QMutexLocker lock(&e.entityLock);
            e.stateTestStates[4] = ModelEntity::AO_STATE_TYPE_COMPLETED;
            e.stateActionTimes[4][3] = 0.7;
        }
        vm.updateEntToVM(ViewBaseModel::DATAType(r.type), r.sub, false);
        EXPECT_EQ(vm.getTestStates(1), r.states ? VM::AO_STATE_TYPE_COMPLETED : VM::AO_STATE_TYPE_INITING);
        expectTime(vm.getActionTimes(1), r.trips ? 0.7 : NAN, 0.0);
    }
    running(0);
}
