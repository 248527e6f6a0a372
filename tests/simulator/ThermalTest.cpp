// The simulated amplifier temperatures through the product's link: the rise
// with what the outputs deliver, the fan's share, the back door's held
// values and the over-temperature alarm they drive.

#include "SimTestSupport.h"

#include <cmath>
#include <vector>

using simtest::AttachedSimTest;
using simtest::PageBuilder;

namespace {

constexpr double kTau = 30.0;   // s, the model's time constant

class Thermal : public AttachedSimTest
{
protected:
    double degC(int sensor) { return int16_t(read16(uint16_t(0x8416 + 2 * sensor))) * 0.0625; }

    // Channels at full scale through the amplifiers, the fan at a share of its full speed.
    void play(const std::vector<int>& channels, double fan)
    {
        PageBuilder page;
        for (int c : channels)
            page.component(c, 0, c < 4 ? 265.0 : 10.0, 0.0, 50.0);
        writePage(0, page.trigger(zorsim::TriggerType::Time).durationSeconds(10000.0));
        write16(0x8408, 6250);
        write16(0x840C, uint16_t(6250 * fan));
        write16(0x8400, 3);
        write16(0x8434, 1);
        write16(0x833E, 3);
    }
};

TEST_F(Thermal, TemperaturesRiseWithTheOutputsAndFallWithTheFan)
{
    struct Row
    {
        const char* name;
        std::vector<int> channels;
        double fan;
        double voltageRise;   // settled, at the hotter sensor of each amplifier
        double currentRise;
    };
    const Row rows[] = {
        {"three currents, fan stopped", {4, 5, 6}, 0.0, 0.0, 120.0},
        {"three currents, fan at full speed", {4, 5, 6}, 1.0, 0.0, 48.0},
        {"one voltage, fan at half speed", {0}, 0.5, 28.0, 0.0},
    };
    EXPECT_EQ(degC(0), 25.0) << "power-on ambient";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        play(row.channels, row.fan);
        sim.advanceSeconds(kTau);
        EXPECT_NEAR(degC(3), 25.0 + (1.0 - std::exp(-1.0)) * row.currentRise, 0.1) << "one time constant";
        sim.advanceSeconds(9 * kTau);
        EXPECT_NEAR(degC(1), 25.0 + row.voltageRise, 0.1);
        EXPECT_NEAR(degC(3), 25.0 + row.currentRise, 0.1);
        write16(0x833E, 0);
        sim.advanceSeconds(20 * kTau);
        EXPECT_NEAR(degC(3), 25.0, 0.1) << "cooled";
    }
}

TEST_F(Thermal, BackDoorValuesAndTheAlarmThresholds)
{
    write16(0x8410, 70 * 16);
    write16(0x8412, 40 * 16);
    write16(0x840A, 1);
    sim.setAmbientTemperature(31.0);
    EXPECT_NEAR(degC(2), 31.0, 0.1);
    sim.setTemperature(0, 80.0);   // held against the model until released
    sim.advanceSeconds(kTau);
    EXPECT_EQ(degC(0), 80.0);
    EXPECT_EQ(read16(0x8414) & 4, 4);
    sim.releaseTemperature(0);
    EXPECT_NEAR(degC(0), 31.0, 0.1);
    EXPECT_EQ(read16(0x8414) & 4, 0);

    // Heated past the alarm; held between the thresholds; below the resume.
    play({4, 5}, 0.0);
    sim.advanceSeconds(kTau);
    EXPECT_EQ(read16(0x8414) & 4, 4) << degC(3);
    write16(0x833E, 0);
    sim.advanceSeconds(kTau);
    EXPECT_EQ(read16(0x8414) & 4, 4) << degC(3);
    sim.advanceSeconds(2 * kTau);
    EXPECT_EQ(read16(0x8414) & 4, 0) << degC(3);
    EXPECT_TRUE(sim.violations().empty()) << sim.violationText();
}

} // namespace
