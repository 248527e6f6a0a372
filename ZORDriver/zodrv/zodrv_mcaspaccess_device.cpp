// Device twin of the register accessor: the peripheral registers are mapped
// from /dev/mem and reached with volatile 32-bit accesses.

#include "zodrv_mcaspaccess.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace zodrv {

namespace {
uint32_t mappedPages(uint32_t size)
{
    const long pageSize = sysconf(_SC_PAGESIZE);
    uint32_t pages = static_cast<uint32_t>(std::ceil(static_cast<float>(size) / static_cast<float>(pageSize)));
    return pages == 0 ? 1 : pages;
}

bool inside(const McaspMapping& mapping, uint32_t offset)
{
    return mapping.addr != nullptr && (offset & 3u) == 0 && offset <= mapping.size - 4;
}
} // namespace

// Opens /dev/mem and maps the pages holding [hwaddr, hwaddr + hwsize).
// Returns the address of hwaddr inside the mapping, or null.
uint8_t* memMapOpen(int* fd, uint32_t hwaddr, uint32_t hwsize, uint8_t** mm)
{
    *mm = nullptr;
    *fd = open("/dev/mem", O_RDWR | O_SYNC);
    if (*fd < 0) {
        std::printf("open(/dev/mem) failed(errno: %d)\n", errno);
        return nullptr;
    }
    const long pageSize = sysconf(_SC_PAGESIZE);
    const off_t aligned = static_cast<off_t>(hwaddr) & ~static_cast<off_t>(pageSize - 1);
    const size_t length = static_cast<size_t>(mappedPages(hwsize)) * static_cast<size_t>(pageSize);
    void* p = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, *fd, aligned);
    if (p == MAP_FAILED) {
        std::printf("mmap64(0x%08lx@0x%08llx) failed (errno: %d)\n", static_cast<unsigned long>(pageSize),
                    static_cast<unsigned long long>(aligned), errno);
        close(*fd);
        *fd = -1;
        return nullptr;
    }
    *mm = static_cast<uint8_t*>(p);
    return *mm + (hwaddr - static_cast<uint32_t>(aligned));
}

void memMapClose(int* fd, uint8_t** mm, uint32_t hwsize)
{
    if (*mm != nullptr) {
        munmap(*mm, static_cast<size_t>(mappedPages(hwsize)) * static_cast<size_t>(sysconf(_SC_PAGESIZE)));
        *mm = nullptr;
    }
    if (*fd >= 0) {
        close(*fd);
        *fd = -1;
    }
}

bool mcaspMapOpen(McaspMapping& mapping, uint32_t physAddr, uint32_t size)
{
    mapping = McaspMapping();
    if (size < 4)
        return false;
    uint8_t* addr = memMapOpen(&mapping.fd, physAddr, size, &mapping.block);
    if (addr == nullptr) {
        mapping = McaspMapping();
        return false;
    }
    mapping.addr = addr;
    mapping.physAddr = physAddr;
    mapping.size = size;
    return true;
}

void mcaspMapClose(McaspMapping& mapping)
{
    memMapClose(&mapping.fd, &mapping.block, mapping.size);
    mapping = McaspMapping();
}

uint32_t mcaspRegRead(const McaspMapping& mapping, uint32_t offset)
{
    if (!inside(mapping, offset))
        return 0;
    return *reinterpret_cast<volatile uint32_t*>(mapping.addr + offset);
}

void mcaspRegWrite(const McaspMapping& mapping, uint32_t offset, uint32_t value)
{
    if (!inside(mapping, offset))
        return;
    *reinterpret_cast<volatile uint32_t*>(mapping.addr + offset) = value;
}

} // namespace zodrv
