#include "BaseDataRepairFactor.h"

#include <cmath>
#include <limits>

namespace {

constexpr double PI = 3.141592653589793;
// Tangents below this (single-precision 1e-7) count as a line angle of 0 or 180.
constexpr float TAN_ZERO = 1e-7f;

double toRadians(double degrees)
{
    return degrees * PI / 180.0;
}

// Magnitude and full-quadrant angle of r + ji, angle in (-180, 180]; the
// zero value has angle 0.
void toPolar(double r, double i, double& range, double& angle)
{
    range = std::hypot(r, i);
    if (r == 0.0 && i == 0.0) {
        angle = 0.0;
        return;
    }
    angle = std::atan2(i, r) * 180.0 / PI;
    if (angle == -180.0)
        angle = 180.0;
}

} // namespace

void BaseDataRepairFactor::setValue(const BaseDataRepairFactor& src)
{
    *this = src;
}

void BaseDataRepairFactor::repairKLToRERLXEXL(double faultAngle, double klRange, double klAngle,
                                              double& rxReRl, double& rxXeXl)
{
    const double kr = klRange * std::cos(toRadians(klAngle));
    const double ki = klRange * std::sin(toRadians(klAngle));
    const double t = std::tan(toRadians(faultAngle));
    rxReRl = kr - t * ki;
    if (std::abs(t) >= TAN_ZERO)
        rxXeXl = ki / t + kr;
    else
        rxXeXl = std::numeric_limits<double>::max();
}

void BaseDataRepairFactor::repairRERLXEXLToKL(double faultAngle, double rxReRl, double rxXeXl,
                                              double& klRange, double& klAngle)
{
    const double c = std::cos(toRadians(faultAngle));
    const double s = std::sin(toRadians(faultAngle));
    const double kr = rxReRl * c * c + rxXeXl * s * s;
    const double ki = rxXeXl * c * s - rxReRl * s * c;
    toPolar(kr, ki, klRange, klAngle);
}

void BaseDataRepairFactor::repairKLToZ0Z1(double klRange, double klAngle, double& z0z1Range,
                                          double& z0z1Angle)
{
    const double tr = klRange * std::cos(toRadians(klAngle)) * 3.0 + 1.0;
    const double ti = klRange * std::sin(toRadians(klAngle)) * 3.0;
    toPolar(tr, ti, z0z1Range, z0z1Angle);
}

void BaseDataRepairFactor::repairZ0Z1ToKL(double z0z1Range, double z0z1Angle, double& klRange,
                                          double& klAngle)
{
    const double tr = (z0z1Range * std::cos(toRadians(z0z1Angle)) - 1.0) / 3.0;
    const double ti = z0z1Range * std::sin(toRadians(z0z1Angle)) / 3.0;
    toPolar(tr, ti, klRange, klAngle);
}

void BaseDataRepairFactor::klForm(double& range, double& angle) const
{
    const double S = dataSettingAngle;
    const double F = dataShortAngle;
    if (!modeA()) {
        switch (dataType) {
        case REPAIR_TYPE_RERL_XEXL:
            repairRERLXEXLToKL(S, dataFactor1, dataFactor2, range, angle);
            return;
        case REPAIR_TYPE_Z0Z1:
            repairZ0Z1ToKL(dataFactor1, dataFactor2, range, angle);
            return;
        case REPAIR_TYPE_KL:
        default:
            range = dataFactor1;
            angle = dataFactor2;
            return;
        }
    }
    // Mode A: the ratios at the setting angle, KL at the fault angle.
    double reRl = dataFactor1;
    double xeXl = dataFactor2;
    switch (dataType) {
    case REPAIR_TYPE_RERL_XEXL:
        break;
    case REPAIR_TYPE_Z0Z1: {
        double klRange = 0.0, klAngle = 0.0;
        repairZ0Z1ToKL(dataFactor1, dataFactor2, klRange, klAngle);
        repairKLToRERLXEXL(S, klRange, klAngle, reRl, xeXl);
        break;
    }
    case REPAIR_TYPE_KL:
    default:
        repairKLToRERLXEXL(S, dataFactor1, dataFactor2, reRl, xeXl);
        break;
    }
    repairRERLXEXLToKL(F, reRl, xeXl, range, angle);
}

BaseDataRepairFactor BaseDataRepairFactor::toKL() const
{
    BaseDataRepairFactor result(*this);
    klForm(result.dataFactor1, result.dataFactor2);
    result.dataType = REPAIR_TYPE_KL;
    return result;
}

template <typename FromKL>
BaseDataRepairFactor BaseDataRepairFactor::inForm(RepairType type, FromKL fromKL) const
{
    BaseDataRepairFactor result(*this);
    if (dataType != type) {
        double klRange = 0.0, klAngle = 0.0;
        klForm(klRange, klAngle);
        fromKL(klRange, klAngle, result.dataFactor1, result.dataFactor2);
    }
    result.dataType = type;
    return result;
}

BaseDataRepairFactor BaseDataRepairFactor::toRERLXEXL() const
{
    const double angle = modeA() ? dataShortAngle : dataSettingAngle;
    return inForm(REPAIR_TYPE_RERL_XEXL, [angle](double klRange, double klAngle, double& reRl, double& xeXl) {
        repairKLToRERLXEXL(angle, klRange, klAngle, reRl, xeXl);
    });
}

BaseDataRepairFactor BaseDataRepairFactor::toZ0Z1() const
{
    return inForm(REPAIR_TYPE_Z0Z1, repairKLToZ0Z1);
}

void BaseDataRepairFactor::updateTo(RepairType type)
{
    switch (type) {
    case REPAIR_TYPE_KL:
        *this = toKL();
        break;
    case REPAIR_TYPE_RERL_XEXL:
        *this = toRERLXEXL();
        break;
    case REPAIR_TYPE_Z0Z1:
        *this = toZ0Z1();
        break;
    }
}

BaseDataVector BaseDataRepairFactor::toKLVector() const
{
    const BaseDataRepairFactor kl = toKL();
    return BaseDataVector(kl.dataFactor1, kl.dataFactor2);
}
