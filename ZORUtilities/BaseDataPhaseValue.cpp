#include "BaseDataPhaseValue.h"

#include "BaseDataUtility.h"

#include <cmath>
#include <utility>

namespace {

constexpr double PI = 3.141592653589793;

double toRadians(double degrees)
{
    return degrees / 180.0 * PI;
}

// X turned by k degrees: magnitude and frequency unchanged.
BaseDataPhaseValue turned(const BaseDataPhaseValue& value, double degrees)
{
    return BaseDataPhaseValue(value.dataRange, value.dataAngle + degrees, value.dataFrequency);
}

BaseDataPhaseValue withFrequency(const BaseDataVector& vector, double frequency)
{
    return BaseDataPhaseValue(vector, frequency);
}

} // namespace

BaseDataPhaseValue::BaseDataPhaseValue(double range, double angle, double frequency)
    : dataRange(range)
    , dataAngle(angle)
    , dataFrequency(frequency)
{
}

BaseDataPhaseValue::BaseDataPhaseValue(double range, double angle)
    : dataRange(range)
    , dataAngle(angle)
{
}

BaseDataPhaseValue::BaseDataPhaseValue(const BaseDataVector& vector, double frequency)
    : dataRange(vector.getRange())
    , dataAngle(vector.getAngle())
    , dataFrequency(frequency)
{
}

BaseDataPhaseValue::BaseDataPhaseValue(const BaseDataComplex& value, double frequency)
    : dataRange(value.getRange())
    , dataAngle(value.getAngle())
    , dataFrequency(frequency)
{
}

BaseDataPhaseValue& BaseDataPhaseValue::operator=(const BaseDataVector& vector)
{
    *this = BaseDataPhaseValue(vector, 0.0);
    return *this;
}

BaseDataPhaseValue& BaseDataPhaseValue::operator=(const BaseDataComplex& value)
{
    *this = BaseDataPhaseValue(value, 0.0);
    return *this;
}

// The trigonometry runs on the folded angle; the listed angles give exact zeros.
double BaseDataPhaseValue::getReal() const
{
    const double angle = BaseDataUtility::formatAngle(dataAngle);
    if (angle == 90.0 || angle == 270.0 || angle == -90.0 || angle == -270.0)
        return 0.0;
    return dataRange * std::cos(toRadians(angle));
}

double BaseDataPhaseValue::getImage() const
{
    const double angle = BaseDataUtility::formatAngle(dataAngle);
    if (angle == 180.0 || angle == 360.0 || angle == -180.0 || angle == -360.0)
        return 0.0;
    return dataRange * std::sin(toRadians(angle));
}

void BaseDataPhaseValue::setReal(double value)
{
    BaseDataComplex c = getComplex();
    c.setReal(value);
    setComplex(c);
}

void BaseDataPhaseValue::setImage(double value)
{
    BaseDataComplex c = getComplex();
    c.setImage(value);
    setComplex(c);
}

BaseDataComplex BaseDataPhaseValue::getComplex() const
{
    return BaseDataComplex(getReal(), getImage());
}

void BaseDataPhaseValue::setComplex(const BaseDataComplex& value)
{
    dataRange = value.getRange();
    dataAngle = value.getAngle();
}

void BaseDataPhaseValue::setComplex(double real, double image)
{
    setComplex(BaseDataComplex(real, image));
}

BaseDataVector BaseDataPhaseValue::getVector() const
{
    return BaseDataVector(dataRange, dataAngle);
}

void BaseDataPhaseValue::setVector(const BaseDataVector& vector)
{
    dataRange = vector.getRange();
    dataAngle = vector.getAngle();
}

void BaseDataPhaseValue::setVector(double range, double angle)
{
    dataRange = range;
    dataAngle = angle;
}

void BaseDataPhaseValue::setPhase(const BaseDataPhaseValue& value)
{
    *this = value;
}

void BaseDataPhaseValue::setPhase(const BaseDataPhaseValue& value, double frequency)
{
    dataRange = value.dataRange;
    dataAngle = value.dataAngle;
    dataFrequency = frequency;
}

void BaseDataPhaseValue::setPhase(double range, double angle, double frequency)
{
    dataRange = range;
    dataAngle = angle;
    dataFrequency = frequency;
}

void BaseDataPhaseValue::setPhase(double range, double angle)
{
    dataRange = range;
    dataAngle = angle;
}

void BaseDataPhaseValue::swapValue(BaseDataPhaseValue& src)
{
    std::swap(*this, src);
}

void BaseDataPhaseValue::addValue(double range, double angle, double frequency)
{
    *this = BaseDataPhaseValue(range, angle, frequency) + *this;
}

void BaseDataPhaseValue::formatAngle()
{
    BaseDataUtility::formatVector(dataRange, dataAngle);
}

void BaseDataPhaseValue::formatAngle(double offset)
{
    dataAngle += offset;
    BaseDataUtility::formatVector(dataRange, dataAngle);
}

void BaseDataPhaseValue::interphase(BaseDataPhaseValue phaseA, BaseDataPhaseValue phaseB,
                                    BaseDataPhaseValue& phaseAB)
{
    phaseAB = phaseA - phaseB;
}

void BaseDataPhaseValue::interphaseFromPhase(BaseDataPhaseValue phaseA, BaseDataPhaseValue phaseB,
                                             BaseDataPhaseValue phaseC, BaseDataPhaseValue& phaseAB,
                                             BaseDataPhaseValue& phaseBC, BaseDataPhaseValue& phaseCA)
{
    phaseAB = phaseA - phaseB;
    phaseBC = phaseB - phaseC;
    phaseCA = phaseC - phaseA;
}

// UAB - UCA = 2A - B - C = 3A - (A + B + C): exact when the set has no zero
// sequence, which the line values cannot carry anyway.
void BaseDataPhaseValue::phaseFromInterphase(BaseDataPhaseValue phaseUAB, BaseDataPhaseValue phaseUBC,
                                             BaseDataPhaseValue phaseUCA, BaseDataPhaseValue& phaseA,
                                             BaseDataPhaseValue& phaseB, BaseDataPhaseValue& phaseC)
{
    phaseA = (phaseUAB - phaseUCA) / 3.0;
    phaseB = (phaseUBC - phaseUAB) / 3.0;
    phaseC = (phaseUCA - phaseUBC) / 3.0;
}

void BaseDataPhaseValue::phaseFromInterphase(BaseDataPhaseValue phaseUAB, BaseDataPhaseValue phaseU0,
                                             BaseDataPhaseValue& phaseA, BaseDataPhaseValue& phaseB,
                                             BaseDataPhaseValue& phaseC)
{
    const double range = phaseUAB.dataRange / std::sqrt(3.0);
    const double frequency = phaseUAB.dataFrequency;
    const BaseDataPhaseValue a(range, phaseUAB.dataAngle - 30.0, frequency);
    const BaseDataPhaseValue b(range, a.dataAngle - 120.0, frequency);
    const BaseDataPhaseValue c(range, a.dataAngle + 120.0, frequency);
    phaseA = a + phaseU0;
    phaseB = b + phaseU0;
    phaseC = c + phaseU0;
}

void BaseDataPhaseValue::zeroSequence(BaseDataPhaseValue phaseA, BaseDataPhaseValue phaseB,
                                      BaseDataPhaseValue phaseC, BaseDataPhaseValue& phase0)
{
    phase0 = (phaseA + phaseB + phaseC) / 3.0;
}

void BaseDataPhaseValue::positiveSequence(BaseDataPhaseValue phaseA, BaseDataPhaseValue phaseB,
                                          BaseDataPhaseValue phaseC, BaseDataPhaseValue& phase1)
{
    phase1 = (phaseA + turned(phaseB, 120.0) + turned(phaseC, 240.0)) / 3.0;
}

void BaseDataPhaseValue::negativeSequence(BaseDataPhaseValue phaseA, BaseDataPhaseValue phaseB,
                                          BaseDataPhaseValue phaseC, BaseDataPhaseValue& phase2)
{
    phase2 = (phaseA + turned(phaseB, 240.0) + turned(phaseC, 120.0)) / 3.0;
}

void BaseDataPhaseValue::sequenceFromPhase(BaseDataPhaseValue phaseA, BaseDataPhaseValue phaseB,
                                           BaseDataPhaseValue phaseC, BaseDataPhaseValue& phase0,
                                           BaseDataPhaseValue& phase1, BaseDataPhaseValue& phase2)
{
    zeroSequence(phaseA, phaseB, phaseC, phase0);
    positiveSequence(phaseA, phaseB, phaseC, phase1);
    negativeSequence(phaseA, phaseB, phaseC, phase2);
}

void BaseDataPhaseValue::phaseFromSequence(BaseDataPhaseValue phase0, BaseDataPhaseValue phase1,
                                           BaseDataPhaseValue phase2, BaseDataPhaseValue& phaseA,
                                           BaseDataPhaseValue& phaseB, BaseDataPhaseValue& phaseC)
{
    phaseA = phase0 + phase1 + phase2;
    phaseB = phase0 + turned(phase1, 240.0) + turned(phase2, 120.0);
    phaseC = phase0 + turned(phase1, 120.0) + turned(phase2, 240.0);
}

void BaseDataPhaseValue::powerFromPhase(BaseDataPhaseValue phaseU, BaseDataPhaseValue phaseI,
                                        BaseDataPhaseValue& power)
{
    const BaseDataVector u(std::abs(phaseU.dataRange), 0.0);
    const BaseDataVector i(std::abs(phaseI.dataRange), phaseU.dataAngle - phaseI.dataAngle);
    power = withFrequency(u * i, phaseU.dataFrequency);
}

void BaseDataPhaseValue::currentFromPower(BaseDataPhaseValue power, BaseDataPhaseValue phaseU,
                                          BaseDataPhaseValue& phaseI)
{
    const BaseDataVector s(std::abs(power.dataRange), power.dataAngle);
    const BaseDataVector u(std::abs(phaseU.dataRange), 0.0);
    const BaseDataVector quotient = s / u;
    phaseI = withFrequency(quotient, power.dataFrequency);
    phaseI.dataAngle = phaseU.dataAngle - quotient.getAngle();
}

BaseDataPhaseValue operator+(BaseDataPhaseValue left, BaseDataPhaseValue right)
{
    return withFrequency(left.getVector() + right.getVector(), left.dataFrequency);
}

BaseDataPhaseValue operator-(BaseDataPhaseValue left, BaseDataPhaseValue right)
{
    return withFrequency(left.getVector() - right.getVector(), left.dataFrequency);
}

BaseDataPhaseValue operator*(BaseDataPhaseValue left, BaseDataPhaseValue right)
{
    return withFrequency(left.getVector() * right.getVector(), left.dataFrequency);
}

BaseDataPhaseValue operator/(BaseDataPhaseValue left, BaseDataPhaseValue right)
{
    return withFrequency(left.getVector() / right.getVector(), left.dataFrequency);
}

BaseDataPhaseValue operator+(BaseDataPhaseValue left, double right)
{
    return withFrequency(left.getVector() + right, left.dataFrequency);
}

BaseDataPhaseValue operator-(BaseDataPhaseValue left, double right)
{
    return withFrequency(left.getVector() - right, left.dataFrequency);
}

BaseDataPhaseValue operator*(BaseDataPhaseValue left, double right)
{
    return withFrequency(left.getVector() * right, left.dataFrequency);
}

BaseDataPhaseValue operator/(BaseDataPhaseValue left, double right)
{
    return withFrequency(left.getVector() / right, left.dataFrequency);
}

BaseDataVector operator+(BaseDataPhaseValue left, BaseDataVector right)
{
    return left.getVector() + right;
}

BaseDataVector operator-(BaseDataPhaseValue left, BaseDataVector right)
{
    return left.getVector() - right;
}

BaseDataVector operator*(BaseDataPhaseValue left, BaseDataVector right)
{
    return left.getVector() * right;
}

BaseDataVector operator/(BaseDataPhaseValue left, BaseDataVector right)
{
    return left.getVector() / right;
}

BaseDataVector operator+(BaseDataVector left, BaseDataPhaseValue right)
{
    return left + right.getVector();
}

BaseDataVector operator-(BaseDataVector left, BaseDataPhaseValue right)
{
    return left - right.getVector();
}

BaseDataVector operator*(BaseDataVector left, BaseDataPhaseValue right)
{
    return left * right.getVector();
}

BaseDataVector operator/(BaseDataVector left, BaseDataPhaseValue right)
{
    return left / right.getVector();
}

BaseDataPhaseProperty::BaseDataPhaseProperty(quint32 enables)
    : dataEnables(enables)
{
}

void BaseDataPhaseProperty::setValue(const BaseDataPhaseProperty& src)
{
    *this = src;
}
