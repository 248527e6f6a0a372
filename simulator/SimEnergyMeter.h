#pragma once

// An energy meter under test: it registers the active (or reactive, or
// apparent) energy of the played outputs and sends one pulse to the instrument's energy-meter pulse input
// (DutContext::energyPulse) per 1 / (impulsesPerKwh x (1 + error)) kWh, so
// an energy test that counts its pulses against the played power measures
// `error`. With 1000 W, 1000 imp/kWh and no error it pulses every 3.6 s.
//
// Active power: the sum over the (voltage, current) channel pairs of
// V x I x cos(phase V - phase I) for every pair of AC components of the same
// frequency (within 1e-6 Hz, and following the same frequency ramp, if any),
// plus V x I of DC components (each magnitude x sin(phase), as the
// synthesiser plays them); components of different frequencies carry no mean
// power. Values are as played: along their ramps and through the
// instrument's output errors. The stages' DC offsets and a decaying DC
// component are not counted. Reactive power: the same sum with
// sin(phase V - phase I) (positive for lagging currents), DC carries none.
// Apparent power: |P + jQ| of those sums, so a three-wire connection of two
// elements sees sqrt(3) U I. The meter registers imported energy only: while
// the total power is negative nothing is registered. Energy is integrated from the
// played values at each change; the next pulse is one deadline, so nothing
// is pending while no power flows. The first pulse comes one full step after
// the meter is plugged in.

#include "SimDutSupport.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zorsim {

struct RelayModelEntry;

enum class MeterQuantity
{
    Active,
    Reactive,
    Apparent,
};

struct EnergyMeterSettings
{
    MeterQuantity quantity = MeterQuantity::Active;
    double impulsesPerKwh = 1000.0;                                       // meter constant; <= 0: never pulses
    double error = 0.0;                                                   // relative: +0.01 registers 1 % too much
    std::vector<std::pair<int, int>> phases = {{0, 4}, {1, 5}, {2, 6}};   // (voltage, current) channels
};

class EnergyMeter : public DutBase
{
public:
    explicit EnergyMeter(EnergyMeterSettings settings);

    std::string name() const override { return "energy meter"; }

    const EnergyMeterSettings& settings() const { return config; }
    // Energy per pulse, J (3.6e6 / (impulsesPerKwh x (1 + error))).
    double pulseEnergyJoules() const { return quantumJ; }
    // Simulator times (ns) of the pulses sent.
    std::vector<int64_t> pulseTimes() const;
    // Power (W, var or VA) at the last evaluation.
    double powerWatts() const;

protected:
    void evaluate(int64_t nowNs, const PlayedOutputs& out, Wake& wake) override;
    void disconnect(int64_t nowNs) override;

private:
    // One matched component pair of a phase: V(s) x I(s) x cosine (sine)
    // for AC, the product of the signed values for DC.
    struct Term
    {
        Track voltage;
        Track current;
        bool dc = false;
        double cosine = 0.0;
        double sine = 0.0;
    };
    std::vector<Term> termsOf(const PlayedOutputs& out) const;
    double powerAt(const std::vector<Term>& terms, double s) const;

    EnergyMeterSettings config;
    double quantumJ = 0.0;
    double residualJ = 0.0;   // registered since the last pulse
    PlayedOutputs seen;
    std::vector<Term> seenTerms;
    int64_t lastNs = 0;
    bool haveSeen = false;
    int64_t plannedNs = -1;
    double lastPower = 0.0;
    std::vector<int64_t> pulses;
};

// Its entry in the relay model registry (SimRelayRegistry.h).
RelayModelEntry energyMeterModel();

}   // namespace zorsim
