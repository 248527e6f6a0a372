#pragma once

// Shared by the GNSS module's files only.

#include <cstdint>

// True while the record exists and its thread is meant to run.
bool gps_sync_running();
// A product wait (zoplat::sleepMs); false when the thread is being stopped,
// so long configuration sequences end early.
bool gps_pause(int64_t ms);
// A short real-time nap of some microseconds (pacing only).
void gps_nap_us(int us);
// printf to standard output, flushed.
void gps_print(const char* format, ...) __attribute__((format(printf, 1, 2)));
