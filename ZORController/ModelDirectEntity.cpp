#include "ModelDirectEntity.h"

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

// POWER_AMP_TYPE_DIGITAL: IA drives IA and IC in opposition.
bool digitalAmplifier()
{
    return globalConfigureHardData && globalConfigureHardData->powerAmpType == 1;
}

void clearActionValue(faultActionValStruct& value)
{
    value.portCnt = 0;
    for (double& v : value.actionVal)
        v = kNaN;
}

} // namespace

ModelDirectEntity::ModelDirectEntity()
{
    for (int i = 0; i < 4; ++i) {
        faultActionTimes[i] = kNaN;
        faultActionReturnTimes[i] = kNaN;
    }
}

double* ModelDirectEntity::itemArray(RampItemType item)
{
    switch (item) {
    case RAMP_ITEM_TYPE_RANGE:
        return outputRanges;
    case RAMP_ITEM_TYPE_ANGLE:
        return outputAngles;
    case RAMP_ITEM_TYPE_FREQUENCY:
        return outputFrequencies;
    }
    return nullptr;
}

double* ModelDirectEntity::nextItemArray(RampItemType item)
{
    switch (item) {
    case RAMP_ITEM_TYPE_RANGE:
        return nextOutputRanges;
    case RAMP_ITEM_TYPE_ANGLE:
        return nextOutputAngles;
    case RAMP_ITEM_TYPE_FREQUENCY:
        return nextOutputFrequencies;
    }
    return nullptr;
}

void ModelDirectEntity::switchToResetState()
{
    QMutexLocker locker(&entityLock);
    stateCount = 32;
    currentRampFactor = 1;
    lastState = false;
    lastStep = false;
    if (globalTestStatusData) {
        globalTestStatusData->statusTestStateIndex = 0;
        globalTestStatusData->statusBIStateAction = 0;
    }
    if (autoRampEnabled) {
        // Only the amplitude ramps; another item counts from 0 and never steps.
        double begin = 0.0;
        if (faultActionItem == RAMP_ITEM_TYPE_RANGE) {
            std::copy(outputRanges, outputRanges + 8, beginRampValue);
            begin = getMinMaxBeginRampVal(beginRampValue, actionRampFactor >= 1);
        }
        if (actionRampStep != 0.0) {
            // Counted in double: a tiny step or a huge span saturates instead
            // of overflowing the conversion; NaN saturates too.
            const double count = std::trunc(std::fabs((endRampValue - begin) / actionRampStep) + 3.0);
            stateCount = count <= double(kMaxStateCount) ? qint32(count) : kMaxStateCount + 1;
        }
    }
    std::copy(outputRanges, outputRanges + 8, nextOutputRanges);
    std::copy(outputAngles, outputAngles + 8, nextOutputAngles);
    std::copy(outputFrequencies, outputFrequencies + 8, nextOutputFrequencies);
}

void ModelDirectEntity::resetActionValues()
{
    QMutexLocker locker(&entityLock);
    for (int i = 0; i < 4; ++i) {
        if (currentRampFactor == 1) {
            faultActionTimes[i] = kNaN;
            clearActionValue(faultActionValues[i]);
            faultActionBiIndex = -1;
        }
        faultActionReturnTimes[i] = kNaN;
        clearActionValue(faultActionReturnValues[i]);
        faultActionReturnBiIndex = -1;
        faultActionStates[i] = -1;
    }
}

void ModelDirectEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestOutputData)
        return;
    CommDriverTestOutputData& out = *globalTestOutputData;
    for (int c = 0; c < 8; ++c) {
        for (int k = 0; k < 4; ++k) {
            out.outputRanges[c][k] = 0.0f;
            out.outputAngles[c][k] = 0.0f;
            out.outputFrequencies[c][k] = 0.0f;
        }
    }
    const double* ranges = autoRampEnabled ? nextOutputRanges : outputRanges;
    for (int c = 0; c < 8; ++c) {
        out.outputRanges[c][0] = recordValue(ranges[c]);
        out.outputAngles[c][0] = 90.0f;
        out.outputFrequencies[c][0] = 0.0f;
        out.currentOutputRanges[c][0] = recordValue(outputRanges[c]);
    }
    if (digitalAmplifier()) {
        out.outputAngles[COMM_PORT_TYPE_IA][0] = 270.0f;
        out.outputRanges[COMM_PORT_TYPE_IB][0] = 0.0f;
        out.currentOutputRanges[COMM_PORT_TYPE_IB][0] = 0.0f;
        out.outputAngles[COMM_PORT_TYPE_IB][0] = -180.0f;
        out.outputAngles[COMM_PORT_TYPE_IC][0] = 90.0f;
        out.outputRanges[COMM_PORT_TYPE_IC][0] = out.outputRanges[COMM_PORT_TYPE_IA][0];
        out.currentOutputRanges[COMM_PORT_TYPE_IC][0] = out.currentOutputRanges[COMM_PORT_TYPE_IA][0];
    }
    out.outputLevelControlType = COMM_LEVELCONTROL_TYPE_AUTO;
    out.outputBOControlType = COMM_BOCONTROL_TYPE_AUTO;
    for (int i = 0; i < 4; ++i) {
        out.outputBOInitStates[i] = quint32(stateOutputBOStates[i]);
        out.outputBOHoldEnables[i] = 1;
        out.outputBOTurnEnables[i] = 1;
        out.outputBIRiseEnables[i] = quint32(stateOutputBIStates[i]) & 1u;
        out.outputBIFallEnables[i] = (quint32(stateOutputBIStates[i]) >> 1) & 1u;
    }
    out.outputBILogic = quint32(stateBILogicTypes);
    out.outputLinkStateType = COMM_LINKSTATE_TYPE_INITIATE;
    out.outputTime = autoRampEnabled ? recordValue(actionRampTime) : float(kSteadyOutputTime);
    out.outputTriggerType = faultActionType == ACTION_TYPE_CONTINUE ? COMM_TRIGGER_TYPE_TIME
                                                                    : COMM_TRIGGER_TYPE_TIME_BINARY;
}

void ModelDirectEntity::updateToDriverStateCount()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestOutputData)
        return;
    globalTestOutputData->outputStateCount = quint32(std::clamp(stateCount, 0, kMaxStateCount) + 1);
}

bool ModelDirectEntity::switchToNextState()
{
    QMutexLocker locker(&entityLock);
    if (lastState)
        return false;
    std::copy(nextOutputRanges, nextOutputRanges + 8, outputRanges);
    std::copy(nextOutputAngles, nextOutputAngles + 8, outputAngles);
    std::copy(nextOutputFrequencies, nextOutputFrequencies + 8, outputFrequencies);
    if (!lastStep) {
        if (faultActionItem != RAMP_ITEM_TYPE_RANGE || updateNextOuputVal(nextOutputRanges) == 0)
            lastStep = true;
    } else {
        lastState = true;
    }
    return true;
}

void ModelDirectEntity::updateToDriverBOStates()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestControlData)
        return;
    for (int i = 0; i < 4; ++i)
        globalTestControlData->controlBOStates[i] = quint8(outputBOStates[i] & 0xFF);
}

void ModelDirectEntity::updateFromDriverState()
{
}

int ModelDirectEntity::updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time)
{
    QMutexLocker locker(&entityLock);
    if (index < 0 || index > 3 || !(time > 0.0f))
        return -1;
    const double t = double(time);
    const bool complete = (statusTestStateIndex & kCompleteBit) != 0;

    const bool forward = (std::isnan(faultActionTimes[index]) || faultActionTimes[index] != t)
                         && currentRampFactor == 1;
    if (!forward && (faultActionReturnTimes[index] == t || currentRampFactor != -1))
        return -1;

    double* times = forward ? faultActionTimes : faultActionReturnTimes;
    qint32& biIndex = forward ? faultActionBiIndex : faultActionReturnBiIndex;
    faultActionValStruct* values = forward ? faultActionValues : faultActionReturnValues;

    if (stateBILogicTypes == AO_BILOGIC_TYPE_OR || complete) {
        times[index] = t;
        biIndex = index;
    } else {
        if (biIndex >= 0)
            return -1;
        for (int i = 0; i < 4; ++i) {
            const int code = (biflag >> (2 * i)) & 3;
            if (code == 1 || code == 2)
                times[i] = t;
        }
        bool all = true;
        for (int i = 0; i < 4; ++i) {
            if (stateOutputBIStates[i] != 0 && !(times[i] > 0.0))
                all = false;
        }
        if (all)
            biIndex = index;
    }
    if (biIndex < 0)
        return -1;
    if (faultActionItem == RAMP_ITEM_TYPE_RANGE)
        getFaultActionValue(faultActionPort, outputRanges, values[index]);
    return 0;
}

int ModelDirectEntity::updateFromDriverAction(int bi1flag, int bi2flag, float time, int index)
{
    QMutexLocker locker(&entityLock);
    const double t = double(time);
    auto holds = [&](int slot) { return faultActionTimes[slot] == t || faultActionStates[slot] != -1; };
    auto fill = [&](int slot) {
        faultActionTimes[slot] = t;
        faultActionStates[slot] = index;
        if (faultActionItem == RAMP_ITEM_TYPE_RANGE)
            getFaultActionValue(faultActionPort, outputRanges, faultActionValues[slot]);
    };
    if (!(time > 0.0f) || (bi1flag == 0 && bi2flag == 0))
        return -1;
    if (autoRampEnabled) {
        if (index < 1 || index > stateCount)
            return -1;
        if (!holds(0)) {
            fill(0);
            return 0;
        }
        if (holds(1) || index == faultActionStates[0])
            return -1;
        fill(1);
        return 0;
    }
    if (index < 0 || holds(0))
        return -1;
    fill(0);
    return 0;
}

void ModelDirectEntity::formatLimitValue(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    for (int c = 0; c < 8; ++c)
        BaseUtilityHelper::formatLimit(c < 4 ? vmax : imax, 0.0, &outputRanges[c]);
}

bool ModelDirectEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    if (!allFinite(outputRanges, 8))
        return false;
    if (!autoRampEnabled)
        return true;
    if (!allFinite(nextOutputRanges, 8))
        return false;
    return isFiniteFloat(actionRampStep) && isFiniteFloat(endRampValue) && isFiniteFloat(actionRampTime)
           && stateCount >= 1 && stateCount <= kMaxStateCount;
}

double ModelDirectEntity::maxOutputCurrent() const
{
    QMutexLocker locker(&entityLock);
    double result = 0.0;
    const bool digital = digitalAmplifier();
    for (int c = 4; c < 8; ++c) {
        int source = c;
        if (digital && c == COMM_PORT_TYPE_IB)
            continue;
        if (digital && c == COMM_PORT_TYPE_IC)
            source = COMM_PORT_TYPE_IA;
        if (isFiniteFloat(outputRanges[source]))
            result = std::max(result, std::fabs(outputRanges[source]));
    }
    return result;
}

double ModelDirectEntity::getMinMaxBeginRampVal(const double* outputArry, bool add) const
{
    int channels[3];
    const int count = rampPortChannels(faultActionPort, channels);
    if (count == 0 || !outputArry)
        return 0.0;
    double value = outputArry[channels[0]];
    for (int k = 1; k < count; ++k)
        value = add ? std::min(value, outputArry[channels[k]]) : std::max(value, outputArry[channels[k]]);
    return value;
}

int ModelDirectEntity::updateCurrentVal(double& currentValue, double beginVal) const
{
    currentValue += double(actionRampFactor) * double(currentRampFactor) * std::fabs(actionRampStep);
    const bool rising = actionRampFactor >= 1;
    if (currentRampFactor == 1) {
        if (rising ? currentValue >= endRampValue : currentValue <= endRampValue) {
            currentValue = endRampValue;
            return 0;
        }
        return 1;
    }
    if (currentRampFactor == -1) {
        if (rising ? currentValue <= beginVal : currentValue >= beginVal) {
            currentValue = beginVal;
            return 0;
        }
        return 1;
    }
    return 1;
}

int ModelDirectEntity::updateNextOuputVal(double* outputArry)
{
    if (!outputArry)
        return 0;
    int channels[3];
    const int count = rampPortChannels(faultActionPort, channels);
    int result = 0;
    for (int k = 0; k < count; ++k)
        result |= updateCurrentVal(outputArry[channels[k]], beginRampValue[channels[k]]);
    return result;
}

void ModelDirectEntity::getFaultActionValue(RampPortType portType, const double* outputArry,
                                               faultActionValStruct& value) const
{
    clearActionValue(value);
    if (!outputArry)
        return;
    int channels[3];
    value.portCnt = rampPortChannels(portType, channels);
    for (int k = 0; k < value.portCnt; ++k)
        value.actionVal[k] = outputArry[channels[k]];
}

void ModelDirectEntity::setOutputValue(RampPortType portType, double* outputArry, double value)
{
    if (!outputArry)
        return;
    int channels[3];
    const int count = rampPortChannels(portType, channels);
    for (int k = 0; k < count; ++k)
        outputArry[channels[k]] = value;
}
