#include "SystemViewModelStub.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QMetaMethod>
#include <QQmlEngine>
#include <QSet>
#include <QTime>

namespace {

// The QML tests and the screenshot program link this file directly, so the
// type is there before their first engine.
void registerSystemViewModelStub()
{
    qmlRegisterType<SystemViewModelStub>("ZOR.TestSupport", 1, 0, "SystemViewModelStub");
}

QString number(double value)
{
    return QString::number(value, 'g', 10);
}

QString flag(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(registerSystemViewModelStub)

SystemViewModelStub::SystemViewModelStub(QObject* parent)
    : QObject(parent)
{
    for (int i = 0; i < 16; ++i)
        states.append(0);
    // PD1..PD5 and the empty-battery time, in the device's order.
    batteryConfig = {30, 20, 10, 5, 95, 10};
    timeZoneNames = QStringList{QStringLiteral("(UTC+08:00) 北京"), QStringLiteral("(UTC+09:00) 东京"),
                                QStringLiteral("(UTC+00:00) 伦敦")};
}

void SystemViewModelStub::record(const QString& call)
{
    calls.append(call);
    emit changed();
}

QStringList SystemViewModelStub::stubMissingIn(QObject* other) const
{
    QStringList missing;
    if (!other)
        return {QStringLiteral("(no object)")};
    QSet<QString> offered;
    const QMetaObject* theirs = other->metaObject();
    for (int i = 0; i < theirs->methodCount(); ++i) {
        const QMetaMethod m = theirs->method(i);
        offered.insert(QString::fromLatin1(m.name()) + QLatin1Char('/') + QString::number(m.parameterCount()));
    }
    const QMetaObject* mine = metaObject();
    for (int i = mine->methodOffset(); i < mine->methodCount(); ++i) {
        const QMetaMethod m = mine->method(i);
        if (m.methodType() == QMetaMethod::Signal)
            continue;
        const QString name = QString::fromLatin1(m.name());
        if (name.startsWith(QLatin1String("stub")))
            continue;
        const QString key = name + QLatin1Char('/') + QString::number(m.parameterCount());
        if (!offered.contains(key))
            missing.append(key);
    }
    return missing;
}

QStringList SystemViewModelStub::stubCallsStartingWith(const QString& prefix) const
{
    QStringList found;
    for (const QString& call : calls) {
        if (call.startsWith(prefix))
            found.append(call);
    }
    return found;
}

void SystemViewModelStub::setRateVRange(double value)
{
    rateVoltage = value;
    record(QStringLiteral("setRateVRange(%1)").arg(number(value)));
}

void SystemViewModelStub::setRateIRange(double value)
{
    rateCurrent = value;
    record(QStringLiteral("setRateIRange(%1)").arg(number(value)));
}

void SystemViewModelStub::setRateFrequency(double value)
{
    rateFrequency = value;
    record(QStringLiteral("setRateFrequency(%1)").arg(number(value)));
}

void SystemViewModelStub::setDitherTime(double value)
{
    ditherTime = value;
    record(QStringLiteral("setDitherTime(%1)").arg(number(value)));
}

void SystemViewModelStub::setSuspendTime(double seconds)
{
    // Stored as whole seconds, as the configuration keeps it.
    suspendTime = seconds < 0 ? 0 : double(quint32(seconds));
    record(QStringLiteral("setSuspendTime(%1)").arg(number(seconds)));
}

void SystemViewModelStub::setBeepEnabled(bool enable)
{
    beepEnabled = enable;
    record(QStringLiteral("setBeepEnabled(%1)").arg(flag(enable)));
}

void SystemViewModelStub::setBeep()
{
    ++beepRequests;
    emit changed();
}

void SystemViewModelStub::setSystemStyle(int style)
{
    systemStyle = style;
    record(QStringLiteral("setSystemStyle(%1)").arg(style));
}

void SystemViewModelStub::setLanuageType(int type)
{
    languageType = type;
    record(QStringLiteral("setLanuageType(%1)").arg(type));
}

void SystemViewModelStub::setDevicePowerAmpEnabled(bool enable)
{
    powerAmpEnabled = enable;
    record(QStringLiteral("setDevicePowerAmpEnabled(%1)").arg(flag(enable)));
}

void SystemViewModelStub::setConnectedEnabled(bool enable)
{
    connectedEnabled = enable;
    record(QStringLiteral("setConnectedEnabled(%1)").arg(flag(enable)));
    if (enable && connectRefused) {
        // As the service does before the switch returns.
        connectedEnabled = false;
        emit sigNetServiceRefused(QStringLiteral("TCP 10901: Address already in use"));
    }
}

bool SystemViewModelStub::checkSettingPwd(QString text, int pageType) const
{
    return text == (pageType == 1 ? QStringLiteral("47190263") : QStringLiteral("58302914"));
}

bool SystemViewModelStub::setSystemTime(QString time)
{
    record(QStringLiteral("setSystemTime(%1)").arg(time));
    return QDateTime::fromString(time, QStringLiteral("yyyy-MM-dd hh:mm:ss")).isValid();
}

void SystemViewModelStub::reboot()
{
    record(QStringLiteral("reboot()"));
}

QString SystemViewModelStub::takeStartupNotice()
{
    const QString text = startupNotice;
    startupNotice.clear();
    emit changed();
    return text;
}

void SystemViewModelStub::stubTellStartupNotice(const QString& text)
{
    startupNotice = text;
    emit changed();
    emit sigStartupNotice();
}

void SystemViewModelStub::setAuxDCVSwitch(int type)
{
    auxDCSwitch = type;
    record(QStringLiteral("setAuxDCVSwitch(%1)").arg(type));
}

void SystemViewModelStub::setAuxDCVSwitchValue(double value)
{
    auxDCValue = value;
    record(QStringLiteral("setAuxDCVSwitchValue(%1)").arg(number(value)));
}

int SystemViewModelStub::getState(int type) const
{
    return type >= 0 && type < states.size() ? states.at(type).toInt() : 0;
}

bool SystemViewModelStub::getAlarmLowStorageChanged()
{
    record(QStringLiteral("getAlarmLowStorageChanged()"));
    const bool was = lowStorageChanged;
    lowStorageChanged = false;
    return was;
}

double SystemViewModelStub::updateMaxBigCurrentContinueTime()
{
    record(QStringLiteral("updateMaxBigCurrentContinueTime()"));
    return bigCurrentLimit;
}

int SystemViewModelStub::getBatteryPDType()
{
    record(QStringLiteral("getBatteryPDType()"));
    return batteryPDType;
}

void SystemViewModelStub::setBatteryMosState()
{
    record(QStringLiteral("setBatteryMosState()"));
}

void SystemViewModelStub::setBatteryConfig(int index, int value)
{
    if (index >= 0 && index < batteryConfig.size())
        batteryConfig[index] = value;
    record(QStringLiteral("setBatteryConfig(%1,%2)").arg(index).arg(value));
}

int SystemViewModelStub::getBatteryConfig(int index) const
{
    return index >= 0 && index < batteryConfig.size() ? batteryConfig.at(index).toInt() : 0;
}

void SystemViewModelStub::setBatteryType(int type)
{
    batteryType = type;
    record(QStringLiteral("setBatteryType(%1)").arg(type));
}

void SystemViewModelStub::saveBatteryConfig()
{
    record(QStringLiteral("saveBatteryConfig()"));
}

void SystemViewModelStub::setClkSyncEnabled(bool enable)
{
    clkSyncEnabled = enable;
    record(QStringLiteral("setClkSyncEnabled(%1)").arg(flag(enable)));
}

void SystemViewModelStub::setClockSource(int source)
{
    clockSource = source;
    record(QStringLiteral("setClockSource(%1)").arg(source));
}

void SystemViewModelStub::setTimeZoneCurrentIndex(int index)
{
    timeZoneIndex = index;
    record(QStringLiteral("setTimeZoneCurrentIndex(%1)").arg(index));
}

void SystemViewModelStub::updateTimeZoneOffset(int index)
{
    timeZoneOffset = index * 60;
    record(QStringLiteral("updateTimeZoneOffset(%1)").arg(index));
}

void SystemViewModelStub::setDSTEnabled(bool enable)
{
    dstEnabled = enable;
    record(QStringLiteral("setDSTEnabled(%1)").arg(flag(enable)));
}

void SystemViewModelStub::setExtTriggerInputType(int type)
{
    extInputType = type;
    record(QStringLiteral("setExtTriggerInputType(%1)").arg(type));
}

void SystemViewModelStub::setExtTriggerInputMode(int mode)
{
    extInputMode = mode;
    record(QStringLiteral("setExtTriggerInputMode(%1)").arg(mode));
}

void SystemViewModelStub::setExtTriggerOutputType(int type)
{
    extOutputType = type;
    record(QStringLiteral("setExtTriggerOutputType(%1)").arg(type));
}

void SystemViewModelStub::setExtTriggerOutputMode(int mode)
{
    extOutputMode = mode;
    record(QStringLiteral("setExtTriggerOutputMode(%1)").arg(mode));
}

void SystemViewModelStub::setClockSyncConfig()
{
    record(QStringLiteral("setClockSyncConfig()"));
}

bool SystemViewModelStub::addPPXUtcTime(QString startTime, int intervalTime, int timeCount)
{
    record(QStringLiteral("addPPXUtcTime(%1,%2,%3)").arg(startTime).arg(intervalTime).arg(timeCount));
    const QTime start = QTime::fromString(startTime, QStringLiteral("HH:mm:ss"));
    if (!start.isValid() || timeCount <= 0)
        return false;
    const QDateTime base(QDate::currentDate(), start);
    for (int i = 0; i < timeCount && ppxTimes.size() < 64; ++i)
        ppxTimes.append(base.addSecs(qint64(i) * intervalTime).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    emit changed();
    return true;
}

void SystemViewModelStub::delPPXUtcTime(int index)
{
    if (index >= 0 && index < ppxTimes.size())
        ppxTimes.removeAt(index);
    record(QStringLiteral("delPPXUtcTime(%1)").arg(index));
}

void SystemViewModelStub::clearPPXUtcTime()
{
    ppxTimes.clear();
    record(QStringLiteral("clearPPXUtcTime()"));
}

void SystemViewModelStub::setClockPPXConfig()
{
    record(QStringLiteral("setClockPPXConfig()"));
}

void SystemViewModelStub::conectSuspendEvent()
{
    record(QStringLiteral("conectSuspendEvent()"));
}

void SystemViewModelStub::checkRunSuspend()
{
    record(QStringLiteral("checkRunSuspend()"));
}

void SystemViewModelStub::checkCurrentDateTime()
{
    record(QStringLiteral("checkCurrentDateTime()"));
}

void SystemViewModelStub::loadBattery()
{
    record(QStringLiteral("loadBattery()"));
}

void SystemViewModelStub::saveBattery(uchar mosdata)
{
    record(QStringLiteral("saveBattery(%1)").arg(int(mosdata)));
}

void SystemViewModelStub::setBatterInfoEnable(bool enable)
{
    record(QStringLiteral("setBatterInfoEnable(%1)").arg(flag(enable)));
}

void SystemViewModelStub::testInterrupt()
{
    record(QStringLiteral("testInterrupt()"));
}

void SystemViewModelStub::testAuxDC(bool enable)
{
    record(QStringLiteral("testAuxDC(%1)").arg(flag(enable)));
}

void SystemViewModelStub::testConfig()
{
    record(QStringLiteral("testConfig()"));
}

void SystemViewModelStub::saveConfig(int type, bool hwChecked)
{
    record(QStringLiteral("saveConfig(%1,%2)").arg(type).arg(flag(hwChecked)));
}

void SystemViewModelStub::loadConfig(int type)
{
    record(QStringLiteral("loadConfig(%1)").arg(type));
}
