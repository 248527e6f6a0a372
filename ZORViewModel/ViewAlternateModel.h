#pragma once

// The view model of the AC output test ("ZOR.ViewAlternateModel" 1.0, module
// folder "AC"): amplitude, angle and frequency of the eight outputs UA UB UC
// UX IA IB IC IX, stepped by hand while the output runs (manual mode) or
// ramped by the engine (auto mode) until the relay acts on a binary input;
// then the values of the ramped ports at the action and, in auto mode with
// action return, at the return, with the return coefficient.
//
// The entity is the engine's ModelAlternateEntity (dataAlternate). Every
// output edit goes into it at once and, while a test runs, switches the
// output (ControllerCenter::testSwitch). The frame (ViewSourceTestModel)
// gives the start, stop, snapshot and file rules.
// The eight outputs, their setters and quick-set keys: ViewPortOutputModel;
// the ramp mode and time per step: ViewRampOutputModel.
//
// Ports, groups, items and result indexes from QML are checked: a setter
// with a value outside its enumeration changes nothing, a getter gives 0,
// NaN or an empty text.
//
// Parameter file body and report tables: ViewAlternateModelFile.cpp.

#include "ViewRampOutputModel.h"

class ViewAlternateModel : public ViewRampOutputModel
{
    Q_OBJECT

public:
    explicit ViewAlternateModel(QObject* parent = nullptr);
    ~ViewAlternateModel() override;

    // ---- Ramp values of the current group and item (no push) -------------------------
    Q_INVOKABLE void setBeginRampValue(double beginRamp);
    Q_INVOKABLE void setEndRampValue(double endRamp);
    Q_INVOKABLE double getBeginRampValue() const;
    Q_INVOKABLE double getEndRampValue() const override;
    // Step of the current item (no push); the time per step: ViewRampOutputModel.
    Q_INVOKABLE void setRampStepValue(double stepRamp);
    Q_INVOKABLE double getRampStepValue() const override;

    // ---- Ramped group and item (no push) -------------------------------------------------
    // The group as a row of the page's list (rows leave out UX and IX on
    // three-phase units). A change of group or item clears the result.
    Q_INVOKABLE void setFaultActionPort(int index);
    Q_INVOKABLE int getFaultActionPort() const;
    Q_INVOKABLE void setFaultActionItem(RampItemType actionItem);

    // ---- Stepping -------------------------------------------------------------------------
    // Manual mode: the ports of the group step by the item's step (up or
    // down); only the stepped ports are held to their limits (amplitude 0 ..
    // device maximum, angle folded into [0, 360), frequency 10 .. 1000 Hz);
    // pushed, and switched while a test runs. Auto mode: hands the ramp
    // direction and the end value to the engine; refused, with a message,
    // when the step or the time is not above 0, when the end value lies
    // against the direction of some port of the group, or between the ports.
    // False when refused or gated (power stage too hot and no test running).
    // In auto mode a start needs the ramp of an accepted "+" or "-" that
    // still fits the outputs.
    Q_INVOKABLE bool quickChange(bool toAdd);
    // The amplitude of port back to its value at the last start (reset), or
    // grown by that value x factor; with toDevice pushed (switched while running).
    Q_INVOKABLE void quickChange(AOPortType port, bool reset, double factor, bool toDevice);

    // ---- Results ----------------------------------------------------------------------------
    // The test state: ViewPortOutputModel::getTestState; the records' times
    // and factors: ViewRampOutputModel.
    // index 0: the action, 1: the return. Outside 0..3: "".
    Q_INVOKABLE QString getFaultActionValue(int index) const;

    // ---- Impedance calculator ------------------------------------------------------------------
    // Amplitudes and angles of the eight outputs from the shared fault model,
    // pushed (switched while a manual test runs). False, with the outputs as
    // they were and a message, when the fault cannot be calculated or an
    // automatic ramp is running.
    Q_INVOKABLE bool doComputerDistance();

    // ---- Reports and file (ViewAlternateModelFile.cpp) ---------------------------------------------
    // The settings' table: ViewRampOutputModel.
    void appendTestResult(QDomDocument* doc, QDomElement* parent) override;

protected:
    ModelActionRampEntity* rampEntity() const override;
    void serializeBody(bool save, QDomElement* element, QDomDocument* doc) override;

    // The arrays of an item (null for an unknown item).
    double* endRampItem(int item);
    const double* endRampItem(int item) const;
    double* beginRampItem(int item);
    const double* beginRampItem(int item) const;

    double beginRampRanges[16];
    double beginRampAngles[16];
    double beginRampFrequencies[16];
    double endRampRanges[16];
    double endRampAngles[16];
    double endRampFrequencies[16];
    double actionRampStep[3];
};
