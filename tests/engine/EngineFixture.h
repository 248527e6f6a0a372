#pragma once

// The whole engine against the simulated instrument.
//
// The engine is a process-wide singleton that is never destroyed, so every
// engine test needs a process of its own. ctest gives it one: the tests are
// registered with gtest_discover_tests, and each TEST is a separate ctest run
// of this program with --gtest_filter. Run by hand, use --gtest_filter with
// one engine test at a time; a second engine test in the same process fails
// (EngineClaim.h) rather than run on a used engine. No test depends on
// another's order or leftovers.
//
// Time: the product's waits and its monotonic clock run kTimeScale times
// real time (zoplat::setTimeScale), and a real-time pacer advances the
// simulator's virtual clock by the same factor, so the 300 ms polls, the
// 10 s temperature period and the 1.5 s settle keep their proportions to the
// instrument's own timing. Tests wait on conditions, never on durations.

#include "CommDriverData.h"
#include "ControllerCenter.h"
#include "EngineClaim.h"
#include "SimInstrument.h"
#include "SimPacer.h"
#include "TestSandbox.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>

#include <chrono>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace enginetest {

constexpr double kTimeScale = 0.05;   // product waits take 1/20 of their time
constexpr int kDeadlineMs = 60000;

// Waits for cond, handling the main thread's events meanwhile (the facade's
// relays arrive there); false when the deadline passed first.
template <typename Cond>
bool waitFor(Cond cond, int timeoutMs = kDeadlineMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!cond()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

struct Notice
{
    qint32 type;
    qint32 sub;
    bool operator==(const Notice& o) const { return type == o.type && sub == o.sub; }
};

// Notices as a listener sees them: thread-safe, with the thread they came on.
class NoticeLog
{
public:
    void add(qint32 type, qint32 sub)
    {
        QMutexLocker lock(&mutex);
        notices.push_back({type, sub});
        threads.push_back(QThread::currentThread());
    }
    void addText(const QString& text)
    {
        QMutexLocker lock(&mutex);
        texts.push_back(text);
    }
    std::vector<Notice> all() const
    {
        QMutexLocker lock(&mutex);
        return notices;
    }
    std::vector<QThread*> allThreads() const
    {
        QMutexLocker lock(&mutex);
        return threads;
    }
    std::vector<QString> allTexts() const
    {
        QMutexLocker lock(&mutex);
        return texts;
    }
    int count(qint32 type, qint32 sub) const
    {
        QMutexLocker lock(&mutex);
        int n = 0;
        for (const Notice& x : notices)
            n += (x.type == type && x.sub == sub) ? 1 : 0;
        return n;
    }
    bool hasText(const QString& part) const
    {
        QMutexLocker lock(&mutex);
        for (const QString& t : texts)
            if (t.contains(part))
                return true;
        return false;
    }

private:
    mutable QMutex mutex;
    std::vector<Notice> notices;
    std::vector<QThread*> threads;
    std::vector<QString> texts;
};

} // namespace enginetest

class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string refused = zortest::claimEngine();
        if (!refused.empty())
            FAIL() << refused;

        ASSERT_TRUE(sandbox.isValid());
        zoplat::host::reset();
        zoplat::host::setSandboxRoot(sandbox.filePath("root"));
        previousDir = QDir::currentPath();
        QDir().mkpath(sandbox.filePath("app/dat"));
        QDir::setCurrent(sandbox.filePath("app"));
        zoplat::setTimeScale(enginetest::kTimeScale);

        sim = std::make_unique<zorsim::SimInstrument>();
        sim->attach();
        sim->setFrameLogging(true);
        pacer = std::make_unique<zorsim::SimRealTimePacer>(*sim);

        center = ControllerCenter::getInstance();
        QObject::connect(center, &ControllerCenter::sigUpdateDataToView, &receiver,
                         [this](qint32 type, qint32 sub) { gui.add(type, sub); });
        QObject::connect(center, &ControllerCenter::sigUpdateSOEToView, &receiver,
                         [this](const QString& text) { gui.addText(text); });
    }

    void TearDown() override
    {
        appPacer.reset();
        if (!center)
            return;
        // The engine stays (it is never destroyed); its threads are ended
        // before the instrument goes, as the process ends after this test.
        center->batteryInterrupt();
        center->queryInterrupt();
        EXPECT_TRUE(enginetest::waitFor([this] { return !center->testQuery->isQueryRunning(); }));
        for (QThread* t : {center->batteryThread, center->queryingThread, center->configThread,
                           center->testorThread, center->runtimeThread}) {
            t->quit();
            EXPECT_TRUE(t->wait(enginetest::kDeadlineMs));
        }
        pacer.reset();
        EXPECT_TRUE(sim->violations().empty()) << sim->violationText();
        sim.reset();
        QDir::setCurrent(previousDir);
    }

    // The instrument paced as the application paces it, at real time (time
    // scale 1), for the rest of the test.
    void atRealTime()
    {
        zoplat::setTimeScale(1.0);
        pacer.reset();
        appPacer = std::make_unique<zorsim::SimPacer>(*sim);
        appPacer->start();
    }

    // Driver initialised on the simulator, polling loop running.
    void startPolling()
    {
        center->testConfig();
        center->queryStart();
        ASSERT_TRUE(enginetest::waitFor([this] { return state(ControllerRuntime::STATE_TYPE_INIT) == 1; }));
        ASSERT_TRUE(enginetest::waitFor([this] { return center->testQuery->isQueryRunning(); }));
    }

    // A field of the runtime store, copied under its lock.
    template <typename Fn>
    auto runtime(Fn fn)
    {
        ControllerRuntime* rt = center->testRuntime;
        rt->dataLock();
        auto value = fn(*rt);
        rt->dataUnlock();
        return value;
    }
    qint32 state(int index)
    {
        return runtime([index](ControllerRuntime& rt) { return rt.STATE[index]; });
    }

    // Read commands the product sent for one register since the frame log was cleared.
    int readsOf(uint16_t reg) const
    {
        const uint32_t frame = (uint32_t(0x8000) << 16) | reg;
        int n = 0;
        for (uint32_t f : sim->frames())
            n += f == frame ? 1 : 0;
        return n;
    }

    // Waits until the product has read reg at least n more times.
    bool waitForReads(uint16_t reg, int n)
    {
        sim->clearFrames();
        return enginetest::waitFor([&] { return readsOf(reg) >= n; });
    }

    // Waits until the loop has reported the clock status n more times (one
    // every 300 ms of product time, running or not).
    bool waitForClockPasses(int n)
    {
        const int target = gui.count(ControllerRuntime::DATA_TYPE_CLOCK_STATE, -1) + n;
        return enginetest::waitFor(
            [&] { return gui.count(ControllerRuntime::DATA_TYPE_CLOCK_STATE, -1) >= target; });
    }

    TestSandbox sandbox;
    QString previousDir;
    std::unique_ptr<zorsim::SimInstrument> sim;
    std::unique_ptr<zorsim::SimRealTimePacer> pacer;
    std::unique_ptr<zorsim::SimPacer> appPacer;   // atRealTime's
    ControllerCenter* center = nullptr;
    QObject receiver;           // lives on the main thread
    enginetest::NoticeLog gui;  // the facade's relays, as the GUI thread sees them
};

namespace reg {
constexpr uint16_t kBinaryInputs = 0x8338;
constexpr uint16_t kBinaryOutputs = 0x833A;
constexpr uint16_t kPower = 0x8400;
constexpr uint16_t kFanSetPoint = 0x840C;
constexpr uint16_t kAlarms = 0x8414;
constexpr uint16_t kTemperature0 = 0x8416;
} // namespace reg
