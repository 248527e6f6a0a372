#include "ContactJudgement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string>

using namespace ContactJudgement;

namespace {

constexpr int64_t ms = 1000;

// A page watching input 0 (rising unless said).
Page page(Role role, int64_t start, int64_t setEnd, int64_t end, uint8_t watch0 = 1)
{
    Page p;
    p.role = role;
    p.startUs = start;
    p.setEndUs = setEnd;
    p.endUs = end;
    p.watch[0] = watch0;
    p.beginsReset = role == Role::Fault;
    return p;
}

Page timed(Role role, int64_t start, int64_t seconds, uint8_t watch0 = 1)
{
    return page(role, start, start + seconds, start + seconds, watch0);
}

struct Expect
{
    Outcome outcome;
    int64_t tripUs;
};

struct Row
{
    const char* name;
    Record record;
    std::vector<std::pair<size_t, Expect>> expect;   // page, its judgement
};

Record record(std::vector<Page> pages, std::vector<Edge> input0, int64_t debounce, int64_t knownTo,
              bool stopped = false)
{
    Record r;
    r.pages = std::move(pages);
    r.startLevel[0] = 0;
    r.edges[0] = std::move(input0);
    r.debounceUs = debounce;
    r.knownToUs = knownTo;
    r.stopped = stopped;
    return r;
}

std::vector<Row> rows()
{
    std::vector<Row> rows;
    // O/C, 65 ms faults, a 0.5 s interval; the IA relay closes 60 ms into
    // fault 1 and opens 0.1 s after it; the IB relay 10 ms into fault 2.
    rows.push_back({"overcurrent two relays, the first opening in the interval",
                    record({timed(Role::Fault, 0, 65 * ms), timed(Role::Interval, 65 * ms, 500 * ms, 3),
                            timed(Role::Fault, 565 * ms, 65 * ms)},
                           {{60 * ms, true}, {165 * ms, false}, {575 * ms, true}}, 10 * ms, 2000 * ms),
                    {{0, {Outcome::Trip, 60 * ms}}, {2, {Outcome::Trip, 10 * ms}}}});
    // Distance: zone A relay 1.105 s, reset 0.1 s; zone B relay 1.000 s.
    rows.push_back({"distance two relays",
                    record({timed(Role::Fault, 0, 1150 * ms), timed(Role::Interval, 1150 * ms, 500 * ms, 3),
                            timed(Role::Fault, 1650 * ms, 1150 * ms)},
                           {{1105 * ms, true}, {1250 * ms, false}, {2650 * ms, true}}, 10 * ms, 4000 * ms),
                    {{0, {Outcome::Trip, 1105 * ms}}, {2, {Outcome::Trip, 1000 * ms}}}});
    // A relay slower than its fault: closed 60 ms into fault 1, confirmed
    // on fault 2 (0.5 ms after), still closed as fault 2 begins.
    rows.push_back({"slow relay, point 2 at 2 A",
                    record({timed(Role::Fault, 0, 65 * ms), timed(Role::AfterFault, 65 * ms, 500, 3),
                            timed(Role::Fault, 65500, 65 * ms)},
                           {{60 * ms, true}}, 10 * ms, 500 * ms),
                    {{0, {Outcome::Trip, 60 * ms}}, {2, {Outcome::NotReset, 0}}}});
    rows.push_back({"slow relay, point 2 at 0.5 A",
                    record({timed(Role::Fault, 0, 65 * ms), timed(Role::AfterFault, 65 * ms, 500, 3),
                            timed(Role::Fault, 65500, 65 * ms)},
                           {{60 * ms, true}, {165 * ms, false}}, 10 * ms, 500 * ms),
                    {{0, {Outcome::Trip, 60 * ms}}, {2, {Outcome::NotReset, 0}}}});
    rows.push_back({"closing 1.051 s into a 1.065 s fault, confirmed after it",
                    record({timed(Role::Fault, 0, 1065 * ms), timed(Role::AfterFault, 1065 * ms, 500 * ms, 3)},
                           {{1051 * ms, true}}, 15 * ms, 2000 * ms),
                    {{0, {Outcome::Trip, 1051 * ms}}}});
    // State sequence, 1 s timed states, the second watching both edges.
    rows.push_back({"state sequence, closing 10 ms before the state ends",
                    record({timed(Role::State, 0, 1000 * ms), timed(Role::State, 1000 * ms, 1000 * ms, 3)},
                           {{990 * ms, true}}, 15 * ms, 3000 * ms),
                    {{0, {Outcome::Trip, 990 * ms}}, {1, {Outcome::NoAction, 0}}}});
    rows.push_back({"state sequence, closing a debounce before the state ends",
                    record({timed(Role::State, 0, 1000 * ms), timed(Role::State, 1000 * ms, 1000 * ms, 3)},
                           {{985 * ms, true}}, 15 * ms, 3000 * ms),
                    {{0, {Outcome::Trip, 985 * ms}}, {1, {Outcome::NoAction, 0}}}});
    // The interval's end is its set time, however long the instrument held it
    // (168 ms here).
    const auto held = [](int64_t opening) {
        return record({timed(Role::Fault, 0, 65 * ms), page(Role::Interval, 65 * ms, 565 * ms, 733 * ms, 3),
                       timed(Role::Fault, 733 * ms, 65 * ms)},
                      {{60 * ms, true}, {opening, false}, {743 * ms, true}}, 10 * ms, 2000 * ms);
    };
    rows.push_back({"opening 14 ms after the interval's set end", held(579 * ms), {{2, {Outcome::NotReset, 0}}}});
    rows.push_back({"opening 1.5 ms after the interval's set end", held(566500), {{2, {Outcome::NotReset, 0}}}});
    rows.push_back({"opening 1 ms before the interval's set end", held(564 * ms), {{2, {Outcome::Trip, 10 * ms}}}});
    // Ramping, a page per step: item 1 trips on its second step; item 2's
    // first step begins once the relay has reset.
    {
        Record r = record({timed(Role::Step, 0, 1000 * ms), timed(Role::Step, 1000 * ms, 1000 * ms),
                           timed(Role::Interval, 1965 * ms, 100 * ms, 3), timed(Role::Step, 2065 * ms, 1000 * ms)},
                          {{1950 * ms, true}, {1990 * ms, false}}, 15 * ms, 4000 * ms);
        r.pages[1].endUs = 1965 * ms;   // the trip, once confirmed, ended it
        r.pages[1].setEndUs = kNone;
        r.pages[3].beginsReset = true;
        rows.push_back({"ramping, item 2 after item 1's trip",
                        r,
                        {{0, {Outcome::NoAction, 0}}, {1, {Outcome::Trip, 950 * ms}}, {3, {Outcome::NoAction, 0}}}});
    }
    // A check page plays the interval on: an opening on it is too late.
    rows.push_back({"opening on the check page",
                    record({timed(Role::Fault, 0, 65 * ms), timed(Role::Interval, 65 * ms, 100 * ms, 3),
                            timed(Role::Check, 165 * ms, 10 * ms, 3), timed(Role::Fault, 175 * ms, 65 * ms)},
                           {{60 * ms, true}, {168 * ms, false}}, 10 * ms, 1000 * ms),
                    {{3, {Outcome::NotReset, 0}}}});
    // A bounce shorter than the debounce is no trip; the change after it is.
    rows.push_back({"bounce",
                    record({timed(Role::Fault, 0, 100 * ms)}, {{10 * ms, true}, {15 * ms, false}, {30 * ms, true}},
                           10 * ms, 1000 * ms),
                    {{0, {Outcome::Trip, 30 * ms}}}});
    // An edge on the start belongs to the page; one on the set end does not.
    rows.push_back({"edge on the page's start",
                    record({timed(Role::Fault, 0, 100 * ms)}, {{0, true}}, 0, 1000 * ms),
                    {{0, {Outcome::Trip, 0}}}});
    rows.push_back({"edge on the set end",
                    record({timed(Role::Fault, 0, 100 * ms)}, {{100 * ms, true}}, 0, 1000 * ms),
                    {{0, {Outcome::NoAction, 0}}}});
    // The levels read as the run began: the first stamped edge is a change
    // whatever they said (the contact moved before a page watched it); an
    // AND input watched for both edges, no trip on it yet, holds no set back.
    {
        Record r = record({timed(Role::State, 0, 100 * ms)}, {{30 * ms, true}}, 10 * ms, 1000 * ms);
        r.startLevel[0] = 1;
        rows.push_back({"read closed as the run began, closing in the state", r, {{0, {Outcome::Trip, 30 * ms}}}});
        r.startLevel[0] = r.startLevel[1] = 0;
        r.pages[0].watch[1] = 3;
        r.pages[0].allInputs = true;
        rows.push_back({"AND with an input watched for both edges", r, {{0, {Outcome::Trip, 30 * ms}}}});
    }
    // What the record does not yet tell waits; what a stop left is NoTest.
    rows.push_back({"confirmation not yet known",
                    record({timed(Role::Fault, 0, 100 * ms)}, {{95 * ms, true}}, 10 * ms, 100 * ms),
                    {{0, {Outcome::Pending, 0}}}});
    rows.push_back({"reset not yet known: a check page",
                    record({timed(Role::Fault, 0, 65 * ms), timed(Role::Interval, 65 * ms, 100 * ms, 3),
                            page(Role::Fault, 165 * ms, kNone, kNone)},
                           {{60 * ms, true}, {160 * ms, false}}, 10 * ms, 170 * ms),
                    {{0, {Outcome::Trip, 60 * ms}}, {2, {Outcome::Pending, 0}}}});
    rows.push_back({"stopped within a fault and before the next",
                    record({timed(Role::Fault, 0, 100 * ms), page(Role::Fault, 100 * ms, kNone, 150 * ms),
                            page(Role::Fault, 200 * ms, kNone, kNone)},
                           {{40 * ms, true}, {60 * ms, false}}, 10 * ms, 150 * ms, true),
                    {{0, {Outcome::Trip, 40 * ms}}, {1, {Outcome::NoTest, 0}}, {2, {Outcome::NoTest, 0}}}});
    return rows;
}

const char* name(Outcome o)
{
    static const char* const names[] = {"Pending", "Trip", "NoAction", "NotReset", "NoTest"};
    return names[int(o)];
}

TEST(ContactJudgementTest, JudgesEachRecordOfTheTable)
{
    for (const Row& row : rows()) {
        const std::vector<Judgement> got = judge(row.record);
        for (const auto& [p, want] : row.expect) {
            SCOPED_TRACE(std::string(row.name) + ", page " + std::to_string(p));
            EXPECT_STREQ(name(got[p].outcome), name(want.outcome));
            if (want.outcome == Outcome::Trip) {
                EXPECT_EQ(got[p].tripUs, want.tripUs);
            }
        }
    }
}

// The fault after the record's last page, decided on the record known so
// far (a host late by various amounts): O/C, fault 1 tripped 60 ms in, a
// 0.5 s interval watching both edges, a 10 ms debounce.
TEST(ContactJudgementTest, DecidesTheNextFaultOnTheRecordSoFar)
{
    enum Check {
        NoCheck,
        CheckPlaying,
        CheckEnded
    };
    const Edge trip{60 * ms, true};
    const struct
    {
        const char* name;
        int64_t intervalEnd;   // kNone: playing
        Check check;
        std::vector<Edge> edges;
        int64_t knownTo;
        Decision want;
    } rows[] = {
        // clang-format off
        // The interval plays on for the debounce whatever the relay does now.
        {"operated, the interval playing", kNone, NoCheck, {trip}, 300 * ms, Decision::Check},
        {"reset in the interval, the interval playing", kNone, NoCheck, {trip, {165 * ms, false}}, 300 * ms,
         Decision::Check},
        // Opening 5 ms after the interval's set end (565 ms).
        {"opening after the set end, ended 1 ms late, not stamped", 566 * ms, NoCheck, {trip}, 566 * ms,
         Decision::Check},
        {"opening after the set end, held 8 ms, not stamped", 573 * ms, NoCheck, {trip}, 573 * ms, Decision::Check},
        {"opening after the set end, held 12 ms, not stamped", 577 * ms, NoCheck, {trip}, 577 * ms,
         Decision::PassOver},
        {"opening after the set end, held 30 ms, stamped", 595 * ms, NoCheck, {trip, {570 * ms, false}}, 595 * ms,
         Decision::PassOver},
        {"opening after the set end, check page playing", 566 * ms, CheckPlaying, {trip, {570 * ms, false}},
         574 * ms, Decision::Wait},
        {"opening after the set end, check page held past its time", 566 * ms, CheckPlaying,
         {trip, {570 * ms, false}}, 580 * ms, Decision::PassOver},
        {"opening after the set end, on the check page", 566 * ms, CheckEnded, {trip, {570 * ms, false}}, 580 * ms,
         Decision::PassOver},
        // Opening 5 ms before it.
        {"opening before the set end, ended 1 ms late, not stamped", 566 * ms, NoCheck, {trip}, 566 * ms,
         Decision::Check},
        {"opening before the set end, held 30 ms, stamped", 595 * ms, NoCheck, {trip, {560 * ms, false}}, 595 * ms,
         Decision::Write},
        {"opening before the set end, after the check page", 566 * ms, CheckEnded, {trip, {560 * ms, false}},
         576 * ms, Decision::Write},
        {"opening stamped before the interval ended", 566 * ms, NoCheck, {trip, {550 * ms, false}}, 566 * ms,
         Decision::Check},
        {"opening stamped before the interval ended, known a debounce past it", 566 * ms, NoCheck,
         {trip, {550 * ms, false}}, 576 * ms, Decision::Write},
        // clang-format on
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Record r = record({timed(Role::Fault, 0, 65 * ms), page(Role::Interval, 65 * ms, 565 * ms, row.intervalEnd, 3)},
                          row.edges, 10 * ms, row.knownTo);
        if (row.check != NoCheck)
            r.pages.push_back(page(Role::Check, row.intervalEnd, row.intervalEnd + 10 * ms,
                                   row.check == CheckEnded ? row.intervalEnd + 10 * ms : kNone, 3));
        const Page& last = r.pages.back();
        const int64_t start = last.endUs != kNone ? last.endUs : last.setEndUs;
        EXPECT_EQ(int(nextFaultDecision(r, page(Role::Fault, start, start + 65 * ms, kNone))), int(row.want));
    }

    // With no debounce nothing waits to be stamped: the fault waits for the
    // interval's end, then reads the relay there.
    Record untripped = record({timed(Role::Fault, 0, 65 * ms), page(Role::Interval, 65 * ms, 565 * ms, kNone, 3)}, {},
                              0, 300 * ms);
    EXPECT_EQ(int(nextFaultDecision(untripped, page(Role::Fault, 565 * ms, 630 * ms, kNone))), int(Decision::Wait));
    untripped.knownToUs = 565 * ms;
    EXPECT_EQ(int(nextFaultDecision(untripped, page(Role::Fault, 565 * ms, 630 * ms, kNone))), int(Decision::Write));
    // No interval: the fault its trip ended is followed by the next at once.
    const Record tripped = record({page(Role::Fault, 0, kNone, 70 * ms)}, {trip}, 10 * ms, 70 * ms);
    EXPECT_EQ(int(nextFaultDecision(tripped, page(Role::Fault, 70 * ms, 135 * ms, kNone))), int(Decision::PassOver));
}

// ---- Against a plain reference --------------------------------------------------------------

// The level of each input at each microsecond from its stamps, and each
// page judged by walking its window one microsecond at a time.
struct Reference
{
    const Record& r;

    int level(int i, int64_t t) const
    {
        int l = r.startLevel[i];
        for (const Edge& e : r.edges[i])
            if (e.us <= t)
                l = e.closed ? 1 : 0;
        return l;
    }

    // From the stamps alone (-1 before the first), and whether one is at t.
    int stamped(int i, int64_t t) const
    {
        int l = -1;
        for (const Edge& e : r.edges[i])
            if (e.us <= t)
                l = e.closed ? 1 : 0;
        return l;
    }
    bool stampedAt(int i, int64_t t) const
    {
        return std::any_of(r.edges[i].begin(), r.edges[i].end(), [t](const Edge& e) { return e.us == t; });
    }

    static int target(uint8_t watch, int lastTrip)
    {
        return (watch & 3) == 1 ? 1 : (watch & 3) == 2 ? 0 : (watch & 3) == 3 ? lastTrip : -1;
    }

    std::vector<Outcome> judgeAll(std::vector<int64_t>& trips) const
    {
        std::vector<Outcome> out(r.pages.size(), Outcome::Pending);
        trips.assign(r.pages.size(), 0);
        int lastTrip[kInputs] = {-1, -1, -1, -1};
        const int64_t D = r.debounceUs;
        for (size_t p = 0; p < r.pages.size(); ++p) {
            const Page& pg = r.pages[p];
            if (!pg.judged())
                continue;
            if (r.stopped && pg.startUs > r.knownToUs) {
                out[p] = Outcome::NoTest;
                continue;
            }
            int64_t at = pg.startUs;
            size_t before = p;
            while (before > 0 && r.pages[before - 1].role == Role::Check)
                --before;
            if (before > 0 && r.pages[before - 1].setEndUs != kNone && r.pages[before - 1].setEndUs < at)
                at = r.pages[before - 1].setEndUs;
            if (pg.beginsReset) {
                if (at + D > r.knownToUs && !r.stopped)
                    continue;
                int watched = 0, operated = 0;
                for (int i = 0; i < kInputs; ++i) {
                    if ((pg.watch[i] & 3) == 0)
                        continue;
                    ++watched;
                    const int t = target(pg.watch[i], lastTrip[i]);
                    operated += t >= 0 && level(i, at - 1) == t;
                }
                if (operated > 0 && (!pg.allInputs || operated == watched)) {
                    out[p] = Outcome::NotReset;
                    continue;
                }
            }
            const int64_t end = pg.endUs != kNone ? pg.endUs : std::numeric_limits<int64_t>::max();
            bool pending = false;
            bool tripped = false;
            for (int64_t t = pg.startUs; t < end && t <= r.knownToUs && !pending && !tripped; ++t) {
                for (int i = 0; i < kInputs && !pending && !tripped; ++i) {
                    const int now = level(i, t);
                    if ((pg.watch[i] & 3) == 0 || !stampedAt(i, t) || now == stamped(i, t - 1) || now < 0)
                        continue;
                    if ((pg.watch[i] & (now == 1 ? 1 : 2)) == 0)
                        continue;
                    bool bounced = false;
                    for (int64_t s = t + 1; s < t + D; ++s)
                        bounced = bounced || level(i, s) != now;
                    if (bounced)
                        continue;
                    if (t + D > r.knownToUs) {
                        pending = true;
                        continue;
                    }
                    bool all = true;
                    for (int k = 0; k < kInputs; ++k)
                        if (pg.allInputs && k != i && target(pg.watch[k], lastTrip[k]) >= 0
                            && level(k, t) != target(pg.watch[k], lastTrip[k]))
                            all = false;
                    if (!all)
                        continue;
                    tripped = true;
                    out[p] = Outcome::Trip;
                    trips[p] = t - pg.startUs;
                    lastTrip[i] = now;
                }
            }
            if (tripped)
                continue;
            const bool known = end != std::numeric_limits<int64_t>::max() && end + D <= r.knownToUs;
            if (!pending && known)
                out[p] = Outcome::NoAction;
            else if (r.stopped)
                out[p] = Outcome::NoTest;
        }
        return out;
    }
};

// Pages of 20-300 us, some held past their set time, some ended by a trip,
// the last perhaps still playing; edges crowded around the page boundaries.
Record generate(std::mt19937& rng)
{
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Record r;
    r.debounceUs = uniform(0, 3) == 0 ? 0 : uniform(1, 30);
    const Role roles[] = {Role::PreFault, Role::Fault, Role::Interval,  Role::Check,
                          Role::Step,     Role::State, Role::AfterFault};
    int64_t at = 0;
    const int count = uniform(1, 6);
    std::vector<int64_t> bounds;
    for (int n = 0; n < count; ++n) {
        Page p;
        p.role = roles[uniform(0, 6)];
        p.startUs = at;
        const int64_t length = uniform(20, 300);
        switch (uniform(0, 3)) {
        case 0: p.setEndUs = p.endUs = at + length; break;
        case 1: p.setEndUs = at + length, p.endUs = at + length + uniform(1, 60); break;
        case 2: p.endUs = at + length; break;
        default: p.setEndUs = p.endUs = at + length; break;
        }
        if (n == count - 1 && uniform(0, 2) == 0)
            p.endUs = kNone;
        for (int i = 0; i < kInputs; ++i)
            p.watch[i] = uint8_t(uniform(0, 4) == 0 ? 0 : uniform(1, 3));
        p.allInputs = uniform(0, 3) == 0;
        p.beginsReset = uniform(0, 1) == 1;
        bounds.push_back(p.startUs);
        if (p.setEndUs != kNone)
            bounds.push_back(p.setEndUs);
        at = p.endUs != kNone ? p.endUs : at + length;
        r.pages.push_back(p);
    }
    bounds.push_back(at);
    r.knownToUs = uniform(0, 2) == 0 ? int64_t(uniform(0, int(at) + 40)) : at + 100;
    r.stopped = uniform(0, 2) == 0;
    for (int i = 0; i < kInputs; ++i) {
        r.startLevel[i] = int8_t(uniform(-1, 1));
        std::vector<int64_t> times;
        const int edges = uniform(0, 8);
        for (int e = 0; e < edges; ++e) {
            const int64_t t = bounds[size_t(uniform(0, int(bounds.size()) - 1))] + uniform(-40, 40);
            if (t >= 0 && t <= r.knownToUs)
                times.push_back(t);
        }
        std::sort(times.begin(), times.end());
        times.erase(std::unique(times.begin(), times.end()), times.end());
        for (int64_t t : times)
            r.edges[i].push_back({t, uniform(0, 1) == 1});
    }
    return r;
}

TEST(ContactJudgementTest, AgreesWithThePlainReferenceOverGeneratedRecords)
{
    std::mt19937 rng(79);
    int trips = 0, notReset = 0, noTest = 0, noAction = 0;
    for (int n = 0; n < 5000; ++n) {
        const Record r = generate(rng);
        std::vector<int64_t> refTrips;
        const std::vector<Outcome> want = Reference{r}.judgeAll(refTrips);
        const std::vector<Judgement> got = judge(r);
        for (size_t p = 0; p < r.pages.size(); ++p) {
            SCOPED_TRACE("record " + std::to_string(n) + ", page " + std::to_string(p));
            ASSERT_STREQ(name(got[p].outcome), name(want[p]));
            if (want[p] == Outcome::Trip) {
                ASSERT_EQ(got[p].tripUs, refTrips[p]);
            }
            trips += want[p] == Outcome::Trip;
            notReset += want[p] == Outcome::NotReset;
            noTest += want[p] == Outcome::NoTest;
            noAction += want[p] == Outcome::NoAction;
        }
    }
    // Every outcome was met often enough to be compared.
    EXPECT_GT(trips, 500);
    EXPECT_GT(notReset, 200);
    EXPECT_GT(noTest, 200);
    EXPECT_GT(noAction, 200);
}

// Each live decision against the verdict the whole record gives once the
// fault has played: one passed over reads Not Reset, one written does not.
// Records generated as above, cut where the test stands (the pages begun by
// then, the stamps confirmed by then); the fault follows the last page. A
// fault directly after a fault, its reset not yet covered, is left on the
// relay as last stamped and is not held to it.
TEST(ContactJudgementTest, LiveDecisionsAgreeWithTheWholeRecordsVerdict)
{
    std::mt19937 rng(84);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int passedOver = 0, written = 0;
    for (int n = 0; n < 20000; ++n) {
        Record whole = generate(rng);
        whole.stopped = false;
        const int64_t cut = uniform(0, int(whole.knownToUs));
        Record now = whole;
        now.pages.clear();
        for (const Page& p : whole.pages)
            if (p.startUs <= cut)
                now.pages.push_back(p);
        if (now.pages.empty())
            continue;
        Page& last = now.pages.back();
        if (last.endUs == kNone || last.endUs > cut)
            last.endUs = kNone;
        for (int i = 0; i < kInputs; ++i) {
            now.edges[i].clear();
            for (const Edge& e : whole.edges[i])
                if (e.us + whole.debounceUs <= cut)
                    now.edges[i].push_back(e);
        }
        now.knownToUs = cut;
        Page next;
        next.role = Role::Fault;
        next.beginsReset = true;
        for (int i = 0; i < kInputs; ++i)
            next.watch[i] = uint8_t(uniform(0, 3));
        next.allInputs = uniform(0, 3) == 0;
        next.startUs = last.endUs != kNone ? last.endUs : std::max(last.setEndUs, cut) + 1;
        const Decision d = nextFaultDecision(now, next);
        if (d != Decision::Write && d != Decision::PassOver)
            continue;
        const bool rests = last.role == Role::Interval || last.role == Role::PreFault || last.role == Role::AfterFault;
        Record played = whole;
        played.pages.resize(now.pages.size());
        Page& before = played.pages.back();
        if (before.endUs == kNone || before.endUs > next.startUs)
            before.endUs = std::max(next.startUs, before.startUs + 1);
        next.startUs = before.endUs;
        next.setEndUs = next.endUs = next.startUs + 100;
        played.pages.push_back(next);
        played.knownToUs = std::numeric_limits<int64_t>::max() / 2;
        const size_t at = played.pages.size() - 1;
        if (!rests && resetMoment(played, at) + whole.debounceUs > cut)
            continue;
        SCOPED_TRACE("record " + std::to_string(n) + ", cut at " + std::to_string(cut));
        const Outcome verdict = judge(played).back().outcome;
        if (d == Decision::PassOver) {
            ++passedOver;
            ASSERT_STREQ(name(verdict), "NotReset");
        } else {
            ++written;
            ASSERT_STRNE(name(verdict), "NotReset");
        }
    }
    EXPECT_GT(passedOver, 300);
    EXPECT_GT(written, 300);
}

}   // namespace
