// Reading a user's property table file (CSV, format in core/PropertyTable.h).
#pragma once

#include <string>

#include "core/PropertyTable.h"
#include "files/InputFile.h"

namespace resheat {

// A property table has a few hundred lines at most; a file far larger is
// not one, and is refused before it fills the memory.
inline constexpr long long kMaxPropertyTableBytes = 1 << 20;

// Reads and checks the whole file; the table's source is User and its name
// the path.  A file that cannot be read gives the platform's message ("File
// not found", ...) or says what it is instead of a regular file ("not a
// regular file (a FIFO)"), with line 0; a refused line gives "Line N: ...".
PropertyTableRead LoadPropertyTable(const std::string &path,
                                    StandardInput standardInput = StandardInput::Refused);

} // namespace resheat
