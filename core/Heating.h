// The xy and rz calculations: lumped quantities, eigenvalues and the
// temperature history of one case.
#pragma once

#include "core/Host.h"
#include "core/Records.h"

namespace resheat {

inline constexpr double kPowerDensityLimit = 1E10; // [W/m3]

// The two formula sets of the constant-property calculation.  Both share the
// run, the lumped quantities, the records and the history grid.
enum class Formulas {
    // The series on half sizes and Biot numbers with as many roots as they
    // need, the exact heating time, contacts rounded up, nonsense refused.
    Series,
    // The formulas of earlier versions, kept to reproduce their results:
    // full sizes in the series, ten roots, the heating time of the first
    // history row at the finish temperature, contacts rounded to the nearest.
    Classic,
};

enum class RunOutcome {
    Completed,
    // Series without a user heating time: the centre never reaches the
    // finish temperature; the results and the history are written on the
    // lumped heating time's grid, with the message.
    NotReached,
    // Series: a case value refused with its message; nothing written.
    Refused,
    // Power density above the limit: the two messages; results fields 1 to 6
    // written (xy also 7), the rest and the history kept.
    Rejected,
};

inline const char *const kCalculationError = "Calculation Error";

// Works on a copy of `data`; writes `results` field by field and `history`
// as a whole.  Messages and the progress window go through `host`.
// Throws ArithmeticFault on division by zero, invalid operation or overflow;
// the results fields stored before the fault keep their new values and the
// history keeps its previous rows.
RunOutcome CalculationXY(const DataXY &data, bool fixedTime, ResultsXY &results, double userTime,
                         History &history, CalcHost &host, Formulas formulas = Formulas::Series);
RunOutcome CalculationRZ(const DataRZ &data, bool fixedTime, ResultsRZ &results, double userTime,
                         History &history, CalcHost &host, Formulas formulas = Formulas::Series);

// The charge of an accepted case (CheckCaseXY / CheckCaseRZ) at time t, by
// the series: temperatures [oC], energies [J] from the start.
struct ChargeState {
    double centre = 0;
    double second = 0; // bar: Tw (middle of the width-side face); rod: Tr (surface)
    double third = 0;  // bar: Th (middle of the thickness-side face); rod: 0
    double mean = 0;   // over the cross-section
    double energy = 0; // electrical, P t
    double loss = 0;   // through the surface
    double stored = 0; // m c (mean - Ts)
    double efficiency = 0; // stored / energy
};
ChargeState SeriesStateXY(const DataXY &data, double t);
ChargeState SeriesStateRZ(const DataRZ &data, double t);

} // namespace resheat
