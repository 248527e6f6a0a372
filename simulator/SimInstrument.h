#pragma once

// The simulated instrument and its control object: the back door through
// which tests and the demo drive what has no register path in (binary
// inputs, temperatures, alarms, link faults, virtual time, relay models) and
// observe what the product did (frames, protocol violations, pages, outputs).
//
// Inside: a McASP0 port model (the product's link code polls and writes its
// registers through the host register accessor) handing every frame to an
// FPGA model (read commands, page memory, page player, action capture,
// status registers). Both run on one virtual clock under one lock; every
// method here is thread-safe.
//
// Typical test:
//   zorsim::SimInstrument sim;            // fresh power-on state
//   sim.attach();                         // the link now reaches this instrument
//   ASSERT_EQ(drv_mcasp_init(), 0);       // or driverBaseInit()
//   ... product writes pages, sets run ...
//   sim.advanceSeconds(0.5);              // or advanceToNextEvent()
//   sim.setBinaryInput(0, true);
//   EXPECT_TRUE(sim.violations().empty()) << sim.violationText();

#include "SimClock.h"
#include "SimDut.h"
#include "SimOutputErrors.h"
#include "SimPage.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorsim {

enum class LinkFault {
    None,
    NeverReady,        // the transmit buffer never becomes ready
    NoAnswer,          // read commands are taken but never answered
    NoAnswerOnce,      // the next read command is not answered, later ones are
    FailAfterFrames,   // after N more frames the transmit buffer never becomes ready
};

struct ProtocolViolation
{
    int64_t timeNs = 0;
    std::string text;
};

struct LinkCounters
{
    uint64_t frames = 0;          // frames taken from XBUF0
    uint64_t writeFrames = 0;     // frames that were register writes
    uint64_t readCommands = 0;    // complete read commands
    uint64_t answeredWords = 0;   // words put into the receive buffer
    uint64_t receivedWords = 0;   // words taken from RBUF1 by the link
};

struct PlayerStatus
{
    bool running = false;    // output run bits set
    bool autoStep = false;   // register 0x8300 = 1
    int currentPage = 0;
    uint16_t stateWord = 0;      // register 0x8336
    bool pageEnded = false;      // the current page's trigger has fired
    uint32_t statesPlayed = 0;   // pages completed since the run started
    uint16_t stateCount = 0;     // register 0x8304
    int64_t pageStartNs = 0;
};

class SimClockBlock;
class SimFpga;
class SimMcaspPort;

class SimInstrument
{
public:
    explicit SimInstrument(const HardwareConstants& hw = HardwareConstants());
    ~SimInstrument();   // detaches first when attached
    SimInstrument(const SimInstrument&) = delete;
    SimInstrument& operator=(const SimInstrument&) = delete;

    // ---- Link --------------------------------------------------------------
    // Installs this instrument's McASP port as the one the product's register
    // accessor reaches (replacing any other). The product then runs
    // drv_mcasp_init() as it would on the board.
    void attach();
    void detach();
    bool isAttached() const;

    // ---- Virtual clock (ns since power-on) -----------------------------------
    int64_t nowNs() const;
    double nowSeconds() const;
    void advance(int64_t durationNs);
    void advanceUs(int64_t us) { advance(us * 1000); }
    void advanceSeconds(double seconds);
    // Moves to the next pending deadline and fires it; false (time unchanged)
    // when nothing is pending: a test should fail on that.
    bool advanceToNextEvent();
    std::optional<int64_t> nextEventNs() const;

    // ---- Pacing from real time (SimPacer) -------------------------------------
    // With pacing set, the clock catches up with real time whenever the
    // instrument is used (every register access of the link, every call of
    // this class): owedNs() tells the virtual time passed since it was last
    // asked. changed() is called when the pacer's plan no longer holds: the
    // player started or stopped, or a deadline earlier than the one last
    // reported was scheduled. Both run under the instrument's lock on the
    // thread that used it: changed() only hands over to the pacer.
    struct Pacing
    {
        std::function<int64_t()> owedNs;
        std::function<void()> changed;
    };
    void setPacing(Pacing pacing);   // empty: the clock moves by advance() only
    struct PaceState
    {
        bool playing = false;                 // output pages are played
        std::optional<int64_t> nextEventNs;   // the earliest deadline
        int64_t nowNs = 0;
    };
    // Catches up with real time and reports what the pacer plans from.
    PaceState catchUp();

    // ---- Environment (back door) -------------------------------------------
    // Raw contact at binary input index 0..3; the FPGA debounces it with the
    // time of register 0x8404 before 0x8338 and the action capture see it.
    void setBinaryInput(int index, bool closed);
    bool binaryInput(int index) const;
    // Simulator times (ns) at which the raw contact at binary input index
    // closed / opened, whoever moved it (a relay model or the back door).
    std::vector<int64_t> contactCloseTimes(int index) const;
    std::vector<int64_t> contactOpenTimes(int index) const;
    // Amplifier temperature sensor 0..3 held at degC (any sign; read as the
    // two's-complement word of 0.0625 degC units, rounded toward zero) until
    // released to the thermal model (SimThermal.h): the ambient, 25 degC at
    // power-on, plus what the outputs deliver and the fan takes away.
    void setTemperature(int sensor, double degC);
    void releaseTemperature(int sensor);
    void setAmbientTemperature(double degC);
    // 2-bit state code of sensor 0..3 (register 0x841E).
    void setSensorState(int sensor, int code);
    // Alarm bits raised by the hardware (0x8414 = these | over-temperature bit 2
    // derived from the temperatures and the thresholds 0x8410 / 0x8412).
    void setAlarmBits(uint16_t bits);
    // Fan speed count read at 0x840E; by default the fan follows its set point.
    void setFanSpeedCount(std::optional<uint16_t> count);
    // Energy-meter pulse input as measured: count (0x842A), period (0x8424/6),
    // valid bits (0x8420 bit 0 count, bit 1 period).
    void setPulseInput(uint16_t count, uint32_t period, bool countValid, bool periodValid);
    // FPGA version words 0x800A (high) and 0x800C (low).
    void setFpgaVersion(uint16_t high, uint16_t low);
    // The link check's scratch register 0x815A, stored as given (the rest of
    // the clock block is modelled: use withClockBlock).
    void setClockRegister(uint16_t addr, uint16_t value);
    // The clock block model (0x8100-0x8158, SimClockBlock.h): its back door
    // and observation, run under the instrument's lock.
    void withClockBlock(const std::function<void(SimClockBlock&)>& fn);

    // ---- Test hooks --------------------------------------------------------------
    // hook runs before the instrument answers each read command, with the
    // register it reads, on the thread that sent it and under the
    // instrument's lock: it may use this class (the back door) to change what
    // that read and the later ones see. Empty: none.
    void setReadHook(std::function<void(uint16_t addr)> hook);
    // Ends the page playing now, as its trigger would (the player goes on to
    // the next page, or holds the last); false when no page plays.
    bool endPlayingPage();

    // ---- Output errors (back door) -------------------------------------------
    // What the terminals show differs from the pages by these errors
    // (SimOutputErrors.h); none by default. They stay over a reset.
    void setOutputErrors(const OutputErrors& errors);
    void clearOutputErrors();
    // A meter on the terminals of channel 0..7 now (RMS, DC, frequency, phase
    // behind UA), and on the auxiliary DC output (V, 0 while it is off).
    MeterReading measure(int channel) const;
    double measureAuxDc() const;

    // ---- Faults ------------------------------------------------------------
    void setLinkFault(LinkFault fault, uint64_t frames = 0);
    LinkFault linkFault() const;
    // A start bit of the port's GBLCTL that never reads back set (0 = none).
    void setStuckStartBit(uint32_t gblctlBit);

    // ---- Observation -------------------------------------------------------
    LinkCounters counters() const;
    // Protocol violations of the product's link code: read commands split by
    // another thread, switches to pages whose write is incomplete, unknown
    // addresses, writes to read-only registers, frames before the port started.
    std::vector<ProtocolViolation> violations() const;
    std::string violationText() const;   // one line per violation
    void clearViolations();
    // Frames taken from XBUF0, oldest first (the last 65536 at most).
    std::vector<uint32_t> frames() const;
    void clearFrames();
    void setFrameLogging(bool on);
    // A register or page word as a read would return it, without side effect
    // or violation; write-only registers (0x8344, 0x8434) show their last value.
    uint16_t peekRegister(uint16_t addr) const;
    std::array<uint16_t, kPageWords> pageWords(int page) const;
    PageContent decodedPage(int page) const;
    PlayerStatus playerStatus() const;
    // The outputs being played now (copy).
    PlayedOutputs outputs() const;
    // Port register as the port holds it (offset into McASP0), no side effect.
    uint32_t peekPortRegister(uint32_t offset) const;
    const HardwareConstants& hardware() const;

    // ---- Devices under test ------------------------------------------------
    void plugIn(std::shared_ptr<DutModel> model);
    void unplugAll();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}   // namespace zorsim
