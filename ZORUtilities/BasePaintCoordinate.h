#pragma once

#include "BasePaintRuler.h"
#include "DataPaintCoordinate.h"

#include <QObject>
#include <QPointF>
#include <QRectF>

class QFontMetricsF;
class QPainter;

// A chart's coordinate system: the data ranges of both axes, the whole chart
// and the plot inside it in pixels, and the two rulers, whose ranges point
// into dataCoordinate. The owner sets ranges, viewRect and ruler settings,
// then calls updateViewRect() (or, to make room for the texts in a font,
// updateViewRect(metrics)) before drawing and mapping. GUI thread only.
class BasePaintCoordinate : public QObject
{
    Q_OBJECT

public:
    explicit BasePaintCoordinate(QObject* parent = nullptr);

    // Plot = viewRect less the Y ruler's width on the left, the X ruler's
    // height below and a pixel on every side; both rulers get the plot.
    void updateViewRect();
    // As updateViewRect(), with the room on each side grown to hold the
    // captions and labels of the ranges laid out with these metrics (the
    // captions above and right of the plot), so that none is cut at
    // viewRect's edge. Set the ranges first.
    void updateViewRect(const QFontMetricsF& metrics);
    // Both rulers, X first, with the texts getTexts() keeps for the
    // painter's font, kept in drawnTexts; pen, font and brush are restored.
    void draw(QPainter* painter);
    // The captions and labels of both rulers that fit viewRect, laid out
    // with these metrics and kept by rank, X before Y within a rank
    // (BasePaintRuler::RulerText, fitTexts).
    QVector<BasePaintRuler::RulerText> getTexts(const QFontMetricsF& metrics) const;
    // A data point as a pixel point of the plot.
    QPointF getViewPointFromDataValue(const QPointF& point) const;

    DataPaintCoordinate dataCoordinate;
    BasePaintRuler rulerX;
    BasePaintRuler rulerY;
    QRectF viewRect = QRectF(0, 0, 600, 600);
    double viewRulerXHeight = 20.0;
    double viewRulerYWidth = 60.0;
    // The texts of the last draw(), where it drew them.
    QVector<BasePaintRuler::RulerText> drawnTexts;

private:
    // The plot: viewRect less this room on each side and a pixel.
    void setPlot(double left, double top, double right, double bottom);
};
