// The battery worker on its own thread, polling a simulated pack on a
// pseudo-terminal. The product's waits run 20 times faster; every wait in
// the tests is on a condition.

#include "CommDriverData.h"
#include "ControllerBattery.h"
#include "ModelBatteryEntity.h"
#include "SimBatteryPack.h"
#include "driverbase_battery.h"
#include "zoplatform.h"
#include "zoplatform_control_host.h"

#include <gtest/gtest.h>

#include <QMetaObject>
#include <QMutex>
#include <QThread>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

using zorsim::SimBatteryPack;

namespace {

constexpr double kTimeScale = 0.05;

bool waitUntil(const std::function<bool()>& condition, int deadlineMs = 60000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(deadlineMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

struct StateReport
{
    qint32 charging;
    qint32 capacity;
};

class BatteryController : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zoplat::host::reset();
        zoplat::setTimeScale(kTimeScale);
        saved = {globalConfigureSoftData, globalTestStatusData, globalBatteryInfoData};
        globalConfigureSoftData = &soft;
        globalTestStatusData = &status;
        globalBatteryInfoData = &info;

        QObject::connect(&battery, &ControllerBattery::sigUpdateBatteryState, &battery,
                         [this](qint32 charging, qint32 capacity) {
                             QMutexLocker lock(&logMutex);
                             states.push_back({charging, capacity});
                         }, Qt::DirectConnection);
        QObject::connect(&battery, &ControllerBattery::sigUpdateBatteryInfo, &battery,
                         [this](const ModelBatteryEntity& e) {
                             QMutexLocker lock(&logMutex);
                             infos.push_back(e.clone());
                         }, Qt::DirectConnection);
        battery.moveToThread(&thread);
        thread.start();
    }

    void TearDown() override
    {
        battery.doQueryInterrupt();
        EXPECT_TRUE(waitUntil([this] { return !battery.isQueryRunning(); }));
        thread.quit();
        thread.wait();
        batteryUartRelease();
        qDeleteAll(infos);
        globalConfigureSoftData = std::get<0>(saved);
        globalTestStatusData = std::get<1>(saved);
        globalBatteryInfoData = std::get<2>(saved);
        zoplat::host::reset();
    }

    void startPack(SimBatteryPack& pack)
    {
        ASSERT_TRUE(pack.isOpen());
        soft.batteryType = pack.protocol() == SimBatteryPack::Protocol::Binary ? 0 : 1;
        zoplat::host::setBatterySerialDevice(pack.slavePath());
        pack.start();
    }

    void startLoop()
    {
        QMetaObject::invokeMethod(&battery, "doQueryStart", Qt::QueuedConnection);
        ASSERT_TRUE(waitUntil([this] { return battery.isQueryRunning(); }));
    }

    int stateCount() const
    {
        QMutexLocker lock(&logMutex);
        return int(states.size());
    }
    int infoCount() const
    {
        QMutexLocker lock(&logMutex);
        return int(infos.size());
    }
    StateReport lastState() const
    {
        QMutexLocker lock(&logMutex);
        return states.back();
    }
    ModelBatteryEntity lastInfo() const
    {
        QMutexLocker lock(&logMutex);
        return ModelBatteryEntity(*infos.back());
    }

    CommDriverConfigureSoftData soft;
    CommDriverTestStatusData status;
    CommDriverBatteryInfoData info;
    std::tuple<CommDriverConfigureSoftData*, CommDriverTestStatusData*, CommDriverBatteryInfoData*> saved;

    ControllerBattery battery;
    QThread thread;
    mutable QMutex logMutex;
    std::vector<StateReport> states;
    std::vector<ModelBatteryEntity*> infos;
};

} // namespace

TEST_F(BatteryController, ReportsChargeAndDetailsOnlyWhenTheyChange)
{
    SimBatteryPack pack(SimBatteryPack::Protocol::Binary);
    SimBatteryPack::State s;
    s.stateOfCharge = 53;
    s.currentMa = 2500;
    pack.setState(s);
    startPack(pack);
    startLoop();

    ASSERT_TRUE(waitUntil([this] { return stateCount() == 1 && infoCount() == 1; }));
    EXPECT_EQ(lastState().charging, 1);
    EXPECT_EQ(lastState().capacity, 50);   // 100 x (53 - 5) / 95
    EXPECT_EQ(lastInfo().infoVoltageTotal, s.voltageMv);
    EXPECT_EQ(lastInfo().infoCurrent, 2500);
    EXPECT_EQ(lastInfo().infoCapacityPercent, 50);
    EXPECT_TRUE(battery.initEnable);

    // Identical readings report nothing more.
    const int readsSoFar = pack.requestCount(SimBatteryPack::Request::Basic);
    ASSERT_TRUE(waitUntil([&] { return pack.requestCount(SimBatteryPack::Request::Basic) >= readsSoFar + 2; }));
    EXPECT_EQ(stateCount(), 1);
    EXPECT_EQ(infoCount(), 1);

    // A new charge is reported, with the new details.
    s.stateOfCharge = 100;
    s.currentMa = -800;
    pack.setState(s);
    ASSERT_TRUE(waitUntil([this] { return stateCount() == 2 && infoCount() == 2; }));
    EXPECT_EQ(lastState().charging, 0);
    EXPECT_EQ(lastState().capacity, 100);
    EXPECT_EQ(lastInfo().infoCurrent, -800);

    // Cell voltages only once asked for.
    EXPECT_EQ(pack.requestCount(SimBatteryPack::Request::Cells), 0);
    s.cellsMv = {3600, 3720, 3650};
    pack.setState(s);
    battery.doQueryInfoEnable(true);
    ASSERT_TRUE(waitUntil([&] {
        return pack.requestCount(SimBatteryPack::Request::Cells) > 0 && lastInfo().infoVoltageMax == 3720;
    }));
    EXPECT_EQ(lastInfo().infoVoltageMin, 3600);
    EXPECT_EQ(pack.interleavedRequests(), 0);
}

TEST_F(BatteryController, RetriesAPortThatCannotBeOpened)
{
    SimBatteryPack pack(SimBatteryPack::Protocol::Ascii);
    soft.batteryType = 1;
    zoplat::host::setBatterySerialDevice(QString(pack.slavePath()) + "-missing");
    startLoop();
    // A few cycles pass with the port failing to open (each cycle logs it).
    const int64_t t0 = zoplat::monotonicMs();
    ASSERT_TRUE(waitUntil([&] { return zoplat::monotonicMs() - t0 > 5000; }));
    EXPECT_FALSE(battery.initEnable);
    EXPECT_EQ(stateCount(), 0);

    startPack(pack);   // the port appears
    ASSERT_TRUE(waitUntil([this] { return stateCount() == 1; }));
    EXPECT_TRUE(battery.initEnable);
    EXPECT_EQ(lastState().capacity, 78);   // 100 x (80 - 5) / 95
}

// The facade's battery save: pause the loop with the port left open, send the
// output switch, poll again on the same port.
TEST_F(BatteryController, StopSwitchRestart)
{
    SimBatteryPack pack(SimBatteryPack::Protocol::Binary);
    startPack(pack);
    startLoop();
    ASSERT_TRUE(waitUntil([this] { return stateCount() == 1 && infoCount() == 1; }));

    battery.doQueryStop();
    ASSERT_TRUE(waitUntil([this] { return !battery.isQueryRunning(); }));
    EXPECT_TRUE(battery.initEnable);
    const int readsWhilePaused = pack.requestCount(SimBatteryPack::Request::Basic);

    status.statusBatteryMOSState = 1;   // discharge switch off
    ASSERT_EQ(driverBaseWriteBatteryState(), 0);
    ASSERT_EQ(pack.switchCommands().size(), 1);
    EXPECT_EQ(pack.switchCommands().at(0),
              SimBatteryPack::binaryFrame(0x5A, 0xE1, QByteArray::fromHex("0001")));
    EXPECT_EQ(pack.requestCount(SimBatteryPack::Request::Basic), readsWhilePaused);

    // The restart reports the first reading again, on the port kept open.
    startLoop();
    ASSERT_TRUE(waitUntil([this] { return stateCount() == 2 && infoCount() == 2; }));
    EXPECT_EQ(lastInfo().infoFETState, 1);
    EXPECT_EQ(pack.interleavedRequests(), 0);

    // An interrupt ends the loop and closes the port.
    battery.doQueryInterrupt();
    ASSERT_TRUE(waitUntil([this] { return !battery.isQueryRunning(); }));
    EXPECT_FALSE(battery.initEnable);
    EXPECT_NE(driverBaseWriteBatteryState(), 0);
}

// A stop or an interrupt ends the loop's sleep at once, however long the
// sleep lasts in real time.
TEST_F(BatteryController, StopAndInterruptEndTheSleepAtOnce)
{
    zoplat::setTimeScale(1000.0);   // each 1 s sleep of a cycle lasts 1000 s
    for (auto end : {&ControllerBattery::doQueryInterrupt, &ControllerBattery::doQueryStop}) {
        startLoop();
        (battery.*end)();
        EXPECT_TRUE(waitUntil([this] { return !battery.isQueryRunning(); }, 10000));
    }
}

// The read interval runs on the monotonic clock: while it stands still no
// further read is made, whatever the wall clock does.
TEST_F(BatteryController, ReadIntervalFollowsTheMonotonicClock)
{
    std::atomic<int64_t> monotonic{1000000};
    zoplat::setMonotonicClock([&monotonic] { return monotonic.load(); });
    std::atomic<int> naps{0};
    zoplat::setSleeper([&naps](int64_t ms) {
        ++naps;
        std::this_thread::sleep_for(std::chrono::microseconds(ms * 1000 / 20));
    });
    SimBatteryPack pack(SimBatteryPack::Protocol::Binary);
    startPack(pack);
    startLoop();
    ASSERT_TRUE(waitUntil([this] { return stateCount() == 1; }));
    const int reads = pack.requestCount(SimBatteryPack::Request::Basic);

    zoplat::setSystemTime(zoplat::systemTimeMs() / 1000 + 3600);   // the wall clock jumps
    const int napsNow = naps;
    ASSERT_TRUE(waitUntil([&] { return naps > napsNow + 200; }));   // several cycles
    EXPECT_EQ(pack.requestCount(SimBatteryPack::Request::Basic), reads);

    monotonic += 1000;
    ASSERT_TRUE(waitUntil([&] { return pack.requestCount(SimBatteryPack::Request::Basic) > reads; }));
    battery.doQueryInterrupt();
    ASSERT_TRUE(waitUntil([this] { return !battery.isQueryRunning(); }));
}

TEST(ModelBatteryEntity, CompareCopyAndClone)
{
    using Field = std::function<void(ModelBatteryEntity&)>;
    const std::vector<Field> changes = {
        [](ModelBatteryEntity& e) { e.infoVoltageTotal = 1; },   [](ModelBatteryEntity& e) { e.infoCurrent = -1; },
        [](ModelBatteryEntity& e) { e.infoVoltageAverage = 1; }, [](ModelBatteryEntity& e) { e.infoVoltageMax = 1; },
        [](ModelBatteryEntity& e) { e.infoVoltageMin = 1; },     [](ModelBatteryEntity& e) { e.infoVoltageDiff = 1; },
        [](ModelBatteryEntity& e) { e.infoLoopCount = 1; },      [](ModelBatteryEntity& e) { e.infoRateCapacity = 1; },
        [](ModelBatteryEntity& e) { e.infoResidualCapCapacity = 1; },
        [](ModelBatteryEntity& e) { e.infoBalanceState = 0x10000; },
        [](ModelBatteryEntity& e) { e.infoProtectedState = 1; }, [](ModelBatteryEntity& e) { e.infoSoftVersion = 1; },
        [](ModelBatteryEntity& e) { e.infoCapacityPercent = 1; }, [](ModelBatteryEntity& e) { e.infoFETState = 1; },
        [](ModelBatteryEntity& e) { e.infoProduceDate = 1; },
    };
    ModelBatteryEntity all;
    for (size_t i = 0; i < changes.size(); ++i) {
        ModelBatteryEntity a;
        ModelBatteryEntity b;
        EXPECT_FALSE(a.CompareFrom(b));
        changes[i](b);
        changes[i](all);
        EXPECT_TRUE(a.CompareFrom(b)) << "field " << i;
        a.copyFrom(b);
        EXPECT_FALSE(a.CompareFrom(b)) << "field " << i;
    }
    std::unique_ptr<ModelBatteryEntity> copy(all.clone());
    EXPECT_FALSE(copy->CompareFrom(all));
    EXPECT_EQ(copy->parent(), nullptr);
}
