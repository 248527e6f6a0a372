#pragma once

// The test clock and its time reference (GNSS or IRIG-B): configuration from
// the engine, the synchronisation step of the querying loop, and the copy of
// the clock state into globalClockStatusData.
//
// Applying a configuration and each synchronisation step hold one mutex, so
// the pulse list and the FPGA time latch are never used by two threads at
// once. driverUpdateClockEnabled (driverbase.h) is 1 while a configuration is
// being applied; the synchronisation step is skipped meanwhile.

#include <cstdint>

// Allocates the GNSS record and the clock blocks, puts in the clock defaults
// and starts the GNSS thread; 0, or -1 when the thread could not be started.
int driverInitClockConfig();

// Selects the time reference (lower_clock_refsrc_type) and the external
// trigger input and output; the pulse list is emptied. Returns 0.
int driverUpdateClockConfig(uint32_t refsrc, uint32_t inType, uint32_t inPolarity,
                            uint32_t outType, uint32_t outPolarity);

// Applies the pulse list of globalClockPPXData (at most 64 entries are used):
// sorted, pulses not after the FPGA's present second dropped. Returns 0.
int driverUpdateClockPPXConfig();

// One synchronisation step (unless a configuration is being applied), then
// the clock state into globalClockStatusData. Returns 0.
int driverUpdateClockSyncTime();
