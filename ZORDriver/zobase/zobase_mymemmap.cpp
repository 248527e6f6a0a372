#include "zobase_mymemmap.h"
#include "zobase_mymemmap_internal.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The close gets only the size, not the address's offset within its page;
// the lengths mapped by the open are kept here so the close unmaps exactly them.
std::mutex mappingsMutex;
std::map<const void*, size_t>& mappings()
{
    static std::map<const void*, size_t> m;
    return m;
}

size_t pageSize()
{
    return size_t(sysconf(_SC_PAGESIZE));
}

// Whole pages holding [offset, offset + size), at least one; 0 when that
// does not fit the address space (32-bit board).
size_t mappedLength(uint64_t offset, uint64_t size)
{
    const uint64_t page = pageSize();
    const uint64_t pages = (offset + size + page - 1) / page;
    const uint64_t length = (pages ? pages : 1) * page;
    return length <= SIZE_MAX ? size_t(length) : 0;
}

} // namespace

u8* _my_memmap_open(int* fd, u32 hwaddr, u32 hwsize, u8** mm)
{
    if (fd == nullptr || mm == nullptr) {
        printf("mmap64(0x%08lx@0x%08llx) failed (errno: %d)\n", static_cast<unsigned long>(pageSize()),
               static_cast<unsigned long long>(hwaddr), 22);
        return nullptr;
    }
    const size_t page = pageSize();
    const size_t offset = size_t(hwaddr) % page;
    const off_t base = off_t(hwaddr - offset);
    const size_t length = mappedLength(offset, hwsize);
    if (length == 0) {
        printf("mmap64(0x%08lx@0x%08llx) failed (errno: %d)\n", static_cast<unsigned long>(page),
               static_cast<unsigned long long>(base), 12);
        return nullptr;
    }

    void* p = zobase_memmap_pages(fd, base, length);
    if (p == MAP_FAILED)
        return nullptr;
    {
        std::lock_guard<std::mutex> lock(mappingsMutex);
        mappings()[p] = length;
    }
    *mm = static_cast<u8*>(p);
    return *mm + offset;
}

void _my_memmap_close(int* fd, u8** mm, u32 hwsize)
{
    if (mm != nullptr && *mm != nullptr) {
        size_t length = mappedLength(0, hwsize);
        {
            std::lock_guard<std::mutex> lock(mappingsMutex);
            auto it = mappings().find(*mm);
            if (it != mappings().end()) {
                length = it->second;
                mappings().erase(it);
            }
        }
        munmap(*mm, length);
        *mm = nullptr;
    }
    if (fd != nullptr && *fd >= 0) {
        close(*fd);
        *fd = -1;
    }
}
