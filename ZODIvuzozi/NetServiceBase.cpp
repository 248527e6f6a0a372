#include "NetServiceBase.h"

#include "CommDriverData.h"
#include "CommNetCtrlBase.h"
#include "ControllerCenter.h"
#include "driverbase.h"
#include "zoplatform.h"

#include <QDebug>
#include <QEventLoop>
#include <QMutexLocker>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>
#include <mutex>

namespace {

std::atomic<NetServiceBase*> serviceInstance{nullptr};

// Real milliseconds of a product wait (the platform's time scale).
int realMs(int productMs)
{
    return std::max(1, int(productMs * zoplat::timeScale()));
}

template <size_t N>
void copyText(uint8_t (&field)[N], const QByteArray& text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.constData(), std::min(N, size_t(text.size())));
}

} // namespace

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

NetServiceBase::NetServiceBase()
    : QObject(nullptr)
    , center(ControllerCenter::getInstance())
{
    connect(center, SIGNAL(sigUpdateDataToView(qint32, qint32)), this, SLOT(updateDataToNet(qint32, qint32)));
    connect(center, SIGNAL(sigUpdateViewConnectEnable(bool)), this, SLOT(updateViewConnectEnable(bool)));
    driverCheck.setInterval(realMs(DRIVER_POLL_MS));
    connect(&driverCheck, &QTimer::timeout, this, &NetServiceBase::checkDriver);
}

NetServiceBase::~NetServiceBase() = default;

bool NetServiceBase::driverInitialised() const
{
    return center->testConfiguration->initDriverEnable.load();
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
        qWarning("network service: the shared-memory segments could not be prepared");
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

void NetServiceBase::setBOState(uint mask, uint states)
{
    CommDriverTestControlData* control = globalTestControlData;
    if (!control)
        return;
    for (int i = 0; i < 4; ++i) {
        if (mask & (1u << i))
            control->controlBOStates[i] = (states >> i) & 1u;
    }
    driverBaseSendTestBOState();
}

void NetServiceBase::updateDataToNet(qint32 dataType, qint32 subType)
{
    Q_UNUSED(subType)
    if (!netServiceEnable)
        return;
    if (dataType == ControllerRuntime::DATA_TYPE_RT_STATE) {
        ControllerRuntime* runtime = center->testRuntime;
        runtime->dataLock();
        std::copy(std::begin(runtime->STATE), std::end(runtime->STATE), std::begin(testingSTATE));
        runtime->dataUnlock();
    }
    // The module and base publishers come with the network threads.
}

void NetServiceBase::updateViewConnectEnable(bool enable)
{
    ControllerConfiguration* config = center->testConfiguration;
    if (enable) {
        if (netServiceEnable)
            return;
        oldDitherTime = config->ditherTime;
        std::fill(std::begin(testingSTATE), std::end(testingSTATE), 0);
        netServiceEnable = true;
        return;
    }
    // Switching off a service that is not on must not write back a dither
    // time that was never saved, nor stop the user's own test.
    if (!netServiceEnable)
        return;
    bControlEnable = true;
    config->ditherTime = oldDitherTime;
    center->testConfig();
    center->testInterrupt();
    netServiceEnable = false;
}
