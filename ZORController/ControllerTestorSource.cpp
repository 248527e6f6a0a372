// Run control of the single-page modules: AC, DC and harmonic (a steady
// output, or an automatic ramp one state per page), power swing and standard
// source (a steady output that every edit replaces). Each start and switch
// holds the entity's lock from the check to the last page sent.

#include "ControllerTestor.h"

#include "CommDriverData.h"
#include "ModelAlternateEntity.h"
#include "ModelDirectEntity.h"
#include "ModelHarmonicEntity.h"
#include "ModelOscillateEntity.h"
#include "ModelStdSourceEntity.h"
#include "driverbase.h"

#include <QMutexLocker>

namespace {

constexpr qint32 kLastStateBit = 0x8000;

void raiseBIStateAction()
{
    if (CommDriverTestStatusData* status = globalTestStatusData)
        status->statusBIStateAction = 1;
}

// AC, DC and harmonic share the stepping and the trip rules; the harmonic
// entity clears its results before it resets its state pointer.
template <typename Entity>
void resetRampEntity(Entity& entity)
{
    entity.switchToResetState();
    entity.resetActionValues();
}

template <>
void resetRampEntity(ModelHarmonicEntity& entity)
{
    entity.resetActionValues();
    entity.switchToResetState();
}

// What a trip in return mode does to the ramp direction: the harmonic
// entity turns back on any recorded report, the others on a complete one.
template <typename Entity>
bool turnsBackOn(bool complete)
{
    return complete;
}

template <>
bool turnsBackOn<ModelHarmonicEntity>(bool)
{
    return true;
}

} // namespace

bool ControllerTestor::isSourceModule(TESTType type)
{
    switch (type) {
    case TEST_ALTERNATE:
    case TEST_DIRECT:
    case TEST_HARMONIC:
    case TEST_OSCILLATE:
    case TEST_STDSOURCE:
        return true;
    default:
        return false;
    }
}

// ---- Start -------------------------------------------------------------------------------

namespace {

// The first state into page 0; with the ramp on also the state count and the
// second state into page 1.
template <typename Entity>
int startRamp(ControllerTestor& testor, Entity& entity, bool& refused)
{
    QMutexLocker lock(&entity.entityLock);
    resetRampEntity(entity);
    refused = !entity.checkOutputValues();
    if (refused)
        return 0;
    entity.updateToDriverValue();
    int errorSum = testor.setTestParameter(false, false);
    if (entity.autoRampEnabled) {
        entity.updateToDriverStateCount();
        errorSum += driverBaseSendTestStateCount();
        if (entity.switchToNextState()) {
            entity.updateToDriverValue();
            errorSum += driverBaseSwitchUpdateOffset();
            errorSum += testor.setTestParameter(false, false);
        }
    }
    return errorSum;
}

int startSwing(ControllerTestor& testor, ModelOscillateEntity& entity, bool& refused)
{
    QMutexLocker lock(&entity.entityLock);
    entity.resetActionValues();
    entity.switchToResetState();
    refused = !entity.checkOutputValues();
    if (refused)
        return 0;
    entity.updateToDriverValue();
    return testor.setTestParameter(false, false);
}

int startStdSource(ControllerTestor& testor, ModelStdSourceEntity& entity, bool& refused)
{
    QMutexLocker lock(&entity.entityLock);
    entity.switchToResetState();
    refused = !entity.checkOutputValues();
    if (refused)
        return 0;
    entity.updateToDriverValue();
    return testor.setTestParameter(false, false);
}

} // namespace

ControllerTestor::StartPages ControllerTestor::startSourceModule(TESTType type, int& errorSum)
{
    bool refused = false;
    switch (type) {
    case TEST_ALTERNATE:
        errorSum += startRamp(*this, *dataAlternate, refused);
        break;
    case TEST_DIRECT:
        errorSum += startRamp(*this, *dataDirect, refused);
        break;
    case TEST_HARMONIC:
        errorSum += startRamp(*this, *dataHarmonic, refused);
        break;
    case TEST_OSCILLATE:
        errorSum += startSwing(*this, *dataOscillate, refused);
        break;
    case TEST_STDSOURCE:
        errorSum += startStdSource(*this, *dataStdSource, refused);
        break;
    default:
        return StartPages::None;
    }
    if (refused) {
        qWarning("ControllerTestor: module %d has values that cannot be output, start refused", int(type));
        return StartPages::Refused;
    }
    return StartPages::Written;
}

// ---- Switch ------------------------------------------------------------------------------

namespace {

// The entity's current state into the next page of the ring.
template <typename Entity>
int writeNextPage(ControllerTestor& testor, Entity& entity)
{
    entity.updateToDriverValue();
    int errorSum = driverBaseSwitchUpdateOffset();
    errorSum += testor.setTestParameter(false, false);
    return errorSum;
}

// Automatic ramp: the next state follows the pages in the ring (the
// instrument switches to it when the page playing ends). Steady output: the
// edited values replace the output at once, unless a trip ended the test.
template <typename Entity>
void switchRamp(ControllerTestor& testor, Entity& entity, int& errorSum, bool& endRun)
{
    QMutexLocker lock(&entity.entityLock);
    if (entity.autoRampEnabled) {
        if (!entity.switchToNextState() || !entity.checkOutputValues()) {
            endRun = true;
            return;
        }
        entity.updateToDriverValue();
        entity.resetActionValues();
        errorSum += driverBaseSwitchUpdateOffset();
        errorSum += testor.setTestParameter(false, false);
        return;
    }
    if ((entity.faultActionType != ModelEntity::ACTION_TYPE_CONTINUE && entity.lastState)
        || !entity.checkOutputValues()) {
        endRun = true;
        return;
    }
    entity.updateToDriverValue();
    entity.resetActionValues();
    errorSum += driverBaseSwitchUpdateOffset();
    errorSum += testor.setTestParameter(false, false);
    errorSum += testor.setTestSwitch(false);
}

} // namespace

ControllerTestor::SwitchOutcome ControllerTestor::switchSourceModule(TESTType type)
{
    SwitchOutcome outcome;
    switch (type) {
    case TEST_ALTERNATE:
        switchRamp(*this, *dataAlternate, outcome.errorSum, outcome.endRun);
        outcome.announce = true;
        break;
    case TEST_DIRECT:
        switchRamp(*this, *dataDirect, outcome.errorSum, outcome.endRun);
        outcome.announce = true;
        break;
    case TEST_HARMONIC:
        switchRamp(*this, *dataHarmonic, outcome.errorSum, outcome.endRun);
        outcome.announce = true;
        break;
    case TEST_OSCILLATE: {
        ModelOscillateEntity& entity = *dataOscillate;
        QMutexLocker lock(&entity.entityLock);
        outcome.announce = true;
        if (entity.lastState || !entity.checkOutputValues()) {
            outcome.endRun = true;
            break;
        }
        outcome.errorSum += writeNextPage(*this, entity);
        outcome.errorSum += setTestSwitch(false);
        break;
    }
    case TEST_STDSOURCE: {
        ModelStdSourceEntity& entity = *dataStdSource;
        QMutexLocker lock(&entity.entityLock);
        if (!entity.checkOutputValues()) {
            outcome.endRun = true;
            break;
        }
        outcome.errorSum += writeNextPage(*this, entity);
        outcome.errorSum += setTestSwitch(false);
        break;
    }
    default:
        break;
    }
    return outcome;
}

// ---- Trips -------------------------------------------------------------------------------

namespace {

// The polling loop's report: flag word, input, time and the state index
// (bit 15: the trip ended the state).
template <typename Entity>
int recordRampTrip(Entity& entity, qint32 actionFlag, qint32 actionIndex, float actionTime, qint32 stateIndex)
{
    QMutexLocker lock(&entity.entityLock);
    if (entity.updateFromDriverAction(stateIndex, actionFlag, actionIndex, actionTime) != 0)
        return -1;
    const bool complete = (stateIndex & kLastStateBit) != 0;
    switch (entity.faultActionType) {
    case ModelEntity::ACTION_TYPE_STOP:
        entity.lastState = complete;
        raiseBIStateAction();
        break;
    case ModelEntity::ACTION_TYPE_RETURN:
        entity.lastState = entity.currentRampFactor == -1 && complete;
        if (turnsBackOn<Entity>(complete))
            entity.currentRampFactor = -1;
        raiseBIStateAction();
        break;
    default:
        break;
    }
    return 0;
}

// The two-input report: action flags of inputs 1 and 2, time, state number.
template <typename Entity>
int recordRampTwoInputTrip(Entity& entity, qint32 bi1flag, qint32 bi2flag, float actionTime, qint32 stateIndex)
{
    QMutexLocker lock(&entity.entityLock);
    if (entity.updateFromDriverAction(bi1flag, bi2flag, actionTime, stateIndex) != 0)
        return -1;
    switch (entity.faultActionType) {
    case ModelEntity::ACTION_TYPE_STOP:
        entity.lastState = true;
        raiseBIStateAction();
        break;
    case ModelEntity::ACTION_TYPE_RETURN:
        entity.lastState = entity.currentRampFactor == -1;
        entity.currentRampFactor = -1;
        raiseBIStateAction();
        break;
    default:
        break;
    }
    return 0;
}

} // namespace

int ControllerTestor::actionSourceModule(TESTType type, qint32 actionFlag, qint32 actionIndex, float actionTime,
                                         qint32 stateIndex)
{
    switch (type) {
    case TEST_ALTERNATE:
        return recordRampTrip(*dataAlternate, actionFlag, actionIndex, actionTime, stateIndex);
    case TEST_DIRECT:
        return recordRampTrip(*dataDirect, actionFlag, actionIndex, actionTime, stateIndex);
    case TEST_HARMONIC:
        return recordRampTrip(*dataHarmonic, actionFlag, actionIndex, actionTime, stateIndex);
    case TEST_OSCILLATE: {
        ModelOscillateEntity& entity = *dataOscillate;
        QMutexLocker lock(&entity.entityLock);
        if (entity.updateFromDriverAction(stateIndex, actionFlag, actionIndex, actionTime) != 0)
            return -1;
        entity.lastState = (stateIndex & kLastStateBit) != 0;
        return 0;
    }
    default:
        return -1;
    }
}

int ControllerTestor::twoInputActionSourceModule(TESTType type, qint32 bi1flag, qint32 bi2flag, float actionTime,
                                                 qint32 stateIndex)
{
    switch (type) {
    case TEST_ALTERNATE:
        return recordRampTwoInputTrip(*dataAlternate, bi1flag, bi2flag, actionTime, stateIndex);
    case TEST_DIRECT:
        return recordRampTwoInputTrip(*dataDirect, bi1flag, bi2flag, actionTime, stateIndex);
    case TEST_HARMONIC:
        return recordRampTwoInputTrip(*dataHarmonic, bi1flag, bi2flag, actionTime, stateIndex);
    default:
        return -1;
    }
}

// ---- Output current --------------------------------------------------------------------------

bool ControllerTestor::sourceCurrentMax(TESTType type, double& current) const
{
    switch (type) {
    case TEST_ALTERNATE:
        current = dataAlternate->maxOutputCurrent();
        return true;
    case TEST_DIRECT:
        current = dataDirect->maxOutputCurrent();
        return true;
    case TEST_HARMONIC:
        current = dataHarmonic->maxOutputCurrent();
        return true;
    case TEST_OSCILLATE:
        current = dataOscillate->maxOutputCurrent();
        return true;
    case TEST_STDSOURCE:
        current = dataStdSource->maxOutputCurrent();
        return true;
    default:
        return false;
    }
}
