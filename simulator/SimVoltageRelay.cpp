#include "SimVoltageRelay.h"

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

} // namespace

VoltageRelay::VoltageRelay(const VoltageRelaySettings& settings)
    : LoadSheddingRelay(element(settings)), config(settings)
{
}

} // namespace zorsim
