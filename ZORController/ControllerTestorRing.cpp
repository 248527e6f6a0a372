#include "ControllerTestorRing.h"

#include "CommDriverData.h"
#include "ControllerTestor.h"
#include "driverbase.h"

#include <algorithm>
#include <cmath>
#include <optional>

static_assert(SwitchedRing::kPages == DRIVER_PAGE_COUNT, "the instrument's ring");

namespace {

// The ticks of the page in the output record when its time ends it (time, or
// time-or-binary trigger), else none.
std::optional<uint32_t> timedTicks()
{
    const CommDriverTestOutputData* out = globalTestOutputData;
    const CommDriverConfigureHardData* hard = globalConfigureHardData;
    if (!out || !hard)
        return std::nullopt;
    if (out->outputTriggerType != COMM_TRIGGER_TYPE_TIME && out->outputTriggerType != COMM_TRIGGER_TYPE_TIME_BINARY)
        return std::nullopt;
    return driverPageTicks(out->outputTime, hard->periodFrequency);
}

// The page in the output record ends as soon as it is entered: time-triggered
// with less than two ticks.
bool leavesAtOnce()
{
    const std::optional<uint32_t> ticks = timedTicks();
    return ticks && *ticks < 2;
}

// Its time, s, to the tick; 0 when no time ends it.
double timedSeconds()
{
    const std::optional<uint32_t> ticks = timedTicks();
    const CommDriverConfigureHardData* hard = globalConfigureHardData;
    return ticks && hard && hard->periodFrequency != 0 ? double(*ticks) / double(hard->periodFrequency) : 0.0;
}

// A binary input's action may end it.
bool endsByAction()
{
    const CommDriverTestOutputData* out = globalTestOutputData;
    return out
        && (out->outputTriggerType == COMM_TRIGGER_TYPE_BINARY || out->outputTriggerType == COMM_TRIGGER_TYPE_TIME_BINARY);
}

}   // namespace

void SwitchedRing::reset()
{
    *this = SwitchedRing();
}

int SwitchedRing::takeStartLevels()
{
    const int result = driverBaseReadTestBIState();
    if (const CommDriverTestStatusData* status = globalTestStatusData; status && result == 0)
        for (int i = 0; i < ContactJudgement::kInputs; ++i)
            startLevels[i] = status->statusBIStates[i].load() != 0 ? 1 : 0;
    return result;
}

int SwitchedRing::write(ControllerTestor& testor, qint32 state, const ModelEntity::PageOutputs& outputs)
{
    const qint64 number = last + 1;
    Page& page = pages[number % kPages];
    lastAtOnce = leavesAtOnce();
    const double seconds = timedSeconds();
    const bool binaryEnds = endsByAction();
    localOutputUpdateOffset = int(number % kPages);
    // As the entity filled it: the driver rewrites parts of it as it sends.
    if (const CommDriverTestOutputData* out = globalTestOutputData)
        lastRecord = *out;
    const int result = testor.setTestParameter(false, false);
    page.number = number;
    page.state = state;
    page.outputs = outputs;
    page.seconds = seconds;
    page.continues = false;
    page.binaryEnds = binaryEnds;
    page.check = false;
    last = number;
    Played run;
    run.state = state;
    run.outputs = outputs;
    run.setUs = std::llround(seconds * 1e6);
    run.binaryEnds = binaryEnds;
    if (const CommDriverTestOutputData* out = globalTestOutputData) {
        for (int i = 0; i < ContactJudgement::kInputs; ++i)
            run.watch[i] = uint8_t((out->outputBIRiseEnables[i] & 1u) | ((out->outputBIFallEnables[i] & 1u) << 1));
        run.allInputs = out->outputBILogic == COMM_BILOGIC_TYPE_AND;
    }
    played.resize(size_t(number));
    played.push_back(run);
    return result;
}

int SwitchedRing::writeCheck(ControllerTestor& testor)
{
    CommDriverTestOutputData* out = globalTestOutputData;
    const Page* before = page(last);
    if (!out || !before)
        return -1;
    const qint32 state = before->state;
    const ModelEntity::PageOutputs outputs = before->outputs;
    // The record of the page before as it was written, played on.
    *out = lastRecord;
    out->outputTime = ModelEntity::recordFloat(ModelEntity::debounceSeconds());
    out->outputTriggerType = COMM_TRIGGER_TYPE_TIME;
    for (int c = 0; c < 8; ++c)
        out->currentOutputRanges[c][0] = out->outputRanges[c][0];
    const int result = write(testor, state, outputs);
    pages[last % kPages].check = true;
    played.back().check = true;
    return result;
}

void SwitchedRing::continueStep()
{
    if (last < 0)
        return;
    pages[last % kPages].continues = true;
    played.back().continues = true;
}

void SwitchedRing::name(qint64 n)
{
    if (n < 0 || n > last)
        return;
    named = n;
    localOutputSwitchOffset = int(n % kPages);
}

qint64 SwitchedRing::playing() const
{
    // The instrument never goes past the page named, nor more than a ring
    // behind it.
    const qint64 behind = DriverStateWord::pagesOnFrom(localOutputPlayingOffset, named);
    return named - behind < 0 ? 0 : named - behind;
}

void SwitchedRing::noteEnded(qint32 stateWord)
{
    const DriverStateWord word(stateWord);
    if (!word.ended() || last < 0)
        return;
    ended = std::max(ended, numberOf(word.page()));
}

qint64 SwitchedRing::numberOf(int ringPage) const
{
    return last - DriverStateWord::pagesOnFrom(ringPage, last);
}

const SwitchedRing::Page* SwitchedRing::pageOfReport(qint32 stateWord) const
{
    const Page& page = pages[DriverStateWord(stateWord).page()];
    return page.number >= 0 ? &page : nullptr;
}

const SwitchedRing::Page* SwitchedRing::page(qint64 n) const
{
    if (n < 0)
        return nullptr;
    const Page& p = pages[n % kPages];
    return p.number == n ? &p : nullptr;
}

qint32 SwitchedRing::stateOf(qint64 n) const
{
    return n >= 0 && n < qint64(played.size()) ? played[size_t(n)].state : -1;
}

ModelEntity::PageOutputs SwitchedRing::outputsOf(qint64 n) const
{
    return n >= 0 && n < qint64(played.size()) ? played[size_t(n)].outputs : ModelEntity::PageOutputs();
}

int SwitchedRing::switchToLast(ControllerTestor& testor)
{
    nameWritten();
    const int result = testor.setTestSwitch(false);
    if (result == 0)
        ended = std::max(ended, named - 1);
    return result;
}

// ---- The record ----------------------------------------------------------------------------

void SwitchedRing::takeLeft()
{
    for (const DriverLeftPage& left : driverLeftPagesSince(leftTaken)) {
        const int on = DriverStateWord::pagesOnFrom(left.page, left.to);
        if (left.page != int(entered % kPages) || on == 0) {
            qWarning("SwitchedRing: the instrument left ring page %d for %d, where page %lld of the run plays",
                     left.page, left.to, static_cast<long long>(entered));
            continue;
        }
        if (entered < qint64(played.size())) {
            Played& run = played[size_t(entered)];
            run.lengthUs = left.playedUs;
            if (run.lengthUs < 0) {
                qWarning("SwitchedRing: how long page %lld of the run played could not be read; its set time is taken",
                         static_cast<long long>(entered));
                run.lengthUs = run.setUs;
            }
        }
        for (int k = 1; k < on; ++k) {
            if (entered + k < qint64(played.size())) {
                played[size_t(entered + k)].skipped = true;
                played[size_t(entered + k)].lengthUs = 0;
            }
        }
        entered += on;
    }
}

int64_t SwitchedRing::startUs(qint64 n) const
{
    if (n < 0 || n > entered || n > qint64(played.size()))
        return -1;
    int64_t at = 0;
    for (qint64 k = 0; k < n; ++k) {
        const Played& run = played[size_t(k)];
        if (run.lengthUs < 0)
            return -1;
        at += run.lengthUs;
    }
    return at;
}

ContactJudgement::Record SwitchedRing::record(RoleOf roleOf, std::vector<qint64>& number) const
{
    using namespace ContactJudgement;
    Record r;
    r.debounceUs = std::llround(ModelEntity::debounceSeconds() * 1e6);
    int64_t at = 0;
    int64_t knownTo = 0;
    qint32 stateBefore = -1;
    number.clear();
    for (qint64 n = 0; n < qint64(played.size()) && n <= entered; ++n) {
        const Played& run = played[size_t(n)];
        if (run.skipped)
            continue;
        ContactJudgement::Page p;
        p.role = run.check ? Role::Check : roleOf(run.state);
        p.index = run.state;
        p.beginsReset = (p.role == Role::Fault || p.role == Role::Step) && run.state != stateBefore;
        p.startUs = at;
        p.setEndUs = run.setUs > 0 ? at + run.setUs : kNone;
        if (run.lengthUs >= 0)
            p.endUs = at + run.lengthUs;
        std::copy(std::begin(run.watch), std::end(run.watch), std::begin(p.watch));
        p.allInputs = run.allInputs;
        p.endsOnChange = run.binaryEnds;
        if (n <= ended) {
            // Reported ended: the instrument's clock was past its end, or,
            // where it holds it, past its set time or the change that ended
            // it before that.
            int64_t endedAt = p.endUs != kNone ? p.endUs : p.setEndUs;
            for (int i = 0; p.endUs == kNone && run.binaryEnds && i < kInputs; ++i)
                for (const Edge& e : edges[i])
                    if ((p.watch[i] & (e.closed ? 1 : 2)) != 0 && e.us >= p.startUs && endedAt != kNone
                        && e.us + r.debounceUs < endedAt)
                        endedAt = e.us + r.debounceUs;
            if (endedAt != kNone)
                knownTo = std::max(knownTo, endedAt);
        }
        r.pages.push_back(p);
        number.push_back(n);
        if (!run.check)
            stateBefore = run.state;
        if (run.lengthUs < 0)
            break;
        at += run.lengthUs;
    }
    for (int i = 0; i < kInputs; ++i) {
        r.startLevel[i] = startLevels[i];
        r.edges[i] = edges[i];
        if (!edges[i].empty())
            knownTo = std::max(knownTo, edges[i].back().us + r.debounceUs);
    }
    r.knownToUs = knownTo;
    return r;
}

SwitchedRing::Recorded SwitchedRing::judge(RoleOf roleOf, bool stopped)
{
    takeLeft();
    Recorded out;
    out.record = record(roleOf, out.number);
    for (const qint64 n : out.number)
        out.continues.push_back(played[size_t(n)].continues);
    out.record.stopped = stopped;
    out.judged = ContactJudgement::judge(out.record);
    return out;
}

const ContactJudgement::Judgement* SwitchedRing::Recorded::of(qint32 state) const
{
    using ContactJudgement::Outcome;
    const ContactJudgement::Judgement* found = nullptr;
    for (size_t i = 0; i < judged.size(); ++i) {
        const ContactJudgement::Page& p = record.pages[i];
        if (p.index != state || !p.judged())
            continue;
        if (judged[i].outcome == Outcome::Trip || judged[i].outcome == Outcome::NotReset)
            return &judged[i];
        found = &judged[i];
    }
    return found;
}

int SwitchedRing::Recorded::indexOf(qint64 n) const
{
    const auto it = std::lower_bound(number.begin(), number.end(), n);
    return it != number.end() && *it == n ? int(it - number.begin()) : -1;
}

int64_t SwitchedRing::Recorded::stepStartUs(int i) const
{
    // A page that plays a step on follows the step's first page directly.
    while (i > 0 && size_t(i) < continues.size() && continues[size_t(i)])
        --i;
    return record.pages[size_t(i)].startUs;
}

SwitchedRing::Taken SwitchedRing::take(qint32 stateWord, int64_t stampUs, int index, qint32 actionFlag)
{
    takeLeft();
    Taken taken;
    qint32 code = index >= 0 && index < ContactJudgement::kInputs ? (actionFlag >> (2 * index)) & 3 : 0;
    const int ring = DriverStateWord(stateWord).page();
    if (index < 0 || index >= ContactJudgement::kInputs || code < 1 || code > 3 || played.empty())
        return taken;
    // The page of the run the instrument played last in that ring page.
    qint64 n = std::min<qint64>(entered, qint64(played.size()) - 1);
    n -= DriverStateWord::pagesOnFrom(ring, n);
    const int64_t start = startUs(n);
    if (n < 0 || start < 0 || played[size_t(n)].skipped)
        return taken;
    // Both edges seen on the page: the action is the one that changed the
    // level its last edge left.
    if (code == 3)
        code = !edges[index].empty() && edges[index].back().closed ? 2 : 1;
    taken.code = code;
    taken.us = start + stampUs - std::llround(ModelEntity::debounceSeconds() * 1e6);
    const ContactJudgement::Edge edge{taken.us, code == 1};
    std::vector<ContactJudgement::Edge>& list = edges[index];
    const auto after = std::upper_bound(list.begin(), list.end(), edge.us,
                                        [](int64_t us, const ContactJudgement::Edge& e) { return us < e.us; });
    list.insert(after, edge);
    return taken;
}

namespace {

ContactJudgement::Page watching(const qint32 watch[4], bool allInputs)
{
    ContactJudgement::Page next;
    next.role = ContactJudgement::Role::Fault;
    next.beginsReset = true;
    for (int i = 0; i < ContactJudgement::kInputs; ++i)
        next.watch[i] = uint8_t(watch[i] & 3);
    next.allInputs = allInputs;
    return next;
}

}   // namespace

ContactJudgement::Decision SwitchedRing::nextFaultDecision(RoleOf roleOf, const qint32 watch[4], bool allInputs,
                                                           bool leaving)
{
    using ContactJudgement::Decision;
    using ContactJudgement::kNone;
    takeLeft();
    std::vector<qint64> number;
    ContactJudgement::Record r = record(roleOf, number);
    ContactJudgement::Page next = watching(watch, allInputs);
    // The page the fault would follow is not yet played: its end decides.
    if (!leaving && last > entered)
        return Decision::Wait;
    // The page ended (the instrument holds it until the switch) is left as
    // the fault is written; so is the page playing where the caller
    // switches past it at once.
    const bool held = !number.empty() && number.back() <= ended;
    if ((leaving || held) && !r.pages.empty() && r.pages.back().endUs == kNone) {
        ContactJudgement::Page& playing = r.pages.back();
        playing.endUs = std::max(r.knownToUs, playing.startUs) + 1;
        if (playing.setEndUs != kNone && playing.setEndUs >= playing.endUs)
            playing.setEndUs = kNone;
    }
    if (!r.pages.empty()) {
        const ContactJudgement::Page& before = r.pages.back();
        next.startUs = before.endUs != kNone      ? before.endUs
                       : before.setEndUs != kNone ? std::max(before.setEndUs, r.knownToUs) + 1
                                                  : r.knownToUs + 1;
    }
    return ContactJudgement::nextFaultDecision(r, next);
}

bool SwitchedRing::operatedNow(RoleOf roleOf, const qint32 watch[4], bool allInputs)
{
    takeLeft();
    std::vector<qint64> number;
    return ContactJudgement::operatedNow(record(roleOf, number), watching(watch, allInputs));
}

SwitchedRing& runRing()
{
    static SwitchedRing ring;
    return ring;
}
