#pragma once

// The lower clock: the FPGA's UTC time base, its time reference (GNSS or one
// of two IRIG-B inputs), the IRIG-B output, the timed pulses (PPX) and the
// external trigger configuration, all over the register link.
//
// One configuration block and one status block, process-wide, reached
// through lower_clock_config_handle and lower_clock_status_handle (null
// before drv_clock_init_handle). The blocks take no lock of their own: the
// caller (driverclock.cpp) serialises configuration and synchronisation.
//
// Register failures are not reported: operations return nothing or keep the
// last value; a failed IRIG-B read gives time 0 (no new second).

#include "zobase_mytype.h"

#include <ctime>

// ---- Configuration ----------------------------------------------------------

enum lower_clock_update_mask_type {
    LOWER_CLOCK_UPDATE_MASK_TYPE_TIME_SEC = 1,
    LOWER_CLOCK_UPDATE_MASK_TYPE_TIMEZONE = 2,
    LOWER_CLOCK_UPDATE_MASK_TYPE_CLOCKREF = 4,
    LOWER_CLOCK_UPDATE_MASK_TYPE_PPX = 8,
    LOWER_CLOCK_UPDATE_MASK_TYPE_EIOTRIG = 16,
    LOWER_CLOCK_UPDATE_MASK_TYPE_ALL = 0xFFFF,
};

enum lower_clock_refsrc_type {
    LOWER_CLOCK_REFSRC_TYPE_GPS = 0,
    LOWER_CLOCK_REFSRC_TYPE_IRIG_BF = 1,
    LOWER_CLOCK_REFSRC_TYPE_IRIG_BE = 2,
    LOWER_CLOCK_REFSRC_TYPE_INVALID = 3,
};

enum lower_clock_etrigger_mask_type {
    LOWER_CLOCK_ETRIGGER_MASK_TYPE_INTYPE = 1,
    LOWER_CLOCK_ETRIGGER_MASK_TYPE_INPOLARITY = 2,
    LOWER_CLOCK_ETRIGGER_MASK_TYPE_OUTTYPE = 4,
    LOWER_CLOCK_ETRIGGER_MASK_TYPE_OUTPOLARITY = 8,
    LOWER_CLOCK_ETRIGGER_MASK_TYPE_ALL = 0xFFFF,
};

enum lower_clock_etrigger_in_type {
    LOWER_CLOCK_ETRIGGER_IN_TYPE_TIME = 0,
    LOWER_CLOCK_ETRIGGER_IN_TYPE_EXTERNIN = 1,
};

enum lower_clock_etrigger_polarity_type {
    LOWER_CLOCK_ETRIGGER_POLARITY_TYPE_FALLINGEDGE = 0,
    LOWER_CLOCK_ETRIGGER_POLARITY_TYPE_RISINGEDGE = 1,
};

enum lower_clock_etrigger_out_type {
    LOWER_CLOCK_ETRIGGER_OUT_TYPE_TIME = 0,
    LOWER_CLOCK_ETRIGGER_OUT_TYPE_SECONDPULSE = 1,
    LOWER_CLOCK_ETRIGGER_OUT_TYPE_MINUTEPULSE = 2,
    LOWER_CLOCK_ETRIGGER_OUT_TYPE_EX_AMP_LEVEL = 3,
};

enum lower_clock_run_state_type {
    LOWER_CLOCK_RUN_STATE_TYPE_IDEL = 0,
    LOWER_CLOCK_RUN_STATE_TYPE_START = 1,
};

// Timed pulse states: 0 pending, VALID expired, READY bit armed in the FPGA.
constexpr u32 LOWER_CLOCK_PPX_STATE_TYPE_VALID = 1;
constexpr u32 LOWER_CLOCK_PPX_STATE_TYPE_READY = 2;
constexpr int LOWER_CLOCK_PPX_MAX_COUNT = 64;

// Default UTC seconds to set (2023-10-01 00:00:00 UTC).
constexpr u32 LOWER_CLOCK_DEFAULT_STIME = 1696118400;

struct lower_clock_config
{
    u32 update_enable;      // 1 = a change is pending
    u32 update_mask;        // lower_clock_update_mask_type bits
    u32 clk_refsrc;         // lower_clock_refsrc_type
    f32 clk_timezone;       // hours
    u32 clk_stime;          // UTC seconds to set
    s32 ppx_count;
    u32 ppx_states[LOWER_CLOCK_PPX_MAX_COUNT];
    u32 ppx_stimes[LOWER_CLOCK_PPX_MAX_COUNT];       // UTC seconds
    u32 ppx_pretrigcts[LOWER_CLOCK_PPX_MAX_COUNT];
    u32 etrigger_mask;      // lower_clock_etrigger_mask_type bits
    u32 etrigger_in_type;
    u32 etrigger_in_polarity;
    u32 etrigger_out_type;
    u32 etrigger_out_polarity;
};

struct lower_clock_status
{
    u32 clk_syn_state;      // 1 = FPGA time base synchronised (0x8126 bit 3)
    u32 clk_run_state;      // lower_clock_run_state_type
    u32 clk_run_clock;      // the reference in use, as clk_refsrc
    u32 clk_run_pretime;    // last reference second used
    u32 clk_run_predate;
    u32 clk_irigb_utctime;  // last IRIG-B second, 0 while no IRIG-B signal
};

extern lower_clock_config* lower_clock_config_handle;
extern lower_clock_status* lower_clock_status_handle;

// ---- FPGA clock registers ---------------------------------------------------

constexpr u16 DRV_CLOCK_REG_REFSELECT = 0x8100;
constexpr u16 DRV_CLOCK_REG_REFSTATE_HIGH = 0x8102;
constexpr u16 DRV_CLOCK_REG_REFSTATE_LOW = 0x8104;
constexpr u16 DRV_CLOCK_REG_IRIGB_IN = 0x8106;      // nine words
constexpr u16 DRV_CLOCK_REG_DPLFREQ = 0x8118;       // 32 bits
constexpr u16 DRV_CLOCK_REG_SYNCSTATE = 0x8126;
constexpr u16 DRV_CLOCK_REG_LOAD = 0x8128;
constexpr u16 DRV_CLOCK_REG_LOAD_TIME = 0x812A;     // 32 bits
constexpr u16 DRV_CLOCK_REG_LATCH = 0x8134;
constexpr u16 DRV_CLOCK_REG_LATCHED = 0x8136;       // sub-second count, then seconds
constexpr u16 DRV_CLOCK_REG_PPX_ARM = 0x813E;
constexpr u16 DRV_CLOCK_REG_PPX_TIME = 0x8140;      // 32 bits
constexpr u16 DRV_CLOCK_REG_PPX_PRETRIG = 0x8144;
constexpr u16 DRV_CLOCK_REG_IOTRIG = 0x8146;
constexpr u16 DRV_CLOCK_REG_IRIGB_OUT = 0x8148;     // nine words
constexpr int DRV_CLOCK_IRIGB_WORDS = 9;

constexpr u16 DRV_CLOCK_REFSELECT_GPS = 0x0C03;
constexpr u16 DRV_CLOCK_REFSELECT_IRIG_BF = 0x0D03;
constexpr u16 DRV_CLOCK_REFSELECT_IRIG_BE = 0x0E03;
constexpr u32 DRV_CLOCK_REFSTATE_IRIGB_PRESENT = 0x8000;   // bit 15
constexpr u32 DRV_CLOCK_REFSTATE_GPS_BUSY = 0x30000;       // bits 16-17
constexpr u16 DRV_CLOCK_SYNCSTATE_BIT = 0x0008;

// ---- Blocks -----------------------------------------------------------------

// Allocates both blocks zeroed (kept when they exist); prints "drv_clock_init_handle".
int drv_clock_init_handle();
// Frees both blocks (handles back to null).
void drv_clock_release_handle();
// Puts the defaults into the configuration block (not applied).
void drv_clock_init_config();
// Applies a pending configuration: system time and zone, pulse list,
// trigger register, reference select; then clears the mask and the flag.
void drv_clock_update_config();
// One synchronisation step against the selected reference.
void drv_clock_update_synclock();

// ---- Register-level operations ----------------------------------------------

// Reference state: 0x8102 in the high half, 0x8104 in the low half (0 on failure).
u32 drv_clock_get_refstate();
// 1 when the FPGA time base is synchronised (0x8126 bit 3); -1 when the read failed.
s32 drv_clock_get_syncstate();
// UTC seconds of the decoded IRIG-B input; 0 on a failed read or invalid words.
time_t drv_clock_get_irigb_time();
// Latches the FPGA time and reads the sub-second count and the UTC seconds;
// 0 on success, else non-zero with the outputs untouched.
int drv_clock_get_pl_time(u32* subcount, u32* seconds);
// Counts per second of the FPGA's disciplined oscillator (0 on failure).
u32 drv_clock_get_pl_dplfreq();
// Loads the FPGA time with UTC seconds.
int drv_clock_set_pl_time(u32 seconds);
// Writes the IRIG-B output words for the second after seconds (UTC).
int drv_clock_set_irigb_output(u32 seconds);
// Resets, sorts and filters the pulse list against the FPGA time.
void drv_clock_filter_ppx();
// Expires passed pulses and arms the next one (or disarms) at FPGA second seconds.
void drv_clock_push_ppx(u32 seconds);
// Read-modify-write of the trigger register for the bits of etrigger_mask.
int drv_clock_update_iotrigset();
// Selects clk_refsrc in the FPGA and starts the run state.
void drv_clock_set_refselect();
// Copies ppx_pretrigcts[0] to every pulse and writes it to 0x8144 (not used by the system).
int drv_clock_update_pretrigcts();
// FPGA time as seconds and microseconds; -1 when the count per second is 0
// (not used by the system).
int drv_clock_get_syst_time(u32* seconds, u32* microseconds);

// ---- IRIG-B words -----------------------------------------------------------

// Decodes nine IRIG-B input words into UTC seconds; 0 when a BCD digit is
// above 9 or a field is out of range (second 0-60, minute 0-59, hour 0-23,
// day 1-365 or 366 in a leap year).
time_t drv_clock_decode_irigb(const u16 words[DRV_CLOCK_IRIGB_WORDS]);
// The nine IRIG-B output words for UTC seconds (the caller adds the second ahead).
void drv_clock_encode_irigb(time_t seconds, u16 words[DRV_CLOCK_IRIGB_WORDS]);
// Gregorian leap year.
int drv_clock_is_leap_year(int year);

// ---- GNSS seconds -----------------------------------------------------------

// Where the synchronisation step takes GNSS time from: the seconds source
// (default gps_sync_get_utcseconds) and the "receiver configuration pending"
// test (default gps_sync_config_pending). Null restores a default.
typedef time_t (*drv_clock_gnss_seconds_fn)(int withOffset);
typedef int (*drv_clock_gnss_pending_fn)();
void drv_clock_set_gnss_source(drv_clock_gnss_seconds_fn seconds, drv_clock_gnss_pending_fn pending);
