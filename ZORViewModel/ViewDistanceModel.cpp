// ViewDistanceModel: set-up, test points, calculation, run hooks and verdict.

#include "ViewDistanceModel.h"

#include "BaseDataComplex.h"
#include "BaseDataPhaseValue.h"
#include "BaseDataRepairFactor.h"
#include "BaseModelDataDistance.h"
#include "ControllerCenter.h"
#include "ModelDistanceEntity.h"
#include "ViewVerdict.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kFactors[4] = {0.70, 0.95, 1.05, 1.20};
// uxDefine.Define offered by this module: custom and the multiples of U0.
constexpr int kLastUXDefine = BaseModelUXDefine::N3G3U0;

bool isPort(int port)
{
    return port >= 0 && port < 8;
}

bool inRange(int value, int lo, int hi)
{
    return value >= lo && value <= hi;
}

ModelDistanceEntity* distanceEntity()
{
    return ControllerCenter::getInstance()->testTestor->dataDistance;
}

} // namespace

// ---- Point record ---------------------------------------------------------------------

ViewDistanceModel::ViewPointModel::ViewPointModel()
{
    std::fill(std::begin(outputRanges), std::end(outputRanges), 0.0);
    std::fill(std::begin(outputAngles), std::end(outputAngles), 0.0);
    std::fill(std::begin(outputFrequencies), std::end(outputFrequencies), 0.0);
    clearResults();
}

void ViewDistanceModel::ViewPointModel::CopyFrom(const ViewPointModel& src)
{
    outputTriggerType = src.outputTriggerType;
    outputTime = src.outputTime;
    faultKind = src.faultKind;
    faultDirection = src.faultDirection;
    zRange = src.zRange;
    zAngle = src.zAngle;
    zReal = src.zReal;
    zImage = src.zImage;
    settingTime = src.settingTime;
    devTime = src.devTime;
    std::copy(std::begin(src.outputRanges), std::end(src.outputRanges), outputRanges);
    std::copy(std::begin(src.outputAngles), std::end(src.outputAngles), outputAngles);
    std::copy(std::begin(src.outputFrequencies), std::end(src.outputFrequencies), outputFrequencies);
}

void ViewDistanceModel::ViewPointModel::clearResults()
{
    std::fill(std::begin(actionTimes), std::end(actionTimes), kNaN);
    std::fill(std::begin(actionBIStates), std::end(actionBIStates), -1);
    relayNotReset = false;
}

// ---- Construction -----------------------------------------------------------------------

ViewDistanceModel::ViewDistanceModel(QObject* parent)
    : ViewTripListModel(ViewPointLists::distance, parent)
    , tempPoint(std::make_unique<ViewPointModel>())
{
    normalTime = 3.0;
    intervalTime = 1.0;

    // The ratings as the frame read them (under the configuration's lock).
    rateVoltage = ViewBaseModel::rateVoltage;
    rateFrequency = ViewBaseModel::rateFrequency;
    faultCurrentRange = ViewBaseModel::rateCurrent;
    faultVoltageRange = rateVoltage;
    std::fill(std::begin(loadRanges), std::end(loadRanges), 0.0);
    std::fill(std::begin(loadAngles), std::end(loadAngles), 0.0);
    std::fill(std::begin(loadFrequencies), std::end(loadFrequencies), rateFrequency);
    std::fill(std::begin(checkedFactors), std::end(checkedFactors), false);

    std::fill(std::begin(tempPoint->outputFrequencies), std::end(tempPoint->outputFrequencies), rateFrequency);
    BaseModelDataDistance::getInstance()->shortImpedance.setAngle(tempPoint->zAngle);
    doComputer(tempPoint.get());
}

ViewDistanceModel::~ViewDistanceModel() = default;

ViewDistanceModel::ViewPointModel* ViewDistanceModel::point(int index) const
{
    return static_cast<ViewPointModel*>(testPoints.at(index));
}

const ViewDistanceModel::ViewPointModel* ViewDistanceModel::pointOrEdit(int index) const
{
    const ViewPointModel* p = point(index);
    return p ? p : tempPoint.get();
}

// ---- Calculation ----------------------------------------------------------------------------

bool ViewDistanceModel::doComputer(ViewPointModel* target)
{
    BaseModelDataDistance* calc = BaseModelDataDistance::getInstance();
    const ControllerConfiguration::Ratings rated = center()->testConfiguration->ratings();
    calc->setDeviceRating(rateVoltage, rateFrequency, rated.maxVRange, rated.maxIRange);
    calc->distanceKind = BaseModelDataDistance::DistanceType(distanceKind);
    calc->ctPosition = BaseModelDataDistance::CTPositionType(ctPosition);
    calc->ptPosition = BaseModelDataDistance::PTPositionType(ptPosition);
    calc->faultVoltageRange = faultVoltageRange;
    calc->faultCurrentRange = faultCurrentRange;
    calc->loadCurrent = loadCurrent;
    calc->loadAngle = loadAngle;
    calc->shortFactor.dataType = BaseDataRepairFactor::RepairType(repairKind);
    calc->shortFactor.dataFactor1 = repairFactor1;
    calc->shortFactor.dataFactor2 = repairFactor2;
    calc->faultKind = BaseModelDataDistance::FaultType(target->faultKind);
    calc->faultDirection = BaseModelDataDistance::DirectionType(target->faultDirection);
    calc->shortImpedance = BaseDataVector(target->zRange, target->zAngle);
    calc->uxDefine.setValue(uxDefine);

    BaseDataPhaseValue pre[8];
    BaseDataPhaseValue fault[8];
    if (!calc->compute(pre, fault)) {
        showUserMessage(tr("故障无法计算，输出值未改变：请检查短路阻抗和计算模型。"));
        return false;
    }
    target->zReal = calc->shortImpedance.getReal();
    target->zImage = calc->shortImpedance.getImage();
    for (int p = 0; p < 8; ++p) {
        target->outputRanges[p] = fault[p].getRange();
        target->outputAngles[p] = fault[p].getAngle();
        loadRanges[p] = pre[p].getRange();
        loadAngles[p] = pre[p].getAngle();
    }
    return true;
}

bool ViewDistanceModel::recalculateAll()
{
    bool ok = doComputer(tempPoint.get());
    for (int i = 0; i < testPoints.count(); ++i)
        ok = doComputer(point(i)) && ok;
    return ok;
}

template <typename T>
void ViewDistanceModel::editSetting(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    doComputer(tempPoint.get());
}

// ---- Line and fault set-up ------------------------------------------------------------------

void ViewDistanceModel::setDistanceKind(int type)
{
    if (inRange(type, DISTANCE_TYPE_ICONSTANT, DISTANCE_TYPE_ZCONSTANT))
        editSetting(distanceKind, DistanceType(type));
}

int ViewDistanceModel::getDistanceKind() const { return distanceKind; }

void ViewDistanceModel::setCTPosition(int type)
{
    if (inRange(type, CT_POSITION_TYPE_BUS, CT_POSITION_TYPE_LINE))
        editSetting(ctPosition, CTPositionType(type));
}

int ViewDistanceModel::getCTPosition() const { return ctPosition; }

void ViewDistanceModel::setPTPosition(int type)
{
    if (inRange(type, PT_POSITION_TYPE_BUS, PT_POSITION_TYPE_LINE))
        editSetting(ptPosition, PTPositionType(type));
}

int ViewDistanceModel::getPTPosition() const { return ptPosition; }

void ViewDistanceModel::setFaultCurrent(double value) { editSetting(faultCurrentRange, value); }
double ViewDistanceModel::getFaultCurrent() const { return faultCurrentRange; }
void ViewDistanceModel::setFaultVoltage(double value) { editSetting(faultVoltageRange, value); }
double ViewDistanceModel::getFaultVoltage() const { return faultVoltageRange; }
void ViewDistanceModel::setLoadCurrent(double value) { editSetting(loadCurrent, value); }
double ViewDistanceModel::getLoadCurrent() const { return loadCurrent; }
void ViewDistanceModel::setLoadAngle(double value) { editSetting(loadAngle, value); }
double ViewDistanceModel::getLoadAngle() const { return loadAngle; }

// ---- Compensation -----------------------------------------------------------------------------

void ViewDistanceModel::setRepairKind(int type)
{
    if (!inRange(type, REPAIR_TYPE_KL, REPAIR_TYPE_Z0Z1) || type == repairKind)
        return;
    // The model's own factor in its present form, at the angles the
    // calculation of the edit point converts it at (the setting impedance is
    // the fault impedance there); the shared calculator is left alone.
    const BaseModelDataDistance* calc = BaseModelDataDistance::getInstance();
    BaseDataRepairFactor factor;
    factor.dataType = BaseDataRepairFactor::RepairType(repairKind);
    factor.dataFactor1 = repairFactor1;
    factor.dataFactor2 = repairFactor2;
    factor.dataSettingAngle = tempPoint->zAngle;
    factor.dataShortAngle = tempPoint->zAngle;
    factor.dataCalcPerlXexlEnable = calc->calcPerlXexlEnable;
    factor.dataSeparateArcResistance = calc->separateArcResistance;
    factor.updateTo(BaseDataRepairFactor::RepairType(type));

    repairKind = RepairType(type);
    repairFactor1 = factor.dataFactor1;
    repairFactor2 = factor.dataFactor2;
    doComputer(tempPoint.get());
}

int ViewDistanceModel::getRepairKind() const { return repairKind; }

void ViewDistanceModel::setRepairFactor(int index, double factor)
{
    if (index < 1)
        editSetting(repairFactor1, factor);
    else
        editSetting(repairFactor2, factor);
}

double ViewDistanceModel::getRepairFactor(int index) const
{
    return index < 1 ? repairFactor1 : repairFactor2;
}

// ---- Edit point -----------------------------------------------------------------------------------

void ViewDistanceModel::setFaultKind(int kind)
{
    if (inRange(kind, FAULT_TYPE_A_E, FAULT_TYPE_A_B_C))
        editSetting(tempPoint->faultKind, FaultType(kind));
}

void ViewDistanceModel::setFaultDirection(int type)
{
    if (inRange(type, DIRECTION_TYPE_POSITIVE, DIRECTION_TYPE_NEGATIVE))
        editSetting(tempPoint->faultDirection, DirectionType(type));
}

void ViewDistanceModel::setFaultZRange(double value) { editSetting(tempPoint->zRange, value); }
void ViewDistanceModel::setFaultZAngle(double value) { editSetting(tempPoint->zAngle, value); }

void ViewDistanceModel::setFaultZReal(double value)
{
    ViewPointModel& edit = *tempPoint;
    if (value == edit.zReal)
        return;
    // The new R with the edit point's own X.
    const BaseDataVector z(BaseDataComplex(value, edit.zImage));
    edit.zReal = value;
    edit.zRange = z.getRange();
    edit.zAngle = z.getAngle();
    doComputer(tempPoint.get());
}

void ViewDistanceModel::setFaultZImage(double value)
{
    ViewPointModel& edit = *tempPoint;
    if (value == edit.zImage)
        return;
    // The new X with the edit point's own R.
    const BaseDataVector z(BaseDataComplex(edit.zReal, value));
    edit.zImage = value;
    edit.zRange = z.getRange();
    edit.zAngle = z.getAngle();
    doComputer(tempPoint.get());
}

void ViewDistanceModel::setOutputTime(double time)
{
    if (tempPoint->outputTime == time)
        return;
    tempPoint->outputTime = time;
    if (ViewPointModel* selected = point(activePointIndex))
        selected->outputTime = time;
}

// ---- Times ---------------------------------------------------------------------------------------

double ViewDistanceModel::deviationOf(double settingTime) const
{
    const double relative = settingTime * timeErrRel / 100.0;
    return relative > timeErrAbs ? relative : timeErrAbs;
}

double ViewDistanceModel::faultTimeOf(const ViewPointModel& p) const
{
    return std::max(p.outputTime, p.settingTime + p.devTime + getDitherTime());
}

void ViewDistanceModel::setSettingTimes(int index, double time)
{
    ViewPointModel& edit = *tempPoint;
    if (edit.settingTime != time) {
        edit.settingTime = time;
        edit.outputTime = time * outputTimeFactor1 + outputTimeFactor2;
        edit.devTime = deviationOf(time);
    }
    if (ViewPointModel* p = point(index)) {
        p->settingTime = edit.settingTime;
        p->outputTime = edit.outputTime;
        p->devTime = edit.devTime;
    }
}

double ViewDistanceModel::getSettingTimes(int index) const { return pointOrEdit(index)->settingTime; }

void ViewDistanceModel::setDevTimes(int index, double time)
{
    ViewPointModel* p = point(index);
    (p ? p : tempPoint.get())->devTime = time;
}

double ViewDistanceModel::getDevTimes(int index) const { return pointOrEdit(index)->devTime; }

void ViewDistanceModel::setOupputTimeFactor1(double value)
{
    outputTimeFactor1 = value;
    tempPoint->outputTime = tempPoint->settingTime * outputTimeFactor1 + outputTimeFactor2;
    for (int i = 0; i < testPoints.count(); ++i)
        point(i)->outputTime = point(i)->settingTime * outputTimeFactor1 + outputTimeFactor2;
}

double ViewDistanceModel::getOupputTimeFactor1() const { return outputTimeFactor1; }

void ViewDistanceModel::setOupputTimeFactor2(double value)
{
    outputTimeFactor2 = value;
    setOupputTimeFactor1(outputTimeFactor1);
}

double ViewDistanceModel::getOupputTimeFactor2() const { return outputTimeFactor2; }

void ViewDistanceModel::setTimeErrAbs(double value)
{
    timeErrAbs = value;
    tempPoint->devTime = deviationOf(tempPoint->settingTime);
    for (int i = 0; i < testPoints.count(); ++i)
        point(i)->devTime = deviationOf(point(i)->settingTime);
}

double ViewDistanceModel::getTimeErrAbs() const { return timeErrAbs; }

void ViewDistanceModel::setTimeErrRel(double value)
{
    timeErrRel = value;
    setTimeErrAbs(timeErrAbs);
}

double ViewDistanceModel::getTimeErrRel() const { return timeErrRel; }

// ---- Point getters ----------------------------------------------------------------------------------

double ViewDistanceModel::getOutputRange(int index, int port) const
{
    return isPort(port) ? pointOrEdit(index)->outputRanges[port] : 0.0;
}

double ViewDistanceModel::getOutputAngle(int index, int port) const
{
    return isPort(port) ? pointOrEdit(index)->outputAngles[port] : 0.0;
}

double ViewDistanceModel::getOutputFrequency(int index, int port) const
{
    return isPort(port) ? pointOrEdit(index)->outputFrequencies[port] : 0.0;
}

double ViewDistanceModel::getOutputTime(int index) const { return pointOrEdit(index)->outputTime; }
int ViewDistanceModel::getFaultKind(int index) const { return pointOrEdit(index)->faultKind; }
int ViewDistanceModel::getFaultDirection(int index) const { return pointOrEdit(index)->faultDirection; }
double ViewDistanceModel::getFaultZRange(int index) const { return pointOrEdit(index)->zRange; }
double ViewDistanceModel::getFaultZAngle(int index) const { return pointOrEdit(index)->zAngle; }
double ViewDistanceModel::getFaultZReal(int index) const { return pointOrEdit(index)->zReal; }
double ViewDistanceModel::getFaultZImage(int index) const { return pointOrEdit(index)->zImage; }

double ViewDistanceModel::getActionTimes(int index) const { return firstTripTime(pointOrEdit(index)->actionTimes); }
int ViewDistanceModel::getBinaryInputIndex(int index) const { return firstTripInput(pointOrEdit(index)->actionTimes); }

// ---- Progress and verdict -------------------------------------------------------------------------

int ViewDistanceModel::getTestStates(int index) const
{
    if (const ViewPointModel* p = point(index))
        return p->testState;
    return testPoints.traits().badIndexStateIsEdit ? tempPoint->testState : 0;
}

bool ViewDistanceModel::getRelayNotReset(int index) const
{
    const ViewPointModel* p = point(index);
    return p && p->testState == AO_STATE_TYPE_COMPLETED && p->relayNotReset;
}

QString ViewDistanceModel::getTripTimeWord(int index) const
{
    const ViewPointModel* p = point(index);
    return p ? tripTimeWord(p->testState == AO_STATE_TYPE_COMPLETED, p->relayNotReset, getActionTimes(index))
             : QString();
}

void ViewDistanceModel::judge(ViewPointModel* target) const
{
    const double t = firstTripTime(target->actionTimes);
    if (target->testState != AO_STATE_TYPE_COMPLETED) {
        if (std::isnan(t))
            target->testResult = AO_Result_TYPE_NONE;
    } else if (target->relayNotReset || std::isnan(t)) {
        target->testResult = AO_Result_TYPE_FAILED;
    } else {
        target->testResult = ViewVerdict::timeWithin(target->settingTime, target->devTime, t) ? AO_Result_TYPE_SUCCESS
                                                                                              : AO_Result_TYPE_FAILED;
    }
}

int ViewDistanceModel::getTestResults(int index)
{
    ViewPointModel* p = point(index);
    ViewPointModel* target = p ? p : tempPoint.get();
    judge(target);
    return target->testResult;
}

// ---- List ----------------------------------------------------------------------------------------


void ViewDistanceModel::setActiveIndex(int index) { selectEditPoint(index, *tempPoint); }

void ViewDistanceModel::addPoint()
{
    bool any = false;
    for (bool checked : checkedFactors)
        any = any || checked;
    for (int k = 0; k < 4 && !testPoints.isFull(); ++k) {
        if (any && !checkedFactors[k])
            continue;
        auto copy = std::make_unique<ViewPointModel>();
        copy->CopyFrom(*tempPoint);
        if (any)
            copy->zRange *= kFactors[k];
        if (!doComputer(copy.get()))
            continue;
        copy->clearResults();
        copy->testState = AO_STATE_TYPE_INITING;
        copy->testResult = AO_Result_TYPE_NONE;
        copy->devTime = deviationOf(copy->settingTime);
        copy->outputTime = copy->settingTime * outputTimeFactor1 + outputTimeFactor2;
        testPoints.append(std::move(copy));
        if (!any)
            break;
    }
}

void ViewDistanceModel::removePoint(int index)
{
    if (!testPoints.remove(index))
        return;
    updateVMToEnt(DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    updateEntToVM(DATA_TYPE_TEST_OUTPUTDATA, -1, false);
}

void ViewDistanceModel::clearPoint()
{
    testPoints.clear();
    updateVMToEnt(DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    updateEntToVM(DATA_TYPE_TEST_OUTPUTDATA, -1, false);
}

// ---- Impedance factors, UX, inputs and outputs --------------------------------------------------------

void ViewDistanceModel::setFactorChecked(int index, bool checked)
{
    checkedFactors[std::clamp(index, 0, 3)] = checked;
}

bool ViewDistanceModel::getFactorChecked(int index) const
{
    return checkedFactors[std::clamp(index, 0, 3)];
}

void ViewDistanceModel::setUXDefineType(int type)
{
    if (!inRange(type, BaseModelUXDefine::Custom, kLastUXDefine))
        return;
    uxDefine.Define = BaseModelUXDefine::DefineType(type);
    recalculateAll();
}

void ViewDistanceModel::setUXDefineRange(double value)
{
    uxDefine.CustomPhase.setRange(value);
    recalculateAll();
}

void ViewDistanceModel::setUXDefineAngle(double value)
{
    uxDefine.CustomPhase.setAngle(value);
    recalculateAll();
}

int ViewDistanceModel::getUXDefineType() const { return uxDefine.Define; }
double ViewDistanceModel::getUXDefineRange() const { return uxDefine.CustomPhase.getRange(); }
double ViewDistanceModel::getUXDefineAngle() const { return uxDefine.CustomPhase.getAngle(); }

void ViewDistanceModel::setUpdateEnabled(bool enabled) { updateEnabled = enabled; }
bool ViewDistanceModel::getUpdateEnabled() const { return updateEnabled; }

void ViewDistanceModel::updateDeviceConfig()
{
    ViewBaseModel::updateDeviceConfig();
    const double newVoltage = ViewBaseModel::rateVoltage;
    const double newFrequency = ViewBaseModel::rateFrequency;
    if (newVoltage == rateVoltage && newFrequency == rateFrequency)
        return;
    if (newFrequency != rateFrequency) {
        // The calculation writes no frequency: the phasors take the new one here.
        std::fill(std::begin(loadFrequencies), std::end(loadFrequencies), newFrequency);
        std::fill(std::begin(tempPoint->outputFrequencies), std::end(tempPoint->outputFrequencies), newFrequency);
        for (int i = 0; i < testPoints.count(); ++i)
            std::fill(std::begin(point(i)->outputFrequencies), std::end(point(i)->outputFrequencies), newFrequency);
    }
    rateVoltage = newVoltage;
    rateFrequency = newFrequency;
    recalculateAll();
}

// ---- Hooks ---------------------------------------------------------------------------------------------

void ViewDistanceModel::doTestActive()
{
    center()->testActive(TEST_DISTANCE);
    ViewBaseModel::doTestActive();
}

void ViewDistanceModel::pushToEntity()
{
    ModelDistanceEntity* e = distanceEntity();
    const ControllerConfiguration::Ratings rated = center()->testConfiguration->ratings();
    QMutexLocker lock(&e->entityLock);
    const int count = testPoints.runCount();
    e->stateCount = 3 * count;
    for (int i = 0; i < count; ++i) {
        const ViewPointModel* p = point(i);
        const int pre = 3 * i;
        writeStateOutputs(e, pre, loadRanges, loadAngles, loadFrequencies);
        writeStateOutputs(e, pre + 1, p->outputRanges, p->outputAngles, p->outputFrequencies);
        writeStateOutputs(e, pre + 2, intervalOutput.outputRanges, intervalOutput.outputAngles,
                          intervalOutput.outputFrequencies);
        e->stateOutputTimes[pre] = normalTime;
        e->stateOutputTimes[pre + 1] = faultTimeOf(*p);
        e->stateOutputTimes[pre + 2] = intervalTime;
        writeGroupTriggers(e, i, outputBOStates);
    }
    writeTripInputs(e, rated.maxVRange, rated.maxIRange, outputBIStates, outputBILogicType);
}

void ViewDistanceModel::doUpdateVMToEnt(DATAType type, int subType)
{
    updateListEntity(distanceEntity(), type, subType, [this] { pushToEntity(); });
}

void ViewDistanceModel::copyStatesFromEntity()
{
    copyPointStates<ViewPointModel>(distanceEntity());
    copyResetMarks();
}

void ViewDistanceModel::copyResultsFromEntity()
{
    copyPointResults<ViewPointModel>(distanceEntity());
    copyResetMarks();
}

void ViewDistanceModel::copyResetMarks()
{
    const ModelDistanceEntity* e = distanceEntity();
    QMutexLocker lock(&e->entityLock);
    for (int i = 0; i < testPoints.runCount(); ++i)
        point(i)->relayNotReset = e->stateBeganUnreset[testPoints.entityStateOf(i)];
}

void ViewDistanceModel::completeEntityStates(const std::vector<int>& states)
{
    completeStates(distanceEntity(), states);
}

// A point stopped before its window ran out is not judged: its absence of
// trip was not watched for the time the point asks.
void ViewDistanceModel::untestStoppedPoints()
{
    untestStopped(distanceEntity());
}
