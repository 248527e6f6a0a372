#include "SimTimedRelay.h"

#include <cmath>
#include <optional>

namespace zorsim {

namespace {
int64_t toNs(double seconds)
{
    return static_cast<int64_t>(std::llround(seconds * 1e9));
}
} // namespace

TimedRelay::TimedRelay(const TimedRelaySettings& settings)
    : config(settings)
{
}

void TimedRelay::plugged(DutContext& context)
{
    ctx = &context;
    evaluate();
}

void TimedRelay::outputsChanged()
{
    evaluate();
}

void TimedRelay::unplugged()
{
    cancelAll();
    // Unwired, the contact leaves the binary input open.
    if (ctx != nullptr && picked)
        ctx->setBinaryInput(config.binaryInput, false);
    picked = false;
    conditionSinceNs = -1;
    ctx = nullptr;
}

std::vector<int64_t> TimedRelay::pickupTimes() const
{
    std::lock_guard<std::mutex> lock(timesMutex);
    return pickups;
}

std::vector<int64_t> TimedRelay::dropoffTimes() const
{
    std::lock_guard<std::mutex> lock(timesMutex);
    return dropoffs;
}

void TimedRelay::cancelAll()
{
    if (ctx != nullptr && event != 0)
        ctx->cancel(event);
    event = 0;
}

void TimedRelay::schedule(int64_t atNs)
{
    event = ctx->scheduleAt(atNs, [this] {
        event = 0;
        evaluate();
    });
}

// Decides the contact at now() and arms the one deadline that can change it:
// the end of the running delay, or the instant the watched value crosses
// the threshold of the next change under the outputs being played.
void TimedRelay::evaluate()
{
    if (ctx == nullptr)
        return;
    cancelAll();
    const int64_t now = ctx->nowNs();
    const PlayedOutputs& out = ctx->outputs();
    const int c = config.channel;
    const double value = out.amplitude(c, 0, now);

    // Picked up, the change to watch is the drop-off; else the pick-up.
    const double threshold = picked ? config.pickup * config.dropoffRatio : config.pickup;
    const bool crossed = picked ? value < threshold : value >= threshold;
    const int64_t delay = toNs(picked ? config.dropoffDelaySeconds : config.pickupDelaySeconds);
    if (!crossed) {
        conditionSinceNs = -1;
        const std::optional<int64_t> at = picked ? out.firstAmplitudeBelow(c, threshold, now)
                                                 : out.firstAmplitudeAtLeast(c, threshold, now);
        if (at)
            schedule(*at);
        return;
    }
    if (conditionSinceNs < 0)
        conditionSinceNs = now;
    const int64_t changeAt = conditionSinceNs + delay;
    if (changeAt <= now) {
        picked = !picked;
        conditionSinceNs = -1;
        {
            std::lock_guard<std::mutex> lock(timesMutex);
            (picked ? pickups : dropoffs).push_back(now);
        }
        ctx->setBinaryInput(config.binaryInput, picked);
        evaluate();
        return;
    }
    // The value may cross back before the delay ends.
    const std::optional<int64_t> back = picked ? out.firstAmplitudeAtLeast(c, threshold, now)
                                               : out.firstAmplitudeBelow(c, threshold, now);
    schedule(back && *back < changeAt ? *back : changeAt);
}

} // namespace zorsim
