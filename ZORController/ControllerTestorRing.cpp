#include "ControllerTestorRing.h"

#include "CommDriverData.h"
#include "ControllerTestor.h"
#include "driverbase.h"

#include <algorithm>

static_assert(SwitchedRing::kPages == DRIVER_PAGE_COUNT, "the instrument's ring");

namespace {

// The page in the output record ends as soon as it is entered: time-triggered
// with less than two ticks.
bool leavesAtOnce()
{
    const CommDriverTestOutputData* out = globalTestOutputData;
    const CommDriverConfigureHardData* hard = globalConfigureHardData;
    if (!out || !hard)
        return false;
    if (out->outputTriggerType != COMM_TRIGGER_TYPE_TIME && out->outputTriggerType != COMM_TRIGGER_TYPE_TIME_BINARY)
        return false;
    return driverPageTicks(out->outputTime, hard->periodFrequency) < 2;
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
    localOutputUpdateOffset = int(number % kPages);
    const int result = testor.setTestParameter(false, false);
    page.number = number;
    page.state = state;
    page.outputs = outputs;
    last = number;
    return result;
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
