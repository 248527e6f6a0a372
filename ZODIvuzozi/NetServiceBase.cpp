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
#include "zocmm_share_testing_keyword_def.h"
#include "zocmm_testing_parameter_records.h"
#include "zocmn_net_reject_log.h"
#include "zoshm_testing_share_handle.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QEventLoop>
#include <QMutexLocker>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <future>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <time.h>
#include <vector>

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
    {&ModuleAdaptorSets::alternate,
     {[](NetServiceBase& s, qint32 type, qint32 sub) { s.publishAlternate(type, sub); },
      [](NetServiceBase& s) { return s.hasAlternate(); },
      [](NetServiceBase& s, QString& why) { return s.retakeAlternate(&why); }}},
    {&ModuleAdaptorSets::stateSequence,
     {[](NetServiceBase& s, qint32 type, qint32 sub) { s.publishStateSequence(type, sub); },
      [](NetServiceBase& s) { return s.hasStates(); },
      [](NetServiceBase& s, QString& why) { return s.retakeStates(&why) && s.setLastStateForSequence(); }}},
    {&ModuleAdaptorSets::harmonic,
     {[](NetServiceBase& s, qint32 type, qint32 sub) { s.publishHarmonic(type, sub); },
      [](NetServiceBase& s) { return s.hasHarmonic(); },
      [](NetServiceBase& s, QString& why) { return s.retakeHarmonic(&why); }}},
    {&ModuleAdaptorSets::ramping,
     {[](NetServiceBase& s, qint32 type, qint32 sub) { s.publishRamping(type, sub); },
      [](NetServiceBase& s) { return s.hasRamping(); },
      [](NetServiceBase& s, QString& why) { return s.retakeRamping(&why); }}},
};

// Runs work on target's thread and waits for it: its result, or nothing
// when it has not begun within waitMs (it then never runs).
template <typename R>
std::optional<R> runWaited(QObject* target, std::function<R()> work, int waitMs)
{
    struct Job
    {
        std::mutex mutex;
        std::condition_variable changed;
        enum { Queued, Running, Done, Dropped } state = Queued;
        R result{};
    };
    auto job = std::make_shared<Job>();
    auto run = [job, work] {
        {
            std::lock_guard<std::mutex> lock(job->mutex);
            if (job->state == Job::Dropped)
                return;
            job->state = Job::Running;
        }
        R result = work();
        std::lock_guard<std::mutex> lock(job->mutex);
        job->result = result;
        job->state = Job::Done;
        job->changed.notify_all();
    };
    if (QThread::currentThread() == target->thread())
        run();
    else if (!QMetaObject::invokeMethod(target, run, Qt::QueuedConnection))
        return std::nullopt;
    std::unique_lock<std::mutex> lock(job->mutex);
    if (!job->changed.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return job->state != Job::Queued; })) {
        job->state = Job::Dropped;
        return std::nullopt;
    }
    job->changed.wait(lock, [&] { return job->state == Job::Done; });
    return job->result;
}

// What a PC causes the engine to tell of a refused start: within the
// service's log budget.
void engineRefusalLine(const QString& line)
{
    net_log_line("%s", line.toLocal8Bit().constData());
}

// The channels (0..7) of a ramp port group: UA..UX, UAUB, UBUC, UCUA (UA
// first), UAUBUC, then the same for the currents; none above IAIBIC.
int rampChannels(qint32 port, int (&channels)[3])
{
    static const int groups[8][4] = {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {2, 0, 1}, {2, 1, 2}, {2, 0, 2}, {3, 0, 1, 2}};
    if (port < 0 || port > 15)
        return 0;
    const int* g = groups[port % 8];
    const int offset = port >= 8 ? 4 : 0;
    for (int i = 0; i < g[0]; ++i)
        channels[i] = g[i + 1] + offset;
    return g[0];
}

// The action of a trip, by input slot.
struct ActionSlots
{
    double time[4] = {};
    ModelEntity::faultActionValStruct value[4];
};

// Times into the action, and the values of each slot with a positive time
// into the ramped values (a later slot overwrites an earlier one).
template <typename R>
void fillAction(const ActionSlots& a, R& record)
{
    for (int i = 0; i < 4; ++i) {
        record.state_action.input_binary_action_stimes[i] = f32(a.time[i]);
        if (!(a.time[i] > 0.0))
            continue;
        const int n = std::max(0, std::min(3, int(a.value[i].portCnt)));
        for (int j = 0; j < n; ++j)
            record.ramping_currents[j] = f32(a.value[i].actionVal[j]);
    }
}

} // namespace

// A record as taken, with the device ranges it was checked against.
template <typename S>
struct Taken
{
    S settings;
    NetRecordLimits limits;
};

struct NetServiceBase::TakenRecords
{
    std::unique_ptr<Taken<NetAlternateSettings>> alternate;
    std::unique_ptr<Taken<NetHarmonicSettings>> harmonic;
    // Taken while their steady output ran: put in place at the next switch.
    std::unique_ptr<Taken<NetAlternateSettings>> alternateHeld;
    std::unique_ptr<Taken<NetHarmonicSettings>> harmonicHeld;
    std::unique_ptr<Taken<NetRampingSettings>> ramping;
    std::unique_ptr<Taken<NetStateSettings>> states[ModelStateSequenceEntity::kMaxStates];
};

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
    , taken(std::make_unique<TakenRecords>())
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

bool NetServiceBase::waitDriverNotice(int realWaitMs)
{
    QEventLoop loop;
    // Emitted on the configuration's thread after each driver set-up.
    connect(center->testConfiguration, &ControllerConfiguration::sigUpdateInitState, &loop, &QEventLoop::quit,
            Qt::QueuedConnection);
    if (driverInitialised())   // set up before the connection was made
        return true;
    QTimer::singleShot(realWaitMs, &loop, &QEventLoop::quit);
    return loop.exec() == 0;
}

void NetServiceBase::netWorkServiceInit()
{
    netServiceEnable = false;
    if (netCtrlInit() != 0)
        qWarning("network service: the shared-memory segments could not be prepared; remote control stays off");
    // Each wait ends at the driver's set-up notice, else after the poll's
    // second; the whole at the limit, or when the application is ended.
    const QDeadlineTimer limit(realMs(DRIVER_WAIT_LIMIT_MS));
    while (!driverInitialised() && !limit.hasExpired()) {
        const int wait = int(std::min<qint64>(realMs(DRIVER_POLL_MS), std::max<qint64>(1, limit.remainingTime())));
        if (!waitDriverNotice(wait))
            break;
    }
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
    ControllerTestor* testor = center->testTestor;
    auto write = [testor, mask, states, result] { result->set_value(testor->setBinaryOutputs(mask, states)); };
    // The testor writes the same record: its thread serialises both.
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
    ControllerTestor* testor = center->testTestor;
    if (startPending.load() != 0 || testingSTATE[ControllerRuntime::STATE_TYPE_RUNNING].load() != 0
        || testor->runEnable.load() || testor->amplifiersSettling())
        return 0;
    if (!startAllowed()) {
        net_log_line("network service: start refused: the driver is not initialised or an amplifier is too hot");
        return -1;
    }
    // From here until the engine's start is done (the run has begun, or was
    // not run), a record for the module is refused and a start does nothing;
    // a record being converted is waited for.
    const qint32 type = testor->testType.load();
    pendingType = type;
    const quint64 start = ++startsMade;
    startPending = start;
    while (!bControlEnable.load() && netServiceEnable.load()) {
        timespec nap{0, 10000};
        nanosleep(&nap, nullptr);
    }
    {
        // The start runs the records held for a switch of the run before.
        QMutexLocker lock(&recordMutex);
        taken->alternateHeld.reset();
        taken->harmonicHeld.reset();
    }
    // Answered with what the start came to, whichever way it is made: the
    // amplifiers on and the output due after their settle (a stop meanwhile
    // cancels it), or nothing played.
    using Outcome = ControllerTestor::StartOutcome;
    auto told = std::make_shared<std::promise<Outcome>>();
    std::future<Outcome> outcome = told->get_future();
    const ControllerTestor::StartDecided decided = [told](Outcome o) { told->set_value(o); };
    const NetModuleHooks* hooks = netModuleHooks(type);
    QString why;
    int result = 0;
    if (hooks && hooks->hasRecord(*this)) {
        if (hooks->beforeStart(*this, why))
            center->testStart(decided);
        else
            result = -1;
    } else {
        result = startPage(type, decided, why);
    }
    if (result != 0) {
        startPending = 0;
        net_log_line("network service: start refused: %s", qPrintable(why));
        return -1;
    }
    // Queued after the start on the testor's thread: its start is done (and
    // no later start's, which may be under way by then).
    auto done = [this, start] {
        quint64 mine = start;
        startPending.compare_exchange_strong(mine, 0);
    };
    if (!QMetaObject::invokeMethod(testor, done, Qt::QueuedConnection))
        done();
    if (outcome.wait_for(std::chrono::milliseconds(ENGINE_WAIT_MS)) != std::future_status::ready) {
        // Not begun in time: it never plays.
        center->testInterrupt();
        net_log_line("network service: start refused: the engine did not take it in time");
        return -1;
    }
    switch (outcome.get()) {
    case Outcome::Begun: return 0;
    case Outcome::Running: done(); return 0;
    case Outcome::NotRun: break;
    }
    // Nothing plays: the next START is not one being started.
    done();
    const QString refusal = testor->lastStartRefusal();
    net_log_line("network service: start refused: %s",
                 refusal.isEmpty() ? "stopped before it began" : qPrintable(refusal));
    return -1;
}

int NetServiceBase::startPage(qint32 type, const ControllerTestor::StartDecided& decided, QString& why)
{
    const ModuleFamily family = moduleEntry(type).family;
    if (family != ModuleFamily::SinglePage && family != ModuleFamily::MultiState) {
        why = QStringLiteral("no test is set up on the active page");
        return -1;
    }
    // The page's run answers no record: its ramping records carry no project
    // or module number of one.
    currentProjectId = 0;
    currentModuleId = 0;
    // On the GUI thread, as the page's own button: its checks, its settings
    // into the entity, the engine asked to start (telling `decided`).
    const std::optional<QString> refusal = runWaited<QString>(
        this,
        [this, type, decided]() -> QString {
            QObject* page = center->activePage(type);
            if (!page)
                return QStringLiteral("no record since remote control was switched on, and no page shows the "
                                      "module's set-up");
            bool started = false;
            bool invoked = false;
            const bool asked = center->startTelling(decided, [&] {
                invoked = QMetaObject::invokeMethod(page, "testStart", Qt::DirectConnection,
                                                    Q_RETURN_ARG(bool, started));
            });
            if (!invoked)
                return QStringLiteral("the page has no start");
            if (started && asked)
                return QString();
            if (started)
                return QStringLiteral("the page asked the engine for no start");
            QString message;
            QMetaObject::invokeMethod(page, "getUserMessage", Qt::DirectConnection, Q_RETURN_ARG(QString, message));
            return message.isEmpty() ? QStringLiteral("the page refused its start") : message;
        },
        ENGINE_WAIT_MS);
    if (!refusal) {
        why = QStringLiteral("the interface did not answer");
        return -1;
    }
    if (!refusal->isEmpty()) {
        why = *refusal;
        return -1;
    }
    return 0;
}

bool NetServiceBase::recordRefused(qint32 type, const char* name, bool* running)
{
    ControllerTestor* testor = center->testTestor;
    const bool starting = startPending.load() != 0 || testor->amplifiersSettling();
    const bool busy = starting || testor->runEnable.load()
                      || testingSTATE[ControllerRuntime::STATE_TYPE_RUNNING].load() != 0;
    if (!busy || (startPending.load() != 0 ? pendingType.load() : qint32(testor->activeTestType())) != type)
        return false;
    if (running && !starting) {
        *running = true;
        return false;
    }
    net_log_line("network service: %s record refused: the module is %s", name, starting ? "being started" : "running");
    return true;
}

void NetServiceBase::logRefusedRecord(const char* name, const QString& why)
{
    net_log_line("network service: %s record refused: %s", name,
                 why.isEmpty() ? "not a record of its size" : qPrintable(why));
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

} // namespace

bool NetServiceBase::readLimits(NetRecordLimits& limits)
{
    // The configuration's thread writes these; read them there.
    ControllerConfiguration* config = center->testConfiguration;
    auto result = std::make_shared<std::promise<NetRecordLimits>>();
    std::future<NetRecordLimits> done = result->get_future();
    auto read = [config, result] {
        QMutexLocker lock(&config->mutex);
        NetRecordLimits l;
        l.maxVRange = config->maxVRange;
        l.maxIRange = config->maxIRange;
        l.rateFrequency = config->rateFrequency;
        l.ditherTime = config->ditherTime;
        const StartConditions inForce = StartConditions::inForce();
        l.triggerTimes = inForce.triggerTimes;
        l.longestPage = inForce.longestPage;
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

bool NetServiceBase::applyDither(double ditherTime)
{
    if (ditherTime < 0.0)
        return true;
    ControllerConfiguration* config = center->testConfiguration;
    {
        QMutexLocker lock(&config->mutex);
        if (config->ditherTime == ditherTime)
            return true;
    }
    // Set and sent on the configuration's thread, in that order, before the
    // record is answered: a start after it runs with it.
    QMetaObject::invokeMethod(
        config, [config, ditherTime] { config->set(&ControllerConfiguration::ditherTime, ditherTime); },
        Qt::QueuedConnection);
    center->testConfig();
    return runWaited<bool>(config, [] { return true; }, ENGINE_WAIT_MS).has_value();
}

int NetServiceBase::setAlternateParameter(const u8* record, u32 length)
{
    ControlGuard guard(bControlEnable);
    bool running = false;
    if (recordRefused(ControllerTestor::TEST_ALTERNATE, "AC", &running))
        return -1;
    auto t = std::make_unique<Taken<NetAlternateSettings>>();
    if (!readLimits(t->limits))
        return -1;
    QString why;
    if (!netDecodeAlternate(record, length, t->limits, t->settings, &why)) {
        logRefusedRecord("AC", why);
        return -1;
    }
    if (running) {
        // Checked as a start would take it; its debounce and values wait
        // for the switch that puts it in place.
        const ModelAlternateEntity* e = center->testTestor->dataAlternate;
        if (!steadyRunTakes(e->entityLock, e->autoRampEnabled, t->settings.autoRampEnabled, "AC"))
            return -1;
        QMutexLocker lock(&recordMutex);
        taken->alternateHeld = std::make_unique<Taken<NetAlternateSettings>>(*t);
        taken->alternate = std::move(t);
        return 0;
    }
    if (!applyDither(t->settings.ditherTime))
        return -1;
    protocolVersion = 0;
    center->testActive(ControllerTestor::TEST_ALTERNATE);
    applyAlternate(t->settings, t->limits);
    QMutexLocker lock(&recordMutex);
    taken->alternate = std::move(t);
    return 0;
}

void NetServiceBase::applyAlternate(const NetAlternateSettings& s, const NetRecordLimits& limits)
{
    netApplyAlternate(s, limits, *center->testTestor->dataAlternate);
}

int NetServiceBase::setStateSequenceParameter(const u8* record, u32 length)
{
    ControlGuard guard(bControlEnable);
    if (recordRefused(ControllerTestor::TEST_STATESEQUENCE, "state"))
        return -1;
    auto t = std::make_unique<Taken<NetStateSettings>>();
    if (!readLimits(t->limits))
        return -1;
    QString why;
    if (!netDecodeState(record, length, t->limits, t->settings, &why)) {
        logRefusedRecord("state", why);
        return -1;
    }
    if (!applyDither(t->settings.ditherTime))
        return -1;
    protocolVersion = 0;
    const qint32 state = t->settings.state;
    center->testActive(ControllerTestor::TEST_STATESEQUENCE);
    applyState(t->settings, t->limits);
    // A state received again replaces the earlier one and counts once.
    QMutexLocker lock(&recordMutex);
    if (!stateIdList.contains(state))
        stateIdList.append(state);
    taken->states[state] = std::move(t);
    return 0;
}

void NetServiceBase::applyState(const NetStateSettings& s, const NetRecordLimits& limits)
{
    netApplyState(s, limits, *center->testTestor->dataStateSequence);
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
    bool running = false;
    if (recordRefused(ControllerTestor::TEST_HARMONIC, "harmonic", &running))
        return -1;
    // 9.6 kB of values: kept off the receive thread's stack.
    auto t = std::make_unique<Taken<NetHarmonicSettings>>();
    if (!readLimits(t->limits))
        return -1;
    QString why;
    if (!netDecodeHarmonic(record, length, t->limits, t->settings, &why)) {
        logRefusedRecord("harmonic", why);
        return -1;
    }
    if (running) {
        const ModelHarmonicEntity* e = center->testTestor->dataHarmonic;
        if (!steadyRunTakes(e->entityLock, e->autoRampEnabled, t->settings.autoRampEnabled, "harmonic"))
            return -1;
        QMutexLocker lock(&recordMutex);
        taken->harmonicHeld = std::make_unique<Taken<NetHarmonicSettings>>(*t);
        taken->harmonic = std::move(t);
        return 0;
    }
    if (!applyDither(t->settings.ditherTime))
        return -1;
    protocolVersion = 0;
    center->testActive(ControllerTestor::TEST_HARMONIC);
    applyRatedFrequency(t->settings);
    applyHarmonic(t->settings, t->limits);
    QMutexLocker lock(&recordMutex);
    taken->harmonic = std::move(t);
    return 0;
}

void NetServiceBase::applyHarmonic(const NetHarmonicSettings& s, const NetRecordLimits& limits)
{
    netApplyHarmonic(s, limits, *center->testTestor->dataHarmonic);
}

void NetServiceBase::applyRatedFrequency(const NetHarmonicSettings& s)
{
    if (s.rateFrequencyChanged) {
        ControllerConfiguration* config = center->testConfiguration;
        const double rated = s.rateFrequency;
        QMetaObject::invokeMethod(
            config,
            [config, rated] {
                QMutexLocker lock(&config->mutex);
                config->rateFrequency = rated;
            },
            Qt::QueuedConnection);
    }
}

bool NetServiceBase::steadyRunTakes(QRecursiveMutex& entityLock, const bool& runningRamp, bool recordRamp,
                                    const char* name)
{
    bool ramp;
    {
        QMutexLocker lock(&entityLock);
        ramp = runningRamp;
    }
    if (!ramp && !recordRamp)
        return true;
    logRefusedRecord(name, QStringLiteral("an automatic ramp runs or is asked for: a record waits for the next "
                                          "switch only while a steady output runs and stays steady"));
    return false;
}

std::function<void()> NetServiceBase::heldRecordsPlacement()
{
    std::shared_ptr<Taken<NetAlternateSettings>> alternate;
    std::shared_ptr<Taken<NetHarmonicSettings>> harmonic;
    {
        QMutexLocker lock(&recordMutex);
        alternate = std::move(taken->alternateHeld);
        harmonic = std::move(taken->harmonicHeld);
    }
    if (!alternate && !harmonic)
        return {};
    ControllerTestor* testor = center->testTestor;
    return [this, testor, alternate, harmonic] {
        // A record for a run that has ended since is not put in place: the
        // next start runs it.
        const qint32 running = testor->runEnable.load() ? qint32(testor->activeTestType()) : -1;
        if (alternate && running == ControllerTestor::TEST_ALTERNATE) {
            applyDither(alternate->settings.ditherTime);
            applyAlternate(alternate->settings, alternate->limits);
        }
        if (harmonic && running == ControllerTestor::TEST_HARMONIC) {
            applyDither(harmonic->settings.ditherTime);
            applyRatedFrequency(harmonic->settings);
            applyHarmonic(harmonic->settings, harmonic->limits);
        }
    };
}

int NetServiceBase::setSimpleRampingParameter(const u8* record, u32 length)
{
    ControlGuard guard(bControlEnable);
    if (recordRefused(ControllerTestor::TEST_RAMPING, "ramping"))
        return -1;
    auto t = std::make_unique<Taken<NetRampingSettings>>();
    if (!readLimits(t->limits))
        return -1;
    QString why;
    if (!netDecodeRamping(record, length, t->limits, t->settings, &why)) {
        logRefusedRecord("ramping", why);
        return -1;
    }
    protocolVersion = 1;
    currentProjectId = t->settings.projectId;
    currentModuleId = t->settings.moduleId;
    center->testActive(ControllerTestor::TEST_RAMPING);
    applyRamping(t->settings, t->limits);
    QMutexLocker lock(&recordMutex);
    taken->ramping = std::move(t);
    return 0;
}

void NetServiceBase::applyRamping(const NetRampingSettings& s, const NetRecordLimits& limits)
{
    netApplyRamping(s, limits, *center->testTestor->dataRamping);
}

// ---- Records again at a start ----------------------------------------------------------

bool NetServiceBase::hasAlternate()
{
    QMutexLocker lock(&recordMutex);
    return taken->alternate != nullptr;
}

bool NetServiceBase::hasHarmonic()
{
    QMutexLocker lock(&recordMutex);
    return taken->harmonic != nullptr;
}

bool NetServiceBase::hasStates()
{
    QMutexLocker lock(&recordMutex);
    return !stateIdList.isEmpty();
}

bool NetServiceBase::hasRamping()
{
    QMutexLocker lock(&recordMutex);
    return taken->ramping != nullptr;
}

namespace {

QString noRecord(const char* name)
{
    return QStringLiteral("no %1 record since remote control was switched on").arg(QLatin1String(name));
}

} // namespace

bool NetServiceBase::startLimits(const NetRecordLimits& taken, NetRecordLimits& limits, QString* why)
{
    if (!readLimits(limits)) {
        if (why)
            *why = QStringLiteral("the configuration did not answer");
        return false;
    }
    limits.maxVRange = taken.maxVRange;
    limits.maxIRange = taken.maxIRange;
    limits.rateFrequency = taken.rateFrequency;
    return true;
}

bool NetServiceBase::retakeAlternate(QString* why)
{
    QMutexLocker lock(&recordMutex);
    if (!taken->alternate) {
        if (why)
            *why = noRecord("AC");
        return false;
    }
    NetRecordLimits limits;
    if (!startLimits(taken->alternate->limits, limits, why)
        || !netCheckAlternate(taken->alternate->settings, limits, why))
        return false;
    // Its debounce in force as checked (held for a switch that never came, it was not yet).
    if (!applyDither(taken->alternate->settings.ditherTime)) {
        if (why)
            *why = QStringLiteral("the configuration did not answer");
        return false;
    }
    protocolVersion = 0;
    applyAlternate(taken->alternate->settings, taken->alternate->limits);
    return true;
}

bool NetServiceBase::retakeHarmonic(QString* why)
{
    QMutexLocker lock(&recordMutex);
    if (!taken->harmonic) {
        if (why)
            *why = noRecord("harmonic");
        return false;
    }
    NetRecordLimits limits;
    if (!startLimits(taken->harmonic->limits, limits, why)
        || !netCheckHarmonic(taken->harmonic->settings, limits, why))
        return false;
    if (!applyDither(taken->harmonic->settings.ditherTime)) {
        if (why)
            *why = QStringLiteral("the configuration did not answer");
        return false;
    }
    protocolVersion = 0;
    applyRatedFrequency(taken->harmonic->settings);
    applyHarmonic(taken->harmonic->settings, taken->harmonic->limits);
    return true;
}

bool NetServiceBase::retakeStates(QString* why)
{
    QMutexLocker lock(&recordMutex);
    const int n = stateIdList.size();
    if (n == 0) {
        if (why)
            *why = noRecord("state");
        return false;
    }
    // With no repeats, n states below n are exactly 0..n-1.
    std::vector<const NetStateSettings*> states;
    std::vector<NetRecordLimits> limits(static_cast<size_t>(n));
    std::vector<const NetRecordLimits*> stateLimits;
    for (int state = 0; state < n; ++state) {
        const auto& t = taken->states[state];
        if (!t || !stateIdList.contains(state)) {
            if (why)
                *why = QStringLiteral("the states received are not 0 to %1").arg(n - 1);
            return false;
        }
        if (!startLimits(t->limits, limits[size_t(state)], why))
            return false;
        states.push_back(&t->settings);
        stateLimits.push_back(&limits[size_t(state)]);
    }
    if (!netCheckStates(states.data(), stateLimits.data(), n, why))
        return false;
    // The debounce the sequence was checked with, in force as the AC and
    // harmonic records' are.
    if (!applyDither(states.back()->ditherTime)) {
        if (why)
            *why = QStringLiteral("the configuration did not answer");
        return false;
    }
    protocolVersion = 0;
    for (int state = 0; state < n; ++state)
        applyState(*states[size_t(state)], taken->states[state]->limits);
    return true;
}

bool NetServiceBase::retakeRamping(QString* why)
{
    QMutexLocker lock(&recordMutex);
    if (!taken->ramping) {
        if (why)
            *why = noRecord("ramping");
        return false;
    }
    NetRecordLimits limits;
    if (!startLimits(taken->ramping->limits, limits, why)
        || !netCheckRamping(taken->ramping->settings, limits, why))
        return false;
    protocolVersion = 1;
    currentProjectId = taken->ramping->settings.projectId;
    currentModuleId = taken->ramping->settings.moduleId;
    applyRamping(taken->ramping->settings, taken->ramping->limits);
    return true;
}

// ---- Pushed records ----------------------------------------------------------------------

void NetServiceBase::publishAlternate(qint32 dataType, qint32)
{
    ModelAlternateEntity* e = center->testTestor->dataAlternate;
    alternate_testing_result r;
    std::memset(&r, 0, sizeof r);
    if (dataType == ControllerRuntime::DATA_TYPE_TEST_OUTPUTDATA) {
        QMutexLocker lock(&e->entityLock);
        const double* values = e->faultActionItem == ModelEntity::RAMP_ITEM_TYPE_RANGE ? e->outputRanges
            : e->faultActionItem == ModelEntity::RAMP_ITEM_TYPE_ANGLE                 ? e->outputAngles
            : e->faultActionItem == ModelEntity::RAMP_ITEM_TYPE_FREQUENCY             ? e->outputFrequencies
                                                                                      : nullptr;
        int channels[3];
        const int n = values ? rampChannels(e->faultActionPort, channels) : 0;
        for (int j = 0; j < n; ++j)
            r.ramping_currents[j] = f32(values[channels[j]]);
        lock.unlock();
        pushProcedure(SHARE_TESTING_RESULT_TYPE_ALTERNATE, r);
    } else if (dataType == ControllerRuntime::DATA_TYPE_TEST_ACTIONDATA) {
        ActionSlots a;
        QMutexLocker lock(&e->entityLock);
        const qint32 ret = e->faultActionReturnBiIndex;
        const qint32 pick = e->faultActionBiIndex;
        int slot = -1;
        if (ret >= 0 && ret < 4) {
            slot = 1;
            a.time[1] = e->faultActionReturnTimes[ret];
            a.value[1] = e->faultActionReturnValues[ret];
        } else if (pick >= 0 && pick < 4) {
            slot = 0;
            a.time[0] = e->faultActionTimes[pick];
            a.value[0] = e->faultActionValues[pick];
        }
        const qint32 port = e->faultActionPort;
        lock.unlock();
        if (slot < 0)
            return;
        if (port == ModelEntity::RAMP_PORT_TYPE_UCUA || port == ModelEntity::RAMP_PORT_TYPE_ICIA)
            std::swap(a.value[slot].actionVal[0], a.value[slot].actionVal[1]);
        fillAction(a, r);
        pushResult(SHARE_TESTING_RESULT_TYPE_ALTERNATE, r);
    }
}

void NetServiceBase::publishHarmonic(qint32 dataType, qint32)
{
    ModelHarmonicEntity* e = center->testTestor->dataHarmonic;
    harmonic_testing_result r;
    std::memset(&r, 0, sizeof r);
    if (dataType == ControllerRuntime::DATA_TYPE_TEST_OUTPUTDATA) {
        QMutexLocker lock(&e->entityLock);
        const qint32 slot = e->faultActionOrder;
        int channels[3];
        const int n = slot >= 0 && slot < 4 ? rampChannels(e->faultActionPort, channels) : 0;
        const bool angles = e->faultActionItem == ModelEntity::RAMP_ITEM_TYPE_ANGLE;
        for (int j = 0; j < n; ++j)
            r.ramping_currents[j] = f32(angles ? e->outputAngles[channels[j]][slot] : e->outputRanges[channels[j]][slot]);
        lock.unlock();
        pushProcedure(SHARE_TESTING_RESULT_TYPE_HARMONIC, r);
    } else if (dataType == ControllerRuntime::DATA_TYPE_TEST_ACTIONDATA) {
        ActionSlots a;
        QMutexLocker lock(&e->entityLock);
        const qint32 pick = e->faultActionBiIndex;
        if (pick < 0 || pick >= 4)
            return;
        a.time[pick] = e->faultActionTimes[pick];
        a.value[pick] = e->faultActionValues[pick];
        lock.unlock();
        fillAction(a, r);
        pushResult(SHARE_TESTING_RESULT_TYPE_HARMONIC, r);
    }
}

namespace {

// A time the engine has not measured (NaN) goes out as 0, as a field the
// record leaves unset.
f32 wireTime(double seconds)
{
    return std::isfinite(seconds) ? f32(seconds) : 0.0f;
}

} // namespace

void NetServiceBase::publishStateAction(qint32 state)
{
    if (state < 0 || state >= ModelStateSequenceEntity::kMaxStates)
        return;
    ModelStateSequenceEntity* e = center->testTestor->dataStateSequence;
    ordinary_testing_result r;
    std::memset(&r, 0, sizeof r);
    r.testing_index = u32(state);
    {
        QMutexLocker lock(&e->entityLock);
        r.state_action.testing_trigger_stime = wireTime(e->stateTriggerTimes[state]);
        for (int k = 0; k < 4; ++k) {
            if (e->stateActionTimes[state][k] > 0.0) {
                r.state_action.input_binary_action_stimes[k] = f32(e->stateActionTimes[state][k]);
                r.state_action.input_binary_action_state = 1u << k;
                break;
            }
        }
    }
    pushResult(SHARE_TESTING_RESULT_TYPE_ORDINARY, r);
}

// A state's action record, its trip with it, is pushed once the state has
// ended and its time is known: at the advance past it or at the run's end.
void NetServiceBase::publishStateSequence(qint32 dataType, qint32 subType)
{
    ModelStateSequenceEntity* e = center->testTestor->dataStateSequence;
    if (dataType == ControllerRuntime::DATA_TYPE_RT_STATE && subType == ControllerRuntime::STATE_TYPE_STATEINDEX) {
        // The runtime may be states further on than the notice when it is
        // handled: every state begun since the last one pushed is pushed,
        // each once, with the action record of the state it ended.
        const qint32 index = testingSTATE[ControllerRuntime::STATE_TYPE_STATEINDEX].load();
        if (runTestType < 0 || index >= ModelStateSequenceEntity::kMaxStates)
            return;
        for (qint32 state = advancedState + 1; state <= index; ++state) {
            ordinary_testing_result r;
            std::memset(&r, 0, sizeof r);
            r.testing_index = u32(state);
            pushProcedure(SHARE_TESTING_RESULT_TYPE_ORDINARY, r);
            if (state >= 1 && firstStateAction(state - 1))
                publishStateAction(state - 1);
        }
        advancedState = std::max(advancedState, index);
    } else if (dataType == ControllerRuntime::DATA_TYPE_RT_STATE && subType == ControllerRuntime::STATE_TYPE_RUNNING) {
        if (testingSTATE[ControllerRuntime::STATE_TYPE_RUNNING].load() != 0) {
            advancedState = -1;
            return;
        }
        // The run has ended: the states it ended without an advance past
        // them (its last one completed, or the one a stop ended after a
        // trip), whatever order the states came in, whether the PC sent
        // them or the page set them up, and whatever the PC sent for its
        // next test meanwhile.
        QList<qint32> due;
        {
            QMutexLocker lock(&e->entityLock);
            const qint32 count = std::min(e->stateCount, qint32(ModelStateSequenceEntity::kMaxStates));
            for (qint32 state = 0; state < count; ++state) {
                const double* times = e->stateActionTimes[state];
                if (e->stateTestStates[state] == ModelEntity::AO_STATE_TYPE_COMPLETED
                    || std::any_of(times, times + 4, [](double t) { return t > 0.0; }))
                    due.append(state);
            }
        }
        for (qint32 state : due) {
            if (firstStateAction(state))
                publishStateAction(state);
        }
    }
}

bool NetServiceBase::firstStateAction(qint32 state)
{
    QMutexLocker lock(&recordMutex);
    if (state < 0 || state >= ModelStateSequenceEntity::kMaxStates || actionSendFlag[state])
        return false;
    actionSendFlag[state] = 1;
    return true;
}

void NetServiceBase::publishRamping(qint32 dataType, qint32)
{
    ModelRampingEntity* e = center->testTestor->dataRamping;
    const qint32 index = testingSTATE[ControllerRuntime::STATE_TYPE_STATEINDEX].load();
    const qint32 t = std::max(0, index) / 3;
    if (dataType == ControllerRuntime::DATA_TYPE_TEST_OUTPUTDATA) {
        simple_ramping_testing_procedure r;
        std::memset(&r, 0, sizeof r);
        r.project_index = currentProjectId.load();
        r.module_index = currentModuleId.load();
        r.testing_index = u32(t);
        QMutexLocker lock(&e->entityLock);
        for (int k = 0; k < 8; ++k) {
            r.current_output.phases[k].base_range = f32(e->outputRanges[k]);
            r.current_output.phases[k].base_angle = f32(e->outputAngles[k]);
            r.current_output.phases[k].base_frequency = f32(e->outputFrequencies[k]);
        }
        lock.unlock();
        pushProcedure(SHARE_SIMPLE_TESTING_RESULT_TYPE_RAMPING, r);
    } else if (dataType == ControllerRuntime::DATA_TYPE_TEST_ACTIONDATA) {
        // Each point's trip once, by whichever notice finds it recorded
        // (also one handled after the run went on to a later point); a
        // point without a trip pushes nothing.
        static_assert(ModelRampingEntity::kMaxStates / 3 <= 64, "a bit of rampTripsPushed per point");
        std::vector<simple_ramping_testing_action> trips;
        {
            QMutexLocker lock(&e->entityLock);
            const int points = std::min(e->stateCount, qint32(ModelRampingEntity::kMaxStates)) / 3;
            for (int point = 0; point < points; ++point) {
                const int ramp = 3 * point + 1;
                const double* times = e->stateActionTimes[ramp];
                if ((rampTripsPushed >> point & 1u) != 0
                    || !std::any_of(times, times + 4, [](double x) { return x > 0.0; }))
                    continue;
                rampTripsPushed |= quint64(1) << point;
                simple_ramping_testing_action r;
                std::memset(&r, 0, sizeof r);
                r.project_index = currentProjectId.load();
                r.module_index = currentModuleId.load();
                r.testing_index = u32(point);
                for (int i = 0; i < 4; ++i) {
                    r.bi_action_stimes[i] = wireTime(times[i]);
                    if (!(times[i] > 0.0))
                        continue;
                    // Only the group's values; the slots after them stay 0.
                    const ModelEntity::faultActionValStruct& v = e->stateActionValue[ramp][i];
                    const int n = std::max(0, std::min(3, int(v.portCnt)));
                    r.bi_action_value[i].bi_action_port_cnt = u32(n);
                    for (int j = 0; j < n; ++j)
                        r.bi_action_value[i].bi_action_port_value[j] = f32(v.actionVal[j]);
                }
                trips.push_back(r);
            }
        }
        for (const simple_ramping_testing_action& r : trips)
            pushResult(SHARE_SIMPLE_TESTING_RESULT_TYPE_RAMPING, r);
    }
}

void NetServiceBase::pushRecord(bool trigger, u32 type, const void* record, u32 length)
{
    QByteArray bytes(reinterpret_cast<const char*>(&type), sizeof type);
    bytes.append(static_cast<const char*>(record), int(length));
    QByteArray& last = trigger ? lastTrigger : lastProcedure;
    if (bytes == last)
        return;
    last = bytes;
    const u8* data = static_cast<const u8*>(record);
    if (trigger)
        netCtrl_updateResult(type, data, length);
    else
        netCtrl_updateProcedure(type, data, length);
}

void NetServiceBase::beginRunPushes()
{
    lastProcedure.clear();
    lastTrigger.clear();
    rampTripsPushed = 0;
    QMutexLocker lock(&recordMutex);
    std::fill(std::begin(actionSendFlag), std::end(actionSendFlag), 0);
}

void NetServiceBase::setTestStop()
{
    center->testInterrupt();
    // Answered once the run has ended and its end is known where the next
    // command looks: the testor's stop, the runtime store's state, this
    // service's copy of it (GUI thread). A start or a record after the
    // answer is then taken as at rest.
    for (QObject* worker : {static_cast<QObject*>(center->testTestor), static_cast<QObject*>(center->testRuntime)})
        runWaited<bool>(
            worker, [] { return true; }, ENGINE_WAIT_MS);
    if (QThread::currentThread() != thread())
        runWaited<bool>(
            this, [] { return true; }, ENGINE_WAIT_MS);
}

int NetServiceBase::setTestSwitch()
{
    struct Asked
    {
        std::atomic<bool> open{true};   // not yet taken by the engine, nor given up
        std::promise<QString> refused;
    };
    auto asked = std::make_shared<Asked>();
    std::future<QString> outcome = asked->refused.get_future();
    center->testNextState(
        [asked, place = heldRecordsPlacement()] {
            if (!asked->open.exchange(false))
                return false;
            if (place)
                place();
            return true;
        },
        [asked](const QString& why) { asked->refused.set_value(why); });
    if (outcome.wait_for(std::chrono::milliseconds(ENGINE_WAIT_MS)) != std::future_status::ready
        && asked->open.exchange(false)) {
        net_log_line("network service: switch not made: the engine did not take it in time");
        return -1;
    }
    const QString why = outcome.get();
    if (why.isEmpty())
        return 0;
    net_log_line("network service: switch not made: %s", qPrintable(why));
    return -1;
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
        const bool running = takeRuntimeState();
        // A record for another module while this run goes on serves the
        // next start: the pushes stay with the run's module, also for the
        // notices that follow its end (the run-end action, the last switch),
        // until the next run starts.
        // A run begun since the last one noted is noted too where it ended
        // before this notice (a short run whose running 1 was never seen).
        const quint32 begun = runsBegun();
        if ((running && !runNoted) || begun != runsBegunSeen) {
            runTestType = center->testTestor->activeTestType();
            runNoted = true;
            runsBegunSeen = begun;
            beginRunPushes();
        }
    }
    publishModule(dataType, subType);
    updateBaseDataToNet(dataType, subType);
    if (dataType == ControllerRuntime::DATA_TYPE_RT_STATE && subType == ControllerRuntime::STATE_TYPE_RUNNING
        && testingSTATE[ControllerRuntime::STATE_TYPE_RUNNING].load() == 0) {
        runNoted = false;
        // Held for a switch of the run that ended: the next start runs them.
        QMutexLocker lock(&recordMutex);
        taken->alternateHeld.reset();
        taken->harmonicHeld.reset();
    }
}

quint32 NetServiceBase::runsBegun() const
{
    center->testRuntime->dataLock();
    const quint32 begun = center->testRuntime->runsBegun;
    center->testRuntime->dataUnlock();
    return begun;
}

bool NetServiceBase::takeRuntimeState()
{
    ControllerRuntime* runtime = center->testRuntime;
    qint32 copy[16];
    runtime->dataLock();
    std::copy(std::begin(runtime->STATE), std::end(runtime->STATE), std::begin(copy));
    runtime->dataUnlock();
    for (int i = 0; i < 16; ++i)
        testingSTATE[i] = copy[i];
    return copy[ControllerRuntime::STATE_TYPE_RUNNING] != 0;
}

void NetServiceBase::publishModule(qint32 dataType, qint32 subType)
{
    // The module running decides, whichever record the PC sent last.
    const qint32 type = runTestType >= 0 ? runTestType : center->testTestor->testType.load();
    const NetModuleHooks* hooks = netModuleHooks(type);
    if (hooks && hooks->publish)
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
    // configuration (queued next, so it sends the restored values), under
    // the lock its savers and ratings() take.
    ControllerConfiguration* config = center->testConfiguration;
    QMetaObject::invokeMethod(
        config,
        [this, config] {
            QMutexLocker lock(&config->mutex);
            config->ditherTime = oldDitherTime;
            config->rateFrequency = oldRateFrequency;
        },
        Qt::QueuedConnection);
    center->testConfig();
}

void NetServiceBase::refuseService(const NetServiceStartFailure& failure)
{
    netServiceEnable = false;
    center->testConfiguration->bNetConnect = false;
    emit sigNetServiceRefused(failure.port, failure.reason);
}

void NetServiceBase::stopForExit()
{
    if (netCtrl_NetServiceRunning())
        netCtrl_StopNetService();
    netServiceEnable = false;
}

void NetServiceBase::restartAfterReboot()
{
    if (!netServiceEnable.load() || !netCtrl_NetServiceRunning())
        return;
    netCtrl_StopNetService();
    NetServiceStartFailure failure;
    if (netCtrl_StartNetService(&failure) == 0)
        return;
    revertRateSetting();
    center->testInterrupt();
    refuseService(failure);
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
                QMutexLocker lock(&config->mutex);
                oldDitherTime = config->ditherTime;
                oldRateFrequency = config->rateFrequency;
            },
            Qt::QueuedConnection);
        // The status says what runs now, not what ran when it was switched
        // off (the end of that run came while no notice was handled).
        netCtrl_updateRunningEnable(takeRuntimeState() ? 1 : 0);
        {
            // Records of an earlier spell of remote control are not run again.
            QMutexLocker lock(&recordMutex);
            taken = std::make_unique<TakenRecords>();
        }
        // Nor does one decide the module: a START without a record of this
        // spell runs the page shown last.
        center->activatePageModule();
        runTestType = -1;
        runNoted = false;
        runsBegunSeen = runsBegun();
        bControlEnable = true;
        startPending = 0;
        ControllerTestor::setRefusalLog(engineRefusalLine);
        netServiceEnable = true;
        NetServiceStartFailure failure;
        if (netCtrl_StartNetService(&failure) != 0) {
            if (failure.port.isEmpty())
                qWarning("network service: the network threads could not be started");
            refuseService(failure);
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
    ControllerTestor::setRefusalLog(nullptr);
    netServiceEnable = false;
}
