#include "ModelSlipVoltageEntity.h"

#include "BaseUtilityHelper.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace ModelEntity;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kZeroStep = 1e-7;
constexpr double kEndTolerance = 1e-6;
constexpr COMMStatePropertyEnableType kBase = COMM_STATE_PROPERTY_ENABLE_TYPE_BASE;
constexpr COMMStatePropertyEnableType kSlide = COMM_STATE_PROPERTY_ENABLE_TYPE_DRDT;

float recordValue(double value)
{
    return isFiniteFloat(value) ? float(value) : 0.0f;
}

bool allFinite(const double* values, int count)
{
    return std::all_of(values, values + count, [](double v) { return isFiniteFloat(v); });
}

} // namespace

ModelSlipVoltageEntity::ModelSlipVoltageEntity()
{
    for (int p = 0; p < kMaxPoints; ++p) {
        testItemType[p] = ITEM_ACTION_VOLTAGE;
        stateTestStates[p] = AO_STATE_TYPE_INITING;
        maxStateIndex[p] = -1;
        stateActionTimes[p] = kNaN;
        stateActionValue[p] = kNaN;
    }
    for (COMMStatePropertyEnableType& property : portProperty)
        property = kBase;
}

int ModelSlipVoltageEntity::pointLimit() const
{
    return std::clamp(pointCnt, 0, kMaxPoints);
}

void ModelSlipVoltageEntity::setNextChannel(int channel, COMMStatePropertyEnableType property, double range,
                                              double angle, double frequency)
{
    portProperty[channel] = property;
    nextOutputRanges[channel] = range;
    nextOutputAngles[channel] = angle;
    nextOutputFrequencies[channel] = frequency;
}

void ModelSlipVoltageEntity::resetActionValues()
{
    QMutexLocker locker(&entityLock);
    for (int p = 0; p < kMaxPoints; ++p) {
        stateActionTimes[p] = kNaN;
        stateActionValue[p] = kNaN;
        stateTestStates[p] = AO_STATE_TYPE_INITING;
    }
    stateTestStates[0] = AO_STATE_TYPE_RUNNNING;
}

qint32 ModelSlipVoltageEntity::computeStateCount() const
{
    QMutexLocker locker(&entityLock);
    constexpr double saturated = double(kMaxStateCount) + 1.0;
    double total = 0.0;
    for (int p = 0; p < pointLimit(); ++p) {
        double cycles = 1.0;
        if (testItemType[p] != ITEM_ACTION_TIME) {
            const double step = std::fabs(rampStepValues[p]);
            if (step < kZeroStep) {
                cycles = 2.0;
            } else {
                const double quotient = std::fabs(rampBeginValues[p] - rampEndValues[p]) / step + 2.0;
                cycles = std::isfinite(quotient) ? std::trunc(std::min(quotient, saturated)) : saturated;
            }
        }
        total += 3.0 * cycles;
    }
    return qint32(std::min(total, saturated));
}

void ModelSlipVoltageEntity::switchToResetState()
{
    QMutexLocker locker(&entityLock);
    if (globalTestStatusData) {
        globalTestStatusData->statusTestStateIndex = 0;
        globalTestStatusData->statusBIStateAction = 0;
    }
    outputSendingPointIndex = 0;
    outputRunningPointIndex = 0;
    outputRunningStateIndex = 0;
    for (qint32& index : maxStateIndex)
        index = -1;
    firstFaultStep = true;
    lastFaultStep = false;
    lastState = false;
    actionEnable = false; // a trip of the previous run must not end this run's first point
    runningVariant = kNaN;
    // UX and IX carry the interval values for the whole run.
    for (int c : {int(AO_PORT_TYPE_UX), int(AO_PORT_TYPE_IX)})
        setNextChannel(c, kBase, intervalOutputRanges[c], intervalOutputAngles[c], intervalOutputFrequencies[c]);
    switchToPreFaultState();
    for (int c = 0; c < 8; ++c) {
        portProperty[c] = kBase;
        outputRanges[c] = nextOutputRanges[c];
        outputAngles[c] = nextOutputAngles[c];
        outputFrequencies[c] = nextOutputFrequencies[c];
    }
    stateCount = computeStateCount();
    maxStateIndex[0] = 0;
    sendingStateType = AO_RUN_STATE_PRE_FAULT;
}

void ModelSlipVoltageEntity::updateToDriverStateCount()
{
    QMutexLocker locker(&entityLock);
    if (globalTestOutputData)
        globalTestOutputData->outputStateCount = quint32(std::clamp(stateCount, 0, kMaxStateCount) + 1);
}

bool ModelSlipVoltageEntity::switchToPreFaultState()
{
    QMutexLocker locker(&entityLock);
    const int p = outputSendingPointIndex;
    if (p < 0 || p >= kMaxPoints)
        return true;
    const double* ranges = normalOutputRanges;
    const double* angles = normalOutputAngles;
    const double* frequencies = normalOutputFrequencies;
    const bool lowCurrent = testItemType[p] == ITEM_LOW_I_LOCK;
    for (int c = 0; c < 3; ++c) {
        setNextChannel(c, kBase, ranges[c], angles[c], frequencies[c]);
        setNextChannel(c + 4, kBase, lowCurrent ? rateCurrent : 0.0, angles[c + 4], frequencies[c + 4]);
    }
    outputTime = normalTime;
    linkType = AO_LINKSTATE_TYPE_INITIATE;
    biEnable = 0;
    return true;
}

bool ModelSlipVoltageEntity::switchToFaultStateNextStep()
{
    QMutexLocker locker(&entityLock);
    const int p = outputSendingPointIndex;
    if (p < 0 || p >= kMaxPoints)
        return true;
    const TestItemType item = testItemType[p];

    float* stepped = nullptr;
    switch (item) {
    case ITEM_ACTION_VOLTAGE:
        stepped = &drdtStopValue;
        break;
    case ITEM_VOLTAGE_SLIP:
        stepped = &drdtSlipValue;
        break;
    case ITEM_LOW_I_LOCK:
        stepped = &currentVaribale;
        break;
    default:
        break;
    }
    if (stepped) {
        const double begin = rampBeginValues[p];
        const double end = rampEndValues[p];
        const double step = std::fabs(rampStepValues[p]);
        double x = double(*stepped);
        if (firstFaultStep) {
            x = begin;
            if (std::fabs(begin - end) < kEndTolerance)
                lastFaultStep = true;
        } else if (begin > end) {
            if (x - step > end + kEndTolerance) {
                x -= step;
            } else {
                x = end;
                lastFaultStep = true;
            }
        } else {
            if (x + step + kEndTolerance < end) {
                x += step;
            } else {
                x = end;
                lastFaultStep = true;
            }
        }
        *stepped = recordValue(x);
        runningVariant = double(*stepped);
    }

    // UA..UC slide in amplitude at their normal frequency; IA..IC never slide.
    const double* ranges = normalOutputRanges;
    const double* angles = normalOutputAngles;
    const double* frequencies = normalOutputFrequencies;
    for (int c = 0; c < 3; ++c) {
        const int i = c + 4;
        const double voltage = item == ITEM_ACTION_VOLTAGE ? ranges[c] : initVoltageVal[p];
        const double current = item == ITEM_LOW_I_LOCK ? double(currentVaribale) : 0.0;
        setNextChannel(c, kSlide, voltage, angles[c], frequencies[c]);
        setNextChannel(i, kBase, current, angles[i], frequencies[i]);
    }
    switch (item) {
    case ITEM_ACTION_VOLTAGE:
        drdtSlipValue = recordValue(slipValue[p]);
        break;
    case ITEM_VOLTAGE_SLIP:
        drdtStopValue = recordValue(finalVoltageVal[p]);
        break;
    case ITEM_LOW_I_LOCK:
        drdtStopValue = recordValue(finalVoltageVal[p]);
        drdtSlipValue = recordValue(slipValue[p]);
        break;
    default: // trip time (and an unknown item): one fault state per point
        drdtStopValue = recordValue(finalVoltageVal[p]);
        drdtSlipValue = recordValue(slipValue[p]);
        lastFaultStep = true;
        break;
    }

    outputTime = std::fabs(nextOutputRanges[AO_PORT_TYPE_UA] - double(drdtStopValue)) / double(drdtSlipValue)
                 + holdTime;
    linkType = AO_LINKSTATE_TYPE_CONTINUE;
    firstFaultStep = false;
    biEnable = 1;
    return true;
}

bool ModelSlipVoltageEntity::switchToAfterFaultState()
{
    QMutexLocker locker(&entityLock);
    for (int c = 0; c < 8; ++c)
        setNextChannel(c, kBase, intervalOutputRanges[c], intervalOutputAngles[c], intervalOutputFrequencies[c]);
    outputTime = intervalTime;
    biEnable = 0;
    return true;
}

bool ModelSlipVoltageEntity::switchToNextState()
{
    QMutexLocker locker(&entityLock);
    std::copy(nextOutputRanges, nextOutputRanges + 8, outputRanges);
    const int count = pointLimit();
    int& p = outputSendingPointIndex;
    const bool pointValid = p >= 0 && p < count;

    switch (sendingStateType) {
    case AO_RUN_STATE_PRE_FAULT:
        if (!pointValid)
            return false;
        ++maxStateIndex[p];
        switchToFaultStateNextStep();
        sendingStateType = AO_RUN_STATE_FAULT;
        break;
    case AO_RUN_STATE_FAULT:
        if (!pointValid)
            return false;
        ++maxStateIndex[p];
        switchToAfterFaultState();
        if (lastFaultStep && p + 1 >= count)
            lastState = true;
        sendingStateType = AO_RUN_STATE_AFTER_FAULT;
        break;
    default:
        if (actionEnable) {
            p = std::min(p + 1, count);
            actionEnable = false;
            lastFaultStep = false;
            firstFaultStep = true;
            if (p >= count)
                lastState = true;
        } else if (lastFaultStep) {
            p = std::min(p + 1, count);
            lastFaultStep = false;
            firstFaultStep = true;
        }
        if (!lastState && p >= count)
            return false;
        if (lastState) {
            switchToAfterFaultState(); // the closing page
            lastState = false;
            return true;
        }
        if (p < 0)
            return false;
        maxStateIndex[p] = (firstFaultStep && p > 0 ? maxStateIndex[p - 1] : maxStateIndex[p]) + 1;
        switchToPreFaultState();
        sendingStateType = AO_RUN_STATE_PRE_FAULT;
        break;
    }
    return true;
}

void ModelSlipVoltageEntity::formatLimitValue(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    for (int c = 0; c < 8; ++c)
        BaseUtilityHelper::formatLimit(c < 4 ? vmax : imax, 0.0, &nextOutputRanges[c]);
}

void ModelSlipVoltageEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestOutputData)
        return;
    CommDriverTestOutputData& out = *globalTestOutputData;
    std::fill(&out.outputRanges[0][0], &out.outputRanges[0][0] + 32, 0.0f);
    std::fill(&out.outputAngles[0][0], &out.outputAngles[0][0] + 32, 0.0f);
    std::fill(&out.outputFrequencies[0][0], &out.outputFrequencies[0][0] + 32, 0.0f);
    formatLimitValue(maxVoltage, maxCurrent);

    for (int c = 0; c < 8; ++c) {
        out.outputRanges[c][0] = recordValue(nextOutputRanges[c]);
        out.outputAngles[c][0] = foldAngle360f(nextOutputAngles[c]);
        out.outputFrequencies[c][0] = recordValue(nextOutputFrequencies[c]);
        out.currentOutputRanges[c][0] = recordValue(outputRanges[c]);
        out.propertyEnables[c] = quint16(portProperty[c]);
        out.drdtStopValue[c] = recordValue(double(drdtStopValue));
        out.drdtSlipValue[c] = recordValue(double(drdtSlipValue));
    }
    out.outputLevelControlType = COMM_LEVELCONTROL_TYPE_AUTO;
    out.outputBOControlType = COMM_BOCONTROL_TYPE_AUTO;
    for (int i = 0; i < 4; ++i) {
        out.outputBOInitStates[i] = quint32(outputBOStates[i]);
        out.outputBOHoldEnables[i] = 1;
        out.outputBOTurnEnables[i] = 1;
        out.outputBIRiseEnables[i] = quint32(biEnable);
        out.outputBIFallEnables[i] = quint32(biEnable);
    }
    out.outputBILogic = COMM_BILOGIC_TYPE_OR;
    out.outputLinkStateType = quint32(linkType);
    out.outputTime = recordValue(outputTime);
    out.outputTriggerType = COMM_TRIGGER_TYPE_TIME_BINARY;
}

void ModelSlipVoltageEntity::updateToDriverBOStates()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestControlData)
        return;
    for (int i = 0; i < 4; ++i)
        globalTestControlData->controlBOStates[i] = quint8(outputBOStates[i] & 0xFF);
}

void ModelSlipVoltageEntity::updateFromDriverState()
{
    QMutexLocker locker(&entityLock);
    if (outputRunningStateIndex < std::numeric_limits<qint32>::max())
        ++outputRunningStateIndex;
    const int count = pointLimit();
    int& point = outputRunningPointIndex;
    if (point >= 0 && point < count && outputRunningStateIndex > maxStateIndex[point])
        ++point;
    if (point >= 1 && point < count) {
        stateTestStates[point] = AO_STATE_TYPE_RUNNNING;
        stateTestStates[point - 1] = AO_STATE_TYPE_COMPLETED;
    }
    if (count >= 1 && point == count)
        stateTestStates[count - 1] = AO_STATE_TYPE_COMPLETED;
}

int ModelSlipVoltageEntity::updateFromDriverAction(int biflag, int index, float time)
{
    Q_UNUSED(biflag)
    Q_UNUSED(index)
    QMutexLocker locker(&entityLock);
    for (int p = 0; p < kMaxPoints; ++p) {
        if (outputRunningStateIndex <= maxStateIndex[p]) {
            stateActionTimes[p] = double(time);
            stateActionValue[p] = runningVariant;
            return 0;
        }
    }
    return -1;
}

bool ModelSlipVoltageEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    if (pointCnt < 1 || pointCnt > kMaxPoints)
        return false;
    if (computeStateCount() > kMaxStateCount)
        return false;
    if (!allFinite(normalOutputRanges, 8) || !allFinite(normalOutputAngles, 8)
        || !allFinite(normalOutputFrequencies, 8) || !allFinite(intervalOutputRanges, 8)
        || !allFinite(intervalOutputAngles, 8) || !allFinite(intervalOutputFrequencies, 8))
        return false;
    if (!isFiniteFloat(normalTime) || !isFiniteFloat(holdTime) || !isFiniteFloat(intervalTime))
        return false;
    for (int p = 0; p < pointCnt; ++p) {
        const int item = int(testItemType[p]);
        if (item < ITEM_ACTION_VOLTAGE || item > ITEM_LOW_I_LOCK)
            return false;
        if (!isFiniteFloat(initVoltageVal[p]) || !isFiniteFloat(finalVoltageVal[p])
            || !isFiniteFloat(slipValue[p]))
            return false;
        if (item != ITEM_ACTION_TIME
            && (!isFiniteFloat(rampBeginValues[p]) || !isFiniteFloat(rampEndValues[p])
                || !isFiniteFloat(rampStepValues[p])))
            return false;
        if (item == ITEM_LOW_I_LOCK && !isFiniteFloat(rateCurrent))
            return false;
        // The slide rate divides the fault page's time: it must be positive.
        if (item == ITEM_VOLTAGE_SLIP) {
            if (!(rampBeginValues[p] > 0.0) || !(rampEndValues[p] > 0.0))
                return false;
        } else if (!(slipValue[p] > 0.0)) {
            return false;
        }
    }
    return true;
}
