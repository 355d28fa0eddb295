// The constant-property temperature of the charge from the series solutions
// of the heat equation: a long bar or rod, uniform heat generation pv, a
// surface losing alpha (T - Ts) to surroundings at the start temperature Ts,
// the whole charge at Ts at t = 0.  The model, the method and their checks
// are described at the top of Series.cpp.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace resheat {

// The roots of mu tan mu = Bi, one in each ((i - 1) pi, (i - 1) pi + pi/2),
// and what the series take of them; found when first asked for.
class SlabModes {
public:
    explicit SlabModes(double biot);
    double biot() const { return biot_; }
    // Makes sure that the first n modes are there (at most kMaxModes).
    void Ensure(std::size_t n);
    std::size_t size() const { return mu_.size(); }
    double mu(std::size_t i) const { return mu_[i]; }
    double sinMu(std::size_t i) const { return sin_[i]; }
    double cosMu(std::size_t i) const { return cos_[i]; }
    // c_i = 2 sin mu_i / (mu_i + sin mu_i cos mu_i), the coefficient of
    // cos(mu_i x / a) in the expansion of 1 over -a < x < a.
    double coefficient(std::size_t i) const { return c_[i]; }

private:
    double biot_;
    std::vector<double> mu_, sin_, cos_, c_;
};

// The roots of mu J1(mu) = Bi J0(mu), one in each ((k - 1) pi, k pi).
class RodModes {
public:
    explicit RodModes(double biot);
    double biot() const { return biot_; }
    void Ensure(std::size_t n);
    std::size_t size() const { return mu_.size(); }
    double mu(std::size_t k) const { return mu_[k]; }
    double j0(std::size_t k) const { return j0_[k]; } // J0(mu_k)

private:
    double biot_;
    std::vector<double> mu_, j0_;
};

// Modes one direction or the rod may use, whatever the tolerance asks for.
inline constexpr std::size_t kMaxModes = 200000;
// Terms of the bar's double series beyond which it is not summed: a section
// large against the distance heat spreads in the time asked for.  The bar
// then integrates the product of the slab solutions over time instead.
inline constexpr std::size_t kMaxTerms = 4000000;

// The rise over the start temperature of a rectangular bar, half width a
// and half thickness b (x along the width, y along the thickness, both from
// the centre).  Heat capacity is rho c per volume.  alfa = 0 is uniform
// heating.
class BarSeries {
public:
    enum class Point {
        Centre,     // (0, 0)
        WidthFace,  // (a, 0): the middle of the face the width ends at (Tw)
        HeightFace, // (0, b): the middle of the face the thickness ends at (Th)
    };
    BarSeries(double halfWidth, double halfThickness, double conductivity, double heatCapacity,
              double alfa, double powerDensity, std::size_t maxTerms = kMaxTerms);

    double Rise(Point p, double t);   // T - Ts [K] at time t >= 0
    // The limit for t -> infinity; none without losses.
    std::optional<double> SteadyRise(Point p);
    double MeanRise(double t);        // over the cross-section [K]
    double Loss(double t);            // heat lost through the surface up to t [J per m of length]

private:
    enum Kind { kAtCentre, kAtFace, kMean }; // what a direction's factor is: 1, cos mu, sin mu / mu
    double Uniform(double t) const { return pv_ * t / rhoC_; }
    // The slab of one direction alone, when the other has not felt its faces;
    // none where its series cannot be summed (see Summable).
    std::optional<double> SlabRise(SlabModes &m, double half, Kind kind, double t);
    double Steady(Kind kx, Kind ky);
    // (pv / lambda) sum_ij c_i d_j X_i Y_j exp(-Q_ij kappa t) / Q_ij, and (loss)
    // the time integral of its losses; none beyond maxTerms terms.
    std::optional<double> Transient(Kind kx, Kind ky, double t, double *loss = nullptr);
    double Unit(SlabModes &m, double half, Kind kind, double tau);
    double ProductIntegral(Kind kx, Kind ky, double t);

    double a_, b_, lambda_, rhoC_, alfa_, pv_, kappa_;
    std::size_t maxTerms_;
    SlabModes x_, y_;
};

// The rise over the start temperature of a round rod of radius R.
class RodSeries {
public:
    enum class Point { Axis, Surface };
    RodSeries(double radius, double conductivity, double heatCapacity, double alfa, double powerDensity);

    double Rise(Point p, double t);
    std::optional<double> SteadyRise(Point p);
    double MeanRise(double t);
    double Loss(double t); // [J per m of length]

private:
    double Uniform(double t) const { return pv_ * t / rhoC_; }

    double r_, lambda_, rhoC_, alfa_, pv_, kappa_;
    RodModes modes_;
};

// The time at which a rise that grows with time from 0 at t = 0 reaches
// `target` > 0, to 1E-9 relative, searched from `guess` > 0 outwards; none
// when it stays below the target (`limit`, its supremum, at or below it).
std::optional<double> CrossingTime(const std::function<double(double)> &rise, double target, double guess,
                                   std::optional<double> limit);

// When the centre of a run reaches the finish temperature, and the time its
// history covers.  `centreRise` grows from 0 towards `steady` (none: without
// bound); `target` = Tf - Ts; `th` the lumped or the user's heating time.
struct SeriesTiming {
    double heatingTime = 0; // the crossing; th when there is none (or it lies beyond the user's time)
    double gridEnd = 0;     // th, or the crossing when it lies beyond the lumped th
    bool reached = true;    // false: no user time and the centre never reaches Tf
};
SeriesTiming SettleTiming(const std::function<double(double)> &centreRise, std::optional<double> steady,
                          double target, double th, bool userTime);

} // namespace resheat
