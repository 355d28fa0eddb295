// Checked double arithmetic.  The calculations trap, as the original
// platform did, on division by zero, invalid operations and overflow (not on
// underflow or inexact results): a fault throws ArithmeticFault where it
// happens, so no NaN or infinity ever reaches a record.
#pragma once

#include <cmath>

#include "core/Errors.h"

namespace resheat::arith {

[[noreturn]] inline void Fault(const char *message) { throw ArithmeticFault(message); }

// Checks a computed value: NaN is an invalid operation, infinity an overflow.
inline double Chk(double v)
{
    if (std::isnan(v))
        Fault(kInvalidOperation);
    if (std::isinf(v))
        Fault(kOverflow);
    return v;
}

// a / b; 0/0 is an invalid operation, x/0 a division by zero.
inline double Div(double a, double b)
{
    if (b == 0.0)
        Fault(a == 0.0 ? kInvalidOperation : kDivisionByZero);
    return Chk(a / b);
}

inline double Mul(double a, double b) { return Chk(a * b); }
inline double Add(double a, double b) { return Chk(a + b); }
inline double Sub(double a, double b) { return Chk(a - b); }

inline double Sqrt(double v)
{
    if (v < 0.0)
        Fault(kInvalidOperation);
    return std::sqrt(v);
}

inline double Exp(double v) { return Chk(std::exp(v)); }

} // namespace resheat::arith
