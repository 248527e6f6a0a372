#include "SimThresholdRelay.h"

#include "SimRelayRegistry.h"

namespace zorsim {

namespace {
TimedRelaySettings timed(const ThresholdRelaySettings& s)
{
    TimedRelaySettings t;
    t.channel = s.channel;
    t.pickup = s.pickup;
    t.pickupDelaySeconds = s.pickupDelaySeconds;
    t.dropoffRatio = s.dropoffRatio;
    t.dropoffDelaySeconds = 0.0;
    t.binaryInput = s.binaryInput;
    return t;
}
}   // namespace

ThresholdRelay::ThresholdRelay(const ThresholdRelaySettings& settings)
    : TimedRelay(timed(settings))
{
}

RelayModelEntry thresholdRelayModel()
{
    using S = ThresholdRelaySettings;
    return relayModel<S>(
        "threshold", "picks up after a delay at a threshold, drops off at once below it",
        {{"channel", "watched channel", channelKey(&S::channel)},
         {"pickup", "pick-up value, V or A", numberKey(&S::pickup, 0.0, kRelayValueLimit, true)},
         {"delay", "pick-up delay, s", numberKey(&S::pickupDelaySeconds, 0.0, kRelayValueLimit)},
         {"dropoff", "drops off below pickup x this ratio (0..1]", numberKey(&S::dropoffRatio, 0.0, 1.0, true)},
         {"input", "binary input its contact closes", inputKey(&S::binaryInput)}},
        [](const S& s) { return std::make_shared<ThresholdRelay>(s); });
}

}   // namespace zorsim
