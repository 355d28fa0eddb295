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
// Values whose rounded text would lie beyond the largest double (from
// 1.797693134862315E308 on) are cut toward zero instead, so that every
// written number reads back.
std::string FormatFixed23(double value);

// Leading blanks, optional sign, digits with at most one point (at least one
// digit), optional exponent "E"/"e" with optional sign and at least one
// digit, and nothing after it.  Values beyond the double range do not
// convert; values below it become 0 or a subnormal.  On failure `value` is
// left alone.
bool ParseFileNumber(std::string_view text, double &value);

// The double nearest to a decimal number given by its parts, however many
// digits they have (correctly rounded, as std::from_chars).  `intDigits`
// and `fracDigits` hold only digits, at least one of them; `exponentDigits`
// the digits of the decimal exponent or nothing.  False, `value` untouched,
// when the magnitude is beyond the largest double; below the smallest one
// it becomes a zero of the number's sign.  Shared by the readers of the case
// files and of the dialogs.
bool DecimalToDouble(bool negative, std::string_view intDigits, std::string_view fracDigits,
                     bool negativeExponent, std::string_view exponentDigits, double &value);

} // namespace resheat
