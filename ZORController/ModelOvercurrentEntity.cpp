#include "ModelOvercurrentEntity.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

using namespace ModelEntity;

ModelOvercurrentEntity::ModelOvercurrentEntity()
{
    for (AOTriggerType& trigger : stateTriggerTypes)
        trigger = AO_TRIGGER_TYPE_TIME;
    clearStateActions(*this);
}

void ModelOvercurrentEntity::resetActionValues()
{
    QMutexLocker locker(&entityLock);
    clearStateActions(*this);
    std::fill(std::begin(stateBeganUnreset), std::end(stateBeganUnreset), false);
    std::fill(std::begin(resetWaitNeedless), std::end(resetWaitNeedless), false);
    stateTestStates[0] = AO_STATE_TYPE_RUNNNING;
    stateTestStates[1] = AO_STATE_TYPE_RUNNNING;
}

void ModelOvercurrentEntity::switchToResetState()
{
    QMutexLocker locker(&entityLock);
    // A first pre-fault state of no time: the run begins with the fault.
    const int first = passesOver(0) ? 1 : 0;
    outputRunningStateIndex = first;
    outputSendingStateIndex = first;
    resetDriverStatus();
}

void ModelOvercurrentEntity::updateToDriverStateCount()
{
    QMutexLocker locker(&entityLock);
    const int count = std::clamp(stateCount, 0, kMaxStates);
    int played = 0;
    for (int s = 0; s < count; ++s)
        played += passesOver(s) ? 0 : 1;
    if (globalTestOutputData)
        globalTestOutputData->outputStateCount = quint32(played + 1);
}

bool ModelOvercurrentEntity::switchToNextState()
{
    QMutexLocker locker(&entityLock);
    if (outputSendingStateIndex < kMaxStates)
        ++outputSendingStateIndex;
    while (passesOver(outputSendingStateIndex))
        ++outputSendingStateIndex;
    const int k = outputSendingStateIndex;
    return k >= 0 && k < kMaxStates && k < stateCount;
}

void ModelOvercurrentEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestOutputData)
        return;
    CommDriverTestOutputData& out = *globalTestOutputData;
    StateGroups::writeDriverValue(*this, out);
    if (!awaitsReset(outputSendingStateIndex))
        return;
    // Each trip input back: the edge opposite to the one the fault watches.
    for (int i = 0; i < 4; ++i) {
        out.outputBIRiseEnables[i] = quint32((stateOutputBIStates[i] >> 1) & 1);
        out.outputBIFallEnables[i] = quint32(stateOutputBIStates[i] & 1);
    }
    out.outputBILogic = quint32(stateBILogicTypes);
    out.outputTriggerType = COMM_TRIGGER_TYPE_TIME_BINARY;
}

void ModelOvercurrentEntity::updateToDriverBOStates()
{
    QMutexLocker locker(&entityLock);
    writeDriverBOStates(outputBOStates);
}

void ModelOvercurrentEntity::updateFromDriverState(int statusTestStateIndex)
{
    QMutexLocker locker(&entityLock);
    StateGroups::updateFromState(*this, statusTestStateIndex);
    // A state passed over ends as it begins.
    while (passesOver(outputRunningStateIndex))
        StateGroups::updateFromState(*this, DriverStateWord::kEndedBit);
}

int ModelOvercurrentEntity::nextFault() const
{
    QMutexLocker locker(&entityLock);
    return StateGroups::nextFault(*this);
}

bool ModelOvercurrentEntity::faultNext() const
{
    return nextFault() >= 0;
}

void ModelOvercurrentEntity::passOverNextFault()
{
    QMutexLocker locker(&entityLock);
    const int k = nextFault();
    if (k >= 0)
        stateBeganUnreset[k] = true;
}

void ModelOvercurrentEntity::followTo(int state)
{
    QMutexLocker locker(&entityLock);
    StateGroups::followTo(*this, state);
}

int ModelOvercurrentEntity::updateFromDriverAction(int bi1flag, int bi2flag, float time, int index)
{
    QMutexLocker locker(&entityLock);
    return StateGroups::updateFromStateEnd(*this, bi1flag, bi2flag, time, index);
}

int ModelOvercurrentEntity::updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time)
{
    QMutexLocker locker(&entityLock);
    return StateGroups::recordReport(*this, statusTestStateIndex, biflag, index, time, stateOutputBIStates);
}

void ModelOvercurrentEntity::formatLimitValue(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    const int count = std::clamp(stateCount, 0, kMaxStates);
    for (int s = 0; s < count; ++s)
        limitChannelRanges(stateOutputRanges[s], vmax, imax);
}

bool ModelOvercurrentEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    return StateGroups::checkValues(*this);
}

bool ModelOvercurrentEntity::passesOver(int state) const
{
    QMutexLocker locker(&entityLock);
    // The last state always plays: the run ends once the instrument enters it.
    if (state < 0 || state >= std::min(stateCount, int(kMaxStates)) - 1)
        return false;
    if (state % 3 == 1)
        return stateBeganUnreset[state];
    return !(stateOutputTimes[state] > 0.0) || resetWaitNeedless[state];
}

void ModelOvercurrentEntity::passOverResetWait()
{
    QMutexLocker locker(&entityLock);
    const int k = outputSendingStateIndex + 1;
    if (awaitsReset(k))
        resetWaitNeedless[k] = true;
}

bool ModelOvercurrentEntity::awaitsReset(int state) const
{
    QMutexLocker locker(&entityLock);
    return state >= 0 && state < std::min(stateCount, int(kMaxStates)) && state % 3 == 2
           && stateTriggerTypes[state] == AO_TRIGGER_TYPE_TIME_BINARY && stateOutputTimes[state] > 0.0;
}

ModelOvercurrentEntity::AOTriggerType ModelOvercurrentEntity::getTriggerType(int state) const
{
    QMutexLocker locker(&entityLock);
    if (state < 0 || state >= kMaxStates)
        return AO_TRIGGER_TYPE_TIME;
    return stateTriggerTypes[state];
}
