#pragma once

// What differs between the builds around the segments (one file per build):
// the device removes a key by the "ipcrm" command and keeps its segments
// when the process ends; the host records the command, removes the key with
// a system call, and removes at exit the segments this process created or
// took over from a process that had ended.

#include <sys/types.h>

struct shmid_ds;

// After "ipcrm -M <key>" went to the runner: make sure the key is gone.
void shm_system_removed_key(key_t key);
// A segment was attached under this id, or is detached again.
void shm_system_attached(int id);
void shm_system_detached(int id);
// Whether the creator of a segment holds it although nothing is attached:
// host, a creator that still runs (it removes the segment when it exits);
// device, never (segments outlive their creator, to be attached again).
bool shm_system_creator_holds(const shmid_ds& ds);
// Removes now what the exit would remove (host: the segments this process
// created, and those it took over from a creator that had ended when no
// other process has them attached; device: nothing).
void shm_system_remove_created();
