// All ten loops under the three models, both directions and both CT sides,
// checked against the sequence network of FaultNetwork.h.

#include <gtest/gtest.h>

#include "BaseModelDataDistance.h"
#include "FaultNetwork.h"

#include <array>

namespace {

using namespace faultnet;
using M = BaseModelDataDistance;
using State = std::array<BaseDataPhaseValue, 8>;

constexpr double E = 57.735;
const Cx ZF = polar(4, 70);    // stored fault impedance
const Cx KL = polar(0.6, 15);  // line earth factor
const Cx KS = polar(0.8, -10); // source earth factor

struct Loop {
    M::FaultType kind;
    std::array<bool, 3> faulted;
    bool earthed;
    int held; // phase of the held current: the loop's first phase
};

const Loop LOOPS[] = {
    {M::FAULT_TYPE_A_E, {true, false, false}, true, 0},
    {M::FAULT_TYPE_B_E, {false, true, false}, true, 1},
    {M::FAULT_TYPE_C_E, {false, false, true}, true, 2},
    {M::FAULT_TYPE_A_B, {true, true, false}, false, 0},
    {M::FAULT_TYPE_B_C, {false, true, true}, false, 1},
    {M::FAULT_TYPE_C_A, {true, false, true}, false, 2},
    {M::FAULT_TYPE_A_B_E, {true, true, false}, true, 0},
    {M::FAULT_TYPE_B_C_E, {false, true, true}, true, 1},
    {M::FAULT_TYPE_C_A_E, {true, false, true}, true, 2},
    {M::FAULT_TYPE_A_B_C, {true, true, true}, true, 0},
};

Cx of(const BaseDataPhaseValue& p) { return polar(p.dataRange, p.dataAngle); }

void setKL(BaseDataRepairFactor& f, Cx k)
{
    f.dataType = BaseDataRepairFactor::REPAIR_TYPE_KL;
    f.dataFactor1 = std::abs(k);
    f.dataFactor2 = argDeg(k);
}

// The other phase of a two-phase loop.
int partner(const Loop& loop)
{
    for (int k = 1; k <= 2; ++k)
        if (loop.faulted[(loop.held + k) % 3])
            return (loop.held + k) % 3;
    return loop.held;
}

// The source a constant-current or constant-voltage result implies:
// phase-earth loops a source without earth factor, two-phase-earth loops one
// with the line's factor, the others positive sequence only.
Sequence impliedSource(const Loop& loop, const Phases& i, Cx zf)
{
    const Phases e = emf(E);
    const int x = loop.held;
    if (loop.kind <= M::FAULT_TYPE_C_E) {
        const Cx zx = e[x] / i[x] - (1.0 + KL) * zf;
        return {zx, zx};
    }
    if (loop.kind <= M::FAULT_TYPE_C_A) {
        const Cx zx = (e[x] - e[partner(loop)]) / (2.0 * i[x]) - zf;
        return {zx, zx};
    }
    if (loop.kind <= M::FAULT_TYPE_C_A_E) {
        // Source and line share one earth factor, so the currents go with
        // 1 / (zf + zx): solve for a 1-ohm loop and scale.
        const Cx k3 = 3.0 * KL + 1.0;
        const Result unit = solve(E, {1.0 - zf, k3 * (1.0 - zf)}, {zf, k3 * zf}, loop.faulted, true);
        const Cx zx = unit.i[x] / i[x] - zf;
        return {zx, k3 * zx};
    }
    const Cx zx = e[0] / i[0] - zf;
    return {zx, zx};
}

void configure(M& m, const Loop& loop, M::DistanceType kind, M::DirectionType dir, M::CTPositionType ct)
{
    m.faultKind = loop.kind;
    m.distanceKind = kind;
    m.faultDirection = dir;
    m.ctPosition = ct;
    m.shortImpedance = BaseDataVector(std::abs(ZF), argDeg(ZF));
    setKL(m.shortFactor, KL);
    setKL(m.systemFactor, KS);
    m.faultCurrentRange = 2.0;
    m.faultVoltageRange = 10.0;
}

void expectNear(Cx got, Cx want, const char* what, int phase)
{
    EXPECT_LE(std::abs(got - want), 1e-9 * (1.0 + std::abs(want)))
        << what << " phase " << phase << ": " << got << " want " << want;
}

} // namespace

TEST(DistanceNetwork, AllLoopsModelsDirectionsAndCTSides)
{
    for (const Loop& loop : LOOPS)
        for (auto kind : {M::DISTANCE_TYPE_ICONSTANT, M::DISTANCE_TYPE_VCONSTANT, M::DISTANCE_TYPE_ZCONSTANT})
            for (auto dir : {M::DIRECTION_TYPE_POSITIVE, M::DIRECTION_TYPE_NEGATIVE})
                for (auto ct : {M::CT_POSITION_TYPE_BUS, M::CT_POSITION_TYPE_LINE}) {
                    SCOPED_TRACE(testing::Message() << "loop " << loop.kind << " model " << kind
                                                    << " dir " << dir << " ct " << ct);
                    M m;
                    configure(m, loop, kind, dir, ct);
                    State fault;
                    const bool ok = m.compute(fault.data());

                    // With the source equal to the fault impedance a reverse
                    // fault cancels the loop; only the phase-earth loop keeps
                    // the difference of the two earth factors.
                    const bool cancelled = kind == M::DISTANCE_TYPE_ZCONSTANT
                        && dir == M::DIRECTION_TYPE_NEGATIVE && loop.kind > M::FAULT_TYPE_C_E;
                    ASSERT_EQ(ok, !cancelled);
                    if (cancelled)
                        continue;

                    const Cx zf = dir == M::DIRECTION_TYPE_NEGATIVE ? -ZF : ZF;
                    const double turn = ct == M::CT_POSITION_TYPE_BUS ? -1.0 : 1.0;
                    Phases u, i;
                    for (int k = 0; k < 3; ++k) {
                        u[k] = of(fault[k]);
                        i[k] = turn * of(fault[4 + k]);
                        EXPECT_DOUBLE_EQ(fault[k].dataFrequency, 50.0);
                        EXPECT_DOUBLE_EQ(fault[4 + k].dataFrequency, 50.0);
                    }

                    const Sequence line{zf, (3.0 * KL + 1.0) * zf};
                    Sequence source{ZF, (3.0 * KS + 1.0) * ZF};
                    if (kind != M::DISTANCE_TYPE_ZCONSTANT) {
                        source = impliedSource(loop, i, zf);
                        // The held quantity fixes the magnitude only: the
                        // source lies along the loop impedance.
                        const Cx along = loop.kind <= M::FAULT_TYPE_C_E ? (1.0 + KL) * zf : zf;
                        EXPECT_NEAR(std::imag(source.z1 / along), 0.0, 1e-9);
                        const int x = loop.held, y = partner(loop);
                        const bool twoPhase = loop.kind >= M::FAULT_TYPE_A_B && loop.kind <= M::FAULT_TYPE_C_A_E;
                        if (kind == M::DISTANCE_TYPE_ICONSTANT)
                            EXPECT_NEAR(std::abs(i[x]), 2.0, 1e-9);
                        else
                            EXPECT_NEAR(std::abs(twoPhase ? u[x] - u[y] : u[x]), 10.0, 1e-9);
                    }
                    const Result want = solve(E, source, line, loop.faulted, loop.earthed);
                    for (int k = 0; k < 3; ++k) {
                        expectNear(u[k], want.u[k], "U", k);
                        expectNear(i[k], want.i[k], "I", k);
                    }
                }
}
