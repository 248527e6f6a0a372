// Cost of the time-current chart's axes, which are repainted on every feed:
// tick generation, and the full draw of a 600 x 600 log-log chart.
#include <benchmark/benchmark.h>

#include "BasePaintCoordinate.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

// Labels need fonts, and fonts a GUI application (offscreen: no display).
void ensureApplication()
{
    static int argc = 1;
    static char name[] = "chart_bench";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
}

// The chart's widest ranges: current 0.0001..100 A, time 0.001..10000 s.
void setUpChart(BasePaintCoordinate& chart)
{
    DataPaintCoordinate& d = chart.dataCoordinate;
    d.X.dataMin = 0.0001;
    d.X.dataMax = 100;
    d.X.dataLogEnable = true;
    d.Y.dataMin = 0.001;
    d.Y.dataMax = 10000;
    d.Y.dataLogEnable = true;
    chart.updateViewRect();
}

} // namespace

static void ChartTicks(benchmark::State& state)
{
    BasePaintCoordinate chart;
    setUpChart(chart);
    for (auto _ : state) {
        benchmark::DoNotOptimize(chart.rulerX.getScales());
        benchmark::DoNotOptimize(chart.rulerY.getScales());
    }
}
BENCHMARK(ChartTicks);

static void ChartDraw(benchmark::State& state)
{
    ensureApplication();
    BasePaintCoordinate chart;
    setUpChart(chart);
    QImage image(600, 600, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        chart.draw(&painter);
    }
}
BENCHMARK(ChartDraw)->Unit(benchmark::kMicrosecond);
