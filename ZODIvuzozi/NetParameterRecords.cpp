#include "NetParameterRecords.h"

#include "ControllerModuleTable.h"
#include "ModelAlternateEntity.h"
#include "ModelEntityCommon.h"
#include "ModelHarmonicEntity.h"
#include "ModelRampingEntity.h"
#include "ModelStateSequenceEntity.h"
#include "zocmm_share_testing_keyword_def.h"
#include "zocmm_testing_parameter_records.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>

namespace {

using StartDomain::Field;
using StartDomain::Kind;
namespace SD = StartDomain;
using F = NetRecordField;

// Fields no setting holds as sent.
const Field kStateNumber{"state number", Kind::Enumeration, 0, ModelStateSequenceEntity::kMaxStates - 1};
const Field kPointCount{"point count", Kind::Enumeration, 1, 8};
const Field kWholeNumber{"ramp factor", Kind::WholeNumber};
const Field kFundamental{"fundamental", Kind::Fundamental};
const Field kDebounce{"debounce", Kind::Debounce};
const Field kAny{"", Kind::Any};
// A ramping record's angles, as the protocol gives them.
const Field kTurnAngle{"angle", Kind::TurnAngle};

constexpr u32 kPhase = sizeof(common_phase_base);
constexpr u32 kAngle = offsetof(common_phase_base, base_angle);
constexpr u32 kFrequency = offsetof(common_phase_base, base_frequency);

// ---- AC ----------------------------------------------------------------------------------
using AC = alternate_testing_parameter;
constexpr u32 kAcPhases = offsetof(AC, fault_models) + offsetof(alternate_ramping_model, direct);
constexpr u32 kAcRamp = offsetof(AC, fault_rampings);
namespace AcField {
enum : int { Dither, StepTime, Fall, Rise, Logic, Action, Amplitude, Angle, Frequency, Group, Port, Item, End, Step,
             Factor, kCount };
}
const NetRecordField kAcFields[AcField::kCount] = {
    {"debounce", offsetof(AC, dither_stime), F::F32, 1, 0, 1, 0, &kDebounce},
    {"step time", offsetof(AC, fault_output_stime), F::F32, 1, 0, 1, 0, &SD::kAlternate[SD::Alternate::StepTime], true},
    {"falling edges", offsetof(AC, fault_input_binary_fall_enable), F::U32, 1, 0, 1, 0, &kAny},
    {"rising edges", offsetof(AC, fault_input_binary_rise_enable), F::U32, 1, 0, 1, 0, &kAny},
    {"input logic", offsetof(AC, fault_input_binary_logic), F::U8, 1, 0, 1, 0, &SD::kAlternate[SD::Alternate::Logic], true},
    {"action on a trip", offsetof(AC, ramping_direct_type), F::U8, 1, 0, 1, 0, &SD::kAlternate[SD::Alternate::Action], true},
    {"amplitude %1", kAcPhases, F::F32, 8, kPhase, 8, 0, &SD::kAlternate[SD::Alternate::Amplitude], true, F::PortInGroup},
    {"angle %1", kAcPhases + kAngle, F::F32, 8, kPhase, 8, 0, &SD::kAlternate[SD::Alternate::Angle], true, F::PortInGroup},
    {"frequency %1", kAcPhases + kFrequency, F::F32, 8, kPhase, 8, 0, &SD::kAlternate[SD::Alternate::Frequency], true, F::PortInGroup},
    {"ramp group", kAcRamp + offsetof(common_ramping_variable, group_index), F::U8, 1, 0, 1, 0, &kAny},
    {"ramped port group", kAcRamp + offsetof(common_ramping_variable, ramping_kind), F::U8, 1, 0, 1, 0,
     &SD::kAlternate[SD::Alternate::Port], true},
    {"ramped item", kAcRamp + offsetof(common_ramping_variable, ramping_item), F::U8, 1, 0, 1, 0,
     &SD::kAlternate[SD::Alternate::Item], true},
    {"end value", kAcRamp + offsetof(common_ramping_variable, ramping_to), F::F32, 1, 0, 1, 0,
     &SD::kAlternate[SD::Alternate::End], true},
    {"step", kAcRamp + offsetof(common_ramping_variable, ramping_length), F::F32, 1, 0, 1, 0,
     &SD::kAlternate[SD::Alternate::Step], true},
    {"ramp factor", kAcRamp + offsetof(common_ramping_variable, ramping_factor), F::F32, 1, 0, 1, 0, &kWholeNumber},
};

// ---- One state -----------------------------------------------------------------------------
using ST = ordinary_testing_parameter;
constexpr u32 kStatePhases = offsetof(ST, bases);
namespace StateField {
enum : int { Number, Dither, Outputs, Time, Rise, Fall, Logic, Link, Trigger, Amplitude, Angle, Frequency, kCount };
}
const NetRecordField kStateFields[StateField::kCount] = {
    {"state number", offsetof(ST, testing_index), F::U32, 1, 0, 1, 0, &kStateNumber},
    {"debounce", offsetof(ST, dither_stime), F::F32, 1, 0, 1, 0, &kDebounce},
    {"outputs", offsetof(ST, output_binary_hold_state), F::U32, 1, 0, 1, 0, &kAny},
    {"time", offsetof(ST, output_stime), F::F32, 1, 0, 1, 0, &SD::kSequence[SD::Sequence::Time], true},
    {"rising edges", offsetof(ST, input_binary_rise_enable), F::U32, 1, 0, 1, 0, &kAny},
    {"falling edges", offsetof(ST, input_binary_fall_enable), F::U32, 1, 0, 1, 0, &kAny},
    {"input logic", offsetof(ST, input_binary_logic), F::U8, 1, 0, 1, 0, &SD::kSequence[SD::Sequence::Logic], true},
    {"link", offsetof(ST, link_state_type), F::U8, 1, 0, 1, 0, &SD::kSequence[SD::Sequence::Link], true},
    {"trigger", offsetof(ST, trigger_kind), F::U8, 1, 0, 1, 0, &SD::kSequence[SD::Sequence::Trigger], true},
    {"amplitude %1", kStatePhases, F::F32, 8, kPhase, 8, 0, &SD::kSequence[SD::Sequence::Amplitude], true, F::PortInGroup},
    {"angle %1", kStatePhases + kAngle, F::F32, 8, kPhase, 8, 0, &SD::kSequence[SD::Sequence::Angle], true, F::PortInGroup},
    {"frequency %1", kStatePhases + kFrequency, F::F32, 8, kPhase, 8, 0, &SD::kSequence[SD::Sequence::Frequency], true, F::PortInGroup},
};

// ---- Harmonic ------------------------------------------------------------------------------
using HA = harmonic_testing_parameter;
constexpr u32 kWave = offsetof(HA, faultWaves);
constexpr u32 kWavePort = sizeof(harmonic_phase_wave);
constexpr u32 kHaRamp = offsetof(HA, fault_rampings);
namespace HarmonicField {
enum : int { Dither, StepTime, Fall, Rise, Logic, Action, Amplitude, Angle, Fundamental, Harmonics, Group, Port, Slot,
             Item, End, Step, Factor, kCount };
}
const NetRecordField kHarmonicFields[HarmonicField::kCount] = {
    {"debounce", offsetof(HA, dither_stime), F::F32, 1, 0, 1, 0, &kDebounce},
    {"step time", offsetof(HA, fault_output_stime), F::F32, 1, 0, 1, 0, &SD::kHarmonic[SD::Harmonic::StepTime], true},
    {"falling edges", offsetof(HA, fault_input_binary_fall_enable), F::U32, 1, 0, 1, 0, &kAny},
    {"rising edges", offsetof(HA, fault_input_binary_rise_enable), F::U32, 1, 0, 1, 0, &kAny},
    {"input logic", offsetof(HA, fault_input_binary_logic), F::U8, 1, 0, 1, 0, &SD::kHarmonic[SD::Harmonic::Logic], true},
    {"action on a trip", offsetof(HA, ramping_direct_type), F::U8, 1, 0, 1, 0, &SD::kHarmonic[SD::Harmonic::Action], true},
    // Port k, slot h: value 4k + h.
    {"amplitude %1", kWave + offsetof(harmonic_phase_wave, ranges), F::F32, 32, 4, 4, kWavePort,
     &SD::kHarmonic[SD::Harmonic::Amplitude], true, F::PortPerGroup},
    {"angle %1", kWave + offsetof(harmonic_phase_wave, angles), F::F32, 32, 4, 4, kWavePort,
     &SD::kHarmonic[SD::Harmonic::Angle], true, F::PortPerGroup},
    {"fundamental", kWave + offsetof(harmonic_phase_wave, frequencies), F::F32, 1, 0, 1, 0, &kFundamental},
    {"frequency of slot %1", kWave + offsetof(harmonic_phase_wave, frequencies) + 4, F::F32, 3, 4, 3, 0,
     &SD::kHarmonic[SD::Harmonic::Frequency], true},
    {"ramp group", kHaRamp + offsetof(common_ramping_variable, group_index), F::U8, 1, 0, 1, 0, &kAny},
    {"ramped port group", kHaRamp + offsetof(common_ramping_variable, ramping_kind), F::U8, 1, 0, 1, 0,
     &SD::kHarmonic[SD::Harmonic::Port], true},
    {"ramped slot", kHaRamp + offsetof(common_ramping_variable, ramping_mode_or_order), F::U8, 1, 0, 1, 0,
     &SD::kHarmonic[SD::Harmonic::Slot], true},
    {"ramped item", kHaRamp + offsetof(common_ramping_variable, ramping_item), F::U8, 1, 0, 1, 0,
     &SD::kHarmonic[SD::Harmonic::Item], true},
    {"end value", kHaRamp + offsetof(common_ramping_variable, ramping_to), F::F32, 1, 0, 1, 0,
     &SD::kHarmonic[SD::Harmonic::End], true},
    {"step", kHaRamp + offsetof(common_ramping_variable, ramping_length), F::F32, 1, 0, 1, 0,
     &SD::kHarmonic[SD::Harmonic::Step], true},
    {"ramp factor", kHaRamp + offsetof(common_ramping_variable, ramping_factor), F::F32, 1, 0, 1, 0, &kWholeNumber},
};

// ---- Ramping -------------------------------------------------------------------------------
using RA = simple_ramping_testing_parameter;
constexpr u32 kFault = offsetof(RA, fault_output);
constexpr u32 kFaultPoint = sizeof(common_analog_base);
namespace RampingField {
enum : int { Project, Module, NormalAmplitude, NormalAngle, NormalFrequency, NormalTime, NormalEnable, NormalOnce,
             IntervalEnable, IntervalAmplitude, IntervalAngle, IntervalFrequency, IntervalTime, Points,
             FaultAmplitude, FaultAngle, FaultFrequency, Step, End, Time, Port, Item, Link, Logic, Edges, Outputs,
             kCount };
}
const NetRecordField kRampingFields[RampingField::kCount] = {
    {"project", offsetof(RA, project_index), F::U32, 1, 0, 1, 0, &kAny},
    {"module", offsetof(RA, module_index), F::U32, 1, 0, 1, 0, &kAny},
    {"normal amplitude %1", offsetof(RA, normal_output), F::F32, 8, kPhase, 8, 0,
     &SD::kRamping[SD::Ramping::Amplitude], true, F::PortInGroup},
    {"normal angle %1", offsetof(RA, normal_output) + kAngle, F::F32, 8, kPhase, 8, 0,
     &kTurnAngle, false, F::PortInGroup},
    {"normal frequency %1", offsetof(RA, normal_output) + kFrequency, F::F32, 8, kPhase, 8, 0,
     &SD::kRamping[SD::Ramping::Frequency], true, F::PortInGroup},
    {"normal time", offsetof(RA, normal_output_time), F::F32, 1, 0, 1, 0, &SD::kRamping[SD::Ramping::Time], true},
    {"normal shown", offsetof(RA, normal_output_enable), F::U8, 1, 0, 1, 0, &kAny},
    {"normal once", offsetof(RA, normal_output_only_once), F::U8, 1, 0, 1, 0, &kAny},
    {"interval shown", offsetof(RA, interval_output_enable), F::U8, 1, 0, 1, 0, &kAny},
    {"interval amplitude %1", offsetof(RA, interval_output), F::F32, 8, kPhase, 8, 0,
     &SD::kRamping[SD::Ramping::Amplitude], true, F::PortInGroup},
    {"interval angle %1", offsetof(RA, interval_output) + kAngle, F::F32, 8, kPhase, 8, 0,
     &kTurnAngle, false, F::PortInGroup},
    {"interval frequency %1", offsetof(RA, interval_output) + kFrequency, F::F32, 8, kPhase, 8, 0,
     &SD::kRamping[SD::Ramping::Frequency], true, F::PortInGroup},
    {"interval time", offsetof(RA, interval_output_time), F::F32, 1, 0, 1, 0, &SD::kRamping[SD::Ramping::Time], true},
    {"point count", offsetof(RA, testing_point_cnt), F::U32, 1, 0, 1, 0, &kPointCount},
    // Point t, port k: value 8t + k.
    {"fault amplitude %1", kFault, F::F32, 64, kPhase, 8, kFaultPoint, &SD::kRamping[SD::Ramping::Amplitude], true, F::PortInGroup},
    {"fault angle %1", kFault + kAngle, F::F32, 64, kPhase, 8, kFaultPoint, &kTurnAngle, false, F::PortInGroup},
    {"fault frequency %1", kFault + kFrequency, F::F32, 64, kPhase, 8, kFaultPoint,
     &SD::kRamping[SD::Ramping::Frequency], true, F::PortInGroup},
    {"step %1", offsetof(RA, ramp_step), F::F32, 8, 4, 8, 0, &SD::kRamping[SD::Ramping::Step], true},
    {"end value %1", offsetof(RA, ramp_end), F::F32, 8, 4, 8, 0, &SD::kRamping[SD::Ramping::End], true},
    {"step time %1", offsetof(RA, ramp_time), F::F32, 8, 4, 8, 0, &SD::kRamping[SD::Ramping::RampTime], true},
    {"port group %1", offsetof(RA, ramp_variable), F::U8, 8, 1, 8, 0, &SD::kRamping[SD::Ramping::Port], true},
    {"item %1", offsetof(RA, ramp_item), F::U8, 8, 1, 8, 0, &SD::kRamping[SD::Ramping::Item], true},
    {"link %1", offsetof(RA, output_link_type), F::U8, 8, 1, 8, 0, &SD::kRamping[SD::Ramping::Link], true},
    {"input logic %1", offsetof(RA, bi_trigger_logic), F::U8, 8, 1, 8, 0, &SD::kRamping[SD::Ramping::Logic], true},
    {"input edges %1", offsetof(RA, bi_trigger_state), F::U8, 32, 1, 32, 0, &SD::kRamping[SD::Ramping::Edges], true},
    {"output %1", offsetof(RA, bo_state), F::U8, 32, 1, 32, 0, &SD::kRamping[SD::Ramping::Output], true},
};

const NetRecordTable kTables[] = {
    {"AC", SHARE_TESTING_PARAMETER_TYPE_ALTERNATE, sizeof(AC), kAcFields, AcField::kCount},
    {"state", SHARE_TESTING_PARAMETER_TYPE_ORDINARY, sizeof(ST), kStateFields, StateField::kCount},
    {"harmonic", SHARE_TESTING_PARAMETER_TYPE_HARMONIC, sizeof(HA), kHarmonicFields, HarmonicField::kCount},
    {"ramping", SHARE_SIMPLE_TESTING_PARAMETER_TYPE_RAMPING, sizeof(RA), kRampingFields, RampingField::kCount},
};

// A record read through its table. The fields no setting holds are checked
// as they are read (read() false, `why` set, once one is outside its domain).
class Reader
{
public:
    Reader(const u8* record, const NetRecordTable& table, const NetRecordLimits& limits, QString* why)
        : record(record), table(table), conditions(netConditions(limits, -1.0)), why(why)
    {
    }

    double operator()(int field, u32 i = 0) const { return netRecordValue(record, table.fields[field], i); }

    // The value of a field no setting holds, within its domain.
    bool read(int field, double& value, u32 i = 0)
    {
        const NetRecordField& f = table.fields[field];
        value = (*this)(field, i);
        const QString outside = StartDomain::outside(*f.domain, StartDomain::Value{value}, conditions);
        if (outside.isEmpty())
            return true;
        if (why)
            *why = QStringLiteral("%1 %2").arg(StartDomain::fieldName(f.name, QString::number(i + 1)), outside);
        return false;
    }

    // A float taken as a 32-bit integer.
    bool whole(int field, qint32& value, u32 i = 0)
    {
        double v = 0.0;
        if (!read(field, v, i))
            return false;
        value = qint32(std::trunc(v));
        return true;
    }

    // Eight ports' amplitudes, angles and frequencies; false when one of
    // them no setting holds lies outside its domain.
    bool phases(int amplitude, u32 first, NetPhaseValues& out)
    {
        for (u32 k = 0; k < 8; ++k) {
            double* values[3] = {&out.ranges[k], &out.angles[k], &out.frequencies[k]};
            for (int f = 0; f < 3; ++f) {
                if (table.fields[amplitude + f].setting)
                    *values[f] = (*this)(amplitude + f, first + k);
                else if (!read(amplitude + f, *values[f], first + k))
                    return false;
            }
        }
        return true;
    }

    void biStates(int rise, int fall, qint32 (&out)[4]) const
    {
        for (int i = 0; i < 4; ++i)
            out[i] = netConvertBIState(u32((*this)(rise)), u32((*this)(fall)), i);
    }

private:
    const u8* record;
    const NetRecordTable& table;
    StartConditions conditions;
    QString* why;
};

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

const NetRecordTable& netAlternateTable() { return kTables[0]; }
const NetRecordTable& netStateTable() { return kTables[1]; }
const NetRecordTable& netHarmonicTable() { return kTables[2]; }
const NetRecordTable& netRampingTable() { return kTables[3]; }

double netRecordValue(const u8* record, const NetRecordField& field, u32 i)
{
    const u8* at = record + field.at(i);
    switch (field.type) {
    case NetRecordField::U8:
        return double(*at);
    case NetRecordField::U32: {
        u32 v;
        std::memcpy(&v, at, sizeof v);
        return double(v);
    }
    case NetRecordField::F32: {
        f32 v;
        std::memcpy(&v, at, sizeof v);
        return double(v);
    }
    }
    return 0.0;
}

StartConditions netConditions(const NetRecordLimits& limits, double ditherTime)
{
    StartConditions c;
    c.debounce = ditherTime >= 0.0 ? ditherTime : limits.ditherTime;
    c.triggerTimes = limits.triggerTimes;
    c.longestPage = limits.longestPage;
    return c;
}

qint32 netConvertBIState(u32 riseMask, u32 fallMask, int i)
{
    return qint32(2 * ((fallMask >> i) & 1u) + ((riseMask >> i) & 1u));
}

double netRecordDither(double recordDither)
{
    return recordDither >= StartDomain::kShortestDebounce ? recordDither : -1.0;
}

bool netDecodeAlternate(const u8* record, u32 length, const NetRecordLimits& limits, NetAlternateSettings& out,
                        QString* why)
{
    using namespace AcField;
    if (!record || length != sizeof(AC))
        return false;
    Reader r(record, kTables[0], limits, why);
    NetAlternateSettings s;
    double dither = 0.0;
    if (!r.read(Dither, dither) || !r.whole(Factor, s.actionRampFactor))
        return false;
    s.autoRampEnabled = r(Group) == 0.0;
    s.actionRampTime = r(StepTime);
    s.actionRampStep = r(Step);
    s.faultActionPort = qint32(r(Port));
    s.faultActionItem = qint32(r(Item));
    s.faultActionType = qint32(r(Action));
    s.endRampValue = r(End);
    if (!r.phases(Amplitude, 0, s.outputs))
        return false;
    r.biStates(Rise, Fall, s.stateOutputBIStates);
    s.stateBILogicTypes = qint32(r(Logic));
    s.ditherTime = netRecordDither(dither);
    if (!netCheckAlternate(s, limits, why))
        return false;
    out = s;
    return true;
}

bool netDecodeState(const u8* record, u32 length, const NetRecordLimits& limits, NetStateSettings& out, QString* why)
{
    using namespace StateField;
    if (!record || length != sizeof(ST))
        return false;
    Reader r(record, kTables[1], limits, why);
    NetStateSettings s;
    double number = 0.0;
    double dither = 0.0;
    if (!r.read(Number, number) || !r.read(Dither, dither))
        return false;
    s.state = qint32(number);
    if (!r.phases(Amplitude, 0, s.outputs))
        return false;
    s.stateOutputTime = r(Time);
    for (int i = 0; i < 4; ++i)
        s.stateOutputBOStates[i] = qint32((u32(r(Outputs)) >> i) & 1u);
    r.biStates(Rise, Fall, s.stateOutputBIStates);
    s.stateOutputLinkType = qint32(r(Link));
    s.stateBILogicType = qint32(r(Logic));
    s.stateTriggerType = qint32(r(Trigger));
    s.ditherTime = netRecordDither(dither);
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
    using namespace HarmonicField;
    if (!record || length != sizeof(HA))
        return false;
    Reader r(record, kTables[2], limits, why);
    NetHarmonicSettings s;
    double fundamental = 0.0;
    double dither = 0.0;
    if (!r.read(Dither, dither) || !r.whole(Factor, s.actionRampFactor) || !r.read(Fundamental, fundamental))
        return false;
    s.rateFrequency = limits.rateFrequency;
    if (fundamental > 0.0 && fundamental != limits.rateFrequency) {
        s.rateFrequency = fundamental;
        s.rateFrequencyChanged = true;
    }
    // Slot 0 is the fundamental; each harmonic at its whole order of it.
    s.outputOrders[0] = 1;
    for (u32 h = 0; h < 3; ++h) {
        const double order = std::trunc(r(Harmonics, h) / s.rateFrequency);
        if (!(std::fabs(order) <= 2147483647.0)) {
            if (why)
                *why = QStringLiteral("frequency of slot %1 %2 Hz is no whole order of %3 Hz")
                           .arg(h + 2)
                           .arg(r(Harmonics, h))
                           .arg(s.rateFrequency);
            return false;
        }
        s.outputOrders[h + 1] = qint32(order);
    }
    s.endRampValue = r(End);
    s.autoRampEnabled = r(Group) == 0.0;
    s.actionRampTime = r(StepTime);
    s.actionRampStep = r(Step);
    s.faultActionPort = qint32(r(Port));
    s.faultActionItem = qint32(r(Item));
    s.faultActionOrder = qint32(r(Slot));
    s.faultActionType = qint32(r(Action));
    for (u32 k = 0; k < 8; ++k) {
        for (u32 h = 0; h < 4; ++h) {
            s.outputRanges[k][h] = r(Amplitude, 4 * k + h);
            s.outputAngles[k][h] = r(Angle, 4 * k + h);
            s.outputFrequencies[k][h] = s.rateFrequency;
        }
    }
    r.biStates(Rise, Fall, s.stateOutputBIStates);
    s.stateBILogicTypes = qint32(r(Logic));
    s.ditherTime = netRecordDither(dither);
    if (!netCheckHarmonic(s, limits, why))
        return false;
    out = s;
    return true;
}

bool netDecodeRamping(const u8* record, u32 length, const NetRecordLimits& limits, NetRampingSettings& out,
                      QString* why)
{
    using namespace RampingField;
    if (!record || length != sizeof(RA))
        return false;
    Reader r(record, kTables[3], limits, why);
    double count = 0.0;
    if (!r.read(Points, count))
        return false;
    const u32 points = u32(count);
    NetRampingSettings s;
    s.projectId = u32(r(Project));
    s.moduleId = u32(r(Module));
    s.stateCount = qint32(3 * points);
    const bool normalShown = r(NormalEnable) != 0.0;
    const bool normalOnce = r(NormalOnce) != 0.0;
    for (u32 t = 0; t < points; ++t) {
        NetRampingState& normal = s.states[3 * t];
        if (!r.phases(NormalAmplitude, 0, normal.outputs))
            return false;
        normal.stateOutputTime = normalShown && (!normalOnce || t == 0) ? r(NormalTime) : 0.0;
        normal.stateOutputLinkType = 1;

        NetRampingState& ramp = s.states[3 * t + 1];
        if (!r.phases(FaultAmplitude, 8 * t, ramp.outputs))
            return false;
        ramp.rampItem = qint32(r(Item, t));
        ramp.rampPort = qint32(r(Port, t));
        ramp.rampStepValue = r(Step, t);
        ramp.rampEndValue = r(End, t);
        ramp.stateOutputTime = r(Time, t);
        ramp.stateTriggerType = 2;
        ramp.stateOutputLinkType = qint32(r(Link, t));
        ramp.stateBILogicType = qint32(r(Logic, t));
        for (u32 i = 0; i < 4; ++i) {
            ramp.stateOutputBIStates[i] = qint32(r(Edges, 4 * t + i));
            ramp.stateOutputBOStates[i] = qint32(r(Outputs, 4 * t + i));
        }

        NetRampingState& interval = s.states[3 * t + 2];
        if (!r.phases(IntervalAmplitude, 0, interval.outputs))
            return false;
        interval.stateOutputTime = r(IntervalEnable) != 0.0 ? r(IntervalTime) : 0.0;
    }
    if (!netCheckRamping(s, limits, why))
        return false;
    out = s;
    return true;
}

bool netCheckAlternate(const NetAlternateSettings& s, const NetRecordLimits& limits, QString* why)
{
    auto scratch = std::make_unique<ModelAlternateEntity>();
    netApplyAlternate(s, limits, *scratch, false);
    scratch->resetRampState();
    return startTakes(alternateStartRefusal(*scratch, netConditions(limits, s.ditherTime)), why);
}

bool netCheckStates(const NetStateSettings* const* states, const NetRecordLimits* const* limits, int count,
                    QString* why)
{
    auto scratch = std::make_unique<ModelStateSequenceEntity>();
    for (int i = 0; i < count; ++i)
        netApplyState(*states[i], *limits[i], *scratch, false);
    scratch->stateCount = count;
    const double dither = count > 0 ? states[count - 1]->ditherTime : -1.0;
    return startTakes(stateSequenceStartRefusal(*scratch, netConditions(*limits[std::max(0, count - 1)], dither)),
                      why);
}

bool netCheckHarmonic(const NetHarmonicSettings& s, const NetRecordLimits& limits, QString* why)
{
    auto scratch = std::make_unique<ModelHarmonicEntity>();
    netApplyHarmonic(s, limits, *scratch, false);
    scratch->resetRampState();
    return startTakes(harmonicStartRefusal(*scratch, netConditions(limits, s.ditherTime)), why);
}

bool netCheckRamping(const NetRampingSettings& s, const NetRecordLimits& limits, QString* why)
{
    auto scratch = std::make_unique<ModelRampingEntity>();
    netApplyRamping(s, limits, *scratch, false);
    return startTakes(rampingStartRefusal(*scratch, netConditions(limits, -1.0)), why);
}

void netApplyAlternate(const NetAlternateSettings& s, const NetRecordLimits& limits, ModelAlternateEntity& e,
                       bool clamp)
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
    if (clamp)
        e.formatLimitValue(limits.maxVRange, limits.maxIRange);
    else
        e.keepLimits(limits.maxVRange, limits.maxIRange);
    std::copy(std::begin(s.stateOutputBIStates), std::end(s.stateOutputBIStates), std::begin(e.stateOutputBIStates));
    e.stateBILogicTypes = ModelEntity::AOBILogicType(s.stateBILogicTypes);
}

void netApplyState(const NetStateSettings& s, const NetRecordLimits& limits, ModelStateSequenceEntity& e, bool clamp)
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
    if (clamp)
        e.formatLimitValue(limits.maxVRange, limits.maxIRange);
    else
        e.keepLimits(limits.maxVRange, limits.maxIRange);
}

void netApplyHarmonic(const NetHarmonicSettings& s, const NetRecordLimits& limits, ModelHarmonicEntity& e, bool clamp)
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
    if (clamp)
        e.formatLimitValue(limits.maxVRange, limits.maxIRange);
    else
        e.keepLimits(limits.maxVRange, limits.maxIRange);
    std::copy(std::begin(s.stateOutputBIStates), std::end(s.stateOutputBIStates), std::begin(e.stateOutputBIStates));
    e.stateBILogicTypes = ModelEntity::AOBILogicType(s.stateBILogicTypes);
}

void netApplyRamping(const NetRampingSettings& s, const NetRecordLimits& limits, ModelRampingEntity& e, bool clamp)
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
    if (clamp)
        e.formatLimitValue(limits.maxVRange, limits.maxIRange);
}
