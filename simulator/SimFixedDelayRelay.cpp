#include "SimFixedDelayRelay.h"

#include "SimRelayRegistry.h"

#include <algorithm>
#include <utility>

namespace zorsim {

FixedDelayRelay::FixedDelayRelay(FixedDelayRelaySettings settings)
    : config(std::move(settings))
{
    contact.input = config.binaryInput;
}

bool FixedDelayRelay::closed() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.closed;
}

std::vector<int64_t> FixedDelayRelay::closeTimes() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.closeTimes;
}

std::vector<int64_t> FixedDelayRelay::openTimes() const
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    return contact.openTimes;
}

void FixedDelayRelay::disconnect(int64_t nowNs)
{
    contact.set(*ctx, false, nowNs);
    havePage = false;
    closeAtNs = -1;
}

void FixedDelayRelay::evaluate(int64_t now, const PlayedOutputs& out, Wake& wake)
{
    if (!out.running) {
        disconnect(now);
        return;
    }
    if (!havePage || out.pageIndex != pageIndex || out.pageStartNs != pageStartNs) {
        havePage = true;
        pageIndex = out.pageIndex;
        pageStartNs = out.pageStartNs;
        const int input = config.binaryInput;
        const bool inMask = pageIndex >= 0 && pageIndex < kPages && ((config.pageMask >> pageIndex) & 1);
        const bool armed = out.page.biRise(input) || out.page.biFall(input);
        const bool qualifies = inMask && (!config.armedPagesOnly || armed)
            && (!config.condition || config.condition(out));
        closeAtNs = qualifies ? pageStartNs + std::max<int64_t>(0, secondsToNs(config.delaySeconds)) : -1;
        // After the decision: opening the contact may end this page at once
        // (no debounce, falling edge armed); that comes back as a new page.
        contact.set(*ctx, false, now);
    }
    if (closeAtNs < 0)
        return;
    if (now >= closeAtNs) {
        contact.set(*ctx, true, now);
        closeAtNs = -1;
        return;
    }
    wake.at(closeAtNs);
}

RelayModelEntry fixedDelayRelayModel()
{
    using S = FixedDelayRelaySettings;
    const RelaySetter<S> pages = [](S& s, const QString& v) {
        int mask = 0;
        if (!relayvalue::integer(v, 0, 255, mask))
            return false;
        s.pageMask = static_cast<uint8_t>(mask);
        return true;
    };
    const RelaySetter<S> armed = [](S& s, const QString& v) {
        int on = 0;
        if (!relayvalue::integer(v, 0, 1, on))
            return false;
        s.armedPagesOnly = on != 0;
        return true;
    };
    return relayModel<S>(
        "fixed", "closes a fixed time after a page starts",
        {{"delay", "from the page start to the contact closing, s", numberKey(&S::delaySeconds, 0.0, kRelayValueLimit)},
         {"input", "binary input its contact closes", inputKey(&S::binaryInput)},
         {"pages", "bit mask of the ring pages it acts on (0..255)", pages},
         {"armed", "1 = only on pages that arm its input", armed}},
        [](const S& s) { return std::make_shared<FixedDelayRelay>(s); });
}

}   // namespace zorsim
