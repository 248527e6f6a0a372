#pragma once

// The data range of one chart axis: maximum, minimum and an optional
// logarithmic scale with its base. Narrowing (And) and widening (Or) ignore
// values that fail isFiniteValue(), so a range only ever holds values that
// also fit a float with room to spare.
//
// Nothing is clamped: a narrowing that does not overlap leaves dataMin above
// dataMax, and the mapping places values outside the range outside 0..length
// (on a logarithmic axis 0 maps to an infinite or NaN position, so callers
// keep dataMin positive there).
class DataPaintLimitor
{
public:
    DataPaintLimitor() = default;
    DataPaintLimitor(const DataPaintLimitor&) = default;
    DataPaintLimitor& operator=(const DataPaintLimitor&) = default;

    void copyFrom(const DataPaintLimitor& other);

    // Narrow: dataMin = max(min, dataMin), dataMax = min(max, dataMax).
    void setLimitAnd(double min, double max);
    void setLimitAnd(const DataPaintLimitor& other);
    // Widen: dataMin = min(min, dataMin), dataMax = max(max, dataMax).
    void setLimitOr(double min, double max);
    void setLimitOr(const DataPaintLimitor& other);
    void setLimitAndMax(double value);
    void setLimitAndMin(double value);
    void setLimitOrMax(double value);
    void setLimitOrMin(double value);

    // dataMin < dataMax and 0 lies between them (ends included).
    bool existsZero() const;
    // Linear ranges always; logarithmic ones unless an end or the base is
    // negative (zero passes).
    bool isScaleSupported() const;
    // |dataMax - dataMin|.
    double getLimitLength() const;
    // Distance from the axis origin at which value lies on an axis length
    // pixels long; 0 when the ends (their logarithms on a logarithmic axis)
    // differ by less than 1e-6.
    double getViewPointFromDataValue(double length, double value) const;

    // Finite, inside (getCustomMinFloat(), getCustomMaxFloat()), and the same
    // again once converted to single precision.
    static bool isFiniteValue(double value);
    static bool isFiniteValue(float value);
    static bool isFiniteMoreZeroValue(double value);
    // A thousandth of the largest float, and its negative.
    static double getCustomMaxFloat();
    static double getCustomMinFloat();

    double dataMax = 1000.0;
    double dataMin = 0.0;
    bool dataLogEnable = false;
    double dataLogBase = 10.0;
};
