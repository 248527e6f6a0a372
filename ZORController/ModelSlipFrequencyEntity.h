#pragma once

// Engine side of the under-frequency load-shedding test: up to 8 test
// points (ModelLoadSheddingEntity), the fault page sliding the voltages in
// frequency from a start to a stop frequency at a set df/dt. Besides the
// shared searches a point may search the under-voltage blocking level.

#include "ModelLoadSheddingEntity.h"

struct ModelSlipFrequencyItems {
    enum TestItemType {
        ITEM_ACTION_FREQUENCY = 0,   // trip frequency
        ITEM_ACTION_TIME = 1,        // trip time
        ITEM_FREQUENCY_SLIP = 2,     // df/dt blocking
        ITEM_LOW_I_LOCK = 3,         // low-current blocking
        ITEM_V_LOCK = 4              // under-voltage blocking
    };
};

class ModelSlipFrequencyEntity
    : public ModelLoadSheddingEntity<ModelSlipFrequencyEntity, ModelSlipFrequencyItems, 8>
{
public:
    double initFrequencyVal[kMaxPoints] = {};   // start frequency of the slide
    double finalFrequencyVal[kMaxPoints] = {};  // stop frequency of the slide
    double clkFrequencyVal[kMaxPoints] = {};    // filled by the view model; not read here
    float dfdtStopValue = 0.0f;
    float dfdtSlipValue = 0.0f;
    float voltageVariable = 0.0f;

    void updateToDriverValue();
    bool switchToFaultStateNextStep();
    // False when the run must not start: pointCnt outside 1..kMaxPoints, an
    // unknown item, more than kMaxStateCount states, a non-finite value that
    // reaches the output, or a slide rate that is not positive (a fault page
    // would never end).
    bool checkOutputValues() const;
};
