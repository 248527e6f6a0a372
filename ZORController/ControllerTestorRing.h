#pragma once

// The pages of a run in the instrument's ring of eight while the software
// switches them (every module but the state sequence, whose instrument steps
// by itself). The testor writes a page in full and only then names it; the
// polling loop's switch takes a page that has ended on to the page after it,
// one page at a time, and holds it while the switch names no page after it.
// Beside each page the testor keeps the state it was written with and the
// outputs it plays: a trip is valued with the page the instrument played when
// the input acted, however far the engine lags the instrument.
//
// Pages are counted from the start of the run; page n lies in ring page
// n % 8. What the testor writes follows from where the instrument is: the
// page the polling loop last reported ended (the page after it is the one
// the instrument goes to), or where the testor itself switched it; never
// from how many reports arrived. A page chosen by a trip is thus written only
// once that trip is known.
//
// One run at a time, on the testor thread.

#include "ContactJudgement.h"
#include "ModelEntityCommon.h"

#include <QtGlobal>

#include <vector>

class ControllerTestor;

class SwitchedRing
{
public:
    static constexpr int kPages = DriverStateWord::kPages;

    struct Page
    {
        qint64 number = -1;   // page of the run; -1: none written here in this run
        qint32 state = -1;    // the entity's state it was written with
        ModelEntity::PageOutputs outputs;
        // How long it plays, to the tick, once its time ends it; 0: no time
        // ends it, or a switch or a trip ended it before its time.
        double seconds = 0.0;
        bool continues = false;     // it plays on the step of the page before it
        bool binaryEnds = false;    // a binary input's action may end it
        bool check = false;         // it plays the page before it on for the debounce (writeCheck)
    };

    // Where a trip's contact moved: the page and the time, s, from the start
    // of the step that page plays, debounce off.
    struct Trip
    {
        const Page* page = nullptr;
        float time = 0.0f;
    };

    qint64 named = 0;          // the page the switch names (page 0 at the start)
    qint64 last = -1;          // the page written last
    qint64 ended = -1;         // the last page known to have ended (reported, or left by a switch)
    bool exhausted = false;    // the entity had no state left to write
    bool lastAtOnce = false;   // the page written last ends as soon as it is entered
    // A page the run is played to the end of, as it is written last (an
    // automatic ramp's last step, held for the debounce): the run ends once
    // it has ended, not as it is entered. -1: none.
    qint64 playedToEnd = -1;

    // A new run: nothing written, page 0 named.
    void reset();
    // The contacts read from the instrument as the run begins (before its
    // first page is written): the run's levels before their first stamped
    // edge (the driver's result).
    int takeStartLevels();
    // The output record, as the entity filled it for `state`, into the page
    // after the last one written; the driver's result.
    int write(ControllerTestor& testor, qint32 state, const ModelEntity::PageOutputs& outputs);
    // The page written last plays on the step of the page before it: a trip
    // on it counts from that page's start.
    void continueStep();
    // The output record, as the entity filled it for the page written last,
    // into the page after it, played on for the debounce and ended by its
    // time alone, so that a contact that moved before that page ended is
    // confirmed and stamped (the driver's result).
    int writeCheck(ControllerTestor& testor);
    // Names every page written (each in full): the instrument may go on to them.
    void nameWritten() { name(last); }
    // The page the instrument plays or holds: the one it was last switched to.
    qint64 playing() const;
    // Pages written after the one playing.
    qint64 ahead() const { return last - playing(); }
    // The polling loop reported the page of `stateWord` (bits 0-2) ended
    // (bit 15); an earlier report than the last one taken changes nothing.
    void noteEnded(qint32 stateWord);
    // The page of this run an action report's state word names (bits 0-2),
    // null when none was written there.
    const Page* pageOfReport(qint32 stateWord) const;
    // Where the contact of an action report moved (its state word and time,
    // as the polling loop sends them): on the page the word names, or, where
    // the word says it moved before that page began, on the page before, a
    // debounce less the stamp before that page's time ran out (the
    // instrument's hold of that page once ended, which none of its ticks
    // counts, left out). The time counts from the start of the step: of the
    // first page of those that play it on. The page is null, and the time
    // the report's, where no page of this run was written there; the page
    // the word names and the report's time where the page before is not in
    // the ring or not played to its time. A report that ends a page an
    // action may end tells that page's time ended it not.
    Trip tripOf(qint32 stateWord, float time);
    // Page n of the run, null when it is not (or no longer) in the ring.
    const Page* page(qint64 n) const;

    // The run as the judgement of contacts reads it (ContactJudgement.h):
    // every page written, placed on the instrument's clock by how long each
    // before it played (its set time, or the last stamp on it where that is
    // later: a trip ended it, or the instrument held it), and the edges of
    // the action reports. `fault` tells a fault's state.
    using FaultState = bool (*)(qint32 state);
    ContactJudgement::Record contactRecord(FaultState fault) const;
    // Where an action report's edge (input `index`, code 1 rising, 2
    // falling, 3 both seen on the page) lies: the page of the run (-1:
    // none), and whether it is that page's trip, timed from the page's
    // start, s; the record taken in, and every page judged.
    struct Placed
    {
        qint32 code = 0;   // the edge taken: 1 rising, 2 falling
        qint64 page = -1;
        bool trip = false;
        float time = 0.0f;
        std::vector<ContactJudgement::Judgement> judged;
    };
    Placed place(qint32 stateWord, float time, int index, qint32 code, FaultState fault);
    // The state of page n of the run (-1: none written).
    qint32 stateOf(qint64 n) const;
    // What to do with the fault to be written after the page written last,
    // decided on the record so far.
    ContactJudgement::Decision nextFaultDecision(FaultState fault, const qint32 watch[4], bool allInputs) const;
    // Names every page written and switches the instrument at once to the
    // last, past the pages between (the driver's result).
    int switchToLast(ControllerTestor& testor);

private:
    // Names page n (written in full).
    void name(qint64 n);
    // The page of this run written in ring page `ringPage` (the last such).
    qint64 numberOf(int ringPage) const;

    Page pages[kPages];

    struct Played
    {
        qint32 state = -1;
        double seconds = 0.0;    // as Page::seconds
        double stampMax = 0.0;   // the last stamp on it, s from its start, debounce included
        bool check = false;
        uint8_t watch[ContactJudgement::kInputs] = {};
        bool allInputs = false;
        bool binaryEnds = false;
    };
    std::vector<Played> played;   // by page of the run
    std::vector<ContactJudgement::Edge> edges[ContactJudgement::kInputs];
    int8_t startLevels[ContactJudgement::kInputs] = {-1, -1, -1, -1};   // as the run began
    qint64 playedStartUs(qint64 n) const;
};

// The ring of the run in progress (or of the last run).
SwitchedRing& runRing();
