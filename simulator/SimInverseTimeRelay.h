#pragma once

// An inverse-time overcurrent relay with an optional instantaneous stage,
// watching component 0 (the fundamental) of its current channels, each phase
// timing on its own; the trip contact closes when any stage of any phase
// operates.
//
// Inverse-time stage: with M = I / pickupAmps, the operate time at a steady
// current is t(M) = (a x TMS + k1) / (M^p - q) + b x TMS + k2 (IEC curves
// have b = k1 = k2 = 0, q = 1; IEEE curves add b). A phase times while
// I >= pickupAmps x startRatio and t(M) is finite and positive: its progress
// grows at 1 / t(M(s)) per second (integrated exactly through current changes
// between pages and along ramps) and the stage operates when it reaches 1.
// It resets to 0 at once when the current falls below the start level.
// Instantaneous stage (instantaneousAmps > 0): operates when a phase has
// been at or above instantaneousAmps for instantaneousDelaySeconds.
// Reset: once tripped, the contact opens (and every timer restarts from 0)
// when all phases are below dropoffRatio x pickupAmps x startRatio, or the
// output stops.

#include "SimDutSupport.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zorsim {

struct RelayModelEntry;

// Curve constants of t(M) above.
struct InverseCurve
{
    double a = 0.14;
    double b = 0.0;
    double p = 0.02;
    double q = 1.0;
    double k1 = 0.0;
    double k2 = 0.0;

    // Operate time in s at a steady multiple m of the pickup (may be <= 0 or
    // not finite where the curve does not operate).
    double operateTime(double m, double tms) const;

    static InverseCurve iecStandardInverse() { return {0.14, 0.0, 0.02, 1.0, 0.0, 0.0}; }
    static InverseCurve iecVeryInverse() { return {13.5, 0.0, 1.0, 1.0, 0.0, 0.0}; }
    static InverseCurve iecExtremelyInverse() { return {80.0, 0.0, 2.0, 1.0, 0.0, 0.0}; }
    static InverseCurve iecLongTimeInverse() { return {120.0, 0.0, 1.0, 1.0, 0.0, 0.0}; }
    static InverseCurve ieeeModeratelyInverse() { return {0.0515, 0.114, 0.02, 1.0, 0.0, 0.0}; }
    static InverseCurve ieeeVeryInverse() { return {19.61, 0.491, 2.0, 1.0, 0.0, 0.0}; }
    static InverseCurve ieeeExtremelyInverse() { return {28.2, 0.1217, 2.0, 1.0, 0.0, 0.0}; }
    // t = TMS at every current above the start level.
    static InverseCurve definiteTime() { return {0.0, 1.0, 1.0, 0.0, 0.0, 0.0}; }
};

struct InverseTimeRelaySettings
{
    std::vector<int> channels = {4, 5, 6};   // IA IB IC
    double pickupAmps = 1.0;                 // Is
    double tms = 1.0;                        // time multiplier / time dial
    InverseCurve curve = InverseCurve::iecStandardInverse();
    double startRatio = 1.0;          // timing starts at Is x startRatio
    double instantaneousAmps = 0.0;   // 0: no instantaneous stage
    double instantaneousDelaySeconds = 0.0;
    double dropoffRatio = 0.95;
    int binaryInput = 0;   // 0..3
};

enum class OvercurrentStage {
    InverseTime,
    Instantaneous
};

struct OvercurrentTrip
{
    int64_t timeNs = 0;
    int channel = 0;
    OvercurrentStage stage = OvercurrentStage::InverseTime;
};

class InverseTimeRelay : public DutBase
{
public:
    explicit InverseTimeRelay(InverseTimeRelaySettings settings);

    std::string name() const override { return "inverse-time overcurrent relay"; }

    const InverseTimeRelaySettings& settings() const { return config; }
    bool tripped() const;
    std::vector<OvercurrentTrip> trips() const;
    // Simulator times (ns) at which the contact opened again.
    std::vector<int64_t> resetTimes() const;
    // Inverse-time progress of the phase on channel c (0..1) as of the last
    // evaluation (a page change or the relay's own deadline).
    double progress(int channel) const;

protected:
    void evaluate(int64_t nowNs, const PlayedOutputs& out, Wake& wake) override;
    void disconnect(int64_t nowNs) override;

private:
    struct Phase
    {
        int channel = 0;
        bool timing = false;   // inverse stage running since the last evaluation
        double progress = 0.0;
        int64_t plannedTripNs = -1;
        int64_t instantSinceNs = -1;
    };

    double rateAt(double amps) const;
    void trip(int64_t nowNs, const Phase& phase, OvercurrentStage stage);
    void resetTimers();

    InverseTimeRelaySettings config;
    Contact contact;
    std::vector<Phase> phases;
    std::vector<OvercurrentTrip> tripLog;
    PlayedOutputs seen;   // the outputs played since lastNs
    int64_t lastNs = 0;
    bool haveSeen = false;
};

// Its entry in the relay model registry (SimRelayRegistry.h).
RelayModelEntry inverseTimeRelayModel();

}   // namespace zorsim
