// Axis ranges: mapping values to lengths, narrowing and widening by valid
// values only, and the pixel placement of data points.

#include <gtest/gtest.h>

#include "DataPaintCoordinate.h"

#include <cmath>
#include <functional>
#include <limits>

namespace {

DataPaintLimitor range(double min, double max, bool log = false, double base = 10.0)
{
    DataPaintLimitor r;
    r.dataMin = min;
    r.dataMax = max;
    r.dataLogEnable = log;
    r.dataLogBase = base;
    return r;
}

} // namespace

TEST(ChartRange, MapsValuesToLengthsAlongTheAxis)
{
    struct Row { const char* name; DataPaintLimitor r; double length, value, expected; };
    const Row rows[] = {
        {"default range", DataPaintLimitor(), 600, 500, 300},
        {"beyond the maximum, not clamped", range(0, 10), 100, 15, 150},
        {"ends closer than 1e-6", range(5, 5 + 9e-7), 600, 7, 0},
        {"logarithmic decades", range(0.001, 10000, true), 700, 1, 300},
        {"logarithmic base 2", range(2, 1024, true, 2), 900, 32, 400},
        {"logarithms closer than 1e-6", range(1, 1 + 2e-6, true), 600, 7, 0},
    };
    for (const Row& row : rows)
        EXPECT_NEAR(row.r.getViewPointFromDataValue(row.length, row.value), row.expected, 1e-9) << row.name;
}

TEST(ChartRange, NarrowsAndWidensOnlyByValidValues)
{
    using Op = std::function<void(DataPaintLimitor&)>;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double floatOf3e35 = static_cast<float>(3e35);
    struct Row { const char* name; Op op; double min, max; };
    const Row rows[] = {
        {"And with a NaN minimum", [&](DataPaintLimitor& r) { r.setLimitAnd(nan, 5); }, 0, 5},
        {"And with another range", [](DataPaintLimitor& r) { r.setLimitAnd(range(-5, 600)); }, 0, 600},
        {"Or with another range", [](DataPaintLimitor& r) { r.setLimitOr(range(-5, 600)); }, -5, 1000},
        {"Or beyond the float limit", [](DataPaintLimitor& r) { r.setLimitOrMax(1e36); }, 0, 1000},
        {"Or just inside it", [](DataPaintLimitor& r) { r.setLimitOrMax(3e35); }, 0, 3e35},
        {"Or by its float value", [&](DataPaintLimitor& r) { r.setLimitOrMax(floatOf3e35); }, 0, floatOf3e35},
        {"Or by infinities", [&](DataPaintLimitor& r) { r.setLimitOr(-inf, inf); }, 0, 1000},
        {"And not overlapping", [](DataPaintLimitor& r) { r.setLimitAnd(2000, 3000); }, 2000, 1000},
    };
    for (const Row& row : rows) {
        DataPaintLimitor r;
        row.op(r);
        EXPECT_EQ(r.dataMin, row.min) << row.name;
        EXPECT_EQ(r.dataMax, row.max) << row.name;
        EXPECT_EQ(r.getLimitLength(), std::fabs(row.max - row.min)) << row.name;
    }
}

TEST(ChartRange, PlacesDataPointsFromTheBottomLeftUpward)
{
    DataPaintCoordinate c;
    c.Y = range(0, 100);
    const QRectF rect(10, 20, 200, 400);
    EXPECT_EQ(c.getViewPointFromDataValue(rect, QPointF(0, 0)), QPointF(10, 420));
    EXPECT_EQ(c.getViewPointFromDataValue(rect, QPointF(500, 25)), QPointF(110, 320));
}
