#pragma once

// The eight-port outputs UA UB UC UX IA IB IC IX (amplitude, angle,
// frequency) shared by the AC, DC and power-swing view models: the arrays,
// their setters and getters and the port quick-set keys. Registered nowhere
// itself: QML reaches these invokables on each registered module model.
//
// A module model decides which values it takes (acceptsOutputValue) and how
// the outputs reach its entity (pushOutputs).

#include "ViewSourceTestModel.h"

class ViewPortOutputModel : public ViewSourceTestModel
{
    Q_OBJECT

public:
    ~ViewPortOutputModel() override;

    // ---- Outputs -------------------------------------------------------------------------
    // Stores the value; pushes the outputs into the entity and, when the value
    // changed and a test runs, switches the running output to them. A port
    // outside AOPortType or a value the module does not take changes nothing;
    // a getter gives 0 for such a port.
    Q_INVOKABLE void setOutputRange(AOPortType port, double range);
    Q_INVOKABLE void setOutputAngle(AOPortType port, double angle);
    Q_INVOKABLE void setOutputFrequency(AOPortType port, double frequency);
    Q_INVOKABLE double getOutputRange(AOPortType port) const;
    Q_INVOKABLE double getOutputAngle(AOPortType port) const;
    Q_INVOKABLE double getOutputFrequency(AOPortType port) const;

    // ---- Quick-set keys (each pushes, switching while a test runs) -----------------------
    // Rated amplitude of the port; its amplitude to the A, B, C phases of its
    // group (UX, IX never written); B and C (or the others) at -120/+120 from
    // the port (pos) or +120/-120; rated frequency of the port; its frequency
    // to all eight ports.
    Q_INVOKABLE void setRateRange(AOPortType port);
    Q_INVOKABLE void setBalanceRange(AOPortType port);
    Q_INVOKABLE void setPositiveAngle(AOPortType port, bool pos);
    Q_INVOKABLE void setRateFrequency(AOPortType port);
    Q_INVOKABLE void setBalanceFrequency(AOPortType port);

protected:
    ViewPortOutputModel(TESTType type, QObject* parent);

    // Whether the output setters take value (all values by default).
    virtual bool acceptsOutputValue(double value) const;
    // Pushes the outputs; switches the running output to them when `apply`.
    virtual void pushOutputs(bool apply);

    double outputRanges[8];
    double outputAngles[8];
    double outputFrequencies[8];

private:
    // Stores value into values[port] and pushes, switching when it changed
    // and a test runs.
    void setOutput(double values[8], AOPortType port, double value);
};
