#pragma once

// Shared by the start-up tests: waiting on conditions, and the engine on the
// simulated instrument in a private application root.
//
// The engine is a process-wide singleton that is never destroyed, so each
// engine test needs a process of its own: ctest runs every TEST separately
// (gtest_discover_tests); run by hand, filter one engine test at a time. A
// second engine test in the same process fails (EngineClaim.h).

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
#include <QThread>

#include <chrono>
#include <memory>
#include <thread>

namespace startuptest {

constexpr int kDeadlineMs = 60000;
constexpr double kTimeScale = 0.05;   // product waits take 1/20 of their time

// Waits for cond, handling the main thread's events meanwhile; false when
// the deadline passed first.
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

} // namespace startuptest

// The engine in a sandbox: application root <sandbox>/app (the working
// directory), sandbox root <sandbox>/root, product waits scaled, an
// instrument paced from real time. The instrument is attached only when
// attachInstrument() is called (or by SetUp when attachAtStart).
class StartupEngineTest : public ::testing::Test
{
protected:
    explicit StartupEngineTest(bool attach = true) : attachAtStart(attach) {}

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
        zoplat::setTimeScale(startuptest::kTimeScale);

        sim = std::make_unique<zorsim::SimInstrument>();
        if (attachAtStart)
            sim->attach();
        pacer = std::make_unique<zorsim::SimRealTimePacer>(*sim);
    }

    void TearDown() override
    {
        if (center) {
            // The engine stays; its threads end before the instrument goes.
            center->batteryInterrupt();
            center->queryInterrupt();
            EXPECT_TRUE(startuptest::waitFor([this] { return !center->testQuery->isQueryRunning(); }));
            for (QThread* t : {center->batteryThread, center->queryingThread, center->configThread,
                               center->testorThread, center->runtimeThread}) {
                t->quit();
                EXPECT_TRUE(t->wait(startuptest::kDeadlineMs));
            }
        }
        pacer.reset();
        if (sim) {
            EXPECT_TRUE(sim->violations().empty()) << sim->violationText();
        }
        sim.reset();
        if (!previousDir.isEmpty())
            QDir::setCurrent(previousDir);
        zoplat::host::reset();
    }

    ControllerCenter* engine()
    {
        if (!center)
            center = ControllerCenter::getInstance();
        return center;
    }

    qint32 state(int index)
    {
        ControllerRuntime* rt = engine()->testRuntime;
        rt->dataLock();
        const qint32 value = rt->STATE[index];
        rt->dataUnlock();
        return value;
    }

    TestSandbox sandbox;
    QString previousDir;
    std::unique_ptr<zorsim::SimInstrument> sim;
    std::unique_ptr<zorsim::SimRealTimePacer> pacer;
    ControllerCenter* center = nullptr;
    bool attachAtStart;
};
