#include "ModelStateSequenceEntity.h"

#include "BaseUtilityHelper.h"
#include "CommDriverData.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace ModelEntity;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool timedTrigger(AOTriggerType trigger)
{
    return trigger == AO_TRIGGER_TYPE_TIME || trigger == AO_TRIGGER_TYPE_TIME_BINARY;
}

} // namespace

ModelStateSequenceEntity::ModelStateSequenceEntity()
{
    for (int s = 0; s < kMaxStates; ++s) {
        stateOutputLinkTypes[s] = AO_LINKSTATE_TYPE_INITIATE;
        stateBILogicTypes[s] = AO_BILOGIC_TYPE_OR;
        stateTriggerTypes[s] = AO_TRIGGER_TYPE_TIME;
        stateTestStates[s] = AO_STATE_TYPE_INITING;
        stateActionUpdateState[s] = -1;
        stateTriggerTimes[s] = kNaN;
        for (int i = 0; i < 4; ++i) {
            stateActionTimes[s][i] = kNaN;
            stateActionBIStates[s][i] = -1;
        }
    }
}

void ModelStateSequenceEntity::switchToResetState()
{
    QMutexLocker locker(&entityLock);
    outputRunningStateIndex = 0;
    outputSendingStateIndex = 0;
    resetDriverStatus();
    if (globalTestControlData)
        globalTestControlData->controlAutoOutputStateEnable = 1;
}

void ModelStateSequenceEntity::resetActionValues()
{
    QMutexLocker locker(&entityLock);
    for (int s = 0; s < kMaxStates; ++s) {
        for (int i = 0; i < 4; ++i) {
            stateActionTimes[s][i] = kNaN;
            stateActionBIStates[s][i] = -1;
        }
        stateActionUpdateState[s] = -1;
        stateTriggerTimes[s] = kNaN;
        stateTestStates[s] = AO_STATE_TYPE_INITING;
    }
    stateTestStates[0] = AO_STATE_TYPE_RUNNNING;
    lastActionStateIndex = -1;
}

void ModelStateSequenceEntity::updateToDriverStateCount()
{
    QMutexLocker locker(&entityLock);
    if (globalTestOutputData)
        globalTestOutputData->outputStateCount = quint32(std::clamp(stateCount, 0, kMaxStates));
}

bool ModelStateSequenceEntity::switchToNextState()
{
    QMutexLocker locker(&entityLock);
    if (outputSendingStateIndex < kMaxStates)
        ++outputSendingStateIndex;
    return outputSendingStateIndex >= 0 && outputSendingStateIndex < kMaxStates
           && outputSendingStateIndex < stateCount;
}

void ModelStateSequenceEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    const int s = outputSendingStateIndex;
    if (!globalTestOutputData || s < 0 || s >= kMaxStates || s >= stateCount)
        return;
    CommDriverTestOutputData& out = *globalTestOutputData;

    clearDriverOutputs(out);

    // The running state's amplitudes feed the engine's current maximum.
    const int running = std::clamp(outputRunningStateIndex, 0, std::min(stateCount, int(kMaxStates)) - 1);
    for (int c = 0; c < 8; ++c) {
        out.outputRanges[c][0] = recordFloat(stateOutputRanges[s][c]);
        out.outputAngles[c][0] = foldAngle360f(stateOutputAngles[s][c]);
        out.outputFrequencies[c][0] = recordFloat(stateOutputFrequencies[s][c]);
        out.currentOutputRanges[c][0] = recordFloat(stateOutputRanges[running][c]);
    }

    for (int i = 0; i < 4; ++i) {
        out.outputBOInitStates[i] = quint32(stateOutputBOStates[s][i]);
        out.outputBOHoldEnables[i] = 1;
        out.outputBOTurnEnables[i] = 1;
        out.outputBIRiseEnables[i] = quint32(stateOutputBIStates[s][i] & 1);
        out.outputBIFallEnables[i] = quint32((stateOutputBIStates[s][i] >> 1) & 1);
    }
    out.outputLinkStateType = quint32(stateOutputLinkTypes[s]);
    out.outputLevelControlType = COMM_LEVELCONTROL_TYPE_AUTO;
    out.outputBOControlType = COMM_BOCONTROL_TYPE_AUTO;
    out.outputBILogic = quint32(stateBILogicTypes[s]);
    out.outputTriggerType = quint16(stateTriggerTypes[s]);
    out.outputTime = timedTrigger(stateTriggerTypes[s]) ? recordFloat(stateOutputTimes[s])
                                                        : float(kUntimedOutputTime);
}

bool ModelStateSequenceEntity::isLastState() const
{
    QMutexLocker locker(&entityLock);
    if (!globalTestStatusData)
        return false;
    return DriverStateWord(globalTestStatusData->statusTestStateIndex).ended();
}

void ModelStateSequenceEntity::updateFromDriverState(double triggerTime)
{
    QMutexLocker locker(&entityLock);
    if (outputRunningStateIndex <= kMaxStates)
        ++outputRunningStateIndex;
    const int r = outputRunningStateIndex;
    const int count = std::min(stateCount, int(kMaxStates));
    if (r >= 1 && r < count) {
        stateTestStates[r] = AO_STATE_TYPE_RUNNNING;
        stateTestStates[r - 1] = AO_STATE_TYPE_COMPLETED;
        stateTriggerTimes[r - 1] = triggerTime;
    } else if (r >= 1 && r == count) {
        stateTestStates[r - 1] = AO_STATE_TYPE_COMPLETED;
        stateTriggerTimes[r - 1] = triggerTime;
    }
}

int ModelStateSequenceEntity::stateOfActionPage(int page) const
{
    QMutexLocker locker(&entityLock);
    if (page < 0 || page >= kPages)
        return -1;
    const int first = std::max(outputRunningStateIndex, 0) - 1;
    return first + DriverStateWord::pagesOnFrom(first, page);
}

int ModelStateSequenceEntity::updateFromDriverAction(int biflag, int index, float time)
{
    if (!globalTestStatusData)
        return -1;
    return updateFromDriverAction(biflag, index, time, globalTestStatusData->statusTestActionStateIndex);
}

int ModelStateSequenceEntity::updateFromDriverAction(int biflag, int index, float time, int page)
{
    QMutexLocker locker(&entityLock);
    if (index < 0 || index > 3)
        return -1;
    const int s = stateOfActionPage(page);
    if (s < 0 || s >= stateCount || s >= kMaxStates)
        return -1;
    stateActionTimes[s][index] = double(time);
    stateActionBIStates[s][index] = (biflag >> (2 * index)) & 3;
    lastActionStateIndex = s;
    return 0;
}

int ModelStateSequenceEntity::updateFromDriverAction(int bi1flag, int bi2flag, float time, int index,
                                                     int bi1state, int bi2state)
{
    QMutexLocker locker(&entityLock);
    if (index < 1 || index > stateCount || index > kMaxStates)
        return -1;
    const int s = index - 1;
    const double t = double(time);
    if (stateActionUpdateState[s] < 0) {
        if (bi1flag) {
            stateActionTimes[s][0] = t;
            stateActionBIStates[s][0] = bi1state;
        }
        if (bi2flag) {
            stateActionTimes[s][1] = t;
            stateActionBIStates[s][1] = bi2state;
        }
        stateActionUpdateState[s] = 0;
        return 0;
    }
    bool changed = false;
    if (bi1flag && stateActionTimes[s][0] != t) {
        stateActionTimes[s][0] = t;
        stateActionBIStates[s][0] = bi1state;
        changed = true;
    }
    if (bi2flag && stateActionTimes[s][1] != t) {
        stateActionTimes[s][1] = t;
        stateActionBIStates[s][1] = bi2state;
        changed = true;
    }
    return changed ? 0 : -1;
}

void ModelStateSequenceEntity::updateToDriverBOStates()
{
    QMutexLocker locker(&entityLock);
    writeDriverBOStates(outputBOStates);
}

void ModelStateSequenceEntity::formatLimitValue(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    for (int s = 0; s < kMaxStates; ++s)
        limitChannelRanges(stateOutputRanges[s], vmax, imax);
    keepLimits(vmax, imax);
}

void ModelStateSequenceEntity::keepLimits(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    voltageLimit = vmax;
    currentLimit = imax;
}

void ModelStateSequenceEntity::updateToDriverCloseDefine(int index)
{
    QMutexLocker locker(&entityLock);
    if (!globalTestOutputData || index < 0 || index >= kMaxStates)
        return;
    const CloseDefine& close = stateCloseDefine[index];
    DecayDefine& decay = globalTestOutputData->decayDefine;
    const int link = int(close.linkphaseType);
    const bool knownLink = link >= CLOSE_LINKPHASE_TYPE_UA && link <= CLOSE_LINKPHASE_TYPE_UABC;
    decay.decayEnable = close.decayEnable;
    decay.linkphaseType = knownLink ? COMMLinkPhaseType(link) : COMM_LINKPHASE_TYPE_UA;
    decay.closeAngle = close.closeAngle;
    decay.decayFactor = close.decayFactor;
    decay.decayZValue = close.decayZValue;

    const double* ranges = stateOutputRanges[index];
    const double* angles = stateOutputAngles[index];
    double faultRange = 0.0;
    double faultAngle = 0.0;
    switch (link) {
    case CLOSE_LINKPHASE_TYPE_UA:
    case CLOSE_LINKPHASE_TYPE_UB:
    case CLOSE_LINKPHASE_TYPE_UC:
    case CLOSE_LINKPHASE_TYPE_UABC: {
        const int phase = link == CLOSE_LINKPHASE_TYPE_UABC ? 0 : link;
        faultRange = ranges[4 + phase];
        faultAngle = angles[4 + phase] - angles[phase];
        break;
    }
    case CLOSE_LINKPHASE_TYPE_UAB:
    case CLOSE_LINKPHASE_TYPE_UBC:
    case CLOSE_LINKPHASE_TYPE_UCA: {
        const int first = link - CLOSE_LINKPHASE_TYPE_UAB;
        const int second = (first + 1) % 3;
        double diffRange = 0.0;
        double diffAngle = 0.0;
        BaseUtilityHelper::vectorDec(ranges[first], angles[first], ranges[second], angles[second], &diffRange,
                                     &diffAngle);
        faultRange = ranges[4 + first];
        faultAngle = angles[4 + first] - diffAngle;
        break;
    }
    default:
        break;
    }
    decay.faultRange = recordFloat(faultRange);
    decay.faultAngle = recordFloat(faultAngle);
}

bool ModelStateSequenceEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    if (stateCount < 1 || stateCount > kMaxStates)
        return false;
    for (int s = 0; s < stateCount; ++s) {
        if (!allFiniteFloat(stateOutputRanges[s], 8) || !allFiniteFloat(stateOutputAngles[s], 8)
            || !allFiniteFloat(stateOutputFrequencies[s], 8))
            return false;
        if (timedTrigger(stateTriggerTypes[s]) && !isFiniteFloat(stateOutputTimes[s]))
            return false;
        // A trigger the instrument does not know would never end the state.
        if (stateTriggerTypes[s] < AO_TRIGGER_TYPE_TIME || stateTriggerTypes[s] > AO_TRIGGER_TYPE_GPS)
            return false;
    }
    return true;
}

ModelStateSequenceEntity::AOTriggerType ModelStateSequenceEntity::getTriggerType(int state) const
{
    QMutexLocker locker(&entityLock);
    if (state < 0 || state >= kMaxStates)
        return AO_TRIGGER_TYPE_TIME;
    return stateTriggerTypes[state];
}
