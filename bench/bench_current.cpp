// Speed of one current-distribution solve of the worked rod (50 mm, 1 m,
// Ur = 9 V) and bar (50 x 50 mm) at 50 Hz, on meshes of the size the
// thermal solver uses: its present uniform one (rod 32 cells, a quarter bar
// 12 x 12) and one twice as fine graded to the surface.  Cold: magnetic
// steel at 20 oC; hot: 1000 oC, above the Curie point.  A first solve starts
// from nothing; a solve in a time step keeps the solver (its factorisation
// and last solution) and starts from the last permeability, the temperature
// having changed by 20 K.
#include <benchmark/benchmark.h>

#include <cmath>

#include "core/CurrentDistribution.h"
#include "core/MagneticTable.h"
#include "core/PropertyTable.h"

using namespace resheat;

namespace {

std::vector<double> Nodes(double half, int cells, double ratio)
{
    std::vector<double> w(cells), x(cells + 1, 0.0);
    double sum = 0;
    for (int i = 0; i < cells; ++i)
        sum += w[i] = std::pow(ratio, cells - 1 - i);
    for (int i = 0; i < cells; ++i)
        x[i + 1] = x[i] + w[i] / sum * half;
    x[cells] = half;
    return x;
}

CurrentSection Section(bool bar, bool fine)
{
    const int cells = bar ? (fine ? 24 : 12) : (fine ? 64 : 32);
    const double ratio = fine ? 1.06 : 1;
    CurrentSection s{bar, Nodes(0.025, cells, ratio), {}};
    if (bar)
        s.alongJ = s.alongI;
    return s;
}

const Permeability &Steel()
{
    static const Permeability p(*BuiltInMagneticTable("steel"));
    return p;
}

CurrentMaterial Material(int nodes, double temperature)
{
    static const PropertyTable table = *BuiltInPropertyTable("steel");
    CurrentMaterial m;
    m.resistivity.assign(nodes, PropertiesAt(table, temperature).resistivity);
    m.temperature.assign(nodes, temperature);
    m.magnetic = [](double h, double t) { return Steel().Relative(h, t); };
    return m;
}

// state.range(0): 0 rod, 1 bar; range(1): 0 the present mesh, 1 the fine one.
const CurrentSupply kSupply{50, 1, 9, 0};

// A first solve: a new solver, the permeability iterated from mu_r = 1.
void First(benchmark::State &state, double temperature)
{
    const CurrentSection section = Section(state.range(0) == 1, state.range(1) == 1);
    const CurrentMaterial m = Material(section.size(), temperature);
    CurrentResult r;
    for (auto _ : state) {
        CurrentSolver solver(section);
        r = solver.Solve(kSupply, m);
        benchmark::DoNotOptimize(r.resistance);
    }
    if (r.status != CurrentStatus::Solved)
        state.SkipWithError("the solve did not converge");
    state.counters["solves"] = r.iterations;
    state.counters["factorisations"] = r.factorisations;
}

// A solve in a time step: the solver and the last permeability kept, the
// temperature 20 K from the last solve's (alternately up and down).
void Step(benchmark::State &state, double temperature)
{
    const CurrentSection section = Section(state.range(0) == 1, state.range(1) == 1);
    CurrentSolver solver(section);
    CurrentMaterial a = Material(section.size(), temperature), b = Material(section.size(), temperature + 20);
    a.permeability = b.permeability = solver.Solve(kSupply, a).permeability;
    int solves = 0, factorisations = 0, count = 0;
    bool up = true;
    for (auto _ : state) {
        CurrentMaterial &m = up ? b : a;
        const auto r = solver.Solve(kSupply, m);
        if (r.status != CurrentStatus::Solved)
            state.SkipWithError("the solve did not converge");
        (up ? a : b).permeability = r.permeability;
        up = !up;
        solves += r.iterations;
        factorisations += r.factorisations;
        ++count;
    }
    state.counters["solves"] = static_cast<double>(solves) / count;
    state.counters["factorisations"] = static_cast<double>(factorisations) / count;
    state.counters["mesh_nodes"] = solver.meshNodes();
}

void BM_CurrentFirstCold(benchmark::State &state) { First(state, 20); }
void BM_CurrentFirstHot(benchmark::State &state) { First(state, 1000); }
void BM_CurrentStepCold(benchmark::State &state) { Step(state, 20); }
void BM_CurrentStepHot(benchmark::State &state) { Step(state, 1000); }

BENCHMARK(BM_CurrentFirstCold)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CurrentFirstHot)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CurrentStepCold)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CurrentStepHot)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
