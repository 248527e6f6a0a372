// Timed pulses, the trigger register and the IRIG-B input words, through the
// register link and the simulated clock block.

#include "ClockFixture.h"

#include <initializer_list>

using clocktest::kT0;

namespace {

void givePulseList(std::initializer_list<uint32_t> seconds)
{
    globalClockPPXData->clk_ppx_count = uint32_t(seconds.size());
    uint32_t i = 0;
    for (uint32_t s : seconds)
        globalClockPPXData->clk_ppx_list[i++] = s;
    driverUpdateClockPPXConfig();
}

} // namespace

TEST_F(ClockTest, PulseListIsFilteredSortedArmedAndReplaced)
{
    syncOnIrigb(kT0);   // FPGA at kT0 + 1

    // One pulse in the past is dropped; the rest sorted, none armed yet.
    givePulseList({kT0 + 5, kT0, kT0 + 3});
    ASSERT_EQ(cfg->ppx_count, 2);
    EXPECT_EQ(cfg->ppx_stimes[0], kT0 + 3);
    EXPECT_EQ(cfg->ppx_stimes[1], kT0 + 5);
    EXPECT_EQ(cfg->ppx_states[0], 0u);
    EXPECT_EQ(cfg->ppx_states[1], 0u);

    // The earliest is armed at the next step; the next one in the step whose
    // FPGA second has reached the first one's time.
    bench->advanceSeconds(1.0);   // kT0 + 2
    driverUpdateClockSyncTime();
    ASSERT_TRUE(armedPulse().has_value());
    EXPECT_EQ(armedPulse()->second, kT0 + 3);
    bench->advanceSeconds(1.0);   // kT0 + 3
    driverUpdateClockSyncTime();
    EXPECT_EQ(firedSeconds(), (std::vector<uint32_t>{kT0 + 3}));
    ASSERT_TRUE(armedPulse().has_value());
    EXPECT_EQ(armedPulse()->second, kT0 + 5);
    EXPECT_EQ(cfg->ppx_states[0], LOWER_CLOCK_PPX_STATE_TYPE_VALID);
    EXPECT_EQ(cfg->ppx_states[1], LOWER_CLOCK_PPX_STATE_TYPE_READY);

    // Past the last pulse: the output is disarmed.
    bench->advanceSeconds(2.0);   // kT0 + 5
    driverUpdateClockSyncTime();
    EXPECT_EQ(firedSeconds(), (std::vector<uint32_t>{kT0 + 3, kT0 + 5}));
    EXPECT_FALSE(armedPulse().has_value());

    // A second list is filtered afresh: its earliest pulse is armed.
    givePulseList({kT0 + 20, kT0 + 10});
    EXPECT_EQ(cfg->ppx_stimes[0], kT0 + 10);
    bench->advanceSeconds(1.0);
    driverUpdateClockSyncTime();
    ASSERT_TRUE(armedPulse().has_value());
    EXPECT_EQ(armedPulse()->second, kT0 + 10);

    // A list given while a pulse is armed replaces it instead of inheriting
    // its armed state.
    givePulseList({kT0 + 30});
    EXPECT_EQ(cfg->ppx_states[0], 0u);
    bench->advanceSeconds(1.0);
    driverUpdateClockSyncTime();
    ASSERT_TRUE(armedPulse().has_value());
    EXPECT_EQ(armedPulse()->second, kT0 + 30);

    // An empty list disarms; nothing of the replaced pulses ever fired.
    givePulseList({});
    EXPECT_EQ(cfg->ppx_count, 0);
    bench->advanceSeconds(1.0);
    driverUpdateClockSyncTime();
    EXPECT_FALSE(armedPulse().has_value());
    bench->advanceSeconds(40.0);
    EXPECT_EQ(firedSeconds(), (std::vector<uint32_t>{kT0 + 3, kT0 + 5}));
}

TEST_F(ClockTest, PulseListLongerThanTheArraysIsCut)
{
    syncOnIrigb(kT0);
    globalClockPPXData->clk_ppx_count = 1000;
    for (uint32_t i = 0; i < COMM_PPX_MAX_COUNT; ++i)
        globalClockPPXData->clk_ppx_list[i] = kT0 + 1000 - i;
    driverUpdateClockPPXConfig();
    ASSERT_EQ(cfg->ppx_count, LOWER_CLOCK_PPX_MAX_COUNT);
    EXPECT_EQ(cfg->ppx_stimes[0], kT0 + 1000 - 63);
    EXPECT_EQ(cfg->ppx_stimes[63], kT0 + 1000);
}

TEST_F(ClockTest, TriggerConfigurationReachesItsRegister)
{
    struct Row
    {
        uint32_t inType, inPolarity, outType, outPolarity;
        uint16_t before, expected;
    };
    // Bits 8-15 are kept; output type bits 1 and 2 are always set.
    const Row rows[] = {
        {LOWER_CLOCK_ETRIGGER_IN_TYPE_EXTERNIN, 1, LOWER_CLOCK_ETRIGGER_OUT_TYPE_SECONDPULSE, 1, 0xA500, 0xA537},
        {LOWER_CLOCK_ETRIGGER_IN_TYPE_TIME, 0, LOWER_CLOCK_ETRIGGER_OUT_TYPE_TIME, 0, 0xFFFF, 0xFF06},
        {LOWER_CLOCK_ETRIGGER_IN_TYPE_TIME, 1, LOWER_CLOCK_ETRIGGER_OUT_TYPE_MINUTEPULSE, 0, 0x0000, 0x0016},
        {LOWER_CLOCK_ETRIGGER_IN_TYPE_EXTERNIN, 0, LOWER_CLOCK_ETRIGGER_OUT_TYPE_EX_AMP_LEVEL, 1, 0x00C8, 0x0027},
    };
    for (const Row& row : rows) {
        ASSERT_EQ(drv_mcasp_write_u16(DRV_CLOCK_REG_IOTRIG, row.before), 0);
        driverUpdateClockConfig(LOWER_CLOCK_REFSRC_TYPE_INVALID, row.inType, row.inPolarity, row.outType,
                                row.outPolarity);
        EXPECT_EQ(bench->withBlock([](zorsim::SimClockBlock& b) { return b.triggerConfig(); }), row.expected)
            << std::hex << "from 0x" << row.before;
    }
    EXPECT_EQ(bench->withBlock([](zorsim::SimClockBlock& b) { return b.referenceSelect(); }), 0);
    EXPECT_EQ(lower_clock_status_handle->clk_run_clock, uint32_t(LOWER_CLOCK_REFSRC_TYPE_INVALID));
}

TEST_F(ClockTest, IrigbInputWordsAreCheckedBeforeUse)
{
    using W = zorsim::IrigbWords;
    struct Row
    {
        const char* what;
        W words;
        time_t expected;   // 0: the read fails
    };
    const Row rows[] = {
        {"day 060 of 2024 is 29 February", W{0x56, 0x34, 0x12, 0x060, 0x24}, 1709210096},
        {"day 060 of 2023 is 1 March", W{0x56, 0x34, 0x12, 0x060, 0x23}, 1677674096},
        {"day 366 of 2024 is 31 December", W{0x00, 0x00, 0x00, 0x366, 0x24}, 1735603200},
        {"second 60 is accepted", W{0x60, 0x59, 0x23, 0x001, 0x25}, 1735776000},
        {"offset word: 8 hours ahead", W{0x00, 0x00, 0x08, 0x001, 0x24, 8 << 5}, 1704067200},
        {"digit above 9", W{0x5A, 0x34, 0x12, 0x060, 0x24}, 0},
        {"digit above 9 in the year", W{0x00, 0x00, 0x00, 0x001, 0x2F}, 0},
        {"second 61", W{0x61, 0x00, 0x00, 0x001, 0x24}, 0},
        {"minute 60", W{0x00, 0x60, 0x00, 0x001, 0x24}, 0},
        {"hour 24", W{0x00, 0x00, 0x24, 0x001, 0x24}, 0},
        {"day 0", W{0x00, 0x00, 0x00, 0x000, 0x24}, 0},
        {"day 366 of 2023", W{0x00, 0x00, 0x00, 0x366, 0x23}, 0},
        {"day 367 of 2024", W{0x00, 0x00, 0x00, 0x367, 0x24}, 0},
        {"day 999", W{0x00, 0x00, 0x00, 0x999, 0x24}, 0},
        {"day 1001", W{0x00, 0x00, 0x00, 0x1001, 0x24}, 0},
    };
    for (const Row& row : rows) {
        bench->withBlock([&](zorsim::SimClockBlock& b) { b.forceIrigbWords(row.words); });
        EXPECT_EQ(drv_clock_get_irigb_time(), row.expected) << row.what;
    }

    // Invalid words with a signal present are no new second.
    bench->withBlock([](zorsim::SimClockBlock& b) { b.forceIrigbWords(std::nullopt); });
    syncOnIrigb(kT0);
    bench->withBlock([](zorsim::SimClockBlock& b) { b.forceIrigbWords(W{0x00, 0x00, 0x00, 0x999, 0x24}); });
    const size_t settings = mismatchHostClock();
    bench->advanceSeconds(1.0);
    driverUpdateClockSyncTime();
    EXPECT_EQ(loads().size(), 1u);
    EXPECT_EQ(timeSettings().size(), settings);
    EXPECT_EQ(status->clk_run_pretime, kT0 + 1);
}
