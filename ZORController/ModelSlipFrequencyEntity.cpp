#include "ModelSlipFrequencyEntity.h"

#include <QMutexLocker>

using namespace ModelEntity;

namespace {

constexpr COMMStatePropertyEnableType kBase = COMM_STATE_PROPERTY_ENABLE_TYPE_BASE;
constexpr COMMStatePropertyEnableType kSlide = COMM_STATE_PROPERTY_ENABLE_TYPE_DFDT;

} // namespace

bool ModelSlipFrequencyEntity::switchToFaultStateNextStep()
{
    QMutexLocker locker(&entityLock);
    const int p = outputSendingPointIndex;
    if (p < 0 || p >= kMaxPoints)
        return true;
    const TestItemType item = testItemType[p];

    float* stepped = nullptr;
    SlideSearch search = SlideSearch::Neither;
    switch (item) {
    case ITEM_ACTION_FREQUENCY:
        stepped = &dfdtStopValue;
        search = SlideSearch::Stop;
        break;
    case ITEM_FREQUENCY_SLIP:
        stepped = &dfdtSlipValue;
        search = SlideSearch::Rate;
        break;
    case ITEM_LOW_I_LOCK:
        stepped = &currentVaribale;
        break;
    case ITEM_V_LOCK:
        stepped = &voltageVariable;
        break;
    default: // trip time (and an unknown item)
        search = SlideSearch::Nothing;
        break;
    }
    if (stepped)
        LoadShedding::stepSearched(*this, p, stepped);

    const double* ranges = normalOutputRanges;
    const double* angles = normalOutputAngles;
    const double* frequencies = normalOutputFrequencies;
    const double x = stepped ? double(*stepped) : 0.0;
    for (int c = 0; c < 3; ++c) {
        const int i = c + 4;
        switch (item) {
        case ITEM_ACTION_FREQUENCY:
            LoadShedding::setNextChannel(*this, c, kSlide, ranges[c], angles[c], frequencies[c]);
            LoadShedding::setNextChannel(*this, i, kBase, 0.0, angles[i], frequencies[i]);
            break;
        case ITEM_LOW_I_LOCK:
            LoadShedding::setNextChannel(*this, c, kSlide, ranges[c], angles[c], initFrequencyVal[p]);
            LoadShedding::setNextChannel(*this, i, kSlide, x, angles[i], initFrequencyVal[p]);
            break;
        case ITEM_V_LOCK:
            LoadShedding::setNextChannel(*this, c, kSlide, x, angles[c], initFrequencyVal[p]);
            LoadShedding::setNextChannel(*this, i, kBase, 0.0, angles[i], frequencies[i]);
            break;
        default: // trip time, df/dt blocking
            LoadShedding::setNextChannel(*this, c, kSlide, ranges[c], angles[c], initFrequencyVal[p]);
            LoadShedding::setNextChannel(*this, i, kBase, 0.0, angles[i], frequencies[i]);
            break;
        }
    }
    setSlide(p, search, finalFrequencyVal[p], nextOutputFrequencies[AO_PORT_TYPE_UA], dfdtStopValue, dfdtSlipValue);
    return true;
}

void ModelSlipFrequencyEntity::updateToDriverValue()
{
    QMutexLocker locker(&entityLock);
    writeDriverValue(dfdtStopValue, dfdtSlipValue, &CommDriverTestOutputData::dfdtStopValue,
                     &CommDriverTestOutputData::dfdtSlipValue);
}

bool ModelSlipFrequencyEntity::checkOutputValues() const
{
    QMutexLocker locker(&entityLock);
    return checkValues(initFrequencyVal, finalFrequencyVal, ITEM_V_LOCK);
}
