#pragma once

// A definite-time threshold relay with a drop-off time: picks up when
// component 0 of one channel has been at or above the pick-up value for the
// pick-up delay, and drops off when it has been below pick-up x drop-off
// ratio for the drop-off delay (a dip or a return that ends before its delay
// restarts that delay). Its contact closes one binary input while picked up,
// and leaves it open when the relay is unplugged. The threshold relay is
// this relay with no drop-off delay (SimThresholdRelay.h).

#include "SimDutSupport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorsim {

struct RelayModelEntry;

struct TimedRelaySettings
{
    int channel = 4;       // 0..7: UA UB UC UX IA IB IC IX
    double pickup = 1.0;   // V or A (RMS, or the DC value)
    double pickupDelaySeconds = 0.0;
    double dropoffRatio = 0.95;   // drops off below pickup x ratio (at most 1)
    double dropoffDelaySeconds = 0.0;
    int binaryInput = 0;   // 0..3
};

class TimedRelay : public DutBase
{
public:
    explicit TimedRelay(const TimedRelaySettings& settings);

    std::string name() const override { return "timed relay"; }

    const TimedRelaySettings& settings() const { return config; }
    bool pickedUp() const;
    // Simulator times (ns) at which the contact closed / opened.
    std::vector<int64_t> pickupTimes() const;
    std::vector<int64_t> dropoffTimes() const;

protected:
    void evaluate(int64_t nowNs, const PlayedOutputs& out, Wake& wake) override;
    void disconnect(int64_t nowNs) override;

private:
    TimedRelaySettings config;
    Contact contact;
    int64_t conditionSinceNs = -1;   // the value has crossed (towards a change) since
};

// Its entry in the relay model registry (SimRelayRegistry.h).
RelayModelEntry timedRelayModel();

}   // namespace zorsim
