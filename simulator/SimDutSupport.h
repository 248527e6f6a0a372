#pragma once

// Shared machinery of the relay and meter models: a base that evaluates the
// model at plug-in, at every change of the played outputs and at the one
// deadline its last evaluation asked for (nothing ticks); a contact wired to
// a binary input; continuous views of a played channel; and integration over
// them for the models that accumulate (inverse-time progress, energy).

#include "SimDut.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace zorsim {

constexpr double kNsPerSecond = 1e9;

inline int64_t secondsToNs(double seconds)
{
    return static_cast<int64_t>(std::llround(seconds * kNsPerSecond));
}

// A relay contact wired to one binary input (0..3), with the simulator times
// (ns) at which it closed and opened. A move decided at nowNs happens then,
// or at the context's earliest action instant when that is later: `closed`
// is the decision, the times and the input follow the move.
struct Contact
{
    int input = 0;
    bool closed = false;
    std::vector<int64_t> closeTimes;
    std::vector<int64_t> openTimes;

    void set(DutContext& ctx, bool close, int64_t nowNs);
};

// Base of the models: one wake-up deadline, re-armed after every evaluation.
// Public observation accessors of a model take `lock`; evaluation holds it
// too, so tests may read a model while a pacer drives the instrument.
class DutBase : public DutModel
{
public:
    void plugged(DutContext& context) override;
    void outputsChanged() override;
    void unplugged() override;

protected:
    // Collects the earliest instant after now at which the model must look again.
    class Wake
    {
    public:
        explicit Wake(int64_t nowNs) : now(nowNs) {}
        void at(std::optional<int64_t> atNs)
        {
            if (atNs && *atNs > now && (!next || *atNs < *next))
                next = atNs;
        }
        std::optional<int64_t> next;

    private:
        int64_t now;
    };

    // Decides the model's state at nowNs under the outputs played from now on,
    // and names in wake every instant at which that decision could change.
    virtual void evaluate(int64_t nowNs, const PlayedOutputs& out, Wake& wake) = 0;
    // The model is being unplugged: open its contacts (ctx still valid).
    virtual void disconnect(int64_t nowNs) = 0;

    DutContext* ctx = nullptr;
    mutable std::recursive_mutex lock;

private:
    void refresh();
    uint64_t wakeEvent = 0;
};

// Component k of one channel as played, as a function of the seconds s since
// the page start: its set value moving with the channel's ramp (component 0
// only) until `rampEnd` (the ramp's end or the hold, whichever is first),
// then constant, through the instrument's output errors when it has any.
// It is PlayedOutputs::component() at continuous time (0 when not live);
// it refers to `out`, which must outlive it.
struct Track
{
    const PlayedOutputs* out = nullptr;
    int channel = 0;
    int component = 0;
    bool frequency = false;   // the value is the frequency, else the amplitude
    bool live = false;
    double rate = 0.0;        // of the set value, per second, while ramping
    double rampEnd = 0.0;

    Component at(double s) const;
    double value(double s) const;
    // Rate of change of value() at s (0 outside the ramp).
    double slope(double s) const;
    bool movesWithin(double from, double to) const { return rate != 0.0 && from < rampEnd - 1e-9 && to > 0.0; }
};

Track amplitudeTrack(const PlayedOutputs& out, int c, int k = 0);
Track frequencyTrack(const PlayedOutputs& out, int c);

// Seconds since the page start of a simulator time, and back (rounded up to
// the first whole ns at or after the instant).
double pageSeconds(const PlayedOutputs& out, int64_t atNs);
int64_t pageNs(const PlayedOutputs& out, double seconds);

// The end of channel c's ramp when it lies after nowNs (the values are
// piecewise linear; past this instant the rate of change is 0).
std::optional<int64_t> rampEndAfter(const PlayedOutputs& out, int c, int64_t nowNs);

// The next instant after nowNs at which component 0's amplitude (frequency)
// of channel c crosses the threshold, in whichever direction it is not on now.
std::optional<int64_t> nextAmplitudeCrossing(const PlayedOutputs& out, int c, double threshold, int64_t nowNs);
std::optional<int64_t> nextFrequencyCrossing(const PlayedOutputs& out, int c, double threshold, int64_t nowNs);

// The highest component-0 amplitude over a set of channels (0 for an empty set).
double highestAmplitude(const PlayedOutputs& out, const std::vector<int>& channels, int64_t nowNs);

// The integral of f over [a, b] (adaptive Simpson to the absolute tolerance
// tol, or 1e-13 relative where that is larger).
double integrate(const std::function<double(double)>& f, double a, double b, double tol);
// The first t in [a, b] at which the integral of f (f >= 0) from a reaches
// target, to 0.1 ns; nothing when the integral over [a, b] stays below it.
std::optional<double> solveIntegral(const std::function<double(double)>& f, double a, double b, double target,
                                    double tol);

} // namespace zorsim
