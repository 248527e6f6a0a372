#pragma once

// An axis to test (range and ruler), and a paint device that records the
// lines and texts a painter draws, each text with the pen in force.

#include "BasePaintRuler.h"

#include <QPaintDevice>
#include <QPaintEngine>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

struct Axis
{
    DataPaintLimitor range;
    BasePaintRuler ruler;
    Axis(double min, double max, bool log, double length,
         BasePaintRuler::RULERType type = BasePaintRuler::RULER_TYPE_X, double base = 10.0)
    {
        range.dataMin = min;
        range.dataMax = max;
        range.dataLogEnable = log;
        range.dataLogBase = base;
        ruler.dataLimitor = &range;
        ruler.rulerType = type;
        ruler.viewDataRect = QRectF(40, 10, length, length);
    }
};

struct RecordedText
{
    QPointF point;
    QString text;
    QPen pen;
};

class RecordingDevice : public QPaintDevice, public QPaintEngine
{
public:
    RecordingDevice() : QPaintEngine(AllFeatures) {}
    QPaintEngine* paintEngine() const override { return const_cast<RecordingDevice*>(this); }
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override { pen = state.pen(); }
    void drawLines(const QLineF* l, int count) override { lines.append(QVector<QLineF>(l, l + count)); }
    void drawTextItem(const QPointF& p, const QTextItem& item) override { texts.append({p, item.text(), pen}); }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    Type type() const override { return User; }

    QPen pen;
    QVector<QLineF> lines;
    QVector<RecordedText> texts;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        return m == PdmWidth || m == PdmHeight ? 800 : m == PdmDpiX || m == PdmDpiY ? 96
             : m == PdmDepth ? 32 : m == PdmDevicePixelRatioScaled ? int(devicePixelRatioFScale()) : 1;
    }
};
