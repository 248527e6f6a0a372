#pragma once

// Helpers for the simulator tests: a fresh instrument with the product's link
// set up against it, and a page builder that lays out raw page words.

#include "SimInstrument.h"
#include "SimPage.h"
#include "zodrv_mcasp.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <array>
#include <cmath>
#include <cstdint>

namespace simtest {

using zorsim::kPageWords;

// One tick of the instrument's 28 kHz clock, rounded up to whole ns: the
// least time a relay model takes to respond to a change of the outputs.
constexpr int64_t kTickNs = 35715;

// A page as raw words, filled the way the product's encoder lays it out.
class PageBuilder
{
public:
    explicit PageBuilder(int componentsPerChannel = 1, const zorsim::HardwareConstants& hw = {})
        : k(componentsPerChannel), hw(hw)
    {
        words.fill(0);
        words[0] = static_cast<uint16_t>(8 * k);
        for (int c = 0; c < 8; ++c)
            for (int i = 0; i < k; ++i)
                words[(2 + 14 * (c * k + i)) / 2] = static_cast<uint16_t>(c);
        setRange(0xFF);
    }

    // Physical value of component i of channel c (amplitude RMS, or DC when freq is 0).
    PageBuilder& component(int c, int i, double amplitude, double phaseDeg, double freqHz)
    {
        const int base = 2 + 14 * (c * k + i);
        const double fs = c < 4 ? hw.voltageFullScale : hw.currentFullScale;
        const bool dc = std::fabs(freqHz) < 0.001;
        double a = std::fabs(amplitude) * (dc ? zorsim::page::kDcScale : zorsim::page::kAcScale) / fs;
        if (!((words[464 / 2] >> c) & 1))
            a *= 10.0;
        double phase = phaseDeg + (c >= 4 ? hw.currentPhaseShiftDeg : 0.0);
        while (phase >= 360.0)
            phase -= 360.0;
        put32(base + 2, static_cast<uint32_t>(a));
        put32(base + 6, static_cast<uint32_t>(phase / 360.0 * 4294967296.0));
        put32(base + 10, static_cast<uint32_t>(freqHz / hw.tickRate * 4294967296.0));
        return *this;
    }
    PageBuilder& setRange(uint16_t bits) { words[464 / 2] = bits; return *this; }
    PageBuilder& trigger(zorsim::TriggerType t) { words[482 / 2] = static_cast<uint16_t>(t); return *this; }
    PageBuilder& durationSeconds(double s) { put32(484, static_cast<uint32_t>(s * hw.tickRate)); return *this; }
    PageBuilder& durationTicks(uint32_t ticks) { put32(484, ticks); return *this; }
    PageBuilder& edges(uint16_t word) { words[522 / 2] = word; return *this; }
    PageBuilder& andLogic(bool on) { words[524 / 2] = on ? 0xFFFF : 0; return *this; }
    PageBuilder& boWord(uint16_t word) { words[488 / 2] = word; return *this; }
    PageBuilder& boTurnUs(int i, uint32_t us) { put32(490 + 4 * i, us); return *this; }
    PageBuilder& boHoldUs(int i, uint32_t us) { put32(506 + 4 * i, us); return *this; }
    // Ramp of component 0 of channel c; flag 0x2000 (frequency) or 0x4000 (amplitude) on every record.
    PageBuilder& ramp(int c, uint32_t lengthTicks, int64_t step, uint16_t flag)
    {
        put32(526 + 12 * c, lengthTicks);
        const uint64_t v = static_cast<uint64_t>(step);
        put32(530 + 12 * c, static_cast<uint32_t>(v & 0xFFFFFFFFu));
        put32(534 + 12 * c, static_cast<uint32_t>(v >> 32));
        for (int r = 0; r < 8 * k; ++r)
            words[(2 + 14 * r) / 2] |= flag;
        return *this;
    }

    const uint16_t* data() const { return words.data(); }
    std::array<uint16_t, kPageWords> words{};

private:
    void put32(int offset, uint32_t v)
    {
        words[offset / 2] = static_cast<uint16_t>(v & 0xFFFF);
        words[offset / 2 + 1] = static_cast<uint16_t>(v >> 16);
    }
    int k;
    zorsim::HardwareConstants hw;
};

// Waits on a condition, processing Qt events, for at most 20 s of real time.
template <typename Condition>
bool waitFor(Condition condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > 20000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// A fresh instrument per test, attached, with the product's link set up on it.
class AttachedSimTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sim.attach();
        ASSERT_EQ(drv_mcasp_init(), 0);
        sim.clearFrames();
    }
    void TearDown() override
    {
        drv_mcasp_release();
        drv_mcasp_reset_poll_limits();
        sim.detach();
    }

    // Writes a whole page through the link, as the product does.
    void writePage(int page, const PageBuilder& builder)
    {
        ASSERT_EQ(drv_mcasp_write_u16s(static_cast<uint16_t>(page * zorsim::kPageBytes), builder.data(), kPageWords), 0);
    }
    uint16_t read16(uint16_t addr)
    {
        uint16_t v = 0xDEAD;
        EXPECT_EQ(drv_mcasp_read_u16(addr, &v), 0) << std::hex << addr;
        return v;
    }
    uint32_t read32(uint16_t addr)
    {
        uint32_t v = 0xDEADBEEF;
        EXPECT_EQ(drv_mcasp_read_u32(addr, &v), 0) << std::hex << addr;
        return v;
    }
    void write16(uint16_t addr, uint16_t v) { ASSERT_EQ(drv_mcasp_write_u16(addr, v), 0) << std::hex << addr; }
    void write32(uint16_t addr, uint32_t v) { ASSERT_EQ(drv_mcasp_write_u32(addr, v), 0) << std::hex << addr; }

    static constexpr int64_t kUs = 1000;
    static constexpr int64_t kMs = 1000000;

    zorsim::SimInstrument sim;
};

} // namespace simtest
