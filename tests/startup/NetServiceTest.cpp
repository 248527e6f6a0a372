// The network service's start-up part on the simulated instrument: the
// bounded wait for the driver, the device information, the binary outputs a
// remote client sets, and the remote-control switch.

#include "StartupTestSupport.h"

#include "CommDriverData.h"
#include "NetServiceBase.h"

#include <arpa/inet.h>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr uint16_t kBinaryOutputsSet = 0x833C;   // FPGA register: binary outputs 1..4 in bits 0..3

class NetServiceTest : public StartupEngineTest
{
protected:
    NetServiceTest() : StartupEngineTest(true) {}

    // Driver set up on the instrument, as start-up's queued set-up does.
    void initialiseDriver()
    {
        engine()->testConfig();
        ASSERT_TRUE(startuptest::waitFor([this] { return engine()->testConfiguration->initDriverEnable.load(); }));
    }

    NetServiceBase* service()
    {
        engine();
        NetServiceBase* s = NetServiceBase::getInstance();
        if (!counted) {
            counted = true;
            QObject::connect(s, &NetServiceBase::sigDriverInitialised, &receiver, [this] { ++initialisedNotices; });
        }
        return s;
    }

    QObject receiver;
    bool counted = false;
    int initialisedNotices = 0;
};

// A hardware fault: nothing answers on the register link when the driver is
// first set up.
class NetServiceFaultTest : public StartupEngineTest
{
protected:
    NetServiceFaultTest() : StartupEngineTest(false) {}
};

TEST_F(NetServiceFaultTest, WaitForTheDriverEndsAndTheCheckGoesOnUntilItIsInitialised)
{
    ControllerCenter* center = engine();
    center->testConfig();
    // The failed set-up reports itself (the driver stays uninitialised).
    int initNotices = 0;
    QObject receiver;
    QObject::connect(center, &ControllerCenter::sigUpdateDataToView, &receiver, [&](qint32 type, qint32 sub) {
        if (type == ControllerRuntime::DATA_TYPE_RT_STATE && sub == ControllerRuntime::STATE_TYPE_INIT)
            ++initNotices;
    });
    ASSERT_TRUE(startuptest::waitFor([&] { return initNotices == 1; }));
    ASSERT_FALSE(center->testConfiguration->initDriverEnable.load());

    NetServiceBase* service = NetServiceBase::getInstance();
    int ready = 0;
    QObject::connect(service, &NetServiceBase::sigDriverInitialised, &receiver, [&] { ++ready; });
    service->netWorkServiceInit();   // must come back although the driver never answered
    EXPECT_FALSE(service->driverInitialised());
    EXPECT_FALSE(service->driverReady());
    EXPECT_EQ(0, ready);
    EXPECT_FALSE(service->isServiceEnabled());

    // The instrument answers now; the next set-up succeeds and the service
    // notices it without being asked again.
    sim->attach();
    center->testConfig();
    ASSERT_TRUE(startuptest::waitFor([&] { return ready == 1; }));
    EXPECT_TRUE(service->driverReady());
    const QByteArray code = center->testConfiguration->deviceCode.toLatin1().left(16);
    EXPECT_EQ(0, std::memcmp(service->deviceAssemblyInfo().device_code, code.constData(), size_t(code.size())));
}

TEST_F(NetServiceTest, InitialisedDriverEndsTheWaitAndTheDeviceInformationIsCopiedWithinItsFields)
{
    initialiseDriver();
    NetServiceBase* s = service();
    s->netWorkServiceInit();
    EXPECT_TRUE(s->driverReady());
    EXPECT_EQ(1, initialisedNotices);

    ControllerConfiguration* config = engine()->testConfiguration;
    config->deviceCode = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");   // longer than every field
    config->deviceModel = QStringLiteral("ZT-3");
    config->softwareVersion = QStringLiteral("2.0.0004");
    s->updateDeviceInfo();
    const NetServiceBase::DeviceAssemblyInfo info = s->deviceAssemblyInfo();
    // Texts that would fill their field are cut to leave room for the NUL.
    EXPECT_EQ(0, std::memcmp(info.device_guid, "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234\0", 32));
    EXPECT_EQ(0, std::memcmp(info.device_code, "ABCDEFGHIJKLMNO\0", 16));
    EXPECT_EQ(0, std::memcmp(info.device_kind, "ZT-3\0\0\0\0\0\0\0\0\0\0\0\0", 16));
    const QByteArray fpga = config->getFpgaVersionText().toLatin1();
    EXPECT_EQ(0, std::memcmp(info.device_date, fpga.constData(), size_t(fpga.size())));
    const uint32_t version[16] = {'2', '.', '0', '.', '0', '0', '0', '4'};
    EXPECT_EQ(0, std::memcmp(info.device_version, version, sizeof version));
}

TEST_F(NetServiceTest, RemoteBinaryOutputsChangeOnlyTheMaskedOutputsAndReachTheInstrument)
{
    initialiseDriver();
    NetServiceBase* s = service();
    const struct
    {
        uint mask;
        uint states;
        uint16_t expected;   // outputs 1..4 as bits 0..3 afterwards
    } steps[] = {
        {0x5, 0x1, 0x1},    // outputs 1 and 3 set: 1 on, 3 off
        {0xA, 0xF, 0xB},    // outputs 2 and 4 on; 1 stays on
        {0x1, 0x0, 0xA},    // output 1 off
        {0x0, 0xF, 0xA},    // nothing chosen: nothing changes
        {0xF0, 0xF0, 0xA},  // bits above the four outputs are ignored
    };
    for (const auto& step : steps) {
        s->setBOState(step.mask, step.states);
        uint16_t record = 0;
        for (int i = 0; i < 4; ++i)
            record |= uint16_t(globalTestControlData->controlBOStates[i] & 1) << i;
        EXPECT_EQ(step.expected, record) << "mask " << step.mask;
        EXPECT_EQ(step.expected, sim->peekRegister(kBinaryOutputsSet) & 0xF) << "mask " << step.mask;
    }
}

TEST_F(NetServiceTest, RemoteSwitchRestoresTheRatedSettingsOnlyAfterItWasOnAndCopiesStatesOnlyWhileOn)
{
    initialiseDriver();
    NetServiceBase* s = service();
    ControllerCenter* center = engine();
    ControllerConfiguration* config = center->testConfiguration;
    config->ditherTime = 0.25;
    config->rateFrequency = 50.0;
    // The threads listen and announce on ports free now, on 127.0.0.1.
    for (auto set : {&zoplat::host::setServerPort, &zoplat::host::setBeaconPort}) {
        const int fd = socket(AF_INET, set == &zoplat::host::setServerPort ? SOCK_STREAM : SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t n = sizeof a;
        bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
        close(fd);
        set(ntohs(a.sin_port));
    }
    s->netWorkServiceInit();

    // Off while never on: nothing saved to restore, nothing to stop.
    emit center->sigUpdateViewConnectEnable(false);
    EXPECT_DOUBLE_EQ(0.25, config->ditherTime);
    EXPECT_FALSE(s->isServiceEnabled());

    // A state notice while off is not copied.
    QMetaObject::invokeMethod(center->testRuntime, "updateInitState", Qt::QueuedConnection, Q_ARG(bool, true));
    ASSERT_TRUE(startuptest::waitFor([&] { return state(ControllerRuntime::STATE_TYPE_INIT) == 1; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(0, s->testingSTATE[ControllerRuntime::STATE_TYPE_INIT]);

    emit center->sigUpdateViewConnectEnable(true);
    EXPECT_TRUE(s->isServiceEnabled());
    // As remote parameter records would change them.
    QMetaObject::invokeMethod(
        config,
        [config] {
            config->ditherTime = 0.5;
            config->rateFrequency = 60.0;
        },
        Qt::QueuedConnection);
    QMetaObject::invokeMethod(center->testRuntime, "updateInitState", Qt::QueuedConnection, Q_ARG(bool, true));
    ASSERT_TRUE(startuptest::waitFor([&] { return s->testingSTATE[ControllerRuntime::STATE_TYPE_INIT] == 1; }));

    emit center->sigUpdateViewConnectEnable(false);
    EXPECT_FALSE(s->isServiceEnabled());
    // Restored on the configuration's thread.
    EXPECT_TRUE(startuptest::waitFor([&] { return config->ditherTime == 0.25 && config->rateFrequency == 50.0; }));
}

} // namespace
