#include "SimDistanceRelay.h"

#include "SimRelayRegistry.h"

#include <algorithm>
#include <cmath>

namespace zorsim {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Components further than this from the reference frequency are filtered
// out, as the relay's fundamental filter does with harmonics.
constexpr double kFilterBandHz = 10.0;
// Samples per turn of the fastest component turning against the reference,
// and the bounds of the sampling step.
constexpr double kSamplesPerTurn = 64.0;
constexpr int64_t kMinSampleNs = 500000;
constexpr int64_t kMaxSampleNs = 10000000;

// The reference frequency: the strongest AC component of the first channel
// of a loop (UA, UB, UC, IA, IB, IC) that plays one.
double referenceHz(const PlayedOutputs& out, int64_t atNs)
{
    for (int c : {0, 1, 2, 4, 5, 6}) {
        double strongest = 0.0;
        double hz = 0.0;
        for (size_t k = 0; k < out.page.channels[c].components.size(); ++k) {
            const Component comp = out.component(c, int(k), atNs);
            if (!comp.dc && comp.amplitude > strongest) {
                strongest = comp.amplitude;
                hz = comp.frequencyHz;
            }
        }
        if (strongest > 0.0)
            return hz;
    }
    return 0.0;
}

// The fundamental phasor the relay's filter sees at atNs: the channel's
// components near the reference, each turning at its offset from it (a
// swing beating against the steady output moves the phasor). The largest
// offset seen is kept in `fastestHz`.
std::complex<double> phasor(const PlayedOutputs& out, int c, int64_t atNs, double refHz, double& fastestHz)
{
    const double s = out.elapsedSeconds(atNs);
    std::complex<double> sum;
    for (size_t k = 0; k < out.page.channels[c].components.size(); ++k) {
        const Component comp = out.component(c, int(k), atNs);
        const double offset = comp.frequencyHz - refHz;
        const bool passes = !comp.dc && comp.amplitude > 0.0 && std::fabs(offset) <= kFilterBandHz;
        double turns = 0.0;
        if (passes) {
            turns = std::fmod(offset * s, 1.0);
            fastestHz = std::max(fastestHz, std::fabs(offset));
        } else if (k > 0) {
            continue;   // component 0 outside the band counts as it stands
        }
        sum += std::polar(comp.amplitude, comp.phaseDeg * kPi / 180.0 + 2.0 * kPi * turns);
    }
    return sum;
}

} // namespace

DistanceRelay::DistanceRelay(const DistanceRelaySettings& settings)
    : config(settings)
{
    contact.input = config.binaryInput;
}

DistanceRelay::Loops DistanceRelay::measure(const PlayedOutputs& out, int64_t atNs, Impedance kl, double minCurrent,
                                             double* turningHz)
{
    Loops loops;
    if (!out.running)
        return loops;
    const double refHz = referenceHz(out, atNs);
    double fastestHz = 0.0;
    std::complex<double> u[3];
    std::complex<double> i[3];
    for (int p = 0; p < 3; ++p) {
        u[p] = phasor(out, p, atNs, refHz, fastestHz);
        i[p] = phasor(out, 4 + p, atNs, refHz, fastestHz);
    }
    if (turningHz)
        *turningHz = fastestHz;
    const std::complex<double> residual = i[0] + i[1] + i[2];
    for (int p = 0; p < 3; ++p) {
        const std::complex<double> loopCurrent = i[p] + kl * residual;
        if (std::abs(loopCurrent) >= minCurrent)
            loops[size_t(LOOP_AE + p)] = u[p] / loopCurrent;
        const int q = (p + 1) % 3;
        const std::complex<double> pairCurrent = i[p] - i[q];
        if (std::abs(pairCurrent) >= minCurrent)
            loops[size_t(LOOP_AB + p)] = (u[p] - u[q]) / pairCurrent;
    }
    return loops;
}

bool DistanceRelay::inside(Impedance z, double reachOhms, double lineAngleDeg)
{
    if (!(reachOhms > 0.0))
        return false;
    const Impedance centre = std::polar(reachOhms / 2.0, lineAngleDeg * kPi / 180.0);
    return std::abs(z - centre) <= reachOhms / 2.0;
}

std::vector<DistanceRelay::Measurement> DistanceRelay::measurements() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return pages;
}

std::vector<int64_t> DistanceRelay::tripTimes() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.closeTimes;
}

std::vector<int> DistanceRelay::tripZones() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return zones;
}

void DistanceRelay::disconnect(int64_t nowNs)
{
    contact.set(*ctx, false, nowNs);
    insideSinceNs = {{-1, -1}};
}

// Phasors that hold through a page are decided at each change and wake the
// relay only at the end of a running zone time; moving ones are sampled.
void DistanceRelay::evaluate(int64_t now, const PlayedOutputs& out, Wake& wake)
{
    const Impedance kl = std::polar(config.klRange, config.klAngleDeg * kPi / 180.0);
    double turningHz = 0.0;
    const Loops loops = measure(out, now, kl, config.minCurrentAmps, &turningHz);
    // Loops that move within the page (a swing) are sampled until it ends.
    if (turningHz > 0.0 && out.running)
        wake.at(now + std::clamp(secondsToNs(1.0 / (kSamplesPerTurn * turningHz)), kMinSampleNs, kMaxSampleNs));
    bool any = false;
    for (const auto& z : loops)
        any = any || z.has_value();
    if (any && out.pageStartNs != lastPageStartNs) {
        lastPageStartNs = out.pageStartNs;
        pages.push_back({out.pageStartNs, loops});
    }

    const double reaches[2] = {config.reach1Ohms, config.reach2Ohms};
    const double times[2] = {config.time1Seconds, config.time2Seconds};
    int operated = 0;
    for (int zone = 0; zone < 2; ++zone) {
        bool seen = false;
        for (const auto& z : loops)
            seen = seen || (z && inside(*z, reaches[zone], config.lineAngleDeg));
        int64_t& since = insideSinceNs[size_t(zone)];
        if (!seen) {
            since = -1;
            continue;
        }
        if (since < 0)
            since = now;
        const int64_t due = since + secondsToNs(times[zone]);
        if (due <= now) {
            if (operated == 0)
                operated = zone + 1;
        } else {
            wake.at(due);
        }
    }
    if (operated != 0 && !contact.closed)
        zones.push_back(operated);
    // The contact may end the page at once: the next evaluation sees the next one.
    contact.set(*ctx, operated != 0, now);
}

RelayModelEntry distanceRelayModel()
{
    using S = DistanceRelaySettings;
    return relayModel<S>(
        "distance", "two mho zones through the origin at the line angle, each with its reach and time",
        {{"reach1", "zone 1 reach along the line angle, ohm", numberKey(&S::reach1Ohms, 0.0, kRelayValueLimit, true)},
         {"time1", "zone 1 time, s", numberKey(&S::time1Seconds, 0.0, kRelayValueLimit)},
         {"reach2", "zone 2 reach, ohm (0: no zone 2)", numberKey(&S::reach2Ohms, 0.0, kRelayValueLimit)},
         {"time2", "zone 2 time, s", numberKey(&S::time2Seconds, 0.0, kRelayValueLimit)},
         {"angle", "line angle, degrees", numberKey(&S::lineAngleDeg, -360.0, 360.0)},
         {"kl", "earth factor KL, magnitude", numberKey(&S::klRange, 0.0, kRelayValueLimit)},
         {"klangle", "earth factor KL, angle in degrees", numberKey(&S::klAngleDeg, -360.0, 360.0)},
         {"input", "binary input its contact closes", inputKey(&S::binaryInput)}},
        [](const S& s) { return std::make_shared<DistanceRelay>(s); });
}

} // namespace zorsim
