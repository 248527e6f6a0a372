#pragma once

// Output pages of the simulated FPGA: an independent decoder from the raw
// 768-byte page to physical values, and the outputs being played as
// functions of time (what device-under-test models watch).
//
// Page layout (byte offsets, 16-bit words, 32-bit values low half first):
//   0 record count | 2 + 14 r records {control, amplitude, phase, frequency}
//   464 range bits | 466 + 2c DC offset words | 482 trigger | 484 duration
//   488 binary output word | 490 + 4i turn times | 506 + 4i hold times
//   522 binary input edge word | 524 logic word | 526 + 12c ramp length
//   530 + 12c ramp step (s64) | 622 + 4j DC-simulation words

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorsim {

constexpr int kChannels = 8;          // UA UB UC UX IA IB IC IX
constexpr int kPages = 8;
constexpr int kPageBytes = 768;
constexpr int kPageWords = kPageBytes / 2;

// Physical constants of the instrument's output stages.
struct HardwareConstants
{
    double voltageFullScale = 265.0;      // V at full scale, channels 0-3
    double currentFullScale = 10.0;       // A at full scale, channels 4-7
    double tickRate = 28000.0;            // synthesiser sample rate, Hz
    double currentPhaseShiftDeg = 180.0;  // the current amplifiers invert their input
};

enum class TriggerType : uint16_t { Time = 0, Binary = 1, TimeOrBinary = 2, KeyPress = 3, Gps = 4 };
enum class RampKind { None, Amplitude, Frequency };

namespace page {
constexpr int kCount = 0;
constexpr int kRecords = 2;
constexpr int kRecordBytes = 14;
constexpr int kMaxRecords = 32;
constexpr int kRangeBits = 464;
constexpr int kDcOffsets = 466;
constexpr int kTrigger = 482;
constexpr int kDuration = 484;
constexpr int kBoWord = 488;
constexpr int kBoTurnTimes = 490;
constexpr int kBoHoldTimes = 506;
constexpr int kBiEdges = 522;
constexpr int kBiLogic = 524;
constexpr int kRampLength = 526;
constexpr int kRampStep = 530;
constexpr int kRampBytes = 12;
constexpr int kDcSim = 622;
constexpr int kEnd = kDcSim + 4 * kChannels;   // first byte after the used part

// Control word bits of a component record.
constexpr uint16_t kCtlChannelMask = 0x0007;
constexpr uint16_t kCtlOscillate = 0x0800;
constexpr uint16_t kCtlDcSim = 0x1000;
constexpr uint16_t kCtlFrequencyRamp = 0x2000;
constexpr uint16_t kCtlAmplitudeRamp = 0x4000;
constexpr uint16_t kCtlInitiate = 0x8000;

// Amplitude scales (word per unit of full scale) and the DC offset scale.
constexpr double kAcScale = 1952257920.0;
constexpr double kDcScale = 1380454784.0;
constexpr double kDcOffsetScale = 21063.426;
} // namespace page

struct Component
{
    uint16_t control = 0;
    uint32_t amplitudeWord = 0;
    uint32_t phaseWord = 0;
    uint32_t frequencyWord = 0;
    bool dc = false;            // a DC component (frequency below 0.001 Hz)
    double amplitude = 0.0;     // V or A, RMS for AC; range scaling undone
    double phaseDeg = 0.0;      // as played: the current amplifiers' inversion taken out
    double frequencyHz = 0.0;
};

struct Ramp
{
    RampKind kind = RampKind::None;   // applies to component 0 of its channel
    uint32_t lengthTicks = 0;
    int64_t step = 0;
    double ratePerSecond = 0.0;       // V/s, A/s or Hz/s, signed
    double durationSeconds = 0.0;
};

struct Channel
{
    bool bigRange = false;
    std::vector<Component> components;   // componentsPerChannel entries
    int16_t dcOffsetWord = 0;
    double dcOffset = 0.0;               // V or A
    Ramp ramp;
    bool dcSim = false;                  // carries a decaying DC component
    int32_t dcSimWord = 0;
    double dcSimInitial = 0.0;           // V or A at the page start
};

struct PageContent
{
    uint16_t recordCount = 0;
    int componentsPerChannel = 0;        // 1, 2 or 4; 0 when the count is not valid
    std::array<Channel, kChannels> channels{};
    uint16_t rangeBits = 0;
    uint16_t triggerWord = 0;
    uint32_t durationTicks = 0;
    double durationSeconds = 0.0;
    uint16_t boWord = 0;
    std::array<bool, 4> boInit{};
    std::array<bool, 4> boTurnEnable{};
    std::array<bool, 4> boHoldEnable{};
    std::array<uint32_t, 4> boTurnUs{};
    std::array<uint32_t, 4> boHoldUs{};
    uint16_t biEdgeWord = 0;
    uint16_t biLogicWord = 0;
    bool linkInitiate = false;           // control bit 15
    bool oscillate = false;              // control bit 11

    TriggerType trigger() const { return static_cast<TriggerType>(triggerWord); }
    bool biRise(int i) const { return biEdgeWord & (1u << (2 * i)); }
    bool biFall(int i) const { return biEdgeWord & (2u << (2 * i)); }
    bool biAnd() const { return biLogicWord != 0; }

    // What does not make sense in the page (bad count, unknown trigger, ...).
    std::vector<std::string> problems;
};

// Decodes one page from its 384 words (kPageWords).
PageContent decodePage(const uint16_t* words, const HardwareConstants& hw);

// Time constant of the decaying DC component from the decay step register.
// The step is -trunc(599.1863 / tau_ms); 0 means no decay.
double dcDecayTauSeconds(int32_t decayStep);

struct OutputErrors;   // SimOutputErrors.h

// The outputs as they are being played: the page, when it started, and when
// (if ever) the values were frozen at the end of the page.
struct PlayedOutputs
{
    bool running = false;                  // run bits on and a page playing
    std::array<bool, kChannels> live{};    // channel energised (run bits and power)
    int pageIndex = -1;
    PageContent page;
    HardwareConstants hw;
    int64_t pageStartNs = 0;
    int64_t holdFromNs = std::numeric_limits<int64_t>::max();   // values frozen from here
    double dcDecayTau = 0.0;                // s; 0 = no decay
    // Output errors of the terminals (SimOutputErrors.h), applied by
    // component(); none when null. lowLevel: the channel plays on the
    // low-level outputs (run bit 4) rather than through its amplifier.
    std::shared_ptr<const OutputErrors> errors;
    std::array<bool, kChannels> lowLevel{};

    // Seconds of the page played at atNs (stops growing at the hold).
    double elapsedSeconds(int64_t atNs) const;

    // Component k of channel c at atNs with its ramp and the output errors
    // applied; all zero when the channel is not live.
    Component component(int c, int k, int64_t atNs) const;
    double amplitude(int c, int k, int64_t atNs) const { return component(c, k, atNs).amplitude; }
    double frequency(int c, int k, int64_t atNs) const { return component(c, k, atNs).frequencyHz; }
    // Decaying DC component of channel c at atNs (0 without one).
    double dcSimValue(int c, int64_t atNs) const;

    // First time >= fromNs at which component 0's amplitude (or frequency) of
    // channel c is at least / below the threshold, if it ever is with these
    // outputs. Values are piecewise linear (ramp, then constant).
    std::optional<int64_t> firstAmplitudeAtLeast(int c, double threshold, int64_t fromNs) const;
    std::optional<int64_t> firstAmplitudeBelow(int c, double threshold, int64_t fromNs) const;
    std::optional<int64_t> firstFrequencyAtLeast(int c, double threshold, int64_t fromNs) const;
    std::optional<int64_t> firstFrequencyBelow(int c, double threshold, int64_t fromNs) const;

private:
    std::optional<int64_t> firstCrossing(int c, bool frequencyQuantity, bool atLeast, double threshold, int64_t fromNs) const;
};

} // namespace zorsim
