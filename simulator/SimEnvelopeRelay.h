#pragma once

// An envelope relay: picks up when the envelope of one channel's AC
// components has been at or above the pick-up value for the pick-up delay,
// and drops off at once when it falls below pick-up x drop-off ratio. The
// envelope is the RMS magnitude of the sum of the components as phasors,
// each turning at its own frequency from its angle at the page start
// (|sum A_k e^{j(2 pi f_k s + phi_k)}|): a steady 50 Hz output with a 48 Hz
// swing beats between their difference and their sum at 2 Hz. DC components
// are left out; a component's amplitude and frequency are taken at the
// instant (a ramp is followed, its phase drift is not). Its contact closes
// one binary input while picked up.

#include "SimDutSupport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorsim {

struct RelayModelEntry;

struct EnvelopeRelaySettings
{
    int channel = 4;                   // 0..7: UA UB UC UX IA IB IC IX
    double pickup = 1.0;               // V or A (RMS)
    double pickupDelaySeconds = 0.0;
    double dropoffRatio = 0.95;        // drops off below pickup x ratio (at most 1)
    int binaryInput = 0;               // 0..3
};

class EnvelopeRelay : public DutBase
{
public:
    explicit EnvelopeRelay(const EnvelopeRelaySettings& settings);

    std::string name() const override { return "envelope relay"; }

    const EnvelopeRelaySettings& settings() const { return config; }
    bool pickedUp() const;
    // Simulator times (ns) at which the contact closed / opened.
    std::vector<int64_t> pickupTimes() const;
    std::vector<int64_t> dropoffTimes() const;

    // The envelope of channel c at atNs (0 when the channel is not live).
    static double envelope(const PlayedOutputs& out, int c, int64_t atNs);
    // The first instant after fromNs at which the envelope is at least
    // (atLeast) or below the threshold, if it turns so within the scan.
    static std::optional<int64_t> nextTurn(const PlayedOutputs& out, int c, double threshold, bool atLeast,
                                           int64_t fromNs);

protected:
    void evaluate(int64_t nowNs, const PlayedOutputs& out, Wake& wake) override;
    void disconnect(int64_t nowNs) override;

private:
    EnvelopeRelaySettings config;
    Contact contact;
    int64_t conditionSinceNs = -1;
};

// Its entry in the relay model registry (SimRelayRegistry.h).
RelayModelEntry envelopeRelayModel();

} // namespace zorsim
