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
#include <vector>

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
// A run the instrument steps through by itself: the states it may play,
// `written` (the pages of the run written in full so far) less the pages
// the testor ended (driverBaseEndSelfSteppedPage), which count as played.
// Past the last it holds the page it plays, ended: it never enters a page
// not yet written for this lap.
int driverBaseSendTestStatesWritten(uint32_t written);
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
// A run the instrument steps through by itself (0x8300 = 1): the page it
// plays ends now and it goes on to the next, that page counting as played
// (the state count is one less to play). The instrument is held from
// stepping while its page is read and moved on from, so the page ended is
// the one playing at the switch, however far the caller's count lags it.
// `*pagesOn`: how many pages on from ring page `from` that page is (0..7).
// A page `lastOn` or more pages on (the last state written, or the run's
// last) is left to play, as is a page the ring holds ended: *pagesOn tells
// the caller. The driver's result.
int driverBaseEndSelfSteppedPage(int from, int lastOn, int* pagesOn);
int driverBaseReadTestParameterData();
// The state register now (page and bit 15), into `word` only.
int driverBaseReadStateWord(DriverStateWord* word);

// ---- How long the pages of a run switched by software played ---------------
//
// Every software switch reads at once how long the instrument played the page
// it left (its played microseconds, register 0x84F2 + 4p: from its entry
// until the ring left it, the time it held the page past its end while the
// switch was late included), and notes the page here, in the order the run
// left them: the run's record places each page on the instrument's clock by
// these figures alone.
struct DriverLeftPage
{
    int page = -1;          // the ring page left
    int to = -1;            // the ring page entered (those between were skipped, never entered)
    int64_t playedUs = -1;  // how long it played, whole laps of the 32-bit count added; -1: not read
};
// The pages left since entry `next` of this run; `next` moves past them.
std::vector<DriverLeftPage> driverLeftPagesSince(size_t& next);
// The microseconds ring page `page` played (live while it plays or holds,
// else until it was left; modulo 2^32).
int driverBaseReadPlayedUs(int page, uint32_t* us);

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
// The binary outputs to bits 0-3 of `bits` under software control, whatever
// the page playing sets, until driverBaseReleaseTestBO() hands them back to
// the pages of the run.
int driverBaseSendTestBOBits(uint16_t bits);
int driverBaseReleaseTestBO();
// The binary outputs the instrument drives now (bits 0-3), into `bits` only.
int driverBaseReadPlayedBO(uint16_t* bits);

// ---- Status reads -----------------------------------------------------------

int driverBaseReadTestBIState();
int driverBaseReadTestBOState();
int driverBaseReadPAOTempState();
int driverBaseReadAlarmState();
int driverBaseReadActionTimes();

// ---- Where a run the instrument steps through is ----------------------------
//
// Pass after pass the polling loop reads where the instrument is
// (driverBaseFollowRing); driverRingPagesEnded takes from those reads the
// pages that ended since the pass before, each with the time it played from
// the instrument's own figures:
// - a page the ring left (on its time, a trip, a key, a timed pulse or the
//   testor's switch, driverBaseEndSelfSteppedPage): the microseconds it
//   played from its entry until the ring left it (register 0x84F2 + 4p),
//   with the whole laps of that 32-bit count added;
// - the page the ring holds, ended (the last one the state count lets it
//   play): its elapsed ticks, which stop as it ends.

// What one pass read.
struct DriverRingReads
{
    DriverStateWord state;       // the same on both sides of the elapsed read
    uint32_t elapsedTicks = 0;   // how long the page of `state` has played (ended: until it ended)
    int64_t atUs = 0;            // the elapsed read, on the monotonic clock (zoplat::monotonicUs)
    // The microseconds each page played (modulo 2^32): of the pages that
    // ended since the pass before, until the ring left them; of the page
    // the ring holds, until now (its hold included).
    uint32_t playedUs[DriverStateWord::kPages] = {};
};

// Where the instrument was at the pass before: its state word (a run begins
// on page 0) and, while that page plays, how long it had played then.
struct DriverRingPosition
{
    DriverStateWord state;
    bool anchored = false;        // playedSeconds and atUs hold a read of the page of `state`
    double playedSeconds = 0.0;
    int64_t atUs = 0;
    // The page of `state` ended and held: how long the ring has held it past
    // its end, us; -1 while it is not held.
    int64_t heldUs = -1;
};

struct DriverEndedPage
{
    int page = 0;
    double seconds = std::numeric_limits<double>::quiet_NaN();   // how long it played; NaN: not known
};

// The pages that ended from `position` to `reads`, oldest first; `position`
// moves on to `reads`. `rate`: ticks per second (not 0).
std::vector<DriverEndedPage> driverRingPagesEnded(DriverRingPosition& position, const DriverRingReads& reads,
                                                  uint32_t rate);

// One pass: reads where the instrument is and the pages that ended since
// `position`, and gives them (driverRingPagesEnded). Where the state
// register changed during the reads, nothing is given and `position` stays:
// the next pass reads again. 0 on success.
int driverBaseFollowRing(DriverRingPosition& position, std::vector<DriverEndedPage>& ended);

// The seconds of an action stamp (us since its page began, modulo 2^32)
// with the whole laps added that bring it nearest `estimateSeconds` (how
// long the page had played when the stamp was read, or an upper bound of
// it within half a lap, 35 min); the stamp alone for an estimate that is
// not a number or not past it.
double driverStampSeconds(uint32_t stampUs, double estimateSeconds);

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

constexpr int DRIVER_PAGE_COUNT = DriverStateWord::kPages;
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
// The action reads date the pages on the monotonic clock (us), for the laps
// of their 32-bit microsecond stamps: when the last read began, the page it
// found playing, and for each page a time no later than its start (the read
// before the one that found it entered; the reset, for the first pages).
extern std::atomic<int64_t> localActionReadUs;
extern std::atomic<int> localActionPlayingPage;
extern std::atomic<int64_t> localActionPageSinceUs[DRIVER_PAGE_COUNT];
// The inputs the action the last read found changed, with the edge each
// made: bits 2i..2i+1 for input i, 1 rising, 2 falling (0: unchanged). The
// status record keeps one of them (statusTestActionIndex).
extern std::atomic<uint8_t> localActionEdges;
// The pages of this run driverBaseEndSelfSteppedPage ended before their
// time (the state count lowered for each).
extern std::atomic<int> localStatesCut;

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
