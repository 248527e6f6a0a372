#include "ModelSlipVoltageEntity.h"

#include <QMutexLocker>

using namespace ModelEntity;

namespace {

constexpr COMMStatePropertyEnableType kBase = COMM_STATE_PROPERTY_ENABLE_TYPE_BASE;
constexpr COMMStatePropertyEnableType kSlide = COMM_STATE_PROPERTY_ENABLE_TYPE_DRDT;

} // namespace

bool ModelSlipVoltageEntity::switchToFaultStateNextStep()
{
    QMutexLocker locker(&entityLock);
    const int p = outputSendingPointIndex;
    if (p < 0 || p >= kMaxPoints)
        return true;
    const TestItemType item = testItemType[p];

    float* stepped = nullptr;
    SlideSearch search = SlideSearch::Neither;
    switch (item) {
    case ITEM_ACTION_VOLTAGE:
        stepped = &drdtStopValue;
        search = SlideSearch::Stop;
        break;
    case ITEM_VOLTAGE_SLIP:
        stepped = &drdtSlipValue;
        search = SlideSearch::Rate;
        break;
    case ITEM_LOW_I_LOCK:
        stepped = &currentVaribale;
        break;
    default: // trip time (and an unknown item)
        search = SlideSearch::Nothing;
        break;
    }
    if (stepped)
        LoadShedding::stepSearched(*this, p, stepped);

    // UA..UC slide in amplitude at their normal frequency; IA..IC never slide.
    const double* ranges = normalOutputRanges;
    const double* angles = normalOutputAngles;
    const double* frequencies = normalOutputFrequencies;
    for (int c = 0; c < 3; ++c) {
        const int i = c + 4;
        const double voltage = item == ITEM_ACTION_VOLTAGE ? ranges[c] : initVoltageVal[p];
        const double current = item == ITEM_LOW_I_LOCK ? double(currentVaribale) : 0.0;
        LoadShedding::setNextChannel(*this, c, kSlide, voltage, angles[c], frequencies[c]);
        LoadShedding::setNextChannel(*this, i, kBase, current, angles[i], frequencies[i]);
    }
    setSlide(p, search, finalVoltageVal[p], nextOutputRanges[AO_PORT_TYPE_UA], drdtStopValue, drdtSlipValue);
    return true;
}

void ModelSlipVoltageEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    writeDriverValue(drdtStopValue, drdtSlipValue, &CommDriverTestOutputData::drdtStopValue,
                     &CommDriverTestOutputData::drdtSlipValue);
}

bool ModelSlipVoltageEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    return checkValues(initVoltageVal, finalVoltageVal, ITEM_LOW_I_LOCK);
}
