// The current distribution over a long charge's section.
//
// Model.  The charge is long and its return far away: the current flows
// along it, every quantity is sinusoidal at the frequency f (complex
// amplitudes, e^{j omega t}, omega = 2 pi f) and varies only over the
// section.  With the axial magnetic vector potential A and a field E0 along
// the charge (uniform over the section), the current density is
//     J = (E0 - j omega A) / rho_e,
// and A obeys, in the section and in the air around it,
//     -div((1 / (mu0 mu_r)) grad A) = J        (J = 0 in the air),
// with rho_e and mu_r given per node.  The field outside the charge is that
// of an isolated conductor.  Rod: by symmetry the field outside is exactly
// H = I / (2 pi r), so the rod alone is solved, radially, with A = 0 on the
// surface (any constant would do), which gives H(R) = I / (2 pi R) at once.
// Bar: the section is symmetric in both planes, so a quarter is solved with
// no flux across the planes, surrounded by air out to a square boundary
// kFarFactor times the larger half side away, where A = 0: the return is a
// coaxial shell so far away that its effect on the section (through the
// quadrupole and higher terms of the field) is below 1E-5 of R_ac.
//   The impedance of the charge per unit length: R_ac = P / |I|^2 with
// P = integral of rho_e |J|^2, X_int = omega (integral over the section of
// mu |H|^2) / |I|^2, the reactance of the field inside the charge (the field
// outside belongs to the loop, X_loop).  For the rod these are exactly
// E(R) / I; the integral relations hold for the bar too, where the surface
// field E varies.  The current is I = Ur / |Z|, Z = (R_ac + j X_int) L.
//   Magnetic steel: mu_r of a node is the effective permeability at the
// peak field strength there, mu_r(H_peak, T), which the caller's callback
// gives; the field is solved again with the new mu_r until no node's mu_r
// changes by more than the tolerance.  H_peak is the largest |H| over a
// period: for a field of two components with complex amplitudes Hx and Hy,
// H_peak^2 = (|Hx|^2 + |Hy|^2) / 2 + |Hx^2 + Hy^2| / 2.  With the voltage
// given, a higher mu_r lowers the current and so the field: each iteration
// feeds back about half its change in ln mu_r (where B ~ H^g, the feedback
// is (1 - g) / 2), so plain substitution converges, but only about a digit
// in three iterations; Anderson's acceleration on ln mu_r (depth 3) takes it
// to the tolerance in about a third of the solves.
//   f = 0 is direct current: J = E / rho_e with E = Ur / L, the same
// arithmetic as the temperature-dependent calculation's.
//
// Method.  Vertex-centred finite volumes on the caller's nodes, as in the
// thermal solver: each node owns the area halfway to its neighbours; a link
// between neighbours carries the flux (A_b - A_a) / (mu0 mu_r) times its face
// length over its length.  Where the face crosses from conductor into air
// (the links along the bar's surface) the two parts are added, each with its
// own mu_r; along a link inside the conductor the two half lengths are in
// series, so mu_r of the link is the mean of its nodes'.  Tangential H and
// normal B are then continuous across the surface, and with E0 = 1 the
// discrete system
//     (K + j omega M) A = M 1,   M = diag(area / rho_e)
// gives R_ac = Re(1 / I) = sum of rho_e |J|^2 area / |I|^2 exactly (the
// power balance holds for the discrete solution, to rounding), and
// X_int from the links' energy.  K is real symmetric positive definite
// (the boundary A = 0 fixes the constant) and omega M is a non-negative
// diagonal, so K + j omega M is complex symmetric with every leading block
// regular: it is factorised as L D L^T in band form without pivoting.
// The factorisation and the solution are kept for the next solve (the next
// magnetic iteration or the next time step): it iterates from the last
// solution by conjugate orthogonal conjugate gradients (CG for complex
// symmetric systems) preconditioned with the kept factorisation, a few band
// solves when the properties moved little, and factorises anew only when
// that has not converged in kMaxIterativeSteps.  Until mu_r has settled the
// magnetic iteration solves only as accurately as its next change needs; the
// settled permeability is solved once more to a residual of 1E-13.  The
// bar's air nodes continue the section's grid lines, spaced from the outer
// section cell growing by kAirGrowth per cell to the far boundary; the
// unknowns are numbered along the shorter side of the grid to keep the band
// narrow.  H of a node is interpolated, linearly in the coordinate, between
// the links on either side along each axis (on the symmetry planes the
// normal derivative is 0; at the rod's surface H is I / (2 pi R)).
#include "core/CurrentDistribution.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>

#include "core/Arith.h"
#include "core/ComplexBand.h"
#include "core/NumberText.h"

namespace resheat {

namespace {

using Complex = std::complex<double>;
constexpr double kPi = std::numbers::pi;

constexpr double kFarFactor = 30; // far boundary of a bar's air, in larger half sides
constexpr double kAirGrowth = 1.3; // spacing ratio of successive air cells
constexpr int kAndersonDepth = 3;  // iterates the magnetic iteration mixes
// A solve with the kept factorisation stops at this residual relative to the
// load, or falls back on a new factorisation after kMaxIterativeSteps steps
// (a factorisation costs about ten of them on a bar).
constexpr double kSolveTolerance = 1E-13;
constexpr int kMaxIterativeSteps = 8;
// The magnetic iteration's solves before mu_r has settled: the first to this
// residual, each later one to this fraction of the last change of ln mu_r.
constexpr double kFirstAccuracy = 1E-4;
constexpr double kAccuracyPerChange = 1E-3;
constexpr double kLogLimit = 30;   // |ln mu_r| of an iterate at most

// A link between two neighbouring grid nodes.
struct Link {
    int a = 0, b = 0;       // grid nodes, a before b along the axis
    int axis = 0;           // 0 along i, 1 along j
    double length = 0;      // distance between the nodes [m]
    double gConductor = 0;  // part of the face in the conductor: face length / length (whole section)
    double gAir = 0;        // part of the face in the air
    bool inConductor = false; // both ends are section nodes: H on it is the conductor's
};

std::string Num(double v) { return GeneralText(v); }

// Complex products written out: std::complex's operator* guards against
// infinities with a library call per product, and nothing here is infinite.
inline Complex Product(Complex a, Complex b)
{
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

inline Complex Quotient(Complex a, Complex b)
{
    const double d = std::norm(b);
    return Product(a, Complex(b.real() / d, -b.imag() / d));
}

// The unconjugated product sum a_i b_i.
Complex Dot(const std::vector<Complex> &a, const std::vector<Complex> &b)
{
    double re = 0, im = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        re += a[i].real() * b[i].real() - a[i].imag() * b[i].imag();
        im += a[i].real() * b[i].imag() + a[i].imag() * b[i].real();
    }
    return {re, im};
}

bool Increasing(const std::vector<double> &x)
{
    if (x.size() < 2 || x.front() != 0)
        return false;
    for (std::size_t i = 1; i < x.size(); ++i)
        if (!std::isfinite(x[i]) || !(x[i] > x[i - 1]))
            return false;
    return true;
}

} // namespace

double PeakMagnitude(std::complex<double> hx, std::complex<double> hy)
{
    const double sum = std::norm(hx) + std::norm(hy);
    return std::sqrt(0.5 * sum + 0.5 * std::abs(hx * hx + hy * hy));
}

struct CurrentSolver::Impl {
    std::string error;
    bool bar = false;
    int nodes = 0;            // of the section
    int nx = 0, ny = 0;       // grid: nx by ny nodes
    std::vector<double> X, Y; // grid coordinates
    std::vector<int> unknown; // per grid node: its row of the system, -1 where A = 0
    std::vector<int> section; // per grid node: its section node, -1 in the air
    std::vector<int> grid;    // per section node: its grid node
    std::vector<double> area; // per section node, whole section [m2]
    // Per section node on the surface: the spacing to its inner neighbour
    // (the larger of the two at the bar's edge); 0 inside.
    std::vector<double> outerSpacing;
    std::vector<Link> links;
    // Per section node: the links before and after it along i, then along j (-1: none).
    std::vector<std::array<int, 4>> around;
    int unknowns = 0, band = 0;
    double radius = 0; // rod

    // The system of the last solve: diagonal, link coefficients and load
    // (E0 = 1); its solution; the factorisation kept from an earlier one.
    std::vector<Complex> diagonal;
    std::vector<double> coefficient;
    std::vector<double> load;
    std::vector<Complex> solution;
    ComplexBand matrix;
    bool factorised = false;
    double factorisedOmega = 0;
    int factorisations = 0, iterativeSteps = 0;
    std::vector<Complex> residual, direction, product, preconditioned;

    explicit Impl(const CurrentSection &s);
    void BuildRod(const std::vector<double> &r);
    void BuildBar(const std::vector<double> &xi, const std::vector<double> &xj);
    void Connect();

    double LinkPermeability(const Link &l, const std::vector<double> &mu) const
    {
        return 0.5 * (mu[section[l.a]] + mu[section[l.b]]);
    }
    Complex PotentialAt(int g) const { return unknown[g] < 0 ? Complex{} : solution[unknown[g]]; }

    // Solves (K + j omega M) A = M 1 (E0 = 1) with the given properties,
    // iteratively with the kept factorisation when that converges quickly,
    // otherwise by factorising anew; false when the factorisation fails.
    // `accuracy`: the residual allowed, relative to the load.
    bool SolveField(double omega, const std::vector<double> &rho, const std::vector<double> &mu, double accuracy);
    void Multiply(const std::vector<Complex> &x, std::vector<Complex> &y) const;
    bool Iterate(double accuracy);
    // The current per unit E0 and J of each section node.
    Complex Current(double omega, const std::vector<double> &rho, std::vector<Complex> &density) const;
    // Integral of mu |H|^2 over the section, times mu0, per unit E0 squared.
    double ConductorEnergy(const std::vector<double> &mu) const;
    // The peak |H| of each section node for a current amplitude `current` (per unit E0).
    void PeakField(const std::vector<double> &mu, Complex current, std::vector<double> &peak) const;
};

CurrentSolver::Impl::Impl(const CurrentSection &s) : bar(s.bar)
{
    if (!s.bar) {
        if (!Increasing(s.alongI))
            error = "The radii of the rod's nodes must start at 0 on the axis and increase node by node.";
        else
            BuildRod(s.alongI);
        return;
    }
    if (!Increasing(s.alongI) || !Increasing(s.alongJ))
        error = "The coordinates of the bar's nodes must start at 0 in the centre and increase node by node.";
    else
        BuildBar(s.alongI, s.alongJ);
}

void CurrentSolver::Impl::BuildRod(const std::vector<double> &r)
{
    X = r;
    Y = {0.0};
    nx = static_cast<int>(r.size());
    ny = 1;
    nodes = nx;
    radius = r.back();
    section.resize(nx);
    grid.resize(nx);
    unknown.resize(nx);
    area.resize(nx);
    outerSpacing.assign(nx, 0.0);
    for (int i = 0; i < nx; ++i) {
        section[i] = grid[i] = i;
        unknown[i] = i + 1 < nx ? i : -1; // A = 0 on the surface
        const double inner = i == 0 ? 0.0 : 0.5 * (r[i - 1] + r[i]);
        const double outer = i + 1 == nx ? r[i] : 0.5 * (r[i] + r[i + 1]);
        area[i] = kPi * (outer * outer - inner * inner);
        if (i + 1 < nx) {
            Link l;
            l.a = i;
            l.b = i + 1;
            l.length = r[i + 1] - r[i];
            l.gConductor = 2 * kPi * 0.5 * (r[i] + r[i + 1]) / l.length;
            l.inConductor = true;
            links.push_back(l);
        }
    }
    outerSpacing[nx - 1] = r[nx - 1] - r[nx - 2];
    unknowns = nx - 1;
    band = 1;
    Connect();
}

void CurrentSolver::Impl::BuildBar(const std::vector<double> &xi, const std::vector<double> &xj)
{
    const int si = static_cast<int>(xi.size()), sj = static_cast<int>(xj.size());
    const double far = kFarFactor * std::max(xi.back(), xj.back());
    auto extend = [far](std::vector<double> x) {
        double h = x.back() - x[x.size() - 2];
        while (x.back() < far) {
            h *= kAirGrowth;
            x.push_back(x.back() + h);
        }
        return x;
    };
    X = extend(xi);
    Y = extend(xj);
    nx = static_cast<int>(X.size());
    ny = static_cast<int>(Y.size());
    nodes = si * sj;
    const int n = nx * ny;

    // Rows of the system: the far boundary (last column and row) is A = 0;
    // the faster index runs along the shorter side.
    unknown.assign(n, -1);
    const bool iFast = nx <= ny;
    unknowns = (nx - 1) * (ny - 1);
    band = iFast ? nx - 1 : ny - 1;
    for (int j = 0; j + 1 < ny; ++j)
        for (int i = 0; i + 1 < nx; ++i)
            unknown[i + j * nx] = iFast ? i + j * (nx - 1) : j + i * (ny - 1);

    section.assign(n, -1);
    grid.resize(nodes);
    area.resize(nodes);
    outerSpacing.assign(nodes, 0.0);
    // Half extents of a node's area before and after it along a grid line.
    auto before = [](const std::vector<double> &x, int i) { return i == 0 ? 0.0 : 0.5 * (x[i] - x[i - 1]); };
    auto after = [](const std::vector<double> &x, int i) {
        return i + 1 == static_cast<int>(x.size()) ? 0.0 : 0.5 * (x[i + 1] - x[i]);
    };
    for (int j = 0; j < sj; ++j)
        for (int i = 0; i < si; ++i) {
            const int k = i + j * si, g = i + j * nx;
            section[g] = k;
            grid[k] = g;
            const double wi = before(X, i) + (i + 1 < si ? after(X, i) : 0.0);
            const double wj = before(Y, j) + (j + 1 < sj ? after(Y, j) : 0.0);
            area[k] = 4 * wi * wj;
            if (i + 1 == si)
                outerSpacing[k] = xi[si - 1] - xi[si - 2];
            if (j + 1 == sj)
                outerSpacing[k] = std::max(outerSpacing[k], xj[sj - 1] - xj[sj - 2]);
        }

    // Links along i: the face spans before(Y, j) below and after(Y, j) above
    // the grid line j; the part in the conductor is the part of those halves
    // within the section's rows.  Likewise along j.
    for (int axis = 0; axis < 2; ++axis) {
        const std::vector<double> &along = axis == 0 ? X : Y;
        const std::vector<double> &across = axis == 0 ? Y : X;
        const int nAlong = axis == 0 ? nx : ny, nAcross = axis == 0 ? ny : nx;
        const int sAlong = axis == 0 ? si : sj, sAcross = axis == 0 ? sj : si;
        for (int c = 0; c + 1 < nAcross; ++c) // the far line carries no unknown
            for (int p = 0; p + 1 < nAlong; ++p) {
                Link l;
                l.axis = axis;
                l.a = axis == 0 ? p + c * nx : c + p * nx;
                l.b = axis == 0 ? l.a + 1 : l.a + nx;
                l.length = along[p + 1] - along[p];
                const double lower = before(across, c), upper = after(across, c);
                const bool alongSection = p + 1 < sAlong;
                double inside = 0;
                if (alongSection && c < sAcross)
                    inside += lower;
                if (alongSection && c + 1 < sAcross)
                    inside += upper;
                l.gConductor = 4 * inside / l.length;
                l.gAir = 4 * (lower + upper - inside) / l.length;
                l.inConductor = alongSection && c < sAcross;
                links.push_back(l);
            }
    }
    Connect();
}

void CurrentSolver::Impl::Connect()
{
    around.assign(nodes, {-1, -1, -1, -1});
    for (int m = 0; m < static_cast<int>(links.size()); ++m) {
        const Link &l = links[m];
        if (section[l.a] >= 0)
            around[section[l.a]][2 * l.axis + 1] = m;
        if (section[l.b] >= 0)
            around[section[l.b]][2 * l.axis] = m;
    }
    solution.assign(unknowns, Complex{});
}

bool CurrentSolver::Impl::SolveField(double omega, const std::vector<double> &rho, const std::vector<double> &mu,
                                     double accuracy)
{
    diagonal.assign(unknowns, Complex{});
    load.assign(unknowns, 0.0);
    coefficient.resize(links.size());
    for (int k = 0; k < nodes; ++k) {
        const int u = unknown[grid[k]];
        if (u < 0)
            continue;
        const double m = area[k] / rho[k];
        diagonal[u] += Complex(0, omega * kMu0 * m);
        load[u] = kMu0 * m;
    }
    for (std::size_t i = 0; i < links.size(); ++i) {
        const Link &l = links[i];
        double c = l.gAir;
        if (l.gConductor > 0)
            c += l.gConductor / LinkPermeability(l, mu);
        coefficient[i] = c;
        if (unknown[l.a] >= 0)
            diagonal[unknown[l.a]] += c;
        if (unknown[l.b] >= 0)
            diagonal[unknown[l.b]] += c;
    }
    if (factorised && omega == factorisedOmega && Iterate(accuracy))
        return true;

    matrix.Reset(unknowns, band);
    for (int u = 0; u < unknowns; ++u)
        matrix.At(u, 0) = diagonal[u];
    for (std::size_t i = 0; i < links.size(); ++i) {
        const int ua = unknown[links[i].a], ub = unknown[links[i].b];
        if (ua >= 0 && ub >= 0) {
            const int r = std::max(ua, ub), q = std::min(ua, ub);
            matrix.At(r, r - q) -= coefficient[i];
        }
    }
    ++factorisations;
    factorised = matrix.Factorise();
    factorisedOmega = omega;
    if (!factorised)
        return false;
    for (int u = 0; u < unknowns; ++u)
        solution[u] = load[u];
    matrix.Solve(solution);
    return true;
}

void CurrentSolver::Impl::Multiply(const std::vector<Complex> &x, std::vector<Complex> &y) const
{
    for (int u = 0; u < unknowns; ++u)
        y[u] = Product(diagonal[u], x[u]);
    for (std::size_t i = 0; i < links.size(); ++i) {
        const int ua = unknown[links[i].a], ub = unknown[links[i].b];
        if (ua >= 0 && ub >= 0) {
            y[ua] -= coefficient[i] * x[ub];
            y[ub] -= coefficient[i] * x[ua];
        }
    }
}

bool CurrentSolver::Impl::Iterate(double accuracy)
{
    // Conjugate orthogonal conjugate gradients (the complex symmetric form of
    // CG, unconjugated products), preconditioned by the kept factorisation,
    // from the last solution.
    residual.resize(unknowns);
    direction.resize(unknowns);
    product.resize(unknowns);
    preconditioned.resize(unknowns);
    Multiply(solution, product);
    double norm = 0, loadNorm = 0;
    for (int u = 0; u < unknowns; ++u) {
        residual[u] = load[u] - product[u];
        norm += std::norm(residual[u]);
        loadNorm += load[u] * load[u];
    }
    const double goal = accuracy * accuracy * loadNorm;
    if (norm <= goal)
        return true;
    preconditioned = residual;
    matrix.Solve(preconditioned);
    direction = preconditioned;
    Complex rho = Dot(residual, preconditioned);
    for (int step = 0; step < kMaxIterativeSteps; ++step) {
        ++iterativeSteps;
        Multiply(direction, product);
        const Complex curvature = Dot(direction, product);
        if (!(std::abs(curvature) > 0) || !std::isfinite(std::abs(curvature)))
            return false;
        const Complex alpha = Quotient(rho, curvature);
        norm = 0;
        for (int u = 0; u < unknowns; ++u) {
            solution[u] += Product(alpha, direction[u]);
            residual[u] -= Product(alpha, product[u]);
            norm += std::norm(residual[u]);
        }
        if (norm <= goal)
            return true;
        preconditioned = residual;
        matrix.Solve(preconditioned);
        const Complex next = Dot(residual, preconditioned);
        const Complex beta = Quotient(next, rho);
        rho = next;
        for (int u = 0; u < unknowns; ++u)
            direction[u] = preconditioned[u] + Product(beta, direction[u]);
    }
    return false;
}

Complex CurrentSolver::Impl::Current(double omega, const std::vector<double> &rho,
                                     std::vector<Complex> &density) const
{
    density.resize(nodes);
    Complex current{};
    for (int k = 0; k < nodes; ++k) {
        density[k] = (Complex(1, 0) - Complex(0, omega) * PotentialAt(grid[k])) / rho[k];
        current += density[k] * area[k];
    }
    return current;
}

double CurrentSolver::Impl::ConductorEnergy(const std::vector<double> &mu) const
{
    double sum = 0;
    for (const Link &l : links)
        if (l.gConductor > 0)
            sum += l.gConductor / LinkPermeability(l, mu) * std::norm(PotentialAt(l.b) - PotentialAt(l.a));
    return sum;
}

void CurrentSolver::Impl::PeakField(const std::vector<double> &mu, Complex current, std::vector<double> &peak) const
{
    peak.resize(nodes);
    // mu0 H along a link's axis direction (up to a sign that |H| does not see).
    auto linkField = [&](int m) {
        const Link &l = links[m];
        const Complex slope = (PotentialAt(l.b) - PotentialAt(l.a)) / l.length;
        return l.inConductor ? slope / LinkPermeability(l, mu) : slope;
    };
    for (int k = 0; k < nodes; ++k) {
        std::array<Complex, 2> h{};
        for (int axis = 0; axis < 2; ++axis) {
            const int lo = around[k][2 * axis], hi = around[k][2 * axis + 1];
            if (hi < 0 && lo < 0)
                continue;
            if (lo < 0) // on a symmetry plane: the derivative across it is 0
                continue;
            if (hi < 0) {
                h[axis] = linkField(lo);
                continue;
            }
            const double dl = links[lo].length, dh = links[hi].length;
            h[axis] = (linkField(lo) * dh + linkField(hi) * dl) / (dl + dh);
        }
        if (!bar && k + 1 == nodes) // Ampere: exact at the rod's surface
            h[0] = kMu0 * current / (2 * kPi * radius);
        peak[k] = PeakMagnitude(h[0], h[1]) / (kMu0 * std::abs(current));
    }
}

// ---------------------------------------------------------------- the solver

CurrentSolver::CurrentSolver(const CurrentSection &section) : impl_(std::make_unique<Impl>(section)) {}
CurrentSolver::~CurrentSolver() = default;
CurrentSolver::CurrentSolver(CurrentSolver &&) noexcept = default;
CurrentSolver &CurrentSolver::operator=(CurrentSolver &&) noexcept = default;

const std::string &CurrentSolver::error() const { return impl_->error; }
int CurrentSolver::nodes() const { return impl_->nodes; }
int CurrentSolver::meshNodes() const { return impl_->nx * impl_->ny; }
int CurrentSolver::bandwidth() const { return impl_->band; }

namespace {

// Anderson's acceleration of a fixed point x = g(x): the next iterate is
// the combination of the last few g values that makes the linearised
// residual g(x) - x least (Walker and Ni's form, the differences of the last
// `depth` iterates).  Plain substitution until there is a history.
class Anderson {
public:
    explicit Anderson(int depth) : depth_(depth) {}
    void Restart()
    {
        dF_.clear();
        dG_.clear();
        lastF_.clear();
    }
    // x holds the iterate and receives the next one; g is g(x).
    void Next(std::vector<double> &x, const std::vector<double> &g)
    {
        const std::size_t n = x.size();
        std::vector<double> f(n);
        for (std::size_t k = 0; k < n; ++k)
            f[k] = g[k] - x[k];
        if (!lastF_.empty()) {
            std::vector<double> df(n), dg(n);
            for (std::size_t k = 0; k < n; ++k) {
                df[k] = f[k] - lastF_[k];
                dg[k] = g[k] - lastG_[k];
            }
            dF_.push_back(std::move(df));
            dG_.push_back(std::move(dg));
            if (static_cast<int>(dF_.size()) > depth_) {
                dF_.erase(dF_.begin());
                dG_.erase(dG_.begin());
            }
        }
        lastF_ = f;
        lastG_ = g;
        x = g;
        const std::size_t m = dF_.size();
        if (m == 0)
            return;
        // Normal equations of min |f - dF gamma|, m <= depth, by elimination.
        std::vector<double> a(m * (m + 1));
        double trace = 0;
        for (std::size_t i = 0; i < m; ++i) {
            for (std::size_t j = 0; j < m; ++j)
                a[i * (m + 1) + j] = Dot(dF_[i], dF_[j]);
            a[i * (m + 1) + m] = Dot(dF_[i], f);
            trace += a[i * (m + 1) + i];
        }
        for (std::size_t i = 0; i < m; ++i)
            a[i * (m + 1) + i] += 1E-12 * trace;
        for (std::size_t c = 0; c < m; ++c) {
            const double pivot = a[c * (m + 1) + c];
            if (!(pivot > 0)) {
                Restart();
                return;
            }
            for (std::size_t r = c + 1; r < m; ++r) {
                const double q = a[r * (m + 1) + c] / pivot;
                for (std::size_t j = c; j <= m; ++j)
                    a[r * (m + 1) + j] -= q * a[c * (m + 1) + j];
            }
        }
        std::vector<double> gamma(m);
        for (std::size_t c = m; c-- > 0;) {
            double v = a[c * (m + 1) + m];
            for (std::size_t j = c + 1; j < m; ++j)
                v -= a[c * (m + 1) + j] * gamma[j];
            gamma[c] = v / a[c * (m + 1) + c];
        }
        for (std::size_t i = 0; i < m; ++i)
            for (std::size_t k = 0; k < n; ++k)
                x[k] -= gamma[i] * dG_[i][k];
    }

private:
    int depth_;
    std::vector<double> lastF_, lastG_;
    std::vector<std::vector<double>> dF_, dG_;

    static double Dot(const std::vector<double> &a, const std::vector<double> &b)
    {
        double s = 0;
        for (std::size_t k = 0; k < a.size(); ++k)
            s += a[k] * b[k];
        return s;
    }
};

std::string CheckInput(int nodes, const CurrentSupply &s, const CurrentMaterial &m)
{
    const struct {
        const char *label;
        double value;
        bool zeroAllowed;
    } values[] = {{"Frequency", s.frequency, true},
                  {"Length of charge", s.length, false},
                  {"Voltage", s.voltage, true},
                  {"Loop reactance", s.loopReactance, true}};
    for (const auto &v : values) {
        if (!std::isfinite(v.value))
            return std::string(v.label) + " must be a finite number.";
        if (v.zeroAllowed ? v.value < 0 : !(v.value > 0))
            return std::string(v.label) + (v.zeroAllowed ? " must not be negative." : " must be positive.");
    }
    const auto size = static_cast<std::size_t>(nodes);
    if (m.resistivity.size() != size)
        return "The resistivity must be given for each of the " + std::to_string(nodes) + " nodes.";
    for (double r : m.resistivity)
        if (!(std::isfinite(r) && r > 0))
            return "The resistivity of every node must be a positive number.";
    if (!m.permeability.empty() && m.permeability.size() != size)
        return "The permeability must be given for each of the " + std::to_string(nodes) + " nodes, or for none.";
    for (double mu : m.permeability)
        if (!(std::isfinite(mu) && mu > 0))
            return "The relative permeability of every node must be a positive number.";
    if (m.magnetic) {
        if (m.temperature.size() != size)
            return "The temperature must be given for each of the " + std::to_string(nodes) + " nodes.";
        for (double t : m.temperature)
            if (!std::isfinite(t))
                return "The temperature of every node must be a finite number.";
    }
    return {};
}

} // namespace

CurrentResult CurrentSolver::Solve(const CurrentSupply &supply, const CurrentMaterial &material,
                                   const CurrentOptions &options)
{
    Impl &d = *impl_;
    CurrentResult r;
    auto refuse = [&](const std::string &text) {
        r.status = CurrentStatus::Refused;
        r.message = text;
        return r;
    };
    if (!d.error.empty())
        return refuse(d.error);
    if (auto m = CheckInput(d.nodes, supply, material); !m.empty())
        return refuse(m);
    if (!(options.tolerance > 0) || options.maxIterations < 1)
        return refuse("The tolerance must be positive and at least one iteration allowed.");

    const int n = d.nodes;
    const std::vector<double> &rho = material.resistivity;
    std::vector<double> mu = material.permeability.empty() ? std::vector<double>(n, 1.0) : material.permeability;
    const double omega = 2 * kPi * supply.frequency;
    const double L = supply.length, ur = supply.voltage;

    double conductance = 0;
    for (int k = 0; k < n; ++k)
        conductance += d.area[k] / rho[k];
    r.resistanceDC = arith::Div(L, conductance);

    const int factorisationsBefore = d.factorisations;
    std::vector<Complex> density;
    std::vector<double> target(n);
    std::vector<double> logMu(n);
    Anderson mixer(kAndersonDepth);
    double lastChange = 0;
    r.status = CurrentStatus::NotConverged;
    // While mu_r is still far from settled the field is solved only as
    // accurately as the next change needs; once settled, once more in full.
    double accuracy = material.magnetic && supply.frequency > 0 ? kFirstAccuracy : kSolveTolerance;
    bool settled = false;
    for (int iteration = 1; iteration <= options.maxIterations; ++iteration) {
        r.iterations = iteration;
        if (!d.SolveField(omega, rho, mu, accuracy))
            throw ArithmeticFault(kInvalidOperation);
        const Complex perE0 = d.Current(omega, rho, density);
        if (supply.frequency == 0) {
            // Direct current, as the temperature-dependent calculation has it.
            const double field = ur / L;
            r.current = arith::Chk(field * conductance);
            r.resistance = r.resistanceDC;
            r.reactance = 0;
            r.power = arith::Chk(ur * r.current);
            r.currentDensitySquared.resize(n);
            for (int k = 0; k < n; ++k) {
                const double j = field / rho[k];
                r.currentDensitySquared[k] = arith::Chk(j * j);
            }
        } else {
            const Complex perLength = arith::Chk(1 / std::abs(perE0)) * (std::conj(perE0) / std::abs(perE0));
            r.resistance = arith::Chk(L * perLength.real());
            r.reactance = arith::Chk(L * omega / kMu0 * d.ConductorEnergy(mu) / std::norm(perE0));
            r.current = arith::Div(ur, std::hypot(r.resistance, r.reactance));
            r.power = arith::Chk(r.current * r.current * r.resistance);
            r.currentDensitySquared.resize(n);
            const double scale = r.current * r.current / std::norm(perE0);
            for (int k = 0; k < n; ++k)
                r.currentDensitySquared[k] = arith::Chk(std::norm(density[k]) * scale);
        }
        // The peak field: RMS times sqrt 2 for alternating current.
        d.PeakField(mu, perE0, r.fieldPeak);
        const double amplitude = supply.frequency == 0 ? r.current : std::numbers::sqrt2 * r.current;
        for (double &h : r.fieldPeak)
            h = arith::Chk(h * amplitude);
        r.permeability = mu;
        if (!material.magnetic) {
            r.status = CurrentStatus::Solved;
            break;
        }
        double change = 0;
        for (int k = 0; k < n; ++k) {
            target[k] = material.magnetic(r.fieldPeak[k], material.temperature[k]);
            if (!(std::isfinite(target[k]) && target[k] > 0))
                return refuse("The permeability curve gives mu_r = " + Num(target[k]) + " at H = " +
                              Num(r.fieldPeak[k]) + " A/m and " + Num(material.temperature[k]) + " oC.");
            change = std::max(change, std::abs(std::log(target[k] / mu[k])));
        }
        // Direct current: the permeability does not change the current.
        if (change <= options.tolerance || supply.frequency == 0 || settled) {
            if (accuracy > kSolveTolerance && iteration < options.maxIterations) {
                accuracy = kSolveTolerance; // the same mu_r, solved in full
                settled = true;
                continue;
            }
            if (supply.frequency == 0)
                r.permeability = target;
            r.status = settled || change <= options.tolerance || supply.frequency == 0 ? CurrentStatus::Solved
                                                                                         : CurrentStatus::NotConverged;
            break;
        }
        accuracy = std::clamp(kAccuracyPerChange * change, kSolveTolerance, kFirstAccuracy);
        // A step that grew the change starts the acceleration afresh.
        if (iteration > 1 && change > 2 * lastChange)
            mixer.Restart();
        lastChange = change;
        for (int k = 0; k < n; ++k) {
            logMu[k] = std::log(mu[k]);
            target[k] = std::log(target[k]);
        }
        mixer.Next(logMu, target);
        for (int k = 0; k < n; ++k)
            mu[k] = std::exp(std::clamp(logMu[k], -kLogLimit, kLogLimit));
    }
    if (r.status == CurrentStatus::NotConverged)
        r.message = "The permeability did not settle within " + std::to_string(options.maxIterations) +
                    " iterations.";

    r.factorisations = d.factorisations - factorisationsBefore;
    const double loop = supply.frequency == 0 ? 0.0 : supply.loopReactance;
    const double supplyImpedance = std::hypot(r.resistance, r.reactance + loop);
    r.powerFactor = arith::Div(r.resistance, supplyImpedance);
    r.apparentPower = arith::Chk(r.current * r.current * supplyImpedance);
    r.supplyVoltage = arith::Chk(r.current * supplyImpedance);
    if (supply.frequency > 0)
        for (int k = 0; k < n; ++k)
            if (d.outerSpacing[k] > 0) {
                const double depth = std::sqrt(2 * rho[k] / (omega * kMu0 * r.permeability[k]));
                r.surfaceSpacingPerDepth = std::max(r.surfaceSpacingPerDepth, d.outerSpacing[k] / depth);
            }
    return r;
}

CurrentResult SolveCurrent(const CurrentSection &section, const CurrentSupply &supply,
                           const CurrentMaterial &material, const CurrentOptions &options)
{
    return CurrentSolver(section).Solve(supply, material, options);
}

} // namespace resheat
