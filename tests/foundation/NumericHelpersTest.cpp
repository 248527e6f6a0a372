#include <gtest/gtest.h>

#include "BaseDataUtility.h"
#include "BaseUtilityHelper.h"
#include "TestSandbox.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <complex>
#include <limits>
#include <random>

namespace {

using U = BaseDataUtility;
using H = BaseUtilityHelper;
using Cx = std::complex<double>;
constexpr double PI = 3.141592653589793;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr double DMAX = std::numeric_limits<double>::max();

Cx polarDeg(double r, double deg)
{
    return {r * std::cos(deg * PI / 180.0), r * std::sin(deg * PI / 180.0)};
}

// Same value, or both NaN.
void expectSame(double got, double want, double tol = 1e-9)
{
    if (std::isnan(want))
        EXPECT_TRUE(std::isnan(got)) << got;
    else if (std::isinf(want))
        EXPECT_EQ(got, want);
    else
        EXPECT_NEAR(got, want, tol);
}

} // namespace

TEST(NumericHelpers, AngleFolds)
{
    struct Row { double in, fold, fold180, positive, free; };
    // fold: formatAngle(a); fold180: formatAngle180(a); positive/free: formatAngle(a, true/false).
    const double huge = std::fmod(1e300, 360.0); // positive, exact
    const Row rows[] = {
        {720, 0, 0, 0, 0},
        {360, 360, 0, 0, 0},
        {-360, -360, 0, 0, 0},
        {-400, -40, -40, 320, -40},
        {1000, 280, -80, 280, 280},
        {190, 190, -170, 190, 190},
        {-180, -180, -180, 180, -180},
        {540, 180, 180, 180, 180},
        {-30, -30, -30, 330, -30},
        {-1e-14, -1e-14, -1e-14, 0, -1e-14}, // 360 - 1e-14 rounds to 360, which is 0
        // Far beyond a 32-bit count of turns: folded exactly in double.
        {1e12, 280, -80, 280, 280},
        {-1e12, -280, 80, 80, -280},
        {3.6e14 + 45, 45, 45, 45, 45},
        {1e300, huge, huge > 180 ? huge - 360 : huge, huge, huge},
        {NaN, NaN, NaN, NaN, NaN},
        {Inf, Inf, Inf, Inf, Inf},
        {-Inf, -Inf, -Inf, -Inf, -Inf},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.in);
        expectSame(U::formatAngle(r.in), r.fold);
        expectSame(U::formatAngle180(r.in), r.fold180);
        expectSame(U::formatAngle(r.in, true), r.positive);
        expectSame(U::formatAngle(r.in, false), r.free);
        if (std::isfinite(r.in)) {
            EXPECT_LE(std::abs(U::formatAngle(r.in)), 360.0);
            const double p = U::formatAngle(r.in, true);
            EXPECT_TRUE(p >= 0.0 && p < 360.0) << p;
        }
    }
}

TEST(NumericHelpers, PolarNormalisation)
{
    struct Row { double range, angle, angleOut, rangeOut, angleVec; };
    // angleOut: formatAngle(range, angle); (rangeOut, angleVec): formatVector.
    const Row rows[] = {
        {-2, 10, 190, 2, 190},
        {1e-8, 45, 0, 0, 0},
        {1e-7, 45, 0, 0, 0},
        {-2, 200, 20, 2, 20},
        {1, 359.99995, 359.99995, 1, 0.00005},
        {1, -359.99995, -359.99995, 1, 0.00005},
        {1, 719.99995, 359.99995, 1, 0.00005},
        {3, 1e12, 280, 3, 280},
        {1, Inf, Inf, 1, Inf},
        {NaN, 30, 30, NaN, 30},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.range << "," << r.angle);
        expectSame(U::formatAngle(r.range, r.angle), r.angleOut, 1e-9);
        double range = r.range, angle = r.angle;
        U::formatVector(range, angle);
        expectSame(range, r.rangeOut);
        expectSame(angle, r.angleVec, 1e-9);
    }
}

TEST(NumericHelpers, ZeroDivisionCompareAndSwap)
{
    EXPECT_EQ(U::formatZero(0.0001, 0.001), 0.001);
    EXPECT_EQ(U::formatZero(-0.0001, 0.001), -0.001);
    EXPECT_EQ(U::formatZero(0, -0.001), 0.001);
    EXPECT_EQ(U::formatZero(0.5, 0.001), 0.5);
    EXPECT_EQ(U::division(1, 0), 0.0);
    EXPECT_EQ(U::division(1, 1e-11), 0.0);
    EXPECT_DOUBLE_EQ(U::division(1, 1e-10), 1e10);
    EXPECT_EQ(U::qFuzzyCompare(1.0f, 1.0000005f), 0);
    EXPECT_EQ(U::qFuzzyCompare(2, 1), 1);
    EXPECT_EQ(U::qFuzzyCompare(1, 2), -1);
    double a = 1, b = 2;
    U::swap(a, b);
    EXPECT_EQ(a, 2.0);
    EXPECT_EQ(b, 1.0);
    EXPECT_TRUE(H::isZero(9e-8));
    EXPECT_FALSE(H::isZero(1e-7));
    EXPECT_TRUE(H::isMax(-DMAX));
    EXPECT_FALSE(H::isMax(Inf));
    EXPECT_TRUE(H::isNaN(NaN));

    struct Row { double max, min, in, out; };
    const Row limits[] = {{10, 0, 12, 10}, {10, 0, -1, 0}, {10, 0, 5, 5},
                          {0, 10, -5, 10}, {0, 10, 5, 10}, {0, 10, 50, 10}, {10, 0, NaN, NaN}};
    for (const Row& r : limits) {
        double v = r.in;
        H::formatLimit(r.max, r.min, &v);
        expectSame(v, r.out);
    }
    H::formatLimit(1, 0, nullptr);
}

TEST(NumericHelpers, HelperPolarForms)
{
    struct Row { double range, angle, rangeOut, angleOut; };
    const Row vec[] = {{5, -30, 5, 330}, {5, 720.00005, 5, 0.00005}, {1e-7, 30, 0, 30},
                       {2, -1e12, 2, 80}, {2, 360, 2, 0}, {2, NaN, 2, NaN}};
    for (const Row& r : vec) {
        SCOPED_TRACE(r.angle);
        double range = r.range, angle = r.angle;
        H::formatVector(&range, &angle);
        expectSame(range, r.rangeOut);
        expectSame(angle, r.angleOut, 1e-9);
    }
    double re = 1, im = 1, range = 0, angle = 0;
    H::vectorToComplex(3, -90, &re, &im);
    EXPECT_EQ(re, 0.0);
    H::vectorToComplex(3, -180, &re, &im);
    EXPECT_EQ(im, 0.0);
    H::complexToVector(0, -1, &range, &angle);
    EXPECT_EQ(range, 1.0);
    EXPECT_EQ(angle, 270.0);
    H::complexToVector(1e-7, 1e-7, &range, &angle);
    EXPECT_NEAR(range, 1.41421356e-7, 1e-15);
    EXPECT_EQ(angle, 0.0);

    std::mt19937 gen(1103);
    std::uniform_real_distribution<double> rd(0.01, 100), ad(-720, 720);
    auto check = [](double r, double a, Cx want) {
        EXPECT_GE(a, 0.0);
        EXPECT_LT(a, 360.0);
        EXPECT_LE(std::abs(polarDeg(r, a) - want), 1e-9 * std::max(1.0, std::abs(want)));
    };
    for (int i = 0; i < 300; ++i) {
        const double r1 = rd(gen), a1 = ad(gen), r2 = rd(gen), a2 = ad(gen);
        const Cx x = polarDeg(r1, a1), y = polarDeg(r2, a2);
        H::vectorAdd(r1, a1, r2, a2, &range, &angle);
        check(range, angle, x + y);
        H::vectorDec(r1, a1, r2, a2, &range, &angle);
        check(range, angle, x - y);
        H::vectorMul(r1, a1, r2, a2, &range, &angle);
        check(range, angle, x * y);
        H::vectorDiv(r1, a1, r2, a2, &range, &angle);
        check(range, angle, x / y);
    }
    for (double divisor : {0.0, 3e-4}) { // squared magnitude below 1e-7
        H::vectorDiv(5, 10, divisor, 20, &range, &angle);
        EXPECT_EQ(range, 0.0);
        EXPECT_EQ(angle, 0.0);
    }
}

// S = U * conj(I) and I = conj(S / U); the angles of U and I subtract.
TEST(NumericHelpers, PowerUsesTheConjugateCurrent)
{
    double P, Q, S, PF, ri, ai;
    H::computePower(100, 30, 2, 30, &P, &Q, &S, &PF);
    EXPECT_NEAR(P, 200, 1e-9);
    EXPECT_NEAR(Q, 0, 1e-9);
    EXPECT_NEAR(S, 200, 1e-9);
    EXPECT_NEAR(PF, 1, 1e-12);
    H::iFromPowerPQ(80, 60, 100, 0, &ri, &ai);
    EXPECT_NEAR(ri, 1.0, 1e-12);
    EXPECT_NEAR(ai, 360 - 36.869897645844, 1e-9); // lagging: -36.87 degrees
    H::iFromPowerPQ(80, 60, 0, 10, &ri, &ai);
    EXPECT_EQ(ri, 0.0);
    H::PQFromPowerSPF(100, 0.8, &P, &Q);
    EXPECT_NEAR(P, 80, 1e-12);
    EXPECT_NEAR(Q, 60, 1e-12);

    std::mt19937 gen(4);
    std::uniform_real_distribution<double> rd(1, 300), ad(-360, 360), pq(-1000, 1000);
    for (int i = 0; i < 300; ++i) {
        const double rv = rd(gen), av = ad(gen), rc = rd(gen), ac = ad(gen);
        const Cx s = polarDeg(rv, av) * std::conj(polarDeg(rc, ac));
        H::computePower(rv, av, rc, ac, &P, &Q, &S, &PF);
        EXPECT_NEAR(P, std::abs(s.real()), 1e-9 * std::abs(s));
        EXPECT_NEAR(Q, std::abs(s.imag()), 1e-9 * std::abs(s));
        EXPECT_NEAR(S, std::abs(s), 1e-9 * std::abs(s));
        EXPECT_NEAR(PF, std::abs(s.real()) / std::abs(s), 1e-9);

        const Cx power(pq(gen), pq(gen));
        const Cx current = std::conj(power / polarDeg(rv, av));
        H::iFromPowerPQ(power.real(), power.imag(), rv, av, &ri, &ai);
        EXPECT_LE(std::abs(polarDeg(ri, ai) - current), 1e-9 * std::max(1.0, std::abs(current)));
        // Check the relation itself: U * conj(I) gives back P + jQ.
        EXPECT_LE(std::abs(polarDeg(rv, av) * std::conj(polarDeg(ri, ai)) - power),
                  1e-9 * std::max(1.0, std::abs(power)));
    }
}

TEST(NumericHelpers, VersionPackingAndTexts)
{
    EXPECT_EQ(H::versionbe(1, 2, 3, 4), 0x04030201u);
    EXPECT_EQ(H::versionle(1, 2, 3, 4), 0x01020304u);
    EXPECT_EQ(H::versionbe(H::versionbe(1, 2, 3, 4)), "1.02.0304");
    EXPECT_EQ(H::versionle(H::versionle(1, 2, 3, 4)), "1.02.0304");
    EXPECT_EQ(H::versionle(0u), "0.00.0000");
    EXPECT_EQ(H::versionle(0, 0, 0, 1), 1u);
    EXPECT_EQ(H::versionbe(256, 0, 0, 0), 0x100u);       // spills into the next byte
    EXPECT_EQ(H::versionle(0, 0, 0, -1), 0xFFFFFFFFu);   // negative arguments are defined too
    EXPECT_EQ(H::versionbe(0, 0, 0, 200), 0xC8000000u);
    EXPECT_EQ(U::formatVersion(H::versionbe(2, 0, 0, 4)), "2.0.0004");
    EXPECT_EQ(U::formatVersion(0x0C0B0A09u), "9.10.1112");
}

TEST(NumericHelpers, AppRootIsTheWorkingDirectory)
{
    TestSandbox sandbox;
    ASSERT_TRUE(sandbox.isValid());
    ASSERT_TRUE(QDir().mkpath(sandbox.filePath("work")));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(sandbox.filePath("work")));
    const QString root = H::getAppRootPath();
    QDir::setCurrent(before);

    EXPECT_EQ(QFileInfo(root).canonicalFilePath(), QFileInfo(sandbox.filePath("work")).canonicalFilePath());
    EXPECT_TRUE(QFileInfo(root).isAbsolute());
    EXPECT_FALSE(root.endsWith('/'));
    EXPECT_EQ(H::getAppRootPath(), before);
}
