#pragma once

// The domain of every setting the start of the AC, DC, harmonic,
// state-sequence and ramping tests takes: one table of fields per module,
// and the check that reads it. The start's own check of these modules
// (ControllerModuleTable.h) runs it before its other rules, for a start from
// the page as for a PC's record and START, so a value outside its domain is
// refused the same way whoever set it; the refusal names the setting and its
// value ("AC: UA frequency 5000 Hz outside 10 to 1000 Hz").
//
// A PC's records (the network service's record tables) name these fields for
// what they become, and use the record-only kinds below for what no
// setting holds as sent (a count, a float taken as an integer, a debounce).

#include <QString>
#include <QtGlobal>

#include <limits>

struct ModuleStart;
class ModelAlternateEntity;
class ModelDirectEntity;
class ModelHarmonicEntity;
class ModelRampingEntity;
class ModelStateSequenceEntity;

// What a start is checked against besides its settings.
struct StartConditions
{
    double debounce = 0.0;        // s, the binary inputs' debounce the run uses
    bool triggerTimes = false;    // the instrument holds GPS/IRIG-B trigger times
    double longestPage = std::numeric_limits<double>::infinity();   // s, the longest page it counts

    // As the instrument holds them now (its records; any thread).
    static StartConditions inForce();
};

namespace StartDomain {

// The longest debounce the instrument counts (32-bit microseconds), s.
constexpr double kLongestDebounce = 4294.967295;
// A record's debounce below this keeps the configuration's.
constexpr double kShortestDebounce = 0.001;

enum class Kind : quint8 {
    Amplitude,        // 0 .. the channel's largest range (V or A)
    Angle,            // -360 .. 360 degrees
    TurnAngle,        // 0 .. 360 degrees
    Frequency,        // 10 .. 1000 Hz while its channel outputs, else any finite value
    PageTime,         // above 0, up to the longest page
    PageTimeOrNone,   // 0 (not played) up to the longest page
    Step,             // a finite value other than 0
    Finite,           // a finite value a float holds
    Enumeration,      // an integer first .. last
    Trigger,          // a trigger 0 .. 4; GPS/IRIG-B (4) only with trigger times
    RampEnd,          // by the ramped item: amplitude as Amplitude, angle as TurnAngle, frequency 10 .. 1000 Hz
    // Record-only:
    WholeNumber,      // a float taken as a 32-bit integer (truncated)
    Fundamental,      // 0 (the rated frequency kept) or 10 .. 1000 Hz
    Debounce,         // below 1 ms (or NaN) keeps the configuration's; else up to kLongestDebounce
    Any,              // every value is taken
};

// One setting (or record field): its name in a refusal, "%1" standing for
// the channel, slot or input it is of.
struct Field
{
    const char* name;
    Kind kind;
    qint32 first = 0;   // Enumeration
    qint32 last = 0;    // Enumeration, Trigger
};

// One value of a field and what its domain depends on.
struct Value
{
    double value;
    int channel = 0;        // Amplitude, Frequency, RampEnd: the channel (0..7)
    bool outputs = true;    // Frequency: the channel outputs (an amplitude above 0)
    int item = 0;           // RampEnd: the ramped item (RampItemType)
    double limit = std::numeric_limits<double>::infinity();   // Amplitude, RampEnd: the channel's largest range
};

// Why the value lies outside the field's domain ("5000 Hz outside 10 to
// 1000 Hz"), empty when it lies inside.
QString outside(const Field& field, const Value& value, const StartConditions& conditions);
// A field's name with `where` for its "%1" (if it has one).
QString fieldName(const char* name, const QString& where);

// The fields of each module's settings, in table order.
namespace Alternate {
enum : int { Amplitude, Angle, Frequency, StepTime, Step, End, Port, Item, Action, Edges, Logic, kCount };
}
// DC: amplitudes alone (no angle or frequency is sent), a ramp of amplitude.
namespace Direct {
enum : int { Amplitude, StepTime, Step, End, Port, Item, Action, Edges, Logic, kCount };
}
namespace Harmonic {
enum : int { Amplitude, Angle, Frequency, StepTime, Step, End, Port, Item, Slot, Action, Edges, Logic, kCount };
}
namespace Sequence {
enum : int { Amplitude, Angle, Frequency, Time, Trigger, Link, Logic, Edges, Output, kCount };
}
namespace Ramping {
enum : int {
    Amplitude, Angle, Frequency, Time, RampTime, Step, Begin, End, Port, Item, Trigger, Link, Logic, Edges, Output,
    kCount
};
}
extern const Field kAlternate[Alternate::kCount];
extern const Field kDirect[Direct::kCount];
extern const Field kHarmonic[Harmonic::kCount];
extern const Field kSequence[Sequence::kCount];
extern const Field kRamping[Ramping::kCount];

} // namespace StartDomain

// The first setting of the entity outside its domain (the entity's lock is
// taken inside): refused with REFUSAL_VALUES, or a GPS/IRIG-B state without
// trigger times (the instrument's, StartConditions::triggerTimes) with
// REFUSAL_TRIGGER_TIME; else not refused. AC, DC and harmonic: with the ramp
// on, its settings too; state sequence and ramping: the states in use (below
// stateCount).
ModuleStart alternateDomainRefusal(const ModelAlternateEntity& entity, const StartConditions& conditions);
ModuleStart directDomainRefusal(const ModelDirectEntity& entity, const StartConditions& conditions);
ModuleStart harmonicDomainRefusal(const ModelHarmonicEntity& entity, const StartConditions& conditions);
ModuleStart sequenceDomainRefusal(const ModelStateSequenceEntity& entity, const StartConditions& conditions);
ModuleStart rampingDomainRefusal(const ModelRampingEntity& entity, const StartConditions& conditions);
