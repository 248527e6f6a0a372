#pragma once

// A second-harmonic relay: picks up when the second harmonic of one channel
// has been at or above a share of the channel's fundamental for the pick-up
// delay, and drops off at once when it falls below share x drop-off ratio.
// The second harmonic is the component played at twice the fundamental's
// frequency (an idle slot plays at 0 Hz and counts as none); a channel
// without it, or without a fundamental frequency, holds the relay off. Its
// contact closes one binary input while picked up.

#include "SimDutSupport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorsim {

struct RelayModelEntry;

struct HarmonicRelaySettings
{
    int channel = 4;                   // 0..7: UA UB UC UX IA IB IC IX
    double sharePercent = 15.0;        // second harmonic in percent of the fundamental
    double pickupDelaySeconds = 0.0;
    double dropoffRatio = 0.95;        // drops off below share x ratio (at most 1)
    int binaryInput = 0;               // 0..3
};

class HarmonicRelay : public DutBase
{
public:
    explicit HarmonicRelay(const HarmonicRelaySettings& settings);

    std::string name() const override { return "second-harmonic relay"; }

    const HarmonicRelaySettings& settings() const { return config; }
    bool pickedUp() const;
    // Simulator times (ns) at which the contact closed / opened.
    std::vector<int64_t> pickupTimes() const;
    std::vector<int64_t> dropoffTimes() const;

    // The second harmonic's amplitude of channel c at atNs (0 without one).
    static double secondHarmonic(const PlayedOutputs& out, int c, int64_t atNs);

protected:
    void evaluate(int64_t nowNs, const PlayedOutputs& out, Wake& wake) override;
    void disconnect(int64_t nowNs) override;

private:
    // Whether the second harmonic is at or above `share` of the fundamental
    // at now, and the next instant (after now) at which that turns while the
    // fundamental ramps.
    bool above(const PlayedOutputs& out, double share, int64_t now, std::optional<int64_t>& turn) const;

    HarmonicRelaySettings config;
    Contact contact;
    int64_t conditionSinceNs = -1;
};

// Its entry in the relay model registry (SimRelayRegistry.h).
RelayModelEntry harmonicRelayModel();

} // namespace zorsim
