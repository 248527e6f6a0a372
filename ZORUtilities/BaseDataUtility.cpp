#include "BaseDataUtility.h"

#include <cmath>
#include <utility>

namespace {

// Magnitudes at or below this count as zero in formatAngle and formatVector.
constexpr double RANGE_ZERO = 1e-7;

// Whole turns removed from angles beyond +-360. Done with fmod so that any
// finite magnitude folds exactly; + 0.0 turns a -0 remainder into +0.
double fold(double angle)
{
    if (!std::isfinite(angle))
        return angle;
    if (angle > 360.0 || angle < -360.0)
        return std::fmod(angle, 360.0) + 0.0;
    return angle;
}

} // namespace

double BaseDataUtility::formatAngle(double angle)
{
    return fold(angle);
}

double BaseDataUtility::formatAngle180(double angle)
{
    double value = fold(angle);
    if (value < -180.0)
        value += 360.0;
    else if (value > 180.0)
        value -= 360.0;
    return value;
}

double BaseDataUtility::formatAngle(double angle, bool positive)
{
    if (!std::isfinite(angle))
        return angle;
    double value = fold(angle);
    if (positive && value < 0.0)
        value += 360.0;
    if (std::abs(value) == 360.0)
        value = 0.0;
    return value;
}

double BaseDataUtility::formatAngle(double range, double angle)
{
    if (std::abs(range) <= RANGE_ZERO)
        return 0.0;
    if (range < 0.0)
        angle += 180.0;
    return fold(angle);
}

void BaseDataUtility::formatVector(double& range, double& angle)
{
    if (std::abs(range) <= RANGE_ZERO) {
        range = 0.0;
        angle = 0.0;
        return;
    }
    if (range < 0.0) {
        range = -range;
        angle += 180.0;
    }
    angle = fold(angle);
    if (std::isfinite(angle) && std::abs(angle) > 359.9999)
        angle = 360.0 - std::abs(angle);
}

double BaseDataUtility::formatZero(double value, double zero)
{
    const double limit = std::abs(zero);
    if (std::abs(value) < limit)
        return value >= 0.0 ? limit : -limit;
    return value;
}

double BaseDataUtility::division(double a, double b)
{
    if (std::abs(b) < 1e-10)
        return 0.0;
    return a / b;
}

int BaseDataUtility::qFuzzyCompare(float left, float right)
{
    const float d = left - right;
    if (std::abs(d) < 1e-6f)
        return 0;
    if (d > 1e-6f)
        return 1;
    return -1;
}

void BaseDataUtility::swap(double& a, double& b)
{
    std::swap(a, b);
}

QString BaseDataUtility::formatVersion(quint32 ver)
{
    return QString("%1.%2.%3%4")
        .arg(ver & 0xFFu)
        .arg((ver >> 8) & 0xFFu)
        .arg((ver >> 16) & 0xFFu, 2, 10, QChar('0'))
        .arg((ver >> 24) & 0xFFu, 2, 10, QChar('0'));
}
