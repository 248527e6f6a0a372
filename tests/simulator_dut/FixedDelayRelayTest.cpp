// The fixed-delay relay over a four-page run stepped by the FPGA: which
// pages close its contact, when, and what the driver reads back.

#include "DutFixture.h"

#include "SimFixedDelayRelay.h"

#include <cmath>
#include <string>
#include <vector>

using namespace duttest;
using zorsim::FixedDelayRelay;
using zorsim::FixedDelayRelaySettings;

namespace {

struct PageCase
{
    const char* name;
    FixedDelayRelaySettings settings;
    std::vector<double> closes;   // s after the run start
    bool lastPageTrips;
};

FixedDelayRelaySettings make(double delay, uint8_t mask, bool armedOnly, double minimumIa = -1.0)
{
    FixedDelayRelaySettings s;
    s.delaySeconds = delay;
    s.pageMask = mask;
    s.armedPagesOnly = armedOnly;
    if (minimumIa >= 0.0)
        s.condition = [minimumIa](const zorsim::PlayedOutputs& out) {
            return out.amplitude(4, 0, out.pageStartNs) >= minimumIa;
        };
    return s;
}

class FixedDelayPages : public DutTest, public ::testing::WithParamInterface<PageCase>
{
};

// Pages: 0 unarmed 0.5 s (IA 1 A); 1 armed, ends on the input, 2 s (5 A);
// 2 unarmed 0.5 s (5 A); 3 armed, ends on the input, 2 s (1 A). An armed page
// ends 15 ms (the debounce) after the contact closes.
TEST_P(FixedDelayPages, ClosesOnTheChosenPagesAfterTheDelay)
{
    const PageCase& c = GetParam();
    auto relay = plug<FixedDelayRelay>(c.settings);
    const float amps[] = {1.0f, 5.0f, 5.0f, 1.0f};
    const float seconds[] = {0.5f, 2.0f, 0.5f, 2.0f};
    for (int p = 0; p < 4; ++p) {
        channel(COMM_PORT_TYPE_IA, amps[p]);
        const bool armed = p % 2 == 1;
        sendState(seconds[p], armed ? COMM_TRIGGER_TYPE_TIME_BINARY : COMM_TRIGGER_TYPE_TIME, armed);
    }
    const int64_t t0 = start(4);
    sim->advance(6 * kSecond);

    const std::vector<int64_t> closes = relay->closeTimes();
    ASSERT_EQ(closes.size(), c.closes.size());
    for (size_t i = 0; i < closes.size(); ++i)
        EXPECT_EQ(closes[i] - t0, ns(c.closes[i])) << "close " << i;
    // Every close but one at the end of the run is opened by the next page.
    EXPECT_EQ(relay->openTimes().size(), c.closes.size() - (c.lastPageTrips ? 1 : 0));
    // The instrument's own contact log sees what the relay did.
    EXPECT_EQ(sim->contactCloseTimes(0), closes);
    EXPECT_EQ(sim->contactOpenTimes(0), relay->openTimes());
    EXPECT_EQ(sim->playerStatus().currentPage, 3);
    // The driver reads the run's trips oldest first; the last page's comes last.
    double action = std::nan("");
    for (int read = 0; read < 8; ++read) {
        const double seconds = readActionSeconds();
        if (std::isnan(seconds))
            break;
        if (status->statusTestActionStateIndex == 3)
            action = seconds;
    }
    if (c.lastPageTrips)
        EXPECT_NEAR(action, c.settings.delaySeconds, 2e-6);
    else
        EXPECT_TRUE(std::isnan(action));
}

INSTANTIATE_TEST_SUITE_P(
    Choices, FixedDelayPages,
    ::testing::Values(PageCase{"EveryPage", make(0.1, 0xFF, false), {0.1, 0.6, 0.715, 1.215}, true},
                      PageCase{"ArmedPagesOnly", make(0.1, 0xFF, true), {0.6, 1.215}, true},
                      PageCase{"PageMask", make(0.1, 0x02, false), {0.6}, false},
                      PageCase{"ConditionOnTheOutputs", make(0.1, 0xFF, false, 2.0), {0.6, 0.715}, false},
                      PageCase{"DelayLongerThanShortPages", make(0.7, 0xFF, false), {1.2, 2.415}, true}),
    [](const ::testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

TEST_F(DutTest, FixedDelayContactOpensWhenTheOutputStops)
{
    auto relay = plug<FixedDelayRelay>(make(0.05, 0xFF, false));
    channel(COMM_PORT_TYPE_UA, 57.7f);
    sendState(10.0f, COMM_TRIGGER_TYPE_TIME, false);
    const int64_t t0 = start(1);
    advanceTo(t0 + 50 * kMs - kUs);
    EXPECT_FALSE(relay->closed());
    advanceTo(t0 + 50 * kMs + kUs);
    EXPECT_TRUE(relay->closed());
    stop();
    sim->advance(kMs);
    EXPECT_FALSE(relay->closed());
    EXPECT_FALSE(sim->binaryInput(0));
}

}   // namespace
