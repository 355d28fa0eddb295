// Speed of one calculation run of each geometry and of a case file round trip.
#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

#include "core/Heating.h"
#include "files/DataFiles.h"

using namespace resheat;

namespace {

class SilentHost : public CalcHost {
public:
    void showMessage(const std::string &, const std::string &) override {}
};

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

// Argument 0: the series; 1: the classic formulas.
Formulas FormulasOf(const benchmark::State &state)
{
    return state.range(0) ? Formulas::Classic : Formulas::Series;
}

void BM_CalculationXY(benchmark::State &state)
{
    const DataXY d = Bar();
    SilentHost host;
    ResultsXY r;
    History h{};
    for (auto _ : state) {
        CalculationXY(d, false, r, 0, h, host, FormulasOf(state));
        benchmark::DoNotOptimize(h);
    }
}
BENCHMARK(BM_CalculationXY)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_CalculationRZ(benchmark::State &state)
{
    const DataRZ d = Rod();
    SilentHost host;
    ResultsRZ r;
    History h{};
    for (auto _ : state) {
        CalculationRZ(d, false, r, 0, h, host, FormulasOf(state));
        benchmark::DoNotOptimize(h);
    }
}
BENCHMARK(BM_CalculationRZ)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The series where they need the most roots: a 10:1 flat bar (100 x 10 mm)
// losing heat at Biot numbers 2 and 0.2.
void BM_CalculationFlatBar(benchmark::State &state)
{
    DataXY d = Bar();
    d.width = 0.1;
    d.thickness = 0.01;
    d.alfa = 3515.2;
    d.finishTemp = 600;
    SilentHost host;
    ResultsXY r;
    History h{};
    for (auto _ : state) {
        CalculationXY(d, false, r, 0, h, host);
        benchmark::DoNotOptimize(h);
    }
}
BENCHMARK(BM_CalculationFlatBar)->Unit(benchmark::kMicrosecond);

void BM_SaveLoadRoundTrip(benchmark::State &state)
{
    const auto file = (std::filesystem::temp_directory_path() /
                       ("resheat-bench-" + std::to_string(::getpid()) + ".dxy")).string();
    const DataXY d = Bar();
    SilentHost host;
    DataXY back;
    for (auto _ : state) {
        SaveDataXY(file, d);
        LoadDataXY(file, back, host);
        benchmark::DoNotOptimize(back);
    }
    std::filesystem::remove(file);
}
BENCHMARK(BM_SaveLoadRoundTrip)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
