#pragma once

// What the AC and DC output tests share beyond the eight outputs: a ramped
// group and item, stepped by hand (manual mode) or ramped by the engine
// (auto mode), the time per step of the automatic ramp and what a trip does.
// Each module keeps its begin, end and step values, its groups and its
// stepping.

#include "ViewPortOutputModel.h"

class ViewRampOutputModel : public ViewPortOutputModel
{
    Q_OBJECT

public:
    ~ViewRampOutputModel() override;

    // Time per step of the automatic ramp, s (no push); a number that is not
    // finite is not taken.
    Q_INVOKABLE void setRampTimeValue(double timeRamp);
    Q_INVOKABLE double getRampTimeValue() const;

    // ---- Mode (no push) -----------------------------------------------------------------
    // Without auto mode only ACTION_TYPE_STOP and ACTION_TYPE_CONTINUE exist:
    // any other type is stored as continue.
    Q_INVOKABLE void setAutoRampEnabled(bool autoRamp);
    Q_INVOKABLE bool getAutoRampEnabled() const;
    Q_INVOKABLE void setFaultActionType(FaultActionType actionType);
    Q_INVOKABLE int getFaultActionType() const;

    Q_INVOKABLE int getFaultActionItem() const;

protected:
    ViewRampOutputModel(TESTType type, QObject* parent);

    double actionRampTime = 1.0;
    bool autoRampEnabled = false;
    RampPortType faultActionPort = RAMP_PORT_TYPE_UA;
    RampItemType faultActionItem = RAMP_ITEM_TYPE_RANGE;
    FaultActionType faultActionType = ACTION_TYPE_STOP;
};
