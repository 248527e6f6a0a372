#pragma once

// Host build only: the register port behind zodrv_mcaspaccess.h. The
// simulated instrument implements it and installs itself for the tests or
// the application; product code never sees the simulator.

#include <cstdint>

namespace zodrv {

class McaspRegisterPort
{
public:
    virtual ~McaspRegisterPort() = default;
    // Whether the port serves the register block at physAddr (size bytes).
    virtual bool mapBlock(uint32_t physAddr, uint32_t size) = 0;
    virtual void unmapBlock(uint32_t physAddr) = 0;
    virtual uint32_t readRegister(uint32_t physAddr, uint32_t offset) = 0;
    virtual void writeRegister(uint32_t physAddr, uint32_t offset, uint32_t value) = 0;
};

// Installs the port every later access goes to (null: none, maps fail).
// The caller keeps the port alive while installed.
void mcaspInstallPort(McaspRegisterPort* port);
McaspRegisterPort* mcaspInstalledPort();

} // namespace zodrv
