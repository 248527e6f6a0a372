#include "SimFrequencyRelay.h"

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

} // namespace

FrequencyRelay::FrequencyRelay(const FrequencyRelaySettings& settings)
    : LoadSheddingRelay(element(settings)), config(settings)
{
}

} // namespace zorsim
