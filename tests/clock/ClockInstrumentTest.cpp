// The clock through the whole simulated instrument: the FPGA model hands the
// clock block's addresses to its clock block.

#include "ClockFixture.h"
#include "SimInstrument.h"

TEST(ClockInstrument, IrigbSynchronisationThroughTheFpgaModel)
{
    using clocktest::kT0;
    zoplat::host::reset();
    zorsim::SimInstrument sim;
    sim.attach();
    ASSERT_EQ(driverBaseInit(), 0);
    drv_clock_release_handle();
    drv_clock_init_handle();
    drv_clock_init_config();

    sim.withClockBlock([](zorsim::SimClockBlock& b) { b.setIrigbReference(kT0); });
    driverUpdateClockConfig(LOWER_CLOCK_REFSRC_TYPE_IRIG_BE, LOWER_CLOCK_ETRIGGER_IN_TYPE_EXTERNIN,
                            LOWER_CLOCK_ETRIGGER_POLARITY_TYPE_RISINGEDGE, LOWER_CLOCK_ETRIGGER_OUT_TYPE_SECONDPULSE,
                            LOWER_CLOCK_ETRIGGER_POLARITY_TYPE_RISINGEDGE);
    globalClockPPXData->clk_ppx_count = 2;
    globalClockPPXData->clk_ppx_list[0] = kT0 + 3;
    globalClockPPXData->clk_ppx_list[1] = kT0 + 2;
    driverUpdateClockPPXConfig();
    sim.advanceSeconds(1.0);
    driverUpdateClockSyncTime();
    sim.advanceSeconds(1.0);
    driverUpdateClockSyncTime();

    std::vector<zorsim::SimClockBlock::TimeLoad> loads;
    std::optional<zorsim::SimClockBlock::Pulse> armed;
    uint16_t select = 0;
    uint16_t trigger = 0;
    sim.withClockBlock([&](zorsim::SimClockBlock& b) {
        loads = b.loads();
        armed = b.armedPulse();
        select = b.referenceSelect();
        trigger = b.triggerConfig();
    });
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].seconds, kT0 + 1);
    ASSERT_TRUE(armed.has_value());
    EXPECT_EQ(armed->second, kT0 + 3);
    EXPECT_EQ(select, 0x0E03);
    EXPECT_EQ(trigger, 0x0037);
    EXPECT_EQ(globalClockStatusData->clk_irigb_utctime, kT0 + 2);
    EXPECT_EQ(globalClockStatusData->clk_syn_state, 1u);
    EXPECT_TRUE(sim.violations().empty()) << sim.violationText();

    driverBaseRelease();
    sim.detach();
    zoplat::host::reset();
}
