#include "EntityTestSupport.h"
#include "ModelEnergyEntity.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

using namespace entitytest;
using Energy = ModelEnergyEntity;

namespace {

class EnergyEntityTest : public ::testing::Test
{
protected:
    // Three states of 57.7 V / 5 A at 1000 W, 2000 W and 500 W; a meter of
    // 1000 pulses per kWh; 10 pulses counted in each, 36 s expected for them.
    void SetUp() override
    {
        entity.stateCount = 3;
        entity.pulseOutputEnable = 1;
        entity.pulseOutputConst = 1000.0;
        const double powers[3] = {1000.0, 2000.0, 500.0};
        for (int s = 0; s < 3; ++s) {
            entity.stateOutputRanges[s][0] = 57.7;
            entity.stateOutputRanges[s][4] = 5.0 + s;
            entity.stateOutputAngles[s][4] = -30.0;
            entity.stateOutputFrequencies[s][0] = 50.0;
            entity.pulseOutputGiven[s] = powers[s];
            entity.stateSettingPulses[s] = 10.0;
            entity.stateSettingTimes[s] = 36.0;
            entity.stateSampleDelayTimes[s] = 2.0;
        }
    }

    // The run control's start (state 0 and the preloaded state 1 with the
    // pulse set-up of state 0).
    void start()
    {
        entity.resetActionValues();
        entity.switchToResetState();
        entity.updateToDriverStateCount();
        entity.updateToDriverValue();
        if (entity.switchToNextState()) {
            entity.updateToDriverValue();
            entity.updateToDriverPulse();
        }
    }

    // Pulse completion: the state switches and the next page is preloaded.
    bool pulsesDone()
    {
        entity.updateFromDriverState();
        if (!entity.switchToNextState())
            return false;
        entity.updateToDriverValue();
        entity.updateToDriverPulse();
        return true;
    }

    DriverRecords records;
    Energy entity;
};

TEST_F(EnergyEntityTest, PulseSetUpFollowsTheRunningState)
{
    start();
    const CommDriverTestOutputData& out = *records.output;
    EXPECT_EQ(out.outputStateCount, 3u);
    // 1000 W at 1000 pulses per kWh: one pulse per 3.6 s of 125 MHz ticks.
    EXPECT_EQ(out.pulseOutputPeriod, 449999997u);
    EXPECT_EQ(out.pulseOutputEnable, 1);
    EXPECT_EQ(out.pulseInputEnable, 1);
    EXPECT_EQ(out.pulseInputTCU, 10);
    // The window: 2 s delay, 1 s settle, 3.6 s to the first edge and the 36 s
    // of the count, a fifth more, rounded up.
    EXPECT_EQ(out.pulseSampleTotalCount, 52u);
    EXPECT_DOUBLE_EQ(out.pulseSampleDelayTime, 2.0);
    // The preloaded page continues the first.
    EXPECT_FLOAT_EQ(out.outputRanges[4][0], 6.0f);
    EXPECT_FLOAT_EQ(out.currentOutputRanges[4][0], 5.0f);
    EXPECT_FLOAT_EQ(out.outputAngles[4][0], 330.0f);
    EXPECT_EQ(out.outputLinkStateType, 0u);
    EXPECT_FLOAT_EQ(out.outputTime, 36000.0f);
    EXPECT_EQ(out.outputTriggerType, 0);
    EXPECT_EQ(out.outputBIRiseEnables[0], 0u);

    ASSERT_TRUE(pulsesDone());
    EXPECT_EQ(out.pulseOutputPeriod, 224999998u);   // 2000 W
    EXPECT_EQ(entity.stateTestStates[0], ModelEntity::AO_STATE_TYPE_COMPLETED);
    EXPECT_EQ(entity.stateTestStates[1], ModelEntity::AO_STATE_TYPE_RUNNNING);
    // The closing page (k = stateCount) carries the last state's set-up.
    ASSERT_TRUE(pulsesDone());
    EXPECT_EQ(out.pulseOutputPeriod, 899999995u);   // 500 W
    EXPECT_FLOAT_EQ(out.outputRanges[0][0], 0.0f);
    EXPECT_FALSE(pulsesDone());
    EXPECT_EQ(entity.stateTestStates[2], ModelEntity::AO_STATE_TYPE_COMPLETED);
}

// The polling loop takes a state's window and delay as soon as it sees the
// pulse input enabled: the rest of the set-up is in place by then.
TEST_F(EnergyEntityTest, PulseInputIsEnabledAfterTheRestOfItsSetUp)
{
    entity.stateSampleDelayTimes[1] = 20.0;   // states 1 and 2 differ in delay and window
    CommDriverTestOutputData& out = *records.output;
    const quint32 windows[2] = {52, 73};   // (delay + 1 s + 3.6 s + 36 s) x 1.2, rounded up
    std::atomic<bool> stop{false};
    int stale = 0;
    std::thread loop([&] {
        for (int taken = 0; !stop;) {
            if (out.pulseInputEnable == 0)
                continue;
            const int s = taken++ % 2;
            if (out.pulseSampleDelayTime != (s == 0 ? 2.0 : 20.0) || out.pulseSampleTotalCount != windows[s])
                ++stale;
            out.pulseInputEnable = 0;   // taken, as the loop's measurement does
        }
    });
    for (int i = 0; i < 20000; ++i) {
        while (out.pulseInputEnable != 0)
            std::this_thread::yield();
        entity.outputSendingStateIndex = 1 + i % 2;
        entity.updateToDriverPulse();
    }
    while (out.pulseInputEnable != 0)
        std::this_thread::yield();
    stop = true;
    loop.join();
    EXPECT_EQ(stale, 0);
}

TEST_F(EnergyEntityTest, PulseCountsGiveTimeEnergyAndTheMeterError)
{
    start();
    // Measured interval of the counted pulses -> time and energy; the meter's
    // registered energy is pulses / constant. error = registered / delivered - 1.
    struct Case
    {
        unsigned short pulses;
        double ticks;
        double seconds;
        double wattHours;
        double errorPercent;
    };
    const Case cases[] = {
        {10, 4.5e9, 36.0, 10.0, 0.0},                         // exact meter
        {10, 4.5e9 / 1.01, 36.0 / 1.01, 10.0 / 1.01, 1.0},    // 1 % fast
        {10, 4.5e9 / 0.98, 36.0 / 0.98, 10.0 / 0.98, -2.0},   // 2 % slow
        {1, 4.5e8, 3.6, 1.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.errorPercent);
        ASSERT_EQ(entity.updateFromDriverPulse(c.pulses, c.ticks), 0);
        EXPECT_EQ(entity.pulseInputCounter[0], c.pulses);
        EXPECT_NEAR(entity.stateActualTimes[0], c.seconds, 1e-9);
        EXPECT_NEAR(entity.stateActualEnergys[0], c.wattHours, 1e-9);
        const double registered = entity.pulseInputCounter[0] / entity.pulseOutputConst * 1000.0;
        EXPECT_NEAR((registered / entity.stateActualEnergys[0] - 1.0) * 100.0, c.errorPercent, 1e-9);
    }
    // An empty report changes nothing.
    EXPECT_EQ(entity.updateFromDriverPulse(0, 0.0), -1);
    EXPECT_EQ(entity.pulseInputCounter[0], 1);
    // After the last state no result is stored.
    entity.outputRunningStateIndex = 3;
    EXPECT_EQ(entity.updateFromDriverPulse(5, 1e9), -1);
    entity.outputRunningStateIndex = 40;
    EXPECT_EQ(entity.updateFromDriverPulse(5, 1e9), -1);
}

TEST_F(EnergyEntityTest, PulsePeriodsThatCannotReachTheInstrument)
{
    struct Case
    {
        const char* name;
        double power;
        double constant;
    };
    const Case cases[] = {
        {"zero power", 0.0, 1000.0},      {"zero constant", 1000.0, 0.0},
        {"negative power", -5.0, 1000.0}, {"period beyond 32 bits", 1.0, 10.0},   // 4.5e13 ticks
        {"below one tick", 1e12, 1e9},    {"NaN power", std::numeric_limits<double>::quiet_NaN(), 1000.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        entity.pulseOutputGiven[0] = c.power;
        entity.pulseOutputConst = c.constant;
        EXPECT_EQ(entity.pulsePeriodTicks(0), -1.0);
        EXPECT_FALSE(entity.checkOutputValues());
        records.output->pulseOutputPeriod = 77;
        start();
        EXPECT_EQ(records.output->pulseOutputEnable, 0);   // no pulses rather than a wrong rate
        EXPECT_EQ(records.output->pulseOutputPeriod, 77u);
    }
    // Pulse output off: the period is not touched and any power is fine.
    entity.pulseOutputEnable = 0;
    EXPECT_TRUE(entity.checkOutputValues());
    start();
    EXPECT_EQ(records.output->pulseOutputEnable, 0);
    EXPECT_EQ(records.output->pulseOutputPeriod, 77u);
}

TEST_F(EnergyEntityTest, StartCheckAndCountConversions)
{
    EXPECT_TRUE(entity.checkOutputValues());
    entity.stateSettingPulses[1] = 70000.0;   // does not fit the 16-bit count
    EXPECT_FALSE(entity.checkOutputValues());
    entity.stateSettingPulses[1] = 10.0;
    entity.stateSampleDelayTimes[2] = -1.0;
    EXPECT_FALSE(entity.checkOutputValues());
    entity.stateSampleDelayTimes[2] = 2.0;
    entity.stateOutputAngles[1][1] = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(entity.checkOutputValues());
    entity.stateOutputAngles[1][1] = 0.0;
    entity.stateCount = 33;
    EXPECT_FALSE(entity.checkOutputValues());

    // Out-of-range settings still convert without overflow.
    entity.stateCount = 1;
    entity.stateSettingPulses[0] = 1e12;
    entity.stateSettingTimes[0] = 1e12;
    start();
    EXPECT_EQ(records.output->pulseInputTCU, 65535);
    EXPECT_GT(records.output->pulseSampleTotalCount, 0u);
}

}   // namespace
