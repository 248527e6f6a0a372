// The harmonic view model's own logic, no instrument: the sum limit, the
// order slots and the percent display, RMS and THD against an independent
// oracle, manual steps, the automatic ramp's refusals, the verdict and what
// clears or settles the results.

#include "HarmonicModelSupport.h"

#include <complex>
#include <functional>
#include <tuple>
#include <vector>

using namespace hmtest;

namespace {

// One period of the fundamental of a port's waveform as the instrument plays
// it, sampled: its RMS by the trapezoidal rule, and its THD from the RMS
// amplitude of each order by a discrete Fourier transform.
std::pair<double, double> sampledRmsAndThd(const double ranges[4], const double angles[4], const int orders[4])
{
    constexpr int kSamples = 4096;
    constexpr double kPi = 3.141592653589793;
    std::vector<double> x(kSamples + 1);
    for (int j = 0; j <= kSamples; ++j)
        for (int s = 0; s < 4; ++s)
            x[j] += std::sqrt(2.0) * ranges[s] * std::sin(2 * kPi * orders[s] * j / kSamples + angles[s] * kPi / 180.0);
    double sum = 0.0;
    for (int j = 0; j < kSamples; ++j)
        sum += (x[j] * x[j] + x[j + 1] * x[j + 1]) / 2.0;
    double amplitude[4];
    for (int s = 0; s < 4; ++s) {
        std::complex<double> bin = 0.0;
        for (int j = 0; j < kSamples; ++j)
            bin += x[j] * std::polar(1.0, -2 * kPi * orders[s] * j / kSamples);
        amplitude[s] = std::abs(bin) * std::sqrt(2.0) / kSamples;
    }
    const double harmonics = std::hypot(amplitude[1], amplitude[2], amplitude[3]);
    return {std::sqrt(sum / kSamples), amplitude[0] < 1e-7 ? 0.0 : 100.0 * harmonics / amplitude[0]};
}

} // namespace

TEST_F(HarmonicModelTest, SumLimitHoldsEntriesAndTheRampEnd)
{
    struct Row
    {
        const char* name;
        int port, slot;
        double fundamental;
        bool autoRamp;   // amplitude ramp of slot 1 to an end of 150
        double entered, stored;
    };
    const Row rows[] = {
        {"voltage", 0, 2, 100.0, false, 250.0, 200.0},
        {"current", 4, 1, 5.0, false, 30.0, 15.0},
        {"the ramped slot counts with its end", 0, 2, 100.0, true, 250.0, 50.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HarmonicModel vm;
        vm.setSlot(row.port, 0, row.fundamental, 0.0);
        vm.setFaultActionOrder(1);
        vm.setAutoRampEnabled(row.autoRamp);
        vm.setEndRampValue(150.0);
        vm.setSlot(row.port, row.slot, row.entered, 0.0);
        EXPECT_EQ(vm.outputRanges[row.port][row.slot], row.stored);
    }

    // Steps hold each slot, not the sum: a room below 0 then stores 0.
    HarmonicModel vm;
    vm.testActive();
    vm.setSlot(0, 0, 250.0, 0.0);
    vm.setSlot(0, 1, 100.0, 0.0);
    vm.setRampStepValue(10.0);
    ASSERT_TRUE(vm.quickChange(true));
    vm.setSlot(0, 2, 7.0, 0.0);
    EXPECT_EQ(vm.outputRanges[0][0] + vm.outputRanges[0][1] + vm.outputRanges[0][2], 310.0);
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
    EXPECT_EQ(vm.getOrderChoices().mid(0, 4), (QList<int>{2, 4, 6, 7}));   // 3 and 5 are taken
    vm.setOutputOrders(3);
    const int orders[] = {vm.getOutputOrders(0), vm.getOutputOrders(1), vm.getOutputOrders(2), vm.getOutputOrders(3)};
    EXPECT_EQ(std::vector<int>(orders, orders + 4), (std::vector<int>{1, 3, 5, 7}));
    EXPECT_EQ(vm.getActiveOrder(), 3);
    EXPECT_EQ(vm.outputRanges[4][3], 0.2);
    EXPECT_EQ(vm.outputAngles[4][3], 45.0);
    EXPECT_EQ(vm.outputRanges[4][1], 0.0);

    // Percent of the fundamental, both ways; a zero fundamental reads 0 %.
    EXPECT_NEAR(vm.getOutputPercent(port(4)), 20.0, 1e-12);
    vm.setOutputPercent(port(0), 10.0);
    EXPECT_NEAR(vm.outputRanges[0][3], 5.7735, 1e-12);
    EXPECT_EQ(vm.getOutputPercent(port(3)), 0.0);

    // The summary page has no slot to read or choose; the fundamental only "1".
    for (int i = 0; i < 3; ++i)
        vm.activeNextOrder();
    EXPECT_EQ(vm.getActiveOrderText(), "[5/5]");
    EXPECT_EQ(vm.getOutputRange(port(4)) + vm.getOutputAngle(port(4)) + vm.getOutputPercent(port(4)), 0.0);
    vm.setOutputOrders(0);
    for (int i = 0; i < 6; ++i)
        vm.activePrevOrder();
    EXPECT_EQ(vm.getActiveOrderText(), "[1/5]");
    EXPECT_EQ(vm.getOrderChoices(), QList<int>{1});
    vm.setOutputOrders(0);
    EXPECT_EQ(vm.getOutputOrders(0) * 100 + vm.getOutputOrders(1), 103);
}

// The outputs give up to 1000 Hz: an order whose frequency at the rated
// fundamental passes it is refused at the start, named with the limit.
TEST_F(HarmonicModelTest, OrdersBeyondTheOutputsFrequencyAreRefusedAtStart)
{
    const struct
    {
        double rated;
        int order;
        bool refused;
    } rows[] = {{50.0, 20, false}, {50.0, 21, true}, {50.0, 60, true}, {60.0, 17, true}};
    const double rated = config->rateFrequency;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.order);
        config->rateFrequency = row.rated;
        HarmonicModel vm;
        vm.testActive();
        vm.updateDeviceConfig();
        for (int i = 0; i < 3; ++i)
            vm.activeNextOrder();
        vm.setOutputOrders(vm.getOrderChoices().indexOf(row.order));
        ASSERT_EQ(vm.getOutputOrders(3), row.order);
        EXPECT_FALSE(vm.testStart());
        const QString said = vm.getUserMessage();
        EXPECT_EQ(said.contains(QStringLiteral("第%1次谐波").arg(row.order)) && said.contains(QLatin1String("1000 Hz")),
                  row.refused)
            << qPrintable(said);
    }
    config->rateFrequency = rated;
}

TEST_F(HarmonicModelTest, RampValuesInPercentOfTheGroupsFundamental)
{
    struct Row
    {
        const char* name;
        int row, basePort;   // list row (three-phase unit), the port of the base
        double base, stored;
    };
    const Row rows[] = {
        {"UCUA takes UA's fundamental", 5, 0, 100.0, 50.0},
        {"IB alone", 8, 5, 2.0, 1.0},
        {"a group on a zero fundamental stores 0", 3, 0, 0.0, 0.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HarmonicModel vm;
        vm.setSlot(row.basePort, 0, row.base, 0.0);
        vm.setFaultActionPort(row.row);
        vm.setShowRange(false);
        vm.setEndRampValue(50.0);
        EXPECT_EQ(vm.getEndRampValue(), row.base == 0.0 ? 0.0 : 50.0);
        vm.setShowRange(true);
        EXPECT_EQ(vm.getEndRampValue(), row.stored);
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
        {{57.735, 5.0, 3.0, 1.5}, {30.0, 10.0, 200.0, 95.0}, {1, 2, 7, 60}},
        {{1.0, 0.4, 0.3, 0.2}, {240.0, 0.0, 120.0, 33.0}, {1, 13, 14, 15}},
        {{0.0, 2.0, 0.0, 1.0}, {0.0, 0.0, 0.0, 0.0}, {1, 3, 5, 9}},
    };
    for (const Row& row : rows) {
        HarmonicModel vm;
        std::copy(row.ranges, row.ranges + 4, vm.outputRanges[4]);
        std::copy(row.angles, row.angles + 4, vm.outputAngles[4]);
        const auto [rms, thd] = sampledRmsAndThd(row.ranges, row.angles, row.orders);
        EXPECT_NEAR(vm.getOutputRMS(port(4)), rms, 1e-6 * rms);
        EXPECT_NEAR(vm.getOutputTHD(port(4)), thd, 1e-6 * thd);
    }
    HarmonicModel vm;
    vm.outputRanges[0][0] = 100.0;
    vm.outputRanges[0][2] = 10.0;
    EXPECT_NEAR(vm.getOutputTHD(port(0)), 10.0, 1e-12);
}

// Only the stepped slot of the group's ports moves and is held; an angle
// folds into [0, 360).
TEST_F(HarmonicModelTest, ManualStepsHoldOnlyTheSteppedSlot)
{
    struct Row
    {
        const char* name;
        int row, slot;
        bool angle, up;
        double step;
        std::vector<std::tuple<int, int, double>> before, after;   // port, slot, value
    };
    const Row rows[] = {
        {"UA's angle past 360, IB's -120 stays", 0, 0, true, true, 5.0, {{0, 0, 358.0}, {5, 0, -120.0}},
         {{0, 0, 3.0}, {5, 0, -120.0}}},
        {"UAUBUC slot 2 down to 0", 6, 2, false, false, 1.0, {{0, 2, 0.5}, {1, 2, 2.0}},
         {{0, 2, 0.0}, {1, 2, 1.0}, {0, 0, 57.735}}},
        {"IA slot 1 up to the device maximum", 7, 1, false, true, 5.0, {{4, 1, 8.0}}, {{4, 1, 10.0}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HarmonicModel vm;
        vm.testActive();
        vm.setFaultActionPort(row.row);
        vm.setFaultActionItem(row.angle ? VM::RAMP_ITEM_TYPE_ANGLE : VM::RAMP_ITEM_TYPE_RANGE);
        vm.setFaultActionOrder(row.slot);
        vm.setRampStepValue(row.step);
        auto values = row.angle ? vm.outputAngles : vm.outputRanges;
        for (const auto& [p, s, v] : row.before)
            values[p][s] = v;
        ASSERT_TRUE(vm.quickChange(row.up));
        for (const auto& [p, s, v] : row.after)
            EXPECT_EQ(values[p][s], v) << p << "/" << s;
    }
}

// The engine ramps from the present values and sets one at or beyond the end
// to the end: a ramp that would jump there is refused, with a message, and so
// is the start.
TEST_F(HarmonicModelTest, AutoRampThatWouldJumpIsRefusedWithAMessage)
{
    struct Row
    {
        const char* name;
        int row, slot;   // UB's slot 2 holds 3 V
        double end, step, time;
        bool up, accepted;
    };
    const Row rows[] = {
        {"UA's fundamental on its end runs", 0, 0, 57.735, 1, 1, true, true},
        {"up to an end below the slot", 0, 0, 10, 1, 1, true, false},
        {"down to an end below the slot", 0, 0, 10, 1, 1, false, true},
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
        {
            QMutexLocker lock(&entity().entityLock);
            entity().endRampValue = -7.0;
        }
        EXPECT_EQ(vm.quickChange(row.up), row.accepted);
        EXPECT_EQ(messages, row.accepted ? 0 : 1);
        QMutexLocker lock(&entity().entityLock);
        EXPECT_EQ(entity().endRampValue, row.accepted ? row.end : -7.0);
        lock.unlock();
        EXPECT_TRUE(row.accepted || !vm.testStart());
    }
}

// An automatic ramp's trip is timed from the start of its step: steps that
// end before the window (T.nom 1 s + Dev 0.1 s) does are refused at Start.
TEST_F(HarmonicModelTest, AutoRampStepsShortOfTheWindowAreRefusedAtStart)
{
    for (double time : {1.099, 1.1}) {
        SCOPED_TRACE(time);
        HarmonicModel vm;
        vm.testActive();
        vm.setAutoRampEnabled(true);
        vm.setRampTimeValue(time);
        vm.setEndRampValue(60.0);
        ASSERT_TRUE(vm.quickChange(true));
        EXPECT_FALSE(vm.testStart());   // no instrument here
        EXPECT_EQ(vm.getUserMessage().contains("1.100s"), time < 1.1) << qPrintable(vm.getUserMessage());
    }
}

TEST_F(HarmonicModelTest, VerdictAndResultTexts)
{
    struct Row
    {
        const char* name;
        int row;   // list row, three-phase unit
        bool angle;
        int bi;
        double time;
        std::initializer_list<double> values;
        bool completed;
        int result, input;
        const char* text;
    };
    const double nan = std::nan("");
    const Row rows[] = {
        {"1.05 s passes", 0, false, 0, 1.05, {57.0}, true, VM::AO_Result_TYPE_SUCCESS, 1, "57.000 V"},
        {"1.2 s fails", 7, false, 2, 1.2, {0.15}, true, VM::AO_Result_TYPE_FAILED, 3, "0.150 A"},
        {"1.1 s on the bound passes", 13, false, 3, 1.1, {1.2, 1.3, 1.4}, true, VM::AO_Result_TYPE_SUCCESS, 4,
         "1.200; 1.300; 1.400 A"},
        {"1.100001 s fails", 4, true, 1, 1.100001, {10.0, 20.0}, true, VM::AO_Result_TYPE_FAILED, 2,
         "10.000; 20.000 °"},
        {"no trip, completed", 0, false, -1, nan, {}, true, VM::AO_Result_TYPE_FAILED, -1, "NaN V"},
        {"no trip, not run", 0, false, -1, nan, {}, false, VM::AO_Result_TYPE_NONE, -1, "NaN V"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HarmonicModel vm;
        vm.setFaultActionPort(row.row);
        vm.setFaultActionItem(row.angle ? VM::RAMP_ITEM_TYPE_ANGLE : VM::RAMP_ITEM_TYPE_RANGE);
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
    for (auto change : {std::function<void()>([&] { vm.setFaultActionPort(8); }),
                        std::function<void()>([&] { vm.setFaultActionItem(VM::RAMP_ITEM_TYPE_ANGLE); })}) {
        vm.testState = VM::AO_STATE_TYPE_COMPLETED;
        vm.setTrip(1, 0.5, {1.0, 2.0, 3.0});
        change();
        EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_INITING);
        EXPECT_EQ(vm.faultActionBiIndex, -1);
        EXPECT_TRUE(std::isnan(vm.getFaultActionTime()));
        EXPECT_EQ(vm.faultActionValues[0].portCnt, 0);
    }

    // The stop report of a start the engine refused: nothing to settle.
    vm.doSwitchToStopState();
    EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_INITING);
    vm.doSwitchToStartState();
    vm.updateEntToVM(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_RUNNNING);
    vm.setFaultActionPort(2);   // during a run the state stays
    EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_RUNNNING);
    {
        ModelHarmonicEntity& e = entity();
        QMutexLocker lock(&e.entityLock);
        e.faultActionBiIndex = 1;
        e.faultActionTimes[1] = 0.5;
    }
    vm.doSwitchToStopState();
    EXPECT_EQ(vm.getTestState(), VM::AO_STATE_TYPE_COMPLETED);
}
