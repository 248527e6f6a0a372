#pragma once

// The view model of the under-voltage load-shedding test
// ("ZOR.ViewSlipVoltageModel" 1.0, module folder "SlipVoltage", test type
// TEST_SLIP_VOLTAGE): up to 32 points, each testing the action voltage, the
// action time, dv/dt blocking or low-current blocking on a voltage slide.
// A copy of a point leaves the angles alone, so the port display keeps the
// edit point's own. The list, the texts, the hooks, the file and the report
// are ViewLoadSheddingModel's.

#include "ViewLoadSheddingModel.h"

class ViewSlipVoltageModel : public ViewLoadSheddingModel
{
    Q_OBJECT

public:
    enum TestItemType : qint32 {
        ITEM_ACTION_VOLTAGE = 0,
        ITEM_ACTION_TIME = 1,
        ITEM_VOLTAGE_SLIP = 2,
        ITEM_LOW_I_LOCK = 3,
    };
    Q_ENUM(TestItemType)

    // A point's settings, in file order.
    enum Setting : int {
        VOLTAGE_BEGIN = SLIDE_BEGIN,
        VOLTAGE_END = SLIDE_END,
        VOLTAGE_STEP = SLIDE_STEP,
        VOLTAGE_SLIP = SLIDE_RATE,
        TIMING_VOLTAGE = SLIDE_TIMING,
        SLIP_BEGIN,
        SLIP_END,
        SLIP_STEP,
        CURRENT_BEGIN,
        CURRENT_END,
        CURRENT_STEP,
        SETTING_COUNT,
    };

    using ViewTestPointModel = ViewSheddingPoint;
    static const Layout kLayout;

    explicit ViewSlipVoltageModel(QObject* parent = nullptr);

    // The voltage's begin, end and step: ViewLoadSheddingModel.
    Q_INVOKABLE void setVoltageSlip(double value);
    Q_INVOKABLE double getVoltageSlip() const;
    Q_INVOKABLE void setTimingVoltage(double value);
    Q_INVOKABLE double getTimingVoltage() const;
};
