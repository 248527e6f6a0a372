// The two-zone distance relay over one-second pages: the loop impedances it
// measures (earth loops with its KL), which zone a fault falls in and when
// its contact closes, and that a reverse fault never trips.

#include "DutFixture.h"

#include "SimDistanceRelay.h"

#include <complex>
#include <vector>

using namespace duttest;

namespace {

using Z = std::complex<double>;
constexpr double kDeg = 3.14159265358979323846 / 180.0;

} // namespace

TEST_F(DutTest, DistanceRelayTripsInTheZoneOfTheMeasuredLoop)
{
    struct Page
    {
        const char* name;
        bool earthFault;   // A-E, else A-B
        double ohms, angleDeg;
        int zone;          // 0: no trip
    };
    const Page pages[] = {
        {"A-E at 0.95 x reach 1", true, 1.9, 75.0, 1},
        {"A-B at 1.05 x reach 1", false, 2.1, 75.0, 2},
        {"A-E beyond reach 2", true, 3.2, 75.0, 0},
        {"A-E reverse", true, 1.0, 255.0, 0},
        {"A-B at 0.5 x reach 1, 40 degrees off the line", false, 1.0, 35.0, 1},
    };
    zorsim::DistanceRelaySettings s;
    s.reach1Ohms = 2.0;
    s.time1Seconds = 0.1;
    s.reach2Ohms = 3.0;
    s.time2Seconds = 0.4;
    s.klRange = 0.7;
    s.klAngleDeg = -10.0;
    const Z kl = std::polar(0.7, -10.0 * kDeg);
    auto relay = plug<zorsim::DistanceRelay>(s);

    // A fault page that trips is followed by a healthy one that opens the
    // contact (the ring holds eight pages).
    const double amps = 5.0;
    std::vector<int> faultPage;
    int pageCount = 0;
    for (const Page& p : pages) {
        faultPage.push_back(pageCount++);
        const Z z = std::polar(p.ohms, p.angleDeg * kDeg);
        threePhase(57.7f, 0.0f);
        if (p.earthFault) {
            const Z ua = z * amps * (1.0 + kl);   // I0 = IA / 3
            channel(0, float(std::abs(ua)), float(std::arg(ua) / kDeg));
            channel(4, float(amps));
        } else {
            // UA - UB = Z (IA - IB) with IB = -IA, around a healthy UC.
            const Z ua = Z(28.85, 0.0) + z * amps;
            const Z ub = Z(28.85, 0.0) - z * amps;
            channel(0, float(std::abs(ua)), float(std::arg(ua) / kDeg));
            channel(1, float(std::abs(ub)), float(std::arg(ub) / kDeg));
            channel(4, float(amps));
            channel(5, float(amps), 180.0f);
        }
        sendState(1.0f, COMM_TRIGGER_TYPE_TIME, false);
        if (p.zone != 0) {
            threePhase(57.7f, 0.0f);
            sendState(1.0f, COMM_TRIGGER_TYPE_TIME, false);
            ++pageCount;
        }
    }
    const int64_t t0 = start(uint32_t(pageCount));
    sim->advance((pageCount + 1) * kSecond);

    const std::vector<zorsim::DistanceRelay::Measurement> seen = relay->measurements();
    ASSERT_EQ(seen.size(), sizeof pages / sizeof pages[0]);
    std::vector<double> expectedTrips;
    std::vector<int> expectedZones;
    for (size_t i = 0; i < seen.size(); ++i) {
        const Page& p = pages[i];
        SCOPED_TRACE(p.name);
        const auto& loop = seen[i].loops[p.earthFault ? zorsim::DistanceRelay::LOOP_AE : zorsim::DistanceRelay::LOOP_AB];
        ASSERT_TRUE(loop.has_value());
        EXPECT_NEAR(std::abs(*loop), p.ohms, 1e-3 * p.ohms);
        EXPECT_NEAR(std::arg(*loop * std::polar(1.0, -p.angleDeg * kDeg)), 0.0, 0.1 * kDeg);
        if (p.zone != 0) {
            expectedTrips.push_back(faultPage[i] + (p.zone == 1 ? s.time1Seconds : s.time2Seconds));
            expectedZones.push_back(p.zone);
        }
    }
    std::vector<double> trips;
    for (int64_t t : relay->tripTimes())
        trips.push_back((t - t0) / 1e9);
    ASSERT_EQ(trips.size(), expectedTrips.size());
    for (size_t i = 0; i < trips.size(); ++i)
        EXPECT_NEAR(trips[i], expectedTrips[i], 1e-6) << i;
    EXPECT_EQ(relay->tripZones(), expectedZones);
}
