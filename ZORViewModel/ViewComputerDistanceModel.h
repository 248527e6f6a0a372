#pragma once

// The model of the impedance calculator dialog ("ZOR.ViewComputerDistanceModel"
// 1.0): invokable getters and setters over the settings of the shared
// BaseModelDataDistance instance. It keeps no settings of its own, so every
// dialog (and the distance module) shows and edits the same values; setters
// assign at once and validate nothing (the dialog's number boxes limit the
// entries).
//
// Construction applies the device rating of the test configuration to the
// shared instance (rated voltage and frequency, largest voltage and current
// of one output). The pages compute their fault state with computeFault(),
// which remembers the outcome for getComputeResult()/getComputeMessage().
//
// GUI thread only.

#include <QObject>
#include <QString>

class BaseDataPhaseValue;

class ViewComputerDistanceModel : public QObject
{
    Q_OBJECT

public:
    enum PhasesType : qint32 {
        PHASES_TYPE_THREE = 0,
        PHASES_TYPE_FOUR = 1, // the instrument has the fourth voltage output UX
    };
    Q_ENUM(PhasesType)

    explicit ViewComputerDistanceModel(QObject* parent = nullptr);
    ~ViewComputerDistanceModel() override;

    // Fault parameters.
    Q_INVOKABLE void setDistanceType(int type);
    Q_INVOKABLE void setFaultType(int type);
    Q_INVOKABLE void setCTPosition(int position);
    Q_INVOKABLE void setPTPosition(int position);
    Q_INVOKABLE void setDirection(int direction);
    Q_INVOKABLE void setFaultVoltage(double value);
    Q_INVOKABLE void setFaultCurrent(double value);
    Q_INVOKABLE void setLoadCurrent(double value);
    Q_INVOKABLE void setLoadAngle(double value);
    Q_INVOKABLE int getDistanceType() const;
    Q_INVOKABLE int getFaultType() const;
    Q_INVOKABLE int getCTPosition() const;
    Q_INVOKABLE int getPTPosition() const;
    Q_INVOKABLE int getDirection() const;
    Q_INVOKABLE double getFaultVoltage() const;
    Q_INVOKABLE double getFaultCurrent() const;
    Q_INVOKABLE double getLoadCurrent() const;
    Q_INVOKABLE double getLoadAngle() const;

    // Fault (short-circuit) impedance, polar or rectangular; a rectangular
    // edit keeps the other part and recomputes magnitude and angle.
    Q_INVOKABLE void setShortRange(double value);
    Q_INVOKABLE void setShortAngle(double value);
    Q_INVOKABLE void setShortReal(double value);
    Q_INVOKABLE void setShortImage(double value);
    Q_INVOKABLE double getShortRange() const;
    Q_INVOKABLE double getShortAngle() const;
    Q_INVOKABLE double getShortReal() const;
    Q_INVOKABLE double getShortImage() const;

    // Earth-return factor of the line. A form change (BaseDataRepairFactor::
    // RepairType) converts the stored factor at the fault impedance's angle,
    // the angle the calculation converts it at.
    Q_INVOKABLE void setShortFactorType(int type);
    Q_INVOKABLE void setShortFactorRange(double value);
    Q_INVOKABLE void setShortFactorAngle(double value);
    Q_INVOKABLE int getShortFactorType() const;
    Q_INVOKABLE double getShortFactorRange() const;
    Q_INVOKABLE double getShortFactorAngle() const;

    // Auxiliary voltage UX: its definition (BaseModelUXDefine::DefineType) and
    // the custom phasor.
    Q_INVOKABLE void setUXDefineType(int type);
    Q_INVOKABLE void setUXDefineRange(double value);
    Q_INVOKABLE void setUXDefineAngle(double value);
    Q_INVOKABLE int getUXDefineType() const;
    Q_INVOKABLE double getUXDefineRange() const;
    Q_INVOKABLE double getUXDefineAngle() const;

    // volPhasesType of the test configuration (PhasesType).
    Q_INVOKABLE int getVoltagePhasesType() const;

    // For the pages' doComputerDistance(): BaseModelDataDistance::compute of
    // the fault state with the shared settings. On failure (false) fault is
    // left as it was. The outcome is kept for the getters below.
    static bool computeFault(BaseDataPhaseValue* fault);
    // Whether the last computeFault() succeeded (true before any).
    Q_INVOKABLE bool getComputeResult() const;
    // Empty after a success; after a failure the text the page shows.
    Q_INVOKABLE QString getComputeMessage() const;
};
