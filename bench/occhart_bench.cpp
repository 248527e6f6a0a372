// Cost of one repaint of the overcurrent page's time-current chart for
// function 51: the page's feed (every curve point evaluated with the curve
// catalogue and the model's trip-time window) and the paint that consumes it.
// A pickup of 0.01 A gives the longest feed of the usual settings.
#include <benchmark/benchmark.h>

#include "BaseOverCurrentHelper.h"
#include "ViewOvercurrentCurvePainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "occhart_bench";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
}

// The overcurrent model's defaults: current tolerance 5 % and 0.05 A, time
// tolerance 5 % and 0.04 s; the device's largest current 10 A.
constexpr double kCurrentRel = 0.05;
constexpr double kCurrentAbs = 0.05;
constexpr double kTimeRel = 5.0;
constexpr double kTimeAbs = 0.04;
constexpr double kLargestCurrent = 11.0;

bool usable(double t) { return std::isfinite(t) && t != DBL_MAX && t < 100000; }
double dev(double t) { return kTimeRel * std::fabs(t) / 100 > kTimeAbs ? kTimeRel * std::fabs(t) / 100 : kTimeAbs; }

struct Window
{
    double setting, tMin, tMax;
};

// The model's trip-time window of a current on the selected curve.
Window windowAt(BaseOverCurrentHelper& curve, double I)
{
    const double left = std::min(I / (1 + kCurrentRel), std::max(I - kCurrentAbs, 0.0));
    const double right = std::max(I / (1 - kCurrentRel), I + kCurrentAbs);
    const double tSet = curve.ComputerTime(I);
    const double tL = curve.ComputerTime(left);
    const double tR = curve.ComputerTime(right);
    const double devL = dev(tL), devR = dev(tR);
    Window w{tSet > 0 ? tSet : NAN, 0, 0};
    if (!usable(tL))
        w.tMax = DBL_MAX;
    else if (!usable(devR))
        w.tMax = tSet + devL;
    else
        w.tMax = std::max({tSet + devL, tR + devL, tL + devL});
    if (!usable(tR))
        w.tMin = w.tMax = DBL_MAX;
    else if (!usable(devL))
        w.tMin = std::max(tR - devR, 0.0);
    else
        w.tMin = std::max(0.0, std::min(tR - devR, w.tMax - devL));
    return w;
}

// The page's feed of function 51: two points at the pickup, a dense start,
// the stepped main run to the largest current + 1 A, then points below the
// pickup until the shortest acceptable time reaches 10000 s. Returns the
// number of points fed.
int feedInverse(ViewOvercurrentCurvePainter& chart, BaseOverCurrentHelper& curve)
{
    const double ip = curve.getIPickUp();
    int n = 0;
    auto feed = [&](double I, bool belowPickup) {
        const Window w = windowAt(curve, I);
        const double tMin = std::max(w.tMin, 0.001);
        const double leftI = std::max(std::min((1 - kCurrentRel) * I, I - kCurrentAbs), 0.001);
        const double rightI = std::max((1 + kCurrentRel) * I, I + kCurrentAbs);
        if (n == 0)
            chart.updateCurveData(0, I, 100000, leftI, 1000000, rightI, 1000000);
        else if (belowPickup)
            chart.updateCurveData(n, I, -1, leftI, -1, -1, tMin);
        else
            chart.updateCurveData(n, I, w.setting, leftI, w.tMax, rightI, tMin);
        ++n;
    };

    const int sections = ip >= 1 ? 1 : ip >= 0.1 ? 2 : ip >= 0.01 ? 3 : 4;
    double middle = 2 * ip, max = 10 * ip;
    double littleStep = 0.005 * ip * sections, bigStep = 0.05 * ip * sections;
    const double miniStep = 0.0000001 * ip;
    feed(ip, false);
    feed(ip, false);
    double I = ip;
    for (double d = miniStep * 4; d <= kLargestCurrent - ip && d <= littleStep; d *= 2) {
        I = ip + d;
        feed(I, false);
    }
    while (I < kLargestCurrent) {
        feed(I, false);
        if (I < middle) {
            I += littleStep;
        } else if (I < max) {
            I += bigStep;
        } else {
            littleStep *= 10;
            bigStep *= 10;
            middle = 2 * I;
            max = 10 * I;
            I += littleStep;
        }
    }
    feed(kLargestCurrent, false);

    double extraStep = 0.01 * ip;
    int below = 0;
    I = ip;
    while (extraStep > 0.0000001 && I > 0.001 && below < 1000) {
        I -= extraStep;
        while (I > 0.001 && windowAt(curve, I).tMin < 10000 && below < 1000) {
            feed(I, true);
            ++below;
            I -= extraStep;
        }
        I += extraStep;
        extraStep /= 2;
    }
    if (I > 0.001)
        feed(I, true);
    return n;
}

} // namespace

static void OvercurrentChartFeedAndPaint(benchmark::State& state)
{
    ensureApplication();
    BaseOverCurrentHelper curve; // standard row 1
    curve.setIPickUp(0.01);
    curve.setTdPickUp(1.0);
    ViewOvercurrentCurvePainter chart;
    chart.setWidth(700);
    chart.setHeight(258);
    chart.setCurveType(ViewOvercurrentModel::FUNCTION_TYPE_51);
    chart.setFontFamily("Arial");
    chart.setMainCurveColor("#1e90ff");
    chart.setRangeDashColor("#1e90ff");
    QImage image(700, 258, QImage::Format_ARGB32_Premultiplied);
    int points = 0;
    for (auto _ : state) {
        image.fill(Qt::transparent);
        points = feedInverse(chart, curve);
        QPainter painter(&image);
        chart.paint(&painter);
    }
    state.counters["points"] = points;
}
BENCHMARK(OvercurrentChartFeedAndPaint)->Unit(benchmark::kMillisecond);
