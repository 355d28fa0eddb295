// Reading a user's property table file (CSV, format in core/PropertyTable.h).
#pragma once

#include <string>

#include "core/PropertyTable.h"
#include "files/InputFile.h"

namespace resheat {

// Reads and checks the whole file; the table's source is User and its name
// the path.  A file that cannot be read gives the platform's message ("File
// not found", ...) or says what it is instead of a regular file ("not a
// regular file (a FIFO)"), with line 0; a refused line gives "Line N: ...".
PropertyTableRead LoadPropertyTable(const std::string &path,
                                    StandardInput standardInput = StandardInput::Refused);

} // namespace resheat
