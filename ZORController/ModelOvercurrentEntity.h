#pragma once

// Engine side of the overcurrent-protection test: up to 97 fixed output
// states in groups of three per test point (k mod 3: 0 pre-fault, 1 fault, 2
// after-fault), one driver page per state (no closing page). A fault state
// ends on a trip of the inputs it watches; the states between the faults
// watch both edges of those inputs and end on their time (but a wait for the
// reset, below). Marks progress per group and records trip times and
// binary-input patterns; the view model judges them.
// A pre-fault or after-fault state of no time (its box left unticked) is not
// played at all: the run goes from the state before it straight on to the
// state after it, and counts no page for it. The last state always plays (the
// run ends once the instrument enters it).
//
// An after-fault state whose trigger is AO_TRIGGER_TYPE_TIME_BINARY waits for
// the relay's reset: its page plays its outputs until the trip inputs return
// (each watched for the edge opposite to the fault's, with the fault's
// logic), or for its time. It is written once the fault before it has
// ended; with no trip standing then it has nothing to wait for, and the run
// control passes it over.
//
// The run control judges the contacts (ContactJudgement.h) and stores what
// the judgement says of each fault (takeJudged, stateBeganUnreset): a fault
// that would begin with the relay still operated is marked and passed over,
// never played; no trip is credited to it.
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

class ModelOvercurrentEntity
{
public:
    using AOPortType = ModelEntity::AOPortType;
    using AOTriggerType = ModelEntity::AOTriggerType;
    using AOTestStateType = ModelEntity::AOTestStateType;
    using AOLinkStateType = ModelEntity::AOLinkStateType;
    using AOBILogicType = ModelEntity::AOBILogicType;


    static constexpr int kMaxStates = 97;

    ModelOvercurrentEntity();
    ModelOvercurrentEntity(const ModelOvercurrentEntity&) = delete;
    ModelOvercurrentEntity& operator=(const ModelOvercurrentEntity&) = delete;

    mutable QRecursiveMutex entityLock;

    double stateOutputRanges[kMaxStates][8] = {};
    double stateOutputAngles[kMaxStates][8] = {};
    double stateOutputFrequencies[kMaxStates][8] = {};
    double stateOutputTimes[kMaxStates] = {};
    // Read by the testor: after a recorded state-end report for state s, a
    // value of 1 or more at s-1 raises statusBIStateAction. Sent only as the
    // mark of an after-fault state that waits for the relay's reset.
    AOTriggerType stateTriggerTypes[kMaxStates];
    AOTestStateType stateTestStates[kMaxStates];
    qint32 stateOutputBIStates[4] = {};          // one setting for every fault state
    qint32 stateOutputBOStates[kMaxStates][4] = {};
    AOBILogicType stateBILogicTypes = ModelEntity::AO_BILOGIC_TYPE_OR;
    double stateActionTimes[kMaxStates][4];
    qint32 stateActionBIStates[kMaxStates][4];
    qint32 stateActionUpdateState[kMaxStates];
    // Per fault state: it began, or would have begun, with the relay still
    // operated (the judgement's Not Reset).
    bool stateBeganUnreset[kMaxStates] = {};
    // Per after-fault state that waits for the reset: no trip stood as the
    // fault before it ended, and it is passed over.
    bool resetWaitNeedless[kMaxStates] = {};
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

    // False when the run must not start: stateCount outside 1..kMaxStates, or
    // a non-finite amplitude, angle, frequency or time in a state in use.
    // Only the states in use are clamped by formatLimitValue.
    bool checkOutputValues() const;
    // The trigger of `state`, AO_TRIGGER_TYPE_TIME outside 0..kMaxStates-1.
    AOTriggerType getTriggerType(int state) const;
    // `state` (in use, not the last) is a pre-fault or after-fault state of
    // no time, or a fault judged not reset, which the run passes over.
    bool passesOver(int state) const;
    // `state` is an after-fault state in use that waits for the relay's reset.
    bool awaitsReset(int state) const;
    // The state after the sending one waits for the reset, which no trip
    // needs: it is passed over.
    void passOverResetWait();
    // The running state follows the instrument on to `state` (past it where
    // that is passed over); the states between end as they began.
    void followTo(int state);
    // The fault switchToNextState would send next: whether there is one, and
    // its marking as passed over (the judgement found it Not Reset).
    bool faultNext() const;
    void passOverNextFault();

private:
    // The fault switchToNextState would send next, -1 when the next state is none.
    int nextFault() const;
};
