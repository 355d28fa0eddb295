// The two failures that are not handled where they happen: they abandon the
// operation and reach the program's general error report.
#pragma once

#include <stdexcept>
#include <string>

namespace resheat {

// Division by zero, invalid operation or overflow in a calculation.  The
// message is the text the user sees.
class ArithmeticFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline const char *const kDivisionByZero = "Floating point division by zero";
inline const char *const kInvalidOperation = "Invalid floating point operation";
inline const char *const kOverflow = "Floating point overflow";

// A file could not be created, written or closed.
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace resheat
