// Numbers as the windows show them and as the user types them, in the
// regional format of the default QLocale().
#pragma once

#include <QString>

namespace resheat::ui {

// The general display format with `significantDigits` significant digits:
// rounded (a final 5 away from zero), trailing zeros dropped, fixed notation
// while the rounded value has at most `significantDigits` digits before the
// separator and is at least 0.0001 in magnitude, otherwise d.dddE[-]x.
// 1234.5 (4) -> "1235", 12345 (4) -> "1.235E4", 0.000001234 (4) -> "1.234E-6".
QString FormatGeneral(double value, int significantDigits);

// Fixed notation with `decimals` digits after the separator (a final 5
// rounds away from zero), no thousands separators: 21.25 (1) -> "21.3".
QString FormatFixed(double value, int decimals);

// Fixed notation with `decimals` digits after the separator, of the value
// first rounded to `significantDigits` significant digits (each rounding
// takes a final 5 away from zero).  A rounded value with more digits before
// the separator than `significantDigits` is written in the general format.
// (5, 1): 20 -> "20.0", 1234.56 -> "1234.6", 12345.67 -> "12346.0",
// 123456 -> "1.2346E5".
QString FormatFixedSignificant(double value, int significantDigits, int decimals);

// Reads a number typed in the regional format: blanks around it, an
// optional sign, digits with at most one regional decimal separator (at
// least one digit), an optional exponent E/e with optional sign.  No
// thousands separators.  Empty text, anything else, and magnitudes beyond
// the double range are rejected (false, `value` untouched); a magnitude
// below the smallest double becomes 0.
bool ParseRegionalNumber(const QString &text, double &value);

} // namespace resheat::ui
