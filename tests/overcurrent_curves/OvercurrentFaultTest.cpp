// Fault states of the overcurrent test points: each kind's phasors, the
// phase-phase voltages and the sequence content against definitions written
// here, the voltage switch, the current limit and the rated frequency.

#include <gtest/gtest.h>

#include "BaseModelDataOvercurrent.h"

#include <cmath>
#include <complex>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

using M = BaseModelDataOvercurrent;
using Cx = std::complex<double>;
static_assert(std::is_same<std::underlying_type_t<M::FaultType>, qint32>::value, "");

enum { UA, UB, UC, UX, IA, IB, IC, IX };
constexpr double E = 57.735;
constexpr double kPhi = -60.0;
constexpr double kHz = 60.0;
const Cx a = std::polar(1.0, 2.0 * M_PI / 3.0);

Cx polar(double range, double degrees)
{
    return std::polar(range, degrees * M_PI / 180.0);
}
Cx of(const BaseDataPhaseValue& p)
{
    return polar(p.dataRange, p.dataAngle);
}

M point(int kind, double Ef)
{
    M m;
    m.faultKind = M::FaultType(kind);
    m.rateVoltage = E;
    m.rateFrequency = kHz;
    m.faultCurrent = Ef;
    m.faultAngle = kPhi;
    m.faultVPNRange = 30.0;
    m.faultVPPRange = 40.0;
    m.faultVPEnable = true;
    m.maxCurrent = 100.0;
    return m;
}

std::vector<BaseDataPhaseValue> run(const M& m)
{
    std::vector<BaseDataPhaseValue> s(8, BaseDataPhaseValue(99.0, 9.0, 9.0));
    m.compute(s.data());
    for (int p = 0; p < 8; ++p)
        EXPECT_EQ(s[size_t(p)].dataFrequency, kHz) << "port " << p;
    return s;
}

void expectPhasor(const BaseDataPhaseValue& got, Cx expected, const char* port)
{
    EXPECT_NEAR(std::abs(of(got) - expected), 0.0, 1e-9)
        << port << " is " << got.dataRange << " at " << got.dataAngle << ", expected " << std::abs(expected) << " at "
        << std::arg(expected) * 180.0 / M_PI;
}

} // namespace

TEST(OvercurrentFault, PhasorsOfEachKind)
{
    const Cx zero;
    const Cx ua = polar(E, 0), ub = polar(E, 240), uc = polar(E, 120);
    struct Row
    {
        const char* what;
        int kind;
        double Ef;
        double load, loadAngle;
        bool voltages;
        double maxCurrent;
        Cx expected[8];   // UA UB UC UX IA IB IC IX
    };
    const Row rows[] = {
        {"A-E", 0, 5, 0, 0, true, 10, {polar(30, 0), ub, uc, zero, polar(5, kPhi), zero, zero, zero}},
        {"A-E without voltages", 0, 5, 0, 0, false, 10, {zero, zero, zero, zero, polar(5, kPhi), zero, zero, zero}},
        {"B-E", 1, 5, 0, 0, true, 10, {ua, polar(30, 240), uc, zero, zero, polar(5, kPhi + 240), zero, zero}},
        {"C-E", 2, 5, 0, 0, true, 10, {ua, ub, polar(30, 120), zero, zero, zero, polar(5, kPhi + 120), zero}},
        {"A-B-C", 6, 5, 0, 0, true, 10,
         {polar(30, 0), polar(30, 240), polar(30, 120), zero, polar(5, kPhi), polar(5, kPhi + 240),
          polar(5, kPhi + 120), zero}},
        {"3I0", 8, 3, 0, 0, true, 10,
         {polar(30, 0), ub, uc, zero, polar(1, kPhi), polar(1, kPhi), polar(1, kPhi), zero}},
        {"A", 9, 10, 0, 0, true, 20,
         {polar(30, 0), ub, uc, zero, polar(10, kPhi), polar(5, kPhi + 180), polar(5, kPhi + 180), zero}},
        {"B", 10, 10, 0, 0, true, 20,
         {ua, polar(30, 240), uc, zero, polar(5, kPhi + 60), polar(10, kPhi + 240), polar(5, kPhi + 60), zero}},
        {"C", 11, 10, 0, 0, true, 20,
         {ua, ub, polar(30, 120), zero, polar(5, kPhi + 300), polar(5, kPhi + 300), polar(10, kPhi + 120), zero}},
        // The limit is on the magnitude: a negative current cannot pass it.
        {"limited", 0, 5, 0, 0, true, 2, {polar(30, 0), ub, uc, zero, polar(2, kPhi), zero, zero, zero}},
        {"negative limited", 0, -5, 0, 0, true, 2, {polar(30, 0), ub, uc, zero, polar(2, kPhi + 180), zero, zero, zero}},
        {"no limit set", 6, 5, 0, 0, true, 0, {polar(30, 0), polar(30, 240), polar(30, 120), zero, zero, zero, zero, zero}},
        // Outside the list: the load state, currents lagging by the load angle.
        {"kind 12", 12, 5, 2, 30, true, 10, {ua, ub, uc, zero, polar(2, -30), polar(2, 210), polar(2, 90), zero}},
        {"kind -1", -1, 5, 2, 30, false, 1, {zero, zero, zero, zero, polar(1, -30), polar(1, 210), polar(1, 90), zero}},
    };
    const char* ports[8] = {"UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        M m = point(r.kind, r.Ef);
        m.loadCurrent = r.load;
        m.loadAngle = r.loadAngle;
        m.faultVPEnable = r.voltages;
        m.maxCurrent = r.maxCurrent;
        const auto s = run(m);
        for (int p = 0; p < 8; ++p)
            expectPhasor(s[size_t(p)], r.expected[p], ports[p]);
    }
}

// The faulted pair is the negated healthy phase plus and minus half the line
// voltage at its balanced angle: no zero sequence, the line voltage as set,
// and at Vpp = sqrt(3) E the balanced set.
TEST(OvercurrentFault, PhasePhaseKindsKeepTheLineVoltage)
{
    struct Row
    {
        int kind;
        int from, to, healthy;   // line voltage from - to
        double lineAngle;
    };
    const Row rows[] = {{3, UA, UB, UC, 30}, {4, UB, UC, UA, 270}, {5, UC, UA, UB, 150}};
    const Cx balanced[3] = {polar(E, 0), polar(E, 240), polar(E, 120)};
    for (const Row& r : rows) {
        for (double Vpp : {0.0, 20.0, std::sqrt(3.0) * E, 150.0}) {
            SCOPED_TRACE(testing::Message() << "kind " << r.kind << " Vpp " << Vpp);
            M m = point(r.kind, 5.0);
            m.faultVPPRange = Vpp;
            const auto s = run(m);
            EXPECT_NEAR(std::abs(of(s[UA]) + of(s[UB]) + of(s[UC])), 0.0, 1e-9);
            expectPhasor(s[size_t(r.from)], of(s[size_t(r.to)]) + polar(Vpp, r.lineAngle), "line");
            expectPhasor(s[size_t(r.healthy)], balanced[r.healthy], "healthy");
            if (std::fabs(Vpp - std::sqrt(3.0) * E) < 1e-12) {
                for (int u : {UA, UB, UC})
                    expectPhasor(s[size_t(u)], balanced[u], "balanced");
            }
            expectPhasor(s[size_t(IA + r.from)], polar(5, kPhi + r.lineAngle), "first current");
            expectPhasor(s[size_t(IA + r.to)], polar(5, kPhi + r.lineAngle + 180), "second current");
            expectPhasor(s[size_t(IA + r.healthy)], 0.0, "healthy current");
        }
    }
}

// Sequence content by the Fortescue transform (a = 1 at 120 degrees); the
// positive-sequence load of the sequence kinds enters at +loadAngle.
TEST(OvercurrentFault, SequenceContentOfTheCurrentKinds)
{
    const double Ef = 6.0;
    const Cx load = polar(0.5, 20.0);
    struct Row
    {
        int kind;
        std::optional<Cx> i0, i1, i2;
    };
    const Row rows[] = {
        {7, Cx{}, load, polar(Ef, kPhi)},
        {8, polar(Ef / 3, kPhi), load, Cx{}},
        {9, Cx{}, {}, {}},
        {10, Cx{}, {}, {}},
        {11, Cx{}, {}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        M m = point(r.kind, Ef);
        m.loadCurrent = std::abs(load);
        m.loadAngle = 20.0;
        const auto s = run(m);
        const Cx A = of(s[IA]), B = of(s[IB]), C = of(s[IC]);
        const Cx i0 = (A + B + C) / 3.0;
        const Cx i1 = (A + a * B + a * a * C) / 3.0;
        const Cx i2 = (A + a * a * B + a * C) / 3.0;
        const std::pair<std::optional<Cx>, Cx> checks[3] = {{r.i0, i0}, {r.i1, i1}, {r.i2, i2}};
        for (int k = 0; k < 3; ++k) {
            if (checks[k].first) {
                EXPECT_NEAR(std::abs(checks[k].second - *checks[k].first), 0.0, 1e-9) << "I" << k;
            }
        }
    }
}

TEST(OvercurrentFault, PrefaultFormFillsTheLoadStateFirst)
{
    M m = point(M::FAULT_TYPE_A_E, 5.0);
    m.loadCurrent = 1.5;
    m.loadAngle = 30.0;
    std::vector<BaseDataPhaseValue> pre(8), fault(8);
    m.compute(pre.data(), fault.data());
    const auto alone = run(m);
    const Cx expected[8] = {polar(E, 0), polar(E, 240), polar(E, 120), 0.0, polar(1.5, -30), polar(1.5, 210),
                            polar(1.5, 90), 0.0};
    for (int p = 0; p < 8; ++p) {
        SCOPED_TRACE(p);
        expectPhasor(pre[size_t(p)], expected[p], "prefault");
        EXPECT_EQ(pre[size_t(p)].dataFrequency, kHz);
        expectPhasor(fault[size_t(p)], of(alone[size_t(p)]), "fault");
    }
    m.compute(nullptr);   // nothing to fill
    m.compute(pre.data(), nullptr);
}
