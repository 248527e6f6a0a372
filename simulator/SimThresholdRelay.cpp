#include "SimThresholdRelay.h"

#include <cmath>

namespace zorsim {

ThresholdRelay::ThresholdRelay(const ThresholdRelaySettings& settings)
    : config(settings)
{
}

void ThresholdRelay::plugged(DutContext& context)
{
    ctx = &context;
    evaluate();
}

void ThresholdRelay::outputsChanged()
{
    evaluate();
}

void ThresholdRelay::unplugged()
{
    cancelAll();
    ctx = nullptr;
}

void ThresholdRelay::cancelAll()
{
    if (ctx == nullptr)
        return;
    if (tripEvent != 0)
        ctx->cancel(tripEvent);
    if (watchEvent != 0)
        ctx->cancel(watchEvent);
    tripEvent = 0;
    watchEvent = 0;
}

// Decides the contact at now() and arms the one deadline that can change it:
// the end of the pick-up delay, or the instant the watched value crosses a
// threshold under the outputs being played.
void ThresholdRelay::evaluate()
{
    if (ctx == nullptr)
        return;
    cancelAll();
    const int64_t now = ctx->nowNs();
    const PlayedOutputs& out = ctx->outputs();
    const int c = config.channel;
    const double value = out.amplitude(c, 0, now);
    auto watch = [this](std::optional<int64_t> at) {
        if (at)
            watchEvent = ctx->scheduleAt(*at, [this] {
                watchEvent = 0;
                evaluate();
            });
    };

    if (picked) {
        const double dropoff = config.pickup * config.dropoffRatio;
        if (value < dropoff) {
            picked = false;
            dropoffs.push_back(now);
            ctx->setBinaryInput(config.binaryInput, false);
            evaluate();
            return;
        }
        watch(out.firstAmplitudeBelow(c, dropoff, now));
        return;
    }

    if (value < config.pickup) {
        pendingSinceNs = -1;
        watch(out.firstAmplitudeAtLeast(c, config.pickup, now));
        return;
    }
    if (pendingSinceNs < 0)
        pendingSinceNs = now;
    const int64_t tripAt = pendingSinceNs + static_cast<int64_t>(std::llround(config.pickupDelaySeconds * 1e9));
    if (tripAt <= now) {
        picked = true;
        pendingSinceNs = -1;
        pickups.push_back(now);
        ctx->setBinaryInput(config.binaryInput, true);
        evaluate();
        return;
    }
    const std::optional<int64_t> falls = out.firstAmplitudeBelow(c, config.pickup, now);
    if (falls && *falls < tripAt) {
        watch(falls);
        return;
    }
    tripEvent = ctx->scheduleAt(tripAt, [this] {
        tripEvent = 0;
        evaluate();
    });
}

} // namespace zorsim
