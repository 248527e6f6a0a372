#include "DataPaintLimitor.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double CUSTOM_MAX_FLOAT = 3.4028234663852886e35;
constexpr double MIN_SPAN = 1e-6;

} // namespace

void DataPaintLimitor::copyFrom(const DataPaintLimitor& other)
{
    *this = other;
}

void DataPaintLimitor::setLimitAnd(double min, double max)
{
    setLimitAndMin(min);
    setLimitAndMax(max);
}

void DataPaintLimitor::setLimitAnd(const DataPaintLimitor& other)
{
    setLimitAnd(other.dataMin, other.dataMax);
}

void DataPaintLimitor::setLimitOr(double min, double max)
{
    setLimitOrMin(min);
    setLimitOrMax(max);
}

void DataPaintLimitor::setLimitOr(const DataPaintLimitor& other)
{
    setLimitOr(other.dataMin, other.dataMax);
}

void DataPaintLimitor::setLimitAndMax(double value)
{
    if (isFiniteValue(value))
        dataMax = std::min(value, dataMax);
}

void DataPaintLimitor::setLimitAndMin(double value)
{
    if (isFiniteValue(value))
        dataMin = std::max(value, dataMin);
}

void DataPaintLimitor::setLimitOrMax(double value)
{
    if (isFiniteValue(value))
        dataMax = std::max(value, dataMax);
}

void DataPaintLimitor::setLimitOrMin(double value)
{
    if (isFiniteValue(value))
        dataMin = std::min(value, dataMin);
}

bool DataPaintLimitor::existsZero() const
{
    return dataMin < dataMax && dataMin <= 0.0 && dataMax >= 0.0;
}

bool DataPaintLimitor::isScaleSupported() const
{
    if (!dataLogEnable)
        return true;
    return !(dataMax < 0.0 || dataMin < 0.0 || dataLogBase < 0.0);
}

double DataPaintLimitor::getLimitLength() const
{
    return std::fabs(dataMax - dataMin);
}

double DataPaintLimitor::getViewPointFromDataValue(double length, double value) const
{
    if (!dataLogEnable) {
        const double span = dataMax - dataMin;
        return std::fabs(span) >= MIN_SPAN ? (value - dataMin) * length / span : 0.0;
    }
    const double lnBase = std::log(dataLogBase);
    const double lgMin = std::log(dataMin) / lnBase;
    const double span = std::log(dataMax) / lnBase - lgMin;
    return std::fabs(span) >= MIN_SPAN ? (std::log(value) / lnBase - lgMin) * length / span : 0.0;
}

bool DataPaintLimitor::isFiniteValue(double value)
{
    // Range first: only then is the conversion to float defined.
    if (!std::isfinite(value) || value <= -CUSTOM_MAX_FLOAT || value >= CUSTOM_MAX_FLOAT)
        return false;
    return isFiniteValue(static_cast<float>(value));
}

bool DataPaintLimitor::isFiniteValue(float value)
{
    const double v = value;
    return std::isfinite(v) && v > -CUSTOM_MAX_FLOAT && v < CUSTOM_MAX_FLOAT;
}

bool DataPaintLimitor::isFiniteMoreZeroValue(double value)
{
    return isFiniteValue(value) && value > 0.0;
}

double DataPaintLimitor::getCustomMaxFloat()
{
    return CUSTOM_MAX_FLOAT;
}

double DataPaintLimitor::getCustomMinFloat()
{
    return -CUSTOM_MAX_FLOAT;
}
