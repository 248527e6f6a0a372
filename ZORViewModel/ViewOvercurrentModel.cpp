// ViewOvercurrentModel: characteristics, time windows, test points, run
// hooks and verdict.

#include "ViewOvercurrentModel.h"

#include "BaseDataPhaseValue.h"
#include "BaseModelDataOvercurrent.h"
#include "ControllerCenter.h"
#include "ModelOvercurrentEntity.h"
#include "ViewVerdict.h"

#include <QMutexLocker>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// A window end that expects no trip.
constexpr double kNoTrip = DBL_MAX;
// Counting a series: a quotient this close below a whole number of steps
// (in steps) reaches it.
constexpr double kStepMargin = 1e-9;

bool inRange(int value, int lo, int hi)
{
    return value >= lo && value <= hi;
}

bool isCurve(int index)
{
    return index == ViewOvercurrentModel::FUNCTION_TYPE_50 || index == ViewOvercurrentModel::FUNCTION_TYPE_51;
}

// A time the window may be built from.
bool usable(double t)
{
    return std::isfinite(t) && t != kNoTrip && t < 100000.0;
}

// The rows a family holds, -1 for a family outside the catalogue.
int rowsOf(int family)
{
    if (family == OperatingCurves::CHAR_STAND)
        return BaseOverCurrentHelper::CNT_IEC;
    if (family == OperatingCurves::CHAR_IAC)
        return BaseOverCurrentHelper::CNT_IAC;
    return -1;
}

bool inCatalogue(int family, int row)
{
    return row >= 0 && row < rowsOf(family);
}

ModelOvercurrentEntity* overcurrentEntity()
{
    return ControllerCenter::getInstance()->testTestor->dataOvercurrent;
}

} // namespace

// ---- Point record ---------------------------------------------------------------------

ViewOvercurrentModel::ViewPointModel::ViewPointModel()
    : tMin(kNaN)
    , tMax(kNaN)
    , outputTime(kNaN)
{
    clearResults();
}

std::unique_ptr<ViewOvercurrentModel::ViewPointModel> ViewOvercurrentModel::ViewPointModel::zeroed()
{
    auto p = std::make_unique<ViewPointModel>();
    p->faultKind = FAULT_TYPE_A_E;
    p->functionType = FUNCTION_TYPE_50;
    p->iTest = p->iAngle = p->faultVPNRange = 0.0;
    p->faultVPEnable = false;
    p->tMin = p->tMax = p->settingTime = p->outputTime = 0.0;
    p->testResult = AO_Result_TYPE_NONE;
    p->testState = AO_STATE_TYPE_INITING;
    std::fill(std::begin(p->actionTimes), std::end(p->actionTimes), 0.0);
    std::fill(std::begin(p->actionBIStates), std::end(p->actionBIStates), 0);
    return p;
}

void ViewOvercurrentModel::ViewPointModel::CopyFrom(const ViewPointModel& src)
{
    faultKind = src.faultKind;
    functionType = src.functionType;
    iTest = src.iTest;
    iAngle = src.iAngle;
    faultVPEnable = src.faultVPEnable;
    faultVPNRange = src.faultVPNRange;
    tMin = src.tMin;
    tMax = src.tMax;
    settingTime = src.settingTime;
    outputTime = src.outputTime;
    testResult = src.testResult;
    testState = src.testState;
    std::copy(std::begin(src.actionTimes), std::end(src.actionTimes), actionTimes);
    std::copy(std::begin(src.actionBIStates), std::end(src.actionBIStates), actionBIStates);
    relayNotReset = src.relayNotReset;
}

void ViewOvercurrentModel::ViewPointModel::clearResults()
{
    std::fill(std::begin(actionTimes), std::end(actionTimes), kNaN);
    std::fill(std::begin(actionBIStates), std::end(actionBIStates), -1);
    relayNotReset = false;
}

// ---- Construction -----------------------------------------------------------------------

ViewOvercurrentModel::ViewOvercurrentModel(QObject* parent)
    : ViewTripListModel(ViewPointLists::overcurrent, parent)
    , tempPoint(std::make_unique<ViewPointModel>())
    , curvePoint(ViewPointModel::zeroed())
{
    normalTime = 0.5;
    intervalTime = 0.2;
    normalEnable = true;
    intervalEnable = true;
    outputOnceOnly = false;

    for (int p = 0; p < 8; ++p) {
        outputRanges[p] = p < 3 ? rateVoltage : 0.0;
        outputAngles[p] = (p % 4 == 1) ? 240.0 : (p % 4 == 2 ? 120.0 : 0.0);
        outputFrequencies[p] = rateFrequency;
    }

    for (BaseOverCurrentHelper& curve : overcurrentCurves) {
        curve.setActiveType(OperatingCurves::CHAR_STAND);
        curve.setIPickUp(1.0);
        curve.setTdPickUp(1.0);
    }
    overcurrentCurves[FUNCTION_TYPE_50].setActiveIndex(0);
    overcurrentCurves[FUNCTION_TYPE_51].setActiveIndex(1);
}

ViewOvercurrentModel::~ViewOvercurrentModel() = default;

ViewOvercurrentModel::ViewPointModel* ViewOvercurrentModel::point(int index) const
{
    return static_cast<ViewPointModel*>(testPoints.at(index));
}

const ViewOvercurrentModel::ViewPointModel* ViewOvercurrentModel::pointOrEdit(int index) const
{
    const ViewPointModel* p = point(index);
    return p ? p : tempPoint.get();
}

// ---- Windows -------------------------------------------------------------------------------

double ViewOvercurrentModel::deviationOf(double t) const
{
    const double relative = timeTolrel * std::fabs(t) / 100.0;
    return relative > timeTolabs ? relative : timeTolabs;
}

double ViewOvercurrentModel::getLeftI(double iTest) const
{
    const double r = currentTolrel / 100.0;
    return std::min(iTest / (1.0 + r), std::max(iTest - currentTolabs, 0.0));
}

double ViewOvercurrentModel::getRightI(double iTest) const
{
    const double r = currentTolrel / 100.0;
    return std::max(iTest / (1.0 - r), iTest + currentTolabs);
}

double ViewOvercurrentModel::getCurvePointLeftI(double iTest) const
{
    return std::min((1.0 - currentTolrel / 100.0) * iTest, iTest - currentTolabs);
}

double ViewOvercurrentModel::getCurvePointRightI(double iTest) const
{
    return std::max((1.0 + currentTolrel / 100.0) * iTest, iTest + currentTolabs);
}

double ViewOvercurrentModel::getDevTimeUp(double maxTime) const { return deviationOf(maxTime); }
double ViewOvercurrentModel::getDevTimeDown(double miTime) const { return deviationOf(miTime); }

void ViewOvercurrentModel::ComputerTime(ViewPointModel* target)
{
    BaseOverCurrentHelper& c = overcurrentCurves[isCurve(target->functionType) ? target->functionType : 0];
    const double tSet = c.ComputerTime(target->iTest);
    const double tL = c.ComputerTime(getLeftI(target->iTest));
    const double tR = c.ComputerTime(getRightI(target->iTest));
    target->outputTime = faultMaxTime;
    target->settingTime = tSet > 0.0 ? tSet : kNaN;
    const double devL = deviationOf(tL);
    const double devR = deviationOf(tR);
    if (!usable(tL))
        target->tMax = kNoTrip;
    else if (!usable(devR))
        target->tMax = tSet + devL;
    else
        target->tMax = std::max({tSet + devL, tR + devL, tL + devL});
    if (!usable(tR))
        target->tMin = target->tMax = kNoTrip;
    else if (!usable(devL))
        target->tMin = std::max(tR - devR, 0.0);
    else
        target->tMin = std::max(0.0, std::min(tR - devR, target->tMax - devL));
}

void ViewOvercurrentModel::ComputerTime(int index)
{
    ViewPointModel* p = point(index);
    ComputerTime(p ? p : tempPoint.get());
}

void ViewOvercurrentModel::ComputerTime()
{
    ComputerTime(tempPoint.get());
    for (int i = 0; i < testPoints.runCount(); ++i)
        ComputerTime(point(i));
}

double ViewOvercurrentModel::computerTime(int type, double I, int)
{
    if (!isCurve(type))
        return kNaN;
    curvePoint->iTest = I;
    curvePoint->functionType = FunctionType(type);
    ComputerTime(curvePoint.get());
    return curvePoint->settingTime;
}

double ViewOvercurrentModel::getCurvePointMinTime() const { return curvePoint->tMin; }
double ViewOvercurrentModel::getCurvePointMaxTime() const { return curvePoint->tMax; }

void ViewOvercurrentModel::saveImage(int type, QString imgStr)
{
    if (isCurve(type))
        curveImage[type] = QStringLiteral("data:image/png;base64,") + imgStr;
}

void ViewOvercurrentModel::releaseImage()
{
    curveImage[0].clear();
    curveImage[1].clear();
}

// ---- Characteristics --------------------------------------------------------------------------

void ViewOvercurrentModel::setIPickUp(int index, double value)
{
    if (!isCurve(index) || overcurrentCurves[index].getIPickUp() == value)
        return;
    overcurrentCurves[index].setIPickUp(value);
    ComputerTime();
}

double ViewOvercurrentModel::getIPickUp(int index) const
{
    return isCurve(index) ? overcurrentCurves[index].getIPickUp() : 0.0;
}

void ViewOvercurrentModel::setTdPickUp(int index, double value)
{
    if (!isCurve(index) || overcurrentCurves[index].getTdPickUp() == value)
        return;
    overcurrentCurves[index].setTdPickUp(value);
    ComputerTime();
}

double ViewOvercurrentModel::getTdPickUp(int index) const
{
    return isCurve(index) ? overcurrentCurves[index].getTdPickUp() : 0.0;
}

void ViewOvercurrentModel::setCharType(int type)
{
    if (rowsOf(type) < 0 || getCharType() == type)
        return;
    BaseOverCurrentHelper& c = overcurrentCurves[FUNCTION_TYPE_51];
    c.setActiveType(OperatingCurves::CharacterType(type));
    c.setActiveIndex(type == OperatingCurves::CHAR_STAND ? 1 : 0);
    ComputerTime();
}

int ViewOvercurrentModel::getCharType() const { return overcurrentCurves[FUNCTION_TYPE_51].getActiveType(); }

void ViewOvercurrentModel::setCharIndex(int index)
{
    if (getCharIndex() == index)
        return;
    BaseOverCurrentHelper& c = overcurrentCurves[FUNCTION_TYPE_51];
    const int row = c.getActiveType() == OperatingCurves::CHAR_STAND ? index + 1 : index;
    if (!inCatalogue(c.getActiveType(), row))
        return;
    c.setActiveIndex(row);
    ComputerTime();
}

int ViewOvercurrentModel::getCharIndex() const
{
    const BaseOverCurrentHelper& c = overcurrentCurves[FUNCTION_TYPE_51];
    return c.getActiveType() == OperatingCurves::CHAR_STAND ? c.getActiveIndex() - 1 : c.getActiveIndex();
}

QStringList ViewOvercurrentModel::getCharNames() const { return overcurrentCurves[FUNCTION_TYPE_51].getCharNames(); }

QString ViewOvercurrentModel::getCurrentCharName() const
{
    return overcurrentCurves[isCurve(tempPoint->functionType) ? tempPoint->functionType : 0].getSingleCharNames();
}

void ViewOvercurrentModel::keepInCatalogue(BaseOverCurrentHelper& curve, const BaseOverCurrentHelper& before)
{
    if (!std::isfinite(curve.getIPickUp()))
        curve.setIPickUp(before.getIPickUp());
    if (!std::isfinite(curve.getTdPickUp()))
        curve.setTdPickUp(before.getTdPickUp());
    if (rowsOf(curve.getActiveType()) < 0)
        curve.setActiveType(before.getActiveType());
    if (inCatalogue(curve.getActiveType(), curve.getActiveIndex()))
        return;
    if (inCatalogue(curve.getActiveType(), before.getActiveIndex())) {
        curve.setActiveIndex(before.getActiveIndex());
    } else {
        curve.setActiveType(before.getActiveType());
        curve.setActiveIndex(before.getActiveIndex());
    }
}

// ---- Edit point -------------------------------------------------------------------------------

void ViewOvercurrentModel::setTestCurrent(double current)
{
    if (tempPoint->iTest == current)
        return;
    tempPoint->iTest = current;
    ComputerTime(-1);
}

void ViewOvercurrentModel::setFunction(int kind)
{
    if (!isCurve(kind) || tempPoint->functionType == kind)
        return;
    tempPoint->functionType = FunctionType(kind);
    ComputerTime(-1);
}

void ViewOvercurrentModel::setFaultKind(int kind)
{
    if (inRange(kind, FAULT_TYPE_A_E, FAULT_TYPE_C))
        tempPoint->faultKind = FaultType(kind);
}

void ViewOvercurrentModel::setFaultVPNRange(double range) { tempPoint->faultVPNRange = range; }
double ViewOvercurrentModel::getFaultVPNRange() const { return tempPoint->faultVPNRange; }
void ViewOvercurrentModel::setFaultVPEnable(bool enable) { tempPoint->faultVPEnable = enable; }
bool ViewOvercurrentModel::getFaultVPEnable() const { return tempPoint->faultVPEnable; }
void ViewOvercurrentModel::setTestAngle(double angle) { tempPoint->iAngle = angle; }
double ViewOvercurrentModel::getTestAngle() const { return tempPoint->iAngle; }

// ---- Test-wide settings ------------------------------------------------------------------------

void ViewOvercurrentModel::editTolerance(double& field, double value)
{
    if (field == value)
        return;
    field = value;
    ComputerTime();
}

void ViewOvercurrentModel::setMaxFaultTime(double time) { editTolerance(faultMaxTime, time); }
double ViewOvercurrentModel::getMaxFaultTime() const { return faultMaxTime; }
void ViewOvercurrentModel::setTimeTolRel(double percent) { editTolerance(timeTolrel, percent); }
double ViewOvercurrentModel::getTimeTolRel() const { return timeTolrel; }
void ViewOvercurrentModel::setTimeTolAbs(double percent) { editTolerance(timeTolabs, percent); }
double ViewOvercurrentModel::getTimeTolAbs() const { return timeTolabs; }
void ViewOvercurrentModel::setCurrentTolRel(double percent) { editTolerance(currentTolrel, percent); }
double ViewOvercurrentModel::getCurrentTolRel() const { return currentTolrel; }
void ViewOvercurrentModel::setCurrentTolAbs(double percent) { editTolerance(currentTolabs, percent); }
double ViewOvercurrentModel::getCurrentTolAbs() const { return currentTolabs; }

// ---- Point getters --------------------------------------------------------------------------------

double ViewOvercurrentModel::getTestCurrent(int index) const { return pointOrEdit(index)->iTest; }
int ViewOvercurrentModel::getFunction(int index) const { return pointOrEdit(index)->functionType; }
int ViewOvercurrentModel::getFaultKind(int index) const { return pointOrEdit(index)->faultKind; }
double ViewOvercurrentModel::getSettingTimes(int index) const { return pointOrEdit(index)->settingTime; }
double ViewOvercurrentModel::getMinTimes(int index) const { return pointOrEdit(index)->tMin; }
double ViewOvercurrentModel::getMaxTimes(int index) const { return pointOrEdit(index)->tMax; }

double ViewOvercurrentModel::getActionTimes(int index) const { return firstTripTime(pointOrEdit(index)->actionTimes); }
int ViewOvercurrentModel::getBinaryInputIndex(int index) const { return firstTripInput(pointOrEdit(index)->actionTimes); }

int ViewOvercurrentModel::getTestStates(int index) const { return pointOrEdit(index)->testState; }

bool ViewOvercurrentModel::getRelayNotReset(int index) const
{
    const ViewPointModel* p = point(index);
    return p && p->testState == AO_STATE_TYPE_COMPLETED && p->relayNotReset;
}

QString ViewOvercurrentModel::getTripTimeWord(int index) const
{
    const ViewPointModel* p = point(index);
    return p ? tripTimeWord(p->testState == AO_STATE_TYPE_COMPLETED, p->relayNotReset, getActionTimes(index))
             : QString();
}

double ViewOvercurrentModel::getChartTime(int index)
{
    if (getRelayNotReset(index))
        return kNaN;
    const double t = getTestResults(index) == AO_Result_TYPE_NONE ? getSettingTimes(index) : getActionTimes(index);
    return t > 0.0 ? t : std::numeric_limits<double>::infinity();
}

// ---- Verdict --------------------------------------------------------------------------------------

void ViewOvercurrentModel::doCalculate(int index)
{
    tempPoint->testResult = AO_Result_TYPE_NONE;
    ViewPointModel* p = point(index);
    if (!p)
        return;
    if (p->testState != AO_STATE_TYPE_COMPLETED) {
        p->testResult = AO_Result_TYPE_NONE;
        return;
    }
    const double t = getActionTimes(index);
    // Only a positive time is a trip (NaN, 0 and a negative time are none).
    if (p->relayNotReset)
        p->testResult = AO_Result_TYPE_FAILED;
    else if (t > 0.0)
        p->testResult = ViewVerdict::timeInWindow(p->tMin, p->tMax, t) ? AO_Result_TYPE_SUCCESS : AO_Result_TYPE_FAILED;
    else
        p->testResult = p->tMax == kNoTrip ? AO_Result_TYPE_SUCCESS : AO_Result_TYPE_FAILED;
}

int ViewOvercurrentModel::getTestResults(int index)
{
    doCalculate(index);
    return pointOrEdit(index)->testResult;
}

// ---- List ----------------------------------------------------------------------------------------


void ViewOvercurrentModel::setActiveIndex(int index) { selectEditPoint(index, *tempPoint); }

bool ViewOvercurrentModel::appendEditCopy()
{
    if (testPoints.isFull())
        return false;
    ComputerTime(-1);
    const QString refusal = faultReachRefusal(0, *tempPoint);
    if (!refusal.isEmpty()) {
        showUserMessage(refusal);
        return false;
    }
    auto copy = std::make_unique<ViewPointModel>();
    copy->CopyFrom(*tempPoint);
    copy->testState = AO_STATE_TYPE_INITING;
    copy->testResult = AO_Result_TYPE_NONE;
    copy->clearResults();
    return testPoints.append(std::move(copy));
}

void ViewOvercurrentModel::addPoint()
{
    if (appendEditCopy())
        setActiveIndex(testPoints.count() - 1);
}

void ViewOvercurrentModel::addPoint(double beginVal, double endVal, double stepVal)
{
    const int room = ViewPointList::kMaxPoints - testPoints.count();
    if (room <= 0)
        return;
    double begin = beginVal;
    int n = 1;
    if (beginVal != endVal && stepVal > 0.0) {
        begin = std::min(beginVal, endVal);
        const double steps = (std::max(beginVal, endVal) - begin) / stepVal + kStepMargin;
        // Limited before the conversion: a tiny step gives any size of quotient.
        if (steps >= room)
            n = room;
        else if (steps >= 1.0)
            n = int(steps) + 1;
    }
    n = std::min(n, room);
    for (int k = 0; k < n; ++k) {
        tempPoint->iTest = begin + k * stepVal;
        appendEditCopy();
    }
    setActiveIndex(testPoints.count() - 1);
}

void ViewOvercurrentModel::removePoint()
{
    if (!testPoints.remove(activePointIndex))
        return;
    if (testPoints.count() == 0)
        activePointIndex = 0;
    else
        setActiveIndex(std::min(activePointIndex, testPoints.count() - 1));
}

void ViewOvercurrentModel::clearPoint()
{
    testPoints.clear();
    activePointIndex = 0;
}

// ---- Run -----------------------------------------------------------------------------------------------

BaseModelDataOvercurrent ViewOvercurrentModel::faultOf(int index) const
{
    const ViewPointModel* p = index < 0 ? tempPoint.get() : pointOrEdit(index);
    BaseModelDataOvercurrent calc;
    calc.maxCurrent = center()->testConfiguration->maxIRange;
    calc.rateVoltage = rateVoltage;
    calc.rateFrequency = rateFrequency;
    calc.faultVPEnable = p->faultVPEnable;
    calc.faultVPNRange = p->faultVPNRange;
    calc.faultVPPRange = p->faultVPNRange * std::sqrt(3.0);
    calc.faultAngle = p->iAngle;
    calc.faultCurrent = p->iTest;
    calc.faultKind = BaseModelDataOvercurrent::FaultType(p->faultKind);
    return calc;
}

void ViewOvercurrentModel::ComputerOutput(int index)
{
    BaseDataPhaseValue fault[BaseModelDataOvercurrent::PORT_COUNT];
    faultOf(index).compute(fault);
    for (int c = 0; c < 8; ++c) {
        outputRanges[c] = fault[c].getRange();
        outputAngles[c] = fault[c].getAngle();
        outputFrequencies[c] = fault[c].getFrequency();
    }
}

bool ViewOvercurrentModel::testStart()
{
    if (isTestRunning())
        return false;
    // The outputs would give the device's largest current while the point
    // is judged against its own.
    for (int i = 0; i < testPoints.runCount(); ++i) {
        BaseDataPhaseValue fault[BaseModelDataOvercurrent::PORT_COUNT];
        faultOf(i).computeDemand(fault);
        double ranges[8];
        for (int c = 0; c < 8; ++c)
            ranges[c] = fault[c].getRange();
        QString refusal = outputLimitRefusal(i + 1, ranges);
        if (refusal.isEmpty())
            refusal = faultReachRefusal(i + 1, *point(i));
        if (!refusal.isEmpty()) {
            showUserMessage(refusal);
            return false;
        }
    }
    return ViewPointListModel::testStart();
}

QString ViewOvercurrentModel::faultReachRefusal(int number, const ViewPointModel& p) const
{
    if (!usable(p.tMax))
        return QString();
    const double debounce = getDitherTime();
    const double reach = p.tMax + debounce;
    if (!ViewVerdict::shorter(p.outputTime, reach))
        return QString();
    // Shown to the millisecond above: a fault of the time shown reaches.
    const double needed = double((ViewVerdict::stampsOf(reach) + 999) / 1000) / 1000.0;
    // The fault's time to the stamp where it has finer digits: it reads
    // shorter than the time needed, as it was found.
    const auto seconds = [this](double t) {
        return doubleFormatToString(t, ViewVerdict::decimalsOf(t)) + QStringLiteral("s");
    };
    if (number > 0)
        return tr("第%1点的动作时间范围止于%2，故障须持续%3（含防抖时间%4）才能判断，超过最大故障时间%5：请加长最大故障时间。")
            .arg(number)
            .arg(doubleFormatToString(p.tMax, 3) + QStringLiteral("s"), seconds(needed), seconds(debounce),
                 seconds(p.outputTime));
    return tr("该点的动作时间范围止于%1，故障须持续%2（含防抖时间%3）才能判断，超过最大故障时间%4：请加长最大故障时间。")
        .arg(doubleFormatToString(p.tMax, 3) + QStringLiteral("s"), seconds(needed), seconds(debounce),
             seconds(p.outputTime));
}

void ViewOvercurrentModel::doTestActive()
{
    center()->testActive(TEST_OVERCURRENT);
    ViewBaseModel::doTestActive();
}

void ViewOvercurrentModel::pushToEntity()
{
    ModelOvercurrentEntity* e = overcurrentEntity();
    const ControllerConfiguration* config = center()->testConfiguration;
    QMutexLocker lock(&e->entityLock);
    const int count = testPoints.runCount();
    e->stateCount = 3 * count;
    for (int i = 0; i < count; ++i) {
        const int pre = 3 * i;
        ComputerOutput(i);
        writeStateOutputs(e, pre, normalOutput.outputRanges, normalOutput.outputAngles,
                          normalOutput.outputFrequencies);
        writeStateOutputs(e, pre + 1, outputRanges, outputAngles, outputFrequencies);
        writeStateOutputs(e, pre + 2, intervalOutput.outputRanges, intervalOutput.outputAngles,
                          intervalOutput.outputFrequencies);
        const bool preFault = normalEnable && (!outputOnceOnly || i == 0);
        // Unticked, the interval outputs play until the relay has reset, as
        // long as a fault may last, before every fault but the first.
        const bool awaitReset = !intervalEnable && i + 1 < count;
        e->stateOutputTimes[pre] = preFault ? normalTime : 0.0;
        e->stateOutputTimes[pre + 1] = point(i)->outputTime;
        e->stateOutputTimes[pre + 2] = intervalEnable ? intervalTime : awaitReset ? point(i)->outputTime : 0.0;
        writeGroupTriggers(e, i, outputBOStates);
        if (awaitReset)
            e->stateTriggerTypes[pre + 2] = ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY;
    }
    writeTripInputs(e, config->maxVRange, config->maxIRange, outputBIStates, outputBILogicType);
}

void ViewOvercurrentModel::doUpdateVMToEnt(DATAType type, int subType)
{
    updateListEntity(overcurrentEntity(), type, subType, [this] { pushToEntity(); });
}

void ViewOvercurrentModel::copyStatesFromEntity()
{
    ModelOvercurrentEntity* e = overcurrentEntity();
    QMutexLocker lock(&e->entityLock);
    copyPointStates<ViewPointModel>(e);
    copyResetMarks(*e);
}

void ViewOvercurrentModel::copyResultsFromEntity()
{
    ModelOvercurrentEntity* e = overcurrentEntity();
    QMutexLocker lock(&e->entityLock);
    copyPointResults<ViewPointModel>(e);
    copyResetMarks(*e);
}

void ViewOvercurrentModel::copyResetMarks(const ModelOvercurrentEntity& e)
{
    for (int i = 0; i < testPoints.runCount(); ++i)
        point(i)->relayNotReset = e.stateBeganUnreset[testPoints.entityStateOf(i)];
}

void ViewOvercurrentModel::completeEntityStates(const std::vector<int>& states)
{
    completeStates(overcurrentEntity(), states);
}

// A point stopped before its window ran out is not judged: its absence of
// trip was not watched for the time the point asks.
void ViewOvercurrentModel::untestStoppedPoints()
{
    untestStopped(overcurrentEntity());
}
