#pragma once

#include "DataPaintLimitor.h"

#include <QPointF>
#include <QRectF>

// The data ranges of a chart's two axes. Pixel points are placed with the
// data origin at the rectangle's bottom-left corner and data y growing upward.
class DataPaintCoordinate
{
public:
    DataPaintCoordinate() = default;
    DataPaintCoordinate(const DataPaintCoordinate&) = default;
    DataPaintCoordinate& operator=(const DataPaintCoordinate&) = default;

    void copyFrom(const DataPaintCoordinate& other);
    void setLimitAnd(const DataPaintCoordinate& other);
    void setLimitOr(const DataPaintCoordinate& other);

    QPointF getViewPointFromDataValue(const QRectF& rect, const QPointF& point) const;

    DataPaintLimitor X;
    DataPaintLimitor Y;
};
