#include "zoshm_testing_share_handle.h"

#include "zobase_myshmem.h"
#include "zocmm_change_count.h"
#include "zoplatform.h"
#include "zoshm_testing_share_system.h"

#include <QString>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <cstdio>
#include <cstring>
#include <sys/shm.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

shm_share_machine* global_shm_machine = nullptr;
shm_share_cal* global_shm_cal = nullptr;
shm_share_config* global_shm_config = nullptr;
shm_share_status* global_shm_status = nullptr;
shm_share_control* global_shm_control = nullptr;
shm_share_clock* global_shm_clock = nullptr;
shm_share_parameter* global_shm_parameter = nullptr;
shm_share_result* global_shm_result = nullptr;
shm_share_procedure* global_shm_procedure = nullptr;

namespace {

const size_t kSizes[SHM_SEGMENT_COUNT] = {
    sizeof(shm_share_machine), sizeof(shm_share_cal),       sizeof(shm_share_config),
    sizeof(shm_share_status),  sizeof(shm_share_control),   sizeof(shm_share_clock),
    sizeof(shm_share_record),  sizeof(shm_share_record),    sizeof(shm_share_record),
};

const int kAttachOrder[SHM_SEGMENT_COUNT] = {
    SHM_SEGMENT_MACHINE, SHM_SEGMENT_CAL,       SHM_SEGMENT_CONFIG, SHM_SEGMENT_STATUS, SHM_SEGMENT_CONTROL,
    SHM_SEGMENT_CLOCK,   SHM_SEGMENT_PARAMETER, SHM_SEGMENT_RESULT, SHM_SEGMENT_PROCEDURE,
};

// Whether pid is another live process running this program: its
// executable the file this process runs (a process ended but not yet
// reaped, or one whose executable cannot be looked at, is not).
bool liveCopy(pid_t pid)
{
    if (pid <= 0 || pid == getpid())
        return false;
    struct stat own{};
    struct stat other{};
    char path[64];
    snprintf(path, sizeof path, "/proc/%ld/exe", long(pid));
    return stat("/proc/self/exe", &own) == 0 && stat(path, &other) == 0 && own.st_dev == other.st_dev
           && own.st_ino == other.st_ino;
}

// A live copy of this program with the segment of `key` attached (its
// memory map names "/SYSV<key>"), or 0 when none that can be looked at is.
pid_t attachedProcess(key_t key)
{
    char name[24];
    snprintf(name, sizeof name, "/SYSV%08x", unsigned(key));
    DIR* proc = opendir("/proc");
    if (!proc)
        return 0;
    pid_t found = 0;
    while (const dirent* entry = readdir(proc)) {
        char* end = nullptr;
        const long pid = strtol(entry->d_name, &end, 10);
        if (pid <= 0 || *end != '\0' || !liveCopy(pid_t(pid)))
            continue;
        char path[64];
        snprintf(path, sizeof path, "/proc/%ld/maps", pid);
        FILE* maps = fopen(path, "re");
        if (!maps)
            continue;
        char line[512];
        while (!found && fgets(line, sizeof line, maps)) {
            const char* at = strstr(line, name);
            if (at && (at[strlen(name)] == ' ' || at[strlen(name)] == '\n' || at[strlen(name)] == '\0'))
                found = pid_t(pid);
        }
        fclose(maps);
        if (found)
            break;
    }
    closedir(proc);
    return found;
}

void* addresses[SHM_SEGMENT_COUNT] = {};
int ids[SHM_SEGMENT_COUNT] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};

void setPointer(int segment, void* p)
{
    addresses[segment] = p;
    switch (segment) {
    case SHM_SEGMENT_MACHINE: global_shm_machine = static_cast<shm_share_machine*>(p); break;
    case SHM_SEGMENT_CAL: global_shm_cal = static_cast<shm_share_cal*>(p); break;
    case SHM_SEGMENT_CONFIG: global_shm_config = static_cast<shm_share_config*>(p); break;
    case SHM_SEGMENT_STATUS: global_shm_status = static_cast<shm_share_status*>(p); break;
    case SHM_SEGMENT_CONTROL: global_shm_control = static_cast<shm_share_control*>(p); break;
    case SHM_SEGMENT_CLOCK: global_shm_clock = static_cast<shm_share_clock*>(p); break;
    case SHM_SEGMENT_PARAMETER: global_shm_parameter = static_cast<shm_share_record*>(p); break;
    case SHM_SEGMENT_RESULT: global_shm_result = static_cast<shm_share_record*>(p); break;
    case SHM_SEGMENT_PROCEDURE: global_shm_procedure = static_cast<shm_share_record*>(p); break;
    default: break;
    }
}

void defaultNap()
{
    timespec ts{0, SHM_LOCK_NAP_US * 1000L};
    nanosleep(&ts, nullptr);
}

void (*lockNap)() = defaultNap;

u32 loadFlag(const u32* flag)
{
    return __atomic_load_n(flag, __ATOMIC_SEQ_CST);
}

void storeFlag(u32* flag, u32 value)
{
    __atomic_store_n(flag, value, __ATOMIC_SEQ_CST);
}

int takeLock(u32* own, const u32* other, int tries)
{
    storeFlag(own, 1);
    for (int i = 0; i < tries; ++i) {
        if (loadFlag(other) == 0)
            return 0;
        lockNap();
    }
    storeFlag(own, 0);
    return -1;
}

// The publication count and its waiters.
ZocmmChangeCount& publications()
{
    static ZocmmChangeCount* p = new ZocmmChangeCount();   // still there for threads joined at exit
    return *p;
}

void detachAll()
{
    for (int segment = 0; segment < SHM_SEGMENT_COUNT; ++segment) {
        if (addresses[segment] && shmdt(addresses[segment]) == 0)
            shm_system_detached(ids[segment]);
        setPointer(segment, nullptr);
        ids[segment] = -1;
    }
}

} // namespace

key_t shm_testing_key(int segment)
{
    return key_t(u32(zoplat::sharedMemoryKeyBase()) + u32(segment) * SHM_KEY_STEP);
}

size_t shm_testing_size(int segment)
{
    return segment >= 0 && segment < SHM_SEGMENT_COUNT ? kSizes[segment] : 0;
}

int shm_testing_id(int segment)
{
    return segment >= 0 && segment < SHM_SEGMENT_COUNT ? ids[segment] : -1;
}

shm_shmem_datctrl* shm_testing_header(int segment)
{
    if (segment < 0 || segment >= SHM_SEGMENT_COUNT)
        return nullptr;
    return static_cast<shm_shmem_datctrl*>(addresses[segment]);
}

int shm_init_testing_handle()
{
    detachAll();
    for (int segment : kAttachOrder) {
        void* p = nullptr;
        const int id = _my_shmem_open(shm_testing_key(segment), kSizes[segment], &p);
        if (id < 0 || p == nullptr) {
            detachAll();
            return -1;
        }
        ids[segment] = id;
        setPointer(segment, p);
        shm_system_attached(id);
    }
    return 0;
}

void shm_init_testing_ipcrm()
{
    char line[64];
    for (int segment = 0; segment < SHM_SEGMENT_COUNT; ++segment) {
        const key_t key = shm_testing_key(segment);
        snprintf(line, sizeof line, "ipcrm -M 0x%x \n", unsigned(key));
        zoplat::runCommand(QString::fromLatin1(line));
        shm_system_removed_key(key);
    }
    zoplat::runCommand(QStringLiteral("ipcs"));
}

void shm_release_testing_handle()
{
    detachAll();
}

bool shm_testing_held_elsewhere(key_t* key, pid_t* holder)
{
    for (int segment = 0; segment < SHM_SEGMENT_COUNT; ++segment) {
        const key_t k = shm_testing_key(segment);
        const int id = shmget(k, 0, 0);
        shmid_ds ds{};
        if (id < 0 || shmctl(id, IPC_STAT, &ds) != 0)
            continue;
        if (ds.shm_nattch == 0 && !shm_system_creator_holds(ds))
            continue;   // left by a process that ended: taken over as it is
        if (key)
            *key = k;
        if (holder) {
            // The creator while it runs as a copy of this program, else a
            // copy attached; none when no copy can be told (the last to
            // attach or detach may have ended long ago, or not be a copy).
            *holder = liveCopy(ds.shm_cpid) ? ds.shm_cpid : attachedProcess(k);
        }
        return true;
    }
    return false;
}

void shm_leave_testing_handle()
{
    detachAll();
    shm_system_remove_created();
}

void shm_prepare_testing_handle()
{
    for (int segment = 0; segment < SHM_SEGMENT_COUNT; ++segment) {
        shm_shmem_datctrl* header = shm_testing_header(segment);
        if (!header)
            continue;
        storeFlag(&header->server_locked, 0);
        storeFlag(&header->client_locked, 0);
        if (segment == SHM_SEGMENT_STATUS || segment == SHM_SEGMENT_PROCEDURE || segment == SHM_SEGMENT_RESULT)
            header->server_changes = 0;
    }
}

int shm_doing_client_lock(shm_shmem_datctrl* header, int tries)
{
    return header ? takeLock(&header->client_locked, &header->server_locked, tries) : -1;
}

int shm_doing_server_lock(shm_shmem_datctrl* header, int tries)
{
    return header ? takeLock(&header->server_locked, &header->client_locked, tries) : -1;
}

void shm_release_client_lock(shm_shmem_datctrl* header)
{
    if (!header)
        return;
    storeFlag(&header->client_locked, 0);
    shm_wake_publication_waiters();
}

void shm_release_server_lock(shm_shmem_datctrl* header)
{
    if (header)
        storeFlag(&header->server_locked, 0);
}

void shm_set_lock_nap(void (*nap)())
{
    lockNap = nap ? nap : defaultNap;
}

u64 shm_publication_count()
{
    return publications().count();
}

bool shm_wait_publication(u64 seen, int timeout_ms)
{
    return publications().wait(seen, timeout_ms);
}

void shm_wake_publication_waiters()
{
    publications().add();
}

std::mutex& shm_side_mutex(ShmSide side)
{
    static std::mutex client;
    static std::mutex server;
    return side == ShmSide::Client ? client : server;
}

ShmAccess::ShmAccess(ShmSide s, int segment, int tries)
    : side(s)
    , sideLock(shm_side_mutex(s))
{
    shm_shmem_datctrl* h = shm_testing_header(segment);
    const int result = side == ShmSide::Client ? shm_doing_client_lock(h, tries) : shm_doing_server_lock(h, tries);
    if (result == 0)
        header = h;
}

ShmAccess::~ShmAccess()
{
    if (!header)
        return;
    if (side == ShmSide::Client)
        shm_release_client_lock(header);
    else
        shm_release_server_lock(header);
}
