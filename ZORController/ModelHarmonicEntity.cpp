#include "ModelHarmonicEntity.h"

#include "BaseUtilityHelper.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace ModelEntity;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

template <typename Check>
bool allSlots(const double (*values)[4], Check check)
{
    for (int c = 0; c < 8; ++c)
        for (int k = 0; k < 4; ++k)
            if (!check(values[c][k]))
                return false;
    return true;
}

} // namespace

ModelHarmonicEntity::ModelHarmonicEntity()
{
    for (double& t : faultActionTimes)
        t = kNaN;
}

void ModelHarmonicEntity::switchToResetState()
{
    QMutexLocker locker(&entityLock);
    resetDriverStatus();
    if (globalTestControlData)
        globalTestControlData->controlOutputHarmEnable = 1;
    resetRampState();
}

void ModelHarmonicEntity::resetRampState()
{
    QMutexLocker locker(&entityLock);
    stateCount = 32;
    currentRampFactor = 1;
    lastState = false;
    lastStep = false;
    if (autoRampEnabled && rampSlotValid()) {
        const double (*items)[4] = faultActionItem == RAMP_ITEM_TYPE_ANGLE ? outputAngles : outputRanges;
        for (int c = 0; c < 8; ++c)
            beginRampValue[c] = items[c][faultActionOrder];
        const double begin = getMinMaxBeginRampVal(items, actionRampFactor >= 1);
        if (actionRampStep != 0.0) {
            const double count = std::trunc(std::fabs((endRampValue - begin) / actionRampStep) + 3.0);
            stateCount = count <= double(kMaxStateCount) ? qint32(count) : kMaxStateCount + 1;
        }
    }
    std::copy(&outputRanges[0][0], &outputRanges[0][0] + 32, &nextOutputRanges[0][0]);
    std::copy(&outputAngles[0][0], &outputAngles[0][0] + 32, &nextOutputAngles[0][0]);
}

void ModelHarmonicEntity::resetActionValues()
{
    QMutexLocker locker(&entityLock);
    for (int i = 0; i < 4; ++i) {
        faultActionTimes[i] = kNaN;
        clearFaultAction(faultActionValues[i]);
        faultActionStates[i] = -1;
    }
    faultActionBiIndex = -1;
}

void ModelHarmonicEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestOutputData)
        return;
    CommDriverTestOutputData& out = *globalTestOutputData;
    const double (*ranges)[4] = autoRampEnabled ? nextOutputRanges : outputRanges;
    const double (*angles)[4] = autoRampEnabled ? nextOutputAngles : outputAngles;
    for (int c = 0; c < 8; ++c) {
        for (int k = 0; k < 4; ++k) {
            out.outputRanges[c][k] = 0.0f;
            out.outputAngles[c][k] = 0.0f;
            out.outputFrequencies[c][k] = 0.0f;
        }
        const double fundamental = outputFrequencies[c][0];
        // Folded before the order multiplies it: same angle modulo 360 for
        // integer orders, without losing precision on a large angle.
        const double phi1 = foldAngle360(angles[c][0]);
        out.outputRanges[c][0] = recordFloat(ranges[c][0]);
        out.outputAngles[c][0] = foldAngle360f(phi1);
        out.outputFrequencies[c][0] = recordFloat(fundamental);
        out.currentOutputRanges[c][0] = recordFloat(outputRanges[c][0]);
        for (int k = 1; k < 4; ++k) {
            out.outputRanges[c][k] = recordFloat(ranges[c][k]);
            if (out.outputRanges[c][k] > 0.0f) {
                out.outputAngles[c][k] = foldAngle360f(foldAngle360(angles[c][k]) + phi1 * outputOrders[k]);
                out.outputFrequencies[c][k] = recordFloat(fundamental * outputOrders[k]);
            }
        }
    }
    ActionRamp::writePageSettings(*this, out);
}

void ModelHarmonicEntity::updateToDriverStateCount()
{
    QMutexLocker locker(&entityLock);
    ActionRamp::updateToDriverStateCount(*this);
}

bool ModelHarmonicEntity::switchToNextState()
{
    QMutexLocker locker(&entityLock);
    if (lastState)
        return false;
    if (rampSlotValid()) {
        for (int c = 0; c < 8; ++c) {
            outputRanges[c][faultActionOrder] = nextOutputRanges[c][faultActionOrder];
            outputAngles[c][faultActionOrder] = nextOutputAngles[c][faultActionOrder];
        }
    }
    if (!lastStep) {
        double (*items)[4] = faultActionItem == RAMP_ITEM_TYPE_ANGLE ? nextOutputAngles : nextOutputRanges;
        if (updateNextOuputVal(items) == 0)
            lastStep = true;
    } else {
        lastState = true;
    }
    return true;
}

void ModelHarmonicEntity::updateToDriverBOStates()
{
    QMutexLocker locker(&entityLock);
    writeDriverBOStates(outputBOStates);
}

void ModelHarmonicEntity::updateFromDriverState()
{
}

int ModelHarmonicEntity::updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time)
{
    QMutexLocker locker(&entityLock);
    return updateFromDriverAction(statusTestStateIndex, biflag, index, time, slotOutputs(outputRanges, outputAngles));
}

int ModelHarmonicEntity::updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time,
                                                const PageOutputs& page)
{
    QMutexLocker locker(&entityLock);
    if (index < 0 || index > 3 || !(time >= 0.0f))
        return -1;
    const double t = double(time);
    if (faultActionTimes[index] == t)
        return -1;
    const bool complete = DriverStateWord(statusTestStateIndex).ended();
    if (!recordBIAction(faultActionTimes, faultActionBiIndex, stateOutputBIStates, stateBILogicTypes, complete,
                        biflag, index, t))
        return -1;
    faultActionValStruct& value = faultActionValues[index];
    clearFaultAction(value);
    if (rampSlotValid())
        readRampGroup(faultActionPort, page.item(faultActionItem == RAMP_ITEM_TYPE_ANGLE ? RAMP_ITEM_TYPE_ANGLE
                                                                                         : RAMP_ITEM_TYPE_RANGE),
                      value);
    return 0;
}

PageOutputs ModelHarmonicEntity::pageOutputs() const
{
    QMutexLocker locker(&entityLock);
    return autoRampEnabled ? slotOutputs(nextOutputRanges, nextOutputAngles) : slotOutputs(outputRanges, outputAngles);
}

PageOutputs ModelHarmonicEntity::slotOutputs(const double (*ranges)[4], const double (*angles)[4]) const
{
    PageOutputs page;
    if (!rampSlotValid())
        return page;
    for (int c = 0; c < 8; ++c) {
        page.ranges[c] = ranges[c][faultActionOrder];
        page.angles[c] = angles[c][faultActionOrder];
        page.frequencies[c] = outputFrequencies[c][0];
    }
    return page;
}

int ModelHarmonicEntity::updateFromDriverAction(int bi1flag, int bi2flag, float time, int index)
{
    QMutexLocker locker(&entityLock);
    if (!(time > 0.0f) || index < (autoRampEnabled ? 1 : 0) || (autoRampEnabled && index > stateCount))
        return -1;
    const double t = double(time);
    auto holds = [&](int slot) { return faultActionTimes[slot] == t || faultActionStates[slot] != -1; };
    int slot = -1;
    if (bi1flag != 0 && !holds(0))
        slot = 0;
    else if (bi2flag != 0 && !holds(1))
        slot = 1;
    if (slot < 0)
        return -1;
    faultActionTimes[slot] = t;
    faultActionStates[slot] = index;
    getFaultActionValue(faultActionPort, faultActionItem == RAMP_ITEM_TYPE_ANGLE ? outputAngles : outputRanges,
                        faultActionValues[slot]);
    return 0;
}

void ModelHarmonicEntity::formatLimitValue(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    for (int c = 0; c < 8; ++c)
        BaseUtilityHelper::formatLimit(c < 4 ? vmax : imax, 0.0, &outputRanges[c][0]);
    keepLimits(vmax, imax);
}

void ModelHarmonicEntity::keepLimits(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    voltageLimit = vmax;
    currentLimit = imax;
}

RampBeyondOutputs ModelHarmonicEntity::beyondOutputs() const
{
    QMutexLocker locker(&entityLock);
    // A sum of amplitudes carries their rounding: one that passes the limit
    // by less than this share of it is taken as on it.
    constexpr double kSumRounding = 1e-9;
    const bool rampsAmplitude = autoRampEnabled && faultActionItem == RAMP_ITEM_TYPE_RANGE && rampSlotValid();
    int channels[3];
    const int ramped = rampsAmplitude ? rampPortChannels(faultActionPort, channels) : 0;
    for (int c = 0; c < 8; ++c) {
        const bool ramps = std::find(channels, channels + ramped, c) != channels + ramped;
        double lowest = std::numeric_limits<double>::infinity();
        bool lowestRamped = false;
        double sum = 0.0;
        for (int k = 0; k < 4; ++k) {
            const bool rampedSlot = ramps && k == faultActionOrder;
            const double least = rampedSlot ? std::min(beginRampValue[c], endRampValue) : outputRanges[c][k];
            if (least < lowest) {
                lowest = least;
                lowestRamped = rampedSlot;
            }
            sum += rampedSlot ? std::max(beginRampValue[c], endRampValue) : outputRanges[c][k];
        }
        const double high = c < 4 ? voltageLimit : currentLimit;
        if (lowest < 0.0)
            return {true, c, RAMP_ITEM_TYPE_RANGE, lowest, 0.0, high, !lowestRamped};
        if (sum - high > kSumRounding * std::max(1.0, high))
            return {true, c, RAMP_ITEM_TYPE_RANGE, sum, 0.0, high, !ramps};
    }
    return {};
}

bool ModelHarmonicEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    const auto finiteFloat = [](double v) { return isFiniteFloat(v); };
    const auto finite = [](double v) { return isFiniteValue(v); };
    if (!allSlots(outputRanges, finiteFloat) || !allSlots(outputAngles, finite))
        return false;
    for (int c = 0; c < 8; ++c) {
        if (!isFiniteFloat(outputFrequencies[c][0]))
            return false;
        for (int k = 1; k < 4; ++k) {
            const double hz = outputFrequencies[c][0] * outputOrders[k];
            if (!isFiniteFloat(hz) || hz > kMaxOutputFrequency)
                return false;
        }
    }
    if (!autoRampEnabled)
        return true;
    if (!allSlots(nextOutputRanges, finiteFloat) || !allSlots(nextOutputAngles, finite))
        return false;
    return rampSlotValid() && isFiniteFloat(actionRampStep) && isFiniteFloat(endRampValue)
           && isFiniteFloat(actionRampTime) && stateCount >= 1 && stateCount <= kMaxStateCount;
}

double ModelHarmonicEntity::maxOutputCurrent() const
{
    QMutexLocker locker(&entityLock);
    double result = 0.0;
    for (int c = ModelEntity::AO_PORT_TYPE_IA; c <= ModelEntity::AO_PORT_TYPE_IX; ++c) {
        const double rms = getRMSnew(AOPortType(c));
        if (std::isfinite(rms))
            result = std::max(result, rms);
    }
    return result;
}

double ModelHarmonicEntity::getRMSnew(AOPortType port) const
{
    if (port < 0 || port > 7)
        return 0.0;
    double sum = 0.0;
    for (int k = 0; k < 4; ++k)
        sum += outputRanges[port][k] * outputRanges[port][k];
    return std::sqrt(sum);
}

double ModelHarmonicEntity::getRMS(AOPortType port) const
{
    if (port < 0 || port > 7)
        return 0.0;
    double sum = 0.0;
    for (int k = 1; k < 4; ++k)
        sum += outputRanges[port][k] * outputRanges[port][k];
    return outputRanges[port][0] + std::sqrt(sum);
}

void ModelHarmonicEntity::getOutputValue(RampPortType portType, const double (*outputArry)[4], double& value) const
{
    int channels[3];
    value = 0.0;
    if (!outputArry || !rampSlotValid() || rampPortChannels(portType, channels) == 0)
        return;
    value = outputArry[channels[0]][faultActionOrder];
}

void ModelHarmonicEntity::setOutputValue(RampPortType portType, double (*outputArry)[4], double value)
{
    if (!outputArry || !rampSlotValid())
        return;
    int channels[3];
    const int count = rampPortChannels(portType, channels);
    for (int k = 0; k < count; ++k)
        outputArry[channels[k]][faultActionOrder] = value;
}

double ModelHarmonicEntity::getMinMaxBeginRampVal(const double (*outputArry)[4], bool add) const
{
    int channels[3];
    const int count = rampPortChannels(faultActionPort, channels);
    if (count == 0 || !outputArry || !rampSlotValid())
        return 0.0;
    double value = outputArry[channels[0]][faultActionOrder];
    for (int k = 1; k < count; ++k) {
        const double v = outputArry[channels[k]][faultActionOrder];
        value = add ? std::min(value, v) : std::max(value, v);
    }
    return value;
}

int ModelHarmonicEntity::updateCurrentVal(double& currentValue, double beginVal) const
{
    return rampStepValue(currentValue, beginVal, endRampValue, actionRampStep, actionRampFactor, currentRampFactor);
}

int ModelHarmonicEntity::updateNextOuputVal(double (*outputArry)[4])
{
    if (!outputArry || !rampSlotValid())
        return 0;
    int channels[3];
    const int count = rampPortChannels(faultActionPort, channels);
    int result = 0;
    for (int k = 0; k < count; ++k)
        result |= updateCurrentVal(outputArry[channels[k]][faultActionOrder], beginRampValue[channels[k]]);
    return result;
}

void ModelHarmonicEntity::getFaultActionValue(RampPortType portType, const double (*outputArry)[4],
                                              faultActionValStruct& value) const
{
    clearFaultAction(value);
    if (!outputArry || !rampSlotValid())
        return;
    int channels[3];
    value.portCnt = rampPortChannels(portType, channels);
    for (int k = 0; k < value.portCnt; ++k)
        value.actionVal[k] = outputArry[channels[k]][faultActionOrder];
}
