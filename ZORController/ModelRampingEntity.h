#pragma once

// Engine side of the ramping test: up to 97 states in groups of three per
// test item (3j normal output, 3j+1 the item's ramp with its binary-input
// watch, 3j+2 interval output). A state with ramp slots moves up to eight
// quantities (amplitude, angle or frequency of a channel or channel group)
// from a begin to an end value, one driver page per step; a state without
// slots is one page. After the last state one closing page repeats the last
// target values. Trips record the time, the binary-input pattern and the
// output value of the state's first slot; the view model derives pick-up and
// drop-off from them.
//
// Locking: entityLock guards every field. A writer (view model, network
// service) holds it across an edit; the testor holds it across a start or
// switch (check, encode). Every operation also takes it itself; it is
// recursive, so an operation may be called with it held.
//
// Start check for the testor: checkOutputValues() false means the start
// fails (nothing is sent). updateToDriverValue never writes a non-finite
// value (it writes 0).
//
// A pre-fault or interval state of no time (its box left unticked) is not
// played at all: the run goes from the state before it straight on to the
// state after it, and counts no page for it.
//
// A pre-fault or interval page that watches no input of its own watches
// both edges of its item's ramp's inputs, to its time. An item's ramp is
// judged before it is sent, as the overcurrent entity's faults are: one that
// would begin with the relay still operated is marked (stateBeganUnreset)
// and passed over, never played; no trip is credited to it. In a run the
// testor stores what the judgement of contacts says of each ramp (takeJudged).

#include "ModelEntityCommon.h"

#include <QRecursiveMutex>
#include <QTime>

class ModelRampingEntity
{
public:
    using AOPortType = ModelEntity::AOPortType;
    using AOTriggerType = ModelEntity::AOTriggerType;
    using AOTestStateType = ModelEntity::AOTestStateType;
    using AOLinkStateType = ModelEntity::AOLinkStateType;
    using AOBILogicType = ModelEntity::AOBILogicType;
    using RampItemType = ModelEntity::RampItemType;
    using RampPortType = ModelEntity::RampPortType;
    using faultActionValStruct = ModelEntity::faultActionValStruct;

    static constexpr int kMaxStates = 97;
    static constexpr int kRampSlots = 8;
    // Only the low 16 bits of pointCount + 1 reach the count register.
    static constexpr qint32 kMaxStateCount = 65534;

    ModelRampingEntity();
    ModelRampingEntity(const ModelRampingEntity&) = delete;
    ModelRampingEntity& operator=(const ModelRampingEntity&) = delete;

    mutable QRecursiveMutex entityLock;

    double outputRanges[8] = {};
    double outputAngles[8] = {};
    double outputFrequencies[8] = {};
    qint32 stateOutputBIStates[kMaxStates][4] = {};   // bit 0 rising, bit 1 falling edge
    qint32 stateOutputBOStates[kMaxStates][4] = {};
    AOBILogicType stateBILogicTypes[kMaxStates];
    double nextOutputRanges[8] = {};
    double nextOutputAngles[8] = {};
    double nextOutputFrequencies[8] = {};
    double stateOutputRanges[kMaxStates][8] = {};
    double stateOutputAngles[kMaxStates][8] = {};
    double stateOutputFrequencies[kMaxStates][8] = {};
    double stateOutputTimes[kMaxStates] = {};        // duration of one page (step)
    AOLinkStateType stateOutputLinkTypes[kMaxStates];
    AOTestStateType stateTestStates[kMaxStates];
    AOTriggerType stateTriggerTypes[kMaxStates];
    double stateActionTimes[kMaxStates][4];
    faultActionValStruct stateActionValue[kMaxStates][4];
    qint32 stateActionBIStates[kMaxStates][4];
    qint32 stateActionUpdateState[kMaxStates];
    // Per ramp state: it began, or would have begun, with the relay still
    // operated (the judgement's Not Reset).
    bool stateBeganUnreset[kMaxStates] = {};
    double rampBeginValues[kMaxStates][kRampSlots] = {};
    double rampEndValues[kMaxStates][kRampSlots] = {};
    double rampStepValues[kMaxStates][kRampSlots] = {};   // signed; 0 = slot unused
    RampPortType rampPorts[kMaxStates][kRampSlots];
    RampItemType rampItems[kMaxStates][kRampSlots];
    qint32 stateCount = 0;
    qint32 pointCount = 0;            // pages of the whole run, computed at reset
    bool lastStep = false;
    double outputTime = 0.0;          // duration of the page being prepared
    AOLinkStateType linkType = ModelEntity::AO_LINKSTATE_TYPE_INITIATE;
    qint32 outputRunningStateIndex = -1;
    qint32 outputSendingStateIndex = -1;
    qint32 outputBOStates[4] = {};
    QTime outputBeginTime;
    QTime outputBOTurnTime;
    double maxVoltage = 0.0;          // limits of formatLimitValue, set by the view model
    double maxCurrent = 0.0;

    // Contract operations (testor thread).
    void resetActionValues();
    void switchToResetState();
    void updateToDriverStateCount();
    void updateToDriverValue();
    bool switchToNextState();
    void updateToDriverBOStates();
    void updateFromDriverState();
    // 0 when recorded, -1 when ignored.
    int updateFromDriverAction(int bi1flag, int bi2flag, float time, int index);
    // A trip in the running state (a ramp), valued with the current outputs.
    int updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time);
    // What the judgement of contacts says of ramp state r: its trip (the
    // input, its edge code, the time from its step's start, valued with what
    // that step played), or none (input -1).
    void takeJudged(int r, int input, qint32 code, double seconds, const ModelEntity::PageOutputs& page);
    // What the page written last plays (after updateToDriverValue).
    ModelEntity::PageOutputs pageOutputs() const;
    // A check page plays the page written last on: the current outputs are
    // its outputs.
    void playLastOn();
    // Clamps the next amplitudes only.
    void formatLimitValue(double vmax, double imax);

    // One ramp step of the sending state; returns false.
    bool switchToNextStep();
    // First channel of the group from an 8-channel array; NaN for an unknown group.
    double getOutputValue(RampPortType portType, const double* outputArry) const;
    void getFaultActionValue(RampPortType portType, const double* outputArry,
                             faultActionValStruct* actionValue) const;

    // Pages of the run for the present settings (what switchToResetState
    // stores in pointCount), saturated at kMaxStateCount + 1.
    qint32 computePointCount() const;
    // False when the run must not start: stateCount outside 1..kMaxStates,
    // more than kMaxStateCount pages, or a non-finite amplitude, angle,
    // frequency, page time or used ramp value, or a used slot whose item or
    // port group is outside the enumeration, in a state in use.
    bool checkOutputValues() const;
    // A state's ramp steps (rampStepValues[s]) move something: a slot is in
    // use (its step is not 0).
    static bool usesSlots(const double steps[kRampSlots]);
    // The trigger of `state`, AO_TRIGGER_TYPE_TIME outside 0..kMaxStates-1.
    AOTriggerType getTriggerType(int state) const;
    // `state` (in use) is a pre-fault or interval state of no time, or a ramp
    // judged not reset, which the run passes over.
    bool passesOver(int state) const;
    // The running state follows the instrument on to `state`; the states
    // between end as they began.
    void followTo(int state);
    // The ramp switchToNextState would send next (after the last step of the
    // state being sent): whether there is one, its state (-1: none), and its
    // marking as passed over (the judgement found it Not Reset).
    bool faultNext() const;
    int nextFaultState() const;
    void passOverNextFault();
    // The run has played to its end: every state still running is completed
    // (a stop before the end leaves them running).
    void completeRun();

private:
    // The progress marks of the run entering state r.
    void markEntered(int r);
    // The current array of a ramp item, null for an unknown item.
    const double* currentItemArray(int item) const;
    void recordSlotValue(int state, int column, const ModelEntity::PageOutputs& page);
};
