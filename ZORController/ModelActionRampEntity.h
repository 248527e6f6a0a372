#pragma once

// The engine side the AC and DC tests share: eight channels (UA UB UC UX IA
// IB IC IX), either held until a stop or trip, or an automatic ramp of one
// item of one channel group, one step per state; the binary-input trips and
// their values (the action, and with RETURN the return). The module entity
// derives from it and writes the driver's output record
// (updateToDriverValue) and the current it drives (maxOutputCurrent).
// An amplitude-only entity ramps and records only RAMP_ITEM_TYPE_RANGE
// (another item counts from 0, never steps and records no value) and checks
// only the amplitudes before a start.
//
// Locking: entityLock guards every field. A writer (view model, network
// service) holds it across an edit and its formatLimitValue; the testor holds
// it across a start or switch (check, encode). Every operation also takes it
// itself; it is recursive, so an operation may be called with it held.
//
// Start checks for the testor: after switchToResetState (which computes
// stateCount), checkOutputValues() false means the start fails: nothing is
// sent and the run is reported as not started. On a switch, false ends the
// run. updateToDriverValue never writes a non-finite value (it writes 0).

#include "ModelEntityCommon.h"

#include <QRecursiveMutex>
#include <QTime>

class ModelActionRampEntity
{
public:
    using AOPortType = ModelEntity::AOPortType;
    using RampItemType = ModelEntity::RampItemType;
    using FaultActionType = ModelEntity::FaultActionType;
    using RampPortType = ModelEntity::RampPortType;
    using AOBILogicType = ModelEntity::AOBILogicType;
    using faultActionValStruct = ModelEntity::faultActionValStruct;

    // stateCount bound: only the low 16 bits of stateCount + 1 reach the
    // count register. A longer ramp saturates stateCount at kMaxStateCount + 1.
    static constexpr qint32 kMaxStateCount = 65534;
    static constexpr double kSteadyOutputTime = 36000.0;

    ModelActionRampEntity(const ModelActionRampEntity&) = delete;
    ModelActionRampEntity& operator=(const ModelActionRampEntity&) = delete;

    mutable QRecursiveMutex entityLock;

    double outputRanges[8] = {};
    double outputAngles[8] = {};
    double outputFrequencies[8] = {};
    double nextOutputRanges[8] = {};
    double nextOutputAngles[8] = {};
    double nextOutputFrequencies[8] = {};
    qint32 stateOutputBIStates[4] = {};   // bit 0 rising, bit 1 falling edge watched
    qint32 stateOutputBOStates[4] = {};
    AOBILogicType stateBILogicTypes = ModelEntity::AO_BILOGIC_TYPE_OR;
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
    faultActionValStruct faultActionReturnValues[4];
    double faultActionTimes[4];
    double faultActionReturnTimes[4];
    qint32 faultActionBiIndex = -1;
    qint32 faultActionReturnBiIndex = -1;
    qint32 faultActionStates[4] = {-1, -1, -1, -1};
    qint32 actionRampFactor = 0;          // >= 1 rising, else falling
    qint32 currentRampFactor = 1;         // 1 forward leg, -1 return leg
    bool lastState = false;
    bool lastStep = false;
    RampPortType faultActionPort = ModelEntity::RAMP_PORT_TYPE_UA;
    RampItemType faultActionItem = ModelEntity::RAMP_ITEM_TYPE_RANGE;
    FaultActionType faultActionType = ModelEntity::ACTION_TYPE_STOP;

    // Contract operations (testor thread); the module adds
    // updateToDriverValue and maxOutputCurrent.
    void switchToResetState();
    // The part of switchToResetState that touches no driver record: the
    // ramp's state count, begin values and first next state (a check of
    // settings that are not run calls it alone).
    void resetRampState();
    void resetActionValues();
    void updateToDriverStateCount();
    bool switchToNextState();
    void updateToDriverBOStates();
    void updateFromDriverState();
    // 0 when the report was recorded, -1 when ignored. The first form values
    // the trip with the current outputs, the second with those of the page
    // the instrument played when the input acted (the testor names it).
    int updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time);
    int updateFromDriverAction(int statusTestStateIndex, int biflag, int index, float time,
                               const ModelEntity::PageOutputs& page);
    // What the page written last plays (after updateToDriverValue): the next
    // state's values with the ramp on, else the current ones.
    ModelEntity::PageOutputs pageOutputs() const;
    int updateFromDriverAction(int bi1flag, int bi2flag, float time, int index);
    // Clamps the amplitudes into [0, vmax] (UA..UX) and [0, imax] (IA..IX),
    // and keeps both limits for the ramp's check (beyondOutputs).
    void formatLimitValue(double vmax, double imax);
    // Keeps the limits alone (the start's check of settings not clamped).
    void keepLimits(double vmax, double imax);
    // The limit a channel's amplitude is held to (infinite before any).
    double outputLimit(int channel) const { return channel < ModelEntity::AO_PORT_TYPE_IA ? voltageLimit : currentLimit; }

    // False when the run must not start (or go on): a non-finite amplitude,
    // angle or frequency (amplitude-only: amplitude), or with the ramp on a
    // non-finite step, end value or state time, a state time not above 0, an
    // item or port group outside the enumeration, or a stateCount above
    // kMaxStateCount.
    bool checkOutputValues() const;
    // After switchToResetState: a channel with an amplitude above 0 whose
    // frequency is outside [kMinOutputFrequency, kMaxOutputFrequency] (not
    // amplitude-only; steady); then with the ramp on, the first value the
    // ramp would take a channel of its group to (its start, then the end
    // value) that the output cannot give: an amplitude outside [0, the limit
    // formatLimitValue last took], a frequency outside the same range.
    // Angles are not limited.
    ModelEntity::RampBeyondOutputs beyondOutputs() const;

    // Ramp helpers.
    double getMinMaxBeginRampVal(const double* outputArry, bool add) const;
    int updateCurrentVal(double& currentValue, double beginVal) const;
    int updateNextOuputVal(double* outputArry);
    void getFaultActionValue(RampPortType portType, const double* outputArry,
                             faultActionValStruct& value) const;
    void setOutputValue(RampPortType portType, double* outputArry, double value);

    // The array of the ramped item (null for an unknown item).
    double* itemArray(RampItemType item);
    double* nextItemArray(RampItemType item);

protected:
    explicit ModelActionRampEntity(bool amplitudeOnly);
    ~ModelActionRampEntity() = default;

private:
    // Whether the ramp moves (and a trip records) faultActionItem.
    bool rampsItem() const;
    // The ramped group's values at a trip into value.
    void recordTripValues(faultActionValStruct& value, const ModelEntity::PageOutputs& page);

    const bool amplitudeOnly;
    // The amplitude limits formatLimitValue last took (none before).
    double voltageLimit = std::numeric_limits<double>::infinity();
    double currentLimit = std::numeric_limits<double>::infinity();
};
