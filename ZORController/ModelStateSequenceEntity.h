#pragma once

// Engine side of the state-sequence test: up to 32 output states, each with
// its own channel values, binary outputs, binary-input watch, trigger and
// time, played through the driver's ring of eight output pages. Two cursors:
// the state last encoded for the driver (outputSendingStateIndex, up to
// seven states ahead) and the state being output (outputRunningStateIndex,
// advanced on every state change the driver reports).
//
// Locking: entityLock guards every field. A writer (view model, network
// service) holds it across an edit and its formatLimitValue; the testor holds
// it across a start or switch (check, encode). Every operation also takes it
// itself; it is recursive, so an operation may be called with it held.
//
// Start check for the testor: checkOutputValues() false means the start
// fails (nothing is sent). updateToDriverValue never writes a non-finite
// value (it writes 0).
//
// Action reports name a page of the ring, not a state: stateOfActionPage()
// maps the page to the state it carries. After a recorded report
// lastActionStateIndex is that state; the testor reads the state's trigger
// with getTriggerType(lastActionStateIndex) (never by the page number).

#include "ModelEntityCommon.h"

#include <QRecursiveMutex>
#include <QTime>

#include <limits>

class ModelStateSequenceEntity
{
public:
    using AOPortType = ModelEntity::AOPortType;
    using AOTriggerType = ModelEntity::AOTriggerType;
    using AOTestStateType = ModelEntity::AOTestStateType;
    using AOLinkStateType = ModelEntity::AOLinkStateType;
    using AOBILogicType = ModelEntity::AOBILogicType;

    enum CloseLinkPhaseType {
        CLOSE_LINKPHASE_TYPE_UA = 0,
        CLOSE_LINKPHASE_TYPE_UB = 1,
        CLOSE_LINKPHASE_TYPE_UC = 2,
        CLOSE_LINKPHASE_TYPE_UAB = 3,
        CLOSE_LINKPHASE_TYPE_UBC = 4,
        CLOSE_LINKPHASE_TYPE_UCA = 5,
        CLOSE_LINKPHASE_TYPE_UABC = 6
    };

    struct CloseDefine
    {
        bool closeEnable = false;
        bool decayEnable = false;
        CloseLinkPhaseType linkphaseType = CLOSE_LINKPHASE_TYPE_UA;
        float closeAngle = 0.0f;   // deg
        float decayFactor = 0.0f;
        float decayZValue = 0.0f;
    };

    static constexpr int kMaxStates = 32;
    static constexpr int kPages = DriverStateWord::kPages;   // the driver's ring
    static constexpr double kUntimedOutputTime = 36000.0;

    ModelStateSequenceEntity();
    ModelStateSequenceEntity(const ModelStateSequenceEntity&) = delete;
    ModelStateSequenceEntity& operator=(const ModelStateSequenceEntity&) = delete;

    mutable QRecursiveMutex entityLock;

    double stateOutputRanges[kMaxStates][8] = {};
    double stateOutputAngles[kMaxStates][8] = {};
    double stateOutputFrequencies[kMaxStates][8] = {};
    qint32 stateOutputBOStates[kMaxStates][4] = {};
    double stateOutputTimes[kMaxStates] = {};
    AOLinkStateType stateOutputLinkTypes[kMaxStates];
    qint32 stateOutputBIStates[kMaxStates][4] = {};   // bit 0 rising, bit 1 falling edge
    AOBILogicType stateBILogicTypes[kMaxStates];
    AOTriggerType stateTriggerTypes[kMaxStates];
    AOTestStateType stateTestStates[kMaxStates];
    CloseDefine stateCloseDefine[kMaxStates];
    double stateActionTimes[kMaxStates][4];
    qint32 stateActionBIStates[kMaxStates][4];
    qint32 stateActionUpdateState[kMaxStates];
    double stateTriggerTimes[kMaxStates];
    qint32 stateCount = 0;   // at most kMaxStates
    qint32 outputRunningStateIndex = -1;
    qint32 outputSendingStateIndex = -1;
    qint32 outputBOStates[4] = {};
    QTime outputBeginTime;
    QTime outputBOTurnTime;
    qint32 lastActionStateIndex = -1;   // state of the last recorded action report

    // Contract operations (testor thread).
    void switchToResetState();
    void resetActionValues();
    void updateToDriverStateCount();
    bool switchToNextState();
    void updateToDriverValue();
    bool isLastState() const;
    // The state running ended after `triggerTime` s (NaN: unknown); the
    // next one runs.
    void updateFromDriverState(double triggerTime);
    // 0 when recorded, -1 when ignored. The page is the one the action was
    // recorded on; without it, the status record's statusTestActionStateIndex
    // (which a later read may already have moved on).
    int updateFromDriverAction(int biflag, int index, float time);
    int updateFromDriverAction(int biflag, int index, float time, int page);
    int updateFromDriverAction(int bi1flag, int bi2flag, float time, int index, int bi1state, int bi2state);
    void updateToDriverBOStates();
    // Clamps every state's amplitudes into [0, vmax] (UA..UX) and [0, imax]
    // (IA..IX) and keeps both limits.
    void formatLimitValue(double vmax, double imax);
    // Keeps the limits alone (the start's check of settings not clamped).
    void keepLimits(double vmax, double imax);
    // The limit a channel's amplitudes are held to (infinite before any).
    double outputLimit(int channel) const { return channel < ModelEntity::AO_PORT_TYPE_IA ? voltageLimit : currentLimit; }
    void updateToDriverCloseDefine(int index);

    // False when the run must not start: stateCount outside 1..kMaxStates, or
    // a non-finite amplitude, angle, frequency or sent state time, or a
    // trigger outside the enumeration, in a state in use.
    bool checkOutputValues() const;
    // The state the ring page `page` carries, seen from the running cursor r:
    // the one of r-1 .. r+6 on that page (the driver may already play the
    // state after r, and may report an action of the page it just left).
    // Not bounds-checked against stateCount; -1 for a page outside 0..7.
    int stateOfActionPage(int page) const;
    // The trigger of `state`, AO_TRIGGER_TYPE_TIME outside 0..kMaxStates-1.
    AOTriggerType getTriggerType(int state) const;

private:
    double voltageLimit = std::numeric_limits<double>::infinity();
    double currentLimit = std::numeric_limits<double>::infinity();
};
