#include "SimClockBlock.h"

#include "SimText.h"

#include <ctime>
#include <utility>

namespace zorsim {

namespace {

constexpr int64_t kSecondNs = 1000000000;

int64_t floorDiv(int64_t a, int64_t b)
{
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

int64_t floorMod(int64_t a, int64_t b)
{
    return a - floorDiv(a, b) * b;
}

uint16_t bcd(int value, int digits)
{
    uint16_t word = 0;
    for (int i = 0; i < digits; ++i) {
        word = static_cast<uint16_t>(word | ((value % 10) << (4 * i)));
        value /= 10;
    }
    return word;
}

uint16_t low(uint32_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
uint16_t high(uint32_t v) { return static_cast<uint16_t>(v >> 16); }
uint32_t withLow(uint32_t v, uint16_t half) { return (v & 0xFFFF0000u) | half; }
uint32_t withHigh(uint32_t v, uint16_t half) { return (v & 0x0000FFFFu) | (uint32_t(half) << 16); }

bool inIrigbIn(uint16_t addr) { return addr >= clockreg::kIrigbIn && addr <= clockreg::kIrigbInLast; }
bool inIrigbOut(uint16_t addr) { return addr >= clockreg::kIrigbOut && addr <= clockreg::kIrigbOutLast; }

} // namespace

SimClockBlock::SimClockBlock(TimeSource now, ViolationSink sink)
    : clock(std::move(now)), violation(std::move(sink))
{
    reset();
}

void SimClockBlock::reset()
{
    s = State();
}

void SimClockBlock::report(const std::string& text) const
{
    if (violation)
        violation(text);
}

bool SimClockBlock::readable(uint16_t addr)
{
    using namespace clockreg;
    if (addr & 1)
        return false;
    if (inIrigbIn(addr) || inIrigbOut(addr))
        return true;
    switch (addr) {
    case kRefSelect:
    case kRefStateHigh:
    case kRefStateLow:
    case kCountsPerSecond:
    case kCountsPerSecond + 2:
    case kSyncState:
    case kLoadTime:
    case kLoadTime + 2:
    case kLatchedSub:
    case kLatchedSub + 2:
    case kLatchedSeconds:
    case kLatchedSeconds + 2:
    case kPpxArm:
    case kPpxTime:
    case kPpxTime + 2:
    case kPpxPretrigger:
    case kTrigger:
        return true;
    default:
        return false;
    }
}

bool SimClockBlock::writable(uint16_t addr)
{
    using namespace clockreg;
    if (addr & 1)
        return false;
    if (inIrigbOut(addr))
        return true;
    switch (addr) {
    case kRefSelect:
    case kLoad:
    case kLoadTime:
    case kLoadTime + 2:
    case kLatch:
    case kPpxArm:
    case kPpxTime:
    case kPpxTime + 2:
    case kPpxPretrigger:
    case kTrigger:
        return true;
    default:
        return false;
    }
}

// ---- Time ---------------------------------------------------------------------

int64_t SimClockBlock::subsecondNs(int64_t atNs) const
{
    return floorMod(atNs - s.baseNs, kSecondNs);
}

uint32_t SimClockBlock::fpgaSeconds() const
{
    return static_cast<uint32_t>(int64_t(s.baseSeconds) + floorDiv(now() - s.baseNs, kSecondNs));
}

uint32_t SimClockBlock::subsecondCount() const
{
    return static_cast<uint32_t>(uint64_t(subsecondNs(now())) * s.countsPerSecond / uint64_t(kSecondNs));
}

std::optional<uint32_t> SimClockBlock::irigbReferenceSeconds() const
{
    if (!s.referenceSet)
        return std::nullopt;
    return static_cast<uint32_t>(int64_t(s.referenceSeconds) + floorDiv(now() - s.referenceNs, kSecondNs));
}

bool SimClockBlock::irigbDisciplined() const
{
    return (s.select == clockreg::kSelectIrigb1 || s.select == clockreg::kSelectIrigb2) && s.irigbPresent
        && s.referenceSet;
}

bool SimClockBlock::referenceUsable() const
{
    if (s.select == clockreg::kSelectGnss)
        return (s.stateHigh & clockreg::kGnssBusyBits) == 0;
    return irigbDisciplined();
}

bool SimClockBlock::synchronised() const
{
    return s.loadedSinceSelect && referenceUsable();
}

IrigbWords SimClockBlock::irigbInputWords() const
{
    if (s.forcedWords)
        return *s.forcedWords;
    IrigbWords words{};
    if (!s.referenceSet || !s.irigbPresent)
        return words;
    const time_t local = time_t(*irigbReferenceSeconds()) + time_t(s.offsetHours) * 3600;
    struct tm t = {};
    gmtime_r(&local, &t);
    const int hours = s.offsetHours < 0 ? -s.offsetHours : s.offsetHours;
    const int dayseconds = t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec;
    words[0] = bcd(t.tm_sec, 2);
    words[1] = bcd(t.tm_min, 2);
    words[2] = bcd(t.tm_hour, 2);
    words[3] = bcd(t.tm_yday + 1, 3);
    words[4] = bcd(t.tm_year % 100, 2);
    words[5] = static_cast<uint16_t>(((hours & 0xF) << 5) | (s.offsetHours < 0 ? 0x0010 : 0));
    words[6] = 0;
    words[7] = low(uint32_t(dayseconds));
    words[8] = high(uint32_t(dayseconds));
    return words;
}

// ---- Strobes and pulses ---------------------------------------------------------

// Fires the armed pulse when the counter has run through its instant since
// it was armed or since the counter last jumped.
void SimClockBlock::catchUp()
{
    if (!s.armed)
        return;
    const Pulse pulse = *s.armed;
    const int64_t reach = reachNs(pulse);
    if (reach >= s.armedFromNs && reach <= now()) {
        s.fired.push_back(Pulse{pulse.second, pulse.pretrigger, reach});
        s.armed.reset();
    }
}

int64_t SimClockBlock::reachNs(const Pulse& pulse) const
{
    const int64_t leadNs = s.countsPerSecond != 0
        ? int64_t(uint64_t(pulse.pretrigger) * uint64_t(kSecondNs) / s.countsPerSecond)
        : 0;
    return s.baseNs + (int64_t(pulse.second) - int64_t(s.baseSeconds)) * kSecondNs - leadNs;
}

std::optional<int64_t> SimClockBlock::pendingPulseNs()
{
    catchUp();
    if (!s.armed)
        return std::nullopt;
    const int64_t reach = reachNs(*s.armed);
    if (reach < s.armedFromNs)
        return std::nullopt;
    return reach;
}

void SimClockBlock::latch()
{
    s.latchedSub = subsecondCount();
    s.latchedSeconds = fpgaSeconds();
    ++s.latches;
}

void SimClockBlock::load()
{
    const int64_t n = now();
    const int64_t sub = irigbDisciplined() ? floorMod(n - s.referenceNs, kSecondNs) : subsecondNs(n);
    s.baseSeconds = s.loadTime;
    s.baseNs = n - sub;
    s.loadedSinceSelect = true;
    s.loads.push_back(TimeLoad{n, s.loadTime});
    s.armedFromNs = n;
}

void SimClockBlock::arm()
{
    if (s.ppxTime == 0) {
        s.armed.reset();
        return;
    }
    s.armed = Pulse{s.ppxTime, s.ppxPretrigger, now()};
    s.armedFromNs = now();
}

// ---- Link access ------------------------------------------------------------------

uint16_t SimClockBlock::peek(uint16_t addr) const
{
    using namespace clockreg;
    if (inIrigbIn(addr))
        return irigbInputWords()[(addr - kIrigbIn) / 2];
    if (inIrigbOut(addr))
        return s.irigbOut[(addr - kIrigbOut) / 2];
    switch (addr) {
    case kRefSelect: return s.select;
    case kRefStateHigh: return s.stateHigh;
    case kRefStateLow: return s.irigbPresent ? kIrigbPresentBit : 0;
    case kCountsPerSecond: return low(s.countsPerSecond);
    case kCountsPerSecond + 2: return high(s.countsPerSecond);
    case kSyncState: return synchronised() ? kSyncBit : 0;
    case kLoad: return s.loadStrobe;
    case kLoadTime: return low(s.loadTime);
    case kLoadTime + 2: return high(s.loadTime);
    case kLatch: return s.latchStrobe;
    case kLatchedSub: return low(s.latchedSub);
    case kLatchedSub + 2: return high(s.latchedSub);
    case kLatchedSeconds: return low(s.latchedSeconds);
    case kLatchedSeconds + 2: return high(s.latchedSeconds);
    case kPpxArm: return s.armWord;
    case kPpxTime: return low(s.ppxTime);
    case kPpxTime + 2: return high(s.ppxTime);
    case kPpxPretrigger: return s.ppxPretrigger;
    case kTrigger: return s.trigger;
    default: return 0;
    }
}

uint16_t SimClockBlock::read(uint16_t addr)
{
    if (!readable(addr)) {
        report(writable(addr) ? strf("read of write-only clock register 0x%04x", addr)
                              : strf("read of unknown clock register 0x%04x", addr));
        return 0;
    }
    return peek(addr);
}

void SimClockBlock::write(uint16_t addr, uint16_t value)
{
    using namespace clockreg;
    if (!writable(addr)) {
        report(readable(addr) ? strf("write of read-only clock register 0x%04x", addr)
                              : strf("write of unknown clock register 0x%04x", addr));
        return;
    }
    catchUp();
    if (inIrigbOut(addr)) {
        s.irigbOut[(addr - kIrigbOut) / 2] = value;
        return;
    }
    switch (addr) {
    case kRefSelect:
        if (value != 0 && value != kSelectGnss && value != kSelectIrigb1 && value != kSelectIrigb2)
            report(strf("unknown time reference select 0x%04x", value));
        if (value != s.select)
            s.loadedSinceSelect = false;
        s.select = value;
        return;
    case kLoad: {
        const bool rising = (value & kLoadBit) && !(s.loadStrobe & kLoadBit);
        s.loadStrobe = value;
        if (rising)
            load();
        return;
    }
    case kLoadTime: s.loadTime = withLow(s.loadTime, value); return;
    case kLoadTime + 2: s.loadTime = withHigh(s.loadTime, value); return;
    case kLatch: {
        const bool rising = (value & kLatchBit) && !(s.latchStrobe & kLatchBit);
        s.latchStrobe = value;
        if (rising)
            latch();
        return;
    }
    case kPpxArm: {
        const bool rising = (value & kArmBit) && !(s.armWord & kArmBit);
        s.armWord = value;
        if (!(value & kArmBit))
            s.armed.reset();
        else if (rising)
            arm();
        return;
    }
    case kPpxTime: s.ppxTime = withLow(s.ppxTime, value); return;
    case kPpxTime + 2: s.ppxTime = withHigh(s.ppxTime, value); return;
    case kPpxPretrigger: s.ppxPretrigger = value; return;
    case kTrigger: s.trigger = value; return;
    default: return;
    }
}

// ---- Back door --------------------------------------------------------------------

void SimClockBlock::setIrigbReference(uint32_t utcSeconds)
{
    catchUp();
    s.referenceSet = true;
    s.referenceSeconds = utcSeconds;
    s.referenceNs = now();
    s.irigbPresent = true;
}

void SimClockBlock::setIrigbPresent(bool present)
{
    catchUp();
    s.irigbPresent = present;
}

void SimClockBlock::setIrigbOffsetHours(int hours)
{
    s.offsetHours = hours;
}

void SimClockBlock::forceIrigbWords(std::optional<IrigbWords> words)
{
    s.forcedWords = words;
}

void SimClockBlock::setReferenceStateHigh(uint16_t bits)
{
    s.stateHigh = bits;
}

void SimClockBlock::setCountsPerSecond(uint32_t counts)
{
    catchUp();
    s.countsPerSecond = counts;
    s.armedFromNs = now();
}

void SimClockBlock::setFpgaSeconds(uint32_t seconds)
{
    catchUp();
    s.baseSeconds = seconds;
    s.baseNs = now();
    s.armedFromNs = now();
}

std::optional<SimClockBlock::Pulse> SimClockBlock::armedPulse()
{
    catchUp();
    return s.armed;
}

std::vector<SimClockBlock::Pulse> SimClockBlock::firedPulses()
{
    catchUp();
    return s.fired;
}

} // namespace zorsim
