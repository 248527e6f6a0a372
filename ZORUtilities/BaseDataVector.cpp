#include "BaseDataVector.h"

#include "BaseDataUtility.h"

#include <cmath>

namespace {

constexpr double PI = 3.141592653589793;
constexpr double QUOTIENT_FLOOR = 1e-13;

double toRadians(double degrees)
{
    return degrees / 180.0 * PI;
}

BaseDataComplex multiply(const BaseDataComplex& l, const BaseDataComplex& r)
{
    const double a = l.dataReal, b = l.dataImage;
    const double c = r.dataReal, d = r.dataImage;
    return {a * c - b * d, a * d + b * c};
}

// Quotient of the polar operators: the squared divisor is never below 1e-13.
BaseDataComplex divide(const BaseDataComplex& l, const BaseDataComplex& r)
{
    const double a = l.dataReal, b = l.dataImage;
    const double c = r.dataReal, d = r.dataImage;
    double q = c * c + d * d;
    if (q <= QUOTIENT_FLOOR)
        q = QUOTIENT_FLOOR;
    return {(a * c + b * d) / q, (b * c - a * d) / q};
}

} // namespace

BaseDataVector::BaseDataVector(double range, double angle)
    : dataRange(range)
    , dataAngle(angle)
{
}

BaseDataVector::BaseDataVector(const BaseDataComplex& value)
    : dataRange(value.getRange())
    , dataAngle(value.getAngle())
{
}

BaseDataVector& BaseDataVector::operator=(const BaseDataComplex& value)
{
    setComplex(value);
    return *this;
}

double BaseDataVector::getReal() const
{
    if (dataAngle == 90.0 || dataAngle == 270.0)
        return 0.0;
    return dataRange * std::cos(toRadians(dataAngle));
}

double BaseDataVector::getImage() const
{
    if (dataAngle == 0.0 || dataAngle == 180.0 || dataAngle == 360.0)
        return 0.0;
    return dataRange * std::sin(toRadians(dataAngle));
}

void BaseDataVector::setReal(double value)
{
    BaseDataComplex c = getComplex();
    c.setReal(value);
    setComplex(c);
}

void BaseDataVector::setImage(double value)
{
    BaseDataComplex c = getComplex();
    c.setImage(value);
    setComplex(c);
}

BaseDataComplex BaseDataVector::getComplex() const
{
    return BaseDataComplex(getReal(), getImage());
}

void BaseDataVector::setComplex(const BaseDataComplex& value)
{
    dataRange = value.getRange();
    dataAngle = value.getAngle();
}

void BaseDataVector::setComplex(double real, double image)
{
    setComplex(BaseDataComplex(real, image));
}

void BaseDataVector::setVector(const BaseDataVector& value)
{
    *this = value;
}

void BaseDataVector::setVector(double range, double angle)
{
    dataRange = range;
    dataAngle = angle;
}

BaseDataVector BaseDataVector::length(double offset) const
{
    return BaseDataVector(dataRange + offset, dataAngle);
}

BaseDataVector BaseDataVector::rotate(double offset) const
{
    return BaseDataVector(dataRange, dataAngle + offset);
}

BaseDataVector BaseDataVector::offset(double real, double image) const
{
    return BaseDataVector(BaseDataComplex(getReal() + real, getImage() + image));
}

BaseDataVector BaseDataVector::multiple(double factor) const
{
    return BaseDataVector(dataRange * factor, dataAngle);
}

double BaseDataVector::distance(const BaseDataVector& value) const
{
    const double dr = getReal() - value.getReal();
    const double di = getImage() - value.getImage();
    return std::sqrt(dr * dr + di * di);
}

void BaseDataVector::formatAngle()
{
    BaseDataUtility::formatVector(dataRange, dataAngle);
}

void BaseDataVector::formatAngle(double offset)
{
    dataAngle += offset;
    BaseDataUtility::formatVector(dataRange, dataAngle);
}

BaseDataVector operator+(BaseDataVector left, BaseDataVector right)
{
    return BaseDataComplex(left) + BaseDataComplex(right);
}

BaseDataVector operator-(BaseDataVector left, BaseDataVector right)
{
    return BaseDataComplex(left) - BaseDataComplex(right);
}

BaseDataVector operator*(BaseDataVector left, BaseDataVector right)
{
    return multiply(left, right);
}

BaseDataVector operator/(BaseDataVector left, BaseDataVector right)
{
    return divide(left, right);
}

BaseDataVector operator+(BaseDataVector left, double right)
{
    return BaseDataComplex(left) + right;
}

BaseDataVector operator-(BaseDataVector left, double right)
{
    return BaseDataComplex(left) - right;
}

BaseDataVector operator*(BaseDataVector left, double right)
{
    return BaseDataComplex(left) * right;
}

BaseDataVector operator/(BaseDataVector left, double right)
{
    return BaseDataComplex(left) / right;
}

BaseDataVector operator+(BaseDataVector left, BaseDataComplex right)
{
    return BaseDataComplex(left) + right;
}

BaseDataVector operator-(BaseDataVector left, BaseDataComplex right)
{
    return BaseDataComplex(left) - right;
}

BaseDataVector operator*(BaseDataVector left, BaseDataComplex right)
{
    return multiply(left, right);
}

BaseDataVector operator/(BaseDataVector left, BaseDataComplex right)
{
    return divide(left, right);
}

BaseDataVector operator+(BaseDataComplex left, BaseDataVector right)
{
    return left + BaseDataComplex(right);
}

BaseDataVector operator-(BaseDataComplex left, BaseDataVector right)
{
    return left - BaseDataComplex(right);
}

BaseDataVector operator*(BaseDataComplex left, BaseDataVector right)
{
    return multiply(left, right);
}

BaseDataVector operator/(BaseDataComplex left, BaseDataVector right)
{
    return divide(left, right);
}
