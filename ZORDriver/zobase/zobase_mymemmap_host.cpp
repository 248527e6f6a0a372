// Host pages: /dev/mem is never opened. An anonymous, zero-filled block of
// the same length stands in, so the page arithmetic of the callers is the
// same as on the board; nothing behind it reacts to writes.

#include "zobase_mymemmap_internal.h"

#include <cerrno>
#include <cstdio>
#include <sys/mman.h>
#include <unistd.h>

void* zobase_memmap_pages(int* fd, off_t base, size_t length)
{
    *fd = -1;
    void* p = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        printf("mmap64(0x%08lx@0x%08llx) failed (errno: %d)\n", static_cast<unsigned long>(sysconf(_SC_PAGESIZE)),
               static_cast<unsigned long long>(base), errno);
    return p;
}
