#include "NetServiceBase.h"

#include "CommDriverData.h"
#include "CommNetCtrlBase.h"
#include "ControllerCenter.h"
#include "ControllerModuleTable.h"
#include "ControllerTestor.h"
#include "ModelAlternateEntity.h"
#include "ModelHarmonicEntity.h"
#include "ModelRampingEntity.h"
#include "ModelStateSequenceEntity.h"
#include "driverbase.h"
#include "zoplatform.h"
#include "zoshm_testing_share_handle.h"

#include <QDebug>
#include <QEventLoop>
#include <QMutexLocker>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <iterator>
#include <memory>
#include <mutex>
#include <time.h>

namespace {

std::atomic<NetServiceBase*> serviceInstance{nullptr};

// Real milliseconds of a product wait (the platform's time scale).
int realMs(int productMs)
{
    return std::max(1, int(productMs * zoplat::timeScale()));
}

// A fixed-size NUL-terminated text: at most N - 1 bytes, the rest zero.
template <size_t N>
void copyText(uint8_t (&field)[N], const QByteArray& text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.constData(), std::min(N - 1, size_t(text.size())));
}

// The service's part of each module, keyed by the module table's adaptor
// record of the module (the table's identity of an entity).
struct HookEntry
{
    const ModuleAdaptors* module;
    NetModuleHooks hooks;
};
const HookEntry kHooks[] = {
    {&ModuleAdaptorSets::alternate, {0, nullptr, nullptr}},
    {&ModuleAdaptorSets::stateSequence,
     {0, nullptr, [](NetServiceBase& service) { return service.setLastStateForSequence(); }}},
    {&ModuleAdaptorSets::harmonic, {0, nullptr, nullptr}},
    {&ModuleAdaptorSets::ramping, {1, nullptr, nullptr}},
};

} // namespace

const NetModuleHooks* netModuleHooks(qint32 testType)
{
    const ModuleAdaptors* module = moduleEntry(testType).adaptors;
    if (!module)
        return nullptr;
    for (const HookEntry& e : kHooks) {
        if (e.module == module)
            return &e.hooks;
    }
    return nullptr;
}

NetServiceBase* NetServiceBase::getInstance()
{
    NetServiceBase* service = serviceInstance.load(std::memory_order_acquire);
    if (service)
        return service;
    static std::mutex creation;
    std::lock_guard<std::mutex> lock(creation);
    service = serviceInstance.load(std::memory_order_acquire);
    if (!service) {
        service = new NetServiceBase();
        serviceInstance.store(service, std::memory_order_release);
    }
    return service;
}

NetServiceBase* NetServiceBase::existingInstance()
{
    return serviceInstance.load(std::memory_order_acquire);
}

NetServiceBase::NetServiceBase()
    : QObject(nullptr)
    , center(ControllerCenter::getInstance())
{
    connect(center, SIGNAL(sigUpdateDataToView(qint32, qint32)), this, SLOT(updateDataToNet(qint32, qint32)));
    connect(center, SIGNAL(sigUpdateViewConnectEnable(bool)), this, SLOT(updateViewConnectEnable(bool)));
    connect(this, &NetServiceBase::sigNetServiceRefused, center, &ControllerCenter::sigNetServiceRefused);
    driverCheck.setInterval(realMs(DRIVER_POLL_MS));
    connect(&driverCheck, &QTimer::timeout, this, &NetServiceBase::checkDriver);
}

NetServiceBase::~NetServiceBase() = default;

bool NetServiceBase::driverInitialised() const
{
    return center->testConfiguration->initDriverEnable.load();
}

bool NetServiceBase::segmentsReady() const
{
    for (int segment = 0; segment < SHM_SEGMENT_COUNT; ++segment) {
        if (!shm_testing_header(segment))
            return false;
    }
    return true;
}

bool NetServiceBase::threadsRunning()
{
    return netCtrl_NetServiceRunning();
}

void NetServiceBase::waitProductMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(realMs(ms), &loop, &QEventLoop::quit);
    loop.exec();
}

void NetServiceBase::netWorkServiceInit()
{
    netServiceEnable = false;
    if (netCtrlInit() != 0)
        qWarning("network service: the shared-memory segments could not be prepared; remote control stays off");
    for (int waited = 0; !driverInitialised() && waited < DRIVER_WAIT_LIMIT_MS; waited += DRIVER_POLL_MS)
        waitProductMs(DRIVER_POLL_MS);
    if (driverInitialised()) {
        driverFound();
        return;
    }
    qWarning("network service: the driver is not initialised after %d ms; going on without it",
             DRIVER_WAIT_LIMIT_MS);
    driverCheck.setInterval(realMs(DRIVER_POLL_MS));
    driverCheck.start();
}

void NetServiceBase::checkDriver()
{
    if (driverInitialised())
        driverFound();
}

void NetServiceBase::driverFound()
{
    driverCheck.stop();
    if (driverSeen)
        return;
    driverSeen = true;
    updateDeviceInfo();
    emit sigDriverInitialised();
}

void NetServiceBase::updateDeviceInfo()
{
    ControllerConfiguration* config = center->testConfiguration;
    QString code;
    QString model;
    QString version;
    {
        // The configuration thread writes these under its file mutex.
        QMutexLocker lock(&config->mutex);
        code = config->deviceCode;
        model = config->deviceModel;
        version = config->softwareVersion;
    }
    DeviceAssemblyInfo info;
    copyText(info.device_guid, code.toLatin1());
    copyText(info.device_code, code.toLatin1());
    copyText(info.device_kind, model.toLatin1());
    copyText(info.device_date, config->getFpgaVersionText().toLatin1());
    for (int i = 0; i < 16 && i < version.size(); ++i)
        info.device_version[i] = version.at(i).unicode();
    assemblyInfo = info;

    NetDeviceAssemblyInfo net;
    std::memcpy(net.device_guid, info.device_guid, sizeof net.device_guid);
    std::memcpy(net.device_code, info.device_code, sizeof net.device_code);
    std::memcpy(net.device_kind, info.device_kind, sizeof net.device_kind);
    std::memcpy(net.device_date, info.device_date, sizeof net.device_date);
    std::memcpy(net.device_version, info.device_version, sizeof net.device_version);
    netCtrl_SetDeviceAssemblyInfoToNet(net);
}

// ---- Commands of the PC ------------------------------------------------------------

int NetServiceBase::setBOState(uint mask, uint states)
{
    auto result = std::make_shared<std::promise<int>>();
    std::future<int> done = result->get_future();
    auto write = [mask, states, result] {
        CommDriverTestControlData* control = globalTestControlData;
        if (!control) {
            result->set_value(-1);
            return;
        }
        for (int i = 0; i < 4; ++i) {
            if (mask & (1u << i))
                control->controlBOStates[i] = (states >> i) & 1u;
        }
        result->set_value(driverBaseSendTestBOState());
    };
    // The testor writes the same record: its thread serialises both.
    QObject* testor = center->testTestor;
    if (QThread::currentThread() == testor->thread())
        write();
    else if (!QMetaObject::invokeMethod(testor, write, Qt::QueuedConnection))
        return -1;
    if (done.wait_for(std::chrono::milliseconds(ENGINE_WAIT_MS)) != std::future_status::ready)
        return -1;
    return done.get();
}

bool NetServiceBase::startAllowed() const
{
    ControllerConfiguration* config = center->testConfiguration;
    if (!config->initDriverEnable.load())
        return false;
    ControllerRuntime* runtime = center->testRuntime;
    runtime->dataLock();
    const qint32 hottest = *std::max_element(std::begin(runtime->powerT), std::end(runtime->powerT));
    runtime->dataUnlock();
    return hottest < qint32(config->tempThresholdResume);
}

int NetServiceBase::setTestStart()
{
    if (testingSTATE[ControllerRuntime::STATE_TYPE_RUNNING].load() != 0)
        return 0;
    if (!startAllowed())
        return -1;
    while (!bControlEnable.load() && netServiceEnable.load()) {
        timespec nap{0, 10000};
        nanosleep(&nap, nullptr);
    }
    const NetModuleHooks* hooks = netModuleHooks(center->testTestor->testType.load());
    if (hooks && hooks->beforeStart && !hooks->beforeStart(*this))
        return -1;
    center->testStart();
    return 0;
}

// ---- Parameter records ---------------------------------------------------------------

namespace {

// Clears bControlEnable while a record is converted (a start waits for it).
class ControlGuard
{
public:
    explicit ControlGuard(std::atomic<bool>& flag) : flag(flag) { flag = false; }
    ~ControlGuard() { flag = true; }
    ControlGuard(const ControlGuard&) = delete;
    ControlGuard& operator=(const ControlGuard&) = delete;

private:
    std::atomic<bool>& flag;
};

template <typename E>
void setPhases(const NetPhaseValues& from, E& ranges, E& angles, E& frequencies)
{
    std::copy(std::begin(from.ranges), std::end(from.ranges), std::begin(ranges));
    std::copy(std::begin(from.angles), std::end(from.angles), std::begin(angles));
    std::copy(std::begin(from.frequencies), std::end(from.frequencies), std::begin(frequencies));
}

} // namespace

bool NetServiceBase::readLimits(NetRecordLimits& limits)
{
    // The configuration's thread writes these; read them there.
    ControllerConfiguration* config = center->testConfiguration;
    auto result = std::make_shared<std::promise<NetRecordLimits>>();
    std::future<NetRecordLimits> done = result->get_future();
    auto read = [config, result] {
        NetRecordLimits l;
        l.maxVRange = config->maxVRange;
        l.maxIRange = config->maxIRange;
        l.rateFrequency = config->rateFrequency;
        l.ditherTime = config->ditherTime;
        result->set_value(l);
    };
    if (QThread::currentThread() == config->thread())
        read();
    else if (!QMetaObject::invokeMethod(config, read, Qt::QueuedConnection))
        return false;
    if (done.wait_for(std::chrono::milliseconds(ENGINE_WAIT_MS)) != std::future_status::ready)
        return false;
    limits = done.get();
    return true;
}

void NetServiceBase::applyDither(double ditherTime)
{
    if (ditherTime < 0.0)
        return;
    ControllerConfiguration* config = center->testConfiguration;
    QMetaObject::invokeMethod(
        config, [config, ditherTime] { config->ditherTime = ditherTime; }, Qt::QueuedConnection);
    center->testConfig();
}

int NetServiceBase::setAlternateParameter(const u8* record, u32 length)
{
    ControlGuard guard(bControlEnable);
    NetRecordLimits limits;
    NetAlternateSettings s;
    if (!readLimits(limits) || !netDecodeAlternate(record, length, limits, s))
        return -1;
    protocolVersion = 0;
    center->testActive(ControllerTestor::TEST_ALTERNATE);
    ModelAlternateEntity* e = center->testTestor->dataAlternate;
    {
        QMutexLocker lock(&e->entityLock);
        e->autoRampEnabled = s.autoRampEnabled;
        e->actionRampTime = s.actionRampTime;
        e->actionRampStep = s.actionRampStep;
        e->faultActionPort = ModelEntity::RampPortType(s.faultActionPort);
        e->faultActionItem = ModelEntity::RampItemType(s.faultActionItem);
        e->faultActionType = ModelEntity::FaultActionType(s.faultActionType);
        e->actionRampFactor = s.actionRampFactor;
        e->endRampValue = s.endRampValue;
        setPhases(s.outputs, e->outputRanges, e->outputAngles, e->outputFrequencies);
        e->formatLimitValue(limits.maxVRange, limits.maxIRange);
        std::copy(std::begin(s.stateOutputBIStates), std::end(s.stateOutputBIStates), std::begin(e->stateOutputBIStates));
        e->stateBILogicTypes = ModelEntity::AOBILogicType(s.stateBILogicTypes);
    }
    applyDither(s.ditherTime);
    return 0;
}

int NetServiceBase::setStateSequenceParameter(const u8* record, u32 length)
{
    ControlGuard guard(bControlEnable);
    NetRecordLimits limits;
    if (!readLimits(limits))
        return -1;
    NetStateSettings s;
    if (!netDecodeState(record, length, limits, s))
        return 0;   // a state number of 32 or more is ignored
    protocolVersion = 0;
    {
        // A state received again replaces the earlier one and counts once.
        QMutexLocker lock(&recordMutex);
        if (!stateIdList.contains(s.state))
            stateIdList.append(s.state);
    }
    center->testActive(ControllerTestor::TEST_STATESEQUENCE);
    ModelStateSequenceEntity* e = center->testTestor->dataStateSequence;
    const int st = s.state;
    {
        QMutexLocker lock(&e->entityLock);
        setPhases(s.outputs, e->stateOutputRanges[st], e->stateOutputAngles[st], e->stateOutputFrequencies[st]);
        e->stateOutputTimes[st] = s.stateOutputTime;
        std::copy(std::begin(s.stateOutputBOStates), std::end(s.stateOutputBOStates), std::begin(e->stateOutputBOStates[st]));
        std::copy(std::begin(s.stateOutputBIStates), std::end(s.stateOutputBIStates), std::begin(e->stateOutputBIStates[st]));
        e->stateOutputLinkTypes[st] = ModelEntity::AOLinkStateType(s.stateOutputLinkType);
        e->stateBILogicTypes[st] = ModelEntity::AOBILogicType(s.stateBILogicType);
        e->stateTriggerTypes[st] = ModelEntity::AOTriggerType(s.stateTriggerType);
        e->formatLimitValue(limits.maxVRange, limits.maxIRange);
    }
    applyDither(s.ditherTime);
    return 0;
}

int NetServiceBase::receivedStateCount()
{
    QMutexLocker lock(&recordMutex);
    const int n = stateIdList.size();
    if (n == 0)
        return -1;
    for (qint32 state : stateIdList) {
        if (state < 0 || state >= n)
            return -1;   // with no repeats, n states below n are exactly 0..n-1
    }
    return n;
}

bool NetServiceBase::setLastStateForSequence()
{
    const int n = receivedStateCount();
    if (n < 1)
        return false;
    ModelStateSequenceEntity* e = center->testTestor->dataStateSequence;
    QMutexLocker lock(&e->entityLock);
    e->stateCount = n;
    e->stateOutputLinkTypes[0] = ModelEntity::AO_LINKSTATE_TYPE_INITIATE;
    return true;
}

int NetServiceBase::setHarmonicParameter(const u8* record, u32 length)
{
    ControlGuard guard(bControlEnable);
    NetRecordLimits limits;
    // 9.6 kB of values: kept off the receive thread's stack.
    auto s = std::make_unique<NetHarmonicSettings>();
    if (!readLimits(limits) || !netDecodeHarmonic(record, length, limits, *s))
        return -1;
    protocolVersion = 0;
    center->testActive(ControllerTestor::TEST_HARMONIC);
    if (s->rateFrequencyChanged) {
        ControllerConfiguration* config = center->testConfiguration;
        const double rated = s->rateFrequency;
        QMetaObject::invokeMethod(
            config, [config, rated] { config->rateFrequency = rated; }, Qt::QueuedConnection);
    }
    ModelHarmonicEntity* e = center->testTestor->dataHarmonic;
    {
        QMutexLocker lock(&e->entityLock);
        e->endRampValue = s->endRampValue;
        e->actionRampFactor = s->actionRampFactor;
        e->autoRampEnabled = s->autoRampEnabled;
        e->actionRampTime = s->actionRampTime;
        e->actionRampStep = s->actionRampStep;
        e->faultActionPort = ModelEntity::RampPortType(s->faultActionPort);
        e->faultActionItem = ModelEntity::RampItemType(s->faultActionItem);
        e->faultActionOrder = s->faultActionOrder;
        e->faultActionType = ModelEntity::FaultActionType(s->faultActionType);
        std::copy(std::begin(s->outputOrders), std::end(s->outputOrders), std::begin(e->outputOrders));
        std::memcpy(e->outputRanges, s->outputRanges, sizeof e->outputRanges);
        std::memcpy(e->outputAngles, s->outputAngles, sizeof e->outputAngles);
        std::memcpy(e->outputFrequencies, s->outputFrequencies, sizeof e->outputFrequencies);
        e->formatLimitValue(limits.maxVRange, limits.maxIRange);
        std::copy(std::begin(s->stateOutputBIStates), std::end(s->stateOutputBIStates), std::begin(e->stateOutputBIStates));
        e->stateBILogicTypes = ModelEntity::AOBILogicType(s->stateBILogicTypes);
    }
    applyDither(s->ditherTime);
    return 0;
}

int NetServiceBase::setSimpleRampingParameter(const u8* record, u32 length)
{
    ControlGuard guard(bControlEnable);
    NetRecordLimits limits;
    if (!readLimits(limits))
        return -1;
    auto s = std::make_unique<NetRampingSettings>();
    // A record failing its checks changes nothing and is still answered 0x00.
    if (!netDecodeRamping(record, length, limits, *s))
        return 0;
    protocolVersion = 1;
    currentProjectId = s->projectId;
    currentModuleId = s->moduleId;
    center->testActive(ControllerTestor::TEST_RAMPING);
    ModelRampingEntity* e = center->testTestor->dataRamping;
    QMutexLocker lock(&e->entityLock);
    e->stateCount = s->stateCount;
    e->maxVoltage = limits.maxVRange;
    e->maxCurrent = limits.maxIRange;
    for (int st = 0; st < s->stateCount; ++st) {
        const NetRampingState& r = s->states[st];
        setPhases(r.outputs, e->stateOutputRanges[st], e->stateOutputAngles[st], e->stateOutputFrequencies[st]);
        e->stateOutputTimes[st] = r.stateOutputTime;
        e->stateTriggerTypes[st] = ModelEntity::AOTriggerType(r.stateTriggerType);
        e->stateOutputLinkTypes[st] = ModelEntity::AOLinkStateType(r.stateOutputLinkType);
        e->stateBILogicTypes[st] = ModelEntity::AOBILogicType(r.stateBILogicType);
        std::copy(std::begin(r.stateOutputBIStates), std::end(r.stateOutputBIStates), std::begin(e->stateOutputBIStates[st]));
        std::copy(std::begin(r.stateOutputBOStates), std::end(r.stateOutputBOStates), std::begin(e->stateOutputBOStates[st]));
        for (int slot = 0; slot < ModelRampingEntity::kRampSlots; ++slot) {
            const bool ramped = slot == 0 && st % 3 == 1;
            e->rampBeginValues[st][slot] = 0.0;
            e->rampEndValues[st][slot] = ramped ? r.rampEndValue : 0.0;
            e->rampStepValues[st][slot] = ramped ? r.rampStepValue : 0.0;
            e->rampPorts[st][slot] = ModelEntity::RampPortType(ramped ? r.rampPort : 0);
            e->rampItems[st][slot] = ModelEntity::RampItemType(ramped ? r.rampItem : 0);
        }
    }
    e->formatLimitValue(limits.maxVRange, limits.maxIRange);
    return 0;
}

void NetServiceBase::setTestStop()
{
    center->testInterrupt();
}

void NetServiceBase::setTestSwitch()
{
    center->testSwitch();
}

void NetServiceBase::setManualTrigger()
{
    center->testKeyPress();
}

void NetServiceBase::getBIBOState()
{
    // The publication's retry timer lives on the GUI thread.
    QMetaObject::invokeMethod(
        this,
        [this] {
            updateBaseDataToNet(ControllerRuntime::DATA_TYPE_RT_BI, -1);
            updateBaseDataToNet(ControllerRuntime::DATA_TYPE_RT_BO, -1);
        },
        Qt::QueuedConnection);
}

void NetServiceBase::clearStateSequenceParemeter()
{
    {
        QMutexLocker lock(&recordMutex);
        actionId = 0;
        stateIdList.clear();
        std::fill(std::begin(actionSendFlag), std::end(actionSendFlag), 0);
    }
    netCtrl_ClearPushedRecords();
}

void NetServiceBase::connectionEnded()
{
    // Only the PC starts a test while remote control is on.
    center->testInterrupt();
}

// ---- Change notices -----------------------------------------------------------------

void NetServiceBase::updateDataToNet(qint32 dataType, qint32 subType)
{
    if (!netServiceEnable.load())
        return;
    if (dataType == ControllerRuntime::DATA_TYPE_RT_STATE) {
        ControllerRuntime* runtime = center->testRuntime;
        qint32 copy[16];
        runtime->dataLock();
        std::copy(std::begin(runtime->STATE), std::end(runtime->STATE), std::begin(copy));
        runtime->dataUnlock();
        for (int i = 0; i < 16; ++i)
            testingSTATE[i] = copy[i];
    }
    publishModule(dataType, subType);
    updateBaseDataToNet(dataType, subType);
}

void NetServiceBase::publishModule(qint32 dataType, qint32 subType)
{
    const NetModuleHooks* hooks = netModuleHooks(center->testTestor->testType.load());
    if (hooks && hooks->publish && (hooks->protocolVersion == 1) == (protocolVersion.load() == 1))
        hooks->publish(*this, dataType, subType);
}

void NetServiceBase::updateBaseDataToNet(qint32 dataType, qint32 subType)
{
    ControllerRuntime* runtime = center->testRuntime;
    if (dataType == ControllerRuntime::DATA_TYPE_RT_BI || dataType == ControllerRuntime::DATA_TYPE_RT_BO) {
        const bool inputs = dataType == ControllerRuntime::DATA_TYPE_RT_BI;
        u32 word = 0;
        runtime->dataLock();
        for (int i = 0; i < 4; ++i) {
            if ((inputs ? runtime->BI[i] : runtime->BO[i]) != 0)
                word |= 1u << i;
        }
        runtime->dataUnlock();
        if (inputs)
            netCtrl_updateBIState(word);
        else
            netCtrl_updateBOState(word);
    } else if (dataType == ControllerRuntime::DATA_TYPE_RT_STATE && subType == ControllerRuntime::STATE_TYPE_RUNNING) {
        if (testingSTATE[ControllerRuntime::STATE_TYPE_RUNNING].load() != 0) {
            netCtrl_updateRunningEnable(1);
            publishModule(ControllerRuntime::DATA_TYPE_TEST_OUTPUTDATA, -1);
        } else {
            netCtrl_updateRunningEnable(0);
        }
    }
}

// ---- The switch -------------------------------------------------------------------------

void NetServiceBase::revertRateSetting()
{
    // On the configuration's thread, which reads them when it sends the
    // configuration (queued next, so it sends the restored values).
    ControllerConfiguration* config = center->testConfiguration;
    QMetaObject::invokeMethod(
        config,
        [this, config] {
            config->ditherTime = oldDitherTime;
            config->rateFrequency = oldRateFrequency;
        },
        Qt::QueuedConnection);
    center->testConfig();
}

void NetServiceBase::refuseService()
{
    netServiceEnable = false;
    center->testConfiguration->bNetConnect = false;
    emit sigNetServiceRefused();
}

void NetServiceBase::updateViewConnectEnable(bool enable)
{
    ControllerConfiguration* config = center->testConfiguration;
    if (enable) {
        if (netServiceEnable.load())
            return;
        if (!segmentsReady()) {
            qWarning("network service: not started, the shared-memory segments are missing");
            refuseService();
            return;
        }
        // Saved on the configuration's thread, as they are restored.
        QMetaObject::invokeMethod(
            config,
            [this, config] {
                oldDitherTime = config->ditherTime;
                oldRateFrequency = config->rateFrequency;
            },
            Qt::QueuedConnection);
        for (auto& word : testingSTATE)
            word = 0;
        bControlEnable = true;
        netServiceEnable = true;
        if (netCtrl_StartNetService() != 0) {
            qWarning("network service: the network threads could not be started");
            refuseService();
        }
        return;
    }
    // Switching off a service that is not on must not write back settings
    // that were never saved, nor stop the user's own test.
    if (!netServiceEnable.load())
        return;
    bControlEnable = true;
    revertRateSetting();
    center->testInterrupt();
    netCtrl_StopNetService();
    // A start or record handled while the threads were joined.
    center->testInterrupt();
    revertRateSetting();
    netServiceEnable = false;
}
