// The remote-control service's threads on 127.0.0.1 (free ports, segments
// under a key base of this process): a request's round trip, a publication
// until its status frame reaches the PC, and the push thread's CPU share
// while a connected PC is idle.

#include "RemoteBenchService.h"

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

// The service running with a PC connected to it.
struct Service : benchremote::ServiceLink
{
    Service()
        : ServiceLink(0x31, 0x36)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));   // the threads enter the connection
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
