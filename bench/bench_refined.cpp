// Speed of the temperature-dependent calculation of the worked cases with
// the built-in steel table, at the program's own accuracy and one
// refinement up (half the mesh spacing and half the change per step).
#include <benchmark/benchmark.h>

#include "core/Refined.h"

using namespace resheat;

namespace {

// The worked cases (examples/steel-bar.dxy and examples/steel-rod.drz).
DataXY Bar()
{
    DataXY d;
    d.name.set("steel");
    d.length = 1; d.width = 0.05; d.thickness = 0.05; d.density = 7800; d.specificHeat = 481.32;
    d.conductivity = 87.88; d.resistivity = 1.5384E-7; d.supplyVoltage = 10; d.voltageDrop = 10;
    d.startTemp = 20; d.finishTemp = 1500; d.alfa = 15; d.maxContactCurrent = 1000;
    return d;
}

DataRZ Rod()
{
    DataRZ d;
    d.name.set("steel");
    d.length = 1; d.diameter = 0.05; d.density = 7800; d.specificHeat = 481.32;
    d.conductivity = 87.88; d.resistivity = 1.5384E-7; d.supplyVoltage = 10; d.voltageDrop = 10;
    d.startTemp = 20; d.finishTemp = 1500; d.alfa = 15; d.maxContactCurrent = 1000;
    return d;
}

void BM_RefinedRZ(benchmark::State &state)
{
    const DataRZ d = Rod();
    const PropertyTable steel = *BuiltInPropertyTable("steel");
    RefinedOptions o;
    o.refinement = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const auto r = RefinedCalculationRZ(d, steel, o);
        if (r.status != RefinedStatus::Reached)
            state.SkipWithError("the worked rod did not reach its finish temperature");
        benchmark::DoNotOptimize(r.heatingTime);
    }
}
BENCHMARK(BM_RefinedRZ)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RefinedXY(benchmark::State &state)
{
    const DataXY d = Bar();
    const PropertyTable steel = *BuiltInPropertyTable("steel");
    RefinedOptions o;
    o.refinement = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const auto r = RefinedCalculationXY(d, steel, o);
        if (r.status != RefinedStatus::Reached)
            state.SkipWithError("the worked bar did not reach its finish temperature");
        benchmark::DoNotOptimize(r.heatingTime);
    }
}
BENCHMARK(BM_RefinedXY)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
