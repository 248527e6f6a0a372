// ViewBaseModel: construction, module hooks, update relays, test control and
// the mirrored live data.

#include "ViewBaseModel.h"

#include "ControllerCenter.h"
#include "ControllerModuleTable.h"
#include "ModelCalibrationEntity.h"
#include "SystemTimeZone.h"
#include "zoplatform.h"

#include <QThreadPool>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <sys/statvfs.h>

namespace {

const QString kTimeFormat = QStringLiteral("hh:mm:ss:zzz");

// Holds the runtime store's data lock for a scope.
class RuntimeLock
{
public:
    explicit RuntimeLock(ControllerRuntime* rt)
        : runtime(rt)
    {
        runtime->dataLock();
    }
    ~RuntimeLock() { runtime->dataUnlock(); }
    RuntimeLock(const RuntimeLock&) = delete;
    RuntimeLock& operator=(const RuntimeLock&) = delete;

private:
    ControllerRuntime* runtime;
};

}   // namespace

// ---- OutputEntity construction (its file section is with the parameter files) --

ViewBaseModel::OutputEntity::OutputEntity()
{
    for (int p = 0; p < 8; ++p) {
        outputRanges[p] = 0.0;
        outputAngles[p] = 0.0;
        outputFrequencies[p] = 0.0;
    }
}

ViewBaseModel::OutputEntity::~OutputEntity() = default;

// ---- BinaryTrigger --------------------------------------------------------------

namespace {

bool isTriggerIndex(int index)
{
    return index >= 0 && index <= 3;
}

} // namespace

ViewBaseModel::BinaryTrigger::BinaryTrigger()
    : outputBILogicType(AO_BILOGIC_TYPE_OR)
{
    std::fill(std::begin(outputBIStates), std::end(outputBIStates), qint32(AO_BI_STATE_ALL));
    std::fill(std::begin(outputBOStates), std::end(outputBOStates), 0);
}

void ViewBaseModel::BinaryTrigger::setTriggerInput(int biindex, int bi)
{
    if (isTriggerIndex(biindex) && bi >= AO_BI_STATE_NONE && bi <= AO_BI_STATE_ALL)
        outputBIStates[biindex] = bi;
}

int ViewBaseModel::BinaryTrigger::triggerInput(int biindex) const
{
    return isTriggerIndex(biindex) ? outputBIStates[biindex] : 0;
}

void ViewBaseModel::BinaryTrigger::setTriggerLogic(int logic)
{
    if (logic == AO_BILOGIC_TYPE_OR || logic == AO_BILOGIC_TYPE_AND)
        outputBILogicType = AOBILogicType(logic);
}

void ViewBaseModel::BinaryTrigger::setTriggerOutput(int boindex, int bo)
{
    if (isTriggerIndex(boindex))
        outputBOStates[boindex] = bo != 0 ? 1 : 0;
}

int ViewBaseModel::BinaryTrigger::triggerOutput(int boindex) const
{
    return isTriggerIndex(boindex) ? outputBOStates[boindex] : 0;
}

// ---- Construction --------------------------------------------------------------

ViewBaseModel::ViewBaseModel(QObject* parent)
    : QObject(parent)
{
    std::fill(std::begin(testingSTATE), std::end(testingSTATE), 0);
    std::fill(std::begin(testingALARM), std::end(testingALARM), 0);
    std::fill(std::begin(testingBO), std::end(testingBO), 0);
    std::fill(std::begin(testingBI), std::end(testingBI), 0);
    std::fill(std::begin(testingPowerT), std::end(testingPowerT), 0);
    std::fill(std::begin(testingSensorT), std::end(testingSensorT), 0);
    testingBatMosState = 0;
    bCloseMOS = true;
    bOpenMOS = true;
    testingFanPercent = 0;
    testingAuxDCVSwitch = AUXDC_SWITCH_24V;
    testintAuxDCValue = 0.0;
    testingSuspendType = SUSPEND_TYPE_NONE;
    testingSuspendTime = zoplat::monotonicMs();
    testingBatteryCount = 0;
    testingBatteryState = -1;
    testingBatteryPercent = -1;

    // A model is made at any time, also while the configuration thread
    // reloads these.
    takeRatings();

    normalEnable = true;
    intervalEnable = true;
    outputOnceOnly = true;
    normalTime = 0.5;
    intervalTime = 0.2;

    for (int p = 0; p < 8; ++p) {
        normalOutput.outputRanges[p] = p < 4 ? rateVoltage : 0.0;
        intervalOutput.outputRanges[p] = 0.0;
        double angle = 0.0;
        if (p == 1 || p == 5)
            angle = 240.0;
        else if (p == 2 || p == 6)
            angle = 120.0;
        normalOutput.outputAngles[p] = angle;
        intervalOutput.outputAngles[p] = angle;
        normalOutput.outputFrequencies[p] = rateFrequency;
        intervalOutput.outputFrequencies[p] = rateFrequency;
    }

    minOpenAlarmCurrent = 0.02;
    dataVersion = 1;   // version (0, 0, 0, 1), the value assumed for files without one
    bLoadParameter = false;
    batteryPDType = BAT_PD_TYPE_NONE;
    startPending = false;
    followsOwnRun = false;
    {
        RuntimeLock lock(center()->testRuntime);
        runsSeen = center()->testRuntime->runsBegun;
    }
    rebootPending = false;

    timeZoneHelper = new SystemTimeZone();
    timeZoneHelper->setLanuageType(center()->testConfiguration->ratings().language);
    timeZoneHelper->updateTimeZones(false);

    // The live data as the runtime store holds it now: the store announces
    // most of it only when it changes, and a model is made at any time (a
    // page's when the page is first opened).
    for (DATAType type : {DATA_TYPE_RT_BO, DATA_TYPE_RT_BI, DATA_TYPE_RT_ALARM, DATA_TYPE_RT_STATE,
                          DATA_TYPE_RT_TEMP, DATA_TYPE_RT_BATTERY})
        ViewBaseModel::doUpdateEntToVM(type, -1);
    ViewBaseModel::doUpdateEntToVM(DATA_TYPE_RT_BATTERY, STATE_TYPE_BATTERY_MOS);

    connect(center(), &ControllerCenter::sigUpdateSOEToView, this, &ViewBaseModel::updateSOEToView);
    connect(center(), &ControllerCenter::sigUpdateDataToView, this, &ViewBaseModel::updateDataToView);
    connect(this, &ViewBaseModel::sigUpdateViewConnectEnable, center(), &ControllerCenter::sigUpdateViewConnectEnable);
    connect(center(), &ControllerCenter::sigNetServiceRefused, this, [this](const QString& port, const QString& reason) {
        emit sigNetServiceRefused(port.isEmpty() ? tr("联机测试无法启动，网络服务未能开启。")
                                                 : tr("联机测试无法启动：端口 %1 无法使用（%2）。").arg(port, reason));
    });
}

ViewBaseModel::~ViewBaseModel()
{
    // Every instance made its own zone table.
    delete timeZoneHelper;
}

ControllerCenter* ViewBaseModel::center()
{
    return ControllerCenter::getInstance();
}

QDateTime ViewBaseModel::nowDateTime()
{
    return QDateTime::fromMSecsSinceEpoch(zoplat::systemTimeMs());
}

QString ViewBaseModel::getNowDateTimeString(QString fmt) const
{
    return nowDateTime().toString(fmt);
}

void ViewBaseModel::runDeviceTask(std::function<void()> fn)
{
    // One thread, first in first out: a backlight or low-power step never
    // overtakes the one before it.
    static QThreadPool pool;
    static const bool configured = [] {
        pool.setMaxThreadCount(1);
        return true;
    }();
    (void)configured;
    pool.start(std::move(fn));
}

qint32 ViewBaseModel::runtimeState(int index) const
{
    ControllerRuntime* rt = center()->testRuntime;
    RuntimeLock lock(rt);
    return index >= 0 && index < 16 ? rt->STATE[index] : 0;
}

double ViewBaseModel::currentOutputRange(int port) const
{
    if (port < AO_PORT_TYPE_IA || port > AO_PORT_TYPE_IX)
        return 0.0;
    return center()->testTestor->getCurrentOutputRange(port);
}

double ViewBaseModel::currentOutputMax() const
{
    return moduleLargeCurrent(*center()->testTestor, getTestActiveType());
}

// ---- Module hooks ----------------------------------------------------------------

void ViewBaseModel::doTestActive()
{
    updateVMToEnt(DATA_TYPE_RT_BO, -1, true);
}

void ViewBaseModel::doUpdateVMToEnt(DATAType, int)
{
}

void ViewBaseModel::doUpdateEntToVM(DATAType type, int subType)
{
    ControllerRuntime* rt = center()->testRuntime;
    switch (type) {
    case DATA_TYPE_RT_BO: {
        RuntimeLock lock(rt);
        std::copy(rt->BO, rt->BO + 4, testingBO);
        break;
    }
    case DATA_TYPE_RT_BI: {
        RuntimeLock lock(rt);
        std::copy(rt->BI, rt->BI + 4, testingBI);
        break;
    }
    case DATA_TYPE_RT_ALARM: {
        {
            RuntimeLock lock(rt);
            std::copy(rt->ALARM, rt->ALARM + 15, testingALARM);   // 15 (low storage) is the view's
        }
        // An open current circuit matters only where a current is output.
        for (int port = AO_PORT_TYPE_IA; port <= AO_PORT_TYPE_IX; ++port) {
            if (testingALARM[port] && currentOutputRange(port) < minOpenAlarmCurrent)
                testingALARM[port] = 0;
        }
        break;
    }
    case DATA_TYPE_RT_STATE: {
        {
            RuntimeLock lock(rt);
            std::copy(rt->STATE, rt->STATE + 16, testingSTATE);
        }
        if (subType == STATE_TYPE_RUNNING && !othersRunNotice) {
            if (testingSTATE[STATE_TYPE_RUNNING])
                doSwitchToStartState();
            else
                doSwitchToStopState();
        } else if (subType == STATE_TYPE_STATEINDEX) {
            if (testingSTATE[STATE_TYPE_RUNNING] && testingSTATE[STATE_TYPE_STATEINDEX] >= 0)
                emit sigUpdateStateIndexToView(testingSTATE[STATE_TYPE_STATEINDEX]);
        }
        followRunStateReport(type, subType);
        break;
    }
    case DATA_TYPE_RT_TEMP: {
        RuntimeLock lock(rt);
        std::copy(rt->powerT, rt->powerT + 4, testingPowerT);
        std::copy(rt->sensorT, rt->sensorT + 4, testingSensorT);
        testingFanPercent = rt->fanPercent;
        break;
    }
    case DATA_TYPE_RT_BATTERY: {
        RuntimeLock lock(rt);
        if (subType == STATE_TYPE_BATTERY_MOS) {
            testingBatMosState = rt->batteryMOSState;
        } else {
            testingBatteryState = rt->batteryChargingState;
            testingBatteryPercent = rt->batteryCapacityPercent;
        }
        break;
    }
    case DATA_TYPE_CLOCK_STATE: sortClockPPXTimes(); break;
    default: break;
    }
}

void ViewBaseModel::doSwitchToStopState()
{
}

void ViewBaseModel::doSwitchToStartState()
{
}

void ViewBaseModel::addSOEToView(const QString& text)
{
    testingSOEList.prepend(text);
    while (testingSOEList.size() > 20)
        testingSOEList.removeLast();
}

void ViewBaseModel::doUpdateSOEToView(const QString&)
{
}

// ---- Update relays --------------------------------------------------------------------

void ViewBaseModel::updateVMToEnt(DATAType type, int subType, bool toDevice)
{
    doUpdateVMToEnt(type, subType);
    if (!toDevice)
        return;
    switch (type) {
    case DATA_TYPE_RT_BO: center()->testBOState(); break;
    case DATA_TYPE_TEST_OUTPUTVI:
    case DATA_TYPE_TEST_OUTPUTPQ: center()->testSwitch(); break;
    case DATA_TYPE_TEST_OUTPUTDATA:
        center()->testSwitch();
        center()->testBOState();
        break;
    default: break;
    }
}

void ViewBaseModel::updateEntToVM(DATAType type, int subType, bool)
{
    doUpdateEntToVM(type, subType);
}

void ViewBaseModel::updateDataToView(int dataType, int subType)
{
    // While a PC has control only the real-time data reaches the page, and
    // the outputs and results of a run the page started (its Start, or a PC's
    // START of what it shows): that run is the page's test.
    const bool live = dataType >= DATA_TYPE_RT_BO && dataType <= DATA_TYPE_RT_BATTERY;
    const bool ownRun = followsOwnRun && dataType >= DATA_TYPE_TEST_OUTPUTVI && dataType <= DATA_TYPE_TEST_ACTIONDATA;
    if (center()->testConfiguration->bNetConnect && !live && !ownRun)
        return;
    const bool runState = dataType == DATA_TYPE_RT_STATE && subType == STATE_TYPE_RUNNING;
    if (runState)
        followRunsBegun();
    // A run-state notice of another's run (a PC's record) leaves the page's
    // settings and results as they were: the start and stop hooks, and what
    // a page takes from its entity on it, are for its own.
    othersRunNotice = dataType == DATA_TYPE_RT_STATE && !startPending && !followsOwnRun;
    updateEntToVM(DATAType(dataType), subType, false);
    othersRunNotice = false;
    // The polling loop reports the clock state three times a second; the
    // pages hear of it when what they show of it has changed.
    if (dataType == DATA_TYPE_CLOCK_STATE && !takeClockStateChange())
        return;
    emit sigUpdateDataToView(dataType, subType);
    // The reports that follow the loads of the configuration and calibration files.
    const bool afterLoad = dataType == DATA_TYPE_SYSTEM_CONFIG
        || (dataType == DATA_TYPE_RT_STATE && (subType == STATE_TYPE_CALLOADED || subType == STATE_TYPE_INIT));
    if (afterLoad && !untoldDamage().isEmpty())
        emit sigStartupNotice();
}

void ViewBaseModel::followRunsBegun()
{
    quint32 begun;
    {
        RuntimeLock lock(center()->testRuntime);
        begun = center()->testRuntime->runsBegun;
    }
    if (begun == runsSeen)
        return;
    // The run begun is this page's when it asked for one; of two or more
    // begun since, the last is not.
    followsOwnRun = startPending && begun - runsSeen == 1;
    startPending = false;
    runsSeen = begun;
}

// ---- Start-up notices -------------------------------------------------------------------

QStringList ViewBaseModel::untoldDamage() const
{
    QStringList keys;
    for (const QString& file : center()->testConfiguration->damagedFiles())
        keys << QStringLiteral("file:") + file;
    for (const ControllerConfiguration::HeldSetting& h : center()->testConfiguration->heldSettings())
        keys << QStringLiteral("held:%1:%2:%3:%4").arg(h.file, h.key, QString::number(h.held, 'g', 12), h.read);
    for (const QString& file : center()->testTestor->calibrationFilesOnDefaults())
        keys << QStringLiteral("cal:") + file;
    keys.erase(std::remove_if(keys.begin(), keys.end(), [this](const QString& k) { return toldDamage.contains(k); }),
               keys.end());
    return keys;
}

QString ViewBaseModel::takeStartupNotice()
{
    QStringList lines;
    QStringList calibration;
    for (const QString& key : untoldDamage()) {
        toldDamage << key;
        const QString what = key.section(QLatin1Char(':'), 1);
        if (key.startsWith(QLatin1String("file:")))
            lines << tr("配置文件 %1 无法读取，其中的设置按默认值运行；原文件予以保留。").arg(what);
        else if (key.startsWith(QLatin1String("held:")))
            lines << tr("配置文件 %1 中的 %2 为 %3，超出其范围，按 %4 运行。")
                         .arg(key.section(QLatin1Char(':'), 1, 1), key.section(QLatin1Char(':'), 2, 2),
                              key.section(QLatin1Char(':'), 4), key.section(QLatin1Char(':'), 3, 3));
        else
            calibration << what;
    }
    if (!calibration.isEmpty())
        lines
            << tr("以下校准文件已损坏，无法读取的校准系数按默认值运行：%1").arg(calibration.join(QStringLiteral(", ")));
    return lines.join(QLatin1Char('\n'));
}

void ViewBaseModel::updateSOEToView(QString text)
{
    doUpdateSOEToView(text);
    emit sigUpdateSOEToView();
}

// ---- Test control ---------------------------------------------------------------------

void ViewBaseModel::testActive()
{
    const ModuleFamily before = moduleEntry(getTestActiveType()).family;
    doTestActive();
    pageModule = getTestActiveType();
    center()->setActivePage(this, pageModule);
    // Leaving the calibration: its trial coefficients give way to the stored ones.
    if (before == ModuleFamily::Calibration && moduleEntry(getTestActiveType()).family != ModuleFamily::Calibration)
        center()->loadCal(CAL_TYPE_ALL);
}

bool ViewBaseModel::testStart()
{
    if (!getDriverInitialised() || !getRunEnabled())
        return false;
    updateSuspendTime();
    updateVMToEnt(DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    startPending = true;
    followsOwnRun = true;
    center()->testStart();
    return true;
}

void ViewBaseModel::testInterrupt()
{
    // A stop during the start (amplifier settle) cancels it: nothing plays.
    if (runtimeState(STATE_TYPE_RUNNING) != 0 || startPending) {
        startPending = false;
        center()->testInterrupt();
    }
}

void ViewBaseModel::testSwitch()
{
    center()->testSwitch();
}

void ViewBaseModel::testConfig()
{
    center()->testConfig();
}

bool ViewBaseModel::getRunEnabled() const
{
    return getPowerTMax() < getDeviceTResume();
}

bool ViewBaseModel::getDriverInitialised() const
{
    return center()->testConfiguration->initDriverEnable.load();
}

int ViewBaseModel::getTestActiveType() const
{
    return int(center()->testTestor->testType.load());
}

// ---- Configuration, calibration and battery forwards -------------------------------------

void ViewBaseModel::saveConfig(CONFIGType type, bool hwChecked)
{
    center()->saveConfig(type, hwChecked);
}

void ViewBaseModel::loadConfig(CONFIGType type)
{
    center()->loadConfig(type);
}

void ViewBaseModel::saveCal(CALType type)
{
    center()->saveCal(type);
}

void ViewBaseModel::loadCal(CALType type)
{
    center()->loadCal(type);
}

void ViewBaseModel::resetCal(CALType type, bool cursel)
{
    center()->resetCal(type, cursel);
}

void ViewBaseModel::removeCal(CALType type)
{
    center()->resetCal(type, false);
}

void ViewBaseModel::saveBatteryConfig()
{
    center()->saveBatteryConfig();
}

void ViewBaseModel::loadBatteryConfig()
{
    center()->loadBatteryConfig();
}

void ViewBaseModel::setBatterInfoEnable(bool enable)
{
    center()->setBatteryInfoEnable(enable);
}

// ---- Event view ------------------------------------------------------------------------

void ViewBaseModel::emptySOEList()
{
    center()->emptySOEList();
    testingSOEList.clear();
}

QString ViewBaseModel::getSOEText() const
{
    return testingSOEList.join(QString());
}

int ViewBaseModel::getSOECount() const
{
    return testingSOEList.size();
}

// ---- Live data ----------------------------------------------------------------------------

int ViewBaseModel::getState(STATEType type) const
{
    return type >= 0 && type < 16 ? testingSTATE[type] : 0;
}

int ViewBaseModel::getAlarm(ALARMType type) const
{
    return type >= 0 && type < 16 ? testingALARM[type] : 0;
}

bool ViewBaseModel::getAlarmEnable() const
{
    return getAlarmCount() > 0;
}

int ViewBaseModel::getAlarmCount() const
{
    int count = 0;
    for (int i = 0; i < 8; ++i)
        count += testingALARM[i] != 0 ? 1 : 0;
    count += testingALARM[ALARM_TYPE_LOW_STORAGE] != 0 ? 1 : 0;
    return count;
}

QString ViewBaseModel::getAlarmText() const
{
    struct Entry
    {
        ALARMType type;
        const char* text;
    };
    static const Entry kEntries[] = {
        {ALARM_TYPE_PV_HIGH_INPUT, QT_TR_NOOP("电压高压引入告警")},
        {ALARM_TYPE_LV_HIGH_INPUT, QT_TR_NOOP("小信号高压引入告警")},
        {ALARM_TYPE_PV_SHORT, QT_TR_NOOP("电压短路告警")},
        {ALARM_TYPE_PV_OVER_TEMPERATURE, QT_TR_NOOP("功放高温告警")},
        {ALARM_TYPE_PIA_OPENED, QT_TR_NOOP("电流IA开路告警")},
        {ALARM_TYPE_PIB_OPENED, QT_TR_NOOP("电流IB开路告警")},
        {ALARM_TYPE_PIC_OPENED, QT_TR_NOOP("电流IC开路告警")},
        {ALARM_TYPE_PIX_OPENED, QT_TR_NOOP("电流IX开路告警")},
        {ALARM_TYPE_LOW_STORAGE, QT_TR_NOOP("内部存储较低")},
    };
    QString text;
    int n = 1;
    for (const Entry& e : kEntries) {
        if (testingALARM[e.type] == 0)
            continue;
        text += QString::number(n++) + QLatin1Char('.') + tr(e.text) + QStringLiteral("\r\n");
    }
    return text;
}

QString ViewBaseModel::getAlarmLabel() const
{
    return QStringLiteral("!(") + QString::number(getAlarmCount()) + QLatin1Char(')');
}

bool ViewBaseModel::checkLowStorage() const
{
    struct statvfs st
    {
    };
    const QByteArray root = zoplat::devicePath(QStringLiteral("/")).toLocal8Bit();
    if (statvfs(root.constData(), &st) != 0)
        return false;
    return qint64(st.f_bsize) * qint64(st.f_bavail) < LOW_STORAGE_BYTES;
}

bool ViewBaseModel::getAlarmLowStorageChanged()
{
    const qint32 low = checkLowStorage() ? 1 : 0;
    if (low == testingALARM[ALARM_TYPE_LOW_STORAGE])
        return false;
    testingALARM[ALARM_TYPE_LOW_STORAGE] = low;
    return true;
}

void ViewBaseModel::setBOState(int index, int enable)
{
    if (index < 0 || index >= 4)
        return;
    testingBO[index] = enable;
    updateVMToEnt(DATA_TYPE_RT_BO, -1, true);
}

void ViewBaseModel::setBIState(int index, int enable)
{
    if (index < 0 || index >= 4)
        return;
    testingBI[index] = enable;
}

bool ViewBaseModel::getBOState(int index) const
{
    return index >= 0 && index < 4 && testingBO[index] != 0;
}

bool ViewBaseModel::getBIState(int index) const
{
    return index >= 0 && index < 4 && testingBI[index] != 0;
}

void ViewBaseModel::revertBoState()
{
    for (int i = 0; i < 4; ++i)
        setBOState(i, 0);
}

int ViewBaseModel::getFanPercent() const
{
    return testingFanPercent;
}

int ViewBaseModel::getPowerT(int index) const
{
    return index >= 0 && index < 4 ? testingPowerT[index] : 0;
}

int ViewBaseModel::getPowerTMax() const
{
    int largest = 0;
    for (int t : testingPowerT)
        largest = std::max(largest, t);
    return largest;
}

QString ViewBaseModel::getPowerTMaxText() const
{
    return QString::number(getPowerTMax()) + QString::fromUtf8("℃");
}

QString ViewBaseModel::getPowerTDetailText() const
{
    const QString degree = QString::fromUtf8("℃");
    return tr("电压功放") + QStringLiteral(": ") + QString::number(testingPowerT[0]) + degree + QStringLiteral(" ~ ")
        + QString::number(testingPowerT[1]) + degree + QLatin1Char('\n') + tr("电流功放") + QStringLiteral(": ")
        + QString::number(testingPowerT[2]) + degree + QStringLiteral(" ~ ") + QString::number(testingPowerT[3])
        + degree + QLatin1Char('\n') + QStringLiteral("Fn: ") + QString::number(testingFanPercent) + QLatin1Char('%');
}

QString ViewBaseModel::getBeginTime() const
{
    return testingBeginTime.toString(kTimeFormat);
}

QString ViewBaseModel::getBOTurnTime() const
{
    return testingBOTurnTime.toString(kTimeFormat);
}

void ViewBaseModel::setBeginTime(QString time)
{
    testingBeginTime = QTime::fromString(time, kTimeFormat);
}

void ViewBaseModel::setBOTurnTime(QString time)
{
    testingBOTurnTime = QTime::fromString(time, kTimeFormat);
}

QString ViewBaseModel::doubleFormatToString(double val, int precision) const
{
    if (std::isnan(val))
        return QStringLiteral("NaN");
    return QString::number(val, 'f', std::clamp(precision, 0, 17));
}

// ---- Pre-fault and interval outputs -------------------------------------------------------

void ViewBaseModel::setNormalTime(double time)
{
    normalTime = time;
}

double ViewBaseModel::getNormalTime() const
{
    return normalTime;
}

void ViewBaseModel::setIntervalTime(double time)
{
    intervalTime = time;
}

double ViewBaseModel::getIntervalTime() const
{
    return intervalTime;
}

void ViewBaseModel::setNormalEnable(bool enable)
{
    normalEnable = enable;
}

bool ViewBaseModel::getNormalEnable() const
{
    return normalEnable;
}

void ViewBaseModel::setIntervalEnable(bool enable)
{
    intervalEnable = enable;
}

bool ViewBaseModel::getIntervalEnable() const
{
    return intervalEnable;
}

void ViewBaseModel::setOutputOnceOnly(bool enable)
{
    outputOnceOnly = enable;
}

bool ViewBaseModel::getOutputOnceOnly() const
{
    return outputOnceOnly;
}

namespace {

double* outputItem(ViewBaseModel::OutputEntity& out, int type, int port)
{
    if (type == ViewBaseModel::AO_ITEM_TYPE_RANGE)
        return &out.outputRanges[port];
    if (type == ViewBaseModel::AO_ITEM_TYPE_ANGLE)
        return &out.outputAngles[port];
    return &out.outputFrequencies[port];
}

}   // namespace

void ViewBaseModel::setNormalOutput(AOItemType type, AOPortType port, double value)
{
    if (validPort(port))
        *outputItem(normalOutput, type, port) = value;
}

double ViewBaseModel::getNormalOutput(AOItemType type, AOPortType port) const
{
    return validPort(port) ? *outputItem(const_cast<OutputEntity&>(normalOutput), type, port) : 0.0;
}

void ViewBaseModel::setIntervalOutput(AOItemType type, AOPortType port, double value)
{
    if (validPort(port))
        *outputItem(intervalOutput, type, port) = value;
}

double ViewBaseModel::getIntervalOutput(AOItemType type, AOPortType port) const
{
    return validPort(port) ? *outputItem(const_cast<OutputEntity&>(intervalOutput), type, port) : 0.0;
}
