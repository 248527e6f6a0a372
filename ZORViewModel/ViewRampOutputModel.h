#pragma once

// What the AC and DC output tests share beyond the eight outputs: a ramped
// group and item, stepped by hand (manual mode) or ramped by the engine
// (auto mode), the time per step of the automatic ramp and what a trip does;
// the module's entity (a ModelActionRampEntity) and what goes into it and
// comes back from it; the automatic ramp's rule and start check; the action
// and return records. Each module keeps its begin, end and step values, its
// groups and its manual stepping.

#include "ViewPortOutputModel.h"

class ModelActionRampEntity;

class ViewRampOutputModel : public ViewPortOutputModel
{
    Q_OBJECT

public:
    ~ViewRampOutputModel() override;

    // ---- Mode (no push) -----------------------------------------------------------------
    // Without auto mode only ACTION_TYPE_STOP and ACTION_TYPE_CONTINUE exist:
    // any other type is stored as continue.
    Q_INVOKABLE void setAutoRampEnabled(bool autoRamp);
    Q_INVOKABLE bool getAutoRampEnabled() const;
    Q_INVOKABLE void setFaultActionType(FaultActionType actionType);
    Q_INVOKABLE int getFaultActionType() const;

    Q_INVOKABLE int getFaultActionItem() const;

    // The module's end value and step of the current group and item.
    virtual double getEndRampValue() const = 0;
    virtual double getRampStepValue() const = 0;

    // ---- Results ----------------------------------------------------------------------------
    // index 0: the action, 1: the return. Outside 0..3: false, NaN.
    Q_INVOKABLE bool isExistFaultActionValue(int index) const;
    Q_INVOKABLE double getFaultActionTime(int index) const;
    Q_INVOKABLE QString getFaultActionFactor() const;

    // The report's table of the settings.
    void appendTestSetting(QDomDocument* doc, QDomElement* parent) override;

protected:
    ViewRampOutputModel(TESTType type, QObject* parent);

    // The module's entity.
    virtual ModelActionRampEntity* rampEntity() const = 0;
    // The largest amplitude of a port: the device's (portRangeLimit) unless
    // the module holds it lower.
    virtual double channelLimit(int port) const;

    void pushToEntity(DATAType type) override;
    // "未测试" (not tested) after an automatic ramp stopped before it ran out
    // with no action, else "未动作" (no action).
    QString noActionWord() const override;
    void beginResults() override;
    void settleResults() override;
    void pullOutputs() override;
    void pullResults() override;
    bool checkStart() override;
    QString heldRampProblem() const override;

    // "+" (toAdd) or "-" in automatic mode: the ramp of the current group
    // towards the end value handed to the entity, or refused with a message
    // by the frame's rule (false).
    bool handAutoRamp(bool toAdd);
    // The frame's ramp rule for the current group and item in direction (+1
    // up, -1 down) to end, from the present outputs.
    QString groupRampProblem(int direction, double end) const;
    // The output array of an item (null for an unknown item).
    const double* outputItem(int item) const;
    // Unit of the current group and item as the report writes it: "V", "A", "°", "Hz".
    QString unitText() const;
    // "faultActionType" of the parameter file, read through its setter (as
    // the page sets it: without auto mode a return is stored as continue).
    void mapFaultActionType(bool save, QDomElement* root, QDomDocument* doc);
    // The run's results (mapRunResults), then "rampUntested" and "notRun"
    // (mapNotRun).
    void mapRampResults(bool save, QDomElement* root, QDomElement* outputs, QDomDocument* doc, bool timeFirst);

    bool autoRampEnabled = false;
    RampPortType faultActionPort = RAMP_PORT_TYPE_UA;
    RampItemType faultActionItem = RAMP_ITEM_TYPE_RANGE;
    FaultActionType faultActionType = ACTION_TYPE_STOP;
    // The last run was an automatic ramp stopped before it ran out, with no action.
    bool rampUntested = false;
};
