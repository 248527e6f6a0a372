#include "SimFpga.h"

#include "SimFpgaRegisters.h"
#include "SimText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorsim {

namespace {
constexpr int kTemperatureSensors = 4;
constexpr double kTemperatureUnit = 0.0625;
constexpr uint16_t kOverTemperatureBit = 0x0004;

// Words of a page that a complete write covers, for a record count.
bool requiredWord(int word, int recordCount)
{
    if (word <= 7 * recordCount)
        return true;
    return word >= page::kRangeBits / 2 && word < page::kEnd / 2;
}
}   // namespace

SimFpga::SimFpga(SimClock& simClock, const HardwareConstants& constants, Hooks h)
    : clock(simClock)
    , hw(constants)
    , hooks(std::move(h))
    , clockModel([this] { return clock.now(); }, [this](const std::string& t) { fail(t); })
{
    reset();
}

void SimFpga::reset()
{
    // The pending deadlines first: they act on the state being replaced.
    cancelPageEvents();
    for (SimClock::EventId id : state.debounceEvent)
        if (id != 0)
            clock.cancel(id);
    state = State();
    state.thermalNs = clock.now();
    thermal.reset();
    derived = Derived();
    played = PlayedOutputs();
    playedKey.reset();
    clockModel.reset();
    update();
}

SimClock::EventId SimFpga::at(int64_t atNs, std::function<void()> fn)
{
    return clock.schedule(atNs, [this, fn = std::move(fn)] {
        fn();
        update();
    });
}

int64_t SimFpga::ticksToNs(uint64_t ticks) const
{
    return static_cast<int64_t>(std::llround(static_cast<double>(ticks) * 1e9 / hw.tickRate));
}

// ---- Frames --------------------------------------------------------------------

void SimFpga::frame(uint32_t word, std::deque<uint16_t>& answer)
{
    if (clock.now() != state.thermalNs)
        update();   // reads see the temperatures of now
    takeFrame(word, answer);
    update();
}

void SimFpga::takeFrame(uint32_t word, std::deque<uint16_t>& answer)
{
    const uint16_t addr = static_cast<uint16_t>(word >> 16);
    const uint16_t data = static_cast<uint16_t>(word & 0xFFFF);
    using Command = State::Command;

    if (addr == reg::kReadAddr) {
        if (state.command != Command::Idle)
            fail(strf("read command restarted before its trigger (frame 0x%08x)", word));
        state.command = Command::HaveAddress;
        state.commandAddr = data;
        return;
    }
    if (addr == reg::kReadCount) {
        if (state.command != Command::HaveAddress) {
            fail(strf("read count frame 0x%08x without a read address", word));
            state.command = Command::Idle;
            return;
        }
        state.command = Command::HaveCount;
        state.commandCount = data;
        return;
    }
    if (addr == reg::kReadTrigger) {
        if (state.command != Command::HaveCount) {
            fail(strf("read trigger frame 0x%08x without address and count", word));
            state.command = Command::Idle;
            return;
        }
        state.command = Command::Idle;
        if (data != reg::kReadMagic) {
            fail(strf("read trigger 0x%04x is not 0x1234", data));
            return;
        }
        if (hooks.readCommand)
            hooks.readCommand(state.commandAddr);
        answerReadCommand(answer);
        return;
    }
    if (state.command != Command::Idle) {
        fail(strf("read command for 0x%04x interrupted by frame 0x%08x", state.commandAddr, word));
        state.command = Command::Idle;
    }
    writeRegister(addr, data);
}

void SimFpga::answerReadCommand(std::deque<uint16_t>& answer)
{
    const uint32_t first = state.commandAddr;
    const uint32_t count = state.commandCount;
    if (count == 0) {
        fail(strf("read command for 0x%04x asks for 0 words", first));
        return;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t addr = first + 2 * i;
        if (addr > 0xFFFF) {
            fail(strf("read command for 0x%04x x %u runs past the address space", first, count));
            return;
        }
        answer.push_back(readRegister(static_cast<uint16_t>(addr)));
    }
}

// ---- Register file ------------------------------------------------------------

bool SimFpga::value(uint16_t addr, uint16_t& out) const
{
    out = 0;
    if (addr < reg::kPageMemoryEnd) {
        out = state.pages[addr / kPageBytes][(addr % kPageBytes) / 2];
        return true;
    }
    if (SimClockBlock::covers(addr)) {
        out = clockModel.peek(addr);
        return SimClockBlock::readable(addr);
    }
    if (addr >= reg::kClockBlockFirst && addr <= reg::kClockBlockLast) {
        auto it = state.clockBlock.find(addr);
        out = it == state.clockBlock.end() ? 0 : it->second;
        return true;
    }
    if (addr >= reg::kActionFirst && addr <= reg::kActionLast) {
        const int offset = addr - reg::kActionFirst;
        const Action& a = state.actions[offset / 6];
        switch (offset % 6) {
        case 0: out = static_cast<uint16_t>(a.timeUs & 0xFFFF); break;
        case 2: out = static_cast<uint16_t>(a.timeUs >> 16); break;
        default: out = a.flags(); break;
        }
        return true;
    }
    if (addr >= reg::kPlayedFirst && addr <= reg::kPlayedLast) {
        const int offset = addr - reg::kPlayedFirst;
        const int p = offset / 4;
        const uint32_t us = state.running && p == state.page ? playedUs() : state.playedUs[p];
        out = static_cast<uint16_t>(offset % 4 == 0 ? us & 0xFFFF : us >> 16);
        return true;
    }
    if (addr >= reg::kTemperatureFirst && addr < reg::kTemperatureFirst + 2 * kTemperatureSensors) {
        out = static_cast<uint16_t>(derived.temperatures[(addr - reg::kTemperatureFirst) / 2]);
        return true;
    }
    switch (addr) {
    case reg::kVersionHigh: out = state.versionHigh; return true;
    case reg::kVersionLow: out = state.versionLow; return true;
    case reg::kRunMode: out = state.runMode; return true;
    case reg::kPageSwitch: out = state.pageSwitch; return true;
    case reg::kStateCount: out = state.stateCount; return true;
    case reg::kState: out = derived.stateWord; return true;
    case reg::kBinaryInputs: out = derived.binaryInputs; return true;
    case reg::kBinaryOutputsRead: out = derived.binaryOutputs; return true;
    case reg::kBinaryOutputsSet: out = state.boControl; return true;
    case reg::kRunBits: out = state.runBits; return true;
    case reg::kDecayStep: out = static_cast<uint16_t>(state.decayStep & 0xFFFF); return true;
    case reg::kDecayStep + 2: out = static_cast<uint16_t>(state.decayStep >> 16); return true;
    case reg::kPower: out = state.power; return true;
    case reg::kAuxDc: out = state.auxDc; return true;
    case reg::kDither: out = static_cast<uint16_t>(state.dither & 0xFFFF); return true;
    case reg::kDither + 2: out = static_cast<uint16_t>(state.dither >> 16); return true;
    case reg::kFanFullScale: out = state.fanFullScale; return true;
    case reg::kHardwareConfigured: out = state.hardwareConfigured; return true;
    case reg::kFanSetPoint: out = state.fanSetPoint; return true;
    case reg::kFanSpeed: out = derived.fanSpeed; return true;
    case reg::kAlarmTemperature: out = state.alarmTemperature; return true;
    case reg::kResumeTemperature: out = state.resumeTemperature; return true;
    case reg::kAlarms: out = derived.alarms; return true;
    case reg::kSensorStates: out = state.sensorStates; return true;
    case reg::kPulseInput: out = derived.pulseInput; return true;
    case reg::kPulseTimeUnit: out = state.pulseTimeUnit; return true;
    case reg::kPulsePeriodLow: out = static_cast<uint16_t>(state.pulsePeriod & 0xFFFF); return true;
    case reg::kPulsePeriodHigh: out = static_cast<uint16_t>(state.pulsePeriod >> 16); return true;
    case reg::kPulseSpare: out = 0; return true;
    case reg::kPulseCount: out = state.pulseCount; return true;
    case reg::kPulseOutputEnable: out = state.pulseOutputEnable; return true;
    case reg::kPulseOutputPeriodLow: out = state.pulseOutputPeriodLow; return true;
    case reg::kPulseOutputPeriodHigh: out = state.pulseOutputPeriodHigh; return true;
    case reg::kPulseOutputExtra: out = state.pulseOutputExtra; return true;
    case reg::kElapsedPage0:
    case reg::kElapsedOther: out = static_cast<uint16_t>(elapsedTicks() & 0xFFFF); return true;
    case reg::kElapsedPage0 + 2:
    case reg::kElapsedOther + 2: out = static_cast<uint16_t>(elapsedTicks() >> 16); return true;
    default: return false;
    }
}

uint16_t SimFpga::peek(uint16_t addr) const
{
    // Write-only registers show their last value here, never to the link.
    if (addr == reg::kKeyTrigger)
        return state.keyTrigger;
    if (addr == reg::kPowerApply)
        return state.powerApply;
    uint16_t out = 0;
    value(addr, out);
    return out;
}

uint16_t SimFpga::readRegister(uint16_t addr)
{
    if (addr & 1) {
        fail(strf("read of odd address 0x%04x", addr));
        return 0;
    }
    if (SimClockBlock::covers(addr))
        return clockModel.read(addr);
    uint16_t out = 0;
    if (value(addr, out))
        return out;
    if (addr == reg::kKeyTrigger || addr == reg::kPowerApply)
        fail(strf("read of write-only register 0x%04x", addr));
    else
        fail(strf("read of unknown address 0x%04x", addr));
    return 0;
}

void SimFpga::writeRegister(uint16_t addr, uint16_t data)
{
    if (addr & 1) {
        fail(strf("write of odd address 0x%04x", addr));
        return;
    }
    if (addr < reg::kPageMemoryEnd) {
        writePageWord(addr, data);
        return;
    }
    if (SimClockBlock::covers(addr)) {
        clockModel.write(addr, data);
        clockBlockChanged();
        return;
    }
    if (addr >= reg::kClockBlockFirst && addr <= reg::kClockBlockLast) {
        state.clockBlock[addr] = data;
        return;
    }
    switch (addr) {
    case reg::kRunMode: state.runMode = data; return;
    case reg::kPageSwitch:
        state.pageSwitch = data;
        if ((data & reg::kSoftwareSwitchBit) && state.running && state.runMode == 0)
            leaveFor(data & 7);
        return;
    case reg::kStateCount: state.stateCount = data; return;
    case reg::kBinaryOutputsSet: state.boControl = data; return;
    case reg::kRunBits: setRunBits(data); return;
    case reg::kDecayStep: state.decayStep = (state.decayStep & 0xFFFF0000u) | data; return;
    case reg::kDecayStep + 2:
        state.decayStep = (state.decayStep & 0xFFFFu) | (static_cast<uint32_t>(data) << 16);
        return;
    case reg::kKeyTrigger:
        state.keyTrigger = data;
        if (data != 0x1234) {
            fail(strf("key trigger written with 0x%04x", data));
            return;
        }
        if (state.running && !state.pageEnded && state.current.trigger() == TriggerType::KeyPress)
            endPage();
        return;
    case reg::kPower: state.power = data; return;
    case reg::kAuxDc: state.auxDc = data; return;
    case reg::kPowerApply:
        state.powerApply = data;
        state.appliedPower = state.power;
        state.appliedAuxDc = state.auxDc;
        return;
    case reg::kDither:
    case reg::kDither + 2:
        state.dither = addr == reg::kDither ? (state.dither & 0xFFFF0000u) | data
                                            : (state.dither & 0xFFFFu) | (static_cast<uint32_t>(data) << 16);
        for (int i = 0; i < 4; ++i) {
            if (state.debounceEvent[i] != 0)
                armDebounce(i);
        }
        return;
    case reg::kFanFullScale: state.fanFullScale = data; return;
    case reg::kHardwareConfigured: state.hardwareConfigured = data; return;
    case reg::kFanSetPoint: state.fanSetPoint = data; return;
    case reg::kAlarmTemperature: state.alarmTemperature = data; return;
    case reg::kResumeTemperature: state.resumeTemperature = data; return;
    case reg::kPulseInput:
        state.pulseInputEnable = data;
        if (data != 0) {
            state.pulseCount = 0;
            state.pulsePeriod = 0;
            state.pulseStatus = 0;
            state.pulseMeasuring = true;
            state.pulseGateNs = -1;
        }
        return;
    case reg::kPulseTimeUnit: state.pulseTimeUnit = data; return;
    case reg::kPulseOutputEnable: state.pulseOutputEnable = data; return;
    case reg::kPulseOutputPeriodLow: state.pulseOutputPeriodLow = data; return;
    case reg::kPulseOutputPeriodHigh: state.pulseOutputPeriodHigh = data; return;
    case reg::kPulseOutputExtra: state.pulseOutputExtra = data; return;
    default: {
        uint16_t ignored = 0;
        if (value(addr, ignored))
            fail(strf("write of read-only register 0x%04x = 0x%04x", addr, data));
        else
            fail(strf("write of unknown address 0x%04x = 0x%04x", addr, data));
        return;
    }
    }
}

void SimFpga::writePageWord(uint16_t addr, uint16_t data)
{
    const int p = addr / kPageBytes;
    const int w = (addr % kPageBytes) / 2;
    state.pages[p][w] = data;
    if (w == page::kCount / 2)
        state.written[p].reset();   // the count word opens a new write of the page
    state.written[p].set(w);
}

bool SimFpga::pageComplete(int p, std::string& missing) const
{
    const uint16_t count = state.pages[p][0];
    if (!state.written[p].test(0)) {
        missing = "its record count was never written";
        return false;
    }
    if (count != 8 && count != 16 && count != 32) {
        missing = strf("its record count is %u", count);
        return false;
    }
    for (int w = 0; w < kPageWords; ++w) {
        if (requiredWord(w, count) && !state.written[p].test(w)) {
            missing = strf("byte offset %d was not written", 2 * w);
            return false;
        }
    }
    return true;
}

// ---- Player -------------------------------------------------------------------

void SimFpga::setRunBits(uint16_t bits)
{
    const bool wasRunning = state.running;
    state.runBits = bits & 0x7;
    if (bits & ~0x7u)
        fail(strf("run bits 0x%04x carry unknown bits", bits));
    if (!wasRunning && state.runBits != 0) {
        state.running = true;
        state.statesPlayed = 0;
        state.pageBo = {};   // open until the first page drives them
        enterPage(state.pageSwitch & 7);
        return;
    }
    if (wasRunning && state.runBits == 0) {
        state.playedUs[state.page] = playedUs();
        state.running = false;
        cancelPageEvents();
        state.holdFromNs = clock.now();
    }
}

void SimFpga::cancelPageEvents()
{
    if (state.endEvent != 0)
        clock.cancel(state.endEvent);
    state.endEvent = 0;
    for (SimClock::EventId id : state.boEvents)
        clock.cancel(id);
    state.boEvents.clear();
}

void SimFpga::leaveFor(int p)
{
    state.playedUs[state.page] = playedUs();
    enterPage(p);
}

void SimFpga::enterPage(int p)
{
    std::string missing;
    if (!pageComplete(p, missing))
        fail(strf("switch to page %d whose write is incomplete: ", p) + missing);
    cancelPageEvents();
    state.page = p;
    ++state.pageEntries;
    state.pageStartNs = clock.now();
    state.holdFromNs = std::numeric_limits<int64_t>::max();
    state.pageEnded = false;
    state.actions[p] = Action();
    state.andSeen = 0;
    state.current = decodePage(state.pages[p].data(), hw);
    for (const std::string& problem : state.current.problems)
        fail(strf("page %d: ", p) + problem);
    scheduleEnd();
    scheduleBinaryOutputs();
}

void SimFpga::scheduleEnd()
{
    const int64_t start = state.pageStartNs;
    switch (state.current.trigger()) {
    case TriggerType::Time:
    case TriggerType::TimeOrBinary:
        state.endEvent = at(start + ticksToNs(state.current.durationTicks), [this] {
            state.endEvent = 0;
            endPage();
        });
        break;
    case TriggerType::Gps: schedulePulseEnd(); break;
    case TriggerType::Binary:
    case TriggerType::KeyPress:
    default: break;
    }
}

void SimFpga::schedulePulseEnd()
{
    if (state.endEvent != 0) {
        clock.cancel(state.endEvent);
        state.endEvent = 0;
    }
    const std::optional<int64_t> pulse = clockModel.pendingPulseNs();
    if (!pulse)
        return;
    state.endEvent = at(*pulse, [this] {
        state.endEvent = 0;
        clockModel.pendingPulseNs();   // the pulse fires now
        endPage();
    });
}

void SimFpga::clockBlockChanged()
{
    if (state.running && !state.pageEnded && state.current.trigger() == TriggerType::Gps)
        schedulePulseEnd();
}

void SimFpga::scheduleBinaryOutputs()
{
    const PageContent& pc = state.current;
    state.boBeforeTurn = state.pageBo;
    for (int i = 0; i < 4; ++i) {
        int64_t when = state.pageStartNs;
        if (pc.boTurnEnable[i])
            when += static_cast<int64_t>(pc.boTurnUs[i]) * 1000;
        if (when > clock.now())
            state.boEvents.push_back(at(when, [this, i] { state.pageBo[i] = state.current.boInit[i]; }));
        else
            state.pageBo[i] = pc.boInit[i];
        if (pc.boHoldEnable[i]) {
            when += static_cast<int64_t>(pc.boHoldUs[i]) * 1000;
            state.boEvents.push_back(at(when, [this, i] { state.pageBo[i] = state.boBeforeTurn[i]; }));
        }
    }
}

bool SimFpga::endPlayingPage()
{
    if (!state.running || state.pageEnded)
        return false;
    endPage();
    update();
    return true;
}

void SimFpga::endPage()
{
    if (!state.running || state.pageEnded)
        return;
    if (state.endEvent != 0) {
        clock.cancel(state.endEvent);
        state.endEvent = 0;
    }
    ++state.statesPlayed;
    if (state.runMode == 1) {
        const uint32_t last = std::max<uint32_t>(state.stateCount, 1);
        if (state.statesPlayed < last) {
            leaveFor((state.page + 1) % kPages);
            return;
        }
    }
    state.pageEnded = true;
    state.holdFromNs = clock.now();
}

uint32_t SimFpga::playedUs() const
{
    const int64_t ns = clock.now() - state.pageStartNs;
    return ns <= 0 ? 0 : static_cast<uint32_t>(static_cast<uint64_t>((ns + 500) / 1000));
}

uint32_t SimFpga::elapsedTicks() const
{
    if (!state.running && state.holdFromNs == std::numeric_limits<int64_t>::max())
        return 0;
    const int64_t end = std::min(clock.now(), state.holdFromNs);
    // A 32-bit count of ticks: it wraps (after 42.6 h at 28 kHz).
    const double ticks = std::floor((end - state.pageStartNs) * hw.tickRate / 1e9);
    return ticks <= 0 ? 0 : static_cast<uint32_t>(static_cast<uint64_t>(ticks));
}

// ---- Binary inputs and actions --------------------------------------------------

void SimFpga::setBinaryInput(int index, bool closed)
{
    if (index < 0 || index >= 4) {
        fail(strf("binary input %d does not exist", index));
        return;
    }
    if (state.raw[index] == closed)
        return;
    moveContact(index, closed);
    update();
}

void SimFpga::moveContact(int index, bool closed)
{
    state.raw[index] = closed;
    if (state.debounceEvent[index] != 0) {
        clock.cancel(state.debounceEvent[index]);
        state.debounceEvent[index] = 0;
    }
    if (closed == state.debounced[index])
        return;   // back where it was before the debounce time ran out: no edge
    state.movedNs[index] = clock.now();
    armDebounce(index);
}

void SimFpga::armDebounce(int index)
{
    if (state.debounceEvent[index] != 0) {
        clock.cancel(state.debounceEvent[index]);
        state.debounceEvent[index] = 0;
    }
    const int64_t due = state.movedNs[index] + static_cast<int64_t>(state.dither) * 1000;
    if (due <= clock.now()) {
        confirmInput(index);
        return;
    }
    state.debounceEvent[index] = at(due, [this, index] {
        state.debounceEvent[index] = 0;
        confirmInput(index);
    });
}

void SimFpga::confirmInput(int index)
{
    const bool rising = state.raw[index];
    state.debounced[index] = rising;
    if (state.running)
        captureEdge(index, rising);
}

void SimFpga::captureEdge(int index, bool rising)
{
    const PageContent& pc = state.current;
    if (!(rising ? pc.biRise(index) : pc.biFall(index)))
        return;
    Action& action = state.actions[state.page];
    action.codes |= static_cast<uint8_t>((rising ? 1 : 2) << (2 * index));
    if (pc.biAnd()) {
        state.andSeen |= static_cast<uint8_t>(1u << index);
        uint8_t armed = 0;
        for (int i = 0; i < 4; ++i)
            armed |= (pc.biRise(i) || pc.biFall(i)) ? (1u << i) : 0u;
        if ((state.andSeen & armed) != armed)
            return;
    }
    action.count = static_cast<uint8_t>(std::min(action.count + 1, 7));
    // A 32-bit microsecond count: it wraps after 4294.967296 s.
    const int64_t us = (clock.now() - state.pageStartNs) / 1000;
    action.timeUs = static_cast<uint32_t>(static_cast<uint64_t>(us));
    const TriggerType trigger = pc.trigger();
    if (trigger == TriggerType::Binary || trigger == TriggerType::TimeOrBinary)
        endPage();
}

// ---- Environment -------------------------------------------------------------------

void SimFpga::setTemperature(int sensor, double degC)
{
    if (sensor < 0 || sensor >= kTemperatureSensors)
        return;
    const double units = std::trunc(degC / kTemperatureUnit);
    state.heldTemperatures[sensor] = static_cast<int16_t>(std::clamp(units, -32768.0, 32767.0));
    update();
}

void SimFpga::releaseTemperature(int sensor)
{
    if (sensor < 0 || sensor >= kTemperatureSensors)
        return;
    state.heldTemperatures[sensor].reset();
    update();
}

void SimFpga::setAmbientTemperature(double degC)
{
    advanceThermal();
    thermal.setAmbient(degC);
    update();
}

void SimFpga::setSensorState(int sensor, int code)
{
    if (sensor < 0 || sensor >= kTemperatureSensors)
        return;
    state.sensorStates = static_cast<uint16_t>((state.sensorStates & ~(3u << (2 * sensor)))
                                               | ((code & 3u) << (2 * sensor)));
    update();
}

void SimFpga::setAlarmBits(uint16_t bits)
{
    state.hardwareAlarms = bits;
    update();
}

void SimFpga::setFanSpeedCount(std::optional<uint16_t> count)
{
    state.fanCount = count;
    update();
}

void SimFpga::setPulseInput(uint16_t count, uint32_t period, bool countValid, bool periodValid)
{
    state.pulseCount = count;
    state.pulsePeriod = period;
    state.pulseStatus = static_cast<uint16_t>((countValid ? 1 : 0) | (periodValid ? 2 : 0));
    state.pulseMeasuring = false;
    update();
}

void SimFpga::pulseInputEdge()
{
    if (state.pulseInputEnable == 0 || !state.pulseMeasuring)
        return;
    countPulse();
    update();
}

void SimFpga::countPulse()
{
    const int64_t now = clock.now();
    if (state.pulseGateNs < 0) {
        state.pulseGateNs = now;
        state.pulseStatus |= 1;
        return;
    }
    // The period counter runs at 125 MHz: 8 ns per tick.
    const int64_t ticks = now / 8 - state.pulseGateNs / 8;
    state.pulsePeriod = static_cast<uint32_t>(std::min<int64_t>(ticks, 0xFFFFFFFF));
    if (state.pulseCount < 0xFFFF)
        ++state.pulseCount;
    if (state.pulseTimeUnit != 0 && state.pulseCount >= state.pulseTimeUnit) {
        state.pulseStatus |= 2;
        state.pulseMeasuring = false;
    }
}

void SimFpga::setFpgaVersion(uint16_t high, uint16_t low)
{
    state.versionHigh = high;
    state.versionLow = low;
    update();
}

void SimFpga::setClockRegister(uint16_t addr, uint16_t data)
{
    if (addr < reg::kClockBlockFirst || addr > reg::kClockBlockLast || (addr & 1)) {
        fail(strf("0x%04x is not a clock block register", addr));
        return;
    }
    if (SimClockBlock::covers(addr)) {
        fail(strf("0x%04x is modelled by the clock block: set it through its back door", addr));
        return;
    }
    state.clockBlock[addr] = data;
    update();
}

// ---- Derived state -------------------------------------------------------------------

void SimFpga::advanceThermal()
{
    const int64_t now = clock.now();
    if (now <= state.thermalNs)
        return;
    // The outputs and the fan as they were over the interval (update() has
    // not rebuilt them yet); ramps are taken at its middle.
    const int64_t middle = state.thermalNs + (now - state.thermalNs) / 2;
    std::array<double, 2> loads{};
    for (int c = 0; played.running && c < kChannels; ++c) {
        if (!played.live[c] || played.lowLevel[c])
            continue;
        const double fullScale = c < 4 ? hw.voltageFullScale : hw.currentFullScale;
        for (int k = 0; k < played.page.componentsPerChannel; ++k) {
            const double share = played.amplitude(c, k, middle) / fullScale;
            loads[c < 4 ? SimThermal::Voltage : SimThermal::Current] += share * share;
        }
    }
    const double duty = state.fanFullScale ? double(derived.fanSpeed) / state.fanFullScale : 0.0;
    thermal.advance((now - state.thermalNs) / 1e9, loads, duty);
    state.thermalNs = now;
}

void SimFpga::update()
{
    advanceThermal();
    for (int s = 0; s < kTemperatureSensors; ++s) {
        const double units = std::trunc(thermal.temperature(s) / kTemperatureUnit);
        derived.temperatures[s] = state.heldTemperatures[s]
            ? *state.heldTemperatures[s]
            : static_cast<int16_t>(std::clamp(units, -32768.0, 32767.0));
    }

    // Over-temperature: rises at the alarm threshold and clears once every
    // sensor is below the resume threshold; in between it holds.
    if (!state.hardwareConfigured) {
        state.overTemperature = false;
    } else {
        int16_t hottest = std::numeric_limits<int16_t>::min();
        for (int16_t t : derived.temperatures)
            hottest = std::max(hottest, t);
        if (hottest >= static_cast<int>(state.alarmTemperature))
            state.overTemperature = true;
        else if (hottest < static_cast<int>(state.resumeTemperature))
            state.overTemperature = false;
    }
    derived.alarms = static_cast<uint16_t>(state.hardwareAlarms | (state.overTemperature ? kOverTemperatureBit : 0));

    derived.stateWord = static_cast<uint16_t>(state.page | (state.pageEnded ? reg::kStateLastBit : 0));
    derived.binaryInputs = 0;
    uint16_t pageOutputs = 0;
    for (int i = 0; i < 4; ++i) {
        derived.binaryInputs |= state.debounced[i] ? (1u << i) : 0u;
        pageOutputs |= state.pageBo[i] ? (1u << i) : 0u;
    }
    if (state.boControl & reg::kBoSoftwareBit)
        derived.binaryOutputs = state.boControl & 0xF;
    else
        derived.binaryOutputs = state.running ? pageOutputs : 0;
    derived.fanSpeed = state.fanCount ? *state.fanCount : state.fanSetPoint;
    derived.pulseInput = state.pulseInputEnable ? state.pulseStatus : 0;

    updateOutputs();
}

bool SimFpga::OutputsKey::operator==(const OutputsKey& o) const
{
    return running == o.running && page == o.page && pageEntries == o.pageEntries && pageStartNs == o.pageStartNs
        && holdFromNs == o.holdFromNs && decayStep == o.decayStep && runBits == o.runBits
        && appliedPower == o.appliedPower && errors == o.errors;
}

void SimFpga::updateOutputs()
{
    const OutputsKey key{state.running,   state.page,    state.pageEntries,  state.pageStartNs, state.holdFromNs,
                         state.decayStep, state.runBits, state.appliedPower, outputErrors.get()};
    if (playedKey && *playedKey == key)
        return;
    playedKey = key;
    played.running = state.running;
    played.hw = hw;
    played.pageIndex = state.page;
    played.page = state.current;
    played.pageStartNs = state.pageStartNs;
    played.holdFromNs = state.holdFromNs;
    played.dcDecayTau = dcDecayTauSeconds(static_cast<int32_t>(state.decayStep));
    const uint16_t run = state.runBits;
    const bool voltage = (run & 4) || ((run & 1) && (state.appliedPower & 1));
    const bool current = (run & 4) || ((run & 2) && (state.appliedPower & 2));
    for (int c = 0; c < kChannels; ++c)
        played.live[c] = state.running && (c < 4 ? voltage : current);
    const bool voltageAmplifier = (run & 1) && (state.appliedPower & 1);
    const bool currentAmplifier = (run & 2) && (state.appliedPower & 2);
    for (int c = 0; c < kChannels; ++c)
        played.lowLevel[c] = played.live[c] && !(c < 4 ? voltageAmplifier : currentAmplifier);
    played.errors = outputErrors;
    if (hooks.outputsChanged)
        hooks.outputsChanged();
}

void SimFpga::setOutputErrors(std::shared_ptr<const OutputErrors> errors)
{
    outputErrors = std::move(errors);
    update();
}

PlayerStatus SimFpga::status() const
{
    PlayerStatus s;
    s.running = state.running;
    s.autoStep = state.runMode == 1;
    s.currentPage = state.page;
    s.stateWord = derived.stateWord;
    s.pageEnded = state.pageEnded;
    s.statesPlayed = state.statesPlayed;
    s.stateCount = state.stateCount;
    s.pageStartNs = state.pageStartNs;
    return s;
}

}   // namespace zorsim
