#pragma once

// Output errors of the simulated instrument: how what a meter on the
// terminals reads differs from what the pages ask for, before any
// calibration. Nothing is set by default: the terminals then show exactly
// the page's values.
//
// Path of one channel at one range (its bit in the page's range word):
//   page value -> low-level stage (volts of the low-level signal, 8 V at
//   full scale) -> on the low-level outputs (run bit 4 alone): the
//   terminals; else the power amplifier (V or A) -> the terminals.
// - Low-level stage: the AC amplitude and the DC magnitude each through a
//   gain and offset per amplitude segment; a DC offset.
// - Power amplifier: the AC amplitude and the DC magnitude each through a
//   gain and offset per amplitude segment, the AC amplitude also through a
//   gain by frequency; a phase error relative to UA at the same range (UA
//   is the reference and has none); a DC offset.
// - The device: one relative frequency error (its clock) on every output.
// - The auxiliary DC output: its voltage through a gain and offset per
//   segment.
// A zero amplitude stays zero. A DC component's value is its magnitude
// times the sine of its phase (90 deg gives +magnitude, 270 deg -magnitude);
// the errors act on the magnitude.
//
// Page words that carry corrections:
// - The DC offset word holds the offset the channel is to lose: the
//   terminals show the stage's DC offset less the word's value, so a word
//   equal to the measured offset cancels it. It acts at the synthesiser, in
//   the page's units, ahead of the low-level stage.
// - Phase, amplitude and frequency corrections arrive in the component
//   words themselves.
//
// The meter reads what the calibration procedure reads off a reference
// meter: the RMS of the AC part, the DC value, the frequency, and the phase
// as the angle by which the output lags UA, in [0, 360): an output 0.2 deg
// ahead of UA reads 359.8, one 0.2 deg behind reads 0.2. Values are in volts
// or amperes of the terminals: volts of the low-level signal while the
// channel is on the low-level outputs.

#include "SimPage.h"

#include <array>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace zorsim {

// The auxiliary DC set point word (0x8402) at the output's full scale.
constexpr double kAuxDcFullScaleVolts = 350.0;
constexpr double kAuxDcFullScaleWord = 62500.0;

// Gain and offset of one amplitude segment: amplitudes up to upTo
// (inclusive) play as gain x amplitude + offset.
struct ErrorSegment
{
    double upTo = 0.0;
    double gain = 1.0;
    double offset = 0.0;
};

// Segments by rising bound; the last one also covers amplitudes above its
// bound. No segment: no error.
struct SegmentedError
{
    std::vector<ErrorSegment> segments;

    bool empty() const { return segments.empty(); }
    // The played magnitude for a set magnitude x (>= 0); 0 stays 0 and a
    // result below 0 plays as 0.
    double apply(double x) const;

    // One gain and offset for every amplitude.
    static SegmentedError affine(double gain, double offset);
    // A continuous curve: offsetAtZero plus, segment by segment, the given
    // gain (slope) up to each bound. The last bound is open.
    static SegmentedError continuous(double offsetAtZero, const std::vector<std::pair<double, double>>& upToAndGain);
};

// Gain of the power output at one frequency; linear between points and
// constant beyond the first and the last.
struct ResponsePoint
{
    double hz = 0.0;
    double gain = 1.0;
};

// One channel at one range.
struct PortErrors
{
    // Power amplifier, V or A.
    SegmentedError acAmplitude;          // RMS of an AC component
    SegmentedError dcAmplitude;          // magnitude of a DC component
    std::vector<ResponsePoint> response; // AC gain by frequency; none = 1
    double phaseDeg = 0.0;               // ahead of UA at the same range; unused for UA
    double dcOffset = 0.0;               // on the terminals while the channel is live

    // Low-level stage, volts of the low-level signal.
    SegmentedError lowLevelAcAmplitude;
    SegmentedError lowLevelDcAmplitude;
    double lowLevelDcOffset = 0.0;

    double responseAt(double hz) const;
};

struct OutputErrors
{
    // [channel UA..IX][range: 0 small, 1 big]
    std::array<std::array<PortErrors, 2>, kChannels> ports{};
    double frequencyError = 0.0;         // relative: 0.002 plays 50 Hz as 50.1 Hz
    SegmentedError auxDc;                // auxiliary DC output, V

    PortErrors& at(int channel, int range) { return ports.at(channel).at(range); }
    const PortErrors& at(int channel, int range) const { return ports.at(channel).at(range); }

    // Component of channel c as the terminals play it, from its set values
    // (page units: V or A; volts of the low-level signal are scaled to the
    // channel's full scale, as in the page).
    Component apply(const Component& set, int c, bool bigRange, bool lowLevel, const HardwareConstants& hw) const;

    // The set value of component 0 that plays as `played`, for the search of
    // a ramp's crossing: the amplitude (AC or DC magnitude, by set.dc) or,
    // with frequencyQuantity, the frequency. Set values are monotonic in the
    // played ones for positive gains.
    double setValueFor(double played, bool frequencyQuantity, const Component& set, int c, bool bigRange,
                       bool lowLevel, const HardwareConstants& hw) const;

    // Auxiliary DC output voltage for a set point word.
    double auxDcVolts(uint16_t setPointWord) const;
};

// DC on the terminals of channel c besides its DC components, in page
// units: the stages' DC offsets less the page's offset word value (decoded,
// page units). errors may be null (no error).
double terminalDcOffset(const OutputErrors* errors, int c, bool bigRange, bool lowLevel, double pageDcOffset,
                        const HardwareConstants& hw);

// What a meter on the terminals of one channel reads.
struct MeterReading
{
    bool live = false;                   // the channel is energised
    bool lowLevel = false;               // on the low-level outputs: volts of the low-level signal
    double rms = 0.0;                    // RMS of the AC components
    double dc = 0.0;                     // DC value
    double frequencyHz = 0.0;            // of component 0; 0 for DC
    double phaseLagDeg = std::numeric_limits<double>::quiet_NaN();   // behind UA, [0, 360); NaN without an AC UA
};

MeterReading readMeter(const PlayedOutputs& played, int c, int64_t atNs);

} // namespace zorsim
