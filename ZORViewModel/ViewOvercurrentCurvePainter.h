#pragma once

#include <QColor>
#include <QPointF>
#include <QQuickPaintedItem>
#include <QString>
#include <QVector>

#include "ViewOvercurrentModel.h"

class BasePaintCoordinate;
class QFontMetricsF;
class QPen;

// The time-current chart of one overcurrent function on logarithmic axes:
// the characteristic, the band of acceptable trip times (dashed) and the test
// points of that function coloured by their verdict; used in QML as
// "ZOR.ViewOvercurrentCurvePainter" 1.0 and rendered into the report as a
// base64 PNG by drawImage().
//
// The item evaluates no characteristic: the page feeds every curve point
// (updateCurveData) and test point (updataPonit) before each repaint and
// each image, and every paint consumes the feed. curveType must be set
// before feeding. A feed too short to draw (function 50: fewer than three
// points in either band edge; function 51: no band point, or fewer than two
// with points below the pickup) gets the background and the axes only. On
// screen the rulers, grid, scale values and captions draw in the axis colour,
// over the page's background. The plot leaves room inside the item for the
// scale values and the captions (above and right of it) in the item's font;
// the characteristic and the band are drawn within the plot. GUI thread only.
class ViewOvercurrentCurvePainter : public QQuickPaintedItem
{
    Q_OBJECT
    // The setters only store: they neither repaint nor emit.
    Q_PROPERTY(QString backgroundColor READ getBackgroundColor WRITE setBackgroundColor NOTIFY propertyChanded)
    Q_PROPERTY(QString rangeDashColor READ getRangeDashColor WRITE setRangeDashColor NOTIFY propertyChanded)
    Q_PROPERTY(QString mainCurveColor READ getMainCurveColor WRITE setMainCurveColor NOTIFY propertyChanded)
    Q_PROPERTY(QString fontFamily READ getFontFamily WRITE setFontFamily NOTIFY propertyChanded)
    Q_PROPERTY(int fontSize READ getFontSize WRITE setFontSize NOTIFY propertyChanded)
    Q_PROPERTY(double pointCnt READ getPointCnt WRITE setPointCnt NOTIFY propertyChanded)
    // The function drawn: 50 (definite time) or 51 (inverse time).
    Q_PROPERTY(ViewOvercurrentModel::FunctionType curveType READ getCurveType WRITE setCurveType NOTIFY propertyChanded)

public:
    struct pointState
    {
        qint32 index = 0;
        qint32 functionType = 0;
        qreal iTest = 0.0;      // A
        qreal actionTime = 0.0; // s
        qint32 testResult = 0;  // 0 none, 1 success, 2 failed
    };

    explicit ViewOvercurrentCurvePainter(QQuickItem* parent = nullptr);
    ~ViewOvercurrentCurvePainter() override;

    QString getBackgroundColor() const { return backgroundColor; }
    void setBackgroundColor(const QString& value) { backgroundColor = value; }
    QString getRangeDashColor() const { return rangeDashColor; }
    void setRangeDashColor(const QString& value) { rangeDashColor = value; }
    QString getMainCurveColor() const { return mainCurveColor; }
    void setMainCurveColor(const QString& value) { mainCurveColor = value; }
    QString getFontFamily() const { return fontFamily; }
    void setFontFamily(const QString& value) { fontFamily = value; }
    int getFontSize() const { return fontSize; }
    void setFontSize(int value) { fontSize = value; }
    double getPointCnt() const { return pointCnt; }
    void setPointCnt(double value) { pointCnt = value; }
    ViewOvercurrentModel::FunctionType getCurveType() const { return curveType; }
    void setCurveType(ViewOvercurrentModel::FunctionType value) { curveType = value; }

    // Curve point index (0 starts a new curve). Function 51 keeps (I, time),
    // (I, rightTime) and (I, leftTime) in the characteristic and the short-
    // and long-time band edges when each time is at least 0; the first index
    // without a characteristic time is remembered. Function 50 keeps (I, time)
    // and the band corners (leftI, leftTime), (rightI, rightTime) for index 0,
    // (leftI, rightTime), (rightI, leftTime) after that.
    Q_INVOKABLE void updateCurveData(int index, double I, double time, double leftI, double leftTime,
                                     double rightI, double rightTime);
    // Test point index (0 starts a new list) of a function, at iTest amperes,
    // tripped after actionTime seconds (0 or less, or infinite: no trip;
    // NaN: no time, not drawn), with its verdict.
    Q_INVOKABLE void updataPonit(int index, int function, double iTest, double actionTime, int testResult);
    // The chart on white at the item's size (whole pixels) as base64 PNG
    // text, its rulers black; empty for an item without area. Consumes the
    // feed as paint does.
    Q_INVOKABLE QString drawImage();

    // Nothing at all without a fed characteristic point.
    void paint(QPainter* painter) override;
    // Axes, ranges, plot and texts as the last paint left them.
    const BasePaintCoordinate& getPaintCoordinate() const;

signals:
    void propertyChanded();

public slots:
    void onPropertyChanded();

protected:
    QString backgroundColor;
    QString rangeDashColor;
    QString mainCurveColor;
    QString fontFamily;
    int fontSize = 12;
    double pointCnt = 60.0;
    ViewOvercurrentModel::FunctionType curveType = ViewOvercurrentModel::FUNCTION_TYPE_50;

    QVector<QPointF> chartSettingValues; // characteristic (A, s)
    QVector<QPointF> chartLeftValues;    // short-time band edge
    QVector<QPointF> chartRightValues;   // long-time band edge
    qint32 lastPointIndex = -1;          // function 51: first point without a time
    qreal maxTestCurrent = 0.0;          // largest current range + 1 A
    QVector<pointState> vecPointState;
    BasePaintCoordinate* chartPaintCoordinate = nullptr;
    QColor axisColor;   // of the rulers: the axis colour, black in drawImage()

private:
    // The property's write from QML and moc, which pass another class's enum as int.
    void setCurveType(int value) { curveType = ViewOvercurrentModel::FunctionType(value); }
    bool isDefiniteTime() const { return curveType == ViewOvercurrentModel::FUNCTION_TYPE_50; }
    bool hasEnoughFeed() const;
    void setUpAxes();
    void layOutAxes(const QFontMetricsF& metrics);
    void labelFirstDecades(const QFontMetricsF& metrics);
    void narrowRanges();
    void getLimitFromTestPoint();
    void drawCharacteristic(QPainter* painter, const QPen& pen);
    void drawBandInverse(QPainter* painter, const QPen& pen);
    void drawBandDefinite(QPainter* painter, const QPen& pen);
    void drawTestPoints(QPainter* painter, const QPen& pen);
    QPointF toPixel(const QPointF& value) const;
    QVector<QPointF> toPixels(const QVector<QPointF>& values) const;
    void clearFeed();
};
