#include "NetParameterRecords.h"

#include "ControllerModuleTable.h"
#include "ModelAlternateEntity.h"
#include "ModelEntityCommon.h"
#include "ModelHarmonicEntity.h"
#include "ModelRampingEntity.h"
#include "ModelStateSequenceEntity.h"
#include "zocmm_testing_parameter_records.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>

namespace {

// A float the record hands over as an integer: truncated, refused when it is
// not finite or outside the 32-bit range.
bool toInt32(double value, qint32& out)
{
    if (!std::isfinite(value))
        return false;
    const double whole = std::trunc(value);
    if (whole < -2147483648.0 || whole > 2147483647.0)
        return false;
    out = qint32(whole);
    return true;
}

void copyPhases(const common_analog_base& base, NetPhaseValues& out)
{
    for (int k = 0; k < 8; ++k) {
        out.ranges[k] = base.phases[k].base_range;
        out.angles[k] = base.phases[k].base_angle;
        out.frequencies[k] = base.phases[k].base_frequency;
    }
}

void copyBIStates(u32 rise, u32 fall, qint32 (&out)[4])
{
    for (int i = 0; i < 4; ++i)
        out[i] = netConvertBIState(rise, fall, i);
}

// An amplitude of channel k (0..3 voltages, 4..7 currents) within 0 .. the
// device's largest range.
bool amplitudeValid(double amplitude, int k, const NetRecordLimits& limits)
{
    return amplitude >= 0.0 && amplitude <= (k < 4 ? limits.maxVRange : limits.maxIRange);
}

bool amplitudesValid(const common_analog_base& base, const NetRecordLimits& limits)
{
    for (int k = 0; k < 8; ++k) {
        if (!amplitudeValid(base.phases[k].base_range, k, limits))
            return false;
    }
    return true;
}

// Every port's amplitude within 0 .. its largest range, angle within 0..360,
// and while the amplitude is above 0 the frequency within 10..1000 Hz.
bool outputValid(const common_analog_base& base, const NetRecordLimits& limits)
{
    if (!amplitudesValid(base, limits))
        return false;
    for (int k = 0; k < 8; ++k) {
        const common_phase_base& p = base.phases[k];
        if (!(p.base_angle >= 0.0f && p.base_angle <= 360.0f))
            return false;
        if (p.base_range > 0.0f && !(p.base_frequency >= 10.0f && p.base_frequency <= 1000.0f))
            return false;
    }
    return true;
}

bool rampEndValid(u8 item, u8 variable, f32 end, const NetRecordLimits& limits)
{
    switch (item) {
    case 0:
        return end >= 0.0f && end <= (variable < 8 ? limits.maxVRange : limits.maxIRange);
    case 1:
        return end >= 0.0f && end <= 360.0f;
    case 2:
        return end >= 0.0f && end <= 1000.0f;
    default:
        return true;
    }
}

// The automatic ramp of an AC or harmonic record (group 0): it moves by a
// step, and an amplitude ramp of a port group ends within the device's range
// of the group's channels (a group of none moves nothing).
bool autoRampValid(const common_ramping_variable& ramp, const NetRecordLimits& limits)
{
    if (ramp.group_index != 0)
        return true;
    if (ramp.ramping_length == 0.0f)
        return false;   // it would never reach its end
    if (ramp.ramping_item != ModelEntity::RAMP_ITEM_TYPE_RANGE)
        return true;
    int channels[3];
    const int count = ModelEntity::rampPortChannels(ramp.ramping_kind, channels);
    for (int c = 0; c < count; ++c) {
        if (!amplitudeValid(ramp.ramping_to, channels[c], limits))
            return false;
    }
    return true;
}

template <typename E>
void setPhases(const NetPhaseValues& from, E& ranges, E& angles, E& frequencies)
{
    std::copy(std::begin(from.ranges), std::end(from.ranges), std::begin(ranges));
    std::copy(std::begin(from.angles), std::end(from.angles), std::begin(angles));
    std::copy(std::begin(from.frequencies), std::end(from.frequencies), std::begin(frequencies));
}

// The start's verdict on settings in an entity nothing runs.
bool startTakes(const ModuleStart& check, QString* why)
{
    if (check.refused && why)
        *why = check.refusal;
    return !check.refused;
}

} // namespace

qint32 netConvertBIState(u32 riseMask, u32 fallMask, int i)
{
    return qint32(2 * ((fallMask >> i) & 1u) + ((riseMask >> i) & 1u));
}

double netRecordDither(double recordDither, double present, double upper)
{
    if (recordDither >= 0.001 && recordDither <= upper && recordDither != present)
        return recordDither;
    return -1.0;
}

bool netDecodeAlternate(const u8* record, u32 length, const NetRecordLimits& limits, NetAlternateSettings& out,
                        QString* why)
{
    if (!record || length != sizeof(alternate_testing_parameter))
        return false;
    const auto r = zocmm_wire_load<alternate_testing_parameter>(record, length);
    const common_ramping_variable& ramp = r.fault_rampings[0];
    // The item picks the array a ramp moves and the pushed values are read from.
    if (ramp.ramping_item > 2)
        return false;
    if (!autoRampValid(ramp, limits) || !amplitudesValid(r.fault_models[0].direct, limits))
        return false;
    NetAlternateSettings s;
    if (!toInt32(ramp.ramping_factor, s.actionRampFactor))
        return false;
    s.autoRampEnabled = ramp.group_index == 0;
    s.actionRampTime = r.fault_output_stime;
    s.actionRampStep = ramp.ramping_length;
    s.faultActionPort = ramp.ramping_kind;
    s.faultActionItem = ramp.ramping_item;
    s.faultActionType = r.ramping_direct_type;
    s.endRampValue = ramp.ramping_to;
    copyPhases(r.fault_models[0].direct, s.outputs);
    copyBIStates(r.fault_input_binary_rise_enable, r.fault_input_binary_fall_enable, s.stateOutputBIStates);
    s.stateBILogicTypes = r.fault_input_binary_logic;
    s.ditherTime = netRecordDither(r.dither_stime, limits.ditherTime, std::numeric_limits<double>::infinity());
    if (!netCheckAlternate(s, limits, why))
        return false;
    out = s;
    return true;
}

bool netDecodeState(const u8* record, u32 length, const NetRecordLimits& limits, NetStateSettings& out, QString* why)
{
    if (!record || length != sizeof(ordinary_testing_parameter))
        return false;
    const auto r = zocmm_wire_load<ordinary_testing_parameter>(record, length);
    if (r.testing_index >= u32(ModelStateSequenceEntity::kMaxStates) || !amplitudesValid(r.bases[0], limits))
        return false;
    NetStateSettings s;
    s.state = qint32(r.testing_index);
    copyPhases(r.bases[0], s.outputs);
    s.stateOutputTime = r.output_stime;
    for (int i = 0; i < 4; ++i)
        s.stateOutputBOStates[i] = qint32((r.output_binary_hold_state >> i) & 1u);
    copyBIStates(r.input_binary_rise_enable, r.input_binary_fall_enable, s.stateOutputBIStates);
    s.stateOutputLinkType = r.link_state_type;
    s.stateBILogicType = r.input_binary_logic;
    s.stateTriggerType = r.trigger_kind;
    s.ditherTime = netRecordDither(r.dither_stime, limits.ditherTime, std::numeric_limits<double>::infinity());
    // Checked as a sequence of this state alone.
    NetStateSettings first = s;
    first.state = 0;
    const NetStateSettings* states[] = {&first};
    const NetRecordLimits* stateLimits[] = {&limits};
    if (!netCheckStates(states, stateLimits, 1, why))
        return false;
    out = s;
    return true;
}

bool netDecodeHarmonic(const u8* record, u32 length, const NetRecordLimits& limits, NetHarmonicSettings& out,
                       QString* why)
{
    if (!record || length != sizeof(harmonic_testing_parameter))
        return false;
    const auto r = zocmm_wire_load<harmonic_testing_parameter>(record, length);
    const common_ramping_variable& ramp = r.fault_rampings[0];
    // The ramped slot indexes the four harmonic slots.
    if (ramp.ramping_mode_or_order > 3 || !autoRampValid(ramp, limits))
        return false;
    NetHarmonicSettings s;
    if (!toInt32(ramp.ramping_factor, s.actionRampFactor))
        return false;
    const harmonic_analog_wave& wave = r.faultWaves[0];
    const double fundamental = wave.phases[0].frequencies[0];
    s.rateFrequency = limits.rateFrequency;
    if (!std::isfinite(fundamental))
        return false;
    if (fundamental > 0.0) {
        if (fundamental < 10.0 || fundamental > 1000.0)
            return false;
        if (fundamental != limits.rateFrequency) {
            s.rateFrequency = fundamental;
            s.rateFrequencyChanged = true;
        }
    }
    for (int h = 0; h < 4; ++h) {
        if (!toInt32(wave.phases[0].frequencies[h] / s.rateFrequency, s.outputOrders[h]))
            return false;
    }
    s.endRampValue = ramp.ramping_to;
    s.autoRampEnabled = ramp.group_index == 0;
    s.actionRampTime = r.fault_output_stime;
    s.actionRampStep = ramp.ramping_length;
    s.faultActionPort = ramp.ramping_kind;
    s.faultActionItem = ramp.ramping_item;
    s.faultActionOrder = ramp.ramping_mode_or_order;
    s.faultActionType = r.ramping_direct_type;
    for (int k = 0; k < 8; ++k) {
        for (int h = 0; h < 4; ++h) {
            if (!amplitudeValid(wave.phases[k].ranges[h], k, limits))
                return false;
            s.outputRanges[k][h] = wave.phases[k].ranges[h];
            s.outputAngles[k][h] = wave.phases[k].angles[h];
            s.outputFrequencies[k][h] = s.rateFrequency;
        }
    }
    copyBIStates(r.fault_input_binary_rise_enable, r.fault_input_binary_fall_enable, s.stateOutputBIStates);
    s.stateBILogicTypes = r.fault_input_binary_logic;
    s.ditherTime = netRecordDither(r.dither_stime, limits.ditherTime, 10.0);
    if (!netCheckHarmonic(s, limits, why))
        return false;
    out = s;
    return true;
}

bool netDecodeRamping(const u8* record, u32 length, const NetRecordLimits& limits, NetRampingSettings& out,
                      QString* why)
{
    if (!record || length != sizeof(simple_ramping_testing_parameter))
        return false;
    const auto r = zocmm_wire_load<simple_ramping_testing_parameter>(record, length);
    const u32 points = r.testing_point_cnt;
    if (points < 1 || points > 8)
        return false;
    if (!outputValid(r.normal_output, limits) || !outputValid(r.interval_output, limits))
        return false;
    for (u32 t = 0; t < points; ++t) {
        if (!outputValid(r.fault_output[t], limits))
            return false;
        if (!rampEndValid(r.ramp_item[t], r.ramp_variable[t], r.ramp_end[t], limits))
            return false;
    }
    NetRampingSettings s;
    s.projectId = r.project_index;
    s.moduleId = r.module_index;
    s.stateCount = qint32(3 * points);
    for (u32 t = 0; t < points; ++t) {
        NetRampingState& normal = s.states[3 * t];
        copyPhases(r.normal_output, normal.outputs);
        const bool normalShown = r.normal_output_enable && (!r.normal_output_only_once || t == 0);
        normal.stateOutputTime = normalShown ? double(r.normal_output_time) : 0.0;
        normal.stateOutputLinkType = 1;

        NetRampingState& ramp = s.states[3 * t + 1];
        copyPhases(r.fault_output[t], ramp.outputs);
        ramp.rampItem = r.ramp_item[t];
        ramp.rampPort = r.ramp_variable[t];
        ramp.rampStepValue = r.ramp_step[t];
        ramp.rampEndValue = r.ramp_end[t];
        ramp.stateOutputTime = r.ramp_time[t];
        ramp.stateTriggerType = 2;
        ramp.stateOutputLinkType = r.output_link_type[t];
        ramp.stateBILogicType = r.bi_trigger_logic[t];
        for (int i = 0; i < 4; ++i) {
            ramp.stateOutputBIStates[i] = r.bi_trigger_state[t][i];
            ramp.stateOutputBOStates[i] = r.bo_state[t][i];
        }

        NetRampingState& interval = s.states[3 * t + 2];
        copyPhases(r.interval_output, interval.outputs);
        interval.stateOutputTime = r.interval_output_enable ? double(r.interval_output_time) : 0.0;
    }
    if (!netCheckRamping(s, limits, why))
        return false;
    out = s;
    return true;
}

bool netCheckAlternate(const NetAlternateSettings& s, const NetRecordLimits& limits, QString* why)
{
    auto scratch = std::make_unique<ModelAlternateEntity>();
    netApplyAlternate(s, limits, *scratch);
    scratch->resetRampState();
    return startTakes(alternateStartRefusal(*scratch), why);
}

bool netCheckStates(const NetStateSettings* const* states, const NetRecordLimits* const* limits, int count,
                    QString* why)
{
    auto scratch = std::make_unique<ModelStateSequenceEntity>();
    for (int i = 0; i < count; ++i)
        netApplyState(*states[i], *limits[i], *scratch);
    scratch->stateCount = count;
    return startTakes(stateSequenceStartRefusal(*scratch), why);
}

bool netCheckHarmonic(const NetHarmonicSettings& s, const NetRecordLimits& limits, QString* why)
{
    auto scratch = std::make_unique<ModelHarmonicEntity>();
    netApplyHarmonic(s, limits, *scratch);
    scratch->resetRampState();
    return startTakes(harmonicStartRefusal(*scratch), why);
}

bool netCheckRamping(const NetRampingSettings& s, const NetRecordLimits& limits, QString* why)
{
    auto scratch = std::make_unique<ModelRampingEntity>();
    netApplyRamping(s, limits, *scratch);
    return startTakes(rampingStartRefusal(*scratch), why);
}

void netApplyAlternate(const NetAlternateSettings& s, const NetRecordLimits& limits, ModelAlternateEntity& e)
{
    QMutexLocker lock(&e.entityLock);
    e.autoRampEnabled = s.autoRampEnabled;
    e.actionRampTime = s.actionRampTime;
    e.actionRampStep = s.actionRampStep;
    e.faultActionPort = ModelEntity::RampPortType(s.faultActionPort);
    e.faultActionItem = ModelEntity::RampItemType(s.faultActionItem);
    e.faultActionType = ModelEntity::FaultActionType(s.faultActionType);
    e.actionRampFactor = s.actionRampFactor;
    e.endRampValue = s.endRampValue;
    setPhases(s.outputs, e.outputRanges, e.outputAngles, e.outputFrequencies);
    e.formatLimitValue(limits.maxVRange, limits.maxIRange);
    std::copy(std::begin(s.stateOutputBIStates), std::end(s.stateOutputBIStates), std::begin(e.stateOutputBIStates));
    e.stateBILogicTypes = ModelEntity::AOBILogicType(s.stateBILogicTypes);
}

void netApplyState(const NetStateSettings& s, const NetRecordLimits& limits, ModelStateSequenceEntity& e)
{
    const int st = s.state;
    QMutexLocker lock(&e.entityLock);
    setPhases(s.outputs, e.stateOutputRanges[st], e.stateOutputAngles[st], e.stateOutputFrequencies[st]);
    e.stateOutputTimes[st] = s.stateOutputTime;
    std::copy(std::begin(s.stateOutputBOStates), std::end(s.stateOutputBOStates),
              std::begin(e.stateOutputBOStates[st]));
    std::copy(std::begin(s.stateOutputBIStates), std::end(s.stateOutputBIStates),
              std::begin(e.stateOutputBIStates[st]));
    e.stateOutputLinkTypes[st] = ModelEntity::AOLinkStateType(s.stateOutputLinkType);
    e.stateBILogicTypes[st] = ModelEntity::AOBILogicType(s.stateBILogicType);
    e.stateTriggerTypes[st] = ModelEntity::AOTriggerType(s.stateTriggerType);
    e.formatLimitValue(limits.maxVRange, limits.maxIRange);
}

void netApplyHarmonic(const NetHarmonicSettings& s, const NetRecordLimits& limits, ModelHarmonicEntity& e)
{
    QMutexLocker lock(&e.entityLock);
    e.endRampValue = s.endRampValue;
    e.actionRampFactor = s.actionRampFactor;
    e.autoRampEnabled = s.autoRampEnabled;
    e.actionRampTime = s.actionRampTime;
    e.actionRampStep = s.actionRampStep;
    e.faultActionPort = ModelEntity::RampPortType(s.faultActionPort);
    e.faultActionItem = ModelEntity::RampItemType(s.faultActionItem);
    e.faultActionOrder = s.faultActionOrder;
    e.faultActionType = ModelEntity::FaultActionType(s.faultActionType);
    std::copy(std::begin(s.outputOrders), std::end(s.outputOrders), std::begin(e.outputOrders));
    std::memcpy(e.outputRanges, s.outputRanges, sizeof e.outputRanges);
    std::memcpy(e.outputAngles, s.outputAngles, sizeof e.outputAngles);
    std::memcpy(e.outputFrequencies, s.outputFrequencies, sizeof e.outputFrequencies);
    e.formatLimitValue(limits.maxVRange, limits.maxIRange);
    std::copy(std::begin(s.stateOutputBIStates), std::end(s.stateOutputBIStates), std::begin(e.stateOutputBIStates));
    e.stateBILogicTypes = ModelEntity::AOBILogicType(s.stateBILogicTypes);
}

void netApplyRamping(const NetRampingSettings& s, const NetRecordLimits& limits, ModelRampingEntity& e)
{
    QMutexLocker lock(&e.entityLock);
    e.stateCount = s.stateCount;
    e.maxVoltage = limits.maxVRange;
    e.maxCurrent = limits.maxIRange;
    for (int st = 0; st < s.stateCount; ++st) {
        const NetRampingState& r = s.states[st];
        setPhases(r.outputs, e.stateOutputRanges[st], e.stateOutputAngles[st], e.stateOutputFrequencies[st]);
        e.stateOutputTimes[st] = r.stateOutputTime;
        e.stateTriggerTypes[st] = ModelEntity::AOTriggerType(r.stateTriggerType);
        e.stateOutputLinkTypes[st] = ModelEntity::AOLinkStateType(r.stateOutputLinkType);
        e.stateBILogicTypes[st] = ModelEntity::AOBILogicType(r.stateBILogicType);
        std::copy(std::begin(r.stateOutputBIStates), std::end(r.stateOutputBIStates),
                  std::begin(e.stateOutputBIStates[st]));
        std::copy(std::begin(r.stateOutputBOStates), std::end(r.stateOutputBOStates),
                  std::begin(e.stateOutputBOStates[st]));
        for (int slot = 0; slot < ModelRampingEntity::kRampSlots; ++slot) {
            const bool ramped = slot == 0 && st % 3 == 1;
            e.rampBeginValues[st][slot] = 0.0;
            e.rampEndValues[st][slot] = ramped ? r.rampEndValue : 0.0;
            e.rampStepValues[st][slot] = ramped ? r.rampStepValue : 0.0;
            e.rampPorts[st][slot] = ModelEntity::RampPortType(ramped ? r.rampPort : 0);
            e.rampItems[st][slot] = ModelEntity::RampItemType(ramped ? r.rampItem : 0);
        }
    }
    e.formatLimitValue(limits.maxVRange, limits.maxIRange);
}
