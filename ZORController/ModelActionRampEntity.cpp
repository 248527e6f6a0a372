#include "ModelActionRampEntity.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace ModelEntity;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

ModelActionRampEntity::ModelActionRampEntity(bool amplitudeOnly)
    : amplitudeOnly(amplitudeOnly)
{
    for (int i = 0; i < 4; ++i) {
        faultActionTimes[i] = kNaN;
        faultActionReturnTimes[i] = kNaN;
    }
}

bool ModelActionRampEntity::rampsItem() const
{
    return !amplitudeOnly || faultActionItem == RAMP_ITEM_TYPE_RANGE;
}

void ModelActionRampEntity::recordTripValues(faultActionValStruct& value, const PageOutputs& page)
{
    if (rampsItem())
        getFaultActionValue(faultActionPort, page.item(faultActionItem), value);
}

PageOutputs ModelActionRampEntity::pageOutputs() const
{
    QMutexLocker locker(&entityLock);
    if (autoRampEnabled)
        return PageOutputs(nextOutputRanges, nextOutputAngles, nextOutputFrequencies);
    return PageOutputs(outputRanges, outputAngles, outputFrequencies);
}

double* ModelActionRampEntity::itemArray(RampItemType item)
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

double* ModelActionRampEntity::nextItemArray(RampItemType item)
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

void ModelActionRampEntity::switchToResetState()
{
    QMutexLocker locker(&entityLock);
    resetDriverStatus();
    resetRampState();
}

void ModelActionRampEntity::resetRampState()
{
    QMutexLocker locker(&entityLock);
    stateCount = 32;
    currentRampFactor = 1;
    lastState = false;
    lastStep = false;
    if (autoRampEnabled) {
        // An item the entity does not ramp counts from 0 and never steps.
        double begin = 0.0;
        if (rampsItem()) {
            const double* items = itemArray(faultActionItem);
            for (int c = 0; c < 8; ++c)
                beginRampValue[c] = items ? items[c] : 0.0;
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

void ModelActionRampEntity::resetActionValues()
{
    QMutexLocker locker(&entityLock);
    for (int i = 0; i < 4; ++i) {
        if (currentRampFactor == 1) {
            faultActionTimes[i] = kNaN;
            clearFaultAction(faultActionValues[i]);
            faultActionBiIndex = -1;
        }
        faultActionReturnTimes[i] = kNaN;
        clearFaultAction(faultActionReturnValues[i]);
        faultActionReturnBiIndex = -1;
        faultActionStates[i] = -1;
    }
}

void ModelActionRampEntity::updateToDriverStateCount()
{
    QMutexLocker locker(&entityLock);
    ActionRamp::updateToDriverStateCount(*this);
}

bool ModelActionRampEntity::switchToNextState()
{
    QMutexLocker locker(&entityLock);
    if (lastState)
        return false;
    std::copy(nextOutputRanges, nextOutputRanges + 8, outputRanges);
    std::copy(nextOutputAngles, nextOutputAngles + 8, outputAngles);
    std::copy(nextOutputFrequencies, nextOutputFrequencies + 8, outputFrequencies);
    if (!lastStep) {
        if (!rampsItem() || updateNextOuputVal(nextItemArray(faultActionItem)) == 0)
            lastStep = true;
    } else {
        lastState = true;
    }
    return true;
}

void ModelActionRampEntity::updateToDriverBOStates()
{
    QMutexLocker locker(&entityLock);
    writeDriverBOStates(outputBOStates);
}

void ModelActionRampEntity::updateFromDriverState()
{
}

int ModelActionRampEntity::updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time)
{
    QMutexLocker locker(&entityLock);
    return updateFromDriverAction(statusTestStateIndex, biflag, index, time,
                                  PageOutputs(outputRanges, outputAngles, outputFrequencies));
}

int ModelActionRampEntity::updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time,
                                                  const PageOutputs& page)
{
    QMutexLocker locker(&entityLock);
    if (index < 0 || index > 3 || !(time >= 0.0f))
        return -1;
    const double t = double(time);
    const bool complete = DriverStateWord(statusTestStateIndex).ended();

    const bool forward = (std::isnan(faultActionTimes[index]) || faultActionTimes[index] != t)
                         && currentRampFactor == 1;
    if (!forward && (faultActionReturnTimes[index] == t || currentRampFactor != -1))
        return -1;

    double* times = forward ? faultActionTimes : faultActionReturnTimes;
    qint32& biIndex = forward ? faultActionBiIndex : faultActionReturnBiIndex;
    faultActionValStruct* values = forward ? faultActionValues : faultActionReturnValues;

    if (!recordBIAction(times, biIndex, stateOutputBIStates, stateBILogicTypes, complete, biflag, index, t))
        return -1;
    recordTripValues(values[index], page);
    return 0;
}

int ModelActionRampEntity::updateFromDriverAction(int bi1flag, int bi2flag, float time, int index)
{
    QMutexLocker locker(&entityLock);
    const double t = double(time);
    auto holds = [&](int slot) { return faultActionTimes[slot] == t || faultActionStates[slot] != -1; };
    auto fill = [&](int slot) {
        faultActionTimes[slot] = t;
        faultActionStates[slot] = index;
        recordTripValues(faultActionValues[slot], PageOutputs(outputRanges, outputAngles, outputFrequencies));
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

void ModelActionRampEntity::formatLimitValue(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    limitChannelRanges(outputRanges, vmax, imax);
    keepLimits(vmax, imax);
}

void ModelActionRampEntity::keepLimits(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    voltageLimit = vmax;
    currentLimit = imax;
}

RampBeyondOutputs ModelActionRampEntity::beyondOutputs() const
{
    QMutexLocker locker(&entityLock);
    RampBeyondOutputs beyond;
    const bool amplitude = faultActionItem == RAMP_ITEM_TYPE_RANGE;
    // A channel that outputs plays its frequency, set or ramped.
    if (!amplitudeOnly) {
        for (int c = 0; c < 8; ++c) {
            const double f = outputFrequencies[c];
            if (outputRanges[c] > 0.0 && !(f >= kMinOutputFrequency && f <= kMaxOutputFrequency))
                return {true, c, RAMP_ITEM_TYPE_FREQUENCY, f, kMinOutputFrequency, kMaxOutputFrequency, true};
        }
    }
    if (!autoRampEnabled || !rampsItem() || (!amplitude && faultActionItem != RAMP_ITEM_TYPE_FREQUENCY))
        return beyond;
    int channels[3];
    const int count = rampPortChannels(faultActionPort, channels);
    auto check = [&](int c, double value) {
        const double low = amplitude ? 0.0 : kMinOutputFrequency;
        const double high = amplitude ? (c < 4 ? voltageLimit : currentLimit) : kMaxOutputFrequency;
        if (beyond.beyond || (value >= low && value <= high))
            return;
        beyond = {true, c, faultActionItem, value, low, high};
    };
    for (int k = 0; k < count; ++k)
        check(channels[k], beginRampValue[channels[k]]);
    for (int k = 0; k < count; ++k)
        check(channels[k], endRampValue);
    return beyond;
}

bool ModelActionRampEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    auto finiteAngles = [](const double* a) {
        return std::all_of(a, a + 8, [](double v) { return isFiniteValue(v); });
    };
    // An amplitude-only entity sends no angle or frequency.
    auto finiteOutputs = [&](const double* ranges, const double* angles, const double* frequencies) {
        return allFiniteFloat(ranges, 8) && (amplitudeOnly || (finiteAngles(angles) && allFiniteFloat(frequencies, 8)));
    };
    if (!finiteOutputs(outputRanges, outputAngles, outputFrequencies))
        return false;
    if (!autoRampEnabled)
        return true;
    if (!finiteOutputs(nextOutputRanges, nextOutputAngles, nextOutputFrequencies))
        return false;
    // A ramp moves an item of a group that exists, each step for a time.
    const bool itemExists = faultActionItem == RAMP_ITEM_TYPE_RANGE || faultActionItem == RAMP_ITEM_TYPE_ANGLE
                            || faultActionItem == RAMP_ITEM_TYPE_FREQUENCY;
    int channels[3];
    if (!itemExists || rampPortChannels(faultActionPort, channels) == 0)
        return false;
    return isFiniteFloat(actionRampStep) && isFiniteFloat(endRampValue) && isFiniteFloat(actionRampTime)
           && actionRampTime > 0.0 && stateCount >= 1 && stateCount <= kMaxStateCount;
}

double ModelActionRampEntity::getMinMaxBeginRampVal(const double* outputArry, bool add) const
{
    return rampGroupBegin(faultActionPort, outputArry, add);
}

int ModelActionRampEntity::updateCurrentVal(double& currentValue, double beginVal) const
{
    return rampStepValue(currentValue, beginVal, endRampValue, actionRampStep, actionRampFactor, currentRampFactor);
}

int ModelActionRampEntity::updateNextOuputVal(double* outputArry)
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

void ModelActionRampEntity::getFaultActionValue(RampPortType portType, const double* outputArry,
                                               faultActionValStruct& value) const
{
    readRampGroup(portType, outputArry, value);
}

void ModelActionRampEntity::setOutputValue(RampPortType portType, double* outputArry, double value)
{
    setRampGroup(portType, outputArry, value);
}
