#include "ModelDistanceEntity.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

using namespace ModelEntity;

ModelDistanceEntity::ModelDistanceEntity()
{
    for (AOTriggerType& trigger : stateTriggerTypes)
        trigger = AO_TRIGGER_TYPE_TIME;
    clearStateActions(*this);
}

void ModelDistanceEntity::resetActionValues()
{
    QMutexLocker locker(&entityLock);
    clearStateActions(*this);
    std::fill(std::begin(stateBeganUnreset), std::end(stateBeganUnreset), false);
    for (int s = 0; s < 3; ++s)
        stateTestStates[s] = AO_STATE_TYPE_RUNNNING;
}

void ModelDistanceEntity::switchToResetState()
{
    QMutexLocker locker(&entityLock);
    outputRunningStateIndex = 0;
    outputSendingStateIndex = 0;
    resetDriverStatus();
}

void ModelDistanceEntity::updateToDriverStateCount()
{
    QMutexLocker locker(&entityLock);
    if (globalTestOutputData)
        globalTestOutputData->outputStateCount = quint32(std::clamp(stateCount, 0, kMaxStates));
}

bool ModelDistanceEntity::switchToNextState()
{
    QMutexLocker locker(&entityLock);
    if (outputSendingStateIndex <= kMaxStates)
        ++outputSendingStateIndex;
    while (passesOver(outputSendingStateIndex))
        ++outputSendingStateIndex;
    const int k = outputSendingStateIndex;
    // k == stateCount is the closing page with every output at zero.
    return k >= 1 && k <= kMaxStates && k <= stateCount;
}

void ModelDistanceEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    if (globalTestOutputData)
        StateGroups::writeDriverValue(*this, *globalTestOutputData);
}

void ModelDistanceEntity::updateToDriverBOStates()
{
    QMutexLocker locker(&entityLock);
    writeDriverBOStates(outputBOStates);
}

void ModelDistanceEntity::updateFromDriverState(int statusTestStateIndex)
{
    QMutexLocker locker(&entityLock);
    StateGroups::updateFromState(*this, statusTestStateIndex);
    // A fault passed over ends as it begins.
    while (passesOver(outputRunningStateIndex))
        StateGroups::updateFromState(*this, DriverStateWord::kEndedBit);
}

bool ModelDistanceEntity::passesOver(int state) const
{
    QMutexLocker locker(&entityLock);
    return state >= 0 && state < std::min(stateCount, int(kMaxStates)) && stateBeganUnreset[state];
}

bool ModelDistanceEntity::faultNext() const
{
    QMutexLocker locker(&entityLock);
    return StateGroups::nextFault(*this) >= 0;
}

void ModelDistanceEntity::passOverNextFault()
{
    QMutexLocker locker(&entityLock);
    const int k = StateGroups::nextFault(*this);
    if (k >= 0)
        stateBeganUnreset[k] = true;
}

void ModelDistanceEntity::followTo(int state)
{
    QMutexLocker locker(&entityLock);
    StateGroups::followTo(*this, state);
}

int ModelDistanceEntity::updateFromDriverAction(int bi1flag, int bi2flag, float time, int index)
{
    QMutexLocker locker(&entityLock);
    return StateGroups::updateFromStateEnd(*this, bi1flag, bi2flag, time, index);
}

int ModelDistanceEntity::updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time)
{
    QMutexLocker locker(&entityLock);
    return StateGroups::recordReport(*this, statusTestStateIndex, biflag, index, time, stateOutputBIStates);
}

void ModelDistanceEntity::formatLimitValue(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    for (int s = 0; s < kMaxStates; ++s)
        limitChannelRanges(stateOutputRanges[s], vmax, imax);
}

bool ModelDistanceEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    return StateGroups::checkValues(*this);
}

ModelDistanceEntity::AOTriggerType ModelDistanceEntity::getTriggerType(int state) const
{
    QMutexLocker locker(&entityLock);
    if (state < 0 || state >= kMaxStates)
        return AO_TRIGGER_TYPE_TIME;
    return stateTriggerTypes[state];
}
