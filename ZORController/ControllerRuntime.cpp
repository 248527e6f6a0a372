#include "ControllerRuntime.h"

#include "CommDriverData.h"
#include "ControllerModuleTable.h"
#include "zoplatform.h"

#include <QMutexLocker>

namespace {

const char* const kLowPowerOn = "/opt/zor/script/setpwrgpio.sh llo close";
const char* const kLowPowerOff = "/opt/zor/script/setpwrgpio.sh llo open";

bool validStateIndex(qint32 type)
{
    return type >= 0 && type < 16;
}

}   // namespace

ControllerRuntime::ControllerRuntime(QObject* parent)
    : QObject(parent)
    , batteryInfoData(new ModelBatteryEntity())
    , batteryMOSState(quint8(~batteryInfoData->infoFETState & 3))
{
}

ControllerRuntime::~ControllerRuntime()
{
    emptySOEList();
    delete batteryInfoData;
}

void ControllerRuntime::doDeviceLowPower(bool enable)
{
    if (enable) {
        if (CommDriverTestControlData* control = globalTestControlData)
            control->controlDeviceLowPowerEnable = 1;
        zoplat::sleepMs(500);
        zoplat::runCommand(QLatin1String(kLowPowerOn));
    } else {
        zoplat::runCommand(QLatin1String(kLowPowerOff));
        zoplat::sleepMs(500);
        if (CommDriverTestControlData* control = globalTestControlData)
            control->controlDeviceLowPowerEnable = 0;
    }
}

// ---- Events -------------------------------------------------------------------

void ControllerRuntime::storeEvent(CommSOEEntity* copy)
{
    // Once in the list the copy belongs to it: the text is built first.
    const QString text = copy->getEventLongText();
    {
        QMutexLocker lock(&soeMutex);
        SOE.append(copy);
        while (SOE.size() > SOE_CAPACITY)
            delete SOE.takeFirst();
    }
    emit sigUpdateSOEToView(text);
}

void ControllerRuntime::emptySOEList()
{
    QMutexLocker lock(&soeMutex);
    qDeleteAll(SOE);
    SOE.clear();
}

// ---- States -------------------------------------------------------------------

void ControllerRuntime::updateInitState(bool flag)
{
    {
        QMutexLocker lock(&dataMutex);
        STATE[STATE_TYPE_INIT] = flag ? 1 : 0;
    }
    emit sigUpdateDataToView(DATA_TYPE_RT_STATE, STATE_TYPE_INIT);
}

void ControllerRuntime::updateLoadConfig(qint32 type)
{
    emit sigUpdateDataToView(DATA_TYPE_SYSTEM_CONFIG, type);
}

void ControllerRuntime::updatePowerState(bool flag)
{
    {
        QMutexLocker lock(&dataMutex);
        STATE[STATE_TYPE_POWERED] = flag ? 1 : 0;
    }
    emit sigUpdateDataToView(DATA_TYPE_RT_STATE, STATE_TYPE_POWERED);
}

void ControllerRuntime::updateAuxPowerState(bool on, qint32 value)
{
    {
        QMutexLocker lock(&dataMutex);
        STATE[STATE_TYPE_AUXDCV] = on ? 1 : 0;
        auxDCVSwitchValue = value;
        auxDCVTestingValue = value;
    }
    emit sigUpdateDataToView(DATA_TYPE_RT_STATE, STATE_TYPE_AUXDCV);
}

void ControllerRuntime::updateCalState(qint32 type, bool flag)
{
    if (!validStateIndex(type)) {
        qWarning("ControllerRuntime::updateCalState: state %d refused", type);
        return;
    }
    {
        QMutexLocker lock(&dataMutex);
        STATE[type] = flag ? 1 : 0;
    }
    emit sigUpdateDataToView(DATA_TYPE_RT_STATE, type);
}

void ControllerRuntime::updateRunState(const CommSOEEntity& event, bool running)
{
    {
        QMutexLocker lock(&dataMutex);
        STATE[STATE_TYPE_RUNNING] = running ? 1 : 0;
        if (running) {
            STATE[STATE_TYPE_STATEINDEX] = 0;
            ++runsBegun;
        }
    }
    if (event.soeType != CommSOEEntity::SOE_TYPE_NONE) {
        CommSOEEntity* copy = event.clone();
        copy->runtimeType = running ? CommSOEEntity::RUNTIME_TYPE_RUNNING : CommSOEEntity::RUNTIME_TYPE_IDLE;
        storeEvent(copy);
    }
    emit sigUpdateDataToView(DATA_TYPE_RT_STATE, STATE_TYPE_RUNNING);
    emit sigUpdateDataToView(DATA_TYPE_TEST_ACTIONDATA, -1);
    if (running) {
        emit sigUpdateDataToView(DATA_TYPE_RT_STATE, STATE_TYPE_STATEINDEX);
        emit sigUpdateDataToView(DATA_TYPE_TEST_OUTPUTDATA, -1);
    }
}

void ControllerRuntime::updateSwitchState(const CommSOEEntity& event, qint32 testType)
{
    if (event.soeType != CommSOEEntity::SOE_TYPE_NONE)
        storeEvent(event.clone());
    const qint32 notice = moduleEntry(testType).switchNotice;
    if (notice >= 0)
        emit sigUpdateDataToView(notice, -1);
}

void ControllerRuntime::updateTestStateIndex(const CommSOEEntity& event, qint32 index)
{
    bool changed;
    qint32 running;
    {
        QMutexLocker lock(&dataMutex);
        changed = STATE[STATE_TYPE_STATEINDEX] != index;
        STATE[STATE_TYPE_STATEINDEX] = index;
        running = STATE[STATE_TYPE_RUNNING];
    }
    if (!changed)
        return;
    emit sigUpdateDataToView(DATA_TYPE_RT_STATE, STATE_TYPE_STATEINDEX);
    CommSOEEntity* copy = event.clone();
    copy->soeType = CommSOEEntity::SOE_TYPE_AO_STATE;
    copy->runtimeType = running ? CommSOEEntity::RUNTIME_TYPE_RUNNING : CommSOEEntity::RUNTIME_TYPE_IDLE;
    storeEvent(copy);
}

void ControllerRuntime::updateTestStateAction()
{
    emit sigUpdateDataToView(DATA_TYPE_TEST_ACTIONDATA, -1);
}

void ControllerRuntime::updateTestStatePulse()
{
    emit sigUpdateDataToView(DATA_TYPE_TEST_OUTPUTDATA, -1);
}

// ---- Binary outputs and inputs ------------------------------------------------

bool ControllerRuntime::storeBinary(qint32 stored[4], const qint32 values[4], qint32 changes[4], qint32& running)
{
    bool any = false;
    QMutexLocker lock(&dataMutex);
    running = STATE[STATE_TYPE_RUNNING];
    for (int i = 0; i < 4; ++i) {
        changes[i] = 0;
        if (stored[i] != values[i]) {
            changes[i] = stored[i] != 0 ? CommSOEEntity::BIO_SWITCH_TYPE_ON2OFF : CommSOEEntity::BIO_SWITCH_TYPE_OFF2ON;
            stored[i] = values[i];
            any = true;
        }
    }
    return any;
}

void ControllerRuntime::updateBOState(const CommSOEEntity& event, qint32 bo1, qint32 bo2, qint32 bo3, qint32 bo4)
{
    const qint32 values[4] = {bo1, bo2, bo3, bo4};
    qint32 changes[4];
    qint32 running = 0;
    const bool any = storeBinary(BO, values, changes, running);
    emit sigUpdateDataToView(DATA_TYPE_RT_BO, -1);
    if (!any)
        return;
    CommSOEEntity* copy = event.clone();
    copy->soeType = CommSOEEntity::SOE_TYPE_BO_SWITCH;
    copy->runtimeType = running ? CommSOEEntity::RUNTIME_TYPE_RUNNING : CommSOEEntity::RUNTIME_TYPE_IDLE;
    for (int i = 0; i < 4; ++i)
        if (changes[i])
            copy->outputBOStates[i] = changes[i];
    storeEvent(copy);
}

void ControllerRuntime::updateBIState(const CommSOEEntity& event, qint32 bi1, qint32 bi2, qint32 bi3, qint32 bi4)
{
    const qint32 values[4] = {bi1, bi2, bi3, bi4};
    qint32 changes[4];
    qint32 running = 0;
    const bool any = storeBinary(BI, values, changes, running);
    emit sigUpdateDataToView(DATA_TYPE_RT_BI, -1);
    if (!any)
        return;
    CommSOEEntity* copy = event.clone();
    copy->soeType = CommSOEEntity::SOE_TYPE_BI_SWITCH;
    copy->runtimeType = running ? CommSOEEntity::RUNTIME_TYPE_RUNNING : CommSOEEntity::RUNTIME_TYPE_IDLE;
    for (int i = 0; i < 4; ++i)
        if (changes[i])
            copy->outputBIStates[i] = changes[i];
    storeEvent(copy);
}

// ---- Alarms, temperatures, battery, clock ---------------------------------------

void ControllerRuntime::updateAlarmState(qint32 word)
{
    bool changed;
    {
        QMutexLocker lock(&dataMutex);
        qint32 previous = 0;
        for (int i = 0; i < 8; ++i)
            if (ALARM[i])
                previous |= 1 << i;
        changed = previous != word;
        for (int i = 0; i < 8; ++i)
            ALARM[i] = (word >> i) & 1;
    }
    if (changed)
        emit sigUpdateDataToView(DATA_TYPE_RT_ALARM, -1);
}

void ControllerRuntime::updateAOTempState(qint32 t1, qint32 t2, qint32 t3, qint32 t4, qint32 fan)
{
    const qint32 values[4] = {t1, t2, t3, t4};
    bool changed = false;
    {
        QMutexLocker lock(&dataMutex);
        for (int i = 0; i < 4; ++i) {
            changed = changed || powerT[i] != values[i];
            powerT[i] = values[i];
        }
        changed = changed || fanPercent != fan;
        fanPercent = fan;
    }
    if (changed)
        emit sigUpdateDataToView(DATA_TYPE_RT_TEMP, -1);
}

void ControllerRuntime::updateAOTempSensor(qint32 s1, qint32 s2, qint32 s3, qint32 s4)
{
    const qint32 values[4] = {s1, s2, s3, s4};
    bool changed = false;
    {
        QMutexLocker lock(&dataMutex);
        for (int i = 0; i < 4; ++i) {
            changed = changed || sensorT[i] != values[i];
            sensorT[i] = values[i];
        }
    }
    if (changed)
        emit sigUpdateDataToView(DATA_TYPE_RT_TEMP, -1);
}

void ControllerRuntime::updateBatteryState(qint32 charging, qint32 percent)
{
    bool changed;
    {
        QMutexLocker lock(&dataMutex);
        changed = batteryChargingState != charging || batteryCapacityPercent != percent;
        batteryChargingState = charging;
        batteryCapacityPercent = percent;
    }
    if (changed)
        emit sigUpdateDataToView(DATA_TYPE_RT_BATTERY, -1);
}

void ControllerRuntime::updateBatteryInfo(const ModelBatteryEntity& info)
{
    bool changed;
    {
        QMutexLocker lock(&dataMutex);
        changed = batteryInfoData->CompareFrom(info);
        if (changed) {
            batteryInfoData->copyFrom(info);
            batteryMOSState = quint8(~info.infoFETState & 3);
        }
    }
    if (changed)
        emit sigUpdateDataToView(DATA_TYPE_RT_BATTERY, STATE_TYPE_BATTERY_MOS);
}

void ControllerRuntime::updateBatteryMOSState(quint8 mos)
{
    {
        QMutexLocker lock(&dataMutex);
        batteryMOSState = mos;
        batteryInfoData->infoFETState = quint8(~mos & 3);
    }
    emit sigUpdateDataToView(DATA_TYPE_RT_BATTERY, STATE_TYPE_BATTERY_MOS);
}

void ControllerRuntime::updateSyncClock(bool synced, quint32 time)
{
    {
        QMutexLocker lock(&dataMutex);
        clockSyncState = synced;
        clockTime = time;
    }
    emit sigUpdateDataToView(DATA_TYPE_CLOCK_STATE, -1);
}
