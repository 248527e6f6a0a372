#include <gtest/gtest.h>

#include "BaseDataRepairFactor.h"

#include <cmath>
#include <complex>
#include <limits>
#include <random>

namespace {

using F = BaseDataRepairFactor;
using Cx = std::complex<double>;
constexpr double PI = 3.141592653589793;
constexpr double DMAX = std::numeric_limits<double>::max();

Cx polarDeg(double r, double deg)
{
    return {r * std::cos(deg * PI / 180.0), r * std::sin(deg * PI / 180.0)};
}

double argDeg(Cx z) { return std::arg(z) * 180.0 / PI; }

F factor(F::RepairType type, double f1, double f2, double setting = 75, double fault = 75,
         bool calc = false, bool arc = false)
{
    F f;
    f.dataType = type;
    f.dataFactor1 = f1;
    f.dataFactor2 = f2;
    f.dataSettingAngle = setting;
    f.dataShortAngle = fault;
    f.dataCalcPerlXexlEnable = calc;
    f.dataSeparateArcResistance = arc;
    return f;
}

// KL from the line's ratios: ZE / ZL with ZL = 1 at phi and ZE = RE/RL cos(phi) + j XE/XL sin(phi).
Cx klFromRatios(double phi, double reRl, double xeXl)
{
    const Cx zl = polarDeg(1, phi);
    return Cx(reRl * zl.real(), xeXl * zl.imag()) / zl;
}

void expectKL(const F& f, Cx want, double tol = 1e-9)
{
    EXPECT_EQ(f.dataType, F::REPAIR_TYPE_KL);
    EXPECT_LE(std::abs(polarDeg(f.dataFactor1, f.dataFactor2) - want), tol)
        << f.dataFactor1 << "/" << f.dataFactor2 << " want " << want;
}

} // namespace

TEST(RepairFactor, WorkedConversions)
{
    struct Row {
        const char* name;
        F in;
        F::RepairType target;
        double f1, f2;
    };
    const auto KL = F::REPAIR_TYPE_KL, RX = F::REPAIR_TYPE_RERL_XEXL, Z = F::REPAIR_TYPE_Z0Z1;
    const Row rows[] = {
        {"default", F(), KL, 1.0, 0.0},
        {"KL to Z", factor(KL, 1, 0), Z, 4, 0},
        {"Z to KL", factor(Z, 4, 0), KL, 1, 0},
        {"Z 1 to KL", factor(Z, 1, 0), KL, 0, 0}, // zero value: angle 0
        {"RX to KL, B", factor(RX, 0.6, 0.8), KL, 0.78819005102, 3.63708456775},
        {"RX to KL, A", factor(RX, 0.6, 0.8, 75, 80, true), KL, 0.79470558505, 2.46661978472},
        {"RX to KL, arc", factor(RX, 0.6, 0.8, 75, 80, true, true), KL, 0.78819005102, 3.63708456775},
        {"KL to RX, B", factor(KL, 0.7, -10), RX, 1.14301010229, 0.65679520483},
        {"KL to Z, B", factor(KL, 0.7, -10), Z, 3.08969133776, -6.77813997994},
        {"KL to KL, A", factor(KL, 0.7, -10, 75, 80, true), KL, 0.67658495271, -7.05910308356},
        {"KL to RX at 0", factor(KL, 0.5, 0, 0), RX, 0.5, DMAX},
        {"RX stays", factor(RX, 0.3, 0.4, 75, 80, true), RX, 0.3, 0.4},
        {"Z stays", factor(Z, 2, 10, 75, 80, true), Z, 2, 10},
        // The quadrant of a negative real part is kept.
        {"Z 0.5 to KL", factor(Z, 0.5, 0), KL, 1.0 / 6, 180},
        {"Z sqrt2/-45 to KL", factor(Z, std::sqrt(2.0), -45), KL, 1.0 / 3, -90},
        {"KL 0.5/180 to Z", factor(KL, 0.5, 180), Z, 0.5, 180},
        {"KL 1/135 to Z", factor(KL, 1, 135), Z, std::abs(1.0 + 3.0 * polarDeg(1, 135)),
         argDeg(1.0 + 3.0 * polarDeg(1, 135))},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        F out = r.in;
        out.updateTo(r.target);
        EXPECT_EQ(out.dataType, r.target);
        EXPECT_NEAR(out.dataFactor1, r.f1, 1e-9 * std::max(1.0, std::abs(r.f1)));
        EXPECT_NEAR(out.dataFactor2, r.f2, 1e-8 * std::max(1.0, std::abs(r.f2)));
        EXPECT_EQ(out.dataSettingAngle, r.in.dataSettingAngle);
        EXPECT_EQ(out.dataCalcPerlXexlEnable, r.in.dataCalcPerlXexlEnable);
    }
    EXPECT_EQ(F().toKLVector().dataRange, 1.0);
    EXPECT_EQ(F().toKLVector().dataAngle, 0.0);
    const BaseDataVector v = factor(F::REPAIR_TYPE_Z0Z1, 0.5, 0).toKLVector();
    EXPECT_NEAR(v.dataAngle, 180.0, 1e-12);
}

TEST(RepairFactor, PrimitivesMatchImpedanceDefinitions)
{
    std::mt19937 gen(1104);
    std::uniform_real_distribution<double> mag(0.01, 3), ang(-180, 180), line(1, 179);
    for (int i = 0; i < 500; ++i) {
        const double r = mag(gen), a = ang(gen), phi = (i % 2 ? 1 : -1) * line(gen);
        const Cx kl = polarDeg(r, a);
        double reRl, xeXl, r2, a2;
        F::repairKLToRERLXEXL(phi, r, a, reRl, xeXl);
        EXPECT_LE(std::abs(klFromRatios(phi, reRl, xeXl) - kl), 1e-9);
        F::repairRERLXEXLToKL(phi, reRl, xeXl, r2, a2);
        EXPECT_NEAR(r2, std::abs(kl), 1e-9);
        EXPECT_NEAR(std::remainder(a2 - argDeg(kl), 360.0), 0.0, 1e-7);

        F::repairKLToZ0Z1(r, a, r2, a2);
        const Cx z = 1.0 + 3.0 * kl;
        EXPECT_NEAR(r2, std::abs(z), 1e-12);
        EXPECT_NEAR(a2, argDeg(z), 1e-9);
        double r3, a3;
        F::repairZ0Z1ToKL(r2 * 1.5, a2, r3, a3);
        const Cx back = (polarDeg(r2 * 1.5, a2) - 1.0) / 3.0;
        EXPECT_NEAR(r3, std::abs(back), 1e-12);
        EXPECT_NEAR(a3, argDeg(back), 1e-9);
        EXPECT_GT(a3, -180.0);
        EXPECT_LE(a3, 180.0);
    }
}

// Random factors, including negative real parts; line angles keep clear of
// 0 and 180 degrees, where XE/XL has no finite value.
TEST(RepairFactor, RoundTripsThroughEveryForm)
{
    std::mt19937 gen(75);
    std::uniform_real_distribution<double> mag(0.01, 3), ang(-180, 180), line(1, 179);
    int negativeReal = 0;
    for (int i = 0; i < 500; ++i) {
        const double S = (i % 2 ? 1 : -1) * line(gen), Fa = line(gen);
        const F kl = factor(F::REPAIR_TYPE_KL, mag(gen), ang(gen), S, Fa);
        const Cx want = polarDeg(kl.dataFactor1, kl.dataFactor2);
        negativeReal += want.real() < 0;

        expectKL(kl.toRERLXEXL().toKL(), want);      // mode B
        expectKL(kl.toZ0Z1().toKL(), want);
        // Mode A: the ratios belong to the line, taken at S; KL is re-evaluated at F.
        const Cx atS = want * polarDeg(1, S);
        const double re = atS.real() / std::cos(S * PI / 180), xe = atS.imag() / std::sin(S * PI / 180);
        F modeA = kl.toZ0Z1();
        modeA.dataCalcPerlXexlEnable = true;
        const F ratios = modeA.toRERLXEXL();
        EXPECT_NEAR(ratios.dataFactor1, re, 1e-9 * std::max(1.0, std::abs(re)));
        EXPECT_NEAR(ratios.dataFactor2, xe, 1e-9 * std::max(1.0, std::abs(xe)));
        expectKL(modeA.toKL(), klFromRatios(Fa, re, xe));
        modeA.dataShortAngle = S; // same angles: mode A changes nothing
        expectKL(modeA.toKL(), want);

        F viaUpdate = kl;
        viaUpdate.updateTo(F::REPAIR_TYPE_Z0Z1);
        viaUpdate.updateTo(F::REPAIR_TYPE_RERL_XEXL);
        viaUpdate.updateTo(F::REPAIR_TYPE_KL);
        expectKL(viaUpdate, want);
    }
    EXPECT_GT(negativeReal, 100);
}

TEST(RepairFactor, UpdateToKeepsOwnFormAndIgnoresUnknownForms)
{
    const F original = factor(F::REPAIR_TYPE_KL, 0.7, 200, 60, 70, true, true);
    F same = original;
    same.updateTo(F::REPAIR_TYPE_KL);
    EXPECT_EQ(same.dataFactor1, 0.7);
    EXPECT_EQ(same.dataFactor2, 200.0);
    F unknown = factor(F::REPAIR_TYPE_Z0Z1, 2, 10, 60, 70, true);
    unknown.updateTo(static_cast<F::RepairType>(5));
    EXPECT_EQ(unknown.dataType, F::REPAIR_TYPE_Z0Z1);
    EXPECT_EQ(unknown.dataFactor1, 2.0);
    EXPECT_EQ(unknown.dataFactor2, 10.0);
    F copy;
    copy.setValue(unknown);
    EXPECT_EQ(copy.dataShortAngle, 70.0);
    EXPECT_TRUE(copy.dataCalcPerlXexlEnable);

    // NaN and the "no value" XE/XL of a line at 0 degrees do not trap.
    for (double bad : {std::nan(""), DMAX, -std::numeric_limits<double>::infinity()}) {
        const F f = factor(F::REPAIR_TYPE_RERL_XEXL, 0.5, bad, 180, 0, true);
        const F results[] = {f.toKL(), f.toZ0Z1(), f.toRERLXEXL().toKL()};
        EXPECT_EQ(results[0].dataType, F::REPAIR_TYPE_KL);
    }
}
