// The simulated clock block on its own: counter phase, timed pulse policy and
// the reports of accesses the link code should not make.

#include "SimClockBlock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int64_t kMs = 1000000;
constexpr int64_t kS = 1000000000;

class BlockHarness
{
public:
    BlockHarness()
        : block([this] { return now; }, [this](const std::string& t) { reports.push_back(t); })
    {
    }

    void write32(uint16_t addr, uint32_t value)
    {
        block.write(addr, uint16_t(value & 0xFFFF));
        block.write(uint16_t(addr + 2), uint16_t(value >> 16));
    }
    void load(uint32_t seconds)
    {
        write32(zorsim::clockreg::kLoadTime, seconds);
        block.write(zorsim::clockreg::kLoad, 0);
        block.write(zorsim::clockreg::kLoad, 2);
    }
    // Latches and returns (sub-second count, seconds) as the link reads them.
    std::pair<uint32_t, uint32_t> latch()
    {
        block.write(zorsim::clockreg::kLatch, 0);
        block.write(zorsim::clockreg::kLatch, 1);
        auto read32 = [this](uint16_t a) { return uint32_t(block.read(a)) | (uint32_t(block.read(uint16_t(a + 2))) << 16); };
        return {read32(zorsim::clockreg::kLatchedSub), read32(zorsim::clockreg::kLatchedSeconds)};
    }
    void arm(uint32_t second, uint16_t pretrigger)
    {
        block.write(zorsim::clockreg::kPpxArm, 0);
        write32(zorsim::clockreg::kPpxTime, second);
        block.write(zorsim::clockreg::kPpxPretrigger, pretrigger);
        block.write(zorsim::clockreg::kPpxArm, 1);
    }

    int64_t now = 0;
    std::vector<std::string> reports;
    zorsim::SimClockBlock block;
};

} // namespace

TEST(SimClockBlock, LoadKeepsThePhaseUnlessIrigbDisciplinesIt)
{
    BlockHarness h;
    h.now = 250 * kMs;
    h.load(1000);
    h.now = 999 * kMs;
    EXPECT_EQ(h.latch(), std::make_pair(99900000u, 1000u));   // power-on phase: second turns at whole seconds
    h.now = 1000 * kMs;
    EXPECT_EQ(h.latch().second, 1001u);

    // IRIG-B reference turning at .600: a load takes its phase.
    h.now = 1600 * kMs;
    h.block.setIrigbReference(5000);
    h.now = 1700 * kMs;
    h.block.write(zorsim::clockreg::kRefSelect, zorsim::clockreg::kSelectIrigb1);
    EXPECT_FALSE(h.block.synchronised());
    h.load(*h.block.irigbReferenceSeconds());
    EXPECT_TRUE(h.block.synchronised());
    for (int64_t t : {1999 * kMs, 2599 * kMs, 2600 * kMs, 3000 * kMs, 10600 * kMs}) {
        h.now = t;
        EXPECT_EQ(h.block.fpgaSeconds(), *h.block.irigbReferenceSeconds()) << t;
    }
    h.block.setIrigbPresent(false);
    EXPECT_FALSE(h.block.synchronised());
    EXPECT_TRUE(h.reports.empty());
}

TEST(SimClockBlock, PulseFiresWhenTheRunningCounterReachesIt)
{
    BlockHarness h;
    h.block.setFpgaSeconds(100);   // turns at whole seconds from 0
    h.arm(103, 25000);             // 25000 counts of 100 MHz: 250 us early
    h.now = 3 * kS - 251000;
    EXPECT_TRUE(h.block.firedPulses().empty());
    h.now = 3 * kS - 250000;
    ASSERT_EQ(h.block.firedPulses().size(), 1u);
    EXPECT_EQ(h.block.firedPulses()[0].second, 103u);
    EXPECT_EQ(h.block.firedPulses()[0].atNs, 3 * kS - 250000);
    EXPECT_FALSE(h.block.armedPulse().has_value());

    // A load that jumps over the armed second does not fire it; running into it later does.
    h.arm(200, 0);
    h.load(250);
    h.now = 10 * kS;
    EXPECT_EQ(h.block.firedPulses().size(), 1u);
    h.load(195);
    h.now = 16 * kS;
    EXPECT_EQ(h.block.firedPulses().size(), 2u);

    // Disarmed (bit 0 cleared, or armed with time 0): nothing fires.
    h.arm(300, 0);
    h.block.write(zorsim::clockreg::kPpxArm, 0);
    h.arm(0, 0);
    h.now = 200 * kS;
    EXPECT_EQ(h.block.firedPulses().size(), 2u);
    EXPECT_TRUE(h.reports.empty());
}

TEST(SimClockBlock, ReportsAccessesTheLinkCodeShouldNotMake)
{
    BlockHarness h;
    h.block.read(zorsim::clockreg::kLatch);
    h.block.read(0x811C);
    h.block.write(zorsim::clockreg::kLatchedSeconds, 1);
    h.block.write(zorsim::clockreg::kIrigbIn, 1);
    h.block.write(0x8130, 1);
    h.block.write(zorsim::clockreg::kRefSelect, 0x0F03);
    EXPECT_EQ(h.reports, (std::vector<std::string>{
                             "read of write-only clock register 0x8134",
                             "read of unknown clock register 0x811c",
                             "write of read-only clock register 0x813a",
                             "write of read-only clock register 0x8106",
                             "write of unknown clock register 0x8130",
                             "unknown time reference select 0x0f03",
                         }));
}
