#pragma once

// The nine System V segments of the network service and their two-flag lock.
//
// Keys: the platform's key base + i x 0x01000000 for segment i (the product
// keys 0xA0A01234 .. 0xA8A01234 on the device); mode 0666. The segments
// outlive the process on the device; the host build removes the ones this
// process created when it exits.
//
// Lock: each side (client = the Qt side, server = the network threads) has
// its own flag in the segment header; a side sets its flag, then checks the
// other's up to `tries` times with 600 us naps, and gives up clearing its
// flag. The flags are sequentially consistent atomics, so the two sides can
// never both see the other's flag clear. Several threads of one side share
// their flag: every caller holds that side's process-local mutex around its
// lock (ShmAccess does both). No segment is read or written unlocked.

#include "zoshm_testing_share_handle_def.h"

#include <mutex>
#include <sys/types.h>

enum shm_segment_id {
    SHM_SEGMENT_MACHINE = 0,
    SHM_SEGMENT_CAL,
    SHM_SEGMENT_CONFIG,
    SHM_SEGMENT_STATUS,
    SHM_SEGMENT_CONTROL,
    SHM_SEGMENT_CLOCK,
    SHM_SEGMENT_PARAMETER,
    SHM_SEGMENT_PROCEDURE,
    SHM_SEGMENT_RESULT,
    SHM_SEGMENT_COUNT
};

constexpr u32 SHM_KEY_STEP = 0x01000000u;
constexpr int SHM_LOCK_TRIES = 20;           // status, procedure, result and the others
constexpr int SHM_CONTROL_LOCK_TRIES = 10;   // control segment
constexpr int SHM_LOCK_NAP_US = 600;

extern shm_share_machine* global_shm_machine;
extern shm_share_cal* global_shm_cal;
extern shm_share_config* global_shm_config;
extern shm_share_status* global_shm_status;
extern shm_share_control* global_shm_control;
extern shm_share_clock* global_shm_clock;
extern shm_share_parameter* global_shm_parameter;
extern shm_share_result* global_shm_result;
extern shm_share_procedure* global_shm_procedure;

key_t shm_testing_key(int segment);        // at the current key base
size_t shm_testing_size(int segment);      // bytes requested
int shm_testing_id(int segment);           // id while attached, else -1
shm_shmem_datctrl* shm_testing_header(int segment);   // null while not attached

// Creates or attaches all nine (machine, calibration, configuration, status,
// control, clock, parameter, result, procedure); an id of 0 is valid. On a
// failure the ones attached so far are detached again and -1 returned.
int shm_init_testing_handle();
// Removes the nine keys of the key base ("ipcrm -M <key>" each, then "ipcs",
// through the platform's runner; the host removes them without a shell).
void shm_init_testing_ipcrm();
// Detaches all nine and clears the pointers (the segments stay).
void shm_release_testing_handle();
// Whether another running process holds a segment of the key base: one that
// some process has attached, or (host) that a creator still running would
// remove when it exits. Such segments belong to another copy of the
// application; a start must leave them alone. Only looks, and is asked before
// this process attaches its own. When held, key is the segment's key and
// holder a live copy of this program holding it (the creator while it runs,
// else one that has it attached), or 0 when none can be told.
bool shm_testing_held_elsewhere(key_t* key, pid_t* holder);
// For a restart: detaches all nine and removes what this process's exit
// would (host: the segments it created), so that the copy it starts next
// finds the keys free.
void shm_leave_testing_handle();
// For a new start: every lock flag and the change marks of status,
// procedure and result cleared (a killed process may have left them set).
void shm_prepare_testing_handle();

// The two-flag lock; 0 when held, -1 after `tries` checks (own flag cleared).
int shm_doing_client_lock(shm_shmem_datctrl* header, int tries);
int shm_doing_server_lock(shm_shmem_datctrl* header, int tries);
void shm_release_client_lock(shm_shmem_datctrl* header);
void shm_release_server_lock(shm_shmem_datctrl* header);

// The nap between two checks (tests count them); null restores 600 us.
void shm_set_lock_nap(void (*nap)());

// Publications for the push thread, which sleeps while nothing is to be
// sent: every release of the client lock (the Qt side wrote, or looked at,
// a segment) counts one and wakes the waiters.
u64 shm_publication_count();
// Waits until the count is no longer `seen`, at most timeout_ms; true when it moved.
bool shm_wait_publication(u64 seen, int timeout_ms);
// Counts one and wakes the waiters (also when the connection ends, so
// that the push thread looks at it at once).
void shm_wake_publication_waiters();

enum class ShmSide { Client, Server };
std::mutex& shm_side_mutex(ShmSide side);

// One side's access to a segment for a scope: that side's mutex, then the
// lock. held() is false when the segment is not attached or the lock timed
// out; nothing may be touched then.
class ShmAccess
{
public:
    ShmAccess(ShmSide side, int segment, int tries = SHM_LOCK_TRIES);
    ~ShmAccess();
    ShmAccess(const ShmAccess&) = delete;
    ShmAccess& operator=(const ShmAccess&) = delete;

    bool held() const { return header != nullptr; }

private:
    ShmSide side;
    std::unique_lock<std::mutex> sideLock;
    shm_shmem_datctrl* header = nullptr;
};
