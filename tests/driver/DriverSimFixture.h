#pragma once

// A fresh simulated instrument behind the real register link, with the
// driver initialised on it. The product's fixed waits advance the
// instrument's virtual clock, so a 60 ms settle plays 60 ms of pages.

#include "SimInstrument.h"
#include "driverbase.h"
#include "zodrv_mcasp.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"

#include <gtest/gtest.h>

#include <memory>

class DriverSimTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zoplat::host::reset();
        sim = std::make_unique<zorsim::SimInstrument>();
        sim->attach();
        zorsim::SimInstrument* instrument = sim.get();
        zoplat::setSleeper([instrument](int64_t ms) { instrument->advance(ms * 1000000); });
        ASSERT_EQ(driverBaseInit(), 0);
        out = globalTestOutputData;
        control = globalTestControlData;
        status = globalTestStatusData;
        hard = globalConfigureHardData;
        cal = globalConfigureCalData;
    }

    void TearDown() override
    {
        EXPECT_TRUE(sim->violations().empty()) << sim->violationText();
        driverBaseRelease();
        zoplat::setSleeper({});
        sim.reset();
        zoplat::host::reset();
    }

    // One AC component 0 on channel c.
    void setChannel(int c, float amplitude, float angle, float frequency)
    {
        out->outputRanges[c][0] = amplitude;
        out->outputAngles[c][0] = angle;
        out->outputFrequencies[c][0] = frequency;
    }

    zorsim::PageContent encodeAndDecode(bool zeroValue = false)
    {
        const int page = localOutputUpdateOffset;
        EXPECT_EQ(driverBaseSendTestParameterData(zeroValue, false), 0);
        return sim->decodedPage(page);
    }

    std::unique_ptr<zorsim::SimInstrument> sim;
    CommDriverTestOutputData* out = nullptr;
    CommDriverTestControlData* control = nullptr;
    CommDriverTestStatusData* status = nullptr;
    CommDriverConfigureHardData* hard = nullptr;
    CommDriverConfigureCalData* cal = nullptr;
};

// A 32-bit page value, low half first.
inline uint32_t pageU32(const std::array<uint16_t, zorsim::kPageWords>& words, int byteOffset)
{
    return uint32_t(words[byteOffset / 2]) | (uint32_t(words[byteOffset / 2 + 1]) << 16);
}
