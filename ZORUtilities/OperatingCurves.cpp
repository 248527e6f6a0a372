#include "OperatingCurves.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
}

OperatingCurves::OperatingCurves(const QString& name)
    : charName(name)
{
}

OperatingCurves::OperatingCurves(CharacterType type, const QString& name)
    : charType(type)
    , charName(name)
{
}

double OperatingCurves::ComputerActionTime(double, double, double)
{
    return 0.0;
}

bool OperatingCurves::decidedBeforeFormula(double I, double Ip, double Td, double* result)
{
    if (!(I >= 0.0 && I <= DBL_MAX)) {
        *result = kNaN;
        return true;
    }
    if (Td == 0.0) {
        *result = 0.0;
        return true;
    }
    if (I < Ip) {
        *result = kNaN;
        return true;
    }
    return false;
}

double OperatingCurves::boundTime(double t)
{
    if (std::isnan(t) || std::isinf(t) || t > DBL_MAX)
        return DBL_MAX;
    return t < 0.0 ? 0.0 : t;
}

OverCurrentChar::OverCurrentChar(const QString& name)
    : OperatingCurves(CHAR_STAND, name)
{
}

double OverCurrentChar::ComputerActionTime(double I, double Ip, double Td)
{
    if (iec_Type == IEC_DEFINITE_TIME) {
        double result = 0.0;
        if (decidedBeforeFormula(I, Ip, Td, &result))
            return result;
        if (Td < 0.0)
            return 0.0;
        return Td > DBL_MAX ? DBL_MAX : Td;
    }
    return frame(I, Ip, Td, [&] {
        const double M = I / Ip;
        return (m_A * Td + m_K1) / (std::pow(M, m_P) - m_Q) + m_B * Td + m_K2;
    });
}

void OverCurrentChar::setIECParameter(IECCharType type, double A, double B, double P, double Q, double K1, double K2)
{
    iec_Type = type;
    m_A = A;
    m_B = B;
    m_P = P;
    m_Q = Q;
    m_K1 = K1;
    m_K2 = K2;
}

OverCurrentCharIAC::OverCurrentCharIAC(const QString& name)
    : OperatingCurves(CHAR_IAC, name)
{
}

double OverCurrentCharIAC::ComputerActionTime(double I, double Ip, double Td)
{
    return frame(I, Ip, Td, [&] {
        const double x = I / Ip - m_C;
        return Td * (m_A + m_B / x + m_D / std::pow(x, 2.0) + m_E / std::pow(x, 3.0));
    });
}

void OverCurrentCharIAC::setIACParameter(double A, double B, double C, double D, double E)
{
    m_A = A;
    m_B = B;
    m_C = C;
    m_D = D;
    m_E = E;
}

OverCurrentCharI2T::OverCurrentCharI2T(const QString& name)
    : OperatingCurves(CHAR_I2T, name)
{
}

double OverCurrentCharI2T::ComputerActionTime(double I, double Ip, double Td)
{
    return frame(I, Ip, Td, [&] {
        const double power = std::pow(I / Ip, m_P);
        return m_A * Td * std::log(power) / (power - m_Q);
    });
}

OverCurrentCharIT::OverCurrentCharIT(const QString& name)
    : OperatingCurves(CHAR_IT, name)
{
}

double OverCurrentCharIT::ComputerActionTime(double I, double Ip, double Td)
{
    return frame(I, Ip, Td, [&] { return 5.0 * Td * std::pow(3.0, m_P) / std::pow(I, m_P); });
}

OverCurrentCharLaborelec::OverCurrentCharLaborelec(const QString& name)
    : OperatingCurves(CHAR_LABORELEC, name)
{
}

double OverCurrentCharLaborelec::ComputerActionTime(double I, double Ip, double Td)
{
    return frame(I, Ip, Td, [&] { return m_A * I + m_B; });
}

OverCurrentCharRI::OverCurrentCharRI(const QString& name)
    : OperatingCurves(CHAR_RI, name)
{
}

double OverCurrentCharRI::ComputerActionTime(double I, double Ip, double Td)
{
    return frame(I, Ip, Td, [&] { return m_K / (0.339 - 0.236 * Ip / I); });
}

OverCurrentCharRXRDG::OverCurrentCharRXRDG(const QString& name)
    : OperatingCurves(CHAR_RXRDG, name)
{
}

double OverCurrentCharRXRDG::ComputerActionTime(double I, double Ip, double Td)
{
    return frame(I, Ip, Td, [&] { return 5.8 - 1.35 * std::log((I / Ip) / Td); });
}
