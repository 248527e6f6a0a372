#include "ConfigTestSupport.h"
#include "ControllerConfiguration.h"

#include "CommDriverData.h"
#include "SimInstrument.h"
#include "SimFpgaRegisters.h"
#include "driverbase.h"
#include "zodrv_mcasp.h"
#include "zoplatform.h"


#include <atomic>
#include <memory>

namespace {

using Cfg = ControllerConfiguration;
using zorsim::LinkFault;

// The configuration worker against a fresh simulated instrument. The
// product's waits advance the instrument's clock.
class ConfigDriver : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sim = std::make_unique<zorsim::SimInstrument>();
        sim->attach();
        sim->setFpgaVersion(0x0102, 0xabcd);
        zorsim::SimInstrument* instrument = sim.get();
        zoplat::setSleeper([instrument](int64_t ms) { instrument->advance(ms * 1000000); });
        cfg = std::make_unique<Cfg>();
        // Stands in for the polling loop's flag, written through a direct
        // connection on the emitting thread as the facade wires it.
        QObject::connect(cfg.get(), &Cfg::sigUpdateInitState, cfg.get(), [this](bool ok) { pollerInitialised = ok; },
                         Qt::DirectConnection);
    }

    void TearDown() override
    {
        cfg->doTestRelease();
        driverBaseRelease();
        cfg.reset();
        drv_mcasp_reset_poll_limits();
        zoplat::setSleeper({});
        sim.reset();
    }

    AppRootSandbox root;
    std::unique_ptr<zorsim::SimInstrument> sim;
    std::unique_ptr<Cfg> cfg;
    std::atomic<bool> pollerInitialised{false};
};

} // namespace

TEST_F(ConfigDriver, FirstRequestInitialisesAndIdentifiesTheHardware)
{
    SignalLog<bool> init(cfg.get(), &Cfg::sigUpdateInitState);
    SignalLog<bool> clockSync(cfg.get(), &Cfg::sigUpdateClockSyncEnable);
    cfg->bClkSyncEnabled = true;
    cfg->ditherTime = 0.02;
    cfg->tempThresholdAlarm = 75;

    EXPECT_EQ(cfg->doTestConfig(), 0);

    EXPECT_TRUE(cfg->initDriverEnable);
    EXPECT_EQ(cfg->fpgaVersion, 0x0102abcdu);
    EXPECT_EQ(cfg->getFpgaVersionText(), "1.2.abcd");
    ASSERT_EQ(init.count(), 1);
    EXPECT_TRUE(std::get<0>(init.at(0)));
    ASSERT_EQ(clockSync.count(), 1);
    EXPECT_TRUE(std::get<0>(clockSync.at(0)));
    EXPECT_TRUE(pollerInitialised);
    // The records reached the instrument.
    const uint32_t dither = sim->peekRegister(zorsim::reg::kDither) | (uint32_t(sim->peekRegister(zorsim::reg::kDither + 2)) << 16);
    EXPECT_EQ(dither, 20000u);
    EXPECT_EQ(sim->peekRegister(zorsim::reg::kAlarmTemperature), 75 * 16);
    EXPECT_EQ(sim->peekRegister(zorsim::reg::kHardwareConfigured), 1);
    EXPECT_TRUE(sim->violations().empty()) << sim->violationText();
}

TEST_F(ConfigDriver, CurrentFullScaleIsTenTimesTheSmallRangeLevel)
{
    cfg->levelISmall = 2.5;
    cfg->maxIRange = 20.0;
    cfg->ditherTime = 0.03;
    cfg->batteryType = 1;
    cfg->systemPowerType = Cfg::SYSTEM_POWER_TYPE_LLO;
    ASSERT_EQ(cfg->doTestConfig(), 0);
    EXPECT_EQ(globalConfigureHardData->maxIRange, 25.0f);
    EXPECT_EQ(globalConfigureHardData->levelISmall, 2.5f);
    EXPECT_EQ(globalConfigureSoftData->ditherTime, 0.03f);
    EXPECT_EQ(globalConfigureSoftData->batteryType, 1);
    EXPECT_EQ(globalConfigureHardData->systemPowerType, 0);
}

TEST_F(ConfigDriver, LaterRequestsOnlySend)
{
    ASSERT_EQ(cfg->doTestConfig(), 0);
    sim->setFpgaVersion(0x0203, 0x0001);   // not read again
    const auto readsBefore = sim->counters().readCommands;
    cfg->ditherTime = 0.05;
    EXPECT_EQ(cfg->doTestConfig(), 0);
    EXPECT_EQ(cfg->fpgaVersion, 0x0102abcdu);
    EXPECT_EQ(sim->counters().readCommands, readsBefore);
    EXPECT_EQ(sim->peekRegister(zorsim::reg::kDither), 50000 & 0xFFFF);

    // After a release the next request initialises again and re-reads.
    cfg->doTestRelease();
    EXPECT_FALSE(cfg->initDriverEnable);
    EXPECT_EQ(cfg->doTestConfig(), 0);
    EXPECT_EQ(cfg->fpgaVersion, 0x02030001u);
}

// A send that fails after the driver is up is reported on its own; it must not
// tell the polling loop that the driver is not initialised (a running test
// would then never see its end).
TEST_F(ConfigDriver, FailedLaterSendKeepsThePollerRunning)
{
    ASSERT_EQ(cfg->doTestConfig(), 0);
    ASSERT_TRUE(pollerInitialised);
    SignalLog<bool> init(cfg.get(), &Cfg::sigUpdateInitState);

    drv_mcasp_set_poll_limits(1000, 1000, 1000);   // time-outs come quickly
    sim->setLinkFault(LinkFault::NeverReady);
    MessageCapture log;
    EXPECT_NE(cfg->doTestConfig(), 0);
    EXPECT_NE(cfg->lastTestConfigResult(), 0);
    EXPECT_TRUE(pollerInitialised);
    EXPECT_TRUE(cfg->initDriverEnable);
    EXPECT_EQ(init.count(), 0);
    EXPECT_TRUE(log.anyWarningContains("failed"));

    sim->setLinkFault(LinkFault::None);
    EXPECT_EQ(cfg->doTestConfig(), 0);
    EXPECT_EQ(cfg->lastTestConfigResult(), 0);
    ASSERT_EQ(init.count(), 1);
    EXPECT_TRUE(std::get<0>(init.at(0)));
}

TEST_F(ConfigDriver, FailedFirstRequestReportsAndRetriesInitialisation)
{
    sim->setLinkFault(LinkFault::NoAnswer);   // the version read gets no answer
    SignalLog<bool> init(cfg.get(), &Cfg::sigUpdateInitState);
    EXPECT_NE(cfg->doTestConfig(), 0);
    EXPECT_FALSE(cfg->initDriverEnable);
    EXPECT_EQ(cfg->fpgaVersion, 0u);
    EXPECT_EQ(cfg->getFpgaVersionText(), "0.0.0000");
    ASSERT_EQ(init.count(), 1);
    EXPECT_FALSE(std::get<0>(init.at(0)));
    EXPECT_FALSE(pollerInitialised);

    sim->setLinkFault(LinkFault::None);
    EXPECT_EQ(cfg->doTestConfig(), 0);
    EXPECT_TRUE(cfg->initDriverEnable);
    EXPECT_EQ(cfg->fpgaVersion, 0x0102abcdu);
    EXPECT_TRUE(pollerInitialised);
}

TEST_F(ConfigDriver, PulseListSendsAtMost64)
{
    ASSERT_EQ(cfg->doTestConfig(), 0);
    for (quint32 i = 0; i < 70; ++i)
        cfg->ppxUTCTimeList << 2000000000u + i;
    cfg->updateClockPPXConfig();
    EXPECT_EQ(globalClockPPXData->clk_ppx_count, 64u);
    EXPECT_EQ(globalClockPPXData->clk_ppx_list[63], 2000000063u);

    cfg->ppxUTCTimeList.clear();
    cfg->updateClockPPXConfig();
    EXPECT_EQ(globalClockPPXData->clk_ppx_count, 0u);
}
