#pragma once

#include "BaseDataPhaseValue.h"
#include "BaseDataRepairFactor.h"
#include "BaseDataVector.h"
#include "BaseModelUXDefine.h"

#include <QtGlobal>

#include <atomic>
#include <limits>

// Fault quantities for testing a distance relay: from a fault loop, the fault
// impedance, the earth-return factors, the direction, the CT and PT side and
// the quantity held constant, the pre-fault, fault and post-fault output
// states, each eight phasors in port order UA, UB, UC, UX, IA, IB, IC, IX.
//
// One process-wide instance (getInstance) holds the settings shared by the
// AC, state-sequence and distance pages and the impedance calculator; other
// instances can be built for private use. Settings are plain public fields;
// a calculation also leaves marks in the object (setting and source impedance
// copied from the fault impedance, factor angles, the derived UX).
//
// A calculation fails (false, every state left as it was) when the loop it
// has to divide by vanishes or is not finite, e.g. a constant-voltage fault
// on a zero loop impedance, or a constant-source-impedance fault whose source
// cancels the fault impedance (reverse direction, source equal to the fault
// impedance). GUI thread only; nothing is locked.
class BaseModelDataDistance : public BaseModelPorts
{
public:
    // 32-bit enums: values outside the lists are held as they are (and
    // calculated as documented) rather than being undefined.
    enum FaultType : qint32 {
        FAULT_TYPE_A_E = 0,
        FAULT_TYPE_B_E = 1,
        FAULT_TYPE_C_E = 2,
        FAULT_TYPE_A_B = 3,
        FAULT_TYPE_B_C = 4,
        FAULT_TYPE_C_A = 5,
        FAULT_TYPE_A_B_E = 6,
        FAULT_TYPE_B_C_E = 7,
        FAULT_TYPE_C_A_E = 8,
        FAULT_TYPE_A_B_C = 9,
    };

    enum DirectionType : qint32 {
        DIRECTION_TYPE_POSITIVE = 0,
        DIRECTION_TYPE_NEGATIVE = 1,
    };

    // What the calculation holds constant.
    enum DistanceType : qint32 {
        DISTANCE_TYPE_ICONSTANT = 0, // fault current
        DISTANCE_TYPE_VCONSTANT = 1, // fault voltage
        DISTANCE_TYPE_ZCONSTANT = 2, // source impedance and rated source voltage
    };

    enum CTPositionType : qint32 {
        CT_POSITION_TYPE_BUS = 0, // fault currents turned by 180 degrees
        CT_POSITION_TYPE_LINE = 1,
    };

    enum PTPositionType : qint32 {
        PT_POSITION_TYPE_BUS = 0,  // post-fault voltages at rated value
        PT_POSITION_TYPE_LINE = 1, // post-fault voltages 0
    };

    BaseModelDataDistance();
    BaseModelDataDistance(const BaseModelDataDistance& src);
    BaseModelDataDistance& operator=(const BaseModelDataDistance& src);
    virtual ~BaseModelDataDistance();

    // The shared instance, built with the defaults on first use, never destroyed.
    static BaseModelDataDistance* getInstance();

    // Copies every setting of src.
    void setValue(const BaseModelDataDistance& src);

    // The device's rating in one call, wherever the configuration is applied:
    // rated phase voltage (V), rated frequency (Hz) and the largest voltage
    // (V) and current (A) of one output channel. The current limit bounds the
    // constant-voltage and constant-impedance faults (and replaces their
    // absurd results); both limits scale three-phase faults down. A limit
    // that is not a positive finite number means no limit (the largest double).
    void setDeviceRating(double rateV, double rateF, double maxV, double maxI);

    // Fill the fault state (and the pre- and post-fault states when given);
    // the fault state's UX is then derived from uxDefine. IX is never written.
    // False when the fault cannot be calculated (see the class comment) or
    // fault is null; nothing is written then.
    bool compute(BaseDataPhaseValue* fault);
    bool compute(BaseDataPhaseValue* pre, BaseDataPhaseValue* fault);
    bool compute(BaseDataPhaseValue* pre, BaseDataPhaseValue* fault, BaseDataPhaseValue* post);

    // The calculation frame: pre-fault load state, the solver of faultKind,
    // post-fault state. An unknown faultKind leaves the fault state as
    // given. On failure no state is written.
    static bool faultFromDistance(BaseModelDataDistance& model, BaseDataPhaseValue* pre,
                                  BaseDataPhaseValue* fault, BaseDataPhaseValue* post);

    // The solvers of the four loop families (phase-earth, phase-phase,
    // two-phase-earth, three-phase). Each fills UA..UC and IA..IC of fault
    // for its own fault kinds and returns true without touching anything for
    // the other kinds; false (fault untouched) when the loop cannot be solved.
    static bool faultFromDistancePE(BaseModelDataDistance& model, BaseDataPhaseValue* fault);
    static bool faultFromDistancePP(BaseModelDataDistance& model, BaseDataPhaseValue* fault);
    static bool faultFromDistancePPE(BaseModelDataDistance& model, BaseDataPhaseValue* fault);
    static bool faultFromDistancePPP(BaseModelDataDistance& model, BaseDataPhaseValue* fault);

    DistanceType distanceKind = DISTANCE_TYPE_ICONSTANT;
    FaultType faultKind = FAULT_TYPE_A_E;
    DirectionType faultDirection = DIRECTION_TYPE_NEGATIVE;
    CTPositionType ctPosition = CT_POSITION_TYPE_BUS;
    PTPositionType ptPosition = PT_POSITION_TYPE_BUS;
    bool calcPerlXexlEnable = false;
    // Phase-earth loops: the resistive part of the fault impedance is not
    // multiplied by the earth factor.
    bool separateArcResistance = false;
    double limitCurrentRange = std::numeric_limits<double>::max(); // A
    double limitVoltageRange = std::numeric_limits<double>::max(); // V
    double faultCurrentRange = 0.0; // A, constant-current model
    double faultVoltageRange = 0.0; // V, constant-voltage model
    double rateVoltage = 57.735;    // V, phase to neutral
    double rateFrequency = 50.0;    // Hz
    double loadCurrent = 0.0;       // A, pre-fault load
    double loadAngle = 0.0;         // degrees, currents lag the voltages by it
    BaseDataVector settingImpedance{0.0, 75.0};
    BaseDataVector systemImpedance{0.0, 75.0}; // source of the constant-impedance model
    BaseDataVector shortImpedance{0.0, 75.0};  // fault impedance
    BaseDataRepairFactor systemFactor; // earth-return factor of the source
    BaseDataRepairFactor shortFactor;  // earth-return factor of the line
    BaseModelUXDefine uxDefine;

private:
    static std::atomic<BaseModelDataDistance*> instance;
};
