// The envelope relay on a swing page: a steady 1 A at 50 Hz with a 0.3 A
// swing at 48 Hz starting in opposition, so the envelope beats from 0.7 A
// up to 1.3 A at 0.25 s and back at 0.5 s.

#include "DutFixture.h"

#include "SimEnvelopeRelay.h"

#include <cmath>

using namespace duttest;

TEST_F(DutTest, EnvelopeRelayPicksUpOnTheBeatOfSteadyAndSwing)
{
    // The envelope reaches A (1 + p/2) = 1.15 A where cos(4 pi s) = -0.3875
    // and leaves it again at 0.5 s less that.
    const double reach = std::acos(-0.3875) / (4.0 * M_PI);
    struct Case
    {
        const char* name;
        double pickup, delay;
        double closeAt;   // s after the start; < 0: never within 2 s
    };
    const Case cases[] = {
        {"half the swing", 1.15, 0.0, reach},
        {"delay within the time above", 1.15, 0.1, reach + 0.1},
        {"delay longer than the time above", 1.15, 0.2, -1.0},
        {"2 % above the peak", 1.02 * 1.3, 0.0, -1.0},
        {"below the trough", 0.69, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        zorsim::EnvelopeRelaySettings s;
        s.channel = COMM_PORT_TYPE_IA;
        s.pickup = c.pickup;
        s.pickupDelaySeconds = c.delay;
        auto relay = plug<zorsim::EnvelopeRelay>(s);
        control->controlOscillateEnable = 1;
        channel(COMM_PORT_TYPE_IA, 0.3f, 180.0f, 48.0f);
        out->outputRanges[COMM_PORT_TYPE_IA][1] = 1.0f;
        out->outputFrequencies[COMM_PORT_TYPE_IA][1] = 50.0f;
        sendState(10.0f, COMM_TRIGGER_TYPE_TIME, false);
        const int64_t t0 = start(1);
        sim->advance(2 * kSecond);
        if (c.closeAt < 0.0) {
            EXPECT_TRUE(relay->pickupTimes().empty());
            continue;
        }
        ASSERT_FALSE(relay->pickupTimes().empty());
        EXPECT_NEAR((relay->pickupTimes()[0] - t0) / 1e9, c.closeAt, 1e-4);
    }
}
