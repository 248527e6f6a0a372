#include "SimThermal.h"

#include <algorithm>
#include <cmath>

namespace zorsim {

namespace {
// Share of the amplifier's rise each sensor sees.
constexpr std::array<double, SimThermal::kSensors> kSpot = {0.9, 1.0, 0.9, 1.0};
} // namespace

SimThermal::SimThermal(const ThermalConstants& constants) : k(constants)
{
}

void SimThermal::reset()
{
    rise.fill(0.0);
}

void SimThermal::setAmbient(double degC)
{
    if (std::isfinite(degC))
        k.ambientDegC = degC;
}

void SimThermal::advance(double seconds, const std::array<double, 2>& loads, double fanDuty)
{
    if (!(seconds > 0.0))
        return;
    const double cooling = 1.0 - k.fanCooling * std::clamp(fanDuty, 0.0, 1.0);
    const double decay = std::exp(-seconds / k.timeConstantSeconds);
    for (int s = 0; s < kSensors; ++s) {
        const double load = std::max(0.0, loads[s < 2 ? Voltage : Current]);
        const double settled = load * k.risePerChannelK * cooling * kSpot[s];
        rise[s] = settled + (rise[s] - settled) * decay;
    }
}

double SimThermal::temperature(int sensor) const
{
    if (sensor < 0 || sensor >= kSensors)
        return k.ambientDegC;
    return k.ambientDegC + rise[sensor];
}

} // namespace zorsim
