// The energy meter answering the instrument's pulse input: pulses at its
// constant x (1 + error) for the played power, counted and timed by the
// FPGA and read by the driver, so the energy test measures the error.

#include "DutFixture.h"

#include "SimEnergyMeter.h"

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace duttest;
using zorsim::EnergyMeter;
using zorsim::EnergyMeterSettings;

namespace {

constexpr double kPulseClock = 1.25e8;   // ticks per second of the period counter
constexpr int64_t kSlack = 10 * kUs;

class Meter : public DutTest
{
protected:
    void armPulseInput(uint16_t pulses)
    {
        out->pulseInputEnable = 1;
        out->pulseInputTCU = pulses;
        ASSERT_EQ(driverBaseSendTestPulse(), 0);
    }
    void readPulses()
    {
        ASSERT_EQ(driverBaseReadTestPulse(), 0);
    }
};

// ---- The error measured over N pulses -------------------------------------------------

struct ErrorCase
{
    const char* name;
    double constant;   // imp/kWh
    double error;
    uint16_t pulses;
    bool saturates;    // the measured interval exceeds the 32-bit period register
};

class MeterError : public Meter, public ::testing::WithParamInterface<ErrorCase>
{
};

// 100 V x 10 A in phase on phase A: 1000 W. The first pulse opens the gate,
// each later one counts; the count and period are read as the product does.
TEST_P(MeterError, CountsAndTimesThePulsesOfTheMeter)
{
    const ErrorCase& c = GetParam();
    EnergyMeterSettings s;
    s.impulsesPerKwh = c.constant;
    s.error = c.error;
    auto meter = plug<EnergyMeter>(s);
    channel(COMM_PORT_TYPE_UA, 100.0f);
    channel(COMM_PORT_TYPE_IA, 10.0f);
    sendState(36000.0f, COMM_TRIGGER_TYPE_TIME, false);
    armPulseInput(c.pulses);
    const int64_t t0 = start(1);
    const double interval = 3.6e6 / (c.constant * (1.0 + c.error)) / 1000.0;

    for (int k = 1; k <= c.pulses + 1; ++k) {
        SCOPED_TRACE(k);
        const int64_t at = t0 + ns(k * interval);
        advanceTo(at - kSlack);
        readPulses();
        EXPECT_EQ(out->pulseInputTCNT, k >= 2 ? k - 2 : 0);
        EXPECT_EQ(out->pulseInputState, 0);
        advanceTo(at + kSlack);
        readPulses();
        EXPECT_EQ(out->pulseInputTCNT, k - 1);
        EXPECT_EQ(out->pulseInputState, k == c.pulses + 1 ? 2 : 0);
    }
    EXPECT_EQ(meter->pulseTimes().size(), size_t(c.pulses) + 1);
    if (c.saturates) {
        EXPECT_EQ(out->pulseInputPeriod, 0xFFFFFFFFu);
        return;
    }
    // The encoder scales amplitudes in single precision: the played power is
    // within 2e-7 of the nominal 1000 W.
    const double ticks = c.pulses * interval * kPulseClock;
    EXPECT_NEAR(double(out->pulseInputPeriod), ticks, ticks * 2e-7 + 2.0);
    // What the energy test makes of it.
    const double played = 1000.0 * (out->pulseInputPeriod / kPulseClock) / 3600.0;   // Wh
    const double registered = c.pulses * 1000.0 / c.constant;                     // Wh
    EXPECT_NEAR(registered / played - 1.0, c.error, 3e-7);

    // Later pulses no longer count; re-arming starts a new measurement.
    advanceTo(t0 + ns((c.pulses + 3) * interval) + kSlack);
    readPulses();
    EXPECT_EQ(out->pulseInputTCNT, c.pulses);
    armPulseInput(c.pulses);
    readPulses();
    EXPECT_EQ(out->pulseInputTCNT, 0);
    EXPECT_EQ(out->pulseInputState, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Meters, MeterError,
    ::testing::Values(ErrorCase{"Exact", 1000.0, 0.0, 5, false}, ErrorCase{"TwoPercentFast", 1000.0, 0.02, 5, false},
                      ErrorCase{"FivePercentSlow", 3200.0, -0.05, 10, false},
                      ErrorCase{"IntervalBeyondThePeriodRegister", 1000.0, 0.0, 10, true}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return std::string(info.param.name); });

// ---- Power of the played outputs ----------------------------------------------------

// One page: phase A (or, balanced, all three phases) at these values; the
// current may ramp. At 1000 imp/kWh one pulse is 3600 J.
struct PowerPage
{
    float volts, voltDeg, voltHz;
    float amps, ampDeg, ampHz;
    float seconds;
    float ampsPerSecond;   // ramp of IA up to 10 A; 0: none
};

struct PowerCase
{
    const char* name;
    std::vector<std::pair<int, int>> phases;
    bool balanced;
    double uaGain;         // UA's amplifier plays its AC amplitude this much high
    std::vector<PowerPage> pages;
    double firstPulse;     // s after the run start; NaN: none
};

class MeterPower : public Meter, public ::testing::WithParamInterface<PowerCase>
{
};

TEST_P(MeterPower, FirstPulseWhenThePlayedEnergyReachesOneStep)
{
    const PowerCase& c = GetParam();
    EnergyMeterSettings s;
    s.phases = c.phases;
    auto meter = plug<EnergyMeter>(s);
    if (c.uaGain != 1.0) {
        zorsim::OutputErrors errors;
        errors.at(COMM_PORT_TYPE_UA, 1).acAmplitude = zorsim::SegmentedError::affine(c.uaGain, 0.0);
        sim->setOutputErrors(errors);
    }
    for (const PowerPage& p : c.pages) {
        for (int phase = 0; phase < (c.balanced ? 3 : 1); ++phase) {
            channel(phase, p.volts, p.voltDeg - 120.0f * phase, p.voltHz);
            channel(4 + phase, p.amps, p.ampDeg - 120.0f * phase, p.ampHz);
        }
        if (p.ampsPerSecond > 0.0f)
            amplitudeRamp(COMM_PORT_TYPE_IA, 10.0f, p.ampsPerSecond);
        sendState(p.seconds, COMM_TRIGGER_TYPE_TIME, false);
    }
    armPulseInput(1);
    const int64_t t0 = start(uint32_t(c.pages.size()));
    if (std::isnan(c.firstPulse)) {
        sim->advance(60 * kSecond);
        EXPECT_TRUE(meter->pulseTimes().empty());
        readPulses();
        EXPECT_EQ(out->pulseInputTCNT, 0);
        return;
    }
    advanceTo(t0 + ns(c.firstPulse) - kSlack);
    EXPECT_TRUE(meter->pulseTimes().empty());
    advanceTo(t0 + ns(c.firstPulse) + kSlack);
    ASSERT_EQ(meter->pulseTimes().size(), 1u);
    EXPECT_NEAR((meter->pulseTimes()[0] - t0) / 1e9, c.firstPulse, 2e-6);
    EXPECT_EQ(sim->peekRegister(0x8420) & 1, 1) << "the pulse reached the FPGA's input";
}

const std::vector<std::pair<int, int>> kAbc = {{0, 4}, {1, 5}, {2, 6}};
const double kNoPulse = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Outputs, MeterPower,
    ::testing::Values(
        // 3 x 100 V x 10 A x cos 60 deg = 1500 W.
        PowerCase{"ThreePhasesLagging60", kAbc, true, 1.0, {{100, 0, 50, 10, -60, 50, 36000, 0}}, 2.4},
        // Phases A and C of 100 V x 6 A: 1200 W.
        PowerCase{"ChosenPhasesOnly", {{0, 4}, {2, 6}}, true, 1.0, {{100, 0, 50, 6, 0, 50, 36000, 0}}, 3.0},
        PowerCase{"CurrentAtAnotherFrequency", kAbc, false, 1.0, {{100, 0, 50, 10, 0, 60, 36000, 0}}, kNoPulse},
        PowerCase{"ReversePowerIsNotRegistered", kAbc, false, 1.0, {{100, 0, 50, 10, 180, 50, 36000, 0}}, kNoPulse},
        // DC plays as magnitude x sin(phase): 100 V x 10 A.
        PowerCase{"DirectCurrent", kAbc, false, 1.0, {{100, 90, 0, 10, 90, 0, 36000, 0}}, 3.6},
        // The meter sees what the terminals play: 101 V x 10 A.
        PowerCase{"PlayedValuesWithOutputErrors", kAbc, false, 1.01, {{100, 0, 50, 10, 0, 50, 36000, 0}},
                  3600.0 / 1010.0},
        // 1000 W for 1 s, then 500 W: 1 + 2600 / 500.
        PowerCase{"PowerStepBetweenPages", kAbc, false, 1.0,
                  {{100, 0, 50, 10, 0, 50, 1, 0}, {100, 0, 50, 5, 0, 50, 36000, 0}}, 6.2},
        // 100 V x (5 + t) A: 500 t + 50 t^2 = 3600.
        PowerCase{"RampedCurrent", kAbc, false, 1.0, {{100, 0, 50, 5, 0, 50, 36000, 1}},
                  (-10.0 + std::sqrt(100.0 + 4.0 * 72.0)) / 2.0}),
    [](const ::testing::TestParamInfo<PowerCase>& info) { return std::string(info.param.name); });

// ---- Reactive and apparent meters ------------------------------------------------------

struct QuantityCase
{
    const char* name;
    zorsim::MeterQuantity quantity;
    std::vector<std::pair<int, int>> phases;
    std::vector<std::array<float, 3>> channels;   // channel, amplitude, degrees at 50 Hz
    double firstPulse;                            // s after the run start; NaN: none
};

void PrintTo(const QuantityCase& c, std::ostream* os)
{
    *os << c.name;
}

class MeterQuantity : public Meter, public ::testing::WithParamInterface<QuantityCase>
{
};

TEST_P(MeterQuantity, FirstPulseWhenTheRegisteredEnergyReachesOneStep)
{
    const QuantityCase& c = GetParam();
    EnergyMeterSettings s;
    s.quantity = c.quantity;
    s.phases = c.phases;
    auto meter = plug<EnergyMeter>(s);
    for (const auto& ch : c.channels)
        channel(int(ch[0]), ch[1], ch[2]);
    sendState(36000.0f, COMM_TRIGGER_TYPE_TIME, false);
    armPulseInput(1);
    const int64_t t0 = start(1);
    if (std::isnan(c.firstPulse)) {
        sim->advance(60 * kSecond);
        EXPECT_TRUE(meter->pulseTimes().empty());
        return;
    }
    advanceTo(t0 + ns(c.firstPulse) - kSlack);
    EXPECT_TRUE(meter->pulseTimes().empty());
    advanceTo(t0 + ns(c.firstPulse) + kSlack);
    ASSERT_EQ(meter->pulseTimes().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Quantities, MeterQuantity,
    ::testing::Values(
        // 3 x 100 V x 10 A x sin 30 deg = 1500 var.
        QuantityCase{"ReactiveLagging30", zorsim::MeterQuantity::Reactive, kAbc,
                     {{0, 100, 0}, {1, 100, -120}, {2, 100, 120}, {4, 10, -30}, {5, 10, -150}, {6, 10, 90}}, 2.4},
        QuantityCase{"ReactiveLeadingIsNotRegistered", zorsim::MeterQuantity::Reactive, kAbc,
                     {{0, 100, 0}, {4, 10, 30}}, kNoPulse},
        // Two elements, UA 0 deg and UC 60 deg with currents 60 deg behind
        // their three-wire places: sqrt(3) x 100 V x 10 A.
        QuantityCase{"ApparentThreeWire", zorsim::MeterQuantity::Apparent, {{0, 4}, {2, 6}},
                     {{0, 100, 0}, {2, 100, 60}, {4, 10, -90}, {6, 10, 30}}, 3600.0 / (std::sqrt(3.0) * 1000.0)}),
    [](const ::testing::TestParamInfo<QuantityCase>& info) { return std::string(info.param.name); });

} // namespace
