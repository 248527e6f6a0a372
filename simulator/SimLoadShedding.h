#pragma once

// The element shared by the under-frequency and under-voltage load-shedding
// relays (SimFrequencyRelay.h, SimVoltageRelay.h hold their settings): it
// picks up while a measured quantity is below its pick-up value, operates
// when it has stayed picked up and unblocked for the delay, and keeps its
// contact closed until the quantity is back at or above the pick-up value.
//
// Measured quantity (component 0 of the channels, as played):
// - frequency: of one voltage channel, measured only while that channel's
//   amplitude is at least minimumVolts (below it nothing picks up);
// - voltage: the highest amplitude of the measured channels (the element
//   picks up when every one of them is below the pick-up value).
// Blocking (each off when its level is 0); a blocked element stops and
// restarts its delay, but does not open a closed contact:
// - rate (df/dt or dv/dt): while the quantity falls at rateBlock per second
//   or faster (a ramp of the played outputs; a step between pages is not a
//   rate), and afterwards, latched, until the quantity is back at or above
//   rateReset (0: the pick-up value);
// - under-voltage: while the highest of voltageChannels is below underVoltageBlock;
// - low current: while the highest of currentChannels is below lowCurrentBlock.
// While the instrument plays nothing the relay is disconnected: contact
// open, delay and latch cleared.

#include "SimDutSupport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorsim {

struct LoadSheddingSettings
{
    enum class Quantity { Frequency, Voltage };
    Quantity quantity = Quantity::Frequency;
    std::vector<int> measureChannels = {0};   // frequency: the first one only
    double pickup = 49.0;                     // Hz or V; picks up below
    double delaySeconds = 0.0;
    double minimumVolts = 0.0;                // frequency measurement needs this amplitude
    double rateBlock = 0.0;                   // Hz/s or V/s (magnitude of the fall)
    double rateReset = 0.0;
    std::vector<int> voltageChannels = {0, 1, 2};
    double underVoltageBlock = 0.0;           // V
    std::vector<int> currentChannels = {4, 5, 6};
    double lowCurrentBlock = 0.0;             // A
    int binaryInput = 0;                      // 0..3
};

class LoadSheddingRelay : public DutBase
{
public:
    explicit LoadSheddingRelay(LoadSheddingSettings settings);

    bool tripped() const;
    // Simulator times (ns) at which the contact closed / opened.
    std::vector<int64_t> tripTimes() const;
    std::vector<int64_t> resetTimes() const;
    // The rate block engaged (fall too fast, or latched) at the last evaluation.
    bool rateBlocked() const;

protected:
    void evaluate(int64_t nowNs, const PlayedOutputs& out, Wake& wake) override;
    void disconnect(int64_t nowNs) override;

private:
    struct Reading
    {
        bool valid = false;
        double value = 0.0;
        double slope = 0.0;   // per second, now
    };
    Reading measure(const PlayedOutputs& out, int64_t nowNs) const;
    void watchQuantity(const PlayedOutputs& out, double level, int64_t nowNs, Wake& wake) const;

    LoadSheddingSettings config;
    Contact contact;
    bool latched = false;
    bool fastFall = false;
    int64_t pendingSinceNs = -1;
};

} // namespace zorsim
