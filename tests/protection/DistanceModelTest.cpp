// The calculation frame, the reductions, guards, limits and load terms of the
// distance fault model, and the faults it refuses to calculate.

#include <gtest/gtest.h>

#include "BaseModelDataDistance.h"
#include "FaultNetwork.h"

#include <array>
#include <limits>

namespace {

using faultnet::Cx;
using faultnet::polar;
using M = BaseModelDataDistance;
using State = std::array<BaseDataPhaseValue, 8>;

constexpr double E = 57.735;
constexpr double DMAX = std::numeric_limits<double>::max();
enum { UA, UB, UC, UX, IA, IB, IC, IX };

Cx of(const BaseDataPhaseValue& p) { return polar(p.dataRange, p.dataAngle); }

void expectPhase(const BaseDataPhaseValue& p, double range, double angle)
{
    EXPECT_NEAR(p.dataRange, range, 1e-9);
    EXPECT_NEAR(p.dataAngle, angle, 1e-7) << "range " << p.dataRange;
}

State filled(double value)
{
    State s;
    for (int k = 0; k < 8; ++k)
        s[k] = BaseDataPhaseValue(value + k, 10.0 * k, 60.0);
    return s;
}

M model(M::FaultType fault, M::DistanceType kind, double zf, double angle = 75.0)
{
    M m;
    m.faultKind = fault;
    m.distanceKind = kind;
    m.faultDirection = M::DIRECTION_TYPE_POSITIVE;
    m.ctPosition = M::CT_POSITION_TYPE_LINE;
    m.shortImpedance = BaseDataVector(zf, angle);
    return m;
}

// Number of 10 % cuts from held to got; checked to be whole.
double cutsOf(double got, double held)
{
    const double cuts = std::log(got / held) / std::log(0.9);
    EXPECT_NEAR(cuts, std::round(cuts), 1e-9);
    return std::round(cuts);
}

} // namespace

TEST(DistanceModel, FrameOnAFreshObject)
{
    M m;
    m.faultCurrentRange = 5.0;
    m.loadCurrent = 1.0;
    m.loadAngle = 30.0;
    m.ptPosition = M::PT_POSITION_TYPE_LINE;
    m.uxDefine.CustomPhase = BaseDataPhaseValue(7.0, 33.0, 50.0);
    State pre = filled(100), fault = filled(200), post = filled(300);
    ASSERT_TRUE(m.compute(pre.data(), fault.data(), post.data()));

    // Zero fault impedance, reverse, CT at the bus: the whole current, no voltage.
    EXPECT_NEAR(std::abs(of(fault[IA]) - (polar(5.0, 180.0) - polar(1.0, -30.0))), 0.0, 1e-12);
    expectPhase(fault[UA], 0.0, 0.0);
    expectPhase(fault[UB], E, 240.0);
    expectPhase(fault[UC], E, 120.0);
    expectPhase(fault[UX], 7.0, 33.0);
    for (int k = 0; k < IX; ++k)
        EXPECT_EQ(fault[k].dataFrequency, 50.0) << k;
    for (const State* s : {&pre, &post}) {
        expectPhase((*s)[IA], 1.0, -30.0);
        expectPhase((*s)[IB], 1.0, 210.0);
        expectPhase((*s)[IC], 1.0, 90.0);
    }
    expectPhase(pre[UB], E, 240.0);
    expectPhase(post[UB], 0.0, 240.0); // PT on the line side
    EXPECT_EQ(pre[UX].dataRange, 103.0);
    EXPECT_EQ(pre[IX].dataRange, 107.0);
    EXPECT_EQ(fault[IX].dataRange, 207.0);
    EXPECT_EQ(post[IX].dataRange, 307.0);

    m.shortImpedance = BaseDataVector(3.0, 80.0);
    ASSERT_TRUE(m.compute(fault.data()));
    EXPECT_EQ(m.settingImpedance.getRange(), 3.0);
    EXPECT_EQ(m.systemImpedance.getAngle(), 80.0);

    for (int kind : {10, -1}) {
        m.faultKind = static_cast<M::FaultType>(kind);
        State s = filled(1);
        ASSERT_TRUE(m.compute(s.data()));
        for (int k : {UA, UB, UC, IA, IB, IC})
            EXPECT_EQ(s[k].dataRange, 1.0 + k);
    }
}

TEST(DistanceModel, SettingsCopiesAndDerivedUX)
{
    EXPECT_EQ(M::getInstance(), M::getInstance());

    M a = model(M::FAULT_TYPE_C_A_E, M::DISTANCE_TYPE_VCONSTANT, 4.0, 60.0);
    a.setDeviceRating(100.0, 60.0, 265.0, 20.0);
    a.shortFactor.dataFactor1 = 0.7;
    a.uxDefine.Define = BaseModelUXDefine::CNVAB;
    M b(a);
    EXPECT_EQ(b.faultKind, M::FAULT_TYPE_C_A_E);
    EXPECT_EQ(b.limitCurrentRange, 20.0);
    EXPECT_EQ(b.limitVoltageRange, 265.0);
    EXPECT_EQ(b.rateFrequency, 60.0);
    EXPECT_EQ(b.shortImpedance.getAngle(), 60.0);
    EXPECT_EQ(b.shortFactor.dataFactor1, 0.7);
    EXPECT_EQ(b.uxDefine.Define, BaseModelUXDefine::CNVAB);
    // Limits that are not positive numbers mean no limit.
    b.setDeviceRating(E, 50.0, 0.0, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(b.limitVoltageRange, DMAX);
    EXPECT_EQ(b.limitCurrentRange, DMAX);

    M m = model(M::FAULT_TYPE_A_E, M::DISTANCE_TYPE_ICONSTANT, 10.0);
    m.faultCurrentRange = 1.0;
    m.uxDefine.Define = BaseModelUXDefine::PU0;
    State fault;
    ASSERT_TRUE(m.compute(fault.data()));
    const Cx u0 = (of(fault[UA]) + of(fault[UB]) + of(fault[UC])) / 3.0;
    EXPECT_NEAR(std::abs(of(fault[UX]) - u0), 0.0, 1e-9);
    EXPECT_NEAR(std::abs(of(m.uxDefine.CustomPhase) - u0), 0.0, 1e-9);
}

TEST(DistanceModel, Reductions)
{
    State fault;
    // Phase-earth: 5 A into a 20-ohm loop asks 100 V; seven cuts bring it below 0.9 E.
    M pe = model(M::FAULT_TYPE_A_E, M::DISTANCE_TYPE_ICONSTANT, 10.0);
    pe.faultCurrentRange = 5.0;
    ASSERT_TRUE(pe.compute(fault.data()));
    EXPECT_NEAR(fault[IA].dataRange, 2.3914845, 1e-7);
    EXPECT_NEAR(fault[UA].dataRange, 47.82969, 1e-5);
    EXPECT_NEAR(fault[UA].dataAngle, 0.0, 1e-9);

    // Phase-phase: cut until both faulted phases fit; one cut fewer would not.
    M pp = model(M::FAULT_TYPE_B_C, M::DISTANCE_TYPE_ICONSTANT, 8.0, 80.0);
    pp.faultCurrentRange = 8.0;
    ASSERT_TRUE(pp.compute(fault.data()));
    EXPECT_GE(cutsOf(fault[IB].dataRange, 8.0), 1.0);
    EXPECT_LE(std::max(fault[UB].dataRange, fault[UC].dataRange), 0.9 * E);
    const Cx ib = of(fault[IB]) / 0.9 * polar(8.0, 80.0), half = 0.5 * polar(E, 0.0);
    EXPECT_GT(std::max(std::abs(ib - half), std::abs(ib + half)), 0.9 * E);

    // Two-phase-earth: one cut to 0.9 of the bound, which leaves 0.81 E on the
    // faulted phases, or 0.9 of the current limit.
    M ppe = model(M::FAULT_TYPE_B_C_E, M::DISTANCE_TYPE_ICONSTANT, 5.0, 70.0);
    ppe.faultCurrentRange = 30.0;
    ASSERT_TRUE(ppe.compute(fault.data()));
    EXPECT_NEAR(fault[UB].dataRange, 0.81 * E, 1e-9);
    EXPECT_NEAR(fault[UC].dataRange, 0.81 * E, 1e-9);
    ppe.distanceKind = M::DISTANCE_TYPE_VCONSTANT;
    ppe.faultVoltageRange = 50.0;
    ppe.setDeviceRating(E, 50.0, 265.0, 5.0);
    ASSERT_TRUE(ppe.compute(fault.data()));
    EXPECT_NEAR(fault[IB].dataRange, 4.5, 1e-9);
}

TEST(DistanceModel, GuardsAndClampsUseTheDeviceCurrentLimit)
{
    State fault;
    // Constant current into 1 Mohm: no fault current, rated voltage.
    M m = model(M::FAULT_TYPE_A_E, M::DISTANCE_TYPE_ICONSTANT, 1e6);
    m.faultCurrentRange = 5.0;
    m.loadCurrent = 0.5;
    ASSERT_TRUE(m.compute(fault.data()));
    expectPhase(fault[IA], 0.5, 0.0);
    EXPECT_NEAR(fault[UA].dataRange, E, 1e-9);

    for (auto kind : {M::FAULT_TYPE_B_E, M::FAULT_TYPE_A_B}) {
        // Constant voltage on a micro-ohm loop: the guard gives the limit.
        M v = model(kind, M::DISTANCE_TYPE_VCONSTANT, 1e-6);
        v.faultVoltageRange = 10.0;
        ASSERT_TRUE(v.compute(fault.data()));
        EXPECT_EQ(fault[IB].dataRange, DMAX); // no limit set
        v.setDeviceRating(E, 50.0, 265.0, 20.0);
        ASSERT_TRUE(v.compute(fault.data()));
        EXPECT_EQ(fault[IB].dataRange, 20.0);
    }
    for (auto kind : {M::FAULT_TYPE_A_E, M::FAULT_TYPE_A_B}) {
        // Constant source impedance: the current is clamped, the voltage follows it.
        M z = model(kind, M::DISTANCE_TYPE_ZCONSTANT, 0.1);
        z.setDeviceRating(E, 50.0, 265.0, 20.0);
        ASSERT_TRUE(z.compute(fault.data()));
        EXPECT_NEAR(fault[IA].dataRange, 20.0, 1e-12);
        const Cx want = kind == M::FAULT_TYPE_A_E ? of(fault[IA]) * polar(0.2, 75)
                                                  : polar(E, 0) - of(fault[IA]) * polar(0.1, 75);
        EXPECT_NEAR(std::abs(of(fault[UA]) - want), 0.0, 1e-9);
    }
}

// 5 A into 100 ohm asks 500 V of a 265 V source: the balanced fault is
// scaled down, keeping its impedance.
TEST(DistanceModel, ThreePhaseFaultsKeepTheDeviceLimits)
{
    const struct {
        M::DistanceType kind;
        double zf, held, wantI, wantU;
    } rows[] = {
        {M::DISTANCE_TYPE_ICONSTANT, 100.0, 2.0, 2.0, 200.0},
        {M::DISTANCE_TYPE_ICONSTANT, 100.0, 5.0, 2.65, 265.0},
        {M::DISTANCE_TYPE_VCONSTANT, 1.0, 100.0, 20.0, 20.0},
        {M::DISTANCE_TYPE_ZCONSTANT, 0.5, 0.0, 20.0, 10.0},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.kind);
        M m = model(M::FAULT_TYPE_A_B_C, r.kind, r.zf);
        m.setDeviceRating(E, 50.0, 265.0, 20.0);
        m.faultCurrentRange = m.faultVoltageRange = r.held;
        State fault;
        ASSERT_TRUE(m.compute(fault.data()));
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(fault[IA + k].dataRange, r.wantI, 1e-9);
            EXPECT_NEAR(fault[UA + k].dataRange, r.wantU, 1e-9);
        }
        EXPECT_NEAR(std::abs(of(fault[UA]) / of(fault[IA]) - polar(r.zf, 75)), 0.0, 1e-9);
    }
}

TEST(DistanceModel, LoadTerms)
{
    const Cx load = polar(1.0, -30.0);
    State fault, unloaded;
    // Phase-earth: the load rides on the fault current of the faulted phase.
    M pe = model(M::FAULT_TYPE_C_E, M::DISTANCE_TYPE_ICONSTANT, 4.0);
    pe.faultCurrentRange = 2.0;
    M bare = pe;
    pe.loadCurrent = 1.0;
    pe.loadAngle = 30.0;
    ASSERT_TRUE(pe.compute(fault.data()));
    ASSERT_TRUE(bare.compute(unloaded.data()));
    EXPECT_NEAR(std::abs(of(fault[IC]) - of(unloaded[IC]) - load * polar(1, 120)), 0.0, 1e-9);
    EXPECT_NEAR(std::abs(of(fault[IA]) - load), 0.0, 1e-9);

    // Phase-phase constant current: the load flows in all three phases, so
    // there is no residual current.
    for (auto kind : {M::FAULT_TYPE_A_B, M::FAULT_TYPE_B_C, M::FAULT_TYPE_C_A}) {
        pe.faultKind = kind;
        ASSERT_TRUE(pe.compute(fault.data()));
        EXPECT_NEAR(std::abs(of(fault[IA]) + of(fault[IB]) + of(fault[IC])), 0.0, 1e-9) << kind;
    }

    // Two-phase-earth: the healthy phase carries the load lagging by the load angle.
    pe.faultKind = M::FAULT_TYPE_B_C_E;
    pe.faultVoltageRange = 10.0;
    for (auto kind : {M::DISTANCE_TYPE_ICONSTANT, M::DISTANCE_TYPE_VCONSTANT, M::DISTANCE_TYPE_ZCONSTANT}) {
        pe.distanceKind = kind;
        ASSERT_TRUE(pe.compute(fault.data()));
        expectPhase(fault[IA], 1.0, -30.0);
    }

    // Phase-earth constant voltage: the voltage is cut until the current
    // fits, but left as set when the load alone is above the limit.
    M pv = model(M::FAULT_TYPE_A_E, M::DISTANCE_TYPE_VCONSTANT, 4.0);
    pv.faultVoltageRange = 20.0;
    pv.setDeviceRating(E, 50.0, 265.0, 2.0);
    pv.loadCurrent = 0.5;
    ASSERT_TRUE(pv.compute(fault.data()));
    EXPECT_LE(fault[IA].dataRange, 2.0 + 1e-8);
    EXPECT_GE(cutsOf(fault[UA].dataRange, 20.0), 1.0);
    pv.loadCurrent = 3.0;
    ASSERT_TRUE(pv.compute(fault.data()));
    EXPECT_NEAR(fault[UA].dataRange, 20.0, 1e-12);
}

// Stale angles in a factor must not reach the two-phase-earth result.
TEST(DistanceModel, TwoPhaseEarthConvertsFactorsWithTheCurrentAngles)
{
    M fresh = model(M::FAULT_TYPE_A_B_E, M::DISTANCE_TYPE_ZCONSTANT, 4.0, 70.0);
    fresh.shortFactor.dataType = BaseDataRepairFactor::REPAIR_TYPE_RERL_XEXL;
    fresh.shortFactor.dataFactor1 = 0.7;
    fresh.shortFactor.dataFactor2 = 1.1;
    M stale = fresh;
    stale.shortFactor.dataSettingAngle = 20.0;
    stale.shortFactor.dataShortAngle = 10.0;
    fresh.shortFactor.dataSettingAngle = fresh.shortFactor.dataShortAngle = 70.0;
    State a, b;
    ASSERT_TRUE(fresh.compute(a.data()));
    ASSERT_TRUE(stale.compute(b.data()));
    for (int k : {UA, UB, UC, IA, IB, IC})
        EXPECT_NEAR(std::abs(of(a[k]) - of(b[k])), 0.0, 1e-12) << k;
    EXPECT_EQ(stale.shortFactor.dataSettingAngle, 70.0);
    EXPECT_EQ(stale.systemFactor.dataShortAngle, 70.0);
}

// Rf, the resistive part of Zf beside a part at the line angle, enters the
// loop once: Zl = (1 + kL) Zf - kL Rf.
TEST(DistanceModel, SeparateArcResistance)
{
    M m = model(M::FAULT_TYPE_A_E, M::DISTANCE_TYPE_ICONSTANT, 5.0, 40.0);
    m.separateArcResistance = true;
    m.faultCurrentRange = 1.0;
    m.settingImpedance = BaseDataVector(1.0, 75.0);
    m.shortFactor.dataFactor1 = 0.6;
    m.shortFactor.dataFactor2 = 15.0;
    State fault;
    ASSERT_TRUE(M::faultFromDistancePE(m, fault.data()));
    const Cx zf = polar(5.0, 40.0), kl = polar(0.6, 15.0), line = polar(1.0, 75.0);
    const double rf = zf.real() - zf.imag() / line.imag() * line.real();
    EXPECT_NEAR(std::abs(of(fault[UA]) / of(fault[IA]) - ((1.0 + kl) * zf - kl * rf)), 0.0, 1e-9);

    // A resistive line angle leaves no split: the constant-current guard
    // acts, the other models cannot divide by the loop.
    m.settingImpedance = BaseDataVector(1.0, 180.0);
    ASSERT_TRUE(M::faultFromDistancePE(m, fault.data()));
    EXPECT_EQ(fault[IA].dataRange, 0.0);
    EXPECT_NEAR(fault[UA].dataRange, E, 1e-12);
    for (auto kind : {M::DISTANCE_TYPE_VCONSTANT, M::DISTANCE_TYPE_ZCONSTANT}) {
        m.distanceKind = kind;
        EXPECT_FALSE(M::faultFromDistancePE(m, fault.data())) << kind;
    }
}

TEST(DistanceModel, VanishingLoopsAreRefusedAndChangeNothing)
{
    const auto I = M::DISTANCE_TYPE_ICONSTANT, V = M::DISTANCE_TYPE_VCONSTANT, Z = M::DISTANCE_TYPE_ZCONSTANT;
    const struct {
        M::FaultType fault;
        M::DistanceType kind;
        double zf;
        double kl; // line earth factor, real
        bool reverse;
    } rows[] = {
        {M::FAULT_TYPE_B_E, V, 0.0, 1.0, false},     {M::FAULT_TYPE_A_E, V, 5.0, -1.0, false},
        {M::FAULT_TYPE_C_E, Z, 5.0, 1.0, true},      {M::FAULT_TYPE_A_B, Z, 5.0, 1.0, true},
        {M::FAULT_TYPE_A_B_E, Z, 5.0, 1.0, true},    {M::FAULT_TYPE_B_C_E, V, 0.0, 1.0, false},
        {M::FAULT_TYPE_C_A_E, I, 5.0, -0.5, false},  {M::FAULT_TYPE_A_B_C, Z, 5.0, 1.0, true},
        {M::FAULT_TYPE_A_B_C, Z, 0.0, 1.0, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.fault << " model " << r.kind << " zf " << r.zf << " kL " << r.kl);
        M m = model(r.fault, r.kind, r.zf);
        m.faultDirection = r.reverse ? M::DIRECTION_TYPE_NEGATIVE : M::DIRECTION_TYPE_POSITIVE;
        m.shortFactor.dataFactor1 = std::abs(r.kl);
        m.shortFactor.dataFactor2 = r.kl < 0 ? 180.0 : 0.0;
        m.faultVoltageRange = 10.0;
        m.faultCurrentRange = 2.0;
        m.uxDefine.Define = BaseModelUXDefine::PU0;
        m.uxDefine.CustomPhase = BaseDataPhaseValue(1.0, 2.0, 3.0);
        std::array<State, 3> states = {filled(10), filled(20), filled(30)};
        const auto before = states;
        EXPECT_FALSE(m.compute(states[0].data(), states[1].data(), states[2].data()));
        for (int s = 0; s < 3; ++s)
            for (int k = 0; k < 8; ++k) {
                EXPECT_EQ(states[s][k].dataRange, before[s][k].dataRange);
                EXPECT_EQ(states[s][k].dataAngle, before[s][k].dataAngle);
            }
        EXPECT_EQ(m.uxDefine.CustomPhase.dataRange, 1.0);
    }

    // A constant current into a bolted fault stays valid: the current flows,
    // the loop voltage is zero.
    const struct {
        M::FaultType fault;
        int held, other;
    } bolted[] = {{M::FAULT_TYPE_B_E, IB, -1}, {M::FAULT_TYPE_C_A, IC, IA},
                  {M::FAULT_TYPE_A_B_E, IA, IB}, {M::FAULT_TYPE_A_B_C, IA, IB}};
    for (const auto& r : bolted) {
        SCOPED_TRACE(r.fault);
        M m = model(r.fault, I, 0.0);
        m.faultCurrentRange = 5.0;
        State fault;
        ASSERT_TRUE(m.compute(fault.data()));
        EXPECT_NEAR(fault[r.held].dataRange, 5.0, 1e-9);
        const Cx loopU = of(fault[r.held - IA]) - (r.other < 0 ? 0.0 : of(fault[r.other - IA]));
        EXPECT_NEAR(std::abs(loopU), 0.0, 1e-9);
    }
}
