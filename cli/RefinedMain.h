// resheat-calc --refined: the temperature-dependent calculation of a case
// file, with the command line already parsed.
#pragma once

#include "cli/CalcOptions.h"

namespace resheat {

// Reads the case (and the property table file, when given), runs it and
// prints; returns the exit status: 0 reached, 1 rejected by the power
// density, 2 case or table file not read, 3 arithmetic fault, 5 not computed
// (finish temperature not reached, or a case the model refuses), 74 an output
// not written.
int RunRefined(const CalcOptions &options);

} // namespace resheat
