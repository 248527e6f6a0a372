#include "ModelSlipFrequencyEntity.h"

#include <QMutexLocker>

#include <cmath>
#include <limits>

using namespace ModelEntity;

namespace {

constexpr COMMStatePropertyEnableType kBase = COMM_STATE_PROPERTY_ENABLE_TYPE_BASE;
constexpr COMMStatePropertyEnableType kSlide = COMM_STATE_PROPERTY_ENABLE_TYPE_DFDT;

} // namespace

ModelSlipFrequencyEntity::ModelSlipFrequencyEntity()
{
    for (int p = 0; p < kMaxPoints; ++p) {
        testItemType[p] = ITEM_ACTION_FREQUENCY;
        stateTestStates[p] = AO_STATE_TYPE_INITING;
        maxStateIndex[p] = -1;
        stateActionTimes[p] = std::numeric_limits<double>::quiet_NaN();
        stateActionValue[p] = std::numeric_limits<double>::quiet_NaN();
    }
    for (COMMStatePropertyEnableType& property : portProperty)
        property = kBase;
}

void ModelSlipFrequencyEntity::resetActionValues()
{
    QMutexLocker locker(&entityLock);
    SlipSearch::resetActionValues(*this);
}

qint32 ModelSlipFrequencyEntity::computeStateCount() const
{
    QMutexLocker locker(&entityLock);
    return SlipSearch::stateCount(*this);
}

void ModelSlipFrequencyEntity::switchToResetState()
{
    QMutexLocker locker(&entityLock);
    SlipSearch::switchToResetState(*this);
}

void ModelSlipFrequencyEntity::updateToDriverStateCount()
{
    QMutexLocker locker(&entityLock);
    SlipSearch::updateToDriverStateCount(*this);
}

bool ModelSlipFrequencyEntity::switchToPreFaultState()
{
    QMutexLocker locker(&entityLock);
    SlipSearch::switchToPreFaultState(*this);
    return true;
}

bool ModelSlipFrequencyEntity::switchToFaultStateNextStep()
{
    QMutexLocker locker(&entityLock);
    const int p = outputSendingPointIndex;
    if (p < 0 || p >= kMaxPoints)
        return true;
    const TestItemType item = testItemType[p];

    float* stepped = nullptr;
    switch (item) {
    case ITEM_ACTION_FREQUENCY:
        stepped = &dfdtStopValue;
        break;
    case ITEM_FREQUENCY_SLIP:
        stepped = &dfdtSlipValue;
        break;
    case ITEM_LOW_I_LOCK:
        stepped = &currentVaribale;
        break;
    case ITEM_V_LOCK:
        stepped = &voltageVariable;
        break;
    default:
        break;
    }
    if (stepped)
        SlipSearch::stepSearched(*this, p, stepped);

    const double* ranges = normalOutputRanges;
    const double* angles = normalOutputAngles;
    const double* frequencies = normalOutputFrequencies;
    const double x = stepped ? double(*stepped) : 0.0;
    for (int c = 0; c < 3; ++c) {
        const int i = c + 4;
        switch (item) {
        case ITEM_ACTION_FREQUENCY:
            SlipSearch::setNextChannel(*this, c, kSlide, ranges[c], angles[c], frequencies[c]);
            SlipSearch::setNextChannel(*this, i, kBase, 0.0, angles[i], frequencies[i]);
            break;
        case ITEM_LOW_I_LOCK:
            SlipSearch::setNextChannel(*this, c, kSlide, ranges[c], angles[c], initFrequencyVal[p]);
            SlipSearch::setNextChannel(*this, i, kSlide, x, angles[i], initFrequencyVal[p]);
            break;
        case ITEM_V_LOCK:
            SlipSearch::setNextChannel(*this, c, kSlide, x, angles[c], initFrequencyVal[p]);
            SlipSearch::setNextChannel(*this, i, kBase, 0.0, angles[i], frequencies[i]);
            break;
        default: // trip time, df/dt blocking
            SlipSearch::setNextChannel(*this, c, kSlide, ranges[c], angles[c], initFrequencyVal[p]);
            SlipSearch::setNextChannel(*this, i, kBase, 0.0, angles[i], frequencies[i]);
            break;
        }
    }
    switch (item) {
    case ITEM_ACTION_FREQUENCY:
        dfdtSlipValue = recordFloat(slipValue[p]);
        break;
    case ITEM_FREQUENCY_SLIP:
        dfdtStopValue = recordFloat(finalFrequencyVal[p]);
        break;
    case ITEM_LOW_I_LOCK:
    case ITEM_V_LOCK:
        dfdtStopValue = recordFloat(finalFrequencyVal[p]);
        dfdtSlipValue = recordFloat(slipValue[p]);
        break;
    default: // trip time (and an unknown item): one fault state per point
        dfdtStopValue = recordFloat(finalFrequencyVal[p]);
        dfdtSlipValue = recordFloat(slipValue[p]);
        lastFaultStep = true;
        break;
    }

    outputTime = std::fabs(nextOutputFrequencies[AO_PORT_TYPE_UA] - double(dfdtStopValue)) / double(dfdtSlipValue)
                 + holdTime;
    linkType = AO_LINKSTATE_TYPE_CONTINUE;
    firstFaultStep = false;
    biEnable = 1;
    return true;
}

bool ModelSlipFrequencyEntity::switchToAfterFaultState()
{
    QMutexLocker locker(&entityLock);
    SlipSearch::switchToAfterFaultState(*this);
    return true;
}

bool ModelSlipFrequencyEntity::switchToNextState()
{
    QMutexLocker locker(&entityLock);
    return SlipSearch::switchToNextState(*this);
}

void ModelSlipFrequencyEntity::formatLimitValue(double vmax, double imax)
{
    QMutexLocker locker(&entityLock);
    limitChannelRanges(nextOutputRanges, vmax, imax);
}

void ModelSlipFrequencyEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    if (!globalTestOutputData)
        return;
    CommDriverTestOutputData& out = *globalTestOutputData;
    formatLimitValue(maxVoltage, maxCurrent);
    SlipSearch::writeDriverValue(*this, out);
    for (int c = 0; c < 8; ++c) {
        out.dfdtStopValue[c] = recordFloat(double(dfdtStopValue));
        out.dfdtSlipValue[c] = recordFloat(double(dfdtSlipValue));
    }
}

void ModelSlipFrequencyEntity::updateToDriverBOStates()
{
    QMutexLocker locker(&entityLock);
    writeDriverBOStates(outputBOStates);
}

void ModelSlipFrequencyEntity::updateFromDriverState()
{
    QMutexLocker locker(&entityLock);
    SlipSearch::updateFromDriverState(*this);
}

int ModelSlipFrequencyEntity::updateFromDriverAction(int biflag, int index, float time)
{
    Q_UNUSED(biflag)
    Q_UNUSED(index)
    QMutexLocker locker(&entityLock);
    return SlipSearch::updateFromDriverAction(*this, time);
}

bool ModelSlipFrequencyEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    if (!SlipSearch::checkCommonValues(*this))
        return false;
    for (int p = 0; p < pointCnt; ++p) {
        const int item = int(testItemType[p]);
        if (item < ITEM_ACTION_FREQUENCY || item > ITEM_V_LOCK)
            return false;
        if (!isFiniteFloat(initFrequencyVal[p]) || !isFiniteFloat(finalFrequencyVal[p]))
            return false;
        // The slide rate divides the fault page's time: it must be positive.
        if (item == ITEM_FREQUENCY_SLIP) {
            if (!(rampBeginValues[p] > 0.0) || !(rampEndValues[p] > 0.0))
                return false;
        } else if (!(slipValue[p] > 0.0)) {
            return false;
        }
    }
    return true;
}
