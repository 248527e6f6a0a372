#include "BasePaintRuler.h"

#include <QBrush>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double MIN_SPAN = 1e-6;
// Allowance of every comparison of a tick value with the range's end.
constexpr double END_ALLOWANCE = 1e-7;
// Offset that lifts a computed tick just above its rounding.
constexpr double TICK_LIFT = 1e-8;
constexpr double ZERO_LABEL = 1e-7;
constexpr double CLASS_TOLERANCE = 1e-6;
// An exponent this close to a whole number is taken as that number.
constexpr double EXPONENT_SNAP = 1e-9;
// Least average distance, in pixels, between ticks of a small-step loop.
constexpr double MIN_SMALL_SPREAD = 2.0;
// More ticks than this in one loop could not be told apart on any screen:
// such a loop (only from a base far from the usual ones) draws none.
constexpr double MAX_LOOP_TICKS = 10000.0;
// Bound of the ladder walks of the step search, well above the few rungs a
// span needs.
constexpr int MAX_LADDER_STEPS = 64;

// Iterations a tick loop may run: the count plus one, 0 for none.
int loopLimit(double count)
{
    const double n = count + 1.0;
    if (!(n >= 1.0) || n > MAX_LOOP_TICKS)
        return 0;
    return static_cast<int>(n);
}

// First multiple of step not below min and the count of steps to max.
bool firstOnGrid(double min, double max, double step, double& first, double& count)
{
    if (!(step > 0.0) || !std::isfinite(step))
        return false;
    first = std::floor(min / step) * step;
    if (first < min)
        first += step;
    count = std::ceil((max - min) / step + END_ALLOWANCE);
    return std::isfinite(first) && std::isfinite(count);
}

} // namespace

BasePaintRuler::BasePaintRuler(QObject* parent)
    : QObject(parent)
{
}

double BasePaintRuler::getAxisLength() const
{
    return rulerType == RULER_TYPE_X ? viewDataRect.width() : viewDataRect.height();
}

bool BasePaintRuler::hasRange() const
{
    return dataLimitor && dataLimitor->getLimitLength() > MIN_SPAN && dataLimitor->isScaleSupported();
}

bool BasePaintRuler::hasScaleRange() const
{
    return hasRange() && std::isfinite(dataLimitor->dataMin) && std::isfinite(dataLimitor->dataMax);
}

bool BasePaintRuler::hasLogScale() const
{
    return dataLimitor && dataLimitor->dataLogEnable;
}

double BasePaintRuler::logOf(double value) const
{
    const double exponent = std::log(value) / std::log(dataLimitor->dataLogBase);
    const double whole = std::round(exponent);
    return std::fabs(exponent - whole) <= EXPONENT_SNAP ? whole : exponent;
}

double BasePaintRuler::positionOf(double value) const
{
    return dataLimitor->getViewPointFromDataValue(getAxisLength(), value);
}

bool BasePaintRuler::spreadEnough(double min, double max, double count) const
{
    return std::fabs(positionOf(max) - positionOf(min)) >= MIN_SMALL_SPREAD * count;
}

bool BasePaintRuler::findPrecisionValue(double length, double min, double max, double& step) const
{
    step = 0.0;
    const double span = std::fabs(max - min);
    if (!(span > 0.0) || !std::isfinite(span))
        return false;

    // Scale: the power of ten that brings the span's leading digits into
    // [1, 10). A rounding that lands just outside ends the walk there.
    double scale = 1.0;
    if (span > 1.0) {
        while (span / scale >= 10.0)
            scale *= 10.0;
    } else {
        while (span / scale < 1.0 && scale > 0.0)
            scale *= 0.1;
    }
    if (!(scale > 0.0) || !std::isfinite(scale))
        return false;
    const double lead = span / scale;
    step = (lead < 2.8 ? 0.02 : (lead < 6.0 ? 0.05 : 0.1)) * scale;

    // Rungs of the ladder 0.01, 0.02, 0.04, 0.05, 0.1 are matched relative to
    // the scale, so that they stay apart for every span.
    const double tolerance = 1e-5 * scale;
    auto at = [&](double rung, double k) { return std::fabs(step - rung * k * scale) <= tolerance; };

    if (step * 20.0 <= span) {
        double k = 1.0;
        for (int i = 0; i < MAX_LADDER_STEPS && step * length / span < 4.0 && step * 20.0 <= span; ++i) {
            if (at(0.01, k)) {
                step = 0.02 * k * scale;
            } else if (at(0.02, k)) {
                step = 0.05 * k * scale;
            } else if (at(0.05, k)) {
                step = 0.1 * k * scale;
                k *= 10.0;
            } else {
                k *= 10.0;
            }
        }
    }
    double k = 10.0;
    for (int i = 0; i < MAX_LADDER_STEPS && step * 20.0 > span; ++i) {
        if (at(0.1, k)) {
            step = 0.05 * k * scale;
        } else if (at(0.05, k)) {
            step = 0.04 * k * scale;
        } else if (at(0.04, k)) {
            step = 0.02 * k * scale;
        } else if (at(0.02, k)) {
            step = 0.01 * k * scale;
            k *= 0.1;
        } else {
            k *= 0.1;
        }
    }
    return step > 0.0 && std::isfinite(step);
}

bool BasePaintRuler::findFirstBigScale(double length, double min, double max, double& first,
                                       double& step, double& count) const
{
    first = step = count = 0.0;
    if (!hasLogScale())
        return findFirstLinearScale(length, min, max, 10.0, first, step, count);
    const double a = logOf(min);
    const double b = logOf(max);
    if (!std::isfinite(a) || !std::isfinite(b) || !(b > std::ceil(a)))
        return false;
    first = std::ceil(a);
    step = 1.0;
    count = std::floor(b - a) + 1.0;
    return true;
}

bool BasePaintRuler::findFirstMiddleScale(double length, double min, double max, double& first,
                                          double& step, double& count) const
{
    first = step = count = 0.0;
    if (!hasLogScale())
        return findFirstLinearScale(length, min, max, 5.0, first, step, count);
    const double base = dataLimitor->dataLogBase;
    const double e = std::floor(logOf(min));
    step = std::pow(base, e);
    if (!std::isfinite(e) || !(step > 0.0) || !std::isfinite(step))
        return false;
    first = std::ceil(min / step) * step;
    if (first < min)
        first += step;
    else if (first - step >= min)
        first -= step;
    if (!(first < max))
        return false;
    const double next = std::pow(base, e + 1.0);
    if (first >= next && next > 0.0 && std::isfinite(next))
        step = next;
    count = std::ceil((max - first) / step + END_ALLOWANCE);
    return std::isfinite(count);
}

bool BasePaintRuler::findFirstSmallScale(double length, double min, double max, double& first,
                                         double& step, double& count) const
{
    first = step = count = 0.0;
    if (!hasLogScale())
        return findFirstLinearScale(length, min, max, 1.0, first, step, count);
    double precision = 0.0;
    if (!findPrecisionValue(length, logOf(min), logOf(max), precision))
        return false;
    step = std::pow(dataLimitor->dataLogBase, 10.0 * precision);
    return firstOnGrid(min, max, step, first, count);
}

bool BasePaintRuler::findFirstLinearScale(double length, double min, double max, double multiple, double& first,
                                          double& step, double& count) const
{
    first = step = count = 0.0;
    double precision = 0.0;
    if (!findPrecisionValue(length, min, max, precision))
        return false;
    step = multiple * std::fabs(precision);
    return firstOnGrid(min, max, step, first, count);
}

QString BasePaintRuler::getScaleText(double value) const
{
    if (std::fabs(value) <= ZERO_LABEL)
        return QStringLiteral("0.0");
    int decimals = 0;
    if (rulerType == RULER_TYPE_X)
        decimals = value >= 1.0 ? 0 : value >= 0.1 ? 1 : value >= 0.01 ? 2 : value >= 0.001 ? 3 : 4;
    else
        decimals = value > 10000.0 ? 0 : value > 1000.0 ? 1 : value > 100.0 ? 2 : 3;
    return QString::number(value, 'f', decimals);
}

void BasePaintRuler::appendScale(QVector<RulerScale>& scales, double value, SCALEType type,
                                 bool labelled) const
{
    RulerScale scale;
    scale.value = value;
    scale.type = type;
    scale.position = positionOf(value);
    if (!std::isfinite(scale.position))
        return;
    switch (type) {
    case SCALE_TYPE_BIG:
        scale.tickLength = showScaleBigEnable ? scaleBigWidth : 0.0;
        scale.gridLength = showGridBigEnable ? gridScaleWidth : 0.0;
        break;
    case SCALE_TYPE_MIDDLE:
        scale.tickLength = showScaleMiddleEnable ? scaleMiddleWidth : 0.0;
        scale.gridLength = showGridMiddleEnable ? gridScaleWidth : 0.0;
        break;
    case SCALE_TYPE_SMALL:
        scale.tickLength = showScaleSmallEnable ? scaleSmallWidth : 0.0;
        scale.gridLength = showGridSmallEnable ? gridScaleWidth : 0.0;
        break;
    case SCALE_TYPE_ZERO:
        scale.tickLength = scaleZeroWidth;
        scale.gridLength = showGridAxisEnable ? gridScaleWidth : 0.0;
        break;
    }
    if (labelled && showScaleTextEnable)
        scale.text = getScaleText(value);
    scales.append(scale);
}

void BasePaintRuler::appendScalesNormal(QVector<RulerScale>& scales) const
{
    const double min = dataLimitor->dataMin;
    const double max = dataLimitor->dataMax;
    double first = 0.0, small = 0.0, count = 0.0;
    if (!findFirstSmallScale(getAxisLength(), min, max, first, small, count))
        return;
    const double middle = 5.0 * small;
    const double big = 10.0 * small;
    const int limit = loopLimit(count);
    for (int i = 0; i < limit; ++i) {
        const double v = first + i * small;
        if (!(v - max <= END_ALLOWANCE))
            break;
        const double u = v > 0.0 ? v + TICK_LIFT : v - TICK_LIFT;
        SCALEType type = SCALE_TYPE_SMALL;
        if (u >= 0.0) {
            if (std::fabs(std::floor(u / big) * big - v) <= CLASS_TOLERANCE)
                type = SCALE_TYPE_BIG;
            else if (std::fabs(std::floor(u / middle) * middle - v) <= CLASS_TOLERANCE)
                type = SCALE_TYPE_MIDDLE;
        } else {
            if (std::fabs(std::floor(std::fabs(u / big)) * big + v) <= CLASS_TOLERANCE)
                type = SCALE_TYPE_BIG;
            else if (std::fabs(std::floor(std::fabs(u / middle)) * middle + v) <= CLASS_TOLERANCE)
                type = SCALE_TYPE_MIDDLE;
        }
        const bool labelled = type == SCALE_TYPE_BIG;
        if (showScaleZeroEnable && std::fabs(u) <= ZERO_LABEL)
            type = SCALE_TYPE_ZERO;
        appendScale(scales, u, type, labelled);
    }
}

// Ticks of the small-step search between from and to, none when they would
// crowd closer than two pixels on average.
void BasePaintRuler::appendSmallRun(QVector<RulerScale>& scales, double from, double to,
                                    SCALEType type, bool labelled) const
{
    double first = 0.0, step = 0.0, count = 0.0;
    if (!findFirstSmallScale(getAxisLength(), from, to, first, step, count) || !spreadEnough(from, to, count))
        return;
    const double top = dataLimitor->dataMax + END_ALLOWANCE;
    const int limit = loopLimit(count);
    for (int i = 0; i < limit; ++i) {
        const double v = first + i * step;
        if (!(v <= to && v <= top))
            break;
        appendScale(scales, v, type, labelled);
    }
}

void BasePaintRuler::appendScalesLog(QVector<RulerScale>& scales) const
{
    const double min = dataLimitor->dataMin;
    const double max = dataLimitor->dataMax;
    const double base = dataLimitor->dataLogBase;
    if (!(min > 0.0) || !(base > 0.0) || base == 1.0 || !std::isfinite(base))
        return;
    const double length = getAxisLength();
    const double top = max + END_ALLOWANCE;
    double first = 0.0, step = 0.0, count = 0.0;

    // Whole powers of the base in the range: labelled decades, the multiples
    // between them as small ticks, or as labelled ticks with small ticks
    // between them when the range holds at most two powers. A decade below
    // the first power, which the range spans only in part, gets the label of
    // its first tick at two or five times the power (the decade at the top
    // has its power in the range).
    if (findFirstBigScale(length, min, max, first, step, count)) {
        const bool fewDecades = count <= 2.0;
        bool partLabelDue = !fewDecades && logOf(min) < first;
        const double lastExponent = logOf(max) + 1.0 + END_ALLOWANCE;
        const int limit = loopLimit(count);
        double previousDecade = min;
        double previousMiddle = min;
        for (int i = 0; i < limit; ++i) {
            const double e = first + i;
            if (!(e <= lastExponent))
                break;
            const double decade = std::pow(base, e) + TICK_LIFT;
            double mFirst = 0.0, mStep = 0.0, mCount = 0.0;
            if (findFirstMiddleScale(length, previousDecade, decade, mFirst, mStep, mCount)) {
                const int mLimit = loopLimit(mCount);
                for (int j = 0; j < mLimit; ++j) {
                    const double m = mFirst + j * mStep;
                    if (!(m <= decade + END_ALLOWANCE))
                        break;
                    const double mv = m + TICK_LIFT;
                    if (fewDecades) {
                        appendSmallRun(scales, previousMiddle, mv, SCALE_TYPE_SMALL, false);
                        previousMiddle = mv;
                    }
                    if (mv <= top) {
                        const bool partLabel = partLabelDue && labelRank(mv) == 2;
                        partLabelDue = partLabelDue && !partLabel;
                        appendScale(scales, mv, fewDecades ? SCALE_TYPE_BIG : SCALE_TYPE_SMALL,
                                    fewDecades || partLabel);
                    }
                }
            }
            partLabelDue = false;
            previousDecade = decade;
            if (decade <= top)
                appendScale(scales, decade, SCALE_TYPE_BIG, true);
        }
        return;
    }

    // No power inside: labelled multiples of the power below the range.
    if (findFirstMiddleScale(length, min, max, first, step, count)) {
        const bool single = count < 2.0;
        const int limit = loopLimit(count);
        double previous = min;
        for (int i = 0; i < limit; ++i) {
            const double m = first + i * step;
            if (!(m <= max + step + END_ALLOWANCE))
                break;
            const double mv = m + TICK_LIFT;
            appendSmallRun(scales, previous, mv, single ? SCALE_TYPE_BIG : SCALE_TYPE_SMALL, single);
            previous = mv;
            if (mv <= top)
                appendScale(scales, mv, SCALE_TYPE_BIG, true);
        }
        return;
    }

    // Not even a multiple inside: labelled coarse marks of the small step
    // with finer ticks between them.
    if (!findFirstSmallScale(length, min, max, first, step, count) || !spreadEnough(min, max, count))
        return;
    const int limit = loopLimit(count);
    double previous = min;
    for (int i = 0; i < limit; ++i) {
        const double c = first + i * step;
        if (!(c <= max + step + END_ALLOWANCE))
            break;
        const double cv = c + TICK_LIFT;
        appendSmallRun(scales, previous, cv, SCALE_TYPE_SMALL, false);
        previous = cv;
        if (cv <= top)
            appendScale(scales, cv, SCALE_TYPE_BIG, true);
    }
}

QVector<BasePaintRuler::RulerScale> BasePaintRuler::getScales() const
{
    QVector<RulerScale> scales;
    if (!hasScaleRange())
        return scales;
    if (dataLimitor->dataLogEnable)
        appendScalesLog(scales);
    else
        appendScalesNormal(scales);
    return scales;
}

bool BasePaintRuler::layOutLabel(const QFontMetricsF& metrics, double tickLength, double position,
                                 RulerText& text) const
{
    const QRectF bounds = metrics.boundingRect(QRectF(), Qt::AlignLeft | Qt::AlignTop, text.text);
    const double w = bounds.width();
    const double h = bounds.height();
    const QPointF b = viewDataRect.bottomLeft();
    QPointF p;
    if (rulerType == RULER_TYPE_X) {
        if (tickLength > 0.0)
            p = QPointF(b.x() + position - w / 2.0, b.y() + labelDrop(metrics, tickLength));
        else
            p = QPointF(b.x() + position - w / 2.0, b.y() + scaleBigWidth + 4.0 - h);
        if (!(p.x() - 1.0 <= viewDataRect.right()))
            return false;
    } else {
        p = QPointF(b.x() - tickLength - 2.0, b.y() - position + h / 2.0 - 2.0);
        if (tickLength > 0.0)
            p.rx() -= w;
        if (!(p.y() >= viewDataRect.top()))
            return false;
    }
    // On whole pixels: a one-pixel stroke (the stem of a 1) stays sharp.
    text.baseline = QPointF(std::round(p.x()), std::round(p.y()));
    text.rect = QRectF(text.baseline.x(), text.baseline.y() - metrics.ascent(), w, h);
    text.ruler = rulerType;
    return true;
}

// The baseline of the X labels below the axis: past the tick by the big tick
// and 4 pixels, and far enough to keep clear of a Y label centred on the
// plot's bottom edge, which hangs half its height below the axis.
double BasePaintRuler::labelDrop(const QFontMetricsF& metrics, double tickLength) const
{
    const double h = metrics.boundingRect(QRectF(), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("0")).height();
    return std::max(tickLength + scaleBigWidth + 4.0, 1.5 * h - 1.0 + textGap(metrics));
}

int BasePaintRuler::labelRank(double value) const
{
    if (!hasLogScale() || !(value > 0.0))
        return 3;
    const double multiple = std::round(value / std::pow(dataLimitor->dataLogBase, std::floor(logOf(value))));
    return multiple == 1.0 ? 1 : multiple == 2.0 || multiple == 5.0 ? 2 : 3;
}

double BasePaintRuler::textGap(const QFontMetricsF& metrics)
{
    return std::max(2.0, metrics.horizontalAdvance(QLatin1Char(' ')));
}

BasePaintRuler::RulerText BasePaintRuler::layOutCaption(const QFontMetricsF& metrics,
                                                        const QVector<RulerText>& labels) const
{
    RulerText caption;
    caption.text = captionText;
    caption.caption = true;
    caption.rank = 0;
    caption.ruler = rulerType;
    const QRectF bounds = metrics.boundingRect(QRectF(), Qt::AlignLeft | Qt::AlignTop, captionText);
    const double w = bounds.width();
    const double h = bounds.height();
    const QRectF& r = viewDataRect;
    // Outside the plot: the X caption ends the row of labels, past the
    // axis's end and the last label; the Y caption stands on top of the
    // axis, on the plot's side of it, clear of the labels beside the axis.
    const double gap = textGap(metrics);
    if (rulerType == RULER_TYPE_X) {
        double x = r.right() + 4.0;
        for (const RulerText& label : labels)
            x = std::max(x, label.rect.right() + gap);
        caption.baseline = QPointF(x, r.bottom() + labelDrop(metrics, scaleBigWidth));
    } else {
        const double x = viewRulerSize > 0.0 ? r.left() + 4.0 : r.right() - w - 4.0;
        caption.baseline = QPointF(x, r.top() - gap - h + metrics.ascent());
    }
    caption.rect = QRectF(caption.baseline.x(), caption.baseline.y() - metrics.ascent(), w, h);
    return caption;
}

QVector<BasePaintRuler::RulerText> BasePaintRuler::getTexts(const QFontMetricsF& metrics) const
{
    QVector<RulerText> labels;
    if (!hasRange())
        return labels;
    for (const RulerScale& scale : getScales()) {
        RulerText text;
        text.text = scale.text;
        text.gridPen = scale.tickLength > 0.0 && scale.gridLength > 0.0;
        text.rank = labelRank(scale.value);
        if (!text.text.isEmpty() && layOutLabel(metrics, scaleBigWidth, scale.position, text))
            labels.append(text);
    }
    QVector<RulerText> texts;
    if (showCaptionTextEnable && !captionText.isEmpty())
        texts.append(layOutCaption(metrics, labels));
    std::stable_sort(labels.begin(), labels.end(), [](const RulerText& a, const RulerText& b) { return a.rank < b.rank; });
    return texts + labels;
}

QVector<BasePaintRuler::RulerText> BasePaintRuler::fitTexts(const QVector<RulerText>& texts, const QRectF& bounds,
                                                            double gap)
{
    QVector<RulerText> kept;
    for (const RulerText& text : texts) {
        if (!bounds.contains(text.rect))
            continue;
        const QRectF clear = text.rect.adjusted(-gap, -gap, gap, gap);
        if (std::none_of(kept.begin(), kept.end(), [&](const RulerText& k) { return clear.intersects(k.rect); }))
            kept.append(text);
    }
    return kept;
}

void BasePaintRuler::draw(QPainter* painter)
{
    if (!painter || !hasRange())
        return;
    const QFontMetricsF metrics(painter->font(), painter->device());
    draw(painter, fitTexts(getTexts(metrics), QRectF(painter->window()), textGap(metrics)));
}

void BasePaintRuler::draw(QPainter* painter, const QVector<RulerText>& texts)
{
    if (!painter || !hasRange())
        return;
    const QFont font = painter->font();
    const QPen pen = painter->pen();
    const QBrush brush = painter->brush();

    QPen linePen(QBrush(lineColor), 1, lineStyle);
    QPen gridPen(QBrush(gridLineColor), 1, gridLineStyle);
    painter->setPen(linePen);
    painter->setBrush(QBrush(textColor));
    drawScaleAxis(painter);
    drawScales(painter, getScales(), linePen, gridPen, false);
    drawTexts(painter, texts, linePen, gridPen);

    painter->setPen(pen);
    painter->setFont(font);
    painter->setBrush(brush);
}

void BasePaintRuler::drawScaleAxis(QPainter* painter)
{
    if (!showAxisLineEnable)
        return;
    const QRectF& r = viewDataRect;
    if (rulerType == RULER_TYPE_X)
        painter->drawLine(r.bottomLeft(), r.bottomRight());
    else if (viewRulerSize > 0.0)
        painter->drawLine(r.topLeft(), r.bottomLeft());
    else
        painter->drawLine(r.topRight(), r.bottomRight());
}

void BasePaintRuler::drawScales(QPainter* painter, const QVector<RulerScale>& scales, QPen& linePen,
                                QPen& gridPen, bool labels)
{
    for (const RulerScale& scale : scales) {
        drawScaleLine(painter, linePen, scale.tickLength, scale.position, gridPen, scale.gridLength);
        if (labels && !scale.text.isEmpty())
            drawScaleText(painter, scaleBigWidth, scale.position, scale.value);
    }
}

void BasePaintRuler::drawTexts(QPainter* painter, const QVector<RulerText>& texts, QPen& linePen, QPen& gridPen)
{
    for (bool caption : {false, true}) {
        for (const RulerText& text : texts) {
            if (text.ruler != rulerType || text.caption != caption)
                continue;
            painter->setPen(text.gridPen ? gridPen : linePen);
            painter->drawText(text.baseline, text.text);
        }
    }
}

// Ticks with their labels where the rules place them, crowded or not.
void BasePaintRuler::drawScaleValueNormal(QPainter* painter, QPen& linePen, QPen& gridPen)
{
    QVector<RulerScale> scales;
    if (hasScaleRange())
        appendScalesNormal(scales);
    drawScales(painter, scales, linePen, gridPen, true);
}

void BasePaintRuler::drawScaleValueLog(QPainter* painter, QPen& linePen, QPen& gridPen)
{
    QVector<RulerScale> scales;
    if (hasScaleRange())
        appendScalesLog(scales);
    drawScales(painter, scales, linePen, gridPen, true);
}

void BasePaintRuler::drawScaleLine(QPainter* painter, QPen& linePen, double tickLength, double position,
                                   QPen& gridPen, double gridLength)
{
    if (tickLength <= 0.0)
        return;
    const QPointF b = viewDataRect.bottomLeft();
    painter->setPen(linePen);
    if (rulerType == RULER_TYPE_X) {
        const double x = b.x() + position;
        painter->drawLine(QPointF(x, b.y()), QPointF(x, b.y() + tickLength));
        if (gridLength > 0.0) {
            painter->setPen(gridPen);
            painter->drawLine(QPointF(x, b.y()), QPointF(x, b.y() - gridLength));
        }
    } else {
        const double y = b.y() - position;
        painter->drawLine(QPointF(b.x(), y), QPointF(b.x() - tickLength, y));
        if (gridLength > 0.0) {
            painter->setPen(gridPen);
            painter->drawLine(QPointF(b.x(), y), QPointF(b.x() + gridLength, y));
        }
    }
}

void BasePaintRuler::drawScaleText(QPainter* painter, double tickLength, double position, double value)
{
    RulerText text;
    text.text = getScaleText(value);
    if (layOutLabel(QFontMetricsF(painter->font(), painter->device()), tickLength, position, text))
        painter->drawText(text.baseline, text.text);
}

void BasePaintRuler::drawScaleCaption(QPainter* painter)
{
    if (!showCaptionTextEnable || captionText.isEmpty())
        return;
    const QVector<RulerText> texts = getTexts(QFontMetricsF(painter->font(), painter->device()));
    if (!texts.isEmpty() && texts.first().caption)
        painter->drawText(texts.first().baseline, texts.first().text);
}
