// The simulated amplifier temperatures through the product's link: the
// ambient, the rise with what the outputs deliver, the fan's share, the back
// door's held values and the over-temperature alarm they drive.

#include "SimTestSupport.h"

#include <cmath>
#include <vector>

using simtest::AttachedSimTest;
using simtest::PageBuilder;
using zorsim::TriggerType;

namespace {

constexpr double kTau = 30.0;   // s, the model's time constant

class Thermal : public AttachedSimTest
{
protected:
    double degC(int sensor) { return static_cast<int16_t>(read16(static_cast<uint16_t>(0x8416 + 2 * sensor))) * 0.0625; }

    // Outputs on (amplifier power and run bits, or run bit 4 alone for the
    // low-level outputs) with the fan at a share of its full scale.
    void play(const PageBuilder& page, bool amplifiers, double fan)
    {
        write16(0x8408, 6250);
        write16(0x840C, static_cast<uint16_t>(6250 * fan));
        writePage(0, page);
        write16(0x8400, amplifiers ? 3 : 0);
        write16(0x8434, 1);
        write16(0x8300, 0);
        write16(0x8302, 0);
        write16(0x833E, amplifiers ? 3 : 4);
    }
};

TEST_F(Thermal, TemperaturesRiseWithTheOutputsAndFallWithTheFan)
{
    struct Row
    {
        const char* name;
        std::vector<int> channels;   // played at full scale
        bool amplifiers;
        double fan;
        double voltageRise;          // settled, at the hotter sensor of each amplifier
        double currentRise;
    };
    const Row rows[] = {
        {"nothing played", {}, true, 0.0, 0.0, 0.0},
        {"three currents, fan stopped", {4, 5, 6}, true, 0.0, 0.0, 120.0},
        {"three currents, fan at full speed", {4, 5, 6}, true, 1.0, 0.0, 48.0},
        {"one voltage, fan at half speed", {0}, true, 0.5, 28.0, 0.0},
        {"low-level outputs", {0, 4, 5, 6}, false, 0.0, 0.0, 0.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        sim.setAmbientTemperature(25.0);
        write16(0x833E, 0);
        sim.advanceSeconds(20 * kTau);   // cool again
        EXPECT_NEAR(degC(3), 25.0, 0.1);
        PageBuilder page;
        for (int c : row.channels)
            page.component(c, 0, c < 4 ? 265.0 : 10.0, 0.0, 50.0);
        page.trigger(TriggerType::Time).durationSeconds(10000.0);
        play(page, row.amplifiers, row.fan);
        sim.advanceSeconds(kTau);
        const double share = 1.0 - std::exp(-1.0);
        EXPECT_NEAR(degC(1), 25.0 + share * row.voltageRise, 0.1) << "after one time constant";
        EXPECT_NEAR(degC(3), 25.0 + share * row.currentRise, 0.1) << "after one time constant";
        sim.advanceSeconds(9 * kTau);
        EXPECT_NEAR(degC(1), 25.0 + row.voltageRise, 0.1);
        EXPECT_NEAR(degC(3), 25.0 + row.currentRise, 0.1);
        EXPECT_NEAR(degC(2), 25.0 + 0.9 * row.currentRise, 0.1) << "the cooler sensor";
    }
    EXPECT_TRUE(sim.violations().empty()) << sim.violationText();
}

TEST_F(Thermal, BackDoorValuesAndTheAlarmThresholds)
{
    write16(0x8410, 70 * 16);
    write16(0x8412, 40 * 16);
    write16(0x840A, 1);
    EXPECT_NEAR(degC(0), 25.0, 0.1) << "power-on ambient";
    sim.setAmbientTemperature(31.0);
    for (int s = 0; s < 4; ++s)
        EXPECT_NEAR(degC(s), 31.0, 0.1) << s;

    // A held sensor wins over the model until released.
    sim.setTemperature(0, 80.0);
    EXPECT_EQ(degC(0), 80.0);
    EXPECT_EQ(read16(0x8414) & 4, 4);
    sim.advanceSeconds(10 * kTau);
    EXPECT_EQ(degC(0), 80.0);
    sim.releaseTemperature(0);
    EXPECT_NEAR(degC(0), 31.0, 0.1);
    EXPECT_EQ(read16(0x8414) & 4, 0);

    // Heated by the outputs past the alarm, cooled below the resume threshold.
    PageBuilder page;
    page.component(4, 0, 10.0, 0.0, 50.0).component(5, 0, 10.0, 0.0, 50.0);
    page.trigger(TriggerType::Time).durationSeconds(10000.0);
    play(page, true, 0.0);
    sim.advanceSeconds(kTau);
    EXPECT_EQ(read16(0x8414) & 4, 4) << degC(3) << " degC";
    write16(0x833E, 0);
    sim.advanceSeconds(kTau);
    EXPECT_GT(degC(3), 40.0);
    EXPECT_EQ(read16(0x8414) & 4, 4) << "held between the thresholds";
    sim.advanceSeconds(2 * kTau);
    EXPECT_LT(degC(3), 40.0);
    EXPECT_EQ(read16(0x8414) & 4, 0);
    EXPECT_TRUE(sim.violations().empty()) << sim.violationText();
}

} // namespace
