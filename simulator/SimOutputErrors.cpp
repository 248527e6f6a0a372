#include "SimOutputErrors.h"

#include <algorithm>
#include <cmath>

namespace zorsim {

namespace {

constexpr double kLowLevelFullScale = 8.0;   // volts of the low-level signal at full scale
constexpr double kPi = 3.14159265358979323846;

double fullScale(const HardwareConstants& hw, int c)
{
    return c < 4 ? hw.voltageFullScale : hw.currentFullScale;
}

double normaliseDeg(double deg)
{
    deg = std::fmod(deg, 360.0);
    if (deg < 0.0)
        deg += 360.0;
    return deg >= 360.0 ? 0.0 : deg;
}

bool validChannel(int c)
{
    return c >= 0 && c < kChannels;
}

} // namespace

// ---- Segments ------------------------------------------------------------------------------

double SegmentedError::apply(double x) const
{
    if (segments.empty() || !(x > 0.0))
        return x;
    const ErrorSegment* segment = &segments.back();
    for (const ErrorSegment& s : segments) {
        if (x <= s.upTo) {
            segment = &s;
            break;
        }
    }
    return std::max(0.0, segment->gain * x + segment->offset);
}

SegmentedError SegmentedError::affine(double gain, double offset)
{
    SegmentedError e;
    e.segments.push_back({std::numeric_limits<double>::infinity(), gain, offset});
    return e;
}

SegmentedError SegmentedError::continuous(double offsetAtZero, const std::vector<std::pair<double, double>>& upToAndGain)
{
    SegmentedError e;
    double x0 = 0.0;
    double y0 = offsetAtZero;
    for (const auto& [upTo, gain] : upToAndGain) {
        e.segments.push_back({upTo, gain, y0 - gain * x0});
        y0 += gain * (upTo - x0);
        x0 = upTo;
    }
    return e;
}

double PortErrors::responseAt(double hz) const
{
    if (response.empty())
        return 1.0;
    if (hz <= response.front().hz)
        return response.front().gain;
    for (size_t i = 1; i < response.size(); ++i) {
        const ResponsePoint& a = response[i - 1];
        const ResponsePoint& b = response[i];
        if (hz <= b.hz)
            return b.hz > a.hz ? a.gain + (hz - a.hz) * (b.gain - a.gain) / (b.hz - a.hz) : b.gain;
    }
    return response.back().gain;
}

// ---- Played values -------------------------------------------------------------------------

Component OutputErrors::apply(const Component& set, int c, bool bigRange, bool lowLevel,
                              const HardwareConstants& hw) const
{
    Component out = set;
    if (!validChannel(c))
        return out;
    const PortErrors& e = at(c, bigRange ? 1 : 0);
    out.frequencyHz = set.frequencyHz * (1.0 + frequencyError);
    if (!(set.amplitude > 0.0))
        return out;

    const double toLowLevel = kLowLevelFullScale / fullScale(hw, c);
    const double low = (set.dc ? e.lowLevelDcAmplitude : e.lowLevelAcAmplitude).apply(set.amplitude * toLowLevel);
    if (lowLevel) {
        out.amplitude = low / toLowLevel;
        return out;
    }
    double amplitude = (set.dc ? e.dcAmplitude : e.acAmplitude).apply(low / toLowLevel);
    if (!set.dc) {
        amplitude *= e.responseAt(out.frequencyHz);
        if (c != 0)
            out.phaseDeg = normaliseDeg(set.phaseDeg + e.phaseDeg);
    }
    out.amplitude = std::max(0.0, amplitude);
    return out;
}

double OutputErrors::setValueFor(double played, bool frequencyQuantity, const Component& set, int c, bool bigRange,
                                 bool lowLevel, const HardwareConstants& hw) const
{
    if (frequencyQuantity)
        return played / (1.0 + frequencyError);
    if (!(played > 0.0))
        return played;
    auto plays = [&](double amplitude) {
        Component probe = set;
        probe.amplitude = amplitude;
        return apply(probe, c, bigRange, lowLevel, hw).amplitude;
    };
    // Bisection on the monotonic played amplitude.
    double lo = 0.0;
    double hi = std::max(played, 1e-9);
    for (int i = 0; i < 64 && plays(hi) < played; ++i)
        hi *= 2.0;
    for (int i = 0; i < 200 && hi - lo > 1e-15 * hi; ++i) {
        const double mid = 0.5 * (lo + hi);
        (plays(mid) < played ? lo : hi) = mid;
    }
    return hi;
}

double OutputErrors::auxDcVolts(uint16_t setPointWord) const
{
    return auxDc.apply(setPointWord / kAuxDcFullScaleWord * kAuxDcFullScaleVolts);
}

double terminalDcOffset(const OutputErrors* errors, int c, bool bigRange, bool lowLevel, double pageDcOffset,
                        const HardwareConstants& hw)
{
    if (!errors || !validChannel(c))
        return -pageDcOffset;
    const PortErrors& e = errors->at(c, bigRange ? 1 : 0);
    const double lowLevelOffset = e.lowLevelDcOffset * fullScale(hw, c) / kLowLevelFullScale;
    return (lowLevel ? 0.0 : e.dcOffset) + lowLevelOffset - pageDcOffset;
}

// ---- Meter ---------------------------------------------------------------------------------

MeterReading readMeter(const PlayedOutputs& played, int c, int64_t atNs)
{
    MeterReading m;
    if (!validChannel(c) || !played.running || !played.live[c])
        return m;
    const Channel& channel = played.page.channels[c];
    m.live = true;
    m.lowLevel = played.lowLevel[c];
    const double unit = m.lowLevel ? kLowLevelFullScale / fullScale(played.hw, c) : 1.0;

    double squares = 0.0;
    double dc = 0.0;
    for (int k = 0; k < static_cast<int>(channel.components.size()); ++k) {
        const Component comp = played.component(c, k, atNs);
        if (comp.dc)
            dc += comp.amplitude * std::sin(comp.phaseDeg * kPi / 180.0);
        else
            squares += comp.amplitude * comp.amplitude;
    }
    dc += played.dcSimValue(c, atNs);
    dc += terminalDcOffset(played.errors.get(), c, channel.bigRange, m.lowLevel, channel.dcOffset, played.hw);
    m.rms = std::sqrt(squares) * unit;
    m.dc = dc * unit;

    const Component first = played.component(c, 0, atNs);
    if (!channel.components.empty() && !first.dc) {
        m.frequencyHz = first.frequencyHz;
        const Component reference = played.component(0, 0, atNs);
        if (played.live[0] && !played.page.channels[0].components.empty() && !reference.dc)
            m.phaseLagDeg = normaliseDeg(reference.phaseDeg - first.phaseDeg);
    }
    return m;
}

} // namespace zorsim
