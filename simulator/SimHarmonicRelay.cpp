#include "SimHarmonicRelay.h"

#include "SimRelayRegistry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorsim {

namespace {
// A component is the second harmonic within this share of twice the
// fundamental's frequency (the frequency words round).
constexpr double kFrequencyTolerance = 1e-3;
} // namespace

HarmonicRelay::HarmonicRelay(const HarmonicRelaySettings& settings)
    : config(settings)
{
    config.dropoffRatio = std::min(config.dropoffRatio, 1.0);
    contact.input = config.binaryInput;
}

bool HarmonicRelay::pickedUp() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.closed;
}

std::vector<int64_t> HarmonicRelay::pickupTimes() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.closeTimes;
}

std::vector<int64_t> HarmonicRelay::dropoffTimes() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.openTimes;
}

double HarmonicRelay::secondHarmonic(const PlayedOutputs& out, int c, int64_t atNs)
{
    const double f0 = out.frequency(c, 0, atNs);
    if (!(f0 > 0.0) || c < 0 || c >= kChannels)
        return 0.0;
    const int count = static_cast<int>(out.page.channels[c].components.size());
    for (int k = 1; k < count; ++k) {
        const Component comp = out.component(c, k, atNs);
        if (std::fabs(comp.frequencyHz - 2.0 * f0) <= kFrequencyTolerance * 2.0 * f0)
            return comp.amplitude;
    }
    return 0.0;
}

// The harmonics hold their amplitude through a page; only the fundamental
// may ramp. At or above share means fundamental <= h2 / share.
bool HarmonicRelay::above(const PlayedOutputs& out, double share, int64_t now, std::optional<int64_t>& turn) const
{
    const int c = config.channel;
    const double h2 = secondHarmonic(out, c, now);
    turn.reset();
    if (!(h2 > 0.0))
        return false;
    const double limit = h2 / share;
    const double justAbove = std::nextafter(limit, std::numeric_limits<double>::infinity());
    const bool holds = out.amplitude(c, 0, now) <= limit;
    turn = holds ? out.firstAmplitudeAtLeast(c, justAbove, now) : out.firstAmplitudeBelow(c, justAbove, now);
    return holds;
}

void HarmonicRelay::disconnect(int64_t nowNs)
{
    contact.set(*ctx, false, nowNs);
    conditionSinceNs = -1;
}

// Picked up, the change to watch is the drop-off; else the pick-up. The
// wake-up is the end of the running delay, or the instant the share turns.
void HarmonicRelay::evaluate(int64_t now, const PlayedOutputs& out, Wake& wake)
{
    for (;;) {
        const bool picked = contact.closed;
        const double share = config.sharePercent / 100.0 * (picked ? config.dropoffRatio : 1.0);
        std::optional<int64_t> turn;
        const bool holds = above(out, share, now, turn);
        const bool crossed = picked ? !holds : holds;
        if (!crossed) {
            conditionSinceNs = -1;
            wake.at(turn);
            return;
        }
        if (conditionSinceNs < 0)
            conditionSinceNs = now;
        const int64_t changeAt = conditionSinceNs + (picked ? 0 : secondsToNs(config.pickupDelaySeconds));
        if (changeAt > now) {
            wake.at(turn && *turn < changeAt ? *turn : changeAt);
            return;
        }
        // The contact may end the page at once: out then shows the next one.
        conditionSinceNs = -1;
        contact.set(*ctx, !picked, now);
    }
}

RelayModelEntry harmonicRelayModel()
{
    using S = HarmonicRelaySettings;
    return relayModel<S>("harmonic", "picks up after a delay when the 2nd harmonic exceeds a share of the fundamental",
                         {{"channel", "watched channel", channelKey(&S::channel)},
                          {"share", "2nd harmonic in % of the fundamental that picks up",
                           numberKey(&S::sharePercent, 0.0, kRelayValueLimit, true)},
                          {"delay", "pick-up delay, s", numberKey(&S::pickupDelaySeconds, 0.0, kRelayValueLimit)},
                          {"dropoff", "drops off below share x this ratio (0..1]",
                           numberKey(&S::dropoffRatio, 0.0, 1.0, true)},
                          {"input", "binary input its contact closes", inputKey(&S::binaryInput)}},
                         [](const S& s) { return std::make_shared<HarmonicRelay>(s); });
}

} // namespace zorsim
