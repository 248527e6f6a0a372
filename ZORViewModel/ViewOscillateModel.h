#pragma once

// The view model of the power-swing test ("ZOR.ViewOscillateModel" 1.0,
// module folder "Oscillate"): amplitude, angle and frequency of the eight
// outputs UA UB UC UX IA IB IC IX, and on one channel or channel group a
// swing: a second component of amplitude x percent at the swing's own angle
// and frequency. The result is the trip time and the swung channels' peak
// values A (1 + percent) as the engine recorded them.
//
// The entity is the engine's ModelOscillateEntity (dataOscillate). Every edit
// goes into it at once and, when it changed a value while a test runs,
// switches the output (ControllerCenter::testSwitch). The frame
// (ViewSourceTestModel) gives the start, stop, snapshot and file rules.
// The eight outputs, their setters and quick-set keys: ViewPortOutputModel.
//
// Ports and list rows from QML are checked: a setter with a port outside
// AOPortType changes nothing, a getter gives 0.
//
// Parameter file body and report tables: ViewOscillateModelFile.cpp.

#include "ViewPortOutputModel.h"

class ViewOscillateModel : public ViewPortOutputModel
{
    Q_OBJECT
    // The lowest swing frequency, Hz: a swing at 0 Hz would be a DC offset.
    Q_PROPERTY(double minSwingFrequency READ minSwingFrequency CONSTANT)

public:
    static double minSwingFrequency();

    explicit ViewOscillateModel(QObject* parent = nullptr);
    ~ViewOscillateModel() override;

    // ---- Swing --------------------------------------------------------------------------
    // The group as a row of the page's list (rows leave out UX and IX on
    // three-phase units); an unknown row keeps the group. A new group clears
    // the result. Each setter pushes, switching when the value changed and a
    // test runs; the percent is stored as a fraction. A swing frequency
    // outside minSwingFrequency() .. the outputs' highest is not taken.
    Q_INVOKABLE void setOscillatePort(int index);
    Q_INVOKABLE void setOscillatePercent(double percent);
    Q_INVOKABLE void setOscillateFrequency(double frequency);
    Q_INVOKABLE void setOscillateAngle(double angle);
    Q_INVOKABLE int getOscillatePort() const;
    Q_INVOKABLE double getOscillatePercent() const;
    Q_INVOKABLE double getOscillateFrequency() const;
    Q_INVOKABLE double getOscillateAngle() const;
    // The largest percent the group's channels allow below the device
    // maximum (at most 100; a channel at or above the maximum allows 0, an
    // amplitude of 0 or below sets no limit). Lowers (and pushes) the stored percent
    // to it.
    Q_INVOKABLE double getOscillatePercentMax();

    // ---- Results ----------------------------------------------------------------------------
    // getTestState (ViewPortOutputModel): -1 from a start until a trip, 1
    // with one, 0 when a run ended without one; a parameter file sets what
    // it holds.
    Q_INVOKABLE bool isExistFaultActionValue() const;
    // "v1; v2 V" for the group's channels (NaN unless the state is 1).
    Q_INVOKABLE QString getFaultActionValue() const;
    // The trip time when the state is 1, else NaN.
    Q_INVOKABLE double getFaultActionTime() const;

    // ---- Reports (ViewOscillateModelFile.cpp) ------------------------------------------------
    void appendTestSetting(QDomDocument* doc, QDomElement* parent) override;
    void appendTestResult(QDomDocument* doc, QDomElement* parent) override;

protected:
    void pushToEntity(DATAType type) override;
    void pullOutputs() override;
    void pullResults() override;
    void takeSnapshot() override;
    void restoreSnapshot() override;
    void swapSnapshot() override;
    void serializeBody(bool save, QDomElement* element, QDomDocument* doc) override;

    double beginOscillatePercent;
    double beginOscillateFrequency;
    double beginOscillateAngle;
    RampPortType beginOscillatePort;
    double oscillatePercent;
    double oscillateFrequency;
    double oscillateAngle;
    RampPortType oscillatePort;
};
