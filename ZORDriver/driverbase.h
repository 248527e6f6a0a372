#pragma once

// The driver: free functions over the records of CommDriverData.h, writing
// and reading the instrument's FPGA through the register link. Every
// operation returns int: 0 when every frame succeeded, otherwise non-zero
// (the sum of the link results, -1 per failed frame).

#include "CommDriverData.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>

// ---- Start-up and release ---------------------------------------------------

// Allocates and defaults the records (records that already exist are kept),
// opens the low-level output stage, sets up the register link and, until it
// has once succeeded, the test clock; builds the sine table.
// 0 on success, else the sum of the link and clock results.
int driverBaseInit();
// Releases the register link and frees the records (pointers back to null).
int driverBaseRelease();

// ---- Output pages -----------------------------------------------------------

// Encodes the output record into the current page of the ring.
// zeroValue: silence (all amplitudes 0, duration zeroOutputTime);
// bocurrent: the binary outputs start the page in their present state.
int driverBaseSendTestParameterData(bool zeroValue, bool bocurrent);
// Derives the DC-simulation fields of the output record from decayDefine.
void driverBaseSetTestCloseDefine();
int driverBaseSendTestStateCount();
int driverBaseResetUpdateOffset();
int driverBaseSwitchUpdateOffset();
// Switches the instrument (software page switching) to the page the switch
// names, at once, past any page between (they are not entered).
int driverBaseSendTestSwitchState();
// The polling loop's switch: a page that has ended goes on to the page after
// it, and only when the switch names a page other than it (else it is held);
// never to a page further ahead. `ended` is the page the state register
// showed ended; the register is read again under the switch, so a switch made
// meanwhile (driverBaseSendTestSwitchState) is never undone. 0 when nothing
// was to be done.
int driverBaseSwitchEndedPage(int ended);
int driverBaseReadTestParameterData();

// ---- Configuration ----------------------------------------------------------

int driverBaseReadConfigureHardData();
int driverBaseSendConfigureHardData();
int driverBaseSendConfigureFanSpeed(uint32_t percent);
int driverBaseSendConfigureSoftData();

// ---- Power, run, trigger and binary outputs ---------------------------------

int driverBaseSendTestControlPower();
int driverBaseSendTestControlRun();
int driverBaseSendTestKeyTrigger();
int driverBaseSendTestBOState();

// ---- Status reads -----------------------------------------------------------

int driverBaseReadTestBIState();
int driverBaseReadTestBOState();
int driverBaseReadPAOTempState();
int driverBaseReadAlarmState();
int driverBaseReadActionTimes();
int driverBaseReadTestStateIndex();
int driverBaseReadTestStateTime();
int driverBaseReadBinaryInputTimes();

// How long a page of the ring played, once it has ended, from the
// instrument's own figures: a time page the ticks it was written with; a
// page a trip ended (binary, or time-or-binary before its time was up) the
// trip's stamp, debounce included (the page ended then). A page ended by a
// key or a timed pulse has no such figure: `seconds` is NaN. The page must
// not have been entered or written again since it ended.
struct DriverPageTime
{
    double seconds = std::numeric_limits<double>::quiet_NaN();
};
int driverBaseReadPageTime(int page, DriverPageTime& time);

// The page playing, read twice around its elapsed-ticks register: `settled`
// when both reads of the state register agree, and then `elapsedSeconds` is
// how long that page has played (held: until it ended) and `atUs` the
// monotonic time (zoplat::monotonicUs) of the elapsed read.
struct DriverPagePlaying
{
    bool settled = false;
    uint16_t stateWord = 0;
    double elapsedSeconds = 0.0;
    int64_t atUs = 0;
};
int driverBaseReadPagePlaying(DriverPagePlaying& playing);

// ---- Energy-meter pulses ----------------------------------------------------

int driverBaseSendTestPulse();
int driverBaseReadTestPulse();
int driverBaseSendTestPluseRun();
int driverBaseReadTestPluseState();
int driverBaseResetTestPluseState();

// ---- Operating system -------------------------------------------------------

// Power-stage script: mode 0 low-level stage, 1 power-amplifier stage, any
// other mode closes the low-level stage. Returns the script's exit status.
int drv_system_setsysmode(uint32_t mode, int open);
// CPU governor (0 performance, 1 powersave, 2 userspace, 3 ondemand,
// 4 conservative); not used by the system.
int drv_system_setcpumode(uint32_t mode);
// Current CPU frequency, 1000000000 when it cannot be read.
int drv_system_getcpufrq();

// ---- Driver-private state ---------------------------------------------------

constexpr int DRIVER_PAGE_COUNT = 8;
constexpr uint16_t DRIVER_PAGE_SIZE = 768;
constexpr int DRIVER_SINX_STEPS = 768;

extern std::atomic<int> localOutputUpdateOffset;   // page to write next, 0..7
// Page the software switch names, 0..7: the page to write as the offset
// advances; a run that writes pages ahead names the one due.
extern std::atomic<int> localOutputSwitchOffset;
extern std::atomic<int> driverUpdateClockEnabled;   // 1 while a clock configuration is applied
extern float local_const_sinx_table[DRIVER_SINX_STEPS + 1];
// The first page the action reads have not yet read as left by the ring
// since the test was reset; -1 before the first read.
extern std::atomic<int> localActionLeftFrom;
// Software page switching: the page the instrument was last switched to (0
// after the reset, where a run begins), so the page it plays or holds; and
// the pages it was switched past without entering them (bit p for page p),
// whose action records are of an earlier lap of the ring.
extern std::atomic<int> localOutputPlayingOffset;
extern std::atomic<unsigned> localOutputSkippedPages;

// Float-to-integer conversion of every driver field: truncates toward zero,
// saturates at the limits of T, and gives 0 for NaN.
template <typename T>
inline T driverSaturate(double value)
{
    static_assert(std::numeric_limits<T>::is_integer, "integer target");
    if (std::isnan(value))
        return 0;
    constexpr double lo = double(std::numeric_limits<T>::min());
    constexpr double hi = double(std::numeric_limits<T>::max());
    if (value <= lo)
        return std::numeric_limits<T>::min();
    if (value >= hi)
        return std::numeric_limits<T>::max();
    return static_cast<T>(value);
}

// A time the instrument counts in whole units (ticks, microseconds): to the
// nearest unit (halves away from zero), saturating as driverSaturate.
template <typename T>
inline T driverRound(double value)
{
    return driverSaturate<T>(std::round(value));
}

// The ticks a page of `seconds` lasts at `rate` Hz: to the nearest tick, and
// at least one (a page of no time ends one tick after it began).
inline uint32_t driverPageTicks(double seconds, uint32_t rate)
{
    const uint32_t ticks = driverRound<uint32_t>(seconds * double(rate));
    return ticks == 0 ? 1 : ticks;
}

// A time the instrument takes in microseconds (binary-output hold and turn
// times, the debounce time): to the nearest microsecond.
inline uint32_t driverMicroseconds(double seconds)
{
    return driverRound<uint32_t>(seconds * 1e6);
}
