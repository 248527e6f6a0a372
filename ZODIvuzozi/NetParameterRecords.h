#pragma once

// The PC's test parameter records turned into the values the module entities
// take, checked before anything is changed: a decode either yields every
// value or refuses the record whole.
//
// Each record has one table of the fields its conversion reads (where each
// lies, how it is stored, and the domain of what it becomes): the conversion
// reads the record through it alone. A field that becomes a setting is held
// to the setting's domain by the start's own check (ModuleStartDomains.h,
// ControllerModuleTable.h), on an entity of the module's own that nothing
// runs, holding the values as sent, with the device's ranges and the
// debounce the record brings (which the run then uses); a field no setting
// holds as sent (a count, a state number, a float taken as an integer, the
// debounce) is held to its own domain first. A record is taken only when a
// start would run it as sent (a state record as a sequence of that state
// alone). `why`, when given, gets the reason of a refusal, naming the field
// and its value.

#include "ModuleStartDomains.h"
#include "zobase_mytype.h"

#include <QString>
#include <QtGlobal>

#include <limits>

class ModelAlternateEntity;
class ModelHarmonicEntity;
class ModelRampingEntity;
class ModelStateSequenceEntity;

// One field a record's conversion reads: `count` values, value i at offset
// + (i / inner) x groupStride + (i % inner) x stride.
struct NetRecordField
{
    enum Type : u8 { U8, U32, F32 };
    const char* name;                 // in a refusal, "%1" for the value's number (from 1)
    u32 offset;
    Type type;
    u32 count = 1;
    u32 stride = 0;
    u32 inner = 1;                    // values per group
    u32 groupStride = 0;
    const StartDomain::Field* domain = nullptr;
    bool setting = false;             // held to `domain` by the start's check, once converted
    // The channel (AOPortType) of value i: none (-1), i % inner (the values
    // of a group are the ports) or i / inner (each group is a port's).
    enum Ports : u8 { NoPort, PortInGroup, PortPerGroup } ports = NoPort;

    u32 at(u32 i) const { return offset + (i / inner) * groupStride + (i % inner) * stride; }
    int channel(u32 i) const { return ports == PortInGroup ? int(i % inner) : ports == PortPerGroup ? int(i / inner) : -1; }
};

// A record's table: its size, and its fields.
struct NetRecordTable
{
    const char* name;                 // "AC", "state", "harmonic", "ramping"
    u16 subid;
    u32 size;
    const NetRecordField* fields;
    int count;
};
// The four tables: AC, state, harmonic, ramping.
const NetRecordTable& netAlternateTable();
const NetRecordTable& netStateTable();
const NetRecordTable& netHarmonicTable();
const NetRecordTable& netRampingTable();

// Value i of a field of a record of the table's size, as a double.
double netRecordValue(const u8* record, const NetRecordField& field, u32 i);

// The configuration values a decode depends on.
struct NetRecordLimits
{
    double maxVRange = 0.0;
    double maxIRange = 0.0;
    double rateFrequency = 50.0;
    double ditherTime = 0.0;   // the configuration's present dither time
    // The instrument's trigger times and longest page (the debounce: above).
    bool triggerTimes = false;
    double longestPage = std::numeric_limits<double>::infinity();
};

// The conditions a record is checked under: the limits', with the debounce
// the record brings when it brings one (ditherTime >= 0), else the one in force.
StartConditions netConditions(const NetRecordLimits& limits, double ditherTime);

struct NetPhaseValues
{
    double ranges[8] = {};
    double angles[8] = {};
    double frequencies[8] = {};
};

// Binary-input trigger of input i: 1 rising edge, 2 falling edge, 3 both.
qint32 netConvertBIState(u32 riseMask, u32 fallMask, int i);

// The debounce a record brings (its field within its domain), or a negative
// value when it brings none (below 0.001 or not a number) and the
// configuration's stays in force. The record's run uses it, whatever was
// set since.
double netRecordDither(double recordDither);

struct NetAlternateSettings
{
    bool autoRampEnabled = false;
    double actionRampTime = 0.0;
    double actionRampStep = 0.0;
    qint32 faultActionPort = 0;
    qint32 faultActionItem = 0;   // 0..2
    qint32 faultActionType = 0;
    qint32 actionRampFactor = 0;
    double endRampValue = 0.0;
    NetPhaseValues outputs;
    qint32 stateOutputBIStates[4] = {};
    qint32 stateBILogicTypes = 0;
    double ditherTime = -1.0;   // < 0: keep the configuration's
};
// False: refused, `out` unspecified. `length` must be the record's size.
bool netDecodeAlternate(const u8* record, u32 length, const NetRecordLimits& limits, NetAlternateSettings& out,
                        QString* why = nullptr);

struct NetStateSettings
{
    qint32 state = 0;   // 0..31
    NetPhaseValues outputs;
    double stateOutputTime = 0.0;
    qint32 stateOutputBOStates[4] = {};
    qint32 stateOutputBIStates[4] = {};
    qint32 stateOutputLinkType = 0;
    qint32 stateBILogicType = 0;
    qint32 stateTriggerType = 0;
    double ditherTime = -1.0;
};
// False: a state number of 32 or more, or not a record.
bool netDecodeState(const u8* record, u32 length, const NetRecordLimits& limits, NetStateSettings& out,
                    QString* why = nullptr);

struct NetHarmonicSettings
{
    double endRampValue = 0.0;
    qint32 actionRampFactor = 0;
    bool autoRampEnabled = false;
    double actionRampTime = 0.0;
    double actionRampStep = 0.0;
    qint32 faultActionPort = 0;
    qint32 faultActionItem = 0;
    qint32 faultActionOrder = 0;   // 0..3
    qint32 faultActionType = 0;
    double rateFrequency = 0.0;    // the rated frequency in force after the record
    bool rateFrequencyChanged = false;
    qint32 outputOrders[4] = {};
    double outputRanges[8][4] = {};
    double outputAngles[8][4] = {};
    double outputFrequencies[8][4] = {};
    qint32 stateOutputBIStates[4] = {};
    qint32 stateBILogicTypes = 0;
    double ditherTime = -1.0;
};
bool netDecodeHarmonic(const u8* record, u32 length, const NetRecordLimits& limits, NetHarmonicSettings& out,
                       QString* why = nullptr);

// The six states (normal, ramp, interval) of up to eight points.
struct NetRampingState
{
    NetPhaseValues outputs;
    double stateOutputTime = 0.0;
    qint32 stateTriggerType = 0;
    qint32 stateOutputLinkType = 0;
    qint32 stateOutputBIStates[4] = {};
    qint32 stateBILogicType = 0;
    qint32 stateOutputBOStates[4] = {};
    qint32 rampPort = 0;
    qint32 rampItem = 0;
    double rampStepValue = 0.0;
    double rampEndValue = 0.0;
};
struct NetRampingSettings
{
    quint32 projectId = 0;
    quint32 moduleId = 0;
    qint32 stateCount = 0;   // 3 x points
    NetRampingState states[24];
};
bool netDecodeRamping(const u8* record, u32 length, const NetRecordLimits& limits, NetRampingSettings& out,
                      QString* why = nullptr);

// The start's own check of decoded settings, in an entity of the module's
// that nothing runs, under netConditions(limits, the settings' ditherTime):
// true when a start would run them, else false and `why` (when given) says
// why. The states: count states 0..count-1, in order.
bool netCheckAlternate(const NetAlternateSettings& s, const NetRecordLimits& limits, QString* why = nullptr);
bool netCheckStates(const NetStateSettings* const* states, const NetRecordLimits* const* limits, int count,
                    QString* why = nullptr);
bool netCheckHarmonic(const NetHarmonicSettings& s, const NetRecordLimits& limits, QString* why = nullptr);
bool netCheckRamping(const NetRampingSettings& s, const NetRecordLimits& limits, QString* why = nullptr);

// A taken record's values into its module's entity (the entity's lock taken
// inside), then the entity's limiter with the record's limits (clamp false:
// the limits kept, the values as sent, for a check).
void netApplyAlternate(const NetAlternateSettings& s, const NetRecordLimits& limits, ModelAlternateEntity& e, bool clamp = true);
void netApplyState(const NetStateSettings& s, const NetRecordLimits& limits, ModelStateSequenceEntity& e, bool clamp = true);
void netApplyHarmonic(const NetHarmonicSettings& s, const NetRecordLimits& limits, ModelHarmonicEntity& e, bool clamp = true);
void netApplyRamping(const NetRampingSettings& s, const NetRecordLimits& limits, ModelRampingEntity& e, bool clamp = true);
