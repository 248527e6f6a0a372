// The remote-control service's threads on 127.0.0.1 (free ports, segments
// under a key base of this process): a request's round trip, a publication
// until its status frame reaches the PC, and the push thread's CPU share
// while a connected PC is idle.

#include "CommNetCtrlBase.h"
#include "zoplatform_control_host.h"
#include "zoshm_testing_share_handle.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

#include <arpa/inet.h>
#include <chrono>
#include <cstring>
#include <ctime>
#include <netinet/in.h>
#include <poll.h>
#include <sys/shm.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

uint16_t freePort(int type)
{
    const int fd = socket(AF_INET, type, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &n);
    close(fd);
    return ntohs(a.sin_port);
}

// The service running with a PC connected to it.
struct Service
{
    Service()
    {
        zoplat::host::setSharedMemoryKeyBase(key_t(0x31000000u | ((uint32_t(getpid()) & 0xFFFFu) << 8) | 0x36u));
        port = freePort(SOCK_STREAM);
        zoplat::host::setServerPort(port);
        zoplat::host::setBeaconPort(freePort(SOCK_DGRAM));
        ready = netCtrlInit() == 0 && netCtrl_StartNetService() == 0;
        pc = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bool connected = false;
        for (int i = 0; i < 100 && ready && !connected; ++i) {
            connected = ::connect(pc, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
            if (!connected)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ready = ready && connected;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));   // the threads enter the connection
    }
    ~Service()
    {
        close(pc);
        netCtrl_StopNetService();
        shm_release_testing_handle();
        for (int i = 0; i < SHM_SEGMENT_COUNT; ++i) {
            const int id = shmget(shm_testing_key(i), 0, 0);
            if (id >= 0)
                shmctl(id, IPC_RMID, nullptr);
        }
    }
    // Reads one whole frame; its command, or 0 on failure.
    uint16_t readFrame()
    {
        unsigned char head[12];
        if (recv(pc, head, sizeof head, MSG_WAITALL) != ssize_t(sizeof head))
            return 0;
        uint32_t length;
        uint16_t command;
        std::memcpy(&length, head + 8, 4);
        std::memcpy(&command, head + 6, 2);
        QByteArray body(int(length), '\0');
        if (recv(pc, body.data(), length, MSG_WAITALL) != ssize_t(length))
            return 0;
        return command;
    }
    uint16_t port = 0;
    int pc = -1;
    bool ready = false;
};

QByteArray hello()
{
    unsigned char f[14] = {0x4F, 0x7A, 0xFF, 0xFF, 0x01, 0x01, 0x10, 0xA0, 2, 0, 0, 0, 0x01, 0xE1};
    return QByteArray(reinterpret_cast<const char*>(f), sizeof f);
}

void BM_RequestRoundTrip(benchmark::State& state)
{
    Service s;
    if (!s.ready) {
        state.SkipWithError("service not started");
        return;
    }
    const QByteArray request = hello();
    for (auto _ : state) {
        (void)!write(s.pc, request.constData(), size_t(request.size()));
        while (s.readFrame() != 0xA010) {
        }
    }
}
BENCHMARK(BM_RequestRoundTrip)->UseRealTime();

void BM_PublicationToPushedFrame(benchmark::State& state)
{
    Service s;
    if (!s.ready) {
        state.SkipWithError("service not started");
        return;
    }
    uint32_t value = 0;
    for (auto _ : state) {
        netCtrl_updateRunningEnable(value ^= 1);
        while (s.readFrame() != 0xC010) {
        }
    }
}
BENCHMARK(BM_PublicationToPushedFrame)->UseRealTime();

// The process's CPU time per second of real time while the PC says nothing
// (the push thread polls every 10 us).
void BM_PushThreadCpuWithIdlePc(benchmark::State& state)
{
    Service s;
    if (!s.ready) {
        state.SkipWithError("service not started");
        return;
    }
    double share = 0.0;
    for (auto _ : state) {
        timespec c0{}, c1{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c0);
        const auto t0 = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c1);
        const double cpu = double(c1.tv_sec - c0.tv_sec) + double(c1.tv_nsec - c0.tv_nsec) * 1e-9;
        const double real = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        share = cpu / real;
    }
    state.counters["cpu_share"] = share;
}
BENCHMARK(BM_PushThreadCpuWithIdlePc)->Iterations(3)->UseRealTime();

} // namespace
