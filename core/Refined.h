// The temperature-dependent ("refined") heating calculation: the same case
// as the constant-property calculation, solved with properties that change
// with temperature and with radiation from the surface.  A pure function of
// (case, property table, options); it shows nothing and keeps nothing.  The
// model and the method are described at the top of Refined.cpp.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/PropertyTable.h"
#include "core/Records.h"

namespace resheat {

inline constexpr double kStefanBoltzmann = 5.670374419E-8; // [W/(m2 K4)]

struct RefinedOptions {
    // Replaces the table's emissivity when given (0 to 1).
    std::optional<double> emissivity;
    // The level to start from: halvings of the mesh spacing and of the time
    // step (the local error allowed per step divided by 8), 0 to 3.  0 is
    // the program's own accuracy, from which the calculation goes finer by
    // itself where its estimate misses the targets; each level up costs
    // about 4 times (rod) or 10 times (bar) the time.  For convergence
    // studies.
    int refinement = 0;
    // Called after every time step with the fraction done, 0 to 1 (the
    // centre's rise as a share of the rise to the finish temperature, never
    // decreasing).  Called on the thread that runs the calculation.
    std::function<void(double)> progress;
    // When it becomes true the run stops at the next time step with the
    // status Cancelled.  May be set from another thread.
    const std::atomic<bool> *cancel = nullptr;
};

enum class RefinedStatus {
    Reached,    // the centre reached the finish temperature: every result is set
    Refused,    // a value of the case, the table or the options is unusable; nothing ran
    Rejected,   // the power density at the start exceeds 1E10 W/m3; nothing ran
    NotReached, // the centre cannot reach the finish temperature
    NotConverged, // the iteration failed, the bound of work was reached, or the two runs ended far apart
    Cancelled,  // stopped through the cancel flag
};

// How far the results may be from the converged solution of the model
// (status Reached): Richardson's estimate of the error of the finer of the
// two runs, a third of their difference at the same times (the other run
// has half the nodes along each side and longer steps).  The results are
// the two extrapolated, closer still.
struct RefinedErrorEstimate {
    double heatingTime = 0; // [s]
    double temperature = 0; // [K] the largest over every reported temperature and history row
};

// One history row: the temperature columns exactly as in the constant-property
// history (time, To, Tw, Th for the bar; time, To, Tr, 0 for the rod), then
// the current and the power at that time.
struct RefinedRow {
    HistoryRow temperatures{};
    double current = 0; // [A]
    double power = 0;   // [W]
};

struct RefinedResult {
    RefinedStatus status = RefinedStatus::Refused;
    bool bar = false; // xy geometry; otherwise the rod

    // Status other than Reached: the texts to show, in order, caption
    // "Calculation Error" (a rejected case gets the two texts of the
    // constant-property calculation).
    std::vector<std::string> stopMessages;
    // Shown beside the results; the run goes on: finish temperature at or
    // above the solidus or beyond the table's last point, case properties more
    // than 20 % from the table's at the start temperature.  None for a
    // refused or rejected case, nor with constant properties.
    std::vector<std::string> warnings;

    // What the run used.
    std::string properties;   // table name: "steel", "Cu", "aluminium", "constant" or the CSV path
    PropertySource source = PropertySource::Constant;
    double emissivity = 0;
    double fieldStrength = 0; // E = Ur / L [V/m]

    // NotReached because the losses balance the heating: the steady centre
    // temperature approached [oC]; otherwise 0.
    double steadyCentre = 0;
    // The centre temperature when the run stopped without reaching [oC].
    double lastCentre = 0;
    double lastTime = 0; // [s]

    // Results at the heating time (status Reached).
    double heatingTime = 0;   // [s]
    double centre = 0;        // axis (rod) or centre of the cross-section (bar) [oC]
    double mean = 0;          // area average [oC]
    double surface = 0;       // rod: the surface [oC]
    double tw = 0;            // bar: middle of the face w/2 from the centre [oC]
    double th = 0;            // bar: middle of the face h/2 from the centre [oC]
    double corner = 0;        // bar: the edge at (w/2, h/2) [oC]
    double differenceK = 0;   // centre minus surface (rod) or corner (bar) [K]
    double currentStart = 0;  // [A]
    double currentEnd = 0;
    double powerStart = 0;    // [W]
    double powerEnd = 0;
    double powerDensityStart = 0; // [W/m3], with the resistivity at the start temperature
    double maxCurrent = 0;        // largest current of the run [A]
    double energy = 0;        // electrical energy to the heating time [J]
    double loss = 0;          // heat lost at the surface [J]
    double stored = 0;        // heat stored in the charge [J]
    double efficiency = 0;    // stored / energy
    double contacts = 0;      // largest current / max contact current, rounded up, at least 1
    // The constant-property calculation's count for the same case: its current
    // over the max contact current, rounded up, at least 1.
    double contactsConstant = 0;

    std::array<RefinedRow, kHistoryRows> history{}; // rows at i * heatingTime / 50, i = 1..50

    RefinedErrorEstimate errorEstimate;

    // Size of the computation (the finer run), for convergence studies and
    // the report.
    int nodes = 0;
    int steps = 0;
};

// An error estimate as it is shown: rounded up to two significant digits.
double RoundedEstimate(double estimate);

// Runs the case with the given properties.  Every outcome is in the status;
// only the lumped quantities of the constant-property formulas that it
// takes from the case (mass, current, power) may throw ArithmeticFault.
RefinedResult RefinedCalculationXY(const DataXY &data, const PropertyTable &table,
                                   const RefinedOptions &options = {});
RefinedResult RefinedCalculationRZ(const DataRZ &data, const PropertyTable &table,
                                   const RefinedOptions &options = {});

} // namespace resheat
