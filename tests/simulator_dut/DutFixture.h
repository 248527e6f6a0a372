#pragma once

// Relay and meter models on a fresh simulated instrument, driven the way the
// product drives the instrument: output states encoded by the driver's page
// encoder through the real register link, the run started by the driver,
// trips read back by the driver's action reads and meter pulses by its pulse
// reads. Time is the instrument's own clock, advanced by the test (the
// driver's fixed waits advance it too).

#include "SimInstrument.h"
#include "driverbase.h"
#include "zodrv_mcasp.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>

namespace duttest {

constexpr int64_t kUs = 1000;
constexpr int64_t kMs = 1000000;
constexpr int64_t kSecond = 1000000000;
// One tick of the instrument's 28 kHz clock, rounded up to whole ns: the
// least time a relay model takes to respond to a change of the outputs.
constexpr int64_t kTickNs = 35715;

inline int64_t ns(double seconds)
{
    return static_cast<int64_t>(std::llround(seconds * 1e9));
}

class DutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zoplat::host::reset();
        sim = std::make_unique<zorsim::SimInstrument>();
        sim->attach();
        zorsim::SimInstrument* instrument = sim.get();
        zoplat::setSleeper([instrument](int64_t ms) { instrument->advance(ms * kMs); });
        ASSERT_EQ(driverBaseInit(), 0);
        out = globalTestOutputData;
        control = globalTestControlData;
        status = globalTestStatusData;
        globalConfigureHardData->systemPowerType = COMM_SYSTEM_POWER_TYPE_PAO;
        ASSERT_EQ(driverBaseSendConfigureHardData(), 0);
        ASSERT_EQ(driverBaseSendConfigureSoftData(), 0);   // 15 ms contact debounce
        ASSERT_EQ(driverBaseResetUpdateOffset(), 0);
        newState();
    }

    void TearDown() override
    {
        EXPECT_TRUE(sim->violations().empty()) << sim->violationText();
        sim->unplugAll();
        driverBaseRelease();
        zoplat::setSleeper({});
        sim.reset();
        zoplat::host::reset();
    }

    template <typename Model, typename Settings>
    std::shared_ptr<Model> plug(const Settings& settings)
    {
        auto model = std::make_shared<Model>(settings);
        sim->plugIn(model);
        return model;
    }

    // ---- One output state, filled like an entity fills the driver record ----
    void newState()
    {
        *out = CommDriverTestOutputData();
        for (uint16_t& property : out->propertyEnables)
            property = COMM_STATE_PROPERTY_ENABLE_TYPE_BASE;
        out->outputBOControlType = COMM_BOCONTROL_TYPE_AUTO;
    }
    void channel(int c, float amplitude, float angle = 0.0f, float frequency = 50.0f)
    {
        out->outputRanges[c][0] = amplitude;
        out->outputAngles[c][0] = angle;
        out->outputFrequencies[c][0] = frequency;
    }
    void threePhase(float volts, float amps, float frequency = 50.0f)
    {
        for (int p = 0; p < 3; ++p) {
            channel(p, volts, -120.0f * p, frequency);
            channel(4 + p, amps, -120.0f * p, frequency);
        }
    }
    void frequencyRamp(int c, float stopHz, float hzPerSecond)
    {
        out->propertyEnables[c] = COMM_STATE_PROPERTY_ENABLE_TYPE_DFDT;
        out->dfdtStopValue[c] = stopHz;
        out->dfdtSlipValue[c] = hzPerSecond;
    }
    void amplitudeRamp(int c, float stop, float perSecond)
    {
        out->propertyEnables[c] = COMM_STATE_PROPERTY_ENABLE_TYPE_DRDT;
        out->drdtStopValue[c] = stop;
        out->drdtSlipValue[c] = perSecond;
    }
    // Ends the state: duration, trigger, binary input 0 armed for rising
    // edges or not; encodes it into the next page of the ring.
    void sendState(float seconds, COMMTriggerType trigger, bool armInput0)
    {
        out->outputTime = seconds;
        out->outputTriggerType = trigger;
        out->outputBIRiseEnables[0] = armInput0 ? 1 : 0;
        ASSERT_EQ(driverBaseSendTestParameterData(false, false), 0);
        ASSERT_EQ(driverBaseSwitchUpdateOffset(), 0);
        newState();
    }

    // Powers both amplifiers and runs the ring with the FPGA stepping itself;
    // returns the simulator time at which page 0 started.
    int64_t start(uint32_t stateCount)
    {
        control->controlAutoOutputStateEnable = 1;
        out->outputStateCount = stateCount;
        EXPECT_EQ(driverBaseSendTestStateCount(), 0);
        control->controlPowerVEnable = 1;
        control->controlPowerIEnable = 1;
        EXPECT_EQ(driverBaseSendTestControlPower(), 0);
        control->controlRunVEnable = 1;
        control->controlRunIEnable = 1;
        EXPECT_EQ(driverBaseSendTestControlRun(), 0);
        return sim->playerStatus().pageStartNs;
    }

    void stop()
    {
        control->controlRunVEnable = 0;
        control->controlRunIEnable = 0;
        EXPECT_EQ(driverBaseSendTestControlRun(), 0);
    }

    // Advances the clock to an absolute simulator time.
    void advanceTo(int64_t atNs)
    {
        ASSERT_GE(atNs, sim->nowNs());
        sim->advance(atNs - sim->nowNs());
    }

    // The action the driver reads for the page now playing: its time in s
    // (debounce taken off), NaN when none.
    double readActionSeconds()
    {
        EXPECT_EQ(driverBaseReadActionTimes(), 0);
        return status->statusTestActionTime;
    }

    std::unique_ptr<zorsim::SimInstrument> sim;
    CommDriverTestOutputData* out = nullptr;
    CommDriverTestControlData* control = nullptr;
    CommDriverTestStatusData* status = nullptr;
};

} // namespace duttest
