#pragma once

// Pacing the simulated instrument's virtual clock from real time. The models
// never read a wall clock; these objects, outside them, hand over elapsed
// time and carry the fraction of a nanosecond that did not fit.
//
// SimPacer: for the application, a QTimer in the owner's thread. The clock
// catches up with real time whenever the instrument is used (its pacing,
// SimInstrument::setPacing); the timer only makes deadlines fire when nobody
// uses it: every interval while pages play, else at the next deadline, and
// not at all while none is pending (the instrument wakes it when that
// changes).
// SimRealTimePacer: for engine tests, a thread of its own that advances the
// clock by real elapsed time / zoplat::timeScale(), the same factor that
// shortens the product's waits (so a 1.5 s settle plays 1.5 s of pages).

#include <QObject>
#include <QElapsedTimer>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

namespace zorsim {

class SimInstrument;

// Converts real elapsed nanoseconds into virtual ones, carrying the remainder.
class PaceAccumulator
{
public:
    // Virtual ns owed for realNs of real time at the given speed factor.
    int64_t take(int64_t realNs, double speed);
    void reset() { remainder = 0.0; }

private:
    double remainder = 0.0;
};

class SimPacer : public QObject
{
    Q_OBJECT
public:
    // speed: virtual seconds per real second.
    SimPacer(SimInstrument& instrument, double speed = 1.0, int intervalMs = 5, QObject* parent = nullptr);
    ~SimPacer() override;   // stops
    void start();
    void stop();
    bool isActive() const { return started; }
    // Real ms until the timer next moves the clock; -1 while it waits for
    // the instrument to wake it.
    int nextWakeMs() const { return timer.isActive() ? timer.remainingTime() : -1; }

private:
    void tick();
    int64_t owedNs();   // under the instrument's lock

    SimInstrument& sim;
    double speed;
    int intervalMs;
    bool started = false;
    QTimer timer;
    QElapsedTimer elapsed;
    int64_t lastNs = 0;
    PaceAccumulator accumulator;
    std::atomic<bool> wakePosted{false};
};

class SimRealTimePacer
{
public:
    // Starts at once. speed() is asked on every step; by default it is
    // 1 / zoplat::timeScale().
    explicit SimRealTimePacer(SimInstrument& instrument,
                              std::function<double()> speed = {},
                              int64_t stepUs = 500);
    ~SimRealTimePacer();   // stops and joins
    SimRealTimePacer(const SimRealTimePacer&) = delete;
    SimRealTimePacer& operator=(const SimRealTimePacer&) = delete;

    void stop();

private:
    void run();

    SimInstrument& sim;
    std::function<double()> speed;
    int64_t stepUs;
    std::atomic<bool> running{true};
    std::thread worker;
};

} // namespace zorsim
