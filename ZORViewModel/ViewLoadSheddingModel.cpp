// ViewLoadSheddingModel: the edit point, the list, the texts of the points
// and the hooks into the load-shedding entities.

#include "ViewLoadSheddingModel.h"

#include "ControllerCenter.h"
#include "ModelSlipFrequencyEntity.h"
#include "ModelSlipVoltageEntity.h"

#include <QCoreApplication>
#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <type_traits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool isPort(int port)
{
    return port >= 0 && port < 8;
}

// The slide passes the point's timing value (its ends included).
bool timingReached(const ViewLoadSheddingModel::ViewSheddingPoint& p)
{
    using M = ViewLoadSheddingModel;
    const double begin = p.settings[M::SLIDE_BEGIN];
    const double end = p.settings[M::SLIDE_END];
    const double timing = p.settings[M::SLIDE_TIMING];
    return std::min(begin, end) <= timing && timing <= std::max(begin, end);
}

// The slide's start, stop and timing value of each entity.
double* slideStarts(ModelSlipFrequencyEntity& e) { return e.initFrequencyVal; }
double* slideStops(ModelSlipFrequencyEntity& e) { return e.finalFrequencyVal; }
double* timingValues(ModelSlipFrequencyEntity& e) { return e.clkFrequencyVal; }
double* slideStarts(ModelSlipVoltageEntity& e) { return e.initVoltageVal; }
double* slideStops(ModelSlipVoltageEntity& e) { return e.finalVoltageVal; }
double* timingValues(ModelSlipVoltageEntity& e) { return e.clkVoltageVal; }

// Runs fn on the entity of the module's test type.
template <typename Fn>
void withEntity(ViewBaseModel::TESTType type, Fn fn)
{
    ControllerTestor* testor = ControllerCenter::getInstance()->testTestor;
    if (type == ViewBaseModel::TEST_SLIP_FREQUENCY)
        fn(*testor->dataSlipFrequency);
    else
        fn(*testor->dataSlipVoltage);
}

// One entity column of an item: a setting, 0, or nothing written.
void put(double& field, int column, const ViewLoadSheddingModel::ViewSheddingPoint& p)
{
    if (column == ViewLoadSheddingModel::kZero)
        field = 0.0;
    else if (column >= 0)
        field = p.settings[column];
}

} // namespace

// ---- Point record ---------------------------------------------------------------------

ViewLoadSheddingModel::ViewSheddingPoint::ViewSheddingPoint(const Layout& owner)
    : layout(owner)
{
}

void ViewLoadSheddingModel::ViewSheddingPoint::CopyFrom(const ViewSheddingPoint& src)
{
    testItemType = src.testItemType;
    std::copy(std::begin(src.settings), std::end(src.settings), settings);
    if (layout.copiesAngles)
        std::copy(std::begin(src.outputAngles), std::end(src.outputAngles), outputAngles);
}

// ---- Construction -----------------------------------------------------------------------

ViewLoadSheddingModel::ViewLoadSheddingModel(const Layout& owner, QObject* parent)
    : ViewPointListModel(owner.list, parent)
    , layout(owner)
    , tempPoint(std::make_unique<ViewSheddingPoint>(owner))
{
    const double angles[8] = {0.0, 240.0, 120.0, 0.0, 0.0, 240.0, 120.0, 0.0};
    std::copy(std::begin(angles), std::end(angles), tempPoint->outputAngles);
}

ViewLoadSheddingModel::~ViewLoadSheddingModel() = default;

ViewLoadSheddingModel::ViewSheddingPoint* ViewLoadSheddingModel::point(int index) const
{
    return static_cast<ViewSheddingPoint*>(testPoints.at(index));
}

const ViewLoadSheddingModel::ViewSheddingPoint* ViewLoadSheddingModel::pointOrEdit(int index) const
{
    const ViewSheddingPoint* p = point(index);
    return p ? p : tempPoint.get();
}

int ViewLoadSheddingModel::entityCount() const
{
    return std::min(testPoints.count(), layout.maxPoints);
}

bool ViewLoadSheddingModel::validItem(int item) const
{
    return item >= 0 && item < layout.itemCount;
}

QString ViewLoadSheddingModel::itemText(const char* source) const
{
    return QCoreApplication::translate(metaObject()->className(), source);
}

// ---- Edit point -----------------------------------------------------------------------------

void ViewLoadSheddingModel::setSetting(int index, double value)
{
    if (tempPoint->settings[index] != value)
        tempPoint->settings[index] = value;
}

void ViewLoadSheddingModel::setActiveTestItem(int item)
{
    if (validItem(item))
        tempPoint->testItemType = item;
}

int ViewLoadSheddingModel::getActiveTestItem() const { return tempPoint->testItemType; }
void ViewLoadSheddingModel::setSlipBegin(double value) { setSetting(layout.slipBegin, value); }
double ViewLoadSheddingModel::getSlipBegin() const { return setting(layout.slipBegin); }
void ViewLoadSheddingModel::setSlipEnd(double value) { setSetting(layout.slipBegin + 1, value); }
double ViewLoadSheddingModel::getSlipEnd() const { return setting(layout.slipBegin + 1); }
void ViewLoadSheddingModel::setSlipStep(double value) { setSetting(layout.slipBegin + 2, value); }
double ViewLoadSheddingModel::getSlipStep() const { return setting(layout.slipBegin + 2); }
void ViewLoadSheddingModel::setCurrentBegin(double value) { setSetting(layout.currentBegin, value); }
double ViewLoadSheddingModel::getCurrentBegin() const { return setting(layout.currentBegin); }
void ViewLoadSheddingModel::setCurrentEnd(double value) { setSetting(layout.currentBegin + 1, value); }
double ViewLoadSheddingModel::getCurrentEnd() const { return setting(layout.currentBegin + 1); }
void ViewLoadSheddingModel::setCurrentStep(double value) { setSetting(layout.currentBegin + 2, value); }
double ViewLoadSheddingModel::getCurrentStep() const { return setting(layout.currentBegin + 2); }
void ViewLoadSheddingModel::setVoltageBegin(double value) { setSetting(layout.voltageBegin, value); }
double ViewLoadSheddingModel::getVoltageBegin() const { return setting(layout.voltageBegin); }
void ViewLoadSheddingModel::setVoltageEnd(double value) { setSetting(layout.voltageBegin + 1, value); }
double ViewLoadSheddingModel::getVoltageEnd() const { return setting(layout.voltageBegin + 1); }
void ViewLoadSheddingModel::setVoltageStep(double value) { setSetting(layout.voltageBegin + 2, value); }
double ViewLoadSheddingModel::getVoltageStep() const { return setting(layout.voltageBegin + 2); }

// ---- Times ------------------------------------------------------------------------------------

void ViewLoadSheddingModel::setPreFaultTime(double time) { preFaultTime = time; }
double ViewLoadSheddingModel::getPreFaultTime() const { return preFaultTime; }
void ViewLoadSheddingModel::setHoldTime(double time) { holdTime = time; }
double ViewLoadSheddingModel::getHoldTime() const { return holdTime; }
void ViewLoadSheddingModel::setAfterFaultTime(double time) { afterFaultTime = time; }
double ViewLoadSheddingModel::getAfterFaultTime() const { return afterFaultTime; }

// ---- List ---------------------------------------------------------------------------------------

void ViewLoadSheddingModel::setActiveIndex(int index) { selectEditPoint(index, *tempPoint); }

void ViewLoadSheddingModel::addPoint()
{
    if (testPoints.count() >= layout.maxPoints)
        return;
    const QString refusal = timingRefusal(0, *tempPoint);
    if (!refusal.isEmpty()) {
        showUserMessage(refusal);
        return;
    }
    auto copy = std::make_unique<ViewSheddingPoint>(layout);
    copy->CopyFrom(*tempPoint);
    testPoints.append(std::move(copy));
    setActiveIndex(testPoints.count() - 1);
}

void ViewLoadSheddingModel::removePoint(int index)
{
    if (!testPoints.remove(index))
        return;
    if (testPoints.count() <= index)
        setActiveIndex(index - 1);
    updateVMToEnt(DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    updateEntToVM(DATA_TYPE_TEST_OUTPUTDATA, -1, false);
}

void ViewLoadSheddingModel::clearPoint()
{
    testPoints.clear();
    setActiveIndex(-1);
    updateVMToEnt(DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    updateEntToVM(DATA_TYPE_TEST_OUTPUTDATA, -1, false);
}

// ---- Points ---------------------------------------------------------------------------------------

int ViewLoadSheddingModel::getTestStates(int index) const { return pointOrEdit(index)->testState; }

QString ViewLoadSheddingModel::getTestItemName(int index) const
{
    const ViewSheddingPoint* p = point(index);
    return p && validItem(p->testItemType) ? itemText(layout.items[p->testItemType].name) : QString();
}

QString ViewLoadSheddingModel::getActionValueStr(int index) const
{
    const ViewSheddingPoint* p = point(index);
    if (!p || !validItem(p->testItemType))
        return QString();
    const char* unit = layout.items[p->testItemType].unit;
    if (!unit)
        return QStringLiteral("---");
    // A search that ran to its end without a trip holds no value.
    if (!std::isfinite(p->actionValue))
        return tr("未动作");
    return QString::number(p->actionValue, 'f', 3) + QLatin1String(unit);
}

double ViewLoadSheddingModel::operateTime(int index) const
{
    const ViewSheddingPoint* p = point(index);
    if (!p || p->testItemType != kItemActionTime)
        return kNaN;
    const double begin = p->settings[SLIDE_BEGIN];
    const double timing = p->settings[SLIDE_TIMING];
    const double rate = p->settings[SLIDE_RATE];
    if (!timingReached(*p))
        return kNaN;
    // The rate as set, sign included.
    const double offset = std::fabs(rate) > 0.0001 ? std::fabs(begin - timing) / rate : 0.0;
    // The instrument steps its ramp by the tick of its synthesiser: a relay
    // without delay acts at the step that reaches the timing value, which
    // may lie up to a tick before the time the rate gives.
    const quint32 tickRate = center()->testConfiguration->periodFrequency;
    const double tick = tickRate > 0 ? 1.0 / tickRate : 0.0;
    if (!(p->actionTime >= 0.0))
        return kNaN;
    const double t = p->actionTime - offset;
    return t >= -tick ? std::max(t, 0.0) : t;
}

QString ViewLoadSheddingModel::timingRefusal(int number, const ViewSheddingPoint& p) const
{
    if (p.testItemType != kItemActionTime || timingReached(p))
        return QString();
    // In the unit of the slid quantity, as the trip value item shows it.
    const QString unit = QLatin1String(layout.items[0].unit);
    const auto value = [&](int s) { return doubleFormatToString(p.settings[s], 3) + unit; };
    const QString label = listFieldLabel(QLatin1String(layout.keys[SLIDE_TIMING]));
    if (number > 0)
        return tr("第%1点：%2 %3不在变化范围%4至%5之内，无从计算动作时间：请设置变化范围内的值。")
            .arg(number)
            .arg(label, value(SLIDE_TIMING), value(SLIDE_BEGIN), value(SLIDE_END));
    return tr("该点：%1 %2不在变化范围%3至%4之内，无从计算动作时间：请设置变化范围内的值。")
        .arg(label, value(SLIDE_TIMING), value(SLIDE_BEGIN), value(SLIDE_END));
}

bool ViewLoadSheddingModel::testStart()
{
    if (isTestRunning())
        return false;
    for (int i = 0; i < testPoints.runCount(); ++i) {
        const QString refusal = timingRefusal(i + 1, *point(i));
        if (!refusal.isEmpty()) {
            showUserMessage(refusal);
            return false;
        }
    }
    return ViewPointListModel::testStart();
}

QString ViewLoadSheddingModel::durationText(double seconds) const
{
    if (seconds < 1.0)
        return doubleFormatToString(seconds * 1000.0, 3) + QStringLiteral("ms");
    return doubleFormatToString(seconds, 3) + QStringLiteral("s");
}

QString ViewLoadSheddingModel::getActionTimeStr(int index) const
{
    const ViewSheddingPoint* p = point(index);
    if (!p)
        return QString();
    if (p->testItemType != kItemActionTime)
        return QStringLiteral("---");
    const double t = operateTime(index);
    if (std::isnan(t))
        return tr("未动作");
    if (t < 0.0)
        return tr("失败：提前%1").arg(durationText(-t));
    return durationText(t);
}

double ViewLoadSheddingModel::getActionTime(int index) const
{
    const ViewSheddingPoint* p = point(index);
    return p ? p->actionTime : -1.0;
}

bool ViewLoadSheddingModel::getRelayNotReset(int index) const
{
    const ViewSheddingPoint* p = point(index);
    return p && p->testState == AO_STATE_TYPE_COMPLETED && p->relayNotReset;
}

int ViewLoadSheddingModel::getPointsIndexOfState(int stateId) const
{
    int found = 0;
    withEntity(layout.list.testType, [&](auto& e) {
        QMutexLocker lock(&e.entityLock);
        for (int p = 0; p < layout.maxPoints; ++p) {
            if (e.maxStateIndex[p] >= stateId) {
                found = p;
                return;
            }
        }
    });
    return found;
}

double ViewLoadSheddingModel::getOutputRange(int port) const
{
    if (!isPort(port) || port == AO_PORT_TYPE_UX)
        return 0.0;
    const ViewSheddingPoint& edit = *tempPoint;
    if (port < AO_PORT_TYPE_UX) {
        const bool shown = layout.voltageItem < 0 || edit.testItemType == layout.voltageItem;
        return shown ? edit.settings[layout.voltageBegin] : rateVoltage;   // the rating held to the device
    }
    return edit.testItemType == kItemLowCurrent ? edit.settings[layout.currentBegin] : 0.0;
}

double ViewLoadSheddingModel::getOutputAngle(int port) const
{
    return isPort(port) ? tempPoint->outputAngles[port] : 0.0;
}

// ---- Hooks ------------------------------------------------------------------------------------------

void ViewLoadSheddingModel::doTestActive()
{
    center()->testActive(layout.list.testType);
    ViewBaseModel::doTestActive();
}

void ViewLoadSheddingModel::pushToEntity()
{
    withEntity(layout.list.testType, [this](auto& e) {
        using Entity = std::decay_t<decltype(e)>;
        QMutexLocker lock(&e.entityLock);
        const int count = entityCount();
        e.pointCnt = count;
        e.normalTime = preFaultTime;
        e.holdTime = holdTime;
        e.intervalTime = afterFaultTime;
        e.maxVoltage = getDeviceAOVMaxRange();
        e.maxCurrent = getDeviceAOIMaxRange();
        e.rateCurrent = rateCurrent;
        for (int c = 0; c < 8; ++c) {
            e.normalOutputRanges[c] = normalOutput.outputRanges[c];
            e.normalOutputAngles[c] = normalOutput.outputAngles[c];
            e.normalOutputFrequencies[c] = normalOutput.outputFrequencies[c];
        }
        for (int i = 0; i < count; ++i) {
            const ViewSheddingPoint& p = *point(i);
            if (!validItem(p.testItemType))
                continue;
            e.testItemType[i] = typename Entity::TestItemType(p.testItemType);
            const Item& item = layout.items[p.testItemType];
            put(e.rampBeginValues[i], item.rampBegin, p);
            put(e.rampEndValues[i], item.rampEnd, p);
            put(e.rampStepValues[i], item.rampStep, p);
            put(e.slipValue[i], item.slip, p);
            put(slideStarts(e)[i], item.slideStart, p);
            put(slideStops(e)[i], item.slideStop, p);
            put(timingValues(e)[i], item.timing, p);
        }
        for (int c = 0; c < 8; ++c) {
            e.intervalOutputRanges[c] = intervalOutput.outputRanges[c];
            e.intervalOutputAngles[c] = intervalOutput.outputAngles[c];
            e.intervalOutputFrequencies[c] = intervalOutput.outputFrequencies[c];
        }
    });
}

void ViewLoadSheddingModel::doUpdateVMToEnt(DATAType type, int subType)
{
    withEntity(layout.list.testType,
               [&](auto& e) { updateListEntity(&e, type, subType, [this] { pushToEntity(); }); });
}

void ViewLoadSheddingModel::copyStatesFromEntity()
{
    withEntity(layout.list.testType, [this](auto& e) { copyPointStates<ViewSheddingPoint>(&e, layout.maxPoints); });
    copyResetMarks();
}

void ViewLoadSheddingModel::copyResetMarks()
{
    withEntity(layout.list.testType, [this](auto& e) {
        QMutexLocker lock(&e.entityLock);
        for (int i = 0; i < entityCount(); ++i)
            point(i)->relayNotReset = e.pointBeganUnreset[i];
    });
}

void ViewLoadSheddingModel::copyResultsFromEntity()
{
    withEntity(layout.list.testType, [this](auto& e) {
        QMutexLocker lock(&e.entityLock);
        for (int i = 0; i < entityCount(); ++i) {
            point(i)->actionTime = e.stateActionTimes[i];
            point(i)->actionValue = e.stateActionValue[i];
        }
    });
    copyResetMarks();
}

void ViewLoadSheddingModel::completeEntityStates(const std::vector<int>& states)
{
    withEntity(layout.list.testType, [this, &states](auto& e) { completeStates(&e, states, layout.maxPoints); });
}

// A point stopped before its search ran out (the fault of its last step
// played to its end), with no trip, has not been tested: it reads neither a
// value nor "No Action".
void ViewLoadSheddingModel::untestStoppedPoints()
{
    withEntity(layout.list.testType, [this](auto& e) {
        const auto untested = [&e](int p) {
            return !ViewPointListDetail::tripRecorded(e.stateActionTimes[p]) && !e.searchRanOut(p);
        };
        untestStoppedIf(&e, untested, layout.maxPoints);
    });
}
