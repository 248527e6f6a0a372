// The impedance calculator's model over the shared distance fault model: the
// device rating applied at construction, the field each operation reaches,
// factor-form changes at the fault impedance's angle, and the outcome of a
// page's computation.

#include <gtest/gtest.h>

#include "BaseDataRepairFactor.h"
#include "BaseModelDataDistance.h"
#include "ControllerCenter.h"
#include "ViewComputerDistanceModel.h"

#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <limits>

namespace {

using M = BaseModelDataDistance;
using State = std::array<BaseDataPhaseValue, 8>;
constexpr double DMAX = std::numeric_limits<double>::max();
enum { UA, UB, UC, UX, IA, IB, IC, IX };

State filled()
{
    State s;
    for (int k = 0; k < 8; ++k)
        s[k] = BaseDataPhaseValue(1.0 + k, 10.0 * k, 60.0);
    return s;
}

// The shared model and the configuration are process-wide: each test starts
// from a fresh model's settings and the configuration's values and puts the
// previous ones back.
class ComputerDistanceModel : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The engine starts its worker threads on first use; let their event
        // loops run before the test (and the process) may end.
        ControllerCenter* center = ControllerCenter::getInstance();
        for (QObject* worker : std::initializer_list<QObject*>{center->testRuntime, center->testConfiguration,
                                                               center->testTestor, center->testQuery,
                                                               center->testBattery})
            QMetaObject::invokeMethod(worker, [] {}, Qt::BlockingQueuedConnection);
    }

    void SetUp() override
    {
        config = ControllerCenter::getInstance()->testConfiguration;
        saved = *M::getInstance();
        savedConfig = {config->rateVoltage, config->rateFrequency, config->maxVRange, config->maxIRange};
        savedPhases = config->volPhasesType;
        shared()->setValue(M());
    }

    void TearDown() override
    {
        shared()->setValue(saved);
        config->rateVoltage = savedConfig[0];
        config->rateFrequency = savedConfig[1];
        config->maxVRange = savedConfig[2];
        config->maxIRange = savedConfig[3];
        config->volPhasesType = savedPhases;
    }

    static M* shared() { return M::getInstance(); }

    ControllerConfiguration* config = nullptr;
    M saved;
    std::array<double, 4> savedConfig{};
    ControllerConfiguration::PhasesType savedPhases = ControllerConfiguration::PHASES_TYPE_THREE;
};

} // namespace

TEST_F(ComputerDistanceModel, ConstructionAppliesTheDeviceRatingWithTheCurrentLimit)
{
    config->rateVoltage = 63.5;
    config->rateFrequency = 60.0;
    config->maxVRange = 120.0;
    config->maxIRange = 30.0;
    ASSERT_EQ(shared()->limitCurrentRange, DMAX);
    ViewComputerDistanceModel vm;
    EXPECT_EQ(shared()->rateVoltage, 63.5);
    EXPECT_EQ(shared()->rateFrequency, 60.0);
    EXPECT_EQ(shared()->limitVoltageRange, 120.0);
    EXPECT_EQ(shared()->limitCurrentRange, 30.0);

    // A constant voltage on a small loop stays within the device's current.
    vm.setDistanceType(M::DISTANCE_TYPE_VCONSTANT);
    vm.setFaultType(M::FAULT_TYPE_A_E);
    vm.setDirection(M::DIRECTION_TYPE_POSITIVE);
    vm.setFaultVoltage(10.0);
    vm.setShortRange(0.05);
    State fault = filled();
    ASSERT_TRUE(ViewComputerDistanceModel::computeFault(fault.data()));
    EXPECT_GT(fault[IA].dataRange, 0.0);
    EXPECT_LE(fault[IA].dataRange, 30.0 + 1e-6);
    EXPECT_EQ(fault[UA].dataFrequency, 60.0);
}

TEST_F(ComputerDistanceModel, EachOperationReachesItsField)
{
    ViewComputerDistanceModel vm;
    M* m = shared();
    struct Row
    {
        const char* name;
        std::function<void(double)> set;
        std::function<double()> get;
        std::function<double()> field;
        double value;
    };
    const Row rows[] = {
        {"distance", [&](double v) { vm.setDistanceType(int(v)); }, [&] { return double(vm.getDistanceType()); },
         [&] { return double(m->distanceKind); }, 2},
        {"fault", [&](double v) { vm.setFaultType(int(v)); }, [&] { return double(vm.getFaultType()); },
         [&] { return double(m->faultKind); }, 8},
        {"ct", [&](double v) { vm.setCTPosition(int(v)); }, [&] { return double(vm.getCTPosition()); },
         [&] { return double(m->ctPosition); }, 1},
        {"pt", [&](double v) { vm.setPTPosition(int(v)); }, [&] { return double(vm.getPTPosition()); },
         [&] { return double(m->ptPosition); }, 1},
        {"direction", [&](double v) { vm.setDirection(int(v)); }, [&] { return double(vm.getDirection()); },
         [&] { return double(m->faultDirection); }, 0},
        {"fault U", [&](double v) { vm.setFaultVoltage(v); }, [&] { return vm.getFaultVoltage(); },
         [&] { return m->faultVoltageRange; }, 42.5},
        {"fault I", [&](double v) { vm.setFaultCurrent(v); }, [&] { return vm.getFaultCurrent(); },
         [&] { return m->faultCurrentRange; }, 3.25},
        {"load I", [&](double v) { vm.setLoadCurrent(v); }, [&] { return vm.getLoadCurrent(); },
         [&] { return m->loadCurrent; }, 0.75},
        {"load angle", [&](double v) { vm.setLoadAngle(v); }, [&] { return vm.getLoadAngle(); },
         [&] { return m->loadAngle; }, -20.0},
        {"|Z|", [&](double v) { vm.setShortRange(v); }, [&] { return vm.getShortRange(); },
         [&] { return m->shortImpedance.dataRange; }, 12.0},
        {"Z angle", [&](double v) { vm.setShortAngle(v); }, [&] { return vm.getShortAngle(); },
         [&] { return m->shortImpedance.dataAngle; }, -30.0},
        {"factor 1", [&](double v) { vm.setShortFactorRange(v); }, [&] { return vm.getShortFactorRange(); },
         [&] { return m->shortFactor.dataFactor1; }, 0.67},
        {"factor 2", [&](double v) { vm.setShortFactorAngle(v); }, [&] { return vm.getShortFactorAngle(); },
         [&] { return m->shortFactor.dataFactor2; }, -3.5},
        {"UX define", [&](double v) { vm.setUXDefineType(int(v)); }, [&] { return double(vm.getUXDefineType()); },
         [&] { return double(m->uxDefine.Define); }, 5},
        {"UX range", [&](double v) { vm.setUXDefineRange(v); }, [&] { return vm.getUXDefineRange(); },
         [&] { return m->uxDefine.CustomPhase.dataRange; }, 33.0},
        {"UX angle", [&](double v) { vm.setUXDefineAngle(v); }, [&] { return vm.getUXDefineAngle(); },
         [&] { return m->uxDefine.CustomPhase.dataAngle; }, 270.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.set(row.value);
        EXPECT_EQ(row.field(), row.value);
        EXPECT_EQ(row.get(), row.value);
    }
    // Nothing else moved: the distinct values above each stayed in place.
    for (const Row& row : rows)
        EXPECT_EQ(row.field(), row.value) << row.name;

    // Another model (another page's dialog) sees the same settings.
    ViewComputerDistanceModel other;
    EXPECT_EQ(other.getFaultCurrent(), 3.25);

    config->volPhasesType = ControllerConfiguration::PHASES_TYPE_FOUR;
    EXPECT_EQ(vm.getVoltagePhasesType(), ViewComputerDistanceModel::PHASES_TYPE_FOUR);
    config->volPhasesType = ControllerConfiguration::PHASES_TYPE_THREE;
    EXPECT_EQ(vm.getVoltagePhasesType(), ViewComputerDistanceModel::PHASES_TYPE_THREE);
}

TEST_F(ComputerDistanceModel, RectangularEditsRecomputeThePolarForm)
{
    ViewComputerDistanceModel vm;
    ASSERT_EQ(vm.getShortRange(), 0.0);
    ASSERT_EQ(vm.getShortAngle(), 75.0);
    vm.setShortReal(5.0);
    EXPECT_NEAR(vm.getShortRange(), 5.0, 1e-12);
    EXPECT_NEAR(vm.getShortAngle(), 0.0, 1e-12);
    vm.setShortImage(5.0);
    EXPECT_NEAR(vm.getShortRange(), 5.0 * std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(vm.getShortAngle(), 45.0, 1e-9);
    EXPECT_NEAR(vm.getShortReal(), 5.0, 1e-12);
    vm.setShortImage(-5.0);
    EXPECT_NEAR(vm.getShortAngle(), 315.0, 1e-9);
}

// A factor entered in one form and switched to another must describe the same
// line to the calculation, which converts it at the fault impedance's angle.
TEST_F(ComputerDistanceModel, FactorFormChangesKeepTheCalculatedFault)
{
    ViewComputerDistanceModel vm;
    vm.setShortRange(8.0);
    vm.setShortAngle(85.0);
    vm.setDirection(M::DIRECTION_TYPE_POSITIVE);
    vm.setFaultCurrent(4.0);
    vm.setShortFactorRange(0.8);
    vm.setShortFactorAngle(-10.0);

    double reRl = 0.0, xeXl = 0.0;
    BaseDataRepairFactor::repairKLToRERLXEXL(85.0, 0.8, -10.0, reRl, xeXl);
    vm.setShortFactorType(BaseDataRepairFactor::REPAIR_TYPE_RERL_XEXL);
    EXPECT_EQ(vm.getShortFactorType(), BaseDataRepairFactor::REPAIR_TYPE_RERL_XEXL);
    EXPECT_NEAR(vm.getShortFactorRange(), reRl, 1e-12);
    EXPECT_NEAR(vm.getShortFactorAngle(), xeXl, 1e-12);
    vm.setShortFactorType(BaseDataRepairFactor::REPAIR_TYPE_KL);
    EXPECT_NEAR(vm.getShortFactorRange(), 0.8, 1e-12);
    EXPECT_NEAR(vm.getShortFactorAngle(), -10.0, 1e-9);

    // The impedance changes after a calculation and the form is switched
    // before the next one: the switch must convert at the present angle, not
    // at the one the last calculation left in the factor.
    vm.setFaultVoltage(20.0);
    const double moves[][2] = {{60.0, 85.0}, {85.0, 60.0}, {75.0, 80.0}};
    for (const auto& move : moves) {
        for (int kind : {M::DISTANCE_TYPE_ICONSTANT, M::DISTANCE_TYPE_VCONSTANT}) {
            for (int fault : {M::FAULT_TYPE_A_E, M::FAULT_TYPE_C_A_E}) {
                for (int form : {BaseDataRepairFactor::REPAIR_TYPE_RERL_XEXL, BaseDataRepairFactor::REPAIR_TYPE_Z0Z1}) {
                    SCOPED_TRACE(testing::Message() << move[0] << " -> " << move[1] << " model " << kind << " fault "
                                                    << fault << " form " << form);
                    vm.setDistanceType(kind);
                    vm.setFaultType(M::FAULT_TYPE_A_E);
                    vm.setShortFactorType(BaseDataRepairFactor::REPAIR_TYPE_KL);
                    vm.setShortAngle(move[0]);
                    State earlier;
                    ASSERT_TRUE(ViewComputerDistanceModel::computeFault(earlier.data()));

                    vm.setFaultType(fault);
                    vm.setShortAngle(move[1]);
                    M reference(*shared());
                    State expected;
                    ASSERT_TRUE(reference.compute(expected.data()));

                    vm.setShortFactorType(form);
                    State got;
                    ASSERT_TRUE(ViewComputerDistanceModel::computeFault(got.data()));
                    for (int k : {UA, UB, UC, IA, IB, IC}) {
                        EXPECT_NEAR(got[k].dataRange, expected[k].dataRange, 1e-9) << k;
                        EXPECT_NEAR(got[k].dataAngle, expected[k].dataAngle, 1e-7) << k;
                    }
                }
            }
        }
    }
}

TEST_F(ComputerDistanceModel, AFailedComputationIsReportedAndChangesNothing)
{
    ViewComputerDistanceModel vm;
    vm.setDistanceType(M::DISTANCE_TYPE_VCONSTANT);
    vm.setFaultType(M::FAULT_TYPE_B_E);
    vm.setFaultVoltage(10.0);
    vm.setShortRange(0.0); // nothing to divide the voltage by
    State fault = filled();
    const State before = fault;
    EXPECT_FALSE(ViewComputerDistanceModel::computeFault(fault.data()));
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(fault[k].dataRange, before[k].dataRange) << k;
        EXPECT_EQ(fault[k].dataAngle, before[k].dataAngle) << k;
    }
    // Any dialog's model tells the page.
    ViewComputerDistanceModel pageDialog;
    EXPECT_FALSE(pageDialog.getComputeResult());
    EXPECT_FALSE(pageDialog.getComputeMessage().isEmpty());

    vm.setShortRange(2.0);
    EXPECT_TRUE(ViewComputerDistanceModel::computeFault(fault.data()));
    EXPECT_NE(fault[IB].dataRange, before[IB].dataRange);
    EXPECT_TRUE(pageDialog.getComputeResult());
    EXPECT_TRUE(pageDialog.getComputeMessage().isEmpty());

    EXPECT_FALSE(ViewComputerDistanceModel::computeFault(nullptr));
    EXPECT_FALSE(vm.getComputeResult());
}
