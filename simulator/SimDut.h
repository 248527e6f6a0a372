#pragma once

// Device-under-test models: they watch the outputs the simulated instrument
// plays and close its binary inputs the way a relay would. A model gets a
// context when plugged in, is told every time the played outputs change, and
// may schedule its own deadlines on the instrument's clock (pick-up delays,
// trip times). Everything runs in simulator time, under the instrument's lock.

#include "SimPage.h"

#include <cstdint>
#include <functional>
#include <string>

namespace zorsim {

class DutContext
{
public:
    virtual ~DutContext() = default;
    virtual int64_t nowNs() const = 0;
    virtual const PlayedOutputs& outputs() const = 0;
    // The contact wired to binary input index (0..3); the input's debounce applies.
    virtual void setBinaryInput(int index, bool closed) = 0;
    // The earliest instant a contact may move: one tick of the instrument's
    // clock after the last change of the played outputs (nothing responds in
    // zero time).
    virtual int64_t earliestActionNs() const = 0;
    virtual bool binaryInput(int index) const = 0;
    // Own deadlines on the instrument's clock; cancel ignores ids that fired.
    virtual uint64_t scheduleAt(int64_t atNs, std::function<void()> fn) = 0;
    virtual void cancel(uint64_t id) = 0;
    // One pulse from the device's pulse output into the instrument's
    // energy-meter pulse input, now (an energy meter's test output).
    virtual void energyPulse() = 0;
};

class DutModel
{
public:
    virtual ~DutModel() = default;
    virtual std::string name() const = 0;
    // Called once when plugged in; the context stays valid until unplugged.
    virtual void plugged(DutContext& context) = 0;
    // Called whenever the played outputs change (page entered or ended, run
    // or power changed), at the simulator time of the change.
    virtual void outputsChanged() = 0;
    virtual void unplugged() {}
};

} // namespace zorsim
