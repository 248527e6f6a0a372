#pragma once

// Amplifier temperatures of the simulated instrument. Sensors 0 and 1 sit on
// the voltage amplifier, 2 and 3 on the current amplifier (1 and 3 at its
// hottest spot, 0 and 2 a little cooler). Each reads the ambient plus a rise
// that follows, with one time constant, the rise the present load and fan
// would settle at:
//   settled = load x risePerChannel x (1 - fanCooling x duty) x spot factor
// where load is the sum over the amplifier's channels of (value / full
// scale)^2 (the power each output delivers, relative to full scale) and
// duty the fan's speed as a share of its full scale. Time is handed in by
// the owner: nothing here reads a clock.

#include <array>

namespace zorsim {

struct ThermalConstants
{
    double ambientDegC = 25.0;
    double risePerChannelK = 40.0;     // settled rise, one channel at full scale, fan stopped
    double fanCooling = 0.6;           // share of the rise the fan takes away at full speed
    double timeConstantSeconds = 30.0;
};

class SimThermal
{
public:
    static constexpr int kSensors = 4;
    enum Amplifier { Voltage = 0, Current = 1 };

    explicit SimThermal(const ThermalConstants& constants = ThermalConstants());

    // Every sensor at the ambient (power-on); the ambient stays.
    void reset();
    // The temperatures move with the ambient at once (the rises stay).
    void setAmbient(double degC);
    double ambient() const { return k.ambientDegC; }

    // seconds of time with these loads (Amplifier order) and fan duty (0..1).
    void advance(double seconds, const std::array<double, 2>& loads, double fanDuty);
    double temperature(int sensor) const;

private:
    ThermalConstants k;
    std::array<double, kSensors> rise{};   // K above the ambient
};

} // namespace zorsim
