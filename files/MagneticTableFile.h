// Reading a user's magnetisation curve file (CSV, format in core/MagneticTable.h).
#pragma once

#include <string>

#include "core/MagneticTable.h"

namespace resheat {

// Reads and checks the whole file; the table's source is User and its name
// the path.  A file that cannot be read gives the platform's message ("File
// not found", ...) with line 0; a refused line gives "Line N: ...".
MagneticTableRead LoadMagneticTable(const std::string &path);

} // namespace resheat
