#pragma once

#include "BaseDataPhaseValue.h"

#include <QtGlobal>

// The output state of one overcurrent test point: from the rated voltage and
// frequency, the load, the fault current and angle, the fault voltages and
// the fault kind, eight phasors in port order UA, UB, UC, UX, IA, IB, IC, IX,
// every one at rateFrequency. Voltages in V, currents in A, angles in
// degrees. A plain value; GUI thread, no I/O.
class BaseModelDataOvercurrent : public BaseModelPorts
{
public:
    // 32-bit enums: values outside the lists are held as they are.
    enum FaultType : qint32 {
        FAULT_TYPE_A_E = 0,
        FAULT_TYPE_B_E = 1,
        FAULT_TYPE_C_E = 2,
        FAULT_TYPE_A_B = 3,
        FAULT_TYPE_B_C = 4,
        FAULT_TYPE_C_A = 5,
        FAULT_TYPE_A_B_C = 6,
        FAULT_TYPE_2I = 7,  // negative-sequence current
        FAULT_TYPE_3I0 = 8, // zero-sequence current
        FAULT_TYPE_A = 9,   // single-phase current returning through the other two
        FAULT_TYPE_B = 10,
        FAULT_TYPE_C = 11,
    };

    // Fills the eight phasors of the fault state. A kind outside the list
    // leaves the balanced load state. Without faultVPEnable UA, UB and UC
    // are 0; then IA, IB and IC are cut to maxCurrent in magnitude (so the
    // caller must set it: 0 cuts them to 0). Null: nothing is written.
    void compute(BaseDataPhaseValue* fault) const;
    // As above, after filling prefault with the balanced load state.
    void compute(BaseDataPhaseValue* prefault, BaseDataPhaseValue* fault) const;
    // The phasors the fault asks for: as compute, without the cut to
    // maxCurrent.
    void computeDemand(BaseDataPhaseValue* fault) const;

    double maxCurrent = 0.0;    // limit of |IA|, |IB|, |IC|
    double rateVoltage = 0.0;   // phase-earth voltage of the healthy phases
    double rateFrequency = 0.0; // of every phasor
    double loadCurrent = 0.0;
    // Load currents lag their voltages by it; the sequence kinds (2I, 3I0)
    // take the positive-sequence load at +loadAngle.
    double loadAngle = 0.0;
    double faultCurrent = 0.0;
    double faultAngle = -60.0;  // relative to the faulted voltage
    double faultVPNRange = 0.0; // phase-earth voltage of the faulted phases
    double faultVPPRange = 0.0; // line voltage of the faulted pair
    bool faultVPEnable = false;
    FaultType faultKind = FAULT_TYPE_A_E;

private:
    void loadState(BaseDataPhaseValue* state) const;
};
