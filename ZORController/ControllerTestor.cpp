#include "ControllerTestor.h"

#include "CommDriverData.h"
#include "ControllerModuleTable.h"
#include "ControllerRuntime.h"
#include "ControllerTestorRing.h"
#include "ModelAlternateEntity.h"
#include "ModelDirectEntity.h"
#include "ModelDistanceEntity.h"
#include "ModelEnergyEntity.h"
#include "ModelHarmonicEntity.h"
#include "ModelOscillateEntity.h"
#include "ModelOvercurrentEntity.h"
#include "ModelRampingEntity.h"
#include "ModelSlipFrequencyEntity.h"
#include "ModelSlipVoltageEntity.h"
#include "ModelStateSequenceEntity.h"
#include "ModelStdSourceEntity.h"
#include "driverbase.h"
#include "driverbase_battery.h"
#include "zoplatform.h"

#include <QMutexLocker>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

constexpr int64_t kAmplifierSettleMs = 1500;
constexpr int64_t kCalibrationSettleMs = 800;

// A list of its own, never storage shared across threads.
QList<qint32> detachedCopy(const QList<qint32>& list)
{
    QList<qint32> copy;
    for (qint32 n : list)
        copy << n;
    return copy;
}

QDateTime wallClockNow()
{
    return QDateTime::fromMSecsSinceEpoch(zoplat::systemTimeMs());
}

// A start, stop or switch event of the run.
CommSOEEntity runEvent(CommSOEEntity::SOEType type, const QDateTime& when)
{
    CommSOEEntity event;
    event.soeType = type;
    event.runtimeType = CommSOEEntity::RUNTIME_TYPE_RUNNING;
    event.eventUtcTime = when;
    event.eventRunTime = 0.0;
    return event;
}

// A state the run began, as the runtime store records it.
CommSOEEntity stateEvent(qint32 index)
{
    CommSOEEntity event;
    event.soeType = CommSOEEntity::SOE_TYPE_AO_STATE;
    event.runtimeType = CommSOEEntity::RUNTIME_TYPE_RUNNING;
    event.eventUtcTime = wallClockNow();
    event.eventRunTime = 0.0;
    event.outputStateIndex = index;
    return event;
}

}   // namespace

// The amplifiers' settle, waited on a thread of its own through the product's
// injectable wait; its end is queued to the testor. One at a time, joined
// when it ends; a stop ends it early.
struct ControllerTestor::SettleWait
{
    zoplat::Wakeup wakeup{kAmplifierSettleMs};
    std::atomic<bool> ended{false};
    std::thread thread;

    ~SettleWait()
    {
        end();
        join();
    }
    void begin(ControllerTestor* testor, quint64 start)
    {
        end();
        join();   // ended by its time or woken by a stop
        ended = false;
        thread = std::thread([this, testor, start] {
            if (wakeup.sleepMs(kAmplifierSettleMs, [this] { return ended.load(); }))
                return;
            QMetaObject::invokeMethod(
                testor, [testor, start] { testor->endSettle(start); }, Qt::QueuedConnection);
        });
    }
    void end()
    {
        ended = true;
        wakeup.wake();
    }
    void join()
    {
        if (thread.joinable())
            thread.join();
    }
};

ControllerTestor::ControllerTestor(QObject* parent)
    : QObject(parent)
    , dataCalibration(new ModelCalibrationEntity())
    , dataAlternate(new ModelAlternateEntity())
    , dataDirect(new ModelDirectEntity())
    , dataHarmonic(new ModelHarmonicEntity())
    , dataStateSequence(new ModelStateSequenceEntity())
    , dataDistance(new ModelDistanceEntity())
    , dataRamping(new ModelRampingEntity())
    , dataOvercurrent(new ModelOvercurrentEntity())
    , dataEnergy(new ModelEnergyEntity(this))   // a QObject: follows the testor to its thread
    , dataSlipVoltage(new ModelSlipVoltageEntity())
    , dataSlipFrequency(new ModelSlipFrequencyEntity())
    , dataOscillate(new ModelOscillateEntity())
    , dataStdSource(new ModelStdSourceEntity())
    , settleWait(std::make_unique<SettleWait>())
{
}

ControllerTestor::~ControllerTestor()
{
    delete dataStdSource;
    delete dataOscillate;
    delete dataSlipFrequency;
    delete dataSlipVoltage;
    delete dataEnergy;
    delete dataOvercurrent;
    delete dataRamping;
    delete dataDistance;
    delete dataStateSequence;
    delete dataHarmonic;
    delete dataDirect;
    delete dataAlternate;
    delete dataCalibration;
}

ControllerTestor::TESTType ControllerTestor::activeTestType() const
{
    const qint32 captured = runCapture.load();
    return captured >= 0 ? TESTType(captured) : testType.load();
}

void ControllerTestor::releaseRunCapture()
{
    runCapture.store(-1);
}

bool ControllerTestor::validCalType(qint32 type)
{
    if (type >= ModelCalibrationEntity::CAL_TYPE_ALL && type <= ModelCalibrationEntity::CAL_TYPE_LLODC)
        return true;
    qWarning("ControllerTestor: calibration kind %d refused", type);
    return false;
}

// ---- Driver operations -----------------------------------------------------------

int ControllerTestor::setTestParameter(bool zeroValue, bool bocurrent)
{
    return driverBaseSendTestParameterData(zeroValue, bocurrent);
}

int ControllerTestor::getTestParameter()
{
    return driverBaseReadTestParameterData();
}

int ControllerTestor::setTestPower(bool on)
{
    if (activeTestType() == TEST_NONE)
        return 0;
    CommDriverTestControlData* control = globalTestControlData;
    if (!control)
        return -1;
    control->controlPowerIEnable = on ? 1 : 0;
    control->controlPowerVEnable = on ? 1 : 0;
    return driverBaseSendTestControlPower();
}

int ControllerTestor::setTestRuning(bool on)
{
    if (activeTestType() == TEST_NONE)
        return 0;
    CommDriverTestControlData* control = globalTestControlData;
    if (!control)
        return -1;
    control->controlRunIEnable = on ? 1 : 0;
    control->controlRunVEnable = on ? 1 : 0;
    return driverBaseSendTestControlRun();
}

int ControllerTestor::setTestAuxPower(bool on, qint32 level)
{
    CommDriverTestControlData* control = globalTestControlData;
    if (!control)
        return -1;
    control->controlPowerDCVAuxEnable = on ? 1 : 0;
    control->controlPowerDCVAuxSwitch = driverSaturate<uint8_t>(level);
    control->controlPowerDCVAuxValue = 0;
    control->controlPowerDCVAuxType = 0;
    return driverBaseSendTestControlPower();
}

int ControllerTestor::setTestAuxPower(bool on, double value)
{
    CommDriverTestControlData* control = globalTestControlData;
    const CommDriverConfigureHardData* hard = globalConfigureHardData;
    if (!control || !hard)
        return -1;
    // The set point stays within what the supply can give: a negative or
    // unknown value is 0 (off), a larger one the full scale.
    const double fullScale = std::isfinite(hard->auxdcMaxValue) ? std::max(0.0, double(hard->auxdcMaxValue)) : 0.0;
    const double volts = std::isfinite(value) ? std::clamp(value, 0.0, fullScale) : 0.0;
    control->controlPowerDCVAuxEnable = on ? 1 : 0;
    control->controlPowerDCVAuxSwitch = 0;
    control->controlPowerDCVAuxValue = driverSaturate<uint32_t>(volts);
    control->controlPowerDCVAuxType = 1;
    return driverBaseSendTestControlPower();
}

int ControllerTestor::setTestBattery(quint8 mos)
{
    CommDriverTestStatusData* status = globalTestStatusData;
    if (!status)
        return -1;
    status->statusBatteryMOSState = mos;
    return driverBaseWriteBatteryState();
}

int ControllerTestor::setTestPluseRuning(bool on)
{
    CommDriverTestControlData* control = globalTestControlData;
    if (!control)
        return -1;
    control->controlRunPluseEnable = on ? 1 : 0;
    return driverBaseSendTestPluseRun();
}

int ControllerTestor::setTestSwitch(bool on)
{
    CommDriverTestControlData* control = globalTestControlData;
    if (!control)
        return -1;
    control->controlAutoOutputTimeEnable = on ? 1 : 0;
    return driverBaseSendTestSwitchState();
}

int ControllerTestor::setTestBOState()
{
    return driverBaseSendTestBOState();
}

int ControllerTestor::setBinaryOutputs(quint32 mask, quint32 states)
{
    CommDriverTestControlData* control = globalTestControlData;
    if (!control)
        return -1;
    for (int i = 0; i < 4; ++i) {
        if (mask & (1u << i))
            control->controlBOStates[i] = (states >> i) & 1u;
    }
    const CommDriverTestOutputData* out = globalTestOutputData;
    if (!runEnable.load() || !out || out->outputBOControlType != COMM_BOCONTROL_TYPE_AUTO)
        return driverBaseSendTestBOState();
    // The run's pages drive the outputs: the ones played now, the mask's changed.
    uint16_t played = 0;
    int result = driverBaseReadPlayedBO(&played);
    if (result != 0)
        return result;
    result = driverBaseSendTestBOBits(uint16_t((played & ~mask) | (states & mask)));
    if (result == 0) {
        boHeld = true;
        boHeldIn = runState;
    }
    return result;
}

void ControllerTestor::announceStateBegun(qint32 state)
{
    runState = state;
    if (boHeld && state != boHeldIn && driverBaseReleaseTestBO() == 0)
        boHeld = false;
    emit sigUpdateTestStateIndex(stateEvent(state), state);
}

// ---- Current maxima ------------------------------------------------------------------

double ControllerTestor::getTestCurrentMax()
{
    double largest = 0.0;
    const ModuleAdaptors* run = moduleEntry(activeTestType()).adaptors;
    if (run && run->outputCurrentMax)
        return std::max(0.0, run->outputCurrentMax(*this));
    // Modules whose entity does not say: component 0 as the output record holds it.
    if (const CommDriverTestOutputData* out = globalTestOutputData)
        for (int ch = COMM_PORT_TYPE_IA; ch <= COMM_PORT_TYPE_IX; ++ch)
            largest = std::max(largest, double(out->currentOutputRanges[ch][0]));
    return largest;
}

double ControllerTestor::getHarmonicCurrentMax()
{
    double largest = 0.0;
    QMutexLocker lock(&dataHarmonic->entityLock);
    for (int ch = ModelEntity::AO_PORT_TYPE_IA; ch <= ModelEntity::AO_PORT_TYPE_IX; ++ch)
        largest = std::max(largest, dataHarmonic->getRMSnew(ModelEntity::AOPortType(ch)));
    return largest;
}

QString ControllerTestor::lastStartRefusal() const
{
    QMutexLocker lock(&refusalLock);
    return refusalText;
}

ControllerTestor::StartRefusal ControllerTestor::lastStartRefusalReason() const
{
    QMutexLocker lock(&refusalLock);
    return refusalReason;
}

void ControllerTestor::clearStartRefusal()
{
    setStartRefusal(REFUSAL_NONE, QString());
}

QList<qint32> ControllerTestor::lastStartRefusalNumbers() const
{
    QMutexLocker lock(&refusalLock);
    return detachedCopy(refusalNumbers);
}

namespace {

std::atomic<void (*)(const QString&)> refusalLog{nullptr};

} // namespace

void ControllerTestor::setRefusalLog(void (*line)(const QString&))
{
    refusalLog = line;
}

void ControllerTestor::setStartRefusal(StartRefusal reason, const QString& text, const QList<qint32>& numbers)
{
    if (reason != REFUSAL_NONE) {
        const QString line = QStringLiteral("ControllerTestor: start not run (reason %1): %2").arg(int(reason)).arg(text);
        if (void (*log)(const QString&) = refusalLog.load())
            log(line);
        else
            qWarning("%s", qPrintable(line));
    }
    QMutexLocker lock(&refusalLock);
    refusalReason = reason;
    refusalText = text;
    refusalNumbers = detachedCopy(numbers);
}

double ControllerTestor::getCurrentOutputRange(qint32 ch)
{
    if (ch < 0 || ch >= COMM_PORT_COUNT)
        return 0.0;
    const ModuleAdaptors* run = moduleEntry(activeTestType()).adaptors;
    if (run && run->channelCurrent)
        return run->channelCurrent(*this, ch);
    const CommDriverTestOutputData* out = globalTestOutputData;
    return out ? double(out->currentOutputRanges[ch][0]) : 0.0;
}

// ---- Selection ---------------------------------------------------------------------

void ControllerTestor::doTestActive(qint32 type)
{
    if (!isValidTestType(type)) {
        qWarning("ControllerTestor::doTestActive: test type %d refused", type);
        return;
    }
    testType.store(TESTType(type));
}

// ---- Run -------------------------------------------------------------------------------

void ControllerTestor::askStart(const std::function<void()>& post)
{
    QMutexLocker lock(&askLock);
    ++startsAsked;
    post();
}

void ControllerTestor::cancelAskedStarts()
{
    QMutexLocker lock(&askLock);
    startsCancelled = startsAsked.load();
}

namespace {

// Tells a start's outcome once: NotRun unless told otherwise before it ends.
class StartReport
{
public:
    explicit StartReport(const ControllerTestor::StartDecided& decided) : decided(decided) {}
    ~StartReport() { tell(ControllerTestor::StartOutcome::NotRun); }
    StartReport(const StartReport&) = delete;
    StartReport& operator=(const StartReport&) = delete;
    void tell(ControllerTestor::StartOutcome outcome)
    {
        if (decided && !told)
            decided(outcome);
        told = true;
    }

private:
    const ControllerTestor::StartDecided& decided;
    bool told = false;
};

}   // namespace

void ControllerTestor::doTestStart()
{
    doTestStart(StartDecided());
}

void ControllerTestor::doTestStart(const StartDecided& decided)
{
    StartReport report(decided);
    const quint64 start = ++startsTaken;
    // The ring is playing (or about to): rewriting it from page 0 would
    // change the pages under the output.
    if (runEnable.load() || amplifiersSettling()) {
        qWarning("ControllerTestor::doTestStart: a test is running, start refused");
        report.tell(StartOutcome::Running);
        return;
    }
    // The run works with the module selected now, whatever is selected later.
    const TESTType type = testType.load();
    const ModuleEntry& module = moduleEntry(type);
    runCapture.store(type);

    CommSOEEntity event = runEvent(CommSOEEntity::SOE_TYPE_NONE, wallClockNow());
    driverBaseResetUpdateOffset();
    runRing().reset();
    clearStartRefusal();

    if (module.family == ModuleFamily::Calibration) {
        startCalibration(event);
        if (runEnable.load())
            report.tell(StartOutcome::Begun);
        return;
    }
    // The types without an entity have no output of their own.
    if (!module.adaptors || !module.adaptors->start) {
        releaseRunCapture();
        return;
    }
    // Stopped while it waited in the queue: nothing is sent.
    if (startCancelled(start)) {
        reportFailedStart(event, false, false);
        return;
    }
    const ModuleStart pages = module.adaptors->start(module, *this);
    if (pages.refused) {
        setStartRefusal(pages.reason != REFUSAL_NONE ? pages.reason : REFUSAL_VALUES,
                        pages.refusal.isEmpty()
                            ? QStringLiteral("module %1: settings that cannot be output").arg(int(type))
                            : pages.refusal,
                        pages.numbers);
        reportFailedStart(event, false, false);
        return;
    }
    // A ring that did not take its pages, or its state count, is not played.
    int errorSum = pages.errorSum;
    if (errorSum != 0) {
        setStartRefusal(REFUSAL_INSTRUMENT,
                        QStringLiteral("module %1: the instrument did not take the first "
                                       "pages (driver result sum %2)")
                            .arg(int(type))
                            .arg(errorSum));
        reportFailedStart(event, false, false);
        return;
    }
    if (startCancelled(start)) {
        reportFailedStart(event, false, false);
        return;
    }

    errorSum += setTestPower(true);
    const bool powerReported = errorSum == 0;
    if (!powerReported) {
        setStartRefusal(REFUSAL_INSTRUMENT,
                        QStringLiteral("module %1: the instrument did not switch the amplifiers "
                                       "on (driver result sum %2)")
                            .arg(int(type))
                            .arg(errorSum));
        reportFailedStart(event, true, false);
        return;
    }
    emit sigUpdatePowerState(true);
    report.tell(StartOutcome::Begun);
    // The amplifiers settle while the testor takes its other work.
    settlingEvent = event;
    settlingStart = start;
    settleWait->begin(this, start);
}

void ControllerTestor::endSettle(quint64 start)
{
    if (settlingStart.load() != start)
        return;   // ended by a stop meanwhile
    settleWait->join();   // its thread ends as it asks for this
    CommSOEEntity event = settlingEvent;
    // A stop asked during the settle and not yet taken: the output never comes on.
    if (startCancelled(start)) {
        reportFailedStart(event, true, true);
        settlingStart = 0;
        return;
    }
    const int errorSum = setTestRuning(true);
    startQTime = wallClockNow();
    if (errorSum != 0) {
        setStartRefusal(REFUSAL_INSTRUMENT,
                        QStringLiteral("module %1: the instrument did not switch the output "
                                       "on (driver result sum %2)")
                            .arg(int(activeTestType()))
                            .arg(errorSum));
        reportFailedStart(event, true, true);
        settlingStart = 0;
        return;
    }
    event.soeType = CommSOEEntity::SOE_TYPE_AO_START;
    event.eventUtcTime = startQTime;
    runState = 0;
    boHeld = false;
    emit sigUpdateRunState(event, true);
    runEnable.store(true);
    settlingStart = 0;
}

void ControllerTestor::cancelSettle()
{
    settleWait->end();
    settleWait->join();
    CommSOEEntity event = settlingEvent;
    reportFailedStart(event, true, true);
    settlingStart = 0;
}

// A start that failed leaves nothing switched on: when power and run were
// requested, output off and amplifiers off (the power stage closed) before
// the failure is reported; the power-off notice follows a power-on notice.
void ControllerTestor::reportFailedStart(CommSOEEntity& event, bool switchedOn, bool powerReported)
{
    if (switchedOn) {
        const int run = setTestRuning(false);
        const int power = setTestPower(false);
        if (powerReported && run == 0 && power == 0)
            emit sigUpdatePowerState(false);
    }
    event.soeType = CommSOEEntity::SOE_TYPE_NONE;
    emit sigUpdateRunState(event, false);
    releaseRunCapture();
}

void ControllerTestor::startCalibration(CommSOEEntity& event)
{
    int errorSum = 0;
    bool found = false;
    bool auxdc = false;
    bool powerReported = false;
    ModelCalibrationEntity* cal = dataCalibration;
    {
        QMutexLocker lock(&cal->entityLock);
        auxdc = cal->currentCalType == ModelCalibrationEntity::CAL_TYPE_AUXDC;
        cal->resetCurrentPoint();
        cal->resetCurSelFactor();
        // The auxiliary DC points are played through the driver's coefficients:
        // they must be the reset ones, or a second calibration undoes the first.
        if (auxdc)
            cal->updateToDriverFactor();
        found = cal->switchToNextPoint();
        if (found) {
            cal->updateToDriverValue();
            if (auxdc) {
                if (CommDriverTestControlData* control = globalTestControlData) {
                    control->controlPowerDCVAuxEnable = 1;
                    control->controlPowerDCVAuxType = 1;
                    errorSum += driverBaseSendTestControlPower();
                } else {
                    errorSum += -1;
                }
            } else {
                errorSum += setTestParameter(false, false);
            }
        }
    }

    event.soeType = CommSOEEntity::SOE_TYPE_NONE;
    if (!found) {
        // Nothing selected: nothing goes on, and the page hears that no run began.
        if (auxdc)
            setTestAuxPower(false, qint32(0));
        else
            setTestRuning(false);
        emit sigUpdateRunState(event, false);
        releaseRunCapture();
        return;
    }
    if (auxdc) {
        powerReported = errorSum == 0;
        if (powerReported)
            emit sigUpdatePowerState(true);
    } else if (errorSum == 0) {
        errorSum += setTestPower(true);
        powerReported = errorSum == 0;
        if (powerReported)
            emit sigUpdatePowerState(true);
        zoplat::sleepMs(kAmplifierSettleMs);
        errorSum += setTestRuning(true);
        zoplat::sleepMs(kCalibrationSettleMs);
    }

    startQTime = wallClockNow();
    if (errorSum == 0) {
        emit sigUpdateRunState(event, true);
        runEnable.store(true);
        return;
    }
    // A start the instrument did not take leaves nothing on; the cells it
    // cleared are offered to be saved or reloaded as after any stop.
    qWarning("ControllerTestor: calibration start failed (driver result sum %d)", errorSum);
    switchCalibrationOff(auxdc, powerReported);
    emit sigUpdateRunState(event, false);
    finishCalibration();
    releaseRunCapture();
}

// Output of a calibration run off: the auxiliary supply for AUXDC, else the
// run and the amplifiers; the power-off notice follows a power-on notice.
void ControllerTestor::switchCalibrationOff(bool auxdc, bool powerReported)
{
    int result;
    if (auxdc) {
        result = setTestAuxPower(false, qint32(0));
    } else {
        result = setTestRuning(false);
        result += setTestPower(false);
    }
    if (powerReported && result == 0)
        emit sigUpdatePowerState(false);
}

// The coefficients of the run's cells from the values measured so far; the
// page then asks whether to save them.
void ControllerTestor::finishCalibration()
{
    {
        QMutexLocker lock(&dataCalibration->entityLock);
        dataCalibration->computeCurSelFactor();
    }
    emit sigUpdateCalState(ControllerRuntime::STATE_TYPE_CALFINISH, true);
}

void ControllerTestor::doTestInterrupt()
{
    stopQTime = wallClockNow();
    CommSOEEntity event = runEvent(CommSOEEntity::SOE_TYPE_BOPLUSE_STOP, stopQTime);
    event.unwrittenState = unwrittenState + 1;
    unwrittenState = -1;
    const TESTType type = activeTestType();
    if (amplifiersSettling()) {
        cancelSettle();
        return;
    }
    if (!runEnable.load() || type == TEST_NONE)
        return;

    if (type == TEST_STATESEQUENCE)
        ModuleAdaptorSets::judgeSequenceStopped(*this);
    else if (const ModuleAdaptors* run = moduleEntry(type).adaptors)
        ModuleAdaptorSets::followEndedAtStop(*this, *run);
    emit sigUpdateRunState(event, false);
    const ModuleStop stop = moduleEntry(type).stop;
    switch (stop) {
    case ModuleStop::PulseRun: setTestPluseRuning(false); break;
    case ModuleStop::Calibration: {
        bool auxdc;
        {
            QMutexLocker lock(&dataCalibration->entityLock);
            auxdc = dataCalibration->currentCalType == ModelCalibrationEntity::CAL_TYPE_AUXDC;
        }
        switchCalibrationOff(auxdc, true);
        finishCalibration();
        break;
    }
    case ModuleStop::PulsesFirst:
    case ModuleStop::Amplifiers: {
        // The pulse output and pulse counting end with the run.
        if (stop == ModuleStop::PulsesFirst)
            doTestMeasurerStop();
        const int run = setTestRuning(false);
        const int power = setTestPower(false);
        if (run == 0 && power == 0)
            emit sigUpdatePowerState(false);
        break;
    }
    }
    runEnable.store(false);
    releaseRunCapture();
}

void ControllerTestor::doTestSwitch()
{
    switchRunningOutput();
}

int ControllerTestor::switchRunningOutput()
{
    // Edits from here on need a switch of their own.
    outputSwitchQueued.store(false);
    const TESTType type = activeTestType();
    const ModuleEntry& module = moduleEntry(type);
    if (module.family == ModuleFamily::Calibration) {
        switchCalibration();
        return 0;
    }
    // A request that arrives after the run ended (queued before the stop)
    // has no output to switch.
    if (!runEnable.load() || !module.adaptors || !module.adaptors->switchState)
        return 0;
    return takeSwitch(module, type, module.adaptors->switchState(module, *this));
}

int ControllerTestor::takeSwitch(const ModuleEntry& module, TESTType type, const ModuleSwitch& outcome)
{
    for (const qint32 begun : outcome.begun)
        announceStateBegun(begun);
    if (outcome.endRun)
        doTestInterrupt();
    if (module.announcesSwitch && outcome.errorSum == 0)
        emit sigUpdateSwitchState(runEvent(CommSOEEntity::SOE_TYPE_AO_SWITCH, wallClockNow()), type);
    return outcome.errorSum;
}

QString ControllerTestor::doTestNextState()
{
    const TESTType type = activeTestType();
    const ModuleEntry& module = moduleEntry(type);
    if (!runEnable.load())
        return amplifiersSettling() ? QStringLiteral("no state plays yet: the amplifiers settle before the output "
                                                     "comes on")
                                    : QStringLiteral("no test runs");
    int errorSum = 0;
    if (!module.adaptors || !module.adaptors->nextState) {
        if (module.family == ModuleFamily::MultiState)
            return QStringLiteral("%1: the test goes on by its own times and the relay's trips only")
                .arg(QLatin1String(module.folder));
        errorSum = switchRunningOutput();
    } else {
        outputSwitchQueued.store(false);
        const ModuleSwitch outcome = module.adaptors->nextState(module, *this);
        if (!outcome.refused.isEmpty())
            return outcome.refused;
        errorSum = takeSwitch(module, type, outcome);
    }
    if (errorSum != 0)
        return QStringLiteral("the instrument failed it (driver result sum %1)").arg(errorSum);
    return {};
}

void ControllerTestor::switchCalibration()
{
    // A request queued before the run ended has no point to move to.
    if (!runEnable.load())
        return;
    int errorSum = 0;
    bool found;
    ModelCalibrationEntity* cal = dataCalibration;
    {
        QMutexLocker lock(&cal->entityLock);
        found = cal->switchToNextPoint();
        if (found) {
            cal->updateToDriverValue();
            if (cal->currentCalType == ModelCalibrationEntity::CAL_TYPE_AUXDC) {
                if (CommDriverTestControlData* control = globalTestControlData) {
                    control->controlPowerDCVAuxEnable = 1;
                    errorSum += driverBaseSendTestControlPower();
                } else {
                    errorSum += -1;
                }
            } else {
                // A page the instrument did not take in full is not switched to.
                errorSum += driverBaseSwitchUpdateOffset();
                errorSum += setTestParameter(false, false);
                if (errorSum == 0)
                    errorSum += setTestSwitch(false);
            }
        }
    }
    if (!found) {
        doTestInterrupt();
    } else if (errorSum != 0) {
        // The point (or half of it) may be on with no one asked to measure
        // it: the run ends.
        qWarning("ControllerTestor: calibration switch failed (driver result sum %d)", errorSum);
        doTestInterrupt();
        return;
    }
    emit sigUpdateSwitchState(runEvent(CommSOEEntity::SOE_TYPE_NONE, wallClockNow()), TEST_CALIBRATION);
}

// ---- Binary outputs, auxiliary DC, battery, trigger ------------------------------------

void ControllerTestor::doTestBOState()
{
    const ModuleAdaptors* run = moduleEntry(activeTestType()).adaptors;
    if (!run || !run->boStates)
        return;
    qint32 bo[4] = {};
    run->boStates(*this, bo);
    if (setTestBOState() == 0)
        emit sigUpdateBOState(runEvent(CommSOEEntity::SOE_TYPE_BO_SWITCH, wallClockNow()), bo[0], bo[1], bo[2], bo[3]);
}

void ControllerTestor::doTestAuxPower(bool on, qint32 level)
{
    if (setTestAuxPower(on, level) == 0)
        emit sigUpdateAuxPowerState(on, level);
}

void ControllerTestor::doTestAuxPower(bool on, double value)
{
    if (setTestAuxPower(on, value) == 0)
        emit sigUpdateAuxPowerState(on, 0);
}

void ControllerTestor::doSaveBattery(quint8 mos)
{
    if (setTestBattery(mos) == 0)
        emit sigUpdateBatterMosState(mos);
}

// The key ends the state playing when its trigger is the key, as the
// instrument judges it; in any other state it changes nothing. It is no
// contact: nothing a trip ends is ended by it.
void ControllerTestor::doTestKeyPress()
{
    // In the amplifiers' settle no state plays yet, and none is to end at its start.
    if (amplifiersSettling())
        return;
    driverBaseSendTestKeyTrigger();
}

void ControllerTestor::doTestMeasurerStop()
{
    if (CommDriverTestOutputData* out = globalTestOutputData) {
        out->pulseInputState = 0;
        out->pulseInputTCNT = 0;
        out->pulseInputEnable = 0;
        out->pulseInputTCU = 0;
        out->pulseOutputEnable = 0;
        out->pulseOutputPeriod = 0;
    }
    driverBaseSendTestPulse();
}

// ---- Reports of the polling loop ---------------------------------------------------------
// The single-page modules have no state index of their own to follow; the
// multi-state modules follow theirs. A report that arrives after the run
// ended (queued before the stop) finds nothing to update; a single-page
// module still records the trip that ended its run.

namespace {

// The active module's adaptors for a report, null when it takes none now.
const ModuleAdaptors* reportAdaptors(const ModuleEntry& module, bool running)
{
    if (module.family == ModuleFamily::MultiState && !running)
        return nullptr;
    return module.adaptors;
}

}   // namespace

void ControllerTestor::doUpdateTestStateIndex(qint32 index)
{
    const ModuleAdaptors* run = moduleEntry(activeTestType()).adaptors;
    if (!runEnable.load() || !run || !run->followState)
        return;
    for (const qint32 begun : run->followState(*this, index))
        announceStateBegun(begun);
}

void ControllerTestor::doUpdateSequenceState(const std::vector<double>& stateTimes, qint64 heldUs)
{
    if (!runEnable.load() || activeTestType() != TEST_STATESEQUENCE)
        return;
    const ModuleAdaptorSets::SequenceFollow follow = ModuleAdaptorSets::followSequence(*this, stateTimes, heldUs);
    for (const qint32 begun : follow.begun)
        announceStateBegun(begun);
    if (follow.endRun) {
        unwrittenState = follow.unwrittenState;
        doTestInterrupt();
    }
}

void ControllerTestor::doUpdateTestStateAction(qint32 actionFlag, qint32 actionIndex, qint64 stampUs,
                                               qint32 stateIndex)
{
    const ModuleEntry& module = moduleEntry(activeTestType());
    const ModuleAdaptors* run = reportAdaptors(module, runEnable.load());
    if (run && run->trip && run->trip(module, *this, actionFlag, actionIndex, stampUs, stateIndex) == 0)
        emit sigUpdateTestStateAction();
}

void ControllerTestor::doUpdateTestStateAction(qint32 bi1flag, qint32 bi2flag, float actionTime, qint32 stateIndex,
                                               qint32 bi1state, qint32 bi2state)
{
    const ModuleEntry& module = moduleEntry(activeTestType());
    const ModuleAdaptors* run = reportAdaptors(module, runEnable.load());
    if (run && run->twoInputTrip
        && run->twoInputTrip(module, *this, bi1flag, bi2flag, actionTime, stateIndex, bi1state, bi2state) == 0)
        emit sigUpdateTestStateAction();
}

void ControllerTestor::doUpdateTestStatePulse(qint32 count, double period)
{
    const ModuleAdaptors* run = moduleEntry(activeTestType()).adaptors;
    if (!runEnable.load() || !run || !run->pulse)
        return;
    if (run->pulse(*this, count, period) == 0)
        emit sigUpdateTestStatePulse();
}

// ---- Calibration -------------------------------------------------------------------------

void ControllerTestor::doCalSave(qint32 type)
{
    if (!validCalType(type))
        return;
    bool ok;
    {
        QMutexLocker lock(&dataCalibration->entityLock);
        ok = dataCalibration->save(ModelCalibrationEntity::CALType(type));
        dataCalibration->updateToDriverFactor();
    }
    if (!ok)
        qWarning("ControllerTestor: saving calibration kind %d failed", type);
    emit sigCalSaveFinished(type, ok);
}

void ControllerTestor::doCalLoad(qint32 type)
{
    if (!validCalType(type))
        return;
    {
        QMutexLocker lock(&dataCalibration->entityLock);
        dataCalibration->load(ModelCalibrationEntity::CALType(type));
        dataCalibration->updateToDriverFactor();
    }
    reportDamagedCalibration(type == ModelCalibrationEntity::CAL_TYPE_ALL);
    emit sigUpdateCalState(ControllerRuntime::STATE_TYPE_CALLOADED, true);
}

void ControllerTestor::doCalReset(qint32 type, bool cursel)
{
    if (!validCalType(type))
        return;
    const auto kind = ModelCalibrationEntity::CALType(type);
    QMutexLocker lock(&dataCalibration->entityLock);
    if (cursel) {
        dataCalibration->resetSel(kind);
    } else {
        dataCalibration->initDefault(kind);
        dataCalibration->reset(kind);
    }
    dataCalibration->updateToDriverFactor();
}

void ControllerTestor::doCalExport(qint32 type)
{
    bool ok;
    {
        QMutexLocker lock(&dataCalibration->entityLock);
        ok = dataCalibration->Export(type);
    }
    emit sigCalExchangeFinished(0, ok);
}

bool ControllerTestor::importCalibration(qint32 mask)
{
    // A run's outputs are judged by the factors they were started with.
    if (runEnable.load()) {
        ModelCalibrationEntity::warning(QStringLiteral("Calibration import refused: a test is running"));
        return false;
    }
    bool ok;
    {
        QMutexLocker lock(&dataCalibration->entityLock);
        ok = dataCalibration->Import(mask);
        if (ok)
            dataCalibration->updateToDriverFactor();
    }
    // A refused import took nothing: Import() named what it refused.
    if (ok)
        emit sigUpdateCalState(ControllerRuntime::STATE_TYPE_CALLOADED, true);
    return ok;
}

void ControllerTestor::doCalImport(qint32 type)
{
    emit sigCalExchangeFinished(1, importCalibration(type));
}

bool ControllerTestor::importCalWaited(qint32 mask, int startWaitMs, void (*warningLine)(const QString&))
{
    struct Job
    {
        std::mutex mutex;
        std::condition_variable changed;
        enum { Queued, Running, Done, Dropped } state = Queued;
        bool ok = false;
    };
    auto job = std::make_shared<Job>();
    auto run = [this, mask, job, warningLine] {
        {
            std::lock_guard<std::mutex> lock(job->mutex);
            if (job->state == Job::Dropped)
                return;
            job->state = Job::Running;
        }
        ModelCalibrationEntity::WarningSink sink(warningLine);
        const bool ok = importCalibration(mask);
        std::lock_guard<std::mutex> lock(job->mutex);
        job->ok = ok;
        job->state = Job::Done;
        job->changed.notify_all();
    };
    if (QThread::currentThread() == thread())
        run();
    else if (!QMetaObject::invokeMethod(this, run, Qt::QueuedConnection))
        return false;
    std::unique_lock<std::mutex> lock(job->mutex);
    if (!job->changed.wait_for(lock, std::chrono::milliseconds(startWaitMs), [&] { return job->state != Job::Queued; })) {
        job->state = Job::Dropped;
        return false;
    }
    // Begun: it ends, whatever it takes.
    job->changed.wait(lock, [&] { return job->state == Job::Done; });
    return job->ok;
}

void ControllerTestor::reportDamagedCalibration(bool defaultsFirst)
{
    // A full load set every default before it read the files; a load of
    // one kind (with a file) and an import read over the values in memory.
    QStringList files;
    QStringList lines;
    for (ModelCalibrationEntity::CALType kind : dataCalibration->getDamagedTypes()) {
        // Named as read: the older form's ".dat" when that was the file.
        for (const QString& file : dataCalibration->getDamagedFiles(kind)) {
            files << file;
            lines << QStringLiteral("ControllerTestor: calibration file %1 (kind %2) is damaged; what could not be "
                                    "read of it %3")
                         .arg(file)
                         .arg(int(kind))
                         .arg(defaultsFirst ? QStringLiteral("runs on the defaults")
                                            : QStringLiteral("kept its previous values"));
        }
    }
    // A load that finds what the one before found (the start's second, once
    // the driver is up) logs nothing again.
    for (const QString& line : lines) {
        if (!damageToldLast.contains(line))
            qWarning("%s", qPrintable(line));
    }
    damageToldLast = lines;
    if (!defaultsFirst)
        return;
    QMutexLocker lock(&calibrationLock);
    filesOnDefaults = files;
}

QStringList ControllerTestor::calibrationFilesOnDefaults() const
{
    QMutexLocker lock(&calibrationLock);
    QStringList copy;
    for (const QString& file : filesOnDefaults)
        copy << file;
    return copy;
}
