#pragma once

// The engine's record of the instrument's live state: device states, alarms,
// binary outputs and inputs, temperatures and fan, auxiliary DC, battery,
// clock synchronisation, and the newest events.
//
// Lives on the runtime thread and is written only through its slots (queued
// from the other workers). Every public field but SOE is written under
// dataMutex, SOE under soeMutex; the two are never held together. Each
// change is announced with sigUpdateDataToView(dataType, subType) after the
// lock is released, so a listener may take the lock while it is notified.

#include "CommSOEEntity.h"
#include "ModelBatteryEntity.h"

#include <QList>
#include <QMutex>
#include <QObject>

class ControllerRuntime : public QObject
{
    Q_OBJECT

public:
    enum DATAType : qint32 {
        DATA_TYPE_RT_BO = 0,
        DATA_TYPE_RT_BI = 1,
        DATA_TYPE_RT_ALARM = 2,
        DATA_TYPE_RT_STATE = 3,
        DATA_TYPE_RT_TEMP = 4,
        DATA_TYPE_RT_BATTERY = 5,
        DATA_TYPE_TEST_OUTPUTVI = 6,
        DATA_TYPE_TEST_OUTPUTPQ = 7,
        DATA_TYPE_TEST_OUTPUTDATA = 8,
        DATA_TYPE_TEST_ACTIONDATA = 9,
        DATA_TYPE_SYSTEM_CONFIG = 10,
        DATA_TYPE_SYSTEM_CAL = 11,
        DATA_TYPE_CLOCK_STATE = 12,
    };
    enum STATEType : qint32 {
        STATE_TYPE_INIT = 0,
        STATE_TYPE_RUNNING = 1,
        STATE_TYPE_OUTPUTTED = 2,
        STATE_TYPE_CONNECTED = 3,
        STATE_TYPE_POWERED = 4,
        STATE_TYPE_AUXDCV = 5,
        STATE_TYPE_UPGRADE = 6,
        STATE_TYPE_CALFINISH = 7,
        STATE_TYPE_CALLOADED = 8,
        STATE_TYPE_STATEINDEX = 9,
        STATE_TYPE_BATTERY_MOS = 10,
    };
    enum ALARMType : qint32 {
        ALARM_TYPE_PV_HIGH_INPUT = 0,
        ALARM_TYPE_PV_SHORT = 1,
        ALARM_TYPE_PV_OVER_TEMPERATURE = 2,
        ALARM_TYPE_LV_HIGH_INPUT = 3,
        ALARM_TYPE_PIA_OPENED = 4,
        ALARM_TYPE_PIB_OPENED = 5,
        ALARM_TYPE_PIC_OPENED = 6,
        ALARM_TYPE_PIX_OPENED = 7,
    };
    Q_ENUM(DATAType)
    Q_ENUM(STATEType)
    Q_ENUM(ALARMType)

    // Events kept, oldest dropped first.
    static constexpr int SOE_CAPACITY = 19;

    explicit ControllerRuntime(QObject* parent = nullptr);
    ~ControllerRuntime() override;

    ModelBatteryEntity* batteryInfoData;   // last battery pack record, owned
    qint32 STATE[16] = {};                 // by STATEType; STATE[STATEINDEX] holds the state index
    qint32 ALARM[16] = {};                 // by ALARMType; 8..15 stay 0
    qint32 BO[4] = {};
    qint32 BI[4] = {};
    qint32 fanPercent = 30;
    qint32 powerT[4] = {};
    qint32 sensorT[4] = {};
    qint32 auxDCVSwitchValue = 0;
    qint32 auxDCVTestingValue = 0;
    qint32 batteryChargingState = -1;      // -1 unknown
    qint32 batteryCapacityPercent = -1;    // -1 unknown
    quint8 batteryMOSState;                // as derived from batteryInfoData until the first battery update
    bool clockSyncState = false;
    quint32 clockTime = 0;
    // Runs begun since start-up: a notice handled after its run has ended
    // still tells that one began.
    quint32 runsBegun = 0;
    QList<CommSOEEntity*> SOE;             // oldest first, owned
    QMutex soeMutex;                       // guards SOE
    QMutex dataMutex;                      // guards every other field

    void dataLock() { dataMutex.lock(); }
    void dataUnlock() { dataMutex.unlock(); }

    // Low-power mode of the device; runs on the caller's thread.
    void doDeviceLowPower(bool enable);

public slots:
    void updateInitState(bool flag);
    void updateLoadConfig(qint32 type);
    void updatePowerState(bool flag);
    void updateAuxPowerState(bool on, qint32 value);
    void updateCalState(qint32 type, bool flag);
    void updateRunState(const CommSOEEntity& event, bool running);
    void updateSwitchState(const CommSOEEntity& event, qint32 testType);
    void updateTestStateIndex(const CommSOEEntity& event, qint32 index);
    void updateTestStateAction();
    void updateTestStatePulse();
    void updateBOState(const CommSOEEntity& event, qint32 bo1, qint32 bo2, qint32 bo3, qint32 bo4);
    void updateBIState(const CommSOEEntity& event, qint32 bi1, qint32 bi2, qint32 bi3, qint32 bi4);
    void updateAlarmState(qint32 word);
    void updateAOTempState(qint32 t1, qint32 t2, qint32 t3, qint32 t4, qint32 fan);
    void updateAOTempSensor(qint32 s1, qint32 s2, qint32 s3, qint32 s4);
    void updateBatteryState(qint32 charging, qint32 percent);
    void updateBatteryInfo(const ModelBatteryEntity& info);
    void updateBatteryMOSState(quint8 mos);
    void updateSyncClock(bool synced, quint32 time);
    void emptySOEList();

signals:
    void sigUpdateSOEToView(const QString& text);
    void sigUpdateDataToView(qint32 dataType, qint32 subType);

private:
    // Stores a copy (list capped at SOE_CAPACITY), then emits its long text.
    void storeEvent(CommSOEEntity* copy);
    // Stores new binary states and returns the change directions (0 unchanged);
    // running receives STATE[RUNNING], read under the same lock.
    bool storeBinary(qint32 stored[4], const qint32 values[4], qint32 changes[4], qint32& running);
};
