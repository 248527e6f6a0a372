// The second-harmonic relay over a run of one-second pages with four
// components per channel: which component counts as the second harmonic, its
// share of the fundamental, the pick-up delay and the drop-off.

#include "DutFixture.h"

#include "SimHarmonicRelay.h"

#include <vector>

using namespace duttest;

TEST_F(DutTest, HarmonicRelayPicksUpOnTheSecondHarmonicsShare)
{
    struct Page
    {
        const char* name;
        float fundamental;
        float harmonicHz, harmonic;   // in component 2; component 1 holds 0 A at 0 Hz
    };
    const Page pages[] = {
        {"10 % at 100 Hz", 1.0f, 100.0f, 0.10f},
        {"30 % at 150 Hz is no 2nd harmonic", 1.0f, 150.0f, 0.30f},
        {"20 % at 100 Hz picks up after 0.3 s", 1.0f, 100.0f, 0.20f},
        {"14.5 % holds it (drop-off below 14.25 %)", 1.0f, 100.0f, 0.145f},
        {"10 % drops it at once", 1.0f, 100.0f, 0.10f},
        {"a 2nd harmonic without fundamental", 0.0f, 100.0f, 0.05f},
    };
    zorsim::HarmonicRelaySettings s;
    s.channel = COMM_PORT_TYPE_IA;
    s.sharePercent = 15.0;
    s.pickupDelaySeconds = 0.3;
    auto relay = plug<zorsim::HarmonicRelay>(s);
    control->controlOutputHarmEnable = 1;
    for (const Page& p : pages) {
        channel(COMM_PORT_TYPE_IA, p.fundamental);
        out->outputRanges[COMM_PORT_TYPE_IA][2] = p.harmonic;
        out->outputFrequencies[COMM_PORT_TYPE_IA][2] = p.harmonicHz;
        sendState(1.0f, COMM_TRIGGER_TYPE_TIME, false);
    }
    const int64_t t0 = start(6);
    sim->advance(7 * kSecond);

    std::vector<double> closes, opens;
    for (int64_t t : relay->pickupTimes())
        closes.push_back((t - t0) / 1e9);
    for (int64_t t : relay->dropoffTimes())
        opens.push_back((t - t0) / 1e9);
    ASSERT_EQ(closes.size(), 2u);
    EXPECT_NEAR(closes[0], 2.3, 1e-6);
    EXPECT_NEAR(closes[1], 5.3, 1e-6);
    ASSERT_GE(opens.size(), 1u);
    EXPECT_EQ(relay->dropoffTimes()[0], t0 + 4 * kSecond + kTickNs);   // drops a tick after the page
}
