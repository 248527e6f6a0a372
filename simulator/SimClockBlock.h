#pragma once

// The FPGA's clock block (registers 0x8100-0x8158) as a standalone model,
// written from the register map the driver uses. The FPGA model hands every
// access in that range to it; it keeps no clock of its own but asks its time
// source (the simulator's virtual clock, ns) whenever it needs "now".
//
// Registers (16 bits; 32-bit values low half first):
//   0x8100 rw  reference select: 0x0C03 GNSS, 0x0D03 / 0x0E03 IRIG-B input 1 / 2, else none
//   0x8102 ro  reference state, high half (back door; bits 0-1 = state bits
//              16-17: GNSS pulse not usable)
//   0x8104 ro  reference state, low half: bit 15 IRIG-B signal present
//   0x8106-0x8116 ro  decoded IRIG-B words: second, minute, hour (2 BCD
//              digits), day of year (3), year within the century (2), word 5
//              offset (bits 5-8 hours, bit 4 set when local time is behind UTC),
//              0, straight seconds of the day (low, high)
//   0x8118 ro  counts per second of the disciplined oscillator (32 bits)
//   0x8126 ro  bit 3: time base synchronised
//   0x8128 wo  load strobe: bit 1 rising loads 0x812A
//   0x812A rw  time to load, UTC seconds (32 bits)
//   0x8134 wo  latch strobe: bit 0 rising latches the time
//   0x8136 ro  latched sub-second count (32 bits)
//   0x813A ro  latched UTC seconds (32 bits)
//   0x813E rw  timed pulse arm: writing bit 0 clear disarms, bit 0 rising arms
//              0x8140 / 0x8144 (a time of 0 leaves it disarmed)
//   0x8140 rw  timed pulse second, UTC (32 bits)
//   0x8144 rw  timed pulse pre-trigger count
//   0x8146 rw  external trigger configuration (kept)
//   0x8148-0x8158 rw  IRIG-B output words (kept)
//
// Behaviour (time as data; nothing ticks):
// - The UTC seconds counter is base seconds + whole seconds since its base
//   instant. A load sets the seconds and keeps the sub-second phase, except
//   that while an IRIG-B input is selected and present the phase is taken
//   from the IRIG-B reference (its pulse disciplines the oscillator).
// - Synchronised (0x8126 bit 3): the selected reference is usable (IRIG-B
//   present, or GNSS with state bits 16-17 clear) and the time has been
//   loaded since that reference was selected.
// - The IRIG-B reference runs on the virtual clock from the second the back
//   door gave it; its decoded words follow it (zeros while absent) unless
//   raw words are forced.
// - Timed pulse policy: an armed pulse fires when the running counter reaches
//   its second, earlier by the pre-trigger count in oscillator counts; an
//   instant equal to that counts as reached. A load never fires a pulse by
//   jumping over its second. A fired pulse is recorded and disarms.
// - Strobes act on the rising edge of their bit; writing the same value again
//   does nothing.
// - Unknown addresses, reads of write-only and writes of read-only registers
//   are reported through the violation sink.
//
// Not thread-safe: the owner calls it under its lock.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zorsim {

namespace clockreg {
constexpr uint16_t kFirst = 0x8100;
constexpr uint16_t kLast = 0x8158;
constexpr uint16_t kRefSelect = 0x8100;
constexpr uint16_t kRefStateHigh = 0x8102;
constexpr uint16_t kRefStateLow = 0x8104;
constexpr uint16_t kIrigbIn = 0x8106;
constexpr uint16_t kIrigbInLast = 0x8116;
constexpr uint16_t kCountsPerSecond = 0x8118;
constexpr uint16_t kSyncState = 0x8126;
constexpr uint16_t kLoad = 0x8128;
constexpr uint16_t kLoadTime = 0x812A;
constexpr uint16_t kLatch = 0x8134;
constexpr uint16_t kLatchedSub = 0x8136;
constexpr uint16_t kLatchedSeconds = 0x813A;
constexpr uint16_t kPpxArm = 0x813E;
constexpr uint16_t kPpxTime = 0x8140;
constexpr uint16_t kPpxPretrigger = 0x8144;
constexpr uint16_t kTrigger = 0x8146;
constexpr uint16_t kIrigbOut = 0x8148;
constexpr uint16_t kIrigbOutLast = 0x8158;

constexpr uint16_t kSelectGnss = 0x0C03;
constexpr uint16_t kSelectIrigb1 = 0x0D03;
constexpr uint16_t kSelectIrigb2 = 0x0E03;
constexpr uint16_t kIrigbPresentBit = 0x8000;   // in 0x8104
constexpr uint16_t kGnssBusyBits = 0x0003;      // in 0x8102
constexpr uint16_t kSyncBit = 0x0008;
constexpr uint16_t kLoadBit = 0x0002;
constexpr uint16_t kLatchBit = 0x0001;
constexpr uint16_t kArmBit = 0x0001;
} // namespace clockreg

constexpr int kIrigbWords = 9;
using IrigbWords = std::array<uint16_t, kIrigbWords>;

class SimClockBlock
{
public:
    using TimeSource = std::function<int64_t()>;
    using ViolationSink = std::function<void(const std::string&)>;

    struct TimeLoad
    {
        int64_t atNs = 0;
        uint32_t seconds = 0;
    };
    struct Pulse
    {
        uint32_t second = 0;        // UTC second of the pulse
        uint16_t pretrigger = 0;    // lead in oscillator counts
        int64_t atNs = 0;           // armed at (armedPulse) or fired at (firedPulses)
    };

    static constexpr uint32_t kDefaultCountsPerSecond = 100000000;

    explicit SimClockBlock(TimeSource now, ViolationSink violation = {});

    // Power-on state: counter 0 at time 0 of the source's clock, nothing
    // selected, no IRIG-B, every register 0.
    void reset();

    static bool covers(uint16_t addr) { return addr >= clockreg::kFirst && addr <= clockreg::kLast; }
    static bool readable(uint16_t addr);
    static bool writable(uint16_t addr);

    // Link access (reports what the link code should not do).
    uint16_t read(uint16_t addr);
    void write(uint16_t addr, uint16_t value);
    // The register as a read would see it now; no report, no side effect.
    uint16_t peek(uint16_t addr) const;

    // ---- Back door -------------------------------------------------------------
    // The IRIG-B reference reads utcSeconds now and runs on from here; present.
    void setIrigbReference(uint32_t utcSeconds);
    void setIrigbPresent(bool present);
    // Offset of the local time the IRIG-B words carry: local = UTC + hours.
    void setIrigbOffsetHours(int hours);
    // Raw decoded words instead of the generated ones (nullopt: generated again).
    void forceIrigbWords(std::optional<IrigbWords> words);
    // Reference state bits 16-31 (0x8102).
    void setReferenceStateHigh(uint16_t bits);
    void setCountsPerSecond(uint32_t counts);
    // Sets the counter as at power-on (second boundary now); not recorded as a load.
    void setFpgaSeconds(uint32_t seconds);

    // ---- Observation --------------------------------------------------------------
    uint32_t fpgaSeconds() const;
    uint32_t subsecondCount() const;
    std::optional<uint32_t> irigbReferenceSeconds() const;   // nullopt: never set
    bool synchronised() const;
    uint16_t referenceSelect() const { return s.select; }
    const std::vector<TimeLoad>& loads() const { return s.loads; }
    uint64_t latchCount() const { return s.latches; }
    std::optional<Pulse> armedPulse();
    // The instant (ns of the time source) at which the armed pulse fires,
    // while it is still ahead; nullopt when none is armed or the counter
    // jumped over it (it never fires). A pulse that is due fires first.
    std::optional<int64_t> pendingPulseNs();
    std::vector<Pulse> firedPulses();
    uint16_t triggerConfig() const { return s.trigger; }
    IrigbWords irigbOutputWords() const { return s.irigbOut; }
    IrigbWords irigbInputWords() const;

private:
    struct State
    {
        // Counter: baseSeconds at baseNs, one more every full second after.
        uint32_t baseSeconds = 0;
        int64_t baseNs = 0;
        uint32_t countsPerSecond = kDefaultCountsPerSecond;
        uint16_t select = 0;
        bool loadedSinceSelect = false;

        bool referenceSet = false;
        uint32_t referenceSeconds = 0;
        int64_t referenceNs = 0;
        bool irigbPresent = false;
        int offsetHours = 0;
        std::optional<IrigbWords> forcedWords;
        uint16_t stateHigh = 0;

        uint16_t loadStrobe = 0;
        uint32_t loadTime = 0;
        uint16_t latchStrobe = 0;
        uint32_t latchedSub = 0;
        uint32_t latchedSeconds = 0;
        uint64_t latches = 0;
        std::vector<TimeLoad> loads;

        uint16_t armWord = 0;
        uint32_t ppxTime = 0;
        uint16_t ppxPretrigger = 0;
        std::optional<Pulse> armed;
        int64_t armedFromNs = 0;     // the counter has run without a jump since then
        std::vector<Pulse> fired;

        uint16_t trigger = 0;
        IrigbWords irigbOut{};
    };

    void report(const std::string& text) const;
    int64_t now() const { return clock(); }
    int64_t subsecondNs(int64_t atNs) const;
    bool irigbDisciplined() const;
    bool referenceUsable() const;
    void catchUp();
    // The instant the armed pulse's second, less its lead, is reached.
    int64_t reachNs(const Pulse& pulse) const;
    void latch();
    void load();
    void arm();

    TimeSource clock;
    ViolationSink violation;
    State s;
};

} // namespace zorsim
