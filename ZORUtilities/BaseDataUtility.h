#pragma once

#include <QString>
#include <QtGlobal>

// Angle folding, polar normalisation, guarded division, float comparison and
// the version text. Stateless; every operation is static.
//
// Folding removes whole turns only from angles beyond +-360 and keeps the
// sign of the input. NaN and infinite angles pass through unchanged.
class BaseDataUtility
{
public:
    BaseDataUtility() = default;

    // Folded only when beyond +-360; the result lies strictly inside (-360, 360).
    static double formatAngle(double angle);
    // Folded, then into [-180, 180] (both ends stay as they are).
    static double formatAngle180(double angle);
    // Folded; with positive, a negative result gets 360 added. A result of
    // magnitude exactly 360 becomes 0.
    static double formatAngle(double angle, bool positive);
    // 0 for a negligible range; otherwise the angle (turned by 180 for a
    // negative range), folded.
    static double formatAngle(double range, double angle);
    // In place: a negligible range gives (0, 0); a negative range is made
    // positive with 180 added; the angle is folded and an angle just short of
    // a whole turn (magnitude above 359.9999) becomes 360 minus its magnitude.
    static void formatVector(double& range, double& angle);

    // Keeps values away from zero: abs(value) < abs(zero) gives +-abs(zero)
    // with the sign of value.
    static double formatZero(double value, double zero);
    // a / b, or 0 when abs(b) < 1e-10.
    static double division(double a, double b);
    // 0 when the two are within 1e-6, 1 when left is larger, -1 otherwise.
    static int qFuzzyCompare(float left, float right);
    static void swap(double& a, double& b);
    // Bytes lowest first: "b0.b1.b2b3", the last two as two digits each.
    static QString formatVersion(quint32 ver);
};
