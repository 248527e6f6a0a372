// ViewStdSourceModel: settings, phasors, element powers, limits and the push.

#include "ViewStdSourceModel.h"

#include "ControllerCenter.h"
#include "ModelStdSourceEntity.h"

#include <QDebug>
#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kSqrt3 = 1.7320508075688772;
constexpr double kInvSqrt3 = 0.5773502691896257;
constexpr double kHalfSqrt3 = 0.8660254037844386;

} // namespace

ViewStdSourceModel::ViewStdSourceModel(QObject* parent)
    : ViewSourceTestModel(TEST_STDSOURCE, parent)
    , workMode(WORK_MODE_SINGLE_ACTIVE_POWER)
    , powerFactor(1.0)
    , factorType(POWER_FACTOR_TYPE_NONE)
    , powerPhase(0.0)
    , srcFrequency(rateFrequency)
    , componentSel(COMPONENT_SELECT_ALL)
    , srcVoltageAmp(rateVoltage)
    , srcCurrentAmp(rateCurrent)
    , activePower(rateVoltage * rateCurrent)
    , reactivePower(0.0)
    , apprentPower(activePower + reactivePower)
    , powerRadian(0.0)
    , maxActivePower(0.0)
    , minActivePower(0.0)
    , maxReactivePower(0.0)
    , minReactivePower(0.0)
    , testState(0)
{
    std::fill(std::begin(outputRange), std::end(outputRange), 0.0);
    std::fill(std::begin(outputRadian), std::end(outputRadian), 0.0);
    std::fill(std::begin(outputPhase), std::end(outputPhase), 0.0);
    std::fill(std::begin(outputPower), std::end(outputPower), 0.0);
    updateSetting();
}

ViewStdSourceModel::~ViewStdSourceModel() = default;

// ---- Angles and accepted values ------------------------------------------------------

double ViewStdSourceModel::modifyPhase(double degrees)
{
    return foldAngle(degrees);
}

double ViewStdSourceModel::angleToRadian(double degrees)
{
    return degrees * kPi / 180.0;
}

double ViewStdSourceModel::radianToAngle(double radians)
{
    return radians * 180.0 / kPi;
}

bool ViewStdSourceModel::isThreeElementMode(int mode)
{
    return mode == WORK_MODE_3P4W_Y_ACTIVE_POWER || mode == WORK_MODE_3P4W_Y_REACTIVE_POWER
        || mode == WORK_MODE_3COM_90_DEGREE_REACTIVE_POWER;
}

int ViewStdSourceModel::acceptedWorkMode(int value, int current)
{
    return value >= WORK_MODE_SINGLE_ACTIVE_POWER && value <= WORK_MODE_2COM_90_DEGREE_REACTIVE_POWER ? value
                                                                                                      : current;
}

int ViewStdSourceModel::acceptedFactorType(int value, int current)
{
    return value >= POWER_FACTOR_TYPE_INDUCTIVE && value <= POWER_FACTOR_TYPE_NONE ? value : current;
}

int ViewStdSourceModel::acceptedComponent(int value, int current, int mode)
{
    if (value < COMPONENT_SELECT_ALL || value > COMPONENT_SELECT_C)
        return current;
    // A two-element meter has elements A and C only.
    return value == COMPONENT_SELECT_B && !isThreeElementMode(mode) ? COMPONENT_SELECT_C : value;
}

double ViewStdSourceModel::acceptedPowerFactor(double value, double current)
{
    // The arc cosine is defined on -1..1 only.
    return std::isnan(value) ? current : std::clamp(value, -1.0, 1.0);
}

// ---- Derived values -------------------------------------------------------------------------

ViewStdSourceModel::Outputs ViewStdSourceModel::compute(double current) const
{
    Outputs out;
    const double u = srcVoltageAmp;
    const double i = current;
    const double s0 = u * i;
    const double pf = std::clamp(powerFactor, -1.0, 1.0);
    const double arc = std::acos(pf);
    const bool inductive = factorType == POWER_FACTOR_TYPE_INDUCTIVE;
    const double phi = !isReactiveMode(workMode) ? (inductive ? arc : -arc)
                                                 : (inductive ? arc + angleToRadian(90.0) : angleToRadian(90.0) - arc);
    out.radian = phi;

    const bool all = componentSel == COMPONENT_SELECT_ALL;
    const bool gateA = all || componentSel == COMPONENT_SELECT_A;
    const bool gateB = all || componentSel == COMPONENT_SELECT_B;
    const bool gateC = all || componentSel == COMPONENT_SELECT_C;
    const auto set = [&out](int port, bool on, double range, double radian) {
        if (on) {
            out.range[port] = range;
            out.phaseRadian[port] = radian;
        }
    };
    const auto at = angleToRadian;

    switch (workMode) {
    case WORK_MODE_SINGLE_ACTIVE_POWER:
        set(SINGLE_PORT_UA, true, u, 0.0);
        set(SINGLE_PORT_IA, true, i, -phi);
        break;
    case WORK_MODE_3P4W_Y_ACTIVE_POWER:
    case WORK_MODE_3P4W_Y_REACTIVE_POWER:
        set(SINGLE_PORT_UA, true, u, 0.0);
        set(SINGLE_PORT_UB, gateB, u, at(240.0));
        set(SINGLE_PORT_UC, gateC, u, at(120.0));
        set(SINGLE_PORT_IA, gateA, i, -phi);
        set(SINGLE_PORT_IB, gateB, i, at(240.0) - phi);
        set(SINGLE_PORT_IC, gateC, i, at(120.0) - phi);
        break;
    case WORK_MODE_3P3W_V_ACTIVE_POWER:
    case WORK_MODE_3P3W_V_REACTIVE_POWER:
        // Uab on UA, Ucb on UC, B the common point.
        set(SINGLE_PORT_UA, true, u, 0.0);
        set(SINGLE_PORT_UC, gateC, u, at(60.0));
        set(SINGLE_PORT_IA, gateA, i, at(330.0) - phi);
        set(SINGLE_PORT_IC, gateC, i, at(90.0) - phi);
        break;
    case WORK_MODE_3P3W_TRIANGLE_ACTIVE_POWER:
    case WORK_MODE_3P3W_TRIANGLE_REACTIVE_POWER:
        // The phase voltages of a set whose Uab lies at 0.
        set(SINGLE_PORT_UA, true, u / kSqrt3, at(330.0));
        set(SINGLE_PORT_UB, true, u / kSqrt3, at(210.0));
        set(SINGLE_PORT_UC, true, u / kSqrt3, at(90.0));
        set(SINGLE_PORT_IA, gateA, i, at(330.0) - phi);
        set(SINGLE_PORT_IC, gateC, i, at(90.0) - phi);
        break;
    case WORK_MODE_3COM_90_DEGREE_REACTIVE_POWER:
        // Ubc, Uca, Uab: a closed triangle with Uab at 0.
        set(SINGLE_PORT_UA, true, u, at(240.0));
        set(SINGLE_PORT_UB, componentSel != COMPONENT_SELECT_C, u, at(120.0));
        set(SINGLE_PORT_UC, true, u, 0.0);
        set(SINGLE_PORT_IA, gateA, i, at(330.0) - phi);
        set(SINGLE_PORT_IB, gateB, i, at(210.0) - phi);
        set(SINGLE_PORT_IC, gateC, i, at(90.0) - phi);
        break;
    case WORK_MODE_2COM_90_DEGREE_REACTIVE_POWER:
        // Ubc and Uab of the same triangle.
        set(SINGLE_PORT_UA, componentSel != COMPONENT_SELECT_C, u, at(240.0));
        set(SINGLE_PORT_UC, true, u, 0.0);
        set(SINGLE_PORT_IA, gateA, i, at(330.0) - phi);
        set(SINGLE_PORT_IC, gateC, i, at(90.0) - phi);
        break;
    }

    // Element k: active power at k, reactive power at k + 3. An element
    // whose current is off reads nothing.
    const bool gates[3] = {gateA, gateB, gateC};
    const auto element = [&out, &gates](int k, double p, double q) {
        if (gates[k]) {
            out.power[k] = p;
            out.power[k + 3] = q;
        }
    };
    switch (workMode) {
    case WORK_MODE_SINGLE_ACTIVE_POWER:
    case WORK_MODE_3P4W_Y_ACTIVE_POWER:
        for (int k = 0; k < 3; ++k) {
            const double s = out.range[k] * out.range[k + 3];
            out.power[k] = s * pf;
            out.power[k + 3] = s * std::sin(phi);
        }
        break;
    case WORK_MODE_3P4W_Y_REACTIVE_POWER:
        for (int k = 0; k < 3; ++k) {
            const double s = out.range[k] * out.range[k + 3];
            out.power[k] = s * std::cos(phi);
            out.power[k + 3] = s * pf;
        }
        break;
    case WORK_MODE_3P3W_V_ACTIVE_POWER:
    case WORK_MODE_3P3W_TRIANGLE_ACTIVE_POWER:
    case WORK_MODE_3P3W_V_REACTIVE_POWER:
    case WORK_MODE_3P3W_TRIANGLE_REACTIVE_POWER:
        element(0, s0 * std::cos(phi + at(30.0)), s0 * std::sin(phi + at(30.0)));
        element(2, s0 * std::cos(phi - at(30.0)), s0 * std::sin(phi - at(30.0)));
        break;
    case WORK_MODE_3COM_90_DEGREE_REACTIVE_POWER:
        for (int k = 0; k < 3; ++k)
            element(k, pf * s0, s0 * kInvSqrt3 * std::sin(phi));
        break;
    case WORK_MODE_2COM_90_DEGREE_REACTIVE_POWER:
        element(0, pf * s0, s0 * kHalfSqrt3 * std::sin(phi));
        element(2, pf * s0, s0 * kHalfSqrt3 * std::sin(phi));
        break;
    }
    return out;
}

void ViewStdSourceModel::updateSetting()
{
    const Outputs out = compute(srcCurrentAmp);
    powerRadian = out.radian;
    for (int p = 0; p < 6; ++p) {
        outputRange[p] = out.range[p];
        outputRadian[p] = out.phaseRadian[p];
        outputPower[p] = out.power[p];
        outputPhase[p] = modifyPhase(radianToAngle(outputRadian[p]));
    }
    powerPhase = modifyPhase(radianToAngle(powerRadian));
    activePower = out.activeTotal();
    reactivePower = out.reactiveTotal();
    apprentPower = std::sqrt(activePower * activePower + reactivePower * reactivePower);
    updatePowerLimit();
}

void ViewStdSourceModel::updatePowerLimit()
{
    const double smax = srcVoltageAmp * getDeviceAOIMaxRange();
    double maxOpen = 0.0;
    double minOpen = 0.0;
    if (std::fabs(powerFactor) >= 1e-7) {
        if (powerFactor > 0.0)
            maxOpen = powerFactor * smax;
        else
            minOpen = powerFactor * smax;
    }
    if (!isReactiveMode(workMode)) {
        maxActivePower = maxOpen;
        minActivePower = minOpen;
        maxReactivePower = smax;
        minReactivePower = -smax;
    } else {
        maxReactivePower = maxOpen;
        minReactivePower = minOpen;
        maxActivePower = smax;
        minActivePower = -smax;
    }
}

void ViewStdSourceModel::updatePowerFactorByPhase(double degrees)
{
    const double theta = modifyPhase(degrees);
    const auto near = [theta](double axis) { return std::fabs(theta - axis) < 1e-6; };
    powerRadian = angleToRadian(theta);
    if (!isReactiveMode(workMode)) {
        if (near(0.0) || near(360.0) || near(180.0))
            factorType = POWER_FACTOR_TYPE_NONE;
        else
            factorType = theta > 0.0 && theta < 180.0 ? POWER_FACTOR_TYPE_INDUCTIVE : POWER_FACTOR_TYPE_CAPACITIVE;
        powerFactor = std::cos(powerRadian);
    } else {
        if (near(90.0) || near(270.0))
            factorType = POWER_FACTOR_TYPE_NONE;
        else
            factorType = theta > 90.0 && theta < 270.0 ? POWER_FACTOR_TYPE_INDUCTIVE : POWER_FACTOR_TYPE_CAPACITIVE;
        powerFactor = std::cos(powerRadian - angleToRadian(90.0));
        if (std::fabs(powerFactor) < 1e-9)
            powerFactor = 0.0;
    }
    qDebug() << "ViewStdSourceModel::updatePowerFactorByPhase factorType:" << factorType;
}

void ViewStdSourceModel::solveCurrent(double total, bool active)
{
    const Outputs unit = compute(1.0);
    const double perAmpere = active ? unit.activeTotal() : unit.reactiveTotal();
    if (std::fabs(perAmpere) <= 1e-9 * std::fabs(srcVoltageAmp)) {
        srcCurrentAmp = 0.0;
        return;
    }
    const double current = total / perAmpere;
    // A sign these elements cannot give at this factor, or no number: the
    // current stays.
    if (!(current >= 0.0) || !std::isfinite(current))
        return;
    srcCurrentAmp = std::min(current, getDeviceAOIMaxRange());
}

// ---- Setters and getters -----------------------------------------------------------------------

void ViewStdSourceModel::push()
{
    updateVMToEnt(DATA_TYPE_TEST_OUTPUTVI, -1, isTestRunning());
}

void ViewStdSourceModel::setWorkMode(WorkMode mode)
{
    const int value = acceptedWorkMode(mode, workMode);
    if (value == workMode)
        return;
    workMode = WorkMode(value);
    componentSel = COMPONENT_SELECT_ALL;
    updateSetting();
}

int ViewStdSourceModel::getWorkMode() const
{
    return workMode;
}

void ViewStdSourceModel::setPowerFactor(double factor)
{
    const double value = acceptedPowerFactor(factor, powerFactor);
    if (value == powerFactor)
        return;
    powerFactor = value;
    if (std::fabs(powerFactor - 1.0) < 1e-6 || std::fabs(powerFactor + 1.0) < 1e-6)
        factorType = POWER_FACTOR_TYPE_NONE;
    else if (factorType == POWER_FACTOR_TYPE_NONE)
        factorType = POWER_FACTOR_TYPE_INDUCTIVE;
    qDebug() << "ViewStdSourceModel::setPowerFactor setPowerFactor:" << factorType;
    updateSetting();
    push();
}

double ViewStdSourceModel::getPowerFactor() const
{
    return powerFactor;
}

void ViewStdSourceModel::setFactorType(PowerFactorType type)
{
    const int value = acceptedFactorType(type, factorType);
    if (value == factorType)
        return;
    factorType = PowerFactorType(value);
    updateSetting();
    push();
}

int ViewStdSourceModel::getFactorType() const
{
    return factorType;
}

void ViewStdSourceModel::setPowerPhase(double phase)
{
    if (!std::isfinite(phase) || phase == powerPhase)
        return;
    powerPhase = phase;
    updatePowerFactorByPhase(phase);
    updateSetting();
    push();
}

double ViewStdSourceModel::getPowerPhase() const
{
    return powerPhase;
}

void ViewStdSourceModel::setSrcFrequency(double frequency)
{
    if (frequency != srcFrequency)
        srcFrequency = frequency;
}

double ViewStdSourceModel::getSrcFrequency() const
{
    return srcFrequency;
}

void ViewStdSourceModel::setComponentSel(ComponentSelect select)
{
    const int value = acceptedComponent(select, componentSel, workMode);
    if (value == componentSel)
        return;
    componentSel = ComponentSelect(value);
    updateSetting();
}

int ViewStdSourceModel::getComponentSel() const
{
    if (componentSel == COMPONENT_SELECT_C && !isThreeElementMode(workMode))
        return COMPONENT_SELECT_B;
    return componentSel;
}

void ViewStdSourceModel::setSrcVoltageAmp(double voltage)
{
    if (voltage == srcVoltageAmp)
        return;
    srcVoltageAmp = voltage;
    updateSetting();
    push();
}

double ViewStdSourceModel::getSrcVoltageAmp() const
{
    return srcVoltageAmp;
}

void ViewStdSourceModel::setSrcCurrentAmp(double current)
{
    if (current == srcCurrentAmp)
        return;
    srcCurrentAmp = current;
    updateSetting();
    push();
}

double ViewStdSourceModel::getSrcCurrentAmp() const
{
    return srcCurrentAmp;
}

void ViewStdSourceModel::setActivePower(double power)
{
    if (power == activePower)
        return;
    activePower = power;
    solveCurrent(power, true);
    updateSetting();
    push();
}

double ViewStdSourceModel::getActivePower() const
{
    return activePower;
}

void ViewStdSourceModel::setReactivePower(double power)
{
    if (power == reactivePower)
        return;
    reactivePower = power;
    solveCurrent(power, false);
    updateSetting();
    push();
}

double ViewStdSourceModel::getReactivePower() const
{
    return reactivePower;
}

double ViewStdSourceModel::getApprentPower() const
{
    return apprentPower;
}

double ViewStdSourceModel::getOutputRange(SinglePortType port) const
{
    if (port < SINGLE_PORT_UA || port > SINGLE_PORT_IC)
        return 0.0;
    const bool triangle = workMode == WORK_MODE_3P3W_TRIANGLE_ACTIVE_POWER
                       || workMode == WORK_MODE_3P3W_TRIANGLE_REACTIVE_POWER;
    if (port <= SINGLE_PORT_UC && triangle)
        return srcVoltageAmp;
    return outputRange[port];
}

double ViewStdSourceModel::getOutputPhase(SinglePortType port) const
{
    if (port < SINGLE_PORT_UA || port > SINGLE_PORT_IC)
        return 0.0;
    const bool triangle = workMode == WORK_MODE_3P3W_TRIANGLE_ACTIVE_POWER
                       || workMode == WORK_MODE_3P3W_TRIANGLE_REACTIVE_POWER;
    if (port <= SINGLE_PORT_UC && triangle)
        return port == SINGLE_PORT_UC ? 60.0 : 0.0;
    return modifyPhase(radianToAngle(outputRadian[port]));
}

double ViewStdSourceModel::getOutputPower(SinglePortType port) const
{
    return port >= SINGLE_PORT_UA && port <= SINGLE_PORT_IC ? outputPower[port] : 0.0;
}

int ViewStdSourceModel::getTestState() const
{
    return testState;
}

double ViewStdSourceModel::getMaxActivePower() const
{
    return maxActivePower;
}

double ViewStdSourceModel::getMinActivePower() const
{
    return minActivePower;
}

double ViewStdSourceModel::getMaxReactivePower() const
{
    return maxReactivePower;
}

double ViewStdSourceModel::getMinReactivePower() const
{
    return minReactivePower;
}

// ---- Frame hooks ----------------------------------------------------------------------------

void ViewStdSourceModel::pushToEntity(DATAType type)
{
    if (type != DATA_TYPE_TEST_OUTPUTVI && type != DATA_TYPE_TEST_OUTPUTDATA)
        return;
    ModelStdSourceEntity* entity = center()->testTestor->dataStdSource;
    QMutexLocker lock(&entity->entityLock);
    for (int k = 0; k < 3; ++k) {
        const int voltage = AO_PORT_TYPE_UA + k;
        const int current = AO_PORT_TYPE_IA + k;
        entity->outputRanges[voltage] = outputRange[SINGLE_PORT_UA + k];
        entity->outputAngles[voltage] = outputPhase[SINGLE_PORT_UA + k];
        entity->outputFrequencies[voltage] = srcFrequency;
        entity->outputRanges[current] = outputRange[SINGLE_PORT_IA + k];
        entity->outputAngles[current] = outputPhase[SINGLE_PORT_IA + k];
        entity->outputFrequencies[current] = srcFrequency;
    }
    for (int port : {int(AO_PORT_TYPE_UX), int(AO_PORT_TYPE_IX)}) {
        entity->outputRanges[port] = 0.0;
        entity->outputAngles[port] = 0.0;
        entity->outputFrequencies[port] = 0.0;
    }
    const ControllerConfiguration* config = center()->testConfiguration;
    entity->formatLimitValue(config->maxVRange, config->maxIRange);
}

void ViewStdSourceModel::beginResults()
{
    testState = -1;
}

void ViewStdSourceModel::settleResults()
{
    if (testState != 1)
        testState = 0;
}
