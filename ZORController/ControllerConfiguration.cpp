#include "ControllerConfiguration.h"

#include "BaseUtilityHelper.h"
#include "BaseXmlFile.h"
#include "BaseXmlHelper.h"
#include "CommDriverData.h"
#include "driverbase.h"
#include "driverclock.h"
#include "zoplatform.h"

#include <QDebug>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include <cmath>

const QString ControllerConfiguration::SOFTWARE_NAME_CN_0 = QString::fromUtf8("继电保护测试仪");
const QString ControllerConfiguration::SOFTWARE_NAME_CN_1 = QString::fromUtf8("便携式继电保护测试仪");
const QString ControllerConfiguration::SOFTWARE_NAME_EN_0 = QStringLiteral("Relay Test Set");
const QString ControllerConfiguration::SOFTWARE_NAME_EN_1 = QStringLiteral("Portable Relay Test Set");
const QString ControllerConfiguration::SOFTWARE_NAME_PT_0 = QStringLiteral("Relay Test Set");
const QString ControllerConfiguration::SOFTWARE_NAME_PT_1 = QStringLiteral("Portable Relay Test Set");

namespace {

// s, contact debounce at a first start and for a file without the key, as
// the driver's own default.
constexpr double kDefaultDitherTime = 0.015;

const QString kSoftFile = QStringLiteral("softinfo.xml");
const QString kHardFile = QStringLiteral("devinfo.xml");
const QString kSystemFile = QStringLiteral("sysinfo.xml");
const QString kBatteryFile = QStringLiteral("batteryinfo.xml");

// Typed reads of one key. A missing or empty key gives the default; so does
// a numeric text that does not parse (storing 0 would hand a zero range or
// period to the driver and the view models).
class KeyReader
{
public:
    explicit KeyReader(const BaseXmlHelper& xml) : xml(xml) {}

    QString text(const char* key, const QString& def) const
    {
        return xml.value(QLatin1String(key), def).toString();
    }

    double real(const char* key, double def) const
    {
        const QString t = raw(key);
        if (t.isEmpty())
            return def;
        bool ok = false;
        const double v = t.trimmed().toDouble(&ok);
        if (!ok) {
            qWarning() << "configuration: key" << key << "holds" << t << "- not a number, default" << def << "kept";
            return def;
        }
        return v;
    }

    // A full scale or range: must be a finite number above 0.
    double range(const char* key, double def) const
    {
        const double v = real(key, def);
        if (!std::isfinite(v) || v <= 0.0) {
            qWarning() << "configuration: key" << key << "holds" << v << "- not a usable range, default" << def << "kept";
            return def;
        }
        return v;
    }

    qint32 integer(const char* key, qint32 def) const
    {
        const QString t = raw(key);
        if (t.isEmpty())
            return def;
        bool ok = false;
        const qint32 v = t.trimmed().toInt(&ok);
        if (!ok) {
            qWarning() << "configuration: key" << key << "holds" << t << "- not an integer, default" << def << "kept";
            return def;
        }
        return v;
    }

    // An integer that must lie in [low, high].
    qint32 integerIn(const char* key, qint32 def, qint32 low, qint32 high) const
    {
        const qint32 v = integer(key, def);
        if (v < low || v > high) {
            qWarning() << "configuration: key" << key << "holds" << v << "- outside" << low << ".." << high
                       << ", default" << def << "kept";
            return def;
        }
        return v;
    }

    quint32 uinteger(const char* key, quint32 def) const
    {
        const QString t = raw(key);
        if (t.isEmpty())
            return def;
        bool ok = false;
        const quint32 v = t.trimmed().toUInt(&ok);
        if (!ok) {
            qWarning() << "configuration: key" << key << "holds" << t << "- not an unsigned integer, default" << def << "kept";
            return def;
        }
        return v;
    }

    // Empty, "0" and "false" (any case) are false; any other text true.
    bool boolean(const char* key, bool def) const
    {
        const QString t = raw(key);
        if (t.isEmpty())
            return def;
        return !(t == QLatin1String("0") || t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0);
    }

private:
    QString raw(const char* key) const { return xml.value(QLatin1String(key), QString()).toString(); }

    const BaseXmlHelper& xml;
};

} // namespace

ControllerConfiguration::ControllerConfiguration(QObject* parent)
    : QObject(parent)
    , maxIRange(10.0)
    , maxVRange(265.0)
    , levelISmall(1.0)
    , levelVSmall(26.5)
    , fanSpeedFrequency(5000)
    , tempThresholdAlarm(70)
    , tempThresholdResume(40)
    , periodFrequency(28000)
    , ditherTime(kDefaultDitherTime)
    , suspendTime(300)
    , beepEnabled(true)
    , rateVoltage(57.735)
    , rateCurrent(1.0)
    , rateFrequency(50.0)
    , fpgaVersion(0)
    , percentD1(10)
    , percentD2(5)
    , percentD3(2)
    , percentD4(0)
    , percentD5(80)
    , continueTime(5)
    , batteryType(0)
    , softwareName(SOFTWARE_NAME_CN_0)
    , softwareVersion(QString::fromLatin1(SOFTWARE_VERSION))
    , deviceModel(QStringLiteral("ZOR"))
    , deviceCode(QStringLiteral("00001"))
    , softwareType(SOFTWARE_TYPE)
    , volPhasesType(PHASES_TYPE_THREE)
    , curPhasesType(PHASES_TYPE_THREE)
    , auxdcEnable(true)
    , auxdcType(AUXDC_TYPE_CONSTANT)
    , auxdcLevelType(0)
    , auxdcMaxValue(350.0)
    , powerAmpType(POWER_AMP_TYPE_ANALOG)
    , systemPowerType(SYSTEM_POWER_TYPE_PAO)
    , deviceEnergyEnable(false)
    , devicePaoOnEnable(false)
    , styleType(STYLE_TYPE_DEFAULT)
    , lanuageType(LANGUAGE_TYPE_ENGLISH)
    , auxDCLevelName{QStringLiteral("24V"), QStringLiteral("48V")}
    , auxDCLevelVisible{true, true}
    , initDriverEnable(false)
    , bClkSyncEnabled(false)
    , clockSource(CLOCK_SOURCE_GPS)
    , timeZone(0)
    , bDSTEnable(false)
    , extTrigInnputType(IN_TIME_PULSE)
    , extTrigInnputMode(FALLING_EDGE)
    , extTrigOutputType(OUT_TIME_PULSE)
    , extTrigOutputMode(FALLING_EDGE)
    , timeZoneOffsetMin(0)
    , bNetConnect(false)
{
}

ControllerConfiguration::~ControllerConfiguration() = default;

QString ControllerConfiguration::datFilePath(const QString& fileName) const
{
    return BaseUtilityHelper::getAppRootPath() + QStringLiteral("/dat/") + fileName;
}

// ---- Saves ------------------------------------------------------------------

namespace {

// A file that is there but holds no readable XML document; a folder, a FIFO
// or a device in its place is none either.
bool isDamagedFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return false;
    QDomDocument doc;
    return !BaseXmlFile::parseFile(doc, path, BaseXmlFile::Kind::Settings);
}

// A damaged file is what the user had: it is moved aside, never replaced.
// Once all the names aside are taken, the oldest copy there gives way, so the
// settings are still saved.
bool keepDamagedFile(const QString& path)
{
    // Only a file holds what the user had; the save replaces anything else
    // (a folder is not replaced, and the save fails).
    if (!isDamagedFile(path) || !QFileInfo(path).isFile())
        return true;
    const QString aside = BaseXmlFile::moveAside(path);
    if (aside.isEmpty()) {
        qWarning() << "configuration:" << path << "holds no XML document and could not be moved aside;"
                   << "it is not replaced";
        return false;
    }
    qWarning() << "configuration:" << path << "held no XML document; kept as" << aside;
    return true;
}

// Writes the document atomically; the folder is created on a first start.
bool commitFile(BaseXmlHelper& xml, const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!keepDamagedFile(path))
        return false;
    if (!xml.sync()) {
        qWarning() << "configuration: saving" << path << "failed; the previous file is kept";
        return false;
    }
    return true;
}

} // namespace

bool ControllerConfiguration::saveSoftwareConfig()
{
    QMutexLocker lock(&mutex);
    const QString path = datFilePath(kSoftFile);
    BaseXmlHelper xml(path, false);
    xml.setValue(QStringLiteral("DITHER_TIME"), ditherTime);
    xml.setValue(QStringLiteral("RATE_VOLTAGE"), rateVoltage);
    xml.setValue(QStringLiteral("RATE_CURRENT"), rateCurrent);
    xml.setValue(QStringLiteral("RATE_FREQUENCY"), rateFrequency);
    xml.setValue(QStringLiteral("SYSTEM_POWER_TYPE"), qint32(systemPowerType));
    xml.setValue(QStringLiteral("SUSPEND_TIME"), suspendTime);
    xml.setValue(QStringLiteral("BEEP_ENABLE"), beepEnabled);
    xml.setValue(QStringLiteral("STYLE_TYPE"), qint32(styleType));
    xml.setValue(QStringLiteral("LANUAGE_TYPE"), qint32(lanuageType));
    xml.setValue(QStringLiteral("CLOCK_SYNC_ENABLED"), bClkSyncEnabled);
    xml.setValue(QStringLiteral("CLOCK_SOURCE"), qint32(clockSource));
    xml.setValue(QStringLiteral("TIME_ZONE"), timeZone);
    xml.setValue(QStringLiteral("TIME_ZONE_OFFSET_MINUTES"), timeZoneOffsetMin);
    xml.setValue(QStringLiteral("DST_ENABLE"), bDSTEnable);
    xml.setValue(QStringLiteral("EXT_TRIGGER_INPUT_TYPE"), qint32(extTrigInnputType));
    xml.setValue(QStringLiteral("EXT_TRIGGER_INPUT_MODE"), qint32(extTrigInnputMode));
    xml.setValue(QStringLiteral("EXT_TRIGGER_OUTPUT_TYPE"), qint32(extTrigOutputType));
    xml.setValue(QStringLiteral("EXT_TRIGGER_OUTPUT_MODE"), qint32(extTrigOutputMode));
    const bool ok = commitFile(xml, path);
    sendSync();
    return ok;
}

bool ControllerConfiguration::saveHardwareConfig(bool hwChecked)
{
    QMutexLocker lock(&mutex);
    if (hwChecked)
        return true;
    const QString path = datFilePath(kHardFile);
    BaseXmlHelper xml(path, false);
    xml.setValue(QStringLiteral("DEVICE_MODEL"), deviceModel);
    xml.setValue(QStringLiteral("DEVICE_CODE"), deviceCode);
    xml.setValue(QStringLiteral("DEVICE_AO_MAX_V_RANGE"), maxVRange);
    xml.setValue(QStringLiteral("DEVICE_AO_MAX_I_RANGE"), maxIRange);
    xml.setValue(QStringLiteral("DEVICE_AO_LEVEL_V_SMALL"), levelVSmall);
    xml.setValue(QStringLiteral("DEVICE_AO_LEVEL_I_SMALL"), levelISmall);
    xml.setValue(QStringLiteral("DEVICE_AO_T_THRESHOLD_ALARM"), tempThresholdAlarm);
    xml.setValue(QStringLiteral("DEVICE_AO_T_THRESHOLD_RESUME"), tempThresholdResume);
    xml.setValue(QStringLiteral("DEVICE_VOLTAGE_PHASES_TYPE"), qint32(volPhasesType));
    xml.setValue(QStringLiteral("DEVICE_CURRENT_PHASES_TYPE"), qint32(curPhasesType));
    xml.setValue(QStringLiteral("DEVICE_AUXDC_ENABLE"), auxdcEnable);
    xml.setValue(QStringLiteral("DEVICE_AUXDC_TYPE"), qint32(auxdcType));
    xml.setValue(QStringLiteral("DEVICE_AUXDC_LEVEL_TYPE"), auxdcLevelType);
    xml.setValue(QStringLiteral("DEVICE_AUXDC_MAX"), auxdcMaxValue);
    xml.setValue(QStringLiteral("DEVICE_POWER_AMP_TYPE"), qint32(powerAmpType));
    xml.setValue(QStringLiteral("DEVICE_ENERGY_ENABLE"), deviceEnergyEnable);
    xml.setValue(QStringLiteral("DEVICE_PAO_ON_ENABLE"), devicePaoOnEnable);
    const bool ok = commitFile(xml, path);
    sendSync();
    return ok;
}

bool ControllerConfiguration::saveBatteryConfig()
{
    QMutexLocker lock(&mutex);
    const QString path = datFilePath(kBatteryFile);
    BaseXmlHelper xml(path, false);
    xml.setValue(QStringLiteral("PERCENT_D_1"), percentD1);
    xml.setValue(QStringLiteral("PERCENT_D_2"), percentD2);
    xml.setValue(QStringLiteral("PERCENT_D_3"), percentD3);
    xml.setValue(QStringLiteral("PERCENT_D_4"), percentD4);
    xml.setValue(QStringLiteral("PERCENT_D_5"), percentD5);
    xml.setValue(QStringLiteral("CONTINUE_TIME"), continueTime);
    xml.setValue(QStringLiteral("BATTERY_TYPE"), batteryType);
    const bool ok = commitFile(xml, path);
    sendSync();
    return ok;
}

// ---- Loads ------------------------------------------------------------------

void ControllerConfiguration::loadSoftwareConfig()
{
    {
        QMutexLocker lock(&mutex);
        const QString path = datFilePath(kSoftFile);
        noteFileState(kSoftFile, path);
        if (QFileInfo::exists(path)) {
            BaseXmlHelper xml(path, true);
            const KeyReader r(xml);
            ditherTime = r.real("DITHER_TIME", kDefaultDitherTime);
            rateVoltage = r.real("RATE_VOLTAGE", 57.735);
            rateCurrent = r.real("RATE_CURRENT", 1.0);
            rateFrequency = r.real("RATE_FREQUENCY", 50.0);
            systemPowerType = SystemPowerType(r.integer("SYSTEM_POWER_TYPE", 1));
            suspendTime = r.uinteger("SUSPEND_TIME", 300);
            beepEnabled = r.boolean("BEEP_ENABLE", false);
            styleType = STYLEType(r.integer("STYLE_TYPE", 0));
            lanuageType = LANGUAGEType(r.integer("LANUAGE_TYPE", 0));
            bClkSyncEnabled = r.boolean("CLOCK_SYNC_ENABLED", false);
            clockSource = ClockSourceType(r.integer("CLOCK_SOURCE", 0));
            timeZone = r.integer("TIME_ZONE", 0);
            timeZoneOffsetMin = r.integerIn("TIME_ZONE_OFFSET_MINUTES", 0, -MAX_TIME_ZONE_OFFSET_MINUTES,
                                            MAX_TIME_ZONE_OFFSET_MINUTES);
            bDSTEnable = r.boolean("DST_ENABLE", false);
            extTrigInnputType = ExternalTriggerInputType(r.integer("EXT_TRIGGER_INPUT_TYPE", 0));
            extTrigInnputMode = ExternalTriggerMode(r.integer("EXT_TRIGGER_INPUT_MODE", 0));
            extTrigOutputType = ExternalTriggerOutputType(r.integer("EXT_TRIGGER_OUTPUT_TYPE", 0));
            extTrigOutputMode = ExternalTriggerMode(r.integer("EXT_TRIGGER_OUTPUT_MODE", 0));
        }
    }
    emit sigUpdateLoadConfig(CONFIG_TYPE_SOFTWARE_DATA);
}

void ControllerConfiguration::loadHardwareConfig()
{
    {
        QMutexLocker lock(&mutex);
        const QString path = datFilePath(kHardFile);
        noteFileState(kHardFile, path);
        if (QFileInfo::exists(path)) {
            BaseXmlHelper xml(path, true);
            const KeyReader r(xml);
            deviceModel = r.text("DEVICE_MODEL", QStringLiteral("ZOR300"));
            deviceCode = r.text("DEVICE_CODE", QStringLiteral("2030610800"));
            maxVRange = r.range("DEVICE_AO_MAX_V_RANGE", 265.0);
            maxIRange = r.range("DEVICE_AO_MAX_I_RANGE", 10.0);
            levelVSmall = r.range("DEVICE_AO_LEVEL_V_SMALL", 26.5);
            levelISmall = r.range("DEVICE_AO_LEVEL_I_SMALL", 1.0);
            tempThresholdAlarm = r.uinteger("DEVICE_AO_T_THRESHOLD_ALARM", 70);
            tempThresholdResume = r.uinteger("DEVICE_AO_T_THRESHOLD_RESUME", 50);
            volPhasesType = PhasesType(r.integer("DEVICE_VOLTAGE_PHASES_TYPE", 0));
            curPhasesType = PhasesType(r.integer("DEVICE_CURRENT_PHASES_TYPE", 0));
            auxdcEnable = r.boolean("DEVICE_AUXDC_ENABLE", true);
            auxdcType = AuxDCType(r.integer("DEVICE_AUXDC_TYPE", auxdcType));
            auxdcLevelType = r.integer("DEVICE_AUXDC_LEVEL_TYPE", auxdcLevelType);
            auxdcMaxValue = r.range("DEVICE_AUXDC_MAX", auxdcMaxValue);
            powerAmpType = PowerAmpType(r.integer("DEVICE_POWER_AMP_TYPE", powerAmpType));
            deviceEnergyEnable = r.boolean("DEVICE_ENERGY_ENABLE", true);
            devicePaoOnEnable = r.boolean("DEVICE_PAO_ON_ENABLE", true);
        }
        // Each threshold is clamped on its own; the pair is not cross-checked.
        if (tempThresholdAlarm < 40)
            tempThresholdAlarm = 40;
        else if (tempThresholdAlarm > 100)
            tempThresholdAlarm = 100;
        if (tempThresholdResume > 90)
            tempThresholdResume = 90;
        else if (tempThresholdResume < 30)
            tempThresholdResume = 30;
    }
    emit sigUpdateLoadConfig(CONFIG_TYPE_HARDWARE_DATA);
}

void ControllerConfiguration::loadSystemConfig()
{
    QString titles[6] = {SOFTWARE_NAME_CN_0, SOFTWARE_NAME_EN_0, SOFTWARE_NAME_PT_0,
                         SOFTWARE_NAME_CN_1, SOFTWARE_NAME_EN_1, SOFTWARE_NAME_PT_1};
    QString headerCn, headerEn, headerPt;
    {
        QMutexLocker lock(&mutex);
        const QString path = datFilePath(kSystemFile);
        noteFileState(kSystemFile, path);
        if (QFileInfo::exists(path)) {
            BaseXmlHelper xml(path, true);
            const KeyReader r(xml);
            static const char* const keys[6] = {"SOFTWARE_NAME_CN_0", "SOFTWARE_NAME_EN_0", "SOFTWARE_NAME_PT_0",
                                                "SOFTWARE_NAME_CN_1", "SOFTWARE_NAME_EN_1", "SOFTWARE_NAME_PT_1"};
            for (int i = 0; i < 6; ++i)
                titles[i] = r.text(keys[i], titles[i]);
            auxDCLevelName[0] = r.text("AUXDC_NAME_L0", QStringLiteral("24V"));
            auxDCLevelVisible[0] = r.boolean("AUXDC_VISIBLE_L0", true);
            auxDCLevelName[1] = r.text("AUXDC_NAME_L1", QStringLiteral("48V"));
            auxDCLevelVisible[1] = r.boolean("AUXDC_VISIBLE_L1", true);
        }
        const QString prefix = deviceModel + QLatin1Char(' ');
        headerCn = prefix + titles[3];
        headerEn = prefix + titles[4];
        headerPt = prefix + titles[5];
    }
    if (lanuageType == LANGUAGE_TYPE_ENGLISH)
        softwareName = headerEn;
    else if (lanuageType == LANGUAGE_TYPE_PORTUGUESE)
        softwareName = headerPt;
    else
        softwareName = headerCn;
    softwareType = 1;
}

void ControllerConfiguration::loadBatteryConfig()
{
    QMutexLocker lock(&mutex);
    const QString path = datFilePath(kBatteryFile);
    noteFileState(kBatteryFile, path);
    if (!QFileInfo::exists(path))
        return;
    BaseXmlHelper xml(path, true);
    const KeyReader r(xml);
    percentD1 = r.integer("PERCENT_D_1", 10);
    percentD2 = r.integer("PERCENT_D_2", 5);
    percentD3 = r.integer("PERCENT_D_3", 2);
    percentD4 = r.integer("PERCENT_D_4", 0);
    percentD5 = r.integer("PERCENT_D_5", 80);
    continueTime = r.integer("CONTINUE_TIME", 10);
    batteryType = r.integer("BATTERY_TYPE", 0);
}

ControllerConfiguration::Ratings ControllerConfiguration::ratings()
{
    QMutexLocker lock(&mutex);
    return {rateVoltage, rateCurrent, rateFrequency, maxVRange, maxIRange, volPhasesType, curPhasesType, lanuageType};
}

ControllerConfiguration::LANGUAGEType ControllerConfiguration::loadStartupConfig()
{
    doLoadConfig(CONFIG_TYPE_SOFTWARE_DATA);
    return lanuageType;
}

// ---- Helpers ------------------------------------------------------------------

void ControllerConfiguration::noteFileState(const QString& fileName, const QString& path)
{
    const bool isDamaged = isDamagedFile(path);
    if (isDamaged)
        qWarning() << "configuration:" << path << "holds no XML document; its settings take the key defaults";
    QMutexLocker lock(&damageMutex);
    damaged.removeAll(fileName);
    if (isDamaged)
        damaged << fileName;
}

QStringList ControllerConfiguration::damagedFiles() const
{
    // A list of its own: storage shared with this thread's list would be
    // copied by the reader while the next load writes it.
    QMutexLocker lock(&damageMutex);
    QStringList copy;
    for (const QString& name : damaged)
        copy << name;
    return copy;
}

void ControllerConfiguration::sendSync()
{
    const zoplat::CommandResult r = zoplat::runCommand(QStringLiteral("sync"));
    if (r.status != 0)
        qWarning() << "configuration: \"sync\" ended with status" << r.status;
}

void ControllerConfiguration::checkConfig(QString name)
{
    QMutexLocker lock(&mutex);
    const QDir dat(BaseUtilityHelper::getAppRootPath() + QStringLiteral("/dat"));
    // Plain file calls, no shell: a name never reaches a command line.
    const QFileInfoList entries = dat.entryInfoList(QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const QString fileName = entry.fileName();
        if (fileName != name && fileName.contains(name, Qt::CaseSensitive)) {
            if (!QFile::remove(entry.absoluteFilePath()))
                qWarning() << "configuration: could not remove" << entry.absoluteFilePath();
        }
    }
    sendSync();
}

QString ControllerConfiguration::getFpgaVersionText() const
{
    const quint32 v = fpgaVersion;
    return QStringLiteral("%1.%2.%3")
        .arg((v >> 24) & 0xFF)
        .arg((v >> 16) & 0xFF)
        .arg(v & 0xFFFF, 4, 16, QLatin1Char('0'));
}

QString ControllerConfiguration::getStyleTypeText(STYLEType type)
{
    return type == STYLE_TYPE_BLACKLIGHT ? QStringLiteral("BLACK") : QStringLiteral("DEFAULT");
}

QString ControllerConfiguration::getAuxDCLevelName(int i) const
{
    return auxDCLevelName[i];
}

bool ControllerConfiguration::getAuxDCLevelVisible(int i) const
{
    return auxDCLevelVisible[i];
}

// ---- Slots: files --------------------------------------------------------------

void ControllerConfiguration::doSaveConfig(qint32 type, bool hwChecked)
{
    if (type == CONFIG_TYPE_HARDWARE_DATA)
        saveHardwareConfig(hwChecked);
    else
        saveSoftwareConfig();
}

void ControllerConfiguration::doLoadConfig(qint32 type)
{
    if (type == CONFIG_TYPE_HARDWARE_DATA) {
        loadHardwareConfig();
        loadSystemConfig();
    } else {
        loadSoftwareConfig();
    }
}

void ControllerConfiguration::doSaveBatteryConfig()
{
    saveBatteryConfig();
}

void ControllerConfiguration::doLoadBatteryConfig()
{
    loadBatteryConfig();
}

// ---- Driver and clock ------------------------------------------------------------

void ControllerConfiguration::fillDriverRecords()
{
    // The settings page and the network service write these under the lock.
    QMutexLocker lock(&mutex);
    if (CommDriverConfigureHardData* hard = globalConfigureHardData) {
        hard->volPhaseType = quint8(volPhasesType);
        hard->curPhaseType = quint8(curPhasesType);
        hard->maxVRange = float(maxVRange);
        // The hardware's current full scale is ten times the small-range
        // level; the member maxIRange only limits the current settings.
        hard->maxIRange = float(levelISmall) * 10.0f;
        hard->levelVSmall = float(levelVSmall);
        hard->levelISmall = float(levelISmall);
        hard->fanSpeedFrequency = fanSpeedFrequency;
        hard->tempThresholdAlarm = tempThresholdAlarm;
        hard->tempThresholdResume = tempThresholdResume;
        hard->periodFrequency = periodFrequency;
        hard->auxdcMaxValue = float(auxdcMaxValue);
        hard->powerAmpType = quint8(powerAmpType);
    }
    if (CommDriverConfigureSoftData* soft = globalConfigureSoftData) {
        soft->ditherTime = float(ditherTime);
        soft->batteryType = batteryType;
    }
    if (CommDriverTestControlData* control = globalTestControlData)
        control->controlAutoOutputTimeEnable = 0;
    if (CommDriverConfigureHardData* hard = globalConfigureHardData)
        hard->systemPowerType = quint8(systemPowerType);
}

int ControllerConfiguration::doTestConfig()
{
    int failures = 0;
    const bool initialising = !initDriverEnable;
    if (initialising) {
        fpgaVersion = 0;
        if (driverBaseInit() != 0)
            ++failures;
        if (driverBaseReadConfigureHardData() != 0)
            ++failures;
        doUpdateClockSyncConfig();
        if (failures == 0 && globalConfigureHardData) {
            fpgaVersion = globalConfigureHardData->fpgaVersion;
            initDriverEnable = true;
        }
    }

    fillDriverRecords();
    int sendFailures = 0;
    if (driverBaseSendConfigureHardData() != 0)
        ++sendFailures;
    if (driverBaseSendConfigureSoftData() != 0)
        ++sendFailures;
    failures += sendFailures;
    testConfigResult = failures;

    emit sigUpdateClockSyncEnable(bClkSyncEnabled);
    if (initialising) {
        emit sigUpdateInitState(failures == 0);
    } else if (sendFailures == 0) {
        emit sigUpdateInitState(true);
    } else {
        // The driver stays initialised: a failed send must not stop the
        // status polling (a running test would never see its end).
        qWarning() << "configuration: sending the configuration to the driver failed"
                   << "(" << sendFailures << "of 2 records); the driver stays initialised";
    }
    return failures;
}

void ControllerConfiguration::doTestRelease()
{
    if (initDriverEnable)
        driverBaseRelease();
    initDriverEnable = false;
}

int ControllerConfiguration::doUpdateClockSyncConfig()
{
    const int r = driverUpdateClockConfig(quint32(clockSource), quint32(extTrigInnputType), quint32(extTrigInnputMode),
                                          quint32(extTrigOutputType), quint32(extTrigOutputMode));
    if (r != 0)
        qWarning() << "configuration: applying the clock configuration failed:" << r;
    return r;
}

int ControllerConfiguration::updateClockPPXConfig()
{
    CommDriverClockPPXConfigData* ppx = globalClockPPXData;
    if (!ppx) {
        qWarning() << "configuration: pulse list not applied, the driver is not initialised";
        return -1;
    }
    ppx->clk_ppx_count = 0;
    for (int i = 0; i < ppxUTCTimeList.size() && i < COMM_PPX_MAX_COUNT; ++i) {
        ppx->clk_ppx_count += 1;
        ppx->clk_ppx_list[i] = ppxUTCTimeList.at(i);
    }
    return driverUpdateClockPPXConfig();
}

void ControllerConfiguration::updateClockSyncEnable()
{
    emit sigUpdateClockSyncEnable(bClkSyncEnabled);
}
