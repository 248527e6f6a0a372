#include "ModelOvercurrentEntity.h"

#include "BaseUtilityHelper.h"
#include "CommDriverData.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace ModelEntity;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kCompleteBit = 0x8000;

float recordValue(double value)
{
    return isFiniteFloat(value) ? float(value) : 0.0f;
}

bool allFinite(const double* values, int count)
{
    return std::all_of(values, values + count, [](double v) { return isFiniteFloat(v); });
}

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
    outputRunningStateIndex = 0;
    outputSendingStateIndex = 0;
    if (globalTestStatusData) {
        globalTestStatusData->statusTestStateIndex = 0;
        globalTestStatusData->statusBIStateAction = 0;
    }
}

void ModelOvercurrentEntity::updateToDriverStateCount()
{
    QMutexLocker locker(&entityLock);
    if (globalTestOutputData)
        globalTestOutputData->outputStateCount = quint32(std::clamp(stateCount, 0, kMaxStates) + 1);
}

bool ModelOvercurrentEntity::switchToNextState()
{
    QMutexLocker locker(&entityLock);
    if (outputSendingStateIndex < kMaxStates)
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
    std::fill(&out.outputRanges[0][0], &out.outputRanges[0][0] + 32, 0.0f);
    std::fill(&out.outputAngles[0][0], &out.outputAngles[0][0] + 32, 0.0f);
    std::fill(&out.outputFrequencies[0][0], &out.outputFrequencies[0][0] + 32, 0.0f);
    out.outputTime = 0.0f;
    out.outputTriggerType = COMM_TRIGGER_TYPE_TIME;

    const int k = outputSendingStateIndex;
    if (k < 0 || k >= kMaxStates || k >= stateCount)
        return; // past the last state: zeroes only, the other fields as the previous page

    const int previous = k > 0 ? k - 1 : 0;
    for (int c = 0; c < 8; ++c) {
        out.outputRanges[c][0] = recordValue(stateOutputRanges[k][c]);
        out.outputAngles[c][0] = foldAngle360f(stateOutputAngles[k][c]);
        out.outputFrequencies[c][0] = recordValue(stateOutputFrequencies[k][c]);
        out.currentOutputRanges[c][0] = recordValue(stateOutputRanges[previous][c]);
    }
    out.outputLinkStateType = COMM_LINKSTATE_TYPE_INITIATE;
    out.outputLevelControlType = COMM_LEVELCONTROL_TYPE_AUTO;
    out.outputBOControlType = COMM_BOCONTROL_TYPE_AUTO;
    for (int i = 0; i < 4; ++i) {
        out.outputBOHoldEnables[i] = 1;
        out.outputBOTurnEnables[i] = 1;
        out.outputBOInitStates[i] = quint32(stateOutputBOStates[k][i]);
    }
    const bool faultState = k % 3 == 1;
    for (int i = 0; i < 4; ++i) {
        out.outputBIRiseEnables[i] = faultState ? quint32(stateOutputBIStates[i] & 1) : 0u;
        out.outputBIFallEnables[i] = faultState ? quint32((stateOutputBIStates[i] >> 1) & 1) : 0u;
    }
    out.outputBILogic = faultState ? quint32(stateBILogicTypes) : 0u;
    out.outputTriggerType = faultState ? quint16(COMM_TRIGGER_TYPE_TIME_BINARY) : quint16(COMM_TRIGGER_TYPE_TIME);
    out.outputTime = recordValue(stateOutputTimes[k]);
}

void ModelOvercurrentEntity::updateToDriverBOStates()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestControlData)
        return;
    for (int i = 0; i < 4; ++i)
        globalTestControlData->controlBOStates[i] = quint8(outputBOStates[i] & 0xFF);
}

void ModelOvercurrentEntity::updateFromDriverState(int statusTestStateIndex)
{
    QMutexLocker locker(&entityLock);
    if ((statusTestStateIndex & kCompleteBit) && outputRunningStateIndex <= kMaxStates)
        ++outputRunningStateIndex;
    const int r = outputRunningStateIndex;
    if (r < 1 || r > kMaxStates || r > stateCount)
        return;
    switch (r % 3) {
    case 0:
        if (r < stateCount) {
            stateTestStates[r - 1] = AO_STATE_TYPE_COMPLETED;
            for (int s = r; s < r + 3 && s < kMaxStates; ++s)
                stateTestStates[s] = AO_STATE_TYPE_RUNNNING;
        }
        break;
    case 2:
        stateTestStates[r - 2] = AO_STATE_TYPE_COMPLETED;
        stateTestStates[r - 1] = AO_STATE_TYPE_COMPLETED;
        break;
    default:
        break;
    }
}

int ModelOvercurrentEntity::updateFromDriverAction(int bi1flag, int bi2flag, float time, int index)
{
    QMutexLocker locker(&entityLock);
    if (index < 1 || index > stateCount || index > kMaxStates)
        return -1;
    const int s = index - 1;
    const double t = double(time);
    if (stateActionUpdateState[s] < 0) {
        if (bi1flag)
            stateActionTimes[s][0] = t;
        if (bi2flag)
            stateActionTimes[s][1] = t;
        stateActionUpdateState[s] = 0;
        return 0;
    }
    bool changed = false;
    if (bi1flag && stateActionTimes[s][0] != t) {
        stateActionTimes[s][0] = t;
        changed = true;
    }
    if (bi2flag && stateActionTimes[s][1] != t) {
        stateActionTimes[s][1] = t;
        changed = true;
    }
    return changed ? 0 : -1;
}

int ModelOvercurrentEntity::updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time)
{
    QMutexLocker locker(&entityLock);
    const int r = outputRunningStateIndex;
    if (r < 1 || r % 3 != 1 || r >= stateCount || r >= kMaxStates || !(statusTestStateIndex & kCompleteBit))
        return -1;
    if (index < 0 || index > 3)
        return -1;
    stateActionTimes[r][index] = double(time);
    stateActionBIStates[r][index] = (biflag >> (2 * index)) & 3;
    return 0;
}

void ModelOvercurrentEntity::formatLimitValue(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    const int count = std::clamp(stateCount, 0, kMaxStates);
    for (int s = 0; s < count; ++s)
        for (int c = 0; c < 8; ++c)
            BaseUtilityHelper::formatLimit(c < 4 ? vmax : imax, 0.0, &stateOutputRanges[s][c]);
}

bool ModelOvercurrentEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    if (stateCount < 1 || stateCount > kMaxStates)
        return false;
    for (int s = 0; s < stateCount; ++s) {
        if (!allFinite(stateOutputRanges[s], 8) || !allFinite(stateOutputAngles[s], 8)
            || !allFinite(stateOutputFrequencies[s], 8) || !isFiniteFloat(stateOutputTimes[s]))
            return false;
    }
    return true;
}

ModelOvercurrentEntity::AOTriggerType ModelOvercurrentEntity::getTriggerType(int state) const
{
    QMutexLocker locker(&entityLock);
    if (state < 0 || state >= kMaxStates)
        return AO_TRIGGER_TYPE_TIME;
    return stateTriggerTypes[state];
}
