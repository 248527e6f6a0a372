#pragma once

// Single-instance lock: "/var/run/<process_name>.pid" (a device path).

// 0: this process holds the lock (kept until the process ends); 1: another
// process holds it; -1: a bad name or a file error.
int _my_lockrun_instance(const char* process_name);
