// The operate-time frame shared by every curve class, and each class's own
// formula against the formula written out here.

#include <gtest/gtest.h>

#include "OperatingCurves.h"

#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <type_traits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Values outside the enumerations (from a file) must be representable.
static_assert(std::is_same<std::underlying_type_t<OperatingCurves::CharacterType>, qint32>::value, "");
static_assert(std::is_same<std::underlying_type_t<OperatingCurves::IECCharType>, qint32>::value, "");

struct Curve
{
    const char* name;
    std::function<std::unique_ptr<OperatingCurves>()> make;
    OperatingCurves::CharacterType family;
};

std::unique_ptr<OperatingCurves> standard(OperatingCurves::IECCharType type, double A, double B, double P, double Q,
                                          double K1 = 0.0, double K2 = 0.0)
{
    auto c = std::make_unique<OverCurrentChar>(QStringLiteral("x"));
    c->setIECParameter(type, A, B, P, Q, K1, K2);
    return c;
}

std::unique_ptr<OperatingCurves> iac(double C)
{
    auto c = std::make_unique<OverCurrentCharIAC>();
    c->setIACParameter(0.2, 0.86, C, 0.418, 0.19);
    return c;
}

const Curve kCurves[] = {
    {"standard", [] { return standard(OperatingCurves::IEC_NORMAL_INVERSE, 0.14, 0, 0.02, 1); },
     OperatingCurves::CHAR_STAND},
    // Definite time ignores its coefficients.
    {"definite", [] { return standard(OperatingCurves::IEC_DEFINITE_TIME, 5, 7, 2, 1, 3, 4); },
     OperatingCurves::CHAR_STAND},
    {"iac", [] { return std::make_unique<OverCurrentCharIAC>(); }, OperatingCurves::CHAR_IAC},
    {"i2t", [] { return std::make_unique<OverCurrentCharI2T>(); }, OperatingCurves::CHAR_I2T},
    {"it", [] { return std::make_unique<OverCurrentCharIT>(); }, OperatingCurves::CHAR_IT},
    {"laborelec", [] { return std::make_unique<OverCurrentCharLaborelec>(); }, OperatingCurves::CHAR_LABORELEC},
    {"ri", [] { return std::make_unique<OverCurrentCharRI>(); }, OperatingCurves::CHAR_RI},
    {"rxrdg", [] { return std::make_unique<OverCurrentCharRXRDG>(); }, OperatingCurves::CHAR_RXRDG},
};

void expectTime(double got, double expected)
{
    if (std::isnan(expected))
        EXPECT_TRUE(std::isnan(got)) << got;
    else
        EXPECT_NEAR(got, expected, 1e-12 * std::max(1.0, std::fabs(expected)));
}

} // namespace

// Current checks, then a zero dial, then the pickup: the same on every class.
TEST(CurveFormulas, FrameDecidesBeforeTheFormula)
{
    struct Row
    {
        double I, Ip, Td, expected;
    };
    const Row rows[] = {
        {-1.0, 1.0, 1.0, kNaN}, {-1.0, 1.0, 0.0, kNaN}, {-1.0, -2.0, 1.0, kNaN},
        {kNaN, 1.0, 1.0, kNaN}, {kNaN, 1.0, 0.0, kNaN}, {kInf, 1.0, 1.0, kNaN},
        {kInf, 1.0, 0.0, kNaN}, {0.5, 1.0, 0.0, 0.0},   {0.0, 1.0, 0.0, 0.0},
        {5.0, 1.0, 0.0, 0.0},   {0.5, 1.0, 1.0, kNaN},  {0.999, 1.0, -1.0, kNaN},
    };
    for (const Curve& curve : kCurves) {
        auto c = curve.make();
        EXPECT_EQ(c->charType, curve.family) << curve.name;
        for (const Row& r : rows) {
            SCOPED_TRACE(testing::Message() << curve.name << " I " << r.I << " Ip " << r.Ip << " Td " << r.Td);
            expectTime(c->ComputerActionTime(r.I, r.Ip, r.Td), r.expected);
        }
    }
}

// Past the frame: each formula, its poles (DBL_MAX), negative values (0) and
// negative infinity (DBL_MAX).
TEST(CurveFormulas, FormulasAndTheirBounds)
{
    struct Row
    {
        const char* what;
        std::function<std::unique_ptr<OperatingCurves>()> make;
        double I, Ip, Td, expected;
    };
    auto curve = [](int i) { return kCurves[i].make; };
    const Row rows[] = {
        {"standard M 2", curve(0), 4, 2, 0.5, 0.5 * 0.14 / (std::pow(2.0, 0.02) - 1)},
        {"standard with B K1 K2", [] { return standard(OperatingCurves::IEC_VERY_INVERSE, 3, 0.5, 2, 0.5, 0.2, 0.1); },
         3, 1, 2, (3 * 2 + 0.2) / (9 - 0.5) + 0.5 * 2 + 0.1},
        {"standard Q 1 at M 1", curve(0), 2, 2, 1, DBL_MAX},
        {"standard -inf", curve(0), 2, 1, -kInf, DBL_MAX},
        {"standard negative", [] { return standard(OperatingCurves::IEC_NORMAL_INVERSE, -1, 0, 1, 0.5); }, 2, 1, 1,
         0.0},
        {"standard negative pole", [] { return standard(OperatingCurves::IEC_NORMAL_INVERSE, -1, 0, 1, 1); }, 1, 1, 1,
         DBL_MAX},
        {"definite at pickup", curve(1), 1, 1, 0.3, 0.3},
        {"definite far above", curve(1), 1e6, 1, 0.3, 0.3},
        {"definite below", curve(1), 0.9, 1, 0.3, kNaN},
        {"definite negative dial", curve(1), 2, 1, -0.5, 0.0},
        {"definite infinite dial", curve(1), 2, 1, kInf, DBL_MAX},
        {"iac M 2", curve(2), 2, 1, 0.5, 0.5 * (0.2 + 0.86 / 1.2 + 0.418 / 1.44 + 0.19 / 1.728)},
        {"iac M = C 1.5", [] { return iac(1.5); }, 1.5, 1, 1, DBL_MAX},
        {"iac -inf", curve(2), 2, 1, -kInf, DBL_MAX},
        {"i2t M 2", curve(3), 4, 2, 0.5, 100 * 0.5 * std::log(4.0) / 3},
        {"i2t M 1", curve(3), 2, 2, 1, DBL_MAX},
        // The raw current, not M: Ip only gates.
        {"it", curve(4), 3, 2, 0.5, 5 * 0.5 * 9 / 9.0},
        {"it -inf", curve(4), 2, 1, -kInf, DBL_MAX},
        {"laborelec", curve(5), 20, 1, 7, 4 - 0.05 * 20},
        {"laborelec negative", curve(5), 100, 1, 1, 0.0},
        {"ri", curve(6), 2, 1, 7, 2 / (0.339 - 0.236 / 2)},
        {"rxrdg", curve(7), 2, 1, 0.5, 5.8 - 1.35 * std::log(4.0)},
        {"rxrdg negative", curve(7), 1e6, 1, 1, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        expectTime(r.make()->ComputerActionTime(r.I, r.Ip, r.Td), r.expected);
    }
}
