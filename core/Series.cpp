// The constant-property temperature of a long bar or rod heated by a
// uniform power density.
//
// Model.  The temperature varies only over the cross-section; rho c, lambda
// and pv are constant; at the surface -lambda dT/dn = alpha (T - Ts); at
// t = 0 the charge is at Ts everywhere.  With theta = T - Ts and
// kappa = lambda / (rho c):
//     d theta / dt = kappa lap theta + pv / (rho c).
//
// Bar, half sizes a (x) and b (y), Bi_w = alpha a / lambda, Bi_h = alpha b / lambda.
// mu_i are the positive roots of mu tan mu = Bi_w, nu_j those of Bi_h, and
// c_i = 2 sin mu_i / (mu_i + sin mu_i cos mu_i) expands 1 in the eigenfunctions
// cos(mu_i x / a) of the slab (d_j likewise).  Then
//     theta = (pv / lambda) sum_ij c_i d_j cos(mu_i x/a) cos(nu_j y/b) (1 - exp(-Q_ij kappa t)) / Q_ij,
//     Q_ij = (mu_i / a)^2 + (nu_j / b)^2.
// Rod, radius R, Bi = alpha R / lambda, mu_k the roots of mu J1(mu) = Bi J0(mu),
// T* = pv R^2 / lambda, Fo = kappa t / R^2:
//     theta = T*/4 (1 - r^2/R^2 + 2/Bi) - 2 Bi T* sum_k J0(mu_k r/R) exp(-mu_k^2 Fo) / (J0(mu_k) (Bi^2 + mu_k^2) mu_k^2).
// alpha = 0 is uniform heating, theta = pv t / (rho c), evaluated as such.
//
// Method.  Each series is split into its steady part and a transient part
// that decays in time.  The transient parts converge exponentially for
// t > 0 and are summed over as many roots as a bound on the rest asks for
// (below kTolerance).  The steady part of the bar, a double series that
// converges slowly at the faces, is summed over j in closed form: with the
// eigenfunctions of the thinner direction s (half size s, roots nu_j) and the
// other direction l,
//     theta_s = (pv / lambda) [ (s^2 - u^2)/2 + s^2/Bi_s
//               - sum_j d_j (s/nu_j)^2 cos(nu_j u/s) Bi_l cosh(k_j v) / (k_j l sinh(k_j l) + Bi_l cosh(k_j l)) ],
// k_j = nu_j / s, u and v the coordinates along s and l; the remaining series
// falls off at least as nu^-3.  The rod's steady part is closed.
// A point farther from the faces of one direction than 13.4 sqrt(kappa t) has
// not felt them (the deviation is below exp(-45)): that direction drops out
// and the point follows the slab of the other direction, or heats uniformly.
// Where the bar's series would need more than kMaxTerms terms (a section
// large against the distance heat spreads in the time asked for), or where
// its steady part exceeds 1E8 K (Biot numbers near 1E-6), so that rounding
// in the cancelling parts would approach the tolerance, the bar takes
// Duhamel's form instead: the solution from 1 everywhere is the product of
// the two slabs' solutions, each a series of its own or, before its centre
// feels the faces, the semi-infinite solid's closed form, and the rise is
// pv / (rho c) times its time integral, by Gauss-Legendre quadrature.
// The roots are found by Newton's method kept inside the interval that holds
// exactly one of them; the slab roots as mu = (i - 1) pi + delta with delta
// solved for, so that sin mu and cos mu keep full precision when the Biot
// number is small.
//
// Integrals.  The section mean takes the mean of each eigenfunction:
// sin mu / mu for the slab, 2 J1(mu) / mu = 2 Bi J0(mu) / mu^2 for the rod.
// The heat lost is the time integral of alpha theta over the surface; the time
// integral of each transient term is exact, and for the bar the integral of
// the steady deficit, sum_ij ... / Q_ij^2, is the heat the steady state holds
// (Green's identity), rho c 4ab mean(theta_s).  So electrical energy = stored
// + lost holds to rounding and to the truncation, which the tests check.
//
// Checks (tests/core/test_series.cpp): the heat equation solved by the
// temperature-dependent finite-volume solver with constant properties and no
// radiation; an independent evaluation (Duhamel integral of the slab
// solutions with their short-time forms); uniform heating; the steady state;
// the energy balance; convergence in the number of roots.
#include "core/Series.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "core/Arith.h"

namespace resheat {

namespace {

constexpr double kPi = std::numbers::pi;
// Bound on the part of a series left off [K].
constexpr double kTolerance = 1E-9;
// (distance from the faces)^2 / (4 kappa t) beyond which they are not felt.
constexpr double kUnfelt = 45;

// Bound on sum_{k > n} env(mu_k) for a positive envelope env that falls at
// least as mu^-p and as exp(-mu^2 fo), given its value at m = n pi (the roots
// beyond the n-th lie above n pi, at least pi apart).
double TailBound(double envAtM, double m, double p, double fo)
{
    double span = m / (p - 1);
    if (fo > 0)
        span = std::min(span, 1 / (2 * m * fo));
    return envAtM * (1 + span / kPi);
}

// The smallest n (at least 1) whose tail bound, non-increasing in n, is at
// or below `limit`; kMaxModes + 1 when none up to kMaxModes is.
template <class Bound>
std::size_t Needed(Bound bound, double limit)
{
    if (bound(1) <= limit)
        return 1;
    std::size_t lo = 1, hi = 2; // bound(lo) > limit
    while (hi < kMaxModes && !(bound(hi) <= limit)) {
        lo = hi;
        hi = std::min(kMaxModes, hi * 2);
    }
    if (!(bound(hi) <= limit))
        return kMaxModes + 1;
    while (hi - lo > 1) {
        const std::size_t mid = lo + (hi - lo) / 2;
        (bound(mid) <= limit ? hi : lo) = mid;
    }
    return hi;
}

// Nodes and weights of the n-point Gauss-Legendre rule on [-1, 1], the nodes
// by Newton's method on the Legendre polynomial from Chebyshev's guesses.
std::vector<std::pair<double, double>> GaussLegendre(int n)
{
    std::vector<std::pair<double, double>> rule;
    for (int i = 1; i <= n; ++i) {
        double x = std::cos(kPi * (i - 0.25) / (n + 0.5)), dp = 0;
        for (int it = 0; it < 100; ++it) {
            double p0 = 1, p1 = x;
            for (int k = 2; k <= n; ++k) {
                const double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
                p0 = p1;
                p1 = p2;
            }
            dp = n * (x * p1 - p0) / (x * x - 1);
            const double step = p1 / dp;
            x -= step;
            if (std::abs(step) < 1E-16)
                break;
        }
        rule.emplace_back(x, 2 / ((1 - x * x) * dp * dp));
    }
    return rule;
}

// Whether a series whose steady part is about `steady` kelvin can be summed
// to kTolerance: the steady and the transient parts cancel to the rise, so
// their rounding must stay well below it (beyond, as for Biot numbers of
// 1E-6, the bar is integrated over time without the steady part).
bool Summable(double steady)
{
    return steady < 1E8;
}

// min(1, bi / mu): the size of sin mu_i on the slab, Bi / sqrt(Bi^2 + mu^2), and alike.
double Damping(double bi, double mu)
{
    return std::min(1.0, bi / mu);
}

// The power an envelope mu^-p min(1, bi/mu) falls with beyond m.
double Power(double p, double bi, double m)
{
    return m > bi ? p + 1 : p;
}

} // namespace

// ------------------------------------------------------------------ roots

SlabModes::SlabModes(double biot) : biot_(biot) {}

void SlabModes::Ensure(std::size_t n)
{
    n = std::min(n, kMaxModes);
    const double bi = biot_;
    for (std::size_t i = mu_.size(); i < n; ++i) {
        // g(delta) = (m + delta) sin delta - Bi cos delta rises from -Bi at 0
        // to m + pi/2 at pi/2.
        const double m = static_cast<double>(i) * kPi;
        auto g = [&](double d) { return (m + d) * std::sin(d) - bi * std::cos(d); };
        double lo = 0, hi = kPi / 2;
        double d = i > 0 ? std::atan(bi / (m + kPi / 4)) : bi < 1 ? std::sqrt(bi / (1 + bi / 3)) : kPi / 2 * bi / (1 + bi);
        for (int it = 0; it < 200; ++it) {
            const double v = g(d);
            if (v == 0)
                break;
            (v < 0 ? lo : hi) = d;
            const double slope = (1 + bi) * std::sin(d) + (m + d) * std::cos(d);
            double next = d - v / slope;
            if (!(next > lo && next < hi))
                next = lo + (hi - lo) / 2;
            const double step = std::abs(next - d);
            d = next;
            if (step <= 4 * std::numeric_limits<double>::epsilon() * d || hi - lo <= 4 * std::numeric_limits<double>::epsilon() * hi)
                break;
        }
        const double sign = (i % 2 == 0) ? 1.0 : -1.0;
        const double mu = m + d;
        const double s = sign * std::sin(d);
        const double c = sign * std::cos(d);
        mu_.push_back(mu);
        sin_.push_back(s);
        cos_.push_back(c);
        c_.push_back(2 * s / (mu + s * c));
    }
}

RodModes::RodModes(double biot) : biot_(biot) {}

void RodModes::Ensure(std::size_t n)
{
    n = std::min(n, kMaxModes);
    const double bi = biot_;
    for (std::size_t k = mu_.size() + 1; k <= n; ++k) {
        // f = mu J1 - Bi J0 has exactly one root in ((k - 1) pi, k pi): it lies
        // between the (k-1)-th zero of J1 and the k-th zero of J0, and k pi lies
        // between the k-th zeros of J0 and J1.  f(0) = -Bi.
        auto f = [&](double x) { return x * std::cyl_bessel_j(1.0, x) - bi * std::cyl_bessel_j(0.0, x); };
        double lo = static_cast<double>(k - 1) * kPi, hi = static_cast<double>(k) * kPi;
        double flo = k == 1 ? -bi : f(lo);
        double x = k == 1 ? std::min(std::sqrt(2 * bi), 2.4048) : lo + kPi * (0.25 + 0.5 * bi / (bi + lo));
        for (int it = 0; it < 200; ++it) {
            const double v = f(x);
            if (v == 0)
                break;
            if ((v < 0) == (flo < 0)) {
                lo = x;
                flo = v;
            } else {
                hi = x;
            }
            const double slope = x * std::cyl_bessel_j(0.0, x) + bi * std::cyl_bessel_j(1.0, x);
            double next = x - v / slope;
            if (!(next > lo && next < hi))
                next = lo + (hi - lo) / 2;
            const double step = std::abs(next - x);
            x = next;
            if (step <= 4 * std::numeric_limits<double>::epsilon() * x || hi - lo <= 4 * std::numeric_limits<double>::epsilon() * hi)
                break;
        }
        mu_.push_back(x);
        j0_.push_back(std::cyl_bessel_j(0.0, x));
    }
}

// ------------------------------------------------------------------ bar

BarSeries::BarSeries(double halfWidth, double halfThickness, double conductivity, double heatCapacity,
                     double alfa, double powerDensity, std::size_t maxTerms)
    : a_(halfWidth), b_(halfThickness), lambda_(conductivity), rhoC_(heatCapacity), alfa_(alfa),
      pv_(powerDensity), kappa_(conductivity / heatCapacity), maxTerms_(maxTerms),
      x_(alfa * halfWidth / conductivity), y_(alfa * halfThickness / conductivity)
{
}

// The slab -s < u < s alone: (pv s^2 / lambda) [(1 - xi^2)/2 + 1/Bi - sum_i c_i X_i exp(-mu_i^2 Fo) / mu_i^2].
std::optional<double> BarSeries::SlabRise(SlabModes &m, double s, Kind kind, double t)
{
    const double scale = pv_ * s * s / lambda_;
    const double fo = kappa_ * t / (s * s);
    const double bi = m.biot();
    if (!Summable(scale * (0.5 + 1 / bi)))
        return std::nullopt;
    const std::size_t n = Needed(
        [&](std::size_t k) {
            const double mu = static_cast<double>(k) * kPi;
            return scale * TailBound(2 * Damping(bi, mu) * std::exp(-mu * mu * fo) / (mu * mu * mu), mu,
                                     Power(3, bi, mu), fo);
        },
        kTolerance);
    if (n > kMaxModes)
        return std::nullopt;
    m.Ensure(n);
    double sum = 0;
    for (std::size_t i = m.size() < n ? m.size() : n; i-- > 0;) {
        const double mu = m.mu(i);
        const double x = kind == kAtFace ? m.cosMu(i) : 1.0;
        sum += m.coefficient(i) * x * std::exp(-mu * mu * fo) / (mu * mu);
    }
    const double xi2 = kind == kAtFace ? 1.0 : 0.0;
    return scale * ((1 - xi2) / 2 + 1 / bi - sum);
}

double BarSeries::Steady(Kind kx, Kind ky)
{
    // The thinner direction carries the eigenfunctions.
    const bool xThin = a_ <= b_;
    SlabModes &m = xThin ? x_ : y_;
    const double s = xThin ? a_ : b_;
    const double l = xThin ? b_ : a_;
    const Kind ks = xThin ? kx : ky;
    const Kind kl = xThin ? ky : kx;
    const double biS = m.biot();
    const double biL = alfa_ * l / lambda_;
    const double scale = pv_ * s * s / lambda_;
    const double ratio = l / s;

    // Size of the l-direction factor for k = nu / s: Bi_l / (k l tanh(k l) + Bi_l)
    // times cosh(k v) / cosh(k l), or its mean over v.
    auto lFactor = [&](double nu) {
        const double kl_ = nu * ratio;
        const double th = std::tanh(kl_);
        const double denominator = kl_ * th + biL;
        switch (kl) {
        case kAtFace:
            return biL / denominator;
        case kAtCentre: {
            const double e = std::exp(-kl_);
            return biL / denominator * (2 * e / (1 + e * e));
        }
        case kMean:
            break;
        }
        return biL * (kl_ > 0 ? th / kl_ : 1.0) / denominator;
    };
    const std::size_t n = Needed(
        [&](std::size_t k) {
            const double nu = static_cast<double>(k) * kPi;
            const double sFactor = ks == kMean ? 1 / nu : 1.0;
            return scale * TailBound(2 * Damping(biS, nu) * sFactor * lFactor(nu) / (nu * nu * nu), nu,
                                     Power(3, biS, nu), 0);
        },
        kTolerance);
    m.Ensure(n);
    double sum = 0;
    for (std::size_t j = std::min(n, m.size()); j-- > 0;) {
        const double nu = m.mu(j);
        double sFactor = 1;
        if (ks == kAtFace)
            sFactor = m.cosMu(j);
        else if (ks == kMean)
            sFactor = m.sinMu(j) / nu;
        sum += m.coefficient(j) * sFactor * lFactor(nu) / (nu * nu);
    }
    double closed = 0;
    switch (ks) {
    case kAtCentre:
        closed = 0.5 + 1 / biS;
        break;
    case kAtFace:
        closed = 1 / biS;
        break;
    case kMean:
        closed = 1.0 / 3 + 1 / biS;
        break;
    }
    return scale * (closed - sum);
}

std::optional<double> BarSeries::Transient(Kind kx, Kind ky, double t, double *loss)
{
    const double foA = kappa_ * t / (a_ * a_);
    const double foB = kappa_ * t / (b_ * b_);
    // |term_ij| <= (pv a b / (2 lambda)) u_i v_j with u_i = |c_i| exp(-mu_i^2 Fo_a) / mu_i,
    // as Q_ij >= 2 mu_i nu_j / (a b); each cross-section factor is at most 1.
    const double scale = pv_ * a_ * b_ / (2 * lambda_);
    auto envelope = [](double bi, double mu, double fo) {
        return 2 * Damping(bi, mu) * std::exp(-mu * mu * fo) / (mu * mu);
    };
    auto tail = [&](SlabModes &m, double fo, std::size_t n) {
        const double mu = static_cast<double>(n) * kPi;
        return TailBound(envelope(m.biot(), mu, fo), mu, Power(2, m.biot(), mu), fo);
    };
    // Sum of u over all modes, to within a thousandth.
    auto total = [&](SlabModes &m, double fo) {
        m.Ensure(1);
        const double first = std::abs(m.coefficient(0)) * std::exp(-m.mu(0) * m.mu(0) * fo) / m.mu(0);
        if (first == 0) // every later term is smaller still
            return 0.0;
        const std::size_t n = Needed([&](std::size_t k) { return tail(m, fo, k); }, 1E-3 * first);
        m.Ensure(n);
        double s = 0;
        for (std::size_t i = 0; i < std::min(n, m.size()); ++i)
            s += std::abs(m.coefficient(i)) * std::exp(-m.mu(i) * m.mu(i) * fo) / m.mu(i);
        return s + tail(m, fo, n);
    };
    const double uAll = total(x_, foA);
    const double vAll = total(y_, foB);
    const std::size_t nx = Needed([&](std::size_t k) { return scale * tail(x_, foA, k) * vAll; }, kTolerance / 2);
    const std::size_t ny = Needed([&](std::size_t k) { return scale * tail(y_, foB, k) * uAll; }, kTolerance / 2);
    if (static_cast<double>(nx) * static_cast<double>(ny) > static_cast<double>(maxTerms_) || nx > kMaxModes ||
        ny > kMaxModes)
        return std::nullopt;
    const double thin = std::min(a_, b_);
    if (!Summable(pv_ * thin * thin / lambda_ * (0.5 + lambda_ / (alfa_ * thin))))
        return std::nullopt;
    x_.Ensure(nx);
    y_.Ensure(ny);
    const std::size_t n = std::min(nx, x_.size()), m = std::min(ny, y_.size());

    struct Direction {
        std::vector<double> f, q, face, mean; // c X E, (mu/half)^2, c cos(mu) E, c sin(mu)/mu E
    };
    auto prepare = [](SlabModes &modes, std::size_t count, double half, double fo, Kind kind) {
        Direction d;
        for (std::size_t i = 0; i < count; ++i) {
            const double mu = modes.mu(i);
            const double ce = modes.coefficient(i) * std::exp(-mu * mu * fo);
            const double x = kind == kAtCentre ? 1.0 : kind == kAtFace ? modes.cosMu(i) : modes.sinMu(i) / mu;
            d.f.push_back(ce * x);
            d.q.push_back((mu / half) * (mu / half));
            d.face.push_back(ce * modes.cosMu(i));
            d.mean.push_back(ce * modes.sinMu(i) / mu);
        }
        return d;
    };
    const Direction dx = prepare(x_, n, a_, foA, kx);
    const Direction dy = prepare(y_, m, b_, foB, ky);
    double sum = 0, lossSum = 0;
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;) {
            const double q = dx.q[i] + dy.q[j];
            sum += dx.f[i] * dy.f[j] / q;
            if (loss)
                lossSum += (4 * b_ * dx.face[i] * dy.mean[j] + 4 * a_ * dx.mean[i] * dy.face[j]) / (q * q);
        }
    }
    if (loss)
        *loss = alfa_ * pv_ / (lambda_ * kappa_) * lossSum;
    return pv_ / lambda_ * sum;
}

double BarSeries::Rise(Point p, double t)
{
    if (!(t > 0))
        return 0;
    if (alfa_ == 0)
        return Uniform(t);
    const Kind kx = p == Point::WidthFace ? kAtFace : kAtCentre;
    const Kind ky = p == Point::HeightFace ? kAtFace : kAtCentre;
    const double reach = 4 * kappa_ * t * kUnfelt;
    const bool xUnfelt = kx == kAtCentre && a_ * a_ >= reach;
    const bool yUnfelt = ky == kAtCentre && b_ * b_ >= reach;
    if (xUnfelt && yUnfelt)
        return Uniform(t);
    std::optional<double> rise;
    if (xUnfelt)
        rise = SlabRise(y_, b_, ky, t);
    else if (yUnfelt)
        rise = SlabRise(x_, a_, kx, t);
    else if (const auto transient = Transient(kx, ky, t))
        rise = Steady(kx, ky) - *transient;
    return rise ? *rise : pv_ / rhoC_ * ProductIntegral(kx, ky, t);
}

std::optional<double> BarSeries::SteadyRise(Point p)
{
    if (alfa_ == 0)
        return std::nullopt;
    return Steady(p == Point::WidthFace ? kAtFace : kAtCentre, p == Point::HeightFace ? kAtFace : kAtCentre);
}

double BarSeries::MeanRise(double t)
{
    if (!(t > 0))
        return 0;
    if (alfa_ == 0)
        return Uniform(t);
    if (const auto transient = Transient(kMean, kMean, t))
        return Steady(kMean, kMean) - *transient;
    return pv_ / rhoC_ * ProductIntegral(kMean, kMean, t);
}

double BarSeries::Loss(double t)
{
    if (!(t > 0) || alfa_ == 0)
        return 0;
    const double area = 4 * a_ * b_;
    double transient = 0;
    if (Transient(kMean, kMean, t, &transient))
        return pv_ * area * t - rhoC_ * area * Steady(kMean, kMean) + transient;
    return pv_ * area * t - rhoC_ * area * MeanRise(t);
}

// The slab -half < u < half alone, from 1 everywhere at tau = 0 with its
// faces held at 0 through the Biot number: at the centre, at a face or its
// mean.  Before the faces are felt at the centre, the semi-infinite solid's
// closed forms (with X = Bi^2 Fo): e^X erfc(sqrt X) at the face, and the mean
// 1 - (e^X erfc(sqrt X) - 1 + 2 sqrt(X / pi)) / Bi.
double BarSeries::Unit(SlabModes &m, double half, Kind kind, double tau)
{
    if (!(tau > 0))
        return 1;
    const double bi = m.biot();
    const double fo = kappa_ * tau / (half * half);
    if (4 * kUnfelt * fo <= 1) {
        if (kind == kAtCentre)
            return 1;
        const double x = bi * bi * fo;
        // e^x erfc(sqrt x), by its asymptotic series where e^x would overflow
        const double face = x < 600 ? std::exp(x) * std::erfc(std::sqrt(x))
                                    : (1 - 1 / (2 * x) + 3 / (4 * x * x) - 15 / (8 * x * x * x)) / std::sqrt(kPi * x);
        if (kind == kAtFace)
            return face;
        return 1 - (face - 1 + 2 * std::sqrt(x / kPi)) / bi;
    }
    // |c_i X_i| <= 2 min(1, Bi/mu) / mu (over mu again for the mean).
    const double p = kind == kMean ? 2 : 1;
    const std::size_t n = Needed(
        [&](std::size_t k) {
            const double mu = static_cast<double>(k) * kPi;
            return TailBound(2 * Damping(bi, mu) * std::exp(-mu * mu * fo) / std::pow(mu, p), mu, Power(p, bi, mu),
                             fo);
        },
        1E-15);
    m.Ensure(n);
    double sum = 0;
    for (std::size_t i = std::min(n, m.size()); i-- > 0;) {
        const double mu = m.mu(i);
        const double x = kind == kAtCentre ? 1.0 : kind == kAtFace ? m.cosMu(i) : m.sinMu(i) / mu;
        sum += m.coefficient(i) * x * std::exp(-mu * mu * fo);
    }
    return sum;
}

// The integral over [0, t] of the product of the two slabs' solutions: the
// bar's solution from 1 is their product, and its rise is pv / (rho c) times
// that integral (Duhamel).  Gauss-Legendre quadrature on intervals halving
// towards tau = 0, where the solutions are smooth in sqrt(tau), each split
// into pieces over which the slowest mode falls at most by e^-2.
double BarSeries::ProductIntegral(Kind kx, Kind ky, double t)
{
    static const auto rule = GaussLegendre(16);
    x_.Ensure(1);
    y_.Ensure(1);
    const double rate = kappa_ * ((x_.mu(0) / a_) * (x_.mu(0) / a_) + (y_.mu(0) / b_) * (y_.mu(0) / b_));
    double total = 0, hi = t;
    for (int halving = 0; halving < 64; ++halving) {
        const double lo = hi / 2;
        const int pieces = static_cast<int>(std::clamp(std::ceil((hi - lo) * rate / 2), 1.0, 1000.0));
        const double width = (hi - lo) / pieces;
        for (int k = 0; k < pieces; ++k) {
            const double mid = lo + (k + 0.5) * width;
            for (const auto &[x, w] : rule) {
                const double tau = mid + x * width / 2;
                total += w * width / 2 * Unit(x_, a_, kx, tau) * Unit(y_, b_, ky, tau);
            }
        }
        hi = lo;
    }
    // Below t / 2^64 both solutions are 1 to rounding.
    return total + hi;
}

// ------------------------------------------------------------------ rod

RodSeries::RodSeries(double radius, double conductivity, double heatCapacity, double alfa, double powerDensity)
    : r_(radius), lambda_(conductivity), rhoC_(heatCapacity), alfa_(alfa), pv_(powerDensity),
      kappa_(conductivity / heatCapacity), modes_(alfa * radius / conductivity)
{
}

double RodSeries::Rise(Point p, double t)
{
    if (!(t > 0))
        return 0;
    if (alfa_ == 0)
        return Uniform(t);
    if (p == Point::Axis && r_ * r_ >= 4 * kappa_ * t * kUnfelt)
        return Uniform(t);
    const double bi = modes_.biot();
    const double scale = pv_ * r_ * r_ / lambda_;
    const double fo = kappa_ * t / (r_ * r_);
    // |term_k| = 2 Bi T* |J0(mu r/R) / J0(mu)| exp(-mu^2 Fo) / ((Bi^2 + mu^2) mu^2).
    // On the axis, beyond pi, J0(mu_k)^2 (1 + Bi^2/mu^2) = J0^2 + J1^2 >= 0.85 * 2 / (pi mu),
    // so |term_k| <= 3.76 T* min(1, Bi/mu) mu^-2.5 exp(-mu^2 Fo); at the
    // surface the ratio of the J0 is 1 and the term itself falls as
    // mu^-(2 + 2 mu^2 / (Bi^2 + mu^2)).
    const std::size_t n = Needed(
        [&](std::size_t k) {
            const double mu = static_cast<double>(k) * kPi;
            const double e = std::exp(-mu * mu * fo);
            if (p == Point::Surface)
                return scale * TailBound(2 * bi * e / ((bi * bi + mu * mu) * mu * mu), mu,
                                         2 + 2 * mu * mu / (bi * bi + mu * mu), fo);
            return scale * TailBound(3.76 * Damping(bi, mu) * e / (mu * mu * std::sqrt(mu)), mu, Power(2.5, bi, mu), fo);
        },
        kTolerance);
    modes_.Ensure(n);
    double sum = 0;
    for (std::size_t k = std::min(n, modes_.size()); k-- > 0;) {
        const double mu = modes_.mu(k);
        const double ratio = p == Point::Axis ? 1 / modes_.j0(k) : 1.0;
        sum += ratio * std::exp(-mu * mu * fo) / ((bi * bi + mu * mu) * mu * mu);
    }
    const double shape = p == Point::Axis ? 1.0 : 0.0;
    return scale / 4 * (shape + 2 / bi) - 2 * bi * scale * sum;
}

std::optional<double> RodSeries::SteadyRise(Point p)
{
    if (alfa_ == 0)
        return std::nullopt;
    const double scale = pv_ * r_ * r_ / lambda_;
    return scale / 4 * ((p == Point::Axis ? 1.0 : 0.0) + 2 / modes_.biot());
}

double RodSeries::MeanRise(double t)
{
    if (!(t > 0))
        return 0;
    if (alfa_ == 0)
        return Uniform(t);
    const double bi = modes_.biot();
    const double scale = pv_ * r_ * r_ / lambda_;
    const double fo = kappa_ * t / (r_ * r_);
    // 2 J1(mu) / mu over J0(mu) is 2 Bi / mu^2 at a root.
    const std::size_t n = Needed(
        [&](std::size_t k) {
            const double mu = static_cast<double>(k) * kPi;
            return scale * TailBound(4 * Damping(bi, mu) * std::exp(-mu * mu * fo) / (mu * mu * mu * mu), mu,
                                     Power(4, bi, mu), fo);
        },
        kTolerance);
    modes_.Ensure(n);
    double sum = 0;
    for (std::size_t k = std::min(n, modes_.size()); k-- > 0;) {
        const double mu = modes_.mu(k);
        sum += std::exp(-mu * mu * fo) / ((bi * bi + mu * mu) * mu * mu * mu * mu);
    }
    return scale * (0.125 + 0.5 / bi) - 4 * bi * bi * scale * sum;
}

double RodSeries::Loss(double t)
{
    if (!(t > 0) || alfa_ == 0)
        return 0;
    // alpha 2 pi R [T* t / (2 Bi) - 2 Bi T* (R^2 / kappa) sum_k (1 - exp(-mu_k^2 Fo)) / ((Bi^2 + mu_k^2) mu_k^4)]
    const double bi = modes_.biot();
    const double scale = pv_ * r_ * r_ / lambda_;
    const double fo = kappa_ * t / (r_ * r_);
    const double factor = 2 * bi * scale * r_ * r_ / kappa_;
    const double steady = scale * t / (2 * bi);
    // The terms are below 1 / ((Bi^2 + mu^2) mu^4), which falls at least as
    // mu^-4; the rest is kept below 1E-14 of the heat generated.
    const std::size_t n = Needed(
        [&](std::size_t k) {
            const double mu = static_cast<double>(k) * kPi;
            return factor * TailBound(1 / ((bi * bi + mu * mu) * mu * mu * mu * mu), mu, 4, 0);
        },
        1E-14 * steady);
    modes_.Ensure(n);
    double sum = 0;
    for (std::size_t k = std::min(n, modes_.size()); k-- > 0;) {
        const double mu = modes_.mu(k);
        sum += -std::expm1(-mu * mu * fo) / ((bi * bi + mu * mu) * mu * mu * mu * mu);
    }
    return alfa_ * 2 * kPi * r_ * (steady - factor * sum);
}

// ------------------------------------------------------------------ time

std::optional<double> CrossingTime(const std::function<double(double)> &rise, double target, double guess,
                                   std::optional<double> limit)
{
    if (limit && !(*limit > target))
        return std::nullopt;
    auto g = [&](double t) { return rise(t) - target; };
    double lo = 0, flo = -target;
    double hi = guess, fhi = g(hi);
    for (int doubling = 0; fhi < 0; ++doubling) {
        // The rise approaches its limit only as fast as its slowest mode:
        // beyond 2^200 times the guess it has stopped growing in doubles.
        if (doubling == 200)
            return std::nullopt;
        lo = hi;
        flo = fhi;
        hi *= 2;
        fhi = g(hi);
    }
    if (fhi == 0)
        return hi;
    // Brent's method on [lo, hi]: bisection, secant and inverse quadratic steps.
    double a = lo, fa = flo, b = hi, fb = fhi, c = a, fc = fa, d = b - a, e = d;
    for (int it = 0; it < 300; ++it) {
        if ((fb > 0) == (fc > 0)) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::abs(fc) < std::abs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double tol = (2 * std::numeric_limits<double>::epsilon() + 1E-11) * std::abs(b);
        const double xm = (c - b) / 2;
        if (std::abs(xm) <= tol || fb == 0)
            return b;
        if (std::abs(e) >= tol && std::abs(fa) > std::abs(fb)) {
            const double s = fb / fa;
            double p, q;
            if (a == c) {
                p = 2 * xm * s;
                q = 1 - s;
            } else {
                const double qq = fa / fc, r = fb / fc;
                p = s * (2 * xm * qq * (qq - r) - (b - a) * (r - 1));
                q = (qq - 1) * (r - 1) * (s - 1);
            }
            if (p > 0)
                q = -q;
            p = std::abs(p);
            if (2 * p < std::min(3 * xm * q - std::abs(tol * q), std::abs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = xm;
                e = d;
            }
        } else {
            d = xm;
            e = d;
        }
        a = b;
        fa = fb;
        b += std::abs(d) > tol ? d : (xm > 0 ? tol : -tol);
        fb = g(b);
    }
    return b;
}

SeriesTiming SettleTiming(const std::function<double(double)> &centreRise, std::optional<double> steady,
                          double target, double th, bool userTime)
{
    SeriesTiming timing{th, th, true};
    if (userTime) {
        if (centreRise(th) >= target)
            timing.heatingTime = CrossingTime(centreRise, target, th, steady).value_or(th);
        return timing;
    }
    if (const auto crossing = CrossingTime(centreRise, target, th, steady)) {
        timing.heatingTime = *crossing;
        timing.gridEnd = std::max(th, *crossing);
    } else {
        timing.reached = false;
    }
    return timing;
}

} // namespace resheat
