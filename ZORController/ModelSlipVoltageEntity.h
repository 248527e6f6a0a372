#pragma once

// Engine side of the under-voltage load-shedding test: up to 32 test points
// (ModelLoadSheddingEntity), the fault page sliding UA, UB and UC in amplitude
// from a start to a stop voltage at a set dv/dt.

#include "ModelLoadSheddingEntity.h"

struct ModelSlipVoltageItems {
    enum TestItemType {
        ITEM_ACTION_VOLTAGE = 0,     // trip voltage
        ITEM_ACTION_TIME = 1,        // trip time
        ITEM_VOLTAGE_SLIP = 2,       // dv/dt blocking
        ITEM_LOW_I_LOCK = 3          // low-current blocking
    };
};

class ModelSlipVoltageEntity : public ModelLoadSheddingEntity<ModelSlipVoltageEntity, ModelSlipVoltageItems, 32>
{
public:
    double initVoltageVal[kMaxPoints] = {};     // start voltage of the slide
    double finalVoltageVal[kMaxPoints] = {};    // stop voltage of the slide
    double clkVoltageVal[kMaxPoints] = {};      // filled by the view model; not read here
    float drdtStopValue = 0.0f;
    float drdtSlipValue = 0.0f;

    void updateToDriverValue();
    bool switchToFaultStateNextStep();
    // False when the run must not start: pointCnt outside 1..kMaxPoints, an
    // unknown item, more than kMaxStateCount states, a non-finite value that
    // reaches the output, or a slide rate that is not positive (a fault page
    // would never end).
    bool checkOutputValues() const;
};
