#include "core/PropertyCurves.h"

#include <algorithm>

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
    if (T <= T_[0] || n == 1)
        return Flat(0, T);
    if (T >= T_[n - 1])
        return Flat(n - 1, T);
    const std::size_t k =
        static_cast<std::size_t>(std::upper_bound(T_.begin(), T_.end(), T) - T_.begin()) - 1;
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

} // namespace resheat
