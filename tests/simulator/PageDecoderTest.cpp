// The independent page decoder (what relay models and tests see of a page)
// and the pacers that tie the virtual clock to real time.

#include "SimTestSupport.h"
#include "SimPacer.h"

#include "zoplatform.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cmath>

using simtest::PageBuilder;
using simtest::waitFor;
using zorsim::decodePage;
using zorsim::HardwareConstants;

namespace {

constexpr double kTwo32 = 4294967296.0;

void put32(PageBuilder& b, int offset, uint32_t v)
{
    b.words[offset / 2] = static_cast<uint16_t>(v & 0xFFFF);
    b.words[offset / 2 + 1] = static_cast<uint16_t>(v >> 16);
}

TEST(PageDecoder, UndoesRangeScalingAndTheCurrentAmplifiersInversion)
{
    PageBuilder b(1);
    b.setRange(0x11);   // UA and IA big range, the rest small
    b.component(0, 0, 57.7, 120.0, 50.0);
    b.component(1, 0, 20.0, 0.0, 0.0);   // DC, small range
    // IA as the encoder sends -5 A at 30 deg: 5 A at 30 + 180 + 180, normalised to 30.
    put32(b, 2 + 14 * 4 + 2, static_cast<uint32_t>(5.0 * zorsim::page::kAcScale / 10.0));
    put32(b, 2 + 14 * 4 + 6, static_cast<uint32_t>(30.0 / 360.0 * kTwo32));
    put32(b, 2 + 14 * 4 + 10, static_cast<uint32_t>(50.0 / 28000.0 * kTwo32));

    const zorsim::PageContent p = decodePage(b.data(), HardwareConstants());
    EXPECT_TRUE(p.problems.empty());
    EXPECT_TRUE(p.channels[0].bigRange);
    EXPECT_NEAR(p.channels[0].components[0].amplitude, 57.7, 1e-6);
    EXPECT_NEAR(p.channels[0].components[0].phaseDeg, 120.0, 1e-6);
    EXPECT_NEAR(p.channels[0].components[0].frequencyHz, 50.0, 1e-5);
    EXPECT_FALSE(p.channels[1].bigRange);
    EXPECT_TRUE(p.channels[1].components[0].dc);
    EXPECT_NEAR(p.channels[1].components[0].amplitude, 20.0, 1e-6);
    // -5 A at 30 deg is 5 A at 210 deg on the terminals.
    EXPECT_NEAR(p.channels[4].components[0].amplitude, 5.0, 1e-6);
    EXPECT_NEAR(p.channels[4].components[0].phaseDeg, 210.0, 1e-6);
}

TEST(PageDecoder, RampsDecayingDcAndMalformedPages)
{
    PageBuilder b(4);
    b.component(4, 0, 10.0, 0.0, 50.0).component(5, 0, 10.0, 0.0, 50.0);
    // Frequency ramp 50 -> 48 Hz at 1 Hz/s on UA: 56000 ticks.
    b.ramp(0, 56000, -static_cast<int64_t>(1.0 / 28000 / 28000 * 18446744073709551616.0), 0x2000);
    // Decaying DC on IA and IB: slots 0 and 1.
    for (int r : {16, 17, 18, 19, 20, 21, 22, 23})
        b.words[(2 + 14 * r) / 2] |= 0x1000;
    put32(b, 622, static_cast<uint32_t>(static_cast<int32_t>(-14.0 * zorsim::page::kDcScale / 10.0)));
    put32(b, 626, static_cast<uint32_t>(static_cast<int32_t>(7.0 * zorsim::page::kDcScale / 10.0)));

    zorsim::PageContent p = decodePage(b.data(), HardwareConstants());
    EXPECT_TRUE(p.problems.empty());
    EXPECT_EQ(p.componentsPerChannel, 4);
    EXPECT_EQ(p.channels[0].ramp.kind, zorsim::RampKind::Frequency);
    EXPECT_NEAR(p.channels[0].ramp.ratePerSecond, -1.0, 1e-9);
    EXPECT_NEAR(p.channels[0].ramp.durationSeconds, 2.0, 1e-12);
    EXPECT_TRUE(p.channels[4].dcSim);
    EXPECT_NEAR(p.channels[4].dcSimInitial, -14.0, 1e-6);
    EXPECT_NEAR(p.channels[5].dcSimInitial, 7.0, 1e-6);
    EXPECT_FALSE(p.channels[6].dcSim);

    b.words[482 / 2] = 9;
    b.ramp(1, 100, 5, 0x4000);
    p = decodePage(b.data(), HardwareConstants());
    ASSERT_EQ(p.problems.size(), 2u);
    EXPECT_NE(p.problems[0].find("unknown trigger type 9"), std::string::npos);
    EXPECT_NE(p.problems[1].find("mixes frequency and amplitude ramps"), std::string::npos);

    PageBuilder bad(1);
    bad.words[0] = 12;
    p = decodePage(bad.data(), HardwareConstants());
    ASSERT_EQ(p.problems.size(), 1u);
    EXPECT_NE(p.problems[0].find("record count 12"), std::string::npos);
}

TEST(Pacing, AccumulatorCarriesTheRemainder)
{
    zorsim::PaceAccumulator acc;
    int64_t total = 0;
    for (int i = 0; i < 1000; ++i)
        total += acc.take(3, 1.0 / 7.0);
    EXPECT_EQ(total, 428);   // floor(3000 / 7): nothing lost, nothing drifts
    EXPECT_EQ(acc.take(-5, 1.0), 0);
}

TEST(Pacing, BothPacersMoveTheVirtualClockFromRealTime)
{
    zorsim::SimInstrument sim;
    {
        zorsim::SimPacer pacer(sim, 100.0, 1);
        pacer.start();
        EXPECT_TRUE(waitFor([&] { return sim.nowNs() >= 200000000; }));
        pacer.stop();
    }
    const int64_t afterTimer = sim.nowNs();
    // The thread pacer follows the product's time scale: 0.01 = a hundred times faster.
    zoplat::setTimeScale(0.01);
    {
        zorsim::SimRealTimePacer pacer(sim);
        EXPECT_TRUE(waitFor([&] { return sim.nowNs() >= afterTimer + 200000000; }));
    }
    zoplat::setTimeScale(1.0);
    const int64_t stopped = sim.nowNs();
    EXPECT_EQ(sim.nowNs(), stopped);
}

} // namespace
