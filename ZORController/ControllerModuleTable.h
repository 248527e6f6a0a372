#pragma once

// The module table: one entry per ControllerTestor::TESTType, saying what
// the module is called (its parameter and report folder, its report title),
// how it is run (family, stop), what the polling loop reads while it runs,
// what its switches announce, and the adaptors through which the testor
// drives its entity. The testor, the runtime store, the polling loop and the
// view models dispatch through it, so a new module is one entry plus the
// adaptors of its entity, not an edit in every dispatcher.
//
// The table is constant data, safe to read from any thread. The adaptors are
// called on the testor thread (the current maxima on any thread); each takes
// the entity's lock itself, from its check to the last page it sends.
//
// Entities stay plain classes: an entity's adaptors are functions made for
// that entity (ControllerTestorSource.cpp, ControllerTestorProtection.cpp)
// and gathered in one ModuleAdaptors record per module.

#include "ControllerTestor.h"

#include <QRecursiveMutex>
#include <QString>

#include <cstddef>
#include <vector>

enum class ModuleFamily {
    None,          // no entity and no output of its own: a start does nothing
    Calibration,   // run by the calibration engine
    SinglePage,    // a steady output (or a ramp one state per page) that edits and trips switch
    MultiState,    // a list of states the instrument steps through
};

// What the polling loop reads while the module runs.
enum class ModulePoll {
    None,
    SinglePage,     // as StateIndex, for a module of one page at a time
    Sequence,       // trips; every change of the page playing, with the time since the last
    StateIndex,     // trips; the state index and a switch once a state has ended
    EnergyPulses,   // the pulse measurement of the state playing
};

// How a run of the module is stopped.
enum class ModuleStop {
    Amplifiers,    // output off, then amplifiers off
    PulsesFirst,   // pulse output and counting off, then as Amplifiers
    PulseRun,      // the pulse run off
    Calibration,   // the calibration engine's stop
};

struct ModuleEntry;

// What the module part of a start did.
struct ModuleStart
{
    bool refused = false;   // the settings cannot be output: nothing was sent
    int errorSum = 0;       // driver results of the pages and the state count
    ControllerTestor::StartRefusal reason = ControllerTestor::REFUSAL_NONE;   // when refused
    QString refusal;   // the details, when refused (empty: the testor says it generally)
    QList<qint32> numbers;   // what the reason's message names (ControllerTestor::lastStartRefusalNumbers)
};

// A ramp that watches a binary input is not started with steps shorter than
// the debounce: the instrument confirms a contact a debounce after it moved,
// steps later, and holds every step that ends until the polling loop
// switches it on, for a time none of its ticks or stamps counts: the step
// the contact moved on could not be told, and the trip would be valued with
// a later one. Compared as the instrument counts them: the step's ticks
// against the debounce's microseconds (`debounce` in s). Refused
// (REFUSAL_STEP_DEBOUNCE, naming the step and the debounce in ms) or not.
ModuleStart stepDebounceRefusal(const char* folder, double stepSeconds, double debounce);

class ModelAlternateEntity;
class ModelHarmonicEntity;
class ModelRampingEntity;
class ModelStateSequenceEntity;
struct StartConditions;
// The start's own check of the modules a PC drives, on an entity prepared as
// the start prepares it (AC and harmonic: resetRampState): every setting
// within its domain (ModuleStartDomains.h), then the module's further
// rules; what the start would refuse (nothing sent), else not refused. The
// start calls the same with the conditions in force
// (StartConditions::inForce); a PC's record is checked with the debounce it
// brings. The entity's lock is taken inside.
ModuleStart alternateStartRefusal(const ModelAlternateEntity& entity, const StartConditions& conditions);
ModuleStart harmonicStartRefusal(const ModelHarmonicEntity& entity, const StartConditions& conditions);
ModuleStart stateSequenceStartRefusal(const ModelStateSequenceEntity& entity, const StartConditions& conditions);
ModuleStart rampingStartRefusal(const ModelRampingEntity& entity, const StartConditions& conditions);

// What a switch did.
struct ModuleSwitch
{
    int errorSum = 0;
    bool endRun = false;   // no further state, or values that cannot be output
    // States begun with the page the switch wrote for the instrument to go
    // on to (a page it waited for), announced as a state change is.
    std::vector<qint32> begun;
    // Why a switch asked from outside (nextState) changed nothing; empty
    // when it was made.
    QString refused;
};

// The adaptors between the testor and one module's entity; null where the
// module has no such operation.
struct ModuleAdaptors
{
    // The entity's lock (the entity is the testor's data<Module> member).
    QRecursiveMutex& (*entityLock)(ControllerTestor& testor);
    // The first pages of a run, the state count with them where the module
    // sends one.
    ModuleStart (*start)(const ModuleEntry& module, ControllerTestor& testor);
    // The next state after the ring's, or the edited values.
    ModuleSwitch (*switchState)(const ModuleEntry& module, ControllerTestor& testor);
    // The polling loop's trip reports; 0 when the entity recorded it. The
    // four-value report: flag word, input, time, state index (bit 15: the
    // state has ended). The two-input report: flags of inputs 1 and 2, time,
    // state number, action states of inputs 1 and 2.
    int (*trip)(const ModuleEntry& module, ControllerTestor& testor, qint32 actionFlag, qint32 actionIndex,
                qint64 stampUs, qint32 stateIndex);
    int (*twoInputTrip)(const ModuleEntry& module, ControllerTestor& testor, qint32 bi1flag, qint32 bi2flag,
                        float actionTime, qint32 stateIndex, qint32 bi1state, qint32 bi2state);
    // Follows a reported state index; returns the states (or points) that
    // began, in order, each to be announced.
    std::vector<qint32> (*followState)(ControllerTestor& testor, qint32 index);
    // The entity's binary outputs into the control record, and a copy.
    void (*boStates)(ControllerTestor& testor, qint32 bo[4]);
    // The largest current the output carries, peaks of superposed components
    // included (null: component 0 as the output record holds it).
    double (*outputCurrentMax)(const ControllerTestor& testor);
    // The current of one channel as an RMS value of the entity's components
    // (null: component 0 as the output record holds it).
    double (*channelCurrent)(const ControllerTestor& testor, int channel);
    // A pulse count of the running state's measurement; 0 when taken.
    int (*pulse)(ControllerTestor& testor, qint32 count, double period);
    // The switch asked from outside (ControllerTestor::doTestNextState): the
    // state playing ends now and the run goes on to the next (an automatic
    // ramp to its next step), a steady output is sent again from the
    // entity's settings (null: switchState serves, but for a multi-state
    // module, whose run goes on by its times and trips alone: refused).
    ModuleSwitch (*nextState)(const ModuleEntry& module, ControllerTestor& testor);
};

struct ModuleEntry
{
    ControllerTestor::TESTType type;
    const char* folder;   // parameter and report folder, "" for none
    const char* title;    // report title, untranslated (context "ViewBaseModel"), "" for none
    ModuleFamily family;
    ModulePoll poll;
    ModuleStop stop;
    bool announcesSwitch;   // a switch is reported to the runtime store (as a switch event)
    qint32 switchNotice;    // ControllerRuntime::DATAType the store raises after it, -1 for none
    // Ramp quirks (AC, DC, harmonic):
    bool clearsResultsFirst;          // the start clears the results before it resets the state pointer
    bool turnsBackOnAnyTrip;          // return mode: any recorded trip turns the ramp back, not only a complete one
    const ModuleAdaptors* adaptors;   // null: no entity
};

// The entry of a test type; TEST_NONE's for a value outside TESTType.
const ModuleEntry& moduleEntry(qint32 type);
// Every entry, in TESTType order (entry i is type i).
const ModuleEntry* moduleEntries();
std::size_t moduleEntryCount();

// The current the high-current rule watches while `type` is selected: the
// largest channel current where the module gives RMS values, else the
// output's largest current (ControllerTestor::getTestCurrentMax).
double moduleLargeCurrent(ControllerTestor& testor, qint32 type);

// The adaptor records, defined with each family's run control.
namespace ModuleAdaptorSets {
// ControllerTestorSource.cpp
extern const ModuleAdaptors alternate;
extern const ModuleAdaptors direct;
extern const ModuleAdaptors harmonic;
extern const ModuleAdaptors oscillate;
extern const ModuleAdaptors stdSource;
// ControllerTestorProtection.cpp
extern const ModuleAdaptors stateSequence;
// The state sequence's change report: the times of the states that ended,
// one each (NaN where none was given), and how long the ring has held the
// page it holds ended (us, -1: none). The states that began, in order, and
// whether the run ends: after its last state, or where the instrument
// reached a state not yet written (unwrittenState, from 0; -1: none).
struct SequenceFollow
{
    std::vector<qint32> begun;
    bool endRun = false;
    qint32 unwrittenState = -1;
};
SequenceFollow followSequence(ControllerTestor& testor, const std::vector<double>& stateTimes, qint64 heldUs);
// The sequence's results as the judgement reads the record of a run that
// has ended: what it left undecided is no test.
void judgeSequenceStopped(ControllerTestor& testor);
// A stop may come before the polling loop's report of the last switch: the
// pages of the run the instrument has ended, as its state word says, are
// followed first (the modules whose pages the run's ring writes).
void followEndedAtStop(ControllerTestor& testor, const ModuleAdaptors& run);
extern const ModuleAdaptors distance;
extern const ModuleAdaptors ramping;
extern const ModuleAdaptors overcurrent;
extern const ModuleAdaptors energy;
extern const ModuleAdaptors slipFrequency;
extern const ModuleAdaptors slipVoltage;
}   // namespace ModuleAdaptorSets
