#include "BasePaintCoordinate.h"

#include <QBrush>
#include <QFont>
#include <QPainter>
#include <QPen>

BasePaintCoordinate::BasePaintCoordinate(QObject* parent)
    : QObject(parent)
{
    dataCoordinate.X.dataMax = 1.0;
    dataCoordinate.Y.dataMax = 500.0;
    rulerX.rulerType = BasePaintRuler::RULER_TYPE_X;
    rulerX.dataLimitor = &dataCoordinate.X;
    rulerY.rulerType = BasePaintRuler::RULER_TYPE_Y;
    rulerY.dataLimitor = &dataCoordinate.Y;
}

void BasePaintCoordinate::updateViewRect()
{
    const QRectF plot(viewRect.left() + viewRulerYWidth + 1.0, viewRect.top() + 1.0,
                      viewRect.width() - viewRulerYWidth - 2.0, viewRect.height() - viewRulerXHeight - 2.0);
    rulerX.viewDataRect = plot;
    rulerY.viewDataRect = plot;
    rulerX.viewRulerSize = viewRulerXHeight;
    rulerY.viewRulerSize = viewRulerYWidth;
}

void BasePaintCoordinate::draw(QPainter* painter)
{
    if (!painter)
        return;
    const QFont font = painter->font();
    const QPen pen = painter->pen();
    const QBrush brush = painter->brush();
    rulerX.draw(painter);
    rulerY.draw(painter);
    painter->setPen(pen);
    painter->setFont(font);
    painter->setBrush(brush);
}

QPointF BasePaintCoordinate::getViewPointFromDataValue(const QPointF& point) const
{
    return dataCoordinate.getViewPointFromDataValue(rulerX.viewDataRect, point);
}
