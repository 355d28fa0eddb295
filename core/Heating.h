// The xy and rz calculations: lumped quantities, eigenvalues and the
// temperature history of one case.
#pragma once

#include "core/Host.h"
#include "core/Records.h"

namespace resheat {

inline constexpr double kPowerDensityLimit = 1E10; // [W/m3]

// Works on a copy of `data`; writes `results` field by field and `history`
// as a whole.  Messages and the progress window go through `host`.
// Throws ArithmeticFault on division by zero, invalid operation or overflow;
// the results fields stored before the fault keep their new values and the
// history keeps its previous rows.
void CalculationXY(const DataXY &data, bool fixedTime, ResultsXY &results,
                   double userTime, History &history, CalcHost &host);
void CalculationRZ(const DataRZ &data, bool fixedTime, ResultsRZ &results,
                   double userTime, History &history, CalcHost &host);

} // namespace resheat
