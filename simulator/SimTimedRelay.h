#pragma once

// A definite-time threshold relay with a drop-off time: picks up when
// component 0 of one channel has been at or above the pick-up value for the
// pick-up delay, and drops off when it has been below pick-up x drop-off
// ratio for the drop-off delay. Its contact closes one binary input while
// picked up, and leaves it open when unplugged. With both delays 0 it
// behaves as the threshold relay.

#include "SimDut.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace zorsim {

struct TimedRelaySettings
{
    int channel = 4;                   // 0..7: UA UB UC UX IA IB IC IX
    double pickup = 1.0;               // V or A (RMS, or the DC value)
    double pickupDelaySeconds = 0.0;
    double dropoffRatio = 0.95;        // drops off below pickup x ratio
    double dropoffDelaySeconds = 0.0;
    int binaryInput = 0;               // 0..3
};

class TimedRelay : public DutModel
{
public:
    explicit TimedRelay(const TimedRelaySettings& settings);

    std::string name() const override { return "timed relay"; }
    void plugged(DutContext& context) override;
    void outputsChanged() override;
    void unplugged() override;

    const TimedRelaySettings& settings() const { return config; }
    // Simulator times (ns) at which the contact closed / opened.
    std::vector<int64_t> pickupTimes() const;
    std::vector<int64_t> dropoffTimes() const;

private:
    void evaluate();
    void cancelAll();
    // Arms the one deadline at which the contact can change next.
    void schedule(int64_t atNs);

    TimedRelaySettings config;
    DutContext* ctx = nullptr;
    bool picked = false;
    int64_t conditionSinceNs = -1;   // the value has crossed (towards a change) since
    uint64_t event = 0;
    mutable std::mutex timesMutex;   // the times are read from other threads
    std::vector<int64_t> pickups;
    std::vector<int64_t> dropoffs;
};

} // namespace zorsim
