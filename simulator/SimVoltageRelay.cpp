#include "SimVoltageRelay.h"

#include "SimRelayRegistry.h"

namespace zorsim {

namespace {

LoadSheddingSettings element(const VoltageRelaySettings& s)
{
    LoadSheddingSettings e;
    e.quantity = LoadSheddingSettings::Quantity::Voltage;
    e.measureChannels = s.channels;
    e.pickup = s.pickupVolts;
    e.delaySeconds = s.delaySeconds;
    e.rateBlock = s.dvdtBlockVoltsPerSecond;
    e.rateReset = s.dvdtResetVolts;
    e.voltageChannels = s.channels;
    e.underVoltageBlock = s.underVoltageBlockVolts;
    e.currentChannels = s.currentChannels;
    e.lowCurrentBlock = s.lowCurrentBlockAmps;
    e.binaryInput = s.binaryInput;
    return e;
}

}   // namespace

VoltageRelay::VoltageRelay(const VoltageRelaySettings& settings)
    : LoadSheddingRelay(element(settings))
    , config(settings)
{
}

RelayModelEntry voltageRelayModel()
{
    using S = VoltageRelaySettings;
    return relayModel<S>(
        "voltage", "under-voltage load-shedding relay",
        {{"channels", "watched voltage channels", channelsKey(&S::channels)},
         {"pickup", "picks up below this voltage, V", numberKey(&S::pickupVolts, 0.0, kRelayValueLimit, true)},
         {"delay", "operating delay, s", numberKey(&S::delaySeconds, 0.0, kRelayValueLimit)},
         {"input", "binary input its contact closes", inputKey(&S::binaryInput)}},
        [](const S& s) { return std::make_shared<VoltageRelay>(s); });
}

}   // namespace zorsim
