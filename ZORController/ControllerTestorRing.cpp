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
    run.seconds = seconds;
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
    if (last >= 0)
        pages[last % kPages].continues = true;
}

SwitchedRing::Trip SwitchedRing::tripOf(qint32 stateWord, float time)
{
    Trip trip{pageOfReport(stateWord), time};
    if (!trip.page)
        return trip;
    // An action that ends the page it is read on ended it before its time.
    Page& reported = pages[DriverStateWord(stateWord).page()];
    if (DriverStateWord(stateWord).ended() && reported.binaryEnds) {
        reported.seconds = 0.0;
        played[size_t(reported.number)].seconds = 0.0;
    }
    const Page* at = trip.page;
    double seconds = double(time);
    const CommDriverConfigureSoftData* soft = globalConfigureSoftData;
    if (DriverStateWord(stateWord).movedBefore() && soft) {
        // The report's time is then the stamp, debounce included.
        const Page* before = page(at->number - 1);
        const double lead = double(driverMicroseconds(soft->ditherTime)) / 1e6 - seconds;
        if (before && before->seconds > 0.0 && before->seconds - lead > 0.0) {
            at = before;
            seconds = before->seconds - lead;
        }
    }
    for (const Page* p = at; p->continues;) {
        p = page(p->number - 1);
        if (!p)
            break;
        seconds += p->seconds;
    }
    trip.page = at;
    trip.time = float(seconds);
    return trip;
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

int SwitchedRing::switchToLast(ControllerTestor& testor)
{
    // The page playing and those written after it are left before their time.
    for (qint64 n = std::max<qint64>(ended + 1, 0); n < last; ++n) {
        pages[n % kPages].seconds = 0.0;
        played[size_t(n)].seconds = 0.0;
    }
    nameWritten();
    const int result = testor.setTestSwitch(false);
    if (result == 0)
        ended = std::max(ended, named - 1);
    return result;
}

namespace {

int64_t microseconds(double seconds)
{
    return std::llround(seconds * 1e6);
}

// How long a page played: its set time, or its last stamp where later.
int64_t playedUs(double seconds, double stampMax)
{
    return microseconds(std::max(seconds, stampMax));
}

}   // namespace

qint64 SwitchedRing::playedStartUs(qint64 n) const
{
    int64_t at = 0;
    for (qint64 k = 0; k < n && k < qint64(played.size()); ++k)
        at += playedUs(played[size_t(k)].seconds, played[size_t(k)].stampMax);
    return at;
}

qint32 SwitchedRing::stateOf(qint64 n) const
{
    return n >= 0 && n < qint64(played.size()) ? played[size_t(n)].state : -1;
}

ContactJudgement::Record SwitchedRing::contactRecord(FaultState fault) const
{
    using namespace ContactJudgement;
    Record record;
    record.debounceUs = microseconds(ModelEntity::debounceSeconds());
    int64_t at = 0;
    int64_t endedTo = 0;
    for (size_t n = 0; n < played.size(); ++n) {
        const Played& run = played[n];
        ContactJudgement::Page p;
        p.role = run.check ? Role::Check : fault(run.state) ? Role::Fault : Role::Interval;
        p.index = run.state;
        p.beginsReset = p.role == Role::Fault;
        p.startUs = at;
        const int64_t length = playedUs(run.seconds, run.stampMax);
        p.setEndUs = run.seconds > 0.0 ? at + microseconds(run.seconds) : kNone;
        if (n + 1 < played.size() || qint64(n) <= ended)
            p.endUs = at + length;
        std::copy(std::begin(run.watch), std::end(run.watch), std::begin(p.watch));
        p.allInputs = run.allInputs;
        p.endsOnChange = run.binaryEnds;
        record.pages.push_back(p);
        at += length;
        if (qint64(n) <= ended)
            endedTo = at;
    }
    record.knownToUs = endedTo;
    for (int i = 0; i < kInputs; ++i) {
        record.startLevel[i] = startLevels[i];
        record.edges[i] = edges[i];
        if (!edges[i].empty())
            record.knownToUs = std::max(record.knownToUs, edges[i].back().us + record.debounceUs);
    }
    return record;
}

SwitchedRing::Placed SwitchedRing::place(qint32 stateWord, float time, int index, qint32 code, FaultState fault)
{
    Placed placed;
    const DriverStateWord word(stateWord);
    Page& reported = pages[word.page()];
    if (reported.number < 0 || reported.number >= qint64(played.size()) || index < 0
        || index >= ContactJudgement::kInputs || code < 1 || code > 3)
        return placed;
    // Both edges seen on the page: the action is the one that changed the
    // level its last edge left.
    if (code == 3)
        code = !edges[index].empty() && edges[index].back().closed ? 2 : 1;
    placed.code = code;
    Played& run = played[size_t(reported.number)];
    // An action that ends the page it is read on ended it before its time.
    if (word.ended() && reported.binaryEnds)
        reported.seconds = run.seconds = 0.0;
    // The report's time is the stamp less the debounce, or, where the
    // contact moved before the page began, the stamp itself.
    const double debounce = ModelEntity::debounceSeconds();
    const double stamp = word.movedBefore() ? double(time) : double(time) + debounce;
    run.stampMax = std::max(run.stampMax, stamp);
    const ContactJudgement::Edge edge{playedStartUs(reported.number) + microseconds(stamp - debounce), code == 1};
    std::vector<ContactJudgement::Edge>& list = edges[index];
    const auto after = std::upper_bound(list.begin(), list.end(), edge.us,
                                        [](int64_t us, const ContactJudgement::Edge& e) { return us < e.us; });
    list.insert(after, edge);

    const ContactJudgement::Record record = contactRecord(fault);
    placed.judged = ContactJudgement::judge(record);
    placed.page = ContactJudgement::pageAt(record, edge.us);
    if (placed.page >= 0) {
        const ContactJudgement::Judgement& j = placed.judged[size_t(placed.page)];
        const ContactJudgement::Page& p = record.pages[size_t(placed.page)];
        placed.trip = j.outcome == ContactJudgement::Outcome::Trip && j.input == index
            && p.startUs + j.tripUs == edge.us;
        placed.time = float(double(j.tripUs) / 1e6);
        if (!placed.trip)
            placed.time = float(double(edge.us - p.startUs) / 1e6);
    }
    return placed;
}

ContactJudgement::Decision SwitchedRing::nextFaultDecision(FaultState fault, const qint32 watch[4],
                                                           bool allInputs) const
{
    const ContactJudgement::Record record = contactRecord(fault);
    ContactJudgement::Page next;
    next.role = ContactJudgement::Role::Fault;
    next.beginsReset = true;
    next.startUs = playedStartUs(qint64(played.size()));
    for (int i = 0; i < ContactJudgement::kInputs; ++i)
        next.watch[i] = uint8_t(watch[i] & 3);
    next.allInputs = allInputs;
    return ContactJudgement::nextFaultDecision(record, next);
}

SwitchedRing& runRing()
{
    static SwitchedRing ring;
    return ring;
}
