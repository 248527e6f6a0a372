#pragma once

// The test-point list of the protection-test models (distance, overcurrent,
// energy meter, under-frequency and under-voltage load shedding). Each model
// derives from ViewPointListModel, which holds one ViewPointList as its
// `testPoints` and the selection `activePointIndex`; the model keeps its own
// edit point (`tempPoint`). The list keeps what every model does alike, and
// the model's row of ViewPointListTraits says where they differ.
//
//  - at most kMaxPoints records, owned, in run order; a record knows its
//    progress (testState) and writes and reads itself in the parameter file;
//  - the index rules: the selection a page shows, the point a running state
//    index selects, the entity state whose progress and trip a point takes;
//  - when the entity's marks belong to the list: from the start hook of a run
//    until the list next changes (add, remove, clear, load). Outside that
//    window the entity may hold the marks of another list, or those a refused
//    start left, and the points keep their own;
//  - the list in the parameter file: "pointCount" and "point" + i, as many
//    as the file holds up to kMaxPoints, a point stored while it ran read
//    back as completed;
//  - the start from the page and the run hooks (ViewPointListModel, the
//    base of the list models): the page's exit and the message of a refused
//    start as on the source-test pages; progress copied and completed.
//
// GUI thread only.

#include "ViewBaseModel.h"

#include <QDomDocument>
#include <QDomElement>
#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <memory>
#include <vector>

// One test point of a list. The module's record adds its settings and results.
class ViewPointRecord
{
public:
    virtual ~ViewPointRecord();
    // save: writes the record under element; else reads it, each missing
    // value keeping the current one.
    virtual void serialize(bool save, QDomElement* element, QDomDocument* doc) = 0;
    // Nothing of a run measured (trip times, inputs, counts).
    virtual void clearResults() {}

    // ViewBaseModel::AOTestStateType.
    qint32 testState = ViewBaseModel::AO_STATE_TYPE_INITING;
};

// Where the models of the list differ: one row per model.
struct ViewPointListTraits
{
    enum BadSelect {
        BAD_SELECT_NOTHING,     // setActiveIndex with a bad index does nothing
        BAD_SELECT_FIRST,       // selects point 0
        BAD_SELECT_NONE,        // activePointIndex := -1
    };
    enum Removal {
        REMOVE_BY_INDEX,        // removePoint(index)
        REMOVE_SELECTED,        // removePoint() takes the selected point
    };

    ViewBaseModel::TESTType testType;
    // Entity states per point; the point's judged state is the middle one.
    int statesPerPoint;
    // DATATypes (bit per type) on which the states are copied from the
    // entity; with statesOnIndexOnly, type 3 copies only with sub-type 9.
    quint32 stateTypes;
    bool statesOnIndexOnly;
    // getTestStates of a bad index: the edit point's, else 0.
    bool badIndexStateIsEdit;
    BadSelect badSelect;
    // getActiveIndex returns activePointIndex as stored.
    bool activeAsStored;
    bool addSelectsNew;
    Removal removal;
    // removePoint and clearPoint push the list into the entity.
    bool pushOnRemove;
    bool judges;
};

namespace ViewPointLists {
constexpr quint32 typeBit(ViewBaseModel::DATAType type)
{
    return 1u << int(type);
}
extern const ViewPointListTraits distance;
extern const ViewPointListTraits overcurrent;
extern const ViewPointListTraits energy;
extern const ViewPointListTraits slipFrequency;
extern const ViewPointListTraits slipVoltage;
} // namespace ViewPointLists

class ViewPointList
{
public:
    static constexpr int kMaxPoints = 32;
    using Factory = std::function<std::unique_ptr<ViewPointRecord>()>;

    explicit ViewPointList(const ViewPointListTraits& traits);
    ViewPointList(const ViewPointList&) = delete;
    ViewPointList& operator=(const ViewPointList&) = delete;

    const ViewPointListTraits& traits() const { return rules; }

    int count() const { return int(records.size()); }
    bool isFull() const { return count() >= kMaxPoints; }
    bool contains(int index) const { return index >= 0 && index < count(); }
    // The record at index, null outside the list.
    ViewPointRecord* at(int index) const;

    // Appends (nothing when full); removes one; empties. Each closes the
    // window of the entity's marks.
    bool append(std::unique_ptr<ViewPointRecord> record);
    bool remove(int index);
    void clear();

    // getActiveIndex: `active` as stored, or when it lies in the list, else
    // -1 for an empty list and 0 otherwise (as the traits say).
    int activeIndex(int active) const;
    // The point a page selects for a running state index (0 outside the list).
    int pointOfStateIndex(int stateIndex) const;
    // The entity state whose progress and trip point index takes.
    int entityStateOf(int index) const;
    // Points that take part in a run: the first kMaxPoints.
    int runCount() const { return count() < kMaxPoints ? count() : kMaxPoints; }

    // ---- The entity's marks ------------------------------------------------------
    // The start hook: every point INITING, the window opens.
    void runStarted();
    // The page's start: every point INITING with nothing measured; the
    // window stays closed until the start hook.
    void clearResults();
    // A start is being asked for: the marks the entity holds until the run
    // reports are not this run's.
    void closeWindow() { followsEntity = false; }
    bool marksFollowEntity() const { return followsEntity; }
    // Whether the states are copied on this report (within the window).
    bool copiesStates(ViewBaseModel::DATAType type, int subType) const;
    bool copiesResults(ViewBaseModel::DATAType type) const;
    // The stop hook: the running points become COMPLETED; their indexes.
    std::vector<int> closeRunning();

    // ---- The parameter file -------------------------------------------------------------
    // "pointCount" and "point" + i under parent. Reading empties the list
    // and reads the records point0, point1, ... the file holds, made by make
    // (more than kMaxPoints refuse the file, ViewParameterSetting.h); a
    // record read as RUNNING becomes COMPLETED. Returns the count read.
    int serialize(bool save, QDomElement* parent, QDomDocument* doc, const Factory& make);

private:
    const ViewPointListTraits& rules;
    std::vector<std::unique_ptr<ViewPointRecord>> records;
    bool followsEntity = false;
};

// The base of the list models: the list and the start from the page. A
// start asks the engine only for a list with points; on true the page's
// exit stays disabled until the engine reports the run state, and when that
// report says the start did not run, the page's message says why
// (ViewBaseModel's page exit and message).
class ViewPointListModel : public ViewBaseModel
{
    Q_OBJECT

public:
    ~ViewPointListModel() override;

    // False, with nothing sent, while a run is in progress or the list is
    // empty, or (the message says why) when the driver is not initialised or
    // the power stage is too hot.
    Q_INVOKABLE bool testStart();
    // Whether the page offers "Start": no test runs, the list is not empty
    // and the power stage is cool enough.
    Q_INVOKABLE bool getStartEnabled() const;

    Q_INVOKABLE int getPointsCount() const;
    // The selection the page shows (ViewPointList::activeIndex).
    Q_INVOKABLE int getActiveIndex() const;

protected:
    ViewPointListModel(const ViewPointListTraits& traits, QObject* parent);

    // Whether the engine's active test is this list's module.
    bool ownEngineType() const;

    // The run hooks every list model shares: progress and results copied
    // from the entity on the reports the traits name, while the entity's
    // marks are the list's; the start hook opens that window and selects
    // the first point; the stop hook completes the running points, in the
    // list and in the entity.
    void doUpdateEntToVM(DATAType type, int subType) override;
    void doSwitchToStartState() override;
    void doSwitchToStopState() override;

    // The module's side of those hooks; each takes the entity's lock.
    virtual void copyStatesFromEntity() = 0;
    virtual void copyResultsFromEntity() {}
    // Marks these entity states COMPLETED.
    virtual void completeEntityStates(const std::vector<int>& states) = 0;
    // The stop hook's first step, in the models that judge an absence of
    // trip: untestStopped.
    virtual void untestStoppedPoints() {}

    // The refusal of point `number` (from 1; 0: the edit point) whose
    // output amplitudes `ranges` (UA..IX) ask for more than the device
    // gives (its largest voltage and current): a message naming the point,
    // the value and the limit; empty when the outputs can give it.
    QString outputLimitRefusal(int number, const double (&ranges)[8]) const;

    // A point's trip: the first input (by number) with a recorded time, its
    // time (NaN) and its number 1..4 (-1) when none.
    static double firstTripTime(const double (&actionTimes)[4]);
    static int firstTripInput(const double (&actionTimes)[4]);

    // setActiveIndex of the list models: a point of the list becomes the
    // selection, the edit point takes its settings and the page is told. A
    // bad index as the traits' badSelect says (BAD_SELECT_FIRST: the edit
    // point takes point 0's settings, the page is not told).
    template <typename Point>
    void selectEditPoint(int index, Point& edit);

    // ---- The module's entity E (its fields by name; each takes its lock) -----------
    // doUpdateVMToEnt of the list models, only while the engine's test is
    // this module: the base's, then push() for the list's states, or the
    // running binary outputs into the entity.
    template <typename E, typename Push>
    void updateListEntity(E* e, DATAType type, int subType, Push push);
    // Each point takes the progress (copyStatesFromEntity), the trip times
    // and binary-input patterns (copyResultsFromEntity) of its entity state;
    // the states of the first `limit` points only (the entity's capacity).
    template <typename Point, typename E>
    void copyPointStates(E* e, int limit = ViewPointList::kMaxPoints);
    template <typename Point, typename E>
    void copyPointResults(E* e);
    // A point the stop ended before its window ran out (its entity state
    // still running) with no trip recorded has not been tested: INITING, in
    // the list and in the entity, while the entity's marks are the list's.
    template <typename E>
    void untestStopped(E* e, int limit = ViewPointList::kMaxPoints);
    // The same for the points whose entity state s untested(s) says holds
    // nothing the stop may keep.
    template <typename E, typename Untested>
    void untestStoppedIf(E* e, Untested untested, int limit = ViewPointList::kMaxPoints);
    // States from `limit` on are not the entity's and stay untouched.
    template <typename E>
    static void completeStates(E* e, const std::vector<int>& states, int limit = ViewPointList::kMaxPoints);

    // Writes into an entity held locked by the caller. One state's outputs:
    template <typename E>
    static void writeStateOutputs(E* e, int state, const double (&ranges)[8], const double (&angles)[8],
                                  const double (&frequencies)[8]);
    // The triggers and binary outputs of point i's three states: pre-fault
    // and interval end on time with the outputs off, the fault ends on time
    // or a trip and sets faultBO.
    template <typename E>
    static void writeGroupTriggers(E* e, int i, const qint32 (&faultBO)[4]);
    // After the states: limits applied, the trip inputs and their logic.
    template <typename E>
    static void writeTripInputs(E* e, double vmax, double imax, const qint32 (&bi)[4], AOBILogicType logic);

    ViewPointList testPoints;
    qint32 activePointIndex = 0;
};

template <typename Point>
void ViewPointListModel::selectEditPoint(int index, Point& edit)
{
    if (auto* p = static_cast<Point*>(testPoints.at(index))) {
        activePointIndex = index;
        edit.CopyFrom(*p);
        updateEntToVM(DATA_TYPE_TEST_OUTPUTDATA, -1, false);
        return;
    }
    switch (testPoints.traits().badSelect) {
    case ViewPointListTraits::BAD_SELECT_NOTHING:
        break;
    case ViewPointListTraits::BAD_SELECT_FIRST:
        activePointIndex = 0;
        if (auto* first = static_cast<Point*>(testPoints.at(0)))
            edit.CopyFrom(*first);
        break;
    case ViewPointListTraits::BAD_SELECT_NONE:
        activePointIndex = -1;
        break;
    }
}

template <typename E, typename Push>
void ViewPointListModel::updateListEntity(E* e, DATAType type, int subType, Push push)
{
    if (!ownEngineType())
        return;
    ViewBaseModel::doUpdateVMToEnt(type, subType);
    if (type == DATA_TYPE_TEST_OUTPUTDATA) {
        push();
    } else if (type == DATA_TYPE_RT_BO) {
        QMutexLocker lock(&e->entityLock);
        // A loop: std::copy here trips GCC 12's -Warray-bounds on some entities.
        for (int k = 0; k < 4; ++k)
            e->outputBOStates[k] = testingBO[k];
    }
}

template <typename Point, typename E>
void ViewPointListModel::copyPointStates(E* e, int limit)
{
    QMutexLocker lock(&e->entityLock);
    const int count = std::min(testPoints.runCount(), limit);
    for (int i = 0; i < count; ++i)
        static_cast<Point*>(testPoints.at(i))->testState = e->stateTestStates[testPoints.entityStateOf(i)];
}

template <typename Point, typename E>
void ViewPointListModel::copyPointResults(E* e)
{
    QMutexLocker lock(&e->entityLock);
    for (int i = 0; i < testPoints.runCount(); ++i) {
        Point* p = static_cast<Point*>(testPoints.at(i));
        const int s = testPoints.entityStateOf(i);
        std::copy(std::begin(e->stateActionTimes[s]), std::end(e->stateActionTimes[s]), p->actionTimes);
        std::copy(std::begin(e->stateActionBIStates[s]), std::end(e->stateActionBIStates[s]), p->actionBIStates);
    }
}

namespace ViewPointListDetail {
// A trip recorded: one time per trip input, or one per point.
inline bool tripRecorded(double time) { return !std::isnan(time); }
inline bool tripRecorded(const double (&times)[4])
{
    return std::any_of(std::begin(times), std::end(times), [](double t) { return !std::isnan(t); });
}
}   // namespace ViewPointListDetail

template <typename E>
void ViewPointListModel::untestStopped(E* e, int limit)
{
    untestStoppedIf(
        e, [e](int s) { return !ViewPointListDetail::tripRecorded(e->stateActionTimes[s]); }, limit);
}

template <typename E, typename Untested>
void ViewPointListModel::untestStoppedIf(E* e, Untested untested, int limit)
{
    if (!testPoints.marksFollowEntity())
        return;
    QMutexLocker lock(&e->entityLock);
    const int count = std::min(testPoints.runCount(), limit);
    for (int i = 0; i < count; ++i) {
        const int s = testPoints.entityStateOf(i);
        if (e->stateTestStates[s] != E::AOTestStateType::AO_STATE_TYPE_RUNNNING || !untested(s))
            continue;
        e->stateTestStates[s] = E::AOTestStateType::AO_STATE_TYPE_INITING;
        testPoints.at(i)->testState = ViewBaseModel::AO_STATE_TYPE_INITING;
    }
}

template <typename E>
void ViewPointListModel::completeStates(E* e, const std::vector<int>& states, int limit)
{
    QMutexLocker lock(&e->entityLock);
    for (int s : states) {
        if (s < limit)
            e->stateTestStates[s] = E::AOTestStateType::AO_STATE_TYPE_COMPLETED;
    }
}

template <typename E>
void ViewPointListModel::writeStateOutputs(E* e, int state, const double (&ranges)[8], const double (&angles)[8],
                                           const double (&frequencies)[8])
{
    std::copy(std::begin(ranges), std::end(ranges), e->stateOutputRanges[state]);
    std::copy(std::begin(angles), std::end(angles), e->stateOutputAngles[state]);
    std::copy(std::begin(frequencies), std::end(frequencies), e->stateOutputFrequencies[state]);
}

template <typename E>
void ViewPointListModel::writeGroupTriggers(E* e, int i, const qint32 (&faultBO)[4])
{
    using Trigger = typename E::AOTriggerType;
    const int pre = 3 * i;
    const int fault = pre + 1;
    const int interval = pre + 2;
    e->stateTriggerTypes[pre] = Trigger::AO_TRIGGER_TYPE_TIME;
    e->stateTriggerTypes[fault] = Trigger::AO_TRIGGER_TYPE_TIME_BINARY;
    e->stateTriggerTypes[interval] = Trigger::AO_TRIGGER_TYPE_TIME;
    for (int k = 0; k < 4; ++k) {
        e->stateOutputBOStates[pre][k] = 0;
        e->stateOutputBOStates[fault][k] = faultBO[k];
        e->stateOutputBOStates[interval][k] = 0;
    }
}

template <typename E>
void ViewPointListModel::writeTripInputs(E* e, double vmax, double imax, const qint32 (&bi)[4], AOBILogicType logic)
{
    e->formatLimitValue(vmax, imax);
    std::copy(std::begin(bi), std::end(bi), e->stateOutputBIStates);
    e->stateBILogicTypes = static_cast<typename E::AOBILogicType>(logic);
}
