#pragma once

// The view model of the DC output test ("ZOR.ViewDirectModel" 1.0, module
// folder "DC"): the amplitudes of the eight DC channels UA UB UC UX (V) and IA
// IB IC IX (A), one channel or three-phase group stepped by hand while the
// output runs (manual mode) or ramped by the engine towards an end value
// (auto mode) until the relay acts on a binary input; then the values of the
// group at the action and, in auto mode with action return, at the return,
// with the return coefficient.
//
// The entity is the engine's ModelDirectEntity (dataDirect): it sends the
// amplitudes only (at 90 degrees and 0 Hz). Every output edit goes into it at
// once and, while a test runs, switches the output. Currents are held to half
// the device's largest current (manual steps and the entity's copy), voltages
// to the largest voltage. Only the amplitude is ramped: the item stays
// RAMP_ITEM_TYPE_RANGE. The frame (ViewSourceTestModel) gives the start, stop,
// snapshot (amplitudes) and file rules and the automatic ramp's rule.
// The eight outputs, their setters and quick-set keys: ViewPortOutputModel;
// the ramp mode and time per step: ViewRampOutputModel.
//
// Ports, groups and result indexes from QML are checked: a setter with a
// value outside its range changes nothing, a getter gives 0, NaN or "".
//
// Parameter file body and report tables: ViewDirectModelFile.cpp.

#include "ViewRampOutputModel.h"

class ViewDirectModel : public ViewRampOutputModel
{
    Q_OBJECT

public:
    // Kept for the page's vocabulary; nothing uses it.
    enum PWPortType : qint32 {
        PW_PORT_TYPE_A = 0,
        PW_PORT_TYPE_B = 1,
        PW_PORT_TYPE_C = 2,
        PW_PORT_TYPE_X = 3
    };
    Q_ENUM(PWPortType)

    explicit ViewDirectModel(QObject* parent = nullptr);
    ~ViewDirectModel() override;

    // ---- Ramp values of the current group and step (no push) ----------------------------------
    Q_INVOKABLE void setBeginRampValue(double beginRamp);
    Q_INVOKABLE void setEndRampValue(double endRamp);
    Q_INVOKABLE double getBeginRampValue() const;
    Q_INVOKABLE double getEndRampValue() const override;
    Q_INVOKABLE void setRampStepValue(double stepRamp);
    Q_INVOKABLE double getRampStepValue() const override;

    // ---- Ramped group and item (no push) --------------------------------------------------------
    // The group as a row of the page's list: UA, UB, UC, UX (four-phase
    // voltage only), UAUBUC, IA, IB, IC, IX (four-phase current only),
    // IAIBIC; an unknown row selects UA. A change of group clears the result.
    Q_INVOKABLE void setFaultActionPort(int index);
    Q_INVOKABLE int getFaultActionPort() const;
    // Only the amplitude is ramped: any other item is not taken.
    Q_INVOKABLE void setFaultActionItem(RampItemType actionItem);

    // ---- Stepping --------------------------------------------------------------------------------
    // Manual mode: the channels of the group step by the step (up or down),
    // then all eight are held to 0 .. the largest voltage, respectively half
    // the largest current; pushed, and switched while a test runs. Auto mode:
    // hands the ramp direction and the end value to the engine; refused, with
    // a message, by the frame's ramp rule. False when refused or gated (power
    // stage too hot and no test running). In auto mode a start needs the
    // ramp of an accepted "+" or "-" that still fits the outputs.
    Q_INVOKABLE bool quickChange(bool toAdd);
    // The amplitude of port back to its value at the last start (reset), or
    // grown by that value x factor, unclamped; with toDevice pushed
    // (switched while running).
    Q_INVOKABLE void quickChange(AOPortType port, bool reset, double factor, bool toDevice);

    // ---- Results ---------------------------------------------------------------------------------
    // The test state: ViewPortOutputModel::getTestState; the records' times
    // and factors: ViewRampOutputModel.
    // index 0: the action, 1: the return. Outside 0..3: "".
    Q_INVOKABLE QString getFaultActionValue(int index) const;

    // ---- Reports and file (ViewDirectModelFile.cpp) ------------------------------------------------
    // The settings' table: ViewRampOutputModel.
    void appendTestResult(QDomDocument* doc, QDomElement* parent) override;

protected:
    // What the setters take, and so what a parameter file may set: a number
    // is finite (a missing or non-finite one keeps the field).
    static bool takesNumber(double value);
    bool acceptsOutputValue(double value) const override { return takesNumber(value); }

    ModelActionRampEntity* rampEntity() const override;
    void takeSnapshot() override;
    void restoreSnapshot() override;
    void swapSnapshot() override;
    void serializeBody(bool save, QDomElement* element, QDomDocument* doc) override;

    // The largest amplitude of a channel: the device's voltage, half its current.
    double channelLimit(int port) const override;
    // The ramped group is a current group (unit "A", else "V").
    bool isCurrentGroup() const { return faultActionPort > RAMP_PORT_TYPE_UAUBUC; }

    double beginRampRanges[16];
    double endRampRanges[16];
    double actionRampStep[1];
};
