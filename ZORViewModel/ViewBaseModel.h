#pragma once

// The QML-facing base of every module view model and the home of the system
// functions: live state mirrored from the engine's runtime store, test
// control, device and software settings, battery, suspend, clock and pulse
// times, parameter files and HTML reports.
//
// Everything runs on the GUI thread. The model never talks to the driver
// itself: it calls the engine facade (ControllerCenter), reads the runtime
// store under its data lock, and reads and writes the configuration worker's
// members. Work that may wait on the device (shell scripts, the low-power
// switch, the backlight) goes to one background queue, in order, so the GUI
// thread never blocks on it.
//
// QML reaches the model only through Q_INVOKABLE getters and setters, slots,
// signals and Q_ENUMs; it declares no properties.

#include <QDateTime>
#include <QDomDocument>
#include <QDomElement>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTime>

#include <functional>
#include <optional>

class ControllerCenter;
class QFile;
class SystemTimeZone;
namespace filecopy {
struct Folder;
}
namespace BaseXmlFile {
enum class Kind;
}

class ViewBaseModel : public QObject
{
    Q_OBJECT
    // The frequencies an AC output gives, Hz: the pages' limits.
    Q_PROPERTY(double minOutputFrequency READ minOutputFrequency CONSTANT)
    Q_PROPERTY(double maxOutputFrequency READ maxOutputFrequency CONSTANT)

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
    enum AOPortType : qint32 {
        AO_PORT_TYPE_UA = 0,
        AO_PORT_TYPE_UB = 1,
        AO_PORT_TYPE_UC = 2,
        AO_PORT_TYPE_UX = 3,
        AO_PORT_TYPE_IA = 4,
        AO_PORT_TYPE_IB = 5,
        AO_PORT_TYPE_IC = 6,
        AO_PORT_TYPE_IX = 7,
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
        ALARM_TYPE_LOW_STORAGE = 15,
    };
    enum STYLEType : qint32 {
        STYLE_TYPE_DEFAULT = 0,
        STYLE_TYPE_BLACKLIGHT = 1,
    };
    enum LANGUAGEType : qint32 {
        LANGUAGE_TYPE_CHINESE = 0,
        LANGUAGE_TYPE_ENGLISH = 1,
        LANGUAGE_TYPE_PORTUGUESE = 2,
        LANGUAGE_TYPE_RUSSIAN = 3,
        LANGUAGE_TYPE_JAPANESE = 4,
        LANGUAGE_TYPE_FREANCH = 5,
        LANGUAGE_TYPE_GERMAN = 6,
        LANGUAGE_TYPE_ITALIAN = 7,
        LANGUAGE_TYPE_SPANISH = 8,
        LANGUAGE_TYPE_POLISH = 9,
        LANGUAGE_TYPE_KOREAN = 10,
        LANGUAGE_TYPE_CZECH = 11,
        LANGUAGE_TYPE_SLOVAK = 12,
        LANGUAGE_TYPE_INDONESIAN = 13,
        LANGUAGE_TYPE_MALAY = 14,
        LANGUAGE_TYPE_TURKISH = 15,
        LANGUAGE_TYPE_VIETNAMESE = 16,
        LANGUAGE_TYPE_THAI = 17,
        LANGUAGE_TYPE_FARSI = 18,
        LANGUAGE_TYPE_ARABIC = 19,
    };
    enum CONFIGType : qint32 {
        CONFIG_TYPE_SOFTWARE_DATA = 0,
        CONFIG_TYPE_HARDWARE_DATA = 1,
    };
    // The calibration slots pass any kind 0..10 on unchanged.
    enum CALType : qint32 {
        CAL_TYPE_ALL = 0,
        CAL_TYPE_ACAMP = 1,
        CAL_TYPE_ACDCO = 2,
        CAL_TYPE_ACPHA = 3,
        CAL_TYPE_ACFRQ = 4,
        CAL_TYPE_ACFAC = 5,
    };
    enum TESTType : qint32 {
        TEST_NONE = 0,
        TEST_CALIBRATION = 1,
        TEST_MULTITEST = 2,
        TEST_SEQUENCE = 3,
        TEST_FAULTTEST = 4,
        TEST_REMOTESIGNAL = 5,
        TEST_ALTERNATE = 6,
        TEST_HARMONIC = 7,
        TEST_STATESEQUENCE = 8,
        TEST_DISTANCE = 9,
        TEST_RAMPING = 10,
        TEST_OVERCURRENT = 11,
        TEST_DIRECT = 12,
        TEST_ENERGY = 13,
        TEST_SLIP_FREQUENCY = 14,
        TEST_SLIP_VOLTAGE = 15,
        TEST_OSCILLATE = 16,
        TEST_STDSOURCE = 17,
    };
    enum SUSPENDType : qint32 {
        SUSPEND_TYPE_NONE = 0,
        SUSPEND_TYPE_L1 = 1,   // screen dark
        SUSPEND_TYPE_L2 = 2,   // screen dark and the instrument in low power
        SUSPEND_TYPE_L3 = 3,   // never chosen
    };
    enum RampItemType : qint32 {
        RAMP_ITEM_TYPE_RANGE = 0,
        RAMP_ITEM_TYPE_ANGLE = 1,
        RAMP_ITEM_TYPE_FREQUENCY = 2,
    };
    enum AOItemType : qint32 {
        AO_ITEM_TYPE_RANGE = 0,
        AO_ITEM_TYPE_ANGLE = 1,
        AO_ITEM_TYPE_FREQUENCY = 2,
    };
    enum FaultActionType : qint32 {
        ACTION_TYPE_STOP = 0,
        ACTION_TYPE_RETURN = 1,
        ACTION_TYPE_CONTINUE = 2,
    };
    enum RampPortType : qint32 {
        RAMP_PORT_TYPE_UA = 0,
        RAMP_PORT_TYPE_UB = 1,
        RAMP_PORT_TYPE_UC = 2,
        RAMP_PORT_TYPE_UX = 3,
        RAMP_PORT_TYPE_UAUB = 4,
        RAMP_PORT_TYPE_UBUC = 5,
        RAMP_PORT_TYPE_UCUA = 6,
        RAMP_PORT_TYPE_UAUBUC = 7,
        RAMP_PORT_TYPE_IA = 8,
        RAMP_PORT_TYPE_IB = 9,
        RAMP_PORT_TYPE_IC = 10,
        RAMP_PORT_TYPE_IX = 11,
        RAMP_PORT_TYPE_IAIB = 12,
        RAMP_PORT_TYPE_IBIC = 13,
        RAMP_PORT_TYPE_ICIA = 14,
        RAMP_PORT_TYPE_IAIBIC = 15,
    };
    enum AOTriggerType : qint32 {
        AO_TRIGGER_TYPE_TIME = 0,
        AO_TRIGGER_TYPE_BINARY = 1,
        AO_TRIGGER_TYPE_TIME_BINARY = 2,
        AO_TRIGGER_TYPE_KEY_PRESS = 3,
        AO_TRIGGER_TYPE_GPS_IRIGB = 4,
    };
    enum AOTestStateType : qint32 {
        AO_STATE_TYPE_INITING = 0,
        AO_STATE_TYPE_RUNNNING = 1,
        AO_STATE_TYPE_COMPLETED = 2,
    };
    enum AOLinkStateType : qint32 {
        AO_LINKSTATE_TYPE_CONTINUE = 0,
        AO_LINKSTATE_TYPE_INITIATE = 1,
    };
    enum AOBILogicType : qint32 {
        AO_BILOGIC_TYPE_OR = 0,
        AO_BILOGIC_TYPE_AND = 1,
    };
    enum AOBIStateType : qint32 {
        AO_BI_STATE_NONE = 0,
        AO_BI_STATE_OFFON = 1,
        AO_BI_STATE_ONOFF = 2,
        AO_BI_STATE_ALL = 3,
    };
    enum AOTestResultType : qint32 {
        AO_Result_TYPE_NONE = 0,
        AO_Result_TYPE_SUCCESS = 1,
        AO_Result_TYPE_FAILED = 2,
    };
    enum PhasesType : qint32 {
        PHASES_TYPE_THREE = 0,
        PHASES_TYPE_FOUR = 1,
    };
    enum BATTERYPDType : qint32 {
        BAT_PD_TYPE_ZERO = 0,
        BAT_PD_TYPE_TWO = 1,
        BAT_PD_TYPE_FIVE_OFF = 2,
        BAT_PD_TYPE_FIVE_ON = 3,
        BAT_PD_TYPE_TEN_OFF = 4,
        BAT_PD_TYPE_TEN_ON = 5,
        BAT_PD_TYPE_NONE = 6,
    };
    enum AuxDCSwitchType : qint32 {
        AUXDC_SWITCH_NONE = 0,
        AUXDC_SWITCH_24V = 1,
        AUXDC_SWITCH_48V = 2,
        AUXDC_SWITCH_110V = 3,
        AUXDC_SWITCH_220V = 4,
        AUXDC_SWITCH_OTHER = 5,
    };
    // This class's own numbering: the chosen value is stored unchanged in the
    // configuration's clockSource and handed to the clock reference selector.
    enum ClockSourceType : qint32 {
        CLOCK_SOURCE_GPS = 0,
        CLOCK_SOURCE_IRIG_B = 1,
    };
    enum ExternalTriggerInputType : qint32 {
        IN_TIME_PULSE = 0,
        IN_EXTERNAL_PULSE = 1,
    };
    enum ExternalTriggerMode : qint32 {
        FALLING_EDGE = 0,
        RAISING_EDGE = 1,
    };
    enum ExternalTriggerOutputType : qint32 {
        OUT_TIME_PULSE = 0,
        OUT_PPS_PULSE_SECOND = 1,
        OUT_PPS_PULSE_MINUTE = 2,
    };
    Q_ENUM(DATAType)
    Q_ENUM(AOPortType)
    Q_ENUM(STATEType)
    Q_ENUM(ALARMType)
    Q_ENUM(STYLEType)
    Q_ENUM(LANGUAGEType)
    Q_ENUM(CONFIGType)
    Q_ENUM(CALType)
    Q_ENUM(TESTType)
    Q_ENUM(SUSPENDType)
    Q_ENUM(RampItemType)
    Q_ENUM(AOItemType)
    Q_ENUM(FaultActionType)
    Q_ENUM(RampPortType)
    Q_ENUM(AOTriggerType)
    Q_ENUM(AOTestStateType)
    Q_ENUM(AOLinkStateType)
    Q_ENUM(AOBILogicType)
    Q_ENUM(AOBIStateType)
    Q_ENUM(AOTestResultType)
    Q_ENUM(PhasesType)
    Q_ENUM(BATTERYPDType)
    Q_ENUM(AuxDCSwitchType)
    Q_ENUM(ClockSourceType)
    Q_ENUM(ExternalTriggerInputType)
    Q_ENUM(ExternalTriggerMode)
    Q_ENUM(ExternalTriggerOutputType)

    // Pre-fault or interval output of the eight ports (UA UB UC UX IA IB IC
    // IX): ranges in V (ports 0-3) or A (4-7), angles in degrees, frequencies
    // in Hz. Its parameter-file section: "ports" / "port0".."port7" /
    // "range", "angle", "frequency".
    class OutputEntity
    {
    public:
        OutputEntity();
        virtual ~OutputEntity();
        // toXml true writes the values under element (creating children);
        // false reads them, each missing value keeping its current one.
        // Reading from a null element returns false and changes nothing.
        virtual bool serialize(bool toXml, QDomElement* element, QDomDocument* doc);
        // As above, amplitudes read held to vmax (ports 0-3) and imax (4-7),
        // angles and frequencies to the pages' limits (mapPorts,
        // ViewParameterSetting.h).
        bool serialize(bool toXml, QDomElement* element, QDomDocument* doc, double vmax, double imax);

        double outputRanges[8];
        double outputAngles[8];
        double outputFrequencies[8];
    };

    // The trip of a single fault state, as a page's trigger panel sets it:
    // the condition of each binary input (AOBIStateType), their logic and the
    // binary outputs the state sets. A biindex or boindex outside 0..3, a bi
    // outside AOBIStateType or a logic outside AOBILogicType changes nothing;
    // a binary output is stored as 0 or 1 (all a parameter file reads back,
    // mapBinaryConditions). Reads outside 0..3 give 0. Made with every input
    // watched on both edges, no output set, OR logic.
    struct BinaryTrigger
    {
        BinaryTrigger();
        void setTriggerInput(int biindex, int bi);
        int triggerInput(int biindex) const;
        void setTriggerLogic(int logic);
        void setTriggerOutput(int boindex, int bo);
        int triggerOutput(int boindex) const;

        qint32 outputBIStates[4];
        AOBILogicType outputBILogicType;
        qint32 outputBOStates[4];
    };

    // Exit code of the event loop that makes the program start again.
    static constexpr qint32 EXEC_CODE_REBOOT = 1024;
    // Longest pulse-time list.
    static constexpr int PPX_MAX_COUNT = 64;
    // Storage below this many free bytes raises the low-storage alarm.
    static constexpr qint64 LOW_STORAGE_BYTES = 209715200;

    explicit ViewBaseModel(QObject* parent = nullptr);
    ~ViewBaseModel() override;

    // ---- Module hooks (declaration order is part of the contract) ----------
    virtual void doTestActive();
    virtual void doUpdateVMToEnt(DATAType type, int subType);
    virtual void doUpdateEntToVM(DATAType type, int subType);
    virtual void doSwitchToStopState();
    virtual void doSwitchToStartState();
    virtual void addSOEToView(const QString& text);
    virtual void doUpdateSOEToView(const QString& text);
    virtual void appendTestSetting(QDomDocument* doc, QDomElement* body);
    virtual void appendTestResult(QDomDocument* doc, QDomElement* body);
    virtual quint32 version(QDomElement* root);
    virtual bool checking(QDomElement* root);
    virtual bool serialize(bool write, QDomElement* root, QDomDocument* doc);
    // Reads the file into the model, all of it or nothing: a file that does
    // not parse, holds bytes its declared encoding cannot read, has another
    // root, or holds a value that its reader refuses (ViewParameterSetting.h)
    // leaves the model as it was and gives false, with the reason for
    // takeParameterFileNotice.
    virtual bool load(const QString& path, const QString& rootName, bool check);
    virtual bool save(const QString& path, const QString& rootName);

    // ---- Live data ----------------------------------------------------------
    // Indexes outside the arrays are ignored; reads give 0 or false.
    Q_INVOKABLE int getState(STATEType type) const;
    Q_INVOKABLE int getAlarm(ALARMType type) const;
    Q_INVOKABLE bool getAlarmEnable() const;
    Q_INVOKABLE int getAlarmCount() const;
    Q_INVOKABLE QString getAlarmText() const;
    Q_INVOKABLE QString getAlarmLabel() const;
    // True when the low-storage alarm changed (it is then stored).
    Q_INVOKABLE bool getAlarmLowStorageChanged();
    Q_INVOKABLE void setBOState(int index, int enable);
    Q_INVOKABLE void setBIState(int index, int enable);
    Q_INVOKABLE bool getBOState(int index) const;
    Q_INVOKABLE bool getBIState(int index) const;
    Q_INVOKABLE void revertBoState();
    Q_INVOKABLE int getFanPercent() const;
    Q_INVOKABLE int getPowerT(int index) const;
    Q_INVOKABLE int getPowerTMax() const;
    Q_INVOKABLE QString getPowerTMaxText() const;
    Q_INVOKABLE QString getPowerTDetailText() const;
    // Times as "hh:mm:ss:zzz" (hours, minutes, seconds, milliseconds).
    Q_INVOKABLE QString getBeginTime() const;
    Q_INVOKABLE QString getBOTurnTime() const;
    Q_INVOKABLE void setBeginTime(QString time);
    Q_INVOKABLE void setBOTurnTime(QString time);
    Q_INVOKABLE QString doubleFormatToString(double val, int precision) const;
    Q_INVOKABLE bool getRunEnabled() const;
    // Whether the instrument's driver has been initialised; until it has,
    // the header says so and every start is refused.
    Q_INVOKABLE bool getDriverInitialised() const;
    Q_INVOKABLE int getTestActiveType() const;
    Q_INVOKABLE QString getSOEText() const;
    Q_INVOKABLE int getSOECount() const;

    // Pre-fault and interval outputs; ports outside 0..7 are ignored (0 on read).
    Q_INVOKABLE void setNormalTime(double time);
    Q_INVOKABLE double getNormalTime() const;
    Q_INVOKABLE void setIntervalTime(double time);
    Q_INVOKABLE double getIntervalTime() const;
    Q_INVOKABLE void setNormalEnable(bool enable);
    Q_INVOKABLE bool getNormalEnable() const;
    Q_INVOKABLE void setIntervalEnable(bool enable);
    Q_INVOKABLE bool getIntervalEnable() const;
    Q_INVOKABLE void setOutputOnceOnly(bool enable);
    Q_INVOKABLE bool getOutputOnceOnly() const;
    Q_INVOKABLE void setNormalOutput(AOItemType type, AOPortType port, double value);
    Q_INVOKABLE double getNormalOutput(AOItemType type, AOPortType port) const;
    Q_INVOKABLE void setIntervalOutput(AOItemType type, AOPortType port, double value);
    Q_INVOKABLE double getIntervalOutput(AOItemType type, AOPortType port) const;

    // ---- Device and software settings ---------------------------------------
    Q_INVOKABLE double getDitherTime() const;
    Q_INVOKABLE void setDitherTime(double value);
    Q_INVOKABLE double getRateVRange() const;
    Q_INVOKABLE void setRateVRange(double value);
    Q_INVOKABLE double getRateIRange() const;
    Q_INVOKABLE void setRateIRange(double value);
    Q_INVOKABLE double getRateFrequency() const;
    Q_INVOKABLE void setRateFrequency(double value);
    static double minOutputFrequency();
    static double maxOutputFrequency();
    Q_INVOKABLE int getSystemStyle() const;
    Q_INVOKABLE void setSystemStyle(int style);
    Q_INVOKABLE int getLanuageType() const;
    Q_INVOKABLE void setLanuageType(int type);
    Q_INVOKABLE QString getDeviceModel() const;
    Q_INVOKABLE void setDeviceModel(QString model);
    Q_INVOKABLE QString getDeviceCode() const;
    Q_INVOKABLE void setDeviceCode(QString code);
    Q_INVOKABLE int getDeviceTAlarm() const;
    Q_INVOKABLE void setDeviceTAlarm(int value);
    Q_INVOKABLE int getDeviceTResume() const;
    Q_INVOKABLE void setDeviceTResume(int value);
    Q_INVOKABLE double getDeviceAOVMaxRange() const;
    Q_INVOKABLE void setDeviceAOVMaxRange(double value);
    Q_INVOKABLE double getDeviceAOIMaxRange() const;
    Q_INVOKABLE void setDeviceAOIMaxRange(double value);
    Q_INVOKABLE double getDeviceAOVLevelSmallRange() const;
    Q_INVOKABLE void setDeviceAOVLevelSmallRange(double value);
    Q_INVOKABLE double getDeviceAOILevelSmallRange() const;
    Q_INVOKABLE void setDeviceAOILevelSmallRange(double value);
    Q_INVOKABLE int getVoltagePhasesType();
    Q_INVOKABLE void setVoltagePhasesType(int type);
    Q_INVOKABLE int getCurrentPhasesType();
    Q_INVOKABLE void setCurrentPhasesType(int type);
    Q_INVOKABLE bool getDeviceAuxDCEnable() const;
    Q_INVOKABLE void setDeviceAuxDCEnable(bool enable);
    Q_INVOKABLE int getDeviceAuxDCType() const;
    Q_INVOKABLE void setDeviceAuxDCType(int type);
    Q_INVOKABLE double getDeviceAuxDCMaxValue() const;
    Q_INVOKABLE void setDeviceAuxDCMaxValue(double value);
    Q_INVOKABLE int getDeviceAuxDCLevelType() const;
    Q_INVOKABLE void setDeviceAuxDCLevelType(int type);
    Q_INVOKABLE int getDevicePowerAmpType() const;
    Q_INVOKABLE void setDevicePowerAmpType(int type);
    Q_INVOKABLE bool getDevicePowerAmpEnabled() const;
    Q_INVOKABLE void setDevicePowerAmpEnabled(bool enable);
    Q_INVOKABLE bool getDeviceEnergyEnabled() const;
    Q_INVOKABLE void setDeviceEnergyEnabled(bool enable);
    Q_INVOKABLE bool getDevicePaoOnEnabled() const;
    Q_INVOKABLE void setDevicePaoOnEnabled(bool enable);
    Q_INVOKABLE bool getConnectedEnabled() const;
    Q_INVOKABLE void setConnectedEnabled(bool enable);

    // Rated values and phase types into this model, the pre-fault voltages and
    // frequencies and the shared fault calculator.
    Q_INVOKABLE void updateDeviceConfig();
    Q_INVOKABLE QString getSoftwareName() const;
    Q_INVOKABLE bool getSoftwareType(int type) const;
    Q_INVOKABLE QString getSoftwareVersion() const;
    Q_INVOKABLE QString getFpgaVersion() const;
    Q_INVOKABLE QString getAuxDCLevelName(int index) const;
    Q_INVOKABLE bool getAuxDCLevelVisible(int index) const;
    Q_INVOKABLE void setAuxDCVSwitch(AuxDCSwitchType type);
    Q_INVOKABLE int getAuxDCVSwitch() const;
    Q_INVOKABLE void setAuxDCVSwitchValue(double value);
    Q_INVOKABLE double getAuxDCVSwitchValue() const;
    // pageType 1: hardware configuration; any other: output calibration.
    Q_INVOKABLE bool checkSettingPwd(QString text, int pageType) const;
    // Saves the software settings, ends the polling and battery loops and,
    // 2 s later (without blocking), ends the event loop with EXEC_CODE_REBOOT.
    Q_INVOKABLE void reboot();
    // What the reads of the configuration and calibration files at start-up
    // found damaged and that has not been told yet: one line per damaged
    // configuration file and one naming the calibration files that run on
    // defaults; "" when nothing is new. Each is told once per model.
    // sigStartupNotice() says when there is something new.
    Q_INVOKABLE QString takeStartupNotice();

    // ---- Battery --------------------------------------------------------------
    Q_INVOKABLE int getBatteryState() const;
    Q_INVOKABLE int getBatteryPercent() const;
    Q_INVOKABLE int getBatteryMosState() const;
    // The battery class of this tick (evaluated by checkBatteryPDType, which
    // loadBattery runs once per tick); asking again has no effect.
    Q_INVOKABLE int getBatteryPDType() const;
    // Evaluates the battery class and carries out its actions (interrupt,
    // auxiliary DC off, battery switch); returns the class.
    Q_INVOKABLE int checkBatteryPDType();
    Q_INVOKABLE void setBatteryMosState();
    Q_INVOKABLE void setBatteryConfig(int index, int value);
    Q_INVOKABLE int getBatteryConfig(int index) const;
    Q_INVOKABLE void setBatteryType(int type);
    Q_INVOKABLE int getBatteryType() const;
    Q_INVOKABLE void saveBatteryConfig();
    Q_INVOKABLE void loadBatteryConfig();
    Q_INVOKABLE double getBatteryVoltageTotal() const;
    Q_INVOKABLE double getBatteryVoltageAvg() const;
    Q_INVOKABLE double getBatteryVoltageMax() const;
    Q_INVOKABLE double getBatteryVoltageMin() const;
    Q_INVOKABLE int getBatteryVoltageDiff() const;
    Q_INVOKABLE double getBatteryCurrent() const;
    Q_INVOKABLE int getBatteryLoopCount() const;
    Q_INVOKABLE int getBatteryRateCap() const;
    Q_INVOKABLE int getBatteryResiCap() const;
    Q_INVOKABLE QString getBatterySoftVersion() const;
    Q_INVOKABLE QString getBatteryProduceDate() const;
    Q_INVOKABLE QString getBatteryFETState() const;
    Q_INVOKABLE QString getBatteryProtectedState() const;

    // ---- Suspend, clock, clock synchronisation ---------------------------------
    Q_INVOKABLE double getSuspendTime() const;
    Q_INVOKABLE void setSuspendTime(double seconds);
    Q_INVOKABLE int getSuspendType() const;
    // Sets the system clock from local "yyyy-MM-dd hh:mm:ss" in one request,
    // then the hardware clock; false for any other text or when refused.
    Q_INVOKABLE bool setSystemTime(QString time);
    Q_INVOKABLE bool getClkSyncEnabled() const;
    Q_INVOKABLE void setClkSyncEnabled(bool enable);
    Q_INVOKABLE int getClockSource() const;
    Q_INVOKABLE void setClockSource(int source);
    Q_INVOKABLE int getTimeZoneCurrentIndex() const;
    Q_INVOKABLE void setTimeZoneCurrentIndex(int index);
    Q_INVOKABLE bool getDSTEnabled() const;
    Q_INVOKABLE void setDSTEnabled(bool enable);
    Q_INVOKABLE int getExtTriggerInputType() const;
    Q_INVOKABLE void setExtTriggerInputType(int type);
    Q_INVOKABLE int getExtTriggerInputMode() const;
    Q_INVOKABLE void setExtTriggerInputMode(int mode);
    Q_INVOKABLE int getExtTriggerOutputType() const;
    Q_INVOKABLE void setExtTriggerOutputType(int type);
    Q_INVOKABLE int getExtTriggerOutputMode() const;
    Q_INVOKABLE void setExtTriggerOutputMode(int mode);
    Q_INVOKABLE void setClockSyncConfig();
    Q_INVOKABLE bool getClkSyncState() const;
    Q_INVOKABLE int getTimeZoneCount() const;
    Q_INVOKABLE QString getTimeZoneId(int index) const;
    Q_INVOKABLE QString getTimeZoneName(int index) const;
    Q_INVOKABLE int getTimeZoneOffsetFromUtc(int index) const;
    Q_INVOKABLE bool getTimeZoneDaylightEnable(int index) const;
    Q_INVOKABLE int getTimeZoneIndexFromId(QString id) const;
    Q_INVOKABLE void updateTimeZoneOffset(int index);
    // The stored zone's offset, minutes; 0 while the zone list could not be read.
    Q_INVOKABLE int getTimeZoneOffset() const;
    // Whether the zone list is there but could not be read (the page says so).
    Q_INVOKABLE bool getTimeZoneListRefused() const;

    // ---- Pulse times (UTC seconds) ---------------------------------------------
    // startTime "HH:mm:ss" in the configured zone (timeZoneOffsetMin), on the
    // zone's current date. False (nothing added) for an unparsable time, a
    // count <= 0, an interval <= 0 with a count above 1, or times beyond the
    // 32-bit range; at most PPX_MAX_COUNT entries are kept.
    Q_INVOKABLE bool addPPXUtcTime(QString startTime, int intervalTime, int timeCount);
    Q_INVOKABLE void delPPXUtcTime(int index);
    Q_INVOKABLE void clearPPXUtcTime();
    Q_INVOKABLE quint32 getPPXUtcTime(int index) const;
    Q_INVOKABLE int getPPXTimeCount() const;
    Q_INVOKABLE QString getPPXUtcTimeStr(int index) const;
    Q_INVOKABLE void sortClockPPXTimes();
    Q_INVOKABLE void setClockPPXConfig();

    // Seconds a large current may still flow (120 - 3 x the highest whole
    // amperes of this stretch from 12 A on), 0 below 12 A, -1 with no run.
    Q_INVOKABLE double updateMaxBigCurrentContinueTime();
    Q_INVOKABLE bool getBeepEnabled() const;
    Q_INVOKABLE void setBeepEnabled(bool enable);
    Q_INVOKABLE void setBeep();

    // ---- Parameter files and data root -----------------------------------------
    // "/mnt/sdp1" (through the platform's device paths) while both SD
    // partitions exist and the card is mounted there; else the application root.
    Q_INVOKABLE QString getRootPath() const;
    Q_INVOKABLE bool checkSDCardExist() const;
    // The folder of the page's own module, whatever module a PC's record
    // makes the active one (before the page is first shown: the active one's).
    Q_INVOKABLE QString getActiveTestDir() const;
    Q_INVOKABLE bool saveParameter();
    // A page file that is there but refused (see load) leaves the model as
    // it was, is moved aside to "parameter.xml.damaged" (or
    // "parameter.xml.<n>.damaged") and gives the notice below.
    Q_INVOKABLE bool loadParameter();
    // Why the last read of a parameter file (the page's own, or a named one
    // being loaded) was refused, once: "" when it was taken, missing or
    // already told.
    Q_INVOKABLE QString takeParameterFileNotice();

    // ---- Reports ------------------------------------------------------------------
    // name: a file name in the module's report folder (no path separators, no
    // "..", no leading "."); empty: folder + "_" + "yyyyMMddhhmmss" + ".htm".
    Q_INVOKABLE bool saveReport(QString name);
    // Why the last saveReport failed, for its notice; "" when it did not or
    // the plain failure says all.
    Q_INVOKABLE QString reportFailure() const { return reportFailureText; }
    // Copies the module report folders to the USB stick; false when no stick
    // is mounted (nothing is made then), none was exported or any copy failed.
    Q_INVOKABLE bool exportReport();
    bool checkReportFiles(const QString& root, const QString& folder);
    QString reportFailureText;
    bool openReportFile(QFile* file, QDomDocument* doc, QDomElement* body);
    void appendHead(QDomDocument* doc, QDomElement* body);
    void appendBottom(QDomDocument* doc, QDomElement* body);
    // A table of rows[0..rowCount-1] (rows may differ in length), every cell
    // of the given width; appended as the last child of parent.
    void appendTable(QDomDocument* doc, QDomElement* parent, QString border, QString width, QString align,
                     QString fontSize, QString fontFace, QStringList* rows, int rowCount);
    // The same with widths[c] for cell c of every row.
    void appendTable(QDomDocument* doc, QDomElement* parent, QString border, QStringList widths, QString align,
                     QString fontSize, QString fontFace, QStringList* rows, int rowCount);
    void appendImage(QDomDocument* doc, QDomElement* parent, QString src, QString width, QString height,
                     const QString& alt = QString());

    // Module folder of a test type ("AC", "Harmonic", ...), empty for others.
    static QString testDirOf(int testType);
    // Report title of a test type ("AC Test", ...), untranslated; empty for others.
    static QString testTitleOf(int testType);
    // A report name a user may give (see saveReport).
    static bool isValidReportName(const QString& name);

public slots:
    void disconectSuspendEvent();
    void conectSuspendEvent();
    void updateSuspendTime();
    void checkRunSuspend();
    void checkCurrentDateTime();
    void emptySOEList();
    void updateVMToEnt(DATAType type, int subType, bool toDevice);
    void updateEntToVM(DATAType type, int subType, bool fromDevice);
    void testActive();
    bool testStart();
    void testInterrupt();
    void testSwitch();
    void testAuxDC(bool enable);
    void testConfig();
    void saveConfig(CONFIGType type, bool hwChecked);
    void loadConfig(CONFIGType type);
    void saveCal(CALType type);
    void loadCal(CALType type);
    void resetCal(CALType type, bool cursel);
    void removeCal(CALType type);
    // The tick's battery step: every 5th call below 60 restarts the battery
    // reads and refreshes the battery data; then the class is evaluated once.
    void loadBattery();
    void saveBattery(uchar mosdata);
    void setBatterInfoEnable(bool enable);

signals:
    void sigUpdateSOEToView();
    void sigUpdateDataToView(int dataType, int subType);
    void sigUpdateStateIndexToView(int index);
    void sigUpdateViewConnectEnable(bool viewConnectedEnable);
    void sigStartupNotice();
    // Remote control could not be switched on (the network service refused
    // it): the text to show, naming the port and the reason when a port could
    // not be used.
    void sigNetServiceRefused(const QString& message);

protected:
    static ControllerCenter* center();
    // The current local date and time of the system clock.
    static QDateTime nowDateTime();
    QString getNowDateTimeString(QString fmt) const;
    // Runs fn on the model's background queue (in call order).
    static void runDeviceTask(std::function<void()> fn);
    // Current of a current port (4..7) being output, A.
    double currentOutputRange(int port) const;
    // Largest current being output, A (harmonic: largest RMS).
    double currentOutputMax() const;
    // A runtime STATE entry, read under the runtime lock.
    qint32 runtimeState(int index) const;
    bool checkLowStorage() const;
    bool sdCardMounted() const;
    void setBacklight(bool on);
    void setDeviceLowPower(bool enable);
    QString reportText(const char* source) const;
    // The numbers (from 1) of the flags that are set, each followed by ';'
    // ("1;3;"): the binary inputs and outputs as a report lists them.
    static QString setFlagList(const qint32 (&flags)[4]);
    // The binary-input conditions and binary outputs of a page (or of one of
    // its states) in the parameter file, under parent: "outputBILogicType",
    // "outputBIStates" / bi0..bi3 (AOBIStateType) and "outputBOStates" /
    // bo0..bo3 (0 or 1), each held to its range when read.
    static void mapBinaryConditions(bool save, QDomElement* parent, QDomDocument* doc, AOBILogicType& logic,
                                    qint32 (&bi)[4], qint32 (&bo)[4]);

    qint32 testingBatteryCount;
    qint32 testingSTATE[16];
    qint32 testingALARM[16];
    qint32 testingBO[4];
    qint32 testingBI[4];
    qint32 testingFanPercent;
    qint32 testingPowerT[4];
    qint32 testingSensorT[4];
    AuxDCSwitchType testingAuxDCVSwitch;
    double testintAuxDCValue;
    qint32 testingBatteryState;
    qint32 testingBatteryPercent;
    QTime testingBeginTime;
    QTime testingBOTurnTime;
    QStringList testingSOEList;
    qint32 testingSuspendType;
    qint64 testingSuspendTime;   // monotonic ms of the last input or suspend step
    quint8 testingBatMosState;
    OutputEntity normalOutput;
    OutputEntity intervalOutput;
    double normalTime;
    double intervalTime;
    bool outputOnceOnly;
    bool normalEnable;
    bool intervalEnable;
    double rateVoltage;
    double rateCurrent;
    double rateFrequency;
    PhasesType volPhasesType;
    PhasesType curPhasesType;
    bool bCloseMOS;
    bool bOpenMOS;
    SystemTimeZone* timeZoneHelper;
    double minOpenAlarmCurrent;
    quint32 dataVersion;
    bool bLoadParameter;
    // Battery class of the last evaluation.
    BATTERYPDType batteryPDType;
    // A start was requested and the run has not been seen running yet: a stop
    // meanwhile is forwarded (the engine handles it after the start).
    bool startPending;
    // The last run (or the one asked for) is one this page started: while a
    // PC has control its outputs and results still reach the page.
    bool followsOwnRun;
    quint32 runsSeen;   // the runtime's runsBegun at the last running notice
    // The run-state notice being handled is of a run the page does not follow
    // (neither its start pending nor its run): nothing of the entity's is taken.
    bool othersRun() const { return othersRunNotice; }
    bool othersRunNotice = false;
    int pageModule = -1;            // the module the page made the active one when shown, -1 before
    // The page's module (getActiveTestDir).
    int ownModule() const { return pageModule >= 0 ? pageModule : getTestActiveType(); }
    bool rebootPending;

private:
    // Takes the configuration's ratings, read together (the configuration
    // thread reloads them on request), the rated voltage and current held
    // to the device's maxima as the outputs give them. Returns the maxima.
    std::pair<double, double> takeRatings();

    // What the pages show of the clock state: whether it is synchronised and
    // the pulse times (how many, the next, the zone they are shown in).
    struct ShownClockState
    {
        bool synchronised;
        int pulses;
        quint32 nextPulse;
        qint32 zoneMinutes;
        bool operator==(const ShownClockState& o) const
        {
            return synchronised == o.synchronised && pulses == o.pulses && nextPulse == o.nextPulse
                && zoneMinutes == o.zoneMinutes;
        }
    };
    // As the pages last heard of it; none before the first notice.
    std::optional<ShownClockState> shownClockState;
    // Whether the clock state the pages show has changed since they last
    // heard of it; remembers the new one.
    bool takeClockStateChange();

    // ==== Start from a module page, its exit and its message (ViewBaseModelPageRun.cpp) ====
    // A page start disables the page's exit (the main window's home button)
    // until the engine's next run-state report, whichever it says; a report
    // that the start did not run also gives the refusal's text as the page's
    // message.
public:
    // Whether the page may be left: false from a page start until the
    // engine's next run-state report, true otherwise.
    Q_INVOKABLE bool getExitEnabled() const;
    // The last refusal the page has to show ("" when none since the last clear).
    Q_INVOKABLE QString getUserMessage() const;
    Q_INVOKABLE void clearUserMessage();
    // The page's text for a ControllerTestor::StartRefusal ("" for none).
    static QString startRefusalText(int reason, const QList<qint32>& numbers = {});

signals:
    // The page's exit (home button) becomes enabled or disabled.
    void sigExitEnable(bool enable);
    // A request was refused; text is what the page shows.
    void sigUserMessage(QString text);

protected:
    // The engine's live running flag (read under the runtime lock).
    bool isTestRunning() const;
    // Stores and signals a message for the page.
    void showUserMessage(const QString& text);
    // Whether the instrument may start now: false, with the message, when
    // the driver is not initialised or the power stage is too hot.
    bool instrumentReadyToStart();
    // ViewBaseModel::testStart; on true the page's exit stays disabled
    // until the engine reports the run state.
    bool startFromPage();
    // What a trip-time cell says in place of a time: "未复归" for a completed
    // point whose fault began on a relay still operated (a time it holds is
    // not its trip), "未动作" for a completed one without a trip, "" otherwise
    // (its time, or nothing before it has run).
    QString tripTimeWord(bool completed, bool notReset, double tripTime) const;
    // How the page names a value of its parameter file at keyPath (as
    // BaseXmlUtilities::keyPath gives it): in a list, the row the page shows
    // (a point, state or assessment, counted from 1) and the field's label
    // (a port's item by its channel, a ramp's end by its group); keyPath
    // itself outside a list.
    QString pageNameOf(const QString& keyPath) const;
    // The page's label of a list row's field by its file key; "" where the
    // model names none (the key is shown).
    virtual QString listFieldLabel(const QString& key) const;
    // A row of a page's table for listFieldLabel: a file key and its label
    // (marked with QT_TR_NOOP in the page's class).
    struct FieldLabel
    {
        const char* key;
        const char* label;
    };
    // The label of key in the page's table, translated in the context of
    // page (the page's staticMetaObject); "" for a key the table lacks.
    template <size_t N>
    static QString fieldLabel(const QMetaObject& page, const FieldLabel (&labels)[N], const QString& key)
    {
        for (const FieldLabel& l : labels) {
            if (key == QLatin1String(l.key))
                return page.tr(l.label, nullptr);
        }
        return QString();
    }

private:
    void setExitEnabled(bool enable);
    // Every run-state report lets the page be left again.
    void followRunStateReport(DATAType type, int subType);
    // At a run-state notice: whether a run began since the last, and whether
    // it is this page's (followsOwnRun).
    void followRunsBegun();

    bool exitEnabled = true;
    QString userMessage;

private slots:
    void updateSOEToView(QString text);
    void updateDataToView(int dataType, int subType);

private:
    static bool validPort(int port) { return port >= 0 && port < 8; }

    // Keys ("file:<name>", "cal:<kind>") of the damage not told yet.
    QStringList untoldDamage() const;
    QStringList toldDamage;

    // ==== File manager, calibration files on the USB stick, software upgrade ====
    // ViewBaseModelFiles.cpp, ViewBaseModelCalibrationUsb.cpp, ViewBaseModelUpgrade.cpp.
    //
    // The USB stick is "/media/usb" (a device path): it counts as present only
    // while the platform's mount check says it is mounted, never because a
    // folder is there. Files are copied, removed and created with the
    // platform's file calls (no shell); every result is checked. File names
    // that come from QML (save-as names, list entries) must be plain names:
    // no path separators, no "..", no leading ".".
public:
    enum FilePos : qint32 {
        FILE_POS_DEVICE = 0,
        FILE_POS_USB = 1,
    };
    enum FileType : qint32 {
        FILE_TYPE_PARAMETER = 0,
        FILE_TYPE_REPORT = 1,
    };
    enum FileModuleType : qint32 {
        FILE_MODULE_TYPE_ALTERNATE = 0,
        FILE_MODULE_TYPE_OVERCURRENT = 1,
        FILE_MODULE_TYPE_STATESEQUENCE = 2,
        FILE_MODULE_TYPE_RAMPING = 3,
        FILE_MODULE_TYPE_HARMONIC = 4,
        FILE_MODULE_TYPE_DISTANCE = 5,
        FILE_MODULE_TYPE_SLIP_FREQUENCY = 6,
        FILE_MODULE_TYPE_SLIP_VOLTAGE = 7,
        FILE_MODULE_TYPE_DIRECT = 8,
        FILE_MODULE_TYPE_OSCILLATE = 9,
        FILE_MODULE_TYPE_ENERGY = 10,
    };
    Q_ENUM(FilePos)
    Q_ENUM(FileType)
    Q_ENUM(FileModuleType)

    // ---- File manager: one module's parameter backups or reports, on the
    // device or on the stick. Setters ignore values outside their enum; the
    // USB position offers parameter files only (the type is forced).
    Q_INVOKABLE FilePos getFilePos() const;
    Q_INVOKABLE void setFilePos(FilePos pos);
    Q_INVOKABLE FileType getFileType() const;
    Q_INVOKABLE void setFileType(FileType type);
    Q_INVOKABLE FileModuleType getFileModuleType() const;
    Q_INVOKABLE void setFileModuleType(FileModuleType type);
    // Lists the working folder (files matching the type's filters, by name);
    // empty when the folder is missing or the stick is not mounted.
    Q_INVOKABLE void updateFileList();
    Q_INVOKABLE int getFileCount() const;
    Q_INVOKABLE QString getFileName(int index) const;
    Q_INVOKABLE bool getFileSelected(int index) const;
    Q_INVOKABLE void setFileSelected(int index, bool selected);
    // 0 none selected (also for an empty list), 1 all, 2 some.
    Q_INVOKABLE int getAllFileSelected() const;
    Q_INVOKABLE void setAllFileSelected(bool selected);
    // Device to stick, stick to device, delete: true when every selected
    // file that still exists was handled (nothing selected: true). One
    // failing file fails the operation; the others are still handled.
    // Copies read and write regular files only, never through a link (the
    // file's own or a folder's on the way); a link in the target's place is
    // replaced. takeFileCopyNotice then names what was and was not copied.
    Q_INVOKABLE bool exportSelectedFiles();
    Q_INVOKABLE bool importSelectedFiles();
    Q_INVOKABLE bool deleteSelectedFiles();
    // What the last copy (export, import, upgrade package) left out and
    // why, with what it copied, once: "" when nothing was left out.
    Q_INVOKABLE QString takeFileCopyNotice();
    // The stick is mounted and "/media/usb/" + sub (a plain name, or empty
    // for the stick itself) exists as a folder afterwards (a sub-folder is
    // created on the stick; the stick's own folder never is).
    Q_INVOKABLE bool checkUsbDiskExist(QString sub);
    // Base folder of a position and type, ending in "/": the data root's
    // "parameters_bk/" or "report/", or "/media/usb/parameters/" or
    // "/media/usb/report/" (device paths).
    Q_INVOKABLE QString getFileTypeDirName(FilePos pos, FileType type) const;
    // "AC", "Overcurrent", ...; values outside the enum give "AC".
    Q_INVOKABLE QString getFileModuleDirName(FileModuleType type) const;

    // ---- Named parameter files of the active module --------------------------
    // Backups in <data root>/parameters_bk/<module folder>, by name.
    Q_INVOKABLE QStringList getParmFileList() const;
    Q_INVOKABLE bool checkParmFileExist(QString name) const;
    Q_INVOKABLE bool checkReportFileExist(QString name) const;
    // Saves the parameters, then copies the live file to the backup name
    // (overwriting silently: the page asks first).
    Q_INVOKABLE bool backupParameter(QString name);
    // Reads the backup into the model and then writes it over the live
    // parameter file, only when the live folder exists and the backup is a
    // parameter file (root "DataRoot", nothing an XML file cannot carry)
    // that load takes. A refused backup changes nothing; takeParameterFileNotice
    // says why.
    Q_INVOKABLE bool loadParmFromFile(QString name);

    // ---- Calibration files to and from the stick ------------------------------
    // folder: a folder on the stick ("/media/usb/backup/" + device code);
    // mask: 0x01 low-level, 0x02 voltage, 0x04 current outputs.
    // Export: the engine writes the chosen kinds into "<app root>/dat/temp" on
    // its thread; after its finished notice (waited for at most
    // kCalEngineWaitMs) the files are copied to the folder, replacing only the
    // calibration files of the same names. True when the engine succeeded and
    // every file was copied (at least one).
    // Import: the folder's calibration files (".xml", else ".dat") are copied
    // into the staging folder, the engine imports them on its thread; the
    // result is the engine's import result (a set holding only ".dat" files
    // imports nothing and gives false).
    Q_INVOKABLE bool exportCal(QString folder, int mask);
    Q_INVOKABLE bool importCal(QString folder, int mask);
    // The same off the GUI thread, for the interface: false (nothing started)
    // while an export or import is under way; sigCalExchangeDone(exported, ok,
    // notice) brings the result.
    Q_INVOKABLE bool startExportCal(QString folder, int mask);
    Q_INVOKABLE bool startImportCal(QString folder, int mask);
    // What stopped the last exportCal or importCal, naming the file (the
    // message sigCalExchangeDone brings); "" when it did what was asked or
    // found no file.
    Q_INVOKABLE QString takeCalExchangeNotice();
    Q_INVOKABLE bool getCalExchangeBusy() const;
    // Longest wait for the engine's export or import, ms.
    static constexpr int kCalEngineWaitMs = 3000;

    // ---- Software upgrade from the stick ----------------------------------------
    // The newest qualifying package in "/media/usb/upgrade/" as a device path,
    // "" when none qualifies or the stick is not mounted.
    Q_INVOKABLE QString findUpdateFileName() const;
    Q_INVOKABLE bool checkUpgradeFileExist(QString path) const;
    // Copies the chosen package (a package file in the upgrade folder) to
    // "/media/usb/upgrade/zorupgrade.zip", removing an old one first; true
    // only when that copy succeeded.
    Q_INVOKABLE bool runUpgradePrepare(QString path);
    // Runs the upgrade script and waits for it: 0 when it exited with status
    // 0, else -1. Blocks: the interface uses startUpgradeShell().
    int runUpgradeShell();
    // Runs the script on the background queue; sigUpgradeShellFinished
    // brings its result and what the dialog says of it (success, the device
    // restarting; else failure, at once). False (nothing started) while one
    // is running.
    Q_INVOKABLE bool startUpgradeShell();

signals:
    void sigUpgradeShellFinished(int result, QString notice);
    void sigCalExchangeDone(bool exported, bool ok, QString notice);

protected:
    QList<QPair<QString, bool>> fileList;
    FileModuleType fileModuleType = FILE_MODULE_TYPE_ALTERNATE;
    FileType fileType = FILE_TYPE_PARAMETER;
    FilePos filePos = FILE_POS_DEVICE;

private:
    // The stick's mount point, "/media/usb", is mounted.
    static bool usbStickMounted();
    // A parameter document in bytes read into the model (load); `whole`:
    // refused when it holds a text no XML file can carry. commit, when given,
    // runs once the model took the file; when it fails the model is put back.
    bool readParameterBytes(const QByteArray& bytes, const QString& rootName, bool check, bool whole,
                            const std::function<bool()>& commit = {});
    // Reads a parameter file of kind whole into bytes: false when it is
    // missing, or (parameterNotice says why) no regular file, too large or
    // unreadable.
    bool readParameterFile(const QString& path, BaseXmlFile::Kind kind, QByteArray* bytes);
    // Why the last read of a parameter file was refused (see takeParameterFileNotice).
    QString parameterNotice;
    static bool exportCalFiles(const QString& folder, int mask, QString* notice = nullptr);
    static bool importCalFiles(const QString& folder, int mask, QString* notice = nullptr);
    QString calExchangeNotice;
    bool startCalExchange(bool exported, const QString& folder, int mask);
    // A plain file name: not empty, no "/", "\\" or NUL, no "..", no leading ".".
    static bool isPlainFileName(const QString& name);
    QString fileWorkingFolder(FilePos pos, FileType type) const;
    bool copySelectedFiles(FilePos from, FilePos to);
    // The working folder of a position and type, held open (FileCopy.h).
    filecopy::Folder fileFolder(FilePos pos, FileType type, bool create) const;
    // "name (why)" for a filecopy::Outcome.
    static QString refusalText(const QString& name, int outcome);
    QString fileCopyNotice;
    bool upgradeShellRunning = false;
};
