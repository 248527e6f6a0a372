// The power-swing view model without an instrument: the group list by phase
// configuration, the swing limit, the quick-set keys, what reaches the
// entity, the result texts and when a result is cleared.

#include "OscillateModelSupport.h"

#include <set>
#include <string>
#include <vector>

using namespace osctest;

TEST_F(OscModelTest, GroupListRowsByPhaseConfigurationRoundTrip)
{
    struct Case
    {
        bool volFour, curFour;
        int rows;
        std::vector<std::pair<int, int>> rowToGroup;
    };
    const Case cases[] = {
        {true, true, 16, {{3, VM::RAMP_PORT_TYPE_UX}, {10, VM::RAMP_PORT_TYPE_IC}, {14, VM::RAMP_PORT_TYPE_ICIA}}},
        {true, false, 15, {{11, VM::RAMP_PORT_TYPE_IAIB}, {14, VM::RAMP_PORT_TYPE_IAIBIC}}},
        {false, true, 15, {{3, VM::RAMP_PORT_TYPE_UAUB}, {10, VM::RAMP_PORT_TYPE_IX}, {14, VM::RAMP_PORT_TYPE_IAIBIC}}},
        {false, false, 14, {{3, VM::RAMP_PORT_TYPE_UAUB}, {10, VM::RAMP_PORT_TYPE_IAIB}, {13, VM::RAMP_PORT_TYPE_IAIBIC}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.volFour) + std::to_string(c.curFour));
        phases(c.volFour, c.curFour);
        OscModel vm;
        for (const auto& [row, group] : c.rowToGroup) {
            vm.setOscillatePort(row);
            EXPECT_EQ(vm.oscillatePort, group) << row;
        }
        std::set<int> groups;
        for (int row = 0; row < c.rows; ++row) {
            vm.setOscillatePort(row);
            EXPECT_EQ(vm.getOscillatePort(), row);
            groups.insert(vm.oscillatePort);
        }
        EXPECT_EQ(int(groups.size()), c.rows);
        EXPECT_EQ(groups.count(VM::RAMP_PORT_TYPE_UX), c.volFour ? 1u : 0u);
        EXPECT_EQ(groups.count(VM::RAMP_PORT_TYPE_IX), c.curFour ? 1u : 0u);
        vm.setOscillatePort(1);
        for (int row : {-1, 16})
            vm.setOscillatePort(row);
        EXPECT_EQ(vm.oscillatePort, VM::RAMP_PORT_TYPE_UB);
    }
}

TEST_F(OscModelTest, PercentMaximumFollowsTheHeadroomAndLowersTheStoredPercent)
{
    struct Case
    {
        const char* name;
        int row;   // three-phase unit
        std::vector<std::pair<int, double>> ranges;
        double storedPercent, maximum, percentAfter;
    };
    const Case cases[] = {
        {"UA 57.735 V: 107.8 capped at 100", 0, {{0, 57.735}}, 10.0, 100.0, 10.0},
        {"UA 100 V: 20, 30 % lowered", 0, {{0, 100.0}}, 30.0, 20.0, 20.0},
        {"an amplitude of 0 sets no limit", 0, {{0, 0.0}}, 50.0, 100.0, 50.0},
        {"a pair: the zero channel sets none", 3, {{0, 100.0}, {1, 0.0}}, 30.0, 20.0, 20.0},
        {"above the device maximum: no room", 0, {{0, 130.0}}, 10.0, 0.0, 0.0},
        {"the tightest current of three", 13, {{4, 5.0}, {5, 8.0}, {6, 2.0}}, 90.0, 25.0, 25.0},
    };
    config->maxVRange = 120.0;
    config->maxIRange = 10.0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OscModel vm;
        vm.setOscillatePort(c.row);
        for (const auto& [p, value] : c.ranges)
            vm.setOutputRange(port(p), value);
        vm.setOscillatePercent(c.storedPercent);
        EXPECT_NEAR(vm.getOscillatePercentMax(), c.maximum, 1e-9);
        EXPECT_NEAR(vm.getOscillatePercent(), c.percentAfter, 1e-9);
        QMutexLocker lock(&entity().entityLock);
        EXPECT_NEAR(entity().oscillatePercent, c.percentAfter / 100.0, 1e-12);
    }
}

TEST_F(OscModelTest, QuickKeysAndPortsOutsideTheTable)
{
    struct Case
    {
        int port;
        double angle;
        bool pos;
        double b, c;   // the two other phases (UB, UC or IB, IC)
    };
    const Case cases[] = {
        {0, 0.0, true, 240.0, 120.0},
        {0, 0.0, false, 120.0, 240.0},
        {0, -30.0, true, 210.0, 90.0},
        {4, 10.0, true, 250.0, 130.0},
    };
    for (const Case& c : cases) {
        OscModel vm;
        vm.setOutputAngle(port(c.port), c.angle);
        vm.setPositiveAngle(port(c.port), c.pos);
        EXPECT_DOUBLE_EQ(vm.getOutputAngle(port(c.port + 1)), c.b) << c.port << c.angle << c.pos;
        EXPECT_DOUBLE_EQ(vm.getOutputAngle(port(c.port + 2)), c.c) << c.port << c.angle << c.pos;
    }
    phases(true, true);
    OscModel vm;
    vm.setOutputRange(port(3), 30.0);
    vm.setBalanceRange(port(3));
    for (int p : {0, 1, 2, 3})
        EXPECT_EQ(vm.getOutputRange(port(p)), 30.0) << p;

    // A port outside the table changes nothing and reads 0.
    for (int bad : {-1, 8}) {
        vm.setOutputRange(port(bad), 1.0);
        vm.setOutputAngle(port(bad), 1.0);
        vm.setOutputFrequency(port(bad), 1.0);
        vm.setRateRange(port(bad));
        vm.setBalanceRange(port(bad));
        vm.setPositiveAngle(port(bad), true);
        vm.setBalanceFrequency(port(bad));
        EXPECT_EQ(vm.getOutputRange(port(bad)), 0.0);
        EXPECT_EQ(vm.getOutputAngle(port(bad)), 0.0);
        EXPECT_EQ(vm.getOutputFrequency(port(bad)), 0.0);
    }
    EXPECT_EQ(vm.getOutputRange(port(0)), 30.0);
    EXPECT_EQ(vm.getOutputFrequency(port(0)), 50.0);
}

TEST_F(OscModelTest, EveryEditReachesTheEntityTheSwingAngleIncluded)
{
    config->maxVRange = 120.0;
    OscModel vm;
    // A new model: swing angle 0, no result, the no-trip state.
    EXPECT_EQ(vm.getOscillateAngle(), 0.0);
    EXPECT_EQ(vm.getTestState(), 0);
    EXPECT_FALSE(vm.isExistFaultActionValue());

    vm.setOscillatePort(8);   // IB on a three-phase unit
    vm.setOscillatePercent(12.5);
    vm.setOscillateFrequency(1.5);
    vm.setOscillateAngle(30.0);
    vm.setOutputRange(port(0), 400.0);
    {
        QMutexLocker lock(&entity().entityLock);
        EXPECT_EQ(entity().oscillatePort, ModelEntity::RAMP_PORT_TYPE_IB);
        EXPECT_EQ(entity().oscillatePercent, 0.125);
        EXPECT_EQ(entity().oscillateFrequency, 1.5);
        EXPECT_EQ(entity().oscillateAngle, 30.0);
        EXPECT_EQ(entity().outputRanges[0], 120.0);
    }
    // The clamped amplitude comes back with the next output notice.
    vm.updateEntToVM(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    EXPECT_EQ(vm.getOutputRange(port(0)), 120.0);
    // A swing of 0 Hz would be a DC offset: not taken.
    vm.setOscillateFrequency(0.0);
    EXPECT_EQ(vm.getOscillateFrequency(), 1.5);
}

TEST_F(OscModelTest, ResultTextsAndWhenAResultIsCleared)
{
    struct Case
    {
        const char* name;
        int row;   // three-phase unit
        std::vector<double> values;
        const char* text;
    };
    const Case cases[] = {
        {"pair, 3 decimals by the first", 3, {57.735, 1200.5}, "57.735; 1200.500 V"},
        {"pair, 1 decimal by the first", 3, {1200.5, 57.735}, "1200.5; 57.7 V"},
        {"current", 7, {1.3}, "1.300 A"},
        {"three currents", 13, {1.3, 1.2, 1.1}, "1.300; 1.200; 1.100 A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OscModel vm;
        vm.setOscillatePort(c.row);
        deliverTrip(vm, 0.25, c.values);
        EXPECT_EQ(vm.getTestState(), 1);
        EXPECT_TRUE(vm.isExistFaultActionValue());
        EXPECT_EQ(vm.getFaultActionValue(), QString::fromUtf8(c.text));
        EXPECT_EQ(vm.getFaultActionTime(), 0.25);
    }

    // A start clears the result; the time stays NaN until a trip.
    OscModel vm;
    vm.setOscillatePort(7);
    deliverTrip(vm, 0.25, {1.3});
    vm.doSwitchToStartState();
    EXPECT_EQ(vm.getTestState(), -1);
    EXPECT_FALSE(vm.isExistFaultActionValue());
    EXPECT_TRUE(std::isnan(vm.getFaultActionTime()));
    EXPECT_EQ(vm.getFaultActionValue(), "NaN A");

    // A new group clears a result taken with the old one; -1 stays -1.
    vm.setOscillatePort(0);
    EXPECT_EQ(vm.getTestState(), -1);
    deliverTrip(vm, 0.25, {1.3});
    vm.setOscillatePort(7);
    vm.setOscillatePort(0);
    EXPECT_EQ(vm.getTestState(), 0);
    EXPECT_FALSE(vm.isExistFaultActionValue());
    EXPECT_EQ(vm.getFaultActionValue(), "NaN V");
    // The same row again keeps it.
    deliverTrip(vm, 0.25, {57.7});
    vm.setOscillatePort(0);
    EXPECT_EQ(vm.getFaultActionValue(), "57.700 V");
}
