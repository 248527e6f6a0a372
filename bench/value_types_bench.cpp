// Cost of the value-type arithmetic that the fault calculators run per state.
#include <benchmark/benchmark.h>

#include "BaseDataPhaseValue.h"
#include "BaseDataRepairFactor.h"
#include "BaseDataUtility.h"

static void VectorQuotient(benchmark::State& state)
{
    BaseDataVector a(57.7, 30), b(3.2, -75);
    for (auto _ : state) {
        a.dataAngle += 1e-3;
        benchmark::DoNotOptimize(a / b);
    }
}
BENCHMARK(VectorQuotient);

static void SequenceFromPhase(benchmark::State& state)
{
    BaseDataPhaseValue a(57.7, 0, 50), b(50, 235, 50), c(60, 118, 50), p0, p1, p2;
    for (auto _ : state) {
        a.dataAngle += 1e-3;
        BaseDataPhaseValue::sequenceFromPhase(a, b, c, p0, p1, p2);
        benchmark::DoNotOptimize(p2);
    }
}
BENCHMARK(SequenceFromPhase);

static void RepairFactorModeA(benchmark::State& state)
{
    BaseDataRepairFactor f;
    f.dataType = BaseDataRepairFactor::REPAIR_TYPE_Z0Z1;
    f.dataFactor1 = 3.1;
    f.dataFactor2 = -6.8;
    f.dataCalcPerlXexlEnable = true;
    f.dataShortAngle = 80;
    for (auto _ : state) {
        f.dataSettingAngle += 1e-6;
        benchmark::DoNotOptimize(f.toKLVector());
    }
}
BENCHMARK(RepairFactorModeA);

static void AngleFold(benchmark::State& state)
{
    double angle = 1000.0;
    for (auto _ : state) {
        angle += 0.5;
        benchmark::DoNotOptimize(BaseDataUtility::formatAngle(angle, true));
    }
}
BENCHMARK(AngleFold);
