#pragma once

// A simulated instrument reduced to its clock: the McASP0 port model behind
// the product's register link, handing every frame to an FPGA front that
// decodes the read command and serves 0x8100-0x8158 from the clock block,
// all on one virtual clock under one lock. Any access outside the clock
// block, every protocol fault, and a strobe sequence (latch and read, time
// load, pulse arm) interleaved with another thread's clock frames are
// recorded as violations.
//
// The test owns time: advance() moves the virtual clock; nothing else does.

#include "SimClock.h"
#include "SimClockBlock.h"
#include "SimMcaspPort.h"
#include "SimText.h"
#include "zodrv_mcaspport_host.h"

#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ClockBench : public zodrv::McaspRegisterPort, private zorsim::FramePeer
{
public:
    ClockBench()
        : block([this] { return clock.now(); }, [this](const std::string& t) { violations.push_back(t); }),
          port(*this, [this](const std::string& t) { violations.push_back(t); })
    {
        zodrv::mcaspInstallPort(this);
    }
    ~ClockBench() override
    {
        if (zodrv::mcaspInstalledPort() == this)
            zodrv::mcaspInstallPort(nullptr);
    }

    void advanceSeconds(double seconds)
    {
        std::lock_guard<std::recursive_mutex> lock(mutex);
        clock.advance(int64_t(seconds * 1e9));
    }

    // Runs fn on the clock block under the instrument's lock.
    template <typename Fn>
    auto withBlock(Fn fn)
    {
        std::lock_guard<std::recursive_mutex> lock(mutex);
        return fn(block);
    }

    std::string violationText() const
    {
        std::lock_guard<std::recursive_mutex> lock(mutex);
        std::string text;
        for (const std::string& v : violations)
            text += v + "\n";
        return text;
    }

    // ---- Register port (the link's threads) ----
    bool mapBlock(uint32_t physAddr, uint32_t size) override
    {
        std::lock_guard<std::recursive_mutex> lock(mutex);
        return port.mapBlock(physAddr, size);
    }
    void unmapBlock(uint32_t physAddr) override
    {
        std::lock_guard<std::recursive_mutex> lock(mutex);
        port.unmapBlock(physAddr);
    }
    uint32_t readRegister(uint32_t physAddr, uint32_t offset) override
    {
        std::lock_guard<std::recursive_mutex> lock(mutex);
        return port.read(physAddr, offset);
    }
    void writeRegister(uint32_t physAddr, uint32_t offset, uint32_t value) override
    {
        std::lock_guard<std::recursive_mutex> lock(mutex);
        port.write(physAddr, offset, value);
    }

private:
    // Strobe sequences: opened by their first frame, closed by their last.
    void trackSequence(uint16_t addr, uint16_t data, bool isRead)
    {
        const std::thread::id self = std::this_thread::get_id();
        if (sequenceOpen && self != sequenceOwner)
            violations.push_back(zorsim::strf("clock frame 0x%04x interleaved with another thread's strobe sequence", addr));
        const bool opens = !isRead && ((addr == 0x8134 && data == 0) || (addr == 0x813E && data == 0) || addr == 0x812A);
        const bool closes = (isRead && addr == 0x813C) || (!isRead && addr == 0x813E && data == 1)
            || (!isRead && addr == 0x8128 && data == 2);
        if (opens && !sequenceOpen) {
            sequenceOpen = true;
            sequenceOwner = self;
        } else if (closes && self == sequenceOwner) {
            sequenceOpen = false;
        }
    }

    // ---- FPGA front: read command and clock block ----
    void frame(uint32_t word, std::deque<uint16_t>& answer) override
    {
        const uint16_t addr = uint16_t(word >> 16);
        const uint16_t data = uint16_t(word & 0xFFFF);
        if (addr == 0x8004)
            trackSequence(readAddr, 0, true);
        else if (addr != 0x8000 && addr != 0x8002)
            trackSequence(addr, data, false);
        switch (addr) {
        case 0x8000: readAddr = data; return;
        case 0x8002: readCount = data; return;
        case 0x8004:
            if (data != 0x1234) {
                violations.push_back(zorsim::strf("read trigger 0x%04x", data));
                return;
            }
            for (uint32_t i = 0; i < readCount; ++i) {
                const uint16_t a = uint16_t(readAddr + 2 * i);
                if (zorsim::SimClockBlock::covers(a)) {
                    answer.push_back(block.read(a));
                } else {
                    violations.push_back(zorsim::strf("read of 0x%04x outside the clock block", a));
                    answer.push_back(0);
                }
            }
            return;
        default:
            if (zorsim::SimClockBlock::covers(addr))
                block.write(addr, data);
            else
                violations.push_back(zorsim::strf("write of 0x%04x outside the clock block", addr));
        }
    }

    mutable std::recursive_mutex mutex;
    zorsim::SimClock clock;
    std::vector<std::string> violations;
    zorsim::SimClockBlock block;
    zorsim::SimMcaspPort port;
    uint16_t readAddr = 0;
    uint16_t readCount = 0;
    bool sequenceOpen = false;
    std::thread::id sequenceOwner;
};
