// Synchronisation of the FPGA time and the system clock against IRIG-B and
// GNSS, through the register link and the simulated clock block.

#include "ClockFixture.h"
#include "SimGnssReceiver.h"
#include "zogps.h"

#include <chrono>
#include <functional>
#include <thread>

using clocktest::kT0;

namespace {

// Polls until the condition holds; the deadline only bounds a failed test.
bool waitUntil(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace

TEST_F(ClockTest, IrigbLoadsAndSetsTheClockOncePerNewMismatchedSecond)
{
    bench->withBlock([](zorsim::SimClockBlock& b) { b.setIrigbReference(kT0); });
    selectReference(LOWER_CLOCK_REFSRC_TYPE_IRIG_BF);
    EXPECT_EQ(bench->withBlock([](zorsim::SimClockBlock& b) { return b.referenceSelect(); }), 0x0D03);
    EXPECT_EQ(lower_clock_status_handle->clk_run_pretime, kT0);

    // The second seen at selection is not new.
    size_t settings = mismatchHostClock();
    driverUpdateClockSyncTime();
    EXPECT_TRUE(loads().empty());
    EXPECT_EQ(timeSettings().size(), settings);

    // A new second: the FPGA (still at its power-on time) and the host clock are set.
    bench->advanceSeconds(1.0);
    driverUpdateClockSyncTime();
    ASSERT_EQ(loads().size(), 1u);
    EXPECT_EQ(loads()[0].seconds, kT0 + 1);
    EXPECT_EQ(fpgaSeconds(), kT0 + 1);
    ASSERT_EQ(timeSettings().size(), settings + 1);
    EXPECT_EQ(timeSettings().back(), kT0 + 1);
    EXPECT_EQ(status->clk_run_pretime, kT0 + 1);
    EXPECT_EQ(status->clk_irigb_utctime, kT0 + 1);
    EXPECT_EQ(status->clk_run_clock, uint32_t(LOWER_CLOCK_REFSRC_TYPE_IRIG_BF));
    EXPECT_EQ(status->clk_run_state, uint32_t(LOWER_CLOCK_RUN_STATE_TYPE_START));

    // The same second again: nothing is written.
    settings = mismatchHostClock();
    driverUpdateClockSyncTime();
    EXPECT_EQ(loads().size(), 1u);
    EXPECT_EQ(timeSettings().size(), settings);
    EXPECT_EQ(status->clk_syn_state, 1u);

    // The next second: the FPGA agrees and is left alone; the host clock does not.
    bench->advanceSeconds(1.0);
    driverUpdateClockSyncTime();
    EXPECT_EQ(loads().size(), 1u);
    ASSERT_EQ(timeSettings().size(), settings + 1);
    EXPECT_EQ(timeSettings().back(), kT0 + 2);

    // The reference jumps: one load of the new second.
    bench->withBlock([](zorsim::SimClockBlock& b) { b.setIrigbReference(kT0 + 100); });
    driverUpdateClockSyncTime();
    ASSERT_EQ(loads().size(), 2u);
    EXPECT_EQ(loads()[1].seconds, kT0 + 100);

    // The signal is lost: the IRIG-B time reads 0 and nothing else changes.
    bench->withBlock([](zorsim::SimClockBlock& b) { b.setIrigbPresent(false); });
    settings = mismatchHostClock();
    bench->advanceSeconds(1.0);
    driverUpdateClockSyncTime();
    EXPECT_EQ(status->clk_irigb_utctime, 0u);
    EXPECT_EQ(status->clk_run_pretime, kT0 + 100);
    EXPECT_EQ(loads().size(), 2u);
    EXPECT_EQ(timeSettings().size(), settings);
}

TEST_F(ClockTest, IrigbOutputCarriesTheNextSecondInUtc)
{
    // 2024-02-29 23:59:59 UTC: the output announces 2024-03-01 00:00:00, day 061.
    syncOnIrigb(kT0 + 3);
    EXPECT_EQ(bench->withBlock([](zorsim::SimClockBlock& b) { return b.irigbOutputWords(); }),
              (zorsim::IrigbWords{0x00, 0x00, 0x00, 0x0061, 0x0124, 0, 0, 0, 0}));

    // 2023-12-31 12:34:56 UTC, written directly: 12:34:57 of day 365, second 45297 of the day.
    ASSERT_EQ(drv_clock_set_irigb_output(1704026096), 0);
    EXPECT_EQ(bench->withBlock([](zorsim::SimClockBlock& b) { return b.irigbOutputWords(); }),
              (zorsim::IrigbWords{0x57, 0x34, 0x12, 0x0365, 0x0123, 0, 0, 45297, 0}));
}

TEST_F(ClockTest, IrigbOffsetWordGivesUtc)
{
    struct Row
    {
        int offsetHours;
        uint32_t utc;
    };
    const Row rows[] = {{0, kT0}, {8, kT0}, {-5, kT0}, {8, 1704067200 + 3600}, {-11, 1704067199}};
    for (const Row& row : rows) {
        bench->withBlock([&](zorsim::SimClockBlock& b) {
            b.setIrigbOffsetHours(row.offsetHours);
            b.setIrigbReference(row.utc);
        });
        EXPECT_EQ(drv_clock_get_irigb_time(), time_t(row.utc)) << "offset " << row.offsetHours;
    }
}

TEST_F(ClockTest, GnssSecondsSyncWhenStateAndReceiverAllow)
{
    clocktest::gnssSeconds = kT0;
    selectReference(LOWER_CLOCK_REFSRC_TYPE_GPS);
    EXPECT_EQ(bench->withBlock([](zorsim::SimClockBlock& b) { return b.referenceSelect(); }), 0x0C03);
    EXPECT_EQ(lower_clock_status_handle->clk_run_pretime, kT0);

    // Receiver configuration pending, or reference state bit 16 or 17 set: no step.
    size_t settings = mismatchHostClock();
    clocktest::gnssSeconds = kT0 + 1;
    clocktest::gnssPending = 1;
    driverUpdateClockSyncTime();
    clocktest::gnssPending = 0;
    for (uint16_t busy : {0x0001, 0x0002}) {
        bench->withBlock([busy](zorsim::SimClockBlock& b) { b.setReferenceStateHigh(busy); });
        driverUpdateClockSyncTime();
    }
    EXPECT_TRUE(loads().empty());
    EXPECT_EQ(timeSettings().size(), settings);
    EXPECT_EQ(status->clk_run_pretime, kT0);

    // Allowed: one load and one clock setting for the new second.
    bench->withBlock([](zorsim::SimClockBlock& b) { b.setReferenceStateHigh(0); });
    driverUpdateClockSyncTime();
    ASSERT_EQ(loads().size(), 1u);
    EXPECT_EQ(loads()[0].seconds, kT0 + 1);
    ASSERT_EQ(timeSettings().size(), settings + 1);
    EXPECT_EQ(timeSettings().back(), kT0 + 1);
    EXPECT_EQ(status->clk_run_clock, uint32_t(LOWER_CLOCK_REFSRC_TYPE_GPS));
    EXPECT_EQ(bench->withBlock([](zorsim::SimClockBlock& b) { return b.irigbOutputWords()[0]; }), 0x57);

    // Repeated second: nothing; the next one with the FPGA in step: only the host clock.
    settings = mismatchHostClock();
    driverUpdateClockSyncTime();
    EXPECT_EQ(timeSettings().size(), settings);
    bench->advanceSeconds(1.0);
    clocktest::gnssSeconds = kT0 + 2;
    driverUpdateClockSyncTime();
    EXPECT_EQ(loads().size(), 1u);
    ASSERT_EQ(timeSettings().size(), settings + 1);
    EXPECT_EQ(timeSettings().back(), kT0 + 2);
    EXPECT_EQ(status->clk_syn_state, 1u);

    // No GNSS time (0): no step.
    clocktest::gnssSeconds = 0;
    settings = mismatchHostClock();
    driverUpdateClockSyncTime();
    EXPECT_EQ(loads().size(), 1u);
    EXPECT_EQ(timeSettings().size(), settings);
}

// The GNSS thread on a simulated receiver supplies the seconds.
TEST_F(ClockTest, GnssReceiverTimeLoadsTheFpga)
{
    zoplat::setTimeScale(0.05);
    gps_sync_task_stop();
    gps_sync_release_handle();
    ASSERT_EQ(gps_sync_init_handle(), 0);
    zorsim::SimGnssReceiver rx(zorsim::SimGnssReceiver::Family::Mtk, 9600);
    ASSERT_TRUE(rx.isOpen());
    rx.setEpochIntervalMs(15);
    rx.setUtcSeconds(kT0);
    rx.start();
    zoplat::host::setGnssSerialDevice(rx.slavePath());
    ASSERT_EQ(gps_sync_task_start(), 0);
    drv_clock_set_gnss_source(nullptr, nullptr);

    selectReference(LOWER_CLOCK_REFSRC_TYPE_GPS);
    ASSERT_TRUE(waitUntil([] { return gps_sync_config_pending() == 0 && gps_sync_get_utcseconds(1) == kT0; }));
    driverUpdateClockSyncTime();
    ASSERT_EQ(loads().size(), 1u);
    EXPECT_EQ(loads()[0].seconds, kT0);

    rx.setUtcSeconds(kT0 + 1);
    ASSERT_TRUE(waitUntil([] { return gps_sync_get_utcseconds(1) == kT0 + 1; }));
    bench->advanceSeconds(1.0);
    driverUpdateClockSyncTime();
    EXPECT_EQ(loads().size(), 1u);
    EXPECT_EQ(status->clk_run_pretime, kT0 + 1);
    EXPECT_EQ(fpgaSeconds(), kT0 + 1);

    gps_sync_task_stop();
    rx.stop();
}

// Configuration from one thread while another runs synchronisation steps: at
// the end, the pulse the driver believes armed is the one the FPGA holds.
TEST_F(ClockTest, ConfigurationAndSynchronisationDoNotInterleave)
{
    syncOnIrigb(kT0);
    constexpr int kSteps = 500;
    std::atomic<bool> done{false};
    std::thread configure([&] {
        for (uint32_t i = 0; !done; ++i) {
            globalClockPPXData->clk_ppx_count = 3;
            globalClockPPXData->clk_ppx_list[0] = kT0 + 500000 + i % 7;
            globalClockPPXData->clk_ppx_list[1] = kT0 + 400000;
            globalClockPPXData->clk_ppx_list[2] = kT0 + 600000 - i % 5;
            driverUpdateClockPPXConfig();
        }
    });
    for (int i = 0; i < kSteps; ++i) {
        bench->advanceSeconds(1.0);
        driverUpdateClockSyncTime();
    }
    done = true;
    configure.join();
    bench->advanceSeconds(1.0);
    driverUpdateClockSyncTime();

    int readyCount = 0;
    uint32_t readySecond = 0;
    for (int i = 0; i < cfg->ppx_count; ++i) {
        if (cfg->ppx_states[i] & LOWER_CLOCK_PPX_STATE_TYPE_READY) {
            ++readyCount;
            readySecond = cfg->ppx_stimes[i];
        }
    }
    EXPECT_EQ(readyCount, 1);
    EXPECT_EQ(readySecond, kT0 + 400000);
    ASSERT_TRUE(armedPulse().has_value());
    EXPECT_EQ(armedPulse()->second, kT0 + 400000);
    EXPECT_EQ(driverUpdateClockEnabled.load(), 0);
}
