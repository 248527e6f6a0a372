// Both load-shedding models without an instrument: what reaches the entity
// per item, the list rules, the texts of the points, the port display and
// the values from QML that do not belong to the model.

#include "LoadSheddingModelSupport.h"

#include <limits>
#include <vector>

using namespace lstest;

namespace {

using VB = ViewBaseModel;
constexpr double S = 777.0;   // sentinel: the entity's field was not written

// A model whose edit point has the item and the settings 10 + their order.
std::unique_ptr<ViewLoadSheddingModel> numbered(bool voltage, int item)
{
    std::unique_ptr<ViewLoadSheddingModel> vm = makeModel(voltage);
    for (int s = 0; s < ViewLoadSheddingModel::kMaxSettings; ++s)
        Probe::set(*vm, s, 10.0 + s);
    // The timing value on the slide (10 … 11), as a page takes it.
    Probe::set(*vm, ViewLoadSheddingModel::SLIDE_TIMING, 10.5);
    vm->setActiveTestItem(item);
    return vm;
}

// Point 0 of an entity: ramp begin, end, step, slip, slide start, stop,
// timing value; then the fields every point shares. value != 0: fills them.
template <typename E>
std::vector<double> entityPoint(E& e, double* starts, double* stops, double* timings, double value = 0.0)
{
    QMutexLocker lock(&e.entityLock);
    double* fields[] = {&e.rampBeginValues[0], &e.rampEndValues[0], &e.rampStepValues[0], &e.slipValue[0],
                        starts, stops, timings, &e.normalTime, &e.holdTime, &e.intervalTime, &e.maxVoltage,
                        &e.maxCurrent, &e.rateCurrent, &e.normalOutputAngles[5], &e.intervalOutputRanges[2]};
    std::vector<double> values{double(e.pointCnt), double(e.testItemType[0])};
    for (double* f : fields) {
        if (value != 0.0)
            *f = value;
        values.push_back(*f);
    }
    return values;
}

std::vector<double> entityPoint(bool voltage, double value = 0.0)
{
    ModelSlipFrequencyEntity& f = frequencyEntity();
    ModelSlipVoltageEntity& v = voltageEntity();
    return voltage ? entityPoint(v, v.initVoltageVal, v.finalVoltageVal, v.clkVoltageVal, value)
                   : entityPoint(f, f.initFrequencyVal, f.finalFrequencyVal, f.clkFrequencyVal, value);
}

} // namespace

// Each item writes exactly the fields of its row; the others keep the sentinel.
TEST_F(LoadSheddingModelTest, TransferWritesEachItemsFieldsOnly)
{
    config->maxVRange = 130.0;
    config->maxIRange = 25.0;
    struct Row
    {
        bool voltage;
        int item;
        std::vector<double> fields;
    };
    const Row rows[] = {
        {false, UF::ITEM_ACTION_FREQUENCY, {10, 11, 12, 13, S, S, S}},
        {false, UF::ITEM_ACTION_TIME, {0, 0, S, 13, 10, 11, 10.5}},
        {false, UF::ITEM_FREQUENCY_SLIP, {18, 19, 20, S, 10, 11, S}},
        {false, UF::ITEM_LOW_I_LOCK, {21, 22, 23, 13, 10, 11, S}},
        {false, UF::ITEM_V_LOCK, {15, 16, 17, 13, 10, 11, S}},
        {true, UV::ITEM_ACTION_VOLTAGE, {10, 11, 12, 13, S, S, S}},
        {true, UV::ITEM_ACTION_TIME, {0, 0, S, 13, 10, 11, 10.5}},
        {true, UV::ITEM_VOLTAGE_SLIP, {15, 16, 17, S, 10, 11, S}},
        {true, UV::ITEM_LOW_I_LOCK, {18, 19, 20, 13, 10, 11, S}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << (row.voltage ? "UV " : "UF ") << row.item);
        entityPoint(row.voltage, S);
        std::unique_ptr<ViewLoadSheddingModel> vm = numbered(row.voltage, row.item);
        vm->testActive();
        vm->setPreFaultTime(1.5);
        vm->setHoldTime(2.5);
        vm->setAfterFaultTime(3.5);
        vm->setNormalOutput(VB::AO_ITEM_TYPE_ANGLE, VB::AO_PORT_TYPE_IB, 33.0);
        vm->setIntervalOutput(VB::AO_ITEM_TYPE_RANGE, VB::AO_PORT_TYPE_UC, 44.0);
        vm->addPoint();
        vm->updateVMToEnt(VB::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
        std::vector<double> expected{1, double(row.item)};
        expected.insert(expected.end(), row.fields.begin(), row.fields.end());
        expected.insert(expected.end(), {1.5, 2.5, 3.5, 130, 25, 1, 33, 44});
        EXPECT_EQ(entityPoint(row.voltage), expected);
    }
}

// Capacity, what a removal selects, clearing, a bad selection, what reaches
// the entity, when "Start" is offered.
TEST_F(LoadSheddingModelTest, ListRules)
{
    for (bool voltage : {false, true}) {
        SCOPED_TRACE(voltage ? "UV" : "UF");
        const int capacity = voltage ? 32 : 8;
        std::unique_ptr<ViewLoadSheddingModel> model = makeModel(voltage);
        ViewLoadSheddingModel& vm = *model;
        vm.testActive();
        EXPECT_FALSE(vm.getStartEnabled());
        EXPECT_FALSE(vm.testStart());
        for (int i = 0; i <= capacity; ++i) {
            Probe::set(vm, 0, 100.0 + i);
            vm.addPoint();
        }
        EXPECT_TRUE(vm.getStartEnabled());
        EXPECT_EQ(vm.getPointsCount(), capacity);
        EXPECT_EQ(vm.getActiveIndex(), capacity - 1);
        while (vm.getPointsCount() > 3)
            vm.removePoint(vm.getPointsCount() - 1);
        EXPECT_EQ(entityPoint(voltage)[0], 3.0);
        // The last point removed: the one before is selected and edited.
        EXPECT_EQ(vm.getActiveIndex(), 2);
        EXPECT_EQ(Probe::edit(vm).settings[0], 102.0);
        // A middle point: the index stays, now naming the next point, not copied.
        vm.setActiveIndex(1);
        vm.removePoint(1);
        EXPECT_EQ(vm.getActiveIndex(), 1);
        EXPECT_EQ(Probe::at(vm, 1).settings[0], 102.0);
        EXPECT_EQ(Probe::edit(vm).settings[0], 101.0);
        vm.removePoint(2);
        vm.removePoint(-1);
        EXPECT_EQ(vm.getPointsCount(), 2);
        vm.setActiveIndex(2);
        EXPECT_EQ(vm.getActiveIndex(), 0);
        vm.clearPoint();
        EXPECT_EQ(vm.getActiveIndex(), -1);
        EXPECT_EQ(Probe::edit(vm).settings[0], 101.0);
        EXPECT_EQ(entityPoint(voltage)[0], 0.0);
    }
}

TEST_F(LoadSheddingModelTest, PointTexts)
{
    struct Row
    {
        bool voltage;
        int item;
        double begin, end, timing, rate, value, trip;
        const char *name, *valueText, *timeText;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const int time = ViewLoadSheddingModel::kItemActionTime;
    const Row rows[] = {
        // Timed from 49 Hz on 50 -> 45 Hz at 0.1 Hz/s: 10 s after the start.
        {false, time, 50, 45, 49, 0.1, -1, 10.35, "动作时间", "---", "350.000ms"},
        {false, time, 50, 45, 49, 0.1, -1, 12.5, "动作时间", "---", "2.500s"},
        {false, time, 50, 45, 49, 0.1, -1, 9.0, "动作时间", "---", "失败：提前1.000s"},
        {false, time, 50, 45, 49, 0.1, -1, nan, "动作时间", "---", "未动作"},
        {false, time, 50, 45, 51, 0.1, -1, 12.5, "动作时间", "---", "未动作"},
        {false, time, 50, 45, 49, 0.0, -1, 10.35, "动作时间", "---", "10.350s"},
        {true, time, 57.735, 30, 49, 0.1, -1, 87.5, "动作时间", "---", "150.000ms"},
        {false, UF::ITEM_ACTION_FREQUENCY, 50, 45, 0, 1, 48.7, 3, "动作频率", "48.700Hz", "---"},
        {false, UF::ITEM_FREQUENCY_SLIP, 50, 45, 0, 1, 48.7, 3, "频率滑差", "48.700Hz/s", "---"},
        {false, UF::ITEM_LOW_I_LOCK, 50, 45, 0, 1, 48.7, 3, "低流闭锁", "48.700A", "---"},
        {false, UF::ITEM_V_LOCK, 50, 45, 0, 1, 48.7, 3, "电压闭锁", "48.700V", "---"},
        {true, UV::ITEM_ACTION_VOLTAGE, 50, 45, 0, 1, 48.7, 3, "动作电压", "48.700V", "---"},
        {true, UV::ITEM_VOLTAGE_SLIP, 50, 45, 0, 1, 48.7, 3, "电压滑差", "48.700V/s", "---"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.valueText << " " << row.rate << " " << row.trip);
        std::unique_ptr<ViewLoadSheddingModel> vm = makeModel(row.voltage);
        // The timing value set on the point, as a file may hold one that Add refuses.
        add(*vm, row.item, row.begin, row.end, 0.0, row.rate, row.begin);
        Probe::at(*vm, 0).settings[ViewLoadSheddingModel::SLIDE_TIMING] = row.timing;
        setResult(*vm, 0, VB::AO_STATE_TYPE_COMPLETED, row.value, row.trip);
        EXPECT_EQ(vm->getTestItemName(0), vmtest::utf8(row.name));
        EXPECT_EQ(vm->getActionValueStr(0), row.valueText);
        EXPECT_EQ(vm->getActionTimeStr(0), vmtest::utf8(row.timeText));
        EXPECT_EQ(vm->getActionTimeStr(1), "");
        EXPECT_EQ(vm->getActionTime(1), -1.0);
    }
}

// An action-time point whose slide never passes its timing value, just past
// either end, is refused at Add and at Start, naming it, in both modules.
TEST_F(LoadSheddingModelTest, ActionTimePointsWhoseSlideMissesTheTimingValueAreRefused)
{
    using M = ViewLoadSheddingModel;
    for (bool voltage : {false, true}) {
        SCOPED_TRACE(voltage ? "UV" : "UF");
        std::unique_ptr<ViewLoadSheddingModel> vm = numbered(voltage, M::kItemActionTime);
        vm->addPoint();
        ASSERT_EQ(vm->getPointsCount(), 1);
        EXPECT_TRUE(vm->getUserMessage().isEmpty()) << qPrintable(vm->getUserMessage());
        for (double timing : {9.999, 11.001}) {
            Probe::set(*vm, M::SLIDE_TIMING, timing);
            vm->addPoint();
            EXPECT_EQ(vm->getPointsCount(), 1);
            EXPECT_TRUE(vm->getUserMessage().startsWith(QString::fromUtf8("该点："))) << qPrintable(vm->getUserMessage());
            Probe::at(*vm, 0).settings[M::SLIDE_TIMING] = timing;
            EXPECT_FALSE(vm->testStart());
            EXPECT_TRUE(vm->getUserMessage().startsWith(QString::fromUtf8("第1点："))) << qPrintable(vm->getUserMessage());
        }
    }
}

// Ports UA UB UC UX IA IB IC IX of the edit point and one outside the
// order; an item outside the enumeration keeps the current item.
TEST_F(LoadSheddingModelTest, PortDisplayAndValuesOutsideTheModel)
{
    struct Row
    {
        bool voltage;
        int item;
        std::vector<double> ranges;
    };
    const Row rows[] = {
        {false, UF::ITEM_ACTION_FREQUENCY, {57.735, 57.735, 57.735, 0, 0, 0, 0, 0, 0}},
        {false, UF::ITEM_V_LOCK, {15, 15, 15, 0, 0, 0, 0, 0, 0}},
        {false, UF::ITEM_LOW_I_LOCK, {57.735, 57.735, 57.735, 0, 21, 21, 21, 21, 0}},
        {true, UV::ITEM_ACTION_TIME, {10, 10, 10, 0, 0, 0, 0, 0, 0}},
        {true, UV::ITEM_LOW_I_LOCK, {10, 10, 10, 0, 18, 18, 18, 18, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << (row.voltage ? "UV " : "UF ") << row.item);
        std::unique_ptr<ViewLoadSheddingModel> vm = numbered(row.voltage, row.item);
        for (int bad : {-1, row.voltage ? 4 : 5})
            vm->setActiveTestItem(bad);
        EXPECT_EQ(vm->getActiveTestItem(), row.item);
        std::vector<double> ranges;
        for (int port = 0; port <= 8; ++port)
            ranges.push_back(vm->getOutputRange(port));
        EXPECT_EQ(ranges, row.ranges);
        EXPECT_EQ(vm->getOutputAngle(8), 0.0);
        // Under voltage selecting a point never changes the angles shown.
        vm->addPoint();
        Probe::at(*vm, 0).outputAngles[1] = 7.0;
        vm->setActiveIndex(0);
        EXPECT_EQ(vm->getOutputAngle(1), row.voltage ? 240.0 : 7.0);
    }

    // Ratings of an older settings file beyond the device (300 V, 20 A): the
    // ports show, and the entity's low-current lock takes, them held to it.
    const double volts = config->rateVoltage;
    const double amps = config->rateCurrent;
    config->rateVoltage = 300.0;
    config->rateCurrent = 20.0;
    std::unique_ptr<ViewLoadSheddingModel> uf = makeModel(false);
    uf->setActiveTestItem(UF::ITEM_ACTION_TIME);
    EXPECT_EQ(uf->getOutputRange(0), config->maxVRange);
    for (bool voltage : {false, true}) {
        SCOPED_TRACE(voltage ? "UV" : "UF");
        std::unique_ptr<ViewLoadSheddingModel> vm = makeModel(voltage);
        vm->testActive();
        vm->setActiveTestItem(ViewLoadSheddingModel::kItemLowCurrent);
        vm->addPoint();
        vm->updateVMToEnt(VB::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
        EXPECT_EQ(entityPoint(voltage).at(14), config->maxIRange);   // rateCurrent
    }
    config->rateVoltage = volts;
    config->rateCurrent = amps;
}
