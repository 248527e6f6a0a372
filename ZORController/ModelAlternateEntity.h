#pragma once

// Engine side of the AC test: eight channels (UA UB UC UX IA IB IC IX) with
// amplitude, angle and frequency, either held until a stop or trip, or an
// automatic ramp of one item of one channel group, one step per state. Fills
// the driver's output and control records state by state and records the
// binary-input trips. Fields, locking and start checks: ModelActionRampEntity.

#include "ModelActionRampEntity.h"

class ModelAlternateEntity : public ModelActionRampEntity
{
public:
    ModelAlternateEntity();

    void updateToDriverValue();
    // Largest current amplitude (channels IA..IX) of the state being output.
    double maxOutputCurrent() const;
};
