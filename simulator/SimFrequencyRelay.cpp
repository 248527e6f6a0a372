#include "SimFrequencyRelay.h"

#include "SimRelayRegistry.h"

namespace zorsim {

namespace {

LoadSheddingSettings element(const FrequencyRelaySettings& s)
{
    LoadSheddingSettings e;
    e.quantity = LoadSheddingSettings::Quantity::Frequency;
    e.measureChannels = {s.channel};
    e.pickup = s.pickupHz;
    e.delaySeconds = s.delaySeconds;
    e.minimumVolts = s.minimumVolts;
    e.rateBlock = s.dfdtBlockHzPerSecond;
    e.rateReset = s.dfdtResetHz;
    e.voltageChannels = s.voltageChannels;
    e.underVoltageBlock = s.underVoltageBlockVolts;
    e.currentChannels = s.currentChannels;
    e.lowCurrentBlock = s.lowCurrentBlockAmps;
    e.binaryInput = s.binaryInput;
    return e;
}

}   // namespace

FrequencyRelay::FrequencyRelay(const FrequencyRelaySettings& settings)
    : LoadSheddingRelay(element(settings))
    , config(settings)
{
}

RelayModelEntry frequencyRelayModel()
{
    using S = FrequencyRelaySettings;
    return relayModel<S>(
        "frequency", "under-frequency load-shedding relay",
        {{"channel", "watched voltage channel", channelKey(&S::channel)},
         {"pickup", "picks up below this frequency, Hz", numberKey(&S::pickupHz, 0.0, kRelayValueLimit, true)},
         {"delay", "operating delay, s", numberKey(&S::delaySeconds, 0.0, kRelayValueLimit)},
         {"minvolts", "no frequency measured below this amplitude, V",
          numberKey(&S::minimumVolts, 0.0, kRelayValueLimit)},
         {"input", "binary input its contact closes", inputKey(&S::binaryInput)}},
        [](const S& s) { return std::make_shared<FrequencyRelay>(s); });
}

}   // namespace zorsim
