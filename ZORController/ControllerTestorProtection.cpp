// Run control of the multi-state modules: the state sequence (up to eight
// states ahead in the ring, the instrument stepping by itself), and the
// modules that run one state per page with the instrument waiting for the
// software switch: distance and overcurrent (fixed groups of pre-fault,
// fault and after-fault states), ramping (a page per ramp step), energy
// meter (a state per counted measurement) and the two load-shedding tests
// (a searched quantity stepped from cycle to cycle). Each start and switch
// holds the entity's lock from the check to the last page sent, the state
// count included. The modules' adaptor records are at the end.
//
// These write past every page that ends as soon as it is entered and name a
// page only once written, so that the instrument never enters a page still
// being written, and value a trip with the page it happened on (the run's
// ring, ControllerTestorRing.h).

#include "ControllerTestor.h"

#include "CommDriverData.h"
#include "ControllerModuleAdaptors.h"
#include "ControllerTestorRing.h"
#include "ModelDistanceEntity.h"
#include "ModelEnergyEntity.h"
#include "ModelOvercurrentEntity.h"
#include "ModelRampingEntity.h"
#include "ModelSlipFrequencyEntity.h"
#include "ModelSlipVoltageEntity.h"
#include "ModelStateSequenceEntity.h"
#include "ModuleStartDomains.h"
#include "driverbase.h"

#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>
#include <vector>

using namespace ModuleAdaptorParts;

namespace {

constexpr int kRingPages = DriverStateWord::kPages;
// A load-shedding search whose step is below this never moves (as the
// entities count it); with begin and end apart it would never end.
constexpr double kZeroSearchStep = 1e-7;
constexpr double kSameSearchEnds = 1e-6;

void raiseBIStateAction()
{
    if (CommDriverTestStatusData* status = globalTestStatusData)
        status->statusBIStateAction = 1;
}

bool isBinaryTrigger(ModelEntity::AOTriggerType trigger)
{
    return trigger == ModelEntity::AO_TRIGGER_TYPE_BINARY || trigger == ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY;
}

// The distance entity's trigger enumeration is its own.
bool endsByTimeOnly(ModelEntity::AOTriggerType trigger)
{
    return trigger == ModelEntity::AO_TRIGGER_TYPE_TIME;
}

bool endsByTimeOnly(ModelDistanceEntity::AOTriggerType trigger)
{
    return trigger == ModelDistanceEntity::AO_TRIGGER_TYPE_TIME;
}

// The entity's sending state into the next page of the ring.
template <typename Entity>
int writeNextPage(ControllerTestor& testor, Entity& entity)
{
    entity.updateToDriverValue();
    int errorSum = driverBaseSwitchUpdateOffset();
    errorSum += testor.setTestParameter(false, false);
    return errorSum;
}

// ---- The state sequence's record ------------------------------------------------------
//
// The run as the judgement of contacts reads it: each state a page placed on
// the instrument's clock by how long each state before it played (the
// polling loop's reports, from the instrument's own figures), and every edge
// the instrument stamped, at its stamp less the debounce from the start of
// the state it was stamped on. The entity stores what the judgement gives.

struct SequenceEdge
{
    qint32 state = 0;      // stamped on its page
    int64_t stampUs = 0;   // from that page's start to the end of the debounce
    bool closed = false;
};

struct SequenceRun
{
    std::vector<SequenceEdge> edges[ContactJudgement::kInputs];   // as reported
    int8_t startLevels[ContactJudgement::kInputs] = {-1, -1, -1, -1};
    int64_t heldUs = -1;   // how long the ring has held the last page reported ended; -1: none

    // The contacts as the run begins (the driver's result).
    int takeStartLevels()
    {
        const int result = driverBaseReadTestBIState();
        if (const CommDriverTestStatusData* status = globalTestStatusData; status && result == 0)
            for (int i = 0; i < ContactJudgement::kInputs; ++i)
                startLevels[i] = status->statusBIStates[i].load() != 0 ? 1 : 0;
        return result;
    }
};

SequenceRun& sequenceRun()
{
    static SequenceRun run;
    return run;
}

// A state's set time to the tick, us; 0 where no time ends it.
int64_t sequenceSetUs(const ModelStateSequenceEntity& e, int k)
{
    const ModelEntity::AOTriggerType trigger = e.stateTriggerTypes[k];
    const CommDriverConfigureHardData* hard = globalConfigureHardData;
    const bool timed = trigger == ModelEntity::AO_TRIGGER_TYPE_TIME || trigger == ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY;
    if (!timed || !hard || hard->periodFrequency == 0)
        return 0;
    const uint32_t ticks = driverPageTicks(ModelEntity::recordFloat(e.stateOutputTimes[k]), hard->periodFrequency);
    return std::llround(double(ticks) * 1e6 / double(hard->periodFrequency));
}

ContactJudgement::Record sequenceRecord(const ModelStateSequenceEntity& e, const SequenceRun& run, bool stopped)
{
    using namespace ContactJudgement;
    Record r;
    r.debounceUs = std::llround(ModelEntity::debounceSeconds() * 1e6);
    const int count = std::min(e.stateCount, int(ModelStateSequenceEntity::kMaxStates));
    const int running = std::clamp(e.outputRunningStateIndex, 0, count);
    int64_t at = 0;
    int64_t knownTo = 0;
    std::vector<int64_t> starts;
    std::vector<int64_t> ends;
    for (int k = 0; k < count && k <= running; ++k) {
        Page p;
        p.role = Role::State;
        p.index = k;
        p.startUs = at;
        const int64_t setUs = sequenceSetUs(e, k);
        p.setEndUs = setUs > 0 ? at + setUs : kNone;
        for (int i = 0; i < kInputs; ++i)
            p.watch[i] = uint8_t(e.stateOutputBIStates[k][i] & 3);
        p.allInputs = e.stateBILogicTypes[k] == ModelEntity::AO_BILOGIC_TYPE_AND;
        p.endsOnChange = isBinaryTrigger(e.stateTriggerTypes[k]);
        starts.push_back(at);
        const double played = e.stateTriggerTimes[k];
        const bool ended = k < running && std::isfinite(played);
        if (ended) {
            p.endUs = at + std::llround(played * 1e6);
            knownTo = std::max(knownTo, p.endUs);
            if (k + 1 == running && run.heldUs > 0)
                knownTo = std::max(knownTo, p.endUs + run.heldUs);
        }
        r.pages.push_back(p);
        ends.push_back(p.endUs);
        if (!ended)
            break;   // playing, or its time unknown: nothing after it is placed
        at = p.endUs;
    }
    for (int i = 0; i < kInputs; ++i) {
        r.startLevel[i] = run.startLevels[i];
        for (const SequenceEdge& edge : run.edges[i]) {
            if (edge.state < 0 || size_t(edge.state) >= starts.size())
                continue;   // its page is not placed yet
            Edge placed{starts[size_t(edge.state)] + edge.stampUs - r.debounceUs, edge.closed};
            // Stamped on its page as the ring left it: the page's (its end
            // is to the nearest microsecond, the stamp to the one before).
            const int64_t end = ends[size_t(edge.state)];
            if (end != kNone && placed.us >= end)
                placed.us = end - 1;
            std::vector<Edge>& list = r.edges[i];
            list.insert(std::upper_bound(list.begin(), list.end(), placed.us,
                                         [](int64_t us, const Edge& x) { return us < x.us; }),
                        placed);
            knownTo = std::max(knownTo, placed.us + r.debounceUs);
        }
        // The instrument stamps only the edges a page watches: two stamped
        // to one level had the other between them, unseen until the second.
        std::vector<Edge>& list = r.edges[i];
        for (size_t n = 1; n < list.size(); ++n) {
            if (list[n].closed != list[n - 1].closed || list[n].us - 1 <= list[n - 1].us)
                continue;
            const Edge unseen{list[n].us - 1, !list[n].closed};
            list.insert(list.begin() + std::ptrdiff_t(n), unseen);
            ++n;
        }
    }
    r.knownToUs = knownTo;
    r.stopped = stopped;
    return r;
}

// Every state of the record as judged, input by input: each confirmed
// change of an input the state watches, placed in the state's window (the
// last of them kept, each reaching the event log as the value moves on),
// none where the judgement finds none (no action, or no test after a stop).
// The instrument's stamps below a millisecond read 1 ms. True where a trip
// ends a state a binary input ends.
bool judgeSequence(ModelStateSequenceEntity& e, bool stopped = false)
{
    using namespace ContactJudgement;
    const Record record = sequenceRecord(e, sequenceRun(), stopped);
    const std::vector<Judgement> judged = judge(record);
    bool binaryTrip = false;
    for (size_t p = 0; p < judged.size(); ++p) {
        const int k = record.pages[p].index;
        for (int i = 0; i < kInputs; ++i) {
            e.stateActionTimes[k][i] = std::numeric_limits<double>::quiet_NaN();
            e.stateActionBIStates[k][i] = -1;
        }
        binaryTrip = binaryTrip || (judged[p].outcome == Outcome::Trip && record.pages[p].endsOnChange);
    }
    for (int i = 0; i < kInputs; ++i) {
        Record one = record;
        for (Page& page : one.pages) {
            for (int other = 0; other < kInputs; ++other)
                page.watch[other] = other == i ? page.watch[other] : 0;
            page.allInputs = false;
        }
        for (size_t round = 0; round <= record.edges[i].size(); ++round) {
            bool found = false;
            const std::vector<Judgement> inputJudged = judge(one);
            for (size_t p = 0; p < inputJudged.size(); ++p) {
                const Judgement& j = inputJudged[p];
                if (j.outcome != Outcome::Trip)
                    continue;
                const int64_t at = one.pages[p].startUs + j.tripUs;
                const int k = record.pages[p].index;
                e.stateActionTimes[k][i] = double(std::max<int64_t>(at - record.pages[p].startUs, 1000)) / 1e6;
                e.stateActionBIStates[k][i] = j.closed ? 1 : 2;
                one.pages[p].startUs = at + 1;   // the next change in its window
                found = true;
            }
            if (!found)
                break;
        }
    }
    return binaryTrip;
}

// ---- Pages ahead of a software-switched run ----------------------------------------------
//
// The ring (ControllerTestorRing.h) keeps the page after the one the
// instrument goes to written and named, so that the polling loop can take
// the instrument on to it as soon as the page playing ends. Where the
// instrument goes is the page after the last one reported ended (energy: one
// page per measurement reported; the polling loop switches on by itself). A
// page whose time is 0 ends as soon as it is entered, so the run writes ahead
// through every such page, each into the page after the last one written,
// and names them all: the instrument goes through them one by one without
// waiting for the testor.
//
// The load-shedding tests choose the page after an after-fault page from
// the trip in the fault page before it, which the instrument may confirm in
// the after-fault page's first debounce: nothing is written past such a page
// until it has ended.
//
// A fault (distance, overcurrent, a ramping item's ramp, a load-shedding
// search's fault) is judged before it is written: while the relay may still
// be operated as the page before it ends, once that page has ended. On a
// relay still operated, as the contacts the instrument stamped leave its
// trip inputs, it is passed over (not played, no trip credited to it).
// Where that page rests between the faults, the relay not yet seen reset,
// it plays on for the debounce first (a check page), so that a contact that
// opened before it ended is confirmed and stamped.

// The page written last is followed by a state that depends on a trip not
// yet reported.
template <typename Entity>
bool nextAwaitsTrip(const Entity&)
{
    return false;
}

bool nextAwaitsTrip(const ModelSlipFrequencyEntity& entity)
{
    return entity.sendingStateType == ModelSlipFrequencyEntity::AO_RUN_STATE_AFTER_FAULT;
}

bool nextAwaitsTrip(const ModelSlipVoltageEntity& entity)
{
    return entity.sendingStateType == ModelSlipVoltageEntity::AO_RUN_STATE_AFTER_FAULT;
}

template <typename Entity>
void fillPage(Entity& entity)
{
    entity.updateToDriverValue();
}

void fillPage(ModelEnergyEntity& entity)
{
    entity.updateToDriverValue();
    entity.updateToDriverPulse();
}

// The state a page is written with (the load-shedding tests count points).
template <typename Entity>
qint32 sendingState(const Entity& entity)
{
    return entity.outputSendingStateIndex;
}

// The load-shedding pages are numbered by their place in the cycle: 0
// pre-fault, 1 fault, 2 after-fault.
qint32 sendingState(const ModelSlipFrequencyEntity& entity)
{
    return qint32(entity.sendingStateType);
}

qint32 sendingState(const ModelSlipVoltageEntity& entity)
{
    return qint32(entity.sendingStateType);
}

// The modules whose faults are judged before they are written; each numbers
// its states (or places in the cycle) in threes, the fault the middle one.
template <typename Entity>
struct JudgesFaults : std::false_type
{
};
template <>
struct JudgesFaults<ModelDistanceEntity> : std::true_type
{
};
template <>
struct JudgesFaults<ModelOvercurrentEntity> : std::true_type
{
};
template <>
struct JudgesFaults<ModelRampingEntity> : std::true_type
{
};
template <>
struct JudgesFaults<ModelSlipFrequencyEntity> : std::true_type
{
};
template <>
struct JudgesFaults<ModelSlipVoltageEntity> : std::true_type
{
};

bool restsBetweenFaults(qint32 state)
{
    return state >= 0 && state % 3 != 1;
}

// What the pages of a state are to the judgement of contacts: the states of
// a group are numbered in threes, the fault (a ramping item's ramp) the
// middle one.
ContactJudgement::Role groupRole(qint32 state)
{
    using ContactJudgement::Role;
    switch (state < 0 ? -1 : state % 3) {
    case 0: return Role::PreFault;
    case 1: return Role::Fault;
    default: return Role::AfterFault;
    }
}

ContactJudgement::Role rampingRole(qint32 state)
{
    const ContactJudgement::Role role = groupRole(state);
    return role == ContactJudgement::Role::Fault ? ContactJudgement::Role::Step : role;
}

template <typename Entity>
SwitchedRing::RoleOf roleOf(const Entity&)
{
    return &groupRole;
}

SwitchedRing::RoleOf roleOf(const ModelRampingEntity&)
{
    return &rampingRole;
}

// The trip inputs a fault of the entity watches, and their logic.
template <typename Entity>
bool allTripInputs(const Entity& entity)
{
    return entity.stateBILogicTypes == ModelEntity::AO_BILOGIC_TYPE_AND;
}

template <typename Entity>
const qint32* tripInputs(const Entity& entity)
{
    return entity.stateOutputBIStates;
}

const qint32* tripInputs(const ModelRampingEntity& entity)
{
    const int k = std::max(entity.nextFaultState(), 0);
    return entity.stateOutputBIStates[k];
}

bool allTripInputs(const ModelRampingEntity& entity)
{
    const int k = std::max(entity.nextFaultState(), 0);
    return entity.stateBILogicTypes[k] == ModelEntity::AO_BILOGIC_TYPE_AND;
}

// Load shedding watches both edges of every input, with OR logic.
constexpr qint32 kEveryEdge[4] = {3, 3, 3, 3};

const qint32* tripInputs(const ModelSlipFrequencyEntity&)
{
    return kEveryEdge;
}

const qint32* tripInputs(const ModelSlipVoltageEntity&)
{
    return kEveryEdge;
}

bool allTripInputs(const ModelSlipFrequencyEntity&)
{
    return false;
}

bool allTripInputs(const ModelSlipVoltageEntity&)
{
    return false;
}

// Distance and overcurrent store what the judgement says of every fault
// played: its trip, or none, or Not Reset (a fault passed over, never
// played, keeps the Not Reset its decision gave it).
template <typename Entity>
void storeJudgement(Entity& e, const SwitchedRing::Recorded& recorded)
{
    using ContactJudgement::Outcome;
    for (size_t i = 0; i < recorded.judged.size(); ++i) {
        const ContactJudgement::Page& p = recorded.record.pages[i];
        if (p.role != ContactJudgement::Role::Fault || p.index < 0 || p.index >= Entity::kMaxStates)
            continue;
        const ContactJudgement::Judgement& j = recorded.judged[i];
        e.stateBeganUnreset[p.index] = j.outcome == Outcome::NotReset;
        if (j.outcome == Outcome::Trip)
            ModelEntity::StateGroups::takeJudged(e, p.index, j.input, j.closed ? 1 : 2, double(j.tripUs) / 1e6);
        else
            ModelEntity::StateGroups::takeJudged(e, p.index, -1, 0, 0.0);
    }
}

// A trip still stands on the entity's trip inputs.
template <typename Entity>
bool relayOperated(const Entity& e, SwitchedRing& ring)
{
    return ring.operatedNow(roleOf(e), tripInputs(e), allTripInputs(e));
}

// `ended`: the run has ended, and its record with it.
template <typename Entity>
SwitchedRing::Recorded judgeRun(Entity& e, SwitchedRing& ring, bool ended = false)
{
    SwitchedRing::Recorded recorded = ring.judge(roleOf(e), ended);
    storeJudgement(e, recorded);
    return recorded;
}

// What a page plays, where a trip is valued with it (ramping).
template <typename Entity>
ModelEntity::PageOutputs pageOutputs(const Entity&)
{
    return {};
}

ModelEntity::PageOutputs pageOutputs(const ModelRampingEntity& entity)
{
    return entity.pageOutputs();
}

// A check page after the page written last: as the entity fills the record
// for it, and its current outputs those the page plays on.
template <typename Entity>
int writeCheckPage(ControllerTestor& testor, Entity& entity, SwitchedRing& ring)
{
    fillPage(entity);
    const int result = ring.writeCheck(testor);
    if constexpr (std::is_same_v<Entity, ModelRampingEntity>)
        entity.playLastOn();
    return result;
}

// The entity's sending state into the page after the last one written.
template <typename Entity>
int writeRingPage(ControllerTestor& testor, Entity& entity, SwitchedRing& ring)
{
    fillPage(entity);
    return ring.write(testor, sendingState(entity), pageOutputs(entity));
}

// What to do with the fault the entity sends next, decided by the judgement
// of contacts on the record so far; `leaving`: the caller switches at once
// past the pages written, the fault beginning as the switch leaves the page
// playing.
template <typename Entity>
ContactJudgement::Decision nextFaultDecision(const Entity& entity, SwitchedRing& ring, bool leaving)
{
    return ring.nextFaultDecision(roleOf(entity), tripInputs(entity), allTripInputs(entity), leaving);
}

enum class FaultJudgement {
    Write,   // no fault next, or one the relay is reset for
    Wait,    // the page it would follow has not ended yet
    Check    // a check page was written after the page written last
};

// The fault the entity sends next, decided: faults that begin on an
// operated relay are passed over, one after another.
template <typename Entity>
FaultJudgement judgeNextFault(ControllerTestor& testor, Entity& entity, SwitchedRing& ring, int& errorSum,
                              bool leaving)
{
    if constexpr (JudgesFaults<Entity>::value) {
        using ContactJudgement::Decision;
        while (entity.faultNext()) {
            switch (nextFaultDecision(entity, ring, leaving)) {
            case Decision::Write: return FaultJudgement::Write;
            case Decision::Wait: return FaultJudgement::Wait;
            case Decision::Check:
                errorSum += writeCheckPage(testor, entity, ring);
                return FaultJudgement::Check;
            case Decision::PassOver: entity.passOverNextFault(); break;
            }
        }
    } else {
        (void)testor, (void)entity, (void)ring, (void)errorSum, (void)leaving;
    }
    return FaultJudgement::Write;
}

// The last fault played may still have a trip to be confirmed (the record
// known so far does not settle it).
template <typename Entity>
bool lastFaultUnsettled(const Entity& entity, SwitchedRing& ring)
{
    const SwitchedRing::Recorded recorded = ring.judge(roleOf(entity));
    for (size_t n = recorded.judged.size(); n-- > 0;)
        if (recorded.record.pages[n].judged())
            return recorded.judged[n].outcome == ContactJudgement::Outcome::Pending;
    return false;
}

// The entity's next state into the page after the last one written (or a
// check page before a fault); false when nothing was written: the entity
// has no further state, or its next fault waits for the page before it.
template <typename Entity>
bool writeNextState(ControllerTestor& testor, Entity& entity, SwitchedRing& ring, int& errorSum,
                    bool leaving = false)
{
    if (ring.exhausted)
        return false;
    switch (judgeNextFault(testor, entity, ring, errorSum, leaving)) {
    case FaultJudgement::Wait: return false;
    case FaultJudgement::Check: return true;
    case FaultJudgement::Write: break;
    }
    if constexpr (std::is_same_v<Entity, ModelOvercurrentEntity>) {
        if (entity.awaitsReset(entity.outputSendingStateIndex + 1) && !relayOperated(entity, ring))
            entity.passOverResetWait();
    }
    if (!entity.switchToNextState()) {
        ring.exhausted = true;
        return false;
    }
    errorSum += writeRingPage(testor, entity, ring);
    return true;
}

// The page written last waits for a judgement or a trip: nothing goes past
// it until it has ended.
template <typename Entity>
bool waitsAtLast(const Entity& entity, SwitchedRing& ring)
{
    if (ring.ended >= ring.last)
        return false;
    if (nextAwaitsTrip(entity))
        return true;
    // The wait for the reset after a fault: whether a trip stands is known
    // once the fault has ended.
    if constexpr (std::is_same_v<Entity, ModelOvercurrentEntity>) {
        if (entity.awaitsReset(entity.outputSendingStateIndex + 1))
            return true;
    }
    if constexpr (JudgesFaults<Entity>::value)
        return entity.faultNext() && nextFaultDecision(entity, ring, false) == ContactJudgement::Decision::Wait;
    return false;
}

// Pages up to the one after `at` (where the instrument goes), and while the
// page written last ends at once the states after it, never onto the page
// before `at` (a trip there may still be valued), nor past a state that
// waits for a trip. Every page written is named.
template <typename Entity>
int writeAhead(ControllerTestor& testor, Entity& entity, SwitchedRing& ring, qint64 at)
{
    int errorSum = 0;
    while (ring.last < at + 1 && !waitsAtLast(entity, ring) && writeNextState(testor, entity, ring, errorSum)) {
    }
    while (ring.lastAtOnce && !ring.exhausted && !waitsAtLast(entity, ring) && ring.last - at < kRingPages - 2
           && writeNextState(testor, entity, ring, errorSum)) {
    }
    ring.nameWritten();
    return errorSum;
}

// The first pages of a run: the reset state into page 0, the next into
// page 1, and on while a page ends at once.
template <typename Entity>
int writeFirstPages(ControllerTestor& testor, Entity& entity)
{
    SwitchedRing& ring = runRing();
    int errorSum = ring.takeStartLevels();
    errorSum += writeRingPage(testor, entity, ring);
    errorSum += writeAhead(testor, entity, ring, 0);
    return errorSum;
}

// The instrument has entered the last page written.
template <typename Entity>
bool lastEntered(const SwitchedRing& ring, const Entity&)
{
    return ring.playing() >= ring.last;
}

// Energy: every report is the end of a measurement (the polling loop
// switched on by itself), the last one the end of the run.
bool lastEntered(const SwitchedRing&, const ModelEnergyEntity&)
{
    return true;
}

// One switch of a running module: the pages after the one the instrument
// goes to (the one after the last that ended); endRun once that is the last
// page, the entity has none after it and the instrument has entered it.
template <typename Entity>
ModuleSwitch switchRing(ControllerTestor& testor, Entity& entity)
{
    ModuleSwitch outcome;
    SwitchedRing& ring = runRing();
    const qint64 at = ring.ended + 1;
    outcome.errorSum += writeAhead(testor, entity, ring, at);
    outcome.endRun = ring.exhausted && ring.last <= at && lastEntered(ring, entity);
    if constexpr (std::is_same_v<Entity, ModelDistanceEntity> || std::is_same_v<Entity, ModelOvercurrentEntity>) {
        // Where the last fault's trip may still be confirmed, the closing
        // page plays on for the debounce, so that it is stamped; the run ends
        // once that has ended.
        if (ring.playedToEnd >= 0) {
            outcome.endRun = ring.exhausted && ring.ended >= ring.playedToEnd;
        } else if (outcome.endRun && lastFaultUnsettled(entity, ring)) {
            outcome.errorSum += writeCheckPage(testor, entity, ring);
            ring.nameWritten();
            ring.playedToEnd = ring.last;
            outcome.endRun = false;
        }
    }
    return outcome;
}

// ---- Why a start is refused -------------------------------------------------------------

ModuleStart refusedStart(ControllerTestor::StartRefusal reason, QString why)
{
    ModuleStart start;
    start.refused = true;
    start.reason = reason;
    start.refusal = std::move(why);
    return start;
}

ModuleStart countRefusal(const char* module, const char* what, qint32 count, qint32 limit)
{
    return refusedStart(
        ControllerTestor::REFUSAL_COUNT,
        QStringLiteral("%1: %2 %3 outside 1..%4").arg(QLatin1String(module), QLatin1String(what)).arg(count).arg(limit));
}

ModuleStart registerRefusal(const char* module, const char* what, qint32 count, qint32 limit)
{
    return refusedStart(ControllerTestor::REFUSAL_REGISTER,
                        QStringLiteral("%1: %2 %3 beyond the 16-bit state count register (at most %4)")
                            .arg(QLatin1String(module), QLatin1String(what))
                            .arg(count)
                            .arg(limit));
}

ModuleStart valueRefusal(const char* module)
{
    return refusedStart(
        ControllerTestor::REFUSAL_VALUES,
        QStringLiteral("%1: a value to output is not finite or out of range").arg(QLatin1String(module)));
}

template <typename Entity>
ModuleStart stateCountRefusal(const Entity& entity, const char* module)
{
    if (entity.stateCount < 1 || entity.stateCount > Entity::kMaxStates)
        return countRefusal(module, "state count", entity.stateCount, Entity::kMaxStates);
    return valueRefusal(module);
}

ModuleStart rampingRefusal(const ModelRampingEntity& entity)
{
    if (entity.stateCount < 1 || entity.stateCount > ModelRampingEntity::kMaxStates)
        return countRefusal("ramping", "state count", entity.stateCount, ModelRampingEntity::kMaxStates);
    // A slot in use with a value that is not finite has no page count either.
    for (int s = 0; s < entity.stateCount; ++s)
        for (int i = 0; i < ModelRampingEntity::kRampSlots; ++i)
            if (entity.rampStepValues[s][i] != 0.0
                && !(std::isfinite(entity.rampStepValues[s][i]) && std::isfinite(entity.rampBeginValues[s][i])
                     && std::isfinite(entity.rampEndValues[s][i])))
                return valueRefusal("ramping");
    const qint32 pages = entity.computePointCount();
    if (pages > ModelRampingEntity::kMaxStateCount)
        return registerRefusal("ramping", "page count", pages, ModelRampingEntity::kMaxStateCount);
    return valueRefusal("ramping");
}

ModuleStart energyRefusal(const ModelEnergyEntity& entity)
{
    constexpr const char* module = "energy";
    if (entity.stateCount < 1 || entity.stateCount > ModelEnergyEntity::kMaxStates)
        return countRefusal(module, "state count", entity.stateCount, ModelEnergyEntity::kMaxStates);
    if (entity.pulseOutputEnable != 0) {
        for (int s = 0; s < entity.stateCount; ++s) {
            if (entity.pulsePeriodTicks(s) > 0.0)
                continue;
            const double power = entity.pulseOutputGiven[s];
            const double constant = entity.pulseOutputConst;
            const double rate = power * constant;
            if (!std::isfinite(rate) || !(power > 0.0) || !(constant > 0.0))
                return refusedStart(ControllerTestor::REFUSAL_PULSE_RATE,
                                    QStringLiteral("energy: state %1: a power of %2 W and a meter constant of %3 "
                                                   "imp/kWh give no pulse rate (both must be positive)")
                                        .arg(s + 1)
                                        .arg(power)
                                        .arg(constant));
            const double ticks = ModelEnergyEntity::kPulsePeriodNumerator / rate;
            if (ticks > ModelEnergyEntity::kMaxPulsePeriod)
                return refusedStart(
                    ControllerTestor::REFUSAL_PULSE_PERIOD,
                    QStringLiteral("energy: state %1: a pulse period of %2 ticks (%3 s) exceeds the 32-bit "
                                   "pulse period register (at most %4 ticks, %5 s)")
                        .arg(s + 1)
                        .arg(ticks, 0, 'f', 0)
                        .arg(ticks / ModelEnergyEntity::kPulseClockRate, 0, 'f', 2)
                        .arg(ModelEnergyEntity::kMaxPulsePeriod, 0, 'f', 0)
                        .arg(ModelEnergyEntity::kMaxPulsePeriod / ModelEnergyEntity::kPulseClockRate, 0, 'f', 2));
            return refusedStart(ControllerTestor::REFUSAL_PULSE_PERIOD,
                                QStringLiteral("energy: state %1: a pulse period below one clock tick").arg(s + 1));
        }
    }
    return valueRefusal(module);
}

template <typename Slip>
ModuleStart slipRefusal(const Slip& entity, const char* module)
{
    if (entity.pointCnt < 1 || entity.pointCnt > Slip::kMaxPoints)
        return countRefusal(module, "point count", entity.pointCnt, Slip::kMaxPoints);
    const qint32 states = entity.computeStateCount();
    if (states > Slip::kMaxStateCount)
        return registerRefusal(module, "state count", states, Slip::kMaxStateCount);
    return refusedStart(ControllerTestor::REFUSAL_SLIDE_RATE,
                        QStringLiteral("%1: a value to output is not finite, or a slide rate is not positive")
                            .arg(QLatin1String(module)));
}

// A searched quantity that never moves from its begin towards a different end
// value: the point would repeat its cycle until a trip, possibly for ever.
template <typename Slip>
int pointWithoutStep(const Slip& entity)
{
    const int points = std::clamp(entity.pointCnt, 0, int(Slip::kMaxPoints));
    for (int p = 0; p < points; ++p) {
        if (entity.testItemType[p] == Slip::ITEM_ACTION_TIME)
            continue;
        if (std::fabs(entity.rampStepValues[p]) < kZeroSearchStep
            && std::fabs(entity.rampBeginValues[p] - entity.rampEndValues[p]) >= kSameSearchEnds)
            return p;
    }
    return -1;
}

// ---- Start --------------------------------------------------------------------------------

template <typename Entity>
ModuleStart noFurtherRefusal(const ModuleEntry&, const Entity&)
{
    return {};
}

// Distance, ramping, overcurrent and the load-shedding tests: the state
// count, the first state into page 0 and, when there is one, the next into
// page 1. Settings that pass the value check may still be refused by `Also`.
template <typename Entity, Entity* ControllerTestor::*M, ModuleStart (*Why)(const Entity&),
          ModuleStart (*Also)(const ModuleEntry&, const Entity&) = &noFurtherRefusal<Entity>>
ModuleStart startOnePageAhead(const ModuleEntry& module, ControllerTestor& testor)
{
    Entity& entity = entityOf<Entity, M>(testor);
    QMutexLocker lock(&entity.entityLock);
    entity.resetActionValues();
    entity.switchToResetState();
    if (!entity.checkOutputValues())
        return Why(entity);
    const ModuleStart refused = Also(module, entity);
    if (refused.refused)
        return refused;
    ModuleStart start;
    start.errorSum = sendStateCount(entity);
    start.errorSum += writeFirstPages(testor, entity);
    return start;
}

// Ramping: a ramp that watches an input, in steps shorter than the debounce,
// is not started (checked once the values are).
ModuleStart rampingDebounceRefusal(const ModuleEntry& module, const ModelRampingEntity& entity, double debounce)
{
    for (int s = 0; s < entity.stateCount; ++s) {
        if (!ModelRampingEntity::usesSlots(entity.rampStepValues[s])
            || !ModelEntity::watchesInput(entity.stateOutputBIStates[s]))
            continue;
        ModuleStart refused = stepDebounceRefusal(module.folder, entity.stateOutputTimes[s], debounce);
        if (refused.refused)
            return refused;
    }
    return {};
}

template <typename Slip, const char* Module>
ModuleStart slipRefusalOf(const Slip& entity)
{
    return slipRefusal(entity, Module);
}

template <typename Slip, Slip* ControllerTestor::*M, const char* Module>
ModuleStart startSlip(const ModuleEntry& module, ControllerTestor& testor)
{
    {
        Slip& entity = entityOf<Slip, M>(testor);
        QMutexLocker lock(&entity.entityLock);
        const int p = pointWithoutStep(entity);
        if (p >= 0)
            return refusedStart(ControllerTestor::REFUSAL_ENDLESS_SEARCH,
                                QStringLiteral("%1: point %2: a step of 0 never reaches the end value")
                                    .arg(QLatin1String(Module))
                                    .arg(p + 1));
    }
    return startOnePageAhead<Slip, M, &slipRefusalOf<Slip, Module>>(module, testor);
}

// Ramping: the state count, the first state into page 0 and the next into
// page 1, once the start's check (rampingStartRefusal) passes.
ModuleStart startRamping(const ModuleEntry&, ControllerTestor& testor)
{
    ModelRampingEntity& entity = *testor.dataRamping;
    QMutexLocker lock(&entity.entityLock);
    entity.resetActionValues();
    entity.switchToResetState();
    const ModuleStart refused = rampingStartRefusal(entity, StartConditions::inForce());
    if (refused.refused)
        return refused;
    ModuleStart start;
    start.errorSum = sendStateCount(entity);
    start.errorSum += writeFirstPages(testor, entity);
    return start;
}

ModuleStart startEnergy(const ModuleEntry&, ControllerTestor& testor)
{
    ModelEnergyEntity& entity = *testor.dataEnergy;
    QMutexLocker lock(&entity.entityLock);
    entity.resetActionValues();
    entity.switchToResetState();
    if (!entity.checkOutputValues())
        return energyRefusal(entity);
    ModuleStart start;
    start.errorSum = sendStateCount(entity);
    // The second page carries the pulse set-up of the first state.
    start.errorSum += writeFirstPages(testor, entity);
    return start;
}

// The instrument steps through the ring by itself: state s + 8 goes into the
// page of state s once the polling loop has seen that page end, and must be
// written before the seven states after s have played. Seven states that
// could together end within this time would let the instrument come round
// to a page not yet written (the state word then reads the same after a
// whole lap): such a sequence is refused, naming them. The time covers one
// pass of the loop and a page write with a wide margin. A state that waits
// for an input, a key or a pulse is taken to last: only the time of a state
// that ends on its time counts.
constexpr double kRingRefillSeconds = 0.05;

ModuleStart sequenceLapRefusal(const ModelStateSequenceEntity& entity)
{
    const int count = std::min(entity.stateCount, int(ModelStateSequenceEntity::kMaxStates));
    for (int s = 0; s + kRingPages < count; ++s) {
        double together = 0.0;
        for (int i = s + 1; i < s + kRingPages; ++i) {
            const ModelEntity::AOTriggerType trigger = entity.stateTriggerTypes[i];
            const bool timed =
                trigger == ModelEntity::AO_TRIGGER_TYPE_TIME || trigger == ModelEntity::AO_TRIGGER_TYPE_TIME_BINARY;
            together += timed ? entity.stateOutputTimes[i] : kRingRefillSeconds;
        }
        if (together < kRingRefillSeconds) {
            ModuleStart start = refusedStart(
                ControllerTestor::REFUSAL_RING_LAP,
                QStringLiteral("state sequence: states %1 to %2 together last less than %3 ms: the instrument could "
                               "come round to state %4's page before it is written")
                    .arg(s + 2)
                    .arg(s + kRingPages)
                    .arg(kRingRefillSeconds * 1000.0)
                    .arg(s + kRingPages + 1));
            start.numbers = {s + 2, s + kRingPages, qint32(kRingRefillSeconds * 1000.0)};
            return start;
        }
    }
    return ModuleStart();
}

// The state sequence: up to eight states, one per page of the ring.
ModuleStart startSequence(const ModuleEntry&, ControllerTestor& testor)
{
    ModelStateSequenceEntity& entity = *testor.dataStateSequence;
    QMutexLocker lock(&entity.entityLock);
    entity.resetActionValues();
    entity.switchToResetState();
    const ModuleStart refused = stateSequenceStartRefusal(entity, StartConditions::inForce());
    if (refused.refused)
        return refused;
    ModuleStart start;
    sequenceRun() = SequenceRun();
    start.errorSum = sequenceRun().takeStartLevels();
    entity.updateToDriverStateCount();
    for (int i = 0; i < kRingPages && i < entity.stateCount; ++i) {
        if (i > 0) {
            entity.switchToNextState();
            start.errorSum += driverBaseSwitchUpdateOffset();
        }
        entity.updateToDriverValue();
        start.errorSum += testor.setTestParameter(false, false);
    }
    if (start.errorSum == 0)
        start.errorSum = driverBaseSendTestStatesWritten(uint32_t(entity.outputSendingStateIndex + 1));
    return start;
}

ModuleStart distanceRefusal(const ModelDistanceEntity& entity)
{
    return stateCountRefusal(entity, "distance");
}

ModuleStart overcurrentRefusal(const ModelOvercurrentEntity& entity)
{
    return stateCountRefusal(entity, "overcurrent");
}

// ---- Switch -------------------------------------------------------------------------------

// The state sequence keeps the ring full: every page the instrument has left
// takes the state seven ahead of the one it plays, however many pages it
// moved on since the last switch, and only once written is it counted among
// the states the instrument may play. The run ends on the polling loop's
// report of where the ring holds (followSequence).
ModuleSwitch switchSequence(const ModuleEntry&, ControllerTestor& testor)
{
    ModelStateSequenceEntity& entity = *testor.dataStateSequence;
    ModuleSwitch outcome;
    QMutexLocker lock(&entity.entityLock);
    const qint32 before = entity.outputSendingStateIndex;
    while (outcome.errorSum == 0 && entity.outputSendingStateIndex < entity.outputRunningStateIndex + kRingPages - 1
           && entity.switchToNextState())
        outcome.errorSum += writeNextPage(testor, entity);
    const qint32 written = std::min(entity.outputSendingStateIndex, entity.stateCount - 1) + 1;
    if (outcome.errorSum == 0 && entity.outputSendingStateIndex != before)
        outcome.errorSum = driverBaseSendTestStatesWritten(uint32_t(written));
    return outcome;
}

// One switch, then on past every page the instrument goes to that the entity
// finds it need not play (needless(state)): at once, as after a page that
// ended, the pages after it following.
template <typename Entity, typename Needless>
ModuleSwitch switchPastNeedless(ControllerTestor& testor, Entity& entity, Needless needless)
{
    SwitchedRing& ring = runRing();
    ModuleSwitch outcome = switchRing(testor, entity);
    for (;;) {
        const SwitchedRing::Page* next = ring.page(ring.ended + 1);
        if (outcome.endRun || !next || !needless(next->state))
            return outcome;
        // Nothing after it yet: the state after it follows the page that
        // ended at once, decided as it leaves that page.
        if (ring.last <= ring.ended + 1 && next->number == ring.last)
            writeNextState(testor, entity, ring, outcome.errorSum, true);
        if (ring.last <= ring.ended + 1)
            return outcome;
        const int switched = ring.switchToLast(testor);
        outcome.errorSum += switched;
        if (switched != 0)
            return outcome;
        entity.followTo(ring.page(ring.last)->state);
        const ModuleSwitch after = switchRing(testor, entity);
        outcome.errorSum += after.errorSum;
        outcome.endRun = after.endRun;
    }
}

// The entity follows the instrument on to the page it goes to (the one after
// the last that ended), where the switch has just written it; the states
// that begin so are announced with the switch.
template <typename Entity>
void followWritten(Entity& entity, ModuleSwitch& outcome)
{
    const SwitchedRing& ring = runRing();
    const SwitchedRing::Page* next = ring.page(ring.ended + 1);
    const qint32 before = entity.outputRunningStateIndex;
    if (!next || outcome.endRun)
        return;
    entity.followTo(next->state);
    if (entity.outputRunningStateIndex != before && entity.outputRunningStateIndex >= 0
        && entity.outputRunningStateIndex < entity.stateCount)
        outcome.begun.push_back(entity.outputRunningStateIndex);
}

// Ramping: a run whose last state the switch ended is complete, the states
// it switched past (an item passed over) among them; otherwise the entity
// follows the instrument.
void completeOrFollow(ModelRampingEntity& entity, ModuleSwitch& outcome)
{
    if (!outcome.endRun) {
        followWritten(entity, outcome);
        return;
    }
    if (const SwitchedRing::Page* last = runRing().page(runRing().last))
        entity.followTo(last->state);
    entity.completeRun();
}

ModuleSwitch switchDistance(const ModuleEntry&, ControllerTestor& testor)
{
    ModelDistanceEntity& entity = *testor.dataDistance;
    QMutexLocker lock(&entity.entityLock);
    judgeRun(entity, runRing());
    ModuleSwitch outcome = switchRing(testor, entity);
    if (outcome.endRun)
        judgeRun(entity, runRing(), true);
    followWritten(entity, outcome);
    return outcome;
}

// Overcurrent: an after-fault state that waits for the relay's reset has
// nothing to wait for while no trip stands (the fault before it ended
// without one).
ModuleSwitch switchOvercurrent(const ModuleEntry&, ControllerTestor& testor)
{
    ModelOvercurrentEntity& entity = *testor.dataOvercurrent;
    QMutexLocker lock(&entity.entityLock);
    judgeRun(entity, runRing());
    ModuleSwitch outcome = switchPastNeedless(testor, entity, [&entity](int state) {
        return entity.awaitsReset(state) && !relayOperated(entity, runRing());
    });
    if (outcome.endRun)
        judgeRun(entity, runRing(), true);
    followWritten(entity, outcome);
    return outcome;
}

// Load shedding: a pre-fault page's end left unfollowed while its fault
// waited is followed once the fault is sent or passed over.
template <typename Slip, Slip* ControllerTestor::*M>
ModuleSwitch switchShedding(const ModuleEntry&, ControllerTestor& testor)
{
    Slip& entity = entityOf<Slip, M>(testor);
    QMutexLocker lock(&entity.entityLock);
    const ModuleSwitch outcome = switchRing(testor, entity);
    for (; entity.endsToFollow > 0 && !entity.faultNext(); --entity.endsToFollow)
        entity.updateFromDriverState();
    return outcome;
}

// Ramping: after a trip (statusBIStateAction) the ramp of the tripped state
// ends: the state after it goes into the page after the last one written and
// the instrument is switched to it at once, past the steps of the ramp still
// in the ring; the pages after it follow as on every switch. A run that ends
// so has played every state out.
ModuleSwitch switchRamping(const ModuleEntry&, ControllerTestor& testor)
{
    ModelRampingEntity& entity = *testor.dataRamping;
    QMutexLocker lock(&entity.entityLock);
    SwitchedRing& ring = runRing();
    int errorSum = 0;
    CommDriverTestStatusData* status = globalTestStatusData;
    if (status && status->statusBIStateAction == 1) {
        status->statusBIStateAction = 0;
        if (writeNextState(testor, entity, ring, errorSum, true)) {
            errorSum += ring.switchToLast(testor);
        }
    }
    ModuleSwitch outcome = switchRing(testor, entity);
    outcome.errorSum += errorSum;
    completeOrFollow(entity, outcome);
    return outcome;
}

// The switch asked from outside: the page playing ends now, the instrument
// goes on to the page written after it (the next step of a ramp, or the next
// state), and the pages after that follow as on every switch. A page that
// rests before a ramp not yet judged ends into a check page, the ramp judged
// once that has ended, as when the page ends on its time with the relay
// operated; the check page itself, and a ramp's last step before the next
// ramp, play to their end.
ModuleSwitch nextRampingState(const ModuleEntry&, ControllerTestor& testor)
{
    ModelRampingEntity& entity = *testor.dataRamping;
    QMutexLocker lock(&entity.entityLock);
    SwitchedRing& ring = runRing();
    // The state playing is the instrument's: a page it holds ended goes on
    // to the page named after it first, as the polling loop's switch takes
    // it, and the pages before the one it plays have ended, whether or not
    // their ends have been reported yet.
    const int held = driverBaseSwitchEndedPage(DriverStateWord::endedPage(localOutputPlayingOffset).word);
    ring.ended = std::max(ring.ended, ring.playing() - 1);
    // The page it holds ended has ended too.
    DriverStateWord word;
    if (driverBaseReadStateWord(&word) == 0 && word.ended() && word.page() == int(ring.playing() % kRingPages))
        ring.ended = std::max(ring.ended, ring.playing());
    ModuleSwitch outcome;
    if (ring.ahead() == 0)
        outcome = switchRing(testor, entity);
    outcome.errorSum += held;
    const SwitchedRing::Page* last = ring.page(ring.last);
    if (!outcome.endRun && outcome.errorSum == 0 && ring.ahead() == 0 && last && waitsAtLast(entity, ring)) {
        if (last->check || !restsBetweenFaults(last->state)) {
            outcome.refused = last->check ? QStringLiteral("ramping: the page before the next ramp has ended and "
                                                           "plays on for the debounce before the ramp is judged")
                                          : QStringLiteral("ramping: the next ramp follows this one at once and "
                                                           "is judged once it has ended on its time");
            return outcome;
        }
        outcome.errorSum += writeCheckPage(testor, entity, ring);
    }
    if (!outcome.endRun && outcome.errorSum == 0 && ring.ahead() > 0) {
        outcome.errorSum += ring.switchToLast(testor);
        const ModuleSwitch after = switchRing(testor, entity);
        outcome.errorSum += after.errorSum;
        outcome.endRun = after.endRun;
    }
    completeOrFollow(entity, outcome);
    return outcome;
}

// The state sequence steps through its ring by itself: the state playing
// ends now and the instrument goes on to the next, which the ring holds
// already; in the last state the run ends, as it would. The state playing
// is the instrument's, read from its state word among the states written
// (the entity may not have heard of it yet): the ring holds the eight
// states written last, and the instrument is on one of them.
ModuleSwitch nextSequenceState(const ModuleEntry&, ControllerTestor& testor)
{
    ModelStateSequenceEntity& entity = *testor.dataStateSequence;
    QMutexLocker lock(&entity.entityLock);
    ModuleSwitch outcome;
    const int count = std::min(entity.stateCount, int(ModelStateSequenceEntity::kMaxStates));
    const int written = std::min(entity.outputSendingStateIndex, count - 1);
    const int first = std::max(0, written - (kRingPages - 1));
    int pagesOn = 0;
    outcome.errorSum = driverBaseEndSelfSteppedPage(first % kRingPages, written - first, &pagesOn);
    if (outcome.errorSum != 0)
        return outcome;
    const int playing = first + pagesOn;
    if (playing >= count - 1)
        outcome.endRun = true;
    else if (playing >= written)
        outcome.refused = QStringLiteral("state sequence: state %1 plays and state %2 is not yet written")
                              .arg(playing + 1)
                              .arg(playing + 2);
    return outcome;
}

ModuleSwitch switchEnergy(const ModuleEntry&, ControllerTestor& testor)
{
    ModelEnergyEntity& entity = *testor.dataEnergy;
    QMutexLocker lock(&entity.entityLock);
    // The page measured has ended. At the end the stop ends the pulse output
    // and counting too.
    ++runRing().ended;
    return switchRing(testor, entity);
}

// ---- State changes -------------------------------------------------------------------------

std::vector<qint32> runningState(qint32 running, qint32 count)
{
    if (running >= 0 && running < count)
        return {running};
    return {};
}

// Energy: the entity counts the state changes itself.
template <typename Entity, Entity* ControllerTestor::*M>
std::vector<qint32> followStates(ControllerTestor& testor, qint32)
{
    Entity& entity = entityOf<Entity, M>(testor);
    QMutexLocker lock(&entity.entityLock);
    entity.updateFromDriverState();
    return runningState(entity.outputRunningStateIndex, entity.stateCount);
}

// Ramping: the entity takes the running state from the page the instrument
// went on to after the page reported ended (the sending state where none is
// written after it yet).
std::vector<qint32> followRamping(ControllerTestor& testor, qint32 index)
{
    ModelRampingEntity& entity = *testor.dataRamping;
    QMutexLocker lock(&entity.entityLock);
    SwitchedRing& ring = runRing();
    ring.noteEnded(index);
    const SwitchedRing::Page* page = ring.page(std::min(ring.ended + 1, ring.last));
    entity.followTo(page ? page->state : entity.outputSendingStateIndex);
    return runningState(entity.outputRunningStateIndex, entity.stateCount);
}

// Distance and overcurrent: the entity follows the instrument to the page it
// goes to, the one after the last that ended (where none is written yet, the
// state after that page, unless a fault waits there to be judged); a page
// the testor switched past ends with that switch.
template <typename Entity, Entity* ControllerTestor::*M>
std::vector<qint32> followGroups(ControllerTestor& testor, qint32 index)
{
    Entity& entity = entityOf<Entity, M>(testor);
    QMutexLocker lock(&entity.entityLock);
    SwitchedRing& ring = runRing();
    ring.noteEnded(index);
    if (const SwitchedRing::Page* ended = ring.page(ring.ended)) {
        const SwitchedRing::Page* next = ring.page(ring.ended + 1);
        if (next)
            entity.followTo(next->state);
        else if (!entity.faultNext())
            entity.followTo(ended->state + 1);
    }
    return runningState(entity.outputRunningStateIndex, entity.stateCount);
}

// The load-shedding tests announce points, not states; a check page plays
// no state of its own, and a page whose fault waits to be judged is
// followed once it is (switchShedding).
template <typename Slip, Slip* ControllerTestor::*M>
std::vector<qint32> followPoints(ControllerTestor& testor, qint32 index)
{
    Slip& entity = entityOf<Slip, M>(testor);
    QMutexLocker lock(&entity.entityLock);
    SwitchedRing& ring = runRing();
    const qint64 before = ring.ended;
    ring.noteEnded(index);
    const SwitchedRing::Page* ended = ring.page(ring.ended);
    if (ring.ended > before && !(ended && ended->check)) {
        if (ring.ended >= ring.last && entity.faultNext())
            ++entity.endsToFollow;
        else
            entity.updateFromDriverState();
    }
    return runningState(entity.outputRunningPointIndex, entity.pointCnt);
}

// ---- Trips --------------------------------------------------------------------------------

// The edge of the report, on the page it names (the state that page
// carries, seen from the state the entity last heard began), taken into the
// run's record; every state's trip as the judgement then reads it.
int recordSequenceTrip(const ModuleEntry&, ControllerTestor& testor, qint32 actionFlag, qint32 actionIndex,
                       qint64 stampUs, qint32 stateIndex)
{
    ModelStateSequenceEntity& e = *testor.dataStateSequence;
    QMutexLocker lock(&e.entityLock);
    if (actionIndex < 0 || actionIndex >= ContactJudgement::kInputs)
        return -1;
    qint32 code = (actionFlag >> (2 * actionIndex)) & 3;
    const int state = e.stateOfActionPage(DriverStateWord(stateIndex).page());
    if (code == 0 || state < 0 || state >= std::min(e.stateCount, int(ModelStateSequenceEntity::kMaxStates)))
        return -1;
    std::vector<SequenceEdge>& edges = sequenceRun().edges[actionIndex];
    // Both edges seen on the page: the one that changed the level its last edge left.
    if (code == 3)
        code = !edges.empty() && edges.back().closed ? 2 : 1;
    edges.push_back({state, stampUs, code == 1});
    e.lastActionStateIndex = state;
    if (judgeSequence(e))
        raiseBIStateAction();
    return 0;
}

// The edge a report took is the trip the judgement gives the record page it
// lies in: that page's index in the record, else -1.
int tripPageOf(const SwitchedRing::Recorded& recorded, const SwitchedRing::Taken& taken, int input)
{
    const int i = ContactJudgement::pageAt(recorded.record, taken.us);
    if (i < 0)
        return -1;
    const ContactJudgement::Judgement& j = recorded.judged[size_t(i)];
    const bool trip = j.outcome == ContactJudgement::Outcome::Trip && j.input == input
                      && recorded.record.pages[size_t(i)].startUs + j.tripUs == taken.us;
    return trip ? i : -1;
}

// Distance and overcurrent: the edge taken into the run's record, and every
// fault's result as the judgement then reads it.
template <typename Entity, Entity* ControllerTestor::*M>
int recordFaultTrip(const ModuleEntry&, ControllerTestor& testor, qint32 actionFlag, qint32 actionIndex,
                    qint64 stampUs, qint32 stateIndex)
{
    Entity& e = entityOf<Entity, M>(testor);
    QMutexLocker lock(&e.entityLock);
    SwitchedRing& ring = runRing();
    if (ring.take(stateIndex, stampUs, actionIndex, actionFlag).code == 0)
        return -1;
    judgeRun(e, ring);
    return 0;
}

// Ramping: each ramp's trip as the judgement of contacts places it, valued
// with what the step its contact moved on played, however far the ring has
// been written since, and timed from that step's start. The run page of
// the trip taken now, -1 where the edge is none.
qint64 storeRampingJudgement(ModelRampingEntity& e, SwitchedRing& ring, const SwitchedRing::Recorded& recorded,
                             int tripPage)
{
    using ContactJudgement::Outcome;
    std::vector<bool> tripped(size_t(ModelRampingEntity::kMaxStates), false);
    for (size_t i = 0; i < recorded.judged.size(); ++i) {
        const ContactJudgement::Page& p = recorded.record.pages[i];
        const int s = p.index;
        if (p.role != ContactJudgement::Role::Step || s < 0 || s >= ModelRampingEntity::kMaxStates)
            continue;
        const ContactJudgement::Judgement& j = recorded.judged[i];
        if (p.beginsReset)
            e.stateBeganUnreset[s] = j.outcome == Outcome::NotReset;
        if (tripped[size_t(s)])
            continue;
        if (j.outcome == Outcome::Trip) {
            tripped[size_t(s)] = true;
            const int64_t fromStep = p.startUs + j.tripUs - recorded.stepStartUs(int(i));
            e.takeJudged(s, j.input, j.closed ? 1 : 2, double(fromStep) / 1e6,
                         ring.outputsOf(recorded.number[i]));
        }
    }
    for (size_t i = 0; i < recorded.judged.size(); ++i) {
        const ContactJudgement::Page& p = recorded.record.pages[i];
        if (p.role == ContactJudgement::Role::Step && p.index >= 0 && p.index < ModelRampingEntity::kMaxStates
            && !tripped[size_t(p.index)])
            e.takeJudged(p.index, -1, 0, 0.0, {});
    }
    return tripPage >= 0 ? recorded.number[size_t(tripPage)] : -1;
}

int recordRampingTrip(const ModuleEntry&, ControllerTestor& testor, qint32 actionFlag, qint32 actionIndex,
                      qint64 stampUs, qint32 stateIndex)
{
    ModelRampingEntity& e = *testor.dataRamping;
    QMutexLocker lock(&e.entityLock);
    SwitchedRing& ring = runRing();
    const SwitchedRing::Taken taken = ring.take(stateIndex, stampUs, actionIndex, actionFlag);
    if (taken.code == 0)
        return -1;
    const SwitchedRing::Recorded recorded = ring.judge(&rampingRole);
    const qint64 page = storeRampingJudgement(e, ring, recorded, tripPageOf(recorded, taken, actionIndex));
    // The trip ends its state's ramp, unless the ring is written past the state.
    if (page >= 0 && ring.stateOf(page) == e.outputSendingStateIndex) {
        e.lastStep = DriverStateWord(stateIndex).ended();
        raiseBIStateAction();
    }
    return 0;
}

// Load shedding: the first change the judgement of contacts places in a
// fault's page (wherever the instrument confirmed it) is a trip, and ends
// the point being searched; any other is the relay's.
template <typename Slip, Slip* ControllerTestor::*M>
int recordSlipTrip(const ModuleEntry&, ControllerTestor& testor, qint32 actionFlag, qint32 actionIndex,
                   qint64 stampUs, qint32 stateIndex)
{
    Slip& e = entityOf<Slip, M>(testor);
    QMutexLocker lock(&e.entityLock);
    SwitchedRing& ring = runRing();
    const SwitchedRing::Taken taken = ring.take(stateIndex, stampUs, actionIndex, actionFlag);
    if (taken.code == 0)
        return -1;
    const SwitchedRing::Recorded recorded = ring.judge(roleOf(e));
    const int i = tripPageOf(recorded, taken, actionIndex);
    if (i < 0)
        return -1;
    const int64_t fromStart = taken.us - recorded.record.pages[size_t(i)].startUs;
    if (e.updateFromDriverAction(actionFlag, actionIndex, float(double(fromStart) / 1e6)) != 0)
        return -1;
    e.actionEnable = true;
    return 0;
}

// The two-input reports (state number from 1). The polling loop sends them
// for the modules without an entity only; they are kept for the entities'
// forms.
int recordSequenceTwoInputTrip(const ModuleEntry&, ControllerTestor& testor, qint32 bi1flag, qint32 bi2flag,
                               float actionTime, qint32 stateIndex, qint32 bi1state, qint32 bi2state)
{
    ModelStateSequenceEntity& e = *testor.dataStateSequence;
    QMutexLocker lock(&e.entityLock);
    if (e.updateFromDriverAction(bi1flag, bi2flag, actionTime, stateIndex, bi1state, bi2state) != 0)
        return -1;
    if (stateIndex >= 1 && isBinaryTrigger(e.getTriggerType(stateIndex - 1)))
        raiseBIStateAction();
    return 0;
}

template <typename Entity, Entity* ControllerTestor::*M>
int recordFaultTwoInputTrip(const ModuleEntry&, ControllerTestor& testor, qint32 bi1flag, qint32 bi2flag,
                            float actionTime, qint32 stateIndex, qint32, qint32)
{
    Entity& e = entityOf<Entity, M>(testor);
    QMutexLocker lock(&e.entityLock);
    if (e.updateFromDriverAction(bi1flag, bi2flag, actionTime, stateIndex) != 0)
        return -1;
    if (stateIndex >= 1 && !endsByTimeOnly(e.getTriggerType(stateIndex - 1)))
        raiseBIStateAction();
    return 0;
}

int recordRampingTwoInputTrip(const ModuleEntry&, ControllerTestor& testor, qint32 bi1flag, qint32 bi2flag,
                              float actionTime, qint32, qint32, qint32)
{
    ModelRampingEntity& e = *testor.dataRamping;
    QMutexLocker lock(&e.entityLock);
    const int running = e.outputRunningStateIndex;
    if (e.updateFromDriverAction(bi1flag, bi2flag, actionTime, running) != 0)
        return -1;
    if (running >= 1 && e.getTriggerType(running - 1) != ModelEntity::AO_TRIGGER_TYPE_TIME) {
        e.lastStep = true;
        raiseBIStateAction();
    }
    return 0;
}

// ---- Pulses --------------------------------------------------------------------------------

// A NaN period means the count window ran out, the measured time is not to
// be trusted or the reading failed: the count is kept, with no result.
int takeEnergyPulse(ControllerTestor& testor, qint32 count, double period)
{
    return testor.dataEnergy->updateFromDriverPulse(static_cast<unsigned short>(count), period);
}

// ---- Adaptor records -------------------------------------------------------------------------

constexpr char kUnderFrequency[] = "under-frequency load shedding";
constexpr char kUnderVoltage[] = "under-voltage load shedding";

// Distance and overcurrent: fixed groups of pre-fault, fault and after-fault
// states (overcurrent: with waits for the relay's reset).
template <typename Entity, Entity* ControllerTestor::*M, ModuleStart (*Why)(const Entity&),
          ModuleSwitch (*Switch)(const ModuleEntry&, ControllerTestor&)>
constexpr ModuleAdaptors faultGroupAdaptors()
{
    return {
        /* entityLock */ &entityLock<Entity, M>,
        /* start */ &startOnePageAhead<Entity, M, Why>,
        /* switchState */ Switch,
        /* trip */ &recordFaultTrip<Entity, M>,
        /* twoInputTrip */ &recordFaultTwoInputTrip<Entity, M>,
        /* followState */ &followGroups<Entity, M>,
        /* boStates */ &boStates<Entity, M>,
        /* outputCurrentMax */ nullptr,
        /* channelCurrent */ nullptr,
        /* pulse */ nullptr,
        /* nextState */ nullptr,
    };
}

template <typename Slip, Slip* ControllerTestor::*M, const char* Module>
constexpr ModuleAdaptors sheddingAdaptors()
{
    return {
        /* entityLock */ &entityLock<Slip, M>,
        /* start */ &startSlip<Slip, M, Module>,
        /* switchState */ &switchShedding<Slip, M>,
        /* trip */ &recordSlipTrip<Slip, M>,
        /* twoInputTrip */ nullptr,
        /* followState */ &followPoints<Slip, M>,
        /* boStates */ nullptr,
        /* outputCurrentMax */ nullptr,
        /* channelCurrent */ nullptr,
        /* pulse */ nullptr,
        /* nextState */ nullptr,
    };
}

}   // namespace

ModuleStart stateSequenceStartRefusal(const ModelStateSequenceEntity& entity, const StartConditions& conditions)
{
    QMutexLocker lock(&entity.entityLock);
    const ModuleStart domain = sequenceDomainRefusal(entity, conditions);
    if (domain.refused)
        return domain;
    if (!entity.checkOutputValues())
        return stateCountRefusal(entity, "state sequence");
    return sequenceLapRefusal(entity);
}

ModuleStart rampingStartRefusal(const ModelRampingEntity& entity, const StartConditions& conditions)
{
    QMutexLocker lock(&entity.entityLock);
    const ModuleStart domain = rampingDomainRefusal(entity, conditions);
    if (domain.refused)
        return domain;
    if (!entity.checkOutputValues())
        return rampingRefusal(entity);
    return rampingDebounceRefusal(moduleEntry(ControllerTestor::TEST_RAMPING), entity, conditions.debounce);
}

namespace ModuleAdaptorSets {

using TT = ControllerTestor;

// Each state that ended takes the time reported with it, in order: the
// time the instrument played it, never a neighbour's. Where the ring holds
// the page of a state before the last, the instrument reached the page after
// it before it was written: the run ends there, that state and those after
// it not played (NoTest). The last state ends the run once the ring has held
// it for the debounce: a contact that moved before it ended is confirmed by
// then.
SequenceFollow followSequence(ControllerTestor& testor, const std::vector<double>& stateTimes, qint64 heldUs)
{
    ModelStateSequenceEntity& entity = *testor.dataStateSequence;
    QMutexLocker lock(&entity.entityLock);
    const int count = std::min(entity.stateCount, int(ModelStateSequenceEntity::kMaxStates));
    SequenceFollow out;
    for (const double played : stateTimes) {
        entity.updateFromDriverState(played);
        if (entity.outputRunningStateIndex < count)
            out.begun.push_back(entity.outputRunningStateIndex);
    }
    sequenceRun().heldUs = heldUs;
    const int running = entity.outputRunningStateIndex;
    if (heldUs >= 0 && running < count) {
        entity.stateTestStates[running] = ModelEntity::AO_STATE_TYPE_INITING;
        out.begun.clear();
        out.endRun = true;
        out.unwrittenState = running;
        qWarning("State sequence: the instrument ended state %d before state %d was written; the run ends there, "
                 "states %d to %d not played",
                 running, running + 1, running + 1, count);
    } else if (heldUs >= std::llround(ModelEntity::debounceSeconds() * 1e6)) {
        out.endRun = true;
    }
    judgeSequence(entity);
    return out;
}

void judgeSequenceStopped(ControllerTestor& testor)
{
    ModelStateSequenceEntity& entity = *testor.dataStateSequence;
    QMutexLocker lock(&entity.entityLock);
    judgeSequence(entity, true);
}

void followEndedAtStop(ControllerTestor& testor, const ModuleAdaptors& run)
{
    SwitchedRing& ring = runRing();
    DriverStateWord word;
    if (!run.followState || ring.last < 0 || driverBaseReadStateWord(&word) != 0)
        return;
    // One report a page, as the polling loop gives them.
    const qint64 ended = ring.endedAsRead(word);
    for (qint64 n = ring.ended + 1; n <= ended; ++n)
        run.followState(testor, DriverStateWord::endedPage(int(n % DRIVER_PAGE_COUNT)).word);
}

const ModuleAdaptors stateSequence = {
    /* entityLock */ &entityLock<ModelStateSequenceEntity, &TT::dataStateSequence>,
    /* start */ &startSequence,
    /* switchState */ &switchSequence,
    /* trip */ &recordSequenceTrip,
    /* twoInputTrip */ &recordSequenceTwoInputTrip,
    /* followState */ nullptr,   // its reports carry times: followSequence
    /* boStates */ &boStates<ModelStateSequenceEntity, &TT::dataStateSequence>,
    /* outputCurrentMax */ nullptr,
    /* channelCurrent */ nullptr,
    /* pulse */ nullptr,
    /* nextState */ &nextSequenceState,
};

const ModuleAdaptors distance =
    faultGroupAdaptors<ModelDistanceEntity, &TT::dataDistance, &distanceRefusal, &switchDistance>();
const ModuleAdaptors overcurrent =
    faultGroupAdaptors<ModelOvercurrentEntity, &TT::dataOvercurrent, &overcurrentRefusal, &switchOvercurrent>();

const ModuleAdaptors ramping = {
    /* entityLock */ &entityLock<ModelRampingEntity, &TT::dataRamping>,
    /* start */ &startRamping,
    /* switchState */ &switchRamping,
    /* trip */ &recordRampingTrip,
    /* twoInputTrip */ &recordRampingTwoInputTrip,
    /* followState */ &followRamping,
    /* boStates */ &boStates<ModelRampingEntity, &TT::dataRamping>,
    /* outputCurrentMax */ nullptr,
    /* channelCurrent */ nullptr,
    /* pulse */ nullptr,
    /* nextState */ &nextRampingState,
};

const ModuleAdaptors energy = {
    /* entityLock */ &entityLock<ModelEnergyEntity, &TT::dataEnergy>,
    /* start */ &startEnergy,
    /* switchState */ &switchEnergy,
    /* trip */ nullptr,
    /* twoInputTrip */ nullptr,
    /* followState */ &followStates<ModelEnergyEntity, &TT::dataEnergy>,
    /* boStates */ &boStates<ModelEnergyEntity, &TT::dataEnergy>,
    /* outputCurrentMax */ nullptr,
    /* channelCurrent */ nullptr,
    /* pulse */ &takeEnergyPulse,
    /* nextState */ nullptr,
};

const ModuleAdaptors slipFrequency =
    sheddingAdaptors<ModelSlipFrequencyEntity, &TT::dataSlipFrequency, kUnderFrequency>();
const ModuleAdaptors slipVoltage = sheddingAdaptors<ModelSlipVoltageEntity, &TT::dataSlipVoltage, kUnderVoltage>();

}   // namespace ModuleAdaptorSets
