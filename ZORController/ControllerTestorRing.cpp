#include "ControllerTestorRing.h"

#include "CommDriverData.h"
#include "ControllerTestor.h"
#include "driverbase.h"

#include <algorithm>
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
    if (DriverStateWord(stateWord).ended() && reported.binaryEnds)
        reported.seconds = 0.0;
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
    for (qint64 n = std::max<qint64>(ended + 1, 0); n < last; ++n)
        pages[n % kPages].seconds = 0.0;
    nameWritten();
    const int result = testor.setTestSwitch(false);
    if (result == 0)
        ended = std::max(ended, named - 1);
    return result;
}

SwitchedRing& runRing()
{
    static SwitchedRing ring;
    return ring;
}
