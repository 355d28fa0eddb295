// The heat source of an alternating current for the temperature-dependent
// calculation: the current distribution over the section, solved on the
// thermal mesh's nodes at the temperatures of accepted time steps and
// carried between them along its rate of change.  What it extrapolates and
// why is described at the top of AcSource.cpp.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/CurrentDistribution.h"
#include "core/MagneticTable.h"
#include "core/PropertyCurves.h"
#include "core/SectionMesh.h"

namespace resheat {

// What the supply sees at one solve.
enum AcQuantity { kAcCurrent, kAcPower, kAcRatio, kAcPowerFactor, kAcApparent, kAcSupplyVoltage, kAcCount };
using AcValues = std::array<double, kAcCount>; // [A], [W], Rac/Rdc, [-], [VA], [V]

class AcSource {
public:
    // The magnetic iteration's tolerance (largest change of ln mu_r) of a
    // solve whose results are reported.
    static constexpr double kFullTolerance = 1E-6;

    // `steel`: the permeability of magnetic steel; null for a charge that is
    // not magnetic.  Both must outlive the source.
    AcSource(const SectionMesh &mesh, const CurrentSupply &supply, const Permeability *steel);
    ~AcSource();

    // Solves the field at node temperatures T with node resistivities rho.
    // False when it does not settle or the numbers overflow (message()).
    // The solution is pending until Commit.
    bool Solve(const std::vector<double> &T, const std::vector<double> &rho, double offset,
               double tolerance = kFullTolerance);
    const std::string &message() const { return message_; }
    // Per node of the pending solve: rho_e^2 |J|^2, the square of the
    // local electric field [V2/m2]; the heat source is this over rho_e.
    const std::vector<double> &Pending() const { return pending_; }
    const AcValues &PendingValues() const { return pendingValues_; }

    // The pending solve becomes the committed one, `dt` seconds after the
    // last committed; the rates follow from the two (0 when dt is 0).
    void Commit(double dt);
    // The committed field `offset` seconds after its solve, along its rate,
    // never below 0.
    void Extrapolate(double offset, std::vector<double> &e2) const;
    const AcValues &Values() const { return values_; }
    const AcValues &Rates() const { return rates_; }

    // The committed state, to go back to after a detour (the steady state).
    struct Saved {
        std::vector<double> e2, slope;
        AcValues values{}, rates{};
    };
    Saved Save() const { return {e2_, slope_, values_, rates_}; }
    void Restore(const Saved &s);

    // Work of the solves so far, in the thermal solver's units (see Refined.cpp).
    double work() const { return work_; }
    // The largest ratio of the spacing at the surface to the skin depth there
    // over the committed solves.
    double surfaceSpacingPerDepth() const { return spacingPerDepth_; }

private:
    CurrentSolver solver_;
    CurrentSupply supply_;
    const Permeability *steel_;
    std::vector<double> permeability_; // of the last solve, where the next starts
    std::vector<double> pendingLogMu_, logMu_, logMuSlope_;
    std::vector<double> pending_, e2_, slope_;
    AcValues pendingValues_{}, values_{}, rates_{};
    double pendingSpacing_ = 0, spacingPerDepth_ = 0;
    std::string message_;
    double work_ = 0;
};

// The smallest skin depth at the surface of the section [m] as the charge
// heats from `from` to `to` oC, sampled at uniform temperatures on `mesh`;
// the skin depth of the smallest resistivity for a charge that is not
// magnetic.  0 when a solve does not settle.
double SmallestSkinDepth(const SectionMesh &mesh, const CurrentSupply &supply, const PropertyCurves &curves,
                         const Permeability *steel, double from, double to);

} // namespace resheat
