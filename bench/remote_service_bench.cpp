// The remote-control service's threads on 127.0.0.1 (free ports, segments
// under a key base of this process), each figure beside plain TCP on
// 127.0.0.1 measured in the same run (benchremote::PlainTcp), with their
// ratio: a request's round trip, a publication until its status frame
// reaches the PC, and the service threads' CPU share while a connected PC
// is silent. The benchmark's own time is the service's.

#include "RemoteBenchService.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

#include <chrono>
#include <ctime>
#include <limits>
#include <thread>
#include <unistd.h>

namespace {

using benchremote::readFrame;
using benchremote::seconds;
using Clock = std::chrono::steady_clock;

// The service running with a PC connected to it.
struct Service : benchremote::ServiceLink
{
    Service()
        : ServiceLink(0x31, 0x36)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));   // the threads enter the connection
    }
};

QByteArray hello()
{
    unsigned char f[14] = {0x4F, 0x7A, 0xFF, 0xFF, 0x01, 0x01, 0x10, 0xA0, 2, 0, 0, 0, 0x01, 0xE1};
    return QByteArray(reinterpret_cast<const char*>(f), sizeof f);
}

constexpr uint32_t kHelloReplyBody = 2 + 184;
constexpr uint32_t kStatusBody = 2 + sizeof(shm_testing_status_new);

// Mean times of the service and the reference (us), and their ratio.
void report(benchmark::State& state, double service, double tcp)
{
    const double n = double(state.iterations());
    state.counters["service_us"] = 1e6 * service / n;
    state.counters["tcp_us"] = 1e6 * tcp / n;
    state.counters["ratio"] = tcp > 0 ? service / tcp : std::numeric_limits<double>::infinity();
}

// Times the service's step and then the reference's on each iteration; the
// service's time is the iteration's.
template <typename ServiceStep, typename ReferenceStep>
void timePairs(benchmark::State& state, ServiceStep service, ReferenceStep reference)
{
    double serviceTotal = 0, referenceTotal = 0;
    for (auto _ : state) {
        const Clock::time_point t0 = Clock::now();
        service();
        const Clock::time_point t1 = Clock::now();
        reference();
        const Clock::time_point t2 = Clock::now();
        state.SetIterationTime(seconds(t1 - t0));
        serviceTotal += seconds(t1 - t0);
        referenceTotal += seconds(t2 - t1);
    }
    report(state, serviceTotal, referenceTotal);
}

void BM_RequestRoundTrip(benchmark::State& state)
{
    Service s;
    benchremote::PlainTcp tcp(kHelloReplyBody, kStatusBody);
    if (!s.ready || !tcp.ready) {
        state.SkipWithError("service or reference not started");
        return;
    }
    const QByteArray request = hello();
    timePairs(state,
        [&] {
            (void)!write(s.pc, request.constData(), size_t(request.size()));
            while (readFrame(s.pc) != 0xA010) {
            }
        },
        [&] {
            (void)!write(tcp.pc, request.constData(), size_t(request.size()));
            readFrame(tcp.pc);
        });
}
BENCHMARK(BM_RequestRoundTrip)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_PublicationToPushedFrame(benchmark::State& state)
{
    Service s;
    benchremote::PlainTcp tcp(kHelloReplyBody, kStatusBody);
    if (!s.ready || !tcp.ready) {
        state.SkipWithError("service or reference not started");
        return;
    }
    uint32_t value = 0;
    timePairs(state,
        [&] {
            netCtrl_updateRunningEnable(value ^= 1);
            while (readFrame(s.pc) != 0xC010) {
            }
        },
        [&] {
            tcp.push();
            readFrame(tcp.pc);
        });
}
BENCHMARK(BM_PublicationToPushedFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);

double processCpu()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// CPU time per second of real time while the PC says nothing: the service's
// threads (the process less the reference's thread; the main thread sleeps)
// beside the reference's server thread waiting on its silent connection.
void BM_IdleCpuWithSilentPc(benchmark::State& state)
{
    Service s;
    benchremote::PlainTcp tcp(kHelloReplyBody, kStatusBody);
    if (!s.ready || !tcp.ready) {
        state.SkipWithError("service or reference not started");
        return;
    }
    double service = 0, reference = 0, real = 0;
    for (auto _ : state) {
        const double p0 = processCpu(), r0 = tcp.serverCpu();
        const Clock::time_point t0 = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const double p1 = processCpu(), r1 = tcp.serverCpu();
        real += seconds(Clock::now() - t0);
        service += (p1 - p0) - (r1 - r0);
        reference += r1 - r0;
    }
    state.counters["service_pct"] = 100 * service / real;
    state.counters["tcp_pct"] = 100 * reference / real;
    state.counters["ratio"] = reference > 0 ? service / reference : std::numeric_limits<double>::infinity();
}
BENCHMARK(BM_IdleCpuWithSilentPc)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
