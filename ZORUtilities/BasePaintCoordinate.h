#pragma once

#include "BasePaintRuler.h"
#include "DataPaintCoordinate.h"

#include <QObject>
#include <QPointF>
#include <QRectF>

class QPainter;

// A chart's coordinate system: the data ranges of both axes, the whole chart
// and the plot inside it in pixels, and the two rulers, whose ranges point
// into dataCoordinate. The owner sets ranges, viewRect and ruler settings,
// then calls updateViewRect() before drawing and mapping. GUI thread only.
class BasePaintCoordinate : public QObject
{
    Q_OBJECT

public:
    explicit BasePaintCoordinate(QObject* parent = nullptr);

    // Plot = viewRect less the Y ruler's width on the left, the X ruler's
    // height below and a pixel on every side; both rulers get the plot.
    void updateViewRect();
    // Both rulers, X first; pen, font and brush are restored.
    void draw(QPainter* painter);
    // A data point as a pixel point of the plot.
    QPointF getViewPointFromDataValue(const QPointF& point) const;

    DataPaintCoordinate dataCoordinate;
    BasePaintRuler rulerX;
    BasePaintRuler rulerY;
    QRectF viewRect = QRectF(0, 0, 600, 600);
    double viewRulerXHeight = 20.0;
    double viewRulerYWidth = 60.0;
};
