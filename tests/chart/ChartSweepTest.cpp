// Every range the limits accept draws and ends, with a bounded number of
// ticks inside the axis; the folder's short time-out fails a loop that never ends.

#include <gtest/gtest.h>

#include "ChartTestSupport.h"

#include <QPainter>

#include <cmath>

namespace {

const double LENGTHS[] = {20, 57, 200, 216, 300, 347, 578, 800};

// Draws the range on axes of every length; nothing when the limits refuse it.
int sweep(double min, double max, bool log, double base = 10)
{
    if (!DataPaintLimitor::isFiniteValue(min) || !DataPaintLimitor::isFiniteValue(max))
        return 0;
    // A tick per pixel, plus ten per whole power of the base; inside the axis
    // but for the 1e-7 granted at its ends and the spacing of doubles there.
    const double powers = log ? std::fabs(std::log(max / min) / std::log(base)) : 0.0;
    const double m = std::max(std::fabs(min), std::fabs(max));
    const double slack = log ? 0.5 : (1.1e-7 + 2 * (std::nextafter(m, HUGE_VAL) - m)) / (max - min);
    for (double length : LENGTHS) {
        for (auto type : {BasePaintRuler::RULER_TYPE_X, BasePaintRuler::RULER_TYPE_Y}) {
            Axis axis(min, max, log, length, type, base);
            const auto scales = axis.ruler.getScales();
            EXPECT_LE(scales.size(), length + 10 * (powers + 2)) << min << ".." << max << " on " << length;
            const double outside = log ? slack : slack * length + 0.5;
            const auto out = std::find_if(scales.begin(), scales.end(), [&](auto& s) {
                return !(s.position >= -outside && s.position <= length + outside);
            });
            EXPECT_TRUE(out == scales.end()) << min << ".." << max << " base " << base << " on " << length;
            RecordingDevice device;
            QPainter painter(&device);
            axis.ruler.draw(&painter);
        }
    }
    return 1;
}

} // namespace

TEST(ChartSweep, LinearRangesDrawAndEnd)
{
    int ranges = 0;
    for (double span : {1.1e-6, 3e-5, 1e-4, 1e-3, 0.7, 1e3, 1e9, 1e18, 1e30})
        for (double start : {0.0, 1.0, -1e3, 1e6, 1e18, -1e18, 1e30})
            for (double from : {start, start - span / 2})
                ranges += sweep(from, from + span, false);
    EXPECT_EQ(ranges, 126);
}

TEST(ChartSweep, LogarithmicRangesDrawAndEnd)
{
    int ranges = 0;
    for (double base : {10.0, 2.0, std::exp(1.0)})
        for (double start : {1e-6, 0.001, 0.4, 1.0, 150.0, 1e4, 1e10, 1e20})
            for (double decades : {0.01, 0.1, 0.5, 1.0, 1.7, 3.0, 7.0, 12.0, 30.0})
                ranges += sweep(start, start * std::pow(10.0, decades), true, base);
    for (double max : {1e-3, 1.0, 1e30})
        ranges += sweep(0, max, true);
    for (double base : {0.5, 1.0001, 1e6}) // far from the usual bases
        ranges += sweep(0.001, 1e30, true, base);
    EXPECT_EQ(ranges, 216);
}

TEST(ChartSweep, ChartTimeRangeKeepsSmallTicksApart)
{
    for (double length : LENGTHS) {
        Axis axis(150, 9000, true, length, BasePaintRuler::RULER_TYPE_Y);
        const auto scales = axis.ruler.getScales();
        EXPECT_LT(std::count_if(scales.begin(), scales.end(), [](auto& s) { return s.type == BasePaintRuler::SCALE_TYPE_SMALL; }),
                  length / 2) << length;
    }
}
