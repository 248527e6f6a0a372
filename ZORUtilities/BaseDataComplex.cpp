#include "BaseDataComplex.h"

#include <cmath>

namespace {

constexpr double PI = 3.141592653589793;
constexpr double QUOTIENT_FLOOR = 1e-12;
// Divisors of the / operators with a number must be larger than this in
// magnitude.
constexpr double SCALAR_DIVISOR_MIN = 0.0000001;

double atanDegrees(double x)
{
    return std::atan(x) / PI * 180.0;
}

} // namespace

BaseDataComplex::BaseDataComplex(double real, double image)
    : dataReal(real)
    , dataImage(image)
{
}

BaseDataComplex::BaseDataComplex(const BaseDataVector& vector)
    : dataReal(vector.getReal())
    , dataImage(vector.getImage())
{
}

BaseDataComplex& BaseDataComplex::operator=(const BaseDataVector& vector)
{
    setVector(vector);
    return *this;
}

double BaseDataComplex::getRange() const
{
    return std::hypot(dataReal, dataImage);
}

double BaseDataComplex::getAngle() const
{
    const double re = dataReal;
    const double im = dataImage;
    if (re == 0.0) {
        if (im > 0.0)
            return 90.0;
        if (im < 0.0)
            return 270.0;
        return 0.0;
    }
    if (re > 0.0) {
        if (im == 0.0)
            return 0.0;
        if (im > 0.0)
            return atanDegrees(im / re);
        // Fourth quadrant; a vanishing arc tangent would round 360 - x up to
        // 360 itself, which is the angle 0.
        const double angle = 360.0 - atanDegrees(-im / re);
        return angle >= 360.0 ? 0.0 : angle;
    }
    if (re < 0.0) {
        if (im == 0.0)
            return 180.0;
        if (im > 0.0)
            return 180.0 - atanDegrees(im / -re);
        return 180.0 + atanDegrees(im / re);
    }
    return 0.0; // NaN real part
}

void BaseDataComplex::setRange(double value)
{
    BaseDataVector vector(*this);
    vector.setRange(value);
    setVector(vector);
}

void BaseDataComplex::setAngle(double value)
{
    BaseDataVector vector(*this);
    vector.setAngle(value);
    setVector(vector);
}

BaseDataVector BaseDataComplex::getVector() const
{
    return BaseDataVector(getRange(), getAngle());
}

void BaseDataComplex::setVector(const BaseDataVector& vector)
{
    dataReal = vector.getReal();
    dataImage = vector.getImage();
}

void BaseDataComplex::setVector(double range, double angle)
{
    setVector(BaseDataVector(range, angle));
}

void BaseDataComplex::setComplex(double real, double image)
{
    dataReal = real;
    dataImage = image;
}

void BaseDataComplex::setComplex(const BaseDataComplex& value)
{
    *this = value;
}

BaseDataComplex operator+(BaseDataComplex left, BaseDataComplex right)
{
    return {left.dataReal + right.dataReal, left.dataImage + right.dataImage};
}

BaseDataComplex operator-(BaseDataComplex left, BaseDataComplex right)
{
    return {left.dataReal - right.dataReal, left.dataImage - right.dataImage};
}

BaseDataComplex operator*(BaseDataComplex left, BaseDataComplex right)
{
    const double a = left.dataReal, b = left.dataImage;
    const double c = right.dataReal, d = right.dataImage;
    return {a * c - b * d, a * d + b * c};
}

BaseDataComplex operator/(BaseDataComplex left, BaseDataComplex right)
{
    const double a = left.dataReal, b = left.dataImage;
    const double c = right.dataReal, d = right.dataImage;
    double q = c * c + d * d;
    if (q <= QUOTIENT_FLOOR)
        q = QUOTIENT_FLOOR;
    return {(a * c + b * d) / q, (b * c - a * d) / q};
}

BaseDataComplex operator+(BaseDataComplex left, double right)
{
    return {left.dataReal + right, left.dataImage + right};
}

BaseDataComplex operator-(BaseDataComplex left, double right)
{
    return {left.dataReal - right, left.dataImage - right};
}

BaseDataComplex operator*(BaseDataComplex left, double right)
{
    return {left.dataReal * right, left.dataImage * right};
}

// The one place that decides division by a number: a divisor too close to
// zero gives (0, 0), as dividing by the zero vector does. The vector and
// phase-value operators with a number divide through here.
BaseDataComplex operator/(BaseDataComplex left, double right)
{
    if (std::abs(right) <= SCALAR_DIVISOR_MIN)
        return {};
    return {left.dataReal / right, left.dataImage / right};
}
