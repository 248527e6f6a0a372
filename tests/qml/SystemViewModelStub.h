#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantList>

// Stands in for the system view model of the main window and the system
// pages in their QML tests and screenshots, where no engine runs: every
// operation those files call, under the view model's own name and argument
// count (stubMissingIn() checks that against the real class), its state in
// properties a test sets and reads, and every setter and action logged in
// `calls` as "name(arg,...)".
//
// QML type "ZOR.TestSupport" 1.0 SystemViewModelStub; a test declares one with
// the id viewBaseModel, which hides the engine-wide stub of the controls.
class SystemViewModelStub : public QObject
{
    Q_OBJECT
    // Settings.
    Q_PROPERTY(double rateVoltage MEMBER rateVoltage NOTIFY changed)
    Q_PROPERTY(double rateCurrent MEMBER rateCurrent NOTIFY changed)
    Q_PROPERTY(double rateFrequency MEMBER rateFrequency NOTIFY changed)
    Q_PROPERTY(double minOutputFrequency READ minOutputFrequency CONSTANT)
    Q_PROPERTY(double maxOutputFrequency READ maxOutputFrequency CONSTANT)
    Q_PROPERTY(double ditherTime MEMBER ditherTime NOTIFY changed)
    Q_PROPERTY(double suspendTime MEMBER suspendTime NOTIFY changed)
    Q_PROPERTY(bool beepEnabled MEMBER beepEnabled NOTIFY changed)
    Q_PROPERTY(int beepRequests MEMBER beepRequests NOTIFY changed)
    Q_PROPERTY(int systemStyle MEMBER systemStyle NOTIFY changed)
    Q_PROPERTY(int languageType MEMBER languageType NOTIFY changed)
    Q_PROPERTY(bool paoOnEnabled MEMBER paoOnEnabled NOTIFY changed)
    Q_PROPERTY(bool powerAmpEnabled MEMBER powerAmpEnabled NOTIFY changed)
    Q_PROPERTY(QString deviceModel MEMBER deviceModel NOTIFY changed)
    Q_PROPERTY(QString deviceCode MEMBER deviceCode NOTIFY changed)
    Q_PROPERTY(QString softwareName MEMBER softwareName NOTIFY changed)
    Q_PROPERTY(int softwareType MEMBER softwareType NOTIFY changed)
    Q_PROPERTY(QString softwareVersion MEMBER softwareVersion NOTIFY changed)
    Q_PROPERTY(QString fpgaVersion MEMBER fpgaVersion NOTIFY changed)
    Q_PROPERTY(bool energyEnabled MEMBER energyEnabled NOTIFY changed)
    Q_PROPERTY(bool connectedEnabled MEMBER connectedEnabled NOTIFY changed)
    // The network service refuses the switch-on (setConnectedEnabled(true)).
    Q_PROPERTY(bool connectRefused MEMBER connectRefused NOTIFY changed)
    // Hardware.
    Q_PROPERTY(int tAlarm MEMBER tAlarm NOTIFY changed)
    Q_PROPERTY(int tResume MEMBER tResume NOTIFY changed)
    Q_PROPERTY(double vMaxRange MEMBER vMaxRange NOTIFY changed)
    Q_PROPERTY(double vSmallRange MEMBER vSmallRange NOTIFY changed)
    Q_PROPERTY(double iMaxRange MEMBER iMaxRange NOTIFY changed)
    Q_PROPERTY(double iSmallRange MEMBER iSmallRange NOTIFY changed)
    Q_PROPERTY(int voltagePhases MEMBER voltagePhases NOTIFY changed)
    Q_PROPERTY(int currentPhases MEMBER currentPhases NOTIFY changed)
    Q_PROPERTY(int powerAmpType MEMBER powerAmpType NOTIFY changed)
    Q_PROPERTY(bool auxDCEnable MEMBER auxDCEnable NOTIFY changed)
    Q_PROPERTY(int auxDCType MEMBER auxDCType NOTIFY changed)
    Q_PROPERTY(int auxDCLevelType MEMBER auxDCLevelType NOTIFY changed)
    Q_PROPERTY(double auxDCMaxValue MEMBER auxDCMaxValue NOTIFY changed)
    Q_PROPERTY(int auxDCSwitch MEMBER auxDCSwitch NOTIFY changed)
    Q_PROPERTY(double auxDCValue MEMBER auxDCValue NOTIFY changed)
    // Live data.
    Q_PROPERTY(QVariantList states MEMBER states NOTIFY changed)
    Q_PROPERTY(bool alarmEnable MEMBER alarmEnable NOTIFY changed)
    Q_PROPERTY(QString alarmText MEMBER alarmText NOTIFY changed)
    Q_PROPERTY(QString alarmLabel MEMBER alarmLabel NOTIFY changed)
    Q_PROPERTY(bool lowStorageChanged MEMBER lowStorageChanged NOTIFY changed)
    Q_PROPERTY(QString powerTMaxText MEMBER powerTMaxText NOTIFY changed)
    Q_PROPERTY(QString powerTDetailText MEMBER powerTDetailText NOTIFY changed)
    Q_PROPERTY(double bigCurrentLimit MEMBER bigCurrentLimit NOTIFY changed)
    // Battery.
    Q_PROPERTY(int batteryState MEMBER batteryState NOTIFY changed)
    Q_PROPERTY(int batteryPercent MEMBER batteryPercent NOTIFY changed)
    Q_PROPERTY(int batteryPDType MEMBER batteryPDType NOTIFY changed)
    Q_PROPERTY(QVariantList batteryConfig MEMBER batteryConfig NOTIFY changed)
    Q_PROPERTY(int batteryType MEMBER batteryType NOTIFY changed)
    Q_PROPERTY(QString batteryProtectedState MEMBER batteryProtectedState NOTIFY changed)
    Q_PROPERTY(QString batteryFETState MEMBER batteryFETState NOTIFY changed)
    // Clock synchronisation.
    Q_PROPERTY(bool clkSyncEnabled MEMBER clkSyncEnabled NOTIFY changed)
    Q_PROPERTY(bool clkSyncState MEMBER clkSyncState NOTIFY changed)
    Q_PROPERTY(int clockSource MEMBER clockSource NOTIFY changed)
    Q_PROPERTY(QStringList timeZoneNames MEMBER timeZoneNames NOTIFY changed)
    Q_PROPERTY(int timeZoneIndex MEMBER timeZoneIndex NOTIFY changed)
    Q_PROPERTY(int timeZoneOffset MEMBER timeZoneOffset NOTIFY changed)
    Q_PROPERTY(bool timeZoneListRefused MEMBER timeZoneListRefused NOTIFY changed)
    Q_PROPERTY(bool dstEnabled MEMBER dstEnabled NOTIFY changed)
    Q_PROPERTY(int extInputType MEMBER extInputType NOTIFY changed)
    Q_PROPERTY(int extInputMode MEMBER extInputMode NOTIFY changed)
    Q_PROPERTY(int extOutputType MEMBER extOutputType NOTIFY changed)
    Q_PROPERTY(int extOutputMode MEMBER extOutputMode NOTIFY changed)
    Q_PROPERTY(QStringList ppxTimes MEMBER ppxTimes NOTIFY changed)
    // Start-up notice: what takeStartupNotice() hands out once.
    Q_PROPERTY(QString startupNotice MEMBER startupNotice NOTIFY changed)
    // What was called.
    Q_PROPERTY(QStringList calls MEMBER calls NOTIFY changed)

public:
    explicit SystemViewModelStub(QObject* parent = nullptr);

    // The outputs' range as the view model gives it (ModelEntity's), Hz.
    static double minOutputFrequency() { return 10.0; }
    static double maxOutputFrequency() { return 1000.0; }

    // The Q_INVOKABLE operations and slots of this stub (not the stub* helpers)
    // that other's class lacks, as "name/argument count".
    Q_INVOKABLE QStringList stubMissingIn(QObject* other) const;
    // The calls logged whose text starts with prefix.
    Q_INVOKABLE QStringList stubCallsStartingWith(const QString& prefix) const;
    // A start-up notice arrives: startupNotice = text, then sigStartupNotice().
    Q_INVOKABLE void stubTellStartupNotice(const QString& text);

    // ---- Settings ----------------------------------------------------------
    Q_INVOKABLE double getRateVRange() const { return rateVoltage; }
    Q_INVOKABLE void setRateVRange(double value);
    Q_INVOKABLE double getRateIRange() const { return rateCurrent; }
    Q_INVOKABLE void setRateIRange(double value);
    Q_INVOKABLE double getRateFrequency() const { return rateFrequency; }
    Q_INVOKABLE void setRateFrequency(double value);
    Q_INVOKABLE double getDitherTime() const { return ditherTime; }
    Q_INVOKABLE void setDitherTime(double value);
    Q_INVOKABLE double getSuspendTime() const { return suspendTime; }
    Q_INVOKABLE void setSuspendTime(double seconds);
    Q_INVOKABLE bool getBeepEnabled() const { return beepEnabled; }
    Q_INVOKABLE void setBeepEnabled(bool enable);
    Q_INVOKABLE void setBeep();
    Q_INVOKABLE int getSystemStyle() const { return systemStyle; }
    Q_INVOKABLE void setSystemStyle(int style);
    Q_INVOKABLE int getLanuageType() const { return languageType; }
    Q_INVOKABLE void setLanuageType(int type);
    Q_INVOKABLE bool getDevicePaoOnEnabled() const { return paoOnEnabled; }
    Q_INVOKABLE bool getDevicePowerAmpEnabled() const { return powerAmpEnabled; }
    Q_INVOKABLE void setDevicePowerAmpEnabled(bool enable);
    Q_INVOKABLE QString getDeviceModel() const { return deviceModel; }
    Q_INVOKABLE QString getDeviceCode() const { return deviceCode; }
    Q_INVOKABLE QString getSoftwareName() const { return softwareName; }
    Q_INVOKABLE bool getSoftwareType(int type) const { return softwareType == type; }
    Q_INVOKABLE QString getSoftwareVersion() const { return softwareVersion; }
    Q_INVOKABLE QString getFpgaVersion() const { return fpgaVersion; }
    Q_INVOKABLE bool getDeviceEnergyEnabled() const { return energyEnabled; }
    Q_INVOKABLE bool getConnectedEnabled() const { return connectedEnabled; }
    Q_INVOKABLE void setConnectedEnabled(bool enable);
    // pageType 1: "47190263", any other: "58302914".
    Q_INVOKABLE bool checkSettingPwd(QString text, int pageType) const;
    Q_INVOKABLE bool setSystemTime(QString time);
    Q_INVOKABLE void reboot();
    // startupNotice, then "" until the next one.
    Q_INVOKABLE QString takeStartupNotice();

    // ---- Hardware ------------------------------------------------------------
    Q_INVOKABLE int getDeviceTAlarm() const { return tAlarm; }
    Q_INVOKABLE int getDeviceTResume() const { return tResume; }
    Q_INVOKABLE double getDeviceAOVMaxRange() const { return vMaxRange; }
    Q_INVOKABLE double getDeviceAOVLevelSmallRange() const { return vSmallRange; }
    Q_INVOKABLE double getDeviceAOIMaxRange() const { return iMaxRange; }
    Q_INVOKABLE double getDeviceAOILevelSmallRange() const { return iSmallRange; }
    Q_INVOKABLE int getVoltagePhasesType() { return voltagePhases; }
    Q_INVOKABLE int getCurrentPhasesType() { return currentPhases; }
    Q_INVOKABLE int getDevicePowerAmpType() const { return powerAmpType; }
    Q_INVOKABLE bool getDeviceAuxDCEnable() const { return auxDCEnable; }
    Q_INVOKABLE int getDeviceAuxDCType() const { return auxDCType; }
    Q_INVOKABLE int getDeviceAuxDCLevelType() const { return auxDCLevelType; }
    Q_INVOKABLE double getDeviceAuxDCMaxValue() const { return auxDCMaxValue; }
    Q_INVOKABLE void setAuxDCVSwitch(int type);
    Q_INVOKABLE int getAuxDCVSwitch() const { return auxDCSwitch; }
    Q_INVOKABLE void setAuxDCVSwitchValue(double value);
    Q_INVOKABLE double getAuxDCVSwitchValue() const { return auxDCValue; }

    // ---- Live data -------------------------------------------------------------
    Q_INVOKABLE int getState(int type) const;
    Q_INVOKABLE bool getAlarmEnable() const { return alarmEnable; }
    Q_INVOKABLE QString getAlarmText() const { return alarmText; }
    Q_INVOKABLE QString getAlarmLabel() const { return alarmLabel; }
    // Logged; true once per lowStorageChanged set by the test.
    Q_INVOKABLE bool getAlarmLowStorageChanged();
    Q_INVOKABLE QString getPowerTMaxText() const { return powerTMaxText; }
    Q_INVOKABLE QString getPowerTDetailText() const { return powerTDetailText; }
    Q_INVOKABLE double updateMaxBigCurrentContinueTime();

    // ---- Battery -----------------------------------------------------------------
    Q_INVOKABLE int getBatteryState() const { return batteryState; }
    Q_INVOKABLE int getBatteryPercent() const { return batteryPercent; }
    // Logged: the order of the tick's calls matters.
    Q_INVOKABLE int getBatteryPDType();
    Q_INVOKABLE void setBatteryMosState();
    Q_INVOKABLE void setBatteryConfig(int index, int value);
    Q_INVOKABLE int getBatteryConfig(int index) const;
    Q_INVOKABLE void setBatteryType(int type);
    Q_INVOKABLE int getBatteryType() const { return batteryType; }
    Q_INVOKABLE void saveBatteryConfig();
    Q_INVOKABLE double getBatteryVoltageTotal() const { return 50.4; }
    Q_INVOKABLE double getBatteryVoltageAvg() const { return 4.2; }
    Q_INVOKABLE double getBatteryVoltageMax() const { return 4.213; }
    Q_INVOKABLE double getBatteryVoltageMin() const { return 4.188; }
    Q_INVOKABLE int getBatteryVoltageDiff() const { return 25; }
    Q_INVOKABLE double getBatteryCurrent() const { return -1.25; }
    Q_INVOKABLE int getBatteryLoopCount() const { return 12; }
    Q_INVOKABLE int getBatteryRateCap() const { return 20000; }
    Q_INVOKABLE int getBatteryResiCap() const { return 15000; }
    Q_INVOKABLE QString getBatterySoftVersion() const { return QStringLiteral("1.2"); }
    Q_INVOKABLE QString getBatteryFETState() const { return batteryFETState; }
    Q_INVOKABLE QString getBatteryProtectedState() const { return batteryProtectedState; }

    // ---- Clock synchronisation and pulse times -------------------------------------
    Q_INVOKABLE bool getClkSyncEnabled() const { return clkSyncEnabled; }
    Q_INVOKABLE void setClkSyncEnabled(bool enable);
    Q_INVOKABLE bool getClkSyncState() const { return clkSyncState; }
    Q_INVOKABLE int getClockSource() const { return clockSource; }
    Q_INVOKABLE void setClockSource(int source);
    Q_INVOKABLE int getTimeZoneCount() const { return timeZoneNames.size(); }
    Q_INVOKABLE QString getTimeZoneName(int index) const { return timeZoneNames.value(index); }
    Q_INVOKABLE int getTimeZoneCurrentIndex() const { return timeZoneIndex; }
    Q_INVOKABLE void setTimeZoneCurrentIndex(int index);
    // The offset becomes 60 minutes per index step.
    Q_INVOKABLE void updateTimeZoneOffset(int index);
    Q_INVOKABLE int getTimeZoneOffset() const { return timeZoneOffset; }
    Q_INVOKABLE bool getTimeZoneListRefused() const { return timeZoneListRefused; }
    Q_INVOKABLE bool getDSTEnabled() const { return dstEnabled; }
    Q_INVOKABLE void setDSTEnabled(bool enable);
    Q_INVOKABLE int getExtTriggerInputType() const { return extInputType; }
    Q_INVOKABLE void setExtTriggerInputType(int type);
    Q_INVOKABLE int getExtTriggerInputMode() const { return extInputMode; }
    Q_INVOKABLE void setExtTriggerInputMode(int mode);
    Q_INVOKABLE int getExtTriggerOutputType() const { return extOutputType; }
    Q_INVOKABLE void setExtTriggerOutputType(int type);
    Q_INVOKABLE int getExtTriggerOutputMode() const { return extOutputMode; }
    Q_INVOKABLE void setExtTriggerOutputMode(int mode);
    Q_INVOKABLE void setClockSyncConfig();
    Q_INVOKABLE bool addPPXUtcTime(QString startTime, int intervalTime, int timeCount);
    Q_INVOKABLE void delPPXUtcTime(int index);
    Q_INVOKABLE void clearPPXUtcTime();
    Q_INVOKABLE int getPPXTimeCount() const { return ppxTimes.size(); }
    Q_INVOKABLE QString getPPXUtcTimeStr(int index) const { return ppxTimes.value(index); }
    Q_INVOKABLE void setClockPPXConfig();

    double rateVoltage = 57.735;
    double rateCurrent = 1.0;
    double rateFrequency = 50.0;
    double ditherTime = 0.015;
    double suspendTime = 3000.0;
    bool beepEnabled = true;
    int beepRequests = 0;
    int systemStyle = 0;
    int languageType = 0;
    bool paoOnEnabled = true;
    bool powerAmpEnabled = true;
    QString deviceModel = QStringLiteral("ZOR-A1");
    QString deviceCode = QStringLiteral("20240101");
    QString softwareName = QStringLiteral("继电保护测试仪");
    int softwareType = 1;
    QString softwareVersion = QStringLiteral("2.0.0004");
    QString fpgaVersion = QStringLiteral("1.0.0003");
    bool energyEnabled = true;
    bool connectedEnabled = false;
    bool connectRefused = false;
    int tAlarm = 80;
    int tResume = 70;
    double vMaxRange = 300.0;
    double vSmallRange = 120.0;
    double iMaxRange = 20.0;
    double iSmallRange = 2.5;
    int voltagePhases = 1;
    int currentPhases = 0;
    int powerAmpType = 0;
    bool auxDCEnable = true;
    int auxDCType = 1;
    int auxDCLevelType = 0;
    double auxDCMaxValue = 300.0;
    int auxDCSwitch = 1;
    double auxDCValue = 0.0;
    QVariantList states;
    bool alarmEnable = false;
    QString alarmText;
    QString alarmLabel = QStringLiteral("!(0)");
    bool lowStorageChanged = false;
    QString powerTMaxText = QStringLiteral("35℃");
    QString powerTDetailText = QStringLiteral("电压功放: 35℃ ~ 34℃\n电流功放: 33℃ ~ 32℃\nFn: 0%");
    double bigCurrentLimit = -1.0;
    int batteryState = -1;
    int batteryPercent = -1;
    int batteryPDType = 6;
    QVariantList batteryConfig;
    int batteryType = 0;
    QString batteryProtectedState = QStringLiteral("0x0");
    QString batteryFETState = QStringLiteral("充电开/放电开");
    bool clkSyncEnabled = false;
    bool clkSyncState = false;
    int clockSource = 0;
    QStringList timeZoneNames;
    int timeZoneIndex = 0;
    int timeZoneOffset = 0;
    bool timeZoneListRefused = false;
    bool dstEnabled = false;
    int extInputType = 0;
    int extInputMode = 0;
    int extOutputType = 0;
    int extOutputMode = 0;
    QStringList ppxTimes;
    QString startupNotice;
    QStringList calls;

public slots:
    void conectSuspendEvent();
    void checkRunSuspend();
    void checkCurrentDateTime();
    void loadBattery();
    void saveBattery(uchar mosdata);
    void setBatterInfoEnable(bool enable);
    void testInterrupt();
    void testAuxDC(bool enable);
    void testConfig();
    void saveConfig(int type, bool hwChecked);
    void loadConfig(int type);

signals:
    void changed();
    void sigUpdateDataToView(int dataType, int subType);
    void sigStartupNotice();
    void sigNetServiceRefused(const QString& message);

private:
    void record(const QString& call);
};
