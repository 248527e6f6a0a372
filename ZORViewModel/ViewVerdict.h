#pragma once

// The time verdict of every module that judges an action time against a
// window (overcurrent, distance, harmonic, state sequence, ramping), and the
// refusals that compare a page's time with a window's end. Times are
// compared in the instrument's stamps, each rounded to the nearest: a time
// that shows as a limit lies in the window, whatever the rounding of the
// float it came in or of the sums the limit was made of.

#include "driverbase.h"

#include <cmath>
#include <cstdint>

namespace ViewVerdict {

// The instrument stamps actions in microseconds (driverMicroseconds).
constexpr double kStampsPerSecond = 1e6;

// A time in the instrument's stamps (saturating; 0 for NaN).
inline int64_t stampsOf(double seconds)
{
    return driverRound<int64_t>(seconds * kStampsPerSecond);
}

// The action time lies in [low, high] (false where any is not a number, or
// the time is infinite).
inline bool timeInWindow(double low, double high, double actionTime)
{
    if (std::isnan(low) || std::isnan(high) || !std::isfinite(actionTime))
        return false;
    const int64_t t = stampsOf(actionTime);
    return stampsOf(low) <= t && t <= stampsOf(high);
}

// The action time lies within the deviation of the setting time (a
// negative deviation admits none).
inline bool timeWithin(double settingTime, double deviation, double actionTime)
{
    return timeInWindow(settingTime - deviation, settingTime + deviation, actionTime);
}

// a is shorter than b, as the instrument tells them apart.
inline bool shorter(double a, double b)
{
    return stampsOf(a) < stampsOf(b);
}

// The decimals (3 to 6) that show a time to the stamp: 3 for whole
// milliseconds, more where the time has finer digits, so a time shown
// beside a limit reads on the side of it the comparison puts it.
inline int decimalsOf(double seconds)
{
    int64_t unit = 1000;
    int decimals = 3;
    const int64_t stamps = stampsOf(std::fabs(seconds));
    while (decimals < 6 && stamps % unit != 0) {
        unit /= 10;
        ++decimals;
    }
    return decimals;
}

} // namespace ViewVerdict
