#include "BaseModelDataDistance.h"

#include <array>
#include <cmath>
#include <limits>

namespace {

using State = std::array<BaseDataPhaseValue, BaseModelDataDistance::PORT_COUNT>;

constexpr int UA = BaseModelDataDistance::PORT_EARTHPHASE_TYPE_UA;
constexpr int UX = BaseModelDataDistance::PORT_EARTHPHASE_TYPE_UX;
constexpr int IA = BaseModelDataDistance::PORT_EARTHPHASE_TYPE_IA;

double limitOrNone(double value)
{
    if (std::isfinite(value) && value > 0.0)
        return value;
    return std::numeric_limits<double>::max();
}

State copyOf(const BaseDataPhaseValue* values)
{
    State state;
    if (values) {
        for (int i = 0; i < BaseModelDataDistance::PORT_COUNT; ++i)
            state[i] = values[i];
    }
    return state;
}

void store(const State& state, BaseDataPhaseValue* values)
{
    if (!values)
        return;
    for (int i = 0; i < BaseModelDataDistance::PORT_COUNT; ++i)
        values[i] = state[i];
}

// Rated voltages at 0, 240, 120 degrees (magnitude voltage) and load
// currents lagging them by the load angle.
void setLoadState(State& state, double voltage, const BaseModelDataDistance& model)
{
    static const double turns[3] = {0.0, 240.0, 120.0};
    for (int i = 0; i < 3; ++i) {
        state[UA + i].setPhase(voltage, turns[i], model.rateFrequency);
        state[IA + i].setPhase(model.loadCurrent, turns[i] - model.loadAngle, model.rateFrequency);
    }
}

} // namespace

std::atomic<BaseModelDataDistance*> BaseModelDataDistance::instance{nullptr};

BaseModelDataDistance::BaseModelDataDistance() = default;

BaseModelDataDistance::BaseModelDataDistance(const BaseModelDataDistance& src)
{
    setValue(src);
}

BaseModelDataDistance& BaseModelDataDistance::operator=(const BaseModelDataDistance& src)
{
    if (this != &src)
        setValue(src);
    return *this;
}

BaseModelDataDistance::~BaseModelDataDistance() = default;

BaseModelDataDistance* BaseModelDataDistance::getInstance()
{
    BaseModelDataDistance* current = instance.load(std::memory_order_acquire);
    if (current)
        return current;
    auto* created = new BaseModelDataDistance();
    BaseModelDataDistance* expected = nullptr;
    if (instance.compare_exchange_strong(expected, created, std::memory_order_acq_rel,
                                         std::memory_order_acquire))
        return created;
    delete created; // another thread was first
    return expected;
}

void BaseModelDataDistance::setValue(const BaseModelDataDistance& src)
{
    distanceKind = src.distanceKind;
    faultKind = src.faultKind;
    faultDirection = src.faultDirection;
    ctPosition = src.ctPosition;
    ptPosition = src.ptPosition;
    calcPerlXexlEnable = src.calcPerlXexlEnable;
    separateArcResistance = src.separateArcResistance;
    limitCurrentRange = src.limitCurrentRange;
    limitVoltageRange = src.limitVoltageRange;
    faultCurrentRange = src.faultCurrentRange;
    faultVoltageRange = src.faultVoltageRange;
    rateVoltage = src.rateVoltage;
    rateFrequency = src.rateFrequency;
    loadCurrent = src.loadCurrent;
    loadAngle = src.loadAngle;
    settingImpedance = src.settingImpedance;
    systemImpedance = src.systemImpedance;
    shortImpedance = src.shortImpedance;
    systemFactor.setValue(src.systemFactor);
    shortFactor.setValue(src.shortFactor);
    uxDefine.setValue(src.uxDefine);
}

void BaseModelDataDistance::setDeviceRating(double rateV, double rateF, double maxV, double maxI)
{
    rateVoltage = rateV;
    rateFrequency = rateF;
    limitVoltageRange = limitOrNone(maxV);
    limitCurrentRange = limitOrNone(maxI);
}

bool BaseModelDataDistance::compute(BaseDataPhaseValue* fault)
{
    return compute(nullptr, fault, nullptr);
}

bool BaseModelDataDistance::compute(BaseDataPhaseValue* pre, BaseDataPhaseValue* fault)
{
    return compute(pre, fault, nullptr);
}

bool BaseModelDataDistance::compute(BaseDataPhaseValue* pre, BaseDataPhaseValue* fault,
                                    BaseDataPhaseValue* post)
{
    if (!fault)
        return false;
    settingImpedance = shortImpedance;
    systemImpedance = shortImpedance;

    State preState = copyOf(pre);
    State faultState = copyOf(fault);
    State postState = copyOf(post);
    if (!faultFromDistance(*this, preState.data(), faultState.data(), postState.data()))
        return false;

    // UX from the fault voltages; a custom definition keeps the user's phasor.
    uxDefine.compute(faultState.data(), true);
    faultState[UX] = uxDefine.CustomPhase;

    store(preState, pre);
    store(faultState, fault);
    store(postState, post);
    return true;
}

bool BaseModelDataDistance::faultFromDistance(BaseModelDataDistance& model, BaseDataPhaseValue* pre,
                                              BaseDataPhaseValue* fault, BaseDataPhaseValue* post)
{
    if (!pre || !fault || !post)
        return false;

    State preState = copyOf(pre);
    State faultState = copyOf(fault);
    State postState = copyOf(post);

    setLoadState(preState, model.rateVoltage, model);

    bool solved = true;
    switch (model.faultKind) {
    case FAULT_TYPE_A_E:
    case FAULT_TYPE_B_E:
    case FAULT_TYPE_C_E:
        solved = faultFromDistancePE(model, faultState.data());
        break;
    case FAULT_TYPE_A_B:
    case FAULT_TYPE_B_C:
    case FAULT_TYPE_C_A:
        solved = faultFromDistancePP(model, faultState.data());
        break;
    case FAULT_TYPE_A_B_E:
    case FAULT_TYPE_B_C_E:
    case FAULT_TYPE_C_A_E:
        solved = faultFromDistancePPE(model, faultState.data());
        break;
    default:
        solved = faultFromDistancePPP(model, faultState.data());
        break;
    }
    if (!solved)
        return false;

    setLoadState(postState, model.ptPosition == PT_POSITION_TYPE_LINE ? 0.0 : model.rateVoltage,
                 model);

    store(preState, pre);
    store(faultState, fault);
    store(postState, post);
    return true;
}
