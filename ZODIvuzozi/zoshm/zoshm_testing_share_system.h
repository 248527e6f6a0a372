#pragma once

// What differs between the builds around the segments (one file per build):
// the device removes a key by the "ipcrm" command and keeps its segments
// when the process ends; the host records the command, removes the key with
// a system call, and removes at exit the segments this process created.

#include <sys/types.h>

// After "ipcrm -M <key>" went to the runner: make sure the key is gone.
void shm_system_removed_key(key_t key);
// A segment was attached under this id.
void shm_system_attached(int id);
