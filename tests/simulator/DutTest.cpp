// The threshold (and timed) relay watching the played outputs and closing a
// binary input, timed in simulator time and seen through the product's action
// read path.

#include "SimTestSupport.h"
#include "SimThresholdRelay.h"
#include "SimTimedRelay.h"

#include <memory>
#include <string>

using simtest::AttachedSimTest;
using simtest::PageBuilder;
using zorsim::ThresholdRelay;
using zorsim::ThresholdRelaySettings;
using zorsim::TriggerType;

namespace {

constexpr int64_t kUs = 1000;
constexpr int64_t kMs = 1000000;
constexpr double kTwo32 = 4294967296.0;

// Amplitude ramp step of a current channel in the big range (32.32 fixed point per tick).
int64_t currentRampStep(double ampsPerSecond)
{
    return static_cast<int64_t>(ampsPerSecond / 28000.0 * (zorsim::page::kAcScale / 10.0) * kTwo32);
}

class Relay : public AttachedSimTest
{
protected:
    std::shared_ptr<ThresholdRelay> plug(const ThresholdRelaySettings& s)
    {
        auto relay = std::make_shared<ThresholdRelay>(s);
        sim.plugIn(relay);
        return relay;
    }
    void runSoftwareSwitched()
    {
        write16(0x8300, 0);
        write16(0x8302, 0);
        write16(0x833E, 4);
    }
    PageBuilder tripPage(double amps)
    {
        PageBuilder b;
        b.component(4, 0, amps, 0.0, 50.0).trigger(TriggerType::TimeOrBinary).durationSeconds(10.0).edges(0x0001);
        return b;
    }
};

struct TripCase
{
    const char* name;
    double amps;
    double delay;
    double ditherUs;
    int64_t tripNs;   // expected pick-up time after the run start; -1: none within 10 s
};

class RelayTrips : public Relay, public ::testing::WithParamInterface<TripCase>
{
};

TEST_P(RelayTrips, PicksUpAfterItsDelayAndTheFpgaTimesTheAction)
{
    const TripCase& c = GetParam();
    writePage(0, tripPage(c.amps));
    write32(0x8404, static_cast<uint32_t>(c.ditherUs));
    auto relay = plug({4, 1.0, c.delay, 0.95, 0});
    runSoftwareSwitched();
    const int64_t start = sim.nowNs();
    if (c.tripNs < 0) {
        sim.advance(9 * 1000 * kMs);
        EXPECT_TRUE(relay->pickupTimes().empty());
        EXPECT_EQ(read16(0x830A), 0);
        return;
    }
    const int64_t seen = c.tripNs + static_cast<int64_t>(c.ditherUs) * kUs;
    if (seen > 0) {
        sim.advance(seen - kUs);
        EXPECT_EQ(read16(0x8336), 0x0000) << "not yet";
    }
    sim.advance(seen > 0 ? 2 * kUs : kUs);
    ASSERT_EQ(relay->pickupTimes().size(), 1u);
    EXPECT_EQ(relay->pickupTimes()[0] - start, c.tripNs);
    EXPECT_EQ(read16(0x8336), 0x8000);
    EXPECT_EQ(read16(0x830A), 0x0101);
    EXPECT_EQ(read32(0x8306), static_cast<uint32_t>(seen / kUs));
    EXPECT_TRUE(sim.violations().empty()) << sim.violationText();
}

INSTANTIATE_TEST_SUITE_P(Settings, RelayTrips,
                         ::testing::Values(TripCase{"Instantaneous", 2.0, 0.0, 0, simtest::kTickNs},
                                           TripCase{"DelayedWithDebounce", 2.0, 0.040, 15000, 40 * kMs},
                                           TripCase{"ExactlyAtPickup", 1.0, 0.100, 0, 100 * kMs},
                                           TripCase{"BelowPickup", 0.99, 0.0, 0, -1}),
                         [](const ::testing::TestParamInfo<TripCase>& info) { return std::string(info.param.name); });

TEST_F(Relay, PicksUpWhereARampCrossesThePickupValue)
{
    PageBuilder page;
    page.component(4, 0, 0.0, 0.0, 50.0).trigger(TriggerType::Time).durationSeconds(10.0).edges(0x0001);
    page.ramp(4, 28000 * 2, currentRampStep(2.0), 0x4000);   // 0 A rising at 2 A/s for 2 s
    writePage(0, page);
    auto relay = plug({4, 1.5, 0.020, 0.95, 0});
    runSoftwareSwitched();
    const int64_t start = sim.nowNs();
    // 1.5 A is reached after 0.75 s, plus the 20 ms delay.
    sim.advance(770 * kMs - kUs);
    EXPECT_FALSE(relay->pickedUp());
    sim.advance(2 * kUs);
    ASSERT_TRUE(relay->pickedUp());
    EXPECT_NEAR(static_cast<double>(relay->pickupTimes()[0] - start), 770.0 * kMs, 2.0 * kUs);
    EXPECT_NEAR(read32(0x8306) / 1e6, 0.770, 2e-6);
}

TEST_F(Relay, DropsOffBelowTheRatioAndIgnoresShortExcursions)
{
    // Page 0: 2 A for 10 ms (shorter than the 30 ms delay); page 1: 2 A;
    // page 2: 0.96 A (above 0.95 x pick-up); page 3: 0.9 A.
    PageBuilder shortPulse;
    shortPulse.component(4, 0, 2.0, 0.0, 50.0).trigger(TriggerType::Time).durationSeconds(0.010);
    PageBuilder quiet;
    quiet.component(4, 0, 0.0, 0.0, 50.0).trigger(TriggerType::Time).durationSeconds(0.100);
    PageBuilder high;
    high.component(4, 0, 2.0, 0.0, 50.0).trigger(TriggerType::Time).durationSeconds(0.100);
    PageBuilder holding;
    holding.component(4, 0, 0.96, 0.0, 50.0).trigger(TriggerType::Time).durationSeconds(0.100);
    PageBuilder low;
    low.component(4, 0, 0.9, 0.0, 50.0).trigger(TriggerType::Time).durationSeconds(0.100);
    writePage(0, shortPulse);
    writePage(1, quiet);
    writePage(2, high);
    writePage(3, holding);
    writePage(4, low);
    // The timed relay without a drop-off delay is the same relay.
    const std::shared_ptr<zorsim::TimedRelay> relays[] = {
        plug({4, 1.0, 0.030, 0.95, 2}),
        std::make_shared<zorsim::TimedRelay>(zorsim::TimedRelaySettings{4, 1.0, 0.030, 0.95, 0.0, 3}),
    };
    sim.plugIn(relays[1]);
    write16(0x8300, 1);
    write16(0x8302, 0);
    write16(0x8304, 5);
    write16(0x833E, 4);
    const int64_t start = sim.nowNs();
    sim.advance(1000 * kMs);
    for (const auto& relay : relays) {
        SCOPED_TRACE(relay->name());
        ASSERT_EQ(relay->pickupTimes().size(), 1u);
        EXPECT_EQ(relay->pickupTimes()[0] - start, 110 * kMs + 30 * kMs);
        ASSERT_EQ(relay->dropoffTimes().size(), 1u);
        EXPECT_EQ(relay->dropoffTimes()[0] - start, 310 * kMs + simtest::kTickNs);
    }
    EXPECT_FALSE(sim.binaryInput(2));
    EXPECT_EQ(read16(0x8338), 0x0000);
    EXPECT_TRUE(sim.violations().empty()) << sim.violationText();
}

TEST_F(Relay, StoppingTheOutputDropsTheRelay)
{
    writePage(0, tripPage(2.0));
    auto relay = plug({4, 1.0, 0.0, 0.95, 1});
    runSoftwareSwitched();
    sim.advance(kMs);
    ASSERT_TRUE(relay->pickedUp());
    write16(0x833E, 0);
    sim.advance(kMs);
    EXPECT_FALSE(relay->pickedUp());
    EXPECT_FALSE(sim.binaryInput(1));
    EXPECT_FALSE(sim.advanceToNextEvent()) << "nothing may stay pending once the output is off";
}

TEST_F(Relay, ADropoffLevelAboveThePickupIsHeldAtThePickup)
{
    // Between pick-up and pick-up x 1.5 the relay would pick up and drop
    // off again at the same instant without end.
    writePage(0, tripPage(1.2));
    zorsim::TimedRelaySettings s{4, 1.0, 0.0, 1.5, 0.0, 0};
    auto relay = std::make_shared<zorsim::TimedRelay>(s);
    sim.plugIn(relay);
    runSoftwareSwitched();
    sim.advance(kMs);
    EXPECT_EQ(relay->pickupTimes().size(), 1u);
    EXPECT_TRUE(relay->dropoffTimes().empty());
}

}   // namespace
