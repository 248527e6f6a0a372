// The querying thread's share of a core while the AC page outputs a steady
// state, on the simulated instrument at real time. Reference, in the same
// run: a thread doing the polling loop's per-pass driver reads of a running
// test (binary inputs, binary outputs, the action read) back to back, never
// resting, as the loop did while a test ran. Counters: query_cpu (share of
// one core), reference_cpu, and query_cpu / reference_cpu.

#include "ControllerCenter.h"
#include "ControllerQuery.h"
#include "ControllerRuntime.h"
#include "ControllerTestor.h"
#include "ModelAlternateEntity.h"
#include "SimInstrument.h"
#include "SimPacer.h"
#include "driverbase.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QMutexLocker>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <pthread.h>
#include <thread>

namespace {

constexpr double kMeasureSeconds = 3.0;

double threadCpuSeconds(pthread_t thread)
{
    clockid_t id;
    timespec ts{};
    if (pthread_getcpuclockid(thread, &id) != 0 || clock_gettime(id, &ts) != 0)
        return 0.0;
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// Share of one core `thread` takes over kMeasureSeconds of real time.
double cpuShare(pthread_t thread)
{
    const auto wall0 = std::chrono::steady_clock::now();
    const double cpu0 = threadCpuSeconds(thread);
    std::this_thread::sleep_for(std::chrono::duration<double>(kMeasureSeconds));
    const double cpu1 = threadCpuSeconds(thread);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    return (cpu1 - cpu0) / wall;
}

template <typename Cond>
bool waitFor(Cond cond, int timeoutMs = 20000)
{
    for (int ms = 0; ms < timeoutMs; ms += 5) {
        if (cond())
            return true;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

void BM_QueryingThreadWhileAcOutputs(benchmark::State& state)
{
    static int argc = 1;
    static char name[] = "query_cpu_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);

    // Application root and sandbox in a folder of the working directory.
    QTemporaryDir root(QDir::currentPath() + QStringLiteral("/query_cpu_bench-XXXXXX"));
    const QString previous = QDir::currentPath();
    QDir().mkpath(root.filePath("app/dat"));
    QDir::setCurrent(root.filePath("app"));
    zoplat::host::setSandboxRoot(root.filePath("sandbox"));
    zoplat::setTimeScale(1.0);

    zorsim::SimInstrument sim;
    sim.attach();
    zorsim::SimRealTimePacer pacer(sim, [] { return 1.0; });

    ControllerCenter* center = ControllerCenter::getInstance();
    // The querying thread, as it reports the clock status (every 300 ms).
    std::atomic<pthread_t> queryThread{pthread_t()};
    std::atomic<bool> seen{false};
    QObject::connect(
        center->testQuery, &ControllerQuery::sigUpdateSyncClock, center->testQuery,
        [&](bool, quint32) {
            queryThread.store(pthread_self());
            seen.store(true);
        },
        Qt::DirectConnection);
    center->testConfig();
    center->queryStart();
    if (!waitFor([&] { return center->testQuery->initFinishEnable.load() && seen.load(); })) {
        state.SkipWithError("the engine did not start on the simulated instrument");
        return;
    }

    // A steady three-phase output, no input watched: it runs until stopped.
    ModelAlternateEntity& ac = *center->testTestor->dataAlternate;
    {
        QMutexLocker lock(&ac.entityLock);
        const double angles[8] = {0, 240, 120, 0, 0, 240, 120, 0};
        for (int c = 0; c < 8; ++c) {
            ac.outputRanges[c] = c == 3 || c == 7 ? 0.0 : (c < 4 ? 57.735 : 1.0);
            ac.outputAngles[c] = angles[c];
            ac.outputFrequencies[c] = 50.0;
            ac.stateOutputBIStates[c % 4] = 0;
        }
        ac.autoRampEnabled = false;
        ac.faultActionType = ModelEntity::ACTION_TYPE_CONTINUE;
    }
    center->testActive(ControllerTestor::TEST_ALTERNATE);
    center->testStart();
    if (!waitFor([&] { return center->testTestor->runEnable.load() && center->testQuery->runningEnable.load(); })) {
        state.SkipWithError("the AC output did not start");
        return;
    }

    double query = 0.0;
    double reference = 0.0;
    for (auto _ : state) {
        query = cpuShare(queryThread.load());
        center->testInterrupt();
        waitFor([&] { return !center->testQuery->runningEnable.load(); });

        // The loop's pass of a running test, never resting.
        std::atomic<bool> stop{false};
        std::thread worker([&stop] {
            while (!stop.load()) {
                driverBaseReadTestBIState();
                driverBaseReadTestBOState();
                driverBaseReadActionTimes();
            }
        });
        reference = cpuShare(worker.native_handle());
        stop.store(true);
        worker.join();
    }
    state.counters["query_cpu"] = query;
    state.counters["reference_cpu"] = reference;
    state.counters["ratio"] = reference > 0.0 ? query / reference : 0.0;
    std::printf("querying thread while the AC page outputs: %.1f %% of a core; reference (the running pass, "
                "never resting): %.1f %%; ratio %.3f\n",
                100.0 * query, 100.0 * reference, reference > 0.0 ? query / reference : 0.0);

    // The engine is never destroyed: its threads end before the instrument goes.
    center->batteryInterrupt();
    center->queryInterrupt();
    waitFor([&] { return !center->testQuery->isQueryRunning(); });
    for (QThread* t : {center->batteryThread, center->queryingThread, center->configThread, center->testorThread,
                       center->runtimeThread}) {
        t->quit();
        t->wait(20000);
    }
    pacer.stop();
    QDir::setCurrent(previous);
}
BENCHMARK(BM_QueryingThreadWhileAcOutputs)->Iterations(1)->Unit(benchmark::kSecond);

}   // namespace
