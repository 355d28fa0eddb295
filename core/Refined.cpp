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
// Method.  Vertex-centred finite volumes (Patankar's "practice A"): nodes on
// a uniform grid that includes the centre and the surface, each node owning
// the control volume halfway to its neighbours (half volumes on the
// boundaries).  The rod is meshed radially; the bar by a quarter of its
// section, the two symmetry planes carrying no flux.  So the reported points
// (axis, surface, the middles of the faces, the corner) are nodes and their
// temperatures are the computed values there, not those of a neighbouring
// cell.  Conduction between neighbours uses the Kirchhoff transform
// Phi(T) = integral of lambda dT (exact for piecewise linear lambda), so the
// flux is G (Phi_j - Phi_i) with a purely geometric G; the heat content is
// the enthalpy H(T) = integral of c dT, also exact.
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
// at least tenfold.  Newton stops when the residual, as a temperature, or the
// last correction is below 1E-9 K.  The step length is
// adapted to the change per step: the largest change of a node temperature
// is held near a target (kTargetChange, halved with each refinement); steps
// that change more than twice the target, or whose Newton iteration fails,
// are repeated shorter.  The step that carries the centre past the finish
// temperature is repeated with the length (found by the Illinois variant of
// regula falsi) that ends it on the finish temperature.  The history between
// the stored step ends is interpolated by cubic Hermite polynomials from the
// values and their time derivatives.
//
// The run stops without a heating time when the losses balance the heating
// (the net power falls below 1E-9 of the power: the steady state is reached
// to within a tiny fraction of a kelvin; large implicit steps get there in a
// few steps), or when 1000 times the constant-property heating time
// 1.5 m c (Tf - Ts) / P has passed.
#include "core/Refined.h"
#include "core/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "core/Arith.h"
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

// Mesh at refinement 0: cells from the axis to the surface of the rod.  The
// bar's cells are about square, at most a twelfth of the longer half side and
// a sixth of the shorter one (a flat bar needs the finer spacing at its
// edges), with at most kMaxBarCells along a side.
constexpr int kRodCells = 32;
constexpr int kBarCells = 12;
constexpr int kMinBarCells = 6;
constexpr int kMaxBarCells = 240;
constexpr double kTargetChange = 20; // [K] largest node change per time step, refinement 0
constexpr double kNewtonTolerance = 1E-9; // [K]

// TR-BDF2 coefficients.
const double kGamma = 2 - std::numbers::sqrt2;
const double kD = kGamma / 2;                 // diagonal of both stages
const double kW = std::numbers::sqrt2 / 4;    // weight of the first two stage values

std::string Num(double v) { return GeneralText(v); }

// ---------------------------------------------------------------- solver

struct Setup {
    bool bar = false;
    SectionMesh mesh;
    double length = 0, density = 0, field = 0, realVoltage = 0;
    double alfa = 0, emissivity = 0, ambient = 0;
    double startTemp = 0, finishTemp = 0, maxContactCurrent = 0;
    double timeLimit = 0, targetChange = 0;
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

class Solver {
public:
    Solver(const Setup &s, const PropertyTable &table, const RefinedOptions &options)
        : s_(s), curves_(table), options_(options)
    {
        const int n = s_.mesh.size();
        prop_.resize(n);
        res_.assign(n, 0.0);
        work_.assign(n, 0.0);
    }

    RefinedResult Run(RefinedResult r);

private:
    const Setup &s_;
    PropertyCurves curves_;
    const RefinedOptions &options_;
    std::vector<PropertyCurves::Value> prop_;
    BandMatrix J_;
    bool jacobianValid_ = false;
    double jacobianBdt_ = 0;
    Vec res_, work_;

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
            prop_[k] = curves_.At(T[k]);
    }

    // Net heat flows F of the field whose properties are in prop_.
    void Flows(const Vec &T, Vec &F) const
    {
        const SectionMesh &m = s_.mesh;
        const double e2 = s_.field * s_.field;
        for (int k = 0; k < m.size(); ++k)
            F[k] = m.area[k] * e2 / prop_[k].rhoE - m.perimeter[k] * Loss(T[k]);
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

    void Complete(State &st)
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
        st.I = arith::Chk(s_.field * conductance);
        st.P = arith::Chk(s_.realVoltage * st.I);
        st.Q = arith::Chk(s_.length * loss);
    }

    // Forms and factorises the Jacobian of the stage residual with respect to
    // Phi at the properties in prop_.  False when it is not positive definite.
    bool FormJacobian(const Vec &T, double bdt)
    {
        const SectionMesh &m = s_.mesh;
        const int n = m.size();
        const double e2 = s_.field * s_.field;
        J_.Reset(n, m.bandwidth());
        for (int k = 0; k < n; ++k) {
            const auto &p = prop_[k];
            const double dq = -e2 * p.dRhoE / (p.rhoE * p.rhoE);
            const double diag = s_.density * m.area[k] * p.c / bdt - m.area[k] * dq +
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
        jacobianBdt_ = bdt;
        jacobianValid_ = J_.Factorise();
        return jacobianValid_;
    }

    // Solves rho A (H(T) - H*) = beta dt F(T) for T, B holding rho A H*.
    // T comes in as the predictor.  Newton's method, keeping a factorised
    // Jacobian (also from the previous stage) as long as each iteration cuts
    // the residual at least tenfold.  False when it fails.
    bool SolveStage(Vec &T, const Vec &B, double bdt)
    {
        const SectionMesh &m = s_.mesh;
        const int n = m.size();
        if (bdt != jacobianBdt_)
            jacobianValid_ = false;
        double previous = 0;
        for (int iter = 0; iter < 30; ++iter) {
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
            if (worst < kNewtonTolerance)
                return true;
            if ((!jacobianValid_ || (iter > 0 && worst > 0.1 * previous)) && !FormJacobian(T, bdt))
                return false;
            previous = worst;
            for (int k = 0; k < n; ++k)
                work_[k] = -res_[k];
            J_.Solve(work_);
            double step = 0;
            for (int k = 0; k < n; ++k) {
                const double dT = work_[k] / prop_[k].lambda;
                T[k] += dT;
                step = std::max(step, std::abs(dT));
                if (!(T[k] > -kKelvin) || !std::isfinite(T[k]))
                    return false;
            }
            // Where conduction dominates (small cells), rounding keeps the
            // residual above the tolerance; a correction below it is done.
            if (step < kNewtonTolerance)
                return true;
        }
        return false;
    }

    // One TR-BDF2 step of length dt from `from`.  Fills `to` and the
    // electrical energy and losses of the step.
    bool Step(const State &from, double dt, State &to, double &energy, double &loss)
    {
        const SectionMesh &m = s_.mesh;
        const int n = m.size();
        Vec Hn(n), B(n), rate(n);
        EvaluateProperties(from.T);
        for (int k = 0; k < n; ++k) {
            Hn[k] = s_.density * m.area[k] * prop_[k].H;
            rate[k] = from.F[k] / (s_.density * m.area[k] * prop_[k].c);
        }

        // Trapezoidal stage to t + gamma dt, predicted along the starting slope.
        State mid;
        mid.T = from.T;
        for (int k = 0; k < n; ++k) {
            mid.T[k] += kGamma * dt * rate[k];
            B[k] = Hn[k] + kD * dt * from.F[k];
        }
        if (!SolveStage(mid.T, B, kD * dt))
            return false;
        Complete(mid);

        // BDF2 stage to t + dt, predicted by the parabola through the start
        // (value and slope) and the first stage.
        to.T.resize(n);
        for (int k = 0; k < n; ++k) {
            const double curve = (mid.T[k] - from.T[k] - kGamma * dt * rate[k]) / (kGamma * kGamma);
            to.T[k] = from.T[k] + dt * rate[k] + curve;
            B[k] = Hn[k] + kW * dt * (from.F[k] + mid.F[k]);
        }
        if (!SolveStage(to.T, B, kD * dt))
            return false;
        Complete(to);
        energy = dt * (kW * (from.P + mid.P) + kD * to.P);
        loss = dt * (kW * (from.Q + mid.Q) + kD * to.Q);
        return true;
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

    double Stored(const State &st)
    {
        EvaluateProperties(st.T);
        const double h0 = curves_.At(s_.startTemp).H;
        double sum = 0;
        for (int k = 0; k < s_.mesh.size(); ++k)
            sum += s_.mesh.area[k] * (prop_[k].H - h0);
        return s_.length * s_.density * sum;
    }

    bool Cancelled() const { return options_.cancel && options_.cancel->load(); }
};

// Cubic Hermite interpolation of the samples at time t.
std::array<double, 5> Interpolate(const std::vector<Sample> &samples, double t)
{
    auto hi = std::lower_bound(samples.begin(), samples.end(), t,
                               [](const Sample &s, double x) { return s.t < x; });
    if (hi == samples.begin())
        return samples.front().v;
    if (hi == samples.end())
        return samples.back().v;
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

RefinedResult Solver::Run(RefinedResult r)
{
    const SectionMesh &m = s_.mesh;
    const int n = m.size();
    r.nodes = n;

    State cur;
    cur.T.assign(n, s_.startTemp);
    Complete(cur);
    r.currentStart = cur.I;
    r.powerStart = cur.P;
    r.maxCurrent = cur.I;

    std::vector<Sample> samples{MakeSample(0, cur)};
    double t = 0, energy = 0, loss = 0, progress = 0;

    // First step: the target change at the fastest initial rate.
    double fastest = 0;
    EvaluateProperties(cur.T);
    for (int k = 0; k < n; ++k)
        fastest = std::max(fastest, std::abs(cur.F[k]) / (s_.density * m.area[k] * prop_[k].c));
    double dt = std::min(s_.timeLimit, 0.5 * s_.targetChange / fastest);
    const double minStep = 1E-12 * s_.timeLimit;
    const double tol = 1E-9 * (s_.finishTemp - s_.startTemp);

    State next;
    auto stop = [&](RefinedStatus status, const std::string &text) {
        r.status = status;
        r.stopMessages = {text};
        r.lastCentre = cur.T[m.centre];
        r.lastTime = t;
        return r;
    };

    for (;;) {
        if (Cancelled())
            return stop(RefinedStatus::Cancelled, "The calculation was cancelled.");
        if (t >= s_.timeLimit)
            return stop(RefinedStatus::NotReached,
                        "The centre has not reached the finish temperature within " + Num(kTimeLimitFactor) +
                            " times the constant-property heating time, " + Num(s_.timeLimit) +
                            " s; it is at " + Num(cur.T[m.centre]) + " oC.");
        dt = std::min(dt, s_.timeLimit - t);
        double de = 0, dq = 0;
        if (!Step(cur, dt, next, de, dq)) {
            dt *= 0.25;
            if (dt < minStep)
                throw ArithmeticFault(kInvalidOperation);
            continue;
        }
        double change = 0;
        for (int k = 0; k < n; ++k)
            change = std::max(change, std::abs(next.T[k] - cur.T[k]));
        if (change > 2 * s_.targetChange && dt > minStep) {
            dt *= 0.5 * s_.targetChange / change;
            continue;
        }
        ++r.steps;

        if (next.T[m.centre] >= s_.finishTemp) {
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
                double te = 0, tq = 0;
                if (!(s > lo && s < hi) || !Step(cur, s, trial, te, tq))
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
            energy += landE;
            loss += landQ;
            cur = land;
            r.maxCurrent = std::max(r.maxCurrent, cur.I);
            samples.push_back(MakeSample(t, cur));
            break;
        }

        t += dt;
        energy += de;
        loss += dq;
        cur = next;
        r.maxCurrent = std::max(r.maxCurrent, cur.I);
        samples.push_back(MakeSample(t, cur));

        progress = std::max(progress, std::clamp((cur.T[m.centre] - s_.startTemp) /
                                                     (s_.finishTemp - s_.startTemp), 0.0, 1.0));
        if (options_.progress)
            options_.progress(progress);

        if (cur.P > 0 && std::abs(cur.P - cur.Q) <= 1E-9 * cur.P) {
            r.steadyCentre = cur.T[m.centre];
            return stop(RefinedStatus::NotReached,
                        "The centre cannot reach the finish temperature: the surface losses balance "
                        "the heating at a centre temperature of " + Num(r.steadyCentre) + " oC.");
        }
        dt *= change > 0 ? std::clamp(s_.targetChange / change, 0.3, 2.0) : 2.0;
    }

    if (options_.progress)
        options_.progress(1.0);

    r.status = RefinedStatus::Reached;
    r.heatingTime = t;
    r.lastTime = t;
    r.lastCentre = cur.T[m.centre];
    r.centre = cur.T[m.centre];
    double mean = 0, area = 0;
    for (int k = 0; k < n; ++k) {
        mean += m.area[k] * cur.T[k];
        area += m.area[k];
    }
    r.mean = mean / area;
    if (s_.bar) {
        r.tw = cur.T[m.second];
        r.th = cur.T[m.third];
        r.corner = cur.T[m.corner];
        r.differenceK = r.centre - r.corner;
    } else {
        r.surface = cur.T[m.second];
        r.differenceK = r.centre - r.surface;
    }
    r.currentEnd = cur.I;
    r.powerEnd = cur.P;
    r.energy = energy;
    r.loss = loss;
    r.stored = Stored(cur);
    r.efficiency = r.stored / r.energy;
    r.contacts = ContactsRoundedUp(r.maxCurrent, s_.maxContactCurrent);

    for (int i = 1; i <= kHistoryRows; ++i) {
        const double ti = i == kHistoryRows ? t : t * i / kHistoryRows;
        const auto v = Interpolate(samples, ti);
        auto &row = r.history[i - 1];
        row.temperatures = {ti, v[0], v[1], s_.bar ? v[2] : 0.0};
        row.current = v[3];
        row.power = v[4];
    }
    return r;
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

RefinedResult Calculate(bool bar, const CaseValues &c, std::initializer_list<Field> sizes,
                        const std::function<SectionMesh(int)> &makeMesh, const PropertyTable &table,
                        const RefinedOptions &options)
{
    RefinedResult r;
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
    r.fieldStrength = arith::Div(ur, c.length);
    r.powerDensityStart =
        arith::Div(arith::Mul(r.fieldStrength, r.fieldStrength), PropertiesAt(table, c.startTemp).resistivity);
    r.contactsConstant = ContactsRoundedUp(c.lumpedCurrent, c.maxContactCurrent);
    if (r.powerDensityStart > kPowerDensityLimit) {
        r.status = RefinedStatus::Rejected;
        r.stopMessages = {"Power density greatest then 1E10 ?!!!", "Change input data"};
        return r;
    }
    r.warnings = Warnings(c, table);

    Setup s;
    s.bar = bar;
    s.mesh = makeMesh(1 << options.refinement);
    s.length = c.length;
    s.density = c.density;
    s.field = r.fieldStrength;
    s.realVoltage = ur;
    s.alfa = c.alfa;
    s.emissivity = r.emissivity;
    s.ambient = c.startTemp;
    s.startTemp = c.startTemp;
    s.finishTemp = c.finishTemp;
    s.maxContactCurrent = c.maxContactCurrent;
    s.timeLimit = kTimeLimitFactor *
                  HeatingTime(c.mass, c.specificHeat, c.startTemp, c.finishTemp, c.lumpedPower);
    s.targetChange = kTargetChange / (1 << options.refinement);
    return Solver(s, table, options).Run(r);
}

int CellsAlong(double side, double spacing, int scale)
{
    const long cells = std::lround(side / spacing);
    return static_cast<int>(std::clamp<long>(cells, kMinBarCells, kMaxBarCells)) * scale;
}

} // namespace

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
    const double spacing = std::min(std::max(d.width, d.thickness) / kBarCells,
                                    std::min(d.width, d.thickness) / kMinBarCells);
    return Calculate(true, c, sizes,
                     [&](int scale) {
                         return BarMesh(d.width, d.thickness, CellsAlong(d.width, spacing, scale),
                                        CellsAlong(d.thickness, spacing, scale));
                     },
                     table, options);
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
    return Calculate(false, c, sizes, [&](int scale) { return RodMesh(d.diameter, kRodCells * scale); },
                     table, options);
}

} // namespace resheat
