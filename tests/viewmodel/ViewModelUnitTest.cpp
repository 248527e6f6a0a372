// The system view model's own logic: mirrored data and its texts, index
// checks, settings, auxiliary DC levels and the access codes. No instrument.

#include "ViewModelTestSupport.h"

#include "BaseModelDataDistance.h"

#include <cmath>

using vmtest::ModuleTestModel;
using vmtest::utf8;

namespace {

class ViewModel : public vmtest::ViewModelTest
{
};

} // namespace

TEST_F(ViewModel, TimesReadAndWriteHoursMinutesSecondsMilliseconds)
{
    ModuleTestModel vm;
    for (const char* text : {"07:08:09:123", "23:45:06:007", "00:59:01:999"}) {
        vm.setBeginTime(text);
        vm.setBOTurnTime(text);
        EXPECT_EQ(vm.getBeginTime(), QString(text));
        EXPECT_EQ(vm.getBOTurnTime(), QString(text));
    }
    // Minutes are minutes (not months), milliseconds are three digits.
    vm.setBeginTime("12:34:56:789");
    EXPECT_EQ(vm.getBeginTime().mid(3, 2), "34");
    vm.setBeginTime("12:34");
    EXPECT_EQ(vm.getBeginTime(), "");
}

TEST_F(ViewModel, IndexesOutsideTheArraysAreIgnored)
{
    ModuleTestModel vm;
    EXPECT_EQ(vm.getBatteryState(), -1);
    EXPECT_EQ(vm.getBatteryPercent(), -1);

    vm.testingSTATE[15] = 7;
    vm.testingALARM[15] = 1;
    for (int i : {-1, 16, 1000, -100000})
        EXPECT_EQ(vm.getState(ViewBaseModel::STATEType(i)), 0) << i;
    EXPECT_EQ(vm.getState(ViewBaseModel::STATEType(15)), 7);
    for (int i : {-1, 16, 99})
        EXPECT_EQ(vm.getAlarm(ViewBaseModel::ALARMType(i)), 0) << i;
    EXPECT_EQ(vm.getAlarm(ViewBaseModel::ALARM_TYPE_LOW_STORAGE), 1);

    const double normalBefore[3] = {vm.getNormalOutput(ViewBaseModel::AO_ITEM_TYPE_RANGE, ViewBaseModel::AO_PORT_TYPE_IX),
                                    vm.getNormalOutput(ViewBaseModel::AO_ITEM_TYPE_ANGLE, ViewBaseModel::AO_PORT_TYPE_UA),
                                    vm.getIntervalOutput(ViewBaseModel::AO_ITEM_TYPE_FREQUENCY, ViewBaseModel::AO_PORT_TYPE_IX)};
    for (int port : {-1, 8, 64}) {
        for (int item = 0; item < 3; ++item) {
            vm.setNormalOutput(ViewBaseModel::AOItemType(item), ViewBaseModel::AOPortType(port), 999.0);
            vm.setIntervalOutput(ViewBaseModel::AOItemType(item), ViewBaseModel::AOPortType(port), 999.0);
            EXPECT_EQ(vm.getNormalOutput(ViewBaseModel::AOItemType(item), ViewBaseModel::AOPortType(port)), 0.0);
            EXPECT_EQ(vm.getIntervalOutput(ViewBaseModel::AOItemType(item), ViewBaseModel::AOPortType(port)), 0.0);
        }
    }
    EXPECT_EQ(vm.getNormalOutput(ViewBaseModel::AO_ITEM_TYPE_RANGE, ViewBaseModel::AO_PORT_TYPE_IX), normalBefore[0]);
    EXPECT_EQ(vm.getNormalOutput(ViewBaseModel::AO_ITEM_TYPE_ANGLE, ViewBaseModel::AO_PORT_TYPE_UA), normalBefore[1]);
    EXPECT_EQ(vm.getIntervalOutput(ViewBaseModel::AO_ITEM_TYPE_FREQUENCY, ViewBaseModel::AO_PORT_TYPE_IX),
              normalBefore[2]);

    // Item 0 range, 1 angle, any other the frequency.
    vm.setIntervalOutput(ViewBaseModel::AOItemType(7), ViewBaseModel::AO_PORT_TYPE_IB, 60.0);
    EXPECT_EQ(vm.getIntervalOutput(ViewBaseModel::AO_ITEM_TYPE_FREQUENCY, ViewBaseModel::AO_PORT_TYPE_IB), 60.0);

    EXPECT_FALSE(vm.getBOState(4));
    EXPECT_FALSE(vm.getBIState(-1));
    vm.setBIState(4, 1);
    vm.setBIState(3, 1);
    EXPECT_TRUE(vm.getBIState(3));
    EXPECT_EQ(vm.getPowerT(4), 0);
    EXPECT_EQ(vm.getPowerT(-1), 0);
}

TEST_F(ViewModel, AlarmTextFollowsItsOwnOrder)
{
    ModuleTestModel vm;
    EXPECT_EQ(vm.getAlarmText(), "");
    EXPECT_EQ(vm.getAlarmCount(), 0);
    EXPECT_FALSE(vm.getAlarmEnable());
    EXPECT_EQ(vm.getAlarmLabel(), "!(0)");

    struct Row
    {
        std::vector<int> set;
        QString text;
    };
    const Row rows[] = {
        {{2, 4}, utf8("1.功放高温告警\r\n2.电流IA开路告警\r\n")},
        {{15, 7, 3, 0, 1}, utf8("1.电压高压引入告警\r\n2.小信号高压引入告警\r\n3.电压短路告警\r\n"
                                "4.电流IX开路告警\r\n5.内部存储较低\r\n")},
        {{8, 14}, ""},   // entries 8..14 are no alarms
    };
    for (const Row& row : rows) {
        std::fill(std::begin(vm.testingALARM), std::end(vm.testingALARM), 0);
        int expectedCount = 0;
        for (int i : row.set) {
            vm.testingALARM[i] = 1;
            expectedCount += (i < 8 || i == 15) ? 1 : 0;
        }
        EXPECT_EQ(vm.getAlarmText(), row.text);
        EXPECT_EQ(vm.getAlarmCount(), expectedCount);
        EXPECT_EQ(vm.getAlarmEnable(), expectedCount > 0);
        EXPECT_EQ(vm.getAlarmLabel(), QStringLiteral("!(%1)").arg(expectedCount));
    }
}

TEST_F(ViewModel, TemperatureTextsAndTheHottestAmplifier)
{
    ModuleTestModel vm;
    const int allNegative[4] = {-5, -1, -30, -2};
    std::copy(allNegative, allNegative + 4, vm.testingPowerT);
    EXPECT_EQ(vm.getPowerTMax(), 0);
    const int some[4] = {31, 44, 12, 43};
    std::copy(some, some + 4, vm.testingPowerT);
    EXPECT_EQ(vm.getPowerTMax(), 44);
    EXPECT_EQ(vm.getPowerTMaxText(), utf8("44℃"));
    // The fan duty as the runtime store holds it: 30 % before its first reading.
    EXPECT_EQ(vm.getPowerTDetailText(), utf8("电压功放: 31℃ ~ 44℃\n电流功放: 12℃ ~ 43℃\nFn: 30%"));

    // Running is allowed strictly below the resume temperature.
    config->tempThresholdResume = 44;
    EXPECT_FALSE(vm.getRunEnabled());
    EXPECT_FALSE(vm.testStart());
    config->tempThresholdResume = 45;
    EXPECT_TRUE(vm.getRunEnabled());
    config->tempThresholdResume = 40;
}

TEST_F(ViewModel, NothingStartsBeforeTheDriverIsInitialised)
{
    ModuleTestModel vm;
    std::atomic<bool>& initialised = ControllerCenter::getInstance()->testConfiguration->initDriverEnable;
    const bool before = initialised.load();
    initialised = false;
    EXPECT_FALSE(vm.getDriverInitialised());
    EXPECT_FALSE(vm.testStart());
    initialised = true;
    EXPECT_TRUE(vm.getDriverInitialised());
    initialised = before;
}

TEST_F(ViewModel, EventTextsKeepTheTwentyNewest)
{
    ModuleTestModel vm;
    for (int i = 1; i <= 21; ++i)
        vm.addSOEToView(QStringLiteral("e%1;").arg(i));
    EXPECT_EQ(vm.getSOECount(), 20);
    EXPECT_TRUE(vm.getSOEText().startsWith("e21;e20;"));
    EXPECT_FALSE(vm.getSOEText().contains("e1;"));
    vm.emptySOEList();
    EXPECT_EQ(vm.getSOECount(), 0);
    EXPECT_EQ(vm.doubleFormatToString(std::nan(""), 2), "NaN");
    EXPECT_EQ(vm.doubleFormatToString(1.23456, 3), "1.235");
}

TEST_F(ViewModel, SettingsReadAndWriteTheConfiguration)
{
    ModuleTestModel vm;
    const QString versions[][2] = {{"V1.0.0000", "1.0.0000"}, {"v2.0.0004", "2.0.0004"}, {"1.0.0000", "1.0.0000"}, {"", ""}};
    const QString savedVersion = config->softwareVersion;
    for (const auto& v : versions) {
        config->softwareVersion = v[0];
        EXPECT_EQ(vm.getSoftwareVersion(), v[1]);
    }
    config->softwareVersion = savedVersion;

    vm.setDevicePowerAmpEnabled(true);
    EXPECT_TRUE(vm.getDevicePowerAmpEnabled());
    EXPECT_EQ(config->systemPowerType, ControllerConfiguration::SYSTEM_POWER_TYPE_PAO);
    vm.setDevicePowerAmpEnabled(false);
    EXPECT_EQ(config->systemPowerType, ControllerConfiguration::SYSTEM_POWER_TYPE_LLO);
    config->systemPowerType = ControllerConfiguration::SystemPowerType(2);
    EXPECT_FALSE(vm.getDevicePowerAmpEnabled());

    vm.setVoltagePhasesType(1);
    EXPECT_EQ(config->volPhasesType, ControllerConfiguration::PHASES_TYPE_FOUR);
    config->curPhasesType = ControllerConfiguration::PHASES_TYPE_FOUR;
    EXPECT_EQ(vm.getCurrentPhasesType(), 1);

    // The remote-control switch reaches the facade's relay.
    int relayed = -1;
    QObject receiver;
    QObject::connect(center, &ControllerCenter::sigUpdateViewConnectEnable, &receiver,
                     [&](bool on) { relayed = on ? 1 : 0; });
    vm.setConnectedEnabled(true);
    EXPECT_TRUE(config->bNetConnect);
    EXPECT_EQ(relayed, 1);
    vm.setConnectedEnabled(false);
    EXPECT_EQ(relayed, 0);
}

TEST_F(ViewModel, DeviceConfigGoesToThePreFaultVoltagesAndTheFaultCalculator)
{
    ModuleTestModel vm;
    for (int p = 0; p < 8; ++p) {
        vm.setNormalOutput(ViewBaseModel::AO_ITEM_TYPE_RANGE, ViewBaseModel::AOPortType(p), 1.5);
        vm.setIntervalOutput(ViewBaseModel::AO_ITEM_TYPE_RANGE, ViewBaseModel::AOPortType(p), 2.5);
    }
    config->rateVoltage = 63.5;
    config->rateFrequency = 60.0;
    config->maxVRange = 120.0;
    config->maxIRange = 30.0;
    vm.updateDeviceConfig();
    for (int p = 0; p < 8; ++p) {
        const auto port = ViewBaseModel::AOPortType(p);
        EXPECT_EQ(vm.getNormalOutput(ViewBaseModel::AO_ITEM_TYPE_RANGE, port), p < 4 ? 63.5 : 1.5) << p;
        EXPECT_EQ(vm.getNormalOutput(ViewBaseModel::AO_ITEM_TYPE_FREQUENCY, port), 60.0) << p;
        EXPECT_EQ(vm.getIntervalOutput(ViewBaseModel::AO_ITEM_TYPE_RANGE, port), 2.5) << p;
    }
    BaseModelDataDistance* distance = BaseModelDataDistance::getInstance();
    EXPECT_EQ(distance->rateVoltage, 63.5);
    EXPECT_EQ(distance->rateFrequency, 60.0);
    EXPECT_EQ(distance->limitCurrentRange, 30.0);
    config->rateVoltage = 57.735;
    config->rateFrequency = 50.0;
    config->maxVRange = 265.0;
    config->maxIRange = 10.0;
}

TEST_F(ViewModel, AuxiliaryDcPicksTheLevelOfTheConfiguredPair)
{
    ModuleTestModel vm;
    QStringList sent;
    QObject receiver;
    QObject::connect(center, QOverload<bool, qint32>::of(&ControllerCenter::sigTestAuxDC), &receiver,
                     [&](bool on, qint32 level) { sent << QStringLiteral("level %1 %2").arg(on).arg(level); });
    QObject::connect(center, QOverload<bool, double>::of(&ControllerCenter::sigTestAuxDC), &receiver,
                     [&](bool on, double value) { sent << QStringLiteral("value %1 %2").arg(on).arg(value); });
    struct Row
    {
        int auxType;
        int levelType;
        ViewBaseModel::AuxDCSwitchType choice;
        bool on;
        QString expected;
    };
    const Row rows[] = {
        {0, 0, ViewBaseModel::AUXDC_SWITCH_48V, true, "level 1 1"},
        {0, 0, ViewBaseModel::AUXDC_SWITCH_220V, true, "level 1 0"},
        {0, 0, ViewBaseModel::AUXDC_SWITCH_24V, true, "level 1 0"},
        {0, 1, ViewBaseModel::AUXDC_SWITCH_220V, true, "level 1 1"},
        {0, 1, ViewBaseModel::AUXDC_SWITCH_48V, true, "level 1 0"},
        {0, 1, ViewBaseModel::AUXDC_SWITCH_110V, false, "level 0 0"},
        {1, 0, ViewBaseModel::AUXDC_SWITCH_OTHER, true, "value 1 137.5"},
        {1, 0, ViewBaseModel::AUXDC_SWITCH_OTHER, false, "value 0 0"},
    };
    for (const Row& row : rows) {
        sent.clear();
        vm.setDeviceAuxDCType(row.auxType);
        vm.setDeviceAuxDCLevelType(row.levelType);
        vm.setAuxDCVSwitch(row.choice);
        vm.setAuxDCVSwitchValue(137.5);
        vm.testAuxDC(row.on);
        EXPECT_EQ(sent, QStringList{row.expected}) << row.auxType << row.levelType << row.choice;
    }
    vm.setDeviceAuxDCType(0);
    vm.setDeviceAuxDCLevelType(0);
}

TEST_F(ViewModel, AccessCodesGuardTheirOwnPages)
{
    ModuleTestModel vm;
    struct Row
    {
        const char* code;
        int page;
        bool ok;
    };
    const Row rows[] = {
        {"47190263", 1, true},  {"58302914", 2, true},  {"58302914", 3, true},   {"47190263", 2, false},
        {"58302914", 1, false}, {"4719026", 1, false},  {"471902630", 1, false}, {" 47190263", 1, false},
        {"", 1, false},         {"", 2, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(vm.checkSettingPwd(row.code, row.page), row.ok) << row.code << " page " << row.page;
}
