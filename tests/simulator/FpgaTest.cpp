// The simulated FPGA through the product's own link: page playing (self
// stepping and software switching), boundaries, ring wrap, action capture
// with debounce, triggers, binary outputs, power and temperatures.

#include "SimFpga.h"
#include "SimTestSupport.h"

#include <deque>
#include <string>
#include <vector>

using simtest::AttachedSimTest;
using simtest::PageBuilder;
using zorsim::TriggerType;

namespace {

constexpr uint16_t kRunMode = 0x8300;
constexpr uint16_t kPageSwitch = 0x8302;
constexpr uint16_t kStateCount = 0x8304;
constexpr uint16_t kState = 0x8336;
constexpr uint16_t kRunBits = 0x833E;
constexpr uint16_t kDither = 0x8404;

uint16_t actionTimeAddr(int page)
{
    return static_cast<uint16_t>(0x8306 + 6 * page);
}
uint16_t actionFlagsAddr(int page)
{
    return static_cast<uint16_t>(0x830A + 6 * page);
}

PageBuilder timePage(double seconds)
{
    PageBuilder b;
    b.component(4, 0, 1.0, 0.0, 50.0).trigger(TriggerType::Time).durationSeconds(seconds);
    return b;
}

class Fpga : public AttachedSimTest
{
protected:
    // Low-level outputs on (run bit 4): no amplifier power needed.
    void run(bool selfStepping, uint16_t stateCount = 0)
    {
        write16(kRunMode, selfStepping ? 1 : 0);
        write16(kPageSwitch, 0);
        write16(kStateCount, stateCount);
        write16(kRunBits, 4);
    }
    void expectClean() { EXPECT_TRUE(sim.violations().empty()) << sim.violationText(); }
};

// ---- Playing pages: one table, both modes -------------------------------------

struct Step
{
    int64_t advanceNs;   // from the previous step
    int switchTo;        // -1: none; else software switch to this page before reading
    uint16_t state;      // expected 0x8336 after the step
};

struct PlayCase
{
    const char* name;
    bool selfStepping;
    std::vector<Step> steps;
};

class FpgaPlaying : public Fpga, public ::testing::WithParamInterface<PlayCase>
{
};

TEST_P(FpgaPlaying, StateRegisterAtEachBoundary)
{
    const PlayCase& c = GetParam();
    writePage(0, timePage(0.010));
    writePage(1, timePage(0.020));
    writePage(2, timePage(0.030));
    run(c.selfStepping, 3);
    EXPECT_EQ(read16(kState), 0x0000);
    int n = 0;
    for (const Step& s : c.steps) {
        sim.advance(s.advanceNs);
        if (s.switchTo >= 0)
            write16(kPageSwitch, static_cast<uint16_t>(0x8000 | s.switchTo));
        EXPECT_EQ(read16(kState), s.state) << "step " << n << " at " << sim.nowNs() << " ns";
        ++n;
    }
    expectClean();
}

constexpr int64_t kUs = 1000;
constexpr int64_t kMs = 1000000;

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Modes, FpgaPlaying,
    ::testing::Values(
        PlayCase{"SelfStepping", true,
                 {{10 * kMs - kUs, -1, 0x0000}, {2 * kUs, -1, 0x0001},           // page 0 ends at 10 ms
                  {20 * kMs - 2 * kUs, -1, 0x0001}, {2 * kUs, -1, 0x0002},       // page 1 at 30 ms
                  {30 * kMs - 2 * kUs, -1, 0x0002}, {2 * kUs, -1, 0x8002},       // last state at 60 ms
                  {500 * kMs, -1, 0x8002}}},                                      // holds
        PlayCase{"SoftwareSwitching", false,
                 {{10 * kMs - kUs, -1, 0x0000}, {2 * kUs, -1, 0x8000},           // page 0 ended, holds
                  {5 * kMs, 1, 0x0001},                                          // switch at ~15 ms
                  {20 * kMs - kUs, -1, 0x0001}, {2 * kUs, -1, 0x8001},           // page 1 lasts its 20 ms
                  {1 * kMs, 2, 0x0002}, {30 * kMs + kUs, -1, 0x8002}}}),
    [](const ::testing::TestParamInfo<PlayCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Fpga, SelfSteppingWrapsTheRingAndCountsStates)
{
    for (int p = 0; p < 8; ++p)
        writePage(p, timePage(0.001));
    run(true, 10);
    const std::vector<std::pair<int64_t, uint16_t>> expected = {{7 * kMs + 500 * kUs, 0x0007},
                                                                {8 * kMs + 500 * kUs, 0x0000},
                                                                {9 * kMs + 500 * kUs, 0x0001},
                                                                {10 * kMs + 500 * kUs, 0x8001},
                                                                {50 * kMs, 0x8001}};
    int64_t done = 0;
    for (const auto& [at, state] : expected) {
        sim.advance(at - done);
        done = at;
        EXPECT_EQ(read16(kState), state) << at;
    }
    EXPECT_EQ(sim.playerStatus().statesPlayed, 10u);
    expectClean();
}

TEST_F(Fpga, TheOutputsHoldTheirLastValuesAfterTheLastState)
{
    PageBuilder ramp;
    // 50 Hz falling at 1 Hz/s toward 48 Hz: 56000 ticks, negative 32.32 step of the frequency word.
    ramp.component(0, 0, 57.7, 0.0, 50.0).trigger(TriggerType::Time).durationSeconds(1.0);
    ramp.ramp(0, 56000, -static_cast<int64_t>(1.0 / 28000 / 28000 * 18446744073709551616.0), 0x2000);
    writePage(0, ramp);
    run(true, 1);
    sim.advance(500 * kMs);
    EXPECT_NEAR(sim.outputs().frequency(0, 0, sim.nowNs()), 49.5, 1e-5);   // word resolution 6.5 uHz
    sim.advance(2000 * kMs);
    EXPECT_EQ(read16(kState), 0x8000);
    EXPECT_NEAR(sim.outputs().frequency(0, 0, sim.nowNs()), 49.0, 1e-5);   // frozen at the page end (1 s)
    EXPECT_NEAR(sim.outputs().amplitude(0, 0, sim.nowNs()), 57.7, 1e-5);
    expectClean();
}

// ---- Actions -------------------------------------------------------------------

TEST_F(Fpga, ActionTimeIncludesTheDebounceAndAppearsWithThePageEnd)
{
    PageBuilder page = timePage(10.0);
    page.trigger(TriggerType::Binary).edges(0x0001);   // rising edge of input 0
    writePage(0, page);
    write32(kDither, 15000);
    run(false);
    sim.advance(100 * kMs);
    sim.setBinaryInput(0, true);

    sim.advance(15 * kMs - kUs);   // just before the debounce ends
    EXPECT_EQ(read16(actionFlagsAddr(0)), 0x0000);
    EXPECT_EQ(read16(kState), 0x0000);
    EXPECT_EQ(read16(0x8338), 0x0000);

    sim.advance(2 * kUs);                            // just after
    EXPECT_EQ(read16(actionFlagsAddr(0)), 0x0101);   // input 0 rising, one action
    EXPECT_EQ(read32(actionTimeAddr(0)), 115000u);
    EXPECT_EQ(read16(kState), 0x8000);   // the page ended in the same step
    EXPECT_EQ(read16(0x8338), 0x0001);
    expectClean();
}

TEST_F(Fpga, ABounceShorterThanTheDebounceIsNoEdge)
{
    PageBuilder page = timePage(10.0);
    page.trigger(TriggerType::TimeOrBinary).edges(0x0003);
    writePage(0, page);
    write32(kDither, 15000);
    run(false);
    sim.advance(10 * kMs);
    sim.setBinaryInput(0, true);
    sim.advance(14 * kMs);
    sim.setBinaryInput(0, false);
    sim.advance(100 * kMs);
    EXPECT_EQ(read16(actionFlagsAddr(0)), 0x0000);
    EXPECT_EQ(read16(kState), 0x0000);
    expectClean();
}

struct EdgeCase
{
    const char* name;
    uint16_t edgeWord;
    bool andLogic;
    std::vector<std::pair<int, bool>> inputs;   // applied 1 ms apart
    uint16_t flags;
    uint32_t timeUs;   // 0: no action
};

class FpgaEdges : public Fpga, public ::testing::WithParamInterface<EdgeCase>
{
};

TEST_P(FpgaEdges, CodesCountAndTime)
{
    const EdgeCase& c = GetParam();
    PageBuilder page = timePage(10.0);
    page.trigger(TriggerType::Time).edges(c.edgeWord).andLogic(c.andLogic);
    writePage(0, page);
    run(false);
    for (const auto& [input, closed] : c.inputs) {
        sim.advance(1 * kMs);
        sim.setBinaryInput(input, closed);
    }
    sim.advance(kUs);
    EXPECT_EQ(read16(actionFlagsAddr(0)), c.flags);
    EXPECT_EQ(read32(actionTimeAddr(0)), c.timeUs);
    expectClean();
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Logic, FpgaEdges,
    ::testing::Values(
        EdgeCase{"UnarmedEdgeIgnored", 0x0002, false, {{0, true}}, 0x0000, 0},
        EdgeCase{"FallingEdge", 0x0002, false, {{0, true}, {0, false}}, 0x0102, 2000},
        EdgeCase{"BothEdgesCountTwice", 0x0003, false, {{0, true}, {0, false}}, 0x0203, 2000},
        EdgeCase{"OrOfTwoInputs", 0x0005, false, {{1, true}, {0, true}}, 0x0205, 2000},
        EdgeCase{"AndWaitsForEveryArmedInput", 0x0005, true, {{0, true}, {1, true}}, 0x0105, 2000},
        EdgeCase{"AndIncomplete", 0x0005, true, {{0, true}}, 0x0001, 0},
        EdgeCase{"CountSaturatesAtSeven", 0x0003, false,
                 {{0, true}, {0, false}, {0, true}, {0, false}, {0, true}, {0, false}, {0, true}, {0, false}}, 0x0703,
                 8000}),
    [](const ::testing::TestParamInfo<EdgeCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(Fpga, ThePreviousPagesActionSurvivesTheStep)
{
    PageBuilder first = timePage(1.0);
    first.trigger(TriggerType::TimeOrBinary).edges(0x0001);
    writePage(0, first);
    writePage(1, timePage(1.0));
    run(true, 2);
    sim.advance(300 * kMs);
    sim.setBinaryInput(0, true);
    sim.advance(kUs);
    EXPECT_EQ(read16(kState), 0x0001);   // the action ended page 0
    EXPECT_EQ(read16(actionFlagsAddr(0)), 0x0101);
    EXPECT_EQ(read32(actionTimeAddr(0)), 300000u);
    EXPECT_EQ(read16(actionFlagsAddr(1)), 0x0000);
    sim.advance(1100 * kMs);
    EXPECT_EQ(read16(kState), 0x8001);
    EXPECT_EQ(read16(actionFlagsAddr(0)), 0x0101);
    expectClean();
}

// ---- Other triggers --------------------------------------------------------------

TEST_F(Fpga, KeyAndGpsPagesEndOnTheirTrigger)
{
    // The clock block's timed pulse at UTC second `second` (its counter
    // starts at 0 with the simulator's time).
    const auto armPulse = [this](uint32_t second) {
        write16(0x8140, uint16_t(second & 0xFFFF));
        write16(0x8142, uint16_t(second >> 16));
        write16(0x8144, 0);
        write16(0x813E, 0);
        write16(0x813E, 1);
    };
    PageBuilder key = timePage(0.001);
    key.trigger(TriggerType::KeyPress);
    PageBuilder gps = timePage(0.001);
    gps.trigger(TriggerType::Gps);
    writePage(0, key);
    writePage(1, gps);
    writePage(2, gps);
    writePage(3, timePage(10.0));
    armPulse(1);
    sim.advance(250 * kMs);
    run(true, 4);
    sim.advance(5 * kMs);
    EXPECT_EQ(read16(kState), 0x0000);   // a key page ignores its duration
    sim.advance(1000 * kMs);             // the pulse of second 1 fires now
    write16(0x8344, 0x1234);
    EXPECT_EQ(read16(kState), 0x0001);

    // A GPS page waits for a pulse armed while it plays: whole seconds and
    // the pulse fired before it do not end it.
    sim.advance(2500 * kMs);
    EXPECT_EQ(read16(kState), 0x0001);
    const int64_t armedAt = sim.nowNs();
    armPulse(uint32_t(armedAt / 1000000000) + 3);
    const int64_t pulseNs = (armedAt / 1000000000 + 3) * 1000 * kMs;
    sim.advance(pulseNs - sim.nowNs() - kUs);
    EXPECT_EQ(read16(kState), 0x0001);
    sim.advance(2 * kUs);
    EXPECT_EQ(read16(kState), 0x0002);

    // A pulse moved while the page plays: the page ends at its new second.
    armPulse(uint32_t(pulseNs / 1000000000) + 5);
    armPulse(uint32_t(pulseNs / 1000000000) + 2);
    sim.advance(pulseNs + 2000 * kMs - sim.nowNs() - kUs);
    EXPECT_EQ(read16(kState), 0x0002);
    sim.advance(2 * kUs);
    EXPECT_EQ(read16(kState), 0x0003);
    expectClean();
}

// ---- Protocol checks ---------------------------------------------------------------

TEST_F(Fpga, SwitchingToAPageWhoseWriteIsIncompleteIsReported)
{
    writePage(0, timePage(0.001));
    const PageBuilder half = timePage(0.001);
    ASSERT_EQ(drv_mcasp_write_u16s(768, half.data(), 200), 0);   // page 1, first 200 words only
    run(false);
    sim.advance(2 * kMs);
    write16(kPageSwitch, 0x8001);
    const std::string text = sim.violationText();
    EXPECT_NE(text.find("switch to page 1 whose write is incomplete"), std::string::npos) << text;

    // A page rewritten in full is complete again.
    sim.clearViolations();
    writePage(1, timePage(0.001));
    write16(kPageSwitch, 0x8001);
    expectClean();
}

// ---- Binary outputs, power, temperatures, alarms ----------------------------------------

TEST_F(Fpga, BinaryOutputsFollowSoftwareOrThePage)
{
    write16(0x833C, 0x8005);
    EXPECT_EQ(read16(0x833A), 0x0005);
    // Page 0: outputs 0-2 set closed, 3 open. Output 0 as the entities write
    // it (turn after 0 s, hold 36000 s), output 1 turned after 20 ms and
    // kept, output 2 at once and held for 30 ms.
    PageBuilder first = timePage(1.0);
    first.boWord(0x5307).boTurnUs(1, 20000).boHoldUs(0, 0xFFFFFFFF).boHoldUs(2, 30000);
    // Page 1: every output set open, turned after 10 ms and held for 5 ms.
    PageBuilder second = timePage(1.0);
    second.boWord(0xFF00);
    for (int i = 0; i < 4; ++i)
        second.boTurnUs(i, 10000).boHoldUs(i, 5000);
    writePage(0, first);
    writePage(1, second);
    write16(0x833C, 0);   // the pages drive them
    EXPECT_EQ(read16(0x833A), 0x0000) << "not running";

    struct Step
    {
        const char* what;
        int64_t advanceNs;
        bool switchToPage1;
        uint16_t outputs;
    };
    // clang-format off
    const Step steps[] = {
        {"page 0 starts", 0, false, 0x0005},
        {"before output 1 turns", 20 * kMs - kUs, false, 0x0005},
        {"output 1 turned", 2 * kUs, false, 0x0007},
        {"output 2 held 30 ms", 10 * kMs, false, 0x0003},
        {"page 1 keeps them until its turn", 10 * kMs, true, 0x0003},
        {"before page 1 turns", 10 * kMs - kUs, false, 0x0003},
        {"page 1 turned", 2 * kUs, false, 0x0000},
        {"page 1 held 5 ms: back to page 0's", 5 * kMs, false, 0x0003},
        {"and so they stay", 1000 * kMs, false, 0x0003},
    };
    // clang-format on
    run(false);
    for (const Step& step : steps) {
        sim.advance(step.advanceNs);
        if (step.switchToPage1)
            write16(kPageSwitch, 0x8001);
        EXPECT_EQ(read16(0x833A), step.outputs) << step.what;
    }
    write16(kRunBits, 0);
    EXPECT_EQ(read16(0x833A), 0x0000);
    expectClean();
}

TEST_F(Fpga, AmplifierPowerTakesEffectOnTheApplyStrobe)
{
    writePage(0, timePage(10.0));
    write16(kRunMode, 0);
    write16(kRunBits, 3);
    sim.advance(kMs);
    EXPECT_FALSE(sim.outputs().live[4]);
    write16(0x8400, 3);
    EXPECT_FALSE(sim.outputs().live[4]);
    write16(0x8434, 1);
    EXPECT_TRUE(sim.outputs().live[0]);
    EXPECT_TRUE(sim.outputs().live[4]);
    EXPECT_NEAR(sim.outputs().amplitude(4, 0, sim.nowNs()), 1.0, 1e-6);
    EXPECT_EQ(read16(0x8400), 3);
    expectClean();
}

TEST_F(Fpga, OverTemperatureAlarmHasHysteresis)
{
    sim.setAlarmBits(0x0010);
    write16(0x8410, 1120);   // 70 degC
    write16(0x8412, 640);    // 40 degC
    sim.setTemperature(2, 75.0);
    EXPECT_EQ(read16(0x8414), 0x0010) << "no alarm before the hardware configuration";
    write16(0x840A, 1);
    const std::vector<std::pair<double, uint16_t>> steps = {
        {75.0, 0x0014}, {50.0, 0x0014}, {39.9, 0x0010}, {69.9, 0x0010}, {70.0, 0x0014}};
    for (const auto& [degC, alarms] : steps) {
        sim.setTemperature(2, degC);
        EXPECT_EQ(read16(0x8414), alarms) << degC;
    }
    sim.setSensorState(3, 2);
    EXPECT_EQ(read16(0x841E), 0x0080);
    expectClean();
}

// ---- Reset -------------------------------------------------------------------------

TEST(FpgaReset, AResetMidRunGivesThePowerOnModelWithNothingPending)
{
    zorsim::SimClock clock;
    std::string faults;
    const zorsim::SimFpga::Hooks hooks{[&](const std::string& t) { faults += t + "\n"; }, nullptr};
    zorsim::SimFpga fresh(clock, {}, hooks);
    zorsim::SimFpga fpga(clock, {}, hooks);
    std::deque<uint16_t> answer;
    auto write = [&](uint16_t addr, uint16_t data) { fpga.frame(static_cast<uint32_t>(addr) << 16 | data, answer); };

    // A run in progress: a page turning an output later, a debounce pending,
    // an alarm, a pulse measurement and clock-block registers.
    PageBuilder page = timePage(1.0);
    page.boWord(0x0001).boTurnUs(0, 500000).edges(0x0001);
    for (int w = 0; w < zorsim::kPageWords; ++w)
        write(static_cast<uint16_t>(2 * w), page.words[w]);
    write(kDither, 1000);
    write(0x840A, 1);
    write(0x8410, 16);
    fpga.setTemperature(0, 30.0);
    write(0x8420, 1);
    fpga.pulseInputEdge();
    fpga.setClockRegister(0x815A, 0x55AA);
    write(zorsim::clockreg::kRefSelect, zorsim::clockreg::kSelectGnss);
    write(kRunMode, 1);
    write(kStateCount, 3);
    write(kRunBits, 4);
    clock.advance(100 * kMs);
    fpga.setBinaryInput(0, true);
    ASSERT_TRUE(clock.hasPending());
    ASSERT_NE(fpga.peek(0x8414), fresh.peek(0x8414));

    fpga.reset();
    EXPECT_FALSE(clock.hasPending()) << "deadlines of the replaced state";
    for (uint32_t addr = 0; addr < 0x8500; addr += 2)
        EXPECT_EQ(fpga.peek(static_cast<uint16_t>(addr)), fresh.peek(static_cast<uint16_t>(addr))) << std::hex << addr;
    EXPECT_FALSE(fpga.outputs().running);
    EXPECT_EQ(fpga.status().statesPlayed, 0u);
    EXPECT_EQ(faults, "");
}

}   // namespace
