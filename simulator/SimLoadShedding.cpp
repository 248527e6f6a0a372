#include "SimLoadShedding.h"

#include <utility>

namespace zorsim {

LoadSheddingRelay::LoadSheddingRelay(LoadSheddingSettings settings)
    : config(std::move(settings))
{
    contact.input = config.binaryInput;
    if (config.rateReset <= 0.0)
        config.rateReset = config.pickup;
}

bool LoadSheddingRelay::tripped() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.closed;
}

std::vector<int64_t> LoadSheddingRelay::tripTimes() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.closeTimes;
}

std::vector<int64_t> LoadSheddingRelay::resetTimes() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.openTimes;
}

bool LoadSheddingRelay::rateBlocked() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return fastFall || latched;
}

void LoadSheddingRelay::disconnect(int64_t now)
{
    contact.set(*ctx, false, now);
    latched = false;
    fastFall = false;
    pendingSinceNs = -1;
}

LoadSheddingRelay::Reading LoadSheddingRelay::measure(const PlayedOutputs& out, int64_t now) const
{
    Reading r;
    const double s = pageSeconds(out, now);
    if (config.quantity == LoadSheddingSettings::Quantity::Frequency) {
        if (config.measureChannels.empty())
            return r;
        const int c = config.measureChannels.front();
        if (c < 0 || c >= kChannels || !out.live[c] || out.amplitude(c, 0, now) < config.minimumVolts)
            return r;
        r.valid = true;
        r.value = out.frequency(c, 0, now);
        r.slope = frequencyTrack(out, c).slope(s);
        return r;
    }
    bool first = true;
    for (int c : config.measureChannels) {
        const double v = out.amplitude(c, 0, now);
        const double slope = amplitudeTrack(out, c).slope(s);
        // The highest channel leads; among equals the one falling fastest.
        if (first || v > r.value || (v == r.value && slope < r.slope)) {
            r.value = v;
            r.slope = slope;
        }
        first = false;
    }
    r.valid = !first;
    return r;
}

// Every instant at which the measured quantity can cross `level`.
void LoadSheddingRelay::watchQuantity(const PlayedOutputs& out, double level, int64_t now, Wake& wake) const
{
    if (config.quantity == LoadSheddingSettings::Quantity::Frequency) {
        if (!config.measureChannels.empty())
            wake.at(nextFrequencyCrossing(out, config.measureChannels.front(), level, now));
        return;
    }
    for (int c : config.measureChannels)
        wake.at(nextAmplitudeCrossing(out, c, level, now));
}

void LoadSheddingRelay::evaluate(int64_t now, const PlayedOutputs& out, Wake& wake)
{
    if (!out.running) {
        disconnect(now);
        return;
    }
    const Reading q = measure(out, now);
    const bool pickedUp = q.valid && q.value < config.pickup;

    // The rate block and its latch.
    fastFall = config.rateBlock > 0.0 && q.valid && q.slope <= -config.rateBlock;
    if (fastFall)
        latched = true;
    else if (latched && q.valid && q.value >= config.rateReset)
        latched = false;
    const bool underVoltage = config.underVoltageBlock > 0.0
                              && highestAmplitude(out, config.voltageChannels, now) < config.underVoltageBlock;
    const bool lowCurrent = config.lowCurrentBlock > 0.0
                            && highestAmplitude(out, config.currentChannels, now) < config.lowCurrentBlock;
    const bool blocked = fastFall || latched || underVoltage || lowCurrent;

    // What can change these decisions: the quantity crossing its levels, the
    // measured channels' ramps ending (the rate), the blocking quantities.
    watchQuantity(out, config.pickup, now, wake);
    if (latched)
        watchQuantity(out, config.rateReset, now, wake);
    for (int c : config.measureChannels)
        wake.at(rampEndAfter(out, c, now));
    if (config.quantity == LoadSheddingSettings::Quantity::Frequency && !config.measureChannels.empty())
        wake.at(nextAmplitudeCrossing(out, config.measureChannels.front(), config.minimumVolts, now));
    if (config.underVoltageBlock > 0.0)
        for (int c : config.voltageChannels)
            wake.at(nextAmplitudeCrossing(out, c, config.underVoltageBlock, now));
    if (config.lowCurrentBlock > 0.0)
        for (int c : config.currentChannels)
            wake.at(nextAmplitudeCrossing(out, c, config.lowCurrentBlock, now));

    if (contact.closed) {
        if (!pickedUp)
            contact.set(*ctx, false, now);
        pendingSinceNs = -1;
        return;
    }
    if (!pickedUp || blocked) {
        pendingSinceNs = -1;
        return;
    }
    if (pendingSinceNs < 0)
        pendingSinceNs = now;
    const int64_t tripAt = pendingSinceNs + secondsToNs(config.delaySeconds);
    if (now >= tripAt) {
        contact.set(*ctx, true, now);
        pendingSinceNs = -1;
        return;
    }
    wake.at(tripAt);
}

} // namespace zorsim
