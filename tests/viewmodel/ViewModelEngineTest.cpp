// The system view model against the real engine and the simulated
// instrument. Every TEST runs in a process of its own (see EngineFixture.h).

#include "../configuration/ConfigTestSupport.h"
#include "../engine/EngineFixture.h"
#include "ViewModelTestSupport.h"

#include "SimBatteryPack.h"

#include <QDeadlineTimer>
#include <QDomDocument>
#include <QEventLoop>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

using enginetest::waitFor;
using vmtest::ModuleTestModel;
using vmtest::utf8;

namespace {

class ViewModelEngine : public EngineTest
{
protected:
    // True once the testor has handled everything queued to it so far.
    bool testorDone()
    {
        auto done = std::make_shared<std::atomic<bool>>(false);
        QMetaObject::invokeMethod(center->testTestor, [done] { done->store(true); }, Qt::QueuedConnection);
        return waitFor([done] { return done->load(); });
    }

    // Starts an AC run with these currents on IA..IC and waits until it runs.
    void startRun(ModuleTestModel& vm, double ia, double ib = 0.0, double ic = 0.0)
    {
        vm.ranges[4] = ia;
        vm.ranges[5] = ib;
        vm.ranges[6] = ic;
        vm.testActive();
        ASSERT_TRUE(vm.testStart());
        ASSERT_TRUE(waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 1; }));
    }

    void stopRun(ModuleTestModel& vm)
    {
        vm.testInterrupt();
        ASSERT_TRUE(waitFor([&] {
            return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 0 && state(ControllerRuntime::STATE_TYPE_POWERED) == 0;
        }));
    }

    int indexOf(const QStringList& list, const QString& item) { return list.indexOf(item); }
};

} // namespace

TEST_F(ViewModelEngine, HooksRunInOrderAndTheMirrorFollowsTheInstrument)
{
    startPolling();
    ModuleTestModel vm;
    std::vector<int> stateIndexes;
    QObject::connect(&vm, &ViewBaseModel::sigUpdateStateIndexToView, [&](int i) { stateIndexes.push_back(i); });

    vm.testActive();
    EXPECT_EQ(vm.hooks, (QStringList{"doTestActive", "doUpdateVMToEnt(0)"}));
    EXPECT_EQ(vm.getTestActiveType(), ViewBaseModel::TEST_ALTERNATE);

    // Binary outputs go to the instrument and come back as read.
    vm.setBOState(1, 1);
    vm.setBOState(3, 1);
    ASSERT_TRUE(waitFor([&] { return (sim->peekRegister(0x833C) & 0x000A) == 0x000A; }));
    ASSERT_TRUE(waitFor([&] { return vm.getBOState(1) && vm.getBOState(3) && !vm.getBOState(0); }));
    sim->setBinaryInput(2, true);
    ASSERT_TRUE(waitFor([&] { return vm.getBIState(2); }));
    EXPECT_FALSE(vm.getBIState(0));

    vm.hooks.clear();
    vm.ranges[4] = 1.0;
    ASSERT_TRUE(vm.testStart());
    EXPECT_EQ(vm.hooks, QStringList{"doUpdateVMToEnt(8)"});
    ASSERT_TRUE(waitFor([&] { return vm.hooks.contains("doSwitchToStartState"); }));
    EXPECT_LT(indexOf(vm.hooks, "doUpdateEntToVM(3,1)"), indexOf(vm.hooks, "doSwitchToStartState"));
    EXPECT_EQ(vm.getState(ViewBaseModel::STATE_TYPE_RUNNING), 1);
    ASSERT_TRUE(waitFor([&] { return !stateIndexes.empty(); }));
    EXPECT_EQ(stateIndexes.front(), 0);
    ASSERT_TRUE(waitFor([&] { return vm.events.filter(utf8("开始输出")).size() == 1; }));

    stopRun(vm);
    EXPECT_GT(indexOf(vm.hooks, "doSwitchToStopState"), indexOf(vm.hooks, "doSwitchToStartState"));
    EXPECT_FALSE(sim->playerStatus().running);
    vm.revertBoState();
    ASSERT_TRUE(waitFor([&] { return !vm.getBOState(1) && !vm.getBOState(3); }));
}

TEST_F(ViewModelEngine, AlarmsTemperaturesAndTheResumeThreshold)
{
    startPolling();
    ModuleTestModel vm;
    vm.setDeviceTResume(40);
    for (int s = 0; s < 4; ++s)
        sim->setTemperature(s, 35 + s);
    ASSERT_TRUE(waitFor([&] { return vm.getPowerT(3) == 38; }));
    EXPECT_EQ(vm.getPowerTMax(), 38);
    EXPECT_EQ(vm.getPowerTDetailText().left(20), utf8("电压功放: 35℃ ~ 36℃\n电流功放"));

    // Powered, the alarm word is read: IB is open but carries no current.
    startRun(vm, 1.0, 0.0);
    sim->setAlarmBits(0x0039);   // PV high input, LV high input, IA and IB open
    ASSERT_TRUE(waitFor([&] { return vm.getAlarmCount() == 3; }));
    EXPECT_EQ(vm.getAlarmText(), utf8("1.电压高压引入告警\r\n2.小信号高压引入告警\r\n3.电流IA开路告警\r\n"));
    EXPECT_EQ(vm.getAlarmLabel(), "!(3)");
    EXPECT_EQ(vm.getAlarm(ViewBaseModel::ALARM_TYPE_PIB_OPENED), 0);
    EXPECT_EQ(runtime([](ControllerRuntime& rt) { return rt.ALARM[5]; }), 1);
    stopRun(vm);

    // At the resume temperature nothing starts; one degree below it does.
    sim->setTemperature(3, 40);
    ASSERT_TRUE(waitFor([&] { return vm.getPowerTMax() == 40; }));
    EXPECT_FALSE(vm.getRunEnabled());
    EXPECT_FALSE(vm.testStart());
    ASSERT_TRUE(testorDone());
    QCoreApplication::processEvents();
    EXPECT_EQ(state(ControllerRuntime::STATE_TYPE_POWERED), 0);
    sim->setTemperature(3, 39);
    ASSERT_TRUE(waitFor([&] { return vm.getPowerTMax() == 39; }));
    ASSERT_TRUE(vm.testStart());
    ASSERT_TRUE(waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 1; }));
    stopRun(vm);
}

TEST_F(ViewModelEngine, RemoteControlLetsOnlyRealTimeDataThrough)
{
    startPolling();
    ModuleTestModel vm;
    std::vector<int> seen;
    QObject::connect(&vm, &ViewBaseModel::sigUpdateDataToView, [&](int type, int) { seen.push_back(type); });
    const auto count = [&](int type) { return int(std::count(seen.begin(), seen.end(), type)); };
    ASSERT_TRUE(waitFor([&] { return count(ViewBaseModel::DATA_TYPE_CLOCK_STATE) >= 1; }));

    vm.setConnectedEnabled(true);
    seen.clear();
    vm.hooks.clear();
    ASSERT_TRUE(waitForClockPasses(5));
    sim->setBinaryInput(1, true);
    ASSERT_TRUE(waitFor([&] { return count(ViewBaseModel::DATA_TYPE_RT_BI) >= 1 && vm.getBIState(1); }));
    ASSERT_TRUE(waitForClockPasses(3));
    QCoreApplication::processEvents();
    EXPECT_EQ(count(ViewBaseModel::DATA_TYPE_CLOCK_STATE), 0);
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int t) { return t >= 0 && t <= 5; }));
    EXPECT_TRUE(vm.hooks.filter("doUpdateEntToVM(12").isEmpty());

    vm.setConnectedEnabled(false);
    ASSERT_TRUE(vm.addPPXUtcTime(QStringLiteral("23:59:59"), 0, 1));   // a clock state the pages show
    ASSERT_TRUE(waitFor([&] { return count(ViewBaseModel::DATA_TYPE_CLOCK_STATE) >= 1; }));
}

// The polling loop reports the clock state three times a second; the pages
// hear of it once, and again only when what they show of it has changed.
TEST_F(ViewModelEngine, ClockNoticesReachThePagesWhenWhatTheyShowChanged)
{
    startPolling();
    ModuleTestModel vm;
    int notices = 0;
    QObject::connect(&vm, &ViewBaseModel::sigUpdateDataToView, [&](int type, int) {
        notices += type == ViewBaseModel::DATA_TYPE_CLOCK_STATE;
    });
    ASSERT_TRUE(waitFor([&] { return notices == 1; }));
    ASSERT_TRUE(waitForClockPasses(6));
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, 1);
    ASSERT_TRUE(vm.addPPXUtcTime(QStringLiteral("23:59:59"), 0, 1));
    ASSERT_TRUE(waitFor([&] { return notices == 2; }));
}

TEST_F(ViewModelEngine, LeavingTheCalibrationReloadsIt)
{
    startPolling();
    ModuleTestModel ac(ViewBaseModel::TEST_ALTERNATE);
    ModuleTestModel dc(ViewBaseModel::TEST_DIRECT);
    ModuleTestModel calibration(ViewBaseModel::TEST_CALIBRATION);
    ac.testActive();
    dc.testActive();
    ASSERT_TRUE(testorDone());
    ASSERT_TRUE(waitForClockPasses(2));
    EXPECT_EQ(state(ControllerRuntime::STATE_TYPE_CALLOADED), 0);

    calibration.testActive();
    calibration.testActive();   // staying in it reloads nothing
    ASSERT_TRUE(testorDone());
    ASSERT_TRUE(waitForClockPasses(2));
    EXPECT_EQ(state(ControllerRuntime::STATE_TYPE_CALLOADED), 0);

    ac.testActive();
    ASSERT_TRUE(waitFor([&] { return ac.getState(ViewBaseModel::STATE_TYPE_CALLOADED) == 1; }));
}

TEST_F(ViewModelEngine, SettingsAreSavedAndApplied)
{
    startPolling();
    ModuleTestModel vm;
    vm.setRateVRange(100.0);
    vm.setRateFrequency(60.0);
    vm.setDitherTime(0.02);
    vm.setLanuageType(ViewBaseModel::LANGUAGE_TYPE_PORTUGUESE);
    vm.setBeepEnabled(false);
    vm.setDeviceModel("ZOR-T1");
    vm.setDeviceCode("SN-42");
    vm.setDeviceAOILevelSmallRange(2.0);
    vm.setDeviceTAlarm(80);
    vm.setSuspendTime(123.9);
    vm.setBatteryConfig(0, 33);
    EXPECT_EQ(vm.getRateVRange(), 100.0);
    EXPECT_EQ(vm.getSuspendTime(), 123.0);
    vm.saveConfig(ViewBaseModel::CONFIG_TYPE_SOFTWARE_DATA, false);
    vm.saveConfig(ViewBaseModel::CONFIG_TYPE_HARDWARE_DATA, false);
    vm.saveBatteryConfig();
    const QString dat = QDir::currentPath() + "/dat/";
    ASSERT_TRUE(waitFor([&] {
        return QFile::exists(dat + "softinfo.xml") && QFile::exists(dat + "devinfo.xml")
            && QFile::exists(dat + "batteryinfo.xml");
    }));

    // What was written reads back into a fresh configuration.
    ControllerConfiguration fresh;
    fresh.loadSoftwareConfig();
    fresh.loadHardwareConfig();
    fresh.loadBatteryConfig();
    EXPECT_EQ(fresh.rateVoltage, 100.0);
    EXPECT_EQ(fresh.rateFrequency, 60.0);
    EXPECT_EQ(fresh.ditherTime, 0.02);
    EXPECT_EQ(fresh.lanuageType, ControllerConfiguration::LANGUAGE_TYPE_PORTUGUESE);
    EXPECT_FALSE(fresh.beepEnabled);
    EXPECT_EQ(fresh.suspendTime, 123u);
    EXPECT_EQ(fresh.deviceModel, "ZOR-T1");
    EXPECT_EQ(fresh.deviceCode, "SN-42");
    EXPECT_EQ(fresh.levelISmall, 2.0);
    EXPECT_EQ(fresh.tempThresholdAlarm, 80u);
    EXPECT_EQ(fresh.percentD1, 33);

    // The hardware page's checked save leaves the file alone.
    const QByteArray devinfo = sandbox.read(dat + "devinfo.xml");
    vm.setDeviceCode("SN-43");
    vm.saveConfig(ViewBaseModel::CONFIG_TYPE_HARDWARE_DATA, true);
    vm.saveConfig(ViewBaseModel::CONFIG_TYPE_SOFTWARE_DATA, false);
    auto flushed = std::make_shared<std::atomic<bool>>(false);
    QMetaObject::invokeMethod(center->testConfiguration, [flushed] { flushed->store(true); }, Qt::QueuedConnection);
    ASSERT_TRUE(waitFor([flushed] { return flushed->load(); }));
    EXPECT_EQ(sandbox.read(dat + "devinfo.xml"), devinfo);

    // The driver takes the new values on the next configuration.
    vm.testConfig();
    ASSERT_TRUE(waitFor([] {
        return globalConfigureSoftData && globalConfigureSoftData->ditherTime == 0.02f
            && globalConfigureHardData->maxIRange == 20.0f;
    }));
}

// Every setter of a stored setting writes while another thread saves the
// three settings files over and over and reads the ratings, one setter at a
// time (for the ThreadSanitizer stage: nothing orders the writes and the
// reads but the configuration's lock). Each setter waits for that lock,
// reaches its key, and the setters together reach every key the files hold.
TEST_F(ViewModelEngine, SettingsWrittenWhileOtherThreadsReadThemRaceNothing)
{
    using VM = ViewBaseModel;
    // Two values of each setting, by v = 0 or 1, stored differently.
    const struct
    {
        const char* key;
        std::function<void(VM&, int)> set;
    } setters[] = {
        {"DITHER_TIME", [](VM& vm, int v) { vm.setDitherTime(0.02 + 0.01 * v); }},
        {"RATE_VOLTAGE", [](VM& vm, int v) { vm.setRateVRange(100.0 + v); }},
        {"RATE_CURRENT", [](VM& vm, int v) { vm.setRateIRange(1.0 + v); }},
        {"RATE_FREQUENCY", [](VM& vm, int v) { vm.setRateFrequency(50.0 + 10 * v); }},
        {"SYSTEM_POWER_TYPE", [](VM& vm, int v) { vm.setDevicePowerAmpEnabled(v == 1); }},
        {"SUSPEND_TIME", [](VM& vm, int v) { vm.setSuspendTime(60.0 + v); }},
        {"BEEP_ENABLE", [](VM& vm, int v) { vm.setBeepEnabled(v == 1); }},
        {"STYLE_TYPE", [](VM& vm, int v) { vm.setSystemStyle(v); }},
        {"LANUAGE_TYPE", [](VM& vm, int v) { vm.setLanuageType(v); }},
        {"CLOCK_SYNC_ENABLED", [](VM& vm, int v) { vm.setClkSyncEnabled(v == 1); }},
        {"CLOCK_SOURCE", [](VM& vm, int v) { vm.setClockSource(v); }},
        {"TIME_ZONE", [](VM& vm, int v) { vm.setTimeZoneCurrentIndex(v); }},
        {"TIME_ZONE_OFFSET_MINUTES", [](VM& vm, int v) { vm.updateTimeZoneOffset(v * (vm.getTimeZoneCount() - 1)); }},
        {"DST_ENABLE", [](VM& vm, int v) { vm.setDSTEnabled(v == 1); }},
        {"EXT_TRIGGER_INPUT_TYPE", [](VM& vm, int v) { vm.setExtTriggerInputType(v); }},
        {"EXT_TRIGGER_INPUT_MODE", [](VM& vm, int v) { vm.setExtTriggerInputMode(v); }},
        {"EXT_TRIGGER_OUTPUT_TYPE", [](VM& vm, int v) { vm.setExtTriggerOutputType(v); }},
        {"EXT_TRIGGER_OUTPUT_MODE", [](VM& vm, int v) { vm.setExtTriggerOutputMode(v); }},
        {"DEVICE_MODEL", [](VM& vm, int v) { vm.setDeviceModel(QString("ZOR-%1").arg(v)); }},
        {"DEVICE_CODE", [](VM& vm, int v) { vm.setDeviceCode(QString("SN-%1").arg(v)); }},
        {"DEVICE_AO_MAX_V_RANGE", [](VM& vm, int v) { vm.setDeviceAOVMaxRange(265.0 + v); }},
        {"DEVICE_AO_MAX_I_RANGE", [](VM& vm, int v) { vm.setDeviceAOIMaxRange(10.0 - v); }},
        {"DEVICE_AO_LEVEL_V_SMALL", [](VM& vm, int v) { vm.setDeviceAOVLevelSmallRange(26.5 - v); }},
        {"DEVICE_AO_LEVEL_I_SMALL", [](VM& vm, int v) { vm.setDeviceAOILevelSmallRange(1.0 + v); }},
        {"DEVICE_AO_T_THRESHOLD_ALARM", [](VM& vm, int v) { vm.setDeviceTAlarm(70 + v); }},
        {"DEVICE_AO_T_THRESHOLD_RESUME", [](VM& vm, int v) { vm.setDeviceTResume(40 + v); }},
        {"DEVICE_VOLTAGE_PHASES_TYPE", [](VM& vm, int v) { vm.setVoltagePhasesType(v); }},
        {"DEVICE_CURRENT_PHASES_TYPE", [](VM& vm, int v) { vm.setCurrentPhasesType(v); }},
        {"DEVICE_AUXDC_ENABLE", [](VM& vm, int v) { vm.setDeviceAuxDCEnable(v == 1); }},
        {"DEVICE_AUXDC_TYPE", [](VM& vm, int v) { vm.setDeviceAuxDCType(v); }},
        {"DEVICE_AUXDC_LEVEL_TYPE", [](VM& vm, int v) { vm.setDeviceAuxDCLevelType(v); }},
        {"DEVICE_AUXDC_MAX", [](VM& vm, int v) { vm.setDeviceAuxDCMaxValue(350.0 + v); }},
        {"DEVICE_POWER_AMP_TYPE", [](VM& vm, int v) { vm.setDevicePowerAmpType(v); }},
        {"DEVICE_ENERGY_ENABLE", [](VM& vm, int v) { vm.setDeviceEnergyEnabled(v == 1); }},
        {"DEVICE_PAO_ON_ENABLE", [](VM& vm, int v) { vm.setDevicePaoOnEnabled(v == 1); }},
        {"PERCENT_D_1", [](VM& vm, int v) { vm.setBatteryConfig(0, 10 + v); }},
        {"PERCENT_D_2", [](VM& vm, int v) { vm.setBatteryConfig(1, 5 + v); }},
        {"PERCENT_D_3", [](VM& vm, int v) { vm.setBatteryConfig(2, 2 + v); }},
        {"PERCENT_D_4", [](VM& vm, int v) { vm.setBatteryConfig(3, v); }},
        {"PERCENT_D_5", [](VM& vm, int v) { vm.setBatteryConfig(4, 80 + v); }},
        {"CONTINUE_TIME", [](VM& vm, int v) { vm.setBatteryConfig(5, 5 + v); }},
        {"BATTERY_TYPE", [](VM& vm, int v) { vm.setBatteryType(v); }},
    };
    QFile::copy(ZOR_SOURCE_DIR "/resources/dat/CUSTOM_TIMEZONES.XML", "dat/CUSTOM_TIMEZONES.XML");
    startPolling();
    ModuleTestModel vm;
    ControllerConfiguration* config = center->testConfiguration;
    const auto save = [config] {
        config->saveSoftwareConfig();
        config->saveHardwareConfig(false);
        config->saveBatteryConfig();
    };
    // Every key of the three files and its text, as saved now.
    const auto saved = [&] {
        save();
        QMap<QString, QString> keys;
        for (const char* file : {"softinfo.xml", "devinfo.xml", "batteryinfo.xml"}) {
            QDomDocument doc;
            EXPECT_TRUE(doc.setContent(sandbox.read("app/dat/" + QString(file)))) << file;
            for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
                keys.insert(e.tagName(), e.text());
        }
        return keys;
    };

    QStringList reached;
    for (const auto& setter : setters) {
        SCOPED_TRACE(setter.key);
        // With the lock held here the setter cannot end (a text setting's
        // copy is not seen by ThreadSanitizer, the wait is).
        {
            std::atomic<bool> ended{false};
            config->mutex.lock();
            std::thread writer([&] {
                setter.set(vm, 1);
                ended = true;
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            const bool endedUnderLock = ended.load();
            config->mutex.unlock();
            writer.join();
            EXPECT_FALSE(endedUnderLock) << "written without the configuration's lock";
        }
        setter.set(vm, 0);
        const QString before = saved().value(setter.key);
        // Relaxed: the waits order nothing between the two threads.
        std::atomic<int> passes{0};
        std::atomic<bool> stop{false};
        std::thread reader([&] {
            while (!stop.load(std::memory_order_relaxed)) {
                save();
                (void)config->ratings();
                passes.fetch_add(1, std::memory_order_relaxed);
            }
        });
        const auto passed = [&passes](int n) {
            QDeadlineTimer deadline(enginetest::kDeadlineMs);
            while (passes.load(std::memory_order_relaxed) < n && !deadline.hasExpired())
                std::this_thread::yield();
            return passes.load(std::memory_order_relaxed) >= n;
        };
        EXPECT_TRUE(passed(1));
        for (int v : {1, 0, 1, 0, 1})
            setter.set(vm, v);
        EXPECT_TRUE(passed(passes.load(std::memory_order_relaxed) + 2));
        stop = true;
        reader.join();
        EXPECT_NE(saved().value(setter.key), before);
        reached << setter.key;
    }
    reached.sort();
    EXPECT_EQ(QStringList(saved().keys()), reached);
}

TEST_F(ViewModelEngine, RestartSavesStopsTheLoopsAndEndsTheEventLoopWith1024)
{
    startPolling();
    center->batteryStart();
    ASSERT_TRUE(waitFor([this] { return center->testBattery->isQueryRunning(); }));
    ModuleTestModel vm;
    vm.setLanuageType(ViewBaseModel::LANGUAGE_TYPE_RUSSIAN);
    vm.reboot();
    vm.reboot();   // asked twice, restarts once
    QEventLoop loop;
    EXPECT_EQ(loop.exec(), ViewBaseModel::EXEC_CODE_REBOOT);
    // The restart's wait is scaled down here: on a loaded machine the loops
    // and the queued save may finish just after it.
    EXPECT_TRUE(waitFor([this] { return !center->testQuery->isQueryRunning(); }));
    EXPECT_TRUE(waitFor([this] { return !center->testBattery->isQueryRunning(); }));
    EXPECT_TRUE(waitFor([] {
        ControllerConfiguration fresh;
        fresh.loadSoftwareConfig();
        return fresh.lanuageType == ControllerConfiguration::LANGUAGE_TYPE_RUSSIAN;
    }));
}

TEST_F(ViewModelEngine, StopDuringTheStartWindowCancelsTheStart)
{
    startPolling();
    ModuleTestModel vm;
    vm.ranges[4] = 1.0;
    vm.testActive();
    ASSERT_TRUE(vm.testStart());
    // Pressed while the amplifiers settle, before the run is reported: the
    // output never comes on.
    EXPECT_EQ(state(ControllerRuntime::STATE_TYPE_RUNNING), 0);
    vm.testInterrupt();

    ASSERT_TRUE(testorDone());
    ASSERT_TRUE(waitFor([&] {
        return state(ControllerRuntime::STATE_TYPE_RUNNING) == 0 && state(ControllerRuntime::STATE_TYPE_POWERED) == 0;
    }));
    EXPECT_FALSE(gui.hasText(utf8("开始输出")));
    EXPECT_FALSE(center->testTestor->runEnable.load());
    EXPECT_FALSE(sim->playerStatus().running);
    EXPECT_EQ(sim->peekRegister(reg::kPower), 0);

    // With nothing started or pending, a stop sends nothing.
    int interrupts = 0;
    QObject::connect(center, &ControllerCenter::sigTestInterrupt, &receiver, [&] { ++interrupts; });
    QCoreApplication::processEvents();
    vm.testInterrupt();
    EXPECT_EQ(interrupts, 0);
}

TEST_F(ViewModelEngine, BatteryDataComesFromThePack)
{
    zorsim::SimBatteryPack pack(zorsim::SimBatteryPack::Protocol::Binary);
    ASSERT_TRUE(pack.isOpen());
    zorsim::SimBatteryPack::State s;
    s.stateOfCharge = 53;
    s.currentMa = 2500;
    pack.setState(s);
    zoplat::host::setBatterySerialDevice(pack.slavePath());
    pack.start();
    startPolling();

    ModuleTestModel vm;
    for (int tick = 0; tick < 5; ++tick)   // the fifth tick starts the battery reads
        vm.loadBattery();
    ASSERT_TRUE(waitFor([&] { return vm.getBatteryPercent() == 50 && vm.getBatteryState() == 1; }));
    ASSERT_TRUE(waitFor([&] { return vm.getBatteryCurrent() == 2.5; }));
    // The pack's other answers come in frames of their own.
    EXPECT_TRUE(waitFor([&] {
        return vm.getBatteryVoltageTotal() == 16.8 && vm.getBatteryLoopCount() == 42
               && vm.getBatterySoftVersion() == "2.1" && vm.getBatteryProduceDate() == "2021-3-11"
               && vm.getBatteryProtectedState() == "0x0" && vm.getBatteryMosState() == 0;
    }));
    EXPECT_EQ(vm.getBatteryVoltageTotal(), 16.8);
    EXPECT_EQ(vm.getBatteryLoopCount(), 42);
    EXPECT_EQ(vm.getBatteryRateCap(), 10000);
    EXPECT_EQ(vm.getBatteryResiCap(), 8000);
    EXPECT_EQ(vm.getBatterySoftVersion(), "2.1");
    EXPECT_EQ(vm.getBatteryProduceDate(), "2021-3-11");
    EXPECT_EQ(vm.getBatteryFETState(), utf8("充电开/放电开"));
    EXPECT_EQ(vm.getBatteryProtectedState(), "0x0");
    EXPECT_EQ(vm.getBatteryMosState(), 0);
    vm.loadBattery();
    EXPECT_EQ(vm.getBatteryPDType(), ViewBaseModel::BAT_PD_TYPE_NONE);   // charging

    // On battery at a low charge the class follows.
    s.currentMa = -900;
    s.stateOfCharge = 20;   // 100 x (20 - 5) / 95 = 15 %
    pack.setState(s);
    ASSERT_TRUE(waitFor([&] { return vm.getBatteryPercent() == 15 && vm.getBatteryState() == 0; }));
    vm.setBatteryConfig(0, 30);
    vm.setBatteryConfig(1, 20);
    vm.setBatteryConfig(2, 10);
    vm.setBatteryConfig(3, 5);
    vm.loadBattery();
    EXPECT_EQ(vm.getBatteryPDType(), ViewBaseModel::BAT_PD_TYPE_FIVE_ON);
}

TEST_F(ViewModelEngine, LowBatteryStopsARunOncePerTick)
{
    startPolling();
    ModuleTestModel vm;
    vm.setBatteryConfig(0, 30);
    vm.setBatteryConfig(1, 20);
    vm.setBatteryConfig(2, 10);
    vm.setBatteryConfig(3, 5);
    vm.setBatteryConfig(4, 95);
    int interrupts = 0;
    QObject::connect(center, &ControllerCenter::sigTestInterrupt, &receiver, [&] { ++interrupts; });
    const auto report = [&](int percent) {
        QMetaObject::invokeMethod(center->testRuntime, "updateBatteryState", Qt::QueuedConnection, Q_ARG(qint32, 0),
                                  Q_ARG(qint32, percent));
        return waitFor([&] { return vm.getBatteryPercent() == percent; });
    };

    startRun(vm, 3.0);
    ASSERT_TRUE(report(25));
    vm.loadBattery();
    EXPECT_EQ(vm.getBatteryPDType(), ViewBaseModel::BAT_PD_TYPE_TEN_ON);   // 3 A may go on at 25 %
    EXPECT_EQ(interrupts, 0);

    ASSERT_TRUE(report(15));
    vm.loadBattery();
    for (int i = 0; i < 6; ++i)   // the window asks once for each class it shows
        EXPECT_EQ(vm.getBatteryPDType(), ViewBaseModel::BAT_PD_TYPE_FIVE_OFF);
    EXPECT_EQ(interrupts, 1);
    ASSERT_TRUE(waitFor([&] { return vm.getState(ViewBaseModel::STATE_TYPE_RUNNING) == 0; }));
}

TEST_F(ViewModelEngine, LargeCurrentsGetATimeLimit)
{
    startPolling();
    ModuleTestModel vm;
    vm.setDeviceAOILevelSmallRange(4.0);   // 40 A full scale for the driver
    vm.testConfig();
    EXPECT_EQ(vm.updateMaxBigCurrentContinueTime(), -1.0);

    startRun(vm, 12.9);
    EXPECT_EQ(vm.updateMaxBigCurrentContinueTime(), 84.0);
    struct Step
    {
        double current;
        double seconds;
    };
    // The highest current of the stretch sets the limit; below 12 A it ends.
    const Step steps[] = {{20.0, 60.0}, {13.0, 60.0}, {10.0, 0.0}, {15.0, 75.0}};
    for (const Step& step : steps) {
        vm.ranges[4] = step.current;
        vm.updateVMToEnt(ViewBaseModel::DATA_TYPE_TEST_OUTPUTVI, -1, true);
        ASSERT_TRUE(waitFor([&] { return center->testTestor->getTestCurrentMax() == step.current; }));
        EXPECT_EQ(vm.updateMaxBigCurrentContinueTime(), step.seconds) << step.current << " A";
    }
    stopRun(vm);
    EXPECT_EQ(vm.updateMaxBigCurrentContinueTime(), -1.0);
    EXPECT_EQ(center->testTestor->historyMaxCurrent.load(), 0);
}

// What the reads at start-up found damaged is told once: a configuration file
// that is no XML document, and the calibration files a full load could not
// read, whose values run on the defaults.
TEST_F(ViewModelEngine, DamagedFilesReadAtStartAreToldOnce)
{
    sandbox.write("app/dat/softinfo.xml", "not a document");
    sandbox.write("app/dat/calacamp.xml", "<root><AHEAD>");
    MessageCapture log;
    ViewBaseModel early;   // there while the files are read
    int signalled = 0;
    QObject::connect(&early, &ViewBaseModel::sigStartupNotice, [&] { ++signalled; });
    // Taken as no file: a first start's English.
    EXPECT_EQ(center->testConfiguration->loadStartupConfig(), ControllerConfiguration::LANGUAGE_TYPE_ENGLISH);
    center->initiate();
    ASSERT_TRUE(waitFor([&] { return signalled > 0; }));
    ASSERT_TRUE(testorDone());
    // The settings' load has ended (its damage is noted before it reads on).
    ASSERT_TRUE(waitFor([&] {
        return gui.count(ControllerRuntime::DATA_TYPE_SYSTEM_CONFIG, ControllerConfiguration::CONFIG_TYPE_SOFTWARE_DATA) > 0;
    }));
    const QString told = utf8("配置文件 softinfo.xml 无法读取，其中的设置按默认值运行；原文件予以保留。\n"
                              "以下校准文件已损坏，无法读取的校准系数按默认值运行：calacamp.xml");
    EXPECT_EQ(early.takeStartupNotice(), told);
    EXPECT_EQ(early.takeStartupNotice(), "");
    ViewBaseModel late;   // made after the reads
    EXPECT_EQ(late.takeStartupNotice(), told);

    // Read again (the calibration at driver initialisation, the settings page): nothing new.
    signalled = 0;
    const int configReports = gui.count(ControllerRuntime::DATA_TYPE_SYSTEM_CONFIG, 0);
    center->loadCal(ModelCalibrationEntity::CAL_TYPE_ALL);
    center->loadConfig(ControllerConfiguration::CONFIG_TYPE_SOFTWARE_DATA);
    ASSERT_TRUE(testorDone());
    ASSERT_TRUE(waitFor([&] { return gui.count(ControllerRuntime::DATA_TYPE_SYSTEM_CONFIG, 0) > configReports; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(signalled, 0);
    EXPECT_EQ(early.takeStartupNotice(), "");

    // The log says what each kind of load did with the damaged file, once.
    EXPECT_EQ(log.warnings().filter("is damaged; what could not be read of it runs on the defaults").size(), 1);
    EXPECT_FALSE(log.anyWarningContains("kept its previous values"));
    center->loadCal(ModelCalibrationEntity::CAL_TYPE_ACAMP);
    ASSERT_TRUE(testorDone());
    EXPECT_TRUE(log.anyWarningContains("calacamp.xml (kind 1) is damaged; what could not be read of it kept its previous values"));
}
