#pragma once

// The PC's test parameter records turned into the values the module entities
// take, checked before anything is changed: a decode either yields every
// value or refuses the record whole. Values that become indices or integers
// are refused when they cannot be represented (not finite, outside the
// 32-bit range) or would index past an array of the entity or of the pushed
// records; other enumeration values pass as received. Every amplitude the
// module outputs, and the end of an automatic amplitude ramp, lies within 0 ..
// the device's largest voltage or current range (NaN does not), and an
// automatic ramp of the AC and harmonic records has a step. Then the values
// go into an entity of the module's own that nothing runs, and the start's
// own check (ControllerModuleTable.h) must pass there: a record is taken only
// when a start would run it as sent (a state record as a sequence of that
// state alone). `why`, when given, gets the reason of a refusal.

#include "zobase_mytype.h"

#include <QString>
#include <QtGlobal>

class ModelAlternateEntity;
class ModelHarmonicEntity;
class ModelRampingEntity;
class ModelStateSequenceEntity;

// The configuration values a decode depends on.
struct NetRecordLimits
{
    double maxVRange = 0.0;
    double maxIRange = 0.0;
    double rateFrequency = 50.0;
    double ditherTime = 0.0;   // the configuration's present dither time
};

struct NetPhaseValues
{
    double ranges[8] = {};
    double angles[8] = {};
    double frequencies[8] = {};
};

// Binary-input trigger of input i: 1 rising edge, 2 falling edge, 3 both.
qint32 netConvertBIState(u32 riseMask, u32 fallMask, int i);

// A dither time the record asks for, or a negative value when the
// configuration keeps its own (below 0.001, equal to it, or above `upper`).
double netRecordDither(double recordDither, double present, double upper);

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
// that nothing runs: true when a start would run them, else false and `why`
// (when given) says why. The states: count states 0..count-1, in order.
bool netCheckAlternate(const NetAlternateSettings& s, const NetRecordLimits& limits, QString* why = nullptr);
bool netCheckStates(const NetStateSettings* const* states, const NetRecordLimits* const* limits, int count,
                    QString* why = nullptr);
bool netCheckHarmonic(const NetHarmonicSettings& s, const NetRecordLimits& limits, QString* why = nullptr);
bool netCheckRamping(const NetRampingSettings& s, const NetRecordLimits& limits, QString* why = nullptr);

// A taken record's values into its module's entity (the entity's lock taken
// inside), then the entity's limiter with the record's limits.
void netApplyAlternate(const NetAlternateSettings& s, const NetRecordLimits& limits, ModelAlternateEntity& e);
void netApplyState(const NetStateSettings& s, const NetRecordLimits& limits, ModelStateSequenceEntity& e);
void netApplyHarmonic(const NetHarmonicSettings& s, const NetRecordLimits& limits, ModelHarmonicEntity& e);
void netApplyRamping(const NetRampingSettings& s, const NetRecordLimits& limits, ModelRampingEntity& e);
