#pragma once

#include <QString>
#include <QtGlobal>

// Operating curves of overcurrent relays: the operate time in seconds at test
// current I for pickup Ip and time dial (time multiplier) Td.
//
// Every curve runs the same frame around its formula t(M), M = I / Ip:
//   1. I negative, NaN or +inf         -> NaN
//   2. Td == 0                         -> 0 (ahead of the pickup test)
//   3. I < Ip                          -> NaN (no operation)
//   4. t = formula
//   5. t NaN, infinite or beyond range -> DBL_MAX (no bounded time)
//   6. t < 0                           -> 0
// The standard form's definite-time variant bounds Td instead of steps 5-6.
//
// Small value objects, usually held by value; GUI thread, no I/O.
class OperatingCurves
{
public:
    // 32-bit enums: a value outside the lists (e.g. read from a file) is held
    // as it is rather than being undefined; a family outside the list selects
    // no curve.
    enum CharacterType : qint32 {
        CHAR_STAND = 0,
        CHAR_IAC = 1,
        CHAR_I2T = 2,
        CHAR_IT = 3,
        CHAR_LABORELEC = 4,
        CHAR_RI = 5,
        CHAR_RXRDG = 6,
    };

    // Only 0 (definite time) against any other value changes a result; the
    // others label the catalogue rows.
    enum IECCharType : qint32 {
        IEC_DEFINITE_TIME = 0,
        IEC_NORMAL_INVERSE = 1,
        IEC_VERY_INVERSE = 2,
        IEC_EXTREMELY_INVERSE = 3,
    };

    OperatingCurves() = default;
    explicit OperatingCurves(const QString& name);
    // Virtual, so that a curve held through a base pointer is destroyed whole.
    virtual ~OperatingCurves() = default;
    OperatingCurves(const OperatingCurves&) = default;
    OperatingCurves& operator=(const OperatingCurves&) = default;

    // Operate time in s; the base curve gives 0.
    virtual double ComputerActionTime(double I, double Ip, double Td);

    CharacterType charType = CHAR_STAND;
    QString charName;

protected:
    OperatingCurves(CharacterType type, const QString& name);

    // Steps 1-3 of the frame; true with *result set when they decide.
    static bool decidedBeforeFormula(double I, double Ip, double Td, double* result);
    // Steps 5-6 of the frame.
    static double boundTime(double t);

    template <typename Formula>
    static double frame(double I, double Ip, double Td, Formula formula)
    {
        double result = 0.0;
        if (decidedBeforeFormula(I, Ip, Td, &result))
            return result;
        return boundTime(formula());
    }
};

// t = (A Td + K1) / (M^P - Q) + B Td + K2; definite time (iec_Type 0): t = Td.
class OverCurrentChar : public OperatingCurves
{
public:
    explicit OverCurrentChar(const QString& name = QString());

    double ComputerActionTime(double I, double Ip, double Td) override;
    void setIECParameter(IECCharType type, double A, double B, double P, double Q, double K1, double K2);

    IECCharType iec_Type = IEC_DEFINITE_TIME;
    double m_A = 0.0;
    double m_B = 0.0;
    double m_P = 0.0;
    double m_Q = 0.0;
    double m_K1 = 0.0;
    double m_K2 = 0.0;
};

// t = Td (A + B / (M - C) + D / (M - C)^2 + E / (M - C)^3).
class OverCurrentCharIAC : public OperatingCurves
{
public:
    explicit OverCurrentCharIAC(const QString& name = QString());

    double ComputerActionTime(double I, double Ip, double Td) override;
    void setIACParameter(double A, double B, double C, double D, double E);

    double m_A = 0.2;
    double m_B = 0.86;
    double m_C = 0.8;
    double m_D = 0.418;
    double m_E = 0.19;
};

// t = A Td ln(M^P) / (M^P - Q); K takes no part.
class OverCurrentCharI2T : public OperatingCurves
{
public:
    explicit OverCurrentCharI2T(const QString& name = QString());

    double ComputerActionTime(double I, double Ip, double Td) override;

    double m_A = 100.0;
    double m_P = 2.0;
    double m_Q = 1.0;
    double m_K = 0.0;
};

// t = 5 Td 3^P / I^P on the raw current; Ip only gates the pickup.
class OverCurrentCharIT : public OperatingCurves
{
public:
    explicit OverCurrentCharIT(const QString& name = QString());

    double ComputerActionTime(double I, double Ip, double Td) override;

    double m_P = 2.0;
};

// t = A I + B; neither Ip nor Td enters the value.
class OverCurrentCharLaborelec : public OperatingCurves
{
public:
    explicit OverCurrentCharLaborelec(const QString& name = QString());

    double ComputerActionTime(double I, double Ip, double Td) override;

    double m_A = -0.05;
    double m_B = 4.0;
};

// t = K / (0.339 - 0.236 Ip / I); Td does not enter the value.
class OverCurrentCharRI : public OperatingCurves
{
public:
    explicit OverCurrentCharRI(const QString& name = QString());

    double ComputerActionTime(double I, double Ip, double Td) override;

    double m_K = 2.0;
};

// t = 5.8 - 1.35 ln(M / Td).
class OverCurrentCharRXRDG : public OperatingCurves
{
public:
    explicit OverCurrentCharRXRDG(const QString& name = QString());

    double ComputerActionTime(double I, double Ip, double Td) override;
};
