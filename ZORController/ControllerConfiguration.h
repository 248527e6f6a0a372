#pragma once

// The configuration worker: every device, software, system and battery
// setting in public members, the four key/value files under
// <application root>/dat, and the driver and clock configuration. Lives on the
// engine's configuration thread; its slots are reached through the facade's
// queued signals. Other threads read the members directly and write them
// through set(), under the lock.

#include <QHash>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>
#include <type_traits>

class BaseXmlHelper;

class ControllerConfiguration : public QObject
{
    Q_OBJECT

public:
    enum PhasesType : qint32 {
        PHASES_TYPE_THREE = 0,
        PHASES_TYPE_FOUR = 1,
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
    enum STYLEType : qint32 {
        STYLE_TYPE_DEFAULT = 0,
        STYLE_TYPE_BLACKLIGHT = 1,
    };
    enum CONFIGType : qint32 {
        CONFIG_TYPE_SOFTWARE_DATA = 0,
        CONFIG_TYPE_HARDWARE_DATA = 1,
    };
    enum AuxDCType : qint32 {
        AUXDC_TYPE_CONSTANT = 0,
        AUXDC_TYPE_ADJUSTABLE = 1,
    };
    enum PowerAmpType : qint32 {
        POWER_AMP_TYPE_ANALOG = 0,
        POWER_AMP_TYPE_DIGITAL = 1,
    };
    enum SystemPowerType : qint32 {
        SYSTEM_POWER_TYPE_LLO = 0,
        SYSTEM_POWER_TYPE_PAO = 1,
    };
    // IRIG-B is 2 here; the settings page stores its own value 1, which is
    // what is kept and sent.
    enum ClockSourceType : qint32 {
        CLOCK_SOURCE_GPS = 0,
        CLOCK_SOURCE_IRIG_B = 2,
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
    Q_ENUM(PhasesType)
    Q_ENUM(LANGUAGEType)
    Q_ENUM(STYLEType)
    Q_ENUM(CONFIGType)

    static constexpr const char* SOFTWARE_VERSION = "2.0.0004";
    static constexpr qint32 SOFTWARE_TYPE = -1;
    static const QString SOFTWARE_NAME_CN_0;
    static const QString SOFTWARE_NAME_CN_1;
    static const QString SOFTWARE_NAME_EN_0;
    static const QString SOFTWARE_NAME_EN_1;
    static const QString SOFTWARE_NAME_PT_0;
    static const QString SOFTWARE_NAME_PT_1;
    // No zone lies further from UTC; a stored offset beyond it is not used.
    static constexpr qint32 MAX_TIME_ZONE_OFFSET_MINUTES = 14 * 60;

    explicit ControllerConfiguration(QObject* parent = nullptr);
    ~ControllerConfiguration() override;

    // ---- Members, in declaration order (constructor values in the .cpp) ----
    double maxIRange;
    double maxVRange;
    double levelISmall;
    double levelVSmall;
    quint32 fanSpeedFrequency;
    quint32 tempThresholdAlarm;
    quint32 tempThresholdResume;
    quint32 periodFrequency;
    double ditherTime;   // s, contact debounce (0.015 until a file says otherwise)
    quint32 suspendTime;
    bool beepEnabled;
    double rateVoltage;
    double rateCurrent;
    double rateFrequency;
    quint32 fpgaVersion;
    qint32 percentD1;
    qint32 percentD2;
    qint32 percentD3;
    qint32 percentD4;
    qint32 percentD5;
    qint32 continueTime;
    qint32 batteryType;
    QString softwareName;
    QString softwareVersion;
    QString deviceModel;
    QString deviceCode;
    qint32 softwareType;
    PhasesType volPhasesType;
    PhasesType curPhasesType;
    bool auxdcEnable;
    AuxDCType auxdcType;
    qint32 auxdcLevelType;
    double auxdcMaxValue;
    PowerAmpType powerAmpType;
    SystemPowerType systemPowerType;
    bool deviceEnergyEnable;
    bool devicePaoOnEnable;
    STYLEType styleType;
    LANGUAGEType lanuageType;
    QString auxDCLevelName[2];
    bool auxDCLevelVisible[2];
    // Read by the network service's and the GUI's threads while the
    // configuration thread writes it.
    std::atomic<bool> initDriverEnable;
    bool bClkSyncEnabled;
    ClockSourceType clockSource;
    qint32 timeZone;
    bool bDSTEnable;
    ExternalTriggerInputType extTrigInnputType;
    ExternalTriggerMode extTrigInnputMode;
    ExternalTriggerOutputType extTrigOutputType;
    ExternalTriggerMode extTrigOutputMode;
    qint32 timeZoneOffsetMin;
    QList<quint32> ppxUTCTimeList;
    bool bNetConnect;
    QMutex mutex;   // serialises the file operations

    // The domain of one stored setting, in the one table (settingDomains())
    // that the loads, set() and a PC's records hold the settings to.
    struct SettingDomain
    {
        enum Type : quint8 { Real, Integer, Unsigned, Boolean };
        const char* file;   // "softinfo.xml" ...
        const char* key;
        Type type;
        double low;         // inclusive; a number is finite, an integer whole
        double high;
        double missing;     // a key missing from a file that was read; NaN: the member kept
        bool clamped;       // a number outside is held to the nearer end, else to missing
        void* (*member)(ControllerConfiguration&);
        void (*store)(ControllerConfiguration&, double);
        double (*value)(const ControllerConfiguration&);
        // The largest value the settings this one rests on allow (a rating
        // the device's range, a range the driver's full scale); null: none.
        double (*limit)(const ControllerConfiguration&) = nullptr;

        bool holds(double value) const;
        // holds(), and within limit as c's settings give it.
        bool holds(const ControllerConfiguration& c, double value) const;
    };
    static const QVector<SettingDomain>& settingDomains();

    // A stored setting held to its domain when read, as read and as held.
    struct HeldSetting
    {
        QString file;
        QString key;
        QString read;
        double held;
    };
    // What the last load of each file held to its domain. Any thread.
    QList<HeldSetting> heldSettings() const;

    // The one way to write a setting from outside the configuration's
    // thread: under mutex, which the saves, the loads and the driver records
    // take to read and write the members. A value outside the setting's
    // domain is not taken (false): the member keeps its value, or a finite
    // one is held to the nearer end of a clamped setting. Any thread.
    template <typename T, typename V>
    bool set(T ControllerConfiguration::*member, V value)
    {
        QMutexLocker lock(&mutex);
        if constexpr (std::is_arithmetic_v<V> || std::is_enum_v<V>) {
            if (!takes(&(this->*member), double(value)))
                return false;
        }
        this->*member = T(value);
        return true;
    }
    // A setting another thread may write (the PC's records write the
    // debounce and the rated frequency), read under the same lock. Any thread.
    template <typename T>
    T get(T ControllerConfiguration::*member)
    {
        QMutexLocker lock(&mutex);
        return this->*member;
    }
    // As set(), for the setting of a row of settingDomains().
    bool setSetting(const SettingDomain& setting, double value);

    // ---- Files ----
    // Each returns true when its file was written (false: not written, or
    // not made durable; the reason is in the debug output).
    bool saveSoftwareConfig();
    bool saveHardwareConfig(bool hwChecked);
    bool saveBatteryConfig();
    void loadSoftwareConfig();
    void loadHardwareConfig();
    void loadSystemConfig();
    void loadBatteryConfig();
    void sendSync();
    void checkConfig(QString name);

    // Start-up: loads the hardware and the software settings on the calling
    // (main) thread, before any queued request reaches the configuration
    // thread, so the language is known when the translator is chosen and the
    // ratings are held to the device's ranges. Returns lanuageType. The
    // start-up's own loads take these reads instead of reading the files
    // again: the engine's first of each, and the main page's of the software
    // settings.
    LANGUAGEType loadStartupConfig();

    // The ratings the view models start from, read together under mutex
    // (the configuration thread reloads them). Any thread.
    struct Ratings
    {
        double rateVoltage;
        double rateCurrent;
        double rateFrequency;
        double maxVRange;
        double maxIRange;
        PhasesType volPhasesType;
        PhasesType curPhasesType;
        LANGUAGEType language;
    };
    Ratings ratings();

    QString getFpgaVersionText() const;
    static QString getStyleTypeText(STYLEType type);
    QString getAuxDCLevelName(int i) const;
    bool getAuxDCLevelVisible(int i) const;

    // ---- Clock (called directly on the GUI thread) ----
    // Copies at most 64 pulse times to the driver and applies them; returns
    // the driver's result (0 success, -1 when the driver records do not exist).
    int updateClockPPXConfig();
    void updateClockSyncEnable();

    // Names of the files ("softinfo.xml" ...) whose last load found no
    // readable XML document there: taken as no file, their settings kept
    // what they had (at start, a first start's values). The
    // next save of such a file first moves it aside, to "<name>.damaged" (or
    // "<name>.<n>.damaged" when that is taken). Any thread.
    QStringList damagedFiles() const;

    // Result of the last doTestConfig: 0 when every counted driver call
    // succeeded. Readable from any thread.
    int lastTestConfigResult() const { return testConfigResult.load(); }

public slots:
    void doSaveConfig(qint32 type, bool hwChecked);
    void doLoadConfig(qint32 type);
    void doSaveBatteryConfig();
    void doLoadBatteryConfig();
    // Initialises the driver once, then sends the configuration records.
    // Returns 0 when every driver call of this request succeeded.
    int doTestConfig();
    void doTestRelease();
    int doUpdateClockSyncConfig();

signals:
    void sigUpdateClockSyncEnable(bool enable);
    void sigUpdateInitState(bool successed);
    void sigUpdateLoadConfig(qint32 type);

private:
    QString datFilePath(const QString& fileName) const;
    void fillDriverRecords();
    // Reads one of the dat files into the members its rows of
    // settingDomains() name (mutex held). False when there is no file, or one
    // that cannot be read, which is taken as none.
    bool readFile(const QString& fileName, const std::function<void(const BaseXmlHelper&)>& readTexts = {});
    void readHardwareFile();
    // Whether a load of the software settings is one the start's read stands for.
    bool takeStartRead();
    // Notes what the last read of a file found; true where that differs from
    // the read before it (what is to be logged).
    bool noteFile(const QString& fileName, bool isDamaged, const QList<HeldSetting>& heldHere);
    // Whether the member at address may take value as it is; when not, it is
    // logged, and a clamped setting holds a finite value to its nearer end.
    bool takes(const void* address, double value);
    // After a file's keys are read: holds what the settings it rests on do
    // not allow (the rows with a limit, the time zone and its offset), adding
    // to heldHere. texts: each key's text as read.
    void holdToOtherSettings(const QString& fileName, const QHash<QString, QString>& texts,
                             QList<HeldSetting>& heldHere);

    std::atomic<bool> hardwareReadAtStart{false};
    std::atomic<int> softwareLoadsFromStartRead{0};
    QList<HeldSetting> held;   // guarded by damageMutex

    std::atomic<int> testConfigResult{0};
    mutable QMutex damageMutex;   // guards damaged only, never held for file work
    QStringList damaged;
};
