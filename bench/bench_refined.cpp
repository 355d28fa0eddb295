// Speed of the temperature-dependent calculation: the worked cases with the
// built-in steel table at the program's own accuracy and one level finer,
// and the inputs that once ran for minutes (a typo in the steel table, a
// conductivity that swings between rows, properties that flip every kelvin,
// fields too weak to heat).  Each reports the largest resident memory of the
// process so far as peak_MB.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <string>

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

PropertyTable Table(const std::string &text)
{
    return ParsePropertyTable(text, PropertySource::User, "bench.csv").table;
}

// The steel table with 2.63E06 for 2.63E-07 at 200 oC.
PropertyTable SteelTypo()
{
    return Table("T_C,resistivity_Ohm_m,conductivity_W_mK,specific_heat_J_kgK\n"
                 "20,1.42E-07,59.5,450\n100,1.90E-07,57.8,480\n200,2.63E06,29.7,660\n300,3.52E-07,49.4,565\n"
                 "400,4.58E-07,45.6,610\n500,5.84E-07,41.0,680\n600,7.34E-07,36.8,770\n700,9.05E-07,33.1,940\n"
                 "750,9.93E-07,30.8,1580\n800,1.081E-06,28.5,1000\n900,1.130E-06,27.6,690\n"
                 "1000,1.163E-06,27.6,650\n1200,1.215E-06,29.7,660\n");
}

PropertyTable Swing()
{
    return Table("T_C,resistivity_Ohm_m,conductivity_W_mK,specific_heat_J_kgK\n"
                 "20,1.42E-07,1E-6,450\n500,5.84E-07,1E9,680\n1000,1.163E-06,1E-6,650\n");
}

PropertyTable Zigzag()
{
    std::string text = "T_C,resistivity_Ohm_m,conductivity_W_mK,specific_heat_J_kgK\n";
    for (int i = 0; i < 600; ++i)
        text += std::to_string(20 + i) + (i % 2 ? ",1.5E-06,0.5,4500\n" : ",1.5E-07,50,450\n");
    return Table(text);
}

void Report(benchmark::State &state)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

template <typename Data, typename Calculate>
void Run(benchmark::State &state, const Data &d, const PropertyTable &table, int refinement, Calculate calculate)
{
    RefinedOptions o;
    o.refinement = refinement;
    for (auto _ : state) {
        const auto r = calculate(d, table, o);
        benchmark::DoNotOptimize(r.heatingTime);
    }
    Report(state);
}

void BM_RefinedRZ(benchmark::State &state)
{
    Run(state, Rod(), *BuiltInPropertyTable("steel"), static_cast<int>(state.range(0)), RefinedCalculationRZ);
}
BENCHMARK(BM_RefinedRZ)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RefinedXY(benchmark::State &state)
{
    Run(state, Bar(), *BuiltInPropertyTable("steel"), static_cast<int>(state.range(0)), RefinedCalculationXY);
}
BENCHMARK(BM_RefinedXY)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The inputs that once ran for minutes, on the rod and on the bar.
void BM_HostileTableRZ(benchmark::State &state, PropertyTable (*table)())
{
    Run(state, Rod(), table(), 0, RefinedCalculationRZ);
}
void BM_HostileTableXY(benchmark::State &state, PropertyTable (*table)())
{
    Run(state, Bar(), table(), 0, RefinedCalculationXY);
}
BENCHMARK_CAPTURE(BM_HostileTableRZ, steel_typo, SteelTypo)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HostileTableXY, steel_typo, SteelTypo)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HostileTableRZ, conductivity_swing, Swing)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HostileTableXY, conductivity_swing, Swing)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HostileTableRZ, zigzag, Zigzag)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HostileTableXY, zigzag, Zigzag)->Unit(benchmark::kMillisecond);

// The worked rod at a supply voltage too low to heat it.
void BM_WeakFieldRZ(benchmark::State &state, double volts)
{
    DataRZ d = Rod();
    d.supplyVoltage = volts;
    Run(state, d, *BuiltInPropertyTable("steel"), 0, RefinedCalculationRZ);
}
BENCHMARK_CAPTURE(BM_WeakFieldRZ, 1e_8_V, 1E-8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WeakFieldRZ, 3e_8_V, 3E-8)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WeakFieldRZ, 1e_12_V, 1E-12)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
