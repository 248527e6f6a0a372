// Run control of the multi-state modules: the state sequence (up to eight
// states ahead in the ring, the instrument stepping by itself), and the
// modules that run one state per page with the instrument waiting for the
// software switch: distance and overcurrent (fixed groups of pre-fault,
// fault and after-fault states), ramping (a page per ramp step), energy
// meter (a state per counted measurement) and the two load-shedding tests
// (a searched quantity stepped from cycle to cycle). Each start and switch
// holds the entity's lock from the check to the last page sent.

#include "ControllerTestor.h"

#include "CommDriverData.h"
#include "ModelDistanceEntity.h"
#include "ModelEnergyEntity.h"
#include "ModelOvercurrentEntity.h"
#include "ModelRampingEntity.h"
#include "ModelSlipFrequencyEntity.h"
#include "ModelSlipVoltageEntity.h"
#include "ModelStateSequenceEntity.h"
#include "driverbase.h"
#include "zoplatform.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr qint32 kLastStateBit = 0x8000;
constexpr qint32 kPageMask = 0x7;
constexpr int kRingPages = 8;
// A load-shedding search whose step is below this never moves (as the
// entities count it); with begin and end apart it would never end.
constexpr double kZeroSearchStep = 1e-7;
constexpr double kSameSearchEnds = 1e-6;

void raiseBIStateAction()
{
    if (CommDriverTestStatusData* status = globalTestStatusData)
        status->statusBIStateAction = 1;
}

bool isBinaryTrigger(ModelEntity::AOTriggerType trigger)
{
    return trigger == ModelEntity::AO_TRIGGER_TYPE_BINARY || trigger == ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY;
}

CommSOEEntity stateEvent(qint32 index)
{
    CommSOEEntity event;
    event.soeType = CommSOEEntity::SOE_TYPE_AO_STATE;
    event.runtimeType = CommSOEEntity::RUNTIME_TYPE_RUNNING;
    event.eventUtcTime = QDateTime::fromMSecsSinceEpoch(zoplat::systemTimeMs());
    event.eventRunTime = 0.0;
    event.outputStateIndex = index;
    return event;
}

// The entity's sending state into the next page of the ring.
template <typename Entity>
int writeNextPage(ControllerTestor& testor, Entity& entity)
{
    entity.updateToDriverValue();
    int errorSum = driverBaseSwitchUpdateOffset();
    errorSum += testor.setTestParameter(false, false);
    return errorSum;
}

int writeNextEnergyPage(ControllerTestor& testor, ModelEnergyEntity& entity)
{
    entity.updateToDriverValue();
    entity.updateToDriverPulse();
    int errorSum = driverBaseSwitchUpdateOffset();
    errorSum += testor.setTestParameter(false, false);
    return errorSum;
}

// ---- Why a start is refused -------------------------------------------------------------

QString countRefusal(const char* module, const char* what, qint32 count, qint32 limit)
{
    return QStringLiteral("%1: %2 %3 outside 1..%4")
        .arg(QLatin1String(module), QLatin1String(what))
        .arg(count)
        .arg(limit);
}

QString registerRefusal(const char* module, const char* what, qint32 count, qint32 limit)
{
    return QStringLiteral("%1: %2 %3 beyond the 16-bit state count register (at most %4)")
        .arg(QLatin1String(module), QLatin1String(what))
        .arg(count)
        .arg(limit);
}

QString valueRefusal(const char* module)
{
    return QStringLiteral("%1: a value to output is not finite or out of range").arg(QLatin1String(module));
}

template <typename Entity>
QString stateCountRefusal(const Entity& entity, const char* module)
{
    if (entity.stateCount < 1 || entity.stateCount > Entity::kMaxStates)
        return countRefusal(module, "state count", entity.stateCount, Entity::kMaxStates);
    return valueRefusal(module);
}

QString rampingRefusal(const ModelRampingEntity& entity)
{
    if (entity.stateCount < 1 || entity.stateCount > ModelRampingEntity::kMaxStates)
        return countRefusal("ramping", "state count", entity.stateCount, ModelRampingEntity::kMaxStates);
    // A slot in use with a value that is not finite has no page count either.
    for (int s = 0; s < entity.stateCount; ++s)
        for (int i = 0; i < ModelRampingEntity::kRampSlots; ++i)
            if (entity.rampStepValues[s][i] != 0.0
                && !(std::isfinite(entity.rampStepValues[s][i]) && std::isfinite(entity.rampBeginValues[s][i])
                     && std::isfinite(entity.rampEndValues[s][i])))
                return valueRefusal("ramping");
    const qint32 pages = entity.computePointCount();
    if (pages > ModelRampingEntity::kMaxStateCount)
        return registerRefusal("ramping", "page count", pages, ModelRampingEntity::kMaxStateCount);
    return valueRefusal("ramping");
}

QString energyRefusal(const ModelEnergyEntity& entity)
{
    constexpr const char* module = "energy";
    if (entity.stateCount < 1 || entity.stateCount > ModelEnergyEntity::kMaxStates)
        return countRefusal(module, "state count", entity.stateCount, ModelEnergyEntity::kMaxStates);
    if (entity.pulseOutputEnable != 0) {
        for (int s = 0; s < entity.stateCount; ++s) {
            if (entity.pulsePeriodTicks(s) > 0.0)
                continue;
            const double power = entity.pulseOutputGiven[s];
            const double constant = entity.pulseOutputConst;
            const double rate = power * constant;
            if (!std::isfinite(rate) || !(power > 0.0) || !(constant > 0.0))
                return QStringLiteral("energy: state %1: a power of %2 W and a meter constant of %3 imp/kWh give "
                                      "no pulse rate (both must be positive)")
                    .arg(s + 1)
                    .arg(power)
                    .arg(constant);
            const double ticks = ModelEnergyEntity::kPulsePeriodNumerator / rate;
            if (ticks > ModelEnergyEntity::kMaxPulsePeriod)
                return QStringLiteral("energy: state %1: a pulse period of %2 ticks (%3 s) exceeds the 32-bit "
                                      "pulse period register (at most %4 ticks, %5 s)")
                    .arg(s + 1)
                    .arg(ticks, 0, 'f', 0)
                    .arg(ticks / ModelEnergyEntity::kPulseClockRate, 0, 'f', 2)
                    .arg(ModelEnergyEntity::kMaxPulsePeriod, 0, 'f', 0)
                    .arg(ModelEnergyEntity::kMaxPulsePeriod / ModelEnergyEntity::kPulseClockRate, 0, 'f', 2);
            return QStringLiteral("energy: state %1: a pulse period below one clock tick").arg(s + 1);
        }
    }
    return valueRefusal(module);
}

template <typename Slip>
QString slipRefusal(const Slip& entity, const char* module)
{
    if (entity.pointCnt < 1 || entity.pointCnt > Slip::kMaxPoints)
        return countRefusal(module, "point count", entity.pointCnt, Slip::kMaxPoints);
    const qint32 states = entity.computeStateCount();
    if (states > Slip::kMaxStateCount)
        return registerRefusal(module, "state count", states, Slip::kMaxStateCount);
    return QStringLiteral("%1: a value to output is not finite, or a slide rate is not positive")
        .arg(QLatin1String(module));
}

// A searched quantity that never moves from its begin towards a different end
// value: the point would repeat its cycle until a trip, possibly for ever.
template <typename Slip>
int pointWithoutStep(const Slip& entity)
{
    const int points = std::clamp(entity.pointCnt, 0, int(Slip::kMaxPoints));
    for (int p = 0; p < points; ++p) {
        if (entity.testItemType[p] == Slip::ITEM_ACTION_TIME)
            continue;
        if (std::fabs(entity.rampStepValues[p]) < kZeroSearchStep
            && std::fabs(entity.rampBeginValues[p] - entity.rampEndValues[p]) >= kSameSearchEnds)
            return p;
    }
    return -1;
}

// ---- Start --------------------------------------------------------------------------------

// Distance, ramping, overcurrent and the load-shedding tests: the first
// state into page 0 and, when there is one, the next into page 1.
template <typename Entity, typename Refusal>
int startOnePageAhead(ControllerTestor& testor, Entity& entity, QString& refusal, Refusal why)
{
    QMutexLocker lock(&entity.entityLock);
    entity.resetActionValues();
    entity.switchToResetState();
    if (!entity.checkOutputValues()) {
        refusal = why(entity);
        return 0;
    }
    entity.updateToDriverStateCount();
    driverBaseSendTestStateCount();
    entity.updateToDriverValue();
    int errorSum = testor.setTestParameter(false, false);
    if (entity.switchToNextState())
        errorSum += writeNextPage(testor, entity);
    return errorSum;
}

template <typename Slip>
int startSlip(ControllerTestor& testor, Slip& entity, QString& refusal, const char* module)
{
    {
        QMutexLocker lock(&entity.entityLock);
        const int p = pointWithoutStep(entity);
        if (p >= 0) {
            refusal = QStringLiteral("%1: point %2: a step of 0 never reaches the end value")
                          .arg(QLatin1String(module))
                          .arg(p + 1);
            return 0;
        }
    }
    return startOnePageAhead(testor, entity, refusal, [module](const Slip& e) { return slipRefusal(e, module); });
}

int startEnergy(ControllerTestor& testor, ModelEnergyEntity& entity, QString& refusal)
{
    QMutexLocker lock(&entity.entityLock);
    entity.resetActionValues();
    entity.switchToResetState();
    if (!entity.checkOutputValues()) {
        refusal = energyRefusal(entity);
        return 0;
    }
    entity.updateToDriverStateCount();
    driverBaseSendTestStateCount();
    entity.updateToDriverValue();
    int errorSum = testor.setTestParameter(false, false);
    // The second page carries the pulse set-up of the first state.
    if (entity.switchToNextState())
        errorSum += writeNextEnergyPage(testor, entity);
    return errorSum;
}

// The state sequence: up to eight states, one per page of the ring.
int startSequence(ControllerTestor& testor, ModelStateSequenceEntity& entity, QString& refusal)
{
    QMutexLocker lock(&entity.entityLock);
    entity.resetActionValues();
    entity.switchToResetState();
    if (!entity.checkOutputValues()) {
        refusal = stateCountRefusal(entity, "state sequence");
        return 0;
    }
    entity.updateToDriverStateCount();
    driverBaseSendTestStateCount();
    int errorSum = 0;
    for (int i = 0; i < kRingPages && i < entity.stateCount; ++i) {
        if (i > 0) {
            entity.switchToNextState();
            errorSum += driverBaseSwitchUpdateOffset();
        }
        entity.updateToDriverValue();
        errorSum += testor.setTestParameter(false, false);
    }
    return errorSum;
}

} // namespace

bool ControllerTestor::isProtectionModule(TESTType type)
{
    switch (type) {
    case TEST_STATESEQUENCE:
    case TEST_DISTANCE:
    case TEST_RAMPING:
    case TEST_OVERCURRENT:
    case TEST_ENERGY:
    case TEST_SLIP_FREQUENCY:
    case TEST_SLIP_VOLTAGE:
        return true;
    default:
        return false;
    }
}

ControllerTestor::StartPages ControllerTestor::startProtectionModule(TESTType type, int& errorSum)
{
    QString refusal;
    switch (type) {
    case TEST_STATESEQUENCE:
        sequenceStateWord = 0;
        errorSum += startSequence(*this, *dataStateSequence, refusal);
        break;
    case TEST_DISTANCE:
        errorSum += startOnePageAhead(*this, *dataDistance, refusal, [](const ModelDistanceEntity& e) {
            return stateCountRefusal(e, "distance");
        });
        break;
    case TEST_RAMPING:
        errorSum += startOnePageAhead(*this, *dataRamping, refusal, rampingRefusal);
        break;
    case TEST_OVERCURRENT:
        errorSum += startOnePageAhead(*this, *dataOvercurrent, refusal, [](const ModelOvercurrentEntity& e) {
            return stateCountRefusal(e, "overcurrent");
        });
        break;
    case TEST_ENERGY:
        errorSum += startEnergy(*this, *dataEnergy, refusal);
        break;
    case TEST_SLIP_FREQUENCY:
        errorSum += startSlip(*this, *dataSlipFrequency, refusal, "under-frequency load shedding");
        break;
    case TEST_SLIP_VOLTAGE:
        errorSum += startSlip(*this, *dataSlipVoltage, refusal, "under-voltage load shedding");
        break;
    default:
        return StartPages::None;
    }
    if (!refusal.isEmpty()) {
        setStartRefusal(refusal);
        return StartPages::Refused;
    }
    return StartPages::Written;
}

// ---- Switch -------------------------------------------------------------------------------

namespace {

// The state sequence keeps the ring full: every page the instrument has left
// takes the state seven ahead of the one it plays, however many pages it
// moved on since the last switch. After the last state the run ends.
void switchSequence(ControllerTestor& testor, ModelStateSequenceEntity& entity, int& errorSum, bool& endRun)
{
    QMutexLocker lock(&entity.entityLock);
    if (entity.isLastState()) {
        endRun = true;
        return;
    }
    while (entity.outputSendingStateIndex < entity.outputRunningStateIndex + kRingPages - 1
           && entity.switchToNextState())
        errorSum += writeNextPage(testor, entity);
}

// One page ahead: the state after the one now playing, or the end of the run.
template <typename Entity>
void switchOnePageAhead(ControllerTestor& testor, Entity& entity, int& errorSum, bool& endRun)
{
    QMutexLocker lock(&entity.entityLock);
    if (!entity.switchToNextState()) {
        endRun = true;
        return;
    }
    errorSum += writeNextPage(testor, entity);
}

// Ramping: after a trip (statusBIStateAction) the ramp of the state ends: the
// instrument is switched at once to the state after it, and the one after
// that follows in the ring.
void switchRamping(ControllerTestor& testor, ModelRampingEntity& entity, int& errorSum, bool& endRun)
{
    QMutexLocker lock(&entity.entityLock);
    if (!entity.switchToNextState()) {
        endRun = true;
        return;
    }
    errorSum += writeNextPage(testor, entity);
    CommDriverTestStatusData* status = globalTestStatusData;
    if (!status || status->statusBIStateAction != 1)
        return;
    status->statusBIStateAction = 0;
    errorSum += testor.setTestSwitch(false);
    if (entity.switchToNextState())
        errorSum += writeNextPage(testor, entity);
}

void switchEnergy(ControllerTestor& testor, ModelEnergyEntity& entity, int& errorSum, bool& endRun)
{
    QMutexLocker lock(&entity.entityLock);
    if (!entity.switchToNextState()) {
        endRun = true;   // the stop ends the pulse output and counting too
        return;
    }
    errorSum += writeNextEnergyPage(testor, entity);
}

} // namespace

ControllerTestor::SwitchOutcome ControllerTestor::switchProtectionModule(TESTType type)
{
    SwitchOutcome outcome;
    switch (type) {
    case TEST_STATESEQUENCE:
        switchSequence(*this, *dataStateSequence, outcome.errorSum, outcome.endRun);
        break;
    case TEST_DISTANCE:
        switchOnePageAhead(*this, *dataDistance, outcome.errorSum, outcome.endRun);
        break;
    case TEST_OVERCURRENT:
        switchOnePageAhead(*this, *dataOvercurrent, outcome.errorSum, outcome.endRun);
        break;
    case TEST_SLIP_FREQUENCY:
        switchOnePageAhead(*this, *dataSlipFrequency, outcome.errorSum, outcome.endRun);
        break;
    case TEST_SLIP_VOLTAGE:
        switchOnePageAhead(*this, *dataSlipVoltage, outcome.errorSum, outcome.endRun);
        break;
    case TEST_RAMPING:
        switchRamping(*this, *dataRamping, outcome.errorSum, outcome.endRun);
        outcome.announce = true;
        break;
    case TEST_ENERGY:
        switchEnergy(*this, *dataEnergy, outcome.errorSum, outcome.endRun);
        break;
    default:
        break;
    }
    return outcome;
}

// ---- State changes -------------------------------------------------------------------------

void ControllerTestor::sequenceStateChanged(qint32 index)
{
    // Bits 0-2 name the page playing: the instrument moved on by the pages
    // between the last reported word and this one. Bit 15 comes once, when
    // the last state has ended (the page does not change then).
    const qint32 previous = sequenceStateWord;
    sequenceStateWord = index;
    int steps = ((index & kPageMask) - (previous & kPageMask) + kRingPages) % kRingPages;
    if ((index & kLastStateBit) && !(previous & kLastStateBit))
        ++steps;

    // The polling loop measured the time since the last change it saw: it
    // belongs to the state that change began. A state that began and ended
    // between two reports was not timed.
    const CommDriverTestStatusData* status = globalTestStatusData;
    const double measured = status ? double(status->statusTestTriggerTime) : std::numeric_limits<double>::quiet_NaN();
    ModelStateSequenceEntity& entity = *dataStateSequence;
    QMutexLocker lock(&entity.entityLock);
    const int count = std::min(entity.stateCount, int(ModelStateSequenceEntity::kMaxStates));
    for (int step = 0; step < steps; ++step) {
        entity.updateFromDriverState();
        const int r = entity.outputRunningStateIndex;
        if (r >= 1 && r <= count)
            entity.stateTriggerTimes[r - 1] = step == 0 ? measured : std::numeric_limits<double>::quiet_NaN();
        if (r < count)
            emit sigUpdateTestStateIndex(stateEvent(r), r);
    }
}

void ControllerTestor::stateIndexProtectionModule(TESTType type, qint32 index)
{
    qint32 running = -1;
    qint32 count = 0;
    switch (type) {
    case TEST_STATESEQUENCE:
        sequenceStateChanged(index);
        return;
    case TEST_DISTANCE: {
        ModelDistanceEntity& e = *dataDistance;
        QMutexLocker lock(&e.entityLock);
        e.updateFromDriverState(index);
        running = e.outputRunningStateIndex;
        count = e.stateCount;
        break;
    }
    case TEST_OVERCURRENT: {
        ModelOvercurrentEntity& e = *dataOvercurrent;
        QMutexLocker lock(&e.entityLock);
        e.updateFromDriverState(index);
        running = e.outputRunningStateIndex;
        count = e.stateCount;
        break;
    }
    case TEST_RAMPING: {
        ModelRampingEntity& e = *dataRamping;
        QMutexLocker lock(&e.entityLock);
        e.updateFromDriverState();
        running = e.outputRunningStateIndex;
        count = e.stateCount;
        break;
    }
    case TEST_ENERGY: {
        ModelEnergyEntity& e = *dataEnergy;
        QMutexLocker lock(&e.entityLock);
        e.updateFromDriverState();
        running = e.outputRunningStateIndex;
        count = e.stateCount;
        break;
    }
    case TEST_SLIP_FREQUENCY: {
        ModelSlipFrequencyEntity& e = *dataSlipFrequency;
        QMutexLocker lock(&e.entityLock);
        e.updateFromDriverState();
        running = e.outputRunningPointIndex;
        count = e.pointCnt;
        break;
    }
    case TEST_SLIP_VOLTAGE: {
        ModelSlipVoltageEntity& e = *dataSlipVoltage;
        QMutexLocker lock(&e.entityLock);
        e.updateFromDriverState();
        running = e.outputRunningPointIndex;
        count = e.pointCnt;
        break;
    }
    default:
        return;
    }
    if (running >= 0 && running < count)
        emit sigUpdateTestStateIndex(stateEvent(running), running);
}

// ---- Trips --------------------------------------------------------------------------------

int ControllerTestor::actionProtectionModule(TESTType type, qint32 actionFlag, qint32 actionIndex, float actionTime,
                                             qint32 stateIndex)
{
    switch (type) {
    case TEST_STATESEQUENCE: {
        // The report names a page of the ring; the entity credits the state
        // that page carries, and its trigger decides.
        ModelStateSequenceEntity& e = *dataStateSequence;
        QMutexLocker lock(&e.entityLock);
        if (e.updateFromDriverAction(actionFlag, actionIndex, actionTime) != 0)
            return -1;
        if (isBinaryTrigger(e.getTriggerType(e.lastActionStateIndex)))
            raiseBIStateAction();
        return 0;
    }
    case TEST_DISTANCE: {
        ModelDistanceEntity& e = *dataDistance;
        QMutexLocker lock(&e.entityLock);
        if (e.updateFromDriverAction(stateIndex, actionFlag, actionIndex, actionTime) != 0)
            return -1;
        raiseBIStateAction();
        return 0;
    }
    case TEST_OVERCURRENT: {
        ModelOvercurrentEntity& e = *dataOvercurrent;
        QMutexLocker lock(&e.entityLock);
        if (e.updateFromDriverAction(stateIndex, actionFlag, actionIndex, actionTime) != 0)
            return -1;
        raiseBIStateAction();
        return 0;
    }
    case TEST_RAMPING: {
        ModelRampingEntity& e = *dataRamping;
        QMutexLocker lock(&e.entityLock);
        if (e.updateFromDriverAction(stateIndex, actionFlag, actionIndex, actionTime) != 0)
            return -1;
        e.lastStep = (stateIndex & kLastStateBit) != 0;
        raiseBIStateAction();
        return 0;
    }
    case TEST_SLIP_FREQUENCY: {
        ModelSlipFrequencyEntity& e = *dataSlipFrequency;
        QMutexLocker lock(&e.entityLock);
        if (e.updateFromDriverAction(actionFlag, actionIndex, actionTime) != 0)
            return -1;
        e.actionEnable = true;
        return 0;
    }
    case TEST_SLIP_VOLTAGE: {
        ModelSlipVoltageEntity& e = *dataSlipVoltage;
        QMutexLocker lock(&e.entityLock);
        if (e.updateFromDriverAction(actionFlag, actionIndex, actionTime) != 0)
            return -1;
        e.actionEnable = true;
        return 0;
    }
    default:
        return -1;
    }
}

// The two-input report (state number from 1). The polling loop sends it for
// the modules without an entity only; it is kept for the entities' forms.
int ControllerTestor::twoInputActionProtectionModule(TESTType type, qint32 bi1flag, qint32 bi2flag, float actionTime,
                                                     qint32 stateIndex, qint32 bi1state, qint32 bi2state)
{
    switch (type) {
    case TEST_STATESEQUENCE: {
        ModelStateSequenceEntity& e = *dataStateSequence;
        QMutexLocker lock(&e.entityLock);
        if (e.updateFromDriverAction(bi1flag, bi2flag, actionTime, stateIndex, bi1state, bi2state) != 0)
            return -1;
        if (stateIndex >= 1 && isBinaryTrigger(e.getTriggerType(stateIndex - 1)))
            raiseBIStateAction();
        return 0;
    }
    case TEST_DISTANCE: {
        ModelDistanceEntity& e = *dataDistance;
        QMutexLocker lock(&e.entityLock);
        if (e.updateFromDriverAction(bi1flag, bi2flag, actionTime, stateIndex) != 0)
            return -1;
        if (stateIndex >= 1 && e.getTriggerType(stateIndex - 1) != ModelDistanceEntity::AO_TRIGGER_TYPE_TIME)
            raiseBIStateAction();
        return 0;
    }
    case TEST_OVERCURRENT: {
        ModelOvercurrentEntity& e = *dataOvercurrent;
        QMutexLocker lock(&e.entityLock);
        if (e.updateFromDriverAction(bi1flag, bi2flag, actionTime, stateIndex) != 0)
            return -1;
        if (stateIndex >= 1 && e.getTriggerType(stateIndex - 1) != ModelEntity::AO_TRIGGER_TYPE_TIME)
            raiseBIStateAction();
        return 0;
    }
    case TEST_RAMPING: {
        ModelRampingEntity& e = *dataRamping;
        QMutexLocker lock(&e.entityLock);
        const int running = e.outputRunningStateIndex;
        if (e.updateFromDriverAction(bi1flag, bi2flag, actionTime, running) != 0)
            return -1;
        if (running >= 1 && e.getTriggerType(running - 1) != ModelEntity::AO_TRIGGER_TYPE_TIME) {
            e.lastStep = true;
            raiseBIStateAction();
        }
        return 0;
    }
    default:
        return -1;
    }
}
