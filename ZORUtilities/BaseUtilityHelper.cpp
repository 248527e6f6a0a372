#include "BaseUtilityHelper.h"

#include "BaseDataComplex.h"

#include <QDir>

#include <cmath>
#include <limits>

namespace {

constexpr double PI = 3.141592653589793;
// The thresholds of this class are single-precision constants.
constexpr float RANGE_ZERO = 1e-6f;
constexpr float DIVISOR_ZERO = 1e-7f;
constexpr float TURN_LIMIT = 360.0001f;

double toRadians(double degrees)
{
    return degrees / 180.0 * PI;
}

// Reduces a finite angle to [0, 360); non-finite angles pass unchanged.
double reduce(double angle)
{
    if (!std::isfinite(angle))
        return angle;
    double value = std::fmod(angle, 360.0);
    if (value < 0.0)
        value += 360.0;
    if (value >= TURN_LIMIT)
        value -= 360.0;
    return value;
}

void store(double* target, double value)
{
    if (target)
        *target = value;
}

void toPolar(double real, double image, double* range, double* angle)
{
    BaseUtilityHelper::complexToVector(real, image, range, angle);
}

void toRect(double range, double angle, double& real, double& image)
{
    BaseUtilityHelper::vectorToComplex(range, angle, &real, &image);
}

QString versionText(quint32 first, quint32 second, quint32 third, quint32 fourth)
{
    return QString("%1.%2.%3%4")
        .arg(first)
        .arg(second, 2, 10, QChar('0'))
        .arg(third, 2, 10, QChar('0'))
        .arg(fourth, 2, 10, QChar('0'));
}

} // namespace

bool BaseUtilityHelper::isNaN(double val)
{
    return std::isnan(val);
}

bool BaseUtilityHelper::isZero(double val)
{
    return std::abs(val) < 1e-7;
}

bool BaseUtilityHelper::isMax(double val)
{
    return std::abs(val) == std::numeric_limits<double>::max();
}

void BaseUtilityHelper::formatLimit(double max, double min, double* range)
{
    if (!range)
        return;
    if (*range > max)
        *range = max;
    if (*range < min)
        *range = min;
}

void BaseUtilityHelper::formatVector(double* range, double* angle)
{
    if (range && std::abs(*range) <= RANGE_ZERO) {
        *range = 0.0;
        return;
    }
    if (angle)
        *angle = reduce(*angle);
}

void BaseUtilityHelper::vectorToComplex(double range, double angle, double* real, double* image)
{
    const double rad = toRadians(angle);
    double re = range * std::cos(rad);
    double im = range * std::sin(rad);
    if (angle == 90.0 || angle == 270.0 || angle == -90.0 || angle == -270.0)
        re = 0.0;
    if (angle == 0.0 || angle == 180.0 || angle == 360.0 || angle == -180.0 || angle == -360.0)
        im = 0.0;
    store(real, re);
    store(image, im);
}

void BaseUtilityHelper::complexToVector(double real, double image, double* range, double* angle)
{
    const double r = std::hypot(real, image);
    double a = BaseDataComplex(real, image).getAngle();
    if (r < RANGE_ZERO)
        a = 0.0;
    store(range, r);
    store(angle, reduce(a));
}

void BaseUtilityHelper::vectorAdd(double range1, double angle1, double range2, double angle2,
                                  double* range, double* angle)
{
    double re1, im1, re2, im2;
    toRect(range1, angle1, re1, im1);
    toRect(range2, angle2, re2, im2);
    toPolar(re1 + re2, im1 + im2, range, angle);
}

void BaseUtilityHelper::vectorDec(double range1, double angle1, double range2, double angle2,
                                  double* range, double* angle)
{
    double re1, im1, re2, im2;
    toRect(range1, angle1, re1, im1);
    toRect(range2, angle2, re2, im2);
    toPolar(re1 - re2, im1 - im2, range, angle);
}

void BaseUtilityHelper::vectorMul(double range1, double angle1, double range2, double angle2,
                                  double* range, double* angle)
{
    double re1, im1, re2, im2;
    toRect(range1, angle1, re1, im1);
    toRect(range2, angle2, re2, im2);
    toPolar(re1 * re2 - im1 * im2, im1 * re2 + re1 * im2, range, angle);
}

void BaseUtilityHelper::vectorDiv(double range1, double angle1, double range2, double angle2,
                                  double* range, double* angle)
{
    double re1, im1, re2, im2;
    toRect(range1, angle1, re1, im1);
    toRect(range2, angle2, re2, im2);
    const double q = re2 * re2 + im2 * im2;
    if (q < DIVISOR_ZERO) {
        store(range, 0.0);
        store(angle, 0.0);
        return;
    }
    toPolar((re1 * re2 + im1 * im2) / q, (im1 * re2 - re1 * im2) / q, range, angle);
}

void BaseUtilityHelper::computePower(double rangev, double anglev, double rangei, double anglei,
                                     double* P, double* Q, double* S, double* PF)
{
    // U * conj(I): the current's angle enters negated.
    double rangep = 0.0, anglep = 0.0;
    vectorMul(rangev, anglev, rangei, -anglei, &rangep, &anglep);
    double realp = 0.0, imagep = 0.0;
    vectorToComplex(rangep, anglep, &realp, &imagep);
    store(S, rangep);
    store(PF, std::abs(std::cos(toRadians(anglep))));
    store(P, std::abs(realp));
    store(Q, std::abs(imagep));
}

void BaseUtilityHelper::iFromPowerPQ(double p, double q, double rangev, double anglev,
                                     double* rangei, double* anglei)
{
    double re = 0.0, im = 0.0;
    vectorToComplex(rangev, anglev, &re, &im);
    const double c = re * re + im * im;
    if (c < DIVISOR_ZERO) {
        store(rangei, 0.0);
        store(anglei, 0.0);
        return;
    }
    // S / U, then conjugated.
    const double real = (re * p + im * q) / c;
    const double image = (re * q - im * p) / c;
    double r = 0.0, a = 0.0;
    complexToVector(real, -image, &r, &a);
    formatVector(&r, &a);
    store(rangei, r);
    store(anglei, a);
}

void BaseUtilityHelper::PQFromPowerSPF(double s, double pf, double* p, double* q)
{
    store(p, std::abs(s * pf));
    store(q, std::abs(s * std::sqrt(std::abs(1.0 - pf * pf))));
}

// Shifts in unsigned arithmetic: the same bits as the signed shifts for
// 0..255, and defined for every other argument too.
quint32 BaseUtilityHelper::versionbe(qint32 b1, qint32 b2, qint32 b3, qint32 b4)
{
    return quint32(b1) | (quint32(b2) << 8) | (quint32(b3) << 16) | (quint32(b4) << 24);
}

quint32 BaseUtilityHelper::versionle(qint32 b1, qint32 b2, qint32 b3, qint32 b4)
{
    return (quint32(b1) << 24) | (quint32(b2) << 16) | (quint32(b3) << 8) | quint32(b4);
}

QString BaseUtilityHelper::versionbe(quint32 ver)
{
    return versionText(ver & 0xFFu, (ver >> 8) & 0xFFu, (ver >> 16) & 0xFFu, (ver >> 24) & 0xFFu);
}

QString BaseUtilityHelper::versionle(quint32 ver)
{
    return versionText((ver >> 24) & 0xFFu, (ver >> 16) & 0xFFu, (ver >> 8) & 0xFFu, ver & 0xFFu);
}

QString BaseUtilityHelper::getAppRootPath()
{
    return QDir::currentPath();
}
