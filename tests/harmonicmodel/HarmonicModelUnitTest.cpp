// The harmonic view model's own logic, no instrument: the sum limit, the
// order slots and the percent display, RMS and THD against an independent
// oracle, manual steps, the automatic ramp's refusals, the verdict and what
// clears or settles the results.

#include "HarmonicModelSupport.h"

#include <cmath>
#include <complex>
#include <vector>

using namespace hmtest;

namespace {

constexpr double kPi = 3.141592653589793;

// One port's waveform as the instrument plays it, sampled over one period
// of the fundamental: RMS by the trapezoidal rule and the RMS amplitude of
// each order by a discrete Fourier transform.
struct Oracle
{
    double rms = 0.0;
    std::vector<double> amplitudes;   // by order, index 0 unused
};

Oracle measure(const double ranges[4], const double angles[4], const int orders[4])
{
    constexpr int kSamples = 4096;
    std::vector<double> x(kSamples + 1);
    for (int j = 0; j <= kSamples; ++j) {
        const double t = double(j) / kSamples;   // in periods
        for (int s = 0; s < 4; ++s)
            x[j] += std::sqrt(2.0) * ranges[s] * std::sin(2 * kPi * orders[s] * t + angles[s] * kPi / 180.0);
    }
    Oracle o;
    double sum = 0.0;
    for (int j = 0; j < kSamples; ++j)
        sum += (x[j] * x[j] + x[j + 1] * x[j + 1]) / 2.0;
    o.rms = std::sqrt(sum / kSamples);
    o.amplitudes.assign(61, 0.0);
    for (int n = 1; n <= 60; ++n) {
        std::complex<double> bin = 0.0;
        for (int j = 0; j < kSamples; ++j)
            bin += x[j] * std::polar(1.0, -2 * kPi * n * j / kSamples);
        o.amplitudes[n] = std::abs(bin) * 2.0 / kSamples / std::sqrt(2.0);
    }
    return o;
}

void expectRelative(double value, double expected, const char* what)
{
    EXPECT_LE(std::fabs(value - expected), 1e-6 * std::max(1e-12, std::fabs(expected))) << what;
}

} // namespace

TEST_F(HarmonicModelTest, SumLimitHoldsEntriesAndTheRampEnd)
{
    struct Row
    {
        const char* name;
        int port, slot;
        double fundamental;
        bool autoRamp;    // amplitude ramp of the port's slot 1 to an end of 150
        double entered, stored;
    };
    const Row rows[] = {
        {"voltage", 0, 2, 100.0, false, 250.0, 200.0},
        {"current", 4, 1, 5.0, false, 30.0, 15.0},
        {"the ramped slot counts with its end", 0, 2, 100.0, true, 250.0, 50.0},
        {"a negative entry", 0, 2, 100.0, false, -5.0, 0.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HarmonicModel vm;
        vm.setSlot(row.port, 0, row.fundamental, 0.0);
        if (row.autoRamp) {
            vm.setFaultActionOrder(1);
            vm.setAutoRampEnabled(true);
            vm.setEndRampValue(150.0);
        }
        vm.setSlot(row.port, row.slot, row.entered, 0.0);
        EXPECT_EQ(vm.outputRanges[row.port][row.slot], row.stored);
    }

    // Steps hold each slot, not the sum: a room below 0 stores 0.
    HarmonicModel vm;
    vm.testActive();
    vm.setSlot(0, 0, 250.0, 0.0);
    vm.setSlot(0, 1, 100.0, 0.0);
    EXPECT_EQ(vm.outputRanges[0][1], 50.0);
    vm.setRampStepValue(10.0);
    ASSERT_TRUE(vm.quickChange(true));
    EXPECT_EQ(vm.outputRanges[0][0], 260.0);
    vm.setSlot(0, 2, 7.0, 0.0);
    EXPECT_EQ(vm.outputRanges[0][2], 0.0);

    // The ramp's end is cut to the room left on every port of the group.
    HarmonicModel group;
    group.setSlot(1, 0, 250.0, 0.0);
    group.setFaultActionPort(6);   // UAUBUC
    group.setFaultActionOrder(2);
    group.setAutoRampEnabled(true);
    group.setEndRampValue(100.0);
    EXPECT_EQ(group.getEndRampValue(), 50.0);
}

TEST_F(HarmonicModelTest, OrderSlotsMoveWithTheirOrderAndTheActiveSlotClamps)
{
    HarmonicModel vm;
    vm.setSlot(4, 1, 0.2, 45.0);
    vm.activeNextOrder();
    EXPECT_EQ(vm.getActiveOrderText(), "[2/5]");
    // Orders 2..60 without 3 and 5: order 7 is choice 3.
    EXPECT_EQ(vm.getOrderChoices().mid(0, 4), (QList<int>{2, 4, 6, 7}));
    vm.setOutputOrders(3);
    EXPECT_EQ((std::vector<int>{vm.getOutputOrders(0), vm.getOutputOrders(1), vm.getOutputOrders(2),
                                vm.getOutputOrders(3)}),
              (std::vector<int>{1, 3, 5, 7}));
    EXPECT_EQ(vm.getActiveOrder(), 3);
    EXPECT_EQ(vm.outputRanges[4][3], 0.2);
    EXPECT_EQ(vm.outputAngles[4][3], 45.0);
    EXPECT_EQ(vm.outputRanges[4][1], 0.0);

    // Percent of the fundamental, both ways; a zero fundamental reads 0 %.
    vm.setShowRange(false);
    EXPECT_NEAR(vm.getOutputPercent(port(4)), 20.0, 1e-12);
    vm.setOutputPercent(port(0), 10.0);
    EXPECT_NEAR(vm.outputRanges[0][3], 5.7735, 1e-12);
    EXPECT_EQ(vm.getOutputPercent(port(3)), 0.0);

    for (int i = 0; i < 3; ++i)
        vm.activeNextOrder();
    EXPECT_EQ(vm.getActiveOrderText(), "[5/5]");
    // The summary page: no slot to read or choose.
    EXPECT_EQ(vm.getOutputRange(port(4)), 0.0);
    EXPECT_EQ(vm.getOutputAngle(port(4)), 0.0);
    EXPECT_EQ(vm.getOutputPercent(port(4)), 0.0);
    vm.setOutputOrders(0);
    EXPECT_EQ(vm.getOutputOrders(1), 3);
    for (int i = 0; i < 6; ++i)
        vm.activePrevOrder();
    EXPECT_EQ(vm.getActiveOrderText(), "[1/5]");
    EXPECT_EQ(vm.getOrderChoices(), QList<int>{1});
    vm.setOutputOrders(0);
    EXPECT_EQ(vm.getOutputOrders(0), 1);
    EXPECT_EQ(vm.getOutputOrders(1), 3);
}

TEST_F(HarmonicModelTest, RampValuesInPercentOfTheGroupsFundamental)
{
    struct Row
    {
        const char* name;
        int row;           // list row, three-phase unit
        int basePort;
        double base, entered, stored, shown;
    };
    const Row rows[] = {
        {"UCUA takes UA's fundamental", 5, 0, 100.0, 10.0, 10.0, 10.0},
        {"IB alone", 8, 5, 2.0, 50.0, 1.0, 50.0},
        {"a group on a zero fundamental stores 0", 3, 0, 0.0, 50.0, 0.0, 0.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HarmonicModel vm;
        vm.setSlot(row.basePort, 0, row.base, 0.0);
        vm.setFaultActionPort(row.row);
        vm.setShowRange(false);
        vm.setEndRampValue(row.entered);
        vm.setShowRange(true);
        EXPECT_EQ(vm.getEndRampValue(), row.stored);
        vm.setShowRange(false);
        EXPECT_EQ(vm.getEndRampValue(), row.shown);
    }
}

TEST_F(HarmonicModelTest, RmsAndThdAgreeWithTheSampledWaveform)
{
    struct Row
    {
        double ranges[4], angles[4];
        int orders[4];
    };
    const Row rows[] = {
        {{100.0, 10.0, 0.0, 0.0}, {0.0, 0.0, 0.0, 0.0}, {1, 2, 3, 5}},
        {{57.735, 5.0, 3.0, 1.5}, {30.0, 10.0, 200.0, 95.0}, {1, 2, 7, 60}},
        {{1.0, 0.4, 0.3, 0.2}, {240.0, 0.0, 120.0, 33.0}, {1, 13, 14, 15}},
        {{0.0, 2.0, 0.0, 1.0}, {0.0, 0.0, 0.0, 0.0}, {1, 3, 5, 9}},
    };
    for (const Row& row : rows) {
        HarmonicModel vm;
        for (int s = 0; s < 4; ++s) {
            vm.outputRanges[4][s] = row.ranges[s];
            vm.outputAngles[4][s] = row.angles[s];
        }
        const Oracle o = measure(row.ranges, row.angles, row.orders);
        expectRelative(vm.getOutputRMS(port(4)), o.rms, "RMS");
        double harmonics = 0.0;
        for (int s = 1; s < 4; ++s)
            harmonics += o.amplitudes[row.orders[s]] * o.amplitudes[row.orders[s]];
        const double fundamental = o.amplitudes[1];
        const double thd = fundamental < 1e-7 ? 0.0 : 100.0 * std::sqrt(harmonics) / fundamental;
        expectRelative(vm.getOutputTHD(port(4)), thd, "THD");
    }
    HarmonicModel vm;
    vm.outputRanges[0][0] = 100.0;
    vm.outputRanges[0][2] = 10.0;
    EXPECT_NEAR(vm.getOutputTHD(port(0)), 10.0, 1e-12);
}

// Only the stepped ports move and are held; an angle folds into [0, 360).
TEST_F(HarmonicModelTest, ManualStepsHoldOnlyTheSteppedSlot)
{
    struct Row
    {
        const char* name;
        int row;
        VM::RampItemType item;
        int slot;
        bool up;
        double step;
        std::vector<std::tuple<int, int, double>> before, after;   // port, slot, value
    };
    const auto A = VM::RAMP_ITEM_TYPE_ANGLE;
    const auto R = VM::RAMP_ITEM_TYPE_RANGE;
    const Row rows[] = {
        {"UA's angle past 360, IB's -120 stays", 0, A, 0, true, 5.0, {{0, 0, 358.0}, {5, 0, -120.0}},
         {{0, 0, 3.0}, {5, 0, -120.0}}},
        {"UAUBUC slot 2 down to 0", 6, R, 2, false, 1.0, {{0, 2, 0.5}, {1, 2, 2.0}},
         {{0, 2, 0.0}, {1, 2, 1.0}, {2, 2, 0.0}, {0, 0, 57.735}}},
        {"IA slot 1 up to the device maximum", 7, R, 1, true, 5.0, {{4, 1, 8.0}}, {{4, 1, 10.0}, {4, 0, 1.0}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HarmonicModel vm;
        vm.testActive();
        vm.setFaultActionPort(row.row);
        vm.setFaultActionItem(row.item);
        vm.setFaultActionOrder(row.slot);
        vm.setRampStepValue(row.step);
        for (const auto& [p, s, v] : row.before)
            (row.item == A ? vm.outputAngles : vm.outputRanges)[p][s] = v;
        ASSERT_TRUE(vm.quickChange(row.up));
        for (const auto& [p, s, v] : row.after)
            EXPECT_EQ((row.item == A ? vm.outputAngles : vm.outputRanges)[p][s], v) << p << "/" << s;
    }
}

// The engine ramps from the present values and sets one at or beyond the end
// to the end: a ramp that would jump there is refused, with a message, and
// so is the start.
TEST_F(HarmonicModelTest, AutoRampThatWouldJumpIsRefusedWithAMessage)
{
    struct Row
    {
        const char* name;
        int row;
        int slot;
        double end, step, time;
        bool up, accepted;
    };
    const Row rows[] = {
        {"UA's fundamental on its end runs", 0, 0, 57.735, 1, 1, true, true},
        {"up to an end below the slot", 0, 0, 10, 1, 1, true, false},
        {"down to an end below the slot", 0, 0, 10, 1, 1, false, true},
        {"a harmonic up from 0", 0, 1, 10, 1, 1, true, true},
        {"a harmonic down from 0", 0, 1, 10, 1, 1, false, false},
        {"UBUC on both sides of the end", 4, 2, 1.5, 1, 1, true, false},
        {"step 0", 0, 1, 10, 0, 1, true, false},
        {"time 0", 0, 1, 10, 1, 0, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HarmonicModel vm;
        vm.testActive();
        int messages = 0;
        QObject::connect(&vm, &ViewSourceTestModel::sigUserMessage, [&messages] { ++messages; });
        vm.setSlot(1, 2, 3.0, 0.0);
        vm.setFaultActionPort(row.row);
        vm.setFaultActionOrder(row.slot);
        vm.setAutoRampEnabled(true);
        vm.setEndRampValue(row.end);
        vm.setRampStepValue(row.step);
        vm.setRampTimeValue(row.time);
        QMutexLocker lock(&entity().entityLock);
        entity().endRampValue = -7.0;
        EXPECT_EQ(vm.quickChange(row.up), row.accepted);
        EXPECT_EQ(messages, row.accepted ? 0 : 1);
        EXPECT_EQ(entity().endRampValue, row.accepted ? row.end : -7.0);
        lock.unlock();
        if (!row.accepted) {
            vm.clearUserMessage();
            EXPECT_FALSE(vm.testStart());
            EXPECT_FALSE(vm.getUserMessage().isEmpty());
        }
    }
}

TEST_F(HarmonicModelTest, VerdictAndResultTexts)
{
    struct Row
    {
        const char* name;
        int row;
        VM::RampItemType item;
        int bi;
        double time;
        std::initializer_list<double> values;
        bool completed;
        int result, input;
        const char* text;
    };
    const double nan = std::nan("");
    const auto R = VM::RAMP_ITEM_TYPE_RANGE;
    const Row rows[] = {
        {"1.05 s passes", 0, R, 0, 1.05, {57.0}, true, VM::AO_Result_TYPE_SUCCESS, 1, "57.000 V"},
        {"1.2 s fails", 7, R, 2, 1.2, {0.15}, true, VM::AO_Result_TYPE_FAILED, 3, "0.150 A"},
        {"1.1 s on the bound passes", 13, R, 3, 1.1, {1.2, 1.3, 1.4}, true, VM::AO_Result_TYPE_SUCCESS, 4,
         "1.200; 1.300; 1.400 A"},
        {"1.1000001 s fails", 4, VM::RAMP_ITEM_TYPE_ANGLE, 1, 1.1000001, {10.0, 20.0}, true,
         VM::AO_Result_TYPE_FAILED, 2, "10.000; 20.000 °"},
        {"no trip, completed", 0, R, -1, nan, {}, true, VM::AO_Result_TYPE_FAILED, -1, "NaN V"},
        {"no trip, not run", 0, R, -1, nan, {}, false, VM::AO_Result_TYPE_NONE, -1, "NaN V"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HarmonicModel vm;
        vm.setFaultActionPort(row.row);
        vm.setFaultActionItem(row.item);
        vm.setTrip(row.bi, row.time, row.values);
        vm.testState = row.completed ? VM::AO_STATE_TYPE_COMPLETED : VM::AO_STATE_TYPE_INITING;
        EXPECT_EQ(vm.getTestResult(), row.result);
        EXPECT_EQ(vm.getBinaryInputIndex(), row.input);
        EXPECT_EQ(vm.getFaultActionValue(), row.text);
    }
}

// A new variable or item clears the caught result and, with no run in
// progress, the state; a stop report settles only a run that began.
TEST_F(HarmonicModelTest, ResultsClearOnANewVariableAndOnlyABegunRunSettles)
{
    HarmonicModel vm;
    vm.testActive();
    vm.testState = VM::AO_STATE_TYPE_COMPLETED;
    vm.setTrip(1, 0.5, {1.0, 2.0, 3.0});
    vm.setFaultActionPort(0);   // the same group: kept
    EXPECT_EQ(vm.getBinaryInputIndex(), 2);
    vm.setFaultActionPort(8);
    EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_INITING);
    EXPECT_EQ(vm.getBinaryInputIndex(), -1);
    EXPECT_TRUE(std::isnan(vm.getFaultActionTime()));
    EXPECT_EQ(vm.getFaultActionValue(), "NaN A");

    vm.testState = VM::AO_STATE_TYPE_COMPLETED;
    vm.setTrip(0, 0.5, {1.0});
    vm.setFaultActionItem(VM::RAMP_ITEM_TYPE_ANGLE);
    EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_INITING);
    EXPECT_EQ(vm.getBinaryInputIndex(), -1);

    // The stop report of a start the engine refused: nothing to settle.
    vm.doSwitchToStopState();
    EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_INITING);
    vm.doSwitchToStartState();
    vm.setTrip(0, 0.5, {1.0});
    vm.setFaultActionPort(1);   // during a run the state stays
    EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_INITING);
    vm.updateEntToVM(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_RUNNNING);
    vm.setFaultActionPort(2);
    EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_RUNNNING);
    vm.doSwitchToStopState();
    EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_COMPLETED);
    EXPECT_EQ(vm.getTestResult(), VM::AO_Result_TYPE_FAILED);
}
