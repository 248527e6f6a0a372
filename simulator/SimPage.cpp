#include "SimPage.h"

#include "SimOutputErrors.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zorsim {

namespace {

constexpr double kTwo32 = 4294967296.0;
constexpr double kTwo64 = 18446744073709551616.0;

double fullScale(const HardwareConstants& hw, int c)
{
    return c < 4 ? hw.voltageFullScale : hw.currentFullScale;
}

double normaliseDeg(double deg)
{
    deg = std::fmod(deg, 360.0);
    if (deg < 0.0)
        deg += 360.0;
    return deg;
}

struct Words
{
    const uint16_t* w;
    uint16_t u16(int offset) const { return w[offset / 2]; }
    uint32_t u32(int offset) const { return w[offset / 2] | (static_cast<uint32_t>(w[offset / 2 + 1]) << 16); }
    int64_t s64(int offset) const
    {
        uint64_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 16) | w[offset / 2 + i];
        return static_cast<int64_t>(v);
    }
};

std::string text(const char* format, int a, int b = 0)
{
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, format, a, b);
    return buffer;
}

} // namespace

PageContent decodePage(const uint16_t* words, const HardwareConstants& hw)
{
    const Words in{words};
    PageContent p;
    p.recordCount = in.u16(page::kCount);
    if (p.recordCount == 8 || p.recordCount == 16 || p.recordCount == 32)
        p.componentsPerChannel = p.recordCount / 8;
    else
        p.problems.push_back(text("record count %d is not 8, 16 or 32", p.recordCount));

    p.rangeBits = in.u16(page::kRangeBits);
    for (int c = 0; c < kChannels; ++c)
        p.channels[c].bigRange = (p.rangeBits >> c) & 1;

    uint16_t anyControl = 0;
    const int k = p.componentsPerChannel;
    for (int c = 0; c < kChannels && k > 0; ++c) {
        Channel& ch = p.channels[c];
        const double rangeDivisor = ch.bigRange ? 1.0 : 10.0;
        for (int i = 0; i < k; ++i) {
            const int r = c * k + i;
            const int base = page::kRecords + page::kRecordBytes * r;
            Component comp;
            comp.control = in.u16(base);
            comp.amplitudeWord = in.u32(base + 2);
            comp.phaseWord = in.u32(base + 6);
            comp.frequencyWord = in.u32(base + 10);
            if ((comp.control & page::kCtlChannelMask) != c)
                p.problems.push_back(text("record %d names channel %d", r, comp.control & page::kCtlChannelMask));
            anyControl |= comp.control;
            comp.frequencyHz = comp.frequencyWord / kTwo32 * hw.tickRate;
            comp.dc = comp.frequencyHz < 0.001;
            const double scale = (comp.dc ? page::kDcScale : page::kAcScale) / fullScale(hw, c);
            comp.amplitude = comp.amplitudeWord / scale / rangeDivisor;
            double phase = comp.phaseWord / kTwo32 * 360.0;
            if (c >= 4)
                phase -= hw.currentPhaseShiftDeg;
            comp.phaseDeg = normaliseDeg(phase);
            ch.components.push_back(comp);
        }
    }
    p.linkInitiate = anyControl & page::kCtlInitiate;
    p.oscillate = anyControl & page::kCtlOscillate;

    for (int c = 0; c < kChannels; ++c) {
        Channel& ch = p.channels[c];
        ch.dcOffsetWord = static_cast<int16_t>(in.u16(page::kDcOffsets + 2 * c));
        ch.dcOffset = ch.dcOffsetWord / page::kDcOffsetScale * fullScale(hw, c) / (ch.bigRange ? 1.0 : 10.0);
    }

    p.triggerWord = in.u16(page::kTrigger);
    if (p.triggerWord > static_cast<uint16_t>(TriggerType::Gps))
        p.problems.push_back(text("unknown trigger type %d", p.triggerWord));
    p.durationTicks = in.u32(page::kDuration);
    p.durationSeconds = p.durationTicks / hw.tickRate;

    p.boWord = in.u16(page::kBoWord);
    for (int i = 0; i < 4; ++i) {
        p.boInit[i] = (p.boWord >> i) & 1;
        p.boTurnEnable[i] = (p.boWord >> (8 + i)) & 1;
        p.boHoldEnable[i] = (p.boWord >> (12 + i)) & 1;
        p.boTurnUs[i] = in.u32(page::kBoTurnTimes + 4 * i);
        p.boHoldUs[i] = in.u32(page::kBoHoldTimes + 4 * i);
    }
    p.biEdgeWord = in.u16(page::kBiEdges);
    p.biLogicWord = in.u16(page::kBiLogic);

    const bool freqFlag = anyControl & page::kCtlFrequencyRamp;
    const bool ampFlag = anyControl & page::kCtlAmplitudeRamp;
    if (freqFlag && ampFlag)
        p.problems.push_back("page mixes frequency and amplitude ramps; all are taken as frequency ramps");
    for (int c = 0; c < kChannels; ++c) {
        Ramp& ramp = p.channels[c].ramp;
        ramp.lengthTicks = in.u32(page::kRampLength + page::kRampBytes * c);
        ramp.step = in.s64(page::kRampStep + page::kRampBytes * c);
        if (ramp.lengthTicks == 0 && ramp.step == 0)
            continue;
        if (!freqFlag && !ampFlag) {
            p.problems.push_back(text("channel %d has a ramp but no record carries a ramp flag", c));
            continue;
        }
        ramp.durationSeconds = ramp.lengthTicks / hw.tickRate;
        if (freqFlag) {
            ramp.kind = RampKind::Frequency;
            ramp.ratePerSecond = ramp.step / kTwo64 * hw.tickRate * hw.tickRate;
        } else {
            ramp.kind = RampKind::Amplitude;
            const bool dc = p.channels[c].components.empty() || p.channels[c].components[0].dc;
            const double scale = (dc ? page::kDcScale : page::kAcScale) / fullScale(hw, c);
            ramp.ratePerSecond = ramp.step / kTwo32 * hw.tickRate / scale / (p.channels[c].bigRange ? 1.0 : 10.0);
        }
    }

    int j = 0;
    for (int c = 0; c < kChannels; ++c) {
        Channel& ch = p.channels[c];
        bool flagged = false;
        for (const Component& comp : ch.components)
            flagged = flagged || (comp.control & page::kCtlDcSim);
        if (!flagged)
            continue;
        ch.dcSim = true;
        ch.dcSimWord = static_cast<int32_t>(in.u32(page::kDcSim + 4 * j));
        ch.dcSimInitial = ch.dcSimWord / (page::kDcScale / fullScale(hw, c)) / (ch.bigRange ? 1.0 : 10.0);
        ++j;
    }
    return p;
}

double dcDecayTauSeconds(int32_t decayStep)
{
    if (decayStep == 0)
        return 0.0;
    return 599.1863 / std::abs(static_cast<double>(decayStep)) / 1000.0;
}

double PlayedOutputs::elapsedSeconds(int64_t atNs) const
{
    const int64_t t = std::min(atNs, holdFromNs);
    return t > pageStartNs ? (t - pageStartNs) / 1e9 : 0.0;
}

Component PlayedOutputs::component(int c, int k, int64_t atNs) const
{
    if (c < 0 || c >= kChannels || k < 0 || !running || !live[c])
        return Component();
    const Channel& ch = page.channels[c];
    if (k >= static_cast<int>(ch.components.size()))
        return Component();
    Component comp = ch.components[k];
    if (k == 0 && ch.ramp.kind != RampKind::None) {
        const double s = std::min(elapsedSeconds(atNs), ch.ramp.durationSeconds);
        if (ch.ramp.kind == RampKind::Amplitude)
            comp.amplitude = std::max(0.0, comp.amplitude + ch.ramp.ratePerSecond * s);
        else
            comp.frequencyHz = std::max(0.0, comp.frequencyHz + ch.ramp.ratePerSecond * s);
    }
    if (errors)
        comp = errors->apply(comp, c, ch.bigRange, lowLevel[c], hw);
    return comp;
}

double PlayedOutputs::dcSimValue(int c, int64_t atNs) const
{
    if (c < 0 || c >= kChannels || !running || !live[c] || !page.channels[c].dcSim)
        return 0.0;
    const double v0 = page.channels[c].dcSimInitial;
    if (dcDecayTau <= 0.0)
        return v0;
    return v0 * std::exp(-elapsedSeconds(atNs) / dcDecayTau);
}

std::optional<int64_t> PlayedOutputs::firstCrossing(int c, bool frequencyQuantity, bool atLeast, double threshold,
                                                    int64_t fromNs) const
{
    auto value = [&](int64_t t) {
        const Component comp = component(c, 0, t);
        return frequencyQuantity ? comp.frequencyHz : comp.amplitude;
    };
    auto holds = [&](double v) { return atLeast ? v >= threshold : v < threshold; };
    if (holds(value(fromNs)))
        return fromNs;
    if (c < 0 || c >= kChannels || !running || !live[c])
        return std::nullopt;
    const Channel& ch = page.channels[c];
    const RampKind wanted = frequencyQuantity ? RampKind::Frequency : RampKind::Amplitude;
    if (ch.components.empty() || ch.ramp.kind != wanted || ch.ramp.ratePerSecond == 0.0)
        return std::nullopt;
    const double rate = ch.ramp.ratePerSecond;
    if ((rate > 0.0) != atLeast)
        return std::nullopt;
    // Linear from the page start until the ramp's end or the hold, whichever first.
    const double v0 = frequencyQuantity ? ch.components[0].frequencyHz : ch.components[0].amplitude;
    // The ramp is linear in set values: with output errors, aim at the set
    // value that plays as the threshold.
    const double target = errors ? errors->setValueFor(threshold, frequencyQuantity, ch.components[0], c, ch.bigRange,
                                                       lowLevel[c], hw)
                                 : threshold;
    const double s = (target - v0) / rate;
    const double end = std::min(ch.ramp.durationSeconds, elapsedSeconds(std::numeric_limits<int64_t>::max()));
    if (s < 0.0 || s > end)
        return std::nullopt;
    int64_t t = pageStartNs + static_cast<int64_t>(std::ceil(s * 1e9));
    t = std::max(t, fromNs);
    // Step past rounding: the first nanosecond at which the condition holds.
    for (int i = 0; i < 4 && !holds(value(t)); ++i)
        ++t;
    if (!holds(value(t)))
        return std::nullopt;
    return t;
}

std::optional<int64_t> PlayedOutputs::firstAmplitudeAtLeast(int c, double threshold, int64_t fromNs) const
{
    return firstCrossing(c, false, true, threshold, fromNs);
}

std::optional<int64_t> PlayedOutputs::firstAmplitudeBelow(int c, double threshold, int64_t fromNs) const
{
    return firstCrossing(c, false, false, threshold, fromNs);
}

std::optional<int64_t> PlayedOutputs::firstFrequencyAtLeast(int c, double threshold, int64_t fromNs) const
{
    return firstCrossing(c, true, true, threshold, fromNs);
}

std::optional<int64_t> PlayedOutputs::firstFrequencyBelow(int c, double threshold, int64_t fromNs) const
{
    return firstCrossing(c, true, false, threshold, fromNs);
}

} // namespace zorsim
