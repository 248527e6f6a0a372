#pragma once

// System time, reboot and file commands. Commands go to the platform's
// runner; file commands are done with file calls (no shell), on device paths.

#include "zobase_mytype.h"

// Sets the time zone (minutes west = (int)(*zone * 60), no daylight flag)
// and/or the clock (seconds since the epoch); null skips either. Then always
// runs "hwclock -w" and "date". The readers below include the host build's
// in-process clock offset.
void _my_system_settime(u32* seconds, f32* zone);
u64 _my_system_getclocktime_nanosecond();
u64 _my_system_gettimeofday_microsecond();
u32 _my_system_gettime_second();
u64 _my_system_getnowmstime();
// Prints "rebootsys" and runs "reboot &".
void _my_system_reboot();
// As "cp -f from to" then "sync".
void _my_system_cpfile(const char* from, const char* to);
// As "rm -f fileName" (then "sync" when that succeeded): the summed codes, 0 = success.
s32 _my_system_rmfile(const char* fileName);
// As "mkdir -p dirName" (then "sync" when that succeeded): the summed codes, 0 = success.
s32 _my_system_mkdir(const char* dirName);
