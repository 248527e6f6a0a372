#include "ModuleStartDomains.h"

#include "CommDriverData.h"
#include "ControllerModuleTable.h"
#include "ModelAlternateEntity.h"
#include "ModelDirectEntity.h"
#include "ModelHarmonicEntity.h"
#include "ModelRampingEntity.h"
#include "ModelStateSequenceEntity.h"

#include <QMutexLocker>

#include <cmath>

using namespace ModelEntity;

StartConditions StartConditions::inForce()
{
    StartConditions c;
    if (const CommDriverConfigureSoftData* soft = globalConfigureSoftData)
        c.debounce = soft->ditherTime;
    if (const CommDriverClockPPXConfigData* ppx = globalClockPPXData)
        c.triggerTimes = ppx->clk_ppx_count > 0;
    if (const CommDriverConfigureHardData* hard = globalConfigureHardData) {
        if (hard->periodFrequency > 0)
            c.longestPage = double(std::numeric_limits<uint32_t>::max()) / double(hard->periodFrequency);
    }
    return c;
}

namespace StartDomain {

const Field kAlternate[Alternate::kCount] = {
    {"%1 amplitude", Kind::Amplitude},
    {"%1 angle", Kind::Angle},
    {"%1 frequency", Kind::Frequency},
    {"step time", Kind::PageTime},
    {"step", Kind::Step},
    {"end value", Kind::Finite},
    {"ramped port group", Kind::Enumeration, RAMP_PORT_TYPE_UA, RAMP_PORT_TYPE_IAIBIC},
    {"ramped item", Kind::Enumeration, RAMP_ITEM_TYPE_RANGE, RAMP_ITEM_TYPE_FREQUENCY},
    {"action on a trip", Kind::Enumeration, ACTION_TYPE_STOP, ACTION_TYPE_CONTINUE},
    {"input %1 edges", Kind::Enumeration, 0, 3},
    {"input logic", Kind::Enumeration, AO_BILOGIC_TYPE_OR, AO_BILOGIC_TYPE_AND},
};

const Field kDirect[Direct::kCount] = {
    {"%1 amplitude", Kind::Amplitude},
    {"step time", Kind::PageTime},
    {"step", Kind::Step},
    {"end value", Kind::Finite},
    {"ramped port group", Kind::Enumeration, RAMP_PORT_TYPE_UA, RAMP_PORT_TYPE_IAIBIC},
    {"ramped item", Kind::Enumeration, RAMP_ITEM_TYPE_RANGE, RAMP_ITEM_TYPE_RANGE},
    {"action on a trip", Kind::Enumeration, ACTION_TYPE_STOP, ACTION_TYPE_CONTINUE},
    {"input %1 edges", Kind::Enumeration, 0, 3},
    {"input logic", Kind::Enumeration, AO_BILOGIC_TYPE_OR, AO_BILOGIC_TYPE_AND},
};

const Field kHarmonic[Harmonic::kCount] = {
    {"%1 amplitude", Kind::Amplitude},
    {"%1 angle", Kind::Angle},
    {"%1 frequency", Kind::Frequency},
    {"step time", Kind::PageTime},
    {"step", Kind::Step},
    {"end value", Kind::Finite},
    {"ramped port group", Kind::Enumeration, RAMP_PORT_TYPE_UA, RAMP_PORT_TYPE_IAIBIC},
    {"ramped item", Kind::Enumeration, RAMP_ITEM_TYPE_RANGE, RAMP_ITEM_TYPE_ANGLE},
    {"ramped slot", Kind::Enumeration, 0, 3},
    {"action on a trip", Kind::Enumeration, ACTION_TYPE_STOP, ACTION_TYPE_CONTINUE},
    {"input %1 edges", Kind::Enumeration, 0, 3},
    {"input logic", Kind::Enumeration, AO_BILOGIC_TYPE_OR, AO_BILOGIC_TYPE_AND},
};

const Field kSequence[Sequence::kCount] = {
    {"%1 amplitude", Kind::Amplitude},
    {"%1 angle", Kind::Angle},
    {"%1 frequency", Kind::Frequency},
    {"time", Kind::PageTimeOrNone},   // 0: a state of no time, left as it is entered
    {"trigger", Kind::Trigger, AO_TRIGGER_TYPE_TIME, AO_TRIGGER_TYPE_GPS},
    {"link", Kind::Enumeration, AO_LINKSTATE_TYPE_CONTINUE, AO_LINKSTATE_TYPE_INITIATE},
    {"input logic", Kind::Enumeration, AO_BILOGIC_TYPE_OR, AO_BILOGIC_TYPE_AND},
    {"input %1 edges", Kind::Enumeration, 0, 3},
    {"output %1", Kind::Enumeration, 0, 1},
};

const Field kRamping[Ramping::kCount] = {
    {"%1 amplitude", Kind::Amplitude},
    {"%1 angle", Kind::Angle},
    {"%1 frequency", Kind::Frequency},
    {"time", Kind::PageTimeOrNone},
    {"step time", Kind::PageTime},
    {"slot %1 step", Kind::Finite},   // 0: the slot is not used
    {"slot %1 begin value", Kind::Finite},
    {"slot %1 end value", Kind::RampEnd},
    {"slot %1 port group", Kind::Enumeration, RAMP_PORT_TYPE_UA, RAMP_PORT_TYPE_IAIBIC},
    {"slot %1 item", Kind::Enumeration, RAMP_ITEM_TYPE_RANGE, RAMP_ITEM_TYPE_FREQUENCY},
    {"trigger", Kind::Trigger, AO_TRIGGER_TYPE_TIME, AO_TRIGGER_TYPE_GPS},
    {"link", Kind::Enumeration, AO_LINKSTATE_TYPE_CONTINUE, AO_LINKSTATE_TYPE_INITIATE},
    {"input logic", Kind::Enumeration, AO_BILOGIC_TYPE_OR, AO_BILOGIC_TYPE_AND},
    {"input %1 edges", Kind::Enumeration, 0, 3},
    {"output %1", Kind::Enumeration, 0, 1},
};

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 10);
}

// "v unit outside low to high unit", or empty when low <= v <= high.
QString between(double v, double low, double high, const char* unit)
{
    if (v >= low && v <= high)
        return QString();
    const QString u = *unit ? QLatin1Char(' ') + QLatin1String(unit) : QString();
    return QStringLiteral("%1%2 outside %3 to %4%2").arg(number(v), u, number(low), number(high));
}

} // namespace

QString outside(const Field& field, const Value& v, const StartConditions& c)
{
    const double x = v.value;
    const char* amplitudeUnit = v.channel < AO_PORT_TYPE_IA ? "V" : "A";
    // Every domain but Any and Debounce holds finite values a float holds.
    if (field.kind != Kind::Any && field.kind != Kind::Debounce && !isFiniteFloat(x))
        return QStringLiteral("%1 is not finite").arg(number(x));
    switch (field.kind) {
    case Kind::Amplitude:
        return between(x, 0.0, v.limit, amplitudeUnit);
    case Kind::Angle:
        return between(x, -360.0, 360.0, "deg");
    case Kind::TurnAngle:
        return between(x, 0.0, 360.0, "deg");
    case Kind::Frequency:
        return v.outputs ? between(x, kMinOutputFrequency, kMaxOutputFrequency, "Hz") : QString();
    case Kind::PageTime:
        if (!(x > 0.0))
            return QStringLiteral("%1 s is not above 0 s").arg(number(x));
        return between(x, 0.0, c.longestPage, "s");
    case Kind::PageTimeOrNone:
        return between(x, 0.0, c.longestPage, "s");
    case Kind::Step:
        return x == 0.0 ? QStringLiteral("0 never reaches the end") : QString();
    case Kind::Finite:
    case Kind::Any:
        return QString();
    case Kind::Enumeration:
    case Kind::Trigger: {
        if (x != std::trunc(x) || x < field.first || x > field.last)
            return QStringLiteral("%1 is none of %2 to %3").arg(number(x)).arg(field.first).arg(field.last);
        if (field.kind == Kind::Trigger && x == AO_TRIGGER_TYPE_GPS && !c.triggerTimes)
            return QStringLiteral("GPS/IRIG-B, and no trigger time is set");
        return QString();
    }
    case Kind::RampEnd:
        if (v.item == RAMP_ITEM_TYPE_RANGE)
            return between(x, 0.0, v.limit, amplitudeUnit);
        if (v.item == RAMP_ITEM_TYPE_ANGLE)
            return between(x, 0.0, 360.0, "deg");
        return between(x, kMinOutputFrequency, kMaxOutputFrequency, "Hz");
    case Kind::WholeNumber:
        return between(std::trunc(x), -2147483648.0, 2147483647.0, "");
    case Kind::Fundamental:
        return x == 0.0 ? QString() : between(x, kMinOutputFrequency, kMaxOutputFrequency, "Hz");
    case Kind::Debounce:
        return x >= kShortestDebounce ? between(x, kShortestDebounce, kLongestDebounce, "s") : QString();
    }
    return QString();
}

QString fieldName(const char* name, const QString& where)
{
    const QString text = QString::fromLatin1(name);
    return text.contains(QLatin1String("%1")) ? text.arg(where) : text;
}

} // namespace StartDomain

namespace {

using StartDomain::Field;
using StartDomain::Value;

// Walks the settings in table order; the first value outside its field's
// domain is the refusal.
class DomainCheck
{
public:
    DomainCheck(const char* module, const StartConditions& conditions) : module(module), conditions(conditions) {}

    // `where` fills the field's %1; `prefix` names the state.
    void operator()(const Field& field, const Value& value, const QString& where = QString())
    {
        if (refused)
            return;
        const QString why = StartDomain::outside(field, value, conditions);
        if (why.isEmpty())
            return;
        refused = true;
        gpsState = field.kind == StartDomain::Kind::Trigger && value.value == AO_TRIGGER_TYPE_GPS
                   && why.startsWith(QLatin1String("GPS"));
        text = QStringLiteral("%1: %2%3 %4").arg(QLatin1String(module), prefix, StartDomain::fieldName(field.name, where), why);
    }

    // Eight channels of values, their frequencies judged by their amplitudes.
    void channels(const Field* table, int amplitude, const double* ranges, const double* angles,
                  const double* frequencies, double (*limit)(const void*, int), const void* entity)
    {
        for (int c = 0; c < 8; ++c) {
            const QString name = QLatin1String(channelName(c));
            (*this)(table[amplitude], Value{ranges[c], c, true, 0, limit(entity, c)}, name);
            (*this)(table[amplitude + 1], Value{angles[c], c}, name);
            (*this)(table[amplitude + 2], Value{frequencies[c], c, ranges[c] > 0.0}, name);
        }
    }

    void inputs(const Field& edges, const Field& logic, const qint32* biStates, qint32 biLogic)
    {
        for (int i = 0; i < 4; ++i)
            (*this)(edges, Value{double(biStates[i])}, QString::number(i + 1));
        (*this)(logic, Value{double(biLogic)});
    }

    ModuleStart result() const
    {
        ModuleStart start;
        if (!refused)
            return start;
        start.refused = true;
        start.reason = gpsState ? ControllerTestor::REFUSAL_TRIGGER_TIME : ControllerTestor::REFUSAL_VALUES;
        start.refusal = text;
        if (gpsState)
            start.numbers = {state + 1};
        return start;
    }

    bool done() const { return refused; }
    void inState(int s)
    {
        state = s;
        prefix = QStringLiteral("state %1 ").arg(s + 1);
    }

private:
    const char* module;
    StartConditions conditions;
    QString prefix;
    int state = 0;
    bool refused = false;
    bool gpsState = false;
    QString text;
};

template <typename E>
double entityLimit(const void* entity, int channel)
{
    return static_cast<const E*>(entity)->outputLimit(channel);
}

// The ramp settings of an AC or harmonic entity (its lock held).
template <typename E>
void rampSettings(DomainCheck& check, const Field* table, int stepTime, const E& e)
{
    if (e.autoRampEnabled) {
        check(table[stepTime], Value{e.actionRampTime});
        check(table[stepTime + 1], Value{e.actionRampStep});
        check(table[stepTime + 2], Value{e.endRampValue});
    }
    check(table[stepTime + 3], Value{double(e.faultActionPort)});
    check(table[stepTime + 4], Value{double(e.faultActionItem)});
}

} // namespace

ModuleStart alternateDomainRefusal(const ModelAlternateEntity& e, const StartConditions& conditions)
{
    using namespace StartDomain::Alternate;
    const Field* t = StartDomain::kAlternate;
    QMutexLocker lock(&e.entityLock);
    DomainCheck check("AC", conditions);
    check.channels(t, Amplitude, e.outputRanges, e.outputAngles, e.outputFrequencies,
                   &entityLimit<ModelAlternateEntity>, &e);
    rampSettings(check, t, StepTime, e);
    check(t[Action], Value{double(e.faultActionType)});
    check.inputs(t[Edges], t[Logic], e.stateOutputBIStates, e.stateBILogicTypes);
    return check.result();
}

ModuleStart directDomainRefusal(const ModelDirectEntity& e, const StartConditions& conditions)
{
    using namespace StartDomain::Direct;
    const Field* t = StartDomain::kDirect;
    QMutexLocker lock(&e.entityLock);
    DomainCheck check("DC", conditions);
    for (int c = 0; c < 8; ++c)
        check(t[Amplitude], Value{e.outputRanges[c], c, true, 0, e.outputLimit(c)}, QLatin1String(channelName(c)));
    rampSettings(check, t, StepTime, e);
    check(t[Action], Value{double(e.faultActionType)});
    check.inputs(t[Edges], t[Logic], e.stateOutputBIStates, e.stateBILogicTypes);
    return check.result();
}

ModuleStart harmonicDomainRefusal(const ModelHarmonicEntity& e, const StartConditions& conditions)
{
    using namespace StartDomain::Harmonic;
    const Field* t = StartDomain::kHarmonic;
    QMutexLocker lock(&e.entityLock);
    DomainCheck check("harmonic", conditions);
    for (int c = 0; c < 8; ++c) {
        bool outputs = false;
        for (int k = 0; k < 4; ++k) {
            const QString where = QStringLiteral("%1 slot %2").arg(QLatin1String(channelName(c))).arg(k + 1);
            check(t[Amplitude], Value{e.outputRanges[c][k], c, true, 0, e.outputLimit(c)}, where);
            check(t[Angle], Value{e.outputAngles[c][k], c}, where);
            outputs = outputs || e.outputRanges[c][k] > 0.0;
        }
        // The fundamental, and each harmonic at its order of it.
        check(t[Frequency], Value{e.outputFrequencies[c][0], c, outputs}, QLatin1String(channelName(c)));
        for (int k = 1; k < 4; ++k)
            check(t[Frequency], Value{e.outputFrequencies[c][0] * e.outputOrders[k], c, e.outputRanges[c][k] > 0.0},
                  QStringLiteral("%1 slot %2").arg(QLatin1String(channelName(c))).arg(k + 1));
    }
    rampSettings(check, t, StepTime, e);
    check(t[Slot], Value{double(e.faultActionOrder)});
    check(t[Action], Value{double(e.faultActionType)});
    check.inputs(t[Edges], t[Logic], e.stateOutputBIStates, e.stateBILogicTypes);
    return check.result();
}

ModuleStart sequenceDomainRefusal(const ModelStateSequenceEntity& e, const StartConditions& conditions)
{
    using namespace StartDomain::Sequence;
    const Field* t = StartDomain::kSequence;
    QMutexLocker lock(&e.entityLock);
    DomainCheck check("state sequence", conditions);
    // A count beyond the entity's is the start's count rule.
    const int count = e.stateCount <= ModelStateSequenceEntity::kMaxStates ? e.stateCount : 0;
    for (int s = 0; s < count && !check.done(); ++s) {
        check.inState(s);
        check.channels(t, Amplitude, e.stateOutputRanges[s], e.stateOutputAngles[s], e.stateOutputFrequencies[s],
                       &entityLimit<ModelStateSequenceEntity>, &e);
        check(t[Trigger], Value{double(e.stateTriggerTypes[s])});
        const ModelEntity::AOTriggerType trigger = e.stateTriggerTypes[s];
        if (trigger == AO_TRIGGER_TYPE_TIME || trigger == AO_TRIGGER_TYPE_TIME_BINARY)
            check(t[Time], Value{e.stateOutputTimes[s]});
        check(t[Link], Value{double(e.stateOutputLinkTypes[s])});
        check.inputs(t[Edges], t[Logic], e.stateOutputBIStates[s], e.stateBILogicTypes[s]);
        for (int i = 0; i < 4; ++i)
            check(t[Output], Value{double(e.stateOutputBOStates[s][i])}, QString::number(i + 1));
    }
    return check.result();
}

ModuleStart rampingDomainRefusal(const ModelRampingEntity& e, const StartConditions& conditions)
{
    using namespace StartDomain::Ramping;
    const Field* t = StartDomain::kRamping;
    QMutexLocker lock(&e.entityLock);
    DomainCheck check("ramping", conditions);
    const auto limit = [](const void* entity, int c) {
        const auto* r = static_cast<const ModelRampingEntity*>(entity);
        return c < AO_PORT_TYPE_IA ? r->maxVoltage : r->maxCurrent;
    };
    const int count = e.stateCount <= ModelRampingEntity::kMaxStates ? e.stateCount : 0;
    for (int s = 0; s < count && !check.done(); ++s) {
        check.inState(s);
        check.channels(t, Amplitude, e.stateOutputRanges[s], e.stateOutputAngles[s], e.stateOutputFrequencies[s],
                       limit, &e);
        // A ramp state steps; a normal or interval state of no time is not played.
        check(t[s % 3 == 1 ? RampTime : Time], Value{e.stateOutputTimes[s]});
        for (int i = 0; i < ModelRampingEntity::kRampSlots; ++i) {
            if (e.rampStepValues[s][i] == 0.0)
                continue;   // unused
            const QString slot = QString::number(i + 1);
            check(t[Step], Value{e.rampStepValues[s][i]}, slot);
            check(t[Port], Value{double(e.rampPorts[s][i])}, slot);
            check(t[Item], Value{double(e.rampItems[s][i])}, slot);
            if (check.done())
                break;
            int channels[3] = {};
            rampPortChannels(e.rampPorts[s][i], channels);
            const int c = channels[0];
            check(t[Begin], Value{e.rampBeginValues[s][i]}, slot);
            check(t[End], Value{e.rampEndValues[s][i], c, true, e.rampItems[s][i], limit(&e, c)}, slot);
        }
        check(t[Trigger], Value{double(e.stateTriggerTypes[s])});
        check(t[Link], Value{double(e.stateOutputLinkTypes[s])});
        check.inputs(t[Edges], t[Logic], e.stateOutputBIStates[s], e.stateBILogicTypes[s]);
        for (int i = 0; i < 4; ++i)
            check(t[Output], Value{double(e.stateOutputBOStates[s][i])}, QString::number(i + 1));
    }
    return check.result();
}
