// The standard-source model without an instrument: the stated phasor cases,
// the angle and factor rules, the selection, the entry limits, the power
// entries that set the current, and what the entity is sent in the delta
// modes (the frequency and the clamps: StdSourceModelEngineTest.cpp).

#include "StdSourceSupport.h"

#include <cmath>
#include <limits>

using namespace stdtest;

namespace {

constexpr double kU = 57.735;   // rated voltage and current of the configuration
constexpr double kI = 1.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

TEST_F(StdSourceTest, StatedPhasorCases)
{
    struct Row
    {
        const char* name;
        int mode;
        double factor;
        int type;
        int select;
        double ranges[6];   // as getOutputRange shows them
        double phases[6];   // as getOutputPhase shows them
        double powerPhase;
    };
    const double n = std::nan("");   // not checked
    const Row rows[] = {
        {"defaults", 0, 1.0, VM::POWER_FACTOR_TYPE_NONE, VM::COMPONENT_SELECT_ALL, {kU, 0, 0, kI, 0, 0},
         {0, 0, 0, 0, 0, 0}, 0.0},
        {"single, 0.5 capacitive", 0, 0.5, VM::POWER_FACTOR_TYPE_CAPACITIVE, VM::COMPONENT_SELECT_ALL,
         {kU, 0, 0, kI, 0, 0}, {0, 0, 0, 60, 0, 0}, 300.0},
        {"four-wire active, A", 1, 0.8, VM::POWER_FACTOR_TYPE_INDUCTIVE, VM::COMPONENT_SELECT_A, {kU, 0, 0, kI, 0, 0},
         {0, 0, 0, 323.130102, 0, 0}, 36.869898},
        {"four-wire reactive, B", 4, 0.5, VM::POWER_FACTOR_TYPE_INDUCTIVE, VM::COMPONENT_SELECT_B,
         {kU, kU, 0, 0, kI, 0}, {0, 240, 0, 0, 90, 0}, 150.0},
        {"delta active", 3, 1.0, VM::POWER_FACTOR_TYPE_NONE, VM::COMPONENT_SELECT_ALL, {kU, kU, kU, kI, 0, kI},
         {0, 0, 60, 330, n, 90}, 0.0},
        {"delta reactive", 6, 1.0, VM::POWER_FACTOR_TYPE_NONE, VM::COMPONENT_SELECT_ALL, {kU, kU, kU, kI, 0, kI},
         {0, 0, 60, 240, n, 0}, 90.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        StdModel vm;
        configure(vm, row.mode, row.factor, row.type, row.select);
        for (int p = 0; p < 6; ++p) {
            EXPECT_NEAR(vm.getOutputRange(port(p)), row.ranges[p], 1e-9) << p;
            if (!std::isnan(row.phases[p])) {
                EXPECT_NEAR(vm.getOutputPhase(port(p)), row.phases[p], 1e-6) << p;
            }
        }
        EXPECT_NEAR(vm.getPowerPhase(), row.powerPhase, 1e-6);
        EXPECT_EQ(vm.getTestState(), 0);
    }

    // Defaults: PA = U x I, the limits from U x the device's largest current.
    StdModel vm;
    EXPECT_NEAR(vm.getOutputPower(port(0)), kU * kI, 1e-9);
    EXPECT_EQ(vm.getOutputPower(port(3)), 0.0);
    EXPECT_NEAR(vm.getMaxActivePower(), kU * 10.0, 1e-9);
    EXPECT_EQ(vm.getMinActivePower(), 0.0);
    EXPECT_NEAR(vm.getMaxReactivePower(), kU * 10.0, 1e-9);
    EXPECT_NEAR(vm.getMinReactivePower(), -kU * 10.0, 1e-9);
    // 0.5 capacitive in the single mode: QA = -0.866 x U x I.
    configure(vm, 0, 0.5, VM::POWER_FACTOR_TYPE_CAPACITIVE, 0);
    EXPECT_NEAR(vm.getOutputPower(port(3)), -0.8660254 * kU * kI, 1e-6);
}

TEST_F(StdSourceTest, PowerAngleSetsFactorAndSense)
{
    struct Row
    {
        int mode;
        double angle;
        int type;
        double factor;
        double powerPhase;
    };
    const Row rows[] = {
        {4, 90.0, VM::POWER_FACTOR_TYPE_NONE, 1.0, 90.0},
        {4, 150.0, VM::POWER_FACTOR_TYPE_INDUCTIVE, 0.5, 150.0},
        {5, 30.0, VM::POWER_FACTOR_TYPE_CAPACITIVE, 0.5, 30.0},
        {0, 180.0, VM::POWER_FACTOR_TYPE_NONE, -1.0, 180.0},
        {2, 360.0, VM::POWER_FACTOR_TYPE_NONE, 1.0, 0.0},
        // Whole turns first: 400 is 40, inductive.
        {0, 400.0, VM::POWER_FACTOR_TYPE_INDUCTIVE, std::cos(40.0 * M_PI / 180.0), 40.0},
        {7, -90.0, VM::POWER_FACTOR_TYPE_NONE, -1.0, 270.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << row.mode << " angle " << row.angle);
        VM vm;
        vm.setWorkMode(VM::WorkMode(row.mode));
        vm.setPowerPhase(row.angle);
        EXPECT_EQ(vm.getFactorType(), row.type);
        EXPECT_NEAR(vm.getPowerFactor(), row.factor, 1e-12);
        EXPECT_NEAR(vm.getPowerPhase(), row.powerPhase, 1e-9);
        vm.setPowerPhase(kNaN);
        EXPECT_NEAR(vm.getPowerPhase(), row.powerPhase, 1e-9);
    }
}

TEST_F(StdSourceTest, PowerFactorSetsTheSense)
{
    struct Row
    {
        const char* name;
        int typeBefore;
        double factor;
        int type;
        double stored;
    };
    const Row rows[] = {
        {"-1", VM::POWER_FACTOR_TYPE_INDUCTIVE, -1.0, VM::POWER_FACTOR_TYPE_NONE, -1.0},
        {"0.8 after none", VM::POWER_FACTOR_TYPE_NONE, 0.8, VM::POWER_FACTOR_TYPE_INDUCTIVE, 0.8},
        {"0.8 after capacitive", VM::POWER_FACTOR_TYPE_CAPACITIVE, 0.8, VM::POWER_FACTOR_TYPE_CAPACITIVE, 0.8},
        // Outside -1..1 (a file, the network): the nearer limit.
        {"1.5", VM::POWER_FACTOR_TYPE_CAPACITIVE, 1.5, VM::POWER_FACTOR_TYPE_NONE, 1.0},
        {"-3", VM::POWER_FACTOR_TYPE_INDUCTIVE, -3.0, VM::POWER_FACTOR_TYPE_NONE, -1.0},
        {"NaN keeps the factor", VM::POWER_FACTOR_TYPE_CAPACITIVE, kNaN, VM::POWER_FACTOR_TYPE_CAPACITIVE, 0.3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        VM vm;
        vm.setWorkMode(VM::WORK_MODE_3P4W_Y_ACTIVE_POWER);
        vm.setPowerFactor(0.3);
        vm.setFactorType(VM::PowerFactorType(row.typeBefore));
        vm.setPowerFactor(row.factor);
        EXPECT_EQ(vm.getFactorType(), row.type);
        EXPECT_EQ(vm.getPowerFactor(), row.stored);
        EXPECT_TRUE(std::isfinite(vm.getActivePower()) && std::isfinite(vm.getOutputPhase(port(3))));
    }
}

TEST_F(StdSourceTest, SelectionModeAndEnumerations)
{
    VM vm;
    vm.setWorkMode(VM::WORK_MODE_3P3W_V_ACTIVE_POWER);
    vm.setComponentSel(VM::COMPONENT_SELECT_B);   // a two-element meter: C, shown as its third entry
    EXPECT_EQ(vm.getComponentSel(), 2);
    EXPECT_EQ(vm.getOutputRange(port(VM::SINGLE_PORT_IC)), kI);
    EXPECT_EQ(vm.getOutputRange(port(VM::SINGLE_PORT_IA)), 0.0);
    vm.setWorkMode(VM::WORK_MODE_3P3W_V_ACTIVE_POWER);
    EXPECT_EQ(vm.getComponentSel(), 2);
    vm.setWorkMode(VM::WORK_MODE_3COM_90_DEGREE_REACTIVE_POWER);
    EXPECT_EQ(vm.getComponentSel(), VM::COMPONENT_SELECT_ALL);
    vm.setComponentSel(VM::COMPONENT_SELECT_B);
    EXPECT_EQ(vm.getComponentSel(), VM::COMPONENT_SELECT_B);

    // Values outside the enumerations change nothing.
    vm.setWorkMode(VM::WorkMode(9));
    vm.setComponentSel(VM::ComponentSelect(4));
    vm.setFactorType(VM::PowerFactorType(3));
    EXPECT_EQ(vm.getWorkMode(), VM::WORK_MODE_3COM_90_DEGREE_REACTIVE_POWER);
    EXPECT_EQ(vm.getComponentSel(), VM::COMPONENT_SELECT_B);
    EXPECT_EQ(vm.getFactorType(), VM::POWER_FACTOR_TYPE_NONE);
    EXPECT_EQ(vm.getOutputRange(port(6)), 0.0);
    EXPECT_EQ(vm.getOutputPower(port(-1)), 0.0);

    // A reactive mode with PF 0: no reactive entry, the active one open.
    vm.setPowerFactor(0.0);
    EXPECT_EQ(vm.getMaxReactivePower(), 0.0);
    EXPECT_EQ(vm.getMinReactivePower(), 0.0);
    EXPECT_NEAR(vm.getMaxActivePower(), kU * 10.0, 1e-9);
    EXPECT_NEAR(vm.getMinActivePower(), -kU * 10.0, 1e-9);
}

// An entered total sets the current so that the total shown is the one entered,
// as far as the selected elements can give it within the device's current.
TEST_F(StdSourceTest, PowerEntrySetsTheCurrent)
{
    {
        VM vm;
        vm.setWorkMode(VM::WORK_MODE_3P4W_Y_ACTIVE_POWER);
        vm.setSrcVoltageAmp(100.0);
        vm.setActivePower(300.0);
        EXPECT_NEAR(vm.getSrcCurrentAmp(), 1.0, 1e-12);
        EXPECT_NEAR(vm.getActivePower(), 300.0, 1e-9);
    }
    const struct
    {
        double factor;
        int type;
    } factors[] = {{0.8, VM::POWER_FACTOR_TYPE_INDUCTIVE}, {-0.6, VM::POWER_FACTOR_TYPE_CAPACITIVE}};
    for (int mode = 0; mode <= 8; ++mode) {
        for (int select : selections(mode)) {
            for (const auto& f : factors) {
                SCOPED_TRACE(testing::Message() << "mode " << mode << " select " << select << " PF " << f.factor);
                VM vm;
                configure(vm, mode, f.factor, f.type, select);
                vm.setSrcVoltageAmp(100.0);
                vm.setSrcCurrentAmp(1.0);
                const bool active = mode < VM::WORK_MODE_3P4W_Y_REACTIVE_POWER;
                const double perAmpere = active ? vm.getActivePower() : vm.getReactivePower();
                const double high = active ? vm.getMaxActivePower() : vm.getMaxReactivePower();
                const double low = active ? vm.getMinActivePower() : vm.getMinReactivePower();
                ASSERT_GT(std::fabs(perAmpere), 1.0);
                const double reach = perAmpere * 10.0;
                const double total = 0.6 * (perAmpere > 0.0 ? std::min(high, reach) : std::max(low, reach));
                active ? vm.setActivePower(total) : vm.setReactivePower(total);
                EXPECT_NEAR(active ? vm.getActivePower() : vm.getReactivePower(), total, 1e-9 * std::fabs(reach));
                EXPECT_NEAR(vm.getSrcCurrentAmp(), total / perAmpere, 1e-12);
            }
        }
    }

    // Element A of a V connection at PF 0.8 inductive: the active limit asks
    // for 2.04 x the device's current; the current is cut and the total follows.
    VM vm;
    configure(vm, VM::WORK_MODE_3P3W_V_ACTIVE_POWER, 0.8, VM::POWER_FACTOR_TYPE_INDUCTIVE, VM::COMPONENT_SELECT_A);
    vm.setSrcVoltageAmp(100.0);
    vm.setActivePower(vm.getMaxActivePower());
    EXPECT_EQ(vm.getSrcCurrentAmp(), 10.0);
    EXPECT_NEAR(vm.getActivePower(), 1000.0 * std::cos((36.8698976 + 30.0) * M_PI / 180.0), 1e-4);
    // At PF 0.3 element A gives negative power only: a positive entry keeps the current.
    vm.setSrcCurrentAmp(2.0);
    vm.setPowerFactor(0.3);
    vm.setActivePower(50.0);
    EXPECT_EQ(vm.getSrcCurrentAmp(), 2.0);
    EXPECT_LT(vm.getActivePower(), 0.0);
    // No power per ampere (both elements at PF 0, or no voltage): current 0.
    vm.setComponentSel(VM::COMPONENT_SELECT_ALL);
    vm.setPowerFactor(0.0);
    vm.setActivePower(50.0);
    EXPECT_EQ(vm.getSrcCurrentAmp(), 0.0);
    vm.setPowerFactor(1.0);
    vm.setSrcCurrentAmp(2.0);
    vm.setSrcVoltageAmp(0.0);
    vm.setActivePower(50.0);
    EXPECT_EQ(vm.getSrcCurrentAmp(), 0.0);
}

TEST_F(StdSourceTest, DeltaModesSendThePhaseVoltages)
{
    const double sent[3] = {330.0, 210.0, 90.0};
    for (int mode : {VM::WORK_MODE_3P3W_TRIANGLE_ACTIVE_POWER, VM::WORK_MODE_3P3W_TRIANGLE_REACTIVE_POWER}) {
        SCOPED_TRACE(mode);
        StdModel vm;
        vm.testActive();
        vm.setWorkMode(VM::WorkMode(mode));
        vm.updateVMToEnt(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
        QMutexLocker lock(&entity().entityLock);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(entity().outputRanges[k], kU / std::sqrt(3.0), 1e-9) << k;
            EXPECT_NEAR(entity().outputAngles[k], sent[k], 1e-9) << k;
        }
        for (int c : {3, 7})
            EXPECT_EQ(entity().outputRanges[c] + entity().outputAngles[c] + entity().outputFrequencies[c], 0.0) << c;
        for (int c : {0, 1, 2, 4, 5, 6})
            EXPECT_EQ(entity().outputFrequencies[c], 50.0) << c;
    }
}
