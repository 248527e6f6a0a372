// ViewBaseModel: the housekeeping the main window runs once a second and the
// system pages set up: battery classes and details, suspend, system clock,
// clock synchronisation, time zones, pulse times, the large-current limit and
// the key beep.

#include "ViewBaseModel.h"

#include "ControllerCenter.h"
#include "ModelBatteryEntity.h"
#include "SystemTimeZone.h"
#include "zoplatform.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>

namespace {

ControllerConfiguration* config()
{
    return ControllerCenter::getInstance()->testConfiguration;
}

// Protection flag of the battery record that keeps the discharge switch open.
constexpr quint16 kBatteryProtectedFlag = 0x1000;
const QString kBacklightPower = QStringLiteral("/sys/class/backlight/backlight/bl_power");
const QString kBeepCommand = QStringLiteral("sh /opt/zor/script/cfgbeep.sh 0.01");
const QString kSystemTimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");

// The zone's offset (ViewBaseModel::getTimeZoneOffset) in seconds, worked
// out in 64 bits; an offset no zone has (beyond 14 h) counts as UTC, as a
// stored one does.
int zoneOffsetSeconds(qint64 minutes)
{
    if (std::llabs(minutes) > ControllerConfiguration::MAX_TIME_ZONE_OFFSET_MINUTES)
        return 0;
    return int(minutes * 60);
}

// Below this many amperes a current may flow without a time limit.
constexpr double kBigCurrent = 12.0;

// Copies fields of the runtime store under its lock.
template <typename Fn>
auto readRuntime(Fn fn)
{
    ControllerRuntime* rt = ControllerCenter::getInstance()->testRuntime;
    rt->dataLock();
    auto value = fn(*rt);
    rt->dataUnlock();
    return value;
}

} // namespace

// ---- Battery ----------------------------------------------------------------------

void ViewBaseModel::loadBattery()
{
    ++testingBatteryCount;
    if (testingBatteryCount % 5 == 0 && testingBatteryCount < 60) {
        center()->batteryStart();
        updateDataToView(DATA_TYPE_RT_BATTERY, -1);
    }
    checkBatteryPDType();
}

int ViewBaseModel::getBatteryState() const
{
    return testingBatteryState;
}

int ViewBaseModel::getBatteryPercent() const
{
    return testingBatteryPercent;
}

int ViewBaseModel::getBatteryMosState() const
{
    return testingBatMosState & 3;
}

int ViewBaseModel::getBatteryPDType() const
{
    return batteryPDType;
}

int ViewBaseModel::checkBatteryPDType()
{
    const ControllerConfiguration* c = config();
    const auto [charging, protectedState] = readRuntime([](ControllerRuntime& rt) {
        return std::make_pair(rt.batteryChargingState, rt.batteryInfoData->infoProtectedState);
    });
    const int p = testingBatteryPercent;

    BATTERYPDType type = BAT_PD_TYPE_NONE;
    if (charging != 0) {
        // On external power: a full pack whose discharge switch was opened
        // by its protection gets it closed again.
        if (charging > 0 && p >= c->percentD5 && (protectedState & kBatteryProtectedFlag) && bOpenMOS)
            saveBattery(0);
        batteryPDType = BAT_PD_TYPE_NONE;
        return batteryPDType;
    }

    if (p <= c->percentD4)
        type = BAT_PD_TYPE_ZERO;
    else if (p <= c->percentD3)
        type = BAT_PD_TYPE_TWO;
    else if (p <= c->percentD2)
        type = BAT_PD_TYPE_FIVE_ON;
    else if (p <= c->percentD1)
        type = BAT_PD_TYPE_TEN_ON;

    if (runtimeState(STATE_TYPE_RUNNING) != 0) {
        const double current = center()->testTestor->getTestCurrentMax();
        if (p <= c->percentD2 && current >= 2.0)
            type = BAT_PD_TYPE_FIVE_OFF;
        else if (p > c->percentD2 && p <= c->percentD1 && current >= 5.0)
            type = BAT_PD_TYPE_TEN_OFF;
        if (type == BAT_PD_TYPE_ZERO || type == BAT_PD_TYPE_TWO || type == BAT_PD_TYPE_FIVE_OFF
            || type == BAT_PD_TYPE_TEN_OFF)
            testInterrupt();
    }

    if (runtimeState(STATE_TYPE_AUXDCV) != 0 && p <= c->percentD3) {
        setAuxDCVSwitch(AUXDC_SWITCH_NONE);
        setAuxDCVSwitchValue(0.0);
        testAuxDC(false);
    }
    if (type != BAT_PD_TYPE_ZERO)
        bCloseMOS = true;
    batteryPDType = type;
    return batteryPDType;
}

void ViewBaseModel::setBatteryMosState()
{
    const auto [charging, protectedState] = readRuntime([](ControllerRuntime& rt) {
        return std::make_pair(rt.batteryChargingState, rt.batteryInfoData->infoProtectedState);
    });
    if (charging == 0 && !(protectedState & kBatteryProtectedFlag) && bCloseMOS)
        saveBattery(2);
}

void ViewBaseModel::saveBattery(uchar mosdata)
{
    if (mosdata == 2) {
        bCloseMOS = false;
        bOpenMOS = true;
    } else if (mosdata == 0) {
        bCloseMOS = true;
        bOpenMOS = false;
    }
    center()->saveBattery(mosdata);
}

void ViewBaseModel::setBatteryConfig(int index, int value)
{
    using C = ControllerConfiguration;
    static constexpr qint32 C::*kMembers[] = {&C::percentD1, &C::percentD2,  &C::percentD3,
                                              &C::percentD4, &C::percentD5, &C::continueTime};
    if (index >= 0 && index < int(std::size(kMembers)))
        config()->set(kMembers[index], value);
}

int ViewBaseModel::getBatteryConfig(int index) const
{
    const ControllerConfiguration* c = config();
    switch (index) {
    case 0: return c->percentD1;
    case 1: return c->percentD2;
    case 2: return c->percentD3;
    case 3: return c->percentD4;
    case 4: return c->percentD5;
    case 5: return c->continueTime;
    default: return 0;
    }
}

void ViewBaseModel::setBatteryType(int type)
{
    config()->set(&ControllerConfiguration::batteryType, type);
}

int ViewBaseModel::getBatteryType() const
{
    return config()->batteryType;
}

namespace {

ModelBatteryEntity batteryRecord()
{
    return readRuntime([](ControllerRuntime& rt) { return ModelBatteryEntity(*rt.batteryInfoData); });
}

} // namespace

double ViewBaseModel::getBatteryVoltageTotal() const { return batteryRecord().infoVoltageTotal / 1000.0; }
double ViewBaseModel::getBatteryVoltageAvg() const { return batteryRecord().infoVoltageAverage / 1000.0; }
double ViewBaseModel::getBatteryVoltageMax() const { return batteryRecord().infoVoltageMax / 1000.0; }
double ViewBaseModel::getBatteryVoltageMin() const { return batteryRecord().infoVoltageMin / 1000.0; }
int ViewBaseModel::getBatteryVoltageDiff() const { return batteryRecord().infoVoltageDiff; }
double ViewBaseModel::getBatteryCurrent() const { return batteryRecord().infoCurrent / 1000.0; }
int ViewBaseModel::getBatteryLoopCount() const { return batteryRecord().infoLoopCount; }
int ViewBaseModel::getBatteryRateCap() const { return batteryRecord().infoRateCapacity; }
int ViewBaseModel::getBatteryResiCap() const { return batteryRecord().infoResidualCapCapacity; }

QString ViewBaseModel::getBatterySoftVersion() const
{
    const quint8 v = batteryRecord().infoSoftVersion;
    return QString::number(v >> 4) + QLatin1Char('.') + QString::number(v & 0x0F);
}

QString ViewBaseModel::getBatteryProduceDate() const
{
    const quint16 d = batteryRecord().infoProduceDate;
    return QString::number(((d >> 9) & 0x7F) + 2000) + QLatin1Char('-') + QString::number((d >> 5) & 0x0F)
        + QLatin1Char('-') + QString::number(d & 0x1F);
}

QString ViewBaseModel::getBatteryFETState() const
{
    const quint8 fet = batteryRecord().infoFETState;
    return ((fet & 1) ? tr("充电开/") : tr("充电关/")) + ((fet & 2) ? tr("放电开") : tr("放电关"));
}

QString ViewBaseModel::getBatteryProtectedState() const
{
    return QStringLiteral("0x") + QString::number(batteryRecord().infoProtectedState, 16);
}

// ---- Suspend --------------------------------------------------------------------------

void ViewBaseModel::conectSuspendEvent()
{
    // The application object announces every mouse and key event.
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->metaObject()->indexOfSignal("sigMouseEvent()") < 0)
        return;
    connect(app, SIGNAL(sigMouseEvent()), this, SLOT(updateSuspendTime()), Qt::UniqueConnection);
}

void ViewBaseModel::disconectSuspendEvent()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || app->metaObject()->indexOfSignal("sigMouseEvent()") < 0)
        return;
    disconnect(app, SIGNAL(sigMouseEvent()), this, SLOT(updateSuspendTime()));
}

void ViewBaseModel::setBacklight(bool on)
{
    const QString path = zoplat::devicePath(kBacklightPower);
    runDeviceTask([path, on] {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append) || file.write(on ? "0\n" : "1\n") != 2)
            qWarning().noquote() << "ViewBaseModel: backlight not switched:" << path;
    });
}

void ViewBaseModel::setDeviceLowPower(bool enable)
{
    runDeviceTask([enable] { ControllerCenter::getInstance()->testRuntime->doDeviceLowPower(enable); });
}

int ViewBaseModel::getSuspendType() const
{
    return testingSuspendType;
}

void ViewBaseModel::updateSuspendTime()
{
    testingSuspendTime = zoplat::monotonicMs();
    if (testingSuspendType == SUSPEND_TYPE_NONE)
        return;
    setBacklight(true);
    if (testingSuspendType == SUSPEND_TYPE_L2)
        setDeviceLowPower(false);
    testingSuspendType = SUSPEND_TYPE_NONE;
}

void ViewBaseModel::checkRunSuspend()
{
    // A monotonic count: a change of the wall clock (or midnight) is no activity.
    const qint64 now = zoplat::monotonicMs();
    const double seconds = double(now - testingSuspendTime) / 1000.0;
    if (seconds < getSuspendTime())
        return;
    SUSPENDType wanted = SUSPEND_TYPE_NONE;
    if (testingSTATE[STATE_TYPE_OUTPUTTED] || testingSTATE[STATE_TYPE_POWERED] || testingSTATE[STATE_TYPE_AUXDCV]
        || testingSTATE[STATE_TYPE_UPGRADE])
        wanted = SUSPEND_TYPE_L1;
    else if (getPowerTMax() < 50)
        wanted = SUSPEND_TYPE_L2;
    if (wanted == SUSPEND_TYPE_NONE || wanted == testingSuspendType)
        return;
    const qint32 previous = testingSuspendType;
    testingSuspendType = wanted;
    setBacklight(false);
    if (wanted == SUSPEND_TYPE_L2)
        setDeviceLowPower(true);
    else if (previous == SUSPEND_TYPE_L2)
        setDeviceLowPower(false);   // the instrument is busy again: full power
    testingSuspendTime = now;
}

double ViewBaseModel::getSuspendTime() const
{
    return double(config()->suspendTime);
}

void ViewBaseModel::setSuspendTime(double seconds)
{
    if (!(seconds > 0))
        seconds = 0;
    seconds = std::min(seconds, double(std::numeric_limits<quint32>::max()));
    config()->set(&ControllerConfiguration::suspendTime, quint32(seconds));
}

// ---- Clock ---------------------------------------------------------------------------

bool ViewBaseModel::setSystemTime(QString time)
{
    const QDateTime when = QDateTime::fromString(time, kSystemTimeFormat);
    if (!when.isValid() || when.toString(kSystemTimeFormat) != time) {
        qWarning().noquote() << "ViewBaseModel: system time refused:" << time;
        return false;
    }
    if (zoplat::setSystemTime(when.toSecsSinceEpoch()) != 0)
        return false;
    // The hardware clock follows in the background.
    runDeviceTask([] { zoplat::runCommand(QStringLiteral("hwclock -w")); });
    return true;
}

void ViewBaseModel::checkCurrentDateTime()
{
    QDateTime now = nowDateTime();
    if (now.date().year() < 2000)
        now = QDateTime(QDate(2001, 1, 1), now.time());
    setSystemTime(now.toString(kSystemTimeFormat));
}

bool ViewBaseModel::getClkSyncEnabled() const { return config()->bClkSyncEnabled; }

void ViewBaseModel::setClkSyncEnabled(bool enable)
{
    config()->set(&ControllerConfiguration::bClkSyncEnabled, enable);
    config()->updateClockSyncEnable();
}

int ViewBaseModel::getClockSource() const { return config()->clockSource; }
void ViewBaseModel::setClockSource(int source) { config()->set(&ControllerConfiguration::clockSource, source); }
int ViewBaseModel::getTimeZoneCurrentIndex() const { return config()->timeZone; }
void ViewBaseModel::setTimeZoneCurrentIndex(int index) { config()->set(&ControllerConfiguration::timeZone, index); }
bool ViewBaseModel::getDSTEnabled() const { return config()->bDSTEnable; }
void ViewBaseModel::setDSTEnabled(bool enable) { config()->set(&ControllerConfiguration::bDSTEnable, enable); }
int ViewBaseModel::getExtTriggerInputType() const { return config()->extTrigInnputType; }

void ViewBaseModel::setExtTriggerInputType(int type)
{
    config()->set(&ControllerConfiguration::extTrigInnputType, type);
}

int ViewBaseModel::getExtTriggerInputMode() const { return config()->extTrigInnputMode; }

void ViewBaseModel::setExtTriggerInputMode(int mode)
{
    config()->set(&ControllerConfiguration::extTrigInnputMode, mode);
}

int ViewBaseModel::getExtTriggerOutputType() const { return config()->extTrigOutputType; }

void ViewBaseModel::setExtTriggerOutputType(int type)
{
    config()->set(&ControllerConfiguration::extTrigOutputType, type);
}

int ViewBaseModel::getExtTriggerOutputMode() const { return config()->extTrigOutputMode; }

void ViewBaseModel::setExtTriggerOutputMode(int mode)
{
    config()->set(&ControllerConfiguration::extTrigOutputMode, mode);
}

void ViewBaseModel::setClockSyncConfig()
{
    center()->updateClockSyncConfig();
}

bool ViewBaseModel::getClkSyncState() const
{
    return readRuntime([](ControllerRuntime& rt) { return rt.clockSyncState; });
}

bool ViewBaseModel::takeClockStateChange()
{
    const ControllerConfiguration* c = config();
    const ShownClockState shown{getClkSyncState(), c->ppxUTCTimeList.size(),
                                c->ppxUTCTimeList.isEmpty() ? 0u : c->ppxUTCTimeList.first(), c->timeZoneOffsetMin};
    if (shownClockState == shown)
        return false;
    shownClockState = shown;
    return true;
}

int ViewBaseModel::getTimeZoneCount() const { return timeZoneHelper->getTimeZoneCount(); }
QString ViewBaseModel::getTimeZoneId(int index) const { return timeZoneHelper->getTimeZoneId(index); }
QString ViewBaseModel::getTimeZoneName(int index) const { return timeZoneHelper->getTimeZoneDisplayName(index); }
int ViewBaseModel::getTimeZoneOffsetFromUtc(int index) const { return timeZoneHelper->getTimeZoneOffsetFromUtc(index); }
bool ViewBaseModel::getTimeZoneDaylightEnable(int index) const { return timeZoneHelper->getTimeZoneDaylightEnable(index); }
int ViewBaseModel::getTimeZoneIndexFromId(QString id) const { return timeZoneHelper->getTimeZoneIndexFromId(id); }

void ViewBaseModel::updateTimeZoneOffset(int index)
{
    config()->set(&ControllerConfiguration::timeZoneOffsetMin, timeZoneHelper->getCustomTZOffsetMin(index));
}

int ViewBaseModel::getTimeZoneOffset() const
{
    // No zone is shown from a list that could not be read: none applies.
    return timeZoneHelper->isCustomListRefused() ? 0 : config()->timeZoneOffsetMin;
}

bool ViewBaseModel::getTimeZoneListRefused() const
{
    return timeZoneHelper->isCustomListRefused();
}

// ---- Pulse times -----------------------------------------------------------------------

bool ViewBaseModel::addPPXUtcTime(QString startTime, int intervalTime, int timeCount)
{
    const QTime time = QTime::fromString(startTime, QStringLiteral("HH:mm:ss"));
    if (!time.isValid() || timeCount <= 0 || (timeCount > 1 && intervalTime <= 0)) {
        qWarning().noquote() << "ViewBaseModel: pulse times refused:" << startTime << intervalTime << timeCount;
        return false;
    }
    QList<quint32>& list = config()->ppxUTCTimeList;
    const int n = std::min(timeCount, PPX_MAX_COUNT - list.size());
    if (n <= 0)
        return false;

    // The time of day is the zone's: take the zone's own date, not the
    // system's local one, or near midnight the pulse lands a day off.
    const int offsetSec = zoneOffsetSeconds(getTimeZoneOffset());
    const QDateTime zoneNow = QDateTime::fromMSecsSinceEpoch(zoplat::systemTimeMs(), Qt::OffsetFromUTC, offsetSec);
    const qint64 base = QDateTime(zoneNow.date(), time, Qt::OffsetFromUTC, offsetSec).toSecsSinceEpoch();
    const qint64 last = base + qint64(n - 1) * qint64(std::max(intervalTime, 0));
    if (base < 0 || last > qint64(std::numeric_limits<quint32>::max()))
        return false;
    for (int i = 0; i < n; ++i)
        list.append(quint32(base + qint64(i) * intervalTime));
    return true;
}

void ViewBaseModel::delPPXUtcTime(int index)
{
    QList<quint32>& list = config()->ppxUTCTimeList;
    if (index >= 0 && index < list.size())
        list.removeAt(index);
}

void ViewBaseModel::clearPPXUtcTime()
{
    config()->ppxUTCTimeList.clear();
}

quint32 ViewBaseModel::getPPXUtcTime(int index) const
{
    const QList<quint32>& list = config()->ppxUTCTimeList;
    return index >= 0 && index < list.size() ? list.at(index) : 0;
}

int ViewBaseModel::getPPXTimeCount() const
{
    return config()->ppxUTCTimeList.size();
}

QString ViewBaseModel::getPPXUtcTimeStr(int index) const
{
    const QList<quint32>& list = config()->ppxUTCTimeList;
    if (index < 0 || index >= list.size())
        return QString();
    return QDateTime::fromSecsSinceEpoch(list.at(index), Qt::OffsetFromUTC, zoneOffsetSeconds(getTimeZoneOffset()))
        .toString(kSystemTimeFormat);
}

void ViewBaseModel::sortClockPPXTimes()
{
    QList<quint32>& list = config()->ppxUTCTimeList;
    std::sort(list.begin(), list.end());
    const quint32 clockTime = readRuntime([](ControllerRuntime& rt) { return rt.clockTime; });
    while (!list.isEmpty() && list.first() < clockTime)
        list.removeFirst();
}

void ViewBaseModel::setClockPPXConfig()
{
    config()->updateClockPPXConfig();
}

// ---- Large current, beep ---------------------------------------------------------------

double ViewBaseModel::updateMaxBigCurrentContinueTime()
{
    ControllerTestor* testor = center()->testTestor;
    if (runtimeState(STATE_TYPE_RUNNING) == 0) {
        testor->historyMaxCurrent = 0;
        return -1.0;
    }
    const double current = currentOutputMax();
    if (current < kBigCurrent) {
        testor->historyMaxCurrent = 0;
        return 0.0;
    }
    if (testor->historyMaxCurrent.load() < current)
        testor->historyMaxCurrent = qint32(std::min(current, 1e6));
    return 120.0 - 3.0 * testor->historyMaxCurrent.load();
}

bool ViewBaseModel::getBeepEnabled() const { return config()->beepEnabled; }
void ViewBaseModel::setBeepEnabled(bool enable) { config()->set(&ControllerConfiguration::beepEnabled, enable); }

void ViewBaseModel::setBeep()
{
    if (config()->beepEnabled)
        runDeviceTask([] { zoplat::runCommand(kBeepCommand); });
}
