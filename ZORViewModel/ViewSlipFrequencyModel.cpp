// ViewSlipFrequencyModel: its items, settings and edit point.

#include "ViewSlipFrequencyModel.h"

#include "ModelSlipFrequencyEntity.h"

#include <algorithm>
#include <iterator>

namespace {

using M = ViewSlipFrequencyModel;
constexpr int kZero = M::kZero;
constexpr int kKeep = M::kKeep;

// By item: name, unit of the action value, then the settings that reach
// rampBeginValues, rampEndValues, rampStepValues, slipValue,
// initFrequencyVal, finalFrequencyVal and clkFrequencyVal.
const M::Item kItems[] = {
    {QT_TRANSLATE_NOOP("ViewSlipFrequencyModel", "动作频率"), "Hz", M::FREQUENCY_BEGIN, M::FREQUENCY_END,
     M::FREQUENCY_STEP, M::FREQUENCY_SLIP, kKeep, kKeep, kKeep},
    {QT_TRANSLATE_NOOP("ViewSlipFrequencyModel", "动作时间"), nullptr, kZero, kZero, kKeep, M::FREQUENCY_SLIP,
     M::FREQUENCY_BEGIN, M::FREQUENCY_END, M::TIMING_FREQUENCY},
    {QT_TRANSLATE_NOOP("ViewSlipFrequencyModel", "频率滑差"), "Hz/s", M::SLIP_BEGIN, M::SLIP_END, M::SLIP_STEP,
     kKeep, M::FREQUENCY_BEGIN, M::FREQUENCY_END, kKeep},
    {QT_TRANSLATE_NOOP("ViewSlipFrequencyModel", "低流闭锁"), "A", M::CURRENT_BEGIN, M::CURRENT_END, M::CURRENT_STEP,
     M::FREQUENCY_SLIP, M::FREQUENCY_BEGIN, M::FREQUENCY_END, kKeep},
    {QT_TRANSLATE_NOOP("ViewSlipFrequencyModel", "电压闭锁"), "V", M::VOLTAGE_BEGIN, M::VOLTAGE_END, M::VOLTAGE_STEP,
     M::FREQUENCY_SLIP, M::FREQUENCY_BEGIN, M::FREQUENCY_END, kKeep},
};

const char* const kKeys[M::SETTING_COUNT] = {
    "frequencyBegin", "frequencyEnd", "frequencyStep", "frequencySlip", "timingFrequency",
    "voltageBegin",   "voltageEnd",   "voltageStep",   "slipBegin",     "slipEnd",
    "slipStep",       "currentBegin", "currentEnd",    "currentStep",
};

static_assert(ModelSlipFrequencyEntity::kMaxPoints == 8, "the list holds what the entity holds");
static_assert(int(ModelSlipFrequencyEntity::ITEM_V_LOCK) == int(M::ITEM_V_LOCK), "the entity's items");
static_assert(M::ITEM_ACTION_TIME == M::kItemActionTime && M::ITEM_LOW_I_LOCK == M::kItemLowCurrent,
              "the shared items");

} // namespace

const ViewLoadSheddingModel::Layout ViewSlipFrequencyModel::kLayout = {
    ViewPointLists::slipFrequency, ModelSlipFrequencyEntity::kMaxPoints, kItems, int(std::size(kItems)), kKeys,
    SETTING_COUNT, SLIP_BEGIN, CURRENT_BEGIN, VOLTAGE_BEGIN, ITEM_V_LOCK, true,
};

ViewSlipFrequencyModel::ViewSlipFrequencyModel(QObject* parent)
    : ViewLoadSheddingModel(kLayout, parent)
{
    const double rated[SETTING_COUNT] = {
        rateFrequency, 45.0, 1.0, 0.1, 49.0, rateVoltage, 30.0, 1.0, 1.0, 5.0, 1.0, 5.0, rateCurrent, 1.0,
    };
    std::copy(std::begin(rated), std::end(rated), tempPoint->settings);
    tempPoint->testItemType = ITEM_ACTION_FREQUENCY;
}

void ViewSlipFrequencyModel::setFrequencyBegin(double value) { setSetting(FREQUENCY_BEGIN, value); }
double ViewSlipFrequencyModel::getFrequencyBegin() const { return setting(FREQUENCY_BEGIN); }
void ViewSlipFrequencyModel::setFrequencyEnd(double value) { setSetting(FREQUENCY_END, value); }
double ViewSlipFrequencyModel::getFrequencyEnd() const { return setting(FREQUENCY_END); }
void ViewSlipFrequencyModel::setFrequencyStep(double value) { setSetting(FREQUENCY_STEP, value); }
double ViewSlipFrequencyModel::getFrequencyStep() const { return setting(FREQUENCY_STEP); }
void ViewSlipFrequencyModel::setFrequencySlip(double value) { setSetting(FREQUENCY_SLIP, value); }
double ViewSlipFrequencyModel::getFrequencySlip() const { return setting(FREQUENCY_SLIP); }
void ViewSlipFrequencyModel::setTimingFrequency(double value) { setSetting(TIMING_FREQUENCY, value); }
double ViewSlipFrequencyModel::getTimingFrequency() const { return setting(TIMING_FREQUENCY); }
