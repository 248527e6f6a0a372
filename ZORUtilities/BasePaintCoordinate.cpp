#include "BasePaintCoordinate.h"

#include <QBrush>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

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
    setPlot(viewRulerYWidth, 0.0, 0.0, viewRulerXHeight);
}

void BasePaintCoordinate::updateViewRect(const QFontMetricsF& metrics)
{
    updateViewRect();
    // How far the texts reach out of the plot on each side: the same at
    // any plot size, as they hang from its edges and ends.
    const QRectF plot = rulerX.viewDataRect;
    double left = viewRulerYWidth, top = 0.0, right = 0.0, bottom = viewRulerXHeight;
    for (const BasePaintRuler* ruler : {&rulerX, &rulerY}) {
        for (const BasePaintRuler::RulerText& text : ruler->getTexts(metrics)) {
            left = std::max(left, std::ceil(plot.left() - text.rect.left()));
            top = std::max(top, std::ceil(plot.top() - text.rect.top()));
            right = std::max(right, std::ceil(text.rect.right() - plot.right()));
            bottom = std::max(bottom, std::ceil(text.rect.bottom() - plot.bottom()));
        }
    }
    setPlot(left, top, right, bottom);
}

void BasePaintCoordinate::setPlot(double left, double top, double right, double bottom)
{
    const QRectF plot(viewRect.left() + left + 1.0, viewRect.top() + top + 1.0,
                      viewRect.width() - left - right - 2.0, viewRect.height() - top - bottom - 2.0);
    rulerX.viewDataRect = plot;
    rulerY.viewDataRect = plot;
    rulerX.viewRulerSize = bottom;
    // A Y ruler without room of its own keeps its axis on the plot's right.
    rulerY.viewRulerSize = viewRulerYWidth > 0.0 ? left : viewRulerYWidth;
}

void BasePaintCoordinate::draw(QPainter* painter)
{
    if (!painter)
        return;
    const QFont font = painter->font();
    const QPen pen = painter->pen();
    const QBrush brush = painter->brush();
    drawnTexts = getTexts(QFontMetricsF(font, painter->device()));
    rulerX.draw(painter, drawnTexts);
    rulerY.draw(painter, drawnTexts);
    painter->setPen(pen);
    painter->setFont(font);
    painter->setBrush(brush);
}

QVector<BasePaintRuler::RulerText> BasePaintCoordinate::getTexts(const QFontMetricsF& metrics) const
{
    QVector<BasePaintRuler::RulerText> texts = rulerX.getTexts(metrics) + rulerY.getTexts(metrics);
    std::stable_sort(texts.begin(), texts.end(),
                     [](const BasePaintRuler::RulerText& a, const BasePaintRuler::RulerText& b) { return a.rank < b.rank; });
    return BasePaintRuler::fitTexts(texts, viewRect, BasePaintRuler::textGap(metrics));
}

QPointF BasePaintCoordinate::getViewPointFromDataValue(const QPointF& point) const
{
    return dataCoordinate.getViewPointFromDataValue(rulerX.viewDataRect, point);
}
