#pragma once

// A definite-time threshold relay: picks up when component 0 of one channel
// has been at or above the pick-up value for the pick-up delay, drops off at
// once when it falls below pick-up x drop-off ratio. Its contact closes one
// binary input while picked up.

#include "SimDut.h"

#include <cstdint>
#include <vector>

namespace zorsim {

struct ThresholdRelaySettings
{
    int channel = 4;                   // 0..7: UA UB UC UX IA IB IC IX
    double pickup = 1.0;               // V or A (RMS, or the DC value)
    double pickupDelaySeconds = 0.0;
    double dropoffRatio = 0.95;        // drops off below pickup x ratio
    int binaryInput = 0;               // 0..3
};

class ThresholdRelay : public DutModel
{
public:
    explicit ThresholdRelay(const ThresholdRelaySettings& settings);

    std::string name() const override { return "threshold relay"; }
    void plugged(DutContext& context) override;
    void outputsChanged() override;
    void unplugged() override;

    const ThresholdRelaySettings& settings() const { return config; }
    bool pickedUp() const { return picked; }
    // Simulator times (ns) at which the contact closed / opened.
    const std::vector<int64_t>& pickupTimes() const { return pickups; }
    const std::vector<int64_t>& dropoffTimes() const { return dropoffs; }

private:
    void evaluate();
    void cancelAll();

    ThresholdRelaySettings config;
    DutContext* ctx = nullptr;
    bool picked = false;
    int64_t pendingSinceNs = -1;     // above pick-up since (delay running)
    uint64_t tripEvent = 0;
    uint64_t watchEvent = 0;
    std::vector<int64_t> pickups;
    std::vector<int64_t> dropoffs;
};

} // namespace zorsim
