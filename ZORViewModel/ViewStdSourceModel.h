#pragma once

// The view model of the standard power source ("ZOR.ViewStdSourceModel" 1.0,
// module folder "StdSource"): the instrument as a source of defined single-
// or three-phase active or reactive power for a meter with one, two or three
// measuring elements. From the wiring mode, the power factor (or the power
// angle) and its sense, one voltage, one current, a frequency and the element
// selection it derives the six phasors UA UB UC IA IB IC, the active and
// reactive power of every element, the totals and the entry limits of the
// power fields.
//
// The entity is the engine's ModelStdSourceEntity (dataStdSource). Factor,
// sense, angle, voltage, current and power edits go into it at once and,
// while a test runs, switch the output; frequency, mode and element edits
// reach it with the next push. A stop leaves the settings as edited. No
// binary inputs, binary outputs, verdict or results.
//
// Element powers are those a meter wired by the mode reads: modes 0, 1 and 4
// per phase (Uk, Ik); modes 2, 3, 5 and 6 the two-wattmeter connection
// (Uab, Ia), (Ucb, Ic); modes 7 and 8 the 90 degree cross connection
// (Ubc, Ia), (Uca, Ib), (Uab, Ic), where the element reading is shown as the
// active power and the reactive power is the reading / sqrt(3) (mode 7) or
// sqrt(3)/2 x the reading (mode 8). An element whose current the selection
// switches off reads 0. The sense of a reactive mode is counted from the 90
// degree axis.
//
// Parameter file body and report tables: ViewStdSourceModelFile.cpp.

#include "ViewSourceTestModel.h"

class ViewStdSourceModel : public ViewSourceTestModel
{
    Q_OBJECT

public:
    enum WorkMode
    {
        WORK_MODE_SINGLE_ACTIVE_POWER = 0,
        WORK_MODE_3P4W_Y_ACTIVE_POWER = 1,
        WORK_MODE_3P3W_V_ACTIVE_POWER = 2,
        WORK_MODE_3P3W_TRIANGLE_ACTIVE_POWER = 3,
        WORK_MODE_3P4W_Y_REACTIVE_POWER = 4,
        WORK_MODE_3P3W_V_REACTIVE_POWER = 5,
        WORK_MODE_3P3W_TRIANGLE_REACTIVE_POWER = 6,
        WORK_MODE_3COM_90_DEGREE_REACTIVE_POWER = 7,
        WORK_MODE_2COM_90_DEGREE_REACTIVE_POWER = 8,
    };
    Q_ENUM(WorkMode)

    enum ComponentSelect
    {
        COMPONENT_SELECT_ALL = 0,
        COMPONENT_SELECT_A = 1,
        COMPONENT_SELECT_B = 2,
        COMPONENT_SELECT_C = 3,
    };
    Q_ENUM(ComponentSelect)

    enum SinglePortType
    {
        SINGLE_PORT_UA = 0,
        SINGLE_PORT_UB = 1,
        SINGLE_PORT_UC = 2,
        SINGLE_PORT_IA = 3,
        SINGLE_PORT_IB = 4,
        SINGLE_PORT_IC = 5,
    };
    Q_ENUM(SinglePortType)

    enum PowerFactorType
    {
        POWER_FACTOR_TYPE_INDUCTIVE = 0,
        POWER_FACTOR_TYPE_CAPACITIVE = 1,
        POWER_FACTOR_TYPE_NONE = 2,
    };
    Q_ENUM(PowerFactorType)

    explicit ViewStdSourceModel(QObject* parent = nullptr);
    ~ViewStdSourceModel() override;

    // Recomputes every derived value from the settings.
    Q_INVOKABLE void updateSetting();

    // ---- Settings ------------------------------------------------------------------------
    // Each setter does nothing for a value equal to the stored one or outside
    // what the setting takes (an enumeration value it does not have, a NaN).
    // A new mode resets the selection to all elements; no push.
    Q_INVOKABLE void setWorkMode(WorkMode mode);
    Q_INVOKABLE int getWorkMode() const;
    // Taken within -1..1 (the nearer limit); +-1 makes the sense NONE, a
    // factor off +-1 turns NONE into INDUCTIVE; pushed.
    Q_INVOKABLE void setPowerFactor(double factor);
    Q_INVOKABLE double getPowerFactor() const;
    Q_INVOKABLE void setFactorType(PowerFactorType type);
    Q_INVOKABLE int getFactorType() const;
    // The power angle in degrees (folded into 0..360 first) sets the factor
    // and the sense; pushed.
    Q_INVOKABLE void setPowerPhase(double phase);
    Q_INVOKABLE double getPowerPhase() const;
    // Stored only: reaches the output with the next push.
    Q_INVOKABLE void setSrcFrequency(double frequency);
    Q_INVOKABLE double getSrcFrequency() const;
    // B in a two-element mode is stored as C; the getter gives C as 2 there
    // (the page's third entry). No push.
    Q_INVOKABLE void setComponentSel(ComponentSelect select);
    Q_INVOKABLE int getComponentSel() const;
    Q_INVOKABLE void setSrcVoltageAmp(double voltage);
    Q_INVOKABLE double getSrcVoltageAmp() const;
    Q_INVOKABLE void setSrcCurrentAmp(double current);
    Q_INVOKABLE double getSrcCurrentAmp() const;
    // A total sets the current: the total the present settings give at 1 A,
    // scaled. Current 0 when that total is 0; the current as it was when the
    // sign cannot be given; the device's largest current when more is asked.
    // The totals shown are then those of the current set; pushed.
    Q_INVOKABLE void setActivePower(double power);
    Q_INVOKABLE double getActivePower() const;
    Q_INVOKABLE void setReactivePower(double power);
    Q_INVOKABLE double getReactivePower() const;
    Q_INVOKABLE double getApprentPower() const;

    // ---- Outputs ----------------------------------------------------------------------------
    // Port outside 0..5: 0. In modes 3 and 6 the voltages are shown as the
    // line voltage at 0, 0 and 60 degrees (U/sqrt(3) at 330, 210, 90 is sent).
    Q_INVOKABLE double getOutputRange(SinglePortType port) const;
    Q_INVOKABLE double getOutputPhase(SinglePortType port) const;
    // UA, UB, UC: active power of elements A, B, C; IA, IB, IC: their reactive power.
    Q_INVOKABLE double getOutputPower(SinglePortType port) const;

    // -1 while a test of this module runs, 0 otherwise.
    Q_INVOKABLE int getTestState() const;
    Q_INVOKABLE double getMaxActivePower() const;
    Q_INVOKABLE double getMinActivePower() const;
    Q_INVOKABLE double getMaxReactivePower() const;
    Q_INVOKABLE double getMinReactivePower() const;

    // The selection as the report names it.
    QString getComponentSelStr() const;

    // ---- Reports and file (ViewStdSourceModelFile.cpp) --------------------------------------
    void appendTestSetting(QDomDocument* doc, QDomElement* parent) override;
    void appendTestResult(QDomDocument* doc, QDomElement* parent) override;

protected:
    // The six phasors and element powers of the settings at one current.
    struct Outputs
    {
        double radian = 0.0;   // power angle
        double range[6] = {};
        double phaseRadian[6] = {};
        double power[6] = {};
        double activeTotal() const { return power[0] + power[1] + power[2]; }
        double reactiveTotal() const { return power[3] + power[4] + power[5]; }
    };
    Outputs compute(double current) const;

    // What the setters (and the parameter file) accept: the value to store
    // for `value`, or `current` when the value is not taken.
    static int acceptedWorkMode(int value, int current);
    static int acceptedFactorType(int value, int current);
    static int acceptedComponent(int value, int current, int mode);
    static double acceptedPowerFactor(double value, double current);

    static bool isReactiveMode(int mode) { return mode >= WORK_MODE_3P4W_Y_REACTIVE_POWER; }
    static bool isThreeElementMode(int mode);

    static double modifyPhase(double degrees);
    static double angleToRadian(double degrees);
    static double radianToAngle(double radians);
    void updatePowerFactorByPhase(double degrees);
    void updatePowerLimit();
    // The current for a total of the active (or reactive) power.
    void solveCurrent(double total, bool active);
    // Settings into the entity; switched when a test runs.
    void push();

    void pushToEntity(DATAType type) override;
    void pullOutputs() override {}
    void pullResults() override {}
    void takeSnapshot() override {}
    void restoreSnapshot() override {}
    void swapSnapshot() override {}
    void beginResults() override;
    void settleResults() override;
    void serializeBody(bool save, QDomElement* element, QDomDocument* doc) override;

    WorkMode workMode;
    double powerFactor;
    PowerFactorType factorType;
    double powerPhase;
    double srcFrequency;
    ComponentSelect componentSel;
    double srcVoltageAmp;
    double srcCurrentAmp;
    double activePower;
    double reactivePower;
    double apprentPower;
    double outputRange[6];
    double outputRadian[6];
    double outputPhase[6];
    double outputPower[6];
    double powerRadian;
    double maxActivePower;
    double minActivePower;
    double maxReactivePower;
    double minReactivePower;
    qint32 testState;
};
