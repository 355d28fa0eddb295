// The fixed 23-character number format of the case data and text results
// files, and the strict number conversion of the case file reader.  Both are
// independent of the regional settings: the point is always the separator.
#pragma once

#include <string>
#include <string_view>

namespace resheat {

// Sign blank or "-", one digit, ".", 14 digits, "E", exponent sign, four
// exponent digits: " 7.85000000000000E+0003".  The value is taken to 18
// significant digits and that digit string rounded to 15 (5 to 9 round up).
std::string FormatFixed23(double value);

// Leading blanks, optional sign, digits with at most one point (at least one
// digit), optional exponent "E"/"e" with optional sign and at least one
// digit, and nothing after it.  Values beyond the double range do not
// convert; values below it become 0 or a subnormal.
bool ParseFileNumber(std::string_view text, double &value);

} // namespace resheat
