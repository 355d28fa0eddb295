// resheat-calc --refined: the temperature-dependent calculation of a case
// file.  main() hands the whole command line over when it holds --refined.
#pragma once

namespace resheat {

// True when "--refined" is among the arguments.
bool IsRefinedCall(int argc, char **argv);

// Parses the arguments, runs the case and prints; returns the exit status:
// 0 reached, 1 rejected by the power density, 2 case or table file not read,
// 3 arithmetic fault, 5 not computed (finish temperature not reached, or a
// case the model refuses), 64 usage error, 74 history file not written.
int RefinedMain(int argc, char **argv);

} // namespace resheat
