#pragma once

// The one way the link reaches the processor's peripheral registers: map a
// physical register block, then read or write 32-bit registers at byte
// offsets inside it. Device build: volatile accesses to a /dev/mem mapping.
// Host build: a register port installed by the simulated instrument (see
// zodrv_mcaspport_host.h); with no port installed every map fails.

#include <cstdint>

namespace zodrv {

// TI AM437x physical register blocks used by the link.
constexpr uint32_t CM_PER_BASE = 0x44DF8800;
constexpr uint32_t CM_PER_SIZE = 1024;
constexpr uint32_t MCASP0_BASE = 0x48038000;
constexpr uint32_t MCASP0_SIZE = 8192;

struct McaspMapping
{
    int fd = -1;                 // /dev/mem descriptor (device build)
    uint8_t* block = nullptr;    // page-aligned mapping
    uint8_t* addr = nullptr;     // the register block inside it; null = not mapped
    uint32_t physAddr = 0;
    uint32_t size = 0;
};

// Maps size bytes of registers at physAddr; false (mapping left empty) on failure.
bool mcaspMapOpen(McaspMapping& mapping, uint32_t physAddr, uint32_t size);
// Unmaps and clears the mapping; harmless on an empty one.
void mcaspMapClose(McaspMapping& mapping);

// Register access at a byte offset. An empty mapping or an offset outside the
// block reads 0 and ignores writes.
uint32_t mcaspRegRead(const McaspMapping& mapping, uint32_t offset);
void mcaspRegWrite(const McaspMapping& mapping, uint32_t offset, uint32_t value);

} // namespace zodrv
