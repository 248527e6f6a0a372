#pragma once

#include "CommDriverData.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <limits>

// Enumerations shared by the module entities (same values as the driver's
// COMMTriggerType, COMMLinkStateType and COMMBILogicType), small numeric
// helpers, and the logic several entities share: free functions, and small
// templates over an entity's public fields (the entities stay plain classes). Entities bring the type names in with `using X = ModelEntity::X;`;
// the enumerators are reached as ModelEntity::NAME. The underlying type is
// fixed, so a value outside the list (from a file or the network) is a valid
// value that the entities treat as unknown rather than undefined behaviour.
namespace ModelEntity {

// Channels 0-3 are voltages, 4-7 currents.
enum AOPortType : qint32 {
    AO_PORT_TYPE_UA = 0,
    AO_PORT_TYPE_UB = 1,
    AO_PORT_TYPE_UC = 2,
    AO_PORT_TYPE_UX = 3,
    AO_PORT_TYPE_IA = 4,
    AO_PORT_TYPE_IB = 5,
    AO_PORT_TYPE_IC = 6,
    AO_PORT_TYPE_IX = 7
};

// How a state ends.
enum AOTriggerType : qint32 {
    AO_TRIGGER_TYPE_TIME = 0,
    AO_TRIGGER_TYPE_BINARY = 1,
    AO_TRIGGER_TYPE_TIME_BINARY = 2,
    AO_TRIGGER_TYPE_KEY_PRESS = 3,
    AO_TRIGGER_TYPE_GPS = 4
};

// Progress of a state or point.
enum AOTestStateType : qint32 {
    AO_STATE_TYPE_INITING = 0,
    AO_STATE_TYPE_RUNNNING = 1,
    AO_STATE_TYPE_COMPLETED = 2
};

// How a state joins the previous one.
enum AOLinkStateType : qint32 {
    AO_LINKSTATE_TYPE_CONTINUE = 0,
    AO_LINKSTATE_TYPE_INITIATE = 1
};

// How binary inputs combine.
enum AOBILogicType : qint32 {
    AO_BILOGIC_TYPE_OR = 0,
    AO_BILOGIC_TYPE_AND = 1
};

// What a trip does (AC, DC, harmonic).
enum FaultActionType : qint32 {
    ACTION_TYPE_STOP = 0,
    ACTION_TYPE_RETURN = 1,
    ACTION_TYPE_CONTINUE = 2
};

enum RampItemType : qint32 {
    RAMP_ITEM_TYPE_RANGE = 0,
    RAMP_ITEM_TYPE_ANGLE = 1,
    RAMP_ITEM_TYPE_FREQUENCY = 2
};

// Port groups a ramp moves.
enum RampPortType : qint32 {
    RAMP_PORT_TYPE_UA = 0,
    RAMP_PORT_TYPE_UB = 1,
    RAMP_PORT_TYPE_UC = 2,
    RAMP_PORT_TYPE_UX = 3,
    RAMP_PORT_TYPE_UAUB = 4,
    RAMP_PORT_TYPE_UBUC = 5,
    RAMP_PORT_TYPE_UCUA = 6,
    RAMP_PORT_TYPE_UAUBUC = 7,
    RAMP_PORT_TYPE_IA = 8,
    RAMP_PORT_TYPE_IB = 9,
    RAMP_PORT_TYPE_IC = 10,
    RAMP_PORT_TYPE_IX = 11,
    RAMP_PORT_TYPE_IAIB = 12,
    RAMP_PORT_TYPE_IBIC = 13,
    RAMP_PORT_TYPE_ICIA = 14,
    RAMP_PORT_TYPE_IAIBIC = 15
};

// The driver's twins: the entities write these values into its records.
static_assert(AO_PORT_TYPE_UA == int(COMM_PORT_TYPE_UA) && AO_PORT_TYPE_UB == int(COMM_PORT_TYPE_UB)
                  && AO_PORT_TYPE_UC == int(COMM_PORT_TYPE_UC) && AO_PORT_TYPE_UX == int(COMM_PORT_TYPE_UX)
                  && AO_PORT_TYPE_IA == int(COMM_PORT_TYPE_IA) && AO_PORT_TYPE_IB == int(COMM_PORT_TYPE_IB)
                  && AO_PORT_TYPE_IC == int(COMM_PORT_TYPE_IC) && AO_PORT_TYPE_IX == int(COMM_PORT_TYPE_IX),
              "AOPortType differs from COMMPortType");
static_assert(AO_TRIGGER_TYPE_TIME == int(COMM_TRIGGER_TYPE_TIME)
                  && AO_TRIGGER_TYPE_BINARY == int(COMM_TRIGGER_TYPE_BINARY)
                  && AO_TRIGGER_TYPE_TIME_BINARY == int(COMM_TRIGGER_TYPE_TIME_BINARY)
                  && AO_TRIGGER_TYPE_KEY_PRESS == int(COMM_TRIGGER_TYPE_KEY_PRESS)
                  && AO_TRIGGER_TYPE_GPS == int(COMM_TRIGGER_TYPE_GPS),
              "AOTriggerType differs from COMMTriggerType");
static_assert(AO_LINKSTATE_TYPE_CONTINUE == int(COMM_LINKSTATE_TYPE_CONTINUE)
                  && AO_LINKSTATE_TYPE_INITIATE == int(COMM_LINKSTATE_TYPE_INITIATE),
              "AOLinkStateType differs from COMMLinkStateType");
static_assert(AO_BILOGIC_TYPE_OR == int(COMM_BILOGIC_TYPE_OR) && AO_BILOGIC_TYPE_AND == int(COMM_BILOGIC_TYPE_AND),
              "AOBILogicType differs from COMMBILogicType");

// The name of a channel (AOPortType), "" for another value.
inline const char* channelName(int channel)
{
    static const char* const names[8] = {"UA", "UB", "UC", "UX", "IA", "IB", "IC", "IX"};
    return channel >= 0 && channel < 8 ? names[channel] : "";
}

// The unit of a ramp item's value (RampItemType) on a channel (AOPortType):
// Hz for a frequency, else V on a voltage and A on a current channel.
inline const char* rampUnit(int item, int channel)
{
    return item == RAMP_ITEM_TYPE_FREQUENCY ? "Hz" : channel < AO_PORT_TYPE_IA ? "V" : "A";
}

// The frequencies the outputs give, Hz.
constexpr double kMinOutputFrequency = 10.0;
constexpr double kMaxOutputFrequency = 1000.0;

// A value a ramp (or, steady, the output itself) would take a channel to
// that its output cannot give, and the range it can (in the rampUnit of its
// item and channel).
struct RampBeyondOutputs
{
    bool beyond = false;
    int channel = 0;   // AOPortType
    int item = 0;      // RampItemType
    double value = 0.0;
    double low = 0.0;
    double high = 0.0;
    bool steady = false;   // the value is set, not reached by a ramp
};

// Channels of a channel or channel group, in group order (UCUA is 2, 0;
// ICIA is 6, 4). Returns the count, 0 for a value outside the enumeration.
inline int rampPortChannels(int portType, int channels[3])
{
    // clang-format off
    static const int table[16][4] = {
        {1, 0, 0, 0}, {1, 1, 0, 0}, {1, 2, 0, 0}, {1, 3, 0, 0},
        {2, 0, 1, 0}, {2, 1, 2, 0}, {2, 2, 0, 0}, {3, 0, 1, 2},
        {1, 4, 0, 0}, {1, 5, 0, 0}, {1, 6, 0, 0}, {1, 7, 0, 0},
        {2, 4, 5, 0}, {2, 5, 6, 0}, {2, 6, 4, 0}, {3, 4, 5, 6},
    };
    // clang-format on
    if (portType < 0 || portType > 15)
        return 0;
    const int count = table[portType][0];
    for (int k = 0; k < count; ++k)
        channels[k] = table[portType][k + 1];
    return count;
}

// Action values of the channels of one ramped group (AC, DC, harmonic, power
// swing): portCnt valid entries in group order, 0 = nothing recorded.
struct faultActionValStruct
{
    qint32 portCnt = 0;
    double actionVal[3] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::quiet_NaN()};
};

// What one output page plays, as the entity set it: amplitude, angle and
// frequency of each channel (the ramped component where a channel has more).
// A trip is recorded with the values of the page it happened on.
struct PageOutputs
{
    double ranges[8] = {};
    double angles[8] = {};
    double frequencies[8] = {};

    PageOutputs() = default;
    PageOutputs(const double* r, const double* a, const double* f)
    {
        std::copy(r, r + 8, ranges);
        std::copy(a, a + 8, angles);
        std::copy(f, f + 8, frequencies);
    }
    // The array of a RampItemType, null for an unknown item.
    const double* item(int rampItem) const
    {
        switch (rampItem) {
        case RAMP_ITEM_TYPE_RANGE: return ranges;
        case RAMP_ITEM_TYPE_ANGLE: return angles;
        case RAMP_ITEM_TYPE_FREQUENCY: return frequencies;
        default: return nullptr;
        }
    }
};

// Folds an angle into [0, 360) arithmetically, so any finite magnitude
// takes constant time. A non-finite angle comes back unchanged; callers
// that must not output it check with isFiniteValue first.
inline double foldAngle360(double angle)
{
    if (!std::isfinite(angle))
        return angle;
    double value = std::fmod(angle, 360.0);
    if (value < 0.0)
        value += 360.0;
    if (value >= 360.0)   // a tiny negative remainder rounds up to 360
        value = 0.0;
    return value + 0.0;
}

// The folded angle as the driver record holds it: in [0, 360) after the
// rounding to float too; a non-finite angle gives 0.
inline float foldAngle360f(double angle)
{
    if (!std::isfinite(angle))
        return 0.0f;
    const float value = float(foldAngle360(angle));
    return value >= 360.0f ? 0.0f : value;
}

inline bool isFiniteValue(double value)
{
    return std::isfinite(value);
}

// Finite and representable in the driver record's float fields.
inline bool isFiniteFloat(double value)
{
    return std::isfinite(value) && std::fabs(value) <= double(std::numeric_limits<float>::max());
}

// ---- Helpers shared by the entities (bodies in ModelEntityShared.cpp) ----

// A value as the driver record's float holds it; 0 when not representable.
inline float recordFloat(double value)
{
    return isFiniteFloat(value) ? float(value) : 0.0f;
}

inline bool allFiniteFloat(const double* values, int count)
{
    return std::all_of(values, values + count, [](double v) { return isFiniteFloat(v); });
}

// Empties an action value (no channel, every value NaN).
void clearFaultAction(faultActionValStruct& value);

// Zeroes the driver's state index and binary-input action flag.
void resetDriverStatus();
// Sends the four BO levels to the control record.
void writeDriverBOStates(const qint32 states[4]);
// Zeroes the amplitude, angle and frequency of every channel and slot.
void clearDriverOutputs(CommDriverTestOutputData& out);
// Clamps eight channel amplitudes: 0-3 to vmax, 4-7 to imax.
void limitChannelRanges(double ranges[8], double vmax, double imax);

// Clears what a run records of every state of E (kMaxStates states, four
// binary inputs each): no action time or input state, no update, not begun.
template <class E>
void clearStateActions(E& e)
{
    for (int s = 0; s < E::kMaxStates; ++s) {
        for (int i = 0; i < 4; ++i) {
            e.stateActionTimes[s][i] = std::numeric_limits<double>::quiet_NaN();
            e.stateActionBIStates[s][i] = -1;
        }
        e.stateActionUpdateState[s] = -1;
        e.stateTestStates[s] = AO_STATE_TYPE_INITING;
    }
}

// Records a binary-input report of a state into times / biIndex. OR logic,
// or a report of a completed state, takes the reporting input; AND logic
// marks every input the report names (biflag, 2 bits per input) and takes
// the report once every watched input (biStates != 0) has a time. False when
// nothing was taken.
bool recordBIAction(double times[4], qint32& biIndex, const qint32 biStates[4], qint32 logic, bool complete, int biflag,
                    int index, double time);

// Ramp group helpers over one value per channel (port is a RampPortType).
// The smallest (add) or largest value of the group; 0 for an unknown group.
double rampGroupBegin(int port, const double* values, bool add);
// The group's values in group order.
void readRampGroup(int port, const double* values, faultActionValStruct& value);
void setRampGroup(int port, double* values, double value);

// Moves a ramped value one step (rampFactor >= 1 rising, else falling; leg 1
// toward endVal, -1 back toward beginVal). 0 once the leg's end is reached
// (value set to it), else 1.
int rampStepValue(double& value, double beginVal, double endVal, double step, qint32 rampFactor, qint32 leg);

// Steps a searched quantity one step from begin toward end (first: start at
// begin). Sets last when x has reached end.
double stepSearchValue(double x, double begin, double end, double step, bool first, bool& last);

// A page between the faults (pre-fault, interval) watches both edges of
// every input the faults watch (biStates), with OR logic, and ends on its
// time alone: the instrument stamps the trip a fault's last debounce hid and
// the relay's reset, for the fault after it to be judged by.
inline void watchBetweenFaults(CommDriverTestOutputData& out, const qint32 biStates[4])
{
    for (int i = 0; i < 4; ++i) {
        const quint32 watched = (biStates[i] & 3) != 0 ? 1u : 0u;
        out.outputBIRiseEnables[i] = watched;
        out.outputBIFallEnables[i] = watched;
    }
    out.outputBILogic = quint32(AO_BILOGIC_TYPE_OR);
    out.outputTriggerType = quint16(COMM_TRIGGER_TYPE_TIME);
}

// ---- Fixed state sequences in groups of three (distance, overcurrent) ----
// E has kMaxStates, stateCount, the state arrays and the action records.
namespace StateGroups {

template <class E>
void writeDriverValue(const E& e, CommDriverTestOutputData& out)
{
    clearDriverOutputs(out);
    out.outputTime = 0.0f;
    out.outputTriggerType = COMM_TRIGGER_TYPE_TIME;

    const int k = e.outputSendingStateIndex;
    if (k < 0 || k >= E::kMaxStates || k >= e.stateCount)
        return;   // past the last state: zeroes only, the other fields as the previous page

    const int previous = k > 0 ? k - 1 : 0;
    for (int c = 0; c < 8; ++c) {
        out.outputRanges[c][0] = recordFloat(e.stateOutputRanges[k][c]);
        out.outputAngles[c][0] = foldAngle360f(e.stateOutputAngles[k][c]);
        out.outputFrequencies[c][0] = recordFloat(e.stateOutputFrequencies[k][c]);
        out.currentOutputRanges[c][0] = recordFloat(e.stateOutputRanges[previous][c]);
    }
    out.outputLinkStateType = COMM_LINKSTATE_TYPE_INITIATE;
    out.outputLevelControlType = COMM_LEVELCONTROL_TYPE_AUTO;
    out.outputBOControlType = COMM_BOCONTROL_TYPE_AUTO;
    for (int i = 0; i < 4; ++i) {
        out.outputBOHoldEnables[i] = 1;
        out.outputBOTurnEnables[i] = 1;
        out.outputBOInitStates[i] = quint32(e.stateOutputBOStates[k][i]);
    }
    if (k % 3 == 1) {
        for (int i = 0; i < 4; ++i) {
            out.outputBIRiseEnables[i] = quint32(e.stateOutputBIStates[i] & 1);
            out.outputBIFallEnables[i] = quint32((e.stateOutputBIStates[i] >> 1) & 1);
        }
        out.outputBILogic = quint32(e.stateBILogicTypes);
        out.outputTriggerType = quint16(COMM_TRIGGER_TYPE_TIME_BINARY);
    } else {
        watchBetweenFaults(out, e.stateOutputBIStates);
    }
    out.outputTime = recordFloat(e.stateOutputTimes[k]);
}

template <class E>
void updateFromState(E& e, int statusTestStateIndex)
{
    if (DriverStateWord(statusTestStateIndex).ended() && e.outputRunningStateIndex <= E::kMaxStates)
        ++e.outputRunningStateIndex;
    const int r = e.outputRunningStateIndex;
    if (r < 1 || r > E::kMaxStates || r > e.stateCount)
        return;
    switch (r % 3) {
    case 0:
        if (r < e.stateCount) {
            e.stateTestStates[r - 1] = AO_STATE_TYPE_COMPLETED;
            for (int s = r; s < r + 3 && s < E::kMaxStates; ++s)
                e.stateTestStates[s] = AO_STATE_TYPE_RUNNNING;
        }
        break;
    case 2:
        e.stateTestStates[r - 2] = AO_STATE_TYPE_COMPLETED;
        e.stateTestStates[r - 1] = AO_STATE_TYPE_COMPLETED;
        break;
    default: break;
    }
}

// State-end report: times of BI1 / BI2 for state index - 1.
template <class E>
int updateFromStateEnd(E& e, int bi1flag, int bi2flag, float time, int index)
{
    if (index < 1 || index > e.stateCount || index > E::kMaxStates)
        return -1;
    const int s = index - 1;
    const double t = double(time);
    if (e.stateActionUpdateState[s] < 0) {
        if (bi1flag)
            e.stateActionTimes[s][0] = t;
        if (bi2flag)
            e.stateActionTimes[s][1] = t;
        e.stateActionUpdateState[s] = 0;
        return 0;
    }
    bool changed = false;
    if (bi1flag && e.stateActionTimes[s][0] != t) {
        e.stateActionTimes[s][0] = t;
        changed = true;
    }
    if (bi2flag && e.stateActionTimes[s][1] != t) {
        e.stateActionTimes[s][1] = t;
        changed = true;
    }
    return changed ? 0 : -1;
}

// Binary-input report in a fault state.
template <class E>
int updateFromBIAction(E& e, int statusTestStateIndex, int biflag, int index, float time)
{
    const int r = e.outputRunningStateIndex;
    if (r < 1 || r % 3 != 1 || r >= e.stateCount || r >= E::kMaxStates || !DriverStateWord(statusTestStateIndex).ended())
        return -1;
    if (index < 0 || index > 3)
        return -1;
    e.stateActionTimes[r][index] = double(time);
    e.stateActionBIStates[r][index] = (biflag >> (2 * index)) & 3;
    return 0;
}

// The fault switchToNextState would send next (past the states the entity
// passes over), -1 when the next state is none.
template <class E>
int nextFault(const E& e)
{
    int k = std::max(e.outputSendingStateIndex + 1, 0);
    while (e.passesOver(k))
        ++k;
    return k % 3 == 1 && k < std::min(e.stateCount, int(E::kMaxStates)) ? k : -1;
}

// The contract's report of an action in the running state: the trip of a
// fault state (0) on a report that ended it, with an edge the state watches
// (`watch`, bit 0 rising, bit 1 falling); else ignored (-1). In a run the
// testor stores the judgement of contacts instead (takeJudged).
template <class E>
int recordReport(E& e, int statusTestStateIndex, int biflag, int index, float time, const qint32* watch)
{
    const int r = e.outputRunningStateIndex;
    if (r < 0 || r >= std::min(e.stateCount, int(E::kMaxStates)) || r % 3 != 1 || index < 0 || index > 3
        || !DriverStateWord(statusTestStateIndex).ended())
        return -1;
    const qint32 code = (biflag >> (2 * index)) & 3;
    if ((watch[index] & code) == 0)
        return -1;
    e.stateActionTimes[r][index] = double(time);
    e.stateActionBIStates[r][index] = code;
    return 0;
}

// What the judgement of contacts says of state r: its trip (the input, its
// edge code 1 rising or 2 falling, the time from the state's start), or no
// trip (input -1): the state's recorded actions are the judgement's alone.
template <class E>
void takeJudged(E& e, int r, int input, qint32 code, double seconds)
{
    if (r < 0 || r >= std::min(e.stateCount, int(E::kMaxStates)))
        return;
    for (int i = 0; i < 4; ++i) {
        e.stateActionTimes[r][i] = i == input ? seconds : std::numeric_limits<double>::quiet_NaN();
        e.stateActionBIStates[r][i] = i == input ? code : -1;
    }
}

// Follows the states ended up to `state` (the switch went on past them),
// each as if the instrument had reported it ended; stops where one does not
// move on. The caller holds the entity's lock.
template <class E>
void followTo(E& e, int state)
{
    const int target = std::min(state, int(E::kMaxStates) + 1);
    while (e.outputRunningStateIndex < target) {
        const int before = e.outputRunningStateIndex;
        e.updateFromDriverState(DriverStateWord::kEndedBit);
        if (e.outputRunningStateIndex == before)
            break;
    }
}

template <class E>
bool checkValues(const E& e)
{
    if (e.stateCount < 1 || e.stateCount > E::kMaxStates)
        return false;
    for (int s = 0; s < e.stateCount; ++s) {
        if (!allFiniteFloat(e.stateOutputRanges[s], 8) || !allFiniteFloat(e.stateOutputAngles[s], 8)
            || !allFiniteFloat(e.stateOutputFrequencies[s], 8) || !isFiniteFloat(e.stateOutputTimes[s]))
            return false;
    }
    return true;
}

}   // namespace StateGroups

// A state's four binary-input settings (bit 0 rising, bit 1 falling edge)
// watch an edge of some input.
inline bool watchesInput(const qint32 biStates[4])
{
    return std::any_of(biStates, biStates + 4, [](qint32 edges) { return (edges & 3) != 0; });
}

// The instrument's debounce: an input change counts once it has been stable
// this long (0 before the driver's records exist).
inline double debounceSeconds()
{
    const CommDriverConfigureSoftData* soft = globalConfigureSoftData;
    const double seconds = soft ? double(soft->ditherTime) : 0.0;
    return std::isfinite(seconds) && seconds > 0.0 ? seconds : 0.0;
}

// An action's time from its stamp (us from its page's start to the end of
// the debounce), for a module that takes it without the run's record: the
// stamp less the debounce, at least 1 ms; a stamp not past the debounce as
// it is (its contact moved before its page began).
inline double actionSeconds(int64_t stampUs)
{
    const int64_t debounceUs = std::llround(debounceSeconds() * 1e6);
    if (stampUs > debounceUs)
        return double(std::max<int64_t>(stampUs - debounceUs, 1000)) / 1e6;
    return double(stampUs) / 1e6;
}

// ---- Steady output with an optional action ramp (AC, DC, harmonic) ----
namespace ActionRamp {

// Page fields other than the channel values: BO levels, the watched binary
// inputs and their logic, the state time and how the page ends. A ramp's last
// page plays its time and the debounce after it: a contact the ramp's last
// steps moved is confirmed, and its trip recorded, before the run ends.
template <class E>
void writePageSettings(const E& e, CommDriverTestOutputData& out)
{
    out.outputLevelControlType = COMM_LEVELCONTROL_TYPE_AUTO;
    out.outputBOControlType = COMM_BOCONTROL_TYPE_AUTO;
    for (int i = 0; i < 4; ++i) {
        out.outputBOInitStates[i] = quint32(e.stateOutputBOStates[i]);
        out.outputBOHoldEnables[i] = 1;
        out.outputBOTurnEnables[i] = 1;
        out.outputBIRiseEnables[i] = quint32(e.stateOutputBIStates[i]) & 1u;
        out.outputBIFallEnables[i] = (quint32(e.stateOutputBIStates[i]) >> 1) & 1u;
    }
    out.outputBILogic = quint32(e.stateBILogicTypes);
    out.outputLinkStateType = COMM_LINKSTATE_TYPE_INITIATE;
    const double held = e.lastState ? debounceSeconds() : 0.0;
    out.outputTime = e.autoRampEnabled ? recordFloat(e.actionRampTime + held) : float(E::kSteadyOutputTime);
    out.outputTriggerType = e.faultActionType == ACTION_TYPE_CONTINUE ? COMM_TRIGGER_TYPE_TIME
                                                                      : COMM_TRIGGER_TYPE_TIME_BINARY;
}

template <class E>
void updateToDriverStateCount(const E& e)
{
    if (globalTestOutputData)
        globalTestOutputData->outputStateCount = quint32(std::clamp(e.stateCount, 0, E::kMaxStateCount) + 1);
}

}   // namespace ActionRamp

// ---- Load-shedding point searches (slip frequency, slip voltage) ----
// Per point a cycle of pre-fault, fault and after-fault pages; E has
// kMaxPoints, kMaxStateCount, ITEM_ACTION_TIME, ITEM_LOW_I_LOCK and the
// AO_RUN_STATE_* values, and the point, page and output fields.
namespace LoadShedding {

template <class E>
int pointLimit(const E& e)
{
    return std::clamp(e.pointCnt, 0, E::kMaxPoints);
}

template <class E>
void setNextChannel(E& e, int channel, COMMStatePropertyEnableType property, double range, double angle,
                    double frequency)
{
    e.portProperty[channel] = property;
    e.nextOutputRanges[channel] = range;
    e.nextOutputAngles[channel] = angle;
    e.nextOutputFrequencies[channel] = frequency;
}

template <class E>
void resetActionValues(E& e)
{
    for (int p = 0; p < E::kMaxPoints; ++p) {
        e.stateActionTimes[p] = std::numeric_limits<double>::quiet_NaN();
        e.stateActionValue[p] = std::numeric_limits<double>::quiet_NaN();
        e.stateTestStates[p] = AO_STATE_TYPE_INITING;
    }
    e.stateTestStates[0] = AO_STATE_TYPE_RUNNNING;
}

// Three pages per cycle; a searching point runs |begin - end| / step + 2
// cycles (2 for a zero step), saturated at kMaxStateCount + 1.
template <class E>
qint32 stateCount(const E& e)
{
    constexpr double saturated = double(E::kMaxStateCount) + 1.0;
    double total = 0.0;
    for (int p = 0; p < pointLimit(e); ++p) {
        double cycles = 1.0;
        if (e.testItemType[p] != E::ITEM_ACTION_TIME) {
            const double step = std::fabs(e.rampStepValues[p]);
            if (step < 1e-7) {
                cycles = 2.0;
            } else {
                const double quotient = std::fabs(e.rampBeginValues[p] - e.rampEndValues[p]) / step + 2.0;
                cycles = std::isfinite(quotient) ? std::trunc(std::min(quotient, saturated)) : saturated;
            }
        }
        total += 3.0 * cycles;
    }
    return qint32(std::min(total, saturated));
}

template <class E>
void switchToResetState(E& e)
{
    constexpr COMMStatePropertyEnableType base = COMM_STATE_PROPERTY_ENABLE_TYPE_BASE;
    resetDriverStatus();
    e.outputSendingPointIndex = 0;
    e.outputRunningPointIndex = 0;
    e.outputRunningStateIndex = 0;
    for (qint32& index : e.maxStateIndex)
        index = -1;
    for (qint32& index : e.searchEndState)
        index = -1;
    e.firstFaultStep = true;
    e.lastFaultStep = false;
    e.lastState = false;
    e.actionEnable = false;   // a trip of the previous run must not end this run's first point
    e.runningVariant = std::numeric_limits<double>::quiet_NaN();
    // UX and IX carry the interval values for the whole run.
    for (int c : {int(AO_PORT_TYPE_UX), int(AO_PORT_TYPE_IX)})
        setNextChannel(e, c, base, e.intervalOutputRanges[c], e.intervalOutputAngles[c],
                       e.intervalOutputFrequencies[c]);
    e.switchToPreFaultState();
    for (int c = 0; c < 8; ++c) {
        e.portProperty[c] = base;
        e.outputRanges[c] = e.nextOutputRanges[c];
        e.outputAngles[c] = e.nextOutputAngles[c];
        e.outputFrequencies[c] = e.nextOutputFrequencies[c];
    }
    e.stateCount = e.computeStateCount();
    e.maxStateIndex[0] = 0;
    e.sendingStateType = E::AO_RUN_STATE_PRE_FAULT;
}

template <class E>
void updateToDriverStateCount(const E& e)
{
    if (globalTestOutputData)
        globalTestOutputData->outputStateCount = quint32(std::clamp(e.stateCount, 0, E::kMaxStateCount) + 1);
}

// Normal UA..UC; IA..IC at zero, or at the rated current for low-current blocking.
template <class E>
void switchToPreFaultState(E& e)
{
    const int p = e.outputSendingPointIndex;
    if (p < 0 || p >= E::kMaxPoints)
        return;
    constexpr COMMStatePropertyEnableType base = COMM_STATE_PROPERTY_ENABLE_TYPE_BASE;
    const bool lowCurrent = e.testItemType[p] == E::ITEM_LOW_I_LOCK;
    for (int c = 0; c < 3; ++c) {
        setNextChannel(e, c, base, e.normalOutputRanges[c], e.normalOutputAngles[c], e.normalOutputFrequencies[c]);
        setNextChannel(e, c + 4, base, lowCurrent ? e.rateCurrent : 0.0, e.normalOutputAngles[c + 4],
                       e.normalOutputFrequencies[c + 4]);
    }
    e.outputTime = e.normalTime;
    e.linkType = AO_LINKSTATE_TYPE_INITIATE;
    e.biEnable = 0;
}

// Steps *stepped (the searched quantity of the sending point) and records it
// as the running variant.
template <class E>
void stepSearched(E& e, int p, float* stepped)
{
    const double x = stepSearchValue(double(*stepped), e.rampBeginValues[p], e.rampEndValues[p],
                                     std::fabs(e.rampStepValues[p]), e.firstFaultStep, e.lastFaultStep);
    *stepped = recordFloat(x);
    e.runningVariant = double(*stepped);
}

template <class E>
void switchToAfterFaultState(E& e)
{
    for (int c = 0; c < 8; ++c)
        setNextChannel(e, c, COMM_STATE_PROPERTY_ENABLE_TYPE_BASE, e.intervalOutputRanges[c], e.intervalOutputAngles[c],
                       e.intervalOutputFrequencies[c]);
    e.outputTime = e.intervalTime;
    e.biEnable = 0;
}

template <class E>
bool switchToNextState(E& e)
{
    std::copy(e.nextOutputRanges, e.nextOutputRanges + 8, e.outputRanges);
    const int count = pointLimit(e);
    int& p = e.outputSendingPointIndex;
    const bool pointValid = p >= 0 && p < count;

    switch (e.sendingStateType) {
    case E::AO_RUN_STATE_PRE_FAULT:
        if (!pointValid)
            return false;
        ++e.maxStateIndex[p];
        e.switchToFaultStateNextStep();
        if (e.lastFaultStep)
            e.searchEndState[p] = e.maxStateIndex[p];
        e.sendingStateType = E::AO_RUN_STATE_FAULT;
        break;
    case E::AO_RUN_STATE_FAULT:
        if (!pointValid)
            return false;
        ++e.maxStateIndex[p];
        e.switchToAfterFaultState();
        if (e.lastFaultStep && p + 1 >= count)
            e.lastState = true;
        e.sendingStateType = E::AO_RUN_STATE_AFTER_FAULT;
        break;
    default:
        if (e.actionEnable) {
            p = std::min(p + 1, count);
            e.actionEnable = false;
            e.lastFaultStep = false;
            e.firstFaultStep = true;
            if (p >= count)
                e.lastState = true;
        } else if (e.lastFaultStep) {
            p = std::min(p + 1, count);
            e.lastFaultStep = false;
            e.firstFaultStep = true;
        }
        if (!e.lastState && p >= count)
            return false;
        if (e.lastState) {
            e.switchToAfterFaultState();   // the closing page
            e.lastState = false;
            return true;
        }
        if (p < 0)
            return false;
        e.maxStateIndex[p] = (e.firstFaultStep && p > 0 ? e.maxStateIndex[p - 1] : e.maxStateIndex[p]) + 1;
        e.switchToPreFaultState();
        e.sendingStateType = E::AO_RUN_STATE_PRE_FAULT;
        break;
    }
    return true;
}

// Everything but the slide stop and rate (slideStop, slideSlip: the record's
// dfdt or drdt arrays, filled by the caller).
template <class E>
void writeDriverValue(const E& e, CommDriverTestOutputData& out)
{
    clearDriverOutputs(out);
    for (int c = 0; c < 8; ++c) {
        out.outputRanges[c][0] = recordFloat(e.nextOutputRanges[c]);
        out.outputAngles[c][0] = foldAngle360f(e.nextOutputAngles[c]);
        out.outputFrequencies[c][0] = recordFloat(e.nextOutputFrequencies[c]);
        out.currentOutputRanges[c][0] = recordFloat(e.outputRanges[c]);
        out.propertyEnables[c] = quint16(e.portProperty[c]);
    }
    out.outputLevelControlType = COMM_LEVELCONTROL_TYPE_AUTO;
    out.outputBOControlType = COMM_BOCONTROL_TYPE_AUTO;
    for (int i = 0; i < 4; ++i) {
        out.outputBOInitStates[i] = quint32(e.outputBOStates[i]);
        out.outputBOHoldEnables[i] = 1;
        out.outputBOTurnEnables[i] = 1;
        out.outputBIRiseEnables[i] = 1;
        out.outputBIFallEnables[i] = 1;
    }
    out.outputBILogic = COMM_BILOGIC_TYPE_OR;
    out.outputLinkStateType = quint32(e.linkType);
    out.outputTime = recordFloat(e.outputTime);
    // A fault ends on a trip, the pages between the faults on their time.
    out.outputTriggerType = e.biEnable ? COMM_TRIGGER_TYPE_TIME_BINARY : COMM_TRIGGER_TYPE_TIME;
}

// The running point ends once the instrument has passed its last page sent
// and the pages sent since are another point's: a page end followed before
// the point's next step is sent does not end its search.
template <class E>
void updateFromDriverState(E& e)
{
    if (e.outputRunningStateIndex < std::numeric_limits<qint32>::max())
        ++e.outputRunningStateIndex;
    const int count = pointLimit(e);
    int& point = e.outputRunningPointIndex;
    if (point >= 0 && point < count && e.outputRunningStateIndex > e.maxStateIndex[point]
        && e.outputSendingPointIndex > point)
        ++point;
    if (point >= 1 && point < count) {
        e.stateTestStates[point] = AO_STATE_TYPE_RUNNNING;
        e.stateTestStates[point - 1] = AO_STATE_TYPE_COMPLETED;
    }
    if (count >= 1 && point == count)
        e.stateTestStates[count - 1] = AO_STATE_TYPE_COMPLETED;
}

template <class E>
int updateFromDriverAction(E& e, float time)
{
    for (int p = 0; p < E::kMaxPoints; ++p) {
        if (e.outputRunningStateIndex <= e.maxStateIndex[p]) {
            e.stateActionTimes[p] = double(time);
            e.stateActionValue[p] = e.runningVariant;
            return 0;
        }
    }
    return -1;
}

// Checks common to both searches: point count, state count, finite normal
// and interval values and times, and per point the ramp values of a search.
template <class E>
bool checkCommonValues(const E& e)
{
    if (e.pointCnt < 1 || e.pointCnt > E::kMaxPoints)
        return false;
    if (e.computeStateCount() > E::kMaxStateCount)
        return false;
    if (!allFiniteFloat(e.normalOutputRanges, 8) || !allFiniteFloat(e.normalOutputAngles, 8)
        || !allFiniteFloat(e.normalOutputFrequencies, 8) || !allFiniteFloat(e.intervalOutputRanges, 8)
        || !allFiniteFloat(e.intervalOutputAngles, 8) || !allFiniteFloat(e.intervalOutputFrequencies, 8))
        return false;
    if (!isFiniteFloat(e.normalTime) || !isFiniteFloat(e.holdTime) || !isFiniteFloat(e.intervalTime))
        return false;
    for (int p = 0; p < e.pointCnt; ++p) {
        const int item = int(e.testItemType[p]);
        if (!isFiniteFloat(e.slipValue[p]))
            return false;
        if (item != E::ITEM_ACTION_TIME
            && (!isFiniteFloat(e.rampBeginValues[p]) || !isFiniteFloat(e.rampEndValues[p])
                || !isFiniteFloat(e.rampStepValues[p])))
            return false;
        if (item == E::ITEM_LOW_I_LOCK && !isFiniteFloat(e.rateCurrent))
            return false;
    }
    return true;
}

}   // namespace LoadShedding

}   // namespace ModelEntity
