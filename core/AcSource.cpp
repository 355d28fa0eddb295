// The heat source of an alternating current, coupled to the heating.
//
// The current distribution (CurrentDistribution.cpp) gives per node the RMS
// current density J at the resistivities and temperatures of the moment.
// The thermal solver needs the heat source q = rho_e |J|^2 at every stage
// of every step, and its derivative with respect to the node's own
// temperature for Newton's method.  It is written as
//     q = e^2 / rho_e(T),   e^2 = rho_e^2 |J|^2,
// e being the local electric field: under direct current e = E = Ur / L
// everywhere, and under alternating current e changes over the section and
// in time far more slowly than rho_e does (the skin effect redistributes the
// field, the resistivity changes eightfold).  So e^2 is what is carried
// between solves, and the node's own dependence, -e^2 rho_e' / rho_e^2, is
// that of direct current, exact at a solve.
//
// The field is solved at the end of every accepted time step and e^2 is
// carried through the next step along the rate of change between the last
// two solves (linear extrapolation in time, second-order accurate like the
// time scheme, so the two-mesh extrapolation and its estimate stay valid).
// After each step the field is solved at its end, and the difference
// between the solved e^2 and the extrapolated one it was stepped with,
// times half the step over the heat capacity, is the step's coupling
// error, added to its local error: a step whose source was extrapolated too
// far is repeated shorter.  The solver keeps its factorisation and its last
// solution, and starts the permeability from the last one, so a solve
// within a run costs a few band solutions.
#include "core/AcSource.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/Errors.h"

namespace resheat {

namespace {

CurrentSection SectionOf(const SectionMesh &mesh)
{
    CurrentSection s;
    s.bar = !mesh.radial;
    s.alongI = mesh.x;
    if (s.bar)
        s.alongJ = mesh.y;
    return s;
}

// Work of a solve in the thermal solver's units, as measured: a complex
// factorisation or band solution counts about twice a real one of the same
// size, an iteration two passes over the nodes.
double WorkOf(const CurrentResult &r, double meshNodes, double bandwidth)
{
    return r.factorisations * meshNodes * (1 + bandwidth * bandwidth / 20) +
           r.bandSolves * meshNodes * (1 + bandwidth / 4) + r.iterations * 2 * meshNodes;
}

} // namespace

AcSource::AcSource(const SectionMesh &mesh, const CurrentSupply &supply, const Permeability *steel)
    : solver_(SectionOf(mesh)), supply_(supply), steel_(steel)
{
}

AcSource::~AcSource() = default;

bool AcSource::Solve(const std::vector<double> &T, const std::vector<double> &rho, double offset,
                     double tolerance)
{
    CurrentMaterial m;
    m.resistivity = rho;
    if (steel_) {
        m.permeability = permeability_;
        if (logMu_.size() == T.size())
            for (std::size_t k = 0; k < T.size(); ++k)
                m.permeability[k] = std::exp(logMu_[k] + logMuSlope_[k] * offset);
        const Permeability *steel = steel_;
        m.magnetic = [steel](double h, double t) { return steel->Relative(h, t); };
        m.temperature = T;
    }
    CurrentResult r;
    try {
        CurrentOptions o;
        o.tolerance = tolerance;
        r = solver_.Solve(supply_, m, o);
    } catch (const ArithmeticFault &) {
        message_ = "the numbers of the current distribution overflow";
        return false;
    }
    work_ += WorkOf(r, solver_.meshNodes(), solver_.bandwidth());
    if (r.status != CurrentStatus::Solved) {
        message_ = r.status == CurrentStatus::NotConverged
                       ? "the permeability of the steel did not settle in the current distribution"
                       : "the current distribution refused the step: " + r.message;
        return false;
    }
    permeability_ = r.permeability;
    if (steel_) {
        pendingLogMu_.resize(T.size());
        for (std::size_t k = 0; k < T.size(); ++k)
            pendingLogMu_[k] = std::log(r.permeability[k]);
    }
    pending_.resize(rho.size());
    for (std::size_t k = 0; k < rho.size(); ++k)
        pending_[k] = rho[k] * rho[k] * r.currentDensitySquared[k];
    pendingValues_ = {r.current, r.power, r.resistance / r.resistanceDC, r.powerFactor, r.apparentPower, r.supplyVoltage};
    for (double v : pendingValues_)
        if (!std::isfinite(v)) {
            message_ = "the numbers of the current distribution overflow";
            return false;
        }
    pendingSpacing_ = r.surfaceSpacingPerDepth;
    return true;
}

void AcSource::Commit(double dt)
{
    const std::size_t n = pending_.size();
    if (dt > 0 && e2_.size() == n) {
        slope_.resize(n);
        for (std::size_t k = 0; k < n; ++k)
            slope_[k] = (pending_[k] - e2_[k]) / dt;
        for (int i = 0; i < kAcCount; ++i)
            rates_[i] = (pendingValues_[i] - values_[i]) / dt;
    } else {
        slope_.assign(n, 0.0);
        rates_ = {};
    }
    e2_ = pending_;
    if (steel_) {
        logMuSlope_.assign(n, 0.0);
        if (dt > 0 && logMu_.size() == n)
            for (std::size_t k = 0; k < n; ++k)
                logMuSlope_[k] = (pendingLogMu_[k] - logMu_[k]) / dt;
        logMu_ = pendingLogMu_;
    }
    values_ = pendingValues_;
    spacingPerDepth_ = std::max(spacingPerDepth_, pendingSpacing_);
}

void AcSource::Extrapolate(double offset, std::vector<double> &e2) const
{
    e2.resize(e2_.size());
    for (std::size_t k = 0; k < e2_.size(); ++k)
        e2[k] = std::max(0.0, e2_[k] + offset * slope_[k]);
}

void AcSource::Restore(const Saved &s)
{
    e2_ = s.e2;
    slope_ = s.slope;
    values_ = s.values;
    rates_ = s.rates;
}

double SmallestSkinDepth(const SectionMesh &mesh, const CurrentSupply &supply, const PropertyCurves &curves,
                         const Permeability *steel, double from, double to)
{
    const double omega = 2 * std::numbers::pi * supply.frequency;
    auto depth = [omega](double rho, double mu) { return std::sqrt(2 * rho / (omega * kMu0 * mu)); };
    double smallest = depth(curves.SmallestResistivityFrom(from), 1);
    if (!steel)
        return smallest;
    // Magnetic: the surface's permeability depends on the field there, so
    // the field is solved at uniform temperatures through the magnetic range.
    constexpr int kSamples = 8;
    const double top = std::min(to, steel->Curie());
    if (!(top > from))
        return smallest;
    const int n = mesh.size();
    CurrentSolver solver(SectionOf(mesh));
    std::vector<double> mu;
    for (int i = 0; i < kSamples; ++i) {
        const double t = from + (top - from) * i / kSamples;
        CurrentMaterial m;
        m.resistivity.assign(n, curves.At(t).rhoE);
        m.permeability = mu;
        m.magnetic = [steel](double h, double temp) { return steel->Relative(h, temp); };
        m.temperature.assign(n, t);
        CurrentResult r;
        try {
            r = solver.Solve(supply, m);
        } catch (const ArithmeticFault &) {
            return 0;
        }
        if (r.status != CurrentStatus::Solved)
            return 0;
        mu = r.permeability;
        for (int k = 0; k < n; ++k)
            if (mesh.perimeter[k] > 0)
                smallest = std::min(smallest, depth(m.resistivity[k], mu[k]));
    }
    return smallest;
}

} // namespace resheat
