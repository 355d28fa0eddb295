// The double series of the rectangular bar,
//   S(x, y, t) = sum_j sum_i sin mu_i sin nu_j cos(mu_i x/w) cos(nu_j y/h)
//                / (mu_i nu_j (1 + sin 2mu_i / 2mu_i)(1 + sin 2nu_j / 2nu_j) Q_ij) * E_ij,
//   Q_ij = (mu_i/w)^2 + (nu_j/h)^2,  E_ij = 1 - exp(-Q_ij a t)  (1 once Q a t >= 50).
// Everything that depends neither on time nor on position is evaluated once,
// with the same operations in the same order as the plain sum, so the result
// is the same double.  Terms are added with j outer, i inner.
#pragma once

#include "core/Numerics.h"

namespace resheat {

class SeriesXY {
public:
    SeriesXY(const RootTable &mu, const RootTable &nu, double w, double h, double lambda,
             double c, double rho);
    // The cosines of one point of the cross-section, formed once per run.
    struct Point {
        double cx[kRootSlots];
        double cy[kRootSlots];
    };
    Point MakePoint(double x, double y) const;

    void SetTime(double t);                // fills E_ij for time t
    double Sum(const Point &p) const;      // S(x, y, t) at the time last set

private:
    using Grid = double[kRootSlots][kRootSlots];
    double w_, h_;
    RootTable mu_{}, nu_{};
    double sinMu_[kRootSlots]{}, sinNu_[kRootSlots]{};
    double shapeMu_[kRootSlots]{}, shapeNu_[kRootSlots]{};
    Grid qa_{}, sinProduct_{}, den_{}, e_{};
};

} // namespace resheat
