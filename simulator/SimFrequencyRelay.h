#pragma once

// An under-frequency load-shedding relay: operates when the frequency of
// its voltage channel has stayed below pickupHz, unblocked, for the delay
// (the element's rules are in SimLoadShedding.h). A frequency ramp from f0
// at r Hz/s down through pickupHz trips it (f0 - pickupHz) / r + delay after
// the ramp starts.

#include "SimLoadShedding.h"

#include <string>
#include <vector>

namespace zorsim {

struct RelayModelEntry;

struct FrequencyRelaySettings
{
    int channel = 0;          // UA
    double pickupHz = 49.0;   // picks up below
    double delaySeconds = 0.2;
    double minimumVolts = 10.0;          // no frequency measured below this amplitude
    double dfdtBlockHzPerSecond = 0.0;   // 0: no df/dt block
    double dfdtResetHz = 0.0;            // df/dt block latched until f >= this (0: pickupHz)
    std::vector<int> voltageChannels = {0, 1, 2};
    double underVoltageBlockVolts = 0.0;   // 0: no under-voltage block
    std::vector<int> currentChannels = {4, 5, 6};
    double lowCurrentBlockAmps = 0.0;   // 0: no low-current block
    int binaryInput = 0;
};

class FrequencyRelay : public LoadSheddingRelay
{
public:
    explicit FrequencyRelay(const FrequencyRelaySettings& settings);

    std::string name() const override { return "under-frequency relay"; }
    const FrequencyRelaySettings& settings() const { return config; }

private:
    FrequencyRelaySettings config;
};

// Its entry in the relay model registry (SimRelayRegistry.h).
RelayModelEntry frequencyRelayModel();

}   // namespace zorsim
