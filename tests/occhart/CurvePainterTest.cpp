// The time-current chart item: images from drawImage() are decoded and
// checked pixel by pixel against a log-log mapping worked out here.
#include "BasePaintCoordinate.h"
#include "ControllerCenter.h"
#include "ViewOvercurrentCurvePainter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const QColor kCurve(0, 0, 255);
const QColor kBand(255, 0, 255);
const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kUntested(0x6c, 0x6e, 0x6d);

// The ranges worked out here, on the plot the chart laid out for its texts.
struct Mapping
{
    double xMin, xMax, yMin, yMax;
    QRectF plot;
    QPointF at(double current, double time) const
    {
        auto share = [](double v, double lo, double hi) {
            return (std::log10(v) - std::log10(lo)) / (std::log10(hi) - std::log10(lo));
        };
        return QPointF(plot.left() + plot.width() * share(current, xMin, xMax),
                       plot.bottom() - plot.height() * share(time, yMin, yMax));
    }
};

// How much of colour c pixel p holds over white (0 white, 1 c); -1 when p is
// no blend of white and c.
double inkShare(QRgb p, const QColor& c)
{
    const double d[3] = {255.0 - qRed(p), 255.0 - qGreen(p), 255.0 - qBlue(p)};
    const double e[3] = {255.0 - c.red(), 255.0 - c.green(), 255.0 - c.blue()};
    const double a = (d[0] * e[0] + d[1] * e[1] + d[2] * e[2]) / (e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
    double residual = 0;
    for (int k = 0; k < 3; ++k)
        residual += (d[k] - a * e[k]) * (d[k] - a * e[k]);
    return std::sqrt(residual) <= 40 && a <= 1.15 ? a : -1;
}

// Pixels whose centres lie within radius of `at` and hold at least minShare of c.
int inkCount(const QImage& image, QPointF at, const QColor& c, double radius, double minShare = 0.5)
{
    int count = 0;
    const int r = int(std::ceil(radius)) + 1;
    for (int i = int(at.x()) - r; i <= int(at.x()) + r; ++i)
        for (int j = int(at.y()) - r; j <= int(at.y()) + r; ++j)
            if (image.valid(i, j) && std::hypot(i + 0.5 - at.x(), j + 0.5 - at.y()) <= radius
                && inkShare(image.pixel(i, j), c) >= minShare)
                ++count;
    return count;
}

bool lineAt(const QImage& image, QPointF at, const QColor& c) { return inkCount(image, at, c, 1.5) > 0; }
bool dotAt(const QImage& image, QPointF at, const QColor& c) { return inkCount(image, at, c, 2.0, 0.7) >= 9; }

// A dashed line of c through samples one pixel apart: mostly inked, with
// more than ten gaps.
bool dashed(const QImage& image, const std::vector<QPointF>& samples, const QColor& c)
{
    int inked = 0, gaps = 0;
    bool last = true;
    for (const QPointF& p : samples) {
        const bool on = inkCount(image, p, c, 0.75, 0.4) > 0;
        gaps += on && !last;
        inked += on;
        last = on;
    }
    return inked > 0.4 * samples.size() && gaps > 10;
}

std::vector<QPointF> along(QPointF from, QPointF to)
{
    std::vector<QPointF> samples;
    const double length = std::hypot(to.x() - from.x(), to.y() - from.y());
    for (double s = 3; s < length - 3; s += 1)
        samples.push_back(from + (to - from) * (s / length));
    return samples;
}

// IEC normal inverse, pickup 1 A, time multiplier 0.1, and a band around it.
double inverseTime(double current) { return 0.1 * 0.14 / (std::pow(current, 0.02) - 1.0); }
double shortTime(double current) { return 0.8 * inverseTime(1.05 * current); }
double longTime(double current) { return 1.25 * inverseTime(current); }

double& maxIRange() { return ControllerCenter::getInstance()->testConfiguration->maxIRange; }

class CurveChart : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedRange = maxIRange();
        chart.setWidth(kWidth);
        chart.setHeight(kHeight);
        chart.setBackgroundColor("transparent");
        chart.setMainCurveColor(kCurve.name());
        chart.setRangeDashColor(kBand.name());
        chart.setFontFamily("Arial");
    }
    void TearDown() override { maxIRange() = savedRange; }

    QImage render()
    {
        QImage image;
        image.loadFromData(QByteArray::fromBase64(chart.drawImage().toLatin1()), "PNG");
        EXPECT_EQ(image.size(), QSize(int(chart.width()), int(chart.height())));
        return image.convertToFormat(QImage::Format_ARGB32);
    }

    QRectF plot() const { return chart.getPaintCoordinate().rulerX.viewDataRect; }

    // As the page feeds function 51: the pickup point above the chart, a
    // dense run up to the largest current + 1 A, then points below the
    // pickup that only the short-time edge takes. Returns the mapping the
    // feed narrows the ranges to.
    Mapping feedInverse()
    {
        const double imax = maxIRange() + 1.0;
        chart.setCurveType(ViewOvercurrentModel::FUNCTION_TYPE_51);
        int n = 0;
        chart.updateCurveData(n++, 1.0, 100000, 1.0, 1e6, 1.0, 1e6);
        std::vector<double> currents{2.0, 5.0, 10.0};
        for (int j = 0; j <= 300; ++j)
            currents.push_back(1.02 * std::pow(imax / 1.02, j / 300.0));
        std::sort(currents.begin(), currents.end());
        for (double I : currents)
            chart.updateCurveData(n++, I, inverseTime(I), I, longTime(I), I, shortTime(I));
        for (double I : {0.99, 0.98, 0.97, 0.96})
            chart.updateCurveData(n++, I, -1, I, -1, -1, shortTime(I));
        return Mapping{0.4, imax, 0.7 * shortTime(imax), 10000, QRectF()};
    }

    ViewOvercurrentCurvePainter chart;
    double savedRange = 0;
};

TEST_F(CurveChart, InverseTimeChartFollowsTheLogLogMapping)
{
    for (double range : {10.0, 30.0}) {
        SCOPED_TRACE(range);
        maxIRange() = range;
        Mapping map = feedInverse();
        chart.updataPonit(0, 1, 3.0, inverseTime(3.0), 1);
        chart.updataPonit(1, 1, 4.0, 1.5 * inverseTime(4.0), 2);
        chart.updataPonit(2, 1, 6.0, inverseTime(6.0), 0);
        chart.updataPonit(3, 0, 8.0, 2 * inverseTime(8.0), 1);
        const QImage image = render();
        map.plot = plot();

        for (QPoint margin : {QPoint(kWidth / 2, 1), QPoint(kWidth - 3, 1), QPoint(kWidth - 3, kHeight / 2)})
            EXPECT_EQ(image.pixel(margin), qRgb(255, 255, 255));
        struct { double current, time; } onCurve[] = {{2, 1.003}, {5, 0.428}, {10, 0.297}};
        for (const auto& p : onCurve)
            EXPECT_TRUE(lineAt(image, map.at(p.current, p.time), kCurve)) << p.current << " A";

        for (auto edge : {&shortTime, &longTime}) {
            std::vector<QPointF> samples;
            for (double x = map.at(1.5, 1).x(); x <= map.at(10, 1).x(); x += 1) {
                const double I = map.xMin * std::pow(map.xMax / map.xMin, (x - map.plot.left()) / map.plot.width());
                samples.push_back(map.at(I, edge(I)));
            }
            EXPECT_TRUE(dashed(image, samples, kBand));
        }

        EXPECT_TRUE(dotAt(image, map.at(3.0, inverseTime(3.0)), kGreen));
        EXPECT_TRUE(dotAt(image, map.at(4.0, 1.5 * inverseTime(4.0)), kRed));
        EXPECT_TRUE(dotAt(image, map.at(6.0, inverseTime(6.0)), kUntested));
        EXPECT_EQ(inkCount(image, map.at(8.0, 2 * inverseTime(8.0)), kGreen, 3.0), 0);
    }
}

TEST_F(CurveChart, DefiniteTimeDrawsTwoSegmentsAndCorneredBandEdges)
{
    // Pickup 2 A, 0.5 s, band 1.9..2.1 A and 0.45..0.55 s, fed as the page does.
    chart.setCurveType(ViewOvercurrentModel::FUNCTION_TYPE_50);
    chart.updateCurveData(0, 2.0, 100000, 1.9, 1e6, 2.1, 1e6);
    chart.updateCurveData(1, 2.0, 0.5, 1.9, 0.55, 2.1, 0.45);
    chart.updateCurveData(2, 11.0, 0.5, 10.45, 0.55, 11.55, 0.45);
    const QImage image = render();
    const Mapping map{0.7 * 1.9, 11, 0.7 * 0.45, 10 * 0.55, plot()};

    for (double t : {0.6, 1.0, 3.0, 5.0})
        EXPECT_TRUE(lineAt(image, map.at(2.0, t), kCurve)) << t << " s";
    for (double I : {2.0, 3.0, 6.0, 10.0})
        EXPECT_TRUE(lineAt(image, map.at(I, 0.5), kCurve)) << I << " A";
    EXPECT_FALSE(lineAt(image, map.at(3.0, 1.0), kCurve));

    const QPointF corners[][2] = {{map.at(1.9, 5.5), map.at(1.9, 0.45)}, {map.at(1.9, 0.45), map.at(11, 0.45)},
                                  {map.at(2.1, 5.5), map.at(2.1, 0.55)}, {map.at(2.1, 0.55), map.at(11, 0.55)}};
    for (const auto& run : corners)
        EXPECT_TRUE(dashed(image, along(run[0], run[1]), kBand)) << run[0].x() << "," << run[0].y();
    EXPECT_FALSE(lineAt(image, map.at(3.0, 0.45 * 2), kBand));
}

TEST_F(CurveChart, TestPointsOutsideTheRangesArePinnedToTheirEdges)
{
    struct Row { const char* name; double current, time, atCurrent, atTime, yMin; };
    const Row rows[] = {
        {"NaN time: none, not drawn", 3, kNaN, 3, kNaN, 0},
        {"time beyond 10000 s", 4, 20000, 4, 10000, 0},
        {"infinite time", 5, kInf, 5, 10000, 0},
        {"zero time: no trip", 6, 0.0, 6, 10000, 0},
        {"negative time", 7, -1.0, 7, 10000, 0},
        {"current below the range", 0.1, 1.0, 0.4, 1.0, 0},
        {"time below the range", 5, 0.01, 5, 0.01, 0.01},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Mapping map = feedInverse();
        if (row.yMin > 0)
            map.yMin = row.yMin;
        chart.updataPonit(0, 1, row.current, row.time, 1);
        const QImage image = render();
        map.plot = plot();
        if (std::isnan(row.atTime))
            EXPECT_FALSE(dotAt(image, map.at(row.atCurrent, 10000), kGreen));
        else
            EXPECT_TRUE(dotAt(image, map.at(row.atCurrent, row.atTime), kGreen));
        EXPECT_TRUE(lineAt(image, map.at(2, 1.003), kCurve));
    }
}

// Nothing at all without a fed characteristic (a feed is consumed by a
// paint); the background and the axes only for a feed too short to draw.
TEST_F(CurveChart, FeedsTooShortToDrawLeaveTheChartBare)
{
    // Curve points: current, time, left current, left time, right current, right time.
    using Feed = std::vector<std::array<double, 6>>;
    const Feed definite{{2, 100000, 1.9, 1e6, 2.1, 1e6}, {2, 0.5, 1.9, 0.55, 2.1, 0.45},
                        {11, 0.5, 10.45, 0.55, 11.55, 0.45}};
    struct Row { const char* name; int curveType; Feed feed; bool paintedBefore, axes; };
    const Row rows[] = {
        {"test point only", 0, {}, false, false},
        {"feed consumed by an earlier paint", 0, definite, true, false},
        {"function 50, one point", 0, Feed(definite.begin(), definite.begin() + 1), false, true},
        {"function 50, two points", 0, Feed(definite.begin(), definite.begin() + 2), false, true},
        {"function 51, no band", 1, {{1, 100000, 1, -1, 1, -1}, {2, 1.0, 2, -1, 2, -1}}, false, true},
        {"function 51, one band point and a point below the pickup", 1,
         {{1, 100000, 1, 1e6, 1, 1e6}, {0.9, -1, 0.9, -1, -1, -1}}, false, true},
    };
    chart.setBackgroundColor("#ffffe0");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        chart.setCurveType(ViewOvercurrentModel::FunctionType(row.curveType));
        for (int n = 0; n < int(row.feed.size()); ++n) {
            const auto& p = row.feed[n];
            chart.updateCurveData(n, p[0], p[1], p[2], p[3], p[4], p[5]);
        }
        chart.updataPonit(0, row.curveType, 3.0, 1.0, 1);
        if (row.paintedBefore)
            render();
        QImage image(kWidth, kHeight, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        chart.paint(&painter);
        painter.end();
        int inked = 0, opaque = 0;
        for (int i = 0; i < kWidth; ++i)
            for (int j = 0; j < kHeight; ++j) {
                opaque += qAlpha(image.pixel(i, j)) > 0;
                for (const QColor& c : {kCurve, kBand, kGreen})
                    inked += inkShare(image.pixel(i, j), c) > 0.3;
            }
        EXPECT_EQ(inked, 0);
        EXPECT_EQ(opaque, row.axes ? kWidth * kHeight : 0);
        if (row.axes) {
            EXPECT_EQ(image.pixel(kWidth - 3, kHeight / 2), QColor("#ffffe0").rgb());
            EXPECT_LT(qGray(image.pixel(int(plot().left()), kHeight / 2)), 230) << "Y axis line, in the axis colour";
        }
    }
}

// IEC extremely inverse at 1 A, TMS 1, tested at 2, 5 and 10 A: the time
// axis starts below 1 s, in a decade whose only mark, 0.5 s, lies closer to
// 1 s than a label is tall. The 10 A point's 0.808 s still reads against a
// label at or below it, at the page's chart size and another.
TEST_F(CurveChart, EveryTestPointHasATimeLabelAtOrBelowIt)
{
    const auto extremely = [](double current) { return 80.0 / (current * current - 1.0); };
    chart.setFontSize(10);
    for (QSize size : {QSize(732, 308), QSize(600, 400)}) {
        SCOPED_TRACE(size.width());
        chart.setWidth(size.width());
        chart.setHeight(size.height());
        chart.setCurveType(ViewOvercurrentModel::FUNCTION_TYPE_51);
        chart.updateCurveData(0, 1.0, 100000, 1.0, 1e6, 1.0, 1e6);
        for (int j = 0; j <= 300; ++j) {
            const double I = 1.02 * std::pow((maxIRange() + 1.0) / 1.02, j / 300.0);
            chart.updateCurveData(j + 1, I, extremely(I), I, 1.05 * extremely(I) + 0.04, I, 0.95 * extremely(I) - 0.04);
        }
        int n = 0;
        for (double I : {2.0, 5.0, 10.0})
            chart.updataPonit(n++, 1, I, extremely(I), 1);
        render();
        const BasePaintCoordinate& c = chart.getPaintCoordinate();
        double lowest = kInf;
        for (const BasePaintRuler::RulerText& t : c.drawnTexts) {
            if (t.ruler == BasePaintRuler::RULER_TYPE_Y && !t.caption)
                lowest = std::min(lowest, t.text.toDouble());
        }
        EXPECT_GE(lowest, c.dataCoordinate.Y.dataMin);
        EXPECT_LE(lowest, extremely(10.0));
    }
}

} // namespace
