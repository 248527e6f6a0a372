// The simulator's output errors and meter on hand-made played outputs: the
// conventions the calibration loop relies on.

#include "SimOutputErrors.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

using zorsim::Component;
using zorsim::OutputErrors;
using zorsim::PlayedOutputs;
using zorsim::SegmentedError;

namespace {

constexpr double kOpen = std::numeric_limits<double>::infinity();

Component component(double amplitude, double phaseDeg, double frequencyHz)
{
    Component c;
    c.amplitude = amplitude;
    c.phaseDeg = phaseDeg;
    c.frequencyHz = frequencyHz;
    c.dc = frequencyHz < 0.001;
    return c;
}

// Every channel live on its amplifier, big range, one component each.
PlayedOutputs playing(const OutputErrors* errors)
{
    PlayedOutputs played;
    played.running = true;
    played.live.fill(true);
    played.page.componentsPerChannel = 1;
    for (zorsim::Channel& channel : played.page.channels) {
        channel.bigRange = true;
        channel.components.push_back(Component());
    }
    if (errors)
        played.errors = std::make_shared<const OutputErrors>(*errors);
    return played;
}

} // namespace

TEST(OutputErrors, SegmentsAndResponse)
{
    const SegmentedError curve = SegmentedError::continuous(0.1, {{10, 1.01}, {20, 0.99}, {kOpen, 1.02}});
    struct Case
    {
        double set;
        double played;
    };
    const Case cases[] = {
        {0.0, 0.0},                        // nothing set, nothing played
        {5.0, 0.1 + 5.05},
        {10.0, 0.1 + 10.1},                // the bound belongs to the lower segment...
        {10.0 + 1e-9, 0.1 + 10.1},         // ...and the next one meets it
        {20.0, 0.1 + 10.1 + 9.9},
        {30.0, 0.1 + 10.1 + 9.9 + 10.2},   // the last segment is open
    };
    for (const Case& c : cases)
        EXPECT_NEAR(curve.apply(c.set), c.played, 1e-8) << c.set;
    EXPECT_DOUBLE_EQ(SegmentedError().apply(7.0), 7.0);
    EXPECT_DOUBLE_EQ(SegmentedError::affine(1.5, -20.0).apply(10.0), 0.0) << "nothing below zero";

    zorsim::PortErrors port;
    EXPECT_DOUBLE_EQ(port.responseAt(400.0), 1.0);
    port.response = {{50, 1.0}, {100, 1.01}, {300, 0.97}};
    EXPECT_DOUBLE_EQ(port.responseAt(20.0), 1.0);
    EXPECT_DOUBLE_EQ(port.responseAt(200.0), 0.99);
    EXPECT_DOUBLE_EQ(port.responseAt(1000.0), 0.97);
}

TEST(OutputErrors, MeterReadsTheTerminals)
{
    OutputErrors errors;
    errors.frequencyError = 0.002;
    errors.at(0, 1).phaseDeg = 5.0;          // UA is the reference: not used
    errors.at(1, 1).phaseDeg = 0.2;          // UB ahead of UA
    errors.at(4, 1).phaseDeg = -0.2;         // IA behind UA
    errors.at(1, 1).acAmplitude = SegmentedError::affine(1.01, 0.05);
    errors.at(1, 1).dcOffset = 0.05;
    errors.at(2, 1).dcAmplitude = SegmentedError::affine(1.02, 0.0);
    errors.at(3, 1).lowLevelAcAmplitude = SegmentedError::affine(1.0, 0.004);
    errors.at(3, 1).lowLevelDcOffset = 0.01;
    errors.at(3, 1).dcOffset = 1.0;          // the amplifier's: not on the low-level outputs

    PlayedOutputs played = playing(&errors);
    auto& ch = played.page.channels;
    ch[0].components[0] = component(10.0, 0.0, 50.0);
    ch[1].components[0] = component(10.0, 0.0, 50.0);
    ch[1].dcOffset = 0.05;                   // offset word equal to the measured offset
    ch[2].components[0] = component(5.0, 270.0, 0.0);
    ch[3].components[0] = component(26.5, 0.0, 50.0);   // 0.8 V of the low-level signal
    played.lowLevel[3] = true;
    ch[4].components[0] = component(1.0, 0.0, 50.0);

    const zorsim::MeterReading ua = zorsim::readMeter(played, 0, 0);
    EXPECT_TRUE(ua.live);
    EXPECT_DOUBLE_EQ(ua.rms, 10.0);
    EXPECT_DOUBLE_EQ(ua.phaseLagDeg, 0.0);
    EXPECT_DOUBLE_EQ(ua.frequencyHz, 50.1);

    const zorsim::MeterReading ub = zorsim::readMeter(played, 1, 0);
    EXPECT_NEAR(ub.phaseLagDeg, 359.8, 1e-9) << "0.2 deg ahead of UA reads 359.8";
    EXPECT_DOUBLE_EQ(ub.rms, 10.15);
    EXPECT_NEAR(ub.dc, 0.0, 1e-12) << "the offset word cancels the offset it equals";
    EXPECT_NEAR(zorsim::readMeter(played, 4, 0).phaseLagDeg, 0.2, 1e-9) << "0.2 deg behind UA reads 0.2";

    EXPECT_DOUBLE_EQ(zorsim::readMeter(played, 2, 0).dc, -5.1) << "270 deg plays the negative value";
    ch[2].components[0].phaseDeg = 90.0;
    EXPECT_DOUBLE_EQ(zorsim::readMeter(played, 2, 0).dc, 5.1);
    EXPECT_DOUBLE_EQ(zorsim::readMeter(played, 2, 0).rms, 0.0);

    const zorsim::MeterReading ux = zorsim::readMeter(played, 3, 0);
    EXPECT_TRUE(ux.lowLevel);
    EXPECT_NEAR(ux.rms, 0.804, 1e-12) << "volts of the low-level signal";
    EXPECT_NEAR(ux.dc, 0.01, 1e-12);

    // Without errors the terminals show the page, less its offset words.
    PlayedOutputs plain = playing(nullptr);
    plain.page.channels[1].components[0] = component(10.0, 30.0, 50.0);
    plain.page.channels[1].dcOffset = 0.02;
    plain.page.channels[0].components[0] = component(1.0, 0.0, 50.0);
    const zorsim::MeterReading m = zorsim::readMeter(plain, 1, 0);
    EXPECT_DOUBLE_EQ(m.rms, 10.0);
    EXPECT_DOUBLE_EQ(m.frequencyHz, 50.0);
    EXPECT_DOUBLE_EQ(m.phaseLagDeg, 330.0);
    EXPECT_DOUBLE_EQ(m.dc, -0.02);

    plain.live[1] = false;
    EXPECT_FALSE(zorsim::readMeter(plain, 1, 0).live);
    EXPECT_EQ(zorsim::readMeter(plain, 1, 0).rms, 0.0);
}

// Relay models find trip times from ramp crossings: with errors these follow
// the values the terminals play, not the page's.
TEST(OutputErrors, RampCrossingsFollowThePlayedValues)
{
    for (const bool withErrors : {false, true}) {
        SCOPED_TRACE(withErrors ? "with errors" : "without");
        OutputErrors errors;
        errors.at(4, 1).acAmplitude = SegmentedError::continuous(0.02, {{2.0, 1.03}, {kOpen, 0.98}});
        errors.frequencyError = -0.001;
        PlayedOutputs played = playing(withErrors ? &errors : nullptr);
        zorsim::Channel& ia = played.page.channels[4];
        ia.components[0] = component(1.0, 0.0, 50.0);
        ia.ramp.kind = zorsim::RampKind::Amplitude;
        ia.ramp.ratePerSecond = 0.5;
        ia.ramp.durationSeconds = 10.0;

        const std::optional<int64_t> at = played.firstAmplitudeAtLeast(4, 3.0, 0);
        ASSERT_TRUE(at.has_value());
        EXPECT_GE(played.amplitude(4, 0, *at), 3.0);
        EXPECT_LT(played.amplitude(4, 0, *at - 1000), 3.0);

        zorsim::Channel& ua = played.page.channels[0];
        ua.components[0] = component(10.0, 0.0, 50.0);
        ua.ramp.kind = zorsim::RampKind::Frequency;
        ua.ramp.ratePerSecond = -1.0;
        ua.ramp.durationSeconds = 5.0;
        const std::optional<int64_t> below = played.firstFrequencyBelow(0, 48.0, 0);
        ASSERT_TRUE(below.has_value());
        EXPECT_LT(played.frequency(0, 0, *below), 48.0);
        EXPECT_GE(played.frequency(0, 0, *below - 1000), 48.0);
    }
}
