// Axis rulers: step search, ticks and labels on linear and logarithmic
// ranges, what draw() puts on a painter, the coordinate system's geometry,
// and sample charts rendered to PNG files.

#include <gtest/gtest.h>

#include "BasePaintCoordinate.h"
#include "ChartTestSupport.h"

#include <QDir>
#include <QMap>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <functional>
#include <iostream>

namespace {

using Ruler = BasePaintRuler;
using Scales = QVector<Ruler::RulerScale>;
const auto X = Ruler::RULER_TYPE_X, Y = Ruler::RULER_TYPE_Y;

// Label texts in drawing order; a label repeated at the same place once.
QString labelsOf(const Scales& scales)
{
    QStringList labels;
    for (const auto& s : scales)
        if (!s.text.isEmpty() && (labels.isEmpty() || labels.last() != s.text))
            labels << s.text;
    return labels.join(' ');
}

// The labels of one ruler that the coordinate's last draw() drew, along the axis.
QString drawnLabels(const BasePaintCoordinate& chart, Ruler::RULERType type)
{
    QMap<double, QString> labels; // by distance from the plot's bottom-left corner
    for (const auto& t : chart.drawnTexts)
        if (t.ruler == type && !t.caption)
            labels.insert(t.rect.center().x() - t.rect.center().y(), t.text);
    return labels.values().join(' ');
}

} // namespace

TEST(ChartRuler, StepSearchEndsWithReadableSteps)
{
    struct Row { double length, min, max, step; };
    const Row rows[] = {
        {500, 0, 1000, 20},
        {200, 0, 0.001, 2e-5},
        {300, 0, 0.0001, 2e-6},
        {347, 0, std::log10(1 + 1e-8), 1e-10}, // first small run of a 1..10 ruler
        {216, std::log10(0.4), std::log10(0.4 + 1e-8), 5e-10},
        {20, 0, 1e30, 5e28},
    };
    for (const Row& row : rows) {
        double step = 0;
        EXPECT_TRUE(Ruler().findPrecisionValue(row.length, row.min, row.max, step));
        EXPECT_NEAR(step / row.step, 1.0, 1e-12) << row.length << " " << row.max - row.min;
    }
}

TEST(ChartRuler, LinearTicksByClass)
{
    Axis axis(0, 1000, false, 500);
    const Scales scales = axis.ruler.getScales();
    ASSERT_EQ(scales.size(), 51);
    for (int i = 0; i <= 50; ++i) {
        const auto type = i == 0 ? Ruler::SCALE_TYPE_ZERO : i % 10 == 0 ? Ruler::SCALE_TYPE_BIG
                        : i % 5 == 0 ? Ruler::SCALE_TYPE_MIDDLE : Ruler::SCALE_TYPE_SMALL;
        EXPECT_EQ(scales[i].type, type) << i;
        EXPECT_NEAR(scales[i].position, 10.0 * i, 1e-6) << i;
        EXPECT_EQ(scales[i].text, i % 10 ? "" : i ? QString::number(20 * i) : "0.0") << i;
    }
}

TEST(ChartRuler, LogarithmicTicksLabelPowersAndMultiples)
{
    struct Row { const char* name; double min, max, base; Ruler::RULERType type; double length; const char* labels; int small; };
    const Row rows[] = {
        {"one decade", 1, 10, 10, X, 500, "1 2 3 4 5 6 7 8 9 10", 9},
        {"one decade, short axis", 1, 10, 10, X, 200, "1 2 3 4 5 6 7 8 9 10", 9},
        {"chart current from 0.4 A", 0.4, 1000, 10, X, 216, "0.5 1 10 100 1000", 34},
        {"chart current from 0.6 A", 0.6, 1000, 10, X, 216, "1 10 100 1000", 32},
        {"chart time from 1.86 s", 1.86, 10000, 10, Y, 260, "2.000 10.000 100.00 1000.0 10000", 36},
        {"seven decades", 0.001, 10000, 10, X, 500, "0.001 0.01 0.1 1 10 100 1000 10000", 64},
        {"chart current from 0.0001 A", 0.0001, 100, 10, X, 578, "0.0001 0.001 0.01 0.1 1 10 100", 55},
        {"chart time", 0.001, 10000, 10, Y, 578, "0.001 0.010 0.100 1.000 10.000 100.00 1000.0 10000", 64},
        {"base 2", 1, 1024, 2, X, 500, "1 2 4 8 16 32 64 128 256 512 1024", 11},
        {"minimum 0", 0, 10, 10, X, 500, "", 0},
        {"base 1", 1, 10, 1, X, 500, "", 0},
        {"minimum above maximum", 10, 1, 10, X, 500, "", 0},
    };
    for (const Row& row : rows) {
        Axis axis(row.min, row.max, true, row.length, row.type, row.base);
        const Scales scales = axis.ruler.getScales();
        EXPECT_EQ(labelsOf(scales), row.labels) << row.name;
        EXPECT_EQ(std::count_if(scales.begin(), scales.end(), [](auto& s) { return s.type == Ruler::SCALE_TYPE_SMALL; }),
                  row.small) << row.name;
    }
}

TEST(ChartRuler, LabelDecimalsFollowTheRulerAndMagnitude)
{
    struct Row { Ruler::RULERType type; double value; const char* text; };
    const Row rows[] = {
        {X, 0.5, "0.5"}, {X, 0.004, "0.004"}, {X, 0.00002, "0.0000"}, {X, 1.4, "1"}, {X, 5e-8, "0.0"},
        {Y, 50, "50.000"}, {Y, 20000, "20000"}, {Y, 10000, "10000.0"}, {Y, 1500, "1500.0"}, {Y, -5e-8, "0.0"},
    };
    Ruler ruler;
    for (const Row& row : rows) {
        ruler.rulerType = row.type;
        EXPECT_EQ(ruler.getScaleText(row.value), row.text) << row.value;
    }
}

TEST(ChartRuler, DrawRendersTheTicksAxisAndCaption)
{
    struct Row { const char* name; double min, max; bool log; std::function<void(Axis&)> setup; int lines; const char* texts; };
    const auto none = [](Axis&) {};
    const Row rows[] = {
        {"linear", 0, 1000, false, none, 98, "0.0 200 400 600 800 1000 DEMO"},
        {"no caption text", 0, 1000, false, [](Axis& a) { a.ruler.captionText.clear(); }, 98, "0.0 200 400 600 800 1000"},
        {"span within 1e-6", 5, 5 + 5e-7, false, none, 0, ""},
        {"logarithmic from 0", 0, 1000, true, none, 1, "DEMO"},
        {"logarithmic base 1", 1, 1000, true, [](Axis& a) { a.range.dataLogBase = 1; }, 1, "DEMO"},
    };
    for (const Row& row : rows) {
        Axis axis(row.min, row.max, row.log, 500);
        axis.ruler.gridLineColor = Qt::red;
        row.setup(axis);
        RecordingDevice device;
        QPainter painter(&device);
        axis.ruler.draw(&painter);
        QStringList texts;
        for (const RecordedText& t : device.texts)
            texts << t.text;
        EXPECT_EQ(texts.join(' '), row.texts) << row.name;
        EXPECT_EQ(device.lines.size(), row.lines) << row.name;
        EXPECT_EQ(painter.pen(), QPen()) << row.name;
        if (&row != rows || device.lines.size() != 98 || device.texts.size() != 7)
            continue;
        // Axis line, then the first small tick hanging below the plot and its
        // grid mark rising into it; labels below the big ticks in the grid pen.
        const QPointF b = axis.ruler.viewDataRect.bottomLeft();
        const double x = device.lines[3].x1();
        EXPECT_NEAR(x, b.x() + 10, 1e-6);
        EXPECT_EQ(device.lines[0], QLineF(b, axis.ruler.viewDataRect.bottomRight()));
        EXPECT_EQ(device.lines[3], QLineF(x, b.y(), x, b.y() + 2));
        EXPECT_EQ(device.lines[4], QLineF(x, b.y(), x, b.y() - 1));
        EXPECT_GE(device.texts[1].point.y(), b.y() + 20);
        EXPECT_EQ(device.texts[1].pen.color(), QColor(Qt::red));
    }
}

TEST(ChartCoordinate, LaysOutThePlotAndRestoresThePainter)
{
    BasePaintCoordinate chart;
    chart.viewRect = QRectF(10, 5, 600, 400);
    chart.updateViewRect();
    for (const Ruler* r : {&chart.rulerX, &chart.rulerY})
        EXPECT_EQ(r->viewDataRect, QRectF(71, 6, 538, 378));
    EXPECT_EQ(chart.rulerX.viewRulerSize, 20);
    EXPECT_EQ(chart.rulerY.viewRulerSize, 60);
    EXPECT_EQ(chart.getViewPointFromDataValue(QPointF(0.5, 250)), QPointF(71 + 269, 384 - 189));

    RecordingDevice device;
    QPainter painter(&device);
    const QPen pen(Qt::green, 3, Qt::DashLine);
    QFont font = painter.font();
    font.setPointSize(23);
    painter.setPen(pen);
    painter.setBrush(Qt::blue);
    painter.setFont(font);
    chart.draw(&painter);
    EXPECT_GT(device.lines.size(), 100);
    EXPECT_EQ(painter.pen(), pen);
    EXPECT_EQ(painter.brush(), QBrush(Qt::blue));
    EXPECT_EQ(painter.font(), font);
}

// A log-log and a linear chart with the default rulers, laid out for their
// font, written to PNG files (the output says where) and checked for the
// labels drawn beside the plot, both minima's among them.
TEST(ChartSample, RendersChartsWithEveryDecadeLabelled)
{
    struct Row { const char* file; double xMax, yMin, yMax; bool log; const char* xLabels; const char* yLabels; };
    const Row rows[] = {
        {"loglog.png", 100, 0.01, 1000, true, "0.1 1 10 100", "0.010 0.100 1.000 10.000 100.00 1000.0"},
        {"linear.png", 20, 0, 500, false, "0.0 2 4 6 8 10 12 14 16 18 20",
         "0.0 50.000 100.00 150.00 200.00 250.00 300.00 350.00 400.00 450.00 500.00"},
    };
    QDir().mkpath(CHART_SAMPLE_DIR);
    for (const Row& row : rows) {
        BasePaintCoordinate chart;
        DataPaintCoordinate& d = chart.dataCoordinate;
        d.X.dataMin = row.log ? 0.1 : 0;
        d.X.dataMax = row.xMax;
        d.Y.dataMin = row.yMin;
        d.Y.dataMax = row.yMax;
        d.X.dataLogEnable = d.Y.dataLogEnable = row.log;
        chart.rulerX.captionText = "I/A";
        chart.rulerY.captionText = "t/s";
        QImage image(600, 600, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QFont font = painter.font();
        font.setPixelSize(11);
        painter.setFont(font);
        chart.viewRect = QRectF(10, 10, 580, 580);
        chart.updateViewRect(QFontMetricsF(font, &image));
        chart.draw(&painter);
        EXPECT_EQ(drawnLabels(chart, X), row.xLabels) << row.file;
        EXPECT_EQ(drawnLabels(chart, Y), row.yLabels) << row.file;
        painter.end();
        const QString path = QStringLiteral(CHART_SAMPLE_DIR "/") + row.file;
        ASSERT_TRUE(image.save(path));
        std::cout << "sample chart: " << path.toStdString() << std::endl;

        int labelInk = 0; // dark pixels below and left of the ticks
        const QRectF plot = chart.rulerX.viewDataRect.adjusted(-9, 0, 0, 9);
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 600; ++x)
                labelInk += qGray(image.pixel(x, y)) < 128 && (y > plot.bottom() || x < plot.left());
        EXPECT_GT(labelInk, 300) << row.file;
    }
}
