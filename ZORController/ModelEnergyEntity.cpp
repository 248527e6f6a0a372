#include "ModelEnergyEntity.h"

#include "CommDriverData.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace ModelEntity;

namespace {

// Truncation toward zero into [low, high]; NaN gives low.
double truncInto(double value, double low, double high)
{
    if (!(value == value))
        return low;
    return std::clamp(std::trunc(value), low, high);
}

}   // namespace

ModelEnergyEntity::ModelEnergyEntity(QObject* parent)
    : QObject(parent)
{
    for (AOTestStateType& state : stateTestStates)
        state = AO_STATE_TYPE_INITING;
}

void ModelEnergyEntity::resetActionValues()
{
    QMutexLocker locker(&entityLock);
    for (int s = 0; s < kMaxStates; ++s) {
        stateActualEnergys[s] = 0.0;
        stateActualTimes[s] = 0.0;
        pulseInputCounter[s] = 0;
        stateTestStates[s] = AO_STATE_TYPE_INITING;
    }
    stateTestStates[0] = AO_STATE_TYPE_RUNNNING;
}

void ModelEnergyEntity::switchToResetState()
{
    QMutexLocker locker(&entityLock);
    outputRunningStateIndex = 0;
    outputSendingStateIndex = 0;
    resetDriverStatus();
}

void ModelEnergyEntity::updateToDriverStateCount()
{
    QMutexLocker locker(&entityLock);
    if (globalTestOutputData)
        globalTestOutputData->outputStateCount = quint32(std::clamp(stateCount, 0, kMaxStates));
}

bool ModelEnergyEntity::switchToNextState()
{
    QMutexLocker locker(&entityLock);
    if (outputSendingStateIndex <= kMaxStates)
        ++outputSendingStateIndex;
    const int k = outputSendingStateIndex;
    return k >= 1 && k <= kMaxStates && k <= stateCount;
}

void ModelEnergyEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestOutputData)
        return;
    CommDriverTestOutputData& out = *globalTestOutputData;
    clearDriverOutputs(out);
    out.outputTime = 0.0f;
    out.outputTriggerType = COMM_TRIGGER_TYPE_TIME;

    const int k = outputSendingStateIndex;
    if (k < 0 || k >= kMaxStates || k >= stateCount)
        return;
    const int previous = k > 0 ? k - 1 : 0;
    for (int c = 0; c < 8; ++c) {
        out.outputRanges[c][0] = recordFloat(stateOutputRanges[k][c]);
        out.outputAngles[c][0] = foldAngle360f(stateOutputAngles[k][c]);
        out.outputFrequencies[c][0] = recordFloat(stateOutputFrequencies[k][c]);
        out.currentOutputRanges[c][0] = recordFloat(stateOutputRanges[previous][c]);
    }
    out.outputLinkStateType = k == 0 ? COMM_LINKSTATE_TYPE_INITIATE : COMM_LINKSTATE_TYPE_CONTINUE;
    out.outputLevelControlType = COMM_LEVELCONTROL_TYPE_AUTO;
    out.outputBOControlType = COMM_BOCONTROL_TYPE_AUTO;
    for (int i = 0; i < 4; ++i) {
        out.outputBOInitStates[i] = 0;
        if (globalTestControlData)
            globalTestControlData->controlBOStates[i] = 0;
        out.outputBOHoldEnables[i] = 1;
        out.outputBOTurnEnables[i] = 1;
        out.outputBIRiseEnables[i] = 0;
        out.outputBIFallEnables[i] = 0;
    }
    out.outputTime = float(kUntimedOutputTime);
    out.outputBILogic = COMM_BILOGIC_TYPE_OR;
    out.outputTriggerType = COMM_TRIGGER_TYPE_TIME;
}

void ModelEnergyEntity::updateToDriverBOStates()
{
    QMutexLocker locker(&entityLock);
    writeDriverBOStates(outputBOStates);
}

void ModelEnergyEntity::updateFromDriverState()
{
    QMutexLocker locker(&entityLock);
    if (outputRunningStateIndex <= kMaxStates)
        ++outputRunningStateIndex;
    const int r = outputRunningStateIndex;
    if (r < 1 || r > kMaxStates || r > stateCount)
        return;
    stateTestStates[r - 1] = AO_STATE_TYPE_COMPLETED;
    if (r < stateCount)
        stateTestStates[r] = AO_STATE_TYPE_RUNNNING;
}

void ModelEnergyEntity::formatLimitValue(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    for (int s = 0; s < kMaxStates; ++s)
        limitChannelRanges(stateOutputRanges[s], vmax, imax);
}

double ModelEnergyEntity::pulsePeriodTicks(int state) const
{
    QMutexLocker locker(&entityLock);
    if (state < 0 || state >= kMaxStates)
        return -1.0;
    const double rate = pulseOutputGiven[state] * pulseOutputConst;
    if (!std::isfinite(rate) || !(rate > 0.0))
        return -1.0;
    const double ticks = std::trunc(kPulsePeriodNumerator / rate);
    if (!std::isfinite(ticks) || ticks < 1.0 || ticks > kMaxPulsePeriod)
        return -1.0;
    return ticks;
}

quint32 ModelEnergyEntity::countWindowSeconds(int state) const
{
    QMutexLocker locker(&entityLock);
    if (state < 0 || state >= kMaxStates)
        return 0;
    const double pulses = stateSettingPulses[state];
    // Below one pulse the first edge may take the whole expected time.
    const double span = stateSampleDelayTimes[state] + double(kPulseSettleMs) / 1000.0
                      + firstEdgeAndPulsesSeconds(stateSettingTimes[state], pulses >= 1.0 ? pulses : 1.0);
    return quint32(truncInto(std::ceil(span * kCountWindowMargin), 0.0, double(UINT32_MAX)));
}

double ModelEnergyEntity::firstEdgeAndPulsesSeconds(double seconds, double pulses)
{
    return seconds / pulses + seconds;
}

void ModelEnergyEntity::updateToDriverPulse()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestOutputData)
        return;
    CommDriverTestOutputData& out = *globalTestOutputData;
    const int k = outputSendingStateIndex;
    const int j = (k >= 1 && k <= kMaxStates && k <= stateCount) ? k - 1 : 0;

    out.pulseInputTCU = quint16(truncInto(stateSettingPulses[j], 0.0, 65535.0));

    out.pulseOutputEnable = pulseOutputEnable;
    if (pulseOutputEnable != 0) {
        const double ticks = pulsePeriodTicks(j);
        if (ticks > 0.0)
            out.pulseOutputPeriod = quint64(ticks);
        else
            out.pulseOutputEnable = 0;   // no period to give: no pulses
    }

    out.pulseSampleTotalCount = countWindowSeconds(j);
    out.pulseSampleDelayTime = std::isfinite(stateSampleDelayTimes[j]) ? stateSampleDelayTimes[j] : 0.0;
    // The polling loop starts the measurement once it sees the input enabled:
    // the rest of the set-up is in place by then.
    out.pulseInputEnable = 1;
}

int ModelEnergyEntity::updateFromDriverPulse(unsigned short inputCounter, double inputPeriod)
{
    QMutexLocker locker(&entityLock);
    if (inputCounter == 0 && inputPeriod == 0.0)
        return -1;
    const int r = outputRunningStateIndex;
    if (r < 0 || r >= kMaxStates || r >= stateCount)
        return -1;
    pulseInputCounter[r] = inputCounter;
    stateActualTimes[r] = inputPeriod / kPulseClockRate;
    stateActualEnergys[r] = pulseOutputGiven[r] * stateActualTimes[r] / 3600.0;
    return 0;
}

bool ModelEnergyEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    if (stateCount < 1 || stateCount > kMaxStates)
        return false;
    for (int s = 0; s < stateCount; ++s) {
        if (!allFiniteFloat(stateOutputRanges[s], 8) || !allFiniteFloat(stateOutputAngles[s], 8)
            || !allFiniteFloat(stateOutputFrequencies[s], 8))
            return false;
        const double pulses = stateSettingPulses[s];
        if (!std::isfinite(pulses) || pulses < 0.0 || pulses > 65535.0)
            return false;
        for (double time : {stateSettingTimes[s], stateSampleDelayTimes[s]})
            if (!std::isfinite(time) || time < 0.0)
                return false;
        if (pulseOutputEnable != 0 && pulsePeriodTicks(s) < 0.0)
            return false;
    }
    return true;
}
