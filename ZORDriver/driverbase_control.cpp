// Test control, status and action reads.

#include "driverbase.h"

#include "zodrv_mcasp.h"
#include "zoplatform.h"

#include <QDebug>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr uint16_t REG_FPGA_VERSION_HIGH = 0x800A;
constexpr uint16_t REG_FPGA_VERSION_LOW = 0x800C;
constexpr uint16_t REG_RUN = 0x8300;
constexpr uint16_t REG_PAGE_SWITCH = 0x8302;
constexpr uint16_t REG_STATE_COUNT = 0x8304;
constexpr uint16_t REG_ACTION_TIME = 0x8306;    // + 6 p, 32 bits, microseconds
constexpr uint16_t REG_ACTION_FLAGS = 0x830A;   // + 6 p
constexpr uint16_t REG_ACTION_STRIDE = 6;
constexpr uint16_t REG_STATE = 0x8336;
constexpr uint16_t REG_BI = 0x8338;
constexpr uint16_t REG_BO_READ = 0x833A;
constexpr uint16_t REG_BO_SET = 0x833C;
constexpr uint16_t REG_OUTPUT_RUN = 0x833E;
constexpr uint16_t REG_KEY_TRIGGER = 0x8344;
constexpr uint16_t REG_POWER = 0x8400;
constexpr uint16_t REG_AUXDC = 0x8402;
constexpr uint16_t REG_DITHER = 0x8404;
constexpr uint16_t REG_FAN_FULL_SCALE = 0x8408;
constexpr uint16_t REG_HARD_CONFIGURED = 0x840A;
constexpr uint16_t REG_FAN_SET = 0x840C;
constexpr uint16_t REG_FAN_SPEED = 0x840E;
constexpr uint16_t REG_TEMP_ALARM = 0x8410;
constexpr uint16_t REG_TEMP_RESUME = 0x8412;
constexpr uint16_t REG_ALARMS = 0x8414;
constexpr uint16_t REG_TEMPERATURES = 0x8416;   // four words
constexpr uint16_t REG_SENSORS = 0x841E;
constexpr uint16_t REG_PULSE_INPUT = 0x8420;
constexpr uint16_t REG_PULSE_TCU = 0x8422;
constexpr uint16_t REG_PULSE_PERIOD_LOW = 0x8424;
constexpr uint16_t REG_PULSE_PERIOD_HIGH = 0x8426;
constexpr uint16_t REG_PULSE_PERIOD_EXTRA = 0x8428;
constexpr uint16_t REG_PULSE_COUNT = 0x842A;
constexpr uint16_t REG_PULSE_OUTPUT = 0x842C;
constexpr uint16_t REG_PULSE_OUTPUT_LOW = 0x842E;
constexpr uint16_t REG_PULSE_OUTPUT_HIGH = 0x8430;
constexpr uint16_t REG_PULSE_OUTPUT_CLEAR = 0x8432;
constexpr uint16_t REG_POWER_APPLY = 0x8434;
constexpr uint16_t REG_ELAPSED_PAGE0 = 0x84EA;
constexpr uint16_t REG_ELAPSED_OTHER = 0x84EE;

constexpr uint16_t PAGE_TRIGGER = 482;
constexpr uint16_t PAGE_DURATION = 484;

constexpr uint16_t POWER_V = 0x1;
constexpr uint16_t POWER_I = 0x2;
constexpr uint16_t POWER_AUXDC = 0x4;
constexpr uint16_t RUN_V = 0x1;
constexpr uint16_t RUN_I = 0x2;
constexpr uint16_t RUN_LLO = 0x4;
constexpr uint16_t BO_SOFTWARE = 0x8000;
constexpr uint16_t SWITCH_SOFTWARE = 0x8000;

constexpr float TEMPERATURE_UNIT = 0.0625f;   // degC per register unit
constexpr float AUXDC_FULL_SCALE_WORD = 62500.0f;

bool recordsReady()
{
    return globalConfigureHardData && globalConfigureSoftData && globalConfigureCalData && globalTestOutputData
        && globalTestControlData && globalTestStatusData;
}

uint16_t pageAddress(int page, uint16_t offset)
{
    return uint16_t(page * DRIVER_PAGE_SIZE + offset);
}

// Where the page playing has ended on its first action and is held since:
// the microseconds it played to that action (its ticks stop at its end),
// else -1. A binary page, and a time-or-binary page ended a tick or more
// before its time, end on the action that counts first (OR: any watched
// edge; AND: the one completing the set).
int64_t heldOnActionEndUs(int page, DriverStateWord state, double playedAtMost)
{
    if (state.page() != page || !state.ended())
        return -1;
    const uint32_t rate = globalConfigureHardData->periodFrequency;
    uint16_t trigger = 0;
    uint32_t duration = 0;
    uint32_t ticks = 0;
    int result = drv_mcasp_read_u16(pageAddress(page, PAGE_TRIGGER), &trigger);
    result += drv_mcasp_read_u32(pageAddress(page, PAGE_DURATION), &duration);
    result += drv_mcasp_read_u32(page == 0 ? REG_ELAPSED_PAGE0 : REG_ELAPSED_OTHER, &ticks);
    if (result != 0 || rate == 0)
        return -1;
    const bool onAction = trigger == COMM_TRIGGER_TYPE_BINARY
        || (trigger == COMM_TRIGGER_TYPE_TIME_BINARY && uint64_t(ticks) + 1 < duration);
    // Its ticks are a 32-bit count: not read past their first lap.
    if (!onAction || playedAtMost * rate >= 4294967296.0)
        return -1;
    return std::llround(double(ticks) * 1e6 / rate);
}

// Auxiliary DC set point word for value volts, calibrated by the segment the
// value falls in; false when the full scale cannot be used.
bool auxdcSetPoint(uint32_t value, uint16_t& setPoint)
{
    const CommDriverConfigureCalData& cal = *globalConfigureCalData;
    const float fullScale = globalConfigureHardData->auxdcMaxValue;
    if (!(std::isfinite(fullScale) && fullScale > 0.0f)) {
        qWarning("driverBaseSendTestControlPower: auxiliary DC full scale %g refused, set point not sent",
                 double(fullScale));
        return false;
    }
    float v = float(value);
    int i = 4;
    for (int point = 1; point <= 4; ++point) {
        const float limit = cal.auxdcPwmLimits[0][0][point];
        if (limit > 0.0f && std::fabs(v) <= limit) {
            i = point;
            break;
        }
    }
    v = v * cal.auxdcPwmFactors[0][0][i] + cal.auxdcPwmOffsets[0][0][i];
    setPoint = driverSaturate<uint16_t>(v / fullScale * AUXDC_FULL_SCALE_WORD);
    return true;
}

} // namespace

// ---- Configuration ----------------------------------------------------------

int driverBaseReadConfigureHardData()
{
    if (!globalConfigureHardData)
        return -1;
    uint16_t high = 0;
    uint16_t low = 0;
    const int result = drv_mcasp_read_u16(REG_FPGA_VERSION_HIGH, &high) + drv_mcasp_read_u16(REG_FPGA_VERSION_LOW, &low);
    if (result == 0)
        globalConfigureHardData->fpgaVersion = (uint32_t(high) << 16) | low;
    return result;
}

int driverBaseSendConfigureHardData()
{
    if (!globalConfigureHardData)
        return -1;
    const CommDriverConfigureHardData& hard = *globalConfigureHardData;
    int result = drv_mcasp_write_u16(REG_TEMP_ALARM,
                                     driverSaturate<uint16_t>(float(hard.tempThresholdAlarm) / TEMPERATURE_UNIT));
    result += drv_mcasp_write_u16(REG_TEMP_RESUME,
                                  driverSaturate<uint16_t>(float(hard.tempThresholdResume) / TEMPERATURE_UNIT));
    result += drv_mcasp_write_u16(REG_FAN_FULL_SCALE, uint16_t(hard.fanSpeedFrequency & 0xFFFF));
    result += drv_mcasp_write_u16(REG_HARD_CONFIGURED, 1);
    return result;
}

int driverBaseSendConfigureFanSpeed(uint32_t percent)
{
    if (!globalConfigureHardData)
        return -1;
    const uint32_t setPoint = (globalConfigureHardData->fanSpeedFrequency / 100) * percent;
    return drv_mcasp_write_u16(REG_FAN_SET, uint16_t(setPoint & 0xFFFF));
}

int driverBaseSendConfigureSoftData()
{
    if (!globalConfigureSoftData)
        return -1;
    return drv_mcasp_write_u32(REG_DITHER, driverMicroseconds(globalConfigureSoftData->ditherTime));
}

// ---- Power, run, trigger and binary outputs ---------------------------------

int driverBaseSendTestControlPower()
{
    if (!recordsReady())
        return -1;
    const CommDriverConfigureHardData& hard = *globalConfigureHardData;
    const CommDriverTestControlData& control = *globalTestControlData;
    int result = 0;

    uint16_t power = 0;
    if (globalTestOutputData->outputLevelControlType != COMM_LEVELCONTROL_TYPE_MANUAL_LLO
        && hard.systemPowerType != COMM_SYSTEM_POWER_TYPE_LLO) {
        if (control.controlPowerVEnable)
            power |= POWER_V;
        if (control.controlPowerIEnable)
            power |= POWER_I;
        if (power)
            drv_system_setsysmode(1, 1);
    }

    uint16_t setPoint = 0;
    if (control.controlPowerDCVAuxValue != 0) {
        if (auxdcSetPoint(control.controlPowerDCVAuxValue, setPoint))
            power |= POWER_AUXDC;
        else
            result = -1;   // the auxiliary DC stays off
    }

    result += drv_mcasp_write_u16(REG_AUXDC, setPoint);
    result += drv_mcasp_write_u16(REG_POWER, power);
    result += drv_mcasp_write_u16(REG_POWER_APPLY, 1);
    if (power == 0 || power == POWER_AUXDC)
        drv_system_setsysmode(1, 0);

    uint16_t readBack = 0;
    result += drv_mcasp_read_u16(REG_POWER, &readBack);
    result += drv_mcasp_read_u16(REG_AUXDC, &readBack);
    return result;
}

int driverBaseSendTestControlRun()
{
    if (!recordsReady())
        return -1;
    const CommDriverTestControlData& control = *globalTestControlData;
    const CommDriverTestOutputData& out = *globalTestOutputData;

    uint16_t run = 0;
    if (out.outputLevelControlType == COMM_LEVELCONTROL_TYPE_MANUAL_LLO
        || globalConfigureHardData->systemPowerType == COMM_SYSTEM_POWER_TYPE_LLO) {
        if (control.controlRunVEnable)
            run = RUN_LLO;
    } else {
        if (control.controlRunVEnable)
            run |= RUN_V;
        if (control.controlRunIEnable)
            run |= RUN_I;
    }

    int result = drv_mcasp_write_u16(REG_RUN, control.controlAutoOutputStateEnable ? 1 : 0);
    result += drv_mcasp_write_u16(REG_PAGE_SWITCH, 0);
    if (out.outputBOControlType == COMM_BOCONTROL_TYPE_AUTO)
        result += drv_mcasp_write_u16(REG_BO_SET, run != 0 ? 0 : BO_SOFTWARE);

    // Diagnostic read-back; the values are not kept.
    uint16_t word = 0;
    uint32_t value = 0;
    for (uint16_t reg : {REG_STATE, REG_STATE_COUNT, REG_RUN, REG_PAGE_SWITCH})
        result += drv_mcasp_read_u16(reg, &word);
    for (int page = 0; page < 3; ++page) {
        result += drv_mcasp_read_u32(pageAddress(page, PAGE_DURATION), &value);
        result += drv_mcasp_read_u16(pageAddress(page, PAGE_TRIGGER), &word);
    }

    zoplat::sleepMs(60);
    result += drv_mcasp_write_u16(REG_OUTPUT_RUN, run);
    result += drv_mcasp_read_u16(REG_OUTPUT_RUN, &word);
    return result;
}

int driverBaseEndSelfSteppedPage(int from, int lastOn, int* pagesOn)
{
    // Self-stepping held while the page playing is found and moved on from.
    int result = drv_mcasp_write_u16(REG_RUN, 0);
    uint16_t word = 0;
    result += drv_mcasp_read_u16(REG_STATE, &word);
    const DriverStateWord now(word);
    const int on = DriverStateWord::pagesOnFrom(from, now.page());
    if (pagesOn)
        *pagesOn = on;
    // A page held ended is the last the state count lets the ring play:
    // there is no page after it to go to.
    if (result == 0 && on < lastOn && !now.ended()) {
        uint16_t count = 0;
        result += drv_mcasp_read_u16(REG_STATE_COUNT, &count);
        if (result == 0 && count > 0) {
            result += drv_mcasp_write_u16(REG_STATE_COUNT, uint16_t(count - 1));
            if (result == 0)
                ++localStatesCut;
        }
        if (result == 0)
            result += drv_mcasp_write_u16(REG_PAGE_SWITCH,
                                          uint16_t(((now.page() + 1) % DRIVER_PAGE_COUNT) | SWITCH_SOFTWARE));
    }
    return result + drv_mcasp_write_u16(REG_RUN, 1);
}

int driverBaseSendTestKeyTrigger()
{
    return drv_mcasp_write_u16(REG_KEY_TRIGGER, 0x1234);
}

int driverBaseSendTestBOState()
{
    if (!globalTestControlData)
        return -1;
    uint16_t value = 0;
    for (int i = 0; i < COMM_BINARY_COUNT; ++i)
        if (globalTestControlData->controlBOStates[i])
            value |= uint16_t(1u << i);
    return driverBaseSendTestBOBits(value);
}

int driverBaseSendTestBOBits(uint16_t bits)
{
    return drv_mcasp_write_u16(REG_BO_SET, uint16_t(BO_SOFTWARE | (bits & 0xF)));
}

int driverBaseReleaseTestBO()
{
    return drv_mcasp_write_u16(REG_BO_SET, 0);
}

int driverBaseReadPlayedBO(uint16_t* bits)
{
    uint16_t word = 0;
    const int result = drv_mcasp_read_u16(REG_BO_READ, &word);
    if (result == 0 && bits)
        *bits = word & 0xF;
    return result;
}

// ---- Status reads -----------------------------------------------------------

int driverBaseReadTestBIState()
{
    if (!globalTestStatusData)
        return -1;
    uint16_t bits = 0;
    const int result = drv_mcasp_read_u16(REG_BI, &bits);
    if (result == 0)
        for (int i = 0; i < COMM_BINARY_COUNT; ++i)
            globalTestStatusData->statusBIStates[i] = (bits >> i) & 1;
    return result;
}

int driverBaseReadTestBOState()
{
    if (!globalTestStatusData)
        return -1;
    uint16_t bits = 0;
    uint16_t set = 0;
    const int readBack = drv_mcasp_read_u16(REG_BO_READ, &bits);
    const int result = readBack + drv_mcasp_read_u16(REG_BO_SET, &set);
    if (readBack == 0)
        for (int i = 0; i < COMM_BINARY_COUNT; ++i)
            globalTestStatusData->statusBOStates[i] = (bits >> i) & 1;
    return result;
}

int driverBaseReadPAOTempState()
{
    if (!globalTestStatusData || !globalConfigureHardData)
        return -1;
    uint16_t fan = 0;
    uint16_t sensors = 0;
    uint16_t temperatures[4] = {};
    int result = drv_mcasp_read_u16(REG_FAN_SPEED, &fan);
    result += drv_mcasp_read_u16(REG_SENSORS, &sensors);
    for (int i = 0; i < 4; ++i)
        result += drv_mcasp_read_u16(uint16_t(REG_TEMPERATURES + 2 * i), &temperatures[i]);
    if (result != 0)
        return result;

    CommDriverTestStatusData& status = *globalTestStatusData;
    // The temperature words are two's complement: below 0 degC they read negative.
    for (int i = 0; i < 4; ++i)
        status.statusAOTempValues[i] = driverSaturate<int32_t>(float(int16_t(temperatures[i])) * TEMPERATURE_UNIT);
    const uint32_t fullScale = globalConfigureHardData->fanSpeedFrequency;
    status.statusFanSpeed = fullScale ? int32_t(uint64_t(100) * fan / fullScale) : 0;
    for (int i = 0; i < 4; ++i)
        status.statusSensorStates[i] = (sensors >> (2 * i)) & 0x3;
    return 0;
}

int driverBaseReadAlarmState()
{
    if (!globalTestStatusData || !globalTestControlData)
        return -1;
    if (!globalTestControlData->controlPowerVEnable && !globalTestControlData->controlPowerIEnable) {
        globalTestStatusData->statusAlarmStates = 0;
        return 0;
    }
    uint16_t alarms = 0;
    const int result = drv_mcasp_read_u16(REG_ALARMS, &alarms);
    if (result == 0)
        globalTestStatusData->statusAlarmStates = alarms;
    return result;
}

int driverBaseReadActionTimes()
{
    if (!recordsReady())
        return -1;
    CommDriverTestStatusData& status = *globalTestStatusData;
    const bool autoStep = globalTestControlData->controlAutoOutputStateEnable != 0;

    // 1. The page now playing. Every page the ring entered since the last
    //    read began after that read.
    status.statusTestActionTime = NAN;
    const int64_t readUs = zoplat::monotonicUs();
    uint16_t state = 0;
    int result = drv_mcasp_read_u16(REG_STATE, &state);
    if (result != 0)
        return result;
    status.statusTestStateIndex = state;
    int page = DriverStateWord(state).page();
    for (int entered = localActionPlayingPage; entered != page;) {
        entered = (entered + 1) % DRIVER_PAGE_COUNT;
        localActionPageSinceUs[entered] = localActionReadUs.load();
    }
    localActionPlayingPage = page;
    localActionReadUs = readUs;

    // 2. Its actions.
    uint16_t flags = 0;
    uint32_t timeUs = 0;
    result += drv_mcasp_read_u16(uint16_t(REG_ACTION_FLAGS + REG_ACTION_STRIDE * page), &flags);
    result += drv_mcasp_read_u32(uint16_t(REG_ACTION_TIME + REG_ACTION_STRIDE * page), &timeUs);
    if (result != 0)
        return result;
    int count = (flags >> 8) & 0x7;

    // 3. A trip that ended a page shows on that page, which the ring may have
    //    left since the last read (on by itself, or past a page of no time).
    //    The pages left are read in ring order from the first not read as
    //    left; the oldest new action is taken first, the page playing after
    //    them. A page keeps its record until the ring enters it again: a
    //    page the software switched past holds the record of an earlier lap
    //    and is not read. A first read since the reset reads every page
    //    from the one each run begins on (0), however many the instrument
    //    has played since.
    int leftFrom = localActionLeftFrom;
    if (leftFrom < 0)
        leftFrom = 0;
    const unsigned skipped = autoStep ? 0u : localOutputSkippedPages.load();
    for (int left = leftFrom; left != page; left = (left + 1) % DRIVER_PAGE_COUNT) {
        if (skipped & (1u << left))
            continue;
        uint16_t leftFlags = 0;
        result += drv_mcasp_read_u16(uint16_t(REG_ACTION_FLAGS + REG_ACTION_STRIDE * left), &leftFlags);
        if (result != 0)
            return result;
        const int leftCount = (leftFlags >> 8) & 0x7;
        // The record's count is that page's only if the record is of it.
        const int recorded = left == status.statusTestActionStateIndex ? status.statusTestActionCount : 0;
        if (leftCount != 0 && leftCount > recorded) {
            result += drv_mcasp_read_u32(uint16_t(REG_ACTION_TIME + REG_ACTION_STRIDE * left), &timeUs);
            if (result != 0)
                return result;
            page = left;
            flags = leftFlags;
            count = leftCount;
            break;
        }
    }
    localActionLeftFrom = page;

    // 4. A new page starts a new action record.
    if (page != status.statusTestActionStateIndex) {
        status.statusTestActionFlag = 0;
        status.statusTestActionCount = 0;
        for (int i = 0; i < COMM_BINARY_COUNT; ++i) {
            status.statusTestActionFlags[i] = 0;
            status.statusTestActionBIStates[i] = 0;
        }
    }

    // 5. A new action: which inputs changed, and when (debounce removed).
    //    An input's change is the edge its code gained since the record was
    //    last read (the flags gather the edges of the page); where both are
    //    new, or where a further action comes on an input that has both
    //    already, it is the later one: the one that left the input as it is.
    bool found = false;
    if (count != 0 && flags != status.statusTestActionFlag) {
        uint8_t edges[COMM_BINARY_COUNT] = {};
        const uint16_t fresh = uint16_t(flags & ~status.statusTestActionFlag & 0xFF);
        uint16_t levels = 0;
        bool levelsRead = false;
        const auto laterEdge = [&](int i) -> uint8_t {
            if (!levelsRead) {
                levelsRead = true;
                result += drv_mcasp_read_u16(REG_BI, &levels);
            }
            return ((levels >> i) & 1) ? 1 : 2;
        };
        bool any = false;
        for (int i = 0; i < COMM_BINARY_COUNT; ++i) {
            const uint8_t gained = (fresh >> (2 * i)) & 0x3;
            edges[i] = gained == 3 ? laterEdge(i) : gained;
            any = any || edges[i] != 0;
        }
        for (int i = 0; !any && i < COMM_BINARY_COUNT; ++i)
            if (((flags >> (2 * i)) & 0x3) == 3)
                edges[i] = laterEdge(i);
        if (result != 0)
            return result;
        uint8_t changed = 0;
        for (int i = 0; i < COMM_BINARY_COUNT; ++i) {
            if (edges[i] == 0)
                continue;
            status.statusTestActionIndex = uint8_t(i);
            status.statusTestActionFlags[i] = edges[i];
            status.statusTestActionBIStates[i] = edges[i];
            changed = uint8_t(changed | (edges[i] << (2 * i)));
        }
        // The stamp's whole laps: the action came at most this long after
        // the page began.
        const double playedAtMost = double(readUs - localActionPageSinceUs[page]) / 1e6;
        int64_t stampUs = std::llround(driverStampSeconds(timeUs, playedAtMost) * 1e6);
        // The page keeps one stamp, of its last action: the actions it
        // counted since the last read share it. Where they are the page's
        // first and it is held since it ended on the first of them, the
        // rest came while it was held: the page's trip is its end, and the
        // inputs (one edge each, their order unknown) are read at it.
        const int actions = (count - status.statusTestActionCount) & 0x7;
        if (actions > 1) {
            QString sharing;
            bool oneEdgeEach = true;
            for (int i = 0; i < COMM_BINARY_COUNT; ++i) {
                const int code = (changed >> (2 * i)) & 0x3;
                if (code != 0)
                    sharing += QStringLiteral(" DI %1").arg(i + 1);
                oneEdgeEach = oneEdgeEach && ((fresh >> (2 * i)) & 0x3) != 3;
            }
            const int64_t endUs = status.statusTestActionCount == 0 && oneEdgeEach && !autoStep
                ? heldOnActionEndUs(page, DriverStateWord(status.statusTestStateIndex), playedAtMost)
                : -1;
            const bool atEnd = endUs >= 0 && endUs < stampUs;
            qWarning().noquote() << QStringLiteral("Driver: %1 actions on page %2 since the last read share one "
                                                   "stamp, of the last of them; changed:%3%4")
                                        .arg(actions)
                                        .arg(page)
                                        .arg(sharing)
                                        .arg(atEnd ? QStringLiteral("; read at the page's end, where the first "
                                                                    "of them ended it")
                                                   : QString());
            if (atEnd)
                stampUs = endUs;
        }
        localActionEdges = changed;
        status.statusTestActionFlag = flags;
        status.statusTestActionCount = uint16_t(count);
        status.statusTestActionStateIndex = uint8_t(page);
        // The debounce off, in the microseconds the instrument was given.
        const int64_t ditherUs = driverMicroseconds(globalConfigureSoftData->ditherTime);
        // A stamp not above the debounce is the contact's on the page
        // before: it stays as it is, and the report says so.
        int64_t actionUs = stampUs;
        if (stampUs > ditherUs)
            actionUs = std::max<int64_t>(stampUs - ditherUs, 1000);
        status.statusTestActionTime = float(double(actionUs) / 1e6);
        status.statusTestActionBefore = ditherUs > 0 && stampUs <= ditherUs ? 1 : 0;
        status.statusTestActionStampUs = stampUs;
        found = true;
    }

    // 6, 7. Software page switching: the state after the action, and the
    //       switch once the page playing has ended: on to the page after it,
    //       never further (every page written is played, in order), and
    //       only once the switch names another page (else it is held).
    if (!autoStep) {
        if (found) {
            result += drv_mcasp_read_u16(REG_STATE, &state);
            if (result == 0)
                status.statusTestStateIndex = state;
        }
        if (DriverStateWord(status.statusTestStateIndex).ended())
            result += driverBaseSwitchEndedPage(status.statusTestStateIndex);
    }
    return result;
}

double driverStampSeconds(uint32_t stampUs, double estimateSeconds)
{
    constexpr double lapUs = 4294967296.0;
    const double laps = std::round((estimateSeconds * 1e6 - double(stampUs)) / lapUs);
    return (double(stampUs) + (laps > 0.0 ? laps * lapUs : 0.0)) / 1e6;
}

namespace {

// The first page the ring left since `from`.
int firstEnded(DriverStateWord from)
{
    return (from.page() + (from.ended() ? 1 : 0)) % DRIVER_PAGE_COUNT;
}

}   // namespace

std::vector<DriverEndedPage> driverRingPagesEnded(DriverRingPosition& position, const DriverRingReads& reads,
                                                  uint32_t rate)
{
    const DriverRingPosition before = position;
    const double elapsed = double(reads.elapsedTicks) / double(rate);
    position.state = reads.state;
    position.anchored = !reads.state.ended();
    position.playedSeconds = elapsed;
    position.atUs = reads.atUs;
    position.heldUs = -1;
    if (reads.state.ended()) {
        const int64_t playedUs = std::llround(driverStampSeconds(reads.playedUs[reads.state.page()], elapsed) * 1e6);
        position.heldUs = std::max<int64_t>(0, playedUs - std::llround(elapsed * 1e6));
    }

    const int count = reads.state.pagesEndedSince(before.state);
    std::vector<DriverEndedPage> ended(static_cast<size_t>(count));
    const bool anchored = before.anchored && !before.state.ended();
    const double sinceRead = anchored ? double(reads.atUs - before.atUs) / 1e6 : std::numeric_limits<double>::quiet_NaN();
    const int first = firstEnded(before.state);
    for (int i = 0; i < count; ++i) {
        DriverEndedPage& page = ended[size_t(i)];
        page.page = (first + i) % DRIVER_PAGE_COUNT;
        if (i + 1 == count && reads.state.ended()) {
            // Held since it ended: its ticks stopped then.
            page.seconds = elapsed;
            continue;
        }
        // The first page had played from its start to the read before, and
        // at most to this one; every later one began after the read before:
        // the whole laps of its count.
        const double atMost = i == 0 ? before.playedSeconds + sinceRead : sinceRead;
        page.seconds = driverStampSeconds(reads.playedUs[page.page], atMost);
    }
    return ended;
}

int driverBaseFollowRing(DriverRingPosition& position, std::vector<DriverEndedPage>& ended)
{
    ended.clear();
    if (!recordsReady())
        return -1;
    const uint32_t rate = globalConfigureHardData->periodFrequency;
    if (rate == 0)
        return -1;
    DriverRingReads reads;
    uint16_t before = 0;
    uint16_t after = 0;
    int result = drv_mcasp_read_u16(REG_STATE, &before);
    if (result != 0)
        return result;
    const int64_t from = zoplat::monotonicUs();
    result += drv_mcasp_read_u32(DriverStateWord(before).page() == 0 ? REG_ELAPSED_PAGE0 : REG_ELAPSED_OTHER,
                                 &reads.elapsedTicks);
    const int64_t to = zoplat::monotonicUs();
    const DriverStateWord word(before);
    const int count = word.pagesEndedSince(position.state);
    const int first = firstEnded(position.state);
    for (int i = 0; i < count; ++i) {
        const int page = (first + i) % DRIVER_PAGE_COUNT;
        if (page != word.page() || word.ended())
            result += driverBaseReadPlayedUs(page, &reads.playedUs[page]);
    }
    if (word.ended() && count == 0)
        result += driverBaseReadPlayedUs(word.page(), &reads.playedUs[word.page()]);
    result += drv_mcasp_read_u16(REG_STATE, &after);
    if (result != 0)
        return result;
    if (before != after)
        return 0;   // the ring is moving on now: the next pass sees where to
    reads.state = word;
    reads.atUs = from + (to - from) / 2;
    ended = driverRingPagesEnded(position, reads, rate);
    return 0;
}

// ---- Energy-meter pulses ----------------------------------------------------

int driverBaseSendTestPulse()
{
    if (!globalTestOutputData)
        return -1;
    const CommDriverTestOutputData& out = *globalTestOutputData;
    const uint32_t period = out.pulseOutputEnable ? uint32_t(out.pulseOutputPeriod & 0xFFFFFFFFu) : 0;
    int result = drv_mcasp_write_u16(REG_PULSE_OUTPUT, out.pulseOutputEnable);
    result += drv_mcasp_write_u16(REG_PULSE_OUTPUT_LOW, uint16_t(period & 0xFFFF));
    result += drv_mcasp_write_u16(REG_PULSE_OUTPUT_HIGH, uint16_t(period >> 16));
    result += drv_mcasp_write_u16(REG_PULSE_OUTPUT_CLEAR, 0);
    result += drv_mcasp_write_u16(REG_PULSE_TCU, out.pulseInputEnable ? out.pulseInputTCU : 0);
    result += drv_mcasp_write_u16(REG_PULSE_INPUT, out.pulseInputEnable);
    return result;
}

int driverBaseReadTestPulse()
{
    if (!globalTestOutputData)
        return -1;
    uint16_t pulseStatus = 0;
    int result = drv_mcasp_read_u16(REG_PULSE_INPUT, &pulseStatus);
    if (result != 0)
        return result;
    uint16_t count = 0;
    if (pulseStatus & 0x1)
        result += drv_mcasp_read_u16(REG_PULSE_COUNT, &count);
    uint64_t period = 0;
    if (pulseStatus & 0x2) {
        uint16_t low = 0;
        uint16_t high = 0;
        uint16_t extra = 0;
        result += drv_mcasp_read_u16(REG_PULSE_PERIOD_LOW, &low);
        result += drv_mcasp_read_u16(REG_PULSE_PERIOD_HIGH, &high);
        result += drv_mcasp_read_u16(REG_PULSE_PERIOD_EXTRA, &extra);
        period = (uint64_t(high) << 16) | low;
    }
    if (result != 0)
        return result;
    CommDriverTestOutputData& out = *globalTestOutputData;
    out.pulseInputState = pulseStatus & 0x2;
    out.pulseInputTCNT = count;
    out.pulseInputPeriod = period;
    return 0;
}

int driverBaseSendTestPluseRun()
{
    return 0;
}

int driverBaseReadTestPluseState()
{
    return 0;
}

int driverBaseResetTestPluseState()
{
    if (globalTestStatusData)
        globalTestStatusData->statusPluseStopState = 0;
    return 0;
}
