// Host twin of the register accessor: every access goes to the register port
// installed by the simulated instrument. No physical memory is touched.

#include "zodrv_mcaspaccess.h"
#include "zodrv_mcaspport_host.h"

#include <atomic>
#include <mutex>
#include <shared_mutex>

namespace zodrv {

namespace {
std::atomic<McaspRegisterPort*> installedPort{nullptr};
// Accesses hold it shared, an install exclusively: once mcaspInstallPort
// returns, no access is still inside the port it replaced, which its owner
// may then destroy.
std::shared_mutex portMutex;
// Stands for the mapped address: shared code only tests it for null.
uint8_t hostMappingToken[8];

bool inside(const McaspMapping& mapping, uint32_t offset)
{
    return mapping.addr != nullptr && (offset & 3u) == 0 && offset <= mapping.size - 4;
}
} // namespace

void mcaspInstallPort(McaspRegisterPort* port)
{
    std::unique_lock<std::shared_mutex> lock(portMutex);
    installedPort.store(port);
}

McaspRegisterPort* mcaspInstalledPort()
{
    return installedPort.load();
}

bool mcaspMapOpen(McaspMapping& mapping, uint32_t physAddr, uint32_t size)
{
    mapping = McaspMapping();
    std::shared_lock<std::shared_mutex> lock(portMutex);
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
        std::shared_lock<std::shared_mutex> lock(portMutex);
        if (McaspRegisterPort* port = installedPort.load())
            port->unmapBlock(mapping.physAddr);
    }
    mapping = McaspMapping();
}

uint32_t mcaspRegRead(const McaspMapping& mapping, uint32_t offset)
{
    if (!inside(mapping, offset))
        return 0;
    std::shared_lock<std::shared_mutex> lock(portMutex);
    McaspRegisterPort* port = installedPort.load();
    return port != nullptr ? port->readRegister(mapping.physAddr, offset) : 0;
}

void mcaspRegWrite(const McaspMapping& mapping, uint32_t offset, uint32_t value)
{
    if (!inside(mapping, offset))
        return;
    std::shared_lock<std::shared_mutex> lock(portMutex);
    if (McaspRegisterPort* port = installedPort.load())
        port->writeRegister(mapping.physAddr, offset, value);
}

} // namespace zodrv
