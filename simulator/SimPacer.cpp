#include "SimPacer.h"

#include "SimInstrument.h"
#include "zoplatform.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace zorsim {

int64_t PaceAccumulator::take(int64_t realNs, double speed)
{
    if (realNs <= 0 || speed <= 0.0)
        return 0;
    const double owed = static_cast<double>(realNs) * speed + remainder;
    const double whole = std::floor(owed);
    remainder = owed - whole;
    return static_cast<int64_t>(whole);
}

SimPacer::SimPacer(SimInstrument& instrument, double speedFactor, int interval, QObject* parent)
    : QObject(parent), sim(instrument), speed(speedFactor), intervalMs(interval > 0 ? interval : 1)
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &SimPacer::tick);
}

SimPacer::~SimPacer()
{
    stop();
}

void SimPacer::start()
{
    stop();
    accumulator.reset();
    elapsed.start();
    lastNs = 0;
    started = true;
    sim.setPacing({[this] { return owedNs(); },
                   [this] {
                       // Any thread: the tick runs in the pacer's own.
                       if (!wakePosted.exchange(true))
                           QMetaObject::invokeMethod(this, &SimPacer::tick, Qt::QueuedConnection);
                   }});
    tick();
}

void SimPacer::stop()
{
    if (!started)
        return;
    started = false;
    sim.setPacing({});
    timer.stop();
}

int64_t SimPacer::owedNs()
{
    const int64_t nowNs = elapsed.nsecsElapsed();
    const int64_t realNs = nowNs - lastNs;
    lastNs = nowNs;
    return accumulator.take(realNs, speed);
}

void SimPacer::tick()
{
    wakePosted = false;
    if (!started)
        return;
    const SimInstrument::PaceState state = sim.catchUp();
    if (state.playing) {
        timer.start(intervalMs);
    } else if (state.nextEventNs) {
        // Real ms to the deadline, rounded up (the clock may not be late).
        const double ms = std::ceil((*state.nextEventNs - state.nowNs) / speed / 1e6);
        timer.start(static_cast<int>(std::clamp(ms, 0.0, 3600000.0)));
    } else {
        timer.stop();
    }
}

SimRealTimePacer::SimRealTimePacer(SimInstrument& instrument, std::function<double()> speedSource, int64_t step)
    : sim(instrument), speed(std::move(speedSource)), stepUs(step > 0 ? step : 500)
{
    worker = std::thread([this] { run(); });
}

SimRealTimePacer::~SimRealTimePacer()
{
    stop();
}

void SimRealTimePacer::stop()
{
    running.store(false);
    if (worker.joinable())
        worker.join();
}

void SimRealTimePacer::run()
{
    using Clock = std::chrono::steady_clock;
    PaceAccumulator accumulator;
    Clock::time_point last = Clock::now();
    while (running.load()) {
        std::this_thread::sleep_for(std::chrono::microseconds(stepUs));
        const Clock::time_point now = Clock::now();
        const int64_t realNs = std::chrono::duration_cast<std::chrono::nanoseconds>(now - last).count();
        last = now;
        const double factor = speed ? speed() : 1.0 / zoplat::timeScale();
        sim.advance(accumulator.take(realNs, factor));
    }
}

} // namespace zorsim
