#include "SimEnvelopeRelay.h"

#include "SimRelayRegistry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorsim {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Samples per period of the fastest beat, and the most one scan looks at;
// a longer envelope is scanned on from where the last scan stopped.
constexpr int kSamplesPerBeat = 64;
constexpr int64_t kMaxSamples = 4096;
constexpr double kMaxScanSeconds = 10.0;
constexpr int64_t kMinStepNs = 1000;

} // namespace

EnvelopeRelay::EnvelopeRelay(const EnvelopeRelaySettings& settings)
    : config(settings)
{
    config.dropoffRatio = std::min(config.dropoffRatio, 1.0);
    contact.input = config.binaryInput;
}

bool EnvelopeRelay::pickedUp() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.closed;
}

std::vector<int64_t> EnvelopeRelay::pickupTimes() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.closeTimes;
}

std::vector<int64_t> EnvelopeRelay::dropoffTimes() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.openTimes;
}

double EnvelopeRelay::envelope(const PlayedOutputs& out, int c, int64_t atNs)
{
    if (c < 0 || c >= kChannels)
        return 0.0;
    const double s = out.elapsedSeconds(atNs);
    const int count = static_cast<int>(out.page.channels[c].components.size());
    double re = 0.0;
    double im = 0.0;
    for (int k = 0; k < count; ++k) {
        const Component comp = out.component(c, k, atNs);
        if (comp.dc || !(comp.amplitude > 0.0))
            continue;
        const double turns = std::fmod(comp.frequencyHz * s, 1.0) + comp.phaseDeg / 360.0;
        re += comp.amplitude * std::cos(2.0 * kPi * turns);
        im += comp.amplitude * std::sin(2.0 * kPi * turns);
    }
    return std::hypot(re, im);
}

std::optional<int64_t> EnvelopeRelay::nextTurn(const PlayedOutputs& out, int c, double threshold, bool atLeast,
                                               int64_t fromNs)
{
    if (c < 0 || c >= kChannels || !out.running || !out.live[c])
        return std::nullopt;
    const auto value = [&](int64_t t) { return envelope(out, c, t); };
    const auto holds = [&](double e) { return atLeast ? e >= threshold : e < threshold; };

    // The envelope repeats with the slowest beat and moves with the fastest.
    std::vector<double> frequencies;
    const int count = static_cast<int>(out.page.channels[c].components.size());
    for (int k = 0; k < count; ++k) {
        const Component comp = out.component(c, k, fromNs);
        if (!comp.dc && comp.amplitude > 0.0)
            frequencies.push_back(comp.frequencyHz);
    }
    double fastest = 0.0;
    double slowest = std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < frequencies.size(); ++i) {
        for (size_t j = i + 1; j < frequencies.size(); ++j) {
            const double beat = std::fabs(frequencies[i] - frequencies[j]);
            if (beat > 1e-9) {
                fastest = std::max(fastest, beat);
                slowest = std::min(slowest, beat);
            }
        }
    }
    const std::optional<int64_t> rampEnd = rampEndAfter(out, c, fromNs);
    int64_t end;
    int64_t step;
    if (fastest > 0.0) {
        end = fromNs + secondsToNs(std::min(1.0 / slowest, kMaxScanSeconds));
        step = std::max(kMinStepNs, secondsToNs(1.0 / (kSamplesPerBeat * fastest)));
    } else if (rampEnd) {
        end = *rampEnd;
        step = std::max(kMinStepNs, (end - fromNs) / 256);
    } else {
        return std::nullopt;   // a steady envelope
    }
    if (rampEnd)
        end = std::min(end, *rampEnd);
    end = std::min(end, fromNs + kMaxSamples * step);
    // Past the hold the values are frozen: nothing turns after it.
    const bool frozen = out.holdFromNs <= end;
    if (frozen)
        end = out.holdFromNs;
    if (end <= fromNs)
        return std::nullopt;

    // First instant in (lo, hi] that holds, given hi holds and lo does not.
    const auto bisect = [&](int64_t lo, int64_t hi) {
        while (hi - lo > 1) {
            const int64_t mid = lo + (hi - lo) / 2;
            (holds(value(mid)) ? hi : lo) = mid;
        }
        return hi;
    };
    // The extreme towards the threshold between two samples around a peak
    // (or trough) that the samples straddle.
    const auto extreme = [&](int64_t lo, int64_t hi) {
        const auto better = [&](double a, double b) { return atLeast ? a > b : a < b; };
        while (hi - lo > 3) {
            const int64_t m1 = lo + (hi - lo) / 3;
            const int64_t m2 = hi - (hi - lo) / 3;
            if (better(value(m1), value(m2)))
                hi = m2;
            else
                lo = m1;
        }
        return lo + (hi - lo) / 2;
    };

    int64_t before = fromNs;
    double eBefore = value(fromNs);
    int64_t previous = fromNs;
    double ePrevious = eBefore;
    for (int64_t t = std::min(fromNs + step, end);; t = std::min(t + step, end)) {
        const double e = value(t);
        if (holds(e))
            return bisect(previous, t);
        // previous is the sample nearest to a turn of the envelope towards
        // the threshold: look between its neighbours.
        const bool turned = atLeast ? (ePrevious > eBefore && ePrevious >= e) : (ePrevious < eBefore && ePrevious <= e);
        if (previous > fromNs && turned) {
            const int64_t x = extreme(before, t);
            if (x > fromNs && holds(value(x)))
                return bisect(x > previous ? previous : before, x);
        }
        if (t >= end)
            break;
        before = previous;
        eBefore = ePrevious;
        previous = t;
        ePrevious = e;
    }
    if (frozen)
        return std::nullopt;
    return end;   // look again from here
}

void EnvelopeRelay::disconnect(int64_t nowNs)
{
    contact.set(*ctx, false, nowNs);
    conditionSinceNs = -1;
}

// Picked up, the change to watch is the drop-off; else the pick-up. The
// wake-up is the end of the running delay, or the next turn of the envelope.
void EnvelopeRelay::evaluate(int64_t now, const PlayedOutputs& out, Wake& wake)
{
    const int c = config.channel;
    for (;;) {
        const bool picked = contact.closed;
        const double value = envelope(out, c, now);
        const double threshold = picked ? config.pickup * config.dropoffRatio : config.pickup;
        const bool crossed = picked ? value < threshold : value >= threshold;
        if (!crossed) {
            conditionSinceNs = -1;
            wake.at(nextTurn(out, c, threshold, !picked, now));
            return;
        }
        if (conditionSinceNs < 0)
            conditionSinceNs = now;
        const int64_t changeAt = conditionSinceNs + (picked ? 0 : secondsToNs(config.pickupDelaySeconds));
        if (changeAt > now) {
            const std::optional<int64_t> back = nextTurn(out, c, threshold, picked, now);
            wake.at(back && *back < changeAt ? *back : changeAt);
            return;
        }
        // The contact may end the page at once: out then shows the next one.
        conditionSinceNs = -1;
        contact.set(*ctx, !picked, now);
    }
}

RelayModelEntry envelopeRelayModel()
{
    using S = EnvelopeRelaySettings;
    return relayModel<S>("envelope", "picks up after a delay when the envelope of a channel's components reaches a threshold",
                         {{"channel", "watched channel", channelKey(&S::channel)},
                          {"pickup", "pick-up envelope, V or A", numberKey(&S::pickup, 0.0, kRelayValueLimit, true)},
                          {"delay", "pick-up delay, s", numberKey(&S::pickupDelaySeconds, 0.0, kRelayValueLimit)},
                          {"dropoff", "drops off below pickup x this ratio (0..1]",
                           numberKey(&S::dropoffRatio, 0.0, 1.0, true)},
                          {"input", "binary input its contact closes", inputKey(&S::binaryInput)}},
                         [](const S& s) { return std::make_shared<EnvelopeRelay>(s); });
}

} // namespace zorsim
