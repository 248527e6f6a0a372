#include "DataPaintCoordinate.h"

void DataPaintCoordinate::copyFrom(const DataPaintCoordinate& other)
{
    *this = other;
}

void DataPaintCoordinate::setLimitAnd(const DataPaintCoordinate& other)
{
    X.setLimitAnd(other.X);
    Y.setLimitAnd(other.Y);
}

void DataPaintCoordinate::setLimitOr(const DataPaintCoordinate& other)
{
    X.setLimitOr(other.X);
    Y.setLimitOr(other.Y);
}

QPointF DataPaintCoordinate::getViewPointFromDataValue(const QRectF& rect, const QPointF& point) const
{
    const QPointF origin = rect.bottomLeft();
    return QPointF(origin.x() + X.getViewPointFromDataValue(rect.width(), point.x()),
                   origin.y() - Y.getViewPointFromDataValue(rect.height(), point.y()));
}
