#pragma once

// The network service on the whole engine and the simulated instrument, with
// a PC client over TCP on 127.0.0.1: free ports, segments under this
// process's own key base (removed again), a sandbox for device paths. Every
// TEST runs in a process of its own (see EngineFixture.h).

#include "../acmodel/AcModelSupport.h"
#include "../remote/RemoteClient.h"
#include "../run_source/RunSourceSupport.h"

#include "CommNetCtrlBase.h"
#include "NetServiceBase.h"
#include "SimFpgaRegisters.h"
#include "zocmn_net_connect_handle.h"
#include "zoshm_testing_share_handle.h"

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <optional>
#include <sys/shm.h>
#include <sys/socket.h>
#include <unistd.h>

namespace remoteservice {

using runsource::waitFor;

inline key_t keyBase()
{
    return key_t(0x20000000u | ((uint32_t(getpid()) & 0xFFFFu) << 8) | 0x36u);
}

inline void removeKeys()
{
    for (uint32_t i = 0; i < SHM_SEGMENT_COUNT; ++i) {
        const int id = shmget(key_t(uint32_t(keyBase()) + i * SHM_KEY_STEP), 0, 0);
        if (id >= 0)
            shmctl(id, IPC_RMID, nullptr);
    }
}

// A socket bound on 127.0.0.1 (port 0: one free now), a TCP one
// listening; -1 when the port is taken.
inline int boundSocket(int type, uint16_t port = 0)
{
    const int fd = socket(AF_INET, type | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || (type == SOCK_STREAM && listen(fd, 1) != 0)) {
        close(fd);
        return -1;
    }
    return fd;
}

inline uint16_t localPort(int fd)
{
    sockaddr_in a{};
    socklen_t n = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
    return ntohs(a.sin_port);
}

// A port on 127.0.0.1 free now (TCP or UDP).
inline uint16_t freePort(int type = SOCK_STREAM)
{
    const int fd = boundSocket(type);
    const uint16_t port = localPort(fd);
    close(fd);
    return port;
}

// The PC: one TCP connection, frames gathered as they come.
class Pc
{
public:
    ~Pc() { closeSocket(); }

    bool connectTo(uint16_t port)
    {
        closeSocket();
        closed = false;
        pending.clear();
        frames.clear();
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        for (int tries = 0; tries < 100; ++tries) {
            fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
                fcntl(fd, F_SETFL, O_NONBLOCK);
                return true;
            }
            closeSocket();
            usleep(50000);   // a port not listened on (yet)
        }
        return false;
    }
    void send(const QByteArray& bytes) { (void)!::write(fd, bytes.constData(), size_t(bytes.size())); }
    // Reads what has come; false once the device has closed the connection.
    bool pump()
    {
        char buf[65536];
        for (;;) {
            const ssize_t n = recv(fd, buf, sizeof buf, 0);
            if (n > 0) {
                pending.append(buf, int(n));
                continue;
            }
            if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
                closed = true;
            break;
        }
        while (pending.size() >= 12) {
            const uint32_t total = pc::Bytes(pending).u32(8) + 12u;
            if (uint32_t(pending.size()) < total)
                break;
            if (auto f = pc::decode(pending.left(int(total))))
                frames.push_back(*f);
            pending.remove(0, int(total));
        }
        return !closed;
    }
    // The first frame from index `from` with the command, waiting for it.
    std::optional<pc::Frame> waitFrame(uint16_t command, size_t from, int timeoutMs = 5000,
                                       std::function<bool(const pc::Frame&)> also = {})
    {
        std::optional<pc::Frame> found;
        waitFor(
            [&] {
                pump();
                for (size_t i = from; i < frames.size(); ++i) {
                    if (frames[i].command == command && (!also || also(frames[i]))) {
                        found = frames[i];
                        return true;
                    }
                }
                return closed;
            },
            timeoutMs);
        return found;
    }
    // Sends a request and waits for its reply (the body after the sub-id).
    std::optional<QByteArray> ask(const QByteArray& request, int timeoutMs = 5000)
    {
        const size_t from = frames.size();
        send(request);
        const auto reply = waitFrame(pc::decode(request)->command, from, timeoutMs);
        return reply ? std::optional<QByteArray>(reply->payload) : std::nullopt;
    }
    // The index of the first status frame from index `from` whose running
    // word is `running`, or -1.
    int waitStatus(uint32_t running, size_t from, int timeoutMs = 10000)
    {
        int at = -1;
        waitFrame(pc::PushStatus, from, timeoutMs, [&](const pc::Frame& f) {
            if (pc::Bytes(f.payload).u32(4) != running)
                return false;
            at = int(&f - frames.data());
            return true;
        });
        return at;
    }
    // The payloads of a command's frames of sub-id `subid` (-1: any) from
    // index `from`, waiting until `enough` holds or the time is up.
    std::vector<pc::Bytes> pushed(uint16_t command, int subid, size_t from,
                                  const std::function<bool(const std::vector<pc::Bytes>&)>& enough,
                                  int timeoutMs = 10000)
    {
        std::vector<pc::Bytes> got;
        waitFor([&] {
            pump();
            got.clear();
            for (size_t i = from; i < frames.size(); ++i) {
                if (frames[i].command == command && (subid < 0 || frames[i].subid == subid))
                    got.emplace_back(frames[i].payload);
            }
            return enough(got);
        }, timeoutMs);
        return got;
    }
    // Waits until the device closed the connection; false when it did not in time.
    bool waitClosed(int timeoutMs)
    {
        return waitFor([this] { return !pump(); }, timeoutMs);
    }
    void closeSocket()
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
    // As a killed process's socket: a reset, not an orderly close.
    void reset()
    {
        linger l{1, 0};
        setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
        closeSocket();
    }

    int fd = -1;
    bool closed = false;
    QByteArray pending;
    std::vector<pc::Frame> frames;
};

inline QByteArray helloRequest()
{
    return pc::frame(pc::GetMachine, pc::Hello);
}

inline QByteArray controlRequest(const pc::Bytes& record)
{
    return pc::frame(pc::SetControl, 0x0000, record.data);
}

inline QByteArray startRequest()
{
    return controlRequest(pc::control(0x8 | 0x800, 1));
}

// A command's answer: done, refused.
inline const QByteArray kOk(1, '\0'), kRefused(1, '\xFF');

inline QByteArray parameterRequest(uint16_t subid, const pc::Bytes& record)
{
    return pc::frame(pc::SetParameter, subid, record.data);
}

constexpr uint16_t kAcRecordId = 0xB104;

// An AC record: a steady 1 A in IA for 10 s, its trip watched on input 0 rising.
inline pc::Bytes steadyAc()
{
    using namespace pc::rec;
    pc::Bytes b(AC_SIZE);
    for (int k = 0; k < 8; ++k)
        phase(b, AC_OUTPUTS, k, k == 4 ? 1.0f : 0.0f, 0.0f, 50.0f);
    ramp(b, AC_RAMP, 1, 8, 0, 0, 0.0f, 0.0f, 1.0f);
    return b.f32(AC_FAULT_TIME, 10.0f).u32(AC_RISE, 0x1);
}

// What fn reads of an entity, under its lock.
template <typename Entity, typename Fn>
auto read(Entity& entity, Fn fn)
{
    QMutexLocker lock(&entity.entityLock);
    return fn(entity);
}

// The engine, the service on free ports and a relay-less instrument.
class RemoteServiceTest : public RunSourceTest
{
protected:
    void SetUp() override
    {
        RunSourceTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        zoplat::host::setSharedMemoryKeyBase(keyBase());
        removeKeys();
        serverPort = freePort();
        beaconPort = freePort(SOCK_DGRAM);
        zoplat::host::setServerPort(serverPort);
        zoplat::host::setBeaconPort(beaconPort);
        service = NetServiceBase::getInstance();
    }

    void TearDown() override
    {
        if (service && service->isServiceEnabled())
            service->updateViewConnectEnable(false);
        shm_release_testing_handle();
        removeKeys();
        RunSourceTest::TearDown();
    }

    // Driver initialised and polling, segments prepared, remote control on.
    void switchOn(bool polling = true)
    {
        initialise(polling);
        service->netWorkServiceInit();
        center->testConfiguration->bNetConnect = true;
        service->updateViewConnectEnable(true);
        ASSERT_TRUE(service->isServiceEnabled());
    }

    // A PC connected and greeted: the beat is now 8 s. A connection made
    // while the last one was ending waits in the backlog and is dropped at
    // that end: the PC connects again.
    void connectPc(Pc& pcSide)
    {
        std::optional<QByteArray> hello;
        for (int tries = 0; tries < 3 && !hello; ++tries) {
            ASSERT_TRUE(pcSide.connectTo(serverPort));
            hello = pcSide.ask(helloRequest());
        }
        ASSERT_TRUE(hello.has_value());
        ASSERT_EQ(hello->size(), 184);
        EXPECT_EQ(pc::Bytes(*hello).u32(172), 1u);
    }

    // The PC's AC record (steadyAc) taken: what its starts run.
    void sendAc(Pc& pcSide)
    {
        ASSERT_EQ(pcSide.ask(parameterRequest(kAcRecordId, steadyAc())), QByteArray(1, '\0'));
    }

    // The AC module as its page sets it up: 1 A in IA.
    void setUpAc(actest::AcModel& vm)
    {
        vm.testActive();
        vm.updateDeviceConfig();
        vm.setOutputRange(actest::port(4), 1.0);
        vm.updateVMToEnt(ViewBaseModel::DATA_TYPE_TEST_OUTPUTDATA, -1, false);
    }

    static QByteArray stopRequest() { return controlRequest(pc::control(0x10, 0, 1)); }
    static QByteArray triggerRequest() { return controlRequest(pc::control(0x20, 0, 0, 1)); }
    static QByteArray switchRequest() { return controlRequest(pc::control(0x40, 0, 0, 0, 1)); }

    // Stopped as the page's Stop does, and ended.
    bool stopped() { service->setTestStop(); return waitEnded(); }
    // Lets `ms` of the host's time pass, events handled.
    void idle(int ms) { QElapsedTimer t; t.start(); waitFor([&] { return t.elapsed() >= ms; }); }

    // The instrument's dither register, in microseconds.
    uint32_t ditherRegister() const
    {
        return sim->peekRegister(zorsim::reg::kDither) | uint32_t(sim->peekRegister(zorsim::reg::kDither + 2)) << 16;
    }

    bool simRunning() { return sim->playerStatus().running; }
    bool simPowered() { return (sim->peekRegister(reg::kPower) & 0x3) != 0; }

    NetServiceBase* service = nullptr;
    uint16_t serverPort = 0;
    uint16_t beaconPort = 0;
};

} // namespace remoteservice
