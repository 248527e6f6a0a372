// Host build: the runner only records "ipcrm", so the key is removed here
// (only the service's own keys ever reach this); the segments this process
// created are removed when it exits, so a run leaves "ipcs -m" as it found it,
// and so are the segments it took over from a process that had ended without
// removing them (killed), unless another process has them attached then.

#include "zoshm_testing_share_system.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <map>
#include <mutex>
#include <set>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

namespace {

std::mutex createdMutex;
std::set<int>& createdIds()
{
    static std::set<int>* ids = new std::set<int>();   // still there for the exit handler
    return *ids;
}

// Taken over: id -> the ended creator, attached here or not.
struct TakenOver
{
    pid_t creator;
    bool attached;
};
std::map<int, TakenOver>& takenOverIds()
{
    static std::map<int, TakenOver>* ids = new std::map<int, TakenOver>();   // as createdIds
    return *ids;
}

bool createdHere(int id)
{
    shmid_ds ds{};
    return shmctl(id, IPC_STAT, &ds) == 0 && ds.shm_cpid == getpid();
}

// The segments created here, and those taken over that no other process
// has attached (nor a new creator made again under the same id).
void removeOwnSegments()
{
    std::lock_guard<std::mutex> lock(createdMutex);
    for (int id : createdIds()) {
        if (createdHere(id))
            shmctl(id, IPC_RMID, nullptr);
    }
    createdIds().clear();
    for (const auto& [id, taken] : takenOverIds()) {
        shmid_ds ds{};
        if (shmctl(id, IPC_STAT, &ds) == 0 && ds.shm_cpid == taken.creator
            && ds.shm_nattch == (taken.attached ? 1u : 0u))
            shmctl(id, IPC_RMID, nullptr);
    }
    takenOverIds().clear();
}

void removeOwnSegmentsAtExit()
{
    static std::once_flag registered;
    std::call_once(registered, [] { std::atexit(removeOwnSegments); });
}

} // namespace

bool shm_system_creator_holds(const shmid_ds& ds)
{
    const pid_t creator = ds.shm_cpid;
    return creator > 0 && creator != getpid() && (kill(creator, 0) == 0 || errno == EPERM);
}

void shm_system_remove_created()
{
    removeOwnSegments();
}

void shm_system_removed_key(key_t key)
{
    const int id = shmget(key, 0, 0);
    if (id >= 0)
        shmctl(id, IPC_RMID, nullptr);
}

void shm_system_attached(int id)
{
    shmid_ds ds{};
    if (shmctl(id, IPC_STAT, &ds) != 0)
        return;
    if (ds.shm_cpid == getpid()) {
        removeOwnSegmentsAtExit();
        std::lock_guard<std::mutex> lock(createdMutex);
        createdIds().insert(id);
    } else if (!shm_system_creator_holds(ds)) {
        removeOwnSegmentsAtExit();
        std::lock_guard<std::mutex> lock(createdMutex);
        takenOverIds()[id] = {ds.shm_cpid, true};
    }
}

void shm_system_detached(int id)
{
    std::lock_guard<std::mutex> lock(createdMutex);
    const auto taken = takenOverIds().find(id);
    if (taken != takenOverIds().end())
        taken->second.attached = false;
}
