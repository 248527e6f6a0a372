#include "ControllerTestor.h"

#include "CommDriverData.h"
#include "ControllerRuntime.h"
#include "driverbase.h"
#include "driverbase_battery.h"
#include "zoplatform.h"

#include <algorithm>

namespace {

constexpr int64_t kAmplifierSettleMs = 1500;
constexpr int64_t kCalibrationSettleMs = 800;

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

} // namespace

ControllerTestor::ControllerTestor(QObject* parent)
    : QObject(parent)
    , dataCalibration(new ModelCalibrationEntity())
{
}

ControllerTestor::~ControllerTestor()
{
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
    if (!control)
        return -1;
    control->controlPowerDCVAuxEnable = on ? 1 : 0;
    control->controlPowerDCVAuxSwitch = 0;
    control->controlPowerDCVAuxValue = driverSaturate<uint32_t>(value);
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

double ControllerTestor::getTestCurrentMax()
{
    double largest = 0.0;
    if (const CommDriverTestOutputData* out = globalTestOutputData)
        for (int ch = COMM_PORT_TYPE_IA; ch <= COMM_PORT_TYPE_IX; ++ch)
            largest = std::max(largest, double(out->currentOutputRanges[ch][0]));
    return largest;
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

bool ControllerTestor::writeStartPages(TESTType type, int& errorSum)
{
    switch (type) {
    case TEST_ALTERNATE:
    case TEST_HARMONIC:
    case TEST_STATESEQUENCE:
    case TEST_DISTANCE:
    case TEST_RAMPING:
    case TEST_OVERCURRENT:
    case TEST_DIRECT:
    case TEST_ENERGY:
    case TEST_SLIP_FREQUENCY:
    case TEST_SLIP_VOLTAGE:
    case TEST_OSCILLATE:
    case TEST_STDSOURCE:
        // The first state, as the output record holds it.
        errorSum += setTestParameter(false, false);
        return true;
    default:
        return false;
    }
}

void ControllerTestor::doTestStart()
{
    // The run works with the module selected now, whatever is selected later.
    const TESTType type = testType.load();
    runCapture.store(type);

    int errorSum = 0;
    CommSOEEntity event = runEvent(CommSOEEntity::SOE_TYPE_NONE, wallClockNow());
    driverBaseResetUpdateOffset();

    if (type == TEST_CALIBRATION) {
        startCalibration(event);
        return;
    }
    if (!writeStartPages(type, errorSum)) {
        if (!runEnable.load())
            releaseRunCapture();
        return;
    }

    errorSum += setTestPower(true);
    if (errorSum == 0)
        emit sigUpdatePowerState(true);
    zoplat::sleepMs(kAmplifierSettleMs);
    errorSum += setTestRuning(true);
    startQTime = wallClockNow();

    if (errorSum == 0) {
        event.soeType = CommSOEEntity::SOE_TYPE_AO_START;
        event.eventUtcTime = startQTime;
        emit sigUpdateRunState(event, true);
        runEnable.store(true);
    } else {
        event.soeType = CommSOEEntity::SOE_TYPE_NONE;
        emit sigUpdateRunState(event, false);
        if (!runEnable.load())
            releaseRunCapture();
    }
}

void ControllerTestor::startCalibration(CommSOEEntity& event)
{
    int errorSum = 0;
    bool output = true;
    ModelCalibrationEntity* cal = dataCalibration;
    cal->resetCurrentPoint();
    cal->resetCurSelFactor();

    if (cal->currentCalType == ModelCalibrationEntity::CAL_TYPE_AUXDC) {
        if (cal->switchToNextPoint()) {
            cal->updateToDriverValue();
            if (CommDriverTestControlData* control = globalTestControlData) {
                control->controlPowerDCVAuxEnable = 1;
                control->controlPowerDCVAuxType = 1;
                errorSum += driverBaseSendTestControlPower();
            } else {
                errorSum += -1;
            }
            if (errorSum == 0)
                emit sigUpdatePowerState(true);
        } else {
            errorSum += setTestAuxPower(false, qint32(0));
            output = false;
        }
    } else {
        if (cal->switchToNextPoint()) {
            cal->updateToDriverValue();
            errorSum += setTestParameter(false, false);
            errorSum += setTestPower(true);
            if (errorSum == 0)
                emit sigUpdatePowerState(true);
            zoplat::sleepMs(kAmplifierSettleMs);
            errorSum += setTestRuning(true);
            zoplat::sleepMs(kCalibrationSettleMs);
        } else {
            errorSum += setTestRuning(false);
            output = false;
        }
    }

    startQTime = wallClockNow();
    event.soeType = CommSOEEntity::SOE_TYPE_NONE;
    if (errorSum == 0 && output) {
        emit sigUpdateRunState(event, true);
        runEnable.store(true);
        return;
    }
    if (errorSum != 0)
        emit sigUpdateRunState(event, false);
    if (!runEnable.load())
        releaseRunCapture();
}

void ControllerTestor::doTestInterrupt()
{
    stopQTime = wallClockNow();
    const CommSOEEntity event = runEvent(CommSOEEntity::SOE_TYPE_BOPLUSE_STOP, stopQTime);
    const TESTType type = activeTestType();
    if (!runEnable.load() || type == TEST_NONE)
        return;

    emit sigUpdateRunState(event, false);
    switch (type) {
    case TEST_REMOTESIGNAL:
        setTestPluseRuning(false);
        break;
    case TEST_CALIBRATION: {
        int result;
        if (dataCalibration->currentCalType == ModelCalibrationEntity::CAL_TYPE_AUXDC) {
            result = setTestAuxPower(false, qint32(0));
        } else {
            result = setTestRuning(false);
            result += setTestPower(false);
        }
        if (result == 0)
            emit sigUpdatePowerState(false);
        dataCalibration->computeCurSelFactor();
        emit sigUpdateCalState(ControllerRuntime::STATE_TYPE_CALFINISH, true);
        break;
    }
    default: {
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
    const TESTType type = activeTestType();
    if (type != TEST_CALIBRATION)
        return;   // the modules step through their entities

    int errorSum = 0;
    ModelCalibrationEntity* cal = dataCalibration;
    if (cal->switchToNextPoint()) {
        cal->updateToDriverValue();
        if (cal->currentCalType == ModelCalibrationEntity::CAL_TYPE_AUXDC) {
            if (CommDriverTestControlData* control = globalTestControlData) {
                control->controlPowerDCVAuxEnable = 1;
                errorSum += driverBaseSendTestControlPower();
            } else {
                errorSum += -1;
            }
        } else {
            errorSum += driverBaseSwitchUpdateOffset();
            errorSum += setTestParameter(false, false);
            errorSum += setTestSwitch(false);
        }
    } else {
        doTestInterrupt();
    }
    if (errorSum == 0)
        emit sigUpdateSwitchState(runEvent(CommSOEEntity::SOE_TYPE_NONE, wallClockNow()), type);
}

// ---- Binary outputs, auxiliary DC, battery, trigger ------------------------------------

void ControllerTestor::doTestBOState()
{
    switch (activeTestType()) {
    case TEST_ALTERNATE:
    case TEST_HARMONIC:
    case TEST_STATESEQUENCE:
    case TEST_DISTANCE:
    case TEST_RAMPING:
    case TEST_OVERCURRENT:
    case TEST_DIRECT:
    case TEST_ENERGY:
    case TEST_OSCILLATE:
        break;
    default:
        return;
    }
    const CommDriverTestControlData* control = globalTestControlData;
    if (!control)
        return;
    qint32 bo[4];
    for (int i = 0; i < 4; ++i)
        bo[i] = control->controlBOStates[i];
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

void ControllerTestor::doTestKeyPress()
{
    if (CommDriverTestStatusData* status = globalTestStatusData)
        status->statusBIStateAction = 1;
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
// State changes, trips and pulse counts are recorded by the module entities.

void ControllerTestor::doUpdateTestStateIndex(qint32)
{
}

void ControllerTestor::doUpdateTestStateAction(qint32, qint32, float, qint32)
{
}

void ControllerTestor::doUpdateTestStateAction(qint32, qint32, float, qint32, qint32, qint32)
{
}

void ControllerTestor::doUpdateTestStatePulse(qint32, double)
{
}

// ---- Calibration -------------------------------------------------------------------------

void ControllerTestor::doCalSave(qint32 type)
{
    if (!validCalType(type))
        return;
    dataCalibration->save(ModelCalibrationEntity::CALType(type));
    dataCalibration->updateToDriverFactor();
}

void ControllerTestor::doCalLoad(qint32 type)
{
    if (!validCalType(type))
        return;
    dataCalibration->load(ModelCalibrationEntity::CALType(type));
    dataCalibration->updateToDriverFactor();
    emit sigUpdateCalState(ControllerRuntime::STATE_TYPE_CALLOADED, true);
}

void ControllerTestor::doCalReset(qint32 type, bool cursel)
{
    if (!validCalType(type))
        return;
    const auto kind = ModelCalibrationEntity::CALType(type);
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
    dataCalibration->Export(type);
}

void ControllerTestor::doCalImport(qint32 type)
{
    dataCalibration->Import(type);
    dataCalibration->updateToDriverFactor();
    emit sigUpdateCalState(ControllerRuntime::STATE_TYPE_CALLOADED, true);
}
