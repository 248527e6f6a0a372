// ViewSlipVoltageModel: its items, settings and edit point.

#include "ViewSlipVoltageModel.h"

#include "ModelSlipVoltageEntity.h"

#include <algorithm>
#include <iterator>

namespace {

using M = ViewSlipVoltageModel;
constexpr int kZero = M::kZero;
constexpr int kKeep = M::kKeep;

// By item: name, unit of the action value, then the settings that reach
// rampBeginValues, rampEndValues, rampStepValues, slipValue,
// initVoltageVal, finalVoltageVal and clkVoltageVal.
const M::Item kItems[] = {
    {QT_TRANSLATE_NOOP("ViewSlipVoltageModel", "动作电压"), "V", M::VOLTAGE_BEGIN, M::VOLTAGE_END, M::VOLTAGE_STEP,
     M::VOLTAGE_SLIP, kKeep, kKeep, kKeep},
    {QT_TRANSLATE_NOOP("ViewSlipVoltageModel", "动作时间"), nullptr, kZero, kZero, kKeep, M::VOLTAGE_SLIP,
     M::VOLTAGE_BEGIN, M::VOLTAGE_END, M::TIMING_VOLTAGE},
    {QT_TRANSLATE_NOOP("ViewSlipVoltageModel", "电压滑差"), "V/s", M::SLIP_BEGIN, M::SLIP_END, M::SLIP_STEP, kKeep,
     M::VOLTAGE_BEGIN, M::VOLTAGE_END, kKeep},
    {QT_TRANSLATE_NOOP("ViewSlipVoltageModel", "低流闭锁"), "A", M::CURRENT_BEGIN, M::CURRENT_END, M::CURRENT_STEP,
     M::VOLTAGE_SLIP, M::VOLTAGE_BEGIN, M::VOLTAGE_END, kKeep},
};

const char* const kKeys[M::SETTING_COUNT] = {
    "voltageBegin", "voltageEnd", "voltageStep", "voltageSlip",  "timingVoltage", "slipBegin",
    "slipEnd",      "slipStep",   "currentBegin", "currentEnd", "currentStep",
};

static_assert(ModelSlipVoltageEntity::kMaxPoints == 32, "the list holds what the entity holds");
static_assert(int(ModelSlipVoltageEntity::ITEM_LOW_I_LOCK) == int(M::ITEM_LOW_I_LOCK), "the entity's items");
static_assert(M::ITEM_ACTION_TIME == M::kItemActionTime && M::ITEM_LOW_I_LOCK == M::kItemLowCurrent,
              "the shared items");

} // namespace

// UA..UC show the voltage begin for every item.
const ViewLoadSheddingModel::Layout ViewSlipVoltageModel::kLayout = {
    ViewPointLists::slipVoltage, ModelSlipVoltageEntity::kMaxPoints, kItems, int(std::size(kItems)), kKeys,
    SETTING_COUNT, SLIP_BEGIN, CURRENT_BEGIN, VOLTAGE_BEGIN, -1, false,
};

ViewSlipVoltageModel::ViewSlipVoltageModel(QObject* parent)
    : ViewLoadSheddingModel(kLayout, parent)
{
    const double rated[SETTING_COUNT] = {
        rateVoltage, 30.0, 1.0, 0.1, 49.0, 1.0, 5.0, 1.0, 5.0, rateCurrent, 1.0,
    };
    std::copy(std::begin(rated), std::end(rated), tempPoint->settings);
    tempPoint->testItemType = ITEM_ACTION_VOLTAGE;
}

void ViewSlipVoltageModel::setVoltageSlip(double value) { setSetting(VOLTAGE_SLIP, value); }
double ViewSlipVoltageModel::getVoltageSlip() const { return setting(VOLTAGE_SLIP); }
void ViewSlipVoltageModel::setTimingVoltage(double value) { setSetting(TIMING_VOLTAGE, value); }
double ViewSlipVoltageModel::getTimingVoltage() const { return setting(TIMING_VOLTAGE); }
