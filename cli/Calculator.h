// What resheat-calc does with accepted options: read the case, calculate,
// print to standard output and write the requested files.
#pragma once

#include <string>

#include "cli/CalcOptions.h"

namespace resheat {

// Returns the exit status; messages go to stderr as "Caption: text".
int RunCalculator(const CalcOptions &options);

// Writes `text` to standard output and flushes it.  A failure (a full disk,
// a closed descriptor) is reported on stderr and gives false.
bool PrintToStandardOutput(const std::string &text);

} // namespace resheat
