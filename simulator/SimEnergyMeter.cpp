#include "SimEnergyMeter.h"

#include "SimRelayRegistry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorsim {

namespace {

constexpr double kJoulesPerKwh = 3.6e6;
constexpr double kPi = 3.14159265358979323846;

// Frequency ramp of component k of channel c: (rate, duration), zero without one.
std::pair<double, double> frequencyRamp(const Channel& ch, int k)
{
    if (k != 0 || ch.ramp.kind != RampKind::Frequency)
        return {0.0, 0.0};
    return {ch.ramp.ratePerSecond, ch.ramp.durationSeconds};
}

}   // namespace

EnergyMeter::EnergyMeter(EnergyMeterSettings settings)
    : config(std::move(settings))
{
    const double rate = config.impulsesPerKwh * (1.0 + config.error);
    quantumJ = rate > 0.0 && std::isfinite(rate) ? kJoulesPerKwh / rate : 0.0;
}

std::vector<int64_t> EnergyMeter::pulseTimes() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return pulses;
}

double EnergyMeter::powerWatts() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return lastPower;
}

void EnergyMeter::disconnect(int64_t)
{
    haveSeen = false;
    plannedNs = -1;
}

std::vector<EnergyMeter::Term> EnergyMeter::termsOf(const PlayedOutputs& out) const
{
    std::vector<Term> terms;
    for (const auto& [v, i] : config.phases) {
        if (v < 0 || v >= kChannels || i < 0 || i >= kChannels)
            continue;
        const Channel& vc = out.page.channels[v];
        const Channel& ic = out.page.channels[i];
        for (int kv = 0; kv < static_cast<int>(vc.components.size()); ++kv) {
            for (int ki = 0; ki < static_cast<int>(ic.components.size()); ++ki) {
                const Component& a = vc.components[kv];
                const Component& b = ic.components[ki];
                const auto rampV = frequencyRamp(vc, kv);
                const auto rampI = frequencyRamp(ic, ki);
                if (std::fabs(a.frequencyHz - b.frequencyHz) > 1e-6 || std::fabs(rampV.first - rampI.first) > 1e-9
                    || std::fabs(rampV.second - rampI.second) > 1e-9)
                    continue;
                Term t;
                t.voltage = amplitudeTrack(out, v, kv);
                t.current = amplitudeTrack(out, i, ki);
                if (!t.voltage.live || !t.current.live)
                    continue;
                t.dc = a.dc && b.dc;
                // Played phases (the output errors may shift them).
                const double shift = (t.voltage.at(0.0).phaseDeg - t.current.at(0.0).phaseDeg) * kPi / 180.0;
                t.cosine = std::cos(shift);
                t.sine = std::sin(shift);
                terms.push_back(t);
            }
        }
    }
    return terms;
}

double EnergyMeter::powerAt(const std::vector<Term>& terms, double s) const
{
    double p = 0.0;
    double q = 0.0;
    auto signedDc = [](const Component& c) { return c.amplitude * std::sin(c.phaseDeg * kPi / 180.0); };
    for (const Term& t : terms) {
        if (t.dc) {
            p += signedDc(t.voltage.at(s)) * signedDc(t.current.at(s));
        } else {
            const double vi = t.voltage.value(s) * t.current.value(s);
            p += vi * t.cosine;
            q += vi * t.sine;
        }
    }
    switch (config.quantity) {
    case MeterQuantity::Reactive: return q;
    case MeterQuantity::Apparent: return std::hypot(p, q);
    case MeterQuantity::Active: break;
    }
    return p;
}

void EnergyMeter::evaluate(int64_t now, const PlayedOutputs& out, Wake& wake)
{
    auto imported = [this](const std::vector<Term>& terms) {
        return [this, &terms](double s) { return std::max(0.0, powerAt(terms, s)); };
    };
    const double tol = quantumJ * 1e-12;

    // Energy since the last evaluation, under the outputs played meanwhile.
    if (haveSeen && now > lastNs)
        residualJ += integrate(imported(seenTerms), pageSeconds(seen, lastNs), pageSeconds(seen, now), tol);
    seen = out;
    seenTerms = termsOf(seen);   // its tracks refer to the copy
    lastNs = now;
    haveSeen = true;
    const double s = pageSeconds(out, now);
    lastPower = powerAt(seenTerms, s);
    if (!(quantumJ > 0.0))
        return;

    if (plannedNs >= 0 && now >= plannedNs && residualJ < quantumJ)
        residualJ = quantumJ;   // due by the plan; the integral's round-off is below a ns of power
    plannedNs = -1;
    while (residualJ >= quantumJ * (1.0 - 1e-12)) {
        residualJ -= quantumJ;
        pulses.push_back(now);
        ctx->energyPulse();
    }

    // The next pulse under these outputs, if before the power changes shape.
    const double remaining = quantumJ - residualJ;
    bool moving = false;
    double end = std::numeric_limits<double>::infinity();
    for (const Term& t : seenTerms) {
        for (const Track* track : {&t.voltage, &t.current}) {
            if (track->movesWithin(s, end)) {
                moving = true;
                end = std::min(end, track->rampEnd);
            }
        }
    }
    if (!moving) {
        if (lastPower > 0.0)
            plannedNs = std::max(now + 1, pageNs(out, s + remaining / lastPower));
    } else {
        if (const auto at = solveIntegral(imported(seenTerms), s, end, remaining, tol))
            plannedNs = std::max(now + 1, pageNs(out, *at));
        wake.at(std::max(now + 1, pageNs(out, end)));
    }
    if (plannedNs >= 0)
        wake.at(plannedNs);
}

RelayModelEntry energyMeterModel()
{
    using S = EnergyMeterSettings;
    const RelaySetter<S> kind = [](S& s, const QString& v) {
        const QString name = v.trimmed().toLower();
        if (name == QLatin1String("active"))
            s.quantity = MeterQuantity::Active;
        else if (name == QLatin1String("reactive"))
            s.quantity = MeterQuantity::Reactive;
        else if (name == QLatin1String("apparent"))
            s.quantity = MeterQuantity::Apparent;
        else
            return false;
        return true;
    };
    return relayModel<S>(
        "energy", "energy meter pulsing into the pulse input",
        {{"constant", "meter constant, impulses per kWh (kvarh, kVAh)",
          numberKey(&S::impulsesPerKwh, 0.0, kRelayValueLimit, true)},
         {"error", "relative error it registers (-0.5..0.5)", numberKey(&S::error, -0.5, 0.5)},
         {"kind", "energy it registers: active, reactive or apparent", kind}},
        [](const S& s) { return std::make_shared<EnergyMeter>(s); });
}

}   // namespace zorsim
