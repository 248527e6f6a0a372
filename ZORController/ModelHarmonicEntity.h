#pragma once

// Engine side of the harmonic test: each of the eight channels carries a
// fundamental (slot 0) and up to three harmonics (slots 1-3, orders in
// outputOrders). The outputs are held, or the amplitude or angle of one slot
// of one channel or group is ramped, one step per state. Harmonic angles are
// entered in the fundamental's time reference: a harmonic of order h at
// angle phi_h is sent at phi_h + h * phi_1, so shifting the whole waveform in
// time keeps its shape. One action record per binary input, no return record.
//
// Locking, start checks and the non-finite rule as for ModelAlternateEntity:
// hold entityLock (recursive) across an edit and its formatLimitValue, and
// across a start or switch; after switchToResetState, checkOutputValues()
// false means the start fails.

#include "ModelEntityCommon.h"

#include <QRecursiveMutex>
#include <QTime>

class ModelHarmonicEntity
{
public:
    using AOPortType = ModelEntity::AOPortType;
    using RampItemType = ModelEntity::RampItemType;   // RANGE or ANGLE
    using FaultActionType = ModelEntity::FaultActionType;
    using RampPortType = ModelEntity::RampPortType;
    using AOBILogicType = ModelEntity::AOBILogicType;
    using faultActionValStruct = ModelEntity::faultActionValStruct;

    static constexpr qint32 kMaxStateCount = 65534;
    static constexpr double kSteadyOutputTime = 36000.0;

    ModelHarmonicEntity();
    ModelHarmonicEntity(const ModelHarmonicEntity&) = delete;
    ModelHarmonicEntity& operator=(const ModelHarmonicEntity&) = delete;

    mutable QRecursiveMutex entityLock;

    double outputRanges[8][4] = {};
    double outputAngles[8][4] = {};
    double outputFrequencies[8][4] = {};  // slot 0 used; harmonics follow from the orders
    qint32 outputOrders[4] = {1, 2, 3, 5};
    qint32 stateOutputBIStates[4] = {};
    qint32 stateOutputBOStates[4] = {};
    AOBILogicType stateBILogicTypes = ModelEntity::AO_BILOGIC_TYPE_OR;
    double nextOutputRanges[8][4] = {};
    double nextOutputAngles[8][4] = {};
    qint32 outputBOStates[4] = {};
    qint32 stateCount = 32;
    QTime outputBeginTime;
    QTime outputBOTurnTime;
    double beginRampValue[8] = {};
    double endRampValue = 0.0;
    double actionRampTime = kSteadyOutputTime;
    double actionRampStep = 0.0;          // its magnitude is used
    bool autoRampEnabled = false;
    bool rampRanOut = false;              // the run ended with no step of the ramp left
    faultActionValStruct faultActionValues[4];
    double faultActionTimes[4];
    qint32 faultActionStates[4] = {-1, -1, -1, -1};
    qint32 faultActionBiIndex = -1;
    qint32 actionRampFactor = 0;
    qint32 currentRampFactor = 1;
    bool lastState = false;
    bool lastStep = false;
    RampPortType faultActionPort = ModelEntity::RAMP_PORT_TYPE_UA;
    RampItemType faultActionItem = ModelEntity::RAMP_ITEM_TYPE_RANGE;
    qint32 faultActionOrder = 0;          // ramped slot, 0-3
    FaultActionType faultActionType = ModelEntity::ACTION_TYPE_STOP;

    // Contract operations (testor thread).
    void switchToResetState();
    // The part of switchToResetState that touches no driver record.
    void resetRampState();
    void resetActionValues();
    void updateToDriverValue();
    void updateToDriverStateCount();
    bool switchToNextState();
    void updateToDriverBOStates();
    void updateFromDriverState();
    int updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time);
    // As above, valued with the page the instrument played when the input
    // acted (the testor names it) instead of the current outputs.
    int updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time,
                               const ModelEntity::PageOutputs& page);
    int updateFromDriverAction(int bi1flag, int bi2flag, float time, int index);
    // What the page written last plays (after updateToDriverValue): the
    // ramped slot (faultActionOrder) of each channel, of the next state with
    // the ramp on, else of the current one.
    ModelEntity::PageOutputs pageOutputs() const;
    // Clamps slot 0 only; harmonic slots are left as entered. Keeps both
    // limits for the check of what the channels give (beyondOutputs).
    void formatLimitValue(double vmax, double imax);
    // Keeps the limits alone (the start's check of settings not clamped).
    void keepLimits(double vmax, double imax);
    // The limit a channel's amplitudes are held to (infinite before any).
    double outputLimit(int channel) const { return channel < ModelEntity::AO_PORT_TYPE_IA ? voltageLimit : currentLimit; }

    // False when the run must not start (or go on): a non-finite amplitude,
    // angle or fundamental frequency in any slot, a harmonic beyond the
    // outputs' highest frequency; with the ramp on also a
    // non-finite step, end value or state time, a ramped slot outside 0-3 or a
    // stateCount above kMaxStateCount.
    bool checkOutputValues() const;
    // After switchToResetState: the first channel (UA..IX) whose components
    // would take it where its output cannot go: a component amplitude below
    // 0, or the sum of its slots' amplitudes (what the channel reaches where
    // its components peak together) above the limit formatLimitValue last
    // took. With the amplitude ramp on, the ramped slot of the group's
    // channels counts at its start and at the end value.
    ModelEntity::RampBeyondOutputs beyondOutputs() const;
    // Largest RMS value (getRMSnew) of the current channels IA..IX.
    double maxOutputCurrent() const;

    // sqrt of the sum of the squared slot amplitudes.
    double getRMSnew(AOPortType port) const;
    // Slot 0 plus sqrt of the sum of the squared harmonic amplitudes.
    double getRMS(AOPortType port) const;
    // The ramped slot of the group's first channel (0 for an empty group).
    void getOutputValue(RampPortType portType, const double (*outputArry)[4], double& value) const;
    void setOutputValue(RampPortType portType, double (*outputArry)[4], double value);

    // Ramp helpers on [channel][faultActionOrder]; nothing happens for a
    // ramped slot outside 0-3.
    double getMinMaxBeginRampVal(const double (*outputArry)[4], bool add) const;
    int updateCurrentVal(double& currentValue, double beginVal) const;
    int updateNextOuputVal(double (*outputArry)[4]);
    void getFaultActionValue(RampPortType portType, const double (*outputArry)[4],
                             faultActionValStruct& value) const;

    bool rampSlotValid() const { return faultActionOrder >= 0 && faultActionOrder < 4; }
    // The outputs of the ramp's slot (faultActionOrder) of these arrays; none
    // without a slot. Under the entity's lock.
    ModelEntity::PageOutputs slotOutputs(const double (*ranges)[4], const double (*angles)[4]) const;

private:
    // The amplitude limits formatLimitValue last took (none before).
    double voltageLimit = std::numeric_limits<double>::infinity();
    double currentLimit = std::numeric_limits<double>::infinity();
};
