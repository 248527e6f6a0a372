// The remote-control frame layer: answering a typical request and packing a
// pushed frame, on segments under a key base of this process.

#include "CommNetCtrlBase.h"
#include "zocmn_net_connect_parse.h"
#include "zoplatform_control_host.h"
#include "zoshm_testing_share_handle.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <sys/shm.h>
#include <unistd.h>
#include <vector>

namespace {

struct Segments
{
    Segments()
    {
        zoplat::host::setSharedMemoryKeyBase(key_t(0x30000000u | ((uint32_t(getpid()) & 0xFFFFu) << 8) | 0x35u));
        ready = netCtrlInit() == 0;
    }
    ~Segments()
    {
        shm_release_testing_handle();
        for (int i = 0; i < SHM_SEGMENT_COUNT; ++i) {
            const int id = shmget(shm_testing_key(i), 0, 0);
            if (id >= 0)
                shmctl(id, IPC_RMID, nullptr);
        }
    }
    bool ready = false;
};

// A hello read: header, sub-id 0xE101, no payload.
void BM_AnswerHelloRequest(benchmark::State& state)
{
    Segments segments;
    if (!segments.ready) {
        state.SkipWithError("segments not attached");
        return;
    }
    const uint8_t request[14] = {0x4F, 0x7A, 0xFF, 0xFF, 0x01, 0x01, 0x10, 0xA0, 0x02, 0, 0, 0, 0x01, 0xE1};
    std::vector<uint8_t> buffer(CONFER_BUFFER_SIZE);
    for (auto _ : state) {
        std::memcpy(buffer.data(), request, sizeof request);
        uint32_t reply = 0;
        benchmark::DoNotOptimize(
            net_parse_protocol_connectx(buffer.data(), sizeof request, &reply, CONFER_BUFFER_SIZE, 20));
        benchmark::DoNotOptimize(reply);
    }
}
BENCHMARK(BM_AnswerHelloRequest);

// An AC procedure record published and packed into its pushed frame.
void BM_PackProcedureFrame(benchmark::State& state)
{
    Segments segments;
    if (!segments.ready) {
        state.SkipWithError("segments not attached");
        return;
    }
    const std::vector<uint8_t> record(377, 0x5A);
    std::vector<uint8_t> buffer(CONFER_BUFFER_SIZE);
    for (auto _ : state) {
        netCtrl_updateProcedure(0xC104, record.data(), uint32_t(record.size()));
        uint32_t length = 0;
        benchmark::DoNotOptimize(net_pack_protocol_connectx(buffer.data(), &length, CONFER_BUFFER_SIZE));
        benchmark::DoNotOptimize(length);
    }
}
BENCHMARK(BM_PackProcedureFrame);

} // namespace
