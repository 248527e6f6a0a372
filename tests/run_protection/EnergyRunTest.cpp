// The energy-meter test end to end: the instrument plays a power, the meter
// model sends its pulses to the pulse input, the polling loop follows each
// state's count and the entity turns the measured interval into time and
// energy.

#include "RunProtectionSupport.h"

using namespace runprotection;

namespace {

constexpr double kConstant = 1000.0;   // imp/kWh, the meter's and the test's

struct Point
{
    int phases;        // 125 V and 8 A in phase on this many phases: 1000 W each
    double pulses;     // to count
    double expected;   // the time setting of all the pulses, s
    double delay;      // before counting, s
};

void setPoints(ModelEnergyEntity& e, const std::vector<Point>& points)
{
    e.stateCount = int(points.size());
    e.pulseOutputEnable = 1;
    e.pulseOutputConst = kConstant;
    const double angles[3] = {0.0, 240.0, 120.0};
    for (int s = 0; s < e.stateCount; ++s) {
        const Point& p = points[size_t(s)];
        for (int c = 0; c < 8; ++c) {
            const int phase = c % 4;
            const bool on = phase < p.phases && phase < 3;
            e.stateOutputRanges[s][c] = on ? (c < 4 ? 125.0 : 8.0) : 0.0;
            e.stateOutputAngles[s][c] = phase < 3 ? angles[phase] : 0.0;
            e.stateOutputFrequencies[s][c] = 50.0;
        }
        e.pulseOutputGiven[s] = 1000.0 * p.phases;
        e.stateSettingPulses[s] = p.pulses;
        e.stateSettingTimes[s] = p.expected;
        e.stateSampleDelayTimes[s] = p.delay;
    }
}

std::shared_ptr<zorsim::EnergyMeter> plugMeter(zorsim::SimInstrument& sim)
{
    zorsim::EnergyMeterSettings settings;
    settings.impulsesPerKwh = kConstant;
    auto meter = std::make_shared<zorsim::EnergyMeter>(settings);
    sim.plugIn(meter);
    return meter;
}

} // namespace

TEST_F(RunProtectionTest, EnergyMeterPointsGiveCountsTimesAndEnergies)
{
    initialise();
    auto meter = plugMeter(*sim);

    // 1000 W: a pulse every 3.6 s, five counted (18 s); 3000 W: every 1.2 s,
    // ten counted (12 s). Both well inside the 32-bit interval (34.36 s).
    ModelEnergyEntity& e = *testor().dataEnergy;
    edit(e, [](ModelEnergyEntity& x) { setPoints(x, {{1, 5, 18.0, 1.0}, {3, 10, 12.0, 1.0}}); });
    ASSERT_TRUE(startRun(TT::TEST_ENERGY)) << qPrintable(testor().lastStartRefusal());

    // While each point counts, the instrument emits pulses with the period
    // 4.5e14 / (P x C) ticks of 125 MHz: 1000 W and 3000 W at 1000 imp/kWh.
    auto emitting = [this](uint32_t period) {
        const uint32_t written = sim->peekRegister(kPulseOutputPeriodLow)
                                 | (uint32_t(sim->peekRegister(kPulseOutputPeriodHigh)) << 16);
        return sim->peekRegister(kPulseOutputEnableRegister) != 0 && written == period;
    };
    EXPECT_TRUE(waitFor([&] { return emitting(449999997u); }));
    EXPECT_TRUE(waitFor([&] { return emitting(149999999u); }));
    ASSERT_TRUE(waitEnded());

    EXPECT_GE(meter->pulseTimes().size(), 15u);
    // Pulse output and counting are off after the run.
    EXPECT_EQ(sim->peekRegister(kPulseOutputEnableRegister), 0);
    EXPECT_EQ(sim->peekRegister(kPulseInputRegister), 0);

    QMutexLocker lock(&e.entityLock);
    struct Expect
    {
        int count;
        double seconds;
        double wattHours;
    };
    const Expect expected[2] = {{5, 18.0, 5.0}, {10, 12.0, 10.0}};
    for (int s = 0; s < 2; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(e.stateTestStates[s], ModelEntity::AO_STATE_TYPE_COMPLETED);
        EXPECT_EQ(e.pulseInputCounter[s], expected[s].count);
        EXPECT_NEAR(e.stateActualTimes[s], expected[s].seconds, 1e-6);
        EXPECT_NEAR(e.stateActualEnergys[s], expected[s].wattHours, 1e-6);
    }
}

TEST_F(RunProtectionTest, EnergyPointsBeyondTheWindowOrTheIntervalRegisterGiveNoResult)
{
    initialise();
    plugMeter(*sim);

    // 1: the window ((1 s settle + 2 s + 10 s) x 1.2: 16 s) runs out after
    //    two or three of the pulses that come every 3.6 s;
    // 2: ten pulses at 3.6 s take 36 s, beyond the 32-bit interval (34.36 s);
    // 3: five pulses at 1.2 s, measured.
    ModelEnergyEntity& e = *testor().dataEnergy;
    edit(e, [](ModelEnergyEntity& x) { setPoints(x, {{1, 5, 10.0, 0.0}, {1, 10, 36.0, 0.0}, {3, 5, 6.0, 0.0}}); });
    runToEnd(TT::TEST_ENERGY);

    QMutexLocker lock(&e.entityLock);
    EXPECT_GE(e.pulseInputCounter[0], 1);
    EXPECT_LT(e.pulseInputCounter[0], 5);
    EXPECT_EQ(e.pulseInputCounter[1], 10);
    for (int s = 0; s < 2; ++s) {
        SCOPED_TRACE(s);
        EXPECT_TRUE(std::isnan(e.stateActualTimes[s]));
        EXPECT_TRUE(std::isnan(e.stateActualEnergys[s]));
    }
    EXPECT_EQ(e.pulseInputCounter[2], 5);
    EXPECT_NEAR(e.stateActualTimes[2], 6.0, 1e-6);
    EXPECT_NEAR(e.stateActualEnergys[2], 5.0, 1e-6);
    for (int s = 0; s < 3; ++s)
        EXPECT_EQ(e.stateTestStates[s], ModelEntity::AO_STATE_TYPE_COMPLETED) << "state " << s;
}

TEST_F(RunProtectionTest, EnergyStopEndsPulseOutputAndCounting)
{
    initialise();
    plugMeter(*sim);
    ModelEnergyEntity& e = *testor().dataEnergy;
    edit(e, [](ModelEnergyEntity& x) { setPoints(x, {{1, 5, 18.0, 0.0}}); });
    ASSERT_TRUE(startRun(TT::TEST_ENERGY));

    // Stopped while the meter's pulses are being counted.
    ASSERT_TRUE(waitFor([this] {
        return sim->peekRegister(kPulseOutputEnableRegister) != 0 && (sim->peekRegister(kPulseInputRegister) & 1) != 0;
    }));
    center->testInterrupt();
    ASSERT_TRUE(waitEnded());
    ASSERT_TRUE(waitForClockPasses(3));
    EXPECT_EQ(sim->peekRegister(kPulseOutputEnableRegister), 0);
    EXPECT_EQ(sim->peekRegister(kPulseInputRegister), 0);
    EXPECT_TRUE(texts(ConstTextUtility::TEST_STOP) >= 1);
}
