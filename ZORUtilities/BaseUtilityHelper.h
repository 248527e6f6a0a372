#pragma once

#include <QString>
#include <QtGlobal>

// Number handling on plain doubles: zero/NaN/maximum tests, clamping of
// entered values, polar/rectangular helpers, power relations, version packing
// and the application root. Stateless; every operation is static.
//
// Polar results of this class have their angle in [0, 360). Output pointers
// that are null are ignored.
class BaseUtilityHelper
{
public:
    BaseUtilityHelper() = default;

    static bool isNaN(double val);
    // abs(val) < 1e-7.
    static bool isZero(double val);
    // abs(val) is the largest finite double (the "no value" marker).
    static bool isMax(double val);

    // Clamps *range: above max gives max, then below min gives min.
    static void formatLimit(double max, double min, double* range);
    // A range of at most 1e-6 becomes 0 (angle left as is); otherwise the
    // angle is reduced to [0, 360).
    static void formatVector(double* range, double* angle);

    static void vectorToComplex(double range, double angle, double* real, double* image);
    static void complexToVector(double real, double image, double* range, double* angle);
    static void vectorAdd(double range1, double angle1, double range2, double angle2,
                          double* range, double* angle);
    static void vectorDec(double range1, double angle1, double range2, double angle2,
                          double* range, double* angle);
    static void vectorMul(double range1, double angle1, double range2, double angle2,
                          double* range, double* angle);
    // (0, 0) when the divisor's squared magnitude is below 1e-7.
    static void vectorDiv(double range1, double angle1, double range2, double angle2,
                          double* range, double* angle);

    // Complex power S = U * conj(I); P, Q, S and PF are given as magnitudes.
    static void computePower(double rangev, double anglev, double rangei, double anglei,
                             double* P, double* Q, double* S, double* PF);
    // Current drawn by P + jQ at U: I = conj(S / U), so a positive Q gives a
    // lagging current. (0, 0) for a voltage whose squared magnitude is below 1e-7.
    static void iFromPowerPQ(double p, double q, double rangev, double anglev,
                             double* rangei, double* anglei);
    static void PQFromPowerSPF(double s, double pf, double* p, double* q);

    // First argument in the lowest byte. Arguments are not masked: one above
    // 255 spills into the next byte.
    static quint32 versionbe(qint32 b1, qint32 b2, qint32 b3, qint32 b4);
    // First argument in the highest byte.
    static quint32 versionle(qint32 b1, qint32 b2, qint32 b3, qint32 b4);
    // "a.bb.ccdd" from the bytes lowest first.
    static QString versionbe(quint32 ver);
    // "a.bb.ccdd" from the bytes highest first.
    static QString versionle(quint32 ver);

    // The working directory the process runs in, absolute, no trailing separator.
    static QString getAppRootPath();
};
