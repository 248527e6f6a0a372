#pragma once

// The battery worker: lives on the engine's battery thread and stays inside
// doQueryStart while it polls the pack on its serial port (about one read
// every 2 s). Reports the charging state and capacity, and the pack's
// details when they change. The facade stops (pauses, port kept open) and
// interrupts (port closed) the loop from other threads.

#include "ModelBatteryEntity.h"
#include "zoplatform.h"

#include <QObject>

#include <atomic>
#include <mutex>

class ControllerBattery : public QObject
{
    Q_OBJECT

public:
    explicit ControllerBattery(QObject* parent = nullptr);
    ~ControllerBattery() override;

    // Flags shared between the polling loop and its callers' threads.
    std::atomic<bool> queryEnable{false};   // the loop runs
    std::atomic<bool> initEnable{false};    // the port is open
    qint32 queryBatteryIntervalTime = 1000; // ms between reads, at least
    std::atomic<bool> stopEnable{false};    // pause: keep the port open when the loop ends
    std::atomic<bool> infoEnable{false};    // also read the cell voltages

    // True while doQueryStart is inside its loop.
    bool isQueryRunning() const
    {
        std::lock_guard<std::mutex> lock(endMutex);
        return loopRunning.load();
    }

public slots:
    void doQueryStart();
    void doQueryInterrupt();
    void doQueryStop();
    void doQueryInfoEnable(bool enable);

signals:
    void sigUpdateBatteryState(qint32 charging, qint32 capacity);
    void sigUpdateBatteryInfo(const ModelBatteryEntity& info);

private:
    std::atomic<bool> loopRunning{false};
    zoplat::Wakeup wakeup;    // ends the loop's sleeps on a stop or interrupt
    zoplat::Wakeup loopEnd;   // ends doQueryStop's wait when the loop has ended
    mutable std::mutex endMutex;
};
