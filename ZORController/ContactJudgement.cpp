#include "ContactJudgement.h"

#include <algorithm>
#include <limits>

namespace ContactJudgement {

namespace {

constexpr int64_t kNever = std::numeric_limits<int64_t>::max();

// The index of the first edge of `input` stamped after `us`.
size_t firstAfter(const std::vector<Edge>& edges, int64_t us)
{
    return size_t(std::upper_bound(edges.begin(), edges.end(), us, [](int64_t t, const Edge& e) { return t < e.us; })
                  - edges.begin());
}

// The level the edges of an input stamped before `us` left (-1: none). A
// stamped edge is a change unless one stamped before it left that level: the
// levels read as the run began may have changed before its first page
// watched them.
int stampedBefore(const std::vector<Edge>& edges, int64_t us)
{
    const size_t after = firstAfter(edges, us - 1);
    return after == 0 ? -1 : (edges[after - 1].closed ? 1 : 0);
}

// The end of a page's window, kNever while it is open.
int64_t windowEnd(const Page& page)
{
    return page.endUs != kNone ? page.endUs : kNever;
}

// The level a watched input is operated at (-1: none known).
int operatedLevel(uint8_t watch, int lastTripLevel)
{
    switch (watch & 3) {
    case 1: return 1;
    case 2: return 0;
    case 3: return lastTripLevel;
    default: return -1;
    }
}

enum class Confirmation {
    Yes,
    No,
    Unknown
};

// Whether the change of `input` at edge `i` (a real change) is confirmed.
Confirmation confirmed(const Record& record, int input, size_t i)
{
    const std::vector<Edge>& edges = record.edges[input];
    const int64_t until = edges[i].us + record.debounceUs;
    for (size_t j = i + 1; j < edges.size() && edges[j].us < until; ++j)
        if (edges[j].closed != edges[i].closed)
            return Confirmation::No;
    return record.knownToUs >= until ? Confirmation::Yes : Confirmation::Unknown;
}

}   // namespace

int levelAt(const Record& record, int input, int64_t us)
{
    if (input < 0 || input >= kInputs)
        return -1;
    const std::vector<Edge>& edges = record.edges[input];
    const size_t after = firstAfter(edges, us);
    return after == 0 ? record.startLevel[input] : (edges[after - 1].closed ? 1 : 0);
}

int64_t resetMoment(const Record& record, size_t page)
{
    const Page& p = record.pages[page];
    // A check page only plays the page before it on.
    while (page > 0 && record.pages[page - 1].role == Role::Check)
        --page;
    if (page == 0)
        return p.startUs;
    const Page& before = record.pages[page - 1];
    return before.setEndUs != kNone && before.setEndUs < p.startUs ? before.setEndUs : p.startUs;
}

int pageAt(const Record& record, int64_t us)
{
    for (size_t p = 0; p < record.pages.size(); ++p)
        if (record.pages[p].startUs <= us && us < windowEnd(record.pages[p]))
            return int(p);
    return -1;
}

namespace {

// A page's watched inputs at their operated levels at `us` (OR: any, AND:
// all), `tripLevel` the level each input's last trip left.
bool operatedAt(const Record& record, const Page& page, const int tripLevel[kInputs], int64_t us)
{
    int watched = 0;
    int operated = 0;
    for (int i = 0; i < kInputs; ++i) {
        if ((page.watch[i] & 3) == 0)
            continue;
        ++watched;
        const int target = operatedLevel(page.watch[i], tripLevel[i]);
        operated += target >= 0 && levelAt(record, i, us) == target ? 1 : 0;
    }
    return operated > 0 && (!page.allInputs || operated == watched);
}

// judge(), leaving in `tripLevel` the level each input's last trip left.
std::vector<Judgement> judgeWith(const Record& record, int tripLevel[kInputs])
{
    std::vector<Judgement> out(record.pages.size());
    std::fill(tripLevel, tripLevel + kInputs, -1);
    for (size_t p = 0; p < record.pages.size(); ++p) {
        const Page& page = record.pages[p];
        Judgement& j = out[p];
        const int64_t at = resetMoment(record, p);
        for (int i = 0; i < kInputs; ++i)
            j.startLevel[i] = int8_t(levelAt(record, i, at - 1));
        if (!page.judged())
            continue;
        if (record.stopped && page.startUs > record.knownToUs) {
            j.outcome = Outcome::NoTest;
            continue;
        }

        // Reset as it begins.
        if (page.beginsReset) {
            if (at + record.debounceUs > record.knownToUs && !record.stopped)
                continue;   // a change before `at` may still be stamped
            if (operatedAt(record, page, tripLevel, at - 1)) {
                j.outcome = Outcome::NotReset;
                continue;
            }
        }

        // The first confirmed watched change in its window; of inputs whose
        // changes share its stamp, the highest-numbered (the instrument's
        // report names the last).
        const int64_t end = windowEnd(page);
        int64_t firstUnknown = kNever;
        int64_t tripAt = kNever;
        for (int i = kInputs - 1; i >= 0; --i) {
            const uint8_t watch = page.watch[i] & 3;
            if (watch == 0)
                continue;
            const std::vector<Edge>& edges = record.edges[i];
            for (size_t e = firstAfter(edges, page.startUs - 1); e < edges.size() && edges[e].us < end; ++e) {
                const Edge& edge = edges[e];
                if (edge.us >= std::min(tripAt, firstUnknown))
                    break;
                const int before = stampedBefore(edges, edge.us);
                if (before == (edge.closed ? 1 : 0) || (watch & (edge.closed ? 1 : 2)) == 0)
                    continue;
                const Confirmation c = confirmed(record, i, e);
                if (c == Confirmation::No)
                    continue;
                if (c == Confirmation::Unknown) {
                    firstUnknown = edge.us;
                    break;
                }
                if (page.allInputs) {
                    // An input whose operated level is not known (both edges
                    // watched, no trip on it yet) does not hold the set back.
                    bool all = true;
                    for (int k = 0; k < kInputs; ++k) {
                        const int target = operatedLevel(page.watch[k], tripLevel[k]);
                        if (k != i && target >= 0 && levelAt(record, k, edge.us) != target)
                            all = false;
                    }
                    if (!all)
                        continue;
                }
                tripAt = edge.us;
                j.input = i;
                j.closed = edge.closed;
                break;
            }
        }
        if (tripAt < firstUnknown) {
            j.outcome = Outcome::Trip;
            j.tripUs = tripAt - page.startUs;
            tripLevel[j.input] = j.closed ? 1 : 0;
            continue;
        }
        j.input = -1;
        const bool windowKnown = end != kNever && end + record.debounceUs <= record.knownToUs;
        if (firstUnknown == kNever && windowKnown)
            j.outcome = Outcome::NoAction;
        else if (record.stopped)
            j.outcome = Outcome::NoTest;
    }
    return out;
}

}   // namespace

std::vector<Judgement> judge(const Record& record)
{
    int tripLevel[kInputs];
    return judgeWith(record, tripLevel);
}

Decision nextFaultDecision(const Record& record, const Page& next)
{
    if (record.pages.empty() || !next.beginsReset)
        return Decision::Write;
    int tripLevel[kInputs];
    judgeWith(record, tripLevel);
    const Page& last = record.pages.back();
    // The relay as last stamped.
    const bool operated = operatedAt(record, next, tripLevel, std::numeric_limits<int64_t>::max() - 1);
    // Past its set end (the instrument holds it), the page is read as ended:
    // the fault's reset is the level at that end, not as last stamped.
    const bool pastSetEnd = last.setEndUs != kNone && last.setEndUs <= record.knownToUs;
    const bool rests = last.role == Role::Interval || last.role == Role::PreFault || last.role == Role::AfterFault;
    if (last.endUs == kNone && !pastSetEnd) {
        // A page the relay rests on plays on for the debounce: every change
        // before its end is stamped before the fault can begin. Else the
        // fault waits for the page's end.
        return rests && record.debounceUs > 0 ? Decision::Check : Decision::Wait;
    }
    Record withNext = record;
    withNext.pages.push_back(next);
    const Judgement j = judge(withNext).back();
    if (j.outcome == Outcome::NotReset)
        return Decision::PassOver;
    const int64_t at = resetMoment(withNext, withNext.pages.size() - 1);
    if (at + record.debounceUs <= record.knownToUs || record.stopped)
        return Decision::Write;
    if (rests && record.debounceUs > 0)
        return Decision::Check;
    return operated ? Decision::PassOver : Decision::Write;
}

bool operatedNow(const Record& record, const Page& watching)
{
    int tripLevel[kInputs];
    judgeWith(record, tripLevel);
    return operatedAt(record, watching, tripLevel, std::numeric_limits<int64_t>::max() - 1);
}

}   // namespace ContactJudgement
