#pragma once

// The instrument's FPGA behind the register link, written from its register
// map and page format. One frame entry decodes each link frame (register
// writes and the read-command triple); reads are answered word by word. A
// read command the link's failure broke off is dropped.
//
// Behaviour (all time from the simulator clock, nothing ticks):
// - Page ring: eight 768-byte pages. Output runs while any run bit (0x833E)
//   is set, starting at the page named by 0x8302. With 0x8300 = 1 the player
//   steps through the ring by itself, each page ending by its trigger, and
//   counts the pages against 0x8304; after the last one bit 15 of the state
//   register is set and the outputs hold. With 0x8300 = 0 a page that ends
//   sets bit 15 and holds until the software switches (0x8302 with bit 15).
// - Page end policy: a time page ends at start + duration ticks; the end
//   instant belongs to the next page (a read at that instant sees it). A
//   binary page ends at its first action, a time-or-binary page at whichever
//   comes first, a key page at the key trigger 0x8344 = 0x1234, a GPS page at
//   the next timed pulse the clock block fires (a pulse fired before the page
//   began does not count; with none armed the page waits, and a pulse armed
//   or moved while it plays is taken at once).
// - Actions: an input edge counts once the input has been stable for the
//   debounce time (0x8404, us) the register holds now: a write times a
//   change still being debounced anew from when it moved. An edge armed by
//   the page's edge word sets the input's code (1 rising, 2 falling, 3 both)
//   in the page's flags; with OR logic every armed edge is an action, with
//   AND logic the edge that completes the set of armed inputs and every
//   later one. An action counts
//   up bits 8-10 (saturating at 7) and stores its time in us since the page
//   start (debounce included), a 32-bit count that wraps as the elapsed
//   ticks of the page playing do. Entering a page clears that page's record
//   only; action flags and a binary page's end appear in the same step.
// - Binary outputs: bit 15 of 0x833C = software control (bits 0-3). Else,
//   while running, the pages drive them, each output on its own: a page's
//   states (bits 0-3 of its binary output word) are what the user set for
//   it. Turn is a delayed change to those states: without turn enable they
//   apply at the page start, with it after the turn time, the output keeping
//   until then the state it had when the page began (all open at the start
//   of a run). Hold is how long they are kept: with hold enable the output
//   returns to that earlier state after the hold time (counted from the
//   change), without it the page's state stays. So turn enabled after 0 s
//   with hold enabled for 36000 s, as the module entities write them, gives
//   the user's states from the page start on. Not running: all open.
// - Power 0x8400 / aux DC 0x8402 take effect on the apply strobe 0x8434.
//   Voltage channels are live with run bit 1 and voltage power, or run bit 4;
//   current channels with run bit 2 and current power, or run bit 4.
// - Temperatures are words of 0.0625 degC from the amplifier thermal model
//   (SimThermal.h): the ambient plus a rise with the power the channels
//   played through each amplifier deliver, smaller the faster the fan turns
//   (0x840E as read). A value set through the back door holds its sensor
//   until released. Once 0x840A is set the over-temperature alarm (bit 2 of
//   0x8414) rises at the alarm threshold and clears when every sensor is
//   below the resume threshold.
// - Energy-meter pulse input (0x8420-0x842A): writing 0x8420 non-zero arms a
//   measurement (count, period and status cleared), 0 disarms it (0x8420
//   then reads 0). The first pulse after arming opens the gate (bit 0, count
//   valid, count 0); each later pulse counts up (saturating at 0xFFFF) and
//   sets the period to the 125 MHz ticks from the gate pulse to this one
//   (0x8424 low, 0x8426 high; saturating at 32 bits). When the count reaches
//   the time-count unit 0x8422 (0 = no limit), bit 1 (period valid) is set
//   and the measurement stops. The setPulseInput back door overrides it.
// - The clock block (0x8100-0x8158) is the SimClockBlock model; 0x815A (the
//   link check's scratch register) is stored as written.
// Protocol faults of the link code are reported through the violation sink.
//
// Every change of the state (a frame, a back-door call, a deadline) ends in
// update(), the one place that recomputes what is derived from it: the
// state, binary input and output, alarm, fan and pulse-input words, and the
// played outputs (the outputsChanged hook fires when they differ).

#include "SimClock.h"
#include "SimClockBlock.h"
#include "SimInstrument.h"
#include "SimMcaspPort.h"
#include "SimPage.h"
#include "SimThermal.h"

#include <array>
#include <bitset>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorsim {

class SimFpga : public FramePeer
{
public:
    struct Hooks
    {
        std::function<void(const std::string&)> violation;
        std::function<void()> outputsChanged;   // the played outputs changed now
        // A read command of the register addr is about to be answered (a
        // test's hook: it may change the state through the back door first).
        std::function<void(uint16_t addr)> readCommand = nullptr;
    };

    SimFpga(SimClock& clock, const HardwareConstants& hw, Hooks hooks);
    // Power-on state: every field assigned, pending deadlines cancelled.
    // The output errors (a property of the terminals) stay.
    void reset();

    void frame(uint32_t word, std::deque<uint16_t>& answer) override;
    // A read command the link broke off is dropped: the next one starts anew.
    void linkFailed() override { state.command = State::Command::Idle; }

    // Back door.
    void setBinaryInput(int index, bool closed);
    bool binaryInput(int index) const { return state.raw.at(index); }
    // A sensor held at a value, until released to the thermal model.
    void setTemperature(int sensor, double degC);
    void releaseTemperature(int sensor);
    void setAmbientTemperature(double degC);
    void setSensorState(int sensor, int code);
    void setAlarmBits(uint16_t bits);
    void setFanSpeedCount(std::optional<uint16_t> count);
    void setPulseInput(uint16_t count, uint32_t period, bool countValid, bool periodValid);
    // One pulse at the energy-meter pulse input, now.
    void pulseInputEdge();
    // Ends the page playing now, as its trigger would; false when none plays.
    bool endPlayingPage();
    void setFpgaVersion(uint16_t high, uint16_t low);
    void setClockRegister(uint16_t addr, uint16_t value);
    SimClockBlock& clockBlock() { return clockModel; }
    // The clock block was changed through its back door: a playing GPS page
    // follows its armed pulse.
    void clockBlockChanged();
    // Output errors of the terminals (SimOutputErrors.h); null = none.
    void setOutputErrors(std::shared_ptr<const OutputErrors> errors);

    // Observation without side effects.
    uint16_t peek(uint16_t addr) const;
    std::array<uint16_t, kPageWords> pageWords(int page) const { return state.pages.at(page); }
    PlayerStatus status() const;
    const PlayedOutputs& outputs() const { return played; }
    // The auxiliary DC output as last applied (0x8434): on (power bit 2) and its set point.
    bool auxDcOn() const { return state.appliedPower & 4; }
    uint16_t auxDcSetPoint() const { return state.appliedAuxDc; }

private:
    struct Action
    {
        uint32_t timeUs = 0;
        uint8_t codes = 0;   // 2 bits per input
        uint8_t count = 0;   // 0..7
        uint16_t flags() const { return static_cast<uint16_t>(codes | (count << 8)); }
    };

    struct State
    {
        std::array<std::array<uint16_t, kPageWords>, kPages> pages{};
        std::array<std::bitset<kPageWords>, kPages> written{};   // words written since the count word

        // Read command decoder.
        enum class Command {
            Idle,
            HaveAddress,
            HaveCount
        } command = Command::Idle;
        uint16_t commandAddr = 0;
        uint16_t commandCount = 0;

        // Registers.
        uint16_t versionHigh = 0x0002;
        uint16_t versionLow = 0x0001;
        std::map<uint16_t, uint16_t> clockBlock;
        uint16_t runMode = 0;
        uint16_t pageSwitch = 0;
        uint16_t stateCount = 0;
        uint16_t boControl = 0;
        uint16_t runBits = 0;
        uint32_t decayStep = 0;
        uint16_t power = 0;
        uint16_t auxDc = 0;
        uint16_t appliedPower = 0;
        uint16_t appliedAuxDc = 0;
        uint32_t dither = 0;
        uint16_t fanFullScale = 0;
        uint16_t hardwareConfigured = 0;
        uint16_t fanSetPoint = 0;
        uint16_t alarmTemperature = 0;
        uint16_t resumeTemperature = 0;
        uint16_t pulseInputEnable = 0;
        uint16_t pulseTimeUnit = 0;
        uint16_t pulseOutputEnable = 0;
        uint16_t pulseOutputPeriodLow = 0;
        uint16_t pulseOutputPeriodHigh = 0;
        uint16_t pulseOutputExtra = 0;
        uint16_t keyTrigger = 0;   // write-only: last value, for peek()
        uint16_t powerApply = 0;   // write-only: last value, for peek()

        // Environment.
        std::array<std::optional<int16_t>, 4> heldTemperatures{};   // back door, 0.0625 degC
        int64_t thermalNs = 0;                                      // the thermal model is brought up to here
        uint16_t sensorStates = 0;
        uint16_t hardwareAlarms = 0;
        bool overTemperature = false;   // latched between the thresholds (kept by update())
        std::optional<uint16_t> fanCount;
        uint16_t pulseCount = 0;
        uint32_t pulsePeriod = 0;
        uint16_t pulseStatus = 0;
        bool pulseMeasuring = false;   // armed and not yet complete
        int64_t pulseGateNs = -1;      // the pulse that opened the gate

        // Binary inputs: raw contacts, debounced view, pending debounce.
        std::array<bool, 4> raw{};
        std::array<bool, 4> debounced{};
        std::array<SimClock::EventId, 4> debounceEvent{};
        std::array<int64_t, 4> movedNs{};   // when a change being debounced moved

        // Player.
        bool running = false;
        int page = 0;
        uint32_t pageEntries = 0;   // pages entered since power-on
        int64_t pageStartNs = 0;
        int64_t holdFromNs = std::numeric_limits<int64_t>::max();
        bool pageEnded = false;
        uint32_t statesPlayed = 0;
        PageContent current;
        SimClock::EventId endEvent = 0;
        std::vector<SimClock::EventId> boEvents;
        std::array<bool, 4> pageBo{};         // the outputs as the pages drive them now
        std::array<bool, 4> boBeforeTurn{};   // as they were when the page began
        std::array<Action, kPages> actions{};
        std::array<uint32_t, kPages> playedUs{};   // of each page the ring left, until it left (32 bits)
        uint8_t andSeen = 0;
    };

    // What update() derives from State; nothing else writes it.
    struct Derived
    {
        uint16_t stateWord = 0;                  // page, last-state bit
        uint16_t binaryInputs = 0;               // debounced contacts
        uint16_t binaryOutputs = 0;              // software control or the page
        std::array<int16_t, 4> temperatures{};   // 0.0625 degC
        uint16_t alarms = 0;                     // hardware bits and the over-temperature bit
        uint16_t fanSpeed = 0;
        uint16_t pulseInput = 0;   // status while enabled
    };

    // What the played outputs are built from: they are rebuilt (and the
    // hook told) only when this changes.
    struct OutputsKey
    {
        bool running = false;
        int page = 0;
        uint32_t pageEntries = 0;
        int64_t pageStartNs = 0;
        int64_t holdFromNs = 0;
        uint32_t decayStep = 0;
        uint16_t runBits = 0;
        uint16_t appliedPower = 0;
        const OutputErrors* errors = nullptr;
        bool operator==(const OutputsKey& o) const;
    };

    void fail(const std::string& text) const { hooks.violation(text); }
    // A deadline of the model: fn, then update().
    SimClock::EventId at(int64_t atNs, std::function<void()> fn);

    void takeFrame(uint32_t word, std::deque<uint16_t>& answer);

    // Register file.
    bool value(uint16_t addr, uint16_t& out) const;   // false: not readable
    uint16_t readRegister(uint16_t addr);
    void writeRegister(uint16_t addr, uint16_t data);
    void writePageWord(uint16_t addr, uint16_t data);
    void answerReadCommand(std::deque<uint16_t>& answer);

    // Player.
    bool pageComplete(int page, std::string& missing) const;
    void setRunBits(uint16_t bits);
    void enterPage(int page);
    void endPage();
    void scheduleEnd();
    // A GPS/IRIG-B page ends at the next timed pulse of the clock block:
    // (re)schedules its end at the armed pulse, or none while none is armed.
    void schedulePulseEnd();
    void scheduleBinaryOutputs();
    void cancelPageEvents();
    void moveContact(int index, bool closed);
    // Confirms an input's change once stable for the debounce the register
    // holds now (at once when it has been already), replacing its deadline.
    void armDebounce(int index);
    void confirmInput(int index);
    void countPulse();
    void captureEdge(int index, bool rising);
    uint32_t elapsedTicks() const;
    // The microseconds the page playing has played so far, its hold
    // included (a 32-bit count, to the nearest).
    uint32_t playedUs() const;
    // The ring leaves the page playing for page p.
    void leaveFor(int p);

    // Derived state, recomputed in one place.
    void update();
    // The thermal model brought to now under the outputs and fan played since.
    void advanceThermal();
    void updateOutputs();

    int64_t ticksToNs(uint64_t ticks) const;

    SimClock& clock;
    HardwareConstants hw;
    Hooks hooks;
    State state;
    Derived derived;
    PlayedOutputs played;
    std::optional<OutputsKey> playedKey;   // none: rebuild at the next update
    SimClockBlock clockModel;
    std::shared_ptr<const OutputErrors> outputErrors;
    SimThermal thermal;   // its ambient, like the output errors, stays over a reset
};

}   // namespace zorsim
