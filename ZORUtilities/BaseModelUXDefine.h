#pragma once

#include "BaseDataPhaseValue.h"

// Definition of the auxiliary voltage UX: a custom phasor, a multiple of the
// zero-sequence voltage of either polarity, a phase or a line voltage,
// optionally turned by the angle of a reference voltage.
class BaseModelUXDefine
{
public:
    enum DefineType {
        Custom = 0,
        PU0 = 1,     // +U0
        NU0 = 2,     // -U0
        PG3U0 = 3,   // +sqrt3 U0
        NG3U0 = 4,   // -sqrt3 U0
        P3U0 = 5,    // +3U0
        N3U0 = 6,    // -3U0
        P3G3U0 = 7,  // +sqrt3 3U0
        N3G3U0 = 8,  // -sqrt3 3U0
        CNVA = 9,
        CNVB = 10,
        CNVC = 11,
        CNVAB = 12,
        CNVBC = 13,
        CNVCA = 14,
    };

    enum ReferenceType {
        None = 0,
        UA = 1,
        UB = 2,
        UC = 3,
        UAB = 4,
        UBC = 5,
        UCA = 6,
    };

    BaseModelUXDefine() = default;
    BaseModelUXDefine(const BaseModelUXDefine&) = default;
    BaseModelUXDefine& operator=(const BaseModelUXDefine&) = default;
    virtual ~BaseModelUXDefine() = default;

    void setValue(const BaseModelUXDefine& src);

    // UX from the three phase voltages, with UA's frequency, normalised.
    // For Custom the result is a copy of UA and CustomPhase keeps the user's
    // value; for every other definition the result is also stored in
    // CustomPhase. setCustomPhase does not change the outcome.
    BaseDataPhaseValue compute(BaseDataPhaseValue phaseUA, BaseDataPhaseValue phaseUB,
                               BaseDataPhaseValue phaseUC, bool setCustomPhase);
    // fault points to the outputs in port order UA, UB, UC, UX; UX is set.
    void compute(BaseDataPhaseValue* fault, bool setCustomPhase);

    DefineType Define = Custom;
    ReferenceType Reference = None;
    BaseDataPhaseValue CustomPhase;
};
