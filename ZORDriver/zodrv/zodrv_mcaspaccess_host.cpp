// Host twin of the register accessor: every access goes to the register port
// installed by the simulated instrument. No physical memory is touched.

#include "zodrv_mcaspaccess.h"
#include "zodrv_mcaspport_host.h"

#include <atomic>

namespace zodrv {

namespace {
std::atomic<McaspRegisterPort*> installedPort{nullptr};
// Stands for the mapped address: shared code only tests it for null.
uint8_t hostMappingToken[8];

bool inside(const McaspMapping& mapping, uint32_t offset)
{
    return mapping.addr != nullptr && (offset & 3u) == 0 && offset <= mapping.size - 4;
}
} // namespace

void mcaspInstallPort(McaspRegisterPort* port)
{
    installedPort.store(port);
}

McaspRegisterPort* mcaspInstalledPort()
{
    return installedPort.load();
}

bool mcaspMapOpen(McaspMapping& mapping, uint32_t physAddr, uint32_t size)
{
    mapping = McaspMapping();
    McaspRegisterPort* port = installedPort.load();
    if (port == nullptr || size < 4 || !port->mapBlock(physAddr, size))
        return false;
    mapping.block = hostMappingToken;
    mapping.addr = hostMappingToken;
    mapping.physAddr = physAddr;
    mapping.size = size;
    return true;
}

void mcaspMapClose(McaspMapping& mapping)
{
    if (mapping.addr != nullptr) {
        if (McaspRegisterPort* port = installedPort.load())
            port->unmapBlock(mapping.physAddr);
    }
    mapping = McaspMapping();
}

uint32_t mcaspRegRead(const McaspMapping& mapping, uint32_t offset)
{
    if (!inside(mapping, offset))
        return 0;
    McaspRegisterPort* port = installedPort.load();
    return port != nullptr ? port->readRegister(mapping.physAddr, offset) : 0;
}

void mcaspRegWrite(const McaspMapping& mapping, uint32_t offset, uint32_t value)
{
    if (!inside(mapping, offset))
        return;
    if (McaspRegisterPort* port = installedPort.load())
        port->writeRegister(mapping.physAddr, offset, value);
}

} // namespace zodrv
