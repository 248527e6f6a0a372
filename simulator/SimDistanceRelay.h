#pragma once

// A two-zone distance relay: it measures the six loop impedances from the
// played fundamental phasors (components within a filter band of the
// reference frequency, a swing turning against the steady output; such
// moving loops are sampled through the page) and operates when one lies inside a zone for
// the zone's time. Phase-earth loops measure U / (I + KL x 3I0), phase-phase
// loops (Ua - Ub) / (Ia - Ib); a loop whose current is below minCurrent is not
// measured. Each zone is a mho circle through the origin, its diameter the
// zone's reach along the line angle, so it sees forward faults only. Its
// contact closes one binary input at the zone's time and opens as soon as no
// loop lies inside a zone that has timed out.

#include "SimDutSupport.h"

#include <array>
#include <complex>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorsim {

struct RelayModelEntry;

struct DistanceRelaySettings
{
    double reach1Ohms = 1.0;
    double time1Seconds = 0.0;
    double reach2Ohms = 0.0;        // 0: no zone 2
    double time2Seconds = 0.3;
    double lineAngleDeg = 75.0;
    double klRange = 0.0;           // earth factor KL of the phase-earth loops
    double klAngleDeg = 0.0;
    double minCurrentAmps = 0.01;
    int binaryInput = 0;            // 0..3
};

class DistanceRelay : public DutBase
{
public:
    enum Loop { LOOP_AE, LOOP_BE, LOOP_CE, LOOP_AB, LOOP_BC, LOOP_CA, LOOP_COUNT };
    using Impedance = std::complex<double>;
    using Loops = std::array<std::optional<Impedance>, LOOP_COUNT>;

    // The loops measured at the start of one played page.
    struct Measurement
    {
        int64_t pageStartNs = 0;
        Loops loops;
    };

    explicit DistanceRelay(const DistanceRelaySettings& settings);

    std::string name() const override { return "distance relay"; }
    const DistanceRelaySettings& settings() const { return config; }

    // The six loops of the outputs played at atNs, ohms.
    // `turningHz`, when given, receives the fastest offset of a component
    // turning against the reference (0: the loops hold through the page).
    static Loops measure(const PlayedOutputs& out, int64_t atNs, Impedance kl, double minCurrent,
                         double* turningHz = nullptr);
    // Whether z lies in the mho circle of a reach along the line angle.
    static bool inside(Impedance z, double reachOhms, double lineAngleDeg);

    // Every page in which at least one loop was measured, in order.
    std::vector<Measurement> measurements() const;
    // Simulator times (ns) at which the contact closed, and the zone (1, 2) of each.
    std::vector<int64_t> tripTimes() const;
    std::vector<int> tripZones() const;

protected:
    void evaluate(int64_t nowNs, const PlayedOutputs& out, Wake& wake) override;
    void disconnect(int64_t nowNs) override;

private:
    DistanceRelaySettings config;
    Contact contact;
    // Since when a loop has been inside each zone (-1: none is).
    std::array<int64_t, 2> insideSinceNs{{-1, -1}};
    int64_t lastPageStartNs = -1;
    std::vector<Measurement> pages;
    std::vector<int> zones;
};

// Its entry in the relay model registry (SimRelayRegistry.h).
RelayModelEntry distanceRelayModel();

} // namespace zorsim
