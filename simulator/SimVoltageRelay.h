#pragma once

// An under-voltage load-shedding relay: operates when the highest of its
// voltage channels has stayed below pickupVolts, unblocked, for the delay
// (the element's rules are in SimLoadShedding.h). An amplitude ramp from V0
// at r V/s down through pickupVolts trips it (V0 - pickupVolts) / r + delay
// after the ramp starts. Its blocks are those of load-shedding relays: a
// fast fall (dv/dt), a collapsed voltage (under-voltage block, below the
// pick-up value) and a lightly loaded feeder (low current).

#include "SimLoadShedding.h"

#include <string>
#include <vector>

namespace zorsim {

struct RelayModelEntry;

struct VoltageRelaySettings
{
    std::vector<int> channels = {0, 1, 2};   // UA UB UC
    double pickupVolts = 80.0;               // picks up below
    double delaySeconds = 0.2;
    double dvdtBlockVoltsPerSecond = 0.0;   // 0: no dv/dt block
    double dvdtResetVolts = 0.0;            // dv/dt block latched until V >= this (0: pickupVolts)
    double underVoltageBlockVolts = 0.0;    // 0: no block; blocked while every channel is below
    std::vector<int> currentChannels = {4, 5, 6};
    double lowCurrentBlockAmps = 0.0;   // 0: no low-current block
    int binaryInput = 0;
};

class VoltageRelay : public LoadSheddingRelay
{
public:
    explicit VoltageRelay(const VoltageRelaySettings& settings);

    std::string name() const override { return "under-voltage relay"; }
    const VoltageRelaySettings& settings() const { return config; }

private:
    VoltageRelaySettings config;
};

// Its entry in the relay model registry (SimRelayRegistry.h).
RelayModelEntry voltageRelayModel();

}   // namespace zorsim
