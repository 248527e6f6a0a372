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
    // The output record of the page written last, as it was written, into
    // the page after it, played on for the debounce and ended by its time
    // alone, so that a contact that moved before that page ended is
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
    // Page n of the run, null when it is not (or no longer) in the ring.
    const Page* page(qint64 n) const;
    // The state of page n of the run (-1: none written), and what it played.
    qint32 stateOf(qint64 n) const;
    ModelEntity::PageOutputs outputsOf(qint64 n) const;
    // The last page of the run ended, as the state word `word` read from
    // the instrument says.
    qint64 endedAsRead(DriverStateWord word) const
    {
        const qint64 n = numberOf(word.page());
        return word.ended() ? n : n - 1;
    }
    // Names every page written and switches the instrument at once to the
    // last, past the pages between (the driver's result).
    int switchToLast(ControllerTestor& testor);

    // ---- The run's record, as the judgement of contacts reads it ----
    //
    // Every page the instrument entered, placed on its clock by how long it
    // played each page before it (the driver's figures of the pages its
    // switches left: from entry until left, the holds while the host was late
    // included), and every edge the instrument stamped, at its stamp less the
    // debounce from the start of the page it was stamped on. Pages switched
    // past were never entered and are not in it.

    // What the pages of a state are to the judgement.
    using RoleOf = ContactJudgement::Role (*)(qint32 state);
    struct Recorded
    {
        ContactJudgement::Record record;
        std::vector<qint64> number;   // the page of the run of each record page
        std::vector<bool> continues;  // ... that plays the step of the page before it on
        std::vector<ContactJudgement::Judgement> judged;
        // The judgement of `state`: of its pages (a ramp's steps, a fault
        // and its check pages), the first with a trip, or else the last
        // one's; null where none of its pages is in the record.
        const ContactJudgement::Judgement* of(qint32 state) const;
        // The record page of page n of the run, -1 where it is not in it.
        int indexOf(qint64 n) const;
        // The start of the step record page i plays on: of the first of the
        // pages that play it on.
        int64_t stepStartUs(int i) const;
    };
    // The record so far and its judgement; `stopped`: the run has ended.
    Recorded judge(RoleOf roleOf, bool stopped = false);
    // An action report (its state word, the stamp, input `index` and the
    // flag word, whose bits 2i..2i+1 give input i's edge code: 1 rising, 2
    // falling, 3 both seen on the page) taken into the record. The edge
    // taken, 1 or 2, and its moment on the run's clock; code 0 where no page
    // of this run entered was written in the page the word names.
    struct Taken
    {
        qint32 code = 0;
        int64_t us = 0;
    };
    Taken take(qint32 stateWord, int64_t stampUs, int index, qint32 actionFlag);
    // What to do with the fault to be written after the page written last,
    // decided on the record so far; `leaving`: the fault follows the page
    // playing at once, a switch leaving it now.
    ContactJudgement::Decision nextFaultDecision(RoleOf roleOf, const qint32 watch[4], bool allInputs,
                                                 bool leaving = false);
    // The inputs `watch` (with `allInputs`, AND logic) at their operated
    // levels as last stamped: a trip still standing.
    bool operatedNow(RoleOf roleOf, const qint32 watch[4], bool allInputs);

private:
    // Names page n (written in full).
    void name(qint64 n);
    // The page of this run written in ring page `ringPage` (the last such).
    qint64 numberOf(int ringPage) const;
    // The pages the driver's switches left since the last call, taken in.
    void takeLeft();
    ContactJudgement::Record record(RoleOf roleOf, std::vector<qint64>& number) const;
    // The start of page n on the run's clock, -1 where not known.
    int64_t startUs(qint64 n) const;

    Page pages[kPages];
    CommDriverTestOutputData lastRecord;   // the output record of the page written last

    struct Played
    {
        qint32 state = -1;
        ModelEntity::PageOutputs outputs;
        int64_t setUs = 0;        // its time to the tick, us; 0: no time ends it
        int64_t lengthUs = -1;    // from its entry until the ring left it; -1: not left yet
        bool skipped = false;     // switched past, never entered
        bool continues = false;   // plays on the step of the page before it
        bool check = false;
        uint8_t watch[ContactJudgement::kInputs] = {};
        bool allInputs = false;
        bool binaryEnds = false;
    };
    std::vector<Played> played;   // by page of the run
    qint64 entered = 0;           // the last page of the run the instrument entered
    size_t leftTaken = 0;         // the driver's notes of pages left taken in so far
    std::vector<ContactJudgement::Edge> edges[ContactJudgement::kInputs];
    int8_t startLevels[ContactJudgement::kInputs] = {-1, -1, -1, -1};   // as the run began
};

// The ring of the run in progress (or of the last run).
SwitchedRing& runRing();
