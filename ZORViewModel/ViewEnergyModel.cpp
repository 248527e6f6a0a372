// ViewEnergyModel: meter set-up, test points, energy arithmetic, run hooks
// and verdict.

#include "ViewEnergyModel.h"

#include "BaseDataUtility.h"
#include "ControllerCenter.h"
#include "ModelEnergyEntity.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double kPi = 3.141592653589793;
const double kSqrt3 = std::sqrt(3.0);

double radians(double degrees)
{
    return BaseDataUtility::division(degrees * kPi, 180.0);
}

double degrees(double radians)
{
    return radians * 180.0 / kPi;
}

double fold(double angle)
{
    return BaseDataUtility::formatAngle180(angle);
}

bool isPort(int port)
{
    return port >= 0 && port < 8;
}

bool inRange(int value, int lo, int hi)
{
    return value >= lo && value <= hi;
}

ModelEnergyEntity* energyEntity()
{
    return ControllerCenter::getInstance()->testTestor->dataEnergy;
}

} // namespace

// ---- Point record ---------------------------------------------------------------------

ViewEnergyModel::ViewPointModel::ViewPointModel()
{
    initiate();
}

void ViewEnergyModel::ViewPointModel::CopyFrom(const ViewPointModel& src)
{
    std::copy(std::begin(src.outputRanges), std::end(src.outputRanges), outputRanges);
    std::copy(std::begin(src.outputAngles), std::end(src.outputAngles), outputAngles);
    std::copy(std::begin(src.outputFrequencies), std::end(src.outputFrequencies), outputFrequencies);
    powerFactor = src.powerFactor;
    powerAngle = src.powerAngle;
    loadKind = src.loadKind;
    voltage = src.voltage;
    current = src.current;
    frequency = src.frequency;
    settingPulse = src.settingPulse;
    settingEnergy = src.settingEnergy;
    settingTime = src.settingTime;
    actualPulse = src.actualPulse;
    actualEnergy = src.actualEnergy;
    actualTime = src.actualTime;
    givenCount = src.givenCount;
    settingDev = src.settingDev;
    actualDev = src.actualDev;
    testState = src.testState;
    testResult = src.testResult;
}

void ViewEnergyModel::ViewPointModel::initiate()
{
    std::fill(std::begin(outputRanges), std::end(outputRanges), 0.0);
    std::fill(std::begin(outputAngles), std::end(outputAngles), 0.0);
    std::fill(std::begin(outputFrequencies), std::end(outputFrequencies), frequency);
}

void ViewEnergyModel::ViewPointModel::clearResults()
{
    actualPulse = 0.0;
    actualEnergy = 0.0;
    actualTime = 0.0;
    actualDev = 0.0;
}

void ViewEnergyModel::ViewPointModel::afterFactorChange()
{
    if (powerFactor < 0.0)
        settingPulse = 0.0;
}

void ViewEnergyModel::ViewPointModel::setPowerFactor(MeterType meter, double pf)
{
    if (!(pf >= -1.0 && pf <= 1.0))
        return;
    powerFactor = pf;
    double phi = 0.0;
    if (meter == Power_Reactive) {
        phi = fold(degrees(std::asin(pf)));
        if (pf > 0.0 && loadKind == Capacity)
            phi = 180.0 - phi;
        else if (pf < 0.0 && loadKind == Perceptual)
            phi = -180.0 - phi;
    } else {
        phi = fold(degrees(std::acos(pf)));
        if ((pf > 0.0 && loadKind == Capacity) || (pf < 0.0 && loadKind == Perceptual))
            phi = -phi;
    }
    powerAngle = phi;
    afterFactorChange();
}

void ViewEnergyModel::ViewPointModel::setPowerAngle(MeterType meter, double angle)
{
    if (!std::isfinite(angle))
        return;
    const double phi = fold(angle);
    powerAngle = phi;
    powerFactor = meter == Power_Reactive ? std::sin(radians(phi)) : std::cos(radians(phi));
    loadKind = (phi > -90.0 && phi < 0.0) || (phi > 90.0 && phi < 180.0) ? Capacity : Perceptual;
    afterFactorChange();
}

void ViewEnergyModel::ViewPointModel::setLoadKind(MeterType meter, int kind)
{
    if (!inRange(kind, Perceptual, Capacity))
        return;
    loadKind = LoadType(kind);
    if (meter == Power_Reactive) {
        powerAngle = fold(180.0 - powerAngle);
        powerFactor = std::sin(radians(powerAngle));
    } else {
        powerAngle = fold(-powerAngle);
        powerFactor = std::cos(radians(powerAngle));
    }
}

double ViewEnergyModel::ViewPointModel::power(MeterType meter, MeasureMeterType measure, bool single) const
{
    const double ui = voltage * current;
    const double phi = powerAngle;
    if (meter == Power_Apparent)
        return (single ? 1.0 : measure == Measure_Three ? kSqrt3 : 3.0) * ui;
    const auto element = [meter](double angle) {
        return meter == Power_Reactive ? std::sin(radians(angle)) : std::cos(radians(angle));
    };
    double p = 3.0 * ui * element(phi);
    if (single) {
        p = ui * element(phi);
    } else if (measure == Measure_Three) {
        // The two elements: UA at 0 deg with IA at -30 - phi, UC at 60 deg
        // with IC at 90 - phi.
        p = ui * element(fold(30.0 + phi)) + ui * element(fold(phi - 30.0));
    }
    // What is left of the cosine or sine at a right angle is rounding, not power.
    return std::fabs(p) <= 1e-12 * std::fabs(ui) ? 0.0 : p;
}

void ViewEnergyModel::ViewPointModel::calculateOutput(MeasureMeterType measure, bool single)
{
    initiate();
    const double phi = powerAngle;
    outputRanges[AO_PORT_TYPE_UA] = voltage;
    outputAngles[AO_PORT_TYPE_UA] = 0.0;
    outputRanges[AO_PORT_TYPE_IA] = current;
    outputAngles[AO_PORT_TYPE_IA] = fold(-phi);
    if (single)
        return;
    if (measure == Measure_Four) {
        outputRanges[AO_PORT_TYPE_UB] = voltage;
        outputAngles[AO_PORT_TYPE_UB] = -120.0;
        outputRanges[AO_PORT_TYPE_UC] = voltage;
        outputAngles[AO_PORT_TYPE_UC] = 120.0;
        outputRanges[AO_PORT_TYPE_IB] = current;
        outputAngles[AO_PORT_TYPE_IB] = fold(-120.0 - phi);
        outputRanges[AO_PORT_TYPE_IC] = current;
        outputAngles[AO_PORT_TYPE_IC] = fold(120.0 - phi);
    } else {
        outputRanges[AO_PORT_TYPE_UC] = voltage;
        outputAngles[AO_PORT_TYPE_UC] = 60.0;
        outputAngles[AO_PORT_TYPE_IA] = fold(-30.0 - phi);
        outputRanges[AO_PORT_TYPE_IC] = current;
        outputAngles[AO_PORT_TYPE_IC] = fold(90.0 - phi);
    }
}

// ---- Construction -----------------------------------------------------------------------

ViewEnergyModel::ViewEnergyModel(QObject* parent)
    : ViewPointListModel(ViewPointLists::energy, parent)
    , tempPoint(std::make_unique<ViewPointModel>())
{
    setSecondaryPulseKWH(3600.0);
    std::fill(std::begin(tempPoint->outputFrequencies), std::end(tempPoint->outputFrequencies),
              ViewBaseModel::rateFrequency);
}

ViewEnergyModel::~ViewEnergyModel() = default;

ViewEnergyModel::ViewPointModel* ViewEnergyModel::point(int index) const
{
    return static_cast<ViewPointModel*>(testPoints.at(index));
}

const ViewEnergyModel::ViewPointModel* ViewEnergyModel::pointOrEdit(int index) const
{
    const ViewPointModel* p = point(index);
    return p ? p : tempPoint.get();
}

bool ViewEnergyModel::threeWire() const
{
    return !singleEnable && measureMeterKind == Measure_Three;
}

// ---- Evaluation ----------------------------------------------------------------------------

void ViewEnergyModel::calculate(ViewPointModel* p) const
{
    p->givenCount = p->power(meterKind, measureMeterKind, singleEnable);
    p->settingEnergy = p->settingPulse * secondaryKWHPulse * 1000.0;
    p->settingTime = BaseDataUtility::division(p->settingEnergy, p->givenCount) * 3600.0;
    const bool measured = measureError(p);
    if (p->testState != AO_STATE_TYPE_COMPLETED) {
        p->testResult = AO_Result_TYPE_NONE;
    } else {
        // A count that ended short (a meter that stopped, a window that ran
        // out) or measured nothing fails.
        const bool counted = measured && p->settingEnergy > 0.0 && p->actualPulse >= p->settingPulse;
        p->testResult = counted && std::fabs(p->actualDev) <= precision ? AO_Result_TYPE_SUCCESS
                                                                         : AO_Result_TYPE_FAILED;
    }
    p->calculateOutput(measureMeterKind, singleEnable);
}

// The meter registered settingEnergy (its pulses) while the outputs
// delivered actualEnergy: its error, signed, in per cent; 0 while nothing
// was measured.
bool ViewEnergyModel::measureError(ViewPointModel* p)
{
    const bool measured = std::isfinite(p->actualEnergy) && p->actualEnergy > 0.0;
    p->actualDev = measured ? BaseDataUtility::division(p->settingEnergy - p->actualEnergy, p->actualEnergy) * 100.0
                            : 0.0;
    return measured;
}

void ViewEnergyModel::doComputer()
{
    calculate(tempPoint.get());
    for (int i = 0; i < testPoints.count(); ++i)
        calculate(point(i));
}

double ViewEnergyModel::countSeconds(const ViewPointModel& p)
{
    if (!(p.settingPulse > 0.0) || !(p.settingTime > 0.0))
        return p.settingTime > 0.0 ? p.settingTime : 0.0;
    return ModelEnergyEntity::firstEdgeAndPulsesSeconds(p.settingTime, p.settingPulse);
}

QString ViewEnergyModel::pointRefusal(int number, const ViewPointModel& p) const
{
    const QString beyond = outputLimitRefusal(number, p.outputRanges);
    if (!beyond.isEmpty())
        return beyond;
    // No power (a reactive meter at a capacitive angle, say) or no pulse:
    // nothing the meter could count.
    if (!(p.givenCount > 0.0) || !(p.settingPulse >= 1.0)) {
        const QString power = doubleFormatToString(p.givenCount, 3) + unitWord();
        if (number > 0)
            return tr("第%1点没有可计数的电能（功率%2，脉冲数%3）：请检查电流、角度、脉冲数和表计类型。")
                .arg(number)
                .arg(power, doubleFormatToString(p.settingPulse, 0));
        return tr("该点没有可计数的电能（功率%1，脉冲数%2）：请检查电流、角度、脉冲数和表计类型。")
            .arg(power, doubleFormatToString(p.settingPulse, 0));
    }
    if (countSeconds(p) > kMaxCountSeconds)
        return countLimitText(number, p);
    return QString();
}

double ViewEnergyModel::getMaxVoltageLN() const
{
    const double most = getDeviceAOVMaxRange();
    return threeWire() ? most / kSqrt3 : most;
}

double ViewEnergyModel::getMaxVoltageLL() const
{
    const double most = getDeviceAOVMaxRange();
    return threeWire() ? most : most * kSqrt3;
}

QString ViewEnergyModel::countLimitText(int number, const ViewPointModel& p) const
{
    const QString needed = doubleFormatToString(countSeconds(p), 2);
    const QString limit = doubleFormatToString(kMaxCountSeconds, 2);
    if (number > 0)
        return tr("第%1点的计数需要%2 s，超过仪器可计时的%3 s：请减少脉冲数或提高功率。")
            .arg(number)
            .arg(needed, limit);
    return tr("该点的计数需要%1 s，超过仪器可计时的%2 s：请减少脉冲数或提高功率。").arg(needed, limit);
}

// ---- Edit point ------------------------------------------------------------------------------

void ViewEnergyModel::setCurrent(double value)
{
    if (std::isfinite(value))
        tempPoint->current = value;
}

void ViewEnergyModel::setFrequency(double value)
{
    // The frequencies an output gives.
    if (value >= ModelEntity::kMinOutputFrequency && value <= ModelEntity::kMaxOutputFrequency)
        tempPoint->frequency = value;
}

void ViewEnergyModel::setSettingPulse(double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && value >= 1.0 && value <= kMaxPulses)
        tempPoint->settingPulse = value;
}

void ViewEnergyModel::setSettingDev(double value)
{
    if (std::isfinite(value))
        tempPoint->settingDev = value;
}

void ViewEnergyModel::setVoltageLN(double value)
{
    if (!std::isfinite(value) || value == getVoltageLN(-1))
        return;
    tempPoint->voltage = threeWire() ? value * kSqrt3 : value;
}

void ViewEnergyModel::setVoltageLL(double value)
{
    if (!std::isfinite(value) || value == getVoltageLL(-1))
        return;
    tempPoint->voltage = threeWire() ? value : value / kSqrt3;
}

void ViewEnergyModel::setPowerFactor(double value)
{
    if (value != tempPoint->powerFactor)
        tempPoint->setPowerFactor(meterKind, value);
}

void ViewEnergyModel::setPowerAngle(double value)
{
    if (value != tempPoint->powerAngle)
        tempPoint->setPowerAngle(meterKind, value);
}

void ViewEnergyModel::setLoadKind(int kind)
{
    if (kind != tempPoint->loadKind)
        tempPoint->setLoadKind(meterKind, kind);
}

// ---- Meter and transformer set-up ---------------------------------------------------------

void ViewEnergyModel::setMeterKind(int kind)
{
    if (!inRange(kind, Power_Active, Power_Apparent) || kind == meterKind)
        return;
    meterKind = MeterType(kind);
    const double phi = radians(tempPoint->powerAngle);
    tempPoint->powerFactor = meterKind == Power_Reactive ? std::sin(phi) : std::cos(phi);
}

int ViewEnergyModel::getMeterKind() const { return meterKind; }

void ViewEnergyModel::setMeasureMeterKind(int kind)
{
    if (inRange(kind, Measure_Four, Measure_Three))
        measureMeterKind = MeasureMeterType(kind);
}

int ViewEnergyModel::getMeasureMeterKind() const { return measureMeterKind; }
void ViewEnergyModel::setSingleEnable(bool enable) { singleEnable = enable; }
bool ViewEnergyModel::getSingleEnable() const { return singleEnable; }

void ViewEnergyModel::setOrientationKind(int kind)
{
    if (inRange(kind, Import, Import_export))
        orientationKind = OrientationType(kind);
}

int ViewEnergyModel::getOrientations() const { return orientationKind; }

void ViewEnergyModel::setPulseKind(int kind)
{
    if (inRange(kind, Edge_Rising, Edge_Falling))
        pulseKind = PulseType(kind);
}

int ViewEnergyModel::getPulseKinds() const { return pulseKind; }

double ViewEnergyModel::transformerRatio() const
{
    return BaseDataUtility::division(primaryCT, secondaryCT) * BaseDataUtility::division(primaryPT, secondaryPT);
}

// A transformer rating changed: the secondary constant stays, the primary
// one follows.
void ViewEnergyModel::applyPulseRules()
{
    primaryPulseKWH = BaseDataUtility::division(secondaryPulseKWH * 1000.0, transformerRatio());
    primaryKWHPulse = BaseDataUtility::division(1.0, primaryPulseKWH);
}

void ViewEnergyModel::setSecondaryPulseKWH(double value)
{
    if (!std::isfinite(value) || value == secondaryPulseKWH)
        return;
    secondaryPulseKWH = value;
    secondaryKWHPulse = BaseDataUtility::division(1.0, value);
    applyPulseRules();
}

void ViewEnergyModel::setPrimaryPulseKWH(double value)
{
    if (!std::isfinite(value) || value == primaryPulseKWH)
        return;
    primaryPulseKWH = value;
    primaryKWHPulse = BaseDataUtility::division(1.0, value);
    secondaryPulseKWH = BaseDataUtility::division(value * transformerRatio(), 1000.0);
    secondaryKWHPulse = BaseDataUtility::division(1.0, secondaryPulseKWH);
}

void ViewEnergyModel::setRating(double& field, double value)
{
    if (!std::isfinite(value) || value == field)
        return;
    field = value;
    applyPulseRules();
}

void ViewEnergyModel::setPrimaryCT(double value) { setRating(primaryCT, value); }
void ViewEnergyModel::setPrimaryPT(double value) { setRating(primaryPT, value); }
void ViewEnergyModel::setSecondaryCT(double value) { setRating(secondaryCT, value); }
void ViewEnergyModel::setSecondaryPT(double value) { setRating(secondaryPT, value); }

double ViewEnergyModel::getPrimaryPulseKWH() const { return primaryPulseKWH; }
double ViewEnergyModel::getSecondaryPulseKWH() const { return secondaryPulseKWH; }
double ViewEnergyModel::getPrimaryKWHPulse() const { return primaryKWHPulse; }
double ViewEnergyModel::getSecondaryKWHPulse() const { return secondaryKWHPulse; }
double ViewEnergyModel::getPrimaryCT() const { return primaryCT; }
double ViewEnergyModel::getPrimaryPT() const { return primaryPT; }
double ViewEnergyModel::getSecondaryCT() const { return secondaryCT; }
double ViewEnergyModel::getSecondaryPT() const { return secondaryPT; }
void ViewEnergyModel::setHoldTime(double value) { holdTime = value; }
double ViewEnergyModel::getHoldTime() const { return holdTime; }
void ViewEnergyModel::setPulseCount(double value) { pulseCount = value; }
double ViewEnergyModel::getPulseCount() const { return pulseCount; }
void ViewEnergyModel::setPrecision(double value) { precision = value; }
double ViewEnergyModel::getPrecision() const { return precision; }
void ViewEnergyModel::setPulseConst(double value) { pulseConst = value; }
double ViewEnergyModel::getPulseConst() const { return pulseConst; }
void ViewEnergyModel::setStartTime(double value) { startTime = value; }
double ViewEnergyModel::getStartTime() const { return startTime; }
void ViewEnergyModel::setHotTime(double value) { hotTime = value; }
double ViewEnergyModel::getHotTime() const { return hotTime; }
void ViewEnergyModel::setLocalPulseEnable(bool enable) { localPulseEnable = enable; }
bool ViewEnergyModel::getLocalPulseEnable() const { return localPulseEnable; }

bool ViewEnergyModel::getLoadKindEnable() const
{
    const double a = tempPoint->powerAngle;
    return !(a == 0.0 || a == 90.0 || a == 180.0);
}

// ---- Point getters ----------------------------------------------------------------------------

double ViewEnergyModel::getCurrent(int index) const { return pointOrEdit(index)->current; }
double ViewEnergyModel::getFrequency(int index) const { return pointOrEdit(index)->frequency; }

double ViewEnergyModel::getVoltageLN(int index) const
{
    const double v = pointOrEdit(index)->voltage;
    return threeWire() ? v / kSqrt3 : v;
}

double ViewEnergyModel::getVoltageLL(int index) const
{
    const double v = pointOrEdit(index)->voltage;
    return threeWire() ? v : v * kSqrt3;
}

double ViewEnergyModel::getPowerFactor(int index) const { return pointOrEdit(index)->powerFactor; }
double ViewEnergyModel::getPowerAngle(int index) const { return pointOrEdit(index)->powerAngle; }
double ViewEnergyModel::getSettingPulse(int index) const { return pointOrEdit(index)->settingPulse; }
double ViewEnergyModel::getSettingEnergy(int index) const { return pointOrEdit(index)->settingEnergy; }
double ViewEnergyModel::getSettingTime(int index) const { return pointOrEdit(index)->settingTime; }
double ViewEnergyModel::getActualPulse(int index) const { return pointOrEdit(index)->actualPulse; }
double ViewEnergyModel::getActualEnergy(int index) const { return pointOrEdit(index)->actualEnergy; }
double ViewEnergyModel::getActualTime(int index) const { return pointOrEdit(index)->actualTime; }
double ViewEnergyModel::getGivenCount(int index) const { return pointOrEdit(index)->givenCount; }
double ViewEnergyModel::getSettingDev(int index) const { return pointOrEdit(index)->settingDev; }
double ViewEnergyModel::getActualDev(int index) const { return pointOrEdit(index)->actualDev; }
int ViewEnergyModel::getLoadKind(int index) const { return pointOrEdit(index)->loadKind; }

double ViewEnergyModel::getOutputRange(int index, int port) const
{
    return isPort(port) ? pointOrEdit(index)->outputRanges[port] : 0.0;
}

double ViewEnergyModel::getOutputAngle(int index, int port) const
{
    return isPort(port) ? pointOrEdit(index)->outputAngles[port] : 0.0;
}

double ViewEnergyModel::getOutputFrequency(int index, int port) const
{
    return isPort(port) ? pointOrEdit(index)->outputFrequencies[port] : 0.0;
}

// ---- Progress and verdict -------------------------------------------------------------------------

int ViewEnergyModel::getTestStates(int index) const { return pointOrEdit(index)->testState; }

int ViewEnergyModel::getTestResults(int index)
{
    ViewPointModel* p = point(index);
    ViewPointModel* target = p ? p : tempPoint.get();
    calculate(target);
    return target->testResult;
}

// ---- List ----------------------------------------------------------------------------------------


void ViewEnergyModel::setActiveIndex(int index) { selectEditPoint(index, *tempPoint); }

void ViewEnergyModel::addPoint()
{
    if (testPoints.isFull())
        return;
    auto copy = std::make_unique<ViewPointModel>();
    copy->CopyFrom(*tempPoint);
    copy->clearResults();
    copy->testState = AO_STATE_TYPE_INITING;
    calculate(copy.get());
    const QString refusal = pointRefusal(0, *copy);
    if (!refusal.isEmpty()) {
        showUserMessage(refusal);
        return;
    }
    copy->testResult = AO_Result_TYPE_NONE;
    testPoints.append(std::move(copy));
}

void ViewEnergyModel::removePoint(int index)
{
    if (!testPoints.remove(index))
        return;
    updateVMToEnt(DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    updateEntToVM(DATA_TYPE_TEST_OUTPUTDATA, -1, false);
}

void ViewEnergyModel::clearPoint()
{
    testPoints.clear();
    updateVMToEnt(DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    updateEntToVM(DATA_TYPE_TEST_OUTPUTDATA, -1, false);
}

// ---- Start ---------------------------------------------------------------------------------------------

bool ViewEnergyModel::testStart()
{
    if (isTestRunning() || testPoints.count() == 0)
        return false;
    doComputer();
    for (int i = 0; i < testPoints.runCount(); ++i) {
        const QString refusal = pointRefusal(i + 1, *point(i));
        if (!refusal.isEmpty()) {
            showUserMessage(refusal);
            return false;
        }
    }
    return ViewPointListModel::testStart();
}

// ---- Hooks ---------------------------------------------------------------------------------------------

void ViewEnergyModel::doTestActive()
{
    center()->testActive(TEST_ENERGY);
    ViewBaseModel::doTestActive();
}

void ViewEnergyModel::pushToEntity()
{
    // What the entity plays is what the list shows under the present set-up.
    doComputer();
    ModelEnergyEntity* e = energyEntity();
    const ControllerConfiguration* config = center()->testConfiguration;
    QMutexLocker lock(&e->entityLock);
    const int count = testPoints.runCount();
    e->stateCount = count;
    for (int i = 0; i < count; ++i) {
        const ViewPointModel* p = point(i);
        for (int c = 0; c < 8; ++c) {
            e->stateOutputRanges[i][c] = p->outputRanges[c];
            e->stateOutputAngles[i][c] = p->outputAngles[c];
            e->stateOutputFrequencies[i][c] = p->outputFrequencies[c];
        }
        e->stateSettingPulses[i] = p->settingPulse;
        e->pulseOutputGiven[i] = p->givenCount;
        e->stateSampleDelayTimes[i] = i == 0 ? hotTime : startTime;
        e->stateSettingTimes[i] = p->settingTime;
    }
    e->pulseOutputEnable = localPulseEnable ? 1 : 0;
    e->pulseOutputConst = pulseConst;
    e->formatLimitValue(config->maxVRange, config->maxIRange);
}

void ViewEnergyModel::doUpdateVMToEnt(DATAType type, int subType)
{
    updateListEntity(energyEntity(), type, subType, [this] { pushToEntity(); });
}

void ViewEnergyModel::copyStatesFromEntity()
{
    ModelEnergyEntity* e = energyEntity();
    QMutexLocker lock(&e->entityLock);
    for (int i = 0; i < testPoints.runCount(); ++i) {
        ViewPointModel* p = point(i);
        p->testState = e->stateTestStates[i];
        p->actualEnergy = e->stateActualEnergys[i];
        p->actualTime = e->stateActualTimes[i];
        p->actualPulse = e->pulseInputCounter[i];
        // The error column reads the run's own measurement, verdict asked or not.
        measureError(p);
    }
}

void ViewEnergyModel::doSwitchToStartState()
{
    // A run measures every point anew: nothing of the last one stays shown.
    if (getTestActiveType() == TEST_ENERGY) {
        for (int i = 0; i < testPoints.count(); ++i)
            point(i)->clearResults();
    }
    ViewPointListModel::doSwitchToStartState();
}

void ViewEnergyModel::completeEntityStates(const std::vector<int>& states)
{
    completeStates(energyEntity(), states);
}

// A point stopped before its count or its window ended has not been tested:
// its short count is no failure of the meter.
void ViewEnergyModel::untestStoppedPoints()
{
    untestStoppedIf(energyEntity(), [](int) { return true; });
}
