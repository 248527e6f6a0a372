#include "zobase_myshmem.h"

#include "zoplatform.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

namespace {

size_t roundToPages(size_t size)
{
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    if (size == 0)
        size = 1;
    if (size > SIZE_MAX - page)
        return 0;
    return (size + page - 1) / page * page;
}

unsigned int shown(const void* p)
{
    return static_cast<unsigned int>(reinterpret_cast<uintptr_t>(p));
}

} // namespace

int _my_shmem_open(key_t key, size_t size, void** addr)
{
    if (addr == nullptr) {
        printf("shmget addr error(%d) 0x%x\n", EINVAL, unsigned(key));
        return -1;
    }
    const size_t rounded = roundToPages(size);
    const int id = rounded ? shmget(key, rounded, IPC_CREAT | 0666) : -1;
    if (id < 0) {
        printf("shmget ipc_id error(%d) 0x%x, %d,%d\n", rounded ? errno : EINVAL, unsigned(key), int(size),
               int(rounded));
        return -1;
    }
    void* p = shmat(id, nullptr, 0);
    if (p == reinterpret_cast<void*>(-1)) {
        printf("shmget addr error(%d) 0x%x\n", errno, unsigned(key));
        shmctl(id, IPC_RMID, nullptr);
        return -1;
    }
    *addr = p;
    printf("shmget key(0x%x) successed addr(0x%x) \n", unsigned(key), shown(p));
    return id;
}

int _my_shmem_open_from_path(const char* pathname, s32 projid, size_t size, void** addr)
{
    if (pathname == nullptr || *pathname == '\0' || addr == nullptr) {
        printf("fopen error %s, %d\n", pathname ? pathname : "(null)", EINVAL);
        return -1;
    }
    const QByteArray path = zoplat::devicePath(QString::fromLocal8Bit(pathname)).toLocal8Bit();
    FILE* f = fopen(path.constData(), "w+");
    if (f == nullptr) {
        printf("fopen error %s, %d\n", pathname, errno);
        return -1;
    }
    fclose(f);
    const key_t key = ftok(path.constData(), projid);
    if (key == key_t(-1)) {
        printf("ftok error %s, %d\n", pathname, errno);
        return -1;
    }
    const size_t rounded = roundToPages(size);
    const int id = rounded ? shmget(key, rounded, IPC_CREAT | 0666) : -1;
    if (id < 0) {
        printf("shmget ipc_id error(%d) %d %d, %d,%d\n", rounded ? errno : EINVAL, int(key), int(projid), int(size),
               int(rounded));
        return -1;
    }
    void* p = shmat(id, nullptr, 0);
    if (p == reinterpret_cast<void*>(-1)) {
        printf("shmget addr error(%d) %d\n", errno, int(key));
        shmctl(id, IPC_RMID, nullptr);
        return -1;
    }
    *addr = p;
    printf("shmget key(0x%x %d) successed addr(0x%x) \n", unsigned(key), int(projid), shown(p));
    return id;
}

void _my_shmem_close(int shmid, void* shmaddr)
{
    if (shmaddr != nullptr && shmaddr != reinterpret_cast<void*>(-1))
        shmdt(shmaddr);
    if (shmid >= 0)
        shmctl(shmid, IPC_RMID, nullptr);
}
