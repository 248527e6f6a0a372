#include <gtest/gtest.h>

#include "BaseModelUXDefine.h"

#include <cmath>
#include <complex>
#include <random>

namespace {

using UX = BaseModelUXDefine;
using Phase = BaseDataPhaseValue;
using Cx = std::complex<double>;
constexpr double PI = 3.141592653589793;
constexpr double K = 1.7319999933242798; // the single-precision 1.732 of the definitions

Cx polarDeg(double r, double deg)
{
    return {r * std::cos(deg * PI / 180.0), r * std::sin(deg * PI / 180.0)};
}

Cx of(const Phase& p) { return polarDeg(p.dataRange, p.dataAngle); }

UX define(UX::DefineType d, UX::ReferenceType r = UX::None)
{
    UX ux;
    ux.Define = d;
    ux.Reference = r;
    return ux;
}

// UX before the reference step, from the phase voltages as complex numbers.
Cx derived(UX::DefineType d, Cx a, Cx b, Cx c)
{
    const Cx u0 = (a + b + c) / 3.0;
    switch (d) {
    case UX::PU0: return u0;
    case UX::NU0: return -u0;
    case UX::PG3U0: return K * u0;
    case UX::NG3U0: return -K * u0;
    case UX::P3U0: return 3.0 * u0;
    case UX::N3U0: return -3.0 * u0;
    case UX::P3G3U0: return 3.0 * K * u0;
    case UX::N3G3U0: return -3.0 * K * u0;
    case UX::CNVA: return a;
    case UX::CNVB: return b;
    case UX::CNVC: return c;
    case UX::CNVAB: return a - b;
    case UX::CNVBC: return b - c;
    case UX::CNVCA: return c - a;
    default: return a;
    }
}

} // namespace

TEST(UXDefine, ZeroSequenceMultiplesWorkedNumbers)
{
    struct Row { UX::DefineType d; double range, angle; };
    const Row rows[] = {
        {UX::PU0, 100.0 / 3, 0},       {UX::NU0, 100.0 / 3, 180},
        {UX::PG3U0, 100.0 / 3 * K, 0}, {UX::NG3U0, 100.0 / 3 * K, 180},
        {UX::P3U0, 100, 0},            {UX::N3U0, 100, 180},
        {UX::P3G3U0, 100 * K, 0},      {UX::N3G3U0, 100 * K, 180},
    };
    const Phase ua(100, 0, 50), zero(0, 0, 50);
    const Phase balanced[] = {Phase(57.735, 0, 50), Phase(57.735, 240, 60), Phase(57.735, 120, 60)};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.d);
        UX ux = define(r.d);
        const Phase out = ux.compute(ua, zero, zero, true);
        EXPECT_NEAR(out.dataRange, r.range, 1e-9);
        EXPECT_NEAR(out.dataAngle, r.angle, 1e-12);
        EXPECT_EQ(out.dataFrequency, 50.0);
        // A balanced set leaves only a residue, which normalises to (0, 0).
        const Phase none = ux.compute(balanced[0], balanced[1], balanced[2], true);
        EXPECT_EQ(none.dataRange, 0.0);
        EXPECT_EQ(none.dataAngle, 0.0);
        EXPECT_EQ(none.dataFrequency, 50.0);
    }
    EXPECT_NEAR(define(UX::N3G3U0).compute(ua, zero, zero, true).dataRange, 173.2, 1e-5);
}

TEST(UXDefine, PhaseAndLineDefinitionsWithReferences)
{
    UX ux = define(UX::CNVAB);
    Phase out = ux.compute(Phase(1, 0, 50), Phase(1, 240, 50), Phase(0, 0, 50), true);
    EXPECT_NEAR(out.dataRange, std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(out.dataAngle, 30.0, 1e-9);

    ux = define(UX::CNVA, UX::UA);
    EXPECT_NEAR(ux.compute(Phase(1, 200, 50), Phase(), Phase(), true).dataAngle, 40.0, 1e-9);
    ux = define(UX::NU0);
    EXPECT_NEAR(ux.compute(Phase(3, 200, 50), Phase(), Phase(), true).dataAngle, 20.0, 1e-9);

    // Every definition and reference on random voltages, against complex arithmetic.
    std::mt19937 gen(1105);
    std::uniform_real_distribution<double> mag(1, 120), ang(-400, 400);
    for (int i = 0; i < 40; ++i) {
        const Phase a(mag(gen), ang(gen), 50), b(mag(gen), ang(gen), 60), c(mag(gen), ang(gen), 70);
        const Cx A = of(a), B = of(b), C = of(c);
        const Cx turn[] = {1.0, polarDeg(1, a.dataAngle), polarDeg(1, b.dataAngle), polarDeg(1, c.dataAngle),
                           std::polar(1.0, std::arg(A - B)), std::polar(1.0, std::arg(B - C)),
                           std::polar(1.0, std::arg(C - A))};
        for (int d = UX::PU0; d <= UX::CNVCA + 1; ++d) {
            for (int r = UX::None; r <= UX::UCA; ++r) {
                SCOPED_TRACE(testing::Message() << "define " << d << " reference " << r);
                UX ux2 = define(static_cast<UX::DefineType>(d), static_cast<UX::ReferenceType>(r));
                const Phase got = ux2.compute(a, b, c, true);
                const Cx want = derived(static_cast<UX::DefineType>(d), A, B, C) * turn[r];
                EXPECT_LE(std::abs(of(got) - want), 1e-9 * std::max(1.0, std::abs(want)));
                EXPECT_GE(got.dataRange, 0.0);
                EXPECT_LT(std::abs(got.dataAngle), 360.0);
                EXPECT_EQ(got.dataFrequency, 50.0); // UA's, whatever the source
                EXPECT_EQ(ux2.CustomPhase.dataRange, got.dataRange);
                EXPECT_EQ(ux2.CustomPhase.dataAngle, got.dataAngle);
                EXPECT_EQ(ux2.CustomPhase.dataFrequency, got.dataFrequency);
            }
        }
    }
}

TEST(UXDefine, CustomKeepsTheUserValueAndPortArrayGetsUX)
{
    UX ux = define(UX::Custom, UX::UB);
    ux.CustomPhase = Phase(5, 6, 7);
    const Phase out = ux.compute(Phase(1, -30, 50), Phase(2, 90, 50), Phase(), true);
    EXPECT_EQ(out.dataRange, 1.0);
    EXPECT_EQ(out.dataAngle, -30.0); // a plain copy of UA, not normalised
    EXPECT_EQ(ux.CustomPhase.dataRange, 5.0);
    EXPECT_EQ(ux.CustomPhase.dataFrequency, 7.0);

    UX copy;
    copy.setValue(ux);
    EXPECT_EQ(copy.Reference, UX::UB);
    EXPECT_EQ(copy.CustomPhase.dataAngle, 6.0);

    Phase ports[8] = {Phase(1, 0, 50), Phase(1, 240, 50), Phase(1, 120, 50), Phase(9, 9, 9)};
    UX line = define(UX::CNVAB);
    line.compute(ports, true);
    EXPECT_NEAR(ports[3].dataRange, std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(ports[3].dataAngle, 30.0, 1e-9);
    EXPECT_EQ(ports[4].dataRange, 0.0);
    line.compute(nullptr, true); // no ports: nothing to do
}
