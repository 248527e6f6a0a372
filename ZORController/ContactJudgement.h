#pragma once

// The judgement of a run's contacts from what the instrument recorded: the
// pages it played (each with its start, the end of its set time and the
// moment it left it, on the instrument's clock) and the edges it stamped on
// each binary input.
// No thread, driver or Qt object: every verdict and every live decision
// (play the next fault or pass it over, a check page, end a step after a
// trip) reads the same function over the record known so far.
//
// Policies, in microseconds of the instrument's clock:
// - An input's level at a moment is the level its last edge stamped at or
//   before that moment left, or before its first edge the level read as the
//   run began (an edge to the level an earlier edge left changes nothing;
//   the first edge is a change).
// - A page holds its start and not its end: [start, end), the end the moment
//   the instrument left it. A page it held past its set time (the switch
//   late) played on: what the relay did then is that page's, as the
//   instrument stamps it (a trip there is timed from the page's start).
// - A change is confirmed once the input has kept its level for the
//   debounce: no change within [stamp, stamp + debounce), and the record
//   known that far. A page's trip is the first change stamped in its window
//   toward a level it watches (rising: closed, falling: open) that is
//   confirmed, wherever the confirmation falls; with AND logic every watched
//   input is at its operated level at that stamp. Of changes sharing that
//   stamp, the highest-numbered input's is the trip.
// - A page that must begin reset is Not Reset where its watched inputs are
//   operated as it begins (OR: any, AND: all): by the edges stamped before
//   it began, the page before it ended at the end of its set time, however
//   long the instrument held it (a check page after it not counted). An input
//   watched for both edges is operated at the level the last trip on it
//   left. Levels are known up to a debounce before the record ends (a
//   change is stamped once it is confirmed).
// - AND logic: an input watched for both edges with no trip on it yet has no
//   operated level. It counts as not operated for a page's reset, and does
//   not hold the set back for a trip (the trip then needs the other inputs
//   only).
// - What a stop left undecided is NoTest.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ContactJudgement {

constexpr int kInputs = 4;
constexpr int64_t kNone = -1;

enum class Role {
    PreFault,
    Fault,      // fault of point `index`
    Interval,   // between faults
    Check,      // the page before played on for the debounce
    Step,       // step `index` of item `item`
    State,      // state `index`
    AfterFault
};

struct Page
{
    Role role = Role::Fault;
    int index = 0;
    int item = 0;
    int64_t startUs = 0;
    int64_t setEndUs = kNone;      // its set time ran out; kNone: not (yet), or none
    int64_t endUs = kNone;         // the instrument left it; kNone: not yet
    uint8_t watch[kInputs] = {};   // per input: bit 0 rising, bit 1 falling
    bool allInputs = false;        // AND logic
    bool beginsReset = false;      // a contact operated as it begins reads Not Reset
    bool endsOnChange = false;     // a watched change ends it
    bool judged() const { return role == Role::Fault || role == Role::Step || role == Role::State; }
};

struct Edge
{
    int64_t us = 0;
    bool closed = false;   // the level the contact moved to
};

struct Record
{
    std::vector<Page> pages;                         // in the order played
    int8_t startLevel[kInputs] = {-1, -1, -1, -1};   // before the first edge; -1 unknown
    std::vector<Edge> edges[kInputs];                // each input's, in time order
    int64_t debounceUs = 0;
    int64_t knownToUs = 0;   // the instrument's clock the record covers
    bool stopped = false;    // the run stopped at knownToUs: nothing comes after
};

enum class Outcome {
    Pending,
    Trip,
    NoAction,
    NotReset,
    NoTest
};

struct Judgement
{
    Outcome outcome = Outcome::Pending;
    int input = -1;                                  // the trip's input
    bool closed = false;                             // the level the trip moved it to
    int64_t tripUs = 0;                              // its stamp, from the page's start
    int8_t startLevel[kInputs] = {-1, -1, -1, -1};   // as the page began (-1 unknown; resetMoment)
};

// The level of `input` at `us` from its stamps (1 closed, 0 open, -1 unknown).
int levelAt(const Record& record, int input, int64_t us);

// Where a page's reset is read: the end of the set time of the page before
// it, where that came before this page's start.
int64_t resetMoment(const Record& record, size_t page);

// The page whose window holds `us`, or -1.
int pageAt(const Record& record, int64_t us);

// One judgement per page of the record (Pending for pages not judged).
std::vector<Judgement> judge(const Record& record);

// What a running test does with the fault that would follow the record's
// last page, `next` (its start where that page's set time ends it, or where
// the instrument left it), from the record known so far. A page the relay
// rests on (pre-fault, interval, after-fault) plays on for the debounce (a
// check page) unless the record already covers its set end and the
// debounce after it: every change before that end is stamped before the
// fault can begin (one confirmed within the fault would end it early); with
// no debounce it waits for that end. The fault is then passed over where
// judge() would read it Not Reset, else written: both read off a record
// that covers every change before its reset. After any other page (a fault,
// a check page) it waits for that page's end; where a change before it may
// then still be confirmed (a fault directly after a fault), the fault is
// left on the relay as last stamped.
enum class Decision {
    Write,     // write the fault: it begins reset
    Wait,      // write it once the page before has ended
    Check,     // play the page before on for the debounce first
    PassOver   // it begins on an operated relay: Not Reset, not played
};

Decision nextFaultDecision(const Record& record, const Page& next);

// The inputs `watching` watches at their operated levels as last stamped in
// the record (read as a page's reset is): a trip still standing.
bool operatedNow(const Record& record, const Page& watching);

}   // namespace ContactJudgement
