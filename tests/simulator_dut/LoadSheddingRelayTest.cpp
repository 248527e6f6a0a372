// The under-frequency and under-voltage load-shedding relays on the slides
// the instrument plays (df/dt and dv/dt ramps encoded by the driver): trip
// time = (start - pick-up) / rate + delay, and their blocking conditions.

#include "DutFixture.h"

#include "SimFrequencyRelay.h"
#include "SimVoltageRelay.h"

#include <cmath>
#include <functional>
#include <limits>
#include <string>

using namespace duttest;
using zorsim::FrequencyRelay;
using zorsim::FrequencyRelaySettings;
using zorsim::LoadSheddingRelay;
using zorsim::VoltageRelay;
using zorsim::VoltageRelaySettings;

namespace {

const double kNone = std::numeric_limits<double>::quiet_NaN();
// A frequency word resolves 28000 / 2^32 Hz: a 50 Hz start is up to 6.5 uHz
// low, which moves a crossing at 0.5 Hz/s by 13 us.
constexpr int64_t kSlack = 50 * kUs;

class LoadShedding : public DutTest
{
protected:
    // Pre-fault page: the given voltage, 50 Hz, 1 A for 1 s; then the fault
    // page the case fills (armed, time or binary input, 6 s).
    int64_t runFault(float prefaultVolts, const std::function<void()>& fillFault)
    {
        threePhase(prefaultVolts, 1.0f);
        sendState(1.0f, COMM_TRIGGER_TYPE_TIME, false);
        fillFault();
        sendState(6.0f, COMM_TRIGGER_TYPE_TIME_BINARY, true);
        return start(2) + kSecond;
    }

    // Steps across the expected trip (s after the fault page start) or
    // through the whole fault page when none is expected.
    void expectTrip(const LoadSheddingRelay& relay, int64_t faultStart, double expected)
    {
        if (std::isnan(expected)) {
            advanceTo(faultStart + 6 * kSecond - kMs);
            EXPECT_TRUE(relay.tripTimes().empty());
            EXPECT_TRUE(std::isnan(readActionSeconds()));
            return;
        }
        advanceTo(faultStart + ns(expected) - kSlack);
        EXPECT_FALSE(relay.tripped());
        advanceTo(faultStart + ns(expected) + kSlack);
        ASSERT_EQ(relay.tripTimes().size(), 1u);
        EXPECT_NEAR((relay.tripTimes()[0] - faultStart) / 1e9, expected, kSlack / 1e9);
        advanceTo(faultStart + ns(expected) + 16 * kMs);
        EXPECT_NEAR(readActionSeconds(), expected, kSlack / 1e9);
    }
};

// ---- Trip times on a frequency slide ----------------------------------------------

struct SlideCase
{
    const char* name;
    double rate;    // Hz/s, from 50 Hz down to 47 Hz
    double delay;
};

class FrequencySlide : public LoadShedding, public ::testing::WithParamInterface<SlideCase>
{
};

TEST_P(FrequencySlide, TripsAtTheCrossingPlusTheDelay)
{
    const SlideCase& c = GetParam();
    FrequencyRelaySettings s;
    s.pickupHz = 49.0;
    s.delaySeconds = c.delay;
    auto relay = plug<FrequencyRelay>(s);
    const int64_t fault = runFault(57.7f, [&] {
        threePhase(57.7f, 1.0f);
        for (int p = 0; p < 3; ++p)
            frequencyRamp(p, 47.0f, float(c.rate));
    });
    expectTrip(*relay, fault, (50.0 - 49.0) / c.rate + c.delay);
}

INSTANTIATE_TEST_SUITE_P(Rates, FrequencySlide,
                         ::testing::Values(SlideCase{"OneHzPerSecond", 1.0, 0.2}, SlideCase{"Slow", 0.5, 0.0},
                                           SlideCase{"Fast", 2.5, 0.5}),
                         [](const ::testing::TestParamInfo<SlideCase>& info) { return std::string(info.param.name); });

// ---- Blocking --------------------------------------------------------------------

// One fault page: three phases at volts / amps, sliding from 50 Hz to 47 Hz
// (frequency relay) or from the voltage to 50 V (voltage relay) at `slide`
// per second, or a plain step when it is 0. Blocks: 0 = off.
struct BlockCase
{
    const char* name;
    bool frequencyRelay;
    double rateBlock;     // df/dt or dv/dt
    double underVoltage;
    double lowCurrent;
    float volts;
    float amps;
    float slide;
    double expected;      // s after the fault start, NaN: blocked
};

class Blocking : public LoadShedding, public ::testing::WithParamInterface<BlockCase>
{
};

TEST_P(Blocking, BlockedOrTrippingAsSet)
{
    const BlockCase& c = GetParam();
    std::shared_ptr<LoadSheddingRelay> relay;
    if (c.frequencyRelay) {
        FrequencyRelaySettings s;
        s.pickupHz = 49.0;
        s.delaySeconds = 0.1;
        s.dfdtBlockHzPerSecond = c.rateBlock;
        s.underVoltageBlockVolts = c.underVoltage;
        s.lowCurrentBlockAmps = c.lowCurrent;
        relay = plug<FrequencyRelay>(s);
    } else {
        VoltageRelaySettings s;
        s.pickupVolts = 80.0;
        s.delaySeconds = 0.1;
        s.dvdtBlockVoltsPerSecond = c.rateBlock;
        s.underVoltageBlockVolts = c.underVoltage;
        s.lowCurrentBlockAmps = c.lowCurrent;
        relay = plug<VoltageRelay>(s);
    }
    const int64_t fault = runFault(c.frequencyRelay ? 57.7f : 100.0f, [&] {
        threePhase(c.volts, c.amps);
        for (int p = 0; p < 3 && c.slide > 0.0f; ++p) {
            if (c.frequencyRelay)
                frequencyRamp(p, 47.0f, c.slide);
            else
                amplitudeRamp(p, 50.0f, c.slide);
        }
    });
    expectTrip(*relay, fault, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, Blocking,
    ::testing::Values(BlockCase{"DfdtBelowBlock", true, 2.0, 0, 0, 57.7f, 1.0f, 1.0f, 1.1},
                      BlockCase{"DfdtAboveBlockStaysBlockedAfterTheSlide", true, 2.0, 0, 0, 57.7f, 1.0f, 3.0f, kNone},
                      BlockCase{"UnderVoltageBlocks", true, 0, 30.0, 0, 20.0f, 1.0f, 1.0f, kNone},
                      BlockCase{"VoltageAboveTheBlock", true, 0, 30.0, 0, 35.0f, 1.0f, 1.0f, 1.1},
                      BlockCase{"FrequencyLowCurrentBlocks", true, 0, 0, 0.2, 57.7f, 0.1f, 1.0f, kNone},
                      BlockCase{"NoVoltageNoFrequency", true, 0, 0, 0, 5.0f, 1.0f, 1.0f, kNone},
                      BlockCase{"VoltageSlideBelowBlock", false, 50.0, 0, 0, 100.0f, 1.0f, 20.0f, 1.1},
                      BlockCase{"DvdtAboveBlock", false, 50.0, 0, 0, 100.0f, 1.0f, 100.0f, kNone},
                      BlockCase{"VoltageLowCurrentBlocks", false, 0, 0, 0.2, 100.0f, 0.1f, 20.0f, kNone},
                      BlockCase{"CollapsedVoltageBlocks", false, 0, 20.0, 0, 10.0f, 1.0f, 0.0f, kNone},
                      BlockCase{"StepBelowPickupIsNoRate", false, 50.0, 20.0, 0, 60.0f, 1.0f, 0.0f, 0.1}),
    [](const ::testing::TestParamInfo<BlockCase>& info) { return std::string(info.param.name); });

// The df/dt block stays latched while the frequency is below the reset
// value, and an after-fault page at the normal frequency clears it.
TEST_F(LoadShedding, DfdtBlockLatchesUntilTheFrequencyRecovers)
{
    FrequencyRelaySettings s;
    s.pickupHz = 49.0;
    s.delaySeconds = 0.1;
    s.dfdtBlockHzPerSecond = 2.0;
    auto relay = plug<FrequencyRelay>(s);
    threePhase(57.7f, 1.0f);
    sendState(1.0f, COMM_TRIGGER_TYPE_TIME, false);
    threePhase(57.7f, 1.0f);
    for (int p = 0; p < 3; ++p)
        frequencyRamp(p, 47.0f, 3.0f);   // 1 s slide, then 47 Hz
    sendState(3.0f, COMM_TRIGGER_TYPE_TIME_BINARY, true);
    threePhase(57.7f, 1.0f);
    sendState(0.5f, COMM_TRIGGER_TYPE_TIME, false);
    threePhase(57.7f, 1.0f, 48.5f);     // a step, not a slide
    sendState(3.0f, COMM_TRIGGER_TYPE_TIME_BINARY, true);
    const int64_t t0 = start(4);

    advanceTo(t0 + 3 * kSecond + 900 * kMs);
    EXPECT_TRUE(relay->rateBlocked()) << "47 Hz long after the slide: still latched";
    EXPECT_TRUE(relay->tripTimes().empty());
    advanceTo(t0 + 4 * kSecond + 100 * kMs);
    EXPECT_FALSE(relay->rateBlocked()) << "50 Hz clears the latch";
    const int64_t lastPage = t0 + 4 * kSecond + 500 * kMs;
    advanceTo(lastPage + 100 * kMs + kSlack);
    ASSERT_EQ(relay->tripTimes().size(), 1u);
    EXPECT_NEAR(double(relay->tripTimes()[0] - lastPage), 100.0 * kMs, double(kSlack));
    EXPECT_EQ(sim->playerStatus().currentPage, 3);
}

// Stopping the output disconnects the relay: its contact opens and nothing
// of it stays pending.
TEST_F(LoadShedding, StoppedOutputOpensTheContact)
{
    VoltageRelaySettings s;
    s.pickupVolts = 80.0;
    s.delaySeconds = 0.0;
    auto relay = plug<VoltageRelay>(s);
    threePhase(50.0f, 1.0f);
    sendState(10.0f, COMM_TRIGGER_TYPE_TIME, false);
    const int64_t t0 = start(1);
    advanceTo(t0 + kMs);
    ASSERT_TRUE(relay->tripped());
    EXPECT_EQ(relay->tripTimes()[0], t0 + kTickNs);
    stop();
    sim->advance(kMs);
    EXPECT_FALSE(relay->tripped());
    EXPECT_FALSE(sim->binaryInput(0));
    sim->advance(100 * kMs);
    EXPECT_FALSE(sim->advanceToNextEvent()) << "nothing pending once the output is off";
}

} // namespace
