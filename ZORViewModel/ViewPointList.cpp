// ViewPointList: the test-point list of the protection-test models.

#include "ViewPointList.h"

#include "BaseXmlUtilities.h"
#include "ControllerCenter.h"
#include "ViewParameterSetting.h"

#include <cmath>
#include <limits>

namespace {

using VB = ViewBaseModel;
using ViewPointLists::typeBit;

constexpr quint32 kStates678 =
    typeBit(VB::DATA_TYPE_TEST_OUTPUTVI) | typeBit(VB::DATA_TYPE_TEST_OUTPUTPQ) | typeBit(VB::DATA_TYPE_TEST_OUTPUTDATA);

QString pointKey(int index)
{
    return QStringLiteral("point") + QString::number(index);
}

} // namespace

ViewPointRecord::~ViewPointRecord() = default;

namespace ViewPointLists {

const ViewPointListTraits distance = {
    VB::TEST_DISTANCE, 3, kStates678, false, false, ViewPointListTraits::BAD_SELECT_NOTHING, false, false,
    ViewPointListTraits::REMOVE_BY_INDEX, true, true,
};
const ViewPointListTraits overcurrent = {
    VB::TEST_OVERCURRENT, 3,
    typeBit(VB::DATA_TYPE_RT_STATE) | typeBit(VB::DATA_TYPE_TEST_OUTPUTVI) | typeBit(VB::DATA_TYPE_TEST_OUTPUTDATA),
    true, true, ViewPointListTraits::BAD_SELECT_FIRST, true, true, ViewPointListTraits::REMOVE_SELECTED, false, true,
};
const ViewPointListTraits energy = {
    VB::TEST_ENERGY, 1, typeBit(VB::DATA_TYPE_RT_STATE) | kStates678, false, true,
    ViewPointListTraits::BAD_SELECT_NONE, false, false, ViewPointListTraits::REMOVE_BY_INDEX, true, true,
};
const ViewPointListTraits slipFrequency = {
    VB::TEST_SLIP_FREQUENCY, 1, typeBit(VB::DATA_TYPE_RT_STATE) | kStates678, false, true,
    ViewPointListTraits::BAD_SELECT_NONE, false, true, ViewPointListTraits::REMOVE_BY_INDEX, true, false,
};
const ViewPointListTraits slipVoltage = {
    VB::TEST_SLIP_VOLTAGE, 1,
    typeBit(VB::DATA_TYPE_RT_STATE) | typeBit(VB::DATA_TYPE_TEST_OUTPUTVI) | typeBit(VB::DATA_TYPE_TEST_OUTPUTDATA),
    false, true, ViewPointListTraits::BAD_SELECT_NONE, false, true, ViewPointListTraits::REMOVE_BY_INDEX, true, false,
};

} // namespace ViewPointLists

ViewPointList::ViewPointList(const ViewPointListTraits& traits)
    : rules(traits)
{
}

ViewPointRecord* ViewPointList::at(int index) const
{
    return contains(index) ? records[size_t(index)].get() : nullptr;
}

bool ViewPointList::append(std::unique_ptr<ViewPointRecord> record)
{
    if (!record || isFull())
        return false;
    records.push_back(std::move(record));
    followsEntity = false;
    return true;
}

bool ViewPointList::remove(int index)
{
    if (!contains(index))
        return false;
    records.erase(records.begin() + index);
    followsEntity = false;
    return true;
}

void ViewPointList::clear()
{
    records.clear();
    followsEntity = false;
}

int ViewPointList::activeIndex(int active) const
{
    if (rules.activeAsStored || contains(active))
        return active;
    return records.empty() ? -1 : 0;
}

int ViewPointList::pointOfStateIndex(int stateIndex) const
{
    const int point = stateIndex < 0 ? -1 : stateIndex / rules.statesPerPoint;
    return contains(point) ? point : 0;
}

int ViewPointList::entityStateOf(int index) const
{
    return rules.statesPerPoint == 3 ? 3 * index + 1 : index;
}

void ViewPointList::runStarted()
{
    for (int i = 0; i < runCount(); ++i)
        records[size_t(i)]->testState = VB::AO_STATE_TYPE_INITING;
    followsEntity = true;
}

void ViewPointList::clearResults()
{
    for (const auto& record : records) {
        record->testState = VB::AO_STATE_TYPE_INITING;
        record->clearResults();
    }
}

bool ViewPointList::copiesStates(ViewBaseModel::DATAType type, int subType) const
{
    if (!followsEntity || type < 0 || type > 31 || !(rules.stateTypes & (1u << int(type))))
        return false;
    return !(rules.statesOnIndexOnly && type == VB::DATA_TYPE_RT_STATE && subType != VB::STATE_TYPE_STATEINDEX);
}

bool ViewPointList::copiesResults(ViewBaseModel::DATAType type) const
{
    return followsEntity && type == VB::DATA_TYPE_TEST_ACTIONDATA;
}

std::vector<int> ViewPointList::closeRunning()
{
    std::vector<int> closed;
    for (int i = 0; i < runCount(); ++i) {
        if (records[size_t(i)]->testState == VB::AO_STATE_TYPE_RUNNNING) {
            records[size_t(i)]->testState = VB::AO_STATE_TYPE_COMPLETED;
            closed.push_back(i);
        }
    }
    return closed;
}

int ViewPointList::serialize(bool save, QDomElement* parent, QDomDocument* doc, const Factory& make)
{
    if (save) {
        qint32 n = count();
        BaseXmlUtilities::map(true, parent, doc, QStringLiteral("pointCount"), n, n);
        for (int i = 0; i < n; ++i) {
            QDomElement element;
            BaseXmlUtilities::getElement(&element, parent, doc, pointKey(i), true);
            records[size_t(i)]->serialize(true, &element, doc);
        }
        // A longer list saved before leaves points the count no longer names.
        for (int i = n;; ++i) {
            QDomElement stale = parent->firstChildElement(pointKey(i));
            if (stale.isNull())
                break;
            while (!stale.isNull()) {
                QDomElement next = stale.nextSiblingElement(pointKey(i));
                parent->removeChild(stale);
                stale = next;
            }
        }
        return n;
    }

    clear();
    // As many as the file holds ("pointCount" only says so), more refuse it.
    const int stored = ParameterRead::countEntries(parent, QStringLiteral("point"), kMaxPoints);
    for (int i = 0; i < stored; ++i) {
        QDomElement element;
        BaseXmlUtilities::getElement(&element, parent, doc, pointKey(i), false);
        std::unique_ptr<ViewPointRecord> record = make();
        record->serialize(false, &element, doc);
        // Stored while it ran (the page saves when it is left): the stop that
        // followed left it completed.
        if (record->testState == VB::AO_STATE_TYPE_RUNNNING)
            record->testState = VB::AO_STATE_TYPE_COMPLETED;
        records.push_back(std::move(record));
    }
    followsEntity = false;
    return count();
}

// ---- ViewPointListModel ----------------------------------------------------------------------

ViewPointListModel::ViewPointListModel(const ViewPointListTraits& traits, QObject* parent)
    : ViewBaseModel(parent)
    , testPoints(traits)
{
}

ViewPointListModel::~ViewPointListModel() = default;

bool ViewPointListModel::testStart()
{
    if (isTestRunning() || testPoints.count() == 0 || !instrumentReadyToStart())
        return false;
    // Until the run reports, the entity's marks are the previous run's, or
    // those of a start the engine refuses.
    testPoints.closeWindow();
    if (!startFromPage())
        return false;
    // The engine settles its amplifiers before it reports the run: the list
    // shows the new run from now on.
    testPoints.clearResults();
    emit sigUpdateDataToView(DATA_TYPE_TEST_ACTIONDATA, -1);
    return true;
}

bool ViewPointListModel::getStartEnabled() const
{
    return !isTestRunning() && testPoints.count() > 0 && getRunEnabled();
}

int ViewPointListModel::getPointsCount() const { return testPoints.count(); }
int ViewPointListModel::getActiveIndex() const { return testPoints.activeIndex(activePointIndex); }

QString ViewPointListModel::outputLimitRefusal(int number, const double (&ranges)[8]) const
{
    // Amplitudes are computed from values of a few decimals: a last-bit
    // excess of the limit is none.
    constexpr double kLimitMargin = 1e-9;
    for (int c = 0; c < 8; ++c) {
        const bool voltage = c < AO_PORT_TYPE_IA;
        const double limit = voltage ? getDeviceAOVMaxRange() : getDeviceAOIMaxRange();
        const double value = std::fabs(ranges[c]);
        if (!(value > limit * (1.0 + kLimitMargin)))
            continue;
        const QString unit = voltage ? QStringLiteral("V") : QStringLiteral("A");
        const QString asked = doubleFormatToString(value, 3) + unit;
        const QString most = doubleFormatToString(limit, 3) + unit;
        if (number > 0)
            return (voltage ? tr("第%1点的电压%2超过装置的最大电压%3。") : tr("第%1点的电流%2超过装置的最大电流%3。"))
                .arg(number)
                .arg(asked, most);
        return (voltage ? tr("该点的电压%1超过装置的最大电压%2。") : tr("该点的电流%1超过装置的最大电流%2。"))
            .arg(asked, most);
    }
    return QString();
}

double ViewPointListModel::firstTripTime(const double (&actionTimes)[4])
{
    const int input = firstTripInput(actionTimes);
    return input > 0 ? actionTimes[input - 1] : std::numeric_limits<double>::quiet_NaN();
}

int ViewPointListModel::firstTripInput(const double (&actionTimes)[4])
{
    for (int k = 0; k < 4; ++k) {
        if (!std::isnan(actionTimes[k]))
            return k + 1;
    }
    return -1;
}

bool ViewPointListModel::ownEngineType() const
{
    return int(center()->testTestor->testType.load()) == int(testPoints.traits().testType);
}

void ViewPointListModel::doUpdateEntToVM(DATAType type, int subType)
{
    if (ownEngineType() && !othersRun()) {
        if (testPoints.copiesStates(type, subType))
            copyStatesFromEntity();
        else if (testPoints.copiesResults(type))
            copyResultsFromEntity();
    }
    ViewBaseModel::doUpdateEntToVM(type, subType);
}

void ViewPointListModel::doSwitchToStartState()
{
    if (getTestActiveType() != testPoints.traits().testType)
        return;
    activePointIndex = 0;
    testPoints.runStarted();
    emit sigUpdateDataToView(DATA_TYPE_TEST_ACTIONDATA, -1);
}

void ViewPointListModel::doSwitchToStopState()
{
    if (getTestActiveType() != testPoints.traits().testType)
        return;
    untestStoppedPoints();
    std::vector<int> states = testPoints.closeRunning();
    if (!states.empty()) {
        for (int& s : states)
            s = testPoints.entityStateOf(s);
        completeEntityStates(states);
    }
    emit sigUpdateDataToView(DATA_TYPE_TEST_OUTPUTDATA, -1);
}
