#pragma once

// Engine side of the under-frequency load-shedding test: up to 8 test
// points, each searching one quantity (trip frequency, trip time, df/dt
// blocking rate, low-current blocking level or under-voltage blocking level)
// by repeating a cycle of three driver states: pre-fault (normal values),
// fault (the voltages slide in frequency at a set rate from a start to a stop
// frequency, the instrument's df/dt facility), after-fault (interval
// values). Between cycles the searched quantity steps from its begin to its
// end value; a trip in a fault state ends the point and records the time and
// the searched quantity. After the last point one closing after-fault page.
//
// UX and IX are not written by the pre-fault and fault pages: they carry the
// interval values throughout the run (from the first page on).
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

#include <QRecursiveMutex>

class ModelSlipFrequencyEntity
{
public:
    using AOPortType = ModelEntity::AOPortType;
    using AOTestStateType = ModelEntity::AOTestStateType;
    using AOLinkStateType = ModelEntity::AOLinkStateType;

    enum TestItemType {
        ITEM_ACTION_FREQUENCY = 0,   // trip frequency
        ITEM_ACTION_TIME = 1,        // trip time
        ITEM_FREQUENCY_SLIP = 2,     // df/dt blocking
        ITEM_LOW_I_LOCK = 3,         // low-current blocking
        ITEM_V_LOCK = 4              // under-voltage blocking
    };

    enum RunStateType {
        AO_RUN_STATE_PRE_FAULT = 0,
        AO_RUN_STATE_FAULT = 1,
        AO_RUN_STATE_AFTER_FAULT = 2
    };

    static constexpr int kMaxPoints = 8;
    // Only the low 16 bits of stateCount + 1 reach the count register.
    static constexpr qint32 kMaxStateCount = 65534;

    ModelSlipFrequencyEntity();
    ModelSlipFrequencyEntity(const ModelSlipFrequencyEntity&) = delete;
    ModelSlipFrequencyEntity& operator=(const ModelSlipFrequencyEntity&) = delete;

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
    double slipValue[kMaxPoints] = {};          // df/dt, Hz/s
    double initFrequencyVal[kMaxPoints] = {};   // start frequency of the slide
    double finalFrequencyVal[kMaxPoints] = {};  // stop frequency of the slide
    double clkFrequencyVal[kMaxPoints] = {};    // filled by the view model; not read here
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
    qint32 biEnable = 0;                        // 1 arms both edges of all four inputs
    qint32 maxStateIndex[kMaxPoints];
    qint32 outputRunningStateIndex = -1;
    float dfdtStopValue = 0.0f;
    float dfdtSlipValue = 0.0f;
    float currentVaribale = 0.0f;
    float voltageVariable = 0.0f;
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

    // Contract operations (testor thread).
    void resetActionValues();
    void switchToResetState();
    void updateToDriverStateCount();
    void updateToDriverValue();
    bool switchToNextState();
    void updateToDriverBOStates();
    void updateFromDriverState();
    // biflag and index are not used. 0 when recorded, -1 when ignored.
    int updateFromDriverAction(int biflag, int index, float time);
    // Clamps the next amplitudes only (called by updateToDriverValue).
    void formatLimitValue(double vmax, double imax);

    // Page builders for the sending point; each returns true.
    bool switchToPreFaultState();
    bool switchToFaultStateNextStep();
    bool switchToAfterFaultState();

    // Driver states of the run for the present settings (what
    // switchToResetState stores in stateCount), saturated at kMaxStateCount + 1.
    qint32 computeStateCount() const;
    // False when the run must not start: pointCnt outside 1..kMaxPoints, an
    // unknown item, more than kMaxStateCount states, a non-finite value that
    // reaches the output, or a slide rate that is not positive (a fault page
    // would never end).
    bool checkOutputValues() const;
};
