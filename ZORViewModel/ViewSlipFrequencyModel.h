#pragma once

// The view model of the under-frequency load-shedding test
// ("ZOR.ViewSlipFrequencyModel" 1.0, module folder "SlipFrequency", test
// type TEST_SLIP_FREQUENCY): up to 8 points (the capacity of
// ModelSlipFrequencyEntity), each testing the action frequency, the action
// time, df/dt blocking, low-current blocking or voltage blocking on a
// frequency slide. The list, the texts, the hooks, the file and the report
// are ViewLoadSheddingModel's.

#include "ViewLoadSheddingModel.h"

class ViewSlipFrequencyModel : public ViewLoadSheddingModel
{
    Q_OBJECT

public:
    enum TestItemType : qint32 {
        ITEM_ACTION_FREQUENCY = 0,
        ITEM_ACTION_TIME = 1,
        ITEM_FREQUENCY_SLIP = 2,
        ITEM_LOW_I_LOCK = 3,
        ITEM_V_LOCK = 4,
    };
    Q_ENUM(TestItemType)

    // A point's settings, in file order.
    enum Setting : int {
        FREQUENCY_BEGIN = SLIDE_BEGIN,
        FREQUENCY_END = SLIDE_END,
        FREQUENCY_STEP = SLIDE_STEP,
        FREQUENCY_SLIP = SLIDE_RATE,
        TIMING_FREQUENCY = SLIDE_TIMING,
        VOLTAGE_BEGIN,
        VOLTAGE_END,
        VOLTAGE_STEP,
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

    explicit ViewSlipFrequencyModel(QObject* parent = nullptr);

    Q_INVOKABLE void setFrequencyBegin(double value);
    Q_INVOKABLE double getFrequencyBegin() const;
    Q_INVOKABLE void setFrequencyEnd(double value);
    Q_INVOKABLE double getFrequencyEnd() const;
    Q_INVOKABLE void setFrequencyStep(double value);
    Q_INVOKABLE double getFrequencyStep() const;
    Q_INVOKABLE void setFrequencySlip(double value);
    Q_INVOKABLE double getFrequencySlip() const;
    Q_INVOKABLE void setTimingFrequency(double value);
    Q_INVOKABLE double getTimingFrequency() const;
    // The blocking voltages: ViewLoadSheddingModel.
};
