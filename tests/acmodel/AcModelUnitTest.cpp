// The AC view model's own logic, no instrument: defaults, argument checks,
// quick-set keys, list rows, manual steps and their limits, the hand-over of
// the automatic ramp, result texts, the fault state and the QML dispatch.

#include "AcModelSupport.h"

#include "BaseModelDataDistance.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>

#include <cmath>
#include <vector>

using namespace actest;

namespace {

using C = ControllerConfiguration;

// The texts of one signal of the model, as the page would receive them.
struct MessageLog
{
    explicit MessageLog(ViewSourceTestModel& vm)
    {
        QObject::connect(&vm, &ViewSourceTestModel::sigUserMessage, &receiver,
                         [this](const QString& text) { texts << text; });
    }
    int count() const { return texts.size(); }
    QObject receiver;
    QStringList texts;
};

double entityRange(int p)
{
    QMutexLocker lock(&entity().entityLock);
    return entity().outputRanges[p];
}

} // namespace

TEST_F(AcModelTest, DefaultsFollowTheConfiguration)
{
    struct Row
    {
        C::PhasesType vol, cur;
    };
    for (const Row row : {Row{C::PHASES_TYPE_THREE, C::PHASES_TYPE_THREE}, Row{C::PHASES_TYPE_FOUR, C::PHASES_TYPE_FOUR},
                          Row{C::PHASES_TYPE_THREE, C::PHASES_TYPE_FOUR}}) {
        config->volPhasesType = row.vol;
        config->curPhasesType = row.cur;
        AcModel vm;
        const bool ux = row.vol == C::PHASES_TYPE_FOUR;
        const bool ix = row.cur == C::PHASES_TYPE_FOUR;
        const double ranges[8] = {57.735, 57.735, 57.735, ux ? 57.735 : 0.0, 1, 1, 1, ix ? 1.0 : 0.0};
        const double angles[8] = {0, 240, 120, 0, 0, 240, 120, 0};
        const double freqs[8] = {50, 50, 50, ux ? 50.0 : 0.0, 50, 50, 50, ix ? 50.0 : 0.0};
        for (int p = 0; p < 8; ++p) {
            EXPECT_EQ(vm.getOutputRange(port(p)), ranges[p]) << p;
            EXPECT_EQ(vm.getOutputAngle(port(p)), angles[p]) << p;
            EXPECT_EQ(vm.getOutputFrequency(port(p)), freqs[p]) << p;
            // The snapshot starts as the outputs.
            vm.setOutputRange(port(p), 3.0);
            vm.quickChange(port(p), true, 0.0, false);
            EXPECT_EQ(vm.getOutputRange(port(p)), ranges[p]) << p;
        }
        for (int g = 0; g < 16; ++g) {
            EXPECT_EQ(vm.endRampRanges[g], g < 8 ? 57.735 : 1.0);
            EXPECT_EQ(vm.endRampAngles[g], 360.0);
            EXPECT_EQ(vm.endRampFrequencies[g], 50.0);
        }
    }
    AcModel vm;
    EXPECT_EQ(vm.getTestState(), 0);
    EXPECT_EQ(vm.getRampStepValue(), 1.0);
    EXPECT_EQ(vm.getRampTimeValue(), 1.0);
    EXPECT_FALSE(vm.getAutoRampEnabled());
    EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_STOP);
    EXPECT_EQ(vm.getFaultActionPort(), 0);
    EXPECT_EQ(vm.getFaultActionItem(), VM::RAMP_ITEM_TYPE_RANGE);
    EXPECT_EQ(vm.getBeginRampValue(), 0.0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(vm.getOutputBIState(0, i), VM::AO_BI_STATE_ALL);
        EXPECT_EQ(vm.getOutputBOState(i), 0);
        EXPECT_FALSE(vm.isExistFaultActionValue(i));
    }
    EXPECT_EQ(vm.getOutputBILogic(0), VM::AO_BILOGIC_TYPE_OR);
    EXPECT_TRUE(vm.getExitEnabled());
}

TEST_F(AcModelTest, ArgumentsFromQmlAreChecked)
{
    AcModel vm;
    vm.testActive();
    for (int bad : {-1, 8, 1 << 20}) {
        vm.setOutputRange(port(bad), 99.0);
        vm.setOutputAngle(port(bad), 99.0);
        vm.setOutputFrequency(port(bad), 99.0);
        vm.setRateRange(port(bad));
        vm.setBalanceRange(port(bad));
        vm.setPositiveAngle(port(bad), true);
        vm.setRateFrequency(port(bad));
        vm.setBalanceFrequency(port(bad));
        vm.quickChange(port(bad), false, 1.0, true);
        EXPECT_EQ(vm.getOutputRange(port(bad)), 0.0);
        EXPECT_EQ(vm.getOutputAngle(port(bad)), 0.0);
        EXPECT_EQ(vm.getOutputFrequency(port(bad)), 0.0);
    }
    EXPECT_EQ(vm.getOutputRange(port(0)), 57.735);
    EXPECT_EQ(vm.getOutputAngle(port(1)), 240.0);

    for (int item : {-1, 3, 100})
        vm.setFaultActionItem(VM::RampItemType(item));
    vm.setFaultActionType(VM::FaultActionType(7));
    vm.setFaultActionPort(16);
    vm.setFaultActionPort(-1);
    EXPECT_EQ(vm.getFaultActionItem(), VM::RAMP_ITEM_TYPE_RANGE);
    EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_STOP);
    EXPECT_EQ(vm.getFaultActionPort(), 0);
    EXPECT_EQ(vm.getRampStepValue(), 1.0);

    vm.setOutputBIState(0, 4, 1);
    vm.setOutputBIState(0, -1, 1);
    vm.setOutputBIState(0, 2, 4);
    vm.setOutputBILogic(0, VM::AOBILogicType(2));
    vm.setOutputBOState(4, 1);
    vm.setOutputBOState(1, 5);
    EXPECT_EQ(vm.getOutputBIState(0, 2), VM::AO_BI_STATE_ALL);
    EXPECT_EQ(vm.getOutputBIState(0, 4), 0);
    EXPECT_EQ(vm.getOutputBILogic(0), VM::AO_BILOGIC_TYPE_OR);
    EXPECT_EQ(vm.getOutputBOState(1), 1);
    EXPECT_EQ(vm.getOutputBOState(-1), 0);

    deliverResults(vm, Record{0, 0.1, {57.7}}, Record{0, 0.2, {50.0}});
    for (int bad : {-1, 4, 99}) {
        EXPECT_FALSE(vm.isExistFaultActionValue(bad));
        EXPECT_EQ(vm.getFaultActionValue(bad), "");
        EXPECT_TRUE(std::isnan(vm.getFaultActionTime(bad)));
    }
}

TEST_F(AcModelTest, QuickSetKeysAndThePush)
{
    AcModel vm;
    vm.testActive();
    vm.setOutputAngle(port(0), 350.0);
    vm.setPositiveAngle(port(0), true);
    EXPECT_EQ(vm.getOutputAngle(port(1)), 230.0);
    EXPECT_EQ(vm.getOutputAngle(port(2)), 110.0);
    vm.setPositiveAngle(port(0), false);
    EXPECT_EQ(vm.getOutputAngle(port(1)), 110.0);
    EXPECT_EQ(vm.getOutputAngle(port(2)), 230.0);
    vm.setOutputAngle(port(5), 0.0);
    vm.setPositiveAngle(port(5), true);   // from IB: IA = +120, IC = -120
    EXPECT_EQ(vm.getOutputAngle(port(4)), 120.0);
    EXPECT_EQ(vm.getOutputAngle(port(6)), 240.0);

    vm.setOutputRange(port(3), 30.0);
    vm.setBalanceRange(port(3));
    for (int p = 0; p < 3; ++p)
        EXPECT_EQ(vm.getOutputRange(port(p)), 30.0);
    EXPECT_EQ(vm.getOutputRange(port(3)), 30.0);
    vm.setOutputRange(port(4), 2.0);
    vm.setRateRange(port(4));
    EXPECT_EQ(vm.getOutputRange(port(4)), 1.0);

    vm.setOutputFrequency(port(0), 60.0);
    vm.setBalanceFrequency(port(0));
    for (int p = 0; p < 8; ++p)
        EXPECT_EQ(vm.getOutputFrequency(port(p)), 60.0) << p;
    vm.setRateFrequency(port(7));
    EXPECT_EQ(vm.getOutputFrequency(port(7)), 50.0);
    EXPECT_EQ(config->rateFrequency, 50.0);

    // Every edit is in the engine's entity; amplitudes there are held to the device.
    vm.setOutputRange(port(1), 400.0);
    EXPECT_EQ(entityRange(0), 30.0);
    EXPECT_EQ(entityRange(1), 265.0);
    EXPECT_EQ(vm.getOutputRange(port(1)), 400.0);
}

TEST_F(AcModelTest, RampPortRowsFollowThePhaseTypes)
{
    struct Row
    {
        C::PhasesType vol, cur;
        std::vector<int> groups;   // the page's list, row by row
    };
    const Row rows[] = {
        {C::PHASES_TYPE_FOUR, C::PHASES_TYPE_FOUR, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {C::PHASES_TYPE_FOUR, C::PHASES_TYPE_THREE, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15}},
        {C::PHASES_TYPE_THREE, C::PHASES_TYPE_FOUR, {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {C::PHASES_TYPE_THREE, C::PHASES_TYPE_THREE, {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 12, 13, 14, 15}},
    };
    for (const Row& row : rows) {
        config->volPhasesType = row.vol;
        config->curPhasesType = row.cur;
        AcModel vm;
        for (int r = 0; r < int(row.groups.size()); ++r) {
            vm.setFaultActionPort(r);
            EXPECT_EQ(vm.faultActionPort, row.groups[size_t(r)]) << row.vol << row.cur << " row " << r;
            EXPECT_EQ(vm.getFaultActionPort(), r) << row.vol << row.cur << " row " << r;
        }
        vm.setFaultActionPort(int(row.groups.size()) + 5);   // no such row
        EXPECT_EQ(vm.faultActionPort, 15);
    }
}

TEST_F(AcModelTest, ManualStepHoldsOnlyTheSteppedPortsToTheirLimits)
{
    struct Row
    {
        const char* name;
        int row;   // list row (three-phase unit)
        VM::RampItemType item;
        double step;
        bool up;
        std::vector<std::pair<int, double>> before;   // port, value of the item
        std::vector<std::pair<int, double>> after;
    };
    const Row rows[] = {
        {"amplitude to 0", 6, VM::RAMP_ITEM_TYPE_RANGE, 1.0, false, {{0, 0.5}}, {{0, 0.0}, {1, 56.735}, {2, 56.735}, {4, 1.0}}},
        {"amplitude to the device limit, others as typed", 10, VM::RAMP_ITEM_TYPE_RANGE, 5.0, true, {{4, 8.0}, {0, 300.0}},
         {{4, 10.0}, {5, 6.0}, {6, 1.0}, {0, 300.0}}},
        {"angle folds past 360", 0, VM::RAMP_ITEM_TYPE_ANGLE, 5.0, true, {{0, 359.0}, {1, -120.0}},
         {{0, 4.0}, {1, -120.0}, {2, 120.0}}},
        {"angle folds below 0, group in its order", 5, VM::RAMP_ITEM_TYPE_ANGLE, 10.0, false, {{0, 5.0}, {2, 120.0}},
         {{0, 355.0}, {2, 110.0}, {1, 240.0}}},
        {"frequency to 1000, absent UX stays at 0 Hz", 0, VM::RAMP_ITEM_TYPE_FREQUENCY, 5.0, true, {{0, 999.0}},
         {{0, 1000.0}, {1, 50.0}, {3, 0.0}, {7, 0.0}}},
        {"frequency to 10", 1, VM::RAMP_ITEM_TYPE_FREQUENCY, 45.0, false, {}, {{1, 10.0}, {0, 50.0}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AcModel vm;
        vm.testActive();
        vm.setFaultActionPort(row.row);
        vm.setFaultActionItem(row.item);
        vm.setRampStepValue(row.step);
        const auto set = [&](int p, double v) {
            if (row.item == VM::RAMP_ITEM_TYPE_RANGE)
                vm.setOutputRange(port(p), v);
            else if (row.item == VM::RAMP_ITEM_TYPE_ANGLE)
                vm.setOutputAngle(port(p), v);
            else
                vm.setOutputFrequency(port(p), v);
        };
        const auto get = [&](int p) {
            return row.item == VM::RAMP_ITEM_TYPE_RANGE ? vm.getOutputRange(port(p))
                 : row.item == VM::RAMP_ITEM_TYPE_ANGLE ? vm.getOutputAngle(port(p))
                                                         : vm.getOutputFrequency(port(p));
        };
        for (const auto& [p, v] : row.before)
            set(p, v);
        const double untouched[2] = {vm.getOutputRange(port(7)), vm.getOutputFrequency(port(3))};
        ASSERT_TRUE(vm.quickChange(row.up));
        for (const auto& [p, v] : row.after)
            EXPECT_NEAR(get(p), v, 1e-9) << "port " << p;
        if (row.item != VM::RAMP_ITEM_TYPE_RANGE) {
            EXPECT_EQ(vm.getOutputRange(port(7)), untouched[0]);
        }
        if (row.item != VM::RAMP_ITEM_TYPE_FREQUENCY) {
            EXPECT_EQ(vm.getOutputFrequency(port(3)), untouched[1]);
        }
        QMutexLocker lock(&entity().entityLock);
        EXPECT_EQ(entity().outputAngles[0], vm.getOutputAngle(port(0)));
        EXPECT_EQ(entity().outputFrequencies[0], vm.getOutputFrequency(port(0)));
    }

    // Too hot and idle: no step.
    AcModel hot;
    hot.testingPowerT[2] = 60;
    EXPECT_FALSE(hot.quickChange(true));
    EXPECT_EQ(hot.getOutputRange(port(0)), 57.735);
}

TEST_F(AcModelTest, AutoRampIsHandedOverOnlyWhenItCanRun)
{
    struct Row
    {
        const char* name;
        int row;
        std::vector<std::pair<int, double>> before;
        double end, step, time;
        bool up;
        bool accepted;
    };
    const Row rows[] = {
        {"up to the end", 0, {}, 100.0, 1.0, 2.0, true, true},
        {"down to the end", 0, {}, 0.0, 1.0, 2.0, false, true},
        {"already at the end", 0, {}, 57.735, 1.0, 2.0, true, true},
        {"up with the end below", 0, {}, 10.0, 1.0, 2.0, true, false},
        {"down with the end above", 0, {}, 100.0, 1.0, 2.0, false, false},
        {"group on both sides of the end", 6, {{0, 50.0}, {1, 60.0}}, 55.0, 1.0, 2.0, true, false},
        {"step 0", 0, {}, 100.0, 0.0, 2.0, true, false},
        {"negative step", 0, {}, 100.0, -1.0, 2.0, true, false},
        {"time 0", 0, {}, 100.0, 1.0, 0.0, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AcModel vm;
        vm.testActive();
        MessageLog messages(vm);
        vm.setAutoRampEnabled(true);
        vm.setFaultActionPort(row.row);
        for (const auto& [p, v] : row.before)
            vm.setOutputRange(port(p), v);
        vm.setEndRampValue(row.end);
        vm.setRampStepValue(row.step);
        vm.setRampTimeValue(row.time);
        {
            QMutexLocker lock(&entity().entityLock);
            entity().actionRampFactor = 7;
            entity().endRampValue = -7.0;
        }
        const double ua = vm.getOutputRange(port(0));
        EXPECT_EQ(vm.quickChange(row.up), row.accepted);
        EXPECT_EQ(vm.getOutputRange(port(0)), ua);
        QMutexLocker lock(&entity().entityLock);
        if (row.accepted) {
            EXPECT_EQ(entity().actionRampFactor, row.up ? 1 : -1);
            EXPECT_EQ(entity().endRampValue, row.end);
            EXPECT_EQ(messages.count(), 0);
        } else {
            EXPECT_EQ(entity().actionRampFactor, 7);
            EXPECT_EQ(entity().endRampValue, -7.0);
            ASSERT_EQ(messages.count(), 1);
            EXPECT_FALSE(vm.getUserMessage().isEmpty());
            EXPECT_EQ(messages.texts.at(0), vm.getUserMessage());
        }
    }

    // A start runs only a ramp that was handed over and still fits: not
    // before a "+" or "-", not after a refused one (the engine still holds
    // the one before), not with the outputs moved past the end value.
    AcModel vm;
    vm.testActive();
    vm.setAutoRampEnabled(true);
    vm.setEndRampValue(100.0);
    const auto refusedStart = [&] {
        vm.clearUserMessage();
        return !vm.testStart() && !vm.getUserMessage().isEmpty() && vm.getExitEnabled();
    };
    EXPECT_TRUE(refusedStart());
    ASSERT_TRUE(vm.quickChange(true));
    ASSERT_FALSE(vm.quickChange(false));
    EXPECT_TRUE(refusedStart());
    ASSERT_TRUE(vm.quickChange(true));
    vm.setOutputRange(port(0), 120.0);
    EXPECT_TRUE(refusedStart());

    // The ramp handed over goes with every push of the settings: what a PC's
    // record left in the entity meanwhile never plays from the page.
    vm.setOutputRange(port(0), 57.735);
    ASSERT_TRUE(vm.quickChange(true));
    {
        QMutexLocker lock(&entity().entityLock);
        entity().actionRampFactor = -1;
        entity().endRampValue = 20.0;
    }
    vm.updateVMToEnt(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    QMutexLocker lock(&entity().entityLock);
    EXPECT_EQ(entity().actionRampFactor, 1);
    EXPECT_EQ(entity().endRampValue, 100.0);
}

TEST_F(AcModelTest, ManualModeKnowsOnlyStopAndContinue)
{
    AcModel vm;
    vm.setFaultActionType(VM::ACTION_TYPE_RETURN);
    EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_CONTINUE);
    vm.setFaultActionType(VM::ACTION_TYPE_STOP);
    EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_STOP);
    vm.setAutoRampEnabled(true);
    vm.setFaultActionType(VM::ACTION_TYPE_RETURN);
    EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_RETURN);
    vm.setAutoRampEnabled(false);
    EXPECT_EQ(vm.getFaultActionType(), VM::ACTION_TYPE_CONTINUE);
}

TEST_F(AcModelTest, ResultTextsAndTheReturnCoefficient)
{
    struct Row
    {
        const char* name;
        int row;
        VM::RampItemType item;
        Record action, back;
        const char* actionText;
        const char* returnText;
        const char* factor;
    };
    const Row rows[] = {
        {"pair", 3, VM::RAMP_ITEM_TYPE_RANGE, {0, 0.25, {57.7, 57.7}}, {}, "57.700; 57.700 V", "NaN; NaN V", ""},
        {"current with return", 7, VM::RAMP_ITEM_TYPE_RANGE, {1, 0.5, {100.0}}, {1, 1.5, {95.0}}, "100.000 A",
         "95.000 A", "0.950"},
        {"from 1000 one decimal", 0, VM::RAMP_ITEM_TYPE_FREQUENCY, {0, 0.1, {1234.56}}, {}, "1234.6 Hz", "NaN Hz", ""},
        {"angle", 13, VM::RAMP_ITEM_TYPE_ANGLE, {2, 0.1, {10, 20, 30}}, {2, 0.2, {5, 10, 15}}, "10.000; 20.000; 30.000 °",
         "5.000; 10.000; 15.000 °", "0.500; 0.500; 0.500"},
        {"zero action value", 6, VM::RAMP_ITEM_TYPE_RANGE, {0, 0.1, {100.0, 50.0, 0.0}}, {0, 0.2, {95.0, 25.0, 3.0}},
         "100.000; 50.000; 0.000 V", "95.000; 25.000; 3.000 V", "0.950; 0.500; 0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AcModel vm;
        vm.testActive();
        vm.setAutoRampEnabled(true);
        vm.setFaultActionPort(row.row);
        vm.setFaultActionItem(row.item);
        deliverResults(vm, row.action, row.back);
        EXPECT_EQ(vm.getTestState(), 1);
        EXPECT_EQ(vm.getFaultActionValue(0), QString::fromUtf8(row.actionText));
        EXPECT_EQ(vm.getFaultActionValue(1), QString::fromUtf8(row.returnText));
        EXPECT_EQ(vm.getFaultActionFactor(), row.factor);
        EXPECT_EQ(vm.getFaultActionTime(0), row.action.time);
        EXPECT_EQ(vm.isExistFaultActionValue(1), row.back.bi >= 0);

        // A notice without a binary input leaves the records.
        deliverResults(vm, Record{}, Record{});
        EXPECT_EQ(vm.getFaultActionValue(0), QString::fromUtf8(row.actionText));
    }
}

TEST_F(AcModelTest, AChangedGroupOrItemClearsTheResult)
{
    AcModel vm;
    vm.testActive();
    deliverResults(vm, Record{0, 0.25, {57.7}});
    ASSERT_EQ(vm.getFaultActionValue(0), "57.700 V");
    vm.setFaultActionItem(VM::RAMP_ITEM_TYPE_RANGE);   // the same item
    EXPECT_TRUE(vm.isExistFaultActionValue(0));
    vm.setFaultActionItem(VM::RAMP_ITEM_TYPE_FREQUENCY);
    EXPECT_FALSE(vm.isExistFaultActionValue(0));
    EXPECT_EQ(vm.getTestState(), 0);
    EXPECT_EQ(vm.getFaultActionValue(0), "NaN Hz");
    EXPECT_TRUE(std::isnan(vm.faultActionTimes[0]));

    deliverResults(vm, Record{0, 0.25, {50.0}});
    vm.setFaultActionPort(1);
    EXPECT_FALSE(vm.isExistFaultActionValue(0));
    EXPECT_EQ(vm.getFaultActionValue(0), "NaN Hz");
}

TEST_F(AcModelTest, AStopThisPageDidNotStartRestoresNothing)
{
    AcModel vm;
    vm.testActive();
    QList<int> updates;
    QObject::connect(&vm, &ViewBaseModel::sigUpdateDataToView, [&](int type, int) { updates << type; });
    ControllerRuntime* rt = center->testRuntime;
    const auto report = [&](int running) {
        rt->dataLock();
        rt->STATE[ViewBaseModel::STATE_TYPE_RUNNING] = running;
        rt->dataUnlock();
        vm.updateEntToVM(ViewBaseModel::DATA_TYPE_RT_STATE, ViewBaseModel::STATE_TYPE_RUNNING, false);
    };
    vm.setOutputRange(port(0), 10.0);
    deliverResults(vm, Record{0, 0.5, {10.0}});
    // Run-state reports the page hears of without a start of its own.
    report(1);
    EXPECT_EQ(vm.getTestState(), -1);
    EXPECT_FALSE(vm.isExistFaultActionValue(0));
    vm.setOutputRange(port(0), 11.0);
    report(0);
    EXPECT_EQ(vm.getOutputRange(port(0)), 11.0);
    EXPECT_EQ(vm.getTestState(), 0);
    EXPECT_EQ(entityRange(0), 11.0);
    EXPECT_TRUE(updates.contains(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA));
}

TEST_F(AcModelTest, CalcTakesTheFaultStateOrSaysWhyNot)
{
    BaseModelDataDistance* distance = BaseModelDataDistance::getInstance();
    const BaseModelDataDistance saved(*distance);
    AcModel vm;
    vm.testActive();
    vm.setOutputRange(port(7), 0.5);
    distance->distanceKind = BaseModelDataDistance::DISTANCE_TYPE_ICONSTANT;
    distance->faultKind = BaseModelDataDistance::FAULT_TYPE_A_E;
    distance->faultCurrentRange = 5.0;
    distance->shortImpedance = BaseDataVector(2.0, 75.0);
    BaseModelDataDistance copy(*distance);
    BaseDataPhaseValue expected[8];
    ASSERT_TRUE(copy.compute(expected));
    ASSERT_TRUE(vm.doComputerDistance());
    for (int p = 0; p < 8; ++p) {
        EXPECT_NEAR(vm.getOutputRange(port(p)), expected[p].getRange(), 1e-9) << p;
        EXPECT_NEAR(vm.getOutputAngle(port(p)), expected[p].getAngle(), 1e-9) << p;
        EXPECT_EQ(entityRange(p), std::min(vm.getOutputRange(port(p)), p < 4 ? 265.0 : 10.0)) << p;
    }
    EXPECT_NEAR(vm.getOutputRange(port(4)), 5.0, 1e-9);
    EXPECT_EQ(vm.getOutputFrequency(port(0)), 50.0);

    // A constant voltage on a zero loop cannot be calculated: nothing changes.
    MessageLog messages(vm);
    distance->distanceKind = BaseModelDataDistance::DISTANCE_TYPE_VCONSTANT;
    distance->faultVoltageRange = 10.0;
    distance->shortImpedance = BaseDataVector(0.0, 75.0);
    const double ua = vm.getOutputRange(port(0));
    EXPECT_FALSE(vm.doComputerDistance());
    EXPECT_EQ(vm.getOutputRange(port(0)), ua);
    EXPECT_EQ(messages.count(), 1);
    EXPECT_FALSE(vm.getUserMessage().isEmpty());
    distance->setValue(saved);
}

TEST_F(AcModelTest, DeviceConfigGivesTheFaultModelItsCurrentLimit)
{
    AcModel vm;
    config->maxIRange = 32.0;
    config->maxVRange = 130.0;
    vm.updateDeviceConfig();
    BaseModelDataDistance* distance = BaseModelDataDistance::getInstance();
    EXPECT_EQ(distance->limitCurrentRange, 32.0);
    EXPECT_EQ(distance->limitVoltageRange, 130.0);
    EXPECT_EQ(distance->rateVoltage, config->rateVoltage);
    config->maxIRange = 10.0;
    config->maxVRange = 265.0;
    vm.updateDeviceConfig();
}

TEST_F(AcModelTest, QmlCallsTheModelsOwnMethods)
{
    AcModel vm;
    vm.testActive();
    QQmlEngine engine;
    engine.rootContext()->setContextProperty("m", &vm);
    const auto eval = [&](const char* js) {
        QQmlExpression expression(engine.rootContext(), nullptr, QString::fromLatin1(js));
        const QVariant value = expression.evaluate();
        EXPECT_FALSE(expression.hasError()) << js << ": " << expression.error().toString().toStdString();
        return value;
    };
    // The port key, not the device setting of the same name.
    eval("m.setOutputFrequency(0, 40.0)");
    eval("m.setRateFrequency(0)");
    EXPECT_EQ(vm.getOutputFrequency(port(0)), 50.0);
    EXPECT_EQ(config->rateFrequency, 50.0);
    // The step by name and argument count.
    eval("m.setRampStepValue(2.0)");
    EXPECT_TRUE(eval("m.quickChange(true)").toBool());
    EXPECT_NEAR(vm.getOutputRange(port(0)), 59.735, 1e-9);
    eval("m.quickChange(0, true, 0, false)");
    EXPECT_EQ(vm.getOutputRange(port(0)), 57.735);
    // The page's start is the checked one.
    vm.setAutoRampEnabled(true);
    vm.setEndRampValue(0.0);
    eval("m.quickChange(false)");
    vm.setOutputRange(port(0), -5.0);
    vm.clearUserMessage();
    EXPECT_FALSE(eval("m.testStart()").toBool());
    EXPECT_FALSE(vm.getUserMessage().isEmpty());
    EXPECT_EQ(eval("m.getFaultActionValue(9)").toString(), "");
}

// A start the model holds back before asking the engine says why.
TEST_F(AcModelTest, AStartHeldBackBeforeTheEngineSaysWhy)
{
    const bool wasInitialised = config->initDriverEnable.load();
    const quint32 resume = config->tempThresholdResume;
    const struct {
        bool initialised;
        quint32 resume;   // 0: the power stage counts as too hot
        const char* message;
    } rows[] = {{false, resume, "设备未初始化"}, {true, 0, "功放温度过高，请待其冷却后再开始试验。"}};
    for (const auto& row : rows) {
        AcModel vm;
        MessageLog messages(vm);
        config->initDriverEnable = row.initialised;
        config->tempThresholdResume = row.resume;
        EXPECT_FALSE(vm.testStart()) << row.message;
        EXPECT_EQ(messages.texts, QStringList{QString::fromUtf8(row.message)});
        EXPECT_TRUE(vm.getExitEnabled());
    }
    config->initDriverEnable = wasInitialised;
    config->tempThresholdResume = resume;
}
