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
    std::fill(std::begin(stateBeginningJudged), std::end(stateBeginningJudged), false);
    tripLevels.clear();
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
    judgeBeginning(outputRunningStateIndex);
}

void ModelDistanceEntity::judgeBeginning(int r)
{
    QMutexLocker locker(&entityLock);
    if (r < 1 || r >= std::min(stateCount, int(kMaxStates)) || r % 3 != 1 || stateBeginningJudged[r])
        return;
    stateBeginningJudged[r] = true;
    // A page of some time since the fault before: what the relay did there
    // only the contacts tell.
    if (stateOutputTimes[r - 1] > 0.0 || (r >= 3 && stateOutputTimes[r - 2] > 0.0))
        tripLevels.takePolled();
    stateBeganUnreset[r] = tripLevels.operated(stateOutputBIStates, stateBILogicTypes);
}

bool ModelDistanceEntity::faultNeedless(int state) const
{
    QMutexLocker locker(&entityLock);
    return state >= 0 && state < kMaxStates && state == outputRunningStateIndex && stateBeganUnreset[state];
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
    const int r = outputRunningStateIndex;
    judgeBeginning(r);
    if (r >= 0 && r < kMaxStates && stateBeganUnreset[r]) {
        // The relay of a fault begun operated: a change, not a trip.
        if (DriverStateWord(statusTestStateIndex).ended() && index >= 0 && index <= 3)
            tripLevels.noteEdge(index, (biflag >> (2 * index)) & 3);
        return -1;
    }
    const int recorded = StateGroups::updateFromBIAction(*this, statusTestStateIndex, biflag, index, time);
    if (recorded == 0)
        tripLevels.noteTrip(index, stateActionBIStates[r][index]);
    return recorded;
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
