#include "ConfigTestSupport.h"
#include "BaseXmlFile.h"
#include "ControllerConfiguration.h"

#include <QDateTime>
#include <QDomDocument>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <iterator>
#include <limits>
#include <vector>

namespace {

using Cfg = ControllerConfiguration;

// Keys of a file in the order they appear in it.
QStringList keysInOrder(const QByteArray& body)
{
    QStringList keys;
    QRegularExpressionMatchIterator it = QRegularExpression("<([A-Z_0-9]+)>").globalMatch(QString::fromUtf8(body));
    while (it.hasNext())
        keys << it.next().captured(1);
    return keys;
}

class ConfigFiles : public ::testing::Test
{
protected:
    AppRootSandbox root;
};

} // namespace

TEST_F(ConfigFiles, FirstStartKeepsConstructorValuesAndStillReports)
{
    Cfg cfg;
    SignalLog<qint32> loaded(&cfg, &Cfg::sigUpdateLoadConfig);
    cfg.doLoadConfig(Cfg::CONFIG_TYPE_HARDWARE_DATA);
    cfg.doLoadConfig(Cfg::CONFIG_TYPE_SOFTWARE_DATA);
    cfg.doLoadBatteryConfig();

    ASSERT_EQ(loaded.count(), 2);
    EXPECT_EQ(std::get<0>(loaded.at(0)), 1);
    EXPECT_EQ(std::get<0>(loaded.at(1)), 0);
    EXPECT_DOUBLE_EQ(cfg.ditherTime, 0.015);
    EXPECT_EQ(cfg.lanuageType, Cfg::LANGUAGE_TYPE_ENGLISH);
    EXPECT_TRUE(cfg.beepEnabled);
    EXPECT_EQ(cfg.deviceModel, "ZOR");
    EXPECT_EQ(cfg.tempThresholdResume, 40u);
    EXPECT_EQ(cfg.continueTime, 5);
    // The system load ran with no file: built-in English title after the model.
    EXPECT_EQ(cfg.softwareType, 1);
    EXPECT_EQ(cfg.softwareName, "ZOR " + Cfg::SOFTWARE_NAME_EN_1);
}

TEST_F(ConfigFiles, EmptyFilesGiveTheKeyDefaults)
{
    for (const char* name : {"softinfo.xml", "devinfo.xml", "batteryinfo.xml"})
        root.writeDat(name, xmlFile({}));
    Cfg cfg;
    cfg.auxdcMaxValue = 123.0;   // missing key keeps the member's current value
    cfg.doLoadConfig(0);
    cfg.doLoadConfig(1);
    cfg.doLoadBatteryConfig();

    EXPECT_DOUBLE_EQ(cfg.ditherTime, 0.015);
    EXPECT_FALSE(cfg.beepEnabled);
    EXPECT_EQ(cfg.lanuageType, Cfg::LANGUAGE_TYPE_CHINESE);
    EXPECT_EQ(cfg.systemPowerType, Cfg::SYSTEM_POWER_TYPE_PAO);
    EXPECT_EQ(cfg.deviceModel, "ZOR300");
    EXPECT_EQ(cfg.deviceCode, "2030610800");
    EXPECT_EQ(cfg.tempThresholdResume, 50u);
    EXPECT_TRUE(cfg.deviceEnergyEnable);
    EXPECT_TRUE(cfg.devicePaoOnEnable);
    EXPECT_DOUBLE_EQ(cfg.auxdcMaxValue, 123.0);
    EXPECT_EQ(cfg.continueTime, 10);
    EXPECT_EQ(cfg.percentD5, 80);
    EXPECT_EQ(cfg.softwareName, "ZOR300 " + Cfg::SOFTWARE_NAME_CN_1);
}

TEST_F(ConfigFiles, SoftwareSettingsSurviveSaveAndLoad)
{
    Cfg a;
    a.ditherTime = 0.1 + 0.2;   // needs all 17 digits to read back exactly
    a.rateVoltage = 100.0 / 3.0;
    a.rateCurrent = 5.0;
    a.rateFrequency = 60.0;
    a.systemPowerType = Cfg::SYSTEM_POWER_TYPE_LLO;
    a.suspendTime = 4000000000u;
    a.beepEnabled = false;
    a.styleType = Cfg::STYLE_TYPE_BLACKLIGHT;
    a.lanuageType = Cfg::LANGUAGE_TYPE_PORTUGUESE;
    a.bClkSyncEnabled = true;
    a.clockSource = Cfg::ClockSourceType(1);   // as the settings page stores IRIG-B
    a.timeZone = 17;
    a.timeZoneOffsetMin = -210;
    a.bDSTEnable = true;
    a.extTrigInnputType = Cfg::IN_EXTERNAL_PULSE;
    a.extTrigInnputMode = Cfg::RAISING_EDGE;
    a.extTrigOutputType = Cfg::OUT_PPS_PULSE_MINUTE;
    a.extTrigOutputMode = Cfg::RAISING_EDGE;
    ASSERT_TRUE(a.saveSoftwareConfig());

    EXPECT_EQ(keysInOrder(root.readDat("softinfo.xml")),
              QStringList({"DITHER_TIME", "RATE_VOLTAGE", "RATE_CURRENT", "RATE_FREQUENCY", "SYSTEM_POWER_TYPE",
                           "SUSPEND_TIME", "BEEP_ENABLE", "STYLE_TYPE", "LANUAGE_TYPE", "CLOCK_SYNC_ENABLED",
                           "CLOCK_SOURCE", "TIME_ZONE", "TIME_ZONE_OFFSET_MINUTES", "DST_ENABLE",
                           "EXT_TRIGGER_INPUT_TYPE", "EXT_TRIGGER_INPUT_MODE", "EXT_TRIGGER_OUTPUT_TYPE",
                           "EXT_TRIGGER_OUTPUT_MODE"}));
    EXPECT_TRUE(zoplat::host::recordedCommands().contains("sync"));

    Cfg b;
    b.doLoadConfig(0);
    EXPECT_EQ(b.ditherTime, a.ditherTime);
    EXPECT_EQ(b.rateVoltage, a.rateVoltage);
    EXPECT_EQ(b.rateCurrent, 5.0);
    EXPECT_EQ(b.rateFrequency, 60.0);
    EXPECT_EQ(b.systemPowerType, Cfg::SYSTEM_POWER_TYPE_LLO);
    EXPECT_EQ(b.suspendTime, 4000000000u);
    EXPECT_FALSE(b.beepEnabled);
    EXPECT_EQ(b.styleType, Cfg::STYLE_TYPE_BLACKLIGHT);
    EXPECT_EQ(b.lanuageType, Cfg::LANGUAGE_TYPE_PORTUGUESE);
    EXPECT_TRUE(b.bClkSyncEnabled);
    EXPECT_EQ(int(b.clockSource), 1);
    EXPECT_EQ(b.timeZone, 17);
    EXPECT_EQ(b.timeZoneOffsetMin, -210);
    EXPECT_TRUE(b.bDSTEnable);
    EXPECT_EQ(b.extTrigInnputType, Cfg::IN_EXTERNAL_PULSE);
    EXPECT_EQ(b.extTrigInnputMode, Cfg::RAISING_EDGE);
    EXPECT_EQ(b.extTrigOutputType, Cfg::OUT_PPS_PULSE_MINUTE);
    EXPECT_EQ(b.extTrigOutputMode, Cfg::RAISING_EDGE);
}

TEST_F(ConfigFiles, HardwareAndBatterySettingsSurviveSaveAndLoad)
{
    Cfg a;
    a.deviceModel = QString::fromUtf8("ZOR330 <A&B> 测试");
    a.deviceCode = "X-42";
    a.maxVRange = 300.0;
    a.maxIRange = 30.0;
    a.levelVSmall = 30.0;
    a.levelISmall = 3.0;
    a.tempThresholdAlarm = 85;
    a.tempThresholdResume = 55;
    a.volPhasesType = Cfg::PHASES_TYPE_FOUR;
    a.curPhasesType = Cfg::PHASES_TYPE_FOUR;
    a.auxdcEnable = false;
    a.auxdcType = Cfg::AUXDC_TYPE_ADJUSTABLE;
    a.auxdcLevelType = 1;
    a.auxdcMaxValue = 250.5;
    a.powerAmpType = Cfg::POWER_AMP_TYPE_DIGITAL;
    a.deviceEnergyEnable = true;
    a.devicePaoOnEnable = true;
    a.percentD1 = 20;
    a.percentD2 = 15;
    a.percentD3 = 7;
    a.percentD4 = 3;
    a.percentD5 = 90;
    a.continueTime = 30;
    a.batteryType = 1;
    a.doSaveConfig(Cfg::CONFIG_TYPE_HARDWARE_DATA, false);
    a.doSaveBatteryConfig();

    Cfg b;
    b.doLoadConfig(1);
    b.doLoadBatteryConfig();
    EXPECT_EQ(b.deviceModel, a.deviceModel);
    EXPECT_EQ(b.deviceCode, "X-42");
    EXPECT_EQ(b.maxVRange, 300.0);
    EXPECT_EQ(b.maxIRange, 30.0);
    EXPECT_EQ(b.levelVSmall, 30.0);
    EXPECT_EQ(b.levelISmall, 3.0);
    EXPECT_EQ(b.tempThresholdAlarm, 85u);
    EXPECT_EQ(b.tempThresholdResume, 55u);
    EXPECT_EQ(b.volPhasesType, Cfg::PHASES_TYPE_FOUR);
    EXPECT_EQ(b.curPhasesType, Cfg::PHASES_TYPE_FOUR);
    EXPECT_FALSE(b.auxdcEnable);
    EXPECT_EQ(b.auxdcType, Cfg::AUXDC_TYPE_ADJUSTABLE);
    EXPECT_EQ(b.auxdcLevelType, 1);
    EXPECT_EQ(b.auxdcMaxValue, 250.5);
    EXPECT_EQ(b.powerAmpType, Cfg::POWER_AMP_TYPE_DIGITAL);
    EXPECT_TRUE(b.deviceEnergyEnable);
    EXPECT_TRUE(b.devicePaoOnEnable);
    EXPECT_EQ(b.percentD1, 20);
    EXPECT_EQ(b.percentD2, 15);
    EXPECT_EQ(b.percentD3, 7);
    EXPECT_EQ(b.percentD4, 3);
    EXPECT_EQ(b.percentD5, 90);
    EXPECT_EQ(b.continueTime, 30);
    EXPECT_EQ(b.batteryType, 1);

    // A checked hardware save writes nothing.
    const QByteArray before = root.readDat("devinfo.xml");
    b.deviceCode = "changed";
    b.doSaveConfig(Cfg::CONFIG_TYPE_HARDWARE_DATA, true);
    EXPECT_EQ(root.readDat("devinfo.xml"), before);
}

// Unparsable numbers and unusable ranges keep the key's default instead of 0.
TEST_F(ConfigFiles, BadNumbersKeepTheKeyDefault)
{
    struct Row {
        const char* key;
        const char* text;
    };
    const Row hard[] = {
        {"DEVICE_AO_MAX_V_RANGE", "0"},      {"DEVICE_AO_MAX_I_RANGE", "-10"},
        {"DEVICE_AO_LEVEL_V_SMALL", "abc"},  {"DEVICE_AO_LEVEL_I_SMALL", "0.0"},
        {"DEVICE_AUXDC_MAX", "nan"},         {"DEVICE_AO_T_THRESHOLD_ALARM", "hot"},
        {"DEVICE_AO_T_THRESHOLD_RESUME", "-1"}, {"DEVICE_VOLTAGE_PHASES_TYPE", "four"},
    };
    QList<QPair<QString, QString>> keys;
    for (const Row& r : hard)
        keys << qMakePair(QString(r.key), QString(r.text));
    root.writeDat("devinfo.xml", xmlFile(keys));
    root.writeDat("softinfo.xml", xmlFile({{"DITHER_TIME", "fast"}, {"RATE_FREQUENCY", "50Hz"},
                                           {"SUSPEND_TIME", "-5"}, {"LANUAGE_TYPE", "2x"}}));
    root.writeDat("batteryinfo.xml", xmlFile({{"PERCENT_D_1", "ten"}, {"CONTINUE_TIME", "1.5"}}));

    MessageCapture log;
    Cfg cfg;
    cfg.doLoadConfig(1);
    cfg.doLoadConfig(0);
    cfg.doLoadBatteryConfig();

    EXPECT_EQ(cfg.maxVRange, 265.0);
    EXPECT_EQ(cfg.maxIRange, 10.0);
    EXPECT_EQ(cfg.levelVSmall, 26.5);
    EXPECT_EQ(cfg.levelISmall, 1.0);
    EXPECT_EQ(cfg.auxdcMaxValue, 350.0);
    EXPECT_EQ(cfg.tempThresholdAlarm, 70u);
    EXPECT_EQ(cfg.tempThresholdResume, 50u);
    EXPECT_EQ(cfg.volPhasesType, Cfg::PHASES_TYPE_THREE);
    EXPECT_EQ(cfg.ditherTime, 0.015);
    EXPECT_EQ(cfg.rateFrequency, 50.0);
    EXPECT_EQ(cfg.suspendTime, 300u);
    EXPECT_EQ(cfg.lanuageType, Cfg::LANGUAGE_TYPE_CHINESE);
    EXPECT_EQ(cfg.percentD1, 10);
    EXPECT_EQ(cfg.continueTime, 10);
    EXPECT_TRUE(log.anyWarningContains("DEVICE_AO_LEVEL_I_SMALL"));
    EXPECT_TRUE(log.anyWarningContains("DITHER_TIME"));
}

TEST_F(ConfigFiles, ATextNoXmlFileCanCarryIsUnreadableAndCostsNoOtherKey)
{
    const struct {
        const char* key;
        const char* text;
        QString expected;   // the key's default
    } rows[] = {
        {"DEVICE_CODE", "&#xFFFE;", "2030610800"},
        {"DEVICE_MODEL", "ZOR&#xDFFE;", "ZOR300"},
        {"DEVICE_CODE", "12&#x1B;", "2030610800"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        root.writeDat("devinfo.xml", xmlFile({{row.key, row.text}, {"DEVICE_AO_MAX_V_RANGE", "300"},
                                              {"DEVICE_AO_MAX_I_RANGE", "30"}, {"DEVICE_AO_LEVEL_I_SMALL", "3"}}));
        MessageCapture log;
        Cfg cfg;
        cfg.doLoadConfig(Cfg::CONFIG_TYPE_HARDWARE_DATA);
        EXPECT_EQ(row.key == QString("DEVICE_CODE") ? cfg.deviceCode : cfg.deviceModel, row.expected);
        EXPECT_TRUE(log.anyWarningContains(row.key));
        cfg.doSaveConfig(Cfg::CONFIG_TYPE_HARDWARE_DATA, false);

        QDomDocument doc;
        EXPECT_TRUE(doc.setContent(root.readDat("devinfo.xml")));
        Cfg next;
        next.doLoadConfig(Cfg::CONFIG_TYPE_HARDWARE_DATA);
        EXPECT_EQ(next.maxVRange, 300.0);
        EXPECT_EQ(next.maxIRange, 30.0);
        EXPECT_EQ(row.key == QString("DEVICE_CODE") ? next.deviceCode : next.deviceModel, row.expected);
    }
}

TEST_F(ConfigFiles, TemperatureThresholdsClampEachOnItsOwn)
{
    const struct {
        const char* alarm;
        const char* resume;
        quint32 wantAlarm;
        quint32 wantResume;
    } rows[] = {{"30", "95", 40, 90}, {"120", "10", 100, 30}, {"45", "60", 45, 60}, {"40", "30", 40, 30}};
    for (const auto& r : rows) {
        root.writeDat("devinfo.xml",
                      xmlFile({{"DEVICE_AO_T_THRESHOLD_ALARM", r.alarm}, {"DEVICE_AO_T_THRESHOLD_RESUME", r.resume}}));
        Cfg cfg;
        cfg.loadHardwareConfig();
        EXPECT_EQ(cfg.tempThresholdAlarm, r.wantAlarm) << r.alarm;
        EXPECT_EQ(cfg.tempThresholdResume, r.wantResume) << r.resume;
    }
}

TEST_F(ConfigFiles, BooleanTextRule)
{
    const struct {
        const char* text;
        bool want;
    } rows[] = {{"TRUE", true}, {"1", true}, {"no", true}, {"yes", true},
                {"0", false}, {"false", false}, {"FaLsE", false}, {"", false /* key default */}};
    for (const auto& r : rows) {
        root.writeDat("softinfo.xml", xmlFile({{"BEEP_ENABLE", r.text}}));
        Cfg cfg;   // constructor value true
        cfg.loadSoftwareConfig();
        EXPECT_EQ(cfg.beepEnabled, r.want) << '"' << r.text << '"';
    }
}

TEST_F(ConfigFiles, FailedSaveIsReported)
{
    Cfg cfg;
    ASSERT_TRUE(cfg.saveBatteryConfig());
    const QByteArray before = root.readDat("batteryinfo.xml");

    // A folder squatting on the softinfo name: the rename over it fails.
    ASSERT_TRUE(QDir().mkpath(root.datFile("softinfo.xml/blocker")));
    MessageCapture log;
    EXPECT_FALSE(cfg.saveSoftwareConfig());
    EXPECT_TRUE(log.anyWarningContains("softinfo.xml"));
    EXPECT_TRUE(zoplat::host::recordedCommands().contains("sync"));
    EXPECT_EQ(root.readDat("batteryinfo.xml"), before);
}

TEST_F(ConfigFiles, SystemTextsBuildTheHeaderTitle)
{
    root.writeDat("devinfo.xml", xmlFile({{"DEVICE_MODEL", "ZOR500"}}));
    root.writeDat("softinfo.xml", xmlFile({{"LANUAGE_TYPE", "2"}}));
    root.writeDat("sysinfo.xml", xmlFile({{"SOFTWARE_NAME_PT_0", "unused"},
                                          {"SOFTWARE_NAME_PT_1", QString::fromUtf8("Mala de Testes")},
                                          {"AUXDC_NAME_L0", "110V"},
                                          {"AUXDC_VISIBLE_L0", "false"},
                                          {"AUXDC_NAME_L1", "220V"}}));
    Cfg cfg;
    cfg.doLoadConfig(0);
    cfg.doLoadConfig(1);
    EXPECT_EQ(cfg.softwareName, QString::fromUtf8("ZOR500 Mala de Testes"));
    EXPECT_EQ(cfg.getAuxDCLevelName(0), "110V");
    EXPECT_FALSE(cfg.getAuxDCLevelVisible(0));
    EXPECT_EQ(cfg.getAuxDCLevelName(1), "220V");
    EXPECT_TRUE(cfg.getAuxDCLevelVisible(1));
    // The system file is only read.
    EXPECT_TRUE(root.readDat("sysinfo.xml").contains("unused"));
}

TEST_F(ConfigFiles, StartupLoadReadsTheLanguageOnTheCallingThread)
{
    root.writeDat("softinfo.xml", xmlFile({{"LANUAGE_TYPE", "3"}}));
    Cfg cfg;
    SignalLog<qint32> loaded(&cfg, &Cfg::sigUpdateLoadConfig);
    EXPECT_EQ(cfg.loadStartupConfig(), Cfg::LANGUAGE_TYPE_RUSSIAN);
    ASSERT_EQ(loaded.count(), 1);
    EXPECT_EQ(std::get<0>(loaded.at(0)), 0);
}

TEST_F(ConfigFiles, FpgaVersionText)
{
    Cfg cfg;
    EXPECT_EQ(cfg.getFpgaVersionText(), "0.0.0000");
    cfg.fpgaVersion = 0xFF10000F;
    EXPECT_EQ(cfg.getFpgaVersionText(), "255.16.000f");
}

TEST_F(ConfigFiles, CheckConfigRemovesOnlyLookalikes)
{
    for (const char* name : {"softinfo.xml", "softinfo.xml.bak", "old_softinfo.xml", "devinfo.xml"})
        root.writeDat(name, "x");
    Cfg cfg;
    cfg.checkConfig("softinfo.xml");
    EXPECT_EQ(QDir(root.box.filePath("dat")).entryList(QDir::Files, QDir::Name),
              QStringList({"devinfo.xml", "softinfo.xml"}));

    // A name is never handed to a shell.
    zoplat::host::clearRecordedCommands();
    cfg.checkConfig("x; rm -rf dat");
    EXPECT_EQ(zoplat::host::recordedCommands(), QStringList({"sync"}));
}

// No zone is more than 14 h from UTC: a stored offset beyond that keeps the
// key's default. With the zone list, the offset is the zone's (52 is
// UTC+05:30): another is held to it, and a zone past the list to the first.
TEST_F(ConfigFiles, TimeZoneOffsetBeyondFourteenHoursKeepsTheDefault)
{
    const struct {
        const char* zone;   // "": no zone list
        const char* text;
        qint32 wantZone, want;
        int named;
    } rows[] = {{"", "840", 0, 840, 0},   {"", "-840", 0, -840, 0}, {"", "330", 0, 330, 0},
                {"", "841", 0, 0, 1},     {"", "-841", 0, 0, 1},    {"", "6000", 0, 0, 1},
                {"", "2147483647", 0, 0, 1}, {"", "-2147483648", 0, 0, 1},
                {"52", "330", 52, 330, 0},     {"0", "330", 0, 0, 1},         {"5000", "330", 0, 0, 2},
                {"5000", "0", 0, 0, 1},        {"52", "0", 52, 330, 1},       {"52", "841", 52, 330, 1}};
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.zone) + " " + r.text);
        const QString list = root.datFile("CUSTOM_TIMEZONES.XML");
        QFile::remove(list);
        ASSERT_TRUE(!*r.zone || QFile::copy(ZOR_SOURCE_DIR "/resources/dat/CUSTOM_TIMEZONES.XML", list));
        root.writeDat("softinfo.xml", xmlFile({{"TIME_ZONE", r.zone}, {"TIME_ZONE_OFFSET_MINUTES", r.text}}));
        Cfg cfg;
        cfg.timeZoneOffsetMin = 60;
        cfg.loadSoftwareConfig();
        EXPECT_EQ(cfg.timeZone, r.wantZone);
        EXPECT_EQ(cfg.timeZoneOffsetMin, r.want);
        EXPECT_EQ(cfg.heldSettings().size(), r.named);
    }
}

// A file that is no XML document is named as damaged (its settings take the
// key defaults) and kept: the next save first moves it aside.
TEST_F(ConfigFiles, FileThatIsNotXmlIsNamedAndKeptAsideBeforeTheNextSave)
{
    const struct {
        const char* name;
        std::function<bool(Cfg&)> save;   // null: the program never writes it
    } rows[] = {
        {"softinfo.xml", [](Cfg& c) { return c.saveSoftwareConfig(); }},
        {"devinfo.xml", [](Cfg& c) { return c.saveHardwareConfig(false); }},
        {"batteryinfo.xml", [](Cfg& c) { return c.saveBatteryConfig(); }},
        {"sysinfo.xml", nullptr},
    };
    const QByteArray damaged = "PK\x03\x04<root><LANUAGE_TYPE>1</LANUAGE";
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        root.writeDat(r.name, damaged);
        Cfg cfg;
        cfg.doLoadConfig(0);
        cfg.doLoadConfig(1);
        cfg.doLoadBatteryConfig();
        EXPECT_EQ(cfg.damagedFiles(), QStringList({r.name}));
        if (!r.save) {
            root.writeDat(r.name, xmlFile({}));
            continue;
        }
        // Twice damaged: the earlier copy aside stays as well.
        for (const char* aside : {".damaged", ".1.damaged"}) {
            ASSERT_TRUE(r.save(cfg));
            EXPECT_EQ(root.readDat(r.name + QString(aside)), damaged) << aside;
            EXPECT_TRUE(root.readDat(r.name).startsWith("<?xml"));
            root.writeDat(r.name, damaged);
        }
        // A readable file is simply replaced, and a load that reads it clears the name.
        root.writeDat(r.name, xmlFile({}));
        ASSERT_TRUE(r.save(cfg));
        EXPECT_FALSE(QFileInfo::exists(root.datFile(r.name + QString(".2.damaged"))));
        cfg.doLoadConfig(0);
        cfg.doLoadConfig(1);
        cfg.doLoadBatteryConfig();
        EXPECT_TRUE(cfg.damagedFiles().isEmpty());
    }
    // The software file is read at start-up too: taken as no file, a first
    // start's English with the beep on, not the defaults of missing keys.
    // The start's read, the engine's and the main page's log it once.
    root.writeDat("softinfo.xml", damaged);
    MessageCapture log;
    Cfg cfg;
    EXPECT_EQ(cfg.loadStartupConfig(), Cfg::LANGUAGE_TYPE_ENGLISH);
    cfg.doLoadConfig(Cfg::CONFIG_TYPE_SOFTWARE_DATA);
    cfg.doLoadConfig(Cfg::CONFIG_TYPE_SOFTWARE_DATA);
    EXPECT_TRUE(cfg.beepEnabled);
    EXPECT_EQ(cfg.damagedFiles(), QStringList({"softinfo.xml"}));
    EXPECT_EQ(log.warnings().filter("softinfo.xml cannot be read").size(), 1) << log.warnings().join('\n').toStdString();
}

// With every name aside taken, the oldest damaged copy gives way and the
// settings are still saved.
TEST_F(ConfigFiles, SettingsSaveWhenAllDamagedCopiesAreKept)
{
    const QByteArray damaged = "PK\x03\x04";
    root.writeDat("softinfo.xml", damaged);
    const QDateTime start = QDateTime::currentDateTime().addDays(-1);
    for (int n = 0; n < BaseXmlFile::kDamagedCopies; ++n) {
        QFile copy(root.datFile(n == 0 ? "softinfo.xml.damaged" : QString("softinfo.xml.%1.damaged").arg(n)));
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        ASSERT_TRUE(copy.write("copy") == 4 && copy.flush());
        ASSERT_TRUE(copy.setFileTime(start.addSecs(n == 50 ? -60 : n), QFileDevice::FileModificationTime));
    }
    Cfg cfg;
    cfg.ditherTime = 0.25;
    ASSERT_TRUE(cfg.saveSoftwareConfig());
    EXPECT_EQ(root.readDat("softinfo.xml.50.damaged"), damaged);
    EXPECT_EQ(QDir(root.box.filePath("dat")).entryList({"*.damaged"}).size(), BaseXmlFile::kDamagedCopies);
    Cfg reread;
    reread.doLoadConfig(Cfg::CONFIG_TYPE_SOFTWARE_DATA);
    EXPECT_DOUBLE_EQ(reread.ditherTime, 0.25);
}

// Every stored setting, sent out of its domain through a file and through the
// setter. The domains are written here apart from the table: a row the table
// adds, widens or narrows fails until this list says so. held: the value a
// file's setting outside its domain is held to; NaN: the member keeps its value.
TEST_F(ConfigFiles, EverySettingOutsideItsDomainIsHeldAndNamedOrRefused)
{
    const double kept = std::nan("");
    const double big = std::numeric_limits<double>::max();
    const double tiny = std::numeric_limits<double>::denorm_min();
    // The driver's full scales are single-precision numbers, the current's ten
    // times the small-range level, each small range a tenth (265 V and 1 A first).
    const double least = std::numeric_limits<float>::denorm_min(), most = std::numeric_limits<float>::max();
    const double voltFullScale = 265.0, currentFullScale = 10 * 1.0;
    const struct
    {
        const char* key;
        double low, high, held;
        bool clamped;
    } domains[] = {
        {"DITHER_TIME", 0.001, 4294.967295, 0.015, false}, {"RATE_VOLTAGE", 0, voltFullScale, 57.735, false},
        {"RATE_CURRENT", 0, currentFullScale, 1.0, false}, {"RATE_FREQUENCY", 10, 1000, 50, false},
        {"SYSTEM_POWER_TYPE", 0, 1, 1, false},            {"SUSPEND_TIME", 0, 4294967295.0, 300, false},
        {"BEEP_ENABLE", 0, 1, 0, false},                  {"STYLE_TYPE", 0, 1, 0, false},
        {"LANUAGE_TYPE", 0, 4, 0, false},                 {"CLOCK_SYNC_ENABLED", 0, 1, 0, false},
        {"CLOCK_SOURCE", 0, 2, 0, false},                 {"TIME_ZONE", 0, 8192, 0, false},
        {"TIME_ZONE_OFFSET_MINUTES", -840, 840, 0, false}, {"DST_ENABLE", 0, 1, 0, false},
        {"EXT_TRIGGER_INPUT_TYPE", 0, 1, 0, false},       {"EXT_TRIGGER_INPUT_MODE", 0, 1, 0, false},
        {"EXT_TRIGGER_OUTPUT_TYPE", 0, 2, 0, false},      {"EXT_TRIGGER_OUTPUT_MODE", 0, 1, 0, false},
        {"DEVICE_AO_MAX_V_RANGE", least, most, 265, false}, {"DEVICE_AO_LEVEL_I_SMALL", least, most / 10, 1, false},
        {"DEVICE_AO_MAX_I_RANGE", least, currentFullScale, 10, false},
        {"DEVICE_AO_LEVEL_V_SMALL", least, voltFullScale / 10, 26.5, false},
        {"DEVICE_AO_T_THRESHOLD_ALARM", 40, 100, 70, true}, {"DEVICE_AO_T_THRESHOLD_RESUME", 30, 90, 50, true},
        {"DEVICE_VOLTAGE_PHASES_TYPE", 0, 1, 0, false},   {"DEVICE_CURRENT_PHASES_TYPE", 0, 1, 0, false},
        {"DEVICE_AUXDC_ENABLE", 0, 1, 1, false},          {"DEVICE_AUXDC_TYPE", 0, 1, kept, false},
        {"DEVICE_AUXDC_LEVEL_TYPE", 0, 1, kept, false},   {"DEVICE_AUXDC_MAX", tiny, big, kept, false},
        {"DEVICE_POWER_AMP_TYPE", 0, 1, kept, false},     {"DEVICE_ENERGY_ENABLE", 0, 1, 1, false},
        {"DEVICE_PAO_ON_ENABLE", 0, 1, 1, false},         {"PERCENT_D_1", 0, 100, 10, false},
        {"PERCENT_D_2", 0, 100, 5, false},                {"PERCENT_D_3", 0, 100, 2, false},
        {"PERCENT_D_4", 0, 100, 0, false},                {"PERCENT_D_5", 0, 100, 80, false},
        {"CONTINUE_TIME", 0, 2147483647.0, 10, false},    {"BATTERY_TYPE", 0, 1, 0, false},
    };
    const auto& table = Cfg::settingDomains();
    ASSERT_EQ(table.size(), int(std::size(domains)));
    for (const auto& d : domains) {
        SCOPED_TRACE(d.key);
        const auto row = std::find_if(table.begin(), table.end(),
                                      [&](const Cfg::SettingDomain& s) { return QLatin1String(s.key) == d.key; });
        ASSERT_NE(row, table.end());
        EXPECT_EQ(row->low, d.low);
        EXPECT_EQ(row->limit ? std::min(row->high, row->limit(Cfg())) : row->high, d.high);
        if (row->type == Cfg::SettingDomain::Boolean)
            continue;   // any text is a flag
        const bool whole = row->type != Cfg::SettingDomain::Real;
        std::vector<double> outside = {std::nan(""), HUGE_VAL, -HUGE_VAL};
        if (d.low > -big)
            outside.push_back(d.low > 0 && d.low < 1 ? -d.low : d.low - 1);
        if (d.high < big)
            outside.push_back(whole ? d.high + 1 : std::nextafter(d.high, HUGE_VAL));
        if (whole)
            outside.push_back(d.low + 0.5);
        for (double v : outside) {
            SCOPED_TRACE(v);
            const QString text = QString::number(v, 'g', 17);
            root.writeDat(row->file, xmlFile({{row->key, text}}));
            Cfg cfg;
            const double before = row->value(cfg);
            MessageCapture log;
            cfg.doLoadConfig(Cfg::CONFIG_TYPE_SOFTWARE_DATA);
            cfg.doLoadConfig(Cfg::CONFIG_TYPE_HARDWARE_DATA);
            cfg.doLoadBatteryConfig();
            double held = std::isnan(d.held) ? before : d.held;
            if (d.clamped && (v == d.low - 1 || v == d.high + 1))
                held = v < d.low ? d.low : d.high;
            EXPECT_EQ(row->value(cfg), held);
            const QList<Cfg::HeldSetting> named = cfg.heldSettings();
            ASSERT_EQ(named.size(), 1);
            EXPECT_EQ(named.at(0).file, row->file);
            EXPECT_EQ(named.at(0).key, row->key);
            EXPECT_EQ(named.at(0).read, text);
            EXPECT_EQ(named.at(0).held, held);
            EXPECT_TRUE(log.anyWarningContains(QString("key %1 holds %2 - outside its domain").arg(row->key, text)));
            QFile::remove(root.datFile(row->file));

            // The setter does not take it: the value in use stays, or a
            // clamped setting's is held to the nearer end.
            EXPECT_FALSE(cfg.setSetting(*row, v));
            EXPECT_EQ(row->value(cfg), d.clamped && std::isfinite(v) ? (v < d.low ? d.low : d.high) : held);
        }
        // Its ends are taken.
        Cfg cfg;
        for (double v : {d.low, d.high}) {
            EXPECT_TRUE(cfg.setSetting(*row, v)) << v;
            EXPECT_EQ(row->value(cfg), whole ? std::floor(v) : v);
        }
    }
    // The members' own setter reads the same table.
    Cfg cfg;
    EXPECT_FALSE(cfg.set(&Cfg::lanuageType, 99));
    EXPECT_FALSE(cfg.set(&Cfg::ditherTime, HUGE_VAL));
    EXPECT_EQ(cfg.lanuageType, Cfg::LANGUAGE_TYPE_ENGLISH);
    EXPECT_EQ(cfg.ditherTime, 0.015);
    EXPECT_TRUE(cfg.set(&Cfg::lanuageType, Cfg::LANGUAGE_TYPE_PORTUGUESE));
}

// The file as the issue found it: held, saved back held.
TEST_F(ConfigFiles, ASettingsFileOutsideItsDomainIsSavedBackHeld)
{
    root.writeDat("softinfo.xml", xmlFile({{"DITHER_TIME", "inf"}, {"LANUAGE_TYPE", "99"}, {"BEEP_ENABLE", "1"}}));
    Cfg cfg;
    EXPECT_EQ(cfg.loadStartupConfig(), Cfg::LANGUAGE_TYPE_CHINESE);
    EXPECT_EQ(cfg.ditherTime, 0.015);
    EXPECT_EQ(cfg.heldSettings().size(), 2);
    ASSERT_TRUE(cfg.saveSoftwareConfig());
    const QByteArray saved = root.readDat("softinfo.xml");
    EXPECT_TRUE(saved.contains("<DITHER_TIME>0.015</DITHER_TIME>")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("<LANUAGE_TYPE>0</LANUAGE_TYPE>")) << saved.toStdString();
}

// The start's read of the software file is the engine's first: a file being
// written meanwhile cannot give the panel one language and the settings another.
TEST_F(ConfigFiles, TheSoftwareFileIsOpenedOnceAtStart)
{
    root.writeDat("softinfo.xml", xmlFile({{"LANUAGE_TYPE", "2"}}));
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(root.datFile("softinfo.xml")).constData(), IN_OPEN | IN_CLOSE), 0);
    Cfg cfg;
    SignalLog<qint32> loaded(&cfg, &Cfg::sigUpdateLoadConfig);
    EXPECT_EQ(cfg.loadStartupConfig(), Cfg::LANGUAGE_TYPE_PORTUGUESE);
    cfg.doLoadConfig(Cfg::CONFIG_TYPE_SOFTWARE_DATA);   // the engine's first load
    cfg.doLoadConfig(Cfg::CONFIG_TYPE_SOFTWARE_DATA);   // the main page's
    int opens = 0;
    alignas(inotify_event) char buffer[4096];
    // Closes between the opens: inotify folds like events that follow each other.
    for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < n; at += ssize_t(sizeof(inotify_event))) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            opens += (event.mask & IN_OPEN) ? 1 : 0;
            at += event.len;
        }
    }
    ::close(watch);
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(loaded.count(), 3);
    // Later loads read it again.
    root.writeDat("softinfo.xml", xmlFile({{"LANUAGE_TYPE", "1"}}));
    cfg.doLoadConfig(Cfg::CONFIG_TYPE_SOFTWARE_DATA);
    EXPECT_EQ(cfg.lanuageType, Cfg::LANGUAGE_TYPE_ENGLISH);
}
