#include "SimDutSupport.h"

#include "SimOutputErrors.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zorsim {

// ---- Contact -------------------------------------------------------------------

void Contact::set(DutContext& ctx, bool close, int64_t nowNs)
{
    if (closed == close)
        return;
    closed = close;
    const int64_t atNs = std::max(nowNs, ctx.earliestActionNs());
    (close ? closeTimes : openTimes).push_back(atNs);
    if (atNs <= nowNs) {
        ctx.setBinaryInput(input, close);
        return;
    }
    // Moves wait in order on the clock; they need nothing of the model.
    DutContext* context = &ctx;
    const int index = input;
    ctx.scheduleAt(atNs, [context, index, close] { context->setBinaryInput(index, close); });
}

// ---- Base ----------------------------------------------------------------------

void DutBase::plugged(DutContext& context)
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    ctx = &context;
    refresh();
}

void DutBase::outputsChanged()
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    refresh();
}

void DutBase::unplugged()
{
    std::lock_guard<std::recursive_mutex> guard(lock);
    if (ctx == nullptr)
        return;
    if (wakeEvent != 0)
        ctx->cancel(wakeEvent);
    wakeEvent = 0;
    disconnect(ctx->nowNs());
    ctx = nullptr;
}

void DutBase::refresh()
{
    if (ctx == nullptr)
        return;
    if (wakeEvent != 0)
        ctx->cancel(wakeEvent);
    wakeEvent = 0;
    const int64_t now = ctx->nowNs();
    Wake wake(now);
    evaluate(now, ctx->outputs(), wake);
    if (wake.next)
        wakeEvent = ctx->scheduleAt(*wake.next, [this] {
            std::lock_guard<std::recursive_mutex> guard(lock);
            wakeEvent = 0;
            refresh();
        });
}

// ---- Tracks --------------------------------------------------------------------

namespace {

Track makeTrack(const PlayedOutputs& out, int c, int k, bool frequency)
{
    Track t;
    t.out = &out;
    t.channel = c;
    t.component = k;
    t.frequency = frequency;
    if (c < 0 || c >= kChannels || k < 0 || !out.running || !out.live[c])
        return t;
    const Channel& ch = out.page.channels[c];
    if (k >= static_cast<int>(ch.components.size()))
        return t;
    t.live = true;
    if (k == 0 && ch.ramp.kind != RampKind::None) {
        t.rate = ch.ramp.ratePerSecond;
        t.rampEnd = std::min(ch.ramp.durationSeconds, out.elapsedSeconds(std::numeric_limits<int64_t>::max()));
    }
    return t;
}

} // namespace

Component Track::at(double s) const
{
    if (!live)
        return Component();
    const Channel& ch = out->page.channels[channel];
    Component comp = ch.components[component];
    if (rate != 0.0) {
        const double moved = rate * std::clamp(s, 0.0, rampEnd);
        if (ch.ramp.kind == RampKind::Amplitude)
            comp.amplitude = std::max(0.0, comp.amplitude + moved);
        else
            comp.frequencyHz = std::max(0.0, comp.frequencyHz + moved);
    }
    if (out->errors)
        comp = out->errors->apply(comp, channel, ch.bigRange, out->lowLevel[channel], out->hw);
    return comp;
}

double Track::value(double s) const
{
    const Component comp = at(s);
    return frequency ? comp.frequencyHz : comp.amplitude;
}

double Track::slope(double s) const
{
    // The last ns of a ramp counts as its end: deadlines fall on whole ns.
    if (!live || rate == 0.0 || s < 0.0 || s >= rampEnd - 1e-9)
        return 0.0;
    const double h = std::min(1e-6, 0.5 * (rampEnd - s));
    return (value(s + h) - value(s)) / h;
}

Track amplitudeTrack(const PlayedOutputs& out, int c, int k)
{
    return makeTrack(out, c, k, false);
}

Track frequencyTrack(const PlayedOutputs& out, int c)
{
    return makeTrack(out, c, 0, true);
}

double pageSeconds(const PlayedOutputs& out, int64_t atNs)
{
    return (atNs - out.pageStartNs) / kNsPerSecond;
}

int64_t pageNs(const PlayedOutputs& out, double seconds)
{
    return out.pageStartNs + static_cast<int64_t>(std::ceil(seconds * kNsPerSecond - 1e-6));
}

std::optional<int64_t> rampEndAfter(const PlayedOutputs& out, int c, int64_t nowNs)
{
    if (c < 0 || c >= kChannels || !out.running || !out.live[c])
        return std::nullopt;
    const Ramp& ramp = out.page.channels[c].ramp;
    if (ramp.kind == RampKind::None || ramp.ratePerSecond == 0.0)
        return std::nullopt;
    const int64_t end = pageNs(out, ramp.durationSeconds);
    if (end <= nowNs || end >= out.holdFromNs)
        return std::nullopt;
    return end;
}

std::optional<int64_t> nextAmplitudeCrossing(const PlayedOutputs& out, int c, double threshold, int64_t nowNs)
{
    if (out.amplitude(c, 0, nowNs) < threshold)
        return out.firstAmplitudeAtLeast(c, threshold, nowNs);
    return out.firstAmplitudeBelow(c, threshold, nowNs);
}

std::optional<int64_t> nextFrequencyCrossing(const PlayedOutputs& out, int c, double threshold, int64_t nowNs)
{
    if (out.frequency(c, 0, nowNs) < threshold)
        return out.firstFrequencyAtLeast(c, threshold, nowNs);
    return out.firstFrequencyBelow(c, threshold, nowNs);
}

double highestAmplitude(const PlayedOutputs& out, const std::vector<int>& channels, int64_t nowNs)
{
    double highest = 0.0;
    for (int c : channels)
        highest = std::max(highest, out.amplitude(c, 0, nowNs));
    return highest;
}

// ---- Integration -----------------------------------------------------------------

namespace {

struct Simpson
{
    const std::function<double(double)>& f;

    static double rule(double a, double b, double fa, double fm, double fb)
    {
        return (b - a) / 6.0 * (fa + 4.0 * fm + fb);
    }

    double refine(double a, double b, double fa, double fm, double fb, double whole, double tol, int depth) const
    {
        const double m = 0.5 * (a + b);
        const double flm = f(0.5 * (a + m));
        const double frm = f(0.5 * (m + b));
        const double left = rule(a, m, fa, flm, fm);
        const double right = rule(m, b, fm, frm, fb);
        const double delta = left + right - whole;
        if (depth <= 0 || std::fabs(delta) <= 15.0 * std::max(tol, 1e-13 * std::fabs(left + right)))
            return left + right + delta / 15.0;
        return refine(a, m, fa, flm, fm, left, tol / 2.0, depth - 1)
               + refine(m, b, fm, frm, fb, right, tol / 2.0, depth - 1);
    }
};

} // namespace

double integrate(const std::function<double(double)>& f, double a, double b, double tol)
{
    if (!(b > a))
        return 0.0;
    const Simpson s{f};
    const double fa = f(a);
    const double fm = f(0.5 * (a + b));
    const double fb = f(b);
    return s.refine(a, b, fa, fm, fb, Simpson::rule(a, b, fa, fm, fb), tol, 30);
}

std::optional<double> solveIntegral(const std::function<double(double)>& f, double a, double b, double target,
                                    double tol)
{
    if (target <= 0.0)
        return a;
    if (integrate(f, a, b, tol) < target)
        return std::nullopt;
    double lo = a;
    double hi = b;
    double below = 0.0;   // integral from a to lo
    for (int i = 0; i < 200 && hi - lo > 1e-10; ++i) {
        const double mid = 0.5 * (lo + hi);
        const double atMid = below + integrate(f, lo, mid, tol);
        if (atMid >= target) {
            hi = mid;
        } else {
            lo = mid;
            below = atMid;
        }
    }
    return hi;
}

} // namespace zorsim
