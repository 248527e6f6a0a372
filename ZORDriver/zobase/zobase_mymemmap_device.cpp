// Device pages: the physical address space through "/dev/mem".

#include "zobase_mymemmap_internal.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

void* zobase_memmap_pages(int* fd, off_t base, size_t length)
{
    *fd = open("/dev/mem", O_RDWR | O_SYNC | O_CLOEXEC);
    if (*fd < 0) {
        printf("open(/dev/mem) failed(errno: %d)\n", errno);
        return MAP_FAILED;
    }
    void* p = mmap64(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, *fd, off64_t(base));
    if (p == MAP_FAILED)
        printf("mmap64(0x%08lx@0x%08llx) failed (errno: %d)\n", static_cast<unsigned long>(sysconf(_SC_PAGESIZE)),
               static_cast<unsigned long long>(base), errno);
    return p;
}
