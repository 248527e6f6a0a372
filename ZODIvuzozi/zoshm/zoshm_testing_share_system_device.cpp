// Device build: the "ipcrm" command removed the key; the segments outlive
// the process, to be attached again at the next start.

#include "zoshm_testing_share_system.h"

#include <sys/shm.h>

void shm_system_removed_key(key_t)
{
}

void shm_system_attached(int)
{
}

void shm_system_detached(int)
{
}

bool shm_system_creator_holds(const shmid_ds&)
{
    return false;
}

void shm_system_remove_created()
{
}
