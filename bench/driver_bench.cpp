// Output page encoding and the register link, on the simulated instrument.

#include "SimInstrument.h"
#include "driverbase.h"
#include "zodrv_mcasp.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A three-phase state with harmonics and a frequency ramp on IA: every
// record of the page is written.
void fillState()
{
    CommDriverTestOutputData& out = *globalTestOutputData;
    out = CommDriverTestOutputData();
    globalTestControlData->controlOutputHarmEnable = 1;
    for (int c = 0; c < 8; ++c) {
        const float amplitude = c < 4 ? 57.7f : 5.0f;
        for (int k = 0; k < 4; ++k) {
            out.outputRanges[c][k] = amplitude / float(k + 1);
            out.outputAngles[c][k] = float(c % 3) * -120.0f + 30.0f * float(k);
            out.outputFrequencies[c][k] = 50.0f * float(k + 1);
        }
        out.propertyEnables[c] = COMM_STATE_PROPERTY_ENABLE_TYPE_BASE;
    }
    out.propertyEnables[4] |= COMM_STATE_PROPERTY_ENABLE_TYPE_DFDT;
    out.dfdtSlipValue[4] = 1.0f;
    out.dfdtStopValue[4] = 48.0f;
    out.outputTime = 1.0f;
}

struct Bench
{
    Bench()
    {
        sim.attach();
        driverBaseInit();
        globalConfigureHardData->systemPowerType = COMM_SYSTEM_POWER_TYPE_PAO;
    }
    ~Bench() { driverBaseRelease(); }
    zorsim::SimInstrument sim;
};

// One state encoded and written through the link into a page of the
// simulated instrument.
void BM_EncodeAndWritePage(benchmark::State& state)
{
    Bench bench;
    const uint64_t framesBefore = bench.sim.counters().frames;
    for (auto _ : state) {
        fillState();
        benchmark::DoNotOptimize(driverBaseSendTestParameterData(false, false));
        driverBaseSwitchUpdateOffset();
    }
    const double frames = double(bench.sim.counters().frames - framesBefore);
    state.counters["frames/page"] = frames / double(state.iterations());
    state.counters["frames/s"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["pages/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EncodeAndWritePage)->Unit(benchmark::kMicrosecond);

// One 16-bit register write through the link to the simulated instrument.
void BM_LinkWriteFrame(benchmark::State& state)
{
    Bench bench;
    for (auto _ : state)
        benchmark::DoNotOptimize(drv_mcasp_write_u16(0x840C, 3100));
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LinkWriteFrame);

} // namespace
