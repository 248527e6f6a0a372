#include "ControllerBattery.h"

#include "CommDriverData.h"
#include "driverbase_battery.h"
#include "zoplatform.h"

#include <QDebug>

#include <cstdlib>

namespace {

constexpr int64_t kCycleSleepMs = 1000;   // each of the two sleeps of one cycle
constexpr int64_t kStopWaitMs = 1000;     // doQueryStop waits at most this for the loop
// Under a test's sleeper the waits are naps of these lengths.
constexpr int64_t kCycleNapMs = 50;
constexpr int64_t kStopNapMs = 10;

// Fills an entity from the driver's battery record.
void readEntity(ModelBatteryEntity& e, const CommDriverBatteryInfoData& d)
{
    e.infoVoltageTotal = d.infoVoltageTotal;
    e.infoCurrent = d.infoCurrent;
    e.infoVoltageAverage = d.infoVoltageAverage;
    e.infoVoltageMax = d.infoVoltageMax;
    e.infoVoltageMin = d.infoVoltageMin;
    e.infoVoltageDiff = d.infoVoltageDiff;
    e.infoLoopCount = d.infoLoopCount;
    e.infoRateCapacity = d.infoRateCapacity;
    e.infoResidualCapCapacity = d.infoResidualCapCapacity;
    e.infoBalanceState = d.infoBalanceState;
    e.infoProtectedState = d.infoProtectedState;
    e.infoSoftVersion = d.infoSoftVersion;
    e.infoCapacityPercent = d.infoCapacityPercent;
    e.infoFETState = d.infoFETState;
    e.infoProduceDate = d.infoProduceDate;
}

} // namespace

ControllerBattery::ControllerBattery(QObject* parent)
    : QObject(parent), wakeup(kCycleNapMs), loopEnd(kStopNapMs)
{
}

ControllerBattery::~ControllerBattery()
{
    if (initEnable) {
        driverBaseBatteryRelease();
        initEnable = false;
        infoEnable = false;
    }
}

void ControllerBattery::doQueryStart()
{
    qDebug() << "doQueryBATStart BWGIN ";
    loopRunning = true;
    queryEnable = true;
    stopEnable = false;
    qint32 lastCharging = -1;
    qint32 lastCapacity = -1;
    bool haveLastRead = false;
    int64_t lastReadMs = 0;
    ModelBatteryEntity current;

    // One second, ended at once when the loop is stopped or interrupted.
    const std::function<bool()> stopped = [this] { return !queryEnable; };
    auto sleepWhileQuerying = [&] { wakeup.sleepMs(kCycleSleepMs, stopped); };

    while (queryEnable) {
        sleepWhileQuerying();
        sleepWhileQuerying();

        if (!initEnable) {
            if (driverBaseBatteryInit() == 0) {
                initEnable = true;
            } else {
                driverBaseBatteryRelease();
                initEnable = false;
            }
            lastCharging = -1;
            lastCapacity = -1;
        }
        if (!initEnable || !queryEnable)
            continue;

        const int64_t now = zoplat::monotonicMs();
        if (haveLastRead && std::llabs(now - lastReadMs) < queryBatteryIntervalTime)
            continue;

        if (driverBaseReadBatteryState(infoEnable) != 0) {
            lastCharging = -1;
            lastCapacity = -1;
        } else if (globalTestStatusData && globalBatteryInfoData) {
            const qint32 charging = globalTestStatusData->statusBatteryChargingState;
            const qint32 capacity = globalTestStatusData->statusBatteryCapacityPercent;
            if (lastCharging == -1 || lastCapacity == -1 || charging != lastCharging || capacity != lastCapacity) {
                lastCharging = charging;
                lastCapacity = capacity;
                emit sigUpdateBatteryState(charging, capacity);
            }
            ModelBatteryEntity read;
            readEntity(read, *globalBatteryInfoData);
            if (read.CompareFrom(current)) {
                current.copyFrom(read);
                emit sigUpdateBatteryInfo(current);
            }
        }
        haveLastRead = true;
        lastReadMs = now;
    }

    if (initEnable && !stopEnable) {
        driverBaseBatteryRelease();
        initEnable = false;
    }
    {
        // Whoever sees the loop ended (isQueryRunning) sees the wake-up done.
        std::lock_guard<std::mutex> lock(endMutex);
        loopRunning = false;
        loopEnd.wake();
    }
    qDebug() << "doQueryBATStart end";
}

void ControllerBattery::doQueryInterrupt()
{
    stopEnable = false;
    queryEnable = false;
    wakeup.wake();
}

void ControllerBattery::doQueryStop()
{
    stopEnable = true;
    queryEnable = false;
    wakeup.wake();
    // Give the loop time to leave (it ends at once unless it is inside a
    // serial exchange, which the port's own lock serialises anyway).
    loopEnd.sleepMs(kStopWaitMs, [this] { return !loopRunning; });
}

void ControllerBattery::doQueryInfoEnable(bool enable)
{
    infoEnable = enable;
}
