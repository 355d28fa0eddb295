// The temperature-dependent heating calculation.
//
// Model.  The charge is long: the current flows along it, its ends and
// contacts lose no heat, and the temperature varies only over the
// cross-section (rod of radius D/2; bar of width w by thickness h).  The real
// voltage Ur = U (1 - dU/100) lies over the length L, so the axial field
// E = Ur / L is the same everywhere in the section (direct current; no skin
// effect).  Locally the current density is E / rho_e(T) and the heat
// generated q = E^2 / rho_e(T); the current is I = E * integral of
// 1/rho_e(T) over the section and the power P = Ur I.  In the section
//     rho c(T) dT/dt = div(lambda(T) grad T) + q,
// with the case's constant density rho, and at the surface
//     -lambda dT/dn = alpha (T - Ta) + eps sigma ((T + 273.15)^4 - (Ta + 273.15)^4),
// Ta being the start temperature.  The charge starts uniform at the start
// temperature; the heating time is when the centre (axis of the rod, centre
// of the bar's section) reaches the finish temperature.  rho_e, lambda and c
// are piecewise linear in T through the table's points, constant beyond.
//
// Space.  Vertex-centred finite volumes (Patankar's "practice A") on a
// tensor-product grid whose nodes include the centre and the surface, each
// node owning the control volume halfway to its neighbours (half volumes on
// the boundaries).  The rod is meshed radially; the bar by a quarter of its
// section, the two symmetry planes carrying no flux.  So the reported points
// (axis, surface, the middles of the faces, the corner) are nodes and their
// temperatures are the computed values there.  The spacing is graded: under
// the surface the cells are a sixteenth of the half side (bar: of the
// shorter one; rod: a twenty-fourth of the radius), smaller still where the
// layer that the surface loss bends in the heating time is thinner, and they
// grow by at most kGrowth per cell towards the centre up to a sixth (rod: a
// twelfth) of the half side.  Conduction between neighbours uses the
// Kirchhoff transform Phi(T) = integral of lambda dT (exact for piecewise
// linear lambda), so the flux is G (Phi_j - Phi_i) with a purely geometric
// G; the heat content is the enthalpy H(T) = integral of c dT, also exact.
// The heat generated is computed in one place per node, from its
// resistivity.
//
// Time: the two-stage TR-BDF2 scheme (a trapezoidal stage to t + g dt,
// g = 2 - sqrt 2, then a BDF2 stage to t + dt): implicit, L-stable and
// second-order accurate.  It is written for the enthalpy, so each stage
// conserves energy exactly: the electrical energy and the surface losses are
// summed with the scheme's own weights, and electrical = stored + lost holds
// to the tolerance of the nonlinear solution.  Each stage is solved by
// Newton's method, the Jacobian taken with respect to Phi (then it is
// symmetric: the conduction part is a graph Laplacian, everything else is on
// the diagonal) and factorised as a band matrix (Cholesky); a factorisation
// is kept, also into the next stage, while each iteration cuts the residual
// at least tenfold.  Newton stops when the residual, as a temperature, or
// the last correction is below 1E-4 of the step tolerance; when it fails, the
// step is tried again with each node going no further than the next table
// point per iteration (a sharp bend of the properties is then met with the
// slope beyond it), then shorter.  The step length is controlled by the
// local error: the scheme's embedded third-order companion gives an
// estimate of each step's error (Hosea and Shampine's, filtered through the
// stage matrix so that stiff components do not inflate it), together with
// the distance of the history's cubic from the first stage at the reported
// points; a step whose largest node error exceeds the tolerance is repeated
// shorter, and the next length follows the error's third-order growth.  The
// step that carries the centre past the finish temperature is repeated with
// the length (found by the Illinois variant of regula falsi) that ends it on
// the finish temperature.  The history between the stored step ends is
// interpolated by cubic Hermite polynomials from the values and their time
// derivatives.
//
// Two runs, extrapolation and the error estimate.  The run is repeated on
// the mesh with every second node (the cells twice as large) and the step
// tolerance eight times larger, so that both parts of the error, second
// order in space and in time, are about four times those of the first run.
// The second run marches to the first one's heating time.  Richardson's
// extrapolation f + (f - c) / 3 of the two at the same times removes the
// leading error; the heating time is where the extrapolated centre reaches
// the finish temperature (a shift along the centre's rate), and every
// reported value is moved to it along its own rate.  The estimate is
// Richardson's estimate of the first run's error, |f - c| / 3, the largest
// over the reported temperatures and the history rows; the extrapolated
// values are closer still (in the convergence tests 2.5 to 10 times).  The
// heating time's estimate is the shift: near a balance of heating and losses
// the centre's rate is small and the heating time uncertain, and the
// estimate says so.  While the estimate exceeds twice the targets (0.2 K,
// 0.05 % of the heating time), the pair is run again one level finer (both
// meshes halved, the tolerance divided by eight), as long as the work bound
// allows it.
//
// Steady states.  Before the run an upper bound of the centre temperature
// follows from the largest heat the table allows, E^2 / (least rho_e): a
// section heated by it everywhere has a surface temperature no higher than
// where the loss carries it away (rod: q R / 2 per unit of surface; bar:
// q b for the shorter half side b) and a centre no more than q R^2 / 4 (rod)
// or q b^2 / 2 (bar) above that in Phi.  Below the finish temperature the
// centre cannot reach it: the steady state is solved for at once (implicit
// pseudo-time steps growing to Newton's method on the steady equations) and
// reported.  During the run, when the centre's rate has fallen below half
// its mean and the rest of the rise at that rate would take four times the
// time so far, the steady state is solved for from the current field; below
// the finish temperature the run stops there.
//
// Bounds.  The mesh has at most kMaxCells cells along a half side, the
// sample store for the history at most kMaxSamples step ends (every second
// one is dropped when it fills), and the work of a calculation is counted in
// node updates: past kWorkLimit, or when the iteration fails even on the
// shortest step, the run stops with "the calculation did not converge"; so
// it does when the two runs end so far apart (kMaxShift, kMaxEstimate) that
// neither is to be trusted.  It also stops when 1000 times the
// constant-property heating time 1.5 m c (Tf - Ts) / P has passed without
// reaching the finish temperature.  Memory does not grow with the steps.
#include "core/Refined.h"
#include "core/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "core/BandMatrix.h"
#include "core/CaseCheck.h"
#include "core/Errors.h"
#include "core/Heating.h"
#include "core/Lumped.h"
#include "core/PropertyCurves.h"
#include "core/SectionMesh.h"

namespace resheat {

namespace {

using Vec = std::vector<double>;

constexpr double kKelvin = 273.15;
constexpr double kMaxPropertyDeviation = 0.2; // case vs table at the start temperature
constexpr double kTimeLimitFactor = 1000;     // times the constant-property heating time
constexpr int kMaxRefinement = 3;

// Level 0: the coarser mesh of the pair (the finer one halves every cell)
// and the largest local error of a step of the finer run.  The rod's runs
// are cheap: it gets twice the cells and half the tolerance.
struct LevelZero {
    double surfaceDivisions; // cells under the surface: the half side (bar: the shorter) over this
    double minCells;         // the largest cells: the half side over this
    double tolerance;        // [K]
};
constexpr LevelZero kRodLevel{24, 12, 0.01}, kBarLevel{16, 6, 0.02};
constexpr double kGrowth = 1.25;        // largest ratio of neighbouring cells
constexpr double kLayerDivisions = 3;   // cells across the layer the surface loss bends
constexpr int kMaxCells = 40;           // along a half side, before the halving
constexpr double kMaxChange = 100;      // [K] of a node in one step, for Newton's sake
// Newton's iteration stops when the residual, as a temperature, or the last
// correction is below this share of the step tolerance (the steady state:
// below kSteadyTolerance).
constexpr double kNewtonShare = 1E-4;
constexpr double kSteadyTolerance = 1E-9; // [K]
constexpr std::size_t kMaxSamples = 4096;
// Work one calculation may spend, in units of about 5 to 8 ns on a current
// desktop core: a pass over the nodes counts one a node, a factorisation
// 2 + bw^2 / 40 a node, a solution 1 + bw / 8 (bw the bandwidth); at most
// 0.6 s in all.
constexpr double kWorkLimit = 7E7;
constexpr double kStepOverhead = 100; // work of a time step beside its nodes'
constexpr double kCallOverhead = 20;  // of a pass over the nodes
// Runs so far apart that no result is given: the extrapolation moves the
// heating time by more than this share of it, or the estimate exceeds this
// share of the rise from the start to the finish temperature.
constexpr double kMaxShift = 0.1;
constexpr double kMaxEstimate = 0.1;
// Rate of the centre, as a share of its mean rate, below which the heating
// time is reported as sensitive.
constexpr double kSensitiveRate = 1.0 / 20;

// TR-BDF2 coefficients.
const double kGamma = 2 - std::numbers::sqrt2;
const double kD = kGamma / 2;                 // diagonal of both stages
const double kW = std::numbers::sqrt2 / 4;    // weight of the first two stage values
// The embedded third-order companion minus the scheme, per stage derivative.
const double kE1 = (1 - 4 * kW) / 3, kE2 = 1.0 / 3, kE3 = -2 * kD / 3;

std::string Num(double v) { return GeneralText(v); }

// ---------------------------------------------------------------- solver

struct Setup {
    bool bar = false;
    SectionMesh mesh;
    double length = 0, density = 0, field = 0, realVoltage = 0;
    double alfa = 0, emissivity = 0, ambient = 0;
    double startTemp = 0, finishTemp = 0;
    double timeLimit = 0; // [s]
    double tolerance = 0; // [K] largest local error of a step
    // > 0: march to this time and stop, whether or not the centre reached
    // the finish temperature (the run that estimates the error).
    double endTime = 0;
    // Share of the whole calculation's progress this run covers.
    double progressFrom = 0, progressTo = 1;
};

// A temperature field with what follows from it.
struct State {
    Vec T;
    Vec F;          // [W/m] net heat flow into each node's control volume
    double P = 0;   // [W] electrical power
    double Q = 0;   // [W] surface losses
    double I = 0;   // [A] current
};

// One stored step end for the history.
struct Sample {
    double t;
    std::array<double, 5> v;  // To, second, third, I, P
    std::array<double, 5> dv; // their time derivatives
};

// The step ends of a run, for the history: at most kMaxSamples; when full,
// every second one is dropped, so the memory does not grow with the steps.
class SampleStore {
public:
    void Add(const Sample &s)
    {
        if (samples_.size() >= kMaxSamples) {
            std::size_t kept = 0;
            for (std::size_t i = 0; i < samples_.size(); i += 2)
                samples_[kept++] = samples_[i];
            samples_.resize(kept);
        }
        samples_.push_back(s);
    }

    // Cubic Hermite interpolation at time t; beyond the last sample (by a
    // small step at most) along its slope.
    std::array<double, 5> At(double t) const
    {
        auto hi = std::lower_bound(samples_.begin(), samples_.end(), t,
                                   [](const Sample &s, double x) { return s.t < x; });
        if (hi == samples_.begin())
            return samples_.front().v;
        if (hi == samples_.end()) {
            const Sample &last = samples_.back();
            std::array<double, 5> v{};
            for (std::size_t c = 0; c < v.size(); ++c)
                v[c] = last.v[c] + last.dv[c] * (t - last.t);
            return v;
        }
        const Sample &a = *(hi - 1);
        const Sample &b = *hi;
        const double h = b.t - a.t;
        const double u = (t - a.t) / h;
        const double h00 = (1 + 2 * u) * (1 - u) * (1 - u), h10 = u * (1 - u) * (1 - u);
        const double h01 = u * u * (3 - 2 * u), h11 = u * u * (u - 1);
        std::array<double, 5> v{};
        for (std::size_t c = 0; c < v.size(); ++c)
            v[c] = h00 * a.v[c] + h10 * h * a.dv[c] + h01 * b.v[c] + h11 * h * b.dv[c];
        return v;
    }

private:
    std::vector<Sample> samples_;
};

// What a run reports at its end, and how fast each changes there: the
// temperatures of the centre, the mean and the surface points, the current,
// the power, and the electrical energy, losses and stored heat so far.
enum EndIndex { kCentre, kMean, kSecond, kThird, kCorner, kCurrent, kPower, kEnergy, kLoss, kStored, kEndCount };
struct Ends {
    std::array<double, kEndCount> value{}, rate{};
};

// How one run ended.
struct March {
    RefinedStatus status = RefinedStatus::NotConverged;
    std::string message;     // status other than Reached
    double t = 0;            // [s] when it stopped
    State end;
    double energy = 0, loss = 0, maxCurrent = 0; // [J], [J], [A]
    double currentStart = 0, powerStart = 0; // [A], [W]
    Ends ends;               // status Reached
    double steadyCentre = 0; // NotReached by a balance: the steady centre [oC]
    int steps = 0;
    SampleStore samples;
};

// Work counted over the runs of one calculation.
struct Budget {
    double work = 0;
    double limit = 0;
    bool Spent() const { return work > limit; }
};

class Solver {
public:
    Solver(const Setup &s, const PropertyCurves &curves, const RefinedOptions &options, Budget &budget)
        : s_(s), curves_(curves), options_(options), budget_(budget)
    {
        const int n = s_.mesh.size();
        prop_.resize(n);
        segment_.assign(n, 0);
        res_.assign(n, 0.0);
        work_.assign(n, 0.0);
        Hn_.assign(n, 0.0);
        B_.assign(n, 0.0);
        rate_.assign(n, 0.0);
    }

    March Run();
    // The steady state reached from `st` (in place).  False when the
    // iteration does not settle.
    bool Steady(State &st, double dt);
    double CentreRate(const State &st)
    {
        EvaluateProperties(st.T);
        const int k = s_.mesh.centre;
        return st.F[k] / (s_.density * s_.mesh.area[k] * prop_[k].c);
    }
    Ends EndsOf(const State &st, double energy, double loss)
    {
        const SectionMesh &m = s_.mesh;
        const Sample smp = MakeSample(0, st); // leaves the properties of st in prop_
        Ends e;
        double mean = 0, meanRate = 0, area = 0;
        for (int k = 0; k < m.size(); ++k) {
            mean += m.area[k] * st.T[k];
            meanRate += st.F[k] / (s_.density * prop_[k].c);
            area += m.area[k];
        }
        auto node = [&](int k) {
            return k < 0 ? std::pair{0.0, 0.0}
                         : std::pair{st.T[k], st.F[k] / (s_.density * m.area[k] * prop_[k].c)};
        };
        const std::pair<double, double> values[kEndCount] = {
            node(m.centre), {mean / area, meanRate / area}, node(m.second), node(m.third), node(m.corner),
            {smp.v[3], smp.dv[3]}, {smp.v[4], smp.dv[4]}, {energy, st.P}, {loss, st.Q},
            {Stored(st), st.P - st.Q}};
        for (int i = 0; i < kEndCount; ++i) {
            e.value[i] = values[i].first;
            e.rate[i] = values[i].second;
        }
        return e;
    }

    double Stored(const State &st)
    {
        EvaluateProperties(st.T);
        const double h0 = curves_.At(s_.startTemp).H;
        double sum = 0;
        for (int k = 0; k < s_.mesh.size(); ++k)
            sum += s_.mesh.area[k] * (prop_[k].H - h0);
        return s_.length * s_.density * sum;
    }
    // False when a number of the field's flows is not finite.
    bool Complete(State &st)
    {
        EvaluateProperties(st.T);
        st.F.resize(st.T.size());
        Flows(st.T, st.F);
        const SectionMesh &m = s_.mesh;
        double conductance = 0, loss = 0;
        for (int k = 0; k < m.size(); ++k) {
            conductance += m.area[k] / prop_[k].rhoE;
            loss += m.perimeter[k] * Loss(st.T[k]);
        }
        st.I = s_.field * conductance;
        st.P = s_.realVoltage * st.I;
        st.Q = s_.length * loss;
        return std::isfinite(st.I) && std::isfinite(st.P) && std::isfinite(st.Q);
    }

private:
    const Setup &s_;
    const PropertyCurves &curves_;
    const RefinedOptions &options_;
    Budget &budget_;
    std::vector<PropertyCurves::Value> prop_;
    std::vector<int> segment_;
    BandMatrix J_;
    bool jacobianValid_ = false;
    double jacobianBdt_ = 0;
    Vec res_, work_, Hn_, B_, rate_;
    State mid_;
    bool careful_ = false;

    double Loss(double T) const
    {
        const double a = T + kKelvin, b = s_.ambient + kKelvin;
        return s_.alfa * (T - s_.ambient) + s_.emissivity * kStefanBoltzmann * (a * a * a * a - b * b * b * b);
    }
    double LossSlope(double T) const
    {
        const double a = T + kKelvin;
        return s_.alfa + 4 * s_.emissivity * kStefanBoltzmann * a * a * a;
    }

    void EvaluateProperties(const Vec &T)
    {
        for (std::size_t k = 0; k < T.size(); ++k)
            prop_[k] = curves_.At(T[k], segment_[k]);
    }

    // Heat generated per unit volume, and its derivative with respect to T,
    // at the properties of node k: the one place the source is computed.
    double Source(int k) const { return s_.field * s_.field / prop_[k].rhoE; }
    double SourceSlope(int k) const
    {
        const auto &p = prop_[k];
        return -s_.field * s_.field * p.dRhoE / (p.rhoE * p.rhoE);
    }

    // Net heat flows F of the field whose properties are in prop_.
    void Flows(const Vec &T, Vec &F) const
    {
        const SectionMesh &m = s_.mesh;
        for (int k = 0; k < m.size(); ++k)
            F[k] = m.area[k] * Source(k) - m.perimeter[k] * Loss(T[k]);
        for (int j = 0; j < m.ny; ++j)
            for (int i = 0; i < m.nx; ++i) {
                const int k = i + j * m.nx;
                if (i + 1 < m.nx) {
                    const double f = m.gi[k] * (prop_[k + 1].phi - prop_[k].phi);
                    F[k] += f;
                    F[k + 1] -= f;
                }
                if (j + 1 < m.ny) {
                    const double f = m.gj[k] * (prop_[k + m.nx].phi - prop_[k].phi);
                    F[k] += f;
                    F[k + m.nx] -= f;
                }
            }
    }

    // Forms and factorises the Jacobian of the stage residual with respect to
    // Phi at the properties in prop_.  False when it is not positive definite.
    bool FormJacobian(const Vec &T, double bdt)
    {
        const SectionMesh &m = s_.mesh;
        const int n = m.size();
        J_.Reset(n, m.bandwidth());
        for (int k = 0; k < n; ++k) {
            const auto &p = prop_[k];
            const double diag = s_.density * m.area[k] * p.c / bdt - m.area[k] * SourceSlope(k) +
                                m.perimeter[k] * LossSlope(T[k]);
            J_.At(k, 0) += diag / p.lambda;
            if (k % m.nx + 1 < m.nx) {
                J_.At(k, 0) += m.gi[k];
                J_.At(k + 1, 0) += m.gi[k];
                J_.At(k + 1, 1) -= m.gi[k];
            }
            if (m.ny > 1 && k + m.nx < n) {
                J_.At(k, 0) += m.gj[k];
                J_.At(k + m.nx, 0) += m.gj[k];
                J_.At(k + m.nx, m.nx) -= m.gj[k];
            }
        }
        const double bw = m.bandwidth();
        budget_.work += kCallOverhead + n * (2 + bw * bw / 40);
        jacobianBdt_ = bdt;
        jacobianValid_ = J_.Factorise();
        return jacobianValid_;
    }

    // Newton's method for the stage equation
    //     rho A (H(T) - B / (rho A)) / bdt = F(T),
    // B being the known part, starting from T.  Keeps the factorised
    // Jacobian (also from the previous stage) as long as each iteration cuts
    // the residual at least tenfold.  False when it fails.
    bool SolveStage(Vec &T, const Vec &B, double bdt, double tolerance)
    {
        const SectionMesh &m = s_.mesh;
        const int n = m.size();
        if (bdt != jacobianBdt_)
            jacobianValid_ = false;
        double previous = 0;
        for (int iter = 0; iter < 30; ++iter) {
            budget_.work += kCallOverhead + n;
            EvaluateProperties(T);
            Flows(T, res_);
            // The residual as a temperature: what it would change in the node alone.
            double worst = 0;
            for (int k = 0; k < n; ++k) {
                const double mass = s_.density * m.area[k];
                res_[k] = (mass * prop_[k].H - B[k]) / bdt - res_[k];
                worst = std::max(worst, std::abs(res_[k]) * bdt / (mass * prop_[k].c));
            }
            if (!std::isfinite(worst))
                return false;
            if (worst < tolerance)
                return true;
            if ((!jacobianValid_ || (iter > 0 && worst > 0.1 * previous)) && !FormJacobian(T, bdt))
                return false;
            previous = worst;
            for (int k = 0; k < n; ++k)
                work_[k] = -res_[k];
            J_.Solve(work_);
            budget_.work += kCallOverhead + n * (1 + m.bandwidth() / 8.0);
            double step = 0;
            for (int k = 0; k < n; ++k) {
                double dT = work_[k] / prop_[k].lambda;
                // Careful mode: a node goes no further than the next table
                // point per iteration, so that a sharp bend of the
                // properties is met with the slope beyond it.
                if (careful_ && std::isfinite(dT))
                    dT = curves_.Limit(T[k], T[k] + dT) - T[k];
                T[k] += dT;
                step = std::max(step, std::abs(dT));
                if (!(T[k] > -kKelvin) || !std::isfinite(T[k]))
                    return false;
            }
            // Where conduction dominates (small cells), rounding keeps the
            // residual above the tolerance; a correction below it is done.
            if (step < tolerance)
                return true;
        }
        return false;
    }

    // One TR-BDF2 step of length dt from `from` (complete).  Fills `to`, the
    // electrical energy and losses of the step and the estimate of its
    // largest local error [K].
    bool Step(const State &from, double dt, State &to, double &energy, double &loss, double &error)
    {
        const SectionMesh &m = s_.mesh;
        const int n = m.size();
        budget_.work += n + kStepOverhead;
        EvaluateProperties(from.T);
        for (int k = 0; k < n; ++k) {
            Hn_[k] = s_.density * m.area[k] * prop_[k].H;
            rate_[k] = from.F[k] / (s_.density * m.area[k] * prop_[k].c);
        }

        // Trapezoidal stage to t + gamma dt, predicted along the starting slope.
        State &mid = mid_;
        mid.T = from.T;
        for (int k = 0; k < n; ++k) {
            mid.T[k] += kGamma * dt * rate_[k];
            B_[k] = Hn_[k] + kD * dt * from.F[k];
        }
        if (!SolveStage(mid.T, B_, kD * dt, kNewtonShare * s_.tolerance) || !Complete(mid))
            return false;

        // BDF2 stage to t + dt, predicted by the parabola through the start
        // (value and slope) and the first stage.
        to.T.resize(n);
        for (int k = 0; k < n; ++k) {
            const double curve = (mid.T[k] - from.T[k] - kGamma * dt * rate_[k]) / (kGamma * kGamma);
            to.T[k] = from.T[k] + dt * rate_[k] + curve;
            B_[k] = Hn_[k] + kW * dt * (from.F[k] + mid.F[k]);
        }
        if (!SolveStage(to.T, B_, kD * dt, kNewtonShare * s_.tolerance) || !Complete(to))
            return false;
        energy = dt * (kW * (from.P + mid.P) + kD * to.P);
        loss = dt * (kW * (from.Q + mid.Q) + kD * to.Q);

        // Local error: the companion's difference in heat content, filtered
        // through the stage matrix, as temperatures.
        error = 0;
        if (!jacobianValid_ && !FormJacobian(to.T, kD * dt))
            return false;
        for (int k = 0; k < n; ++k)
            work_[k] = (kE1 * from.F[k] + kE2 * mid.F[k] + kE3 * to.F[k]) / kD;
        J_.Solve(work_);
        EvaluateProperties(to.T);
        for (int k = 0; k < n; ++k)
            error = std::max(error, std::abs(work_[k] / prop_[k].lambda));
        // The history's cubic between the step ends must follow the reported
        // points: it is checked against the first stage (a bend of the
        // properties within the step shows there).
        const double u = kGamma;
        const double h00 = (1 + 2 * u) * (1 - u) * (1 - u), h10 = u * (1 - u) * (1 - u);
        const double h01 = u * u * (3 - 2 * u), h11 = u * u * (u - 1);
        for (const int k : {m.centre, m.second, m.third}) {
            if (k < 0)
                continue;
            const double rateTo = to.F[k] / (s_.density * m.area[k] * prop_[k].c);
            const double cubic = h00 * from.T[k] + h10 * dt * rate_[k] + h01 * to.T[k] + h11 * dt * rateTo;
            error = std::max(error, std::abs(cubic - mid.T[k]));
        }
        return std::isfinite(energy) && std::isfinite(loss) && std::isfinite(error);
    }

    Sample MakeSample(double t, const State &st)
    {
        EvaluateProperties(st.T);
        const SectionMesh &m = s_.mesh;
        Sample smp{t, {}, {}};
        auto rate = [&](int k) { return st.F[k] / (s_.density * m.area[k] * prop_[k].c); };
        double dConductance = 0;
        for (int k = 0; k < m.size(); ++k)
            dConductance -= m.area[k] * prop_[k].dRhoE / (prop_[k].rhoE * prop_[k].rhoE) * rate(k);
        const double dI = s_.field * dConductance;
        smp.v = {st.T[m.centre], st.T[m.second], m.third >= 0 ? st.T[m.third] : 0.0, st.I, st.P};
        smp.dv = {rate(m.centre), rate(m.second), m.third >= 0 ? rate(m.third) : 0.0, dI,
                  s_.realVoltage * dI};
        return smp;
    }

    bool Cancelled() const { return options_.cancel && options_.cancel->load(); }
    void Progress(double fraction) const
    {
        if (options_.progress)
            options_.progress(s_.progressFrom + (s_.progressTo - s_.progressFrom) * fraction);
    }
};

bool Solver::Steady(State &st, double dt)
{
    // Implicit Euler steps in pseudo-time, each three times longer than the
    // last: far from the steady state they follow the heating, near it
    // they become Newton's method on the steady equations.
    const SectionMesh &m = s_.mesh;
    const int n = m.size();
    Vec old(n), B(n);
    double tau = std::max(dt, 1E-9 * s_.timeLimit);
    for (int it = 0; it < 200; ++it) {
        if (budget_.Spent() || Cancelled())
            return false;
        old = st.T;
        EvaluateProperties(st.T);
        for (int k = 0; k < n; ++k)
            B[k] = s_.density * m.area[k] * prop_[k].H;
        if (!SolveStage(st.T, B, tau, kSteadyTolerance) || !Complete(st)) {
            st.T = old;
            if (!Complete(st))
                return false;
            tau *= 0.25;
            if (tau < 1E-15 * s_.timeLimit)
                return false;
            continue;
        }
        double change = 0;
        for (int k = 0; k < n; ++k)
            change = std::max(change, std::abs(st.T[k] - old[k]));
        // Settled: a step far longer than the run so far changes nothing.
        if (change < 1E-7 && tau > 1E6 * s_.timeLimit)
            return true;
        tau *= 3;
    }
    return false;
}

March Solver::Run()
{
    const SectionMesh &m = s_.mesh;
    const int n = m.size();
    March out;
    State cur;
    cur.T.assign(n, s_.startTemp);
    double t = 0;
    auto stop = [&](RefinedStatus status, const std::string &text) {
        out.status = status;
        out.message = text;
        out.t = t;
        out.end = cur;
        return std::move(out);
    };
    auto notConverged = [&](const std::string &why) {
        return stop(RefinedStatus::NotConverged, "the calculation did not converge: " + why + " (at " + Num(t) +
                                                     " s, the centre at " + Num(cur.T[m.centre]) + " oC).");
    };
    if (!Complete(cur))
        return notConverged("the numbers overflow");
    out.maxCurrent = out.currentStart = cur.I;
    out.powerStart = cur.P;
    out.samples.Add(MakeSample(0, cur));

    // First step: a kelvin at the fastest initial rate.
    double fastest = 0;
    EvaluateProperties(cur.T);
    for (int k = 0; k < n; ++k)
        fastest = std::max(fastest, std::abs(cur.F[k]) / (s_.density * m.area[k] * prop_[k].c));
    const double horizon = s_.endTime > 0 ? s_.endTime : s_.timeLimit;
    double dt = fastest > 0 ? std::min(horizon, 1.0 / fastest) : horizon;
    const double minStep = 1E-12 * s_.timeLimit;
    const double tol = 1E-9 * (s_.finishTemp - s_.startTemp);
    double progress = 0, nextSteadyCheck = 0;

    State next;
    for (;;) {
        if (Cancelled())
            return stop(RefinedStatus::Cancelled, "The calculation was cancelled.");
        if (s_.endTime == 0 && t >= s_.timeLimit)
            return stop(RefinedStatus::NotReached,
                        "The centre has not reached the finish temperature within " + Num(kTimeLimitFactor) +
                            " times the constant-property heating time, " + Num(s_.timeLimit) +
                            " s; it is at " + Num(cur.T[m.centre]) + " oC.");
        if (budget_.Spent())
            return notConverged("it needs too many time steps");
        const bool last = horizon - t <= dt * (1 + 1E-9);
        if (last)
            dt = horizon - t;
        double de = 0, dq = 0, error = 0;
        careful_ = false;
        bool okStep = Step(cur, dt, next, de, dq, error);
        if (!okStep) {
            careful_ = true;
            okStep = Step(cur, dt, next, de, dq, error);
        }
        if (!okStep) {
            dt *= 0.25;
            if (dt < minStep)
                return notConverged("the iteration fails even on the shortest time step");
            continue;
        }
        double change = 0;
        for (int k = 0; k < n; ++k)
            change = std::max(change, std::abs(next.T[k] - cur.T[k]));
        const double grow = error > 0 ? 0.9 * std::cbrt(s_.tolerance / error) : 2.0;
        if ((error > s_.tolerance || change > kMaxChange) && dt > minStep) {
            dt *= std::clamp(std::min(grow, kMaxChange / change), 0.2, 0.9);
            continue;
        }
        ++out.steps;

        if (s_.endTime == 0 && next.T[m.centre] >= s_.finishTemp) {
            // Repeat the step with the length that ends it on the finish
            // temperature (Illinois variant of regula falsi).
            double lo = 0, glo = cur.T[m.centre] - s_.finishTemp;
            double hi = dt, ghi = next.T[m.centre] - s_.finishTemp;
            State land = next;
            double landE = de, landQ = dq, landDt = dt;
            int side = 0;
            for (int it = 0; it < 60 && ghi > tol; ++it) {
                const double s = (lo * ghi - hi * glo) / (ghi - glo);
                State trial;
                double te = 0, tq = 0, terr = 0;
                if (!(s > lo && s < hi) || !Step(cur, s, trial, te, tq, terr))
                    break;
                const double g = trial.T[m.centre] - s_.finishTemp;
                if (g >= 0) {
                    land = trial;
                    landE = te, landQ = tq, landDt = s;
                    hi = s, ghi = g;
                    if (side == 1)
                        glo /= 2;
                    side = 1;
                } else {
                    lo = s, glo = g;
                    if (side == -1)
                        ghi /= 2;
                    side = -1;
                    if (-g <= tol) { // close enough from below
                        land = trial;
                        landE = te, landQ = tq, landDt = s;
                        break;
                    }
                }
                if (hi - lo <= 1E-15 * dt)
                    break;
            }
            t += landDt;
            out.energy += landE;
            out.loss += landQ;
            cur = land;
            out.maxCurrent = std::max(out.maxCurrent, cur.I);
            out.samples.Add(MakeSample(t, cur));
            break;
        }

        t = last ? horizon : t + dt;
        out.energy += de;
        out.loss += dq;
        std::swap(cur, next);
        out.maxCurrent = std::max(out.maxCurrent, cur.I);
        out.samples.Add(MakeSample(t, cur));

        if (s_.endTime > 0) {
            Progress(t / s_.endTime);
            if (last)
                break;
        } else {
            const double tc = cur.T[m.centre];
            progress = std::max(progress, std::clamp((tc - s_.startTemp) / (s_.finishTemp - s_.startTemp), 0.0, 1.0));
            Progress(progress);
            // Slowing down far from the finish: is there a steady state below it?
            const double rate = CentreRate(cur);
            if (t >= nextSteadyCheck && rate < 0.5 * (tc - s_.startTemp) / t &&
                s_.finishTemp - tc > 4 * t * std::max(rate, 0.0)) {
                nextSteadyCheck = 2 * t;
                State steady = cur;
                if (Steady(steady, dt) && steady.T[m.centre] < s_.finishTemp) {
                    out.steadyCentre = steady.T[m.centre];
                    cur = steady;
                    return stop(RefinedStatus::NotReached,
                                "The centre cannot reach the finish temperature: the surface losses balance "
                                "the heating at a centre temperature of " +
                                    Num(out.steadyCentre) + " oC.");
                }
            }
        }
        dt *= std::clamp(std::min(grow, change > 0 ? 2 * kMaxChange / change : 2.0), 0.2, 2.0);
    }

    out.status = RefinedStatus::Reached;
    out.t = t;
    out.end = cur;
    out.ends = EndsOf(cur, out.energy, out.loss);
    Progress(1.0);
    return out;
}

// ---------------------------------------------------------------- steady states

// The surface temperature at which the loss per unit of surface is `flux`
// (the loss rises strictly above the ambient); infinity without losses.
double SurfaceTemperatureFor(double flux, double alfa, double emissivity, double ambient)
{
    auto loss = [&](double T) {
        const double a = T + kKelvin, b = ambient + kKelvin;
        return alfa * (T - ambient) + emissivity * kStefanBoltzmann * (a * a * a * a - b * b * b * b);
    };
    if (!(alfa > 0 || emissivity > 0) || !std::isfinite(flux))
        return HUGE_VAL;
    double lo = ambient, hi = ambient + 1;
    while (loss(hi) < flux) {
        lo = hi;
        hi = ambient + 2 * (hi - ambient);
        if (!std::isfinite(hi))
            return HUGE_VAL;
    }
    for (int i = 0; i < 200 && hi - lo > 1E-12 * (1 + std::abs(hi)); ++i) {
        const double mid = (lo + hi) / 2;
        (loss(mid) < flux ? lo : hi) = mid;
    }
    return hi;
}

// An upper bound of the centre temperature: see the top of the file.
double CentreBound(const Setup &s, const PropertyCurves &curves, double halfSide)
{
    const double qmax = s.field * s.field / curves.SmallestResistivityFrom(s.startTemp);
    const bool rod = !s.bar;
    const double surface =
        SurfaceTemperatureFor(rod ? qmax * halfSide / 2 : qmax * halfSide, s.alfa, s.emissivity, s.ambient);
    if (!std::isfinite(surface))
        return HUGE_VAL;
    const double phi = curves.Phi(surface) + qmax * halfSide * halfSide / (rod ? 4 : 2);
    return std::isfinite(phi) ? curves.TemperatureOfPhi(phi) : HUGE_VAL;
}

// ---------------------------------------------------------------- checks

using Field = NamedValue;

std::string CheckTable(const PropertyTable &t)
{
    if (t.points.empty())
        return "The property table has no points.";
    for (std::size_t i = 0; i < t.points.size(); ++i) {
        const auto &p = t.points[i];
        if (!std::isfinite(p.temperature) || p.temperature <= -kKelvin ||
            (i > 0 && !(p.temperature > t.points[i - 1].temperature)))
            return "The temperatures of the property table must increase, point by point.";
        if (!(std::isfinite(p.resistivity) && p.resistivity > 0 && std::isfinite(p.conductivity) &&
              p.conductivity > 0 && std::isfinite(p.specificHeat) && p.specificHeat > 0))
            return "Every property of the property table must be a positive number.";
    }
    if (!(t.emissivity >= 0 && t.emissivity <= 1))
        return "Emissivity must be a number from 0 to 1.";
    return {};
}

// What the two geometries share, taken from either record.
struct CaseValues {
    double length, density, specificHeat, conductivity, resistivity;
    double supplyVoltage, voltageDrop, startTemp, finishTemp, alfa, maxContactCurrent;
    double mass, lumpedCurrent, lumpedPower;
};

// The refusals and messages the constant-property series share.
std::string CheckCase(const CaseValues &c, std::initializer_list<Field> sizes)
{
    return CheckCaseValues(c.length, sizes, c.density, c.specificHeat, c.conductivity, c.resistivity,
                           c.supplyVoltage, c.voltageDrop, c.startTemp, c.finishTemp, c.alfa,
                           c.maxContactCurrent);
}

std::vector<std::string> Warnings(const CaseValues &c, const PropertyTable &t)
{
    std::vector<std::string> w;
    if (t.source == PropertySource::Constant)
        return w;
    if (t.solidus && c.finishTemp >= *t.solidus)
        w.push_back("The finish temperature (" + Num(c.finishTemp) + " oC) is at or above the solidus (" +
                    Num(*t.solidus) + " oC).");
    const Properties p = PropertiesAt(t, c.startTemp);
    const struct {
        const char *name;
        double mine, table;
        const char *unit;
    } compare[] = {{"resistivity", c.resistivity, p.resistivity, "ohm m"},
                   {"heat conductivity", c.conductivity, p.conductivity, "W/(mK)"},
                   {"specific heat", c.specificHeat, p.specificHeat, "J/(kgK)"}};
    for (const auto &x : compare)
        if (std::abs(x.mine - x.table) > kMaxPropertyDeviation * x.table)
            w.push_back("The case's " + std::string(x.name) + " (" + Num(x.mine) + " " + x.unit +
                        ") differs by more than 20 % from the table's at the start temperature (" +
                        Num(x.table) + " " + x.unit + ").");
    if (c.finishTemp > t.points.back().temperature)
        w.push_back("The finish temperature (" + Num(c.finishTemp) + " oC) lies beyond the table's last point (" +
                    Num(t.points.back().temperature) + " oC); above it the last values are used.");
    return w;
}

// The case's cross-section: half sides (rod: the radius) and what sizes the mesh.
struct Section {
    bool bar = false;
    double a = 0, b = 0; // half width and half thickness; rod: a = radius
};

const LevelZero &Level(const Section &sec) { return sec.bar ? kBarLevel : kRodLevel; }

// Node positions along one half side of the coarser mesh.
std::vector<double> AxisNodes(const Section &sec, double half, double surfaceSpacing)
{
    return GradedNodes(half, surfaceSpacing, half / Level(sec).minCells, kGrowth);
}

// Spacing under the surface: the (shorter) half side over
// surfaceDivisions, and no more than a third of the depth that heat
// diffuses in the lumped heating time (the layer the surface loss bends,
// with the mean diffusivity from the start to the finish temperature); at
// most kMaxCells cells along a half side.
double SurfaceSpacing(const Section &sec, const PropertyCurves &curves, const Setup &s, double lumpedTime)
{
    const double shorter = sec.bar ? std::min(sec.a, sec.b) : sec.a;
    double spacing = shorter / Level(sec).surfaceDivisions;
    constexpr int kSamples = 16;
    double kappa = 0;
    for (int i = 0; i <= kSamples; ++i) {
        const auto p = curves.At(s.startTemp + (s.finishTemp - s.startTemp) * i / kSamples);
        kappa += p.lambda / (s.density * p.c) / (kSamples + 1);
    }
    const double layer = std::sqrt(kappa * lumpedTime);
    if (std::isfinite(layer) && layer > 0)
        spacing = std::min(spacing, layer / kLayerDivisions);
    const double longer = sec.bar ? std::max(sec.a, sec.b) : sec.a;
    while (AxisNodes(sec, longer, spacing).size() > kMaxCells + 1)
        spacing *= 1.25;
    return spacing;
}

SectionMesh MakeMesh(const Section &sec, double surfaceSpacing, int halvings)
{
    auto axis = [&](double half) {
        auto v = AxisNodes(sec, half, surfaceSpacing);
        for (int i = 0; i < halvings; ++i)
            v = Bisected(v);
        return v;
    };
    return sec.bar ? BarMesh(axis(sec.a), axis(sec.b)) : RodMesh(axis(sec.a));
}

// Targets of the calculation's own accuracy.  The estimate is that of the
// finer run; the extrapolated values are closer (in the convergence tests
// by a factor of 2.5 to 10): while it exceeds twice either target, the next
// level is run, if the work bound allows.
constexpr double kTargetTemperature = 0.2; // [K]
constexpr double kTargetTime = 5E-4;       // share of the heating time
constexpr double kEstimateMargin = 2;
// Work of the next level as a multiple of this one's.
constexpr double kLevelCostRod = 5, kLevelCostBar = 20;

// What every level shares.
struct Problem {
    Section sec;
    const CaseValues &c;
    const PropertyCurves &curves;
    const RefinedOptions &options;
    Setup base;           // everything but the mesh, the tolerance and the progress
    double spacing = 0;   // [m] under the surface, coarser mesh of level 0
};

// The runs of one level: the finer one to the finish temperature, the
// coarser one to the same time, and the extrapolated result.  `r` carries
// what the case gives; `from` and `to` the share of the progress.
RefinedResult RunLevel(const Problem &p, RefinedResult r, int level, double from, double to, Budget &budget)
{
    const CaseValues &c = p.c;
    const bool bar = p.sec.bar;
    Setup s = p.base;
    s.mesh = MakeMesh(p.sec, p.spacing, level + 1);
    s.tolerance = Level(p.sec).tolerance / std::pow(8.0, level);
    s.progressFrom = from;
    s.progressTo = from + 0.9 * (to - from);
    r.nodes = s.mesh.size();

    auto stopped = [&](const March &run) {
        r.status = run.status;
        r.stopMessages = {run.message};
        r.steadyCentre = run.steadyCentre;
        r.lastCentre = run.end.T.empty() ? c.startTemp : run.end.T[s.mesh.centre];
        r.lastTime = run.t;
        r.steps = run.steps;
        return r;
    };

    Solver fine(s, p.curves, p.options, budget);
    const double bound =
        level == p.options.refinement ? CentreBound(s, p.curves, bar ? std::min(p.sec.a, p.sec.b) : p.sec.a) : HUGE_VAL;
    if (bound < c.finishTemp) {
        // A field too weak to reach the finish temperature at all: the
        // steady state straight away.
        March run;
        run.status = RefinedStatus::NotReached;
        run.end.T.assign(s.mesh.size(), c.startTemp);
        if (fine.Complete(run.end) && fine.Steady(run.end, 1E-6 * s.timeLimit)) {
            run.steadyCentre = run.end.T[s.mesh.centre];
            run.message = "The centre cannot reach the finish temperature: the surface losses balance the heating "
                          "at a centre temperature of " + Num(run.steadyCentre) + " oC.";
        } else {
            run.end.T.assign(s.mesh.size(), c.startTemp);
            run.message = "The centre cannot reach the finish temperature: the surface losses balance the heating "
                          "at a centre temperature of at most " + Num(bound) + " oC.";
        }
        return stopped(run);
    }

    const March f = fine.Run();
    if (f.status != RefinedStatus::Reached)
        return stopped(f);

    // The same to the same time on the coarser mesh with longer steps.
    Setup sc = s;
    sc.mesh = MakeMesh(p.sec, p.spacing, level);
    sc.tolerance = 8 * s.tolerance;
    sc.endTime = f.t;
    sc.progressFrom = s.progressTo;
    sc.progressTo = to;
    const March k = Solver(sc, p.curves, p.options, budget).Run();
    if (k.status != RefinedStatus::Reached) {
        stopped(k);
        r.lastCentre = f.end.T[s.mesh.centre];
        r.lastTime = f.t;
        r.steps = f.steps;
        return r;
    }

    // Richardson's extrapolation of the two at the finer run's heating
    // time, moved along the finer run's rates to where the centre is at the
    // finish temperature.
    auto extrapolate = [](double fine, double coarse) { return fine + (fine - coarse) / 3; };
    Ends x;
    for (std::size_t i = 0; i < x.value.size(); ++i)
        x.value[i] = extrapolate(f.ends.value[i], k.ends.value[i]);
    const double rate = f.ends.rate[kCentre];
    const double shift = rate > 0 ? (c.finishTemp - x.value[kCentre]) / rate : HUGE_VAL;
    const RefinedResult before = r;
    auto apart = [&](const std::string &what) {
        RefinedResult out = before;
        out.status = RefinedStatus::NotConverged;
        out.stopMessages = {"the calculation did not converge: the runs on two meshes differ by " + what + "."};
        out.lastCentre = f.end.T[s.mesh.centre];
        out.lastTime = f.t;
        out.steps = f.steps;
        return out;
    };
    if (!(std::abs(shift) <= kMaxShift * f.t))
        return apart(std::isfinite(shift) ? Num(3 * std::abs(shift)) + " s in the heating time" : "too much");
    for (std::size_t i = 0; i < x.value.size(); ++i)
        x.value[i] += f.ends.rate[i] * shift;

    r.status = RefinedStatus::Reached;
    r.steps = f.steps;
    r.heatingTime = f.t + shift;
    r.lastTime = r.heatingTime;
    r.centre = r.lastCentre = c.finishTemp;
    r.mean = x.value[kMean];
    if (bar) {
        r.tw = x.value[kSecond];
        r.th = x.value[kThird];
        r.corner = x.value[kCorner];
        r.differenceK = r.centre - r.corner;
    } else {
        r.surface = x.value[kSecond];
        r.differenceK = r.centre - r.surface;
    }
    r.currentStart = f.currentStart;
    r.powerStart = f.powerStart;
    r.currentEnd = x.value[kCurrent];
    r.powerEnd = x.value[kPower];
    r.energy = x.value[kEnergy];
    r.loss = x.value[kLoss];
    r.stored = x.value[kStored];
    r.efficiency = r.stored / r.energy;

    // The history at the new heating time's fiftieths, the estimate from
    // the two runs' differences at the same times.
    double worst = 0;
    for (std::size_t i = 0; i <= kSecond + (bar ? 2 : 0); ++i)
        worst = std::max(worst, std::abs(f.ends.value[i] - k.ends.value[i]));
    r.maxCurrent = std::max({f.currentStart, f.maxCurrent, r.currentEnd});
    for (int i = 1; i <= kHistoryRows; ++i) {
        auto &row = r.history[i - 1];
        if (i == kHistoryRows) {
            row.temperatures = {r.heatingTime, r.centre, x.value[kSecond], bar ? x.value[kThird] : 0.0};
            row.current = r.currentEnd;
            row.power = r.powerEnd;
            continue;
        }
        const double ti = r.heatingTime * i / kHistoryRows;
        auto v = f.samples.At(ti);
        const auto w = k.samples.At(ti);
        for (int col = 0; col < (bar ? 3 : 2); ++col)
            worst = std::max(worst, std::abs(v[col] - w[col]));
        for (std::size_t col = 0; col < v.size(); ++col)
            v[col] = extrapolate(v[col], w[col]);
        row.temperatures = {ti, v[0], v[1], bar ? v[2] : 0.0};
        row.current = v[3];
        row.power = v[4];
        r.maxCurrent = std::max(r.maxCurrent, row.current);
    }
    if (worst / 3 > kMaxEstimate * (c.finishTemp - c.startTemp))
        return apart("up to " + Num(worst) + " K");
    r.contacts = ContactsRoundedUp(r.maxCurrent, c.maxContactCurrent);
    r.errorEstimate.temperature = worst / 3;
    r.errorEstimate.heatingTime = std::abs(shift);
    if (rate < kSensitiveRate * (c.finishTemp - c.startTemp) / r.heatingTime)
        r.warnings.push_back("The heating time is sensitive: the centre approaches the finish temperature slowly");
    return r;
}

RefinedResult Calculate(const Section &sec, const CaseValues &c, std::initializer_list<Field> sizes,
                        const PropertyTable &table, const RefinedOptions &options)
{
    RefinedResult r;
    const bool bar = sec.bar;
    r.bar = bar;
    r.properties = table.name;
    r.source = table.source;
    r.emissivity = options.emissivity.value_or(table.emissivity);
    auto refuse = [&](const std::string &text) {
        r.status = RefinedStatus::Refused;
        r.stopMessages = {text};
        return r;
    };
    if (auto m = CheckCase(c, sizes); !m.empty())
        return refuse(m);
    if (auto m = CheckTable(table); !m.empty())
        return refuse(m);
    if (!(r.emissivity >= 0 && r.emissivity <= 1))
        return refuse("Emissivity must be a number from 0 to 1.");
    if (options.refinement < 0 || options.refinement > kMaxRefinement)
        return refuse("The refinement must be from 0 to " + std::to_string(kMaxRefinement) + ".");

    const double ur = RealVoltage(c.supplyVoltage, c.voltageDrop);
    const double field = ur / c.length;
    const double density = field * field / PropertiesAt(table, c.startTemp).resistivity;
    r.contactsConstant = ContactsRoundedUp(c.lumpedCurrent, c.maxContactCurrent);
    if (!(density <= kPowerDensityLimit)) {
        r.status = RefinedStatus::Rejected;
        r.stopMessages = {"Power density greatest then 1E10 ?!!!", "Change input data"};
        if (std::isfinite(density)) {
            r.fieldStrength = field;
            r.powerDensityStart = density;
        }
        return r;
    }
    r.fieldStrength = field;
    r.powerDensityStart = density;
    r.warnings = Warnings(c, table);

    const PropertyCurves curves(table);
    const double lumpedTime = HeatingTime(c.mass, c.specificHeat, c.startTemp, c.finishTemp, c.lumpedPower);
    Problem p{sec, c, curves, options, {}, 0};
    Setup &s = p.base;
    s.bar = bar;
    s.length = c.length;
    s.density = c.density;
    s.field = field;
    s.realVoltage = ur;
    s.alfa = c.alfa;
    s.emissivity = r.emissivity;
    s.ambient = c.startTemp;
    s.startTemp = c.startTemp;
    s.finishTemp = c.finishTemp;
    s.timeLimit = kTimeLimitFactor * lumpedTime;
    p.spacing = SurfaceSpacing(sec, curves, s, lumpedTime / 1.5);

    // Levels from the one asked for, finer while the estimate misses the
    // targets and the next level fits in the work that is left.
    Budget budget;
    budget.limit = kWorkLimit * std::pow(bar ? kLevelCostBar : kLevelCostRod, options.refinement);
    RefinedResult best;
    double from = 0;
    for (int level = options.refinement;; ++level) {
        const double spent = budget.work;
        RefinedResult now = RunLevel(p, r, level, from, from + 0.9 * (1 - from), budget);
        if (now.status == RefinedStatus::NotConverged && level > options.refinement)
            break; // out of work on the way: the last level stands
        best = std::move(now);
        if (best.status != RefinedStatus::Reached)
            return best;
        const double cost = (budget.work - spent) * (bar ? kLevelCostBar : kLevelCostRod);
        const bool accurate =
            best.errorEstimate.temperature <= kEstimateMargin * kTargetTemperature &&
            best.errorEstimate.heatingTime <= kEstimateMargin * kTargetTime * best.heatingTime;
        if (accurate || level == kMaxRefinement || budget.work + cost > budget.limit)
            break;
        from += 0.9 * (1 - from);
    }
    if (options.progress)
        options.progress(1.0);
    return best;
}

} // namespace

double RoundedEstimate(double estimate)
{
    if (!(estimate > 0) || !std::isfinite(estimate))
        return 0;
    const double unit = std::pow(10.0, std::floor(std::log10(estimate)) - 1);
    // Rounding of the division must not push an exact value up a unit.
    return std::ceil(estimate / unit * (1 - 1E-12)) * unit;
}

RefinedResult RefinedCalculationXY(const DataXY &d, const PropertyTable &table,
                                   const RefinedOptions &options)
{
    CaseValues c{d.length, d.density, d.specificHeat, d.conductivity, d.resistivity,
                 d.supplyVoltage, d.voltageDrop, d.startTemp, d.finishTemp, d.alfa,
                 d.maxContactCurrent, 0, 0, 0};
    const std::initializer_list<Field> sizes{{"Width of charge", d.width}, {"Thickness of charge", d.thickness}};
    if (CheckCase(c, sizes).empty()) {
        c.mass = ChargeMassXY(d);
        c.lumpedCurrent = CurrentIntensity(RealVoltage(d.supplyVoltage, d.voltageDrop), ChargeResistanceXY(d));
        c.lumpedPower = AppliedPower(RealVoltage(d.supplyVoltage, d.voltageDrop), c.lumpedCurrent);
    }
    return Calculate(Section{true, d.width / 2, d.thickness / 2}, c, sizes, table, options);
}

RefinedResult RefinedCalculationRZ(const DataRZ &d, const PropertyTable &table,
                                   const RefinedOptions &options)
{
    CaseValues c{d.length, d.density, d.specificHeat, d.conductivity, d.resistivity,
                 d.supplyVoltage, d.voltageDrop, d.startTemp, d.finishTemp, d.alfa,
                 d.maxContactCurrent, 0, 0, 0};
    const std::initializer_list<Field> sizes{{"Diameter of charge", d.diameter}};
    if (CheckCase(c, sizes).empty()) {
        c.mass = ChargeMassRZ(d);
        c.lumpedCurrent = CurrentIntensity(RealVoltage(d.supplyVoltage, d.voltageDrop), ChargeResistanceRZ(d));
        c.lumpedPower = AppliedPower(RealVoltage(d.supplyVoltage, d.voltageDrop), c.lumpedCurrent);
    }
    return Calculate(Section{false, d.diameter / 2, 0}, c, sizes, table, options);
}

} // namespace resheat
