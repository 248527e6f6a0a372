// Output state encoding: one state of the output record becomes one 768-byte
// page of the FPGA's eight-page ring.

#include "driverbase.h"

#include "zodrv_mcasp.h"
#include "zoplatform.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

// The pages the run's software switches left, in order.
std::mutex leftLock;
std::vector<DriverLeftPage> leftPages;

// Page layout (offsets from the page base).
constexpr uint16_t PAGE_RECORD_COUNT = 0;
constexpr uint16_t PAGE_RECORDS = 2;
constexpr uint16_t PAGE_RECORD_SIZE = 14;
constexpr uint16_t PAGE_RANGE_BITS = 464;
constexpr uint16_t PAGE_DC_OFFSETS = 466;
constexpr uint16_t PAGE_TRIGGER = 482;
constexpr uint16_t PAGE_DURATION = 484;
constexpr uint16_t PAGE_BO_WORD = 488;
constexpr uint16_t PAGE_BO_TURN_TIMES = 490;
constexpr uint16_t PAGE_BO_HOLD_TIMES = 506;
constexpr uint16_t PAGE_BI_EDGES = 522;
constexpr uint16_t PAGE_BI_LOGIC = 524;
constexpr uint16_t PAGE_RAMPS = 526;
constexpr uint16_t PAGE_RAMP_SIZE = 12;
constexpr uint16_t PAGE_DCSIM = 622;

// Registers.
constexpr uint16_t REG_PAGE_SWITCH = 0x8302;
constexpr uint16_t REG_STATE_COUNT = 0x8304;
constexpr uint16_t REG_STATE = 0x8336;
constexpr uint16_t REG_PLAYED = 0x84F2;   // + 4 p, 32 bits, microseconds
constexpr uint16_t REG_DCSIM_FACTOR = 0x8340;

// Record control word.
constexpr uint16_t CTRL_OSCILLATE = 0x0800;
constexpr uint16_t CTRL_DCSIM = 0x1000;
constexpr uint16_t CTRL_FREQUENCY_RAMP = 0x2000;
constexpr uint16_t CTRL_AMPLITUDE_RAMP = 0x4000;
constexpr uint16_t CTRL_INITIATE = 0x8000;

// Amplitude word at full scale: an RMS value (AC) and a DC value give the
// same peak, so the AC constant is the DC constant times sqrt(2).
constexpr float AC_SCALE = 1952257920.0f;
constexpr float DC_SCALE = 1380454784.0f;
constexpr float DC_OFFSET_SCALE = 21063.426f;
constexpr float LLO_UNITS = 8.0f;   // the low-level output's full scale
constexpr double RAMP_TICKS = 28000.0;
constexpr double TWO_POW_32 = 4294967296.0;
constexpr double TWO_POW_64 = 18446744073709551616.0;

bool usableScale(float value)
{
    return std::isfinite(value) && value > 0.0f;
}

float fullScale(int c)
{
    return c < 4 ? globalConfigureHardData->maxVRange : globalConfigureHardData->maxIRange;
}

// a <= b, with values within 1e-6 counting as equal.
bool fuzzyLessEqual(float a, float b)
{
    return !(a - b > 1e-6f);
}

// Whether channel c carries the fault's DC component for the faulted phases.
bool takesPartInFault(int c, uint32_t linkPhase)
{
    switch (c) {
    case COMM_PORT_TYPE_UA:
    case COMM_PORT_TYPE_IA:
        return linkPhase == COMM_LINKPHASE_TYPE_UA || linkPhase == COMM_LINKPHASE_TYPE_UAB
            || linkPhase == COMM_LINKPHASE_TYPE_UCA || linkPhase == COMM_LINKPHASE_TYPE_UABC;
    case COMM_PORT_TYPE_UB:
    case COMM_PORT_TYPE_IB:
        return linkPhase == COMM_LINKPHASE_TYPE_UB || linkPhase == COMM_LINKPHASE_TYPE_UAB
            || linkPhase == COMM_LINKPHASE_TYPE_UBC || linkPhase == COMM_LINKPHASE_TYPE_UABC;
    case COMM_PORT_TYPE_UC:
    case COMM_PORT_TYPE_IC:
        return linkPhase == COMM_LINKPHASE_TYPE_UC || linkPhase == COMM_LINKPHASE_TYPE_UBC
            || linkPhase == COMM_LINKPHASE_TYPE_UCA || linkPhase == COMM_LINKPHASE_TYPE_UABC;
    default:
        return false;
    }
}

// Brings a phase into [0, 360]: what subtracting 360 while above 360 and
// adding 360 while below 0 gives, without the loop (a positive multiple of
// 360 stays 360). NaN and infinities give 0.
double foldPhase(double phase)
{
    if (!std::isfinite(phase))
        return 0.0;
    if (phase > 360.0) {
        const double r = std::fmod(phase, 360.0);
        return r == 0.0 ? 360.0 : r;
    }
    if (phase < 0.0) {
        const double r = std::fmod(phase, 360.0);
        return r < 0.0 ? r + 360.0 : 0.0;
    }
    return phase;
}

int writeU16(uint32_t addr, uint16_t value)
{
    return drv_mcasp_write_u16(uint16_t(addr), value);
}

int writeU32(uint32_t addr, uint32_t value)
{
    return drv_mcasp_write_u32(uint16_t(addr), value);
}

int writeS64(uint32_t addr, int64_t value)
{
    const uint64_t bits = uint64_t(value);
    return writeU32(addr, uint32_t(bits)) + writeU32(addr + 4, uint32_t(bits >> 32));
}

// Calibration of the low-level outputs (skipped in MANUAL_LLO mode).
void calibrateLowLevel(const uint32_t rangeBits, float dcOffsets[8])
{
    CommDriverTestOutputData& out = *globalTestOutputData;
    const CommDriverConfigureCalData& cal = *globalConfigureCalData;
    // The low-level DC offset is measured in volts of the low-level signal.
    // Where the low-level outputs are the terminals it is scaled to the
    // channel's full scale like every other low-level term. Behind the
    // amplifiers it keeps its unscaled effect: the amplifiers' own offset
    // (measured with it in place) replaces it in the automatic range.
    const bool lowLevelTerminals = globalConfigureHardData->systemPowerType == COMM_SYSTEM_POWER_TYPE_LLO;
    for (int c = 0; c < COMM_PORT_COUNT; ++c) {
        const int r = (rangeBits >> c) & 1;
        const float fs = fullScale(c);
        const float dcOffsetScale = lowLevelTerminals ? fs / LLO_UNITS : 1.0f;
        dcOffsets[c] = 0.0f;
        for (int k = 0; k < COMM_COMPONENT_COUNT; ++k) {
            float& amplitude = out.outputRanges[c][k];
            const float x = std::fabs(amplitude) * LLO_UNITS / fs;
            int ai = 0;
            for (int i = 1; i <= 3; ++i) {
                if (cal.lloampAmpLimits[c][r][i] > 0.0f && fuzzyLessEqual(x, cal.lloampAmpLimits[c][r][i])) {
                    ai = i;
                    break;
                }
            }
            const int di =
                (cal.llodcAmpLimits[c][r][1] > 0.0f && fuzzyLessEqual(x, cal.llodcAmpLimits[c][r][1])) ? 1 : 0;
            if (out.outputFrequencies[c][k] != 0.0f) {
                amplitude *= cal.lloampAmpFactors[c][r][ai];
                if (amplitude > 0.0f)
                    amplitude += cal.lloampAmpOffsets[c][r][ai] * fs / LLO_UNITS;
                if (k == 0 && amplitude > 0.0f)
                    dcOffsets[c] += cal.llodcoAmpOffsets[c][r][0] * dcOffsetScale;
            } else {
                amplitude = amplitude * cal.llodcAmpFactors[c][r][di] + cal.llodcAmpOffsets[c][r][di] * fs / LLO_UNITS;
            }
        }
    }
}

// Amplitude factor by frequency, interpolated between calibration points.
float frequencyFactor(const CommDriverConfigureCalData& cal, int c, int r, float frequency)
{
    const float f = std::fabs(frequency);
    int fi = 0;
    for (int i = 1; i <= 9; ++i) {
        if (cal.acfacFrqLimits[c][r][i] > 0.0f && fuzzyLessEqual(f, cal.acfacFrqLimits[c][r][i])) {
            fi = i;
            break;
        }
    }
    if (fi == 0)
        return cal.acfacFrqFactors[c][r][0];
    const float p0 = cal.acfacFrqPoints[c][r][fi - 1];
    const float p1 = cal.acfacFrqPoints[c][r][fi];
    const float f0 = cal.acfacFrqFactors[c][r][fi - 1];
    const float f1 = cal.acfacFrqFactors[c][r][fi];
    if (std::fabs(p1 - p0) > 0.0001f)
        return f0 + (frequency - p0) * (f1 - f0) / (p1 - p0);
    return f1;
}

// Calibration of the power-amplifier path.
void calibratePowerAmplifier(const uint32_t rangeBits, float dcOffsets[8])
{
    CommDriverTestOutputData& out = *globalTestOutputData;
    const CommDriverConfigureCalData& cal = *globalConfigureCalData;
    const bool byFrequency = out.outputLevelControlType == COMM_LEVELCONTROL_TYPE_AUTO;
    for (int c = 0; c < COMM_PORT_COUNT; ++c) {
        const int r = (rangeBits >> c) & 1;
        dcOffsets[c] = 0.0f;
        for (int k = 0; k < COMM_COMPONENT_COUNT; ++k) {
            float& amplitude = out.outputRanges[c][k];
            float& frequency = out.outputFrequencies[c][k];
            const float y = std::fabs(amplitude);
            int ai = 0;
            for (int i = 1; i <= 3; ++i) {
                if (cal.acampAmpLimits[c][r][i] > 0.0f && fuzzyLessEqual(y, cal.acampAmpLimits[c][r][i])) {
                    ai = i;
                    break;
                }
            }
            const float ff = (byFrequency && std::fabs(frequency) > 75.0f) ? frequencyFactor(cal, c, r, frequency)
                                                                         : 1.0f;
            const int di =
                (cal.dcampAmpLimits[c][r][1] > 0.0f && fuzzyLessEqual(y, cal.dcampAmpLimits[c][r][1])) ? 1 : 0;
            if (frequency != 0.0f) {
                amplitude *= cal.acampAmpFactors[c][r][ai];
                if (amplitude > 0.0f)
                    amplitude += cal.acampAmpOffsets[c][r][ai];
                amplitude *= ff;
                out.outputAngles[c][k] += cal.acphaPhaOffsets[c][r][0];
                frequency *= cal.acfrqFrqFactors[c][r][0];
                if (k == 0 && amplitude > 0.0f)
                    dcOffsets[c] += cal.acdcoAmpOffsets[c][r][0];
            } else {
                amplitude = amplitude * cal.dcampAmpFactors[c][r][di] + cal.dcampAmpOffsets[c][r][di];
            }
        }
    }
}

struct Ramp
{
    uint32_t length = 0;
    int64_t step = 0;
    bool frequency = false;
    bool amplitude = false;
};

// Ramp of one channel from its uncorrected component-0 values; the ramp
// arithmetic runs at the fixed rate of 28000 ticks per second.
Ramp channelRamp(int c, bool bigRange, float a0, float f0)
{
    const CommDriverTestOutputData& out = *globalTestOutputData;
    Ramp ramp;
    auto lengthAndStep = [](double rate, double from, double stop, double& length, double& step) {
        step = rate / RAMP_TICKS;
        if (stop < from) {
            length = (from - stop) * RAMP_TICKS;
            step = -step;
        } else {
            length = (stop - from) * RAMP_TICKS;
        }
        if (std::fabs(rate) > 1e-5)
            length /= rate;
    };
    double length = 0.0;
    double step = 0.0;
    if (out.propertyEnables[c] & COMM_STATE_PROPERTY_ENABLE_TYPE_DFDT) {
        lengthAndStep(out.dfdtSlipValue[c], f0, out.dfdtStopValue[c], length, step);
        step = step / RAMP_TICKS * TWO_POW_64;
        ramp.frequency = true;
    } else if (out.propertyEnables[c] & COMM_STATE_PROPERTY_ENABLE_TYPE_DRDT) {
        lengthAndStep(out.drdtSlipValue[c], a0, out.drdtStopValue[c], length, step);
        step *= double(std::fabs(f0) > 1e-5f ? AC_SCALE : DC_SCALE) / double(fullScale(c));
        if (!bigRange)
            step *= 10.0;
        step *= TWO_POW_32;
        ramp.amplitude = true;
    } else {
        return ramp;
    }
    ramp.length = driverSaturate<uint32_t>(std::round(length));
    ramp.step = driverSaturate<int64_t>(step);
    return ramp;
}

} // namespace

void driverBaseSetTestCloseDefine()
{
    if (!globalTestOutputData)
        return;
    CommDriverTestOutputData& out = *globalTestOutputData;
    const DecayDefine& decay = out.decayDefine;
    out.closeAngle = 0.0f;
    out.dcsimFactor = 0;
    out.dcsimIRange = 0.0f;
    out.dcsimVRange = 0.0f;
    if (!decay.decayEnable) {
        out.dcsimEnable = false;
        return;
    }
    if (!(std::isfinite(decay.decayFactor) && decay.decayFactor > 0.0f)) {
        qWarning("driverBaseSetTestCloseDefine: decay factor %g refused, no DC decay", double(decay.decayFactor));
        out.dcsimEnable = false;
        return;
    }
    out.dcsimEnable = true;
    out.dcsimFactor = driverSaturate<int32_t>(-std::trunc(599.1863 / double(decay.decayFactor)));

    double current;
    if (decay.faultRange >= 1e-6f) {
        // Inception angle relative to the fault angle, as a fraction of a turn
        // in sine-table steps.
        double a = double(decay.closeAngle) - double(decay.faultAngle);
        if (!std::isfinite(a))
            a = 0.0;
        a -= std::trunc(a / 360.0) * 360.0;
        if (a < 0.0)
            a += 360.0;
        if (a >= 360.0)
            a -= 360.0;
        const double x = a / 360.0 * DRIVER_SINX_STEPS;
        const int i = qBound(0, int(x), DRIVER_SINX_STEPS - 1);
        const double s0 = local_const_sinx_table[i];
        const double s = s0 + (double(local_const_sinx_table[i + 1]) - s0) * (x - i);
        current = -(std::sqrt(2.0) * double(decay.faultRange) * s);
    } else {
        current = decay.faultRange;
    }
    out.dcsimIRange = float(current);
    out.dcsimVRange = float(current * double(decay.decayZValue));
}

int driverBaseSendTestParameterData(bool zeroValue, bool bocurrent)
{
    if (!globalTestOutputData || !globalConfigureHardData || !globalConfigureCalData || !globalTestControlData
        || !globalTestStatusData || !globalConfigureSoftData)
        return -1;
    CommDriverTestOutputData& out = *globalTestOutputData;
    const CommDriverConfigureHardData& hard = *globalConfigureHardData;
    CommDriverTestControlData& control = *globalTestControlData;

    // A configuration without a usable full scale or tick rate would divide
    // by zero: the page is not written and the output stays off.
    if (!usableScale(hard.maxVRange) || !usableScale(hard.maxIRange)) {
        qWarning("driverBaseSendTestParameterData: full scale refused (voltage %g V, current %g A), page not written",
                 double(hard.maxVRange), double(hard.maxIRange));
        return -1;
    }
    if (hard.periodFrequency == 0) {
        qWarning("driverBaseSendTestParameterData: tick rate 0 refused, page not written");
        return -1;
    }

    // 1. Silence and present binary outputs.
    if (zeroValue) {
        for (auto& channel : out.outputRanges)
            for (float& amplitude : channel)
                amplitude = 0.0f;
        out.outputTime = globalConfigureSoftData->zeroOutputTime;
    }
    if (bocurrent) {
        for (int i = 0; i < COMM_BINARY_COUNT; ++i)
            out.outputBOInitStates[i] = globalTestStatusData->statusBOStates[i];
    }

    // 2. Components per channel and the flags common to every record.
    const int components = control.controlOutputHarmEnable ? 4 : (control.controlOscillateEnable ? 2 : 1);
    const uint16_t recordCount = uint16_t(COMM_PORT_COUNT * components);
    uint16_t common = out.outputLinkStateType == COMM_LINKSTATE_TYPE_INITIATE ? CTRL_INITIATE : 0;

    // 3. Range bits.
    uint32_t rangeBits = 0;
    if (out.outputLevelControlType != COMM_LEVELCONTROL_TYPE_AUTO) {
        for (int c = 0; c < COMM_PORT_COUNT; ++c)
            if (out.outputLevelStates[c] == COMM_LEVELSTATE_TYPE_BIG)
                rangeBits |= 1u << c;
    } else {
        driverBaseSetTestCloseDefine();
        for (int c = 0; c < COMM_PORT_COUNT; ++c) {
            // Magnitudes: a negative amplitude drives its range as much as a positive one.
            float sum = 0.0f;
            for (int k = 0; k < COMM_COMPONENT_COUNT; ++k)
                sum += std::fabs(out.outputRanges[c][k]);
            if (out.dcsimEnable && takesPartInFault(c, out.linkPhaseType))
                sum += std::fabs(c < 4 ? out.dcsimVRange : out.dcsimIRange);
            if (sum > (c < 4 ? hard.levelVSmall : hard.levelISmall))
                rangeBits |= 1u << c;
        }
    }

    // 4. Uncorrected component 0 for the ramps.
    float a0[COMM_PORT_COUNT];
    float f0[COMM_PORT_COUNT];
    for (int c = 0; c < COMM_PORT_COUNT; ++c) {
        a0[c] = out.outputRanges[c][0];
        f0[c] = out.outputFrequencies[c][0];
    }

    // 5, 6. Calibration.
    float dcOffsets[COMM_PORT_COUNT] = {};
    if (!zeroValue && out.outputLevelControlType != COMM_LEVELCONTROL_TYPE_MANUAL_LLO)
        calibrateLowLevel(rangeBits, dcOffsets);
    if (!zeroValue
        && (out.outputLevelControlType == COMM_LEVELCONTROL_TYPE_AUTO
            || out.outputLevelControlType == COMM_LEVELCONTROL_TYPE_MANUAL_ACFACTOR)
        && hard.systemPowerType != COMM_SYSTEM_POWER_TYPE_LLO)
        calibratePowerAmplifier(rangeBits, dcOffsets);

    // 7. Record count.
    const uint32_t base = uint32_t(localOutputUpdateOffset) * DRIVER_PAGE_SIZE;
    int result = writeU16(base + PAGE_RECORD_COUNT, recordCount);

    // 8. DC offset words.
    for (int c = 0; c < COMM_PORT_COUNT; ++c)
        dcOffsets[c] = dcOffsets[c] * DC_OFFSET_SCALE / fullScale(c);

    // 9, 10. Ramps and the decaying DC component.
    bool dcsimChannel[COMM_PORT_COUNT] = {};
    int dcsimSlot = 0;
    for (int c = 0; c < COMM_PORT_COUNT; ++c) {
        const bool big = (rangeBits >> c) & 1;
        const Ramp ramp = channelRamp(c, big, a0[c], f0[c]);
        if (ramp.frequency)
            common |= CTRL_FREQUENCY_RAMP;
        if (ramp.amplitude)
            common |= CTRL_AMPLITUDE_RAMP;
        result += writeU32(base + PAGE_RAMPS + PAGE_RAMP_SIZE * c, ramp.length);
        result += writeS64(base + PAGE_RAMPS + PAGE_RAMP_SIZE * c + 4, ramp.step);

        if (out.dcsimEnable) {
            double value = 0.0;
            if (takesPartInFault(c, out.linkPhaseType))
                value = c < 4 ? out.dcsimVRange : out.dcsimIRange;
            if (std::fabs(value) > 1e-5) {
                value *= double(DC_SCALE) / double(fullScale(c));
                if (!big)
                    value *= 10.0;
                result += writeU32(base + PAGE_DCSIM + 4 * dcsimSlot, uint32_t(driverSaturate<int32_t>(value)));
                ++dcsimSlot;
                dcsimChannel[c] = true;
            }
        }
    }
    for (int j = dcsimSlot; j < COMM_PORT_COUNT; ++j)
        result += writeU32(base + PAGE_DCSIM + 4 * j, 0);
    result += writeU32(REG_DCSIM_FACTOR, uint32_t(out.dcsimFactor));

    // 11. Small range: the output stage divides by ten.
    for (int c = 0; c < COMM_PORT_COUNT; ++c) {
        if ((rangeBits >> c) & 1)
            continue;
        dcOffsets[c] *= 10.0f;
        for (float& amplitude : out.outputRanges[c])
            amplitude *= 10.0f;
    }

    // 12. Phase conventions: currents inverted, negative amplitudes turned.
    for (int c = 0; c < COMM_PORT_COUNT; ++c) {
        for (int k = 0; k < COMM_COMPONENT_COUNT; ++k) {
            double phase = out.outputAngles[c][k];
            if (c >= 4)
                phase += 180.0;
            if (out.outputRanges[c][k] < 0.0f) {
                out.outputRanges[c][k] = -out.outputRanges[c][k];
                phase += 180.0;
            }
            if (hard.powerAmpType == 1 && c >= 4)
                phase += 180.0;
            out.outputAngles[c][k] = float(foldPhase(phase));
        }
    }

    // 13. Component records, channel-major.
    int r = 0;
    for (int c = 0; c < COMM_PORT_COUNT; ++c) {
        for (int k = 0; k < components; ++k, ++r) {
            uint16_t word = uint16_t(common | c);
            if (control.controlOscillateEnable) {
                if (k == 0)
                    word |= CTRL_OSCILLATE;
            } else if (dcsimChannel[c]) {
                word |= CTRL_DCSIM;
            }
            const float frequency = out.outputFrequencies[c][k];
            const float scale = (std::fabs(frequency) < 0.001f ? DC_SCALE : AC_SCALE) / fullScale(c);
            const uint32_t addr = base + PAGE_RECORDS + PAGE_RECORD_SIZE * r;
            result += writeU16(addr, word);
            result += writeU32(addr + 2, driverSaturate<uint32_t>(std::fabs(out.outputRanges[c][k]) * scale));
            result += writeU32(addr + 6, driverSaturate<uint32_t>(double(out.outputAngles[c][k]) / 360.0 * TWO_POW_32));
            result += writeU32(addr + 10,
                               driverSaturate<uint32_t>(double(frequency) / double(hard.periodFrequency) * TWO_POW_32));
        }
    }

    // 14. Page tail.
    result += writeU16(base + PAGE_RANGE_BITS, uint16_t(rangeBits));
    for (int c = 0; c < COMM_PORT_COUNT; ++c)
        result += writeU16(base + PAGE_DC_OFFSETS + 2 * c, uint16_t(driverSaturate<int32_t>(dcOffsets[c]) & 0xFFFF));

    uint16_t boWord = 0;
    uint16_t biWord = 0;
    for (int i = 0; i < COMM_BINARY_COUNT; ++i) {
        if (out.outputBOInitStates[i])
            boWord |= uint16_t(1u << i);
        if (out.outputBOTurnEnables[i])
            boWord |= uint16_t(1u << (8 + i));
        if (out.outputBOHoldEnables[i])
            boWord |= uint16_t(1u << (12 + i));
        if (out.outputBIRiseEnables[i])
            biWord |= uint16_t(1u << (2 * i));
        if (out.outputBIFallEnables[i])
            biWord |= uint16_t(1u << (2 * i + 1));
    }
    result += writeU16(base + PAGE_BO_WORD, boWord);
    for (int i = 0; i < COMM_BINARY_COUNT; ++i)
        result += writeU32(base + PAGE_BO_HOLD_TIMES + 4 * i, driverMicroseconds(out.outputBOHoldTimes[i]));
    for (int i = 0; i < COMM_BINARY_COUNT; ++i)
        result += writeU32(base + PAGE_BO_TURN_TIMES + 4 * i, driverMicroseconds(out.outputBOTurnTimes[i]));
    result += writeU16(base + PAGE_BI_EDGES, biWord);
    result += writeU16(base + PAGE_BI_LOGIC, out.outputBILogic != COMM_BILOGIC_TYPE_OR ? 0xFFFF : 0);

    result += writeU32(base + PAGE_DURATION, driverPageTicks(out.outputTime, hard.periodFrequency));
    result += writeU16(base + PAGE_TRIGGER, out.outputTriggerType);
    return result;
}

int driverBaseSendTestStateCount()
{
    if (!globalTestOutputData)
        return -1;
    return drv_mcasp_write_u16(REG_STATE_COUNT, uint16_t(globalTestOutputData->outputStateCount & 0xFFFF));
}

int driverBaseSendTestStatesWritten(uint32_t written)
{
    const uint32_t cut = uint32_t(localStatesCut.load());
    const uint32_t count = written > cut ? written - cut : 0;
    return drv_mcasp_write_u16(REG_STATE_COUNT, uint16_t(std::min<uint32_t>(count, 0xFFFF)));
}

int driverBaseResetUpdateOffset()
{
    if (!globalTestControlData || !globalTestStatusData || !globalTestOutputData)
        return -1;
    localStatesCut = 0;
    localOutputUpdateOffset = 0;
    localOutputSwitchOffset = 0;
    localActionLeftFrom = -1;
    localOutputPlayingOffset = 0;
    localOutputSkippedPages = 0;
    {
        std::lock_guard<std::mutex> lock(leftLock);
        leftPages.clear();
    }
    const int64_t now = zoplat::monotonicUs();
    localActionReadUs = now;
    localActionPlayingPage = 0;
    for (std::atomic<int64_t>& since : localActionPageSinceUs)
        since = now;
    CommDriverTestControlData& control = *globalTestControlData;
    control.controlAutoOutputStateEnable = 0;
    control.controlOutputHarmEnable = 0;
    control.controlOscillateEnable = 0;
    CommDriverTestStatusData& status = *globalTestStatusData;
    status.statusTestActionCount = 0;
    status.statusTestActionFlag = 0;
    status.statusTestActionStateIndex = 255;
    status.statusTestActionIndex = 0;
    for (int i = 0; i < COMM_BINARY_COUNT; ++i) {
        status.statusTestActionFlags[i] = 0;
        status.statusTestActionBIStates[i] = 0;
    }
    globalTestOutputData->dcsimEnable = false;
    for (uint16_t& property : globalTestOutputData->propertyEnables)
        property = COMM_STATE_PROPERTY_ENABLE_TYPE_BASE;
    return 0;
}

int driverBaseSwitchUpdateOffset()
{
    const int page = (localOutputUpdateOffset + 1) % DRIVER_PAGE_COUNT;
    localOutputUpdateOffset = page;
    localOutputSwitchOffset = page;
    return 0;
}

namespace {

constexpr uint16_t SWITCH_SOFTWARE = 0x8000;

// Software page switches, from the testor and from the polling loop, one at
// a time: each knows where the instrument is when it moves it.
std::mutex switchLock;

// The instrument goes to `page` (the caller holds switchLock): the pages
// between the one it plays and `page` are skipped, `page` is entered. The
// page left is noted with the time it played.
int switchToPageLocked(int page)
{
    const int result = drv_mcasp_write_u16(REG_PAGE_SWITCH, uint16_t(page | SWITCH_SOFTWARE));
    if (result != 0)
        return result;
    unsigned skipped = localOutputSkippedPages;
    const int from = localOutputPlayingOffset;
    DriverLeftPage left;
    left.page = from;
    left.to = page;
    uint32_t us = 0;
    if (drv_mcasp_read_u32(uint16_t(REG_PLAYED + 4 * from), &us) == 0) {
        const double atMost = double(zoplat::monotonicUs() - localActionPageSinceUs[from].load()) / 1e6;
        left.playedUs = std::llround(driverStampSeconds(us, atMost) * 1e6);
    }
    {
        std::lock_guard<std::mutex> lock(leftLock);
        leftPages.push_back(left);
    }
    if (from != page)
        for (int p = (from + 1) % DRIVER_PAGE_COUNT; p != page; p = (p + 1) % DRIVER_PAGE_COUNT)
            skipped |= 1u << p;
    localOutputSkippedPages = skipped & ~(1u << page);
    localOutputPlayingOffset = page;
    return 0;
}

}   // namespace

int driverBaseSendTestSwitchState()
{
    if (!globalTestControlData)
        return -1;
    const int page = localOutputSwitchOffset;
    if (globalTestControlData->controlAutoOutputStateEnable)
        return drv_mcasp_write_u16(REG_PAGE_SWITCH, uint16_t(page));
    std::lock_guard<std::mutex> lock(switchLock);
    return switchToPageLocked(page);
}

int driverBaseSwitchEndedPage(int ended)
{
    if (!globalTestControlData || globalTestControlData->controlAutoOutputStateEnable)
        return -1;
    std::lock_guard<std::mutex> lock(switchLock);
    // The switch still names the ended page: nothing after it is ready yet,
    // the page is held.
    if (DriverStateWord(ended).page() == localOutputSwitchOffset)
        return 0;
    // Where the instrument is now: another switch may have moved it since
    // the state was read.
    uint16_t state = 0;
    const int result = drv_mcasp_read_u16(REG_STATE, &state);
    if (result != 0)
        return result;
    const DriverStateWord now(state);
    const int page = now.page();
    localOutputPlayingOffset = page;
    if (!now.ended() || page != DriverStateWord(ended).page() || page == localOutputSwitchOffset)
        return 0;
    return switchToPageLocked((page + 1) % DRIVER_PAGE_COUNT);
}

std::vector<DriverLeftPage> driverLeftPagesSince(size_t& next)
{
    std::lock_guard<std::mutex> lock(leftLock);
    std::vector<DriverLeftPage> since;
    if (next < leftPages.size())
        since.assign(leftPages.begin() + std::ptrdiff_t(next), leftPages.end());
    next = leftPages.size();
    return since;
}

int driverBaseReadStateWord(DriverStateWord* word)
{
    uint16_t state = 0;
    const int result = drv_mcasp_read_u16(REG_STATE, &state);
    if (result == 0 && word)
        *word = DriverStateWord(state);
    return result;
}

int driverBaseReadPlayedUs(int page, uint32_t* us)
{
    return drv_mcasp_read_u32(uint16_t(REG_PLAYED + 4 * (page & (DRIVER_PAGE_COUNT - 1))), us);
}

int driverBaseReadTestParameterData()
{
    uint16_t state = 0;
    int result = drv_mcasp_read_u16(REG_STATE, &state);
    const uint32_t base = uint32_t(DriverStateWord(state).page()) * DRIVER_PAGE_SIZE;
    uint16_t word = 0;
    uint32_t value = 0;
    result += drv_mcasp_read_u16(uint16_t(base + PAGE_RECORD_COUNT), &word);
    for (int r = 0; r < 8; ++r) {
        const uint32_t addr = base + PAGE_RECORDS + PAGE_RECORD_SIZE * r;
        result += drv_mcasp_read_u16(uint16_t(addr), &word);
        result += drv_mcasp_read_u32(uint16_t(addr + 2), &value);
    }
    result += drv_mcasp_read_u16(uint16_t(base + PAGE_RANGE_BITS), &word);
    result += drv_mcasp_read_u32(uint16_t(base + PAGE_DURATION), &value);
    return result;
}
