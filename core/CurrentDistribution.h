// The distribution of an alternating current over a long charge's section
// (skin effect), with the impedance of the charge and what the supply sees.
// It works on the nodes of the thermal solver's section mesh and knows
// nothing of time stepping: the caller solves again whenever resistivity or
// permeability have changed enough.  The model and the method are described
// at the top of CurrentDistribution.cpp.
#pragma once

#include <complex>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace resheat {

inline constexpr double kMu0 = 4E-7 * std::numbers::pi; // [H/m]

// The section as node coordinates from the centre to the surface, strictly
// increasing, any spacing.  Rod: radii, 0 (axis) to D/2.  Bar: the quarter
// section, coordinates along i from 0 to one half side and along j from 0 to
// the other; node k = i + j * alongI.size(), as the section mesh numbers them.
struct CurrentSection {
    bool bar = false;
    std::vector<double> alongI;
    std::vector<double> alongJ; // bar only
    int size() const
    {
        return static_cast<int>(bar ? alongI.size() * alongJ.size() : alongI.size());
    }
};

struct CurrentSupply {
    double frequency = 0;     // f [Hz]; 0 is direct current
    double length = 0;        // L of the charge [m]
    double voltage = 0;       // Ur, RMS over the charge [V]
    double loopReactance = 0; // X_loop of busbars and transformer at f [ohm]
};

struct CurrentMaterial {
    std::vector<double> resistivity;  // rho_e per node [ohm m]
    // mu_r per node.  With `magnetic`: where the iteration starts (the last
    // solve's values are a good start); empty starts at 1.
    std::vector<double> permeability;
    // Magnetic steel: mu_r of a node from the peak field strength there
    // [A/m] and its temperature [oC], iterated to consistency.  Empty: the
    // permeability above holds as it is.
    std::function<double(double hPeak, double temperature)> magnetic;
    std::vector<double> temperature;  // per node [oC], read only by `magnetic`
};

struct CurrentOptions {
    // The magnetic iteration stops when no node's mu_r changes by more than
    // this fraction in an iteration.
    double tolerance = 1E-6;
    int maxIterations = 100;
};

enum class CurrentStatus {
    Solved,
    NotConverged, // the magnetic iteration reached maxIterations; the results are those of the last iterate
    Refused,      // a value of the section, the supply or the material is unusable; nothing ran
};

struct CurrentResult {
    CurrentStatus status = CurrentStatus::Refused;
    std::string message; // why, when not Solved

    // Per node: |J|^2 of the RMS current density [A2/m4] (the heat source
    // is rho_e |J|^2 and its integral over the section is I^2 R_ac / L), the
    // permeability used and the peak field strength [A/m].
    std::vector<double> currentDensitySquared;
    std::vector<double> permeability;
    std::vector<double> fieldPeak;

    double resistance = 0;    // R_ac of the charge [ohm]
    double resistanceDC = 0;  // L / integral of 1/rho_e over the section [ohm]
    double reactance = 0;     // X_int, of the field inside the charge [ohm]
    double current = 0;       // I = Ur / |R_ac + j X_int|, RMS [A]
    double power = 0;         // P = I^2 R_ac [W]
    double powerFactor = 1;   // R_ac / |Z + j X_loop|
    double apparentPower = 0; // S = I^2 |Z + j X_loop| [VA]
    double supplyVoltage = 0; // I |Z + j X_loop| [V]
    // The mesh against the skin depth: the largest ratio of the spacing next
    // to the surface to the skin depth at the surface node; 0 for direct
    // current.  The error of R_ac is about a quarter of its square (0.2: 1 %,
    // 0.06: 0.1 %) where the permeability is uniform.
    double surfaceSpacingPerDepth = 0;
    // Solves of the field: 1 unless magnetic; magnetic, rough ones until
    // mu_r has settled and then one in full, so at least 2.
    int iterations = 0;
    int factorisations = 0; // of them, those that factorised anew; the others
                            // iterated with the factorisation kept from before
};

// Holds what does not change between solves: the mesh (with the air around
// a bar), its geometric factors and the work space, and keeps the last
// factorisation and solution: a solve with properties close to the last
// one's iterates from them (a few band solves) instead of factorising
// again.  Build it once per run.  Results agree with a fresh solver's to the
// solve's tolerance (1E-13 of the residual), not bit for bit.
class CurrentSolver {
public:
    explicit CurrentSolver(const CurrentSection &section);
    ~CurrentSolver();
    CurrentSolver(CurrentSolver &&) noexcept;
    CurrentSolver &operator=(CurrentSolver &&) noexcept;

    // Empty when the section is usable, otherwise why not.
    const std::string &error() const;
    int nodes() const;          // nodes of the section
    int meshNodes() const;      // nodes of the field mesh, with the air
    int bandwidth() const;

    // Throws ArithmeticFault if the numbers overflow all the same; every
    // other outcome is in the status.
    CurrentResult Solve(const CurrentSupply &supply, const CurrentMaterial &material,
                        const CurrentOptions &options = {});

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The largest |Re((hx, hy) e^{j omega t})| over a period of a field with the
// complex amplitudes hx and hy (elliptically polarised in general).
double PeakMagnitude(std::complex<double> hx, std::complex<double> hy);

// One solve, for a caller that does not repeat it.
CurrentResult SolveCurrent(const CurrentSection &section, const CurrentSupply &supply,
                           const CurrentMaterial &material, const CurrentOptions &options = {});

} // namespace resheat
