#pragma once

#include "DataPaintLimitor.h"

#include <QColor>
#include <QObject>
#include <QPen>
#include <QRectF>
#include <QString>
#include <QVector>

class QFontMetricsF;
class QPainter;

// One axis of a chart: the axis line, big, middle and small ticks with an
// optional grid mark each, a zero tick, value labels and a caption, on a
// linear or logarithmic range. The tick step is chosen from the range and the
// axis length so that ticks stay readable.
//
// The ticks are computed by getScales(), which draw() renders; positions are
// pixels from the plot's bottom-left corner along the axis (rightward on X,
// upward on Y). Labels and the caption are laid out as boxes (getTexts), the
// caption outside the plot; where boxes crowd or would be cut, draw() keeps
// the caption and the labels of higher rank and drops the others (fitTexts). Every tick loop is bounded: it runs at most the count its
// first-tick search gave plus one; a logarithmic loop driven by the small
// step draws nothing when its ticks would lie less than two pixels apart on
// average, and any loop of more than 10000 ticks (only with a base far from
// the usual ones) draws nothing. A logarithmic axis without a positive
// minimum or with a base that is not positive, finite and other than 1 gets
// the axis line and caption only. Runs on the GUI thread.
class BasePaintRuler : public QObject
{
    Q_OBJECT

public:
    enum RULERType {
        RULER_TYPE_X = 0, // horizontal, along the bottom of the plot
        RULER_TYPE_Y = 1  // vertical
    };

    enum SCALEType {
        SCALE_TYPE_BIG = 0,
        SCALE_TYPE_MIDDLE = 1,
        SCALE_TYPE_SMALL = 2,
        SCALE_TYPE_ZERO = 3 // the tick at value 0 of a linear axis
    };

    // One tick as draw() renders it.
    struct RulerScale
    {
        double value = 0.0;
        SCALEType type = SCALE_TYPE_SMALL;
        double position = 0.0;
        double tickLength = 0.0; // 0: no tick mark
        double gridLength = 0.0; // 0: no grid mark
        QString text;            // empty: no label
    };

    // A label or the caption as draw() lays it out: the box it takes (its
    // width by the font's height, the baseline one ascent below the top).
    struct RulerText
    {
        QString text;
        QRectF rect;
        QPointF baseline;
        bool caption = false;
        bool gridPen = false; // drawn in the grid pen: the label of a tick with a grid mark
        // Which texts stay when they crowd: lower ranks first. 0 the caption;
        // on a logarithmic axis 1 a whole power of the base, 2 two or five
        // times one; 3 any other label.
        int rank = 3;
        RULERType ruler = RULER_TYPE_X;
    };

    explicit BasePaintRuler(QObject* parent = nullptr);

    // Nothing without a range, with a span of at most 1e-6, or with a range
    // whose scale is not supported; the texts that fit the painter's window
    // (fitTexts). Pen, font and brush are restored.
    void draw(QPainter* painter);
    // As draw(), with the given texts (those of this ruler among them) in
    // place of its own.
    void draw(QPainter* painter, const QVector<RulerText>& texts);

    // The ticks draw() renders, in drawing order.
    QVector<RulerScale> getScales() const;
    // Label of a value: "0.0" within 1e-7 of zero, else fixed decimals chosen
    // by the value's magnitude (X: 0 from 1 up, 1 from 0.1, 2 from 0.01,
    // 3 from 0.001, else 4; Y: 0 above 10000, 1 above 1000, 2 above 100, else 3).
    QString getScaleText(double value) const;
    // Plot width for the X ruler, height for the Y ruler.
    double getAxisLength() const;
    // The caption and every label at the places the rules give them, laid
    // out with these metrics: the caption first, then the labels by rank,
    // each rank in drawing order. None without a range draw() would draw.
    QVector<RulerText> getTexts(const QFontMetricsF& metrics) const;
    // Of texts in their order, those inside bounds that keep gap pixels
    // clear of every text kept before them.
    static QVector<RulerText> fitTexts(const QVector<RulerText>& texts, const QRectF& bounds, double gap);
    // The least room between two texts: a space of the font, 2 pixels at least.
    static double textGap(const QFontMetricsF& metrics);

    void drawScaleAxis(QPainter* painter);
    void drawScaleValueNormal(QPainter* painter, QPen& linePen, QPen& gridPen);
    void drawScaleValueLog(QPainter* painter, QPen& linePen, QPen& gridPen);
    void drawScaleCaption(QPainter* painter);
    // Tick from the axis outward and grid mark into the plot; nothing when
    // tickLength <= 0. The painter keeps the pen last used.
    void drawScaleLine(QPainter* painter, QPen& linePen, double tickLength, double position,
                       QPen& gridPen, double gridLength);
    // The label of value beside a tick of tickLength, in the current pen.
    void drawScaleText(QPainter* painter, double tickLength, double position, double value);

    // Small step for the span min..max on an axis length pixels long: 1, 2,
    // 4 or 5 times a power of ten, about 4 pixels or more apart and at least
    // 20 to the span. False (step 0) for a span that is not positive and finite.
    bool findPrecisionValue(double length, double min, double max, double& step) const;
    // First tick of each size not below min, its step and the tick count.
    // On a logarithmic range: big ticks are whole exponents (step 1), middle
    // ticks multiples of a power of the base, small ticks the precision step
    // of the exponents raised as a power of the base. False when there is none.
    bool findFirstBigScale(double length, double min, double max, double& first, double& step,
                           double& count) const;
    bool findFirstMiddleScale(double length, double min, double max, double& first, double& step,
                              double& count) const;
    bool findFirstSmallScale(double length, double min, double max, double& first, double& step,
                             double& count) const;
    // On a linear range: ticks every multiple x the precision step.
    bool findFirstLinearScale(double length, double min, double max, double multiple, double& first,
                              double& step, double& count) const;

    RULERType rulerType = RULER_TYPE_X;
    DataPaintLimitor* dataLimitor = nullptr; // not owned
    QRectF viewDataRect = QRectF(50, 50, 400, 400);
    double viewRulerSize = 50.0;
    double scaleBigWidth = 8.0;
    double scaleSmallWidth = 2.0;
    double scaleMiddleWidth = 5.0;
    double scaleZeroWidth = 8.0;
    QColor lineColor = QColor(0, 0, 0, 255);
    qint32 lineWidth = 1; // kept for the owner; pens are 1 pixel wide
    Qt::PenStyle lineStyle = Qt::SolidLine;
    QString captionText = QStringLiteral("DEMO");
    QColor textColor = QColor(0, 0, 0, 255);
    bool showAxisLineEnable = true;
    bool showScaleTextEnable = true;
    bool showCaptionTextEnable = true;
    bool showScaleMiddleEnable = true;
    bool showScaleBigEnable = true;
    bool showScaleSmallEnable = true;
    bool showScaleZeroEnable = true;
    bool showGridMiddleEnable = false;
    bool showGridBigEnable = true;
    bool showGridSmallEnable = true;
    bool showGridAxisEnable = true;
    double gridScaleWidth = 1.0;
    QColor gridLineColor = QColor(0, 0, 0, 255);
    Qt::PenStyle gridLineStyle = Qt::DotLine;

private:
    bool hasRange() const;
    bool hasScaleRange() const;
    bool hasLogScale() const;
    double logOf(double value) const;
    double positionOf(double value) const;
    bool spreadEnough(double min, double max, double count) const;
    void appendScale(QVector<RulerScale>& scales, double value, SCALEType type, bool labelled) const;
    int labelRank(double value) const;
    double labelDrop(const QFontMetricsF& metrics, double tickLength) const;
    void appendSmallRun(QVector<RulerScale>& scales, double from, double to, SCALEType type,
                        bool labelled) const;
    void appendScalesNormal(QVector<RulerScale>& scales) const;
    void appendScalesLog(QVector<RulerScale>& scales) const;
    void drawScales(QPainter* painter, const QVector<RulerScale>& scales, QPen& linePen, QPen& gridPen,
                    bool labels);
    void drawTexts(QPainter* painter, const QVector<RulerText>& texts, QPen& linePen, QPen& gridPen);
    // The label's box beside a tick; false where the rules draw no label.
    bool layOutLabel(const QFontMetricsF& metrics, double tickLength, double position, RulerText& text) const;
    // The caption, placed clear of the ruler's labels.
    RulerText layOutCaption(const QFontMetricsF& metrics, const QVector<RulerText>& labels) const;
};
