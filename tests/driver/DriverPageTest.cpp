// Output pages written through the link and decoded by the simulated
// instrument's own page decoder, compared in physical units with the state
// that was set.

#include "DriverSimFixture.h"

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

using zorsim::PageContent;
using Words = std::array<uint16_t, zorsim::kPageWords>;

constexpr double kTwo32 = 4294967296.0;

uint32_t phaseWordOf(double degrees)
{
    return uint32_t(degrees / 360.0 * kTwo32);
}

void expectNear(double actual, double expected, double relative, const char* what)
{
    EXPECT_NEAR(actual, expected, std::fabs(expected) * relative + 1e-6) << what;
}

struct PageCase
{
    const char* name;
    bool zeroValue;
    std::function<void(CommDriverTestOutputData&, CommDriverTestControlData&, CommDriverConfigureHardData&)> setup;
    std::function<void(const PageContent&, const Words&)> check;
};

} // namespace

class DriverPage : public DriverSimTest
{
protected:
    // Back to freshly initialised records, writing page 0.
    void resetRecords()
    {
        *out = CommDriverTestOutputData();
        *control = CommDriverTestControlData();
        *hard = CommDriverConfigureHardData();
        *cal = CommDriverConfigureCalData();
        driverBaseResetUpdateOffset();
    }
};

TEST_F(DriverPage, WorkedCasesDecodeToTheStateThatWasSet)
{
    const PageCase cases[] = {
        {"57.7 V at 50 Hz uses the big range", false,
         [](auto& o, auto&, auto&) {
             o.outputRanges[0][0] = 57.7f;
             o.outputAngles[0][0] = 20.0f;
             o.outputFrequencies[0][0] = 50.0f;
         },
         [](const PageContent& p, const Words&) {
             const auto& ua = p.channels[0];
             EXPECT_TRUE(ua.bigRange);
             ASSERT_EQ(ua.components.size(), 1u);
             expectNear(ua.components[0].amplitude, 57.7, 1e-5, "amplitude");
             expectNear(ua.components[0].phaseDeg, 20.0, 1e-6, "phase");
             expectNear(ua.components[0].frequencyHz, 50.0, 1e-7, "frequency");
             EXPECT_FALSE(ua.components[0].dc);
         }},
        {"20 V uses the small range, sent times ten", false,
         [](auto& o, auto&, auto&) {
             o.outputRanges[0][0] = 20.0f;
             o.outputFrequencies[0][0] = 50.0f;
         },
         [](const PageContent& p, const Words&) {
             const auto& ua = p.channels[0];
             EXPECT_FALSE(ua.bigRange);
             expectNear(ua.components[0].amplitude, 20.0, 1e-5, "amplitude");
             expectNear(ua.components[0].amplitudeWord, 200.0 * 1952257920.0 / 265.0, 1e-6, "word");
         }},
        {"-5 A at 30 deg is sent as 5 A at 30 deg in the big range", false,
         [](auto& o, auto&, auto&) {
             o.outputRanges[4][0] = -5.0f;
             o.outputAngles[4][0] = 30.0f;
             o.outputFrequencies[4][0] = 50.0f;
         },
         [](const PageContent& p, const Words&) {
             const auto& ia = p.channels[4];
             EXPECT_TRUE(ia.bigRange) << "the range follows the magnitude";
             expectNear(ia.components[0].amplitude, 5.0, 1e-5, "amplitude");
             EXPECT_NEAR(double(ia.components[0].phaseWord), double(phaseWordOf(30.0)), 2.0);
             // Played through the inverting current amplifier: 5 A at 210 deg = -5 A at 30 deg.
             expectNear(ia.components[0].phaseDeg, 210.0, 1e-6, "played phase");
         }},
        {"-5 A at 30 deg with inverting current amplifiers goes to 210 deg", false,
         [](auto& o, auto&, auto& h) {
             h.powerAmpType = 1;
             o.outputRanges[4][0] = -5.0f;
             o.outputAngles[4][0] = 30.0f;
             o.outputFrequencies[4][0] = 50.0f;
         },
         [](const PageContent& p, const Words&) {
             EXPECT_NEAR(double(p.channels[4].components[0].phaseWord), double(phaseWordOf(210.0)), 2.0);
         }},
        {"a phase of exactly 360 deg saturates the phase word", false,
         [](auto& o, auto&, auto&) {
             o.outputRanges[0][0] = 10.0f;
             o.outputAngles[0][0] = 360.0f;
             o.outputFrequencies[0][0] = 50.0f;
         },
         [](const PageContent& p, const Words&) { EXPECT_EQ(p.channels[0].components[0].phaseWord, 0xFFFFFFFFu); }},
        {"a DC value uses the DC scale", false,
         [](auto& o, auto&, auto&) {
             o.outputRanges[1][0] = 100.0f;
             o.outputRanges[5][0] = 0.5f;
         },
         [](const PageContent& p, const Words&) {
             EXPECT_TRUE(p.channels[1].components[0].dc);
             EXPECT_TRUE(p.channels[1].bigRange);
             expectNear(p.channels[1].components[0].amplitude, 100.0, 1e-5, "UB");
             EXPECT_FALSE(p.channels[5].bigRange);
             expectNear(p.channels[5].components[0].amplitude, 0.5, 1e-5, "IB");
         }},
        {"harmonics give 32 records", false,
         [](auto& o, auto& c, auto&) {
             c.controlOutputHarmEnable = 1;
             o.outputRanges[0][0] = 57.7f;
             o.outputFrequencies[0][0] = 50.0f;
             o.outputRanges[0][2] = 5.77f;
             o.outputAngles[0][2] = 45.0f;
             o.outputFrequencies[0][2] = 150.0f;
         },
         [](const PageContent& p, const Words& w) {
             EXPECT_EQ(w[0], 32);
             ASSERT_EQ(p.componentsPerChannel, 4);
             const auto& third = p.channels[0].components[2];
             expectNear(third.amplitude, 5.77, 1e-5, "harmonic amplitude");
             expectNear(third.phaseDeg, 45.0, 1e-6, "harmonic phase");
             expectNear(third.frequencyHz, 150.0, 1e-7, "harmonic frequency");
         }},
        {"power swing gives 16 records, bit 11 on component 0", false,
         [](auto& o, auto& c, auto&) {
             c.controlOscillateEnable = 1;
             o.outputRanges[4][0] = 2.0f;
             o.outputFrequencies[4][0] = 50.0f;
             o.outputRanges[4][1] = 1.0f;
             o.outputFrequencies[4][1] = 49.0f;
         },
         [](const PageContent& p, const Words&) {
             EXPECT_EQ(p.recordCount, 16);
             EXPECT_TRUE(p.oscillate);
             EXPECT_TRUE(p.channels[4].components[0].control & zorsim::page::kCtlOscillate);
             EXPECT_FALSE(p.channels[4].components[1].control & zorsim::page::kCtlOscillate);
             expectNear(p.channels[4].components[1].frequencyHz, 49.0, 1e-7, "second component");
         }},
        {"50 to 48 Hz at 1 Hz/s: 56000 ticks, negative step", false,
         [](auto& o, auto&, auto&) {
             o.outputRanges[4][0] = 2.0f;
             o.outputFrequencies[4][0] = 50.0f;
             o.propertyEnables[4] |= COMM_STATE_PROPERTY_ENABLE_TYPE_DFDT;
             o.dfdtSlipValue[4] = 1.0f;
             o.dfdtStopValue[4] = 48.0f;
         },
         [](const PageContent& p, const Words&) {
             const auto& ramp = p.channels[4].ramp;
             EXPECT_EQ(ramp.kind, zorsim::RampKind::Frequency);
             EXPECT_EQ(ramp.lengthTicks, 56000u);
             EXPECT_LT(ramp.step, 0);
             expectNear(ramp.ratePerSecond, -1.0, 1e-6, "rate");
             expectNear(ramp.durationSeconds, 2.0, 1e-9, "duration");
             for (const auto& channel : p.channels)
                 EXPECT_TRUE(channel.components[0].control & zorsim::page::kCtlFrequencyRamp);
         }},
        {"an amplitude ramp in the small range keeps its rate", false,
         [](auto& o, auto&, auto&) {
             o.outputRanges[0][0] = 10.0f;
             o.outputFrequencies[0][0] = 50.0f;
             o.propertyEnables[0] |= COMM_STATE_PROPERTY_ENABLE_TYPE_DRDT;
             o.drdtSlipValue[0] = 2.0f;
             o.drdtStopValue[0] = 20.0f;
         },
         [](const PageContent& p, const Words&) {
             const auto& ramp = p.channels[0].ramp;
             EXPECT_FALSE(p.channels[0].bigRange);
             EXPECT_EQ(ramp.kind, zorsim::RampKind::Amplitude);
             EXPECT_EQ(ramp.lengthTicks, 140000u);
             expectNear(ramp.ratePerSecond, 2.0, 1e-5, "rate");
             EXPECT_TRUE(p.channels[0].components[0].control & zorsim::page::kCtlAmplitudeRamp);
         }},
        {"binary outputs, inputs, logic and trigger", false,
         [](auto& o, auto&, auto&) {
             o.outputBOInitStates[0] = 1;
             o.outputBOInitStates[2] = 1;
             o.outputBOTurnEnables[1] = 1;
             o.outputBOTurnTimes[1] = 0.25f;
             o.outputBOHoldEnables[2] = 1;
             o.outputBOHoldTimes[2] = 1.5f;
             o.outputBIRiseEnables[0] = 1;
             o.outputBIFallEnables[3] = 1;
             o.outputBILogic = COMM_BILOGIC_TYPE_AND;
             o.outputTriggerType = COMM_TRIGGER_TYPE_BINARY;
             o.outputLinkStateType = COMM_LINKSTATE_TYPE_INITIATE;
             o.outputTime = 2.5f;
         },
         [](const PageContent& p, const Words&) {
             EXPECT_EQ(p.boWord, 0x4205);
             EXPECT_EQ(p.boTurnUs[1], 250000u);
             EXPECT_EQ(p.boHoldUs[2], 1500000u);
             EXPECT_EQ(p.boHoldUs[0], 0xFFFFFFFFu) << "36000 s exceeds the microsecond field";
             EXPECT_TRUE(p.biRise(0));
             EXPECT_TRUE(p.biFall(3));
             EXPECT_FALSE(p.biRise(3));
             EXPECT_TRUE(p.biAnd());
             EXPECT_EQ(p.biLogicWord, 0xFFFF);
             EXPECT_EQ(p.trigger(), zorsim::TriggerType::Binary);
             EXPECT_TRUE(p.linkInitiate);
             EXPECT_EQ(p.durationTicks, 70000u);
         }},
        {"an output time of 0 lasts one tick", false, [](auto&, auto&, auto&) {},
         [](const PageContent& p, const Words&) { EXPECT_EQ(p.durationTicks, 1u); }},
        {"times to the nearest tick and microsecond", false,
         [](auto& o, auto&, auto&) {
             o.outputTime = 0.13f;
             o.outputBOTurnTimes[0] = 0.065f;
             o.outputBOHoldTimes[1] = 0.065f;
         },
         [](const PageContent& p, const Words&) {
             EXPECT_EQ(p.durationTicks, 3640u);
             EXPECT_EQ(p.boTurnUs[0], 65000u);
             EXPECT_EQ(p.boHoldUs[1], 65000u);
         }},
        {"zero value: silence for 28 ticks", true,
         [](auto& o, auto&, auto&) {
             o.outputRanges[0][0] = 57.7f;
             o.outputFrequencies[0][0] = 50.0f;
             o.outputRanges[4][0] = 5.0f;
             o.outputTime = 10.0f;
         },
         [](const PageContent& p, const Words&) {
             EXPECT_EQ(p.durationTicks, 28u);
             for (const auto& channel : p.channels)
                 EXPECT_EQ(channel.components[0].amplitudeWord, 0u);
         }},
        {"manual ranges follow the level states", false,
         [](auto& o, auto&, auto&) {
             o.outputLevelControlType = COMM_LEVELCONTROL_TYPE_MANUAL;
             o.outputLevelStates[0] = COMM_LEVELSTATE_TYPE_BIG;
             o.outputRanges[0][0] = 5.0f;
             o.outputFrequencies[0][0] = 50.0f;
             o.outputRanges[4][0] = 0.5f;
             o.outputFrequencies[4][0] = 50.0f;
         },
         [](const PageContent& p, const Words&) {
             EXPECT_EQ(p.rangeBits, 0x01);
             expectNear(p.channels[0].components[0].amplitude, 5.0, 1e-5, "UA");
             expectNear(p.channels[4].components[0].amplitude, 0.5, 1e-5, "IA");
         }},
    };

    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        resetRecords();
        c.setup(*out, *control, *hard);
        const PageContent page = encodeAndDecode(c.zeroValue);
        EXPECT_TRUE(page.problems.empty()) << page.problems.front();
        c.check(page, sim->pageWords(0));
    }
}

TEST_F(DriverPage, RecordsBeyondTheCountAreNotWritten)
{
    sim->setFrameLogging(true);
    setChannel(0, 57.7f, 0.0f, 50.0f);
    ASSERT_EQ(driverBaseSendTestParameterData(false, false), 0);
    const uint16_t firstUnused = 2 + 14 * 8;
    const uint16_t pastRecords = 2 + 14 * 32;
    for (uint32_t frame : sim->frames()) {
        const uint16_t addr = uint16_t(frame >> 16);
        EXPECT_FALSE(addr >= firstUnused && addr < pastRecords) << std::hex << frame;
    }
}

TEST_F(DriverPage, CalibrationCorrectsTheSentValues)
{
    enum Loaded { None, PowerAmplifier, LowLevel };
    struct CalCase
    {
        const char* name;
        Loaded loaded;
        uint8_t systemPowerType;
        uint32_t levelControl;
        float frequency;
        double amplitude;
        double phase;
        double sentFrequency;
        double dcOffset;
    };
    // Power-amplifier calibration of UA, small range: point 1 (up to 100 V)
    // x1.02 + 0.5 V, phase +2 deg, frequency x1.001, DC offset 0.2 V, factor
    // by frequency 0.98 at 50 Hz to 1.1 at 100 Hz (0.98 beyond the points).
    // Low-level calibration: x1.01 + 0.004 units of full scale / 8.
    const double interpolated = 0.98 + (80.0 - 50.0) * (1.1 - 0.98) / (100.0 - 50.0);
    const CalCase cases[] = {
        {"no calibration loaded: uncorrected", None, 1, 0, 80.0f, 10.0, 10.0, 80.0, 0.0},
        {"amplitude point, no frequency factor at 50 Hz", PowerAmplifier, 1, 0, 50.0f, 10.7, 12.0, 50.05, 0.2},
        {"frequency factor interpolated at 80 Hz", PowerAmplifier, 1, 0, 80.0f, 10.7 * interpolated, 12.0, 80.08, 0.2},
        {"beyond the last frequency point: factor 0", PowerAmplifier, 1, 0, 150.0f, 10.7 * 0.98, 12.0, 150.15, 0.2},
        {"manual AC-factor mode skips the frequency factor", PowerAmplifier, 1, 2, 80.0f, 10.7, 12.0, 80.08, 0.2},
        {"low-level outputs only: no power-amplifier calibration", PowerAmplifier, 0, 0, 80.0f, 10.0, 10.0, 80.0, 0.0},
        {"low-level calibration", LowLevel, 0, 0, 80.0f, 10.1 + 0.004 * 265.0 / 8.0, 10.0, 80.0, 0.0},
        {"manual low-level mode is not calibrated", LowLevel, 0, 3, 80.0f, 10.0, 10.0, 80.0, 0.0},
    };
    for (const CalCase& c : cases) {
        SCOPED_TRACE(c.name);
        *out = CommDriverTestOutputData();
        *cal = CommDriverConfigureCalData();
        if (c.loaded == PowerAmplifier) {
            cal->acampAmpLimits[0][0][1] = 100.0f;
            cal->acampAmpFactors[0][0][1] = 1.02f;
            cal->acampAmpOffsets[0][0][1] = 0.5f;
            cal->acphaPhaOffsets[0][0][0] = 2.0f;
            cal->acfrqFrqFactors[0][0][0] = 1.001f;
            cal->acdcoAmpOffsets[0][0][0] = 0.2f;
            cal->acfacFrqLimits[0][0][1] = 100.0f;
            cal->acfacFrqPoints[0][0][0] = 50.0f;
            cal->acfacFrqPoints[0][0][1] = 100.0f;
            cal->acfacFrqFactors[0][0][0] = 0.98f;
            cal->acfacFrqFactors[0][0][1] = 1.1f;
        } else if (c.loaded == LowLevel) {
            cal->lloampAmpLimits[0][0][1] = 8.0f;
            cal->lloampAmpFactors[0][0][1] = 1.01f;
            cal->lloampAmpOffsets[0][0][1] = 0.004f;
        }
        hard->systemPowerType = c.systemPowerType;
        out->outputLevelControlType = c.levelControl;
        setChannel(0, 10.0f, 10.0f, c.frequency);
        const PageContent page = encodeAndDecode();
        const auto& ua = page.channels[0];
        EXPECT_FALSE(ua.bigRange);
        expectNear(ua.components[0].amplitude, c.amplitude, 1e-5, "amplitude");
        expectNear(ua.components[0].phaseDeg, c.phase, 1e-5, "phase");
        expectNear(ua.components[0].frequencyHz, c.sentFrequency, 1e-6, "frequency");
        EXPECT_NEAR(ua.dcOffset, c.dcOffset, 265.0 / 21063.426 / 10.0);   // one step of the word
    }
}

TEST_F(DriverPage, DecayingDcComponentOnTheFaultedPhase)
{
    out->decayDefine.decayEnable = true;
    out->decayDefine.decayFactor = 40.0f;
    out->decayDefine.faultRange = 10.0f;
    out->decayDefine.faultAngle = 0.0f;
    out->decayDefine.closeAngle = 90.0f;
    out->decayDefine.decayZValue = 2.0f;
    out->linkPhaseType = COMM_LINKPHASE_TYPE_UA;
    setChannel(0, 10.0f, 0.0f, 50.0f);
    setChannel(4, 0.5f, 0.0f, 50.0f);
    setChannel(5, 0.5f, 0.0f, 50.0f);

    const PageContent page = encodeAndDecode();
    const double current = -std::sqrt(2.0) * 10.0;   // inception at the peak
    EXPECT_TRUE(out->dcsimEnable);
    EXPECT_EQ(out->dcsimFactor, -14);
    EXPECT_EQ(sim->peekRegister(0x8340), 0xFFF2);
    EXPECT_EQ(sim->peekRegister(0x8342), 0xFFFF);

    EXPECT_TRUE(page.channels[4].dcSim);
    expectNear(page.channels[4].dcSimInitial, current, 1e-4, "IA");
    EXPECT_TRUE(page.channels[0].dcSim);
    expectNear(page.channels[0].dcSimInitial, 2.0 * current, 1e-4, "UA");
    EXPECT_FALSE(page.channels[5].dcSim);
    EXPECT_FALSE(page.channels[1].dcSim);
    // The DC component counts toward the range of the faulted channels only.
    EXPECT_TRUE(page.channels[4].bigRange);
    EXPECT_TRUE(page.channels[0].bigRange);
    EXPECT_FALSE(page.channels[5].bigRange);
}

// ---- Unusable values from the configuration or the entities -----------------

TEST_F(DriverPage, UnusableFullScaleOrTickRateWritesNoPage)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case
    {
        float maxV, maxI;
        uint32_t tickRate;
    };
    const Case cases[] = {{0.0f, 10.0f, 28000}, {265.0f, 0.0f, 28000}, {nan, 10.0f, 28000},
                          {265.0f, inf, 28000}, {-265.0f, 10.0f, 28000}, {265.0f, 10.0f, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.maxV << " V " << c.maxI << " A " << c.tickRate << " Hz");
        hard->maxVRange = c.maxV;
        hard->maxIRange = c.maxI;
        hard->periodFrequency = c.tickRate;
        setChannel(0, 57.7f, 0.0f, 50.0f);
        const uint64_t framesBefore = sim->counters().frames;
        EXPECT_NE(driverBaseSendTestParameterData(false, false), 0);
        EXPECT_EQ(sim->counters().frames, framesBefore);
    }
}

TEST_F(DriverPage, UnusableDecayFactorGivesNoDcDecay)
{
    const float values[] = {0.0f, -40.0f, std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity()};
    for (float factor : values) {
        SCOPED_TRACE(factor);
        out->decayDefine = DecayDefine();
        out->decayDefine.decayEnable = true;
        out->decayDefine.decayFactor = factor;
        out->decayDefine.faultRange = 10.0f;
        out->decayDefine.decayZValue = 2.0f;
        out->linkPhaseType = COMM_LINKPHASE_TYPE_UABC;
        const PageContent page = encodeAndDecode();
        EXPECT_EQ(out->dcsimFactor, 0);
        EXPECT_FALSE(out->dcsimEnable);
        for (const auto& channel : page.channels)
            EXPECT_FALSE(channel.dcSim);
    }
}

TEST_F(DriverPage, PhasesFoldWithoutLoopingAndConversionsSaturate)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct PhaseCase
    {
        float angle;
        uint32_t word;
    };
    const PhaseCase phases[] = {
        {720.0f, 0xFFFFFFFFu},      // a positive multiple of 360 stays 360
        {-720.0f, 0u},
        {-30.0f, phaseWordOf(330.0)},
        {1e30f, phaseWordOf(std::fmod(double(1e30f), 360.0))},
        {-1e30f, phaseWordOf(360.0 + std::fmod(double(-1e30f), 360.0))},
        {inf, 0u},
        {-inf, 0u},
        {nan, 0u},
    };
    for (const PhaseCase& c : phases) {
        SCOPED_TRACE(c.angle);
        setChannel(0, 10.0f, c.angle, 50.0f);
        const PageContent page = encodeAndDecode();
        EXPECT_NEAR(double(page.channels[0].components[0].phaseWord), double(c.word), 2.0);
    }

    struct ValueCase
    {
        const char* name;
        float amplitude, frequency, time, hold;
        uint32_t amplitudeWord, frequencyWord, ticks, holdUs;
    };
    const ValueCase values[] = {
        {"NaN everywhere converts to 0 (one tick)", nan, nan, nan, nan, 0, 0, 1, 0},
        {"huge values saturate", 1e12f, 1e12f, 1e12f, 1e12f, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu},
        {"negative values give 0", 10.0f, -50.0f, -1.0f, -1.0f, 0, 0, 1, 0},
    };
    for (const ValueCase& c : values) {
        SCOPED_TRACE(c.name);
        hard->levelVSmall = 1e30f;   // keep every value in the small range
        setChannel(0, c.amplitude, 0.0f, c.frequency);
        out->outputTime = c.time;
        out->outputBOHoldTimes[0] = c.hold;
        const PageContent page = encodeAndDecode();
        const auto& component = page.channels[0].components[0];
        if (c.amplitude != 10.0f) {
            EXPECT_EQ(component.amplitudeWord, c.amplitudeWord);
        }
        EXPECT_EQ(component.frequencyWord, c.frequencyWord);
        EXPECT_EQ(page.durationTicks, c.ticks);
        EXPECT_EQ(page.boHoldUs[0], c.holdUs);
    }
}

// Every state time of the page's millisecond box, as the entities hand it
// over (single precision), lasts its ticks exactly.
TEST(DriverTimes, EveryMillisecondSettingFromOneMillisecondToTenSecondsGivesItsTicks)
{
    std::vector<int> wrong;
    for (int ms = 1; ms <= 10000; ++ms)
        if (driverPageTicks(double(float(ms / 1000.0)), 28000) != uint32_t(ms * 28))
            wrong.push_back(ms);
    EXPECT_TRUE(wrong.empty()) << wrong.size() << " settings off, the first " << wrong.front() << " ms";
}
