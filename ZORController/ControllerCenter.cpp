#include "ControllerCenter.h"

#include "ControllerModuleTable.h"

#include <QCoreApplication>
#include <QMetaType>
#include <QMutexLocker>

#include <cstdlib>
#include <mutex>
#include <utility>

std::atomic<ControllerCenter*> ControllerCenter::instance{nullptr};

ControllerCenter* ControllerCenter::getInstance()
{
    ControllerCenter* center = instance.load(std::memory_order_acquire);
    if (center)
        return center;

    static std::mutex creation;
    std::lock_guard<std::mutex> lock(creation);
    center = instance.load(std::memory_order_acquire);
    if (center)
        return center;

    qRegisterMetaType<CommSOEEntity>("CommSOEEntity");
    qRegisterMetaType<ModelBatteryEntity>("ModelBatteryEntity");
    qRegisterMetaType<qint32>("qint32");
    qRegisterMetaType<quint8>("quint8");
    qRegisterMetaType<quint32>("quint32");
    qRegisterMetaType<qint64>("qint64");

    ControllerCenter* created = new ControllerCenter();
    ControllerCenter* expected = nullptr;
    instance.compare_exchange_strong(expected, created, std::memory_order_acq_rel);
    // The threads end while the application object still exists (its
    // destructor runs the post routines); atexit covers a process without one.
    qAddPostRoutine(&ControllerCenter::endThreadsAtExit);
    std::atexit(&ControllerCenter::endThreadsAtExit);
    return instance.load(std::memory_order_acquire);
}

void ControllerCenter::endThreadsAtExit()
{
    ControllerCenter* center = instance.load(std::memory_order_acquire);
    if (!center)
        return;
    center->batteryInterrupt();
    center->queryInterrupt();
    for (QThread* thread : {center->batteryThread, center->queryingThread, center->configThread, center->testorThread,
                            center->runtimeThread}) {
        thread->quit();
        thread->wait(2000);
    }
}

void ControllerCenter::link(const QObject* sender, const char* signal, const QObject* receiver, const char* method,
                            Qt::ConnectionType type)
{
    if (connect(sender, signal, receiver, method, type))
        ++connections;
    else
        qCritical("ControllerCenter: connection %s -> %s failed", signal, method);
}

ControllerCenter::ControllerCenter()
    : QObject(nullptr)
{
    testRuntime = new ControllerRuntime();
    testTestor = new ControllerTestor();
    testConfiguration = new ControllerConfiguration();
    testQuery = new ControllerQuery();
    testBattery = new ControllerBattery();

    configThread = new QThread();
    runtimeThread = new QThread();
    testorThread = new QThread();
    queryingThread = new QThread();
    batteryThread = new QThread();
    configThread->setObjectName(QStringLiteral("configuration"));
    runtimeThread->setObjectName(QStringLiteral("runtime"));
    testorThread->setObjectName(QStringLiteral("testor"));
    queryingThread->setObjectName(QStringLiteral("querying"));
    batteryThread->setObjectName(QStringLiteral("battery"));

    testRuntime->moveToThread(runtimeThread);
    testConfiguration->moveToThread(configThread);
    testTestor->moveToThread(testorThread);
    testQuery->moveToThread(queryingThread);
    testBattery->moveToThread(batteryThread);

    // The polling loop follows the module a run was started with, and keeps
    // polling while the driver stays initialised.
    ControllerTestor* testor = testTestor;
    ControllerConfiguration* configuration = testConfiguration;
    testQuery->setRunTypeSource([testor] { return testor->activeTestType(); });
    testQuery->setDriverInitialisedSource([configuration] { return configuration->initDriverEnable.load(); });
    // The state sequence's change reports carry the state times to the
    // testor, queued in order with the polling loop's signals to it.
    testQuery->setSequenceReportSink([testor](const std::vector<double>& stateTimes, qint64 heldUs) {
        QMetaObject::invokeMethod(
            testor, [testor, stateTimes, heldUs] { testor->doUpdateSequenceState(stateTimes, heldUs); },
            Qt::QueuedConnection);
    });

    // 1-13: facade to testor.
    link(this, SIGNAL(sigTestStart()), testTestor, SLOT(doTestStart()));
    link(this, SIGNAL(sigTestInterrupt()), testTestor, SLOT(doTestInterrupt()));
    link(this, SIGNAL(sigTestSwitch()), testTestor, SLOT(doTestSwitch()));
    link(this, SIGNAL(sigSaveCal(qint32)), testTestor, SLOT(doCalSave(qint32)));
    link(this, SIGNAL(sigLoadCal(qint32)), testTestor, SLOT(doCalLoad(qint32)));
    link(this, SIGNAL(sigResetCal(qint32, bool)), testTestor, SLOT(doCalReset(qint32, bool)));
    link(this, SIGNAL(sigTestAuxDC(bool, qint32)), testTestor, SLOT(doTestAuxPower(bool, qint32)));
    link(this, SIGNAL(sigTestAuxDC(bool, double)), testTestor, SLOT(doTestAuxPower(bool, double)));
    link(this, SIGNAL(sigSaveBattery(quint8)), testTestor, SLOT(doSaveBattery(quint8)));
    link(this, SIGNAL(sigTestKeyPress()), testTestor, SLOT(doTestKeyPress()));
    link(this, SIGNAL(sigExportCal(qint32)), testTestor, SLOT(doCalExport(qint32)));
    link(this, SIGNAL(sigImportCal(qint32)), testTestor, SLOT(doCalImport(qint32)));
    link(this, SIGNAL(sigTestBOState()), testTestor, SLOT(doTestBOState()));
    // 14-20: facade to configuration.
    link(this, SIGNAL(sigTestConfig()), testConfiguration, SLOT(doTestConfig()));
    link(this, SIGNAL(sigUpdateClockSyncConfig()), testConfiguration, SLOT(doUpdateClockSyncConfig()));
    link(this, SIGNAL(sigTestRelease()), testConfiguration, SLOT(doTestRelease()));
    link(this, SIGNAL(sigSaveConfig(qint32, bool)), testConfiguration, SLOT(doSaveConfig(qint32, bool)));
    link(this, SIGNAL(sigLoadConfig(qint32)), testConfiguration, SLOT(doLoadConfig(qint32)));
    link(this, SIGNAL(sigSaveBatteryConfig()), testConfiguration, SLOT(doSaveBatteryConfig()));
    link(this, SIGNAL(sigLoadBatteryConfig()), testConfiguration, SLOT(doLoadBatteryConfig()));
    // 21-23: facade to runtime, query, battery.
    link(this, SIGNAL(sigEmptySOEList()), testRuntime, SLOT(emptySOEList()));
    link(this, SIGNAL(sigQueryStart()), testQuery, SLOT(doQueryStart()));
    link(this, SIGNAL(sigBatteryStart()), testBattery, SLOT(doQueryStart()));
    // 24-25: relays of the runtime store's notices.
    link(testRuntime, SIGNAL(sigUpdateSOEToView(const QString&)), this, SIGNAL(sigUpdateSOEToView(const QString&)));
    link(testRuntime, SIGNAL(sigUpdateDataToView(qint32, qint32)), this, SIGNAL(sigUpdateDataToView(qint32, qint32)));
    // 26-36: testor to runtime and query.
    link(testTestor, SIGNAL(sigUpdatePowerState(bool)), testRuntime, SLOT(updatePowerState(bool)));
    link(testTestor, SIGNAL(sigUpdateAuxPowerState(bool, qint32)), testRuntime,
         SLOT(updateAuxPowerState(bool, qint32)));
    link(testTestor, SIGNAL(sigUpdateRunState(const CommSOEEntity&, bool)), testRuntime,
         SLOT(updateRunState(const CommSOEEntity&, bool)));
    link(testTestor, SIGNAL(sigUpdateCalState(qint32, bool)), testRuntime, SLOT(updateCalState(qint32, bool)));
    link(testTestor, SIGNAL(sigUpdateSwitchState(const CommSOEEntity&, qint32)), testRuntime,
         SLOT(updateSwitchState(const CommSOEEntity&, qint32)));
    link(testTestor, SIGNAL(sigUpdateBOState(const CommSOEEntity&, qint32, qint32, qint32, qint32)), testRuntime,
         SLOT(updateBOState(const CommSOEEntity&, qint32, qint32, qint32, qint32)));
    link(testTestor, SIGNAL(sigUpdateTestStateIndex(const CommSOEEntity&, qint32)), testRuntime,
         SLOT(updateTestStateIndex(const CommSOEEntity&, qint32)));
    link(testTestor, SIGNAL(sigUpdateTestStateAction()), testRuntime, SLOT(updateTestStateAction()));
    link(testTestor, SIGNAL(sigUpdateBatterMosState(quint8)), testRuntime, SLOT(updateBatteryMOSState(quint8)));
    link(testTestor, SIGNAL(sigUpdateTestStatePulse()), testRuntime, SLOT(updateTestStatePulse()));
    link(testTestor, SIGNAL(sigUpdateRunState(const CommSOEEntity&, bool)), testQuery,
         SLOT(updateRunState(const CommSOEEntity&, bool)), Qt::DirectConnection);
    // 37-48: query to testor and runtime.
    link(testQuery, SIGNAL(sigUpdateTestStateIndex(qint32)), testTestor, SLOT(doUpdateTestStateIndex(qint32)));
    link(testQuery, SIGNAL(sigUpdateTestStateAction(qint32, qint32, float, qint32, qint32, qint32)), testTestor,
         SLOT(doUpdateTestStateAction(qint32, qint32, float, qint32, qint32, qint32)));
    link(testQuery, SIGNAL(sigUpdateTestStateAction(qint32, qint32, qint64, qint32)), testTestor,
         SLOT(doUpdateTestStateAction(qint32, qint32, qint64, qint32)));
    link(testQuery, SIGNAL(sigTestSwitch()), testTestor, SLOT(doTestSwitch()));
    link(testQuery, SIGNAL(sigTestInterrupt()), testTestor, SLOT(doTestInterrupt()));
    link(testQuery, SIGNAL(sigUpdateTestStatePulse(qint32, double)), testTestor,
         SLOT(doUpdateTestStatePulse(qint32, double)));
    link(testQuery, SIGNAL(sigUpdateBIState(const CommSOEEntity&, qint32, qint32, qint32, qint32)), testRuntime,
         SLOT(updateBIState(const CommSOEEntity&, qint32, qint32, qint32, qint32)));
    link(testQuery, SIGNAL(sigUpdateBOState(const CommSOEEntity&, qint32, qint32, qint32, qint32)), testRuntime,
         SLOT(updateBOState(const CommSOEEntity&, qint32, qint32, qint32, qint32)));
    link(testQuery, SIGNAL(sigUpdateAOTempState(qint32, qint32, qint32, qint32, qint32)), testRuntime,
         SLOT(updateAOTempState(qint32, qint32, qint32, qint32, qint32)));
    link(testQuery, SIGNAL(sigUpdateAOTempSensor(qint32, qint32, qint32, qint32)), testRuntime,
         SLOT(updateAOTempSensor(qint32, qint32, qint32, qint32)));
    link(testQuery, SIGNAL(sigUpdateAlarmState(qint32)), testRuntime, SLOT(updateAlarmState(qint32)));
    link(testQuery, SIGNAL(sigUpdateSyncClock(bool, quint32)), testRuntime, SLOT(updateSyncClock(bool, quint32)));
    // 49-52: configuration to runtime and query.
    link(testConfiguration, SIGNAL(sigUpdateInitState(bool)), testRuntime, SLOT(updateInitState(bool)));
    link(testConfiguration, SIGNAL(sigUpdateLoadConfig(qint32)), testRuntime, SLOT(updateLoadConfig(qint32)));
    link(testConfiguration, SIGNAL(sigUpdateInitState(bool)), testQuery, SLOT(updateInitState(bool)),
         Qt::DirectConnection);
    link(testConfiguration, SIGNAL(sigUpdateClockSyncEnable(bool)), testQuery, SLOT(updateClockSyncEnable(bool)),
         Qt::DirectConnection);
    // 53-54: battery to runtime.
    link(testBattery, SIGNAL(sigUpdateBatteryState(qint32, qint32)), testRuntime,
         SLOT(updateBatteryState(qint32, qint32)));
    link(testBattery, SIGNAL(sigUpdateBatteryInfo(const ModelBatteryEntity&)), testRuntime,
         SLOT(updateBatteryInfo(const ModelBatteryEntity&)));

    runtimeThread->start();
    configThread->start();
    testorThread->start();
    queryingThread->start();
    batteryThread->start();
}

ControllerCenter::~ControllerCenter()
{
    batteryInterrupt();
    queryInterrupt();
    testInterrupt();
    testRelease();
    for (QThread* thread : {batteryThread, queryingThread, configThread, testorThread, runtimeThread}) {
        thread->quit();
        thread->wait();
    }
    delete testBattery;
    delete testQuery;
    delete testConfiguration;
    delete testTestor;
    delete testRuntime;
    for (QThread* thread : {batteryThread, queryingThread, configThread, testorThread, runtimeThread})
        delete thread;
}

// ---- Operations ------------------------------------------------------------------------

void ControllerCenter::initiate()
{
    emit sigLoadConfig(ControllerConfiguration::CONFIG_TYPE_HARDWARE_DATA);
    emit sigLoadConfig(ControllerConfiguration::CONFIG_TYPE_SOFTWARE_DATA);
    emit sigLoadCal(0);
    emit sigLoadBatteryConfig();
}

void ControllerCenter::testAuxDC(bool enable, qint32 level)
{
    emit sigTestAuxDC(enable, level);
}

void ControllerCenter::testAuxDC(bool enable, double value)
{
    emit sigTestAuxDC(enable, value);
}

void ControllerCenter::saveBattery(quint8 mos)
{
    testBattery->doQueryStop();
    emit sigSaveBattery(mos);
    emit sigBatteryStart();
}

void ControllerCenter::setBatteryInfoEnable(bool enable)
{
    testBattery->doQueryInfoEnable(enable);
}

void ControllerCenter::testConfig()
{
    emit sigTestConfig();
}

void ControllerCenter::testActive(qint32 type)
{
    if (!ControllerTestor::isValidTestType(type)) {
        qWarning("ControllerCenter::testActive: test type %d refused", type);
        return;
    }
    QMutexLocker lock(&activeMutex);
    testTestor->doTestActive(type);
    testQuery->updateTestActive(type);
}

void ControllerCenter::setActivePage(QObject* activePage, qint32 type)
{
    page = activePage;
    pageType = type;
}

QObject* ControllerCenter::activePage(qint32 type) const
{
    return pageType == type ? page.data() : nullptr;
}

void ControllerCenter::activatePageModule()
{
    if (page && testTestor->testType.load() != pageType)
        testActive(pageType);
}

namespace {

// The outcome the next testStart() on this thread tells (startTelling).
thread_local const ControllerTestor::StartDecided* toldNext = nullptr;

} // namespace

void ControllerCenter::testStart()
{
    if (const ControllerTestor::StartDecided* told = std::exchange(toldNext, nullptr)) {
        testStart(*told);
        return;
    }
    // The reason of an earlier refusal must not pass for this start's.
    testTestor->clearStartRefusal();
    testTestor->askStart([this] { emit sigTestStart(); });
}

bool ControllerCenter::startTelling(const ControllerTestor::StartDecided& decided, const std::function<void()>& asks)
{
    toldNext = &decided;
    asks();
    const bool asked = toldNext == nullptr;
    toldNext = nullptr;
    return asked;
}

void ControllerCenter::testStart(const ControllerTestor::StartDecided& decided)
{
    testTestor->clearStartRefusal();
    ControllerTestor* testor = testTestor;
    testTestor->askStart([testor, decided] {
        QMetaObject::invokeMethod(
            testor, [testor, decided] { testor->doTestStart(decided); }, Qt::QueuedConnection);
    });
}

void ControllerCenter::testInterrupt()
{
    // A start asked before and still in its settle (or queued) never plays.
    testTestor->cancelAskedStarts();
    emit sigTestInterrupt();
}

void ControllerCenter::testSwitch()
{
    // A single-page module's switch plays the entity's values as the testor
    // finds them: while one is still queued it takes this edit too, and a
    // second would play the same values again, restarting the time a trip is
    // measured from. Other modules take every switch.
    if (moduleEntry(testTestor->activeTestType()).family == ModuleFamily::SinglePage
        && testTestor->outputSwitchQueued.exchange(true))
        return;
    emit sigTestSwitch();
}

void ControllerCenter::testNextState(const std::function<bool()>& first,
                                     const std::function<void(const QString&)>& told)
{
    ControllerTestor* testor = testTestor;
    QMetaObject::invokeMethod(
        testor,
        [testor, first, told] {
            if (first && !first())
                return;
            const QString refused = testor->doTestNextState();
            if (told)
                told(refused);
        },
        Qt::QueuedConnection);
}

void ControllerCenter::testBOState()
{
    emit sigTestBOState();
}

void ControllerCenter::testRelease()
{
    emit sigTestRelease();
}

void ControllerCenter::testKeyPress()
{
    emit sigTestKeyPress();
}

void ControllerCenter::emptySOEList()
{
    emit sigEmptySOEList();
}

void ControllerCenter::queryStart()
{
    emit sigQueryStart();
}

void ControllerCenter::batteryStart()
{
    emit sigBatteryStart();
}

void ControllerCenter::saveBatteryConfig()
{
    emit sigSaveBatteryConfig();
}

void ControllerCenter::loadBatteryConfig()
{
    emit sigLoadBatteryConfig();
}

void ControllerCenter::updateClockSyncConfig()
{
    emit sigUpdateClockSyncConfig();
}

void ControllerCenter::saveConfig(qint32 type, bool hwChecked)
{
    emit sigSaveConfig(type, hwChecked);
}

void ControllerCenter::loadConfig(qint32 type)
{
    emit sigLoadConfig(type);
}

void ControllerCenter::saveCal(qint32 type)
{
    emit sigSaveCal(type);
}

void ControllerCenter::loadCal(qint32 type)
{
    emit sigLoadCal(type);
}

void ControllerCenter::resetCal(qint32 type, bool cursel)
{
    emit sigResetCal(type, cursel);
}

void ControllerCenter::exportCal(qint32 type)
{
    emit sigExportCal(type);
}

void ControllerCenter::importCal(qint32 type)
{
    emit sigImportCal(type);
}

void ControllerCenter::queryInterrupt()
{
    testQuery->doQueryInterrupt();
}

void ControllerCenter::batteryInterrupt()
{
    testBattery->doQueryInterrupt();
}
