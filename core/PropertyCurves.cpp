#include "core/PropertyCurves.h"

#include <algorithm>
#include <cmath>

namespace resheat {

PropertyCurves::PropertyCurves(const PropertyTable &t)
{
    for (const auto &p : t.points) {
        T_.push_back(p.temperature);
        r_.push_back(p.resistivity);
        l_.push_back(p.conductivity);
        c_.push_back(p.specificHeat);
    }
    H_.assign(T_.size(), 0.0);
    phi_.assign(T_.size(), 0.0);
    for (std::size_t i = 1; i < T_.size(); ++i) {
        const double dT = T_[i] - T_[i - 1];
        H_[i] = H_[i - 1] + dT * (c_[i - 1] + c_[i]) / 2;
        phi_[i] = phi_[i - 1] + dT * (l_[i - 1] + l_[i]) / 2;
    }
}

PropertyCurves::Value PropertyCurves::At(double T) const
{
    const std::size_t n = T_.size();
    if (T < T_[0] || n == 1)
        return Flat(0, T);
    if (T >= T_[n - 1])
        return Flat(n - 1, T);
    const std::size_t k =
        static_cast<std::size_t>(std::upper_bound(T_.begin(), T_.end(), T) - T_.begin()) - 1;
    return Inside(k, T);
}

PropertyCurves::Value PropertyCurves::At(double T, int &segment) const
{
    // segment: -1 below the first point, n - 1 at or above the last, else
    // the interval [T_k, T_k+1).
    const int n = static_cast<int>(T_.size());
    const int k = segment;
    if (k >= 0 && k + 1 < n && T >= T_[k] && T < T_[k + 1])
        return Inside(static_cast<std::size_t>(k), T);
    if (n == 1 || T < T_[0]) {
        segment = -1;
        return Flat(0, T);
    }
    if (T >= T_[n - 1]) {
        segment = n - 1;
        return Flat(static_cast<std::size_t>(n - 1), T);
    }
    segment = static_cast<int>(std::upper_bound(T_.begin(), T_.end(), T) - T_.begin()) - 1;
    return Inside(static_cast<std::size_t>(segment), T);
}

PropertyCurves::Value PropertyCurves::Inside(std::size_t k, double T) const
{
    const double h = T_[k + 1] - T_[k];
    const double s = T - T_[k];
    const double f = s / h;
    Value v;
    v.rhoE = r_[k] + f * (r_[k + 1] - r_[k]);
    v.dRhoE = (r_[k + 1] - r_[k]) / h;
    v.lambda = l_[k] + f * (l_[k + 1] - l_[k]);
    v.c = c_[k] + f * (c_[k + 1] - c_[k]);
    v.H = H_[k] + s * (c_[k] + v.c) / 2;
    v.phi = phi_[k] + s * (l_[k] + v.lambda) / 2;
    return v;
}

PropertyCurves::Value PropertyCurves::Flat(std::size_t i, double T) const
{
    const double s = T - T_[i];
    return {r_[i], 0.0, l_[i], c_[i], H_[i] + s * c_[i], phi_[i] + s * l_[i]};
}

double PropertyCurves::SmallestResistivityFrom(double T) const
{
    // Linear between the points: the least is at T itself or at a later point.
    double least = At(T).rhoE;
    for (std::size_t i = 0; i < T_.size(); ++i)
        if (T_[i] > T)
            least = std::min(least, r_[i]);
    return least;
}

double PropertyCurves::Limit(double from, double to) const
{
    if (to > from) {
        const auto p = std::upper_bound(T_.begin(), T_.end(), from);
        return p != T_.end() && *p < to ? *p : to;
    }
    const auto p = std::lower_bound(T_.begin(), T_.end(), from);
    return p != T_.begin() && *(p - 1) > to ? *(p - 1) : to;
}

double PropertyCurves::TemperatureOfPhi(double phi) const
{
    const std::size_t n = T_.size();
    if (n == 1 || phi <= phi_[0])
        return T_[0] + (phi - phi_[0]) / l_[0];
    if (phi >= phi_[n - 1])
        return T_[n - 1] + (phi - phi_[n - 1]) / l_[n - 1];
    const std::size_t k =
        static_cast<std::size_t>(std::upper_bound(phi_.begin(), phi_.end(), phi) - phi_.begin()) - 1;
    // phi - phi_k = s l_k + s^2 (l_k+1 - l_k) / (2 h): the root in [0, h]
    // written so that it does not cancel.
    const double h = T_[k + 1] - T_[k];
    const double a = (l_[k + 1] - l_[k]) / (2 * h), b = l_[k], c = phi - phi_[k];
    const double s = 2 * c / (b + std::sqrt(b * b + 4 * a * c));
    return T_[k] + std::clamp(s, 0.0, h);
}

} // namespace resheat
