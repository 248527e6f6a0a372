#pragma once

// The time verdict of the modules that judge an action time against a setting
// time and a deviation (harmonic, state sequence, ramping).

#include <cmath>

namespace ViewVerdict {

// Allowance on the deviation, s: a time entered as 1.1 s for a setting of
// 1.0 s and a deviation of 0.1 s differs from the setting by 0.1 plus a
// rounding error of the doubles, and passes.
constexpr double kTimeAllowance = 1e-9;

// The action time lies within the deviation of the setting time (false for
// a time that is not a number).
inline bool timeWithin(double settingTime, double deviation, double actionTime)
{
    return std::isfinite(actionTime) && std::fabs(settingTime - actionTime) <= deviation + kTimeAllowance;
}

} // namespace ViewVerdict
