#pragma once

// The driver initialised on a simulated clock block, with the lower clock
// back at its defaults, GNSS seconds from the test, and the process running
// in a time zone 8 hours east of UTC (nothing may depend on local time).

#include "ClockBench.h"
#include "CommDriverData.h"
#include "driverbase.h"
#include "driverclock.h"
#include "zodrv_clock.h"
#include "zodrv_mcasp.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace clocktest {

// 2024-02-29 23:59:55 UTC: a leap day, five seconds before March.
constexpr uint32_t kT0 = 1709251195;

inline std::atomic<time_t> gnssSeconds{0};
inline std::atomic<int> gnssPending{0};

inline time_t fakeGnssSeconds(int)
{
    return gnssSeconds.load();
}

inline int fakeGnssPending()
{
    return gnssPending.load();
}

} // namespace clocktest

class ClockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (const char* tz = std::getenv("TZ"))
            savedTz = tz;
        setenv("TZ", "XYZ-8", 1);
        tzset();

        zoplat::host::reset();
        bench = std::make_unique<ClockBench>();
        ASSERT_EQ(driverBaseInit(), 0);
        drv_clock_release_handle();
        drv_clock_init_handle();
        drv_clock_init_config();
        clocktest::gnssSeconds = 0;
        clocktest::gnssPending = 0;
        drv_clock_set_gnss_source(clocktest::fakeGnssSeconds, clocktest::fakeGnssPending);
        cfg = lower_clock_config_handle;
        status = globalClockStatusData;
        ASSERT_NE(cfg, nullptr);
        ASSERT_NE(status, nullptr);
    }

    void TearDown() override
    {
        EXPECT_EQ(bench->violationText(), "");
        drv_clock_set_gnss_source(nullptr, nullptr);
        driverBaseRelease();
        bench.reset();
        zoplat::host::reset();
        if (savedTz.empty())
            unsetenv("TZ");
        else
            setenv("TZ", savedTz.c_str(), 1);
        tzset();
    }

    void selectReference(uint32_t refsrc)
    {
        driverUpdateClockConfig(refsrc, LOWER_CLOCK_ETRIGGER_IN_TYPE_TIME, LOWER_CLOCK_ETRIGGER_POLARITY_TYPE_RISINGEDGE,
                                LOWER_CLOCK_ETRIGGER_OUT_TYPE_SECONDPULSE,
                                LOWER_CLOCK_ETRIGGER_POLARITY_TYPE_RISINGEDGE);
    }

    // IRIG-B input 1 selected with its reference at t0, then one new second
    // so that the FPGA time is loaded.
    void syncOnIrigb(uint32_t t0)
    {
        bench->withBlock([t0](zorsim::SimClockBlock& b) { b.setIrigbReference(t0); });
        selectReference(LOWER_CLOCK_REFSRC_TYPE_IRIG_BF);
        bench->advanceSeconds(1.0);
        driverUpdateClockSyncTime();
        ASSERT_EQ(fpgaSeconds(), t0 + 1);
    }

    // Puts the host clock far from any reference second; returns how many
    // clock settings are recorded so far.
    size_t mismatchHostClock()
    {
        zoplat::setSystemTime(1000);
        return zoplat::host::recordedTimeSettings().size();
    }

    std::vector<int64_t> timeSettings() const { return zoplat::host::recordedTimeSettings(); }

    std::vector<zorsim::SimClockBlock::TimeLoad> loads()
    {
        return bench->withBlock([](zorsim::SimClockBlock& b) { return b.loads(); });
    }
    uint32_t fpgaSeconds()
    {
        return bench->withBlock([](zorsim::SimClockBlock& b) { return b.fpgaSeconds(); });
    }
    std::optional<zorsim::SimClockBlock::Pulse> armedPulse()
    {
        return bench->withBlock([](zorsim::SimClockBlock& b) { return b.armedPulse(); });
    }
    std::vector<uint32_t> firedSeconds()
    {
        return bench->withBlock([](zorsim::SimClockBlock& b) {
            std::vector<uint32_t> out;
            for (const auto& p : b.firedPulses())
                out.push_back(p.second);
            return out;
        });
    }

    std::unique_ptr<ClockBench> bench;
    lower_clock_config* cfg = nullptr;
    CommDriverClockStatusData* status = nullptr;
    std::string savedTz;
};
