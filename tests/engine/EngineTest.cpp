// The engine through its facade, against the simulated instrument. Every
// TEST here runs in a process of its own (see EngineFixture.h).

#include "EngineFixture.h"
#include "ModelAlternateEntity.h"
#include "SimClockBlock.h"
#include "zodrv_mcasp.h"

#include <QScopeGuard>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <utility>

using enginetest::Notice;
using enginetest::waitFor;

namespace {

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// True once the testor has handled everything queued to it so far.
bool testorDone()
{
    auto done = std::make_shared<std::atomic<bool>>(false);
    QMetaObject::invokeMethod(
        ControllerCenter::getInstance()->testTestor, [done] { done->store(true); }, Qt::QueuedConnection);
    return waitFor([done] { return done->load(); });
}

bool isPrefix(const std::vector<Notice>& prefix, const std::vector<Notice>& all)
{
    return prefix.size() <= all.size() && std::equal(prefix.begin(), prefix.end(), all.begin());
}

}   // namespace

TEST_F(EngineTest, FacadeStartsEveryWorkerOnItsOwnThread)
{
    EXPECT_EQ(ControllerCenter::getInstance(), center);
    EXPECT_EQ(center->connectionCount(), 54);
    EXPECT_EQ(center->thread(), QThread::currentThread());

    const std::vector<std::pair<QObject*, QThread*>> placement = {
        {center->testRuntime, center->runtimeThread}, {center->testConfiguration, center->configThread},
        {center->testTestor, center->testorThread},   {center->testQuery, center->queryingThread},
        {center->testBattery, center->batteryThread},
    };
    std::vector<QThread*> distinct;
    for (const auto& [worker, thread] : placement) {
        EXPECT_EQ(worker->thread(), thread);
        EXPECT_TRUE(thread->isRunning());
        distinct.push_back(thread);
    }
    std::sort(distinct.begin(), distinct.end());
    EXPECT_EQ(std::unique(distinct.begin(), distinct.end()), distinct.end());
}

TEST_F(EngineTest, InitiateQueuesTheFourLoadsInOrder)
{
    QStringList requests;
    QObject::connect(center, &ControllerCenter::sigLoadConfig, &receiver,
                     [&](qint32 type) { requests << QString("config %1").arg(type); });
    QObject::connect(center, &ControllerCenter::sigLoadCal, &receiver,
                     [&](qint32 type) { requests << QString("calibration %1").arg(type); });
    QObject::connect(center, &ControllerCenter::sigLoadBatteryConfig, &receiver, [&] { requests << "battery"; });

    center->initiate();
    EXPECT_EQ(requests, (QStringList{"config 1", "config 0", "calibration 0", "battery"}));

    // The workers carry them out in that order: hardware, then software
    // configuration announced, and the calibration marked as loaded.
    ASSERT_TRUE(waitFor([this] {
        return gui.count(ControllerRuntime::DATA_TYPE_SYSTEM_CONFIG, 0) == 1
            && gui.count(ControllerRuntime::DATA_TYPE_RT_STATE, ControllerRuntime::STATE_TYPE_CALLOADED) == 1;
    }));
    std::vector<qint32> configs;
    for (const Notice& n : gui.all())
        if (n.type == ControllerRuntime::DATA_TYPE_SYSTEM_CONFIG)
            configs.push_back(n.sub);
    EXPECT_EQ(configs, (std::vector<qint32>{1, 0}));
    EXPECT_EQ(state(ControllerRuntime::STATE_TYPE_CALLOADED), 1);
}

// As at the application's start: the loads and the driver's initialisation
// go out together, so the calibration load may meet records another thread
// is allocating (the sanitizer stage sees any race between them).
TEST_F(EngineTest, StartUpLoadsAndDriverInitialisationGoOutTogether)
{
    center->initiate();
    center->testConfig();
    ASSERT_TRUE(waitFor([this] {
        return state(ControllerRuntime::STATE_TYPE_INIT) == 1 && state(ControllerRuntime::STATE_TYPE_CALLOADED) == 1;
    }));
    ASSERT_NE(globalConfigureCalData, nullptr);
}

TEST_F(EngineTest, TestConfigInitialisesTheDriverOnTheInstrument)
{
    sim->setFpgaVersion(0x2024, 0x0315);
    center->testConfiguration->bClkSyncEnabled = true;
    center->queryStart();
    ASSERT_TRUE(waitFor([this] { return center->testQuery->isQueryRunning(); }));
    center->testConfig();
    ASSERT_TRUE(waitFor([this] { return state(ControllerRuntime::STATE_TYPE_INIT) == 1; }));

    EXPECT_TRUE(center->testConfiguration->initDriverEnable.load());
    EXPECT_EQ(center->testConfiguration->fpgaVersion, 0x20240315u);
    ASSERT_NE(globalConfigureHardData, nullptr);
    EXPECT_EQ(globalConfigureHardData->fpgaVersion, 0x20240315u);
    // Both direct notices reach the spinning loop's worker on the configuration thread.
    EXPECT_TRUE(waitFor([this] { return center->testQuery->initFinishEnable.load(); }));
    EXPECT_TRUE(center->testQuery->clkSyncEnable.load());
    EXPECT_TRUE(waitFor(
        [this] { return gui.count(ControllerRuntime::DATA_TYPE_RT_STATE, ControllerRuntime::STATE_TYPE_INIT) == 1; }));
}

TEST_F(EngineTest, PollingWaitsForTheDriverThenReportsInputs)
{
    center->queryStart();
    ASSERT_TRUE(waitFor([this] { return center->testQuery->isQueryRunning(); }));
    // Several of the loop's 100 ms waits pass without a single frame.
    const int64_t waitedUntil = zoplat::monotonicMs() + 1000;
    ASSERT_TRUE(waitFor([&] { return zoplat::monotonicMs() > waitedUntil; }));
    EXPECT_EQ(sim->counters().frames, 0u);
    EXPECT_TRUE(gui.all().empty());

    // The initialisation reaches the spinning loop through its direct
    // connection: the first input read is reported although all are open.
    center->testConfig();
    ASSERT_TRUE(waitFor([this] { return gui.count(ControllerRuntime::DATA_TYPE_RT_BI, -1) >= 1; }));
    EXPECT_FALSE(gui.hasText(utf8("开入量")));

    sim->setBinaryInput(1, true);
    ASSERT_TRUE(waitFor([this] { return gui.hasText(utf8("开入量2 由开到合\n")); }));
    EXPECT_EQ(runtime([](ControllerRuntime& rt) { return rt.BI[1]; }), 1);
    sim->setBinaryInput(1, false);
    sim->setBinaryInput(0, true);
    ASSERT_TRUE(waitFor([this] { return runtime([](ControllerRuntime& rt) { return rt.BI[0]; }) == 1; }));
    ASSERT_TRUE(waitFor([this] { return gui.hasText(utf8("开入量1 由开到合\n")); }));
    EXPECT_TRUE(gui.hasText(utf8("开入量2 由合到开\n")));

    // The store keeps the events it announced.
    center->testRuntime->soeMutex.lock();
    const int stored = center->testRuntime->SOE.size();
    const CommSOEEntity::SOEType lastType = center->testRuntime->SOE.last()->soeType;
    center->testRuntime->soeMutex.unlock();
    EXPECT_GE(stored, 2);
    EXPECT_EQ(lastType, CommSOEEntity::SOE_TYPE_BI_SWITCH);
}

TEST_F(EngineTest, BinaryOutputsGoOutForModulesThatHaveThem)
{
    startPolling();
    ASSERT_NE(globalTestControlData, nullptr);
    {
        // The outputs come from the active module's entity.
        ModelAlternateEntity* ac = center->testTestor->dataAlternate;
        QMutexLocker lock(&ac->entityLock);
        ac->outputBOStates[0] = 1;
        ac->outputBOStates[2] = 1;
    }

    center->testActive(ControllerTestor::TEST_SLIP_FREQUENCY);   // no binary outputs of its own
    center->testBOState();
    ASSERT_TRUE(testorDone());
    EXPECT_EQ(sim->peekRegister(0x833C), 0);

    center->testActive(ControllerTestor::TEST_ALTERNATE);
    center->testBOState();
    ASSERT_TRUE(waitFor([this] { return gui.hasText(utf8("开出量1 由开到合\n")); }));
    // The instrument took them: the loop reads them back, and the store,
    // which already holds them, records no second event.
    EXPECT_EQ(sim->peekRegister(0x833C), 0x8005);
    ASSERT_TRUE(waitForReads(reg::kBinaryOutputs, 3));
    EXPECT_EQ(runtime([](ControllerRuntime& rt) { return std::vector<qint32>(rt.BO, rt.BO + 4); }),
              (std::vector<qint32>{1, 0, 1, 0}));
    const auto texts = gui.allTexts();
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(), [](const QString& t) { return t.contains(utf8("开出量")); }),
              1);
}

TEST_F(EngineTest, TemperaturesDriveTheFanAndTheNotices)
{
    startPolling();
    const auto fanSetPoint = [](int duty) { return int(globalConfigureHardData->fanSpeedFrequency / 100 * duty); };
    struct Row
    {
        double degC;
        int sensorState;   // of every sensor
        int duty;
    };
    const Row rows[] = {{22, 0, 20}, {40, 0, 50}, {61, 0, 100}, {10, 0, 0}, {40, 1, 20}, {33, 0, 36}};
    for (const Row& row : rows) {
        for (int s = 0; s < 4; ++s) {
            sim->setTemperature(s, row.degC - s);
            sim->setSensorState(s, row.sensorState);
        }
        const std::vector<qint32> expected = {int(row.degC), int(row.degC) - 3, row.duty};
        ASSERT_TRUE(waitFor([&] {
            return runtime([](ControllerRuntime& rt) {
                       return std::vector<qint32>{rt.powerT[0], rt.powerT[3], rt.fanPercent};
                   })
                == expected;
        })) << row.degC
            << " degC";
        EXPECT_EQ(sim->peekRegister(reg::kFanSetPoint), fanSetPoint(row.duty)) << row.degC << " degC";
    }

    // Above 100 degC, and in low power, fan and notices are left alone.
    ASSERT_TRUE(waitForReads(reg::kTemperature0, 1));   // the last row's notices are out
    QCoreApplication::processEvents();
    const int noticesBefore = gui.count(ControllerRuntime::DATA_TYPE_RT_TEMP, -1);
    sim->setTemperature(0, 101);
    ASSERT_TRUE(waitForReads(reg::kTemperature0, 2));
    center->testRuntime->doDeviceLowPower(true);
    sim->setTemperature(0, 45);
    ASSERT_TRUE(waitForReads(reg::kTemperature0, 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(runtime([](ControllerRuntime& rt) { return rt.powerT[0]; }), 33);
    EXPECT_EQ(sim->peekRegister(reg::kFanSetPoint), fanSetPoint(36));
    EXPECT_EQ(gui.count(ControllerRuntime::DATA_TYPE_RT_TEMP, -1), noticesBefore);

    center->testRuntime->doDeviceLowPower(false);
    ASSERT_TRUE(waitFor([this] {
        return runtime([](ControllerRuntime& rt) { return std::make_pair(rt.powerT[0], rt.fanPercent); })
            == std::make_pair(45, 60);
    }));
    EXPECT_EQ(zoplat::host::recordedCommands().filter("setpwrgpio.sh llo").mid(1),
              (QStringList{"/opt/zor/script/setpwrgpio.sh llo close", "/opt/zor/script/setpwrgpio.sh llo open"}));
}

TEST_F(EngineTest, AlarmWordsAreReadWhilePoweredAndReportedOnChange)
{
    startPolling();
    sim->setAlarmBits(0x0002);
    // Unpowered, the word is not read: two alarm periods later the store
    // still shows no alarm.
    ASSERT_TRUE(waitForClockPasses(11));
    EXPECT_EQ(gui.count(ControllerRuntime::DATA_TYPE_RT_ALARM, -1), 0);

    center->testActive(ControllerTestor::TEST_ALTERNATE);
    center->testStart();
    ASSERT_TRUE(waitFor([this] { return state(ControllerRuntime::STATE_TYPE_POWERED) == 1; }));
    ASSERT_TRUE(waitFor([this] { return gui.count(ControllerRuntime::DATA_TYPE_RT_ALARM, -1) == 1; }));
    EXPECT_EQ(runtime([](ControllerRuntime& rt) { return rt.ALARM[1]; }), 1);

    // The same word again and again (three alarm periods): no further notice.
    ASSERT_TRUE(waitForClockPasses(16));
    EXPECT_EQ(gui.count(ControllerRuntime::DATA_TYPE_RT_ALARM, -1), 1);

    sim->setAlarmBits(0x0009);
    ASSERT_TRUE(waitFor([this] { return gui.count(ControllerRuntime::DATA_TYPE_RT_ALARM, -1) == 2; }));
    EXPECT_EQ(runtime([](ControllerRuntime& rt) { return std::vector<qint32>(rt.ALARM, rt.ALARM + 4); }),
              (std::vector<qint32>{1, 0, 0, 1}));
    center->testInterrupt();
}

TEST_F(EngineTest, ClockStatusIsPolledAndStored)
{
    // An IRIG-B reference: the loop finds the instrument synchronised to it
    // and the runtime store keeps that and the reference's second.
    constexpr uint32_t t0 = 1709251195;   // 2024-02-29 23:59:55 UTC
    double setAt = 0.0;
    sim->withClockBlock([&](zorsim::SimClockBlock& b) {
        b.setIrigbReference(t0);
        setAt = sim->nowSeconds();
    });
    center->testConfiguration->clockSource = ControllerConfiguration::CLOCK_SOURCE_IRIG_B;
    startPolling();
    const auto stored = [this] {
        return runtime([](ControllerRuntime& rt) { return std::make_pair(rt.clockSyncState, rt.clockTime); });
    };
    ASSERT_TRUE(waitFor([&] { return stored().first && stored().second >= t0; }));
    const auto [synced, second] = stored();
    EXPECT_TRUE(synced);
    EXPECT_LE(second, t0 + uint32_t(sim->nowSeconds() - setAt) + 1);

    const int first = gui.count(ControllerRuntime::DATA_TYPE_CLOCK_STATE, -1);
    ASSERT_TRUE(waitFor([&] { return gui.count(ControllerRuntime::DATA_TYPE_CLOCK_STATE, -1) >= first + 3; }));

    // Three clock-status reads for each temperature read at most once every
    // 300 ms against 10 s: far more status notices than temperature reads.
    sim->clearFrames();
    const int start = gui.count(ControllerRuntime::DATA_TYPE_CLOCK_STATE, -1);
    ASSERT_TRUE(waitFor([&] { return readsOf(reg::kTemperature0) >= 2; }));
    QCoreApplication::processEvents();
    EXPECT_GE(gui.count(ControllerRuntime::DATA_TYPE_CLOCK_STATE, -1) - start, 15);
}

TEST_F(EngineTest, WallClockStepsLeaveThePollingPeriodsAlone)
{
    startPolling();
    ASSERT_TRUE(waitForReads(reg::kTemperature0, 1));
    const int64_t year = 365LL * 24 * 3600;
    for (const int64_t step : {-year - 5 * 3600, 2 * year}) {
        // What the clock synchronisation does on a new reference second.
        const int64_t stepped = zoplat::systemTimeMs() / 1000 + step;
        ASSERT_EQ(zoplat::setSystemTime(stepped), 0);

        // Temperatures are still read every 10 s, not every pass and not never.
        sim->clearFrames();
        ASSERT_TRUE(waitFor([this] { return readsOf(reg::kBinaryInputs) >= 70; }));
        EXPECT_GE(readsOf(reg::kTemperature0), 1);
        EXPECT_LE(readsOf(reg::kTemperature0), 3);

        // Events keep wall-clock stamps: they follow the step.
        const size_t events = gui.allTexts().size();
        sim->setBinaryInput(3, step < 0);
        ASSERT_TRUE(waitFor([&] { return gui.allTexts().size() > events; }));
        center->testRuntime->soeMutex.lock();
        const QDateTime stamp = center->testRuntime->SOE.last()->eventUtcTime;
        center->testRuntime->soeMutex.unlock();
        EXPECT_LT(std::llabs(stamp.toSecsSinceEpoch() - stepped), 600) << stamp.toString().toStdString();
    }
}

TEST_F(EngineTest, RunKeepsTheModuleItStartedWith)
{
    startPolling();
    // With no run the selection takes effect at once in both workers.
    center->testActive(ControllerTestor::TEST_OVERCURRENT);
    EXPECT_EQ(center->testTestor->testType.load(), ControllerTestor::TEST_OVERCURRENT);
    EXPECT_EQ(center->testQuery->testType.load(), ControllerTestor::TEST_OVERCURRENT);
    EXPECT_EQ(center->testQuery->runTestType(), ControllerTestor::TEST_OVERCURRENT);

    center->testActive(ControllerTestor::TEST_ALTERNATE);
    center->testStart();
    ASSERT_TRUE(waitFor([this] { return state(ControllerRuntime::STATE_TYPE_RUNNING) == 1; }));
    // The run state reaches the spinning loop through its direct connection.
    ASSERT_TRUE(waitFor([this] { return center->testQuery->runningEnable.load(); }));
    EXPECT_TRUE(sim->playerStatus().running);
    EXPECT_NE(sim->peekRegister(reg::kPower), 0);
    EXPECT_TRUE(waitFor([this] { return gui.hasText(utf8("开始输出\n")); }));

    // Leaving the module while it runs: the selection changes, the run does not.
    center->testActive(ControllerTestor::TEST_NONE);
    EXPECT_EQ(center->testTestor->testType.load(), ControllerTestor::TEST_NONE);
    EXPECT_EQ(center->testQuery->testType.load(), ControllerTestor::TEST_NONE);
    EXPECT_EQ(center->testTestor->activeTestType(), ControllerTestor::TEST_ALTERNATE);
    EXPECT_EQ(center->testQuery->runTestType(), ControllerTestor::TEST_ALTERNATE);

    // The stop still takes the running module's way: output off, amplifiers off.
    center->testInterrupt();
    ASSERT_TRUE(waitFor([this] { return state(ControllerRuntime::STATE_TYPE_RUNNING) == 0; }));
    ASSERT_TRUE(waitFor([this] { return state(ControllerRuntime::STATE_TYPE_POWERED) == 0; }));
    EXPECT_FALSE(sim->playerStatus().running);
    EXPECT_EQ(sim->peekRegister(reg::kPower), 0);
    EXPECT_FALSE(center->testQuery->runningEnable.load());
    EXPECT_TRUE(waitFor([this] { return gui.hasText(utf8("停止测试\n")); }));

    // With the run over, the selection is what counts again.
    EXPECT_TRUE(waitFor([this] { return center->testTestor->activeTestType() == ControllerTestor::TEST_NONE; }));
    EXPECT_FALSE(center->testTestor->runEnable.load());
    EXPECT_EQ(center->testQuery->runTestType(), ControllerTestor::TEST_NONE);
}

TEST_F(EngineTest, FailedConfigurationSendKeepsThePollingGoing)
{
    startPolling();
    ASSERT_TRUE(waitFor([this] { return gui.count(ControllerRuntime::DATA_TYPE_RT_BI, -1) >= 1; }));

    // The link fails (with short time-outs) while the configuration is sent;
    // it is mended however the wait ends, so that the engine can stop.
    drv_mcasp_set_poll_limits(2000, 2000, 2000);
    sim->setLinkFault(zorsim::LinkFault::NeverReady);
    {
        const auto mend = qScopeGuard([this] {
            sim->setLinkFault(zorsim::LinkFault::None);
            drv_mcasp_reset_poll_limits();
        });
        center->testConfig();
        ASSERT_TRUE(waitFor([this] { return center->testConfiguration->lastTestConfigResult() != 0; }));
    }

    EXPECT_TRUE(center->testQuery->initFinishEnable.load());
    sim->setBinaryInput(2, true);
    ASSERT_TRUE(waitFor([this] { return runtime([](ControllerRuntime& rt) { return rt.BI[2]; }) == 1; }));
    EXPECT_TRUE(center->testConfiguration->initDriverEnable.load());
}

TEST_F(EngineTest, EveryNoticeIsRelayedToTheGuiThreadOnceAndInOrder)
{
    // The store's own emissions, taken on its thread (the log outlives the engine's threads).
    auto log = std::make_shared<enginetest::NoticeLog>();
    enginetest::NoticeLog& source = *log;
    QObject::connect(
        center->testRuntime, &ControllerRuntime::sigUpdateDataToView, center->testRuntime,
        [log](qint32 type, qint32 sub) { log->add(type, sub); }, Qt::DirectConnection);
    QObject::connect(
        center->testRuntime, &ControllerRuntime::sigUpdateSOEToView, center->testRuntime,
        [log](const QString& text) { log->addText(text); }, Qt::DirectConnection);

    startPolling();
    for (int i = 0; i < 4; ++i) {
        sim->setBinaryInput(i % 2, i < 2);
        const size_t texts = size_t(i + 1);
        ASSERT_TRUE(waitFor([&] { return gui.allTexts().size() >= texts; }));
    }
    ASSERT_TRUE(waitFor([&] { return gui.all().size() >= 20; }));

    // What the GUI thread has seen is exactly what the store emitted, in
    // order (the store's own log is written just after each relay is queued).
    const std::vector<Notice> seen = gui.all();
    const std::vector<QString> seenTexts = gui.allTexts();
    ASSERT_TRUE(
        waitFor([&] { return source.all().size() >= seen.size() && source.allTexts().size() >= seenTexts.size(); }));
    const std::vector<Notice> emitted = source.all();
    EXPECT_TRUE(isPrefix(seen, emitted));
    for (QThread* t : gui.allThreads())
        ASSERT_EQ(t, QThread::currentThread());
    for (QThread* t : source.allThreads())
        ASSERT_EQ(t, center->runtimeThread);
    const std::vector<QString> emittedTexts = source.allTexts();
    ASSERT_LE(seenTexts.size(), emittedTexts.size());
    EXPECT_TRUE(std::equal(seenTexts.begin(), seenTexts.end(), emittedTexts.begin()));
}
