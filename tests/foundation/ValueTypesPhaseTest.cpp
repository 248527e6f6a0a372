#include <gtest/gtest.h>

#include "BaseDataPhaseValue.h"

#include <cmath>
#include <complex>
#include <random>

namespace {

using Cx = std::complex<double>;
using Phase = BaseDataPhaseValue;
constexpr double PI = 3.141592653589793;
const Cx A120 = {std::cos(2 * PI / 3), std::sin(2 * PI / 3)}; // the operator a = 1 at 120 degrees

Cx polarDeg(double r, double deg)
{
    return {r * std::cos(deg * PI / 180.0), r * std::sin(deg * PI / 180.0)};
}

Cx of(const Phase& p) { return polarDeg(p.dataRange, p.dataAngle); }

void expectPhase(const Phase& p, Cx expected, double frequency, double tol = 1e-9)
{
    EXPECT_GE(p.dataRange, 0.0);
    EXPECT_LE(std::abs(of(p) - expected), tol * std::max(1.0, std::abs(expected)))
        << "got " << p.dataRange << "/" << p.dataAngle << " want " << expected;
    EXPECT_EQ(p.dataFrequency, frequency);
}

struct Rng {
    std::mt19937 gen;
    explicit Rng(unsigned seed) : gen(seed) {}
    Phase next(double f)
    {
        return Phase(std::uniform_real_distribution<double>(0, 120)(gen),
                     std::uniform_real_distribution<double>(-400, 400)(gen), f);
    }
};

} // namespace

TEST(ValueTypesPhase, RectangularPartsSnapOnFoldedAngles)
{
    for (double angle : {90.0, -270.0, 450.0, 270.0, -90.0, -450.0})
        EXPECT_EQ(Phase(1, angle, 50).getReal(), 0.0) << angle;
    for (double angle : {180.0, -180.0, 540.0, 360.0, -360.0, 720.0, 0.0})
        EXPECT_EQ(Phase(1, angle, 50).getImage(), 0.0) << angle;
    EXPECT_NEAR(Phase(2, 30, 50).getReal(), std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(Phase(2, 30, 50).getImage(), 1.0, 1e-12);
}

TEST(ValueTypesPhase, FrequencyFollowsTheLeftOperand)
{
    expectPhase(Phase(1, 0, 50) + Phase(1, 0, 60), Cx(2, 0), 50);
    expectPhase(Phase(1, 0, 60) - Phase(1, 90, 50), Cx(1, -1), 60);
    expectPhase(Phase(2, 90, 55) * Phase(3, 0, 50), Cx(0, 6), 55);
    expectPhase(Phase(2, 90, 45) / Phase(2, 90, 50), Cx(1, 0), 45);
    expectPhase(Phase(1, 0, 50) + 1.0, Cx(2, 1), 50); // a number goes to both parts
    expectPhase(Phase(1, 0, 50) * -2.0, Cx(-2, 0), 50);
    expectPhase(Phase(3, 60, 50) / 3.0, polarDeg(1, 60), 50);
    expectPhase(Phase(3, 60, 50) / 0.0, Cx(0, 0), 50);
    const BaseDataVector mixed = Phase(1, 0, 50) + BaseDataVector(1, 90);
    EXPECT_NEAR(mixed.dataAngle, 45.0, 1e-12);
    const BaseDataVector mixed2 = BaseDataVector(4, 0) / Phase(2, 90, 50);
    EXPECT_NEAR(mixed2.dataAngle, 270.0, 1e-12);

    const Phase sum = Phase(1, -30, 50) + Phase(0, 0, 0);
    EXPECT_NEAR(sum.dataAngle, 330.0, 1e-12);
    Phase added(1, 0, 50);
    added.addValue(1, 0, 60);
    expectPhase(added, Cx(2, 0), 60);
}

TEST(ValueTypesPhase, FieldAccessAssignmentAndSwap)
{
    Phase p(1, 0, 50);
    p.setAngle(-30);
    EXPECT_EQ(p.dataAngle, -30.0); // stored as given
    p.setPhase(2, 45);
    EXPECT_EQ(p.dataFrequency, 50.0);
    p.setPhase(Phase(3, 10, 60), 70);
    EXPECT_EQ(p.dataRange, 3.0);
    EXPECT_EQ(p.dataFrequency, 70.0);
    p.setReal(0);
    expectPhase(p, Cx(0, polarDeg(3, 10).imag()), 70);
    p.setComplex(-1, 0);
    expectPhase(p, Cx(-1, 0), 70);
    p = BaseDataVector(5, 5);
    EXPECT_EQ(p.dataFrequency, 0.0);
    p = Phase(BaseDataComplex(0, 2), 50);
    expectPhase(p, Cx(0, 2), 50);
    p.formatAngle(-450); // 90 - 450 = -360 -> magnitude above 359.9999 -> 0
    EXPECT_NEAR(p.dataAngle, 0.0, 1e-12);

    Phase a(1, 2, 3), b(4, 5, 6);
    a.swapValue(b);
    EXPECT_EQ(a.dataRange, 4.0);
    EXPECT_EQ(b.dataFrequency, 3.0);

    const BaseDataPhaseProperty prop(5);
    EXPECT_EQ(prop.dataEnables, 5u);
    EXPECT_EQ(prop.dataHarmRange + prop.dataDfdtStopValue + prop.dataDrdtSlipValue, 0.0);
    BaseDataPhaseProperty copy;
    BaseDataPhaseProperty src(3);
    src.dataHarmFrequency = 150;
    copy.setValue(src);
    EXPECT_EQ(copy.dataEnables, 3u);
    EXPECT_EQ(copy.dataHarmFrequency, 150.0);
}

TEST(ValueTypesPhase, SymmetricalComponentsMatchFortescueAndRoundTrip)
{
    Rng rng(1102);
    for (int i = 0; i < 300; ++i) {
        const Phase a = rng.next(50), b = rng.next(51), c = rng.next(52);
        const Cx A = of(a), B = of(b), C = of(c);
        Phase p0, p1, p2;
        Phase::sequenceFromPhase(a, b, c, p0, p1, p2);
        expectPhase(p0, (A + B + C) / 3.0, 50);
        expectPhase(p1, (A + A120 * B + A120 * A120 * C) / 3.0, 50);
        expectPhase(p2, (A + A120 * A120 * B + A120 * C) / 3.0, 50);

        Phase z;
        Phase::zeroSequence(a, b, c, z);
        expectPhase(z, of(p0), 50);
        Phase ra, rb, rc;
        p0.setFrequency(60);
        Phase::phaseFromSequence(p0, p1, p2, ra, rb, rc);
        expectPhase(ra, A, 60);
        expectPhase(rb, B, 60);
        expectPhase(rc, C, 60);
    }
}

TEST(ValueTypesPhase, WorkedSequenceAndLineValues)
{
    const Phase a(1, 0, 50), b(1, 240, 50), c(1, 120, 50);
    Phase p0, p1, p2;
    Phase::sequenceFromPhase(a, b, c, p0, p1, p2);
    EXPECT_NEAR(p0.dataRange, 0.0, 1e-12);
    expectPhase(p1, Cx(1, 0), 50);
    EXPECT_NEAR(p2.dataRange, 0.0, 1e-12);

    Phase ra, rb, rc;
    Phase::phaseFromSequence(Phase(0, 0), Phase(1, 0), Phase(0, 0), ra, rb, rc);
    EXPECT_NEAR(rb.dataAngle, 240.0, 1e-9);
    EXPECT_NEAR(rc.dataAngle, 120.0, 1e-9);

    Phase ab;
    Phase::interphase(a, b, ab);
    EXPECT_NEAR(ab.dataRange, std::sqrt(3.0), 1e-12);
    EXPECT_NEAR(ab.dataAngle, 30.0, 1e-9);

    Phase::phaseFromInterphase(Phase(100, 30, 50), Phase(0, 0, 0), ra, rb, rc);
    for (const Phase& p : {ra, rb, rc})
        EXPECT_NEAR(p.dataRange, 100 / std::sqrt(3.0), 1e-9);
    EXPECT_NEAR(ra.dataAngle, 0.0, 1e-9);
    EXPECT_NEAR(rb.dataAngle, 240.0, 1e-9);
    EXPECT_NEAR(rc.dataAngle, 120.0, 1e-9);
    EXPECT_EQ(rb.dataFrequency, 50.0);
}

// Line values carry no zero sequence, so they give back a phase set without
// one: A = (UAB - UCA) / 3 and its rotations.
TEST(ValueTypesPhase, PhasesFromThreeLineValuesInvertTheLineValues)
{
    Phase a, b, c;
    Phase::phaseFromInterphase(Phase(std::sqrt(3.0), 30, 50), Phase(std::sqrt(3.0), 270, 51),
                               Phase(std::sqrt(3.0), 150, 52), a, b, c);
    expectPhase(a, Cx(1, 0), 50);
    expectPhase(b, polarDeg(1, 240), 51);
    expectPhase(c, polarDeg(1, 120), 52);

    Rng rng(31);
    for (int i = 0; i < 200; ++i) {
        const Phase pa = rng.next(50), pb = rng.next(50);
        const Phase pc = Phase(0, 0, 50) - pa - pb; // no zero sequence
        Phase ab, bc, ca;
        Phase::interphaseFromPhase(pa, pb, pc, ab, bc, ca);
        expectPhase(ab, of(pa) - of(pb), 50);
        Phase::phaseFromInterphase(ab, bc, ca, a, b, c);
        expectPhase(a, of(pa), 50);
        expectPhase(b, of(pb), 50);
        expectPhase(c, of(pc), 50);
    }
}

TEST(ValueTypesPhase, PowerIsVoltageTimesConjugateCurrent)
{
    Phase s, i;
    Phase::powerFromPhase(Phase(100, 0, 50), Phase(2, -30, 50), s);
    expectPhase(s, polarDeg(200, 30), 50);
    EXPECT_NEAR(s.dataAngle, 30.0, 1e-9);
    Phase::currentFromPower(s, Phase(100, 0, 50), i);
    EXPECT_NEAR(i.dataRange, 2.0, 1e-12);
    EXPECT_NEAR(i.dataAngle, -30.0, 1e-9);

    Rng rng(7);
    for (int k = 0; k < 300; ++k) {
        const Phase u = rng.next(50), cur = rng.next(60);
        Phase::powerFromPhase(u, cur, s);
        expectPhase(s, of(u) * std::conj(of(cur)), 50, 1e-9);
        s.setFrequency(61);
        Phase::currentFromPower(s, u, i);
        expectPhase(i, std::conj(of(s) / of(u)), 61, 1e-8);
        expectPhase(i, of(cur), 61, 1e-8);
    }
}
