// Frames per second through the product's register link to the simulated
// instrument (host build): single writes, single reads, a whole output page.

#include "SimInstrument.h"
#include "zodrv_mcasp.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

struct AttachedLink
{
    AttachedLink()
    {
        sim.setFrameLogging(false);
        sim.attach();
        ok = drv_mcasp_init() == 0;
    }
    ~AttachedLink()
    {
        drv_mcasp_release();
        sim.detach();
    }
    zorsim::SimInstrument sim;
    bool ok = false;
};

void BM_WriteFrame(benchmark::State& state)
{
    AttachedLink link;
    if (!link.ok) {
        state.SkipWithError("link set-up failed");
        return;
    }
    uint16_t v = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(drv_mcasp_write_u16(0x8304, ++v));
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WriteFrame);

void BM_ReadWord(benchmark::State& state)
{
    AttachedLink link;
    if (!link.ok) {
        state.SkipWithError("link set-up failed");
        return;
    }
    uint16_t v = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(drv_mcasp_read_u16(0x8336, &v));
    // Three command frames per read.
    state.counters["frames/s"] = benchmark::Counter(3.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadWord);

void BM_WritePage(benchmark::State& state)
{
    AttachedLink link;
    if (!link.ok) {
        state.SkipWithError("link set-up failed");
        return;
    }
    std::array<uint16_t, 384> page{};
    page[0] = 8;
    for (auto _ : state)
        benchmark::DoNotOptimize(drv_mcasp_write_u16s(0x0300, page.data(), 384));
    state.counters["frames/s"] = benchmark::Counter(384.0 * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WritePage);

} // namespace
