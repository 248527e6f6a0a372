#include "ViewOvercurrentCurvePainter.h"

#include "BasePaintCoordinate.h"
#include "ControllerCenter.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kCurrentMin = 0.0001; // A
constexpr double kTimeMin = 0.001;     // s
constexpr double kTimeMax = 10000.0;   // s
// Relative allowance when a range's end is compared with a mark.
constexpr double kMarkTolerance = 1e-9;
// Rulers, grid, scale values and captions: on screen in the axis colour,
// which reads on the page's dark and light backgrounds; in the report image
// black on its white.
const QColor kAxisColor(QStringLiteral("#9b9b9b"));
const QColor kImageAxisColor(Qt::black);
const QColor kUntestedColor(QStringLiteral("#6c6e6d"));

double largestCurrentRange()
{
    return ControllerCenter::getInstance()->testConfiguration->maxIRange;
}

bool isFinitePoint(const QPointF& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// A straight segment to `to`, written as the cubic the chart has always drawn
// (control points from and to). Points that do not map to a pixel are left
// out.
void addSegment(QPainterPath& path, const QPointF& from, const QPointF& to)
{
    if (isFinitePoint(from) && isFinitePoint(to))
        path.cubicTo(from, to, to);
}

void startPath(QPainterPath& path, const QPointF& at)
{
    if (isFinitePoint(at))
        path.moveTo(at);
}

} // namespace

ViewOvercurrentCurvePainter::ViewOvercurrentCurvePainter(QQuickItem* parent)
    : QQuickPaintedItem(parent)
    , maxTestCurrent(largestCurrentRange() + 1.0)
    , chartPaintCoordinate(new BasePaintCoordinate())
    , axisColor(kAxisColor)
{
    connect(this, &ViewOvercurrentCurvePainter::propertyChanded, this,
            &ViewOvercurrentCurvePainter::onPropertyChanded);
}

ViewOvercurrentCurvePainter::~ViewOvercurrentCurvePainter()
{
    delete chartPaintCoordinate;
}

void ViewOvercurrentCurvePainter::onPropertyChanded() {}

void ViewOvercurrentCurvePainter::updateCurveData(int index, double I, double time, double leftI, double leftTime,
                                                  double rightI, double rightTime)
{
    if (index == 0) {
        lastPointIndex = -1;
        chartSettingValues.clear();
        chartLeftValues.clear();
        chartRightValues.clear();
    }
    if (!isDefiniteTime()) {
        if (time >= 0)
            chartSettingValues.append(QPointF(I, time));
        else if (lastPointIndex < 0)
            lastPointIndex = index;
        if (rightTime >= 0)
            chartLeftValues.append(QPointF(I, rightTime));
        if (leftTime >= 0)
            chartRightValues.append(QPointF(I, leftTime));
        return;
    }
    chartSettingValues.append(QPointF(I, time));
    if (index == 0) {
        chartLeftValues.append(QPointF(leftI, leftTime));
        chartRightValues.append(QPointF(rightI, rightTime));
    } else {
        chartLeftValues.append(QPointF(leftI, rightTime));
        chartRightValues.append(QPointF(rightI, leftTime));
    }
}

void ViewOvercurrentCurvePainter::updataPonit(int index, int function, double iTest, double actionTime,
                                              int testResult)
{
    if (index == 0)
        vecPointState.clear();
    pointState point;
    point.index = index;
    point.functionType = function;
    point.iTest = iTest;
    point.actionTime = actionTime;
    point.testResult = testResult;
    vecPointState.append(point);
}

QString ViewOvercurrentCurvePainter::drawImage()
{
    QImage image(int(width()), int(height()), QImage::Format_ARGB32);
    if (image.isNull()) {
        clearFeed();
        return QString();
    }
    image.fill(QColor(QStringLiteral("white")));
    {
        QPainter painter(&image);
        axisColor = kImageAxisColor;
        paint(&painter);
        axisColor = kAxisColor;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return QString::fromLatin1(bytes.toBase64());
}

void ViewOvercurrentCurvePainter::paint(QPainter* painter)
{
    if (chartSettingValues.isEmpty())
        return;

    painter->setFont(QFont(fontFamily, fontSize > 0 ? fontSize : -1));
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    const QColor background(backgroundColor);
    if (background.isValid())
        painter->fillRect(QRect(0, 0, int(width()), int(height())), background);

    QPen axisPen = painter->pen();
    axisPen.setColor(axisColor);
    axisPen.setStyle(Qt::SolidLine);
    QPen bandPen = painter->pen();
    bandPen.setColor(QColor(rangeDashColor));
    bandPen.setStyle(Qt::DashLine);
    QPen curvePen = painter->pen();
    curvePen.setColor(QColor(mainCurveColor));
    curvePen.setStyle(Qt::SolidLine);
    curvePen.setWidth(2);

    maxTestCurrent = largestCurrentRange() + 1.0;
    setUpAxes();
    const bool drawable = hasEnoughFeed();
    if (drawable) {
        narrowRanges();
        getLimitFromTestPoint();
    }
    const QFontMetricsF metrics(painter->font(), painter->device());
    layOutAxes(metrics);
    if (drawable)
        labelFirstDecades(metrics);

    painter->setPen(axisPen);
    chartPaintCoordinate->draw(painter);

    if (drawable) {
        // The lines run on past the ranges (the pickup's 100000 s, the band's
        // 1000000 s, times below the Y minimum): kept off the rulers' texts.
        painter->save();
        painter->setClipRect(chartPaintCoordinate->rulerX.viewDataRect);
        drawCharacteristic(painter, curvePen);
        if (isDefiniteTime())
            drawBandDefinite(painter, bandPen);
        else
            drawBandInverse(painter, bandPen);
        painter->restore();
        drawTestPoints(painter, curvePen);
    }
    clearFeed();
}

const BasePaintCoordinate& ViewOvercurrentCurvePainter::getPaintCoordinate() const { return *chartPaintCoordinate; }

bool ViewOvercurrentCurvePainter::hasEnoughFeed() const
{
    if (chartSettingValues.isEmpty())
        return false;
    if (isDefiniteTime())
        return chartLeftValues.size() >= 3 && chartRightValues.size() >= 3;
    // With points below the pickup the short-time edge is joined back to its
    // second point.
    return chartLeftValues.size() >= (lastPointIndex >= 0 ? 2 : 1);
}

void ViewOvercurrentCurvePainter::setUpAxes()
{
    BasePaintCoordinate& chart = *chartPaintCoordinate;
    for (BasePaintRuler* ruler : {&chart.rulerX, &chart.rulerY}) {
        ruler->showGridSmallEnable = true;
        ruler->showGridMiddleEnable = false;
        ruler->scaleSmallWidth = 0;
        ruler->showScaleZeroEnable = true;
        ruler->lineColor = axisColor;
        ruler->gridLineColor = axisColor;
        ruler->textColor = axisColor;
    }
    chart.rulerX.captionText = tr("I(A)");
    chart.rulerY.captionText = tr("Time(s)");

    DataPaintLimitor& x = chart.dataCoordinate.X;
    x.dataMin = kCurrentMin;
    x.dataMax = maxTestCurrent;
    x.dataLogEnable = true;
    x.dataLogBase = 10;
    DataPaintLimitor& y = chart.dataCoordinate.Y;
    y.dataMin = kTimeMin;
    y.dataMax = kTimeMax;
    y.dataLogEnable = true;
    y.dataLogBase = 10;
}

// The plot within (2, 4, width - 10, height - 4), a 60-pixel Y ruler on its
// left and a 20-pixel X ruler below it, each grown, and room made above and
// right of it, as the captions and labels of the ranges need.
void ViewOvercurrentCurvePainter::layOutAxes(const QFontMetricsF& metrics)
{
    BasePaintCoordinate& chart = *chartPaintCoordinate;
    chart.viewRect = QRectF(2, 4, width() - 10, height() - 4);
    chart.viewRulerXHeight = 20;
    chart.viewRulerYWidth = 60;
    chart.updateViewRect(metrics);
    chart.rulerX.gridScaleWidth = chart.rulerY.viewDataRect.height();
    chart.rulerY.gridScaleWidth = chart.rulerX.viewDataRect.width();
}

// An axis that starts inside a decade below its first power keeps a label
// in that decade: where none fits there (its first mark's label crowded out
// by the power's), the axis starts at the decade's next lower mark, five or
// two times its power or the power itself.
void ViewOvercurrentCurvePainter::labelFirstDecades(const QFontMetricsF& metrics)
{
    BasePaintCoordinate& chart = *chartPaintCoordinate;
    for (int pass = 0; pass < 3; ++pass) {
        const QVector<BasePaintRuler::RulerText> texts = chart.getTexts(metrics);
        bool widened = false;
        for (const BasePaintRuler* ruler : {&chart.rulerX, &chart.rulerY}) {
            DataPaintLimitor& range = *ruler->dataLimitor;
            const double start = range.dataMin * (1.0 - kMarkTolerance);
            const double power = std::pow(10.0, std::floor(std::log10(range.dataMin) + kMarkTolerance));
            if (!(power > 0.0) || !(power < start) || 10.0 * power > range.dataMax)
                continue;
            const bool labelled = std::any_of(texts.begin(), texts.end(), [&](const BasePaintRuler::RulerText& t) {
                const double value = t.text.toDouble();
                return t.ruler == ruler->rulerType && !t.caption && value >= start && value < 10.0 * power;
            });
            if (labelled)
                continue;
            range.dataMin = 5.0 * power < start ? 5.0 * power : 2.0 * power < start ? 2.0 * power : power;
            widened = true;
        }
        if (!widened)
            return;
        layOutAxes(metrics);
    }
}

void ViewOvercurrentCurvePainter::narrowRanges()
{
    const QVector<QPointF>& S = chartSettingValues;
    const QVector<QPointF>& L = chartLeftValues;
    const QVector<QPointF>& R = chartRightValues;
    DataPaintLimitor& x = chartPaintCoordinate->dataCoordinate.X;
    DataPaintLimitor& y = chartPaintCoordinate->dataCoordinate.Y;

    double xLow = 0.0;
    if (!isDefiniteTime()) {
        const int lastIndex = L.size() - 1;
        int k = lastPointIndex > 0 ? lastPointIndex - 1 : lastIndex;
        if (lastPointIndex > lastIndex)
            k = L.size() / 2;
        y.setLimitAndMin(0.7 * L[k].y());
        y.setLimitAndMax(1.5 * L[0].y());
        xLow = 0.4 * S[0].x();
    } else {
        y.setLimitAndMin(0.7 * L[1].y());
        y.setLimitAndMax(10 * R[2].y());
        xLow = 0.7 * L[0].x();
    }
    y.setLimitOrMax(y.dataMin);
    x.setLimitAndMin(xLow);
}

// Test points of the drawn function are pinned into the chart: a current
// below the X minimum to that minimum, a trip time of 0 or less (no trip),
// infinite or above 10000 s to the top. A point without a time (NaN) is not
// drawn. The lowest of their times lowers the Y minimum, which thus stays
// positive.
void ViewOvercurrentCurvePainter::getLimitFromTestPoint()
{
    DataPaintLimitor& x = chartPaintCoordinate->dataCoordinate.X;
    DataPaintLimitor& y = chartPaintCoordinate->dataCoordinate.Y;
    bool any = false;
    double lowest = std::numeric_limits<double>::infinity();
    for (pointState& point : vecPointState) {
        if (point.functionType != curveType || std::isnan(point.actionTime))
            continue;
        if (point.iTest < x.dataMin)
            point.iTest = x.dataMin;
        if (!(point.actionTime > 0) || point.actionTime > kTimeMax)
            point.actionTime = y.dataMax;
        lowest = std::min(lowest, point.actionTime);
        any = true;
    }
    if (any)
        y.setLimitOrMin(lowest);
}

QPointF ViewOvercurrentCurvePainter::toPixel(const QPointF& value) const
{
    return chartPaintCoordinate->getViewPointFromDataValue(value);
}

QVector<QPointF> ViewOvercurrentCurvePainter::toPixels(const QVector<QPointF>& values) const
{
    QVector<QPointF> pixels;
    pixels.reserve(values.size());
    for (const QPointF& value : values)
        pixels.append(toPixel(value));
    return pixels;
}

void ViewOvercurrentCurvePainter::drawCharacteristic(QPainter* painter, const QPen& pen)
{
    QPainterPath path;
    bool started = false;
    for (const QPointF& value : chartSettingValues) {
        if (value.x() < 0)
            break;
        const QPointF pixel = toPixel(value);
        if (!isFinitePoint(pixel))
            continue;
        if (started)
            addSegment(path, path.currentPosition(), pixel);
        else
            path.moveTo(pixel);
        started = true;
    }
    painter->setPen(pen);
    painter->drawPath(path);
}

// Function 51: the short-time edge from its lowest current back up to the
// pickup, then along the characteristic; the long-time edge forward.
void ViewOvercurrentCurvePainter::drawBandInverse(QPainter* painter, const QPen& pen)
{
    const double xMin = chartPaintCoordinate->dataCoordinate.X.dataMin;
    for (QPointF& value : chartLeftValues) {
        if (value.x() < xMin)
            value.setX(xMin);
    }
    const QVector<QPointF> P = toPixels(chartLeftValues);
    const int count = P.size();

    QPainterPath shortEdge;
    int start = 0;
    if (lastPointIndex >= 0) {
        startPath(shortEdge, P[count - 1]);
        for (int j = count - 1; j >= lastPointIndex + 1; --j)
            addSegment(shortEdge, P[j], P[j - 1]);
        if (lastPointIndex >= count)
            lastPointIndex = 0;
        addSegment(shortEdge, P[lastPointIndex], P[1]);
        start = 1;
    } else {
        startPath(shortEdge, P[0]);
    }
    for (int k = start; k + 1 < count && k != lastPointIndex - 1; ++k)
        addSegment(shortEdge, P[k], P[k + 1]);
    painter->setPen(pen);
    painter->drawPath(shortEdge);

    const QVector<QPointF> Q = toPixels(chartRightValues);
    if (Q.isEmpty())
        return;
    QPainterPath longEdge;
    startPath(longEdge, Q[0]);
    for (int k = start; k + 1 < Q.size(); ++k)
        addSegment(longEdge, Q[k], Q[k + 1]);
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter->drawPath(longEdge);
}

// Function 50: each band edge as a line down from its first corner to the
// band time, then across to the largest current.
void ViewOvercurrentCurvePainter::drawBandDefinite(QPainter* painter, const QPen& pen)
{
    const QVector<QPointF>& L = chartLeftValues;
    const QVector<QPointF>& R = chartRightValues;
    const QPointF p1 = toPixel(L[0]);
    const QPointF p2 = toPixel(L[1]);
    const QPointF p3 = toPixel(QPointF(R[2].x(), L[2].y()));
    const QPointF p4 = toPixel(R[0]);
    const QPointF p5 = toPixel(QPointF(R[1].x(), R[2].y()));
    const QPointF p6 = toPixel(R[2]);
    painter->setPen(pen);
    for (const auto& line : {std::make_pair(p1, p2), std::make_pair(p2, p3), std::make_pair(p4, p5),
                             std::make_pair(p5, p6)}) {
        if (isFinitePoint(line.first) && isFinitePoint(line.second))
            painter->drawLine(line.first, line.second);
    }
}

void ViewOvercurrentCurvePainter::drawTestPoints(QPainter* painter, const QPen& pen)
{
    for (const pointState& point : vecPointState) {
        if (point.functionType != curveType)
            continue;
        QColor colour;
        QBrush brush;
        if (point.testResult == 0) {
            colour = kUntestedColor;
            brush = QBrush(Qt::darkGray, Qt::SolidPattern);
        } else if (point.testResult == 1) {
            colour = Qt::green;
            brush = QBrush(Qt::green, Qt::SolidPattern);
        } else {
            colour = Qt::red;
            brush = QBrush(Qt::red, Qt::SolidPattern);
        }
        const QPointF centre = toPixel(QPointF(point.iTest, point.actionTime));
        if (!isFinitePoint(centre))
            continue;
        QPen pointPen = pen;
        pointPen.setColor(colour);
        painter->setPen(pointPen);
        painter->setBrush(brush);
        painter->drawEllipse(centre, 2, 2);
    }
}

void ViewOvercurrentCurvePainter::clearFeed()
{
    chartSettingValues.clear();
    chartLeftValues.clear();
    chartRightValues.clear();
    vecPointState.clear();
}
