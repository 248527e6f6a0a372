#pragma once

// Engine side of the distance-protection test: up to 98 fixed output states
// in groups of three per test point (k mod 3: 0 pre-fault, 1 fault, 2
// after-fault), one driver page per state, the binary inputs armed only in
// the fault states, then one closing page with every output at zero. Marks
// progress per group and records trip times and binary-input patterns; the
// view model judges the operate times.
//
// A fault that begins with the relay still operated is marked
// (stateBeganUnreset), no trip is credited to it, and the run control
// switches past it at once: its trip inputs are already at the level their
// edges lead to, as the edges recorded since left them or, where a
// pre-fault or after-fault page of some time played since (in which the
// relay may have reset unseen), as last polled.
//
// Locking: entityLock guards every field. A writer (view model) holds it
// across an edit and its formatLimitValue; the testor holds it across a
// start or switch (check, encode). Every operation also takes it itself; it
// is recursive, so an operation may be called with it held.
//
// Start check for the testor: checkOutputValues() false means the start
// fails (nothing is sent). updateToDriverValue never writes a non-finite
// value (it writes 0).

#include "ModelEntityCommon.h"

#include <QRecursiveMutex>
#include <QTime>

class ModelDistanceEntity
{
public:
    using AOPortType = ModelEntity::AOPortType;
    using AOTestStateType = ModelEntity::AOTestStateType;
    using AOLinkStateType = ModelEntity::AOLinkStateType;
    using AOBILogicType = ModelEntity::AOBILogicType;

    // This entity's trigger enumeration has no key press.
    enum AOTriggerType {
        AO_TRIGGER_TYPE_TIME = 0,
        AO_TRIGGER_TYPE_BINARY = 1,
        AO_TRIGGER_TYPE_TIME_BINARY = 2,
        AO_TRIGGER_TYPE_GPS = 3
    };

    static constexpr int kMaxStates = 98;

    ModelDistanceEntity();
    ModelDistanceEntity(const ModelDistanceEntity&) = delete;
    ModelDistanceEntity& operator=(const ModelDistanceEntity&) = delete;

    mutable QRecursiveMutex entityLock;

    double stateOutputRanges[kMaxStates][8] = {};
    double stateOutputAngles[kMaxStates][8] = {};
    double stateOutputFrequencies[kMaxStates][8] = {};
    double stateOutputTimes[kMaxStates] = {};
    // Read by the testor only (not sent): after a recorded state-end report
    // for state s, a value of 1 or more at s-1 raises statusBIStateAction.
    AOTriggerType stateTriggerTypes[kMaxStates];
    AOTestStateType stateTestStates[kMaxStates];
    qint32 stateOutputBIStates[4] = {};          // one setting for every fault state
    qint32 stateOutputBOStates[kMaxStates][4] = {};
    AOBILogicType stateBILogicTypes = ModelEntity::AO_BILOGIC_TYPE_OR;
    double stateActionTimes[kMaxStates][4];
    qint32 stateActionBIStates[kMaxStates][4];
    qint32 stateActionUpdateState[kMaxStates];
    // Per fault state: it began with the relay still operated.
    bool stateBeganUnreset[kMaxStates] = {};
    bool stateBeginningJudged[kMaxStates] = {};
    ModelEntity::TripInputLevels tripLevels;
    qint32 stateCount = 0;
    qint32 outputRunningStateIndex = -1;
    qint32 outputSendingStateIndex = -1;
    qint32 outputBOStates[4] = {};
    QTime outputBeginTime;
    QTime outputBOTurnTime;

    // Contract operations (testor thread).
    void resetActionValues();
    void switchToResetState();
    void updateToDriverStateCount();
    bool switchToNextState();
    void updateToDriverValue();
    void updateToDriverBOStates();
    void updateFromDriverState(int statusTestStateIndex);
    // 0 when recorded, -1 when ignored.
    int updateFromDriverAction(int bi1flag, int bi2flag, float time, int index);
    int updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time);
    void formatLimitValue(double vmax, double imax);

    // Once per fault state, as it begins (or at its first action, should
    // that be heard first): whether it began with the relay still operated.
    void judgeBeginning(int state);
    // `state` is the running fault state and began with the relay operated:
    // the instrument need not play it.
    bool faultNeedless(int state) const;
    // The running state follows the instrument on to `state`.
    void followTo(int state);

    // False when the run must not start: stateCount outside 1..kMaxStates, or
    // a non-finite amplitude, angle, frequency or time in a state in use.
    bool checkOutputValues() const;
    // The trigger of `state`, AO_TRIGGER_TYPE_TIME outside 0..kMaxStates-1.
    AOTriggerType getTriggerType(int state) const;
};
