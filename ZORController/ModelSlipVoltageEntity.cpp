#include "ModelSlipVoltageEntity.h"

#include <QMutexLocker>

#include <cmath>
#include <limits>

using namespace ModelEntity;

namespace {

constexpr COMMStatePropertyEnableType kBase = COMM_STATE_PROPERTY_ENABLE_TYPE_BASE;
constexpr COMMStatePropertyEnableType kSlide = COMM_STATE_PROPERTY_ENABLE_TYPE_DRDT;

} // namespace

ModelSlipVoltageEntity::ModelSlipVoltageEntity()
{
    for (int p = 0; p < kMaxPoints; ++p) {
        testItemType[p] = ITEM_ACTION_VOLTAGE;
        stateTestStates[p] = AO_STATE_TYPE_INITING;
        maxStateIndex[p] = -1;
        stateActionTimes[p] = std::numeric_limits<double>::quiet_NaN();
        stateActionValue[p] = std::numeric_limits<double>::quiet_NaN();
    }
    for (COMMStatePropertyEnableType& property : portProperty)
        property = kBase;
}

void ModelSlipVoltageEntity::resetActionValues()
{
    QMutexLocker locker(&entityLock);
    SlipSearch::resetActionValues(*this);
}

qint32 ModelSlipVoltageEntity::computeStateCount() const
{
    QMutexLocker locker(&entityLock);
    return SlipSearch::stateCount(*this);
}

void ModelSlipVoltageEntity::switchToResetState()
{
    QMutexLocker locker(&entityLock);
    SlipSearch::switchToResetState(*this);
}

void ModelSlipVoltageEntity::updateToDriverStateCount()
{
    QMutexLocker locker(&entityLock);
    SlipSearch::updateToDriverStateCount(*this);
}

bool ModelSlipVoltageEntity::switchToPreFaultState()
{
    QMutexLocker locker(&entityLock);
    SlipSearch::switchToPreFaultState(*this);
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
    if (stepped)
        SlipSearch::stepSearched(*this, p, stepped);

    // UA..UC slide in amplitude at their normal frequency; IA..IC never slide.
    const double* ranges = normalOutputRanges;
    const double* angles = normalOutputAngles;
    const double* frequencies = normalOutputFrequencies;
    for (int c = 0; c < 3; ++c) {
        const int i = c + 4;
        const double voltage = item == ITEM_ACTION_VOLTAGE ? ranges[c] : initVoltageVal[p];
        const double current = item == ITEM_LOW_I_LOCK ? double(currentVaribale) : 0.0;
        SlipSearch::setNextChannel(*this, c, kSlide, voltage, angles[c], frequencies[c]);
        SlipSearch::setNextChannel(*this, i, kBase, current, angles[i], frequencies[i]);
    }
    switch (item) {
    case ITEM_ACTION_VOLTAGE:
        drdtSlipValue = recordFloat(slipValue[p]);
        break;
    case ITEM_VOLTAGE_SLIP:
        drdtStopValue = recordFloat(finalVoltageVal[p]);
        break;
    case ITEM_LOW_I_LOCK:
        drdtStopValue = recordFloat(finalVoltageVal[p]);
        drdtSlipValue = recordFloat(slipValue[p]);
        break;
    default: // trip time (and an unknown item): one fault state per point
        drdtStopValue = recordFloat(finalVoltageVal[p]);
        drdtSlipValue = recordFloat(slipValue[p]);
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
    SlipSearch::switchToAfterFaultState(*this);
    return true;
}

bool ModelSlipVoltageEntity::switchToNextState()
{
    QMutexLocker locker(&entityLock);
    return SlipSearch::switchToNextState(*this);
}

void ModelSlipVoltageEntity::formatLimitValue(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    limitChannelRanges(nextOutputRanges, vmax, imax);
}

void ModelSlipVoltageEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestOutputData)
        return;
    CommDriverTestOutputData& out = *globalTestOutputData;
    formatLimitValue(maxVoltage, maxCurrent);
    SlipSearch::writeDriverValue(*this, out);
    for (int c = 0; c < 8; ++c) {
        out.drdtStopValue[c] = recordFloat(double(drdtStopValue));
        out.drdtSlipValue[c] = recordFloat(double(drdtSlipValue));
    }
}

void ModelSlipVoltageEntity::updateToDriverBOStates()
{
    QMutexLocker locker(&entityLock);
    writeDriverBOStates(outputBOStates);
}

void ModelSlipVoltageEntity::updateFromDriverState()
{
    QMutexLocker locker(&entityLock);
    SlipSearch::updateFromDriverState(*this);
}

int ModelSlipVoltageEntity::updateFromDriverAction(int biflag, int index, float time)
{
    Q_UNUSED(biflag)
    Q_UNUSED(index)
    QMutexLocker locker(&entityLock);
    return SlipSearch::updateFromDriverAction(*this, time);
}

bool ModelSlipVoltageEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    if (!SlipSearch::checkCommonValues(*this))
        return false;
    for (int p = 0; p < pointCnt; ++p) {
        const int item = int(testItemType[p]);
        if (item < ITEM_ACTION_VOLTAGE || item > ITEM_LOW_I_LOCK)
            return false;
        if (!isFiniteFloat(initVoltageVal[p]) || !isFiniteFloat(finalVoltageVal[p]))
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
