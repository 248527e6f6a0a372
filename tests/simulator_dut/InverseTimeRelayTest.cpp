// The inverse-time overcurrent relay against its curve formulas, worked out
// here from the IEC 60255 / IEEE C37.112 forms, through pages the driver
// encodes and trips the driver reads back.

#include "DutFixture.h"

#include "SimInverseTimeRelay.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace duttest;
using zorsim::InverseCurve;
using zorsim::InverseTimeRelay;
using zorsim::InverseTimeRelaySettings;
using zorsim::OvercurrentStage;

namespace {

const double kNever = std::numeric_limits<double>::infinity();

double iec(double k, double alpha, double tms, double m)
{
    return m > 1.0 ? tms * k / (std::pow(m, alpha) - 1.0) : kNever;
}

double ieee(double a, double b, double p, double td, double m)
{
    return m > 1.0 ? td * (a / (std::pow(m, p) - 1.0) + b) : kNever;
}

struct CurveCase
{
    const char* name;
    InverseCurve curve;
    double tms;
    double amps;            // on IA; pickup 1 A
    double instantAmps;     // 0: no instantaneous stage
    double instantDelay;
    double expected;        // s after the page start, kNever: no trip
    OvercurrentStage stage;
};

class InverseTimeTrips : public DutTest, public ::testing::WithParamInterface<CurveCase>
{
};

TEST_P(InverseTimeTrips, TripsAtTheCurveTimeAndTheDriverReadsIt)
{
    const CurveCase& c = GetParam();
    InverseTimeRelaySettings s;
    s.curve = c.curve;
    s.tms = c.tms;
    s.instantaneousAmps = c.instantAmps;
    s.instantaneousDelaySeconds = c.instantDelay;
    auto relay = plug<InverseTimeRelay>(s);

    channel(COMM_PORT_TYPE_IA, float(c.amps));
    sendState(60.0f, COMM_TRIGGER_TYPE_TIME_BINARY, true);
    const int64_t t0 = start(1);

    if (c.expected == kNever) {
        sim->advance(59 * kSecond);
        EXPECT_TRUE(relay->trips().empty());
        EXPECT_TRUE(std::isnan(readActionSeconds()));
        return;
    }
    const int64_t tripAt = t0 + ns(c.expected);
    advanceTo(tripAt - 20 * kUs);
    EXPECT_FALSE(relay->tripped());
    advanceTo(tripAt + 20 * kUs);
    ASSERT_TRUE(relay->tripped());
    const auto trips = relay->trips();
    ASSERT_EQ(trips.size(), 1u);
    EXPECT_NEAR((trips[0].timeNs - t0) / 1e9, c.expected, 2e-6);
    EXPECT_EQ(trips[0].stage, c.stage);
    EXPECT_EQ(trips[0].channel, COMM_PORT_TYPE_IA);

    // The FPGA sees the contact after the 15 ms debounce; the driver takes it off.
    advanceTo(tripAt + 16 * kMs);
    EXPECT_NEAR(readActionSeconds(), c.expected, 3e-6 + c.expected * 2e-7);
}

INSTANTIATE_TEST_SUITE_P(
    Curves, InverseTimeTrips,
    ::testing::Values(
        CurveCase{"IecStandardAt2", InverseCurve::iecStandardInverse(), 0.1, 2.0, 0, 0, iec(0.14, 0.02, 0.1, 2.0),
                  OvercurrentStage::InverseTime},
        CurveCase{"IecStandardAt5", InverseCurve::iecStandardInverse(), 0.1, 5.0, 0, 0, iec(0.14, 0.02, 0.1, 5.0),
                  OvercurrentStage::InverseTime},
        CurveCase{"IecStandardAt10", InverseCurve::iecStandardInverse(), 0.1, 10.0, 0, 0,
                  iec(0.14, 0.02, 0.1, 10.0), OvercurrentStage::InverseTime},
        CurveCase{"IecVeryAt3", InverseCurve::iecVeryInverse(), 0.2, 3.0, 0, 0, iec(13.5, 1.0, 0.2, 3.0),
                  OvercurrentStage::InverseTime},
        CurveCase{"IecExtremelyAt4", InverseCurve::iecExtremelyInverse(), 0.5, 4.0, 0, 0, iec(80.0, 2.0, 0.5, 4.0),
                  OvercurrentStage::InverseTime},
        CurveCase{"IeeeModeratelyAt2_5", InverseCurve::ieeeModeratelyInverse(), 1.0, 2.5, 0, 0,
                  ieee(0.0515, 0.114, 0.02, 1.0, 2.5), OvercurrentStage::InverseTime},
        CurveCase{"IeeeVeryAt6", InverseCurve::ieeeVeryInverse(), 0.5, 6.0, 0, 0, ieee(19.61, 0.491, 2.0, 0.5, 6.0),
                  OvercurrentStage::InverseTime},
        CurveCase{"InstantaneousStageFirst", InverseCurve::iecStandardInverse(), 1.0, 9.0, 8.0, 0.05, 0.05,
                  OvercurrentStage::Instantaneous},
        CurveCase{"BelowInstantaneousLevel", InverseCurve::iecStandardInverse(), 1.0, 7.0, 8.0, 0.05,
                  iec(0.14, 0.02, 1.0, 7.0), OvercurrentStage::InverseTime},
        CurveCase{"AtPickupNeverTrips", InverseCurve::iecStandardInverse(), 0.1, 1.0, 0, 0, kNever,
                  OvercurrentStage::InverseTime},
        CurveCase{"BelowPickup", InverseCurve::iecStandardInverse(), 0.1, 0.9, 0, 0, kNever,
                  OvercurrentStage::InverseTime}),
    [](const ::testing::TestParamInfo<CurveCase>& info) { return std::string(info.param.name); });

// ---- Current changing between pages ---------------------------------------------

struct Step
{
    double multiple;
    double seconds;
};

struct SequenceCase
{
    const char* name;
    std::vector<Step> steps;   // the last one runs until the trip
};

class InverseTimeSequence : public DutTest, public ::testing::WithParamInterface<SequenceCase>
{
};

// IEC standard inverse, TMS 0.1, pickup 1 A: progress adds up as the sum of
// (time at M) / t(M) and starts again from 0 whenever the current drops below
// pickup.
TEST_P(InverseTimeSequence, ProgressCarriesAcrossPagesAndResetsBelowPickup)
{
    const SequenceCase& c = GetParam();
    InverseTimeRelaySettings s;
    s.tms = 0.1;
    auto relay = plug<InverseTimeRelay>(s);

    double elapsed = 0.0;
    double progress = 0.0;
    double lastPageStart = 0.0;
    for (size_t i = 0; i < c.steps.size(); ++i) {
        const Step& step = c.steps[i];
        const bool last = i + 1 == c.steps.size();
        channel(COMM_PORT_TYPE_IA, float(step.multiple));
        sendState(last ? 60.0f : float(step.seconds), last ? COMM_TRIGGER_TYPE_TIME_BINARY : COMM_TRIGGER_TYPE_TIME,
                  last);
        if (last) {
            lastPageStart = elapsed;
            break;
        }
        const double t = iec(0.14, 0.02, 0.1, step.multiple);
        progress = step.multiple > 1.0 ? progress + step.seconds / t : 0.0;
        ASSERT_LT(progress, 1.0) << "the case must trip in its last page";
        elapsed += step.seconds;
    }
    const double expected = lastPageStart + (1.0 - progress) * iec(0.14, 0.02, 0.1, c.steps.back().multiple);

    const int64_t t0 = start(uint32_t(c.steps.size()));
    advanceTo(t0 + ns(expected) - 20 * kUs);
    EXPECT_FALSE(relay->tripped());
    advanceTo(t0 + ns(expected) + 20 * kUs);
    ASSERT_EQ(relay->trips().size(), 1u);
    EXPECT_NEAR((relay->trips()[0].timeNs - t0) / 1e9, expected, 2e-6);
    advanceTo(t0 + ns(expected) + 16 * kMs);
    EXPECT_NEAR(readActionSeconds(), expected - lastPageStart, 3e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, InverseTimeSequence,
    ::testing::Values(SequenceCase{"LowThenHigh", {{2.0, 0.5}, {5.0, 0}}},
                      SequenceCase{"HighThenLow", {{5.0, 0.2}, {2.0, 0}}},
                      SequenceCase{"ThreeLevels", {{3.0, 0.1}, {1.5, 0.6}, {8.0, 0}}},
                      SequenceCase{"DipBelowPickupRestarts", {{5.0, 0.4}, {0.5, 0.1}, {2.0, 0}}}),
    [](const ::testing::TestParamInfo<SequenceCase>& info) { return std::string(info.param.name); });

// A current ramp: with the IEC very inverse curve the progress rate
// (M - 1) / (13.5 TMS) is linear in time, so the trip time solves
// (M0 - 1) t + rho t^2 / 2 = 13.5 TMS.
TEST_F(DutTest, InverseTimeIntegratesAlongACurrentRamp)
{
    InverseTimeRelaySettings s;
    s.curve = InverseCurve::iecVeryInverse();
    s.tms = 0.1;
    auto relay = plug<InverseTimeRelay>(s);
    const double m0 = 1.5;
    const double rho = 0.5;   // A/s on a 1 A pickup
    channel(COMM_PORT_TYPE_IA, float(m0));
    amplitudeRamp(COMM_PORT_TYPE_IA, 10.0f, float(rho));
    sendState(60.0f, COMM_TRIGGER_TYPE_TIME_BINARY, true);
    const double expected = (-(m0 - 1.0) + std::sqrt((m0 - 1.0) * (m0 - 1.0) + 2.0 * rho * 13.5 * 0.1)) / rho;

    const int64_t t0 = start(1);
    advanceTo(t0 + ns(expected) - 20 * kUs);
    EXPECT_FALSE(relay->tripped());
    advanceTo(t0 + ns(expected) + 20 * kUs);
    ASSERT_EQ(relay->trips().size(), 1u);
    EXPECT_NEAR((relay->trips()[0].timeNs - t0) / 1e9, expected, 5e-6);
}

// After a trip the contact stays closed while any phase is above the
// drop-off level (0.95 x pickup), opens below it, and the next trip times
// from zero.
TEST_F(DutTest, InverseTimeDropsOffBelowTheRatioAndTimesAfresh)
{
    InverseTimeRelaySettings s;
    s.tms = 0.1;
    auto relay = plug<InverseTimeRelay>(s);
    const double t2 = iec(0.14, 0.02, 0.1, 2.0);
    channel(COMM_PORT_TYPE_IA, 2.0f);
    sendState(60.0f, COMM_TRIGGER_TYPE_TIME_BINARY, true);
    channel(COMM_PORT_TYPE_IB, 0.97f);   // above drop-off, on another phase
    sendState(0.5f, COMM_TRIGGER_TYPE_TIME, false);
    channel(COMM_PORT_TYPE_IC, 0.9f);
    sendState(0.2f, COMM_TRIGGER_TYPE_TIME, false);
    channel(COMM_PORT_TYPE_IA, 2.0f);
    sendState(60.0f, COMM_TRIGGER_TYPE_TIME_BINARY, true);
    const int64_t t0 = start(4);

    advanceTo(t0 + ns(t2) + 20 * kUs);
    ASSERT_EQ(relay->trips().size(), 1u);
    const int64_t firstTrip = relay->trips()[0].timeNs;
    EXPECT_NEAR(double(firstTrip - t0), t2 * 1e9, 2000.0);
    // Page 0 ends 15 ms after the trip, when the FPGA has seen the contact.
    const int64_t page2 = firstTrip + 15 * kMs + 500 * kMs;
    const int64_t page3 = page2 + 200 * kMs;
    advanceTo(page2 - kUs);
    EXPECT_TRUE(relay->tripped()) << "0.97 A holds the trip";
    advanceTo(page2 + kUs);
    EXPECT_FALSE(relay->tripped());
    ASSERT_EQ(relay->resetTimes().size(), 1u);
    EXPECT_EQ(relay->resetTimes()[0], page2 + kTickNs);
    EXPECT_EQ(sim->playerStatus().currentPage, 2);

    advanceTo(page3 + ns(t2) + 20 * kUs);
    const auto trips = relay->trips();
    ASSERT_EQ(trips.size(), 2u);
    EXPECT_NEAR(double(trips[1].timeNs - page3), t2 * 1e9, 2000.0);
    EXPECT_EQ(sim->playerStatus().currentPage, 3);
}

} // namespace
