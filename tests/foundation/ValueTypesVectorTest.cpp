#include <gtest/gtest.h>

#include "BaseDataComplex.h"
#include "BaseDataVector.h"

#include <cmath>
#include <complex>
#include <limits>
#include <random>

namespace {

using Cx = std::complex<double>;
constexpr double PI = 3.141592653589793;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

Cx polarDeg(double r, double deg)
{
    return {r * std::cos(deg * PI / 180.0), r * std::sin(deg * PI / 180.0)};
}

Cx of(const BaseDataVector& v) { return polarDeg(v.dataRange, v.dataAngle); }
Cx of(const BaseDataComplex& c) { return {c.dataReal, c.dataImage}; }

// A polar result: non-negative range, angle in [0, 360), and the expected value.
void expectPolar(const BaseDataVector& v, Cx expected, double tol = 1e-9)
{
    EXPECT_GE(v.dataRange, 0.0);
    EXPECT_GE(v.dataAngle, 0.0);
    EXPECT_LT(v.dataAngle, 360.0);
    EXPECT_LE(std::abs(of(v) - expected), tol * std::max(1.0, std::abs(expected)))
        << "got " << v.dataRange << "/" << v.dataAngle << " want " << expected;
}

void expectRect(const BaseDataComplex& c, Cx expected, double tol = 1e-9)
{
    EXPECT_LE(std::abs(of(c) - expected), tol * std::max(1.0, std::abs(expected)))
        << "got " << of(c) << " want " << expected;
}

} // namespace

TEST(ValueTypesVector, RectangularPartsSnapOnlyAtListedStoredAngles)
{
    struct Row { double angle; bool realZero; bool imageZero; };
    const Row rows[] = {
        {90, true, false}, {270, true, false}, {0, false, true}, {180, false, true},
        {360, false, true}, {-90, false, false}, {450, false, false}, {45, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.angle);
        const BaseDataVector v(2, r.angle);
        const Cx want = polarDeg(2, r.angle);
        if (r.realZero)
            EXPECT_EQ(v.getReal(), 0.0);
        else
            EXPECT_DOUBLE_EQ(v.getReal(), want.real());
        if (r.imageZero)
            EXPECT_EQ(v.getImage(), 0.0);
        else
            EXPECT_DOUBLE_EQ(v.getImage(), want.imag());
    }
    // Only the stored angles snap: -90 is the plain cosine product.
    EXPECT_NE(BaseDataVector(2, -90).getReal(), 0.0);
    EXPECT_NEAR(BaseDataVector(2, -90).getReal(), 0.0, 1e-15);
}

TEST(ValueTypesVector, ComplexAngleByQuadrant)
{
    struct Row { double re, im, angle; };
    const Row rows[] = {
        {0, 0, 0}, {-1, 0, 180}, {0, -2, 270}, {1, -1, 315}, {0, 3, 90}, {2, 0, 0},
        {1, 1, 45}, {-1, 1, 135}, {-1, -1, 225}, {NaN, 1, 0}, {1, -1e-20, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.re << "," << r.im);
        EXPECT_NEAR(BaseDataComplex(r.re, r.im).getAngle(), r.angle, 1e-12);
    }
    std::mt19937 gen(1101);
    std::uniform_real_distribution<double> part(-50, 50);
    for (int i = 0; i < 500; ++i) {
        const BaseDataComplex c(part(gen), part(gen));
        const double want = std::fmod(std::atan2(c.dataImage, c.dataReal) * 180 / PI + 360, 360);
        EXPECT_NEAR(c.getAngle(), want, 1e-9);
        EXPECT_NEAR(c.getRange(), std::abs(of(c)), 1e-12);
        EXPECT_LT(c.getAngle(), 360.0);
    }
}

TEST(ValueTypesVector, OperatorsMatchStdComplex)
{
    std::mt19937 gen(20240101);
    std::uniform_real_distribution<double> range(0, 100), angle(-720, 720);
    for (int i = 0; i < 300; ++i) {
        const BaseDataVector a(range(gen), angle(gen)), b(range(gen), angle(gen));
        const BaseDataComplex ca(a), cb(b);
        const Cx x = of(a), y = of(b);
        expectPolar(a + b, x + y);
        expectPolar(a - b, x - y);
        expectPolar(a * b, x * y);
        expectPolar(a / b, x / y);
        expectPolar(a + cb, x + y);
        expectPolar(ca - b, x - y);
        expectPolar(a * cb, x * y);
        expectPolar(ca / b, x / y);
        expectRect(ca + cb, x + y);
        expectRect(ca - cb, x - y);
        expectRect(ca * cb, x * y);
        expectRect(ca / cb, x / y);
        expectPolar(a * -2.5, x * -2.5);
        expectPolar(a / 3.0, x / 3.0);
        expectRect(ca * 4.0, x * 4.0);
        expectRect(ca / -7.0, x / -7.0);
    }
}

TEST(ValueTypesVector, NumberSumAddsToBothParts)
{
    expectPolar(BaseDataVector(1, 0) + 1.0, Cx(2, 1));
    EXPECT_NEAR((BaseDataVector(1, 0) + 1.0).getRange(), std::sqrt(5.0), 1e-12);
    EXPECT_NEAR((BaseDataVector(1, 0) + 1.0).getAngle(), 26.565051177, 1e-8);
    expectPolar(BaseDataVector(2, 90) - 0.5, Cx(-0.5, 1.5));
    expectRect(BaseDataComplex(3, -4) + 2.0, Cx(5, -2));
    expectRect(BaseDataComplex(3, -4) - 2.0, Cx(1, -6));

    const BaseDataVector flipped = BaseDataVector(1, 0) * -2.0;
    EXPECT_DOUBLE_EQ(flipped.dataRange, 2.0);
    EXPECT_DOUBLE_EQ(flipped.dataAngle, 180.0);
    const BaseDataVector scaled = BaseDataVector(1, 0).multiple(-2);
    EXPECT_EQ(scaled.dataRange, -2.0);
    EXPECT_EQ(scaled.dataAngle, 0.0);
    expectPolar(BaseDataVector(1, -90) + BaseDataVector(0, 0), Cx(0, -1));
    EXPECT_NEAR((BaseDataVector(1, -90) + BaseDataVector(0, 0)).getAngle(), 270.0, 1e-12);
}

TEST(ValueTypesVector, QuotientFloorsAndTinyNumberDivisor)
{
    const BaseDataVector one(1, 0);
    expectPolar(one / BaseDataVector(0, 0), Cx(0, 0));
    expectPolar(BaseDataVector(5, 33) / BaseDataVector(0, 12), Cx(0, 0));
    EXPECT_NEAR((one / BaseDataVector(1e-7, 0)).dataRange, 1e6, 1e-3);             // 1e-14 -> 1e-13
    EXPECT_NEAR((one / BaseDataComplex(1e-7, 0)).dataRange, 1e6, 1e-3);            // same floor
    EXPECT_NEAR((BaseDataComplex(1, 0) / one.multiple(1e-7)).dataRange, 1e6, 1e-3);
    expectRect(BaseDataComplex(1, 0) / BaseDataComplex(1e-7, 0), Cx(1e5, 0), 1e-12); // 1e-12 floor
    expectRect(BaseDataComplex(1, 2) / BaseDataComplex(0, 0), Cx(0, 0));

    // A number divisor not above 1e-7 gives the zero value, like the zero vector.
    const double tiny[] = {0.0, -0.0, 1e-7, -1e-7, 1e-300};
    for (double s : tiny) {
        SCOPED_TRACE(s);
        expectPolar(BaseDataVector(3, 40) / s, Cx(0, 0));
        expectRect(BaseDataComplex(3, 4) / s, Cx(0, 0));
    }
    expectPolar(BaseDataVector(1, 0) / 2e-7, Cx(5e6, 0));
}

TEST(ValueTypesVector, ConversionsSettersAndHelpers)
{
    BaseDataVector v(2, 45);
    v.setReal(0);
    EXPECT_NEAR(v.dataRange, std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(v.dataAngle, 90.0, 1e-12);
    v.setImage(-3);
    expectPolar(v, Cx(0, -3));

    BaseDataVector assigned(7, 7);
    assigned = BaseDataComplex(-1, -1);
    EXPECT_NEAR(assigned.dataRange, std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(assigned.dataAngle, 225.0, 1e-12);
    BaseDataComplex c(9, 9);
    c = BaseDataVector(2, 30);
    expectRect(c, polarDeg(2, 30));
    c.setAngle(120);
    expectRect(c, polarDeg(2, 120));
    c.setRange(5);
    expectRect(c, polarDeg(5, 120));
    expectPolar(c.getVector(), polarDeg(5, 120));

    const BaseDataVector p(2, 30);
    EXPECT_EQ(p.length(1).dataRange, 3.0);
    EXPECT_EQ(p.rotate(-60).dataAngle, -30.0);
    expectPolar(p.offset(1, -1), polarDeg(2, 30) + Cx(1, -1));
    EXPECT_NEAR(p.distance(BaseDataVector(1, 200)), std::abs(polarDeg(2, 30) - polarDeg(1, 200)), 1e-12);

    BaseDataVector f(-2, 10);
    f.formatAngle();
    EXPECT_DOUBLE_EQ(f.dataRange, 2.0);
    EXPECT_DOUBLE_EQ(f.dataAngle, 190.0);
    f.formatAngle(200); // 390 folds to 30
    EXPECT_DOUBLE_EQ(f.dataAngle, 30.0);
}

TEST(ValueTypesVector, NonFiniteInputsPropagateWithoutTrapping)
{
    // Every operator runs on NaN and infinite operands (the sanitizer build
    // proves they do not trap); a non-finite operand gives a non-finite result.
    const double bad[] = {NaN, Inf, -Inf};
    for (double x : bad) {
        SCOPED_TRACE(x);
        const BaseDataVector u(x, 30), w(1, 20);
        const BaseDataComplex c(x, 1), d(2, -1);
        for (const BaseDataVector& r : {u + w, u - w, u * w, u / w, w / u, u + 1.0, u * 2.0,
                                        u / 2.0, u + d, d * u, w / c})
            EXPECT_FALSE(std::isfinite(r.dataRange) && std::isfinite(r.dataAngle));
        for (const BaseDataComplex& r : {c + d, c - d, c * d, c / d, c + 1.0, c / 3.0})
            EXPECT_FALSE(std::isfinite(r.dataReal) && std::isfinite(r.dataImage));
    }
    EXPECT_TRUE(std::isnan((BaseDataVector(1, 0) / NaN).dataRange));
    EXPECT_EQ(BaseDataComplex(NaN, 2).getAngle(), 0.0);
}
