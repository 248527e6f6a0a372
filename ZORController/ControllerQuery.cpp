#include "ControllerQuery.h"

#include "CommDriverData.h"
#include "ControllerModuleTable.h"
#include "ModelEnergyEntity.h"
#include "driverbase.h"
#include "driverclock.h"
#include "zoplatform.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr int64_t kWaitForDriverMs = 100;
constexpr int64_t kIdlePassMs = 300;
// While a test runs the loop rests this long between passes. The instrument
// stamps every trip and holds every page that ends until it is switched, so
// the rest changes no time taken: a state change or trip reaches the testor
// at most this much later, and the loop leaves the processor to the rest.
constexpr int64_t kRunningPassMs = 1;
// The energy branch naps this long around its pulse steps and reads.
constexpr int64_t kPulseNapMs = 100;
// The instrument counts on for this long after the pulse set-up before the
// count is read (the count window covers it).
constexpr int64_t kPulseSettleMs = ModelEnergyEntity::kPulseSettleMs;
// The measured interval is a 32-bit count of 125 MHz ticks: it wraps after
// 2^32 / 1.25e8 s = 34.3597 s.
constexpr int64_t kPulsePeriodRangeMs = int64_t(ModelEnergyEntity::kPulseCountSeconds * 1000.0);

// Above this the temperatures are taken as a sensor fault: fan and notices are left alone.
constexpr qint32 kTemperatureLimit = 100;

bool due(const std::optional<int64_t>& last, int64_t now, uint64_t interval)
{
    return !last || now - *last >= int64_t(interval);
}

// A pass's wall-clock time as an event time. Made only for an event: a local
// time conversion looks the time zone up again (a file system call) each time.
QDateTime eventTime(int64_t wallMs)
{
    return QDateTime::fromMSecsSinceEpoch(wallMs);
}

// Four binary states as last reported (previous, -1: unknown) against the
// four just read: true, with previous now these, when they differ. A failed
// read (states null) makes them unknown, so that the next read is reported.
template <typename State>
bool takeChange(qint32 (&previous)[4], const State* states)
{
    if (!states) {
        std::fill(std::begin(previous), std::end(previous), -1);
        return false;
    }
    bool same = true;
    for (int i = 0; i < 4; ++i)
        same = same && previous[i] != -1 && previous[i] == qint32(states[i]);
    if (same)
        return false;
    for (int i = 0; i < 4; ++i)
        previous[i] = qint32(states[i]);
    return true;
}

// The event of a change of the binary inputs or outputs seen by a pass.
CommSOEEntity switchEvent(CommSOEEntity::SOEType type, int64_t wallMs)
{
    CommSOEEntity event;
    event.soeType = type;
    event.runtimeType = CommSOEEntity::RUNTIME_TYPE_RUNNING;
    event.eventUtcTime = eventTime(wallMs);
    event.eventRunTime = 0.0;
    return event;
}

// Fan duty in percent for the hottest amplifier, when a sensor reports state 0.
qint32 fanDuty(qint32 maxT)
{
    if (maxT <= 20)
        return 0;
    if (maxT <= 25)
        return 20;
    if (maxT <= 60)
        return (maxT - 15) * 2;
    return 100;
}

}   // namespace

enum class PulseStep {
    Idle,
    Delay,
    Sent,
    Sampling
};

struct ControllerQuery::LoopState
{
    std::optional<int64_t> lastClockMs;
    std::optional<int64_t> lastTempMs;
    std::optional<int64_t> lastAlarmMs;
    qint32 previousBI[4] = {-1, 0, 0, 0};   // -1: unknown, report the next read
    qint32 previousBO[4] = {-1, 0, 0, 0};
    DriverStateWord lastState;   // as the last pass saw it
    DriverRingPosition ring;     // state sequence: where the instrument was at the last pass
    bool heldTold = false;       // ... and that the page it holds has been held for the debounce
    qint32 lastAlarmWord = -1;
    qint32 lastFanDuty = 0;
    bool running = false;   // the last pass saw a run

    // Energy pulse measurement of the state playing.
    PulseStep pulseStep = PulseStep::Idle;
    int64_t pulseDelayStartMs = 0;
    int64_t pulseSentMs = 0;
    int64_t pulseWindowMs = 0;
    qint32 lastPulseCount = 0;
};

ControllerQuery::ControllerQuery(QObject* parent)
    : QObject(parent)
{
}

ControllerQuery::~ControllerQuery() = default;

void ControllerQuery::setRunTypeSource(std::function<ControllerTestor::TESTType()> source)
{
    runTypeSource = std::move(source);
}

void ControllerQuery::setDriverInitialisedSource(std::function<bool()> source)
{
    driverInitialisedSource = std::move(source);
}

void ControllerQuery::setSequenceReportSink(SequenceReport sink)
{
    sequenceReport = std::move(sink);
}

ControllerTestor::TESTType ControllerQuery::runTestType() const
{
    return runningEnable.load() ? runType.load() : testType.load();
}

// ---- Setters (called from other threads) --------------------------------------------

void ControllerQuery::doQueryInterrupt()
{
    queryEnable.store(false);
    wakeup.wake();
}

void ControllerQuery::updateInitState(bool initialised)
{
    // A failed configuration send is reported as false too; the driver stays
    // initialised then and the polling goes on.
    if (!initialised && driverInitialisedSource && driverInitialisedSource())
        return;
    initFinishEnable.store(initialised);
}

void ControllerQuery::updateRunState(const CommSOEEntity&, bool running)
{
    if (running) {
        runType.store(runTypeSource ? runTypeSource() : testType.load());
    }
    runningEnable.store(running);
    if (running)
        wakeup.wake();
}

void ControllerQuery::updateClockSyncEnable(bool enable)
{
    clkSyncEnable.store(enable);
}

void ControllerQuery::updateTestActive(qint32 type)
{
    if (!ControllerTestor::isValidTestType(type)) {
        qWarning("ControllerQuery::updateTestActive: test type %d refused", type);
        return;
    }
    testType.store(ControllerTestor::TESTType(type));
}

// ---- Loop ---------------------------------------------------------------------------------

void ControllerQuery::doQueryStart()
{
    qDebug() << "doQueryStart BWGIN ";
    queryEnable.store(true);
    runningEnable.store(false);
    loopRunning.store(true);

    LoopState loop;

    while (queryEnable.load()) {
        if (!initFinishEnable.load()) {
            zoplat::sleepMs(kWaitForDriverMs);
            continue;
        }
        if (runningEnable.load())
            zoplat::sleepMs(kRunningPassMs);
        else
            wakeup.sleepMs(kIdlePassMs, [this] { return runningEnable.load() || !queryEnable.load(); });
        if (!queryEnable.load())
            break;

        const int64_t wallMs = zoplat::systemTimeMs();
        const int64_t now = zoplat::monotonicMs();

        pollClock(loop, now);
        pollBinaryInputs(loop, wallMs);
        pollBinaryOutputs(loop, wallMs);
        if (runningEnable.load()) {
            if (!loop.running) {
                // A new run: it begins on page 0, which the first pass dates.
                loop.running = true;
                loop.lastState = DriverStateWord();
                loop.ring = DriverRingPosition();
                loop.heldTold = false;
                loop.pulseStep = PulseStep::Idle;
            }
            pollModule(loop, runTestType());
        } else {
            loop.running = false;
            loop.lastState = DriverStateWord();
            if (loop.pulseStep != PulseStep::Idle)
                releasePulses(loop);
        }
        pollTemperatures(loop, now);
        pollAlarms(loop, now);
    }
    loopRunning.store(false);
}

void ControllerQuery::pollClock(LoopState& loop, int64_t now)
{
    if (!due(loop.lastClockMs, now, updateClockSyncIntervalTime.load()))
        return;
    driverUpdateClockSyncTime();
    if (const CommDriverClockStatusData* clock = globalClockStatusData)
        emit sigUpdateSyncClock(clock->clk_syn_state != 0, clock->clk_run_pretime);
    loop.lastClockMs = now;
}

void ControllerQuery::pollBinaryInputs(LoopState& loop, int64_t wallMs)
{
    const bool read = driverBaseReadTestBIState() == 0 && globalTestStatusData;
    if (takeChange(loop.previousBI, read ? globalTestStatusData->statusBIStates : nullptr))
        emit sigUpdateBIState(switchEvent(CommSOEEntity::SOE_TYPE_BI_SWITCH, wallMs), loop.previousBI[0],
                              loop.previousBI[1], loop.previousBI[2], loop.previousBI[3]);
}

void ControllerQuery::pollBinaryOutputs(LoopState& loop, int64_t wallMs)
{
    const bool read = driverBaseReadTestBOState() == 0 && globalTestStatusData;
    if (takeChange(loop.previousBO, read ? globalTestStatusData->statusBOStates : nullptr))
        emit sigUpdateBOState(switchEvent(CommSOEEntity::SOE_TYPE_BO_SWITCH, wallMs), loop.previousBO[0],
                              loop.previousBO[1], loop.previousBO[2], loop.previousBO[3]);
}

void ControllerQuery::pollModule(LoopState& loop, ControllerTestor::TESTType type)
{
    switch (moduleEntry(type).poll) {
    case ModulePoll::SinglePage:
    case ModulePoll::StateIndex: pollStepModule(loop); return;
    case ModulePoll::Sequence: pollSequence(loop); return;
    case ModulePoll::EnergyPulses: pollEnergy(loop); return;
    // The remote signal and the modules without an entity are followed with
    // their run control; the calibration, the multi-test and the standard
    // source have nothing to read.
    case ModulePoll::None: return;
    }
}

void ControllerQuery::pollSequence(LoopState& loop)
{
    // Where the instrument is first, then every action recorded since the
    // last pass, oldest first, and the change last. The testor credits a
    // trip to the state of the page it names as seen from the state it last
    // heard began, so each goes out before the change past its page: a page
    // this pass reports ended had ended before these action reads, which
    // find its actions. One read takes one action; the reads go on while the
    // one taken was on a page the ring has left. A page the ring holds is
    // told again once it has been held for the debounce: a contact that
    // moved before it ended is confirmed and read by then.
    std::vector<DriverEndedPage> ended;
    const bool followed = driverBaseFollowRing(loop.ring, ended) == 0;
    for (int read = 0; read <= DRIVER_PAGE_COUNT; ++read) {
        if (driverBaseReadActionTimes() != 0 || !globalTestStatusData)
            break;
        const CommDriverTestStatusData& status = *globalTestStatusData;
        if (std::isnan(status.statusTestActionTime))
            break;
        reportAction();
        if (status.statusTestActionStateIndex == DriverStateWord(status.statusTestStateIndex).page())
            break;
    }
    if (!followed)
        return;
    const int64_t heldUs = loop.ring.heldUs;
    const CommDriverConfigureSoftData* soft = globalConfigureSoftData;
    const bool settled = heldUs >= 0 && soft && heldUs >= int64_t(driverMicroseconds(soft->ditherTime));
    if (!ended.empty())
        loop.heldTold = false;
    if (ended.empty() && (!settled || loop.heldTold))
        return;
    loop.heldTold = settled;
    std::vector<double> times;
    for (const DriverEndedPage& page : ended)
        times.push_back(page.seconds);
    if (sequenceReport)
        sequenceReport(times, heldUs);
    emit sigTestSwitch();
}

void ControllerQuery::pollStepModule(LoopState& loop)
{
    if (driverBaseReadActionTimes() != 0 || !globalTestStatusData)
        return;
    // Every input the action changed: inputs that moved together share the
    // stamp, and each goes into the run's record.
    reportAction();
    const DriverStateWord state(globalTestStatusData->statusTestStateIndex);
    if (state == loop.lastState)
        return;
    loop.lastState = state;
    if (state.ended()) {
        emit sigUpdateTestStateIndex(state.word);
        emit sigTestSwitch();
    }
}

// The steps follow one another within a pass where they can; each step that
// runs naps kPulseNapMs.
void ControllerQuery::pollEnergy(LoopState& loop)
{
    CommDriverTestOutputData* out = globalTestOutputData;
    if (!out) {
        zoplat::sleepMs(kPulseNapMs);
        return;
    }
    if (loop.pulseStep == PulseStep::Idle) {
        // The testor writes a state's pulse set-up with the page after it;
        // none is waiting once the last state has been measured.
        if (out->pulseInputEnable == 0) {
            zoplat::sleepMs(kPulseNapMs);
            return;
        }
        loop.pulseDelayStartMs = zoplat::monotonicMs();
        loop.pulseWindowMs = int64_t(out->pulseSampleTotalCount) * 1000;
        loop.pulseStep = PulseStep::Delay;
    }
    if (loop.pulseStep == PulseStep::Delay) {
        const double delay = out->pulseSampleDelayTime;
        const int64_t delayMs = std::isfinite(delay) && delay > 0.0 ? int64_t(std::min(delay, 1e9) * 1000.0) : 0;
        if (zoplat::monotonicMs() - loop.pulseDelayStartMs >= delayMs) {
            driverBaseSendTestPulse();
            loop.pulseSentMs = zoplat::monotonicMs();
            loop.pulseStep = PulseStep::Sent;
        }
        zoplat::sleepMs(kPulseNapMs);
    }
    if (loop.pulseStep == PulseStep::Sent) {
        if (zoplat::monotonicMs() - loop.pulseSentMs > kPulseSettleMs) {
            loop.pulseStep = PulseStep::Sampling;
            loop.lastPulseCount = 0;
        }
        zoplat::sleepMs(kPulseNapMs);
    }
    if (loop.pulseStep != PulseStep::Sampling)
        return;

    constexpr double noResult = std::numeric_limits<double>::quiet_NaN();
    bool ended = false;
    if (driverBaseReadTestPulse() != 0) {
        // Whatever was counted cannot be timed.
        emit sigUpdateTestStatePulse(loop.lastPulseCount, noResult);
        ended = true;
    } else {
        const int64_t at = zoplat::monotonicMs();
        const qint32 count = out->pulseInputTCNT;
        if (out->pulseInputState != 0) {
            // Counting began after the set-up was sent: an interval read
            // within 2^32 ticks of it cannot have wrapped.
            const bool fits = at - loop.pulseSentMs < kPulsePeriodRangeMs;
            loop.lastPulseCount = count;
            emit sigUpdateTestStatePulse(count, fits ? double(out->pulseInputPeriod) : noResult);
            ended = true;
        } else {
            if (count != loop.lastPulseCount) {
                loop.lastPulseCount = count;
                emit sigUpdateTestStatePulse(count, double(out->pulseInputPeriod));
            }
            // The meter has not sent all its pulses within the window.
            if (at - loop.pulseDelayStartMs >= loop.pulseWindowMs) {
                emit sigUpdateTestStatePulse(loop.lastPulseCount, noResult);
                ended = true;
            }
        }
    }
    zoplat::sleepMs(kPulseNapMs);
    if (ended)
        endPulseMeasurement(loop);
}

// Pulses off, the instrument on to the next state's page, and the testor
// told so that it follows with the state after.
void ControllerQuery::endPulseMeasurement(LoopState& loop)
{
    if (CommDriverTestOutputData* out = globalTestOutputData) {
        out->pulseInputEnable = 0;
        out->pulseOutputEnable = 0;
    }
    driverBaseSendTestPulse();
    zoplat::sleepMs(kPulseNapMs);
    driverBaseSendTestSwitchState();
    emit sigUpdateTestStateIndex(globalTestStatusData ? globalTestStatusData->statusTestStateIndex : 0);
    emit sigTestSwitch();
    loop.pulseStep = PulseStep::Idle;
    zoplat::sleepMs(kPulseNapMs);
}

void ControllerQuery::releasePulses(LoopState& loop)
{
    const CommDriverTestOutputData* out = globalTestOutputData;
    if (out && (out->pulseInputEnable != 0 || out->pulseOutputEnable != 0))
        return;   // not yet cleared by the stop
    driverBaseSendTestPulse();
    loop.pulseStep = PulseStep::Idle;
}

// The state word goes with the page the action was on: as read while that
// page plays, or for a page the ring has left since (ended, then) that page
// with the last-state bit; bit 14 where the contact moved before that page
// began. The testor values the trip with that page (or the one before).
void ControllerQuery::reportAction()
{
    const CommDriverTestStatusData& status = *globalTestStatusData;
    if (std::isnan(status.statusTestActionTime))
        return;
    qint32 word = status.statusTestStateIndex;
    const qint32 page = status.statusTestActionStateIndex;
    if (page < DRIVER_PAGE_COUNT && DriverStateWord(word).page() != page)
        word = DriverStateWord::endedPage(page).word;
    if (status.statusTestActionBefore)
        word |= DriverStateWord::kMovedBeforeBit;
    const qint32 flags = status.statusTestActionFlag;
    const qint64 stampUs = status.statusTestActionStampUs;
    // One report for each input the action changed, its code in the flag
    // word the edge it made (not both edges the page has seen on it). An
    // action whose edges the page had all seen before (the same edge again)
    // is reported as the acting input's, with the edge it last made.
    uint8_t edges = localActionEdges;
    const int acting = status.statusTestActionIndex;
    if (edges == 0 && acting < COMM_BINARY_COUNT)
        edges = uint8_t((status.statusTestActionFlags[acting] & 0x3) << (2 * acting));
    if (edges == 0) {
        emit sigUpdateTestStateAction(flags, acting, stampUs, word);
        return;
    }
    for (int input = 0; input < COMM_BINARY_COUNT; ++input) {
        const int shift = 2 * input;
        const qint32 edge = (edges >> shift) & 0x3;
        if (edge != 0)
            emit sigUpdateTestStateAction((flags & ~(0x3 << shift)) | (edge << shift), input, stampUs, word);
    }
}

void ControllerQuery::pollTemperatures(LoopState& loop, int64_t now)
{
    if (!due(loop.lastTempMs, now, queryTempIntervalTime.load()))
        return;
    loop.lastTempMs = now;
    if (driverBaseReadPAOTempState() != 0 || !globalTestStatusData)
        return;

    const CommDriverTestStatusData& status = *globalTestStatusData;
    const qint32* t = status.statusAOTempValues;
    const qint32 maxT = std::max({-99, t[0], t[1], t[2], t[3]});
    loop.lastFanDuty = status.statusFanSpeed;

    const CommDriverTestControlData* control = globalTestControlData;
    const bool lowPower = !control || control->controlDeviceLowPowerEnable != 0;
    if (lowPower || maxT > kTemperatureLimit)
        return;

    qint32 duty = 20;
    const uint8_t* sensors = status.statusSensorStates;
    if (std::any_of(sensors, sensors + 4, [](uint8_t s) { return s == 0; }))
        duty = fanDuty(maxT);
    if (duty != loop.lastFanDuty) {
        driverBaseSendConfigureFanSpeed(uint32_t(duty));
        loop.lastFanDuty = duty;
    }
    emit sigUpdateAOTempState(t[0], t[1], t[2], t[3], loop.lastFanDuty);
    emit sigUpdateAOTempSensor(sensors[0], sensors[1], sensors[2], sensors[3]);
}

void ControllerQuery::pollAlarms(LoopState& loop, int64_t now)
{
    if (!due(loop.lastAlarmMs, now, queryAlarmIntervalTime.load()))
        return;
    loop.lastAlarmMs = now;
    if (driverBaseReadAlarmState() != 0 || !globalTestStatusData) {
        loop.lastAlarmWord = -1;
        return;
    }
    const qint32 word = globalTestStatusData->statusAlarmStates;
    if (loop.lastAlarmWord == -1 || loop.lastAlarmWord != word) {
        loop.lastAlarmWord = word;
        emit sigUpdateAlarmState(word);
    }
}
