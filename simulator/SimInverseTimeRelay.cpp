#include "SimInverseTimeRelay.h"

#include "SimRelayRegistry.h"

#include <QMap>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace zorsim {

namespace {
constexpr double kProgressTolerance = 1e-13;
}

double InverseCurve::operateTime(double m, double tms) const
{
    return (a * tms + k1) / (std::pow(m, p) - q) + b * tms + k2;
}

InverseTimeRelay::InverseTimeRelay(InverseTimeRelaySettings settings)
    : config(std::move(settings))
{
    contact.input = config.binaryInput;
    for (int c : config.channels) {
        Phase phase;
        phase.channel = c;
        phases.push_back(phase);
    }
}

bool InverseTimeRelay::tripped() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.closed;
}

std::vector<OvercurrentTrip> InverseTimeRelay::trips() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return tripLog;
}

std::vector<int64_t> InverseTimeRelay::resetTimes() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.openTimes;
}

double InverseTimeRelay::progress(int channel) const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    for (const Phase& phase : phases)
        if (phase.channel == channel)
            return phase.progress;
    return 0.0;
}

double InverseTimeRelay::rateAt(double amps) const
{
    if (!(config.pickupAmps > 0.0))
        return 0.0;
    const double t = config.curve.operateTime(amps / config.pickupAmps, config.tms);
    return std::isfinite(t) && t > 0.0 ? 1.0 / t : 0.0;
}

void InverseTimeRelay::resetTimers()
{
    for (Phase& phase : phases) {
        phase.timing = false;
        phase.progress = 0.0;
        phase.plannedTripNs = -1;
        phase.instantSinceNs = -1;
    }
}

void InverseTimeRelay::trip(int64_t now, const Phase& phase, OvercurrentStage stage)
{
    tripLog.push_back(OvercurrentTrip{now, phase.channel, stage});
    contact.set(*ctx, true, now);
    resetTimers();
}

void InverseTimeRelay::disconnect(int64_t now)
{
    contact.set(*ctx, false, now);
    resetTimers();
    haveSeen = false;
}

void InverseTimeRelay::evaluate(int64_t now, const PlayedOutputs& out, Wake& wake)
{
    // Progress since the last evaluation, under the outputs played meanwhile.
    // Nothing a phase depends on changed in between: every start-level
    // crossing and ramp end is a deadline of its own.
    if (haveSeen && now > lastNs) {
        for (Phase& phase : phases) {
            if (!phase.timing)
                continue;
            const Track track = amplitudeTrack(seen, phase.channel);
            phase.progress += integrate([&](double s) { return rateAt(track.value(s)); }, pageSeconds(seen, lastNs),
                                        pageSeconds(seen, now), kProgressTolerance);
        }
    }
    seen = out;
    lastNs = now;
    haveSeen = true;

    const double start = config.pickupAmps * config.startRatio;
    const double dropoff = start * config.dropoffRatio;
    auto watchReset = [&] {
        for (const Phase& phase : phases)
            wake.at(nextAmplitudeCrossing(out, phase.channel, dropoff, now));
    };

    if (contact.closed) {
        if (highestAmplitude(out, config.channels, now) >= dropoff) {
            watchReset();
            return;
        }
        contact.set(*ctx, false, now);
        resetTimers();
    }

    for (Phase& phase : phases) {
        const int c = phase.channel;
        const double amps = out.amplitude(c, 0, now);

        if (config.instantaneousAmps > 0.0) {
            if (amps >= config.instantaneousAmps) {
                if (phase.instantSinceNs < 0)
                    phase.instantSinceNs = now;
                const int64_t at = phase.instantSinceNs + secondsToNs(config.instantaneousDelaySeconds);
                if (now >= at) {
                    trip(now, phase, OvercurrentStage::Instantaneous);
                    watchReset();
                    return;
                }
                wake.at(at);
            } else {
                phase.instantSinceNs = -1;
            }
            wake.at(nextAmplitudeCrossing(out, c, config.instantaneousAmps, now));
        }

        wake.at(nextAmplitudeCrossing(out, c, start, now));
        if (amps < start) {
            phase.timing = false;
            phase.progress = 0.0;
            phase.plannedTripNs = -1;
            continue;
        }
        phase.timing = true;
        if (phase.progress >= 1.0 - 1e-12 || (phase.plannedTripNs >= 0 && now >= phase.plannedTripNs)) {
            trip(now, phase, OvercurrentStage::InverseTime);
            watchReset();
            return;
        }

        // When the progress reaches 1 under these outputs, if before the
        // current leaves its straight line (ramp end) or the start level.
        const double remaining = 1.0 - phase.progress;
        const Track track = amplitudeTrack(out, c);
        const double s = pageSeconds(out, now);
        phase.plannedTripNs = -1;
        if (!track.movesWithin(s, std::numeric_limits<double>::infinity())) {
            const double rate = rateAt(amps);
            if (rate > 0.0)
                phase.plannedTripNs = std::max(now + 1, pageNs(out, s + remaining / rate));
        } else {
            double end = track.rampEnd;
            if (const auto falls = out.firstAmplitudeBelow(c, start, now))
                end = std::min(end, pageSeconds(out, *falls));
            const auto at = solveIntegral([&](double x) { return rateAt(track.value(x)); }, s, end, remaining,
                                          kProgressTolerance);
            if (at)
                phase.plannedTripNs = std::max(now + 1, pageNs(out, *at));
            wake.at(rampEndAfter(out, c, now));
        }
        if (phase.plannedTripNs >= 0)
            wake.at(phase.plannedTripNs);
    }
}

RelayModelEntry inverseTimeRelayModel()
{
    using S = InverseTimeRelaySettings;
    const RelaySetter<S> curve = [](S& s, const QString& v) {
        static const QMap<QString, InverseCurve> curves = {
            {"iec-si", InverseCurve::iecStandardInverse()},     {"iec-vi", InverseCurve::iecVeryInverse()},
            {"iec-ei", InverseCurve::iecExtremelyInverse()},    {"iec-lti", InverseCurve::iecLongTimeInverse()},
            {"ieee-mi", InverseCurve::ieeeModeratelyInverse()}, {"ieee-vi", InverseCurve::ieeeVeryInverse()},
            {"ieee-ei", InverseCurve::ieeeExtremelyInverse()},  {"dt", InverseCurve::definiteTime()},
        };
        const auto it = curves.find(v.trimmed().toLower());
        if (it == curves.end())
            return false;
        s.curve = it.value();
        return true;
    };
    return relayModel<S>(
        "inverse", "inverse-time overcurrent relay with an instantaneous stage",
        {{"channels", "watched current channels", channelsKey(&S::channels)},
         {"pickup", "pick-up current Is, A", numberKey(&S::pickupAmps, 0.0, kRelayValueLimit, true)},
         {"tms", "time multiplier", numberKey(&S::tms, 0.0, kRelayValueLimit, true)},
         {"curve", "one of iec-si iec-vi iec-ei iec-lti ieee-mi ieee-vi ieee-ei dt", curve},
         {"start", "timing starts at Is x this ratio", numberKey(&S::startRatio, 0.0, kRelayValueLimit, true)},
         {"inst", "instantaneous stage current, A (0: none)", numberKey(&S::instantaneousAmps, 0.0, kRelayValueLimit)},
         {"instdelay", "instantaneous stage delay, s", numberKey(&S::instantaneousDelaySeconds, 0.0, kRelayValueLimit)},
         {"dropoff", "resets below start level x this ratio (0..1]", numberKey(&S::dropoffRatio, 0.0, 1.0, true)},
         {"input", "binary input its contact closes", inputKey(&S::binaryInput)}},
        [](const S& s) { return std::make_shared<InverseTimeRelay>(s); });
}

}   // namespace zorsim
