// The product's register link against the simulated McASP port and FPGA:
// exact frames, time-outs, the port set-up and its read-back polls, link
// faults, and serialisation across threads.

#include "SimTestSupport.h"

#include "zodrv_mcaspaccess.h"
#include "zodrv_mcaspport_host.h"
#include "zoplatform_control_host.h"
#include "TestSandbox.h"

#include <QFileInfo>

#include <atomic>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

using simtest::AttachedSimTest;
using zorsim::LinkFault;

namespace {

using Frames = std::vector<uint32_t>;

struct FrameCase
{
    const char* name;
    std::function<int()> operation;
    Frames frames;
};

class LinkFrames : public AttachedSimTest
{
};

TEST_F(LinkFrames, EachOperationSendsExactlyItsFrames)
{
    uint16_t words[4] = {};
    uint32_t value = 0;
    const uint16_t three[3] = {0x1111, 0x2222, 0x3333};
    const uint32_t two[2] = {0x00010002, 0x00030004};
    const std::vector<FrameCase> cases = {
        {"u16 write", [&] { return drv_mcasp_write_u16(0x8304, 5); }, {0x83040005}},
        {"u32 write", [&] { return drv_mcasp_write_u32(0x0204, 0x12345678); }, {0x02045678, 0x02061234}},
        {"u16 writes", [&] { return drv_mcasp_write_u16s(0x0300, three, 3); }, {0x03001111, 0x03022222, 0x03043333}},
        {"u32 writes to one pair", [&] { return drv_mcasp_write_u32s(0x8404, two, 2); },
         {0x84040002, 0x84060001, 0x84040004, 0x84060003}},
        {"u16 read", [&] { return drv_mcasp_read_u16(0x8336, &words[0]); }, {0x80008336, 0x80020001, 0x80041234}},
        {"u32 read is two reads", [&] { return drv_mcasp_read_u32(0x8404, &value); },
         {0x80008404, 0x80020001, 0x80041234, 0x80008406, 0x80020001, 0x80041234}},
        {"u32 burst read", [&] { return drv_mcasp_read_u32b(0x800A, &value); }, {0x8000800A, 0x80020002, 0x80041234}},
        {"u16 burst read", [&] { return drv_mcasp_read_u16sb(0x8416, words, 4); }, {0x80008416, 0x80020004, 0x80041234}},
        {"u32 burst reads", [&] { return drv_mcasp_read_u32sb(0x8306, &value, 1); }, {0x80008306, 0x80020002, 0x80041234}},
        {"u16 reads", [&] { return drv_mcasp_read_u16s(0x8300, words, 2); },
         {0x80008300, 0x80020001, 0x80041234, 0x80008302, 0x80020001, 0x80041234}},
    };
    for (const FrameCase& c : cases) {
        sim.clearFrames();
        EXPECT_EQ(c.operation(), 0) << c.name;
        EXPECT_EQ(sim.frames(), c.frames) << c.name;
    }
    EXPECT_TRUE(sim.violations().empty()) << sim.violationText();
}

TEST_F(LinkFrames, ReadsReturnWhatTheFpgaHolds)
{
    const uint16_t page[4] = {0x0010, 0xBEEF, 0x1234, 0x8001};
    ASSERT_EQ(drv_mcasp_write_u16s(0x0300, page, 4), 0);
    write32(0x8404, 0x00013A98);
    sim.setTemperature(0, 40.0);
    sim.setTemperature(1, -5.5);

    uint16_t burst[4] = {};
    ASSERT_EQ(drv_mcasp_read_u16sb(0x0300, burst, 4), 0);
    EXPECT_EQ(std::vector<uint16_t>(burst, burst + 4), std::vector<uint16_t>(page, page + 4));

    uint32_t dither = 0;
    ASSERT_EQ(drv_mcasp_read_u32b(0x8404, &dither), 0);
    EXPECT_EQ(dither, 0x00013A98u);
    ASSERT_EQ(drv_mcasp_read_u32(0x8404, &dither), 0);
    EXPECT_EQ(dither, 0x00013A98u);

    uint32_t pairs[2] = {};
    ASSERT_EQ(drv_mcasp_read_u32sb(0x0300, pairs, 2), 0);
    EXPECT_EQ(pairs[0], 0xBEEF0010u);
    EXPECT_EQ(pairs[1], 0x80011234u);
    ASSERT_EQ(drv_mcasp_read_u32s(0x0300, pairs, 2), 0);
    EXPECT_EQ(pairs[0], 0xBEEF0010u);
    EXPECT_EQ(pairs[1], 0x80011234u);

    EXPECT_EQ(read16(0x8416), 640);                          // 40 degC in 0.0625 units
    EXPECT_EQ(read16(0x8418), static_cast<uint16_t>(-88));   // -5.5 degC, two's complement
    EXPECT_TRUE(sim.violations().empty()) << sim.violationText();
}

TEST_F(LinkFrames, DemoChecksPrintWhatTheyDid)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(drv_mcasp_demo_testwrite(), 0);
    EXPECT_EQ(drv_mcasp_demo_testread(), 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("****write addr:0x815a val 0x4e21 dataw 0x815a4e21 \n"), std::string::npos) << out;
    EXPECT_NE(out.find("**** read addr:0x800a datar1:0x00000002 value1:0x00000002 datar2:0x00000001 value2:0x00000001\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(sim.peekRegister(0x815A), 20001);
    EXPECT_EQ(sim.frames(), (Frames{0x815A4E21, 0x8000800A, 0x80020002, 0x80041234}));
}

// ---- Time-outs and link faults ------------------------------------------------

struct FaultCase
{
    const char* name;
    LinkFault fault;
    uint64_t frames;
    bool isRead;
    const char* message;
    Frames sent;
};

class LinkFaults : public AttachedSimTest, public ::testing::WithParamInterface<FaultCase>
{
};

TEST_P(LinkFaults, FailWithTheirMessageAndLeaveTheOutputAlone)
{
    const FaultCase& c = GetParam();
    drv_mcasp_set_poll_limits(50, 50, 50);
    sim.setLinkFault(c.fault, c.frames);

    uint16_t out = 0xABCD;
    testing::internal::CaptureStdout();
    const int result = c.isRead ? drv_mcasp_read_u16(0x8336, &out) : drv_mcasp_write_u32(0x0204, 0x12345678);
    const std::string printed = testing::internal::GetCapturedStdout();

    EXPECT_EQ(result, -1);
    EXPECT_EQ(printed, c.message);
    EXPECT_EQ(out, 0xABCD);
    EXPECT_EQ(sim.frames(), c.sent);

    // Mended, the next read runs whole: a read command the failure broke off is dropped.
    sim.setLinkFault(LinkFault::None);
    EXPECT_EQ(drv_mcasp_read_u16(0x800A, &out), 0);
    EXPECT_TRUE(sim.violations().empty()) << sim.violationText();

    // Failing between the sender's ready poll and its write, the link takes that frame.
    zodrv::McaspRegisterPort& port = *zodrv::mcaspInstalledPort();
    ASSERT_NE(port.readRegister(zodrv::MCASP0_BASE, 0x180) & 0x10, 0u);
    sim.setLinkFault(c.fault, 0);
    port.writeRegister(zodrv::MCASP0_BASE, 0x200, 0x815A0001);
    EXPECT_EQ(sim.peekRegister(0x815A), 1);
    EXPECT_TRUE(sim.violations().empty()) << sim.violationText();
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LinkFaults,
    ::testing::Values(
        FaultCase{"NeverReadyWrite", LinkFault::NeverReady, 0, false, "WRITE_REG_XBUF0 data:0x2045678 ERROR(SRCTL0 & 0x0010)\n", {}},
        FaultCase{"NeverReadyRead", LinkFault::NeverReady, 0, true, "WRITE_REG_XBUF0 data:0x80008336 ERROR(SRCTL0 & 0x0010)\n", {}},
        FaultCase{"NoAnswer", LinkFault::NoAnswer, 0, true, "READ_REG_RBUF1 ERROR (SRCTL1 & 0x0020 (0x2))\n",
                  {0x80008336, 0x80020001, 0x80041234}},
        FaultCase{"FailAfterTwoFramesRead", LinkFault::FailAfterFrames, 2, true,
                  "WRITE_REG_XBUF0 data:0x80041234 ERROR(SRCTL0 & 0x0010)\n", {0x80008336, 0x80020001}},
        FaultCase{"FailAfterOneFrameWrite", LinkFault::FailAfterFrames, 1, false,
                  "WRITE_REG_XBUF0 data:0x2061234 ERROR(SRCTL0 & 0x0010)\n", {0x02045678}}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST_F(LinkFrames, NoAnswerOnceFailsOneReadThenRecovers)
{
    drv_mcasp_set_poll_limits(50, 50, 50);
    sim.setLinkFault(LinkFault::NoAnswerOnce);
    uint16_t v = 0xABCD;
    testing::internal::CaptureStdout();
    EXPECT_EQ(drv_mcasp_read_u16(0x800A, &v), -1);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(v, 0xABCD);
    EXPECT_EQ(drv_mcasp_read_u16(0x800A, &v), 0);
    EXPECT_EQ(v, 0x0002);
    EXPECT_EQ(sim.counters().readCommands, 2u);
    EXPECT_EQ(sim.counters().answeredWords, 1u);
    EXPECT_TRUE(sim.violations().empty()) << sim.violationText();
}

// ---- Set-up -----------------------------------------------------------------------

TEST(LinkSetup, StartsThePortAsTheBoardNeedsIt)
{
    zorsim::SimInstrument sim;
    sim.attach();
    ASSERT_EQ(drv_mcasp_init(), 0);
    EXPECT_EQ(sim.peekPortRegister(0x44), 0x1F1Fu);     // receive and transmit fully started
    EXPECT_EQ(sim.peekPortRegister(0x68), 0x80F8u);     // RFMT
    EXPECT_EQ(sim.peekPortRegister(0xA8), 0x80F8u);     // XFMT
    EXPECT_EQ(sim.peekPortRegister(0xAC), 2u);          // AFSXCTL
    EXPECT_EQ(sim.peekPortRegister(0x14), 0x1C000001u); // PDIR
    EXPECT_EQ(sim.peekPortRegister(0x180), 1u);         // serialiser 0 transmits
    EXPECT_EQ(sim.peekPortRegister(0x184), 2u);         // serialiser 1 receives
    EXPECT_EQ(drv_mcasp_write_u16(0x8304, 3), 0);
    EXPECT_EQ(sim.peekRegister(0x8304), 3);
    EXPECT_TRUE(sim.violations().empty()) << sim.violationText();
    drv_mcasp_release();
}

TEST(LinkSetup, EveryStartStepTimesOutWithItsMessageAndLeavesTheLinkDown)
{
    const std::vector<std::pair<uint32_t, std::string>> steps = {
        {0x0002, "drv_mcasp_init MCASP_RGBLCTLcheck0x0002error \n"},
        {0x0200, "drv_mcasp_init MCASP_XGBLCTLcheck0x0200error \n"},
        {0x0001, "drv_mcasp_init MCASP_RGBLCTLcheck0x0001error \n"},
        {0x0100, "drv_mcasp_init MCASP_XGBLCTLcheck0x0100error \n"},
        {0x0004, "drv_mcasp_init MCASP_RGBLCTLcheck0x0004error \n"},
        {0x0400, "drv_mcasp_init MCASP_XGBLCTLcheck0x0400error \n"},
        {0x0008, "drv_mcasp_init MCASP_RGBLCTLcheck0x0008error \n"},
        {0x0800, "drv_mcasp_init MCASP_XGBLCTLcheck0x0800error \n"},
        {0x0010, "drv_mcasp_init MCASP_RGBLCTLcheck0x0010error \n"},
        {0x1000, "drv_mcasp_init MCASP_XGBLCTLcheck0x1000error \n"},
    };
    drv_mcasp_set_poll_limits(20, 20, 20);
    for (const auto& [bit, message] : steps) {
        zorsim::SimInstrument sim;
        sim.attach();
        sim.setStuckStartBit(bit);
        testing::internal::CaptureStdout();
        EXPECT_EQ(drv_mcasp_init(), -1) << std::hex << bit;
        uint16_t v = 0x5555;
        EXPECT_EQ(drv_mcasp_write_u16(0x8304, 1), -1);
        EXPECT_EQ(drv_mcasp_read_u16(0x8336, &v), -1);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.substr(0, message.size()), message) << std::hex << bit;
        EXPECT_EQ(v, 0x5555);
        EXPECT_EQ(sim.counters().frames, 0u) << "a failed set-up must send nothing";
        EXPECT_TRUE(sim.violations().empty()) << sim.violationText();

        // The set-up may run again and then succeeds.
        sim.setStuckStartBit(0);
        EXPECT_EQ(drv_mcasp_init(), 0);
        EXPECT_EQ(drv_mcasp_write_u16(0x8304, 1), 0);
        drv_mcasp_release();
    }
    drv_mcasp_reset_poll_limits();
}

TEST(LinkSetup, WithoutAPortTheMappingFailsAndOperationsFailCleanly)
{
    testing::internal::CaptureStdout();
    EXPECT_EQ(drv_mcasp_init(), -1);
    uint32_t v = 7;
    EXPECT_EQ(drv_mcasp_read_u32b(0x800A, &v), -1);
    EXPECT_EQ(drv_mcasp_write_u32(0x0204, 1), -1);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("drv_mcasp_init CM_PER_BASE map mem dev error\n", 0), 0u) << out;
    EXPECT_EQ(v, 7u);

    // After a release the link is down again.
    zorsim::SimInstrument sim;
    sim.attach();
    ASSERT_EQ(drv_mcasp_init(), 0);
    EXPECT_EQ(drv_mcasp_release(), 0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(drv_mcasp_write_u16(0x8304, 1), -1);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(sim.counters().frames, 0u);
}

// ---- Threads ------------------------------------------------------------------------

TEST_F(LinkFrames, ConcurrentOperationsNeverSplitAReadCommand)
{
    // Each thread owns a stretch of page memory, writes it and reads it back
    // with single and burst reads, while another thread moves the clock.
    constexpr int kThreads = 4;
    constexpr int kRounds = 400;
    std::atomic<int> mismatches{0};
    std::atomic<bool> pacing{true};
    std::thread pacer([&] {
        while (pacing.load())
            sim.advance(1000);
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            std::mt19937 random(1234u + static_cast<unsigned>(t));
            const uint16_t base = static_cast<uint16_t>(0x0400 + t * 0x100);
            for (int round = 0; round < kRounds; ++round) {
                const uint16_t word = static_cast<uint16_t>(random());
                const uint16_t addr = static_cast<uint16_t>(base + 2 * (round % 16));
                uint16_t back = 0;
                uint16_t burst[2] = {};
                uint32_t wide = 0;
                if (drv_mcasp_write_u16(addr, word) != 0 || drv_mcasp_read_u16(addr, &back) != 0 || back != word)
                    ++mismatches;
                if (drv_mcasp_write_u32(static_cast<uint16_t>(base + 0x40), 0x10000u * word + word) != 0
                    || drv_mcasp_read_u32b(static_cast<uint16_t>(base + 0x40), &wide) != 0 || wide != 0x10000u * word + word)
                    ++mismatches;
                if (drv_mcasp_read_u16sb(static_cast<uint16_t>(base + 0x40), burst, 2) != 0 || burst[0] != word || burst[1] != word)
                    ++mismatches;
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    pacing = false;
    pacer.join();
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(sim.counters().readCommands, static_cast<uint64_t>(kThreads * kRounds * 3));
    EXPECT_TRUE(sim.violations().empty()) << sim.violationText();
}

TEST_F(LinkFrames, TheSimulatorReportsAReadSplitByAnotherThread)
{
    // Bypass the link's lock: frames straight into the port from two threads.
    zodrv::McaspMapping port;
    ASSERT_TRUE(zodrv::mcaspMapOpen(port, zodrv::MCASP0_BASE, zodrv::MCASP0_SIZE));
    // Both threads stay alive throughout, so their ids differ.
    std::atomic<int> step{0};
    std::thread first([&] {
        zodrv::mcaspRegWrite(port, 0x200, 0x80008336);
        step = 1;
        while (step.load() != 2)
            std::this_thread::yield();
    });
    std::thread second([&] {
        while (step.load() != 1)
            std::this_thread::yield();
        zodrv::mcaspRegWrite(port, 0x200, 0x83040001);
        step = 2;
    });
    first.join();
    second.join();
    zodrv::mcaspMapClose(port);
    const std::string text = sim.violationText();
    EXPECT_NE(text.find("split by a frame of thread"), std::string::npos) << text;
    EXPECT_NE(text.find("read command for 0x8336 interrupted by frame 0x83040001"), std::string::npos) << text;
}

TEST_F(LinkFrames, UnknownAndReadOnlyAddressesAreReported)
{
    write16(0x9000, 1);
    EXPECT_EQ(read16(0x9002), 0);
    write16(0x8336, 5);
    uint16_t v = 0;
    EXPECT_EQ(drv_mcasp_read_u16(0x8344, &v), 0);
    const std::string text = sim.violationText();
    EXPECT_NE(text.find("write of unknown address 0x9000"), std::string::npos) << text;
    EXPECT_NE(text.find("read of unknown address 0x9002"), std::string::npos) << text;
    EXPECT_NE(text.find("write of read-only register 0x8336"), std::string::npos) << text;
    EXPECT_NE(text.find("read of write-only register 0x8344"), std::string::npos) << text;
    EXPECT_EQ(sim.peekRegister(0x8336), 0);
}

TEST(LinkMutex, SharedMutexFileLocksAndUnlocks)
{
    TestSandbox sandbox;
    zoplat::host::setSandboxRoot(sandbox.path());
    EXPECT_EQ(mcaspMutexLock(), -1);   // not initialised yet
    ASSERT_EQ(mcaspMutexInit(), 0);
    EXPECT_EQ(mcaspMutexLock(), 0);
    EXPECT_EQ(mcaspMutexUnlock(), 0);
    EXPECT_GE(QFileInfo(sandbox.filePath("var/run/mcaspMutex")).size(), 40);
    EXPECT_EQ(mcaspMutexRelease(), 0);
    EXPECT_EQ(mcaspMutexLock(), -1);
    zoplat::host::setSandboxRoot(QString());
}

} // namespace
