#pragma once

// A definite-time threshold relay: picks up when component 0 of one channel
// has been at or above the pick-up value for the pick-up delay, drops off at
// once when it falls below pick-up x drop-off ratio. Its contact closes one
// binary input while picked up. It is the timed relay without a drop-off
// delay.

#include "SimTimedRelay.h"

namespace zorsim {

struct ThresholdRelaySettings
{
    int channel = 4;       // 0..7: UA UB UC UX IA IB IC IX
    double pickup = 1.0;   // V or A (RMS, or the DC value)
    double pickupDelaySeconds = 0.0;
    double dropoffRatio = 0.95;   // drops off below pickup x ratio
    int binaryInput = 0;          // 0..3
};

class ThresholdRelay : public TimedRelay
{
public:
    explicit ThresholdRelay(const ThresholdRelaySettings& settings);

    std::string name() const override { return "threshold relay"; }
};

// Its entry in the relay model registry (SimRelayRegistry.h).
RelayModelEntry thresholdRelayModel();

}   // namespace zorsim
