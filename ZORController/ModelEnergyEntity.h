#pragma once

// Engine side of the energy-meter test: up to 32 states of fixed voltages and
// currents. While a state runs the instrument emits energy pulses at the rate
// the state's power and the meter constant give, and counts the pulses the
// meter under test returns; the result of each state is the pulse count, the
// measured time and the energy delivered in it. The view model judges the
// meter from them. States change on pulse completion (the status loop's
// pulse handling), not on the page time.
//
// Locking: entityLock guards every field. A writer (view model) holds it
// across an edit and its formatLimitValue; the testor holds it across a
// start or switch (check, encode). Every operation also takes it itself; it
// is recursive, so an operation may be called with it held.
//
// Start check for the testor: checkOutputValues() false means the start
// fails (nothing is sent). updateToDriverValue never writes a non-finite
// value (it writes 0); updateToDriverPulse never writes a pulse period it
// cannot compute (it leaves the pulse output off).

#include "ModelEntityCommon.h"

#include <QObject>
#include <QRecursiveMutex>

#include <cstdint>

class ModelEnergyEntity : public QObject
{
    Q_OBJECT

public:
    using AOPortType = ModelEntity::AOPortType;
    using AOTestStateType = ModelEntity::AOTestStateType;

    static constexpr int kMaxStates = 32;
    static constexpr double kUntimedOutputTime = 36000.0;
    // 3.6e6 J per kWh x 1.25e8 clock ticks per second: divided by the power in
    // W times the constant in pulses per kWh it gives the pulse period in ticks.
    static constexpr double kPulsePeriodNumerator = 449999997501440.0;
    static constexpr double kPulseClockRate = 1.25e8;   // ticks per second
    // Only the low 32 bits of the pulse period reach the instrument.
    static constexpr double kMaxPulsePeriod = 4294967295.0;
    // Seconds a 32-bit count of clock ticks spans (2^32 ticks, 34.36 s): the
    // longest interval the instrument can time.
    static constexpr double kPulseCountSeconds = (kMaxPulsePeriod + 1.0) / kPulseClockRate;
    // The status loop reads a count this long after it has sent the set-up.
    static constexpr int64_t kPulseSettleMs = 999;
    // A state's count window is its span and this much more (see
    // countWindowSeconds).
    static constexpr double kCountWindowMargin = 1.2;

    explicit ModelEnergyEntity(QObject* parent = nullptr);
    ~ModelEnergyEntity() override = default;

    mutable QRecursiveMutex entityLock;

    double stateOutputRanges[kMaxStates][8] = {};
    double stateOutputAngles[kMaxStates][8] = {};
    double stateOutputFrequencies[kMaxStates][8] = {};
    AOTestStateType stateTestStates[kMaxStates];
    uint16_t pulseInputCounter[kMaxStates] = {};     // result: pulses counted
    uint16_t pulseOutputEnable = 0;                  // non-zero: emit energy pulses
    double pulseOutputGiven[kMaxStates] = {};        // power of each state, W
    double pulseOutputConst = 0.0;                   // meter constant, pulses per kWh
    double stateSampleDelayTimes[kMaxStates] = {};   // s before counting starts
    double stateSettingTimes[kMaxStates] = {};       // expected time of all the state's pulses, s
    double stateSettingPulses[kMaxStates] = {};      // pulses to count
    double stateActualTimes[kMaxStates] = {};        // result: measured time, s
    double stateActualEnergys[kMaxStates] = {};      // result: energy in that time, Wh
    qint32 outputBOStates[4] = {};
    qint32 stateCount = 0;
    qint32 outputRunningStateIndex = -1;
    qint32 outputSendingStateIndex = -1;

    // Contract operations (testor thread).
    void resetActionValues();
    void switchToResetState();
    void updateToDriverStateCount();
    bool switchToNextState();
    void updateToDriverValue();
    void updateToDriverBOStates();
    void updateFromDriverState();
    void formatLimitValue(double vmax, double imax);
    // Pulse set-up of the running state, after each updateToDriverValue that
    // followed a successful switchToNextState.
    void updateToDriverPulse();
    // 0 when a result was stored, -1 when ignored.
    int updateFromDriverPulse(unsigned short inputCounter, double inputPeriod);

    // Whole seconds, from the start of the state's delay, that the status loop
    // waits for its count (pulseSampleTotalCount): the delay, the settle
    // before the count is read, the wait for the meter's first edge (up to
    // one pulse period) and the expected time of the pulses, with the
    // margin, rounded up. 0 for a state outside 0..kMaxStates-1.
    quint32 countWindowSeconds(int state) const;
    // Seconds from a count's set-up until a meter that gives `pulses` (> 0)
    // pulses in `seconds` has given them all: the wait for its first edge
    // (up to one pulse period), which opens the count, and the pulses.
    static double firstEdgeAndPulsesSeconds(double seconds, double pulses);

    // The pulse period in 125 MHz ticks of `state` (truncated), or -1 when it
    // cannot be given to the instrument: no finite positive power x constant,
    // or a period outside 1 .. kMaxPulsePeriod ticks.
    double pulsePeriodTicks(int state) const;
    // False when the run must not start: stateCount outside 1..kMaxStates; a
    // non-finite amplitude, angle or frequency; a pulse count outside
    // 0..65535, or a non-finite or negative sample time or delay, in a state
    // in use; with pulse output on, a state whose pulse period cannot be
    // given (see pulsePeriodTicks).
    bool checkOutputValues() const;
};
