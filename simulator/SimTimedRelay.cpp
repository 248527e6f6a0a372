#include "SimTimedRelay.h"

#include "SimRelayRegistry.h"

#include <algorithm>
#include <optional>

namespace zorsim {

TimedRelay::TimedRelay(const TimedRelaySettings& settings)
    : config(settings)
{
    // A drop-off level above the pick-up level would pick up and drop off
    // again at the same instant without end.
    config.dropoffRatio = std::min(config.dropoffRatio, 1.0);
    contact.input = config.binaryInput;
}

bool TimedRelay::pickedUp() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.closed;
}

std::vector<int64_t> TimedRelay::pickupTimes() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.closeTimes;
}

std::vector<int64_t> TimedRelay::dropoffTimes() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.openTimes;
}

void TimedRelay::disconnect(int64_t nowNs)
{
    contact.set(*ctx, false, nowNs);
    conditionSinceNs = -1;
}

// Picked up, the change to watch is the drop-off; else the pick-up. The
// wake-up is the end of the running delay, or the instant the value crosses
// the threshold of the next change (or back, while a delay runs).
void TimedRelay::evaluate(int64_t now, const PlayedOutputs& out, Wake& wake)
{
    const int c = config.channel;
    for (;;) {
        const bool picked = contact.closed;
        const double value = out.amplitude(c, 0, now);
        const double threshold = picked ? config.pickup * config.dropoffRatio : config.pickup;
        const bool crossed = picked ? value < threshold : value >= threshold;
        if (!crossed) {
            conditionSinceNs = -1;
            wake.at(picked ? out.firstAmplitudeBelow(c, threshold, now) : out.firstAmplitudeAtLeast(c, threshold, now));
            return;
        }
        if (conditionSinceNs < 0)
            conditionSinceNs = now;
        const int64_t changeAt = conditionSinceNs
            + secondsToNs(picked ? config.dropoffDelaySeconds : config.pickupDelaySeconds);
        if (changeAt > now) {
            const std::optional<int64_t> back = picked ? out.firstAmplitudeAtLeast(c, threshold, now)
                                                       : out.firstAmplitudeBelow(c, threshold, now);
            wake.at(back && *back < changeAt ? *back : changeAt);
            return;
        }
        // The contact may end the page at once: out then shows the next one.
        conditionSinceNs = -1;
        contact.set(*ctx, !picked, now);
    }
}

RelayModelEntry timedRelayModel()
{
    using S = TimedRelaySettings;
    return relayModel<S>(
        "timed", "picks up after a delay at a threshold, drops off after a delay below it",
        {{"channel", "watched channel", channelKey(&S::channel)},
         {"pickup", "pick-up value, V or A", numberKey(&S::pickup, 0.0, kRelayValueLimit, true)},
         {"delay", "pick-up delay, s", numberKey(&S::pickupDelaySeconds, 0.0, kRelayValueLimit)},
         {"dropoff", "drops off below pickup x this ratio (0..1]", numberKey(&S::dropoffRatio, 0.0, 1.0, true)},
         {"dropdelay", "drop-off delay, s", numberKey(&S::dropoffDelaySeconds, 0.0, kRelayValueLimit)},
         {"input", "binary input its contact closes", inputKey(&S::binaryInput)}},
        [](const S& s) { return std::make_shared<TimedRelay>(s); });
}

}   // namespace zorsim
