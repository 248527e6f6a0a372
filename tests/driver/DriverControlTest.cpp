// Control writes and status reads against values set through the simulated
// instrument's back door, and the driver's start-up and release.

#include "DriverSimFixture.h"

#include <cmath>
#include <limits>

namespace {

const QString kScript = QStringLiteral("/opt/zor/script/setpwrgpio.sh ");

int countCommand(const QString& line)
{
    return zoplat::host::recordedCommands().count(line);
}

}   // namespace

class DriverControl : public DriverSimTest
{
};

TEST_F(DriverControl, TemperaturesFanAndSensors)
{
    ASSERT_EQ(driverBaseSendConfigureHardData(), 0);
    EXPECT_EQ(sim->peekRegister(0x8410), 1120);
    EXPECT_EQ(sim->peekRegister(0x8412), 640);
    EXPECT_EQ(sim->peekRegister(0x8408), 6250);
    ASSERT_EQ(driverBaseSendConfigureFanSpeed(50), 0);
    EXPECT_EQ(sim->peekRegister(0x840C), 3100);

    const double temperatures[] = {25.5, -1.0, -20.3, 70.0};
    const int32_t expected[] = {25, -1, -20, 70};
    for (int i = 0; i < 4; ++i)
        sim->setTemperature(i, temperatures[i]);
    const int codes[] = {0, 1, 2, 3};
    for (int i = 0; i < 4; ++i)
        sim->setSensorState(i, codes[i]);
    sim->setFanSpeedCount(uint16_t(3125));

    ASSERT_EQ(driverBaseReadPAOTempState(), 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(status->statusAOTempValues[i], expected[i]) << "sensor " << i;
        EXPECT_EQ(status->statusSensorStates[i], codes[i]) << "sensor " << i;
    }
    EXPECT_EQ(status->statusFanSpeed, 50);
}

TEST_F(DriverControl, AlarmsAreReadOnlyWithAmplifierPower)
{
    sim->setAlarmBits(0x0011);
    status->statusAlarmStates = 0x7F;
    const uint64_t readsBefore = sim->counters().readCommands;
    EXPECT_EQ(driverBaseReadAlarmState(), 0);
    EXPECT_EQ(status->statusAlarmStates, 0);
    EXPECT_EQ(sim->counters().readCommands, readsBefore) << "no power: the FPGA is not asked";

    control->controlPowerIEnable = 1;
    EXPECT_EQ(driverBaseReadAlarmState(), 0);
    EXPECT_EQ(status->statusAlarmStates & 0x0011, 0x0011);
}

TEST_F(DriverControl, BinaryOutputsAndInputs)
{
    for (auto& state : control->controlBOStates)
        state = 1;
    ASSERT_EQ(driverBaseSendTestBOState(), 0);
    EXPECT_EQ(sim->peekRegister(0x833C), 0x800F);
    ASSERT_EQ(driverBaseReadTestBOState(), 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(status->statusBOStates[i], 1) << i;

    control->controlBOStates[1] = 0;
    control->controlBOStates[3] = 0;
    ASSERT_EQ(driverBaseSendTestBOState(), 0);
    EXPECT_EQ(sim->peekRegister(0x833C), 0x8005);

    ASSERT_EQ(driverBaseSendConfigureSoftData(), 0);
    EXPECT_EQ(sim->peekRegister(0x8404), 15000);
    sim->setBinaryInput(2, true);
    sim->advanceSeconds(0.1);   // past the 15 ms debounce
    ASSERT_EQ(driverBaseReadTestBIState(), 0);
    const uint8_t expected[] = {0, 0, 1, 0};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(status->statusBIStates[i], expected[i]) << i;
}

TEST_F(DriverControl, PowerStagesAndAuxiliaryDcSetPoint)
{
    hard->systemPowerType = COMM_SYSTEM_POWER_TYPE_PAO;
    // Segments up to 50 V, 150 V and 300 V; 150 V and above uses point 4.
    cal->auxdcPwmLimits[0][0][1] = 50.0f;
    cal->auxdcPwmLimits[0][0][2] = 150.0f;
    cal->auxdcPwmLimits[0][0][3] = 300.0f;
    const float factors[] = {0.5f, 0.9f, 1.05f, 1.02f, 0.97f};
    const float offsets[] = {9.0f, 0.1f, -1.0f, 0.4f, 2.0f};
    for (int i = 0; i < 5; ++i) {
        cal->auxdcPwmFactors[0][0][i] = factors[i];
        cal->auxdcPwmOffsets[0][0][i] = offsets[i];
    }
    struct Case
    {
        uint32_t volts;
        int segment;
    };
    const Case cases[] = {{30, 1}, {100, 2}, {220, 3}, {330, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.volts);
        control->controlPowerDCVAuxValue = c.volts;
        ASSERT_EQ(driverBaseSendTestControlPower(), 0);
        const float v = float(c.volts) * factors[c.segment] + offsets[c.segment];
        EXPECT_EQ(sim->peekRegister(0x8402), uint16_t(v / 350.0f * 62500.0f));
        EXPECT_EQ(sim->peekRegister(0x8400), 0x4);
    }
    // Auxiliary DC alone: the power-amplifier stage is closed.
    EXPECT_EQ(countCommand(kScript + "pao close"), 4);

    zoplat::host::clearRecordedCommands();
    control->controlPowerDCVAuxValue = 0;
    control->controlPowerVEnable = 1;
    control->controlPowerIEnable = 1;
    ASSERT_EQ(driverBaseSendTestControlPower(), 0);
    EXPECT_EQ(sim->peekRegister(0x8400), 0x3);
    EXPECT_EQ(sim->peekRegister(0x8402), 0);
    EXPECT_EQ(zoplat::host::recordedCommands(), QStringList{kScript + "pao open"});

    // Low-level outputs only: no amplifier bits, and running sets only bit 2.
    zoplat::host::clearRecordedCommands();
    hard->systemPowerType = COMM_SYSTEM_POWER_TYPE_LLO;
    ASSERT_EQ(driverBaseSendTestControlPower(), 0);
    EXPECT_EQ(sim->peekRegister(0x8400), 0);
    EXPECT_EQ(zoplat::host::recordedCommands(), QStringList{kScript + "pao close"});
    ASSERT_EQ(driverBaseSendTestParameterData(true, false), 0);
    control->controlRunVEnable = 1;
    control->controlRunIEnable = 1;
    ASSERT_EQ(driverBaseSendTestControlRun(), 0);
    EXPECT_EQ(sim->peekRegister(0x833E), 0x4);
}

TEST_F(DriverControl, UnusableAuxiliaryFullScaleKeepsTheAuxiliaryOutputOff)
{
    hard->systemPowerType = COMM_SYSTEM_POWER_TYPE_PAO;
    control->controlPowerIEnable = 1;
    for (float fullScale : {0.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        SCOPED_TRACE(fullScale);
        hard->auxdcMaxValue = fullScale;
        control->controlPowerDCVAuxValue = 110;
        EXPECT_NE(driverBaseSendTestControlPower(), 0);
        EXPECT_EQ(sim->peekRegister(0x8402), 0);
        EXPECT_EQ(sim->peekRegister(0x8400), 0x2) << "the amplifiers still follow their enables";
    }
}

TEST_F(DriverControl, PulseRegistersAndVersion)
{
    out->pulseOutputEnable = 1;
    out->pulseOutputPeriod = 0xAB12345678ull;
    out->pulseInputEnable = 1;
    out->pulseInputTCU = 7;
    ASSERT_EQ(driverBaseSendTestPulse(), 0);
    EXPECT_EQ(sim->peekRegister(0x842C), 1);
    EXPECT_EQ(sim->peekRegister(0x842E), 0x5678);
    EXPECT_EQ(sim->peekRegister(0x8430), 0x1234);
    EXPECT_EQ(sim->peekRegister(0x8422), 7);

    sim->setPulseInput(17, 0x00ABCDEF, true, true);
    ASSERT_EQ(driverBaseReadTestPulse(), 0);
    EXPECT_EQ(out->pulseInputTCNT, 17);
    EXPECT_EQ(out->pulseInputPeriod, 0x00ABCDEFu);
    EXPECT_EQ(out->pulseInputState, 2);

    sim->setPulseInput(18, 0x1234, true, false);
    ASSERT_EQ(driverBaseReadTestPulse(), 0);
    EXPECT_EQ(out->pulseInputTCNT, 18);
    EXPECT_EQ(out->pulseInputPeriod, 0u);
    EXPECT_EQ(out->pulseInputState, 0);

    sim->setFpgaVersion(0x0102, 0x0304);
    ASSERT_EQ(driverBaseReadConfigureHardData(), 0);
    EXPECT_EQ(hard->fpgaVersion, 0x01020304u);
}

// ---- Start-up and release ---------------------------------------------------

TEST(DriverInit, RecordsAreNullUntilInitAndAfterRelease)
{
    zoplat::host::reset();
    EXPECT_EQ(globalTestOutputData, nullptr);
    EXPECT_EQ(globalConfigureCalData, nullptr);
    zorsim::SimInstrument sim;
    sim.attach();
    ASSERT_EQ(driverBaseInit(), 0);
    EXPECT_EQ(zoplat::host::recordedCommands(), QStringList{kScript + "llo open"});
    EXPECT_EQ(globalTestOutputData->outputBOHoldTimes[3], 36000.0f);
    EXPECT_EQ(globalConfigureCalData->acampAmpLimits[7][1][3], -1.0f);
    EXPECT_EQ(globalConfigureCalData->acfacFrqPoints[7][1][9], 1.0f);
    EXPECT_EQ(local_const_sinx_table[768], local_const_sinx_table[0]);
    EXPECT_FLOAT_EQ(local_const_sinx_table[192], 1.0f);
    EXPECT_EQ(driverUpdateClockEnabled.load(), 1);
    driverBaseRelease();
    EXPECT_EQ(globalTestOutputData, nullptr);
    EXPECT_EQ(globalClockPPXData, nullptr);
    EXPECT_EQ(driverBaseReadTestBIState(), -1) << "no records: refused, not dereferenced";
    zoplat::host::reset();
}

TEST(DriverInit, RetryAfterFailedLinkKeepsRecordsAndFailsCleanlyMeanwhile)
{
    zoplat::host::reset();
    zorsim::SimInstrument sim;   // not attached: the link set-up fails
    testing::internal::CaptureStdout();
    EXPECT_NE(driverBaseInit(), 0);
    ASSERT_NE(globalConfigureCalData, nullptr);
    CommDriverConfigureCalData* const calRecord = globalConfigureCalData;
    CommDriverTestOutputData* const outRecord = globalTestOutputData;

    // Every operation fails cleanly on the link that is not set up.
    globalTestOutputData->outputRanges[0][0] = 10.0f;
    globalTestOutputData->outputFrequencies[0][0] = 50.0f;
    EXPECT_EQ(driverBaseSendTestParameterData(false, false) < 0, true);
    EXPECT_EQ(driverBaseReadTestBIState(), -1);
    EXPECT_EQ(driverBaseSendTestKeyTrigger(), -1);
    globalTestStatusData->statusAOTempValues[0] = 33;
    EXPECT_NE(driverBaseReadPAOTempState(), 0);
    EXPECT_EQ(globalTestStatusData->statusAOTempValues[0], 33) << "a failed read keeps the value";
    EXPECT_NE(driverBaseReadActionTimes(), 0);
    EXPECT_TRUE(std::isnan(globalTestStatusData->statusTestActionTime));

    // A calibration loaded meanwhile survives the second initialisation.
    globalConfigureCalData->acampAmpFactors[2][1][1] = 1.23f;
    sim.attach();
    EXPECT_EQ(driverBaseInit(), 0);
    const QString printed = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_LE(printed.count(QStringLiteral("GPS TASK RUNNING")), 1) << "the GNSS thread is started once";
    EXPECT_EQ(globalConfigureCalData, calRecord);
    EXPECT_EQ(globalTestOutputData, outRecord);
    EXPECT_EQ(globalConfigureCalData->acampAmpFactors[2][1][1], 1.23f);
    EXPECT_EQ(driverBaseSendTestKeyTrigger(), 0);
    EXPECT_EQ(driverBaseReadTestBIState(), 0);
    driverBaseRelease();
    zoplat::host::reset();
}
