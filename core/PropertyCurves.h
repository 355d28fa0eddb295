// A property table prepared for the solver: the three properties, the slope
// of the resistivity, and the exact integrals H(T) = int c dT (enthalpy per
// kilogram) and Phi(T) = int lambda dT (Kirchhoff transform), both measured
// from the table's first point.  Piecewise linear properties make H and Phi
// piecewise quadratic; beyond the ends the properties are constant and the
// integrals linear.
#pragma once

#include <vector>

#include "core/PropertyTable.h"

namespace resheat {

class PropertyCurves {
public:
    struct Value {
        double rhoE;   // [ohm m]
        double dRhoE;  // d rho_e / dT of the segment [ohm m / K] (the upper one at a point)
        double lambda; // [W/(mK)]
        double c;      // [J/(kgK)]
        double H;      // [J/kg]
        double phi;    // [W/m]
    };

    explicit PropertyCurves(const PropertyTable &table); // at least one point
    Value At(double T) const;
    // The same, starting the search at `segment` (the interval of the last
    // call for this node, updated): a field that changes little between
    // evaluations finds its intervals without a search.
    Value At(double T, int &segment) const;

    // The smallest resistivity at or above T [ohm m].
    double SmallestResistivityFrom(double T) const;
    // Temperatures where the properties bend (the table's points).
    const std::vector<double> &Points() const { return T_; }
    // How far one step of an iteration from `from` towards `to` may go: to
    // the first table point strictly between them, where the properties bend.
    double Limit(double from, double to) const;
    // Kirchhoff transform and its inverse (Phi increases strictly with T).
    double Phi(double T) const { return At(T).phi; }
    double TemperatureOfPhi(double phi) const;

private:
    std::vector<double> T_, r_, l_, c_, H_, phi_;
    Value Flat(std::size_t i, double T) const;
    Value Inside(std::size_t k, double T) const;
};

} // namespace resheat
