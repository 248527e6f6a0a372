#pragma once

// What the two load-shedding entities (under frequency, under voltage)
// share: up to Points test points, each searching one quantity (the trip
// value, the trip time, the blocking slide rate, the low-current blocking
// level, and for under frequency the under-voltage blocking level) by
// repeating a cycle of three driver states: pre-fault (normal values), fault
// (the slid quantity moves at a set rate from a start to a stop value, the
// instrument's df/dt or dv/dt facility), after-fault (interval values).
// Between cycles the searched quantity steps from its begin to its end
// value; a trip in a fault state ends the point and records the time and the
// searched quantity. After the last point one closing after-fault page.
//
// UX and IX are not written by the pre-fault and fault pages: they carry the
// interval values throughout the run (from the first page on).
//
// Each entity adds its fault page, its slide's fields and the record's slide
// arrays. Items holds its TestItemType, whose trip-value item is 0, trip
// time 1, slide-rate item 2 and low-current item 3.
//
// The pre-fault and after-fault pages watch both edges of every input, to
// their time. A fault is judged before it is sent (the run control's
// judgement, once the pre-fault page before it has ended): where a trip
// input stands at the level the run's last trip left it, as the edges the
// instrument stamped left it, the point is marked (pointBeganUnreset), the
// fault passed over, never played, no trip credited to it, and its search
// ends there, as after a trip. A trip the instrument confirms on the
// after-fault page, within the fault's time, is the fault's.
//
// Locking: entityLock guards every field. A writer (view model) holds it
// across an edit; the testor holds it across a start or switch (check,
// encode). Every operation also takes it itself; it is recursive, so an
// operation may be called with it held.
//
// Start check for the testor: checkOutputValues() false means the start
// fails (nothing is sent). updateToDriverValue never writes a non-finite
// value (it writes 0).

#include "CommDriverData.h"
#include "ModelEntityCommon.h"

#include <QMutexLocker>
#include <QRecursiveMutex>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

template <class Entity, class Items, int Points>
class ModelLoadSheddingEntity : public Items
{
public:
    using AOPortType = ModelEntity::AOPortType;
    using AOTestStateType = ModelEntity::AOTestStateType;
    using AOLinkStateType = ModelEntity::AOLinkStateType;
    using TestItemType = typename Items::TestItemType;

    enum RunStateType {
        AO_RUN_STATE_PRE_FAULT = 0,
        AO_RUN_STATE_FAULT = 1,
        AO_RUN_STATE_AFTER_FAULT = 2
    };

    static constexpr int kMaxPoints = Points;
    // Only the low 16 bits of stateCount + 1 reach the count register.
    static constexpr qint32 kMaxStateCount = 65534;

    ModelLoadSheddingEntity()
    {
        for (int p = 0; p < kMaxPoints; ++p) {
            testItemType[p] = TestItemType(0);
            stateTestStates[p] = ModelEntity::AO_STATE_TYPE_INITING;
            maxStateIndex[p] = -1;
            searchEndState[p] = -1;
            stateActionTimes[p] = std::numeric_limits<double>::quiet_NaN();
            stateActionValue[p] = std::numeric_limits<double>::quiet_NaN();
        }
        for (COMMStatePropertyEnableType& property : portProperty)
            property = COMM_STATE_PROPERTY_ENABLE_TYPE_BASE;
    }
    ModelLoadSheddingEntity(const ModelLoadSheddingEntity&) = delete;
    ModelLoadSheddingEntity& operator=(const ModelLoadSheddingEntity&) = delete;

    mutable QRecursiveMutex entityLock;

    qint32 pointCnt = 0;                        // at most kMaxPoints
    TestItemType testItemType[kMaxPoints];
    double normalTime = 0.0;                    // pre-fault duration, s
    double holdTime = 0.0;                      // added after the slide of a fault state, s
    double intervalTime = 0.0;                  // after-fault duration, s
    double normalOutputRanges[8] = {};
    double normalOutputAngles[8] = {};
    double normalOutputFrequencies[8] = {};
    double intervalOutputRanges[8] = {};
    double intervalOutputAngles[8] = {};
    double intervalOutputFrequencies[8] = {};
    COMMStatePropertyEnableType portProperty[8];
    double rampBeginValues[kMaxPoints] = {};
    double rampEndValues[kMaxPoints] = {};
    double rampStepValues[kMaxPoints] = {};     // magnitude; begin and end give the direction
    double slipValue[kMaxPoints] = {};          // slide rate, per second
    qint32 outputRunningPointIndex = -1;
    qint32 outputSendingPointIndex = -1;
    AOTestStateType stateTestStates[kMaxPoints];
    qint32 stateCount = 0;                      // driver states of the run
    bool firstFaultStep = true;
    bool lastFaultStep = false;
    bool lastState = false;
    bool actionEnable = false;                  // set by the testor on a recorded trip
    RunStateType sendingStateType = AO_RUN_STATE_PRE_FAULT;
    double outputTime = 0.0;
    AOLinkStateType linkType = ModelEntity::AO_LINKSTATE_TYPE_INITIATE;
    qint32 biEnable = 0;                        // 1: a fault page, ended by a trip
    qint32 maxStateIndex[kMaxPoints];
    qint32 searchEndState[kMaxPoints];          // the fault state of the point's last step; -1 before it is sent
    qint32 outputRunningStateIndex = -1;
    float currentVaribale = 0.0f;
    double maxVoltage = 0.0;
    double maxCurrent = 0.0;
    double rateCurrent = 0.0;
    double outputRanges[8] = {};
    double outputAngles[8] = {};
    double outputFrequencies[8] = {};
    double nextOutputRanges[8] = {};
    double nextOutputAngles[8] = {};
    double nextOutputFrequencies[8] = {};
    double stateActionTimes[kMaxPoints];
    double stateActionValue[kMaxPoints];
    double runningVariant = 0.0;
    double nextVariant = 0.0;
    qint32 outputBOStates[4] = {};
    // Per point: one of its faults would have begun with the relay still operated.
    bool pointBeganUnreset[kMaxPoints] = {};
    qint32 passedFaultState = -1;               // the last fault state passed over so
    // Page ends not yet followed: a pre-fault page's, while its fault waits
    // to be judged (the running state never goes past the states sent).
    qint32 endsToFollow = 0;

    // Contract operations (testor thread).
    void resetActionValues()
    {
        QMutexLocker locker(&entityLock);
        ModelEntity::LoadShedding::resetActionValues(self());
        std::fill(std::begin(pointBeganUnreset), std::end(pointBeganUnreset), false);
        passedFaultState = -1;
        endsToFollow = 0;
    }
    void switchToResetState()
    {
        QMutexLocker locker(&entityLock);
        ModelEntity::LoadShedding::switchToResetState(self());
    }
    void updateToDriverStateCount()
    {
        QMutexLocker locker(&entityLock);
        ModelEntity::LoadShedding::updateToDriverStateCount(self());
    }
    bool switchToNextState()
    {
        QMutexLocker locker(&entityLock);
        return ModelEntity::LoadShedding::switchToNextState(self());
    }
    void updateToDriverBOStates()
    {
        QMutexLocker locker(&entityLock);
        ModelEntity::writeDriverBOStates(outputBOStates);
    }
    void updateFromDriverState()
    {
        QMutexLocker locker(&entityLock);
        ModelEntity::LoadShedding::updateFromDriverState(self());
        // A fault passed over ends as it begins.
        if (outputRunningStateIndex == passedFaultState)
            ModelEntity::LoadShedding::updateFromDriverState(self());
    }
    // The running point's trip (the judgement of contacts placed it on a
    // fault page, wherever the instrument confirmed it): 0 when recorded.
    int updateFromDriverAction(int, int, float time)
    {
        QMutexLocker locker(&entityLock);
        return ModelEntity::LoadShedding::updateFromDriverAction(self(), time);
    }
    // The fault switchToNextState would send next (after a pre-fault page):
    // whether there is one, and its passing over (the judgement found it Not
    // Reset): taken as sent and ended at once, the point's search ended.
    bool faultNext() const
    {
        QMutexLocker locker(&entityLock);
        const int p = outputSendingPointIndex;
        return sendingStateType == AO_RUN_STATE_PRE_FAULT && p >= 0 && p < ModelEntity::LoadShedding::pointLimit(*this);
    }
    void passOverNextFault()
    {
        QMutexLocker locker(&entityLock);
        if (!faultNext())
            return;
        const int p = outputSendingPointIndex;
        passedFaultState = ++maxStateIndex[p];
        sendingStateType = AO_RUN_STATE_FAULT;
        pointBeganUnreset[p] = true;
        actionEnable = true;
    }
    // Point p played the fault of its last step to its end: its search ran out.
    bool searchRanOut(int p) const
    {
        QMutexLocker locker(&entityLock);
        return p >= 0 && p < kMaxPoints && searchEndState[p] >= 0 && outputRunningStateIndex > searchEndState[p];
    }
    // Clamps the next amplitudes only (called by updateToDriverValue).
    void formatLimitValue(double vmax, double imax)
    {
        QMutexLocker locker(&entityLock);
        ModelEntity::limitChannelRanges(nextOutputRanges, vmax, imax);
    }

    // Page builders for the sending point; each returns true.
    bool switchToPreFaultState()
    {
        QMutexLocker locker(&entityLock);
        ModelEntity::LoadShedding::switchToPreFaultState(self());
        return true;
    }
    bool switchToAfterFaultState()
    {
        QMutexLocker locker(&entityLock);
        ModelEntity::LoadShedding::switchToAfterFaultState(self());
        return true;
    }

    // Driver states of the run for the present settings (what
    // switchToResetState stores in stateCount), saturated at kMaxStateCount + 1.
    qint32 computeStateCount() const
    {
        QMutexLocker locker(&entityLock);
        return ModelEntity::LoadShedding::stateCount(*this);
    }

protected:
    // What a fault page's point searches of its slide.
    enum class SlideSearch { Stop, Rate, Neither, Nothing };

    // Sets the slide of point p's fault page: the stop and the rate as set,
    // but for the one the point searches (stepped before); a point that
    // searches nothing of the run (the trip time) has one fault page. The
    // page lasts the slide from `from` to the stop, plus the hold time.
    void setSlide(int p, SlideSearch search, double finalValue, double from, float& stop, float& rate)
    {
        if (search != SlideSearch::Stop)
            stop = ModelEntity::recordFloat(finalValue);
        if (search != SlideSearch::Rate)
            rate = ModelEntity::recordFloat(slipValue[p]);
        if (search == SlideSearch::Nothing)
            lastFaultStep = true;
        outputTime = std::fabs(from - double(stop)) / double(rate) + holdTime;
        linkType = ModelEntity::AO_LINKSTATE_TYPE_CONTINUE;
        firstFaultStep = false;
        biEnable = 1;
    }

    // The record of the next page, with the slide's stop and rate in every
    // channel of the record's arrays for it (df/dt or dv/dt).
    void writeDriverValue(float stop, float rate, float (CommDriverTestOutputData::*stops)[8],
                          float (CommDriverTestOutputData::*rates)[8])
    {
        if (!globalTestOutputData)
            return;
        CommDriverTestOutputData& out = *globalTestOutputData;
        formatLimitValue(maxVoltage, maxCurrent);
        ModelEntity::LoadShedding::writeDriverValue(*this, out);
        for (int c = 0; c < 8; ++c) {
            (out.*stops)[c] = ModelEntity::recordFloat(double(stop));
            (out.*rates)[c] = ModelEntity::recordFloat(double(rate));
        }
    }

    // The start check, with the slide's start and stop values and the
    // entity's last item.
    bool checkValues(const double* starts, const double* stops, int lastItem) const
    {
        if (!ModelEntity::LoadShedding::checkCommonValues(*this))
            return false;
        for (int p = 0; p < pointCnt; ++p) {
            const int item = int(testItemType[p]);
            if (item < 0 || item > lastItem)
                return false;
            if (!ModelEntity::isFiniteFloat(starts[p]) || !ModelEntity::isFiniteFloat(stops[p]))
                return false;
            // The slide rate divides the fault page's time: it must be positive.
            if (item == kRateItem) {
                if (!(rampBeginValues[p] > 0.0) || !(rampEndValues[p] > 0.0))
                    return false;
            } else if (!(slipValue[p] > 0.0)) {
                return false;
            }
        }
        return true;
    }

    static constexpr int kRateItem = 2;

private:
    Entity& self() { return static_cast<Entity&>(*this); }
};
