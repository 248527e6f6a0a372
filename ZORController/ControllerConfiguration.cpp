#include "ControllerConfiguration.h"

#include "BaseUtilityHelper.h"
#include "BaseXmlFile.h"
#include "BaseXmlHelper.h"
#include "CommDriverData.h"
#include "ModelEntityCommon.h"
#include "ModuleStartDomains.h"
#include "SystemTimeZone.h"
#include "driverbase.h"
#include "driverclock.h"
#include "zoplatform.h"

#include <QDebug>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include <algorithm>
#include <cmath>
#include <limits>

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

// Empty, "0" and "false" (any case) are false; any other text true.
bool readBoolean(const QString& text, bool def)
{
    if (text.isEmpty())
        return def;
    return !(text == QLatin1String("0") || text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0);
}

using C = ControllerConfiguration;
using D = C::SettingDomain;

template <typename T>
void putSetting(T& member, double value)
{
    if constexpr (std::is_enum_v<T>)
        member = T(qint32(value));
    else if constexpr (std::is_same_v<T, bool>)
        member = value != 0.0;
    else
        member = T(value);
}

constexpr double kNoLimit = std::numeric_limits<double>::max();
constexpr double kKept = std::numeric_limits<double>::quiet_NaN();
constexpr double kIntMax = std::numeric_limits<qint32>::max();

#define ZOR_SETTING(file, key, member, type, low, high, missing, clamped)                                             \
    D{file, key, D::type, low, high, missing, clamped, [](C& c) -> void* { return &c.member; },                        \
      [](C& c, double v) { putSetting(c.member, v); }, [](const C& c) { return double(c.member); }}
// A setting whose largest value the settings of c give (an expression of c).
#define ZOR_LIMITED_SETTING(file, key, member, low, high, missing, limit)                                              \
    D{file, key, D::Real, low, high, missing, false, [](C& c) -> void* { return &c.member; },                          \
      [](C& c, double v) { putSetting(c.member, v); }, [](const C& c) { return double(c.member); },                   \
      [](const C& c) { return double(limit); }}

// The driver's full scales are single-precision numbers: a range is one it
// can hold, above 0 and finite.
constexpr double kLeastFullScale = std::numeric_limits<float>::denorm_min();
constexpr double kMostFullScale = std::numeric_limits<float>::max();

} // namespace

// Every stored number, flag and choice, in the order each file writes them.
const QVector<ControllerConfiguration::SettingDomain>& ControllerConfiguration::settingDomains()
{
    static const char* const S = "softinfo.xml";
    static const char* const H = "devinfo.xml";
    static const char* const B = "batteryinfo.xml";
    static const QVector<SettingDomain> table = {
        // The debounce the instrument counts; the rated frequency one the outputs play.
        ZOR_SETTING(S, "DITHER_TIME", ditherTime, Real, StartDomain::kShortestDebounce, StartDomain::kLongestDebounce,
                    kDefaultDitherTime, false),
        // A rating the device's outputs give.
        ZOR_LIMITED_SETTING(S, "RATE_VOLTAGE", rateVoltage, 0.0, kNoLimit, 57.735, c.maxVRange),
        ZOR_LIMITED_SETTING(S, "RATE_CURRENT", rateCurrent, 0.0, kNoLimit, 1.0, c.maxIRange),
        ZOR_SETTING(S, "RATE_FREQUENCY", rateFrequency, Real, ModelEntity::kMinOutputFrequency,
                    ModelEntity::kMaxOutputFrequency, 50.0, false),
        ZOR_SETTING(S, "SYSTEM_POWER_TYPE", systemPowerType, Integer, 0, 1, 1, false),
        ZOR_SETTING(S, "SUSPEND_TIME", suspendTime, Unsigned, 0, 4294967295.0, 300, false),
        ZOR_SETTING(S, "BEEP_ENABLE", beepEnabled, Boolean, 0, 1, 0, false),
        ZOR_SETTING(S, "STYLE_TYPE", styleType, Integer, 0, 1, 0, false),
        // The languages the panel has a translation for.
        ZOR_SETTING(S, "LANUAGE_TYPE", lanuageType, Integer, LANGUAGE_TYPE_CHINESE, LANGUAGE_TYPE_JAPANESE, 0, false),
        ZOR_SETTING(S, "CLOCK_SYNC_ENABLED", bClkSyncEnabled, Boolean, 0, 1, 0, false),
        // The settings page stores 1 for IRIG-B, the driver's value is 2.
        ZOR_SETTING(S, "CLOCK_SOURCE", clockSource, Integer, 0, CLOCK_SOURCE_IRIG_B, 0, false),
        ZOR_SETTING(S, "TIME_ZONE", timeZone, Integer, 0,
                    double(BaseXmlFile::bounds(BaseXmlFile::Kind::TimeZones).elements), 0, false),
        ZOR_SETTING(S, "TIME_ZONE_OFFSET_MINUTES", timeZoneOffsetMin, Integer, -MAX_TIME_ZONE_OFFSET_MINUTES,
                    MAX_TIME_ZONE_OFFSET_MINUTES, 0, false),
        ZOR_SETTING(S, "DST_ENABLE", bDSTEnable, Boolean, 0, 1, 0, false),
        ZOR_SETTING(S, "EXT_TRIGGER_INPUT_TYPE", extTrigInnputType, Integer, 0, 1, 0, false),
        ZOR_SETTING(S, "EXT_TRIGGER_INPUT_MODE", extTrigInnputMode, Integer, 0, 1, 0, false),
        ZOR_SETTING(S, "EXT_TRIGGER_OUTPUT_TYPE", extTrigOutputType, Integer, 0, 2, 0, false),
        ZOR_SETTING(S, "EXT_TRIGGER_OUTPUT_MODE", extTrigOutputMode, Integer, 0, 1, 0, false),
        // The ranges the driver's full scales encode: the voltage's is its
        // range; the current's, ten times the small-range level, bounds the
        // current settings; the small range is a tenth of the full scale.
        ZOR_SETTING(H, "DEVICE_AO_MAX_V_RANGE", maxVRange, Real, kLeastFullScale, kMostFullScale, 265.0, false),
        ZOR_LIMITED_SETTING(H, "DEVICE_AO_MAX_I_RANGE", maxIRange, kLeastFullScale, kMostFullScale, 10.0,
                            float(c.levelISmall) * 10.0f),
        ZOR_LIMITED_SETTING(H, "DEVICE_AO_LEVEL_V_SMALL", levelVSmall, kLeastFullScale, kMostFullScale, 26.5,
                            c.maxVRange / 10.0),
        ZOR_SETTING(H, "DEVICE_AO_LEVEL_I_SMALL", levelISmall, Real, kLeastFullScale, kMostFullScale / 10.0, 1.0,
                    false),
        // Each threshold is held to its range on its own; the pair is not cross-checked.
        ZOR_SETTING(H, "DEVICE_AO_T_THRESHOLD_ALARM", tempThresholdAlarm, Unsigned, 40, 100, 70, true),
        ZOR_SETTING(H, "DEVICE_AO_T_THRESHOLD_RESUME", tempThresholdResume, Unsigned, 30, 90, 50, true),
        ZOR_SETTING(H, "DEVICE_VOLTAGE_PHASES_TYPE", volPhasesType, Integer, 0, 1, 0, false),
        ZOR_SETTING(H, "DEVICE_CURRENT_PHASES_TYPE", curPhasesType, Integer, 0, 1, 0, false),
        ZOR_SETTING(H, "DEVICE_AUXDC_ENABLE", auxdcEnable, Boolean, 0, 1, 1, false),
        ZOR_SETTING(H, "DEVICE_AUXDC_TYPE", auxdcType, Integer, 0, 1, kKept, false),
        ZOR_SETTING(H, "DEVICE_AUXDC_LEVEL_TYPE", auxdcLevelType, Integer, 0, 1, kKept, false),
        ZOR_SETTING(H, "DEVICE_AUXDC_MAX", auxdcMaxValue, Real, std::numeric_limits<double>::denorm_min(), kNoLimit,
                    kKept, false),
        ZOR_SETTING(H, "DEVICE_POWER_AMP_TYPE", powerAmpType, Integer, 0, 1, kKept, false),
        ZOR_SETTING(H, "DEVICE_ENERGY_ENABLE", deviceEnergyEnable, Boolean, 0, 1, 1, false),
        ZOR_SETTING(H, "DEVICE_PAO_ON_ENABLE", devicePaoOnEnable, Boolean, 0, 1, 1, false),
        ZOR_SETTING(B, "PERCENT_D_1", percentD1, Integer, 0, 100, 10, false),
        ZOR_SETTING(B, "PERCENT_D_2", percentD2, Integer, 0, 100, 5, false),
        ZOR_SETTING(B, "PERCENT_D_3", percentD3, Integer, 0, 100, 2, false),
        ZOR_SETTING(B, "PERCENT_D_4", percentD4, Integer, 0, 100, 0, false),
        ZOR_SETTING(B, "PERCENT_D_5", percentD5, Integer, 0, 100, 80, false),
        ZOR_SETTING(B, "CONTINUE_TIME", continueTime, Integer, 0, kIntMax, 10, false),
        ZOR_SETTING(B, "BATTERY_TYPE", batteryType, Integer, 0, 1, 0, false),
    };
    return table;
}

#undef ZOR_SETTING
#undef ZOR_LIMITED_SETTING

bool ControllerConfiguration::SettingDomain::holds(double value) const
{
    if (!std::isfinite(value) || value < low || value > high)
        return false;
    return type == Real || std::floor(value) == value;
}

bool ControllerConfiguration::SettingDomain::holds(const ControllerConfiguration& c, double value) const
{
    return holds(value) && (!limit || value <= limit(c));
}

bool ControllerConfiguration::takes(const void* address, double value)
{
    for (const SettingDomain& setting : settingDomains()) {
        if (setting.member(*this) != address)
            continue;
        if (setting.holds(*this, value))
            return true;
        if (setting.clamped && std::isfinite(value)) {
            const double end = value < setting.low ? setting.low : setting.high;
            setting.store(*this, end);
            qWarning() << "configuration: setting" << setting.key << "given" << value << "- outside" << setting.low
                       << ".." << setting.high << ", held to" << end;
            return false;
        }
        const double high = setting.limit ? std::min(setting.high, setting.limit(*this)) : setting.high;
        qWarning() << "configuration: setting" << setting.key << "refused" << value << "- outside" << setting.low
                   << ".." << high << "; the value in use is kept";
        return false;
    }
    return true;
}

bool ControllerConfiguration::setSetting(const SettingDomain& setting, double value)
{
    QMutexLocker lock(&mutex);
    if (!takes(setting.member(*this), value))
        return false;
    setting.store(*this, value);
    return true;
}

QList<ControllerConfiguration::HeldSetting> ControllerConfiguration::heldSettings() const
{
    QMutexLocker lock(&damageMutex);
    QList<HeldSetting> copy;
    for (const HeldSetting& h : held)
        copy << h;
    return copy;
}

bool ControllerConfiguration::readFile(const QString& fileName,
                                       const std::function<void(const BaseXmlHelper&)>& readTexts)
{
    const QString path = datFilePath(fileName);
    QList<HeldSetting> heldHere;
    bool isDamaged = false;
    bool read = false;
    QString reason;
    QHash<QString, QString> texts;
    if (QFileInfo::exists(path)) {
        BaseXmlHelper xml(path, true);
        if (!xml.isDocument()) {
            // Taken as no file: the settings keep what a first start gives them.
            isDamaged = true;
            reason = xml.readError();
        } else {
            read = true;
            for (const SettingDomain& setting : settingDomains()) {
                if (fileName != QLatin1String(setting.file))
                    continue;
                const QString text = xml.value(QLatin1String(setting.key), QString()).toString().trimmed();
                texts.insert(QString::fromLatin1(setting.key), text);
                double value = setting.missing;
                if (!text.isEmpty()) {
                    bool ok = false;
                    switch (setting.type) {
                    case SettingDomain::Real: value = text.toDouble(&ok); break;
                    case SettingDomain::Integer: value = text.toInt(&ok); break;
                    case SettingDomain::Unsigned: value = text.toUInt(&ok); break;
                    case SettingDomain::Boolean:
                        value = readBoolean(text, false) ? 1.0 : 0.0;
                        ok = true;
                        break;
                    }
                    if (!ok || !setting.holds(value)) {
                        double kept = std::isnan(setting.missing) ? setting.value(*this) : setting.missing;
                        if (ok && setting.clamped && !std::isnan(value))
                            kept = value < setting.low ? setting.low : setting.high;
                        heldHere << HeldSetting{fileName, QString::fromLatin1(setting.key), text, kept};
                        value = kept;
                    }
                }
                if (std::isnan(value))
                    continue;   // the member kept
                setting.store(*this, value);
            }
            holdToOtherSettings(fileName, texts, heldHere);
            if (readTexts)
                readTexts(xml);
        }
    }
    // Told once: a read that finds the file as the last one did (the start's
    // read and the main page's) logs nothing again.
    if (noteFile(fileName, isDamaged, heldHere)) {
        if (isDamaged)
            qWarning().noquote() << "configuration:" << path << "cannot be read (" + reason + ");"
                                 << "taken as no file, its settings keep their defaults";
        for (const HeldSetting& h : heldHere) {
            qWarning().noquote() << "configuration:" << path << "key" << h.key << "holds" << h.read
                                 << "- outside its domain, held to" << h.held;
        }
    }
    return read;
}

void ControllerConfiguration::holdToOtherSettings(const QString& fileName, const QHash<QString, QString>& texts,
                                                  QList<HeldSetting>& heldHere)
{
    // Named once, as read, with what it is held to last.
    const auto hold = [&](const char* key, double value, double to) {
        const QString name = QString::fromLatin1(key);
        for (HeldSetting& h : heldHere) {
            if (h.key == name) {
                h.held = to;
                return;
            }
        }
        const QString text = texts.value(name);
        heldHere << HeldSetting{fileName, name, text.isEmpty() ? QString::number(value, 'g', 17) : text, to};
    };
    for (const SettingDomain& setting : settingDomains()) {
        if (!setting.limit || fileName != QLatin1String(setting.file))
            continue;
        const double value = setting.value(*this);
        const double most = setting.limit(*this);
        if (value <= most)
            continue;
        // The default, unless that too lies past the limit.
        const double to = std::isnan(setting.missing) ? most : std::min(setting.missing, most);
        setting.store(*this, to);
        hold(setting.key, value, to);
    }

    // A time zone and its offset are one thing: the offset is the listed
    // zone's. With no list there is nothing to hold them to.
    if (fileName != kSoftFile)
        return;
    SystemTimeZone zones;
    zones.updateTimeZones(false);
    if (zones.getTimeZoneCount() == 0)
        return;
    if (timeZone >= zones.getTimeZoneCount()) {
        hold("TIME_ZONE", timeZone, 0);
        timeZone = 0;
    }
    const qint32 offset = zones.getCustomTZOffsetMin(timeZone);
    if (timeZoneOffsetMin != offset) {
        hold("TIME_ZONE_OFFSET_MINUTES", timeZoneOffsetMin, offset);
        timeZoneOffsetMin = offset;
    }
}

bool ControllerConfiguration::noteFile(const QString& fileName, bool isDamaged, const QList<HeldSetting>& heldHere)
{
    QMutexLocker lock(&damageMutex);
    const auto sameHeld = [](const HeldSetting& a, const HeldSetting& b) {
        return a.file == b.file && a.key == b.key && a.read == b.read;
    };
    QList<HeldSetting> before;
    for (const HeldSetting& h : held) {
        if (h.file == fileName)
            before << h;
    }
    const bool news = damaged.contains(fileName) != isDamaged
        || !std::equal(before.begin(), before.end(), heldHere.begin(), heldHere.end(), sameHeld);
    damaged.removeAll(fileName);
    if (isDamaged)
        damaged << fileName;
    held.erase(std::remove_if(held.begin(), held.end(), [&](const HeldSetting& h) { return h.file == fileName; }),
               held.end());
    held << heldHere;
    return news;
}

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
        readFile(kSoftFile);
    }
    emit sigUpdateLoadConfig(CONFIG_TYPE_SOFTWARE_DATA);
}

void ControllerConfiguration::loadHardwareConfig()
{
    readHardwareFile();
    emit sigUpdateLoadConfig(CONFIG_TYPE_HARDWARE_DATA);
}

void ControllerConfiguration::readHardwareFile()
{
    QMutexLocker lock(&mutex);
    readFile(kHardFile, [this](const BaseXmlHelper& xml) {
        deviceModel = xml.value(QStringLiteral("DEVICE_MODEL"), QStringLiteral("ZOR300")).toString();
        deviceCode = xml.value(QStringLiteral("DEVICE_CODE"), QStringLiteral("2030610800")).toString();
    });
}

void ControllerConfiguration::loadSystemConfig()
{
    QString titles[6] = {SOFTWARE_NAME_CN_0, SOFTWARE_NAME_EN_0, SOFTWARE_NAME_PT_0,
                         SOFTWARE_NAME_CN_1, SOFTWARE_NAME_EN_1, SOFTWARE_NAME_PT_1};
    QString headerCn, headerEn, headerPt;
    {
        QMutexLocker lock(&mutex);
        const QString path = datFilePath(kSystemFile);
        BaseXmlHelper xml(path, true);
        const bool isDamaged = QFileInfo::exists(path) && !xml.isDocument();
        if (noteFile(kSystemFile, isDamaged, {}) && isDamaged)
            qWarning().noquote() << "configuration:" << path << "cannot be read (" + xml.readError() + ");"
                                 << "taken as no file, its settings keep their defaults";
        if (xml.isDocument()) {
            const auto text = [&xml](const char* key, const QString& def) {
                return xml.value(QLatin1String(key), def).toString();
            };
            static const char* const keys[6] = {"SOFTWARE_NAME_CN_0", "SOFTWARE_NAME_EN_0", "SOFTWARE_NAME_PT_0",
                                                "SOFTWARE_NAME_CN_1", "SOFTWARE_NAME_EN_1", "SOFTWARE_NAME_PT_1"};
            for (int i = 0; i < 6; ++i)
                titles[i] = text(keys[i], titles[i]);
            auxDCLevelName[0] = text("AUXDC_NAME_L0", QStringLiteral("24V"));
            auxDCLevelVisible[0] = readBoolean(text("AUXDC_VISIBLE_L0", QString()), true);
            auxDCLevelName[1] = text("AUXDC_NAME_L1", QStringLiteral("48V"));
            auxDCLevelVisible[1] = readBoolean(text("AUXDC_VISIBLE_L1", QString()), true);
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
    readFile(kBatteryFile);
}

ControllerConfiguration::Ratings ControllerConfiguration::ratings()
{
    QMutexLocker lock(&mutex);
    return {rateVoltage, rateCurrent, rateFrequency, maxVRange, maxIRange, volPhasesType, curPhasesType, lanuageType};
}

ControllerConfiguration::LANGUAGEType ControllerConfiguration::loadStartupConfig()
{
    // The device's ranges first: the ratings are held to them.
    readHardwareFile();
    hardwareReadAtStart = true;
    softwareLoadsFromStartRead = 0;
    doLoadConfig(CONFIG_TYPE_SOFTWARE_DATA);
    // The start-up's loads of the same file take this read, the engine's and
    // the main page's: a file written meanwhile would give the panel one
    // language and the settings another.
    softwareLoadsFromStartRead = 2;
    return lanuageType;
}

// ---- Helpers ------------------------------------------------------------------

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
        if (hardwareReadAtStart.exchange(false))
            emit sigUpdateLoadConfig(CONFIG_TYPE_HARDWARE_DATA);
        else
            loadHardwareConfig();
        loadSystemConfig();
    } else if (takeStartRead()) {
        emit sigUpdateLoadConfig(CONFIG_TYPE_SOFTWARE_DATA);
    } else {
        loadSoftwareConfig();
    }
}

bool ControllerConfiguration::takeStartRead()
{
    int left = softwareLoadsFromStartRead.load();
    while (left > 0 && !softwareLoadsFromStartRead.compare_exchange_weak(left, left - 1)) {
    }
    return left > 0;
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
