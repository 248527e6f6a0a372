#pragma once

// The driver's process-wide records. The test engine and its module entities
// fill them; the driver functions encode them into FPGA registers or fill them
// from the FPGA, the battery pack and the clock. Each record is one heap block
// reached through its global pointer, null until driverBaseInit() and again
// after driverBaseRelease(); every user must tolerate a null pointer.
//
// The records carry no lock. A field that one thread alone touches is a plain
// word or byte; a field that two threads touch (the testor, the polling loop,
// the configuration, the battery loop, the view models) is a CommShared of the
// same width, read and written as one atomic access. A writer completes one
// output state before it calls the page encoder.
//
// Channel index c runs over the port order UA UB UC UX IA IB IC IX = 0..7;
// c < 4 is a voltage channel, c >= 4 a current channel.

#include <atomic>
#include <cstdint>

// A record field that more than one thread reads or writes: each read and
// each write is one atomic access of the field's own width. It reads and
// assigns like the plain field, and a record holding it can still be copied
// (field by field, by one thread).
template <typename T>
class CommShared
{
public:
    CommShared() noexcept
        : v(T())
    {
    }
    explicit CommShared(T value) noexcept
        : v(value)
    {
    }
    CommShared(const CommShared& other) noexcept
        : v(other.load())
    {
    }
    CommShared& operator=(const CommShared& other) noexcept
    {
        v.store(other.load());
        return *this;
    }
    CommShared& operator=(T value) noexcept
    {
        v.store(value);
        return *this;
    }
    operator T() const noexcept { return v.load(); }
    T load() const noexcept { return v.load(); }
    T operator++() noexcept { return T(v.fetch_add(1) + 1); }

private:
    static_assert(std::atomic<T>::is_always_lock_free && sizeof(std::atomic<T>) == sizeof(T),
                  "a shared field keeps its width");
    std::atomic<T> v;
};

// The global pointer to a record: it reads and assigns like a plain pointer,
// and a thread that reads it (acquire) sees the record as it was when the
// pointer was assigned (release), whatever thread allocated it.
template <typename Record>
class CommRecord
{
public:
    constexpr CommRecord(Record* record = nullptr) noexcept
        : p(record)
    {
    }
    CommRecord(const CommRecord&) = delete;
    CommRecord& operator=(const CommRecord&) = delete;
    CommRecord& operator=(Record* record) noexcept
    {
        p.store(record, std::memory_order_release);
        return *this;
    }
    operator Record*() const noexcept { return p.load(std::memory_order_acquire); }
    Record* operator->() const noexcept { return *this; }
    Record& operator*() const noexcept { return *static_cast<Record*>(*this); }

private:
    std::atomic<Record*> p;
};

enum COMMPortType {
    COMM_PORT_TYPE_UA = 0,
    COMM_PORT_TYPE_UB = 1,
    COMM_PORT_TYPE_UC = 2,
    COMM_PORT_TYPE_UX = 3,
    COMM_PORT_TYPE_IA = 4,
    COMM_PORT_TYPE_IB = 5,
    COMM_PORT_TYPE_IC = 6,
    COMM_PORT_TYPE_IX = 7,
};

enum COMMLevelControlType {
    COMM_LEVELCONTROL_TYPE_AUTO = 0,
    COMM_LEVELCONTROL_TYPE_MANUAL = 1,
    COMM_LEVELCONTROL_TYPE_MANUAL_ACFACTOR = 2,
    COMM_LEVELCONTROL_TYPE_MANUAL_LLO = 3,
};

enum COMMLevelStateType {
    COMM_LEVELSTATE_TYPE_SMALL = 0,
    COMM_LEVELSTATE_TYPE_BIG = 1,
};

enum COMMBOControlType {
    COMM_BOCONTROL_TYPE_MANUAL = 0,
    COMM_BOCONTROL_TYPE_AUTO = 1,
};

enum COMMBILogicType {
    COMM_BILOGIC_TYPE_OR = 0,
    COMM_BILOGIC_TYPE_AND = 1,
};

enum COMMLinkStateType {
    COMM_LINKSTATE_TYPE_CONTINUE = 0,
    COMM_LINKSTATE_TYPE_INITIATE = 1,
};

enum COMMTriggerType {
    COMM_TRIGGER_TYPE_TIME = 0,
    COMM_TRIGGER_TYPE_BINARY = 1,
    COMM_TRIGGER_TYPE_TIME_BINARY = 2,
    COMM_TRIGGER_TYPE_KEY_PRESS = 3,
    COMM_TRIGGER_TYPE_GPS = 4,
};

// Where the instrument is: its state register (0x8336, the status record's
// statusTestStateIndex) names the page of the ring of eight playing (bits
// 0-2) and, in bit 15, that this page has ended: held until the software
// switches on, or the last state of a run the instrument steps through.
// An action report's word may carry bit 14 too: the contact moved before
// the page began, on the page before it (its stamp, debounce included, is
// not above the debounce).
struct DriverStateWord
{
    static constexpr int kPages = 8;
    static constexpr int kPageMask = kPages - 1;
    static constexpr int kEndedBit = 0x8000;
    static constexpr int kMovedBeforeBit = 0x4000;

    int word = 0;

    constexpr DriverStateWord() = default;
    constexpr explicit DriverStateWord(int stateWord)
        : word(stateWord)
    {
    }
    // `page` ended (an action read from a page the ring has left since).
    static constexpr DriverStateWord endedPage(int page) { return DriverStateWord((page & kPageMask) | kEndedBit); }

    constexpr int page() const { return word & kPageMask; }
    constexpr bool ended() const { return (word & kEndedBit) != 0; }
    constexpr bool movedBefore() const { return (word & kMovedBeforeBit) != 0; }
    // How many pages the ring moves on from page `from` to page `to`, 0..7
    // (pages of a run counted on from its start, or below 0, taken in the
    // ring page they fall in): a whole lap reads as none.
    static constexpr int pagesOnFrom(int64_t from, int64_t to)
    {
        return int(((to - from) % kPages + kPages) % kPages);
    }
    // The pages that ended from `earlier` to this word, in ring order from
    // earlier's page: every page the ring moved on from (but one already
    // ended at `earlier`) and this page once it has ended. The word cannot
    // tell a whole lap: eight pages moved read as none.
    constexpr int pagesEndedSince(DriverStateWord earlier) const
    {
        const int moved = pagesOnFrom(earlier.page(), page());
        const int ends = moved + (ended() ? 1 : 0) - (earlier.ended() ? 1 : 0);
        return ends < 0 ? 0 : ends;
    }
    constexpr bool operator==(DriverStateWord other) const { return word == other.word; }
    constexpr bool operator!=(DriverStateWord other) const { return word != other.word; }
};

// Bits of CommDriverTestOutputData::propertyEnables[c].
enum COMMStatePropertyEnableType {
    COMM_STATE_PROPERTY_ENABLE_TYPE_BASE = 1,
    COMM_STATE_PROPERTY_ENABLE_TYPE_HARM = 2,
    COMM_STATE_PROPERTY_ENABLE_TYPE_DRDT = 4,   // amplitude ramp
    COMM_STATE_PROPERTY_ENABLE_TYPE_DFDT = 8,   // frequency ramp
};

// Faulted phases.
enum COMMLinkPhaseType {
    COMM_LINKPHASE_TYPE_UA = 0,
    COMM_LINKPHASE_TYPE_UB = 1,
    COMM_LINKPHASE_TYPE_UC = 2,
    COMM_LINKPHASE_TYPE_UAB = 3,
    COMM_LINKPHASE_TYPE_UBC = 4,
    COMM_LINKPHASE_TYPE_UCA = 5,
    COMM_LINKPHASE_TYPE_UABC = 6,
};

enum COMMSystemPowerType {
    COMM_SYSTEM_POWER_TYPE_LLO = 0,   // low-level outputs only
    COMM_SYSTEM_POWER_TYPE_PAO = 1,   // power amplifiers
};

constexpr int COMM_PORT_COUNT = 8;
constexpr int COMM_LEVEL_COUNT = 2;
constexpr int COMM_COMPONENT_COUNT = 4;
constexpr int COMM_BINARY_COUNT = 4;
constexpr int COMM_PPX_MAX_COUNT = 64;

// Hardware constants (written by the driver configuration).
struct CommDriverConfigureHardData
{
    CommShared<float> maxIRange{10.0f};             // current full scale, A (channels 4-7)
    CommShared<float> maxVRange{265.0f};            // voltage full scale, V (channels 0-3)
    CommShared<float> levelISmall{1.0f};            // above this current the big range is used, A
    CommShared<float> levelVSmall{26.5f};           // above this voltage the big range is used, V
    CommShared<uint32_t> fanSpeedFrequency{6250};   // fan full-scale count
    CommShared<uint32_t> tempThresholdAlarm{70};    // over-temperature alarm, degC
    CommShared<uint32_t> tempThresholdResume{40};   // alarm clears below this, degC
    CommShared<uint32_t> periodFrequency{28000};    // synthesiser tick rate, Hz
    CommShared<uint32_t> fpgaVersion{0};            // (0x800A << 16) | 0x800C
    CommShared<uint8_t> volPhaseType{0};
    CommShared<uint8_t> curPhaseType{0};
    CommShared<float> auxdcMaxValue{350.0f};   // auxiliary DC full scale, V
    CommShared<uint8_t> powerAmpType{0};       // 1 = current amplifiers invert
    CommShared<uint8_t> systemPowerType{0};    // COMMSystemPowerType
};

struct CommDriverConfigureSoftData
{
    CommShared<float> ditherTime{0.015f};       // contact debounce, s
    CommShared<float> zeroOutputTime{0.001f};   // duration of a zero-output page, s
    CommShared<int32_t> batteryType{0};         // 0 binary battery protocol, else ASCII
};

// Calibration: [channel][range 0 small / 1 big][point]. A Limits entry <= 0
// marks an empty point. Defaults: Limits -1, Factors 1, Offsets 0,
// acfacFrqPoints 1.
struct CommDriverConfigureCalData
{
    CommDriverConfigureCalData();

    float acdcoAmpLimits[8][2][1];
    float acdcoAmpOffsets[8][2][1];
    float acampAmpLimits[8][2][4];
    float acampAmpFactors[8][2][4];
    float acampAmpOffsets[8][2][4];
    float acfrqAmpLimits[8][2][1];
    float acfrqFrqFactors[8][2][1];
    float acphaFrqLimits[8][2][1];
    float acphaPhaOffsets[8][2][1];
    float acfacFrqLimits[8][2][10];
    float acfacFrqFactors[8][2][10];
    float acfacFrqPoints[8][2][10];
    float auxdcPwmLimits[8][2][5];
    float auxdcPwmFactors[8][2][5];
    float auxdcPwmOffsets[8][2][5];
    float dcampAmpLimits[8][2][2];
    float dcampAmpFactors[8][2][2];
    float dcampAmpOffsets[8][2][2];
    float llodcoAmpLimits[8][2][1];
    float llodcoAmpOffsets[8][2][1];
    float lloampAmpLimits[8][2][4];
    float lloampAmpFactors[8][2][4];
    float lloampAmpOffsets[8][2][4];
    float llodcAmpLimits[8][2][2];
    float llodcAmpFactors[8][2][2];
    float llodcAmpOffsets[8][2][2];
};

// Fault-inception DC decay definition.
struct DecayDefine
{
    bool decayEnable = false;
    COMMLinkPhaseType linkphaseType = COMM_LINKPHASE_TYPE_UA;
    float closeAngle = 0.0f;    // fault inception angle, deg
    float decayFactor = 0.0f;   // decay time constant
    float decayZValue = 0.0f;   // turns the DC current into a DC voltage
    float faultAngle = 0.0f;    // deg
    float faultRange = 0.0f;    // fault current magnitude, A
};

// The output state to send. The encoder rewrites outputRanges, outputAngles
// and outputFrequencies in place: fill them again before every send.
struct CommDriverTestOutputData
{
    CommShared<float> currentOutputRanges[8][4] = {};   // as the entities set them; not encoded
    float outputRanges[8][4] = {};                      // V or A (RMS for AC)
    float outputAngles[8][4] = {};                      // deg
    float outputFrequencies[8][4] = {};                 // Hz, 0 = DC
    float outputTime = 0.0f;                            // s
    uint32_t outputLevelControlType = 0;                // COMMLevelControlType
    uint32_t outputLevelStates[8] = {};                 // COMMLevelStateType per channel (manual modes)
    uint32_t outputBOControlType = 0;                   // COMMBOControlType
    uint32_t outputBOHoldEnables[4] = {};
    uint32_t outputBOTurnEnables[4] = {};
    uint32_t outputBOInitStates[4] = {};
    float outputBOHoldTimes[4] = {36000.0f, 36000.0f, 36000.0f, 36000.0f};   // s
    float outputBOTurnTimes[4] = {};                                         // s
    uint32_t outputBIRiseEnables[4] = {};
    uint32_t outputBIFallEnables[4] = {};
    uint32_t outputBILogic = 0;         // COMMBILogicType
    uint32_t outputLinkStateType = 0;   // COMMLinkStateType
    uint32_t outputStateCount = 0;      // register 0x8304
    uint16_t outputTriggerType = 0;     // COMMTriggerType

    // Pulse output settings kept for the entities.
    uint32_t pluseOutputType = 0;
    uint32_t pluseOutputBO1Width = 0;
    uint32_t pluseOutputBO2Width = 0;
    uint32_t pluseOutputBO2Delay = 0;
    uint32_t pluseOutputBO1Enable = 0;
    uint32_t pluseOutputBO2Enable = 0;
    uint32_t pluseOutputCount = 0;

    // Energy-meter pulse input and output.
    CommShared<uint16_t> pulseInputEnable{0};    // register 0x8420; set last, after the other set-up fields
    CommShared<uint16_t> pulseInputTCU{0};       // register 0x8422
    CommShared<uint64_t> pulseInputPeriod{0};    // filled by driverBaseReadTestPulse
    CommShared<uint16_t> pulseInputTCNT{0};      // filled by driverBaseReadTestPulse
    CommShared<uint16_t> pulseInputState{0};     // filled by driverBaseReadTestPulse
    CommShared<uint16_t> pulseOutputEnable{0};   // register 0x842C
    CommShared<uint64_t> pulseOutputPeriod{0};   // low 32 bits sent
    CommShared<double> pulseSampleDelayTime{0.0};
    CommShared<uint32_t> pulseSampleTotalCount{0};

    uint16_t propertyEnables[8] = {};   // COMMStatePropertyEnableType bits
    float drdtSlipValue[8] = {};        // amplitude ramp rate, units/s (magnitude)
    float drdtStopValue[8] = {};        // amplitude ramp stop value
    float dfdtSlipValue[8] = {};        // frequency ramp rate, Hz/s (magnitude)
    float dfdtStopValue[8] = {};        // frequency ramp stop value, Hz

    DecayDefine decayDefine;
    bool closeEnable = false;
    float closeAngle = 0.0f;
    bool dcsimEnable = false;     // derived by the encoder
    float dcsimIRange = 0.0f;     // derived: initial DC current, A
    float dcsimVRange = 0.0f;     // derived: initial DC voltage, V
    int32_t dcsimFactor = 0;      // derived: decay step, register 0x8340
    uint32_t linkPhaseType = 0;   // COMMLinkPhaseType
};

// Run control.
struct CommDriverTestControlData
{
    CommShared<uint8_t> controlPowerVEnable{0};
    CommShared<uint8_t> controlPowerIEnable{0};
    uint8_t controlPowerLLOEnable = 0;
    uint8_t controlPowerDCVAuxEnable = 0;
    uint8_t controlPowerDCVAuxSwitch = 0;
    uint8_t controlPowerDCVAuxType = 0;
    uint8_t controlRunVEnable = 0;
    uint8_t controlRunIEnable = 0;
    CommShared<uint8_t> controlBOStates[4] = {};
    CommShared<uint8_t> controlAutoOutputTimeEnable{0};
    uint8_t controlRunPluseEnable = 0;
    uint32_t controlPowerDCVAuxValue = 0;                  // auxiliary DC set point, V; 0 = off
    CommShared<uint8_t> controlAutoOutputStateEnable{0};   // 1 = the FPGA steps through the pages
    uint8_t controlOutputHarmEnable = 0;                   // 4 components per channel
    CommShared<uint8_t> controlDeviceLowPowerEnable{0};
    uint8_t controlOscillateEnable = 0;   // 2 components per channel
};

// Read back from the instrument.
struct CommDriverTestStatusData
{
    CommShared<uint8_t> statusBIStates[4] = {};   // contacts as last polled (1 closed)
    CommShared<uint8_t> statusBOStates[4] = {};
    int32_t statusAOTempValues[4] = {};                  // degC
    CommShared<int32_t> statusTestStateIndex{0};         // raw 0x8336: bits 0-2 page, bit 15 last state
    CommShared<uint8_t> statusTestActionFlags[4] = {};   // 2-bit edge code per binary input
    float statusTestActionTime = 0.0f;                   // s; NaN = no new action
    uint8_t statusTestActionBefore = 0;                  // 1: its contact moved before its page began
    // The new action's stamp as the instrument took it: microseconds from
    // the start of its page to the end of the debounce, whole laps of the
    // 32-bit count added.
    int64_t statusTestActionStampUs = 0;
    CommShared<uint8_t> statusTestActionBIStates[4] = {};
    int32_t statusAlarmStates = 0;   // register 0x8414
    int32_t statusPluseStopState = 0;
    int32_t statusBatteryChargingState = 0;
    int32_t statusBatteryCapacityPercent = 0;
    uint8_t statusBIStateAction = 0;                // raised, read and cleared by the testor alone
    uint8_t statusBatteryMOSState = 0;              // battery output switch request
    int32_t statusFanSpeed = 0;                     // percent
    uint8_t statusSensorStates[4] = {};             // 2-bit sensor codes
    CommShared<uint16_t> statusTestActionFlag{0};   // last action flag word
    CommShared<uint16_t> statusTestActionCount{0};
    CommShared<uint8_t> statusTestActionIndex{0};        // last binary input that acted
    CommShared<uint8_t> statusTestActionStateIndex{0};   // page of the last action; 255 after reset
};

struct CommDriverBatteryInfoData
{
    uint16_t infoVoltageTotal = 0;
    int16_t infoCurrent = 0;
    uint16_t infoVoltageAverage = 0;
    uint16_t infoVoltageMax = 0;
    uint16_t infoVoltageMin = 0;
    uint16_t infoVoltageDiff = 0;
    uint16_t infoLoopCount = 0;
    uint16_t infoRateCapacity = 0;
    uint16_t infoResidualCapCapacity = 0;
    uint32_t infoBalanceState = 0;
    uint16_t infoProtectedState = 0;
    uint8_t infoSoftVersion = 0;
    uint8_t infoCapacityPercent = 0;
    uint8_t infoFETState = 0;
    uint16_t infoProduceDate = 0;
};

// Copy of the lower clock status.
struct CommDriverClockStatusData
{
    uint32_t clk_syn_state = 0;
    uint32_t clk_run_state = 0;
    uint32_t clk_run_clock = 0;
    uint32_t clk_run_pretime = 0;
    uint32_t clk_run_predate = 0;
    uint32_t clk_irigb_utctime = 0;
};

// Timed pulse list (UTC seconds), at most 64 entries.
struct CommDriverClockPPXConfigData
{
    uint32_t clk_ppx_count = 0;
    uint32_t clk_ppx_list[COMM_PPX_MAX_COUNT] = {};
};

extern CommRecord<CommDriverConfigureHardData> globalConfigureHardData;
extern CommRecord<CommDriverConfigureSoftData> globalConfigureSoftData;
extern CommRecord<CommDriverConfigureCalData> globalConfigureCalData;
extern CommRecord<CommDriverTestOutputData> globalTestOutputData;
extern CommRecord<CommDriverTestControlData> globalTestControlData;
extern CommRecord<CommDriverTestStatusData> globalTestStatusData;
extern CommRecord<CommDriverBatteryInfoData> globalBatteryInfoData;
extern CommRecord<CommDriverClockStatusData> globalClockStatusData;
extern CommRecord<CommDriverClockPPXConfigData> globalClockPPXData;
