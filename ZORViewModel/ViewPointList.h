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
//  - the list in the parameter file: "pointCount" and "point" + i, at most
//    kMaxPoints read, a point stored while it ran read back as completed;
//  - the start from the page and the run hooks (ViewPointListModel, the
//    base of the list models): the page's exit and the message of a refused
//    start as on the source-test pages; progress copied and completed.
//
// GUI thread only.

#include "ViewBaseModel.h"

#include <QDomDocument>
#include <QDomElement>

#include <functional>
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
    // and reads at most kMaxPoints records made by make; a record read as
    // RUNNING becomes COMPLETED. Returns the count read.
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

    ViewPointList testPoints;
    qint32 activePointIndex = 0;
};
