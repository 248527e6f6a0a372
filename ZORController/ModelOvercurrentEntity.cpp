#include "ModelOvercurrentEntity.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace ModelEntity;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

ModelOvercurrentEntity::ModelOvercurrentEntity()
{
    for (int s = 0; s < kMaxStates; ++s) {
        stateTriggerTypes[s] = AO_TRIGGER_TYPE_TIME;
        stateTestStates[s] = AO_STATE_TYPE_INITING;
        stateActionUpdateState[s] = -1;
        for (int i = 0; i < 4; ++i) {
            stateActionTimes[s][i] = kNaN;
            stateActionBIStates[s][i] = -1;
        }
    }
}

void ModelOvercurrentEntity::resetActionValues()
{
    QMutexLocker locker(&entityLock);
    for (int s = 0; s < kMaxStates; ++s) {
        for (int i = 0; i < 4; ++i) {
            stateActionTimes[s][i] = kNaN;
            stateActionBIStates[s][i] = -1;
        }
        stateActionUpdateState[s] = -1;
        stateTestStates[s] = AO_STATE_TYPE_INITING;
    }
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
    if (globalTestOutputData)
        StateGroups::writeDriverValue(*this, *globalTestOutputData);
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

int ModelOvercurrentEntity::updateFromDriverAction(int bi1flag, int bi2flag, float time, int index)
{
    QMutexLocker locker(&entityLock);
    return StateGroups::updateFromStateEnd(*this, bi1flag, bi2flag, time, index);
}

int ModelOvercurrentEntity::updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time)
{
    QMutexLocker locker(&entityLock);
    return StateGroups::updateFromBIAction(*this, statusTestStateIndex, biflag, index, time);
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
    if (state < 0 || state >= std::min(stateCount, int(kMaxStates)) - 1 || state % 3 == 1)
        return false;
    return !(stateOutputTimes[state] > 0.0);
}

ModelOvercurrentEntity::AOTriggerType ModelOvercurrentEntity::getTriggerType(int state) const
{
    QMutexLocker locker(&entityLock);
    if (state < 0 || state >= kMaxStates)
        return AO_TRIGGER_TYPE_TIME;
    return stateTriggerTypes[state];
}
